// The tools page and the tools gallery: listing, adding through the gallery
// (owner and name of the new tool), deleting, activating, reordering, and the
// tool's editor form found by the class name it gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "chart/editor/grafedittools.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolsgallery.h"
#include "chart/series/graftools.h"
#include "dialogtest.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace {

class TTestToolEditorForm : public TForm {
  ZV_CLASS(TTestToolEditorForm)
public:
  explicit TTestToolEditorForm(TComponent* AOwner) : TForm(AOwner) {}
};
ZV_CLASS_IMPL_NOPROPS(TTestToolEditorForm, TForm)

class TEditedAnnotation : public TAnnotationTool {
public:
  using TAnnotationTool::TAnnotationTool;
  std::string EditorFormClassName() const override { return "TTESTTOOLEDITORFORM"; }
};

class ToolsPageTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    RegisterClass(&TTestToolEditorForm::StaticClass());
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(30, 30, 700, 400);
    Chart = new TChart(Host.get());
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 200, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(220, 0, 420, 300);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  template <class T>
  T* AddTool(TComponent* owner) {
    auto* t = new T(owner);
    t->SetParentChart(Chart);
    return t;
  }
  TFormGrafTools* Open() {
    Page = new TFormGrafTools(Host.get());
    EmbedEditorForm(Page, Sheet, Chart);
    return Page;
  }
  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;
  TFormGrafTools* Page = nullptr;
};

TEST_F(ToolsPageTest, ListsTheToolsShownInTheEditor) {
  Open();
  EXPECT_EQ(Page->LBTools->Count(), 0);
  EXPECT_FALSE(Page->CBActive->Enabled());
  EXPECT_FALSE(Page->BDelete->Enabled());

  auto* cursor = AddTool<TCursorTool>(Host.get());
  auto* hidden = AddTool<TColorLineTool>(Host.get());
  hidden->SetShowInEditor(false);
  auto* note = AddTool<TEditedAnnotation>(Host.get());
  Page->RefreshTools();
  ASSERT_EQ(Page->LBTools->Count(), 2);
  EXPECT_EQ(Page->LBTools->Items()->Objects(0), cursor);
  EXPECT_EQ(Page->LBTools->Items()->Strings(0), cursor->ToolTypeName());
  EXPECT_TRUE(Page->BDelete->Enabled());

  // The annotation names an editor form: it fills the editor panel.
  Page->LBTools->SetItemIndex(1);
  Page->LBToolsClick(Page->LBTools);
  ASSERT_NE(Page->ToolEditor(), nullptr);
  EXPECT_EQ(Page->ToolEditor()->ClassType(), &TTestToolEditorForm::StaticClass());
  EXPECT_EQ(Page->ToolEditor()->Parent(), Page->PanelToolEditor);
  EXPECT_EQ(Page->ToolEditor()->Tag(), reinterpret_cast<intptr_t>(note));
  EXPECT_TRUE(Page->BMoveUp->Enabled());
  EXPECT_FALSE(Page->BMoveDown->Enabled());
  Page->CBActive->SetChecked(false);
  EXPECT_FALSE(note->Active());

  // Moving up swaps the two in the list, in the chart and among the owner's components.
  const int cursorIndex = cursor->ComponentIndex(), noteIndex = note->ComponentIndex();
  Page->BMoveUp->Click();
  EXPECT_EQ(Page->LBTools->Items()->Objects(0), note);
  EXPECT_EQ(Chart->Tools()->IndexOf(note), 0);
  EXPECT_EQ(Chart->Tools()->IndexOf(cursor), 2);
  EXPECT_EQ(Chart->Tools()->IndexOf(hidden), 1);
  EXPECT_EQ(note->ComponentIndex(), cursorIndex);
  EXPECT_EQ(cursor->ComponentIndex(), noteIndex);
  EXPECT_FALSE(Page->BMoveUp->Enabled());
}

TEST_F(ToolsPageTest, DeletingTheFirstOfThreeLeavesTheLastCurrent) {
  AddTool<TCursorTool>(Host.get());
  AddTool<TNearestTool>(Host.get());
  auto* last = AddTool<TAnnotationTool>(Host.get());
  Open();
  ASSERT_EQ(Page->LBTools->ItemIndex(), 0);
  TDialogResponder answers;
  answers.Answer(mrNo).Answer(mrYes);
  int deleted = 0;
  Page->OnDeleteTool = [&](TGrafCustomTool*) { ++deleted; };
  Page->BDelete->Click();
  EXPECT_EQ(Chart->Tools()->Count(), 3);
  Page->BDelete->Click();
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(answers.Last().Text, "Delete Cursor ?");
  ASSERT_EQ(Chart->Tools()->Count(), 2);
  EXPECT_EQ(Page->CurrentTool(), last);
}

TEST_F(ToolsPageTest, TheGalleryAddsAToolOwnedLikeTheOthers) {
  // A tool owned by the chart makes the new one the chart's too.
  AddTool<TCursorTool>(Chart);
  Open();
  TGrafCustomTool* added = nullptr;
  Page->OnAddTool = [&](TGrafCustomTool* t) { added = t; };
  std::vector<std::string> other;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    auto* gallery = dynamic_cast<TGrafToolsGallery*>(f);
    EXPECT_NE(gallery, nullptr);
    if (!gallery) return mrCancel;
    EXPECT_EQ(gallery->Caption(), "Chart Tools Gallery");
    EXPECT_FALSE(gallery->BOk->Enabled());
    // "Other": neither series nor axis tools.
    gallery->TabControl1->SetTabIndex(2);
    gallery->TabControl1Change(gallery->TabControl1);
    for (int i = 0; i < gallery->LBTool->Count(); ++i) other.push_back(gallery->LBTool->Items()->Strings(i));
    const int annotation = gallery->LBTool->Items()->IndexOf(TAnnotationTool(nullptr).ToolTypeName());
    EXPECT_GE(annotation, 0);
    gallery->LBTool->SetItemIndex(annotation);
    gallery->LBToolClick(gallery->LBTool);
    EXPECT_TRUE(gallery->BOk->Enabled());
    return mrOk;
  });
  Page->BAdd->Click();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->ClassType(), &TAnnotationTool::StaticClass());
  EXPECT_EQ(added->Owner(), Chart);
  EXPECT_EQ(added->Name(), "ChartTool1");
  EXPECT_EQ(added->ParentChart(), Chart);
  EXPECT_EQ(Page->CurrentTool(), added);
  EXPECT_EQ(Page->LBTools->Count(), 2);
  // Sorted, and no series or axis tool among them.
  EXPECT_TRUE(std::is_sorted(other.begin(), other.end()));
  EXPECT_EQ(std::find(other.begin(), other.end(), TCursorTool(nullptr).ToolTypeName()), other.end());
  EXPECT_EQ(std::find(other.begin(), other.end(), TColorLineTool(nullptr).ToolTypeName()), other.end());
}

}  // namespace
