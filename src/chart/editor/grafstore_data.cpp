// Series data exports: delimited text, XML, an HTML table and a worksheet stream.
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "chart/core/grafconst.h"
#include "chart/editor/grafstore.h"
#include "platform/gfx/colors.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"

namespace {

const char* const kLineEnd = "\r\n";

// Text inside an attribute value or a cell: the characters markup gives a
// meaning to are written as references; line breaks and tabs survive an
// attribute as references, and the other control characters, which XML
// cannot hold at all, become blanks.
std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? ' ' : c;
    }
  }
  return out;
}

TChartValueList* ListOf(TChartSeries* s, int index) { return s->ValuesList()->ListAt(index); }
int ListCount(TChartSeries* s) { return s->ValuesList()->Count(); }

}  // namespace

std::string ColorToHexText(TColor Color) {
  const TColorRef rgb = ColorToRGB(Color);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<unsigned>(GetRValue(rgb)),
                static_cast<unsigned>(GetGValue(rgb)), static_cast<unsigned>(GetBValue(rgb)));
  return buf;
}

std::string ExportNumberText(double Value) { return FloatToStr(Value); }

// ---- TSeriesData ----------------------------------------------------------------------------

ZV_CLASS_IMPL(TSeriesData, TGrafExportData)
void TSeriesData::DeclareProperties(TClassInfo& c) {
  c.Boolean<TSeriesData>(
      "IncludeHeader", [](TSeriesData* d) { return d->IncludeHeader; },
      [](TSeriesData* d, bool v) { d->IncludeHeader = v; }, false);
}

TSeriesData::TSeriesData(TCustomAxisPanel* Chart, TChartSeries* Series) : FChart(Chart), FSeries(Series) {
  if (!FChart && FSeries) FChart = FSeries->ParentChart();
}

std::vector<TChartSeries*> TSeriesData::ExportedSeries() const {
  if (FSeries) return {FSeries};
  std::vector<TChartSeries*> all;
  if (FChart) all.assign(FChart->SeriesList()->begin(), FChart->SeriesList()->end());
  return all;
}

void TSeriesData::GuessContents() {
  TChartSeries* s = FSeries;
  if (!s && FChart)
    for (TChartSeries* each : *FChart->SeriesList())
      if (each->PointCount() > 0) {
        s = each;
        break;
      }
  FContents = s ? SeriesDataContents(s) & (kSeriesDataX | kSeriesDataColors | kSeriesDataLabels) : 0;
}

void TSeriesData::PrepareContents() {
  GuessContents();
  if (!WithLabels) FContents &= ~kSeriesDataLabels;
  if (!WithColors) FContents &= ~kSeriesDataColors;
}

int TSeriesData::LineCount() const {
  if (FSeries) return FSeries->PointCount();
  return FChart ? FChart->LargestPointCount() : 0;
}

std::string TSeriesData::PointLine(int) { return ""; }

std::string TSeriesData::BaseText() {
  std::string text;
  const int lines = LineCount();
  for (int i = 0; i < lines; ++i) {
    text += PointLine(i);
    text += kLineEnd;
  }
  return text;
}

std::string TSeriesData::ExportText() {
  PrepareContents();
  return BaseText();
}

// ---- Delimited text -------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TSeriesDataText, TSeriesData)

TSeriesDataText::TSeriesDataText(TCustomAxisPanel* Chart, TChartSeries* Series) : TSeriesData(Chart, Series) {}

void TSeriesDataText::GuessContents() {
  TSeriesData::GuessContents();
  if (FSeries || !WithLabels || (FContents & kSeriesDataLabels) || !FChart) return;
  for (TChartSeries* s : *FChart->SeriesList())
    if (HasPointLabels(s)) {
      FContents |= kSeriesDataLabels;
      return;
    }
}

