// The grid's buttons (groups, check style, the drop-down part, faces by
// state, colour sets, glyph shadow and disabled glyph), the arrow marker,
// the pop-up button and file pictures.
#include <gtest/gtest.h>

#include "grid/support/plusobj.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using namespace guitest;

namespace {

struct Buttons : ::testing::Test {
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
  TPlusGridButton* Make(int left, int width = 40) {
    auto* b = new TPlusGridButton(Form);
    b->SetParent(Form);
    b->SetBounds(left, 10, width, 23);
    return b;
  }
};

class TRecordingMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  void Popup(int X, int Y) override {
    ++Shown;
    At = {X, Y};
  }
  int Shown = 0;
  TPoint At;
};

TEST_F(Buttons, GroupPressReleasesTheOther) {
  auto* a = Make(10);
  auto* b = Make(60);
  auto* other = Make(110);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetDown(true);
  Form->Show();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Click(a, 5, 5);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
  Click(b, 5, 5);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_TRUE(other->Down());  // another group
  EXPECT_EQ(clicks, 1);
  // Without AllowAllUp the down button cannot be released by clicking it.
  Click(b, 5, 5);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 2);
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());  // the group follows
  Click(b, 5, 5);
  EXPECT_FALSE(b->Down());
  // A plain button without group cannot be down.
  auto* plain = Make(160);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
}

TEST_F(Buttons, DropDownPartFiresOnDropDownNotOnClick) {
  auto* b = Make(10, 50);
  b->SetDropDownButton(true);
  auto* menu = new TRecordingMenu(Form);
  b->SetDropDownMenu(menu);
  Form->Show();
  int clicks = 0, drops = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->OnDropDown = [&](TObject*) { ++drops; };
  Click(b, 45, 10);  // the 12 rightmost pixels
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(menu->Shown, 1);
  EXPECT_EQ(menu->At, b->ClientToScreen({0, 23}));
  Click(b, 37, 10);  // just left of the part
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(clicks, 1);
  delete menu;  // removing the menu clears the reference
  EXPECT_EQ(b->DropDownMenu(), nullptr);
  Click(b, 45, 10);
  EXPECT_EQ(drops, 2);
}

TEST_F(Buttons, CheckStyleTogglesAtEveryRelease) {
  auto* b = Make(10);
  b->SetStyle(tasCheck);
  Form->Show();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Click(b, 5, 5);
  EXPECT_TRUE(b->Down());
  MouseDown(b, mbLeft, 5, 5);
  MouseUp(b, mbLeft, 250, 150);  // released outside: toggles, no click
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 1);
  b->SetDown(true);  // a check button stores Down without a group
  EXPECT_TRUE(b->Down());
}

TEST_F(Buttons, MarginBelowMinusOneIsIgnored) {
  auto* b = Make(10);
  b->SetMargin(3);
  b->SetMargin(-2);
  EXPECT_EQ(b->Margin(), 3);
  b->SetMargin(-1);
  EXPECT_EQ(b->Margin(), -1);
}

TEST_F(Buttons, FacesByState) {
  auto* b = Make(10);
  b->SetColor(clAqua);
  b->SetColorHot(clYellow);
  b->SetColorDown(clFuchsia);
  Form->Show();
  EXPECT_EQ(SurfacePixel(b, 20, 12), clAqua);
  MouseEnter(b);
  MouseMove(b, 20, 12);
  EXPECT_TRUE(b->Hot());
  EXPECT_EQ(SurfacePixel(b, 20, 12), clYellow);
  MouseDown(b, mbLeft, 20, 12);
  EXPECT_EQ(SurfacePixel(b, 20, 12), clFuchsia);
  MouseUp(b, mbLeft, 20, 12);
  MouseLeave(b);
  EXPECT_FALSE(b->Hot());
  b->SetColorTo(clBlue);  // a 16-step gradient from the top
  const TColor top = SurfacePixel(b, 20, 1), bottom = SurfacePixel(b, 20, 21);
  EXPECT_EQ(top, clAqua);
  EXPECT_NE(bottom, clAqua);
}

TEST_F(Buttons, ColorSets) {
  EXPECT_EQ(TPlusGridButton::ColorSetForScheme("NormalColor"), 2);
  EXPECT_EQ(TPlusGridButton::ColorSetForScheme("HomeStead"), 3);
  EXPECT_EQ(TPlusGridButton::ColorSetForScheme("Metallic"), 4);
  EXPECT_EQ(TPlusGridButton::ColorSetForScheme(""), 1);
  auto* b = Make(10);
  b->SetRounded(true);
  b->SetFlat(false);
  b->SetBorderColor(clRed);
  b->SetAutoThemeAdapt(true);  // no visual style here: set 1
  EXPECT_EQ(b->Color(), clBtnFace);
  EXPECT_EQ(b->ColorHot(), 0xEED2C1);
  EXPECT_EQ(b->BorderDownColor(), 0xC56A31);
  EXPECT_EQ(b->BorderHotColor(), 0xC56A31);
  EXPECT_EQ(b->BorderColor(), clNone);
  EXPECT_FALSE(b->Rounded());
  EXPECT_TRUE(b->Flat());
  b->ApplyColorSet(4);
  EXPECT_EQ(b->Color(), 0xECE2E1);
  EXPECT_EQ(b->ColorTo(), 0xB39698);
  EXPECT_EQ(b->ColorCheckedTo(), 0x55ADFF);
  EXPECT_EQ(b->BorderHotColor(), 0);
}

