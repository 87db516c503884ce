// The string grid's own-control editors: small wrappers around the combo
// boxes, the spin edit, the edits with a button, the Unicode edits, a check
// box and a push button. Each knows its grid, ends the edit when it loses the
// focus, leaves the cell with its leave keys (validating first where the
// editor holds a value), puts the cell's text back on Escape, and reports its
// changes as the grid's events. The grid creates one of each and places it
// over the cell being edited.
#pragma once

#include <cstdint>
#include <string>

#include "grid/support/asgedit.h"
#include "grid/support/psgcombo.h"
#include "grid/support/psgspin.h"
#include "grid/support/psguni.h"
#include "grid/support/psgunicombo.h"
#include "platform/ui/datetimepicker.h"
#include "platform/ui/stdctrls.h"

class TPlusStringGrid;
class TCanvas;

// The combo box of edComboEdit and edComboList cells.
class TGridCombo : public TASGCustomCombo {
  ZV_CLASS(TGridCombo)
public:
  // AOwner is the grid.
  explicit TGridCombo(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  // The grid is going: nothing more is reported to it.
  void DetachGrid() { FGrid = nullptr; }
  // Widens the drop-down list to the widest item in Canvas's font.
  void SizeDropDownToItems(TCanvas* Canvas);
  // Fired by Enter before the edit is left.
  TNotifyEvent OnReturnKey;

protected:
  void WndProc(TMessage& Message) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void Change() override;
  void Select() override;

private:
  void Complete();
  TPlusStringGrid* FGrid;
  bool FCompletion = true;
};

// The combo box of edUniComboEdit and edUniComboList cells.
class TGridUniCombo : public TASGUniCustomCombo {
  ZV_CLASS(TGridUniCombo)
public:
  explicit TGridUniCombo(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }
  void SizeDropDownToItems(TCanvas* Canvas);
  TNotifyEvent OnReturnKey;

protected:
  void WndProc(TMessage& Message) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void Select() override;

private:
  void Complete();
  TPlusStringGrid* FGrid;
  bool FCompletion = true;
};

// The spin edit of the integer, float, time and date spin cells.
class TGridSpin : public TPsgSpinEdit {
  ZV_CLASS(TGridSpin)
public:
  explicit TGridSpin(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }
  void SpinUp(TObject* Sender) override;
  void SpinDown(TObject* Sender) override;

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMKeyDown(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Change() override;

private:
  void SpinClicked(bool Up);
  TPlusStringGrid* FGrid;
};

// The edit with an ellipsis button of edEditBtn, edNumericEditBtn and
// edFloatEditBtn cells.
class TGridEditBtn : public TPsgEditBtn {
  ZV_CLASS(TGridEditBtn)
public:
  explicit TGridEditBtn(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void Dispatch(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void Change() override;

private:
  void ButtonClicked();
  void Paste();
  TPlusStringGrid* FGrid;
  int FCaretAtKeyDown = 0;
};

// The value-and-unit editor of edUnitEditBtn cells: the value in the edit,
// the unit in UnitID.
class TGridUnitEditBtn : public TPsgUnitEditBtn {
  ZV_CLASS(TGridUnitEditBtn)
public:
  explicit TGridUnitEditBtn(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  TPlusStringGrid* FGrid;
};

// The Unicode edit of edUniEdit cells.
class TGridUniEdit : public TCustomUNIEdit {
  ZV_CLASS(TGridUniEdit)
public:
  explicit TGridUniEdit(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

private:
  TPlusStringGrid* FGrid;
};

// The Unicode edit with a button of edUniEditBtn cells.
class TGridUniEditBtn : public TPsgUniEditBtn {
  ZV_CLASS(TGridUniEditBtn)
public:
  explicit TGridUniEditBtn(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

private:
  TPlusStringGrid* FGrid;
};

// The Unicode memo of edUniMemo cells: Enter and the arrows stay in it.
class TGridUniMemo : public TPsgUniMemo {
  ZV_CLASS(TGridUniMemo)
public:
  explicit TGridUniMemo(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  TPlusStringGrid* FGrid;
};

// The date and time picker of edDateEdit, edDateEditUpDown and edTimeEdit
// cells, drawn flat.
class TGridDatePicker : public TDateTimePicker {
  ZV_CLASS(TGridDatePicker)
public:
  explicit TGridDatePicker(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }
  // The edit was left with Escape: the cell keeps the text it started with,
  // also one the picker cannot show. Cleared when the picker opens.
  bool Escaped() const { return FEscaped; }
  void SetEscaped(bool v) { FEscaped = v; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMNCPaint(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void Change() override;

private:
  // The cell's text as the picker's value; the current date and time when
  // it is none.
  void RestoreFromCell();
  TPlusStringGrid* FGrid;
  bool FEscaped = false;
};

// The check box of edCheckBox cells; its state is not written to the cell.
class TGridCheckBox : public TCheckBox {
  ZV_CLASS(TGridCheckBox)
public:
  explicit TGridCheckBox(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMLButtonDown(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  TPlusStringGrid* FGrid;
};

// The push button of edButton cells: a click asks OnEllipsClick for the
// cell's new text.
class TGridButton : public TButton {
  ZV_CLASS(TGridButton)
public:
  explicit TGridButton(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }

protected:
  void WMGetDlgCode(TMessage& M) override;
  void WMLButtonUp(TMessage& M) override;
  void WMKeyUp(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  void Clicked();
  // Hidden by a key: the grid takes the focus and the edit is over.
  void HideForKey();
  TPlusStringGrid* FGrid;
};
