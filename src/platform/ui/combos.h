// A combo box whose edit part takes typed characters as the edits of
// editctrls.h do: after the key events, replaced and wide characters
// included. Descendants may paint over the widget (PaintOverlay) for their
// own looks.
#pragma once

#include <cstdint>

#include "platform/ui/stdctrls.h"

class TCustomComboBox : public TComboBox {
  ZV_CLASS(TCustomComboBox)
public:
  explicit TCustomComboBox(TComponent* AOwner) : TComboBox(AOwner) {}
  // 0: no limit.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  // Selects Length characters from SelStart.
  void SetSelLength(int Length);
  void SelectAll();
  // The caret position in the edit part nearest to a client point; -1
  // without an edit part.
  int CharFromPos(TPoint P) const;
  // Inserts a character (a code point) into the edit part at the caret in
  // place of the selection; nothing without an edit part.
  void InsertChar(uint32_t Code);

protected:
  void CreateWnd() override;
  void WMChar(TMessage& M) override;
  // Ends the character's way: a control character goes to the widget as
  // typed (dropped when a key event made it), any other is inserted.
  void FinishChar(TMessage& M, uint32_t Typed, uint32_t Ch);

private:
  int FMaxLength = 0;
};
