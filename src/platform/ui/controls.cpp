#include "platform/ui/controls.h"

#include "platform/rtl/mathutils.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <deque>
#include <map>
#include <utility>

#include "platform/ui/forms.h"
#include "platform/ui/menus.h"
#include "platform/ui/qt_ui.h"
#include "platform/ui/taborder.h"

// ---------------------------------------------------------------------------
// Handles, capture, posted messages

namespace {

std::map<HWND, TWinControl*>& Handles() {
  static std::map<HWND, TWinControl*> m;
  return m;
}
HWND NextHandle = 0x100;
TControl* CaptureControl = nullptr;

struct TPosted {
  HWND Handle;
  TMessage Msg;
};
std::deque<TPosted>& PostedQueue() {
  static std::deque<TPosted> q;
  return q;
}

class TPostedEvent : public QEvent {
public:
  TPostedEvent() : QEvent(static_cast<QEvent::Type>(QEvent::User + 101)) {}
};

class TPostDispatcher : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User + 101) {
      DeliverPostedMessages();
      return true;
    }
    return QObject::event(e);
  }
};

TPostDispatcher* Dispatcher() {
  EnsureQtApplication();
  static TPostDispatcher* d = new TPostDispatcher();
  return d;
}

}  // namespace

TWinControl* FindControl(HWND Handle) {
  auto it = Handles().find(Handle);
  return it == Handles().end() ? nullptr : it->second;
}

void DeliverPostedMessages() {
  auto& q = PostedQueue();
  while (!q.empty()) {
    TPosted p = q.front();
    q.pop_front();
    if (TWinControl* c = FindControl(p.Handle)) {
      GuardEvent(c, [&] { c->Perform(p.Msg.Msg, p.Msg.WParam, p.Msg.LParam); });
    }
  }
}

bool PostMessage(HWND Handle, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  if (!FindControl(Handle)) return false;
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  PostedQueue().push_back({Handle, m});
  QCoreApplication::postEvent(Dispatcher(), new TPostedEvent());
  return true;
}

LRESULT SendMessage(HWND Handle, unsigned Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* c = FindControl(Handle);
  return c ? c->Perform(Msg, WParam, LParam) : 0;
}

int SetWindowRgn(HWND Handle, HRGN Rgn, bool Redraw) {
  TWinControl* c = FindControl(Handle);
  QWidget* w = c ? c->Impl()->Widget.data() : nullptr;
  if (!w) return 0;
  if (!Rgn) {
    w->clearMask();
  } else {
    const QRegion& shape = GfxRegion(*Rgn);
    // Qt takes an empty mask for no mask at all; a pixel outside the widget
    // keeps an empty shape showing nothing, as the device does.
    w->setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
    DeleteObject(Rgn);
  }
  if (Redraw) w->update();
  return 1;
}

unsigned RegisterWindowMessage(const std::string& name) {
  static std::map<std::string, unsigned> names;
  auto it = names.find(name);
  if (it != names.end()) return it->second;
  const unsigned id = 0xC000 + static_cast<unsigned>(names.size());
  names[name] = id;
  return id;
}

TControl* GetCaptureControl() { return CaptureControl; }

void SetCaptureControl(TControl* Control) {
  if (CaptureControl == Control) return;
  TControl* old = CaptureControl;
  CaptureControl = Control;
  if (old) old->Perform(WM_CAPTURECHANGED, 0, 0);
}

