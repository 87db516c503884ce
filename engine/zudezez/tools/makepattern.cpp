// Writes the observed data file of an example model: the engine's
// calculated pattern of its first histogram with seeded Poisson noise.
//
//   zv_makepattern model.inp data-file seed [title]
//
// The data file's extension picks the format: .dat, .gs (GSAS with
// standard errors) or .xy.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/messagetrap.h"
#include "core/synthesis.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s model.inp data-file seed [title]\n", argv[0]);
    return 2;
  }
  const std::string input = argv[1], output = argv[2];
  const unsigned seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
  TRietveld model;
  {
    TMessageTrap trap;
    if (!model.ReadInputFile(input)) {
      std::fprintf(stderr, "cannot read %s%s%s\n", input.c_str(), trap.Messages.empty() ? "" : ": ",
                   trap.Messages.empty() ? "" : trap.Messages.front().c_str());
      return 1;
    }
  }
  std::vector<double> x, y;
  if (int e = CalculatedPattern(model, 1, x, y); e != 0) {
    std::fprintf(stderr, "engine error %d\n", e);
    return 1;
  }
  const std::vector<double> counts = PoissonCounts(y, seed);
  const std::string title = argc > 4 ? argv[4] : model.Title;
  const THistogram& hist = *model.Histogram(1);
  bool ok = false;
  if (HasFileExt(output, ".gs"))
    ok = WriteGsasEsdFile(output, title, hist.Start, hist.Step, counts);
  else if (HasFileExt(output, ".xy"))
    ok = WriteXyFile(output, title, x, counts);
  else
    ok = WriteDatFile(output, title, hist.Start, hist.Step, counts);
  if (!ok) {
    std::fprintf(stderr, "cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}
