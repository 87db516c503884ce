#include "chart/extra/extraregister.h"

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/extra/arrowcha.h"
#include "chart/extra/grafarrowedi.h"
#include "chart/extra/bar3d.h"
#include "chart/extra/bubblech.h"
#include "chart/extra/grafbubbleedit.h"
#include "chart/extra/errorbar.h"
#include "chart/extra/graferrbared.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafganttedi.h"
#include "chart/extra/grafbezie.h"
#include "chart/extra/grafanntooledit.h"
#include "chart/extra/grafaxisarrowedit.h"
#include "chart/extra/grafaxistooledit.h"
#include "chart/extra/grafcolorbandedit.h"
#include "chart/extra/grafcolorlineeditor.h"
#include "chart/extra/grafcursoredit.h"
#include "chart/extra/grafdragmarksedit.h"
#include "chart/extra/grafdrawlineeditor.h"
#include "chart/extra/grafgridbandtooledit.h"
#include "chart/extra/grafimagetooledit.h"
#include "chart/extra/grafmarkstiptooledit.h"
#include "chart/extra/grafnearesttooleditor.h"
#include "chart/extra/grafrotatetooleditor.h"
#include "chart/extra/grafseriesanimedit.h"
#include "chart/extra/grafbarjoineditor.h"
#include "chart/extra/grafboxplot.h"
#include "chart/extra/grafboxploteditor.h"
#include "chart/extra/grafcalendar.h"
#include "chart/extra/grafcalendareditor.h"
#include "chart/extra/grafdonut.h"
#include "chart/extra/grafdonutedit.h"
#include "chart/extra/graffunnel.h"
#include "chart/extra/graffunneleditor.h"
#include "chart/extra/grafextralegendtool.h"
#include "chart/extra/grafextralegendtooledit.h"
#include "chart/extra/grafgantttool.h"
#include "chart/extra/grafgantttooledit.h"
#include "chart/extra/grafgaugeeditor.h"
#include "chart/extra/grafgauges.h"
#include "chart/extra/grafhighlowedit.h"
#include "chart/extra/grafimaed.h"
#include "chart/extra/graflegendscrollbar.h"
#include "chart/extra/graflegendscrollbaredit.h"
#include "chart/extra/graflighting.h"
#include "chart/extra/graflinepointeditor.h"
#include "chart/extra/graflightingedit.h"
#include "chart/extra/grafpagenumtool.h"
#include "chart/extra/grafpietool.h"
#include "chart/extra/grafpietooledit.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafpolareditor.h"
#include "chart/extra/grafpyramid.h"
#include "chart/extra/grafpyramidedit.h"
#include "chart/extra/grafrose.h"
#include "chart/extra/grafwindroseeditor.h"
#include "chart/extra/grafclockeditor.h"
#include "chart/extra/grafselectortool.h"
#include "chart/extra/grafselectortooledit.h"
#include "chart/extra/grafseriesbandtool.h"
#include "chart/extra/grafseriesbandtooledit.h"
#include "chart/extra/grafshape.h"
#include "chart/extra/grafshapeedi.h"
#include "chart/extra/grafsmith.h"
#include "chart/extra/grafsmithedit.h"
#include "chart/extra/graftransposetool.h"
#include "chart/extra/graftransposetooledit.h"
#include "chart/extra/grafvolumepipe.h"
#include "chart/extra/grafvolumepipeeditor.h"
#include "chart/extra/imagebar.h"
#include "chart/extra/imapoint.h"
#include "chart/extra/mypoint.h"

