// A chart for the series tests: it draws through a recording canvas of its
// own size, so each pass leaves both a call log and a picture.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/recordingcanvas.h"

class TSeriesTestChart : public TChart {
public:
  // A flat chart without legend, so the log holds the axes and the series.
  explicit TSeriesTestChart(int Width = 400, int Height = 300) : TChart(nullptr) {
    SetBounds(0, 0, Width, Height);
    auto canvas = std::make_unique<TRecordingCanvas>(Width, Height);
    Rec = canvas.get();
    ReplaceCanvas(std::move(canvas));
    SetView3D(false);
    Legend()->SetVisible(false);
    Rec->Clear();
  }
  // A drawing pass over the whole chart onto the recording canvas's surface.
  void Pass() {
    Rec->Clear();
    DrawOnCanvas(Rec->Surface()->Canvas(), Rect(0, 0, Width(), Height()));
  }
  // Calls of one operation made with a pen of that colour (the series' own).
  std::vector<TCanvasCall> CallsWithPen(const std::string& Op, TColor PenColor, int MaxDepth = 0) const {
    std::vector<TCanvasCall> result;
    for (const TCanvasCall& c : Rec->CallsOf(Op, MaxDepth))
      if (c.PenColor == PenColor) result.push_back(c);
    return result;
  }
  TRecordingCanvas* Rec = nullptr;
};

inline std::vector<int> CallArgs(const TCanvasCall& c) {
  std::vector<int> a;
  for (double v : c.Args) a.push_back(static_cast<int>(v));
  return a;
}
