#include "platform/ui/windowevents.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <map>

#include "platform/gfx/qt_private.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_ui.h"

namespace {

HWND HandleOfWindow(QWidget* w) {
  QVariant v = w->property("zvControl");
  if (!v.isValid()) return 0;
  auto* c = static_cast<TWinControl*>(v.value<void*>());
  if (!c || !c->HandleAllocated() || c->Impl()->Widget != w) return 0;
  return c->Handle();
}

class TWindowEventFilter : public QObject {
public:
  std::map<uintptr_t, TWindowEventProc> Procs;
  uintptr_t NextId = 1;

  void Report(TWindowEventKind Kind, HWND Window, WPARAM WParam) {
    // A procedure may remove itself or others while it runs.
    std::map<uintptr_t, TWindowEventProc> Copy = Procs;
    for (auto& [id, proc] : Copy)
      if (Procs.count(id)) proc(Kind, Window, WParam, 0);
  }

  bool eventFilter(QObject* obj, QEvent* e) override {
    if (e->type() == QEvent::ApplicationStateChange && obj == qApp) {
      Report(wekActivateApp, 0, QGuiApplication::applicationState() == Qt::ApplicationActive ? 1 : 0);
      return false;
    }
    if (!obj->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(obj);
    if (!w->isWindow()) return false;
    switch (e->type()) {
      case QEvent::WindowActivate:
      case QEvent::WindowDeactivate:
        if (HWND h = HandleOfWindow(w)) Report(wekActivate, h, e->type() == QEvent::WindowActivate ? 1 : 0);
        break;
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
      case QEvent::WindowStateChange:  // minimised and restored
        if (HWND h = HandleOfWindow(w)) Report(wekWindowPosChanged, h, 0);
        break;
      default:
        break;
    }
    return false;
  }
};

TWindowEventFilter*& Filter() {
  static TWindowEventFilter* f = nullptr;
  return f;
}

}  // namespace

uintptr_t AddWindowEventProc(TWindowEventProc Proc) {
  EnsureQtApplication();
  if (!Filter()) {
    Filter() = new TWindowEventFilter;
    qApp->installEventFilter(Filter());
  }
  const uintptr_t Id = Filter()->NextId++;
  Filter()->Procs.emplace(Id, std::move(Proc));
  return Id;
}

void RemoveWindowEventProc(uintptr_t Id) {
  TWindowEventFilter* f = Filter();
  if (!f) return;
  f->Procs.erase(Id);
  if (f->Procs.empty()) {
    if (qApp) {
      qApp->removeEventFilter(f);
      f->deleteLater();
    } else {
      delete f;
    }  // the last procedure may be removing itself from inside the filter
    Filter() = nullptr;
  }
}

int WindowEventProcCount() { return Filter() ? static_cast<int>(Filter()->Procs.size()) : 0; }
