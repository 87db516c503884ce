// The string grid's default in-place editor: a character filter per editor
// type (acting on typed characters only, so that the clipboard and select
// all keep working), a length limit, clipboard events and filtered paste,
// validation before the grid moves on, completion from the lookup list,
// walking out of the text into the neighbouring cell, and the report of the
// end of the edit when it loses the focus.
#pragma once

#include <string>

#include "grid/support/basegrid.h"
#include "platform/ui/editctrls.h"

class TPlusStringGrid;

// A typed character after the filter of an editor type, for an editor
// holding Text with the given selection; 0 drops it (the refusals that beep
// have beeped). Control characters always pass, so that the clipboard keys,
// select all and the editing keys keep working in every type.
char FilterEditorChar(TEditorType AType, char Ch, bool Ctrl, const std::string& Text, int SelStart, int SelLength);

class TPlusInplaceEdit : public TInplaceEdit {
  ZV_CLASS(TPlusInplaceEdit)
public:
  // AOwner is the grid.
  explicit TPlusInplaceEdit(TComponent* AOwner);
  TPlusStringGrid* PlusGrid() const { return FPlusGrid; }
  // The grid is going: nothing more is reported to it.
  void DetachGrid() { FPlusGrid = nullptr; }
  int LengthLimit() const { return FLengthLimit; }
  void SetLengthLimit(int v) { FLengthLimit = static_cast<int16_t>(v); }
  // Right-aligned text.
  bool VAlign() const { return FVAlign; }
  void SetVAlign(bool v);
  void UpdateContents() override;
  void Move(const TRect& R) override;
  // Hooks called on key-up with the caret position and whether the text
  // starts a formula; empty here.
  virtual void CaretMoved(const std::string& Text, TPoint Pos, int Caret) { (void)Text; (void)Pos; (void)Caret; }
  virtual void FormulaStarted(bool Started) { (void)Started; }

protected:
  void Dispatch(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMKeyDown(TMessage& M) override;
  void WMKeyUp(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void Change() override;

private:
  void Paste();
  void Complete();
  // Whole text selected or caret at the end, as EditSelectAll says.
  void SelectForEdit();

  TPlusStringGrid* FPlusGrid;
  int16_t FLengthLimit = 0;
  bool FVAlign = false;
  int FCaretAtKeyDown = 0;
  bool FCompletion = true;
  int FEditCol = -1, FEditRow = -1;
};

// The editor of fixed cells: a borderless edit over a header cell; its text
// is validated and stored when the focus leaves it.
class TGridTransEdit : public TCustomEdit {
  ZV_CLASS(TGridTransEdit)
public:
  // AOwner is the grid; the editor becomes its child.
  explicit TGridTransEdit(TComponent* AOwner);
  int Col() const { return FCol; }
  void SetCol(int v) { FCol = v; }
  int Row() const { return FRow; }
  void SetRow(int v) { FRow = v; }
  // Validates and stores the text; false keeps the editor open on its cell.
  bool FinishEdit();
  void DetachGrid() { FGrid = nullptr; }

protected:
  void CMExit(TMessage& M) override;
  void KeyPress(char& Key) override;

private:
  TPlusStringGrid* FGrid;
  int FCol = -1, FRow = -1;
};
