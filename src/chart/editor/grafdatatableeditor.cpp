#include "chart/editor/grafdatatableeditor.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TDataTableEditor, TForm)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(-1000);
  ud->SetMax(1000);
  ud->SetThousands(false);
  ud->SetAssociate(Edit);
  return ud;
}
}  // namespace

TDataTableEditor::TDataTableEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("DataTable editor");
  SetClientWidth(330);
  SetClientHeight(230);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 330, 230);
  PageControl1->SetAlign(alClient);
  TabFormat = MakeSheet(this, PageControl1, "TabFormat", "Format");
  TabLegend = MakeSheet(this, PageControl1, "TabLegend", "Legend");
  TabText = MakeSheet(this, PageControl1, "TabText", "Text");
  ButtonPen1 = Make<TButtonPen>(this, TabFormat, "ButtonPen1", 8, 8, 90, 25, "&Rows...");
  ButtonPen2 = Make<TButtonPen>(this, TabFormat, "ButtonPen2", 8, 38, 90, 25, "&Columns...");
  CBInverted = Make<TCheckBox>(this, TabFormat, "CBInverted", 8, 70, 90, 17, "&Inverted");
  GroupBox1 = Make<TGroupBox>(this, TabFormat, "GroupBox1", 120, 4, 150, 100);
  GroupBox1->SetCaption("Position:");
  CBAutoPos = Make<TCheckBox>(this, GroupBox1, "CBAutoPos", 8, 16, 100, 17, "&Automatic");
  Edit1 = Make<TEdit>(this, GroupBox1, "Edit1", 50, 40, 50, 21);
  UDLeft = MakeUpDown(this, GroupBox1, "UDLeft", Edit1);
  Label1 = MakeLabel(this, GroupBox1, "Label1", 8, 44, "&Left:", Edit1);
  Edit2 = Make<TEdit>(this, GroupBox1, "Edit2", 50, 68, 50, 21);
  UDTop = MakeUpDown(this, GroupBox1, "UDTop", Edit2);
  Label2 = MakeLabel(this, GroupBox1, "Label2", 8, 72, "&Top:", Edit2);

  PageControl2 = Make<TPageControl>(this, TabLegend, "PageControl2", 0, 0, 320, 200);
  PageControl2->SetAlign(alClient);
  TabLegendFormat = MakeSheet(this, PageControl2, "TabLegendFormat", "Format");
  TabSymbol = MakeSheet(this, PageControl2, "TabSymbol", "Symbol");
  TabLegendText = MakeSheet(this, PageControl2, "TabLegendText", "Text");
  CBLegVisible = Make<TCheckBox>(this, TabLegendFormat, "CBLegVisible", 8, 8, 120, 17, "&Visible");
  CBFontColor = Make<TCheckBox>(this, TabLegendFormat, "CBFontColor", 8, 30, 140, 17, "Font Series &Color");
  CBOtherSide = Make<TCheckBox>(this, TabLegendFormat, "CBOtherSide", 8, 52, 120, 17, "&Other Side");

  CBInverted->OnClick = [this](TObject* s) { CBInvertedClick(s); };
  CBAutoPos->OnClick = [this](TObject* s) { CBAutoPosClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  CBLegVisible->OnClick = [this](TObject* s) { CBLegVisibleClick(s); };
  CBFontColor->OnClick = [this](TObject* s) { CBFontColorClick(s); };
  CBOtherSide->OnClick = [this](TObject* s) { CBOtherSideClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TDataTableEditor::FormCreate(TObject*) { FLoading = true; }

void TDataTableEditor::FormShow(TObject*) {
  Tool = dynamic_cast<TDataTableTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!Tool) return;
  FLoading = true;
  CBAutoPos->SetChecked(Tool->AutoPosition());
  CBAutoPosClick(CBAutoPos);
  ButtonPen1->LinkPen(Tool->RowPen());
  ButtonPen2->LinkPen(Tool->ColumnPen());
  CBInverted->SetChecked(Tool->Inverted());
  UDLeft->SetPosition(Tool->Left());
  UDTop->SetPosition(Tool->Top());
  CBLegVisible->SetChecked(Tool->Legend()->Visible());
  CBFontColor->SetChecked(Tool->Legend()->FontSeriesColor());
  CBOtherSide->SetChecked(Tool->Legend()->OtherSide());
  if (!FSymbolEditor) {
    FSymbolEditor = new TSymbolEditor(this);
    EmbedEditorForm(FSymbolEditor, TabSymbol, Tool->Legend()->Symbol());
  }
  FSymbolEditor->BindSymbol(Tool->Legend()->Symbol());
  if (!FTextEditor) FTextEditor = EmbedFontEditor(TabText);
  FTextEditor->BindFont(Tool->Font());
  if (!FLegendTextEditor) FLegendTextEditor = EmbedFontEditor(TabLegendText);
  FLegendTextEditor->BindFont(Tool->Legend()->Font());
  PageControl1->SetActivePage(TabFormat);
  PageControl2->SetActivePage(TabLegendFormat);
  FLoading = false;
}

void TDataTableEditor::CBInvertedClick(TObject*) {
  if (!FLoading && Tool) Tool->SetInverted(CBInverted->Checked());
}

void TDataTableEditor::CBAutoPosClick(TObject*) {
  if (!Tool) return;
  Tool->SetAutoPosition(CBAutoPos->Checked());
  if (!Tool->AutoPosition()) {
    const bool was = FLoading;
    FLoading = true;
    UDLeft->SetPosition(Tool->Left());
    UDTop->SetPosition(Tool->Top());
    FLoading = was;
  }
  const bool manual = !Tool->AutoPosition();
  for (TControl* c : std::initializer_list<TControl*>{Edit1, Edit2, UDLeft, UDTop}) c->SetEnabled(manual);
}

void TDataTableEditor::Edit1Change(TObject*) {
  if (!FLoading && Tool && !Tool->AutoPosition()) Tool->SetLeft(UDLeft->Position());
}

void TDataTableEditor::Edit2Change(TObject*) {
  if (!FLoading && Tool && !Tool->AutoPosition()) Tool->SetTop(UDTop->Position());
}

void TDataTableEditor::CBLegVisibleClick(TObject*) {
  if (!FLoading && Tool) Tool->Legend()->SetVisible(CBLegVisible->Checked());
}

void TDataTableEditor::CBFontColorClick(TObject*) {
  if (!FLoading && Tool) Tool->Legend()->SetFontSeriesColor(CBFontColor->Checked());
}

void TDataTableEditor::CBOtherSideClick(TObject*) {
  if (!FLoading && Tool) Tool->Legend()->SetOtherSide(CBOtherSide->Checked());
}

void RegisterDataTableEditorClasses() { RegisterClasses({&TDataTableEditor::StaticClass()}); }
