#include "app/macrowindow.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iterator>
#include <string>
#include <vector>

#include "model/global.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/queuedcall.h"
#include "support/dialogresponder.h"
#include "app/mainlink.h"
#include "platform/ui/messages.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "support/tempdir.h"

namespace {

class MacroFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    savedDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.Path()));
    ResetMacroState();
    LibraryScript.clear();
    form = new TFormMacro(nullptr);
  }
  void TearDown() override {
    delete form;
    LibraryScript.clear();
    LastActiveControl = nullptr;
    RunMode = rmIdle;
    SetCurrentDir(savedDir);
  }
  std::vector<std::string> Output() const { return form->MemoWrite->Lines(); }

  TTempDir dir;
  std::string savedDir;
  TDialogResponder dialogs;
  TFormMacro* form = nullptr;
};

TEST_F(MacroFormTest, RunShowsOutputAndErrors) {
  EXPECT_EQ(form->Text(), "Reruzare Rurid");
  form->MemoWrite->SetText("old output");
  form->MemoSource->SetText("WRITE(1)\r\nWRITE(\"two\")\r\nA = OPENFILE(\"out.txt\")\r\nA = WRITEFILE(\"kept\")");
  form->actRun->Execute();
  EXPECT_EQ(Output(), (std::vector<std::string>{"1", "two"}));
  EXPECT_EQ(form->Panel1->Text(), "");
  // The text file the script left open is written when the run ends.
  EXPECT_EQ(TTempDir::Read(dir.File("out.txt")), "kept\n");

  form->MemoSource->SetText("WRITE(1\r\n");
  form->actRun->Execute();
  EXPECT_TRUE(Output().empty());
  EXPECT_EQ(form->Panel1->Text().rfind("Error: ", 0), 0u) << form->Panel1->Text();

  // An error a host function raises ends the run and is reported the same way.
  form->MemoSource->SetText("WRITE(1)\r\nA = RENAMEFILE(\"none.txt\", \"b.txt\")\r\nWRITE(2)");
  form->actRun->Execute();
  EXPECT_EQ(Output(), std::vector<std::string>{"1"});
  EXPECT_EQ(form->Panel1->Text(), "Error: Cannot rename none.txt to b.txt");
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(MacroFormTest, LongOutputArrivesWholeAndInOrder) {
  form->MemoSource->SetText("INTEGER I\r\nFOR I = 1 TO 1234\r\n WRITE(I)\r\nNEXT I");
  form->actRun->Execute();
  const std::vector<std::string> out = Output();
  ASSERT_EQ(out.size(), 1234u) << form->Panel1->Text();
  EXPECT_EQ(out.front(), "1");
  EXPECT_EQ(out[600], "601");
  EXPECT_EQ(out.back(), "1234");
}

TEST_F(MacroFormTest, RunPressedDuringARunKeepsTheRunAndItsOutput) {
  dir.Write("a.dat", "");
  form->MemoSource->SetText("STRING S[2]\r\nWRITE(1)\r\nA = FINDFILES(\"*.dat\", S)\r\nWRITE(S[0])");
  // FINDFILES lets messages through: a second Run arrives in the middle.
  bool pressed = false;
  QueueCall([&] {
    pressed = true;
    form->actRun->Execute();
  });
  form->actRun->Execute();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(Output(), (std::vector<std::string>{"1", "a.dat"}));
  EXPECT_EQ(form->Panel1->Text(), "Error: The macro interpreter is already running");
}

// Nested loops through a function: about 10^12 steps, within every counter.
const char* const kEndlessMacro =
    "FUNCTION INNER(N AS INTEGER) AS INTEGER\r\n"
    " INTEGER I\r\n"
    " FOR I = 1 TO N\r\n"
    "  INNER = INNER + 1\r\n"
    " NEXT I\r\n"
    "END FUNCTION\r\n"
    "INTEGER J, K\r\n"
    "WRITE(\"started\")\r\n"
    "FOR J = 1 TO 90000\r\n"
    " FOR K = 1 TO 90000\r\n"
    "  INNER(90000)\r\n"
    " NEXT K\r\n"
    "NEXT J";

TEST_F(MacroFormTest, EscStopsARunningMacroAndItsMemoryIsFreed) {
  form->Show();
  form->MemoSource->SetText(kEndlessMacro);
  // The run lets the window's messages through: the Esc arrives there.
  form->SBasic1().SetPollInterval(0);
  guitest::PostKey(form->MemoSource, VK_ESCAPE);
  form->actRun->Execute();
  EXPECT_EQ(Output(), std::vector<std::string>{"started"});
  EXPECT_NE(form->Panel1->Text().find("Stopped"), std::string::npos) << form->Panel1->Text();
  EXPECT_EQ(form->SBasic1().MemoryUsed(), 0);
  EXPECT_FALSE(form->SBasic1().Busy());
  // Esc without a run is the memo's own key again.
  form->MemoSource->SetText("WRITE(1)");
  form->actRun->Execute();
  EXPECT_EQ(Output(), std::vector<std::string>{"1"});
}

TEST_F(MacroFormTest, ClosingTheWindowStopsTheRunFirst) {
  form->Show();
  form->MemoSource->SetText(kEndlessMacro);
  form->MemoSource->SetModified(false);
  form->SBasic1().SetPollInterval(0);
  QueueCall([&] { form->Close(); });
  form->actRun->Execute();
  EXPECT_FALSE(form->Visible());
  EXPECT_NE(form->Panel1->Text().find("Stopped"), std::string::npos) << form->Panel1->Text();
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(MacroFormTest, LibraryScriptReplacesTheLibraryOnlyWhenSet) {
  const std::string kept = dir.Write("kept.rib", "\n");
  form->SBasic1().SetSource_Library(kept);
  form->MemoSource->SetText("WRITE(1)");
  form->actRun->Execute();
  EXPECT_EQ(form->SBasic1().Source_Library(), kept);
  LibraryScript = dir.Write("lib.rib", "FUNCTION TWICE(X AS INTEGER) AS INTEGER\nTWICE = X * 2\nEND FUNCTION\n");
  form->MemoSource->SetText("WRITE(TWICE(21))");
  form->actRun->Execute();
  EXPECT_EQ(form->SBasic1().Source_Library(), LibraryScript);
  EXPECT_EQ(Output(), std::vector<std::string>{"42"}) << form->Panel1->Text();
  // A library that cannot be read is reported, not raised.
  LibraryScript = dir.File("gone.rib");
  form->actRun->Execute();
  EXPECT_TRUE(Output().empty());
  EXPECT_NE(form->Panel1->Text().find("gone.rib"), std::string::npos) << form->Panel1->Text();
}

TEST_F(MacroFormTest, SaveQuestionOnClose) {
  struct Case {
    bool modified;
    int answer;
    bool named;
    bool saveAsOk;
    bool canClose;
    bool stillModified;
  } cases[] = {
      {false, 0, false, false, true, false},
      {true, mrCancel, true, false, false, true},
      {true, mrNo, true, false, true, true},
      {true, mrYes, true, false, true, false},
      {true, mrYes, false, false, false, true},  // Save As cancelled: the close is cancelled too
      {true, mrYes, false, true, true, false},
  };
  const std::string file = dir.File("script.rib");
  for (const Case& c : cases) {
    form->MemoSource->SetModified(false);
    DeleteFile(file);
    if (c.named) {
      dir.Write("script.rib", "");
      guitest::TCommonDialogResponder open;
      open.Do([&](TCommonDialog* d) {
        static_cast<TOpenDialog*>(d)->FileName = file;
        return true;
      });
      form->actOpen->Execute();
      ASSERT_EQ(form->MacroFileName(), file);
    } else {
      form->actNew->Execute();
    }
    form->MemoSource->SetText("WRITE(3)");
    form->MemoSource->SetModified(c.modified);
    TDialogResponder answers;
    if (c.answer) answers.Answer(c.answer);
    guitest::TCommonDialogResponder saveAs;
    saveAs.Do([&](TCommonDialog* d) {
      static_cast<TSaveDialog*>(d)->FileName = file;
      return c.saveAsOk;
    });
    bool canClose = !c.canClose;
    form->QueryClose(canClose);
    SCOPED_TRACE(std::to_string(c.answer) + (c.named ? " named" : " unnamed"));
    EXPECT_EQ(canClose, c.canClose);
    EXPECT_EQ(answers.Count(), c.modified ? 1u : 0u);
    if (c.modified) {
      EXPECT_EQ(answers.Last().Text, "Save VoraZadar File?");
    }
    EXPECT_EQ(form->MemoSource->Modified(), c.stillModified);
    EXPECT_EQ(form->MemoSource->Text(), "WRITE(3)");
    const bool saved = c.answer == mrYes && (c.named || c.saveAsOk);
    EXPECT_EQ(TTempDir::Read(file), saved ? "WRITE(3)" : "");
    if (saved && !c.named) {
      EXPECT_EQ(form->Text(), "Reruzare Rurid: " + file);
    }
  }
}

TEST_F(MacroFormTest, NewAndClear) {
  form->MemoSource->SetText("A = 1");
  form->MemoWrite->SetText("out");
  form->actNew->Execute();  // not modified: no question
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_EQ(form->MemoSource->Text(), "");
  EXPECT_EQ(form->MemoWrite->Text(), "");

  form->MemoSource->SetText("A = 2");
  form->MemoSource->SetModified(true);
  dialogs.Answer(mrCancel);
  form->actNew->Execute();
  EXPECT_EQ(form->MemoSource->Text(), "A = 2");

  form->MemoWrite->SetText("out");
  form->actClear->Execute();
  EXPECT_EQ(form->MemoSource->Text(), "");
  EXPECT_EQ(form->MemoWrite->Text(), "");
}

TEST_F(MacroFormTest, OpenLoadsOrKeepsTheSource) {
  const std::string file = dir.Write("m.rib", "WRITE(5)\n");
  guitest::TCommonDialogResponder open;
  open.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = file;
    return true;
  });
  open.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = dir.File("missing.rib");
    return true;
  });
  form->actOpen->Execute();
  EXPECT_EQ(form->Text(), "Reruzare Rurid: " + file);
  EXPECT_EQ(form->MemoSource->Lines(), std::vector<std::string>{"WRITE(5)"});
  form->actOpen->Execute();
  EXPECT_EQ(dialogs.Count(), 1u);  // the file error
  EXPECT_EQ(form->MacroFileName(), file);
  EXPECT_EQ(form->MemoSource->Lines(), std::vector<std::string>{"WRITE(5)"});
}

