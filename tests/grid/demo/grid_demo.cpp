// A form with a string grid for looking at its editors and mouse handling on
// a real display (not a test): every column edits with another editor kind,
// the lower rows with a second kind; events are logged to stderr.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editlink.h"
#include "grid/plusgrid_wrappers.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

namespace {

void Log(const std::string& s) { std::fprintf(stderr, "grid_demo: %s\n", s.c_str()); }

std::string Cell(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }

// edCustom cells edit through a plain edit that upper-cases what it stores.
class TDemoLink : public TEditLink {
public:
  explicit TDemoLink(TComponent* AOwner) : TEditLink(AOwner) {}
  TWinControl* EditorControl() override { return FEdit; }
  void BuildEditor(TWinControl* AParent) override {
    if (!FEdit) {
      FEdit = new TEdit(this);
      FEdit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { HandleEditorKey(s, k, sh); };
      FEdit->OnChange = [this](TObject*) { Log("custom edit [" + FEdit->Text() + "]"); };
    }
    FEdit->SetParent(AParent);
  }
  std::string ReadEditorValue() override { return FEdit ? UpperCase(FEdit->Text()) : ""; }
  void WriteEditorValue(const std::string& Value) override {
    if (FEdit) FEdit->SetText(Value);
  }

private:
  TEdit* FEdit = nullptr;
};

// Column captions; the editor kind of the upper rows, then of rows 16 on.
struct TDemoColumn {
  const char* Caption;
  TEditorType Upper, Lower;
};
const TDemoColumn Columns[] = {
    {"Name", edNormal, edUniEdit},          {"Count", edSpinEdit, edNumeric},
    {"Value", edFloatSpinEdit, edFloat},    {"Date", edDateEdit, edDateEditUpDown},
    {"Time", edTimeEdit, edTimeSpinEdit},   {"Choice", edComboList, edUniComboList},
    {"Note", edEditBtn, edRichEdit},        {"Custom", edCustom, edUniMemo},
    {"Flag", edNone, edNone},               {"Action", edNone, edNone},
};
constexpr int DataCols = sizeof(Columns) / sizeof(Columns[0]);
constexpr int FlagCol = 9, ActionCol = 10;

}  // namespace

