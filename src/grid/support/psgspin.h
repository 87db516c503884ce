// The spin edit: an edit with up and down buttons inside its right edge that
// steps whole numbers, real numbers, dates (the part under the caret) and
// times (the part under the caret), keeps values inside their limits,
// filters typed characters by type and repeats while a button is held
// (first after 400 ms, then every 100 ms). The filters apply to inserted
// characters: the clipboard and select-all keys keep working.
#pragma once

#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/buttons.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/extctrls.h"

enum TPsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TTimerArrow { taLeftArrow, taRightArrow, taUpArrow, taDownArrow };

// A speed button that repeats its click while held down, painted with the
// visual style, as a scroll arrow (left and right) or with its glyph.
class TPlusTimerSpeedButton : public TSpeedButton {
  ZV_CLASS(TPlusTimerSpeedButton)
public:
  explicit TPlusTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}
  bool AllowTimer() const { return FAllowTimer; }
  void SetAllowTimer(bool v) { FAllowTimer = v; }
  bool FocusRect() const { return FFocusRect; }
  void SetFocusRect(bool v) { FFocusRect = v; }
  TTimerArrow Direction() const { return FDirection; }
  void SetDirection(TTimerArrow v);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool Hot() const { return FHot; }
  // The repeat timer, made at the first press (nil before).
  TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;

private:
  void TimerExpired();
  TTimer* FRepeatTimer = nullptr;
  bool FFocusRect = false;
  bool FAllowTimer = false;
  TTimerArrow FDirection = taUpArrow;
  bool FIsWinXP = false;
  bool FHot = false;
};

// A window holding an up and a down button.
class TPsgSpinButton : public TWinControl {
  ZV_CLASS(TPsgSpinButton)
public:
  explicit TPsgSpinButton(TComponent* AOwner);
  TPlusTimerSpeedButton* UpButton() const { return FUpButton; }
  TPlusTimerSpeedButton* DownButton() const { return FDownButton; }
  TPlusTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection v);
  // nil loads the default arrow again (one glyph).
  TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
  void SetUpGlyph(const TBitmap* v);
  TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
  void SetDownGlyph(const TBitmap* v);
  int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
  void SetUpNumGlyphs(int v) { FUpButton->SetNumGlyphs(v); }
  int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
  void SetDownNumGlyphs(int v) { FDownButton->SetNumGlyphs(v); }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMGetDlgCode(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
  void AdjustButtons();
  void BtnClick(TObject* Sender);
  void BtnMouseDown(TObject* Sender, TMouseButton Button);
  TPlusTimerSpeedButton* FUpButton;
  TPlusTimerSpeedButton* FDownButton;
  TPlusTimerSpeedButton* FFocusedButton;
  TWinControl* FFocusControl = nullptr;
  TSpinDirection FDirection = spVertical;
  bool FIsWinXP = false;
};

class TPsgSpinEdit : public TCustomMaskEdit {
  ZV_CLASS(TPsgSpinEdit)
public:
  explicit TPsgSpinEdit(TComponent* AOwner);
  ~TPsgSpinEdit() override;
  TPsgSpinButton* Button() const { return FButton; }

  // The text as a number, date or time; text that does not convert gives
  // the minimum (0 for a time). Writing applies the limits (a pair of equal
  // limits means none).
  int Value();
  void SetValue(int v);
  double FloatValue();
  void SetFloatValue(double v);
  // A text "0" or empty reads as now.
  TDateTime DateValue();
  void SetDateValue(TDateTime v);
  TDateTime TimeValue();
  void SetTimeValue(TDateTime v);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int v) { FMinValue = v; }
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int v) { FMaxValue = v; }
  double MinFloatValue() const { return FMinFloatValue; }
  void SetMinFloatValue(double v) { FMinFloatValue = v; }
  double MaxFloatValue() const { return FMaxFloatValue; }
  void SetMaxFloatValue(double v) { FMaxFloatValue = v; }
  TDateTime MinDateValue() const { return FMinDateValue; }
  void SetMinDateValue(TDateTime v) { FMinDateValue = v; }
  TDateTime MaxDateValue() const { return FMaxDateValue; }
  void SetMaxDateValue(TDateTime v) { FMaxDateValue = v; }
  int Increment() const { return FIncrement; }
  void SetIncrement(int v) { FIncrement = v; }
  double IncrementFloat() const { return FIncrementFloat; }
  void SetIncrementFloat(double v) { FIncrementFloat = v; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v) { FEditorEnabled = v; }
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection v);
  TPsgSpinType SpinType() const { return FSpinType; }
  // Reads the value of the new type and writes it back (reformatting the text).
  void SetSpinType(TPsgSpinType v);
  int Precision() const { return FPrecision; }
  void SetPrecision(int v);
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool v) { FReturnIsTab = v; }
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool v) { FExcelStyleDecimalSeparator = v; }
  bool SpinFlat() const { return FSpinFlat; }
  void SetSpinFlat(bool v);
  bool SpinTransparent() const { return FSpinTransparent; }
  void SetSpinTransparent(bool v);
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAlign(TEditAlign v);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  int GetMinHeight();

  virtual bool IsValidChar(char Key);
  virtual void SpinUp(TObject* Sender);
  virtual void SpinDown(TObject* Sender);

  // Child controls are not streamed.
  void GetChildren(const TGetChildProc&, TComponent*) override {}

protected:
  void Loaded() override;
  void CreateWnd() override;
  void Dispatch(TMessage& M) override;
  void WMSize(TMessage& M) override;
  void WMChar(TMessage& M) override;
  void WMKeyDown(TMessage& M) override;
  void CMEnter(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

private:
  void Step(int Sign);
  void SetEditRect();
  int CheckValue(int v) const;
  double CheckFloatValue(double v) const;
  TDateTime CheckDateValue(TDateTime v) const;
  TPsgSpinButton* FButton = nullptr;
  int FMinValue = 0, FMaxValue = 100;
  double FMinFloatValue = 0, FMaxFloatValue = 100;
  TDateTime FMinDateValue = 0, FMaxDateValue = 0;
  TDateTime FDateValue = 0, FTimeValue = 0;
  int FIncrement = 1;
  double FIncrementFloat = 0.1;
  bool FEditorEnabled = true;
  TSpinDirection FDirection = spVertical;
  TPsgSpinType FSpinType = sptNormal;
  int FPrecision = 0;
  bool FReturnIsTab = false;
  bool FExcelStyleDecimalSeparator = false;
  bool FSpinFlat = false;
  bool FSpinTransparent = false;
  TEditAlign FEditAlign = eaLeft;
  bool FIsWinXP = false;
};
