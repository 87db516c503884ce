#include "chart/editor/grafcolorgrideditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "platform/dialogs.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TColorGridEditor, TForm)

TColorGridEditor::TColorGridEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(280);
  SetClientHeight(130);
  FTabs = new TEditorTabs(this);
  BGrid = Make<TButtonPen>(this, this, "BGrid", 8, 8, 90, 25, "&Grid...");
  CBCentered = Make<TCheckBox>(this, this, "CBCentered", 8, 40, 90, 17, "&Centered");
  CBSmooth = Make<TCheckBox>(this, this, "CBSmooth", 8, 60, 90, 17, "Sm&ooth");
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 84, 90, 25, "&Frame...");
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 110, 4, 110, 76);
  GroupBox1->SetCaption("Grid Every:");
  Edit2 = Make<TEdit>(this, GroupBox1, "Edit2", 40, 16, 40, 21);
  UDX = Make<TUpDown>(this, GroupBox1, "UDX", 80, 16, 15, 21);
  UDX->SetMin(1);
  UDX->SetMax(100);
  UDX->SetAssociate(Edit2);
  Label1 = MakeLabel(this, GroupBox1, "Label1", 8, 20, "&X:", Edit2);
  Edit1 = Make<TEdit>(this, GroupBox1, "Edit1", 40, 44, 40, 21);
  UDZ = Make<TUpDown>(this, GroupBox1, "UDZ", 80, 44, 15, 21);
  UDZ->SetMin(1);
  UDZ->SetMax(100);
  UDZ->SetAssociate(Edit1);
  Label2 = MakeLabel(this, GroupBox1, "Label2", 8, 48, "&Z:", Edit1);
  Button2 = Make<TButton>(this, this, "Button2", 110, 88, 90, 25, "&Load...");
  CBCentered->OnClick = [this](TObject* s) { CBCenteredClick(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TColorGridEditor::~TColorGridEditor() { FireOnDestroy(this); }

void TColorGridEditor::FormCreate(TObject*) {
  FLoading = true;
  SetAlign(alClient);
}

void TColorGridEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TColorGridEditor::FormShow(TObject*) {
  if (Tag()) Series = dynamic_cast<TColorGridSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  BGrid->LinkPen(Series->Pen());
  CBCentered->SetChecked(Series->CenteredPoints());
  CBSmooth->SetChecked(Series->SmoothBitmap());
  ButtonPen1->LinkPen(Series->Frame());
  UDX->SetPosition(Series->XGridEvery());
  UDZ->SetPosition(Series->ZGridEvery());
  FLoading = false;
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
}

void TColorGridEditor::CBCenteredClick(TObject*) {
  if (!FLoading && Series) Series->SetCenteredPoints(CBCentered->Checked());
}

void TColorGridEditor::CBSmoothClick(TObject*) {
  if (!FLoading && Series) Series->SetSmoothBitmap(CBSmooth->Checked());
}

void TColorGridEditor::Edit2Change(TObject*) {
  if (!FLoading && Series) Series->SetXGridEvery(UDX->Position());
}

void TColorGridEditor::Edit1Change(TObject*) {
  if (!FLoading && Series) Series->SetZGridEvery(UDZ->Position());
}

void TColorGridEditor::LoadPictureFile(const std::string& FileName) {
  if (!Series) return;
  TPicture picture;
  picture.LoadFromFile(FileName);
  if (picture.Width() > MaxPictureSide || picture.Height() > MaxPictureSide) {
    ShowMessage(Format("The picture is too large for the grid: %d x %d pixels (at most %d x %d).",
                       {picture.Width(), picture.Height(), MaxPictureSide, MaxPictureSide}));
    return;
  }
  Series->LoadBitmap(&picture);
  if (FGridForm) FGridForm->BRemove->SetEnabled(HasOwnPointColors(Series));
}

void TColorGridEditor::Button2Click(TObject*) {
  const std::string name = AskPictureFileName(this);
  if (!name.empty()) LoadPictureFile(name);
}

void RegisterColorGridEditorClasses() { RegisterClasses({&TColorGridEditor::StaticClass()}); }
