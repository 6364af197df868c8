#include "QtIpAddressEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace qtwin {

namespace {
constexpr int kFrame = 2;
}

std::optional<std::array<int, 4>> ParseDottedAddress(const std::string& text) {
    std::array<int, 4> fields{};
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return std::nullopt;
            ++pos;
        }
        const std::size_t start = pos;
        int value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
            value = value * 10 + (text[pos] - '0');
            ++pos;
        }
        if (pos == start || value > 255)
            return std::nullopt;
        fields[static_cast<std::size_t>(i)] = value;
    }
    if (pos != text.size())
        return std::nullopt;
    return fields;
}

QtIpAddressEdit::QtIpAddressEdit(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    // One tab stop for the whole control; the fields are reached with the keyboard inside it.
    setFocusPolicy(Qt::StrongFocus);
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(validator);
        field->setFocusPolicy(Qt::ClickFocus);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { FieldEdited(i); });
        fields_[static_cast<std::size_t>(i)] = field;
    }
    // Tab enters at the first field and leaves from any field for the next control.
    fields_[0]->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(fields_[0]);
}

std::string QtIpAddressEdit::Text() const {
    if (IsBlank())
        return "";
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text += '.';
        const QString field = Field(i)->text();
        text += std::to_string(field.isEmpty() ? 0 : field.toInt());
    }
    return text;
}

bool QtIpAddressEdit::IsBlank() const {
    for (const QLineEdit* field : fields_) {
        if (!field->text().isEmpty())
            return false;
    }
    return true;
}

void QtIpAddressEdit::SetText(const std::string& dotted) {
    const auto address = ParseDottedAddress(dotted);
    if (!address) {
        Clear();
        return;
    }
    for (int i = 0; i < 4; ++i)
        Field(i)->setText(QString::number((*address)[static_cast<std::size_t>(i)]));
}

void QtIpAddressEdit::SetAddress(win::DWORD address) {
    for (int i = 0; i < 4; ++i)
        Field(i)->setText(QString::number((address >> (24 - 8 * i)) & 0xFF));
}

void QtIpAddressEdit::Clear() {
    for (QLineEdit* field : fields_)
        field->clear();
}

void QtIpAddressEdit::FieldEdited(int index) {
    QLineEdit* field = Field(index);
    // A number above 255 becomes 255; a third digit moves on to the next field.
    if (field->text().toInt() > 255)
        field->setText(QStringLiteral("255"));
    if (field->text().size() == 3 && field->cursorPosition() == 3 && index < 3) {
        Field(index + 1)->setFocus(Qt::OtherFocusReason);
        Field(index + 1)->selectAll();
    }
}

int QtIpAddressEdit::FieldOf(QObject* object) const {
    for (int i = 0; i < 4; ++i) {
        if (fields_[static_cast<std::size_t>(i)] == object)
            return i;
    }
    return -1;
}

bool QtIpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = FieldOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* field = Field(index);
    const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
    const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
    int target = -1;
    if ((key->text() == QStringLiteral(".") || key->key() == Qt::Key_Space) && index < 3) {
        if (field->text().isEmpty())
            return true;
        target = index + 1;
    } else if (key->key() == Qt::Key_Right && atEnd && index < 3) {
        target = index + 1;
    } else if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Backspace) && atStart && index > 0) {
        target = index - 1;
    }
    if (target < 0)
        return QWidget::eventFilter(watched, event);
    Field(target)->setFocus(Qt::OtherFocusReason);
    if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Backspace) {
        Field(target)->end(false);
    } else {
        Field(target)->selectAll();
    }
    return true;
}

void QtIpAddressEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutFields();
}

void QtIpAddressEdit::LayoutFields() {
    const int inner = width() - 2 * kFrame;
    const int fieldWidth = inner / 4;
    for (int i = 0; i < 4; ++i) {
        Field(i)->setGeometry(kFrame + i * fieldWidth, kFrame, fieldWidth - 4, height() - 2 * kFrame);
    }
}

void QtIpAddressEdit::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    // A sunken client edge, and the dots between the fields.
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.setPen(palette().color(QPalette::Text));
    const int fieldWidth = (width() - 2 * kFrame) / 4;
    for (int i = 1; i < 4; ++i) {
        const QRect dot(kFrame + i * fieldWidth - 4, kFrame, 4, height() - 2 * kFrame);
        painter.drawText(dot, Qt::AlignCenter, QStringLiteral("."));
    }
}

}  // namespace qtwin
