// The small editors of chart parts: shadow, font, legend symbol and the
// framed-shape page, and embedding editor forms in pages.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/chart.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafsymboleditor.h"
#include "dialogtest.h"
#include "platform/ui/pages.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class ShapeEditorsTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 420, 360);
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }
  TTabSheet* NewSheet(TPageControl* Pages) {
    auto* sheet = new TTabSheet(Host.get());
    sheet->SetPageControl(Pages);
    return sheet;
  }
  TPageControl* NewPages() {
    auto* pages = new TPageControl(Host.get());
    pages->SetParent(Host.get());
    pages->SetBounds(0, 0, 400, 320);
    return pages;
  }
  std::unique_ptr<TForm> Host;
};

TEST_F(ShapeEditorsTest, ShadowSizesGoBothWaysUpToTheUpDownsLimit) {
  TGrafShadow shadow;
  TTabSheet* sheet = NewSheet(NewPages());
  TGrafShadowEditor* editor = EmbedShadowEditor(sheet);
  EXPECT_EQ(editor->Owner(), Host.get());
  EXPECT_FALSE(Find<TControl>(editor, "BOK")->Visible());
  editor->BindShadow(&shadow);
  Find<TEdit>(editor, "Edit1")->SetText("-5");
  EXPECT_EQ(shadow.HorizSize(), -5);
  Find<TEdit>(editor, "EVertSize")->SetText("5000");
  EXPECT_EQ(shadow.VertSize(), 1000);
  Find<TEdit>(editor, "EShadowTransp")->SetText("40");
  EXPECT_EQ(shadow.Transparency(), 40);
  Find<TCheckBox>(editor, "CBSmooth")->SetChecked(false);
  EXPECT_FALSE(shadow.Smooth());
  // The modal editor shows its OK button and changes the shadow at once.
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_TRUE(Find<TControl>(f, "BOK")->Visible());
    EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "-5");
    Find<TEdit>(f, "Edit1")->SetText("7");
    return mrOk;
  });
  RunShadowEditor(Host.get(), &shadow);
  EXPECT_EQ(shadow.HorizSize(), 7);
}

TEST_F(ShapeEditorsTest, EmbeddedFormsSitNearTheTopOfTheirParent) {
  const struct {
    int ParentExtra;  // how much higher the parent's client area is
    int Top;
  } cases[] = {{100, 4}, {4, 2}, {0, 0}, {-6, 3}};
  for (const auto& c : cases) {
    auto* parent = new TPanel(Host.get());
    parent->SetParent(Host.get());
    parent->SetBevelOuter(bvNone);
    auto* form = new TGrafShadowEditor(Host.get());
    parent->SetBounds(0, 0, 300, form->ClientHeight() + c.ParentExtra);
    parent->SetVisible(false);
    EmbedFormInSheet(form, parent);
    EXPECT_EQ(form->Top(), c.Top) << c.ParentExtra;
    EXPECT_EQ(form->Left(), 4);
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(parent->Visible());  // put back as it was
  }
}

TEST_F(ShapeEditorsTest, SymbolEditorEnablesByItsBoxes) {
  TChart chart(nullptr);
  TLegendSymbol* symbol = chart.Legend()->Symbol();
  symbol->SetWidth(30);
  TTabSheet* sheet = NewSheet(NewPages());
  auto* editor = new TSymbolEditor(Host.get());
  editor->SetTag(reinterpret_cast<intptr_t>(symbol));
  EmbedFormInSheetWithTag(editor, sheet, symbol);
  EXPECT_EQ(editor->Symbol(), symbol);
  EXPECT_EQ(Find<TEdit>(editor, "SEColWi")->Text(), "30");
  auto* squared = Find<TCheckBox>(editor, "CBSquared");
  squared->SetChecked(true);
  EXPECT_TRUE(symbol->Squared());
  EXPECT_FALSE(Find<TControl>(editor, "SEColWi")->Enabled());
  squared->SetChecked(false);
  EXPECT_TRUE(Find<TControl>(editor, "SEColWi")->Enabled());
  auto* defaultPen = Find<TCheckBox>(editor, "CBSymPen");
  EXPECT_TRUE(defaultPen->Checked());
  EXPECT_FALSE(Find<TControl>(editor, "BSymPen")->Enabled());
  defaultPen->SetChecked(false);
  EXPECT_FALSE(symbol->DefaultPen());
  EXPECT_TRUE(Find<TControl>(editor, "BSymPen")->Enabled());
  Find<TComboBox>(editor, "CBColWUnits")->UserSelected(1);
  EXPECT_EQ(symbol->WidthUnits(), lcsPixels);
  EXPECT_EQ(symbol->Width(), 30);
  Find<TComboBox>(editor, "CBSymbolPos")->UserSelected(1);
  EXPECT_EQ(symbol->Position(), spRight);
  EXPECT_TRUE(Find<TButtonGradient>(editor, "BSymGradient")->HideEndColor);
}

