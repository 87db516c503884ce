// Import of DWBS input files (.dwb): one histogram and any number of phases in
// fixed columns, each line of refinable values followed by a line of their
// refinement codes. The older fixed layout of Fullprof input files is the same
// layout with a few differences, read here as well.
#pragma once

#include <string>

#include "model/rietclass.h"

class TImportLines;

// Replaces the model by the file's contents and turns its codes into the
// refinement set (limit: the file's MaxCode). Returns Loaded, which is true
// only when the whole file was read.
//   - missing file: "Input file File does not exist", the model unchanged;
//   - a file whose opening lines (title to cycles line) do not fit the layout
//     is refused with a message naming the line; the model is unchanged;
//   - a failure further on ("Error reading Inputfile at line n" when the file
//     ends early, "Error reading a numeric value at line n" for a field that
//     is not a number) keeps what was read, with Loaded false.
// From line 3 on, LineCounter is the number of the line being read.
bool ImportDWBS(TRietveld& model, const std::string& fileName);

// The layout itself, from the first line on, into a model that it resets.
// With fullprof set it reads the fixed layout of Fullprof files. headerRead is
// set once the cycles line has been read.
void ReadDwbsLayout(TRietveld& model, TImportLines& lines, bool fullprof, bool& headerRead);

// One scattering entry: its line and, for an X-ray constant-wavelength
// histogram, nine coefficients or a table of points ended by -100.
void ReadDwbsScatterEntry(TImportLines& lines, const THistogram& histogram, TScatterFactor& entry);

// The checks of the counts of a histogram line that every layout shares:
// a known histogram kind and background model, and counts that are neither
// negative nor beyond the lines of the file. `where` names the line.
void CheckImportCounts(const std::string& where, int job, int background, int phases, int excluded, int entries,
                       int fileLines);
// A flag of the control line must fit its one column of the engine input
// file: 0 to 9 (value k of line `line`).
int CheckImportFlag(int value, int line, int k);
