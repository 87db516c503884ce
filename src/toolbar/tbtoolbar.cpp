#include "toolbar/tbtoolbar.h"

#include <algorithm>
#include <climits>

#include "platform/gfx/colors.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/appkeys.h"
#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbfloating.h"
#include "toolbar/tbhook.h"

const char* const kTBChevronDefaultHint = "More Buttons|";

ZV_CLASS_IMPL_NOPROPS(TTBChevronItem, TTBCustomItem)
ZV_CLASS_IMPL_NOPROPS(TTBToolbarView, TTBView)

namespace {

std::string ShortHint(const std::string& H) {
  const size_t Bar = H.find('|');
  return Bar == std::string::npos ? H : H.substr(0, Bar);
}

// 8 x 8 one-bit glyphs, most significant bit leftmost.
constexpr uint8_t kChevronGlyphHorizontal[8] = {0xCC, 0x66, 0x33, 0x66, 0xCC, 0, 0, 0};
constexpr uint8_t kChevronGlyphVertical[8] = {0x88, 0xD8, 0x70, 0x20, 0x88, 0xD8, 0x70, 0x20};

void DrawChevronGlyph(TCanvas* Canvas, int X, int Y, const uint8_t* Glyph, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  for (int Row = 0; Row < 8; ++Row)
    for (int Col = 0; Col < 8; ++Col)
      if (Glyph[Row] & (0x80 >> Col)) Canvas->FillRect(Rect(X + Col, Y + Row, X + Col + 1, Y + Row + 1));
}

// Shortcut routing over the registered toolbars.
std::unique_ptr<std::vector<TTBCustomToolbar*>> gShortCutToolbars;
uintptr_t gAppKeyProc = 0;

TCustomForm* FormOfToolbar(TTBCustomToolbar* T) {
  if (TCustomForm* F = GetParentForm(T)) return F;
  return dynamic_cast<TCustomForm*>(T->Owner());
}

// The form that owns the window the key is for.
TCustomForm* ActiveFormWindow() {
  if (TWinControl* T = AppKeyTarget()) {
    TCustomForm* F = GetParentForm(T);
    while (F && F->Parent()) {
      TCustomForm* Outer = GetParentForm(F->Parent());
      if (!Outer) break;
      F = Outer;
    }
    if (F) return F;
  }
  return Screen ? Screen->ActiveForm() : nullptr;
}

// A form whose window takes input: enabled, and not kept waiting by a modal
// form shown over it (the window system disables the others while one
// runs; here the forms stay enabled, so the modal state is asked).
bool FormWindowEnabled(TCustomForm* Form) {
  if (!Form->Enabled()) return false;
  if (Form->FormState().Contains(fsModal) || !Screen) return true;
  for (int I = 0; I < Screen->FormCount(); ++I) {
    TCustomForm* F = Screen->Forms(I);
    if (F != Form && F->Visible() && F->FormState().Contains(fsModal)) return false;
  }
  return true;
}

bool ProcessFormShortCut(TCustomForm* Form, TMessage& Message) {
  if (!gShortCutToolbars) return false;
  const std::vector<TTBCustomToolbar*> List = *gShortCutToolbars;
  for (TTBCustomToolbar* T : List) {
    if (!gShortCutToolbars || std::find(gShortCutToolbars->begin(), gShortCutToolbars->end(), T) == gShortCutToolbars->end())
      continue;  // unregistered by an earlier shortcut
    if (!T->ProcessShortCuts() || FormOfToolbar(T) != Form || !FormWindowEnabled(Form)) continue;
    if (T->DoShortCut(Message)) {
      Message.Result = 1;
      return true;
    }
  }
  return false;
}

bool SendSysCommandToMenuBars(TWinControl* Control, TMessage& SysCommand) {
  if (!Control->Showing()) return false;
  for (int I = 0; I < Control->ControlCount(); ++I) {
    TControl* C = Control->Controls(I);
    if (!C->Visible() || !C->Enabled()) continue;
    if ((dynamic_cast<TTBDock*>(C) || dynamic_cast<TTBCustomToolbar*>(C)) && C->ControlStyle().Contains(csMenuEvents))
      if (C->Perform(WM_SYSCOMMAND, SysCommand.WParam, SysCommand.LParam) != 0) return true;
    if (auto* W = dynamic_cast<TWinControl*>(C))
      if (SendSysCommandToMenuBars(W, SysCommand)) return true;
  }
  return false;
}

bool ToolbarApplicationHook(TMessage& Message) {
  if (Message.Msg == CM_APPKEYDOWN) {
    if (!gShortCutToolbars) return false;
    TCustomForm* F = ActiveFormWindow();
    if (!F) return false;
    if (ProcessFormShortCut(F, Message)) return true;
    TCustomForm* Main = Application ? Application->MainForm() : nullptr;
    return Main && Main != F && ProcessFormShortCut(Main, Message);
  }
  if (Message.Msg == CM_APPSYSCOMMAND) {
    TCustomForm* F = ActiveFormWindow();
    if (!F || !FormWindowEnabled(F) || !F->Visible()) return false;
    TMessage S;
    S.Msg = WM_SYSCOMMAND;
    S.WParam = Message.WParam;
    S.LParam = Message.LParam;
    if (!SendSysCommandToMenuBars(F, S)) return false;
    Message.Result = 1;
    return true;
  }
  return false;
}

// Alt+character typed into an MDI client goes to the frame form; the forms
// of this program have no MDI client, so messages keep their target.
void MenuBarMessageHook(THookCode, HWND, WPARAM, LPARAM) {}

// Restores a value when the scope ends, also on failure.
template <class T>
struct TRestoreValue {
  T& Ref;
  T Old;
  explicit TRestoreValue(T& R) : Ref(R), Old(R) {}
  ~TRestoreValue() { Ref = Old; }
};

}  // namespace

