// The grid's Unicode editors: the edit, the edit with a button and the memo
// carry their text as wide (UTF-16) strings. Typed characters pass the key
// events first; one beyond 8 bits reaches OnKeyPress as 255 and can be
// cancelled (0) or replaced there, left at 255 the real character arrives.
// (Qt windows are Unicode already: no window traps are needed, and the text
// is kept by the control across re-creations of its window.)
#pragma once

#include <cstdint>
#include <string>

#include "grid/support/asgedit.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/editctrls.h"

// The control's text as a wide string.
std::u16string GetWideText(const TControl* Control);
// Sets the text when it differs (so the change events fire once).
void SetWideText(TControl* Control, const std::u16string& Text);
// WM_CHAR: a character of 256 or more moves to the high bits of WParam
// (from bit 16 up) and the character becomes 255. Raises EAssertionFailed
// for another message or high bits already set.
void StashWideChar(TMessage& Message);
// WM_CHAR: when high bits are set and the character is still 255 it
// becomes the stashed one again; the high bits are cleared in any case.
void RestoreWideChar(TMessage& Message);
// WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
bool IsTextMessage(unsigned Msg);
// A resource number rather than a name (below 65536).
bool IsIntResourceName(uintptr_t Value);

class TCustomUNIEdit : public TCustomEdit {
  ZV_CLASS(TCustomUNIEdit)
public:
  explicit TCustomUNIEdit(TComponent* AOwner);
  std::u16string Text() const { return GetWideText(this); }
  using TCustomEdit::SetText;
  void SetText(const std::u16string& v) { SetWideText(this, v); }
};

class TPsgUniEdit : public TCustomUNIEdit {
  ZV_CLASS(TPsgUniEdit)
public:
  explicit TPsgUniEdit(TComponent* AOwner) : TCustomUNIEdit(AOwner) {}
};

// The edit with an embedded button on wide text: no initial text, and no
// unit space.
class TPsgUniEditBtn : public TPsgEditBtn {
  ZV_CLASS(TPsgUniEditBtn)
public:
  explicit TPsgUniEditBtn(TComponent* AOwner);
  std::u16string Text() const { return GetWideText(this); }
  using TPsgEditBtn::SetText;
  void SetText(const std::u16string& v) { SetWideText(this, v); }
};

class TPsgUniCustomMemo : public TCustomMemo {
  ZV_CLASS(TPsgUniCustomMemo)
public:
  explicit TPsgUniCustomMemo(TComponent* AOwner);
  std::u16string Text() const { return GetWideText(this); }
  using TCustomMemo::SetText;
  void SetText(const std::u16string& v) { SetWideText(this, v); }

protected:
  // Asks for Tab only with WantTabs and for every key only with WantReturns.
  void WMGetDlgCode(TMessage& M) override;
};

class TPsgUniMemo : public TPsgUniCustomMemo {
  ZV_CLASS(TPsgUniMemo)
public:
  explicit TPsgUniMemo(TComponent* AOwner);
};
