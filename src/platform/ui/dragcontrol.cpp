// Dragging controls within the program: the source is captured by a filter
// on the whole application while the drag lasts; every mouse move asks the
// control under the mouse whether it accepts, the release drops there, and
// Escape cancels.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>

#include "platform/ui/controls.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/qt_ui.h"

namespace {

constexpr int kDefaultThreshold = 5;

class TDragFilter;

struct TDragSession {
  TControl* Source = nullptr;
  TControl* Target = nullptr;
  bool Accepted = false;
  bool Started = false;  // false until the threshold is passed
  int Threshold = kDefaultThreshold;
  TPoint StartPos{0, 0};
  TPoint LastPos{0, 0};
  TDragFilter* Filter = nullptr;
};

TDragSession& Session() {
  static TDragSession s;
  return s;
}

// The innermost control (graphic ones included) at a screen point.
TControl* ControlAt(TPoint P) {
  TWinControl* w = FindControlAtScreenPoint(P);
  if (!w) return nullptr;
  TControl* c = w;
  for (;;) {
    TPoint local = w->ScreenToClient(P);
    TControl* child = w->ControlAtPos(local, true, true);
    if (!child) break;
    c = child;
    auto* cw = dynamic_cast<TWinControl*>(child);
    if (!cw) break;
    w = cw;
  }
  return c;
}

void MoveTo(TPoint P);
void Finish(bool Drop, TPoint P);

class TDragFilter : public QObject {
public:
  bool eventFilter(QObject*, QEvent* e) override {
    TDragSession& s = Session();
    switch (e->type()) {
      case QEvent::MouseMove: {
        const QPointF g = static_cast<QMouseEvent*>(e)->globalPosition();
        const TPoint p{static_cast<int>(g.x()), static_cast<int>(g.y())};
        if (!s.Started) {
          if (std::abs(p.X - s.StartPos.X) <= s.Threshold && std::abs(p.Y - s.StartPos.Y) <= s.Threshold)
            return false;
          s.Started = true;
          if (s.Source) s.Source->DoStartDrag();
        }
        MoveTo(p);
        return true;
      }
      case QEvent::MouseButtonRelease: {
        if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return s.Started;
        const QPointF g = static_cast<QMouseEvent*>(e)->globalPosition();
        const bool started = s.Started;
        Finish(started, TPoint{static_cast<int>(g.x()), static_cast<int>(g.y())});
        // Before the threshold it stays an ordinary click.
        return started;
      }
      case QEvent::KeyPress:
        if (s.Started && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
          Finish(false, s.LastPos);
          return true;
        }
        return false;
      default: return false;
    }
  }
};

void MoveTo(TPoint P) {
  TDragSession& s = Session();
  s.LastPos = P;
  TControl* t = ControlAt(P);
  if (t != s.Target) {
    if (s.Target) {
      bool accept = false;
      const TPoint l = s.Target->ScreenToClient(P);
      s.Target->DragOver(s.Source, l.X, l.Y, dsDragLeave, accept);
    }
    s.Target = t;
    s.Accepted = false;
    if (t) {
      const TPoint l = t->ScreenToClient(P);
      t->DragOver(s.Source, l.X, l.Y, dsDragEnter, s.Accepted);
    }
    return;
  }
  if (t) {
    const TPoint l = t->ScreenToClient(P);
    t->DragOver(s.Source, l.X, l.Y, dsDragMove, s.Accepted);
  }
}

void Finish(bool Drop, TPoint P) {
  TDragSession s = Session();
  Session() = TDragSession{};
  if (s.Filter) {
    QApplication::instance()->removeEventFilter(s.Filter);
    s.Filter->deleteLater();
  }
  if (!s.Started || !s.Source) return;
  TControl* target = nullptr;
  int x = 0, y = 0;
  if (s.Target) {
    const TPoint l = s.Target->ScreenToClient(P);
    x = l.X;
    y = l.Y;
    if (Drop && s.Accepted) {
      target = s.Target;
      target->DragDrop(s.Source, x, y);
    } else {
      bool accept = false;
      s.Target->DragOver(s.Source, x, y, dsDragLeave, accept);
    }
  }
  s.Source->DoEndDrag(target, x, y);
}

}  // namespace

TControl* DraggedControl() { return Session().Started ? Session().Source : nullptr; }
TControl* DragTargetControl() { return Session().Target; }
TControl* DragSourceControl() { return Session().Source; }

void ForgetDraggedControl(TControl* C) {
  TDragSession& s = Session();
  if (s.Target == C) {
    s.Target = nullptr;
    s.Accepted = false;
  }
  if (s.Source == C) {
    if (s.Filter && QApplication::instance()) {
      QApplication::instance()->removeEventFilter(s.Filter);
      s.Filter->deleteLater();
    }
    s = TDragSession{};
  }
}

namespace {

void StartSession(TControl* C, TPoint Start, bool Immediate, int Threshold) {
  TDragSession& s = Session();
  if (s.Source || !C) return;  // one drag at a time
  if (!QApplication::instance()) return;
  s.Source = C;
  s.Threshold = Threshold < 0 ? kDefaultThreshold : Threshold;
  s.StartPos = Start;
  s.LastPos = Start;
  s.Filter = new TDragFilter;
  QApplication::instance()->installEventFilter(s.Filter);
  if (Immediate) {
    s.Started = true;
    C->DoStartDrag();
    MoveTo(Start);
  }
}

}  // namespace

void BeginDragFrom(TControl* C, TPoint ScreenStart, int Threshold) { StartSession(C, ScreenStart, false, Threshold); }

void TControl::BeginDrag(bool Immediate, int Threshold) {
  // Where the mouse was at the press being handled (the pointer position
  // the window system reports may lag behind its events).
  TPoint p{0, 0};
  if (!LastMouseEventPos(p)) GetCursorPos(p);
  StartSession(this, p, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
  if (Session().Source != this) return;
  Finish(Drop, Session().LastPos);
}

bool TControl::Dragging() const { return Session().Source == this && Session().Started; }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag() {
  if (OnStartDrag) OnStartDrag(this);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}
