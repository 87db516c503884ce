#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/sysinfo.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"

namespace {

// A purpose-built engine library, kept mapped by the test so that its
// settings and records survive the binding's unloading and reloading.
class TFakeEngine {
public:
  explicit TFakeEngine(const std::string& variant) : FName("zvfake_" + variant + ".dll") {
    FHandle = LoadLibrary(FName);
    if (FHandle == nullptr) throw std::runtime_error("cannot load " + FName + ": " + LastLoaderMessage());
    FSet = reinterpret_cast<void (*)(const char*, double)>(GetProcAddress(FHandle, "fake_set"));
    FGet = reinterpret_cast<double (*)(const char*)>(GetProcAddress(FHandle, "fake_get"));
    FText = reinterpret_cast<void (*)(const char*, char*, int)>(GetProcAddress(FHandle, "fake_text"));
    reinterpret_cast<void (*)()>(GetProcAddress(FHandle, "fake_reset"))();
  }
  ~TFakeEngine() { FreeLibrary(FHandle); }
  TFakeEngine(const TFakeEngine&) = delete;
  TFakeEngine& operator=(const TFakeEngine&) = delete;

  const std::string& Name() const { return FName; }
  void Set(const char* key, double value) { FSet(key, value); }
  double Get(const char* key) { return FGet(key); }
  std::string Text(const char* key) {
    std::vector<char> buffer(1024);
    FText(key, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
  }

private:
  std::string FName;
  HMODULE FHandle = nullptr;
  void (*FSet)(const char*, double) = nullptr;
  double (*FGet)(const char*) = nullptr;
  void (*FText)(const char*, char*, int) = nullptr;
};

std::string AllTexts(const TDialogResponder& dialogs) {
  std::string all;
  for (const std::string& text : dialogs.Texts()) all += "[" + text + "] ";
  return all;
}

// One histogram, one phase with an atom, and two refined parameters (the
// histogram scale as number 1, atom x as number 2 with multiplier -1).
std::unique_ptr<TRietveld> SmallModel() {
  auto model = std::make_unique<TRietveld>();
  model->Title = "Binding test";
  model->NewHistogram();
  TPhase* phase = model->NewPhase();
  phase->AddAtom(TAtom());
  model->Parameters.AddParameter(1, 0, 0, 14, 11);
  model->Parameters.AddParameter(0, 1, 1, 1, -21);
  return model;
}

class RefineTest : public ::testing::Test {
protected:
  void SetUp() override {
    Model = SmallModel();
    Refine.Model = Model.get();
    Refine.LibraryName = Fake.Name();
  }

