#include "chart/core/grafattrs.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grcanvas.h"
#include "platform/ui/uitypes.h"

namespace {

int RoundInt(double v) {
  if (!(v == v)) return 0;
  if (v > 2147483647.0) return 2147483647;
  if (v < -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(std::nearbyint(v));
}

// A grey of the same brightness, for monochrome canvases.
TColor GreyOf(TColor c) {
  if (c == clNone) return c;
  TColorRef r = ColorToRGB(c);
  int g = (GetRValue(r) + GetGValue(r) + GetBValue(r)) / 3;
  return static_cast<TColor>(g * 0x010101);
}

}  // namespace

const TEnumInfo& PenEndStyleEnumInfo() {
  static const TEnumInfo e{"TPenEndStyle", {"esRound", "esSquare", "esFlat"}, 0};
  return e;
}

const TEnumInfo& GradientDirectionEnumInfo() {
  static const TEnumInfo e{"TGradientDirection",
                           {"gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter",
                            "gdFromTopLeft", "gdFromBottomLeft", "gdRadial", "gdDiagonalUp", "gdDiagonalDown"},
                           0};
  return e;
}

// ---- TChartPen ----

TChartPen::TChartPen(TNotifyEvent onChange) { OnChange = std::move(onChange); }

void TChartPen::Assign(const TGraphicsObject* source) {
  if (auto* p = dynamic_cast<const TChartPen*>(source); p && p != this) {
    FVisible = p->FVisible;
    FSmallDots = p->FSmallDots;
    FSmallSpace = p->FSmallSpace;
    FEndStyle = p->FEndStyle;
  }
  TPen::Assign(source);
}

void TChartPen::SetEndStyle(TPenEndStyle value) {
  if (FEndStyle == value) return;
  FEndStyle = value;
  Changed();
}

void TChartPen::SetSmallDots(bool value) {
  if (FSmallDots == value) return;
  FSmallDots = value;
  Changed();
}

void TChartPen::SetSmallSpace(int value) {
  if (FSmallSpace == value) return;
  FSmallSpace = value;
  Changed();
}

void TChartPen::SetVisible(bool value) {
  if (FVisible == value) return;
  FVisible = value;
  Changed();
}

TChartHiddenPen::TChartHiddenPen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) {
  VisibleDefault = false;
  TNotifyEvent saved = std::move(OnChange);
  OnChange = {};
  SetVisible(false);
  OnChange = std::move(saved);
}

TDottedGrayPen::TDottedGrayPen(TNotifyEvent onChange) {
  SetColor(clGray);
  SetStyle(psDot);
  OnChange = std::move(onChange);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) {
  SetColor(clGray);
  OnChange = std::move(onChange);
}

TWhitePen::TWhitePen(TNotifyEvent onChange) {
  SetColor(clWhite);
  OnChange = std::move(onChange);
}

// ---- TChartBrush ----

TChartBrush::TChartBrush(TNotifyEvent onChange) {
  SetColor(clDefault);
  OnChange = std::move(onChange);
}

TChartBrush::~TChartBrush() = default;

void TChartBrush::Assign(const TGraphicsObject* source) {
  if (auto* b = dynamic_cast<const TChartBrush*>(source); b && b != this) SetImage(b->FImage.get());
  TBrush::Assign(source);
}

TPicture* TChartBrush::Image() {
  if (!FImage) {
    FImage = std::make_unique<TPicture>();
    FImage->OnChange = [this](TObject*) { Changed(); };
  }
  return FImage.get();
}

void TChartBrush::SetImage(const TPicture* value) {
  if (!value) {
    FImage.reset();
  } else {
    TPicture* own = Image();
    TNotifyEvent saved = std::move(own->OnChange);
    own->OnChange = {};
    own->Assign(value);
    own->OnChange = std::move(saved);
  }
  Changed();
}

// ---- TGrafShadow ----

TGrafShadow::TGrafShadow(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TGrafShadow::~TGrafShadow() = default;

void TGrafShadow::Changed() {
  if (OnChange) OnChange(this);
}

void TGrafShadow::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TGrafShadow*>(Source)) {
    if (s == this) return;
    FColor = s->FColor;
    FHorizSize = s->FHorizSize;
    FSmooth = s->FSmooth;
    FTransparency = s->FTransparency;
    FVertSize = s->FVertSize;
    return;
  }
  TPersistent::Assign(Source);
}

