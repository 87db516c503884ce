// Moving dockable windows by mouse between rows, docks and the floating
// state, and sizing floating windows by their frame, with input queued for
// the drag and sizing loops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/gui/guitest.h"
#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/toolwindows.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbfloating.h"

int TBRowForPoint(const std::vector<std::pair<int, bool>>& Rows, bool FullSize, int Centre, bool& NewRow);

namespace {

class TBar : public TTBCustomDockableWindow {
 public:
  TBar(TComponent* Owner, int W, int H) : TTBCustomDockableWindow(Owner), Size{W, H} {}
  TPoint Size;
  TPoint BaseSize() override { return Size; }
  TPoint SizeForState(bool, TTBDockKind, bool, TTBDock*) override { return Size; }
  void SizeChanged(int W, int H) override {
    if (Floating()) Size = {W, H};
  }
};

struct TDragForm : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TTBDock* Dock = nullptr;
  void SetUp() override {
    guitest::EnsureGui();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Dock = new TTBDock(Form.get());
    Dock->SetName("TBDock1");
    Dock->SetParent(Form.get());
    Form->Show();
  }
  void TearDown() override { ScreenCursor().SetCursor(crDefault); }
  TBar* Bar(const std::string& Name, int Row, int Pos, int W = 50, int H = 20) {
    auto* B = new TBar(Form.get(), W, H);
    B->SetName(Name);
    B->DockRow = Row;
    B->DockPos = Pos;
    B->SetCurrentDock(Dock);
    return B;
  }
  // Presses on the window's drag handle, moves through the form points
  // (each with its modifiers) and releases at the last one.
  struct TStep {
    int X, Y;
    TShiftState Shift;
    std::function<void()> Then;  // runs inside the drag, after this step
  };
  void DragByHandle(TTBCustomDockableWindow* W, const std::vector<TStep>& Steps, bool Release = true) {
    guitest::PostMouseButton(W, true, mbLeft, 3, 10);
    std::vector<std::function<void()>> Seq;
    for (const TStep& S : Steps) {
      Seq.push_back([this, S] { guitest::MouseMove(Form.get(), S.X, S.Y, S.Shift); });
      if (S.Then) Seq.push_back(S.Then);
    }
    const TStep Last = Steps.back();
    if (Release)
      Seq.push_back([this, Last] { guitest::MouseUp(Form.get(), mbLeft, Last.X, Last.Y, Last.Shift); });
    guitest::PostInSequence(std::move(Seq));
    guitest::ProcessEvents();
  }
};

TEST(TDragRows, RowChoiceByQuarters) {
  const std::vector<std::pair<int, bool>> Rows = {{24, false}, {0, false}, {30, true}};
  struct TCase {
    int Centre;
    bool FullSize;
    int Row;
    bool New;
  };
  const TCase Cases[] = {
      {0, false, 0, true},   {5, false, 0, true},   {6, false, 0, false}, {17, false, 0, false},
      {18, false, 2, true},  // the rest of row 0 and the empty row 1 lead to row 2's top
      {24, false, 2, true},  {38, false, 2, true},  {39, false, 3, false},  // full-size row: split at its middle
      {60, false, 3, false}, {10, true, 0, true},   {12, true, 2, true},
  };
  for (const TCase& C : Cases) {
    bool New = false;
    EXPECT_EQ(TBRowForPoint(Rows, C.FullSize, C.Centre, New), C.Row) << C.Centre;
    EXPECT_EQ(New, C.New) << C.Centre;
  }
}

TEST_F(TDragForm, DropOnTheUpperQuarterMakesANewRowOnTheMiddleJoins) {
  auto* A = Bar("A", 0, 0);
  auto* B = Bar("B", 1, 0);
  const int DockTop = Dock->Top();
  // Grabbed 3 right and 10 down of its top-left: the rectangle's centre is
  // 2 below the cursor. Upper quarter of row 0 (centre below 6).
  DragByHandle(B, {{3, DockTop + 2, {}}});
  EXPECT_EQ(B->Parent(), Dock);
  EXPECT_EQ(B->ComputedRow, 0);
  EXPECT_EQ(A->ComputedRow, 1);
  EXPECT_EQ(B->Top(), 0);
  EXPECT_EQ(A->Top(), 24);

  // Onto the middle of row 1 (A's row), 200 along it: joins A.
  DragByHandle(B, {{203, DockTop + 34, {}}});
  EXPECT_EQ(B->ComputedRow, 0);
  EXPECT_EQ(A->ComputedRow, 0);
  EXPECT_EQ(B->Left(), 200);
  EXPECT_EQ(Dock->Height(), 24);
  EXPECT_FALSE(B->Dragged);
  EXPECT_EQ(B->LastDock(), Dock);
}