TEST_F(MacroFormTest, AMacroFileThatIsNoneOrTooLargeIsNamedForWhatItIs) {
  const std::string big = dir.Write("big.rib", "");
  ASSERT_EQ(::truncate(big.c_str(), off_t{2} << 30), 0);
  const std::string fifo = dir.File("pipe.rib");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string File;
    const char* Says;
  } cases[] = {{big, "it holds 2 GB, more than the 16 MB a macro may have."},
               {fifo, "it is not a regular file."},
               {dir.Path(), "it is a folder."}};
  form->MemoSource->SetText("WRITE(5)");
  form->MemoSource->SetModified(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    guitest::TCommonDialogResponder open;
    open.Do([&](TCommonDialog* d) {
      static_cast<TOpenDialog*>(d)->FileName = c.File;
      return true;
    });
    const std::size_t before = dialogs.Count();
    form->actOpen->Execute();
    ASSERT_EQ(dialogs.Count(), before + 1);
    EXPECT_NE(dialogs.Last().Text.find(c.Says), std::string::npos) << dialogs.Last().Text;
    EXPECT_EQ(form->MemoSource->Lines(), std::vector<std::string>{"WRITE(5)"});
  }
  // The main window's scripts: a start-up script naming a pipe does not wait for it.
  TMacroHooks hooks;
  TMainScript main;
  main.SetUpScript(hooks);
  main.RunScript(fifo);
  EXPECT_NE(dialogs.Last().Text.find("it is not a regular file."), std::string::npos) << dialogs.Last().Text;
}