// ---- chevron

TTBChevronItem::TTBChevronItem(TComponent* AOwner)
    : TTBCustomItem(AOwner), FToolbar(dynamic_cast<TTBCustomToolbar*>(AOwner)) {
  SetItemStyle(ItemStyle() | tbisSubmenu | tbisNoAutoOpen);
  SetHint(kTBChevronDefaultHint);
  SetCaption(DoubleAmpersands(ShortHint(kTBChevronDefaultHint)));
}

TTBView* TTBChevronItem::GetChevronParentView() { return FToolbar ? FToolbar->View() : nullptr; }

TTBItemViewer* TTBChevronItem::NewViewer(TTBView* AView, int AGroupLevel) {
  return new TTBChevronItemViewer(AView, this, AGroupLevel);
}

void TTBChevronItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                                 bool) {
  TRect R = ClientAreaRect;
  const bool Enabled = Item->Enabled();
  if (Enabled) {
    if (IsPushed)
      DrawEdge(Canvas, R, BDR_SUNKENOUTER, BF_RECT);
    else if (IsSelected && !Item->ComponentState().Contains(csDesigning))
      DrawEdge(Canvas, R, BDR_RAISEDINNER, BF_RECT);
  }
  const bool Vertical = View->Orientation() == tbvoVertical;
  int X = Vertical ? ClientAreaRect.Right - 9 : ClientAreaRect.Left + 2;
  int Y = Vertical ? ClientAreaRect.Top + 2 : ClientAreaRect.Top + 4;
  if (IsPushed) {
    ++X;
    ++Y;
  }
  const uint8_t* Glyph = Vertical ? kChevronGlyphVertical : kChevronGlyphHorizontal;
  if (Enabled) {
    DrawChevronGlyph(Canvas, X, Y, Glyph, clBtnText);
  } else {
    DrawChevronGlyph(Canvas, X, Y + 1, Glyph, clBtnHighlight);
    DrawChevronGlyph(Canvas, X, Y, Glyph, clBtnShadow);
  }
}

// ---- toolbar view

TTBToolbarView::TTBToolbarView(TTBCustomToolbar* AToolbar, TTBCustomItem* AParentItem, bool AUsePriorityList)
    : TTBView(AToolbar, nullptr, AParentItem, AToolbar, true, false, AUsePriorityList), FToolbar(AToolbar) {
  // The chevron viewer comes with the viewers, now that it can be asked for.
  RecreateAllViewers();
}

TPoint TTBToolbarView::ContentOrigin() { return FToolbar->ClientRect().TopLeft(); }

void TTBToolbarView::SizeWindow(int AWidth, int AHeight) {
  const TPoint OldBase = FToolbar->FBaseSize;
  FToolbar->FBaseSize = FBaseSize;
  if (!FToolbar->Docked()) return;
  if (OldBase != FBaseSize || TPoint(AWidth, AHeight) != FToolbar->PresentClientSize()) FToolbar->Arrange();
}

void TTBToolbarView::DoUpdatePositions(TPoint& ASize) {
  FToolbar->ShrunkLength = 0;
  ASize = FToolbar->RowCrossSize();
  if (FToolbar->FullSize) {
    if (Orientation() == tbvoVertical)
      ASize.Y = std::max<int>(ASize.Y, WrapOffset());
    else
      ASize.X = std::max<int>(ASize.X, WrapOffset());
  }
  const TPoint Minimum = ASize;
  ++FToolbar->FDisableAlignArrange;
  struct TDone {
    TTBCustomToolbar* T;
    ~TDone() { --T->FDisableAlignArrange; }
  } Done{FToolbar};
  TTBView::DoUpdatePositions(ASize);
  ASize.X = std::max<int>(ASize.X, Minimum.X);
  ASize.Y = std::max<int>(ASize.Y, Minimum.Y);
}

