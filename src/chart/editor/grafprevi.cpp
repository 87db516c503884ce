#include "chart/editor/grafprevi.h"

#include <algorithm>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TChartPreview, TForm)

namespace {

TEdit* MakeMarginEdit(TComponent* Owner, TWinControl* Parent, const char* Edit, const char* Ud, int Left, int Top,
                      TUpDown*& UpDown) {
  TEdit* e = Make<TEdit>(Owner, Parent, Edit, Left, Top, 32, 21);
  e->SetText("0");
  UpDown = Make<TUpDown>(Owner, Parent, Ud, Left + 32, Top, 15, 21);
  UpDown->SetMin(0);
  UpDown->SetMax(100);
  UpDown->SetIncrement(5);
  UpDown->SetAssociate(e);
  return e;
}

int MarginSide(const TRect& R, int Side) {
  switch (Side & 3) {
    case 0: return R.Left;
    case 1: return R.Top;
    case 2: return R.Right;
    default: return R.Bottom;
  }
}

void SetMarginSide(TRect& R, int Side, int Value) {
  switch (Side & 3) {
    case 0: R.Left = Value; break;
    case 1: R.Top = Value; break;
    case 2: R.Right = Value; break;
    default: R.Bottom = Value; break;
  }
}

}  // namespace

TChartPreview::TChartPreview(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("GrafChart Print Preview");
  SetClientWidth(502);
  SetClientHeight(392);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);

  PanelTop = Make<TPanel>(this, this, "PanelTop", 0, 0, 502, 33);
  PanelTop->SetAlign(alTop);
  PanelTop->SetBevelOuter(bvNone);
  PanelClose = Make<TPanel>(this, PanelTop, "PanelClose", 420, 0, 82, 33);
  PanelClose->SetAlign(alRight);
  PanelClose->SetBevelOuter(bvNone);
  BClose = Make<TButton>(this, PanelClose, "BClose", 4, 4, 75, 25, "Close");
  BClose->SetDefault(true);
  BClose->SetCancel(true);
  BClose->SetModalResult(mrOk);
  CBPrinters = Make<TComboFlat>(this, PanelTop, "CBPrinters", 48, 6, 180, 21);
  CBPrinters->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, PanelTop, "Label1", 6, 10, "P&rinter:", CBPrinters);
  BSetupPrinter = Make<TButton>(this, PanelTop, "BSetupPrinter", 234, 4, 75, 25, "&Setup...");
  BPrint = Make<TButton>(this, PanelTop, "BPrint", 314, 4, 75, 25, "&Print");

  PanelLeft = Make<TPanel>(this, this, "PanelLeft", 0, 33, 136, 359);
  PanelLeft->SetAlign(alLeft);
  PanelLeft->SetBevelOuter(bvNone);
  Orientation = Make<TRadioGroup>(this, PanelLeft, "Orientation", 4, 2, 128, 54, "Orien&tation:");
  Orientation->Items()->Add("P&ortrait");
  Orientation->Items()->Add("&Landscape");
  GBMargins = Make<TGroupBox>(this, PanelLeft, "GBMargins", 4, 58, 128, 110, "Margins (%)");
  SETopMa = MakeMarginEdit(this, GBMargins, "SETopMa", "UDTopMa", 40, 16, UDTopMa);
  SELeftMa = MakeMarginEdit(this, GBMargins, "SELeftMa", "UDLeftMa", 6, 40, UDLeftMa);
  SERightMa = MakeMarginEdit(this, GBMargins, "SERightMa", "UDRightMa", 74, 40, UDRightMa);
  SEBotMa = MakeMarginEdit(this, GBMargins, "SEBotMa", "UDBotMa", 40, 64, UDBotMa);
  BReset = Make<TButton>(this, GBMargins, "BReset", 14, 88, 100, 20, "Reset &Margins");
  BReset->SetEnabled(false);
  ChangeDetailGroup = Make<TGroupBox>(this, PanelLeft, "ChangeDetailGroup", 4, 170, 128, 66, "Detail:");
  Resolution = Make<TTrackBar>(this, ChangeDetailGroup, "Resolution", 4, 16, 120, 28);
  Resolution->SetMax(100);
  Resolution->SetLineSize(2);
  Resolution->SetFrequency(10);
  Resolution->SetPosition(99);
  LMore = MakeLabel(this, ChangeDetailGroup, "LMore", 6, 46, "More");
  LNormal = MakeLabel(this, ChangeDetailGroup, "LNormal", 84, 46, "Normal");
  // Stacked from the top, so that a group the caller hides leaves no gap.
  for (TControl* c : std::initializer_list<TControl*>{Orientation, GBMargins, ChangeDetailGroup}) {
    c->SetAlign(alTop);
  }
  ShowMargins = Make<TCheckBox>(this, PanelLeft, "ShowMargins", 6, 240, 124, 17, "&View Margins");
  ShowMargins->SetChecked(true);
  CBProp = Make<TCheckBox>(this, PanelLeft, "CBProp", 6, 260, 124, 17, "Proport&ional");
  CBProp->SetChecked(true);
  CheckBox1 = Make<TCheckBox>(this, PanelLeft, "CheckBox1", 6, 280, 124, 17, "S&mooth");
  for (TControl* c : std::initializer_list<TControl*>{ShowMargins, CBProp, CheckBox1}) {
    c->SetAlign(alTop);
  }

  GrafPreviewPanel1 = Make<TGrafPreviewPanel>(this, this, "GrafPreviewPanel1", 136, 33, 366, 359);
  GrafPreviewPanel1->SetAlign(alClient);
  GrafPreviewPanel1->Shadow()->SetColor(clGray);
  GrafPreviewPanel1->Shadow()->SetHorizSize(4);
  GrafPreviewPanel1->Shadow()->SetVertSize(4);
  GrafPreviewPanel1->Gradient()->SetDirection(gdFromTopLeft);
  GrafPreviewPanel1->Gradient()->SetEndColor(clGray);
  GrafPreviewPanel1->Gradient()->SetVisible(true);

  CBPrinters->OnChange = [this](TObject* s) { CBPrintersChange(s); };
  BSetupPrinter->OnClick = [this](TObject* s) { BSetupPrinterClick(s); };
  BPrint->OnClick = [this](TObject* s) { BPrintClick(s); };
  Orientation->OnClick = [this](TObject* s) { OrientationClick(s); };
  BReset->OnClick = [this](TObject* s) { BResetClick(s); };
  Resolution->OnChange = [this](TObject* s) { ResolutionChange(s); };
  ShowMargins->OnClick = [this](TObject* s) { ShowMarginsClick(s); };
  CBProp->OnClick = [this](TObject* s) { CBPropClick(s); };
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  SELeftMa->OnChange = [this](TObject*) { MarginChange(0); };
  SETopMa->OnChange = [this](TObject*) { MarginChange(1); };
  SERightMa->OnChange = [this](TObject*) { MarginChange(2); };
  SEBotMa->OnChange = [this](TObject*) { MarginChange(3); };
  GrafPreviewPanel1->OnChangeMargins = [this](TObject* s, bool d, const TRect& m) {
    GrafPreviewPanel1ChangeMargins(s, d, m);
  };
  OnShow = [this](TObject* s) { FormShow(s); };

  PrinterSetupDialog1 = new TPrinterSetupDialog(this);
}

