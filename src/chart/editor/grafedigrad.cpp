#include "chart/editor/grafedigrad.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "chart/core/grcanvas.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpendlg.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

namespace {

const TGradientPreset kPresets[GradientPresetCount] = {
    {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, 50, gdTopBottom},
    {"Business", clSilver, clWhite, clGray, 50, gdTopBottom},
    {"Hot", clRed, clNone, clYellow, 50, gdTopBottom},
    {"Ace", clBlack, 0xFF8080, clBlack, 74, gdBottomTop},
    {"Farm", 0x006AD5, clWhite, 0x0062C4, 4, gdBottomTop},
    {"Sea", 0xFFFF80, 0xFF8080, clNavy, 55, gdBottomTop},
    {"Night", clWhite, 0x800040, clBlack, 40, gdTopBottom},
    {"Space", 0xA50320, 0x800040, clWhite, 50, gdFromTopLeft},
    {"Golf", 0x159902, clSilver, 0xD9F986, 50, gdTopBottom},
    {"Funky", 0xBD3881, 0x87607A, 0x52EB85, 50, gdTopBottom},
    {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, 50, gdTopBottom},
    {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, 50, gdTopBottom},
    {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, 50, gdTopBottom},
    {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, 50, gdTopBottom},
    {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, 50, gdTopBottom},
    {"Desert", 0x265FB7, 0xCE7185, 0x604457, 50, gdTopBottom},
    {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, 50, gdTopBottom},
};

const char* const kDirections[10] = {"Top Bottom",    "Bottom Top",       "Left Right", "Right Left",
                                     "From Center",   "From Top Left",    "From Bottom Left", "Radial",
                                     "Diagonal Up",   "Diagonal Down"};

}  // namespace

const TGradientPreset& GradientPreset(int Number) { return kPresets[std::clamp(Number, 0, GradientPresetCount - 1)]; }

// ---- Preview and colour buttons ----------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TPreviewGradient, TCustomGrafPanelExtended)

TPreviewGradient::TPreviewGradient(TComponent* AOwner) : TCustomGrafPanelExtended(AOwner) {
  SetBevelOuter(bvNone);
}

void TPreviewGradient::DrawChartContents(const TRect& Bounds) { PaintBackground(Bounds); }

ZV_CLASS_IMPL_NOPROPS(TGradientColorButton, TButtonColor)

void TGradientColorButton::Click() {
  TColor color = GetLinkedColor();
  if (!EditColorValue(this, color)) return;
  if (OnSetColor) OnSetColor(color);
  else SetLinkedColor(color);
  Repaint();
  TGrafButton::Click();
}

// ---- The editor ---------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TGrafGradientEditor, TForm)

TGrafGradientEditor::TGrafGradientEditor(TComponent* AOwner) : TForm(AOwner) {
  BuildControls();
  FormCreate(this);
}

TGrafGradientEditor::TGrafGradientEditor(TComponent* AOwner, TCustomGrafGradient* Gradient) : TForm(AOwner) {
  BuildControls();
  FormCreate(this);
  TheGradient = Gradient;
  SetTag(reinterpret_cast<intptr_t>(Gradient));
  Panel1->Hide();
  BOk->Hide();
  BCancel->Hide();
  SetHeight(Height() - BOk->Height());
}

TGrafGradientEditor::~TGrafGradientEditor() { FireOnDestroy(this); }