TEST_F(ShapeEditorsTest, FontEditorRefreshesTheSwatchEvenWhenCancelled) {
  TGrafFont font;
  font.SetColor(clGreen);
  auto* editor = new TGrafFontEditor(Host.get());
  editor->BindFont(&font);
  EXPECT_EQ(Find<TShape>(editor, "SHText")->Brush()->Color(), clGreen);
  font.SetColor(clMaroon);  // changed behind the editor's back
  guitest::TCommonDialogResponder fonts;
  fonts.Do([](TCommonDialog* d) {
    static_cast<TFontDialog*>(d)->Font()->SetSize(30);
    return false;
  });
  Find<TButton>(editor, "Button3")->Click();
  EXPECT_NE(font.Size(), 30);
  EXPECT_EQ(Find<TShape>(editor, "SHText")->Brush()->Color(), clMaroon);
  Find<TCheckBox>(editor, "CBOutGrad")->SetChecked(true);
  EXPECT_TRUE(font.Gradient()->Outline());
  EXPECT_EQ(Find<TButtonPen>(editor, "BOutline")->LinkedPen(), font.OutLine());
}

TEST_F(ShapeEditorsTest, ShapePageLoadsQuietlyAndEnablesTheBevelSize) {
  TChart chart(nullptr);
  TChartTitle* title = chart.Title();
  title->SetBevel(bvNone);
  title->SetBevelWidth(150);  // beyond what the size's up-down gives
  TFormGrafShape* editor = TFormGrafShape::CreateShapeEditor(Host.get(), title, NewSheet(NewPages()));
  editor->BindShape(title);
  EXPECT_EQ(Find<TEdit>(editor, "EBevWidth")->Text(), "100");
  EXPECT_EQ(title->BevelWidth(), 150);  // loading wrote nothing back
  EXPECT_FALSE(Find<TControl>(editor, "EBevWidth")->Enabled());
  Find<TComboBox>(editor, "CBBevel")->UserSelected(2);
  EXPECT_EQ(title->Bevel(), bvRaised);
  EXPECT_TRUE(Find<TControl>(editor, "EBevWidth")->Enabled());
  Find<TEdit>(editor, "EBevWidth")->SetText("3");
  EXPECT_EQ(title->BevelWidth(), 3);
  Find<TCheckBox>(editor, "CBRound")->SetChecked(true);
  EXPECT_EQ(title->ShapeStyle(), fosRoundRectangle);
  // The embedded editors edit the shape's parts.
  EXPECT_EQ(editor->GradientEditor()->TheGradient, title->Gradient());
  EXPECT_EQ(editor->FontEditor()->Font(), title->Font());
  EXPECT_EQ(editor->ShadowEditor()->Shadow(), title->Shadow());
  auto* visible = new TCheckBox(Host.get());
  visible->SetParent(Host.get());
  visible->OnClick = [editor](TObject* s) { editor->CBVisibleChecked(s); };
  visible->SetChecked(false);
  visible->SetChecked(true);
  visible->SetChecked(false);
  EXPECT_FALSE(title->Visible());
}

TEST_F(ShapeEditorsTest, ShapePagesMoveIntoTheHostsPageControl) {
  TChart chart(nullptr);
  TPageControl* host = NewPages();
  NewSheet(host)->SetCaption("Style");
  host->SetActivePageIndex(0);
  TFormGrafShape* editor = EmbedShapeEditor(host, chart.Legend());
  ASSERT_EQ(host->PageCount(), 5);
  const char* captions[] = {"Style", "Format", "Text", "Gradient", "Shadow"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(host->Pages(i)->Caption(), captions[i]);
  EXPECT_EQ(host->ActivePageIndex(), 0);
  EXPECT_EQ(host->Pages(1)->Owner(), editor);
  EXPECT_EQ(editor->Shape(), chart.Legend());
}

}  // namespace