  TDialogResponder Dialogs;
  TFakeEngine Fake{"engine"};
  std::unique_ptr<TRietveld> Model;
  TRefine Refine;
};

TEST_F(RefineTest, FreshBindingIsIdleAndUnloaded) {
  TRefine fresh;
  EXPECT_EQ(fresh.State(), 0);
  EXPECT_EQ(fresh.LastError, 0);
  EXPECT_TRUE(fresh.Messages);
  EXPECT_FALSE(fresh.IsLoaded());
  EXPECT_EQ(fresh.IRS, 1500);
  EXPECT_EQ(fresh.IDSZ, 8000);
  EXPECT_EQ(fresh.NIPOI, 0);
  // Nothing to ask without an engine.
  EXPECT_EQ(fresh.GetRp(1), 0);
  EXPECT_EQ(fresh.GetProgress(), 0);
  EXPECT_EQ(fresh.GetParameterValue(1, 0, 0, 14), 0);
  EXPECT_EQ(fresh.GetParameterError(1, 0, 0, 14), 0);
  EXPECT_EQ(fresh.SetParameterValue(1, 0, 0, 14, 2), reNotLoaded);
  std::vector<float> rdf(5000);
  EXPECT_EQ(fresh.GetRDF(rdf, 1, 1), reNotLoaded);
  EXPECT_EQ(Dialogs.Count(), 0u);
}

TEST_F(RefineTest, RunSequenceStartCyclesConvergeFinish) {
  TTempDir dir;
  Refine.BaseName = dir.File("run");
  Refine.DataFileName = dir.File("run.dat");
  Refine.IRS = 4000;
  Refine.IDSZ = 10000;
  Refine.NIPOI = 1500;
  Fake.Set("convergeAt", 3);

  Refine.StartRefinement();
  EXPECT_EQ(Refine.State(), 2);
  EXPECT_TRUE(Refine.IsLoaded());
  EXPECT_EQ(Fake.Get("starts"), 1);
  EXPECT_EQ(Fake.Get("histogramCount"), 1);
  EXPECT_EQ(Fake.Get("irs"), 4000);
  EXPECT_EQ(Fake.Get("idsz"), 10000);
  EXPECT_EQ(Fake.Get("nipoi"), 1500);
  EXPECT_EQ(Fake.Text("data"), dir.File("run.dat"));

  Refine.RunCycle();
  EXPECT_EQ(Refine.State(), 3);
  Refine.RunCycle();
  EXPECT_EQ(Refine.State(), 3);
  Refine.RunCycle();  // the engine says converged
  EXPECT_EQ(Refine.State(), 4);
  EXPECT_EQ(Refine.Converged(), 1);
  EXPECT_EQ(Fake.Get("lastCycle"), 3);  // counted up before the call

  // After convergence a cycle is counted but the engine is not called.
  Refine.RunCycle();
  EXPECT_EQ(Refine.CycleCount(), 4);
  EXPECT_EQ(Fake.Get("iterations"), 3);
  EXPECT_EQ(Refine.State(), 4);

  EXPECT_FLOAT_EQ(Refine.GetRp(1), 11);
  EXPECT_FLOAT_EQ(Refine.GetRwp(1), 21);
  EXPECT_FLOAT_EQ(Refine.GetChi2(1), 1.5f);

  Refine.FinishRefinement(true);
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(Fake.Get("lastUpdate"), 1);
  EXPECT_EQ(Refine.LastError, 0);
  EXPECT_EQ(Dialogs.Count(), 0u) << AllTexts(Dialogs);

  // The updated model reads back.
  TRietveld back;
  TDialogResponder quiet;
  ASSERT_TRUE(back.ReadInputFile(dir.File("run.upd")));
  EXPECT_EQ(back.Title, "Binding test");
  EXPECT_EQ(back.HistogramCount(), 1);
  EXPECT_EQ(back.PhaseCount(), 1);

  // A new start resets the run.
  Refine.StartRefinement();
  EXPECT_EQ(Refine.State(), 2);
  EXPECT_EQ(Refine.CycleCount(), 0);
  EXPECT_EQ(Refine.Converged(), 0);
}

TEST_F(RefineTest, WorkFilesLiveInThePrivateWorkFolder) {
  const std::string folder = WorkFolder();
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u) << "work folder open to others";
  // The run's own files (its listing) go to the run folder, which outlives
  // the program; the work input stays in the work folder.
  const std::string run = RunFolder();
  ASSERT_EQ(::stat(run.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 077, 0u) << "run folder open to others";

  Refine.StartRefinement();
  ASSERT_EQ(Refine.State(), 2);
  EXPECT_EQ(Refine.BaseName, run + "testclass");
  EXPECT_EQ(Fake.Text("input"), folder + "testclass.inp");
  EXPECT_EQ(Fake.Text("output"), run + "testclass.out");
  EXPECT_EQ(Fake.Text("base"), run + "testclass");
  EXPECT_EQ(Fake.Text("data"), "");
  EXPECT_EQ(Fake.Get("inputExists"), 1);  // written before the engine starts
  for (const char* key : {"inputWellFormed", "dataWellFormed", "outputWellFormed", "baseWellFormed"})
    EXPECT_EQ(Fake.Get(key), 1) << key;

  // A base name of the caller's still uses the work folder's input file.
  TTempDir dir;
  Refine.BaseName = dir.File("mine");
  Refine.StartRefinement();
  EXPECT_EQ(Fake.Text("input"), folder + "testclass.inp");
  EXPECT_EQ(Fake.Text("output"), dir.File("mine.out"));
  EXPECT_EQ(Fake.Text("base"), dir.File("mine"));
}

TEST_F(RefineTest, NamesTooLongForTheBuffersAreRefused) {
  TTempDir dir;
  struct TCase {
    std::string BaseName;
    std::string DataFile;
    bool Accepted;
  };
  auto name = [&](std::size_t length) { return dir.Path() + std::string(length - dir.Path().size(), 'n'); };
  const TCase cases[] = {
      {"", name(249), true},
      {"", name(250), false},
      {name(245), "", true},   // output name "<base>.out" is 249 long
      {name(246), "", false},  // ... and 250 here
      {name(250), "", false},
  };
  for (const TCase& c : cases) {
    Dialogs.Clear();
    TRefine refine;
    refine.Model = Model.get();
    refine.LibraryName = Fake.Name();
    refine.BaseName = c.BaseName;
    refine.DataFileName = c.DataFile;
    double startsBefore = Fake.Get("starts");
    refine.StartRefinement();
    if (c.Accepted) {
      EXPECT_EQ(refine.State(), 2) << c.BaseName.size() << "/" << c.DataFile.size();
      EXPECT_EQ(Fake.Text("data"), c.DataFile);
    } else {
      EXPECT_EQ(refine.State(), 0) << c.BaseName.size() << "/" << c.DataFile.size();
      EXPECT_EQ(refine.LastError, reNameTooLong);
      EXPECT_FALSE(refine.IsLoaded());
      EXPECT_EQ(Fake.Get("starts"), startsBefore);
      ASSERT_EQ(Dialogs.Count(), 1u);
      EXPECT_TRUE(Dialogs.Saw("File name too long for the refinement engine"));
      EXPECT_EQ(refine.BaseName, c.BaseName);  // nothing of the caller's changed
    }
  }
  EXPECT_EQ(EngineErrorText(reNameTooLong), "Invalid filename");
}

TEST_F(RefineTest, StartWithoutModelChangesNothing) {
  Refine.Model = nullptr;
  Refine.StartRefinement();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Input not set for refinement."});
  EXPECT_EQ(Refine.State(), 0);
  EXPECT_FALSE(Refine.IsLoaded());
  EXPECT_EQ(Fake.Get("starts"), 0);
}

TEST_F(RefineTest, InputThatCannotBeWrittenIsNotStarted) {
  TRietveld empty;  // no histogram: the writer refuses
  Refine.Model = &empty;
  Refine.StartRefinement();
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(Refine.LastError, 3);
  EXPECT_FALSE(Refine.IsLoaded());
  EXPECT_EQ(Fake.Get("starts"), 0);
  EXPECT_EQ(Dialogs.Count(), 1u);  // the writer's own message
}

TEST_F(RefineTest, EngineErrorsAreShownAndAbandonTheRun) {
  struct TCase {
    const char* Where;  // "startError", "iterationError" or "closeError"
    int Code;
    std::string Shown;
  };
  const TCase cases[] = {
      {"startError", 1, "Error opening input file"},
      {"startError", 21, "Error reading data file: data lines"},
      {"startError", 24, "Error:  No background file."},
      {"startError", 51, "Error in space group"},
      {"startError", 499, "Error: 499"},
      {"startError", 901, "Not continuing with computations."},
      {"iterationError", 46, "Error: Excessive peak overlap"},
      {"iterationError", 999, "Error: 999"},
      {"closeError", 5, "Error closing files"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Where) + " " + std::to_string(c.Code));
    TFakeEngine fake("engine");
    fake.Set(c.Where, c.Code);
    TRefine refine;
    refine.Model = Model.get();
    refine.LibraryName = fake.Name();
    Dialogs.Clear();
    refine.StartRefinement();
    if (std::string(c.Where) == "iterationError") refine.RunCycle();
    if (std::string(c.Where) == "closeError") {
      refine.RunCycle();
      refine.FinishRefinement(true);
    }
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{c.Shown});
    EXPECT_EQ(refine.LastError, c.Code);
    EXPECT_EQ(refine.State(), 1);
    EXPECT_FALSE(refine.IsLoaded());  // a failure unloads the engine
    // The engine's own 901 means it has stopped already.
    EXPECT_EQ(fake.Get("quickcloses"), c.Code == 901 ? 0 : 1);
    EXPECT_EQ(fake.Get("closemems"), 1);
  }
}

