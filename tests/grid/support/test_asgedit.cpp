// The edit with an embedded button: the button and F4 fire OnClickBtn even
// when editing is off, typing, cut and paste are refused then, the text
// rectangle leaves the button (and the unit) free, a short edit grows, a
// release outside the pressed button still clicks, and the unit edit's menu
// chooses the unit.
#include "grid/support/asgedit.h"

#include <gtest/gtest.h>

#include "platform/gfx/colors.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/forms.h"
#include "platform/ui/popupmenus.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct EditBtn : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  template <class T>
  T* Make() {
    auto* e = new T(Form);
    e->SetParent(Form);
    e->SetBounds(10, 10, 150, 24);
    Form->Show();
    e->SetFocus();
    return e;
  }
};

TEST_F(EditBtn, EditingOffRefusesTypingCutAndPasteButTheButtonWorks) {
  auto* e = Make<TPsgEditBtn>();
  EXPECT_EQ(e->Text(), "0");
  std::vector<TObject*> senders;
  e->OnClickBtn = [&](TObject* s) { senders.push_back(s); };

  e->SetText("abc");
  e->SelectAll();
  Clipboard()->SetAsText("pasted");
  e->SetEditorEnabled(false);
  TypeText(e, "xy");
  Key(e, VK_BACK, "\b");
  Key(e, 'X', "\x18", {ssCtrl});
  Key(e, 'V', "\x16", {ssCtrl});
  e->Perform(WM_PASTE, 0, 0);
  e->Perform(WM_CUT, 0, 0);
  EXPECT_EQ(e->Text(), "abc");

  Key(e, VK_F4);
  Click(e->EditButton()->Button(), 4, 4);
  ASSERT_EQ(senders.size(), 2u);
  EXPECT_EQ(senders[0], e);
  EXPECT_EQ(senders[1], e->EditButton());

  // With editing on the same keys edit.
  e->SetEditorEnabled(true);
  e->SelectAll();
  Key(e, 'V', "\x16", {ssCtrl});
  EXPECT_EQ(e->Text(), "pasted");
  TypeText(e, "!");
  EXPECT_EQ(e->Text(), "pasted!");
  // A read-only edit pastes nothing.
  e->SetReadOnly(true);
  e->SelectAll();
  e->Perform(WM_PASTE, 0, 0);
  EXPECT_EQ(e->Text(), "pasted!");
}

TEST_F(EditBtn, ReleaseOutsideThePressedButtonStillClicks) {
  auto* e = Make<TPsgEditBtn>();
  int clicks = 0;
  e->OnClickBtn = [&](TObject*) { ++clicks; };
  TControl* b = e->EditButton()->Button();
  MouseDown(b, mbLeft, 3, 3);
  MouseUp(b, mbLeft, -40, 30);
  EXPECT_EQ(clicks, 1);
  // The right button does nothing.
  Click(b, 3, 3, mbRight);
  EXPECT_EQ(clicks, 1);
}

TEST_F(EditBtn, TextRectangleLeavesTheButtonFreeAndShortEditsGrow) {
  auto* e = Make<TPsgEditBtn>();
  EXPECT_EQ(e->EditButton()->Width(), 18);
  e->SetButtonWidth(30);
  EXPECT_EQ(e->EditButton()->Width(), 30);
  e->SetWidth(160);
  EXPECT_EQ(e->GetRect().Right, e->ClientWidth() - 33);
  EXPECT_EQ(e->GetRect().Left, 1);
  EXPECT_EQ(e->GetRect().Bottom, e->ClientHeight() + 1);
  // The button sits inside the right edge, over the edit's height less 5.
  EXPECT_EQ(e->EditButton()->Left(), 160 - 30 - 5);
  EXPECT_EQ(e->EditButton()->Height(), e->Height() - 5);

  const int minHeight = e->GetMinHeight();
  EXPECT_GT(minHeight, 10);
  e->SetHeight(5);
  EXPECT_EQ(e->Height(), minHeight);

  auto* u = Make<TPsgUnitEditBtn>();
  EXPECT_EQ(u->UnitSpace(), 20);
  EXPECT_TRUE(u->RightAlign());
  u->SetWidth(150);
  EXPECT_EQ(u->GetRect().Right, u->ClientWidth() - (18 + 20 + 3) - 3);
}

// Dark pixels (text) in a rectangle of the edit as shown.
int DarkPixels(TControl* c, const TRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const TColor p = ShownPixel(c, x, y);
      if ((p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && ((p >> 16) & 0xFF) < 0x60) ++n;
    }
  return n;
}

TEST_F(EditBtn, UnitMenuChoosesTheUnitAndDrawsItLeftOfTheButton) {
  auto* u = Make<TPsgUnitEditBtn>();
  u->SetText("");
  TStringList units;
  units.SetText("kg\ng\nmg\n");
  u->SetUnits(&units);
  u->SetUnits(nullptr);  // ignored
  int fired = 0;
  u->OnClickBtn = [&](TObject*) { ++fired; };

  std::vector<TMenuItemInfo> shown;
  TPoint at;
  auto previous = SetTrackPopupHandler([&](const std::vector<TMenuItemInfo>& items, int x, int y) {
    shown = items;
    at = {x, y};
    return 2u;
  });
  const int right = u->ClientWidth() - (18 + 3);
  const TRect unitArea = Rect(right - 20, 2, right, u->ClientHeight() - 2);
  const int before = DarkPixels(u, unitArea);
  Click(u->EditButton()->Button(), 4, 4);
  SetTrackPopupHandler(previous);

  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Text, "kg");
  EXPECT_EQ(shown[2].ID, 3u);
  EXPECT_EQ(at, u->ClientToScreen(Point(u->ClientWidth() - 15, u->ClientHeight())));
  EXPECT_EQ(u->UnitID(), "g");
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(before, 0);
  EXPECT_GT(DarkPixels(u, unitArea), 0);

  // Identifiers outside the list and the edit's change notification leave the unit.
  u->Perform(WM_COMMAND, 4, 0);
  u->Perform(WM_COMMAND, MAKEWPARAM(1, 0x300), 0);
  EXPECT_EQ(u->UnitID(), "g");
  u->Perform(WM_COMMAND, 3, 0);
  EXPECT_EQ(u->UnitID(), "mg");
}

TEST_F(EditBtn, KeyPressReplacesAndCancelsCharacters) {
  auto* e = Make<TPsgEditBtn>();
  e->SetText("");
  e->OnKeyPress = [](TObject*, char& k) {
    if (k == '.') k = ',';
    if (k == 'q') k = 0;
  };
  TypeText(e, "1.5q");
  EXPECT_EQ(e->Text(), "1,5");
}

TEST_F(EditBtn, SpeedButtonPaintsFlatWithItsStateAndTracksTheMouse) {
  auto* e = Make<TPsgEditBtn>();
  TPlusSpeedButton* b = e->EditButton()->Button();
  e->EditButton()->SetFlat(true);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(ShownPixel(b, 0, 0), ColorToRGB(clBtnHighlight));  // raised
  MouseDown(b, mbLeft, 3, 3);
  EXPECT_EQ(ShownPixel(b, 0, 0), ColorToRGB(clBtnShadow));  // sunken while down
  MouseUp(b, mbLeft, 3, 3);
  EXPECT_EQ(ShownPixel(b, 0, 0), ColorToRGB(clBtnHighlight));
  MouseEnter(b);
  EXPECT_TRUE(b->Hot());
  MouseLeave(b);
  EXPECT_FALSE(b->Hot());
  e->SetIsWinXP(true);
  EXPECT_TRUE(b->IsWinXP());
}

}  // namespace
