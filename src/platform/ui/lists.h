// List boxes: TListBox (a column of items, each a string with an object,
// painted through the canvas or by the program's OnDrawItem) and
// TCheckListBox (a check box before each item).
//
// Selection. Single-select: ItemIndex is the selected item. MultiSelect: each
// item has Selected; ItemIndex is the focused item (the caret), which a
// change from code moves without selecting. ExtendedSelect (with
// MultiSelect): a click selects one item, Ctrl+click toggles, Shift+click
// selects a range; without it a click toggles. Switching MultiSelect clears
// the selection and keeps the item index, as recreating the window does.
//
// Events, as in the class library: the selection made with the mouse or the
// keys fires OnClick (on the button's release, after the item under the
// mouse was made current and before OnMouseUp; every click fires it, on
// the same item too); a double click fires OnDblClick. Changes from code
// (ItemIndex, Selected, Items, TopIndex, Checked, State) fire nothing.
// OnMouseDown sees the new ItemIndex. The check box of an item is toggled by
// a left press on it or by Space, firing OnClickCheck.
//
// Drawing: lbStandard draws the text; lbOwnerDrawFixed asks OnDrawItem for
// every item at ItemHeight; lbOwnerDrawVariable also asks OnMeasureItem for
// each item's height. OnDrawItem draws on Canvas, whose brush and font are
// set for the item's state first (highlight colours when selected); the
// focus rectangle follows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"
#include "platform/ui/stdctrls.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
// TOwnerDrawState, TDrawItemEvent and TMeasureItemEvent: stdctrls.h.

class TCustomListBox;

// The items of a list box, kept with the selection and check state of each.
class TListBoxStrings : public TStrings {
public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  std::string ClassName() const override { return "TListBoxStrings"; }
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // A sorted list box puts the string in its sorted place.
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* obj) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

protected:
  void SetUpdateState(bool updating) override;

private:
  TCustomListBox* FListBox;
};

class TCustomListBox : public TCustomControl {
  ZV_CLASS(TCustomListBox)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() { return FStrings.get(); }
  void SetItems(TStrings* v) { FStrings->Assign(*v); }
  int Count() const { return static_cast<int>(FItems.size()); }
  // The current item: -1 when none (and whenever there are no items).
  int ItemIndex() const { return GetItemIndex(); }
  void SetItemIndex(int v) { SetItemIndexValue(v); }
  bool Selected(int Index) const;
  void SetSelected(int Index, bool v);
  // The number of selected items; -1 in single-select mode.
  int SelCount() const;
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool v) { FExtendedSelect = v; }
  virtual void SelectAll();
  void ClearSelection();
  void Clear() { FStrings->Clear(); }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle v);
  // Fixed item height of the owner-drawn styles (and the default of the
  // variable one); lbStandard takes it from the font.
  int ItemHeight() const;
  void SetItemHeight(int v);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  // The first item shown.
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int v);
  // The item at a client point: -1 outside the client area; below the
  // last item -1 when Existing, else Count.
  int ItemAtPos(TPoint Pos, bool Existing) const;
  // An item's rectangle in client coordinates (items above TopIndex lie
  // above the area); Count gives the place after the last item, anything
  // else an empty rectangle.
  TRect ItemRect(int Index) const;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  TRect ClientRect() const override;
  TPoint ChildOrigin() const override;

protected:
  friend class TListBoxStrings;
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
    bool Selected = false;
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
    int Height = 0;  // lbOwnerDrawVariable, from OnMeasureItem
  };
  virtual int GetItemIndex() const;
  virtual void SetItemIndexValue(int v);
  // Draws one item: OnDrawItem when owner-drawn and set, else the text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // The area of an item that DrawItem gets (a check list box keeps the
  // check box out of it).
  virtual TRect DrawRect(TRect ItemRect) const { return ItemRect; }
  virtual void DrawItemExtras(int, TRect) {}

  void CreateWnd() override;
  void Paint() override;
  void WMLButtonDown(TMessage& M) override;
  void WMLButtonDblClk(TMessage& M) override;
  void WMLButtonUp(TMessage& M) override;
  void WMMouseMove(TMessage& M) override;
  void WMMouseWheel(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void BoundsChanged(bool sizeChanged) override;
  void FontChanged() override;
  void CMEnabledChanged(TMessage& M) override;

  // The items changed: keeps the indexes in range, the bar in step, repaints.
  void ItemsChanged();
  void RemeasureItems();
  // Moves the current item as a key or click does (with the selection of
  // the mode); true when anything changed.
  bool MoveTo(int Index, TShiftState Shift, bool Toggle);
  void ScrollInView(int Index);
  int ItemTop(int Index) const;   // offset of the item from the first
  int HeightOf(int Index) const;
  int VisibleCount() const;       // items that fit wholly from TopIndex
  int MaxTopIndex() const;
  void SyncBar();
  void DoClickAfterRelease();

  std::vector<TItem> FItems;
  std::unique_ptr<TListBoxStrings> FStrings;
  int FItemIndex = -1;
  int FAnchor = -1;
  int FTopIndex = 0;
  int FItemHeight = 16;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  TListBoxStyle FStyle = lbStandard;
  TBorderStyle FBorderStyle = bsSingle;
  bool FTracking = false;      // the left button is held after a press on the list
  bool FClickPending = false;  // its release fires OnClick
  int FUpdating = 0;
};

class TListBox : public TCustomListBox {
  ZV_CLASS(TListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

class TCheckListBox : public TCustomListBox {
  ZV_CLASS(TCheckListBox)
public:
  explicit TCheckListBox(TComponent* AOwner);
  bool Checked(int Index) const { return State(Index) == cbChecked; }
  void SetChecked(int Index, bool v) { SetState(Index, v ? cbChecked : cbUnchecked); }
  TCheckBoxState State(int Index) const;
  void SetState(int Index, TCheckBoxState v);
  // A click (or Space) may leave an item grayed only with AllowGrayed.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  // A disabled item is drawn grayed and its check box cannot be toggled.
  bool ItemEnabled(int Index) const;
  void SetItemEnabled(int Index, bool v);
  // The user toggled an item's check box (the item is the current one).
  TNotifyEvent OnClickCheck;
  // The width of the check box column.
  static int CheckWidth();

protected:
  virtual void ClickCheck();
  void ToggleClickCheck(int Index);
  TRect DrawRect(TRect ItemRect) const override;
  void DrawItemExtras(int Index, TRect ItemRect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char& Key) override;

private:
  bool FAllowGrayed = false;
};
