#include "chart/editor/grafmapseriesedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TMapSeriesEditor, TForm)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TMapSeriesEditor::TMapSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(420);
  SetClientHeight(240);
  FTabs = new TEditorTabs(this);
  PageControl2 = Make<TPageControl>(this, this, "PageControl2", 0, 0, 420, 240);
  PageControl2->SetAlign(alClient);
  TabGlobal = MakeSheet(this, PageControl2, "TabGlobal", "Global");
  TabShapes = MakeSheet(this, PageControl2, "TabShapes", "Shapes");
  BMapBrush = Make<TButton>(this, TabGlobal, "BMapBrush", 8, 8, 90, 25, "B&rush...");
  ButtonPen1 = Make<TButtonPen>(this, TabGlobal, "ButtonPen1", 8, 38, 90, 25, "&Border...");

  PanelList = Make<TPanel>(this, TabShapes, "PanelList", 0, 0, 130, 210);
  PanelList->SetAlign(alLeft);
  PanelList->SetBevelOuter(bvNone);
  ChartListBox1 = Make<TChartListBox>(this, PanelList, "ChartListBox1", 0, 0, 130, 180);
  ChartListBox1->SetAlign(alTop);
  ChartListBox1->SetShowSeriesIcon(false);
  ChartListBox1->EnableChangeType = false;
  ChartListBox1->SetItemHeight(20);
  SBAdd = Make<TSpeedButton>(this, PanelList, "SBAdd", 4, 184, 24, 22, "+");
  SBDelete = Make<TSpeedButton>(this, PanelList, "SBDelete", 32, 184, 24, 22, "-");
  SBDelete->SetEnabled(false);

  PageControl1 = Make<TPageControl>(this, TabShapes, "PageControl1", 130, 0, 280, 210);
  PageControl1->SetAlign(alClient);
  TabValues = MakeSheet(this, PageControl1, "TabValues", "Values");
  TabFormat = MakeSheet(this, PageControl1, "TabFormat", "Format");
  TabData = MakeSheet(this, PageControl1, "TabData", "Points");
  Label1 = MakeLabel(this, TabValues, "Label1", 8, 8, "Shape Index: ");
  ShapeIndex = MakeLabel(this, TabValues, "ShapeIndex", 90, 8, "");
  EText = Make<TEdit>(this, TabValues, "EText", 50, 30, 150, 21);
  Label2 = MakeLabel(this, TabValues, "Label2", 8, 34, "&Text:", EText);
  EditZ = Make<TEdit>(this, TabValues, "EditZ", 50, 58, 100, 21);
  Label3 = MakeLabel(this, TabValues, "Label3", 8, 62, "&Z:", EditZ);

  ButtonPen2 = Make<TButtonPen>(this, TabFormat, "ButtonPen2", 8, 8, 90, 25, "Bord&er...");
  CBGlobalPen = Make<TCheckBox>(this, TabFormat, "CBGlobalPen", 106, 12, 70, 17, "&Global");
  BBrush = Make<TButton>(this, TabFormat, "BBrush", 8, 38, 90, 25, "Br&ush...");
  CBGlobalBrush = Make<TCheckBox>(this, TabFormat, "CBGlobalBrush", 106, 42, 70, 17, "Gl&obal");
  BGradient = Make<TButtonGradient>(this, TabFormat, "BGradient", 8, 68, 90, 25, "&Gradient...");
  ButtonColor1 = Make<TButtonColor>(this, TabFormat, "ButtonColor1", 8, 98, 90, 25, "&Color...");
  CBDefaultColor = Make<TCheckBox>(this, TabFormat, "CBDefaultColor", 106, 102, 70, 17, "&Default");
  CBClosed = Make<TCheckBox>(this, TabFormat, "CBClosed", 180, 12, 80, 17, "Closed");
  CBVisible = Make<TCheckBox>(this, TabFormat, "CBVisible", 180, 42, 80, 17, "&Visible");
  ETransp = Make<TEdit>(this, TabFormat, "ETransp", 100, 132, 35, 21);
  UDTransp = Make<TUpDown>(this, TabFormat, "UDTransp", 135, 132, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetAssociate(ETransp);
  Label4 = MakeLabel(this, TabFormat, "Label4", 8, 136, "&Transparency:", ETransp);

  ChartGrid1 = Make<TChartGrid>(this, TabData, "ChartGrid1", 0, 0, 270, 150);
  ChartGrid1->SetAlign(alClient);
  ChartGrid1->SetShowLabels(false);
  ChartGrid1->SetShowXValues(cgsYes);
  ChartGridNavigator1 = Make<TChartGridNavigator>(this, TabData, "ChartGridNavigator1", 0, 150, 270, 25);
  ChartGridNavigator1->SetAlign(alBottom);
  ChartGridNavigator1->SetGrid(ChartGrid1);

  BMapBrush->OnClick = [this](TObject* s) { BMapBrushClick(s); };
  ChartListBox1->OnClick = [this](TObject* s) { ChartListBox1Click(s); };
  ChartListBox1->OnChangeColor = [this](TChartListBox* s, TCustomChartSeries* series) {
    ChartListBox1ChangeColor(s, series);
  };
  // A shape switched on or off in the list shows so on its "Visible" box.
  ChartListBox1->OnChangeActive = [this](TChartListBox*, TCustomChartSeries*) {
    if (TGrafPolygon* shape = SelectedShape()) {
      const bool was = FLoading;
      FLoading = true;
      CBVisible->SetChecked(shape->Points()->Active());
      FLoading = was;
    }
  };
  PageControl2->OnChange = [this](TObject* s) { PageControl2Change(s); };
  SBAdd->OnClick = [this](TObject* s) { SBAddClick(s); };
  SBDelete->OnClick = [this](TObject* s) { SBDeleteClick(s); };
  EText->OnChange = [this](TObject* s) { ETextChange(s); };
  EditZ->OnChange = [this](TObject* s) { EditZChange(s); };
  EditZ->OnExit = [this](TObject* s) { EditZExit(s); };
  ButtonPen2->OnClick = [this](TObject* s) { ButtonPen2Click(s); };
  CBGlobalPen->OnClick = [this](TObject* s) { CBGlobalPenClick(s); };
  BBrush->OnClick = [this](TObject* s) { BBrushClick(s); };
  CBGlobalBrush->OnClick = [this](TObject* s) { CBGlobalBrushClick(s); };
  BGradient->OnClick = [this](TObject* s) { BGradientClick(s); };
  ButtonColor1->OnClick = [this](TObject* s) { ButtonColor1Click(s); };
  CBDefaultColor->OnClick = [this](TObject* s) { CBDefaultColorClick(s); };
  CBClosed->OnClick = [this](TObject* s) { CBClosedClick(s); };
  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  ETransp->OnChange = [this](TObject* s) { ETranspChange(s); };
  // Every committed edit of a shape's points repaints the map at once.
  ChartGrid1->OnSetEditText = [this](TObject*, int, int, const std::string&) {
    if (Series) Series->RequestRedraw();
  };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TMapSeriesEditor::~TMapSeriesEditor() { FireOnDestroy(this); }

void TMapSeriesEditor::FormDestroy(TObject*) {
  // The grid lets go of the shape's points before the editor goes.
  ChartGrid1->SetSeries(nullptr);
  FTabs->FreeAll();
}

TGrafPolygon* TMapSeriesEditor::SelectedShape() const {
  if (!Series) return nullptr;
  const int i = ChartListBox1->ItemIndex();
  return i >= 0 && i < Series->Shapes()->Count() ? Series->Shapes()->Polygon(i) : nullptr;
}

void TMapSeriesEditor::FillShapeList() {
  ChartListBox1->ClearItems();
  if (!Series) return;
  for (int i = 0; i < Series->Shapes()->Count(); ++i) {
    std::string text = i < Series->PointCount() ? Series->PointLabel(i) : std::string();
    if (text.empty()) text = IntToStr(i);
    ChartListBox1->Items()->AddObject(text, Series->Shapes()->Polygon(i)->Points());
  }
}

void TMapSeriesEditor::EnableShapeTabs() {
  const bool any = Series && Series->Shapes()->Count() > 0;
  for (TTabSheet* tab : {TabValues, TabFormat, TabData})
    for (int i = 0; i < tab->ControlCount(); ++i) tab->Controls(i)->SetEnabled(any);
}

void TMapSeriesEditor::FormShow(TObject*) {
  FLoading = false;
  if (Parent()) SetAlign(alClient);
  Series = dynamic_cast<TMapSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  ButtonPen1->LinkPen(Series->Pen());
  if (!FGridForm) FTabs->Keep(FGridForm, AddGrid3DEditorPage(Parent(), Series));
  ChartGrid1->SetSecondHeaderRow(false);
  EnableShapeTabs();
  ChartGridNavigator1->Buttons(nbInsert)->SetVisible(true);
  ChartGridNavigator1->Buttons(nbDelete)->SetVisible(true);
  if (Series->Shapes()->Count() > 0) {
    FillShapeList();
    SelectAndLoad(0);
  }
  PageControl2->SetActivePage(TabGlobal);
  PageControl1->SetActivePage(TabValues);
  ButtonPen1->SetEnabled(true);
}

void TMapSeriesEditor::SelectAndLoad(int Index) {
  ChartListBox1->SetItemIndex(Index);
  ChartListBox1Click(ChartListBox1);
}

void TMapSeriesEditor::RefreshDefaultColor() {
  TGrafPolygon* shape = SelectedShape();
  const bool was = FLoading;
  FLoading = true;
  const bool isDefault = shape && shape->Color() == clDefault;
  CBDefaultColor->SetChecked(isDefault);
  CBDefaultColor->SetEnabled(shape && !isDefault);
  FLoading = was;
}

void TMapSeriesEditor::ChartListBox1Click(TObject*) {
  EnableShapeTabs();
  TGrafPolygon* shape = SelectedShape();
  const bool was = FLoading;
  FLoading = true;
  if (!shape) {
    ShapeIndex->SetCaption("");
    ButtonPen2->LinkPen(nullptr);
    ButtonColor1->LinkProperty(nullptr, "");
    EText->SetText("");
    EditZ->SetText("0");
    ChartGrid1->SetSeries(nullptr);
    FLoading = was;
    return;
  }
  ShapeIndex->SetCaption(IntToStr(shape->Index()));
  ButtonPen2->LinkPen(shape->Pen());
  ButtonColor1->LinkProperty(shape, "Color");
  ButtonColor1->Repaint();
  CBGlobalPen->SetChecked(shape->ParentPen());
  RefreshDefaultColor();
  CBGlobalBrush->SetChecked(shape->ParentBrush());
  EText->SetText(shape->Text());
  EditZ->SetText(FloatToStr(shape->Z()));
  CBClosed->SetChecked(shape->Closed());
  CBVisible->SetChecked(shape->Points()->Active());
  UDTransp->SetPosition(shape->Transparency());
  ChartGrid1->SetSeries(shape->Points());
  BGradient->LinkGradient(shape->Gradient());
  SBDelete->SetEnabled(true);
  FLoading = was;
}

void TMapSeriesEditor::ChartListBox1ChangeColor(TChartListBox*, TCustomChartSeries*) {
  ButtonColor1->Repaint();
  ChartListBox1->Invalidate();
}

void TMapSeriesEditor::PageControl2Change(TObject*) {
  if (!Series || ChartListBox1->Items()->Count() == Series->Shapes()->Count()) return;
  const int current = ChartListBox1->ItemIndex();
  FillShapeList();
  SelectAndLoad(current < Series->Shapes()->Count() ? current : Series->Shapes()->Count() - 1);
}

void TMapSeriesEditor::SBAddClick(TObject*) {
  if (!Series) return;
  TGrafPolygon* shape = Series->Shapes()->AddPolygon();
  shape->SetText(IntToStr(Series->PointCount()));
  FillShapeList();
  const int last = ChartListBox1->Items()->Count() - 1;
  SelectAndLoad(last);
  if (ChartListBox1->CanFocus()) ChartListBox1->SetFocus();
  EnableShapeTabs();
}

void TMapSeriesEditor::SBDeleteClick(TObject*) {
  if (!Series) return;
  const int i = ChartListBox1->ItemIndex();
  if (i < 0 || i >= Series->PointCount()) return;
  ChartGrid1->SetSeries(nullptr);
  Series->RemovePoint(i);
  const int count = Series->Shapes()->Count();
  SBDelete->SetEnabled(count > 0);
  FillShapeList();
  SelectAndLoad(count == 0 ? -1 : i >= count ? count - 1 : i);
  EnableShapeTabs();
}

void TMapSeriesEditor::BMapBrushClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TMapSeriesEditor::ETextChange(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (FLoading || !shape) return;
  shape->SetText(EText->Text());
  const int i = ChartListBox1->ItemIndex();
  std::string text = EText->Text();
  if (text.empty()) text = IntToStr(i);
  ChartListBox1->Items()->Put(i, text);
  ChartListBox1->SetItemIndex(i);
  ChartListBox1->Invalidate();
}

void TMapSeriesEditor::EditZChange(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (FLoading || !shape) return;
  // A half-typed number keeps the shape's value; leaving the box reports it.
  double value;
  if (ReadTypedNumber(EditZ->Text(), value) && value != shape->Z()) shape->SetZ(value);
}

void TMapSeriesEditor::EditZExit(TObject*) {
  if (SelectedShape()) ReportUnreadableNumber(EditZ, false);
}

void TMapSeriesEditor::ButtonPen2Click(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (!shape) return;
  CBGlobalPen->SetChecked(false);
  Series->RequestRedraw();
}

void TMapSeriesEditor::CBGlobalPenClick(TObject*) {
  if (TGrafPolygon* shape = SelectedShape(); shape && !FLoading) shape->SetParentPen(CBGlobalPen->Checked());
}

void TMapSeriesEditor::BBrushClick(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (!shape) return;
  RunBrushDialog(this, shape->Brush());
  CBGlobalBrush->SetChecked(false);
  Series->RequestRedraw();
}

void TMapSeriesEditor::CBGlobalBrushClick(TObject*) {
  if (TGrafPolygon* shape = SelectedShape(); shape && !FLoading) shape->SetParentBrush(CBGlobalBrush->Checked());
}

void TMapSeriesEditor::BGradientClick(TObject*) { ChartListBox1->Invalidate(); }

void TMapSeriesEditor::ButtonColor1Click(TObject*) {
  RefreshDefaultColor();
  ChartListBox1->Invalidate();
}

void TMapSeriesEditor::CBDefaultColorClick(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (FLoading || !shape || !CBDefaultColor->Checked()) return;
  shape->SetColor(clDefault);
  ButtonColor1->Repaint();
  ChartListBox1->Invalidate();
  RefreshDefaultColor();
}

void TMapSeriesEditor::CBClosedClick(TObject*) {
  if (TGrafPolygon* shape = SelectedShape(); shape && !FLoading) shape->SetClosed(CBClosed->Checked());
}

void TMapSeriesEditor::CBVisibleClick(TObject*) {
  if (TGrafPolygon* shape = SelectedShape(); shape && !FLoading) shape->Points()->SetActive(CBVisible->Checked());
}

void TMapSeriesEditor::ETranspChange(TObject*) {
  TGrafPolygon* shape = SelectedShape();
  if (!FLoading && shape && FormShowing(this)) shape->SetTransparency(UDTransp->Position());
}

void RegisterMapSeriesEditorClasses() { RegisterClasses({&TMapSeriesEditor::StaticClass()}); }
