// The colour band tool's editor: the band's two values, whether its edges
// may be dragged and their pens, and its fill (pattern, gradient, colour,
// transparency), drawing order and cursor.
#pragma once

#include "chart/editor/grafedigrad.h"
#include "chart/extra/grafaxistooledit.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"

class TColorBandTool;

class TColorBandToolEditor : public TAxisToolEditor {
  ZV_CLASS(TColorBandToolEditor)
public:
  explicit TColorBandToolEditor(TComponent* AOwner);
  TColorBandTool* Band() const;

  TButton* BPattern;
  TPageControl* PageControl1;
  TTabSheet* TabValues;
  TLabel* Label2;
  TEdit* EStart;
  TLabel* Label3;
  TEdit* EEnd;
  TCheckBox* CBStart;
  TCheckBox* CBEnd;
  TButtonPen* BStart;
  TButtonPen* BEnd;
  TTabSheet* TabOptions;
  TButtonGradient* BGradient;
  TButtonColor* ButtonColor1;
  TLabel* Label4;
  TEdit* ETrans;
  TUpDown* UDTrans;
  TCheckBox* CBDrawBehind;
  TCheckBox* CBBeforeAxes;
  TLabel* Label5;
  TComboFlat* CBCursor;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const { return Band() && !FLoading; }
  bool FLoading = true;
};
