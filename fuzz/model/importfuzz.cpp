// Runs every importer and structure reader on randomly damaged copies of the
// fixtures under tests/model/import/ and checks what must hold whatever the
// input: a reader that fails says why, and a model import reports exactly
// what its Loaded flag says. Crashes and undefined behaviour are left to the
// sanitizers. Exit status: 0 when nothing was wrong, 1 otherwise.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/dwbsimport.h"
#include "model/fullprofimport.h"
#include "model/gsasimport.h"
#include "model/shelx.h"
#include "model/structurefiles.h"
#include "platform/dialogs.h"
#include "platform/rtl/textfile.h"

namespace {

struct TTarget {
  const char* Fixture;
  const char* Extension;
  std::function<bool(TRietveld&, const std::string&)> Import;
  std::function<bool(const std::string&, TPhase&)> Read;
};

std::string Damage(const std::string& text, std::mt19937& random) {
  std::string s = text;
  const int changes = 1 + static_cast<int>(random() % 8);
  for (int k = 0; k < changes && !s.empty(); ++k) {
    const std::size_t at = random() % s.size();
    switch (random() % 6) {
      case 0: s[at] = static_cast<char>(random() & 0xFF); break;
      case 1: s[at] = "0123456789-.+eE \n\r\t!_;'\"#("[random() % 27]; break;
      case 2: s.erase(at, 1 + random() % 40); break;
      case 3: s.insert(at, s.substr(random() % s.size(), 1 + random() % 80)); break;
      case 4: s.resize(at); break;
      default: s.insert(at, std::to_string(static_cast<int>(random())));
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <fixture folder> [rounds] [seed]\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  const long rounds = argc > 2 ? std::atol(argv[2]) : 2000;
  std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::atol(argv[3])) : 1u);

  int messages = 0;
  SetDialogHandler([&](const TDialogRequest&) {
    ++messages;
    return TDialogAnswer{};
  });

  const TTarget targets[] = {
      {"quartz.dwb", ".dwb", ImportDWBS, nullptr},          {"fixed.pcr", ".pcr", ImportFullprof, nullptr},
      {"free.pcr", ".pcr", ImportFullprof, nullptr},        {"two.exp", ".exp", ImportGSAS, nullptr},
      {"cell.ins", ".ins", ImportShelx, nullptr},           {"atoms.txt", ".txt", nullptr, ReadAtomFile},
      {"structure.cif", ".cif", nullptr, ReadCifFile},      {"expo.xyz", ".xyz", nullptr, ReadExpoXyzFile},
  };
  std::vector<std::string> fixtures;
  for (const TTarget& t : targets) fixtures.push_back(ReadFileText(folder + t.Fixture));

  const char* tmp = std::getenv("TMPDIR");
  const std::string work = std::string(tmp ? tmp : "/tmp") + "/zv_importfuzz_" + std::to_string(::getpid());
  int faults = 0;
  for (long round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < std::size(targets); ++i) {
      const TTarget& t = targets[i];
      const std::string text = Damage(fixtures[i], random);
      const std::string file = work + t.Extension;
      WriteFileText(file, text);
      messages = 0;
      bool ok;
      bool consistent = true;
      if (t.Import) {
        TRietveld model;
        ok = t.Import(model, file);
        consistent = ok == model.Loaded;
      } else {
        TPhase phase;
        phase.Title = "Kept";
        ok = t.Read(file, phase);
        consistent = ok || (phase.Title == "Kept" && phase.AtomCount() == 0);
      }
      if (!consistent || (!ok && messages == 0)) {
        ++faults;
        const std::string keep = work + "_fault" + std::to_string(faults) + t.Extension;
        WriteFileText(keep, text);
        std::printf("fault in round %ld (%s): kept as %s\n", round, t.Fixture, keep.c_str());
      }
    }
  }
  for (const TTarget& t : targets) std::remove((work + t.Extension).c_str());
  std::printf("%ld rounds, %d faults\n", rounds, faults);
  return faults == 0 ? 0 : 1;
}
