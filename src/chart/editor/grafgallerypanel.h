// The gallery panel: a grid of miniature charts, one per registered series
// or function type of a gallery page (or one per sub-style of a type, per
// gradient direction, per 3D view), from which the user picks one. It
// highlights the selected miniature, moves the selection with the arrow
// keys and opens a pop-up sub-gallery of a type's sub-styles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grafpanel.h"
#include "platform/ui/popupform.h"

class TChartGalleryPanel;

// One miniature. Its Tag holds the sub-style index (0 on the main gallery).
class TGalleryChart : public TCustomChart {
  ZV_CLASS(TGalleryChart)
public:
  // With a gallery panel as owner, it takes the panel's rotation setting.
  explicit TGalleryChart(TComponent* AOwner);

  // Painted through the four-times-larger smoothing path.
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  // Set while the smoothing path paints.
  bool Busy() const { return FBusy; }
  TChartGalleryPanel* GalleryPanel() const;
  // Shows the left and bottom axis labels while the form is maximised.
  void CheckAxisLabels();
  // Where the sub-style arrow's corner is (client coordinates), and whether
  // a point is over the arrow.
  TPoint SubArrowCorner() const;
  bool OverSubArrow(TPoint P) const;

  // The unit switch of the maximised-labels rule.
  static bool ShowLabelsWhenMaximized;

  void DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect) override;

protected:
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;
  // The hover frame: raised (white and grey) or wiped in the chart colour.
  void DrawHoverFrame(bool Hot);
  // After every pass: the sub-style arrow on the selected miniature.
  void AfterDrawHook();
  void DrawSubArrow(TCanvas* Canvas);

private:
  bool FSmooth = false;
  bool FBusy = false;
};

// The panel's miniatures in creation order; Clear frees them.
class TChartList : public TObject {
public:
  ~TChartList() override { Clear(); }
  std::string ClassName() const override { return "TChartList"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TGalleryChart* Items(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  int IndexOf(const TGalleryChart* Chart) const;
  void Add(TGalleryChart* Chart) { FItems.push_back(Chart); }
  void Clear();

private:
  std::vector<TGalleryChart*> FItems;
};

class TChartGalleryPanel : public TCustomPanelNoCaption {
  ZV_CLASS(TChartGalleryPanel)
public:
  explicit TChartGalleryPanel(TComponent* AOwner);
  ~TChartGalleryPanel() override;

  bool DisplaySub() const { return FDisplaySub; }
  void SetDisplaySub(bool Value) { FDisplaySub = Value; }
  bool FocusRotation() const { return FFocusRotation; }
  void SetFocusRotation(bool Value) { FFocusRotation = Value; }
  int NumRows() const { return FNumRows; }
  void SetNumRows(int Value);
  int NumCols() const { return FNumCols; }
  void SetNumCols(int Value);
  bool Smooth() const { return FSmooth; }
  // Ignored while the panel is being read from a stream (the editor option
  // "SmoothGallery" rules).
  void SetSmooth(bool Value);
  bool View3D() const { return FView3D; }
  void SetView3D(bool Value);
  // Raises no repaint while set.
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }

  TNotifyEvent OnSelectedChart;
  TNotifyEvent OnChangeChart;
  TNotifyEvent OnSubSelected;

  TChartList Charts;
  TGalleryChart* SelectedChart = nullptr;
  bool FunctionsMode = false;
  bool OnlyCompatible = false;
  TChartSeries* ReferenceSeries = nullptr;
  bool IsSubGallery = false;
  // While sub-styles are listed: the panel that receives them, the type
  // record they are made from and a series of the type's class.
  TChartGalleryPanel* SubPanel = nullptr;
  TGrafSeriesType* SubType = nullptr;
  TChartSeries* SubSeries = nullptr;

  int CellWidth() const { return FCellWidth; }
  int CellHeight() const { return FCellHeight; }
  // The sub-gallery pop-up while it shows (nil otherwise).
  TPopupForm* SubGalleryForm() const { return FSubForm; }

  TGalleryChart* AddGalleryChart(const TGrafSeriesType& Type);
  void CreateGalleryPage(const std::string& Page);
  virtual void SelectChart(TGalleryChart* Chart);
  TGalleryChart* ChartAt(int Index) const { return Charts.Items(Index); }
  void LayoutCharts();
  void UpdateSelection();
  void ShowSubGallery();
  bool GetSelectedType(TClass& SeriesClass, TClass& FunctionClass, int& SubIndex) const;
  void AddSubStyleChart(const std::string& Style);
  // Chooses the selected miniature (OnSelectedChart).
  void ChooseSelected();
  // Frees every miniature (nothing selected afterwards).
  void ClearCharts();

  // The panel's key handler, which the miniatures forward their keys to.
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

protected:
  void Resize() override;
  void WMGetDlgCode(TMessage& M) override;
  void CalcCellSize();
  void PlaceChart(TGalleryChart* Chart, int Index);
  void SetMargins(TGalleryChart* Chart);
  void HighlightChart(TGalleryChart* Chart);
  void PlainChart(TGalleryChart* Chart);
  void SubStyleSelected(TObject* Sender);

private:
  bool FDisplaySub = true;
  bool FFocusRotation = true;
  int FNumRows = 3;
  int FNumCols = 4;
  bool FSmooth = false;
  bool FSmoothRead = false;
  bool FView3D = true;
  bool FLocked = false;
  int FCellWidth = 0;
  int FCellHeight = 0;
  TPopupForm* FSubForm = nullptr;
};

// Registers the unit's classes by name.
void RegisterGalleryPanelClasses();
