#include "chart/editor/grafpointfigure.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPointFigureEditor, TForm)

TPointFigureEditor::TPointFigureEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(240);
  SetClientHeight(80);
  FTabs = new TEditorTabs(this);
  EBoxSize = Make<TEdit>(this, this, "EBoxSize", 120, 8, 80, 21);
  EBoxSize->SetText("1");
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Box size:", EBoxSize);
  EReversal = Make<TEdit>(this, this, "EReversal", 120, 38, 80, 21);
  EReversal->SetText("3");
  Label2 = MakeLabel(this, this, "Label2", 8, 42, "&Reversal amount:", EReversal);
  EBoxSize->OnChange = [this](TObject* s) { EBoxSizeChange(s); };
  EReversal->OnChange = [this](TObject* s) { EReversalChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TPointFigureEditor::~TPointFigureEditor() { FireOnDestroy(this); }

void TPointFigureEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TPointFigureEditor::FormShow(TObject*) {
  Series = dynamic_cast<TPointFigureSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  EBoxSize->SetText(FloatToStr(Series->BoxSize()));
  EReversal->SetText(FloatToStr(Series->ReversalAmount()));
  FLoading = false;
  if (Parent()) {
    if (!FUpForm) FTabs->Keep(FUpForm, AddPointerEditorPage(Parent(), Series->UpSymbol(), "Up"));
    if (!FDownForm) FTabs->Keep(FDownForm, AddPointerEditorPage(Parent(), Series->DownSymbol(), "Down"));
  }
}

void TPointFigureEditor::EBoxSizeChange(TObject*) {
  if (!FLoading && Series && FormShowing(this))
    Series->SetBoxSize(StrToFloatDef(EBoxSize->Text(), Series->BoxSize()));
}

void TPointFigureEditor::EReversalChange(TObject*) {
  if (!FLoading && Series && FormShowing(this))
    Series->SetReversalAmount(StrToFloatDef(EReversal->Text(), Series->ReversalAmount()));
}

void RegisterPointFigureEditorClasses() { RegisterClasses({&TPointFigureEditor::StaticClass()}); }
