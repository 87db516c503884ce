#include "chart/extra/grafpolareditor.h"

#include <memory>

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafedifont.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPolarSeriesEditor, TForm)

TUpDown* MakeEditUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max,
                        int Step) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetIncrement(Step);
  ud->SetAssociate(Edit);
  return ud;
}

TTabSheet* MakeEditorSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}

void RunGrafFontEditor(TComponent* Owner, TGrafFont* Font) {
  if (!Font) return;
  std::unique_ptr<TGrafFontEditor> editor(CreateEditorDialog<TGrafFontEditor>(Owner));
  editor->BindFont(Font);
  editor->ShowModal();
}

TPolarSeriesEditor::TPolarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(370);
  SetClientHeight(160);
  FTabs = new TEditorTabs(this);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 370, 160);
  PageControl1->SetAlign(alClient);
  TabOptions = MakeEditorSheet(this, PageControl1, "TabOptions", "Options");
  TabLabels = MakeEditorSheet(this, PageControl1, "TabLabels", "Labels");

  BPen = Make<TButtonPen>(this, TabOptions, "BPen", 8, 6, 85, 25, "&Pen...");
  BBrush = Make<TButton>(this, TabOptions, "BBrush", 8, 34, 85, 25, "Pattern...");
  BColor = Make<TButtonColor>(this, TabOptions, "BColor", 8, 62, 85, 25, "Color...");
  BPiePen = Make<TButtonPen>(this, TabOptions, "BPiePen", 8, 90, 85, 25, "&Circle...");
  SEAngleInc = Make<TEdit>(this, TabOptions, "SEAngleInc", 210, 6, 45, 21);
  UDAngleInc = MakeEditUpDown(this, TabOptions, "UDAngleInc", SEAngleInc, 0, 360);
  LAngleInc = MakeLabel(this, TabOptions, "LAngleInc", 104, 10, "Angle &Increment:", SEAngleInc);
  SERadiusInc = Make<TEdit>(this, TabOptions, "SERadiusInc", 210, 32, 45, 21);
  UDRadiusInc = MakeEditUpDown(this, TabOptions, "UDRadiusInc", SERadiusInc, 0, 32767);
  Label8 = MakeLabel(this, TabOptions, "Label8", 104, 36, "Radius Increment:", SERadiusInc);
  Edit1 = Make<TEdit>(this, TabOptions, "Edit1", 210, 58, 45, 21);
  UDTransp = MakeEditUpDown(this, TabOptions, "UDTransp", Edit1, 0, 100, 5);
  Label1 = MakeLabel(this, TabOptions, "Label1", 104, 62, "&Transparency:", Edit1);
  CBColorEach = Make<TCheckBox>(this, TabOptions, "CBColorEach", 104, 88, 100, 17, "Color Each");
  CBClose = Make<TCheckBox>(this, TabOptions, "CBClose", 104, 108, 100, 17, "C&lose Circle");
  CBClose->SetChecked(true);

  CBAngleLabels = Make<TCheckBox>(this, TabLabels, "CBAngleLabels", 8, 8, 100, 17, "&Visible");
  CBLabelsRot = Make<TCheckBox>(this, TabLabels, "CBLabelsRot", 8, 28, 100, 17, "R&otated");
  CBClockWise = Make<TCheckBox>(this, TabLabels, "CBClockWise", 8, 48, 100, 17, "ClockWise");
  CBInside = Make<TCheckBox>(this, TabLabels, "CBInside", 8, 68, 100, 17, "I&nside");
  BFont = Make<TButton>(this, TabLabels, "BFont", 130, 6, 85, 25, "&Font...");
  EMargin = Make<TEdit>(this, TabLabels, "EMargin", 200, 40, 40, 21);
  UDMargin = MakeEditUpDown(this, TabLabels, "UDMargin", EMargin, -200, 200);
  Label2 = MakeLabel(this, TabLabels, "Label2", 130, 44, "&Margin %:", EMargin);

  BBrush->OnClick = [this](TObject* s) { BBrushClick(s); };
  SEAngleInc->OnChange = [this](TObject* s) { SEAngleIncChange(s); };
  SERadiusInc->OnChange = [this](TObject* s) { SERadiusIncChange(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  CBClose->OnClick = [this](TObject* s) { CBCloseClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBAngleLabels->OnClick = [this](TObject* s) { CBAngleLabelsClick(s); };
  CBLabelsRot->OnClick = [this](TObject* s) { CBLabelsRotClick(s); };
  CBClockWise->OnClick = [this](TObject* s) { CBClockWiseClick(s); };
  CBInside->OnClick = [this](TObject* s) { CBInsideClick(s); };
  BFont->OnClick = [this](TObject* s) { BFontClick(s); };
  EMargin->OnChange = [this](TObject* s) { EMarginChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TPolarSeriesEditor::~TPolarSeriesEditor() { FireOnDestroy(this); }

void TPolarSeriesEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  SetAlign(alClient);
  PageControl1->SetActivePage(TabOptions);
}

void TPolarSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TPolarSeriesEditor::EnableLabelControls() {
  const bool on = CBAngleLabels->Checked();
  CBLabelsRot->SetEnabled(on);
  CBClockWise->SetEnabled(on);
  BFont->SetEnabled(on);
}

void TPolarSeriesEditor::UpdateAngleControls() {
  const bool polar = dynamic_cast<TPolarSeries*>(Series) != nullptr;
  SetControlsVisible(polar, {LAngleInc, UDAngleInc, SEAngleInc});
}

void TPolarSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomPolarSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  UDAngleInc->SetPosition(static_cast<int>(Round(Series->AngleIncrement())));
  UDRadiusInc->SetPosition(static_cast<int>(Round(Series->RadiusIncrement())));
  UDTransp->SetPosition(Series->Transparency());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  CBClose->SetChecked(Series->CloseCircle());
  CBAngleLabels->SetChecked(Series->CircleLabels());
  CBLabelsRot->SetChecked(Series->CircleLabelsRotated());
  CBClockWise->SetChecked(Series->ClockWiseLabels());
  CBInside->SetChecked(Series->CircleLabelsInside());
  UDMargin->SetPosition(Series->LabelsMargin());
  BPen->LinkPen(Series->Pen());
  BPiePen->LinkPen(Series->CirclePen());
  LinkSeriesColorButton(BColor, Series);
  FLoading = false;
  EnableLabelControls();
  UpdateAngleControls();
  if (!FCircledForm) FTabs->Keep(FCircledForm, AddCircledEditorPage(this, Series));
  if (!FPointerForm) FTabs->Keep(FPointerForm, AddPointerEditorPage(Parent(), Series->Pointer(), "Point"));
}

void TPolarSeriesEditor::BBrushClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TPolarSeriesEditor::SEAngleIncChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetAngleIncrement(UDAngleInc->Position());
}

void TPolarSeriesEditor::SERadiusIncChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetRadiusIncrement(UDRadiusInc->Position());
}