void TGrafGradientEditor::BuildControls() {
  SetCaption("Gradient Editor");
  SetClientWidth(300);
  SetClientHeight(250);
  SetBorderIcons({biSystemMenu});

  Panel2 = Make<TPanel>(this, this, "Panel2", 0, 0, 300, 33);
  Panel2->SetAlign(alTop);
  Panel2->SetBevelOuter(bvNone);
  CBVisible = Make<TCheckBox>(this, Panel2, "CBVisible", 8, 8, 70, 17, "&Visible");
  CBDirection = Make<TComboFlat>(this, Panel2, "CBDirection", 150, 6, 140, 21);
  CBDirection->SetDropDownCount(10);
  for (const char* d : kDirections) CBDirection->Items()->Add(d);
  Label1 = MakeLabel(this, Panel2, "Label1", 90, 10, "&Direction:", CBDirection);

  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 214, 300, 36);
  Panel1->SetAlign(alBottom);
  Panel1->SetBevelOuter(bvNone);
  BOk = MakeOkButton(this, Panel1, "BOk", 136, 6);
  BCancel = MakeCancelButton(this, Panel1, "BCancel", 218, 6);

  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 33, 300, 181);
  PageControl1->SetAlign(alClient);
  auto page = [this](const char* name, const char* caption) {
    auto* sheet = new TTabSheet(this);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(PageControl1);
    return sheet;
  };
  TabSheet3 = page("TabSheet3", "Default");
  TabSheet1 = page("TabSheet1", "Colors");
  TabSheet2 = page("TabSheet2", "Options");
  TabSheet4 = page("TabSheet4", "Directions");

  Gallery = Make<TListBox>(this, TabSheet3, "Gallery", 0, 0, 100, 150);
  Gallery->SetAlign(alLeft);
  Gallery->SetSorted(true);

  BStart = Make<TGradientColorButton>(this, TabSheet1, "BStart", 10, 10, 85, 25, "&Start...");
  BMid = Make<TGradientColorButton>(this, TabSheet1, "BMid", 10, 44, 85, 25, "&Middle...");
  CBMid = Make<TCheckBox>(this, TabSheet1, "CBMid", 106, 48, 90, 17, "&No Middle");
  BEnd = Make<TGradientColorButton>(this, TabSheet1, "BEnd", 10, 78, 85, 25, "&End...");
  BSwap = Make<TButton>(this, TabSheet1, "BSwap", 106, 78, 75, 25, "S&wap");

  SBBalance = Make<TScrollBar>(this, TabSheet2, "SBBalance", 70, 10, 150, 17);
  SBBalance->SetParams(50, 0, 100);
  Label4 = MakeLabel(this, TabSheet2, "Label4", 8, 12, "&Balance:", SBBalance);
  LabelBalance = MakeLabel(this, TabSheet2, "LabelBalance", 228, 12, "50 %");
  GroupBox2 = Make<TGroupBox>(this, TabSheet2, "GroupBox2", 8, 36, 276, 96, "Radial offset:");
  TrackBar1 = Make<TTrackBar>(this, GroupBox2, "TrackBar1", 50, 8, 170, 30);
  TrackBar2 = Make<TTrackBar>(this, GroupBox2, "TrackBar2", 50, 42, 170, 30);
  for (TTrackBar* t : {TrackBar1, TrackBar2}) {
    t->SetMin(-300);
    t->SetMax(300);
    t->SetFrequency(50);
    t->SetTickStyle(tsNone);
    t->SetPosition(0);
  }
  Label2 = MakeLabel(this, GroupBox2, "Label2", 8, 14, "&Horiz:", TrackBar1);
  LRadialX = MakeLabel(this, GroupBox2, "LRadialX", 226, 14, "0");
  Label3 = MakeLabel(this, GroupBox2, "Label3", 8, 48, "&Vert:", TrackBar2);
  LRadialY = MakeLabel(this, GroupBox2, "LRadialY", 226, 48, "0");

  Directions = Make<TChartGalleryPanel>(this, TabSheet4, "Directions", 0, 0, 290, 150);
  Directions->SetAlign(alClient);
  Directions->SetBevelOuter(bvNone);

  CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
  CBDirection->OnChange = [this](TObject* s) { CBDirectionChange(s); };
  Directions->OnChangeChart = [this](TObject* s) { DirectionsChangeChart(s); };
  BStart->OnClick = [this](TObject* s) { BStartClick(s); };
  BMid->OnClick = [this](TObject* s) { BMidClick(s); };
  BEnd->OnClick = [this](TObject* s) { BEndClick(s); };
  CBMid->OnClick = [this](TObject* s) { CBMidClick(s); };
  BSwap->OnClick = [this](TObject* s) { BSwapClick(s); };
  SBBalance->OnChange = [this](TObject* s) { SBBalanceChange(s); };
  TrackBar1->OnChange = [this](TObject* s) { TrackBar1Change(s); };
  TrackBar2->OnChange = [this](TObject* s) { TrackBar2Change(s); };
  Gallery->OnClick = [this](TObject* s) { GalleryClick(s); };
  BCancel->OnClick = [this](TObject* s) { BCancelClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };

  // The colour buttons read and write the bound gradient, whatever its class.
  BStart->OnGetColor = [this] { return TheGradient ? TheGradient->StartColor() : clNone; };
  BStart->OnSetColor = [this](TColor c) { if (TheGradient) TheGradient->SetStartColor(c); };
  BMid->OnGetColor = [this] { return TheGradient ? TheGradient->MidColor() : clNone; };
  BMid->OnSetColor = [this](TColor c) { if (TheGradient) TheGradient->SetMidColor(c); };
  BEnd->OnGetColor = [this] { return TheGradient ? TheGradient->EndColor() : clNone; };
  BEnd->OnSetColor = [this](TColor c) { if (TheGradient) TheGradient->SetEndColor(c); };
}

