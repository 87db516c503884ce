#include "app/histogramwindow.h"

#include <algorithm>

#include "app/gridcells.h"
#include "app/incidentspectrum.h"
#include "app/mainlink.h"
#include "app/pagefields.h"
#include "app/popupmenus.h"
#include "app/positionsaver.h"
#include "app/scatteringwindow.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/format.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"

THistogramForm* HistogramForm = nullptr;

ZV_CLASS_IMPL_NOPROPS(THistogramForm, TForm)

namespace {

// Background kind code of each item of BackgroundComboBox.
constexpr int kBackgroundCodes[10] = {bkPolynomial,     bkChebyI,   bkShiftedChebyI,  bkChebyII,     bkShiftedChebyII,
                                      bkAmorphous,      bkDampedAmorphous, bkDataFile, bkUserPoints, bkAutoSmoothed};
// Histogram kind of (cbType item, cbCalc item).
constexpr int kKinds[4][2] = {{0, 2}, {1, 3}, {4, 5}, {6, 7}};

std::string General(double v, int precision) { return FloatToStrF(v, ffGeneral, precision, 3); }

bool IsGridBackground(int code) { return code >= bkDampedAmorphous && code <= bkPolynomial; }

TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& text, int x, int y) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetLeft(x);
  l->SetTop(y);
  return l;
}

TEdit* NewEdit(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w = 80) {
  auto* e = new TEdit(owner);
  e->SetName(name);
  e->SetParent(parent);
  e->SetBounds(x, y, w, 21);
  return e;
}

TCheckBox* NewCheck(TComponent* owner, TWinControl* parent, const char* name, int x, int y,
                    const std::string& caption = "") {
  auto* c = new TCheckBox(owner);
  c->SetName(name);
  c->SetParent(parent);
  c->SetCaption(caption);
  c->SetBounds(x, y, caption.empty() ? 17 : 140, 17);
  return c;
}

TComboBox* NewCombo(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w,
                    std::initializer_list<const char*> items) {
  auto* c = new TComboBox(owner);
  c->SetName(name);
  c->SetParent(parent);
  c->SetStyle(csDropDownList);
  c->SetBounds(x, y, w, 21);
  for (const char* i : items) c->Items()->Add(i);
  return c;
}

TButton* NewButton(TComponent* owner, TWinControl* parent, const std::string& caption, int x, int y, int w = 75) {
  auto* b = new TButton(owner);
  b->SetParent(parent);
  b->SetCaption(caption);
  b->SetBounds(x, y, w, 25);
  return b;
}

}  // namespace

int THistogramForm::BackgroundCode(int Item) { return Item >= 0 && Item < 10 ? kBackgroundCodes[Item] : bkPolynomial; }

int THistogramForm::BackgroundItem(int Code) {
  for (int i = 0; i < 10; ++i)
    if (kBackgroundCodes[i] == Code) return i;
  return 0;
}

