// Translation of the window system's events into the class library's
// messages, in the order the class library sends them.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/ui/forms.h"
#include "platform/ui/qt_ui.h"

std::string FromQString(const QString& s) { return s.toStdString(); }
QString ToQString(const std::string& s) { return QString::fromStdString(s); }

void GuardEvent(TObject* sender, const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
    HandleUIException(sender);
  }
}

TShiftState QtModifiersToShift(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s;
  if (mods & Qt::ShiftModifier) s.Include(ssShift);
  if (mods & Qt::ControlModifier) s.Include(ssCtrl);
  if (mods & Qt::AltModifier) s.Include(ssAlt);
  if (buttons & Qt::LeftButton) s.Include(ssLeft);
  if (buttons & Qt::RightButton) s.Include(ssRight);
  if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

namespace {

unsigned MouseKeys(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  unsigned k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

const std::pair<int, uint16_t> kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},    {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT},  {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},  {Qt::Key_Help, VK_HELP},     {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Menu, VK_APPS},      {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_Equal, VK_OEM_PLUS}};

bool HaveMousePos = false;
TPoint MousePos{0, 0};

// The window that lost the focus to another window of ours, for the
// WM_SETFOCUS that follows; 0 when the focus came from outside.
HWND& FocusLostBy() {
  static HWND h = 0;
  return h;
}

}  // namespace

uint16_t QtKeyToVK(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint16_t>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint16_t>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
  for (auto& [q, vk] : kKeys)
    if (q == qtKey) return vk;
  return 0;
}

int VKToQtKey(uint16_t vk) {
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= VK_F1 && vk <= VK_F1 + 23) return Qt::Key_F1 + (vk - VK_F1);
  for (auto& [q, v] : kKeys)
    if (v == vk) return q;
  return Qt::Key_unknown;
}

bool LastMouseEventPos(TPoint& Pos) {
  if (HaveMousePos) Pos = MousePos;
  return HaveMousePos;
}

bool TEventBridge::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      const QPoint g = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
      MousePos = Point(g.x(), g.y());
      HaveMousePos = true;
      break;
    }
    default: break;
  }
  if (!*FAlive) return false;
  TWinControlImpl* impl = FControl->Impl();
  std::shared_ptr<bool> alive = FAlive;
  ++impl->InEvent;
  bool consumed = false;
  try {
    consumed = Translate(watched, event);
  } catch (...) {
    HandleUIException(*alive ? FControl : nullptr);
  }
  if (*alive) --impl->InEvent;
  return consumed;
}

