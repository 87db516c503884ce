#include "platform/ui/ranges.h"

#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <charconv>

#include "platform/rtl/exceptions.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/qt_ui.h"

namespace {
template <class W>
W* WidgetOf(const TWinControl* c) {
  return c->Impl() ? qobject_cast<W*>(c->Impl()->Widget.data()) : nullptr;
}

// A held up-down button steps again after this long, then at the faster pace.
constexpr unsigned kRepeatDelay = 400;
constexpr unsigned kRepeatPace = 100;
}  // namespace

// ---------------------------------------------------------------------------
// TUpDown

// The associate's window procedure while it is associated: its arrow keys
// press the buttons. Owner is cleared when the up-down lets go.
struct TUpDown::THook {
  TUpDown* Owner = nullptr;
  std::function<void(TMessage&)> Old;
};

ZV_CLASS_IMPL(TUpDown, TCustomControl)

void TUpDown::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo align{"TUDAlignButton", {"udLeft", "udRight"}, 0};
  static const TEnumInfo orientation{"TUDOrientation", {"udHorizontal", "udVertical"}, 0};
  c.Integer<TUpDown>("Min", &TUpDown::Min, &TUpDown::SetMin, 0);
  c.Integer<TUpDown>("Max", &TUpDown::Max, &TUpDown::SetMax, 100);
  c.Integer<TUpDown>("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, 1);
  c.Integer<TUpDown>("Position", &TUpDown::Position, &TUpDown::SetPosition, 0);
  c.Enum<TUpDown>("AlignButton", align, &TUpDown::AlignButton, &TUpDown::SetAlignButton, udRight);
  c.Enum<TUpDown>("Orientation", orientation, &TUpDown::Orientation, &TUpDown::SetOrientation, udVertical);
  c.Boolean<TUpDown>("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap, false);
  c.Boolean<TUpDown>("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands, true);
  c.Boolean<TUpDown>("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys, true);
}

TUpDown::TUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  // No click of its own: OnClick tells the button.
  FControlStyle = {csCaptureMouse, csOpaque, csFixedWidth, csFixedHeight};
  FWidth = 16;
  FHeight = 24;
  FColor = clBtnFace;
  FParentColor = false;
}

TUpDown::~TUpDown() {
  Destroying();
  Unhook();
}

void TUpDown::CreateWnd() {
  TCustomControl::CreateWnd();
  // The buttons never take the focus from the edit they step.
  Impl()->Widget->setFocusPolicy(Qt::NoFocus);
}

int TUpDown::Clamped(int v) const { return std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax)); }

std::string TUpDown::PositionText(int v) const {
  const std::string digits = std::to_string(v < 0 ? -static_cast<long long>(v) : static_cast<long long>(v));
  std::string t = v < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (FThousands && i > 0 && (digits.size() - i) % 3 == 0) t += ',';
    t += digits[i];
  }
  return t;
}

int TUpDown::Position() const {
  if (!FAssociate) return FPosition;
  // As the window system's up-down does, the position is what the edit
  // shows now (the user may have typed another number).
  std::string t;
  for (char ch : FAssociate->Text())
    if (ch != ',' && ch != ' ') t += ch;
  int v = 0;
  const char* end = t.data() + t.size();
  const auto res = std::from_chars(t.data(), end, v);
  if (!t.empty() && res.ec == std::errc() && res.ptr == end) FPosition = Clamped(v);
  return FPosition;
}

void TUpDown::ShowPosition() {
  if (FAssociate) FAssociate->SetText(PositionText(FPosition));
}

void TUpDown::SetPosition(int v) {
  FPosition = Clamped(v);
  ShowPosition();
}

void TUpDown::SetMin(int v) {
  FMin = v;
  SetPosition(Position());
}

void TUpDown::SetMax(int v) {
  FMax = v;
  SetPosition(Position());
}

void TUpDown::SetThousands(bool v) {
  if (FThousands == v) return;
  const int p = Position();
  FThousands = v;
  SetPosition(p);
}

void TUpDown::SetOrientation(TUDOrientation v) {
  if (FOrientation == v) return;
  FOrientation = v;
  Invalidate();
}