void TPolarSeriesEditor::CBColorEachClick(TObject*) {
  if (!FLoading && Series) Series->SetColorEachPoint(CBColorEach->Checked());
}

void TPolarSeriesEditor::CBCloseClick(TObject*) {
  if (!FLoading && Series) Series->SetCloseCircle(CBClose->Checked());
}

void TPolarSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void TPolarSeriesEditor::CBAngleLabelsClick(TObject*) {
  if (!FLoading && Series) Series->SetCircleLabels(CBAngleLabels->Checked());
  EnableLabelControls();
}

void TPolarSeriesEditor::CBLabelsRotClick(TObject*) {
  if (!FLoading && Series) Series->SetCircleLabelsRotated(CBLabelsRot->Checked());
}

void TPolarSeriesEditor::CBClockWiseClick(TObject*) {
  if (!FLoading && Series) Series->SetClockWiseLabels(CBClockWise->Checked());
}

void TPolarSeriesEditor::CBInsideClick(TObject*) {
  if (!FLoading && Series) Series->SetCircleLabelsInside(CBInside->Checked());
}

void TPolarSeriesEditor::BFontClick(TObject*) {
  if (Series) RunGrafFontEditor(this, Series->CircleLabelsFont());
}

void TPolarSeriesEditor::EMarginChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetLabelsMargin(UDMargin->Position());
}
