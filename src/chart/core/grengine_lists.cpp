// Small containers: the chart's series list with its groups, series display
// names, custom axis labels with their common format, and the grid pen.
#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/gfx/bitmap.h"

// ---- The chart's series list -------------------------------------------------------------

TChartSeriesList::TChartSeriesList(TCustomAxisPanel* Owner) : TCustomSeriesList(Owner) {
  FGroups = std::make_unique<TSeriesGroups>(Owner);
}

TChartSeriesList::~TChartSeriesList() { FGroups.reset(); }

void TChartSeriesList::EmptyEverySeries() {
  std::vector<TChartSeries*> items = FItems;
  for (TChartSeries* s : items) s->RemoveAllPoints();
}

TSeriesGroup* TChartSeriesList::AddGroup(const std::string& Name) {
  auto* group = static_cast<TSeriesGroup*>(FGroups->Add());
  group->SetName(Name);
  return group;
}

bool TSeriesEnumerator::MoveNext() {
  if (FIndex < FList->Count() - 1) {
    ++FIndex;
    return true;
  }
  return false;
}

// ---- Groups ----------------------------------------------------------------------------------

ZV_CLASS_IMPL(TSeriesGroup, TCollectionItem)

void TSeriesGroup::DeclareProperties(TClassInfo& c) {
  using G = TSeriesGroup;
  c.String<G>("Name", &G::Name, &G::SetName);
  c.Enum<G>("Active", SeriesGroupActiveEnumInfo(), &G::GetActive, &G::SetActive, gaYes);
}

TSeriesGroup::TSeriesGroup(TCollection* Collection) : TCollectionItem(Collection) {
  TCustomAxisPanel* chart = Collection ? dynamic_cast<TCustomAxisPanel*>(Collection->GetOwner()) : nullptr;
  FSeries = std::make_unique<TCustomSeriesList>(chart);
}

TSeriesGroup::~TSeriesGroup() = default;

void TSeriesGroup::SetSeries(TCustomSeriesList* Value) {
  FSeries->Clear();
  if (Value)
    for (TChartSeries* s : *Value) FSeries->Add(s);
}

TSeriesGroupActive TSeriesGroup::GetActive() const {
  int active = 0;
  for (TChartSeries* s : *FSeries)
    if (s->Active()) ++active;
  if (active == FSeries->Count()) return gaYes;
  return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value) {
  if (Value == gaSome || Value == GetActive()) return;
  FSeries->SetAllSeriesActive(Value == gaYes);
}

ZV_CLASS_IMPL_NOPROPS(TSeriesGroups, TOwnedCollection)

TSeriesGroups::TSeriesGroups(TPersistent* Owner) : TOwnedCollection(Owner, &TSeriesGroup::StaticClass()) {}

int TSeriesGroups::GroupIndexOf(const TChartSeries* Series) const {
  for (int i = 0; i < Count(); ++i)
    if (GroupAt(i)->Series()->IndexOf(Series) >= 0) return i;
  return -1;
}

// ---- Names ----------------------------------------------------------------------------------

std::string SeriesDisplayName(TChartSeries* Series) {
  std::string result = Series->Title();
  for (char& c : result)
    if (c == LegendColumnSeparator) c = ' ';
  if (result.empty()) result = Series->Name();
  if (result.empty() && Series->ParentChart())
    result = GrafMsgSeries + std::to_string(Series->ParentChart()->SeriesList()->IndexOf(Series) + 1);
  return result;
}

