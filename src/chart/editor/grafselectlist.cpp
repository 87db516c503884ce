#include "chart/editor/grafselectlist.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSelectListForm, TForm)

TSelectListForm::TSelectListForm(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(326);
  SetClientHeight(146);
  Panel2 = Make<TPanel>(this, this, "Panel2", 0, 0, 130, 146);
  Panel2->SetAlign(alLeft);
  Panel2->SetBevelOuter(bvNone);
  FromList = Make<TListBox>(this, Panel2, "FromList", 0, 16, 130, 130);
  FromList->SetAlign(alBottom);
  FromList->SetMultiSelect(true);
  L22 = MakeLabel(this, Panel2, "L22", 2, 1, "A&vailable:", FromList);
  Splitter1 = Make<TSplitter>(this, this, "Splitter1", 130, 0, 3, 146);
  Splitter1->SetAlign(alLeft);
  Panel3 = Make<TPanel>(this, this, "Panel3", 133, 0, 40, 146);
  Panel3->SetAlign(alLeft);
  Panel3->SetBevelOuter(bvNone);
  BRightOne = Make<TButton>(this, Panel3, "BRightOne", 6, 20, 28, 24, ">");
  BRightAll = Make<TButton>(this, Panel3, "BRightAll", 6, 48, 28, 24, ">>");
  BLeftOne = Make<TButton>(this, Panel3, "BLeftOne", 6, 80, 28, 24, "<");
  BLeftAll = Make<TButton>(this, Panel3, "BLeftAll", 6, 108, 28, 24, "<<");
  Panel1 = Make<TPanel>(this, this, "Panel1", 298, 0, 28, 146);
  Panel1->SetAlign(alRight);
  Panel1->SetBevelOuter(bvNone);
  BMoveUP = Make<TSpeedButton>(this, Panel1, "BMoveUP", 2, 40, 24, 24);
  BMoveDown = Make<TSpeedButton>(this, Panel1, "BMoveDown", 2, 70, 24, 24);
  Panel4 = Make<TPanel>(this, this, "Panel4", 173, 0, 125, 146);
  Panel4->SetAlign(alClient);
  Panel4->SetBevelOuter(bvNone);
  ToList = Make<TListBox>(this, Panel4, "ToList", 0, 16, 125, 130);
  ToList->SetAlign(alBottom);
  ToList->SetMultiSelect(true);
  L24 = MakeLabel(this, Panel4, "L24", 2, 1, "&Selected: ", ToList);

  BRightOne->OnClick = [this](TObject* s) { BRightOneClick(s); };
  BRightAll->OnClick = [this](TObject* s) { BRightAllClick(s); };
  BLeftOne->OnClick = [this](TObject* s) { BLeftOneClick(s); };
  BLeftAll->OnClick = [this](TObject* s) { BLeftAllClick(s); };
  FromList->OnDblClick = [this](TObject* s) { FromListDblClick(s); };
  ToList->OnDblClick = [this](TObject* s) { ToListDblClick(s); };
  FromList->OnClick = [this](TObject*) { EnableButtons(); };
  ToList->OnClick = [this](TObject*) { EnableButtons(); };
  BMoveUP->OnClick = [this](TObject* s) { BMoveUPClick(s); };
  BMoveDown->OnClick = [this](TObject* s) { BMoveDownClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TSelectListForm::FormCreate(TObject*) {
  SetAlign(alClient);
  TBitmap up, down;
  LoadArrowBitmaps(&up, &down);
  BMoveUP->SetGlyph(&up);
  BMoveUP->SetNumGlyphs(2);
  BMoveDown->SetGlyph(&down);
  BMoveDown->SetNumGlyphs(2);
}

void TSelectListForm::FormShow(TObject*) {
  EnableButtons();
  TListBox* focus = FromList->Count() > 0 ? FromList : ToList;
  if (focus->CanFocus()) focus->SetFocus();
}

void TSelectListForm::EnableButtons() {
  BRightOne->SetEnabled(FromList->Count() > 0);
  BRightAll->SetEnabled(FromList->Count() > 0);
  BLeftOne->SetEnabled(ToList->Count() > 0);
  BLeftAll->SetEnabled(ToList->Count() > 0);
  const int current = ToList->ItemIndex();
  BMoveUP->SetEnabled(current > 0);
  BMoveDown->SetEnabled(current >= 0 && current < ToList->Count() - 1);
}

void TSelectListForm::Changed() {
  EnableButtons();
  if (OnChange) OnChange(this);
}

void TSelectListForm::BRightOneClick(TObject*) {
  MoveSelectedItems(FromList, ToList);
  if (FromList->Count() == 0 && ToList->CanFocus()) ToList->SetFocus();
  Changed();
}

void TSelectListForm::BRightAllClick(TObject*) {
  MoveAllItems(FromList->Items(), ToList->Items());
  if (ToList->CanFocus()) ToList->SetFocus();
  Changed();
}

void TSelectListForm::BLeftOneClick(TObject*) {
  MoveSelectedItems(ToList, FromList);
  if (ToList->Count() == 0 && FromList->CanFocus()) FromList->SetFocus();
  Changed();
}

void TSelectListForm::BLeftAllClick(TObject*) {
  MoveAllItems(ToList->Items(), FromList->Items());
  if (FromList->CanFocus()) FromList->SetFocus();
  Changed();
}

void TSelectListForm::FromListDblClick(TObject* Sender) {
  BRightOneClick(Sender);
  if (ToList->Count() > 0) {
    ToList->ClearSelection();
    ToList->SetItemIndex(ToList->Count() - 1);
    ToList->SetSelected(ToList->Count() - 1, true);
  }
  EnableButtons();
}

void TSelectListForm::ToListDblClick(TObject* Sender) { BLeftOneClick(Sender); }

void TSelectListForm::MoveCurrent(int Delta) {
  const int current = ToList->ItemIndex();
  const int other = current + Delta;
  if (current < 0 || other < 0 || other >= ToList->Count()) return;
  ToList->Items()->Exchange(current, other);
  ToList->ClearSelection();
  ToList->SetItemIndex(other);
  ToList->SetSelected(other, true);
  Changed();
}

void TSelectListForm::BMoveUPClick(TObject*) { MoveCurrent(-1); }
void TSelectListForm::BMoveDownClick(TObject*) { MoveCurrent(1); }

void RegisterSelectListClasses() { RegisterClasses({&TSelectListForm::StaticClass()}); }
