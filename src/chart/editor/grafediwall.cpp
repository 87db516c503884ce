#include "chart/editor/grafediwall.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"

using namespace editorbuild;

namespace {
TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 40, 21);
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 40, Top, 15, 21);
  UpDown->SetMin(0);
  UpDown->SetMax(100);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(0);
  return e;
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormGrafWall, TForm)

TFormGrafWall::TFormGrafWall(TComponent* AOwner, TCustomChartWall* Wall) : TForm(AOwner), CurrentWall(Wall) {
  SetClientWidth(330);
  SetClientHeight(220);
  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 0, 330, 30);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  CBView3dWalls = Make<TCheckBox>(this, Panel1, "CBView3dWalls", 6, 6, 110, 17, "&Visible Walls");
  EAllSize = MakeSpin(this, Panel1, "EAllSize", "UDAllSize", 180, 4, UDAllSize);
  MakeLabel(this, Panel1, "LAllSize", 140, 8, "Size:", EAllSize);
  // Its children stand below the row of tabs.
  TabSubWalls = Make<TTabControl>(this, this, "TabSubWalls", 0, 30, 330, 190);
  TabSubWalls->SetAlign(alClient);
  CBVisible = Make<TCheckBox>(this, TabSubWalls, "CBVisible", 8, 36, 90, 17, "V&isible");
  BWallColor = Make<TButtonColor>(this, TabSubWalls, "BWallColor", 8, 58, 90, 25, "&Color...");
  BWallPen = Make<TButtonPen>(this, TabSubWalls, "BWallPen", 8, 88, 90, 25, "B&order...");
  BWallBrush = Make<TButton>(this, TabSubWalls, "BWallBrush", 8, 118, 90, 25, "&Pattern...");
  BGradient = Make<TButtonGradient>(this, TabSubWalls, "BGradient", 8, 148, 90, 25, "&Gradient...");
  SEWallSize = MakeSpin(this, TabSubWalls, "SEWallSize", "UDWallSize", 190, 36, UDWallSize);
  MakeLabel(this, TabSubWalls, "LWallSize", 110, 40, "Siz&e:", SEWallSize);
  CBTransp = Make<TCheckBox>(this, TabSubWalls, "CBTransp", 110, 64, 110, 17, "&Transparent");
  Edit1 = MakeSpin(this, TabSubWalls, "Edit1", "UDTransp", 190, 86, UDTransp);
  MakeLabel(this, TabSubWalls, "LTransp", 110, 90, "T&ransparency:", Edit1);
  CBDark3D = Make<TCheckBox>(this, TabSubWalls, "CBDark3D", 110, 116, 110, 17, "&Dark 3D");
  CBAutoHide = Make<TCheckBox>(this, TabSubWalls, "CBAutoHide", 110, 136, 110, 17, "&Auto Hide");

  TabSubWalls->OnChange = [this](TObject* s) { TabSubWallsChange(s); };
  CBView3dWalls->OnClick = [this](TObject* s) { CBView3dWallsClick(s); };
  EAllSize->OnChange = [this](TObject* s) { EAllSizeChange(s); };
  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  BWallBrush->OnClick = [this](TObject* s) { BWallBrushClick(s); };
  BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
  SEWallSize->OnChange = [this](TObject* s) { SEWallSizeChange(s); };
  CBTransp->OnClick = [this](TObject* s) { CBTranspClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBDark3D->OnClick = [this](TObject* s) { CBDark3DClick(s); };
  CBAutoHide->OnClick = [this](TObject* s) { CBAutoHideClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGrafWall::FormCreate(TObject*) {
  SetAlign(alClient);
  for (const char* t : {"Left", "Right", "Bottom", "Back"}) TabSubWalls->Tabs()->Add(t);
}

void TFormGrafWall::FormShow(TObject*) {
  TCustomChart* chart = Chart();
  if (!chart) return;
  const int tab = CurrentWall == chart->LeftWall() ? 0 : CurrentWall == chart->RightWall() ? 1
                  : CurrentWall == chart->BottomWall() ? 2 : 3;
  TabSubWalls->SetTabIndex(tab);
  FillWall();
}

void TFormGrafWall::TabSubWallsChange(TObject*) {
  TCustomChart* chart = Chart();
  if (!chart) return;
  switch (TabSubWalls->TabIndex()) {
    case 0: CurrentWall = chart->LeftWall(); break;
    case 1: CurrentWall = chart->RightWall(); break;
    case 2: CurrentWall = chart->BottomWall(); break;
    default: CurrentWall = chart->BackWall(); break;
  }
  FillWall();
}

void TFormGrafWall::FillWall() {
  TCustomChartWall* w = CurrentWall;
  FFilling = true;
  CBView3dWalls->SetChecked(Chart()->View3DWalls());
  UDWallSize->SetPosition(w->Size());
  CBTransp->SetChecked(w->Transparent());
  CBDark3D->SetChecked(w->Dark3D());
  CBDark3D->SetEnabled(w->Size() > 0);
  CBVisible->SetChecked(w->Visible());
  CBAutoHide->SetChecked(w->AutoHide());
  UDTransp->SetPosition(w->Transparency());
  FSizingAll = true;
  UDAllSize->SetPosition(w->Size());
  FSizingAll = false;
  BWallPen->LinkPen(w->Pen());
  BGradient->LinkGradient(w->Gradient());
  BWallColor->LinkProperty(w, "Color");
  BWallColor->Invalidate();
  CBAutoHide->SetVisible(w != Chart()->BottomWall());
  FFilling = false;
}

void TFormGrafWall::CBView3dWallsClick(TObject*) {
  if (!Quiet()) Chart()->SetView3DWalls(CBView3dWalls->Checked());
}

void TFormGrafWall::EAllSizeChange(TObject*) {
  if (Quiet() || FSizingAll || !FormShowing(this)) return;
  Chart()->Walls()->SetSize(UDAllSize->Position());
  FillWall();
}

void TFormGrafWall::CBVisibleClick(TObject*) {
  if (!Quiet()) CurrentWall->SetVisible(CBVisible->Checked());
}

void TFormGrafWall::BWallBrushClick(TObject*) {
  if (CurrentWall) RunBrushDialog(this, CurrentWall->Brush());
}

void TFormGrafWall::BGradientClick(TObject*) {
  if (!CurrentWall || !CurrentWall->Gradient()->Visible()) return;
  // A visible gradient shows only on an opaque wall.
  CurrentWall->SetTransparent(false);
  CBTransp->SetChecked(false);
}

void TFormGrafWall::SEWallSizeChange(TObject*) {
  if (Quiet() || !FormShowing(this)) return;
  CurrentWall->SetSize(UDWallSize->Position());
  CBDark3D->SetEnabled(CurrentWall->Size() > 0);
}

void TFormGrafWall::CBTranspClick(TObject*) {
  if (!Quiet()) CurrentWall->SetTransparent(CBTransp->Checked());
}

void TFormGrafWall::Edit1Change(TObject*) {
  if (!Quiet() && FormShowing(this)) CurrentWall->SetTransparency(UDTransp->Position());
}

void TFormGrafWall::CBDark3DClick(TObject*) {
  if (!Quiet()) CurrentWall->SetDark3D(CBDark3D->Checked());
}

void TFormGrafWall::CBAutoHideClick(TObject*) {
  if (!Quiet()) CurrentWall->SetAutoHide(CBAutoHide->Checked());
}

void RegisterWallPageClasses() { RegisterClasses({&TFormGrafWall::StaticClass()}); }
