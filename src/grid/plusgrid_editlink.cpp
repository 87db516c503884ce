#include "grid/plusgrid_editlink.h"

#include <algorithm>
#include <initializer_list>

#include "grid/plusgrid.h"
#include "platform/ui/forms.h"

namespace {

const TEnumInfo& EditStyleInfo() {
  static const TEnumInfo info{"TEditStyle", {"esInplace", "esPopup"}, 0};
  return info;
}

}  // namespace

// ---------------------------------------------------------------------------
// TEditLink

ZV_CLASS_IMPL(TEditLink, TComponent)

void TEditLink::DeclareProperties(TClassInfo& c) {
  c.Boolean<TEditLink>("WantKeyLeftRight", &TEditLink::WantKeyLeftRight, &TEditLink::SetWantKeyLeftRight, false);
  c.Boolean<TEditLink>("WantKeyUpDown", &TEditLink::WantKeyUpDown, &TEditLink::SetWantKeyUpDown, false);
  c.Boolean<TEditLink>("WantKeyHomeEnd", &TEditLink::WantKeyHomeEnd, &TEditLink::SetWantKeyHomeEnd, false);
  c.Boolean<TEditLink>("WantKeyPriorNext", &TEditLink::WantKeyPriorNext, &TEditLink::SetWantKeyPriorNext, false);
  c.Boolean<TEditLink>("WantKeyReturn", &TEditLink::WantKeyReturn, &TEditLink::SetWantKeyReturn, false);
  c.Boolean<TEditLink>("WantKeyEscape", &TEditLink::WantKeyEscape, &TEditLink::SetWantKeyEscape, false);
  c.Enum<TEditLink>("EditStyle", EditStyleInfo(), &TEditLink::EditStyle, &TEditLink::SetEditStyle, esInplace);
  c.Integer<TEditLink>("PopupWidth", &TEditLink::PopupWidth, &TEditLink::SetPopupWidth, 0);
  c.Integer<TEditLink>("PopupHeight", &TEditLink::PopupHeight, &TEditLink::SetPopupHeight, 0);
  c.Boolean<TEditLink>("AutoPopupWidth", &TEditLink::AutoPopupWidth, &TEditLink::SetAutoPopupWidth, false);
  c.Integer<TEditLink>("PopupLeft", &TEditLink::PopupLeft, &TEditLink::SetPopupLeft, -1);
  c.Integer<TEditLink>("PopupTop", &TEditLink::PopupTop, &TEditLink::SetPopupTop, -1);
}

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink() {
  Destroying();
  if (FGrid) {
    if (FGrid->CellEditLink() == this) FGrid->SetCellEditLink(nullptr);
    FGrid->RemoveFreeNotification(this);
  }
}

void TEditLink::SetGrid(TPlusStringGrid* v) {
  if (v == FGrid) return;
  if (FGrid) FGrid->RemoveFreeNotification(this);
  FGrid = v;
  if (v) v->FreeNotification(this);
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FGrid) FGrid = nullptr;
  if (AComponent == FPopupForm) FPopupForm = nullptr;
}

TForm* TEditLink::NeedPopupForm() {
  if (!FPopupForm) {
    // The link's own form: no other window is looked up or freed for it.
    FPopupForm = new TForm(this);
    FPopupForm->SetBorderStyle(bsNone);
    FPopupForm->OnDeactivate = [this](TObject*) { PopupDeactivated(); };
  }
  return FPopupForm;
}

void TEditLink::ActivateEditor(bool Value) {
  TWinControl* c = EditorControl();
  if (!c || !FGrid) return;
  if (Value) {
    if (!c->Visible()) c->SetVisible(true);
    if (!c->Enabled()) c->SetEnabled(true);
  }
  FGrid->HookEditLinkControl(c);
  if (Value) {
    if (c->CanFocus()) c->SetFocus();
  } else if (FGrid->CanFocus()) {
    FGrid->SetFocus();
  }
}

void TEditLink::PlaceEditor(TRect R) {
  TWinControl* c = EditorControl();
  if (!c) return;
  const int line = FGrid ? FGrid->GridLineWidth() : 0;
  c->SetBounds(R.Left, R.Top, R.Right - R.Left - line, R.Bottom - R.Top - line);
}

void TEditLink::ShowEditorControl(bool Value) {
  if (TWinControl* c = EditorControl()) c->SetVisible(Value);
}

void TEditLink::HideEditorControl() {
  TWinControl* c = EditorControl();
  if (!c) return;
  if (FGrid) FGrid->UnhookEditLinkControl(c);
  c->SetVisible(false);
}

