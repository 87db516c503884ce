// List boxes and check list boxes driven by clicks, keys and the wheel: the
// order of the selection and the mouse events, the selection modes, owner
// drawing with fixed and variable heights, scrolling, check boxes, and
// dragging items to another list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct ListFixture : ::testing::Test {
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 420, 320);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  template <class T = TListBox>
  T* MakeList(int n, int left = 10) {
    auto* lb = new T(Form);
    lb->SetParent(Form);
    lb->SetBounds(left, 10, 150, 120);
    for (int i = 0; i < n; ++i) lb->Items()->Add("Item " + std::to_string(i));
    return lb;
  }
  // The centre of an item, in client coordinates.
  static TPoint At(TCustomListBox* lb, int i) {
    const TRect r = lb->ItemRect(i);
    return Point(r.Left + 40, (r.Top + r.Bottom) / 2);
  }
  void ClickItem(TCustomListBox* lb, int i, TShiftState shift = {}) {
    const TPoint p = At(lb, i);
    MouseDown(lb, mbLeft, p.X, p.Y, shift);
    MouseUp(lb, mbLeft, p.X, p.Y, shift);
  }
};

std::vector<int> SelectedItems(TCustomListBox* lb) {
  std::vector<int> v;
  for (int i = 0; i < lb->Count(); ++i)
    if (lb->Selected(i)) v.push_back(i);
  return v;
}

}  // namespace

TEST_F(ListFixture, ClickSelectsBeforeMouseDownAndFiresClickBeforeMouseUp) {
  TListBox* lb = MakeList(5);
  lb->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    Log.push_back("down " + std::to_string(lb->ItemIndex()));
  };
  lb->OnClick = [&](TObject*) { Log.push_back("click " + std::to_string(lb->ItemIndex())); };
  lb->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("up"); };
  lb->OnDblClick = [&](TObject*) { Log.push_back("dbl " + std::to_string(lb->ItemIndex())); };
  Form->Show();
  EXPECT_EQ(lb->ItemIndex(), -1);
  ClickItem(lb, 2);
  EXPECT_EQ(Log, (std::vector<std::string>{"down 2", "click 2", "up"}));
  ProcessEvents();
  EXPECT_TRUE(lb->Focused()) << "a click focuses the list";
  Log.clear();
  ClickItem(lb, 2);  // the same item again still clicks
  const TPoint p = At(lb, 3);
  DblClick(lb, p.X, p.Y);
  EXPECT_EQ(Log, (std::vector<std::string>{"down 2", "click 2", "up", "down 3", "click 3", "up", "dbl 3", "down 3",
                                           "click 3", "up"}));
  // Below the last item the press goes to the last item.
  Log.clear();
  MouseDown(lb, mbLeft, 20, 110);
  MouseUp(lb, mbLeft, 20, 110);
  EXPECT_EQ(lb->ItemIndex(), 4);

  // The keys move the selection and fire OnClick; code fires nothing.
  Log.clear();
  Key(lb, VK_UP);
  Key(lb, VK_HOME);
  Key(lb, VK_HOME);  // no move, still a click: the selection was made again
  EXPECT_EQ(Log, (std::vector<std::string>{"click 3", "click 0", "click 0"}));
  Log.clear();
  lb->SetItemIndex(4);
  lb->SetSelected(1, true);
  lb->Items()->Add("Item 5");
  lb->Items()->Delete(0);
  lb->SetTopIndex(1);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(lb->ItemIndex(), 0) << "the selected item moved up with the delete";
  lb->Items()->Delete(0);
  EXPECT_EQ(lb->ItemIndex(), -1) << "deleting the selected item leaves none";
  EXPECT_EQ(lb->SelCount(), -1) << "single-select mode";
  EXPECT_THROW(lb->Selected(99), EListError);
  // Type-ahead goes to the next item starting with the character.
  lb->Items()->Add("Zero");
  Key(lb, 'Z', "z");
  EXPECT_EQ(lb->Items()->Get(lb->ItemIndex()), "Zero");
}

