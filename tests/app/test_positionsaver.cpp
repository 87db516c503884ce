#include "app/positionsaver.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

const char* const kKey = "Software\\Zelvora\\Configuration\\PlotForm";

struct Place {
  int Top, Left, Width, Height;
};

Place PlaceOf(const TControl& c) { return {c.Top(), c.Left(), c.Width(), c.Height()}; }

void ExpectPlace(const TControl& c, const Place& p) {
  EXPECT_EQ(c.Top(), p.Top);
  EXPECT_EQ(c.Left(), p.Left);
  EXPECT_EQ(c.Width(), p.Width);
  EXPECT_EQ(c.Height(), p.Height);
}

// A window as the program makes it: designed place, then a saver in registry mode.
std::unique_ptr<TForm> MakeForm(const char* name, const Place& designed) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName(name);
  form->SetBounds(designed.Left, designed.Top, designed.Width, designed.Height);
  return form;
}

TFormPosSaver* RegistrySaver(TForm& form) {
  auto* saver = new TFormPosSaver(&form);
  saver->SetUseRegistry(true);
  saver->SetRegRootKey(_CURRENT_USER);
  saver->SetRegKey(kKey);
  return saver;
}

class PosSaverTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    TRegistry reg;
    reg.DeleteKey(std::string("\\") + kKey);
    reg.CloseKey();
  }
};

TEST_F(PosSaverTest, RegistryModeKeepsDesignedPlaceFirstAndRestoresTheClosedPlace) {
  const Place designed{40, 30, 300, 200};
  const Place moved{120, 90, 410, 260};
  int oldShows = 0, oldCloses = 0;
  {
    auto form = MakeForm("PlotForm", designed);
    // The window's own handlers run after the saver's, and their errors are swallowed.
    form->OnShow = [&](TObject*) {
      ++oldShows;
      throw Exception("show handler failed");
    };
    form->OnClose = [&](TObject*, TCloseAction& action) {
      ++oldCloses;
      action = caHide;
      throw Exception("close handler failed");
    };
    RegistrySaver(*form);
    form->Show();
    guitest::ProcessEvents();
    ExpectPlace(*form, designed);
    form->SetBounds(moved.Left, moved.Top, moved.Width, moved.Height);
    form->Close();
  }
  EXPECT_EQ(oldShows, 1);
  EXPECT_EQ(oldCloses, 1);

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Top", "Left", "Width", "Height"}));
  EXPECT_EQ(reg.GetDataType("Top"), rdInteger);
  EXPECT_EQ(reg.ReadInteger("Top"), moved.Top);
  EXPECT_EQ(reg.ReadInteger("Height"), moved.Height);
  reg.CloseKey();

  auto again = MakeForm("PlotForm", designed);
  RegistrySaver(*again);
  again->Show();
  guitest::ProcessEvents();
  ExpectPlace(*again, moved);
}

TEST_F(PosSaverTest, RegistryModeSkipsMissingAndMistypedValues) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    reg.WriteString("Top", "77");  // wrong type: skipped
    reg.WriteInteger("Left", 11);
    reg.WriteInteger("Height", 222);  // Width missing: skipped
    reg.CloseKey();
  }
  auto form = MakeForm("PlotForm", {40, 30, 300, 200});
  TFormPosSaver* saver = RegistrySaver(*form);
  saver->RestorePosition();
  ExpectPlace(*form, {40, 11, 300, 222});
}

TEST_F(PosSaverTest, AStoredPlaceBeyondTheScreenIsTakenBackToIt) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    reg.WriteInteger("Top", -1048576);
    reg.WriteInteger("Left", 1048576);
    reg.WriteInteger("Width", 1048576);
    reg.WriteInteger("Height", 1048576);
    reg.CloseKey();
  }
  auto form = MakeForm("PlotForm", {40, 30, 300, 200});
  TFormPosSaver* saver = RegistrySaver(*form);
  saver->RestorePosition();
  EXPECT_LE(form->Width(), Screen->Width());
  EXPECT_LE(form->Height(), Screen->Height());
  EXPECT_LE(form->Left(), 2 * Screen->Width());
  EXPECT_GE(form->Top(), -Screen->Height());
  // What is written back is the place the window has.
  saver->SavePosition();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_EQ(reg.ReadInteger("Width"), form->Width());
}

TEST_F(PosSaverTest, RegistryRootsMapToTheirHandlesInOrder) {
  const HKEY expected[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                           0x80000004u,       HKEY_CURRENT_CONFIG, 0x80000006u};
  TFormPosSaver saver(nullptr);
  EXPECT_EQ(saver.RegRootKey(), _CLASSES_ROOT);
  EXPECT_EQ(saver.RootKeyHandle(), HKEY_CLASSES_ROOT);
  for (int i = _CLASSES_ROOT; i <= _DYN_DATA; ++i) {
    saver.SetRegRootKey(static_cast<TPosSaverHKEY>(i));
    EXPECT_EQ(saver.RootKeyHandle(), expected[i]) << i;
  }
}

