#include "app/samplewindow.h"

#include <algorithm>
#include <cmath>

#include "app/gridcells.h"
#include "app/pagefields.h"
#include "app/peakshapes.h"
#include "app/peakwidthwindow.h"
#include "app/popupmenus.h"
#include "app/positionsaver.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"

TFormSample* FormSample = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormSample, TForm)

namespace {

TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& text, int x, int y) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetLeft(x);
  l->SetTop(y + 3);
  return l;
}

TEdit* NewEdit(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w = 80) {
  auto* e = new TEdit(owner);
  e->SetName(name);
  e->SetParent(parent);
  e->SetBounds(x, y, w, 21);
  return e;
}

TCheckBox* NewCheck(TComponent* owner, TWinControl* parent, const char* name, int x, int y) {
  auto* c = new TCheckBox(owner);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(x, y + 2, 17, 17);
  return c;
}

TGroupBox* NewGroup(TComponent* owner, TWinControl* parent, const std::string& caption, int x, int y, int w, int h) {
  auto* g = new TGroupBox(owner);
  g->SetParent(parent);
  g->SetCaption(caption);
  g->SetBounds(x, y, w, h);
  return g;
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

std::string Fixed(float v) { return RealToStrFixed(v, 8, 5); }
std::string Hkl(float v) { return RealToStrFixed(v, 4, 1); }

}  // namespace

