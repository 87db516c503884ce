// The registries of series, function and tool types, the series utilities
// (create, clone, change class, draw a symbol anywhere) and the named colour
// palettes, with the chart unit's start-up.
#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "platform/rtl/mathutils.h"

namespace {
std::unique_ptr<TGrafSeriesTypes> GSeriesTypes;
std::unique_ptr<TGrafToolTypes> GToolTypes;
std::unique_ptr<TStringList> GPalettes;
int ChartUnitCount = 0;

const std::vector<std::vector<TColor>>& PaletteTable() {
  static const std::vector<std::vector<TColor>> table = {
      {},
      {0xFF9999, 0x663399, 0xCCFFFF, 0xFFFFCC, 0x660066, 0x8080FF, 0xCC6600, 0xFFCCCC, 0x800000, 0xFF00FF, 0x00FFFF,
       0xFFFF00, 0x800080, 0x000080, 0x808000, 0xFF0000, 0xFFCC00, 0xFFFFCC, 0xCCFFCC, 0x00FFFF, 0xFFCC99, 0xCC99FF},
      {0xA1A55D, 0x3153C4, 0x0996E7, 0x4AE8F6, 0xA7A2B1, 0x84A7C9, 0x51798C, 0xB7CDD8, 0x536508, 0x7BD8F7, 0x846401},
      {0xFFFFCC, 0xCCFFFF, 0xFFCCCC, 0xCCCC00, 0xCCCCCC, 0x999900, 0x999999, 0xCCCCFF, 0x66CCFF, 0xFFCCCC, 0x9999FF,
       0x99FFFF, 0xFFCC99, 0xCCFFCC},
      {0xFF0000, 0x0000FF, 0x00FF00, 0x00CCFF, 0x404040, 0x00FFFF, 0xC000FF, 0xFFFFFF},
      {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
       0x008080},
      {0x00A5FF, 0xCE0000, 0x00CE00, 0x40FFFF, 0xFFFF40, 0xFF40FF, 0x0040FF, 0xA58080, 0x408080},
      {0x6699FF, 0x6666FF, 0xFFCC99, 0x669966, 0x99CCCC, 0xCC6699, 0x6666CC, 0x99CCFF, 0xFF6699, 0xCCCCCC, 0xCCFF66,
       0xFF9966, 0x996699, 0xFFCCCC},
      {0x000099, 0x0000C3, 0x0000EE, 0x001AFF, 0x0046FF, 0x0073FF, 0x009FFF, 0x00CBFF, 0x00F7FF, 0x08F4E3, 0x11E7C3,
       0x1BDAA3, 0x25CD83, 0x2EC063, 0x38B342, 0x42A622, 0x4B9A02, 0x6A870C, 0x8A751A, 0xAA6328, 0xCB5036, 0xEB3E44,
       0xFF2A61, 0xFF1596, 0xFF00CC},
      {0xFE9B82, 0x24D1FC, 0x0DBC7C, 0x2F85FD, 0xFCFEFD, 0x214EE2, 0xD63829, 0x0094B7, 0x00865A, 0x0046D2, 0xFAE5D3,
       0xD8D8D8, 0x7B715F},
  };
  return table;
}
}  // namespace

void ChartUnitStartup() {
  if (ChartUnitCount++ > 0) return;
  EngineUnitStartup();
  Randomize();
  if (!GSeriesTypes) GSeriesTypes = std::make_unique<TGrafSeriesTypes>();
  if (!GToolTypes) GToolTypes = std::make_unique<TGrafToolTypes>();
  GPalettes = std::make_unique<TStringList>();
  for (const char* name :
       {"GrafChart", "Excel", "Victorian", "Pastels", "Solid", "Classic", "Web", "Modern", "Rainbow", "Win. XP"})
    GPalettes->Add(name);
}

void ChartUnitShutdown() {
  if (ChartUnitCount == 0 || --ChartUnitCount > 0) return;
  GPalettes.reset();
  GSeriesTypes.reset();
  GToolTypes.reset();
}

// ---- Series and function types ------------------------------------------------------------------

TGrafSeriesType* TGrafSeriesTypes::EntryForClass(TClass SeriesClass) const {
  for (const auto& e : FItems)
    if (e->SeriesClass == SeriesClass && !e->FunctionClass) return e.get();
  return nullptr;
}

void TGrafSeriesTypes::RemoveIf(const std::function<bool(const TGrafSeriesType&)>& Predicate) {
  FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [&](const auto& e) { return Predicate(*e); }),
               FItems.end());
}

TGrafSeriesTypes* SeriesTypeRegistry() {
  if (!GSeriesTypes) GSeriesTypes = std::make_unique<TGrafSeriesTypes>();
  return GSeriesTypes.get();
}

