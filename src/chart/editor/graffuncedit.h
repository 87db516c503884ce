// The data-source page of a series: the function that calculates it (or
// "Copy" for none), its source series (one, with the value list to take, or
// several) and an "Options" page hosting the function's own editor. It
// listens to the chart's series events to keep the candidates current.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/editor/grafselectlist.h"
#include "chart/editor/grafsourceedit.h"
#include "platform/ui/pages.h"

class TGrafFuncEditor : public TBaseSourceEditor, public IPanelEventListener {
  ZV_CLASS(TGrafFuncEditor)
public:
  explicit TGrafFuncEditor(TComponent* AOwner);
  ~TGrafFuncEditor() override;

  TSelectListForm* SelectList() const { return FSelectList; }
  TForm* OptionsEditor() const { return FOptions; }
  TPageControl* Pages() const { return PageControl1; }
  TTimer* OptionsTimer() const { return Timer1; }
  TTimer* SourceTimer() const { return Timer2; }

  void HandlePanelEvent(TGrafEvent* Event) override;

protected:
  friend TClass SelectedFunctionClass(TGrafFuncEditor* Page);
  virtual void FormCreate(TObject* Sender) override;
  virtual void FormShow(TObject* Sender) override;
  virtual void FormDestroy(TObject* Sender);
  virtual void CBSourcesChange(TObject* Sender) override;
  virtual void CBSingleChange(TObject* Sender);
  virtual void BNoneClick(TObject* Sender);
  virtual void CBValuesChange(TObject* Sender);
  virtual void BApplyClick(TObject* Sender);
  void FillSources();
  // The page shows one source with its value list (the function takes one).
  bool SingleSourceMode() const { return PanSingle->Visible(); }
  // Attaches a function of the chosen class when the series has another.
  void ApplyFunctionChoice(TClass FunctionClass);
  void RecreateOptionsEditor(const std::string& ClassName);
  TChartSeries* ChosenSingle() const;

  TPageControl* PageControl1;
  TTabSheet* TabSource;
  TPanel* PanSingle;
  TLabel* Label1;
  TComboFlat* CBSingle;
  TLabel* LValues;
  TComboFlat* CBValues;
  TButton* BNone;
  TTabSheet* TabOptions;
  TTimer* Timer1;
  TTimer* Timer2;

  TSelectListForm* FSelectList = nullptr;
  TForm* FOptions = nullptr;
  TCustomAxisPanel* FListenedChart = nullptr;
  bool FLoading = false;
};

// The function class chosen on the page; nil for none or "Copy".
TClass SelectedFunctionClass(TGrafFuncEditor* Page);

void RegisterFunctionPageClasses();
