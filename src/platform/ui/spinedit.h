// A spin edit: an integer between MinValue and MaxValue, shown as text with
// up and down buttons; the arrow keys and the buttons step it by Increment.
// With EditorEnabled off the text cannot be typed, only stepped.
#pragma once

#include <string>

#include "platform/ui/controls.h"

class TSpinEdit : public TCustomControl {
  ZV_CLASS(TSpinEdit)
public:
  explicit TSpinEdit(TComponent* AOwner);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int v);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int v);
  int Increment() const { return FIncrement; }
  void SetIncrement(int v) { FIncrement = v; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v) { FEditorEnabled = v; }
  // The value, kept inside MinValue .. MaxValue when they differ (both 0:
  // no limits); a change fires OnChange.
  int Value() const { return FValue; }
  void SetValue(int v);
  void StepUp() { SetValue(FValue + FIncrement); }
  void StepDown() { SetValue(FValue - FIncrement); }
  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Up and Down step the value.
  void WMGetDlgCode(TMessage& M) override;

private:
  int Clamped(int v) const;
  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
  int FValue = 0;
  bool FEditorEnabled = true;
  // Digits typed since the box was entered, while the editor is enabled.
  std::string FTyped;
};
