// What the paint cycle and the legend ask of a series: the visible range,
// draw direction and order, depth slots and positions, pixels of points,
// legend texts, colours and symbols, gallery hooks and paging.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/format.h"
#include "platform/rtl/datetime.h"

void TChartSeries::FindVisibleRange() {
  FirstVisible = LastVisible = -1;
  const int n = PointCount();
  if (n == 0) return;
  TChartValueList* other = FOtherList;
  TChartAxis* axis = FVertical ? FHorizAxisInUse : FVertAxisInUse;
  if (!CalcVisibleRange || other->Order() == loNone || !axis || !FParentChart) {
    FirstVisible = 0;
    LastVisible = n - 1;
    return;
  }
  const TRect& r = FParentChart->ChartArea;
  double low, high;
  if (FVertical) {
    low = axis->PixelToValue(axis->Inverted() ? r.Right : r.Left);
    high = axis->PixelToValue(axis->Inverted() ? r.Left : r.Right);
  } else {
    low = axis->PixelToValue(axis->Inverted() ? r.Top : r.Bottom);
    high = axis->PixelToValue(axis->Inverted() ? r.Bottom : r.Top);
  }
  const double* v = other->Values().data();
  const bool ascending = other->Order() == loAscending;
  // In a descending list the scan looks for the same bounds from the other end.
  auto reaches = [&](double value, double bound) { return ascending ? value >= bound : value <= bound; };
  auto beyond = [&](double value, double bound) { return ascending ? value > bound : value < bound; };
  if (!ascending) std::swap(low, high);
  int first = -1;
  for (int i = 0; i < n; ++i)
    if (reaches(v[i], low)) {
      first = i;
      break;
    }
  if (first < 0) return;
  FirstVisible = first;
  if (beyond(v[n - 1], high)) {
    int last = n - 1;
    for (int i = first; i < n; ++i)
      if (reaches(v[i], high)) {
        last = i;
        break;
      }
    if (!IncludePointAfterRange && beyond(v[last], high)) --last;
    LastVisible = last;
  } else {
    LastVisible = n - 1;
  }
  if (LastVisible < FirstVisible) FirstVisible = LastVisible = -1;
}

bool TChartSeries::DrawsAscending() {
  if (FVertical) {
    bool result = !FHorizAxisInUse || !FHorizAxisInUse->Inverted();
    if (FParentChart && FParentChart->InvertedRotation) result = !result;
    return result;
  }
  return !FVertAxisInUse || !FVertAxisInUse->Inverted();
}

bool TChartSeries::DrawForwardAt(int) { return !(FParentChart && FParentChart->InvertedRotation); }

void TChartSeries::DrawVisiblePoints() {
  if (FirstVisible < 0 || LastVisible < 0) return;
  if (DrawsAscending()) {
    for (int i = FirstVisible; i <= LastVisible; ++i) DrawPoint(i);
  } else {
    for (int i = LastVisible; i >= FirstVisible; --i) DrawPoint(i);
  }
}

void TChartSeries::BeginDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::EndDrawValues() {
  if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  if (Proc) Proc(GrafMsgNormal);
}

void TChartSeries::AssignZOrder() {
  if (!FParentChart) return;
  if (FZOrder < 0) {
    if (FParentChart->View3D()) AutoZOrder = ++FParentChart->MaxZOrder;
    else AutoZOrder = 0;
  } else {
    FParentChart->MaxZOrder = std::max(FParentChart->MaxZOrder, CurrentDepthIndex());
  }
}

bool TChartSeries::SharesZOrder() {
  if (!FParentChart || !FParentChart->UseZOrder) return false;
  const int mine = CurrentDepthIndex();
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (s != this && s->Active() && !s->OwnDepth && s->CurrentDepthIndex() == mine) return true;
  return false;
}

void TChartSeries::PlaceInDepth() {
  const int width = FParentChart ? FParentChart->SeriesWidth3D : 0;
  StartZ = width * AutoZOrder;
  EndZ = StartZ + (FDepth == -1 ? width : FDepth);
  MiddleZ = (StartZ + EndZ) / 2;
  FMarks->ZPosition = MiddleZ;
}

bool TChartSeries::LeadsDepthGroup() {
  if (!FActive || !FParentChart) return false;
  const int mine = CurrentDepthIndex();
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (s == this) return true;
    if (s->Active() && s->CurrentDepthIndex() == mine) return false;
  }
  return true;
}

TChartValueList* TChartSeries::ValuesForAxis(TChartAxis* Axis) {
  if (!IsOnAxis(Axis)) return nullptr;
  return Axis->Horizontal() ? FXValues : FYValues;
}

bool TChartSeries::IsOnAxis(TChartAxis* Axis) {
  if (!HasAxes() || !Axis) return false;
  if (Axis->Horizontal()) return FHorizAxis == aBothHorizAxis || Axis == FHorizAxisInUse;
  return FVertAxis == aBothVertAxis || Axis == FVertAxisInUse;
}

int TChartSeries::PointXPixel(int Index) { return HorizPixelOf(XValueAt(Index)); }

int TChartSeries::PointYPixel(int Index) { return VertPixelOf(YValueAt(Index)); }

int TChartSeries::HorizPixelOf(double Value) { return FHorizAxisInUse ? FHorizAxisInUse->ValueToPixel(Value) : 0; }

