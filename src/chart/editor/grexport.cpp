#include "chart/editor/grexport.h"

#include <stdlib.h>

#include <cmath>

#include "chart/core/grafeditctrls.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafexport.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafstore.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/streaming.h"
#include "platform/rtl/format.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/sysinfo.h"
#include "platform/ui/buttons.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

using namespace editorbuild;

namespace {
const char* const kNativeExtension = "grf";
constexpr int kDataFilterFirstFormat = 5;  // entries 1..5 are the text delimiters

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Page, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Page);
  return t;
}

// The extension of the first pattern of a filter entry ("*.csv" -> "csv").
std::string FilterEntryExtension(const std::string& Filter, int Index) {
  TStringList parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = Filter.find('|', start);
    parts.Add(Filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  const int at = 2 * (Index - 1) + 1;
  if (at < 0 || at >= parts.Count()) return "";
  const std::string pattern = parts.Strings(at);
  const size_t dot = pattern.find('.');
  return dot == std::string::npos ? "" : pattern.substr(dot + 1);
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TGrafExportFormBase, TForm)
ZV_CLASS_IMPL_NOPROPS(TGrafExportForm, TGrafExportFormBase)

TGrafExportFormBase::TGrafExportFormBase(TComponent* AOwner)
    : TForm(AOwner), FFormats(std::make_unique<TStringList>()) {
  SetCaption("Export Dialog");
  SetClientWidth(378);
  SetClientHeight(239);
  SetPosition(poScreenCenter);
  SetBorderIcons({biSystemMenu});
  SetBorderStyle(bsDialog);
  FNativeFilter = std::string("GrafChart files (*.") + kNativeExtension + ")|*." + kNativeExtension;
  FDataFilter =
      "Space delimited text files (*.txt)|*.txt|Tab delimited text files (*.txt)|*.txt|"
      "Comma delimited text files (*.csv)|*.csv|Colon delimited text files (*.txt)|*.txt|"
      "Custom delimited text files (*.txt)|*.txt|XML files (*.xml)|*.xml|HTML files (*.htm)|*.htm|"
      "Microsoft Excel files (*.xls)|*.xls";

  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 8, 8, 362, 190);
  PageControl1->SetHotTrack(true);
  TabPicture = MakeSheet(this, PageControl1, "TabPicture", "Picture");
  TabNative = MakeSheet(this, PageControl1, "TabNative", "Native");
  TabData = MakeSheet(this, PageControl1, "TabData", "Data");

  RGFormat = Make<TGroupBox>(this, TabPicture, "RGFormat", 4, 4, 140, 150, "&Format");
  LBFormat = Make<TListBox>(this, RGFormat, "LBFormat", 8, 18, 124, 124);
  PageOptions = Make<TPageControl>(this, TabPicture, "PageOptions", 150, 4, 200, 150);
  TabOptions = MakeSheet(this, PageOptions, "TabOptions", "Options");
  TabSize = MakeSheet(this, PageOptions, "TabSize", "Size");
  EWidth = Make<TEdit>(this, TabSize, "EWidth", 70, 10, 50, 21);
  UDWidth = Make<TUpDown>(this, TabSize, "UDWidth", 120, 10, 15, 21);
  EHeight = Make<TEdit>(this, TabSize, "EHeight", 70, 40, 50, 21);
  UDHeight = Make<TUpDown>(this, TabSize, "UDHeight", 120, 40, 15, 21);
  for (TUpDown* ud : {UDWidth, UDHeight}) {
    ud->SetMin(0);
    ud->SetMax(3000);
  }
  UDWidth->SetAssociate(EWidth);
  UDHeight->SetAssociate(EHeight);
  Label1 = MakeLabel(this, TabSize, "Label1", 8, 14, "&Width:", EWidth);
  Label2 = MakeLabel(this, TabSize, "Label2", 8, 44, "&Height:", EHeight);
  CBAspect = Make<TCheckBox>(this, TabSize, "CBAspect", 8, 72, 170, 17, "&Keep aspect ratio");
  CBAspect->SetChecked(true);

  CBNativeData = Make<TCheckBox>(this, TabNative, "CBNativeData", 8, 10, 200, 17, "&Include Series data");
  CBNativeData->SetChecked(true);
  CBFileSize = Make<TCheckBox>(this, TabNative, "CBFileSize", 8, 36, 90, 17, "&File size:");
  LabelSize = MakeLabel(this, TabNative, "LabelSize", 100, 37, "?", nullptr);
  CBNativeFormat = Make<TComboFlat>(this, TabNative, "CBNativeFormat", 70, 64, 100, 21);
  Label5 = MakeLabel(this, TabNative, "Label5", 8, 68, "&Format:", CBNativeFormat);
  CBNativeFormat->Items()->Add("Binary");
  CBNativeFormat->Items()->Add("Text");

  CBSeries = Make<TComboFlat>(this, TabData, "CBSeries", 60, 6, 140, 21);
  CBSeries->SetDropDownWidth(250);
  Label3 = MakeLabel(this, TabData, "Label3", 8, 10, "Se&ries:", CBSeries);
  RGText = Make<TRadioGroup>(this, TabData, "RGText", 8, 32, 100, 110, "&Format:");
  for (const char* s : {"Text", "XML", "HTML Table", "Excel"}) RGText->Items()->Add(s);
  CBDelim = Make<TComboFlat>(this, TabData, "CBDelim", 180, 36, 80, 21);
  for (const char* s : {"Space", "Tab", "Comma", "Colon", "Custom"}) CBDelim->Items()->Add(s);
  Label4 = MakeLabel(this, TabData, "Label4", 114, 40, "&Delimiter:", CBDelim);
  ECustom = Make<TEdit>(this, TabData, "ECustom", 266, 36, 24, 21);
  ECustom->SetMaxLength(1);
  ECustom->SetEnabled(false);
  EQuotes = Make<TEdit>(this, TabData, "EQuotes", 180, 64, 24, 21);
  EQuotes->SetMaxLength(1);
  Label6 = MakeLabel(this, TabData, "Label6", 114, 68, "Text &Quotes:", EQuotes);
  GroupBox1 = Make<TGroupBox>(this, TabData, "GroupBox1", 114, 90, 236, 62, "&Include:");
  CBLabels = Make<TCheckBox>(this, GroupBox1, "CBLabels", 8, 16, 100, 17, "Point &Labels");
  CBLabels->SetChecked(true);
  CBIndex = Make<TCheckBox>(this, GroupBox1, "CBIndex", 8, 38, 100, 17, "Point &Index");
  CBHeader = Make<TCheckBox>(this, GroupBox1, "CBHeader", 120, 16, 100, 17, "&Header");
  CBHeader->SetChecked(true);
  CBColors = Make<TCheckBox>(this, GroupBox1, "CBColors", 120, 38, 100, 17, "Point &Colors");

  BCopy = Make<TButton>(this, this, "BCopy", 8, 206, 75, 25, "&Copy");
  BSave = Make<TButton>(this, this, "BSave", 94, 206, 75, 25, "&Save...");
  BSend = Make<TButton>(this, this, "BSend", 180, 206, 75, 25, "S&end...");
  BClose = Make<TButton>(this, this, "BClose", 295, 206, 75, 25, "Close");
  BClose->SetDefault(true);
  BClose->SetCancel(true);
  BClose->SetModalResult(mrOk);

  SaveDialogPicture = new TSaveDialog(this);
  SaveDialogPicture->SetName("SaveDialogPicture");
  SaveDialogData = new TSaveDialog(this);
  SaveDialogData->SetName("SaveDialogData");
  SaveDialogData->DefaultExt = "txt";
  SaveDialogNative = new TSaveDialog(this);
  SaveDialogNative->SetName("SaveDialogNative");
  SaveDialogNative->Filter = FNativeFilter;
  for (TSaveDialog* d : {SaveDialogPicture, SaveDialogData, SaveDialogNative})
    d->Options = {ofOverwritePrompt, ofHideReadOnly};

  PageControl1->OnChange = [this](TObject*) { EnableButtons(); };
  LBFormat->OnClick = [this](TObject* s) { RGFormatClick(s); };
  EWidth->OnChange = [this](TObject* s) { EWidthChange(s); };
  EHeight->OnChange = [this](TObject* s) { EWidthChange(s); };
  CBFileSize->OnClick = [this](TObject* s) { CBFileSizeClick(s); };
  CBNativeData->OnClick = [this](TObject* s) { CBFileSizeClick(s); };
  CBNativeFormat->OnChange = [this](TObject* s) {
    CBFileSizeClick(s);
    EnableButtons();
  };
  RGText->OnClick = [this](TObject* s) { RGTextClick(s); };
  CBDelim->OnChange = [this](TObject* s) { CBDelimChange(s); };
  BCopy->OnClick = [this](TObject* s) { BCopyClick(s); };
  BSave->OnClick = [this](TObject* s) { BSaveClick(s); };
  BSend->OnClick = [this](TObject* s) { BSendClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };

  PageControl1->SetActivePage(TabPicture);
  CBNativeFormat->SetItemIndex(0);
}

