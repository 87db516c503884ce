// The binding of the refinement engine library ("zudezez.dll"): loading and
// unloading it, writing the model to the work input file and starting the
// engine on it, running cycles one at a time, finishing or abandoning a run,
// and fetching results. Every engine error code becomes a message.
//
// Run state (State()): 0 new, 1 idle or failed, 2 started, 3 cycle done,
// 4 converged, 5 inside an engine call.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/rtl/dynlib.h"

class TRietveld;
class TPlotData;

// Local error codes, beside the engine's own.
constexpr int reUnstable = 200;     // an exception in an engine call, or a non-finite result
constexpr int reNameTooLong = 504;  // a file name that does not fit the engine's buffers
constexpr int reNotLoaded = 901;    // the engine is not loaded

// The text of an error code as the macro functions report it.
std::string EngineErrorText(int code);

class TRefine {
public:
  TRefine();
  virtual ~TRefine();
  TRefine(const TRefine&) = delete;
  TRefine& operator=(const TRefine&) = delete;

  bool IsLoaded() const { return FLoaded; }
  // The loaded library (nullptr when none); the Fourier window looks up its
  // map entry in it.
  HMODULE Module() const { return FModule; }
  int State() const { return FState; }
  int CycleCount() const { return FCycleCount; }
  int Converged() const { return FConverged; }

  void LoadEngine();
  void UnloadEngine();
  void StartRefinement();
  void RunCycle();
  void FinishRefinement(bool update);
  void QuickClose();
  void ShowError(int code);

  // Progress of the running cycle in percent, 0 when not loaded.
  int GetProgress();
  // Agreement factors of histogram h; 0 when not loaded.
  float GetRp(int h);
  float GetRwp(int h);
  float GetChi2(int h);
  // The three at once (0 when not loaded): those the check at the end of the
  // start or the last cycle read, while the engine has changed nothing since;
  // else from one engine call.
  void GetAgreement(int h, float& rp, float& rwp, float& chi2);
  // Value and standard error of the parameter at the address; 0 when not
  // loaded or when the engine reports a status other than 0.
  float GetParameterValue(int h, int p, int a, int t);
  float GetParameterError(int h, int p, int a, int t);
  // The engine's status; reNotLoaded when it cannot be asked.
  int SetParameterValue(int h, int p, int a, int t, float value);
  // Fills the plot with the engine's pattern of histogram h.
  void GetPlot(TPlotData& plot, int h);
  // Radial distribution curve `kind` (1 PDF, 2 G, 3 D, 4 T, 5 N) of a phase
  // (1-based number): values[i] = the curve at R = 0.01 i for i = 1 .. 1000;
  // values[0] is left alone. Returns the engine's status; reNotLoaded when
  // not loaded, 499 when the array is too short.
  int GetRDF(std::span<float> values, int phase, int kind);

  TRietveld* Model = nullptr;   // set by the caller, not owned
  std::string DataFileName;
  // Said after the data file's name when the engine cannot open it (the
  // window that starts the run tells where another one is chosen).
  std::string DataFileAdvice;
  // Work file names without extension; the per-user run folder's "testclass"
  // (which outlives the program) when empty at the first start.
  std::string BaseName;
  // The model file the run was started on, which the run's files (BaseName
  // and an extension) belong to; set by whoever starts the run.
  std::string RunInputFile;
  int LastError = 0;
  // Show messages; when false, all but the old-version warning are suppressed.
  bool Messages = true;
  // Engine memory limits, passed at start.
  int IRS = 1500;
  int IDSZ = 8000;
  int NIPOI = 0;
  // The library loaded by LoadEngine; tests point it at purpose-built ones.
  std::string LibraryName = "zudezez.dll";

private:
  struct TEntries;
  // Sets the entries of the table from the library; false when a mandatory
  // one is missing.
  bool BindEntries();
  void ClearEntries();
  int32_t HistogramCount() const;
  // Error 200 when an agreement factor or refined value is not finite.
  int CheckResults();
  void Info(int h, float& rp, float& rwp, float& chi2);
  void Say(const std::string& text) const;

  struct TAgreement {
    float Rp, Rwp, Chi2;
  };
  // Per histogram, what the last check read; emptied by every call that may
  // change the engine's results.
  std::vector<TAgreement> FChecked;

  HMODULE FModule = nullptr;
  int32_t FCycleCount = 0;
  int FState = 0;
  int32_t FConverged = 0;
  bool FLoaded = false;
  std::unique_ptr<TEntries> FEntries;
};
