// The series as a container of points: adding, deleting, colours, labels,
// update suspension, the notifications to the chart and to dependent series,
// copying a series and sample data.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"

ZV_CLASS_IMPL(TChartSeries, TCustomChartSeries)

void TChartSeries::DeclareProperties(TClassInfo& c) {
  using S = TChartSeries;
  c.Boolean<S>("ColorEachPoint", &S::ColorEachPoint, &S::SetColorEachPoint, false);
  c.String<S>("ColorSource", &S::ColorSource, &S::SetColorSource);
  c.Integer<S>("Cursor", &S::Cursor, &S::SetCursor, 0).WithIdents(&CursorIdents());
  c.Integer<S>("Depth", &S::Depth, &S::SetDepth, -1);
  c.Enum<S>("HorizAxis", HorizAxisEnumInfo(), &S::HorizAxis, &S::SetHorizAxis, aBottomAxis);
  c.Object<S, TSeriesMarks>("Marks", &S::Marks, &S::SetMarks);
  c.Object<S, TComponent>("DataSource", &S::DataSource, &S::SetDataSource).WithStored([](TObject* o) {
    return static_cast<S*>(o)->DataSources()->Count() == 1;
  });
  c.String<S>("PercentFormat", &S::PercentFormat, &S::SetPercentFormat)
      .WithStored([](TObject* o) { return static_cast<S*>(o)->PercentFormat() != GrafMsgDefaultPercentFormat; });
  c.Integer<S>("SeriesColor", [](S* s) { return static_cast<int>(s->StoredColor()); },
               [](S* s, int v) { s->SetSeriesColor(static_cast<TColor>(v)); })
      .WithIdents(&ColorIdents())
      .WithStored([](TObject* o) { return static_cast<S*>(o)->StoredColor() != clDefault; });
  c.String<S>("ValueFormat", &S::ValueFormat, &S::SetValueFormat)
      .WithStored([](TObject* o) { return static_cast<S*>(o)->ValueFormat() != GrafMsgDefaultValueFormat; });
  c.Enum<S>("VertAxis", VertAxisEnumInfo(), &S::VertAxis, &S::SetVertAxis, aLeftAxis);
  c.String<S>("XLabelsSource", &S::XLabelsSource, &S::SetXLabelsSource);
  c.Method<S, TNotifyEvent>("AfterDrawValues", [](S* s) { return s->AfterDrawValues; },
                            [](S* s, const TNotifyEvent& e) { s->AfterDrawValues = e; });
  c.Method<S, TNotifyEvent>("BeforeDrawValues", [](S* s) { return s->BeforeDrawValues; },
                            [](S* s, const TNotifyEvent& e) { s->BeforeDrawValues = e; });
  c.Method<S, TSeriesOnAfterAdd>("OnAfterAdd", [](S* s) { return s->OnAfterAdd; },
                                 [](S* s, const TSeriesOnAfterAdd& e) { s->OnAfterAdd = e; });
  c.Method<S, TSeriesOnBeforeAdd>("OnBeforeAdd", [](S* s) { return s->OnBeforeAdd; },
                                  [](S* s, const TSeriesOnBeforeAdd& e) { s->OnBeforeAdd = e; });
  c.Method<S, TSeriesOnClear>("OnClearValues", [](S* s) { return s->OnClearValues; },
                              [](S* s, const TSeriesOnClear& e) { s->OnClearValues = e; });
  c.Method<S, TSeriesClick>("OnClick", [](S* s) { return s->OnClick; },
                            [](S* s, const TSeriesClick& e) { s->OnClick = e; });
  c.Method<S, TSeriesClick>("OnDblClick", [](S* s) { return s->OnDblClick; },
                            [](S* s, const TSeriesClick& e) { s->OnDblClick = e; });
  c.Method<S, TSeriesOnGetMarkText>("OnGetMarkText", [](S* s) { return s->OnGetMarkText; },
                                    [](S* s, const TSeriesOnGetMarkText& e) { s->OnGetMarkText = e; });
  c.Method<S, TNotifyEvent>("OnMouseEnter", [](S* s) { return s->OnMouseEnter; },
                            [](S* s, const TNotifyEvent& e) { s->OnMouseEnter = e; });
  c.Method<S, TNotifyEvent>("OnMouseLeave", [](S* s) { return s->OnMouseLeave; },
                            [](S* s, const TNotifyEvent& e) { s->OnMouseLeave = e; });
  c.Object<S, TChartValueList>("XValues", &S::XValues, &S::SetXValues);
  c.Object<S, TChartValueList>("YValues", &S::YValues, &S::SetYValues);
}

