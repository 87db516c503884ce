// Import of GSAS experiment files (.exp): records of fixed columns whose first
// 12 characters are the key. The model gets the histograms (kind, instrument
// constants, scale, excluded regions, fixed background points, background
// model), the phases (name, cell, space group, atoms) and per histogram-phase
// pair the scale, extinction, preferred orientation and profile terms.
// Refinement flags are not imported: the refinement set is empty afterwards.
#pragma once

#include <string>

#include "model/rietclass.h"

// Replaces the model by what the file holds. Returns Loaded, which is true
// when the whole file was read.
//   - missing file: "File does not exist", the model unchanged;
//   - a file without a single experiment record (empty, binary, another
//     program's file) or announcing an impossible number of histograms is
//     refused with a message; the model is unchanged;
//   - CRS or HAP records of a phase the file does not count, and HAP records
//     of a histogram without samples, are ignored and reported once;
//   - a value that is not a number ("Error reading a numeric value at line n")
//     or a file cut inside a value ("Error reading Inputfile at line n") ends
//     the read; the model keeps what was read, with Loaded false.
//   - a file that ends before all the atoms a phase's NATOM record counts is
//     reported; the model keeps what was read, with Loaded false.
// Conversions: N := fraction x multiplicity / M (M the general multiplicity
// of the phase's space group; a group the library does not know keeps
// fraction x multiplicity and is reported); constant-wavelength GU, GV, GW
// (Gaussian variances, centidegrees squared) x 8 ln 2 / 10^4 into U, V, W;
// ICONS columns 53-62 into the K alpha 2 ratio; a histogram-1 scale folded
// into the phase scales (the other histograms' scales divided by it), as the
// engine input file holds none for histogram 1.
// LineCounter is the number of the line being read.
bool ImportGSAS(TRietveld& model, const std::string& fileName);
