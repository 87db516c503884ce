#include "chart/editor/grafcirclededit.h"

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCircledSeriesEditor, TForm)

namespace {
TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max,
                    int Step) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetIncrement(Step);
  ud->SetAssociate(Edit);
  return ud;
}
}  // namespace

TCircledSeriesEditor::TCircledSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(320);
  SetClientHeight(160);
  SetPosition(poScreenCenter);
  CBCircled = Make<TCheckBox>(this, this, "CBCircled", 8, 8, 100, 17, "&Circled");
  CB3D = Make<TCheckBox>(this, this, "CB3D", 8, 28, 110, 17, "&3 Dimensions");
  Edit1 = Make<TEdit>(this, this, "Edit1", 70, 52, 40, 21);
  UDRot = MakeUpDown(this, this, "UDRot", Edit1, 0, 360, 5);
  UDRot->SetWrap(true);
  Label1 = MakeLabel(this, this, "Label1", 8, 56, "&Rotation:", Edit1);
  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 140, 4, 170, 80);
  GroupBox2->SetCaption("Radius:");
  Edit2 = Make<TEdit>(this, GroupBox2, "Edit2", 70, 16, 40, 21);
  UDX = MakeUpDown(this, GroupBox2, "UDX", Edit2, 0, 2000, 5);
  Label2 = MakeLabel(this, GroupBox2, "Label2", 8, 20, "&Horizontal:", Edit2);
  CBAutoXR = Make<TCheckBox>(this, GroupBox2, "CBAutoXR", 120, 18, 48, 17, "&Auto");
  CBAutoXR->SetChecked(true);
  Edit3 = Make<TEdit>(this, GroupBox2, "Edit3", 70, 44, 40, 21);
  UDY = MakeUpDown(this, GroupBox2, "UDY", Edit3, 0, 2000, 5);
  Label3 = MakeLabel(this, GroupBox2, "Label3", 8, 48, "&Vertical:", Edit3);
  CBAutoYR = Make<TCheckBox>(this, GroupBox2, "CBAutoYR", 120, 46, 48, 17, "A&uto");
  CBAutoYR->SetChecked(true);
  BBack = Make<TButtonColor>(this, this, "BBack", 8, 92, 90, 25, "C&olor...");
  CBTransp = Make<TCheckBox>(this, this, "CBTransp", 106, 96, 100, 17, "&Transparent");
  BGradient = Make<TButtonGradient>(this, this, "BGradient", 8, 122, 90, 25, "&Gradient...");

  CBCircled->OnClick = [this](TObject* s) { CBCircledClick(s); };
  CB3D->OnClick = [this](TObject* s) { CB3DClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  Edit3->OnChange = [this](TObject* s) { Edit3Change(s); };
  CBAutoXR->OnClick = [this](TObject* s) { CBAutoXRClick(s); };
  CBAutoYR->OnClick = [this](TObject* s) { CBAutoYRClick(s); };
  BBack->OnClick = [this](TObject* s) { BBackClick(s); };
  CBTransp->OnClick = [this](TObject* s) { CBTranspClick(s); };
  BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TCircledSeriesEditor::SetTransparentBox(bool Checked) {
  const bool was = FLoading;
  FLoading = true;
  CBTransp->SetChecked(Checked);
  CBTransp->SetEnabled(!Checked);
  FLoading = was;
}

void TCircledSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCircledSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBCircled->SetChecked(Series->Circled());
  CB3D->SetChecked(Series->ParentChart() && Series->ParentChart()->View3D());
  UDRot->SetPosition(Series->RotationAngle());
  UDX->SetPosition(Series->CustomXRadius());
  CBAutoXR->SetChecked(Series->CustomXRadius() == 0);
  UDY->SetPosition(Series->CustomYRadius());
  CBAutoYR->SetChecked(Series->CustomYRadius() == 0);
  BBack->LinkProperty(Series, "CircleBackColor");
  BGradient->LinkGradient(Series->CircleGradient());
  SetTransparentBox(!Series->HasBackColor());
  FLoading = false;
}

void TCircledSeriesEditor::CBCircledClick(TObject*) {
  if (!FLoading && Series) Series->SetCircled(CBCircled->Checked());
}

void TCircledSeriesEditor::CB3DClick(TObject*) {
  if (!FLoading && Series && Series->ParentChart()) Series->ParentChart()->SetView3D(CB3D->Checked());
}

void TCircledSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetRotationAngle(UDRot->Position());
}

void TCircledSeriesEditor::Edit2Change(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  Series->SetCustomXRadius(UDX->Position());
  FLoading = true;
  CBAutoXR->SetChecked(UDX->Position() == 0);
  FLoading = false;
}

void TCircledSeriesEditor::Edit3Change(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  Series->SetCustomYRadius(UDY->Position());
  FLoading = true;
  CBAutoYR->SetChecked(UDY->Position() == 0);
  FLoading = false;
}

void TCircledSeriesEditor::CBAutoXRClick(TObject*) {
  if (!FLoading && CBAutoXR->Checked()) UDX->SetPosition(0);
}

void TCircledSeriesEditor::CBAutoYRClick(TObject*) {
  if (!FLoading && CBAutoYR->Checked()) UDY->SetPosition(0);
}

void TCircledSeriesEditor::BBackClick(TObject*) {
  CBTransp->SetEnabled(true);
  SetTransparentBox(false);
}

void TCircledSeriesEditor::CBTranspClick(TObject*) {
  if (FLoading || !Series || !CBTransp->Checked()) return;
  Series->SetCircleBackColor(clDefault);
  Series->CircleGradient()->SetVisible(false);
  BBack->Repaint();
  CBTransp->SetEnabled(false);
}

void TCircledSeriesEditor::BGradientClick(TObject*) {
  if (Series && Series->CircleGradient()->Visible()) SetTransparentBox(false);
}

TCircledSeriesEditor* AddCircledEditorPage(TCustomForm* EditorForm, TCircledSeries* Series) {
  return dynamic_cast<TCircledSeriesEditor*>(CreateSeriesEditorTab(
      EditorForm ? EditorForm->Parent() : nullptr, &TCircledSeriesEditor::StaticClass(), 1, "Circled", Series));
}

void RegisterCircledEditorClasses() { RegisterClasses({&TCircledSeriesEditor::StaticClass()}); }
