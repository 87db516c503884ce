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
#include "chart/editor/graftypeicons.h"
// The element editors of the series, functions and tools.
#include "chart/editor/grafpoedi.h"
#include "chart/editor/grafflineedi.h"
#include "chart/editor/grafcustedit.h"
#include "chart/editor/grafareaedit.h"
#include "chart/editor/grafbaredit.h"
#include "chart/editor/grafstackbaredit.h"
#include "chart/editor/grafpieedit.h"
#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafgried.h"
#include "chart/editor/grafvectoredit.h"
#include "chart/editor/graftoweredit.h"
#include "chart/editor/grafsurfedit.h"
#include "chart/editor/grafwaterfalledit.h"
#include "chart/editor/grafcolorgrideditor.h"
#include "chart/editor/graftrisurfedit.h"
#include "chart/editor/grafpo3dedit.h"
#include "chart/editor/grafcontouredit.h"
#include "chart/editor/graftoolseriesedit.h"
#include "chart/editor/grafdragpoint.h"
#include "chart/editor/grafdatatableeditor.h"
#include "chart/editor/grafdraw3d.h"
#include "chart/editor/grafavgfunceditor.h"
#include "chart/editor/grafcustomfunceditor.h"
#include "chart/editor/grafexpavefuncedit.h"
#include "chart/editor/grafrmsfuncedit.h"
#include "chart/editor/grafbollingereditor.h"
#include "chart/editor/grafmacdfuncedit.h"
#include "chart/editor/grafsmoothfuncedit.h"
#include "chart/editor/grafmovavefuncedit.h"
#include "chart/editor/grafadxfunceditor.h"
#include "chart/editor/grafpvofunction.h"
#include "chart/editor/grafccifunction.h"
#include "chart/editor/grafobvfunction.h"
#include "chart/editor/grafclvfunction.h"
#include "chart/editor/grafcompressohlc.h"
#include "chart/editor/grafcandledi.h"
#include "chart/editor/grafvoled.h"
#include "chart/editor/grafhistoedit.h"
#include "chart/editor/grafpointfigure.h"
#include "chart/editor/grafmapseriesedit.h"
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
    {"series type icons", RegisterSeriesTypeIcons, nullptr},
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
    // The element editors: series pointer, standard, 3D grid, contour,
    // series-tool, data-table, function, financial and map series editors.
    {"GrafPoEdi", RegisterPointerEditorClasses, nullptr},
    {"GrafFLineEdi", RegisterFastLineEditorClasses, nullptr},
    {"GrafCustEdit", RegisterCustomSeriesEditorClasses, nullptr},
    {"GrafAreaEdit", RegisterAreaSeriesEditorClasses, nullptr},
    {"GrafBarEdit", RegisterBarSeriesEditorClasses, nullptr},
    {"GrafStackBarEdit", RegisterStackBarEditorClasses, nullptr},
    {"GrafPieEdit", RegisterPieSeriesEditorClasses, nullptr},
    {"GrafCircledEdit", RegisterCircledEditorClasses, nullptr},
    {"GrafGriEd", RegisterGrid3DEditorClasses, nullptr},
    {"GrafVectorEdit", RegisterVectorEditorClasses, nullptr},
    {"GrafTowerEdit", RegisterTowerEditorClasses, nullptr},
    {"GrafSurfEdit", RegisterSurfaceEditorClasses, nullptr},
    {"GrafWaterFallEdit", RegisterWaterFallEditorClasses, nullptr},
    {"GrafColorGridEditor", RegisterColorGridEditorClasses, nullptr},
    {"GrafTriSurfEdit", RegisterTriSurfaceEditorClasses, nullptr},
    {"GrafPo3DEdit", RegisterPoint3DEditorClasses, nullptr},
    {"GrafContourEdit", RegisterContourEditorClasses, nullptr},
    {"GrafToolSeriesEdit", RegisterSeriesToolEditorClasses, nullptr},
    {"GrafDragPoint", RegisterDragPointEditorClasses, nullptr},
    {"GrafDataTableEditor", RegisterDataTableEditorClasses, nullptr},
    {"GrafDraw3D", RegisterDraw3DClasses, nullptr},
    {"GrafAvgFuncEditor", RegisterAverageFuncEditorClasses, nullptr},
    {"GrafCustomFuncEditor", RegisterCustomFunctionEditorClasses, nullptr},
    {"GrafExpAveFuncEdit", RegisterExpAveFuncEditorClasses, nullptr},
    {"GrafRMSFuncEdit", RegisterRMSFuncEditorClasses, nullptr},
    {"GrafBollingerEditor", RegisterBollingerFuncEditorClasses, nullptr},
    {"GrafMACDFuncEdit", RegisterMACDFuncEditorClasses, nullptr},
    {"GrafSmoothFuncEdit", RegisterSmoothFuncEditorClasses, nullptr},
    {"GrafMovAveFuncEdit", RegisterMovAveFuncEditorClasses, nullptr},
    {"GrafADXFuncEditor", RegisterADXFuncEditorClasses, nullptr},
    {"GrafPVOFunction", RegisterPVOFuncEditorClasses, nullptr},
    {"GrafCCIFunction", RegisterCCIFuncEditorClasses, nullptr},
    {"GrafOBVFunction", RegisterOBVFuncEditorClasses, nullptr},
    {"GrafCLVFunction", RegisterCLVFuncEditorClasses, nullptr},
    {"GrafCompressOHLC", RegisterCompressFuncEditorClasses, nullptr},
    {"GrafCandlEdi", RegisterCandleEditorClasses, nullptr},
    {"GrafVolEd", RegisterVolumeEditorClasses, nullptr},
    {"GrafHistoEdit", RegisterHistogramEditorClasses, nullptr},
    {"GrafPointFigure", RegisterPointFigureEditorClasses, nullptr},
    {"GrafMapSeriesEdit", RegisterMapSeriesEditorClasses, nullptr},
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