void TEditLink::WriteValueToCell() {
  if (!FGrid) return;
  FGrid->SetCellFromEditor(FGrid->RealColIndex(FGrid->Col()), FGrid->Row(), ReadEditorValue());
}

void TEditLink::EndPopupEdit() {
  if (!FGrid) return;
  WriteValueToCell();
  FGrid->EndCellEdit();
  HideEditorControl();
  if (FEditStyle == esPopup && FPopupForm) {
    ReleaseEditor();
    FPopupForm->Hide();
  }
}

void TEditLink::PopupDeactivated() {
  if (!FGrid || !FGrid->EditorShowing()) return;
  if (FForcedExit) {
    WriteValueToCell();
    return;
  }
  EndPopupEdit();
  FGrid->SetPopupClosed(true);
}

void TEditLink::FocusGridForced() {
  const bool was = FForcedExit;
  FForcedExit = true;
  if (FGrid->CanFocus()) FGrid->SetFocus();
  FForcedExit = was;
}

void TEditLink::HandleEditorKey(TObject*, uint16_t& Key, TShiftState Shift) {
  TPlusStringGrid* g = FGrid;
  if (!g) return;
  auto is = [&](std::initializer_list<uint16_t> keys) {
    return std::find(keys.begin(), keys.end(), Key) != keys.end();
  };
  bool leave = is({VK_TAB, VK_RETURN, VK_ESCAPE, VK_PRIOR, VK_NEXT, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN});
  if ((FWantKeyUpDown && is({VK_UP, VK_DOWN})) || (FWantKeyLeftRight && is({VK_LEFT, VK_RIGHT})) ||
      (FWantKeyHomeEnd && Key == VK_END) || (FWantKeyPriorNext && is({VK_PRIOR, VK_NEXT})) ||
      (FWantKeyReturn && Key == VK_RETURN) || (FWantKeyEscape && Key == VK_ESCAPE))
    leave = false;
  if (!leave) return;
  if (Key == VK_ESCAPE) WriteEditorValue(g->EscapeText());
  {
    // The grid's own entering step would store and validate as well: the
    // value is stored and validated once, here.
    const bool leaving = g->FLeavingByKey;
    g->FLeavingByKey = true;
    try {
      FocusGridForced();
      g->StoreCellEditorValue(g->Col(), g->Row());
      g->SetEditorShowing(false);
      g->SelectCell(g->Col(), g->Row());
    } catch (...) {
      g->FLeavingByKey = leaving;
      throw;
    }
    g->FLeavingByKey = leaving;
  }
  if (Key == VK_RETURN && g->LastValidationPassed()) {
    g->AdvanceFromCell(g->Col(), g->Row(), true, false, !Shift.Contains(ssShift), true, false);
    Key = 0;
  } else if (!g->LastValidationPassed()) {
    // Rejected: the link opens again on the cell (unless validation did).
    g->FLastValidationPassed = true;
    if (!g->EditorShowing()) {
      const TPoint b = g->GetBaseCell(g->Col(), g->Row());
      g->ShowCellEditor(b.X, b.Y);
    }
  } else if (Key != VK_ESCAPE) {
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
      uint16_t k = Key;
      g->EditorKeyDown(k, Shift);
    }
    if (TWinControl* c = EditorControl()) c->SetEnabled(false);
    FocusGridForced();
  }
  // The key has done its work; the window system must not act on it again
  // (a Tab would move the focus on from the grid).
  Key = 0;
}

// ---------------------------------------------------------------------------
// The grid's side of the link

void TPlusStringGrid::SetCellEditLink(TEditLink* v) {
  if (v == FCellEditLink) return;
  if (FCellEditLink) FCellEditLink->RemoveFreeNotification(this);
  FCellEditLink = v;
  if (v) v->FreeNotification(this);
}

void TPlusStringGrid::HookEditLinkControl(TWinControl* Control) {
  if (!Control || Control == FEditLinkControl) return;
  if (FEditLinkControl) UnhookEditLinkControl(FEditLinkControl);
  FEditLinkControl = Control;
  FEditLinkOldProc = Control->WindowProc;
  Control->FreeNotification(this);
  Control->WindowProc = [this](TMessage& M) { EditLinkWindowProc(M); };
}

void TPlusStringGrid::UnhookEditLinkControl(TWinControl* Control) {
  if (!Control || Control != FEditLinkControl) return;
  Control->WindowProc = FEditLinkOldProc;
  Control->RemoveFreeNotification(this);
  FEditLinkControl = nullptr;
  FEditLinkOldProc = nullptr;
}

void TPlusStringGrid::EditLinkWindowProc(TMessage& M) {
  if (M.Msg == WM_GETDLGCODE && Options().Contains(goTabs)) {
    M.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
    return;
  }
  // The control may be unhooked while the message is handled.
  const std::function<void(TMessage&)> proc = FEditLinkOldProc;
  if (proc) proc(M);
}

