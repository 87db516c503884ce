// The standard series types: streaming by class name and the gallery's
// "Standard" page, registered once and never removed.
#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"

void RegisterStandardSeries() {
  static const bool done = [] {
    RegisterClasses({&TLineSeries::StaticClass(), &TBarSeries::StaticClass(), &THorizBarSeries::StaticClass(),
                     &TAreaSeries::StaticClass(), &TPointSeries::StaticClass(), &TPieSeries::StaticClass(),
                     &TFastLineSeries::StaticClass(), &THorizLineSeries::StaticClass(),
                     &THorizAreaSeries::StaticClass()});
    RegisterStandardSeriesType(&TLineSeries::StaticClass(), &GrafMsgGalleryLine);
    RegisterStandardSeriesType(&TBarSeries::StaticClass(), &GrafMsgGalleryBar);
    RegisterStandardSeriesType(&THorizBarSeries::StaticClass(), &GrafMsgHorizontalBar);
    RegisterStandardSeriesType(&TAreaSeries::StaticClass(), &GrafMsgArea);
    RegisterStandardSeriesType(&TPointSeries::StaticClass(), &GrafMsgPoint);
    RegisterSeriesType(&TPieSeries::StaticClass(), &GrafMsgGalleryPie, &GrafMsgStandard, 1);
    RegisterStandardSeriesType(&TFastLineSeries::StaticClass(), &GrafMsgFastLine);
    RegisterSeriesType(&THorizLineSeries::StaticClass(), &GrafMsgHorizontalLine, &GrafMsgStandard, 1);
    RegisterSeriesType(&THorizAreaSeries::StaticClass(), &GrafMsgHorizontalArea, &GrafMsgStandard, 1);
    return true;
  }();
  (void)done;
}

void RegisterStandardSeriesClasses() { RegisterStandardSeries(); }
