#include "app/macrofunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/workfolder.h"
#include "basic/sbhost.h"
#include "fakeengine.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

std::string WriteInput(const std::string& file, int phases = 1) {
  TRietveld m;
  m.Title = "Macro model";
  m.NewHistogram();
  for (int i = 0; i < phases; ++i) m.NewPhase()->AddAtom(TAtom());
  m.Parameters.AddParameter(1, 0, 0, 14, 11);
  EXPECT_TRUE(m.WriteInputFile(file));
  return file;
}

// The macro plot window as PLOT sees it.
class TFakePlot : public TMacroPlotTarget {
public:
  struct TPoint3 {
    double X, Y;
    TColor Color;
  };
  int Tag() const override { return FTag; }
  void SetTag(int tag) override { FTag = tag; }
  void AddPointSeries() override { Series.emplace_back(); }
  void ShowWindow() override { ++Shown; }
  void ClearSeries(int index) override { Series.at(static_cast<size_t>(index)).clear(); }
  void AddPoint(int series, double x, double y, TColor color) override {
    Series.at(static_cast<size_t>(series)).push_back({x, y, color});
  }
  std::vector<std::vector<TPoint3>> Series;
  int Shown = 0;

private:
  int FTag = 0;
};

class MacroLibraryTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    savedDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.Path()));
    ResetMacroState();
    ScriptErrorCode = 0;
    Refinement = new TRefine();
    Refinement->LibraryName = fake.Name();
    hooks.WriteLine = [this](const std::string& s) { out.push_back(s); };
    hooks.ClearOutput = [this] { out.clear(); };
    hooks.AddUserMenu = [this](const std::string& m, const std::string& i, const std::string& s) {
      menu.push_back(m + "/" + i + "/" + s);
    };
    hooks.Plot = &plot;
    views.ShowPlot = [this](TPlotData&, int h, const std::string&) { plotted.push_back(h); };
    hooks.Views = &views;
    RegisterMacroFunctions(basic, hooks, mhMacroWindow);
    basic.SetSource_Memo(&source);
    basic.SetMessage_Panel(&panel);
  }
  void TearDown() override {
    CloseMacroTextFile();
    delete Refinement;
    Refinement = nullptr;
    delete Model;
    Model = nullptr;
    delete RefinePlotData;
    RefinePlotData = nullptr;
    InputFileName.clear();
    SetCurrentDir(savedDir);
  }
  // Runs the program; its WRITE lines joined by "|".
  std::string Run(const std::string& program) {
    out.clear();
    source.SetText(program);
    if (basic.Compile() != 0) return "compile: " + panel.Caption();
    if (basic.Run() != 0) return "run: " + panel.Caption();
    std::string joined;
    for (const std::string& s : out) joined += (joined.empty() ? "" : "|") + s;
    return joined;
  }

  TTempDir dir;
  std::string savedDir;
  TDialogResponder dialogs;
  apptest::TFakeEngine fake;
  TSBasic basic;
  TSBStringsSource source;
  TSBMessageText panel;
  TMacroHooks hooks;
  TRefineViews views;
  TFakePlot plot;
  std::vector<std::string> out, menu;
  std::vector<int> plotted;
};

