// Drag and drop between the grid and other windows and programs: what a drag
// of the selection or a header carries, and what a drop of text, rich text, a
// grid column or a file does to the grid. The window system's side is the
// layer's drop target and drag loop; everything else here is plain functions
// of the data and a client point.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/rtftext.h"

namespace {

bool gOleRichText = false;

enum { kFmtText = 1, kFmtFiles = 2, kFmtColumn = 4, kFmtRich = 8 };

int FormatsOf(const TDragPayload& D) {
  int f = 0;
  if (D.Text) f |= kFmtText;
  if (!D.Files.empty()) f |= kFmtFiles;
  if (D.GridColumn) f |= kFmtColumn;
  if (D.RichText) f |= kFmtRich;
  return f;
}

// The grid's drop target: the layer's drag events turned into the grid's
// handlers.
class TGridDropTarget : public TDropTarget {
public:
  explicit TGridDropTarget(TPlusStringGrid* Grid) : FGrid(Grid) {}
  ~TGridDropTarget() override { RevokeDragDrop(FGrid); }
  int DragEnter(const TDragPayload& Data, TPoint ScreenPos, TShiftState Keys, int Effects) override {
    TDragDropSettings* s = FGrid->DragDropSettings();
    FFormats = FormatsOf(Data);
    // Columns come only from drags this target accepts columns for, which none does.
    const bool acceptColumns = false;
    FAllowed = ((FFormats & kFmtText) && s->OleAcceptText()) || ((FFormats & kFmtFiles) && s->OleAcceptFiles()) ||
               ((FFormats & kFmtRich) && TPlusStringGrid::OleRichTextEnabled() && s->OleAcceptText()) ||
               ((FFormats & kFmtColumn) && acceptColumns);
    if (!FAllowed) return DROPEFFECT_NONE;
    return DragOver(ScreenPos, Keys, Effects);
  }
  int DragOver(TPoint ScreenPos, TShiftState Keys, int Effects) override {
    if (!FAllowed) return DROPEFFECT_NONE;
    const int effect = DropEffectFromKeys(Keys, Effects);
    return FGrid->OleDragOver(FGrid->ScreenToClient(ScreenPos), FFormats) ? effect : DROPEFFECT_NONE;
  }
  void DragLeave() override { FGrid->OleDragLeave(); }
  int Drop(const TDragPayload& Data, TPoint ScreenPos, TShiftState Keys, int Effects) override {
    if (!FAllowed) return DROPEFFECT_NONE;
    if (!FGrid->OleDropPayload(FGrid->ScreenToClient(ScreenPos), Data)) return DROPEFFECT_NONE;
    return DropEffectFromKeys(Keys, Effects);
  }

private:
  TPlusStringGrid* FGrid;
  int FFormats = 0;
  bool FAllowed = false;
};

}  // namespace

// ---------------------------------------------------------------------------
// TDragDropSettings

ZV_CLASS_IMPL(TDragDropSettings, TPersistent)

void TDragDropSettings::DeclareProperties(TClassInfo& c) {
  using T = TDragDropSettings;
#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
  ZV_BOOL(OleAcceptFiles, true)
  ZV_BOOL(OleAcceptText, true)
  ZV_BOOL(OleColumnDragDrop, false)
  ZV_BOOL(OleCopyAlways, false)
  ZV_BOOL(OleDropRTF, false)
  ZV_BOOL(OleDropSource, false)
  ZV_BOOL(OleDropTarget, false)
  ZV_BOOL(OleEntireRows, false)
  ZV_BOOL(OleInsertRows, false)
  ZV_BOOL(OleRemoveRows, false)
#undef ZV_BOOL
}

void TDragDropSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragDropSettings*>(Source);
  if (!s || s == this) return;
  FOleDropSource = s->FOleDropSource;
  FOleAcceptText = s->FOleAcceptText;
  FOleAcceptFiles = s->FOleAcceptFiles;
  FOleEntireRows = s->FOleEntireRows;
  FOleInsertRows = s->FOleInsertRows;
  FOleRemoveRows = s->FOleRemoveRows;
  FOleCopyAlways = s->FOleCopyAlways;
  FOleColumnDragDrop = s->FOleColumnDragDrop;
  SetOleDropRTF(s->FOleDropRTF);
  SetOleDropTarget(s->FOleDropTarget);
}

