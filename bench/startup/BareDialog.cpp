// The reference the start-up benchmark measures the program against: a bare Qt dialog with the same
// kinds and about the same number of widgets as the program's main window (a list with icons, two
// combo boxes, five four-field address boxes, a line edit, icon and text buttons, labels, group boxes
// and check boxes), in the same font and script, built in code with no logic behind it.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace {

// Positions in the main window's dialog units, scaled to about the pixels its font gives them.
QRect Place(int x, int y, int width, int height) {
    constexpr double kX = 1.5;
    constexpr double kY = 2.0;
    return {static_cast<int>(x * kX), static_cast<int>(y * kY), static_cast<int>(width * kX),
            static_cast<int>(height * kY)};
}

template <typename Widget>
Widget* Add(QDialog& dialog, Widget* widget, QRect where) {
    widget->setParent(&dialog);
    widget->setGeometry(where);
    return widget;
}

// Icons drawn in code, so that the reference loads no icon theme nor image plugin.
QIcon DrawnIcon(QColor colour) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.drawEllipse(2, 2, 28, 28);
    return QIcon(pixmap);
}

void AddAddressBox(QDialog& dialog, const char* label, int y) {
    Add(dialog, new QLabel(QString::fromUtf8(label)), Place(133, y + 1, 40, 10));
    for (int field = 0; field < 4; ++field) {
        Add(dialog, new QLineEdit(QStringLiteral("192")), Place(177 + field * 25, y, 20, 14));
        if (field < 3)
            Add(dialog, new QLabel(QStringLiteral(".")), Place(197 + field * 25, y, 4, 14));
    }
}

void AddProfiles(QDialog& dialog) {
    Add(dialog, new QLabel(QString::fromUtf8("IP配置列表:")), Place(9, 7, 44, 8));
    auto* list = Add(dialog, new QListWidget, Place(10, 18, 107, 91));
    const char* names[] = {"办公室", "家里", "实验室"};
    for (const char* name : names)
        list->addItem(new QListWidgetItem(DrawnIcon(Qt::darkCyan), QString::fromUtf8(name)));
    list->setIconSize(QSize(32, 32));
}

void AddButtons(QDialog& dialog) {
    const struct {
        const char* text;
        Qt::GlobalColor icon;
        QRect where;
    } buttons[] = {
        {"切换", Qt::green, Place(56, 114, 22, 21)},       {"使用说明", Qt::blue, Place(85, 113, 24, 22)},
        {"关于...", Qt::cyan, Place(85, 146, 24, 23)},     {"添加", Qt::darkGreen, Place(168, 171, 29, 25)},
        {"修改", Qt::darkYellow, Place(229, 171, 30, 25)}, {"删除", Qt::red, Place(290, 171, 29, 25)}};
    for (const auto& button : buttons) {
        auto* push = Add(dialog, new QPushButton(DrawnIcon(button.icon), QString()), button.where);
        push->setToolTip(QString::fromUtf8(button.text));
        push->setIconSize(QSize(32, 32));
    }
    Add(dialog, new QPushButton(QString::fromUtf8("获取当前IP配置")), Place(15, 146, 63, 23));
    const char* arrows[] = {"点此切换->", "添加->", "修改->", "删除->"};
    const QRect arrowPlaces[] = {Place(14, 120, 41, 8), Place(139, 179, 27, 8), Place(203, 179, 25, 8),
                                 Place(264, 179, 25, 8)};
    for (int i = 0; i < 4; ++i)
        Add(dialog, new QLabel(QString::fromUtf8(arrows[i])), arrowPlaces[i]);
}

void AddConfiguration(QDialog& dialog) {
    Add(dialog, new QGroupBox(QString::fromUtf8("当前IP配置")), Place(123, 7, 219, 193));
    Add(dialog, new QLabel(QString::fromUtf8("IP配置名称:")), Place(129, 22, 45, 8));
    Add(dialog, new QLineEdit, Place(178, 20, 54, 14));
    Add(dialog, new QLabel(QString::fromUtf8("IP配置图标:")), Place(236, 22, 45, 8));
    auto* icons = Add(dialog, new QComboBox, Place(281, 17, 56, 14));
    for (int i = 0; i < 5; ++i)
        icons->addItem(DrawnIcon(Qt::darkCyan), QString());
    Add(dialog, new QLabel(QString::fromUtf8("适配器:")), Place(140, 49, 32, 12));
    auto* adapters = Add(dialog, new QComboBox, Place(177, 47, 159, 14));
    adapters->addItem(QString::fromUtf8("以太网适配器"));
    AddAddressBox(dialog, "IP地址:", 67);
    AddAddressBox(dialog, "子网掩码:", 88);
    AddAddressBox(dialog, "默认网关:", 110);
    AddAddressBox(dialog, "首选DNS:", 131);
    AddAddressBox(dialog, "备用DNS:", 151);
}

void AddOptionsAndContacts(QDialog& dialog) {
    Add(dialog, new QGroupBox(QString::fromUtf8("自动选项")), Place(124, 203, 217, 31));
    Add(dialog, new QCheckBox(QString::fromUtf8("开机自动启动")), Place(133, 217, 112, 10));
    Add(dialog, new QCheckBox(QString::fromUtf8("切换成功后自动退出")), Place(249, 217, 88, 10));
    Add(dialog, new QGroupBox(QString::fromUtf8("联系作者")), Place(9, 183, 109, 52));
    const char* links[] = {"给作者QQ留言", "给作者发邮件", "访问作者主页"};
    for (int i = 0; i < 3; ++i) {
        auto* link = Add(dialog, new QLabel(QString::fromUtf8(links[i])), Place(35, 195 + i * 14, 49, 8));
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(blue);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    // As the program does: without an icon of its own, Qt looks one up in the desktop's icon theme.
    dialog.setWindowIcon(DrawnIcon(Qt::darkBlue));
    dialog.setFont(QFont(QStringLiteral("WenQuanYi Zen Hei Mono"), 9));
    AddProfiles(dialog);
    AddButtons(dialog);
    AddConfiguration(dialog);
    AddOptionsAndContacts(dialog);
    dialog.resize(Place(0, 0, 349, 251).size());
    dialog.show();
    return QApplication::exec();
}
