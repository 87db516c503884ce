#include "chart/editor/grafedititl.h"

#include <vector>

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

namespace {
TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 45, 21);
  e->SetText("0");
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 45, Top, 15, 21);
  UpDown->SetMin(-1000);
  UpDown->SetMax(1000);
  UpDown->SetIncrement(5);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(0);
  e->SetEnabled(false);
  UpDown->SetEnabled(false);
  return e;
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormGrafTitle, TForm)

TFormGrafTitle::TFormGrafTitle(TComponent* AOwner, TChartTitle* Title, TCustomChart* Chart)
    : TForm(AOwner), EditedChart(Chart), CurrentTitle(Title) {
  FillingText = false;
  SetClientWidth(330);
  SetClientHeight(226);
  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 0, 330, 28);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  CBTitles = Make<TComboFlat>(this, Panel1, "CBTitles", 6, 4, 110, 21);
  CBTitles->SetStyle(csDropDownList);
  for (const char* t : {"Title", "SubTitle", "SubFoot", "Foot"}) CBTitles->Items()->Add(t);
  PageControlTitle = Make<TPageControl>(this, this, "PageControlTitle", 0, 28, 330, 198);
  PageControlTitle->SetAlign(alClient);
  PageControlTitle->SetHotTrack(true);
  TabSheet1 = new TTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetCaption("Style");
  TabSheet1->SetPageControl(PageControlTitle);
  TabSheet2 = new TTabSheet(this);
  TabSheet2->SetName("TabSheet2");
  TabSheet2->SetCaption("Position");
  TabSheet2->SetPageControl(PageControlTitle);

  MText = Make<TMemo>(this, TabSheet1, "MText", 6, 22, 200, 110);
  MakeLabel(this, TabSheet1, "LText", 6, 6, "&Text:", MText);
  CBVisible = Make<TCheckBox>(this, TabSheet1, "CBVisible", 214, 22, 100, 17, "&Visible");
  CBAdjust = Make<TCheckBox>(this, TabSheet1, "CBAdjust", 214, 42, 100, 17, "&Adjust Frame");
  CBAlign = Make<TComboFlat>(this, TabSheet1, "CBAlign", 214, 82, 90, 21);
  CBAlign->SetStyle(csDropDownList);
  for (const char* a : {"Left", "Center", "Right"}) CBAlign->Items()->Add(a);
  MakeLabel(this, TabSheet1, "LAlign", 214, 66, "Alig&nment:", CBAlign);

  CBCustPos = Make<TCheckBox>(this, TabSheet2, "CBCustPos", 6, 8, 100, 17, "&Custom:");
  ECustLeft = MakeSpin(this, TabSheet2, "ECustLeft", "UDLeft", 60, 32, UDLeft);
  MakeLabel(this, TabSheet2, "LCustLeft", 6, 36, "L&eft:", ECustLeft);
  ECustTop = MakeSpin(this, TabSheet2, "ECustTop", "UDTop", 60, 58, UDTop);
  MakeLabel(this, TabSheet2, "LCustTop", 6, 62, "T&op:", ECustTop);

  TitleShapeEditor = EmbedShapeEditor(PageControlTitle, Title);

  CBTitles->OnChange = [this](TObject* s) { CBTitlesChange(s); };
  MText->OnChange = [this](TObject* s) { MTextChange(s); };
  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  CBAdjust->OnClick = [this](TObject* s) { CBAdjustClick(s); };
  CBAlign->OnChange = [this](TObject* s) { CBAlignChange(s); };
  CBCustPos->OnClick = [this](TObject* s) { CBCustPosClick(s); };
  ECustLeft->OnChange = [this](TObject* s) { ECustLeftChange(s); };
  ECustTop->OnChange = [this](TObject* s) { ECustTopChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGrafTitle::FormCreate(TObject*) {
  Filling = true;
  SetBorderStyle(bsNone);
  PageControlTitle->SetActivePage(TabSheet1);
}

void TFormGrafTitle::FormShow(TObject*) {
  if (!CurrentTitle || !EditedChart) return;
  TCustomChart* c = EditedChart;
  CBTitles->SetItemIndex(CurrentTitle == c->Title() ? 0 : CurrentTitle == c->SubTitle() ? 1
                         : CurrentTitle == c->SubFoot() ? 2 : 3);
  FillTitle();
  Filling = false;
}

void TFormGrafTitle::CBTitlesChange(TObject*) {
  if (!EditedChart) return;
  switch (CBTitles->ItemIndex()) {
    case 0: CurrentTitle = EditedChart->Title(); break;
    case 1: CurrentTitle = EditedChart->SubTitle(); break;
    case 2: CurrentTitle = EditedChart->SubFoot(); break;
    default: CurrentTitle = EditedChart->Foot(); break;
  }
  FillTitle();
}

void TFormGrafTitle::FillTitle() {
  TChartTitle* t = CurrentTitle;
  FLoading = true;
  const TAlignment a = t->Alignment();
  CBAlign->SetItemIndex(a == taLeftJustify ? 0 : a == taCenter ? 1 : 2);
  CBVisible->SetChecked(t->Visible());
  CBAdjust->SetChecked(t->AdjustFrame());
  CBCustPos->SetChecked(t->CustomPosition());
  EnableCustomPosition();
  FillingText = true;
  std::string text;
  for (int i = 0; i < t->Text()->Count(); ++i) text += (i ? "\r\n" : "") + t->Text()->Strings(i);
  MText->SetText(text);
  FillingText = false;
  TitleShapeEditor->BindShape(t);
  FLoading = false;
}

void TFormGrafTitle::EnableCustomPosition() {
  const bool was = Filling;
  Filling = true;
  const bool custom = CurrentTitle->CustomPosition();
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, ECustTop, UDLeft, UDTop}) c->SetEnabled(custom);
  if (custom) {
    UDLeft->SetPosition(CurrentTitle->Left());
    UDTop->SetPosition(CurrentTitle->Top());
  }
  Filling = was;
}

