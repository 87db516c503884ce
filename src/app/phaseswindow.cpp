#include "app/phaseswindow.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/mainlink.h"
#include "app/popupmenus.h"
#include "app/periodictable.h"
#include "app/positionsaver.h"
#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/rtl/format.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"

TPhaseForm* PhaseForm = nullptr;

ZV_CLASS_IMPL_NOPROPS(TPhaseForm, TForm)

namespace {

constexpr int kColumns = 26;
const char* const kHeaders[kColumns] = {"#",  "Mult", "Name", "Type", "x",   "", "y",   "", "z",   "", "B",   "", "n",
                                        "",   "B11", "",     "B22",  "",    "B33", "", "B12", "", "B13", "", "B23", ""};
const char* const kLatticeNames[8] = {"Triclinic",    "Monoclinic",    "Orthorhombic", "Tetragonal",
                                      "Trigonal[Rh]", "Trigonal[Hex]", "Hexagonal",    "Cubic"};

// Column of atom value type t (1 .. 11) and of its vary box.
int ValueColumn(int t) { return 2 * t + 2; }
bool IsValueColumn(int c) { return c >= 4 && c % 2 == 0; }

std::string Trimmed(const std::string& s) { return std::string(TrimView(s)); }

// A number typed into a page: the trimmed text as a single.
bool ParseNumber(const std::string& text, float& value) { return TryTextToReal(Trimmed(text), value); }

// The message for a field that does not hold a number.
std::string NotANumber(const std::string& field, const std::string& text) {
  const std::string t = Trimmed(text);
  if (t.empty()) return "Please enter a number for " + field + ".";
  return "\"" + t + "\" is not a number: please correct " + field + ".";
}

TLabel* AddLabel(TForm* form, TWinControl* parent, const std::string& caption, int x, int y) {
  auto* l = new TLabel(form);
  l->SetParent(parent);
  l->SetCaption(caption);
  l->SetLeft(x);
  l->SetTop(y);
  return l;
}

TEdit* AddEdit(TForm* form, TWinControl* parent, const std::string& name, int x, int y, int w) {
  auto* e = new TEdit(form);
  e->SetName(name);
  e->SetParent(parent);
  e->SetBounds(x, y, w, 22);
  return e;
}

TCheckBox* AddBox(TForm* form, TWinControl* parent, const std::string& name, int x, int y) {
  auto* b = new TCheckBox(form);
  b->SetName(name);
  b->SetParent(parent);
  b->SetCaption("");
  b->SetBounds(x, y, 18, 18);
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// The window

TPhaseForm::TPhaseForm(TComponent* AOwner) : TForm(AOwner), FAtomClipboard(std::make_unique<TAtom>()) {
  SetName("PhaseForm");
  SetCaption("Phases");
  SetClientWidth(760);
  SetClientHeight(440);
  SetKeyPreview(true);

  TabControl1 = new TTabControl(this);
  TabControl1->SetName("TabControl1");
  TabControl1->SetParent(this);
  TabControl1->SetBounds(4, 4, 752, 394);
  TabControl1->OnChanging = [this](TObject* s, bool& a) { TabControl1Changing(s, a); };
  TabControl1->OnChange = [this](TObject* s) { TabControl1Change(s); };
  TWinControl* page = TabControl1;
  const int top = 30;

  AddLabel(this, page, "Title", 10, top + 4);
  PhaseTitleEdit = AddEdit(this, page, "PhaseTitleEdit", 60, top, 330);
  AddLabel(this, page, "Method", 404, top + 4);
  cbCalcMethod = new TComboBox(this);
  cbCalcMethod->SetName("cbCalcMethod");
  cbCalcMethod->SetParent(page);
  cbCalcMethod->SetStyle(csDropDownList);
  cbCalcMethod->SetBounds(456, top, 100, 22);
  cbCalcMethod->Items()->Add("Normal");
  cbCalcMethod->Items()->Add("Le Bail");
  cbCalcMethod->SetItemIndex(0);
  cbRecycle = new TCheckBox(this);
  cbRecycle->SetName("cbRecycle");
  cbRecycle->SetParent(page);
  cbRecycle->SetCaption("Recycle");
  cbRecycle->SetBounds(570, top + 2, 80, 18);
  cbRecycle->SetVisible(false);

  AddLabel(this, page, "Space group", 10, top + 34);
  SpaceGroupEdit = new TComboBox(this);
  SpaceGroupEdit->SetName("SpaceGroupEdit");
  SpaceGroupEdit->SetParent(page);
  SpaceGroupEdit->SetBounds(90, top + 30, 130, 22);
  SpaceGroupEdit->SetDropDownCount(16);
  SGLabel = AddLabel(this, page, "Triclinic", 230, top + 34);
  AddLabel(this, page, "General multiplicity:", 340, top + 34);
  lbMult = AddLabel(this, page, "1", 470, top + 34);
  AddLabel(this, page, "Z", 520, top + 34);
  ZEdit = AddEdit(this, page, "ZEdit", 536, top + 30, 50);

  // The cell: a label, an edit and its vary box per value.
  const char* cellNames[6] = {"a", "b", "c", "alpha", "beta", "gamma"};
  TEdit** edits[6] = {&aEdit, &bEdit, &cEdit, &alphaEdit, &betaEdit, &gammaEdit};
  TCheckBox** boxes[6] = {&aCheckBox, &bCheckBox, &cCheckBox, &alphaCheckBox, &betaCheckBox, &gammaCheckBox};
  for (int i = 0; i < 6; ++i) {
    const int x = 10 + i * 122;
    AddLabel(this, page, cellNames[i], x, top + 64);
    *edits[i] = AddEdit(this, page, std::string(cellNames[i]) + "Edit", x, top + 80, 90);
    *boxes[i] = AddBox(this, page, std::string(cellNames[i]) + "CheckBox", x + 94, top + 82);
  }
  AddLabel(this, page, "Phase scale", 10, top + 110);
  PhaseScaleEdit = AddEdit(this, page, "PhaseScaleEdit", 10, top + 126, 110);
  PhaseScaleCheckBox = AddBox(this, page, "PhaseScaleCheckBox", 124, top + 128);
  AddLabel(this, page, "Overall B", 154, top + 110);
  IsoThermalEdit = AddEdit(this, page, "IsoThermalEdit", 154, top + 126, 90);
  IsoThermalCheckBox = AddBox(this, page, "IsoThermalCheckBox", 248, top + 128);

  CreateAtomGrid(page);
  for (int c = 0; c < kColumns; ++c) SetGridCell(c, 0, kHeaders[c]);

  ButtonOK = new TButton(this);
  ButtonOK->SetName("ButtonOK");
  ButtonOK->SetParent(this);
  ButtonOK->SetCaption("OK");
  ButtonOK->SetBounds(500, 408, 75, 25);
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonCancel = new TButton(this);
  ButtonCancel->SetName("ButtonCancel");
  ButtonCancel->SetParent(this);
  ButtonCancel->SetCaption("Cancel");
  ButtonCancel->SetBounds(586, 408, 75, 25);
  ButtonCancel->OnClick = [this](TObject* s) { ButtonCancelClick(s); };
  ButtonHelp = new TButton(this);
  ButtonHelp->SetName("ButtonHelp");
  ButtonHelp->SetParent(this);
  ButtonHelp->SetCaption("Help");
  ButtonHelp->SetBounds(672, 408, 75, 25);
  ButtonHelp->OnClick = [this](TObject* s) { ButtonHelpClick(s); };

  OpenDialog1 = new TOpenDialog(this);
  SaveDialog1 = new TSaveDialog(this);

  // Change handlers.
  for (TEdit* e : {PhaseTitleEdit, ZEdit, bEdit, cEdit, betaEdit, gammaEdit, PhaseScaleEdit, IsoThermalEdit})
    e->OnChange = [this](TObject* s) { DirtyPhase(s); };
  aEdit->OnChange = [this](TObject* s) { aEditChange(s); };
  alphaEdit->OnChange = [this](TObject* s) { aEditChange(s); };
  for (TCheckBox* b : {aCheckBox, bCheckBox, cCheckBox, alphaCheckBox, betaCheckBox, gammaCheckBox,
                       PhaseScaleCheckBox, IsoThermalCheckBox, cbRecycle})
    b->OnClick = [this](TObject* s) { DirtyPhase(s); };
  SpaceGroupEdit->OnChange = [this](TObject* s) { SpaceGroupEditChange(s); };
  SpaceGroupEdit->OnSelect = [this](TObject* s) { SpaceGroupEditChange(s); };
  SpaceGroupEdit->OnKeyPress = [this](TObject* s, char& k) { SpaceGroupEditKeyPress(s, k); };
  cbCalcMethod->OnChange = [this](TObject* s) { cbCalcMethodChange(s); };

  // The tab row's menu.
  PopupMenu2 = NewDockPopupMenu(this, [this](TObject* s) { PopupMenu2Popup(s); });
  AddPopupItem(PopupMenu2, "Cut", nullptr);
  AddPopupItem(PopupMenu2, "Copy", nullptr);
  AddPopupItem(PopupMenu2, "Paste", nullptr);
  AddPopupSeparator(PopupMenu2);
  New1 = AddPopupItem(PopupMenu2, "New", [this](TObject* s) { New1Click(s); });
  Clear1 = AddPopupItem(PopupMenu2, "Clear", [this](TObject* s) { Clear1Click(s); });
  Delete1 = AddPopupItem(PopupMenu2, "Delete", [this](TObject* s) { Delete1Click(s); });
  AddPopupSeparator(PopupMenu2);
  AddtoDatabase1 = AddPopupItem(PopupMenu2, "Add to Database", [this](TObject* s) { AddtoDatabase1Click(s); });
  SelectfromDatabase1 =
      AddPopupItem(PopupMenu2, "Select from Database", [this](TObject* s) { SelectfromDatabase1Click(s); });
  ReadfromInputfile1 =
      AddPopupItem(PopupMenu2, "Read Phase from Input file", [this](TObject* s) { ReadfromInputfile1Click(s); });
  ReadPhasefromCIFFile1 =
      AddPopupItem(PopupMenu2, "Read Phase from CIF File", [this](TObject* s) { ReadPhasefromCIFFile1Click(s); });
  TabControl1->SetPopupMenu(PopupMenu2);

  // The atom grid's menu.
  PopupMenu1 = NewDockPopupMenu(this, nullptr);
  AddPopupItem(PopupMenu1, "Cut", [this](TObject* s) { Cut1Click(s); });
  AddPopupItem(PopupMenu1, "Copy", [this](TObject* s) { Copy1Click(s); });
  AddPopupItem(PopupMenu1, "Paste", [this](TObject* s) { Paste1Click(s); });
  AddPopupSeparator(PopupMenu1);
  AddPopupItem(PopupMenu1, "Add Atom", [this](TObject* s) { AddAtom1Click(s); });
  AddPopupItem(PopupMenu1, "Delete Atom", [this](TObject* s) { DeleteAtom1Click(s); });
  AddPopupItem(PopupMenu1, "Set atom occupancy to full", [this](TObject* s) { SetOccupancyClick(s); });
  AddPopupItem(PopupMenu1, "Set all atoms to full occupancies", [this](TObject* s) { SetAllOccupanciesClick(s); });
  AddPopupItem(PopupMenu1, "Pick type from periodic table", [this](TObject* s) { PickElementClick(s); });
  AddPopupSeparator(PopupMenu1);
  AddPopupItem(PopupMenu1, "Read atoms from text file", [this](TObject* s) { ReadfromFile1Click(s); });
  AddPopupItem(PopupMenu1, "Read EXPO xyz file", [this](TObject* s) { ReadEXPOxyzfile1Click(s); });
  AddPopupItem(PopupMenu1, "Read from Excel file", [this](TObject* s) { ReadExcelClick(s); });
  AddPopupItem(PopupMenu1, "Save to Excel file", [this](TObject* s) { SavetoExcelfile1Click(s); });
  AddPopupSeparator(PopupMenu1);
  AddPopupItem(PopupMenu1, "XYZ transformation", [this](TObject* s) { XYZtransformation1Click(s); });
  SetGridPopup(PopupMenu1);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

TPhaseForm::~TPhaseForm() {
  if (PhaseForm == this) PhaseForm = nullptr;
  if (GetLastActiveControl() && GetLastActiveControl()->Owner() == this) SetLastActiveControl(nullptr);
}

int TPhaseForm::CurrentPhase() const { return TabControl1->TabIndex() + 1; }

TEdit* TPhaseForm::CellEdit(int i) const {
  TEdit* const e[6] = {aEdit, bEdit, cEdit, alphaEdit, betaEdit, gammaEdit};
  return e[i];
}

TCheckBox* TPhaseForm::CellBox(int i) const {
  TCheckBox* const b[6] = {aCheckBox, bCheckBox, cCheckBox, alphaCheckBox, betaCheckBox, gammaCheckBox};
  return b[i];
}

void TPhaseForm::DirtyPhase(TObject*) {
  if (FLoading) return;
  FDirty = true;
  ModelChanged = true;
}

void TPhaseForm::RebuildTabs() {
  const int keep = TabControl1->TabIndex();
  TabControl1->Tabs()->Clear();
  const int n = Model ? Model->PhaseCount() : 0;
  for (int i = 1; i <= n; ++i) TabControl1->Tabs()->Add("Phase" + std::to_string(i));
  if (n > 0) TabControl1->SetTabIndex(std::clamp(keep, 0, n - 1));
  FShownTab = TabControl1->TabIndex();
}

void TPhaseForm::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  FLoading = true;
  SpaceGroupEdit->Items()->Clear();
  for (const std::string& s : SpaceGroupTable) SpaceGroupEdit->Items()->Add(s);
  RebuildTabs();
  const int widths[kColumns] = {40, 30, 50, 60};
  for (int c = 0; c < kColumns; ++c) SetGridColWidth(c, c < 4 ? widths[c] : (c % 2 == 0 ? 60 : 20));
  FillScatterSymbolList();
  if (Model)
    for (const auto& h : Model->Histograms)
      for (const auto& f : h->ScatterFactors.Items)
        if (ScatterSymbols->IndexOf(f->Symbol) < 0) ScatterSymbols->Add(f->Symbol);
  ScatterSymbols->Sort();
  SetTypeChoices(*ScatterSymbols);
  FLoading = false;
  FPending.clear();
  UpdateForm();
  FDirty = false;
}

void TPhaseForm::UpdateForm() {
  TPhase* phase = Model ? Model->Phase(CurrentPhase()) : nullptr;
  if (!phase) return;
  const int p = CurrentPhase();
  FLoading = true;
  FPending.clear();
  PhaseTitleEdit->SetText(phase->Title);
  cbCalcMethod->SetItemIndex(phase->CalcMethod == 1 ? 1 : 0);
  SpaceGroupEdit->SetText(UpperCase(phase->SpaceGroup));
  ZEdit->SetText(std::to_string(phase->Z));
  const float cell[6] = {phase->A, phase->B, phase->C, phase->Alpha, phase->Beta, phase->Gamma};
  for (int i = 0; i < 6; ++i) {
    CellEdit(i)->SetText(RealToStrFixed(cell[i], 8, 5));
    CellBox(i)->SetChecked(Model->IsRefined(0, p, 0, 6 + i));
  }
  PhaseScaleEdit->SetText(FloatToStrF(phase->Scale, ffGeneral, 7, 2));
  IsoThermalEdit->SetText(RealToStrFixed(phase->IsoThermal, 8, 5));
  PhaseScaleCheckBox->SetChecked(Model->IsRefined(0, p, 0, 1));
  IsoThermalCheckBox->SetChecked(Model->IsRefined(0, p, 0, 2));
  const bool leBail = phase->CalcMethod == 1;
  SetGridEnabled(!leBail);
  cbRecycle->SetVisible(leBail);
  cbRecycle->SetChecked(leBail && Model->RecycleLeBail == 1);

  const int n = phase->AtomCount();
  SetGridRowCount(std::max(n, 1) + 1);
  if (n == 0) {
    ClearGrid(1);
    SetRowOrigin(1, 0);
  }
  for (int a = 1; a <= n; ++a) {
    const TAtom* atom = phase->Atom(a);
    SetGridCell(0, a, std::to_string(a));
    SetGridCell(2, a, atom->Label);
    SetGridCell(3, a, atom->AtomType);
    for (int t = 1; t <= 11; ++t) {
      SetGridCell(ValueColumn(t), a, RealToStrFixed(*atom->Value(t), 7, 5));
      SetVaryCell(ValueColumn(t) + 1, a, Model->IsRefined(0, p, a, t));
    }
    SetRowOrigin(a, a);
  }
  FLoading = false;
  UpdateMult();
  UpdateSpaceGroup();
  FDirty = false;
}

void TPhaseForm::ClearGrid(int n) {
  SetGridCell(0, n, std::to_string(n));
  for (int c = 1; c < kColumns; ++c) {
    if (IsValueColumn(c - 1) && c >= 5)
      SetVaryCell(c, n, false);
    else
      SetGridCell(c, n, "");
  }
}

void TPhaseForm::UpdateSpaceGroup() {
  const std::string sg = SpaceGroupEdit->Text();
  const TSpaceGroupInfo info = SpaceGroupInfo(sg);
  SGLabel->SetCaption(info.CrystalClass < 8 ? kLatticeNames[info.CrystalClass] : "Unknown SG");
  lbMult->SetCaption(std::to_string(GeneralMultiplicity(sg)));
  UpdateMult();
  SetLattice(info.CrystalClass, info.AxisCode);
}

void TPhaseForm::SetLattice(int LatticeClass, int SecondCode) {
  FLatticeClass = LatticeClass;
  const bool loading = FLoading;
  FLoading = true;
  for (int i = 0; i < 6; ++i) {
    CellEdit(i)->SetEnabled(true);
    CellBox(i)->SetEnabled(true);
  }
  auto fix = [&](int i, const char* v) {
    CellEdit(i)->SetEnabled(false);
    CellEdit(i)->SetText(v);
    CellBox(i)->SetEnabled(false);
    CellBox(i)->SetChecked(false);
  };
  auto tie = [&](int i, int to) {
    CellEdit(i)->SetEnabled(false);
    CellEdit(i)->SetText(CellEdit(to)->Text());
    CellBox(i)->SetEnabled(false);
    CellBox(i)->SetChecked(false);
  };
  switch (LatticeClass) {
    case ccMonoclinic:
      if (SecondCode == 1) fix(4, "90.0"), fix(5, "90.0");
      if (SecondCode == 2) fix(3, "90.0"), fix(5, "90.0");
      if (SecondCode == 3) fix(3, "90.0"), fix(4, "90.0");
      break;
    case ccOrthorhombic: fix(3, "90.0"), fix(4, "90.0"), fix(5, "90.0"); break;
    case ccTetragonal: tie(1, 0), fix(3, "90.0"), fix(4, "90.0"), fix(5, "90.0"); break;
    case ccTrigonalRh: tie(1, 0), tie(2, 0), tie(4, 3), tie(5, 3); break;
    case ccTrigonalHex:
    case ccHexagonal: tie(1, 0), fix(3, "90.0"), fix(4, "90.0"), fix(5, "120.0"); break;
    case ccCubic: tie(1, 0), tie(2, 0), fix(3, "90.0"), fix(4, "90.0"), fix(5, "90.0"); break;
    default: break;
  }
  FLoading = loading;
}

void TPhaseForm::aEditChange(TObject* Sender) {
  // Tied values follow what they are tied to as it is typed.
  if (Sender == aEdit) {
    if (FLatticeClass == ccTetragonal || FLatticeClass == ccTrigonalHex || FLatticeClass == ccHexagonal)
      bEdit->SetText(aEdit->Text());
    if (FLatticeClass == ccTrigonalRh || FLatticeClass == ccCubic) {
      bEdit->SetText(aEdit->Text());
      cEdit->SetText(aEdit->Text());
    }
  } else if (Sender == alphaEdit && FLatticeClass == ccTrigonalRh) {
    betaEdit->SetText(alphaEdit->Text());
    gammaEdit->SetText(alphaEdit->Text());
  }
  DirtyPhase(Sender);
}

void TPhaseForm::UpdateMult() {
  const std::string sg = SpaceGroupEdit->Text();
  for (int r = 1; r < GridRowCount(); ++r) {
    float x = 0, y = 0, z = 0;
    const bool ok = ParseNumber(GridCell(4, r), x) && ParseNumber(GridCell(6, r), y) &&
                    ParseNumber(GridCell(8, r), z);
    SetGridCell(1, r, ok ? std::to_string(SiteMultiplicity(sg, x, y, z)) : "0");
  }
}

void TPhaseForm::SpaceGroupEditKeyPress(TObject*, char& Key) {
  if (Key != '\r') return;
  const std::string t = Trimmed(SpaceGroupEdit->Text());
  const bool whole = !t.empty() && t.size() <= 3 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int n = whole ? std::stoi(t) : 0;
  if (n >= 1 && n <= static_cast<int>(SpaceGroupTable.size())) SpaceGroupEdit->SetText(SpaceGroupTable[static_cast<std::size_t>(n - 1)]);
  SpaceGroupEditChange(SpaceGroupEdit);
}

void TPhaseForm::SpaceGroupEditChange(TObject* Sender) {
  DirtyPhase(Sender);
  UpdateSpaceGroup();
}

void TPhaseForm::cbCalcMethodChange(TObject* Sender) {
  DirtyPhase(Sender);
  const bool leBail = cbCalcMethod->ItemIndex() == 1;
  SetGridEnabled(!leBail);
  cbRecycle->SetVisible(leBail);
}

bool TPhaseForm::SaveChanges() {
  TPhase* phase = Model ? Model->Phase(CurrentPhase()) : nullptr;
  if (!phase) return false;
  const int p = CurrentPhase();
  const bool leBail = cbCalcMethod->ItemIndex() == 1;

  // Everything is checked before anything is stored.
  const char* cellNames[6] = {"a", "b", "c", "alpha", "beta", "gamma"};
  double cell[6] = {};
  for (int i = 0; i < 6; ++i)
    if (!TryColumnsToReal(CellEdit(i)->Text(), 1, 10, cell[i]) || !FitsSingle(cell[i])) {
      ShowMessage(NotANumber(cellNames[i], CellEdit(i)->Text()));
      return false;
    }
  double scale = 0, thermal = 0;
  if (!TryColumnsToReal(PhaseScaleEdit->Text(), 1, 15, scale) || !FitsSingle(scale)) {
    ShowMessage(NotANumber("the phase scale", PhaseScaleEdit->Text()));
    return false;
  }
  if (!leBail && (!TryColumnsToReal(IsoThermalEdit->Text(), 1, 10, thermal) || !FitsSingle(thermal))) {
    ShowMessage(NotANumber("the overall thermal factor", IsoThermalEdit->Text()));
    return false;
  }
  const std::string zText = Trimmed(ZEdit->Text());
  double zValue = 0;
  if (!TryTextToDouble(zText, zValue, false) || zValue != std::floor(zValue) || std::abs(zValue) > 1e6) {
    ShowMessage(NotANumber("Z", zText));
    return false;
  }
  struct TRowValues {
    int Row;
    std::array<float, 11> Values;
  };
  std::vector<TRowValues> rows;
  for (int r = 1; r < GridRowCount(); ++r) {
    bool empty = Trimmed(GridCell(2, r)).empty() && Trimmed(GridCell(3, r)).empty();
    for (int t = 1; t <= 11 && empty; ++t) empty = Trimmed(GridCell(ValueColumn(t), r)).empty();
    // A row without anything typed in it is no atom.
    if (empty) continue;
    TRowValues v{r, {}};
    for (int t = 1; t <= 11; ++t) {
      const std::string text = GridCell(ValueColumn(t), r);
      // The anisotropic values may be left empty (0); every other value must be a number.
      if (t >= 6 && Trimmed(text).empty()) continue;
      if (!ParseNumber(text, v.Values[static_cast<std::size_t>(t - 1)])) {
        ShowMessage(NotANumber(std::string(kHeaders[ValueColumn(t)]) + " of atom " + std::to_string(r) + " (" +
                                   Trimmed(GridCell(2, r)) + ")",
                               text));
        return false;
      }
    }
    rows.push_back(v);
  }

  TParameterList& list = Model->Parameters;
  phase->Title = PhaseTitleEdit->Text();
  phase->CalcMethod = leBail ? 1 : 0;
  phase->SpaceGroup = Utf8Left(UpperCase(SpaceGroupEdit->Text()), 20);
  phase->Z = static_cast<int>(zValue);
  phase->A = static_cast<float>(cell[0]);
  phase->B = static_cast<float>(cell[1]);
  phase->C = static_cast<float>(cell[2]);
  phase->Alpha = static_cast<float>(cell[3]);
  phase->Beta = static_cast<float>(cell[4]);
  phase->Gamma = static_cast<float>(cell[5]);
  phase->Scale = static_cast<float>(scale);
  if (leBail) {
    Model->RecycleLeBail = cbRecycle->Checked() ? 1 : 0;
    phase->IsoThermal = 0;
  } else {
    phase->IsoThermal = static_cast<float>(thermal);
  }
  list.SetRefined(0, p, 0, 1, PhaseScaleCheckBox->Checked());
  list.SetRefined(0, p, 0, 2, IsoThermalCheckBox->Checked());
  for (int i = 0; i < 6; ++i) list.SetRefined(0, p, 0, 6 + i, CellBox(i)->Checked());
  if (aCheckBox->Checked()) {
    auto tieToA = [&](int t) { list.AddConstraint(TParameter(0, p, 0, 6, 1), TParameter(0, p, 0, t, 1)); };
    if (FLatticeClass == ccTetragonal) tieToA(7);
    if (FLatticeClass == ccTrigonalHex || FLatticeClass == ccHexagonal) tieToA(7), tieToA(11);
    if (FLatticeClass == ccTrigonalRh || FLatticeClass == ccCubic) tieToA(7), tieToA(8);
  }

  // The atoms: references in the parameter list follow the rows they came
  // from, then the rows' boxes decide.
  const int oldCount = phase->AtomCount();
  std::vector<int> newNumbers(static_cast<std::size_t>(oldCount), 0);
  std::vector<int> rowAtom(static_cast<std::size_t>(GridRowCount()), 0);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int origin = RowOrigin(rows[k].Row);
    if (origin >= 1 && origin <= oldCount) newNumbers[static_cast<std::size_t>(origin - 1)] = static_cast<int>(k + 1);
    rowAtom[static_cast<std::size_t>(rows[k].Row)] = static_cast<int>(k + 1);
  }
  list.RenumberAtoms(p, newNumbers);
  phase->ClearAtoms();
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int r = rows[k].Row;
    const int a = static_cast<int>(k + 1);
    auto atom = std::make_unique<TAtom>();
    atom->Label = ToSymbol4(GridCell(2, r));
    atom->AtomType = ToSymbol4(GridCell(3, r));
    for (int t = 1; t <= 11; ++t) *atom->Value(t) = rows[k].Values[static_cast<std::size_t>(t - 1)];
    for (int t = 1; t <= 11; ++t) list.SetRefined(0, p, a, t, !leBail && CellChecked(ValueColumn(t) + 1, r));
    phase->AddAtom(std::move(atom));
  }
  const int newCount = phase->AtomCount();
  for (int a = newCount + 1; a <= oldCount; ++a)
    for (int t = 1; t <= 11; ++t) list.SetRefined(0, p, a, t, false);
  if (!leBail)
    for (const TPendingConstraint& c : FPending) {
      const int r1 = RowOfOrigin(c.FirstOrigin), r2 = RowOfOrigin(c.SecondOrigin);
      const int a1 = r1 > 0 ? rowAtom[static_cast<std::size_t>(r1)] : 0, a2 = r2 > 0 ? rowAtom[static_cast<std::size_t>(r2)] : 0;
      if (a1 == 0 || a2 == 0) continue;
      TParameter second(0, p, a2, c.SecondType, 1);
      second.Multiplier = c.Factor;
      list.AddConstraint(TParameter(0, p, a1, c.FirstType, 1), second);
    }
  FPending.clear();
  // The rows now stand for the atoms they were saved as.
  for (int r = 1; r < GridRowCount(); ++r) {
    const int a = rowAtom[static_cast<std::size_t>(r)];
    SetRowOrigin(r, a);
  }
  ModelChanged = true;
  FDirty = false;
  MainUpdateForm();
  return true;
}