void TGrafShadow::SetColor(TColor value) {
  if (FColor == value) return;
  FColor = value;
  Changed();
}

void TGrafShadow::SetHorizSize(int value) {
  if (FHorizSize == value) return;
  FHorizSize = value;
  Changed();
}

void TGrafShadow::SetSmooth(bool value) {
  if (FSmooth == value) return;
  FSmooth = value;
  Changed();
}

void TGrafShadow::SetTransparency(TGrafTransparency value) {
  if (FTransparency == value) return;
  FTransparency = value;
  Changed();
}

void TGrafShadow::SetVertSize(int value) {
  if (FVertSize == value) return;
  FVertSize = value;
  Changed();
}

void TGrafShadow::SetUniformSize(int value) {
  SetHorizSize(value);
  SetVertSize(value);
}

bool TGrafShadow::BeginShadowDrawing(TCanvas3D* canvas, const TRect& rect, int z) {
  if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return false;
  canvas->CanvasBrush()->SetColor(FColor);
  canvas->CanvasBrush()->SetStyle(bsSolid);
  canvas->CanvasPen()->SetStyle(psClear);
  if (FTransparency > 0) {
    TRect r = rect;
    OffsetRect(r, FHorizSize, FVertSize);
    FBlend = canvas->BeginBlending(canvas->ProjectedRectBounds(r, z), FTransparency);
  }
  return true;
}

void TGrafShadow::FinishBlending(TCanvas3D* canvas) {
  if (FTransparency > 0 && FBlend) canvas->EndBlending(std::move(FBlend));
  FBlend.reset();
}

void TGrafShadow::DrawRectShadowAtDepth(TCanvas3D* canvas, const TRect& rect, int z) {
  if (!BeginShadowDrawing(canvas, rect, z)) return;
  const int H = FHorizSize, V = FVertSize;
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  const bool mode3D = canvas->RotationSuspendCount() == 0;
  try {
    if (FSmooth && LargerSize() > 1) {
      TColorRef rgb = ColorToRGB(FColor);
      const double avg = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
      TPen* pen = canvas->CanvasPen();
      pen->SetStyle(psSolid);
      if (V != 0) {
        pen->SetColor(FColor);
        const int step = RoundInt((255 - avg) / V);
        for (int i = 1; i <= V; ++i) {
          const int x0 = L + H, x1 = R + H + i - V - 1, y = B + i - 1;
          if (mode3D) canvas->HorizontalLine3D(x0, x1, y, z);
          else canvas->HorizontalLine(x0, x1, y);
          pen->SetColor(ColorBrighter(pen->Color(), step));
        }
      }
      if (H != 0) {
        pen->SetColor(FColor);
        const int step = RoundInt((255 - avg) / H);
        for (int i = 0; i <= H - 1; ++i) {
          const int x = R + i, y0 = T + V, y1 = B + V - H + i;
          if (mode3D) {
            canvas->VerticalLine3D(x, y0, y1, z);
            canvas->WritePixel3D(R + i - 1, B + V - H + i - 1, z, pen->Color());
          } else {
            canvas->VerticalLine(x, y0, y1);
            canvas->WritePixel(R + i - 1, B + V - H + i - 1, pen->Color());
          }
          pen->SetColor(ColorBrighter(pen->Color(), step));
        }
      }
    } else if (mode3D) {
      canvas->RectangleWithZ(Rect(L + H, B, R + H, B + V), z);
      canvas->RectangleWithZ(Rect(R, T + V, R + H, B + V), z);
    } else {
      if (V != 0) {
        if (V > 0) canvas->Rectangle(L + H, B, R + H, B + 1 + V);
        else canvas->Rectangle(L + H, T + 1, R + H, T + V);
      }
      if (H != 0) {
        if (H > 0) canvas->Rectangle(R, T + V, R + 1 + H, B + V + 1);
        else canvas->Rectangle(L + 1, T + V, L + H, B + V + 1);
      }
    }
  } catch (...) {
    FinishBlending(canvas);
    throw;
  }
  FinishBlending(canvas);
}