void AddSeriesTypeEntry(TClass SeriesClass, TClass FunctionClass, const std::string* Description,
                        int GallerySeriesCount, const std::string* GalleryPage) {
  if (SeriesClass) RegisterClass(SeriesClass);
  if (FunctionClass) RegisterClass(FunctionClass);
  TGrafSeriesTypes* registry = SeriesTypeRegistry();
  for (int i = 0; i < registry->Count(); ++i) {
    const TGrafSeriesType* e = registry->TypeAt(i);
    if (e->SeriesClass == SeriesClass && e->FunctionClass == FunctionClass) return;
  }
  auto entry = std::make_unique<TGrafSeriesType>();
  entry->SeriesClass = SeriesClass;
  entry->FunctionClass = FunctionClass;
  entry->Description = Description;
  entry->GalleryPage = GalleryPage;
  entry->GallerySeriesCount = GallerySeriesCount;
  registry->Add(std::move(entry));
}

void RegisterSeriesType(TClass SeriesClass, const std::string* Description, const std::string* GalleryPage,
                        int GallerySeriesCount) {
  AddSeriesTypeEntry(SeriesClass, nullptr, Description, GallerySeriesCount, GalleryPage);
}

void RegisterStandardSeriesType(TClass SeriesClass, const std::string* Description) {
  RegisterSeriesType(SeriesClass, Description, &GrafMsgStandard, 2);
}

void RegisterFunctionType(TClass FunctionClass, const std::string* Description, const std::string* GalleryPage,
                          int GallerySeriesCount) {
  AddSeriesTypeEntry(nullptr, FunctionClass, Description, GallerySeriesCount, GalleryPage);
}

void RegisterStandardFunctionType(TClass FunctionClass, const std::string* Description) {
  RegisterFunctionType(FunctionClass, Description, &GrafMsgStandard, 2);
}

void UnregisterSeriesTypes(std::initializer_list<TClass> SeriesClasses) {
  for (TClass c : SeriesClasses) SeriesTypeRegistry()->RemoveIf([c](const TGrafSeriesType& e) { return e.SeriesClass == c; });
}

void UnregisterFunctionTypes(std::initializer_list<TClass> FunctionClasses) {
  for (TClass c : FunctionClasses)
    SeriesTypeRegistry()->RemoveIf([c](const TGrafSeriesType& e) { return e.FunctionClass == c; });
}

std::string SeriesTypeDescription(const TChartSeries* Series) {
  if (!Series) return "";
  if (TGrafSeriesType* e = SeriesTypeRegistry()->EntryForClass(Series->ClassType()); e && e->Description)
    return *e->Description;
  return Series->ClassName();
}

// ---- Tool types ------------------------------------------------------------------------------------

int TGrafToolTypes::IndexOf(TClass ToolClass) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == ToolClass) return static_cast<int>(i);
  return -1;
}

void TGrafToolTypes::Remove(TClass ToolClass) {
  const int i = IndexOf(ToolClass);
  if (i >= 0) FItems.erase(FItems.begin() + i);
}

TGrafToolTypes* ToolTypeRegistry() {
  if (!GToolTypes) GToolTypes = std::make_unique<TGrafToolTypes>();
  return GToolTypes.get();
}

void RegisterToolTypes(std::initializer_list<TClass> ToolClasses) {
  for (TClass c : ToolClasses) {
    if (ToolTypeRegistry()->IndexOf(c) >= 0) continue;
    RegisterClass(c);
    ToolTypeRegistry()->Add(c);
  }
}

void UnregisterToolTypes(std::initializer_list<TClass> ToolClasses) {
  for (TClass c : ToolClasses) ToolTypeRegistry()->Remove(c);
}

// ---- Series utilities ---------------------------------------------------------------------------------

std::string UniqueSeriesName(const TComponent* Owner) { return UniqueComponentName(Owner, "Series"); }

TChartSeries* CreateChartSeries(TComponent* Owner, TCustomAxisPanel* Chart, TClass SeriesClass, TClass FunctionClass) {
  TComponent* owner = Owner ? Owner : Chart;
  if (Chart)
    for (TChartSeries* s : *Chart->SeriesList())
      if (s->Owner() == Chart) owner = Chart;
  auto* series = dynamic_cast<TChartSeries*>(CreateComponentOfClass(SeriesClass, owner));
  if (!series) throw ChartException("Not a series class: " + (SeriesClass ? SeriesClass->Name() : std::string("nil")));
  series->SetName(UniqueSeriesName(owner));
  if (Chart) series->SetParentChart(Chart);
  if (FunctionClass) CreateSeriesFunction(series, FunctionClass);
  return series;
}

TGrafFunction* CreateSeriesFunction(TChartSeries* Series, TClass FunctionClass) {
  auto* function = dynamic_cast<TGrafFunction*>(CreateComponentOfClass(FunctionClass, Series->Owner()));
  if (!function) throw ChartException("Not a function class: " + FunctionClass->Name());
  function->AttachToSeries(Series);
  function->SetName(UniqueComponentName(Series->Owner(), "GrafFunction"));
  return function;
}

TChartSeries* CloneSeriesOwned(TChartSeries* Series, TComponent* Owner, TCustomAxisPanel* Chart) {
  TClass functionClass = Series->FunctionType() ? Series->FunctionType()->ClassType() : nullptr;
  TChartSeries* copy = CreateChartSeries(Owner ? Owner : Series->Owner(), Chart ? Chart : Series->ParentChart(),
                                         Series->ClassType(), functionClass);
  copy->Assign(Series);
  return copy;
}

