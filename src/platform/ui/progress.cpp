#include "platform/ui/progress.h"

#include <algorithm>

ZV_CLASS_IMPL_NOPROPS(TProgressBar, TCustomControl)

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 150;
  FHeight = 16;
  FColor = clBtnFace;
  FParentColor = false;
}

void TProgressBar::SetRange(int AMin, int AMax) {
  FMin = AMin;
  FMax = std::max(AMin, AMax);
  SetPosition(FPosition);
  Invalidate();
}

void TProgressBar::SetPosition(int v) {
  v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  FPosition = v;
  Invalidate();
}

void TProgressBar::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(FColor);
  canvas->FillRect(r);
  if (FMax > FMin && FPosition > FMin) {
    TRect bar = r;
    bar.Right = bar.Left + static_cast<int>(static_cast<long long>(r.Width()) * (FPosition - FMin) / (FMax - FMin));
    canvas->Brush()->SetColor(clHighlight);
    canvas->FillRect(bar);
  }
}
