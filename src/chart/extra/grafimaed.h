// The editor of the image bar series: the picture with a browse/clear
// button and tiling; the bar editor (without its style) as a "Bar" tab.
#pragma once

#include "chart/editor/grafbaredit.h"
#include "platform/ui/graphicctrls.h"

class TImageBarSeries;

class TImageBarSeriesEditor : public TForm {
  ZV_CLASS(TImageBarSeriesEditor)
public:
  explicit TImageBarSeriesEditor(TComponent* AOwner);
  ~TImageBarSeriesEditor() override;

  TBarSeriesEditor* BarTab() const { return FBarForm; }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void BBrowseClick(TObject* Sender);
  virtual void CBTiledClick(TObject* Sender);
  // Preview, button caption and tiling box after the picture changed.
  void RefreshImage();

  TGroupBox* GroupBox1;
  TImage* Image1;
  TButton* BBrowse;
  TCheckBox* CBTiled;

  TImageBarSeries* Series = nullptr;
  TBarSeriesEditor* FBarForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};
