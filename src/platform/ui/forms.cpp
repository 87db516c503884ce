#include "platform/ui/forms.h"

#include "platform/dialogs.h"
#include "platform/rtl/mathutils.h"

#include "platform/ui/hintwindows.h"
#include "platform/ui/syssettings.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <new>

#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/qt_ui.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {
TModalFormHandler& ModalHandler() {
  static TModalFormHandler h;
  return h;
}

// The control a widget belongs to: the nearest one up the widget tree.
TWinControl* ControlOfWidget(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (const QVariant v = w->property("zvControl"); v.isValid()) return static_cast<TWinControl*>(v.value<void*>());
  return nullptr;
}

// An arrow key in a dialog: the focus goes to the next (previous) sibling of
// Control that can take it, in the order Tab goes, tab stop or not.
void SelectNextSibling(TWinControl* Control, bool Forward) {
  QWidget* start = Control->Impl()->Focus ? Control->Impl()->Focus : Control->Impl()->Widget.data();
  if (!start) return;
  TWinControl* parent = Control->Parent();
  for (QWidget* w = Forward ? start->nextInFocusChain() : start->previousInFocusChain(); w && w != start;
       w = Forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
    if (w->window() != start->window() || w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || !w->isVisible())
      continue;
    TWinControl* c = ControlOfWidget(w);
    if (!c || c == Control || c->Parent() != parent || !c->CanFocus()) continue;
    c->SetFocus();
    return;
  }
}

bool IsWithin(TWinControl* Inner, TWinControl* Outer) {
  for (TWinControl* c = Inner; c; c = c->Parent())
    if (c == Outer) return true;
  return false;
}

// The focus leaving Old for New: the controls it leaves get CM_EXIT from the
// inside out, those it enters CM_ENTER from the outside in, up to the parent
// both share. A control whose own child takes the focus, or gives it back,
// gets neither: it stays the one the user is in.
void SendFocusChange(TCustomForm* Form, TWinControl* Old, TWinControl* New) {
  std::vector<TWinControl*> exits, enters;
  for (TWinControl* c = Old; c && c != Form && !IsWithin(New, c); c = c->Parent()) exits.push_back(c);
  for (TWinControl* c = New; c && c != Form && !IsWithin(Old, c); c = c->Parent()) enters.push_back(c);
  for (TWinControl* c : exits) c->Perform(CM_EXIT, 0, 0);
  for (auto it = enters.rbegin(); it != enters.rend(); ++it) (*it)->Perform(CM_ENTER, 0, 0);
}
}  // namespace

TModalFormHandler SetModalFormHandler(TModalFormHandler Handler) {
  TModalFormHandler old = std::move(ModalHandler());
  ModalHandler() = std::move(Handler);
  return old;
}

TCustomForm* GetParentForm(TControl* Control) { return Control ? Control->GetParentForm() : nullptr; }

void HandleUIException(TObject* sender) { Application->HandleException(sender); }

// ---------------------------------------------------------------------------
// TCustomForm

ZV_CLASS_IMPL(TCustomForm, TWinControl)

void TCustomForm::DeclareProperties(TClassInfo& c) {
  c.Enum<TCustomForm>("BorderStyle", BorderStyleEnumInfo(), &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                      bsSizeable);
  c.Boolean<TCustomForm>("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
  static const TEnumInfo positions{"TPosition",
                                   {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                                   0};
  c.Enum<TCustomForm>("Position", positions, &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned);
  static const TEnumInfo styles{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, 0};
  c.Enum<TCustomForm>("FormStyle", styles, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal);
  static const TEnumInfo states{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, 0};
  c.Enum<TCustomForm>("WindowState", states, &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal);
  c.Object<TCustomForm, TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
}

TBorderIcons TCustomForm::ShownBorderIcons() const {
  TBorderIcons icons = FBorderIcons;
  if (!HelpInstalled()) icons.Exclude(biHelp);
  return icons;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FVisible = false;
  FParentColor = false;
  FParentFont = false;
  FWidth = 320;
  FHeight = 240;
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  Screen->AddForm(this);
}

void TCustomForm::AddResizeListener(const void* Key, std::function<void()> Fn) {
  RemoveResizeListener(Key);
  FResizeListeners.emplace_back(Key, std::move(Fn));
}

void TCustomForm::RemoveResizeListener(const void* Key) {
  std::erase_if(FResizeListeners, [Key](const auto& e) { return e.first == Key; });
}

void TCustomForm::Resize() {
  TWinControl::Resize();
  // A listener may leave while being told.
  auto listeners = FResizeListeners;
  for (auto& [key, fn] : listeners) {
    bool still = std::any_of(FResizeListeners.begin(), FResizeListeners.end(),
                             [k = key](const auto& e) { return e.first == k; });
    if (still && fn) fn();
  }
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (Root == this)
    for (int i = 0; i < ComponentCount(); ++i)
      if (TComponent* c = Components(i); !c->HasParent()) Proc(c);
  TWinControl::GetChildren(Proc, Root);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (OnDestroy && FCreated) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleUIException(this);
    }
  }
  if (Application->MainForm() == this) Application->SetMainForm(nullptr);
  Screen->RemoveForm(this);
}