TEST_F(ListFixture, MultiAndExtendedSelection) {
  TListBox* lb = MakeList(6);
  lb->SetMultiSelect(true);
  Form->Show();
  struct TStep {
    int Item;
    TShiftState Shift;
    std::vector<int> Selected;
  };
  // Extended: a click selects one, Ctrl toggles, Shift makes a range from
  // the last plain or Ctrl click, Ctrl+Shift adds a range.
  const TStep extended[] = {{1, {}, {1}},
                            {3, {ssCtrl}, {1, 3}},
                            {5, {ssShift}, {3, 4, 5}},
                            {1, {ssCtrl}, {1, 3, 4, 5}},
                            {1, {ssCtrl}, {3, 4, 5}},
                            {0, {ssShift, ssCtrl}, {0, 1, 3, 4, 5}},
                            {2, {}, {2}}};
  for (const TStep& s : extended) {
    ClickItem(lb, s.Item, s.Shift);
    EXPECT_EQ(SelectedItems(lb), s.Selected) << "click on " << s.Item;
    EXPECT_EQ(lb->ItemIndex(), s.Item);
  }
  EXPECT_EQ(lb->SelCount(), 1);
  Key(lb, VK_DOWN, "", {ssShift});
  EXPECT_EQ(SelectedItems(lb), (std::vector<int>{2, 3}));

  // Plain multi-select: clicks toggle; arrows move the focus only, Space toggles.
  lb->SetExtendedSelect(false);
  lb->ClearSelection();
  ClickItem(lb, 0);
  ClickItem(lb, 4);
  ClickItem(lb, 0);
  EXPECT_EQ(SelectedItems(lb), (std::vector<int>{4}));
  Key(lb, VK_DOWN);
  EXPECT_EQ(lb->ItemIndex(), 1);
  Key(lb, VK_SPACE, " ");
  EXPECT_EQ(SelectedItems(lb), (std::vector<int>{1, 4}));
  lb->SelectAll();
  EXPECT_EQ(lb->SelCount(), 6);

  // Code moves the focused item of a multi-select list without selecting.
  lb->ClearSelection();
  lb->SetItemIndex(3);
  EXPECT_EQ(lb->SelCount(), 0);
  // Switching modes keeps the item index; single-select then selects it.
  lb->SetSelected(5, true);
  lb->SetMultiSelect(false);
  EXPECT_EQ(lb->ItemIndex(), 3);
  EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3}));
  lb->SetMultiSelect(true);
  EXPECT_EQ(lb->SelCount(), 0);
  lb->SetMultiSelect(false);
  lb->SelectAll();  // only in multi-select mode
  EXPECT_EQ(SelectedItems(lb), (std::vector<int>{3}));
}

