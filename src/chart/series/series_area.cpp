// The area fill of line series (one band per segment down to the bottom
// line: the axis edge, the series below when stacked, or an origin value)
// and the area series.
#include <algorithm>

#include "chart/core/grafconst.h"
#include "chart/series/series.h"

namespace {

// Captures what lies beneath while transparency is asked for.
class TAreaBlend {
public:
  TAreaBlend(TCanvas3D* Canvas, int Transparency, TRect Box, bool Is3D, int Z) : FCanvas(Canvas) {
    if (Transparency <= 0) return;
    if (Is3D) Box = Canvas->ProjectedRectBounds(Box, Z);
    FBlend = Canvas->BeginBlending(Box, Transparency);
  }
  ~TAreaBlend() {
    if (FBlend) FCanvas->EndBlending(std::move(FBlend));
  }
  TAreaBlend(const TAreaBlend&) = delete;
  TAreaBlend& operator=(const TAreaBlend&) = delete;

private:
  TCanvas3D* FCanvas;
  std::unique_ptr<TGrafBlend> FBlend;
};

}  // namespace

int TCustomSeries::AreaBottomPixel(int Index) {
  if (IsStacked()) return StackedPixel(Index, 0);
  if (FVertical) {
    TChartAxis* v = GetVertAxis();
    if (!v) return 0;
    return v->Inverted() ? v->StartPixel : v->EndPixel;
  }
  TChartAxis* h = GetHorizAxis();
  if (!h) return 0;
  return h->Inverted() ? h->EndPixel : h->StartPixel;
}

void TCustomSeries::DrawAreaSegment(int X, int Y, TColor FillColor, bool Last) {
  TCustomAxisPanel* chart = FParentChart;
  TCanvas3D* canvas = chart->PanelCanvas();
  const bool is3D = chart->View3D();
  const int z0 = StartZ, z1 = EndZ;
  const bool noGdi = canvas->RendersWithoutGdi();

  TColor back = FAreaBrush->Color() == clDefault ? GetSeriesColor() : FAreaBrush->Color();
  const bool picture = FAreaBrush->HasImage() && FAreaBrush->Image()->Graphic();
  if (picture && back == FillColor) back = clWhite;
  chart->ApplyBrushColors(FillColor, FAreaBrush.get(), back);

  if (is3D && Last) {
    if (FVertical) canvas->RectangleZ(X, Y, CurBottom, z0, z1);
    else canvas->RectangleY(X, Y, CurBottom, z0, z1);
  }
  const int transparency = GetTransparency();
  const bool gradient = FGradient->Visible();
  TChartPen* linePen = Pen();

  if (FStairs) {
    TRect r;
    if (FVertical) {
      const int level = FInvertedStairs ? Y : PrevY, bottom = FInvertedStairs ? CurBottom : PrevBottom;
      r = Rect(PrevX, level, X + 1, bottom);
    } else {
      const int level = FInvertedStairs ? X : PrevX, bottom = FInvertedStairs ? CurBottom : PrevBottom;
      r = Rect(bottom, PrevY + 1, level + 1, Y);
    }
    {
      TAreaBlend blend(canvas, transparency, NormalizeRect(r), is3D, z0);
      if (is3D) {
        canvas->RectangleWithZ(r, z0);
        if (noGdi) canvas->RectangleWithZ(r, z1);
      } else if (gradient) {
        FGradient->DrawInRect(canvas, r);
        if (canvas->CanvasPen()->Style() != psClear) {
          canvas->CanvasBrush()->SetStyle(bsClear);
          canvas->RectangleOfRect(r);
        }
      } else {
        canvas->RectangleOfRect(r);
      }
    }
    if (linePen->Visible() && !FAreaLinesPen->Visible()) {
      canvas->ApplyPen(linePen);
      if (FVertical) {
        if (!FInvertedStairs) {
          canvas->LineAtDepth(PrevX, PrevY, X, PrevY, z0);
          canvas->LineAtDepth(X - 1, PrevY, X - 1, Y, z0);
        } else {
          canvas->LineAtDepth(PrevX, Y, X, Y, z0);
          canvas->LineAtDepth(PrevX, PrevY, PrevX, Y, z0);
        }
      } else if (!FInvertedStairs) {
        canvas->LineAtDepth(PrevX, PrevY, PrevX, Y, z0);
        canvas->LineAtDepth(PrevX, Y, X, Y, z0);
      } else {
        canvas->LineAtDepth(X, PrevY, X, Y, z0);
        canvas->LineAtDepth(PrevX, PrevY, X, PrevY, z0);
      }
    }
    return;
  }

  TFourPoints quad;
  if (FVertical) quad = {Point(PrevX, PrevBottom), Point(PrevX, PrevY), Point(X, Y), Point(X, CurBottom)};
  else quad = {Point(PrevBottom, PrevY), Point(PrevX, PrevY), Point(X, Y), Point(CurBottom, Y)};
  {
    TAreaBlend blend(canvas, transparency, BoundsOfPoints(quad.data(), 3), is3D, z0);
    if (is3D) {
      const int rotation = static_cast<int>(chart->View3DOptions()->Rotation());
      const int z = (rotation < 91 || rotation > 269) ? z0 : z1;
      if (gradient) FGradient->DrawInQuad3D(canvas, quad, z);
      else canvas->PlaneWithZOfQuad(quad, z);
    } else if (gradient) {
      // One gradient over the whole value range, continued segment to segment.
      canvas->ClipToPolygon(quad);
      TChartValueList* main = MainList();
      TRect r;
      if (FVertical) r = Rect(PrevX, ValueAxisPixelOf(main->MaxValue()), X, ValueAxisPixelOf(main->MinValue()));
      else r = Rect(ValueAxisPixelOf(main->MinValue()), PrevY, ValueAxisPixelOf(main->MaxValue()), Y);
      FGradient->DrawInRect(canvas, r);
      canvas->RemoveClipRegion();
      canvas->CanvasBrush()->SetStyle(bsClear);
      if (canvas->CanvasPen()->Style() != psClear) {
        if (FVertical) canvas->VerticalLine(PrevX, PrevY, PrevBottom);
        else canvas->HorizontalLine(PrevBottom, PrevX, PrevY);
      }
    } else {
      canvas->Polygon(quad);
    }
    if (noGdi) canvas->PlaneWithZOfQuad(quad, z1);
  }
  if (linePen->Visible()) {
    canvas->ApplyPen(linePen);
    canvas->LineAtDepth(PrevX, PrevY, X, Y, z0);
  }
}