void TCustomForm::DoCreate() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::CreateWnd() {
  auto* w = new TSurfaceWidget(this, nullptr);
  w->setWindowFlag(Qt::Window, true);
  w->setWindowTitle(ToQString(FText));
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->resize(std::max(FWidth, 1), std::max(FHeight, 1));
  PlaceWindowFrame(w, FLeft, FTop);
  AttachWidget(this, w);
  ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags() {
  QWidget* w = FImpl->Widget;
  if (!w || FParent) return;  // an embedded form is a child window
  const bool visible = w->isVisible();
  Qt::WindowFlags f = Qt::Window;
  switch (FBorderStyle) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: f = Qt::Tool; break;
    default: break;
  }
  if (FFormStyle == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
  w->setWindowFlags(f);
  if (visible) w->show();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (FFormStyle == v) return;
  FFormStyle = v;
  ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (QWidget* w = FImpl->Widget) {
    if (!w->isVisible()) return;
    if (v == wsMinimized) w->showMinimized();
    else if (v == wsMaximized) w->showMaximized();
    else w->showNormal();
  }
}

void TCustomForm::SetParent(TWinControl* AParent) {
  const bool wasEmbedded = FParent != nullptr;
  TWinControl::SetParent(AParent);
  if (wasEmbedded && !FParent && FImpl->Widget) {
    FImpl->Widget->hide();
    ApplyWindowFlags();
  }
}

void TCustomForm::SetText(const std::string& v) {
  TWinControl::SetText(v);
  if (FImpl->Widget) FImpl->Widget->setWindowTitle(ToQString(v));
}

TCanvas* TCustomForm::Canvas() {
  FImpl->SizeSurface();
  if (!FImpl->Canvas) {
    FImpl->Canvas = std::make_unique<TCanvas>();
    FImpl->Canvas->SetFont(FFont.get());
    FImpl->Canvas->Brush()->SetColor(FColor);
    if (!FImpl->Surface.isNull()) GfxBindCanvasToImage(FImpl->Canvas.get(), &FImpl->Surface);
    GfxSetSurfaceUseHook(FImpl->Canvas.get(), [impl = FImpl.get()] { impl->SurfaceUsed(); });
  }
  return FImpl->Canvas.get();
}

void TCustomForm::PaintWindow() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(FColor);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::VisibleChanging() {
  if (!FVisible && FFormState.Contains(fsModal)) return;
}

void TCustomForm::CMVisibleChanged(TMessage& M) {
  if (FParent) {
    // A form with a parent is embedded as a child window: shown and hidden
    // like a control, never activated as a window of its own.
    if (FVisible) {
      HandleNeeded();
      DoCreate();
      FFormState.Include(fsVisible);
      DoShow();
      if (FImpl->Widget) FImpl->Widget->setVisible(true);
    } else {
      FFormState.Exclude(fsVisible);
      if (FImpl->Widget) FImpl->Widget->setVisible(false);
      DoHide();
    }
    TControl::CMVisibleChanged(M);
    return;
  }
  if (FVisible) {
    HandleNeeded();
    DoCreate();
    QWidget* w = FImpl->Widget;
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter || FPosition == poMainFormCenter ||
        FPosition == poOwnerFormCenter) {
      TRect area = Screen->WorkAreaRect();
      if (FPosition == poMainFormCenter && Application->MainForm() && Application->MainForm() != this)
        area = Application->MainForm()->BoundsRect();
      FLeft = area.Left + (area.Width() - FWidth) / 2;
      FTop = area.Top + (area.Height() - FHeight) / 2;
    }
    // A native window made before the show (a tool window's owner, say) may
    // have been sized since it was placed.
    PlaceWindowFrame(w, FLeft, FTop);
    FFormState.Include(fsVisible);
    DoShow();
    if (FWindowState == wsMaximized) w->showMaximized();
    else if (FWindowState == wsMinimized) w->showMinimized();
    else w->show();
    if (QGuiApplication::platformName() != "offscreen") {
      w->raise();
      w->activateWindow();
    }
    if (Screen->ActiveForm() != this) {
      if (TCustomForm* old = Screen->ActiveForm()) old->Deactivate();
      Screen->SetActiveForm(this);
      Activate();
    }
    if (FActiveControl && FActiveControl->CanFocus()) FActiveControl->SetFocus();
  } else {
    FFormState.Exclude(fsVisible);
    if (FImpl->Widget) FImpl->Widget->hide();
    DoHide();
    if (Screen->ActiveForm() == this) {
      Deactivate();
      Screen->SetActiveForm(nullptr);
      // The topmost other visible form becomes active.
      for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* f = Screen->Forms(i);
        if (f != this && f->Visible()) {
          Screen->SetActiveForm(f);
          f->Activate();
          break;
        }
      }
    }
  }
  TControl::CMVisibleChanged(M);
}