std::string TSeriesDataText::HeaderLine() {
  std::string line;
  const std::string delim(1, Delimiter);
  auto field = [&](const std::string& text) {
    if (!line.empty()) line += delim;
    line += Quoted(text);
  };
  if (WithIndex) line += Quoted(GrafMsgIndex);
  if (FContents & kSeriesDataLabels) field(GrafMsgText);
  if (FContents & kSeriesDataColors) field(GrafMsgColors);
  const std::vector<TChartSeries*> series = ExportedSeries();
  if (!line.empty() && !series.empty()) line += delim;
  for (size_t k = 0; k < series.size(); ++k) {
    TChartSeries* s = series[k];
    if (k > 0) line += delim;
    std::string names;
    auto name = [&](const std::string& text) {
      if (!names.empty()) names += delim;
      names += Quoted(text);
    };
    if (FContents & kSeriesDataX) name(ListOf(s, 0)->Name());
    if (ListCount(s) == 2) {
      name(SeriesDisplayName(s));
    } else {
      for (int l = 1; l < ListCount(s); ++l) name(ListOf(s, l)->Name());
    }
    line += names;
  }
  return line;
}

std::string TSeriesDataText::PointLine(int Index) {
  std::string line;
  const std::string delim(1, Delimiter);
  auto field = [&](const std::string& text) {
    if (!line.empty()) line += delim;
    line += text;
  };
  if (WithIndex) line += std::to_string(Index);
  const std::vector<TChartSeries*> series = ExportedSeries();
  if (FContents & kSeriesDataLabels) {
    std::string label;
    if (FSeries) {
      label = FSeries->PointLabel(Index);
    } else {
      for (TChartSeries* s : series)
        if (s->PointCount() > Index && !s->PointLabel(Index).empty()) {
          label = s->PointLabel(Index);
          break;
        }
    }
    field(label.empty() ? label : Quoted(label));
  }
  if (FContents & kSeriesDataColors) {
    TChartSeries* first = series.empty() ? nullptr : series.front();
    field(ColorToHexText(first && first->PointCount() > Index ? first->PointColor(Index) : clDefault));
  }
  auto value = [&](TChartSeries* s, int list) -> std::string {
    if (s->PointCount() <= Index) return "";
    TChartValueList* l = ListOf(s, list);
    if (l->DateTime()) return Quoted(DateTimeToStr(l->GetValue(Index)));
    return ExportNumberText(l->GetValue(Index));
  };
  for (TChartSeries* s : series) {
    if (FContents & kSeriesDataX) field(value(s, 0));
    field(value(s, 1));
    for (int l = 2; l < ListCount(s); ++l) line += delim + value(s, l);
  }
  return line;
}

std::string TSeriesDataText::ExportText() {
  PrepareContents();
  std::string text;
  if (IncludeHeader) text += HeaderLine() + kLineEnd;
  text += BaseText();
  text += kLineEnd;
  return text;
}

// ---- XML ------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TSeriesDataXML, TSeriesData)
void TSeriesDataXML::DeclareProperties(TClassInfo& c) {
  c.Boolean<TSeriesDataXML>(
      "IncludeHeader", [](TSeriesDataXML* d) { return d->IncludeHeader; },
      [](TSeriesDataXML* d, bool v) { d->IncludeHeader = v; }, true);
  c.String<TSeriesDataXML>(
       "Encoding", [](TSeriesDataXML* d) { return d->Encoding; },
       [](TSeriesDataXML* d, const std::string& v) { d->Encoding = v; })
      .WithStored([](TObject* o) { return static_cast<TSeriesDataXML*>(o)->Encoding != DefaultEncoding(); });
}

TSeriesDataXML::TSeriesDataXML(TCustomAxisPanel* Chart, TChartSeries* Series)
    : TSeriesData(Chart, Series), Encoding(DefaultEncoding()) {
  IncludeHeader = true;
}

std::string TSeriesDataXML::DefaultEncoding() {
  // The system's language: the first of the locale variables that is set.
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return (v[0] == 'j' && v[1] == 'a') ? "shift_jis" : "ISO-8859-1";
  }
  return "ISO-8859-1";
}

