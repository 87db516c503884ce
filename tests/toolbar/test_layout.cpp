// Viewers and views without windows: sizes, visibility, chevron hiding,
// wrapping, popup scrolling, and the viewer list following the item tree.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbview.h"

namespace {

// A view with a chevron item at its end, as toolbars have.
class TChevronView : public TTBView {
public:
  TChevronView(TTBCustomItem* root, TTBCustomItem* chevron)
      : TTBView(nullptr, nullptr, root, nullptr, true, false, true), FChevron(chevron) {}
  void Start() {
    // The chevron is queried while the viewers are made.
    SetUsePriorityList(false);
    SetUsePriorityList(true);
  }
  TTBCustomItem* QueryChevronItem() override { return FChevron; }

private:
  TTBCustomItem* FChevron;
};

struct TLayout : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::unique_ptr<TImageList> Images = std::make_unique<TImageList>(nullptr);

  void SetUp() override {
    TBitmap strip(16 * 4, 16);
    Images->Add(&strip, nullptr);
  }
  TTBItem* Button(int image = 0, const std::string& caption = "") {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(caption);
    i->SetImageIndex(image);
    i->SetImages(Images.get());
    Root->Add(i);
    return i;
  }
  TTBSeparatorItem* Separator() {
    auto* s = new TTBSeparatorItem(nullptr);
    Root->Add(s);
    return s;
  }
  std::unique_ptr<TTBView> Toolbar() {
    return std::make_unique<TTBView>(nullptr, nullptr, Root.get(), nullptr, true, false, true);
  }
  std::unique_ptr<TTBView> Popup() {
    return std::make_unique<TTBView>(nullptr, nullptr, Root.get(), nullptr, false, false, false);
  }
  // The width of a text on the views' font.
  static int TextWidth(const std::string& s) {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(ToolbarMenuFont());
    return b.Canvas()->TextWidth(s);
  }
  static TTextMetric Metrics() {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(ToolbarMenuFont());
    TTextMetric tm;
    b.Canvas()->GetTextMetrics(tm);
    return tm;
  }
};

TEST_F(TLayout, EmptyToolbarIs23By22) {
  auto v = Toolbar();
  TPoint size = v->UpdatePositions();
  EXPECT_EQ(v->BaseSize(), TPoint(23, 22));
  EXPECT_EQ(size, TPoint(23, 22));
}

TEST_F(TLayout, ImageButtonSizes) {
  auto* b = Button();
  auto v = Toolbar();
  v->UpdatePositions();
  EXPECT_EQ(v->Viewers(0)->BoundsRect, TRect(0, 0, 23, 22));

  // Image and caption side by side when asked.
  b->SetCaption("Go");
  b->SetDisplayMode(nbdmImageAndText);
  v->UpdatePositions();
  int tw = TextWidth("Go");
  int th = Metrics().tmHeight;
  EXPECT_EQ(v->Viewers(0)->BoundsRect.Width(), 6 + tw + 6 + 16 + 1);
  EXPECT_EQ(v->Viewers(0)->BoundsRect.Height(), std::max(6 + th, 22));

  // Image above the caption: an empty caption still reserves its line.
  b->SetCaption("");
  b->SetOptions({tboImageAboveCaption});
  v->UpdatePositions();
  EXPECT_EQ(v->Viewers(0)->BoundsRect.Height(), 6 + th + 16);
  EXPECT_EQ(v->Viewers(0)->BoundsRect.Width(), std::max(6, 16 + 7));
}

TEST_F(TLayout, SeparatorsAtTheEdgesAndInRunsAreHidden) {
  Separator();
  Button();
  Separator();
  Separator();
  Button();
  Separator();
  auto v = Toolbar();
  v->UpdatePositions();
  std::vector<bool> shown;
  for (int i = 0; i < v->ViewerCount(); ++i) shown.push_back(v->Viewers(i)->Show);
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false, true, false}));
  // 23 + 6 + 23, the separator stretched to the line's height.
  EXPECT_EQ(v->Viewers(2)->BoundsRect, TRect(23, 0, 29, 22));
  EXPECT_EQ(v->Viewers(4)->BoundsRect.Left, 29);
}

