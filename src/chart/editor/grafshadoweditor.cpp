#include "chart/editor/grafshadoweditor.h"

#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGrafShadowEditor, TForm)

TGrafShadowEditor::TGrafShadowEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Shadow editor");
  SetClientWidth(186);
  SetClientHeight(193);
  auto sized = [this](const char* editName, const char* udName, int top, int min, int max, TEdit*& edit,
                      TUpDown*& ud) {
    edit = Make<TEdit>(this, this, editName, 96, top, 49, 21);
    edit->SetText("0");
    ud = Make<TUpDown>(this, this, udName, 145, top, 15, 21);
    ud->SetMin(min);
    ud->SetMax(max);
    ud->SetAssociate(edit);
    ud->SetPosition(0);
  };
  sized("Edit1", "UDShadowSize", 8, -1000, 1000, Edit1, UDShadowSize);
  sized("EVertSize", "UDShaVert", 36, -1000, 1000, EVertSize, UDShaVert);
  sized("EShadowTransp", "UDShadowTransp", 64, 0, 100, EShadowTransp, UDShadowTransp);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Horiz. Size:", Edit1);
  Label5 = MakeLabel(this, this, "Label5", 8, 40, "&Vert. Size:", EVertSize);
  LTransp = MakeLabel(this, this, "LTransp", 8, 68, "&Transparency:", EShadowTransp);
  BShadowColor = Make<TButtonColor>(this, this, "BShadowColor", 96, 96, 75, 25, "&Color...");
  CBSmooth = Make<TCheckBox>(this, this, "CBSmooth", 8, 130, 97, 17, "&Smooth");
  CBSmooth->SetChecked(true);
  BOK = Make<TButton>(this, this, "BOK", 96, 160, 75, 25, "OK");
  BOK->SetModalResult(mrOk);
  BOK->SetDefault(true);

  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  EVertSize->OnChange = [this](TObject* s) { EVertSizeChange(s); };
  EShadowTransp->OnChange = [this](TObject* s) { EShadowTranspChange(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  BOK->OnClick = [this](TObject* s) { BOKClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TGrafShadowEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  FLoading = true;
}

void TGrafShadowEditor::FormShow(TObject*) {
  if (FShadow) BindShadow(FShadow);
  InvokeControlHook(this);
  FLoading = false;
}

void TGrafShadowEditor::ShowOkButton(bool Show) { BOK->SetVisible(Show); }

void TGrafShadowEditor::BindShadow(TGrafShadow* Shadow) {
  FShadow = Shadow;
  if (!Shadow) return;
  UDShadowSize->SetPosition(Shadow->HorizSize());
  UDShaVert->SetPosition(Shadow->VertSize());
  UDShadowTransp->SetPosition(Shadow->Transparency());
  CBSmooth->SetChecked(Shadow->Smooth());
  BShadowColor->LinkProperty(Shadow, "Color");
}

void TGrafShadowEditor::Edit1Change(TObject*) {
  if (CanEdit()) FShadow->SetHorizSize(UDShadowSize->Position());
}

void TGrafShadowEditor::EVertSizeChange(TObject*) {
  if (CanEdit()) FShadow->SetVertSize(UDShaVert->Position());
}

void TGrafShadowEditor::EShadowTranspChange(TObject*) {
  if (CanEdit()) FShadow->SetTransparency(UDShadowTransp->Position());
}

void TGrafShadowEditor::CBSmoothClick(TObject*) {
  if (CanEdit()) FShadow->SetSmooth(CBSmooth->Checked());
}

void TGrafShadowEditor::BOKClick(TObject*) { Close(); }

void RunShadowEditor(TComponent* Owner, TGrafShadow* Shadow) {
  std::unique_ptr<TGrafShadowEditor> editor(CreateEditorDialog<TGrafShadowEditor>(Owner));
  editor->BindShadow(Shadow);
  editor->ShowOkButton(true);
  editor->ShowModal();
}

TGrafShadowEditor* EmbedShadowEditor(TWinControl* Sheet) {
  auto* editor = new TGrafShadowEditor(Sheet->Owner());
  editor->ShowOkButton(false);
  EmbedFormInSheet(editor, Sheet);
  return editor;
}

void RegisterShadowEditorClasses() { RegisterClasses({&TGrafShadowEditor::StaticClass()}); }
