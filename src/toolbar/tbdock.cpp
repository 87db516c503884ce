#include "toolbar/tbdock.h"

#include <algorithm>

#include "platform/gfx/colors.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/framectl.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/ui/appkeys.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/streaming.h"
#include "platform/ui/uitypes.h"
#include "platform/ui/toolwindows.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbfloating.h"
#include "toolbar/tbhook.h"

const char* const kTBDockBadParent = "A TTBDock control cannot be placed inside a tool window or another TTBDock";
const char* const kTBDockBadPosition = "Cannot change Position of a TTBDock if it already contains controls";
const char* const kTBNoParentWindow = "Control '%s' has no parent window";

ZV_CLASS_IMPL_NOPROPS(TTBBasicBackground, TComponent)

const TEnumInfo& TBDockPositionEnumInfo() {
  static const TEnumInfo e{"TTBDockPosition", {"dpTop", "dpBottom", "dpLeft", "dpRight"}, 0};
  return e;
}
const TEnumInfo& TBDockBoundLineEnumInfo() {
  static const TEnumInfo e{"TTBDockBoundLine", {"blTop", "blBottom", "blLeft", "blRight"}, 0};
  return e;
}
const TEnumInfo& TBDockModeEnumInfo() {
  static const TEnumInfo e{"TTBDockMode", {"dmCanFloat", "dmCannotFloat", "dmCannotFloatOrChangeDocks"}, 0};
  return e;
}
const TEnumInfo& TBDragHandleStyleEnumInfo() {
  static const TEnumInfo e{"TTBDragHandleStyle", {"dhDouble", "dhNone", "dhSingle"}, 0};
  return e;
}
const TEnumInfo& TBFloatingModeEnumInfo() {
  static const TEnumInfo e{"TTBFloatingMode", {"fmOnTopOfParentForm", "fmOnTopOfAllForms"}, 0};
  return e;
}

void TTBDock::DeclareProperties(TClassInfo& c) {
  using D = TTBDock;
  c.Boolean<D>("AllowDrag", &D::AllowDrag, &D::SetAllowDrag, true);
  c.Object<D, TTBBasicBackground>("Background", &D::Background, &D::SetBackground);
  c.Boolean<D>("BackgroundOnToolbars", &D::BackgroundOnToolbars, &D::SetBackgroundOnToolbars, true);
  c.Set<D>("BoundLines", TBDockBoundLineEnumInfo(), [](D* o) { return o->BoundLines().Bits(); },
           [](D* o, uint64_t v) { o->SetBoundLines(TTBDockBoundLines::FromBits(v)); }, 0);
  c.Integer<D>("Color", &D::Color, &D::SetColor, static_cast<int64_t>(clBtnFace))
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) { return !static_cast<D*>(o)->ParentColor(); });
  c.Boolean<D>("FixAlign", &D::FixAlign, &D::SetFixAlign, false);
  c.Boolean<D>("LimitToOneRow", &D::LimitToOneRow, &D::SetLimitToOneRow, false);
  c.Enum<D>("Position", TBDockPositionEnumInfo(), &D::Position, &D::SetPosition, dpTop);
  // The alignment follows Position.
  c.Enum<D>("Align", AlignEnumInfo(), &D::Align, &D::SetAlign, alNone).WithStored([](TObject*) { return false; });
  c.Method<D, TTBInsertRemoveEvent>("OnInsertRemoveBar", [](D* o) { return static_cast<bool>(o->OnInsertRemoveBar); },
                                    [](D* o, TTBInsertRemoveEvent e) { o->OnInsertRemoveBar = std::move(e); });
  c.Method<D, TTBRequestDockEvent>("OnRequestDock", [](D* o) { return static_cast<bool>(o->OnRequestDock); },
                                   [](D* o, TTBRequestDockEvent e) { o->OnRequestDock = std::move(e); });
}
ZV_CLASS_IMPL(TTBDock, TCustomControl)