void FillSeriesNameList(TStrings* List, TCustomSeriesList* Series, bool Titles) {
  List->BeginUpdate();
  try {
    for (TChartSeries* s : *Series) {
      const bool designedPublic = s->ComponentState().Contains(csDesigning) && !s->Internal;
      if (designedPublic || s->ShowInEditor())
        List->AddObject(Titles ? SeriesDisplayName(s) : s->Name(), s);
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

void DrawClassBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y) {
  TBitmap bitmap;
  if (LoadClassBitmap(Object, &bitmap)) Canvas->Draw(X, Y, &bitmap);
}

// ---- Axis items -----------------------------------------------------------------------------

ZV_CLASS_IMPL(TAxisItem, TGrafCustomShape)

void TAxisItem::DeclareProperties(TClassInfo& c) {
  using I = TAxisItem;
  c.Enum<I>("Bevel", BevelCutEnumInfo(), &I::Bevel, &I::SetBevel, bvNone);
  c.Integer<I>("BevelWidth", &I::BevelWidth, &I::SetBevelWidth, 2);
  c.Integer<I>("Color", &I::Color, &I::SetColor, clWhite).WithIdents(&ColorIdents());
  c.Object<I, TGrafFont>("Font", &I::Font, &I::SetFont);
  c.Object<I, TGrafGradient>("Gradient", &I::Gradient, [](I* i, TGrafGradient* g) { i->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<I*>(o)->HasGradient(); });
  c.Object<I, TGrafShadow>("Shadow", &I::Shadow, &I::SetShadow);
  c.Enum<I>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &I::ShapeStyle, &I::SetShapeStyle, fosRectangle);
  c.String<I>("Text", &I::Text, &I::SetText);
  c.Integer<I>("Transparency", &I::Transparency, &I::SetTransparency, 0);
  c.Boolean<I>("Transparent", &I::Transparent, &I::SetTransparent, true);
  c.Float<I>("Value", ftDouble, &I::Value, &I::SetValue);
}

TAxisItem::TAxisItem(TCustomGrafPanel* Panel) : TGrafCustomShape(Panel) {
  SetTransparentByDefault(true);
  SetTransparent(true);
}

void TAxisItem::SetValue(double Value) {
  if (FValue == Value) return;
  FValue = Value;
  Repaint();
}

void TAxisItem::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Repaint();
}

TAxisItems::TAxisItems(TChartAxis* Axis) : FAxis(Axis) {
  FFormat = std::make_unique<TGrafShape>(Axis ? Axis->ParentChart() : nullptr);
  FFormat->SetTransparent(true);
}

TAxisItems::~TAxisItems() { FItems.clear(); }

TAxisItem* TAxisItems::Add(double Value, const std::string& Text) {
  auto item = std::make_unique<TAxisItem>(FAxis ? FAxis->ParentChart() : nullptr);
  item->Owner = this;
  item->SetValue(Value);
  item->SetText(Text);
  FItems.push_back(std::move(item));
  if (FAxis && FAxis->ParentChart()) FAxis->ParentChart()->Invalidate();
  return FItems.back().get();
}

void TAxisItems::CopyItemsFrom(const TAxisItems* Other) {
  if (!Other || Other == this) return;
  FFormat->Assign(Other->FFormat.get());
  FItems.clear();
  for (const auto& item : Other->FItems) Add(item->Value(), item->Text());
}

void TAxisItems::Clear() {
  FItems.clear();
  if (FAxis && FAxis->ParentChart()) FAxis->ParentChart()->Invalidate();
}

// ---- Grid pen ---------------------------------------------------------------------------------

TAxisGridPen::TAxisGridPen(TNotifyEvent OnChange) : TDottedGrayPen(std::move(OnChange)) {
  RegisterEngineAttributeClasses();
}

void TAxisGridPen::Assign(const TGraphicsObject* Source) {
  if (auto* other = dynamic_cast<const TAxisGridPen*>(Source)) {
    FBetweenTicks = other->FBetweenTicks;
    FZPosition = other->FZPosition;
  }
  TDottedGrayPen::Assign(Source);
}

void TAxisGridPen::SetBetweenTicks(bool Value) {
  if (FBetweenTicks == Value) return;
  FBetweenTicks = Value;
  if (OnChange) OnChange(this);
}

void TAxisGridPen::SetZPosition(double Value) {
  if (FZPosition == Value) return;
  FZPosition = Value;
  if (OnChange) OnChange(this);
}
