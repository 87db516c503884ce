// What one engine run may ask of the machine. The engine runs inside the
// program, so an input that could hang it or make it allocate without bound
// is refused before the work starts, with an error number of its own; the
// numbers are listed in engine/zudezez/README.md.
#pragma once

#include <cstddef>
#include <string>

class TRietveld;
class TPattern;

// Error numbers of the limits (the others are in pattern.h); the binding has a text for each.
constexpr int zeCloseFiles = 5, zeExcessiveOverlap = 46, zeTooManyReflections = 47, zeTooManyPoints = 48, zeCellRange = 49,
              zeValueRange = 56;

// Independent reflections of one phase in one histogram, and of the whole run.
constexpr std::size_t MaxReflectionsPerPhase = 200000;
constexpr std::size_t MaxReflectionsTotal = 200000;
// (h, k, l) triples the reflection generation may visit for one phase.
constexpr double MaxIndexWalk = 5e7;
// Reflections times atoms in the cell (one structure-factor calculation).
constexpr double MaxStructureWork = 4e8;
// Points under all peaks of one calculation of the pattern (each peak
// covers its reach in widths on either side), weighted by their cost.
// About 2e5 reflections of 100 points each; a cycle calculates the
// pattern with its derivatives a few times over.
constexpr double MaxProfileWork = 2e7;
// The reach of a peak in FWHMs (the histogram's base width).
constexpr double MaxBaseWidth = 100;
// Points of one histogram, and of all histograms together.
constexpr std::size_t MaxPointsPerHistogram = 1000000;
constexpr std::size_t MaxPointsTotal = 4000000;
// Cell lengths (Angstrom), angles (degrees) and the least V / (a b c): a
// nearly flat cell makes every lattice search explode.
constexpr double MinCellLength = 0.1, MaxCellLength = 1000;
constexpr double MinCellAngle = 5, MaxCellAngle = 175;
constexpr double MinCellShape = 0.01;
// Displacement parameters B (square Angstrom), isotropic and overall.
constexpr double MaxDisplacement = 1000;
// Bond and angle listings: the search reaches at most this far (Angstrom),
// tries at most this many positions, and lists at most this many lines.
constexpr double MaxBondDistance = 10;
constexpr double MaxBondTrials = 2e7;
constexpr std::size_t MaxListedDistances = 100000, MaxListedAngles = 200000;
// Radial distribution: pair positions tried, and the largest range (Angstrom).
constexpr double MaxRdfTrials = 5e7;
constexpr double MaxRdfRange = 1000;
// Fourier maps: structure-factor terms (indices on the grid times atoms in the cell).
constexpr double MaxMapWork = 5e8;

// A number in the texts of the limits ("1E8", "0.5"), whatever the locale.
std::string LimitText(double x);

// Checks the model before any work: cell, displacement parameters, finite
// values and the points of calculation-only histograms. Returns an engine
// error number; `problem` tells what was refused.
int CheckModelLimits(const TRietveld& model, std::string& problem);

// The points a range and step ask for (0 when they make no range), as a real.
double RequestedPoints(double start, double step, double stop);
// The number of points of a calculation-only histogram with this range, or
// 0 when the range and step give none or more than MaxPointsPerHistogram.
std::size_t CalculationPoints(double start, double step, double stop);

// After the reflections are generated: reflections times atoms in the cell.
int CheckStructureWork(const TPattern& pattern, std::string& problem);
// Before a calculation with the current values: the points under all peaks,
// weighted by their cost (absurd widths make every peak cover every point),
// and the largest FWHM as a fraction of its histogram's range. A peak wider
// than the whole range is refused as well.
// `histogram` 0 counts all histograms, otherwise that one only.
double ProfileWork(const TPattern& pattern, double* widest = nullptr, int histogram = 0);
int CheckProfileWork(const TPattern& pattern, std::string& problem, int histogram = 0);
// A time-of-flight point costs about this many of the others: two complex
// exponential integrals of 50 to 250 ns against a few ns for a pseudo-Voigt
// (measured on whole calculations of the examples and of hostile inputs).
constexpr double TofPointCost = 100;