TRect TCustomForm::FrameRect() const {
  const QWidget* w = FImpl ? FImpl->Widget.data() : nullptr;
  if (!w || !w->testAttribute(Qt::WA_WState_Created) || !w->isVisible()) return BoundsRect();
  const QRect f = w->frameGeometry();
  return Rect(f.left(), f.top(), f.left() + f.width(), f.top() + f.height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FImpl->Widget && QGuiApplication::platformName() != "offscreen") FImpl->Widget->raise();
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
  FActive = true;
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  FActive = false;
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Hide();
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  Hide();
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

int TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FFormState.Contains(fsModal))
    throw EInvalidOperation("Cannot make a visible window modal");
  SetCaptureControl(nullptr);
  FFormState.Include(fsModal);
  FModalResult = mrNone;
  struct TModalGuard {
    TCustomForm* F;
    ~TModalGuard() { F->FFormState.Exclude(fsModal); }
  } guard{this};
  Show();
  if (ModalHandler()) {
    // The handler answers at once; the form closes as if the user chose it.
    // A form that keeps refusing to close is asked a bounded number of times.
    for (int attempt = 0;; ++attempt) {
      const int answer = ModalHandler()(this);
      if (FModalResult == mrNone) FModalResult = answer != mrNone ? answer : mrCancel;
      if (attempt >= 15 || CloseQuery()) break;
      FModalResult = mrNone;
    }
  } else {
    for (;;) {
      if (FModalResult == mrNone) Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      if (FModalResult != mrNone) {
        if (CloseQuery()) break;
        FModalResult = mrNone;
      }
    }
  }
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) action = caHide;  // a modal form closes whatever the handler says
  FFormState.Exclude(fsModal);
  Hide();
  const int result = FModalResult;
  if (action == caFree) Release();
  return result;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) {
    if (Control && FVisible && Control->CanFocus()) {
      QWidget* f = Control->Impl()->Focus ? Control->Impl()->Focus : Control->Impl()->Widget.data();
      if (f) f->setFocus(Qt::OtherFocusReason);
    }
    return;
  }
  if (Control && !ContainsControl(Control)) throw EInvalidOperation("Invalid control for the active control");
  TWinControl* old = FActiveControl;
  FActiveControl = Control;
  if (Control) FreeNotification(Control);
  SendFocusChange(this, old, Control);
  if (Control) {
    if (FVisible && Control->CanFocus()) {
      Control->HandleNeeded();
      QWidget* f = Control->Impl()->Focus ? Control->Impl()->Focus : Control->Impl()->Widget.data();
      if (f) f->setFocus(Qt::OtherFocusReason);
    }
  }
  if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
}