TChartSeries::TChartSeries(TComponent* AOwner) : TCustomChartSeries(AOwner) {
  FValueLists = std::make_unique<TChartValueLists>();
  FXValues = new TChartValueList(this, "X");
  FXValues->SetOrder(loAscending);
  FYValues = new TChartValueList(this, "Y");
  FMainList = FYValues;
  FOtherList = FXValues;
  FVertical = true;
  FLabels = std::make_unique<TLabelsList>(this);
  FMarks = std::make_unique<TSeriesMarks>(this);
  FPercentFormat = GrafMsgDefaultPercentFormat;
  FValueFormat = GrafMsgDefaultValueFormat;
  FDataSources = std::make_unique<TDataSourcesList>(this);
  FDependents = std::make_unique<TCustomSeriesList>();
}

TChartSeries::~TChartSeries() {
  FDestroyingSeries = true;
  Destroying();
  if (FFunction) {
    TGrafFunction* f = FFunction;
    FFunction = nullptr;
    f->FParent = nullptr;
    delete f;
  }
  UnlinkAllDependents();
  // A series source this series owns goes with it.
  std::vector<TComponent*> owned;
  for (int i = 0; i < FDataSources->Count(); ++i) {
    auto* src = dynamic_cast<TGrafSeriesSource*>(FDataSources->Items(i));
    if (!src) continue;
    if (src->FSeries == this) src->FSeries = nullptr;
    if (src->Owner() == this) owned.push_back(src);
  }
  FDataSources->FItems.clear();
  for (TComponent* c : owned) delete c;
  // Dependents forget this series as a source.
  std::vector<TChartSeries*> dependents(FDependents->begin(), FDependents->end());
  FDependents->Clear();
  for (TChartSeries* d : dependents) {
    auto& items = d->FDataSources->FItems;
    items.erase(std::remove(items.begin(), items.end(), static_cast<TComponent*>(this)), items.end());
  }
  RemoveAllPoints();
  if (FParentChart) SetParentChart(nullptr);
  FMarks.reset();
  FLabels.reset();
  FColors.reset();
  FValueLists.reset();
  FDependents.reset();
  FDataSources.reset();
}

// ---- Adding points ------------------------------------------------------------------

int TChartSeries::AddXYPoint(double X, double Y, const std::string& Label, TColor Color) {
  FXValues->TempValue = X;
  FYValues->TempValue = Y;
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
  const int index = FXValues->AddTempValue();
  for (TChartValueList* l : *FValueLists)
    if (l != FXValues) l->InsertValueAt(index, l->TempValue);
  if (FColors) {
    FColors->insert(FColors->begin() + std::min<size_t>(static_cast<size_t>(index), FColors->size()), Color);
  } else if (Color != clDefault) {
    CreateColorList();
    // The list was made for the count that already includes this point.
    (*FColors)[static_cast<size_t>(index)] = Color;
  }
  if (!Label.empty() || FLabels->Count() > 0) FLabels->InsertTextAt(index, Label);
  // Points entered by code (not from sources or a function) are the series' own.
  if (FDataSources->Count() == 0 && !FFunction) ManualData = true;
  if (FUpdateCount == 0) PointAdded(this, index);
  return index;
}

