// The point-and-figure series editor: box size and reversal amount; the
// up and down symbols as pointer editor tabs.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/series/grafcandle.h"

class TPointFigureEditor : public TForm {
  ZV_CLASS(TPointFigureEditor)
public:
  explicit TPointFigureEditor(TComponent* AOwner);
  ~TPointFigureEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void EBoxSizeChange(TObject* Sender);
  virtual void EReversalChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EBoxSize;
  TLabel* Label2;
  TEdit* EReversal;

  TPointFigureSeries* Series = nullptr;
  TSeriesPointerEditor* FUpForm = nullptr;
  TSeriesPointerEditor* FDownForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterPointFigureEditorClasses();
