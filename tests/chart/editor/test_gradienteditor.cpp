// The gradient editor: presets, directions and their enabling, the middle
// colour, owner-colour mode, Cancel, the gradient button, the embedded
// form, and the look of the direction gallery (a reviewed picture).
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/golden.h"
#include "chart/editor/grafedigrad.h"
#include "dialogtest.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

class GradientEditorTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    SetCursorPos(5000, 5000);
    Gradient.SetVisible(true);
    Gradient.OnChange = [this](TObject*) { ++Changes; };
  }
  // The editor as a dialog on Gradient, shown for Action.
  int Run(std::function<int(TCustomForm*)> Action, bool OwnerColor = false) {
    guitest::TModalResponder modal;
    modal.Do(std::move(Action));
    std::unique_ptr<TGrafGradientEditor> editor(CreateGradientEditor(nullptr, &Gradient, OwnerColor, false));
    return editor->ShowModal();
  }
  static void Choose(TCustomForm* f, const char* Combo, int Index) {
    Find<TComboBox>(f, Combo)->UserSelected(Index);
  }
  TGrafGradient Gradient;
  int Changes = 0;
};

TEST_F(GradientEditorTest, PresetsAreSortedAndKeepTheirNumbers) {
  Run([&](TCustomForm* f) {
    auto* gallery = Find<TListBox>(f, "Gallery");
    EXPECT_EQ(gallery->Items()->Count(), 17);
    EXPECT_EQ(gallery->Items()->Strings(0), "Ace");
    EXPECT_EQ(reinterpret_cast<intptr_t>(gallery->Items()->Objects(0)), 3);
    const int hot = gallery->Items()->IndexOf("Hot");
    Gradient.SetMidColor(clBlue);
    gallery->SetItemIndex(hot);
    gallery->OnClick(gallery);
    EXPECT_EQ(Gradient.StartColor(), clRed);
    EXPECT_EQ(Gradient.MidColor(), clNone);
    EXPECT_EQ(Gradient.EndColor(), clYellow);
    EXPECT_TRUE(Find<TCheckBox>(f, "CBMid")->Checked());
    const int space = gallery->Items()->IndexOf("Space");
    gallery->SetItemIndex(space);
    gallery->OnClick(gallery);
    EXPECT_EQ(Gradient.Direction(), gdFromTopLeft);
    EXPECT_EQ(Gradient.MidColor(), TColor(0x800040));
    EXPECT_EQ(Find<TComboBox>(f, "CBDirection")->ItemIndex(), gdFromTopLeft);
    EXPECT_FALSE(Find<TCheckBox>(f, "CBMid")->Checked());
    return mrOk;
  });
}

TEST_F(GradientEditorTest, RadialEnablesTheOffsetsAndNotTheMiddleColour) {
  Run([&](TCustomForm* f) {
    auto enabled = [f](const char* name) { return Find<TControl>(f, name)->Enabled(); };
    EXPECT_TRUE(enabled("CBMid"));
    EXPECT_FALSE(enabled("TrackBar1"));
    Choose(f, "CBDirection", gdRadial);
    EXPECT_EQ(Gradient.Direction(), gdRadial);
    for (const char* c : {"TrackBar1", "TrackBar2", "Label2", "Label3"}) EXPECT_TRUE(enabled(c)) << c;
    for (const char* c : {"CBMid", "BMid"}) EXPECT_FALSE(enabled(c)) << c;
    // The direction gallery follows.
    auto* directions = Find<TChartGalleryPanel>(f, "Directions");
    EXPECT_EQ(directions->Charts.IndexOf(directions->SelectedChart), gdRadial);
    Choose(f, "CBDirection", gdTopBottom);
    for (const char* c : {"TrackBar1", "TrackBar2"}) EXPECT_FALSE(enabled(c)) << c;
    for (const char* c : {"CBMid", "BMid"}) EXPECT_TRUE(enabled(c)) << c;
    // A miniature chosen sets the direction and the combo without a change mark.
    directions->SelectChart(directions->ChartAt(gdDiagonalUp));
    EXPECT_EQ(Gradient.Direction(), gdDiagonalUp);
    EXPECT_EQ(Find<TComboBox>(f, "CBDirection")->ItemIndex(), gdDiagonalUp);
    auto* track = Find<TTrackBar>(f, "TrackBar1");
    track->SetPosition(-120);
    EXPECT_EQ(Gradient.RadialX(), -120);
    EXPECT_EQ(Find<TLabel>(f, "LRadialX")->Caption(), "-120");
    return mrOk;
  });
}

TEST_F(GradientEditorTest, UntickingNoMiddleGivesWhite) {
  Run([&](TCustomForm* f) {
    auto* noMiddle = Find<TCheckBox>(f, "CBMid");
    EXPECT_TRUE(noMiddle->Checked());
    noMiddle->SetChecked(false);
    EXPECT_EQ(Gradient.MidColor(), clWhite);
    noMiddle->SetChecked(true);
    EXPECT_EQ(Gradient.MidColor(), clNone);
    return mrOk;
  });
}

