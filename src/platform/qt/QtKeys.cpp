#include "QtKeys.h"

namespace qtwin {

win::UINT VirtualKeyOf(const QKeyEvent* event) {
    const int key = event->key();
    // Letters and digits are their upper-case ASCII codes.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<win::UINT>(key);
    }
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return kVkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return win::VK_RETURN;
        case Qt::Key_Escape:
            return win::VK_ESCAPE;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return win::VK_UP;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return win::VK_DOWN;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

win::UINT MouseKeyFlags(const QMouseEvent* event) {
    win::UINT flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

}  // namespace qtwin