TFormSample::TFormSample(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormSample");
  SetCaption("Sample");
  SetBorderStyle(bsDialog);
  SetClientWidth(660);
  SetClientHeight(520);
  SetKeyPreview(true);

  TabControlSampleHist = new TTabControl(this);
  TabControlSampleHist->SetName("TabControlSampleHist");
  TabControlSampleHist->SetParent(this);
  TabControlSampleHist->SetBounds(4, 4, 652, 476);
  TabControlSampleHist->Tabs()->Add("Histogram1");
  TRect outer = TabControlSampleHist->DisplayRect();
  NewLabel(this, TabControlSampleHist, "PeakShape:", outer.Left + 6, outer.Top + 4);
  ProfileComboBox = NewCombo(this, TabControlSampleHist, "ProfileComboBox", outer.Left + 70, outer.Top + 4, 200,
                             {"Pseudo-Voigt  (Riet asym)", "Pearson IV      (Riet asym)", "Voigt               (Riet asym)",
                              "Pseudo-Voigt  (How. Asym)", "Voigt               (How. Asym)", "Pseudo-Voigt  (FCJ Asym)",
                              "Jorgensen       (TOF)"});
  NewLabel(this, TabControlSampleHist, "m:", outer.Left + 284, outer.Top + 4);
  AbsorptionEdit = NewEdit(this, TabControlSampleHist, "AbsorptionEdit", outer.Left + 302, outer.Top + 4);
  ComboBoxAbsorption = NewCombo(this, TabControlSampleHist, "ComboBoxAbsorption", outer.Left + 392, outer.Top + 4, 110,
                                {"Cylindrical", "Flat Plate"});

  TabControlSamplePhase = new TTabControl(this);
  TabControlSamplePhase->SetName("TabControlSamplePhase");
  TabControlSamplePhase->SetParent(TabControlSampleHist);
  TabControlSamplePhase->SetBounds(outer.Left + 2, outer.Top + 32, outer.Width() - 4, outer.Height() - 34);
  TabControlSamplePhase->Tabs()->Add("A new phase");
  TWinControl* p = TabControlSamplePhase;
  const TRect in = TabControlSamplePhase->DisplayRect();
  const int x0 = in.Left + 4, y0 = in.Top + 4;

  // Instrumental peak shape: three columns of three rows, then asymmetry and TOF.
  GroupPeakShape = NewGroup(this, p, "Instrumental PeakShape", x0, y0, 620, 150);
  TWinControl* g = GroupPeakShape;
  auto column = [&](int x, std::array<const char*, 3> labels, std::array<const char*, 3> edits,
                    std::array<const char*, 3> checks, std::array<TLabel**, 3> l, std::array<TEdit**, 3> e,
                    std::array<TCheckBox**, 3> c) {
    for (int i = 0; i < 3; ++i) {
      *l[i] = NewLabel(this, g, labels[i], x, 20 + 26 * i);
      *e[i] = NewEdit(this, g, edits[i], x + 44, 20 + 26 * i);
      *c[i] = NewCheck(this, g, checks[i], x + 128, 20 + 26 * i);
    }
  };
  column(8, {"U:", "V:", "W:"}, {"UEdit", "VEdit", "WEdit"}, {"UCheckBox", "VCheckBox", "WCheckBox"},
         {&LabelU, &LabelV, &LabelW}, {&UEdit, &VEdit, &WEdit}, {&UCheckBox, &VCheckBox, &WCheckBox});
  column(160, {"Gam0:", "Gam1:", "Gam2:"}, {"L1Edit", "L2Edit", "L3Edit"}, {"L1CheckBox", "L2CheckBox", "L3CheckBox"},
         {&LabelL1, &LabelL2, &LabelL3}, {&L1Edit, &L2Edit, &L3Edit}, {&L1CheckBox, &L2CheckBox, &L3CheckBox});
  LabelAsym1 = NewLabel(this, g, "Asy1:", 8, 98);
  Asym1Edit = NewEdit(this, g, "Asym1Edit", 52, 98);
  Asym1CheckBox = NewCheck(this, g, "Asym1CheckBox", 136, 98);
  LabelAsym2 = NewLabel(this, g, "D/L:", 160, 98);
  Asym2Edit = NewEdit(this, g, "Asym2Edit", 204, 98);
  Asym2CheckBox = NewCheck(this, g, "Asym2CheckBox", 288, 98);
  const char* tofLabels[4] = {"a 0:", "a 1:", "b 0:", "b 1:"};
  const char* tofEdits[4] = {"a0Edit", "a1edit", "b0edit", "b1edit"};
  const char* tofChecks[4] = {"CheckBoxa0", "CheckBoxa1", "CheckBoxb0", "CheckBoxb1"};
  std::array<TEdit**, 4> tofE = {&a0Edit, &a1edit, &b0edit, &b1edit};
  std::array<TCheckBox**, 4> tofC = {&CheckBoxa0, &CheckBoxa1, &CheckBoxb0, &CheckBoxb1};
  for (int i = 0; i < 4; ++i) {
    TOFLabels[i] = NewLabel(this, g, tofLabels[i], 318, 20 + 26 * i);
    *tofE[i] = NewEdit(this, g, tofEdits[i], 354, 20 + 26 * i);
    *tofC[i] = NewCheck(this, g, tofChecks[i], 438, 20 + 26 * i);
  }

  GroupPO = NewGroup(this, p, "Preferred Orientation", x0, y0 + 156, 300, 80);
  cbPO = NewCombo(this, GroupPO, "cbPO", 8, 18, 110, {"March Model"});
  NewLabel(this, GroupPO, "PO Value:", 124, 18);
  POEdit = NewEdit(this, GroupPO, "POEdit", 186, 18, 80);
  POCheckBox = NewCheck(this, GroupPO, "POCheckBox", 272, 18);
  NewLabel(this, GroupPO, "PO HKL:", 8, 48);
  POHEdit = NewEdit(this, GroupPO, "POHEdit", 64, 48, 40);
  POKEdit = NewEdit(this, GroupPO, "POKEdit", 108, 48, 40);
  POLEdit = NewEdit(this, GroupPO, "POLEdit", 152, 48, 40);

  GroupAbsorption = NewGroup(this, p, "Absorption", x0 + 306, y0 + 156, 314, 80);
  LabelR = NewLabel(this, GroupAbsorption, "Absor. R:", 8, 18);
  REdit = NewEdit(this, GroupAbsorption, "REdit", 64, 18);
  RCheckBox = NewCheck(this, GroupAbsorption, "RCheckBox", 148, 18);
  LabelPore = NewLabel(this, GroupAbsorption, "Pore:", 8, 48);
  PoreEdit = NewEdit(this, GroupAbsorption, "PoreEdit", 44, 48, 70);
  PoreCheckBox = NewCheck(this, GroupAbsorption, "PoreCheckBox", 118, 48);
  LabelRough = NewLabel(this, GroupAbsorption, "Rough:", 142, 48);
  RoughEdit = NewEdit(this, GroupAbsorption, "RoughEdit", 186, 48, 70);
  RoughCheckBox = NewCheck(this, GroupAbsorption, "RoughCheckBox", 260, 48);

  GroupExtinction = NewGroup(this, p, "Extinction", x0, y0 + 242, 180, 52);
  ExtEdit = NewEdit(this, GroupExtinction, "ExtEdit", 8, 20);
  ExtCheckBox = NewCheck(this, GroupExtinction, "ExtCheckBox", 92, 20);
  NewLabel(this, p, "Broadening Model:", x0 + 190, y0 + 248);
  cbBroadening = NewCombo(this, p, "cbBroadening", x0 + 296, y0 + 248, 200,
                          {"None", "Standard cos^2(phi) Model", "Tensor Sij Model", "Delta-a/a Model",
                           "Dislocation Model"});

  const int yb = y0 + 300;
  GroupSampleDependant = NewGroup(this, p, "Sample Dependant Peakshape", x0, yb, 620, 110);
  NewLabel(this, GroupSampleDependant, "Uaniso:", 8, 20);
  UanisoEdit = NewEdit(this, GroupSampleDependant, "UanisoEdit", 60, 20);
  UanisoCheckBox = NewCheck(this, GroupSampleDependant, "UanisoCheckBox", 144, 20);
  NewLabel(this, GroupSampleDependant, "AHKL:", 8, 50);
  UHEdit = NewEdit(this, GroupSampleDependant, "UHEdit", 60, 50, 40);
  UKEdit = NewEdit(this, GroupSampleDependant, "UKEdit", 104, 50, 40);
  ULEdit = NewEdit(this, GroupSampleDependant, "ULEdit", 148, 50, 40);
  GroupDislocation = NewGroup(this, p, "Dislocation Model", x0, yb, 620, 110);
  sgDislocation = NewEditorGrid(this, GroupDislocation, 11, 3);
  SetGridFixed(sgDislocation, 0, 0);
  GridControl(sgDislocation)->SetBounds(8, 18, 380, 64);
  for (int c = 0; c < 11; ++c) SetGridColWidth(sgDislocation, c, c < 9 ? 26 : 50);
  SetGridRowHeight(sgDislocation, 18);
  SetGridOnUserChange(sgDislocation, [this] { DirtySample(this); });
  const char* probNames[6] = {"edProbG1", "edProbL1", "edProbG2", "edProbL2", "edProbG3", "edProbL3"};
  const char* probChecks[6] = {"cbProbG1", "cbProbL1", "cbProbG2", "cbProbL2", "cbProbG3", "cbProbL3"};
  for (int i = 0; i < 6; ++i) {
    const int gx = 396 + 110 * (i % 2), gy = 18 + 26 * (i / 2);
    NewLabel(this, GroupDislocation, i % 2 == 0 ? "G:" : "L:", gx, gy);
    ProbEdits[i] = NewEdit(this, GroupDislocation, probNames[i], gx + 16, gy, 66);
    ProbChecks[i] = NewCheck(this, GroupDislocation, probChecks[i], gx + 86, gy);
  }
  GroupDislocation->SetVisible(false);

  auto button = [this](const char* caption, int x) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetCaption(caption);
    b->SetBounds(x, 488, 75, 25);
    return b;
  };
  Button1 = button("OK", 4);
  Button2 = button("Cancel", 84);
  Button3 = button("Help", 164);
  Button4 = button("Plot FWHM", 580);

  PopupMenu1 = NewDockPopupMenu(this, [this](TObject* s) { PopupMenu1Popup(s); });
  UseInstrument1 = new TTBSubmenuItem(PopupMenu1);
  UseInstrument1->SetCaption("Use Instrument");
  PopupMenu1->Items()->Add(UseInstrument1);
  for (int i = 1; i <= InstrumentCount; ++i) {
    auto* item = new TTBItem(UseInstrument1);
    item->SetName("Inst" + std::to_string(i));
    item->SetCaption(Instruments[i].Title);
    item->SetOnClick([this, i](TObject*) { UseInstrumentClick(i); });
    UseInstrument1->Add(item);
  }
  UsePhase1 = new TTBSubmenuItem(PopupMenu1);
  UsePhase1->SetCaption("Use Phase");
  PopupMenu1->Items()->Add(UsePhase1);
  TabControlSamplePhase->SetPopupMenu(PopupMenu1);

  auto dirty = [this](TObject* s) { DirtySample(s); };
  for (TEdit* e : {AbsorptionEdit, UEdit, VEdit, WEdit, L1Edit, L2Edit, L3Edit, Asym1Edit, Asym2Edit, a0Edit, a1edit,
                   b0edit, b1edit, POEdit, POHEdit, POKEdit, POLEdit, REdit, PoreEdit, RoughEdit, ExtEdit, UanisoEdit,
                   UHEdit, UKEdit, ULEdit})
    e->OnChange = dirty;
  for (TEdit* e : ProbEdits) e->OnChange = dirty;
  for (TCheckBox* c : {UCheckBox, VCheckBox, WCheckBox, L1CheckBox, L2CheckBox, L3CheckBox, Asym1CheckBox,
                       Asym2CheckBox, CheckBoxa0, CheckBoxa1, CheckBoxb0, CheckBoxb1, POCheckBox, RCheckBox,
                       PoreCheckBox, RoughCheckBox, ExtCheckBox, UanisoCheckBox})
    c->OnClick = dirty;
  for (TCheckBox* c : ProbChecks) c->OnClick = dirty;
  ProfileComboBox->OnChange = [this](TObject* s) { ProfileComboBoxChange(s); };
  ComboBoxAbsorption->OnChange = [this](TObject* s) { ComboBoxAbsorptionChange(s); };
  cbBroadening->OnChange = [this](TObject* s) { cbBroadeningChange(s); };
  TabControlSampleHist->OnChanging = [this](TObject*, bool& a) { TabChanging(true, a); };
  TabControlSamplePhase->OnChanging = [this](TObject*, bool& a) { TabChanging(false, a); };
  TabControlSampleHist->OnChange = [this](TObject*) { TabChange(true); };
  TabControlSamplePhase->OnChange = [this](TObject*) { TabChange(false); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject*) { Close(); };
  Button3->OnClick = [](TObject*) {};
  Button4->OnClick = [this](TObject* s) { Button4Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject*, TCloseAction& a) {
    if (LastActiveControl && LastActiveControl->Owner() == this) LastActiveControl = nullptr;
    a = caHide;
  };
  OnDeactivate = [this](TObject*) { LastActiveControl = ActiveControl(); };
  OnKeyUp = [this](TObject*, uint16_t& k, TShiftState sh) { EditClipboardKey(ActiveControl(), k, sh.Contains(ssCtrl)); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

TFormSample::~TFormSample() {
  if (FormSample == this) FormSample = nullptr;
}

void TFormSample::ShowFor(const THistogram& First) {
  FLoading = true;
  ProfileComboBox->SetItemIndex(std::clamp(First.Profile - 1, 0, 6));
  ComboBoxAbsorption->SetItemIndex(std::clamp(First.AbsorptionModel, 0, 1));
  FLoading = false;
  if (Visible()) {
    FormShow(this);
    BringToFront();
  } else {
    Show();
  }
}

void TFormSample::DirtySample(TObject*) {
  if (FLoading) return;
  FDirty = true;
  ModelChanged = true;
}

void TFormSample::UpdateForm() {
  FLoading = true;
  FDirty = false;
  TabControlSampleHist->Tabs()->Clear();
  for (int h = 1; h <= Model->HistogramCount(); ++h) TabControlSampleHist->Tabs()->Add("Histogram" + std::to_string(h));
  TabControlSamplePhase->Tabs()->Clear();
  for (int ph = 1; ph <= Model->PhaseCount(); ++ph) TabControlSamplePhase->Tabs()->Add(Utf8Left(Model->Phase(ph)->Title, 15));
  FLoading = false;
  UpdateSample();
}

void TFormSample::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  if (!Model) return;
  UpdateForm();
  FDirty = false;
}