TChartPreview::~TChartPreview() {
  // The navigator listens to the panel; it goes before the panel does.
  delete FNavigator;
  FNavigator = nullptr;
}

void TChartPreview::Resize() {
  TForm::Resize();
  ResizePrinterCombo();
}

void TChartPreview::ResizePrinterCombo() {
  if (!CBPrinters || !PanelClose || !BPrint) return;
  // Up to the button panel, after the two buttons.
  const int right = (PanelClose->Visible() ? PanelClose->Left() : PanelTop->Width()) - 2 * 80 - 8;
  CBPrinters->SetWidth(std::max(60, right - CBPrinters->Left()));
  BSetupPrinter->SetLeft(CBPrinters->Left() + CBPrinters->Width() + 6);
  BPrint->SetLeft(BSetupPrinter->Left() + 80);
}

void TChartPreview::FillPrinters() {
  CBPrinters->Items()->Clear();
  if (!PrintersInstalled()) return;
  try {
    for (const std::string& name : Printer()->Printers()) CBPrinters->Items()->Add(name);
    CBPrinters->SetItemIndex(Printer()->PrinterIndex());
  } catch (const EPrinter&) {
    CBPrinters->Items()->Clear();
  }
}

void TChartPreview::ShowOrientation() {
  if (!PrintersInstalled()) return;
  const bool old = FUpdating;
  FUpdating = true;
  Orientation->SetItemIndex(Printer()->Orientation() == poPortrait ? 0 : 1);
  FUpdating = old;
}

