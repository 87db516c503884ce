#include "app/watchwindow.h"

#include <algorithm>
#include <cmath>

#include "app/positionsaver.h"
#include "app/mainlink.h"
#include "grid/plusgrid.h"
#include "platform/rtl/format.h"

TFormWatch* FormWatch = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormWatch, TForm)

namespace {

TLabel* KeyLabel(TFormWatch* form, TPanel* box, int row, const char* text, TColor colour) {
  auto* label = new TLabel(form);
  label->SetParent(box);
  label->SetCaption(text);
  label->SetLeft(8);
  label->SetTop(18 + row * 18);
  label->Font()->SetColor(colour);
  return label;
}

}  // namespace

TFormWatch::TFormWatch(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormWatch");
  SetCaption("Watch");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetBorderStyle(bsSizeToolWin);
  SetBorderIcons({biSystemMenu});
  SetClientWidth(261);
  SetClientHeight(415);

  GroupBox1 = new TPanel(this);
  GroupBox1->SetName("GroupBox1");
  GroupBox1->SetCaption("");
  GroupBox1->SetAlign(alBottom);
  GroupBox1->SetHeight(76);
  GroupBox1->SetParent(this);
  auto* code = new TLabel(this);
  code->SetParent(GroupBox1);
  code->SetCaption("Code");
  code->SetBounds(4, 2, 40, 14);
  LabelStable = KeyLabel(this, GroupBox1, 0, "Stable parameter", clBlack);
  LabelErrorLarger = KeyLabel(this, GroupBox1, 1, "Error is larger than parameter value", clBlue);
  LabelShiftLarger = KeyLabel(this, GroupBox1, 2, "Shift in parameter was larger than the error", clRed);

  asGrid = new TPlusStringGrid(this);
  asGrid->SetName("asGrid");
  asGrid->SetParent(this);
  asGrid->SetAlign(alClient);
  asGrid->SetLook(glClassic);
  asGrid->SetFlat(true);
  asGrid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
  asGrid->SetScrollBars(ssBoth);
  asGrid->SetColCount(5);
  asGrid->SetRowCount(2);
  asGrid->SetDefaultRowHeight(21);
  asGrid->SetFloatFormat("%.2f");
  asGrid->OnGetCellColor = [this](TObject* s, int r, int c, TGridDrawState st, TBrush* b, TFont* f) {
    asGridGetCellColor(s, r, c, st, b, f);
  };

  OnShow = [this](TObject* s) { FormShow(s); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  FormPosSaver1 = new TFormPosSaver(this);
  FormPosSaver1->SetUseRegistry(true);
  FormPosSaver1->SetRegRootKey(_CURRENT_USER);
  FormPosSaver1->SetRegKey("Software\\Zelvora\\Configuration\\WatchForm");
}

TFormWatch::~TFormWatch() {
  if (FormWatch == this) FormWatch = nullptr;
  if (GetLastActiveControl() == asGrid) SetLastActiveControl(nullptr);
}

void TFormWatch::FormShow(TObject*) {
  FMaxHeight = asGrid->DefaultRowHeight() * (asGrid->RowCount() + 1) + GroupBox1->Height() + 40;
  FMinHeight = GroupBox1->Height() + 40;
  FMinWidth = FMaxWidth = 310;
  const int widths[] = {125, 75, 75, 0, 0};
  for (int c = 0; c < 5; ++c) asGrid->SetColWidths(c, widths[c]);
  asGrid->SetCells(0, 0, "Parameter");
  asGrid->SetCells(1, 0, "Value");
  asGrid->SetCells(2, 0, "Error");
  Resize();
}

void TFormWatch::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // The refinement window sets the width on every cycle: a width outside
  // the limits would resize the window twice a cycle (there and back).
  if (FMaxHeight > 0) {
    AHeight = std::clamp(AHeight, FMinHeight, std::max(FMinHeight, FMaxHeight));
    AWidth = std::clamp(AWidth, FMinWidth, FMaxWidth);
  }
  TForm::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TFormWatch::Resize() {
  TForm::Resize();
  if (FMaxHeight <= 0) return;
  const int h = std::clamp(Height(), FMinHeight, std::max(FMinHeight, FMaxHeight));
  const int w = std::clamp(Width(), FMinWidth, FMaxWidth);
  if (h != Height() || w != Width()) SetBounds(Left(), Top(), w, h);
}

std::string TFormWatch::ValueText(double v) { return FloatToStrF(v, ffGeneral, 5, 3); }

void TFormWatch::SetParameterCount(int n) { asGrid->SetRowCount(n + 1); }

void TFormWatch::SetParameterRow(int i, const std::string& Description, double Value, double Error) {
  asGrid->SetCells(0, i, Description);
  asGrid->SetCells(4, i, asGrid->Cells(1, i));
  asGrid->SetCells(1, i, ValueText(Value));
  asGrid->SetCells(2, i, ValueText(Error));
}

void TFormWatch::SetParameterName(int i, const std::string& Description) {
  asGrid->SetCells(0, i, Description);
  for (int col : {1, 2, 4}) asGrid->SetCells(col, i, "");
}

double TFormWatch::CellNumber(int ACol, int ARow) {
  // What is not a number counts as 0, as an empty cell does.
  try {
    return asGrid->GetCellFloat(ACol, ARow);
  } catch (const Exception&) {
    return 0;
  }
}

void TFormWatch::asGridGetCellColor(TObject*, int ARow, int ACol, TGridDrawState, TBrush*, TFont* AFont) {
  if (ACol != 1 || ARow < 1) return;
  AFont->SetColor(clBlack);
  const double value = CellNumber(1, ARow), error = CellNumber(2, ARow), previous = CellNumber(4, ARow);
  if (std::abs(previous - value) > error) AFont->SetColor(clRed);
  if (error > std::abs(value)) AFont->SetColor(clBlue);
}

TColor TFormWatch::CellFontColor(int ARow, int ACol) {
  TFont font;
  font.SetColor(clWindowText);
  TBrush brush;
  asGridGetCellColor(asGrid, ARow, ACol, {}, &brush, &font);
  return font.Color();
}

void TFormWatch::FormDeactivate(TObject*) { SetLastActiveControl(ActiveControl()); }

std::string TFormWatch::CellText(int ACol, int ARow) { return asGrid->Cells(ACol, ARow); }

int TFormWatch::RowCount() const { return asGrid->RowCount(); }

int TFormWatch::GridWidth() const { return asGrid->Width(); }
