#include "chart/editor/grafsymboleditor.h"

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSymbolEditor, TForm)

TSymbolEditor::TSymbolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Legend Symbol Editor");
  SetClientWidth(302);
  SetClientHeight(154);
  SEColWi = Make<TEdit>(this, this, "SEColWi", 84, 8, 41, 21);
  SEColWi->SetText("0");
  UDColWi = Make<TUpDown>(this, this, "UDColWi", 125, 8, 15, 21);
  UDColWi->SetIncrement(5);
  UDColWi->SetAssociate(SEColWi);
  UDColWi->SetPosition(0);
  L11 = MakeLabel(this, this, "L11", 8, 12, "&Width:", SEColWi);
  CBColWUnits = Make<TComboFlat>(this, this, "CBColWUnits", 84, 36, 85, 21);
  CBColWUnits->Items()->Add("Percent");
  CBColWUnits->Items()->Add("Pixels");
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "Width &Units:", CBColWUnits);
  CBSymbolPos = Make<TComboFlat>(this, this, "CBSymbolPos", 84, 64, 85, 21);
  CBSymbolPos->Items()->Add("Left");
  CBSymbolPos->Items()->Add("Right");
  Label3 = MakeLabel(this, this, "Label3", 8, 68, "&Position:", CBSymbolPos);
  CBContinuous = Make<TCheckBox>(this, this, "CBContinuous", 8, 96, 100, 17, "&Continuous");
  CBVisible = Make<TCheckBox>(this, this, "CBVisible", 8, 120, 100, 17, "&Visible");
  CBSymPen = Make<TCheckBox>(this, this, "CBSymPen", 184, 8, 110, 17, "&Default border");
  BSymPen = Make<TButtonPen>(this, this, "BSymPen", 184, 30, 90, 25, "&Border...");
  CBSquared = Make<TCheckBox>(this, this, "CBSquared", 184, 68, 100, 17, "&Squared");
  BSymGradient = Make<TButtonGradient>(this, this, "BSymGradient", 184, 96, 90, 25, "&Gradient...");

  SEColWi->OnChange = [this](TObject* s) { SEColWiChange(s); };
  CBColWUnits->OnChange = [this](TObject* s) { CBColWUnitsChange(s); };
  CBSymbolPos->OnChange = [this](TObject* s) { CBSymbolPosChange(s); };
  CBContinuous->OnClick = [this](TObject* s) { CBContinuousClick(s); };
  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  CBSymPen->OnClick = [this](TObject* s) { CBSymPenClick(s); };
  CBSquared->OnClick = [this](TObject* s) { CBSquaredClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TSymbolEditor::FormCreate(TObject*) { FLoading = true; }

void TSymbolEditor::FormShow(TObject*) {
  BindSymbol(reinterpret_cast<TLegendSymbol*>(Tag()));
  FLoading = false;
  InvokeControlHook(this);
}

void TSymbolEditor::BindSymbol(TLegendSymbol* Symbol) {
  FSymbol = Symbol;
  if (!Symbol) return;
  UDColWi->SetPosition(Symbol->Width());
  CBColWUnits->SetItemIndex(Symbol->WidthUnits());
  CBSymbolPos->SetItemIndex(Symbol->Position());
  CBContinuous->SetChecked(Symbol->Continuous());
  CBSquared->SetChecked(Symbol->Squared());
  CBVisible->SetChecked(Symbol->Visible());
  CBSymPen->SetChecked(Symbol->DefaultPen());
  BSymPen->LinkPen(Symbol->Pen());
  BSymPen->SetEnabled(!Symbol->DefaultPen());
  BSymGradient->LinkGradient(Symbol->Gradient());
  BSymGradient->HideEndColor = true;
}

void TSymbolEditor::SEColWiChange(TObject*) {
  if (!FLoading && FSymbol) FSymbol->SetWidth(UDColWi->Position());
}

void TSymbolEditor::CBColWUnitsChange(TObject*) {
  if (FSymbol) FSymbol->SetWidthUnits(CBColWUnits->ItemIndex() != 0 ? lcsPixels : lcsPercent);
}

void TSymbolEditor::CBSymbolPosChange(TObject*) {
  if (FSymbol) FSymbol->SetPosition(CBSymbolPos->ItemIndex() != 0 ? spRight : spLeft);
}

void TSymbolEditor::CBContinuousClick(TObject*) {
  if (FSymbol) FSymbol->SetContinuous(CBContinuous->Checked());
}

void TSymbolEditor::CBVisibleClick(TObject*) {
  if (FSymbol) FSymbol->SetVisible(CBVisible->Checked());
}

void TSymbolEditor::CBSymPenClick(TObject*) {
  if (FSymbol) FSymbol->SetDefaultPen(CBSymPen->Checked());
  BSymPen->SetEnabled(!CBSymPen->Checked());
}

void TSymbolEditor::CBSquaredClick(TObject*) {
  if (FSymbol) FSymbol->SetSquared(CBSquared->Checked());
  UDColWi->SetEnabled(!CBSquared->Checked());
  SEColWi->SetEnabled(!CBSquared->Checked());
}

void RegisterSymbolEditorClasses() { RegisterClasses({&TSymbolEditor::StaticClass()}); }
