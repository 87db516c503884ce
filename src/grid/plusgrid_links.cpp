// Links and form controls in cell markup: following anchors and URL cells,
// jumps to other cells, toggling embedded check boxes, pressing embedded
// buttons and editing embedded edit, password, mask and combo controls in
// place. Links open only web and mail targets: a cell's text is data, and a
// local path or a program in it must never start anything.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/shell.h"

namespace {

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

TPlusStringGrid* GridOf(TControl* C) { return dynamic_cast<TPlusStringGrid*>(C->Owner()); }

// Enter and Tab of both control editors.
void ControlEditorKey(TWinControl* Editor, char& Key) {
  TPlusStringGrid* g = GridOf(Editor);
  if (!g || (Key != '\r' && Key != '\t')) return;
  const bool tab = Key == '\t';
  Key = 0;
  const TPoint cell = g->ControlCell();
  const std::string id = g->ControlID();
  g->EndCellControlEdit();
  if (tab) {
    g->ShowNextCellControlEditor(cell.X, cell.Y, id);
  } else if (g->CanFocus()) {
    g->SetFocus();
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The control editors

ZV_CLASS_IMPL_NOPROPS(TControlEdit, TMaskEdit)

TControlEdit::TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}

void TControlEdit::WMGetDlgCode(TMessage& M) {
  TMaskEdit::WMGetDlgCode(M);
  M.Result = (M.Result | DLGC_WANTTAB) & ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
}

void TControlEdit::KeyPress(char& Key) {
  ControlEditorKey(this, Key);
  if (Key) TMaskEdit::KeyPress(Key);
}

ZV_CLASS_IMPL_NOPROPS(TControlCombo, TASGComboBox)

TControlCombo::TControlCombo(TComponent* AOwner) : TASGComboBox(AOwner) {}

void TControlCombo::WMGetDlgCode(TMessage& M) {
  TASGComboBox::WMGetDlgCode(M);
  M.Result |= DLGC_WANTTAB;
}

void TControlCombo::KeyPress(char& Key) {
  ControlEditorKey(this, Key);
  if (Key) TASGComboBox::KeyPress(Key);
}

// ---------------------------------------------------------------------------
// The grid

TControlEdit* TPlusStringGrid::ControlEdit() {
  if (!FControlEdit) {
    FControlEdit = new TControlEdit(this);
    FControlEdit->SetVisible(false);
    FControlEdit->SetParent(this);
    FControlEdit->OnExit = [this](TObject*) { EndCellControlEdit(); };
  }
  return FControlEdit;
}

TControlCombo* TPlusStringGrid::ControlCombo() {
  if (!FControlCombo) {
    FControlCombo = new TControlCombo(this);
    FControlCombo->SetVisible(false);
    FControlCombo->SetParent(this);
    FControlCombo->OnExit = [this](TObject*) { EndCellControlEdit(); };
  }
  return FControlCombo;
}

bool TPlusStringGrid::IsOpenableLink(const std::string& Anchor) {
  // No blanks or control characters around or inside the target.
  for (unsigned char c : Anchor)
    if (c <= 0x20 || c == 0x7F) return false;
  const size_t colon = Anchor.find(':');
  if (colon == std::string::npos || colon == 0) return false;
  const std::string scheme = LowerAscii(Anchor.substr(0, colon));
  if (scheme == "mailto") return Anchor.size() > colon + 1;
  if (scheme != "http" && scheme != "https" && scheme != "ftp") return false;
  // A host must follow: "http:" alone or "http:/x" is no web address.
  return Anchor.compare(colon, 3, "://") == 0 && Anchor.size() > colon + 3 && Anchor[colon + 3] != '/';
}

void TPlusStringGrid::FollowCellLink(const std::string& Anchor) {
  const size_t at = UpperCase(Anchor).find("CELL://");
  if (at != std::string::npos) {
    int c = 0, r = 0;
    if (!ParseRCCellRef(Anchor.substr(at + 7), c, r)) return;
    // A reference outside the grid is no place to go.
    if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) return;
    SetCurrentRow(r);
    SetCol(c);
    ScrollInView(c, r);
    return;
  }
  if (IsOpenableLink(Anchor)) OpenURL(Anchor);
}

TRect TPlusStringGrid::CellTextRect(int ACol, int ARow) {
  // The merged area in client coordinates, placed from the cell's own rectangle.
  const TRect own = GetCellRect(ACol, ARow), cr = CellRect(ACol, ARow);
  TRect m = GetMergedCellRect(ACol, ARow);
  const int dx = cr.Left - own.Left, dy = cr.Top - own.Top;
  m = TRect(m.Left + dx, m.Top + dy, m.Right + dx, m.Bottom + dy);
  // Where the painter starts the markup.
  m.Left += FCellTextOffset.X - 1;
  m.Top += FCellTextOffset.Y;
  if (HasCheckBox(ACol, ARow)) m.Left += FControlLook->CheckSize();
  return m;
}

bool TPlusStringGrid::CellLinkAt(int ACol, int ARow, int X, int Y, TCellLinkHit& Hit) {
  Hit = TCellLinkHit{};
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return false;
  const int real = RealColIndex(ACol);
  const std::string text = GetCellText(real, ARow);
  const TCellTextKind kind = GetCellTextKind(text, FEnableHTML);
  if (kind == ckHTML) {
    THTMLDrawOptions o;
    o.X = X;
    o.Y = Y;
    o.CheckOnly = true;
    o.Images = FGridImages;
    o.WordWrap = !FEnhTextSize;
    o.PictureCache = FPictureCache.get();
    o.PictureContainer = PictureContainer();
    const THTMLDrawResult res = DrawHTML(Canvas(), text, CellTextRect(ACol, ARow), o);
    if (!res.Hit) return false;
    Hit.Anchor = res.AnchorVal;
    Hit.ControlID = res.ControlID;
    Hit.ControlType = UpperCase(res.ControlType);
    Hit.ControlValue = res.ControlValue;
    Hit.ControlRect = res.ControlRect;
    return true;
  }
  if (kind == ckPlain && FURLShow && IsURL(text)) {
    Hit.Anchor = text;
    return true;
  }
  return false;
}

bool TPlusStringGrid::ClickCellLink(int ACol, int ARow, int X, int Y) {
  TCellLinkHit hit;
  if (!CellLinkAt(ACol, ARow, X, Y, hit)) return false;
  CellLinkClick(ACol, ARow, hit);
  return true;
}

void TPlusStringGrid::CellLinkClick(int ACol, int ARow, const TCellLinkHit& Hit) {
  bool autoHandle = true;
  const int real = RealColIndex(ACol);
  std::string anchor = Hit.Anchor;
  if (!Hit.ControlID.empty()) {
    bool allow = true;
    if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, allow);
    if (allow) {
      if (FControlEditOpen) EndCellControlEdit();
      std::string text = GetCellText(real, ARow);
      if (Hit.ControlType == "BUTTON") {
        FControlCell = TPoint{real, ARow};
        FControlButtonDown = true;
        RepaintRect(TGridRect{ACol, ARow, ACol, ARow});
      } else if (Hit.ControlType == "CHECK") {
        SetHTMLControlValue(text, Hit.ControlID, Hit.ControlValue == "TRUE" ? "FALSE" : "TRUE");
        SetCellText(real, ARow, text);
      }
      if (OnControlClick) OnControlClick(this, ARow, ACol, Hit.ControlID, Hit.ControlType, Hit.ControlValue);
      ShowCellControlEditor(text, Hit.ControlType, ARow, real, ACol, Hit.ControlRect, Hit.ControlValue,
                            Hit.ControlID);
      return;
    }
    anchor = "ctrl";
  }
  if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
  // A refused control is no link to follow.
  if (autoHandle && Hit.ControlID.empty() && !anchor.empty()) FollowCellLink(anchor);
}

