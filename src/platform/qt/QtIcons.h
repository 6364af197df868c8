#pragma once
// Icons and cursors of the program's resources, drawn from the SVG pictures compiled into the library.
// An HICON points at an IconObject the window host owns.

#include <QCursor>
#include <QPixmap>

#include "platform/window/WinTypes.h"

namespace win {

struct IconObject {
    int resourceId = 0;
    QPixmap pixmap;  // at the size the icon was loaded
};

struct CursorObject {
    int resourceId = 0;
    QCursor cursor;
};

}  // namespace win

namespace qtwin {

constexpr int kIconSize = 32;

// The picture of icon resourceId at size x size pixels; null when the program has no such icon.
QPixmap RenderIcon(int resourceId, int size);
// The cursor resource with its hot spot; false when the program has no such cursor.
bool RenderCursor(int resourceId, QCursor& cursor);

inline const QPixmap* PixmapOf(win::HICON icon) {
    return icon == nullptr ? nullptr : &icon->pixmap;
}

}  // namespace qtwin