bool TEventBridge::Translate(QObject* watched, QEvent* event) {
  TWinControl* c = FControl;
  TWinControlImpl* impl = c->Impl();
  std::shared_ptr<bool> alive = FAlive;
  // Sends one message; true when the control consumed it (did not pass it
  // to the default handling of the widget).
  // A message sent to the same window while this one is handled (a focus
  // change made by a key handler) keeps its answer to itself.
  auto send = [&](unsigned msg, WPARAM w, LPARAM l) -> bool {
    const bool outer = impl->DefaultCalled;
    impl->DefaultCalled = false;
    GuardEvent(c, [&] { c->Perform(msg, w, l); });
    if (!*alive) return true;
    const bool consumed = !impl->DefaultCalled;
    impl->DefaultCalled = outer;
    return consumed;
  };
  // Bounds the window system gave the window: the control takes them without
  // placing the window back there, which would repeat a place the window
  // system has since been asked to change (and on X move the window again).
  auto FollowWindowSystem = [&](int left, int top, int width, int height) {
    GuardEvent(c, [&] {
      impl->FollowsWindowSystem = true;
      struct TReset {
        TWinControlImpl* Impl;
        const std::shared_ptr<bool>& Alive;
        ~TReset() {
          if (*Alive) Impl->FollowsWindowSystem = false;
        }
      } reset{impl, alive};
      c->SetBounds(left, top, width, height);
    });
  };
  // A window painted by the layer takes all its mouse and key input: the
  // class library passes none of it on to the parent window.
  // (A scroll area shows the surface in its viewport, the focus widget.)
  const bool own = dynamic_cast<TSurfaceWidget*>(impl->Widget.data()) != nullptr ||
                   dynamic_cast<TSurfaceWidget*>(impl->Focus) != nullptr;
  // Client coordinates: a surface shown in a viewport is the client area.
  QWidget* client = impl->ViewportSurface && impl->Focus ? impl->Focus : impl->Widget.data();
  auto local = [&](QPointF p) {
    QPoint q = p.toPoint();
    if (watched != client && client) {
      auto* w = static_cast<QWidget*>(watched);
      if (client->isAncestorOf(w)) q = w->mapTo(client, q);
      else q = client->mapFromGlobal(w->mapToGlobal(q));  // the frame around a viewport
    }
    return q;
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = local(me->position());
      const unsigned keys = MouseKeys(me->modifiers(), me->buttons());
      unsigned msg = 0;
      const bool down = event->type() == QEvent::MouseButtonPress;
      const bool dbl = event->type() == QEvent::MouseButtonDblClick;
      switch (me->button()) {
        case Qt::LeftButton: msg = dbl ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case Qt::RightButton: msg = dbl ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = dbl ? WM_MBUTTONDBLCLK : down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return false;
      }
      if (dbl && !c->ControlStyle().Contains(csDoubleClicks))
        msg = msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : msg == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
      if (down || dbl) Application->HintInputMessage();
      const bool consumed = send(msg, keys, MAKELPARAM(p.x(), p.y()));
      return own || consumed;
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = local(me->position());
      {
        const QPoint g = me->globalPosition().toPoint();
        AskWindowCursor(c, static_cast<QWidget*>(watched), Point(g.x(), g.y()));
        if (!*alive) return true;
      }
      const bool consumed = send(WM_MOUSEMOVE, MouseKeys(me->modifiers(), me->buttons()), MAKELPARAM(p.x(), p.y()));
      // After the control's own handling, which may have ended its hint.
      if (*alive && me->buttons() == Qt::NoButton) {
        const QPoint g = me->globalPosition().toPoint();
        Application->HintMouseMessage(Point(g.x(), g.y()));
      }
      return own || consumed;
    }
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(event);
      const int delta = we->angleDelta().y();
      if (delta == 0) return false;
      const QPoint g = we->globalPosition().toPoint();
      return send(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeys(we->modifiers(), we->buttons())), delta),
                  MAKELPARAM(g.x(), g.y()));
    }
    case QEvent::Enter:
      if (watched == impl->Widget) send(CM_MOUSEENTER, 0, 0);
      return false;
    case QEvent::Leave:
      if (watched == impl->Widget) send(CM_MOUSELEAVE, 0, 0);
      // The mouse left the window: the hint of what it rested on is over.
      if (watched == impl->Widget && impl->Widget && impl->Widget->isWindow()) Application->HintInputMessage();
      return false;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: {
      if (event->type() == QEvent::ShortcutOverride) return false;
      Application->HintInputMessage();
      auto* ke = static_cast<QKeyEvent*>(event);
      const uint16_t vk = QtKeyToVK(ke->key());
      const TShiftState shift = QtModifiersToShift(ke->modifiers(), Qt::NoButton);
      LPARAM keyData = static_cast<LPARAM>((static_cast<uint64_t>(shift.Bits()) << 32) | 1);
      // The numeric keypad's decimal key carries its scan code (0x53), as
      // programs test it to tell it from the main keyboard's full stop.
      if ((ke->modifiers() & Qt::KeypadModifier) && (ke->key() == Qt::Key_Period || ke->key() == Qt::Key_Comma))
        keyData |= static_cast<LPARAM>(0x53) << 16;
      bool swallowed = false;
      // An arrow key goes to a control that asks for the arrows (its dialog
      // code); otherwise the dialog moves the focus with it.
      // (A key a child control's widget left unhandled, passed up to this
      // window, is not this control's to ask about.)
      auto passedUp = [&] {
        QWidget* f = QApplication::focusWidget();
        auto* self = static_cast<QWidget*>(watched);
        if (!f || f == self || !self->isAncestorOf(f)) return false;
        for (QWidget* w = f; w && w != self; w = w->parentWidget())
          if (w->property("zvControl").isValid()) return true;
        return false;
      };
      if ((vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && !(ke->modifiers() & Qt::AltModifier) &&
          !passedUp() && c->Perform(CM_WANTSPECIALKEY, vk, keyData) == 0 &&
          (c->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS) == 0) {
        TCustomForm* form = c->GetParentForm();
        LRESULT handled = 0;
        if (form) GuardEvent(form, [&] { handled = form->Perform(CM_DIALOGKEY, vk, keyData); });
        if (!*alive) return true;
        if (handled) return true;
      }
      if (vk != 0) {
        TMessage m;
        m.Msg = (ke->modifiers() & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        impl->DefaultCalled = false;
        swallowed = send(m.Msg, vk, keyData);
        if (!*alive) return true;
      }
      const std::string text = FromQString(ke->text());
      if (!swallowed && text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80) {
        swallowed = send(WM_CHAR, static_cast<unsigned char>(text[0]), keyData);
        if (!*alive) return true;
      }
      if (!swallowed && vk == VK_TAB) {
        // Tab moves the focus unless the control asks for it; through the
        // window's Tab order, which may keep controls out.
        if ((c->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB) != 0) return own;
        if (!*alive) return true;
        if (!(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            c->FocusNextControl(!(ke->modifiers() & Qt::ShiftModifier) && ke->key() != Qt::Key_Backtab))
          return true;
        return false;
      }
      return own || swallowed;
    }
    case QEvent::KeyRelease: {
      auto* ke = static_cast<QKeyEvent*>(event);
      const uint16_t vk = QtKeyToVK(ke->key());
      if (vk == 0) return false;
      const TShiftState shift = QtModifiersToShift(ke->modifiers(), Qt::NoButton);
      const bool consumed = send(WM_KEYUP, vk, static_cast<LPARAM>((static_cast<uint64_t>(shift.Bits()) << 32) | 1));
      return own || consumed;
    }
    // As on the platform: WM_KILLFOCUS names the window that gets the focus
    // (0 when it goes to no window of ours).
    case QEvent::FocusIn: {
      const HWND from = FocusLostBy();
      FocusLostBy() = 0;
      send(WM_SETFOCUS, static_cast<WPARAM>(from), 0);
      return false;
    }
    case QEvent::FocusOut: {
      WPARAM to = 0;
      for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant v = w->property("zvControl");
        auto* target = v.isValid() ? static_cast<TWinControl*>(v.value<void*>()) : nullptr;
        if (target && target->HandleAllocated() && target->Impl()->Widget == w) {
          to = static_cast<WPARAM>(target->Impl()->Handle);
          break;
        }
      }
      FocusLostBy() = to != 0 && c->HandleAllocated() ? impl->Handle : 0;
      send(WM_KILLFOCUS, to, 0);
      return false;
    }
    case QEvent::Resize:
      if (watched == impl->Widget && !c->Parent()) {
        const QSize s = static_cast<QResizeEvent*>(event)->size();
        if (s.width() != c->Width() || s.height() != c->Height())
          FollowWindowSystem(c->Left(), c->Top(), s.width(), s.height());
      }
      return false;
    case QEvent::Move:
      if (watched == impl->Widget && !c->Parent()) {
        const QPoint p = static_cast<QWidget*>(watched)->pos();
        if (p.x() != c->Left() || p.y() != c->Top()) FollowWindowSystem(p.x(), p.y(), c->Width(), c->Height());
      }
      return false;
    case QEvent::Close:
      if (watched == impl->Widget && !c->Parent()) {
        send(WM_CLOSE, 0, 0);
        event->ignore();
        return true;
      }
      return false;
    case QEvent::WindowActivate:
      if (watched == impl->Widget && !c->Parent()) send(CM_ACTIVATE, 0, 0);
      return false;
    case QEvent::WindowDeactivate:
      if (watched == impl->Widget && !c->Parent()) {
        if (TControl* cap = GetCaptureControl()) GuardEvent(cap, [&] { cap->Perform(WM_CANCELMODE, 0, 0); });
        send(CM_DEACTIVATE, 0, 0);
      }
      return false;
    case QEvent::ContextMenu: return true;  // the layer sends WM_CONTEXTMENU itself
    case QEvent::Paint:
      // A window-system control paints itself first, then the control's overlay goes on top.
      if (own || watched != impl->Widget) return false;
      watched->event(event);
      if (*alive) impl->PaintOverlay(static_cast<QWidget*>(watched));
      return true;
    default: return false;
  }
}
