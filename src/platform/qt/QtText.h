#pragma once
// Conversions at the edge between the program's values (GBK text, COLORREF, Rect) and Qt's.

#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "platform/text/Gbk.h"
#include "platform/window/WinTypes.h"

namespace qtwin {

// Bytes that are not valid GBK travel as lone surrogates, so text the program set comes back unchanged.
inline QString ToQString(std::string_view gbk) {
    const std::u16string utf16 = text::GbkToUtf16(gbk);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

inline std::string ToGbk(const QString& text) {
    return text::Utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<std::size_t>(text.size())));
}

inline QColor ToQColor(win::COLORREF color) {
    return QColor(win::GetRValue(color), win::GetGValue(color), win::GetBValue(color));
}

inline win::COLORREF ToColorRef(const QColor& color) {
    return win::RGB(color.red(), color.green(), color.blue());
}

// A Windows rectangle excludes its right and bottom edges; so does QRect's width and height.
inline QRect ToQRect(const win::Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline win::Rect ToRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace qtwin
