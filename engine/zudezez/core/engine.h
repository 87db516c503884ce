// One run of the refinement engine: the model read from the work input
// file, the observed data, the calculated patterns and the least squares,
// with what the entry points ask of them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/pattern.h"
#include "core/refinement.h"
#include "model/rietclass.h"

class TZdEngine {
public:
  TZdEngine();
  ~TZdEngine();
  TZdEngine(const TZdEngine&) = delete;
  TZdEngine& operator=(const TZdEngine&) = delete;

  // Reads the input and data files and prepares the run; returns an engine
  // error number (0: ready for cycles).
  int Start(int histogramCount, const std::string& inputFile, const std::string& dataName,
            const std::string& outputFile, const std::string& baseName);
  // One least-squares cycle; sets converged to 1 when the termination
  // criterion is met.
  int Iterate(int histogramCount, int cycle, int& converged);
  // Ends the run: the listing is completed and, with update, the refined
  // model written to "<base>.upd". The results stay readable.
  int Close(bool update);
  // Abandons the run; the results stay readable.
  void Abandon() {
    FRunning = false;
    FKeptMarkers.reset();
  }

  bool Started() const { return FStarted; }
  bool Running() const { return FRunning; }
  float Progress() const { return FProgress; }

  // Agreement of histogram h: Rp, Rwp, chi^2 and Rexp; per phase (first 400)
  // R-Bragg, R-F and weight fraction (percent). False when h does not exist.
  bool Info(int h, float& rp, float& rwp, float& chi2, float& rexp, float* rBragg, float* rF, float* fraction);
  bool PlotInfo(int h, int& points, int& markers, float& start, float& step) const;
  bool Plot(int h, float* x, float* observed, float* calculated, int* codes, float* positions) const;
  // Status 0 when the address names a value.
  int GetParameter(int h, int p, int a, int t, float& value, float& esd);
  int GetParameterByNumber(int number, float& value, float& esd) const;
  int SetParameter(int h, int p, int a, int t, float value);
  // ZD_RDF_POINTS values of curve `kind` at R = range / ZD_RDF_POINTS .. range.
  int Rdf(float* values, float range, int phase, int kind) const;
  int Fourier(int h, int p, int axis, int kind, float& minimum, float& maximum, float* map);

  // Whoever holds these may change the run: the markers PlotInfo kept go.
  TRietveld& Model() {
    FKeptMarkers.reset();
    return *FModel;
  }
  TPattern& Pattern() {
    FKeptMarkers.reset();
    return *FPattern;
  }
  TRefinement& Refinement() {
    FKeptMarkers.reset();
    return *FRefinement;
  }
  const std::string& Problem() const { return FProblem; }

private:
  struct TMarker {
    int Code;
    float Position;
  };
  std::vector<TMarker> Markers(int h) const;
  // The markers PlotInfo counted, for the Plot of the same histogram that
  // follows it (the binding asks for both in a row; each would work them out
  // from every reflection's peak). Gone at any change of the run.
  struct TKeptMarkers {
    int Histogram;
    std::vector<TMarker> Markers;
  };
  mutable std::optional<TKeptMarkers> FKeptMarkers;
  bool AppendListing(const std::string& text);
  bool WriteBonds();
  int ReadLeBail();
  bool WriteLeBail();
  // Replaces a file through the atomic save; false (and FProblem) when it failed.
  bool SaveFile(const std::string& fileName, const std::string& text);

  std::unique_ptr<TRietveld> FModel;
  std::unique_ptr<TPattern> FPattern;
  std::unique_ptr<TRefinement> FRefinement;
  std::string FOutputFile, FBaseName;
  bool FStarted = false, FRunning = false;
  float FProgress = 0;
  int FCycles = 0;
  std::string FProblem;
};