void TGrafShadow::DrawEllipseShadow(TCanvas3D* canvas, const TRect& rect, int z) {
  if (!BeginShadowDrawing(canvas, rect, z)) return;
  const int H = FHorizSize, V = FVertSize;
  try {
    if (FSmooth) {
      TRect r = rect;
      OffsetRect(r, H, V);
      TRect p = canvas->ProjectRectAtDepth(r, z);
      canvas->ClipToEllipse(p, false);
      TGrafGradient g;
      g.SetStartColor(ColorDarker(FColor, 128));
      g.SetEndColor(ColorBrighter(FColor, 32));
      try {
        g.DrawRadial(canvas, p);
      } catch (...) {
        canvas->RemoveClipRegion();
        throw;
      }
      canvas->RemoveClipRegion();
    } else {
      canvas->EllipseWithZ(rect.Left + H, rect.Top + V, rect.Right + H, rect.Bottom + V, z);
    }
  } catch (...) {
    FinishBlending(canvas);
    throw;
  }
  FinishBlending(canvas);
}

// ---- Gradients ----

TCustomGrafGradient::TCustomGrafGradient(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TCustomGrafGradient::~TCustomGrafGradient() = default;

void TCustomGrafGradient::Changed() {
  if (OnChange) OnChange(this);
}

void TCustomGrafGradient::Assign(TPersistent* Source) {
  if (auto* g = dynamic_cast<TCustomGrafGradient*>(Source)) {
    if (g == this) return;
    FBalance = g->FBalance;
    FDirection = g->FDirection;
    FEndColor = g->FEndColor;
    FMidColor = g->FMidColor;
    FRadialX = g->FRadialX;
    FRadialY = g->FRadialY;
    FStartColor = g->FStartColor;
    FVisible = g->FVisible;
    FMiddleOn = g->FMiddleOn;
    return;
  }
  TPersistent::Assign(Source);
}

#define ZV_GRADIENT_SETTER(Name, Type, Field) \
  void TCustomGrafGradient::Set##Name(Type value) { \
    if (Field == value) return;                     \
    Field = value;                                  \
    Changed();                                      \
  }
ZV_GRADIENT_SETTER(Balance, int, FBalance)
ZV_GRADIENT_SETTER(Direction, TGradientDirection, FDirection)
ZV_GRADIENT_SETTER(EndColor, TColor, FEndColor)
ZV_GRADIENT_SETTER(RadialX, int, FRadialX)
ZV_GRADIENT_SETTER(RadialY, int, FRadialY)
ZV_GRADIENT_SETTER(StartColor, TColor, FStartColor)
ZV_GRADIENT_SETTER(Visible, bool, FVisible)
#undef ZV_GRADIENT_SETTER

void TCustomGrafGradient::SetMidColor(TColor value) {
  if (value == clNone) {
    if (!FMiddleOn) return;
    FMiddleOn = false;
    Changed();
    return;
  }
  if (FMiddleOn && FMidColor == value) return;
  FMiddleOn = true;
  FMidColor = value;
  Changed();
}

void TCustomGrafGradient::UseMiddleColor() {
  if (FMiddleOn) return;
  FMiddleOn = true;
  Changed();
}

TColor BalanceCurve(TColor start, TColor end, int i, int n, int balance) {
  const double s = std::pow((i + 1.0) / (n + 1.0), 0.5 + BalanceFactor * balance);
  TColorRef a = ColorToRGB(start), b = ColorToRGB(end);
  auto mix = [s](int x, int y) { return std::clamp(x + RoundInt((y - x) * s), 0, 255); };
  return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                 mix(GetBValue(a), GetBValue(b))));
}