void TPlusStringGrid::ReleaseControlButton() {
  if (!FControlButtonDown) return;
  FControlButtonDown = false;
  const int c = DisplColIndex(FControlCell.X);
  if (c >= 0 && FControlCell.Y >= 0) RepaintRect(TGridRect{c, FControlCell.Y, c, FControlCell.Y});
}

void TPlusStringGrid::ShowCellControlEditor(const std::string& CellText, const std::string& CtrlType, int ARow,
                                            int ACol, int ADisplayCol, const TRect& ControlRect,
                                            const std::string& CtrlValue, const std::string& CtrlID) {
  const std::string type = UpperCase(CtrlType);
  const TRect& r = ControlRect;
  if (type == "EDIT" || type == "PASSWORD" || type == "MASK") {
    FControlCell = TPoint{ACol, ARow};
    FControlID = CtrlID;
    FControlType = type;
    FControlEditOpen = true;
    TControlEdit* e = ControlEdit();
    e->SetWidth(0);
    e->SetPasswordChar(type == "PASSWORD" ? '*' : '\0');
    e->SetEditMask(type == "MASK" ? GetHTMLControlProp(CellText, CtrlID) : std::string());
    e->SetText(CtrlValue);
    e->SetBorderStyle(bsNone);
    e->SetBounds(r.Left + 1, r.Top + 4, std::max(0, r.Right - r.Left - 4), std::max(0, r.Bottom - r.Top - 4));
    e->SetVisible(true);
    e->BringToFront();
    if (e->CanFocus()) e->SetFocus();
  } else if (type == "COMBO") {
    FControlCell = TPoint{ACol, ARow};
    FControlID = CtrlID;
    FControlType = type;
    FControlValue = CtrlValue;
    FControlEditOpen = true;
    TControlCombo* c = ControlCombo();
    c->SetIsWinXP(FXPFlag);
    c->Items()->Clear();
    bool edit = true;
    int dropCount = 8;
    if (OnControlComboList) {
      TStringList values;
      OnControlComboList(this, ARow, ADisplayCol, CtrlID, CtrlType, CtrlValue, &values, edit, dropCount);
      c->Items()->Assign(values);
    }
    c->SetStyle(edit ? csDropDown : csDropDownList);
    c->SetItemIndex(c->Items()->IndexOf(CtrlValue));
    c->SetText(CtrlValue);
    c->SetDropDownCount(dropCount);
    c->SetBounds(r.Left + 1, r.Top + 4, std::max(0, r.Right - r.Left - 4), c->ItemHeight() * (dropCount + 2));
    c->SetVisible(true);
    if (c->CanFocus()) {
      c->SetDroppedDown(true);
      c->SetFocus();
    }
  }
}