TEST_F(ListFixture, OwnerDrawnItemsGetTheirRectangleStateAndAPreparedCanvas) {
  TListBox* lb = MakeList(0);
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(24);
  int objectA = 1, objectB = 2;
  lb->Items()->AddObject("Series1", reinterpret_cast<TObject*>(&objectA));
  lb->Items()->AddObject("Series2", reinterpret_cast<TObject*>(&objectB));
  struct TDrawn {
    int Index;
    TRect Rect;
    bool Selected, Focused;
    TColor Brush;
  };
  std::vector<TDrawn> drawn;
  lb->OnDrawItem = [&](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
    EXPECT_EQ(c, lb);
    drawn.push_back({i, r, s.Contains(odSelected), s.Contains(odFocused), lb->Canvas()->Brush()->Color()});
    // Draws only the left half: the rest stays as the list painted it.
    lb->Canvas()->Brush()->SetColor(clRed);
    lb->Canvas()->FillRect(Rect(r.Left, r.Top, r.Left + 20, r.Bottom));
  };
  Form->Show();
  lb->SetItemIndex(1);
  lb->SetFocus();
  ProcessEvents();
  drawn.clear();
  lb->Repaint();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].Rect, Rect(0, 0, lb->ClientWidth(), 24));
  EXPECT_EQ(drawn[1].Rect, Rect(0, 24, lb->ClientWidth(), 48));
  EXPECT_FALSE(drawn[0].Selected);
  EXPECT_TRUE(drawn[1].Selected && drawn[1].Focused);
  EXPECT_EQ(drawn[0].Brush, lb->Color());
  EXPECT_EQ(drawn[1].Brush, clHighlight);
  EXPECT_EQ(ColorToRGB(SurfacePixel(lb, 5, 30)), ColorToRGB(clRed));
  EXPECT_EQ(lb->Items()->Objects(1), reinterpret_cast<TObject*>(&objectB));
  // Hit tests follow the item height.
  EXPECT_EQ(lb->ItemAtPos(Point(5, 30), true), 1);
  EXPECT_EQ(lb->ItemAtPos(Point(5, 60), true), -1);
  EXPECT_EQ(lb->ItemAtPos(Point(5, 60), false), 2);
  EXPECT_EQ(lb->ItemAtPos(Point(-5, 5), false), -1);
  EXPECT_EQ(lb->ItemRect(2), Rect(0, 48, lb->ClientWidth(), 72)) << "the place after the last item";
  EXPECT_EQ(lb->ItemRect(3), TRect{});

  // Variable heights come from OnMeasureItem as items are added.
  lb->SetStyle(lbOwnerDrawVariable);
  lb->OnMeasureItem = [](TWinControl*, int i, int& h) { h = 10 + 10 * i; };
  lb->Items()->Clear();
  for (int i = 0; i < 3; ++i) lb->Items()->Add("x");
  EXPECT_EQ(lb->ItemRect(2), Rect(0, 30, lb->ClientWidth(), 60));
  EXPECT_EQ(lb->ItemAtPos(Point(5, 29), true), 1);
}

TEST_F(ListFixture, ScrollingFollowsTheCurrentItemTheWheelAndTheBar) {
  TListBox* lb = MakeList(30);
  lb->SetStyle(lbOwnerDrawFixed);
  lb->SetItemHeight(20);
  Form->Show();
  // 120 high with a 2-pixel frame: 116 pixels, five whole items.
  EXPECT_EQ(lb->ClientHeight(), 116);
  EXPECT_EQ(lb->ClientWidth(), 150 - 4 - GetSystemMetrics(SM_CXVSCROLL)) << "the bar takes its width";
  EXPECT_EQ(lb->ItemAtPos(Point(5, 5), true), 0);
  lb->SetFocus();
  ProcessEvents();
  lb->SetItemIndex(0);
  for (int i = 0; i < 7; ++i) Key(lb, VK_DOWN);
  EXPECT_EQ(lb->ItemIndex(), 7);
  EXPECT_EQ(lb->TopIndex(), 3) << "the current item is scrolled into view";
  Key(lb, VK_END);
  EXPECT_EQ(lb->TopIndex(), 25);
  Wheel(lb, 2, 20, 20);  // two notches up: six items
  EXPECT_EQ(lb->TopIndex(), 19);
  lb->SetTopIndex(100);
  EXPECT_EQ(lb->TopIndex(), 25) << "never past the last page";
  EXPECT_EQ(lb->ItemRect(25).Top, 0);
  EXPECT_EQ(lb->ItemAtPos(Point(5, 5), true), 25);
  // A list that fits shows no bar.
  lb->Items()->Clear();
  lb->Items()->Add("one");
  EXPECT_EQ(lb->TopIndex(), 0);
  EXPECT_EQ(lb->ClientWidth(), 146);
}

TEST_F(ListFixture, SortedListsPutAddedItemsInOrder) {
  TListBox* lb = MakeList(0);
  lb->Items()->Add("beta");
  lb->Items()->Add("Alpha");
  lb->SetItemIndex(0);
  lb->SetSorted(true);
  EXPECT_EQ(lb->Items()->Get(0), "Alpha");
  EXPECT_EQ(lb->Items()->Get(lb->ItemIndex()), "beta") << "the selection follows its item";
  lb->Items()->Add("Gamma");
  lb->Items()->Add("alpha");
  EXPECT_EQ(lb->Items()->Text(), "Alpha\nalpha\nbeta\nGamma\n");
}

