#include "app/periodictable.h"

#include <array>

#include "grid/plusgrid.h"
#include "platform/rtl/strutils.h"

TFormPeriodicTable* FormPeriodicTable = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormPeriodicTable, TForm)

namespace {

constexpr int kCols = 18, kRows = 10;

// Rows 0 to 6 are the periods; row 7 stays empty; rows 8 and 9 hold the
// lanthanides and actinides from column 2 on. Blank: no element.
const std::array<std::array<const char*, kCols>, kRows> kTable = {{
    {"H", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "He"},
    {"Li", "Be", "", "", "", "", "", "", "", "", "", "", "B", "C", "N", "O", "F", "Ne"},
    {"Na", "Mg", "", "", "", "", "", "", "", "", "", "", "Al", "Si", "P", "S", "Cl", "Ar"},
    {"K", "Ca", "Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr"},
    {"Rb", "Sr", "Y", "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I", "Xe"},
    {"Cs", "Ba", "La", "Hf", "Ta", "W", "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn"},
    {"Fr", "Ra", "Ac", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
    {"", "", "", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", ""},
    {"", "", "", "Th", "Pa", "U", "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", ""},
}};

}  // namespace

std::string PeriodicTableSymbol(int Col, int Row) {
  if (Col < 0 || Col >= kCols || Row < 0 || Row >= kRows) return "";
  return kTable[static_cast<std::size_t>(Row)][static_cast<std::size_t>(Col)];
}

TFormPeriodicTable::TFormPeriodicTable(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormPeriodicTable");
  SetCaption("Periodic Table");
  SetBorderStyle(bsDialog);
  SetClientWidth(kCols * 36 + 20);
  SetClientHeight(kRows * 31 + 90);
  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetCaption("");
  Panel1->SetBounds(0, 0, ClientWidth(), 30);
  pgrid = new TPlusStringGrid(this);
  pgrid->SetName("pgrid");
  pgrid->SetParent(this);
  pgrid->SetColCount(kCols);
  pgrid->SetRowCount(kRows);
  pgrid->SetFixedCols(0);
  pgrid->SetFixedRows(0);
  pgrid->SetDefaultColWidth(35);
  pgrid->SetDefaultRowHeight(30);
  pgrid->SetGridLineColor(clSilver);
  pgrid->SetEnableHTML(true);
  pgrid->SetLook(glXP);
  pgrid->Bands()->SetPrimaryColor(clInfoBk);
  pgrid->SetScrollBars(ssNone);
  pgrid->SetBounds(10, 36, kCols * 36 + 2, kRows * 31 + 2);
  ButtonOk = new TButton(this);
  ButtonOk->SetParent(this);
  ButtonOk->SetCaption("Ok");
  ButtonOk->SetModalResult(mrOk);
  ButtonOk->SetDefault(true);
  ButtonOk->SetBounds(ClientWidth() - 170, ClientHeight() - 38, 75, 25);
  ButtonCancel = new TButton(this);
  ButtonCancel->SetParent(this);
  ButtonCancel->SetCaption("Cancel");
  ButtonCancel->SetModalResult(mrCancel);
  ButtonCancel->SetCancel(true);
  ButtonCancel->SetBounds(ClientWidth() - 85, ClientHeight() - 38, 75, 25);
  OnShow = [this](TObject* s) { FormShow(s); };
}

TFormPeriodicTable::~TFormPeriodicTable() {
  if (FormPeriodicTable == this) FormPeriodicTable = nullptr;
}

void TFormPeriodicTable::FormShow(TObject*) {
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) pgrid->SetCells(c, r, PeriodicTableSymbol(c, r));
}

std::string TFormPeriodicTable::CellText(int ACol, int ARow) { return pgrid->Cells(ACol, ARow); }

std::string TFormPeriodicTable::SelectedElement() { return Trim(pgrid->Cells(pgrid->Col(), pgrid->Row())); }

bool TFormPeriodicTable::SelectElement(const std::string& Symbol) {
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c)
      if (!Symbol.empty() && SameText(PeriodicTableSymbol(c, r), Symbol)) {
        pgrid->SetCol(c);
        pgrid->SetRow(r);
        return true;
      }
  return false;
}
