// The export dialog: the picture save dialog's filter and preselection, the
// picture size and its aspect ratio, the buttons per page, the data save's
// format taken from the chosen filter, and a mailed export's private file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "chart/core/grafeditctrls.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafemfoptions.h"
#include "chart/editor/grafexport.h"
#include "chart/editor/grexport.h"
#include "support/gui/guitest.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/mailto.h"
#include "platform/ui/buttons.h"
#include "platform/ui/combos.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "support/tempdir.h"

namespace {

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}

class ExportDialog : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 240, 160);
    editortest::AddLine(*chart, "Line", {1, 3, 2});
    form = std::make_unique<TGrafExportForm>(nullptr);
    form->SetTag(reinterpret_cast<intptr_t>(chart.get()));
    form->Show();
  }
  void TearDown() override {
    form->Hide();
    form.reset();
  }
  // Answers the next save dialog with the file and filter entry (0 keeps it).
  void Answer(guitest::TCommonDialogResponder& files, const std::string& file, int filter = 0) {
    files.Do([this, file, filter](TCommonDialog* d) {
      auto* save = static_cast<TSaveDialog*>(d);
      seen = {save->Filter, save->FilterIndex, save->DefaultExt};
      save->FileName = file;
      if (filter) save->FilterIndex = filter;
      return true;
    });
  }
  struct {
    std::string Filter;
    int FilterIndex = 0;
    std::string DefaultExt;
  } seen;
  std::unique_ptr<TChart> chart;
  std::unique_ptr<TGrafExportForm> form;
};

TEST_F(ExportDialog, ShowingAgainRebuildsThePictureFilter) {
  form->Hide();
  form->Show();
  EXPECT_EQ(form->SaveDialogPicture->Filter,
            "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|Bitmaps (*.bmp)|*.bmp");
  ASSERT_EQ(form->LBFormat->Items()->Count(), 2);
  EXPECT_EQ(form->LBFormat->Items()->Strings(1), "as Bitmap");
  EXPECT_EQ(form->UDWidth->Position(), 240);
  EXPECT_EQ(form->UDHeight->Position(), 160);
  // The bitmap keeps its entry: the third, not one further on.
  form->LBFormat->SetItemIndex(1);
  EXPECT_EQ(form->SelectedFormat()->FilterIndexOf(), 3);
}

TEST_F(ExportDialog, MetafileWithoutEnhancedSavesTheOldFormat) {
  auto* emf = dynamic_cast<TEMFExportFormat*>(form->SelectedFormat());
  ASSERT_NE(emf, nullptr);
  EXPECT_TRUE(form->TabOptions->TabVisible());
  emf->Options()->CBEnhanced->SetChecked(false);
  TTempDir dir;
  guitest::TCommonDialogResponder files;
  Answer(files, dir.File("chart.emf"));
  form->BSave->Click();
  EXPECT_EQ(seen.DefaultExt, "wmf");
  EXPECT_EQ(seen.FilterIndex, 2);
  // Named ".emf", still written by the metafile format, in its old form.
  EXPECT_EQ(U32(TTempDir::Read(dir.File("chart.emf")), 0), 0x9AC6CDD7u);
}

TEST_F(ExportDialog, SizeAndAspectRatio) {
  form->UDWidth->SetPosition(120);
  EXPECT_EQ(form->UDHeight->Position(), 80);
  form->UDHeight->SetPosition(100);
  EXPECT_EQ(form->UDWidth->Position(), 150);

  // 0 by 0 is the panel's own size; the file's extension picks the format.
  form->CBAspect->SetChecked(false);
  form->UDWidth->SetPosition(0);
  form->UDHeight->SetPosition(0);
  TTempDir dir;
  guitest::TCommonDialogResponder files;
  Answer(files, dir.File("own.bmp"));
  form->BSave->Click();
  const std::string bmp = TTempDir::Read(dir.File("own.bmp"));
  ASSERT_GE(bmp.size(), 26u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(bmp, 18), 240u);
  EXPECT_EQ(U32(bmp, 22), 160u);
}

