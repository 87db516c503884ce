#include "toolbar/tbextitems.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/ui/edges.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbmenuloop.h"

namespace {
TTBEditItemViewer* CurrentEdit = nullptr;

std::string ToCase(const std::string& s, TEditCharCase c) {
  std::string r = s;
  if (c == ecUpperCase) std::transform(r.begin(), r.end(), r.begin(), [](unsigned char ch) { return std::toupper(ch); });
  if (c == ecLowerCase) std::transform(r.begin(), r.end(), r.begin(), [](unsigned char ch) { return std::tolower(ch); });
  return r;
}

const TEnumInfo& CharCaseInfo() {
  static const TEnumInfo i{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}, 0};
  return i;
}
const TEnumInfo& EditOptionInfo() {
  static const TEnumInfo i{"TTBEditItemOption", {"tboUseEditWhenVertical"}, 0};
  return i;
}
}  // namespace

void TTBEditItem::DeclareProperties(TClassInfo& c) {
  c.Enum<TTBEditItem>(
      "CharCase", CharCaseInfo(), [](TTBEditItem* i) { return static_cast<int64_t>(i->CharCase()); },
      [](TTBEditItem* i, int64_t v) { i->SetCharCase(static_cast<TEditCharCase>(v)); }, ecNormal);
  c.String<TTBEditItem>("EditCaption", &TTBEditItem::EditCaption, &TTBEditItem::SetEditCaption);
  c.Set<TTBEditItem>(
      "EditOptions", EditOptionInfo(), [](TTBEditItem* i) { return static_cast<int64_t>(i->EditOptions().Bits()); },
      [](TTBEditItem* i, int64_t v) { i->SetEditOptions(TTBEditItemOptions::FromBits(static_cast<uint64_t>(v))); }, 0);
  c.Integer<TTBEditItem>("EditWidth", &TTBEditItem::EditWidth, &TTBEditItem::SetEditWidth, 64);
  c.Integer<TTBEditItem>("MaxLength", &TTBEditItem::MaxLength, &TTBEditItem::SetMaxLength, 0);
  c.String<TTBEditItem>("Text", &TTBEditItem::Text, &TTBEditItem::SetText);
  c.Boolean<TTBEditItem>("Enabled", &TTBEditItem::Enabled, &TTBEditItem::SetEnabled, true);
  c.Boolean<TTBEditItem>("Visible", &TTBEditItem::Visible, &TTBEditItem::SetVisible, true);
  c.String<TTBEditItem>("Caption", &TTBEditItem::Caption, &TTBEditItem::SetCaption, std::string());
  c.String<TTBEditItem>("Hint", &TTBEditItem::Hint, &TTBEditItem::SetHint, std::string());
}
ZV_CLASS_IMPL(TTBEditItem, TTBCustomItem)

TTBEditItem::TTBEditItem(TComponent* AOwner) : TTBCustomItem(AOwner) {}

void TTBEditItem::SetCharCase(TEditCharCase v) {
  if (v == FCharCase) return;
  FCharCase = v;
  SetText(FText);
}

void TTBEditItem::SetEditCaption(const std::string& v) {
  if (v == FEditCaption) return;
  FEditCaption = v;
  Change(true);
}

void TTBEditItem::SetEditOptions(TTBEditItemOptions v) {
  if (v == FEditOptions) return;
  FEditOptions = v;
  Change(true);
}

void TTBEditItem::SetEditWidth(int v) {
  if (v == FEditWidth) return;
  FEditWidth = v;
  Change(true);
}

void TTBEditItem::SetMaxLength(int v) {
  if (v == FMaxLength) return;
  FMaxLength = v;
  Change(false);
}

void TTBEditItem::SetText(const std::string& v) {
  std::string t = ToCase(v, FCharCase);
  if (t == FText) return;
  FText = t;
  Change(false);
}

bool TTBEditItem::UsesEditViewer(TTBView* View) const {
  return FEditOptions.Contains(tboUseEditWhenVertical) || View->Orientation() != tbvoVertical;
}

TTBItemViewer* TTBEditItem::NewViewer(TTBView* AView, int AGroupLevel) {
  if (UsesEditViewer(AView)) return new TTBEditItemViewer(AView, this, AGroupLevel);
  return new TTBItemViewer(AView, this, AGroupLevel);
}

bool TTBEditItem::NeedToRecreateViewer(TTBItemViewer* AViewer) {
  return (dynamic_cast<TTBEditItemViewer*>(AViewer) != nullptr) != UsesEditViewer(AViewer->View);
}

void TTBEditItem::DoBeginEdit(TTBEditItemViewer* Viewer) {
  if (OnBeginEdit) OnBeginEdit(this, Viewer, Viewer->EditControl());
}

// ---------------------------------------------------------------------------

TTBEditItemViewer* TTBEditItemViewer::Editing() { return CurrentEdit; }

void TTBEditItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
  AWidth = EditItem()->EditWidth();
  AHeight = TextHeightOf(Canvas) + 7;
  if (!IsToolbarStyle() && !EditItem()->EditCaption().empty())
    AWidth += TextWidthOf(Canvas, EditItem()->EditCaption(), true) + 10;
}

TRect TTBEditItemViewer::GetEditControlRect() {
  TRect r = BoundsRect;
  if (!IsToolbarStyle() && !EditItem()->EditCaption().empty()) {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(View->GetFont());
    r.Left += TextWidthOf(b.Canvas(), EditItem()->EditCaption(), true) + 10;
  }
  return r;
}