void TGrafGradientEditor::FormCreate(TObject*) {
  SetBorderStyle(bsDialog);
  FPreview = new TPreviewGradient(this);
  FPreview->SetParent(TabSheet3);
  FPreview->SetAlign(alClient);
  for (int i = 0; i < GradientPresetCount; ++i)
    Gallery->Items()->AddObject(kPresets[i].Name, reinterpret_cast<TObject*>(static_cast<intptr_t>(i)));

  Directions->SetDisplaySub(false);
  Directions->SetNumRows(2);
  Directions->SetNumCols(5);
  for (int d = 0; d < 10; ++d) {
    auto* chart = new TGalleryChart(Directions);
    chart->RepaintOnChange = false;
    Directions->Charts.Add(chart);
    chart->SetParent(Directions);
    chart->OnClick = [this, chart](TObject*) { Directions->SelectChart(chart); };
    chart->OnEnter = [this, chart](TObject*) { Directions->SelectChart(chart); };
    chart->OnDblClick = [this, chart](TObject*) {
      Directions->SelectedChart = chart;
      Directions->ChooseSelected();
    };
    chart->SetCursor(crHandPoint);
    chart->SetHint(kDirections[d]);
    chart->SetShowHint(true);
    chart->Title()->Text()->Clear();
    chart->SetView3D(false);
    chart->SetAxisVisible(false);
    TChartBackWall* wall = chart->BackWall();
    wall->SetTransparent(false);
    wall->Gradient()->SetVisible(true);
    wall->Gradient()->SetDirection(static_cast<TGradientDirection>(d));
    chart->SetMarginLeft(16);
    chart->SetMarginTop(22);
    chart->SetMarginRight(16);
    chart->SetMarginBottom(22);
    chart->RepaintOnChange = true;
  }
  Directions->LayoutCharts();
  InvokeControlHook(Directions);
  PageControl1->SetActivePage(TabSheet1);
}

void TGrafGradientEditor::FormDestroy(TObject*) {
  FBackup.reset();
  delete FPreview;
  FPreview = nullptr;
}

void TGrafGradientEditor::SetOwnerColorMode(bool Value) {
  FOwnerColor = Value;
  BEnd->SetVisible(!Value);
  BSwap->SetVisible(!Value);
  EnableColors();
  EnableDirections();
}

void TGrafGradientEditor::FormShow(TObject*) {
  BindGradient(TheGradient ? TheGradient : reinterpret_cast<TCustomGrafGradient*>(Tag()));
  FModified = false;
  InvokeControlHook(this);
}

void TGrafGradientEditor::BindGradient(TCustomGrafGradient* Gradient) {
  FLoading = true;
  SetTag(reinterpret_cast<intptr_t>(Gradient));
  TheGradient = Gradient;
  if (Gradient) {
    FBackup = std::make_unique<TGrafGradient>();
    FBackup->Assign(Gradient);
    LoadControls();
    EnableColors();
    EnableDirections();
    RefreshPreview();
    const int d = static_cast<int>(Gradient->Direction());
    if (d >= 0 && d < Directions->Charts.Count()) Directions->SelectChart(Directions->ChartAt(d));
  }
  FLoading = false;
}

void TGrafGradientEditor::LoadControls() {
  if (!TheGradient) return;
  SBBalance->SetPosition(TheGradient->Balance());
  CBVisible->SetChecked(TheGradient->Visible());
  CBDirection->SetItemIndex(TheGradient->Direction());
  CBMid->SetChecked(TheGradient->MidColor() == clNone);
  TrackBar1->SetPosition(TheGradient->RadialX());
  TrackBar2->SetPosition(TheGradient->RadialY());
  LRadialX->SetCaption(std::to_string(TheGradient->RadialX()));
  LRadialY->SetCaption(std::to_string(TheGradient->RadialY()));
  for (TButton* b : {static_cast<TButton*>(BStart), static_cast<TButton*>(BMid), static_cast<TButton*>(BEnd)})
    b->Invalidate();
  RecolorDirections();
}

