// How the windows that drive a refinement by themselves (the text editor's
// manual refine, the macro functions) reach the pattern plot and watch
// windows: the main window fills these in when it creates the windows; a
// test puts fakes there. An empty callback means the view is not there.
#pragma once

#include <functional>
#include <string>

class TPlotData;

struct TRefineViews {
  // The histogram the refinement plot window shows now (its tag); 0 while
  // there is no such window.
  std::function<int()> PlotHistogram;
  // Shows the refinement plot window (created when missing, with its tag set
  // to the histogram) on the plot data, with the caption when not empty.
  std::function<void(TPlotData& data, int histogram, const std::string& caption)> ShowPlot;
  // Shows the watch window filled from the running engine, as the
  // refinement window fills it.
  std::function<void()> ShowWatch;
};
