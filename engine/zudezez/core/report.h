// The engine's text output: the listing of a run, and the interatomic
// distances and angles of every phase.
#pragma once

#include <ostream>
#include <string>

#include "core/limits.h"

class TPattern;
class TRefinement;

// The model summary at the start of a run: histograms, phases, symmetry,
// reflections and the refined parameters.
void WriteListingStart(std::ostream& out, const TPattern& pattern, const TRefinement& refinement);
// One cycle: agreement factors and the parameters with shifts and errors.
void WriteListingCycle(std::ostream& out, const TPattern& pattern, const TRefinement& refinement, int cycle,
                       bool converged);
// The end of a run: reflections with observed and calculated |F|^2.
void WriteListingEnd(std::ostream& out, TPattern& pattern, const TRefinement& refinement);

// Distances between atoms in [rMin, rMax] Angstrom (rMax 0: 3.0), and the
// angles at each atom between such neighbours. The search and the listing
// are bounded (MaxBondDistance, MaxBondTrials, MaxListedDistances,
// MaxListedAngles); a listing that was cut ends with "Listing cut: <why>",
// and the reason is returned (empty when the listing is whole).
struct TBondLimits {
  double Distance = MaxBondDistance;
  double Trials = MaxBondTrials;
  std::size_t Lines = 0;  // 0: MaxListedDistances or MaxListedAngles
};
std::string WriteDistances(std::ostream& out, const TPattern& pattern, double rMin, double rMax,
                           const TBondLimits& limits = {});
std::string WriteAngles(std::ostream& out, const TPattern& pattern, double rMin, double rMax,
                        const TBondLimits& limits = {});