bool TPhaseForm::LeavePage(bool AlwaysAsk) {
  if (!FDirty) return true;
  int answer = IDYES;
  if (AlwaysAsk || !AcceptChanges) answer = MessageDlg("Keep Changes?", mtConfirmation, {mbYes, mbNo, mbCancel});
  if (answer == mrYes || answer == IDYES) return SaveChanges();
  if (answer == mrNo || answer == IDNO) {
    FDirty = false;
    FPending.clear();
    return true;
  }
  return false;
}

void TPhaseForm::TabControl1Changing(TObject*, bool& AllowChange) { AllowChange = LeavePage(false); }

void TPhaseForm::TabControl1Change(TObject*) {
  FShownTab = TabControl1->TabIndex();
  UpdateForm();
}

void TPhaseForm::FormCloseQuery(TObject*, bool& CanClose) { CanClose = LeavePage(true); }

void TPhaseForm::FormClose(TObject*, TCloseAction&) {
  if (GetLastActiveControl() && GetLastActiveControl()->Owner() == this) SetLastActiveControl(nullptr);
}

void TPhaseForm::FormDeactivate(TObject*) { SetLastActiveControl(ActiveControl()); }

void TPhaseForm::ButtonOKClick(TObject*) {
  if (SpaceGroupInfo(SpaceGroupEdit->Text()).CrystalClass == ccUnknown) {
    ShowMessage("Please enter a valid space group");
    return;
  }
  if (!SaveChanges()) return;
  Close();
}

