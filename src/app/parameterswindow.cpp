// The parameters window and its grid (the rows come from parameterstable.cpp).
#include "app/parameterswindow.h"

#include <algorithm>

#include "app/mainlink.h"
#include "app/positionsaver.h"
#include "grid/plusgrid.h"
#include "platform/rtl/format.h"
#include "platform/ui/radio.h"

TFormParameters* FormParameters = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormParameters, TForm)

namespace {

constexpr int kColumnWidths[6] = {20, 20, 100, 0, 60, 16};
const TColor kHistogramColours[9] = {clNone, clRed, clGreen, clYellow, clAqua, clWhite, clFuchsia, clNavy, clMaroon};

TComboBox* FilterCombo(TComponent* owner, TWinControl* parent, int x, int y) {
  auto* c = new TComboBox(owner);
  c->SetParent(parent);
  c->SetStyle(csDropDownList);
  c->SetBounds(x, y, 170, 21);
  return c;
}

std::string ValueText(float v) {
  TFormatSettings s = FormatSettings;
  s.DecimalSeparator = '.';
  return FloatToStrF(v, ffGeneral, 6, 5, s);
}

}  // namespace

TFormParameters::TFormParameters(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormParameters");
  SetCaption("Parameters");
  SetClientWidth(446);
  SetClientHeight(360);

  auto* view = new TGroupBox(this);
  view->SetParent(this);
  view->SetCaption("View");
  view->SetBounds(264, 6, 176, 110);
  cbPhases = FilterCombo(this, view, 3, 22);
  cbHistograms = FilterCombo(this, view, 3, 50);
  cbSample = FilterCombo(this, view, 3, 78);
  cbSample->Items()->Add("All Parameters");
  cbSample->Items()->Add("Peak Shape parameters only");
  cbSample->SetItemIndex(0);

  psgparameters = new TPlusStringGrid(this);
  psgparameters->SetName("psgparameters");
  psgparameters->SetParent(this);
  psgparameters->SetBounds(6, 6, 250, 322);
  psgparameters->SetLook(glClassic);
  psgparameters->SetColCount(6);
  psgparameters->SetRowCount(2);
  psgparameters->SetFixedRows(1);
  psgparameters->SetFixedCols(2);
  psgparameters->SetDefaultRowHeight(18);
  psgparameters->SetScrollBars(ssVertical);
  psgparameters->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect});
  for (int c = 0; c < 6; ++c) psgparameters->SetColWidths(c, kColumnWidths[c]);
  psgparameters->SetCells(0, 0, "H");
  psgparameters->SetCells(1, 0, "P");
  psgparameters->SetCells(2, 0, "Parameter");
  psgparameters->SetCells(4, 0, "Value");
  psgparameters->OnGetCellColor = [this](TObject* s, int r, int c, TGridDrawState st, TBrush* b, TFont* f) {
    psgparametersGetCellColor(s, r, c, st, b, f);
  };

  Button1 = new TButton(this);
  Button1->SetParent(this);
  Button1->SetCaption("OK");
  Button1->SetVisible(false);
  Button1->SetBounds(280, 300, 75, 25);
  Button2 = new TButton(this);
  Button2->SetParent(this);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetBounds(364, 300, 75, 25);
  StatusLabel = new TLabel(this);
  StatusLabel->SetParent(this);
  StatusLabel->SetCaption("Currently Viewing Only");
  StatusLabel->SetBounds(6, 338, 300, 16);

  cbPhases->OnChange = [this](TObject* s) { cbPhasesChange(s); };
  cbHistograms->OnChange = [this](TObject* s) { cbHistogramsChange(s); };
  cbSample->OnChange = [this](TObject* s) { cbSampleChange(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
}

TFormParameters::~TFormParameters() {
  if (FormParameters == this) FormParameters = nullptr;
  TControl* last = GetLastActiveControl();
  if (last && last->Owner() == this) SetLastActiveControl(nullptr);
}

void TFormParameters::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  cbPhases->Items()->Clear();
  cbPhases->Items()->Add("All Phases");
  for (int p = 1; p <= ModelPhaseCount(); ++p) cbPhases->Items()->Add("Phase " + std::to_string(p));
  cbPhases->SetItemIndex(0);
  cbHistograms->Items()->Clear();
  cbHistograms->Items()->Add("All Histograms");
  for (int h = 1; h <= ModelHistogramCount(); ++h) cbHistograms->Items()->Add("Histogram " + std::to_string(h));
  cbHistograms->SetItemIndex(0);
  cbSample->SetItemIndex(0);
  FillTable();
}

void TFormParameters::FillTable() {
  FRows = ParameterRows(std::max(0, cbPhases->ItemIndex()), std::max(0, cbHistograms->ItemIndex()),
                        cbSample->ItemIndex() == 1);
  TPlusStringGrid* g = psgparameters;
  for (int r = 1; r < g->RowCount(); ++r) {
    for (int c = 0; c < 6; ++c) g->SetCells(c, r, "");
    g->RemoveCellGraphic(5, r);
  }
  g->SetRowCount(std::max(2, static_cast<int>(FRows.size()) + 1));
  for (size_t i = 0; i < FRows.size(); ++i) {
    const TParameterRow& row = FRows[i];
    const int r = static_cast<int>(i) + 1;
    g->SetCells(0, r, std::to_string(row.Histogram));
    g->SetCells(1, r, std::to_string(row.Phase));
    g->SetCells(2, r, row.Name);
    g->SetCells(3, r, std::to_string(row.Type));
    g->SetCells(4, r, ValueText(row.Value));
    g->AddCellCheckBox(5, r, row.Refined, false);
  }
  g->SetTopRow(1);
}

void TFormParameters::cbPhasesChange(TObject*) { FillTable(); }
void TFormParameters::cbHistogramsChange(TObject*) { FillTable(); }
void TFormParameters::cbSampleChange(TObject*) { FillTable(); }
void TFormParameters::Button2Click(TObject*) { Close(); }

std::string TFormParameters::CellText(int ACol, int ARow) const { return psgparameters->Cells(ACol, ARow); }

int TFormParameters::RowCount() const { return psgparameters->RowCount(); }

bool TFormParameters::RowChecked(int ARow) const {
  bool state = false;
  psgparameters->GetCellCheckState(5, ARow, state);
  return state;
}

TColor TFormParameters::HistogramColour(int ARow) const {
  if (ARow < 1 || ARow > static_cast<int>(FRows.size())) return clNone;
  return kHistogramColours[FRows[static_cast<size_t>(ARow - 1)].Histogram % 9];
}

void TFormParameters::psgparametersGetCellColor(TObject*, int ARow, int ACol, TGridDrawState, TBrush* ABrush,
                                                TFont*) {
  if (ACol != 0) return;
  const TColor c = HistogramColour(ARow);
  if (c != clNone) ABrush->SetColor(c);
}

void TFormParameters::FormClose(TObject*, TCloseAction& Action) {
  SetLastActiveControl(nullptr);
  Action = caHide;
}

void TFormParameters::FormDeactivate(TObject*) {
  if (Visible()) SetLastActiveControl(ActiveControl());
}
