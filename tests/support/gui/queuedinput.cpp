#include "queuedinput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/ui/qt_ui.h"

namespace guitest {

namespace {

QWidget* WidgetOf(TControl* c, int& x, int& y) {
  while (c && !dynamic_cast<TWinControl*>(c)) {
    x += c->Left();
    y += c->Top();
    c = c->Parent();
  }
  auto* w = static_cast<TWinControl*>(c);
  if (!w) return nullptr;
  w->HandleNeeded();
  return w->Impl()->Widget;
}

Qt::KeyboardModifiers Mods(TShiftState s) {
  Qt::KeyboardModifiers m;
  if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
  if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
  if (s.Contains(ssAlt)) m |= Qt::AltModifier;
  return m;
}

Qt::MouseButtons Held;

}  // namespace

void PostKey(TWinControl* c, uint16_t vk, const std::string& text, TShiftState shift) {
  c->HandleNeeded();
  QWidget* w = c->Impl()->Focus ? c->Impl()->Focus : c->Impl()->Widget.data();
  if (!w) return;
  const int key = VKToQtKey(vk);
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, Mods(shift), QString::fromStdString(text)));
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, Mods(shift), QString::fromStdString(text)));
}

void PostMouseButton(TControl* c, bool down, TMouseButton button, int x, int y) {
  QWidget* w = WidgetOf(c, x, y);
  if (!w) return;
  Qt::MouseButton b = button == mbRight ? Qt::RightButton : button == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
  if (down) Held |= b;
  else Held &= ~Qt::MouseButtons(b);
  QPointF local(x, y);
  QPointF global = w->mapToGlobal(local.toPoint());
  QCoreApplication::postEvent(w, new QMouseEvent(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local,
                                                 global, b, Held, Qt::NoModifier));
}

void PostMouseMove(TControl* c, int x, int y) {
  QWidget* w = WidgetOf(c, x, y);
  if (!w) return;
  QPointF local(x, y);
  QPointF global = w->mapToGlobal(local.toPoint());
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseMove, local, global, Qt::NoButton, Held, Qt::NoModifier));
}

void PostClick(TControl* c, int x, int y, TMouseButton button) {
  PostMouseButton(c, true, button, x, y);
  PostMouseButton(c, false, button, x, y);
}

}  // namespace guitest