TShiftState KeysToShiftState(unsigned Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  // The layer keeps the shift state in the high bits of the key data.
  return TShiftState::FromBits(static_cast<uint64_t>(KeyData) >> 32 & 0xFF);
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetMode(pmCopy);
  --Rect.Bottom;
  --Rect.Right;
  while (Width > 0) {
    --Width;
    Canvas->Pen()->SetColor(TopColor);
    const TPoint tl[3] = {{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}};
    Canvas->Polyline(tl, 3);
    Canvas->Pen()->SetColor(BottomColor);
    const TPoint br[3] = {{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}};
    Canvas->Polyline(br, 3);
    InflateRect(Rect, -1, -1);
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

// ---------------------------------------------------------------------------
// TControl

ZV_CLASS_IMPL(TControl, TComponent)

void TControl::DeclareProperties(TClassInfo& c) {
  c.Integer<TControl>("Left", &TControl::Left, &TControl::SetLeft);
  c.Integer<TControl>("Top", &TControl::Top, &TControl::SetTop);
  c.Integer<TControl>("Width", &TControl::Width, &TControl::SetWidth);
  c.Integer<TControl>("Height", &TControl::Height, &TControl::SetHeight);
  c.Enum<TControl>("Align", AlignEnumInfo(), &TControl::Align, &TControl::SetAlign, alNone);
  c.Set<TControl>("Anchors", AnchorsEnumInfo(), [](TControl* o) { return o->Anchors().Bits(); },
                  [](TControl* o, uint64_t v) { o->SetAnchors(TAnchors::FromBits(v)); },
                  static_cast<int64_t>(TAnchors{akLeft, akTop}.Bits()));
  c.String<TControl>("Caption", [](TControl* o) { return o->Caption(); }, &TControl::SetText)
      .WithStored([](TObject* o) { return static_cast<TControl*>(o)->ControlStyle().Contains(csSetCaption); });
  c.Integer<TControl>("Color", &TControl::Color, &TControl::SetColor)
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) { return !static_cast<TControl*>(o)->ParentColor(); });
  c.Integer<TControl>("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault).WithIdents(&CursorIdents());
  c.Boolean<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  c.Object<TControl, TFont>("Font", &TControl::Font, [](TControl* o, TFont* f) { o->SetFont(f); })
      .WithStored([](TObject* o) { return !static_cast<TControl*>(o)->ParentFont(); });
  c.String<TControl>("Hint", [](TControl* o) { return o->Hint(); }, &TControl::SetHint);
  c.Boolean<TControl>("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
  c.Boolean<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  c.Boolean<TControl>("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  c.Boolean<TControl>("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .WithStored([](TObject* o) { return !static_cast<TControl*>(o)->ParentShowHint(); });
  c.Boolean<TControl>("Visible", &TControl::Visible, &TControl::SetVisible, true);
  c.Method<TControl, TNotifyEvent>("OnClick", [](TControl* o) { return static_cast<bool>(o->OnClick); },
                                   [](TControl* o, TNotifyEvent e) { o->OnClick = std::move(e); });
  c.Method<TControl, TNotifyEvent>("OnDblClick", [](TControl* o) { return static_cast<bool>(o->OnDblClick); },
                                   [](TControl* o, TNotifyEvent e) { o->OnDblClick = std::move(e); });
  c.Method<TControl, TMouseEvent>("OnMouseDown", [](TControl* o) { return static_cast<bool>(o->OnMouseDown); },
                                  [](TControl* o, TMouseEvent e) { o->OnMouseDown = std::move(e); });
  c.Method<TControl, TMouseMoveEvent>("OnMouseMove", [](TControl* o) { return static_cast<bool>(o->OnMouseMove); },
                                      [](TControl* o, TMouseMoveEvent e) { o->OnMouseMove = std::move(e); });
  c.Method<TControl, TMouseEvent>("OnMouseUp", [](TControl* o) { return static_cast<bool>(o->OnMouseUp); },
                                  [](TControl* o, TMouseEvent e) { o->OnMouseUp = std::move(e); });
  c.Method<TControl, TNotifyEvent>("OnResize", [](TControl* o) { return static_cast<bool>(o->OnResize); },
                                   [](TControl* o, TNotifyEvent e) { o->OnResize = std::move(e); });
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  FFont->OnChange = [this](TObject*) {
    FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  Destroying();
  ForgetDraggedControl(this);
  if (CaptureControl == this) CaptureControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
  FFont->OnChange = nullptr;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

LRESULT TControl::Perform(unsigned Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  if (WindowProc) WindowProc(m);
  else WndProc(m);
  return m.Result;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(M); return;
    case WM_LBUTTONUP: WMLButtonUp(M); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(M); return;
    case WM_RBUTTONDOWN: WMRButtonDown(M); return;
    case WM_RBUTTONUP: WMRButtonUp(M); return;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(M); return;
    case WM_MBUTTONDOWN: WMMButtonDown(M); return;
    case WM_MBUTTONUP: WMMButtonUp(M); return;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(M); return;
    case WM_MOUSEMOVE: WMMouseMove(M); return;
    case WM_MOUSEWHEEL: WMMouseWheel(M); return;
    case WM_CANCELMODE: WMCancelMode(M); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(M); return;
    case WM_CONTEXTMENU: WMContextMenu(M); return;
    case CM_MOUSEENTER: CMMouseEnter(M); return;
    case CM_MOUSELEAVE: CMMouseLeave(M); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(M); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(M); return;
    case CM_COLORCHANGED: CMColorChanged(M); return;
    case CM_FONTCHANGED: CMFontChanged(M); return;
    case CM_TEXTCHANGED: CMTextChanged(M); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(M); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(M); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(M); return;
    case CM_HITTEST: CMHitTest(M); return;
    case CM_CURSORCHANGED: CMCursorChanged(M); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(M); return;
    default: DefaultHandler(M); return;
  }
}

void TControl::DoMouseDown(TMessage& M, TMouseButton Button, TShiftState Shift) {
  MouseDown(Button, KeysToShiftState(static_cast<unsigned>(M.WParam)) + Shift, M.XPos(), M.YPos());
}

void TControl::DoMouseUp(TMessage& M, TMouseButton Button) {
  MouseUp(Button, KeysToShiftState(static_cast<unsigned>(M.WParam)), M.XPos(), M.YPos());
}

void TControl::WMLButtonDown(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  if (FDragMode == dmAutomatic) BeginDragFrom(this, ClientToScreen(Point(M.XPos(), M.YPos())), -1);
  DoMouseDown(M, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(M, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& M) {
  DefaultHandler(M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(Point(M.XPos(), M.YPos()))) Click();
  }
  DoMouseUp(M, mbLeft);
}

void TControl::WMRButtonDown(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbRight, {});
}
void TControl::WMRButtonDblClk(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbRight, {ssDouble});
}
void TControl::WMRButtonUp(TMessage& M) {
  DefaultHandler(M);
  DoMouseUp(M, mbRight);
  if (M.Result == 0) {
    // The context menu follows the right button's release.
    const TPoint screen = ClientToScreen(Point(M.XPos(), M.YPos()));
    Perform(WM_CONTEXTMENU, 0, MAKELPARAM(screen.X, screen.Y));
  }
}
void TControl::WMMButtonDown(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbMiddle, {});
}
void TControl::WMMButtonDblClk(TMessage& M) {
  DefaultHandler(M);
  DoMouseDown(M, mbMiddle, {ssDouble});
}
void TControl::WMMButtonUp(TMessage& M) {
  DefaultHandler(M);
  DoMouseUp(M, mbMiddle);
}

void TControl::WMMouseMove(TMessage& M) {
  DefaultHandler(M);
  MouseMove(KeysToShiftState(static_cast<unsigned>(M.WParam)), M.XPos(), M.YPos());
}

void TControl::WMMouseWheel(TMessage& M) {
  const TShiftState shift = KeysToShiftState(M.WParamLo());
  const int delta = static_cast<int16_t>(M.WParamHi());
  const TPoint pos = Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi()));
  if (DoMouseWheel(shift, delta, pos)) M.Result = 1;
  else DefaultHandler(M);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  FWheelAccumulator += WheelDelta;
  while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    const bool down = FWheelAccumulator < 0;
    FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
    handled = down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::WMCancelMode(TMessage& M) {
  DefaultHandler(M);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
  }
  FControlState.Exclude(csClicked);
}

void TControl::WMCaptureChanged(TMessage& M) { DefaultHandler(M); }

void TControl::WMContextMenu(TMessage& M) {
  bool handled = false;
  const TPoint screen = Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi()));
  if (OnContextPopup) OnContextPopup(this, ScreenToClient(screen), handled);
  if (handled) {
    M.Result = 1;
    return;
  }
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(screen.X, screen.Y);
    M.Result = 1;
    return;
  }
  // Without a menu of its own the control passes the request to its parent.
  if (FParent) {
    FParent->Perform(WM_CONTEXTMENU, M.WParam, M.LParam);
    return;
  }
  DefaultHandler(M);
}

