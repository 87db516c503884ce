// Point symbols (rectangles, circles, triangles, crosses, star, diamond,
// dot) in 2D and as solid 3D bodies, and callout arrows.
#include <algorithm>
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/ui/streaming.h"

ZV_CLASS_IMPL(TSeriesPointer, TGrafCustomShapeBrushPen)

void TSeriesPointer::DeclareProperties(TClassInfo& c) {
  using P = TSeriesPointer;
  c.Object<P, TChartBrush>("Brush", &P::Brush, &P::SetBrush);
  c.Boolean<P>("Dark3D", &P::Dark3D, &P::SetDark3D, true);
  c.Boolean<P>("Draw3D", &P::Draw3D, &P::SetDraw3D, true);
  c.Object<P, TGrafGradient>("Gradient", &P::Gradient, [](P* p, TGrafGradient* g) { p->SetGradient(g); });
  c.Integer<P>("HorizSize", &P::HorizSize, &P::SetHorizSize, 4);
  c.Boolean<P>("InflateMargins", &P::InflateMargins, &P::SetInflateMargins, true);
  c.Object<P, TChartPen>("Pen", &P::Pen, &P::SetPen);
  c.Enum<P>("Style", SeriesPointerStyleEnumInfo(), &P::Style, &P::SetStyle, psRectangle);
  c.Integer<P>("Transparency", &P::Transparency, &P::SetTransparency, 0);
  c.Integer<P>("VertSize", &P::VertSize, &P::SetVertSize, 4);
  // Series that hide their pointer at first keep a visible one.
  c.Boolean<P>("Visible", &P::Visible, &P::SetVisible, std::nullopt).WithStored([](TObject* o) {
    auto* p = static_cast<P*>(o);
    return p->Visible() != p->VisibleDefault;
  });
}

TSeriesPointer::TSeriesPointer(TChartSeries* Series)
    : TGrafCustomShapeBrushPen(Series ? Series->ParentChart() : nullptr), FSeries(Series) {
  FGradient = std::make_unique<TGrafGradient>([this](TObject*) { PointerChanged(); });
  FBrush->OnChange = [this](TObject*) { PointerChanged(); };
  FPen->OnChange = [this](TObject*) { PointerChanged(); };
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::PointerChanged() {
  if (FSeries) FSeries->RequestRedraw();
  else Repaint();
}

TCanvas3D* TSeriesPointer::ChartCanvas() const {
  TCustomGrafPanel* panel = FSeries && FSeries->ParentChart() ? FSeries->ParentChart() : ParentPanel();
  return panel ? panel->PanelCanvas() : nullptr;
}

bool TSeriesPointer::ChartIs3D() const {
  TCustomGrafPanel* panel = FSeries && FSeries->ParentChart() ? FSeries->ParentChart() : ParentPanel();
  return panel && panel->View3D();
}

void TSeriesPointer::DepthsOf(int& StartZ, int& MiddleZ, int& EndZ) const {
  if (FSeries) {
    StartZ = FSeries->StartZ;
    MiddleZ = FSeries->MiddleZ;
    EndZ = FSeries->EndZ;
  } else {
    StartZ = MiddleZ = EndZ = 0;
  }
}

void TSeriesPointer::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TSeriesPointer*>(Source)) {
    FDark3D = other->FDark3D;
    FDraw3D = other->FDraw3D;
    FGradient->Assign(other->FGradient.get());
    FHorizSize = other->FHorizSize;
    FInflateMargins = other->FInflateMargins;
    FStyle = other->FStyle;
    FTransparency = other->FTransparency;
    FVertSize = other->FVertSize;
  }
  TGrafCustomShapeBrushPen::Assign(Source);
}

void TSeriesPointer::ValidateSize(int Value) {
  if (Value <= 0) throw ChartException(GrafMsgPointerSizeMustBeGreaterThanZero);
}

void TSeriesPointer::SetHorizSize(int Value) {
  ValidateSize(Value);
  if (FHorizSize == Value) return;
  FHorizSize = Value;
  PointerChanged();
}

void TSeriesPointer::SetVertSize(int Value) {
  ValidateSize(Value);
  if (FVertSize == Value) return;
  FVertSize = Value;
  PointerChanged();
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  PointerChanged();
}

void TSeriesPointer::SetDark3D(bool Value) {
  if (FDark3D == Value) return;
  FDark3D = Value;
  PointerChanged();
}

