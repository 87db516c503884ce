#include "chart/extra/grafgaugeeditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafpolareditor.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGaugeSeriesEditor, TForm)

TGaugeSeriesEditor::TGaugeSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(380);
  SetClientHeight(170);
  FTabs = new TEditorTabs(this);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 380, 170);
  PageControl1->SetAlign(alClient);
  TabOptions = MakeEditorSheet(this, PageControl1, "TabOptions", "Options");
  TabLabels = MakeEditorSheet(this, PageControl1, "TabLabels", "Labels");
  TabTicks = MakeEditorSheet(this, PageControl1, "TabTicks", "Ticks");

  BLine = Make<TButtonPen>(this, TabOptions, "BLine", 8, 6, 85, 25, "&Line...");
  BAxis = Make<TButtonPen>(this, TabOptions, "BAxis", 8, 34, 85, 25, "&Axis...");
  Button1 = Make<TButton>(this, TabOptions, "Button1", 8, 62, 85, 25, "&Center...");
  Button3 = Make<TButton>(this, TabOptions, "Button3", 8, 90, 85, 25, "End Point...");
  CheckBox4 = Make<TCheckBox>(this, TabOptions, "CheckBox4", 8, 120, 100, 17, "Full Repaint");
  ComboBox1 = Make<TComboFlat>(this, TabOptions, "ComboBox1", 200, 6, 80, 21);
  ComboBox1->SetStyle(csDropDownList);
  for (const char* s : {"Line", "Triangle"}) ComboBox1->Items()->Add(s);
  Label3 = MakeLabel(this, TabOptions, "Label3", 110, 10, "Hand style:", ComboBox1);
  Edit6 = Make<TEdit>(this, TabOptions, "Edit6", 200, 34, 45, 21);
  UDAngle = MakeEditUpDown(this, TabOptions, "UDAngle", Edit6, 0, 360);
  UDAngle->SetPosition(90);
  Label6 = MakeLabel(this, TabOptions, "Label6", 110, 38, "Total angle:", Edit6);
  Edit7 = Make<TEdit>(this, TabOptions, "Edit7", 200, 62, 45, 21);
  UDDist = MakeEditUpDown(this, TabOptions, "UDDist", Edit7, -500, 500);
  Label7 = MakeLabel(this, TabOptions, "Label7", 110, 66, "Distance:", Edit7);
  Edit8 = Make<TEdit>(this, TabOptions, "Edit8", 200, 90, 60, 21);
  UDValue = MakeEditUpDown(this, TabOptions, "UDValue", Edit8, -32767, 32767);
  Label8 = MakeLabel(this, TabOptions, "Label8", 110, 94, "&Value:", Edit8);

  CheckBox1 = Make<TCheckBox>(this, TabLabels, "CheckBox1", 8, 8, 100, 17, "Show labels");
  CheckBox1->SetChecked(true);
  Button2 = Make<TButton>(this, TabLabels, "Button2", 120, 4, 85, 25, "&Font...");
  Edit1 = Make<TEdit>(this, TabLabels, "Edit1", 70, 36, 110, 21);
  Label1 = MakeLabel(this, TabLabels, "Label1", 8, 40, "Format:", Edit1);
  CBInside = Make<TCheckBox>(this, TabLabels, "CBInside", 8, 66, 100, 17, "&Inside");
  CBInside->SetChecked(true);
  Edit11 = Make<TEdit>(this, TabLabels, "Edit11", 70, 90, 60, 21);
  UDIncrement = MakeEditUpDown(this, TabLabels, "UDIncrement", Edit11, 0, 32767);
  Label11 = MakeLabel(this, TabLabels, "Label11", 8, 94, "&Increment:", Edit11);

  BTicks = Make<TButtonPen>(this, TabTicks, "BTicks", 8, 6, 85, 25, "&Ticks");
  BMinor = Make<TButtonPen>(this, TabTicks, "BMinor", 8, 34, 85, 25, "&Minor");
  Edit4 = Make<TEdit>(this, TabTicks, "Edit4", 180, 6, 40, 21);
  UpDown3 = MakeEditUpDown(this, TabTicks, "UpDown3", Edit4, 0, 100);
  Label4 = MakeLabel(this, TabTicks, "Label4", 100, 10, "Length:", Edit4);
  Edit2 = Make<TEdit>(this, TabTicks, "Edit2", 180, 32, 40, 21);
  UpDown1 = MakeEditUpDown(this, TabTicks, "UpDown1", Edit2, 0, 100);
  Label2 = MakeLabel(this, TabTicks, "Label2", 100, 36, "Minor count:", Edit2);
  Edit5 = Make<TEdit>(this, TabTicks, "Edit5", 180, 58, 40, 21);
  UpDown4 = MakeEditUpDown(this, TabTicks, "UpDown4", Edit5, 0, 100);
  Label5 = MakeLabel(this, TabTicks, "Label5", 100, 62, "Minor length:", Edit5);
  Edit3 = Make<TEdit>(this, TabTicks, "Edit3", 180, 84, 40, 21);
  UpDown2 = MakeEditUpDown(this, TabTicks, "UpDown2", Edit3, 0, 100);
  Label9 = MakeLabel(this, TabTicks, "Label9", 100, 88, "Distance:", Edit3);
  Edit9 = Make<TEdit>(this, TabTicks, "Edit9", 304, 6, 50, 21);
  UDMin = MakeEditUpDown(this, TabTicks, "UDMin", Edit9, -32767, 32767);
  Label10 = MakeLabel(this, TabTicks, "Label10", 240, 10, "&Minimum:", Edit9);
  Edit10 = Make<TEdit>(this, TabTicks, "Edit10", 304, 32, 50, 21);
  UDMax = MakeEditUpDown(this, TabTicks, "UDMax", Edit10, -32767, 32767);
  Label12 = MakeLabel(this, TabTicks, "Label12", 240, 36, "Ma&ximum:", Edit10);

  CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
  Edit6->OnChange = [this](TObject* s) { Edit6Change(s); };
  Edit7->OnChange = [this](TObject* s) { Edit7Change(s); };
  Edit8->OnChange = [this](TObject* s) { Edit8Change(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBInside->OnClick = [this](TObject* s) { CBInsideClick(s); };
  Edit11->OnChange = [this](TObject* s) { Edit11Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  Edit4->OnChange = [this](TObject* s) { Edit4Change(s); };
  Edit5->OnChange = [this](TObject* s) { Edit5Change(s); };
  Edit3->OnChange = [this](TObject* s) { Edit3Change(s); };
  Edit9->OnChange = [this](TObject* s) { Edit9Change(s); };
  Edit10->OnChange = [this](TObject* s) { Edit10Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TGaugeSeriesEditor::~TGaugeSeriesEditor() { FireOnDestroy(this); }

void TGaugeSeriesEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  SetAlign(alClient);
  PageControl1->SetActivePage(TabOptions);
}

void TGaugeSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

bool TGaugeSeriesEditor::CanApply() const { return !FLoading && Series && FormShowing(this); }

TChartAxis* TGaugeSeriesEditor::EditableAxis() const { return CanApply() ? Series->GetVertAxis() : nullptr; }

void TGaugeSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TGaugeSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  // The form shows the gauge as it is: its hand style, repainting and
  // minor tick distance too, not the values the form was made with.
  ComboBox1->SetItemIndex(Series->HandStyle() == hsLine ? 0 : 1);
  CheckBox4->SetChecked(Series->FullRepaint());
  UpDown2->SetPosition(Series->MinorTickDistance());
  UDAngle->SetPosition(static_cast<int>(Round(Series->TotalAngle())));
  UDMin->SetMax(32767);
  UDMax->SetMin(-32767);
  UDMin->SetPosition(static_cast<int>(Round(Series->Minimum())));
  UDMax->SetPosition(static_cast<int>(Round(Series->Maximum())));
  // Neither up-down steps past the other's value, as after an edit.
  UDMax->SetMin(UDMin->Position());
  UDMin->SetMax(UDMax->Position());
  UDValue->SetPosition(static_cast<int>(Round(Series->Value())));
  CBInside->SetChecked(Series->LabelsInside());
  UDDist->SetPosition(Series->HandDistance());
  Edit1->SetText(Series->ValueFormat());
  BLine->LinkPen(Series->Pen());
  if (TChartAxis* axis = Series->GetVertAxis()) {
    UDIncrement->SetPosition(static_cast<int>(Round(axis->Increment())));
    UpDown1->SetPosition(axis->MinorTickCount());
    UpDown3->SetPosition(axis->TickLength());
    UpDown4->SetPosition(axis->MinorTickLength());
    CheckBox1->SetChecked(axis->Labels());
    BAxis->LinkPen(axis->Axis());
    BTicks->LinkPen(axis->Ticks());
    BMinor->LinkPen(axis->MinorTicks());
  }
  FLoading = false;
  if (!FCircledForm) {
    FTabs->Keep(FCircledForm, AddCircledEditorPage(this, Series));
    if (FCircledForm)
      for (const char* name : {"BBack", "CBTransp"})
        if (auto* c = dynamic_cast<TControl*>(FCircledForm->FindComponent(name))) c->Hide();
  }
}

void TGaugeSeriesEditor::CheckBox4Click(TObject*) {
  if (!FLoading && Series) Series->SetFullRepaint(CheckBox4->Checked());
}

void TGaugeSeriesEditor::Button1Click(TObject*) {
  if (Series) RunPointerEditor(this, Series->Center());
}

void TGaugeSeriesEditor::Button3Click(TObject*) {
  if (Series) RunPointerEditor(this, Series->EndPoint());
}

void TGaugeSeriesEditor::ComboBox1Change(TObject*) {
  if (!FLoading && Series && ComboBox1->ItemIndex() >= 0)
    Series->SetHandStyle(ComboBox1->ItemIndex() == 0 ? hsLine : hsTriangle);
}

void TGaugeSeriesEditor::Edit6Change(TObject*) {
  if (CanApply()) Series->SetTotalAngle(UDAngle->Position());
}

void TGaugeSeriesEditor::Edit7Change(TObject*) {
  if (CanApply()) Series->SetHandDistance(UDDist->Position());
}

void TGaugeSeriesEditor::Edit8Change(TObject*) {
  if (CanApply()) Series->SetValue(UDValue->Position());
}

void TGaugeSeriesEditor::CheckBox1Click(TObject*) {
  if (TChartAxis* axis = EditableAxis()) axis->SetLabels(CheckBox1->Checked());
}

void TGaugeSeriesEditor::Button2Click(TObject*) {
  if (TChartAxis* axis = EditableAxis()) RunGrafFontEditor(this, axis->LabelsFont());
}

void TGaugeSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series) Series->SetValueFormat(Edit1->Text());
}

