// The base of a cell checker: the component the grid's CellChecker refers
// to, asked to correct a value and to mark its errors.
#pragma once

#include <string>

#include "platform/ui/classes.h"

class TPlusStringGridCheck : public TComponent {
  ZV_CLASS(TPlusStringGridCheck)
public:
  explicit TPlusStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}
  // The value with its errors marked; the base leaves it as it is.
  virtual std::string MarkError(int ACol, int ARow, const std::string& Value);
  // The corrected value; the base leaves it as it is.
  virtual std::string Correct(int ACol, int ARow, const std::string& Value);
  // Without effect here; the grid does not call them.
  virtual void StartCheck() {}
  virtual void StopCheck() {}

  bool GotoCell() const { return FGotoCell; }
  void SetGotoCell(bool v) { FGotoCell = v; }
  bool AutoCorrect() const { return FAutoCorrect; }
  void SetAutoCorrect(bool v) { FAutoCorrect = v; }
  bool AutoMarkError() const { return FAutoMarkError; }
  void SetAutoMarkError(bool v) { FAutoMarkError = v; }
  bool UseCorrect() const { return FUseCorrect; }
  void SetUseCorrect(bool v) { FUseCorrect = v; }
  bool UseMarkError() const { return FUseMarkError; }
  void SetUseMarkError(bool v) { FUseMarkError = v; }

private:
  bool FGotoCell = false;
  bool FAutoCorrect = false;
  bool FAutoMarkError = false;
  bool FUseCorrect = false;
  bool FUseMarkError = false;
};
