// The edit with a small push button inside its right edge (the grid's
// in-place editor for cells that ask for an edit with a button), and the
// edit for a value with a unit whose button opens a menu of units.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/stringlist.h"
#include "platform/ui/buttons.h"
#include "platform/ui/editctrls.h"

// A speed button painted flat, classic or with the visual style.
class TPlusSpeedButton : public TSpeedButton {
  ZV_CLASS(TPlusSpeedButton)
public:
  explicit TPlusSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool Flat() const { return FPlusFlat; }
  void SetFlat(bool v);
  bool Hot() const { return FHot; }

protected:
  void Paint() override;
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;

private:
  bool FIsWinXP = false;
  bool FPlusFlat = false;
  bool FHot = false;
};

// A window holding one TPlusSpeedButton that fills it; a click of the
// button is reported as the window's OnClick.
class TPsgEditButton : public TWinControl {
  ZV_CLASS(TPsgEditButton)
public:
  explicit TPsgEditButton(TComponent* AOwner);
  TPlusSpeedButton* Button() const { return FButton; }
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(const TBitmap* v) { FButton->SetGlyph(v); }
  std::string ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const std::string& v) { FButton->SetCaption(v); }
  int NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(int v) { FButton->SetNumGlyphs(v); }
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void BtnMouseUp(TMouseButton Button);
  TPlusSpeedButton* FButton;
  TWinControl* FFocusControl = nullptr;
  bool FFlat = false;
};

class TPsgEditBtn : public TCustomEdit {
  ZV_CLASS(TPsgEditBtn)
public:
  explicit TPsgEditBtn(TComponent* AOwner);
  ~TPsgEditBtn() override;
  TPsgEditButton* EditButton() const { return FButton; }
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int v);
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v) { FEditorEnabled = v; }
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(const TBitmap* v) { FButton->SetGlyph(v); }
  std::string ButtonCaption() const { return FButton->ButtonCaption(); }
  void SetButtonCaption(const std::string& v) { FButton->SetButtonCaption(v); }
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool RightAlign() const { return FRightAlign; }
  void SetRightAlign(bool v);
  // The height below which a resize raises the edit.
  int GetMinHeight();
  // Fires OnClickBtn(Sender).
  virtual void ClickButton(TObject* Sender);
  TNotifyEvent OnClickBtn;

protected:
  void CreateWnd() override;
  void Dispatch(TMessage& M) override;
  void WMSize(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void CMEnter(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void SetEditRect();
  int FUnitSpace = 0;

private:
  bool FRightAlign = false;
  TPsgEditButton* FButton = nullptr;
  bool FEditorEnabled = true;
  int FButtonWidth = 0;
  bool FIsWinXP = false;
};

// An edit for a value with a unit: UnitID is drawn left of the button, and
// the button opens a menu of Units.
class TPsgUnitEditBtn : public TPsgEditBtn {
  ZV_CLASS(TPsgUnitEditBtn)
public:
  explicit TPsgUnitEditBtn(TComponent* AOwner);
  ~TPsgUnitEditBtn() override;
  TStrings* Units() const { return FUnits.get(); }
  // Copies the list; nil is ignored.
  void SetUnits(const TStrings* v);
  const std::string& UnitID() const { return FUnitID; }
  void SetUnitID(const std::string& v);
  int UnitSpace() const { return FUnitSpace; }
  void SetUnitSpace(int v);
  // Builds the menu of units and shows it below the button.
  void ClickButton(TObject* Sender) override;

protected:
  void Dispatch(TMessage& M) override;
  void PaintOverlay(TCanvas* Canvas) override;

private:
  std::unique_ptr<TStringList> FUnits;
  std::string FUnitID;
};
