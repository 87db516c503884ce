// The modal loops that move a dockable window between docks and the
// floating state by mouse, and that size a floating window by its frame.
// Both see every input event of the application while they run (the
// window system's pointer grab is not needed for that).
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/rtl/mathutils.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/toolwindows.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbfloating.h"

namespace {

// One place the window could go: a dock, or floating (no dock).
struct TDockedSize {
  TTBDock* TargetDock = nullptr;
  TRect ScreenRect{};
  TPoint WindowSize{};
  std::vector<std::pair<int, bool>> RowThicknesses;  // thickness, full size
};

bool DockAccepts(TTBDock* Dock, const TTBCustomDockableWindow* W) {
  return Dock->AllowDrag() && W->DockableTo().Contains(Dock->Position());
}

bool LiesInside(const TControl* C, const TControl* Outer) {
  for (; C; C = C->Parent())
    if (C == Outer) return true;
  return false;
}

// Depth first from the host form: a container's docks by Position, then
// its other windowed children, then the container itself when it is a dock.
void AddCandidates(TWinControl* Container, TTBCustomDockableWindow* W, std::vector<TTBDock*>& List) {
  if (!Container->Showing() || LiesInside(Container, W)) return;
  for (TTBDockPosition P : {dpTop, dpBottom, dpLeft, dpRight})
    for (int I = 0; I < Container->ControlCount(); ++I)
      if (auto* D = dynamic_cast<TTBDock*>(Container->Controls(I)); D && D->Position() == P)
        AddCandidates(D, W, List);
  for (int I = 0; I < Container->ControlCount(); ++I) {
    auto* C = dynamic_cast<TWinControl*>(Container->Controls(I));
    if (C && !dynamic_cast<TTBDock*>(C)) AddCandidates(C, W, List);
  }
  if (auto* D = dynamic_cast<TTBDock*>(Container))
    if (DockAccepts(D, W) && std::find(List.begin(), List.end(), D) == List.end()) List.push_back(D);
}

TRect DockScreenRect(TTBDock* D) {
  const TPoint O = D->ClientToScreen(D->ClientOffset());
  const TRect C = D->ClientRect();
  return Bounds(O.X, O.Y, C.Width(), C.Height());
}

}  // namespace

// The row a drop lands in: on the leading quarter of a row (half of a full
// size row) a new row is made there, on the middle the window joins it.
int TBRowForPoint(const std::vector<std::pair<int, bool>>& Rows, bool FullSize, int Centre, bool& NewRow) {
  NewRow = false;
  int Sum = 0;
  for (size_t I = 0; I < Rows.size(); ++I) {
    const int C = Rows[I].first;
    if (C == 0) continue;
    const bool Half = FullSize || Rows[I].second;
    const int D = Half ? C / 2 : C / 4;
    if (Centre < Sum + D) {
      NewRow = true;
      return static_cast<int>(I);
    }
    if (!Half && Centre < Sum + C - D) return static_cast<int>(I);
    Sum += C;
  }
  return static_cast<int>(Rows.size());
}

struct TTBDragLoop {
  TTBCustomDockableWindow* W;
  TTBDock* StartDock = nullptr;
  int StartRow = 0, StartPos = 0;  // stored before the drag
  int SlideRow = 0;                // the row shown when the drag began
  TPoint GrabOffset{}, StartSize{};
  TPoint StartCursor{}, LastPos{}, Pos{};
  bool Accepted = false, NoDock = false, CannotFloat = false, Vertical = false;
  bool SlidePossible = false, AllowDocking = false, Smooth = true;
  std::vector<TDockedSize> Sizes;
  const TDockedSize* Target = nullptr;
  TRect DragRect{};
  TCursor StartCursorShape = crDefault;
  TRubberBand Band;
  int BandThickness = 1;

  explicit TTBDragLoop(TTBCustomDockableWindow* AW) : W(AW) {}