void TChartSeries::AddArray(const double* X, const double* Y, int Count) {
  if (Count <= 0) return;
  SuspendUpdates();
  struct TResume {
    TChartSeries* S;
    ~TResume() { S->ResumeUpdates(); }
  } resume{this};
  // In bulk while the points go to the end of two plain lists exactly as
  // AddTempValue would put them; the rest one at a time.
  int done = 0;
  const bool plain = !OnBeforeAdd && FValueLists->Count() == 2 && !FColors && FLabels->Count() == 0;
  if (plain) {
    const TChartListOrder order = FXValues->Order();
    int end = 0;
    if (order == loNone) {
      end = Count;
    } else {
      double last = FXValues->Count() > 0 ? FXValues->LastValue() : 0.0;
      bool first = FXValues->Count() == 0;
      while (end < Count) {
        const double v = X[end];
        if (!first && (order == loAscending ? last > v : last < v)) break;
        // A NaN goes to the end but leaves the comparison with the last value.
        last = v;
        first = false;
        ++end;
      }
    }
    if (end > 0) {
      FXValues->AppendValues(X, end);
      FYValues->AppendValues(Y, end);
      if (FDataSources->Count() == 0 && !FFunction) ManualData = true;
      done = end;
    }
  }
  for (int i = done; i < Count; ++i) AddXYPoint(X[i], Y[i], "", clDefault);
}

int TChartSeries::AddSingleValue(double Value, const std::string& Label, TColor Color) {
  const double n = PointCount();
  return FVertical ? AddXYPoint(n, Value, Label, Color) : AddXYPoint(Value, n, Label, Color);
}

int TChartSeries::AddBlankValue(const std::string& Label) { return AddSingleValue(0, Label, clNone); }

int TChartSeries::AddBlankXY(double X, double Y, const std::string& Label) { return AddXYPoint(X, Y, Label, clNone); }

int TChartSeries::AddCopiedValues(TChartSeries* Source, int Index) {
  double x = Source->FXValues->GetValue(Index);
  double y = Source->FYValues->GetValue(Index);
  if (Source->FVertical != FVertical) std::swap(x, y);
  const int result = FXValues->AddValue(x);
  FYValues->InsertValueAt(result, y);
  for (int i = 2; i < FValueLists->Count(); ++i) {
    const double v = i < Source->FValueLists->Count() ? Source->FValueLists->ListAt(i)->GetValue(Index) : 0.0;
    FValueLists->ListAt(i)->InsertValueAt(result, v);
  }
  return result;
}

void TChartSeries::AddCopiedPoint(TChartSeries* Source, int Index) {
  const int index = AddCopiedValues(Source, Index);
  if (Source->FColors && Index < static_cast<int>(Source->FColors->size())) {
    if (!FColors) {
      // Created for the points before this one.
      FColors = std::make_unique<std::vector<TColor>>(static_cast<size_t>(PointCount() - 1), clDefault);
    }
    FColors->insert(FColors->begin() + std::min<size_t>(static_cast<size_t>(index), FColors->size()),
                    (*Source->FColors)[static_cast<size_t>(Index)]);
  } else if (FColors) {
    FColors->insert(FColors->begin() + std::min<size_t>(static_cast<size_t>(index), FColors->size()), clDefault);
  }
  if (Index < Source->FLabels->Count()) FLabels->InsertTextAt(index, Source->FLabels->LabelAt(Index));
  else if (FLabels->Count() > 0) FLabels->InsertTextAt(index, "");
  PointAdded(this, index);
}

void TChartSeries::PointAdded(TChartSeries* Sender, int Index) {
  if (OnAfterAdd) OnAfterAdd(Sender, Index);
  NotifyDependentSeries(scAdded, Index);
  if (FActive) RequestRedraw();
}

void TChartSeries::NotifyDependentSeries(int Code, int Index) {
  if (FUpdateCount > 0 || !FDependents) return;
  // A dependent may change the list while it recalculates.
  std::vector<TChartSeries*> dependents(FDependents->begin(), FDependents->end());
  for (TChartSeries* d : dependents) {
    if (FDependents->IndexOf(d) < 0) continue;
    switch (Code) {
      case scCleared:
        if (d->FRecalcOptions.Contains(rOnClear)) d->RemoveAllPoints();
        break;
      case scAdded:
        if (d->FRecalcOptions.Contains(rOnInsert) && !d->FFunction) d->AddCopiedPoint(this, Index);
        break;
      case scDeleted:
        if (d->FRecalcOptions.Contains(rOnDelete) && !d->FFunction) d->SourcePointDeleted(this, Index);
        break;
      case scRefresh:
        d->CopyValuesFrom(this);
        break;
      case scModified:
        if (d->FRecalcOptions.Contains(rOnModify)) d->CopyValuesFrom(this);
        break;
      default:
        break;
    }
  }
}

