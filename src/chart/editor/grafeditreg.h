// The start-up registrations of the chart editor library, made from one
// explicit, ordered list (never from static initialisation): the series
// library's types, which chart files and galleries need by name, then each
// editor unit's form classes (found by name, without regard to case, through
// the class registry) and its other registrations, in the units' order. The
// metafile export format is registered before the bitmap one, which keeps the
// picture formats in that order in the export dialog.
//
// The program's main block and the tests call RegisterChartEditorUnits once;
// a second call does nothing. UnregisterChartEditorUnits undoes, in reverse
// order, what the units undo at shutdown.
#pragma once

#include <string>
#include <vector>

void RegisterChartEditorUnits();
void UnregisterChartEditorUnits();

// The units' names in registration order (for tests and diagnostics).
std::vector<std::string> ChartEditorUnitNames();
