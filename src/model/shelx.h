// Exchange with single-crystal style instruction files (.ins): the import
// starts a new model from a file's title and cell; the export writes phase 1
// of the model, with the wavelength of histogram 1, as a minimal instruction
// file (title, cell, lattice type, scattering types with their counts, one
// line per atom).
#pragma once

#include <string>

#include "model/rietclass.h"

// Starts a new model (one default histogram, sample and phase) with the title
// of the file's TITL line and the cell of its CELL line: the six values after
// the wavelength, the fields separated by runs of blanks and tabs. Returns
// Loaded. A missing file ("File does not exist"), a file without a CELL line
// and a CELL line without six readable cell values are reported and leave the
// model unchanged, not loaded.
bool ImportShelx(TRietveld& model, const std::string& fileName);

// Writes the instruction file. The atom lines carry x, y, z, the occupancy
// and the isotropic displacement as U = B / (8π²), which is what a reader of
// such files expects in that column. Renumbers the refined parameters and
// changes nothing else. Without histogram 1 or phase 1, or when the file
// cannot be written, a message is shown and false returned.
bool ExportShelx(TRietveld& model, const std::string& fileName);

// The text ExportShelx writes (histogram 1 and phase 1 must exist).
std::string ShelxText(const TRietveld& model);
