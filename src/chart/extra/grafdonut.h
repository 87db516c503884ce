// The donut series: the pie series with a hole of DonutPercent of its size.
#pragma once

#include <string>

#include "chart/series/series_pie.h"

class TDonutSeries : public TPieSeries {
  ZV_CLASS(TDonutSeries)
public:
  explicit TDonutSeries(TComponent* AOwner = nullptr);
  // Copying a plain pie keeps a hole.
  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TDonutSeriesEditor"; }
};
