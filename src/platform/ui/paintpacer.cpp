// Repaints at the pace a person can see. A long piece of work that calls
// ProcessMessages between its steps (a refinement run: a cycle takes well
// under a millisecond for small patterns) would otherwise repaint every
// window it changed on every call, hundreds of times a second, and spend
// most of its time drawing frames nobody sees. Input is handled on every
// call as before; only the window system's repaint requests of top-level
// windows wait, at most one interval, and none is lost.
#include <QCoreApplication>
#include <algorithm>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_ui.h"

TPaintPacer::TPaintPacer() { FClock.start(); }

TPaintPacer::~TPaintPacer() {
  // Gone with the application: nothing is painted any more.
  if (FInterval > 0 && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

void TPaintPacer::SetInterval(int milliseconds) {
  milliseconds = std::max(0, milliseconds);
  if (milliseconds == FInterval) return;
  const bool was = FInterval > 0;
  FInterval = milliseconds;
  if (FInterval > 0 && !was) {
    EnsureQtApplication();
    QCoreApplication::instance()->installEventFilter(this);
  } else if (FInterval == 0) {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    PaintHeld();
    FWindows.clear();
  }
}

TPaintPacer::TWindow& TPaintPacer::Window(QWidget* widget) {
  // The entries of windows that are gone stay until pacing ends: their
  // timers may be being fired.
  for (const auto& w : FWindows)
    if (w->Widget == widget) return *w;
  FWindows.push_back(std::make_unique<TWindow>());
  FWindows.back()->Widget = widget;
  return *FWindows.back();
}

bool TPaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::UpdateRequest || FInside || FInterval <= 0 || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (!widget->isWindow()) return false;
  TWindow& window = Window(widget);
  const int64_t since = FClock.elapsed() - window.PaintEnd;
  if (!window.Painted || since >= FInterval) {
    Paint(widget, event);
    return true;
  }
  if (!window.Held) {
    window.Held = std::make_unique<TTimer>(nullptr);
    window.Held->SetEnabled(false);
    QPointer<QWidget> held = widget;
    window.Held->SetOnTimer([this, held](TObject* timer) {
      if (held) Paint(held, nullptr);
      else static_cast<TTimer*>(timer)->SetEnabled(false);
    });
  }
  if (!window.Held->Enabled()) {
    window.Held->SetInterval(static_cast<unsigned>(std::max<int64_t>(1, FInterval - since)));
    window.Held->SetEnabled(true);
  }
  return true;
}

void TPaintPacer::Paint(QWidget* widget, QEvent* request) {
  QPointer<QWidget> guard = widget;
  TWindow& window = Window(widget);
  if (window.Held) window.Held->SetEnabled(false);
  QEvent own(QEvent::UpdateRequest);
  const bool inside = FInside;
  FInside = true;
  struct TRestore {
    bool& Flag;
    bool Old;
    ~TRestore() { Flag = Old; }
  } restore{FInside, inside};
  QCoreApplication::sendEvent(widget, request ? request : &own);
  if (!guard) return;
  // Looked up again: the paint may have added windows to the list.
  TWindow& painted = Window(widget);
  painted.PaintEnd = FClock.elapsed();
  painted.Painted = true;
}

void TPaintPacer::PaintHeld() {
  std::vector<QPointer<QWidget>> held;
  for (const auto& w : FWindows)
    if (w->Widget && w->Held && w->Held->Enabled()) held.push_back(w->Widget);
  for (const QPointer<QWidget>& w : held)
    if (w) Paint(w, nullptr);
}

void TApplication::SetPaintInterval(int Milliseconds) {
  if (!FPaintPacer) {
    if (Milliseconds <= 0) return;
    FPaintPacer = std::make_unique<TPaintPacer>();
  }
  FPaintPacer->SetInterval(Milliseconds);
}

int TApplication::PaintInterval() const { return FPaintPacer ? FPaintPacer->Interval() : 0; }