TTBCustomItem* TTBToolbarView::QueryChevronItem() { return FToolbar->ChevronItem(); }

TFont* TTBToolbarView::GetFont() { return FToolbar->SystemFont() ? ToolbarMenuFont() : FToolbar->Font(); }

void TTBToolbarView::InvalidatePositions() {
  FToolbar->ShrunkLength = 0;
  TTBView::InvalidatePositions();
}

// ---- candidate floating sizes and the resize drag

std::vector<TPoint> ListFloatingSizes(int MinWidth, const TTBTrialLayout& TrialLayout) {
  std::vector<TPoint> List;
  int Rows = 0;
  const TPoint First = TrialLayout(0, Rows);
  List.push_back(First);
  int PrevRows = 1;
  int I = First.X - 1;
  while (I >= MinWidth) {
    const TPoint S = TrialLayout(I, Rows);
    if (S.X > I) break;  // no narrower layout exists
    if (S.X == I) {
      if (Rows == PrevRows)
        List.back() = S;
      else
        List.push_back(S);
      PrevRows = Rows;
      --I;
    } else {
      I = S.X;
    }
  }
  return List;
}

void TToolbarSizeData::Start(int Handle, int Width, int Height, int FrameOffset, int FloatingWidth,
                             std::vector<TPoint> Candidates) {
  SizeHandle = Handle;
  OrigWidth = Width;
  OrigHeight = Height;
  NCXDiff = FrameOffset;
  CurRightX = FloatingWidth;
  DisableSensCheck = false;
  OpSide = false;
  SizeList = std::move(Candidates);
  const bool Vertical = Handle == 2 || Handle == 5;
  std::stable_sort(SizeList.begin(), SizeList.end(),
                   [Vertical](TPoint A, TPoint B) { return Vertical ? A.Y > B.Y : A.X > B.X; });
  DistanceToSmallerSize = DistanceToLargerSize = 0;
  const int N = static_cast<int>(SizeList.size());
  for (int K = 0; K < N; ++K) {
    if (SizeList[K] != TPoint(Width, Height)) continue;
    auto Extent = [Vertical](TPoint P) { return Vertical ? P.Y : P.X; };
    const int Orig = Vertical ? Height : Width;
    if (K > 0) DistanceToLargerSize = std::min(12, Extent(SizeList[K - 1]) - Orig);
    if (K < N - 1) DistanceToSmallerSize = std::min(12, Orig - Extent(SizeList[K + 1]));
    break;
  }
}

void TToolbarSizeData::RectChanging(TRect& R, const TRect& Orig) {
  if (SizeList.empty()) return;
  const bool Vertical = SizeHandle == 2 || SizeHandle == 5;
  const int W = R.Width(), H = R.Height();
  int Dragged = Vertical ? H : W;
  const int OrigExtent = Vertical ? OrigHeight : OrigWidth;
  const bool Shrinking = Dragged < OrigExtent;
  if (!DisableSensCheck || OpSide != Shrinking) {
    DisableSensCheck = false;
    OpSide = Shrinking;
    if (OrigExtent - DistanceToSmallerSize < Dragged && Dragged < OrigExtent + DistanceToLargerSize) Dragged = OrigExtent;
  }
  R = Orig;
  const bool Growing = Dragged > OrigExtent;
  const int N = static_cast<int>(SizeList.size());
  int Found = -1;
  if (Vertical) {
    if (Growing) {
      for (int K = N - 1; K >= 0; --K)
        if (SizeList[K].Y >= Dragged) {
          Found = K;
          break;
        }
      if (Found < 0) Found = 0;
    } else {
      for (int K = 0; K < N; ++K)
        if (SizeList[K].Y <= Dragged) {
          Found = K;
          break;
        }
      if (Found < 0) Found = N - 1;
    }
    const TPoint S = SizeList[Found];
    CurRightX = Found == N - 1 ? 0 : S.X - NCXDiff * 2;
    if (SizeHandle == 5)
      R.Bottom = R.Top + S.Y;
    else
      R.Top = R.Bottom - S.Y;
    R.Right = R.Left + S.X;
  } else {
    if (Growing) {
      for (int K = N - 1; K >= 0; --K)
        if (SizeList[K].X >= Dragged) {
          Found = K;
          break;
        }
      if (Found < 0) Found = 0;
    } else {
      for (int K = 0; K < N; ++K)
        if (SizeList[K].X <= Dragged) {
          Found = K;
          break;
        }
      if (Found < 0) Found = N - 1;
    }
    const TPoint S = SizeList[Found];
    CurRightX = Found == 0 ? 0 : S.X - NCXDiff * 2;
    if (SizeHandle == 1)
      R.Right = R.Left + S.X;
    else
      R.Left = R.Right - S.X;
    R.Bottom = R.Top + S.Y;
  }
  if (R != Orig) DisableSensCheck = true;
}

// ---- toolbar

