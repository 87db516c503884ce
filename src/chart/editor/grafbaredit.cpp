#include "chart/editor/grafbaredit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafedigrad.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBarSeriesEditor, TForm)

namespace {
TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max,
                    int Step) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetIncrement(Step);
  ud->SetAssociate(Edit);
  return ud;
}
}  // namespace

TBarSeriesEditor::TBarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(330);
  SetClientHeight(180);
  FTabs = new TEditorTabs(this);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 330, 180);
  PageControl1->SetAlign(alClient);
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetCaption("Format");
  TabSheet1->SetPageControl(PageControl1);
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetName("TabSheet2");
  TabSheet2->SetCaption("Size");
  TabSheet2->SetPageControl(PageControl1);

  CBBarStyle = Make<TComboFlat>(this, TabSheet1, "CBBarStyle", 50, 6, 120, 21);
  CBBarStyle->SetStyle(csDropDownList);
  CBBarStyle->SetDropDownCount(9);
  for (const char* s : {"Rectangle", "Pyramid", "Invert. Pyramid", "Cylinder", "Ellipse", "Arrow", "Rect. Gradient",
                        "Cone", "Bevel", "Slant Cube", "Diamond", "Invert. Arrow", "Invert. Cone"})
    CBBarStyle->Items()->Add(s);
  LStyle = MakeLabel(this, TabSheet1, "LStyle", 8, 10, "St&yle:", CBBarStyle);
  BBarPen = Make<TButtonPen>(this, TabSheet1, "BBarPen", 8, 34, 90, 25, "&Border...");
  BBarBrush = Make<TButton>(this, TabSheet1, "BBarBrush", 8, 62, 90, 25, "&Pattern...");
  CBColorEach = Make<TCheckBox>(this, TabSheet1, "CBColorEach", 180, 8, 100, 17, "Color &Each");
  BBarColor = Make<TButtonColor>(this, TabSheet1, "BBarColor", 180, 30, 90, 25, "&Color...");
  BGradient = Make<TButton>(this, TabSheet1, "BGradient", 180, 58, 90, 25, "&Gradient...");
  BTickLines = Make<TButtonPen>(this, TabSheet1, "BTickLines", 8, 90, 90, 25, "&Tick lines...");
  EBevel = Make<TEdit>(this, TabSheet1, "EBevel", 250, 92, 35, 21);
  UDBevel = MakeUpDown(this, TabSheet1, "UDBevel", EBevel, 0, 100, 1);
  UDBevel->SetPosition(1);
  LBevel = MakeLabel(this, TabSheet1, "LBevel", 180, 96, "Be&vel size:", EBevel);
  CBDarkBar = Make<TCheckBox>(this, TabSheet1, "CBDarkBar", 8, 122, 160, 17, "&Dark Bar 3D Sides");

  SEBarwidth = Make<TEdit>(this, TabSheet2, "SEBarwidth", 100, 8, 40, 21);
  UDBarWidth = MakeUpDown(this, TabSheet2, "UDBarWidth", SEBarwidth, 1, 100, 5);
  Label1 = MakeLabel(this, TabSheet2, "Label1", 8, 12, "% Bar &Width:", SEBarwidth);
  SEBarOffset = Make<TEdit>(this, TabSheet2, "SEBarOffset", 100, 36, 40, 21);
  UDBarOffset = MakeUpDown(this, TabSheet2, "UDBarOffset", SEBarOffset, -100, 100, 5);
  Label2 = MakeLabel(this, TabSheet2, "Label2", 8, 40, "% Bar O&ffset:", SEBarOffset);
  Edit1 = Make<TEdit>(this, TabSheet2, "Edit1", 100, 64, 40, 21);
  UDDepth = MakeUpDown(this, TabSheet2, "UDDepth", Edit1, 1, 100, 5);
  Label3 = MakeLabel(this, TabSheet2, "Label3", 8, 68, "% Bar &Depth:", Edit1);
  CBBarSideMargins = Make<TCheckBox>(this, TabSheet2, "CBBarSideMargins", 170, 10, 140, 17, "Bar S&ide Margins");
  CBMarksAutoPosition = Make<TCheckBox>(this, TabSheet2, "CBMarksAutoPosition", 170, 32, 140, 17, "&Auto Mark Position");

  CBBarStyle->OnChange = [this](TObject* s) { CBBarStyleChange(s); };
  BBarBrush->OnClick = [this](TObject* s) { BBarBrushClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
  EBevel->OnChange = [this](TObject* s) { EBevelChange(s); };
  CBDarkBar->OnClick = [this](TObject* s) { CBDarkBarClick(s); };
  SEBarwidth->OnChange = [this](TObject* s) { SEBarwidthChange(s); };
  SEBarOffset->OnChange = [this](TObject* s) { SEBarOffsetChange(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  CBBarSideMargins->OnClick = [this](TObject* s) { CBBarSideMarginsClick(s); };
  CBMarksAutoPosition->OnClick = [this](TObject* s) { CBMarksAutoPositionClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TBarSeriesEditor::~TBarSeriesEditor() { FireOnDestroy(this); }

void TBarSeriesEditor::FormCreate(TObject*) {
  FLoading = true;
  PageControl1->SetActivePage(TabSheet1);
  SetAlign(alClient);
}

void TBarSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TBarSeriesEditor::ApplyStyleRules() {
  const TBarStyle style = Series ? Series->BarStyle() : bsRectangle;
  BGradient->SetEnabled(style == bsRectangle || style == bsRectGradient);
  const bool bevel = style == bsBevel;
  LBevel->SetEnabled(bevel);
  EBevel->SetEnabled(bevel);
  UDBevel->SetEnabled(bevel);
}

void TBarSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomBarSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBBarStyle->SetItemIndex(Series->BarStyle());
  BBarPen->LinkPen(Series->BarPen());
  BTickLines->LinkPen(Series->TickLines());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  LinkSeriesColorButton(BBarColor, Series);
  BBarColor->SetEnabled(!Series->ColorEachPoint());
  UDBevel->SetPosition(Series->BevelSize());
  CBDarkBar->SetChecked(Series->Dark3D());
  UDBarWidth->SetPosition(Series->BarWidthPercent());
  UDBarOffset->SetPosition(Series->OffsetPercent());
  UDDepth->SetPosition(Series->DepthPercent());
  CBBarSideMargins->SetChecked(Series->SideMargins());
  CBMarksAutoPosition->SetChecked(Series->AutoMarkPosition());
  ApplyStyleRules();
  if (!FStackForm)
    FTabs->Keep(FStackForm, dynamic_cast<TStackBarSeriesEditor*>(CreateSeriesEditorTab(
                                Parent(), &TStackBarSeriesEditor::StaticClass(), 1, "Stack", Series)));
  FLoading = false;
}

void TBarSeriesEditor::CBBarStyleChange(TObject*) {
  if (FLoading || !Series || CBBarStyle->ItemIndex() < 0) return;
  Series->SetBarStyle(static_cast<TBarStyle>(CBBarStyle->ItemIndex()));
  ApplyStyleRules();
}

void TBarSeriesEditor::BBarBrushClick(TObject*) {
  if (!FLoading && Series) RunBrushDialog(this, Series->BarBrush());
}

void TBarSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BBarColor->SetEnabled(!Series->ColorEachPoint());
  if (BBarColor->Enabled()) BBarColor->Repaint();
}

void TBarSeriesEditor::BGradientClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetBarStyle(bsRectGradient);
  CBBarStyle->SetItemIndex(bsRectGradient);
  ApplyStyleRules();
  RunGradientEditor(this, Series->Gradient(), true, true);
}

void TBarSeriesEditor::EBevelChange(TObject*) {
  if (!FLoading && Series) Series->SetBevelSize(UDBevel->Position());
}

void TBarSeriesEditor::CBDarkBarClick(TObject*) {
  if (!FLoading && Series) Series->SetDark3D(CBDarkBar->Checked());
}

void TBarSeriesEditor::SEBarwidthChange(TObject*) {
  if (!FLoading && Series) Series->SetBarWidthPercent(UDBarWidth->Position());
}

void TBarSeriesEditor::SEBarOffsetChange(TObject*) {
  if (!FLoading && Series) Series->SetOffsetPercent(UDBarOffset->Position());
}

void TBarSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Series) Series->SetDepthPercent(UDDepth->Position());
}

void TBarSeriesEditor::CBBarSideMarginsClick(TObject*) {
  if (!FLoading && Series) Series->SetSideMargins(CBBarSideMargins->Checked());
}

void TBarSeriesEditor::CBMarksAutoPositionClick(TObject*) {
  if (Series) Series->SetAutoMarkPosition(CBMarksAutoPosition->Checked());
}

void RegisterBarSeriesEditorClasses() { RegisterClasses({&TBarSeriesEditor::StaticClass()}); }