TEST(MacroFunctionsTest, RegistrationOrderOfBothWindows) {
  const std::vector<std::string> macro = {
      "OPENFILE",     "READFILE",      "WRITEFILE",    "CLOSEFILE",   "EOFFILE",      "ADDMENU",     "CLEARMENU",
      "CLEARSCR",     "OPENDIALOG",    "SAVEDIALOG",   "COPYFILE",    "DELETEFILE",   "MOVEFILE",    "RENAMEFILE",
      "WRITE",        "REFINEFILE",    "OPENRIETVELD", "STARTRIETVELD", "STEPRIETVELD", "ENDRIETVELD", "SAVERIETVELD",
      "GETPARAMETER", "GETVALUE",      "SETPARAMETER", "SETVALUE",    "GETERROR",     "GETFIT",      "NUMHISTOGRAMS",
      "NUMPHASES",    "NUMATOMS",      "PLOTRIETVELD", "PLOT",        "SETDATAFILE",  "EXECUTE",     "EXECUTEWAIT",
      "FINDFILES",    "UPDATE"};
  EXPECT_EQ(MacroFunctionNames(mhMacroWindow), macro);
  const std::vector<std::string> main = {
      "OPENFILE",     "READFILE",      "WRITEFILE",    "CLOSEFILE",   "EOFFILE",      "CLEARSCR",    "WRITE",
      "ADDMENU",      "CLEARMENU",     "OPENDIALOG",   "SAVEDIALOG",  "COPYFILE",     "DELETEFILE",  "MOVEFILE",
      "RENAMEFILE",   "REFINEFILE",    "OPENRIETVELD", "STARTRIETVELD", "STEPRIETVELD", "ENDRIETVELD", "SAVERIETVELD",
      "GETPARAMETER", "GETVALUE",      "SETPARAMETER", "SETVALUE",    "GETERROR",     "GETFIT",      "NUMHISTOGRAMS",
      "NUMPHASES",    "NUMATOMS",      "PLOTRIETVELD", "PLOT",        "SETDATAFILE",  "EXECUTE",     "EXECUTEWAIT",
      "FINDFILES",    "UPDATE"};
  EXPECT_EQ(MacroFunctionNames(mhMainWindow), main);

  // GETERROR takes one (ignored) argument on the main window.
  TMacroHooks hooks;
  TSBasic onMain;
  TSBStringsSource src("STRING A\nA = GETERROR(1)\nA = GETDIR()");
  onMain.SetSource_Memo(&src);
  RegisterMacroFunctions(onMain, hooks, mhMainWindow);
  EXPECT_EQ(onMain.Compile(), 0);
}

TEST_F(MacroLibraryTest, ModelAndEngineFunctionsReturnTheirCodes) {
  WriteInput(dir.File("run.inp"), 2);
  fake.Set("chi2", 2.5);
  EXPECT_EQ(Run("WRITE(STARTRIETVELD())\nWRITE(OPENRIETVELD(\"missing\"))\nWRITE(NUMPHASES())"), "499|34|0");
  EXPECT_EQ(Run("WRITE(OPENRIETVELD(\"run\"))\nWRITE(NUMPHASES())\nWRITE(NUMHISTOGRAMS())\nWRITE(NUMATOMS(2))\n"
                "WRITE(NUMATOMS(3))\nWRITE(STEPRIETVELD(1))"),
            "0|2|1|1|0|499");  // no run started yet
  EXPECT_EQ(MacroInputName(), "run");
  EXPECT_EQ(Run("WRITE(STARTRIETVELD())\nWRITE(STEPRIETVELD(0))\nWRITE(GETFIT(1))\nWRITE(GETFIT(2))\n"
                "WRITE(STEPRIETVELD(\"x\"))"),
            "0|0|2.5|0|499");
  EXPECT_EQ(fake.Get("iterations"), 1);  // STEPRIETVELD 0 runs one cycle
  EXPECT_EQ(fake.Text("base"), "run");
  EXPECT_EQ(fake.Text("data"), "run");
  EXPECT_TRUE(Refinement->Messages);  // back on after the start
  EXPECT_EQ(Run("WRITE(SAVERIETVELD(\"  saved.inp \"))\nWRITE(SAVERIETVELD(\"\"))\nWRITE(SAVERIETVELD(1))"),
            "0|504|499");
  EXPECT_TRUE(FileExists(dir.File("saved.inp")));
  EXPECT_EQ(Run("WRITE(ENDRIETVELD())\nWRITE(GETERROR())"), "0|No error.");
  EXPECT_EQ(fake.Get("lastUpdate"), 1);
  // UPDATE writes the macro input name with ".inp" added only when it has no extension.
  dir.Write("run.inp", "");
  EXPECT_EQ(Run("WRITE(UPDATE())"), "0");
  EXPECT_GT(TTempDir::Read(dir.File("run.inp")).size(), 100u);
  // Only the reader's own message about the missing file.
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Input file File does not exist"});
}

TEST_F(MacroLibraryTest, UpdateAfterOpeningWithExtensionWritesThatFile) {
  WriteInput(dir.File("run.inp"));
  EXPECT_EQ(Run("WRITE(OPENRIETVELD(\"run.inp\"))\nWRITE(STARTRIETVELD())\nWRITE(STEPRIETVELD(1))\n"
                "WRITE(ENDRIETVELD())\nWRITE(UPDATE())"),
            "0|0|0|0|0");
  EXPECT_FALSE(FileExists(dir.File("run.inp.inp")));
}

TEST_F(MacroLibraryTest, EngineErrorsComeBackAsCodesAndTexts) {
  WriteInput(dir.File("run.inp"));
  fake.Set("startError", 5);
  EXPECT_EQ(Run("WRITE(OPENRIETVELD(\"run\"))\nWRITE(STARTRIETVELD())\nWRITE(GETERROR())\nWRITE(STEPRIETVELD(2))"),
            "0|5|" + EngineErrorText(5) + "|499");
  EXPECT_EQ(ScriptErrorCode, 499);
  EXPECT_EQ(fake.Get("iterations"), 0);
  EXPECT_EQ(dialogs.Count(), 0u);  // messages off while the macro runs the engine
  EXPECT_TRUE(Refinement->Messages);
}

TEST_F(MacroLibraryTest, RefineFileRunsTheWholeRefinement) {
  const std::string input = WriteInput(dir.File("run.inp"));
  fake.Set("convergeAt", 2);
  EXPECT_EQ(Run("WRITE(REFINEFILE(\"" + input + "\"))"), "0");
  EXPECT_EQ(InputFileName, dir.File("run"));
  EXPECT_EQ(fake.Get("iterations"), 2);
  EXPECT_EQ(fake.Get("lastUpdate"), 1);
  EXPECT_TRUE(Refinement->Messages);
  EXPECT_EQ(Run("WRITE(REFINEFILE(\"" + dir.File("nothing.inp") + "\"))"), "34");
  EXPECT_EQ(InputFileName, dir.File("run"));  // the failed read changed nothing
  EXPECT_TRUE(Model->Loaded);
}

TEST_F(MacroLibraryTest, TextFileStates) {
  struct Step {
    const char* call;
    const char* result;
    int state;
  } steps[] = {
      {"EOFFILE()", "1", 0},
      {"READFILE()", "", 0},
      {"WRITEFILE(\"x\")", "2", 0},
      {"OPENFILE(\"  \")", "0", 0},  // a blank name names nothing
      {"OPENFILE(\"t.txt\")", "0", 1},
      {"WRITEFILE(\"first\")", "0", 3},
      {"WRITEFILE(\"second\")", "0", 3},
      {"OPENFILE(\"other.txt\")", "1", 3},
      {"READFILE()", "", 3},
      {"CLOSEFILE()", "0", 0},
      {"OPENFILE(\"t.txt\")", "0", 1},
      {"EOFFILE()", "0", 2},
      {"READFILE()", "first", 2},
      {"WRITEFILE(\"no\")", "2", 2},
      {"READFILE()", "second", 2},
      {"EOFFILE()", "1", 2},
      {"READFILE()", "", 2},
      {"CLOSEFILE()", "0", 0},
      {"OPENFILE(\"missing.txt\")", "0", 1},
      {"EOFFILE()", "1", 1},
      {"CLOSEFILE()", "0", 0},
      {"OPENFILE(\"/dev/zero\")", "0", 1},  // not a file to read lines from
      {"READFILE()", "", 1},
      {"EOFFILE()", "1", 1},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(Run(std::string("WRITE(") + s.call + ")"), s.result) << s.call;
    EXPECT_EQ(MacroFileState(), s.state) << s.call;
  }
  EXPECT_EQ(TTempDir::Read(dir.File("t.txt")), "first\nsecond\n");
}

TEST_F(MacroLibraryTest, FindFilesFillsTheArrayUntilItIsFull) {
  for (int i = 0; i < 8; ++i) dir.Write("f" + std::to_string(i) + ".dat", "");
  dir.Write("other.txt", "");
  EXPECT_EQ(Run("STRING S[5]\nWRITE(FINDFILES(\"*.dat\", S))\nWRITE(S[0])\nWRITE(S[4])"), "5|f0.dat|f4.dat");
  EXPECT_EQ(Run("STRING S[5]\nWRITE(FINDFILES(\"" + dir.File("*.txt") + "\", S))\nWRITE(S[0])\nWRITE(S[1])"),
            "1|other.txt|");
}

