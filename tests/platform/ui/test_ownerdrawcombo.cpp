// Owner-drawn combo boxes: the items of the closed box and of the dropped
// list are drawn by OnDrawItem through the combo's canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

TColor AsRGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

struct Drawn {
  int index;
  TRect rect;
  TOwnerDrawState state;
};

// A pen-style combo as the editors build it: each item fills its rectangle
// with the brush the combo prepared, then draws a red sample line and its
// text.
struct PenStyleCombo : ::testing::Test {
  TForm form{nullptr};
  TComboBox* combo = new TComboBox(&form);
  std::vector<Drawn> drawn;

  PenStyleCombo() {
    form.SetClientWidth(220);
    form.SetClientHeight(120);
    combo->SetParent(&form);
    combo->SetBounds(10, 10, 150, 22);
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(16);
    for (const char* s : {"Solid", "Dash", "Dot", "Dash Dot"}) combo->Items()->Add(s);
    combo->OnDrawItem = [this](TWinControl* control, int index, const TRect& r, TOwnerDrawState state) {
      EXPECT_EQ(control, combo);
      drawn.push_back({index, r, state});
      TCanvas* c = combo->Canvas();
      c->FillRect(r);
      c->Pen()->SetColor(clRed);
      c->Pen()->SetWidth(1);
      c->MoveTo(r.Left + 2, r.Top + 8);
      c->LineTo(r.Left + 30, r.Top + 8);
      c->Brush()->SetStyle(bsClear);
      c->TextOut(r.Left + 34, r.Top + 2, combo->Items()->Strings(index));
    };
  }
  const Drawn* Last(int index, bool closedBox) const {
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
      if (it->index == index && it->state.Contains(odComboBoxEdit) == closedBox) return &*it;
    return nullptr;
  }
};

TEST_F(PenStyleCombo, TheClosedBoxShowsTheSelectedItemDrawnByTheHandler) {
  combo->SetItemIndex(1);
  form.Show();
  TBitmap shot;
  ASSERT_TRUE(ControlPicture(combo, shot));
  const Drawn* d = Last(1, true);
  ASSERT_NE(d, nullptr) << "the closed box draws its item";
  EXPECT_FALSE(d->state.Contains(odSelected)) << "not focused";
  EXPECT_TRUE(TRect(Rect(0, 0, combo->Width(), combo->Height())).Contains(Point(d->rect.Left, d->rect.Top)));
  TCanvas* c = shot.Canvas();
  EXPECT_EQ(c->Pixels(d->rect.Left + 10, d->rect.Top + 8), AsRGB(clRed));
  EXPECT_EQ(c->Pixels(d->rect.Left + 10, d->rect.Top + 5), AsRGB(clWindow)) << "the combo's brush";

  // Focused, the item is drawn selected: the highlight brush and a focus rectangle.
  combo->SetFocus();
  ProcessEvents();
  drawn.clear();
  ASSERT_TRUE(ControlPicture(combo, shot));
  d = Last(1, true);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->state.Contains(odSelected));
  EXPECT_TRUE(d->state.Contains(odFocused));
  EXPECT_EQ(shot.Canvas()->Pixels(d->rect.Left + 10, d->rect.Top + 5), AsRGB(clHighlight));

  // Without a selection the box is only filled; no item is drawn.
  combo->SetItemIndex(-1);
  combo->Repaint();
  drawn.clear();
  ASSERT_TRUE(ControlPicture(combo, shot));
  EXPECT_TRUE(drawn.empty());
}

TEST_F(PenStyleCombo, TheDroppedListDrawsEveryItemAtItsHeightAndHighlightsTheSelectedOne) {
  combo->SetItemIndex(2);
  form.Show();
  combo->SetDroppedDown(true);
  ProcessEvents();
  TBitmap list;
  ASSERT_TRUE(DroppedListPicture(combo, list));
  TCanvas* c = list.Canvas();
  for (int i = 0; i < 4; ++i) {
    const Drawn* d = Last(i, false);
    ASSERT_NE(d, nullptr) << "item " << i;
    EXPECT_EQ(d->rect.Height(), 16) << "item " << i;
    if (i > 0) {
      EXPECT_EQ(d->rect.Top, Last(i - 1, false)->rect.Bottom) << "item " << i;
    }
    EXPECT_EQ(d->state.Contains(odSelected), i == 2) << "item " << i;
    EXPECT_EQ(c->Pixels(d->rect.Left + 10, d->rect.Top + 8), AsRGB(clRed)) << "item " << i;
    EXPECT_EQ(c->Pixels(d->rect.Left + 31, d->rect.Top + 4), AsRGB(i == 2 ? clHighlight : clWindow))
        << "item " << i;
  }
  combo->SetDroppedDown(false);
}

TEST_F(PenStyleCombo, AVariableListAsksEachItemsHeightAndTheDefaultDrawingWritesTheText) {
  combo->SetStyle(csOwnerDrawVariable);
  combo->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 12 + 4 * index; };
  form.Show();
  combo->SetDroppedDown(true);
  ProcessEvents();
  TBitmap list;
  ASSERT_TRUE(DroppedListPicture(combo, list));
  for (int i = 0; i < 4; ++i) {
    const Drawn* d = Last(i, false);
    ASSERT_NE(d, nullptr) << "item " << i;
    EXPECT_EQ(d->rect.Height(), 12 + 4 * i) << "item " << i;
  }
  combo->SetDroppedDown(false);

  // Without OnDrawItem the item's text is written on the prepared brush.
  combo->OnDrawItem = nullptr;
  combo->SetStyle(csOwnerDrawFixed);
  combo->SetItemIndex(0);
  combo->SetDroppedDown(true);
  ProcessEvents();
  ASSERT_TRUE(DroppedListPicture(combo, list));
  int ink = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 40; ++x) {
      const TColor p = list.Canvas()->Pixels(x, y);
      if (p != AsRGB(clHighlight) && p != AsRGB(clWindow)) ++ink;
    }
  EXPECT_GT(ink, 10) << "the text of the first item";
  combo->SetDroppedDown(false);
}

TEST_F(PenStyleCombo, TheStyleCanGoBackToAPlainList) {
  combo->SetItemIndex(3);
  form.Show();
  combo->SetStyle(csDropDownList);
  drawn.clear();
  TBitmap shot;
  ASSERT_TRUE(ControlPicture(combo, shot));
  EXPECT_TRUE(drawn.empty()) << "a plain list draws its items itself";
  EXPECT_EQ(combo->Text(), "Dash Dot");
  combo->SetStyle(csOwnerDrawFixed);
  ASSERT_TRUE(ControlPicture(combo, shot));
  EXPECT_NE(Last(3, true), nullptr);
  // A text set on an owner-drawn list selects its item.
  combo->SetText("Dot");
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetText("Wavy");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "");
}

}  // namespace
