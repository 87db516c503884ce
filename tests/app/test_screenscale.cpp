// Windows laid out for 96 pixels per inch grow with the screen's pixels per
// inch: on a 144 screen each is one and a half times as large, its controls
// and fonts with it; at 96 nothing changes.
#include <functional>
#include <memory>

#include "app/generalwindow.h"
#include "app/xyztransform.h"
#include "modeleditortest.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/forms.h"

using namespace modeleditortest;

namespace {

class ScreenScaleTest : public ModelEditorTest {
protected:
  void TearDown() override {
    SetScreenPixelsPerInch(0);
    ModelEditorTest::TearDown();
  }
};

struct TShape {
  int ClientWidth, ClientHeight;
  TRect Button;
  int FontSize;
};

TEST_F(ScreenScaleTest, WindowsScaleByTheScreensPixelsPerInchOver96) {
  Load("xray-cw.inp");
  EXPECT_EQ(Screen->PixelsPerInch(), 96);  // the offscreen platform's screen
  struct TCase {
    const char* Name;
    std::function<TShape(int ppi)> Make;
  };
  auto shapeOf = [](TForm& f, TButton* b) {
    return TShape{f.ClientWidth(), f.ClientHeight(), b->BoundsRect(), b->Font()->Size()};
  };
  const TCase cases[] = {
      {"transformation",
       [&](int ppi) {
         SetScreenPixelsPerInch(ppi);
         TFormTrans f(nullptr);
         return shapeOf(f, f.btOK);
       }},
      {"general",
       [&](int ppi) {
         SetScreenPixelsPerInch(ppi);
         TGeneralForm f(nullptr);
         return shapeOf(f, f.Button1);
       }},
  };
  for (const TCase& c : cases) {
    const TShape at96 = c.Make(96), at144 = c.Make(144);
    EXPECT_EQ(at144.ClientWidth, at96.ClientWidth * 3 / 2) << c.Name;
    EXPECT_EQ(at144.ClientHeight, at96.ClientHeight * 3 / 2) << c.Name;
    EXPECT_EQ(at144.Button.Left, MulDiv(at96.Button.Left, 3, 2)) << c.Name;
    EXPECT_EQ(at144.Button.Top, MulDiv(at96.Button.Top, 3, 2)) << c.Name;
    EXPECT_EQ(at144.Button.Width(), MulDiv(at96.Button.Width(), 3, 2)) << c.Name;
    EXPECT_EQ(at144.FontSize, MulDiv(at96.FontSize, 3, 2)) << c.Name;
  }
}

}  // namespace
