// Cell geometry, space-group operations and the reflections of a phase.
#pragma once

#include <array>
#include <complex>
#include <string>
#include <vector>

#include "core/limits.h"

using TMiller = std::array<int, 3>;
using TVec3 = std::array<double, 3>;
using TMat3 = std::array<std::array<double, 3>, 3>;

constexpr double Pi = 3.14159265358979323846;
constexpr double DegToRad = Pi / 180.0;

// A unit cell: lengths in Angstrom, angles in degrees.
class TCell {
public:
  TCell() = default;
  TCell(double a, double b, double c, double alpha, double beta, double gamma);

  bool IsValid() const { return FValid; }
  double Volume() const { return FVolume; }
  // Direct metric tensor G (G[i][j] = a_i . a_j) and reciprocal metric G*.
  const TMat3& Metric() const { return FMetric; }
  const TMat3& ReciprocalMetric() const { return FReciprocal; }
  // 1/d^2 = h G* h.
  double InverseDSquared(const TMiller& h) const;
  double DSpacing(const TMiller& h) const;
  // Distance between two fractional positions (no lattice translation).
  double Distance(const TVec3& x1, const TVec3& x2) const;
  // Length of a fractional vector.
  double Length(const TVec3& dx) const;
  // Cosine of the angle between two reciprocal-lattice directions.
  double ReciprocalCosine(const TVec3& h1, const TVec3& h2) const;
  // Cartesian coordinates (a along x, b in the xy plane) of a fractional vector.
  TVec3 Cartesian(const TVec3& x) const;
  double A() const { return FLengths[0]; }
  double B() const { return FLengths[1]; }
  double C() const { return FLengths[2]; }
  const std::array<double, 3>& Lengths() const { return FLengths; }
  const std::array<double, 3>& Angles() const { return FAngles; }

private:
  bool FValid = false;
  std::array<double, 3> FLengths{}, FAngles{};
  double FVolume = 0;
  TMat3 FMetric{}, FReciprocal{}, FOrtho{};
};

// One symmetry operation x' = R x + t (centring folded in).
struct TSymOp {
  std::array<std::array<int, 3>, 3> R{};
  TVec3 T{};
  // h R (the row vector h times R): the index that pairs with x in h.(R x).
  TMiller ApplyToHkl(const TMiller& h) const;
  TVec3 Apply(const TVec3& x) const;
};

// The symmetry of a phase, from its table symbol.
class TSpaceGroup {
public:
  // Interprets the symbol (table spelling, upper case, blank separated); a
  // cell with a = b = c and equal angles other than 90 degrees takes an R
  // group on rhombohedral axes. False when the symbol is not known.
  bool Assign(const std::string& symbol, const TCell& cell);
  bool IsValid() const { return !FOps.empty(); }
  const std::string& Name() const { return FName; }
  int Number() const { return FNumber; }
  // Every operation, centring included (the general multiplicity).
  const std::vector<TSymOp>& Operations() const { return FOps; }
  int Order() const { return static_cast<int>(FOps.size()); }
  bool IsCentrosymmetric() const { return FCentric; }
  // Cell lengths and angles (1 .. 6 for a, b, c, alpha, beta, gamma) that
  // the symmetry ties to an earlier one: the pairs (follower, leader).
  std::vector<std::pair<int, int>> CellTies() const;
  bool IsAbsent(const TMiller& h) const;
  // The distinct indices equivalent to h in the powder pattern (Friedel
  // pairs included); their number is the multiplicity.
  std::vector<TMiller> EquivalentIndices(const TMiller& h) const;
  int Multiplicity(const TMiller& h) const;
  // True when h is the largest of its equivalents (Friedel pairs included).
  bool IsRepresentative(const TMiller& h) const;
  // Operations that leave the position in place (up to a lattice translation).
  int StabiliserOrder(const TVec3& x, double tolerance = 1e-3) const;
  int SiteMultiplicity(const TVec3& x) const;
  // The distinct images of a position in the cell, reduced to [0, 1).
  std::vector<TVec3> Orbit(const TVec3& x, double tolerance = 1e-3) const;

private:
  std::string FName;
  int FNumber = 0;
  char FSystem = 'a';  // a triclinic, m, o, t, h hexagonal axes, r rhombohedral axes, c cubic
  bool FCentric = false;
  std::vector<TSymOp> FOps;
  std::vector<std::array<std::array<int, 3>, 3>> FRotations;  // point group, without duplicates
  std::vector<std::array<int, 3>> FCentringHalf;  // centring translations x 24
  std::vector<std::pair<std::array<std::array<int, 3>, 3>, std::array<int, 3>>> FIntOps;  // R, t x 24
};

// One independent reflection of a phase in a histogram.
struct TReflection {
  TMiller Hkl{};
  int Multiplicity = 0;
  double D = 0;  // d-spacing from the current cell
  std::complex<double> F;  // structure factor from the current atoms
  double F2 = 0;  // |F|^2 used for the intensity (extracted for Le Bail phases)
};

// The independent reflections with dMin <= d <= dMax, not systematically
// absent, one of each set of equivalents; ordered by decreasing d. False
// (and an empty list) when there would be more than `limit` of them or the
// search would visit more than `walkLimit` indices: both are estimated from
// the cell before the search starts.
bool GenerateReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax,
                         std::vector<TReflection>& list, std::size_t limit = MaxReflectionsPerPhase,
                         double walkLimit = MaxIndexWalk);
// The same without the refusal's flag (an empty list when refused).
std::vector<TReflection> GenerateReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax);
// About how many independent reflections lie in dMin <= d <= dMax.
double EstimatedReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax);
// How many (h, k, l) the search for d >= dMin visits.
double IndexWalk(const TCell& cell, double dMin);

// The fractional vector as a real triple.
inline TVec3 ToVec(const TMiller& h) { return {double(h[0]), double(h[1]), double(h[2])}; }
