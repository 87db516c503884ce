#include "platform/ui/extctrls.h"

#include <QTimer>

#include <algorithm>

#include "platform/ui/qt_ui.h"

// ---------------------------------------------------------------------------
// Panels

ZV_CLASS_IMPL_NOPROPS(TCustomPanel, TCustomControl)

void TCustomPanel::PublishProperties(TClassInfo& c, std::initializer_list<std::string> Names) {
  using P = TCustomPanel;
  for (const std::string& name : Names) {
    if (SameIdent(name, "Alignment"))
      c.Enum<P>("Alignment", AlignmentEnumInfo(), &P::Alignment, &P::SetAlignment, taCenter);
    else if (SameIdent(name, "BevelInner"))
      c.Enum<P>("BevelInner", BevelCutEnumInfo(), &P::BevelInner, &P::SetBevelInner, bvNone);
    else if (SameIdent(name, "BevelOuter"))
      c.Enum<P>("BevelOuter", BevelCutEnumInfo(), &P::BevelOuter, &P::SetBevelOuter, bvRaised);
    else if (SameIdent(name, "BevelWidth"))
      c.Integer<P>("BevelWidth", &P::BevelWidth, &P::SetBevelWidth, 1);
    else if (SameIdent(name, "BorderWidth"))
      c.Integer<P>("BorderWidth", &P::BorderWidth, &P::SetBorderWidth, 0);
    else if (SameIdent(name, "BorderStyle"))
      c.Enum<P>("BorderStyle", BorderStyleEnumInfo(), &P::BorderStyle, &P::SetBorderStyle, bsNone);
    else
      throw EInvalidOperation("A panel has no property " + name + " to publish");
  }
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable};
  FWidth = 185;
  FHeight = 41;
  FColor = clBtnFace;
  FParentColor = false;
}

TRect TCustomPanel::ClientRect() const {
  TRect r = TCustomControl::ClientRect();
  if (FBorderStyle == bsSingle) InflateRect(r, -1, -1);
  return r;
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  auto colors = [](TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (FBorderStyle == bsSingle) Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
  if (FBevelOuter != bvNone) {
    colors(FBevelOuter, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  Frame3D(canvas, r, FColor, FColor, FBorderWidth);
  if (FBevelInner != bvNone) {
    colors(FBevelInner, top, bottom);
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  canvas->Brush()->SetColor(FColor);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  if (FControlStyle.Contains(csSetCaption) && !FText.empty()) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(FFont.get());
    unsigned flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    flags |= FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    canvas->DrawText(FText, r, flags);
  }
}

void TCustomPanel::SetAlignment(TAlignment v) {
  if (FAlignment == v) return;
  FAlignment = v;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
  if (FBevelInner == v) return;
  FBevelInner = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  if (FBevelOuter == v) return;
  FBevelOuter = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
  if (FBevelWidth == v) return;
  FBevelWidth = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int v) {
  if (FBorderWidth == v) return;
  FBorderWidth = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  Invalidate();
}

ZV_CLASS_IMPL(TPanel, TCustomPanel)

void TPanel::DeclareProperties(TClassInfo& c) {
  PublishProperties(c, {"Alignment", "BevelInner", "BevelOuter", "BevelWidth", "BorderStyle", "BorderWidth"});
}

// ---------------------------------------------------------------------------
// Timers

struct TTimerImpl {
  std::unique_ptr<QTimer> Timer;
};

namespace {
std::vector<TTimer*>& Timers() {
  static std::vector<TTimer*> v;
  return v;
}
}  // namespace

ZV_CLASS_IMPL(TTimer, TComponent)

void TTimer::DeclareProperties(TClassInfo& c) {
  c.Boolean<TTimer>("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  c.Integer<TTimer>("Interval", [](TTimer* t) { return static_cast<int64_t>(t->Interval()); },
                    [](TTimer* t, int v) { t->SetInterval(static_cast<unsigned>(v)); }, 1000);
  c.Method<TTimer, TNotifyEvent>("OnTimer", [](TTimer* t) { return static_cast<bool>(t->OnTimer()); },
                                 [](TTimer* t, TNotifyEvent e) { t->SetOnTimer(std::move(e)); });
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FImpl(std::make_unique<TTimerImpl>()) {
  Timers().push_back(this);
}

TTimer::~TTimer() {
  Timers().erase(std::remove(Timers().begin(), Timers().end(), this), Timers().end());
  FImpl->Timer.reset();
}

const std::vector<TTimer*>& TTimer::AllTimers() { return Timers(); }

bool TTimer::Active() const { return FEnabled && FInterval > 0 && static_cast<bool>(FOnTimer); }

void TTimer::UpdateTimer() {
  if (!Active()) {
    if (FImpl->Timer) FImpl->Timer->stop();
    return;
  }
  EnsureQtApplication();
  if (!FImpl->Timer) {
    FImpl->Timer = std::make_unique<QTimer>();
    QObject::connect(FImpl->Timer.get(), &QTimer::timeout, [this] { GuardEvent(this, [this] { Timer(); }); });
  }
  FImpl->Timer->start(static_cast<int>(FInterval));
}

void TTimer::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (FInterval == v) return;
  FInterval = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v) {
  FOnTimer = std::move(v);
  UpdateTimer();
}

void TTimer::Timer() {
  if (FEnabled && FOnTimer) FOnTimer(this);
}
