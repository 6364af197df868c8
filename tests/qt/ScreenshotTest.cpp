// The main dialog rendered to a PNG and checked by pixels: the background bands, a coloured label and the
// Chinese text; and the coloured label's own colours on the real widgets.
#include <QImage>
#include <QPalette>

#include "QtDialogFixture.h"
#include "controls/ColorStatic.h"
#include "res/Resource.h"

namespace qt_test {
namespace {

using ScreenshotTest = QtDialogFixture;

QColor Rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

// The dialog as a PNG file, read back.
QImage RenderToPng(const std::filesystem::path& file) {
    EXPECT_TRUE(QtDialogFixture::OpenDialog().grab().save(QString::fromStdString(file.string()), "PNG"));
    QImage image(QString::fromStdString(file.string()));
    EXPECT_FALSE(image.isNull());
    return image;
}

int PixelsOtherThan(const QImage& image, const QRect& area, const QColor& background) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background)
                ++count;
        }
    }
    return count;
}

TEST_F(ScreenshotTest, BackgroundBandsLabelColourAndChineseText) {
    QImage image;
    QRect ipLabel;
    QRect listLabel;
    RunProgram([&] {
        image = RenderToPng(dir / "dialog.png");
        ipLabel = Widget(res::IDC_LABEL_IP)->geometry();
        listLabel = Widget(res::IDC_LABEL_LIST)->geometry();
    });
    ASSERT_GT(image.height(), 212);
    // Column 2 has no control: the painted background. Rows count from the client area's origin.
    EXPECT_EQ(image.pixelColor(2, 0), Rgb(190, 150, 255));
    EXPECT_EQ(image.pixelColor(2, 100), Rgb(190, 150, 155));
    EXPECT_EQ(image.pixelColor(2, 210), Rgb(190, 150, 45));
    EXPECT_EQ(image.pixelColor(2, 211), Rgb(190, 150, 255)) << "the bands start again";
    EXPECT_EQ(image.pixelColor(image.width() - 1, 211), Rgb(190, 150, 255));
    // The label's bottom row lies below its text: the label's own colour.
    EXPECT_EQ(image.pixelColor(ipLabel.left() + 1, ipLabel.bottom()), Rgb(190, 150, 140));
    EXPECT_EQ(image.pixelColor(listLabel.left() + 1, listLabel.bottom()), Rgb(190, 150, 240));
    // "IP配置列表:": the Chinese characters follow the two Latin letters, in the label's right part.
    const QRect chinese(listLabel.left() + listLabel.width() / 4, listLabel.top(), listLabel.width() / 2,
                        listLabel.height());
    EXPECT_GT(PixelsOtherThan(image, chinese, Rgb(190, 150, 240)), 40) << "glyphs were drawn";
}

class LabelDialog : public RecordingDialog {
  public:
    explicit LabelDialog(win::WindowHost& host) : RecordingDialog(host), label(host) {}
    bool OnInitDialog() override {
        SubclassDlgItem(label, res::IDC_LABEL_LIST);
        return true;
    }
    controls::CColorStatic label;
};

TEST_F(ScreenshotTest, UncolouredLabelKeepsTheFaceColourOfItsConstruction) {
    const QPalette original = QApplication::palette();
    LabelDialog dialog(host);
    const QColor faceAtConstruction = original.color(QPalette::Window);
    QPalette changed = original;
    changed.setColor(QPalette::Window, Rgb(10, 200, 10));
    QApplication::setPalette(changed);
    QColor labelPixel;
    QColor otherLabelPixel;
    WhenOpen([&] {
        const QImage image = OpenDialog().grab().toImage();
        const QRect label = Widget(res::IDC_LABEL_LIST)->geometry();
        const QRect other = Widget(res::IDC_LABEL_NAME)->geometry();
        labelPixel = image.pixelColor(label.left() + 1, label.bottom());
        otherLabelPixel = image.pixelColor(other.left() + 1, other.bottom());
    });
    dialog.DoModal();
    QApplication::setPalette(original);
    EXPECT_EQ(labelPixel, faceAtConstruction);
    EXPECT_EQ(otherLabelPixel, Rgb(10, 200, 10)) << "a label without a colour object has today's face colour";
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(ScreenshotTest, SetBackColorRepaintsBeforeReturning) {
    LabelDialog dialog(host);
    int paintsDuringCall = 0;
    QColor after;
    WhenOpen([&] {
        QWidget* label = Widget(res::IDC_LABEL_LIST);
        PaintCounter counter;
        label->installEventFilter(&counter);
        dialog.label.SetBackColor(win::RGB(190, 150, 70));
        paintsDuringCall = counter.paints;
        label->removeEventFilter(&counter);
        after = OpenDialog().grab().toImage().pixelColor(label->geometry().left() + 1,
                                                         label->geometry().bottom());
    });
    dialog.DoModal();
    EXPECT_GE(paintsDuringCall, 1);
    EXPECT_EQ(after, Rgb(190, 150, 70));
}

}  // namespace
}  // namespace qt_test
