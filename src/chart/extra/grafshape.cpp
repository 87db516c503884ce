// The shape series: its corners, the shapes in 2D and 3D, the text and the
// hit test of each style.
#include "chart/extra/grafshape.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "platform/ui/streaming.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

int Truncated(double v) {
  if (!(std::fabs(v) < 2147483647.0)) return v > 0 ? 2147483647 : (v < 0 ? -2147483647 : 0);
  return static_cast<int>(std::trunc(v));
}

}  // namespace

const TEnumInfo& ChartShapeStyleEnumInfo() {
  static const TEnumInfo info{"TChartShapeStyle",
                              {"chasRectangle", "chasCircle", "chasVertLine", "chasHorizLine", "chasTriangle",
                               "chasInvertTriangle", "chasLine", "chasDiamond", "chasCube", "chasCross",
                               "chasDiagCross", "chasStar", "chasPyramid", "chasInvertPyramid"},
                              0};
  return info;
}

const TEnumInfo& ChartShapeXYStyleEnumInfo() {
  static const TEnumInfo info{"TChartShapeXYStyle", {"xysPixels", "xysAxis", "xysAxisOrigin"}, 0};
  return info;
}

const TEnumInfo& GrafVertAlignEnumInfo() {
  static const TEnumInfo info{"TGrafVertAlign", {"vaTop", "vaCenter", "vaBottom"}, 0};
  return info;
}

ZV_CLASS_IMPL(TChartShape, TChartSeries)

void TChartShape::DeclareProperties(TClassInfo& c) {
  using S = TChartShape;
  c.Enum<S>("Alignment", AlignmentEnumInfo(), &S::Alignment, &S::SetAlignment, taCenter);
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Object<S, TGrafFont>("Font", &S::Font, &S::SetFont);
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Boolean<S>("RoundRectangle", &S::RoundRectangle, &S::SetRoundRectangle, false);
  c.Enum<S>("Style", ChartShapeStyleEnumInfo(), &S::Style, &S::SetStyle, chasCircle);
  c.Object<S, TStringList>("Text", &S::Text, [](S* s, TStringList* t) { s->SetText(t); });
  c.Boolean<S>("Transparent", &S::Transparent, &S::SetTransparent, false);
  c.Enum<S>("VertAlign", GrafVertAlignEnumInfo(), &S::VertAlign, &S::SetVertAlign, vaCenter);
  c.Enum<S>("XYStyle", ChartShapeXYStyleEnumInfo(), &S::XYStyle, &S::SetXYStyle, xysAxis);
  c.Float<S>("X0", ftDouble, &S::X0, &S::SetX0, 0.0L);
  c.Float<S>("Y0", ftDouble, &S::Y0, &S::SetY0, 0.0L);
  c.Float<S>("X1", ftDouble, &S::X1, &S::SetX1, 100.0L);
  c.Float<S>("Y1", ftDouble, &S::Y1, &S::SetY1, 100.0L);
}

TChartShape::TChartShape(TComponent* AOwner) : TChartSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FFont = std::make_unique<TGrafFont>(repaint);
  FGradient = std::make_unique<TGrafGradient>(repaint);
  FText = std::make_unique<TStringList>();
  FText->OnChange = repaint;
  CalcVisibleRange = false;
  Brush()->SetColor(clWhite);
  SetSeriesColor(Brush()->Color());
  TChartSeries::AddXYPoint(0, 0, "", clDefault);
  TChartSeries::AddXYPoint(100, 100, "", clDefault);
}

TChartShape::~TChartShape() {
  FText->OnChange = nullptr;
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TChartShape::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TChartShape*>(Source)) {
    FAlignment = s->FAlignment;
    FFont->Assign(s->FFont.get());
    FGradient->Assign(s->FGradient.get());
    FRoundRectangle = s->FRoundRectangle;
    FStyle = s->FStyle;
    FText->Assign(*s->FText);
    FTransparent = s->FTransparent;
    FVertAlign = s->FVertAlign;
    FXYStyle = s->FXYStyle;
  }
  TChartSeries::Assign(Source);
}

void TChartShape::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RequestRedraw();
}