void TTBEditItemViewer::Paint(TCanvas* Canvas, const TRect& R, bool IsSelected, bool, bool UseDisabledShadow) {
  TRect box = R;
  bool enabled = Item->Enabled();
  if (!IsToolbarStyle() && !EditItem()->EditCaption().empty()) {
    int c = TextWidthOf(Canvas, EditItem()->EditCaption(), true);
    TRect cap = R;
    cap.Right = R.Left + c + 6;
    if (IsSelected) Canvas->FillRect(cap);
    TRect t = cap;
    t.Left += 3;
    DrawItemCaption(Canvas, t, DT_SINGLELINE | DT_VCENTER, UseDisabledShadow, EditItem()->EditCaption());
    box.Left = R.Left + c + 10;
  }
  if (IsSelected && enabled) {
    TRect e = box;
    DrawEdge(Canvas, e, BDR_SUNKENOUTER, BF_RECT);
  }
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(enabled ? clBtnFace : clWindow);
  Canvas->FrameRect(box);
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  Canvas->Brush()->SetColor(enabled ? clWindow : clBtnFace);
  Canvas->FillRect(box);
  box = TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
  if (!EditItem()->Text().empty()) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->SetColor(enabled ? clWindowText : clGrayText);
    TRect t = box;
    Canvas->DrawText(EditItem()->Text(), t, DT_SINGLELINE | DT_NOPREFIX);
  }
}

void TTBEditItemViewer::BeginEditFromMouse() {
  if (Item->Enabled()) Execute(true);
  else if (!View->ParentView() && !View->IsPopup()) View->EndModal();
}

void TTBEditItemViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) {
  if (IsPtInButtonPart(X, Y)) BeginEditFromMouse();
  else TTBItemViewer::MouseDown(Shift, X, Y, MouseDownOnMenu);
}

void TTBEditItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu) {
  // The edit began on the press; the release ends nothing.
  if (!IsPtInButtonPart(X, Y)) TTBItemViewer::MouseUp(X, Y, MouseWasDownOnMenu);
}

bool TTBEditItemViewer::DoExecute() {
  View->CancelChildPopups();
  bool close = RunEditControl();
  if (!close) return false;
  bool moveOn = (FEditStatus & esMoveOn) != 0;
  // Enter accepts the text and clicks the item.
  if (moveOn) View->EndModalWithClick(this);
  else View->EndModal();
  return moveOn;
}

void TTBEditItemViewer::AcceptEditText() {
  std::string text = FEdit->Text();
  bool accept = true;
  if (EditItem()->OnAcceptText) EditItem()->OnAcceptText(reinterpret_cast<TObject*>(this), text, accept);
  if (accept) EditItem()->SetText(text);
}

bool TTBEditItemViewer::RunEditControl() {
  TRect b = GetEditControlRect();
  if (b.Width() <= 0 || b.Height() <= 0 || !View->Window()) return false;
  b = TRect(b.Left + 3, b.Top + 3, b.Right - 3, b.Bottom - 3);
  TShiftState tabShift;
  {
    std::unique_ptr<TEdit> edit = std::make_unique<TEdit>(nullptr);
    FEdit = edit.get();
    edit->SetVisible(false);
    edit->SetBorderStyle(bsNone);
    edit->Font()->Assign(View->GetFont());
    edit->SetCharCase(EditItem()->CharCase());
    edit->SetMaxLength(EditItem()->MaxLength());
    edit->SetText(EditItem()->Text());
    edit->SetBoundsRect(b);
    edit->SetParent(View->Window());
    edit->SelectAll();
    TTBEditItemViewer* previous = CurrentEdit;
    CurrentEdit = this;
    struct TRestore {
      TTBEditItemViewer* V;
      TTBEditItemViewer* Prev;
      ~TRestore() {
        CurrentEdit = Prev;
        V->FEdit = nullptr;
      }
    } restore{this, previous};
    EditItem()->DoBeginEdit(this);
    edit->Show();
    if (edit->CanFocus()) edit->SetFocus();
    FEditStatus = esEditing;
    TNestedEventLoop loop;
    loop.ShouldQuit = [this] {
      return !(FEditStatus & esEditing) || View->ModalEnded() || !Item->Enabled();
    };
    loop.Run([this, &tabShift](const TInputEvent& e) -> TInputRoute {
      if (!(FEditStatus & esEditing)) {
        // The edit has ended: what follows in this pass is for the menu.
        if (TTBModalHandler* h = TTBModalHandler::Active()) return h->HandleInput(e);
        return irSwallow;
      }
      switch (e.Kind) {
        case ikKeyDown:
          if (e.Key == VK_TAB) {
            tabShift = e.Shift;
            FEditStatus = esMoveOn;
            AcceptEditText();
            return irSwallow;
          }
          if (e.Key == VK_RETURN) {
            FEditStatus = esMoveOn | esClose;
            AcceptEditText();
            return irSwallow;
          }
          if (e.Key == VK_ESCAPE) {
            FEditStatus = 0;
            return irSwallow;
          }
          if (e.Key == VK_MENU) {
            FEditStatus = esClose;
            return irSwallow;
          }
          return irPass;
        case ikKeyUp:
          return irPass;
        case ikMouseDown:
        case ikMouseDblClick:
          if (e.Target != FEdit) {
            // A press elsewhere ends the edit; the menu loop then handles it.
            FEditStatus = 0;
            return irRepostAfter;
          }
          return irPass;
        default:
          return e.Target == FEdit ? irPass : irSwallow;
      }
    });
  }
  if (View->Window()) View->Window()->Invalidate();
  if (!(FEditStatus & esClose) && (FEditStatus & esMoveOn)) {
    View->SetSelected(View->NextSelectable(this, !tabShift.Contains(ssShift)));
  }
  return (FEditStatus & esClose) != 0;
}