std::string TSeriesDataXML::PointElement(TChartSeries* Series, int Index) {
  std::string e = "<point ";
  auto attribute = [&](const std::string& name, const std::string& value, bool first = false) {
    if (!first) e += ' ';
    e += name + "=\"" + Escaped(value) + "\"";
  };
  if (WithIndex) attribute("index", std::to_string(Index), true);
  if (FContents & kSeriesDataLabels) attribute("text", Series->PointLabel(Index));
  if (FContents & kSeriesDataColors) attribute("color", ColorToHexText(Series->PointColor(Index)));
  if (FContents & kSeriesDataX) attribute(ListOf(Series, 0)->Name(), ExportNumberText(ListOf(Series, 0)->GetValue(Index)));
  for (int l = 1; l < ListCount(Series); ++l)
    attribute(ListOf(Series, l)->Name(), ExportNumberText(ListOf(Series, l)->GetValue(Index)));
  e += "/>";
  return e;
}

std::string TSeriesDataXML::PointLine(int Index) {
  TChartSeries* s = FSeries ? FSeries : (FChart && FChart->NumberOfSeries() > 0 ? FChart->SeriesAt(0) : nullptr);
  return s && Index < s->PointCount() ? PointElement(s, Index) : "";
}

std::string TSeriesDataXML::SeriesElement(TChartSeries* Series) {
  std::string e = "<series title=\"" + Escaped(SeriesDisplayName(Series)) + "\" type=\"" +
                  Escaped(SeriesTypeDescription(Series)) + "\" color=\"" +
                  ColorToHexText(Series->GetSeriesColor()) + "\">" + kLineEnd;
  e += "<points count=\"" + std::to_string(Series->PointCount()) + "\">" + kLineEnd;
  for (int i = 0; i < Series->PointCount(); ++i) e += PointElement(Series, i) + kLineEnd;
  e += std::string("</points>") + kLineEnd + "</series>" + kLineEnd + kLineEnd;
  return e;
}

std::string TSeriesDataXML::ExportText() {
  PrepareContents();
  std::string text;
  if (IncludeHeader) {
    text += "<?xml version=\"1.0\"";
    if (!Encoding.empty()) text += " encoding=\"" + Escaped(Encoding) + "\"";
    text += std::string("?>") + kLineEnd;
  }
  if (FSeries) {
    text += SeriesElement(FSeries);
  } else {
    text += std::string("<chart>") + kLineEnd;
    if (FChart)
      for (TChartSeries* s : *FChart->SeriesList()) text += SeriesElement(s);
    text += "</chart>";
  }
  return text;
}

namespace {

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The text in the named encoding; a character the encoding has no place for
// becomes a numeric character reference.
std::string EncodeXmlText(const std::string& utf8, const std::string& encoding) {
  const std::string enc = UpperAscii(encoding);
  if (enc.empty() || enc == "UTF-8" || enc == "UTF8") return utf8;
  auto reference = [](std::string& out, uint32_t cp) { out += "&#" + std::to_string(cp) + ";"; };
  std::string out;
  out.reserve(utf8.size());
  const std::vector<uint32_t> cps = Utf8CodePoints(utf8);
  if (enc == "ISO-8859-1" || enc == "LATIN1" || enc == "ISO_8859-1" || enc == "US-ASCII" || enc == "ASCII") {
    const uint32_t top = (enc == "US-ASCII" || enc == "ASCII") ? 0x7F : 0xFF;
    for (uint32_t cp : cps)
      if (cp <= top) out += static_cast<char>(cp);
      else reference(out, cp);
    return out;
  }
  iconv_t cd = iconv_open(encoding.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // An encoding this system cannot write: plain ASCII is valid in every
    // encoding a declaration may name in practice, the rest is referenced.
    for (uint32_t cp : cps)
      if (cp <= 0x7F) out += static_cast<char>(cp);
      else reference(out, cp);
    return out;
  }
  for (uint32_t cp : cps) {
    if (cp <= 0x7F) {
      out += static_cast<char>(cp);
      continue;
    }
    std::string one;
    AppendUtf8(one, cp);
    char buf[16];
    char* in = one.data();
    size_t inLeft = one.size();
    char* o = buf;
    size_t outLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) reference(out, cp);
    else out.append(buf, static_cast<size_t>(o - buf));
  }
  iconv_close(cd);
  return out;
}

}  // namespace