void TChartShape::SetStyle(TChartShapeStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

void TChartShape::SetVertAlign(TGrafVertAlign Value) {
  if (FVertAlign == Value) return;
  FVertAlign = Value;
  RequestRedraw();
}

void TChartShape::SetXYStyle(TChartShapeXYStyle Value) {
  if (FXYStyle == Value) return;
  FXYStyle = Value;
  RequestRedraw();
}

void TChartShape::SetText(TStringList* Value) {
  if (Value) FText->Assign(*Value);
  else FText->Clear();
  RequestRedraw();
}

void TChartShape::SetSeriesColor(TColor Value) {
  TChartSeries::SetSeriesColor(Value);
  Brush()->SetColor(Value);
}

double TChartShape::Corner(int Index, bool X) const {
  if (PointCount() <= Index) return 0;
  return X ? XValues()->GetValue(Index) : YValues()->GetValue(Index);
}

void TChartShape::SetCorner(int Index, bool X, double Value) {
  while (PointCount() <= Index) TChartSeries::AddXYPoint(0, 0, "", clDefault);
  (X ? XValues() : YValues())->StoreValue(Index, Value);
  ManualData = true;
  RequestRedraw();
}

void TChartShape::AssignZOrder() {
  if (FXYStyle != xysPixels) TChartSeries::AssignZOrder();
}

// ---- Bounds ------------------------------------------------------------------------------------

TRect TChartShape::ShapeBounds() {
  if (PointCount() < 2) return Rect(0, 0, 0, 0);
  switch (FXYStyle) {
    // Pixel corners are held to the axis pixel range: stored corners far
    // off the chart must not overflow the sums below.
    case xysPixels:
      return Rect(ClampAxisPixel(std::trunc(X0())), ClampAxisPixel(std::trunc(Y0())),
                  ClampAxisPixel(std::trunc(X1())), ClampAxisPixel(std::trunc(Y1())));
    case xysAxis: return Rect(HorizPixelOf(X0()), VertPixelOf(Y0()), HorizPixelOf(X1()), VertPixelOf(Y1()));
    case xysAxisOrigin: {
      const int left = HorizPixelOf(X0()), top = VertPixelOf(Y0());
      return Rect(left, top, ClampAxisPixel(left + std::trunc(X1())), ClampAxisPixel(top + std::trunc(Y1())));
    }
  }
  return Rect(0, 0, 0, 0);
}

TRect TChartShape::NormalizedBounds() {
  TRect r = NormalizeRect(ShapeBounds());
  if (r.Right == r.Left) ++r.Right;
  if (r.Bottom == r.Top) ++r.Bottom;
  return r;
}

// ---- Drawing -----------------------------------------------------------------------------------

void TChartShape::DrawShape(bool Is3D, const TRect& Bounds, bool WithText) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TRect raw = ShapeBounds();
  const TRect& r = Bounds;
  const int x0 = r.Left, y0 = r.Top, x1 = r.Right, y1 = r.Bottom;
  const int cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const int s = StartZ, m = MiddleZ, e = EndZ;
  if (Pen()->Visible()) canvas->ApplyPen(Pen());
  else canvas->CanvasPen()->SetStyle(psClear);
  if (FTransparent) {
    canvas->CanvasBrush()->SetStyle(bsClear);
  } else {
    canvas->ApplyBrush(Brush(), GetSeriesColor(), Brush()->Color());
    canvas->SetBackgroundMode(Brush()->Color() == clNone ? TRANSPARENT : OPAQUE);
  }
  auto gradient = [&](bool ellipse) {
    if (FTransparent || !FGradient->Visible()) return;
    TRect g = r;
    if (Is3D) g = canvas->ProjectRectAtDepth(g, m);
    if (ellipse) canvas->ClipToEllipse(g, false);
    FGradient->DrawInRect(canvas, g);
    if (ellipse) canvas->RemoveClipRegion();
    canvas->CanvasBrush()->SetStyle(bsClear);
  };
  const TPoint up[3] = {{x0, y1}, {cx, y0}, {x1, y1}};
  const TPoint down[3] = {{x0, y0}, {cx, y1}, {x1, y0}};
  const TPoint diamond[4] = {{x0, cy}, {cx, y0}, {x1, cy}, {cx, y1}};
  auto cross = [&] {
    if (Is3D) {
      canvas->VerticalLine3D(cx, y0, y1, m);
      canvas->HorizontalLine3D(x0, x1, cy, m);
    } else {
      canvas->LineFromTo(cx, y0, cx, y1 + 1);
      canvas->LineFromTo(x0, cy, x1 + 1, cy);
    }
  };
  auto diagonals = [&] {
    if (Is3D) {
      canvas->LineAtDepth(x0, y0, x1, y1, m);
      canvas->LineAtDepth(x0, y1, x1, y0, m);
    } else {
      canvas->LineFromTo(x0, y0, x1 + 1, y1 + 1);
      canvas->LineFromTo(x0, y1, x1 + 1, y0 - 1);
    }
  };
  switch (FStyle) {
    case chasRectangle:
      if (Is3D) {
        gradient(false);
        canvas->RectangleWithZ(r, m);
      } else if (FRoundRectangle) {
        canvas->RoundRect(x0, y0, x1, y1, 12, 12);
      } else {
        gradient(false);
        canvas->Rectangle(x0, y0, x1 + 1, y1 + 1);
      }
      break;
    case chasCircle:
      gradient(true);
      if (Is3D) canvas->EllipseWithZ(x0, y0, x1, y1, m);
      else canvas->Ellipse(x0, y0, x1, y1);
      break;
    case chasVertLine:
      if (Is3D) canvas->VerticalLine3D(cx, y0, y1, m);
      else canvas->LineFromTo(cx, y0, cx, y1);
      break;
    case chasHorizLine:
      if (Is3D) canvas->HorizontalLine3D(x0, x1, cy, m);
      else canvas->LineFromTo(x0, cy, x1 + 1, cy);
      break;
    case chasTriangle:
    case chasInvertTriangle: {
      const TPoint* t = FStyle == chasTriangle ? up : down;
      if (Is3D) canvas->TriangleAtDepth(t[0], t[1], t[2], m);
      else canvas->Polygon(std::span<const TPoint>(t, 3));
      break;
    }
    case chasLine:
      if (Is3D) canvas->LineAtDepth(raw.Left, raw.Top, raw.Right, raw.Bottom, m);
      else canvas->LineFromTo(raw.Left, raw.Top, raw.Right, raw.Bottom);
      break;
    case chasDiamond:
      if (Is3D) canvas->PlaneWithZ(diamond[0], diamond[1], diamond[2], diamond[3], m);
      else canvas->Polygon(diamond);
      break;
    case chasCube:
      if (Is3D) canvas->Cube(x0, x1, y0, y1, s, e, !FTransparent);
      else canvas->Rectangle(x0, y0, x1, y1);
      break;
    case chasCross: cross(); break;
    case chasDiagCross: diagonals(); break;
    case chasStar:
      cross();
      diagonals();
      break;
    case chasPyramid:
      if (Is3D) canvas->Pyramid(true, x0, y0, x1, y1, s, e, !FTransparent);
      else canvas->Polygon(up);
      break;
    case chasInvertPyramid:
      if (Is3D) canvas->Pyramid(true, x0, y1, x1, y0, s, e, !FTransparent);
      else canvas->Polygon(down);
      break;
  }
  if (WithText) DrawText(Is3D, r);
}