TEST_F(RefineTest, NonFiniteResultsAreReportedAsUnstable) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    const char* Key;
    double Value;
  };
  const TCase cases[] = {{"rp", nan}, {"rwp", inf}, {"chi2", -inf}, {"par2Value", nan}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    TFakeEngine fake("engine");
    TRefine refine;
    refine.Model = Model.get();
    refine.LibraryName = fake.Name();
    Dialogs.Clear();
    refine.StartRefinement();
    ASSERT_EQ(refine.State(), 2);
    fake.Set(c.Key, c.Value);
    refine.RunCycle();
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Unstable Refinement - change value/number of parameters"});
    EXPECT_EQ(refine.LastError, reUnstable);
    EXPECT_EQ(refine.State(), 1);
    EXPECT_EQ(fake.Get("quickcloses"), 1);

    // A start whose first results are not finite fails alike.
    Dialogs.Clear();
    refine.StartRefinement();
    EXPECT_EQ(refine.LastError, reUnstable);
    EXPECT_EQ(refine.State(), 1);
  }
  // A parameter the engine does not know (status not 0) is not examined.
  Fake.Set("par2Value", nan);
  Fake.Set("par2Status", 1);
  Refine.StartRefinement();
  Refine.RunCycle();
  EXPECT_EQ(Refine.State(), 3);
}

TEST_F(RefineTest, RunCycleWithoutEngine) {
  Refine.RunCycle();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Not continuing with computations."});
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(Refine.LastError, reNotLoaded);
  EXPECT_EQ(Refine.CycleCount(), 0);

  Dialogs.Clear();
  Refine.FinishRefinement(true);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Not continuing with computations."});
  EXPECT_EQ(Refine.State(), 1);

  Dialogs.Clear();
  Refine.QuickClose();  // nothing to report
  EXPECT_EQ(Dialogs.Count(), 0u);
  EXPECT_EQ(Refine.State(), 1);
}