namespace {

// Rings from the centre (start colour) to the rim (end colour).
void RadialRings(TCanvas3D* canvas, const TRect& rect, TColor start, TColor end, int balance, int radialX,
                 int radialY) {
  const TRect r = NormalizeRect(rect);
  canvas->ClipToRect(r);
  TPen* pen = canvas->CanvasPen();
  TBrush* brush = canvas->CanvasBrush();
  const TPenStyle savedStyle = pen->Style();
  const TColor savedColor = brush->Color();
  try {
    const int h = r.Bottom - r.Top, w = r.Right - r.Left;
    const int n0 = std::min(std::max(h, w), 255);
    if (n0 > 0) {
      const double ky = h / 2.0 / n0, kx = w / 2.0 / n0;
      pen->SetStyle(psClear);
      brush->SetColor(end);
      canvas->FillRect(r);
      const int n = (w % 2 != 0 || h % 2 != 0) ? n0 - 1 : n0;
      const double cx = radialX + 1 + (r.Left + r.Right) / 2.0;
      const double cy = radialY + 1 + (r.Top + r.Bottom) / 2.0;
      const TColorRef a = ColorToRGB(start), b = ColorToRGB(end);
      for (int k = n; k >= 0; --k) {
        TColor c;
        if (balance == 50) {
          auto mix = [k, n0](int x, int y) { return (x + RoundInt((y - x) * static_cast<double>(k) / n0)) & 0xFF; };
          c = static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                      mix(GetBValue(a), GetBValue(b))));
        } else {
          c = BalanceCurve(start, end, k, n, balance);
        }
        brush->SetColor(c);
        canvas->Ellipse(RoundInt(cx - kx * k), RoundInt(cy - ky * k), RoundInt(cx + kx * k), RoundInt(cy + ky * k));
      }
    }
  } catch (...) {
    pen->SetStyle(savedStyle);
    brush->SetColor(savedColor);
    canvas->RemoveClipRegion();
    throw;
  }
  pen->SetStyle(savedStyle);
  brush->SetColor(savedColor);
  canvas->RemoveClipRegion();
}

}  // namespace

void TCustomGrafGradient::DrawRadial(TCanvas3D* canvas, const TRect& rect) {
  TColor start = FStartColor, end = FEndColor;
  if (canvas->GetMonochrome()) {
    start = GreyOf(start);
    end = GreyOf(end);
  }
  RadialRings(canvas, rect, start, end, FBalance, FRadialX, FRadialY);
}

void TCustomGrafGradient::DrawInRect(TCanvas3D* canvas, const TRect& rect, int corner) {
  TColor start = FStartColor, end = FEndColor, mid = MidColor();
  if (canvas->GetMonochrome()) {
    start = GreyOf(start);
    end = GreyOf(end);
    mid = GreyOf(mid);
  }
  if (corner > 0) canvas->ClipToRoundRect(rect, corner);
  try {
    if (FDirection == gdRadial) {
      RadialRings(canvas, rect, start, end, FBalance, FRadialX, FRadialY);
    } else if (mid != clNone && FDirection != gdDiagonalUp && FDirection != gdDiagonalDown) {
      const TRect r = rect;
      const bool vertical = FDirection == gdTopBottom || FDirection == gdBottomTop;
      const bool horizontal = FDirection == gdLeftRight || FDirection == gdRightLeft;
      if (vertical || horizontal) {
        TRect first = r, second = r;
        if (vertical) {
          first.Bottom = second.Top = (r.Top + r.Bottom) / 2;
        } else {
          first.Right = second.Left = (r.Left + r.Right) / 2;
        }
        const bool startFirst = FDirection == gdBottomTop || FDirection == gdRightLeft;
        if (startFirst) {
          canvas->GradientFill(first, start, mid, FDirection, 50);
          canvas->GradientFill(second, mid, end, FDirection, 50);
        } else {
          canvas->GradientFill(first, mid, end, FDirection, 50);
          canvas->GradientFill(second, start, mid, FDirection, 50);
        }
      } else {
        canvas->GradientFill(r, start, end, FDirection, 50);
      }
    } else {
      canvas->GradientFill(rect, start, end, FDirection, FBalance);
    }
  } catch (...) {
    if (corner > 0) canvas->RemoveClipRegion();
    throw;
  }
  if (corner > 0) canvas->RemoveClipRegion();
}

void TCustomGrafGradient::DrawInPolygon(TCanvas3D* canvas, std::span<const TPoint> points, bool project, int z) {
  if (points.empty()) return;
  TRect r;
  if (project) {
    TPointArray projected(points.size());
    for (size_t i = 0; i < points.size(); ++i) projected[i] = canvas->ProjectXYZ(points[i].X, points[i].Y, z);
    canvas->ClipToPolygon(projected);
    r = canvas->ProjectRectAtDepth(BoundsOfPoints(points.data(), static_cast<int>(points.size()) - 1), z);
  } else {
    canvas->ClipToPolygon(points);
    r = BoundsOfPoints(points.data(), static_cast<int>(points.size()) - 1);
  }
  try {
    DrawInRect(canvas, r, 0);
  } catch (...) {
    canvas->RemoveClipRegion();
    throw;
  }
  canvas->RemoveClipRegion();
}

