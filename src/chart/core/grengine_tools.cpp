// The chart's axes list, its custom-axes collection, its tools list and the
// three tool bases.
#include "chart/core/grengine.h"
#include "platform/ui/streaming.h"

// ---- Axes --------------------------------------------------------------------------------------

TChartAxes::~TChartAxes() { FItems.clear(); }

int TChartAxes::IndexOf(const TChartAxis* Axis) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Axis) return static_cast<int>(i);
  return -1;
}

void TChartAxes::Remove(TChartAxis* Axis) {
  const int index = IndexOf(Axis);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

void TChartAxes::Clear() {
  while (!FItems.empty()) {
    TChartAxis* axis = FItems.front();
    const size_t before = FItems.size();
    delete axis;
    if (FItems.size() == before) FItems.erase(FItems.begin());
  }
}

TChartAxis* TChartAxes::GetLeftAxis() const { return FChart->LeftAxis(); }
TChartAxis* TChartAxes::GetTopAxis() const { return FChart->TopAxis(); }
TChartAxis* TChartAxes::GetRightAxis() const { return FChart->RightAxis(); }
TChartAxis* TChartAxes::GetBottomAxis() const { return FChart->BottomAxis(); }
TChartAxis* TChartAxes::GetDepthAxis() const { return FChart->DepthAxis(); }
TChartAxis* TChartAxes::GetDepthTopAxis() const { return FChart->DepthTopAxis(); }
bool TChartAxes::GetBehind() const { return FChart->AxisBehind(); }
void TChartAxes::SetBehind(bool Value) { FChart->SetAxisBehind(Value); }
bool TChartAxes::GetVisible() const { return FChart->AxisVisible(); }
void TChartAxes::SetVisible(bool Value) { FChart->SetAxisVisible(Value); }

ZV_CLASS_IMPL_NOPROPS(TChartCustomAxes, TOwnedCollection)

TChartCustomAxes::TChartCustomAxes(TPersistent* Owner) : TOwnedCollection(Owner, &TChartAxis::StaticClass()) {}

void TChartCustomAxes::CopyScalesFromMaster(TChartAxis* Axis) {
  for (int i = 0; i < Count(); ++i) {
    TChartAxis* a = AxisAt(i);
    if (a != Axis && a->MasterAxis() == Axis) a->SetRange(Axis->Minimum(), Axis->Maximum());
  }
}

// ---- Tools -------------------------------------------------------------------------------------

TChartTools::~TChartTools() { FItems.clear(); }

TGrafCustomTool* TChartTools::AddTool(TGrafCustomTool* Tool) {
  if (Tool) Tool->SetParentChart(FChart);
  return Tool;
}

int TChartTools::IndexOf(const TGrafCustomTool* Tool) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Tool) return static_cast<int>(i);
  return -1;
}

void TChartTools::Remove(TGrafCustomTool* Tool) {
  const int index = IndexOf(Tool);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

void TChartTools::Clear() {
  while (!FItems.empty()) {
    TGrafCustomTool* tool = FItems.front();
    const size_t before = FItems.size();
    delete tool;
    if (FItems.size() == before) FItems.erase(FItems.begin());
  }
}

ZV_CLASS_IMPL(TGrafCustomTool, TCustomChartElement)

void TGrafCustomTool::DeclareProperties(TClassInfo& c) {
  using T = TGrafCustomTool;
  c.Boolean<T>("Active", &T::Active, &T::SetActive, true);
}

TGrafCustomTool::TGrafCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TGrafCustomTool::~TGrafCustomTool() {
  if (FParentChart) SetParentChart(nullptr);
}

void TGrafCustomTool::SetParentChart(TCustomAxisPanel* Value) {
  if (FParentChart == Value) return;
  TCustomAxisPanel* old = FParentChart;
  if (old && old->Tools()) {
    old->Tools()->Remove(this);
    if (!Value) old->Invalidate();
  }
  TCustomChartElement::SetParentChart(Value);
  if (Value && Value->Tools()) Value->Tools()->Append(this);
}

ZV_CLASS_IMPL(TGrafCustomToolSeries, TGrafCustomTool)

void TGrafCustomToolSeries::DeclareProperties(TClassInfo& c) {
  using T = TGrafCustomToolSeries;
  c.Object<T, TChartSeries>("Series", &T::Series, &T::SetSeries);
}

TGrafCustomToolSeries::TGrafCustomToolSeries(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

void TGrafCustomToolSeries::SetSeries(TChartSeries* Value) {
  if (FSeries == Value) return;
  if (FSeries) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (FSeries) FSeries->FreeNotification(this);
}

void TGrafCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TGrafCustomTool::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSeries) SetSeries(nullptr);
}

TChartAxis* TGrafCustomToolSeries::ResolveHorizAxis() const {
  if (FSeries) return FSeries->GetHorizAxis();
  if (!FParentChart) return nullptr;
  if (!FParentChart->AxisInUse(FParentChart->BottomAxis(), false) &&
      FParentChart->AxisInUse(FParentChart->TopAxis(), false))
    return FParentChart->TopAxis();
  return FParentChart->BottomAxis();
}

TChartAxis* TGrafCustomToolSeries::ResolveVertAxis() const {
  if (FSeries) return FSeries->GetVertAxis();
  if (!FParentChart) return nullptr;
  if (!FParentChart->AxisInUse(FParentChart->LeftAxis(), false) &&
      FParentChart->AxisInUse(FParentChart->RightAxis(), false))
    return FParentChart->RightAxis();
  return FParentChart->LeftAxis();
}

ZV_CLASS_IMPL_NOPROPS(TGrafCustomToolAxis, TGrafCustomTool)

TGrafCustomToolAxis::TGrafCustomToolAxis(TComponent* AOwner) : TGrafCustomTool(AOwner) {}

void TGrafCustomToolAxis::SetAxis(TChartAxis* Value) {
  if (FAxis == Value) return;
  FAxis = Value;
  SetParentChart(Value ? Value->ParentChart() : nullptr);
  RequestRedraw();
}

void TGrafCustomToolAxis::DefineProperties(TFiler* Filer) {
  TGrafCustomTool::DefineProperties(Filer);
  Filer->DefineProperty(
      "AxisID",
      [this](TReader* r) {
        const int index = r->ReadInteger();
        // An index that names no axis of the chart is refused; the tool keeps its axis.
        if (!FParentChart || index < 0 || index >= FParentChart->AxesList()->Count())
          throw EReadError("Tool " + Name() + ": AxisID " + std::to_string(index) + " names no axis of the chart");
        SetAxis(FParentChart->AxesList()->AxisAt(index));
      },
      [this](TWriter* w) {
        w->WriteInteger(FParentChart ? FParentChart->AxesList()->IndexOf(FAxis) : -1);
      },
      FAxis != nullptr);
}
