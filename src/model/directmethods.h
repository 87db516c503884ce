// The starting job file of a direct-methods structure-solution program, from
// phase 1 and histogram 1 of the model: job title, wavelength, cell and space
// group, with two placeholder lines the user completes by hand (the file of
// extracted intensities and the expected cell contents).
#pragma once

#include <string>

#include "model/rietclass.h"

// Writes the job file. Renumbers the refined parameters and changes nothing
// else. Without histogram 1 or phase 1, or when the file cannot be written, a
// message is shown and false returned.
bool ExportSir(TRietveld& model, const std::string& fileName);

// The text ExportSir writes (histogram 1 and phase 1 must exist).
std::string SirJobText(const TRietveld& model);
