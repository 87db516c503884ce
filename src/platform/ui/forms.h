// Forms, the application object and the screen.
//
// Application (TApplication) runs the message loop, delivers posted
// messages, and catches every exception that reaches an event of the window
// system (HandleException: OnException, or a message box through the dialog
// service). Screen (TScreen) knows the forms, the active form, the screen
// cursor (tied to ScreenCursor() of the dialog service) and custom cursors.
//
// Modal forms: ShowModal runs a nested loop until ModalResult is set; a test
// installs a modal handler (SetModalFormHandler) that answers instead, after
// the form has been shown, so nothing waits for a person.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TEnumSet<TFormStateItem>;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TEnumSet<TBorderIcon>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  ZV_CLASS(TCustomForm)
public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Fires OnCreate once (Application->CreateForm and the first Show call it).
  void DoCreate();
  void Show();
  void Hide() { SetVisible(false); }
  // Raises EInvalidOperation "Cannot make a visible window modal" for a
  // visible or disabled form.
  int ShowModal();
  void Close();
  // The window on the screen with the frame the window system put round it
  // (title bar and borders); BoundsRect while it has none.
  TRect FrameRect() const;
  bool CloseQuery();
  // Frees the form once the current event is over.
  void Release();

  int ModalResult() const { return FModalResult; }
  void SetModalResult(int v) { FModalResult = v; }
  TFormState FormState() const { return FFormState; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v) { FBorderIcons = v; }
  // The icons the caption shows: the help icon only while help is
  // installed (HelpInstalled).
  TBorderIcons ShownBorderIcons() const;
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState v);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  bool Active() const { return FActive; }
  int PixelsPerInch() const { return 96; }
  // Scales the form by the screen's pixels per inch over 96 when they differ
  // (a window laid out for 96 pixels per inch on another screen).
  void ScaleToScreen();
  // A form keeps its place and scales its client area.
  void ChangeScale(int M, int D) override;
  // The form's own drawing surface (OnPaint draws here).
  TCanvas* Canvas();

  void SetText(const std::string& v) override;
  // With a parent the form is embedded in it as a child window (no frame of
  // its own, never the active form); without one it is a window again.
  void SetParent(TWinControl* AParent) override;
  // Keeps ActiveControl and sends CM_EXIT / CM_ENTER when focus moves.
  void FocusChanged(TWinControl* Control);

  // Listeners told after OnResize whenever the form's size changes, so that
  // controls can follow the form without taking over its OnResize. The key
  // removes the entry; a listener leaves before it is destroyed.
  void AddResizeListener(const void* Key, std::function<void()> Fn);
  void RemoveResizeListener(const void* Key);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // The form's description lists the components it owns that have no parent
  // (menus, timers, a floating toolbar) first, then its controls.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  friend class TWinControl;
  friend class TApplication;
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void PaintWindow() override;
  virtual void Paint();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void VisibleChanging() override;
  void CMVisibleChanged(TMessage& M) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;
  void ApplyWindowFlags();

  TFormState FFormState;
  int FModalResult = mrNone;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TFormStyle FFormStyle = fsNormal;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  TWinControl* FActiveControl = nullptr;
  bool FActive = false;
  bool FCreated = false;
  std::unique_ptr<TCanvas> FFormCanvas;
  std::vector<std::pair<const void*, std::function<void()>>> FResizeListeners;
};

class TForm : public TCustomForm {
  ZV_CLASS(TForm)
public:
  explicit TForm(TComponent* AOwner);
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, TControl* HintControl)>;
using TMessageHook = std::function<bool(TMessage& Message)>;

class TPaintPacer;
class TTimer;

