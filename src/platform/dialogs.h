// The dialog service: every message box, message dialog and input box of the
// system goes through here. The program installs real dialogs; tests install a
// scripted responder (see tests/support/dialogresponder.h). With no handler
// installed, texts go to standard error and the default answer is returned, so
// nothing ever waits for a person.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

// A set of TMsgDlgBtn as bits (1 << button).
class TMsgDlgButtons {
public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) FBits |= 1u << b;
  }
  constexpr bool Contains(TMsgDlgBtn b) const { return (FBits >> b) & 1u; }
  constexpr TMsgDlgButtons& Include(TMsgDlgBtn b) { FBits |= 1u << b; return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool operator==(const TMsgDlgButtons&) const = default;

private:
  uint32_t FBits = 0;
};

// Modal results, numbered as the class library numbers them.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
              mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// MessageBox flags and results (the platform's numbering).
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
                   MB_RETRYCANCEL = 0x5, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10,
                   MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
                   MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40, MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100,
                   MB_DEFBUTTON3 = 0x200, MB_APPLMODAL = 0x0, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// What a dialog asks; the handler answers it.
struct TDialogRequest {
  enum TKind { dkShowMessage, dkMessageBox, dkMessageDlg, dkInputBox } Kind = dkShowMessage;
  std::string Text;     // the message or the prompt
  std::string Caption;  // message box caption, input box caption
  unsigned Flags = 0;   // MessageBox flags
  TMsgDlgType DlgType = mtInformation;
  TMsgDlgButtons Buttons;
  std::string Default;  // input box default text
  int DefaultResult = 0;  // what the dialog answers when closed without a choice
  // Where the box's top-left corner goes on the screen (MessageDlgPos);
  // -1: where the platform places it.
  int X = -1;
  int Y = -1;
};

struct TDialogAnswer {
  int Result = 0;     // button or modal result
  std::string Text;   // input box text
  bool Accepted = false;  // input box: OK pressed
};

using TDialogHandler = std::function<TDialogAnswer(const TDialogRequest&)>;

// Installs the handler that answers every dialog; returns the previous one.
// An empty handler restores the standard-error fallback.
TDialogHandler SetDialogHandler(TDialogHandler handler);

// The program's title (the application sets it with its own): the caption of
// a message that has none of its own.
void SetDialogTitle(const std::string& title);
const std::string& DialogTitle();

void ShowMessage(const std::string& text);
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// MessageDlg with the box's top-left corner at a screen point.
int MessageDlgPos(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x, int y);
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultText);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
void Beep();

// The screen cursor, in the class library's numbering.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

// The screen-wide cursor; the window layer installs a hook to show it.
class TScreenCursor {
public:
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  std::function<void(TCursor)> OnChange;

private:
  TCursor FCursor = crDefault;
};
TScreenCursor& ScreenCursor();

// Shows the hourglass for its lifetime and restores the previous cursor.
class THourGlass {
public:
  THourGlass() : FSaved(ScreenCursor().Cursor()) { ScreenCursor().SetCursor(crHourGlass); }
  ~THourGlass() { ScreenCursor().SetCursor(FSaved); }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

private:
  TCursor FSaved;
};
