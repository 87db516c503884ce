#include "platform/ui/menuloop.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <map>

#include "platform/ui/qt_ui.h"

namespace {

TWinControl* ControlOfWidget(QWidget* w) {
  for (; w; w = w->parentWidget()) {
    QVariant v = w->property("zvControl");
    if (v.isValid()) {
      auto* c = static_cast<TWinControl*>(v.value<void*>());
      // Only while the control still owns this widget.
      if (c && c->HandleAllocated() && c->Impl()->Widget == w) return c;
    }
  }
  return nullptr;
}

std::map<std::pair<HWND, unsigned>, std::unique_ptr<QTimer>>& Timers() {
  static std::map<std::pair<HWND, unsigned>, std::unique_ptr<QTimer>> m;
  return m;
}

void DeliverTimer(HWND wnd, unsigned id) {
  TWinControl* c = FindControl(wnd);
  if (!c) {
    KillTimer(wnd, id);
    return;
  }
  GuardEvent(c, [&] { c->Perform(WM_TIMER, id, 0); });
}

}  // namespace

TWinControl* FindControlAtScreenPoint(TPoint P) {
  EnsureQtApplication();
  const QPoint g(P.X, P.Y);
  if (QWidget* w = QApplication::widgetAt(g)) return ControlOfWidget(w);
  // Window systems that cannot tell (offscreen): the visible top-level
  // windows, those kept on top first, the latest shown of a kind winning.
  QWidget* best = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible() || !top->geometry().contains(g)) continue;
    bool onTop = top->windowFlags() & Qt::WindowStaysOnTopHint;
    if (!best || onTop || !(best->windowFlags() & Qt::WindowStaysOnTopHint)) best = top;
  }
  if (!best) return nullptr;
  QWidget* child = best->childAt(best->mapFromGlobal(g));
  return ControlOfWidget(child ? child : best);
}

bool SetTimer(HWND Wnd, unsigned Id, unsigned Interval) {
  if (!FindControl(Wnd)) return false;
  auto& t = Timers()[{Wnd, Id}];
  if (!t) {
    t = std::make_unique<QTimer>();
    QObject::connect(t.get(), &QTimer::timeout, [Wnd, Id] { DeliverTimer(Wnd, Id); });
  }
  t->start(static_cast<int>(Interval));
  return true;
}

bool KillTimer(HWND Wnd, unsigned Id) {
  auto it = Timers().find({Wnd, Id});
  if (it == Timers().end()) return false;
  // The timer may be the one delivering right now.
  it->second.release()->deleteLater();
  Timers().erase(it);
  return true;
}

std::vector<TWindowTimer> RunningWindowTimers() {
  std::vector<TWindowTimer> r;
  for (auto& [k, t] : Timers()) r.push_back({k.first, k.second, static_cast<unsigned>(t->interval())});
  return r;
}

void FireWindowTimers() {
  for (const TWindowTimer& t : RunningWindowTimers())
    if (Timers().count({t.Wnd, t.Id})) DeliverTimer(t.Wnd, t.Id);
}

// ---------------------------------------------------------------------------

void TPopupControl::DeclareProperties(TClassInfo&) {}
ZV_CLASS_IMPL(TPopupControl, TCustomControl)

// Popups start hidden and show when asked.
TPopupControl::TPopupControl(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

void TPopupControl::CreateWnd() {
  TCustomControl::CreateWnd();
  QWidget* w = Impl()->Widget;
  if (!w) return;
  w->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
  w->setAttribute(Qt::WA_ShowWithoutActivating);
  w->setFocusPolicy(Qt::NoFocus);
  w->move(Left(), Top());
  w->resize(Width(), Height());
  if (Visible()) w->show();
}

void TPopupControl::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  // A window without parent shows and hides itself.
  if (Message.Msg == CM_VISIBLECHANGED && !Parent()) {
    if (Visible()) HandleNeeded();
    if (HandleAllocated() && Impl()->Widget) Impl()->Widget->setVisible(Visible());
  }
}

// ---------------------------------------------------------------------------

namespace {

class TLoopFilter;
// Only the innermost running loop filters input.
std::vector<TLoopFilter*>& FilterStack() {
  static std::vector<TLoopFilter*> s;
  return s;
}

class TLoopFilter : public QObject {
public:
  TInputFilter Filter;
  std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> Reposts;
  const QEvent* LastEvent = nullptr;
  QEvent::Type LastType = QEvent::None;
  bool LastResult = false;
  QPointer<QWidget> LastReceiver;
  std::function<void()> AfterEvent;