TEST_F(TDragForm, CtrlKeepsTheWindowFloatingOverTheDock) {
  auto* A = Bar("A", 0, 0);
  Bar("B", 0, 100);
  std::vector<bool> Floating;
  auto Note = [&] { Floating.push_back(A->Floating()); };
  DragByHandle(A, {{150, 200, {ssCtrl}, Note},   // away from the docks
                   {150, 10, {ssCtrl}, Note},    // over the dock, Ctrl held
                   {151, 10, {}, Note}},         // Ctrl let go: docks
               true);
  EXPECT_EQ(Floating, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(A->Parent(), Dock);
  EXPECT_EQ(A->FloatingParent(), nullptr);  // the floating window of the drag is gone

  // Released while floating: stays floating where it was dropped; its stored
  // row and position are those from before the drag.
  A->SetDockRow(0);
  const int Row = A->DockRow, Pos = A->DockPos;
  DragByHandle(A, {{150, 200, {ssCtrl}}, {160, 210, {ssCtrl}}});
  ASSERT_TRUE(A->Floating());
  EXPECT_EQ(A->DockRow, Row);
  EXPECT_EQ(A->DockPos, Pos);
  EXPECT_EQ(A->LastDock(), Dock);
  EXPECT_EQ(Dock->DockList().size(), 2u);  // its row stays reserved
  EXPECT_TRUE(A->FloatingParent()->BoundsRect().Contains(Form->ClientToScreen({160, 210})));
}

// Input as the window system hands it over: the press's window keeps the
// pointer, and the moves come to it after the pressed window has left it to
// float in a window of its own.
TEST_F(TDragForm, WindowOffItsDockFollowsThePointerToTheRelease) {
  auto* A = Bar("A", 0, 0);
  Bar("B", 0, 100);
  std::vector<TPoint> Floats;
  auto Note = [&] { Floats.push_back(A->FloatingParent() ? A->FloatingParent()->BoundsRect().TopLeft() : TPoint{-1, -1}); };
  const TPoint Handle = Form->ScreenToClient(A->ClientToScreen({3, 10}));
  std::vector<std::function<void()>> Seq;
  for (const TPoint P : {TPoint{120, 120}, TPoint{200, 180}, TPoint{300, 260}}) {
    Seq.push_back([this, P] { guitest::WindowMouseMove(Form.get(), P.X, P.Y); });
    Seq.push_back(Note);
  }
  Seq.push_back([this] { guitest::WindowMouseUp(Form.get(), mbLeft, 300, 260); });
  guitest::PostInSequence(std::move(Seq));
  guitest::WindowMouseDown(Form.get(), mbLeft, Handle.X, Handle.Y);
  guitest::ProcessEvents();
  ASSERT_EQ(Floats.size(), 3u);
  EXPECT_FALSE(A->Dragged);  // the release ended the drag
  ASSERT_TRUE(A->Floating());
  // The window keeps the grab point under the pointer at every step.
  const TPoint Start = Form->ClientToScreen({120, 120});
  const TPoint Grab{Floats[0].X - Start.X, Floats[0].Y - Start.Y};
  for (int I : {1, 2}) {
    const TPoint P = Form->ClientToScreen(I == 1 ? TPoint{200, 180} : TPoint{300, 260});
    EXPECT_EQ(Floats[I], (TPoint{P.X + Grab.X, P.Y + Grab.Y})) << I;
  }
  EXPECT_EQ(A->FloatingParent()->BoundsRect().TopLeft(), Floats[2]);
}

TEST_F(TDragForm, CannotFloatShowsNoEntryAndStaysWhereItWas) {
  auto* A = Bar("A", 0, 40);
  A->SetDockMode(dmCannotFloat);
  const TRect Before = A->BoundsRect();
  std::vector<TCursor> Cursors;
  DragByHandle(A, {{150, 200, {}, [&] { Cursors.push_back(Screen->Cursor()); }}});
  EXPECT_EQ(Cursors, std::vector<TCursor>{crNo});
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(A->Parent(), Dock);
  EXPECT_FALSE(A->Floating());
  EXPECT_EQ(A->BoundsRect(), Before);
}

TEST_F(TDragForm, AnotherFormsDockIsNeverATarget) {
  auto* A = Bar("A", 0, 0);
  TForm Other(nullptr);
  Other.SetBounds(0, 150, 400, 100);
  auto* OtherDock = new TTBDock(&Other);
  OtherDock->SetParent(&Other);
  OtherDock->SetFixAlign(true);
  Other.Show();
  const TPoint Over = Form->ScreenToClient(OtherDock->ClientToScreen({50, 0}));
  DragByHandle(A, {{Over.X, Over.Y, {}}});
  EXPECT_TRUE(A->Floating());
  EXPECT_TRUE(OtherDock->DockList().empty());
}

TEST_F(TDragForm, RefusedDockIsSkipped) {
  auto* A = Bar("A", 0, 0);
  int Asked = 0;
  Dock->OnRequestDock = [&](TObject*, TTBCustomDockableWindow* W, bool& Accept) {
    EXPECT_EQ(W, A);
    ++Asked;
    Accept = false;
  };
  DragByHandle(A, {{100, 12, {}}});
  EXPECT_GT(Asked, 0);
  EXPECT_TRUE(A->Floating());
}

TEST_F(TDragForm, SlidingInACrowdedRowPushesTheNeighbours) {
  Dock->SetLimitToOneRow(true);
  auto* A = Bar("A", 0, 0, 150);
  auto* B = Bar("B", 0, 160, 150);
  auto* C = Bar("C", 0, 320, 150);
  ASSERT_EQ(B->ComputedRow, 0);
  std::vector<bool> Slide;
  std::vector<TCursor> Cursors;
  auto Note = [&] {
    Slide.push_back(B->SlideMode);
    Cursors.push_back(Screen->Cursor());
  };
  const TPoint Start = Form->ScreenToClient(B->ClientToScreen({3, 10}));
  // 6 pixels: not yet; from 12 on the loop slides; B keeps its order.
  DragByHandle(B, {{Start.X + 6, Start.Y, {}, Note}, {Start.X + 12, Start.Y, {}, Note},
                   {Start.X + 14, Start.Y, {}, Note}, {Start.X - 100, Start.Y, {}, Note}});
  EXPECT_EQ(Slide, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(Cursors.back(), crSizeWE);
  EXPECT_LT(A->Left(), B->Left());
  EXPECT_LT(B->Left(), C->Left());
  EXPECT_FALSE(B->SlideMode);
}

TEST_F(TDragForm, EscapeDuringASmoothDragKeepsTheLastStep) {
  auto* A = Bar("A", 0, 0);
  auto Escape = [this] { guitest::Key(Form.get(), VK_ESCAPE); };
  DragByHandle(A, {{150, 200, {}, Escape}});
  EXPECT_TRUE(A->Floating());
  EXPECT_FALSE(A->Dragged);

  // An outline drag shows the outline only and applies nothing on Escape.
  auto* B = Bar("B", 0, 100);
  B->SetSmoothDrag(false);
  std::vector<TRect> Outlines;
  DragByHandle(B, {{150, 200, {}, [&] {
                      Outlines.push_back(ShownRubberBand());
                      Escape();
                    }}});
  ASSERT_EQ(Outlines.size(), 1u);
  EXPECT_TRUE(Outlines[0].Contains(Form->ClientToScreen({150, 200})));
  EXPECT_TRUE(ShownRubberBand().IsEmpty());
  EXPECT_EQ(B->Parent(), Dock);
}

TEST_F(TDragForm, OutlineDragAppliesOnRelease) {
  auto* A = Bar("A", 0, 0);
  A->SetSmoothDrag(false);
  bool FloatingDuring = true;
  DragByHandle(A, {{150, 200, {}, [&] { FloatingDuring = A->Floating(); }}});
  EXPECT_FALSE(FloatingDuring);
  EXPECT_TRUE(A->Floating());
  EXPECT_TRUE(ShownRubberBand().IsEmpty());
}

// A floating window that snaps its width to fixed candidates, as a toolbar
// with wrapping rows does.
class TSnapBar : public TBar {
 public:
  using TBar::TBar;
  std::vector<std::string> Log;
  void SizeLimits(int& MinW, int& MinH, int& MaxW, int& MaxH) override {
    MinW = 30;
    MinH = 20;
    MaxW = MaxClient;
    MaxH = 0;
  }
  int MaxClient = 0;
  bool Snap = false;
  void SizingStarted(int Edge) override { Log.push_back("started " + std::to_string(Edge)); }
  void SizingEnded() override { Log.push_back("ended"); }
  void SizingRectChanging(TRect& R, const TRect& Start) override {
    if (Snap) R.Right = R.Left + (R.Width() > Start.Width() + 20 ? Start.Width() + 40 : Start.Width());
  }
  void BeforeSizeApplied() override { Log.push_back("apply"); }
};

struct TSizeForm : TDragForm {
  TSnapBar* S = nullptr;
  TTBFloatingWindowParent* F = nullptr;
  void Float() {
    S = new TSnapBar(Form.get(), 100, 40);
    S->SetName("S");
    S->SetHideWhenInactive(false);
    S->SetFloatingPosition({100, 100});
    S->SetCurrentDock(Dock);
    S->MakeFloating(true);
    F = S->FloatingParent();
  }
  // Press on the frame at (x, y) of the floating window, move by dx, dy.
  void SizeBy(int X, int Y, const std::vector<TPoint>& Moves, bool Escape = false) {
    // Positions on the screen: the frame moves while it is sized.
    const TPoint O = F->ClientToScreen({X, Y});
    auto At = [this, O](TPoint M) { return Form->ScreenToClient({O.X + M.X, O.Y + M.Y}); };
    guitest::PostMouseButton(F, true, mbLeft, X, Y);
    std::vector<std::function<void()>> Seq;
    for (TPoint M : Moves)
      Seq.push_back([this, At, M] {
        const TPoint P = At(M);
        guitest::MouseMove(Form.get(), P.X, P.Y);
      });
    if (Escape) Seq.push_back([this] { guitest::Key(Form.get(), VK_ESCAPE); });
    Seq.push_back([this, At, L = Moves.back()] {
      const TPoint P = At(L);
      guitest::MouseUp(Form.get(), mbLeft, P.X, P.Y);
    });
    guitest::PostInSequence(std::move(Seq));
    guitest::ProcessEvents();
  }
};

TEST_F(TSizeForm, EdgesSizeWithinTheLimits) {
  Float();
  const TRect Start = F->BoundsRect();  // 108 x 64
  ASSERT_EQ(Start.Width(), 108);
  // The left edge dragged right beyond the minimum: the right edge stays.
  SizeBy(1, 30, {{50, 0}, {200, 0}});
  EXPECT_EQ(F->BoundsRect().Right, Start.Right);
  EXPECT_EQ(S->Width(), 30);
  EXPECT_EQ(S->Log, (std::vector<std::string>{"started 0", "apply", "apply", "ended"}));
  // The bottom-right corner: no maximum, both sides grow.
  const TRect Mid = F->BoundsRect();
  SizeBy(Mid.Width() - 2, Mid.Height() - 2, {{300, 200}});
  EXPECT_EQ(S->Width(), 330);
  EXPECT_EQ(S->Height(), 240);
  EXPECT_EQ(F->BoundsRect().TopLeft(), Mid.TopLeft());
  S->MaxClient = 200;
  SizeBy(F->Width() - 2, 30, {{300, 0}});
  EXPECT_EQ(S->Width(), 200);
}

TEST_F(TSizeForm, TheWindowsOwnRuleSnapsTheSize) {
  Float();
  S->Snap = true;
  SizeBy(F->Width() - 2, 30, {{10, 0}});  // within the dead zone
  EXPECT_EQ(S->Width(), 100);
  SizeBy(F->Width() - 2, 30, {{25, 0}});
  EXPECT_EQ(S->Width(), 140);
}

TEST_F(TSizeForm, EscapeKeepsTheLastSmoothSizeAndUndoesAnOutline) {
  Float();
  SizeBy(F->Width() - 2, 30, {{20, 0}, {40, 0}}, true);
  EXPECT_EQ(S->Width(), 140);
  S->SetSmoothDrag(false);
  SizeBy(F->Width() - 2, 30, {{60, 0}}, true);
  EXPECT_EQ(S->Width(), 140);
  SizeBy(F->Width() - 2, 30, {{60, 0}});
  EXPECT_EQ(S->Width(), 200);
  EXPECT_TRUE(ShownRubberBand().IsEmpty());
}

TEST_F(TSizeForm, DockedWindowsDoNotSize) {
  Float();
  S->ToggleDocked();
  ASSERT_FALSE(S->Floating());
  S->BeginSizing(1);  // nothing to size, no loop
  EXPECT_TRUE(S->Log.empty());
}

TEST_F(TSizeForm, DraggingTheCaptionMovesTheFloatingWindow) {
  Float();
  int Moves = 0;
  S->OnMove = [&](TObject*) { ++Moves; };
  const TPoint Was = F->BoundsRect().TopLeft();
  const TPoint To = Form->ScreenToClient(F->ClientToScreen({50, 40}));
  guitest::PostMouseButton(F, true, mbLeft, 20, 10);
  guitest::PostInSequence({[this, To] { guitest::MouseMove(Form.get(), To.X, To.Y); },
                           [this, To] { guitest::MouseUp(Form.get(), mbLeft, To.X, To.Y); }});
  guitest::ProcessEvents();
  ASSERT_TRUE(S->Floating());
  EXPECT_EQ(F->BoundsRect().TopLeft(), (TPoint{Was.X + 30, Was.Y + 30}));
  EXPECT_EQ(S->FloatingPosition(), F->BoundsRect().TopLeft());
  EXPECT_EQ(Moves, 1);
}

}  // namespace
