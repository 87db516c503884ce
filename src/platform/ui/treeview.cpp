#include "platform/ui/treeview.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/qt_viewarea.h"
#include "platform/ui/stdctrls.h"

namespace {

TViewArea* AreaOf(const TWinControl* c) {
  return c->Impl() ? dynamic_cast<TViewArea*>(c->Impl()->Widget.data()) : nullptr;
}

TCanvas* Probe(const TFont* font) {
  static TBitmap* probe = new TBitmap(1, 1);
  TCanvas* c = probe->Canvas();
  c->SetFont(font);
  return c;
}

constexpr int kButton = 9;  // the plus/minus box

}  // namespace

// ---------------------------------------------------------------------------
// TTreeNode

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TTreeNode::SetText(const std::string& v) {
  if (FText == v) return;
  FText = v;
  if (TCustomTreeView* t = TreeView()) t->Invalidate();
}

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FChildren[static_cast<size_t>(Index)].get();
}

int TTreeNode::Index() const {
  const auto& s = FOwner->SiblingsOf(FParent);
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i].get() == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::AbsoluteIndex() const {
  int i = 0;
  for (TTreeNode* n = FOwner->GetFirstNode(); n && n != this; n = n->GetNext()) ++i;
  return i;
}

int TTreeNode::Level() const {
  int l = 0;
  for (TTreeNode* p = FParent; p; p = p->FParent) ++l;
  return l;
}

void TTreeNode::SetHasChildren(bool v) {
  FHasChildren = v;
  if (TCustomTreeView* t = TreeView()) t->Invalidate();
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& s = FOwner->SiblingsOf(FParent);
  const int i = Index();
  return i >= 0 && i + 1 < static_cast<int>(s.size()) ? s[static_cast<size_t>(i + 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& s = FOwner->SiblingsOf(FParent);
  const int i = Index();
  return i > 0 ? s[static_cast<size_t>(i - 1)].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* p = GetPrevSibling();
  if (!p) return FParent;
  while (p->GetLastChild()) p = p->GetLastChild();
  return p;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (FExpanded && !FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* n = this; n; n = n->FParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* p = GetPrevSibling();
  if (!p) return FParent;
  while (p->FExpanded && p->GetLastChild()) p = p->GetLastChild();
  return p;
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = FParent; p; p = p->FParent)
    if (!p->FExpanded) return false;
  return true;
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
  for (TTreeNode* p = FParent; p; p = p->FParent)
    if (p == Value) return true;
  return false;
}

void TTreeNode::SetExpanded(bool v) {
  if (v) Expand(false);
  else Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
  if (TCustomTreeView* t = TreeView()) t->SetExpandedState(this, true);
  if (Recurse)
    for (auto& c : FChildren) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse)
    for (auto& c : FChildren) c->Collapse(true);
  if (TCustomTreeView* t = TreeView()) t->SetExpandedState(this, false);
}

bool TTreeNode::Selected() const {
  TCustomTreeView* t = TreeView();
  return t && t->Selected() == this;
}

void TTreeNode::SetSelected(bool v) {
  TCustomTreeView* t = TreeView();
  if (!t) return;
  if (v) t->SetSelected(this);
  else if (t->Selected() == this) t->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = FParent; p; p = p->FParent) p->FExpanded = true;
  TCustomTreeView* t = TreeView();
  if (!t) return;
  t->Layout();
  const std::vector<TTreeNode*> rows = t->VisibleNodes();
  const int row = t->RowOf(this), top = t->RowOf(t->FTopItem);
  const int n = t->VisibleRows();
  if (row < top) t->SetTopItem(this);
  else if (row >= top + n) t->SetTopItem(rows[static_cast<size_t>(std::max(row - n + 1, 0))]);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* t = TreeView();
  if (!t || !IsVisible()) return TRect{};
  const int row = t->RowOf(this) - t->RowOf(t->FTopItem);
  const int h = t->ItemHeight();
  const TRect client = t->ClientRect();
  if (row < 0 || row * h >= client.Height()) return TRect{};
  if (!TextOnly) return Rect(0, row * h, client.Width(), row * h + h);
  const int level = Level() + (t->FShowRoot ? 1 : 0);
  const int x = level * t->FIndent + 2;
  const int w = Probe(t->Font())->TextWidth(FText) + 4;
  return Rect(x, row * h, x + w, row * h + h);
}