void TFormGrafTitle::CBCustPosClick(TObject*) {
  if (FLoading || !CurrentTitle) return;
  CurrentTitle->SetCustomPosition(CBCustPos->Checked());
  EnableCustomPosition();
}

void TFormGrafTitle::ECustLeftChange(TObject*) {
  if (Filling || !CurrentTitle || !CurrentTitle->CustomPosition()) return;
  if (UDLeft->Position() != CurrentTitle->Left()) CurrentTitle->SetLeft(UDLeft->Position());
}

void TFormGrafTitle::ECustTopChange(TObject*) {
  if (Filling || !CurrentTitle || !CurrentTitle->CustomPosition()) return;
  if (UDTop->Position() != CurrentTitle->Top()) CurrentTitle->SetTop(UDTop->Position());
}

void TFormGrafTitle::MTextChange(TObject*) {
  if (FillingText || Filling || !CurrentTitle) return;
  const std::vector<std::string> lines = MText->Lines();
  std::vector<std::string> now;
  for (int i = 0; i < CurrentTitle->Text()->Count(); ++i) now.push_back(CurrentTitle->Text()->Strings(i));
  if (lines == now) return;
  TStringList text;
  for (const std::string& l : lines) text.Add(l);
  CurrentTitle->SetText(&text);
}

void TFormGrafTitle::CBAlignChange(TObject*) {
  if (FLoading || !CurrentTitle) return;
  const int i = CBAlign->ItemIndex();
  CurrentTitle->SetAlignment(i == 0 ? taLeftJustify : i == 1 ? taCenter : taRightJustify);
}

void TFormGrafTitle::CBVisibleClick(TObject*) {
  if (!FLoading && CurrentTitle) CurrentTitle->SetVisible(CBVisible->Checked());
}

void TFormGrafTitle::CBAdjustClick(TObject*) {
  if (!FLoading && CurrentTitle) CurrentTitle->SetAdjustFrame(CBAdjust->Checked());
}

void RegisterTitlePageClasses() { RegisterClasses({&TFormGrafTitle::StaticClass()}); }