void TTBCustomDockableWindow::DeclareProperties(TClassInfo& c) {
  using W = TTBCustomDockableWindow;
  auto neitherDockedNorFloating = [](TObject* o) {
    auto* w = static_cast<W*>(o);
    return !w->Docked() && !w->Floating();
  };
  c.Boolean<W>("ActivateParent", &W::ActivateParent, &W::SetActivateParent, true);
  c.Boolean<W>("AutoResize", &W::AutoResize, &W::SetAutoResize, true);
  c.Enum<W>("BorderStyle", BorderStyleEnumInfo(), &W::BorderStyle,
            [](W* o, int64_t v) { o->SetBorderStyle(v == bsNone ? bsNone : bsSingle); }, bsSingle);
  c.Boolean<W>("CloseButton", &W::CloseButton, &W::SetCloseButton, true);
  c.Boolean<W>("CloseButtonWhenDocked", &W::CloseButtonWhenDocked, &W::SetCloseButtonWhenDocked, false);
  c.Object<W, TTBDock>("CurrentDock", &W::CurrentDock, [](W* o, TTBDock* d) {
     if (!o->ComponentState().Contains(csLoading)) o->SetCurrentDock(d);
   }).WithStored([](TObject*) { return false; });
  c.Object<W, TTBDock>("DefaultDock", &W::DefaultDock, &W::SetDefaultDock);
  c.Set<W>("DockableTo", TBDockPositionEnumInfo(), [](W* o) { return o->DockableTo().Bits(); },
           [](W* o, uint64_t v) { o->SetDockableTo(TTBDockableTo::FromBits(v)); },
           static_cast<int64_t>(TTBDockableTo{dpTop, dpBottom, dpLeft, dpRight}.Bits()));
  c.Enum<W>("DockMode", TBDockModeEnumInfo(), &W::DockMode, &W::SetDockMode, dmCanFloat);
  c.Integer<W>("DockPos", &W::DockPosValue, &W::SetDockPos, -1);
  c.Integer<W>("DockRow", &W::DockRowValue, &W::SetDockRow, 0);
  c.Enum<W>("DragHandleStyle", TBDragHandleStyleEnumInfo(), &W::DragHandleStyle, &W::SetDragHandleStyle, dhSingle);
  c.Enum<W>("FloatingMode", TBFloatingModeEnumInfo(), &W::FloatingMode, &W::SetFloatingMode, fmOnTopOfParentForm);
  c.Boolean<W>("FullSize", &W::FullSizeValue, &W::SetFullSize, false);
  c.Boolean<W>("HideWhenInactive", &W::HideWhenInactive, &W::SetHideWhenInactive, true);
  c.Object<W, TTBDock>("LastDock", &W::LastDock, &W::SetLastDock).WithStored([](TObject* o) {
    return !static_cast<W*>(o)->Docked();
  });
  c.Boolean<W>("Resizable", &W::Resizable, &W::SetResizable, true);
  c.Boolean<W>("ShowCaption", &W::ShowCaption, &W::SetShowCaption, true);
  c.Boolean<W>("SmoothDrag", &W::SmoothDrag, &W::SetSmoothDrag, true);
  c.Boolean<W>("Stretch", &W::StretchValue, &W::SetStretch, false);
  c.Boolean<W>("UseLastDock", &W::UseLastDock, &W::SetUseLastDock, true);
  c.Integer<W>("Width", &W::Width, &W::SetWidth).WithStored(neitherDockedNorFloating);
  c.Integer<W>("Height", &W::Height, &W::SetHeight).WithStored(neitherDockedNorFloating);
  c.Integer<W>("Color", &W::Color, &W::SetColor, static_cast<int64_t>(clBtnFace))
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) { return !static_cast<W*>(o)->ParentColor(); });
  auto notify = [&c](const char* name, TNotifyEvent W::*field) {
    c.Method<W, TNotifyEvent>(name, [field](W* o) { return static_cast<bool>(o->*field); },
                              [field](W* o, TNotifyEvent e) { o->*field = std::move(e); });
  };
  notify("OnClose", &W::OnClose);
  notify("OnDockChanged", &W::OnDockChanged);
  notify("OnMove", &W::OnMove);
  notify("OnRecreated", &W::OnRecreated);
  notify("OnRecreating", &W::OnRecreating);
  notify("OnVisibleChanged", &W::OnVisibleChanged);
  c.Method<W, TTBCloseQueryEvent>("OnCloseQuery", [](W* o) { return static_cast<bool>(o->OnCloseQuery); },
                                  [](W* o, TTBCloseQueryEvent e) { o->OnCloseQuery = std::move(e); });
  auto changing = [&c](const char* name, TTBDockChangingEvent W::*field) {
    c.Method<W, TTBDockChangingEvent>(name, [field](W* o) { return static_cast<bool>(o->*field); },
                                      [field](W* o, TTBDockChangingEvent e) { o->*field = std::move(e); });
  };
  changing("OnDockChanging", &W::OnDockChanging);
  changing("OnDockChangingHidden", &W::OnDockChangingHidden);
}
ZV_CLASS_IMPL(TTBCustomDockableWindow, TCustomControl)

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

bool TTBDock::AcceptsDrop(TTBCustomDockableWindow* Bar) {
  bool Accept = true;
  if (OnRequestDock) OnRequestDock(this, Bar, Accept);
  return Accept;
}

LRESULT TTBDock::RelayToFloatingWindows(TMessage& M) {
  // A copy: a window may leave the list while it handles the key.
  for (auto* W : std::vector<TTBCustomDockableWindow*>(FDockList)) {
    if (std::find(FDockList.begin(), FDockList.end(), W) == FDockList.end()) continue;
    if (!W->Floating() || !W->Visible() || !W->Enabled()) continue;
    if (M.Msg == WM_SYSCOMMAND && !W->ControlStyle().Contains(csMenuEvents)) continue;
    if (const LRESULT R = W->Perform(M.Msg, M.WParam, M.LParam)) return R;
  }
  return 0;
}

void TTBDock::WndProc(TMessage& Message) {
  const bool KeyMenu = Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU;
  if (KeyMenu || Message.Msg == CM_DIALOGKEY || Message.Msg == CM_DIALOGCHAR) {
    Message.Result = RelayToFloatingWindows(Message);
    // Floating toolbars of the form answer its shortcuts and the Alt key.
    if (Message.Result != 0) return;
  }
  TCustomControl::WndProc(Message);
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

void TTBDock::PaintWindow() {
  TCustomControl::PaintWindow();
  if (!ComponentState().Contains(csDesigning)) return;
  // The designer sees where an empty dock is.
  TCanvas* C = Canvas();
  C->Pen()->SetColor(clBtnShadow);
  C->Pen()->SetStyle(psDot);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(ClientRect());
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsSolid);
}

// ---- TTBCustomDockableWindow

int DragHandleSizeFor(bool CloseButtonWhenDocked, TTBDragHandleStyle Style) {
  if (CloseButtonWhenDocked) return 14;
  switch (Style) {
    case dhDouble: return 9;
    case dhNone: return 0;
    default: return 6;
  }
}