TEST_F(Buttons, GlyphShadowAndDisabledGlyph) {
  auto* b = Make(10);
  TBitmap g(4, 4, pf32bit);
  g.Canvas()->Brush()->SetColor(clTeal);
  g.Canvas()->FillRect(Rect(0, 0, 4, 4));
  g.Canvas()->SetPixels(1, 1, clRed);
  b->SetGlyph(&g);
  ASSERT_FALSE(b->GlyphShadow()->Empty());
  EXPECT_EQ(b->GlyphShadow()->Canvas()->Pixels(1, 1), clGray);
  EXPECT_EQ(b->GlyphShadow()->Canvas()->Pixels(2, 2), clTeal);
  ASSERT_FALSE(b->GlyphDisabled()->Empty());
  const int red = 255 / 3 / 2 + 96, teal = (128 + 128) / 3 / 2 + 96;
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(1, 1), static_cast<TColor>(RGB(red, red, red)));
  EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(0, 0), static_cast<TColor>(RGB(teal, teal, teal)));
  // A given disabled glyph is kept when the glyph changes.
  TBitmap d(2, 2, pf32bit);
  b->SetGlyphDisabled(&d);
  b->SetGlyph(&g);
  EXPECT_EQ(b->GlyphDisabled()->Width(), 2);
}

TEST_F(Buttons, ArrowWindowShapes) {
  for (int dir = 0; dir < 4; ++dir) EXPECT_EQ(TArrowWindow::ArrowPoints(dir).size(), 7u);
  EXPECT_EQ(TArrowWindow::ArrowPoints(0)[0], (TPoint{5, 0}));
  EXPECT_EQ(TArrowWindow::ArrowPoints(3)[3], (TPoint{8, 7}));
  auto* arrow = new TArrowWindow(Form, 1);
  EXPECT_FALSE(arrow->Visible());
  EXPECT_EQ(arrow->Color(), clLime);
  EXPECT_EQ(arrow->Parent(), Form);
  arrow->HandleNeeded();
  TRegion shape;
  ASSERT_TRUE(WindowShape(arrow, shape));
  EXPECT_TRUE(shape.Contains(5, 6));   // the shaft of the down arrow
  EXPECT_FALSE(shape.Contains(0, 0));  // outside the arrow
}

TEST_F(Buttons, PopupButtonGradientAndCaption) {
  auto* p = new TPopupButton(Form);
  p->SetParent(Form);
  p->SetBounds(0, 0, 80, 30);
  EXPECT_EQ(p->Color(), clBtnFace);
  EXPECT_EQ(p->GradFrom(), clNone);
  p->SetGradFrom(clRed);
  p->SetGradTo(clBlue);
  p->SetCaption("Go");
  Form->Show();
  // 64 steps over 30 rows: the top is red but for the second step's tint.
  const TColor top = SurfacePixel(p, 5, 0), bottom = SurfacePixel(p, 5, 29);
  EXPECT_GE(GetRValue(top), 0xF0);
  EXPECT_LE(GetBValue(top), 0x10);
  EXPECT_LE(GetRValue(bottom), 0x10);
  EXPECT_GE(GetBValue(bottom), 0xF0);
}

TEST(FilePicture, SizeFromTheFileAndAssign) {
  EnsureGui();
  TTempDir dir;
  TBitmap b(7, 5);
  const std::string name = dir.File("p.bmp");
  b.SaveToFile(name);
  TFilePicture p;
  p.SetFilename(name);
  EXPECT_EQ(p.Width(), 7);
  EXPECT_EQ(p.Height(), 5);
  TFilePicture q;
  q.Assign(&p);
  EXPECT_EQ(q.Filename(), name);
  EXPECT_EQ(q.Height(), 5);
  TBitmap target(20, 20);
  p.Draw(target.Canvas(), Rect(0, 0, 20, 20));
  TFilePicture none;
  none.Draw(target.Canvas(), Rect(0, 0, 20, 20));  // no name: nothing
  EXPECT_ANY_THROW(none.SetFilename(dir.File("missing.bmp")));
}

}  // namespace