// ============================================================================
// TAreaSeries

ZV_CLASS_IMPL(TAreaSeries, TCustomSeries)

void TAreaSeries::DeclareProperties(TClassInfo& c) {
  using S = TAreaSeries;
  c.Object<S, TChartBrush>("AreaChartBrush", &S::AreaChartBrush, &S::SetAreaChartBrush);
  c.Enum<S>("AreaBrush", BrushStyleEnumInfo(), &S::AreaBrush, &S::SetAreaBrush, bsSolid);
  c.Integer<S>("AreaColor", [](S* s) { return static_cast<int>(s->AreaColor()); },
               [](S* s, int v) { s->SetAreaColor(static_cast<TColor>(v)); }, static_cast<int>(clDefault))
      .WithIdents(&ColorIdents());
  c.Object<S, TChartPen>("AreaLinesPen", &S::AreaLinesPen, &S::SetAreaLinesPen);
  c.Boolean<S>("ClickableLine", &S::ClickableLine, &S::SetClickableLine, true);
  c.Boolean<S>("ColorEachLine", &S::ColorEachLine, &S::SetColorEachLine, true);
  c.Boolean<S>("Dark3D", &S::Dark3D, &S::SetDark3D, true);
  c.Boolean<S>("DrawArea", &S::DrawArea, &S::SetDrawArea, true);
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Boolean<S>("InvertedStairs", &S::InvertedStairs, &S::SetInvertedStairs, false);
  c.Object<S, TChartPen>("LinePen", &S::LinePen, &S::SetLinePen);
  c.Enum<S>("MultiArea", MultiAreaEnumInfo(), &S::MultiArea, &S::SetMultiArea, maNone);
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Boolean<S>("Stairs", &S::Stairs, &S::SetStairs, false);
  c.Integer<S>("Transparency", &S::Transparency, [](S* s, int v) { s->SetTransparency(v); }, 0);
  c.Boolean<S>("UseYOrigin", &S::UseYOrigin, &S::SetUseYOrigin, false);
  c.Float<S>("YOrigin", ftDouble, &S::YOrigin, &S::SetYOrigin, 0.0L);
}

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FDrawArea = true;
  SinglePointResults = false;
  FPointer->SetVisible(false);
  FPointer->VisibleDefault = false;
}