void TFormSample::SetShape() {
  const int i = ProfileComboBox->ItemIndex();
  const bool tof = i == 6;
  for (int k = 0; k < 4; ++k) TOFLabels[k]->SetVisible(tof);
  for (TControl* c : std::initializer_list<TControl*>{a0Edit, a1edit, b0edit, b1edit, CheckBoxa0, CheckBoxa1,
                                                      CheckBoxb0, CheckBoxb1})
    c->SetVisible(tof);
  for (TControl* c : std::initializer_list<TControl*>{L1Edit, L2Edit, L3Edit, L1CheckBox, L2CheckBox, L3CheckBox})
    c->SetEnabled(true);
  LabelU->SetCaption(tof ? "Sig0:" : "U:");
  LabelV->SetCaption(tof ? "Sig1:" : "V:");
  LabelW->SetCaption(tof ? "Sig2:" : "W:");
  const bool voigt = i == 2 || i == 4;
  LabelL1->SetCaption(voigt ? "size:" : "Gam0:");
  LabelL2->SetCaption(voigt ? "strn:" : "Gam1:");
  LabelL3->SetCaption(voigt ? "Saniso:" : "Gam2:");
  LabelAsym1->SetCaption(tof ? "A.Size:" : i == 5 ? "S/L:" : "Asy1:");
  for (TControl* c : std::initializer_list<TControl*>{LabelAsym2, Asym2Edit, Asym2CheckBox}) c->SetVisible(i == 5);
  DirtySample(this);
}

