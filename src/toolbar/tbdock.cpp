#include "toolbar/tbdock.h"

#include <algorithm>

#include "platform/gfx/colors.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/exceptions.h"

const char* const kTBDockBadParent = "A TTBDock control cannot be placed inside a tool window or another TTBDock";
const char* const kTBDockBadPosition = "Cannot change Position of a TTBDock if it already contains controls";

ZV_CLASS_IMPL_NOPROPS(TTBBasicBackground, TComponent)
ZV_CLASS_IMPL_NOPROPS(TTBDock, TCustomControl)
ZV_CLASS_IMPL_NOPROPS(TTBCustomDockableWindow, TCustomControl)

namespace {

std::vector<TTBRowLayoutWindow*> AsLayout(const std::vector<TTBCustomDockableWindow*>& L) {
  return {L.begin(), L.end()};
}

std::vector<TTBCustomDockableWindow*> AsWindows(const std::vector<TTBRowLayoutWindow*>& L) {
  std::vector<TTBCustomDockableWindow*> R;
  R.reserve(L.size());
  for (auto* W : L) R.push_back(static_cast<TTBCustomDockableWindow*>(W));
  return R;
}

TAlign AlignFor(TTBDockPosition P) {
  switch (P) {
    case dpBottom: return alBottom;
    case dpLeft: return alLeft;
    case dpRight: return alRight;
    default: return alTop;
  }
}

}  // namespace

TTBDockKind DockKindOf(const TTBDock* Dock, bool Floating) {
  if (Floating) return dkFloating;
  if (!Dock) return dkNone;
  return IsVerticalDockPosition(Dock->Position()) ? dkVertical : dkHorizontal;
}

// ---- TTBDock

TTBDock::TTBDock(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csMenuEvents};
  SetColor(clBtnFace);
  SetAlign(alTop);
}

TTBDock::~TTBDock() {
  if (FBackground) FBackground->RemoveChangeListener(this);
  // Windows still listed must not point back at a freed dock.
  for (auto* W : std::vector<TTBCustomDockableWindow*>(FDockList)) {
    W->RemoveFreeNotification(this);
    W->ForgetDock(this);
  }
  FDockList.clear();
  FVisibleList.clear();
}

void TTBDock::SetBackground(TTBBasicBackground* V) {
  if (FBackground == V) return;
  if (FBackground) {
    FBackground->RemoveChangeListener(this);
    FBackground->RemoveFreeNotification(this);
  }
  FBackground = V;
  if (V) {
    V->FreeNotification(this);
    V->AddChangeListener([this](TObject*) { InvalidateBackgrounds(); }, this);
  }
  InvalidateBackgrounds();
}

void TTBDock::SetBackgroundOnToolbars(bool V) {
  if (FBackgroundOnToolbars == V) return;
  FBackgroundOnToolbars = V;
  InvalidateBackgrounds();
}

bool TTBDock::HasBackground() { return FBackground && FBackground->IsActive(); }

void TTBDock::PaintBackground(TCanvas* Canvas, const TRect& R) {
  if (FBackground) FBackground->PaintTo(Canvas, R);
}

void TTBDock::InvalidateBackgrounds() {
  Invalidate();
  for (auto* W : FVisibleList) W->Invalidate();
}

void TTBDock::SetAllowDrag(bool V) {
  if (FAllowDrag == V) return;
  FAllowDrag = V;
  ArrangeWindows();  // the drag handles change the windows' lengths
}

void TTBDock::SetBoundLines(TTBDockBoundLines V) {
  if (FBoundLines == V) return;
  FBoundLines = V;
  FBorderWidth = (V.Contains(blLeft) ? 1 : 0) + (V.Contains(blRight) ? 1 : 0);
  FBorderHeight = (V.Contains(blTop) ? 1 : 0) + (V.Contains(blBottom) ? 1 : 0);
  Realign();
  Invalidate();
}

void TTBDock::SetFixAlign(bool V) {
  if (FFixAlign == V) return;
  FFixAlign = V;
  ArrangeWindows();
}

void TTBDock::SetPosition(TTBDockPosition V) {
  if (FPosition == V) return;
  if (ControlCount() > 0) throw EInvalidOperation(kTBDockBadPosition);
  FPosition = V;
  SetAlign(AlignFor(V));
}

