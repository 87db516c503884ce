// Program-wide state shared by the windows, the macro functions and the web
// update for the whole run: the one model and engine binding, file names,
// instrument presets, user-menu entries, plot and option settings. Plain
// globals, zero, empty or nothing at program start; the main window fills
// them from the stored settings. Objects are created and freed by their
// creators, never here.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/rietclass.h"

class TRefine;
class TPlotData;
class TControl;
class TStringList;
class TTransformation;

// An array indexed from 1 to N, as the settings and menus number their entries.
template <typename T, int N>
class TArray1 {
public:
  static constexpr int Low = 1;
  static constexpr int High = N;
  T& operator[](int i) { return FItems.at(Index(i)); }
  const T& operator[](int i) const { return FItems.at(Index(i)); }
  static constexpr int Size() { return N; }
  auto begin() { return FItems.begin(); }
  auto end() { return FItems.end(); }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

private:
  static std::size_t Index(int i) {
    if (i < 1 || i > N) throw std::out_of_range("index " + std::to_string(i) + " outside 1.." + std::to_string(N));
    return static_cast<std::size_t>(i - 1);
  }
  std::array<T, N> FItems{};
};

// An instrument preset.
struct TInstrument {
  std::string Title;
  double Wave1 = 0, Wave2 = 0;
  double Ratio = 0;
  double Zero = 0;
  double Pol = 0;
  double U = 0, V = 0, W = 0;
  double gamma = 0;
  double Asym1 = 0, Asym2 = 0;
  int Profile = 0;
  int Radiation = 0;
  double Start = 0, Step = 0, Stop = 0;
};

// An entry of the user menu built by the macro function that adds menu entries.
struct TUserMenuItem {
  std::string MenuCaption;
  std::string ItemCaption;
  std::string MacroFile;
  // Values the main window keeps for the menu objects it creates.
  std::intptr_t MenuTag = 0;
  std::intptr_t ItemTag = 0;
  std::intptr_t Reserved = 0;
};

// Refinement-window and quick-start defaults.
struct TRunOptions {
  bool RDPlot = false;
  bool RDWatch = false;
  bool RDUpdate = false;
  bool RDOnTop = false;
  bool QSPlot = false;
  bool QSWatch = false;
  bool QSUpdate = false;
};

// What drives the model now (RunMode).
constexpr int rmManualEdit = 0, rmMacro = 1, rmRefinementWindow = 2, rmIdle = 3;

constexpr int InstrumentCount = 20;
constexpr int MaxUserMenuItems = 100;

extern TRefine* Refinement;
extern TRietveld* Model;
extern TPlotData* LoadedData;
extern TPlotData* RefinePlotData;
extern int RunMode;
// The control the edit commands act on. It forgets a control when that
// control is freed: the program's windows install the watch (the model knows
// nothing of controls), so a window freed while one of its controls was the
// last active one leaves no dangling pointer behind.
class TLastActiveControlRef {
public:
  TLastActiveControlRef& operator=(TControl* Control);
  operator TControl*() const { return FControl; }
  TControl* operator->() const { return FControl; }
  // Called by the watch when the control is freed.
  void Forget() { FControl = nullptr; }

private:
  TControl* FControl = nullptr;
};
extern TLastActiveControlRef LastActiveControl;
// Told of every change of LastActiveControl (old, new), while installed.
extern void (*LastActiveControlWatch)(TControl* Old, TControl* New);
extern int IRS, IDSZ, NIPOI;
extern TArray1<TInstrument, InstrumentCount> Instruments;
extern bool ModelChanged;
extern std::string ProgramFolder;
extern std::string ScriptFolder;
extern std::string InputFileName;
extern std::string DataFileName;
extern std::string StartUpDirectory;
extern std::string WorkFolder;
extern int SelectedDatabasePhase;
extern std::string PhaseDatabase, AtomDatabase;
extern bool TempRefine, AssignDatafile, StepOnStart, RefineOnEntry, AcceptChanges;
extern int NumberRecent;
// Background, data, calculated, difference, marker and main colour of the pattern plot.
extern std::array<int, 6> PlotColours;
// HKL scale, HKL height, difference scale and HKL separation of the pattern plot.
extern std::array<int, 4> PlotScales;
extern int ConfigStyle;
extern bool ViewD;
extern std::vector<std::string> SpaceGroupTable;
extern TStringList* ScatterSymbols;
extern TRunOptions RunOptions;
extern int BackgroundAveraging;
extern int UpdateSite;
extern TArray1<TUserMenuItem, MaxUserMenuItems> UserMenuItems;
extern int UserMenuCount;
extern std::string StartUpScript, LibraryScript;
extern TTransformation* Transformation;
extern int ScriptErrorCode;

// The folder of the update files on mirror i.
std::string UpdateMirrorPath(int i);
// The host of mirror i (0 .. 4; any other index: the maker's second server).
std::string UpdateMirrorHost(int i);
// The observed data file that belongs to an input file: its name with the
// extension for the data format (".GS" 3, ".XY" 4 and 5, ".CPI" 6, ".DAT"
// otherwise) when such a file exists, else empty text.
std::string DataFileForInput(const std::string& inputFile, int format);
// The data file a model just read from inputFile goes with: the one beside
// it when AssignDatafile is set and one exists, else none (a run then takes
// the one beside it). A data file chosen before, for another model, is
// never kept for this one.
void DataFileFollowsModel(const std::string& inputFile, int format);
