#include "chart/editor/grafcustedit.h"

#include <memory>

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafshadoweditor.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCustomSeriesEditor, TForm)

TCustomSeriesEditor::TCustomSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(380);
  SetClientHeight(170);
  FTabs = new TEditorTabs(this);
  BLineColor = Make<TButtonColor>(this, this, "BLineColor", 8, 8, 90, 25, "&Color...");
  BLineBorder = Make<TButtonPen>(this, this, "BLineBorder", 8, 38, 90, 25, "&Border...");
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 8, 70, 100, 17, "Color &Each");
  CheckBox1 = Make<TCheckBox>(this, this, "CheckBox1", 8, 90, 110, 17, "Color Each line");
  CBStack = Make<TComboFlat>(this, this, "CBStack", 50, 112, 90, 21);
  CBStack->SetStyle(csDropDownList);
  for (const char* s : {"None", "Overlap", "Stack", "Stack 100%"}) CBStack->Items()->Add(s);
  LStack = MakeLabel(this, this, "LStack", 8, 116, "S&tack:", CBStack);
  CBClick = Make<TCheckBox>(this, this, "CBClick", 8, 140, 100, 17, "Clic&kable");
  GBStair = Make<TGroupBox>(this, this, "GBStair", 150, 4, 110, 60);
  GBStair->SetCaption("Line Mode:");
  CBStairs = Make<TCheckBox>(this, GBStair, "CBStairs", 8, 16, 90, 17, "&Stairs");
  CBInvStairs = Make<TCheckBox>(this, GBStair, "CBInvStairs", 8, 36, 90, 17, "&Inverted");
  CBDark3D = Make<TCheckBox>(this, this, "CBDark3D", 150, 70, 100, 17, "&Dark 3D");
  EHeight = Make<TEdit>(this, this, "EHeight", 220, 92, 35, 21);
  UDHeight = Make<TUpDown>(this, this, "UDHeight", 255, 92, 15, 21);
  UDHeight->SetMin(0);
  UDHeight->SetMax(100);
  UDHeight->SetAssociate(EHeight);
  LHeight = MakeLabel(this, this, "LHeight", 150, 96, "&Height 3D:", EHeight);
  BBrush = Make<TButton>(this, this, "BBrush", 270, 8, 90, 25, "&Pattern...");
  BOutline = Make<TButtonPen>(this, this, "BOutline", 270, 38, 90, 25, "&Outline...");
  Button1 = Make<TButton>(this, this, "Button1", 270, 68, 90, 25, "S&hadow...");

  BLineColor->OnClick = [this](TObject* s) { BLineColorClick(s); };
  BLineBorder->OnClick = [this](TObject* s) { BLineBorderClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CBStack->OnChange = [this](TObject* s) { CBStackChange(s); };
  CBClick->OnClick = [this](TObject* s) { CBClickClick(s); };
  CBStairs->OnClick = [this](TObject* s) { CBStairsClick(s); };
  CBInvStairs->OnClick = [this](TObject* s) { CBInvStairsClick(s); };
  CBDark3D->OnClick = [this](TObject* s) { CBDark3DClick(s); };
  EHeight->OnChange = [this](TObject* s) { EHeightChange(s); };
  BBrush->OnClick = [this](TObject* s) { BBrushClick(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TCustomSeriesEditor::~TCustomSeriesEditor() { FireOnDestroy(this); }

void TCustomSeriesEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TCustomSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TCustomSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BLineBorder->LinkPen(Series->LinePen());
  CBStack->SetItemIndex(Series->Stacked());
  CBClick->SetChecked(Series->ClickableLine());
  CheckBox1->SetChecked(Series->ColorEachLine());
  if (dynamic_cast<TLineSeries*>(Series)) {
    CBStairs->SetChecked(Series->Stairs());
    CBInvStairs->SetChecked(Series->InvertedStairs());
    CBInvStairs->SetEnabled(Series->Stairs());
    CBDark3D->SetChecked(Series->Dark3D());
    UDHeight->SetPosition(Series->LineHeight());
    BOutline->LinkPen(Series->OutLine());
  } else {
    SetControlsVisible(false, {BBrush, BOutline, GBStair, CBDark3D, LHeight, EHeight, UDHeight});
  }
  LinkSeriesColorButton(BLineColor, Series);
  if (Parent() && !FPointerForm) FTabs->Keep(FPointerForm, AddPointerEditorPage(Parent(), Series, "Point"));
  FLoading = false;
}

void TCustomSeriesEditor::BLineColorClick(TObject*) { BLineBorder->Repaint(); }

void TCustomSeriesEditor::BLineBorderClick(TObject*) { BLineColor->Repaint(); }

void TCustomSeriesEditor::CBColorEachClick(TObject*) {
  if (!FLoading && Series) Series->SetColorEachPoint(CBColorEach->Checked());
}

void TCustomSeriesEditor::CheckBox1Click(TObject*) {
  if (!FLoading && Series) Series->SetColorEachLine(CheckBox1->Checked());
}

void TCustomSeriesEditor::CBStackChange(TObject*) {
  if (!FLoading && Series && CBStack->ItemIndex() >= 0)
    Series->SetStacked(static_cast<TCustomSeriesStack>(CBStack->ItemIndex()));
}

void TCustomSeriesEditor::CBClickClick(TObject*) {
  if (!FLoading && Series) Series->SetClickableLine(CBClick->Checked());
}

void TCustomSeriesEditor::CBStairsClick(TObject*) {
  CBInvStairs->SetEnabled(CBStairs->Checked());
  if (!FLoading && Series) Series->SetStairs(CBStairs->Checked());
}

void TCustomSeriesEditor::CBInvStairsClick(TObject*) {
  if (!FLoading && Series) Series->SetInvertedStairs(CBInvStairs->Checked());
}

void TCustomSeriesEditor::CBDark3DClick(TObject*) {
  if (!FLoading && Series) Series->SetDark3D(CBDark3D->Checked());
}

void TCustomSeriesEditor::EHeightChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetLineHeight(UDHeight->Position());
}

void TCustomSeriesEditor::BBrushClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TCustomSeriesEditor::Button1Click(TObject*) {
  if (!Series) return;
  std::unique_ptr<TGrafShadowEditor> editor(new TGrafShadowEditor(this));
  SetupEditorDialog(editor.get());
  editor->BindShadow(Series->Shadow());
  for (const char* name : {"CBSmooth", "UDShadowTransp", "EShadowTransp", "LTransp"})
    if (auto* c = dynamic_cast<TControl*>(editor->FindComponent(name))) c->Hide();
  editor->ShowModal();
}

void RegisterCustomSeriesEditorClasses() { RegisterClasses({&TCustomSeriesEditor::StaticClass()}); }
