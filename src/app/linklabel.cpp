#include "app/linklabel.h"

#include "platform/dialogs.h"
#include "platform/rtl/casterror.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/shell.h"

ZV_CLASS_IMPL_NOPROPS(TLinkLabel, TLabel)

namespace {

const char* const kAlertText =
    "You are about to open an application.  Doing so might overwrite recoverable files.\n"
    "We advise using another computer.  Press OK to continue or Cancel to stop.";

TCustomForm* OwnerForm(TComponent* owner) {
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (!form) throw EInvalidCast("Invalid class typecast");
  return form;
}

}  // namespace

std::string LinkPrefix(tLinkType Type) {
  static const char* const prefixes[] = {"file://", "ftp://",  "gopher://", "http://", "https://",
                                         "mailto:", "news:",   "telnet:",   "wais:",   ""};
  const int i = static_cast<int>(Type);
  return i >= 0 && i <= static_cast<int>(ltNone) ? prefixes[i] : "";
}

bool LinkOpensOnDesktop(const std::string& Target) {
  const std::string t = LowerCase(Target);
  for (const char* scheme : {"http://", "https://", "mailto:"}) {
    const std::string s = scheme;
    if (t.size() > s.size() && t.compare(0, s.size(), s) == 0) return true;
  }
  return false;
}

TLinkLabel::TLinkLabel(TComponent* AOwner) : TLabel(OwnerForm(AOwner)) {
  SetParent(OwnerForm(AOwner));
  Font()->SetStyle({fsUnderline});
  Font()->SetColor(clBlue);
  SetCursor(crHandPoint);
  SetText("");
}

void TLinkLabel::SetHyperLink(const std::string& v) {
  FHyperLink = v;
  if (Text().empty()) SetText(v);
}

bool TLinkLabel::OpenLink() {
  const std::string target = Target();
  // Only a web page or a mail is opened; a file, a program or another
  // scheme could run something on this machine.
  if (!LinkOpensOnDesktop(target)) {
    ShowMessage("Only web and mail links are opened: " + target);
    return false;
  }
  if (FAlert && MessageDlg(kAlertText, mtConfirmation, {mbOK, mbCancel}) != mrOk) return false;
  TWinControl* parent = Parent();
  const HWND owner = parent && parent->HandleAllocated() ? parent->Handle() : 0;
  if (ShellExecute(owner, "open", target, "", "", SW_SHOWNORMAL) > 32) return true;
  ShowMessage("The link could not be opened: " + target);
  return false;
}

void TLinkLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TLabel::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) OpenLink();
}