TGrafExportFormBase::~TGrafExportFormBase() {
  if (FPanel) FPanel->RemoveFreeNotification(this);
  FreeFormats();
}

void TGrafExportFormBase::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FPanel) return;
  FPanel = nullptr;
  SetTag(0);
  for (int i = 0; i < FFormats->Count(); ++i) static_cast<TGrafExportFormat*>(FFormats->Objects(i))->Panel = nullptr;
  // The series listed were the panel's.
  PrepareDataTab();
  EnableButtons();
}

void TGrafExportFormBase::FreeFormats() {
  for (int i = 0; i < FFormats->Count(); ++i) delete FFormats->Objects(i);
  FFormats->Clear();
  LBFormat->Items()->Clear();
}

TGrafExportFormat* TGrafExportFormBase::SelectedFormat() const {
  const int i = LBFormat->ItemIndex();
  return i >= 0 && i < FFormats->Count() ? static_cast<TGrafExportFormat*>(FFormats->Objects(i)) : nullptr;
}

void TGrafExportFormBase::FormShow(TObject*) {
  RGText->SetItemIndex(0);
  for (TSaveDialog* d : {SaveDialogPicture, SaveDialogData, SaveDialogNative})
    d->Options = {ofOverwritePrompt, ofHideReadOnly, ofEnableSizing};
  if (Tag() != 0) {
    auto* panel = reinterpret_cast<TCustomGrafPanel*>(Tag());
    if (panel != FPanel) {
      if (FPanel) FPanel->RemoveFreeNotification(this);
      FPanel = panel;
      FPanel->FreeNotification(this);
    }
  }
  if (FPanel) {
    FUpdating = true;
    UDWidth->SetPosition(FPanel->Width());
    UDHeight->SetPosition(FPanel->Height());
    FRatio = FPanel->Height() != 0 ? static_cast<double>(FPanel->Width()) / FPanel->Height() : 0;
    PrepareDataTab();
    FreeFormats();
    // Rebuilt from scratch, so that the formats' filter indexes match the
    // filter however often the dialog is shown.
    SaveDialogPicture->Filter.clear();
    FillPictureFormats(SaveDialogPicture, FPanel, FFormats.get());
    for (int i = 0; i < FFormats->Count(); ++i) LBFormat->Items()->Add(FFormats->Strings(i));
    CBDelim->SetItemIndex(1);
    LBFormat->SetItemIndex(0);
    RGFormatClick(this);
    EnableButtons();
    FUpdating = false;
  }
  InvokeControlHook(this);
}

