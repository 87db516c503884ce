#include "chart/extra/grafarrowedi.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/arrowcha.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TArrowSeriesEditor, TForm)

namespace {
TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetAssociate(Edit);
  ud->SetPosition(Min);
  return ud;
}
}  // namespace

TArrowSeriesEditor::TArrowSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(140);
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 8, 85, 25, "&Border...");
  BBrush = Make<TButton>(this, this, "BBrush", 8, 40, 85, 25, "&Pattern...");
  SEArrowWidth = Make<TEdit>(this, this, "SEArrowWidth", 164, 8, 33, 21);
  UDArrowWidth = MakeUpDown(this, this, "UDArrowWidth", SEArrowWidth, 1, 100);
  Label1 = MakeLabel(this, this, "Label1", 110, 12, "&Width:", SEArrowWidth);
  SEArrowHeight = Make<TEdit>(this, this, "SEArrowHeight", 164, 36, 33, 21);
  UDArrowHeight = MakeUpDown(this, this, "UDArrowHeight", SEArrowHeight, 1, 100);
  Label2 = MakeLabel(this, this, "Label2", 110, 40, "&Height:", SEArrowHeight);
  SBPercent = Make<TScrollBar>(this, this, "SBPercent", 164, 68, 90, 17);
  SBPercent->SetParams(50, 0, 100);
  Label3 = MakeLabel(this, this, "Label3", 110, 70, "&Size:", SBPercent);
  LPercent = MakeLabel(this, this, "LPercent", 260, 70, "50%");
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 72, 98, 64);
  CBColorEach = Make<TCheckBox>(this, GroupBox1, "CBColorEach", 6, 14, 86, 17, "Color &Each");
  BArrowColor = Make<TButtonColor>(this, GroupBox1, "BArrowColor", 6, 34, 85, 25, "&Color...");

  BBrush->OnClick = [this](TObject* s) { BBrushClick(s); };
  SEArrowWidth->OnChange = [this](TObject* s) { SEArrowWidthChange(s); };
  SEArrowHeight->OnChange = [this](TObject* s) { SEArrowHeightChange(s); };
  SBPercent->OnChange = [this](TObject* s) { SBPercentChange(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TArrowSeriesEditor::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TArrowSeriesEditor::ShowPercent() { LPercent->SetCaption(IntToStr(SBPercent->Position()) + "%"); }

void TArrowSeriesEditor::FormShow(TObject*) {
  Arrow = dynamic_cast<TArrowSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Arrow) return;
  FLoading = true;
  CBColorEach->SetChecked(Arrow->ColorEachPoint());
  BArrowColor->SetEnabled(!Arrow->ColorEachPoint());
  UDArrowWidth->SetPosition(Arrow->ArrowWidth());
  UDArrowHeight->SetPosition(Arrow->ArrowHeight());
  SBPercent->SetPosition(Arrow->ArrowPercent());
  ShowPercent();
  BPen->LinkPen(Arrow->Pointer()->Pen());
  LinkSeriesColorButton(BArrowColor, Arrow);
  FLoading = false;
}

void TArrowSeriesEditor::BBrushClick(TObject*) {
  if (Arrow) RunBrushDialog(this, Arrow->Pointer()->Brush());
}

void TArrowSeriesEditor::SEArrowWidthChange(TObject*) {
  if (!FLoading && Arrow && FormShowing(this)) Arrow->SetArrowWidth(UDArrowWidth->Position());
}

void TArrowSeriesEditor::SEArrowHeightChange(TObject*) {
  if (!FLoading && Arrow && FormShowing(this)) Arrow->SetArrowHeight(UDArrowHeight->Position());
}

void TArrowSeriesEditor::SBPercentChange(TObject*) {
  ShowPercent();
  if (!FLoading && Arrow && FormShowing(this)) Arrow->SetArrowPercent(SBPercent->Position());
}

void TArrowSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Arrow) return;
  const bool each = CBColorEach->Checked();
  Arrow->SetColorEachPoint(each);
  BArrowColor->SetEnabled(!each);
  if (each) Arrow->Pointer()->SetBrushColor(clDefault);
}