void TDragDropSettings::SetOleDropTarget(bool v) {
  FOleDropTarget = v;
  if (FGrid) FGrid->UpdateOleDropTarget();
}

void TDragDropSettings::SetOleDropRTF(bool v) {
  FOleDropRTF = v;
  TPlusStringGrid::SetOleRichTextEnabled(v);
}

// ---------------------------------------------------------------------------
// The grid

bool TPlusStringGrid::OleRichTextEnabled() { return gOleRichText; }
void TPlusStringGrid::SetOleRichTextEnabled(bool v) { gOleRichText = v; }

void TPlusStringGrid::UpdateOleDropTarget() {
  if (Designing()) return;
  if (FDragDropSettings->OleDropTarget()) {
    // Registered once the window exists (CreateWnd calls again, also when
    // the window is made anew and the old registration went with it).
    if (!HandleAllocated() || IsDropTarget(this)) return;
    if (!FDropTarget) FDropTarget = std::make_unique<TGridDropTarget>(this);
    RegisterDragDrop(this, FDropTarget.get());
  } else {
    RevokeDragDrop(this);
  }
}

TPlusStringGrid::TDroppedFileKind TPlusStringGrid::DroppedFileKind(const std::string& FileName) {
  // The extension is what follows the last dot of the name itself.
  const size_t slash = FileName.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? FileName : FileName.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return dfNone;
  const std::string ext = UpperCase(name.substr(dot));
  if (ext == ".CSV") return dfDelimited;
  if (ext == ".XLS" || ext == ".XLSX") return dfWorkbook;
  return dfNone;
}

void TPlusStringGrid::HideDropArrows() {
  for (TArrowWindow* a : FArrows)
    if (a) a->SetVisible(false);
}

void TPlusStringGrid::ShowDropArrows(bool Column, int ACol, int ARow) {
  HideDropArrows();
  const TRect r = CellRect(ACol, ARow);
  if (Column) {
    PlaceArrow(1, r.Left - 5, r.Top - 8);  // pointing down, above the cell
    PlaceArrow(0, r.Left - 5, r.Bottom);   // pointing up, at its bottom
  } else {
    PlaceArrow(2, r.Left - 10, r.Top);     // pointing right, left of the cell
  }
}

bool TPlusStringGrid::OleDragOver(TPoint P, int Formats) {
  int c = -1, r = -1;
  MouseToCell(P.X, P.Y, c, r);
  bool allow = c >= 0 && r >= 0;
  const bool column = (Formats & kFmtColumn) != 0;
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  if (!column && allow) {
    if (r == TopRow() + VisibleRowCount() && TopRow() < MaxTopRow()) SetTopRow(TopRow() + 1);
    else if (r == 0 && TopRow() > fixedRows) SetTopRow(TopRow() - 1);
    if (FOleDragScrollTick % 2 == 0) {
      if (c == 0 && LeftCol() > fixedCols) {
        SetLeftCol(LeftCol() - 1);
        ++FOleDragScrollTick;
      } else if (c == LeftCol() + VisibleColCount() && LeftCol() < MaxLeftCol()) {
        SetLeftCol(LeftCol() + 1);
        ++FOleDragScrollTick;
      }
    }
  }
  if (allow && column && (r >= fixedRows || c < fixedCols)) allow = false;
  if (allow && !column && r < fixedRows && !(RowCount() == 1 && FFixedRowAlways)) allow = false;
  if (OnOleDragOver) OnOleDragOver(this, r, c, allow);
  if (!allow) {
    HideDropArrows();
    return false;
  }
  int ar = r, ac = c;
  if (!column) {
    if (r == 0 && FFixedRowAlways) ar = r + 1;
    if (FDragDropSettings->OleEntireRows()) ac = fixedCols;
  }
  ShowDropArrows(column, ac, ar);
  return true;
}

void TPlusStringGrid::OleDragLeave() { HideDropArrows(); }

bool TPlusStringGrid::OleDropColumn(TPoint P, int Column) {
  int c = -1, r = -1;
  MouseToCell(P.X, P.Y, c, r);
  HideDropArrows();
  if (OnOleDropCol) OnOleDropCol(this, r, c, Column);
  return true;
}

