#pragma once
// Input helpers shared by the synchronous and the queued test input: the Qt
// widget that receives a control's input and the modifiers of a shift state.
#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include "platform/ui/controls.h"
#include "platform/ui/qt_ui.h"

namespace guitest {

// The widget that receives the input, and the point moved into its coordinates.
inline QWidget* InputTarget(TControl* c, int& x, int& y) {
  while (c && !dynamic_cast<TWinControl*>(c)) {
    const TPoint o = c->Parent() ? c->Parent()->ChildOrigin() : TPoint{0, 0};
    x += o.X + c->Left();
    y += o.Y + c->Top();
    c = c->Parent();
  }
  auto* w = static_cast<TWinControl*>(c);
  if (!w) return nullptr;
  w->HandleNeeded();
  QWidget* target = w->Impl()->Widget;
  // A text widget (a memo, a rich edit) takes the mouse in its viewport, as
  // the window system delivers it there.
  auto* area = qobject_cast<QAbstractScrollArea*>(target);
  // A list or tree: the viewport inside the frame is the client area.
  if (area && area->property("zvViewportInput").toBool()) {
    QWidget* view = area->viewport();
    if (view->rect().contains(QPoint(x, y))) return view;
    const QPoint p = area->mapFrom(view, QPoint(x, y));
    x = p.x();
    y = p.y();
    return target;
  }
  if (area && (qobject_cast<QTextEdit*>(area) || qobject_cast<QPlainTextEdit*>(area))) {
    QWidget* view = area->viewport();
    const QPoint p = view->mapFrom(target, QPoint(x, y));
    if (view->rect().contains(p)) {
      x = p.x();
      y = p.y();
      return view;
    }
  }
  return target;
}

inline Qt::KeyboardModifiers QtModifiers(TShiftState s) {
  Qt::KeyboardModifiers m;
  if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
  if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
  if (s.Contains(ssAlt)) m |= Qt::AltModifier;
  return m;
}

inline Qt::MouseButton QtButton(TMouseButton b) {
  return b == mbRight ? Qt::RightButton : b == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
}

}  // namespace guitest