TChartSeries* CloneSeries(TChartSeries* Series) { return CloneSeriesOwned(Series, nullptr, nullptr); }

TChartSeries* CloneSeriesInto(TChartSeries* Series, TCustomAxisPanel* Chart) {
  return CloneSeriesOwned(Series, nullptr, Chart);
}

TChartSeries* ChangeSeriesClass(TChartSeries*& Series, TClass NewClass) {
  if (!Series || Series->ClassType() == NewClass) return Series;
  TChartSeries* created = CreateChartSeries(Series->Owner(), Series->ParentChart(), NewClass, nullptr);
  TransferSeries(Series, created);
  Series = created;
  return created;
}

void TransferSeries(TChartSeries* Old, TChartSeries* New) {
  if (!Old || !New || Old == New) return;
  New->Assign(Old);
  New->AfterDrawValues = Old->AfterDrawValues;
  New->BeforeDrawValues = Old->BeforeDrawValues;
  New->OnAfterAdd = Old->OnAfterAdd;
  New->OnBeforeAdd = Old->OnBeforeAdd;
  New->OnClearValues = Old->OnClearValues;
  New->OnClick = Old->OnClick;
  New->OnDblClick = Old->OnDblClick;
  New->OnGetMarkText = Old->OnGetMarkText;
  const std::string name = Old->Name();
  // Series fed by the old one are fed by the new one, in the same place.
  std::vector<TChartSeries*> dependents(Old->Dependents()->begin(), Old->Dependents()->end());
  for (TChartSeries* d : dependents) {
    d->DataSources()->ReplaceItem(Old, New);
    Old->RemoveDependent(d);
    New->AddDependent(d);
  }
  if (TCustomAxisPanel* chart = Old->ParentChart()) {
    for (TGrafCustomTool* t : *chart->Tools())
      if (auto* st = dynamic_cast<TGrafCustomToolSeries*>(t); st && st->Series() == Old) st->SetSeries(New);
    chart->ExchangeSeries(Old, New);
  }
  delete Old;
  New->SetName(name);
  if (TCustomAxisPanel* chart = New->ParentChart()) chart->AnnounceSeriesEvent(New, seChangeTitle);
  New->RefreshFromSource();
  if (New->ManualData) New->NotifyDataChanged();
}

void DrawSeriesSymbolOn(TChartSeries* Series, TCanvas* Canvas, const TRect& R, TCustomChart* Chart) {
  if (!Series || !Canvas) return;
  std::unique_ptr<TChart> temporary;
  TCustomAxisPanel* attachedTo = nullptr;
  if (!Series->ParentChart()) {
    TCustomChart* chart = Chart;
    if (!chart) {
      temporary = std::make_unique<TChart>(nullptr);
      chart = temporary.get();
    }
    Series->SetParentChart(chart);
    attachedTo = chart;
  }
  auto* chart = dynamic_cast<TCustomChart*>(Series->ParentChart());
  auto detach = [&] {
    if (attachedTo) Series->SetParentChart(nullptr);
  };
  try {
    if (chart) {
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(chart->Legend()->Color());
      chart->LegendPen = chart->Legend()->Symbol()->DefaultPen() ? nullptr : chart->Legend()->Symbol()->Pen();
      TCanvas3D* canvas = chart->PanelCanvas();
      if (!canvas->RendersWithoutGdi()) {
        TCanvas* previous = canvas->BoundCanvas();
        canvas->AttachCanvas(Canvas);
        try {
          Series->PaintLegendItem(-1, R);
        } catch (...) {
          canvas->AttachCanvas(previous);
          throw;
        }
        canvas->AttachCanvas(previous);
      }
      chart->LegendPen = nullptr;
    }
  } catch (...) {
    detach();
    throw;
  }
  detach();
}

// ---- Palettes ------------------------------------------------------------------------------------

TStringList* ColorPalettes() {
  if (!GPalettes) ChartUnitStartup();
  return GPalettes.get();
}

std::vector<TColor> PaletteColors(int Index) {
  const auto& table = PaletteTable();
  if (Index < 1 || Index >= static_cast<int>(table.size())) return {};
  return table[static_cast<size_t>(Index)];
}

void ApplyPaletteByIndex(TCustomAxisPanel* Chart, int Index) {
  if (!Chart) return;
  Chart->ColorPalette() = PaletteColors(Index);
  Chart->RecolorAutoSeries();
  if (auto* chart = dynamic_cast<TCustomChart*>(Chart)) chart->SetColorPaletteIndex(Index);
  Chart->Invalidate();
}

void CopyPaletteColors(TCustomAxisPanel* Chart, const std::vector<TColor>& Colors, int HighestIndex) {
  if (!Chart) return;
  std::vector<TColor>& palette = Chart->ColorPalette();
  palette.clear();
  for (int i = 0; i <= HighestIndex && i < static_cast<int>(Colors.size()); ++i) palette.push_back(Colors[static_cast<size_t>(i)]);
  Chart->RecolorAutoSeries();
}