TEST_F(GradientEditorTest, OwnerColourModeKeepsColoursEnabledAndHidesTheEnd) {
  Gradient.SetVisible(false);
  Run(
      [&](TCustomForm* f) {
        for (const char* c : {"CBDirection", "BStart", "CBMid", "BMid", "Gallery"})
          EXPECT_TRUE(Find<TControl>(f, c)->Enabled()) << c;
        EXPECT_FALSE(Find<TControl>(f, "BEnd")->Visible());
        EXPECT_FALSE(Find<TControl>(f, "BSwap")->Visible());
        return mrOk;
      },
      true);
  // Without it an invisible gradient leaves its colours alone.
  Run([&](TCustomForm* f) {
    for (const char* c : {"CBDirection", "BStart", "BEnd", "BSwap", "Gallery"})
      EXPECT_FALSE(Find<TControl>(f, c)->Enabled()) << c;
    Find<TCheckBox>(f, "CBVisible")->SetChecked(true);
    EXPECT_TRUE(Gradient.Visible());
    EXPECT_TRUE(Find<TControl>(f, "BEnd")->Enabled());
    return mrOk;
  });
}

TEST_F(GradientEditorTest, CancelRestoresTheBalanceAndTellsOnce) {
  Gradient.SetBalance(30);
  Changes = 0;
  int changesBeforeCancel = -1;
  const int result = Run([&](TCustomForm* f) {
    auto* balance = Find<TScrollBar>(f, "SBBalance");
    EXPECT_EQ(balance->Position(), 30);
    EXPECT_EQ(Find<TLabel>(f, "LabelBalance")->Caption(), "30 %");
    balance->SetPosition(77);
    EXPECT_EQ(Gradient.Balance(), 77);
    EXPECT_EQ(Find<TLabel>(f, "LabelBalance")->Caption(), "77 %");
    Find<TButton>(f, "BSwap")->Click();
    changesBeforeCancel = Changes;
    Find<TButton>(f, "BCancel")->Click();
    return f->ModalResult();
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(Gradient.Balance(), 30);
  EXPECT_EQ(Gradient.StartColor(), clWhite);
  EXPECT_EQ(Changes - changesBeforeCancel, 1);
}

TEST_F(GradientEditorTest, ButtonOpensTheEditorAndClicksAfterOk) {
  TForm host(nullptr);
  auto* button = new TButtonGradient(&host);
  button->SetParent(&host);
  button->LinkGradient(&Gradient);
  button->HideEndColor = true;
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_FALSE(Find<TControl>(f, "BEnd")->Visible());  // owner-colour mode
    Choose(f, "CBDirection", gdLeftRight);
    return mrOk;
  });
  modal.Answer(mrCancel);
  button->Click();
  EXPECT_EQ(Gradient.Direction(), gdLeftRight);
  EXPECT_EQ(clicks, 1);
  button->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->Editor(), nullptr);
}

TEST_F(GradientEditorTest, EmbeddedEditorHasNoButtonsAndRebinds) {
  TForm host(nullptr);
  TGrafGradient other;
  other.SetVisible(true);
  other.SetDirection(gdRightLeft);
  auto* editor = new TGrafGradientEditor(&host, &Gradient);
  const int designed = TGrafGradientEditor(nullptr).Height();
  EXPECT_FALSE(Find<TControl>(editor, "Panel1")->Visible());
  EXPECT_FALSE(Find<TControl>(editor, "BOk")->Visible());
  EXPECT_EQ(editor->Height(), designed - Find<TControl>(editor, "BOk")->Height());
  editor->BindGradient(&other);
  EXPECT_EQ(editor->TheGradient, &other);
  EXPECT_EQ(Find<TComboBox>(editor, "CBDirection")->ItemIndex(), gdRightLeft);
  EXPECT_EQ(editor->Preview()->Gradient()->Direction(), gdRightLeft);
  editor->BindGradient(nullptr);  // binds nothing
  EXPECT_EQ(editor->TheGradient, nullptr);
}

TEST_F(GradientEditorTest, DirectionGalleryLooksAsReviewed) {
  Gradient.SetStartColor(clNavy);
  Gradient.SetMidColor(clWhite);
  Gradient.SetEndColor(clRed);
  Gradient.SetDirection(gdFromCenter);
  Run([&](TCustomForm* f) {
    Find<TPageControl>(f, "PageControl1")->SetActivePage(Find<TTabSheet>(f, "TabSheet4"));
    auto* directions = Find<TChartGalleryPanel>(f, "Directions");
    directions->LayoutCharts();
    TBitmap picture;
    EXPECT_TRUE(guitest::ControlPicture(directions, picture));
    ExpectMatchesGoldenIn("tests/chart/editor/golden", picture, "gradient_directions.png");
    return mrOk;
  });
}

}  // namespace