TEST_F(PosSaverTest, IniModeEmptySectionKeepsCentredWindowCentred) {
  TTempDir dir;
  const std::string ini = dir.File("forms.ini");
  const Place designed{40, 30, 300, 200};
  auto form = MakeForm("WatchForm", designed);
  form->SetPosition(poScreenCenter);
  auto* saver = new TFormPosSaver(form.get());
  saver->SetIniName(ini);
  EXPECT_EQ(saver->EffectiveIniSection(), "WatchForm");

  saver->RestorePosition();
  EXPECT_EQ(form->Position(), poScreenCenter);
  ExpectPlace(*form, designed);

  form->SetBounds(5, 6, 321, 234);
  saver->SavePosition();
  TIniFile file(ini);
  EXPECT_EQ(file.ReadInteger("WatchForm", "Top", -1), 6);
  EXPECT_EQ(file.ReadInteger("WatchForm", "Left", -1), 5);

  auto again = MakeForm("WatchForm", designed);
  again->SetPosition(poScreenCenter);
  auto* saver2 = new TFormPosSaver(again.get());
  saver2->SetIniName(ini);
  saver2->RestorePosition();
  EXPECT_EQ(again->Position(), poDesigned);
  ExpectPlace(*again, {6, 5, 321, 234});
}

TEST_F(PosSaverTest, IniModePartlyFilledSectionKeepsTheCurrentValuesAsDefaults) {
  TTempDir dir;
  const std::string ini = dir.Write("forms.ini", "[Editor]\nWidth=500\n");
  auto form = MakeForm("EditForm", {40, 30, 300, 200});
  auto* saver = new TFormPosSaver(form.get());
  saver->SetIniName(ini);
  saver->SetIniSection("Editor");
  saver->RestorePosition();
  ExpectPlace(*form, {40, 30, 500, 200});
}

TEST_F(PosSaverTest, DefaultIniNameCutsTheProgramNameAtItsFirstDotOnly) {
  TFormPosSaver saver(nullptr);
  const std::string name = saver.EffectiveIniName();
  const std::string exe = Application->ExeName();
  const std::string file = exe.substr(exe.find_last_of('/') + 1);
  EXPECT_EQ(name, exe.substr(0, exe.size() - file.size()) + file.substr(0, file.find('.')) + ".ini");
}

}  // namespace

namespace {

TEST_F(PosSaverTest, UnwritableIniFileIsReportedAndTheWindowStillCloses) {
  TTempDir dir;
  TDialogResponder dialogs;
  auto form = MakeForm("MacroForm", {40, 30, 300, 200});
  bool oldClose = false;
  form->OnClose = [&](TObject*, TCloseAction&) { oldClose = true; };
  auto* saver = new TFormPosSaver(form.get());
  saver->SetIniName(dir.File("no-folder/forms.ini"));
  form->Show();
  form->Close();
  EXPECT_TRUE(oldClose);
  EXPECT_FALSE(form->Visible());
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find("forms.ini"), std::string::npos) << dialogs.Last().Text;
}

}  // namespace

namespace {

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

// A window with no saved place is shown, the first time, beside the window
// that opened it and inside the screen, never over it; later showings keep
// wherever it was put.
TEST_F(PosSaverTest, AWindowWithoutASavedPlaceFirstShowsBesideItsOpener) {
  const TRect area = Screen->WorkAreaRect();
  const int w = 200, h = 150;
  struct TCase {
    const char* What;
    TRect Opener;
  };
  const TCase cases[] = {
      {"an opener at the top left", Rect(area.Left, area.Top, area.Left + 300, area.Top + 200)},
      {"an opener at the right edge", Rect(area.Right - 300, area.Top + 50, area.Right, area.Top + 250)},
      {"an opener as wide as the screen", Rect(area.Left, area.Top, area.Right, area.Top + 120)},
  };
  for (const TCase& c : cases) {
    TRegistry reg;
    reg.DeleteKey(std::string("\\") + kKey);
    reg.CloseKey();
    TForm opener(nullptr);
    opener.SetBounds(c.Opener.Left, c.Opener.Top, c.Opener.Width(), c.Opener.Height());
    opener.Show();
    guitest::ProcessEvents();
    auto form = MakeForm("PlotForm", {area.Top, area.Left, w, h});
    RegistrySaver(*form);
    form->Show();
    guitest::ProcessEvents();
    EXPECT_FALSE(Overlap(form->BoundsRect(), opener.BoundsRect())) << c.What;
    EXPECT_TRUE(Inside(form->BoundsRect(), area)) << c.What;
    EXPECT_EQ(form->Width(), w) << c.What;

    // Moved, hidden and shown again: where it was put.
    form->SetBounds(area.Left + 10, area.Top + 20, w, h);
    form->Hide();
    opener.Show();
    form->Show();
    guitest::ProcessEvents();
    EXPECT_EQ(form->Left(), area.Left + 10) << c.What;
    EXPECT_EQ(form->Top(), area.Top + 20) << c.What;
    form->Hide();
  }
}

// A window that is only ever hidden (the watch window) keeps its place like
// one that is closed.
TEST_F(PosSaverTest, AHiddenWindowsPlaceIsSaved) {
  const Place moved{70, 60, 310, 240};
  {
    auto form = MakeForm("PlotForm", {0, 0, 300, 200});
    RegistrySaver(*form);
    form->Show();
    form->SetBounds(moved.Left, moved.Top, moved.Width, moved.Height);
    form->Hide();
  }
  auto again = MakeForm("PlotForm", {0, 0, 300, 200});
  RegistrySaver(*again);
  again->Show();
  guitest::ProcessEvents();
  ExpectPlace(*again, moved);
}

}  // namespace