void TControl::CMMouseEnter(TMessage& M) {
  FMouseInside = true;
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
  if (M.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& M) {
  FMouseInside = false;
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
  if (M.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMCursorChanged(TMessage&) {}
void TControl::CMSysColorChange(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage& M) {
  if (FParentColor && FParent) {
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
    FParentColor = true;
  }
  (void)M;
}

void TControl::CMParentFontChanged(TMessage&) {
  if (FParentFont && FParent) {
    FFont->Assign(FParent->Font());
    FParentFont = true;
  }
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->ShowHint();
}

void TControl::CMHitTest(TMessage& M) { M.Result = HTCLIENT; }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void TControl::FontChanged() { Perform(CM_FONTCHANGED, 0, 0); }

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::ScaleBy(int M, int D) {
  if (M != D && M > 0 && D > 0) ChangeScale(M, D);
}

void TControl::ChangeScale(int M, int D) {
  SetBounds(MulDiv(Left(), M, D), MulDiv(Top(), M, D), MulDiv(Width(), M, D), MulDiv(Height(), M, D));
  if (!ParentFont()) Font()->SetSize(MulDiv(Font()->Size(), M, D));
}

void TWinControl::ChangeScale(int M, int D) {
  // A copy: a child's change of size may realign the others.
  const std::vector<TControl*> children(FControls);
  for (TControl* c : children) c->ChangeScale(M, D);
  TControl::ChangeScale(M, D);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FComponentState.Contains(csLoading)) {
    // A stream may hold any integer; the edges and anchor distances computed
    // from these must not overflow.
    ALeft = std::clamp(ALeft, -kMaxStreamedBound, kMaxStreamedBound);
    ATop = std::clamp(ATop, -kMaxStreamedBound, kMaxStreamedBound);
    AWidth = std::min(AWidth, kMaxStreamedBound);
    AHeight = std::min(AHeight, kMaxStreamedBound);
  }
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool sizeChanged = AWidth != FWidth || AHeight != FHeight;
  if (FParent && IsGraphic()) FParent->Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  BoundsChanged(sizeChanged);
  if (FParent && FAlign != alNone && !FComponentState.Contains(csLoading)) FParent->Realign();
}

void TControl::BoundsChanged(bool sizeChanged) {
  Invalidate();
  if (sizeChanged && !FComponentState.Contains(csLoading)) Resize();
}

void TControl::UpdateAnchorRules() {
  if (!FParent) return;
  const TRect pc = FParent->ClientRect();
  FAnchorRight = pc.Width() - (FLeft + FWidth);
  FAnchorBottom = pc.Height() - (FTop + FHeight);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return Point(FLeft, FTop);
  const TPoint p = FParent->ClientOrigin(), o = FParent->ChildOrigin();
  return Point(p.X + o.X + FLeft, p.Y + o.Y + FTop);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint o = ClientOrigin();
  return Point(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint o = ClientOrigin();
  return Point(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign v) {
  if (FAlign == v) return;
  FAlign = v;
  if (FParent && !FComponentState.Contains(csLoading)) FParent->Realign();
}

void TControl::SetAnchors(TAnchors v) {
  if (FAnchors == v) return;
  FAnchors = v;
  UpdateAnchorRules();
}

void TControl::SetVisible(bool v) {
  if (FVisible == v) return;
  VisibleChanging();
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  if (FParent) {
    if (FAlign != alNone) FParent->Realign();
    if (IsGraphic()) FParent->Invalidate();
  }
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
  if (FColor == v) {
    FParentColor = false;
    return;
  }
  FColor = v;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (FParentColor == v) return;
  FParentColor = v;
  if (v && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  if (FParentFont == v) return;
  FParentFont = v;
  if (v && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetText(const std::string& v) {
  if (FText == v) return;
  FText = v;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
  FShowHint = v;
  FParentShowHint = false;
}

void TControl::SetParentShowHint(bool v) {
  FParentShowHint = v;
  if (v && FParent) FShowHint = FParent->ShowHint();
}

void TControl::SetCursor(TCursor v) {
  if (FCursor == v) return;
  FCursor = v;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  FPopupMenu = v;
  if (v) FreeNotification(v);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FPopupMenu == AComponent) FPopupMenu = nullptr;
}

void TControl::SetControlStyle(TControlStyle v) {
  if (FControlStyle == v) return;
  const bool parentBackground = FControlStyle.Contains(csParentBackground) != v.Contains(csParentBackground);
  FControlStyle = v;
  if (parentBackground && !IsGraphic()) {
    static_cast<TWinControl*>(this)->FImpl->SyncParentBackground();
    Invalidate();
  }
}

bool TControl::MouseCapture() const { return CaptureControl == this; }

void TControl::SetMouseCapture(bool v) {
  if (v) SetCaptureControl(this);
  else if (CaptureControl == this) SetCaptureControl(nullptr);
}

void TControl::Invalidate() {
  if (FParent && FVisible) FParent->Invalidate();
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& v = FParent->FControls;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  v.push_back(this);
  if (!IsGraphic()) {
    auto* w = static_cast<TWinControl*>(this);
    if (w->Impl() && w->Impl()->Widget) w->Impl()->Widget->raise();
  }
  FParent->Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& v = FParent->FControls;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  v.insert(v.begin(), this);
  if (!IsGraphic()) {
    auto* w = static_cast<TWinControl*>(this);
    if (w->Impl() && w->Impl()->Widget) w->Impl()->Widget->lower();
  }
  FParent->Invalidate();
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
    UpdateAnchorRules();
    if (FAlign != alNone) FParent->Realign();
  }
}

void TControl::SendToChildren(unsigned Msg) {
  if (IsGraphic()) return;
  auto* w = static_cast<TWinControl*>(this);
  for (TControl* c : std::vector<TControl*>(w->FControls)) c->Perform(Msg, 0, 0);
}

// ---------------------------------------------------------------------------
// TWinControl

ZV_CLASS_IMPL(TWinControl, TControl)

void TWinControl::DeclareProperties(TClassInfo& c) {
  c.Integer<TWinControl>("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
  c.Boolean<TWinControl>("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  c.Method<TWinControl, TNotifyEvent>("OnEnter", [](TWinControl* o) { return static_cast<bool>(o->OnEnter); },
                                      [](TWinControl* o, TNotifyEvent e) { o->OnEnter = std::move(e); });
  c.Method<TWinControl, TNotifyEvent>("OnExit", [](TWinControl* o) { return static_cast<bool>(o->OnExit); },
                                      [](TWinControl* o, TNotifyEvent e) { o->OnExit = std::move(e); });
  c.Method<TWinControl, TKeyEvent>("OnKeyDown", [](TWinControl* o) { return static_cast<bool>(o->OnKeyDown); },
                                   [](TWinControl* o, TKeyEvent e) { o->OnKeyDown = std::move(e); });
  c.Method<TWinControl, TKeyPressEvent>("OnKeyPress", [](TWinControl* o) { return static_cast<bool>(o->OnKeyPress); },
                                        [](TWinControl* o, TKeyPressEvent e) { o->OnKeyPress = std::move(e); });
  c.Method<TWinControl, TKeyEvent>("OnKeyUp", [](TWinControl* o) { return static_cast<bool>(o->OnKeyUp); },
                                   [](TWinControl* o, TKeyEvent e) { o->OnKeyUp = std::move(e); });
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FImpl(std::make_unique<TWinControlImpl>(this)) {
  FControlStyle.Include(csAcceptsControls);
  FColor = clBtnFace;
}

TWinControl::~TWinControl() {
  Destroying();
  // Child controls go with their parent, whoever owns them.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    delete c;
  }
  if (FParent) FParent->RemoveControl(this);
  DestroyHandle();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FControls[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl* AControl) {
  FControls.push_back(AControl);
  AControl->FParent = this;
  if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (AControl->FParentShowHint) AControl->FShowHint = FShowHint;
  AControl->UpdateAnchorRules();
  if (!AControl->IsGraphic()) {
    auto* w = static_cast<TWinControl*>(AControl);
    if (HandleAllocated() || w->HandleAllocated()) {
      HandleNeeded();
      w->HandleNeeded();
      if (w->FImpl->Widget) {
        w->FImpl->Widget->setParent(FImpl->Widget);
        PlaceChildWidget(w);
        w->FImpl->Widget->setVisible(w->FVisible);
      }
    }
  }
  if (AControl->FAlign != alNone && !FComponentState.Contains(csLoading)) Realign();
  Invalidate();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  if (FMouseControl == AControl) FMouseControl = nullptr;
  FControls.erase(it);
  AControl->FParent = nullptr;
  if (!AControl->IsGraphic()) {
    auto* w = static_cast<TWinControl*>(AControl);
    if (w->FImpl && w->FImpl->Widget) {
      w->FImpl->Widget->hide();
      w->FImpl->Widget->setParent(nullptr);
    }
  }
  if (!FComponentState.Contains(csDestroying)) {
    if (AControl->FAlign != alNone) Realign();
    Invalidate();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  }
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (const TControl* c = Control; c; c = c->FParent)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
  const TPoint o = ChildOrigin();
  Pos = Point(Pos.X - o.X, Pos.Y - o.Y);
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && !c->IsGraphic()) continue;
    if (!c->FVisible || (!c->FEnabled && !AllowDisabled)) continue;
    if (c->BoundsRect().Contains(Pos)) {
      if (c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.X - c->FLeft, Pos.Y - c->FTop)) != 0) return c;
    }
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(const std::string& ControlName) const {
  for (TControl* c : FControls)
    if (SameIdent(c->Name(), ControlName)) return c;
  return nullptr;
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* c : FControls)
    if (c->Owner() == Root) Proc(c);
}

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
  auto* c = dynamic_cast<TControl*>(Child);
  auto it = std::find(FControls.begin(), FControls.end(), c);
  if (it == FControls.end()) return;
  FControls.erase(it);
  Order = std::clamp(Order, 0, static_cast<int>(FControls.size()));
  FControls.insert(FControls.begin() + Order, c);
}

HWND TWinControl::Handle() {
  if (!FImpl->Widget) CreateHandle();
  return FImpl->Handle;
}

bool TWinControl::HandleAllocated() const { return FImpl && FImpl->Widget; }

void TWinControl::CreateHandle() {
  if (FImpl->Widget) return;
  EnsureQtApplication();
  if (FParent) FParent->HandleNeeded();
  // Making the parent's window makes its children's, this one's included.
  if (FImpl->Widget) return;
  CreateWnd();
  if (!FImpl->Widget) return;
  QWidget* w = FImpl->Widget;
  if (FParent) {
    w->setParent(FParent->FImpl->Widget);
    PlaceChildWidget(this);
  }
  w->setEnabled(FEnabled);
  w->setCursor(CursorToQt(FCursor));
  w->setFont(GfxMakeQFont(*FFont));
  FImpl->SyncParentBackground();
  if (FParent) w->setVisible(FVisible);
  for (TControl* c : FControls)
    if (!c->IsGraphic()) static_cast<TWinControl*>(c)->CreateHandle();
}

void TWinControl::CreateWnd() {
  auto* w = new TSurfaceWidget(this, nullptr);
  AttachWidget(this, w);
}

void TWinControl::DestroyHandle() {
  if (!FImpl || !FImpl->Widget) return;
  for (TControl* c : FControls)
    if (!c->IsGraphic()) static_cast<TWinControl*>(c)->DestroyHandle();
  if (FImpl->Canvas) GfxUnbindCanvas(FImpl->Canvas.get());
  QWidget* w = FImpl->Widget;
  if (auto* s = dynamic_cast<TSurfaceWidget*>(w)) s->Detach();
  if (auto* s = dynamic_cast<TSurfaceWidget*>(FImpl->Focus)) s->Detach();
  if (FImpl->Bridge) {
    w->removeEventFilter(FImpl->Bridge.get());
    if (FImpl->Focus && FImpl->Focus != w) FImpl->Focus->removeEventFilter(FImpl->Bridge.get());
  }
  Handles().erase(FImpl->Handle);
  FImpl->Handle = 0;
  FImpl->Focus = nullptr;
  FImpl->Widget = nullptr;
  // Inside one of the widget's own events Qt still needs it.
  if (FImpl->InEvent > 0) {
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
  } else {
    delete w;
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return true;
}

bool TWinControl::Focused() const {
  QWidget* f = FImpl->Focus ? FImpl->Focus : FImpl->Widget.data();
  return f && f->hasFocus();
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm()) {
    if (form != this) {
      form->SetActiveControl(this);
      return;
    }
  }
  HandleNeeded();
  QWidget* f = FImpl->Focus ? FImpl->Focus : FImpl->Widget.data();
  if (f) f->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetTabOrder(int v) { FTabOrder = v; }

void TWinControl::Invalidate() {
  if (!FImpl) return;
  FImpl->NeedsPaint = true;
  FImpl->SyncParentBackground();  // the style or the parent may have changed
  FImpl->UpdateWidget();
}

namespace {

// Paints of the layer under way: drawing done inside one is shown by it.
int PaintDepth = 0;

struct TPaintScope {
  TPaintScope() { ++PaintDepth; }
  ~TPaintScope() { --PaintDepth; }
};

}  // namespace

void TWinControlImpl::SurfaceUsed() {
  if (PaintDepth == 0 && !Painting) UpdateWidget();
}

void TWinControl::PaintNow() {
  if (!CustomPainted() || !FImpl->NeedsPaint || FImpl->Painting) return;
  const TPaintScope scope;
  FImpl->SizeSurface();
  if (FImpl->Surface.isNull()) return;
  FImpl->NeedsPaint = false;
  FImpl->Painting = true;
  try {
    Perform(WM_PAINT, 0, 0);
  } catch (...) {
    FImpl->Painting = false;
    FImpl->FlushSurface();
    throw;
  }
  FImpl->Painting = false;
  FImpl->FlushSurface();
}

void TWinControl::Update() {
  PaintNow();
  for (TControl* c : FControls)
    if (!c->IsGraphic() && c->FVisible) static_cast<TWinControl*>(c)->Update();
  FImpl->UpdateWidget();
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged(bool sizeChanged) {
  // Only the outermost change: a handler's own change made from inside it is placed.
  const bool followed = std::exchange(FImpl->FollowsWindowSystem, false);
  if (FImpl->Widget) {
    if (FParent) PlaceChildWidget(this);
    else if (!followed) {
      // Sized first: a size change before the window is framed would undo
      // the frame-inclusive placing.
      FImpl->Widget->resize(FWidth, FHeight);
      PlaceWindowFrame(FImpl->Widget, FLeft, FTop);
    }
  }
  if (sizeChanged) {
    FImpl->NeedsPaint = true;
    if (!FComponentState.Contains(csLoading)) {
      Realign();
      Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(ClientWidth(), ClientHeight()));
    }
  }
  Invalidate();
}

void TWinControl::Realign() {
  ChildOriginChanged();
  TRect r = ClientRect();
  const TPoint o = ChildOrigin();
  OffsetRect(r, -o.X, -o.Y);
  AlignControls(nullptr, r);
}

void TWinControl::ChildOriginChanged() {
  const TPoint o = ChildOrigin();
  if (o == FImpl->PlacedChildOrigin) return;
  FImpl->PlacedChildOrigin = o;
  for (TControl* c : FControls)
    if (!c->IsGraphic()) PlaceChildWidget(static_cast<TWinControl*>(c));
  Invalidate();  // graphic children paint at their new place
}

void TWinControl::AlignControls(TControl*, TRect R) {
  static thread_local int depth = 0;
  if (depth > 8) return;
  ++depth;
  const TRect client = ClientRect();
  // Anchored children follow the parent's size.
  for (TControl* c : FControls) {
    if (c->FAlign != alNone || c->FAnchorRight < 0) continue;
    int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
    if (c->FAnchors.Contains(akRight)) {
      if (c->FAnchors.Contains(akLeft)) w = client.Width() - c->FAnchorRight - l;
      else l = client.Width() - c->FAnchorRight - w;
    }
    if (c->FAnchors.Contains(akBottom)) {
      if (c->FAnchors.Contains(akTop)) h = client.Height() - c->FAnchorBottom - t;
      else t = client.Height() - c->FAnchorBottom - h;
    }
    if (l != c->FLeft || t != c->FTop || w != c->FWidth || h != c->FHeight) {
      const int ar = c->FAnchorRight, ab = c->FAnchorBottom;
      c->SetBounds(l, t, w, h);
      c->FAnchorRight = ar;
      c->FAnchorBottom = ab;
    }
  }
  auto place = [&](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == a && c->FVisible) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
      switch (a) {
        case alTop: return x->FTop < y->FTop;
        case alBottom: return x->FTop + x->FHeight > y->FTop + y->FHeight;
        case alLeft: return x->FLeft < y->FLeft;
        case alRight: return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
        default: return false;
      }
    });
    for (TControl* c : list) {
      switch (a) {
        case alTop:
          c->SetBounds(R.Left, R.Top, R.Width(), c->FHeight);
          R.Top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(R.Left, R.Bottom - c->FHeight, R.Width(), c->FHeight);
          R.Bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(R.Left, R.Top, c->FWidth, R.Height());
          R.Left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(R.Right - c->FWidth, R.Top, c->FWidth, R.Height());
          R.Right -= c->FWidth;
          break;
        case alClient: c->SetBounds(R.Left, R.Top, R.Width(), R.Height()); break;
        default: break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
  --depth;
}

bool TWinControl::Showing() const {
  if (!FVisible) return false;
  if (!FParent) return FImpl->Widget && FImpl->Widget->isVisible();
  return FParent->Showing();
}

void TWinControl::SetParent(TWinControl* AParent) { TControl::SetParent(AParent); }

TPoint TWinControl::ClientOrigin() const {
  if (FImpl->Widget) {
    // A surface shown in a viewport is the client area, inside any frame.
    QWidget* client = FImpl->ViewportSurface && FImpl->Focus ? FImpl->Focus : FImpl->Widget.data();
    const QPoint p = client->mapToGlobal(QPoint(0, 0));
    return Point(p.x(), p.y());
  }
  return TControl::ClientOrigin();
}

void TWinControl::DefaultHandler(TMessage& M) {
  if (FImpl) FImpl->DefaultCalled = true;
  (void)M;
}

void TWinControl::Dispatch(TMessage& M) {
  // Mouse messages of a window go to the graphic child under the mouse (or
  // the one holding the capture), in its coordinates.
  if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST && M.Msg != WM_MOUSEWHEEL) {
    TControl* target = nullptr;
    if (CaptureControl && CaptureControl->FParent == this && CaptureControl->IsGraphic()) target = CaptureControl;
    else if (!CaptureControl || CaptureControl == this)
      target = ControlAtPos(Point(M.XPos(), M.YPos()), false);
    if (M.Msg == WM_MOUSEMOVE && target != FMouseControl) {
      TControl* old = FMouseControl;
      FMouseControl = target;
      if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
      if (target) target->Perform(CM_MOUSEENTER, 0, 0);
    }
    if (target) {
      const TPoint o = ChildOrigin();
      TMessage m2 = M;
      m2.LParam = MAKELPARAM(M.XPos() - o.X - target->FLeft, M.YPos() - o.Y - target->FTop);
      target->WindowProc(m2);
      M.Result = m2.Result;
      return;
    }
  }
  switch (M.Msg) {
    case WM_PAINT: WMPaint(M); return;
    case WM_SIZE: WMSize(M); return;
    case WM_SETFOCUS: WMSetFocus(M); return;
    case WM_KILLFOCUS: WMKillFocus(M); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(M); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(M); return;
    case WM_CHAR:
    case WM_SYSCHAR: WMChar(M); return;
    case WM_GETDLGCODE: WMGetDlgCode(M); return;
    case WM_ERASEBKGND: WMEraseBkgnd(M); return;
    case WM_NCHITTEST: WMNCHitTest(M); return;
    case WM_SETCURSOR: WMSetCursor(M); return;
    case CM_ENTER: CMEnter(M); return;
    case CM_EXIT: CMExit(M); return;
    case CM_MOUSELEAVE:
      if (M.LParam == 0 && FMouseControl) {
        TControl* old = FMouseControl;
        FMouseControl = nullptr;
        old->Perform(CM_MOUSELEAVE, 0, 0);
      }
      TControl::Dispatch(M);
      return;
    default: TControl::Dispatch(M); return;
  }
}

void TWinControl::WMPaint(TMessage&) {
  PaintWindow();
  PaintControls();
}

void TWinControl::PaintWindow() {
  // A plain window shows its colour (or its parent).
  if (FImpl->Surface.isNull()) return;
  FImpl->FlushSurface();
  FImpl->Surface.fill(FImpl->ShowsParent() ? QColor(Qt::transparent) : GfxToQColor(FColor));
}

void TWinControl::PaintOverlay(TCanvas*) {}

void TWinControl::PaintControls() {
  for (TControl* c : FControls) {
    if (!c->IsGraphic() || !c->FVisible) continue;
    auto* g = static_cast<TGraphicControl*>(c);
    FImpl->FlushSurface();
    g->Perform(WM_PAINT, 0, 0);
  }
}

void TWinControl::WMSize(TMessage& M) {
  Resize();
  DefaultHandler(M);
}

void TWinControl::WMSetFocus(TMessage& M) {
  if (TCustomForm* form = GetParentForm()) form->FocusChanged(this);
  DefaultHandler(M);
}

void TWinControl::WMKillFocus(TMessage& M) { DefaultHandler(M); }

void TWinControl::CMEnter(TMessage&) {
  if (OnEnter) OnEnter(this);
}

void TWinControl::CMExit(TMessage&) {
  if (OnExit) OnExit(this);
}

// The window system's own controls (edits, combo boxes, lists) take the
// arrow keys; a window painted by the layer asks for them itself.
void TWinControl::WMGetDlgCode(TMessage& M) { M.Result = CustomPainted() ? 0 : DLGC_WANTARROWS; }

void TWinControl::WMNCHitTest(TMessage& M) { M.Result = HTCLIENT; }

void TWinControl::WMSetCursor(TMessage& M) { DefaultHandler(M); }

namespace {
// The window a WM_SETCURSOR is being asked of, and what SetCursor chose.
QPointer<QWidget> CursorTarget;
HCURSOR CursorChosen = 0;
}  // namespace

HCURSOR CursorHandle(TCursor Cursor) { return static_cast<HCURSOR>(Cursor) + 0x10000; }

HCURSOR SetCursor(HCURSOR Cursor) {
  const HCURSOR previous = CursorChosen;
  CursorChosen = Cursor;
  QWidget* w = CursorTarget.data();
  if (!w && QApplication::instance()) w = QApplication::widgetAt(QCursor::pos());
  if (w) {
    if (Cursor == 0) w->setCursor(QCursor(Qt::BlankCursor));
    else w->setCursor(CursorToQt(static_cast<TCursor>(Cursor - 0x10000)));
    w->setProperty("zvCursorSet", true);
  }
  return previous;
}

void AskWindowCursor(TWinControl* Control, QWidget* Watched, TPoint ScreenPos) {
  TWinControlImpl* impl = Control->Impl();
  std::shared_ptr<bool> alive = impl->Alive;
  LRESULT hit = HTCLIENT;
  GuardEvent(Control, [&] { hit = Control->Perform(WM_NCHITTEST, 0, MAKELPARAM(ScreenPos.X, ScreenPos.Y)); });
  if (!*alive) return;
  QPointer<QWidget> watched(Watched);
  CursorTarget = Watched;
  CursorChosen = 0;
  bool chosen = false;
  const bool wasSet = Watched->property("zvCursorSet").toBool();
  Watched->setProperty("zvCursorSet", false);
  GuardEvent(Control, [&] {
    Control->Perform(WM_SETCURSOR, static_cast<WPARAM>(impl->Handle), MAKELPARAM(static_cast<int>(hit), WM_MOUSEMOVE));
  });
  CursorTarget = nullptr;
  if (!watched) return;
  chosen = watched->property("zvCursorSet").toBool();
  if (!chosen && wasSet && *alive) {
    // A cursor a handler chose for an earlier position gives way to the
    // window's own.
    if (watched == impl->Widget) watched->setCursor(CursorToQt(Control->Cursor()));
    else watched->unsetCursor();
  }
}

void TWinControl::WMEraseBkgnd(TMessage& M) {
  if (FImpl->ShowsParent() && !FImpl->Surface.isNull()) {
    FImpl->FlushSurface();
    FImpl->Surface.fill(Qt::transparent);
    M.Result = 1;
    return;
  }
  // An opaque control paints every pixel itself.
  if (!FControlStyle.Contains(csOpaque) && FImpl->Canvas) {
    TCanvas* canvas = FImpl->Canvas.get();
    canvas->Brush()->SetColor(FColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
  }
  M.Result = 1;
}

bool TWinControl::DoKeyDown(TMessage& M) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(M)) return true;
  uint16_t key = static_cast<uint16_t>(M.WParam);
  const TShiftState shift = KeyDataToShiftState(M.LParam);
  KeyDown(key, shift);
  M.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& M) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(M)) return true;
  uint16_t key = static_cast<uint16_t>(M.WParam);
  KeyUp(key, KeyDataToShiftState(M.LParam));
  M.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& M) {
  TCustomForm* form = GetParentForm();
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(M)) return true;
  char key = static_cast<char>(M.WParam);
  KeyPress(key);
  M.WParam = static_cast<unsigned char>(key);
  return key == 0;
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& M) {
  if (DoKeyDown(M)) return;
  // A Tab sent to a window that does not hold the focus (a child handing the
  // focus on through its parent) moves it on, as the dialog keys do.
  if (M.WParam == VK_TAB && !Focused() && FocusNextControl(!KeyDataToShiftState(M.LParam).Contains(ssShift)))
    return;
  DefaultHandler(M);
}