void TCustomGrafGradient::DrawInQuad(TCanvas3D* canvas, const std::array<TPoint, 4>& points) {
  canvas->ClipToPolygon(points);
  try {
    DrawInRect(canvas, ExclusiveBoundsOfPoints(points.data(), 4), 0);
  } catch (...) {
    canvas->RemoveClipRegion();
    throw;
  }
  canvas->RemoveClipRegion();
}

void TGrafGradient::DrawInQuad3D(TCanvas3D* canvas, const std::array<TPoint, 4>& points, int z) {
  std::array<TPoint, 4> p;
  for (int i = 0; i < 4; ++i) p[i] = canvas->ProjectXYZ(points[i].X, points[i].Y, z);
  DrawInQuad(canvas, p);
}

void TGrafFontGradient::Assign(TPersistent* Source) {
  TGrafGradient::Assign(Source);
  if (auto* g = dynamic_cast<TGrafFontGradient*>(Source)) FOutline = g->FOutline;
}

void TGrafFontGradient::SetOutline(bool value) {
  if (FOutline == value) return;
  FOutline = value;
  Changed();
}

// ---- TGrafFont ----

TGrafFont::TGrafFont(TNotifyEvent onChange) {
  SetColor(clBlack);
  SetCharset(DEFAULT_CHARSET);
  SetName(DefaultFontName.empty() ? "Arial" : DefaultFontName);
  SetSize(DefaultFontSize > 0 ? DefaultFontSize : 8);
  OnChange = std::move(onChange);
}

TGrafFont::~TGrafFont() = default;

void TGrafFont::SubChanged(TObject*) { Changed(); }

TGrafFontGradient* TGrafFont::Gradient() {
  if (!FGradient) FGradient = std::make_unique<TGrafFontGradient>([this](TObject* s) { SubChanged(s); });
  return FGradient.get();
}

TChartHiddenPen* TGrafFont::OutLine() {
  if (!FOutLine) FOutLine = std::make_unique<TChartHiddenPen>([this](TObject* s) { SubChanged(s); });
  return FOutLine.get();
}

TGrafShadow* TGrafFont::Shadow() {
  if (!FShadow) FShadow = std::make_unique<TGrafShadow>([this](TObject* s) { SubChanged(s); });
  return FShadow.get();
}

void TGrafFont::SetGradient(TGrafFontGradient* value) {
  if (!value) FGradient.reset();
  else Gradient()->Assign(value);
  Changed();
}

void TGrafFont::SetOutLine(TChartPen* value) {
  if (!value) FOutLine.reset();
  else OutLine()->Assign(value);
  Changed();
}

void TGrafFont::SetShadow(TGrafShadow* value) {
  if (!value) FShadow.reset();
  else Shadow()->Assign(value);
  Changed();
}

void TGrafFont::SetInterCharSize(int value) {
  if (FInterCharSize == value) return;
  FInterCharSize = value;
  Changed();
}

void TGrafFont::Assign(const TGraphicsObject* source) {
  if (auto* f = dynamic_cast<const TGrafFont*>(source); f && f != this) {
    if (f->FGradient) Gradient()->Assign(f->FGradient.get());
    else FGradient.reset();
    FInterCharSize = f->FInterCharSize;
    if (f->FOutLine) {
      TChartHiddenPen* own = OutLine();
      TNotifyEvent saved = std::move(own->OnChange);
      own->OnChange = {};
      own->Assign(f->FOutLine.get());
      own->OnChange = std::move(saved);
    } else {
      FOutLine.reset();
    }
    if (f->FShadow) Shadow()->Assign(f->FShadow.get());
    else FShadow.reset();
  }
  TFont::Assign(source);
}

// ---- TGrafBlend ----

TGrafBlend::TGrafBlend(TGrafCanvas* canvas, const TRect& rect) : FCanvas(canvas) { CaptureRect(rect); }
TGrafBlend::~TGrafBlend() = default;

namespace {

// The canvas's off-screen buffer when drawing currently goes into it.
TBitmap* ActiveBuffer(TGrafCanvas* canvas) {
  auto* g = dynamic_cast<TGrafCanvas3D*>(canvas);
  if (!g || !g->BufferBitmap()) return nullptr;
  TBitmap* b = g->BufferBitmap();
  return b->HasCanvas() && b->Canvas() == g->BoundCanvas() ? b : nullptr;
}

}  // namespace

