#include "DialogUnits.h"

#include <QFontMetrics>
#include <algorithm>

namespace qtwin {

namespace {
// MulDiv: the product rounded half away from zero, as the dialog manager rounds.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
}  // namespace

int PointsToPixels(int pointSize) {
    return MulDiv(pointSize, 96, 72);
}

QFont FontFor(const win::LogFont& font) {
    QFont result(font.faceName.empty() ? QString::fromUtf8(kDialogFontFamily)
                                       : QString::fromStdString(font.faceName));
    result.setPixelSize(PointsToPixels(font.pointSize > 0 ? font.pointSize : 9));
    // LOGFONT weights and Qt 6 weights share the scale 100 (thin) to 900 (black).
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 900)));
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

QFont DialogFont(const win::DialogTemplate& dialogTemplate) {
    QFont font(QString::fromUtf8(kDialogFontFamily));
    font.setPixelSize(PointsToPixels(dialogTemplate.fontPointSize > 0 ? dialogTemplate.fontPointSize : 9));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

BaseUnits ComputeBaseUnits(const QFont& font) {
    // The dialog manager averages the 52 letters of the alphabet, rounding up from half a pixel.
    static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(kAlphabet);
    return {(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::X(int dialogUnits) const {
    return MulDiv(dialogUnits, base_.x, 4);
}
int DialogUnits::Y(int dialogUnits) const {
    return MulDiv(dialogUnits, base_.y, 8);
}

}  // namespace qtwin
