// The calculated powder pattern of every histogram of a model: reflections
// of every phase, structure factors, intensity corrections, peak shapes and
// background, and the agreement factors against the observed points.
#pragma once

#include <array>
#include <complex>
#include <memory>
#include <string>
#include <vector>

#include "core/crystal.h"
#include "core/profile.h"
#include "core/scattering.h"

class TRietveld;
class THistogram;
class TPhase;
class TSample;

// Engine error numbers (the binding turns them into texts).
constexpr int zeNone = 0, zeInputFile = 1, zeOutputFile = 2, zeBondFile = 4, zeDataFile = 6, zeHistogramRange = 10,
              zeDataLines = 21, zeDataFirstLine = 22, zeNoBackgroundFile = 24, zeReadInput = 34, zeJobType = 45,
              zeScatterNotFound = 50, zeSpaceGroup = 51, zeNoReflections = 52, zePreferredOrientation = 53,
              zeAsymmetry = 54, zeAmorphousBackground = 60, zeInterpolatedBackground = 61, zeNoLeBailFile = 70,
              zeLeBailFile = 71, zePeakWidth = 80, zeTooManyParameters = 44, zeMemory = 100, zeInternal = 900,
              zeUnstable = 200;

// How the observed points are weighted.
enum TWeightMode {
  wmCounts,    // Poisson counts: variance = calculated intensity
  wmCounters,  // counts summed over `Third` counters: variance = calculated / counters
  wmSigma,     // `Third` is the standard error
  wmWeight,    // `Third` is the weight
};

// The points of one histogram.
struct THistogramData {
  std::vector<double> X, Observed, Third;
  TWeightMode Mode = wmCounts;
  bool Calculation = false;    // calculation only: no observed points
  std::vector<char> Used;      // inside the refined range and not excluded
  std::vector<double> Weight;  // 1 / variance, fixed for a cycle
  std::vector<double> Calculated, Background;
  std::vector<double> TabulatedBackground;  // background kinds 1 and -7
};

// One peak of a reflection in a histogram (each wavelength gives one).
struct TPeak {
  double Position = 0;   // x of the centre
  double Intensity = 0;  // integrated intensity
  TPeakShape Shape;
};

// Agreement of one histogram (percentages for the R factors).
struct TAgreement {
  double Rp = 0, Rwp = 0, Rexp = 0, Chi2 = 0;
  int Points = 0;
};

// A phase seen by one histogram: its reflections and structure-factor caches.
struct TPhaseView {
  int Phase = 0;  // 1-based
  std::vector<TReflection> Reflections;
  std::vector<TScatterer> Scatterers;   // per atom
  // Contribution of each atom to every reflection's structure factor, and
  // the values it was computed from.
  std::vector<std::vector<std::complex<double>>> AtomF;
  std::vector<std::array<float, 11>> AtomKey;
  std::vector<double> SharedKey;
};

class TPattern {
public:
  explicit TPattern(TRietveld& model);
  ~TPattern();

  TRietveld& Model() const { return FModel; }
  int HistogramCount() const { return static_cast<int>(FData.size()); }
  THistogramData& Data(int h) { return FData[static_cast<std::size_t>(h - 1)]; }
  const THistogramData& Data(int h) const { return FData[static_cast<std::size_t>(h - 1)]; }
  std::vector<TPhaseView>& Views(int h) { return FViews[static_cast<std::size_t>(h - 1)]; }
  const std::vector<TPhaseView>& Views(int h) const { return FViews[static_cast<std::size_t>(h - 1)]; }
  const TSpaceGroup& Group(int phase) const { return FGroups[static_cast<std::size_t>(phase - 1)]; }
  TCell Cell(int phase) const;

  // Installs the points of histogram h (observed, or the calculation grid).
  void SetData(int h, THistogramData data);
  // Checks the model and builds reflections, scatterers and ranges once the
  // data of every histogram is set; returns an engine error number.
  int Prepare();

  // Recalculates histogram h (all when h is 0). Returns an engine error number.
  int Calculate(int h = 0);
  // The peaks of reflection r of view v in histogram h with the current values.
  std::vector<TPeak> Peaks(int h, const TPhaseView& view, const TReflection& r) const;
  // The d-spacing of reflection r of phase p in the current cell.
  double Spacing(int phase, const TReflection& r) const;

  // Weights for the next cycle from the current calculation (and data).
  void UpdateWeights(int h = 0);
  // Weighted sum of squared residuals of histogram h (all when 0).
  double WeightedSum(int h = 0) const;
  int ObservationCount() const;
  TAgreement Agreement(int h, int refinedCount) const;

  // Observed |F|^2 of every reflection of view v by Rietveld partitioning of
  // the observed intensity (above background) among overlapping peaks.
  std::vector<double> ObservedF2(int h, const TPhaseView& view) const;
  // Le Bail phases: replaces their |F|^2 by the partitioned values.
  void ExtractLeBail(int iterations = 1);
  bool HasLeBailPhase() const;

  // The x of reflection r's first peak, or NaN when it has none.
  double MarkerPosition(int h, const TPhaseView& view, const TReflection& r) const;

  // Recomputes the structure factors of view v where its atoms changed.
  void UpdateStructureFactors(int h, TPhaseView& view);
  // Structure factor of any indices from the phase's atoms (histogram h's scattering).
  std::complex<double> StructureFactor(int h, const TPhaseView& view, const TMiller& hkl) const;
  // F(000): the sum of every atom's forward scattering in the cell.
  double ForwardScattering(int h, const TPhaseView& view) const;

  // Scattering vector 4 pi sin(theta) / lambda at x of histogram h.
  double ScatteringVector(int h, double x) const;
  // d-spacing seen at x of histogram h (0 when none).
  double SpacingAtX(int h, double x) const;

private:
  std::complex<double> AtomContribution(const TPhaseView& view, int atom, const TMiller& hkl, double stol2,
                                        const TPhase& phase) const;
  double IntensityFactor(int h, const TPhaseView& view, const TReflection& r, const TSample& s, double twoThetaOrD,
                         double wavelength) const;
  void WidthTerms(int h, const TPhaseView& view, const TReflection& r, const TSample& s, double widthArg,
                  double& g2, double& lorentz) const;
  int CheckSample(int h, int p) const;

  TRietveld& FModel;
  std::vector<THistogramData> FData;
  std::vector<std::vector<TPhaseView>> FViews;
  std::vector<TSpaceGroup> FGroups;
};

// The x of a d-spacing in histogram h's kind (CW 2theta with the first
// wavelength, TOF time, ED energy), before zero and displacement.
double PositionOfSpacing(const THistogram& hist, double d, double wavelength);
// True when x lies in the measured range of histogram h, between the first
// and the last point the refinement uses, and outside its excluded regions
// (a calculation-only histogram: anywhere on its grid). Reflections outside
// it have no observed intensity.
bool InMeasuredRange(const TPattern& pattern, int h, double x);
// Incident intensity of a time-of-flight histogram at time t (1 when unset).
double IncidentSpectrum(const THistogram& hist, double t);