namespace {

int GripOffsetFor(bool CloseButtonWhenDocked, TTBDragHandleStyle Style) {
  switch (Style) {
    case dhDouble: return CloseButtonWhenDocked ? 3 : 2;
    case dhNone: return 0;
    default: return CloseButtonWhenDocked ? 5 : 1;
  }
}

// Rows of the docked close glyph, most significant bit leftmost.
constexpr uint8_t kDockedCloseGlyph[8] = {0x00, 0xCC, 0x78, 0x30, 0x78, 0xCC, 0x00, 0x00};

}  // namespace

TCustomForm* HostFormOf(const TControl* Control) {
  TCustomForm* Form = nullptr;
  for (const TControl* C = Control; C; C = C->Parent())
    if (auto* F = dynamic_cast<TCustomForm*>(const_cast<TControl*>(C))) Form = F;
  if (auto* FP = dynamic_cast<TTBFloatingWindowParent*>(Form)) return FP->ParentForm();
  return Form;
}

TCustomForm* HostFormOfOrError(const TControl* Control) {
  TCustomForm* F = HostFormOf(Control);
  if (!F) throw EInvalidOperation(Format(kTBNoParentWindow, {Control->Name()}));
  return F;
}

TTBCustomDockableWindow::TTBCustomDockableWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csClickEvents, csDoubleClicks, csSetCaption};
  SetColor(clBtnFace);
  if (!ComponentState().Contains(csDesigning))
    RegisterHookHandler(this, DockableHookHandler, {hcActivate, hcActivateApp, hcWindowPosChanged, hcDestroyWindow});
}

TTBCustomDockableWindow::~TTBCustomDockableWindow() {
  Destroying();
  UnregisterHookHandler(this, DockableHookHandler);
  if (FCurrentDock) FCurrentDock->ChangeDockList(false, this);
  if (FLastDock && FLastDock != FCurrentDock) FLastDock->ChangeDockList(false, this);
  FFloating = false;
  UpdateFloatingList();
  if (TTBFloatingWindowParent* FP = FFloatParent) {
    FFloatParent = nullptr;
    // Out of the floating window first: it must not free us as its child.
    if (Parent() == FP) TCustomControl::SetParent(nullptr);
    FP->SetDockableWindow(nullptr);
    delete FP;
  }
}

void TTBCustomDockableWindow::SetCurrentDock(TTBDock* Dock) {
  if (ComponentState().Contains(csLoading)) return;
  SetParent(Dock ? static_cast<TWinControl*>(Dock) : HostFormOfOrError(this));
}

void TTBCustomDockableWindow::DockInto(TComponent* Dock) {
  if (auto* D = dynamic_cast<TTBDock*>(Dock)) SetParent(D);
}

TComponent* TTBCustomDockableWindow::CurrentDockComponent() const { return FCurrentDock; }
TComponent* TTBCustomDockableWindow::LastDockComponent() const { return FLastDock; }
void TTBCustomDockableWindow::SetLastDockComponent(TComponent* Dock) { SetLastDock(dynamic_cast<TTBDock*>(Dock)); }

void TTBCustomDockableWindow::SetParent(TWinControl* AParent) {
  auto* NewDock = dynamic_cast<TTBDock*>(AParent);
  const bool FloatTo = dynamic_cast<TTBFloatingWindowParent*>(AParent) != nullptr;
  if (AParent == Parent()) {
    FCurrentDock = NewDock;
    FDocked = NewDock != nullptr;
    FFloating = FloatTo;
    UpdateFloatingList();
    ChildOriginChanged();
    return;
  }
  auto* OldDock = dynamic_cast<TTBDock*>(Parent());
  auto* OldFloat = dynamic_cast<TTBFloatingWindowParent*>(Parent());
  const bool Destroying = ComponentState().Contains(csDestroying);
  if (!Destroying && AParent) {
    if (OnDockChanging) OnDockChanging(this, FloatTo, NewDock);
    if (OnRecreating) OnRecreating(this);
  }
  ++FHidingCount;
  ++FDisableMoveNotify;
  // Both docks lay out once, after the move.
  if (OldDock) OldDock->BeginUpdate();
  if (NewDock) NewDock->BeginUpdate();
  ++FBoundsLock;
  struct TEnd {
    TTBCustomDockableWindow* W;
    TTBDock *N, *O;
    ~TEnd() {
      --W->FBoundsLock;
      if (N) N->EndUpdate();
      if (O) O->EndUpdate();
      --W->FHidingCount;
      --W->FDisableMoveNotify;
      W->UpdateVisibility();
    }
  } End{this, NewDock, OldDock};
  if (AParent) NotifyDockChangingHidden(FloatTo, NewDock);
  BeginUpdate();
  struct TEndUpdate {
    TTBCustomDockableWindow* W;
    ~TEndUpdate() { W->EndUpdate(); }
  } EndUp{this};
  ShrunkLength = 0;
  if (OldDock) {
    if (!(FUseLastDock && FLastDock == OldDock)) OldDock->ChangeDockList(false, this);
    OldDock->ChangeVisibleList(this, true);
  }
  // The window stays the same object and keeps its window; only its parent
  // changes.
  try {
    FCurrentDock = NewDock;
    FDocked = NewDock != nullptr;
    FFloating = FloatTo;
    TCustomControl::SetParent(AParent);
    ChildOriginChanged();  // docked or not, the frame around the children differs
  } catch (...) {
    FCurrentDock = dynamic_cast<TTBDock*>(Parent());
    FDocked = FCurrentDock != nullptr;
    FFloating = dynamic_cast<TTBFloatingWindowParent*>(Parent()) != nullptr;
    throw;
  }
  ComputedRow = -1;
  if (OldFloat && !FSmoothDragging && OldFloat == FFloatParent) {
    FFloatParent = nullptr;
    OldFloat->SetDockableWindow(nullptr);
    delete OldFloat;
  }
  if (NewDock) {
    NewDock->FreeNotification(this);
    if (!FUseLastDock || FSmoothDragging) NewDock->ChangeDockList(true, this);
    if (FUseLastDock) {
      SetLastDock(NewDock);
      NewDock->ChangeVisibleList(this, false);
    }
  }
  UpdateFloatingList();
  RecalcFrame();
  Arrange();
  if (AParent && !ComponentState().Contains(csLoading) && FDisableMoveNotify <= 1 && OnMove) OnMove(this);
  if (!Destroying && AParent) {
    if (OnRecreated) OnRecreated(this);
    if (OnDockChanged) OnDockChanged(this);
  }
}