void TFormSample::ShowValues(const TSample& S) {
  UEdit->SetText(Fixed(S.U));
  VEdit->SetText(Fixed(S.V));
  WEdit->SetText(Fixed(S.W));
  UanisoEdit->SetText(Fixed(S.Uaniso));
  POEdit->SetText(Fixed(S.PO));
  Asym1Edit->SetText(Fixed(S.Asym1));
  Asym2Edit->SetText(Fixed(S.Asym2));
  ExtEdit->SetText(Fixed(S.Extinction));
  L1Edit->SetText(Fixed(S.Gam0));
  L2Edit->SetText(Fixed(S.Gam1));
  L3Edit->SetText(Fixed(S.Gam2));
  a0Edit->SetText(Fixed(S.TOFAlpha1));
  a1edit->SetText(Fixed(S.TOFAlpha2));
  b0edit->SetText(Fixed(S.TOFBeta1));
  b1edit->SetText(Fixed(S.TOFBeta2));
  UHEdit->SetText(Hkl(S.UH));
  UKEdit->SetText(Hkl(S.UK));
  ULEdit->SetText(Hkl(S.UL));
  POHEdit->SetText(Hkl(S.POH));
  POKEdit->SetText(Hkl(S.POK));
  POLEdit->SetText(Hkl(S.POL));
}

