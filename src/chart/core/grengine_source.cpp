// Where a series' points come from: other series (its data sources, maybe
// through a function), series-source components, or a stream. The binary
// point stream "Data" is a file format (stored charts carry it).
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/format.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

// ---- The data-source list -------------------------------------------------------------

TDataSourcesList::~TDataSourcesList() { FItems.clear(); }

int TDataSourcesList::IndexOf(const TComponent* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Item) return static_cast<int>(i);
  return -1;
}

int TDataSourcesList::AddSource(TComponent* Source) { return FSeries->ReplaceSources(Source, false); }

int TDataSourcesList::Append(TComponent* Source) {
  FItems.push_back(Source);
  return Count() - 1;
}

void TDataSourcesList::ReplaceItem(TComponent* Old, TComponent* New) {
  const bool hasNew = IndexOf(New) >= 0;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i] != Old) continue;
    if (hasNew) {
      FItems.erase(FItems.begin() + static_cast<long>(i));
    } else {
      FItems[i] = New;
    }
    return;
  }
}

void TDataSourcesList::Removed(TComponent* Item) {
  if (FSeries && !FSeries->FDestroyingSeries) FSeries->DetachSource(Item);
}

void TDataSourcesList::Delete(int Index) {
  TComponent* item = FItems[static_cast<size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  Removed(item);
}

void TDataSourcesList::Clear() {
  FSeries->UnlinkAllDependents();
  while (!FItems.empty()) {
    TComponent* item = FItems.back();
    FItems.pop_back();
    Removed(item);
  }
  if (!FSeries->ManualData) FSeries->RemoveAllPoints();
}

// ---- Series sources --------------------------------------------------------------------------

ZV_CLASS_IMPL(TGrafSeriesSource, TComponent)

void TGrafSeriesSource::DeclareProperties(TClassInfo& c) {
  using S = TGrafSeriesSource;
  c.Boolean<S>("Active", &S::Active, &S::SetActive, false);
  c.Object<S, TChartSeries>("Series", &S::Series, &S::SetSeries);
}

TGrafSeriesSource::TGrafSeriesSource(TComponent* AOwner) : TComponent(AOwner) { EngineUnitStartup(); }

TGrafSeriesSource::~TGrafSeriesSource() {
  Destroying();
  if (FActive) Close();
  if (FSeries) {
    TChartSeries* s = FSeries;
    FSeries = nullptr;
    s->RemoveFreeNotification(this);
    if (s->DataSource() == this) {
      auto* list = s->DataSources();
      for (int i = list->Count() - 1; i >= 0; --i)
        if (list->Items(i) == this) list->Delete(i);
    }
  }
}

void TGrafSeriesSource::SetActive(bool Value) {
  if (FActive == Value) return;
  if (FSeries) {
    if (Value) {
      if (!ComponentState().Contains(csLoading)) {
        FActive = true;
        Load();
        return;
      }
    } else if (!ComponentState().Contains(csDestroying) && !FSeries->ComponentState().Contains(csDestroying) &&
               !LoadMode) {
      FSeries->RemoveAllPoints();
    }
  }
  FActive = Value;
}

bool TGrafSeriesSource::FeedsSeries(TChartSeries* Series) {
  TComponent* first = Series ? Series->DataSource() : nullptr;
  return first && first->ClassName() == ClassName();
}

void TGrafSeriesSource::Close() {
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying)) SetActive(false);
}

void TGrafSeriesSource::Open() { SetActive(true); }

void TGrafSeriesSource::SetSeries(TChartSeries* Value) {
  if (FSeries == Value) return;
  Close();
  TChartSeries* old = FSeries;
  if (old) old->RemoveFreeNotification(this);
  FSeries = Value;
  if (Value) {
    Value->FreeNotification(this);
    if (Value->DataSource() != this) Value->SetDataSource(this);
  } else if (old && old->DataSource() == this) {
    old->SetDataSource(nullptr);
  }
}

