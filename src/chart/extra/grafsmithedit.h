// The Smith series editor: the reactance and resistance labels, pens and
// fonts, the outer circle, the line, colour each point and the imaginary
// symbol; the circled options as a further tab.
#pragma once

#include "chart/editor/grafcirclededit.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/grafsmith.h"

class TSmithSeriesEdit : public TForm {
  ZV_CLASS(TSmithSeriesEdit)
public:
  explicit TSmithSeriesEdit(TComponent* AOwner);
  ~TSmithSeriesEdit() override;

  TCircledSeriesEditor* CircledTab() const { return FCircledForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CBCClick(TObject* Sender);
  virtual void CBRClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void BCFontClick(TObject* Sender);
  virtual void BRFontClick(TObject* Sender);
  virtual void EImagChange(TObject* Sender);

  TCheckBox* CBC;
  TCheckBox* CBR;
  TButtonPen* BCPen;
  TButtonPen* BRPen;
  TButtonPen* BCircle;
  TButtonPen* BBorder;
  TCheckBox* CBColorEach;
  TButton* BCFont;
  TButton* BRFont;
  TLabel* Label1;
  TEdit* EImag;

  TSmithSeries* Series = nullptr;
  TCircledSeriesEditor* FCircledForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
