#include "app/constraintswindow.h"

#include <algorithm>
#include <cmath>

#include "app/popupmenus.h"
#include "app/positionsaver.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/radio.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"

TConstraintForm* ConstraintForm = nullptr;

ZV_CLASS_IMPL_NOPROPS(TConstraintForm, TForm)

namespace {

constexpr int kParameterWidth = 160;
constexpr int kRatioWidth = 40;

TLabel* LabelAt(TComponent* owner, TWinControl* parent, const std::string& text, int x, int y) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetLeft(x);
  l->SetTop(y);
  return l;
}

TListBox* NewList(TComponent* owner, TWinControl* parent, int x, int y, int w, int h) {
  auto* l = new TListBox(owner);
  l->SetParent(parent);
  l->SetBounds(x, y, w, h);
  l->SetDragMode(dmAutomatic);
  return l;
}

TStringGrid* NewGrid(TComponent* owner, TWinControl* parent, int cols, int x, int y, int w, int h) {
  auto* g = new TStringGrid(owner);
  g->SetParent(parent);
  g->SetBounds(x, y, w, h);
  g->SetColCount(cols);
  g->SetFixedCols(0);
  g->SetRowCount(1);
  g->SetDefaultRowHeight(18);
  return g;
}

// The shortest text that reads back as the same single.
std::string RatioText(float r) {
  for (int digits = 1; digits <= 9; ++digits) {
    TFormatSettings s = FormatSettings;
    s.DecimalSeparator = '.';
    const std::string t = FloatToStrF(r, ffGeneral, digits, 0, s);
    if (TextToReal(t) == r) return t;
  }
  return RealToStrFixed(r, 1, 6);
}

}  // namespace

TConstraintForm::TConstraintForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("ConstraintForm");
  SetCaption("Constraints");
  SetClientWidth(560);
  SetClientHeight(430);

  auto* group = new TGroupBox(this);
  group->SetParent(this);
  group->SetCaption("Linear Constraints");
  group->SetBounds(6, 4, 548, 380);
  LabelAt(this, group, "Global:", 10, 18);
  ListBoxGlobal = NewList(this, group, 10, 34, 150, 80);
  LabelAt(this, group, "Phase:", 10, 118);
  ListBoxPhase = NewList(this, group, 10, 134, 150, 110);
  LabelAt(this, group, "Sample:", 10, 248);
  ListBoxSample = NewList(this, group, 10, 264, 150, 80);
  StringGrid1 = NewGrid(this, group, 1, 166, 34, kParameterWidth + 6, 310);
  StringGrid2 = NewGrid(this, group, 2, 336, 34, kParameterWidth + kRatioWidth + 7, 310);
  StringGrid2->SetOptions(StringGrid2->Options().Include(goEditing));
  LabelAt(this, group, "Total Number of Variables:", 10, 352);
  Labelvar = LabelAt(this, group, "0", 170, 352);
  LabelAt(this, group, "Total number of constraints:", 336, 352);
  Labelcon = LabelAt(this, group, "0", 506, 352);

  ButtonOK = new TButton(this);
  ButtonOK->SetParent(this);
  ButtonOK->SetCaption("OK");
  ButtonOK->SetBounds(303, 396, 75, 25);
  ButtonCancel = new TButton(this);
  ButtonCancel->SetParent(this);
  ButtonCancel->SetCaption("Cancel");
  ButtonCancel->SetCancel(true);
  ButtonCancel->SetBounds(388, 396, 75, 25);
  ButtonHelp = new TButton(this);
  ButtonHelp->SetParent(this);
  ButtonHelp->SetCaption("Help");
  ButtonHelp->SetBounds(473, 396, 75, 25);

  PopupMenu1 = NewItemPopupMenu(this, [this](TObject* s) { PopupMenu1Popup(s); });
  PopupMenu1->SetAutoPopup(true);
  DeleteConstraint1 = AddPopupItem(PopupMenu1, "Delete Constraint", [this](TObject* s) { DeleteConstraint1Click(s); });
  StringGrid1->SetPopupMenu(PopupMenu1);
  StringGrid2->SetPopupMenu(PopupMenu1);

  StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
  StringGrid2->OnClick = [this](TObject* s) { StringGrid2Click(s); };
  StringGrid1->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    StringGrid1DragOver(s, src, x, y, st, a);
  };
  StringGrid2->OnDragOver = [this](TObject* s, TObject* src, int x, int y, TDragState st, bool& a) {
    StringGrid2DragOver(s, src, x, y, st, a);
  };
  StringGrid1->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) { StringGrid1DragDrop(s, src, x, y); };
  StringGrid2->OnDragDrop = [this](TObject* s, TObject* src, int x, int y) { StringGrid2DragDrop(s, src, x, y); };
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonCancel->OnClick = [this](TObject* s) { ButtonCancelClick(s); };
  ButtonHelp->OnClick = [this](TObject* s) { ButtonHelpClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
}