TEST_F(TLayout, ChevronHidesLowestPriorityFirstAndKeepsTheLastItem) {
  TTBItem chevron(nullptr);
  chevron.SetItemStyle(0x0041);
  std::vector<TTBItem*> b;
  for (int i = 0; i < 4; ++i) b.push_back(Button(i));
  TChevronView v(Root.get(), &chevron);
  v.Start();
  ASSERT_EQ(v.ViewerCount(), 5);
  // Give the first button the least priority: it goes first.
  v.GivePriority(v.Viewers(3));
  v.GivePriority(v.Viewers(2));
  v.GivePriority(v.Viewers(1));
  v.SetChevronSize(13);
  v.SetChevronOffset(13 + 2 * 23 + 5);  // room for two buttons
  v.InvalidatePositions();
  v.UpdatePositions();
  EXPECT_FALSE(v.Viewers(0)->Show);
  EXPECT_TRUE(v.Viewers(0)->OffEdge);
  EXPECT_FALSE(v.Viewers(3)->Show);  // the lowest after the first
  EXPECT_TRUE(v.Viewers(1)->Show);
  EXPECT_TRUE(v.Viewers(2)->Show);
  EXPECT_TRUE(chevron.Enabled());
  EXPECT_TRUE(v.Viewers(4)->Show);  // the chevron itself
  EXPECT_EQ(v.Viewers(4)->BoundsRect.Width(), 13);

  // Far too short: one item always stays.
  v.SetChevronOffset(14);
  v.InvalidatePositions();
  v.UpdatePositions();
  int shown = 0;
  for (int i = 0; i < 4; ++i) shown += v.Viewers(i)->Show;
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(v.Viewers(1)->Show);  // the highest priority

  // Long enough: nothing hidden.
  v.SetChevronOffset(200);
  v.InvalidatePositions();
  v.UpdatePositions();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(v.Viewers(i)->Show);
}

TEST_F(TLayout, WrapAtASeparatorMakesASixPixelLine) {
  Button();
  Button();
  Separator();
  Button();
  auto v = Toolbar();
  v->SetWrapOffset(50);  // two buttons wide
  v->UpdatePositions();
  TTBItemViewer* sep = v->Viewers(2);
  EXPECT_TRUE(sep->Show);
  EXPECT_TRUE(sep->State & tbisLineSep);
  EXPECT_EQ(sep->BoundsRect.Height(), 6);
  EXPECT_EQ(sep->BoundsRect.Top, 22);
  EXPECT_EQ(sep->BoundsRect.Width(), 50);  // across the whole toolbar
  EXPECT_EQ(v->Viewers(3)->BoundsRect, TRect(0, 28, 23, 50));
}

TEST_F(TLayout, FloatingWrapOneButtonPerLineAtTheLeftMargin) {
  Button();
  Button();
  Button();
  auto v = Toolbar();
  v->SetOrientation(tbvoFloating);
  v->SetWrapOffset(30);
  TPoint size = v->UpdatePositions();
  EXPECT_EQ(v->Viewers(0)->BoundsRect, TRect(4, 2, 27, 24));
  EXPECT_EQ(v->Viewers(1)->BoundsRect, TRect(4, 24, 27, 46));
  EXPECT_EQ(v->Viewers(2)->BoundsRect, TRect(4, 46, 27, 68));
  EXPECT_EQ(size, TPoint(27 + 4, 68 + 1));
}

TEST_F(TLayout, MenuColumnItemsGetTheWidestWidth) {
  auto* a = new TTBItem(nullptr);
  a->SetCaption("Open");
  auto* b = new TTBItem(nullptr);
  b->SetCaption("Save everything &as");
  b->SetShortCut(ShortCut('S', {ssCtrl}));
  Root->Add(a);
  Root->Add(b);
  auto v = Popup();
  v->UpdatePositions();
  const TRect& ra = v->Viewers(0)->BoundsRect;
  const TRect& rb = v->Viewers(1)->BoundsRect;
  int h = Metrics().tmHeight + Metrics().tmExternalLeading + 4;
  int expected = TextWidth("Save everything as") + h + 6 + TextWidth("Ctrl+S") + h - 6 + h;
  EXPECT_EQ(rb.Width(), expected);
  EXPECT_EQ(ra.Width(), expected);
  EXPECT_EQ(ra.Height(), h);
  EXPECT_EQ(rb.Top, h);
}

TEST_F(TLayout, ToolbarSizeItemsInAMenuFormARowAbove) {
  for (int i = 0; i < 2; ++i) {
    auto* t = new TTBItem(nullptr);
    t->SetImages(Images.get());
    t->SetImageIndex(i);
    t->SetOptions({tboToolbarStyle, tboToolbarSize});
    Root->Add(t);
  }
  auto* m = new TTBItem(nullptr);
  m->SetCaption("Menu item");
  Root->Add(m);
  auto v = Popup();
  v->UpdatePositions();
  EXPECT_EQ(v->Viewers(0)->BoundsRect, TRect(0, 0, 23, 22));
  EXPECT_EQ(v->Viewers(1)->BoundsRect, TRect(23, 0, 46, 22));
  EXPECT_EQ(v->Viewers(2)->BoundsRect.Top, 22);
  EXPECT_EQ(v->Viewers(2)->BoundsRect.Left, 0);
}

