// The gantt series' editor: bar height, connecting lines, colours and
// transparency; the bars' pointer as a further "Gantt" tab.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TGanttSeries;

class TGanttSeriesEditor : public TForm {
  ZV_CLASS(TGanttSeriesEditor)
public:
  explicit TGanttSeriesEditor(TComponent* AOwner);
  ~TGanttSeriesEditor() override;

  TSeriesPointerEditor* PointerTab() const { return FPointerForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEPointVertSizeChange(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  void EnableColor();

  TLabel* Label1;
  TEdit* SEPointVertSize;
  TUpDown* UDPointVertSize;
  TButtonPen* BConnLines;
  TGroupBox* GPLine;
  TButtonColor* BColor;
  TCheckBox* CBColorEach;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UpDown1;

  TGanttSeries* Gantt = nullptr;
  TSeriesPointerEditor* FPointerForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