void RegisterExtraSeriesTypes() {
  PolarDegreeSymbol = "\xC2\xB0";
  // Polar, radar and polar bar.
  RegisterSeriesType(&TPolarSeries::StaticClass(), &GrafMsgExPolar, &GrafMsgExtended, 2);
  RegisterSeriesType(&TRadarSeries::StaticClass(), &GrafMsgExRadar, &GrafMsgExtended, 2);
  RegisterSeriesType(&TPolarBarSeries::StaticClass(), &GrafMsgExPolarBar, &GrafMsgExtended, 2);
  RegisterClasses({&TPolarSeriesEditor::StaticClass()});
  // Wind rose and clock.
  RegisterSeriesType(&TWindRoseSeries::StaticClass(), &GrafMsgExWindRose, &GrafMsgExOther, 1);
  RegisterSeriesType(&TClockSeries::StaticClass(), &GrafMsgExClock, &GrafMsgExOther, 1);
  RegisterClasses({&TWindRoseEditor::StaticClass()});
  RegisterClasses({&TClockEditor::StaticClass()});
  RegisterSeriesType(&TSmithSeries::StaticClass(), &GrafMsgExSmith, &GrafMsgExtended, 2);
  RegisterClasses({&TSmithSeriesEdit::StaticClass()});
  RegisterSeriesType(&TGaugeSeries::StaticClass(), &GrafMsgExGauge, &GrafMsgExtended, 1);
  RegisterClasses({&TGaugeSeriesEditor::StaticClass()});
  RegisterSeriesType(&TBubbleSeries::StaticClass(), &GrafMsgBubble, &GrafMsgStandard, 1);
  RegisterClasses({&TBubbleSeriesEditor::StaticClass()});
  RegisterSeriesType(&TArrowSeries::StaticClass(), &GrafMsgArrow, &GrafMsgExtended, 2);
  RegisterClasses({&TArrowSeriesEditor::StaticClass()});
  RegisterSeriesType(&TGanttSeries::StaticClass(), &GrafMsgGantt, &GrafMsgStandard, 1);
  RegisterClasses({&TGanttSeriesEditor::StaticClass()});
  RegisterSeriesType(&TChartShape::StaticClass(), &GrafMsgShape, &GrafMsgStandard, 2);
  RegisterClasses({&TChartShapeEditor::StaticClass()});
  RegisterSeriesType(&TFunnelSeries::StaticClass(), &GrafMsgExFunnel, &GrafMsgExStats, 1);
  RegisterClasses({&TFunnelSeriesEditor::StaticClass()});
  RegisterSeriesType(&TPyramidSeries::StaticClass(), &GrafMsgExPyramid, &GrafMsgExtended, 2);
  RegisterClasses({&TPyramidSeriesEditor::StaticClass()});
  RegisterSeriesType(&TDonutSeries::StaticClass(), &GrafMsgExDonut, &GrafMsgExtended, 1);
  RegisterClasses({&TDonutSeriesEditor::StaticClass()});
  RegisterSeriesType(&TVolumePipeSeries::StaticClass(), &GrafMsgExVolumePipe, &GrafMsgExStats, 1);
  RegisterClasses({&TVolumePipeSeriesEditor::StaticClass()});
  RegisterSeriesType(&TBezierSeries::StaticClass(), &GrafMsgExBezier, &GrafMsgExtended, 1);
  // Error bar, error and high-low.
  RegisterSeriesType(&TErrorBarSeries::StaticClass(), &GrafMsgExErrorBar, &GrafMsgExStats, 1);
  RegisterSeriesType(&TErrorSeries::StaticClass(), &GrafMsgExError, &GrafMsgExStats, 1);
  RegisterSeriesType(&THighLowSeries::StaticClass(), &GrafMsgExHighLow, &GrafMsgExStats, 1);
  RegisterClasses({&TErrorSeriesEditor::StaticClass()});
  RegisterClasses({&THighLowEditor::StaticClass()});
  // Box plots.
  RegisterSeriesType(&TBoxSeries::StaticClass(), &GrafMsgExBoxPlot, &GrafMsgExStats, 2);
  RegisterSeriesType(&THorizBoxSeries::StaticClass(), &GrafMsgExHorizontalBoxPlot, &GrafMsgExStats, 2);
  RegisterClasses({&TBoxSeriesEditor::StaticClass()});
  RegisterSeriesType(&TCalendarSeries::StaticClass(), &GrafMsgExCalendar, &GrafMsgExOther, 1);
  RegisterClasses({&TCalendarSeriesEditor::StaticClass()});
  // Line-point and bar-join.
  RegisterSeriesType(&TMyPointSeries::StaticClass(), &GrafMsgExLinePoint, &GrafMsgExOther, 1);
  RegisterSeriesType(&TBarJoinSeries::StaticClass(), &GrafMsgExBarJoin, &GrafMsgExOther, 1);
  RegisterClasses({&TLinePointEditor::StaticClass()});
  RegisterClasses({&TBarJoinEditor::StaticClass()});
  // Image bar, image point and delta point.
  RegisterSeriesType(&TImageBarSeries::StaticClass(), &GrafMsgExImageBar, &GrafMsgExOther, 1);
  RegisterClasses({&TImageBarSeriesEditor::StaticClass()});
  RegisterSeriesType(&TImagePointSeries::StaticClass(), &GrafMsgExImagePoint, &GrafMsgExOther, 1);
  RegisterSeriesType(&TDeltaPointSeries::StaticClass(), &GrafMsgExDeltaPoint, &GrafMsgExOther, 1);
  RegisterSeriesType(&TBar3DSeries::StaticClass(), &GrafMsgExBar3D, &GrafMsgExOther, 1);
}

