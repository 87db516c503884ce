// Reviewed pictures: a popup menu with an open submenu, and a toolbar.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/syssettings.h"
#include "tbgolden.h"
#include "toolbar/tbpopup.h"
#include "toolbar/tbpopupmenu.h"

namespace {

// Four 16 x 16 images: coloured squares with a dark outline.
std::unique_ptr<TImageList> MakeImages() {
  auto list = std::make_unique<TImageList>(nullptr);
  TBitmap strip(64, 16, pf32bit);
  TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect(0, 0, 64, 16));
  const TColor colors[] = {clRed, clGreen, clBlue, clYellow};
  for (int i = 0; i < 4; ++i) {
    c->Brush()->SetColor(colors[i]);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(i * 16 + 2, 2, i * 16 + 14, 14);
  }
  list->AddMasked(&strip, clFuchsia);
  return list;
}

struct TGolden : ::testing::Test {
  void SetUp() override {
    ResetSystemSettings();
    UpdateToolbarMenuFont();
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}});
  }
  void TearDown() override { SetTestMonitors({}); }
};

TEST_F(TGolden, MenuWithSubmenu) {
  auto images = MakeImages();
  TTBPopupMenu menu(nullptr);
  menu.SetImages(images.get());
  auto add = [](TTBCustomItem* parent, TTBCustomItem* item, const std::string& caption) {
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  TTBCustomItem* root = menu.Items();
  add(root, new TTBItem(nullptr), "&Open...")->SetImageIndex(0);
  add(root, new TTBItem(nullptr), "&Save")->SetShortCut(ShortCut('S', {ssCtrl}));
  root->Add(new TTBSeparatorItem(nullptr));
  auto* recent = add(root, new TTBSubmenuItem(nullptr), "&Recent files");
  add(recent, new TTBItem(nullptr), "&1 alumina.inp");
  add(recent, new TTBItem(nullptr), "&2 quartz.inp")->SetImageIndex(2);
  add(recent, new TTBItem(nullptr), "&3 R&&D.inp");
  add(root, new TTBItem(nullptr), "Show &grid")->SetChecked(true);
  auto* radio = add(root, new TTBItem(nullptr), "&Points");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  add(root, new TTBItem(nullptr), "&Print\tCtrl+P")->SetEnabled(false);
  add(root, new TTBItem(nullptr), "E&xit")->SetOptions({tboDefault});

  std::unique_ptr<TTBPopupWindow> w(root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(20, 20), 0));
  TTBView* v = w->View();
  v->SetSelected(v->Viewers(3));
  ASSERT_TRUE(v->OpenChildPopup(true));
  TTBPopupWindow* sub = v->OpenViewerWindow();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->Left(), w->Left() + 3 + v->Viewers(3)->BoundsRect.Right - 3);

  int right = std::max(w->Left() + w->Width(), sub->Left() + sub->Width());
  int bottom = std::max(w->Top() + w->Height(), sub->Top() + sub->Height());
  TBitmap picture(right - w->Left() + 4, bottom - w->Top() + 4, pf32bit);
  picture.Canvas()->Brush()->SetColor(clWhite);
  picture.Canvas()->FillRect(TRect(0, 0, picture.Width(), picture.Height()));
  for (TTBPopupWindow* p : {w.get(), sub}) {
    TBitmap one(p->Width(), p->Height(), pf32bit);
    p->PaintTo(one.Canvas());
    picture.Canvas()->Draw(p->Left() - w->Left(), p->Top() - w->Top(), &one);
  }
  ExpectSameAsToolbarGolden(picture, "menu_with_submenu.png");
}

TEST_F(TGolden, Toolbar) {
  auto images = MakeImages();
  TTBRootItem root(nullptr);
  auto add = [&](TTBCustomItem* item, int image, const std::string& caption = "") {
    item->SetImages(images.get());
    item->SetImageIndex(image);
    item->SetCaption(caption);
    root.Add(item);
    return item;
  };
  add(new TTBItem(nullptr), 0, "New");
  add(new TTBItem(nullptr), 1, "Open");
  root.Add(new TTBSeparatorItem(nullptr));
  add(new TTBItem(nullptr), 2, "Grid")->SetChecked(true);
  add(new TTBItem(nullptr), 3, "Print")->SetEnabled(false);
  root.Add(new TTBSeparatorItem(nullptr));
  auto* text = add(new TTBItem(nullptr), -1, "&Refine");
  (void)text;
  auto* drop = add(new TTBSubmenuItem(nullptr), 1, "Views");
  drop->SetOptions({tboDropdownArrow});
  auto* both = add(new TTBItem(nullptr), 0, "Step");
  both->SetDisplayMode(nbdmImageAndText);

  TTBView view(nullptr, nullptr, &root, nullptr, true, false, true);
  TPoint size = view.UpdatePositions();
  view.SetSelected(view.Viewers(1));  // the hot button
  TBitmap picture(size.X, size.Y, pf32bit);
  picture.Canvas()->Brush()->SetColor(clBtnFace);
  picture.Canvas()->FillRect(TRect(0, 0, size.X, size.Y));
  view.SetBackgroundColor(clBtnFace);
  view.DrawSubitems(picture.Canvas());
  ExpectSameAsToolbarGolden(picture, "toolbar.png");
}

TEST_F(TGolden, VerticalToolbarTurnsItsCaptions) {
  auto images = MakeImages();
  TTBRootItem root(nullptr);
  auto* a = new TTBItem(nullptr);
  a->SetImages(images.get());
  a->SetImageIndex(0);
  root.Add(a);
  auto* b = new TTBItem(nullptr);
  b->SetCaption("&Refine");
  root.Add(b);
  auto* c = new TTBItem(nullptr);
  c->SetCaption("Upright");
  c->SetOptions({tboNoRotation});
  root.Add(c);
  TTBView view(nullptr, nullptr, &root, nullptr, true, false, true);
  view.SetOrientation(tbvoVertical);
  TPoint size = view.UpdatePositions();
  // A turned caption is as wide as a line of text and as tall as the text is long.
  EXPECT_GT(view.Viewers(1)->BoundsRect.Height(), view.Viewers(1)->BoundsRect.Width());
  TBitmap picture(size.X, size.Y, pf32bit);
  picture.Canvas()->Brush()->SetColor(clBtnFace);
  picture.Canvas()->FillRect(TRect(0, 0, size.X, size.Y));
  view.SetBackgroundColor(clBtnFace);
  view.DrawSubitems(picture.Canvas());
  ExpectSameAsToolbarGolden(picture, "toolbar_vertical.png");
}

}  // namespace