TEST_F(ExportDialog, ButtonsFollowPageAndFormat) {
  struct Case {
    TTabSheet* Page;
    int Text, Native;
    bool Copy, Save;
  } cases[] = {
      {form->TabPicture, 0, 0, true, true},  {form->TabData, 0, 0, true, true},
      {form->TabData, 3, 0, false, true},    {form->TabNative, 0, 0, false, true},
      {form->TabNative, 0, 1, true, true},
  };
  for (const Case& c : cases) {
    form->PageControl1->SetActivePage(c.Page);
    form->RGText->SetItemIndex(c.Text);
    form->CBNativeFormat->SetItemIndex(c.Native);
    form->EnableButtons();
    EXPECT_EQ(form->BCopy->Enabled(), c.Copy) << c.Page->Caption() << " " << c.Text << " " << c.Native;
    EXPECT_EQ(form->BSave->Enabled(), c.Save) << c.Page->Caption() << " " << c.Text << " " << c.Native;
  }
}

TEST_F(ExportDialog, DataSaveTakesOnlyTheFormatFromTheFilter) {
  form->PageControl1->SetActivePage(form->TabData);
  form->CBIndex->SetChecked(true);  // two columns, so a delimiter shows
  TTempDir dir;
  guitest::TCommonDialogResponder files;
  Answer(files, dir.File("comma.csv"), 3);  // "Comma delimited text files"
  Answer(files, dir.File("table.htm"), 7);  // "HTML files"
  form->BSave->Click();
  EXPECT_EQ(seen.FilterIndex, 2);  // Tab, as CBDelim
  EXPECT_EQ(form->RGText->ItemIndex(), 0);
  const std::string text = TTempDir::Read(dir.File("comma.csv"));
  EXPECT_NE(text.find("\t"), std::string::npos) << text;
  EXPECT_EQ(text.find(","), std::string::npos) << text;
  form->BSave->Click();
  EXPECT_EQ(form->RGText->ItemIndex(), 2);
  EXPECT_NE(TTempDir::Read(dir.File("table.htm")).find("<table"), std::string::npos);
}

TEST_F(ExportDialog, MailedExportLivesInAPrivateFolderUntilTaken) {
  form->PageControl1->SetActivePage(form->TabData);
  form->RGText->SetItemIndex(2);
  std::string mailed, subject, content;
  mode_t folderMode = 0;
  TMailHandler previous = SetMailHandler([&](const std::string& s, const std::string& f) {
    subject = s;
    mailed = f;
    content = TTempDir::Read(f);
    struct stat st {};
    if (stat(ExtractFileDir(f).c_str(), &st) == 0) folderMode = st.st_mode & 0777;
    return 0;
  });
  form->BSend->Click();
  SetMailHandler(previous);
  EXPECT_EQ(subject, "GrafChart");
  EXPECT_EQ(ExtractFileName(mailed), "GrafChart.htm");
  EXPECT_NE(content.find("<table"), std::string::npos);
  EXPECT_EQ(folderMode, 0700u);
  EXPECT_FALSE(FileExists(mailed));
  EXPECT_FALSE(DirectoryExists(ExtractFileDir(mailed)));
}

// The chart freed while the dialog is up is forgotten with its series: no
// button reaches it any more, the picture copy says the panel is not set.
TEST_F(ExportDialog, AChartFreedWhileTheDialogIsUpIsForgotten) {
  form->PageControl1->SetActivePage(form->TabData);
  form->EnableButtons();
  ASSERT_EQ(form->CBSeries->Items()->Count(), 2);
  ASSERT_TRUE(form->BSave->Enabled());
  chart.reset();
  EXPECT_EQ(form->Panel(), nullptr);
  EXPECT_EQ(form->Tag(), 0);
  EXPECT_EQ(form->CBSeries->Items()->Count(), 1);  // "(all)"
  EXPECT_FALSE(form->BCopy->Enabled());
  EXPECT_FALSE(form->BSave->Enabled());
  form->PageControl1->SetActivePage(form->TabPicture);
  ASSERT_NE(form->SelectedFormat(), nullptr);
  EXPECT_EQ(form->SelectedFormat()->Panel, nullptr);
  try {
    form->BCopyClick(form->BCopy);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()), "Panel property is not set in Export format");
  }
}

}  // namespace