void TSeriesPointer::SetDraw3D(bool Value) {
  if (FDraw3D == Value) return;
  FDraw3D = Value;
  PointerChanged();
}

void TSeriesPointer::SetInflateMargins(bool Value) {
  if (FInflateMargins == Value) return;
  FInflateMargins = Value;
  PointerChanged();
}

void TSeriesPointer::SetTransparency(TGrafTransparency Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  PointerChanged();
}

TColor TSeriesPointer::BrushColor() const { return FBrush->Color(); }

void TSeriesPointer::SetBrushColor(TColor Value) { FBrush->SetColor(Value); }

void TSeriesPointer::WidenHorizMargins(int& Left, int& Right) const {
  if (!Visible() || !FInflateMargins) return;
  Left = std::max(Left, FHorizSize + 1);
  Right = std::max(Right, FHorizSize + 1);
}

void TSeriesPointer::WidenVertMargins(int& Top, int& Bottom) const {
  if (!Visible() || !FInflateMargins) return;
  Top = std::max(Top, FVertSize + 1);
  Bottom = std::max(Bottom, FVertSize + 1);
}

void TSeriesPointer::SetupCanvas(TCanvas3D* Canvas, TColor Color) {
  if (FPen->Visible()) Canvas->ApplyPenWithColor(FPen.get(), FPen->Color() == clDefault ? Color : FPen->Color());
  else Canvas->CanvasPen()->SetStyle(psClear);
  TColor brush = FBrush->Color();
  if (brush == clDefault) brush = FBrush->Style() == bsSolid ? Color : clBlack;
  Canvas->ApplyBrush(FBrush.get(), brush, Color);
}

void TSeriesPointer::ApplyOwnColor() {
  if (TCanvas3D* canvas = ChartCanvas()) SetupCanvas(canvas, BrushColor());
}

