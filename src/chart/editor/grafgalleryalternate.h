// The alternate series gallery ("GrafChart Pro Gallery"): the series types
// by name in a list filtered by gallery page, with the sub-styles of the
// type picked in the list shown as miniatures.
#pragma once

#include <memory>

#include "chart/core/chart.h"
#include "chart/editor/grafgallerypanel.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/splitter.h"

class TGrafGalleryForm : public TForm {
  ZV_CLASS(TGrafGalleryForm)
public:
  explicit TGrafGalleryForm(TComponent* AOwner);
  ~TGrafGalleryForm() override;

  TChartGalleryPanel* GalleryPanel() const { return ChartGalleryPanel1; }
  // The chart whose series stand for the types listed.
  TChart* TypesChart() const { return FChart.get(); }
  void Set3D(bool Value);
  bool Is3D() const;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CBPageChange(TObject* Sender);
  virtual void ChartListBox1Click(TObject* Sender);
  virtual void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  virtual void CB3DClick(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);
  void FillTypes();

  TPanel* Panel1;
  TLabel* Label1;
  TComboFlat* CBPage;
  TCheckBox* CB3D;
  TCheckBox* CBSmooth;
  // Lists the types chart's series by title (the series list box of the
  // chart editor takes its place once it exists).
  TListBox* ChartListBox1;
  TSplitter* Splitter1;
  TChartGalleryPanel* ChartGalleryPanel1;
  TPanel* PanelBottom;
  TPanel* Panel3;
  TButton* BOK;
  TButton* BCancel;

  std::unique_ptr<TChart> FChart;
  TClass FLastClass = nullptr;
};

void RegisterAlternateGalleryClasses();