TConstraintForm::~TConstraintForm() {
  if (ConstraintForm == this) ConstraintForm = nullptr;
  if (LastActiveControl && LastActiveControl->Owner() == this) LastActiveControl = nullptr;
}

void TConstraintForm::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  // The lists and both columns keep their width; the height may grow.
  if (Height() < 400) SetHeight(400);
  UpdateForm();
}

void TConstraintForm::UpdateForm() {
  StringGrid1->SetColWidths(0, kParameterWidth);
  StringGrid2->SetColWidths(0, kParameterWidth);
  StringGrid2->SetColWidths(1, kRatioWidth);
  ShowVars();
  ShowCons();
  SetMultiSelect(false);
}

TListBox* TConstraintForm::ListOfKind(int Kind) {
  switch (Kind) {
    case pkHistogram:
    case pkScatter: return ListBoxGlobal;
    case pkPhase:
    case pkAtom: return ListBoxPhase;
    case pkSample: return ListBoxSample;
    default: return nullptr;
  }
}

std::vector<TParameter>& TConstraintForm::ItemsOf(TListBox* List) {
  if (List == ListBoxGlobal) return FGlobal;
  if (List == ListBoxPhase) return FPhase;
  return FSample;
}

const std::vector<TParameter>& TConstraintForm::ListParameters(TListBox* List) const {
  return const_cast<TConstraintForm*>(this)->ItemsOf(List);
}

void TConstraintForm::AddToList(const TParameter& P, const std::string& Text) {
  TListBox* list = ListOfKind(P.Kind);
  if (!list) return;
  TParameter copy;
  copy.SetAddress(P.Histogram, P.Phase, P.Atom, P.ParamType, 1);
  list->Items()->Add(Text);
  ItemsOf(list).push_back(copy);
}

void TConstraintForm::ShowVars() {
  for (TListBox* l : {ListBoxGlobal, ListBoxPhase, ListBoxSample}) l->Clear();
  FGlobal.clear();
  FPhase.clear();
  FSample.clear();
  if (!Model) {
    Labelvar->SetCaption("0");
    return;
  }
  const TRietveld& m = *Model;
  Labelvar->SetCaption(IntToStr(m.RefinedCount()));
  for (int n = 1; n <= m.RefinedCount(); ++n)
    AddToList(*m.Parameters.Refined[static_cast<size_t>(n - 1)], m.RefinedParameterName(n));
  for (int n = 1; n <= m.ConstraintCount(); ++n)
    AddToList(m.Parameters.Constraints[static_cast<size_t>(n - 1)]->Second, m.ConstraintMemberName(n, 2));
}

void TConstraintForm::SetRows(TStringGrid* Grid, int Constraints) {
  Grid->SetRowCount(Constraints + 1);
  if (Constraints > 0 && Grid->FixedRows() == 0) Grid->SetFixedRows(1);
}