void TTBCustomDockableWindow::UpdateFloatingList() {
  extern void TBFloatingListChange(TTBCustomDockableWindow * W, bool Add);
  TBFloatingListChange(this, FFloating && FFloatParent && Parent() == FFloatParent);
  if (FFloating && FFloatParent) {
    const TRect R = FFloatParent->BoundsRect();
    FFloatParent->SetBounds(FFloatingPosition.X, FFloatingPosition.Y, R.Width(), R.Height());
  }
}

void TTBCustomDockableWindow::NotifyDockChangingHidden(bool Floating, TTBDock* DockingTo) {
  if (!ComponentState().Contains(csDestroying) && OnDockChangingHidden) OnDockChangingHidden(this, Floating, DockingTo);
}

void TTBCustomDockableWindow::SetLastDock(TTBDock* Dock) {
  if (FUseLastDock && FCurrentDock) Dock = FCurrentDock;
  if (FLastDock == Dock) return;
  TTBDock* Old = FLastDock;
  FLastDock = Dock;
  if (Old) {
    if (Old != FDefaultDock) Old->RemoveFreeNotification(this);
    if (Old != Parent()) Old->ChangeDockList(false, this);
  }
  if (Dock) {
    FUseLastDock = true;
    Dock->FreeNotification(this);
    Dock->ChangeDockList(true, this);
  }
}

void TTBCustomDockableWindow::SetDefaultDock(TTBDock* Dock) {
  if (FDefaultDock == Dock) return;
  FDefaultDock = Dock;
  if (Dock) Dock->FreeNotification(this);
}

void TTBCustomDockableWindow::SetUseLastDock(bool V) {
  if (FUseLastDock == V) return;
  FUseLastDock = V;
  if (!V) {
    TTBDock* Old = FLastDock;
    FLastDock = nullptr;
    if (Old && Old != FCurrentDock) Old->ChangeDockList(false, this);
  } else if (FCurrentDock) {
    SetLastDock(FCurrentDock);
  }
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

void TTBCustomDockableWindow::SetAutoResize(bool V) {
  if (FAutoResize == V) return;
  FAutoResize = V;
  if (V) Arrange();
}

void TTBCustomDockableWindow::RecalcFrame() {
  if (FDocked) RunDockLayout();
  Invalidate();
}

void TTBCustomDockableWindow::SetBorderStyle(TBorderStyle V) {
  if (FBorderStyle == V) return;
  FBorderStyle = V;
  if (FDocked) RecalcFrame();
}

void TTBCustomDockableWindow::SetCloseButton(bool V) {
  if (FCloseButton == V) return;
  FCloseButton = V;
  if (FFloating && FFloatParent) FFloatParent->RedrawNCArea(kTBFloatCaption | kTBFloatCloseButton);
}

void TTBCustomDockableWindow::SetCloseButtonWhenDocked(bool V) {
  if (FCloseButtonWhenDocked == V) return;
  FCloseButtonWhenDocked = V;
  if (FDocked) RecalcFrame();
}

void TTBCustomDockableWindow::SetDragHandleStyle(TTBDragHandleStyle V) {
  if (FDragHandleStyle == V) return;
  FDragHandleStyle = V;
  if (FDocked) RecalcFrame();
}

void TTBCustomDockableWindow::SetFloatingMode(TTBFloatingMode V) {
  if (FFloatingMode == V) return;
  FFloatingMode = V;
  if (FFloatParent) MakeFloatingToolWindow(FFloatParent, V == fmOnTopOfParentForm ? FFloatParent->ParentForm() : nullptr);
  UpdateVisibility();
}

void TTBCustomDockableWindow::SetResizable(bool V) {
  if (FResizable == V) return;
  FResizable = V;
  // The frame width changes with it.
  if (FFloating) Arrange();
}

void TTBCustomDockableWindow::SetShowCaption(bool V) {
  if (FShowCaption == V) return;
  FShowCaption = V;
  if (FFloating) Arrange();
}

void TTBCustomDockableWindow::BeginUpdate() { ++FUpdateCount; }

void TTBCustomDockableWindow::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0 && FArrangePending) Arrange();
}

TPoint TTBCustomDockableWindow::SizeForState(bool, TTBDockKind, bool, TTBDock*) { return BaseSize(); }

TPoint TTBCustomDockableWindow::BaseSize() { return {Width(), Height()}; }

