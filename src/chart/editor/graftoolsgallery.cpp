#include "chart/editor/graftoolsgallery.h"

#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "platform/ui/classes.h"

using namespace editorbuild;

void DrawToolItem(TCustomListBox* ListBox, int, const TRect& Rect, TOwnerDrawState State, TGrafCustomTool* Tool) {
  TCanvas* canvas = ListBox->Canvas();
  const bool selected = State.Contains(odSelected);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(selected ? clHighlight : ListBox->Color());
  canvas->FillRect(Rect);
  if (!Tool) return;
  DrawClassBitmap(canvas, Tool, Rect.Left + 2, Rect.Top + 1);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(selected ? clHighlightText : ListBox->Font()->Color());
  canvas->TextOut(Rect.Left + 22, Rect.Top + 2, Tool->ToolTypeName());
}

namespace {
// A temporary tool of a class, to ask what only an instance answers.
std::unique_ptr<TGrafCustomTool> ProbeTool(TClass ToolClass) {
  return std::unique_ptr<TGrafCustomTool>(dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(ToolClass, nullptr)));
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TGrafToolsGallery, TForm)

TGrafToolsGallery::TGrafToolsGallery(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Chart Tools Gallery");
  SetClientWidth(256);
  SetClientHeight(328);
  SetPosition(poScreenCenter);
  SetBorderStyle(bsDialog);
  TabControl1 = Make<TTabControl>(this, this, "TabControl1", 0, 0, 256, 290);
  LBTool = Make<TListBox>(this, TabControl1, "LBTool", 4, 4, 240, 250);
  LBTool->SetAlign(alClient);
  LBTool->SetStyle(lbOwnerDrawFixed);
  LBTool->SetItemHeight(18);
  LBTool->SetSorted(true);
  BOk = Make<TButton>(this, this, "BOk", 90, 298, 75, 25, "&Add");
  BOk->SetDefault(true);
  BOk->SetEnabled(false);
  BOk->SetModalResult(mrOk);
  BCan = MakeCancelButton(this, this, "BCan", 172, 298);
  TabControl1->OnChange = [this](TObject* s) { TabControl1Change(s); };
  LBTool->OnClick = [this](TObject* s) { LBToolClick(s); };
  LBTool->OnDblClick = [this](TObject* s) { LBToolDblClick(s); };
  LBTool->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) { LBToolDrawItem(c, i, r, st); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TGrafToolsGallery::FormShow(TObject*) {
  TabControl1->Tabs()->Clear();
  for (const char* t : {"Series", "Axis", "Other"}) TabControl1->Tabs()->Add(t);
  TabControl1->SetTabIndex(0);
  FillTools();
  InvokeControlHook(this);
}

void TGrafToolsGallery::FillTools() {
  LBTool->Items()->Clear();
  const int family = TabControl1->TabIndex();
  TGrafToolTypes* types = ToolTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    TClass cls = types->ToolClassAt(i);
    std::unique_ptr<TGrafCustomTool> tool = ProbeTool(cls);
    if (!tool) continue;
    const bool series = dynamic_cast<TGrafCustomToolSeries*>(tool.get()) != nullptr;
    const bool axis = dynamic_cast<TGrafCustomToolAxis*>(tool.get()) != nullptr;
    const int of = series ? 0 : axis ? 1 : 2;
    if (of != family) continue;
    // The item's object stands for the class (the class information is
    // a static object, never freed).
    LBTool->Items()->AddObject(tool->ToolTypeName(), reinterpret_cast<TObject*>(const_cast<TClassInfo*>(cls)));
  }
  BOk->SetEnabled(false);
}

TClass TGrafToolsGallery::SelectedToolClass() const {
  const int i = LBTool->ItemIndex();
  if (i < 0) return nullptr;
  return reinterpret_cast<TClass>(LBTool->Items()->Objects(i));
}

void TGrafToolsGallery::TabControl1Change(TObject*) { FillTools(); }

void TGrafToolsGallery::LBToolClick(TObject*) { BOk->SetEnabled(LBTool->ItemIndex() != -1); }

void TGrafToolsGallery::LBToolDblClick(TObject*) {
  if (LBTool->ItemIndex() != -1) SetModalResult(mrOk);
}

void TGrafToolsGallery::LBToolDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
  const TClass cls = reinterpret_cast<TClass>(LBTool->Items()->Objects(Index));
  std::unique_ptr<TGrafCustomTool> tool = cls ? ProbeTool(cls) : nullptr;
  DrawToolItem(LBTool, Index, Rect, State, tool.get());
}

void RegisterToolsGalleryClasses() { RegisterClasses({&TGrafToolsGallery::StaticClass()}); }