void TChartSeries::SourcePointDeleted(TChartSeries* Source, int Index) {
  // The copied points follow the source's order one to one; a range
  // deletion (index -1) is copied anew.
  if (Index >= 0 && Index < PointCount() && PointCount() == Source->PointCount() + 1) RemovePoint(Index);
  else CopyValuesFrom(Source);
}

// ---- Removing points ------------------------------------------------------------------

void TChartSeries::RemovePoint(int Index) {
  if (Index < 0 || Index >= PointCount())
    throw ChartException(Format(GrafMsgSeriesDeleteValueIndexDOutOfBounds0ToD, {Index, PointCount() - 1}));
  for (TChartValueList* l : *FValueLists) l->DeleteValueAt(Index);
  if (FColors && Index < static_cast<int>(FColors->size())) FColors->erase(FColors->begin() + Index);
  if (Index < FLabels->Count()) FLabels->RemoveTextAt(Index);
  if (Index < FMarks->Positions()->Count()) FMarks->Positions()->Delete(Index);
  if (Index < FMarks->Items()->Count()) FMarks->Items()->Delete(Index);
  NotifyDependentSeries(scDeleted, Index);
  if (FActive) RequestRedraw();
}

void TChartSeries::RemovePointRange(int Index, int Number, bool Renumber) {
  if (Number <= 0) throw EAssertionFailed("Quantity of data points to delete must be greater than zero.");
  if (Index < 0 || Index + Number - 1 >= PointCount())
    throw EAssertionFailed("Quantity of data to delete must be less than Count.");
  for (TChartValueList* l : *FValueLists) l->DeleteRange(Index, Number);
  if (FColors && Index < static_cast<int>(FColors->size())) {
    const size_t last = std::min(FColors->size(), static_cast<size_t>(Index + Number));
    FColors->erase(FColors->begin() + Index, FColors->begin() + static_cast<long>(last));
    if (FColors->empty()) FColors.reset();
  }
  if (Index < FLabels->Count()) FLabels->DeleteRange(Index, Number);
  if (Index < FMarks->Positions()->Count()) FMarks->Positions()->DeleteRange(Index, Number);
  NotifyDependentSeries(scDeleted, -1);
  if (FActive) RequestRedraw();
  if (Renumber) FOtherList->FillWithIndices();
}

void TChartSeries::EmptyAllLists() {
  for (TChartValueList* l : *FValueLists) l->ClearValues();
  FColors.reset();
  FLabels->Clear();
  FMarks->Clear();
}

void TChartSeries::RemoveAllPoints() {
  FirstVisible = LastVisible = -1;
  EmptyAllLists();
  if (OnClearValues) OnClearValues(this);
  NotifyDependentSeries(scCleared, -1);
  if (FFunction) FFunction->SeriesCleared();
  if (FActive && FParentChart && !FParentChart->ComponentState().Contains(csDestroying)) RequestRedraw();
}

// ---- Values and colours ------------------------------------------------------------------

void TChartSeries::SetXValueAt(int Index, double Value) {
  FXValues->StoreValue(Index, Value);
  RequestRedraw();
}

void TChartSeries::SetYValueAt(int Index, double Value) {
  FYValues->StoreValue(Index, Value);
  RequestRedraw();
}

TChartValueList* TChartSeries::ValueListByName(const std::string& Name) {
  for (int i = 2; i < FValueLists->Count(); ++i)
    if (SameIdent(FValueLists->ListAt(i)->Name(), Name)) return FValueLists->ListAt(i);
  return FYValues;
}

TColor TChartSeries::RawPointColor(int Index) const {
  if (!FColors || Index < 0 || Index >= static_cast<int>(FColors->size())) return clDefault;
  return (*FColors)[static_cast<size_t>(Index)];
}

TColor TChartSeries::PointColor(int Index) {
  const TColor c = RawPointColor(Index);
  if (c != clDefault) return c;
  if (!FColorEachPoint) return GetSeriesColor();
  return FParentChart ? FParentChart->PaletteColor(Index) : DefaultPaletteColor(Index);
}