  TRect OuterRect() const {
    if (W->FFloating && W->FFloatParent) return W->FFloatParent->BoundsRect();
    const TPoint O = W->ClientToScreen({0, 0});
    return Bounds(O.X, O.Y, W->Width(), W->Height());
  }

  bool InHotZone(const TDockedSize& S, TPoint P) const {
    TRect R = S.ScreenRect;
    InflateRect(R, 3, 3);
    const int A = MulDiv(25, GrabOffset.X, std::max(1, StartSize.X));
    const int B = MulDiv(25, GrabOffset.Y, std::max(1, StartSize.Y));
    if (!(R.Left + A - 25 <= P.X && P.X < R.Right + A)) return false;
    if (IsVerticalDockPosition(S.TargetDock->Position()) && !(R.Top <= P.Y && P.Y < R.Bottom)) return false;
    if (!(R.Top + B - 25 <= P.Y && P.Y < R.Bottom + B)) return false;
    TRect Dummy;
    return IntersectRect(Dummy, RectFor(S, P), R);
  }

  TRect RectFor(const TDockedSize& S, TPoint P) const {
    const int L = P.X - MulDiv(S.WindowSize.X - 1, GrabOffset.X, std::max(1, StartSize.X));
    const int T = P.Y - MulDiv(S.WindowSize.Y - 1, GrabOffset.Y, std::max(1, StartSize.Y));
    return Bounds(L, T, S.WindowSize.X, S.WindowSize.Y);
  }

  void Run(int GrabX, int GrabY) {
    StartDock = W->FCurrentDock;
    StartRow = W->DockRow;
    StartPos = W->DockPos;
    W->Dragged = true;
    W->SlideMode = false;
    struct TEnd {
      TTBDragLoop* L;
      ~TEnd() { L->Finish(); }
    } End{this};
    if (W->FDocked && StartDock) {
      W->Crowded = false;
      StartDock->SetCommitNext();
      StartDock->ArrangeWindows();
      Vertical = IsVerticalDockPosition(StartDock->Position());
      SlidePossible = W->Crowded;
    }
    SlideRow = W->DockRow;
    Smooth = W->FSmoothDrag;
    W->FSmoothDragging = Smooth;
    const TRect Outer = OuterRect();
    const TRect C = W->ClientRect();
    const TPoint ClientOnScreen = W->ClientToScreen(C.TopLeft());
    GrabOffset = {GrabX + ClientOnScreen.X - Outer.Left, GrabY + ClientOnScreen.Y - Outer.Top};
    StartSize = {Outer.Width() - 1, Outer.Height() - 1};
    NoDock = GetKeyState(VK_CONTROL) < 0;
    CannotFloat = W->FDockMode != dmCanFloat;

    std::vector<TTBDock*> Docks;
    if (W->FDockMode == dmCannotFloatOrChangeDocks) {
      if (W->FDocked && StartDock) Docks.push_back(StartDock);
    } else {
      if (StartDock && DockAccepts(StartDock, W)) Docks.push_back(StartDock);
      if (TCustomForm* Host = HostFormOf(W)) AddCandidates(Host, W, Docks);
    }
    for (auto* D : Docks) D->CommitPositions();

    TDockedSize F;
    F.WindowSize = W->SizeForState(false, DockKindOf(W->FCurrentDock, W->FFloating), true, nullptr);
    TPoint TL, BR;
    W->FloatingNCOffsets(TL, BR);
    F.WindowSize.X += TL.X + BR.X;
    F.WindowSize.Y += TL.Y + BR.Y;
    Sizes.push_back(F);
    for (auto* D : Docks) {
      TDockedSize S;
      S.TargetDock = D;
      S.ScreenRect = DockScreenRect(D);
      if (D == W->FCurrentDock) {
        S.WindowSize = {W->Width(), W->Height()};
      } else {
        S.WindowSize = W->SizeForState(false, DockKindOf(W->FCurrentDock, W->FFloating), false, D);
        const TPoint NC = W->DockedNCSizeFor(D);
        S.WindowSize.X += NC.X;
        S.WindowSize.Y += NC.Y;
      }
      for (int R = 0; R <= D->HighestRow(true); ++R) {
        bool Full = false;
        const int T = D->RowThickness(R, Full);
        S.RowThicknesses.emplace_back(T, Full);
      }
      Sizes.push_back(std::move(S));
    }

    StartCursorShape = ScreenCursor().Cursor();
    AllowDocking = W->FDocked;
    StartCursor = W->ClientToScreen({C.Left + GrabX, C.Top + GrabY});
    Pos = LastPos = StartCursor;
    MoveStep();
    AllowDocking = true;

    TNestedEventLoop Loop;
    // The press's window loses the pointer once the window floats off it.
    Loop.HoldPointer(HostFormOf(W));
    bool Ended = false;
    Loop.Run([&](const TInputEvent& E) {
      // Events already queued when the drag ended are not the drag's.
      if (Ended) return irPass;
      switch (E.Kind) {
        case ikKeyDown:
        case ikKeyUp:
          if (E.Key == VK_CONTROL) {
            const bool Down = E.Kind == ikKeyDown;
            if (Down != NoDock) {
              NoDock = Down;
              MoveStep();
            }
          } else if (E.Key == VK_ESCAPE && E.Kind == ikKeyDown) {
            Ended = true;
            Loop.Quit();
          }
          break;
        case ikMouseMove:
          // The modifiers come with every pointer event here.
          if (E.Shift.Contains(ssCtrl) != NoDock) {
            NoDock = E.Shift.Contains(ssCtrl);
            if (E.ScreenPos == LastPos) MoveStep();
          }
          if (E.ScreenPos != LastPos) {
            Pos = E.ScreenPos;
            MoveStep();
            LastPos = Pos;
          }
          break;
        case ikMouseUp:
          if (E.Button == mbLeft) {
            Accepted = Ended = true;
            Loop.Quit();
          }
          break;
        case ikMouseDown:
        case ikMouseDblClick:
          if (E.Button == mbLeft) {
            Ended = true;
            Loop.Quit();
          }
          break;
        default:
          break;
      }
      return irSwallow;
    });
  }