void TGrafGradientEditor::RecolorDirections() {
  if (!TheGradient) return;
  for (int i = 0; i < Directions->Charts.Count(); ++i) {
    TGrafGradient* g = Directions->ChartAt(i)->BackWall()->Gradient();
    g->SetStartColor(TheGradient->StartColor());
    g->SetMidColor(TheGradient->MidColor());
    g->SetEndColor(TheGradient->EndColor());
  }
}

void TGrafGradientEditor::RefreshPreview() {
  if (!TheGradient || !FPreview) return;
  TGrafGradient* g = FPreview->Gradient();
  g->SetVisible(TheGradient->Visible());
  g->SetDirection(TheGradient->Direction());
  g->SetStartColor(TheGradient->StartColor());
  g->SetMidColor(TheGradient->MidColor());
  g->SetEndColor(TheGradient->EndColor());
  RecolorDirections();
}

void TGrafGradientEditor::EnableColors() {
  const bool on = FOwnerColor || (TheGradient && TheGradient->Visible());
  for (TControl* c : std::initializer_list<TControl*>{CBDirection, BStart, CBMid, BMid, BEnd, BSwap, Gallery})
    c->SetEnabled(on);
}

void TGrafGradientEditor::EnableDirections() {
  const int d = TheGradient ? static_cast<int>(TheGradient->Direction()) : 0;
  const bool visible = TheGradient && TheGradient->Visible();
  const bool middle = FOwnerColor || (visible && (d < gdFromCenter || d > gdRadial));
  CBMid->SetEnabled(middle);
  BMid->SetEnabled(middle);
  const bool radial = d == gdRadial;
  for (TControl* c : std::initializer_list<TControl*>{Label2, Label3, TrackBar1, TrackBar2}) c->SetEnabled(radial);
}

void TGrafGradientEditor::CBVisibleClick(TObject*) {
  if (!TheGradient) return;
  TheGradient->SetVisible(CBVisible->Checked());
  EnableColors();
  FModified = true;
}

void TGrafGradientEditor::CBDirectionChange(TObject*) {
  if (!TheGradient) return;
  const int d = std::max(0, CBDirection->ItemIndex());
  TheGradient->SetDirection(static_cast<TGradientDirection>(d));
  EnableDirections();
  if (d > gdRightLeft) Gallery->SetItemIndex(-1);
  RefreshPreview();
  if (d < Directions->Charts.Count()) Directions->SelectChart(Directions->ChartAt(d));
  FModified = true;
}

void TGrafGradientEditor::DirectionsChangeChart(TObject*) {
  if (!TheGradient || !Directions->SelectedChart) return;
  const int d = Directions->Charts.IndexOf(Directions->SelectedChart);
  if (d < 0) return;
  TheGradient->SetDirection(static_cast<TGradientDirection>(d));
  CBDirection->SetItemIndex(d);
}

void TGrafGradientEditor::BStartClick(TObject*) {
  RefreshPreview();
  FModified = true;
}

void TGrafGradientEditor::BEndClick(TObject*) {
  RefreshPreview();
  FModified = true;
}

void TGrafGradientEditor::BMidClick(TObject*) {
  if (!TheGradient) return;
  CBMid->SetChecked(TheGradient->MidColor() == clNone);
  RefreshPreview();
  FModified = true;
}

void TGrafGradientEditor::CBMidClick(TObject*) {
  if (FLoading || !TheGradient) return;
  if (CBMid->Checked()) {
    TheGradient->SetMidColor(clNone);
  } else {
    TheGradient->UseMiddleColor();
    if (TheGradient->MidColor() == clNone) TheGradient->SetMidColor(clWhite);
  }
  BMid->Repaint();
  RefreshPreview();
  FModified = true;
}

void TGrafGradientEditor::BSwapClick(TObject*) {
  if (!TheGradient) return;
  const TColor start = TheGradient->StartColor();
  TheGradient->SetStartColor(TheGradient->EndColor());
  TheGradient->SetEndColor(start);
  BStart->Repaint();
  BEnd->Repaint();
  RefreshPreview();
  FModified = true;
}