THistogramForm::THistogramForm(TComponent* AOwner) : TForm(AOwner), FClipboard(std::make_unique<THistogram>()) {
  SetName("HistogramForm");
  SetCaption("Histograms");
  SetBorderStyle(bsDialog);
  SetClientWidth(620);
  SetClientHeight(470);
  SetKeyPreview(true);
  if (Screen->PixelsPerInch() == 120) FRowHeight = 20;

  TabControl1 = new TTabControl(this);
  TabControl1->SetName("TabControl1");
  TabControl1->SetParent(this);
  TabControl1->SetBounds(4, 4, 612, 424);
  TWinControl* page = TabControl1;
  const int top = TabControl1->DisplayRect().Top + 6;
  auto row = [top](int i) { return top + 26 * i; };

  // Left column: kind, range, instrument.
  NewLabel(this, page, "Type:", 8, row(0) + 3);
  cbType = NewCombo(this, page, "cbType", 90, row(0), 120, {"X-ray CW", "Neutron CW", "Neutron TOF", "Energy Dispersive"});
  cbCalc = NewCombo(this, page, "cbCalc", 214, row(0), 90, {"Data", "Calculation"});
  NewLabel(this, page, "Scale:", 8, row(1) + 3);
  HistogramSCaleEdit = NewEdit(this, page, "HistogramSCaleEdit", 90, row(1));
  HistogramScaleCheckBox = NewCheck(this, page, "HistogramScaleCheckBox", 174, row(1) + 2);
  NewLabel(this, page, "Min:", 8, row(2) + 3);
  ThetaMinEdit = NewEdit(this, page, "ThetaMinEdit", 90, row(2));
  NewLabel(this, page, "Max:", 8, row(3) + 3);
  ThetaMaxEdit = NewEdit(this, page, "ThetaMaxEdit", 90, row(3));
  NewLabel(this, page, "Step:", 8, row(4) + 3);
  ThetaStepEdit = NewEdit(this, page, "ThetaStepEdit", 90, row(4));
  LabelWave1 = NewLabel(this, page, "Wavelength 1:", 8, row(5) + 3);
  Wave1Edit = NewEdit(this, page, "Wave1Edit", 90, row(5));
  CheckBoxWave1 = NewCheck(this, page, "CheckBoxWave1", 174, row(5) + 2);
  LabelWave2 = NewLabel(this, page, "Wavelength 2:", 8, row(6) + 3);
  Wave2Edit = NewEdit(this, page, "Wave2Edit", 90, row(6));
  CheckBoxWave2 = NewCheck(this, page, "CheckBoxWave2", 174, row(6) + 2);
  NewLabel(this, page, "Zero:", 8, row(7) + 3);
  ZeroEdit = NewEdit(this, page, "ZeroEdit", 90, row(7));
  CheckBoxZero = NewCheck(this, page, "CheckBoxZero", 174, row(7) + 2);
  LabelRatio = NewLabel(this, page, "Ratio:", 8, row(8) + 3);
  RatioEdit = NewEdit(this, page, "RatioEdit", 90, row(8));
  NewLabel(this, page, "Peak Width:", 8, row(9) + 3);
  BWEdit = NewEdit(this, page, "BWEdit", 90, row(9));
  NewLabel(this, page, "Weighting:", 8, row(10) + 3);
  EditWEIDS = NewEdit(this, page, "EditWEIDS", 90, row(10));
  LabelPol = NewLabel(this, page, "Polarisation:", 8, row(11) + 3);
  PolEdit = NewEdit(this, page, "PolEdit", 90, row(11));
  LabelDisplacement = NewLabel(this, page, "Displacement:", 8, row(12) + 3);
  edSampleDisplacement = NewEdit(this, page, "edSampleDisplacement", 90, row(12));
  cbSampleDisplacement = NewCheck(this, page, "cbSampleDisplacement", 174, row(12) + 2);
  CheckBoxIllumination = NewCheck(this, page, "CheckBoxIllumination", 8, row(13) + 2, "Illumination correction");

  // Right column: background and excluded regions.
  NewLabel(this, page, "Background:", 316, row(0) + 3);
  BackgroundComboBox = NewCombo(this, page, "BackgroundComboBox", 390, row(0), 210,
                                {"Polynomial 5th order", "Cheby I", "Shifted Cheby I", "Cheby II", "Shifted Cheby II",
                                 "Amorphous (Sinc)", "Damped Amorphous (Sinc)", "Data File", "User Input Points",
                                 "Automatic smoothed"});
  cbBackTerms = NewCombo(this, page, "cbBackTerms", 316, row(1), 90, {"6 terms", "12 terms", "18 terms", "24 terms"});
  LabelOffset = NewLabel(this, page, "Offset:", 416, row(1) + 3);
  edOffset = NewEdit(this, page, "edOffset", 460, row(1));
  BackGrid = NewEditorGrid(this, page, 3, 7);
  GridControl(BackGrid)->SetBounds(316, row(2), 200, 170);
  SetGridColWidth(BackGrid, 0, 40);
  SetGridColWidth(BackGrid, 1, 120);
  SetGridColWidth(BackGrid, 2, 20);
  SetGridEditors(BackGrid, 1, 2);
  IntBackGrid = NewEditorGrid(this, page, 3, 51);
  GridControl(IntBackGrid)->SetBounds(316, row(2), 212, 170);
  for (auto [c, w] : {std::pair{0, 20}, {1, 85}, {2, 85}}) SetGridColWidth(IntBackGrid, c, w);
  LabelCycles = NewLabel(this, page, "Number of cycles:", 316, row(2) + 3);
  seNCycles = new TSpinEdit(this);
  seNCycles->SetParent(page);
  seNCycles->SetBounds(420, row(2), 60, 21);
  seNCycles->SetMinValue(1);
  seNCycles->SetMaxValue(500);
  LabelSteps = NewLabel(this, page, "Number of steps:", 316, row(3) + 3);
  seNStep = new TSpinEdit(this);
  seNStep->SetParent(page);
  seNStep->SetBounds(420, row(3), 60, 21);
  seNStep->SetMinValue(2);
  seNStep->SetMaxValue(500);
  NewLabel(this, page, "Excluded regions:", 316, row(9) + 3);
  ExcludedGrid = NewEditorGrid(this, page, 3, 51);
  GridControl(ExcludedGrid)->SetBounds(316, row(10), 212, 110);
  for (auto [c, w] : {std::pair{0, 20}, {1, 85}, {2, 85}}) SetGridColWidth(ExcludedGrid, c, w);

  ButtonOK = NewButton(this, this, "OK", 4, 436);
  ButtonCancel = NewButton(this, this, "Cancel", 84, 436);
  ButtonHelp = NewButton(this, this, "Help", 164, 436);
  ButtonSpec = NewButton(this, this, "Incident Spectrum", 330, 436, 130);
  ButtonForm = NewButton(this, this, "Form Factors", 466, 436, 110);

  PopupMenu1 = NewDockPopupMenu(this, [this](TObject* s) { PopupMenu1Popup(s); });
  Cut1 = AddPopupItem(PopupMenu1, "Cut", [this](TObject* s) { Cut1Click(s); });
  Copy1 = AddPopupItem(PopupMenu1, "Copy", [this](TObject* s) { Copy1Click(s); });
  Paste1 = AddPopupItem(PopupMenu1, "Paste", [this](TObject* s) { Paste1Click(s); });
  AddPopupSeparator(PopupMenu1);
  NewHistogram1 = AddPopupItem(PopupMenu1, "New", [this](TObject* s) { NewHistogram1Click(s); });
  DeleteHistogram1 = AddPopupItem(PopupMenu1, "Delete", [this](TObject* s) { DeleteHistogram1Click(s); });
  UseInstrument1 = new TTBSubmenuItem(PopupMenu1);
  UseInstrument1->SetCaption("Use Instrument");
  PopupMenu1->Items()->Add(UseInstrument1);
  // The captions are the preset titles of this moment.
  for (int i = 1; i <= InstrumentCount; ++i) {
    auto* item = new TTBItem(UseInstrument1);
    item->SetName("Inst" + std::to_string(i));
    item->SetCaption(Instruments[i].Title);
    item->SetOnClick([this, i](TObject*) { UseInstrumentClick(i); });
    UseInstrument1->Add(item);
  }
  TabControl1->SetPopupMenu(PopupMenu1);
  SetPopupMenu(PopupMenu1);

  auto dirty = [this](TObject* s) { DirtyHistogram(s); };
  for (TEdit* e : {HistogramSCaleEdit, ThetaMinEdit, ThetaMaxEdit, ThetaStepEdit, Wave1Edit, Wave2Edit, ZeroEdit,
                   RatioEdit, BWEdit, EditWEIDS, PolEdit, edSampleDisplacement, edOffset})
    e->OnChange = dirty;
  for (TCheckBox* c : {HistogramScaleCheckBox, CheckBoxWave1, CheckBoxWave2, CheckBoxZero, cbSampleDisplacement,
                       CheckBoxIllumination})
    c->OnClick = dirty;
  seNCycles->OnChange = dirty;
  seNStep->OnChange = dirty;
  for (TPlusStringGrid* g : {BackGrid, IntBackGrid, ExcludedGrid}) SetGridOnUserChange(g, [this] { DirtyHistogram(this); });
  cbType->OnChange = [this](TObject* s) { cbTypeChange(s); };
  cbCalc->OnChange = dirty;
  BackgroundComboBox->OnChange = [this](TObject* s) { BackgroundComboBoxChange(s); };
  cbBackTerms->OnChange = [this](TObject* s) { cbBackTermsChange(s); };
  TabControl1->OnChanging = [this](TObject* s, bool& a) { TabControl1Changing(s, a); };
  TabControl1->OnChange = [this](TObject* s) { TabControl1Change(s); };
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonCancel->OnClick = [this](TObject* s) { ButtonCancelClick(s); };
  ButtonHelp->OnClick = [](TObject*) {};
  ButtonSpec->OnClick = [this](TObject* s) { ButtonSpecClick(s); };
  ButtonForm->OnClick = [this](TObject* s) { ButtonFormClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyUp(s, k, sh); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

THistogramForm::~THistogramForm() {
  if (HistogramForm == this) HistogramForm = nullptr;
}

void THistogramForm::Setcomboboxes(int Kind) {
  const bool data = Kind == 0 || Kind == 1 || Kind == 4 || Kind == 6;
  int type = 0;
  for (int t = 0; t < 4; ++t)
    if (kKinds[t][0] == Kind || kKinds[t][1] == Kind) type = t;
  cbType->SetItemIndex(type);
  cbCalc->SetItemIndex(data ? 0 : 1);
}

int THistogramForm::Getcomboboxes() const {
  const int type = std::clamp(cbType->ItemIndex(), 0, 3);
  const int calc = std::clamp(cbCalc->ItemIndex(), 0, 1);
  return kKinds[type][calc];
}

int THistogramForm::Terms() const { return 6 * std::clamp(cbBackTerms->ItemIndex(), 0, 3) + 6; }

void THistogramForm::DirtyHistogram(TObject*) {
  if (FLoading) return;
  FDirty = true;
  ModelChanged = true;
}

void THistogramForm::LayoutBackGrid(int Code, int n) {
  SetGridRowCount(BackGrid, n + 1);
  SetGridCell(BackGrid, 0, 0, "Par:");
  SetGridCell(BackGrid, 1, 0, "Value:");
  if (Code == bkPolynomial) {
    SetGridCell(BackGrid, 0, 1, "B-1");
    for (int r = 2; r <= n; ++r) SetGridCell(BackGrid, 0, r, "B" + std::to_string(r - 2));
  } else {
    for (int r = 1; r <= n; ++r) SetGridCell(BackGrid, 0, r, "B" + std::to_string(r - 1));
  }
  for (int r = 1; r <= n; ++r)
    if (!GridHasCheck(BackGrid, 2, r)) SetGridCheck(BackGrid, 2, r, false);
  SetGridRowHeight(BackGrid, FRowHeight);
}

// Row r of the grid holds coefficient r (type r + 1); the polynomial puts
// coefficient n in row 1 and coefficients 1 .. n - 1 in rows 2 .. n.
static int CoefficientOfRow(int code, int row, int n) {
  if (code != bkPolynomial) return row;
  return row == 1 ? n : row - 1;
}

void THistogramForm::FillBackGrid(THistogram* H, int Code, int n, int Precision) {
  LayoutBackGrid(Code, n);
  const int h = Shown();
  for (int r = 1; r <= n; ++r) {
    const int k = CoefficientOfRow(Code, r, n);
    SetGridCell(BackGrid, 1, r, General(H->Background.Coefficients[k - 1], Precision));
    SetGridCheck(BackGrid, 2, r, Model->IsRefined(h, 0, 0, k + 1));
  }
}

void THistogramForm::FillPointsGrid(THistogram* H) {
  SetGridCell(IntBackGrid, 1, 0, "x value");
  SetGridCell(IntBackGrid, 2, 0, "y value");
  for (int r = 1; r <= 50; ++r) {
    SetGridCell(IntBackGrid, 0, r, std::to_string(r));
    SetGridCell(IntBackGrid, 1, r, "");
    SetGridCell(IntBackGrid, 2, r, "");
  }
  // A histogram without points shows the two end points; they reach the
  // model when the page is saved.
  TPairList defaults;
  const TPairList* points = &H->Background.Points;
  if (points->Count() == 0) {
    defaults.Add(H->Start, 0);
    defaults.Add(H->Stop, 0);
    points = &defaults;
  }
  for (int i = 0; i < points->Count() && i < 50; ++i) {
    SetGridCell(IntBackGrid, 1, i + 1, RealToStrFixed(points->GetX(i), 8, 5));
    SetGridCell(IntBackGrid, 2, i + 1, RealToStrFixed(points->GetY(i), 8, 5));
  }
  SetGridRowHeight(IntBackGrid, FRowHeight);
}

void THistogramForm::ShowBackgroundControls(int Code) {
  const bool grid = IsGridBackground(Code);
  GridControl(BackGrid)->SetVisible(grid);
  cbBackTerms->SetVisible(grid);
  LabelOffset->SetVisible(Code == bkPolynomial);
  edOffset->SetVisible(Code == bkPolynomial);
  for (TControl* c : std::initializer_list<TControl*>{LabelCycles, seNCycles, LabelSteps, seNStep})
    c->SetVisible(Code == bkAutoSmoothed);
  GridControl(IntBackGrid)->SetVisible(Code == bkUserPoints);
}

void THistogramForm::UpdateForm() {
  FLoading = true;
  TabControl1->Tabs()->Clear();
  for (int i = 1; i <= Model->HistogramCount(); ++i) TabControl1->Tabs()->Add("Histogram" + std::to_string(i));
  if (Model->HistogramCount() > 0) TabControl1->SetTabIndex(0);
  if (THistogram* h = Model->Histogram(1)) Setcomboboxes(h->Job);
  FLoading = false;
  UpdateHistogram();
}

void THistogramForm::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  UpdateForm();
  FDirty = false;
}

void THistogramForm::UpdateHistogram() {
  const int h = Shown();
  THistogram* H = Model ? Model->Histogram(h) : nullptr;
  if (!H) return;
  const int k = Getcomboboxes();
  FLoading = true;
  // 1-3: the background.
  cbBackTerms->SetItemIndex(std::clamp(Model->BackTerms, 0, 3));
  const int n = Terms();
  edOffset->SetText(General(H->Background.Offset, 7));
  const int code = H->Background.Kind;
  BackgroundComboBox->SetItemIndex(BackgroundItem(code));
  ShowBackgroundControls(code);
  if (IsGridBackground(code)) {
    FillBackGrid(H, code, n, 7);
  } else {
    LayoutBackGrid(bkPolynomial, n);
    if (code == bkAutoSmoothed) {
      seNCycles->SetValue(H->Background.SmoothCycles);
      seNStep->SetValue(H->Background.SmoothSteps);
    }
    if (code == bkUserPoints) FillPointsGrid(H);
  }
  // 4: excluded regions.
  SetGridCell(ExcludedGrid, 1, 0, "Start");
  SetGridCell(ExcludedGrid, 2, 0, "Stop");
  for (int r = 1; r <= 50; ++r) {
    SetGridCell(ExcludedGrid, 0, r, std::to_string(r));
    SetGridCell(ExcludedGrid, 1, r, "");
    SetGridCell(ExcludedGrid, 2, r, "");
  }
  for (int i = 0; i < H->Excluded.Count() && i < 50; ++i) {
    SetGridCell(ExcludedGrid, 1, i + 1, RealToStrFixed(H->Excluded.Regions.GetX(i), 8, 5));
    SetGridCell(ExcludedGrid, 2, i + 1, RealToStrFixed(H->Excluded.Regions.GetY(i), 8, 5));
  }
  SetGridRowHeight(ExcludedGrid, FRowHeight);
  // 5: scale, range, instrument values.
  if (h == 1) {
    HistogramSCaleEdit->SetText("1.0");
    HistogramSCaleEdit->SetEnabled(false);
    HistogramScaleCheckBox->SetChecked(false);
    HistogramScaleCheckBox->SetEnabled(false);
  } else {
    HistogramSCaleEdit->SetText(RealToStrFixed(H->Scale, 8, 4));
    HistogramSCaleEdit->SetEnabled(true);
    HistogramScaleCheckBox->SetEnabled(true);
    HistogramScaleCheckBox->SetChecked(Model->IsRefined(h, 0, 0, 26));
  }
  ThetaMinEdit->SetText(RealToStrFixed(H->Start, 8, 5));
  ThetaMaxEdit->SetText(RealToStrFixed(H->Stop, 8, 5));
  ThetaStepEdit->SetText(RealToStrFixed(H->Step, 9, 6));
  Wave1Edit->SetText(General(H->Wavelength1, 7));
  Wave2Edit->SetText(General(H->Wavelength2, 7));
  RatioEdit->SetText(General(H->Ratio, 7));
  ZeroEdit->SetText(General(H->Zero, 7));
  BWEdit->SetText(General(H->BaseWidth, 3));
  EditWEIDS->SetText(General(H->Weighting, 3));
  CheckBoxWave1->SetChecked(Model->IsRefined(h, 0, 0, 27));
  CheckBoxWave2->SetChecked(Model->IsRefined(h, 0, 0, 28));
  CheckBoxZero->SetChecked(Model->IsRefined(h, 0, 0, 1));
  // 6: by kind.
  const bool xray = k == 0 || k == 2;
  const bool tof = k == 4 || k == 5;
  const bool ed = k == 6 || k == 7;
  LabelWave1->SetCaption(tof ? "Difc:" : ed ? "Det. Angle:" : "Wavelength 1:");
  LabelWave2->SetCaption(tof ? "Difa:" : "Wavelength 2:");
  for (TControl* c : std::initializer_list<TControl*>{LabelWave2, Wave2Edit}) c->SetVisible(!ed);
  CheckBoxWave2->SetVisible(tof);
  LabelRatio->SetVisible(k < 4);
  RatioEdit->SetVisible(k < 4);
  ButtonSpec->SetEnabled(tof);
  for (TControl* c : std::initializer_list<TControl*>{LabelPol, PolEdit, LabelDisplacement, edSampleDisplacement,
                                                      cbSampleDisplacement, CheckBoxIllumination})
    c->SetVisible(xray);
  if (xray) {
    PolEdit->SetText(General(H->Polarisation, 7));
    edSampleDisplacement->SetText(General(H->Displacement, 7));
    cbSampleDisplacement->SetChecked(Model->IsRefined(h, 0, 0, 29));
    CheckBoxIllumination->SetChecked(H->Illumination == 1);
  }
  FLoading = false;
  // 7: a kind chosen but not saved leaves the page changed.
  FDirty = k != H->Job;
}

bool THistogramForm::SaveHistogram() {
  const int h = Shown();
  THistogram* H = Model ? Model->Histogram(h) : nullptr;
  if (!H) return true;
  const int kind = Getcomboboxes();
  const int code = BackgroundCode(BackgroundComboBox->ItemIndex());
  const int n = Terms();
  const bool xray = kind == 0 || kind == 2;
  // Every number of the page is read first; a refused one stops the save.
  TPageFields f;
  const float offset = f.Real(edOffset->Text(), "Offset:");
  std::array<float, 24> coefficients = H->Background.Coefficients;
  std::array<bool, 26> vary{};  // by type
  if (IsGridBackground(code)) {
    for (int r = 1; r <= n; ++r) {
      const int c = CoefficientOfRow(code, r, n);
      coefficients[c - 1] = f.Real(GridCell(BackGrid, 1, r), "Background " + GridCell(BackGrid, 0, r) + ":");
      vary[c + 1] = GridChecked(BackGrid, 2, r);
    }
  }
  TPairList points;
  if (code == bkUserPoints) {
    for (int r = 1; r <= 50; ++r) {
      if (TrimText(GridCell(IntBackGrid, 1, r)).empty()) continue;
      const std::string name = "Background point " + std::to_string(r);
      const float x = f.Real(GridCell(IntBackGrid, 1, r), name + " x:");
      points.Add(x, f.Real(GridCell(IntBackGrid, 2, r), name + " y:"));
    }
  }
  TPairList regions;
  for (int r = 1; r <= 50; ++r) {
    const std::string a = GridCell(ExcludedGrid, 1, r), b = GridCell(ExcludedGrid, 2, r);
    if (TrimText(a).empty() && TrimText(b).empty()) continue;
    const std::string name = "Excluded region " + std::to_string(r);
    const float lo = f.Real(a, name + " Start:"), hi = f.Real(b, name + " Stop:");
    if (lo != hi) regions.Add(lo, hi);
  }
  // Histogram 1 is the scale of the others: 1, never refined.
  const float scale = h == 1 ? 1.0f : f.Real(HistogramSCaleEdit->Text(), "Scale:");
  const float start = f.Real(ThetaMinEdit->Text(), "Min:");
  const float stop = f.Real(ThetaMaxEdit->Text(), "Max:");
  const float step = f.Real(ThetaStepEdit->Text(), "Step:");
  const float wave1 = f.Real(Wave1Edit->Text(), LabelWave1->Caption());
  const float wave2 = kind == 6 || kind == 7 ? H->Wavelength2 : f.Real(Wave2Edit->Text(), LabelWave2->Caption());
  const float zero = f.Real(ZeroEdit->Text(), "Zero:");
  const float width = f.Real(BWEdit->Text(), "Peak Width:");
  const float weighting = f.Real(EditWEIDS->Text(), "Weighting:");
  const float pol = xray ? f.Real(PolEdit->Text(), "Polarisation:") : H->Polarisation;
  const float displacement = xray ? f.Real(edSampleDisplacement->Text(), "Displacement:") : H->Displacement;
  const float ratio = kind == 4 || kind == 5 ? H->Ratio : f.Real(RatioEdit->Text(), "Ratio:");
  if (!f.Check()) return false;

  TParameterList& P = Model->Parameters;
  // 1-2.
  H->Job = kind;
  Model->BackTerms = std::clamp(cbBackTerms->ItemIndex(), 0, 3);
  H->Background.Offset = offset;
  H->Background.Kind = code;
  H->Background.SmoothCycles = 0;
  H->Background.SmoothSteps = 0;
  // 4: a background without coefficients refines none.
  if (code == bkDataFile || code == bkUserPoints || code == bkAutoSmoothed)
    for (int t = 2; t <= 25; ++t) P.SetRefined(h, 0, 0, t, false);
  if (code == bkAutoSmoothed) {
    H->Background.SmoothCycles = seNCycles->Value();
    H->Background.SmoothSteps = seNStep->Value();
  }
  // 3, 5: the points of the page (the two end points when it held none).
  if (code == bkUserPoints) {
    H->Background.ClearPoints();
    if (points.Count() == 0) {
      points.Add(start, 0);
      points.Add(stop, 0);
    }
    for (int i = 0; i < points.Count(); ++i) H->Background.AddPoint(points.GetX(i), points.GetY(i));
  }
  // 6-7.
  if (IsGridBackground(code)) {
    H->Background.Coefficients = coefficients;
    for (int c = 1; c <= n; ++c) P.SetRefined(h, 0, 0, c + 1, vary[c + 1]);
  }
  // 8.
  H->Excluded.Clear();
  for (int i = 0; i < regions.Count(); ++i) H->Excluded.AddRegion(regions.GetX(i), regions.GetY(i));
  // 9.
  H->Scale = scale;
  P.SetRefined(h, 0, 0, 26, h != 1 && HistogramScaleCheckBox->Checked());
  H->Start = start;
  H->Stop = stop;
  H->Step = step;
  H->Wavelength1 = wave1;
  H->Wavelength2 = wave2;
  H->Zero = zero;
  H->BaseWidth = width;
  H->Weighting = weighting;
  H->Illumination = CheckBoxIllumination->Checked() && xray ? 1 : 0;
  P.SetRefined(h, 0, 0, 27, CheckBoxWave1->Checked());
  P.SetRefined(h, 0, 0, 28, CheckBoxWave2->Checked() && (kind == 4 || kind == 5));
  P.SetRefined(h, 0, 0, 1, CheckBoxZero->Checked());
  // 10.
  H->HasDisplacement = 0;
  P.SetRefined(h, 0, 0, 29, false);
  if (xray) {
    H->Polarisation = pol;
    H->Displacement = displacement;
    P.SetRefined(h, 0, 0, 29, cbSampleDisplacement->Checked());
    H->HasDisplacement = displacement != 0 || cbSampleDisplacement->Checked() ? 1 : 0;
  }
  // 11.
  H->Ratio = ratio;
  FDirty = false;
  return true;
}

bool THistogramForm::LeavePage(bool AskAlways) {
  if (!FDirty) return true;
  if (!AskAlways && AcceptChanges) return SaveHistogram();
  switch (MessageDlg("Keep Changes?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes:
      return SaveHistogram();
    case mrNo:
      FDirty = false;
      return true;
    default:
      return false;
  }
}

void THistogramForm::TabControl1Changing(TObject*, bool& AllowChange) { AllowChange = LeavePage(false); }

void THistogramForm::TabControl1Change(TObject*) {
  if (THistogram* h = Model->Histogram(Shown())) {
    FLoading = true;
    Setcomboboxes(h->Job);
    FLoading = false;
  }
  UpdateHistogram();
}

void THistogramForm::cbTypeChange(TObject*) {
  if (FLoading) return;
  UpdateHistogram();
  DirtyHistogram(this);
}

void THistogramForm::BackgroundComboBoxChange(TObject*) {
  if (FLoading) return;
  THistogram* H = Model->Histogram(Shown());
  if (!H) return;
  const int code = BackgroundCode(BackgroundComboBox->ItemIndex());
  ShowBackgroundControls(code);
  FLoading = true;
  if (code == bkUserPoints) FillPointsGrid(H);
  if (IsGridBackground(code)) {
    FillBackGrid(H, code, Terms(), 5);
    SetGridColWidth(BackGrid, 2, 16);
  }
  FLoading = false;
  DirtyHistogram(this);
}

void THistogramForm::cbBackTermsChange(TObject*) {
  if (FLoading) return;
  DirtyHistogram(this);
  const int code = BackgroundCode(BackgroundComboBox->ItemIndex()), n = Terms();
  LayoutBackGrid(code, n);
  // Rows that come with more terms show the model's values, not blanks
  // that would not convert.
  if (THistogram* H = Model->Histogram(Shown()))
    for (int r = 1; r <= n; ++r)
      if (TrimText(GridCell(BackGrid, 1, r)).empty())
        SetGridCell(BackGrid, 1, r, General(H->Background.Coefficients[CoefficientOfRow(code, r, n) - 1], 7));
}

void THistogramForm::ButtonOKClick(TObject*) {
  if (!SaveHistogram()) return;
  Hide();
}

void THistogramForm::ButtonCancelClick(TObject*) { Hide(); }

void THistogramForm::FormCloseQuery(TObject*, bool& CanClose) { CanClose = LeavePage(true); }

void THistogramForm::FormClose(TObject*, TCloseAction& Action) {
  if (LastActiveControl && LastActiveControl->Owner() == this) LastActiveControl = nullptr;
  Action = caHide;
}

void THistogramForm::FormDeactivate(TObject*) { LastActiveControl = ActiveControl(); }

void THistogramForm::FormKeyUp(TObject*, uint16_t& Key, TShiftState Shift) {
  EditClipboardKey(ActiveControl(), Key, Shift.Contains(ssCtrl));
}

void THistogramForm::ButtonSpecClick(TObject*) {
  TFormSpectrum form(this);
  form.SetTag(Shown());
  form.ShowModal();
}

void THistogramForm::ButtonFormClick(TObject*) {
  TFormScatter form(this);
  form.SetTag(Shown());
  form.ShowModal();
}

void THistogramForm::UseInstrumentClick(int i) {
  const TInstrument& p = Instruments[i];
  cbType->SetItemIndex(std::clamp(p.Radiation, 0, 3));
  ThetaMinEdit->SetText(General(p.Start, 7));
  ThetaStepEdit->SetText(General(p.Step, 7));
  ThetaMaxEdit->SetText(General(p.Stop, 7));
  Wave1Edit->SetText(General(p.Wave1, 7));
  Wave2Edit->SetText(General(p.Wave2, 7));
  ZeroEdit->SetText(General(p.Zero, 7));
  RatioEdit->SetText(General(p.Ratio, 7));
  PolEdit->SetText(General(p.Pol, 7));
}

void THistogramForm::PopupMenu1Popup(TObject*) { DeleteHistogram1->SetEnabled(Model && Model->HistogramCount() > 1); }

void THistogramForm::NewHistogram1Click(TObject*) {
  Model->NewHistogram();
  ModelChanged = true;
  TabControl1->Tabs()->Add("Histogram" + std::to_string(Model->HistogramCount()));
}

void THistogramForm::DeleteHistogram(int n) {
  if (!Model || Model->HistogramCount() <= 1) return;
  Model->DeleteHistogram(n);
  ModelChanged = true;
}

void THistogramForm::DeleteHistogram1Click(TObject*) {
  if (Model->HistogramCount() <= 1) return;
  DeleteHistogram(Shown());
  FormShow(this);
}

void THistogramForm::Copy1Click(TObject*) {
  THistogram& c = *FClipboard;
  c.Job = Getcomboboxes();
  c.Start = TextToReal(ThetaMinEdit->Text());
  c.Stop = TextToReal(ThetaMaxEdit->Text());
  c.Wavelength1 = TextToReal(Wave1Edit->Text());
  c.Wavelength2 = TextToReal(Wave2Edit->Text());
  c.Zero = TextToReal(ZeroEdit->Text());
  c.Ratio = TextToReal(RatioEdit->Text());
  c.BaseWidth = TextToReal(BWEdit->Text());
  c.Weighting = TextToReal(EditWEIDS->Text());
  if (c.Job == 0 || c.Job == 2) {
    c.Polarisation = TextToReal(PolEdit->Text());
    c.Displacement = TextToReal(edSampleDisplacement->Text());
  }
  FClipboardBackgroundItem = BackgroundComboBox->ItemIndex();
  c.Background.Offset = TextToReal(edOffset->Text());
  c.Background.SmoothSteps = seNStep->Value();
  c.Background.SmoothCycles = seNCycles->Value();
  const int n = std::min(Terms(), GridRowCount(BackGrid) - 1);
  for (int r = 1; r <= n; ++r) c.Background.Coefficients[r - 1] = TextToReal(GridCell(BackGrid, 1, r));
}

void THistogramForm::Paste1Click(TObject*) {
  const THistogram& c = *FClipboard;
  Setcomboboxes(c.Job);
  ThetaMinEdit->SetText(General(c.Start, 7));
  ThetaMaxEdit->SetText(General(c.Stop, 7));
  Wave1Edit->SetText(General(c.Wavelength1, 7));
  Wave2Edit->SetText(General(c.Wavelength2, 7));
  ZeroEdit->SetText(General(c.Zero, 7));
  RatioEdit->SetText(General(c.Ratio, 7));
  BWEdit->SetText(General(c.BaseWidth, 7));
  EditWEIDS->SetText(General(c.Weighting, 7));
  PolEdit->SetText(General(c.Polarisation, 7));
  edSampleDisplacement->SetText(General(c.Displacement, 7));
  edOffset->SetText(General(c.Background.Offset, 7));
  seNStep->SetValue(c.Background.SmoothSteps);
  seNCycles->SetValue(c.Background.SmoothCycles);
  const int n = std::min(12, GridRowCount(BackGrid) - 1);
  for (int r = 1; r <= n; ++r) SetGridCell(BackGrid, 1, r, FloatToStrF(c.Background.Coefficients[r - 1], ffFixed, 4, 5));
  BackgroundComboBox->SetItemIndex(FClipboardBackgroundItem);
  DirtyHistogram(this);
}

void THistogramForm::Cut1Click(TObject* Sender) {
  Copy1Click(Sender);
  DeleteHistogram1Click(Sender);
}
