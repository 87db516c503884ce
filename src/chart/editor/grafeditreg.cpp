#include "chart/editor/grafeditreg.h"

#include <iterator>

#include "chart/core/grafutils.h"
#include "chart/editor/grafabout.h"
#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafbasefuncedit.h"
#include "chart/editor/grafbmpoptions.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafchartactions.h"
#include "chart/editor/grafchartgrid.h"
#include "chart/editor/grafcomma.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafediaxis.h"
#include "chart/editor/grafedi3d.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafedipage.h"
#include "chart/editor/grafedipane.h"
#include "chart/editor/grafedititl.h"
#include "chart/editor/grafediwall.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafedicha.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafedit.h"
#include "chart/editor/grafeditpro.h"
#include "chart/editor/grafedittools.h"
#include "chart/editor/grafediperi.h"
#include "chart/editor/grafemfoptions.h"
#include "chart/editor/grafexport.h"
#include "chart/editor/grafformatting.h"
#include "chart/editor/graffuncedit.h"
#include "chart/editor/grafgalleryalternate.h"
#include "chart/editor/grafgallerypanel.h"
#include "chart/editor/grafgally.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafnavigator.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafprevi.h"
#include "chart/editor/grafselectlist.h"
#include "chart/editor/grafshadoweditor.h"
#include "chart/editor/grafsourceedit.h"
#include "chart/editor/grafstore.h"
#include "chart/editor/grafsymboleditor.h"
#include "chart/editor/graftoolsgallery.h"
#include "chart/editor/grexport.h"
#include "chart/series/grafcandle.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafhisto.h"
#include "chart/series/grafmapseries.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafspline.h"
#include "chart/series/grafstats.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/grafsurfacetool.h"
#include "chart/series/graftools.h"
#include "chart/series/graftrisurface.h"
#include "chart/series/series.h"
#include "platform/gfx/resources.h"

namespace {

struct TEditorUnit {
  const char* Name;
  void (*Register)();
  void (*Unregister)();  // nil: stays registered for the whole run
};

// The series library: every series, function and tool type, so that chart
// files naming them can be read and the galleries can offer them.
void RegisterSeriesLibrary() {
  RegisterStandardSeries();
  RegisterBasicFunctionTypes();
  RegisterStatisticsFunctionTypes();
  RegisterSmoothingFunctionType();
  RegisterFinancialTypes();
  RegisterHistogramSeriesTypes();
  RegisterGridSeriesTypes();
  RegisterPoint3DSeriesTypes();
  RegisterTriSurfaceSeriesTypes();
  RegisterMapSeriesType();
  RegisterChartToolClasses();
  RegisterSurfaceToolType();
}

// The program's bitmap resources, which the chart library loads by name
// (brush patterns, arrows, navigator glyphs).
void RegisterProgramBitmaps() {
  RegisterBitmapResources([](const std::string& name, TBitmap* bitmap) {
    std::unique_ptr<TBitmap> found = LoadResourceBitmap(name);
    if (!found) return false;
    bitmap->Assign(found.get());
    return true;
  });
}

// In the order of the editor units. Each new unit adds its line here.
const TEditorUnit kUnits[] = {
    {"series library", RegisterSeriesLibrary, nullptr},
    {"program bitmaps", RegisterProgramBitmaps, nullptr},
    {"GrafPenDlg", RegisterPenDialogClasses, nullptr},
    {"GrafBrushDlg", RegisterBrushDialogClasses, nullptr},
    {"GrafEdiGrad", RegisterGradientEditorClasses, nullptr},
    {"GrafShadowEditor", RegisterShadowEditorClasses, nullptr},
    {"GrafEdiFont", RegisterFontEditorClasses, nullptr},
    {"GrafSymbolEditor", RegisterSymbolEditorClasses, nullptr},
    {"GrafCustomShapeEditor", RegisterShapeEditorClasses, nullptr},
    {"GrafFormatting", RegisterFormatEditorClasses, nullptr},
    {"GrafAxisIncr", RegisterAxisIncrementClasses, nullptr},
    {"GrafSelectList", RegisterSelectListClasses, nullptr},
    {"GrafSourceEdit", RegisterSourceEditorClasses, nullptr},
    {"GrafBaseFuncEdit", RegisterBaseFunctionEditorClasses, nullptr},
    {"GrafEdiPeri", RegisterPeriodFunctionEditorClasses, nullptr},
    {"GrafFuncEdit", RegisterFunctionPageClasses, nullptr},
    {"GrafGalleryPanel", RegisterGalleryPanelClasses, nullptr},
    {"GrafNavigator", RegisterNavigatorClasses, nullptr},
    {"GrafEdiGene", RegisterGeneralPageClasses, nullptr},
    {"GrafGally", RegisterGalleryDialogClasses, UnregisterGalleryDialogClasses},
    {"GrafGalleryAlternate", RegisterAlternateGalleryClasses, nullptr},
    {"GrafStore", RegisterChartFileClasses, UnregisterChartFileClasses},
    {"GrafExport", RegisterGrafExportUnit, UnregisterGrafExportUnit},
    // The metafile format before the bitmap one: the export dialog lists them so.
    {"GrafEmfOptions", RegisterMetafileExportFormat, UnregisterMetafileExportFormat},
    {"GrafBmpOptions", RegisterBitmapExportFormat, UnregisterBitmapExportFormat},
    {"GrExport", RegisterExportDialogClasses, nullptr},
    {"GrafAbout", RegisterGrafAboutUnit, nullptr},
    // The data grid, the series list box and the pages built on them.
    {"GrafEdiSeri", RegisterSeriesPageClasses, nullptr},
    {"GrafToolsGallery", RegisterToolsGalleryClasses, nullptr},
    {"GrafEditTools", RegisterToolsPageClasses, nullptr},
    {"GrafChartGrid", RegisterChartGridClasses, nullptr},
    {"GrafLisB", RegisterSeriesListBoxClasses, nullptr},
    // The chart-wide pages of the editor window.
    {"GrafEdiAxis", RegisterAxisPageClasses, nullptr},
    {"GrafEdiLege", RegisterLegendPageClasses, nullptr},
    {"GrafEdi3D", Register3DPageClasses, nullptr},
    {"GrafEdiPage", RegisterPagingPageClasses, nullptr},
    {"GrafEdiWall", RegisterWallPageClasses, nullptr},
    {"GrafEdiTitl", RegisterTitlePageClasses, nullptr},
    {"GrafEdiPane", RegisterPanelPageClasses, nullptr},
    // The editor window, its doors, the commander, print preview, the chart picture and the actions.
    {"GrafEditCha", RegisterChartEditorWindowClasses, nullptr},
    {"GrafEdit", RegisterChartEditorComponentClasses, nullptr},
    {"GrafComma", RegisterCommanderClasses, nullptr},
    {"GrafPrevi", RegisterPrintPreviewClasses, nullptr},
    {"GrafEditPro", RegisterChartImageClasses, UnregisterChartImageClasses},
    {"GrafChartActions", RegisterChartActionClasses, nullptr},
};

bool Registered = false;

}  // namespace

void RegisterChartEditorUnits() {
  if (Registered) return;
  Registered = true;
  for (const TEditorUnit& u : kUnits) u.Register();
}

void UnregisterChartEditorUnits() {
  if (!Registered) return;
  Registered = false;
  for (auto it = std::rbegin(kUnits); it != std::rend(kUnits); ++it)
    if (it->Unregister) it->Unregister();
}

std::vector<std::string> ChartEditorUnitNames() {
  std::vector<std::string> names;
  for (const TEditorUnit& u : kUnits) names.emplace_back(u.Name);
  return names;
}
