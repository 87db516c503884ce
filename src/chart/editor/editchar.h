// The plain doors to the chart editor window.
#pragma once

#include "chart/editor/grafedicha.h"

// A chart editor window for the chart, owned by the application, with its
// help set up; not shown.
TChartEditForm* CreateChartEditor(TCustomGrafPanel* Chart);
// Opens the editor modally on the page (a TChartEditorTab ordinal) and frees
// it afterwards, also when it fails. The owner is not used.
void EditChartAtPage(TComponent* Owner, TCustomGrafPanel* Chart, int Page);
// The same on the main page.
void EditChartWindow(TComponent* Owner, TCustomGrafPanel* Chart);
