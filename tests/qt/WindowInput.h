#pragma once
// Pointer and keys as the window system delivers them: a pointer event goes to a point of the top-level
// window, and Qt's window finds the widget under that point (stacking, widgets that let the pointer
// through, the mouse grab, a modal window above); a key goes to the window and reaches its focus widget.
// An event handed straight to a widget would skip exactly that.

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace window_input {

inline QWindow* WindowOf(const QWidget* widget) {
    return widget->window()->windowHandle();
}

// A point of widget in the coordinates of its top-level window. Qt's test functions take the point
// 0,0 for the window's centre, so it cannot be clicked.
inline QPoint InWindow(const QWidget* widget, QPoint point) {
    const QPoint inWindow = widget->mapTo(widget->window(), point);
    Q_ASSERT_X(!inWindow.isNull(), "window_input", "the window's corner point cannot be sent");
    return inWindow;
}

inline QPoint Centre(const QWidget* widget) {
    return widget->rect().center();
}

inline void Click(const QWidget* widget, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(WindowOf(widget), button, {}, InWindow(widget, point));
}

inline void Click(const QWidget* widget) {
    Click(widget, Centre(widget));
}

inline void Press(const QWidget* widget, QPoint point) {
    QTest::mousePress(WindowOf(widget), Qt::LeftButton, {}, InWindow(widget, point));
}

inline void Release(const QWidget* widget, QPoint point) {
    QTest::mouseRelease(WindowOf(widget), Qt::LeftButton, {}, InWindow(widget, point));
}

inline void Move(const QWidget* widget, QPoint point) {
    QTest::mouseMove(WindowOf(widget), InWindow(widget, point));
}

// A key pressed and released in the window of widget; its focus widget takes it.
inline void Key(const QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(WindowOf(widget), key, modifiers);
}

// Latin-1 text typed a key at a time into the window of widget, as a keyboard sends it.
inline void Type(const QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(WindowOf(widget), c.toLatin1());
}

}  // namespace window_input