void TTBDock::SetParent(TWinControl* AParent) {
  if (dynamic_cast<TTBCustomDockableWindow*>(AParent) || dynamic_cast<TTBDock*>(AParent))
    throw EInvalidOperation(kTBDockBadParent);
  TCustomControl::SetParent(AParent);
}

TRect TTBDock::ClientRect() const {
  return Rect(0, 0, std::max(0, Width() - FBorderWidth), std::max(0, Height() - FBorderHeight));
}

TPoint TTBDock::ClientOffset() const {
  return {FBoundLines.Contains(blLeft) ? 1 : 0, FBoundLines.Contains(blTop) ? 1 : 0};
}

void TTBDock::BeginUpdate() { ++FUpdateCount; }

void TTBDock::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0 && FLayoutPending) ArrangeWindows();
}

void TTBDock::ArrangeWindows() {
  if (FUpdateCount > 0 || ComponentState().Contains(csLoading)) {
    FLayoutPending = true;
    return;
  }
  ++FUpdateCount;
  struct TDone {
    TTBDock* D;
    ~TDone() {
      --D->FUpdateCount;
      D->FLayoutPending = false;
      D->FCommit = false;
    }
  } Done{this};
  TTBRowLayoutDock L;
  L.Position = FPosition;
  L.Align = Align();
  L.Bounds = BoundsRect();
  L.BorderWidth = FBorderWidth;
  L.BorderHeight = FBorderHeight;
  L.FixAlign = FFixAlign;
  L.LimitToOneRow = FLimitToOneRow;
  L.DesignTime = ComponentState().Contains(csDesigning);
  L.Commit = FCommit;
  auto Docks = AsLayout(FDockList);
  auto Visible = AsLayout(FVisibleList);
  const TTBRowLayoutResult R = ArrangeDockRows(L, Docks, Visible);
  FDockList = AsWindows(Docks);
  FVisibleList = AsWindows(Visible);
  if (R.NewBounds != BoundsRect()) SetBoundsRect(R.NewBounds);
}

void TTBDock::ChangeDockList(bool Insert, TTBCustomDockableWindow* Bar) {
  auto It = std::find(FDockList.begin(), FDockList.end(), Bar);
  if (Insert) {
    if (It == FDockList.end()) {
      FDockList.push_back(Bar);
      Bar->FreeNotification(this);
    }
  } else if (It != FDockList.end()) {
    FDockList.erase(It);
  }
  ChangeVisibleList(Bar, false);
}

void TTBDock::ChangeVisibleList(TTBCustomDockableWindow* Bar, bool ForceRemove) {
  const bool Listed = std::find(FDockList.begin(), FDockList.end(), Bar) != FDockList.end();
  const bool Belongs = !ForceRemove && Listed && Bar->Parent() == this &&
                       (Bar->Visible() || ComponentState().Contains(csDesigning));
  auto It = std::find(FVisibleList.begin(), FVisibleList.end(), Bar);
  const bool Was = It != FVisibleList.end();
  if (Belongs == Was) return;
  if (Belongs)
    FVisibleList.push_back(Bar);
  else
    FVisibleList.erase(It);
  ArrangeWindows();
  if (OnInsertRemoveBar) OnInsertRemoveBar(this, Belongs, Bar);
}

void TTBDock::CommitPositions() {
  for (auto* W : FVisibleList) {
    W->DockRow = W->ComputedRow;
    W->DockPos = W->ComputedPos;
  }
}

int TTBDock::HighestRow(bool Computed) const { return DockHighestRow(AsLayout(FDockList), Computed); }

int TTBDock::RowThickness(int Row, bool& FullSize) const {
  FullSize = false;
  if (Row < 0) return 0;
  const bool Vertical = IsVerticalDockPosition(FPosition);
  int Result = 0;
  for (auto* W : FDockList) {
    if (W->ComputedRow != Row || !W->IsVisibleChild()) continue;
    Result = std::max(Result, Vertical ? W->Width() : W->Height());
    FullSize = W->FullSize;
  }
  return Result;
}