  bool eventFilter(QObject* obj, QEvent* e) override {
    if (!obj->isWidgetType() || FilterStack().empty() || FilterStack().back() != this) return false;
    TInputEvent ie;
    switch (e->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        ie.Kind = e->type() == QEvent::KeyPress ? ikKeyDown : ikKeyUp;
        ie.Key = QtKeyToVK(k->key());
        ie.Text = FromQString(k->text());
        ie.Shift = QtModifiersToShift(k->modifiers(), Qt::NoButton);
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        ie.Kind = e->type() == QEvent::MouseButtonPress     ? ikMouseDown
                  : e->type() == QEvent::MouseButtonRelease ? ikMouseUp
                  : e->type() == QEvent::MouseButtonDblClick ? ikMouseDblClick
                                                             : ikMouseMove;
        ie.Button = m->button() == Qt::RightButton ? mbRight : m->button() == Qt::MiddleButton ? mbMiddle : mbLeft;
        ie.Shift = QtModifiersToShift(m->modifiers(), m->buttons());
        QPoint g = m->globalPosition().toPoint();
        ie.ScreenPos = TPoint(g.x(), g.y());
        break;
      }
      case QEvent::Wheel: {
        auto* w = static_cast<QWheelEvent*>(e);
        ie.Kind = ikMouseWheel;
        ie.WheelDelta = w->angleDelta().y();
        QPoint g = w->globalPosition().toPoint();
        ie.ScreenPos = TPoint(g.x(), g.y());
        ie.Shift = QtModifiersToShift(w->modifiers(), w->buttons());
        break;
      }
      default:
        return false;
    }
    // An event that was passed on and that its widget ignored travels on to
    // the parents: it was decided already. (Only then: a new event may get
    // the address of one handled before.)
    auto* w = static_cast<QWidget*>(obj);
    if (e == LastEvent && e->type() == LastType && LastReceiver && LastReceiver != w && w->isAncestorOf(LastReceiver))
      return false;
    ie.Target = ControlOfWidget(w);
    TInputRoute route = irPass;
    GuardEvent(ie.Target, [&] { route = Filter(ie); });
    if (route == irRepostAfter) Reposts.emplace_back(obj, std::unique_ptr<QEvent>(e->clone()));
    bool passed = route == irPass;
    LastEvent = passed ? e : nullptr;
    LastType = e->type();
    LastReceiver = passed ? w : nullptr;
    LastResult = !passed;
    if (AfterEvent) AfterEvent();
    return LastResult;
  }
};

}  // namespace

struct TNestedEventLoop::TImpl {
  QEventLoop Loop;
  TLoopFilter Filter;
  bool QuitRequested = false;
};

TNestedEventLoop::TNestedEventLoop() : FImpl(std::make_unique<TImpl>()) {}
TNestedEventLoop::~TNestedEventLoop() = default;

void TNestedEventLoop::Run(TInputFilter Filter) {
  EnsureQtApplication();
  FImpl->QuitRequested = false;
  FImpl->Filter.Filter = std::move(Filter);
  FImpl->Filter.AfterEvent = [this] {
    if (ShouldQuit && ShouldQuit()) Quit();
  };
  qApp->installEventFilter(&FImpl->Filter);
  FilterStack().push_back(&FImpl->Filter);
  FRunning = true;
  QPointer<QWidget> holder;
  if (FHolder && FHolder->HandleAllocated() && FHolder->Impl()->Widget) {
    holder = FHolder->Impl()->Widget->window();
    if (holder->isVisible()) holder->grabMouse();
    else holder = nullptr;
  }
  struct TCleanup {
    TNestedEventLoop* L;
    QPointer<QWidget>& Holder;
    ~TCleanup() {
      if (Holder && QWidget::mouseGrabber() == Holder) Holder->releaseMouse();
      qApp->removeEventFilter(&L->FImpl->Filter);
      auto& st = FilterStack();
      st.erase(std::remove(st.begin(), st.end(), &L->FImpl->Filter), st.end());
      L->FRunning = false;
      // Keys typed into the menus do not reach the windows below.
      QCoreApplication::removePostedEvents(nullptr, QEvent::KeyPress);
      QCoreApplication::removePostedEvents(nullptr, QEvent::KeyRelease);
      for (auto& [target, ev] : L->FImpl->Filter.Reposts)
        if (target) QCoreApplication::postEvent(target, ev.release());
      L->FImpl->Filter.Reposts.clear();
      L->FImpl->Filter.LastEvent = nullptr;
    }
  } cleanup{this, holder};
  while (!FImpl->QuitRequested && !(ShouldQuit && ShouldQuit())) {
    FImpl->Loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
  }
}

void TNestedEventLoop::Quit() {
  FImpl->QuitRequested = true;
  FImpl->Loop.wakeUp();
}