void TTBCustomToolbar::DeclareProperties(TClassInfo& c) {
  c.Boolean<TTBCustomToolbar>("MenuBar", &TTBCustomToolbar::MenuBar, &TTBCustomToolbar::SetMenuBar, false);
  c.Boolean<TTBCustomToolbar>("ProcessShortCuts", &TTBCustomToolbar::ProcessShortCuts,
                              &TTBCustomToolbar::SetProcessShortCuts, false);
  c.Boolean<TTBCustomToolbar>("SystemFont", &TTBCustomToolbar::SystemFont, &TTBCustomToolbar::SetSystemFont, true);
  c.Boolean<TTBCustomToolbar>("UpdateActions", &TTBCustomToolbar::UpdateActions, &TTBCustomToolbar::SetUpdateActions,
                              true);
  c.Boolean<TTBCustomToolbar>("ChevronMoveItems", &TTBCustomToolbar::ChevronMoveItems,
                              &TTBCustomToolbar::SetChevronMoveItems, true);
  c.Integer<TTBCustomToolbar>("FloatingWidth", &TTBCustomToolbar::FloatingWidth, &TTBCustomToolbar::SetFloatingWidth,
                              0);
}
ZV_CLASS_IMPL(TTBCustomToolbar, TTBCustomDockableWindow)
ZV_CLASS_IMPL_NOPROPS(TTBToolbar, TTBCustomToolbar)

TTBCustomToolbar::TTBCustomToolbar(TComponent* AOwner) : TTBCustomDockableWindow(AOwner) {
  // Toolbars size by their edges only, and may be sized off the screen.
  CornerZones = false;
  ClipCursorWhileSizing = false;
  FControlStyle.Include(csAcceptsControls).Include(csActionClient).Exclude(csCaptureMouse);
  FItem = new TTBRootItem(nullptr);
  FItem->SetParentComponentDirect(this);
  FChevronItem = new TTBChevronItem(this);
  FChevronItem->SetLinkSubitems(FItem);
  FChevronHint = kTBChevronDefaultHint;
  FView = new TTBToolbarView(this, FItem, !IsDesigning());
  FView->SetBackgroundColor(clBtnFace);
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 23, 22);
}

TTBCustomToolbar::~TTBCustomToolbar() {
  Destroying();
  if (FMenuBarHooked) UnregisterHookHandler(this, MenuBarMessageHook);
  FMenuBarHooked = false;
  UnregisterShortCuts();
  delete FView;
  FView = nullptr;
  delete FChevronItem;
  FChevronItem = nullptr;
  delete FItem;
  FItem = nullptr;
}

void TTBCustomToolbar::SetChevronHint(const std::string& V) {
  if (FChevronHint == V) return;
  FChevronHint = V;
  FChevronItem->SetHint(V);
  FChevronItem->SetCaption(DoubleAmpersands(ShortHint(V)));
}

void TTBCustomToolbar::SetChevronMoveItems(bool V) {
  if (FChevronMoveItems == V) return;
  FChevronMoveItems = V;
  FView->SetUsePriorityList(V && !IsDesigning());
}

void TTBCustomToolbar::SetChevronPriorityForNewItems(TTBChevronPriorityForNewItems V) {
  FChevronPriorityForNewItems = V;
  FView->SetNewViewersGetHighestPriority(V == tbcpHighest);
}

void TTBCustomToolbar::SetFloatingWidth(int V) {
  if (FFloatingWidth == V) return;
  FFloatingWidth = V;
  if (Floating()) {
    UpdateViewLayoutSettings();
    Arrange();
  }
}

void TTBCustomToolbar::SetMenuBar(bool V) {
  if (FMenuBar == V) return;
  FMenuBar = V;
  if (V) {
    FControlStyle.Include(csMenuEvents);
    FView->SetStyle(FView->Style() | vsMenuBar | vsUseHiddenAccels);
  } else {
    FControlStyle.Exclude(csMenuEvents);
    FView->SetStyle(FView->Style() & ~(vsMenuBar | vsUseHiddenAccels));
  }
  if (!ComponentState().Contains(csLoading)) {
    SetFullSize(V);
    SetShrinkMode(V ? tbsmWrap : tbsmChevron);
    SetCloseButton(!V);
    SetProcessShortCuts(V);
  }
  if (V && !IsDesigning()) {
    if (!FMenuBarHooked) RegisterHookHandler(this, MenuBarMessageHook, {hcGetMessage});
    FMenuBarHooked = true;
  } else if (FMenuBarHooked) {
    UnregisterHookHandler(this, MenuBarMessageHook);
    FMenuBarHooked = false;
  }
  UpdateShortCutRegistration();
}

void TTBCustomToolbar::SetProcessShortCuts(bool V) {
  if (FProcessShortCuts == V) return;
  FProcessShortCuts = V;
  UpdateShortCutRegistration();
}