void TCustomForm::FocusChanged(TWinControl* Control) {
  if (Control == this || Control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  FActiveControl = Control;
  if (Control) FreeNotification(Control);
  SendFocusChange(this, old, Control);
  if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
}

void TCustomForm::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_RELEASE: delete this; return;
    case WM_CLOSE: Close(); return;
    case CM_ACTIVATE:
      if (!FActive) {
        if (TCustomForm* old = Screen->ActiveForm(); old && old != this) old->Deactivate();
        Screen->SetActiveForm(this);
        Activate();
      }
      return;
    case CM_DEACTIVATE:
      if (FActive) Deactivate();
      return;
    case CM_DIALOGKEY:
      // The arrows move the focus among the active control's siblings when
      // it does not take them itself (it asked the dialog code first).
      if ((M.WParam == VK_LEFT || M.WParam == VK_RIGHT || M.WParam == VK_UP || M.WParam == VK_DOWN) &&
          FActiveControl && FActiveControl->Parent()) {
        SelectNextSibling(FActiveControl, M.WParam == VK_RIGHT || M.WParam == VK_DOWN);
        M.Result = 1;
        return;
      }
      TWinControl::Dispatch(M);
      return;
    default: TWinControl::Dispatch(M); return;
  }
}

ZV_CLASS_IMPL_NOPROPS(TForm, TCustomForm)

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

// ---------------------------------------------------------------------------
// TApplication

ZV_CLASS_IMPL_NOPROPS(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}
TApplication::~TApplication() = default;

void TApplication::Initialize() {
  EnsureQtApplication();
  InstallPlatformDialogs();
}

void TApplication::AfterCreateForm(TCustomForm* Form) {
  if (!FMainForm) FMainForm = Form;
  Form->DoCreate();
}

std::string TApplication::ExeName() const {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

void TApplication::Run() {
  EnsureQtApplication();
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) {
    HandleMessage();
    if (FMainForm && !FMainForm->Visible() && !FTerminated) FTerminated = true;
    if (!FMainForm) break;
  }
}

void TApplication::ProcessMessages() {
  EnsureQtApplication();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  DeliverPostedMessages();
}

void TApplication::HandleMessage() {
  EnsureQtApplication();
  DeliverPostedMessages();
  if (QCoreApplication::instance()) {
    if (FIdle && !FTerminated) {
      // The last round ended idle: sleep until the window system, a timer or
      // a posted message has something, and handle that. The caller's test
      // (a modal result, Terminated) ran in between, so nothing it waits
      // for can be missed, and an idle program takes no processor time.
      if (FSleepHook) FSleepHook();
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    DeliverPostedMessages();
  }
  bool done = true;
  if (OnIdle) {
    try {
      OnIdle(this, done);
    } catch (...) {
      HandleException(this);
    }
  }
  FIdle = done;
}

void TApplication::Terminate() {
  FTerminated = true;
  // A loop asleep in HandleMessage wakes to see it.
  if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr ep = std::current_exception();
  if (!ep) return;
  if (FInHandleException) return;  // an error while reporting one is not reported again
  FInHandleException = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } reset{FInHandleException};
  try {
    std::rethrow_exception(ep);
  } catch (const EAbort&) {
    return;
  } catch (const std::bad_alloc&) {
    // Not the library's name for it: what happened, in the user's terms.
    const EOutOfMemory e("There is not enough memory to finish this");
    if (OnException) OnException(Sender, e);
    else ShowException(e);
  } catch (const std::exception& e) {
    if (OnException) {
      try {
        OnException(Sender, e);
      } catch (...) {
        // The handler itself failed: show the original error.
        ShowException(e);
      }
    } else {
      ShowException(e);
    }
  } catch (...) {
    const Exception e("Unknown exception");
    if (OnException) OnException(Sender, e);
    else ShowException(e);
  }
}