void TFormSample::ShowBroadening(int BroadeningModel, const TSample& S) {
  const int h = ShownHistogram(), p = ShownPhase();
  cbBroadening->SetItemIndex(std::clamp(BroadeningModel, 0, 4));
  GroupDislocation->SetVisible(BroadeningModel == bmDislocation);
  GroupSampleDependant->SetVisible(BroadeningModel != bmDislocation);
  if (BroadeningModel != bmDislocation) return;
  for (int r = 0; r < MaxDislocationRows; ++r) {
    const bool used = r < S.DislocationCount;
    for (int k = 0; k < 3; ++k) {
      SetGridCell(sgDislocation, k, r, used ? std::to_string(S.DislocationHKL1[r][k]) : "");
      SetGridCell(sgDislocation, 3 + k, r, used ? std::to_string(S.DislocationHKL2[r][k]) : "");
      SetGridCell(sgDislocation, 6 + k, r, used ? std::to_string(S.DislocationHKL3[r][k]) : "");
    }
    SetGridCell(sgDislocation, 9, r, used ? ShortestFloat(S.DislocationValue1[r]) : "");
    SetGridCell(sgDislocation, 10, r, used ? ShortestFloat(S.DislocationValue2[r]) : "");
  }
  for (int i = 0; i < 3; ++i) {
    ProbEdits[2 * i]->SetText(ShortestFloat(S.GausDis[i]));
    ProbEdits[2 * i + 1]->SetText(ShortestFloat(S.LorDis[i]));
  }
  for (int i = 0; i < 6; ++i) ProbChecks[i]->SetChecked(Model->IsRefined(h, p, 0, 28 + i));
}