void TPlusStringGrid::ShowCustomEditor(const TRect& R, int C, int ARow, TColor AColor, TFont* AFont) {
  TEditLink* link = FCellEditLink;
  if (!link) return;
  FEditorShowing = true;
  link->SetGrid(this);
  link->SetEditCell(C, ARow);
  TWinControl* parent = this;
  TRect place = R;
  if (link->EditStyle() == esPopup) {
    if (link->AutoPopupWidth()) link->SetPopupWidth(R.Right - R.Left);
    TForm* form = link->NeedPopupForm();
    TPoint at{link->PopupLeft(), link->PopupTop()};
    if (at.X == -1 || at.Y == -1) at = ClientToScreen(TPoint{R.Left, R.Top});
    form->SetBounds(at.X, at.Y, link->PopupWidth(), link->PopupHeight());
    form->Show();
    form->SetBounds(at.X, at.Y, link->PopupWidth(), link->PopupHeight());
    parent = form;
    place = Rect(0, 0, link->PopupWidth(), link->PopupHeight());
  }
  link->BuildEditor(parent);
  link->PlaceEditor(place);
  link->ShowEditorControl(true);
  link->ApplyCellLook(AColor, AFont);
  link->ApplyEditorSettings();
  if (OnGetEditorProp) OnGetEditorProp(this, C, ARow, link);
  link->WriteEditorValue(GetEditText(DisplColIndex(C), ARow));
  link->ActivateEditor(true);
  TWinControl* control = link->EditorControl();
  PostPendingChar(control);
  FActiveEditorControl = control;
}

void TPlusStringGrid::StoreCustomEditor(int C, int ARow) {
  TEditLink* link = FCellEditLink;
  SetCellFromEditor(C, ARow, link->ReadEditorValue());
  if (link->EditStyle() != esPopup) link->ShowEditorControl(false);
  link->HideEditorControl();
  FEditorShowing = false;
}

// ---------------------------------------------------------------------------
// TPlusRichEdit

ZV_CLASS_IMPL_NOPROPS(TPlusRichEdit, TRichEdit)

TPlusRichEdit::TPlusRichEdit(TComponent* AOwner)
    : TRichEdit(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {}

void TPlusRichEdit::Dispatch(TMessage& M) {
  if (M.Msg == CN_NOTIFY && M.LParam) {
    const auto* request = reinterpret_cast<const TReqResize*>(M.LParam);
    if (request->nmhdr.code == EN_REQUESTRESIZE) ResizeRequested(request->rc);
  }
  TRichEdit::Dispatch(M);
}

void TPlusRichEdit::ResizeRequested(const TRect& R) {
  TPlusStringGrid* g = FGrid;
  if (!g) return;
  const int h = R.Bottom - R.Top;
  if (this == g->RichRenderer()) {
    FReqWidth = R.Right - R.Left;
    FReqHeight = h;
    return;
  }
  if (this != g->RichEditor() || !g->SizeWhileTyping()->Height() || FLocked) return;
  const int row = g->Row();
  const TRect cell = g->CellRect(g->Col(), row);
  // The row grows with the text as long as it stays inside the grid.
  if (h > g->RowHeights(row) && cell.Top + h < g->ClientHeight()) {
    SetHeight(h + 4);
    g->SetRowHeights(row, h + 5);
    if (g->OnEndRowSize) g->OnEndRowSize(g, row);
  }
}

void TPlusRichEdit::WMKillFocus(TMessage& M) {
  // The focus goes elsewhere: the edit ends with the text stored, unless a
  // pop-up edit has just closed.
  if (FGrid && !FGrid->PopupClosed() && FGrid->EditorShowing() && FGrid->CurrentEditorType() == edRichEdit &&
      Visible())
    FGrid->EndCellEdit();
  TRichEdit::WMKillFocus(M);
}

void TPlusRichEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  TRichEdit::KeyDown(Key, Shift);
  TPlusStringGrid* g = FGrid;
  if (!g || (Key != VK_UP && Key != VK_DOWN) || g->WordWrap() || g->Multilinecells()) return;
  // One line per cell: Up and Down move to the neighbouring row.
  uint16_t k = Key;
  Key = 0;
  if (g->CanFocus()) g->SetFocus();
  g->EditorKeyDown(k, Shift);
}

void TPlusRichEdit::SelectionChange() {
  TRichEdit::SelectionChange();
  if (FGrid && this == FGrid->RichEditor() && FGrid->OnRichEditSelectionChange) FGrid->OnRichEditSelectionChange(FGrid);
}
