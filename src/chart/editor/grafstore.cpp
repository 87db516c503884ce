// The chart file: writing, reading into an existing chart, and conversion
// between the binary and text forms.
#include "chart/editor/grafstore.h"

#include <memory>
#include <vector>

#include "chart/core/grafconst.h"
#include "platform/rtl/fileutils.h"

ZV_CLASS_IMPL_NOPROPS(TChartChart, TChart)
ZV_CLASS_IMPL_NOPROPS(TODBCChart, TChart)

void RegisterChartFileClasses() { RegisterClasses({&TChartChart::StaticClass(), &TODBCChart::StaticClass()}); }

void UnregisterChartFileClasses() {
  UnRegisterClasses({&TChartChart::StaticClass(), &TODBCChart::StaticClass()});
}

// ---- TChartReader ------------------------------------------------------------------------

TChartReader::TChartReader(TStream* Stream, int BufSize) : TReader(Stream, BufSize) {
  // Handlers named in the file that this program does not have are ignored.
  OnFindMethod = [](TReader*, const std::string&, std::any&, bool& Error) { Error = false; };
}

bool TChartReader::Error(const std::string& Message) { return OnChartError ? OnChartError(Message) : true; }

// ---- Recognising a stream ----------------------------------------------------------------

TChartStreamKind ChartStreamKind(TStream& Stream) {
  const int64_t start = Stream.Position();
  uint8_t head[4] = {0, 0, 0, 0};
  const int64_t got = Stream.Read(head, 4);
  Stream.SetPosition(start);
  if (got >= 2 && (head[0] | head[1] << 8) == kChartStreamMagic) return cskBinary;
  if (got >= 1 && (head[0] == 'O' || head[0] == 'o')) return cskText;
  return cskNone;
}