TEST_F(MacroFormTest, RunModeWhileShownAndPrintingBothListings) {
  form->Show();
  EXPECT_EQ(RunMode, rmMacro);
  TPrinter printer;
  printer.SetOutputFileName(dir.File("listing.pdf"));
  TPrinter* previous = SetPrinter(&printer);
  guitest::TCommonDialogResponder print;
  print.Do([](TCommonDialog*) { return true; });
  form->MemoSource->SetText("WRITE(1)");
  form->actRun->Execute();
  form->actPrint->Execute();
  SetPrinter(previous);
  EXPECT_EQ(TTempDir::Read(dir.File("listing.pdf")).substr(0, 5), "%PDF-");
  form->Close();
  EXPECT_EQ(RunMode, rmIdle);
  EXPECT_FALSE(form->HelpContents1->Visible());
}

TEST_F(MacroFormTest, MenusToolbarAndDockPopup) {
  std::vector<std::string> top;
  for (int i = 0; i < form->MenuToolbar->Items()->Count(); ++i)
    top.push_back(form->MenuToolbar->Items()->Items(i)->Caption());
  EXPECT_EQ(top, (std::vector<std::string>{"&File", "&Edit", "&Run", "&Help"}));
  EXPECT_FALSE(form->MenuToolbar->Items()->Items(3)->Visible());
  // Run on the menu bar runs the script.
  form->MemoSource->SetText("WRITE(9)");
  form->MenuToolbar->Items()->Items(2)->Click();
  EXPECT_EQ(Output(), std::vector<std::string>{"9"});
  EXPECT_EQ(form->TBMainToolbar->Items()->Count(), 6);
  form->TBPopupMainToolbar->Click();
  EXPECT_FALSE(form->TBMainToolbar->Visible());
  form->TBPopupMainToolbar->Click();
  EXPECT_TRUE(form->TBMainToolbar->Visible());
}

TEST_F(MacroFormTest, SplitterBetweenTheMemos) {
  form->Show();
  EXPECT_EQ(form->MemoSource->Height(), 150);
  EXPECT_EQ(form->Splitter1->ResizeControl(), form->MemoSource);
  EXPECT_EQ(form->Splitter1->Top(), form->MemoSource->Top() + 150);
  form->Splitter1->MoveBy(40);
  EXPECT_EQ(form->MemoSource->Height(), 190);
  EXPECT_EQ(form->MemoWrite->Top(), form->Splitter1->Top() + form->Splitter1->Height());
}

