// The paint cycle: background, hooks, series preparation, titles and legend,
// depth slots, walls rectangle, axis layout, projection, walls, axes, series
// and marks, the parts in front, the zoom rectangle and the closing hooks.
#include <cmath>

#include "chart/core/grengine.h"
#include "platform/rtl/mathutils.h"

void TCustomAxisPanel::UpdateRotationFlag() {
  TView3DOptions* v = View3DOptions();
  InvertedRotation = View3D() && ((v->Orthogonal() && v->OrthoAngle() > 90) || (!v->Orthogonal() && v->Rotation() < 180));
}

bool TCustomAxisPanel::BackPlaneHidden(int Z) {
  TCanvas3D* canvas = PanelCanvas();
  if (canvas->RendersWithoutGdi()) return false;
  const TFourPoints q = canvas->ProjectRectToQuad(ChartArea, Z);
  return !PolygonFacesAway(q.data(), 4);
}

void TCustomAxisPanel::Compute3DDepth() {
  if (!View3D()) {
    SeriesWidth3D = SeriesHeight3D = 0;
    DepthExtentX = DepthExtentY = 0;
    return;
  }
  TView3DOptions* v = View3DOptions();
  double f = FChart3DPercent * 0.001;
  if (!v->Orthogonal()) f *= 2;
  int width = static_cast<int>(Round(ChartAreaWidth * f));
  const double r = v->OrthoRatio();
  if (r > 1) width = static_cast<int>(Round(width / r));
  SeriesWidth3D = width;
  SeriesHeight3D = static_cast<int>(Round(width * r));
  const int slots = UseZOrder ? std::max(MaxZOrder + 1, 1) : 1;
  DepthExtentX = slots * SeriesWidth3D;
  DepthExtentY = slots * SeriesHeight3D;
}

void TCustomAxisPanel::FitAxes() {
  for (TChartAxis* axis : *FAxes) {
    axis->ShownNow = ComputeAxisVisibility(axis);
    axis->UpdateMinMax();
  }
  for (TChartAxis* axis : *FAxes) axis->ComputeEndPixels();
  TRect r = ChartArea;
  std::vector<TChartAxis*> axes(FAxes->begin(), FAxes->end());
  for (size_t i = 0; i < axes.size(); ++i) {
    TChartAxis* axis = axes[i];
    if (axis->ShownNow) {
      TRect copy = r;
      axis->FitIntoRect(copy, i < 5);
      TRect common;
      if (IntersectRect(common, copy, r)) r = common;
    } else if (FAxes->AxisSizeCallback) {
      // A tool keeps the room of a hidden axis.
      const int size = FAxes->AxisSizeCallback(axis, 0);
      if (axis->Horizontal()) {
        if (axis->OtherSide()) r.Top += size;
        else r.Bottom -= size;
      } else if (axis->OtherSide()) {
        r.Right -= size;
      } else {
        r.Left += size;
      }
    }
  }
  if (!ChartAreaFixed) ChartArea = r;
  NormalizeChartRect();
  for (TChartAxis* axis : *FAxes) axis->ComputeEndPixels();
}