void TChartPreview::ShowMarginsOf(const TRect& Margins) {
  const bool old = FUpdating;
  FUpdating = true;
  UDLeftMa->SetPosition(Margins.Left);
  UDTopMa->SetPosition(Margins.Top);
  UDRightMa->SetPosition(Margins.Right);
  UDBotMa->SetPosition(Margins.Bottom);
  FUpdating = old;
}

void TChartPreview::FormShow(TObject*) {
  FUpdating = true;
  if (PageNavigatorClass && !FNavigator) {
    std::unique_ptr<TComponent> made(CreateComponentOfClass(PageNavigatorClass, this));
    if (auto* nav = dynamic_cast<TCustomGrafNavigator*>(made.get())) {
      made.release();
      FNavigator = nav;
      FNavigator->SetName("PageNavigator");
      FNavigator->SetHeight(25);
      FNavigator->SetAlign(alBottom);
      FNavigator->SetParent(PanelLeft);
      FNavigator->OnButtonClicked = [this](TObject*, int) { GrafPreviewPanel1->Invalidate(); };
    }
  }
  if (Screen) Screen->SetCursor(crDefault);
  if (Tag() != 0) GrafPreviewPanel1->SetPanel(reinterpret_cast<TCustomGrafPanel*>(Tag()));
  FillPrinters();
  const bool printers = PrintersInstalled();
  BPrint->SetEnabled(printers);
  BSetupPrinter->SetEnabled(printers && BSetupPrinter->Enabled());
  Orientation->SetEnabled(printers && Orientation->Enabled());
  if (printers) {
    Printer()->SetOrientation(poLandscape);
    ShowOrientation();
  }
  if (TCustomGrafPanel* panel = Previewed()) {
    CBProp->SetChecked(panel->PrintProportional());
    Resolution->SetPosition(panel->PrintResolution() + 100);
    FOldMargins = panel->PrintMargins;
    if (panel->PrintProportional() && printers) {
      panel->PrintMargins = panel->CalcProportionalMargins();
      FOldMargins = panel->PrintMargins;
    }
    ShowMarginsOf(panel->PrintMargins);
    if (FNavigator) FNavigator->SetPanel(panel);
  } else {
    CBProp->SetEnabled(false);
    Resolution->SetEnabled(false);
    GBMargins->SetEnabled(false);
    BPrint->SetEnabled(false);
  }
  CheckBox1->SetChecked(GrafPreviewPanel1->AsBitmap());
  InvokeControlHook(this);
  ResizePrinterCombo();
  FUpdating = false;
  FShowing = true;
}

void TChartPreview::MarginChange(int Side) {
  TCustomGrafPanel* panel = Previewed();
  if (!FShowing || !panel) return;
  TUpDown* ud[4] = {UDLeftMa, UDTopMa, UDRightMa, UDBotMa};
  TEdit* ed[4] = {SELeftMa, SETopMa, SERightMa, SEBotMa};
  // The edit's own text: typed values reach the up-down only through it.
  const int value = std::clamp(StrToIntDef(Trim(ed[Side]->Text()), ud[Side]->Position()), 0, 100);
  TRect margins = panel->PrintMargins;
  if (value == MarginSide(margins, Side)) return;
  if (value + MarginSide(margins, Side + 2) >= 100) {
    const bool old = FUpdating;
    FUpdating = true;
    ud[Side]->SetPosition(MarginSide(margins, Side));
    FUpdating = old;
    return;
  }
  SetMarginSide(margins, Side, value);
  panel->PrintMargins = margins;
  if (FUpdating) return;
  GrafPreviewPanel1->Invalidate();
  BReset->SetEnabled(panel->PrintMargins != FOldMargins);
  CBProp->SetChecked(false);
}

