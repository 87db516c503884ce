// A borderless form that pops up at a point of the screen and runs modally
// (the chart editor's gallery and colour pop-ups), kept inside the screen's
// work area.
#pragma once

#include "platform/ui/forms.h"

// Bounds moved left and up so that their right and bottom edges stay Margin
// pixels inside the work area, then right and down so that their top-left
// corner is not outside it (a pop-up larger than the screen shows its
// top-left part).
TRect KeepInsideWorkArea(const TRect& Bounds, int Margin);

class TPopupForm : public TForm {
  ZV_CLASS(TPopupForm)
public:
  explicit TPopupForm(TComponent* AOwner);
  // Puts the top-left corner at the screen point P, kept inside the work
  // area (KeepInsideWorkArea).
  void PlaceAt(TPoint P, int Margin = 2);
  // PlaceAt, then ShowModal; the modal result.
  int PopupAt(TPoint P, int Margin = 2);
};
