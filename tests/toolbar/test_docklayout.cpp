// The dock row layout over plain windows with fixed sizes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolbar/tbdocklayout.h"

namespace {

class TFakeWindow : public TTBRowLayoutWindow {
 public:
  TFakeWindow(std::string N, int Row, int Pos, int Len, int Cross = 20) : Name(std::move(N)), Len(Len), Cross(Cross) {
    DockRow = Row;
    DockPos = Pos;
  }
  std::string Name;
  int Len, Cross;
  bool Visible = true;
  TTBShrinkMode Mode = tbsmNone;
  int MinLen = 0;
  TRect Placed{};
  bool WasResized = false;
  int PlaceCount = 0;
  bool Vertical = false;

  bool IsVisibleChild() const override { return Visible; }
  TPoint BaseSize() override { return Vertical ? TPoint{Cross, Len} : TPoint{Len, Cross}; }
  TPoint DockedNCSize() override { return {0, 0}; }
  TTBShrinkMode ShrinkMode() override { return Mode; }
  int MinimumLength() override { return MinLen; }
  TPoint SizeForShrunkLength(int L, bool V) override {
    // A shrunk window gets one pixel thicker, so the test sees it was asked.
    return V ? TPoint{Cross + 1, L} : TPoint{L, Cross + 1};
  }
  void PlaceInDock(const TRect& R, bool Resized) override {
    Placed = R;
    WasResized = Resized;
    ++PlaceCount;
  }
};

struct TFixture {
  TTBRowLayoutDock Dock;
  std::vector<std::unique_ptr<TFakeWindow>> Owned;
  std::vector<TTBRowLayoutWindow*> List, Visible;
  explicit TFixture(int Width = 200, TTBDockPosition P = dpTop) {
    Dock.Position = P;
    Dock.Align = P == dpTop ? alTop : P == dpBottom ? alBottom : P == dpLeft ? alLeft : alRight;
    Dock.Bounds = IsVerticalDockPosition(P) ? Rect(0, 0, 30, Width) : Rect(0, 0, Width, 30);
  }
  TFakeWindow* Add(const std::string& N, int Row, int Pos, int Len, int Cross = 20) {
    Owned.push_back(std::make_unique<TFakeWindow>(N, Row, Pos, Len, Cross));
    Owned.back()->Vertical = IsVerticalDockPosition(Dock.Position);
    List.push_back(Owned.back().get());
    Visible.push_back(Owned.back().get());
    return Owned.back().get();
  }
  TTBRowLayoutResult Run() { return ArrangeDockRows(Dock, List, Visible); }
};

TEST(DockRowLayout, NegativeAndZeroPositionsPackInSortedOrder) {
  TFixture F;
  auto* B = F.Add("B", 0, 0, 30);
  auto* A = F.Add("A", 0, -1, 50);
  auto R = F.Run();
  EXPECT_EQ(A->Placed, Rect(0, 0, 50, 24));
  EXPECT_EQ(B->Placed, Rect(50, 0, 80, 24));
  EXPECT_EQ(A->ComputedPos, 0);
  EXPECT_EQ(B->ComputedPos, 50);
  EXPECT_EQ(R.NewBounds, Rect(0, 0, 200, 24));  // row cross size plus the 2-pixel frame on each side
}

TEST(DockRowLayout, WrapsButNeverTheFirstWindowOfARow) {
  {
    TFixture F(100);
    auto* A = F.Add("A", 0, 0, 40);
    auto* B = F.Add("B", 0, 40, 40);
    auto* C = F.Add("C", 0, 80, 40);
    auto* D = F.Add("D", 1, 0, 40, 10);
    auto R = F.Run();
    EXPECT_EQ(A->ComputedRow, 0);
    EXPECT_EQ(B->ComputedRow, 0);
    EXPECT_EQ(C->ComputedRow, 1);  // the first that does not fit starts a row below
    EXPECT_EQ(C->ComputedPos, 60);  // keeps its wanted position, pulled back inside the dock
    EXPECT_EQ(D->ComputedRow, 2);  // later rows move down by one
    EXPECT_EQ(D->Placed, Rect(0, 48, 40, 62));
    EXPECT_EQ(R.NewBounds.Height(), 62);
  }
  {
    TFixture F(100);
    auto* Long = F.Add("Long", 0, 0, 150);
    auto* Next = F.Add("Next", 0, 150, 20);
    F.Run();
    EXPECT_EQ(Long->ComputedRow, 0);
    EXPECT_EQ(Long->Placed, Rect(0, 0, 150, 24));
    EXPECT_EQ(Next->ComputedRow, 1);
  }
  {
    // One row only: no wrapping, and windows of other rows join row 0.
    TFixture F(100);
    F.Dock.LimitToOneRow = true;
    auto* A = F.Add("A", 0, 0, 60);
    auto* B = F.Add("B", 2, 0, 60);
    F.Run();
    EXPECT_EQ(A->ComputedRow, 0);
    EXPECT_EQ(B->ComputedRow, 0);
    EXPECT_EQ(B->ComputedPos, 60);  // overflows
    EXPECT_EQ(B->DockRow, 0);
  }
}

TEST(DockRowLayout, FullSizeAndStretch) {
  {
    TFixture F;
    auto* A = F.Add("A", 0, 0, 40);
    auto* Full = F.Add("Full", 0, 50, 40);
    Full->FullSize = true;
    auto* C = F.Add("C", 1, 0, 40);
    F.Run();
    EXPECT_EQ(Full->ComputedRow, 0);
    EXPECT_EQ(Full->Placed, Rect(0, 0, 200, 24));  // at least the whole length, from 0
    EXPECT_EQ(A->ComputedRow, 1);
    EXPECT_EQ(C->ComputedRow, 2);
  }
  {
    // Followed by another window: grows by exactly the gap before it.
    TFixture F;
    auto* S = F.Add("S", 0, 0, 30);
    S->Stretch = true;
    auto* N = F.Add("N", 0, 100, 20);
    F.Run();
    EXPECT_EQ(S->Placed, Rect(0, 0, 100, 24));
    EXPECT_EQ(N->Placed, Rect(100, 0, 120, 24));
  }
  {
    // Last of its row: takes its own gap and grows to the far edge.
    TFixture F;
    auto* N = F.Add("N", 0, 0, 20);
    auto* S = F.Add("S", 0, 50, 30);
    S->Stretch = true;
    F.Run();
    EXPECT_EQ(N->Placed, Rect(0, 0, 20, 24));
    EXPECT_EQ(S->Placed, Rect(20, 0, 200, 24));
  }
}

TEST(DockRowLayout, EmptyRowsVanishButAFloatingWindowKeepsItsRow) {
  TFixture F;
  auto* A = F.Add("A", 0, 0, 40);
  auto* Floating = F.Add("Floating", 3, 0, 40);
  Floating->Visible = false;
  F.Visible.pop_back();
  auto* B = F.Add("B", 6, 0, 40);
  auto R = F.Run();
  EXPECT_EQ(A->ComputedRow, 0);
  EXPECT_EQ(Floating->ComputedRow, 1);
  EXPECT_EQ(Floating->PlaceCount, 0);
  EXPECT_EQ(B->ComputedRow, 2);
  EXPECT_EQ(B->Placed, Rect(0, 24, 40, 48));  // the floating window's row is 0 thick
  EXPECT_EQ(R.NewBounds.Height(), 48);
}

TEST(DockRowLayout, DockThicknessAndKeptEdges) {
  struct TCase {
    TTBDockPosition Pos;
    TAlign Align;
    bool FixAlign, Design, WithWindow;
    TRect Expected;
  };
  // Docks start at (10,100) 200 long and 30 thick.
  const TCase Cases[] = {
      {dpTop, alTop, false, false, false, Rect(10, 100, 210, 100)},
      {dpTop, alTop, true, false, false, Rect(10, 100, 210, 101)},
      {dpTop, alTop, true, true, false, Rect(10, 100, 210, 109)},
      {dpLeft, alLeft, true, false, false, Rect(10, 100, 11, 300)},
      {dpBottom, alBottom, false, false, true, Rect(10, 106, 210, 130)},
      {dpRight, alRight, false, false, true, Rect(16, 100, 40, 300)},
      {dpTop, alClient, true, false, false, Rect(10, 100, 210, 130)},
      {dpTop, alClient, false, false, true, Rect(10, 100, 210, 130)},
  };
  for (const auto& C : Cases) {
    TFixture F(200, C.Pos);
    F.Dock.Align = C.Align;
    F.Dock.FixAlign = C.FixAlign;
    F.Dock.DesignTime = C.Design;
    F.Dock.Bounds = IsVerticalDockPosition(C.Pos) ? Rect(10, 100, 40, 300) : Rect(10, 100, 210, 130);
    TFakeWindow* W = C.WithWindow ? F.Add("W", 0, 0, 50) : nullptr;
    auto R = F.Run();
    EXPECT_EQ(R.NewBounds, C.Expected) << C.Pos << " " << C.Align;
    if (W) {
      EXPECT_EQ(W->PlaceCount, 1);
    }  // placed even when the dock keeps its size
  }
}

TEST(DockRowLayout, VerticalDockTransposesBounds) {
  TFixture F(200, dpLeft);
  auto* A = F.Add("A", 0, 10, 50);
  auto* B = F.Add("B", 1, 0, 40, 30);
  auto R = F.Run();
  EXPECT_EQ(A->Placed, Rect(0, 10, 24, 60));
  EXPECT_EQ(B->Placed, Rect(24, 0, 58, 40));
  EXPECT_EQ(R.NewBounds.Width(), 58);
}

TEST(DockRowLayout, TiesKeepDockListOrderAndCommitStoresTheLayout) {
  for (bool Swap : {false, true}) {
    TFixture F;
    auto* A = F.Add("A", 0, 10, 40);
    auto* B = F.Add("B", 0, 10, 30);
    if (Swap) std::swap(F.List[0], F.List[1]);
    F.Dock.Commit = true;
    F.Run();
    TFakeWindow* First = Swap ? B : A;
    TFakeWindow* Second = Swap ? A : B;
    EXPECT_EQ(First->ComputedPos, 10);
    EXPECT_EQ(Second->ComputedPos, 10 + First->Len);
    EXPECT_EQ(Second->DockPos, 10 + First->Len);  // committed
    EXPECT_EQ(F.List[0], First);
    EXPECT_FALSE(F.Dock.Commit);
  }
  // Without commit the stored positions stay.
  TFixture F;
  auto* A = F.Add("A", 0, 10, 40);
  auto* B = F.Add("B", 0, 10, 30);
  F.Run();
  EXPECT_EQ(B->DockPos, 10);
  EXPECT_EQ(B->ComputedPos, 50);
  EXPECT_EQ(A->DockRow, 0);
}

TEST(DockRowLayout, CrowdedRowShrinksChevronWindowsFromTheEnd) {
  TFixture F(100);
  F.Dock.LimitToOneRow = true;
  auto* A = F.Add("A", 0, 0, 60);
  auto* C = F.Add("C", 0, 60, 80);
  C->Mode = tbsmChevron;
  C->MinLen = 20;
  F.Run();
  EXPECT_EQ(A->Placed, Rect(0, 0, 60, 25));
  EXPECT_EQ(C->ShrunkLength, 40);
  EXPECT_TRUE(C->WasResized);
  EXPECT_EQ(C->Placed, Rect(60, 0, 100, 25));  // the shrunk size is one thicker
  // A second run with the same shrunk length uses the base size.
  F.Run();
  EXPECT_FALSE(C->WasResized);
  EXPECT_EQ(C->Placed, Rect(60, 0, 100, 24));
}

TEST(DockRowLayout, DraggedWindowPushesSlidesAndIsCrowded) {
  {
    // Spare room: the dragged window pushes the one before it back.
    TFixture F;
    auto* A = F.Add("A", 0, 0, 40);
    auto* B = F.Add("B", 0, 50, 40);
    auto* C = F.Add("C", 0, 70, 40);
    C->Dragged = true;
    F.Run();
    EXPECT_EQ(A->ComputedPos, 0);
    EXPECT_EQ(B->ComputedPos, 40);
    EXPECT_EQ(C->ComputedPos, 80);
    EXPECT_FALSE(C->Crowded);
  }
  {
    // Sliding: the dragged window keeps its place in the dock list order
    // even when its position sorts it later.
    TFixture F;
    auto* A = F.Add("A", 0, 0, 40);
    auto* B = F.Add("B", 0, 150, 40);
    auto* C = F.Add("C", 0, 60, 40);
    B->Dragged = B->SlideMode = true;
    F.Run();
    EXPECT_LT(B->ComputedPos, C->ComputedPos);
    EXPECT_EQ(A->ComputedPos, 0);
    B->SlideMode = false;
    F.Run();
    EXPECT_GT(B->ComputedPos, C->ComputedPos);
  }
  {
    // A row too long for the dock: the dragged window is crowded.
    TFixture F(100);
    F.Dock.LimitToOneRow = true;
    F.Add("A", 0, 0, 60);
    auto* D = F.Add("D", 0, 60, 60);
    D->Dragged = true;
    F.Run();
    EXPECT_TRUE(D->Crowded);
  }
}

TEST(DockRowLayout, WindowsBeingDestroyedLeaveBothLists) {
  struct TDying : TFakeWindow {
    using TFakeWindow::TFakeWindow;
    bool IsBeingDestroyed() const override { return true; }
  };
  TFixture F;
  F.Add("A", 0, 0, 40);
  TDying D("D", 0, 50, 40);
  F.List.push_back(&D);
  F.Visible.push_back(&D);
  F.Run();
  EXPECT_EQ(F.List.size(), 1u);
  EXPECT_EQ(F.Visible.size(), 1u);
  EXPECT_EQ(D.PlaceCount, 0);
}

}  // namespace