TEST_F(RefineTest, MessagesOffSilencesAllButTheVersionWarning) {
  Refine.Messages = false;
  Refine.RunCycle();
  Fake.Set("version", 7.0);
  Fake.Set("startError", 52);
  Refine.StartRefinement();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You are using an old dll."});
  EXPECT_EQ(Refine.LastError, 52);
  EXPECT_FALSE(Refine.Messages);  // still off after the quiet unloading
}

TEST(RefineLoading, VersionWarning) {
  struct TCase {
    double Version;
    bool Warned;
  };
  for (const TCase& c : {TCase{7.18, true}, TCase{7.19, false}, TCase{8.0, false}, TCase{-1, true}}) {
    TFakeEngine fake("engine");
    fake.Set("version", c.Version);
    TDialogResponder dialogs;
    TRefine refine;
    refine.LibraryName = fake.Name();
    refine.LoadEngine();
    EXPECT_TRUE(refine.IsLoaded()) << c.Version;
    EXPECT_EQ(dialogs.Saw("You are using an old dll."), c.Warned) << c.Version;
    EXPECT_EQ(dialogs.Count(), c.Warned ? 1u : 0u) << c.Version;
    refine.LoadEngine();  // already loaded: nothing happens
    EXPECT_EQ(dialogs.Count(), c.Warned ? 1u : 0u) << c.Version;
  }
}

TEST(RefineLoading, LibraryWithoutVersionEntryStaysUsable) {
  TFakeEngine fake("noversion");
  TDialogResponder dialogs;
  TRefine refine;
  refine.LibraryName = fake.Name();
  refine.LoadEngine();
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"GetVersion failed", "You are using an old dll."}));
  EXPECT_TRUE(refine.IsLoaded());
  // The optional entry after it is bound all the same.
  EXPECT_EQ(refine.SetParameterValue(1, 0, 0, 14, 3.5f), 0);
  EXPECT_FLOAT_EQ(static_cast<float>(fake.Get("setValue")), 3.5f);
}

TEST(RefineLoading, LibraryWithoutIterationEntryIsNotLoaded) {
  TFakeEngine fake("noiteration");
  TDialogResponder dialogs;
  auto model = SmallModel();
  TRefine refine;
  refine.Model = model.get();
  refine.LibraryName = fake.Name();
  refine.LoadEngine();
  const std::vector<std::string> expected = {
      "iteration failed", "getinfo failed",  "getstatus failed", "putinfo failed",   "getplot failed",
      "getrdf failed",    "getplot failed",  "quickclose failed", "closemem failed", "getpar failed",
      "getpar2 failed",   "GetVersion failed", "setpar failed"};
  EXPECT_EQ(dialogs.Texts(), expected);
  EXPECT_FALSE(refine.IsLoaded());
  EXPECT_EQ(refine.Module(), nullptr);

  dialogs.Clear();
  refine.StartRefinement();
  EXPECT_EQ(dialogs.Texts().back(), "Not continuing with computations.");
  EXPECT_EQ(refine.LastError, reNotLoaded);
  EXPECT_EQ(refine.State(), 1);
  EXPECT_EQ(fake.Get("starts"), 0);
}

TEST(RefineLoading, MissingLibrary) {
  TDialogResponder dialogs;
  TRefine refine;
  refine.LibraryName = "zvfake_absent.dll";
  refine.LoadEngine();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"DLL Error - DLL not found"});
  EXPECT_FALSE(refine.IsLoaded());

  dialogs.Clear();
  refine.UnloadEngine();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Closed DLL but it wasn't not open"});
}

TEST(RefineLoading, LoadFailuresAndTheirMessages) {
  TTempDir dir;
  dir.Write("libdamaged.so", "not a library at all");
  struct TCase {
    std::string Library;
    std::vector<std::string> Shown;
  };
  const TCase cases[] = {
      {dir.File("no-such-folder/zudezez.dll"), {"DLL Error - Path not found"}},
      {dir.File("damaged.dll"), {"DLL Error - DLL damaged or invalid."}},
  };
  for (const TCase& c : cases) {
    TDialogResponder dialogs;
    TRefine refine;
    refine.LibraryName = c.Library;
    refine.LoadEngine();
    EXPECT_EQ(dialogs.Texts(), c.Shown) << c.Library;
    EXPECT_FALSE(refine.IsLoaded()) << c.Library;
    EXPECT_EQ(refine.Module(), nullptr) << c.Library;
  }
}

TEST_F(RefineTest, QuickCloseAbandonsTheRunAndKeepsTheEngine) {
  Refine.StartRefinement();
  Refine.RunCycle();
  ASSERT_EQ(Refine.State(), 3);
  Refine.QuickClose();
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(Fake.Get("quickcloses"), 1);
  EXPECT_EQ(Fake.Get("closes"), 0);
  EXPECT_TRUE(Refine.IsLoaded());  // results stay readable
  EXPECT_FLOAT_EQ(Refine.GetRp(1), 11);
  EXPECT_EQ(Dialogs.Count(), 0u) << AllTexts(Dialogs);
}

