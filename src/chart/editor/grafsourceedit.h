// The base of the series editor's data-source pages: a "Source:" combo and
// an "Apply" button, and the "Apply Changes ?" question when the page closes
// with changes not applied.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/core/grengine.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"

class TBaseSourceEditor : public TForm {
  ZV_CLASS(TBaseSourceEditor)
public:
  explicit TBaseSourceEditor(TComponent* AOwner);

  TChartSeries* TheSeries = nullptr;
  TButton* ApplyButton() const { return BApply; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBSourcesChange(TObject* Sender);
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);

  TPanel* Pan;
  TLabel* LLabel;
  TComboFlat* CBSources;
  TButton* BApply;
};

void RegisterSourceEditorClasses();
