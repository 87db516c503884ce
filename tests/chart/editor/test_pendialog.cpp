// The pen dialog through its button, the pen button's swatch, the cursor
// combo and the shared question routine.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/grafpendlg.h"
#include "dialogtest.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class PenDialogTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(100, 100, 300, 200);
    Button = new TButtonPen(Host.get());
    Button->SetParent(Host.get());
    Button->SetBounds(10, 10, 90, 25);
  }
  void TearDown() override {
    Host.reset();
    EditorDialogTest::TearDown();
  }

  std::unique_ptr<TForm> Host;
  TButtonPen* Button = nullptr;
};

TEST_F(PenDialogTest, CancelRestoresWidthAndColourAndTellsThePenOnce) {
  TChartPen pen;
  pen.SetWidth(2);
  pen.SetColor(clBlue);
  int changes = 0;
  pen.OnChange = [&](TObject*) { ++changes; };
  Button->LinkPen(&pen);
  int hostClicks = 0;
  Button->OnClick = [&](TObject*) { ++hostClicks; };

  guitest::TCommonDialogResponder colours;
  colours.Do([](TCommonDialog* d) {
    static_cast<TColorDialog*>(d)->Color = clRed;
    return true;
  });
  guitest::TModalResponder modal;
  int changesBeforeCancel = -1;
  modal.Do([&](TCustomForm* f) {
    Find<TEdit>(f, "SEWidth")->SetText("5");
    Find<TButtonColor>(f, "BColor")->Click();
    EXPECT_EQ(pen.Width(), 5);  // live: the chart shows every change at once
    EXPECT_EQ(pen.Color(), clRed);
    changesBeforeCancel = changes;
    Find<TButton>(f, "BCancel")->Click();
    return mrCancel;
  });
  Button->Click();

  EXPECT_EQ(modal.Count(), 1);
  EXPECT_EQ(pen.Width(), 2);
  EXPECT_EQ(pen.Color(), clBlue);
  EXPECT_EQ(changes - changesBeforeCancel, 1);
  EXPECT_EQ(hostClicks, 0);
  EXPECT_EQ(Button->Dialog(), nullptr);  // freed after the run
}

TEST_F(PenDialogTest, OkFiresTheHostClickAfterThePenChanged) {
  TChartPen pen;
  Button->LinkPen(&pen);
  int widthSeen = 0;
  Button->OnClick = [&](TObject*) { widthSeen = pen.Width(); };
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    Find<TEdit>(f, "SEWidth")->SetText("3");
    return mrOk;
  });
  Button->Click();
  EXPECT_EQ(widthSeen, 3);
  EXPECT_EQ(Button->Dialog(), nullptr);

  // An exception from the host's handler still frees the dialog.
  Button->OnClick = [](TObject*) { throw Exception("host failed"); };
  modal.Answer(mrOk);
  EXPECT_THROW(Button->Click(), Exception);
  EXPECT_EQ(Button->Dialog(), nullptr);
}

TEST_F(PenDialogTest, WithoutAPenTheButtonOnlyClicks) {
  int clicks = 0;
  Button->OnClick = [&](TObject*) { ++clicks; };
  guitest::TModalResponder modal;
  Button->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(modal.Count(), 0);
}

TEST_F(PenDialogTest, PlainPenHasFiveStylesAndNoVisibilityOrEndStyle) {
  TPen pen;
  pen.SetStyle(psDot);
  Button->LinkPen(&pen);
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    auto* style = Find<TComboBox>(f, "CBStyle");
    EXPECT_EQ(style->Items()->Count(), 5);
    EXPECT_EQ(style->ItemIndex(), psDot);
    EXPECT_FALSE(Find<TCheckBox>(f, "CBVisible")->Visible());
    EXPECT_FALSE(Find<TComboBox>(f, "CBEndStyle")->Visible());
    return mrCancel;
  });
  Button->Click();
  EXPECT_EQ(modal.Count(), 1);
}

TEST_F(PenDialogTest, SmallDotsOpensSelectedAndDashSwitchesItOff) {
  TChartPen pen;
  pen.SetSmallDots(true);
  pen.SetEndStyle(esFlat);
  Button->LinkPen(&pen);
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    auto* style = Find<TComboBox>(f, "CBStyle");
    auto* width = Find<TEdit>(f, "SEWidth");
    EXPECT_EQ(style->Items()->Count(), 6);
    EXPECT_EQ(style->Items()->Strings(style->ItemIndex()), "Small Dots");
    EXPECT_FALSE(width->Enabled());
    EXPECT_FALSE(Find<TUpDown>(f, "UDWidth")->Enabled());
    EXPECT_TRUE(Find<TCheckBox>(f, "CBVisible")->Visible());
    EXPECT_EQ(Find<TComboBox>(f, "CBEndStyle")->ItemIndex(), esFlat);
    style->UserSelected(1);  // "Dash"
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_EQ(pen.Style(), psDash);
    EXPECT_TRUE(width->Enabled());
    return mrOk;
  });
  Button->Click();
}