void TCustomAxisPanel::ReserveSeriesMargins() {
  for (TChartAxis* axis : *FAxes) {
    int left = 0, top = 0, right = 0, bottom = 0;
    for (TChartSeries* s : *FSeriesList) {
      if (!s->Active() || !s->IsOnAxis(axis)) continue;
      int a = 0, b = 0;
      if (axis->Horizontal()) {
        s->GetHorizMargins(a, b);
        if (axis->AutomaticMinimum()) left = std::max(left, a);
        if (axis->AutomaticMaximum()) right = std::max(right, b);
      } else {
        s->GetVertMargins(a, b);
        if (axis->AutomaticMaximum()) top = std::max(top, a);
        if (axis->AutomaticMinimum()) bottom = std::max(bottom, b);
      }
    }
    const bool offsets = axis->MinimumOffset() != 0 || axis->MaximumOffset() != 0;
    if (offsets) {
      int minOffset = axis->MinimumOffset(), maxOffset = axis->MaximumOffset();
      if (axis->Inverted()) std::swap(minOffset, maxOffset);
      if (axis->Horizontal()) {
        left += minOffset;
        right += maxOffset;
      } else {
        bottom += minOffset;
        top += maxOffset;
      }
    }
    if (left != 0 || top != 0 || right != 0 || bottom != 0) axis->ReserveEndInsets(Rect(left, top, right, bottom));
    if (offsets && axis->ShownNow && !axis->IsDepthAxis()) {
      const int room = axis->LabelsAreaWidth();
      if (axis->Horizontal()) axis->TitlePos = axis->OtherSide() ? axis->LabelsPos - room : axis->LabelsPos + room;
      else axis->TitlePos = axis->OtherSide() ? axis->LabelsPos + room : axis->LabelsPos - room;
    }
  }
}

void TCustomAxisPanel::PaintAxes() {
  if (!FAxisVisible) return;
  FireBeforeDrawAxes();
  const bool skipBottom = BackPlaneHidden(0);
  std::vector<TChartAxis*> axes(FAxes->begin(), FAxes->end());
  for (TChartAxis* axis : axes) {
    if (!axis->ShownNow) continue;
    if (axis == FBottomAxis && skipBottom) continue;
    axis->DrawAxis(true);
  }
}

void TCustomAxisPanel::ClipToChartBox() {
  if (FClipped || !ClippingAllowed()) return;
  TRect r = ChartArea;
  ++r.Bottom;
  PanelCanvas()->ClipCube(r, 0, DepthWidth());
  FClipped = true;
}

void TCustomAxisPanel::UnclipChartBox() {
  if (!FClipped) return;
  PanelCanvas()->RemoveClipRegion();
  FClipped = false;
}

void TCustomAxisPanel::PaintSeriesMarks(TChartSeries* Series) {
  if (Series->PointCount() == 0 || !Series->Marks()->Visible()) return;
  const bool clip = Series->Marks()->Clip();
  if (clip) ClipToChartBox();
  try {
    Series->DrawVisibleMarks();
  } catch (...) {
    if (clip) UnclipChartBox();
    throw;
  }
  if (clip) UnclipChartBox();
}

void TCustomAxisPanel::PaintOneSeries(TChartSeries* Series) {
  Series->FindVisibleRange();
  if (Series->FirstVisible == -1) return;
  Series->BeginDrawValues();
  if (Series->HasAxes() && FClipPoints) ClipToChartBox();
  try {
    Series->DrawVisiblePoints();
  } catch (...) {
    UnclipChartBox();
    throw;
  }
  UnclipChartBox();
  PaintSeriesMarks(Series);
  Series->EndDrawValues();
}

void TCustomAxisPanel::PaintSharedSeries(TChartSeries* Lead, int ListIndex) {
  const int depth = Lead->CurrentDepthIndex();
  std::vector<TChartSeries*> group;
  for (int i = ListIndex; i < FSeriesList->Count(); ++i) {
    TChartSeries* s = FSeriesList->ItemAt(i);
    if (s->Active() && s->CurrentDepthIndex() == depth) group.push_back(s);
  }
  int first = -1, last = -1;
  bool any = false;
  for (TChartSeries* s : group) {
    s->FindVisibleRange();
    if (s->FirstVisible < 0) continue;
    any = true;
    s->BeginDrawValues();
    first = std::max(first, s->FirstVisible);
    last = std::max(last, s->LastVisible);
  }
  if (!any) return;
  if (FClipPoints) ClipToChartBox();
  try {
    const bool ascending = Lead->DrawsAscending();
    auto drawIndex = [&](int index) {
      const bool backwards = index < Lead->PointCount() && !Lead->DrawForwardAt(index);
      auto visit = [&](TChartSeries* s) {
        if (s->Active() && s->CurrentDepthIndex() == depth && s->PointCount() > index) s->DrawPoint(index);
      };
      if (backwards) {
        for (auto it = group.rbegin(); it != group.rend(); ++it) visit(*it);
      } else {
        for (TChartSeries* s : group) visit(s);
      }
    };
    if (ascending) {
      for (int i = first; i <= last; ++i) drawIndex(i);
    } else {
      for (int i = last; i >= first; --i) drawIndex(i);
    }
  } catch (...) {
    UnclipChartBox();
    throw;
  }
  UnclipChartBox();
  for (TChartSeries* s : group) {
    if (s->FirstVisible < 0) continue;
    PaintSeriesMarks(s);
    s->EndDrawValues();
  }
}

