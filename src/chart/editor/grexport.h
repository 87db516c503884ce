// The export dialog: a chart copied to the clipboard, saved to a file or
// mailed, as a picture, as a native chart file, or as its series' data.
// TGrafExportFormBase serves any chart panel; TGrafExportForm adds what needs
// a chart with series. The panel to export comes through Tag.
#pragma once

#include <memory>
#include <string>

#include "chart/core/grengine.h"
#include "chart/core/grafpanel.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"

class TButton;
class TCheckBox;
class TComboFlat;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;
class TPageControl;
class TRadioGroup;
class TStringList;
class TTabSheet;
class TUpDown;
class TGrafExportFormat;
class TGrafExportData;

class TGrafExportFormBase : public TForm {
  ZV_CLASS(TGrafExportFormBase)
public:
  explicit TGrafExportFormBase(TComponent* AOwner);
  ~TGrafExportFormBase() override;

  TPageControl* PageControl1;
  TTabSheet *TabPicture, *TabNative, *TabData;
  TGroupBox* RGFormat;
  TListBox* LBFormat;
  TPageControl* PageOptions;
  TTabSheet *TabOptions, *TabSize;
  TEdit *EWidth, *EHeight;
  TUpDown *UDWidth, *UDHeight;
  TLabel *Label1, *Label2;
  TCheckBox* CBAspect;
  TCheckBox *CBNativeData, *CBFileSize;
  TLabel *LabelSize, *Label5;
  TComboFlat* CBNativeFormat;
  TLabel* Label3;
  TComboFlat* CBSeries;
  TRadioGroup* RGText;
  TLabel* Label4;
  TComboFlat* CBDelim;
  TEdit* ECustom;
  TLabel* Label6;
  TEdit* EQuotes;
  TGroupBox* GroupBox1;
  TCheckBox *CBLabels, *CBIndex, *CBHeader, *CBColors;
  TButton *BCopy, *BSave, *BSend, *BClose;
  TSaveDialog *SaveDialogPicture, *SaveDialogData, *SaveDialogNative;

  TCustomGrafPanel* Panel() const { return FPanel; }
  // The picture format selected in LBFormat; nil without one.
  TGrafExportFormat* SelectedFormat() const;
  // The data filter entry the Save button preselects (1-based).
  int DataFilterIndex() const;
  // The file a mailed export is written to, while it is being mailed.
  const std::string& MailedFileName() const { return FMailedFile; }

  void FormShow(TObject* Sender);
  void RGFormatClick(TObject* Sender);
  void EWidthChange(TObject* Sender);
  void EnableButtons();
  void BCopyClick(TObject* Sender);
  void BSaveClick(TObject* Sender);
  void BSendClick(TObject* Sender);
  void CBFileSizeClick(TObject* Sender);
  void RGTextClick(TObject* Sender);
  void CBDelimChange(TObject* Sender);

  // ---- Virtual operations, in slot order ----
  virtual std::unique_ptr<TGrafExportData> CreateDataExporter() { return nullptr; }
  virtual void SaveNativeFile(const std::string& FileName, bool WithData);
  virtual bool HasData() { return false; }
  virtual std::unique_ptr<TMemoryStream> NativeStream();
  virtual void PrepareDataTab();

protected:
  // A freed panel is forgotten by the dialog and its formats.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void FreeFormats();
  void SavePicture(const std::string& FileName);
  void SaveData(const std::string& FileName);

  std::unique_ptr<TStringList> FFormats;
  TCustomGrafPanel* FPanel = nullptr;
  bool FUpdating = false;
  double FRatio = 0;
  std::string FMailSubject = "GrafChart";
  std::string FNativeFilter;
  std::string FDataFilter;
  std::string FMailedFile;
};

class TGrafExportForm : public TGrafExportFormBase {
  ZV_CLASS(TGrafExportForm)
public:
  explicit TGrafExportForm(TComponent* AOwner);

  std::unique_ptr<TGrafExportData> CreateDataExporter() override;
  void SaveNativeFile(const std::string& FileName, bool WithData) override;
  bool HasData() override;
  std::unique_ptr<TMemoryStream> NativeStream() override;
  void PrepareDataTab() override;

private:
  TCustomAxisPanel* Chart() const;
};

// The dialog classes with the class registry.
void RegisterExportDialogClasses();