void TApplication::ShowException(const std::exception& E) {
  std::string msg = E.what();
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  std::string title = FTitle;
  if (title.empty()) {
    title = ExeName();
    const size_t slash = title.find_last_of('/');
    if (slash != std::string::npos) title = title.substr(slash + 1);
  }
  ::MessageBox(msg, title, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  return ::MessageBox(Text, Caption.empty() ? FTitle : Caption, Flags);
}

void TApplication::SetHint(const std::string& v) {
  if (FHint == v) return;
  FHint = v;
  if (OnHint) OnHint(this);
}

namespace {

// The innermost control under a screen point, on the topmost visible form.
TControl* ControlAtScreenPoint(TPoint CursorPos) {
  TControl* control = nullptr;
  for (int i = Screen->FormCount() - 1; i >= 0 && !control; --i) {
    TCustomForm* f = Screen->Forms(i);
    if (!f->Visible()) continue;
    TPoint p = f->ScreenToClient(CursorPos);
    if (!f->ClientRect().Contains(p)) continue;
    TWinControl* parent = f;
    control = f;
    for (;;) {
      TControl* child = parent->ControlAtPos(p, true, true);
      if (!child) break;
      control = child;
      const TPoint o = parent->ChildOrigin();
      p = Point(p.X - o.X - child->Left(), p.Y - o.Y - child->Top());
      auto* w = dynamic_cast<TWinControl*>(child);
      if (!w) break;
      parent = w;
    }
  }
  return control;
}

}  // namespace

void TApplication::SetTitle(const std::string& v) {
  FTitle = v;
  SetDialogTitle(v);
}

void TApplication::ActivateHint(TPoint CursorPos) {
  FHintText.clear();
  if (!FShowHint) return;
  TControl* control = ControlAtScreenPoint(CursorPos);
  // A control without a hint of its own is still asked: it may say one for
  // the place under the mouse (a grid's cells).
  if (!control || !control->ShowHint()) return;
  std::string text = control->Hint();
  const size_t bar = text.find('|');
  if (bar != std::string::npos) text = text.substr(0, bar);
  bool canShow = true;
  if (OnShowHint) OnShowHint(text, canShow, control);
  // The control may change the text and where it shows; an answer other
  // than 0 keeps the hint back.
  THintInfo info;
  info.HintControl = control;
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.CursorRect = control->ClientRect();
  info.HintPos = Point(CursorPos.X, CursorPos.Y + 16);
  info.HintStr = text;
  if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) canShow = false;
  text = info.HintStr;
  if (!canShow || text.empty()) return;
  FHintText = text;
  if (QGuiApplication::instance() && QGuiApplication::platformName() != "offscreen")
    QToolTip::showText(QPoint(info.HintPos.X, info.HintPos.Y), ToQString(text), nullptr, QRect(), FHintHidePause);
}

void TApplication::CancelHint() {
  FHintText.clear();
  // The next move starts the pause again, on the same control too (a grid
  // cancels its hint when the mouse goes on to another cell).
  FHintControl = nullptr;
  if (FHintTimer) FHintTimer->SetEnabled(false);
  if (QGuiApplication::instance()) QToolTip::hideText();
}

void TApplication::HintMouseMessage(TPoint CursorPos) {
  FHintMouse = CursorPos;
  TControl* control = ControlAtScreenPoint(CursorPos);
  if (control == FHintControl) return;
  if (FHintControl || !FHintText.empty()) CancelHint();
  FHintControl = control;
  if (!FShowHint || !control || !control->ShowHint()) return;
  if (!FHintTimer) {
    FHintTimer = std::make_unique<TTimer>(nullptr);
    FHintTimer->SetEnabled(false);
    FHintTimer->SetOnTimer([this](TObject*) {
      FHintTimer->SetEnabled(false);
      // The control under the mouse may have gone meanwhile.
      if (FHintControl && FHintControl == ControlAtScreenPoint(FHintMouse)) ActivateHint(FHintMouse);
    });
  }
  FHintTimer->SetInterval(static_cast<unsigned>(std::max(1, FHintPause)));
  FHintTimer->SetEnabled(true);
}

void TApplication::HintInputMessage() {
  if (FHintControl || !FHintText.empty()) CancelHint();
}

void TApplication::HookMainWindow(const TMessageHook& Hook) { FHooks.push_back(Hook); }

void TApplication::UnhookMainWindow() {
  if (!FHooks.empty()) FHooks.pop_back();
}

bool TApplication::CallMainWindowHooks(TMessage& Message) {
  for (auto it = FHooks.rbegin(); it != FHooks.rend(); ++it)
    if ((*it)(Message)) return true;
  return false;
}

