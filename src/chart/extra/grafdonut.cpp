// The donut series.
#include "chart/extra/grafdonut.h"

ZV_CLASS_IMPL(TDonutSeries, TPieSeries)

void TDonutSeries::DeclareProperties(TClassInfo& c) {
  using S = TDonutSeries;
  c.Integer<S>("DonutPercent", &S::DonutPercent, &S::SetDonutPercent, 50);
}

TDonutSeries::TDonutSeries(TComponent* AOwner) : TPieSeries(AOwner) { FDonutPercent = 50; }

void TDonutSeries::Assign(TPersistent* Source) {
  if (auto* d = dynamic_cast<TDonutSeries*>(Source)) FDonutPercent = d->FDonutPercent;
  TPieSeries::Assign(Source);
  if (FDonutPercent <= 0) FDonutPercent = 50;
}
