// The library's one registration list makes every editor form and editor
// component findable by its class name, whatever the case of the name asked
// for: hosts create them from the names the series, functions and tools give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafbasefuncedit.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafediperi.h"
#include "chart/editor/grafformatting.h"
#include "chart/editor/graffuncedit.h"
#include "chart/editor/grafgalleryalternate.h"
#include "chart/editor/grafgallerypanel.h"
#include "chart/editor/grafgally.h"
#include "chart/editor/grafnavigator.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafselectlist.h"
#include "chart/editor/grafshadoweditor.h"
#include "chart/editor/grafsourceedit.h"
#include "chart/editor/grafsymboleditor.h"
#include "chart/editor/grexport.h"
#include "dialogtest.h"

namespace {

class RegistrationTest : public dialogtest::EditorDialogTest {};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

TEST_F(RegistrationTest, EditorClassesAreFoundByNameIgnoringCase) {
  const TClassInfo* classes[] = {
      &TPenDialog::StaticClass(),          &TButtonPen::StaticClass(),
      &TBrushDialog::StaticClass(),        &TGrafGradientEditor::StaticClass(),
      &TButtonGradient::StaticClass(),     &TGrafShadowEditor::StaticClass(),
      &TGrafFontEditor::StaticClass(),     &TSymbolEditor::StaticClass(),
      &TFormGrafShape::StaticClass(),      &TFormatEditor::StaticClass(),
      &TAxisIncrement::StaticClass(),      &TSelectListForm::StaticClass(),
      &TBaseSourceEditor::StaticClass(),   &TBaseFunctionEditor::StaticClass(),
      &TGrafFunctionEditor::StaticClass(), &TGrafFuncEditor::StaticClass(),
      &TGalleryChart::StaticClass(),       &TChartGalleryPanel::StaticClass(),
      &TCustomGrafNavigator::StaticClass(), &TChartPageNavigator::StaticClass(),
      &TFormGrafGeneral::StaticClass(),    &TGrafGallery::StaticClass(),
      &TGrafGalleryForm::StaticClass(),    &TGrafExportForm::StaticClass(),
  };
  for (const TClassInfo* c : classes) {
    const std::string name = c->Name();
    EXPECT_EQ(GetClass(name), c) << name;
    EXPECT_EQ(GetClass(Lower(name)), c) << name;
  }
}

}  // namespace
