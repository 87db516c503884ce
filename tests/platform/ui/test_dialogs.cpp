// Common dialogs, the clipboard and the shell opener, all answered by tests.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/ui/forms.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extdlgs.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/shell.h"
#include "platform/ui/forms.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using namespace guitest;

TEST(CommonDialogs, TheResponderFillsInTheDialogAndAnswers) {
  TOpenDialog open(nullptr);
  open.Filter = "Input files (*.inp)|*.inp|All files (*.*)|*.*";
  {
    TCommonDialogResponder responder;
    responder
        .Do([](TCommonDialog* d) {
          EXPECT_EQ(d->Kind(), cdOpen);
          static_cast<TOpenDialog*>(d)->FileName = "/data/x.inp";
          return true;
        })
        .Do([](TCommonDialog*) { return false; });
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/data/x.inp");
    EXPECT_EQ(open.Files()->Count(), 1);
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(responder.Count(), 2);
  }
  // Without a handler nothing waits: the dialog is cancelled.
  TCommonDialogHandler none = SetCommonDialogHandler(nullptr);
  EXPECT_FALSE(open.Execute());
  SetCommonDialogHandler(none);
}

// The window system's dialog matches files with the space-separated patterns
// in each name's last parentheses, whatever the name shows.
TEST(CommonDialogs, PlatformFiltersCarryTheFiltersOwnPatterns) {
  const struct {
    const char* Filter;
    const char* Expected;
  } cases[] = {
      {"Input Files (*.inp)|*.inp", "Input Files (*.inp)"},
      {"All Data Files (*.dat,*.gs,*.xy,*.cpi)|*.dat;*.gs;*.xy;*.cpi|XY Data files (*.xy)|*.xy",
       "All Data Files (*.dat *.gs *.xy *.cpi);;XY Data files (*.xy)"},
      {"KORV Files (*.inp,*.out,*.dst)|*.inp;*.out;*.dst", "KORV Files (*.inp *.out *.dst)"},
      {"Text|*.txt;*.log", "Text (*.txt *.log)"},
      {"Plot (tab separated)|*.txt", "Plot (tab separated) (*.txt)"},
      {"Wrong (*.bmp)|*.png", "Wrong (*.png)"},
      {"Any file (*.*)|*.*", "Any file (*.*)"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlatformFileFilter(c.Filter), c.Expected) << c.Filter;
}

TEST(CommonDialogs, ColourFontFindAndReplace) {
  TCommonDialogResponder responder;
  TColorDialog colour(nullptr);
  colour.CustomColors()->Add("ColorA=FFFFFF");
  responder.Do([](TCommonDialog* d) {
    auto* c = static_cast<TColorDialog*>(d);
    EXPECT_EQ(c->CustomColors()->Strings(0), "ColorA=FFFFFF");
    c->Color = clRed;
    return true;
  });
  EXPECT_TRUE(colour.Execute());
  EXPECT_EQ(colour.Color, clRed);

  TFontDialog font(nullptr);
  responder.Do([](TCommonDialog* d) {
    static_cast<TFontDialog*>(d)->Font()->SetName("Courier New");
    return true;
  });
  EXPECT_TRUE(font.Execute());
  EXPECT_EQ(font.Font()->Name(), "Courier New");

  TReplaceDialog replace(nullptr);
  std::vector<std::string> log;
  replace.OnFind = [&](TObject*) { log.push_back("find " + replace.FindText); };
  replace.OnReplace = [&](TObject*) {
    log.push_back(std::string(replace.Options.Contains(frReplaceAll) ? "all " : "one ") + replace.ReplaceText);
  };
  responder.Do([](TCommonDialog* d) {
    auto* r = static_cast<TReplaceDialog*>(d);
    r->FindText = "Cycles";
    r->ReplaceText = "30";
    r->FindNextPressed();
    r->ReplacePressed(false);
    r->ReplacePressed(true);
    return true;
  });
  EXPECT_TRUE(replace.Execute());
  EXPECT_TRUE(replace.Showing());
  EXPECT_EQ(log, (std::vector<std::string>{"find Cycles", "one 30", "all 30"}));
  replace.CloseDialog();
  EXPECT_FALSE(replace.Showing());
}

// The window system's find and replace windows stay up while their buttons
// are pressed, so Find Next can be pressed again; their boxes set the
// options and Cancel closes them.
TEST(CommonDialogs, PlatformFindAndReplaceWindowsStayUpAndPressTheButtons) {
  EnsureGui();
  TCommonDialogHandler saved = SetCommonDialogHandler(nullptr);
  InstallPlatformDialogs();
  {
    TFindDialog find(nullptr);
    std::vector<std::string> log;
    find.OnFind = [&](TObject*) {
      log.push_back(find.FindText + (find.Options.Contains(frDown) ? " down" : " up") +
                    (find.Options.Contains(frMatchCase) ? " case" : "") +
                    (find.Options.Contains(frWholeWord) ? " word" : ""));
    };
    find.FindText = "Cell";
    find.Options = {frDown, frMatchCase};
    EXPECT_TRUE(find.Execute());
    ProcessEvents();
    ASSERT_TRUE(WindowShowing("Find"));
    EXPECT_TRUE(PressWindowButton("Find", "Find Next"));
    EXPECT_TRUE(PressWindowButton("Find", "Find Next"));
    EXPECT_TRUE(SetWindowText("Find", "Find what:", "B1"));
    EXPECT_TRUE(SetWindowCheck("Find", "Match case", false));
    EXPECT_TRUE(SetWindowCheck("Find", "Match whole word only", true));
    EXPECT_TRUE(SetWindowCheck("Find", "Up", true));
    EXPECT_TRUE(PressWindowButton("Find", "Find Next"));
    EXPECT_EQ(log, (std::vector<std::string>{"Cell down case", "Cell down case", "B1 up word"}));
    EXPECT_TRUE(find.Showing());
    EXPECT_TRUE(SetWindowText("Find", "Find what:", ""));
    EXPECT_FALSE(PressWindowButton("Find", "Find Next")) << "nothing to find";
    EXPECT_TRUE(PressWindowButton("Find", "Cancel"));
    EXPECT_FALSE(find.Showing());
    EXPECT_FALSE(WindowShowing("Find"));
    // Shown again: the options the component holds now.
    find.FindText = "a";
    find.Options = {frDown, frHideMatchCase};
    find.Execute();
    EXPECT_FALSE(SetWindowCheck("Find", "Match case", true)) << "hidden";
    find.CloseDialog();
    EXPECT_FALSE(WindowShowing("Find"));
  }
  {
    TReplaceDialog replace(nullptr);
    std::vector<std::string> log;
    replace.Execute();
    EXPECT_FALSE(PressWindowButton("Replace", "Find Next")) << "shown without a text";
    replace.CloseDialog();
    replace.OnFind = [&](TObject*) { log.push_back("find " + replace.FindText); };
    replace.OnReplace = [&](TObject*) {
      log.push_back(std::string(replace.Options.Contains(frReplaceAll) ? "all " : "one ") + replace.FindText +
                    ">" + replace.ReplaceText);
    };
    replace.Execute();
    EXPECT_TRUE(SetWindowText("Replace", "Find what:", "Cycles"));
    EXPECT_TRUE(SetWindowText("Replace", "Replace with:", "30"));
    EXPECT_TRUE(PressWindowButton("Replace", "Find Next"));
    EXPECT_TRUE(PressWindowButton("Replace", "Replace"));
    EXPECT_TRUE(PressWindowButton("Replace", "Replace All"));
    EXPECT_EQ(log, (std::vector<std::string>{"find Cycles", "one Cycles>30", "all Cycles>30"}));
    EXPECT_TRUE(replace.Showing());
  }
  // The component took its window with it.
  EXPECT_FALSE(WindowShowing("Replace"));
  SetCommonDialogHandler(saved);
}

// Without a printer the print dialog names a file: the print goes to the
// file it shows, and the dialog offers that file again next time.
TEST(CommonDialogs, PlatformPrintDialogSendsThePrintToTheFileItNames) {
  EnsureGui();
  TTempDir dir;
  if (!Printer()->PrintsToPdf()) GTEST_SKIP() << "a printer is installed";
  TCommonDialogHandler saved = SetCommonDialogHandler(nullptr);
  InstallPlatformDialogs();
  const std::string file = dir.File("chosen.pdf");
  std::string offered;
  TPrintDialog dialog(nullptr);
  QueueCall([&] {
    EXPECT_TRUE(SetWindowText("Print", "Output file:", file));
    EXPECT_TRUE(PressWindowButton("Print", "Print"));
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(Printer()->OutputFileName(), file);
  Printer()->SetTitle("Some document");
  Printer()->BeginDoc();
  Printer()->Canvas()->TextOut(10, 10, "x");
  Printer()->EndDoc();
  EXPECT_TRUE(FileExists(file));

  QueueCall([&] {
    offered = WindowText("Print", "Output file:");
    EXPECT_TRUE(PressWindowButton("Print", "Cancel"));
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(offered, file);
  Printer()->SetOutputFileName("");
  SetCommonDialogHandler(saved);
}

// The print dialog starts on the page range and the orientation given and
// hands back what it showed; the picture dialogs list every picture format.
TEST(CommonDialogs, PlatformPrintDialogKeepsThePageRangeAndOrientation) {
  EnsureGui();
  TTempDir dir;
  if (!Printer()->PrintsToPdf()) GTEST_SKIP() << "a printer is installed";
  TCommonDialogHandler saved = SetCommonDialogHandler(nullptr);
  InstallPlatformDialogs();
  Printer()->SetOutputFileName(dir.File("range.pdf"));
  Printer()->SetOrientation(poLandscape);
  TPrintDialog dialog(nullptr);
  dialog.Options = {poPageNums};
  dialog.MinPage = 1;
  dialog.MaxPage = 9;
  dialog.FromPage = 3;
  dialog.ToPage = 5;
  dialog.PrintRange = prPageNums;
  QueueCall([&] { EXPECT_TRUE(PressWindowButton("Print", "Print")); });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.PrintRange, prPageNums);
  EXPECT_EQ(dialog.FromPage, 3);
  EXPECT_EQ(dialog.ToPage, 5);
  EXPECT_EQ(Printer()->Orientation(), poLandscape);
  Printer()->SetOrientation(poPortrait);
  Printer()->SetOutputFileName("");
  SetCommonDialogHandler(saved);
}

TEST(CommonDialogs, PictureDialogsListEveryPictureFormat) {
  TOpenPictureDialog open(nullptr);
  TSavePictureDialog save(nullptr);
  EXPECT_EQ(open.Kind(), cdOpen);
  EXPECT_EQ(save.Kind(), cdSave);
  EXPECT_EQ(open.Filter.rfind("All (*.bmp;*.png;", 0), 0u) << open.Filter;
  for (const char* ext : {"*.bmp", "*.png", "*.jpg", "*.emf"}) EXPECT_NE(save.Filter.find(ext), std::string::npos);
  // A scripted answer picks a file and a filter entry, as the user would.
  guitest::TCommonDialogResponder answer;
  answer.Do([](TCommonDialog* d) {
    auto* o = static_cast<TOpenDialog*>(d);
    o->FileName = "/tmp/picture.png";
    o->FilterIndex = 3;
    return true;
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FilterIndex, 3);
  EXPECT_EQ(save.FileName, "/tmp/picture.png");
}

// Page set-up is its own dialog, not the print dialog: it sets the page's
// orientation and prints nothing.
TEST(CommonDialogs, PlatformPageSetupDialogSetsThePage) {
  EnsureGui();
  if (!Printer()->PrintsToPdf()) GTEST_SKIP() << "a printer is installed";
  TCommonDialogHandler saved = SetCommonDialogHandler(nullptr);
  InstallPlatformDialogs();
  TPrinterSetupDialog dialog(nullptr);
  bool pageSetup = false;
  QueueCall([&] {
    pageSetup = WindowShowing("Page Setup");
    if (pageSetup) {
      EXPECT_TRUE(PressWindowButton("Page Setup", "Landscape"));
      EXPECT_TRUE(PressWindowButton("Page Setup", "OK"));
    } else {
      PressWindowButton("Print", "Cancel");
    }
  });
  const bool accepted = dialog.Execute();
  EXPECT_TRUE(pageSetup) << "the print dialog came instead";
  EXPECT_TRUE(accepted);
  EXPECT_EQ(Printer()->Orientation(), poLandscape);
  Printer()->SetOrientation(poPortrait);
  SetCommonDialogHandler(saved);
}

// A message without a caption of its own is captioned with the program's title.
TEST(Dialogs, AMessageIsCaptionedWithTheProgramsTitle) {
  EnsureGui();
  const std::string saved = Application->Title();
  Application->SetTitle("Zelvora");
  std::vector<std::string> captions;
  TDialogHandler previous = SetDialogHandler([&](const TDialogRequest& r) {
    captions.push_back(r.Caption);
    TDialogAnswer a;
    a.Result = r.DefaultResult;
    return a;
  });
  ShowMessage("text");
  MessageDlg("text", mtCustom, {mbOK});
  MessageBox("text", "", MB_OK);
  MessageDlg("text", mtConfirmation, {mbYes, mbNo});
  SetDialogHandler(previous);
  Application->SetTitle(saved);
  EXPECT_EQ(captions, (std::vector<std::string>{"Zelvora", "Zelvora", "Zelvora", "Confirm"}));
}

TEST(Clipboard, TextBitmapAndPrivateFormats) {
  EnsureGui();
  Clipboard()->SetAsText("Rwp 12.5");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->AsText(), "Rwp 12.5");

  const TClipboardFormat cells = RegisterClipboardFormat("Zelvora Grid Cells");
  EXPECT_EQ(RegisterClipboardFormat("zelvora grid cells"), cells);
  EXPECT_GE(cells, 0xC000u);
  Clipboard()->Open();
  Clipboard()->SetAsText("a\tb");
  Clipboard()->SetBuffer(cells, {1, 2, 3});
  Clipboard()->Close();
  EXPECT_TRUE(Clipboard()->HasFormat(cells));
  EXPECT_EQ(Clipboard()->GetBuffer(cells), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(Clipboard()->AsText(), "a\tb");

  TBitmap bmp(4, 3);
  bmp.Canvas()->SetPixels(1, 1, clRed);
  Clipboard()->Assign(&bmp);
  EXPECT_FALSE(Clipboard()->HasFormat(cells));
  TBitmap back;
  ASSERT_TRUE(Clipboard()->GetBitmap(&back));
  EXPECT_EQ(back.Width(), 4);
  EXPECT_EQ(back.Canvas()->Pixels(1, 1), clRed);
}

TEST(Clipboard, OneFormatJoinsTheOthersAndFormatsTravelAsTheirTypes) {
  Clipboard()->SetAsText("kept");
  const TClipboardFormat own = RegisterClipboardFormat("Zelvora Test Cells", "application/x-zelvora-test-cells");
  Clipboard()->SetBuffer(own, {7, 8});
  EXPECT_EQ(Clipboard()->AsText(), "kept") << "setting a format without emptying keeps the text";
  // Two names for one type see the same data.
  const TClipboardFormat alias = RegisterClipboardFormat("Zelvora Test Alias", "application/x-zelvora-test-cells");
  EXPECT_NE(alias, own);
  EXPECT_EQ(Clipboard()->GetBuffer(alias), (std::vector<uint8_t>{7, 8}));
  const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
  Clipboard()->SetBuffer(rtf, {'{', '}'});
  EXPECT_TRUE(Clipboard()->HasFormat(RegisterClipboardFormat("Zelvora Test Rtf", "text/rtf")));
  Clipboard()->SetAsText("new");
  EXPECT_FALSE(Clipboard()->HasFormat(own));
}

TEST(Clipboard, MetafilesComeBackAsMetafilesAndAsPictures) {
  EnsureGui();
  TMetafile mf;
  mf.SetWidth(40);
  mf.SetHeight(20);
  {
    TMetafileCanvas canvas(&mf, nullptr);
    canvas.Brush()->SetColor(clBlue);
    canvas.FillRect(Rect(0, 0, 40, 20));
  }
  Clipboard()->Assign(&mf);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  TMetafile back;
  ASSERT_TRUE(Clipboard()->GetMetafile(&back));
  EXPECT_EQ(back.Width(), 40);
  EXPECT_EQ(back.RecordCount(), mf.RecordCount());
  TBitmap picture;
  ASSERT_TRUE(Clipboard()->GetBitmap(&picture));
  EXPECT_EQ(picture.Canvas()->Pixels(10, 10), clBlue);
  Clipboard()->SetAsText("no picture");
  EXPECT_FALSE(Clipboard()->GetMetafile(&back));
}

TEST(Shell, OpeningGoesThroughTheHook) {
  std::vector<std::string> opened;
  TShellOpenHandler previous = SetShellOpenHandler([&](const std::string& op, const std::string& target,
                                                       const std::string& params) {
    opened.push_back(op + "|" + target + "|" + params);
    return target != "missing.pdf";
  });
  EXPECT_TRUE(OpenURL("https://example.org/zelvora"));
  EXPECT_GT(ShellExecute(0, "open", "manual.pdf", "", "", SW_SHOWNORMAL), 32);
  EXPECT_LE(ShellExecute(0, "open", "missing.pdf", "", "", SW_SHOWNORMAL), 32);
  EXPECT_EQ(opened.front(), "open|https://example.org/zelvora|");
  EXPECT_EQ(opened.size(), 3u);
  SetShellOpenHandler(previous);
  EXPECT_EQ(ShellExecute(0, "open", "", "", "", SW_SHOWNORMAL), SE_ERR_FNF);
}

// An allocation that fails at the event boundary reaches the user as a plain
// message, never under the library's name for it.
TEST(ApplicationErrors, OutOfMemoryIsReportedInPlainWords) {
  EnsureGui();
  TDialogResponder dialogs;
  try {
    throw std::bad_alloc();
  } catch (...) {
    Application->HandleException(nullptr);
  }
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "There is not enough memory to finish this.");
}