bool TPlusStringGrid::OleDropRichText(TPoint P, const std::string& Text) {
  int c = -1, r = -1;
  MouseToCell(P.X, P.Y, c, r);
  bool allow = true;
  if (OnOleDrop) OnOleDrop(this, r, c, Text, allow);
  const bool taken = allow && c >= 0 && r >= 0;
  if (taken) SetCells(c, r, Text);
  HideDropArrows();
  return taken;
}

bool TPlusStringGrid::OleDropText(TPoint P, const std::string& Text) {
  int ACol = -1, ARow = -1;
  MouseToCell(P.X, P.Y, ACol, ARow);
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  const bool rowSelect = Options().Contains(goRowSelect);
  TGridRect dropped = Selection();
  auto cleanUp = [&] {
    HideDropArrows();
    if (OnOleDropped) OnOleDropped(this, dropped);
  };
  if (ACol < 0 || ARow < 0) {
    cleanUp();
    return false;
  }
  // A line break that ends the text (as spreadsheets write) makes no row.
  std::string body = Text;
  if (body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0) body.resize(body.size() - 2);
  else if (!body.empty() && body.back() == '\n') body.pop_back();
  const TPoint dims = GetTextDimensions(body);
  const int fields = dims.X, breaks = dims.Y;
  if (rowSelect) ACol = FDragDropSettings->OleEntireRows() ? 0 : fixedCols;
  bool allow = true;
  if (OnOleDrop) OnOleDrop(this, ARow, ACol, Text, allow);
  if (!allow) {
    cleanUp();
    return false;
  }
  if (ARow == 0 && FFixedRowAlways && RowCount() == 1) ARow = 1;

  const TGridRect sourceBefore = FDragSourceRect;
  int inserted = 0;
  const int top = TopRow();
  if (FDragDropSettings->OleInsertRows()) {
    inserted = breaks + 1;
    // The rows the drop inserts above the dragged ones move them down.
    if (FDragDropSettings->OleRemoveRows() && FDragSourceRect.Top >= ARow) {
      FDragSourceRect.Top += inserted;
      FDragSourceRect.Bottom += inserted;
    }
    const int realAt = RealRowIndex(ARow);
    InsertRows(ARow, inserted, true);
    SetTopRow(top > fixedRows ? std::min(top + 1, MaxTopRow()) : top);
    // Marks of disjointly selected rows stay with their rows: the new rows
    // come in unmarked.
    if (FMouseActions->DisjunctRowSelect()) {
      if (realAt < static_cast<int>(FRowSelectFlags.size()))
        FRowSelectFlags.insert(FRowSelectFlags.begin() + realAt, static_cast<size_t>(inserted), false);
      for (int& r : FSelectedRows)
        if (r >= realAt) r += inserted;
    }
  }
  int pasted = 0;
  try {
    pasted = PasteText(ACol, ARow, Text);
  } catch (...) {
    // A refused paste takes back the rows made for it.
    if (inserted > 0) RemoveRows(ARow, inserted);
    FDragSourceRect = sourceBefore;
    HideDropArrows();
    throw;
  }
  if (pasted == 0) {
    // Nothing pasted (a grid that takes no edits): the grid stays as it was.
    if (inserted > 0) {
      RemoveRows(ARow, inserted);
      SetTopRow(std::min(top, MaxTopRow()));
    }
    FDragSourceRect = sourceBefore;
    cleanUp();
    return false;
  }
  ACol = std::max(ACol, fixedCols);
  dropped = TGridRect{ACol, ARow, ACol + fields - (rowSelect ? fixedCols : 1), ARow + breaks};
  dropped.Right = std::min(std::max(dropped.Right, dropped.Left), ColCount() - 1);
  dropped.Bottom = std::min(dropped.Bottom, RowCount() - 1);
  SetSelection(dropped);
  cleanUp();
  return true;
}

bool TPlusStringGrid::OleDropFiles(TPoint P, const std::vector<std::string>& Files) {
  HideDropArrows();
  if (Files.size() != 1) return false;
  int c = -1, r = -1;
  MouseToCell(P.X, P.Y, c, r);
  const std::string& name = Files.front();
  bool allow = true;
  if (OnOleDropFile) OnOleDropFile(this, r, c, name, allow);
  if (!allow) return false;
  const TDroppedFileKind kind = DroppedFileKind(name);
  if (kind == dfNone) return false;
  if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
  if (!allow) return false;
  if (kind == dfDelimited) LoadFromCSV(name);
  else LoadExcelFile(name);
  return true;
}

