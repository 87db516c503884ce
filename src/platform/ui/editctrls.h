// Edits that insert typed characters themselves, after the class library's
// key path: a character an OnKeyPress replaced is inserted as replaced, a
// cancelled one never arrives, and characters beyond ASCII pass the key
// events too. A character beyond 8 bits reaches KeyPress as 255: left at
// 255 the real character is inserted, changed it is replaced. Delete types
// no character; the clipboard keys become WM_CUT, WM_COPY and WM_PASTE
// (so that a descendant can refuse them); other control characters
// (Backspace, Ctrl+A, ...) keep the widget's own handling once the key
// events let them through.
// An input method's result arrives as one WM_CHAR per character. A Tab
// key-down sent or posted to the edit (not typed) moves the focus on. Text
// is not dropped into these edits, nor pasted with the middle button.
//
// The memo (TCustomMemo) takes characters the same way; Enter types a line
// break only with WantReturns, Tab a tab only with WantTabs (otherwise it
// moves the focus).
//
// Also the mask edit (TCustomMaskEdit): an edit that keeps an EditMask; with
// an empty mask, which is how the grid uses it, it is a plain edit. The
// mask's input rules are not applied.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/grids.h"  // TScrollStyle
#include "platform/ui/stdctrls.h"

// Sends the characters the window system would give the widget directly
// (beyond ASCII, and an input method's result) to the control as WM_CHAR;
// for controls that insert characters themselves. Call after the window
// exists.
void InstallWideCharInput(TWinControl* Control);

class TCustomEdit : public TEdit {
  ZV_CLASS(TCustomEdit)
public:
  explicit TCustomEdit(TComponent* AOwner);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool v) { FAutoSelect = v; }
  // bsNone: no border; bsSingle (default): the edit's frame.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  // The formatting rectangle (client coordinates) the text is laid out in;
  // empty until set (the whole client area).
  TRect GetRect() const { return FRect; }
  void SetRect(const TRect& r);
  // Inserts a character (a code point) at the caret in place of the
  // selection; nothing in a read-only edit; the maximum length holds.
  void InsertChar(uint32_t Code);
  // The caret position nearest to a client point (the character under it);
  // -1 without a window.
  int CharFromPos(TPoint P) const;

protected:
  void CreateWnd() override;
  // WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR and WM_UNDO act on the text.
  void Dispatch(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMKeyDown(TMessage& M) override;
  void BoundsChanged(bool sizeChanged) override;
  void ApplyRect();

private:
  bool FAutoSelect = true;
  TBorderStyle FBorderStyle = bsSingle;
  TAlignment FAlignment = taLeftJustify;
  TRect FRect{};
};

class TCustomMaskEdit : public TCustomEdit {
  ZV_CLASS(TCustomMaskEdit)
public:
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  const std::string& EditMask() const { return FEditMask; }
  void SetEditMask(const std::string& v) { FEditMask = v; }
  bool IsMasked() const { return !FEditMask.empty(); }

private:
  std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
  ZV_CLASS(TMaskEdit)
public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};

class TCustomMemo : public TWinControl {
  ZV_CLASS(TCustomMemo)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  // Lines are separated by CR LF in the text.
  void SetText(const std::string& v) override;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  // bsSingle (default): the memo's frame; bsNone: none.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool v) { FWantReturns = v; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool v);
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  void SelectAll();
  void SetSelText(const std::string& v);
  void InsertChar(uint32_t Code);
  TNotifyEvent OnChange;

protected:
  friend struct TMemoAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void Dispatch(TMessage& M) override;
  void WMChar(TMessage& M) override;
  virtual void Change();
  // True: the window is one that shows character and paragraph formats.
  virtual bool RichWidget() const { return false; }

private:
  bool FReadOnly = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  TBorderStyle FBorderStyle = bsSingle;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FSyncing = false;
};

// The grid's in-place editor (see grids.h): a borderless mask edit, child of
// its grid, filled from and handed back to the grid's current cell.
class TInplaceEdit : public TCustomMaskEdit {
  ZV_CLASS(TInplaceEdit)
public:
  // AOwner is the grid; the editor becomes its child.
  explicit TInplaceEdit(TComponent* AOwner);
  TCustomGrid* Grid() const { return FGrid; }
  // Fills the editor from the grid's current cell: the edit text, mask and
  // length limit, all of the text selected.
  virtual void UpdateContents();
  // Places the editor on R (the grid's client coordinates) and shows it.
  virtual void Move(const TRect& R);
  void Hide();

protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // Passes a key to the grid's key handling and consumes it here.
  void SendToParent(uint16_t& Key, TShiftState Shift);

  TCustomGrid* FGrid;
};