TEST_F(TLayout, TallPopupScrollsAndClipsItsItems) {
  for (int i = 0; i < 20; ++i) {
    auto* it = new TTBItem(nullptr);
    it->SetCaption("Item " + std::to_string(i));
    Root->Add(it);
  }
  auto v = Popup();
  v->UpdatePositions();
  int h = v->Viewers(0)->BoundsRect.Height();
  v->SetMaxHeight(100);
  v->InvalidatePositions();
  TPoint size = v->UpdatePositions();
  EXPECT_EQ(size.Y, 100);
  EXPECT_FALSE(v->ShowUpArrow());
  EXPECT_TRUE(v->ShowDownArrow());
  for (int i = 0; i < v->ViewerCount(); ++i) {
    TTBItemViewer* it = v->Viewers(i);
    if (it->Show) {
      EXPECT_LE(it->BoundsRect.Bottom, 100 - 19) << i;
    } else {
      EXPECT_TRUE(it->Clipped) << i;
    }
  }
  v->SetScrollOffset(3 * h);
  v->InvalidatePositions();
  v->UpdatePositions();
  EXPECT_TRUE(v->ShowUpArrow());
  EXPECT_FALSE(v->Viewers(0)->Show);
  for (int i = 0; i < v->ViewerCount(); ++i)
    if (v->Viewers(i)->Show) {
      EXPECT_GE(v->Viewers(i)->BoundsRect.Top, 19);
    }
  v->SetScrollOffset(100000);  // clamped to the end
  v->InvalidatePositions();
  v->UpdatePositions();
  EXPECT_FALSE(v->ShowDownArrow());
  EXPECT_TRUE(v->Viewers(19)->Show);
}

TEST_F(TLayout, ViewersFollowTheItemTreeIncludingEmbeddedGroups) {
  auto* group = new TTBCustomItem(nullptr);
  group->SetItemStyle(group->ItemStyle() | tbisEmbeddedGroup);
  auto* a = new TTBItem(nullptr);
  a->SetCaption("a");
  group->Add(a);
  Root->Add(group);
  auto v = Popup();
  ASSERT_EQ(v->ViewerCount(), 2);  // the group's hidden viewer and a
  EXPECT_EQ(v->Viewers(1)->GroupLevel, 1);

  auto* b = new TTBItem(nullptr);
  b->SetCaption("b");
  group->Add(b);
  ASSERT_EQ(v->ViewerCount(), 3);
  EXPECT_EQ(v->Viewers(2)->Item, b);
  auto* first = new TTBItem(nullptr);
  group->Insert(0, first);
  EXPECT_EQ(v->Viewers(1)->Item, first);

  delete group;  // its viewer and all of its children's
  EXPECT_EQ(v->ViewerCount(), 0);
}

TEST_F(TLayout, LinkedContainerInsertsOneViewerPerOccurrence) {
  TTBSubmenuItem source(nullptr);
  auto* sub = new TTBSubmenuItem(nullptr);
  Root->Add(sub);
  sub->SetLinkSubitems(&source);
  TTBView v(nullptr, nullptr, sub, nullptr, false, false, false);
  EXPECT_EQ(v.RootItem(), &source);
  auto* x = new TTBItem(nullptr);
  source.Add(x);
  ASSERT_EQ(v.ViewerCount(), 1);
  EXPECT_EQ(v.Viewers(0)->Item, x);
  sub->SetLinkSubitems(nullptr);
  EXPECT_EQ(v.ViewerCount(), 0);
}

TEST_F(TLayout, HintTexts) {
  struct TCase {
    const char* Caption;
    const char* Hint;
    TTBItemOptions Options;
    const char* Expected;
  };
  const TCase cases[] = {
      {"&Open...", "", {}, "Open"},
      {"Name:\tCtrl+N", "", {}, "Name"},
      {"&Save", "Save the model|Writes the input file", {}, "Save the model"},
      {"&Save", "", {tboNoAutoHint}, ""},
  };
  for (const auto& c : cases) {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(c.Caption);
    i->SetHint(c.Hint);
    i->SetOptions(c.Options);
    Root->Add(i);
  }
  auto v = Toolbar();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(v->Viewers(i)->GetHintText(), cases[i].Expected) << cases[i].Caption;
}

TEST_F(TLayout, ExecutingGivesPriorityAndEndsTheLoopWithAClick) {
  Button(0);
  Button(1);
  auto v = Toolbar();
  v->Viewers(1)->Execute(true);
  EXPECT_EQ(v->PriorityList()->front(), v->Viewers(1));
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaClickItem);
  EXPECT_EQ(v->DoneActionData().ClickItem, Root->Items(1));
  EXPECT_FALSE(v->DoneActionData().Sound);  // a toolbar, not a popup
}

TEST_F(TLayout, AViewWithoutAPopupWindowStartsNoTimers) {
  Button();
  auto v = Popup();
  v->StartTimer(tiOpen, 400);
  EXPECT_FALSE(v->TimerActive(tiOpen));
}

}  // namespace
