#include "platform/ui/popupform.h"

#include <algorithm>

TRect KeepInsideWorkArea(const TRect& Bounds, int Margin) {
  const TRect area = Screen->WorkAreaRect();
  TRect r = Bounds;
  const int dx = std::min(0, area.Right - Margin - r.Right);
  const int dy = std::min(0, area.Bottom - Margin - r.Bottom);
  OffsetRect(r, dx, dy);
  OffsetRect(r, std::max(0, area.Left - r.Left), std::max(0, area.Top - r.Top));
  return r;
}

ZV_CLASS_IMPL_NOPROPS(TPopupForm, TForm)

TPopupForm::TPopupForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetBorderIcons({});
  SetPosition(poDesigned);
}

void TPopupForm::PlaceAt(TPoint P, int Margin) {
  SetBoundsRect(KeepInsideWorkArea(Rect(P.X, P.Y, P.X + FWidth, P.Y + FHeight), Margin));
}

int TPopupForm::PopupAt(TPoint P, int Margin) {
  PlaceAt(P, Margin);
  return ShowModal();
}
