// Cell graphics of the string grid: lookup, creation and removal, check
// boxes, radio groups, buttons and the placement of rotated text.
#include <cmath>
#include <cstdlib>

#include "grid/plusgrid.h"

namespace {

bool IsCheckKind(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

TCellVAlign CheckVAlign(TVAlignment v) {
  if (v == vtaCenter) return vaCenter;
  if (v == vtaBottom) return vaBottom;
  return vaTop;
}

}  // namespace

TCellGraphic* TPlusStringGrid::GetCellGraphic(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
    FRowCheckGraphic->CellType = ctRowCheckBox;
    FRowCheckGraphic->CellTransparent = FControlLook->ControlStyle() == csFlat;
    FRowCheckGraphic->CellBoolean = GetRowSelect(ARow);
    return FRowCheckGraphic.get();
  }
  if (!HasCellProperties(ACol, ARow)) return nullptr;
  return GetCellProperties(ACol, ARow)->CellGraphic();
}

TCellType TPlusStringGrid::GetCellType(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return ctEmpty;
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
  if (!HasCellProperties(ACol, ARow)) return ctEmpty;
  TCellGraphic* g = GetCellProperties(ACol, ARow)->CellGraphic();
  return g ? g->CellType : ctEmpty;
}

TCellGraphic* TPlusStringGrid::CreateCellGraphic(int ACol, int ARow) {
  auto* g = new TCellGraphic();
  SetCellGraphic(ACol, ARow, g);
  if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(ACol), ARow);
  return g;
}

bool TPlusStringGrid::RemoveCellGraphic(int ACol, int ARow) {
  // The shared row check box is never stored, so only a stored graphic goes.
  if (!HasCellProperties(ACol, ARow) || !GetCellProperties(ACol, ARow)->CellGraphic()) return false;
  GetCellProperties(ACol, ARow)->SetCellGraphic(nullptr);
  RepaintCell(DisplColIndex(ACol), ARow);
  return true;
}

bool TPlusStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType AType) {
  if (GetCellType(ACol, ARow) != AType) return false;
  return RemoveCellGraphic(ACol, ARow);
}

void TPlusStringGrid::AddCellCheckBox(int ACol, int ARow, bool State, bool Data) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->SetCheckBox(State, Data, CheckVAlign(FVAlignment), haBeforeText, true);
  RepaintCell(DisplColIndex(ACol), ARow);
}

bool TPlusStringGrid::GetCellCheckState(int ACol, int ARow, bool& State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
      State = g->CellBoolean;
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      State = GetCellText(ACol, ARow) == GetCheckTrue(ACol, ARow);
      return true;
    case ctRowCheckBox:
      if (ACol != 0) return false;
      State = GetRowSelect(ARow);
      return true;
    default:
      return false;
  }
}

bool TPlusStringGrid::SetCellCheckState(int ACol, int ARow, bool State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
      g->CellBoolean = State;
      RepaintCell(DisplColIndex(ACol), ARow);
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      SetCellText(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
      return true;
    case ctRowCheckBox:
      if (ACol != 0) return false;
      SetRowSelect(ARow, State);
      return true;
    default:
      return false;
  }
}

bool TPlusStringGrid::ToggleCheck(int ACol, int ARow, bool CheckAllowed) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || !IsCheckKind(g->CellType)) return false;
  if (CheckAllowed && !FControlLook->CheckAlwaysActive() && !CanEditCell(ACol, ARow)) return false;
  const std::string on = GetCheckTrue(ACol, ARow), off = GetCheckFalse(ACol, ARow);
  std::string before, after;
  if (g->CellType == ctCheckBox) {
    before = g->CellBoolean ? on : off;
    g->CellBoolean = !g->CellBoolean;
    after = g->CellBoolean ? on : off;
  } else {
    before = GetCellText(ACol, ARow);
    after = before != on ? on : off;
    SetCellText(ACol, ARow, after);
  }
  RepaintCell(DisplColIndex(ACol), ARow);
  // The record holds what the cell showed before and after, whatever it held.
  if (UndoRedo()) UndoRedo()->AddChange(ACol, ARow, before, after);
  return true;
}

void TPlusStringGrid::CheckAll(int ACol) {
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r) SetCellCheckState(ACol, r, true);
}

void TPlusStringGrid::UnCheckAll(int ACol) {
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r) SetCellCheckState(ACol, r, false);
}

TCellGraphic* TPlusStringGrid::BaseCellGraphic(int ACol, int ARow) {
  const TPoint b = GetBaseCell(ACol, ARow);
  return GetCellGraphic(b.X, b.Y);
}

bool TPlusStringGrid::HasCheckBox(int ACol, int ARow) {
  const TPoint b = GetBaseCell(ACol, ARow);
  return IsCheckKind(GetCellType(b.X, b.Y));
}

bool TPlusStringGrid::IsInCheckBox(int ACol, int ARow, int X, int Y) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || !IsCheckKind(g->CellType)) return false;
  if (!FMouseActions->PreciseCheckBoxCheck()) return true;
  const TRect r = CellRect(DisplColIndex(ACol), ARow);
  const int c = FControlLook->CheckSize();
  int top = r.Top + 2;
  if (g->CellVAlign == vaBottom) top = r.Bottom - c - 2;
  if (g->CellVAlign == vaCenter) top = r.Top + (r.Bottom - r.Top - c) / 2;
  TAlignment ha;
  TVAlignment va;
  GetCellAlignment(ACol, ARow, ha, va);
  int left = r.Left + 2;
  if (ha == taRightJustify) left = r.Right - c - 2;
  if (ha == taCenter) left = r.Left + (r.Right - r.Left - c) / 2;
  return X >= left && X < left + c && Y >= top && Y < top + c;
}