TEST_F(RefineTest, UnloadReportsAnEngineThatKeepsItsMemory) {
  Refine.LoadEngine();
  Fake.Set("closememStatus", 1);
  Refine.UnloadEngine();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Memory failure in Zudezez.dll"});
  EXPECT_FALSE(Refine.IsLoaded());
  EXPECT_EQ(Refine.Module(), nullptr);
}

TEST_F(RefineTest, DestroyFinishesAnOpenRunWithoutUpdate) {
  {
    TRefine refine;
    refine.Model = Model.get();
    refine.LibraryName = Fake.Name();
    refine.StartRefinement();
    refine.RunCycle();
  }
  EXPECT_EQ(Fake.Get("closes"), 1);
  EXPECT_EQ(Fake.Get("lastUpdate"), 0);
  EXPECT_EQ(Fake.Get("closemems"), 1);

  // A finished run is only unloaded.
  {
    TRefine refine;
    refine.Model = Model.get();
    refine.LibraryName = Fake.Name();
    refine.StartRefinement();
    refine.FinishRefinement(false);
  }
  EXPECT_EQ(Fake.Get("closes"), 2);
  EXPECT_EQ(Fake.Get("closemems"), 2);
}

TEST_F(RefineTest, ParameterValuesAndErrors) {
  Refine.StartRefinement();
  ASSERT_TRUE(Refine.IsLoaded());
  const double byNumber = Fake.Get("getpar2s");

  EXPECT_FLOAT_EQ(Refine.GetParameterValue(0, 1, 1, 1), 1.25f);
  EXPECT_EQ(Fake.Get("parAddress"), 10101);
  Fake.Set("parStatus", 2);
  EXPECT_EQ(Refine.GetParameterValue(0, 1, 1, 1), 0);  // status not 0
  EXPECT_EQ(Refine.GetParameterError(0, 1, 0, 6), 0);
  Fake.Set("parStatus", 0);

  // Cell parameters by address ...
  EXPECT_FLOAT_EQ(Refine.GetParameterError(0, 1, 0, 6), 0.05f);
  EXPECT_EQ(Fake.Get("parAddress"), 10006);
  EXPECT_EQ(Fake.Get("getpar2s"), byNumber);
  // ... the rest by refinement number, signed as the code.
  EXPECT_FLOAT_EQ(Refine.GetParameterError(1, 0, 0, 14), 0.25f);
  EXPECT_EQ(Fake.Get("par2Number"), 1);
  EXPECT_FLOAT_EQ(Refine.GetParameterError(0, 1, 1, 1), 0.25f);
  EXPECT_EQ(Fake.Get("par2Number"), -2);
  Fake.Set("par2Status", 3);
  EXPECT_EQ(Refine.GetParameterError(1, 0, 0, 14), 0);

  Fake.Set("setStatus", 7);
  EXPECT_EQ(Refine.SetParameterValue(0, 1, 1, 2, 0.375f), 7);
  EXPECT_EQ(Fake.Get("setAddress"), 10102);
  EXPECT_FLOAT_EQ(static_cast<float>(Fake.Get("setValue")), 0.375f);
}

TEST_F(RefineTest, ProgressFromTheEngine) {
  Refine.StartRefinement();
  struct TCase {
    double Percent;
    int Expected;
  };
  for (const TCase& c : {TCase{42.7, 42}, TCase{100, 100}, TCase{0, 0},
                         TCase{std::numeric_limits<double>::quiet_NaN(), 50}}) {
    Fake.Set("percent", c.Percent);
    EXPECT_EQ(Refine.GetProgress(), c.Expected) << c.Percent;
  }
}

