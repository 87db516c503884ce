// The chart panel's rounded window and the editor controls' painting over
// their window-system controls, as the window system shows them.
#include <gtest/gtest.h>

#include "chart/core/grafeditctrls.h"
#include "support/gui/guitest.h"
#include "test_panel_support.h"

using namespace guitest;

namespace {

struct ShownFixture : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 320);
    Form->SetColor(clRed);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
};

TColor Rgb(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

}  // namespace

TEST_F(ShownFixture, BorderRoundGivesThePanelsWindowARoundedShape) {
  auto* panel = new TTestPanel(Form, false);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 300, 200);
  TRegion shape;
  panel->SetBorderRound(24);
  ASSERT_TRUE(WindowShape(panel, shape));
  HRGN expected = CreateRoundRectRgn(0, 0, 300, 200, 24, 24);
  EXPECT_TRUE(shape == *expected);
  DeleteObject(expected);

  panel->SetBounds(10, 10, 260, 150);  // the shape follows the size
  ASSERT_TRUE(WindowShape(panel, shape));
  expected = CreateRoundRectRgn(0, 0, 260, 150, 24, 24);
  EXPECT_TRUE(shape == *expected);
  DeleteObject(expected);
  Form->Show();
  EXPECT_EQ(ShownPixel(panel, 0, 0), clRed);  // outside the rounded corner: the form

  panel->SetBorderRound(0);
  EXPECT_FALSE(WindowShape(panel, shape));
  EXPECT_NE(ShownPixel(panel, 0, 0), clRed);
}

TEST_F(ShownFixture, ColourButtonShowsItsSwatchOnTheNativeFace) {
  auto* button = new TButtonColor(Form);
  button->SetParent(Form);
  button->SetBounds(20, 20, 75, 25);
  button->SetCaption("Colour");
  button->FallbackColor = clBlue;
  Form->Show();
  const TRect swatch = button->SwatchRect();
  const int cx = (swatch.Left + swatch.Right) / 2, cy = (swatch.Top + swatch.Bottom) / 2;
  EXPECT_EQ(ShownPixel(button, cx, cy), clBlue);
  EXPECT_EQ(ShownPixel(button, swatch.Left, swatch.Top), clBlack);  // the swatch's frame
  EXPECT_NE(ShownPixel(button, swatch.Left - 3, cy), clBlue);

  button->FallbackColor = clLime;
  button->Repaint();
  EXPECT_EQ(ShownPixel(button, cx, cy), clLime);
  button->FallbackColor = clNone;  // no colour: the native face only
  button->Repaint();
  EXPECT_NE(ShownPixel(button, cx, cy), clLime);
}

TEST_F(ShownFixture, FlatComboShowsItsFlatFrameWhileTheMouseIsAway) {
  auto* combo = new TComboFlat(Form);
  combo->SetParent(Form);
  combo->SetBounds(20, 80, 140, 21);
  combo->Items()->Add("Solid");
  combo->SetItemIndex(0);
  Form->Show();
  EXPECT_EQ(ShownPixel(combo, 0, 0), Rgb(clBtnFace));
  EXPECT_EQ(ShownPixel(combo, 139, 20), Rgb(clBtnFace));
  EXPECT_EQ(ShownPixel(combo, 1, 10), Rgb(clBtnFace));
  MouseEnter(combo);
  EXPECT_TRUE(combo->Inside());
  EXPECT_NE(ShownPixel(combo, 1, 10), Rgb(clBtnFace));  // the native frame
  MouseLeave(combo);
  EXPECT_EQ(ShownPixel(combo, 1, 10), Rgb(clBtnFace));
}
