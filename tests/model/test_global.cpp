#include <gtest/gtest.h>

#include <cstdlib>

#include "model/global.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"

namespace {

TEST(Global, StartsEmpty) {
  EXPECT_EQ(Refinement, nullptr);
  EXPECT_EQ(Model, nullptr);
  EXPECT_EQ(LoadedData, nullptr);
  EXPECT_EQ(Transformation, nullptr);
  EXPECT_EQ(ScatterSymbols, nullptr);
  EXPECT_TRUE(WorkFolder.empty());
  EXPECT_EQ(UserMenuCount, 0);
  EXPECT_EQ(Instruments[1].Title, "");
  EXPECT_FALSE(RunOptions.QSUpdate);
}

TEST(Global, OneBasedArraysRefuseIndexesOutsideTheirRange) {
  Instruments[20].Wave1 = 1.5;
  EXPECT_EQ(Instruments[20].Wave1, 1.5);
  EXPECT_THROW(Instruments[0], std::out_of_range);
  EXPECT_THROW(Instruments[21], std::out_of_range);
  EXPECT_NO_THROW(UserMenuItems[100]);
  EXPECT_THROW(UserMenuItems[101], std::out_of_range);
  Instruments[20] = TInstrument();
}

TEST(Global, UpdateMirrorPaths) {
  const std::string common = "/pub/physics/neutron/rietveld/Zelvora_KORV95/updates/";
  EXPECT_EQ(UpdateMirrorPath(0), common);
  EXPECT_EQ(UpdateMirrorPath(7), "/var/spool/ftp" + common);
  EXPECT_EQ(UpdateMirrorPath(-1), "/var/spool/ftp" + common);
  EXPECT_EQ(UpdateMirrorPath(1), UpdateMirrorPath(4));
  EXPECT_EQ(UpdateMirrorPath(3).rfind("/pub/xtallography/", 0), 0u);
  for (int i = 1; i <= 4; ++i) {
    const std::string p = UpdateMirrorPath(i);
    EXPECT_EQ(p.substr(p.size() - common.size()), common);
    EXPECT_NE(p.find("/ftp-mirror/velmo" + common), std::string::npos) << i;
  }
  EXPECT_NE(UpdateMirrorHost(0), UpdateMirrorHost(5));
  EXPECT_EQ(UpdateMirrorHost(5), UpdateMirrorHost(9));
}

TEST(Global, DataFileForInput) {
  TTempDir dir;
  const std::string input = dir.File("model.inp");
  struct Case { int format; const char* file; } cases[] = {
      {0, "model.DAT"}, {3, "model.GS"}, {4, "model.XY"}, {5, "model.xy"}, {6, "model.cpi"}, {2, "model.dat"},
  };
  for (const auto& c : cases) {
    TTempDir d;
    d.Write(c.file, "x");
    EXPECT_EQ(DataFileForInput(d.File("model.inp"), c.format), d.File(c.file)) << c.format;
  }
  EXPECT_EQ(DataFileForInput(input, 4), "");
  dir.Write("model.GS", "x");
  EXPECT_EQ(DataFileForInput(input, 4), "");  // another format's file does not count
  EXPECT_EQ(DataFileForInput("C:\\a\\model.inp", 4), "");
  dir.Write("noext.DAT", "x");
  EXPECT_EQ(DataFileForInput(dir.File("noext"), 1), dir.File("noext.DAT"));
}

}  // namespace

namespace {

// The bundled example models read cleanly, write back unchanged and find their data files.
TEST(Examples, BundledModelsRead) {
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const std::string examples = std::string(source) + "/examples/";
  struct Case { const char* name; int histograms, phases, constraints; const char* data; } cases[] = {
      {"xray-cw.inp", 1, 1, 0, "xray-cw.dat"},
      {"two-phase.inp", 1, 2, 4, "two-phase.dat"},
      {"tof.inp", 1, 1, 0, "tof.gs"},
      {"corundum.inp", 1, 1, 1, "corundum.dat"},
  };
  for (const auto& c : cases) {
    TDialogResponder dialogs;
    TRietveld m;
    const std::string file = examples + c.name;
    ASSERT_TRUE(m.ReadInputFile(file)) << c.name;
    EXPECT_EQ(dialogs.Count(), 0u) << c.name;
    EXPECT_EQ(m.HistogramCount(), c.histograms);
    EXPECT_EQ(m.PhaseCount(), c.phases);
    EXPECT_EQ(m.ConstraintCount(), c.constraints) << c.name;
    EXPECT_GT(m.RefinedCount(), 0);
    EXPECT_EQ(m.InputFileText(), TTempDir::Read(file)) << c.name;
    EXPECT_EQ(DataFileForInput(file, m.ReadFormat), c.data ? examples + c.data : std::string()) << c.name;
  }
  TRietveld tof;
  ASSERT_TRUE(tof.ReadInputFile(examples + "tof.inp"));
  EXPECT_FLOAT_EQ(tof.Histogram(1)->IncidentSpectrum.Spectrum[3], 2500);
}

}  // namespace
