// The surface nearest-cell tool.
#include "chart/series/grafsurfacetool.h"

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

ZV_CLASS_IMPL(TSurfaceNearestTool, TGrafCustomToolSeries)

void TSurfaceNearestTool::DeclareProperties(TClassInfo& c) {
  using S = TSurfaceNearestTool;
  c.Integer<S>("CellColor", &S::CellColor, &S::SetCellColor, static_cast<TColor>(0x0000FF)).WithIdents(&ColorIdents());
  c.Integer<S>("RowColor", &S::RowColor, &S::SetRowColor, static_cast<TColor>(0xFF0000)).WithIdents(&ColorIdents());
  c.Integer<S>("ColumnColor", &S::ColumnColor, &S::SetColumnColor, static_cast<TColor>(0x008000))
      .WithIdents(&ColorIdents());
  c.Method<S, TNotifyEvent>(
      "OnSelectCell", [](S* s) { return s->OnSelectCell; }, [](S* s, const TNotifyEvent& e) { s->OnSelectCell = e; });
}

TSurfaceNearestTool::TSurfaceNearestTool(TComponent* AOwner) : TGrafCustomToolSeries(AOwner) {}

std::string TSurfaceNearestTool::ToolTypeName() const { return "Surface Nearest"; }

void TSurfaceNearestTool::SetSeries(TChartSeries* Value) {
  TGrafCustomToolSeries::SetSeries(dynamic_cast<TSurfaceSeries*>(Value));
  FCell = -1;
}

void TSurfaceNearestTool::CellReference(double& X, double& Z) const {
  auto* s = dynamic_cast<TSurfaceSeries*>(FSeries);
  if (!s || FCell < 0 || FCell >= s->PointCount()) {
    X = Z = -1.0;
    return;
  }
  X = s->XValues()->GetValue(FCell) - (FDX < 0 ? 1 : 0);
  Z = s->ZValues()->GetValue(FCell) + (FDZ > 0 ? 1 : 0);
}

void TSurfaceNearestTool::HandleMouseEvent(int Kind, TMouseButton, TShiftState, int X, int Y) {
  auto* s = dynamic_cast<TSurfaceSeries*>(FSeries);
  if (Kind != cmeMove || !s) return;
  const int i = s->IndexAtPoint(X, Y);
  if (i == FCell) return;
  FCell = i;
  FDX = s->DX;
  FDZ = s->DZ;
  const int n = s->PointCount();
  s->SuspendUpdates();
  try {
    if (i < 0) {
      for (int p = 0; p < n; ++p) s->SetPointColor(p, clDefault);
    } else {
      double xc, zc;
      CellReference(xc, zc);
      for (int p = 0; p < n; ++p) {
        const double x = s->XValues()->GetValue(p), z = s->ZValues()->GetValue(p);
        TColor c = clDefault;
        if (x == xc && z == zc) c = FCellColor;
        else if (x == xc) c = FRowColor;
        else if (z == zc) c = FColumnColor;
        s->SetPointColor(p, c);
      }
    }
  } catch (...) {
    s->ResumeUpdates();
    throw;
  }
  s->ResumeUpdates();
  RequestRedraw();
  if (OnSelectCell) OnSelectCell(this);
}

void RegisterSurfaceToolType() {
  static const bool done = [] {
    RegisterToolTypes({&TSurfaceNearestTool::StaticClass()});
    return true;
  }();
  (void)done;
}

void UnregisterSurfaceToolType() { UnregisterToolTypes({&TSurfaceNearestTool::StaticClass()}); }
