// The preferences dialog, the about box and the link label.
#include "app/aboutbox.h"
#include "app/linklabel.h"
#include "app/preferences.h"

#include <gtest/gtest.h>

#include <memory>

#include "mainwindowtest.h"
#include "platform/rtl/casterror.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/shell.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using namespace mainwindowtest;

namespace {

// Every value below the key, in the order first written, keys sorted.
void DumpKey(TRegistry& reg, const std::string& path, std::string& out) {
  if (!reg.OpenKey("\\" + path, false)) return;
  out += "[" + path + "]\n";
  for (const std::string& v : reg.GetValueNames())
    out += v + "=" + (reg.GetDataType(v) == rdInteger ? "int:" + std::to_string(reg.ReadInteger(v)) : reg.ReadString(v)) + "\n";
  for (const std::string& k : reg.GetKeyNames()) DumpKey(reg, path + "\\" + k, out);
}

std::string Dump() {
  TRegistry::FlushAll();
  TRegistry reg;
  std::string out;
  DumpKey(reg, "Software\\Zelvora", out);
  return out;
}

class PreferencesTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    ClearSettings();
    ResetProgramState();
    IRS = 4000;
    IDSZ = 10000;
    NIPOI = 1500;
    NumberRecent = 5;
    BackgroundAveraging = 3;
    TempRefine = true;
    StepOnStart = false;
    RefineOnEntry = false;
    AcceptChanges = false;
    ConfigStyle = 0;
    UpdateSite = 0;
    PhaseDatabase = "/data/phases.db";
    AtomDatabase = "/data/atoms.db";
    for (int n = 1; n <= InstrumentCount; ++n) Instruments[n] = TInstrument{};
    Instruments[1] = BuiltInInstrument();
    Dialog = std::make_unique<TOptionsDlg>(nullptr);
  }
  void TearDown() override {
    Dialog.reset();
    ResetProgramState();
    ClearSettings();
  }
  // Shows the dialog modally; the action answers it.
  int Run(std::function<int(TCustomForm*)> action) {
    guitest::TModalResponder modal;
    modal.Do(std::move(action));
    return Dialog->ShowModal();
  }
  TTempDir Dir;
  std::unique_ptr<TOptionsDlg> Dialog;
};

}  // namespace

TEST_F(PreferencesTest, OkWritesItsKeysInOrder) {
  Run([this](TCustomForm*) {
    Dialog->SpinEditIRS->StepUp();
    Dialog->cbRDOnTop->SetChecked(true);
    Dialog->cbQSWatch->SetChecked(true);
    Dialog->edStartUpdir->SetText("/home/me/models");
    Dialog->cbUpdateSite->UserSelected(2);
    Dialog->Editphase->SetText("  /db/phases.db ");
    Dialog->OKBtn->Click();
    return mrOk;
  });
  EXPECT_EQ(IRS, 4100);
  EXPECT_TRUE(RunOptions.RDOnTop);
  EXPECT_EQ(PhaseDatabase, "/db/phases.db");
  EXPECT_EQ(UpdateSite, 2);
  const std::string expected = TTempDir::Read(std::string(std::getenv("ZELVORA_SOURCE_DIR") ? std::getenv("ZELVORA_SOURCE_DIR") : ".") +
                                              "/tests/app/golden/preferences_ok.txt");
  EXPECT_EQ(Dump(), expected);
}

TEST_F(PreferencesTest, CancelWritesNothingButKeepsAveragingAndTheTemporaryFolderBox) {
  Run([this](TCustomForm*) {
    Dialog->BackAveSE->SetValue(7);
    Dialog->TempRefineCheckBox->SetChecked(false);
    Dialog->SpinEditIRS->StepUp();
    Dialog->CancelBtn->Click();
    return mrCancel;
  });
  EXPECT_EQ(BackgroundAveraging, 7);
  EXPECT_FALSE(TempRefine);
  EXPECT_EQ(IRS, 4000);
  EXPECT_EQ(Dump(), "");
}

TEST_F(PreferencesTest, AnEditedPresetIsTheOneInMemoryForTheWizard) {
  Run([this](TCustomForm*) {
    EXPECT_EQ(Dialog->edTitle->Text(), "Cu Ka X-ray machine");
    EXPECT_EQ(Dialog->edStop->Text(), "80");
    EXPECT_FALSE(Dialog->edASym2->Enabled());
    Dialog->seInstrumentNumber->SetValue(3);
    Dialog->edTitle->SetText("Mo tube");
    Dialog->edWave1->SetText("0,7107");  // a comma counts as the point
    Dialog->cbProfile->UserSelected(5);
    EXPECT_TRUE(Dialog->edASym2->Enabled());
    Dialog->edASym2->SetText("0.125");
    Dialog->edStep->SetText("abc");
    Dialog->OKBtn->Click();
    return mrOk;
  });
  EXPECT_EQ(Instruments[3].Title, "Mo tube");
  EXPECT_NEAR(Instruments[3].Wave1, 0.7107, 1e-6);
  EXPECT_EQ(Instruments[3].Profile, 5);
  EXPECT_NEAR(Instruments[3].Asym2, 0.125, 1e-7);  // kept as entered
  EXPECT_EQ(Instruments[3].Step, 0);
  EXPECT_EQ(Instruments[1].Title, "Cu Ka X-ray machine");
  // The next showing starts at the preset shown last.
  Run([this](TCustomForm*) {
    EXPECT_EQ(Dialog->edTitle->Text(), "Mo tube");
    return mrCancel;
  });
}

