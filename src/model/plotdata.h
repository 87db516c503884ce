// Observed and plot data: one diffraction pattern as points (x, observed
// intensity and a third per-point value), and the same with the calculated
// pattern and reflection markers that a refinement cycle adds.
//
// The point arrays are indexed from 0 in C++ (point k of the file is element
// k - 1). They are sized by Allocate and stay valid until the next Allocate or
// Release; callers test IsAllocated before writing them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class THistogram;

class TData {
public:
  TData();
  virtual ~TData();
  TData(const TData&) = delete;
  TData& operator=(const TData&) = delete;

  // What the record holds: 0 nothing, 2 an observed pattern read from a file,
  // 3 or 4 a pattern fetched from the engine.
  int Status() const { return FStatus; }
  void SetStatus(int status) { FStatus = status; }
  int PointCount() const { return FPointCount; }
  void SetPointCount(int count) { FPointCount = count; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  float Start() const { return FStart; }
  void SetStart(float start) { FStart = start; }
  float Step() const { return FStep; }
  void SetStep(float step) { FStep = step; }
  float Stop() const { return FStop; }
  void SetStop(float stop) { FStop = stop; }
  // The model histogram (1-based) the pattern belongs to.
  int Histogram() const { return FHistogram; }
  void SetHistogram(int histogram) { FHistogram = histogram; }

  bool IsAllocated() const { return FAllocated; }
  // Number of elements the point arrays were sized for.
  int Capacity() const { return FCapacity; }
  std::span<float> X() { return FX; }
  std::span<const float> X() const { return FX; }
  std::span<float> Y() { return FY; }
  std::span<const float> Y() const { return FY; }
  std::span<float> Third() { return FThird; }
  std::span<const float> Third() const { return FThird; }

  // Sizes the three point arrays to n elements, keeping the leading contents.
  // Lack of memory (or a negative n) leaves no arrays, IsAllocated false and
  // status 0; nothing is raised. The point count is left to the caller.
  void Allocate(int n);
  void Release();

  // Extremes over points 1 .. PointCount (never beyond the arrays); 0 when
  // there is no point.
  float MinX() const;
  float MaxX() const;
  float MinY() const;
  float MaxY() const;

  // The observed-data readers. Each one either fills the record (status 2)
  // or shows one message and leaves it empty (status 0, no points, no
  // arrays); a GSAS file that ends early keeps the points it holds and says
  // so.
  // File kinds: 4 .dat, 7 GSAS raw, 9 .xy, 10 .cpi (see datafiles.h).
  void ReadDataFile(const std::string& fileName, int histogram, int kind);
  // Start, step, stop and an optional title of a header line: true when they
  // were read in free format; false after the fixed-column fallback.
  static bool ParseHeaderLine(const std::string& line, float& start, float& step, float& stop, std::string& title);
  void ReadDAT(const std::string& fileName);
  void ReadGSAS(const std::string& fileName);
  void ReadXY(const std::string& fileName);
  void ReadCPI(const std::string& fileName);

private:
  // Back to the state after construction after a failed read; the histogram
  // number stays.
  void Empty();

  int FStatus = 0;
  int FPointCount = 0;
  std::string FTitle;
  float FStart = 0;
  float FStep = 1.0f;
  float FStop = 0;
  int FHistogram = 0;
  bool FAllocated = false;
  int FCapacity = 0;
  std::vector<float> FX, FY, FThird;
};

class TPlotData : public TData {
public:
  TPlotData() = default;

  // Both the point arrays and the plot arrays are allocated.
  bool IsAllocated() const { return TData::IsAllocated() && FPlotAllocated; }
  bool IsPlotAllocated() const { return FPlotAllocated; }
  // Sizes the point arrays to n and the calculated array to n, the marker
  // arrays to m. Lack of memory leaves the plot arrays unallocated, with
  // status 0 when the point arrays failed (or n is 0) and 2 when only the
  // plot arrays did.
  void Allocate(int n, int m);
  // The entry the engine binding calls; the same as Allocate.
  void AllocatePlot(int n, int m) { Allocate(n, m); }
  // Frees the calculated and marker arrays (the point arrays stay).
  void Release();

  std::span<float> Calculated() { return FCalculated; }
  std::span<const float> Calculated() const { return FCalculated; }
  // Packed phase and Miller indices of every reflection marker:
  // phase * 2^26 + (h + 128) * 2^16 + (k + 128) * 2^8 + (l + 128).
  std::span<int32_t> MarkerCodes() { return FMarkerCodes; }
  std::span<const int32_t> MarkerCodes() const { return FMarkerCodes; }
  std::span<float> MarkerPositions() { return FMarkerPositions; }
  std::span<const float> MarkerPositions() const { return FMarkerPositions; }
  int MarkerCapacity() const { return FMarkerCapacity; }
  int MarkerCount() const { return FMarkerCount; }
  void SetMarkerCount(int count) { FMarkerCount = count; }

  // Decoded parts of marker i (1-based); 0 for a marker that does not exist.
  int MarkerPhase(int i) const;
  int MarkerH(int i) const;
  int MarkerK(int i) const;
  int MarkerL(int i) const;

  // The model histogram the pattern belongs to (not owned); set and cleared
  // by the plot windows. A histogram freed since (the model re-read, an
  // import, the model closed) reads as none: the pattern then has no
  // histogram to edit.
  THistogram* HistogramRef() const { return FHistogramAlive.expired() ? nullptr : FHistogramRef; }
  void SetHistogramRef(THistogram* histogram);
  // What the pattern's x values need of the histogram for a d-spacing and
  // an axis title, taken when the histogram was set and kept with the
  // pattern after the histogram is gone.
  struct TInstrument {
    bool Known = false;
    int Job = 0;
    float Zero = 0, Wavelength1 = 0, Wavelength2 = 0;
  };
  // From the histogram while it lives (its values now), else as kept.
  TInstrument Instrument() const;

private:
  // Code of marker i, or nullptr when i is not a valid marker.
  const int32_t* MarkerCode(int i) const;

  std::vector<float> FCalculated;
  std::vector<int32_t> FMarkerCodes;
  std::vector<float> FMarkerPositions;
  THistogram* FHistogramRef = nullptr;
  std::weak_ptr<const void> FHistogramAlive;
  TInstrument FInstrument;
  bool FPlotAllocated = false;
  int FMarkerCount = 0;
  int FMarkerCapacity = 0;
};