void TUpDown::Unhook() {
  if (!FHook) return;
  FHook->Owner = nullptr;
  if (FAssociate) {
    FAssociate->WindowProc = FHook->Old;
    FAssociate->RemoveFreeNotification(this);
  }
  FHook.reset();
}

void TUpDown::SetAssociate(TWinControl* v) {
  if (v == FAssociate) return;
  if (v == this) throw EInvalidOperation("An up-down cannot be associated with itself");
  Unhook();
  FAssociate = v;
  if (!v) return;
  v->FreeNotification(this);
  FHook = std::make_shared<THook>();
  FHook->Owner = this;
  FHook->Old = v->WindowProc;
  std::shared_ptr<THook> hook = FHook;
  v->WindowProc = [hook](TMessage& M) {
    TUpDown* ud = hook->Owner;
    if (ud && M.Msg == WM_KEYDOWN && ud->FArrowKeys && (M.WParam == VK_UP || M.WParam == VK_DOWN)) {
      if (ud->Enabled()) ud->Press(M.WParam == VK_UP ? btNext : btPrev);
      return;
    }
    const std::function<void(TMessage&)> old = hook->Old;
    if (old) old(M);
    if (ud && M.Msg == WM_GETDLGCODE && ud->FArrowKeys) M.Result |= DLGC_WANTARROWS;
  };
  // The up-down takes its room out of the edit, beside it on the same parent.
  if (!FParent && v->Parent()) SetParent(v->Parent());
  if (FParent == v->Parent()) {
    const TRect r = v->BoundsRect();
    const int w = std::min(FWidth, std::max(r.Width() - 1, 0));
    if (FAlignButton == udRight) {
      v->SetBounds(r.Left, r.Top, r.Width() - w, r.Height());
      SetBounds(r.Right - w, r.Top, w, r.Height());
    } else {
      v->SetBounds(r.Left + w, r.Top, r.Width() - w, r.Height());
      SetBounds(r.Left, r.Top, w, r.Height());
    }
  }
  ShowPosition();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    if (FHook) FHook->Owner = nullptr;
    FHook.reset();
    FAssociate = nullptr;
  }
}

bool TUpDown::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TUpDown::Click(TUDBtnType Button) {
  if (OnClick) OnClick(this, Button);
}

void TUpDown::Press(TUDBtnType Button) {
  if (!CanChange()) return;
  const int lo = std::min(FMin, FMax), hi = std::max(FMin, FMax);
  const long long step = Button == btNext ? FIncrement : -static_cast<long long>(FIncrement);
  const long long wanted = Position() + step;
  int next;
  if (wanted > hi) next = FWrap ? lo : hi;
  else if (wanted < lo) next = FWrap ? hi : lo;
  else next = static_cast<int>(wanted);
  SetPosition(next);
  Click(Button);
}

TUDBtnType TUpDown::ButtonAt(int X, int Y) const {
  if (FOrientation == udVertical) return Y < FHeight / 2 ? btNext : btPrev;
  return X >= FWidth / 2 ? btNext : btPrev;
}

void TUpDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  const TUDBtnType b = ButtonAt(X, Y);
  FPressed = b;
  Invalidate();
  if (!FRepeat) {
    FRepeat = std::make_unique<TTimer>(nullptr);
    FRepeat->SetEnabled(false);
    FRepeat->SetOnTimer([this](TObject*) {
      if (FPressed < 0) {
        StopRepeat();
        return;
      }
      FRepeat->SetInterval(kRepeatPace);
      Press(static_cast<TUDBtnType>(FPressed));
    });
  }
  FRepeat->SetInterval(kRepeatDelay);
  FRepeat->SetEnabled(true);
  Press(b);
}

void TUpDown::StopRepeat() {
  if (FRepeat) FRepeat->SetEnabled(false);
  if (FPressed >= 0) {
    FPressed = -1;
    Invalidate();
  }
}

void TUpDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopRepeat();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TUpDown::WMCancelMode(TMessage& M) {
  StopRepeat();
  TCustomControl::WMCancelMode(M);
}

void TUpDown::CMEnabledChanged(TMessage& M) {
  if (!FEnabled) StopRepeat();
  TCustomControl::CMEnabledChanged(M);
  Invalidate();
}