int TTBDock::RowCrossSizeOfOthers(int Row, TTBCustomDockableWindow* Bar) const {
  int Result = 0;
  for (auto* W : FDockList)
    if (W != Bar && W->ComputedRow == Row && W->IsVisibleChild()) Result = std::max(Result, W->CrossSize);
  return Result;
}

int TTBDock::RowAtOffset(int Offset) const {
  const int Highest = HighestRow(true);
  int Total = 0;
  bool Full = false;
  for (int J = 0; J <= Highest; ++J) {
    const int T = RowThickness(J, Full);
    if (T == 0) continue;
    Total += T;
    if (Total > Offset) return J;
  }
  return Highest + 1;
}

bool TTBDock::HasVisibleWindows() const {
  return std::any_of(FDockList.begin(), FDockList.end(),
                     [](TTBCustomDockableWindow* W) { return W->IsVisibleChild(); });
}

void TTBDock::Loaded() {
  TCustomControl::Loaded();
  ArrangeWindows();
}

void TTBDock::AlignControls(TControl* AControl, TRect R) {
  TCustomControl::AlignControls(AControl, R);
  ArrangeWindows();
}

void TTBDock::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FBackground) {
    FBackground = nullptr;
    InvalidateBackgrounds();
  }
  auto* W = dynamic_cast<TTBCustomDockableWindow*>(AComponent);
  if (!W) return;
  FDockList.erase(std::remove(FDockList.begin(), FDockList.end(), W), FDockList.end());
  FVisibleList.erase(std::remove(FVisibleList.begin(), FVisibleList.end(), W), FVisibleList.end());
}

void TTBDock::Paint() {
  TCanvas* C = Canvas();
  if (HasBackground()) {
    // Drawn in the parent's client coordinates, so that several docks and
    // their windows show one continuous picture.
    TRect R = ClientRect();
    OffsetRect(R, -Left(), -Top());
    PaintBackground(C, R);
  } else {
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(0, 0, Width(), Height()));
  }
  if (FBoundLines == TTBDockBoundLines() || !(HasVisibleWindows() || ComponentState().Contains(csDesigning))) return;
  // Shadow on the top and left lines, highlight on the bottom and right.
  TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetColor(clBtnShadow);
  if (FBoundLines.Contains(blTop)) {
    C->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
    ++R.Top;
  }
  if (FBoundLines.Contains(blLeft)) {
    C->FillRect(Rect(R.Left, R.Top, R.Left + 1, R.Bottom));
    ++R.Left;
  }
  C->Brush()->SetColor(clBtnHighlight);
  if (FBoundLines.Contains(blBottom)) {
    C->FillRect(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    --R.Bottom;
  }
  if (FBoundLines.Contains(blRight)) C->FillRect(Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
}

// ---- TTBCustomDockableWindow

TTBCustomDockableWindow::TTBCustomDockableWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csClickEvents, csDoubleClicks, csSetCaption};
  SetColor(clBtnFace);
}

TTBCustomDockableWindow::~TTBCustomDockableWindow() {
  if (FCurrentDock) FCurrentDock->ChangeDockList(false, this);
  if (FLastDock && FLastDock != FCurrentDock) FLastDock->ChangeDockList(false, this);
}

void TTBCustomDockableWindow::SetCurrentDock(TTBDock* Dock) {
  if (ComponentState().Contains(csLoading)) return;
  SetParent(Dock ? static_cast<TWinControl*>(Dock) : dynamic_cast<TWinControl*>(Owner()));
}

void TTBCustomDockableWindow::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) return;
  auto* NewDock = dynamic_cast<TTBDock*>(AParent);
  TTBDock* OldDock = FCurrentDock;
  const bool Destroying = ComponentState().Contains(csDestroying);
  if (!Destroying && AParent) {
    if (OnDockChanging) OnDockChanging(this);
    if (OnRecreating) OnRecreating(this);
  }
  // Both docks lay out once, after the move.
  if (OldDock) OldDock->BeginUpdate();
  if (NewDock) NewDock->BeginUpdate();
  struct TEnd {
    TTBDock *N, *O;
    ~TEnd() {
      if (N) N->EndUpdate();
      if (O) O->EndUpdate();
    }
  } End{NewDock, OldDock};
  ShrunkLength = 0;
  if (OldDock) {
    FCurrentDock = nullptr;
    if (!(FUseLastDock && FLastDock == OldDock)) OldDock->ChangeDockList(false, this);
    OldDock->ChangeVisibleList(this, true);
  }
  // The window stays the same object; only its parent changes.
  TCustomControl::SetParent(AParent);
  FCurrentDock = NewDock;
  ComputedRow = -1;
  if (NewDock) NewDock->FreeNotification(this);
  if (NewDock) {
    if (!FUseLastDock) NewDock->ChangeDockList(true, this);
    else {
      SetLastDock(NewDock);
      NewDock->ChangeDockList(true, this);
    }
  }
  if (!Destroying && AParent) {
    if (OnRecreated) OnRecreated(this);
    if (OnDockChanged) OnDockChanged(this);
  }
}