void TSeriesDataXML::SaveTextToStream(TStream& Stream) {
  const std::string bytes = EncodeXmlText(ExportText(), Encoding);
  if (!bytes.empty()) Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// ---- HTML table -----------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TSeriesDataHTML, TSeriesData)

TSeriesDataHTML::TSeriesDataHTML(TCustomAxisPanel* Chart, TChartSeries* Series) : TSeriesData(Chart, Series) {}

namespace {
std::string Cell(const std::string& text) { return "<td>" + Escaped(text) + "</td>"; }
}  // namespace

std::string TSeriesDataHTML::PointLine(int Index) {
  std::string line = "<tr>";
  if (WithIndex) line += Cell(std::to_string(Index));
  for (TChartSeries* s : ExportedSeries()) {
    const bool has = s->PointCount() > Index;
    if (FContents & kSeriesDataLabels) line += Cell(has ? s->PointLabel(Index) : "");
    if (FContents & kSeriesDataColors) line += Cell(has ? ColorToHexText(s->PointColor(Index)) : "");
    if (FContents & kSeriesDataX) line += Cell(has ? ExportNumberText(ListOf(s, 0)->GetValue(Index)) : "");
    for (int l = 1; l < ListCount(s); ++l) line += Cell(has ? ExportNumberText(ListOf(s, l)->GetValue(Index)) : "");
  }
  return line + "</tr>";
}

std::string TSeriesDataHTML::ExportText() {
  PrepareContents();
  std::string text = std::string("<table border=\"1\">") + kLineEnd;
  if (IncludeHeader) {
    text += "<tr>";
    if (WithIndex) text += Cell(GrafMsgIndex);
    for (TChartSeries* s : ExportedSeries()) {
      if (FContents & kSeriesDataLabels) text += Cell(GrafMsgText);
      if (FContents & kSeriesDataColors) text += Cell(GrafMsgColors);
      if (FContents & kSeriesDataX) text += Cell(ListOf(s, 0)->Name());
      if (ListCount(s) == 2) {
        text += Cell(SeriesDisplayName(s));
      } else {
        for (int l = 1; l < ListCount(s); ++l) text += Cell(ListOf(s, l)->Name());
      }
    }
    text += std::string("</tr>") + kLineEnd;
  }
  text += BaseText();
  text += std::string(kLineEnd) + "</table>";
  return text;
}

// ---- Worksheet stream -----------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TSeriesDataXLS, TSeriesData)

TSeriesDataXLS::TSeriesDataXLS(TCustomAxisPanel* Chart, TChartSeries* Series) : TSeriesData(Chart, Series) {}

std::string TSeriesDataXLS::PointLine(int) { return ""; }

namespace {

class TSheetWriter {
public:
  explicit TSheetWriter(TStream& Stream) : S(Stream) {}

  void Record(uint16_t type, const std::vector<uint8_t>& data) {
    S.WriteWord(type);
    S.WriteWord(static_cast<uint16_t>(data.size()));
    if (!data.empty()) S.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  }
  void CellHead(uint16_t type, int row, int col, uint16_t valueSize) {
    S.WriteWord(type);
    S.WriteWord(static_cast<uint16_t>(7 + valueSize));
    S.WriteWord(static_cast<uint16_t>(row));
    S.WriteWord(static_cast<uint16_t>(col));
    const uint8_t attributes[3] = {0, 0, 0};
    S.WriteBuffer(attributes, 3);
  }
  void Number(int row, int col, double value) {
    CellHead(3, row, col, 8);
    S.WriteDouble(value);
  }
  void Blank(int row, int col) { CellHead(1, row, col, 0); }
  void Label(int row, int col, const std::string& utf8) {
    // The sheet's labels are 8-bit text in the system code page.
    std::string text;
    for (uint32_t cp : Utf8CodePoints(utf8)) {
      std::string one, out;
      AppendUtf8(one, cp);
      text += Utf8ToCp1252(one, out) ? out : std::string("?");
    }
    if (text.size() > 255) text.resize(255);
    CellHead(4, row, col, static_cast<uint16_t>(1 + text.size()));
    S.WriteByte(static_cast<uint8_t>(text.size()));
    if (!text.empty()) S.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  }

private:
  TStream& S;
};

}  // namespace

void TSeriesDataXLS::SaveTextToStream(TStream& Stream) {
  PrepareContents();
  const std::vector<TChartSeries*> series = ExportedSeries();
  const int lines = LineCount();
  const int64_t rows = static_cast<int64_t>(lines) + (IncludeHeader ? 1 : 0);
  int64_t columns = WithIndex ? 1 : 0;
  for (TChartSeries* s : series) {
    for (int flag : {kSeriesDataLabels, kSeriesDataColors, kSeriesDataX})
      if (FContents & flag) ++columns;
    columns += ListCount(s) - 1;
  }
  if (rows > kWorksheetMaxRows)
    throw ChartException("Too many rows for a worksheet: " + std::to_string(rows) + " (at most " +
                         std::to_string(kWorksheetMaxRows) + ")");
  if (columns > 0xFFFF) throw ChartException("Too many columns for a worksheet: " + std::to_string(columns));

  // Built in memory first: a refused sheet leaves nothing in the stream.
  TMemoryStream sheet;
  TSheetWriter w(sheet);
  const uint8_t bof[12] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
  sheet.WriteBuffer(bof, sizeof bof);
  w.Record(0x0200, {0, 0, static_cast<uint8_t>(rows & 0xFF), static_cast<uint8_t>(rows >> 8), 0, 0,
                    static_cast<uint8_t>(columns & 0xFF), static_cast<uint8_t>(columns >> 8), 0, 0});
  int row = 0;
  if (IncludeHeader) {
    int col = 0;
    if (WithIndex) w.Label(row, col++, GrafMsgIndex);
    for (TChartSeries* s : series) {
      if (FContents & kSeriesDataLabels) w.Label(row, col++, GrafMsgText);
      if (FContents & kSeriesDataColors) w.Label(row, col++, GrafMsgColors);
      if (FContents & kSeriesDataX) w.Label(row, col++, ListOf(s, 0)->Name());
      for (int l = 1; l < ListCount(s); ++l) w.Label(row, col++, ListOf(s, l)->Name());
    }
    ++row;
  }
  for (int i = 0; i < lines; ++i, ++row) {
    int col = 0;
    if (WithIndex) w.Number(row, col++, i);
    for (TChartSeries* s : series) {
      if (s->PointCount() > i) {
        if (FContents & kSeriesDataLabels) w.Label(row, col++, s->PointLabel(i));
        if (FContents & kSeriesDataColors) w.Label(row, col++, ColorToHexText(s->PointColor(i)));
        if (FContents & kSeriesDataX) w.Number(row, col++, ListOf(s, 0)->GetValue(i));
        const bool null = s->PointIsNull(i);
        for (int l = 1; l < ListCount(s); ++l) {
          if (null) w.Blank(row, col++);
          else w.Number(row, col++, ListOf(s, l)->GetValue(i));
        }
      } else {
        if (FContents & kSeriesDataLabels) w.Label(row, col++, "");
        if (FContents & kSeriesDataColors) w.Label(row, col++, "");
        if (FContents & kSeriesDataX) w.Blank(row, col++);
        for (int l = 1; l < ListCount(s); ++l) w.Blank(row, col++);
      }
    }
  }
  const uint8_t eof[4] = {0x0A, 0x00, 0x00, 0x00};
  sheet.WriteBuffer(eof, sizeof eof);
  Stream.WriteBuffer(sheet.Memory(), sheet.Size());
}