void TPlusStringGrid::EndCellControlEdit() {
  if (!FControlEditOpen) return;
  // Closed first: hiding the editor takes its focus, whose exit comes back here.
  FControlEditOpen = false;
  std::string value;
  const TPoint cell = FControlCell;
  const std::string id = FControlID, type = FControlType;
  if (type == "COMBO") {
    // A list-only combo cannot show a value outside its list; nothing chosen
    // keeps the value the control had.
    const bool listOnly = FControlCombo->Style() == csDropDownList;
    value = listOnly && FControlCombo->ItemIndex() < 0 ? FControlValue : FControlCombo->Text();
    FControlCombo->SetVisible(false);
  } else {
    value = FControlEdit->Text();
    FControlEdit->SetVisible(false);
  }
  if (cell.X >= 0 && cell.Y >= 0 && cell.Y < RowCount() && cell.X < GetAllColCount()) {
    std::string text = GetCellText(cell.X, cell.Y);
    if (SetHTMLControlValue(text, id, value)) SetCellText(cell.X, cell.Y, text);
  }
  FControlType.clear();
  if (OnControlEditDone) OnControlEditDone(this, cell.Y, cell.X, id, type, value);
}

void TPlusStringGrid::ShowNextCellControlEditor(int ACol, int ARow, const std::string& AfterID) {
  if (ACol < 0 || ARow < 0 || ARow >= RowCount() || ACol >= GetAllColCount()) return;
  const std::string text = GetCellText(ACol, ARow);
  const std::string next = NextHTMLEditControlID(text, AfterID);
  if (next.empty()) {
    if (CanFocus()) SetFocus();
    return;
  }
  const int displ = DisplColIndex(ACol);
  THTMLDrawOptions o;
  o.CheckOnly = true;
  o.CalcOnly = true;
  o.ControlID = next;
  o.Images = FGridImages;
  o.WordWrap = !FEnhTextSize;
  o.PictureCache = FPictureCache.get();
  o.PictureContainer = PictureContainer();
  const THTMLDrawResult res = DrawHTML(Canvas(), text, CellTextRect(displ, ARow), o);
  ShowCellControlEditor(text, res.ControlType, ARow, ACol, displ,
                        res.ControlRect, res.ControlValue, next);
}
