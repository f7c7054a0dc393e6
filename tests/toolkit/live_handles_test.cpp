// The live-handle counts: each counted creation adds one, each destruction takes it away again,
// and a form with its controls leaves nothing behind once it is gone.
#include "support/gui_pump.h"
#include "support/test_forms.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/live_handles.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

TEST(LiveHandles, CountWhatIsMadeUntilItIsDestroyedAndNothingForFailedCalls) {
    const live::Counts before = live::Now();
    {
        UniqueBrush brush(live::CreateSolidBrush(RGB(1, 2, 3)));
        UniqueMemoryDc dc(live::CreateCompatibleDC(nullptr));
        EXPECT_EQ(live::Now().gdiObjects, before.gdiObjects + 2);
    }
    EXPECT_EQ(live::Now(), before);
    EXPECT_FALSE(live::DeleteObject(nullptr));
    EXPECT_FALSE(live::DestroyWindow(nullptr));
    EXPECT_EQ(live::Now(), before);

    // An icon, and the two bitmaps that asking for its parts hands back.
    UniqueBitmap mask(live::CreateBitmap(16, 32, 1, 1, nullptr));
    ICONINFO made{TRUE, 0, 0, mask.get(), nullptr};
    HICON icon = live::CreateIconIndirect(&made);
    ASSERT_NE(icon, nullptr);
    ICONINFO parts{};
    ASSERT_TRUE(live::GetIconInfo(icon, &parts));
    EXPECT_EQ(live::Now().icons, before.icons + 1);
    EXPECT_EQ(live::Now().gdiObjects, before.gdiObjects + 1 + (parts.hbmColor ? 1 : 0) + 1);
    live::DeleteObject(parts.hbmMask);
    if (parts.hbmColor) {
        live::DeleteObject(parts.hbmColor);
    }
    live::DestroyIcon(icon);
    mask.reset();

    HIMAGELIST list = live::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    UniqueMenu menu(live::CreatePopupMenu());
    EXPECT_EQ(live::Now().imageLists, before.imageLists + 1);
    EXPECT_EQ(live::Now().menus, before.menus + 1);
    live::ImageList_Destroy(list);
    menu.reset();
    EXPECT_EQ(live::Now(), before);
}

class TCountedForm : public TForm {
  public:
    TCountedForm() {
        FormDefinition d = sc::test::TestForm("CountedForm", 200, 160);
        ControlDefinition list =
            sc::test::TestControl("ListBoxRows", ControlKind::listBox, {0, 0, 200, 120});
        ControlDefinition button =
            sc::test::TestControl("ButtonGo", ControlKind::button, {10, 128, 80, 24});
        button.caption = "&Go";
        d.controls = {list, button};
        build(d);
        TListBox& rows = control<TListBox>("ListBoxRows");
        rows.setStyle(TListBoxStyle::lbOwnerDrawFixed);
        rows.setItemHeight(20);
        rows.setDoubleBuffered(true);
        rows.addItem("row");
    }
};

TEST(LiveHandles, AFormWithItsControlsLeavesNothingBehind) {
    Application().handle();
    const live::Counts before = live::Now();
    {
        TCountedForm form;
        EXPECT_EQ(live::Now().windows, before.windows + 3);
        form.show();
        sc::test::pumpUntilIdle(20, 1000);
    }
    sc::test::pumpUntilIdle(20, 1000);
    EXPECT_EQ(live::Now(), before);
}

} // namespace
} // namespace tk