  void MoveStep() {
    TPoint P = Pos;
    Target = nullptr;
    if (W->SlideMode) {
      for (const auto& S : Sizes)
        if (S.TargetDock && S.TargetDock == W->FCurrentDock) Target = &S;
    } else if (AllowDocking && !NoDock) {
      for (const auto& S : Sizes)
        if (S.TargetDock && InHotZone(S, P) && S.TargetDock->AcceptsDrop(W)) {
          Target = &S;
          break;
        }
    }
    const TRect Work = MonitorRectForPoint(P, true);
    if (!Target) {
      P.X = std::clamp(P.X, Work.Left, Work.Right - 1);
      P.Y = std::clamp(P.Y, Work.Top, Work.Bottom - 1);
    }
    const TDockedSize& S = Target ? *Target : Sizes.front();
    DragRect = RectFor(S, P);
    if (!Target) {
      const TPoint FB = W->FloatingBorderSize();
      TRect B = Work;
      InflateRect(B, -(FB.X + 4), -(FB.Y + 4));
      TRect& R = DragRect;
      if (R.Bottom < B.Top) OffsetRect(R, 0, B.Top - R.Bottom);
      if (R.Top > B.Bottom) OffsetRect(R, 0, B.Bottom - R.Top);
      if (R.Right < B.Left) OffsetRect(R, B.Left - R.Right, 0);
      if (R.Left > B.Right) OffsetRect(R, B.Right - R.Left, 0);
      TPoint TL, BR;
      W->FloatingNCOffsets(TL, BR);
      if (R.Top < Work.Top - TL.Y + 4) OffsetRect(R, 0, Work.Top - TL.Y + 4 - R.Top);
    }
    TCursor Shape = StartCursorShape;
    if (!Target && CannotFloat) {
      DragRect = TRect{};
      Shape = crNo;
    } else if (W->SlideMode) {
      Shape = Vertical ? crSizeNS : crSizeWE;
    }
    ScreenCursor().SetCursor(Shape);
    if (!Smooth) {
      BandThickness = Target ? 1 : W->FloatingBorderSize().X;
      Band.Show(DragRect, BandThickness);
    } else if (!DragRect.IsEmpty()) {
      Apply();
    }
  }