void TTBCustomDockableWindow::SetLastDock(TTBDock* Dock) {
  if (FLastDock == Dock) return;
  TTBDock* Old = FLastDock;
  FLastDock = Dock;
  if (Old) {
    Old->RemoveFreeNotification(this);
    if (Old != FCurrentDock) Old->ChangeDockList(false, this);
  }
  if (Dock) {
    Dock->FreeNotification(this);
    if (FUseLastDock) Dock->ChangeDockList(true, this);
  }
}

void TTBCustomDockableWindow::SetUseLastDock(bool V) {
  if (FUseLastDock == V) return;
  FUseLastDock = V;
  if (FLastDock && FLastDock != FCurrentDock) FLastDock->ChangeDockList(V, this);
}

void TTBCustomDockableWindow::RunDockLayout() {
  if (FCurrentDock) FCurrentDock->ArrangeWindows();
}

void TTBCustomDockableWindow::SetDockRow(int V) {
  if (DockRow == V) return;
  DockRow = V;
  RunDockLayout();
}

void TTBCustomDockableWindow::SetDockPos(int V) {
  if (DockPos == V) return;
  DockPos = V;
  RunDockLayout();
}

void TTBCustomDockableWindow::SetFullSize(bool V) {
  if (FullSize == V) return;
  FullSize = V;
  RunDockLayout();
}

void TTBCustomDockableWindow::SetStretch(bool V) {
  if (Stretch == V) return;
  Stretch = V;
  RunDockLayout();
}

void TTBCustomDockableWindow::Arrange() { RunDockLayout(); }

bool TTBCustomDockableWindow::IsVisibleChild() const {
  return FCurrentDock && Parent() == FCurrentDock &&
         (Visible() || FCurrentDock->ComponentState().Contains(csDesigning));
}

bool TTBCustomDockableWindow::IsBeingDestroyed() const { return ComponentState().Contains(csDestroying); }

TPoint TTBCustomDockableWindow::DockedNCSize() {
  if (!FCurrentDock) return {0, 0};
  TPoint P{4, 4};
  if (FCurrentDock->AllowDrag()) {
    if (IsVerticalDockPosition(FCurrentDock->Position()))
      P.Y += DragHandleSize();
    else
      P.X += DragHandleSize();
  }
  return P;
}

TPoint TTBCustomDockableWindow::PresentClientSize() {
  const TPoint NC = DockedNCSize();
  return {Width() - NC.X, Height() - NC.Y};
}

void TTBCustomDockableWindow::PlaceInDock(const TRect& Bounds, bool Resized) {
  const int Shrunk = ShrunkLength;
  FBoundsLock = true;
  TRect R = Bounds;
  // The bound lines are painted inside the dock's own area.
  if (FCurrentDock) OffsetRect(R, FCurrentDock->ClientOffset().X, FCurrentDock->ClientOffset().Y);
  SetBoundsRect(R);
  FBoundsLock = false;
  ShrunkLength = Shrunk;
  if (Resized) SizeChanged(Bounds.Width(), Bounds.Height());
}

void TTBCustomDockableWindow::CMVisibleChanged(TMessage& M) {
  TCustomControl::CMVisibleChanged(M);
  if (FCurrentDock) FCurrentDock->ChangeVisibleList(this, false);
}

void TTBCustomDockableWindow::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLastDock) FLastDock = nullptr;
  if (Operation == opRemove && AComponent == FCurrentDock) FCurrentDock = nullptr;
}
