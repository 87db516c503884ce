// The engine unit: its globals, enumeration names and start-up.
#include "chart/core/grengine.h"

#include "chart/core/grafprocs.h"
#include "platform/ui/streaming.h"

int ValueListGrowStep = 1000;
int AxisPixelLimit = 67108863;
bool RandomSampleDataAtRunTime = false;
bool CalloutArrowContrast = false;

namespace {
int EngineStartCount = 0;
}

const TEnumInfo& ChartListOrderEnumInfo() {
  static const TEnumInfo info{"TChartListOrder", {"loNone", "loAscending", "loDescending"}, 0};
  return info;
}

const TEnumInfo& HorizAxisEnumInfo() {
  static const TEnumInfo info{"THorizAxis", {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"}, 0};
  return info;
}

const TEnumInfo& VertAxisEnumInfo() {
  static const TEnumInfo info{"TVertAxis", {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"}, 0};
  return info;
}

const TEnumInfo& LegendTextStyleEnumInfo() {
  static const TEnumInfo info{"TLegendTextStyle",
                              {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent",
                               "ltsXValue", "ltsValue", "ltsPercent", "ltsXAndValue", "ltsXAndPercent"},
                              0};
  return info;
}

const TEnumInfo& SeriesMarksStyleEnumInfo() {
  static const TEnumInfo info{"TSeriesMarksStyle",
                              {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend",
                               "smsPercentTotal", "smsLabelPercentTotal", "smsXValue", "smsXY"},
                              0};
  return info;
}

const TEnumInfo& SeriesPointerStyleEnumInfo() {
  static const TEnumInfo info{"TSeriesPointerStyle",
                              {"psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross",
                               "psStar", "psDiamond", "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle"},
                              0};
  return info;
}

const TEnumInfo& ArrowHeadStyleEnumInfo() {
  static const TEnumInfo info{"TArrowHeadStyle", {"ahNone", "ahLine", "ahSolid"}, 0};
  return info;
}

const TEnumInfo& FunctionPeriodStyleEnumInfo() {
  static const TEnumInfo info{"TFunctionPeriodStyle", {"psNumPoints", "psRange"}, 0};
  return info;
}

const TEnumInfo& FunctionPeriodAlignEnumInfo() {
  static const TEnumInfo info{"TFunctionPeriodAlign", {"paFirst", "paCenter", "paLast"}, 0};
  return info;
}

const TEnumInfo& SeriesGroupActiveEnumInfo() {
  static const TEnumInfo info{"TSeriesGroupActive", {"gaYes", "gaNo", "gaSome"}, 0};
  return info;
}

const TEnumInfo& AxisLabelAlignEnumInfo() {
  static const TEnumInfo info{"TAxisLabelAlign", {"alDefault", "alOpposite"}, 0};
  return info;
}

const TEnumInfo& AxisLabelStyleEnumInfo() {
  static const TEnumInfo info{"TAxisLabelStyle", {"talAuto", "talNone", "talValue", "talMark", "talText"}, 0};
  return info;
}

const TEnumInfo& PenLineModeEnumInfo() {
  static const TEnumInfo info{"TPenLineMode", {"lmLine", "lmCylinder", "lmRectangle"}, 0};
  return info;
}

std::vector<TClass>& SeriesSourceClassList() {
  static std::vector<TClass> list;
  return list;
}

void RegisterEngineAttributeClasses() {
  static const bool done = [] {
    RegisterGrafAttributeClasses();
    static const TChartPen pen;
    static const TDottedGrayPen dotted;
    RegisterForeignClass<TChartAxisPen>("TChartAxisPen", GetClassInfo(&pen), [](TClassInfo& c) {
      c.Enum<TChartAxisPen>("LineMode", PenLineModeEnumInfo(), &TChartAxisPen::LineMode, &TChartAxisPen::SetLineMode,
                            lmLine);
      c.Integer<TChartPen>("Width", &TChartPen::Width, &TChartPen::SetWidth, 2);
    });
    RegisterForeignClass<TAxisGridPen>("TAxisGridPen", GetClassInfo(&dotted), [](TClassInfo& c) {
      c.Float<TAxisGridPen>("ZPosition", ftDouble, &TAxisGridPen::ZPosition, &TAxisGridPen::SetZPosition)
          .WithStored([](TObject* o) {
            auto* p = static_cast<TAxisGridPen*>(o);
            return p->ZPosition() != p->ZPositionDefault;
          });
    });
    return true;
  }();
  (void)done;
}

void EngineUnitStartup() {
  if (EngineStartCount++ > 0) return;
  GrafCanvasUnitStartup();
  RegisterEngineAttributeClasses();
  // Elements, functions and series sources stream with forms like controls.
  StartClassGroup(&TControl::StaticClass());
  ActivateClassGroup(&TControl::StaticClass());
  GroupDescendentsWith(&TCustomChartElement::StaticClass(), &TControl::StaticClass());
  GroupDescendentsWith(&TGrafFunction::StaticClass(), &TControl::StaticClass());
  GroupDescendentsWith(&TGrafSeriesSource::StaticClass(), &TControl::StaticClass());
  AxisPixelLimit = UseExtendedPens ? 67108863 : 32767;
  RegisterClasses({&TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass(),
                   &TSeriesMarks::StaticClass()});
}

void EngineUnitShutdown() {
  if (EngineStartCount == 0 || --EngineStartCount > 0) return;
  SeriesSourceClassList().clear();
  UnRegisterClasses({&TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass(),
                     &TSeriesMarks::StaticClass()});
}
