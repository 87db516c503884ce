// The grid band tool's editor: the two alternating bands, each with its
// pattern, colours, transparency and gradient, shown in a small preview.
#pragma once

#include "chart/editor/grafdraw3d.h"
#include "chart/editor/grafedigrad.h"
#include "chart/extra/grafaxistooledit.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"

class TGridBandTool;
class TGridBandBrush;

class TGridBandToolEdit : public TAxisToolEditor {
  ZV_CLASS(TGridBandToolEdit)
public:
  explicit TGridBandToolEdit(TComponent* AOwner);
  TGridBandTool* Band() const;
  // Band1 on the first tab, Band2 on the second.
  TGridBandBrush* CurrentBand() const;

  TTabControl* TabControl1;
  TButton* BBand1;
  TDraw3D* Draw3D1;
  TButtonColor* ButtonColor1;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TButtonGradient* ButtonGradient1;

protected:
  void FormCreate(TObject* Sender) override;
  void FormShow(TObject* Sender) override;
  void TabControl1Change(TObject* Sender);

private:
  void PreviewPaint(const TRect& Rect);
  bool FLoading = true;
};