void TGrafSeriesSource::ReloadIfActive() {
  if (FActive && !ComponentState().Contains(csLoading)) Load();
}

void TGrafSeriesSource::Loaded() {
  TComponent::Loaded();
  ReloadIfActive();
}

void TGrafSeriesSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSeries) {
    FSeries = nullptr;
  }
}

// ---- Sources of a series ------------------------------------------------------------------

void TChartSeries::SetDataSource(TComponent* Value) {
  if (Value) {
    ReplaceSources(Value, true);
  } else if (TComponent* first = QueryDataSource()) {
    DetachSource(first);
  }
}

int TChartSeries::ReplaceSources(TComponent* Source, bool Replace) {
  if (!Source) return -1;
  if (FParentChart) {
    if (!FParentChart->AcceptsDataSource(this, Source)) {
      const std::string name = Source->Name().empty() ? Source->ClassName() : Source->Name();
      throw ChartException(Format(GrafMsgNoValidDataSourceS, {name}));
    }
  } else if (!AcceptsAsSource(Source)) {
    throw ChartException(GrafMsgNoParentChartToValidateDataSource);
  }
  if (FDataSources->IndexOf(Source) >= 0) return -1;
  if (auto* series = dynamic_cast<TChartSeries*>(Source)) GuardCircularSource(series);
  if (Replace && !ComponentState().Contains(csLoading) && FDataSources->Count() > 0) FDataSources->Clear();
  const int result = AttachSource(Source);
  RefreshFromSource();
  return result;
}

int TChartSeries::AttachSource(TComponent* Source) {
  if (!Source) return -1;
  const int result = FDataSources->Append(Source);
  ManualData = false;
  if (auto* series = dynamic_cast<TChartSeries*>(Source)) {
    series->AddDependent(this);
  } else {
    Source->FreeNotification(this);
    if (auto* src = dynamic_cast<TGrafSeriesSource*>(Source); src && src->Series() != this) {
      const bool wasActive = src->Active();
      src->Close();
      TChartSeries* old = src->Series();
      if (old) {
        if (src->Owner() == old) {
          old->RemoveComponent(src);
          InsertComponent(src);
        }
        old->RemoveFreeNotification(src);
        auto& items = old->FDataSources->FItems;
        items.erase(std::remove(items.begin(), items.end(), static_cast<TComponent*>(src)), items.end());
      }
      src->FSeries = this;
      FreeNotification(src);
      if (wasActive) src->Open();
    }
  }
  return result;
}

void TChartSeries::DetachSource(TComponent* Source) {
  if (FDestroyingSeries || ComponentState().Contains(csDestroying)) return;
  if (FParentChart && Source) FParentChart->DataSourceRemoved(this, Source);
  if (auto* series = dynamic_cast<TChartSeries*>(Source)) series->RemoveDependent(this);
  // The chart may have removed it meanwhile (a series source letting go).
  const int index = FDataSources->IndexOf(Source);
  if (index == 0) {
    FDataSources->FItems.erase(FDataSources->FItems.begin());
    FDataSources->Clear();
  } else if (index > 0) {
    FDataSources->FItems.erase(FDataSources->FItems.begin() + index);
  }
  RefreshFromSource();
}

bool TChartSeries::AcceptsAsSource(TComponent* Source) {
  auto* series = dynamic_cast<TChartSeries*>(Source);
  return series && series != this && AcceptsSeriesAsSource(series);
}

bool TChartSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return !FFunction || FFunction->AcceptsSource(Series);
}

void TChartSeries::GuardCircularSource(TChartSeries* Source) {
  if (FParentChart) FParentChart->RejectCircularSource(this, Source);
  else if (Source == this) throw ChartException(GrafMsgCircularSeriesDependencesAreNotAllowed);
}

void TChartSeries::UnlinkAllDependents() {
  if (!FDataSources) return;
  for (TComponent* c : FDataSources->FItems)
    if (auto* series = dynamic_cast<TChartSeries*>(c)) series->RemoveDependent(this);
}

