// The engine's text output: the listing of a run, and the interatomic
// distances and angles of every phase.
#pragma once

#include <ostream>
#include <string>

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
// angles at each atom between such neighbours.
void WriteDistances(std::ostream& out, const TPattern& pattern, double rMin, double rMax);
void WriteAngles(std::ostream& out, const TPattern& pattern, double rMin, double rMax);