void TChartSeries::CreateColorList() {
  FColors = std::make_unique<std::vector<TColor>>(static_cast<size_t>(PointCount()), clDefault);
}

void TChartSeries::SetPointColor(int Index, TColor Value) {
  if (!FColors && Value == clDefault) return;
  if (!FColors) CreateColorList();
  if (Index >= static_cast<int>(FColors->size())) FColors->resize(static_cast<size_t>(Index) + 1, clDefault);
  (*FColors)[static_cast<size_t>(Index)] = Value;
  RequestRedraw();
}

TColor TChartSeries::GetSeriesColor() const { return FColor == clDefault ? FAutoColor : FColor; }

void TChartSeries::SetSeriesColor(TColor Value) {
  if (FColor == clDefault && Value == FAutoColor) return;
  ChangeColor(FColor, Value);
  FAutoColor = FColor;
  BroadcastColorChange();
}

void TChartSeries::BroadcastColorChange() {
  if (FParentChart) FParentChart->AnnounceSeriesEvent(this, seChangeColor);
  RefreshDesigner();
}

void TChartSeries::SetColorEachPoint(bool Value) { ChangeBool(FColorEachPoint, Value); }

void TChartSeries::ReplaceValueList(TChartValueList* Own, TChartValueList* Value) {
  Own->Assign(Value);
  RequestRedraw();
}

void TChartSeries::SetMainAndOther(TChartValueList* Main, TChartValueList* Other, bool Vertical) {
  FMainList = Main;
  FOtherList = Other;
  FVertical = Vertical;
}

void TChartSeries::SetHorizontalOrientation() { SetMainAndOther(FXValues, FYValues, false); }

// ---- Update suspension ----------------------------------------------------------------------

void TChartSeries::SuspendUpdates() { ++FUpdateCount; }

void TChartSeries::ResumeUpdates() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) NotifyDataChanged();
}

void TChartSeries::NotifyDataChanged() {
  NotifyDependentSeries(scRefresh, -1);
  if (FParentChart) FParentChart->AnnounceSeriesEvent(this, seDataChanged);
}

void TChartSeries::ExchangePoints(int A, int B) {
  for (TChartValueList* l : *FValueLists) l->Exchange(A, B);
  if (FColors) {
    const size_t n = FColors->size();
    if (static_cast<size_t>(std::max(A, B)) >= n) FColors->resize(static_cast<size_t>(std::max(A, B)) + 1, clDefault);
    std::swap((*FColors)[static_cast<size_t>(A)], (*FColors)[static_cast<size_t>(B)]);
  }
  if (FLabels->Count() > 0) FLabels->Exchange(A, B);
}

void TChartSeries::ResortIfOrdered() {
  if (FMainList->Order() == loNone) return;
  FMainList->SortByOrder();
  if (FOtherList->ValueSource().empty()) FOtherList->FillWithIndices();
  RequestRedraw();
}

// ---- Copying --------------------------------------------------------------------------------

void TChartSeries::CopyValuesFrom(TChartSeries* Source) {
  SuspendUpdates();
  try {
    RemoveAllPoints();
    if (FFunction) {
      if (Source) {
        FXValues->SetDateTime(Source->FXValues->DateTime());
        FYValues->SetDateTime(Source->FYValues->DateTime());
      }
      FFunction->ComputeFrom(Source);
    } else if (Source && CanSourceFor(Source)) {
      for (int i = 0; i < Source->PointCount(); ++i) AddCopiedPoint(Source, i);
    }
  } catch (...) {
    ResumeUpdates();
    throw;
  }
  ResumeUpdates();
}