void TTBCustomToolbar::SetShrinkMode(TTBShrinkMode V) {
  if (FShrinkMode == V) return;
  FShrinkMode = V;
  if (Docked())
    CurrentDock()->ArrangeWindows();
  else if (!Floating())
    Arrange();
}

void TTBCustomToolbar::SetSystemFont(bool V) {
  if (FSystemFont == V) return;
  FSystemFont = V;
  FView->InvalidatePositions();
  Arrange();
}

// ---- control items

TTBControlItem* TTBCustomToolbar::CreateControlItem(int Index, TControl* AControl) {
  auto* Item = new TTBControlItem(Owner());
  Item->SetControl(AControl);
  if (IsDesigning() && Owner()) {
    for (int N = 1;; ++N) {
      const std::string Name = "TBControlItem" + std::to_string(N);
      if (!Owner()->FindComponent(Name)) {
        Item->SetName(Name);
        break;
      }
    }
  }
  FItem->Insert(Index, Item);
  return Item;
}

TTBControlItem* TTBCustomToolbar::FindControlItem(TControl* AControl) {
  for (int I = 0; I < FItem->Count(); ++I)
    if (auto* C = dynamic_cast<TTBControlItem*>(FItem->Items(I)); C && C->Control() == AControl) return C;
  return nullptr;
}

void TTBCustomToolbar::GetTabOrderList(std::vector<TWinControl*>& List) {
  const size_t from = List.size();
  AddTabOrderList(this, List);
  std::vector<TWinControl*> hidden;
  FView->GetOffEdgeControlList(hidden);
  auto isHidden = [&](TWinControl* c) {
    for (TWinControl* p = c; p && p != this; p = p->Parent())
      if (std::find(hidden.begin(), hidden.end(), p) != hidden.end()) return true;
    return false;
  };
  List.erase(std::remove_if(List.begin() + static_cast<std::ptrdiff_t>(from), List.end(), isHidden), List.end());
}

void TTBCustomToolbar::AdoptChildControls() {
  for (int I = 0; I < ControlCount(); ++I)
    if (!FindControlItem(Controls(I))) CreateControlItem(FItem->Count(), Controls(I));
}

void TTBCustomToolbar::Loaded() {
  AdoptChildControls();
  TTBCustomDockableWindow::Loaded();
}

void TTBCustomToolbar::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  FItem->GetChildren(Proc, Root);
  TTBCustomDockableWindow::GetChildren(Proc, Root);
}

void TTBCustomToolbar::SetChildOrder(TComponent* Child, int Order) {
  if (dynamic_cast<TTBCustomItem*>(Child)) FItem->SetChildOrder(Child, Order);
}

void TTBCustomToolbar::CMControlListChange(TMessage& M) {
  auto* C = reinterpret_cast<TControl*>(M.WParam);
  if (!FItem || !C || ComponentState().Contains(csDestroying)) return;
  if (M.LParam != 0) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csUpdating) || FindControlItem(C)) return;
    CreateControlItem(FItem->Count(), C);
    return;
  }
  // The control left the toolbar: its items go, the control stays.
  for (int I = FItem->Count() - 1; I >= 0; --I)
    if (auto* CI = dynamic_cast<TTBControlItem*>(FItem->Items(I)); CI && CI->Control() == C) {
      CI->SetDontFreeControl(true);
      delete CI;
    }
}

// ---- messages and input

void TTBCustomToolbar::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_SYSCOMMAND:
      WMSysCommand(M);
      return;
    case CM_CONTROLLISTCHANGE:
      TTBCustomDockableWindow::Dispatch(M);
      CMControlListChange(M);
      return;
    case CM_COLORCHANGED:
      if (FView) FView->SetBackgroundColor(Color());
      TTBCustomDockableWindow::Dispatch(M);
      return;
    case CM_FONTCHANGED:
      TTBCustomDockableWindow::Dispatch(M);
      if (!FSystemFont && FView) {
        FView->InvalidatePositions();
        Arrange();
      }
      return;
    case CM_DIALOGKEY:
      if (!IsDesigning() && M.WParam == VK_MENU && FMenuBar) FView->SetAccelsVisibility(true);
      TTBCustomDockableWindow::Dispatch(M);
      return;
    case CM_DIALOGCHAR:
      if (!IsDesigning() && !FMenuBar && Enabled() && Showing() && M.WParam != 0 &&
          OpenByKeyboard(static_cast<char>(M.WParam), true)) {
        M.Result = 1;
        return;
      }
      TTBCustomDockableWindow::Dispatch(M);
      return;
    case CM_MOUSELEAVE:
      if (!FMouseDown) CancelHover();
      TTBCustomDockableWindow::Dispatch(M);
      return;
    case WM_CONTEXTMENU:
      CancelHover();
      TTBCustomDockableWindow::Dispatch(M);
      return;
    case CM_WININICHANGE:
      TTBCustomDockableWindow::Dispatch(M);
      if (M.WParam == 42 && FView) {  // the non-client metrics, which the menu font follows
        UpdateToolbarMenuFont();
        FView->InvalidatePositions();
        Arrange();
      }
      return;
    case WM_CANCELMODE:
      TTBCustomDockableWindow::Dispatch(M);
      if (FView && (FView->State() & vsModal)) FView->CancelMode();
      return;
    default:
      TTBCustomDockableWindow::Dispatch(M);
  }
}

