// The extra legend tool's editor: the series whose values it lists, and a
// button opening the legend page on the tool's own legend.
#pragma once

#include "chart/editor/graftoolseriesedit.h"

class TExtraLegendEditor : public TSeriesToolEditor {
  ZV_CLASS(TExtraLegendEditor)
public:
  explicit TExtraLegendEditor(TComponent* AOwner);

  TButton* Button1;
};