TEST_F(RefineTest, PlotOfAHistogram) {
  Refine.StartRefinement();
  TPlotData plot;
  Refine.GetPlot(plot, 1);
  EXPECT_EQ(plot.Status(), 4);
  EXPECT_EQ(plot.Histogram(), 1);
  EXPECT_EQ(plot.Title(), "Binding test");
  ASSERT_TRUE(plot.IsAllocated());
  EXPECT_EQ(plot.PointCount(), 5);
  EXPECT_FLOAT_EQ(plot.Start(), 10.0f);
  EXPECT_FLOAT_EQ(plot.Step(), 0.5f);
  EXPECT_FLOAT_EQ(plot.Stop(), 12.0f);
  EXPECT_FLOAT_EQ(plot.Y()[4], 104.0f);
  EXPECT_FLOAT_EQ(plot.Calculated()[4], 94.0f);
  ASSERT_EQ(plot.MarkerCount(), 2);
  EXPECT_EQ(plot.MarkerPhase(2), 2);
  EXPECT_EQ(plot.MarkerH(2), 1);
  EXPECT_EQ(plot.MarkerK(2), -2);
  EXPECT_EQ(plot.MarkerL(2), 4);
  EXPECT_FLOAT_EQ(plot.MarkerPositions()[1], 11.0f);
  EXPECT_EQ(Fake.Get("plotIdle"), 0);

  // The stop is the last x the engine gave, not the computed one.
  Fake.Set("points", 3);
  Fake.Set("markers", 0);
  Fake.Set("step", 0.25);
  Fake.Set("xstep", 0.3);
  Refine.FinishRefinement(false);
  Refine.GetPlot(plot, 1);
  EXPECT_EQ(Fake.Get("plotIdle"), 1);
  EXPECT_EQ(plot.PointCount(), 3);
  EXPECT_EQ(plot.MarkerCount(), 0);
  EXPECT_FLOAT_EQ(plot.Step(), 0.25f);
  EXPECT_FLOAT_EQ(plot.Stop(), 10.6f);

  // Points the engine announced but did not fill read as 0, never as what
  // the arrays held before (the 5-point fetch above left 93 and 94 there).
  Fake.Set("points", 6);
  Fake.Set("written", 3);
  Refine.GetPlot(plot, 1);
  ASSERT_EQ(plot.PointCount(), 6);
  EXPECT_EQ(plot.Calculated()[3], 0.0f);
  EXPECT_EQ(plot.Calculated()[4], 0.0f);
  EXPECT_EQ(plot.Y()[4], 0.0f);
  Fake.Set("written", 0);

  // No arrays: the counts stay 0 and the title says why.
  Fake.Set("points", 0);
  Fake.Set("markers", 4);
  Refine.GetPlot(plot, 1);
  EXPECT_EQ(plot.Title(), "Low Memory - unable to plot data");
  EXPECT_EQ(plot.PointCount(), 0);
  EXPECT_EQ(plot.MarkerCount(), 0);
  EXPECT_FALSE(plot.IsAllocated());
}

TEST_F(RefineTest, RadialDistributionOfTheGivenPhase) {
  Refine.StartRefinement();
  std::vector<float> values(5000, -1.0f);
  EXPECT_EQ(Refine.GetRDF(values, 2, 4), 0);
  EXPECT_EQ(Fake.Get("rdfPhase"), 2);
  EXPECT_EQ(Fake.Get("rdfKind"), 4);
  EXPECT_EQ(Fake.Get("rdfRange"), 10.0);
  EXPECT_EQ(values[0], -1.0f);  // the curve starts at the second element
  EXPECT_EQ(values[1], 1.0f);
  EXPECT_EQ(values[1000], 1000.0f);
  EXPECT_EQ(values[1001], -1.0f);

  Fake.Set("rdfStatus", 6);
  EXPECT_EQ(Refine.GetRDF(values, 1, 1), 6);
  std::vector<float> shortArray(1000);
  EXPECT_EQ(Refine.GetRDF(shortArray, 1, 1), 499);
}

TEST(EngineErrorText, Texts) {
  struct TCase {
    int Code;
    std::string Text;
  };
  const TCase cases[] = {
      {0, "No error."},
      {21, "Error reading data file"},
      {23, "Error reading data file"},
      {24, "Error: 24"},
      {50, "Error: 50"},
      {80, "Not enough points to allocate the full peak width."},
      {47, "Error: More reflections than allowed (200000 per phase)"},
      {48, "Error: More points than allowed (1000000 per histogram)"},
      {49, "Error: Cell lengths or angles out of range"},
      {56, "Error: Value out of range in input file"},
      {200, "Unstable Refinement - change value/number of parameters"},
      {499, "Error in function arguments"},
      {503, "Error moving files"},
      {901, "DLL problem, not continuing with computations."},
      {999, "Error: 999"},
      {-3, "Error: -3"},
  };
  for (const TCase& c : cases) EXPECT_EQ(EngineErrorText(c.Code), c.Text) << c.Code;
}

// Against the project's own engine, when it has been built.
class RefineRealEngine : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::filesystem::exists(ProgramFolder() + LibraryFileName("zudezez.dll")))
      GTEST_SKIP() << "the engine library is not built";
    const char* source = std::getenv("ZELVORA_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    Examples = std::string(source) + "/examples/";
    ASSERT_TRUE(Model.ReadInputFile(Examples + "xray-cw.inp")) << AllTexts(Dialogs);
    Refine.Model = &Model;
    Refine.DataFileName = Examples + "xray-cw.dat";
    Refine.BaseName = Dir.File("xray");
  }

  TDialogResponder Dialogs;
  std::string Examples;
  TRietveld Model;
  TTempDir Dir;
  TRefine Refine;
};

