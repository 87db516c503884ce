#include "chart/editor/grafcontouredit.h"

#include "chart/core/chart.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TContourSeriesEditor, TForm)

TContourSeriesEditor::TContourSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(360);
  SetClientHeight(180);
  SetPosition(poScreenCenter);
  FTabs = new TEditorTabs(this);
  Button2 = Make<TButtonPen>(this, this, "Button2", 8, 8, 90, 25, "&Pen...");
  CBYPosLevel = Make<TCheckBox>(this, this, "CBYPosLevel", 8, 40, 120, 17, "Levels p&osition");
  SEYPos = Make<TEdit>(this, this, "SEYPos", 8, 82, 60, 21);
  UDYPos = Make<TUpDown>(this, this, "UDYPos", 68, 82, 15, 21);
  UDYPos->SetMin(-30000);
  UDYPos->SetMax(30000);
  UDYPos->SetThousands(false);
  UDYPos->SetAssociate(SEYPos);
  Label1 = MakeLabel(this, this, "Label1", 8, 64, "&Vertical Position:", SEYPos);
  CBSmooth = Make<TCheckBox>(this, this, "CBSmooth", 8, 114, 100, 17, "&Smooth");
  CBInterpolate = Make<TCheckBox>(this, this, "CBInterpolate", 8, 134, 100, 17, "&Interpolate");
  CBInterpolate->SetEnabled(false);

  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 140, 4, 214, 170);
  GroupBox1->SetCaption("Levels:");
  CBAutoLevels = Make<TCheckBox>(this, GroupBox1, "CBAutoLevels", 8, 16, 100, 17, "&Automatic");
  SENum = Make<TEdit>(this, GroupBox1, "SENum", 60, 38, 40, 21);
  UDNum = Make<TUpDown>(this, GroupBox1, "UDNum", 100, 38, 15, 21);
  UDNum->SetMin(1);
  UDNum->SetMax(150);
  UDNum->SetAssociate(SENum);
  Label2 = MakeLabel(this, GroupBox1, "Label2", 8, 42, "&Number:", SENum);
  CBColorEach = Make<TCheckBox>(this, GroupBox1, "CBColorEach", 120, 40, 90, 17, "&Color Each");
  ELevel = Make<TEdit>(this, GroupBox1, "ELevel", 60, 70, 40, 21);
  UDLevel = Make<TUpDown>(this, GroupBox1, "UDLevel", 100, 70, 15, 21);
  UDLevel->SetMin(0);
  UDLevel->SetMax(0);
  UDLevel->SetAssociate(ELevel);
  Label3 = MakeLabel(this, GroupBox1, "Label3", 8, 74, "&Level:", ELevel);
  SHColor = Make<TShape>(this, GroupBox1, "SHColor", 124, 70, 30, 21);
  SHColor->SetCursor(crHandPoint);
  EValue = Make<TEdit>(this, GroupBox1, "EValue", 60, 100, 90, 21);
  bLevelPen = Make<TButtonPen>(this, GroupBox1, "bLevelPen", 8, 132, 80, 25, "P&en...");
  cbDefaultPen = Make<TCheckBox>(this, GroupBox1, "cbDefaultPen", 100, 136, 80, 17, "&Default");

  SENum->OnChange = [this](TObject* s) { SENumChange(s); };
  SEYPos->OnChange = [this](TObject* s) { SEYPosChange(s); };
  CBYPosLevel->OnClick = [this](TObject* s) { CBYPosLevelClick(s); };
  CBAutoLevels->OnClick = [this](TObject* s) { CBAutoLevelsClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  ELevel->OnChange = [this](TObject* s) { ELevelChange(s); };
  SHColor->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    SHColorMouseUp(s, b, sh, x, y);
  };
  EValue->OnChange = [this](TObject* s) { EValueChange(s); };
  EValue->OnExit = [this](TObject* s) { EValueExit(s); };
  bLevelPen->OnClick = [this](TObject* s) { bLevelPenClick(s); };
  cbDefaultPen->OnClick = [this](TObject* s) { cbDefaultPenClick(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  CBInterpolate->OnClick = [this](TObject* s) { CBInterpolateClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TContourSeriesEditor::~TContourSeriesEditor() { FireOnDestroy(this); }

void TContourSeriesEditor::FormCreate(TObject*) {
  FLoading = true;
  SetBorderStyle(bsDialog);
}

void TContourSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TContourSeriesEditor::EnableNumber() {
  const bool automatic = Series && Series->AutomaticLevels();
  SENum->SetEnabled(automatic);
  UDNum->SetEnabled(automatic);
  CBColorEach->SetEnabled(automatic);
}

void TContourSeriesEditor::ShowAutomatic() {
  const bool was = FLoading;
  FLoading = true;
  CBAutoLevels->SetChecked(Series->AutomaticLevels());
  FLoading = was;
}

void TContourSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TContourSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBColorEach->SetChecked(Series->ColorEachPoint());
  CBYPosLevel->SetChecked(Series->YPositionLevel());
  SEYPos->SetEnabled(!Series->YPositionLevel());
  UDYPos->SetPosition(static_cast<int>(Round(Series->YPosition())));
  CBAutoLevels->SetChecked(Series->AutomaticLevels());
  // Automatic levels are made when the series is drawn; the editor shows them before.
  if (Series->AutomaticLevels() && Series->Levels()->Count() != Series->NumLevels()) Series->CreateAutoLevels();
  UDNum->SetPosition(Series->NumLevels());
  UDLevel->SetMax(std::max(0, Series->NumLevels() - 1));
  CBSmooth->SetChecked(Series->Smoothing()->Active());
  CBInterpolate->SetChecked(Series->Smoothing()->Interpolate());
  CBInterpolate->SetEnabled(Series->Smoothing()->Active());
  Button2->LinkPen(Series->Pen());
  EnableNumber();
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
  ShowLevel();
  FLoading = false;
}

TContourLevel* TContourSeriesEditor::CurrentLevel() const {
  if (!Series) return nullptr;
  const int i = UDLevel->Position();
  return i >= 0 && i < Series->Levels()->Count() ? Series->Levels()->GetLevel(i) : nullptr;
}

void TContourSeriesEditor::ShowLevel() {
  if (!Series) return;
  const bool was = FLoading;
  FLoading = true;
  const int index = UDLevel->Position();
  TContourLevel* level = CurrentLevel();
  for (TControl* c : std::initializer_list<TControl*>{ELevel, UDLevel, EValue, bLevelPen, cbDefaultPen, SHColor})
    c->SetEnabled(level != nullptr);
  if (level) {
    TColor color = level->Color();
    if (color == clDefault) color = Series->ParentChart() ? Series->ParentChart()->PaletteColor(index) : clWhite;
    SHColor->Brush()->SetColor(color);
    EValue->SetText(FormatFloat("0.###", level->UpToValue()));
    cbDefaultPen->SetChecked(!level->HasOwnPen());
    bLevelPen->SetEnabled(level->HasOwnPen());
    bLevelPen->LinkPen(level->HasOwnPen() ? level->Pen() : nullptr);
  }
  FLoading = was;
}

void TContourSeriesEditor::SENumChange(TObject*) {
  if (FLoading || !Series) return;
  Series->SetNumLevels(UDNum->Position());
  if (Series->AutomaticLevels()) Series->CreateAutoLevels();
  UDLevel->SetMax(std::max(0, Series->NumLevels() - 1));
  const bool was = FLoading;
  FLoading = true;
  ELevel->SetText(std::to_string(UDLevel->Position()));
  FLoading = was;
  ShowLevel();
}

void TContourSeriesEditor::SEYPosChange(TObject*) {
  if (!FLoading && Series) Series->SetYPosition(UDYPos->Position());
}

void TContourSeriesEditor::CBYPosLevelClick(TObject*) {
  if (!Series) return;
  Series->SetYPositionLevel(CBYPosLevel->Checked());
  SEYPos->SetEnabled(!CBYPosLevel->Checked());
}

void TContourSeriesEditor::CBAutoLevelsClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetAutomaticLevels(CBAutoLevels->Checked());
  if (Series->AutomaticLevels()) Series->CreateAutoLevels();
  UDLevel->SetMax(std::max(0, Series->NumLevels() - 1));
  EnableNumber();
  ShowLevel();
}

void TContourSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  Series->CreateAutoLevels();
  ShowLevel();
}

