// The owner-drawn list box of the main dialog: entries measured and drawn by the object attached to it,
// checked by the pixels on screen; a click selects and redraws; every entry is reported deleted when
// the dialog goes.
#include "res/Resource.h"
#include "res/Templates.h"

// Last: it brings <windows.h>.
#include "Win32DialogFixture.h"

namespace win32_test {
namespace {

// Each entry is filled with the colour its item data holds; the selected one gets a black frame.
class StripeList : public win::CWnd {
  public:
    void MeasureItem(win::MeasureItemStruct& measure) override {
        measure.itemHeight = static_cast<win::UINT>(kFirstHeight + kStep * measure.itemId);
    }
    void DrawItem(win::DrawItemStruct& draw) override {
        draw.dc->FillSolidRect(draw.rcItem, static_cast<win::COLORREF>(draw.itemData));
        if (draw.itemState & ODS_SELECTED)
            draw.dc->FrameRect(draw.rcItem, RGB(0, 0, 0));
    }
    void DeleteItem(win::DeleteItemStruct& deleted) override { deletedData.push_back(deleted.itemData); }

    static constexpr int kFirstHeight = 14;
    static constexpr int kStep = 6;
    std::vector<std::uintptr_t> deletedData;
};

constexpr COLORREF kColors[] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 30, 200)};

// The pixel as the window paints itself into a bitmap of its own (WM_PRINTCLIENT), whatever other
// windows cover it on screen.
COLORREF PixelAt(HWND window, int x, int y) {
    RECT client{};
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return color;
}

// The top of entry index, the heights being the ones the object measured.
int TopOf(int index) {
    int top = 0;
    for (int i = 0; i < index; ++i)
        top += StripeList::kFirstHeight + StripeList::kStep * i;
    return top;
}

TEST(OwnerDrawTest, EntriesAreMeasuredDrawnSelectedAndDeletedByTheAttachedObject) {
    win32::Win32WindowHost host;
    RecordingDialog dialog(host, res::MainDialogTemplate());
    StripeList list;
    dialog.onInit = [&](RecordingDialog& d) {
        d.SubclassDlgItem(list, res::IDC_PROFILE_LIST);
        win::HWND box = d.GetDlgItem(res::IDC_PROFILE_LIST);
        for (COLORREF color : kColors)
            box->SetItemData(box->AddString(""), color);
    };
    RunDriven(dialog, [&](HWND native) {
        HWND box = GetDlgItem(native, res::IDC_PROFILE_LIST);
        SetForegroundWindow(native);
        PaintNow(native);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(SendMessageW(box, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0),
                      TopOf(i + 1) - TopOf(i));
            EXPECT_EQ(PixelAt(box, 20, TopOf(i) + 5), kColors[i]);
        }
        // A click on the second entry selects it: its frame is drawn and the dialog hears of it.
        const LPARAM point = MAKELPARAM(20, TopOf(1) + 5);
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(box, WM_LBUTTONUP, 0, point);
        PaintNow(native);
        EXPECT_EQ(SendMessageW(box, LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(PixelAt(box, 20, TopOf(1)), RGB(0, 0, 0));
        EXPECT_EQ(PixelAt(box, 20, TopOf(1) + 5), kColors[1]);
        EXPECT_EQ(PixelAt(box, 20, TopOf(0)), kColors[0]);
    });
    const Heard selChange{res::IDC_PROFILE_LIST, LBN_SELCHANGE, true};
    EXPECT_NE(std::find(dialog.heard.begin(), dialog.heard.end(), selChange), dialog.heard.end());
    EXPECT_EQ(list.deletedData.size(), 3U);
    EXPECT_FALSE(list.IsAttached());
}

}  // namespace
}  // namespace win32_test
