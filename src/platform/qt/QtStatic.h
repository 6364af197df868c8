#pragma once
// Statics, group boxes and static icons. Their colours come from the colour request the dialog reflects
// to the attached handler object (WM_CTLCOLORSTATIC): the brush it returns fills the control (null: the
// normal face colour, hollow: nothing, the dialog shows through), and the text is drawn with the text
// colour, background colour, mode and font the handler set on the drawing surface. Mouse messages and
// the set-cursor request go to the handler object.

#include <QPixmap>
#include <QWidget>

#include "platform/window/DialogTemplate.h"

namespace qtwin {

class QtControlWindow;
class QtDeviceContext;

class QtStatic : public QWidget {
  public:
    // kind is Static, StaticIcon or GroupBox.
    QtStatic(QtControlWindow& window, win::ControlKind kind, QWidget* parent);
    int PaintCount() const { return paintCount_; }
    // A group box, and a static without SS_NOTIFY, let the pointer through to whatever lies under them
    // (they answer HTTRANSPARENT to the hit test); called again whenever the style changes.
    void UpdatePointerTransparency();
    // The picture of an SS_ICON static.
    void SetIcon(const QPixmap& icon) {
        icon_ = icon;
        update();
    }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void PaintText(QtDeviceContext& dc);
    void PaintGroupBox(QtDeviceContext& dc);
    void PaintIcon(QtDeviceContext& dc);
    void SetCursorRequest();

    QtControlWindow& window_;
    win::ControlKind kind_;
    QPixmap icon_;
    int paintCount_ = 0;
};

}  // namespace qtwin