void TPlusStringGrid::ToggleRadio(int ACol, int ARow, bool CheckAllowed) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return;
  if (CheckAllowed && !FControlLook->RadioAlwaysActive() && !CanEditCell(ACol, ARow)) return;
  auto* list = dynamic_cast<TStrings*>(g->CellContent);
  const int count = list ? list->Count() : 0;
  int next;
  if (g->CellIndex >= 0) {
    next = g->CellIndex + 1;
  } else {
    next = (list ? list->IndexOf(GetCellText(ACol, ARow)) : -1) + 1;
  }
  if (next >= count) next = 0;
  if (g->CellIndex >= 0) g->CellIndex = next;
  g->CellVariant = next;
  if (list && next < count) SetCellText(ACol, ARow, list->Strings(next));
  RepaintCell(DisplColIndex(ACol), ARow);
}

bool TPlusStringGrid::GetRadioIdx(int ACol, int ARow, int& Idx) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  Idx = g->CellIndex;
  return g->CellType == ctRadio;
}

TStrings* TPlusStringGrid::GetRadioStrings(int ACol, int ARow) {
  TCellGraphic* g = BaseCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return nullptr;
  return dynamic_cast<TStrings*>(g->CellContent);
}

bool TPlusStringGrid::IsRadio(int ACol, int ARow) {
  TCellGraphic* g = BaseCellGraphic(ACol, ARow);
  return g && g->CellType == ctRadio;
}

bool TPlusStringGrid::HasCellControl(int ACol, int ARow) {
  TCellGraphic* g = BaseCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadio:
    case ctButton:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      return true;
    default:
      return false;
  }
}

bool TPlusStringGrid::IsButtonCell(int ACol, int ARow) {
  TCellGraphic* g = BaseCellGraphic(ACol, ARow);
  return g && (g->CellType == ctButton || g->CellType == ctBitButton);
}

void TPlusStringGrid::GetButtonRect(int ACol, int ARow, TRect& R) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g) return;
  const TRect cell = CellRect(ACol, ARow);
  const long v = std::lround(g->CellValue);
  R.Left = cell.Left + static_cast<int>(v & 0xFFFF);
  R.Top = cell.Top + static_cast<int>(v >> 16);
  R.Right = R.Left + (g->CellIndex & 0xFFFF);
  R.Bottom = R.Top + (g->CellIndex >> 16);
  if (g->CellVAlign == vaFull) {
    R.Top = cell.Top;
    R.Bottom = cell.Bottom;
  }
  if (g->CellHAlign == haFull) {
    R.Left = cell.Left;
    R.Right = cell.Right;
  }
}

void TPlusStringGrid::SetButtonDown(int ACol, int ARow, bool Down) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g) return;
  g->CellBoolean = Down;
  RepaintCell(ACol, ARow);
}

bool TPlusStringGrid::GetCellComment(int ACol, int ARow, std::string& Comment) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctComment) return false;
  Comment = g->CellText;
  return true;
}

void TPlusStringGrid::GetCellErrorRange(int ACol, int ARow, int& ErrFrom, int& ErrLen) {
  ErrFrom = 0;
  ErrLen = 0;
  if (TCellGraphic* g = GetCellGraphic(ACol, ARow)) {
    ErrFrom = g->CellErrFrom;
    ErrLen = g->CellErrLen;
  }
}

void TPlusStringGrid::CalcRotatedTextOrigin(TRect& R, int Angle, const std::string& Text, TAlignment HAlign,
                                            TVAlignment VAlign) {
  const TSize sz = Canvas()->TextExtent(Text + "w");
  const int cx = sz.cx, cy = sz.cy;
  R = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  const int W = R.Right - R.Left, H = R.Bottom - R.Top;
  const double a = Angle * M_PI / 180.0;
  auto nn = [](double v) { return std::abs(static_cast<int>(std::lround(v))); };
  const int P = nn(std::cos(a) * cx), Q = nn(std::sin(a) * cy), Rr = nn(std::sin(a) * cx), S = nn(std::cos(a) * cy);
  const int quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
  int left = R.Left, top = R.Top;
  const int vc = (Rr + S - H) / 2;
  switch (quadrant) {
    case 1:
      left = HAlign == taLeftJustify ? R.Left : HAlign == taRightJustify ? R.Right - Q - P : R.Left + (W - Q - P) / 2;
      top = VAlign == vtaTop ? R.Top + Rr : VAlign == vtaCenter ? R.Top + Rr - vc : R.Bottom - S;
      break;
    case 2:
      left = HAlign == taLeftJustify ? R.Left + P : HAlign == taRightJustify ? R.Right - Q : R.Right - (W + Q - P) / 2;
      top = VAlign == vtaTop ? R.Top + Rr + S : VAlign == vtaCenter ? R.Top + Rr + S - vc : R.Bottom;
      break;
    case 3:
      left = HAlign == taLeftJustify ? R.Left + Q + P : HAlign == taRightJustify ? R.Right : R.Right - (W - Q - P) / 2;
      top = VAlign == vtaTop ? R.Top + S : VAlign == vtaCenter ? R.Top + S - vc : R.Bottom - Rr;
      break;
    default:
      left = HAlign == taLeftJustify ? R.Left + Q : HAlign == taRightJustify ? R.Right - P : R.Left + (W + Q - P) / 2;
      top = VAlign == vtaTop ? R.Top : VAlign == vtaCenter ? R.Top - vc : R.Bottom - S - Rr;
      break;
  }
  R.Left = left;
  R.Top = top;
}