TEST_F(PenDialogTest, OnOtherSystemsStylesNeedAOnePixelPen) {
  NTPlatform = false;
  TChartPen pen;
  pen.SetWidth(3);
  Button->LinkPen(&pen);
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    auto* style = Find<TComboBox>(f, "CBStyle");
    EXPECT_EQ(style->Items()->Count(), 5);  // no "Small Dots"
    EXPECT_FALSE(Find<TComboBox>(f, "CBEndStyle")->Visible());
    EXPECT_FALSE(style->Enabled());
    Find<TEdit>(f, "SEWidth")->SetText("1");
    EXPECT_TRUE(style->Enabled());
    return mrOk;
  });
  Button->Click();
  NTPlatform = true;
}

TEST_F(PenDialogTest, WidePenShowsASixPixelSwatchWithoutChangingIt) {
  TChartPen pen;
  pen.SetWidth(10);
  pen.SetColor(clRed);
  int changes = 0;
  pen.OnChange = [&](TObject*) { ++changes; };
  Button->LinkPen(&pen);
  Host->Show();
  TBitmap picture;
  ASSERT_TRUE(guitest::ControlPicture(Button, picture));
  const int x = Button->Width() - 11;
  int red = 0;
  for (int y = 0; y < Button->Height(); ++y)
    if (picture.Canvas()->Pixels(x, y) == clRed) ++red;
  EXPECT_EQ(red, 6);
  EXPECT_EQ(pen.Width(), 10);
  EXPECT_EQ(changes, 0);
}

TEST_F(PenDialogTest, CursorComboNamesEveryCursorAndTheHand) {
  auto* combo = new TComboBox(Host.get());
  combo->SetParent(Host.get());
  FillCursorCombo(combo, crHandPoint);
  ASSERT_EQ(combo->Items()->Count(), 23);  // 22 of the class library, then the hand
  EXPECT_EQ(combo->Items()->Strings(0), "Default");
  EXPECT_EQ(combo->Items()->Strings(21), "SizeAll");
  EXPECT_EQ(combo->Items()->Strings(22), "GrafHand");
  EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), "HandPoint");

  const struct {
    TCursor Cursor;
    const char* Selected;  // nullptr: nothing selected
  } cases[] = {{crGrafHand, "GrafHand"}, {crDefault, "Default"}, {crSizeAll, "SizeAll"}, {-5, nullptr},
               {12345, nullptr}};
  for (const auto& c : cases) {
    FillCursorCombo(combo, c.Cursor);
    if (c.Selected)
      EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), c.Selected) << c.Cursor;
    else
      EXPECT_EQ(combo->ItemIndex(), -1) << c.Cursor;
  }
  EXPECT_EQ(CursorFromName(crCross, "GrafHand"), crGrafHand);
  EXPECT_EQ(CursorFromName(crCross, "HourGlass"), crHourGlass);
  EXPECT_EQ(CursorFromName(crCross, "NoSuchCursor"), crCross);
  EXPECT_EQ(StripCursorPrefix("crArrow"), "Arrow");
  EXPECT_EQ(StripCursorPrefix("CrArrow"), "CrArrow");
}

TEST_F(PenDialogTest, QuestionsStandBesideTheControl) {
  Host->Show();
  TDialogResponder answers;
  answers.Answer(mrYes).Answer(mrNo);
  EXPECT_TRUE(AskDeleteConfirmation("Series1", Button));
  const TDialogRequest asked = answers.Last();
  EXPECT_EQ(asked.Text, "Delete Series1 ?");
  EXPECT_EQ(asked.DlgType, mtConfirmation);
  EXPECT_TRUE(asked.Buttons.Contains(mbYes) && asked.Buttons.Contains(mbNo));
  const TPoint origin = Button->ClientOrigin();
  EXPECT_EQ(asked.X, origin.X + 20);
  EXPECT_EQ(asked.Y, origin.Y + 30);
  EXPECT_FALSE(AskYesNoAt("Go on?", nullptr));
  EXPECT_EQ(answers.Last().X, -1);
}

TEST_F(PenDialogTest, ValueFormatsAndArrowsAreThere) {
  TStringList formats;
  AddValueFormats(&formats);
  ASSERT_EQ(formats.Count(), 9);
  EXPECT_EQ(formats.Strings(0), "#,##0.###");
  EXPECT_EQ(formats.Strings(7), "#.0 \"x10\" E+0");
  TBitmap up, down;
  LoadArrowBitmaps(&up, &down);
  EXPECT_EQ(up.Width(), 24);
  EXPECT_EQ(down.Height(), 12);
  EXPECT_EQ(up.Canvas()->Pixels(1, 3), TColor(0x808000));  // teal around the arrow
  EXPECT_EQ(down.Canvas()->Pixels(1, 3), clBlack);
}

TEST_F(PenDialogTest, PenDialogIsFoundByName) {
  TClass c = GetClass("tpendialog");
  ASSERT_NE(c, nullptr);
  std::unique_ptr<TCustomForm> form(CreateEditorDialog(c, Button));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Owner(), Host.get());
  EXPECT_EQ(form->Position(), poOwnerFormCenter);
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->Caption(), "Border Editor");
}

}  // namespace