void TChartSeries::AddDependent(TChartSeries* Series) {
  if (FDependents->IndexOf(Series) < 0) FDependents->Add(Series);
}

void TChartSeries::RemoveDependent(TChartSeries* Series) {
  if (FDependents) FDependents->Remove(Series);
}

void TChartSeries::RefreshFromSource() {
  if (FUpdateCount == 0 && FParentChart) FParentChart->RefreshSeriesData(this);
}

void TChartSeries::AssignFunction(TGrafFunction* Function) {
  if (Function == FFunction) return;
  if (FFunction) {
    TGrafFunction* old = FFunction;
    FFunction = nullptr;
    old->FParent = nullptr;
    delete old;
  }
  FFunction = Function;
  if (Function) {
    Function->FParent = this;
    ManualData = false;
    Function->FreeNotification(this);
  }
  RefreshFromSource();
}

void TChartSeries::SetColorSource(const std::string& Value) {
  if (FColorSource == Value) return;
  FColorSource = Value;
  RefreshFromSource();
}

void TChartSeries::SetXLabelsSource(const std::string& Value) {
  if (FXLabelsSource == Value) return;
  FXLabelsSource = Value;
  RefreshFromSource();
}

// ---- Content tests -------------------------------------------------------------------------

bool HasExplicitXValues(TChartSeries* Series) {
  if (!Series->XValuesMeaningful || Series->PointCount() == 0) return false;
  TChartValueList* other = Series->OtherList();
  const int n = Series->PointCount();
  if (other->FirstValue() != 0 || other->LastValue() != n - 1) return true;
  const int last = std::min(n - 1, 10000);
  for (int i = 0; i <= last; ++i)
    if (other->GetValue(i) != i) return true;
  return false;
}

bool HasOwnPointColors(TChartSeries* Series) {
  const int last = std::min(Series->PointCount() - 1, 10000);
  const TColor own = Series->SeriesColor();
  for (int i = 0; i <= last; ++i) {
    const TColor c = Series->RawPointColor(i);
    if (c != clDefault && c != own) return true;
  }
  return false;
}

bool HasPointLabels(TChartSeries* Series) {
  if (Series->Labels()->Count() == 0) return false;
  const int last = std::min(Series->PointCount() - 1, 100);
  for (int i = 0; i <= last; ++i)
    if (!Series->PointLabel(i).empty()) return true;
  return false;
}

int SeriesDataContents(TChartSeries* Series) {
  int flags = 0;
  if (HasExplicitXValues(Series)) flags |= 1;
  if (HasOwnPointColors(Series)) flags |= 2;
  if (HasPointLabels(Series)) flags |= 4;
  if (Series->Marks()->Positions()->HasCustom()) flags |= 8;
  return flags;
}

// ---- The point stream -----------------------------------------------------------------------

namespace {

constexpr int kMarkPositionBytes = 34;

// One character at a time, so that a character the code page lacks becomes
// "?" instead of failing the whole label.
std::string LabelToAnsi(const std::string& text) {
  std::string out;
  if (Utf8ToCp1252(text, out)) return out;
  out.clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t len = 1;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    len = std::min(len, text.size() - i);
    std::string one;
    out += Utf8ToCp1252(text.substr(i, len), one) ? one : std::string("?");
    i += len;
  }
  return out;
}

void WriteMarkPosition(TStream* s, const TSeriesMarkPosition& p) {
  s->WriteInteger(p.ArrowFrom.X);
  s->WriteInteger(p.ArrowFrom.Y);
  s->WriteBoolean(p.ArrowFix);
  s->WriteInteger(p.ArrowTo.X);
  s->WriteInteger(p.ArrowTo.Y);
  s->WriteBoolean(p.Custom);
  s->WriteInteger(p.Height);
  s->WriteInteger(p.LeftTop.X);
  s->WriteInteger(p.LeftTop.Y);
  s->WriteInteger(p.Width);
}

