// The donut series' editor: the size of the hole; the pie's own editor as a
// further "Donut" tab.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpieedit.h"
#include "chart/editor/grafpoedi.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TDonutSeries;

class TDonutSeriesEditor : public TForm {
  ZV_CLASS(TDonutSeriesEditor)
public:
  explicit TDonutSeriesEditor(TComponent* AOwner);
  ~TDonutSeriesEditor() override;

  TPieSeriesEditor* PieTab() const { return FPieForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void EDonutChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EDonut;
  TUpDown* UDDonut;

  TDonutSeries* Donut = nullptr;
  TPieSeriesEditor* FPieForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
