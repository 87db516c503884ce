#include "chart/extra/graflighting.h"

#include <cmath>
#include <vector>

#include "chart/core/grafconst.h"
#include "chart/core/grcanvas.h"

const TEnumInfo& LightStyleEnumInfo() {
  static const TEnumInfo info{"TLightStyle", {"lsLinear", "lsSpotLight"}, 0};
  return info;
}

namespace {
// One result bitmap for every lighting tool, re-made when the size changes.
std::unique_ptr<TBitmap>& SharedResult() {
  static std::unique_ptr<TBitmap> bitmap;
  return bitmap;
}

TBitmap* ResultOfSize(int Width, int Height) {
  std::unique_ptr<TBitmap>& b = SharedResult();
  if (!b || b->Width() != Width || b->Height() != Height) b = std::make_unique<TBitmap>(Width, Height, pf24bit);
  return b.get();
}
}  // namespace

void FreeLightingBitmap() { SharedResult().reset(); }

ZV_CLASS_IMPL(TLightTool, TGrafCustomTool)

void TLightTool::DeclareProperties(TClassInfo& c) {
  using T = TLightTool;
  c.Integer<T>("Factor", &T::Factor, &T::SetFactor, 10);
  c.Boolean<T>("FollowMouse", &T::FollowMouse, &T::SetFollowMouse, false);
  c.Integer<T>("Left", &T::Left, &T::SetLeft, -1);
  c.Enum<T>("Style", LightStyleEnumInfo(), &T::Style, &T::SetStyle, lsLinear);
  c.Integer<T>("Top", &T::Top, &T::SetTop, -1);
}

TLightTool::TLightTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

TLightTool::~TLightTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TLightTool::ToolTypeName() const { return GrafMsgEx2DLighting; }

void TLightTool::SetStyle(TLightStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

void TLightTool::SetParentChart(TCustomAxisPanel* Value) {
  TGrafCustomTool::SetParentChart(Value);
  if (Value && !ComponentState().Contains(csDestroying)) Value->Invalidate();
}

TPoint TLightTool::LightPoint() const {
  TPoint p{FLeft, FTop};
  if (FParentChart) {
    if (FLeft == -1) p.X = FParentChart->Width() / 2;
    if (FTop == -1) p.Y = FParentChart->Height() / 2;
  }
  return p;
}

void TLightTool::DarkenBitmap(TBitmap* Source, TBitmap* Dest) const {
  const int w = Source->Width(), h = Source->Height();
  if (Dest->Width() != w || Dest->Height() != h) Dest->SetSize(w, h);
  if (w == 0 || h == 0) return;
  const TPoint light = LightPoint();
  const double e = 100.0 / std::sqrt(static_cast<double>(w) * w + static_cast<double>(h) * h);
  double f = FFactor * 0.01;
  const bool spot = FStyle == lsSpotLight;
  if (!spot) f *= 20;
  const double ef = e * f;
  std::vector<double> dx2(static_cast<size_t>(w));
  for (int c = 0; c < w; ++c) dx2[static_cast<size_t>(c)] = static_cast<double>(c - light.X) * (c - light.X);
  for (int r = 0; r < h; ++r) {
    const double dy2 = static_cast<double>(r - light.Y) * (r - light.Y);
    const uint8_t* src = Source->ScanLine(r);
    uint8_t* dst = Dest->ScanLine(r);
    for (int c = 0; c < w; ++c) {
      const double d = std::sqrt(dy2 + dx2[static_cast<size_t>(c)]);
      double amount;
      if (spot) {
        const double t = (d + 1) * e;
        amount = f * t * t;
      } else {
        amount = ef * d;
      }
      const double o = std::nearbyint(amount);
      const int k = c * 3;
      if (o < 1) {
        dst[k] = src[k];
        dst[k + 1] = src[k + 1];
        dst[k + 2] = src[k + 2];
      } else if (o < 255) {
        const int oi = static_cast<int>(o);
        for (int b = 0; b < 3; ++b) dst[k + b] = oi >= src[k + b] ? 0 : static_cast<uint8_t>(src[k + b] - oi);
      } else {
        dst[k] = dst[k + 1] = dst[k + 2] = 0;
      }
    }
  }
}

void TLightTool::DrawLighting() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (canvas->DrawingToMetafile() || FDrawing) return;
  FDrawing = true;
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } clear{FDrawing};
  const int w = FParentChart->Width(), h = FParentChart->Height();
  if (w <= 0 || h <= 0) return;
  FPicture = std::make_unique<TBitmap>(w, h, pf24bit);
  if (TCanvas* source = canvas->GetDrawingDC()) {
    FPicture->Canvas()->CopyRect(Rect(0, 0, w, h), source, Rect(0, 0, w, h));
  } else {
    FPicture = FParentChart->RenderBitmap(FParentChart->GetPanelColor(), Rect(0, 0, w, h), pf24bit);
  }
  TBitmap* result = ResultOfSize(FPicture->Width(), FPicture->Height());
  DarkenBitmap(FPicture.get(), result);
  canvas->DrawGraphic(0, 0, result);
}

void TLightTool::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code != cteAfterDraw || !FParentChart || !Active()) return;
  FPicture.reset();
  DrawLighting();
}

void TLightTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (Active() && FFollowMouse && Kind == cmeMove && FParentChart) {
    FLeft = X;
    FTop = Y;
    FParentChart->Invalidate();
  }
}
