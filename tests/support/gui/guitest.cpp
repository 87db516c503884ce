#include "guitest.h"

#include <QApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include "platform/ui/qt_ui.h"
#include "qtinput.h"

namespace guitest {

namespace {

Qt::MouseButtons Held;

void SendMouse(TControl* c, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  const QPointF local(x, y);
  const QPointF global = w->mapToGlobal(local.toPoint());
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) Held |= button;
  if (type == QEvent::MouseButtonRelease) Held &= ~Qt::MouseButtons(button);
  QMouseEvent e(type, local, global, button, Held, QtModifiers(shift));
  QApplication::sendEvent(w, &e);
}

void SendWindowMouse(TControl* c, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift) {
  QWidget* w = InputTarget(c, x, y);
  if (!w || !w->window()->windowHandle()) return;
  QWidget* top = w->window();
  const QPointF global = w->mapToGlobal(QPoint(x, y));
  const QPointF local = top->mapFromGlobal(global.toPoint());
  if (type == QEvent::MouseButtonPress) Held |= button;
  if (type == QEvent::MouseButtonRelease) Held &= ~Qt::MouseButtons(button);
  QMouseEvent e(type, local, local, global, button, Held, QtModifiers(shift));
  QApplication::sendEvent(top->windowHandle(), &e);
}

}  // namespace

void WindowMouseDown(TControl* c, TMouseButton button, int x, int y, TShiftState shift) {
  SendWindowMouse(c, QEvent::MouseButtonPress, QtButton(button), x, y, shift);
}

void WindowMouseMove(TControl* c, int x, int y, TShiftState shift) {
  SendWindowMouse(c, QEvent::MouseMove, Qt::NoButton, x, y, shift);
}

void WindowMouseUp(TControl* c, TMouseButton button, int x, int y, TShiftState shift) {
  SendWindowMouse(c, QEvent::MouseButtonRelease, QtButton(button), x, y, shift);
}

void EnsureGui() { EnsureQtApplication(); }

void MouseDown(TControl* c, TMouseButton button, int x, int y, TShiftState shift) {
  SendMouse(c, QEvent::MouseButtonPress, QtButton(button), x, y, shift);
}

void MouseMove(TControl* c, int x, int y, TShiftState shift) {
  SendMouse(c, QEvent::MouseMove, Qt::NoButton, x, y, shift);
}

void MouseUp(TControl* c, TMouseButton button, int x, int y, TShiftState shift) {
  SendMouse(c, QEvent::MouseButtonRelease, QtButton(button), x, y, shift);
}

void Click(TControl* c, int x, int y, TMouseButton button) {
  MouseDown(c, button, x, y);
  MouseUp(c, button, x, y);
}

void WindowClick(TControl* c, int x, int y, TMouseButton button) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  QPoint p(x, y);
  if (QWidget* child = w->childAt(p)) {
    p = child->mapFrom(w, p);
    w = child;
  }
  const QPointF global = w->mapToGlobal(p);
  const Qt::MouseButton b = QtButton(button);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    if (type == QEvent::MouseButtonPress) Held |= b;
    else Held &= ~Qt::MouseButtons(b);
    QMouseEvent e(type, QPointF(p), global, b, Held, Qt::NoModifier);
    // Spontaneous, as the window system's own: the application moves the
    // focus for it.
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(w, &e);
  }
}

void DblClick(TControl* c, int x, int y) {
  MouseDown(c, mbLeft, x, y);
  MouseUp(c, mbLeft, x, y);
  SendMouse(c, QEvent::MouseButtonDblClick, Qt::LeftButton, x, y, {});
  MouseUp(c, mbLeft, x, y);
}