void TConstraintForm::ShowCons() {
  FFirst.clear();
  FSecond.clear();
  const int count = Model ? Model->ConstraintCount() : 0;
  SetRows(StringGrid1, count);
  SetRows(StringGrid2, count);
  StringGrid1->SetCells(0, 0, "Parameter");
  StringGrid2->SetCells(0, 0, "Parameter");
  StringGrid2->SetCells(1, 0, "/Value");
  Labelcon->SetCaption(IntToStr(count));
  for (int n = 1; n <= count; ++n) {
    const TConstraint& c = *Model->Parameters.Constraints[static_cast<size_t>(n - 1)];
    StringGrid1->SetCells(0, n, Model->ConstraintMemberName(n, 1));
    FFirst.push_back(c.First);
    StringGrid2->SetCells(0, n, Model->ConstraintMemberName(n, 2));
    StringGrid2->SetCells(1, n, RatioText(c.Second.Multiplier));
    FSecond.push_back(c.Second);
  }
}

void TConstraintForm::ClearForm() {
  for (TListBox* l : {ListBoxGlobal, ListBoxPhase, ListBoxSample}) l->Clear();
  FGlobal.clear();
  FPhase.clear();
  FSample.clear();
  FFirst.clear();
  FSecond.clear();
  SetRows(StringGrid1, 0);
  SetRows(StringGrid2, 0);
}

void TConstraintForm::SetMultiSelect(bool On) {
  for (TListBox* l : {ListBoxGlobal, ListBoxPhase, ListBoxSample}) l->SetMultiSelect(On);
}

bool TConstraintForm::IsList(TObject* Source) const {
  return Source == ListBoxGlobal || Source == ListBoxPhase || Source == ListBoxSample;
}

void TConstraintForm::StringGrid1DragOver(TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
  Accept = IsList(Source) && FirstRows() == SecondRows();
}

void TConstraintForm::StringGrid2DragOver(TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
  Accept = IsList(Source) && FirstRows() == SecondRows() + 1;
}

void TConstraintForm::AppendRow(TStringGrid* Grid, std::vector<TParameter>& Members, const TParameter& P,
                                const std::string& Text) {
  Members.push_back(P);
  const int row = static_cast<int>(Members.size());
  SetRows(Grid, row);
  Grid->SetCells(0, row, Text);
}

void TConstraintForm::StringGrid1DragDrop(TObject*, TObject* Source, int, int) {
  auto* list = dynamic_cast<TListBox*>(Source);
  if (!IsList(Source) || !list || FirstRows() != SecondRows()) return;
  const int i = list->ItemIndex();
  if (i < 0 || i >= list->Count()) return;
  AppendRow(StringGrid1, FFirst, ItemsOf(list)[static_cast<size_t>(i)], list->Items()->Get(i));
  ModelChanged = true;
  SetMultiSelect(true);
}

void TConstraintForm::StringGrid2DragDrop(TObject*, TObject* Source, int, int) {
  auto* list = dynamic_cast<TListBox*>(Source);
  if (!IsList(Source) || !list || FirstRows() != SecondRows() + 1) return;
  ModelChanged = true;
  std::vector<TParameter>& items = ItemsOf(list);
  std::vector<int> chosen;
  for (int i = 0; i < list->Count(); ++i)
    if (list->MultiSelect() ? list->Selected(i) : i == list->ItemIndex()) chosen.push_back(i);
  for (int i : chosen) {
    AppendRow(StringGrid2, FSecond, items[static_cast<size_t>(i)], list->Items()->Get(i));
    StringGrid2->SetCells(1, SecondRows(), "1.0");
    // Each further second member shares the first member of the row above.
    if (SecondRows() > FirstRows())
      AppendRow(StringGrid1, FFirst, FFirst.back(), StringGrid1->Cells(0, FirstRows()));
  }
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
    list->Items()->Delete(*it);
    items.erase(items.begin() + *it);
  }
  SetMultiSelect(false);
}

void TConstraintForm::StringGrid1Click(TObject*) {
  StringGrid2->SetSelection(TGridRect{0, StringGrid1->Selection().Top, 1, StringGrid1->Selection().Bottom});
}

void TConstraintForm::StringGrid2Click(TObject*) {
  StringGrid1->SetSelection(TGridRect{0, StringGrid2->Selection().Top, 0, StringGrid2->Selection().Bottom});
}