void TChartSeries::CopyFormatFrom(TChartSeries* Source) {
  if (!FDataSources->FItems.empty()) SetDataSource(nullptr);
  if (Source->FVertical == FVertical) {
    FXValues->Assign(Source->FXValues);
    FYValues->Assign(Source->FYValues);
  } else {
    FXValues->Assign(Source->FYValues);
    FYValues->Assign(Source->FXValues);
  }
  FXLabelsSource = Source->FXLabelsSource;
  FColorSource = Source->FColorSource;
  const int n = std::min(FValueLists->Count(), Source->FValueLists->Count());
  for (int i = 2; i < n; ++i) FValueLists->ListAt(i)->Assign(Source->FValueLists->ListAt(i));
  FMarks->Assign(Source->FMarks.get());
  FColor = Source->FColor;
  SetAutomaticColor(Source->FAutoColor);
  FColorEachPoint = Source->FColorEachPoint;
  FValueFormat = Source->FValueFormat;
  FPercentFormat = Source->FPercentFormat;
  FHorizAxis = Source->FHorizAxis;
  FVertAxis = Source->FVertAxis;
  FCustomHorizAxis = Source->FCustomHorizAxis;
  FCustomVertAxis = Source->FCustomVertAxis;
  FRecalcOptions = Source->FRecalcOptions;
  FCursor = Source->FCursor;
  FDepth = Source->FDepth;
  ResolveAxes();
}

void TChartSeries::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TChartSeries*>(Source);
  if (!source) {
    TCustomChartSeries::Assign(Source);
    return;
  }
  TCustomChartSeries::Assign(Source);
  CopyFormatFrom(source);
  if (source->FFunction && !FFunction && source->FFunction->ClassType()->CreateComponent) {
    auto* f = static_cast<TGrafFunction*>(source->FFunction->ClassType()->CreateComponent(Owner()));
    f->Assign(source->FFunction);
    f->AttachToSeries(this);
  }
  ManualData = source->ManualData;
  if (source->FDataSources->Count() == 0 || source->ManualData) {
    if (source->ManualData || !source->ComponentState().Contains(csDesigning)) {
      if (source->FColors) FColors = std::make_unique<std::vector<TColor>>(*source->FColors);
      else FColors.reset();
      FLabels->Assign(*source->FLabels);
      CopyValuesFrom(source);
    }
  } else {
    FDataSources->Clear();
    for (int i = 0; i < source->FDataSources->Count(); ++i) {
      TComponent* c = source->FDataSources->Items(i);
      if (c != this) AttachSource(c);
    }
  }
  RefreshFromSource();
}

// ---- Axes ------------------------------------------------------------------------------------

void TChartSeries::ResolveAxes() {
  if (!FParentChart) {
    FHorizAxisInUse = FVertAxisInUse = nullptr;
    return;
  }
  FHorizAxisInUse = FParentChart->BottomAxis();
  if (FHorizAxis == aTopAxis) FHorizAxisInUse = FParentChart->TopAxis();
  else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis) FHorizAxisInUse = FCustomHorizAxis;
  FVertAxisInUse = FParentChart->LeftAxis();
  if (FVertAxis == aRightAxis) FVertAxisInUse = FParentChart->RightAxis();
  else if (FVertAxis == aCustomVertAxis && FCustomVertAxis) FVertAxisInUse = FCustomVertAxis;
}

void TChartSeries::SetHorizAxis(THorizAxis Value) {
  if (FHorizAxis == Value) return;
  FHorizAxis = Value;
  if (Value != aCustomHorizAxis && !ComponentState().Contains(csLoading)) FCustomHorizAxis = nullptr;
  ResolveAxes();
  RequestRedraw();
}

void TChartSeries::SetVertAxis(TVertAxis Value) {
  if (FVertAxis == Value) return;
  FVertAxis = Value;
  if (Value != aCustomVertAxis && !ComponentState().Contains(csLoading)) FCustomVertAxis = nullptr;
  ResolveAxes();
  RequestRedraw();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value) {
  FCustomHorizAxis = Value;
  FHorizAxis = Value ? aCustomHorizAxis : aBottomAxis;
  ResolveAxes();
  RequestRedraw();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value) {
  FCustomVertAxis = Value;
  FVertAxis = Value ? aCustomVertAxis : aLeftAxis;
  ResolveAxes();
  RequestRedraw();
}

// ---- Chart membership --------------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (FParentChart == Value) return;
  if (FParentChart) FParentChart->DetachSeries(this);
  FParentChart = Value;
  FMarks->SetParent(Value);
  if (Value) Value->RegisterSeries(this);
}