void TPhaseForm::ButtonCancelClick(TObject*) {
  FDirty = false;
  FPending.clear();
  Hide();
}

void TPhaseForm::ButtonHelpClick(TObject*) {
  // The help topic "Refinement"; there is no help viewer.
}

void TPhaseForm::AtomGridKeyDown(TObject*, uint16_t&, TShiftState) { FDirty = true; }

void TPhaseForm::AtomGridMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  int c = -1, r = -1;
  GridMouseToCell(X, Y, c, r);
  if (r < 1 || !IsValueColumn(c) || !CellChecked(c + 1, r)) return;
  FDragCol = c;
  FDragRow = r;
  BeginGridDrag();
}

void TPhaseForm::AtomGridDragOver(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept) {
  int c = -1, r = -1;
  GridMouseToCell(X, Y, c, r);
  Accept = IsStringGrid(Source) && r >= 1 && IsValueColumn(c) && CellChecked(c + 1, r);
  if (Accept) FDirty = true;
}

void TPhaseForm::AtomGridDragDrop(TObject*, TObject*, int X, int Y) {
  int c = -1, r = -1;
  GridMouseToCell(X, Y, c, r);
  if (r < 1 || !IsValueColumn(c) || FDragRow < 1 || !IsValueColumn(FDragCol)) return;
  const std::string prompt = GridCell(2, r) + " ( " + GridCell(c, 0) + " )  =  " +
                             GridCell(2, FDragRow) + " ( " + GridCell(FDragCol, 0) + " ) *   ";
  std::string factor = "1.0";
  if (!InputQuery("Atomic Constraints", prompt, factor)) return;
  FPending.push_back({RowOrigin(FDragRow), (FDragCol - 2) / 2, RowOrigin(r), (c - 2) / 2,
                      TextToReal(factor)});
  FDirty = true;
}

