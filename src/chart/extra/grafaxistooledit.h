// The editor of tools bound to one axis: the axis chosen among the chart's
// axes, and the tool's border pen. The grid band, axis arrow, colour band
// and colour line editors add their controls below it.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TGrafCustomToolAxis;

class TAxisToolEditor : public TForm {
  ZV_CLASS(TAxisToolEditor)
public:
  explicit TAxisToolEditor(TComponent* AOwner);
  TGrafCustomToolAxis* Tool() const { return FTool; }

  TPanel* PanelTop;
  TLabel* Label1;
  TComboFlat* CBAxis;
  TButtonPen* BPen;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBAxisChange(TObject* Sender);

  TGrafCustomToolAxis* FTool = nullptr;
  // Offers the depth axes too; never turned on by this editor.
  bool FDepthAxes = false;
};