void TSeriesPointer::DrawShapeAt(TCanvas3D* Canvas, bool Is3D, int X, int Y, int HorizSize, int VertSize,
                                 TColor Color, TSeriesPointerStyle Style) {
  if (!Canvas || Style == psNothing) return;
  // Sizes read from a damaged file are held to the axis pixel range, so
  // the corners cannot overflow.
  const int h = std::clamp(HorizSize, -AxisPixelLimit, AxisPixelLimit);
  const int v = std::clamp(VertSize, -AxisPixelLimit, AxisPixelLimit);
  X = std::clamp(X, -AxisPixelLimit, AxisPixelLimit);
  Y = std::clamp(Y, -AxisPixelLimit, AxisPixelLimit);
  const int left = X - h, right = X + h, top = Y - v, bottom = Y + v;
  int z0, zm, z1;
  DepthsOf(z0, zm, z1);
  const bool solid = Is3D && FDraw3D;
  const bool ortho = !Is3D || (Canvas->Options3D() && Canvas->Options3D()->Orthogonal());

  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0) {
    TRect box = Rect(left, top, right + 1, bottom + 1);
    if (Is3D && ortho && solid && Style == psRectangle) {
      box.Right += z1 - z0;
      box.Top -= z1 - z0;
    }
    if (Is3D) box = Canvas->ProjectedRectBounds(box, z0);
    blend = Canvas->BeginBlending(box, FTransparency);
  }

  auto polygonAt = [&](std::vector<TPoint> pts) {
    if (Is3D) Canvas->PolygonWithZ(pts, z0);
    else Canvas->Polygon(pts);
  };
  auto lineAt = [&](int x0, int y0, int x1, int y1) {
    if (Is3D) Canvas->LineAtDepth(x0, y0, x1, y1, z0);
    else Canvas->LineFromTo(x0, y0, x1, y1);
  };

  switch (Style) {
    case psRectangle:
      if (solid) Canvas->Cube(left, right, top, bottom, z0, z1, FDark3D);
      else if (Is3D) Canvas->RectangleWithZ(Rect(left, top, right + 1, bottom + 1), z0);
      else Canvas->Rectangle(left, top, right + 1, bottom + 1);
      break;
    case psCircle:
      if (solid) Canvas->Sphere(X, Y, zm, h);
      else if (Is3D) Canvas->EllipseWithZ(left, top, right, bottom, z0);
      else Canvas->Ellipse(left, top, right, bottom);
      break;
    case psTriangle:
    case psDownTriangle: {
      const int dv = Style == psTriangle ? v : -v;
      if (solid) Canvas->Pyramid(true, left, Y - dv, right, Y + dv, z0, z1, FDark3D);
      else polygonAt({{left, Y + dv}, {right, Y + dv}, {X, Y - dv}});
      break;
    }
    case psCross:
      lineAt(X, top, X, bottom + 1);
      lineAt(left, Y, right + 1, Y);
      break;
    case psDiagCross:
      lineAt(left, top, right + 1, bottom + 1);
      lineAt(right, top, left - 1, bottom + 1);
      break;
    case psStar:
      lineAt(X, top, X, bottom + 1);
      lineAt(left, Y, right + 1, Y);
      lineAt(left, top, right + 1, bottom + 1);
      lineAt(right, top, left - 1, bottom + 1);
      break;
    case psDiamond:
      polygonAt({{X, top}, {right, Y}, {X, bottom}, {left, Y}});
      break;
    case psSmallDot:
      if (Is3D) Canvas->WritePixel3D(X, Y, zm, Canvas->CanvasBrush()->Color());
      else Canvas->WritePixel(X, Y, Canvas->CanvasBrush()->Color());
      break;
    case psLeftTriangle:
      polygonAt({{left, Y}, {right, bottom}, {right, top}});
      break;
    case psRightTriangle:
      polygonAt({{right, Y}, {left, bottom}, {left, top}});
      break;
    default:
      break;
  }

  if (FGradient->Visible()) {
    TCustomGrafPanel* panel = FSeries && FSeries->ParentChart() ? FSeries->ParentChart() : ParentPanel();
    if (!FullGradient) {
      const bool old = panel ? panel->RepaintOnChange : false;
      if (panel) panel->RepaintOnChange = false;
      FGradient->SetEndColor(Color);
      if (panel) panel->RepaintOnChange = old;
    }
    const bool crosses = Style == psCross || Style == psDiagCross || Style == psStar || Style == psSmallDot;
    const bool solidTriangle = solid && (Style == psTriangle || Style == psDownTriangle);
    if (ortho || Style != psRectangle) {
      const int pw = FPen->Visible() ? FPen->Width() : 0;
      TRect box = Rect(left + pw, top + pw, right, bottom);
      if (Is3D) box = Canvas->ProjectRectAtDepth(box, z0);
      if (Style == psDiamond) {
        std::array<TPoint, 4> q{TPoint{X, top}, TPoint{right, Y}, TPoint{X, bottom}, TPoint{left, Y}};
        if (Is3D)
          for (TPoint& p : q) p = Canvas->ProjectXYZ(p.X, p.Y, z0);
        FGradient->DrawInQuad(Canvas, q);
      } else if (!crosses && !solidTriangle && Style != psNothing) {
        if (Style == psRectangle) {
          Canvas->ClipToRect(box);
        } else if (Style == psCircle) {
          Canvas->ClipToEllipse(box, false);
        } else {
          std::vector<TPoint> tri;
          const int dv = Style == psDownTriangle ? -v : v;
          if (Style == psTriangle || Style == psDownTriangle) tri = {{left, Y + dv}, {right, Y + dv}, {X, Y - dv}};
          else if (Style == psLeftTriangle) tri = {{left, Y}, {right, bottom}, {right, top}};
          else tri = {{right, Y}, {left, bottom}, {left, top}};
          if (Is3D)
            for (TPoint& p : tri) p = Canvas->ProjectXYZ(p.X, p.Y, z0);
          Canvas->ClipToPolygon(tri);
        }
        FGradient->DrawInRect(Canvas, box);
        Canvas->RemoveClipRegion();
      }
    } else {
      const int pw = FPen->Visible() ? FPen->Width() : 0;
      FGradient->DrawInQuad(Canvas, Canvas->ProjectRectToQuad(Rect(left, top, right - pw, bottom - pw), z0));
    }
  }
  if (blend) Canvas->EndBlending(std::move(blend));
}

void TSeriesPointer::DrawStyled(int X, int Y, TSeriesPointerStyle Style, TColor Color) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  DrawShapeAt(canvas, ChartIs3D(), X, Y, FHorizSize, FVertSize, Color, Style);
}

// ---- Callouts ---------------------------------------------------------------------------------

ZV_CLASS_IMPL(TCallout, TSeriesPointer)

