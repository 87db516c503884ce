// Shared set-up of the chart editor tests: the window system (offscreen) and
// the editor library's registrations, made once; small chart builders.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "chart/core/chart.h"
#include "chart/series/series.h"

namespace editortest {

// The GUI and RegisterChartEditorUnits, once per test program.
void EnsureEditor();

// A line series of the chart with the Y values given (X 0, 1, 2 ...).
TLineSeries* AddLine(TChart& Chart, const std::string& Title, std::initializer_list<double> Y);

// The golden file's bytes (tests/chart/editor/golden/<name>).
std::string Golden(const std::string& Name);
// Compares bytes with the golden file; when ZELVORA_UPDATE_GOLDEN is set the
// golden file is written instead.
::testing::AssertionResult MatchesGolden(const std::string& Name, const std::string& Bytes);

}  // namespace editortest