TEST_F(MacroLibraryTest, PlotShowsElementsUpToNAndASecondPlotReplacesThem) {
  const std::string program =
      "DOUBLE X[10]\nDOUBLE Y[10]\nINTEGER I\nFOR I = 0 TO 9\n X[I] = I\n Y[I] = I * I\nNEXT I\n"
      "WRITE(PLOT(X, Y, 2))";
  EXPECT_EQ(Run(program), "0");
  ASSERT_EQ(plot.Series.size(), 1u);
  ASSERT_EQ(plot.Series[0].size(), 3u);
  EXPECT_EQ(plot.Series[0][2].Y, 4.0);
  EXPECT_EQ(plot.Series[0][0].Color, clRed);
  EXPECT_EQ(Run(program), "0");
  ASSERT_EQ(plot.Series.size(), 1u);
  ASSERT_EQ(plot.Series[0].size(), 3u);
  EXPECT_EQ(plot.Series[0][0].Color, TColor(16711680));
  EXPECT_EQ(plot.Shown, 2);
  // n beyond the arrays stops at their end.
  EXPECT_EQ(Run("DOUBLE X[4]\nDOUBLE Y[2]\nWRITE(PLOT(X, Y, 100))"), "0");
  EXPECT_EQ(plot.Series[0].size(), 2u);
}

TEST_F(MacroLibraryTest, PlotRietveldShowsTheRunsPattern) {
  WriteInput(dir.File("run.inp"));
  EXPECT_EQ(Run("WRITE(PLOTRIETVELD(1))"), "0");  // no run: nothing
  EXPECT_TRUE(plotted.empty());
  EXPECT_EQ(Run("A = OPENRIETVELD(\"run\")\nA = STARTRIETVELD()\nWRITE(PLOTRIETVELD(5))"), "0");
  EXPECT_EQ(plotted, std::vector<int>{1});
  ASSERT_NE(RefinePlotData, nullptr);
  EXPECT_EQ(RefinePlotData->HistogramRef(), Model->Histogram(1));
}

TEST_F(MacroLibraryTest, FilesAndMenusAndOutput) {
  dir.Write("a.txt", "a");
  EXPECT_EQ(Run("WRITE(DELETEFILE(\"a.txt\"))\nWRITE(DELETEFILE(\"a.txt\"))\nWRITE(DELETEFILE(3))\n"
                "WRITE(MOVEFILE(\"x\", \"y\"))"),
            "0|502|499|499");
  dir.Write("b.txt", "b");
  EXPECT_EQ(Run("WRITE(RENAMEFILE(\"b.txt\", \"c.txt\"))"), "499");
  EXPECT_TRUE(FileExists(dir.File("c.txt")));
  source.SetText("A = RENAMEFILE(\"b.txt\", \"d.txt\")");
  ASSERT_EQ(basic.Compile(), 0);
  EXPECT_THROW(basic.Run(), EInOutError);

  EXPECT_EQ(Run("WRITE(ADDMENU(\"Tools\", \"Go\", \"go.rib\"))\nWRITE(ADDMENU(\"Tools\", 1, \"go.rib\"))"), "0|1");
  EXPECT_EQ(menu, std::vector<std::string>{"Tools/Go/go.rib"});
  EXPECT_EQ(Run("WRITE(1.5)\nWRITE(7)\nWRITE(\"text\")\nWRITE(0.1)"), "1.5|7|text|0.1");
  EXPECT_EQ(Run("WRITE(1)\nA = CLEARSCR()\nWRITE(2)"), "2");
  EXPECT_EQ(Run("WRITE(SETDATAFILE(\"d.dat\"))\nWRITE(SETDATAFILE(1))"), "0|0");
  EXPECT_EQ(Refinement->DataFileName, "d.dat");
  EXPECT_EQ(MacroDataName(), "d.dat");
}

}  // namespace

