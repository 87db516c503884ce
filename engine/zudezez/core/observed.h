// The points of each histogram: the observed data file of a measured
// histogram, read with the model's data-file readers, or the calculation
// grid of a calculation-only one.
#pragma once

#include <string>

#include "core/pattern.h"

class TRietveld;

// The data file of histogram h for the data name the engine was given (a
// path with or without extension): the name itself when it is a file,
// otherwise the name with the extension of the model's data format (.dat,
// .gs, .xy, .cpi, either case); histogram h > 1 of several reads the file
// of the name followed by "_" and its number. Empty when none exists.
std::string FindDataFile(const TRietveld& model, const std::string& dataName, int h);

// Fills the points of histogram h. Returns an engine error number: 6 no
// data file, 21 or 22 a file that cannot be read, 24 a background file
// missing, 80 a calculation range without points.
int LoadHistogramData(const TRietveld& model, const std::string& dataName, int h, THistogramData& data);