void TTBCustomDockableWindow::Arrange() {
  if (FUpdateCount > 0 || ComponentState().Contains(csLoading) || !Parent()) {
    FArrangePending = true;
    return;
  }
  FArrangePending = false;
  // Docked, the dock's layout asks the window for its size itself.
  if (FDocked) {
    RunDockLayout();
    return;
  }
  const TPoint Size = SizeForState(true, DockKindOf(FCurrentDock, FFloating), FFloating, FCurrentDock);
  if (CanAutoSize()) ApplySize(Size);
}

void TTBCustomDockableWindow::ApplySize(TPoint Size) {
  if (FDocked) {
    RunDockLayout();
    return;
  }
  TPoint S = Size;
  const TPoint NC = DockedNCSize();
  S.X += NC.X;
  S.Y += NC.Y;
  if (!FFloating) {
    if (Anchors().Contains(akLeft) && Anchors().Contains(akRight)) S.X = Width();
    if (Anchors().Contains(akTop) && Anchors().Contains(akBottom)) S.Y = Height();
  }
  ++FBoundsLock;
  SetBounds(Left(), Top(), S.X, S.Y);
  --FBoundsLock;
}

void TTBCustomDockableWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FFloating && FFloatParent && Parent() == FFloatParent && !ComponentState().Contains(csDesigning)) {
    // The floating window's client area is exactly the window.
    TPoint TL, BR;
    FloatingNCOffsets(TL, BR);
    const TRect R = FFloatParent->BoundsRect();
    FFloatParent->SetBounds(R.Left, R.Top, AWidth + TL.X + BR.X, AHeight + TL.Y + BR.Y);
    ALeft = TL.X;
    ATop = TL.Y;
  }
  const bool SizeChanging = AWidth != Width() || AHeight != Height();
  const bool Moving = ALeft != Left() || ATop != Top();
  if (FBoundsLock == 0 && SizeChanging) SizeChanged(AWidth, AHeight);
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Moving) NotifyMoved();
}

void TTBCustomDockableWindow::NotifyMoved() {
  if (FDisableMoveNotify > 0 || ComponentState().Contains(csLoading)) return;
  if (FDocked && FCurrentDock && FCurrentDock->HasBackground()) Invalidate();  // the picture lines up anew
  if (OnMove) OnMove(this);
}

TRect TTBCustomDockableWindow::ClientRect() const {
  if (!FDocked || !FCurrentDock) return Rect(0, 0, Width(), Height());
  TRect R = Rect(2, 2, std::max(2, Width() - 2), std::max(2, Height() - 2));
  if (FCurrentDock->AllowDrag()) {
    if (IsVerticalDockPosition(FCurrentDock->Position()))
      R.Top = std::min(R.Bottom, R.Top + DragHandleSize());
    else
      R.Left = std::min(R.Right, R.Left + DragHandleSize());
  }
  return R;
}

TPoint TTBCustomDockableWindow::FloatingBorderSize() const {
  const int B = FResizable ? kTBFloatingSizingBorder : kTBFloatingFixedBorder;
  return {B, B};
}

void TTBCustomDockableWindow::FloatingNCOffsets(TPoint& TopLeft, TPoint& BottomRight) const {
  const TPoint B = FloatingBorderSize();
  TopLeft = {B.X, B.Y + (FShowCaption ? kTBFloatingCaptionHeight : 0)};
  BottomRight = B;
}

void TTBCustomDockableWindow::MakeFloating(bool Float) {
  if (Float == FFloating) return;
  TCustomForm* Host = HostFormOfOrError(this);
  if (!Float || ComponentState().Contains(csDesigning)) {
    SetParent(Host);
    return;
  }
  if (!FFloatParent || FFloatParent->ParentForm() != Host) {
    TComponent* Made = FloatingParentClass()->CreateComponent ? FloatingParentClass()->CreateComponent(nullptr) : nullptr;
    auto* FP = dynamic_cast<TTBFloatingWindowParent*>(Made);
    if (!FP) {
      delete Made;
      FP = new TTBFloatingWindowParent(nullptr);
    }
    try {
      FP->SetParentForm(Host);
      FP->SetDockableWindow(this);
      FP->SetCaption(Caption());
      TPoint TL, BR;
      FloatingNCOffsets(TL, BR);
      const TRect C = ClientRect();
      FP->SetBounds(FFloatingPosition.X, FFloatingPosition.Y, C.Width() + TL.X + BR.X, C.Height() + TL.Y + BR.Y);
      MakeFloatingToolWindow(FP, FFloatingMode == fmOnTopOfParentForm ? Host : nullptr);
      FP->SetShowHint(true);
      FP->SetVisible(true);
    } catch (...) {
      delete FP;
      throw;
    }
    if (FFloatParent && Parent() != FFloatParent) delete FFloatParent;
    FFloatParent = FP;
  }
  Host->FreeNotification(this);
  SetParent(FFloatParent);
  // The arrange of the change of parent gave the window its floating size.
  TPoint TL, BR;
  FloatingNCOffsets(TL, BR);
  SetBounds(TL.X, TL.Y, Width(), Height());
}

void TTBCustomDockableWindow::SetFloatingPosition(TPoint P) {
  FFloatingPosition = P;
  if (FFloating && FFloatParent) {
    const TRect R = FFloatParent->BoundsRect();
    FFloatParent->SetBounds(P.X, P.Y, R.Width(), R.Height());
  }
}