std::unique_ptr<TSeriesMarkPosition> ReadMarkPosition(TStream* s) {
  auto p = std::make_unique<TSeriesMarkPosition>();
  p->ArrowFrom.X = s->ReadInteger();
  p->ArrowFrom.Y = s->ReadInteger();
  p->ArrowFix = s->ReadBoolean();
  p->ArrowTo.X = s->ReadInteger();
  p->ArrowTo.Y = s->ReadInteger();
  p->Custom = s->ReadBoolean();
  p->Height = s->ReadInteger();
  p->LeftTop.X = s->ReadInteger();
  p->LeftTop.Y = s->ReadInteger();
  p->Width = s->ReadInteger();
  return p;
}

[[noreturn]] void DamagedStream() { throw EReadError("Invalid series point data: the stream is damaged"); }

}  // namespace

namespace {

// The point data gathered in blocks: a stream write per value costs more
// than the value for series of a million points.
class TPointDataOut {
public:
  explicit TPointDataOut(TStream* Stream) : FStream(Stream) { FBuffer.reserve(kBlock + 512); }
  template <class T>
  void Put(T value) {
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));  // little-endian machines only, as the layout is
    FBuffer.insert(FBuffer.end(), bytes, bytes + sizeof(T));
  }
  void PutBytes(const std::string& text) { FBuffer.insert(FBuffer.end(), text.begin(), text.end()); }
  void MaybeFlush() {
    if (FBuffer.size() >= kBlock) Flush();
  }
  void Flush() {
    if (!FBuffer.empty()) FStream->WriteBuffer(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
    FBuffer.clear();
  }

private:
  static constexpr size_t kBlock = 64 * 1024;
  TStream* FStream;
  std::vector<uint8_t> FBuffer;
};

static_assert(std::endian::native == std::endian::little, "the point data is little-endian");

}  // namespace

void TChartSeries::SavePointData(TStream* Stream) {
  const int flags = SeriesDataContents(this);
  const int n = PointCount();
  TPointDataOut out(Stream);
  out.Put<uint8_t>(static_cast<uint8_t>(flags));
  out.Put<int32_t>(n);
  for (int k = 0; k < n; ++k) {
    if (flags & 1) out.Put<double>(FOtherList->GetValue(k));
    out.Put<double>(FMainList->GetValue(k));
    if (flags & 2) out.Put<int32_t>(static_cast<int32_t>(RawPointColor(k)));
    if (flags & 4) {
      std::string text = LabelToAnsi(PointLabel(k));
      // The length byte holds at most 255.
      if (text.size() > 255) text.resize(255);
      out.Put<uint8_t>(static_cast<uint8_t>(text.size()));
      out.PutBytes(text);
    }
    for (int i = 2; i < FValueLists->Count(); ++i) out.Put<double>(FValueLists->ListAt(i)->GetValue(k));
    if (flags & 8) {
      out.Flush();
      WriteMarkPosition(Stream, *FMarks->Positions()->EnsureAt(k));
    }
    out.MaybeFlush();
  }
  out.Flush();
}

