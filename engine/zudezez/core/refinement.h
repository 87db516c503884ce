// Least-squares refinement of the parameters the model's codes select:
// derivatives of the calculated pattern (in closed form where the pattern
// has them, central differences otherwise), Marquardt-damped normal
// equations, relaxation factors by parameter group, standard errors from the
// inverse normal matrix and the termination criterion.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TPattern;
struct TDerivativeTerm;
using TDerivativeColumn = std::vector<TDerivativeTerm>;
class TRietveld;

// The real of the model at a refinement address (h, p, a, t): histogram,
// phase, atom and sample values, and scattering entries as (h, 99, 1 | 2,
// entry). nullptr when the address names nothing. With `reading`, a sample
// address of a phase value (types 1, 2, 6 .. 11) gives the phase's value.
float* ValueAddress(TRietveld& model, int h, int p, int a, int t, bool reading = false);

// One address that moves with a refined variable: value += Multiplier x shift.
struct TMember {
  int H = 0, P = 0, A = 0, T = 0;
  double Multiplier = 1;
  float* Value = nullptr;
};

// One independent variable of the least squares.
struct TVariable {
  int Number = 0;  // refinement number from the codes
  std::vector<TMember> Members;
  int Group = 3;      // relaxation factor 1 .. 4
  double Step = 1e-4;  // numerical derivative step
  bool Analytic = false;  // every member has a closed-form derivative
  std::vector<int> Histograms;  // affected histograms (empty: all)
  double Esd = 0;
  double LastShift = 0;
  std::string Name;  // for listings
};

class TRefinement {
public:
  explicit TRefinement(TPattern& pattern);

  // Collects the variables from the model's refined parameters and
  // constraints. Returns an engine error number.
  int Build();
  const std::vector<TVariable>& Variables() const { return FVariables; }
  int VariableCount() const { return static_cast<int>(FVariables.size()); }

  // One cycle: derivatives, normal equations, shifts. Sets converged when
  // every shift is below the termination criterion times its standard
  // error and the weighted sum fell by at most 0.1 %. `progress` receives 0 .. 100. Returns an engine error number;
  // on an error the values are those before the cycle.
  int Cycle(bool& converged, const std::function<void(double)>& progress = {});

  // Solves for the refined scales (phase and histogram scales, alone in
  // their variable) directly: the pattern is linear in them, so one linear
  // least-squares step with every other value held puts them at their
  // minimum, however far off they start. Called once before the first
  // cycle; keeps the old values when the step would not lower the weighted
  // sum or would make a scale negative. Returns an engine error number.
  int SolveScales();

  // Standard error of the value at an address: |multiplier| x error of its
  // variable; false when the address is not refined.
  bool AddressEsd(int h, int p, int a, int t, double& esd) const;
  // The variable with a refinement number, or nullptr.
  const TVariable* VariableByNumber(int number) const;

  // Central differences for every variable (the reference the closed forms
  // are checked against).
  void SetNumericDerivatives(bool on) { FNumeric = on; }
  // The derivative of every observed point with respect to every variable
  // at the current values: one row per point of each histogram in turn
  // (used points only), VariableCount columns. Returns an engine error number.
  int Derivatives(std::vector<double>& rows);
  // The normal equations A d = g of the current values, A whole (row-major,
  // VariableCount^2), as a cycle builds them. Returns an engine error number.
  int NormalEquations(std::vector<double>& a, std::vector<double>& g);

  // Marquardt factor in use (changes with the automatic strategy).
  double Lambda() const { return FLambda; }
  // Weighted sum of squares before and after the last cycle.
  double SumBefore() const { return FSumBefore; }
  double SumAfter() const { return FSumAfter; }
  // Name of the parameter that made the last cycle fail, if any.
  const std::string& Problem() const { return FProblem; }
  // Correlation matrix of the last cycle (row-major, VariableCount^2).
  const std::vector<double>& Correlation() const { return FCorrelation; }

private:
  double Relaxation(int group) const;
  // Fills the pattern's derivative matrices (some columns as reflection
  // profiles, see THistogramData); returns an engine error number.
  int FillDerivatives(const std::function<void(double)>& progress);
  // The normal equations of the pattern's derivatives as they stand.
  void NormalEquationsOfPattern(std::vector<double>& a, std::vector<double>& g) const;
  // The closed-form columns; false when some variable needs central differences.
  bool AnalyticColumns(std::vector<TDerivativeColumn>& columns) const;
  void Shift(const std::vector<double>& shifts);
  void Restore(const std::vector<float>& saved);
  std::vector<float> Save() const;

  TPattern& FPattern;
  TRietveld& FModel;
  std::vector<TVariable> FVariables;
  double FLambda = 0;
  bool FNumeric = false;
  double FSumBefore = 0, FSumAfter = 0;
  // The accepted trial of the last cycle was computed with its derivatives:
  // they serve the next cycle while the values and the pattern are the same.
  bool FReady = false;
  std::vector<float> FReadyAt;
  unsigned long FReadyGeneration = 0;
  std::string FProblem;
  std::vector<double> FCorrelation;
};

// Solves the symmetric positive definite system A x = b (row-major n x n)
// by Cholesky decomposition; false when A is not positive definite.
bool SolveSymmetric(std::vector<double> a, std::vector<double>& b, int n);
// Inverts the symmetric positive definite A in place; false when singular.
bool InvertSymmetric(std::vector<double>& a, int n);
