// Tree views: TTreeView shows TTreeNodes (a forest of TTreeNode, each with
// a text, a data pointer and children), painted through the canvas with
// plus/minus buttons and dotted lines, one row per visible node.
//
// Events, as in the class library:
//   OnChanging / OnChange   the selected node changes: by a click, by the
//                           keys, and also when Selected is set from code;
//                           OnChanging may refuse.
//   OnExpanding / OnExpanded, OnCollapsing / OnCollapsed
//                           a node opens or closes: by its button, a double
//                           click, the keys, and from code (Expand,
//                           Collapse, Expanded, FullExpand); the -ing events
//                           may refuse.
//   OnEditing / OnEdited    an in-place edit of a node's text starts (F2, or
//                           a second click on the selected node once the
//                           double-click time has passed) and ends (Enter or
//                           leaving the editor; Escape cancels); OnEditing
//                           may refuse, OnEdited may change the text.
// Adding, deleting and clearing nodes fire none of these (the selection of
// a deleted node goes without OnChange).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

class TCustomTreeView;
class TTreeNodes;
class TEdit;
class TTimer;

class TTreeNode : public TPersistent {
public:
  ~TTreeNode() override;
  std::string ClassName() const override { return "TTreeNode"; }

  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);
  void* Data() const { return FData; }
  void SetData(void* v) { FData = v; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int v) { FSelectedIndex = v; }

  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* Item(int Index) const;
  // Its position among its siblings.
  int Index() const;
  // Its position in the whole tree, depth first.
  int AbsoluteIndex() const;
  // 0 for a top node.
  int Level() const;
  // True with children; may be set without any (the button shows).
  bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool v);
  TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front().get(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back().get(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node depth first (children before siblings), nil after the last.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // The next and previous node shown (inside expanded parents).
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  bool IsVisible() const;
  bool HasAsParent(const TTreeNode* Value) const;

  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool v);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;
  void SetSelected(bool v);
  bool Focused() const { return Selected(); }
  // Scrolls the node into view, expanding its parents.
  void MakeVisible();
  // The rectangle of its row, or of its text, in client coordinates (empty
  // while not shown).
  TRect DisplayRect(bool TextOnly) const;
  // Starts an in-place edit of the text (see OnEditing); false if refused.
  bool EditText();
  void EndEdit(bool Cancel);
  void Delete();
  void DeleteChildren();
  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* Owner) : FOwner(Owner) {}
  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<std::unique_ptr<TTreeNode>> FChildren;
  std::string FText;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
  bool FExpanded = false;
  bool FHasChildren = false;
};

class TTreeNodes : public TPersistent {
public:
  explicit TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}
  ~TTreeNodes() override;
  std::string ClassName() const override { return "TTreeNodes"; }

  // All nodes of the tree.
  int Count() const;
  // The node at an absolute (depth-first) index.
  TTreeNode* Item(int Index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front().get(); }
  // A new last sibling of Sibling (a top node when Sibling is nil).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  // A new first sibling of Sibling.
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S) { return AddObjectFirst(Sibling, S, nullptr); }
  TTreeNode* AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr);
  // A new last child of Parent (a top node when Parent is nil).
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  // A new node just before Sibling (last top node when nil).
  TTreeNode* Insert(TTreeNode* Sibling, const std::string& S) { return InsertObject(Sibling, S, nullptr); }
  TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  void Delete(TTreeNode* Node);
  void Clear();
  // Changes between these are shown once, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  TCustomTreeView* Owner() const { return FOwner; }

private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* Make(TTreeNode* Parent, int Position, const std::string& S, void* Ptr);
  std::vector<std::unique_ptr<TTreeNode>>& SiblingsOf(TTreeNode* Parent);
  void Changed();
  TCustomTreeView* FOwner;
  std::vector<std::unique_ptr<TTreeNode>> FRoots;
  int FUpdating = 0;
};

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TCustomControl {
  ZV_CLASS(TCustomTreeView)
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() const { return FNodes.get(); }
  TTreeNode* Selected() const { return FSelected; }
  // From code too: asks OnChanging, then fires OnChange.
  void SetSelected(TTreeNode* Node);
  TTreeNode* TopItem() const { return FTopItem; }
  void SetTopItem(TTreeNode* Node);
  // The node on the row at a client point (nil below the last).
  TTreeNode* GetNodeAt(int X, int Y) const;
  void FullExpand();
  void FullCollapse();
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) { FReadOnly = v; }
  // Pixels per level.
  int Indent() const { return FIndent; }
  void SetIndent(int v);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool v);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool v);
  // The top nodes get buttons and lines too.
  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v);
  // Without the focus the selection is shown only when false.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  int ItemHeight() const;
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle v);
  bool IsEditing() const;
  // The in-place editor while an edit runs (nil otherwise).
  TEdit* Editor() const;
  // The timer that starts the edit after a click on the selected node.
  TTimer* EditTimer() const { return FEditTimer.get(); }

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;

  TRect ClientRect() const override;
  TPoint ChildOrigin() const override;

protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual bool CanEdit(TTreeNode* Node);
  virtual void Edit(TTreeNode* Node, std::string& S);

  void CreateWnd() override;
  void Paint() override;
  void WMLButtonDown(TMessage& M) override;
  void WMLButtonDblClk(TMessage& M) override;
  void WMLButtonUp(TMessage& M) override;
  void WMMouseWheel(TMessage& M) override;
  void WMGetDlgCode(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void BoundsChanged(bool sizeChanged) override;
  void FontChanged() override;

  // Rows: the nodes shown, top to bottom.
  std::vector<TTreeNode*> VisibleNodes() const;
  int RowOf(const TTreeNode* Node) const;
  int VisibleRows() const;
  void Layout();
  void NodeGoing(TTreeNode* Node);
  bool SetExpandedState(TTreeNode* Node, bool Expand);
  bool StartEdit(TTreeNode* Node);
  void FinishEdit(bool Cancel);
  int ButtonCentreX(int Level) const;

private:
  std::unique_ptr<TTreeNodes> FNodes;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FTopItem = nullptr;
  TTreeNode* FEditing = nullptr;
  TEdit* FEditor = nullptr;
  std::unique_ptr<TTimer> FEditTimer;
  TTreeNode* FClickedSelected = nullptr;  // a press on the node already selected
  bool FReadOnly = false;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingle;
  int FIndent = 19;
  bool FInFinish = false;
};

class TTreeView : public TCustomTreeView {
  ZV_CLASS(TTreeView)
public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
