#include "platform/dialogs.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

TDialogHandler& CurrentHandler() {
  static TDialogHandler handler;
  return handler;
}

// The button a message box with these flags answers when nobody chooses.
int MessageBoxDefault(unsigned flags) {
  const unsigned set = flags & 0xF;
  const unsigned defButton = (flags >> 8) & 0xF;  // 0, 1, 2
  int buttons[3] = {IDOK, 0, 0};
  switch (set) {
    case MB_OKCANCEL: buttons[0] = IDOK; buttons[1] = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE: buttons[0] = IDABORT; buttons[1] = IDRETRY; buttons[2] = IDIGNORE; break;
    case MB_YESNOCANCEL: buttons[0] = IDYES; buttons[1] = IDNO; buttons[2] = IDCANCEL; break;
    case MB_YESNO: buttons[0] = IDYES; buttons[1] = IDNO; break;
    case MB_RETRYCANCEL: buttons[0] = IDRETRY; buttons[1] = IDCANCEL; break;
    default: break;
  }
  if (defButton < 3 && buttons[defButton] != 0) return buttons[defButton];
  return buttons[0];
}

int ButtonResult(TMsgDlgBtn b) {
  switch (b) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrNone;
  }
  return mrNone;
}

int MessageDlgDefault(TMsgDlgButtons buttons) {
  if (buttons.Contains(mbOK)) return mrOk;
  if (buttons.Contains(mbYes)) return mrYes;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return ButtonResult(static_cast<TMsgDlgBtn>(b));
  return mrOk;  // an empty set shows an OK button
}

const char* TypeCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
  }
  return "";
}

TDialogAnswer Ask(const TDialogRequest& request) {
  TDialogHandler handler;
  {
    std::lock_guard<std::mutex> guard(HandlerLock());
    handler = CurrentHandler();
  }
  if (handler) return handler(request);

  // No dialogs available: tell standard error and answer the default, never wait.
  std::fprintf(stderr, "[dialog] %s: %s\n", request.Caption.c_str(), request.Text.c_str());
  std::fflush(stderr);
  TDialogAnswer answer;
  answer.Result = request.DefaultResult;
  answer.Text = request.Default;
  answer.Accepted = false;
  return answer;
}

}  // namespace

TDialogHandler SetDialogHandler(TDialogHandler handler) {
  std::lock_guard<std::mutex> guard(HandlerLock());
  return std::exchange(CurrentHandler(), std::move(handler));
}

namespace {
std::string& TitleStore() {
  static std::string title;
  return title;
}
}  // namespace

void SetDialogTitle(const std::string& title) { TitleStore() = title; }
const std::string& DialogTitle() { return TitleStore(); }

void ShowMessage(const std::string& text) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkShowMessage;
  request.Text = text;
  request.Caption = DialogTitle();
  request.Flags = MB_OK;
  request.DlgType = mtCustom;
  request.Buttons = {mbOK};
  request.DefaultResult = mrOk;
  Ask(request);
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkMessageBox;
  request.Text = text;
  request.Caption = caption.empty() ? DialogTitle() : caption;
  request.Flags = flags;
  switch (flags & 0xF0) {
    case MB_ICONERROR: request.DlgType = mtError; break;
    case MB_ICONQUESTION: request.DlgType = mtConfirmation; break;
    case MB_ICONWARNING: request.DlgType = mtWarning; break;
    case MB_ICONINFORMATION: request.DlgType = mtInformation; break;
    default: request.DlgType = mtCustom; break;
  }
  request.DefaultResult = MessageBoxDefault(flags);
  return Ask(request).Result;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  return MessageDlgPos(text, type, buttons, helpContext, -1, -1);
}

int MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/, int x,
                  int y) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkMessageDlg;
  request.Text = text;
  request.Caption = type == mtCustom ? DialogTitle() : TypeCaption(type);
  request.DlgType = type;
  request.Buttons = buttons;
  request.DefaultResult = MessageDlgDefault(buttons);
  request.X = x;
  request.Y = y;
  return Ask(request).Result;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultText) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkInputBox;
  request.Text = prompt;
  request.Caption = caption;
  request.Buttons = {mbOK, mbCancel};
  request.Default = defaultText;
  request.DefaultResult = mrCancel;
  TDialogAnswer answer = Ask(request);
  return answer.Accepted ? answer.Text : defaultText;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TDialogRequest request;
  request.Kind = TDialogRequest::dkInputBox;
  request.Text = prompt;
  request.Caption = caption;
  request.Buttons = {mbOK, mbCancel};
  request.Default = value;
  request.DefaultResult = mrCancel;
  TDialogAnswer answer = Ask(request);
  if (!answer.Accepted) return false;
  value = answer.Text;
  return true;
}

void Beep() {
  if (isatty(STDERR_FILENO)) {
    std::fputc('\a', stderr);
    std::fflush(stderr);
  }
}

void TScreenCursor::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  if (OnChange) OnChange(cursor);
}

TScreenCursor& ScreenCursor() {
  static TScreenCursor screenCursor;
  return screenCursor;
}
