#include "chart/editor/graftoweredit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TTowerSeriesEditor, TForm)

namespace {
TUpDown* MakePercent(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(0);
  ud->SetMax(100);
  ud->SetIncrement(5);
  ud->SetAssociate(Edit);
  return ud;
}
}  // namespace

TTowerSeriesEditor::TTowerSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(340);
  SetClientHeight(150);
  SetBorderStyle(bsDialog);
  FTabs = new TEditorTabs(this);
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 8, 90, 25, "&Border...");
  Button1 = Make<TButton>(this, this, "Button1", 8, 38, 90, 25, "&Pattern...");
  CBDark3D = Make<TCheckBox>(this, this, "CBDark3D", 8, 70, 90, 17, "&Dark 3D");
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 106, 4, 110, 70);
  GroupBox1->SetCaption("Origin:");
  CBOrigin = Make<TCheckBox>(this, GroupBox1, "CBOrigin", 8, 16, 90, 17, "&Use Origin");
  EOrigin = Make<TEdit>(this, GroupBox1, "EOrigin", 8, 40, 90, 21);
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 50, 96, 100, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"Cube", "Rectangle", "Cover", "Cylinder", "Arrow", "Cone", "Pyramid", "Slant Cube"})
    CBStyle->Items()->Add(s);
  Label1 = MakeLabel(this, this, "Label1", 8, 100, "&Style:", CBStyle);
  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 224, 4, 110, 70);
  GroupBox2->SetCaption("&Percent:");
  Edit1 = Make<TEdit>(this, GroupBox2, "Edit1", 54, 16, 35, 21);
  UDDepth = MakePercent(this, GroupBox2, "UDDepth", Edit1);
  Label2 = MakeLabel(this, GroupBox2, "Label2", 8, 20, "&Depth:", Edit1);
  Edit2 = Make<TEdit>(this, GroupBox2, "Edit2", 54, 42, 35, 21);
  UDWidth = MakePercent(this, GroupBox2, "UDWidth", Edit2);
  Label3 = MakeLabel(this, GroupBox2, "Label3", 8, 46, "&Width:", Edit2);
  Edit3 = Make<TEdit>(this, this, "Edit3", 278, 96, 35, 21);
  UDTransp = MakePercent(this, this, "UDTransp", Edit3);
  Label4 = MakeLabel(this, this, "Label4", 190, 100, "&Transparency:", Edit3);

  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  CBDark3D->OnClick = [this](TObject* s) { CBDark3DClick(s); };
  CBOrigin->OnClick = [this](TObject* s) { CBOriginClick(s); };
  EOrigin->OnChange = [this](TObject* s) { EOriginChange(s); };
  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  Edit3->OnChange = [this](TObject* s) { Edit3Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TTowerSeriesEditor::~TTowerSeriesEditor() { FireOnDestroy(this); }

void TTowerSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TTowerSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TTowerSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  ButtonPen1->LinkPen(Series->Pen());
  CBDark3D->SetChecked(Series->Dark3D());
  CBOrigin->SetChecked(Series->UseOrigin());
  EOrigin->SetText(FloatToStr(Series->Origin()));
  CBStyle->SetItemIndex(Series->TowerStyle());
  UDDepth->SetPosition(Series->PercentDepth());
  UDWidth->SetPosition(Series->PercentWidth());
  UDTransp->SetPosition(Series->Transparency());
  FLoading = false;
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
}

void TTowerSeriesEditor::Button1Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TTowerSeriesEditor::CBDark3DClick(TObject*) {
  if (!FLoading && Series) Series->SetDark3D(CBDark3D->Checked());
}

void TTowerSeriesEditor::CBOriginClick(TObject*) {
  if (!FLoading && Series) Series->SetUseOrigin(CBOrigin->Checked());
}

void TTowerSeriesEditor::EOriginChange(TObject*) {
  if (!FLoading && Series) Series->SetOrigin(StrToFloatDef(EOrigin->Text(), Series->Origin()));
}

void TTowerSeriesEditor::CBStyleChange(TObject*) {
  if (!FLoading && Series && CBStyle->ItemIndex() >= 0)
    Series->SetTowerStyle(static_cast<TTowerStyle>(CBStyle->ItemIndex()));
}

void TTowerSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetPercentDepth(UDDepth->Position());
}

void TTowerSeriesEditor::Edit2Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetPercentWidth(UDWidth->Position());
}

void TTowerSeriesEditor::Edit3Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void RegisterTowerEditorClasses() { RegisterClasses({&TTowerSeriesEditor::StaticClass()}); }