void TGrafExportFormBase::RGFormatClick(TObject*) {
  for (int i = TabOptions->ControlCount() - 1; i >= 0; --i) TabOptions->Controls(i)->Hide();
  TGrafExportFormat* format = SelectedFormat();
  TForm* options = format ? format->OptionsForm(true) : nullptr;
  if (options && options->ControlCount() > 0) {
    TabOptions->SetTabVisible(true);
    PageOptions->SetActivePage(TabOptions);
    EmbedFormInSheet(options, TabOptions);
    InvokeControlHook(options);
  } else {
    TabOptions->SetTabVisible(false);
    PageOptions->SetActivePage(TabSize);
  }
}

void TGrafExportFormBase::EWidthChange(TObject* Sender) {
  if (!FormShowing(this) || FUpdating || !CBAspect->Checked() || FRatio == 0) return;
  FUpdating = true;
  if (Sender == EWidth)
    UDHeight->SetPosition(static_cast<int>(std::lround(UDWidth->Position() / FRatio)));
  else
    UDWidth->SetPosition(static_cast<int>(std::lround(UDHeight->Position() * FRatio)));
  FUpdating = false;
}

void TGrafExportFormBase::EnableButtons() {
  TTabSheet* page = PageControl1->ActivePage();
  bool copy = page == TabPicture || (page == TabData && HasData()) ||
              (page == TabNative && CBNativeFormat->ItemIndex() == 1);
  if (page == TabData && RGText->ItemIndex() == 3) copy = false;
  BCopy->SetEnabled(copy);
  const bool save = copy || page == TabNative || (page == TabData && HasData());
  BSave->SetEnabled(save);
  BSend->SetEnabled(save && MapiAvailable());
}