void TGrafBlend::CaptureRect(const TRect& rect) {
  TRect r = NormalizeRect(rect);
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::max(r.Right, 0);
  r.Bottom = std::max(r.Bottom, 0);
  if (r.Right <= r.Left) r.Right = r.Left + 1;
  if (r.Bottom <= r.Top) r.Bottom = r.Top + 1;
  const TRect& bounds = FCanvas->PassBounds();
  r.Right = std::min(r.Right, bounds.Right);
  r.Bottom = std::min(r.Bottom, bounds.Bottom);
  FRect = r;
  FValid = r.Width() > 0 && r.Height() > 0;
  FBitmap.reset();
  // Metafiles keep no pixels to capture (and are never blended).
  if (!FValid || !FCanvas->BoundCanvas() || FCanvas->DrawingToMetafile() ||
      FCanvas->BoundCanvas()->Kind() == ckMetafile) {
    FValid = false;
    return;
  }
  FBitmap = std::make_unique<TBitmap>(r.Width(), r.Height(), pf24bit);
  TCanvas* source = FCanvas->BoundCanvas();
  if (TBitmap* buffer = ActiveBuffer(FCanvas)) source = buffer->Canvas();
  FBitmap->Canvas()->CopyRect(::Rect(0, 0, r.Width(), r.Height()), source, r);
}

void TGrafBlend::ApplyTransparency(int percent) {
  if (FCanvas->DrawingToMetafile() || !FValid || !FBitmap) return;
  TCanvas* device = FCanvas->BoundCanvas();
  if (!device) return;
  const unsigned align = FCanvas->GetTextAlignment();
  TBitmap* buffer = ActiveBuffer(FCanvas);
  if (buffer) {
    BlendBitmaps(FBitmap.get(), buffer, FRect.Left, FRect.Top, 100 - percent);
  } else {
    TBitmap temp(FRect.Width(), FRect.Height(), pf24bit);
    temp.Canvas()->CopyRect(::Rect(0, 0, FRect.Width(), FRect.Height()), device, FRect);
    BlendBitmaps(FBitmap.get(), &temp, 0, 0, 100 - percent);
    FCanvas->DrawGraphic(FRect.Left, FRect.Top, &temp);
  }
  if (FCanvas->GetTextAlignment() != align) {
    if (FCanvas->CurrentFont()) FCanvas->ApplyFont(FCanvas->CurrentFont());
    FCanvas->SetTextAlignment(align);
  }
}

void BlendBitmaps(TBitmap* source, TBitmap* destination, int x, int y, int percent) {
  if (!source || !destination) return;
  x = std::max(x, 0);
  y = std::max(y, 0);
  const int w = std::min(source->Width(), destination->Width() - x);
  const int h = std::min(source->Height(), destination->Height() - y);
  if (w <= 0 || h <= 0) return;
  // A transparency outside 0..100 mixes as its nearest end, never beyond.
  percent = std::clamp(percent, 0, 100);
  if (CanAlphaBlend) {
    TBlendFunction f;
    f.SourceConstantAlpha = static_cast<uint8_t>(255 - RoundInt(percent * 2.55));
    destination->Canvas()->AlphaBlend(x, y, w, h, source->Canvas(), 0, 0, w, h, f);
    return;
  }
  if (source->PixelFormat() != pf24bit) source->SetPixelFormat(pf24bit);
  const TPixelFormat df = destination->PixelFormat();
  const bool dest32 = df == pf32bit || df == pfDevice;
  if (!dest32 && df != pf24bit) destination->SetPixelFormat(pf24bit);
  const int bpp = dest32 ? 4 : 3;
  const int t = 100 - percent;
  for (int row = 0; row < h; ++row) {
    const uint8_t* s = source->ScanLine(row);
    uint8_t* d = destination->ScanLine(y + row) + bpp * x;
    for (int col = 0; col < w; ++col, s += 3, d += bpp) {
      if (d[0] == 255 && d[1] == 255 && d[2] == 255) d[2] = 254;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(d[c] + t * (s[c] - d[c]) / 100);
    }
  }
  destination->SetModified(true);
}

// ---- Streaming descriptions ----