void TGrafGradientEditor::SBBalanceChange(TObject*) {
  if (!FLoading && TheGradient) {
    TheGradient->SetBalance(SBBalance->Position());
    FModified = true;
  }
  LabelBalance->SetCaption(FormatFloat("##0.## %", TheGradient ? TheGradient->Balance() : SBBalance->Position()));
}

void TGrafGradientEditor::TrackBar1Change(TObject*) {
  if (TheGradient) {
    TheGradient->SetRadialX(TrackBar1->Position());
    FModified = true;
  }
  LRadialX->SetCaption(std::to_string(TrackBar1->Position()));
}

void TGrafGradientEditor::TrackBar2Change(TObject*) {
  if (TheGradient) {
    TheGradient->SetRadialY(TrackBar2->Position());
    FModified = true;
  }
  LRadialY->SetCaption(std::to_string(TrackBar2->Position()));
}

void TGrafGradientEditor::GalleryClick(TObject*) {
  const int item = Gallery->ItemIndex();
  if (!TheGradient || item < 0) return;
  const TGradientPreset& p = GradientPreset(static_cast<int>(reinterpret_cast<intptr_t>(Gallery->Items()->Objects(item))));
  TheGradient->SetStartColor(p.Start);
  TheGradient->SetMidColor(p.Middle);
  TheGradient->SetEndColor(p.End);
  TheGradient->SetDirection(p.Direction);
  TheGradient->SetBalance(p.Balance);
  LoadControls();
  RefreshPreview();
}

void TGrafGradientEditor::BCancelClick(TObject*) {
  if (FModified && TheGradient && FBackup) {
    TheGradient->Assign(FBackup.get());
    if (TheGradient->OnChange) TheGradient->OnChange(this);
  }
  SetModalResult(mrCancel);
}

TGrafGradientEditor* CreateGradientEditor(TComponent* Owner, TCustomGrafGradient* Gradient, bool OwnerColor,
                                          bool HideVisible) {
  TGrafGradientEditor* editor = CreateEditorDialog<TGrafGradientEditor>(Owner);
  editor->SetTag(reinterpret_cast<intptr_t>(Gradient));
  editor->TheGradient = Gradient;
  if (OwnerColor) editor->SetOwnerColorMode(true);
  if (HideVisible) editor->CBVisible->Hide();
  return editor;
}

bool RunGradientEditor(TComponent* Owner, TCustomGrafGradient* Gradient, bool OwnerColor, bool HideVisible) {
  std::unique_ptr<TGrafGradientEditor> editor(CreateGradientEditor(Owner, Gradient, OwnerColor, HideVisible));
  return editor->ShowModal() == mrOk;
}

// ---- The gradient button ---------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TButtonGradient, TGrafButton)

void TButtonGradient::LinkGradient(TCustomGrafGradient* Gradient) {
  LinkProperty(Gradient, "");
  Invalidate();
}

void TButtonGradient::Click() {
  TCustomGrafGradient* gradient = LinkedGradient();
  if (!gradient) {
    TGrafButton::Click();
    return;
  }
  if (!FEditor) {
    FEditor = CreateGradientEditor(this, gradient, HideEndColor, false);
    FOldDestroy = FEditor->OnDestroy;
    FEditor->OnDestroy = [this](TObject* Sender) {
      if (FOldDestroy) FOldDestroy(Sender);
      FOldDestroy = nullptr;
      FEditor = nullptr;
    };
  }
  std::unique_ptr<TGrafGradientEditor> editor(FEditor);
  if (editor->ShowModal() == mrOk) {
    Repaint();
    TGrafButton::Click();
  }
}

void TButtonGradient::DrawSwatch(TGrafCanvas3D* Canvas) {
  TCustomGrafGradient* gradient = LinkedGradient();
  if (!Enabled() || !gradient) return;
  const TRect r = SwatchRect();
  gradient->DrawInRect(Canvas, r);
  Canvas->CanvasPen()->SetStyle(psSolid);
  Canvas->CanvasPen()->SetWidth(1);
  Canvas->CanvasPen()->SetColor(gradient->Visible() ? clBlack : clGray);
  Canvas->CanvasBrush()->SetStyle(bsClear);
  Canvas->RectangleOfRect(r);
}

void RegisterGradientEditorClasses() {
  RegisterClasses({&TGrafGradientEditor::StaticClass(), &TButtonGradient::StaticClass(),
                   &TPreviewGradient::StaticClass()});
}