TEST_F(MacroFormTest, MenuBarOnTopThenSourceSplitterAndOutput) {
  // From the top: the dock with the menu bar and main toolbar, the source
  // memo, the splitter, the output memo; the status panel at the bottom.
  form->Show();
  const TControl* column[] = {form->TBDockTop, form->MemoSource, form->Splitter1, form->MemoWrite, form->Panel2};
  EXPECT_EQ(form->TBDockTop->Top(), 0);
  EXPECT_GT(form->TBDockTop->Height(), 0);
  for (size_t i = 1; i < std::size(column); ++i)
    EXPECT_EQ(column[i]->Top(), column[i - 1]->Top() + column[i - 1]->Height()) << column[i]->Name();
  EXPECT_EQ(form->Panel2->Top() + form->Panel2->Height(), form->ClientHeight());
}

TEST_F(MacroFormTest, PlaceIsKeptAndRunModeFollowsTheWindow) {
  const char* key = "Software\\Zelvora\\Configuration\\MacroForm";
  {
    TRegistry reg;
    reg.DeleteKey(std::string("\\") + key);
  }
  form->Show();
  EXPECT_EQ(RunMode, rmMacro);
  form->SetBounds(33, 44, 500, 300);
  LastActiveControl = form->MemoSource;
  form->Close();
  EXPECT_EQ(RunMode, rmIdle);
  EXPECT_EQ(LastActiveControl, nullptr);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(key));
  EXPECT_EQ(reg.ReadInteger("Top"), 44);
  EXPECT_EQ(reg.ReadInteger("Left"), 33);
}

TEST(MainScriptTest, RunScriptReportsMissingAndBrokenScripts) {
  guitest::EnsureGui();
  TTempDir dir;
  TDialogResponder dialogs;
  TMacroHooks hooks;
  std::vector<std::string> menu;
  hooks.AddUserMenu = [&](const std::string& m, const std::string& i, const std::string& s) {
    menu.push_back(m + "/" + i + "/" + s);
  };
  TMainScript main;
  main.SetUpScript(hooks);
  main.RunScript("");
  EXPECT_EQ(dialogs.Count(), 0u);
  main.RunScript(dir.File("none.rib"));
  EXPECT_EQ(dialogs.Last().Text, "VoraZadar script " + dir.File("none.rib") + " not found.");
  main.RunScript(dir.Write("bad.rib", "A = (\n"));
  EXPECT_EQ(dialogs.Last().Text, "Error processing VoraZadar file.");
  main.RunScript(dir.Write("good.rib", "A = ADDMENU(\"Tools\", \"Run\", \"x.rib\")\nA = WRITE(1)\n"));
  EXPECT_EQ(dialogs.Count(), 2u);
  EXPECT_EQ(menu, std::vector<std::string>{"Tools/Run/x.rib"});

  // A run-time error is shown as the macro window shows it, what the script
  // did before it done.
  const struct {
    const char* Source;
    const char* Report;
  } errors[] = {
      {"INTEGER I\nA = ADDMENU(\"Tools\", \"Loop\", \"y.rib\")\nFOR I = 1 TO 20000\nNEXT I\n",
       "Line:0003.  Too many cycles"},
      {"INTEGER V[2]\nINTEGER K\nK = 5\nV[K] = 1\n", "Range check error"},
  };
  for (const auto& e : errors) {
    SCOPED_TRACE(e.Source);
    const std::size_t before = dialogs.Count();
    main.RunScript(dir.Write("run.rib", e.Source));
    ASSERT_EQ(dialogs.Count(), before + 1);
    EXPECT_NE(dialogs.Last().Text.find(e.Report), std::string::npos) << dialogs.Last().Text;
  }
  EXPECT_EQ(menu.back(), "Tools/Loop/y.rib");
}

TEST(MainScriptTest, TheProgramsCloseStopsAnEndlessScript) {
  guitest::EnsureGui();
  TTempDir dir;
  TDialogResponder dialogs;
  TMacroHooks hooks;
  TMainScript main;
  main.SetUpScript(hooks);
  main.SBasicMacro().SetPollInterval(0);
  std::string script = kEndlessMacro;
  for (std::size_t at = script.find('\r'); at != std::string::npos; at = script.find('\r', at)) script.erase(at, 1);
  // The main window's close while the script runs asks the busy work to end.
  QueueCall([] { RequestBusyEnd(); });
  main.RunScript(dir.Write("endless.rib", script));
  EXPECT_FALSE(BusyEndRequested());
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_EQ(main.SBasicMacro().MemoryUsed(), 0);
}

}  // namespace