void TChartSeries::SeriesAdded() {
  if (FColor == clDefault && FParentChart) {
    SetAutomaticColor(FParentChart->NextFreeColor(true, this));
    BroadcastColorChange();
  }
  ResolveAxes();
  RefreshFromSource();
}

void TChartSeries::SeriesRemoved() {
  if (FParentChart && FCursor != 0 && FParentChart->Cursor() == FCursor) FParentChart->SetCursor(ChartCursorBefore);
  UnlinkAllDependents();
  TCustomChartSeries::SeriesRemoved();
  FHorizAxisInUse = FVertAxisInUse = nullptr;
}

void TChartSeries::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TCustomChartSeries::GetChildren(Proc, Root);
  if (FFunction) Proc(FFunction);
}

void TChartSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomChartSeries::Notification(AComponent, Operation);
  if (Operation != opRemove || FDestroyingSeries) return;
  if (AComponent == FFunction) FFunction = nullptr;
  else if (FDataSources && FDataSources->IndexOf(AComponent) >= 0) {
    auto& items = FDataSources->FItems;
    items.erase(std::remove(items.begin(), items.end(), AComponent), items.end());
    DetachSource(AComponent);
  }
}

void TChartSeries::ForgetFunction(TGrafFunction* Function) {
  if (FFunction == Function) {
    FFunction = nullptr;
    Function->RemoveFreeNotification(this);
  }
}

// ---- Mouse ---------------------------------------------------------------------------------

void TChartSeries::MousePosToValues(double& X, double& Y) {
  TPoint p;
  if (FParentChart && GetCursorPos(p)) p = FParentChart->ScreenToClient(p);
  X = FHorizAxisInUse ? FHorizAxisInUse->PixelToValue(p.X) : 0;
  Y = FVertAxisInUse ? FVertAxisInUse->PixelToValue(p.Y) : 0;
}

bool TChartSeries::TrackMouse(int X, int Y) {
  if (FCursor == 0 && !OnMouseEnter && !OnMouseLeave) return false;
  if (IndexAtPoint(X, Y) < 0) {
    if (MouseInside) {
      MouseInside = false;
      if (OnMouseLeave) OnMouseLeave(this);
    }
    return false;
  }
  if (FCursor != 0 && FParentChart) {
    if (FParentChart->Cursor() != FCursor) ChartCursorBefore = FParentChart->Cursor();
    FParentChart->SetCursor(FCursor);
  }
  if (!MouseInside) {
    MouseInside = true;
    if (OnMouseEnter) OnMouseEnter(this);
  }
  return true;
}

// ---- Sample data ------------------------------------------------------------------------

int TChartSeries::RandomInteger(int Range) { return Random(Range); }

bool TChartSeries::SampleDataAllowed() const {
  return RandomSampleDataAtRunTime || ComponentState().Contains(csDesigning);
}

void TChartSeries::LoadDemoData(int NumValues) {
  if (NumValues < 0) throw ChartException(GrafMsgFillSampleValuesNumValuesMustBe0);
  if (NumValues == 0) NumValues = SampleCount > 0 ? SampleCount : DefaultSampleCount();
  RemoveAllPoints();
  RandSeed = static_cast<uint32_t>(Random(7774444));
  SuspendUpdates();
  try {
    GenerateRandomPoints(NumValues, false);
    ResortIfOrdered();
  } catch (...) {
    ResumeUpdates();
    throw;
  }
  ResumeUpdates();
  ManualData = false;
}