void TTBCustomDockableWindow::MoveOnScreen(bool OnlyIfFullyOffscreen) {
  if (!FFloating || !FFloatParent) return;
  TRect R = FFloatParent->BoundsRect();
  const TRect Work = MonitorRectForRect(R, true);
  TRect Dummy;
  if (OnlyIfFullyOffscreen && IntersectRect(Dummy, R, Work)) return;
  // The top-left corner wins when the window is larger than the area.
  if (R.Right > Work.Right) OffsetRect(R, Work.Right - R.Right, 0);
  if (R.Bottom > Work.Bottom) OffsetRect(R, 0, Work.Bottom - R.Bottom);
  if (R.Left < Work.Left) OffsetRect(R, Work.Left - R.Left, 0);
  if (R.Top < Work.Top) OffsetRect(R, 0, Work.Top - R.Top);
  FFloatingPosition = R.TopLeft();
  FFloatParent->SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TTBCustomDockableWindow::ToggleDocked() {
  if (!FDocked) {
    if (FLastDock) {
      SetParent(FLastDock);
    } else if (FDefaultDock) {
      DockRow = 0;
      DockPos = -8;
      SetParent(FDefaultDock);
    }
  } else if (FDockMode == dmCanFloat) {
    MakeFloating(true);
    MoveOnScreen(true);
  }
}

void TTBCustomDockableWindow::Close() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  if (!CanClose) return;
  Hide();
  if (OnClose) OnClose(this);
}

bool TTBCustomDockableWindow::CanDrag() const {
  return (FDocked && FCurrentDock && FCurrentDock->AllowDrag()) || FFloating;
}

bool TTBCustomDockableWindow::ShouldBeVisible() const {
  TTBVisibilityState S;
  S.Showing = Visible();
  S.Reparenting = FHidingCount > 0;
  S.DesignTime = ComponentState().Contains(csDesigning);
  S.Floating = FFloating;
  S.Mode = FFloatingMode;
  S.HideWhenInactive = FHideWhenInactive;
  if (FFloating) {
    TCustomForm* Host = FFloatParent ? FFloatParent->ParentForm() : nullptr;
    S.HostExists = Host != nullptr;
    S.HostHasHandle = Host && Host->HandleAllocated();
    S.HostVisibleNotMinimized = Host && Host->Visible() && !FormIsMinimized(Host);
    S.ApplicationActive = ::ApplicationIsActive();
  }
  return DockableShouldBeVisible(S);
}

void TTBCustomDockableWindow::UpdateVisibility() {
  if (!FFloating || !FFloatParent || Parent() != FFloatParent) return;
  const bool Show = ShouldBeVisible();
  if (Show != FFloatParent->ShouldShow()) FFloatParent->SetShouldShow(Show);
  if (Show) UpdateCaptionState();
}

void TTBCustomDockableWindow::UpdateCaptionState() {
  if (!FFloating || !FFloatParent) return;
  TTBCaptionState S;
  S.PresentInactive = FInactiveCaption;
  TWinControl* Active = ActiveTopLevelControl();
  S.ActivePopupIsMenu = dynamic_cast<TPopupControl*>(Active) != nullptr;
  S.ApplicationActive = ::ApplicationIsActive();
  S.Mode = FFloatingMode;
  TCustomForm* Owner = FFloatParent->ParentForm();
  S.OwnerIsApplication = Owner == nullptr;
  if (auto* FP = dynamic_cast<TTBFloatingWindowParent*>(Active)) Active = FP->ParentForm();
  S.ActiveWindowIsOwner = Owner && Active && (Active == Owner || HostFormOf(Active) == Owner);
  const bool Inactive = FloatingCaptionInactive(S);
  if (Inactive == FInactiveCaption) return;
  FInactiveCaption = Inactive;
  FFloatParent->RedrawNCArea(kTBFloatFrame | kTBFloatCaption | kTBFloatCloseButton);
}

// ---- row layout view

bool TTBCustomDockableWindow::IsVisibleChild() const {
  return FCurrentDock && Parent() == FCurrentDock &&
         (Visible() || FCurrentDock->ComponentState().Contains(csDesigning));
}

bool TTBCustomDockableWindow::IsBeingDestroyed() const { return ComponentState().Contains(csDestroying); }

TPoint TTBCustomDockableWindow::DockedNCSizeFor(TTBDock* Dock) {
  if (!Dock) return {0, 0};
  TPoint P{4, 4};
  if (Dock->AllowDrag()) {
    if (IsVerticalDockPosition(Dock->Position()))
      P.Y += DragHandleSize();
    else
      P.X += DragHandleSize();
  }
  return P;
}

TPoint TTBCustomDockableWindow::DockedNCSize() { return FDocked ? DockedNCSizeFor(FCurrentDock) : TPoint{0, 0}; }

int TTBCustomDockableWindow::MinimumLength() {
  int L = 0;
  MinimumRowLength(L);
  return L;
}

TPoint TTBCustomDockableWindow::SizeForShrunkLength(int, bool) {
  return SizeForState(false, DockKindOf(FCurrentDock, false), false, FCurrentDock);
}

TPoint TTBCustomDockableWindow::PresentClientSize() {
  const TPoint NC = DockedNCSize();
  return {Width() - NC.X, Height() - NC.Y};
}

void TTBCustomDockableWindow::PlaceInDock(const TRect& Bounds, bool Resized) {
  const int Shrunk = ShrunkLength;
  if (Resized) FArrangePending = true;
  ++FBoundsLock;
  TRect R = Bounds;
  // The bound lines are painted inside the dock's own area.
  if (FCurrentDock) OffsetRect(R, FCurrentDock->ClientOffset().X, FCurrentDock->ClientOffset().Y);
  SetBoundsRect(R);
  --FBoundsLock;
  ShrunkLength = Shrunk;
  if (Resized) SizeChanged(Bounds.Width(), Bounds.Height());
  FArrangePending = false;
  ChildOriginChanged();  // the dock's drag handle may have come or gone
}