TEST_F(ListFixture, CheckListBoxTogglesOnTheCheckBoxAndWithSpace) {
  auto* cl = MakeList<TCheckListBox>(3);
  int checks = 0, clicks = 0;
  cl->OnClickCheck = [&](TObject*) { ++checks; };
  cl->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  auto clickAt = [&](int i, int x) {
    const TRect r = cl->ItemRect(i);
    Click(cl, x, (r.Top + r.Bottom) / 2);
  };
  clickAt(0, 60);  // on the text: selects only
  EXPECT_FALSE(cl->Checked(0));
  EXPECT_EQ(checks, 0);
  clickAt(0, 5);  // on the check box
  EXPECT_TRUE(cl->Checked(0));
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(clicks, 2);
  Key(cl, VK_SPACE, " ");
  EXPECT_EQ(cl->State(0), cbUnchecked);
  EXPECT_EQ(checks, 2);

  // With AllowGrayed a click goes unchecked, grayed, checked, unchecked.
  cl->SetAllowGrayed(true);
  std::vector<TCheckBoxState> seen;
  for (int k = 0; k < 3; ++k) {
    clickAt(1, 5);
    seen.push_back(cl->State(1));
  }
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));

  // Code sets states without events; a disabled item keeps its state.
  checks = 0;
  cl->SetState(2, cbGrayed);
  cl->SetChecked(1, true);
  cl->SetItemEnabled(2, false);
  clickAt(2, 5);
  EXPECT_EQ(cl->State(2), cbGrayed);
  EXPECT_EQ(checks, 0);
  // The check state moves with its item.
  cl->Items()->Delete(0);
  EXPECT_TRUE(cl->Checked(0));
  EXPECT_FALSE(cl->ItemEnabled(1));
  // The text is drawn right of the check box.
  EXPECT_EQ(cl->ItemRect(0).Left, 0);
}

TEST_F(ListFixture, ItemsDragFromOneListToAnother) {
  TListBox* source = MakeList(4);
  TListBox* target = MakeList(0, 200);
  source->SetDragMode(dmAutomatic);
  target->OnDragOver = [&](TObject*, TObject* s, int, int, TDragState, bool& accept) {
    accept = dynamic_cast<TListBox*>(s) != nullptr && s != target;
  };
  int dropIndex = -2;
  target->OnDragDrop = [&](TObject*, TObject* s, int x, int y) {
    auto* from = static_cast<TListBox*>(s);
    dropIndex = target->ItemAtPos(Point(x, y), false);
    target->Items()->Add(from->Items()->Get(from->ItemIndex()));
  };
  int clicks = 0;
  source->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  const TPoint p = At(source, 2);
  MouseDown(source, mbLeft, p.X, p.Y);
  MouseMove(source, p.X + 2, p.Y);  // within the threshold: not yet a drag
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(source->ItemIndex(), 2);
  MouseMove(target, 30, 30);
  EXPECT_TRUE(source->Dragging());
  MouseUp(target, mbLeft, 30, 30);
  EXPECT_EQ(target->Items()->Text(), "Item 2\n");
  EXPECT_EQ(dropIndex, 0);
  EXPECT_EQ(clicks, 0) << "a drag is no click";
  EXPECT_EQ(source->ItemIndex(), 2) << "the selection did not follow the drag";

  // A drag begun from OnMouseDown waits for the threshold from the press.
  source->SetDragMode(dmManual);
  source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false); };
  const TPoint q = At(source, 1);
  MouseDown(source, mbLeft, q.X, q.Y);
  MouseMove(source, q.X + 4, q.Y);
  EXPECT_FALSE(source->Dragging());
  MouseMove(source, q.X + 6, q.Y);
  EXPECT_TRUE(source->Dragging());
  MouseMove(target, 30, 30);
  MouseUp(target, mbLeft, 30, 30);
  EXPECT_EQ(target->Items()->Text(), "Item 2\nItem 1\n");
}
