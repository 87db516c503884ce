#include "grid/support/psgcheck.h"

ZV_CLASS_IMPL(TPlusStringGridCheck, TComponent)

void TPlusStringGridCheck::DeclareProperties(TClassInfo& c) {
  // Stored whatever their value (no default).
  c.Boolean<TPlusStringGridCheck>("GotoCell", &TPlusStringGridCheck::GotoCell, &TPlusStringGridCheck::SetGotoCell, std::nullopt);
  c.Boolean<TPlusStringGridCheck>("AutoCorrect", &TPlusStringGridCheck::AutoCorrect,
                                  &TPlusStringGridCheck::SetAutoCorrect, std::nullopt);
  c.Boolean<TPlusStringGridCheck>("AutoMarkError", &TPlusStringGridCheck::AutoMarkError,
                                  &TPlusStringGridCheck::SetAutoMarkError, std::nullopt);
  c.Boolean<TPlusStringGridCheck>("UseCorrect", &TPlusStringGridCheck::UseCorrect,
                                  &TPlusStringGridCheck::SetUseCorrect, std::nullopt);
  c.Boolean<TPlusStringGridCheck>("UseMarkError", &TPlusStringGridCheck::UseMarkError,
                                  &TPlusStringGridCheck::SetUseMarkError, std::nullopt);
}

std::string TPlusStringGridCheck::MarkError(int, int, const std::string& Value) { return Value; }

std::string TPlusStringGridCheck::Correct(int, int, const std::string& Value) { return Value; }
