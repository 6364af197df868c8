#include "QtCheckBox.h"

#include <QPainter>

#include "QtControlWindow.h"
#include "QtDeviceContext.h"
#include "QtText.h"
#include "QtWindowHost.h"

namespace qtwin {

QtCheckBox::QtCheckBox(QtControlWindow& window, QWidget* parent) : QCheckBox(parent), window_(window) {
    // BN_CLICKED is reported when the click has toggled the box.
    connect(this, &QCheckBox::clicked, this, [this] { window_.Notify(win::BN_CLICKED); });
}

void QtCheckBox::paintEvent(QPaintEvent* event) {
    win::COLORREF textColor = 0;
    {
        QPainter painter(this);
        QtDeviceContext dc(painter, font());
        const win::COLORREF face = window_.Host().GetSysColor(win::COLOR_BTNFACE);
        dc.SetBkColor(face);
        win::HBRUSH brush = window_.CtlColor(dc, win::CTLCOLOR_STATIC);
        if (brush == nullptr) {
            painter.fillRect(rect(), ToQColor(face));
        } else if (!brush->hollow) {
            painter.fillRect(rect(), ToQColor(brush->color));
        }
        textColor = dc.TextColor();
    }
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(textColor));
    if (colours != palette())
        setPalette(colours);
    QCheckBox::paintEvent(event);
}

}  // namespace qtwin
