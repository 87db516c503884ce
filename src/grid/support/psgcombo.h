// The combo box that paints itself flat: a one- or two-pixel border in the
// parent's colour that turns into a sunken focus border while the mouse is
// over it or it has the focus, and its own drop-down button.
#pragma once

#include <string>

#include "platform/ui/combos.h"

class TASGCustomCombo : public TCustomComboBox {
  ZV_CLASS(TASGCustomCombo)
public:
  explicit TASGCustomCombo(TComponent* AOwner);
  virtual int GetVersionNr() const { return 0x01020001; }
  // The version number as four parts, most significant first; setting it does nothing.
  std::string Version() const;
  void SetVersion(const std::string&) {}
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
  // Set by the owner when visual styles are in use.
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
  bool FAutoFocus = false;
  bool FFlat = true;
  bool FEtched = false;
  TColor FSavedColor;
  bool FSavedParentColor;
  int FButtonWidth;
  bool FFocusBorder = false;
  int FDropWidth = 0;
  bool FMouseInControl = false;
  bool FIsWinXP = false;
};

class TASGComboBox : public TASGCustomCombo {
  ZV_CLASS(TASGComboBox)
public:
  explicit TASGComboBox(TComponent* AOwner) : TASGCustomCombo(AOwner) {}
};