void TPhaseForm::PopupMenu2Popup(TObject*) {
  const int tabs = TabControl1->Tabs()->Count();
  New1->SetEnabled(tabs < 8);
  ReadfromInputfile1->SetEnabled(tabs < 8);
  ReadPhasefromCIFFile1->SetEnabled(tabs < 8);
  Delete1->SetEnabled(tabs > 1);
}

void TPhaseForm::New1Click(TObject*) {
  if (!Model || !LeavePage(false)) return;
  Model->NewPhase();
  RebuildTabs();
  TabControl1->SetTabIndex(Model->PhaseCount() - 1);
  FShownTab = TabControl1->TabIndex();
  ModelChanged = true;
  UpdateForm();
}

void TPhaseForm::Clear1Click(TObject*) {
  FLoading = true;
  PhaseTitleEdit->SetText("");
  SpaceGroupEdit->SetText("P 1");
  ZEdit->SetText("1");
  for (int i = 0; i < 6; ++i) CellEdit(i)->SetText(i < 3 ? "3.8" : "90.0");
  PhaseScaleEdit->SetText("0.0");
  IsoThermalEdit->SetText("0.0");
  SetGridRowCount(2);
  ClearGrid(1);
  SetRowOrigin(1, 0);
  FLoading = false;
  UpdateSpaceGroup();
  DirtyPhase(this);
}

