// The chart editor's "3D" page: the 3D switch, depth, point clipping and the
// projection (orthogonal or rotated, zoom, rotation, elevation, offsets,
// perspective, text zoom), and a tab of six typical views to copy from.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafgallerypanel.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TFormGraf3D : public TForm {
  ZV_CLASS(TFormGraf3D)
public:
  explicit TFormGraf3D(TComponent* AOwner) : TFormGraf3D(AOwner, nullptr) {}
  TFormGraf3D(TComponent* AOwner, TCustomGrafPanel* Chart);

  // Which controls may be used now; the editor window runs it each time its
  // 3D tab becomes active. Brings "Options" to the front.
  void ApplyEnabling();

  TCustomGrafPanel* EditedChart = nullptr;
  bool Filling = false;
  bool OrthogonalPossible = true;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void PageControl1Change(TObject* Sender);
  virtual void CBView3dClick(TObject* Sender);
  virtual void SE3dChange(TObject* Sender);
  virtual void CBOrthogonalClick(TObject* Sender);
  virtual void EOrthoAngleChange(TObject* Sender);
  virtual void SBZoomChange(TObject* Sender);
  virtual void CBZoomTextClick(TObject* Sender);
  virtual void ETextSizeChange(TObject* Sender);
  virtual void SBRotationChange(TObject* Sender);
  virtual void SBElevationChange(TObject* Sender);
  virtual void SBHOffsetChange(TObject* Sender);
  virtual void SBVOffsetChange(TObject* Sender);
  virtual void SBPerspecChange(TObject* Sender);
  virtual void CBClipPointsClick(TObject* Sender);
  virtual void ChartGalleryPanel1ChangeChart(TObject* Sender);
  void FillOptions();
  void BuildViews();
  void SelectMatchingView();
  bool DrawsWithoutGdi() const;
  TCustomAxisPanel* AxisPanel() const { return dynamic_cast<TCustomAxisPanel*>(EditedChart); }

  TPageControl* PageControl1;
  TTabSheet* Tab3D;
  TTabSheet* TabViews;
  TCheckBox* CBView3d;
  TEdit* SE3d;
  TUpDown* UD3D;
  TCheckBox* CBOrthogonal;
  TEdit* EOrthoAngle;
  TUpDown* UDOrthoAngle;
  TTrackBar* SBZoom;
  TLabel* LZoom;
  TCheckBox* CBZoomText;
  TEdit* ETextSize;
  TUpDown* UDTextSize;
  TLabel* LTextSize;
  TTrackBar* SBRotation;
  TLabel* LRotation;
  TTrackBar* SBElevation;
  TLabel* LElevation;
  TTrackBar* SBHOffset;
  TLabel* LHOffset;
  TTrackBar* SBVOffset;
  TLabel* LVOffset;
  TTrackBar* SBPerspec;
  TLabel* LPerspec;
  TCheckBox* CBClipPoints;
  TChartGalleryPanel* ChartGalleryPanel1;
  bool FBringOptions = false;
  bool FViewsBuilt = false;
};

void Register3DPageClasses();
