#include "platform/ui/cursors.h"

#include "platform/ui/uitypes.h"

void GetCursorValues(const std::function<void(const std::string& Ident)>& Proc) {
  // The table runs from crDefault down to crSizeAll; numbers without an
  // identifier (-5) are skipped.
  for (TCursor c = crDefault; c >= crSizeAll; --c) {
    std::string ident;
    if (CursorToIdent(c, ident)) Proc(ident);
  }
}
