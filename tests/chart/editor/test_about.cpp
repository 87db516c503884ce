// The chart library's about box: its texts, and the pulse of its two
// background colours.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/grafconst.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafabout.h"
#include "support/gui/guitest.h"

namespace {

TEST(AboutBox, CaptionVersionAndNotice) {
  editortest::EnsureEditor();
  TGrafAboutForm form(nullptr);
  EXPECT_EQ(form.Caption(), "About GrafChart Pro v7.12 Win32");
  EXPECT_EQ(form.LabelVersion->Caption(), "GrafChart Pro v7.12 Win32");
  EXPECT_EQ(form.LabelCopy->Caption(), GrafMsgLibraryNotice);
  EXPECT_EQ(form.ClientWidth(), 363);
  EXPECT_EQ(form.BClose->ModalResult(), mrCancel);
  EXPECT_EQ(form.Timer1->Interval(), 100u);
  // The class is found by its name, whatever its case.
  EXPECT_EQ(GetClass("tgrafaboutform"), &TGrafAboutForm::StaticClass());

  guitest::TModalResponder modal;
  std::string caption, version;
  modal.Do([&](TCustomForm* f) {
    auto* about = dynamic_cast<TGrafAboutForm*>(f);
    caption = f->Caption();
    version = about ? about->LabelVersion->Caption() : "";
    return mrCancel;
  });
  ShowGrafAboutBox("About the charts", "Version 2");
  EXPECT_EQ(caption, "About the charts");
  EXPECT_EQ(version, "Version 2");
  modal.Do([&](TCustomForm* f) {
    caption = f->Caption();
    return mrCancel;
  });
  ShowGrafAboutBox();
  EXPECT_EQ(caption, "About GrafChart Pro v7.12 Win32");
}

TEST(AboutBox, TheColoursPulse) {
  editortest::EnsureEditor();
  TGrafAboutForm form(nullptr);
  EXPECT_EQ(form.Color1(), TColor(0xE0E0E0));
  EXPECT_EQ(form.Color2(), clGray);
  for (int tick = 1; tick <= 55; ++tick) form.Timer1Timer(form.Timer1);
  EXPECT_EQ(form.Color1(), TColor(0x040404));
  EXPECT_EQ(form.Step(), 4);
  form.Timer1Timer(form.Timer1);  // the 56th
  EXPECT_EQ(form.Color1(), clBlack);
  EXPECT_EQ(form.Color2(), clWhite);
  EXPECT_EQ(form.Step(), -4);
  form.Timer1Timer(form.Timer1);
  EXPECT_EQ(form.Color1(), TColor(0x040404));
  EXPECT_EQ(form.Color2(), TColor(0xFBFBFB));
  // Then the second colour darkens until it is black, and the step turns again.
  for (int tick = 0; tick < 63; ++tick) form.Timer1Timer(form.Timer1);
  EXPECT_EQ(form.Color2(), clBlack);
  EXPECT_EQ(form.Step(), 4);

  // The background runs diagonally from the one colour to the other.
  TGrafAboutForm fresh(nullptr);
  fresh.FormPaint(&fresh);
  const TColorRef a = ColorToRGB(fresh.Canvas()->Pixels(1, fresh.ClientHeight() - 2));
  const TColorRef b = ColorToRGB(fresh.Canvas()->Pixels(fresh.ClientWidth() - 2, 1));
  EXPECT_NE(a, b);
  for (TColorRef c : {a, b}) {
    EXPECT_GE(GetRValue(c), 0x7C);
    EXPECT_LE(GetRValue(c), 0xE4);
  }
}

}  // namespace
