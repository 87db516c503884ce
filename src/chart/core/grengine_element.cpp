// Chart elements (the streamed components a chart owns: series and tools)
// and the part of a series that needs no values.
#include <cmath>

#include "chart/core/grengine.h"
#include "platform/ui/streaming.h"

ZV_CLASS_IMPL(TCustomChartElement, TComponent)

void TCustomChartElement::DeclareProperties(TClassInfo& c) {
  using E = TCustomChartElement;
  c.Boolean<E>("ShowInEditor", &E::ShowInEditor, &E::SetShowInEditor, true);
}

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner) {
  EngineUnitStartup();
  TNotifyEvent change = [this](TObject* Sender) { PartChanged(Sender); };
  FBrush = std::make_unique<TChartBrush>(change);
  FPen = std::make_unique<TChartPen>(change);
}

TCustomChartElement::~TCustomChartElement() {
  FPen.reset();
  FBrush.reset();
  if (FParentChart) TCustomChartElement::SetParentChart(nullptr);
}

void TCustomChartElement::PartChanged(TObject*) { RequestRedraw(); }

void TCustomChartElement::SetActive(bool Value) { ChangeBool(FActive, Value); }

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value) { FParentChart = Value; }

void TCustomChartElement::SetPen(TChartPen* Value) { FPen->Assign(Value); }

void TCustomChartElement::SetBrush(TChartBrush* Value) { FBrush->Assign(Value); }

void TCustomChartElement::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCustomChartElement*>(Source)) {
    FActive = other->FActive;
    FBrush->Assign(other->FBrush.get());
    SetPen(other->FPen.get());
    SetTag(other->Tag());
    return;
  }
  TComponent::Assign(Source);
}

std::unique_ptr<TChartPen> TCustomChartElement::NewPen() {
  return std::make_unique<TChartPen>([this](TObject* Sender) { PartChanged(Sender); });
}

void TCustomChartElement::RequestRedraw() {
  if (FParentChart) FParentChart->Invalidate();
}

void TCustomChartElement::ChangeBool(bool& Field, bool Value) {
  if (Field == Value) return;
  Field = Value;
  RequestRedraw();
}

void TCustomChartElement::ChangeColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  RequestRedraw();
}

void TCustomChartElement::ChangeInteger(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  RequestRedraw();
}

void TCustomChartElement::ChangeDouble(double& Field, double Value) {
  if (Field == Value) return;
  Field = Value;
  RequestRedraw();
}

void TCustomChartElement::ChangeString(std::string& Field, const std::string& Value) {
  if (Field == Value) return;
  Field = Value;
  RequestRedraw();
}

TComponent* TCustomChartElement::GetParentComponent() const { return FParentChart; }

void TCustomChartElement::SetParentComponent(TComponent* Value) {
  if (auto* chart = dynamic_cast<TCustomAxisPanel*>(Value)) SetParentChart(chart);
}

std::string ElementEditorClassName(TClass ElementClass) {
  if (!ElementClass || !ElementClass->CreateComponent) return "";
  std::unique_ptr<TComponent> probe(ElementClass->CreateComponent(nullptr));
  auto* element = dynamic_cast<TCustomChartElement*>(probe.get());
  return element ? element->EditorFormClassName() : "";
}

// ---- Series without values ---------------------------------------------------------

ZV_CLASS_IMPL(TCustomChartSeries, TCustomChartElement)

void TCustomChartSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomChartSeries;
  c.Boolean<S>("Active", &S::Active, &S::SetActive, true);
  c.Boolean<S>("ShowInLegend", &S::ShowInLegend, &S::SetShowInLegend, true);
  c.String<S>("Title", &S::Title, &S::SetTitle);
}

TCustomChartSeries::TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}

void TCustomChartSeries::GetHorizMargins(int& Left, int& Right) { Left = Right = 0; }

void TCustomChartSeries::GetVertMargins(int& Top, int& Bottom) { Top = Bottom = 0; }

void TCustomChartSeries::ApplyGallery3D(bool Value) {
  if (FParentChart) FParentChart->SetView3D(Value);
}

void TCustomChartSeries::SeriesRemoved() { FParentChart = nullptr; }

void TCustomChartSeries::SetActive(bool Value) {
  if (FActive == Value) return;
  TCustomChartElement::SetActive(Value);
  if (FParentChart) FParentChart->AnnounceSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeActive);
  RefreshDesigner();
}

void TCustomChartSeries::SetShowInLegend(bool Value) { ChangeBool(FShowInLegend, Value); }

void TCustomChartSeries::SetTitle(const std::string& Value) {
  if (FTitle == Value) return;
  ChangeString(FTitle, Value);
  if (FParentChart) FParentChart->AnnounceSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeTitle);
  RefreshDesigner();
}

bool TCustomChartSeries::ClassCompatible(const TCustomChartSeries* Other) const {
  if (!Other) return false;
  return InheritsFrom(Other->ClassType()) || Other->InheritsFrom(ClassType());
}

void TCustomChartSeries::RefreshDesigner() {
  if (FParentChart && FParentChart->DesignerLink && ComponentState().Contains(csDesigning))
    FParentChart->DesignerLink->Modified();
}

void TCustomChartSeries::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCustomChartSeries*>(Source)) {
    FShowInLegend = other->FShowInLegend;
    FTitle = other->FTitle;
    FStyle = other->FStyle;
    FIdentifier = other->FIdentifier;
  }
  TCustomChartElement::Assign(Source);
}

void TCustomChartSeries::DefineProperties(TFiler* Filer) {
  TCustomChartElement::DefineProperties(Filer);
  Filer->DefineProperty(
      "Identifier", [this](TReader* r) { FIdentifier = r->ReadString(); },
      [this](TWriter* w) { w->WriteString(FIdentifier); }, !FIdentifier.empty());
  Filer->DefineProperty(
      "Style", [this](TReader* r) { FStyle = TChartSeriesStyle::FromBits(static_cast<uint64_t>(r->ReadInteger()) & 0x3F); },
      [this](TWriter* w) { w->WriteInteger(static_cast<int64_t>(FStyle.Bits() & 0x3F)); }, !FStyle.Empty());
}
