// The custom editor link of edCustom cells: an application's own control
// placed over the cell (esInplace) or shown in a borderless pop-up form at
// the cell (esPopup). TEditLink fixes when the grid builds, places, fills,
// reads and hides the control and which keys leave it; a descendant supplies
// the control and the conversion between cell text and control value.
//
// Also the grid's rich edit (TPlusRichEdit): one instance edits rich-text
// cells, another measures and draws them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/classes.h"
#include "platform/ui/controls.h"
#include "platform/ui/richedit.h"

class TPlusStringGrid;
class TForm;

enum TEditStyle { esInplace, esPopup };

class TEditLink : public TComponent {
  ZV_CLASS(TEditLink)
public:
  explicit TEditLink(TComponent* AOwner);
  ~TEditLink() override;

  // Set by the grid each time it opens the link.
  TPlusStringGrid* Grid() const { return FGrid; }
  void SetGrid(TPlusStringGrid* v);
  // The cell being edited (real column, row).
  int EditCol() const { return FEditCol; }
  int EditRow() const { return FEditRow; }
  void SetEditCell(int ACol, int ARow) {
    FEditCol = ACol;
    FEditRow = ARow;
  }

  // Keys the control keeps instead of leaving the cell with them.
  bool WantKeyLeftRight() const { return FWantKeyLeftRight; }
  void SetWantKeyLeftRight(bool v) { FWantKeyLeftRight = v; }
  bool WantKeyUpDown() const { return FWantKeyUpDown; }
  void SetWantKeyUpDown(bool v) { FWantKeyUpDown = v; }
  bool WantKeyHomeEnd() const { return FWantKeyHomeEnd; }
  void SetWantKeyHomeEnd(bool v) { FWantKeyHomeEnd = v; }
  bool WantKeyPriorNext() const { return FWantKeyPriorNext; }
  void SetWantKeyPriorNext(bool v) { FWantKeyPriorNext = v; }
  bool WantKeyReturn() const { return FWantKeyReturn; }
  void SetWantKeyReturn(bool v) { FWantKeyReturn = v; }
  bool WantKeyEscape() const { return FWantKeyEscape; }
  void SetWantKeyEscape(bool v) { FWantKeyEscape = v; }
  TEditStyle EditStyle() const { return FEditStyle; }
  void SetEditStyle(TEditStyle v) { FEditStyle = v; }
  int PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(int v) { FPopupWidth = v; }
  int PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(int v) { FPopupHeight = v; }
  // Screen position of the pop-up form; -1 in either: the cell's top-left.
  int PopupLeft() const { return FPopupLeft; }
  void SetPopupLeft(int v) { FPopupLeft = v; }
  int PopupTop() const { return FPopupTop; }
  void SetPopupTop(int v) { FPopupTop = v; }
  // The pop-up form takes the cell's width.
  bool AutoPopupWidth() const { return FAutoPopupWidth; }
  void SetAutoPopupWidth(bool v) { FAutoPopupWidth = v; }

  // The link's own pop-up form; nil before the first pop-up edit.
  TForm* PopupForm() const { return FPopupForm; }
  // Made on first use, owned by the link.
  TForm* NeedPopupForm();
  // Set while the link itself gives the focus back to the grid.
  bool ForcedExit() const { return FForcedExit; }

  // The leave keys, as a key-down handler a descendant hands its control.
  virtual void HandleEditorKey(TObject* Sender, uint16_t& Key, TShiftState Shift);
  virtual TWinControl* EditorControl() { return nullptr; }
  // Makes the control with the pop-up form or the grid as its parent.
  virtual void BuildEditor(TWinControl* AParent) { (void)AParent; }
  // Before the pop-up form hides at the end of a pop-up edit.
  virtual void ReleaseEditor() {}
  virtual void ActivateEditor(bool Value);
  virtual void PlaceEditor(TRect R);
  virtual void ShowEditorControl(bool Value);
  virtual void ApplyEditorSettings() {}
  virtual void ApplyCellLook(TColor AColor, TFont* AFont) {
    (void)AColor;
    (void)AFont;
  }
  // The control's value as cell text, and a cell text put into the control.
  virtual std::string ReadEditorValue() { return ""; }
  virtual void WriteEditorValue(const std::string& Value) { (void)Value; }

  // The control's own window procedure back, and its window hidden.
  void HideEditorControl();
  // The control's value into the grid's current cell.
  void WriteValueToCell();
  // Ends a pop-up edit: the value stored, the control and the form hidden.
  void EndPopupEdit();
  // The pop-up form lost the activation.
  void PopupDeactivated();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // The grid gets the focus with the forced-exit flag up meanwhile.
  void FocusGridForced();
  TPlusStringGrid* FGrid = nullptr;
  bool FWantKeyLeftRight = false, FWantKeyUpDown = false, FWantKeyHomeEnd = false, FWantKeyPriorNext = false,
       FWantKeyReturn = false, FWantKeyEscape = false;
  TEditStyle FEditStyle = esInplace;
  TForm* FPopupForm = nullptr;
  int FPopupWidth = 0, FPopupHeight = 0;
  bool FForcedExit = false;
  int FEditCol = -1, FEditRow = -1;
  bool FAutoPopupWidth = false;
  int FPopupLeft = -1, FPopupTop = -1;
};

// The rich edit of edRichEdit cells (the cell holds RTF), and the grid's
// instance that measures and draws rich-text cells.
class TPlusRichEdit : public TRichEdit {
  ZV_CLASS(TPlusRichEdit)
public:
  // AOwner is the grid.
  explicit TPlusRichEdit(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  void DetachGrid() { FGrid = nullptr; }
  // The size the last resize request asked for.
  int ReqWidth() const { return FReqWidth; }
  int ReqHeight() const { return FReqHeight; }
  // While locked the editor does not grow its row (the grid is filling it).
  void Lock() { FLocked = true; }
  void Unlock() { FLocked = false; }
  bool Locked() const { return FLocked; }

protected:
  void Dispatch(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void SelectionChange() override;

private:
  void ResizeRequested(const TRect& R);
  TPlusStringGrid* FGrid;
  int FReqWidth = 0, FReqHeight = 0;
  bool FLocked = false;
};