void TGrafExportFormBase::BCopyClick(TObject*) {
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TabPicture) {
    TGrafExportFormat* format = SelectedFormat();
    if (!format) return;
    format->Width = UDWidth->Position();
    format->Height = UDHeight->Position();
    CopyPictureOf(format);
  } else if (page == TabData) {
    THourGlass wait;
    std::unique_ptr<TGrafExportData> data = CreateDataExporter();
    if (data) data->CopyTextToClipboard();
  } else {
    std::unique_ptr<TMemoryStream> stream = NativeStream();
    if (stream) Clipboard()->SetAsText(std::string(reinterpret_cast<const char*>(stream->Memory()), stream->Size()));
  }
}

void TGrafExportFormBase::SavePicture(const std::string& FileName) {
  TGrafExportFormat* format = nullptr;
  for (int i = 0; i < FFormats->Count() && !format; ++i) {
    auto* f = static_cast<TGrafExportFormat*>(FFormats->Objects(i));
    if (SameText(ExtractFileExt(FileName), "." + f->FileExtension())) format = f;
  }
  if (!format) format = SelectedFormat();
  if (!format) return;
  format->Width = UDWidth->Position();
  format->Height = UDHeight->Position();
  THourGlass wait;
  SavePictureFile(format, FileName);
}

int TGrafExportFormBase::DataFilterIndex() const {
  return RGText->ItemIndex() > 0 ? RGText->ItemIndex() + kDataFilterFirstFormat : CBDelim->ItemIndex() + 1;
}

void TGrafExportFormBase::SaveData(const std::string& FileName) {
  THourGlass wait;
  std::unique_ptr<TGrafExportData> data = CreateDataExporter();
  if (data) data->SaveTextToFile(FileName);
}

void TGrafExportFormBase::BSaveClick(TObject*) {
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TabPicture) {
    TGrafExportFormat* format = SelectedFormat();
    if (!format) return;
    SaveDialogPicture->DefaultExt = format->FileExtension();
    SaveDialogPicture->FilterIndex = format->FilterIndexOf();
    SaveDialogPicture->FileName.clear();
    if (SaveDialogPicture->Execute()) SavePicture(SaveDialogPicture->FileName);
  } else if (page == TabNative) {
    SaveDialogNative->FileName.clear();
    SaveDialogNative->DefaultExt = kNativeExtension;
    SaveDialogNative->Filter = FNativeFilter;
    if (SaveDialogNative->Execute())
      SaveNativeFile(ChangeFileExt(SaveDialogNative->FileName, std::string(".") + kNativeExtension),
                     CBNativeData->Checked());
  } else {
    SaveDialogData->FileName.clear();
    SaveDialogData->Filter = FDataFilter;
    SaveDialogData->FilterIndex = DataFilterIndex();
    if (!SaveDialogData->Execute()) return;
    const int chosen = SaveDialogData->FilterIndex;
    // Only the format follows the filter; the delimiter stays as chosen.
    RGText->SetItemIndex(chosen > kDataFilterFirstFormat ? chosen - kDataFilterFirstFormat : 0);
    SaveData(SaveDialogData->FileName);
  }
}

void TGrafExportFormBase::BSendClick(TObject*) {
  // A fresh private folder, so no other user can read or swap the file.
  std::string pattern = TempFolder() + "zelvora-mail-XXXXXX";
  if (!mkdtemp(pattern.data())) throw Exception("Can not find Temp folder");
  const std::string folder = pattern;
  std::string file = folder + "/" + FMailSubject;
  struct TCleanup {
    std::string& Mailed;
    const std::string& Folder;
    std::string& File;
    ~TCleanup() {
      DeleteFile(File);
      RemoveDir(Folder);
      Mailed.clear();
    }
  } cleanup{FMailedFile, folder, file};
  TTabSheet* page = PageControl1->ActivePage();
  if (page == TabPicture) {
    TGrafExportFormat* format = SelectedFormat();
    if (!format) return;
    file = ChangeFileExt(file, "." + format->FileExtension());
    SavePicture(file);
  } else if (page == TabNative) {
    file = ChangeFileExt(file, std::string(".") + kNativeExtension);
    SaveNativeFile(file, CBNativeData->Checked());
  } else {
    file = ChangeFileExt(file, "." + FilterEntryExtension(FDataFilter, DataFilterIndex()));
    SaveData(file);
  }
  FMailedFile = file;
  // The mail layer returns once the mail program has taken the file.
  MailFile(file, FMailSubject);
}

