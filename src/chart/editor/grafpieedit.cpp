#include "chart/editor/grafpieedit.h"

#include <memory>

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafshadoweditor.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPieSeriesEditor, TForm)

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

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TPieSeriesEditor::TPieSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(340);
  SetClientHeight(190);
  FTabs = new TEditorTabs(this);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 340, 190);
  PageControl1->SetAlign(alClient);
  TabOptions = MakeSheet(this, PageControl1, "TabOptions", "Options");
  TabGroup = MakeSheet(this, PageControl1, "TabGroup", "Group Slices");
  TabColors = MakeSheet(this, PageControl1, "TabColors", "Colors");

  SEExpBig = Make<TEdit>(this, TabOptions, "SEExpBig", 100, 6, 40, 21);
  UDExpBig = MakeUpDown(this, TabOptions, "UDExpBig", SEExpBig, 0, 100, 5);
  Label1 = MakeLabel(this, TabOptions, "Label1", 8, 10, "&Explode biggest:", SEExpBig);
  Edit1 = Make<TEdit>(this, TabOptions, "Edit1", 100, 32, 40, 21);
  UDAngleSize = MakeUpDown(this, TabOptions, "UDAngleSize", Edit1, 1, 360, 5);
  UDAngleSize->SetPosition(360);
  Label2 = MakeLabel(this, TabOptions, "Label2", 8, 36, "Total angle:", Edit1);
  Edit2 = Make<TEdit>(this, TabOptions, "Edit2", 100, 58, 40, 21);
  UpDown1 = MakeUpDown(this, TabOptions, "UpDown1", Edit2, 0, 255, 5);
  UpDown1->SetPosition(255);
  Label3 = MakeLabel(this, TabOptions, "Label3", 8, 62, "Dark Border:", Edit2);
  CBMultiple = Make<TComboFlat>(this, TabOptions, "CBMultiple", 100, 84, 90, 21);
  CBMultiple->SetStyle(csDropDownList);
  for (const char* s : {"Automatic", "Disable"}) CBMultiple->Items()->Add(s);
  Label4 = MakeLabel(this, TabOptions, "Label4", 8, 88, "&Multiple Pies:", CBMultiple);
  CBDark3d = Make<TCheckBox>(this, TabOptions, "CBDark3d", 8, 112, 90, 17, "&Dark 3D");
  CBPatterns = Make<TCheckBox>(this, TabOptions, "CBPatterns", 8, 132, 90, 17, "Pa&tterns");
  BPen = Make<TButtonPen>(this, TabOptions, "BPen", 210, 6, 110, 25, "&Border...");
  BShadow = Make<TButton>(this, TabOptions, "BShadow", 210, 34, 110, 25, "S&hadow...");
  CBMarksAutoPosition = Make<TCheckBox>(this, TabOptions, "CBMarksAutoPosition", 200, 112, 130, 17,
                                        "&Auto Mark Position");
  CBMarksAutoPosition->SetChecked(true);
  BGradient = Make<TButtonGradient>(this, TabOptions, "BGradient", 210, 62, 110, 25, "3D &Gradient...");
  BGradient->HideEndColor = true;

  CBOther = Make<TComboFlat>(this, TabGroup, "CBOther", 60, 8, 110, 21);
  CBOther->SetStyle(csDropDownList);
  for (const char* s : {"None", "Below %", "Below Value"}) CBOther->Items()->Add(s);
  Label5 = MakeLabel(this, TabGroup, "Label5", 8, 12, "&Style:", CBOther);
  EOtherValue = Make<TEdit>(this, TabGroup, "EOtherValue", 60, 36, 110, 21);
  Label6 = MakeLabel(this, TabGroup, "Label6", 8, 40, "&Value:", EOtherValue);
  EOtherLabel = Make<TEdit>(this, TabGroup, "EOtherLabel", 60, 64, 110, 21);
  EOtherLabel->SetText("Other");
  Label7 = MakeLabel(this, TabGroup, "Label7", 8, 68, "&Label:", EOtherLabel);
  Button2 = Make<TButton>(this, TabGroup, "Button2", 60, 94, 90, 25, "Le&gend...");

  CBColorEach = Make<TCheckBox>(this, TabColors, "CBColorEach", 8, 8, 140, 17, "Color &Each slice");
  BColor = Make<TButtonColor>(this, TabColors, "BColor", 8, 30, 90, 25, "&Color...");

  SEExpBig->OnChange = [this](TObject* s) { SEExpBigChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  CBMultiple->OnChange = [this](TObject* s) { CBMultipleChange(s); };
  CBDark3d->OnClick = [this](TObject* s) { CBDark3dClick(s); };
  CBPatterns->OnClick = [this](TObject* s) { CBPatternsClick(s); };
  BShadow->OnClick = [this](TObject* s) { BShadowClick(s); };
  CBMarksAutoPosition->OnClick = [this](TObject* s) { CBMarksAutoPositionClick(s); };
  CBOther->OnChange = [this](TObject* s) { CBOtherChange(s); };
  EOtherValue->OnChange = [this](TObject* s) { EOtherValueChange(s); };
  EOtherValue->OnExit = [this](TObject* s) { EOtherValueExit(s); };
  EOtherLabel->OnChange = [this](TObject* s) { EOtherLabelChange(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TPieSeriesEditor::~TPieSeriesEditor() { FireOnDestroy(this); }

void TPieSeriesEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  SetAlign(alClient);
  PageControl1->SetActivePage(TabOptions);
}

void TPieSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TPieSeriesEditor::EnableOther() {
  const bool on = CBOther->ItemIndex() > 0;
  EOtherLabel->SetEnabled(on);
  EOtherValue->SetEnabled(on);
}

void TPieSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TPieSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  UDExpBig->SetPosition(Series->ExplodeBiggest());
  UDAngleSize->SetPosition(Series->AngleSize());
  UpDown1->SetPosition(Series->DarkPen());
  CBMultiple->SetItemIndex(Series->MultiPie());
  CBDark3d->SetChecked(Series->Dark3D());
  CBDark3d->SetEnabled(Series->ParentChart() && Series->ParentChart()->View3D());
  CBPatterns->SetChecked(Series->UsePatterns());
  BPen->LinkPen(Series->PiePen());
  CBMarksAutoPosition->SetChecked(Series->AutoMarkPosition());
  BGradient->LinkGradient(Series->Gradient());
  TPieOtherSlice* other = Series->OtherSlice();
  CBOther->SetItemIndex(other->Style());
  EOtherValue->SetText(FloatToStr(other->Value()));
  EOtherLabel->SetText(other->GetText());
  EnableOther();
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BColor->SetEnabled(!Series->ColorEachPoint());
  LinkSeriesColorButton(BColor, Series);
  FLoading = false;
  if (!FCircledForm) {
    FTabs->Keep(FCircledForm, AddCircledEditorPage(this, Series));
    if (FCircledForm)
      for (const char* name : {"BBack", "CBTransp", "BGradient"})
        if (auto* c = dynamic_cast<TControl*>(FCircledForm->FindComponent(name))) c->Hide();
  }
}

void TPieSeriesEditor::SEExpBigChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetExplodeBiggest(UDExpBig->Position());
}

void TPieSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetAngleSize(UDAngleSize->Position());
}

void TPieSeriesEditor::Edit2Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetDarkPen(UpDown1->Position());
}

void TPieSeriesEditor::CBMultipleChange(TObject*) {
  if (!FLoading && Series && CBMultiple->ItemIndex() >= 0)
    Series->SetMultiPie(static_cast<TMultiPie>(CBMultiple->ItemIndex()));
}

void TPieSeriesEditor::CBDark3dClick(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetDark3D(CBDark3d->Checked());
}

void TPieSeriesEditor::CBPatternsClick(TObject*) {
  if (!FLoading && Series) Series->SetUsePatterns(CBPatterns->Checked());
}

void TPieSeriesEditor::BShadowClick(TObject*) {
  if (!Series) return;
  std::unique_ptr<TGrafShadowEditor> editor(new TGrafShadowEditor(this));
  SetupEditorDialog(editor.get());
  editor->BindShadow(Series->Shadow());
  editor->ShowModal();
}

void TPieSeriesEditor::CBMarksAutoPositionClick(TObject*) {
  if (!FLoading && Series) Series->SetAutoMarkPosition(CBMarksAutoPosition->Checked());
}

void TPieSeriesEditor::CBOtherChange(TObject*) {
  if (!FLoading && Series && CBOther->ItemIndex() >= 0)
    Series->OtherSlice()->SetStyle(static_cast<TPieOtherStyle>(CBOther->ItemIndex()));
  EnableOther();
}

void TPieSeriesEditor::EOtherValueChange(TObject*) {
  if (FLoading || !Series) return;
  // A half-typed number keeps the slice value; leaving the box reports it.
  double value;
  if (ReadTypedNumber(EOtherValue->Text(), value)) Series->OtherSlice()->SetValue(value);
}

void TPieSeriesEditor::EOtherValueExit(TObject*) {
  if (Series) ReportUnreadableNumber(EOtherValue, true);
}

void TPieSeriesEditor::EOtherLabelChange(TObject*) {
  if (!FLoading && Series) Series->OtherSlice()->SetText(EOtherLabel->Text());
}

void TPieSeriesEditor::Button2Click(TObject*) {
  if (!Series) return;
  // The legend page, found by name as every editor form is.
  TClass cls = GetClass("TFormGrafLegend");
  if (!cls) return;
  std::unique_ptr<TCustomForm> form(CreateEditorDialog(cls, this));
  if (!form) return;
  form->SetTag(reinterpret_cast<intptr_t>(Series->OtherSlice()->Legend()));
  form->ShowModal();
}

void TPieSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BColor->SetEnabled(!CBColorEach->Checked());
}

void RegisterPieSeriesEditorClasses() { RegisterClasses({&TPieSeriesEditor::StaticClass()}); }