void TChartPreview::GrafPreviewPanel1ChangeMargins(TObject*, bool DisableProportional, const TRect& NewMargins) {
  ShowMarginsOf(NewMargins);
  if (DisableProportional) {
    if (TCustomGrafPanel* panel = Previewed()) panel->SetPrintProportional(false);
    TNotifyEvent handler = std::move(CBProp->OnClick);
    CBProp->OnClick = nullptr;
    CBProp->SetChecked(false);
    CBProp->OnClick = std::move(handler);
  }
  if (TCustomGrafPanel* panel = Previewed()) BReset->SetEnabled(panel->PrintMargins != FOldMargins);
}

void TChartPreview::CBPropClick(TObject*) {
  TCustomGrafPanel* panel = Previewed();
  if (!panel || FUpdating) return;
  panel->SetPrintProportional(CBProp->Checked());
  if (panel->PrintProportional()) {
    panel->PrintMargins = panel->CalcProportionalMargins();
    ShowMarginsOf(panel->PrintMargins);
    BReset->SetEnabled(panel->PrintMargins != FOldMargins);
  }
  GrafPreviewPanel1->Invalidate();
}

void TChartPreview::ChangedPrinter() {
  TCustomGrafPanel* panel = Previewed();
  if (panel && panel->PrintProportional()) {
    panel->PrintMargins = panel->CalcProportionalMargins();
    ShowMarginsOf(panel->PrintMargins);
  }
  GrafPreviewPanel1->Invalidate();
}

void TChartPreview::OrientationClick(TObject*) {
  if (FUpdating || !PrintersInstalled()) return;
  Printer()->SetOrientation(Orientation->ItemIndex() == 0 ? poPortrait : poLandscape);
  ChangedPrinter();
}

void TChartPreview::CBPrintersChange(TObject*) {
  if (FUpdating || CBPrinters->ItemIndex() < 0) return;
  Printer()->SetPrinterIndex(CBPrinters->ItemIndex());
  ShowOrientation();
  ChangedPrinter();
}

void TChartPreview::BSetupPrinterClick(TObject*) {
  PrinterSetupDialog1->Execute();
  const bool old = FUpdating;
  FUpdating = true;
  FillPrinters();
  FUpdating = old;
  ShowOrientation();
  ChangedPrinter();
}

void TChartPreview::ResolutionChange(TObject*) {
  if (TCustomGrafPanel* panel = Previewed(); panel && !FUpdating) {
    panel->SetPrintResolution(Resolution->Position() - 100);
    GrafPreviewPanel1->Invalidate();
  }
}

void TChartPreview::ShowMarginsClick(TObject*) {
  GrafPreviewPanel1->Margins()->SetVisible(ShowMargins->Checked());
  GrafPreviewPanel1->Invalidate();
}

void TChartPreview::CheckBox1Click(TObject*) {
  if (!FUpdating) GrafPreviewPanel1->SetAsBitmap(CheckBox1->Checked());
}

void TChartPreview::BResetClick(TObject*) {
  TCustomGrafPanel* panel = Previewed();
  if (!panel) return;
  panel->PrintMargins = FOldMargins;
  ShowMarginsOf(FOldMargins);
  GrafPreviewPanel1->Invalidate();
  BReset->SetEnabled(false);
}

void TChartPreview::BPrintClick(TObject*) {
  THourGlass busy;
  if (FNavigator && FNavigator->PageCount() > 1)
    FNavigator->PrintPages();
  else
    GrafPreviewPanel1->Print();
}

void RegisterPrintPreviewClasses() { RegisterClasses({&TChartPreview::StaticClass()}); }