void TTBCustomToolbar::WMSysCommand(TMessage& M) {
  const bool Ours = FMenuBar && Enabled() && Showing() && (M.WParam & 0xFFF0) == SC_KEYMENU && M.LParam != ' ' &&
                    !GetCaptureControl();
  // Only a character of one byte can be an accelerator.
  if (!Ours || M.LParam < 0 || M.LParam > 0xFF) {
    TTBCustomDockableWindow::Dispatch(M);
    return;
  }
  const char Key = static_cast<char>(M.LParam);
  if (OpenByKeyboard(Key, false)) {
    M.Result = 1;
    return;
  }
  if (Key == '-') {  // left to the window's own system menu
    TTBCustomDockableWindow::Dispatch(M);
    return;
  }
  MessageBeep(0);
  M.Result = 1;
}

bool TTBCustomToolbar::OpenByKeyboard(char Key, bool DialogMode) {
  FView->SetAccelsVisibility(true);
  bool Found = false, Result = false;
  if (Key == 0) {
    if (TTBItemViewer* V = FView->FirstSelectable()) {
      Found = true;
      FView->SetSelected(V);
      FView->EnterToolbarLoop(0);
      Result = true;
    }
  } else {
    bool Unique = false;
    TTBItemViewer* V = FView->FindAccelerator(nullptr, Key, Unique, DialogMode);
    Found = V != nullptr;
    if (V && V->Item->Enabled()) {
      if (Unique) {
        FView->SetSelected(V);
        FView->EnterToolbarLoop(2);  // open or click at once
        Result = true;
      } else if (FMenuBar) {
        FView->SetSelected(V);
        FView->EnterToolbarLoop(0);
        Result = true;
      }
    }
  }
  if (Found && FView) FView->SetAccelsVisibility(false);
  return Result;
}

void TTBCustomToolbar::InitiateAction() {
  if (!FUpdateActions || !FView) return;
  for (int I = 0; I < FView->ViewerCount(); ++I) {
    TTBItemViewer* V = FView->Viewers(I);
    if (V->Show || V->Clipped) V->Item->UpdateAction();
  }
}

void TTBCustomToolbar::CancelHover() {
  if (!MouseCapture() && FView && !(FView->State() & vsModal)) FView->UpdateSelection(TPoint(INT_MIN, INT_MIN), false);
}

void TTBCustomToolbar::MouseMove(TShiftState Shift, int X, int Y) {
  if (!IsDesigning()) {
    FView->UpdateSelection(ClientToScreen(TPoint(X, Y)), true, this);
    std::string H;
    if (TTBItemViewer* V = FView->Selected())
      if (!V->Item->EffectiveOptions().Contains(tboLongHintInMenuOnly)) H = V->Item->Hint();
    // On to another button: its hint comes after the pause, as another
    // control's would.
    if (H != Hint() && Application) Application->CancelHint();
    SetHint(H);
  }
  TTBCustomDockableWindow::MouseMove(Shift, X, Y);
}

void TTBCustomToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWinControl* OldParent = Parent();
  TTBCustomDockableWindow::MouseDown(Button, Shift, X, Y);
  if (Parent() != OldParent || IsDesigning() || Button != mbLeft) return;
  FView->UpdateSelection(ClientToScreen(TPoint(X, Y)), true, this);
  TTBItemViewer* V = FView->Selected();
  if (!V || (V->Item->ItemStyle() & tbisClicksTransparent)) return;
  FMouseDown = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } Done{FMouseDown};
  FView->EnterToolbarLoop(1);
}

bool TTBCustomToolbar::PointOverChild(TPoint ClientPos) {
  if (TControl* C = ControlAtPos(ClientPos, true, true); C && C->Visible()) return true;
  if (IsDesigning()) return false;
  FView->UpdateSelection(ClientToScreen(ClientPos), true, this);
  TTBItemViewer* V = FView->Selected();
  return V && !(V->Item->ItemStyle() & tbisClicksTransparent);
}

void TTBCustomToolbar::Notification(TComponent* AComponent, TOperation Operation) {
  TTBCustomDockableWindow::Notification(AComponent, Operation);
}

void TTBCustomToolbar::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
  if (!Docked() && IsDesigning()) {
    C->Pen()->SetColor(clBtnShadow);
    C->Pen()->SetStyle(psDot);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(ClientRect());
  }
  FView->DrawSubitems(C);
}

