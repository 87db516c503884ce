#include "chart/editor/grafedittools.h"

#include <memory>
#include <vector>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolsgallery.h"
#include "platform/ui/classes.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TFormGrafTools, TForm)

TFormGrafTools::TFormGrafTools(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(393);
  SetClientHeight(270);
  PTop = Make<TPanel>(this, this, "PTop", 0, 0, 393, 33);
  PTop->SetAlign(alTop);
  PTop->SetBevelOuter(bvNone);
  BAdd = Make<TButton>(this, PTop, "BAdd", 4, 4, 75, 25, "&Add...");
  BDelete = Make<TButton>(this, PTop, "BDelete", 84, 4, 75, 25, "&Delete");
  CBActive = Make<TCheckBox>(this, PTop, "CBActive", 170, 8, 70, 17, "A&ctive");
  CBShowInEditor = Make<TCheckBox>(this, PTop, "CBShowInEditor", 170, 20, 130, 17, "Show in this editor");
  CBShowInEditor->SetVisible(false);
  Panel2 = Make<TPanel>(this, PTop, "Panel2", 330, 2, 60, 29);
  Panel2->SetBevelOuter(bvNone);
  BMoveUp = Make<TSpeedButton>(this, Panel2, "BMoveUp", 2, 2, 26, 25);
  BMoveDown = Make<TSpeedButton>(this, Panel2, "BMoveDown", 30, 2, 26, 25);
  for (TSpeedButton* b : {BMoveUp, BMoveDown}) {
    b->SetFlat(true);
    b->SetNumGlyphs(2);
  }
  PBottom = Make<TPanel>(this, this, "PBottom", 0, 250, 393, 20);
  PBottom->SetAlign(alBottom);
  PBottom->SetVisible(false);
  LBTools = Make<TListBox>(this, this, "LBTools", 0, 33, 140, 217);
  LBTools->SetAlign(alLeft);
  LBTools->SetStyle(lbOwnerDrawFixed);
  LBTools->SetItemHeight(18);
  Splitter1 = Make<TSplitter>(this, this, "Splitter1", 140, 33, 3, 217);
  Splitter1->SetAlign(alLeft);
  PanelToolEditor = Make<TPanel>(this, this, "PanelToolEditor", 143, 33, 250, 217);
  PanelToolEditor->SetAlign(alClient);
  PanelToolEditor->SetBevelOuter(bvLowered);

  LBTools->OnClick = [this](TObject* s) { LBToolsClick(s); };
  LBTools->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) {
    LBToolsDrawItem(c, i, r, st);
  };
  BAdd->OnClick = [this](TObject* s) { BAddClick(s); };
  BDelete->OnClick = [this](TObject* s) { BDeleteClick(s); };
  CBActive->OnClick = [this](TObject* s) { CBActiveClick(s); };
  CBShowInEditor->OnClick = [this](TObject* s) { CBShowInEditorClick(s); };
  BMoveUp->OnClick = [this](TObject* s) { BMoveUpClick(s); };
  BMoveDown->OnClick = [this](TObject* s) { BMoveDownClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

TFormGrafTools::~TFormGrafTools() {
  if (FChart && !FChart->ComponentState().Contains(csDestroying)) FChart->RemoveFreeNotification(this);
}

void TFormGrafTools::FormCreate(TObject*) {
  TBitmap up, down;
  LoadArrowBitmaps(&up, &down);
  BMoveUp->SetGlyph(&up);
  BMoveDown->SetGlyph(&down);
}

void TFormGrafTools::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FChart) FChart = nullptr;
  if (AComponent == FToolEditor) FToolEditor = nullptr;
}

TGrafCustomTool* TFormGrafTools::CurrentTool() const {
  const int i = LBTools->ItemIndex();
  return i < 0 ? nullptr : dynamic_cast<TGrafCustomTool*>(LBTools->Items()->Objects(i));
}

void TFormGrafTools::FormShow(TObject*) {
  auto* chart = reinterpret_cast<TCustomAxisPanel*>(Tag());
  if (chart != FChart) {
    if (FChart) FChart->RemoveFreeNotification(this);
    FChart = chart;
    if (FChart) FChart->FreeNotification(this);
  }
  if (FChart) {
    PBottom->SetVisible(Designing(FChart));
    FillTools();
    if (LBTools->Count() > 0) {
      LBTools->SetItemIndex(0);
      LBToolsClick(LBTools);
    } else {
      EnableMoveButtons();
    }
  }
  InvokeControlHook(this);
}

void TFormGrafTools::FillTools() {
  PBottom->SetCaption("");
  LBTools->Items()->Clear();
  if (FChart)
    for (TGrafCustomTool* t : *FChart->Tools())
      if (Designing(t) || t->ShowInEditor()) LBTools->Items()->AddObject(t->ToolTypeName(), t);
  const bool any = LBTools->Count() > 0;
  CBActive->SetEnabled(any);
  BDelete->SetEnabled(any);
}

void TFormGrafTools::RefreshTools() {
  if (FChart && LBTools->Count() != FChart->Tools()->Count()) FillTools();
  if (LBTools->ItemIndex() != -1) LBToolsClick(LBTools);
}

void TFormGrafTools::EnableMoveButtons() {
  const int i = LBTools->ItemIndex();
  BMoveUp->SetEnabled(i > 0);
  BMoveDown->SetEnabled(i >= 0 && i < LBTools->Count() - 1);
}

