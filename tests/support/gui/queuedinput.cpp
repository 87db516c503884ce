#include "queuedinput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>


#include "platform/ui/qt_ui.h"
#include "platform/ui/queuedcall.h"
#include "qtinput.h"

namespace guitest {

namespace {

Qt::MouseButtons Held;

}  // namespace

void PostInSequence(std::vector<std::function<void()>> steps) {
  for (auto& step : steps) QueueCall(std::move(step));
}

void PostKey(TWinControl* c, uint16_t vk, const std::string& text, TShiftState shift) {
  c->HandleNeeded();
  QWidget* w = c->Impl()->Focus ? c->Impl()->Focus : c->Impl()->Widget.data();
  if (!w) return;
  const int key = VKToQtKey(vk);
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, QtModifiers(shift), QString::fromStdString(text)));
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, QtModifiers(shift), QString::fromStdString(text)));
}

void PostMouseButton(TControl* c, bool down, TMouseButton button, int x, int y, TShiftState shift) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  Qt::MouseButton b = QtButton(button);
  if (down) Held |= b;
  else Held &= ~Qt::MouseButtons(b);
  QPointF local(x, y);
  QPointF global = w->mapToGlobal(local.toPoint());
  QCoreApplication::postEvent(w, new QMouseEvent(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local,
                                                 global, b, Held, QtModifiers(shift)));
}

void PostMouseMove(TControl* c, int x, int y, TShiftState shift) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  QPointF local(x, y);
  QPointF global = w->mapToGlobal(local.toPoint());
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseMove, local, global, Qt::NoButton, Held, QtModifiers(shift)));
}

void PostClick(TControl* c, int x, int y, TMouseButton button) {
  PostMouseButton(c, true, button, x, y);
  PostMouseButton(c, false, button, x, y);
}

}  // namespace guitest
