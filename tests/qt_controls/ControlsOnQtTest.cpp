// The custom controls on real Qt widgets (offscreen): the mouse and the keys go through the dialog's
// window and the widgets' own event handling, so the order in which the control and the dialog hear of
// them is the real one.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "../controls/ControlsDialog.h"
#include "../qt/WindowInput.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowHost.h"

namespace controls_test {
namespace {

class ControlsOnQtTest : public ::testing::Test {
  protected:
    // Runs the dialog modally; the script runs inside the modal loop once the dialog is up.
    void Run(const std::function<void()>& script) {
        QTimer::singleShot(0, [&] {
            script();
            dialog.EndDialog(win::IDOK);
        });
        dialog.DoModal();
    }
    QWidget* Widget(int id) const { return qtwin::AsQtWindow(dialog.GetDlgItem(id))->Widget(); }
    QWidget* ListViewport() const { return static_cast<QAbstractScrollArea*>(Widget(kList))->viewport(); }
    // Rows as the list shows them, the top one first.
    void ClickRow(int row) const {
        window_input::Click(ListViewport(), QPoint(5, row * controls::CListBoxCH::kRowHeight + 5));
    }
    void Press(Qt::Key key) const { window_input::Key(Widget(kList), key); }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i)
            dialog.list.AddItem(std::string(1, static_cast<char>('a' + i)).c_str(), nullptr);
    }

    qtwin::QtWindowHost host;
    fakes::FakeShell shell;
    ControlsDialog dialog{host, shell};
};

TEST_F(ControlsOnQtTest, ClickedRowIsCurrentWhenTheDialogHearsOfIt) {
    Run([&] {
        AddRows(3);
        ClickRow(2);
        ClickRow(0);
        ClickRow(1);
    });
    EXPECT_EQ(dialog.selectionChanges, (std::vector<SelectionChange>{{2, 2}, {0, 0}, {1, 1}}));
}

TEST_F(ControlsOnQtTest, ClickIntoAnEmptyListLeavesNoCurrentEntry) {
    Run([&] {
        dialog.list.SetCurrentIndex(0);
        ClickRow(0);
        EXPECT_EQ(dialog.list.GetCurrentIndex(), -1);
    });
    EXPECT_TRUE(dialog.selectionChanges.empty());
}

TEST_F(ControlsOnQtTest, KeysKeepTheCurrentIndexOnTheHighlightedRow) {
    Run([&] {
        AddRows(4);
        ClickRow(0);  // the list takes the focus
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_Right,
                            Qt::Key_Left, Qt::Key_Up}) {
            Press(key);
        }
    });
    EXPECT_EQ(dialog.selectionChanges,
              (std::vector<SelectionChange>{{0, 0}, {1, 1}, {2, 2}, {1, 1}, {3, 3}, {0, 0}, {1, 1}, {0, 0}}));
}

TEST_F(ControlsOnQtTest, PageKeysMoveAPageLessOneAndTheCurrentIndexFollows) {
    constexpr int kRows = 15;
    int page = 0;
    Run([&] {
        AddRows(kRows);
        page = ListViewport()->height() / controls::CListBoxCH::kRowHeight;
        ASSERT_GE(page, 2);
        ASSERT_GT(kRows, 2 * page);
        ClickRow(0);
        for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_End, Qt::Key_PageDown,
                            Qt::Key_PageUp}) {
            Press(key);
        }
    });
    // The second page down scrolls the list; the page keys after it count their page from the new top
    // row. Page down on the last row moves nothing.
    const int p = page - 1;
    const int last = kRows - 1;
    EXPECT_EQ(dialog.selectionChanges,
              (std::vector<SelectionChange>{
                  {0, 0}, {p, p}, {2 * p, 2 * p}, {p, p}, {last, last}, {last - p, last - p}}))
        << "a page of " << page << " rows";
}

// The range follows the entries by the time the list is drawn, however many were added or deleted in
// between: the last top index is the one whose page ends at the last row.
TEST_F(ControlsOnQtTest, ScrollRangeFollowsTheRows) {
    struct Step {
        int add;
        int remove;
    };
    const Step steps[] = {{1, 0}, {40, 0}, {0, 38}, {30, 30}, {0, 3}};
    Run([&] {
        auto* list = static_cast<QAbstractScrollArea*>(Widget(kList));
        const int page = ListViewport()->height() / controls::CListBoxCH::kRowHeight;
        ASSERT_GE(page, 3);
        for (const Step& step : steps) {
            for (int i = 0; i < step.add; ++i)
                dialog.list.AddItem("row", nullptr);
            for (int i = 0; i < step.remove; ++i)
                dialog.GetDlgItem(kList)->DeleteString(0);
            list->grab();
            const int rows = dialog.GetDlgItem(kList)->GetCount();
            EXPECT_EQ(list->verticalScrollBar()->maximum(), std::max(0, rows - page)) << rows << " rows";
        }
    });
}

TEST_F(ControlsOnQtTest, KeyAfterTheCurrentRowWasReplacedSelectsThatRow) {
    Run([&] {
        AddRows(3);
        ClickRow(1);
        // The dialog's modify: delete the entry and insert the new one at its place.
        dialog.GetDlgItem(kList)->DeleteString(1);
        dialog.list.InsertItem(1, "b2", nullptr);
        Press(Qt::Key_Down);
    });
    ASSERT_FALSE(dialog.selectionChanges.empty());
    const SelectionChange last = dialog.selectionChanges.back();
    EXPECT_EQ(last.currentIndex, last.listSelection);
}

// Pixels of the label's text in the given colour, as the label paints itself now.
int TextPixels(QWidget* label, QColor color) {
    const QImage image = label->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                ++count;
        }
    }
    return count;
}

TEST_F(ControlsOnQtTest, LinkTurnsRedUnderThePointerAndBackWhenItLeavesFast) {
    Run([&] {
        dialog.link.SetLink("http://example.net/", win::RGB(0, 0, 255), win::RGB(255, 0, 0));
        QWidget* label = Widget(kLink);
        EXPECT_GT(TextPixels(label, Qt::blue), 0);
        EXPECT_EQ(TextPixels(label, Qt::red), 0);

        window_input::Move(label, QPoint(2, 2));
        EXPECT_EQ(QWidget::mouseGrabber(), label) << "the label holds the mouse while the pointer is on it";
        EXPECT_GT(TextPixels(label, Qt::red), 0);
        EXPECT_EQ(TextPixels(label, Qt::blue), 0);

        // The next movement is already far away, over the list; the grab still delivers it to the label.
        window_input::Move(ListViewport(), QPoint(5, 5));
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
        EXPECT_GT(TextPixels(label, Qt::blue), 0);
        EXPECT_EQ(TextPixels(label, Qt::red), 0);
    });
}

}  // namespace
}  // namespace controls_test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