namespace {

void CheckChartStream(TStream& Stream) {
  if (Stream.Size() - Stream.Position() <= 0) throw ChartException(GrafMsgEmptyNativeFile);
  if (ChartStreamKind(Stream) == cskNone) throw ChartException(GrafMsgWrongNativeFormat);
}

void WriteHeader(TStream& Stream) {
  Stream.WriteWord(kChartStreamMagic);
  Stream.WriteWord(kChartStreamVersion);
}

// Sets the series' data marks for one write and clears both afterwards.
class TDataMarks {
public:
  TDataMarks(TCustomAxisPanel* Chart, bool WithData) {
    if (!Chart) return;
    for (TChartSeries* s : *Chart->SeriesList()) {
      s->ForceSaveData = WithData;
      s->DontSaveData = !WithData;
      FSeries.push_back(s);
    }
  }
  ~TDataMarks() {
    for (TChartSeries* s : FSeries) s->ForceSaveData = s->DontSaveData = false;
  }

private:
  std::vector<TChartSeries*> FSeries;
};

// The stored chart carries no component name; the chart gets its own back.
class TNameless {
public:
  explicit TNameless(TComponent* Component) : FComponent(Component) {
    if (FComponent->ComponentState().Contains(csDesigning)) return;
    FName = FComponent->Name();
    FActive = true;
    FComponent->SetName("");
  }
  ~TNameless() {
    if (FActive) FComponent->SetName(FName);
  }

private:
  TComponent* FComponent;
  std::string FName;
  bool FActive = false;
};

// Walks over one stored component and its children without making anything:
// a stream that fails here would fail part way through reading, after the
// chart had already lost its series.
void SkipStoredComponent(TReader& Reader, int Depth) {
  if (Depth > 256) throw EReadError("Invalid stream format");
  int flags = 0, pos = 0;
  Reader.ReadPrefix(flags, pos);
  Reader.ReadStr();
  Reader.ReadStr();
  while (!Reader.EndOfList()) {
    Reader.ReadStr();
    Reader.SkipValue();
  }
  Reader.ReadListEnd();
  while (!Reader.EndOfList()) SkipStoredComponent(Reader, Depth + 1);
  Reader.ReadListEnd();
}

// Whether the stream holds one whole component, and whether it is a chart.
// The position is kept.
bool StoresWholeChart(TStream& Stream) {
  const int64_t start = Stream.Position();
  try {
    TReader peek(&Stream);
    peek.ReadSignature();
    int flags = 0, pos = 0;
    peek.ReadPrefix(flags, pos);
    const TClass cls = GetClass(peek.ReadStr());
    if (!cls || !cls->InheritsFrom(&TCustomAxisPanel::StaticClass())) {
      Stream.SetPosition(start);
      return false;
    }
    Stream.SetPosition(start + 4);
    SkipStoredComponent(peek, 0);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
  Stream.SetPosition(start);
  return true;
}

}  // namespace

// ---- Writing ---------------------------------------------------------------------------------

void WriteChartStream(TCustomAxisPanel* Chart, TStream& Stream, bool WithData, bool AsText) {
  if (!Chart) throw ChartException(GrafMsgInvalidNativeFile);
  std::unique_ptr<TMemoryStream> binary;
  if (AsText) binary = std::make_unique<TMemoryStream>();
  TStream& out = AsText ? *binary : Stream;
  WriteHeader(out);
  {
    TNameless nameless(Chart);
    TDataMarks marks(Chart, WithData);
    TWriter writer(&out, 4096);
    writer.SetRoot(Chart->Owner() ? Chart->Owner() : Chart);
    writer.WriteSignature();
    writer.WriteComponent(Chart);
  }
  if (AsText) {
    binary->SetPosition(0);
    ConvertChartBinaryToText(*binary, Stream);
  }
}

void WriteChartFile(TCustomAxisPanel* Chart, const std::string& FileName, bool WithData, bool AsText) {
  std::string name = FileName;
  if (ExtractFileExt(name).empty()) name += "." + NativeExtension;
  TMemoryStream stream;
  WriteChartStream(Chart, stream, WithData, AsText);
  stream.SaveToFile(name);
}

// ---- Reading ---------------------------------------------------------------------------------

void ReadChartStream(TCustomAxisPanel* Chart, TStream& Stream, bool ReadTrailingData, TChartReadErrorProc OnError) {
  if (!Chart) throw ChartException(GrafMsgInvalidNativeFile);
  CheckChartStream(Stream);
  Chart->RepaintOnChange = false;
  try {
    std::unique_ptr<TMemoryStream> converted;
    TStream* source = &Stream;
    if (ChartStreamKind(Stream) == cskText) {
      converted = std::make_unique<TMemoryStream>();
      ConvertChartTextToBinary(Stream, *converted);
      converted->SetPosition(0);
      source = converted.get();
    }
    if (source->Size() - source->Position() < 4) throw ChartException(GrafMsgWrongNativeFormat);
    source->Seek(4, soCurrent);
    // A damaged or foreign stream is refused before the chart loses anything.
    if (!StoresWholeChart(*source)) throw ChartException(GrafMsgInvalidNativeFile);
    while (Chart->NumberOfSeries() > 0) delete Chart->SeriesAt(Chart->NumberOfSeries() - 1);
    Chart->Tools()->Clear();

    const std::string ownName = Chart->Name();
    {
      TChartReader reader(source, 4096);
      reader.OnChartError = OnError;
      reader.ReadRootComponent(Chart);
    }
    if (!ownName.empty() && Chart->Name() != ownName) Chart->SetName(ownName);

    // Older files carry the points after the component.
    if (ReadTrailingData && source->Position() < source->Size())
      for (int i = 0; i < Chart->NumberOfSeries() && source->Position() < source->Size(); ++i)
        Chart->SeriesAt(i)->LoadPointData(source);
  } catch (...) {
    Chart->RepaintOnChange = true;
    Chart->Invalidate();
    throw;
  }
  Chart->RepaintOnChange = true;
  Chart->Invalidate();
}

void ReadChartStreamWithData(TCustomAxisPanel* Chart, TStream& Stream) { ReadChartStream(Chart, Stream, true); }

// ---- Conversion ------------------------------------------------------------------------------

void ConvertChartTextToBinary(TStream& Input, TStream& Output) {
  CheckChartStream(Input);
  if (ChartStreamKind(Input) == cskBinary) {
    Output.CopyFrom(Input, Input.Size() - Input.Position());
    return;
  }
  WriteHeader(Output);
  ObjectTextToBinary(Input, Output);
}

void ConvertChartBinaryToText(TStream& Input, TStream& Output) {
  CheckChartStream(Input);
  if (ChartStreamKind(Input) == cskText) {
    Output.CopyFrom(Input, Input.Size() - Input.Position());
    return;
  }
  if (Input.Size() - Input.Position() < 4) throw ChartException(GrafMsgWrongNativeFormat);
  Input.Seek(4, soCurrent);
  ObjectBinaryToText(Input, Output);
}
