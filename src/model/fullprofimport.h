// Import of Fullprof input files (.pcr) in two layouts, told apart by the
// first line: one that begins with "COMM" is read in the free layout (values
// separated by blanks, lines beginning with "!" skipped), any other in the
// fixed layout, which is the DWBS layout (dwbsimport.h) with a few
// differences. Both give one histogram, the phases with their atoms, one
// sample per phase and the refinement codes.
#pragma once

#include <string>

#include "model/rietclass.h"

// Replaces the model by the file's contents and resolves its codes with the
// file's MaxCode. Returns Loaded, true only when the whole file was read.
//   - missing file: "Input file File does not exist", the model unchanged;
//   - a file that fits neither layout (its opening lines, title to cycles
//     line, cannot be read in the layout its first line selects) is refused
//     with a message naming the line; the model is unchanged;
//   - a failure further on leaves the model exactly as it was, with Loaded
//     false and the message "Error reading Inputfile at line n" (the file
//     ends early, a line lacks a value) or "Error reading a numeric value at
//     line n", followed by " The model is unchanged.".
// The free layout steps over the optional lines a phase announces: the line
// of the phase line's "More" flag and the distance and bond-valence block of
// its Jdi (the limits line; with "BVS" the cation and anion counts and their
// names), the beta lines of anisotropic atoms (N_t 2), the propagation vectors
// (Nvk) and the distance and angle restraints (Dis, Ang) after the phase's
// profile lines; "#" comments on atom lines are ignored. A preferred
// orientation that is off (no positive value or no direction) becomes the
// ratio 1.
// LineCounter is the number of the line being read (in the fixed layout from
// line 3 on; lines 1 and 2 count 1, 2 and 2.01).
bool ImportFullprof(TRietveld& model, const std::string& fileName);
