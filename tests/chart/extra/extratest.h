// Scenes for the further series' tests: a flat chart on the recording canvas
// with one series of a class, and small helpers to read its drawing.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "chart/series/seriestest.h"
#include "platform/rtl/mathutils.h"

// A chart (recording canvas, no legend, 2D) holding one series of type T.
template <class T>
struct TExtraScene {
  explicit TExtraScene(int Width = 400, int Height = 300) : chart(Width, Height) {
    series = new T(&chart);
    series->SetParentChart(&chart);
  }
  TSeriesTestChart chart;
  T* series;
};

// Lines of the recording that were drawn in one colour of pen.
inline std::vector<TCanvasCall> CallsInPen(const TRecordingCanvas* Rec, const std::string& Op, TColor Pen) {
  std::vector<TCanvasCall> out;
  for (const TCanvasCall& c : Rec->CallsOf(Op, 0))
    if (c.PenColor == Pen) out.push_back(c);
  return out;
}

// The angle in degrees (0..360, counter-clockwise from the right) of a
// screen point around a centre.
inline double ScreenAngle(int CX, int CY, int X, int Y) {
  double a = std::atan2(static_cast<double>(CY - Y), static_cast<double>(X - CX)) * 180 / M_PI;
  if (a < 0) a += 360;
  return a;
}
