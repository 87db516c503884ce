// The Unicode combo box: wide items and text, with the flat look of the
// grid's combo editors (a border in the parent's colour that turns into a
// sunken focus border, its own drop-down button).
#pragma once

#include <memory>
#include <string>

#include "grid/support/psguni.h"
#include "grid/support/widestrings.h"
#include "platform/ui/combos.h"

class TCustomUNIComboBox : public TCustomComboBox {
  ZV_CLASS(TCustomUNIComboBox)
public:
  // The wide items, kept in the combo box's own item list.
  class TComboBoxStrings : public TWideStrings {
  public:
    explicit TComboBoxStrings(TCustomUNIComboBox* Combo) : FCombo(Combo) {}
    std::u16string Get(int Index) const override;
    int GetCount() const override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int Add(const std::u16string& S) override;
    // Empties the list; the text of the edit part stays.
    void Clear() override;
    void Delete(int Index) override;
    // Compared without regard to case.
    int IndexOf(const std::u16string& S) const override;
    void Insert(int Index, const std::u16string& S) override;

  protected:
    void SetUpdateState(bool Updating) override;

  private:
    TCustomUNIComboBox* FCombo;
  };

  explicit TCustomUNIComboBox(TComponent* AOwner);
  ~TCustomUNIComboBox() override;
  TWideStrings* Items() const { return FWideItems.get(); }
  void SetItems(TWideStrings* v) { FWideItems->Assign(v); }
  std::u16string Text() const { return GetWideText(this); }
  using TCustomComboBox::SetText;
  void SetText(const std::u16string& v) { SetWideText(this, v); }

  // Called with every character typed into the edit or list part, before
  // the key events.
  virtual void ComboCharHook(TMessage&) {}

protected:
  void WMChar(TMessage& M) override;
  void KeyPress(char& Key) override;
  // An item chosen from the list: Text becomes it, then OnClick and OnChange.
  void Select() override;

private:
  std::unique_ptr<TComboBoxStrings> FWideItems;
};

class TASGUniCustomCombo : public TCustomUNIComboBox {
  ZV_CLASS(TASGUniCustomCombo)
public:
  explicit TASGUniCustomCombo(TComponent* AOwner);
  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool v) { FAutoFocus = v; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool Etched() const { return FEtched; }
  void SetEtched(bool v);
  // 14 to 32; other values are ignored.
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  bool FocusBorder() const { return FFocusBorder; }
  void SetFocusBorder(bool v);
  int DropWidth() const { return FDropWidth; }
  void SetDropWidth(int v);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool MouseInControl() const { return FMouseInControl; }

protected:
  void PaintOverlay(TCanvas* Canvas) override;
  void CMEnabledChanged(TMessage& M) override;
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;
  void CMEnter(TMessage& M) override;
  void CMExit(TMessage& M) override;

private:
  bool Active() const;
  bool FocusBorderWanted() const;
  bool RaisedButtonWanted() const;
  bool FAutoFocus = false;
  bool FFlat = true;
  bool FEtched = false;
  TColor FSavedColor;
  bool FSavedParentColor;
  int FButtonWidth;
  bool FFocusBorder = false;
  bool FMouseInControl = false;
  int FDropWidth = 0;
  bool FIsWinXP = false;
};

class TASGUniComboBox : public TASGUniCustomCombo {
  ZV_CLASS(TASGUniComboBox)
public:
  explicit TASGUniComboBox(TComponent* AOwner) : TASGUniCustomCombo(AOwner) {}
};
