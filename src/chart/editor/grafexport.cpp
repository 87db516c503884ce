#include "chart/editor/grafexport.h"

#include <algorithm>
#include <cctype>

#include "chart/core/grafconst.h"
#include "chart/core/grafhtml.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mailto.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"

// ---- TGrafExportFormat ---------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafExportFormat, TPersistent)

TGrafExportFormat::~TGrafExportFormat() = default;

void TGrafExportFormat::CountFilters(int& Counter) {
  ++Counter;
  FFilterIndex = Counter;
}

TForm* TGrafExportFormat::OptionsForm(bool) { return FOptions.get(); }

// ---- The list of formats ----------------------------------------------------------------------

namespace {
std::vector<TClass>& Formats() {
  static std::vector<TClass> formats;
  return formats;
}

std::string WithoutAmpersand(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}
}  // namespace

void RegisterExportFormat(TClass FormatClass) { Formats().push_back(FormatClass); }

void UnregisterExportFormat(TClass FormatClass) {
  auto& f = Formats();
  f.erase(std::remove(f.begin(), f.end(), FormatClass), f.end());
}

const std::vector<TClass>& ExportFormatClasses() { return Formats(); }

std::unique_ptr<TGrafExportFormat> CreateExportFormat(TClass FormatClass) {
  if (!FormatClass || !FormatClass->CreateInstance) return nullptr;
  std::unique_ptr<TPersistent> made(FormatClass->CreateInstance());
  auto* format = dynamic_cast<TGrafExportFormat*>(made.get());
  if (!format) return nullptr;
  made.release();
  return std::unique_ptr<TGrafExportFormat>(format);
}

// ---- Copy, save, fill ---------------------------------------------------------------------------

namespace {
void PrepareFormat(TGrafExportFormat* Format) {
  if (!Format || !Format->Panel) throw Exception(GrafMsgPanelPropertyIsNotSetInExportFormat);
  Format->OptionsForm(true);
  if (Format->Width == 0) Format->Width = Format->Panel->Width();
  if (Format->Height == 0) Format->Height = Format->Panel->Height();
}
}  // namespace

void CopyPictureOf(TGrafExportFormat* Format) {
  PrepareFormat(Format);
  Format->CopyPicture();
}

void SavePictureFile(TGrafExportFormat* Format, const std::string& FileName) {
  PrepareFormat(Format);
  TMemoryStream stream;
  Format->WritePicture(stream);
  stream.SaveToFile(FileName);
}

void FillPictureFormats(TOpenDialog* Dialog, TCustomGrafPanel* Panel, TStrings* List) {
  int counter = Dialog->Filter.empty() ? 0 : 1;
  for (TClass c : Formats()) {
    std::unique_ptr<TGrafExportFormat> format = CreateExportFormat(c);
    if (!format) continue;
    format->Panel = Panel;
    format->CountFilters(counter);
    if (!Dialog->Filter.empty()) Dialog->Filter += "|";
    Dialog->Filter += format->FilterText();
    if (List) {
      const std::string description = WithoutAmpersand(format->DescriptionText());
      List->AddObject(description, format.release());
    }
  }
}

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& Extension) {
  for (TClass c : Formats()) {
    std::unique_ptr<TGrafExportFormat> format = CreateExportFormat(c);
    if (format && SameText("." + format->FileExtension(), Extension)) {
      TGraphicFactory make = format->GraphicClass();
      return make ? make() : nullptr;
    }
  }
  return nullptr;
}

// ---- Mail and help ----------------------------------------------------------------------------

void MailFile(const std::string& FileName, const std::string& Subject) {
  const int result = MailAttachment(Subject, FileName, [] {
    if (Application) Application->ProcessMessages();
  });
  if (result != 0) throw Exception(Format(GrafMsgCanNotEmailGrafChartMapiErrorD, {result}));
}

bool MapiAvailable() { return MailAvailable(); }

std::string HelpFilePath(const std::string& FileName) {
  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!reg.OpenKeyReadOnly("SOFTWARE\\Microsoft\\Windows\\Help")) return "";
  if (!reg.ValueExists(FileName)) return "";
  return IncludeTrailingPathDelimiter(reg.ReadString(FileName)) + FileName;
}

// ---- Start-up -----------------------------------------------------------------------------------

void RegisterGrafExportUnit() {
  HtmlGraphicFactory = [](const std::string& extension) { return GraphicForExtension(extension); };
}

void UnregisterGrafExportUnit() { HtmlGraphicFactory = nullptr; }
