#pragma once
// Plays the user on the real program: finds the main dialog's controls by their ids, clicks and types
// through the dialog's window as the window system delivers a user's input, answers every message box
// with its default button and keeps its text, and saves a picture of the window after each step when
// asked to.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

namespace e2e {

class UserDriver {
  public:
    explicit UserDriver(QString screenshotFolder) : shots_(std::move(screenshotFolder)) {}

    // The main dialog once it is on screen (its controls are named "control-<id>").
    QWidget* Dialog() const;
    QWidget* Control(int id) const;

    void TypeText(int id, const QString& text);
    void TypeAddress(int id, const QString& dotted);
    void Click(int id);
    void ClickListRow(int id, int row, int rowHeight);
    void CloseWindow();
    void Shot(const QString& name);

    // Message boxes seen so far, in order; each was answered with its default button.
    const QStringList& Answered() const { return answered_; }
    // Starts watching for message boxes; they open in nested loops inside the clicks above.
    void AnswerMessageBoxes();

  private:
    QString shots_;
    QStringList answered_;
    int shotNumber_ = 0;
};

}  // namespace e2e