bool TPlusStringGrid::OleDropPayload(TPoint P, const TDragPayload& Data) {
  if (Data.GridColumn) return OleDropColumn(P, *Data.GridColumn);
  bool taken = false;
  if (Data.RichText && gOleRichText) taken = OleDropRichText(P, *Data.RichText);
  else if (Data.Text) taken = OleDropText(P, *Data.Text);
  if (!Data.Files.empty()) taken = OleDropFiles(P, Data.Files) || taken;
  return taken;
}

std::string TPlusStringGrid::GetSelectionAsText() {
  TGridRect s = Selection();
  if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows()) {
    s.Left = 0;
    s.Right = ColCount() - 1;
  }
  std::vector<int> rows;
  if (FMouseActions->DisjunctRowSelect()) {
    for (int r = 0; r < RowCount(); ++r)
      if (GetRowSelect(RealRowIndex(r))) rows.push_back(r);
  } else {
    for (int r = s.Top; r <= s.Bottom; ++r) rows.push_back(r);
  }
  std::string out;
  for (size_t i = 0; i < rows.size(); ++i) {
    for (int c = s.Left; c <= s.Right; ++c) {
      std::string t = GetCellText(c, rows[i]);
      if (GetCellTextKind(t, FEnableHTML) == ckRTF) t = RTFToPlainText(t);
      if (c > s.Left) out += '\t';
      out += t;
    }
    if (rows[i] != s.Bottom && i + 1 < rows.size()) out += "\r\n";
  }
  return out;
}

bool TPlusStringGrid::OleDragStart(int ACol, int ARow) {
  bool allow = true;
  const std::string pressed = ACol >= 0 && ARow >= 0 ? GetCellText(ACol, ARow) : std::string();
  if (OnOleDrag) OnOleDrag(this, ARow, RealColIndex(ACol), pressed, allow);
  if (!allow) return false;
  if (OnOleDragStart) OnOleDragStart(this, ARow, ACol);
  TDragPayload data;
  const int effects = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  if (ARow >= 0 && ARow < TCustomGrid::FixedRows() && ACol >= 0 && ACol < ColCount() &&
      FDragDropSettings->OleColumnDragDrop()) {
    data.GridColumn = ACol;
    // The header travels with the mouse while the column is dragged.
    const TPoint m = FDblClickPoint;
    ShowMoveButton(pressed, TRect(m.X, m.Y, m.X + ColWidths(ACol), m.Y + RowHeights(0)));
    int effect = DROPEFFECT_NONE;
    try {
      effect = DoDragDrop(this, data, effects);
    } catch (...) {
      HideMoveButton();
      HideDropArrows();
      throw;
    }
    if (effect != DROPEFFECT_NONE && OnOleDragStop) OnOleDragStop(this, effect);
    HideMoveButton();
    HideDropArrows();
    return true;
  }
  FDragSourceRect = Selection();
  data.Text = GetSelectionAsText();
  if (gOleRichText) data.RichText = pressed;
  const int effect = DoDragDrop(this, data, effects);
  if (effect != DROPEFFECT_NONE) OleDragFinished(effect);
  return true;
}

void TPlusStringGrid::OleDragFinished(int Effect) {
  if (Effect == DROPEFFECT_MOVE) {
    const TGridRect s = FDragSourceRect;
    const bool rowSelect = Options().Contains(goRowSelect);
    if (FDragDropSettings->OleRemoveRows() && rowSelect) {
      if (FMouseActions->DisjunctRowSelect()) RemoveSelectedRows();
      else if (s.Top >= 0 && s.Bottom >= s.Top) RemoveRows(s.Top, s.Bottom - s.Top + 1);
    } else if (!FDragDropSettings->OleCopyAlways()) {
      if (FMouseActions->DisjunctRowSelect()) ClearSelection();
      else if (s.Top >= 0) ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
  }
  if (OnOleDragStop) OnOleDragStop(this, Effect);
}