void TCallout::DeclareProperties(TClassInfo& c) {
  using C = TCallout;
  c.Object<C, TChartPen>("Arrow", &C::Arrow, &C::SetArrow);
  c.Enum<C>("ArrowHead", ArrowHeadStyleEnumInfo(), &C::ArrowHead, &C::SetArrowHead, ahNone);
  c.Integer<C>("ArrowHeadSize", &C::ArrowHeadSize, &C::SetArrowHeadSize, 8);
  c.Integer<C>("Distance", &C::Distance, &C::SetDistance, 0);
  c.Boolean<C>("Draw3D", &C::Draw3D, &C::SetDraw3D, false);
  c.Boolean<C>("Visible", &C::Visible, &C::SetVisible, true);
}

TCallout::TCallout(TChartSeries* Series) : TSeriesPointer(Series) {
  FArrow = std::make_unique<TWhitePen>([this](TObject*) { PointerChanged(); });
  FVisible = true;
  FDraw3D = false;
  FullGradient = true;
  FBrush->SetColor(clBlack);
  FInflateMargins = true;
  FStyle = psRectangle;
}

void TCallout::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCallout*>(Source)) {
    FDistance = other->FDistance;
    FArrow->Assign(other->FArrow.get());
    FArrowHead = other->FArrowHead;
    FArrowHeadSize = other->FArrowHeadSize;
  }
  TSeriesPointer::Assign(Source);
}

void TCallout::SetArrowHead(TArrowHeadStyle Value) {
  if (FArrowHead == Value) return;
  FArrowHead = Value;
  PointerChanged();
}

void TCallout::SetArrowHeadSize(int Value) {
  if (FArrowHeadSize == Value) return;
  FArrowHeadSize = Value;
  PointerChanged();
}

void TCallout::SetDistance(int Value) {
  if (FDistance == Value) return;
  FDistance = Value;
  PointerChanged();
}

void TCallout::PaintArrow(TColor Color, TPoint From, int Z, TPoint To) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  const bool is3D = ChartIs3D();
  if (FArrow->Visible()) {
    canvas->CanvasBrush()->SetStyle(bsClear);
    ApplyOwnColor();
    TColor pen = FArrow->Color();
    if (CalloutArrowContrast) {
      TCustomGrafPanel* panel = FSeries && FSeries->ParentChart() ? FSeries->ParentChart() : ParentPanel();
      const TColor chartColor = panel ? panel->Color() : clWhite;
      if (pen == Color || pen == chartColor) pen = chartColor == clBlack ? clWhite : clBlack;
    }
    canvas->ApplyPenWithColor(FArrow.get(), pen);
    if (FArrowHead == ahLine || FArrowHead == ahSolid) {
      canvas->DefaultArrow(FArrowHead == ahSolid, To, From, FArrowHeadSize, FArrowHeadSize, Z);
    } else if (is3D) {
      canvas->LineAtDepth(From.X, From.Y, To.X, To.Y, Z);
    } else {
      canvas->LineFromTo(From.X, From.Y, To.X, To.Y);
    }
  }
  if (FArrowHead == ahNone && Visible()) {
    ApplyOwnColor();
    TPoint at = From;
    if (is3D) at = canvas->ProjectXYZ(From.X, From.Y, Z);
    DrawShapeAt(canvas, false, at.X, at.Y, FHorizSize, FVertSize, BrushColor(), FStyle);
  }
}

ZV_CLASS_IMPL(TMarksCallout, TCallout)

void TMarksCallout::DeclareProperties(TClassInfo& c) {
  using C = TMarksCallout;
  c.Integer<C>("Length", &C::Length, &C::SetLength).WithStored([](TObject* o) {
    auto* m = static_cast<C*>(o);
    return m->Length() != m->LengthDefault;
  });
  c.Boolean<C>("Visible", &C::Visible, &C::SetVisible, false);
}

TMarksCallout::TMarksCallout(TChartSeries* Series) : TCallout(Series) { FVisible = false; }

void TMarksCallout::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TMarksCallout*>(Source)) FLength = other->FLength;
  TCallout::Assign(Source);
}

void TMarksCallout::SetLength(int Value) {
  if (FSeries) FSeries->ChangeInteger(FLength, Value);
  else FLength = Value;
}

void TMarksCallout::ExtendToCalloutLength(TSeriesMarkPosition& Position) const {
  const int l = FLength, d = FDistance;
  Position.LeftTop.Y -= l + d;
  Position.ArrowTo.Y -= l + d;
  Position.ArrowFrom.Y -= d;
}