void TUpDown::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(bsSolid);
  const bool vertical = FOrientation == udVertical;
  for (int half = 0; half < 2; ++half) {
    // half 0: the button that steps up (top or right), half 1: down (bottom or left).
    TRect b = vertical ? (half == 0 ? Rect(0, 0, FWidth, FHeight / 2) : Rect(0, FHeight / 2, FWidth, FHeight))
                       : (half == 0 ? Rect(FWidth / 2, 0, FWidth, FHeight) : Rect(0, 0, FWidth / 2, FHeight));
    const bool down = FPressed == (half == 0 ? btNext : btPrev);
    Frame3D(canvas, b, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, 1);
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(b);
    int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
    if (down) {
      ++cx;
      ++cy;
    }
    canvas->Pen()->SetColor(FEnabled ? clBtnText : clGrayText);
    // A small triangle of 3 lines pointing the button's way.
    for (int i = 0; i < 3; ++i) {
      if (vertical) {
        const int y = half == 0 ? cy - 1 + i : cy + 1 - i;
        canvas->MoveTo(cx - i, y);
        canvas->LineTo(cx + i + 1, y);
      } else {
        const int x = half == 0 ? cx + 1 - i : cx - 1 + i;
        canvas->MoveTo(x, cy - i);
        canvas->LineTo(x, cy + i + 1);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// TTrackBar

ZV_CLASS_IMPL(TTrackBar, TWinControl)

void TTrackBar::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo orientation{"TTrackBarOrientation", {"trHorizontal", "trVertical"}, 0};
  static const TEnumInfo tickStyle{"TTickStyle", {"tsNone", "tsAuto", "tsManual"}, 0};
  static const TEnumInfo tickMark{"TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"}, 0};
  c.Integer<TTrackBar>("Min", &TTrackBar::Min, &TTrackBar::SetMin, 0);
  c.Integer<TTrackBar>("Max", &TTrackBar::Max, &TTrackBar::SetMax, 10);
  c.Integer<TTrackBar>("Position", &TTrackBar::Position, &TTrackBar::SetPosition, 0);
  c.Integer<TTrackBar>("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency, 1);
  c.Integer<TTrackBar>("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize, 2);
  c.Integer<TTrackBar>("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize, 1);
  c.Enum<TTrackBar>("Orientation", orientation, &TTrackBar::Orientation, &TTrackBar::SetOrientation, trHorizontal);
  c.Enum<TTrackBar>("TickStyle", tickStyle, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, tsAuto);
  c.Enum<TTrackBar>("TickMarks", tickMark, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, tmBottomRight);
  c.Method<TTrackBar, TNotifyEvent>("OnChange", [](TTrackBar* o) { return static_cast<bool>(o->OnChange); },
                                    [](TTrackBar* o, TNotifyEvent e) { o->OnChange = std::move(e); });
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csFixedHeight};
  FWidth = 150;
  FHeight = 45;
  FColor = clBtnFace;
  FTabStop = true;
}

namespace {
// The track bar's widget, telling where its thumb is.
class TSliderWidget : public QSlider {
public:
  QRect HandleRect() const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
  }
};
}  // namespace

struct TTrackBarAccess {
  static void FromWidget(TTrackBar* t, int v) {
    if (t->FSyncing || v == t->FPosition) return;
    t->FPosition = v;
    t->Changed();
  }
};

void TTrackBar::CreateWnd() {
  auto* w = new TSliderWidget;
  w->setFocusPolicy(Qt::StrongFocus);
  AttachWidget(this, w);
  SyncWidget();
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(w, &QSlider::valueChanged, [this, alive](int v) {
    if (*alive) GuardEvent(this, [this, v] { TTrackBarAccess::FromWidget(this, v); });
  });
}

void TTrackBar::SyncWidget() {
  auto* w = WidgetOf<QSlider>(this);
  if (!w) return;
  FSyncing = true;
  const bool vertical = FOrientation == trVertical;
  w->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
  // The window system's vertical track bar has its minimum at the top.
  w->setInvertedAppearance(vertical);
  w->setRange(FMin, FMax);
  w->setSingleStep(FLineSize);
  w->setPageStep(FPageSize);
  w->setValue(FPosition);
  QSlider::TickPosition ticks = QSlider::NoTicks;
  if (FTickStyle == tsAuto) {
    // Bottom-right marks sit below a horizontal bar and right of a vertical one.
    if (FTickMarks == tmBoth) ticks = QSlider::TicksBothSides;
    else if (FTickMarks == tmTopLeft) ticks = QSlider::TicksAbove;
    else ticks = QSlider::TicksBelow;
  }
  w->setTickPosition(ticks);
  w->setTickInterval(std::max(FFrequency, 1));
  FSyncing = false;
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

void TTrackBar::SetRange(int AMin, int AMax) {
  FMin = AMin;
  FMax = std::max(AMin, AMax);
  const int p = std::clamp(FPosition, FMin, FMax);
  const bool moved = p != FPosition;
  FPosition = p;
  SyncWidget();
  if (moved) Changed();
}

void TTrackBar::SetMin(int v) {
  if (v != FMin) SetRange(v, std::max(v, FMax));
}

void TTrackBar::SetMax(int v) {
  if (v != FMax) SetRange(std::min(v, FMin), v);
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  SyncWidget();
  Changed();
}

void TTrackBar::SetFrequency(int v) {
  FFrequency = v;
  SyncWidget();
}

void TTrackBar::SetTickStyle(TTickStyle v) {
  FTickStyle = v;
  SyncWidget();
}

void TTrackBar::SetTickMarks(TTickMark v) {
  FTickMarks = v;
  SyncWidget();
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  // The bar turns round: width and height swap, as the class library does.
  if (!FComponentState.Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  SyncWidget();
}

void TTrackBar::SetPageSize(int v) {
  FPageSize = v;
  SyncWidget();
}

void TTrackBar::SetLineSize(int v) {
  FLineSize = v;
  SyncWidget();
}

void TTrackBar::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS; }

void TTrackBar::WMLButtonDown(TMessage& M) {
  // A press beside the thumb (anywhere on the bar, not only on its thin
  // channel) moves it a page towards the press, as the window system's bar
  // does; the thumb itself is dragged by the widget.
  auto* w = dynamic_cast<TSliderWidget*>(WidgetOf<QSlider>(this));
  if (w && FEnabled) {
    const QRect handle = w->HandleRect();
    const QPoint p(M.XPos(), M.YPos());
    if (!handle.contains(p)) {
      const bool beyond = FOrientation == trVertical ? p.y() > handle.center().y() : p.x() > handle.center().x();
      TControl::WMLButtonDown(M);  // the capture and OnMouseDown, without the widget's own handling
      if (FImpl) FImpl->DefaultCalled = false;
      SetPosition(FPosition + (beyond ? FPageSize : -FPageSize));
      return;
    }
  }
  TWinControl::WMLButtonDown(M);
}

void TTrackBar::KeyDown(uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_LEFT:
    case VK_UP: SetPosition(FPosition - FLineSize); break;
    case VK_RIGHT:
    case VK_DOWN: SetPosition(FPosition + FLineSize); break;
    case VK_PRIOR: SetPosition(FPosition - FPageSize); break;
    case VK_NEXT: SetPosition(FPosition + FPageSize); break;
    case VK_HOME: SetPosition(FMin); break;
    case VK_END: SetPosition(FMax); break;
    default: return;
  }
  Key = 0;
}

// ---------------------------------------------------------------------------
// TScrollBar

ZV_CLASS_IMPL(TScrollBar, TWinControl)

void TScrollBar::DeclareProperties(TClassInfo& c) {
  static const TEnumInfo kind{"TScrollBarKind", {"sbHorizontal", "sbVertical"}, 0};
  c.Enum<TScrollBar>("Kind", kind, &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal);
  c.Integer<TScrollBar>("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100);
  c.Integer<TScrollBar>("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0);
  c.Integer<TScrollBar>("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0);
  c.Integer<TScrollBar>("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0);
  c.Integer<TScrollBar>("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1);
  c.Integer<TScrollBar>("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
  c.Method<TScrollBar, TNotifyEvent>("OnChange", [](TScrollBar* o) { return static_cast<bool>(o->OnChange); },
                                     [](TScrollBar* o, TNotifyEvent e) { o->OnChange = std::move(e); });
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csFramed, csDoubleClicks, csOpaque};
  FWidth = 121;
  FHeight = GetSystemMetrics(SM_CYHSCROLL);
  FTabStop = true;
}

int TScrollBar::ThumbMax() const { return std::max(FMin, FMax - std::max(FPageSize - 1, 0)); }

struct TScrollBarAccess {
  // The user's action on the widget, before the widget takes its new place.
  static void Action(TScrollBar* s, QScrollBar* w, int action) {
    TScrollCode code;
    int pos = s->FPosition;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; pos += s->FSmallChange; break;
      case QAbstractSlider::SliderSingleStepSub: code = scLineUp; pos -= s->FSmallChange; break;
      case QAbstractSlider::SliderPageStepAdd: code = scPageDown; pos += s->FLargeChange; break;
      case QAbstractSlider::SliderPageStepSub: code = scPageUp; pos -= s->FLargeChange; break;
      case QAbstractSlider::SliderToMinimum: code = scTop; pos = s->FMin; break;
      case QAbstractSlider::SliderToMaximum: code = scBottom; pos = s->ThumbMax(); break;
      case QAbstractSlider::SliderMove: code = scTrack; pos = w->sliderPosition(); break;
      default: return;
    }
    s->UserScroll(code, std::clamp(pos, s->FMin, s->ThumbMax()));
    // The widget goes where the scroll ended, OnScroll's answer included.
    if (s->HandleAllocated() && w->sliderPosition() != s->FPosition) {
      s->FSyncing = true;
      w->setSliderPosition(std::clamp(s->FPosition, s->FMin, s->ThumbMax()));
      s->FSyncing = false;
    }
  }
  static void Released(TScrollBar* s, QScrollBar* w) {
    s->UserScroll(scPosition, w->sliderPosition());
    s->UserScroll(scEndScroll, s->FPosition);
  }
  static void ValueChanged(TScrollBar* s, int v) {
    if (s->FSyncing || v == s->FPosition) return;
    s->SetPosition(v);
  }
};

void TScrollBar::CreateWnd() {
  auto* w = new QScrollBar;
  w->setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::NoFocus);
  AttachWidget(this, w);
  SyncWidget();
  std::shared_ptr<bool> alive = Impl()->Alive;
  QObject::connect(w, &QScrollBar::actionTriggered, [this, w, alive](int action) {
    if (*alive && !FSyncing) GuardEvent(this, [this, w, action] { TScrollBarAccess::Action(this, w, action); });
  });
  QObject::connect(w, &QScrollBar::sliderReleased, [this, w, alive] {
    if (*alive) GuardEvent(this, [this, w] { TScrollBarAccess::Released(this, w); });
  });
  QObject::connect(w, &QScrollBar::valueChanged, [this, alive](int v) {
    if (*alive) GuardEvent(this, [this, v] { TScrollBarAccess::ValueChanged(this, v); });
  });
}

void TScrollBar::SyncWidget() {
  auto* w = WidgetOf<QScrollBar>(this);
  if (!w) return;
  FSyncing = true;
  w->setOrientation(FKind == sbVertical ? Qt::Vertical : Qt::Horizontal);
  w->setRange(FMin, ThumbMax());
  w->setSingleStep(std::max(FSmallChange, 1));
  // The thumb's length shows the page (the window system draws a small
  // thumb without one).
  w->setPageStep(std::max(FPageSize, 1));
  w->setValue(std::clamp(FPosition, FMin, ThumbMax()));
  FSyncing = false;
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  if (!FComponentState.Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  SyncWidget();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin || AMax < FPageSize) throw EInvalidOperation("Scroll bar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  const bool moved = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  SyncWidget();
  if (moved) Change();
}

void TScrollBar::SetPageSize(int v) {
  if (v == FPageSize) return;
  if (v < 0 || v > FMax - FMin + 1) throw EInvalidOperation("Scroll bar property out of range");
  FPageSize = v;
  SyncWidget();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::UserScroll(TScrollCode Code, int Pos) {
  Scroll(Code, Pos);
  SetPosition(Pos);
}