void TPhaseForm::Delete1Click(TObject*) { DeletePhase(CurrentPhase()); }

void TPhaseForm::DeletePhase(int n) {
  if (Model && Model->PhaseCount() > 1) {
    Model->DeletePhase(n);
    RebuildTabs();
    UpdateForm();
    ModelChanged = true;
  }
  FDirty = true;
}

void TPhaseForm::Copy1Click(TObject*) {
  const int r = GridRow();
  if (r < 1) return;
  FAtomClipboard->Label = ToSymbol4(GridCell(2, r));
  FAtomClipboard->AtomType = ToSymbol4(GridCell(3, r));
  for (int t = 1; t <= 11; ++t) {
    float v = 0;
    if (ParseNumber(GridCell(ValueColumn(t), r), v)) *FAtomClipboard->Value(t) = v;
  }
  CopyGridToClipboard();
}

void TPhaseForm::Cut1Click(TObject* Sender) {
  Copy1Click(Sender);
  DeleteAtom1Click(Sender);
}

void TPhaseForm::Paste1Click(TObject*) {
  const int r = GridRow();
  if (r < 1) return;
  SetGridCell(2, r, FAtomClipboard->Label);
  SetGridCell(3, r, FAtomClipboard->AtomType);
  for (int t = 1; t <= 11; ++t) SetGridCell(ValueColumn(t), r, RealToStrFixed(*FAtomClipboard->Value(t), 7, 5));
  FDirty = true;
}