void Drag(TControl* c, int x0, int y0, int x1, int y1, int steps) {
  MouseDown(c, mbLeft, x0, y0);
  for (int i = 1; i <= steps; ++i) MouseMove(c, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
  MouseUp(c, mbLeft, x1, y1);
}

void Wheel(TControl* c, int notches, int x, int y, TShiftState shift) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  const QPointF local(x, y);
  QWheelEvent e(local, w->mapToGlobal(local.toPoint()), QPoint(), QPoint(0, notches * 120), Held, QtModifiers(shift),
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

void MouseEnter(TControl* c) {
  int x = 0, y = 0;
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  if (c->Parent() && !dynamic_cast<TWinControl*>(c)) {
    MouseMove(c, c->Width() / 2, c->Height() / 2);
    return;
  }
  QEnterEvent e(QPointF(0, 0), QPointF(0, 0), w->mapToGlobal(QPoint(0, 0)));
  QApplication::sendEvent(w, &e);
}

void MouseLeave(TControl* c) {
  int x = 0, y = 0;
  QWidget* w = InputTarget(c, x, y);
  if (!w) return;
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(w, &e);
}

void Key(TWinControl* c, uint16_t vk, const std::string& text, TShiftState shift) {
  c->HandleNeeded();
  QWidget* w = c->Impl()->Focus ? c->Impl()->Focus : c->Impl()->Widget.data();
  if (!w) return;
  const int key = VKToQtKey(vk);
  QKeyEvent down(QEvent::KeyPress, key, QtModifiers(shift), QString::fromStdString(text));
  QApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, QtModifiers(shift), QString::fromStdString(text));
  QApplication::sendEvent(w, &up);
}

void InputMethodCommit(TWinControl* c, const std::string& text) {
  c->HandleNeeded();
  QWidget* w = c->Impl()->Focus ? c->Impl()->Focus : c->Impl()->Widget.data();
  if (!w) return;
  QInputMethodEvent e;
  e.setCommitString(QString::fromStdString(text));
  QApplication::sendEvent(w, &e);
}

void TypeText(TWinControl* c, const std::string& text) {
  for (char ch : text) {
    uint16_t vk = 0;
    if (ch >= 'a' && ch <= 'z') vk = static_cast<uint16_t>(ch - 'a' + 'A');
    else if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) vk = static_cast<uint16_t>(ch);
    else if (ch == ' ') vk = VK_SPACE;
    else if (ch == '\r' || ch == '\n') vk = VK_RETURN;
    else if (ch == '.') vk = VK_OEM_PERIOD;
    else if (ch == '-') vk = VK_OEM_MINUS;
    const TShiftState shift = (ch >= 'A' && ch <= 'Z') ? TShiftState{ssShift} : TShiftState{};
    Key(c, vk, std::string(1, ch == '\n' ? '\r' : ch), shift);
  }
}