// ---------------------------------------------------------------------------
// TScreen

ZV_CLASS_IMPL_NOPROPS(TScreen, TComponent)

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), FHintFont(std::make_unique<TFont>()) {
  ScreenCursor().OnChange = [](TCursor c) {
    if (!QGuiApplication::instance()) return;
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    if (c != crDefault) QGuiApplication::setOverrideCursor(CursorToQt(c));
  };
}

TScreen::~TScreen() = default;

void TScreen::AddForm(TCustomForm* f) { FForms.push_back(f); }

void TScreen::RemoveForm(TCustomForm* f) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
  if (FActiveForm == f) {
    FActiveForm = nullptr;
    if (OnActiveFormChange) OnActiveFormChange(this);
  }
}

void TScreen::SetActiveForm(TCustomForm* f) {
  if (FActiveForm == f) return;
  FActiveForm = f;
  if (OnActiveFormChange) OnActiveFormChange(this);
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FForms[static_cast<size_t>(Index)];
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

namespace {
int FixedScreenPpi = 0;
}

void SetScreenPixelsPerInch(int Value) { FixedScreenPpi = Value; }

int TScreen::PixelsPerInch() const {
  if (FixedScreenPpi > 0) return FixedScreenPpi;
  if (QGuiApplication::instance() && QGuiApplication::primaryScreen())
    return std::max(1, static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInch())));
  return 96;
}

void TCustomForm::ScaleToScreen() {
  const int ppi = Screen ? Screen->PixelsPerInch() : 96;
  if (ppi != 96) ScaleBy(ppi, 96);
}

void TCustomForm::ChangeScale(int M, int D) {
  const int cw = MulDiv(ClientWidth(), M, D), ch = MulDiv(ClientHeight(), M, D);
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D);
  if (!ParentFont()) Font()->SetSize(MulDiv(Font()->Size(), M, D));
  SetClientWidth(cw);
  SetClientHeight(ch);
}

int TScreen::Width() const {
  if (QGuiApplication::instance() && QGuiApplication::primaryScreen())
    return QGuiApplication::primaryScreen()->geometry().width();
  return 1024;
}

int TScreen::Height() const {
  if (QGuiApplication::instance() && QGuiApplication::primaryScreen())
    return QGuiApplication::primaryScreen()->geometry().height();
  return 768;
}

TRect TScreen::WorkAreaRect() const {
  if (QGuiApplication::instance() && QGuiApplication::primaryScreen()) {
    const QRect r = QGuiApplication::primaryScreen()->availableGeometry();
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
  }
  return Rect(0, 0, Width(), Height());
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    FFonts = std::make_unique<TStringList>();
    EnsureQtApplication();
    for (const QString& f : QFontDatabase::families()) FFonts->Add(FromQString(f));
    FFonts->SetSorted(true);
  }
  return FFonts.get();
}

void TScreen::SetCursors(int Index, const TBitmap* Image, int HotX, int HotY) {
  if (Index <= 0) return;  // the predefined cursors keep their shapes
  auto copy = std::make_unique<TBitmap>();
  if (Image) copy->Assign(Image);
  FCursors[Index] = {std::move(copy), Point(HotX, HotY)};
}

void TScreen::RemoveCursor(int Index) { FCursors.erase(Index); }

bool TScreen::HasCursor(int Index) const { return FCursors.count(Index) != 0; }

bool TScreen::CustomCursor(int Index, const TBitmap*& Image, TPoint& HotSpot) const {
  auto it = FCursors.find(Index);
  if (it == FCursors.end() || !it->second.first) return false;
  Image = it->second.first.get();
  HotSpot = it->second.second;
  return true;
}

QCursor CursorToQt(TCursor cursor) {
  switch (cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: break;
  }
  const TBitmap* image = nullptr;
  TPoint hot;
  if (cursor > 0 && Screen && Screen->CustomCursor(cursor, image, hot) && !image->Empty()) {
    QImage img = GfxBitmapImage(const_cast<TBitmap*>(image));
    return QCursor(QPixmap::fromImage(img), hot.X, hot.Y);
  }
  return QCursor(Qt::ArrowCursor);
}
