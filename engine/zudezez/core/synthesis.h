// Synthetic observed data: the calculated pattern of a model with counting
// noise, written in the data-file formats the model's readers take.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TRietveld;

// The calculated pattern of histogram h on its own range (Start, Step,
// Stop), whatever its job. Returns an engine error number.
int CalculatedPattern(TRietveld& model, int h, std::vector<double>& x, std::vector<double>& y);

// Counts drawn from Poisson distributions with the given means, from a
// seeded generator (the same seed gives the same counts everywhere).
std::vector<double> PoissonCounts(const std::vector<double>& means, uint32_t seed);

// Standard data file (.dat): header "start step stop title", then ten
// counts of eight columns to a line.
bool WriteDatFile(const std::string& fileName, const std::string& title, double start, double step,
                  const std::vector<double>& counts);
// GSAS raw file with standard errors (ESD layout): start and step in
// hundredths of the unit as the bank line carries them.
bool WriteGsasEsdFile(const std::string& fileName, const std::string& title, double start, double step,
                      const std::vector<double>& counts);
// GSAS raw file of counts (STD layout, ten counts of eight columns to a line).
bool WriteGsasStdFile(const std::string& fileName, const std::string& title, double start, double step,
                      const std::vector<double>& counts);
// Two columns x, y.
bool WriteXyFile(const std::string& fileName, const std::string& title, const std::vector<double>& x,
                 const std::vector<double>& counts);
