#pragma once
// Dialog units to pixels, as the dialog manager maps a template: through the dialog font's base units,
// horizontal = average character width / 4, vertical = character height / 8.

#include <QFont>
#include <QRect>

#include "platform/window/DialogTemplate.h"

namespace qtwin {

// The Chinese font that stands in for the template's face on a Debian desktop (fonts-wqy-zenhei).
inline constexpr const char* kDialogFontFamily = "WenQuanYi Zen Hei Mono";

// Point sizes become pixel sizes at 96 dots per inch, as the dialogs were laid out for; a screen's own
// resolution would change every control's pixel position.
int PointsToPixels(int pointSize);
QFont FontFor(const win::LogFont& font);
QFont DialogFont(const win::DialogTemplate& dialogTemplate);

struct BaseUnits {
    int x = 0;  // average width of the alphabet in pixels
    int y = 0;  // character height in pixels
};

BaseUnits ComputeBaseUnits(const QFont& font);

class DialogUnits {
  public:
    explicit DialogUnits(BaseUnits base) : base_(base) {}
    int X(int dialogUnits) const;
    int Y(int dialogUnits) const;
    QRect Map(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
    BaseUnits Base() const { return base_; }

  private:
    BaseUnits base_;
};

}  // namespace qtwin
