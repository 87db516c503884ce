// The bar series editor: style, border, pattern, colour, gradient, tick
// lines, bevel and 3D sides on "Format", widths, offset, depth and margins
// on "Size"; the stacking options as a further "Stack" tab.
#pragma once

#include "chart/editor/grafpoedi.h"
#include "chart/editor/grafstackbaredit.h"
#include "chart/series/series_bar.h"
#include "platform/ui/pages.h"

class TBarSeriesEditor : public TForm {
  ZV_CLASS(TBarSeriesEditor)
public:
  explicit TBarSeriesEditor(TComponent* AOwner);
  ~TBarSeriesEditor() override;

  TStackBarSeriesEditor* StackTab() const { return FStackForm; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CBBarStyleChange(TObject* Sender);
  virtual void BBarBrushClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void BGradientClick(TObject* Sender);
  virtual void EBevelChange(TObject* Sender);
  virtual void CBDarkBarClick(TObject* Sender);
  virtual void SEBarwidthChange(TObject* Sender);
  virtual void SEBarOffsetChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBBarSideMarginsClick(TObject* Sender);
  virtual void CBMarksAutoPositionClick(TObject* Sender);
  void ApplyStyleRules();

  TPageControl* PageControl1;
  TTabSheet* TabSheet1;
  TTabSheet* TabSheet2;
  TLabel* LStyle;
  TComboFlat* CBBarStyle;
  TButtonPen* BBarPen;
  TButton* BBarBrush;
  TCheckBox* CBColorEach;
  TButtonColor* BBarColor;
  TButton* BGradient;
  TButtonPen* BTickLines;
  TLabel* LBevel;
  TEdit* EBevel;
  TUpDown* UDBevel;
  TCheckBox* CBDarkBar;
  TLabel* Label1;
  TEdit* SEBarwidth;
  TUpDown* UDBarWidth;
  TLabel* Label2;
  TEdit* SEBarOffset;
  TUpDown* UDBarOffset;
  TLabel* Label3;
  TEdit* Edit1;
  TUpDown* UDDepth;
  TCheckBox* CBBarSideMargins;
  TCheckBox* CBMarksAutoPosition;

  TCustomBarSeries* Series = nullptr;
  TStackBarSeriesEditor* FStackForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterBarSeriesEditorClasses();
