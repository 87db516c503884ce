// Shared set-up of the engine tests: example models, synthetic data and a
// perturbed work model in a private folder.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "core/engine.h"
#include "core/messagetrap.h"
#include "core/refinement.h"
#include "core/synthesis.h"
#include "model/rietclass.h"
#include "support/tempdir.h"

// The path of a file of examples/.
inline std::string ExampleFile(const std::string& name) {
  const char* root = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(root != nullptr ? root : "../..") + "/examples/" + name;
}

inline bool ReadModel(TRietveld& model, const std::string& fileName) {
  TMessageTrap trap;
  return model.ReadInputFile(fileName);
}

// One change of a model value at a refinement address.
struct TNudge {
  int H, P, A, T;
  double Delta;
};

inline void Nudge(TRietveld& model, const std::vector<TNudge>& nudges) {
  for (const TNudge& n : nudges) {
    float* v = ValueAddress(model, n.H, n.P, n.A, n.T);
    ASSERT_NE(v, nullptr) << n.H << " " << n.P << " " << n.A << " " << n.T;
    *v = static_cast<float>(*v + n.Delta);
  }
}

// Writes the pattern the model calculates for its first histogram, with
// Poisson noise, as "<folder>/data.<ext>"; returns the data name without extension.
inline std::string WriteSyntheticData(TRietveld& model, const TTempDir& dir, unsigned seed, const std::string& ext = ".dat") {
  std::vector<double> x, y;
  EXPECT_EQ(CalculatedPattern(model, 1, x, y), zeNone);
  const std::vector<double> counts = PoissonCounts(y, seed);
  const THistogram& h = *model.Histogram(1);
  const std::string base = dir.File("data");
  if (ext == ".gs")  // counts: weighted by the calculated intensity, as for .dat
    EXPECT_TRUE(WriteGsasStdFile(base + ext, "synthetic", h.Start, h.Step, counts));
  else
    EXPECT_TRUE(WriteDatFile(base + ext, "synthetic", h.Start, h.Step, counts));
  return base;
}

// Writes the model as the work input file of a run and starts an engine on it.
inline int StartEngine(TZdEngine& engine, TRietveld& model, const TTempDir& dir, const std::string& dataName) {
  const std::string input = dir.File("work.inp");
  {
    TMessageTrap trap;
    if (!model.WriteInputFile(input)) return -1;
  }
  return engine.Start(model.HistogramCount(), input, dataName, dir.File("work.out"), dir.File("work"));
}