bool TWinControl::FocusNextControl(bool Forward) {
  QWidget* start = QApplication::focusWidget();
  QWidget* own = FImpl ? FImpl->Widget.data() : nullptr;
  if (!start || !own || (start != own && !own->isAncestorOf(start))) return false;
  // The control holding the focus is passed over as a whole (its own
  // scroll bars, editors and panels included).
  QWidget* holder = start;
  for (QWidget* w = start; w; w = w->parentWidget())
    if (w->property("zvControl").isValid()) {
      holder = w;
      break;
    }
  QWidget* window = start->window();
  // Only Tab stops; controls their parent keeps out of the Tab order
  // (hidden behind a toolbar's chevron) are passed over with all they hold.
  const std::vector<TWinControl*> order = WindowTabOrderList(this);
  auto inOrder = [&](QWidget* w) {
    for (; w; w = w->parentWidget())
      if (const QVariant v = w->property("zvControl"); v.isValid()) {
        auto* c = static_cast<TWinControl*>(v.value<void*>());
        return c->TabStop() && std::find(order.begin(), order.end(), c) != order.end();
      }
    return true;
  };
  for (QWidget* w = Forward ? start->nextInFocusChain() : start->previousInFocusChain(); w && w != start;
       w = Forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
    if (w == holder || holder->isAncestorOf(w) || w->window() != window) continue;
    if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisible()) continue;
    if (!inOrder(w)) continue;
    w->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
  }
  return false;
}