void TGrafExportFormBase::CBFileSizeClick(TObject*) {
  if (CBFileSize->Checked()) {
    std::unique_ptr<TMemoryStream> stream = NativeStream();
    LabelSize->SetCaption(Format("%d bytes", {static_cast<int>(stream ? stream->Size() : 0)}));
  } else {
    LabelSize->SetCaption("?");
  }
}

void TGrafExportFormBase::RGTextClick(TObject*) {
  const bool text = RGText->ItemIndex() == 0;
  CBDelim->SetEnabled(text);
  ECustom->SetEnabled(text && CBDelim->ItemIndex() == 4);
  EnableButtons();
}

void TGrafExportFormBase::CBDelimChange(TObject*) {
  const bool custom = CBDelim->ItemIndex() == 4;
  ECustom->SetEnabled(custom);
  if (custom && ECustom->CanFocus()) ECustom->SetFocus();
}

void TGrafExportFormBase::SaveNativeFile(const std::string& FileName, bool) {
  // Without a chart there is only the panel's plain component stream.
  std::unique_ptr<TMemoryStream> stream = NativeStream();
  if (stream) stream->SaveToFile(FileName);
}

std::unique_ptr<TMemoryStream> TGrafExportFormBase::NativeStream() {
  auto stream = std::make_unique<TMemoryStream>();
  if (FPanel) {
    // The panel is written visible whatever its state on the form.
    const bool visible = FPanel->Visible();
    FPanel->SetVisible(true);
    WriteComponentToStream(*stream, FPanel);
    FPanel->SetVisible(visible);
  }
  return stream;
}

void TGrafExportFormBase::PrepareDataTab() {
  TabData->SetTabVisible(false);
  CBNativeData->SetVisible(false);
}

// ---------------------------------------------------------------------------

TGrafExportForm::TGrafExportForm(TComponent* AOwner) : TGrafExportFormBase(AOwner) {}

TCustomAxisPanel* TGrafExportForm::Chart() const { return dynamic_cast<TCustomAxisPanel*>(FPanel); }

std::unique_ptr<TGrafExportData> TGrafExportForm::CreateDataExporter() {
  TChartSeries* series = nullptr;
  const int s = CBSeries->ItemIndex();
  if (s > 0) series = dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(s));
  std::unique_ptr<TSeriesData> data;
  switch (RGText->ItemIndex()) {
    case 1: data = std::make_unique<TSeriesDataXML>(Chart(), series); break;
    case 2: data = std::make_unique<TSeriesDataHTML>(Chart(), series); break;
    case 3: data = std::make_unique<TSeriesDataXLS>(Chart(), series); break;
    default: {
      auto text = std::make_unique<TSeriesDataText>(Chart(), series);
      switch (CBDelim->ItemIndex()) {
        case 0: text->Delimiter = ' '; break;
        case 2: text->Delimiter = ','; break;
        case 3: text->Delimiter = ';'; break;
        case 4: text->Delimiter = ECustom->Text().empty() ? ' ' : ECustom->Text()[0]; break;
        default: text->Delimiter = '\t'; break;
      }
      text->Quotes = EQuotes->Text();
      data = std::move(text);
    }
  }
  data->WithLabels = CBLabels->Checked();
  data->WithIndex = CBIndex->Checked();
  data->IncludeHeader = CBHeader->Checked();
  data->WithColors = CBColors->Checked();
  return data;
}

void TGrafExportForm::SaveNativeFile(const std::string& FileName, bool WithData) {
  if (TCustomAxisPanel* chart = Chart())
    WriteChartFile(chart, FileName, WithData, CBNativeFormat->ItemIndex() == 1);
}

bool TGrafExportForm::HasData() {
  TCustomAxisPanel* chart = Chart();
  return chart && chart->SeriesList()->Count() > 0;
}

std::unique_ptr<TMemoryStream> TGrafExportForm::NativeStream() {
  auto stream = std::make_unique<TMemoryStream>();
  if (TCustomAxisPanel* chart = Chart())
    WriteChartStream(chart, *stream, CBNativeData->Checked(), CBNativeFormat->ItemIndex() == 1);
  return stream;
}

void TGrafExportForm::PrepareDataTab() {
  CBSeries->Items()->Clear();
  if (TCustomAxisPanel* chart = Chart()) FillSeriesNameList(CBSeries->Items(), chart->SeriesList(), true);
  CBSeries->Items()->Insert(0, "(all)");
  CBSeries->SetItemIndex(0);
}

void RegisterExportDialogClasses() {
  RegisterClasses({&TGrafExportFormBase::StaticClass(), &TGrafExportForm::StaticClass()});
}