void TAreaSeries::Assign(TPersistent* Source) {
  TCustomSeries::Assign(Source);
  FDrawArea = true;
  FDrawLine = true;
  auto* s = dynamic_cast<TAreaSeries*>(Source);
  if (s && (s->InheritsFrom(ClassType()) || InheritsFrom(s->ClassType()))) {
    FUseYOrigin = s->FUseYOrigin;
    FYOrigin = s->FYOrigin;
  } else {
    FPointer->SetVisible(false);
  }
}

TMultiArea TAreaSeries::MultiArea() const {
  switch (FStacked) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
  }
}

void TAreaSeries::SetMultiArea(TMultiArea Value) {
  if (Value == MultiArea()) return;
  SetStacked(Value == maStacked ? cssStack : Value == maStacked100 ? cssStack100 : cssNone);
}

void TAreaSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgStairs, GrafMsgMarks, GrafMsgColors, GrafMsgHollow, GrafMsgNoLines, GrafMsgStack,
                        GrafMsgStack100, GrafMsgPoints, GrafMsgGradient})
    Proc(t);
}

void TAreaSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TAreaSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->SetStairs(true); break;
    case 2: s->Marks()->SetVisible(true); break;
    case 3: s->SetColorEachPoint(true); break;
    case 4: s->SetAreaBrush(bsClear); break;
    case 5: s->AreaLinesPen()->SetVisible(false); break;
    case 6: s->SetMultiArea(maStacked); break;
    case 7: s->SetMultiArea(maStacked100); break;
    case 8: s->Pointer()->SetVisible(true); break;
    case 9: s->Gradient()->SetVisible(true); break;
    default: break;
  }
}

void TAreaSeries::SetupGalleryPreview(bool Enabled) {
  TCustomSeries::SetupGalleryPreview(Enabled);
  FGradient->SetVisible(true);
  FGradient->SetEndColor(GetSeriesColor());
}

void TAreaSeries::AdjustLegendCanvas(int, TColor& BackColor, TBrushStyle& BrushStyle) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  BackColor = AreaColorFor(canvas->CanvasBrush()->Color());
  canvas->ApplyPen(FAreaLinesPen.get());
  BrushStyle = FAreaBrush->Style();
}

void TAreaSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FGradient->Visible()) {
    FGradient->DrawInRect(canvas, R);
    return;
  }
  if (FAreaBrush->HasImage() && FAreaBrush->Image()->Graphic()) {
    const TColor fore = FAreaBrush->Color() == clDefault ? LegendSymbolColor(Row) : FAreaBrush->Color();
    TColor back = AreaColorFor(canvas->CanvasBrush()->Color());
    if (back == fore) back = clWhite;
    canvas->ApplyBrush(FAreaBrush.get(), fore, back);
  }
  TCustomSeries::PaintLegendSymbol(Row, R);
}

bool TAreaSeries::DrawForwardAt(int Index) {
  if (MultiArea() != maNone) {
    TChartAxis* axis = ValueAxis();
    return !(axis && axis->Inverted());
  }
  return TCustomSeries::DrawForwardAt(Index);
}

int TAreaSeries::AreaBottomPixel(int Index) {
  if (FUseYOrigin) return ValueAxisPixelOf(FYOrigin);
  return TCustomSeries::AreaBottomPixel(Index);
}

double TAreaSeries::LargestY() {
  const double v = TCustomSeries::LargestY();
  return FUseYOrigin && FVertical ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::SmallestY() {
  const double v = TCustomSeries::SmallestY();
  return FUseYOrigin && FVertical ? std::min(v, FYOrigin) : v;
}

double TAreaSeries::LargestX() {
  const double v = TCustomSeries::LargestX();
  return FUseYOrigin && !FVertical ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::SmallestX() {
  const double v = TCustomSeries::SmallestX();
  return FUseYOrigin && !FVertical ? std::min(v, FYOrigin) : v;
}

// ============================================================================
// THorizAreaSeries

ZV_CLASS_IMPL_NOPROPS(THorizAreaSeries, TAreaSeries)

THorizAreaSeries::THorizAreaSeries(TComponent* AOwner) : TAreaSeries(AOwner) {
  SetHorizontalOrientation();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  FGradient->SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  TMarksCallout* c = FMarks->Callout();
  const int shift = c->Length() + c->Distance();
  Position.LeftTop.Y = Position.ArrowTo.Y - Position.Height / 2;
  Position.LeftTop.X += shift + Position.Width / 2;
  Position.ArrowTo.X += shift;
  Position.ArrowFrom.Y = Position.ArrowTo.Y;
  Position.ArrowFrom.X += c->Distance();
  TCustomSeries::DrawPointMark(Index, Text, Position);
}