void TContourSeriesEditor::ELevelChange(TObject*) {
  if (!FLoading && Series && Series->Levels()->Count() > 0) ShowLevel();
}

void TContourSeriesEditor::SHColorMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  TContourLevel* level = CurrentLevel();
  if (!level || !SHColor->Enabled()) return;
  TColor color = level->Color();
  if (EditColorValue(this, color)) {
    SHColor->Brush()->SetColor(color);
    level->SetColor(color);
    if (level->HasOwnPen()) {
      level->Pen()->SetColor(color);
      bLevelPen->Repaint();
    }
  }
  ShowAutomatic();
}

void TContourSeriesEditor::EValueChange(TObject*) {
  if (FLoading || !EValue->Enabled()) return;
  TContourLevel* level = CurrentLevel();
  if (!level) return;
  // A half-typed number keeps the level; leaving the box reports it.
  double value;
  if (!ReadTypedNumber(EValue->Text(), value)) return;
  level->SetUpToValue(value);
  ShowAutomatic();
}

void TContourSeriesEditor::EValueExit(TObject*) {
  if (CurrentLevel()) ReportUnreadableNumber(EValue, false);
}

void TContourSeriesEditor::bLevelPenClick(TObject*) {
  TContourLevel* level = CurrentLevel();
  if (!level || !bLevelPen->Enabled()) return;
  const bool was = FLoading;
  FLoading = true;
  cbDefaultPen->SetChecked(!level->HasOwnPen());
  FLoading = was;
  if (level->HasOwnPen()) level->SetColor(level->Pen()->Color());
  SHColor->Brush()->SetColor(level->Color());
}

void TContourSeriesEditor::cbDefaultPenClick(TObject*) {
  if (FLoading) return;
  TContourLevel* level = CurrentLevel();
  bLevelPen->SetEnabled(!cbDefaultPen->Checked());
  if (!level) return;
  if (cbDefaultPen->Checked()) {
    level->SetPen(nullptr);
    bLevelPen->LinkPen(nullptr);
  } else {
    bLevelPen->LinkPen(level->Pen());
  }
}

void TContourSeriesEditor::CBSmoothClick(TObject*) {
  if (!Series) return;
  Series->Smoothing()->SetActive(CBSmooth->Checked());
  CBInterpolate->SetEnabled(CBSmooth->Checked());
}

void TContourSeriesEditor::CBInterpolateClick(TObject*) {
  if (Series) Series->Smoothing()->SetInterpolate(CBInterpolate->Checked());
}

void RegisterContourEditorClasses() { RegisterClasses({&TContourSeriesEditor::StaticClass()}); }