int DragAndDrop(TWinControl* c, const TDragPayload& Data, int x, int y, int AllowedEffects, TShiftState keys) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return DROPEFFECT_NONE;
  QMimeData mime;
  for (const auto& [type, bytes] : EncodeDragPayload(Data))
    mime.setData(QString::fromStdString(type), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  Qt::DropActions actions;
  if (AllowedEffects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
  if (AllowedEffects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
  if (AllowedEffects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
  const QPointF at(x, y);
  const Qt::KeyboardModifiers mods = QtModifiers(keys);
  QDragEnterEvent enter(at.toPoint(), actions, &mime, Qt::LeftButton, mods);
  QApplication::sendEvent(w, &enter);
  if (!enter.isAccepted()) return DROPEFFECT_NONE;
  QDragMoveEvent move(at.toPoint(), actions, &mime, Qt::LeftButton, mods);
  QApplication::sendEvent(w, &move);
  if (!move.isAccepted()) {
    QDragLeaveEvent leave;
    QApplication::sendEvent(w, &leave);
    return DROPEFFECT_NONE;
  }
  QDropEvent drop(at, actions, &mime, Qt::LeftButton, mods);
  QApplication::sendEvent(w, &drop);
  if (!drop.isAccepted()) return DROPEFFECT_NONE;
  switch (drop.dropAction()) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction: return DROPEFFECT_MOVE;
    case Qt::LinkAction: return DROPEFFECT_LINK;
    default: return DROPEFFECT_NONE;
  }
}

void FireTimers() {
  const std::vector<TTimer*> timers = TTimer::AllTimers();
  for (TTimer* t : timers)
    if (t->Active()) FireTimer(t);
}

void FireTimer(TTimer* t) {
  GuardEvent(t, [t] { t->Timer(); });
}

void ProcessEvents() { Application->ProcessMessages(); }

TModalResponder::TModalResponder() {
  FPrevious = SetModalFormHandler([this](TCustomForm* f) {
    ++FCount;
    if (FScript.empty()) return static_cast<int>(mrCancel);
    auto action = std::move(FScript.front());
    FScript.pop_front();
    return action(f);
  });
}

TModalResponder::~TModalResponder() { SetModalFormHandler(std::move(FPrevious)); }

TModalResponder& TModalResponder::Answer(int modalResult) {
  FScript.push_back([modalResult](TCustomForm*) { return modalResult; });
  return *this;
}

TModalResponder& TModalResponder::Do(std::function<int(TCustomForm*)> action) {
  FScript.push_back(std::move(action));
  return *this;
}

TCommonDialogResponder::TCommonDialogResponder() {
  FPrevious = SetCommonDialogHandler([this](TCommonDialog* d) {
    ++FCount;
    if (FScript.empty()) return false;
    auto action = std::move(FScript.front());
    FScript.pop_front();
    return action(d);
  });
}

TCommonDialogResponder::~TCommonDialogResponder() { SetCommonDialogHandler(std::move(FPrevious)); }

TCommonDialogResponder& TCommonDialogResponder::Do(std::function<bool(TCommonDialog*)> action) {
  FScript.push_back(std::move(action));
  return *this;
}

TColor SurfacePixel(TControl* c, int x, int y) {
  while (c && !dynamic_cast<TWinControl*>(c)) {
    const TPoint o = c->Parent() ? c->Parent()->ChildOrigin() : TPoint{0, 0};
    x += o.X + c->Left();
    y += o.Y + c->Top();
    c = c->Parent();
  }
  auto* w = static_cast<TWinControl*>(c);
  if (!w) return CLR_INVALID;
  w->PaintNow();
  w->Impl()->FlushSurface();
  const QImage& img = w->Impl()->Surface;
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return CLR_INVALID;
  return GfxFromQColor(img.pixelColor(x, y));
}

bool SaveControlPng(TControl* c, const std::string& fileName) {
  int x = 0, y = 0;
  QWidget* w = InputTarget(c, x, y);
  if (!w) return false;
  auto* win = dynamic_cast<TWinControl*>(c);
  if (win) win->Update();
  else c->Parent()->Update();
  QPixmap pm = w->grab();
  if (!win) pm = pm.copy(x, y, c->Width(), c->Height());
  return pm.save(QString::fromStdString(fileName), "PNG");
}

bool ControlPicture(TWinControl* c, TBitmap& out) {
  if (!c || !c->HandleAllocated() || !c->Impl()->Widget) return false;
  c->Update();
  GfxSetBitmapImage(&out, c->Impl()->Widget->grab().toImage().convertToFormat(QImage::Format_RGB32));
  return true;
}

bool DroppedListPicture(TWinControl* c, TBitmap& out) {
  auto* combo = c && c->HandleAllocated() ? qobject_cast<QComboBox*>(c->Impl()->Widget.data()) : nullptr;
  if (!combo || !combo->view() || !combo->view()->isVisible()) return false;
  QWidget* items = combo->view()->viewport();
  GfxSetBitmapImage(&out, items->grab().toImage().convertToFormat(QImage::Format_RGB32));
  return true;
}

namespace {

// The top-level window as the window system composes it. Where no widget
// paints (an opaque widget leaving part of itself, or its parent leaving the
// part under an opaque child), the display keeps what was there before:
// `ground` stands for that, black as on a fresh X window.
QImage ComposedWindow(QWidget* top, const QColor& ground) {
  const qreal dpr = top->devicePixelRatioF();
  QImage img((QSizeF(top->size()) * dpr).toSize(), QImage::Format_RGB32);
  img.setDevicePixelRatio(dpr);
  img.fill(ground);
  top->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return img;
}

}  // namespace

TColor ShownPixel(TControl* c, int x, int y) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return CLR_INVALID;
  QWidget* top = w->window();
  const QPoint at = w->mapTo(top, QPoint(x, y));
  const QImage img = ComposedWindow(top, Qt::black);
  const QPoint px = (QPointF(at) * img.devicePixelRatio()).toPoint();
  if (!img.rect().contains(px)) return CLR_INVALID;
  return GfxFromQColor(img.pixelColor(px));
}

TColor DisplayedPixel(TControl* c, int x, int y) {
  QWidget* w = InputTarget(c, x, y);
  if (!w || !w->window()->windowHandle()) return CLR_INVALID;
  QWidget* top = w->window();
  const QPoint at = w->mapTo(top, QPoint(x, y));
  // The offscreen platform hands out the window's picture as last flushed;
  // nothing is painted for the asking.
  const QImage img = top->windowHandle()->screen()->grabWindow(top->winId(), at.x(), at.y(), 1, 1).toImage();
  if (img.isNull() || img.width() < 1) return CLR_INVALID;
  return GfxFromQColor(img.pixelColor(0, 0));
}

std::vector<TPoint> UnpaintedPixels(TControl* c) {
  int x = 0, y = 0;
  QWidget* w = InputTarget(c, x, y);
  if (!w) return {};
  QWidget* top = w->window();
  // Composed over two different grounds: a pixel that changes with the
  // ground is one nobody painted.
  const QImage dark = ComposedWindow(top, Qt::black);
  const QImage light = ComposedWindow(top, Qt::magenta);
  const QPoint origin = w->mapTo(top, QPoint(x, y));
  const qreal dpr = dark.devicePixelRatio();
  std::vector<TPoint> unpainted;
  for (int cy = 0; cy < c->Height(); ++cy)
    for (int cx = 0; cx < c->Width(); ++cx) {
      const QPoint px = (QPointF(origin + QPoint(cx, cy)) * dpr).toPoint();
      if (dark.rect().contains(px) && dark.pixel(px) != light.pixel(px)) unpainted.push_back(Point(cx, cy));
    }
  return unpainted;
}

bool WindowShape(TWinControl* c, TRegion& shape) {
  if (!c || !c->HandleAllocated()) return false;
  const QRegion mask = c->Impl()->Widget->mask();
  if (mask.isEmpty()) return false;
  GfxSetRegion(shape, mask);
  return true;
}

TRect WindowFrameRect(TWinControl* c) {
  c->HandleNeeded();
  const QRect r = c->Impl()->Widget->frameGeometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

TRect WindowClientRect(TWinControl* c) {
  c->HandleNeeded();
  const QRect r = c->Impl()->Widget->geometry();
  return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void MakeNativeWindow(TWinControl* c) {
  c->HandleNeeded();
  c->Impl()->Widget->winId();
}

void MoveWindowClient(TWinControl* c, int x, int y) {
  c->HandleNeeded();
  QWidget* w = c->Impl()->Widget;
  w->winId();
  w->windowHandle()->setPosition(QPoint(x, y));
  ProcessEvents();
}

namespace {

QWidget* ShownWindow(const std::string& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == QString::fromStdString(title)) return w;
  return nullptr;
}

QString Plain(QString text) { return text.remove('&'); }

template <class T>
T* Named(const std::string& title, const std::string& name) {
  QWidget* w = ShownWindow(title);
  if (!w) return nullptr;
  for (T* c : w->findChildren<T*>())
    if (c->isVisible() && Plain(c->text()) == QString::fromStdString(name)) return c;
  return nullptr;
}

}  // namespace

bool WindowShowing(const std::string& title) { return ShownWindow(title) != nullptr; }

bool SetWindowText(const std::string& title, const std::string& label, const std::string& text) {
  auto* l = Named<QLabel>(title, label);
  auto* edit = l ? qobject_cast<QLineEdit*>(l->buddy()) : nullptr;
  if (!edit) return false;
  edit->setText(QString::fromStdString(text));
  return true;
}

std::string WindowText(const std::string& title, const std::string& label) {
  auto* l = Named<QLabel>(title, label);
  auto* edit = l ? qobject_cast<QLineEdit*>(l->buddy()) : nullptr;
  return edit ? edit->text().toStdString() : std::string();
}

bool SetWindowCheck(const std::string& title, const std::string& control, bool checked) {
  auto* b = Named<QAbstractButton>(title, control);
  if (!b || !b->isEnabled()) return false;
  b->setChecked(checked);
  return true;
}

bool PressWindowButton(const std::string& title, const std::string& button) {
  auto* b = Named<QAbstractButton>(title, button);
  if (!b || !b->isEnabled()) return false;
  b->click();
  return true;
}

TCursor ShownCursor(TControl* c, int x, int y) {
  QWidget* w = InputTarget(c, x, y);
  if (!w) return crDefault;
  if (QWidget* child = w->childAt(x, y)) w = child;
  const Qt::CursorShape shape = w->cursor().shape();
  for (TCursor k : {crDefault, crCross, crIBeam, crSizeNESW, crSizeNS, crSizeNWSE, crSizeWE, crUpArrow, crHourGlass,
                    crDrag, crNoDrop, crHSplit, crVSplit, crAppStart, crHelp, crHandPoint, crSizeAll})
    if (CursorToQt(k).shape() == shape) return k;
  return crDefault;
}

}  // namespace guitest