void UnregisterExtraSeriesTypes() {
  UnregisterSeriesTypes({&TPolarSeries::StaticClass(), &TRadarSeries::StaticClass(), &TPolarBarSeries::StaticClass()});
  PolarDegreeSymbol.clear();
  UnregisterSeriesTypes({&TWindRoseSeries::StaticClass(), &TClockSeries::StaticClass()});
  ClockRomanNumerals().clear();
  UnregisterSeriesTypes({&TSmithSeries::StaticClass(), &TGaugeSeries::StaticClass(), &TFunnelSeries::StaticClass(),
                         &TPyramidSeries::StaticClass(), &TDonutSeries::StaticClass(),
                         &TVolumePipeSeries::StaticClass(), &TBezierSeries::StaticClass(),
                         &TErrorBarSeries::StaticClass(), &TErrorSeries::StaticClass(),
                         &THighLowSeries::StaticClass(), &TBoxSeries::StaticClass(), &THorizBoxSeries::StaticClass(),
                         &TCalendarSeries::StaticClass(), &TMyPointSeries::StaticClass(),
                         &TBarJoinSeries::StaticClass(), &TImageBarSeries::StaticClass(),
                         &TImagePointSeries::StaticClass(), &TDeltaPointSeries::StaticClass(),
                         &TBar3DSeries::StaticClass()});
}

namespace {
bool ToolsRegistered = false;
}  // namespace

void RegisterExtraToolTypes() {
  if (ToolsRegistered) return;
  ToolsRegistered = true;
  // Each unit: its tool type, then its editor form by class name.
  RegisterToolTypes({&TLegendScrollBar::StaticClass()});
  RegisterClasses({&TScrollbarEditor::StaticClass()});
  RegisterToolTypes({&TLightTool::StaticClass()});
  RegisterClasses({&TLightToolEditor::StaticClass()});
  RegisterToolTypes({&TSelectorTool::StaticClass()});
  RegisterClasses({&TSelectorToolEditor::StaticClass()});
  RegisterToolTypes({&TExtraLegendTool::StaticClass()});
  RegisterClasses({&TExtraLegendEditor::StaticClass()});
  RegisterToolTypes({&TSeriesBandTool::StaticClass()});
  RegisterClasses({&TSeriesBandToolEdit::StaticClass()});
  RegisterToolTypes({&TPieTool::StaticClass()});
  RegisterClasses({&TPieToolEditor::StaticClass()});
  RegisterToolTypes({&TGanttTool::StaticClass()});
  RegisterClasses({&TGanttToolEditor::StaticClass()});
  RegisterToolTypes({&TGridTransposeTool::StaticClass()});
  RegisterClasses({&TGridTransposeToolEdit::StaticClass()});
  RegisterToolTypes({&TPageNumTool::StaticClass()});
  PageNumToolClass = &TPageNumTool::StaticClass();
  // The editor forms of the axis tools, the series tools and the annotation
  // tool of the chart core and series.
  RegisterClasses({&TAxisToolEditor::StaticClass(), &TGridBandToolEdit::StaticClass(),
                   &TAxisArrowToolEditor::StaticClass(), &TColorBandToolEditor::StaticClass(),
                   &TColorLineToolEditor::StaticClass(), &TCursorToolEditor::StaticClass(),
                   &TNearestToolEdit::StaticClass(), &TDragMarksToolEditor::StaticClass(),
                   &TMarksTipToolEdit::StaticClass(), &TChartImageToolEditor::StaticClass(),
                   &TDrawLineEdit::StaticClass(), &TRotateToolEditor::StaticClass(),
                   &TSeriesAnimToolEditor::StaticClass(), &TAnnotationToolEdit::StaticClass()});
}

void UnregisterExtraToolTypes() {
  if (!ToolsRegistered) return;
  ToolsRegistered = false;
  PageNumToolClass = nullptr;
  UnregisterToolTypes({&TLegendScrollBar::StaticClass(), &TLightTool::StaticClass(), &TSelectorTool::StaticClass(),
                       &TExtraLegendTool::StaticClass(), &TSeriesBandTool::StaticClass(), &TPieTool::StaticClass(),
                       &TGanttTool::StaticClass(), &TGridTransposeTool::StaticClass(),
                       &TPageNumTool::StaticClass()});
  FreeLightingBitmap();
}