void TFormSample::UpdateSample() {
  const int h = ShownHistogram(), p = ShownPhase();
  THistogram* H = Model ? Model->Histogram(h) : nullptr;
  TSample* S = Model ? Model->FindSample(h, p) : nullptr;
  if (!H || !S) return;
  FLoading = true;
  SetShape();
  AbsorptionEdit->SetText(Fixed(H->Absorption));
  cbPO->SetItemIndex(0);
  ShowValues(*S);
  const std::pair<TCheckBox*, int> boxes[] = {
      {UCheckBox, 3},      {VCheckBox, 4},      {WCheckBox, 5},       {POCheckBox, 12},     {RCheckBox, 13},
      {Asym1CheckBox, 14}, {Asym2CheckBox, 20}, {L1CheckBox, 15},     {L2CheckBox, 16},     {L3CheckBox, 17},
      {ExtCheckBox, 18},   {UanisoCheckBox, 19}, {CheckBoxa0, 21},    {CheckBoxa1, 22},     {CheckBoxb0, 23},
      {CheckBoxb1, 24}};
  for (auto [box, type] : boxes) box->SetChecked(Model->IsRefined(h, p, 0, type));
  REdit->SetText(Fixed(S->AbsorptionR));
  const bool flat = ComboBoxAbsorption->ItemIndex() == 1;
  LabelR->SetCaption(flat ? "Absor. P:" : "Absor. R:");
  for (TControl* c : std::initializer_list<TControl*>{LabelPore, PoreEdit, PoreCheckBox, LabelRough, RoughEdit,
                                                      RoughCheckBox})
    c->SetVisible(flat);
  if (flat) {
    PoreEdit->SetText(Fixed(S->Pore));
    RoughEdit->SetText(Fixed(S->Rough));
    PoreCheckBox->SetChecked(Model->IsRefined(h, p, 0, 25));
    RoughCheckBox->SetChecked(Model->IsRefined(h, p, 0, 26));
  }
  ShowBroadening(S->BroadeningModel, *S);
  FLoading = false;
  FDirty = H->Profile != ProfileComboBox->ItemIndex() + 1;
}

