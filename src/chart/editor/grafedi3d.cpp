#include "chart/editor/grafedi3d.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/series/series_pie.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

namespace {

TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max, int Increment, int Position) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 40, 21);
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 40, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetIncrement(Increment);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(Position);
  return e;
}

TTrackBar* MakeBar(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Min, int Max,
                   int Frequency) {
  auto* bar = Make<TTrackBar>(Owner, Parent, Name, Left, Top, 120, 24);
  bar->SetMin(Min);
  bar->SetMax(Max);
  bar->SetFrequency(Frequency);
  return bar;
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormGraf3D, TForm)

TFormGraf3D::TFormGraf3D(TComponent* AOwner, TCustomGrafPanel* Chart) : TForm(AOwner), EditedChart(Chart) {
  SetClientWidth(392);
  SetClientHeight(236);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 392, 236);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);
  Tab3D = new TTabSheet(this);
  Tab3D->SetName("Tab3D");
  Tab3D->SetCaption("Options");
  Tab3D->SetPageControl(PageControl1);
  TabViews = new TTabSheet(this);
  TabViews->SetName("TabViews");
  TabViews->SetCaption("Views");
  TabViews->SetPageControl(PageControl1);

  CBView3d = Make<TCheckBox>(this, Tab3D, "CBView3d", 6, 6, 110, 17, "&3 Dimensions");
  CBView3d->SetChecked(true);
  SE3d = MakeSpin(this, Tab3D, "SE3d", "UD3D", 60, 28, UD3D, 1, 100, 5, 15);
  MakeLabel(this, Tab3D, "L3D", 6, 32, "3&D %:", SE3d);
  CBOrthogonal = Make<TCheckBox>(this, Tab3D, "CBOrthogonal", 6, 56, 110, 17, "&Orthogonal");
  EOrthoAngle = MakeSpin(this, Tab3D, "EOrthoAngle", "UDOrthoAngle", 60, 78, UDOrthoAngle, 0, 180, 5, 45);
  MakeLabel(this, Tab3D, "LOrthoAngle", 6, 82, "&Angle:", EOrthoAngle);
  CBZoomText = Make<TCheckBox>(this, Tab3D, "CBZoomText", 6, 106, 110, 17, "Zoom &Text");
  ETextSize = MakeSpin(this, Tab3D, "ETextSize", "UDTextSize", 6, 128, UDTextSize, 1, 2000, 5, 100);
  LTextSize = MakeLabel(this, Tab3D, "LTextSize", 64, 132, "%");
  CBClipPoints = Make<TCheckBox>(this, Tab3D, "CBClipPoints", 6, 158, 110, 17, "&Clip Points");

  auto row = [this](const char* bar, const char* label, const char* caption, int top, int min, int max, int freq,
                    TTrackBar*& Bar, TLabel*& Value) {
    Bar = MakeBar(this, Tab3D, bar, 220, top, min, max, freq);
    MakeLabel(this, Tab3D, (std::string(bar) + "Caption").c_str(), 130, top + 4, caption, Bar);
    Value = MakeLabel(this, Tab3D, label, 344, top + 4, "");
  };
  row("SBZoom", "LZoom", "&Zoom:", 4, 1, 500, 20, SBZoom, LZoom);
  row("SBRotation", "LRotation", "&Rotation:", 32, 0, 360, 45, SBRotation, LRotation);
  row("SBElevation", "LElevation", "E&levation:", 60, 270, 360, 10, SBElevation, LElevation);
  row("SBHOffset", "LHOffset", "&Horiz. Offset:", 88, -1500, 1500, 250, SBHOffset, LHOffset);
  row("SBVOffset", "LVOffset", "&Vert. Offset:", 116, -1500, 1500, 250, SBVOffset, LVOffset);
  row("SBPerspec", "LPerspec", "&Perspective:", 144, 0, 200, 10, SBPerspec, LPerspec);
  SBZoom->SetPageSize(5);
  SBZoom->SetPosition(100);
  SBRotation->SetPageSize(10);
  SBRotation->SetPosition(270);
  SBElevation->SetPageSize(10);
  SBElevation->SetPosition(270);
  SBHOffset->SetLineSize(10);
  SBVOffset->SetLineSize(10);

  ChartGalleryPanel1 = Make<TChartGalleryPanel>(this, TabViews, "ChartGalleryPanel1", 0, 0, 384, 208);
  ChartGalleryPanel1->SetAlign(alClient);

  PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
  CBView3d->OnClick = [this](TObject* s) { CBView3dClick(s); };
  SE3d->OnChange = [this](TObject* s) { SE3dChange(s); };
  CBOrthogonal->OnClick = [this](TObject* s) { CBOrthogonalClick(s); };
  EOrthoAngle->OnChange = [this](TObject* s) { EOrthoAngleChange(s); };
  SBZoom->OnChange = [this](TObject* s) { SBZoomChange(s); };
  CBZoomText->OnClick = [this](TObject* s) { CBZoomTextClick(s); };
  ETextSize->OnChange = [this](TObject* s) { ETextSizeChange(s); };
  SBRotation->OnChange = [this](TObject* s) { SBRotationChange(s); };
  SBElevation->OnChange = [this](TObject* s) { SBElevationChange(s); };
  SBHOffset->OnChange = [this](TObject* s) { SBHOffsetChange(s); };
  SBVOffset->OnChange = [this](TObject* s) { SBVOffsetChange(s); };
  SBPerspec->OnChange = [this](TObject* s) { SBPerspecChange(s); };
  CBClipPoints->OnClick = [this](TObject* s) { CBClipPointsClick(s); };
  ChartGalleryPanel1->OnChangeChart = [this](TObject* s) { ChartGalleryPanel1ChangeChart(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGraf3D::FormCreate(TObject*) {
  SetAlign(alClient);
  FBringOptions = true;
}

bool TFormGraf3D::DrawsWithoutGdi() const {
  return EditedChart && EditedChart->PanelCanvas() && EditedChart->PanelCanvas()->RendersWithoutGdi();
}

void TFormGraf3D::FormShow(TObject*) {
  if (EditedChart) FillOptions();
}

void TFormGraf3D::FillOptions() {
  TCustomGrafPanel* chart = EditedChart;
  TView3DOptions* v = chart->View3DOptions();
  Filling = true;
  CBView3d->SetChecked(chart->View3D());
  if (TCustomAxisPanel* axes = AxisPanel()) {
    UD3D->SetPosition(axes->Chart3DPercent());
    CBClipPoints->SetChecked(axes->ClipPoints());
  }
  // The OpenGL canvas turns all round; the GDI one only looks from above.
  const bool gl = DrawsWithoutGdi();
  SBRotation->SetMin(0);
  SBRotation->SetFrequency(gl ? 20 : 45);
  SBElevation->SetMin(gl ? 0 : 270);
  SBElevation->SetFrequency(gl ? 20 : 10);
  SBZoom->SetPosition(v->Zoom());
  CBOrthogonal->SetChecked(v->Orthogonal());
  SBRotation->SetPosition(v->Rotation());
  SBElevation->SetPosition(v->Elevation());
  auto offset = [](TTrackBar* bar, int value) {
    if (std::abs(value) > bar->Max()) {
      const int wide = static_cast<int>(std::nearbyint(1.5 * std::abs(value)));
      bar->SetMax(wide);
      bar->SetMin(-wide);
    }
    bar->SetPosition(value);
  };
  offset(SBHOffset, v->HorizOffset());
  offset(SBVOffset, v->VertOffset());
  CBZoomText->SetChecked(v->ZoomText());
  SBPerspec->SetPosition(v->Perspective());
  UDOrthoAngle->SetPosition(v->OrthoAngle());
  UDTextSize->SetPosition(v->FontZoom());
  // A bar already at its place fires no change: its label is written here.
  LZoom->SetCaption(IntToStr(SBZoom->Position()) + "%");
  for (auto [bar, label] : {std::pair{SBRotation, LRotation}, std::pair{SBElevation, LElevation},
                            std::pair{SBHOffset, LHOffset}, std::pair{SBVOffset, LVOffset},
                            std::pair{SBPerspec, LPerspec}})
    label->SetCaption(IntToStr(bar->Position()));
  ApplyEnabling();
  Filling = false;
}

void TFormGraf3D::ApplyEnabling() {
  if (!EditedChart) return;
  auto* chart = dynamic_cast<TCustomChart*>(EditedChart);
  TChartSeries* first = chart ? chart->FirstActiveSeries() : nullptr;
  const bool gl = DrawsWithoutGdi();
  OrthogonalPossible = !(!gl && dynamic_cast<TPieSeries*>(first));
  if (FBringOptions && PageControl1->ActivePage() != Tab3D) PageControl1->SetActivePage(Tab3D);
  const bool view3d = EditedChart->View3D();
  CBOrthogonal->SetEnabled(view3d && OrthogonalPossible);
  SBElevation->SetEnabled(view3d && (gl || !EditedChart->View3DOptions()->Orthogonal()));
  SBRotation->SetEnabled(SBElevation->Enabled() && CBOrthogonal->Enabled());
  EOrthoAngle->SetEnabled(CBOrthogonal->Enabled());
  UDOrthoAngle->SetEnabled(EOrthoAngle->Enabled());
}

void TFormGraf3D::PageControl1Change(TObject*) {
  if (!EditedChart) return;
  if (PageControl1->ActivePage() == Tab3D) {
    FillOptions();
  } else if (PageControl1->ActivePage() == TabViews) {
    if (!FViewsBuilt) BuildViews();
    SelectMatchingView();
  }
}

void TFormGraf3D::BuildViews() {
  FViewsBuilt = true;
  TChartGalleryPanel* g = ChartGalleryPanel1;
  g->SetSmooth(false);
  g->SetDisplaySub(false);
  g->SetFocusRotation(false);
  g->SetNumCols(3);
  g->SetNumRows(2);
  if (SeriesTypeRegistry()->Count() == 0) return;
  const TGrafSeriesType& type = *SeriesTypeRegistry()->TypeAt(0);
  enum TWall { wLeftHidden = 1, wRightHidden = 2 };
  const struct {
    const char* Name;
    bool In3D;
  } views[] = {{"2D", false},      {"Ortho Right", false}, {"Ortho Left", false},
               {"3D Front", true}, {"3D Right", true},      {"3D Left", true}};
  for (int i = 0; i < 6; ++i) {
    TGalleryChart* c = g->AddGalleryChart(type);
    c->BackWall()->SetTransparent(false);
    c->Walls()->SetSize(5);
    for (int s = 0; s < c->NumberOfSeries(); ++s) c->SeriesAt(s)->EmptyAllLists();
    TStringList* text = c->Title()->Text();
    if (text->Count() > 0) text->Put(0, views[i].Name);
    else text->Add(views[i].Name);
    TView3DOptions* v = c->View3DOptions();
    if (views[i].In3D) {
      c->SetView3D(true);
      v->SetOrthogonal(false);
      for (int s = 0; s < c->NumberOfSeries(); ++s) c->SeriesAt(s)->SetVertAxis(aBothVertAxis);
      v->SetElevation(360);
      c->LeftAxis()->SetLabels(true);
    }
    auto walls = [c](bool left, bool right) {
      c->LeftWall()->SetVisible(left);
      c->RightWall()->SetVisible(right);
    };
    switch (i) {
      case 0:
        c->SetView3D(false);
        c->LeftAxis()->SetLabels(true);
        break;
      case 1:
        v->SetOrthogonal(true);
        c->LeftAxis()->SetLabels(true);
        break;
      case 2:
        v->SetOrthogonal(true);
        walls(false, true);
        for (int s = 0; s < c->NumberOfSeries(); ++s) c->SeriesAt(s)->SetVertAxis(aRightAxis);
        c->RightAxis()->SetZPosition(0);
        v->SetOrthoAngle(135);
        break;
      case 3:
        walls(true, true);
        c->RightAxis()->SetZPosition(0);
        v->SetRotation(360);
        break;
      case 4:
        walls(true, false);
        c->RightAxis()->SetZPosition(100);
        v->SetRotation(300);
        break;
      default:
        walls(false, true);
        c->RightAxis()->SetZPosition(0);
        c->LeftAxis()->SetZPosition(100);
        v->SetRotation(45);
        break;
    }
  }
  g->LayoutCharts();
}

void TFormGraf3D::SelectMatchingView() {
  TView3DOptions* mine = EditedChart->View3DOptions();
  TGalleryChart* match = nullptr;
  for (int i = 0; i < ChartGalleryPanel1->Charts.Count() && !match; ++i) {
    TGalleryChart* c = ChartGalleryPanel1->ChartAt(i);
    TView3DOptions* v = c->View3DOptions();
    if (c->View3D() == EditedChart->View3D() && v->Orthogonal() == mine->Orthogonal() &&
        v->OrthoAngle() == mine->OrthoAngle() && v->Rotation() == mine->Rotation() &&
        v->Elevation() == mine->Elevation())
      match = c;
  }
  Filling = true;
  ChartGalleryPanel1->SelectChart(match);
  Filling = false;
}

void TFormGraf3D::ChartGalleryPanel1ChangeChart(TObject*) {
  TGalleryChart* c = ChartGalleryPanel1->SelectedChart;
  if (Filling || !c || !EditedChart) return;
  TView3DOptions* v = EditedChart->View3DOptions();
  EditedChart->SetView3D(c->View3D());
  v->SetOrthogonal(c->View3DOptions()->Orthogonal());
  v->SetOrthoAngle(c->View3DOptions()->OrthoAngle());
  v->SetRotation(c->View3DOptions()->Rotation());
  v->SetElevation(c->View3DOptions()->Elevation());
}

void TFormGraf3D::CBView3dClick(TObject*) {
  if (Filling || !EditedChart) return;
  EditedChart->SetView3D(CBView3d->Checked());
  ApplyEnabling();
}

void TFormGraf3D::CBOrthogonalClick(TObject*) {
  if (Filling || !EditedChart) return;
  EditedChart->View3DOptions()->SetOrthogonal(CBOrthogonal->Checked());
  ApplyEnabling();
}

void TFormGraf3D::SE3dChange(TObject*) {
  if (Filling || !FormShowing(this)) return;
  if (TCustomAxisPanel* axes = AxisPanel()) axes->SetChart3DPercent(UD3D->Position());
}

void TFormGraf3D::EOrthoAngleChange(TObject*) {
  if (!Filling && FormShowing(this) && EditedChart) EditedChart->View3DOptions()->SetOrthoAngle(UDOrthoAngle->Position());
}

void TFormGraf3D::ETextSizeChange(TObject*) {
  if (!Filling && FormShowing(this) && EditedChart) EditedChart->View3DOptions()->SetFontZoom(UDTextSize->Position());
}

void TFormGraf3D::SBRotationChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetRotation(SBRotation->Position());
  LRotation->SetCaption(IntToStr(SBRotation->Position()));
}

void TFormGraf3D::SBElevationChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetElevation(SBElevation->Position());
  LElevation->SetCaption(IntToStr(SBElevation->Position()));
}

void TFormGraf3D::SBZoomChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetZoom(SBZoom->Position());
  LZoom->SetCaption(IntToStr(SBZoom->Position()) + "%");
}

void TFormGraf3D::SBHOffsetChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetHorizOffset(SBHOffset->Position());
  LHOffset->SetCaption(IntToStr(SBHOffset->Position()));
}

void TFormGraf3D::SBVOffsetChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetVertOffset(SBVOffset->Position());
  LVOffset->SetCaption(IntToStr(SBVOffset->Position()));
}

void TFormGraf3D::SBPerspecChange(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetPerspective(SBPerspec->Position());
  LPerspec->SetCaption(IntToStr(SBPerspec->Position()));
}

void TFormGraf3D::CBZoomTextClick(TObject*) {
  if (!Filling && EditedChart) EditedChart->View3DOptions()->SetZoomText(CBZoomText->Checked());
}

void TFormGraf3D::CBClipPointsClick(TObject*) {
  if (Filling) return;
  if (TCustomAxisPanel* axes = AxisPanel()) axes->SetClipPoints(CBClipPoints->Checked());
}

void Register3DPageClasses() { RegisterClasses({&TFormGraf3D::StaticClass()}); }
