#pragma once
// The automatic check box. Like a static it asks for its colours (WM_CTLCOLORSTATIC): the brush fills
// the control, null gives the face colour, and the text colour comes from the drawing surface.

#include <QCheckBox>

namespace qtwin {

class QtControlWindow;

class QtCheckBox : public QCheckBox {
  public:
    QtCheckBox(QtControlWindow& window, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // The whole window takes the click, as a Windows check box does; Qt's takes it on the box and
    // the text only.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

  private:
    QtControlWindow& window_;
};

}  // namespace qtwin