TEST_F(PreferencesTest, SwitchingMacroEntriesOffersToSaveAnEdit) {
  const std::string startup = Dir.Write("start.rib", "WRITE(1)\n");
  StartUpScript = startup;
  LibraryScript = Dir.File("missing.rib");
  struct TCase {
    int Answer;
    int EntryAfter;
    std::string FileAfter;
  };
  const TCase cases[] = {{mrCancel, 0, "WRITE(1)\n"}, {mrNo, 1, "WRITE(1)\n"}, {mrYes, 1, "WRITE(2)"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Answer);
    Dir.Write("start.rib", "WRITE(1)\n");
    Run([&](TCustomForm*) {
      EXPECT_EQ(Dialog->MemoScript->Lines(), std::vector<std::string>{"WRITE(1)"});
      Dialog->MemoScript->SetText("WRITE(2)");
      Dialog->MemoScript->SetModified(true);
      TDialogResponder dialogs;
      dialogs.Answer(c.Answer);
      Dialog->cbMacro->UserSelected(1);
      EXPECT_TRUE(dialogs.Saw("You should save your work."));
      EXPECT_EQ(Dialog->MacroShown(), c.EntryAfter);
      EXPECT_EQ(Dialog->cbMacro->ItemIndex(), c.EntryAfter);
      if (c.EntryAfter == 1) {
        EXPECT_EQ(Dialog->MemoScript->Text(), "// Enter any library VoraZadar code here");
        EXPECT_EQ(Dialog->edMacroFile->Text(), Dir.File("missing.rib"));
      } else {
        EXPECT_EQ(Dialog->MemoScript->Text(), "WRITE(2)");
      }
      return mrCancel;
    });
    EXPECT_EQ(TTempDir::Read(startup), c.FileAfter);
  }
}

TEST_F(PreferencesTest, TestCompilesTheMemoAndReportsInThePanel) {
  Run([this](TCustomForm*) {
    Dialog->MemoScript->SetText("A = 1\nB = A + 2");
    Dialog->btTest->Click();
    EXPECT_EQ(Dialog->Panel3->Text(), "No problems.");
    Dialog->MemoScript->SetText("A = (1");
    Dialog->btTest->Click();
    EXPECT_EQ(Dialog->Panel3->Text().rfind("Error: ", 0), 0u) << Dialog->Panel3->Text();
    return mrCancel;
  });
  // The memory limits are stepped, never typed.
  for (TSpinEdit* s : {Dialog->SpinEditIDSZ, Dialog->SpinEditIRS, Dialog->SpinEditNIPOI})
    EXPECT_FALSE(s->EditorEnabled());
  EXPECT_EQ(Dialog->SpinEditNIPOI->Increment(), 50);
}

// ---- About box and link label ------------------------------------------------

TEST(AboutBox, ShowsVersionSystemAndMemoryLoad) {
  guitest::EnsureGui();
  auto box = std::make_unique<TAboutBox>(nullptr);
  EXPECT_EQ(box->Text(), "About Zelvora");
  box->Show();
  EXPECT_EQ(box->Version->Text(), "Version 2.1");
  EXPECT_EQ(box->Label4->Text(), "Unknown system");
  const std::string load = box->Label5->Text();
  ASSERT_GE(load.size(), 2u);
  EXPECT_EQ(load.back(), '%');
  const int percent = std::stoi(load);
  EXPECT_GE(percent, 0);
  EXPECT_LE(percent, 100);
  EXPECT_EQ(SystemName(2), "Windows NT");  // the platform ids of the query
  EXPECT_EQ(SystemName(0), "Windows 3.1");
}

TEST(LinkLabel, OpensOnlyWebAndMailTargetsAfterTheWarning) {
  guitest::EnsureGui();
  TForm form(nullptr);
  form.Show();
  std::vector<std::string> opened;
  TShellOpenHandler previous = SetShellOpenHandler([&](const std::string&, const std::string& target, const std::string&) {
    opened.push_back(target);
    return true;
  });
  struct TCase {
    tLinkType Type;
    std::string Link;
    bool Alert;
    int Answer;
    std::string Opened;  // empty: nothing opened
  };
  const TCase cases[] = {
      {ltNone, "https://zelvora.example.org/a", false, 0, "https://zelvora.example.org/a"},
      {lthttp, "zelvora.example.org", true, mrOk, "http://zelvora.example.org"},
      {ltmailto, "me@example.org", true, mrOk, "mailto:me@example.org"},
      {lthttps, "zelvora.example.org", true, mrCancel, ""},
      {ltfile, "/bin/sh", false, 0, ""},
      {lttelnet, "host", true, mrOk, ""},
      {ltNone, "/usr/bin/xterm", false, 0, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Link);
    opened.clear();
    auto* link = new TLinkLabel(&form);
    link->SetBounds(10, 10, 200, 20);
    link->SetLinkType(c.Type);
    link->SetHyperLink(c.Link);
    link->SetAlert(c.Alert);
    EXPECT_EQ(link->Text(), c.Link);
    TDialogResponder dialogs;
    if (c.Answer) dialogs.Answer(c.Answer);
    guitest::Click(link, 5, 5);
    EXPECT_EQ(opened.empty() ? std::string() : opened.front(), c.Opened);
    delete link;
  }
  SetShellOpenHandler(previous);

  auto* captioned = new TLinkLabel(&form);
  captioned->SetText("Our site");
  captioned->SetHyperLink("zelvora.example.org");
  EXPECT_EQ(captioned->Text(), "Our site");
  EXPECT_TRUE(captioned->Font()->Style().Contains(fsUnderline));
  EXPECT_EQ(captioned->Font()->Color(), clBlue);
  TComponent notAForm(nullptr);
  EXPECT_THROW(TLinkLabel{&notAForm}, EInvalidCast);
}