TEST_F(RefineRealEngine, StartCyclesFinishWithUpdate) {
  Refine.StartRefinement();
  ASSERT_EQ(Refine.State(), 2) << EngineErrorText(Refine.LastError) << " " << AllTexts(Dialogs);
  EXPECT_TRUE(Refine.IsLoaded());
  EXPECT_NE(GetProcAddress(Refine.Module(), "_getfour@36"), nullptr);
  for (int cycle = 1; cycle <= 15 && Refine.State() != 4; ++cycle) {
    Refine.RunCycle();
    ASSERT_TRUE(Refine.State() == 3 || Refine.State() == 4) << EngineErrorText(Refine.LastError);
    EXPECT_EQ(Refine.CycleCount(), cycle);
    EXPECT_TRUE(std::isfinite(Refine.GetRwp(1)));
    EXPECT_GT(Refine.GetRwp(1), 0);
    EXPECT_GE(Refine.GetProgress(), 0);
  }
  ASSERT_EQ(Refine.State(), 4) << "no convergence in 15 cycles";
  const int cycles = Refine.CycleCount();
  Refine.RunCycle();  // counted, engine not called, still converged
  EXPECT_EQ(Refine.CycleCount(), cycles + 1);
  EXPECT_EQ(Refine.State(), 4);

  // Refined values and their errors; an address that names nothing gives 0.
  EXPECT_NEAR(Refine.GetParameterValue(0, 1, 0, 6), 3.8f, 0.01f);
  EXPECT_GT(Refine.GetParameterError(0, 1, 0, 6), 0);
  EXPECT_GT(Refine.GetParameterError(0, 1, 0, 1), 0);  // phase scale, by refinement number
  EXPECT_EQ(Refine.GetParameterValue(7, 0, 0, 14), 0);

  TPlotData plot;
  Refine.GetPlot(plot, 1);
  ASSERT_TRUE(plot.IsAllocated());
  EXPECT_GT(plot.PointCount(), 0);
  ASSERT_GT(plot.MarkerCount(), 0);
  EXPECT_EQ(plot.MarkerPhase(1), 1);
  EXPECT_FLOAT_EQ(plot.Stop(), plot.X()[static_cast<std::size_t>(plot.PointCount() - 1)]);

  std::vector<float> rdf(5000, 0.0f);
  EXPECT_EQ(Refine.GetRDF(rdf, 1, 1), 0);

  Refine.FinishRefinement(true);
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(Refine.LastError, 0);
  EXPECT_EQ(Dialogs.Count(), 0u) << AllTexts(Dialogs);
  TRietveld back;
  ASSERT_TRUE(back.ReadInputFile(Dir.File("xray.upd")));
  EXPECT_EQ(back.PhaseCount(), Model.PhaseCount());
  EXPECT_EQ(back.HistogramCount(), Model.HistogramCount());
  EXPECT_TRUE(std::filesystem::exists(Dir.File("xray.out")));
}

// A finish whose files cannot be written is reported; what stood in the way
// is kept, and the refined model is still written.
TEST_F(RefineRealEngine, FinishThatCannotWriteItsFilesIsReported) {
  Refine.StartRefinement();
  ASSERT_EQ(Refine.State(), 2) << EngineErrorText(Refine.LastError) << " " << AllTexts(Dialogs);
  Refine.RunCycle();
  ASSERT_EQ(Refine.LastError, 0);
  const std::string blocked = Dir.File("xray.dst");
  std::filesystem::remove(blocked);
  std::filesystem::create_directory(blocked);
  Dir.Write("xray.dst/kept", "the user's");
  Refine.FinishRefinement(true);
  EXPECT_EQ(Refine.LastError, 5);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Error closing files"});
  EXPECT_EQ(Refine.State(), 1);
  EXPECT_EQ(TTempDir::Read(Dir.File("xray.dst/kept")), "the user's");
  TRietveld back;
  EXPECT_TRUE(back.ReadInputFile(Dir.File("xray.upd")));
}

// A negative code asks the engine by a negative refinement number.
TEST_F(RefineRealEngine, ErrorOfANegativelyCodedParameter) {
  const int scale = Model.Parameters.IndexOfAddress(0, 1, 0, 1);
  ASSERT_GE(scale, 0);
  Model.Parameters.Refined[static_cast<std::size_t>(scale)]->Multiplier = -1;
  ASSERT_LT(Model.Parameters.GetCode(0, 1, 0, 1), 0);
  Refine.StartRefinement();
  ASSERT_EQ(Refine.State(), 2) << EngineErrorText(Refine.LastError) << " " << AllTexts(Dialogs);
  Refine.RunCycle();
  ASSERT_EQ(Refine.LastError, 0) << EngineErrorText(Refine.LastError);
  EXPECT_GT(Refine.GetParameterValue(0, 1, 0, 1), 0);
  EXPECT_GT(Refine.GetParameterError(0, 1, 0, 1), 0);
}