bool TTreeNode::EditText() {
  TCustomTreeView* t = TreeView();
  return t && t->StartEdit(this);
}

void TTreeNode::EndEdit(bool Cancel) {
  TCustomTreeView* t = TreeView();
  if (t && t->FEditing == this) t->FinishEdit(Cancel);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  TCustomTreeView* t = TreeView();
  for (auto& c : FChildren)
    if (t) t->NodeGoing(c.get());
  FChildren.clear();
  FOwner->Changed();
}

// ---------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::~TTreeNodes() = default;

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::SiblingsOf(TTreeNode* Parent) {
  return Parent ? Parent->FChildren : FRoots;
}

int TTreeNodes::Count() const {
  int n = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext()) ++n;
  return n;
}

TTreeNode* TTreeNodes::Item(int Index) const {
  int i = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext())
    if (i++ == Index) return p;
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

TTreeNode* TTreeNodes::Make(TTreeNode* Parent, int Position, const std::string& S, void* Ptr) {
  auto node = std::unique_ptr<TTreeNode>(new TTreeNode(this));
  node->FParent = Parent;
  node->FText = S;
  node->FData = Ptr;
  TTreeNode* result = node.get();
  auto& siblings = SiblingsOf(Parent);
  Position = std::clamp(Position, 0, static_cast<int>(siblings.size()));
  siblings.insert(siblings.begin() + Position, std::move(node));
  Changed();
  return result;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  TTreeNode* parent = Sibling ? Sibling->FParent : nullptr;
  return Make(parent, static_cast<int>(SiblingsOf(parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  return Make(Sibling ? Sibling->FParent : nullptr, 0, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr) {
  return Make(Parent, static_cast<int>(SiblingsOf(Parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) { return Make(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  if (!Sibling) return Make(nullptr, static_cast<int>(FRoots.size()), S, Ptr);
  return Make(Sibling->FParent, Sibling->Index(), S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node || Node->FOwner != this) return;
  if (FOwner) FOwner->NodeGoing(Node);
  auto& siblings = SiblingsOf(Node->FParent);
  auto it = std::find_if(siblings.begin(), siblings.end(), [Node](const auto& p) { return p.get() == Node; });
  if (it != siblings.end()) siblings.erase(it);
  Changed();
}

void TTreeNodes::Clear() {
  if (FOwner)
    for (auto& r : FRoots) FOwner->NodeGoing(r.get());
  FRoots.clear();
  Changed();
}

void TTreeNodes::BeginUpdate() { ++FUpdating; }

void TTreeNodes::EndUpdate() {
  if (FUpdating > 0 && --FUpdating == 0) Changed();
}

void TTreeNodes::Changed() {
  if (FUpdating == 0 && FOwner) FOwner->Layout();
}

// ---------------------------------------------------------------------------
// TCustomTreeView

ZV_CLASS_IMPL(TCustomTreeView, TCustomControl)

void TCustomTreeView::DeclareProperties(TClassInfo& c) {
  using T = TCustomTreeView;
  c.Integer<T>("Indent", &T::Indent, &T::SetIndent, 19);
  c.Boolean<T>("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false);
  c.Boolean<T>("ShowButtons", &T::ShowButtons, &T::SetShowButtons, true);
  c.Boolean<T>("ShowLines", &T::ShowLines, &T::SetShowLines, true);
  c.Boolean<T>("ShowRoot", &T::ShowRoot, &T::SetShowRoot, true);
  c.Boolean<T>("HideSelection", &T::HideSelection, &T::SetHideSelection, true);
  c.Enum<T>("BorderStyle", BorderStyleEnumInfo(), &T::BorderStyle, &T::SetBorderStyle, bsSingle);
}

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), FNodes(std::make_unique<TTreeNodes>(this)) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FImpl->ViewportSurface = true;
  FWidth = 121;
  FHeight = 97;
  FTabStop = true;
  FColor = clWindow;
  FParentColor = false;
}

TCustomTreeView::~TCustomTreeView() {
  if (auto* area = AreaOf(this)) area->Detach();
  Destroying();
  FEditTimer.reset();
  FSelected = FTopItem = FEditing = FClickedSelected = nullptr;
  FNodes->FOwner = nullptr;
  FNodes.reset();
}

void TCustomTreeView::CreateWnd() {
  auto* area = new TViewArea(this);
  area->SetFramed(FBorderStyle != bsNone);
  area->OnScroll = [this](int pos) {
    const std::vector<TTreeNode*> rows = VisibleNodes();
    if (pos >= 0 && pos < static_cast<int>(rows.size())) SetTopItem(rows[static_cast<size_t>(pos)]);
  };
  AttachWidget(this, area, area->viewport());
  Layout();
}

int TCustomTreeView::ItemHeight() const { return std::max(16, Probe(FFont.get())->TextHeight("Wg") + 3); }

TRect TCustomTreeView::ClientRect() const {
  const int f = FBorderStyle != bsNone ? kViewFrame : 0;
  const int h = std::max(0, FHeight - 2 * f);
  int rows = 0;
  for (TTreeNode* n = FNodes ? FNodes->GetFirstNode() : nullptr; n; n = n->GetNextVisible()) ++rows;
  const int bar = rows * ItemHeight() > h ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return Rect(0, 0, std::max(0, FWidth - 2 * f - bar), h);
}

TPoint TCustomTreeView::ChildOrigin() const {
  const int f = FBorderStyle != bsNone ? kViewFrame : 0;
  return Point(f, f);
}

std::vector<TTreeNode*> TCustomTreeView::VisibleNodes() const {
  std::vector<TTreeNode*> v;
  for (TTreeNode* n = FNodes ? FNodes->GetFirstNode() : nullptr; n; n = n->GetNextVisible()) v.push_back(n);
  return v;
}

int TCustomTreeView::RowOf(const TTreeNode* Node) const {
  int i = 0;
  for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNextVisible(), ++i)
    if (n == Node) return i;
  return 0;
}

int TCustomTreeView::VisibleRows() const { return std::max(1, ClientRect().Height() / ItemHeight()); }

void TCustomTreeView::Layout() {
  if (!FNodes || FNodes->FUpdating > 0 || FComponentState.Contains(csDestroying)) return;
  const std::vector<TTreeNode*> rows = VisibleNodes();
  const int n = static_cast<int>(rows.size());
  const int page = VisibleRows();
  const int maxTop = std::max(0, n - page);
  int top = FTopItem && FTopItem->IsVisible() ? RowOf(FTopItem) : 0;
  top = std::clamp(top, 0, maxTop);
  FTopItem = n > 0 ? rows[static_cast<size_t>(top)] : nullptr;
  if (auto* area = AreaOf(this)) area->SetVertical(maxTop, page, top);
  Invalidate();
}

void TCustomTreeView::SetTopItem(TTreeNode* Node) {
  if (Node && !Node->IsVisible()) return;
  FTopItem = Node;
  Layout();
}

TTreeNode* TCustomTreeView::GetNodeAt(int, int Y) const {
  if (Y < 0) return nullptr;
  const std::vector<TTreeNode*> rows = VisibleNodes();
  const int row = RowOf(FTopItem) + Y / ItemHeight();
  return row >= 0 && row < static_cast<int>(rows.size()) && Y < ClientRect().Height() ? rows[static_cast<size_t>(row)]
                                                                                       : nullptr;
}

int TCustomTreeView::ButtonCentreX(int Level) const {
  const int l = Level + (FShowRoot ? 1 : 0);
  return (l - 1) * FIndent + FIndent / 2;
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool allow = true;
  if (OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, std::string& S) {
  if (OnEdited) OnEdited(this, Node, S);
}

void TCustomTreeView::SetSelected(TTreeNode* Node) {
  if (Node == FSelected) return;
  if (FEditing) FinishEdit(false);
  if (!CanChange(Node)) return;
  FSelected = Node;
  if (Node) Node->MakeVisible();
  Invalidate();
  Change(Node);
}

bool TCustomTreeView::SetExpandedState(TTreeNode* Node, bool Open) {
  if (Node->FExpanded == Open) return true;
  if (!Node->HasChildren()) {
    Node->FExpanded = Open;
    return true;
  }
  if (Open ? !CanExpand(Node) : !CanCollapse(Node)) return false;
  Node->FExpanded = Open;
  // A selection that goes out of sight moves to the node closed over it.
  if (!Open && FSelected && FSelected->HasAsParent(Node)) {
    FSelected = nullptr;
    SetSelected(Node);
  }
  Layout();
  if (Open) Expand(Node);
  else Collapse(Node);
  return true;
}

void TCustomTreeView::FullExpand() {
  FNodes->BeginUpdate();
  for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
  FNodes->EndUpdate();
}

void TCustomTreeView::FullCollapse() {
  FNodes->BeginUpdate();
  for (TTreeNode* n = FNodes->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
  FNodes->EndUpdate();
}

void TCustomTreeView::NodeGoing(TTreeNode* Node) {
  auto inside = [Node](TTreeNode* n) { return n && (n == Node || n->HasAsParent(Node)); };
  if (inside(FEditing)) FinishEdit(true);
  if (inside(FSelected)) FSelected = nullptr;
  if (inside(FClickedSelected)) FClickedSelected = nullptr;
  if (inside(FTopItem)) FTopItem = nullptr;
}

void TCustomTreeView::SetIndent(int v) {
  if (v < 1 || v == FIndent) return;
  FIndent = v;
  Invalidate();
}

void TCustomTreeView::SetShowButtons(bool v) {
  FShowButtons = v;
  Invalidate();
}

void TCustomTreeView::SetShowLines(bool v) {
  FShowLines = v;
  Invalidate();
}

void TCustomTreeView::SetShowRoot(bool v) {
  FShowRoot = v;
  Invalidate();
}

void TCustomTreeView::SetHideSelection(bool v) {
  FHideSelection = v;
  Invalidate();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  if (auto* area = AreaOf(this)) area->SetFramed(v != bsNone);
  Layout();
}

bool TCustomTreeView::IsEditing() const { return FEditing != nullptr; }

TEdit* TCustomTreeView::Editor() const { return FEditing ? FEditor : nullptr; }

bool TCustomTreeView::StartEdit(TTreeNode* Node) {
  if (!Node || FReadOnly || FEditing) return false;
  if (!CanEdit(Node)) return false;
  Node->MakeVisible();
  if (!FEditor) {
    FEditor = new TEdit(this);
    FEditor->SetParent(this);
    FEditor->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState) {
      if (Key == VK_RETURN || Key == VK_ESCAPE) {
        const bool cancel = Key == VK_ESCAPE;
        Key = 0;
        FinishEdit(cancel);
      }
    };
    FEditor->OnKeyPress = [](TObject*, char& Key) {
      if (Key == '\r' || Key == 27) Key = 0;
    };
    FEditor->OnExit = [this](TObject*) {
      if (FEditing) FinishEdit(false);
    };
  }
  FEditing = Node;
  const TRect r = Node->DisplayRect(true);
  const int width = std::clamp(r.Width() + 40, 60, std::max(60, ClientRect().Width() - r.Left));
  FEditor->SetBounds(r.Left - 2, r.Top, width, r.Height() + 1);
  FEditor->SetText(Node->Text());
  FEditor->Show();
  FEditor->SelectAll();
  if (CanFocus()) FEditor->SetFocus();
  return true;
}

void TCustomTreeView::FinishEdit(bool Cancel) {
  if (!FEditing || FInFinish) return;
  FInFinish = true;
  TTreeNode* node = FEditing;
  std::string s = FEditor->Text();
  FEditing = nullptr;
  const bool hadFocus = FEditor->Focused();
  FEditor->Hide();
  if (!Cancel) {
    Edit(node, s);
    node->SetText(s);
  }
  if (hadFocus && CanFocus()) SetFocus();
  FInFinish = false;
  Invalidate();
}

void TCustomTreeView::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColor);
  c->FillRect(client);
  c->SetFont(FFont.get());
  const int h = ItemHeight();
  const bool focused = Focused() || (FEditor && FEditor->Focused());
  const std::vector<TTreeNode*> rows = VisibleNodes();
  const int top = RowOf(FTopItem);
  auto dotted = [&](int x0, int y0, int x1, int y1) {
    c->Pen()->SetColor(clGray);
    c->Pen()->SetStyle(psDot);
    c->MoveTo(x0, y0);
    c->LineTo(x1, y1);
    c->Pen()->SetStyle(psSolid);
  };
  for (int r = top; r < static_cast<int>(rows.size()); ++r) {
    const int y = (r - top) * h;
    if (y >= client.Bottom) break;
    TTreeNode* node = rows[static_cast<size_t>(r)];
    const int level = node->Level();
    const int mid = y + h / 2;
    const bool hasLevelArea = FShowRoot || level > 0;
    if (FShowLines && hasLevelArea) {
      const int cx = ButtonCentreX(level);
      // Down from the node above (or the parent), on to the next sibling.
      const bool first = !node->GetPrevSibling() && !node->Parent();
      dotted(cx, first ? mid : y, cx, node->GetNextSibling() ? y + h : mid);
      dotted(cx, mid, cx + FIndent / 2 + 1, mid);
      // The lines of the ancestors that have siblings still to come.
      int l = level - 1;
      for (TTreeNode* a = node->Parent(); a; a = a->Parent(), --l)
        if (a->GetNextSibling() && (FShowRoot || l > 0)) dotted(ButtonCentreX(l), y, ButtonCentreX(l), y + h);
    }
    if (FShowButtons && hasLevelArea && node->HasChildren()) {
      const int cx = ButtonCentreX(level);
      const TRect b = Rect(cx - kButton / 2, mid - kButton / 2, cx - kButton / 2 + kButton, mid - kButton / 2 + kButton);
      c->Pen()->SetColor(clGray);
      c->Brush()->SetColor(FColor);
      c->Rectangle(b);
      c->Pen()->SetColor(clWindowText);
      c->MoveTo(b.Left + 2, mid);
      c->LineTo(b.Right - 2, mid);
      if (!node->Expanded()) {
        c->MoveTo(cx, b.Top + 2);
        c->LineTo(cx, b.Bottom - 2);
      }
    }
    const TRect t = node->DisplayRect(true);
    const bool selected = node == FSelected && (focused || !FHideSelection);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? (focused ? clHighlight : clBtnFace) : FColor);
    if (selected) c->FillRect(t);
    c->Font()->SetColor(selected && focused ? clHighlightText : (FEnabled ? FFont->Color() : clGrayText));
    c->Brush()->SetStyle(bsClear);
    TRect tr = Rect(t.Left + 2, t.Top, t.Right, t.Bottom);
    c->DrawText(node->Text(), tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (selected && focused && node != FEditing) {
      c->Brush()->SetStyle(bsSolid);
      c->DrawFocusRect(t);
    }
  }
  c->Font()->SetColor(FFont->Color());
  c->Brush()->SetStyle(bsSolid);
}

void TCustomTreeView::WMLButtonDown(TMessage& M) {
  if (FEditing) FinishEdit(false);
  if (FTabStop && CanFocus() && !Focused()) SetFocus();
  FClickedSelected = nullptr;
  if (FEditTimer) FEditTimer->SetEnabled(false);
  const int x = M.XPos(), y = M.YPos();
  if (TTreeNode* node = GetNodeAt(x, y)) {
    const int cx = ButtonCentreX(node->Level());
    const bool onButton = FShowButtons && (FShowRoot || node->Level() > 0) && node->HasChildren() &&
                          std::abs(x - cx) <= kButton / 2 + 1;
    if (onButton) {
      SetExpandedState(node, !node->Expanded());
    } else if (x > cx + kButton / 2 + 1 || !(FShowRoot || node->Level() > 0)) {
      if (node == FSelected) FClickedSelected = node;
      else SetSelected(node);
    }
  }
  TCustomControl::WMLButtonDown(M);
}

void TCustomTreeView::WMLButtonUp(TMessage& M) {
  TTreeNode* clicked = std::exchange(FClickedSelected, nullptr);
  if (clicked && clicked == FSelected && GetNodeAt(M.XPos(), M.YPos()) == clicked && !FReadOnly &&
      !DragSourceControl()) {
    // A second click on the selected node edits it once no double click came.
    if (!FEditTimer) {
      FEditTimer = std::make_unique<TTimer>(nullptr);
      FEditTimer->SetEnabled(false);
      FEditTimer->SetOnTimer([this](TObject*) {
        FEditTimer->SetEnabled(false);
        if (FSelected) StartEdit(FSelected);
      });
    }
    FEditTimer->SetInterval(GetDoubleClickTime());
    FEditTimer->SetEnabled(true);
  }
  TCustomControl::WMLButtonUp(M);
}

void TCustomTreeView::WMLButtonDblClk(TMessage& M) {
  if (FEditTimer) FEditTimer->SetEnabled(false);
  FClickedSelected = nullptr;
  if (TTreeNode* node = GetNodeAt(M.XPos(), M.YPos())) {
    if (node != FSelected) SetSelected(node);
    if (node == FSelected) SetExpandedState(node, !node->Expanded());
  }
  TCustomControl::WMLButtonDblClk(M);
}

void TCustomTreeView::WMMouseWheel(TMessage& M) {
  const TShiftState shift = KeysToShiftState(M.WParamLo());
  const int delta = static_cast<int16_t>(M.WParamHi());
  const TPoint pos = Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi()));
  M.Result = 1;
  if (DoMouseWheel(shift, delta, pos)) return;
  const std::vector<TTreeNode*> rows = VisibleNodes();
  if (rows.empty()) return;
  const int top = std::clamp(RowOf(FTopItem) - delta / WHEEL_DELTA * 3, 0, static_cast<int>(rows.size()) - 1);
  SetTopItem(rows[static_cast<size_t>(top)]);
}

void TCustomTreeView::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomTreeView::WMSetFocus(TMessage& M) {
  TCustomControl::WMSetFocus(M);
  Invalidate();
}

void TCustomTreeView::WMKillFocus(TMessage& M) {
  TCustomControl::WMKillFocus(M);
  Invalidate();
}

void TCustomTreeView::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  const std::vector<TTreeNode*> rows = VisibleNodes();
  if (rows.empty()) return;
  TTreeNode* cur = FSelected;
  const int row = cur ? RowOf(cur) : -1;
  const int last = static_cast<int>(rows.size()) - 1;
  auto go = [&](int r) { SetSelected(rows[static_cast<size_t>(std::clamp(r, 0, last))]); };
  switch (Key) {
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: go(row + 1); break;
    case VK_HOME: go(0); break;
    case VK_END: go(last); break;
    case VK_PRIOR: go(row - std::max(VisibleRows() - 1, 1)); break;
    case VK_NEXT: go(row + std::max(VisibleRows() - 1, 1)); break;
    case VK_LEFT:
      if (!cur) go(0);
      else if (cur->Expanded() && cur->HasChildren()) SetExpandedState(cur, false);
      else if (cur->Parent()) SetSelected(cur->Parent());
      break;
    case VK_RIGHT:
      if (!cur) go(0);
      else if (cur->HasChildren() && !cur->Expanded()) SetExpandedState(cur, true);
      else if (cur->GetFirstChild()) SetSelected(cur->GetFirstChild());
      break;
    case VK_ADD:
      if (cur) SetExpandedState(cur, true);
      break;
    case VK_SUBTRACT:
      if (cur) SetExpandedState(cur, false);
      break;
    case VK_F2:
      if (cur) StartEdit(cur);
      break;
    default: return;
  }
  Key = 0;
}

void TCustomTreeView::BoundsChanged(bool sizeChanged) {
  TCustomControl::BoundsChanged(sizeChanged);
  if (sizeChanged) Layout();
}

void TCustomTreeView::FontChanged() {
  TCustomControl::FontChanged();
  Layout();
}

ZV_CLASS_IMPL_NOPROPS(TTreeView, TCustomTreeView)