  void Apply() {
    if (Target && Target->TargetDock) {
      TTBDock* D = Target->TargetDock;
      TRect R = DragRect;
      OffsetRect(R, -Target->ScreenRect.Left, -Target->ScreenRect.Top);
      const bool DockVertical = IsVerticalDockPosition(D->Position());
      int Row;
      bool NewRow = false;
      if (W->SlideMode) {
        Row = W->DockRow;
      } else {
        const int Centre = DockVertical ? (R.Left + R.Right) / 2 : (R.Top + R.Bottom) / 2;
        Row = TBRowForPoint(Target->RowThicknesses, W->FullSize, Centre, NewRow);
        if (NewRow) SlidePossible = false;
      }
      if (SlidePossible) {
        if (D == StartDock && Row == SlideRow) {
          const int Dist = Vertical ? LastPos.Y - StartCursor.Y : LastPos.X - StartCursor.X;
          if (std::abs(Dist) >= 10) {
            SlidePossible = false;
            W->SlideMode = true;
            ScreenCursor().SetCursor(Vertical ? crSizeNS : crSizeWE);
          }
        } else {
          SlidePossible = false;
        }
      }
      W->DockRow = Row;
      W->DockPos = DockVertical ? R.Top : R.Left;
      W->NewRow = NewRow;
      // Smooth steps commit as well: what the user sees becomes the stored
      // rows and positions, or the next layout would undo the drop.
      D->SetCommitNext();
      if (W->Parent() != D)
        W->SetParent(D);
      else
        D->ArrangeWindows();
      W->NewRow = false;
    } else {
      SlidePossible = false;
      W->SetFloatingPosition(DragRect.TopLeft());
      W->MakeFloating(true);
      W->MoveOnScreen(true);
    }
    W->Repaint();
  }

  void Finish() {
    Band.Hide();
    W->FSmoothDragging = false;
    if (Accepted && !DragRect.IsEmpty() && !Smooth) Apply();
    if (W->FUseLastDock && W->FDocked) W->SetLastDock(W->FCurrentDock);
    if (W->FFloatParent && W->Parent() != W->FFloatParent) {
      TTBFloatingWindowParent* FP = W->FFloatParent;
      W->FFloatParent = nullptr;
      FP->SetDockableWindow(nullptr);
      delete FP;
    }
    if (!W->FDocked) {
      W->DockRow = StartRow;
      W->DockPos = StartPos;
    }
    Sizes.clear();
    W->Dragged = false;
    W->SlideMode = false;
    ScreenCursor().SetCursor(StartCursorShape);
  }
};

void TTBCustomDockableWindow::BeginMoving(int GrabX, int GrabY) {
  TTBDragLoop Loop(this);
  Loop.Run(GrabX, GrabY);
}

struct TTBSizeLoop {
  TTBCustomDockableWindow* W;
  int Edge;
  TRect Start{}, Cur{};
  TPoint StartPos{}, LastPos{};
  bool Accepted = false, Smooth = true;
  int MinW = 0, MinH = 0, MaxW = 0, MaxH = 0;
  TRubberBand Band;

  TTBSizeLoop(TTBCustomDockableWindow* AW, int AEdge) : W(AW), Edge(AEdge) {}

