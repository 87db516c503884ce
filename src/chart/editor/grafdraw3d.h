// A panel for free drawing on the chart library's 3D canvas: the chart
// panel's background, border, gradient, margins and 3D view, no axes or
// series; the application draws in OnPaint.
#pragma once

#include <functional>

#include "chart/core/grafpanel.h"

class TDraw3D : public TCustomGrafPanelExtended {
  ZV_CLASS(TDraw3D)
public:
  explicit TDraw3D(TComponent* AOwner);

  void DrawChartContents(const TRect& Bounds) override;

  std::function<void(TObject* Sender, const TRect& Rect)> OnPaint;
};

void RegisterDraw3DClasses();
