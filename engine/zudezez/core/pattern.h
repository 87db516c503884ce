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
  // The points' constant step (0 when they have none) and how far they sit
  // off it (x kept in single precision).
  double Step = 0, StepDeviation = 0;
  // d Calculated / d column of the last CalculateDerivatives, column-major
  // (point i, column j at j x X.size() + i).
  std::vector<double> Derivatives;
  int DerivativeColumns = 0;
  // With reflection profiles asked for, the columns of values that reach the
  // pattern only through |F|^2 (ProfileColumns) are 0 in Derivatives and kept
  // instead as a sum over reflections of the reflection's profile times one
  // coefficient for each such column: far fewer numbers, and normal
  // equations that take the overlaps of the profiles instead of every point
  // of every column.
  struct TReflectionProfile {
    std::size_t First = 0, Count = 0;  // points First .. First + Count - 1
    std::size_t Offset = 0;            // its values at ProfileValues[Offset ..]
    std::size_t Coefs = 0;             // its coefficients at ProfileCoefs[Coefs ..]
  };
  std::vector<int> ProfileColumns;
  std::vector<TReflectionProfile> Profiles;  // by First
  std::vector<double> ProfileValues;
  // ProfileColumns.size() coefficients for each profile.
  std::vector<double> ProfileCoefs;
};

// One model value a refined variable moves: value += Multiplier x shift.
struct TDerivativeTerm {
  int H = 0, P = 0, A = 0, T = 0;
  double Multiplier = 1;
};
using TDerivativeColumn = std::vector<TDerivativeTerm>;

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
  // With derivatives wanted: per atom and reflection, the sums of AtomF
  // without its weight, times h'_1 .. h'_3, times h'_i h'_j (11 22 33 12 13
  // 23), and alone.
  std::vector<std::vector<std::array<std::complex<double>, 10>>> AtomSums;
  std::vector<double> SharedKey, ScatterKey;
  // Real part of every atom's scattering factor at every reflection
  // (atom-major), kept while the cell and the scattering entries stay.
  std::vector<double> Form;
  // Equivalent indices of every reflection (orientation over all of them).
  std::vector<std::vector<TMiller>> Equivalents;
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
  // True when the derivative of the pattern with respect to the value at the
  // refinement address is calculated in closed form.
  bool HasAnalyticDerivative(int h, int p, int a, int t) const;
  // Recalculates every histogram as Calculate does and, with it, the
  // derivative of every point with respect to each column (each term of a
  // column must have an analytic derivative; an empty column gives zeros).
  // With `profiles`, the columns whose every term reaches the pattern only
  // through |F|^2 (atoms, overall displacement, scattering entries) are
  // kept as reflection profiles (see THistogramData).
  int CalculateDerivatives(const std::vector<TDerivativeColumn>& columns, bool profiles = false);
  // Counts the calculations of any histogram: a pattern (and its derivatives)
  // is still the one computed when the count has not moved.
  unsigned long Generation() const { return FGeneration; }
  // The peaks of reflection r of view v in histogram h with the current values.
  std::vector<TPeak> Peaks(int h, const TPhaseView& view, const TReflection& r) const;
  // The peaks of every reflection of every view in histogram h, as Peaks
  // gives them but without their intensities (left at 0).
  void PeakShapes(int h, std::vector<TPeak>& peaks) const;
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
  // The factor that turns an atom's occupancy into the weight of its sum
  // over the symmetry operations.
  double OccupancyFactor(const TPhaseView& view, int atom) const;
  // F(000): the sum of every atom's forward scattering in the cell.
  double ForwardScattering(int h, const TPhaseView& view) const;

  // Scattering vector 4 pi sin(theta) / lambda at x of histogram h.
  double ScatteringVector(int h, double x) const;
  // d-spacing seen at x of histogram h (0 when none).
  double SpacingAtX(int h, double x) const;

  struct TDerivativePlan;

private:
  std::complex<double> AtomContribution(const TPhaseView& view, int atom, const TMiller& hkl, double stol2,
                                        const TPhase& phase, std::array<std::complex<double>, 10>* sums = nullptr) const;
  int CheckSample(int h, int p) const;
  int CalculateHistogram(int h, const TDerivativePlan* plan);

  TRietveld& FModel;
  std::vector<THistogramData> FData;
  std::vector<std::vector<TPhaseView>> FViews;
  std::vector<TSpaceGroup> FGroups;
  // Per phase: one operation of each pair (R, t), (-R, -t) when the
  // operations all pair up so (the images of a pair give conjugate terms);
  // empty otherwise.
  std::vector<std::vector<int>> FPairedOps;
  unsigned long FGeneration = 0;
  bool FDerivatives = false;  // a refinement asks for derivatives: keep what they need
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
