// Chart files as pictures: TChartImage holds a chart, so that chart files
// ("grf") open wherever pictures are loaded; and the save-chart dialog that
// offers the chart file beside every registered picture format.
#pragma once

#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "platform/gfx/bitmap.h"

class TChartImage : public TGraphic {
public:
  TChartImage() = default;
  ~TChartImage() override;
  std::string ClassName() const override { return "TChartImage"; }

  // Made on first use: an owned chart without owner, unbuffered.
  TChart* Chart() const;
  // Holds the chart given (not owned from then on) and signals a change.
  void SetChart(TChart* Value);

  bool Empty() const override { return FChart == nullptr; }
  int Width() const override { return Chart()->Width(); }
  int Height() const override { return Chart()->Height(); }
  void SetWidth(int value) override { Chart()->SetWidth(value); }
  void SetHeight(int value) override { Chart()->SetHeight(value); }
  // Whatever the value, the chart's background becomes clear.
  void SetTransparent(bool value) override;
  void Assign(const TGraphic* source) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  // A chart stream with its data; a damaged one raises and keeps nothing.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void ReadData(TStream& stream) override { LoadFromStream(stream); }
  void WriteData(TStream& stream) const override { SaveToStream(stream); }
  void SaveToFile(const std::string& fileName) const override;

private:
  mutable TChart* FChart = nullptr;
  mutable bool FOwnsChart = true;
};

// The native format's extension, without the point.
inline const char* const GrafChartExtension = "grf";

// Runs the save-chart dialog for the chart and writes the file chosen, as a
// chart file (the first filter entry) or as the picture format of the entry
// chosen. FileName comes back empty when the user cancelled.
void SaveChartDialog(TCustomChart* Chart, std::string& FileName);

// The "grf" picture format; removed again at shutdown.
void RegisterChartImageClasses();
void UnregisterChartImageClasses();
