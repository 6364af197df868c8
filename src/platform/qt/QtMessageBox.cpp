// The MessageBox types and answers of the program on QMessageBox.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "QtWindowHost.h"

namespace qtwin {

namespace {

constexpr win::UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr win::UINT MB_YESNOCANCEL = 0x3;
constexpr win::UINT MB_YESNO = 0x4;
constexpr win::UINT MB_RETRYCANCEL = 0x5;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

QMessageBox::Icon IconOf(win::UINT type) {
    switch (type & win::MB_ICONMASK) {
        case win::MB_ICONERROR:
            return QMessageBox::Critical;
        case win::MB_ICONQUESTION:
            return QMessageBox::Question;
        case win::MB_ICONWARNING:
            return QMessageBox::Warning;
        case win::MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    const char16_t* text;  // the system's Chinese button captions
    int answer;
};

std::vector<ButtonSpec> ButtonsOf(win::UINT type) {
    const ButtonSpec ok{QMessageBox::Ok, u"确定", win::IDOK};
    const ButtonSpec cancel{QMessageBox::Cancel, u"取消", win::IDCANCEL};
    const ButtonSpec yes{QMessageBox::Yes, u"是(&Y)", IDYES};
    const ButtonSpec no{QMessageBox::No, u"否(&N)", IDNO};
    switch (type & win::MB_TYPEMASK) {
        case win::MB_OKCANCEL:
            return {ok, cancel};
        case MB_ABORTRETRYIGNORE:
            return {{QMessageBox::Abort, u"中止(&A)", IDABORT},
                    {QMessageBox::Retry, u"重试(&R)", IDRETRY},
                    {QMessageBox::Ignore, u"忽略(&I)", IDIGNORE}};
        case MB_YESNOCANCEL:
            return {yes, no, cancel};
        case MB_YESNO:
            return {yes, no};
        case MB_RETRYCANCEL:
            return {{QMessageBox::Retry, u"重试(&R)", IDRETRY}, cancel};
        default:
            return {ok};
    }
}

}  // namespace

int QtWindowHost::ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                 win::UINT type) {
    QMessageBox box(IconOf(type), caption, text, QMessageBox::NoButton, owner);
    // Texts may carry what a server sent; "<b>" must not turn one into rich text.
    box.setTextFormat(Qt::PlainText);
    const std::vector<ButtonSpec> specs = ButtonsOf(type);
    for (const ButtonSpec& choice : specs) {
        QAbstractButton* button = box.addButton(choice.button);
        button->setText(QString::fromUtf16(choice.text));
    }
    box.setDefaultButton(specs.front().button);
    // Esc answers Cancel where there is one, and the only button of an OK box.
    if (specs.size() == 1)
        box.setEscapeButton(specs.front().button);
    // The owner is disabled while the box is open: the box is modal over the whole application.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonSpec& choice : specs) {
        if (clicked != nullptr && box.standardButton(clicked) == choice.button)
            return choice.answer;
    }
    return specs.size() == 1 ? specs.front().answer : win::IDCANCEL;
}

}  // namespace qtwin
