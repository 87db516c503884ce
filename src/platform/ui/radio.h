// Radio buttons and group boxes: TRadioButton (a window-system radio button;
// the radio buttons with the same parent form one group), TGroupBox (a
// framed, captioned container painted through the canvas) and TRadioGroup (a
// group box whose Items become a column layout of radio buttons).
//
// Events as in the class library: checking a radio button, by a click or
// from code, fires its OnClick (unchecking fires nothing); setting a radio
// group's ItemIndex from code fires the group's OnClick; neither fires
// while the component is being loaded.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"

class TRadioButton : public TWinControl {
  ZV_CLASS(TRadioButton)
public:
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return FChecked; }
  // Checking unchecks the other radio buttons of the same parent and fires
  // OnClick.
  void SetChecked(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);

protected:
  friend struct TRadioAccess;
  void CreateWnd() override;
  bool CustomPainted() const override { return false; }
  void CMTextChanged(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A frame with a caption around child controls. ClientRect is the area
// inside the frame, below the caption, so aligned children stay inside.
class TCustomGroupBox : public TCustomControl {
  ZV_CLASS(TCustomGroupBox)
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  TRect ClientRect() const override;

protected:
  void Paint() override;
  void CMTextChanged(TMessage& M) override;
  void FontChanged() override;
  int CaptionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
  ZV_CLASS(TGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

class TRadioGroup;

// The items of a radio group: one radio button each.
class TRadioGroupStrings : public TStringList {
public:
  explicit TRadioGroupStrings(TRadioGroup* Group) : FGroup(Group) {}
  std::string ClassName() const override { return "TRadioGroupStrings"; }

protected:
  void Changed() override;

private:
  TRadioGroup* FGroup;
};

class TRadioGroup : public TCustomGroupBox {
  ZV_CLASS(TRadioGroup)
public:
  explicit TRadioGroup(TComponent* AOwner);
  ~TRadioGroup() override;
  TStrings* Items() { return FItems.get(); }
  void SetItems(TStrings* v) { FItems->Assign(*v); }
  // -1: none. Setting it checks that item's button, which fires OnClick.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int v);
  // The buttons run down the columns, as many in each as it takes.
  int Columns() const { return FColumns; }
  void SetColumns(int v);
  // The radio button of an item (nil out of range).
  TRadioButton* Buttons(int Index) const;
  void SetEnabled(bool v) override;

protected:
  friend class TRadioGroupStrings;
  friend class TGroupButton;
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* Button);
  void BoundsChanged(bool sizeChanged) override;
  void FontChanged() override;
  void Loaded() override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

private:
  std::unique_ptr<TRadioGroupStrings> FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};
