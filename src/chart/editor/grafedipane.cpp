#include "chart/editor/grafedipane.h"

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"

using namespace editorbuild;

namespace {
TEdit* MakeSpin(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                TUpDown*& UpDown, int Min, int Max) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 45, 21);
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 45, Top, 15, 21);
  UpDown->SetMin(Min);
  UpDown->SetMax(Max);
  UpDown->SetThousands(false);
  UpDown->SetAssociate(e);
  UpDown->SetPosition(Min);
  return e;
}

TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* sheet = new TTabSheet(Owner);
  sheet->SetName(Name);
  sheet->SetCaption(Caption);
  sheet->SetPageControl(Pages);
  return sheet;
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormGrafPanel, TForm)

TFormGrafPanel::TFormGrafPanel(TComponent* AOwner, TCustomGrafPanelExtended* Panel)
    : TForm(AOwner), EditedChart(Panel) {
  SetCaption("Panel Editor");
  SetClientWidth(360);
  SetClientHeight(230);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 360, 230);
  PageControl1->SetAlign(alClient);
  PageControl1->SetHotTrack(true);
  TabBack = MakeSheet(this, PageControl1, "TabBack", "Background");
  TabBorders = MakeSheet(this, PageControl1, "TabBorders", "Borders");
  TabGradient = MakeSheet(this, PageControl1, "TabGradient", "Gradient");
  TabShadow = MakeSheet(this, PageControl1, "TabShadow", "Shadow");

  BPanelColor = Make<TButtonColor>(this, TabBack, "BPanelColor", 6, 6, 90, 25, "&Color...");
  CBColorDef = Make<TCheckBox>(this, TabBack, "CBColorDef", 104, 10, 80, 17, "&Default");
  GroupBox1 = Make<TGroupBox>(this, TabBack, "GroupBox1", 6, 38, 340, 160, "Back Image:");
  RGBitmap = Make<TRadioGroup>(this, GroupBox1, "RGBitmap", 6, 16, 110, 110, "St&yle");
  for (const char* m : {"Stretch", "Tile", "Center", "C&ustom"}) RGBitmap->Items()->Add(m);
  BBrowseImage = Make<TButton>(this, GroupBox1, "BBrowseImage", 124, 18, 80, 25, GrafMsgBrowse);
  CBImageInside = Make<TCheckBox>(this, GroupBox1, "CBImageInside", 124, 50, 80, 17, "I&nside");
  CBTransp = Make<TCheckBox>(this, GroupBox1, "CBTransp", 124, 70, 100, 17, "&Transparent");
  ELeft = MakeSpin(this, GroupBox1, "ELeft", "UDLeft", 264, 18, UDLeft, 0, 100);
  MakeLabel(this, GroupBox1, "LLeft", 224, 22, "&Left:", ELeft);
  ETop = MakeSpin(this, GroupBox1, "ETop", "UDTop", 264, 44, UDTop, 0, 100);
  MakeLabel(this, GroupBox1, "LTop", 224, 48, "T&op:", ETop);

  SEPanelBor = MakeSpin(this, TabBorders, "SEPanelBor", "UDPanelBor", 100, 6, UDPanelBor, 0, 100);
  MakeLabel(this, TabBorders, "LPanelBor", 6, 10, "&Separation:", SEPanelBor);
  SEPanelWi = MakeSpin(this, TabBorders, "SEPanelWi", "UDPanelWi", 100, 32, UDPanelWi, 1, 100);
  MakeLabel(this, TabBorders, "LPanelWi", 6, 36, "Widt&h:", SEPanelWi);
  ERound = MakeSpin(this, TabBorders, "ERound", "UDRound", 100, 58, UDRound, 0, 10000);
  MakeLabel(this, TabBorders, "LRound", 6, 62, "&Round border:", ERound);
  CBInner = Make<TComboFlat>(this, TabBorders, "CBInner", 100, 86, 90, 21);
  CBOuter = Make<TComboFlat>(this, TabBorders, "CBOuter", 100, 112, 90, 21);
  for (TComboFlat* c : {CBInner, CBOuter}) {
    c->SetStyle(csDropDownList);
    for (const char* b : {"None", "Lowered", "Raised"}) c->Items()->Add(b);
  }
  MakeLabel(this, TabBorders, "LInner", 6, 90, "Bevel &inner:", CBInner);
  MakeLabel(this, TabBorders, "LOuter", 6, 116, "Bevel &outer:", CBOuter);
  BBorder = Make<TButtonPen>(this, TabBorders, "BBorder", 220, 6, 90, 25, "&Border...");

  if (Panel) {
    GradientEditor = new TGrafGradientEditor(this, Panel->Gradient());
    EmbedEditorForm(GradientEditor, TabGradient, Panel->Gradient());
    FShadowEditor = EmbedShadowEditor(TabShadow);
    FShadowEditor->BindShadow(Panel->Shadow());
  }
  PageControl1->SetActivePage(TabBack);

  BPanelColor->OnClick = [this](TObject* s) { BPanelColorClick(s); };
  CBColorDef->OnClick = [this](TObject* s) { CBColorDefClick(s); };
  RGBitmap->OnClick = [this](TObject* s) { RGBitmapClick(s); };
  BBrowseImage->OnClick = [this](TObject* s) { BBrowseImageClick(s); };
  CBImageInside->OnClick = [this](TObject* s) { CBImageInsideClick(s); };
  CBTransp->OnClick = [this](TObject* s) { CBTranspClick(s); };
  ELeft->OnChange = [this](TObject* s) { ELeftChange(s); };
  ETop->OnChange = [this](TObject* s) { ETopChange(s); };
  SEPanelBor->OnChange = [this](TObject* s) { SEPanelBorChange(s); };
  SEPanelWi->OnChange = [this](TObject* s) { SEPanelWiChange(s); };
  ERound->OnChange = [this](TObject* s) { ERoundChange(s); };
  CBInner->OnChange = [this](TObject* s) { CBInnerChange(s); };
  CBOuter->OnChange = [this](TObject* s) { CBOuterChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGrafPanel::FormCreate(TObject*) { SetAlign(alClient); }

void TFormGrafPanel::FormShow(TObject*) {
  TCustomGrafPanelExtended* p = EditedChart;
  if (!p) return;
  FLoading = true;
  CBInner->SetItemIndex(p->BevelInner());
  CBOuter->SetItemIndex(p->BevelOuter());
  BBorder->LinkPen(p->Border());
  UDRound->SetPosition(p->BorderRound());
  UDPanelWi->SetPosition(p->BevelWidth());
  UDPanelBor->SetPosition(p->BorderWidth());
  RGBitmap->SetItemIndex(p->BackImageMode());
  CBImageInside->SetChecked(p->BackImageInside());
  UDLeft->SetPosition(p->BackImage()->Left());
  UDTop->SetPosition(p->BackImage()->Top());
  EnableImageControls();
  CBTransp->SetEnabled(HasPicture());
  CBTransp->SetChecked(CBTransp->Enabled() && p->BackImageTransp());
  RefreshColorDefault();
  BPanelColor->LinkProperty(p, "Color");
  if (GradientEditor) GradientEditor->SetVisible(true);
  PageControl1->SetActivePage(TabBack);
  FLoading = false;
}

void TFormGrafPanel::EnableImageControls() {
  const bool picture = HasPicture();
  RGBitmap->SetEnabled(picture);
  CBImageInside->SetEnabled(picture);
  BBrowseImage->SetCaption(picture ? GrafMsgClear : GrafMsgBrowse);
  if (CBTransp->Visible()) {
    const bool was = FLoading;
    FLoading = true;
    CBTransp->SetEnabled(picture);
    CBTransp->SetChecked(picture && EditedChart->BackImage()->Graphic()->Transparent());
    FLoading = was;
  }
  EnableEditControls(picture && EditedChart->BackImageMode() == pbmCustom, {ELeft, ETop, UDLeft, UDTop});
}

void TFormGrafPanel::RefreshColorDefault() {
  FColorGuard = true;
  CBColorDef->SetChecked(EditedChart->Color() == clBtnFace);
  CBColorDef->SetEnabled(!CBColorDef->Checked());
  FColorGuard = false;
}

void TFormGrafPanel::BPanelColorClick(TObject*) {
  if (!EditedChart) return;
  EditedChart->Invalidate();
  RefreshColorDefault();
}

void TFormGrafPanel::CBColorDefClick(TObject*) {
  if (Quiet() || FColorGuard) return;
  EditedChart->SetColor(clBtnFace);
  RefreshColorDefault();
  BPanelColor->Invalidate();
}

void TFormGrafPanel::RGBitmapClick(TObject*) {
  if (Quiet() || RGBitmap->ItemIndex() < 0) return;
  EditedChart->SetBackImageMode(static_cast<TGrafBackImageMode>(RGBitmap->ItemIndex()));
  EnableImageControls();
}

void TFormGrafPanel::BBrowseImageClick(TObject*) {
  if (!EditedChart) return;
  LoadOrClearPicture(this, EditedChart->BackImage());
  EnableImageControls();
  EditedChart->Invalidate();
}

void TFormGrafPanel::CBImageInsideClick(TObject*) {
  if (!Quiet()) EditedChart->SetBackImageInside(CBImageInside->Checked());
}

void TFormGrafPanel::CBTranspClick(TObject*) {
  if (!Quiet() && CBTransp->Enabled()) EditedChart->SetBackImageTransp(CBTransp->Checked());
}

void TFormGrafPanel::ELeftChange(TObject*) {
  if (!Quiet() && FormShowing(this)) EditedChart->BackImage()->SetLeft(UDLeft->Position());
}

void TFormGrafPanel::ETopChange(TObject*) {
  if (!Quiet() && FormShowing(this)) EditedChart->BackImage()->SetTop(UDTop->Position());
}

void TFormGrafPanel::SEPanelBorChange(TObject*) {
  if (!Quiet() && FormShowing(this) && UDPanelBor->Position() != EditedChart->BorderWidth())
    EditedChart->SetBorderWidth(UDPanelBor->Position());
}

void TFormGrafPanel::SEPanelWiChange(TObject*) {
  if (!Quiet() && FormShowing(this) && UDPanelWi->Position() != EditedChart->BevelWidth())
    EditedChart->SetBevelWidth(UDPanelWi->Position());
}

void TFormGrafPanel::ERoundChange(TObject*) {
  if (!Quiet() && FormShowing(this)) EditedChart->SetBorderRound(UDRound->Position());
}

void TFormGrafPanel::CBInnerChange(TObject*) {
  if (!Quiet() && CBInner->ItemIndex() >= 0 && CBInner->ItemIndex() != EditedChart->BevelInner())
    EditedChart->SetBevelInner(static_cast<TBevelCut>(CBInner->ItemIndex()));
}

void TFormGrafPanel::CBOuterChange(TObject*) {
  if (!Quiet() && CBOuter->ItemIndex() >= 0 && CBOuter->ItemIndex() != EditedChart->BevelOuter())
    EditedChart->SetBevelOuter(static_cast<TBevelCut>(CBOuter->ItemIndex()));
}

void RegisterPanelPageClasses() { RegisterClasses({&TFormGrafPanel::StaticClass()}); }