  bool Horizontal() const { return Edge != 2 && Edge != 5; }
  bool LeftMoves() const { return Edge == 0 || Edge == 3 || Edge == 6; }
  bool VerticalSizing() const { return Edge >= 2; }
  bool TopMoves() const { return Edge == 2 || Edge == 3 || Edge == 4; }

  void Run() {
    TTBFloatingWindowParent* FP = W->FFloatParent;
    W->SizingStarted(Edge);
    struct TEnd {
      TTBSizeLoop* L;
      ~TEnd() {
        L->Band.Hide();
        if (L->Accepted && !L->Smooth) L->ApplySize();
        L->W->SizingEnded();
      }
    } End{this};
    Smooth = W->FSmoothDrag;
    W->SizeLimits(MinW, MinH, MaxW, MaxH);
    const int DX = FP->Width() - W->Width(), DY = FP->Height() - W->Height();
    MinW += DX;
    MinH += DY;
    if (MaxW > 0) MaxW += DX;
    if (MaxH > 0) MaxH += DY;
    Start = Cur = FP->BoundsRect();
    if (!Smooth) Band.Show(Cur, W->FloatingBorderSize().X);
    StartPos = LastPos = W->FPressScreenPos;
    TNestedEventLoop Loop;
    bool Ended = false;
    Loop.Run([&](const TInputEvent& E) {
      if (Ended) return irPass;
      switch (E.Kind) {
        case ikKeyDown:
          if (E.Key == VK_ESCAPE) {
            Ended = true;
            Loop.Quit();
          }
          break;
        case ikMouseMove:
          Step(E.ScreenPos);
          break;
        case ikMouseUp:
          if (E.Button == mbLeft) {
            Accepted = Ended = true;
            Loop.Quit();
          }
          break;
        case ikMouseDown:
        case ikMouseDblClick:
          if (E.Button == mbLeft) {
            Ended = true;
            Loop.Quit();
          }
          break;
        default:
          break;
      }
      return irSwallow;
    });
  }

  void Step(TPoint P) {
    if (P == LastPos) return;
    LastPos = P;
    TRect R = Start;
    if (Horizontal()) (LeftMoves() ? R.Left : R.Right) += P.X - StartPos.X;
    if (VerticalSizing()) (TopMoves() ? R.Top : R.Bottom) += P.Y - StartPos.Y;
    // The moving side goes back to keep each limit.
    auto LimitW = [&](int L) {
      if (LeftMoves()) R.Left = R.Right - L;
      else R.Right = R.Left + L;
    };
    auto LimitH = [&](int L) {
      if (TopMoves()) R.Top = R.Bottom - L;
      else R.Bottom = R.Top + L;
    };
    if (R.Width() < MinW) LimitW(MinW);
    if (MaxW > 0 && R.Width() > MaxW) LimitW(MaxW);
    if (R.Height() < MinH) LimitH(MinH);
    if (MaxH > 0 && R.Height() > MaxH) LimitH(MaxH);
    W->SizingRectChanging(R, Start);
    Cur = R;
    if (Smooth)
      ApplySize();
    else
      Band.Show(Cur, W->FloatingBorderSize().X);
  }

  void ApplySize() {
    TTBFloatingWindowParent* FP = W->FFloatParent;
    if (!FP) return;
    W->BeginUpdate();
    {
      struct TEndUpdate {
        TTBCustomDockableWindow* W;
        ~TEndUpdate() { W->EndUpdate(); }
      } EndUp{W};
      W->BeforeSizeApplied();
      FP->SetBounds(Cur.Left, Cur.Top, Cur.Width(), Cur.Height());
      W->FFloatingPosition = Cur.TopLeft();
      const TRect C = FP->ClientRect();
      W->SetBounds(C.Left, C.Top, C.Width(), C.Height());
    }
    W->MoveOnScreen(true);
  }
};

void TTBCustomDockableWindow::BeginSizing(int Edge) {
  if (!FFloating || !FFloatParent) return;
  TTBSizeLoop Loop(this, Edge);
  Loop.Run();
}
