// Keyboard navigation, accelerators and scrolling of a view, without windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/messages.h"
#include "toolbar/tbview.h"

namespace {

struct TViewInput : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  TTBCustomItem* Add(const std::string& caption, bool enabled = true) {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(caption);
    i->SetEnabled(enabled);
    Root->Add(i);
    return i;
  }
  std::unique_ptr<TTBView> Popup() {
    auto v = std::make_unique<TTBView>(nullptr, nullptr, Root.get(), nullptr, false, false, false);
    v->SetState(v->State() | vsModal);
    return v;
  }
};

TEST_F(TViewInput, AcceleratorsUniqueSharedAndFirstLetters) {
  Add("&Open");
  Add("&Options");
  Add("&Save");
  Add("Print");
  Add("&Delete", false);
  Add("E&xit");
  auto v = Popup();
  bool unique = false;
  struct TCase {
    char Key;
    bool AccelOnly;
    int Expected;  // viewer index, -1 none
    bool Unique;
  };
  const TCase cases[] = {
      {'s', false, 2, true},   {'S', false, 2, true},  {'o', false, 0, false}, {'p', false, 3, true},
      {'p', true, -1, false},  {'d', false, 4, true},  {'x', false, 5, true},  {'e', false, -1, false},
      {' ', false, -1, false},
  };
  for (const auto& c : cases) {
    TTBItemViewer* found = v->FindAccelerator(nullptr, c.Key, unique, c.AccelOnly);
    EXPECT_EQ(v->IndexOf(found), c.Expected) << c.Key;
    if (found) {
      EXPECT_EQ(unique, c.Unique) << c.Key;
    }
  }
  // A shared accelerator moves on from the selection.
  TTBItemViewer* second = v->FindAccelerator(v->Viewers(0), 'o', unique, false);
  EXPECT_EQ(second, v->Viewers(1));
}

TEST_F(TViewInput, NavigationKeysWrapAndSkipHiddenItems) {
  Add("A");
  Add("B")->SetVisible(false);
  auto* sep = new TTBSeparatorItem(nullptr);
  Root->Add(sep);
  Add("C", false);  // disabled items can be selected
  auto v = Popup();
  uint16_t key = VK_DOWN;
  v->KeyDown(key, {});
  EXPECT_EQ(key, 0);
  EXPECT_EQ(v->Selected(), v->Viewers(0));
  key = VK_DOWN;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(3));
  key = VK_DOWN;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(0));
  key = VK_UP;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(3));
  key = VK_HOME;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(0));
  key = 'Q';
  v->KeyDown(key, {});
  EXPECT_EQ(key, 'Q');  // not a navigation key
  key = VK_ESCAPE;
  v->KeyDown(key, {});
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaCancel);
}

TEST_F(TViewInput, HomeSelectsTheFirstItemButFirstSelectableSkipsMarkedOnes) {
  auto* a = Add("A");
  a->SetItemStyle(a->ItemStyle() | tbisDontSelectFirst);
  Add("B");
  auto v = Popup();
  EXPECT_EQ(v->FirstSelectable(), v->Viewers(1));
  uint16_t key = VK_HOME;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(0));
}

TEST_F(TViewInput, EnterExecutesTheSelectionAndF1AsksForHelp) {
  Add("A")->SetHelpContext(77);
  auto v = Popup();
  v->SetSelected(v->Viewers(0));
  uint16_t key = VK_F1;
  v->KeyDown(key, {});
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaHelpContext);
  EXPECT_EQ(v->DoneActionData().ContextID, 77);
  key = VK_RETURN;
  v->KeyDown(key, {});
  EXPECT_EQ(v->DoneActionData().DoneAction, tbdaClickItem);
  EXPECT_TRUE(v->DoneActionData().Sound);  // chosen in a popup
}

TEST_F(TViewInput, ScrollingBringsClippedItemsIn) {
  for (int i = 0; i < 12; ++i) Add("Item " + std::to_string(i));
  auto v = Popup();
  v->SetMaxHeight(100);
  v->UpdatePositions();
  ASSERT_TRUE(v->ShowDownArrow());
  int firstHidden = -1;
  for (int i = 0; i < v->ViewerCount(); ++i)
    if (v->Viewers(i)->Clipped) {
      firstHidden = i;
      break;
    }
  ASSERT_GT(firstHidden, 0);
  v->Scroll(true);
  EXPECT_TRUE(v->Viewers(firstHidden)->Show);
  EXPECT_EQ(v->Viewers(firstHidden)->BoundsRect.Bottom, 100 - 19);
  // End selects the last item and scrolls it into view.
  uint16_t key = VK_END;
  v->KeyDown(key, {});
  EXPECT_EQ(v->Selected(), v->Viewers(11));
  EXPECT_TRUE(v->Viewers(11)->Show);
  EXPECT_FALSE(v->ShowDownArrow());
}

}  // namespace