void TTBCustomToolbar::AlignControls(TControl*, TRect) {
  if (FDisableAlignArrange == 0 && FView) Arrange();
}

// ---- shortcuts

void TTBCustomToolbar::UpdateShortCutRegistration() {
  if ((!FProcessShortCuts && !FMenuBar) || IsDesigning())
    UnregisterShortCuts();
  else
    RegisterShortCuts();
}

void TTBCustomToolbar::RegisterShortCuts() {
  if (FShortCutsRegistered) return;
  if (!gShortCutToolbars) gAppKeyProc = AddAppKeyProc(ToolbarApplicationHook);
  ListAddOnce(gShortCutToolbars, this);
  FShortCutsRegistered = true;
}

void TTBCustomToolbar::UnregisterShortCuts() {
  if (!FShortCutsRegistered) return;
  FShortCutsRegistered = false;
  ListRemoveAndFreeEmpty(gShortCutToolbars, this);
  if (!gShortCutToolbars && gAppKeyProc) {
    RemoveAppKeyProc(gAppKeyProc);
    gAppKeyProc = 0;
  }
}

bool TTBCustomToolbar::DoShortCut(TMessage& Message) {
  bool Handled = false;
  if (OnShortCut) OnShortCut(Message, Handled);
  if (!Handled) Handled = FItem->IsShortCut(Message);
  return Handled;
}

const std::vector<TTBCustomToolbar*>* ShortCutToolbars() { return gShortCutToolbars.get(); }

// ---- layout

TTBViewOrientation TTBCustomToolbar::OrientationFor(TTBDockKind Kind) const {
  switch (Kind) {
    case dkFloating: return tbvoFloating;
    case dkVertical: return tbvoVertical;
    default: return tbvoHorizontal;
  }
}

TPoint TTBCustomToolbar::BaseSize() {
  FView->SetOrientation(OrientationFor(DockKindOf(CurrentDock(), Floating())));
  FView->ValidatePositions();
  return FBaseSize;
}

int TTBCustomToolbar::MinimumLength() {
  FView->ValidatePositions();
  const bool Vertical = CurrentDock() && IsVerticalDockPosition(CurrentDock()->Position());
  int Length = 0;
  const std::vector<TTBItemViewer*>* Priority = FView->UsePriorityList() ? FView->PriorityList() : nullptr;
  auto Consider = [&](TTBItemViewer* V) {
    if (!V->Show || (V->Item->ItemStyle() & tbisSeparator) || V->Item == FChevronItem) return false;
    Length = Vertical ? V->BoundsRect.Height() : V->BoundsRect.Width();
    return true;
  };
  if (Priority) {
    for (TTBItemViewer* V : *Priority)
      if (Consider(V)) break;
  } else {
    for (int I = 0; I < FView->ViewerCount(); ++I)
      if (Consider(FView->Viewers(I))) break;
  }
  const TPoint NC = DockedNCSize();
  return Length + (Vertical ? NC.Y : NC.X) + tbChevronSize;
}

TPoint TTBCustomToolbar::SizeForShrunkLength(int, bool) {
  return SizeForState(false, DockKindOf(CurrentDock(), false), false, CurrentDock());
}

void TTBCustomToolbar::PlaceInDock(const TRect& Bounds, bool Resized) {
  TTBCustomDockableWindow::PlaceInDock(Bounds, Resized);
  // The row the dock gave decides the chevron and wrap lengths; the shrunk
  // length stays for the dock's next comparison.
  const int Shrunk = ShrunkLength;
  const TTBViewOrientation O = FView->Orientation();
  const int Chevron = FView->ChevronOffset(), Wrap = FView->WrapOffset();
  UpdateViewLayoutSettings();
  // Docking moves the client area behind the frame and drag handle: items
  // placed while the toolbar was undocked would sit under the handle.
  if (Resized || O != FView->Orientation() || Chevron != FView->ChevronOffset() || Wrap != FView->WrapOffset() ||
      FView->LaidOutOrigin() != FView->ContentOrigin())
    FView->UpdatePositions();
  ShrunkLength = Shrunk;
}

void TTBCustomToolbar::Arrange() {
  if (Docked() || Floating()) {
    TTBCustomDockableWindow::Arrange();
    return;
  }
  if (!FView) return;
  UpdateViewLayoutSettings();
  FView->UpdatePositions();
}

TPoint TTBCustomToolbar::SizeForState(bool Apply, TTBDockKind, bool NewFloating, TTBDock* NewDock) {
  if (Apply) {
    UpdateViewLayoutSettings();
    return FView->UpdatePositions();
  }
  const TTBViewOrientation O = OrientationFor(DockKindOf(NewDock, NewFloating));
  int Lines = 0;
  TPoint Total(0, 0), Base(0, 0);
  FView->CalculatePositions(false, O, Lines, Total, Base, tbChevronSize, CalcChevronOffset(NewDock, O),
                            CalcWrapOffset(NewDock));
  FLastRowCount = Lines;
  return Total;
}