void TChartSeries::PrepareSampleRange(int Count, double& MinX, double& StepX, double& MinY, double& SpanY,
                                      double& FirstY) {
  bool fromChart = false;
  double maxX = 0, maxY = 0;
  if (FParentChart && FHorizAxisInUse && FVertAxisInUse) {
    for (TChartSeries* s : *FParentChart->SeriesList())
      if (s->PointCount() > 0) fromChart = true;
  }
  if (fromChart) {
    MinX = FParentChart->AxisValueExtreme(FHorizAxisInUse, true, true);
    maxX = FParentChart->AxisValueExtreme(FHorizAxisInUse, false, true);
    MinY = FParentChart->AxisValueExtreme(FVertAxisInUse, true, false);
    maxY = FParentChart->AxisValueExtreme(FVertAxisInUse, false, false);
    if (maxY == MinY) maxY = MinY == 0 ? 1000 : 2 * MinY;
    if (maxX == MinX) maxX = MinX == 0 ? Count - 1 : 2 * MinX;
    if (!FVertical) {
      std::swap(MinX, MinY);
      std::swap(maxX, maxY);
    }
  } else {
    MinX = FXValues->DateTime() ? Date() : 0;
    maxX = MinX + Count - 1;
    MinY = 0;
    maxY = 1000;
  }
  StepX = Count > 1 ? (maxX - MinX) / (Count - 1) : (maxX - MinX);
  SpanY = std::clamp(maxY - MinY, -2147483647.0, 2147483647.0);
  FirstY = MinY + Random(100) * SpanY / 100;
}

void TChartSeries::GenerateRandomPoints(int Count, bool MainValuesOnly) {
  double x, stepX, minY, span, y;
  PrepareSampleRange(Count, x, stepX, minY, span, y);
  for (int i = 0; i < Count; ++i) {
    const double a = span / 4;
    y = std::fabs(y + a * Random(100) / 100 - a / 2);
    if (MainValuesOnly) {
      AddSingleValue(y);
    } else {
      if (FVertical) AddXYPoint(x, y);
      else AddXYPoint(y, x);
      x += stepX;
    }
  }
}

// ---- Labels ----------------------------------------------------------------------------------

std::string TLabelsList::LabelAt(int Index) const {
  if (Index < 0 || Index >= Count()) return "";
  return FItems[static_cast<size_t>(Index)];
}

void TLabelsList::SetLabelAt(int Index, const std::string& Text) {
  if (Index < 0) return;
  if (!Text.empty()) {
    if (Index >= Count()) FItems.resize(static_cast<size_t>(Index) + 1);
    FItems[static_cast<size_t>(Index)] = Text;
  } else if (Index < Count()) {
    FItems[static_cast<size_t>(Index)].clear();
  }
  if (FSeries) FSeries->RequestRedraw();
}

void TLabelsList::InsertTextAt(int Index, const std::string& Text) {
  if (Text.empty() && FItems.empty()) return;
  if (Index > Count()) FItems.resize(static_cast<size_t>(Index));
  FItems.insert(FItems.begin() + Index, Text);
}

void TLabelsList::RemoveTextAt(int Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TLabelsList::Assign(const TLabelsList& Other) {
  Clear();
  for (int i = 0; i < Other.Count(); ++i) FItems.push_back(Other.FItems[static_cast<size_t>(i)]);
}

void TLabelsList::Exchange(int A, int B) {
  const int n = std::max(A, B);
  if (n >= Count()) FItems.resize(static_cast<size_t>(n) + 1);
  std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

void TLabelsList::DeleteRange(int Index, int Number) {
  if (Index >= Count()) return;
  const int last = std::min(Count(), Index + Number);
  FItems.erase(FItems.begin() + Index, FItems.begin() + last);
}

// ---- The plain series list -------------------------------------------------------------------

int TCustomSeriesList::IndexOf(const TChartSeries* Series) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Series) return static_cast<int>(i);
  return -1;
}

int TCustomSeriesList::Add(TChartSeries* Series) {
  FItems.push_back(Series);
  return Count() - 1;
}

void TCustomSeriesList::Insert(int Index, TChartSeries* Series) { FItems.insert(FItems.begin() + Index, Series); }

void TCustomSeriesList::Delete(int Index) { FItems.erase(FItems.begin() + Index); }

int TCustomSeriesList::Remove(TChartSeries* Series) {
  const int index = IndexOf(Series);
  if (index >= 0) Delete(index);
  return index;
}

void TCustomSeriesList::Exchange(int A, int B) { std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]); }

bool TCustomSeriesList::AllSeriesActive() const {
  for (TChartSeries* s : FItems)
    if (!s->Active()) return false;
  return true;
}

void TCustomSeriesList::SetAllSeriesActive(bool Value) {
  std::vector<TChartSeries*> items = FItems;
  for (TChartSeries* s : items) s->SetActive(Value);
}