TEST_F(RefineRealEngine, StartErrors) {
  struct TCase {
    const char* What;
    void (*Spoil)(TRietveld& model, TRefine& refine, const TTempDir& dir);
    int Code;
    std::string Shown;
  };
  const TCase cases[] = {
      {"missing data file", [](TRietveld&, TRefine& r, const TTempDir& d) { r.DataFileName = d.File("none.dat"); },
       // The message names the file that was looked for.
       6, "Error opening data file " + Dir.File("none.dat") + "."},
      {"unknown space group", [](TRietveld& m, TRefine&, const TTempDir&) { m.Phase(1)->SpaceGroup = "Q 9"; },
       51, "Error in space group"},
      {"unknown scattering type", [](TRietveld& m, TRefine&, const TTempDir&) { m.Phase(1)->Atom(1)->AtomType = "QQ  "; },
       50, "Error: Scattering coeff. not found"},
      // The engine's limits, each with the text the user sees.
      {"a 380 Angstrom cell", [](TRietveld& m, TRefine&, const TTempDir&) { m.Phase(1)->A = m.Phase(1)->B = m.Phase(1)->C = 380; },
       47, "Error: More reflections than allowed (200000 per phase)"},
      {"a calculation of 9 million points", [](TRietveld& m, TRefine&, const TTempDir&) {
         m.Histogram(1)->Job = jobXrayCalc;
         m.Histogram(1)->Start = 0;
         m.Histogram(1)->Step = 0.001f;
         m.Histogram(1)->Stop = 9000;
       }, 48, "Error: More points than allowed (1000000 per histogram)"},
      {"a nearly flat cell", [](TRietveld& m, TRefine&, const TTempDir&) {
         m.Phase(1)->Alpha = m.Phase(1)->Beta = 60;
         m.Phase(1)->Gamma = 119.999f;
       }, 49, "Error: Cell lengths or angles out of range"},
      {"B of 1e5", [](TRietveld& m, TRefine&, const TTempDir&) { m.Phase(1)->Atom(1)->B = 1e5f; },
       56, "Error: Value out of range in input file"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TRietveld model;
    ASSERT_TRUE(model.ReadInputFile(Examples + "xray-cw.inp"));
    TRefine refine;
    refine.Model = &model;
    refine.DataFileName = Examples + "xray-cw.dat";
    refine.BaseName = Dir.File("bad");
    c.Spoil(model, refine, Dir);
    Dialogs.Clear();
    refine.StartRefinement();
    EXPECT_EQ(refine.LastError, c.Code);
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{c.Shown});
    EXPECT_EQ(refine.State(), 1);
    EXPECT_FALSE(refine.IsLoaded());
  }
}

}  // namespace

namespace {

// The factors a cycle's check has read are handed out again until something
// may have changed them; GetRp and its kind always ask the engine.
TEST_F(RefineTest, AgreementOfTheLastCheckIsReadOnceACycle) {
  auto agreement = [&] {
    float rp, rwp, chi2;
    Refine.GetAgreement(1, rp, rwp, chi2);
    return std::vector<float>{rp, rwp, chi2};
  };
  Fake.Set("rp", 5);
  Refine.StartRefinement();
  ASSERT_EQ(Refine.State(), 2);
  double infos = Fake.Get("infos");
  EXPECT_EQ(agreement(), (std::vector<float>{5, 21, 1.5f}));
  EXPECT_EQ(Fake.Get("infos"), infos);

  Fake.Set("rp", 6);
  Refine.RunCycle();
  infos = Fake.Get("infos");
  Fake.Set("rp", 7);  // the engine would say otherwise now; the cycle's values stand
  EXPECT_EQ(agreement()[0], 6);
  EXPECT_EQ(Fake.Get("infos"), infos);
  EXPECT_EQ(Refine.GetRp(1), 7);
  EXPECT_EQ(Fake.Get("infos"), infos + 1);

  struct TCase {
    const char* What;
    std::function<void()> Change;
  };
  const TCase changes[] = {
      {"set a value", [&] { Refine.SetParameterValue(1, 0, 0, 14, 2); }},
      {"abandon", [&] { Refine.QuickClose(); }},
      {"finish", [&] { Refine.FinishRefinement(false); }},
  };
  float rp = 8;
  for (const TCase& c : changes) {
    SCOPED_TRACE(c.What);
    Refine.StartRefinement();
    Refine.RunCycle();
    ASSERT_EQ(Refine.State(), 3);
    Fake.Set("rp", ++rp);
    c.Change();
    EXPECT_EQ(agreement()[0], rp);
  }
  // Nothing kept of a histogram the check did not read.
  float r, w, x;
  infos = Fake.Get("infos");
  Refine.GetAgreement(2, r, w, x);
  EXPECT_EQ(Fake.Get("infos"), infos + 1);
  Refine.UnloadEngine();
  Refine.GetAgreement(1, r, w, x);
  EXPECT_EQ(r, 0);
}

}  // namespace
