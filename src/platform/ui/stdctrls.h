// Standard controls: push button, check box, edit, combo box (window-system
// widgets) and label (painted on its parent). Their events fire also when a
// value is set from code, where the class library fires them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"

class TButton : public TWinControl {
  ZV_CLASS(TButton)
public:
  explicit TButton(TComponent* AOwner);
  // Sets the form's ModalResult (when not mrNone), then OnClick.
  void Click() override;
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int v) { FModalResult = v; }
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }

protected:
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void CMTextChanged(TMessage& M) override;
  // A push button leaves the arrow keys to the dialog.
  void WMGetDlgCode(TMessage& M) override;

private:
  int FModalResult = 0;
  bool FDefault = false;
  bool FCancel = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
  ZV_CLASS(TCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  // A change fires OnClick, from code too.
  void SetState(TCheckBoxState v);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v);

protected:
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void CMTextChanged(TMessage& M) override;
  // A check box leaves the arrow keys to the dialog.
  void WMGetDlgCode(TMessage& M) override;

private:
  friend struct TCheckBoxAccess;
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEdit : public TWinControl {
  ZV_CLASS(TEdit)
public:
  explicit TEdit(TComponent* AOwner);
  // Text typed or assigned is converted to this case.
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  // bsNone: the box without its frame.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  // A change of the text fires OnChange, from code too.
  void SetText(const std::string& v) override;
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char v);
  int SelStart() const;
  void SetSelStart(int v);
  int SelLength() const;
  void SetSelLength(int v);
  std::string SelText() const;
  void SetSelText(const std::string& v);
  void SelectAll();
  void Clear() { SetText(""); }
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }
  TNotifyEvent OnChange;

protected:
  friend struct TEditAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  virtual void Change();
  void WMChar(TMessage& M) override;

private:
  int FMaxLength = 0;
  TEditCharCase FCharCase = ecNormal;
  TBorderStyle FBorderStyle = bsSingle;
  bool FReadOnly = false;
  char FPasswordChar = 0;
  bool FModified = false;
  bool FSyncing = false;
  int FSelStart = 0, FSelLength = 0;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// How an owner-drawn item is to be drawn: odComboBoxEdit marks the item in
// the closed box (not in the dropped-down list).
enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
  odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TEnumSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

class TComboBox;

// The items of a combo box, kept in step with its widget.
class TComboBoxStrings : public TStrings {
public:
  explicit TComboBoxStrings(TComboBox* Combo) : FCombo(Combo) {}
  std::string ClassName() const override { return "TComboBoxStrings"; }
  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // A sorted combo box puts the string in its sorted place and answers it.
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

private:
  friend class TComboBox;
  TComboBox* FCombo;
  std::vector<std::pair<std::string, TObject*>> FItems;
};

// With csOwnerDrawFixed and csOwnerDrawVariable the combo box is a
// drop-down list whose items (in the list and in the closed box) are drawn
// by DrawItem: OnDrawItem draws on Canvas, which before each item holds the
// combo's font and colour, or the highlight colours for a selected item;
// without OnDrawItem the item's text is drawn. A focused item gets a focus
// rectangle after it is drawn. Every item of a csOwnerDrawFixed list is
// ItemHeight high; csOwnerDrawVariable asks OnMeasureItem for each.
class TComboBox : public TWinControl {
  ZV_CLASS(TComboBox)
public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;
  TStrings* Items() { return FItems.get(); }
  void SetItems(TStrings* v) { FItems->Assign(*v); }
  // Setting it from code fires no event, as in the class library.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  void SetText(const std::string& v) override;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int v);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  bool DroppedDown() const;
  void SetDroppedDown(bool v);
  // Selects the whole text of the edit field (csDropDown).
  void SelectAll();
  // The canvas owner-drawn items are drawn on (while DrawItem runs).
  TCanvas* Canvas();
  // Repaints the closed box and the dropped-down list.
  void Invalidate() override;
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  // What the widget reports (and tests may call): the user picked an item.
  void UserSelected(int index);

protected:
  friend class TComboBoxStrings;
  friend struct TComboAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void Dispatch(TMessage& M) override;
  virtual void Change();
  virtual void Select();
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  void ItemsChanged();
  // A drop-down list, owner-drawn or not (no edit field).
  bool IsListStyle() const { return FStyle == csDropDownList || IsOwnerDrawn(); }
  bool IsOwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }

private:
  void ApplyStyle();
  std::unique_ptr<TCanvas> FCanvas;
  std::unique_ptr<TComboBoxStrings> FItems;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 13;
  int FDroppedWidth = 0;
  bool FSorted = false;
  bool FSyncing = false;
};

class TLabel : public TGraphicControl {
  ZV_CLASS(TLabel)
public:
  explicit TLabel(TComponent* AOwner);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool v);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v) { FFocusControl = v; }

protected:
  void Paint() override;
  void CMTextChanged(TMessage& M) override;
  void CMFontChanged(TMessage& M) override;
  void AdjustBounds();

private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};