int main() {
  Application->Initialize();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Zelvora string grid");
  form->SetBounds(0, 0, 1100, 520);
  auto* status = new TLabel(form);
  status->SetParent(form);
  status->SetAlign(alBottom);
  status->SetCaption("Ready");
  auto* grid = new TPlusStringGrid(form);
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetColCount(DataCols + 1);
  grid->SetRowCount(31);
  TGridOptions o = grid->Options();
  grid->SetOptions(o.Include(goColSizing).Include(goRowSizing).Include(goEditing).Include(goColMoving));
  grid->SortSettings()->SetShow(true);
  grid->SearchFooter()->SetVisible(true);
  grid->SetURLShow(true);
  grid->SetShowHint(true);
  grid->SetHintShowLargeText(true);
  // GRID_DEMO_HINTS=1: the plain hints instead of the balloons.
  grid->Balloon()->SetEnable(!std::getenv("GRID_DEMO_HINTS"));
  grid->SetCellEditLink(new TDemoLink(form));
  // GRID_DEMO_LOOK=theme: check boxes and headers drawn by the desktop's
  // style; GRID_DEMO_LOOK=classic: the classic check boxes, for comparison.
  if (const char* look = std::getenv("GRID_DEMO_LOOK")) {
    const bool themed = std::string(look) == "theme";
    grid->ControlLook()->SetControlStyle(themed ? csTheme : csClassic);
    grid->SetLook(themed ? glListView : glClassic);
  }
  // GRID_DEMO_DRAG=1: the selection drags out and drops in as text (a grid
  // that edits starts no drags).
  if (std::getenv("GRID_DEMO_DRAG")) {
    grid->SetOptions(grid->Options().Exclude(goEditing));
    grid->DragDropSettings()->SetOleDropSource(true);
    grid->DragDropSettings()->SetOleDropTarget(true);
    grid->OnOleDropped = [](TObject*, TGridRect R) {
      Log("OleDropped " + Cell(R.Left, R.Top) + " - " + Cell(R.Right, R.Bottom));
    };
  }
  for (int c = 0; c < DataCols; ++c) grid->SetCells(c + 1, 0, Columns[c].Caption);
  grid->SetColWidths(1, 140);
  const char* choices[] = {"Iron", "Oxygen", "Silicon", "Carbon"};
  for (int r = 1; r <= 30; ++r) {
    grid->SetCells(0, r, std::to_string(r));
    grid->SetCells(1, r, "Item " + std::to_string(31 - r));
    grid->SetCells(2, r, std::to_string((r * 7) % 23));
    grid->SetCells(3, r, FloatToStr(r * 1.25));
    grid->SetCells(4, r, DateToStr(EncodeDate(2024, 1 + r % 12, 1 + r % 28)));
    grid->SetCells(5, r, TimeToStr(EncodeTime(r % 24, (r * 7) % 60, 0, 0)));
    grid->SetCells(6, r, choices[r % 4]);
    grid->SetCells(7, r, r <= 15 ? "note " + std::to_string(r) : "");
    grid->SetCells(8, r, "custom " + std::to_string(r));
    grid->AddCellCheckBox(FlagCol, r, r % 3 == 0, false);
    TCellGraphic* g = grid->CreateCellGraphic(ActionCol, r);
    g->CellType = ctButton;
    g->CellHAlign = haFull;
    g->CellVAlign = vaFull;
    g->CellText = "Run";
  }
  grid->SetCells(1, 2,
                 "A long name that does not fit its cell at all, so resting the mouse on it shows the whole text");
  grid->SetCells(1, 3, "http://example.org/zelvora");
  grid->SetCells(1, 4, "<a href=\"anchor-one\">an anchor</a> in a cell");

  grid->OnGetEditorType = [grid](TObject*, int ACol, int ARow, TEditorType& AEditor) {
    if (ACol < 1 || ACol > DataCols) return;
    AEditor = ARow <= 15 ? Columns[ACol - 1].Upper : Columns[ACol - 1].Lower;
    if (ACol == 6) {
      grid->ComboEditor()->Items()->Clear();
      for (const char* s : {"Iron", "Oxygen", "Silicon", "Carbon"}) grid->ComboEditor()->Items()->Add(s);
      grid->UniComboEditor()->Items()->Clear();
      for (const char16_t* s : {u"\u03b1-Fe", u"\u03b2-Fe", u"\u03b3-Fe"}) grid->UniComboEditor()->Items()->Add(s);
    }
    Log("GetEditorType " + Cell(ACol, ARow) + " " + std::to_string(static_cast<int>(AEditor)));
  };
  grid->OnEditCellDone = [grid](TObject*, int ACol, int ARow) {
    Log("EditCellDone " + Cell(ACol, ARow) + " [" + grid->Cells(ACol, ARow) + "]");
  };
  grid->OnEditChange = [](TObject*, int ACol, int ARow, const std::string& V) {
    Log("EditChange " + Cell(ACol, ARow) + " [" + V + "]");
  };
  grid->OnCheckBoxClick = [](TObject*, int ACol, int ARow, bool State) {
    Log("CheckBoxClick " + Cell(ACol, ARow) + (State ? " on" : " off"));
  };
  grid->OnButtonClick = [status](TObject*, int ACol, int ARow) {
    Log("ButtonClick " + Cell(ACol, ARow));
    status->SetCaption("Button " + Cell(ACol, ARow));
  };
  grid->OnEllipsClick = [](TObject*, int ACol, int ARow, std::string& S) {
    Log("EllipsClick " + Cell(ACol, ARow) + " [" + S + "]");
    S += "...";
  };
  grid->OnAnchorClick = [](TObject*, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle) {
    Log("AnchorClick " + Cell(ACol, ARow) + " " + Anchor);
    AutoHandle = false;
  };
  grid->OnClickCell = [](TObject*, int ARow, int ACol) { Log("ClickCell " + Cell(ACol, ARow)); };
  grid->OnDblClickCell = [](TObject*, int ARow, int ACol) { Log("DblClickCell " + Cell(ACol, ARow)); };
  grid->OnClickSort = [](TObject*, int ACol) { Log("ClickSort " + std::to_string(ACol)); };
  grid->OnEndColumnSize = [grid](TObject*, int ACol) {
    Log("EndColumnSize " + std::to_string(ACol) + " " + std::to_string(grid->ColWidths(ACol)));
  };
  grid->OnEndRowSize = [grid](TObject*, int ARow) {
    Log("EndRowSize " + std::to_string(ARow) + " " + std::to_string(grid->RowHeights(ARow)));
  };
  grid->OnSelectCell = [](TObject*, int ACol, int ARow, bool&) { Log("SelectCell " + Cell(ACol, ARow)); };
  grid->OnTopLeftChanged = [grid](TObject*) {
    Log("TopLeft " + std::to_string(grid->LeftCol()) + "," + std::to_string(grid->TopRow()));
  };
  grid->OnCellBalloon = [](TObject*, int ACol, int ARow, std::string& ATitle, std::string&, int&) {
    ATitle = "Cell " + Cell(ACol, ARow);
  };
  Application->OnShowHint = [](std::string& HintStr, bool&, TControl* HintControl) {
    Log("ShowHint " + (HintControl ? HintControl->ClassName() : std::string("-")) + " [" + HintStr + "]");
  };
  form->Show();
  grid->SetFocus();
  // Where the cells are, for driving the form by hand.
  for (int c = 0; c <= DataCols; ++c) {
    const TRect R = grid->CellRect(c, 1);
    const TPoint p = grid->ClientToScreen({R.Left, R.Top});
    Log("col " + std::to_string(c) + " x " + std::to_string(p.X) + ".." + std::to_string(p.X + R.Right - R.Left) +
        " row 1 y " + std::to_string(p.Y) + ".." + std::to_string(p.Y + R.Bottom - R.Top));
  }
  Application->Run();
  return 0;
}