bool TFormSample::SaveSample() {
  const int h = ShownHistogram(), p = ShownPhase();
  THistogram* H = Model ? Model->Histogram(h) : nullptr;
  TSample* S = Model ? Model->FindSample(h, p) : nullptr;
  if (!H || !S) return true;
  const int profile = ProfileComboBox->ItemIndex() + 1;
  const bool flat = ComboBoxAbsorption->ItemIndex() == 1;
  const int broadening = std::clamp(cbBroadening->ItemIndex(), 0, 4);
  // Every number of the page is read into a copy first; a refused one stops the save.
  TPageFields f;
  TSample s = *S;
  const float mu = f.Real(AbsorptionEdit->Text(), "m:");
  s.U = f.Real(UEdit->Text(), LabelU->Caption());
  s.V = f.Real(VEdit->Text(), LabelV->Caption());
  s.W = f.Real(WEdit->Text(), LabelW->Caption());
  s.Uaniso = f.Real(UanisoEdit->Text(), "Uaniso:");
  s.PO = f.Real(POEdit->Text(), "PO Value:");
  s.Asym1 = f.Real(Asym1Edit->Text(), LabelAsym1->Caption());
  s.Asym2 = f.Real(Asym2Edit->Text(), "D/L:");
  s.Gam0 = f.Real(L1Edit->Text(), LabelL1->Caption());
  s.Gam1 = f.Real(L2Edit->Text(), LabelL2->Caption());
  s.Gam2 = f.Real(L3Edit->Text(), LabelL3->Caption());
  s.Extinction = f.Real(ExtEdit->Text(), "Extinction:");
  s.UH = f.Real(UHEdit->Text(), "AHKL h:");
  s.UK = f.Real(UKEdit->Text(), "AHKL k:");
  s.UL = f.Real(ULEdit->Text(), "AHKL l:");
  s.POH = f.Real(POHEdit->Text(), "PO HKL h:");
  s.POK = f.Real(POKEdit->Text(), "PO HKL k:");
  s.POL = f.Real(POLEdit->Text(), "PO HKL l:");
  s.AbsorptionR = f.Real(REdit->Text(), LabelR->Caption());
  if (flat) {
    s.Pore = f.Real(PoreEdit->Text(), "Pore:");
    s.Rough = f.Real(RoughEdit->Text(), "Rough:");
  }
  if (profile == 7) {
    s.TOFAlpha1 = f.Real(a0Edit->Text(), "a 0:");
    s.TOFAlpha2 = f.Real(a1edit->Text(), "a 1:");
    s.TOFBeta1 = f.Real(b0edit->Text(), "b 0:");
    s.TOFBeta2 = f.Real(b1edit->Text(), "b 1:");
  }
  s.BroadeningModel = broadening;
  if (broadening == bmDislocation) {
    for (int r = 0; r < s.DislocationCount && r < MaxDislocationRows; ++r) {
      const std::string row = "Dislocation row " + std::to_string(r + 1);
      for (int k = 0; k < 3; ++k) {
        s.DislocationHKL1[r][k] = f.Int(GridCell(sgDislocation, k, r), row + ":");
        s.DislocationHKL2[r][k] = f.Int(GridCell(sgDislocation, 3 + k, r), row + ":");
        s.DislocationHKL3[r][k] = f.Int(GridCell(sgDislocation, 6 + k, r), row + ":");
      }
      s.DislocationValue1[r] = f.Real(GridCell(sgDislocation, 9, r), row + ":");
      s.DislocationValue2[r] = f.Real(GridCell(sgDislocation, 10, r), row + ":");
    }
    for (int i = 0; i < 3; ++i) {
      s.GausDis[i] = f.Real(ProbEdits[2 * i]->Text(), "Gaus Dis " + std::to_string(i + 1) + ":");
      s.LorDis[i] = f.Real(ProbEdits[2 * i + 1]->Text(), "Lor Dis " + std::to_string(i + 1) + ":");
    }
  }
  if (!f.Check()) return false;

  TParameterList& P = Model->Parameters;
  H->Profile = profile;
  H->Absorption = mu;
  *S = s;
  const std::pair<TCheckBox*, int> boxes[] = {{UCheckBox, 3},       {VCheckBox, 4},   {WCheckBox, 5},
                                              {UanisoCheckBox, 19}, {L1CheckBox, 15}, {L2CheckBox, 16},
                                              {L3CheckBox, 17},     {POCheckBox, 12}, {RCheckBox, 13},
                                              {Asym1CheckBox, 14},  {ExtCheckBox, 18}};
  for (auto [box, type] : boxes) P.SetRefined(h, p, 0, type, box->Checked());
  H->AbsorptionModel = flat ? 1 : 0;
  if (flat) {
    P.SetRefined(h, p, 0, 25, PoreCheckBox->Checked());
    P.SetRefined(h, p, 0, 26, RoughCheckBox->Checked());
  }
  P.SetRefined(h, p, 0, 20, profile == 6 && Asym2CheckBox->Checked());
  const std::pair<TCheckBox*, int> tof[] = {{CheckBoxa0, 21}, {CheckBoxa1, 22}, {CheckBoxb0, 23}, {CheckBoxb1, 24}};
  for (auto [box, type] : tof) P.SetRefined(h, p, 0, type, profile == 7 && box->Checked());
  if (broadening == bmDislocation)
    for (int i = 0; i < 6; ++i) P.SetRefined(h, p, 0, 28 + i, ProbChecks[i]->Checked());
  ModelChanged = true;
  FDirty = false;
  return true;
}

