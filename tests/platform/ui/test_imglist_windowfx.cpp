// Image lists (cutting a strip, colour-key masks, drawing by index, greyed
// pictures) and the shell's file icons.
#include <gtest/gtest.h>

#include "platform/ui/imglist.h"
#include "platform/ui/windowfx.h"
#include "support/gui/guitest.h"

namespace {

TEST(ImageList, StripsMasksAndDrawing) {
  guitest::EnsureGui();
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap strip(12, 4, pf32bit);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(Rect(0, 0, 12, 4));
  strip.Canvas()->SetPixels(1, 1, clRed);
  strip.Canvas()->SetPixels(5, 1, clGreen);
  strip.Canvas()->SetPixels(9, 1, clBlue);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(changes, 1);

  TBitmap target(10, 10, pf32bit);
  TCanvas* c = target.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 10, 10));
  list.Draw(c, 2, 3, 1);
  EXPECT_EQ(c->Pixels(3, 4), clGreen);
  EXPECT_EQ(c->Pixels(2, 3), clWhite);  // the key colour is transparent
  list.Draw(c, 2, 3, 7);                // outside the list: nothing
  list.Draw(c, 6, 0, 0, false);         // greyed
  const TColor g = c->Pixels(7, 1);
  EXPECT_EQ(GetRValue(g), GetGValue(g));
  EXPECT_EQ(GetGValue(g), GetBValue(g));
  EXPECT_EQ(GetRValue(g), 255 / 3 / 2 + 96);

  TBitmap one;
  EXPECT_TRUE(list.GetBitmap(2, &one));
  EXPECT_EQ(one.Width(), 4);
  EXPECT_EQ(one.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(one.Canvas()->Pixels(0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_FALSE(list.GetBitmap(3, &one));

  list.SetWidth(8);  // a new size clears
  EXPECT_EQ(list.Count(), 0);
}

TEST(ShellIcons, SizesForAnyName) {
  guitest::EnsureGui();
  for (bool small : {true, false}) {
    for (const char* name : {"report.pdf", "/tmp", "no-extension"}) {
      auto icon = ShellFileIcon(name, small);
      ASSERT_TRUE(icon);
      EXPECT_EQ(icon->Width(), small ? 16 : 32) << name;
      EXPECT_EQ(icon->Height(), ShellIconSize(small));
    }
  }
}

}  // namespace