void TChartSeries::LoadPointData(TStream* Stream) {
  // Validate the whole stream before the series loses its points.
  const int64_t start = Stream->Position();
  const int64_t size = Stream->Size() - start;
  if (size < 5) DamagedStream();
  const int flags = Stream->ReadByte();
  const int32_t n = Stream->ReadInteger();
  if ((flags & ~0x0F) != 0 || n < 0) DamagedStream();
  const int extra = FValueLists->Count() - 2;
  const int64_t fixed = 8 + ((flags & 1) ? 8 : 0) + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 1 : 0) +
                        8 * static_cast<int64_t>(extra) + ((flags & 8) ? kMarkPositionBytes : 0);
  if (static_cast<int64_t>(n) * fixed > size - 5) DamagedStream();
  if (flags & 4) {
    int64_t pos = start + 5;
    const int64_t end = start + size;
    const int64_t labelOffset = 8 + ((flags & 1) ? 8 : 0) + ((flags & 2) ? 4 : 0);
    for (int32_t k = 0; k < n; ++k) {
      if (pos + fixed > end) DamagedStream();
      Stream->SetPosition(pos + labelOffset);
      const int len = Stream->ReadByte();
      pos += fixed + len;
      if (pos > end) DamagedStream();
    }
  }
  Stream->SetPosition(start + 5);

  RemoveAllPoints();
  for (TChartValueList* l : *FValueLists) l->ReserveValues(n);
  SuspendUpdates();
  try {
    for (int32_t k = 0; k < n; ++k) {
      const double other = (flags & 1) ? Stream->ReadDouble() : static_cast<double>(k);
      const double main = Stream->ReadDouble();
      const TColor color = (flags & 2) ? static_cast<TColor>(Stream->ReadInteger()) : clDefault;
      std::string label;
      if (flags & 4) {
        const int len = Stream->ReadByte();
        label = Cp1252ToUtf8(Stream->ReadString(len));
      }
      for (int i = 2; i < FValueLists->Count(); ++i) FValueLists->ListAt(i)->TempValue = Stream->ReadDouble();
      if (FVertical) AddXYPoint(other, main, label, color);
      else AddXYPoint(main, other, label, color);
      if (flags & 8) FMarks->Positions()->Append(ReadMarkPosition(Stream));
    }
  } catch (...) {
    ResumeUpdates();
    throw;
  }
  ResumeUpdates();
  ManualData = true;
}

// ---- Streaming --------------------------------------------------------------------------------

void TChartSeries::WriteDataSources(TWriter* Writer) {
  Writer->WriteListBegin();
  for (TComponent* c : FDataSources->FItems) Writer->WriteString(c->Name());
  Writer->WriteListEnd();
}

void TChartSeries::ReadDataSources(TReader* Reader) {
  FPendingSourceNames = std::make_unique<std::vector<std::string>>();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) FPendingSourceNames->push_back(Reader->ReadString());
  Reader->ReadListEnd();
}

void TChartSeries::DefineProperties(TFiler* Filer) {
  TCustomChartSeries::DefineProperties(Filer);
  Filer->DefineProperty(
      "DataSources", [this](TReader* r) { ReadDataSources(r); }, [this](TWriter* w) { WriteDataSources(w); },
      FDataSources->Count() > 1);
  auto customIndex = [this](TChartAxis* axis) {
    if (!axis || !FParentChart) return -1;
    return axis->Collection() == FParentChart->CustomAxes() ? axis->Index() : -1;
  };
  auto customAt = [this](int index) -> TChartAxis* {
    if (!FParentChart || index < 0 || index >= FParentChart->CustomAxes()->Count()) return nullptr;
    return FParentChart->CustomAxes()->AxisAt(index);
  };
  Filer->DefineProperty(
      "CustomHorizAxis", [this, customAt](TReader* r) { SetCustomHorizAxis(customAt(r->ReadInteger())); },
      [this, customIndex](TWriter* w) { w->WriteInteger(customIndex(FCustomHorizAxis)); },
      customIndex(FCustomHorizAxis) >= 0);
  Filer->DefineProperty(
      "CustomVertAxis", [this, customAt](TReader* r) { SetCustomVertAxis(customAt(r->ReadInteger())); },
      [this, customIndex](TWriter* w) { w->WriteInteger(customIndex(FCustomVertAxis)); },
      customIndex(FCustomVertAxis) >= 0);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { LoadPointData(s); }, [this](TStream* s) { SavePointData(s); },
      ForceSaveData || (ManualData && !DontSaveData));
}

void TChartSeries::Loaded() {
  TCustomChartSeries::Loaded();
  if (FPendingSourceNames) {
    FDataSources->Clear();
    TComponent* owner = Owner();
    for (const std::string& name : *FPendingSourceNames) {
      TComponent* c = owner ? owner->FindComponent(name) : nullptr;
      if (c && c != this) AttachSource(c);
    }
    FPendingSourceNames.reset();
  }
  RefreshFromSource();
}