bool TFormSample::LeavePage(bool AskAlways) {
  if (!FDirty) return true;
  if (!AskAlways && AcceptChanges) return SaveSample();
  switch (MessageDlg("Keep Changes?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes:
      return SaveSample();
    case mrNo:
      FDirty = false;
      return true;
    default:
      return false;
  }
}

void TFormSample::TabChanging(bool HistogramRow, bool& AllowChange) {
  if (FLoading) return;
  const bool wasDirty = FDirty;
  AllowChange = LeavePage(false);
  // A page given up goes back to the shown histogram's profile (and absorption).
  if (AllowChange && wasDirty && !FDirty) {
    if (THistogram* H = Model->Histogram(ShownHistogram())) {
      FLoading = true;
      ProfileComboBox->SetItemIndex(std::clamp(H->Profile - 1, 0, 6));
      if (HistogramRow) ComboBoxAbsorption->SetItemIndex(std::clamp(H->AbsorptionModel, 0, 1));
      FLoading = false;
    }
  }
}

void TFormSample::TabChange(bool HistogramRow) {
  if (FLoading) return;
  if (THistogram* H = Model->Histogram(ShownHistogram())) {
    FLoading = true;
    ComboBoxAbsorption->SetItemIndex(std::clamp(H->AbsorptionModel, 0, 1));
    if (HistogramRow) ProfileComboBox->SetItemIndex(std::clamp(H->Profile - 1, 0, 6));
    FLoading = false;
  }
  UpdateSample();
}

void TFormSample::ProfileComboBoxChange(TObject*) {
  if (!FLoading) SetShape();
}

void TFormSample::ComboBoxAbsorptionChange(TObject*) {
  if (FLoading) return;
  UpdateSample();
  DirtySample(this);
}

void TFormSample::cbBroadeningChange(TObject*) {
  if (FLoading) return;
  // The chosen model stays in the page until it is saved.
  TSample* S = Model->FindSample(ShownHistogram(), ShownPhase());
  if (!S) return;
  FLoading = true;
  ShowBroadening(cbBroadening->ItemIndex(), *S);
  FLoading = false;
  DirtySample(this);
}

void TFormSample::Button1Click(TObject*) {
  if (!SaveSample()) return;
  Close();
}

void TFormSample::FormCloseQuery(TObject*, bool& CanClose) { CanClose = LeavePage(true); }

void TFormSample::PopupMenu1Popup(TObject*) {
  UsePhase1->Clear();
  for (int ph = 1; Model && ph <= Model->PhaseCount(); ++ph) {
    auto* item = new TTBItem(UsePhase1);
    item->SetName("Phase" + std::to_string(ph));
    item->SetCaption("Phase " + std::to_string(ph));
    item->SetOnClick([this, ph](TObject*) { UsePhaseClick(ph); });
    UsePhase1->Add(item);
  }
}

void TFormSample::UseInstrumentClick(int i) {
  const TInstrument& preset = Instruments[i];
  ProfileComboBox->SetItemIndex(std::clamp(preset.Profile, 0, 6));
  SetShape();
  UEdit->SetText(Fixed(static_cast<float>(preset.U)));
  VEdit->SetText(Fixed(static_cast<float>(preset.V)));
  WEdit->SetText(Fixed(static_cast<float>(preset.W)));
  Asym1Edit->SetText(Fixed(static_cast<float>(preset.Asym1)));
  Asym2Edit->SetText(Fixed(static_cast<float>(preset.Asym2)));
  L1Edit->SetText(Fixed(static_cast<float>(preset.gamma)));
  L2Edit->SetText(Fixed(0));
  L3Edit->SetText(Fixed(0));
}

void TFormSample::UsePhaseClick(int ph) {
  if (TSample* S = Model->FindSample(ShownHistogram(), ph)) ShowValues(*S);
}

void TFormSample::Button4Click(TObject*) {
  THistogram* H = Model ? Model->Histogram(ShownHistogram()) : nullptr;
  if (!H || !FormPeak) return;
  FormPeak->Show();
  FormPeak->Series1->RemoveAllPoints();
  FormPeak->Series3->RemoveAllPoints();
  const float u = TextToReal(UEdit->Text()), v = TextToReal(VEdit->Text()), w = TextToReal(WEdit->Text());
  const float g0 = TextToReal(L1Edit->Text()), g1 = TextToReal(L2Edit->Text()), g2 = TextToReal(L3Edit->Text());
  const float step = (H->Stop - H->Start) / 100;
  const int profile = ProfileComboBox->ItemIndex() + 1;
  for (int i = 1; i <= 101; ++i) {
    const float x = H->Start + static_cast<float>(i - 1) * step;
    float t = 0;
    if (H->Job < 4)
      t = std::tan(x * static_cast<float>(M_PI) / 360);
    else if (H->Job == 4 || H->Job == 5)
      t = x / (H->Wavelength1 != 0 ? H->Wavelength1 : 0.01f);
    const float g = GaussianWidth(profile, u, v, w, t);
    const float l = profile == 7 ? g0 : LorentzianTerm(profile, g0, g1, g2, t);
    float fwhm = g, eta = l;
    if (profile == 3 || profile == 5 || profile == 7) {
      fwhm = TCHWidth(g, l);
      eta = fwhm != 0 ? TCHMixing(l / fwhm) : 0.0f;
    }
    if (!std::isfinite(fwhm) || !std::isfinite(eta)) {
      ShowMessage("Opps...");
      break;
    }
    FormPeak->Series1->AddXYPoint(x, fwhm);
    FormPeak->Series3->AddXYPoint(x, eta);
  }
  FormPeak->Chart1->Invalidate();
  FormPeak->SetValues(profile, u, v, w, g0, g1, g2);
}
