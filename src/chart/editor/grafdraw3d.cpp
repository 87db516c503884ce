#include "chart/editor/grafdraw3d.h"

#include "chart/core/grcanvas.h"

ZV_CLASS_IMPL_NOPROPS(TDraw3D, TCustomGrafPanelExtended)

TDraw3D::TDraw3D(TComponent* AOwner) : TCustomGrafPanelExtended(AOwner) {}

void TDraw3D::DrawChartContents(const TRect& Bounds) {
  const bool repaint = RepaintOnChange;
  RepaintOnChange = false;
  TCanvas3D* canvas = PanelCanvas();
  try {
    if (!canvas->RendersWithoutGdi()) PaintBackground(Bounds);
    NormalizeChartRect();
    canvas->SetupProjection(100, ChartArea);
    if (canvas->RendersWithoutGdi()) {
      // The background belongs to the whole rectangle, not the chart area.
      const TRect kept = ChartArea;
      ChartArea = Bounds;
      PaintBackground(Bounds);
      ChartArea = kept;
    }
    canvas->ResetState();
    if (OnPaint) OnPaint(this, Bounds);
    if (Zoom()->Active) DrawZoomFrame();
    canvas->ResetState();
    if (OnAfterDraw) OnAfterDraw(this);
  } catch (...) {
    RepaintOnChange = repaint;
    throw;
  }
  RepaintOnChange = repaint;
}

void RegisterDraw3DClasses() { RegisterClasses({&TDraw3D::StaticClass()}); }