void TGaugeSeriesEditor::CBInsideClick(TObject*) {
  if (!FLoading && Series) Series->SetLabelsInside(CBInside->Checked());
}

void TGaugeSeriesEditor::Edit11Change(TObject*) {
  if (TChartAxis* axis = EditableAxis()) axis->SetIncrement(UDIncrement->Position());
}

void TGaugeSeriesEditor::Edit2Change(TObject*) {
  if (TChartAxis* axis = EditableAxis()) axis->SetMinorTickCount(UpDown1->Position());
}

void TGaugeSeriesEditor::Edit4Change(TObject*) {
  if (TChartAxis* axis = EditableAxis()) axis->SetTickLength(UpDown3->Position());
}

void TGaugeSeriesEditor::Edit5Change(TObject*) {
  if (TChartAxis* axis = EditableAxis()) axis->SetMinorTickLength(UpDown4->Position());
}

void TGaugeSeriesEditor::Edit3Change(TObject*) {
  if (CanApply()) Series->SetMinorTickDistance(UpDown2->Position());
}

void TGaugeSeriesEditor::Edit9Change(TObject*) {
  if (!CanApply()) return;
  Series->SetMinimum(UDMin->Position());
  UDMax->SetMin(static_cast<int>(Round(Series->Minimum())));
}

void TGaugeSeriesEditor::Edit10Change(TObject*) {
  if (!CanApply()) return;
  Series->SetMaximum(UDMax->Position());
  UDMin->SetMax(static_cast<int>(Round(Series->Maximum())));
}