void TPhaseForm::AddAtom1Click(TObject*) {
  SetGridRowCount(GridRowCount() + 1);
  ClearGrid(GridRowCount() - 1);
  FDirty = true;
}

void TPhaseForm::DeleteAtom1Click(TObject*) {
  const int r = GridRow();
  if (r < 1 || r >= GridRowCount()) return;
  if (GridRowCount() <= 2) {
    // The last row stays, empty, for the next atom.
    ClearGrid(1);
    SetRowOrigin(1, 0);
  } else {
    GridRemoveRow(r);
    for (int i = 1; i < GridRowCount(); ++i) SetGridCell(0, i, std::to_string(i));
  }
  FDirty = true;
}

void TPhaseForm::SetRowOccupancy(int ARow) {
  const int general = TextToInt(lbMult->Caption());
  const int site = TextToInt(GridCell(1, ARow));
  SetGridCell(12, ARow, general == 0 ? "0.0" : RealToStrFixed(static_cast<double>(site) / general, 7, 5));
}

void TPhaseForm::SetOccupancyClick(TObject*) {
  UpdateMult();
  if (GridRow() >= 1) SetRowOccupancy(GridRow());
  FDirty = true;
}

void TPhaseForm::SetAllOccupanciesClick(TObject*) {
  UpdateMult();
  for (int r = 1; r < GridRowCount(); ++r) SetRowOccupancy(r);
  FDirty = true;
}

void TPhaseForm::PickElementClick(TObject*) {
  const int r = GridRow();
  if (!FormPeriodicTable || r < 1 || !GridEnabled()) return;
  // The type's element: its leading letters ("FE3+" is iron).
  std::string type = Trimmed(GridCell(3, r));
  std::size_t n = 0;
  while (n < type.size() && n < 2 && std::isalpha(static_cast<unsigned char>(type[n]))) ++n;
  FormPeriodicTable->SelectElement(type.substr(0, n));
  if (FormPeriodicTable->ShowModal() != mrOk) return;
  const std::string symbol = FormPeriodicTable->SelectedElement();
  if (symbol.empty()) return;
  SetGridCell(3, r, UpperCase(symbol));
  FDirty = true;
}

void TPhaseForm::PrepareImportDialog(const std::string& Filter, const std::string& Ext) {
  OpenDialog1->Filter = Filter;
  OpenDialog1->DefaultExt = Ext;
  OpenDialog1->FileName.clear();
  if (InputFileName.empty() && DataFileName.empty()) OpenDialog1->InitialDir = StartUpDirectory;
}
