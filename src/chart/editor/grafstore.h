// The chart file: a chart with its settings, series, functions and tools (and,
// on request, the series' points) in the component stream's binary form behind
// a four-byte header, or in its text form.
//
// Binary chart stream: the word 0x3060 and the word 343 (little-endian), then
// the component stream ("TPF0" and the chart); older files may carry every
// series' points after the component, each in the format of the series'
// "Data" property. The text form is the component stream's text form, with
// no header. A stream is told by its first four bytes: low word 0x3060 is
// binary, a first byte "O" or "o" is text, anything else is not a chart.
//
// The data exporters of the same unit write the points of one series, or of
// all series of a chart side by side, as delimited text, XML, an HTML table or
// a worksheet stream.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/core/chart.h"
#include "chart/core/grafpanel.h"
#include "platform/ui/streaming.h"

// Chart classes that older files name; they add nothing to TChart.
class TChartChart : public TChart {
  ZV_CLASS(TChartChart)
public:
  explicit TChartChart(TComponent* AOwner) : TChart(AOwner) {}
};

class TODBCChart : public TChart {
  ZV_CLASS(TODBCChart)
public:
  explicit TODBCChart(TComponent* AOwner) : TChart(AOwner) {}
};

constexpr uint16_t kChartStreamMagic = 0x3060;
constexpr uint16_t kChartStreamVersion = 343;

// Answers whether an error inside the component stream is handled (reading
// goes on past the offending property or component).
using TChartReadErrorProc = std::function<bool(const std::string& Message)>;

// The component reader of chart files. Without a callback every error inside
// the component stream counts as handled; stored event-handler names that the
// program does not have are ignored.
class TChartReader : public TReader {
public:
  explicit TChartReader(TStream* Stream, int BufSize = 4096);
  std::string ClassName() const override { return "TChartReader"; }
  bool Error(const std::string& Message) override;
  TChartReadErrorProc OnChartError;
};

enum TChartStreamKind { cskNone, cskBinary, cskText };
// What the stream holds from its position on (the position is kept).
TChartStreamKind ChartStreamKind(TStream& Stream);

// Writes the chart; the chart keeps its name and its series' data marks.
void WriteChartStream(TCustomAxisPanel* Chart, TStream& Stream, bool WithData = true, bool AsText = false);
// The same into a file (saved atomically); a name without extension gets ".grf".
void WriteChartFile(TCustomAxisPanel* Chart, const std::string& FileName, bool WithData = true,
                    bool AsText = false);
// Reads a chart stream into the chart, whose series and tools are freed
// first. Raises ChartException "Empty *.grf file", "Wrong *.grf file format"
// or "Invalid Chart in *.grf file", or the component reader's own error. The
// chart keeps its own name, and repaints automatically again afterwards
// whatever happened.
void ReadChartStream(TCustomAxisPanel* Chart, TStream& Stream, bool ReadTrailingData = false,
                     TChartReadErrorProc OnError = {});
void ReadChartStreamWithData(TCustomAxisPanel* Chart, TStream& Stream);

// Between the two forms: a stream already in the wanted form is copied whole.
void ConvertChartTextToBinary(TStream& Input, TStream& Output);
void ConvertChartBinaryToText(TStream& Input, TStream& Output);

// The chart classes older files name, with the class registry.
void RegisterChartFileClasses();
void UnregisterChartFileClasses();

// ---------------------------------------------------------------------------
// Series data exports

// Bits of TSeriesData::Contents.
constexpr int kSeriesDataX = 1, kSeriesDataColors = 2, kSeriesDataLabels = 4;

// The worksheet stream holds at most this many rows.
constexpr int kWorksheetMaxRows = 65535;

class TSeriesData : public TGrafExportData {
  ZV_CLASS(TSeriesData)
public:
  // Series nil exports every series of the chart, side by side.
  TSeriesData(TCustomAxisPanel* Chart = nullptr, TChartSeries* Series = nullptr);

  bool WithColors = false;
  bool WithIndex = false;
  bool IncludeHeader = false;
  bool WithLabels = true;
  TCustomAxisPanel* Chart() const { return FChart; }
  TChartSeries* Series() const { return FSeries; }
  int Contents() const { return FContents; }

  std::string ExportText() override;
  virtual void GuessContents();
  virtual std::string PointLine(int Index);

protected:
  // Guesses the contents and drops what the switches leave out.
  void PrepareContents();
  // The point lines of the base text.
  int LineCount() const;
  std::string BaseText();
  // The series exported: the one, or every series of the chart.
  std::vector<TChartSeries*> ExportedSeries() const;

  TCustomAxisPanel* FChart;
  TChartSeries* FSeries;
  int FContents = 0;
};

class TSeriesDataText : public TSeriesData {
  ZV_CLASS(TSeriesDataText)
public:
  TSeriesDataText(TCustomAxisPanel* Chart = nullptr, TChartSeries* Series = nullptr);
  char Delimiter = '\t';
  std::string Quotes;
  // Stays empty: numbers are written in the general format.
  std::string ValueFormat;

  std::string ExportText() override;
  void GuessContents() override;
  std::string PointLine(int Index) override;

private:
  std::string Quoted(const std::string& Text) const { return Quotes + Text + Quotes; }
  std::string HeaderLine();
};

class TSeriesDataXML : public TSeriesData {
  ZV_CLASS(TSeriesDataXML)
public:
  TSeriesDataXML(TCustomAxisPanel* Chart = nullptr, TChartSeries* Series = nullptr);
  // "ISO-8859-1" (or "shift_jis" for a Japanese system language); the text is
  // written in this encoding, characters outside it as character references.
  std::string Encoding;
  static std::string DefaultEncoding();

  std::string ExportText() override;
  void SaveTextToStream(TStream& Stream) override;
  std::string PointLine(int Index) override;

private:
  std::string SeriesElement(TChartSeries* Series);
  std::string PointElement(TChartSeries* Series, int Index);
};

class TSeriesDataHTML : public TSeriesData {
  ZV_CLASS(TSeriesDataHTML)
public:
  TSeriesDataHTML(TCustomAxisPanel* Chart = nullptr, TChartSeries* Series = nullptr);
  std::string ExportText() override;
  std::string PointLine(int Index) override;
};

// The worksheet stream (a BIFF2 sheet). Its text is the base text with empty
// point lines. More rows than the format holds raise ChartException.
class TSeriesDataXLS : public TSeriesData {
  ZV_CLASS(TSeriesDataXLS)
public:
  TSeriesDataXLS(TCustomAxisPanel* Chart = nullptr, TChartSeries* Series = nullptr);
  std::string PointLine(int Index) override;
  void SaveTextToStream(TStream& Stream) override;
};

// "#rrggbb" of a colour (system colours as RGB).
std::string ColorToHexText(TColor Color);
// A number as the exports write it: the shortest general form, "." decimal.
std::string ExportNumberText(double Value);