void TChartShape::DrawText(bool, const TRect& R) {
  const int lines = FText->Count();
  if (lines == 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TGrafFont font;
  font.Assign(FFont.get());
  if (canvas->CanvasBrush()->Color() == font.Color()) font.SetColor(font.Color() == clBlack ? clWhite : clBlack);
  canvas->ApplyFont(&font);
  const int h = canvas->TextHeight("W");
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  int y;
  switch (FVertAlign) {
    case vaTop: y = R.Top; break;
    case vaBottom: y = R.Bottom - lines * h; break;
    default: y = cy - Nearest(lines * h / 2.0); break;
  }
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->SetTextAlignment(TA_LEFT);
  const int penWidth = Pen()->Visible() ? Pen()->Width() : 0;
  for (int i = 0; i < lines; ++i) {
    const std::string line = FText->Get(i);
    const int w = canvas->TextWidth(line);
    int x;
    switch (FAlignment) {
      case taLeftJustify: x = R.Left + penWidth + 4; break;
      case taRightJustify: x = R.Right - penWidth - w - 4; break;
      default: x = cx - w / 2; break;
    }
    if (FXYStyle == xysPixels) canvas->TextOut(x, y, line);
    else canvas->TextOut3D(x, y, StartZ, line);
    y += h;
  }
}

void TChartShape::DrawPoint(int Index) {
  if (!FParentChart || PointCount() != 2 || Index != 0) return;
  const TRect r = NormalizedBounds();
  TRect common;
  if (!IntersectRect(common, r, FParentChart->ChartArea)) return;
  DrawShape(FXYStyle != xysPixels && FParentChart->View3D(), r, true);
}

void TChartShape::PaintLegendSymbol(int, const TRect& R) {
  if (!FParentChart) return;
  TRect r = R;
  --r.Right;
  --r.Bottom;
  DrawShape(false, r, false);
}

// ---- Hit test ----------------------------------------------------------------------------------

int TChartShape::IndexAtPoint(int X, int Y) {
  if (!FParentChart || PointCount() != 2) return -1;
  FParentChart->PanelCanvas()->UnprojectPoint(X, Y, StartZ);
  const TPoint p = Point(X, Y);
  const TRect b = ShapeBounds();
  const TRect n = NormalizedBounds();
  const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
  bool hit;
  switch (FStyle) {
    case chasCircle: hit = PointInsideEllipseRect(p, n); break;
    case chasVertLine: hit = PointOnSegmentCoords(p, cx, b.Top, cx, b.Bottom); break;
    case chasHorizLine: hit = PointOnSegmentCoords(p, b.Left, cy, b.Right, cy); break;
    case chasTriangle:
    case chasPyramid: hit = PointInsideUprightTriangle(p, b.Left, b.Right, b.Bottom, b.Top); break;
    case chasInvertTriangle:
    case chasInvertPyramid: hit = PointInsideUprightTriangle(p, b.Left, b.Right, b.Top, b.Bottom); break;
    case chasLine: hit = PointOnSegmentCoords(p, b.Left, b.Top, b.Right, b.Bottom); break;
    case chasDiamond: {
      const TPoint d[4] = {{b.Left, cy}, {cx, b.Top}, {b.Right, cy}, {cx, b.Bottom}};
      hit = PointInsidePolygon(p, d, 3);
      break;
    }
    default: hit = X >= n.Left && X <= n.Right && Y >= n.Top && Y <= n.Bottom; break;
  }
  return hit ? 0 : -1;
}

// ---- Gallery and samples -----------------------------------------------------------------------

void TChartShape::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TChartSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgRectangle, GrafMsgVertLine, GrafMsgHorizLine, GrafMsgEllipse, GrafMsgDownTri,
                               GrafMsgLine, GrafMsgDiamond, GrafMsgCube, GrafMsgCross, GrafMsgDiagCross, GrafMsgStar,
                               GrafMsgPyramid, GrafMsgInvPyramid, GrafMsgHollow})
    Proc(t);
}