void TCustomAxisPanel::PaintAllSeries() {
  const bool reverse = FDepthAxis->Inverted() != BackPlaneHidden(DepthWidth());
  std::vector<TChartSeries*> items(FSeriesList->begin(), FSeriesList->end());
  const int n = static_cast<int>(items.size());
  for (int k = 0; k < n; ++k) {
    const int i = reverse ? n - 1 - k : k;
    TChartSeries* s = items[static_cast<size_t>(i)];
    if (!s->Active()) continue;
    if (View3D() && s->SharesZOrder()) {
      if (!s->LeadsDepthGroup()) continue;
      PaintSharedSeries(s, FSeriesList->IndexOf(s));
    } else {
      PaintOneSeries(s);
    }
  }
}

void TCustomAxisPanel::PaintChart(const TRect& Bounds) {
  const bool oldRepaint = RepaintOnChange;
  RepaintOnChange = false;
  TCanvas3D* canvas = PanelCanvas();
  try {
    UpdateRotationFlag();
    const bool gdi = !canvas->RendersWithoutGdi();
    if (gdi) PaintBackground(Bounds);
    NotifyTools(cteBeforeDraw);
    FireBeforeDrawChart();
    std::vector<TChartSeries*> items(FSeriesList->begin(), FSeriesList->end());
    for (TChartSeries* s : items)
      if (s->Active()) s->PrepareChartDraw();
    if (gdi) PlaceTitlesAndLegend(true);

    const bool zOrder = UseZOrder && View3D();
    MaxZOrder = 0;
    if (zOrder) {
      MaxZOrder = -1;
      for (TChartSeries* s : items)
        if (s->Active()) s->AssignZOrder();
    }
    for (TChartSeries* s : items) {
      if (!s->Active()) continue;
      if (!zOrder) s->AutoZOrder = 0;
      else if (!FDepthAxis->Inverted()) s->AutoZOrder = MaxZOrder - s->CurrentDepthIndex();
    }

    ComputeWallsRect();
    const TRect wallsRect = ChartArea;
    FitAxes();
    for (TChartSeries* s : items)
      if (s->Active()) s->PlaceInDepth();
    ReserveSeriesMargins();
    canvas->SetupProjection(DepthWidth(), ChartArea);
    if (!gdi) {
      const TRect kept = ChartArea;
      ChartArea = wallsRect;
      NormalizeChartRect();
      PaintBackground(Bounds);
      PlaceTitlesAndLegend(true);
      ChartArea = kept;
      NormalizeChartRect();
    }
    PaintWalls();
    if (FAxisBehind) {
      NotifyTools(cteBeforeDrawAxes);
      PaintAxes();
    }
    NotifyTools(cteBeforeDrawSeries);
    FireBeforeDrawSeries();
    PaintAllSeries();
    NotifyTools(cteAfterDrawSeries);
    if (!FAxisBehind) {
      NotifyTools(cteBeforeDrawAxes);
      PaintAxes();
    }
    PlaceTitlesAndLegend(false);
    if (Zoom()->Active) DrawZoomFrame();
    NotifyTools(cteAfterDraw);
    canvas->ResetState();
    FireAfterDraw();
  } catch (...) {
    UnclipChartBox();
    RepaintOnChange = oldRepaint;
    throw;
  }
  RepaintOnChange = oldRepaint;
}