void TTBCustomDockableWindow::PointOverChild(TPoint P, bool& Found) {
  const TPoint O = ChildOrigin();
  P = Point(P.X - O.X, P.Y - O.Y);
  for (int I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (C->Visible() && C->BoundsRect().Contains(P) && !IsIgnoredChild(C)) {
      Found = true;
      return;
    }
  }
}

// ---- docked frame

TRect TTBCustomDockableWindow::DockedCloseButtonRect(bool Vertical) {
  const int S = DragHandleSize() - 3;
  const TRect C = ClientRect();
  if (Vertical) return Bounds(C.Width() - S + 2, 3, S, S);
  return Bounds(3, 2, S, S);
}

int TTBCustomDockableWindow::NCHitTest(TPoint P) {
  if (ClientRect().Contains(P) || !FDocked || !FCurrentDock) return HTCLIENT;
  if (FCloseButtonWhenDocked && FCurrentDock->AllowDrag() &&
      DockedCloseButtonRect(IsVerticalDockPosition(FCurrentDock->Position())).Contains(P))
    return kTBHitCloseButton;
  return kTBHitDragArea;
}

void TTBCustomDockableWindow::DrawDockedNCArea(TCanvas* C) {
  if (!FDocked || !FCurrentDock || !HandleAllocated()) return;
  const bool Vertical = IsVerticalDockPosition(FCurrentDock->Position());
  const bool BgShows = FCurrentDock->HasBackground() && FCurrentDock->BackgroundOnToolbars();
  TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  if (FBorderStyle == bsSingle) {
    TRect E = R;
    DrawEdge(C, E, BDR_RAISEDINNER, BF_RECT);
  } else {
    C->FrameRect(R);
  }
  TRect Inner = R;
  InflateRect(Inner, -1, -1);
  if (!BgShows) C->FrameRect(Inner);
  if (!FCurrentDock->AllowDrag()) return;
  const int Handle = DragHandleSize();
  const int Cl = Vertical ? ClientRect().Width() : ClientRect().Height();
  int Start = 2, End = Cl + 2;
  if (!BgShows) {
    C->Brush()->SetColor(Color());
    C->FillRect(Vertical ? Rect(2, 2, End, Handle + 2) : Rect(2, 2, Handle + 2, End));
  }
  if (FDragHandleStyle != dhNone) {
    int E = GripOffsetFor(FCloseButtonWhenDocked, FDragHandleStyle) + 2;
    if (FCloseButtonWhenDocked) {
      if (Vertical)
        End = Cl - Handle + 4;
      else
        Start = Handle;
    }
    const int G = FDragHandleStyle == dhSingle ? 1 : 0;
    for (int Bar = 0; Bar < (FDragHandleStyle == dhDouble ? 2 : 1); ++Bar) {
      TRect B = Vertical ? Rect(Start + G, E, End - G, E + 3) : Rect(E, Start + G, E + 3, End - G);
      DrawEdge(C, B, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
      if (Vertical)
        C->SetPixels(End - G - 1, E, clBtnHighlight);
      else
        C->SetPixels(E, End - G - 1, clBtnHighlight);
      E += 3;
    }
  }
  if (FCloseButtonWhenDocked) {
    TRect B = DockedCloseButtonRect(Vertical);
    if (FClosePressed)
      DrawEdge(C, B, BDR_SUNKENOUTER, BF_RECT);
    else if (FCloseHot)
      DrawEdge(C, B, BDR_RAISEDINNER, BF_RECT);
    InflateRect(B, -2, -2);
    if (FClosePressed) OffsetRect(B, 1, 1);
    for (int Y = 0; Y < 8 && Y < B.Height(); ++Y)
      for (int X = 0; X < 8 && X < B.Width(); ++X)
        if (kDockedCloseGlyph[Y] & (0x80 >> X)) C->SetPixels(B.Left + X, B.Top + Y, clBtnText);
  }
}

void TTBCustomDockableWindow::PaintWindow() {
  TCustomControl::PaintWindow();
  // The frame and handle are margins the window paints itself.
  DrawDockedNCArea(Canvas());
}

bool TrackNCButton(const TRect& ButtonScreenRect, const std::function<void(bool Pressed)>& State) {
  bool Inside = true, Released = false, Ended = false;
  State(true);
  TNestedEventLoop Loop;
  Loop.Run([&](const TInputEvent& E) {
    // Events already queued when the loop ended are not the button's.
    if (Ended) return irPass;
    switch (E.Kind) {
      case ikMouseMove:
        Inside = ButtonScreenRect.Contains(E.ScreenPos);
        State(Inside);
        break;
      case ikMouseUp:
        if (E.Button == mbLeft) {
          Inside = ButtonScreenRect.Contains(E.ScreenPos);
          Released = Ended = true;
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
  State(false);
  return Released && Inside;
}

void TTBCustomDockableWindow::TrackDockedCloseButton() {
  if (!FCurrentDock) return;
  TRect B = DockedCloseButtonRect(IsVerticalDockPosition(FCurrentDock->Position()));
  const TPoint O = ClientToScreen({0, 0});
  OffsetRect(B, O.X, O.Y);
  const bool Clicked = TrackNCButton(B, [this](bool Pressed) {
    if (Pressed == FClosePressed) return;
    FClosePressed = Pressed;
    Invalidate();
  });
  if (Clicked) Close();
}

void TTBCustomDockableWindow::WMLButtonDown(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  const int Hit = NCHitTest(P);
  if (Hit == kTBHitCloseButton) {
    TrackDockedCloseButton();
    return;
  }
  // Whether the press is on an item is decided before the press is handled:
  // the handler may run a menu and its command, and asking at the press
  // point afterwards would select (highlight) the item the mouse has left.
  const bool MayDrag = Hit == kTBHitDragArea || (Hit == HTCLIENT && CanDrag());
  bool OverChild = false;
  if (MayDrag && Hit == HTCLIENT) PointOverChild(P, OverChild);
  TCustomControl::WMLButtonDown(M);
  if (MayDrag) {
    if (!OverChild && CanDrag()) {
      if (MouseCapture()) SetMouseCapture(false);
      const TRect C = ClientRect();
      BeginMoving(P.X - C.Left, P.Y - C.Top);
      MouseUp(mbLeft, {}, -1, -1);
    }
  }
}

void TTBCustomDockableWindow::WMLButtonDblClk(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  const int Hit = NCHitTest(P);
  TCustomControl::WMLButtonDblClk(M);
  bool OverChild = false;
  if (Hit == HTCLIENT) PointOverChild(P, OverChild);
  if (Hit != kTBHitCloseButton && !OverChild && (CanDrag() || !FDocked)) ToggleDocked();
}

void TTBCustomDockableWindow::WMRButtonUp(TMessage& M) {
  const TPoint P = Point(M.XPos(), M.YPos());
  if (NCHitTest(P) != HTCLIENT) {
    // A release on the frame asks for the window's context menu.
    const TPoint S = ClientToScreen(P);
    Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>((S.X & 0xFFFF) | ((S.Y & 0xFFFF) << 16)));
    return;
  }
  TCustomControl::WMRButtonUp(M);
}

void TTBCustomDockableWindow::WMMouseMove(TMessage& M) {
  TCustomControl::WMMouseMove(M);
  const TPoint P = Point(M.XPos(), M.YPos());
  const int Hit = NCHitTest(P);
  const bool Hot = Hit == kTBHitCloseButton;
  if (Hot != FCloseHot) {
    FCloseHot = Hot;
    Invalidate();
  }
  // The size-all arrow over the drag handle.
  bool Handle = false;
  if (FDocked && FCurrentDock && FCurrentDock->AllowDrag() && Hit == kTBHitDragArea && FDragHandleStyle != dhNone) {
    const int D = IsVerticalDockPosition(FCurrentDock->Position()) ? P.Y : P.X;
    Handle = D < DragHandleSize() + 2;
  }
  if (Handle != FHandleCursorSet) {
    FHandleCursorSet = Handle;
    SetCursor(Handle ? crSizeAll : crDefault);
  }
}

void TTBCustomDockableWindow::CMMouseLeave(TMessage& M) {
  TCustomControl::CMMouseLeave(M);
  if (FCloseHot) {
    FCloseHot = false;
    Invalidate();
  }
}

void TTBCustomDockableWindow::CMVisibleChanged(TMessage& M) {
  TCustomControl::CMVisibleChanged(M);
  if (ComponentState().Contains(csDesigning)) return;
  if (FDocked && FCurrentDock) FCurrentDock->ChangeVisibleList(this, false);
  UpdateVisibility();
  if (OnVisibleChanged) OnVisibleChanged(this);
}

void TTBCustomDockableWindow::CMTextChanged(TMessage& M) {
  TCustomControl::CMTextChanged(M);
  if (FFloatParent) FFloatParent->SetCaption(Caption());
}

bool TTBCustomDockableWindow::HasParent() const {
  return !dynamic_cast<TTBFloatingWindowParent*>(Parent());
}

TComponent* TTBCustomDockableWindow::GetParentComponent() const {
  return dynamic_cast<TTBFloatingWindowParent*>(Parent()) ? nullptr : TCustomControl::GetParentComponent();
}

TClass TTBCustomDockableWindow::FloatingParentClass() const { return &TTBFloatingWindowParent::StaticClass(); }

void TTBCustomDockableWindow::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  Filer->DefineProperty(
      "SavedAtRunTime", [this](TReader* R) { FSavedAtRunTime = R->ReadBoolean(); },
      [](TWriter* W) { W->WriteBoolean(true); }, !ComponentState().Contains(csDesigning));
}

void TTBCustomDockableWindow::Loaded() {
  TCustomControl::Loaded();
  if (!FSavedAtRunTime && !ComponentState().Contains(csDesigning) && FFloatParent && Parent() == FFloatParent) {
    // Bounds stored at design time are client coordinates of the host form.
    if (TCustomForm* Host = HostFormOf(this)) {
      const TPoint P = Host->ClientToScreen(TPoint(Left(), Top()));
      SetFloatingPosition(P);
      MoveOnScreen(true);
    }
  }
  AfterLoad();
  Arrange();
}

void TTBCustomDockableWindow::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLastDock) FLastDock = nullptr;
  if (AComponent == FDefaultDock) FDefaultDock = nullptr;
  if (AComponent == FCurrentDock) {
    FCurrentDock = nullptr;
    FDocked = false;
    ChildOriginChanged();
  }
  if (FFloatParent && AComponent == FFloatParent->ParentForm() && Parent() != FFloatParent) {
    delete FFloatParent;
    FFloatParent = nullptr;
  }
}
