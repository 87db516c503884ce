#include "chart/editor/grafedifont.h"

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafshadoweditor.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGrafFontEditor, TForm)

TGrafFontEditor::TGrafFontEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("GrafFont Editor");
  SetClientWidth(258);
  SetClientHeight(136);
  SetPosition(poScreenCenter);
  SHText = Make<TShape>(this, this, "SHText", 8, 10, 21, 21);
  SHText->SetCursor(crHandPoint);
  Button3 = Make<TButton>(this, this, "Button3", 36, 8, 75, 25, "&Font...");
  Edit2 = Make<TEdit>(this, this, "Edit2", 132, 44, 41, 21);
  Edit2->SetText("0");
  UDInter = Make<TUpDown>(this, this, "UDInter", 173, 44, 15, 21);
  UDInter->SetMin(-100);
  UDInter->SetMax(100);
  UDInter->SetAssociate(Edit2);
  UDInter->SetPosition(0);
  Label2 = MakeLabel(this, this, "Label2", 8, 48, "&Inter-char spacing:", Edit2);
  BOutline = Make<TButtonPen>(this, this, "BOutline", 8, 76, 85, 25, "&Outline...");
  CBOutGrad = Make<TCheckBox>(this, this, "CBOutGrad", 104, 80, 120, 17, "O&utline gradient");
  BGradient = Make<TButtonGradient>(this, this, "BGradient", 8, 106, 85, 25, "&Gradient...");
  BShadow = Make<TButton>(this, this, "BShadow", 104, 106, 75, 25, "&Shadow...");

  Button3->OnClick = [this](TObject* s) { BFontClick(s); };
  SHText->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState st, int x, int y) { SHTextMouseUp(s, b, st, x, y); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  BShadow->OnClick = [this](TObject* s) { BShadowClick(s); };
  CBOutGrad->OnClick = [this](TObject* s) { CBOutGradClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TGrafFontEditor::FormShow(TObject*) {
  if (FFont) BindFont(FFont);
  InvokeControlHook(this);
}

void TGrafFontEditor::BindFont(TGrafFont* Font) {
  FFont = Font;
  if (!Font) return;
  SHText->Brush()->SetColor(Font->Color());
  UDInter->SetPosition(Font->InterCharSize());
  BOutline->LinkPen(Font->OutLine());
  CBOutGrad->SetChecked(Font->Gradient()->Outline());
  BGradient->LinkGradient(Font->Gradient());
}

void TGrafFontEditor::BFontClick(TObject*) {
  if (!FFont) return;
  RunFontDialog(this, FFont);
  SHText->Brush()->SetColor(FFont->Color());
}

void TGrafFontEditor::SHTextMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  if (!FFont) return;
  TColor color = FFont->Color();
  if (EditColorValue(this, color)) {
    FFont->SetColor(color);
    SHText->Brush()->SetColor(color);
  }
}

void TGrafFontEditor::Edit2Change(TObject*) {
  if (FormShowing(this) && FFont) FFont->SetInterCharSize(UDInter->Position());
}

void TGrafFontEditor::BShadowClick(TObject*) {
  if (FFont) RunShadowEditor(Owner(), FFont->Shadow());
}

void TGrafFontEditor::CBOutGradClick(TObject*) {
  if (FFont) FFont->Gradient()->SetOutline(CBOutGrad->Checked());
}

TGrafFontEditor* EmbedFontEditor(TWinControl* Sheet) {
  auto* editor = new TGrafFontEditor(Sheet->Owner());
  EmbedFormInSheet(editor, Sheet);
  return editor;
}

void RegisterFontEditorClasses() { RegisterClasses({&TGrafFontEditor::StaticClass()}); }