void TConstraintForm::PopupMenu1Popup(TObject*) {
  DeleteConstraint1->SetEnabled(FirstRows() > 0 && FirstRows() == SecondRows());
}

bool TConstraintForm::Listed(const TParameter& P) const {
  for (const auto* items : {&FGlobal, &FPhase, &FSample})
    for (const TParameter& q : *items)
      if (q.SameAddress(P)) return true;
  return false;
}

bool TConstraintForm::UsedInRows(const TParameter& P) const {
  for (const auto* members : {&FFirst, &FSecond})
    for (const TParameter& q : *members)
      if (q.SameAddress(P)) return true;
  return false;
}

void TConstraintForm::DeleteRow(int Row) {
  for (TStringGrid* g : {StringGrid1, StringGrid2}) {
    g->MoveRow(Row, g->RowCount() - 1);
    for (int c = 0; c < g->ColCount(); ++c) g->SetCells(c, g->RowCount() - 1, "");
  }
  FFirst.erase(FFirst.begin() + (Row - 1));
  FSecond.erase(FSecond.begin() + (Row - 1));
  SetRows(StringGrid1, FirstRows());
  SetRows(StringGrid2, SecondRows());
}

void TConstraintForm::DeleteConstraint1Click(TObject*) {
  if (FirstRows() == 0 || FirstRows() != SecondRows()) return;
  ModelChanged = true;
  const TGridRect sel = StringGrid1->Selection();
  const int top = std::max(1, sel.Top), bottom = std::min(FirstRows(), sel.Bottom);
  struct TRemoved {
    TParameter P;
    std::string Text;
  };
  std::vector<TRemoved> removed;
  for (int row = bottom; row >= top; --row) {
    removed.push_back({FSecond[static_cast<size_t>(row - 1)], StringGrid2->Cells(0, row)});
    removed.push_back({FFirst[static_cast<size_t>(row - 1)], StringGrid1->Cells(0, row)});
    DeleteRow(row);
  }
  // The members go back where they can be picked again, and OK refines them.
  for (auto it = removed.rbegin(); it != removed.rend(); ++it)
    if (!Listed(it->P) && !UsedInRows(it->P)) AddToList(it->P, it->Text);
}

void TConstraintForm::ButtonOKClick(TObject*) {
  if (!Model) {
    Close();
    return;
  }
  // Only rows with both members count.
  std::vector<TConstraint> built;
  for (int n = 1; n <= SecondRows() && n <= FirstRows(); ++n) {
    const std::string text = StringGrid2->Cells(1, n);
    float ratio = 0;
    if (!TryTextToReal(TrimText(text), ratio)) {
      ShowMessage("\"" + TrimText(text) + "\" in /Value of constraint " + IntToStr(n) + " is not a number.");
      return;
    }
    TConstraint c;
    c.First = FFirst[static_cast<size_t>(n - 1)];
    c.First.Multiplier = 1;
    c.Second = FSecond[static_cast<size_t>(n - 1)];
    c.Second.Multiplier = ratio == 0 ? 1.0f : ratio;
    built.push_back(c);
  }
  TParameterList& list = Model->Parameters;
  list.Clear();
  for (const TConstraint& c : built) list.AddConstraint(c.First, c.Second);
  for (const auto* items : {&FGlobal, &FPhase, &FSample})
    for (const TParameter& p : *items) list.SetRefined(p.Histogram, p.Phase, p.Atom, p.ParamType, true);
  Close();
}

void TConstraintForm::ButtonCancelClick(TObject*) { Close(); }

void TConstraintForm::ButtonHelpClick(TObject*) { ShowMessage("No help is installed for the Constraints window."); }

void TConstraintForm::FormClose(TObject*, TCloseAction& Action) {
  LastActiveControl = nullptr;
  ClearForm();
  Action = caHide;
}

void TConstraintForm::FormDeactivate(TObject*) {
  if (Visible()) LastActiveControl = ActiveControl();
}
