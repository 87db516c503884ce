// Fourier and Patterson maps of a phase on a 64 x 64 x 64 grid over the
// unit cell, and the radial distribution curves of its structure.
#pragma once

#include <complex>
#include <vector>

class TPattern;

constexpr int MapGrid = 64;

// In-place radix-2 transform of n points spaced `stride` apart:
// X_k = sum x_j exp(sign 2 pi i j k / n). n must be a power of two.
void Fft1D(std::complex<double>* data, int n, int stride, int sign);
// The same along each of the three axes of an n^3 grid (index (i n + j) n + k).
void Fft3D(std::vector<std::complex<double>>& grid, int n, int sign);

// Map kinds.
constexpr int mkFourierObs = 0, mkFourierCalc = 1, mkFourierDiff = 2, mkPattersonObs = 3, mkPattersonCalc = 4,
              mkPattersonDiff = 5;

// The map of phase p against histogram h (both 1-based): observed
// amplitudes from the Rietveld partitioning of the observed pattern,
// phases from the calculated structure factors; electrons (or fm) per cubic
// Angstrom. The grid is returned as [slice][row][column] with the slices
// along `axis` (1 x, 2 y, 3 z) and rows and columns along the next two axes
// in turn. Returns 0, or 1 for an argument out of range, 2 for a map the
// phase cannot give (no atoms to phase a Fourier map), 3 for a map that
// would cost more than MaxMapWork structure-factor terms.
int ComputeMap(TPattern& pattern, int h, int p, int axis, int kind, std::vector<float>& map, float& minimum,
               float& maximum);

// Radial distribution curves of phase p at R = i range / points for
// i = 0 .. points - 1. Kinds: 1 PDF g(R), 2 G(R) = g - 1, 3 D(R) = 4 pi rho0 R
// (g - 1), 4 T(R) = 4 pi rho0 R g, 5 N(R) the running coordination number.
// Atoms are weighted by their scattering in histogram 1 and broadened by
// their displacement parameters. Returns 0, or 1 for bad arguments (a range
// beyond MaxRdfRange among them), 2 for a phase without atoms, 3 for a
// curve that would try more than MaxRdfTrials pair positions.
int ComputeRdf(const TPattern& pattern, int p, int kind, double range, int points, float* values);
