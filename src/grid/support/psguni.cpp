#include "grid/support/psguni.h"

#include "platform/rtl/codepages.h"

std::u16string GetWideText(const TControl* Control) { return Utf8ToUtf16(Control->Text()); }

void SetWideText(TControl* Control, const std::u16string& Text) {
  if (GetWideText(Control) == Text) return;
  Control->SetText(Utf16ToUtf8(Text));
}

namespace {
void CheckWMChar(const TMessage& M, bool highFree) {
  if (M.Msg != WM_CHAR || (highFree && (M.WParam >> 16) != 0))
    throw EAssertionFailed("Assertion failed (PsgUni)");
}
}  // namespace

void StashWideChar(TMessage& Message) {
  CheckWMChar(Message, true);
  if (Message.WParam >= 256) Message.WParam = (Message.WParam << 16) | 255;
}

void RestoreWideChar(TMessage& Message) {
  CheckWMChar(Message, false);
  const WPARAM high = Message.WParam >> 16;
  if (high != 0 && (Message.WParam & 0xFFFF) == 255) Message.WParam = high;
  else Message.WParam &= 0xFFFF;
}

bool IsTextMessage(unsigned Msg) { return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH; }

bool IsIntResourceName(uintptr_t Value) { return Value < 65536; }

// ---------------------------------------------------------------------------

ZV_CLASS_IMPL(TCustomUNIEdit, TCustomEdit)

void TCustomUNIEdit::DeclareProperties(TClassInfo&) {}

TCustomUNIEdit::TCustomUNIEdit(TComponent* AOwner) : TCustomEdit(AOwner) { Font()->SetCharset(255); }

ZV_CLASS_IMPL_NOPROPS(TPsgUniEdit, TCustomUNIEdit)

ZV_CLASS_IMPL_NOPROPS(TPsgUniEditBtn, TPsgEditBtn)

TPsgUniEditBtn::TPsgUniEditBtn(TComponent* AOwner) : TPsgEditBtn(AOwner) {
  Font()->SetCharset(255);
  TPsgEditBtn::SetText("");
}

ZV_CLASS_IMPL(TPsgUniCustomMemo, TCustomMemo)

void TPsgUniCustomMemo::DeclareProperties(TClassInfo&) {}

TPsgUniCustomMemo::TPsgUniCustomMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
  Font()->SetCharset(255);
  SetWordWrap(false);
  SetWantReturns(false);
  SetWantTabs(false);
}

void TPsgUniCustomMemo::WMGetDlgCode(TMessage& M) {
  TCustomMemo::WMGetDlgCode(M);
  M.Result |= DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
  if (WantTabs()) M.Result |= DLGC_WANTTAB;
  else M.Result &= ~DLGC_WANTTAB;
  if (WantReturns()) M.Result |= DLGC_WANTALLKEYS;
  else M.Result &= ~DLGC_WANTALLKEYS;
}

ZV_CLASS_IMPL_NOPROPS(TPsgUniMemo, TPsgUniCustomMemo)

TPsgUniMemo::TPsgUniMemo(TComponent* AOwner) : TPsgUniCustomMemo(AOwner) { SetBounds(0, 0, 200, 100); }