int TChartSeries::VertPixelOf(double Value) { return FVertAxisInUse ? FVertAxisInUse->ValueToPixel(Value) : 0; }

int TChartSeries::ValueAxisPixelOf(double Value) { return FVertical ? VertPixelOf(Value) : HorizPixelOf(Value); }

void TChartSeries::PaintLegendSymbol(int, const TRect& R) {
  if (FParentChart) FParentChart->PaintLegendBox(R);
}

void TChartSeries::AdjustLegendCanvas(int, TColor&, TBrushStyle&) {}

void TChartSeries::PaintLegendItem(int Row, const TRect& R) {
  if (Row == -1 && FColorEachPoint) return;
  if (!FParentChart) return;
  TCustomAxisPanel* chart = FParentChart;
  const bool oldRepaint = chart->RepaintOnChange;
  chart->RepaintOnChange = false;
  try {
    TCanvas3D* canvas = chart->PanelCanvas();
    const TColor color = Row == -1 ? GetSeriesColor() : LegendSymbolColor(Row);
    canvas->CanvasBrush()->SetColor(color);
    if (color != clNone) {
      TColor back = chart->LegendColor;
      TBrushStyle style = FBrush->Style();
      canvas->ApplyPen(FPen.get());
      AdjustLegendCanvas(Row, back, style);
      if (chart->LegendPen) canvas->ApplyPen(chart->LegendPen);
      if (back == clDefault) back = chart->LegendColor == clDefault ? chart->Color() : chart->LegendColor;
      const TBrushStyle oldStyle = FBrush->Style();
      const bool restyle = style != oldStyle && !(FBrush->HasImage() && FBrush->Image()->Graphic());
      if (restyle) FBrush->SetStyle(style);
      try {
        chart->ApplyBrushColors(color, FBrush.get(), back);
        PaintLegendSymbol(Row, R);
      } catch (...) {
        if (restyle) FBrush->SetStyle(oldStyle);
        throw;
      }
      if (restyle) FBrush->SetStyle(oldStyle);
    }
  } catch (...) {
    chart->RepaintOnChange = oldRepaint;
    throw;
  }
  chart->RepaintOnChange = oldRepaint;
}

std::string TChartSeries::ComposeLegendText(int Index, TLegendTextStyle Style) {
  const int i = MapValueIndex(Index);
  const std::string label = PointLabel(i);
  if (Style == ltsPlain) return label;
  const double v = MainValueAt(i);
  const std::string sep(1, LegendColumnSeparator);
  auto valueText = [&] {
    if (FMainList->DateTime()) return FormatDateTime(DefaultDateTimeFormatFor(v), v);
    return FormatFloat(FValueFormat, v);
  };
  auto percentText = [&] {
    const double total = FMainList->TotalAbs();
    return FormatFloat(FPercentFormat, total == 0 ? 100.0 : v * 100 / total);
  };
  auto xText = [&] {
    const double x = FXValues->GetValue(i);
    return FHorizAxisInUse ? FHorizAxisInUse->FormatLabelValue(x) : FormatFloat(FValueFormat, x);
  };
  switch (Style) {
    case ltsLeftValue: return label.empty() ? valueText() : valueText() + sep + label;
    case ltsRightValue: return label.empty() ? valueText() : label + sep + valueText();
    case ltsLeftPercent: return label.empty() ? percentText() : percentText() + sep + label;
    case ltsRightPercent: return label.empty() ? percentText() : label + sep + percentText();
    case ltsXValue: return xText();
    case ltsValue: return valueText();
    case ltsPercent: return percentText();
    case ltsXAndValue: return xText() + sep + valueText();
    case ltsXAndPercent: return xText() + sep + percentText();
    default: return label;
  }
}

void TChartSeries::PageIndexRange(int& First, int& Last) {
  const int n = PointCount();
  if (n == 0) {
    First = Last = -1;
    return;
  }
  const int p = FParentChart ? FParentChart->MaxPointsPerPage() : 0;
  if (p <= 0) {
    First = 0;
    Last = n - 1;
    return;
  }
  const int page = FParentChart->Page();
  First = p * (page - 1);
  // A page beyond the last shows the last page.
  if (First >= n) {
    const int lastPage = (n + p - 1) / p;
    First = p * (lastPage - 1);
  }
  Last = First + p - 1;
  if (Last >= n) Last = n - 1;
}

int TChartSeries::WidestVisibleMark() {
  int result = 0;
  for (int i = 0; i < PointCount(); ++i) {
    TGrafCustomShape* item = FMarks->ItemOfPoint(i);
    if (item && item->Visible()) result = std::max(result, FMarks->WidestLineWidth(i));
  }
  return result;
}

void TChartSeries::SetupGalleryPreview(bool Enabled) {
  LoadDemoData(4);
  FMarks->SetVisible(false);
  FMarks->Font()->SetSize(7);
  FMarks->Callout()->SetLength(4);
  FMarks->SetDrawEvery(2);
  SetColorEachPoint(false);
  if (!Enabled) {
    SetSeriesColor(clSilver);
  } else if (FParentChart) {
    const bool first = FParentChart->NumberOfSeries() > 0 && FParentChart->SeriesAt(0) == this;
    SetSeriesColor(FParentChart->PaletteColor(first ? 0 : 3));
  }
}
