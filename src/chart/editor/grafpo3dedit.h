// The 3D point series editor: depth, colour, line and base line pens; the
// pointer editor as a "Point" tab.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/series/grafpoin3.h"

class TPoint3DSeriesEditor : public TForm {
  ZV_CLASS(TPoint3DSeriesEditor)
public:
  explicit TPoint3DSeriesEditor(TComponent* AOwner);
  ~TPoint3DSeriesEditor() override;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void SEPointDepthChange(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);

  TLabel* Label1;
  TEdit* SEPointDepth;
  TUpDown* UDPointDepth;
  TGroupBox* GPLine;
  TCheckBox* CBColorEach;
  TButtonColor* BColor;
  TButtonPen* Button1;
  TButtonPen* BBasePen;

  TPoint3DSeries* Series = nullptr;
  TSeriesPointerEditor* FPointerForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterPoint3DEditorClasses();
