#include "chart/extra/grafganttedi.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/ganttch.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGanttSeriesEditor, TForm)

TGanttSeriesEditor::TGanttSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(110);
  FTabs = new TEditorTabs(this);
  SEPointVertSize = Make<TEdit>(this, this, "SEPointVertSize", 80, 8, 41, 21);
  UDPointVertSize = Make<TUpDown>(this, this, "UDPointVertSize", 121, 8, 15, 21);
  UDPointVertSize->SetMin(1);
  UDPointVertSize->SetMax(1000);
  UDPointVertSize->SetAssociate(SEPointVertSize);
  UDPointVertSize->SetPosition(1);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Height:", SEPointVertSize);
  BConnLines = Make<TButtonPen>(this, this, "BConnLines", 8, 40, 128, 25, "Co&nnecting Lines...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 76, 33, 21);
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 113, 76, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(100);
  UpDown1->SetAssociate(Edit1);
  UpDown1->SetPosition(0);
  Label2 = MakeLabel(this, this, "Label2", 8, 80, "&Transparency:", Edit1);
  GPLine = Make<TGroupBox>(this, this, "GPLine", 160, 4, 130, 76);
  CBColorEach = Make<TCheckBox>(this, GPLine, "CBColorEach", 8, 16, 110, 17, "Color &Each");
  BColor = Make<TButtonColor>(this, GPLine, "BColor", 8, 40, 85, 25, "&Color...");

  SEPointVertSize->OnChange = [this](TObject* s) { SEPointVertSizeChange(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TGanttSeriesEditor::~TGanttSeriesEditor() { FireOnDestroy(this); }

void TGanttSeriesEditor::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TGanttSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TGanttSeriesEditor::EnableColor() { BColor->SetEnabled(Gantt && !Gantt->ColorEachPoint()); }

void TGanttSeriesEditor::FormShow(TObject*) {
  Gantt = dynamic_cast<TGanttSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Gantt) return;
  FLoading = true;
  UDPointVertSize->SetPosition(Gantt->Pointer()->VertSize());
  CBColorEach->SetChecked(Gantt->ColorEachPoint());
  UpDown1->SetPosition(Gantt->Transparency());
  BConnLines->LinkPen(Gantt->ConnectingPen());
  LinkSeriesColorButton(BColor, Gantt);
  EnableColor();
  FLoading = false;
  if (!FPointerForm) {
    // The bars' length comes from the dates and their height from this
    // form: the pointer tab shows neither size.
    FTabs->Keep(FPointerForm, AddPointerEditorPage(this, Gantt, "Gantt"));
    if (FPointerForm) FPointerForm->HideSizeControls();
  }
}

void TGanttSeriesEditor::SEPointVertSizeChange(TObject*) {
  if (!FLoading && Gantt && FormShowing(this)) Gantt->Pointer()->SetVertSize(UDPointVertSize->Position());
}

void TGanttSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Gantt) return;
  Gantt->SetColorEachPoint(CBColorEach->Checked());
  EnableColor();
}

void TGanttSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Gantt && FormShowing(this)) Gantt->SetTransparency(UpDown1->Position());
}
