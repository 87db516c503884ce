// The colour line tool's editor: the line's pen, its value or the axis
// position it keeps, and how it may be dragged and drawn.
#pragma once

#include "chart/extra/grafaxistooledit.h"
#include "platform/ui/pages.h"

class TColorLineTool;

class TColorLineToolEditor : public TAxisToolEditor {
  ZV_CLASS(TColorLineToolEditor)
public:
  explicit TColorLineToolEditor(TComponent* AOwner);
  TColorLineTool* Line() const;

  TPageControl* PageControl1;
  TTabSheet* TabValue;
  TLabel* Label2;
  TEdit* EValue;
  TLabel* Label3;
  TComboFlat* CBStyle;
  TTabSheet* TabOptions;
  TCheckBox* CBAllowDrag;
  TCheckBox* CBDragRepaint;
  TCheckBox* CBNoLimitDrag;
  TCheckBox* CBDrawBehind;
  TCheckBox* CBDraw3D;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const { return Line() && !FLoading; }
  bool FLoading = true;
};