ZV_CLASS_IMPL(TGrafShadow, TPersistent)
void TGrafShadow::DeclareProperties(TClassInfo& c) {
  c.Integer<TGrafShadow>("Color", &TGrafShadow::Color, &TGrafShadow::SetColor)
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) {
        auto* s = static_cast<TGrafShadow*>(o);
        return s->Color() != s->ColorDefault;
      });
  c.Integer<TGrafShadow>("HorizSize", &TGrafShadow::HorizSize, &TGrafShadow::SetHorizSize).WithStored([](TObject* o) {
    auto* s = static_cast<TGrafShadow*>(o);
    return s->HorizSize() != s->SizeDefault;
  });
  c.Boolean<TGrafShadow>("Smooth", &TGrafShadow::Smooth, &TGrafShadow::SetSmooth, true);
  c.Integer<TGrafShadow>("Transparency", &TGrafShadow::Transparency, &TGrafShadow::SetTransparency, 0);
  c.Integer<TGrafShadow>("VertSize", &TGrafShadow::VertSize, &TGrafShadow::SetVertSize).WithStored([](TObject* o) {
    auto* s = static_cast<TGrafShadow*>(o);
    return s->VertSize() != s->SizeDefault;
  });
}

ZV_CLASS_IMPL_NOPROPS(TCustomGrafGradient, TPersistent)

ZV_CLASS_IMPL(TGrafGradient, TCustomGrafGradient)
void TGrafGradient::DeclareProperties(TClassInfo& c) {
  c.Integer<TGrafGradient>("Balance", &TGrafGradient::Balance, &TGrafGradient::SetBalance, 50);
  c.Enum<TGrafGradient>("Direction", GradientDirectionEnumInfo(), &TGrafGradient::Direction,
                        &TGrafGradient::SetDirection, gdTopBottom);
  c.Integer<TGrafGradient>("EndColor", &TGrafGradient::EndColor, &TGrafGradient::SetEndColor, clYellow)
      .WithIdents(&ColorIdents());
  c.Integer<TGrafGradient>("MidColor", &TGrafGradient::MidColor, &TGrafGradient::SetMidColor, clNone)
      .WithIdents(&ColorIdents());
  c.Integer<TGrafGradient>("RadialX", &TGrafGradient::RadialX, &TGrafGradient::SetRadialX, 0);
  c.Integer<TGrafGradient>("RadialY", &TGrafGradient::RadialY, &TGrafGradient::SetRadialY, 0);
  c.Integer<TGrafGradient>("StartColor", &TGrafGradient::StartColor, &TGrafGradient::SetStartColor, clWhite)
      .WithIdents(&ColorIdents());
  c.Boolean<TGrafGradient>("Visible", &TGrafGradient::Visible, &TGrafGradient::SetVisible, false);
}

ZV_CLASS_IMPL(TGrafFontGradient, TGrafGradient)
void TGrafFontGradient::DeclareProperties(TClassInfo& c) {
  c.Boolean<TGrafFontGradient>("Outline", &TGrafFontGradient::Outline, &TGrafFontGradient::SetOutline, false);
}

