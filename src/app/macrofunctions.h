// The host functions of the macro language: with them a script opens,
// refines, steps and saves models, reads and sets parameter values in the
// model or the running engine, asks for agreement factors and counts, plots,
// manages files and one text file, runs programs and builds the user menu.
//
// Both interpreters (the main window's and the macro window's) register the
// same functions; the state below (the macro input and data names, the text
// file) is shared by them. What touches a window goes through TMacroHooks,
// which the main window fills in (and the macro window adds its output).
// GETDIR and SETDIR are the interpreter's own built-ins.
#pragma once

#include <functional>
#include <string>

#include "app/refineviews.h"
#include "basic/sbasic.h"
#include "platform/gfx/graphics.h"

class TExFile;
class TFileCopy;
class TOpenDialog;
class TSaveDialog;

// Result codes of the host functions.
constexpr int mcOk = 0, mcNotLoaded = 34, mcRefused = 499, mcNotDeleted = 502, mcNoSaveName = 504;

// The macro plot window as PLOT uses it.
class TMacroPlotTarget {
public:
  virtual ~TMacroPlotTarget() = default;
  virtual int Tag() const = 0;
  virtual void SetTag(int tag) = 0;
  // Adds a point series to the window's chart.
  virtual void AddPointSeries() = 0;
  virtual void ShowWindow() = 0;
  virtual void ClearSeries(int index) = 0;
  virtual void AddPoint(int series, double x, double y, TColor color) = 0;
};

struct TMacroHooks {
  // The script's output (WRITE) and its clearing (CLEARSCR); empty on the
  // main window, where they do nothing.
  std::function<void(const std::string& line)> WriteLine;
  std::function<void()> ClearOutput;
  // The main window's user menu.
  std::function<void(const std::string& menu, const std::string& item, const std::string& script)> AddUserMenu;
  std::function<void()> ClearUserMenu;
  // The macro window's file dialogs and file copier; the main window's
  // launchers. Not owned; nil ones make their functions do nothing.
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  TFileCopy* FileCopy = nullptr;
  TExFile* ExFileNoWait = nullptr;
  TExFile* ExFileWait = nullptr;
  // The refinement plot window (PLOTRIETVELD) and the macro plot window (PLOT).
  TRefineViews* Views = nullptr;
  TMacroPlotTarget* Plot = nullptr;
};

enum TMacroHost { mhMacroWindow, mhMainWindow };

// Registers the host functions on the interpreter in the order of that
// window; the hooks must outlive the interpreter's runs.
void RegisterMacroFunctions(TSBasic& basic, TMacroHooks& hooks, TMacroHost host);
// Their names in that order (for a check of the registration).
std::vector<std::string> MacroFunctionNames(TMacroHost host);

// The shared state.
const std::string& MacroInputName();
const std::string& MacroDataName();
// 0 closed, 1 named, 2 open for reading, 3 open for writing.
int MacroFileState();
// Ends the text file of OPENFILE: lines written go to the file (through the
// atomic save); false, after nothing is left half-written, when that
// failed. The windows call it after each script run.
bool CloseMacroTextFile();
// Back to the start-up state (tests).
void ResetMacroState();