void TWinControl::WMKeyUp(TMessage& M) {
  if (!DoKeyUp(M)) DefaultHandler(M);
}

void TWinControl::WMChar(TMessage& M) {
  if (!DoKeyPress(M)) DefaultHandler(M);
}

void TWinControl::CMColorChanged(TMessage& M) {
  TControl::CMColorChanged(M);
  SendToChildren(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
  if (FImpl && FImpl->Widget) FImpl->Widget->setFont(GfxMakeQFont(*FFont));
  TControl::FontChanged();
}

void TWinControl::CMFontChanged(TMessage& M) {
  TControl::CMFontChanged(M);
  SendToChildren(CM_PARENTFONTCHANGED);
}

void TWinControl::CMEnabledChanged(TMessage& M) {
  if (FImpl->Widget) FImpl->Widget->setEnabled(FEnabled);
  TControl::CMEnabledChanged(M);
}

void TWinControl::CMVisibleChanged(TMessage& M) {
  if (FImpl->Widget && FParent) FImpl->Widget->setVisible(FVisible);
  TControl::CMVisibleChanged(M);
}

void TWinControl::CMTextChanged(TMessage& M) { TControl::CMTextChanged(M); }

void TWinControl::CMCursorChanged(TMessage& M) {
  if (FImpl->Widget) FImpl->Widget->setCursor(CursorToQt(FCursor));
  TControl::CMCursorChanged(M);
}

// ---------------------------------------------------------------------------
// TCustomControl, TGraphicControl

ZV_CLASS_IMPL_NOPROPS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() { Destroying(); }

TCanvas* TCustomControl::Canvas() {
  FImpl->SizeSurface();
  if (!FImpl->Canvas) {
    FImpl->Canvas = std::make_unique<TCanvas>();
    FImpl->Canvas->SetFont(FFont.get());
    FImpl->Canvas->Brush()->SetColor(FColor);
    if (!FImpl->Surface.isNull()) GfxBindCanvasToImage(FImpl->Canvas.get(), &FImpl->Surface);
    GfxSetSurfaceUseHook(FImpl->Canvas.get(), [impl = FImpl.get()] { impl->SurfaceUsed(); });
  }
  // Graphic children may have painters open on the same surface.
  FImpl->FlushChildren();
  return FImpl->Canvas.get();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow() {
  Canvas();
  Perform(WM_ERASEBKGND, 0, 0);
  Paint();
}

ZV_CLASS_IMPL_NOPROPS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() {
  Destroying();
  if (FCanvas) GfxUnbindCanvas(FCanvas.get());
}

TCanvas* TGraphicControl::Canvas() {
  if (FParent) {
    TWinControlImpl* p = FParent->Impl();
    p->SizeSurface();
    if (p->Canvas) GfxFlushCanvas(p->Canvas.get());
    if (!p->Surface.isNull()) {
      if (GfxCanvasImage(FCanvas.get()) != &p->Surface) {
        GfxBindCanvasToImage(FCanvas.get(), &p->Surface);
        FCanvas->SetFont(FFont.get());
        GfxSetSurfaceUseHook(FCanvas.get(), [this] {
          if (FParent && FParent->Impl()) FParent->Impl()->SurfaceUsed();
        });
      }
      // The control's own origin and clip, renewed on every use.
      FCanvas->SelectClipRgn(nullptr);
      const TPoint o = FParent->ChildOrigin();
      FCanvas->SetViewportOrgEx(o.X + FLeft, o.Y + FTop);
      FCanvas->IntersectClipRect(0, 0, FWidth, FHeight);
    }
  }
  return FCanvas.get();
}

void TGraphicControl::Paint() {}

void TGraphicControl::WMPaint(TMessage&) {
  if (!FParent) return;
  Canvas();
  Paint();
  GfxFlushCanvas(FCanvas.get());
}

void TGraphicControl::Dispatch(TMessage& M) {
  if (M.Msg == WM_PAINT) {
    WMPaint(M);
    return;
  }
  TControl::Dispatch(M);
}

// ---------------------------------------------------------------------------
// The window-system side

TWinControlImpl::~TWinControlImpl() {
  *Alive = false;
  if (Canvas) GfxUnbindCanvas(Canvas.get());
}

void TWinControlImpl::UpdateWidget() {
  if (!Widget) return;
  Widget->update();
  // The viewport is a child that covers the area: the area's own update
  // leaves it as it was, and the surface it shows would never come up.
  if (ViewportSurface)
    if (auto* area = qobject_cast<QAbstractScrollArea*>(Widget.data())) area->viewport()->update();
}

void TWinControlImpl::SizeSurface() {
  // A window paints its frame and margins around the client area itself, in
  // window coordinates: its surface is the whole window, or the window shows
  // pixels nobody painted. A viewport's surface is the client area alone.
  const int w = std::max(ViewportSurface ? Owner->ClientWidth() : Owner->Width(), 0);
  const int h = std::max(ViewportSurface ? Owner->ClientHeight() : Owner->Height(), 0);
  if (Surface.width() == w && Surface.height() == h) return;
  if (Canvas) GfxUnbindCanvas(Canvas.get());
  for (TControl* c : Owner->FControls)
    if (c->IsGraphic()) GfxUnbindCanvas(static_cast<TGraphicControl*>(c)->FCanvas.get());
  QImage next;
  if (w > 0 && h > 0) {
    const bool shows = ShowsParent();
    next = QImage(w, h, shows ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    next.fill(shows ? QColor(Qt::transparent) : GfxToQColor(Owner->Color()));
    if (!Surface.isNull()) {
      QPainter p(&next);
      p.drawImage(0, 0, Surface);
    }
  }
  Surface = next;
  NeedsPaint = true;
  if (Canvas && !Surface.isNull()) GfxBindCanvasToImage(Canvas.get(), &Surface);
}

void TWinControlImpl::FlushSurface() {
  if (Canvas) GfxFlushCanvas(Canvas.get());
  FlushChildren();
}

void TWinControlImpl::FlushChildren() {
  for (TControl* c : Owner->FControls)
    if (c->IsGraphic()) GfxFlushCanvas(static_cast<TGraphicControl*>(c)->FCanvas.get());
}

bool TWinControlImpl::ShowsParent() const {
  return Owner->FParent && Owner->FControlStyle.Contains(csParentBackground);
}

void TWinControlImpl::SyncParentBackground() {
  const bool shows = ShowsParent();
  if (auto* s = dynamic_cast<TSurfaceWidget*>(Widget.data()))
    if (s->testAttribute(Qt::WA_OpaquePaintEvent) == shows) s->setAttribute(Qt::WA_OpaquePaintEvent, !shows);
  const QImage::Format want = shows ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (Surface.isNull() || Surface.format() == want) return;
  // Converted in place: the canvases keep pointing at the same image.
  FlushSurface();
  Surface.convertTo(want);
  NeedsPaint = true;
}

void TWinControlImpl::PaintOverlay(QWidget* widget) {
  if (widget->width() <= 0 || widget->height() <= 0) return;
  const TPaintScope scope;
  QImage layer(widget->size(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  TCanvas canvas;
  canvas.SetFont(Owner->Font());
  GfxBindCanvasToImage(&canvas, &layer);
  TWinControl* owner = Owner;
  GuardEvent(owner, [owner, &canvas] { owner->PaintOverlay(&canvas); });
  GfxUnbindCanvas(&canvas);
  QPainter p(widget);
  p.drawImage(0, 0, layer);
}

TSurfaceWidget::TSurfaceWidget(TWinControl* control, QWidget* parent) : QWidget(parent), FControl(control) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void TSurfaceWidget::paintEvent(QPaintEvent*) {
  if (!FControl) return;
  const TPaintScope scope;
  TWinControl* c = FControl;
  GuardEvent(c, [c] { c->PaintNow(); });
  if (!FControl) return;
  TWinControlImpl* impl = c->Impl();
  impl->FlushSurface();
  QPainter p(this);
  if (!impl->Surface.isNull()) p.drawImage(0, 0, impl->Surface);
  else p.fillRect(rect(), GfxToQColor(c->Color()));
}

void PlaceChildWidget(TWinControl* child) {
  QWidget* w = child->Impl()->Widget;
  if (!w || !child->Parent()) return;
  const TPoint o = child->Parent()->ChildOrigin();
  w->setGeometry(o.X + child->Left(), o.Y + child->Top(), child->Width(), child->Height());
}

void PlaceWindowFrame(QWidget* widget, int x, int y) {
  widget->move(x, y);
  // Once the native window exists, Qt takes a move as the client area's
  // place until the window manager has told it the frame, and X keeps the
  // client there: the frame would sit its own width and title up-left of the
  // point, and a saved place would creep at every start.
  if (!widget->testAttribute(Qt::WA_WState_Created) || widget->frameGeometry() != widget->geometry()) return;
  if (QWindow* window = widget->windowHandle()) window->setFramePosition(QPoint(x, y));
}

void AttachWidget(TWinControl* control, QWidget* widget, QWidget* focusWidget) {
  TWinControlImpl* impl = control->Impl();
  impl->Widget = widget;
  impl->Focus = focusWidget ? focusWidget : widget;
  impl->Handle = ++NextHandle;
  Handles()[impl->Handle] = control;
  widget->setProperty("zvControl", QVariant::fromValue(static_cast<void*>(control)));
  impl->Bridge = std::make_unique<TEventBridge>(control, impl->Alive);
  widget->setMouseTracking(true);
  widget->installEventFilter(impl->Bridge.get());
  if (impl->Focus != widget) {
    impl->Focus->setMouseTracking(true);
    impl->Focus->installEventFilter(impl->Bridge.get());
  }
}

// ---------------------------------------------------------------------------
// System state

int GetSystemMetrics(int Index) {
  switch (Index) {
    case SM_CXSCREEN: return Screen ? Screen->Width() : 1024;
    case SM_CYSCREEN: return Screen ? Screen->Height() : 768;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYCAPTION:
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFRAME:
    case SM_CYFRAME:
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

int16_t GetKeyState(int VirtKey) {
  if (!QGuiApplication::instance()) return 0;
  const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
  const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
  bool down = false;
  switch (VirtKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL: down = mods & Qt::ControlModifier; break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU: down = mods & Qt::AltModifier; break;
    case VK_LBUTTON: down = buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = buttons & Qt::RightButton; break;
    case VK_MBUTTON: down = buttons & Qt::MiddleButton; break;
    default: break;
  }
  return down ? static_cast<int16_t>(0x8000) : 0;
}

int16_t GetAsyncKeyState(int VirtKey) { return GetKeyState(VirtKey); }

TShiftState KeyboardStateToShiftState() {
  if (!QGuiApplication::instance()) return {};
  return QtModifiersToShift(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

bool GetCursorPos(TPoint& Point) {
  if (!QGuiApplication::instance()) return false;
  const QPoint p = QCursor::pos();
  Point = ::Point(p.x(), p.y());
  return true;
}

bool SetCursorPos(int X, int Y) {
  if (!QGuiApplication::instance()) return false;
  QCursor::setPos(X, Y);
  return true;
}

unsigned GetDoubleClickTime() { return 500; }