int TTBCustomToolbar::CalcWrapOffset(TTBDock* Dock) {
  if (!Dock) return FFloatingWidth;
  if (FShrinkMode != tbsmWrap) return 0;
  const TPoint NC = DockedNCSize();
  if (IsVerticalDockPosition(Dock->Position())) return Dock->Height() - Dock->BorderHeight() - NC.Y;
  return Dock->Width() - Dock->BorderWidth() - NC.X;
}

int TTBCustomToolbar::CalcChevronOffset(TTBDock* Dock, TTBViewOrientation Orientation) {
  if (FShrinkMode != tbsmChevron || !Docked() || Dock != CurrentDock() || ShrunkLength == 0) return 0;
  const TPoint NC = DockedNCSize();
  return std::max(0, ShrunkLength - (Orientation == tbvoVertical ? NC.Y : NC.X));
}

void TTBCustomToolbar::UpdateViewLayoutSettings() {
  const TTBViewOrientation O = OrientationFor(DockKindOf(CurrentDock(), Floating()));
  FView->SetOrientation(O);
  FView->SetChevronSize(tbChevronSize);
  if (Docked() || Floating()) {
    FView->SetChevronOffset(CalcChevronOffset(CurrentDock(), O));
    FView->SetWrapOffset(CalcWrapOffset(CurrentDock()));
    return;
  }
  // Placed on a form: a toolbar anchored on both sides keeps its width.
  FView->SetChevronOffset(0);
  FView->SetWrapOffset(0);
  if (Anchors().Contains(akLeft) && Anchors().Contains(akRight)) {
    if (FShrinkMode == tbsmChevron) FView->SetChevronOffset(Width());
    if (FShrinkMode == tbsmWrap) FView->SetWrapOffset(Width());
  }
}

TPoint TTBCustomToolbar::RowCrossSize() {
  TPoint S(0, 0);
  if (!Docked()) return S;
  const int Other = CurrentDock()->RowCrossSizeOfOthers(ComputedRow, this);
  if (IsVerticalDockPosition(CurrentDock()->Position()))
    S.X = Other;
  else
    S.Y = Other;
  return S;
}

// ---- floating resize

std::vector<TPoint> TTBCustomToolbar::ListFloatingSizes() {
  TRect Margins;
  FView->QueryMargins(tbvoFloating, Margins);
  TRestoreValue<int> Restore(FFloatingWidth);
  FFloatingWidth = 0;
  return ::ListFloatingSizes(Margins.Left + Margins.Right, [this](int Width, int& Rows) {
    FFloatingWidth = Width;
    const TPoint S = SizeForState(false, dkFloating, true, nullptr);
    Rows = FLastRowCount;
    return S;
  });
}

void TTBCustomToolbar::SizingStarted(int Handle, TPoint FrameSize, TPoint FrameBorder, int FrameOffset) {
  std::vector<TPoint> Sizes = ListFloatingSizes();
  for (TPoint& P : Sizes) {
    P.X += FrameBorder.X;
    P.Y += FrameBorder.Y;
  }
  FSizeData = std::make_unique<TToolbarSizeData>();
  FSizeData->Start(Handle, FrameSize.X, FrameSize.Y, FrameOffset, FFloatingWidth, std::move(Sizes));
}

void TTBCustomToolbar::SizingStarted(int Handle) {
  TTBFloatingWindowParent* F = FloatingParent();
  if (!F) return;
  TPoint TL, BR;
  FloatingNCOffsets(TL, BR);
  SizingStarted(Handle, {F->Width(), F->Height()}, {TL.X + BR.X, TL.Y + BR.Y}, TL.X);
}

void TTBCustomToolbar::SizingRectChanging(TRect& NewRect, const TRect& OrigRect) {
  if (FSizeData) FSizeData->RectChanging(NewRect, OrigRect);
}

void TTBCustomToolbar::BeforeSizeApplied() {
  if (FSizeData) SetFloatingWidth(FSizeData->CurRightX);
}

void TTBCustomToolbar::SizingEnded() { FSizeData.reset(); }

// ---- layout store

void TTBCustomToolbar::LoadExtraPosition(const TTBReadPositionData& Data) {
  TTBCustomDockableWindow::LoadExtraPosition(Data);
  SetFloatingWidth(std::clamp(Data.ReadIntProc(Name(), "FloatRightX", 0, Data.Store), 0, VirtualScreenRect().Width()));
}

void TTBCustomToolbar::SaveExtraPosition(const TTBWritePositionData& Data) {
  TTBCustomDockableWindow::SaveExtraPosition(Data);
  Data.WriteIntProc(Name(), "FloatRightX", FFloatingWidth, Data.Store);
}