namespace {

TEST_F(MacroLibraryTest, ParameterValuesInTheModelAndWithoutOne) {
  EXPECT_EQ(Run("WRITE(GETVALUE(1, 0, 0, 14))\nWRITE(SETVALUE(1, 0, 0, 14, 2.5))"), "0|0");
  WriteInput(dir.File("run.inp"));
  EXPECT_EQ(Run("A = OPENRIETVELD(\"run\")\nWRITE(SETVALUE(1, 0, 0, 14, 2.5))\nWRITE(GETVALUE(1, 0, 0, 14))"), "0|2.5");
  delete Refinement;
  Refinement = nullptr;
  EXPECT_EQ(Run("WRITE(GETPARAMETER(1, 0, 0, 14))\nWRITE(SETPARAMETER(1, 0, 0, 14, 1.0))\nWRITE(GETFIT(1))"),
            "0|0|0");
  EXPECT_EQ(Run("WRITE(SETDATAFILE(\"d.dat\"))"), "499");
}

TEST_F(MacroLibraryTest, FileDialogsReturnTheChosenFileOrNothing) {
  TOpenDialog open(nullptr);
  hooks.OpenDialog = &open;
  guitest::TCommonDialogResponder answers;
  answers.Do([](TCommonDialog* d) {
    auto* o = static_cast<TOpenDialog*>(d);
    EXPECT_EQ(o->FileName, "start.rib");
    EXPECT_EQ(o->Filter, "Macros|*.rib");
    o->FileName = "/chosen/x.rib";
    return true;
  });
  answers.Do([](TCommonDialog*) { return false; });
  EXPECT_EQ(Run("WRITE(OPENDIALOG(\"start.rib\", \"Macros|*.rib\"))\nWRITE(OPENDIALOG(\"a\", \"b\"))\n"
                "WRITE(OPENDIALOG(\"a\", 2))\nWRITE(SAVEDIALOG(\"a\", \"b\"))"),
            "/chosen/x.rib|||");
  EXPECT_EQ(answers.Count(), 2);
}

}  // namespace

#include <sys/stat.h>

#include "app/launcher.h"

namespace {

TEST_F(MacroLibraryTest, ExecuteWaitRunsTheProgramToItsEnd) {
  const std::string program = dir.Write("job.sh", "#!/bin/sh\necho done > " + dir.File("job.out") + "\n");
  ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
  TExFile wait(nullptr);
  wait.SetWaitUntilDone(true);
  hooks.ExFileWait = &wait;
  EXPECT_EQ(Run("A = EXECUTEWAIT(\"" + program + "\")\nA = EXECUTEWAIT(3)\nWRITE(1)"), "1");
  EXPECT_EQ(TTempDir::Read(dir.File("job.out")), "done\n");
  EXPECT_EQ(wait.ProcFileName(), program);
}

}  // namespace

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/dynlib.h"

namespace {

TEST_F(MacroLibraryTest, ScriptRefinesAnExampleWithTheStandInEngine) {
  HMODULE engine = LoadLibrary("zudezez.dll");
  if (engine == nullptr) GTEST_SKIP() << "the engine library is not built";
  FreeLibrary(engine);
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "ZELVORA_SOURCE_DIR is not set (ctest sets it)";
  const std::string examples = std::string(source) + "/examples/";
  std::filesystem::copy_file(examples + "xray-cw.inp", dir.File("xray-cw.inp"));
  std::filesystem::copy_file(examples + "xray-cw.dat", dir.File("xray-cw.dat"));
  delete Refinement;
  Refinement = nullptr;  // the functions make their own binding
  const std::string out = Run(
      "SINGLE FIRST\nSINGLE LAST\n"
      "WRITE(OPENRIETVELD(\"xray-cw\"))\nWRITE(STARTRIETVELD())\nWRITE(STEPRIETVELD(1))\nFIRST = GETFIT(1)\n"
      "WRITE(STEPRIETVELD(5))\nLAST = GETFIT(1)\nWRITE(LAST <= FIRST)\nWRITE(LAST > 0)\n"
      "WRITE(ENDRIETVELD())\nWRITE(GETERROR())\nWRITE(UPDATE())");
  EXPECT_EQ(out, "0|0|0|0|1|1|0|No error.|0");
  EXPECT_TRUE(FileExists(dir.File("xray-cw.out")));
  EXPECT_EQ(TTempDir::Read(dir.File("xray-cw.inp")).empty(), false);
  for (const std::string& t : dialogs.Texts()) ADD_FAILURE() << t;
}

}  // namespace