namespace {

TClass BaseInfo(const TObject& sample) { return GetClassInfo(&sample); }

void DeclareChartPen(TClassInfo& c) {
  c.Enum<TChartPen>("EndStyle", PenEndStyleEnumInfo(), &TChartPen::EndStyle, &TChartPen::SetEndStyle)
      .WithStored([](TObject* o) {
        auto* p = static_cast<TChartPen*>(o);
        return p->EndStyle() != p->EndStyleDefault;
      });
  c.Boolean<TChartPen>("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots, false);
  c.Integer<TChartPen>("SmallSpace", &TChartPen::SmallSpace, &TChartPen::SetSmallSpace, 0);
  c.Boolean<TChartPen>("Visible", &TChartPen::Visible, &TChartPen::SetVisible, std::nullopt)
      .WithStored([](TObject* o) {
        auto* p = static_cast<TChartPen*>(o);
        return p->Visible() != p->VisibleDefault;
      });
}

void DeclareNothing(TClassInfo&) {}

void DeclareDottedGrayPen(TClassInfo& c) {
  c.Integer<TChartPen>("Color", &TChartPen::Color, &TChartPen::SetColor, clGray).WithIdents(&ColorIdents());
  c.Enum<TChartPen>("Style", PenStyleEnumInfo(), &TChartPen::Style, &TChartPen::SetStyle, psDot);
}

void DeclareGrayPen(TClassInfo& c) {
  c.Integer<TChartPen>("Color", &TChartPen::Color, &TChartPen::SetColor, clGray).WithIdents(&ColorIdents());
}

void DeclareWhitePen(TClassInfo& c) {
  c.Integer<TChartPen>("Color", &TChartPen::Color, &TChartPen::SetColor, clWhite).WithIdents(&ColorIdents());
}

void DeclareChartBrush(TClassInfo& c) {
  c.Integer<TChartBrush>("Color", &TChartBrush::Color, &TChartBrush::SetColor, clDefault).WithIdents(&ColorIdents());
  c.Object<TChartBrush, TPicture>("Image", &TChartBrush::Image, &TChartBrush::SetImage).WithStored([](TObject* o) {
    return static_cast<TChartBrush*>(o)->HasImage();
  });
}

void DeclareGrafFont(TClassInfo& c) {
  c.Integer<TGrafFont>("Charset", &TGrafFont::Charset, [](TGrafFont* f, int v) {
    f->SetCharset(static_cast<TFontCharset>(v));
  }, DEFAULT_CHARSET);
  c.Integer<TGrafFont>("Color", &TGrafFont::Color, &TGrafFont::SetColor)
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) {
        auto* f = static_cast<TGrafFont*>(o);
        return f->Color() != f->DefaultColor;
      });
  c.Object<TGrafFont, TGrafFontGradient>("Gradient", &TGrafFont::Gradient, &TGrafFont::SetGradient)
      .WithStored([](TObject* o) { return static_cast<TGrafFont*>(o)->HasGradient(); });
  c.Integer<TGrafFont>("Height", &TGrafFont::Height, &TGrafFont::SetHeight).WithStored([](TObject* o) {
    return static_cast<TGrafFont*>(o)->Size() != DefaultFontSize;
  });
  c.Integer<TGrafFont>("InterCharSize", &TGrafFont::InterCharSize, &TGrafFont::SetInterCharSize, 0);
  c.String<TGrafFont>("Name", [](TGrafFont* f) { return f->Name(); }, &TGrafFont::SetName)
      .WithStored([](TObject* o) { return static_cast<TGrafFont*>(o)->Name() != DefaultFontName; });
  c.Object<TGrafFont, TChartPen>("OutLine", &TGrafFont::OutLine, &TGrafFont::SetOutLine)
      .WithStored([](TObject* o) { return static_cast<TGrafFont*>(o)->HasOutLine(); });
  c.Object<TGrafFont, TGrafShadow>("Shadow", &TGrafFont::Shadow, &TGrafFont::SetShadow)
      .WithStored([](TObject* o) { return static_cast<TGrafFont*>(o)->HasShadow(); });
  c.Set<TGrafFont>("Style", FontStylesEnumInfo(), [](TGrafFont* f) { return static_cast<uint64_t>(f->Style().Bits()); },
                   [](TGrafFont* f, uint64_t v) { f->SetStyle(TFontStyles::FromBits(static_cast<uint32_t>(v))); })
      .WithStored([](TObject* o) {
        auto* f = static_cast<TGrafFont*>(o);
        return !(f->Style() == f->DefaultStyle);
      });
}

}  // namespace

void RegisterGrafAttributeClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  static const TPen pen;
  static const TBrush brush;
  static const TFont font;
  TClassInfo& chartPen = RegisterForeignClass<TChartPen>("TChartPen", BaseInfo(pen), &DeclareChartPen);
  RegisterForeignClass<TChartHiddenPen>("TChartHiddenPen", &chartPen, &DeclareNothing);
  RegisterForeignClass<TDottedGrayPen>("TDottedGrayPen", &chartPen, &DeclareDottedGrayPen);
  RegisterForeignClass<TDarkGrayPen>("TDarkGrayPen", &chartPen, &DeclareGrayPen);
  RegisterForeignClass<TWhitePen>("TWhitePen", &chartPen, &DeclareWhitePen);
  RegisterForeignClass<TChartBrush>("TChartBrush", BaseInfo(brush), &DeclareChartBrush);
  RegisterForeignClass<TGrafFont>("TGrafFont", BaseInfo(font), &DeclareGrafFont);
}