void TChartShape::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TChartShape*>(Series);
  if (!s) return;
  static const TChartShapeStyle styles[] = {chasRectangle, chasVertLine, chasHorizLine, chasCircle,
                                            chasInvertTriangle, chasLine, chasDiamond, chasCube,
                                            chasCross, chasDiagCross, chasStar, chasPyramid, chasInvertPyramid};
  if (Index >= 1 && Index <= 13) s->SetStyle(styles[Index - 1]);
  else if (Index == 14) s->SetTransparent(!s->Transparent());
}

void TChartShape::GenerateRandomPoints(int, bool) {
  double x, step, y, span, first;
  PrepareSampleRange(1, x, step, y, span, first);
  if (step != 0) {
    AddXYPoint(x + step / 8, y / 2);
    AddXYPoint(x + step - step / 8, y + RandomInteger(std::max(1, Nearest(span))));
  } else {
    AddXYPoint(0, 0);
    AddXYPoint(100, 100);
  }
}

void TChartShape::SetupGalleryPreview(bool Enabled) {
  TChartSeries::SetupGalleryPreview(Enabled);
  FFont->SetColor(Enabled ? clYellow : clGray);
  FFont->SetStyle(TFontStyles{fsBold});
  FFont->SetSize(12);
  FText->Clear();
  const bool second = FParentChart && FParentChart->NumberOfSeries() > 1 && FParentChart->SeriesAt(1) == this;
  if (second) {
    SetStyle(chasCircle);
    SetSeriesColor(Enabled ? clBlue : clSilver);
    FText->Add(GrafMsgAbc);
  } else {
    SetStyle(chasTriangle);
    SetSeriesColor(Enabled ? clRed : clSilver);
    FText->Add(GrafMsg123);
  }
}

bool TChartShape::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<TChartShape*>(Series) != nullptr && TChartSeries::AcceptsSeriesAsSource(Series);
}

void TChartShape::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "Style",
      [this](TReader* r) {
        if (r->NextValue() != vaIdent) {
          TCustomChartSeries::SetStyle(TChartSeriesStyle::FromBits(static_cast<uint64_t>(r->ReadInteger()) & 0x3F));
          return;
        }
        int64_t v;
        if (!ChartShapeStyleEnumInfo().ValueOf(r->ReadIdent(), v) || v < 0) throw EReadError("Invalid property value");
        SetStyle(static_cast<TChartShapeStyle>(v));
      },
      nullptr, false);
  TChartSeries::DefineProperties(Filer);
}