void TFormGrafTools::LBToolsClick(TObject*) {
  TGrafCustomTool* tool = CurrentTool();
  if (!tool) return;
  // An editor with changes it will not drop keeps its tool current.
  if (FToolEditor && FToolEditor->Tag() != reinterpret_cast<intptr_t>(tool) && !FToolEditor->CloseQuery()) {
    const int back = LBTools->Items()->IndexOfObject(reinterpret_cast<TObject*>(FToolEditor->Tag()));
    if (back >= 0) LBTools->SetItemIndex(back);
    return;
  }
  CBActive->SetChecked(tool->Active());
  if (FToolEditor) {
    delete FToolEditor;
    FToolEditor = nullptr;
  }
  if (TClass cls = FindEditorFormClass(tool)) {
    FToolEditor = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, this));
    if (FToolEditor) {
      InvokeControlHook(FToolEditor);
      FToolEditor->SetAlign(alClient);
      EmbedEditorForm(FToolEditor, PanelToolEditor, tool);
    }
  }
  CBShowInEditor->SetVisible(Designing(tool));
  if (CBShowInEditor->Visible()) {
    CBShowInEditor->SetChecked(tool->ShowInEditor());
    CBActive->SetTop(3);
  }
  EnableMoveButtons();
  if (PBottom->Visible()) PBottom->SetCaption(tool->Name());
}

void TFormGrafTools::LBToolsDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
  DrawToolItem(LBTools, Index, Rect, State,
               dynamic_cast<TGrafCustomTool*>(LBTools->Items()->Objects(Index)));
}

void TFormGrafTools::BAddClick(TObject*) {
  if (!FChart) return;
  auto* gallery = new TGrafToolsGallery(Owner());
  std::unique_ptr<TGrafToolsGallery> hold(gallery);
  if (Owner()) gallery->SetPosition(poOwnerFormCenter);
  if (gallery->ShowModal() != mrOk) return;
  TClass cls = gallery->SelectedToolClass();
  if (!cls) return;
  TComponent* owner = FChart->Owner();
  for (TGrafCustomTool* t : *FChart->Tools())
    if (t->Owner() == FChart) owner = FChart;
  auto* tool = dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(cls, owner));
  if (!tool) return;
  tool->SetParentChart(FChart);
  tool->SetName(UniqueComponentName(owner, "ChartTool"));
  if (OnAddTool) OnAddTool(tool);
  FillTools();
  const int last = LBTools->Items()->IndexOfObject(tool);
  LBTools->SetItemIndex(last >= 0 ? last : LBTools->Count() - 1);
  if (LBTools->CanFocus()) LBTools->SetFocus();
  LBToolsClick(LBTools);
}

void TFormGrafTools::BDeleteClick(TObject*) {
  TGrafCustomTool* tool = CurrentTool();
  if (!tool) return;
  if (!AskDeleteConfirmation(tool->ToolTypeName(), this)) return;
  const int was = LBTools->ItemIndex();
  if (OnDeleteTool) OnDeleteTool(tool);
  if (FToolEditor) {
    delete FToolEditor;
    FToolEditor = nullptr;
  }
  delete tool;
  FillTools();
  const int n = LBTools->Count();
  if (n > 0) LBTools->SetItemIndex(was <= 1 ? n - 1 : was - 1);
  BDelete->SetEnabled(LBTools->ItemIndex() != -1);
  if (LBTools->ItemIndex() != -1) LBToolsClick(LBTools);
  else EnableMoveButtons();
}

void TFormGrafTools::CBActiveClick(TObject*) {
  if (TGrafCustomTool* tool = CurrentTool()) tool->SetActive(CBActive->Checked());
}

void TFormGrafTools::CBShowInEditorClick(TObject*) {
  if (TGrafCustomTool* tool = CurrentTool()) tool->SetShowInEditor(CBShowInEditor->Checked());
}

void TFormGrafTools::MoveCurrent(int Delta) {
  const int a = LBTools->ItemIndex();
  const int b = a + Delta;
  if (a < 0 || b < 0 || b >= LBTools->Count() || !FChart) return;
  auto* ta = dynamic_cast<TGrafCustomTool*>(LBTools->Items()->Objects(a));
  auto* tb = dynamic_cast<TGrafCustomTool*>(LBTools->Items()->Objects(b));
  LBTools->Items()->Exchange(a, b);
  // The chart's list in its new order (it offers no exchange of its own).
  TChartTools* tools = FChart->Tools();
  std::vector<TGrafCustomTool*> order(tools->begin(), tools->end());
  const int ia = tools->IndexOf(ta), ib = tools->IndexOf(tb);
  if (ia >= 0 && ib >= 0) {
    std::swap(order[static_cast<size_t>(ia)], order[static_cast<size_t>(ib)]);
    for (TGrafCustomTool* t : order) tools->Remove(t);
    for (TGrafCustomTool* t : order) tools->Append(t);
  }
  if (ta->Owner() && ta->Owner() == tb->Owner()) {
    const int ca = ta->ComponentIndex(), cb = tb->ComponentIndex();
    ta->SetComponentIndex(cb);
    tb->SetComponentIndex(ca);
  }
  LBTools->SetItemIndex(b);
  FChart->Invalidate();
  EnableMoveButtons();
}

void TFormGrafTools::BMoveUpClick(TObject*) { MoveCurrent(-1); }
void TFormGrafTools::BMoveDownClick(TObject*) { MoveCurrent(1); }

void RegisterToolsPageClasses() { RegisterClasses({&TFormGrafTools::StaticClass()}); }