class TApplication : public TComponent {
  ZV_CLASS(TApplication)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Makes the window system ready and installs the real dialogs behind the
  // dialog service (unless a handler, e.g. a test responder, is installed).
  void Initialize();
  // Creates a form; the first one becomes the main form. OnCreate fires.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = new T(this);
    AfterCreateForm(Reference);
  }
  void Run();
  void ProcessMessages();
  // Handles one round of events and then idles (OnIdle). After a round that
  // ended idle (Done left true), the next call first waits for an event.
  void HandleMessage();
  // Runs just before HandleMessage sleeps waiting for an event (a test hook:
  // the hook may post something to wake it).
  void SetSleepHook(std::function<void()> Hook) { FSleepHook = std::move(Hook); }
  void Terminate();
  bool Terminated() const { return FTerminated; }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* f) { FMainForm = f; }
  // Reports the exception being handled (call from a catch block): EAbort is
  // silent; otherwise OnException, or ShowException.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& E);
  int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);

  const std::string& Title() const { return FTitle; }
  // Also the caption of messages that have none of their own.
  void SetTitle(const std::string& v);
  std::string ExeName() const;
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  int HintPause() const { return FHintPause; }
  void SetHintPause(int v) { FHintPause = v; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int v) { FHintHidePause = v; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor v) { FHintColor = v; }
  // Shows the hint of the control under a screen point; CancelHint hides it.
  void ActivateHint(TPoint CursorPos);
  void CancelHint();
  // The mouse moved to a screen point (the window system's input): over a
  // new control that shows hints, its hint comes after HintPause unless the
  // mouse goes on to another control first.
  void HintMouseMessage(TPoint CursorPos);
  // A button or key was pressed, or the mouse left the windows: no hint.
  void HintInputMessage();
  // The timer of the pause (nil before the first move); tests fire it.
  TTimer* HintTimer() const { return FHintTimer.get(); }
  const std::string& CurrentHintText() const { return FHintText; }
  void HookMainWindow(const TMessageHook& Hook);
  void UnhookMainWindow();
  // Passes a message through the main-window hooks: true when one handled it.
  bool CallMainWindowHooks(TMessage& Message);
  // While above 0: a top-level window is repainted at most once in this many
  // milliseconds (counted from the end of its last paint); a repaint asked
  // for sooner waits for the rest of the time and is done by a timer. 0
  // (the default) repaints at once and does every repaint still waiting.
  void SetPaintInterval(int Milliseconds);
  int PaintInterval() const;

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

private:
  void AfterCreateForm(TCustomForm* Form);
  bool FTerminated = false;
  bool FIdle = false;
  std::function<void()> FSleepHook;
  TCustomForm* FMainForm = nullptr;
  std::string FTitle;
  std::string FHint;
  std::string FHintText;
  // The control the mouse rests on, where it was last seen.
  TControl* FHintControl = nullptr;
  TPoint FHintMouse{0, 0};
  std::unique_ptr<TTimer> FHintTimer;
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  std::vector<TMessageHook> FHooks;
  bool FInHandleException = false;
  std::unique_ptr<TPaintPacer> FPaintPacer;
};

// Fixes the screen's pixels per inch (tests); 0 returns to the window
// system's.
void SetScreenPixelsPerInch(int Value);

class TScreen : public TComponent {
  ZV_CLASS(TScreen)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  TCursor Cursor() const { return ScreenCursor().Cursor(); }
  void SetCursor(TCursor v) { ScreenCursor().SetCursor(v); }
  // Custom cursors by number (positive numbers); a bitmap with its hot spot.
  // Unknown numbers give the default cursor's shape.
  void SetCursors(int Index, const TBitmap* Image, int HotX, int HotY);
  void RemoveCursor(int Index);
  bool HasCursor(int Index) const;
  // The window system's cursor of a cursor number, for SetCursor.
  HCURSOR Cursors(int Index) const { return CursorHandle(static_cast<TCursor>(Index)); }
  // The image and hot spot of a custom cursor; false when none is registered.
  bool CustomCursor(int Index, const TBitmap*& Image, TPoint& HotSpot) const;

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const;
  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int DesktopWidth() const { return Width(); }
  int DesktopHeight() const { return Height(); }
  // The screen's logical pixels per inch, as the window system reports them
  // (96 on the offscreen platform); a test may fix another value.
  int PixelsPerInch() const;
  int MonitorCount() const { return 1; }
  // Font families installed (sorted).
  TStrings* Fonts();
  TFont* HintFont() { return FHintFont.get(); }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

private:
  friend class TCustomForm;
  void AddForm(TCustomForm* f);
  void RemoveForm(TCustomForm* f);
  void SetActiveForm(TCustomForm* f);
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FHintFont;
  std::map<int, std::pair<std::unique_ptr<TBitmap>, TPoint>> FCursors;
};

extern TApplication* Application;
extern TScreen* Screen;

// Answers ShowModal in place of the nested loop (tests). The handler runs
// with the form shown; its result becomes ModalResult unless the form set
// one; 0 counts as mrCancel. Returns the previous handler.
using TModalFormHandler = std::function<int(TCustomForm* Form)>;
TModalFormHandler SetModalFormHandler(TModalFormHandler Handler);

// The form that contains a control (nil when it is on none).
TCustomForm* GetParentForm(TControl* Control);
