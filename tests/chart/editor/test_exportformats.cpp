// The picture export formats: their order and filter entries in the save
// dialog, the metafile's two entries, the sizes and colour depths written,
// and the routines' errors.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/grafconst.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafbmpoptions.h"
#include "chart/editor/grafemfoptions.h"
#include "chart/editor/grafexport.h"
#include "platform/rtl/mailto.h"
#include "platform/rtl/stringlist.h"
#include "support/tempdir.h"

namespace {

class ExportFormats : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 240, 160);
    editortest::AddLine(*chart, "Line", {1, 3, 2});
  }
  std::unique_ptr<TChart> chart;
};

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
  return v;
}

TEST_F(ExportFormats, MetafileFirstThenBitmapInTheSaveDialog) {
  TSaveDialog dialog(nullptr);
  TStringList list;
  FillPictureFormats(&dialog, chart.get(), &list);
  EXPECT_EQ(dialog.Filter,
            "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|Bitmaps (*.bmp)|*.bmp");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Strings(0), "as Metafile");
  EXPECT_EQ(list.Strings(1), "as Bitmap");
  auto* emf = dynamic_cast<TEMFExportFormat*>(list.Objects(0));
  auto* bmp = dynamic_cast<TBMPExportFormat*>(list.Objects(1));
  ASSERT_TRUE(emf && bmp);
  EXPECT_EQ(emf->FilterIndexOf(), 1);
  EXPECT_EQ(bmp->FilterIndexOf(), 3);
  EXPECT_TRUE(bmp->OwnsFilterIndex(3));
  EXPECT_FALSE(bmp->OwnsFilterIndex(2));
  EXPECT_EQ(emf->Panel, chart.get());
  for (int i = 0; i < list.Count(); ++i) delete list.Objects(i);
}

TEST_F(ExportFormats, TheMetafilesSecondEntryIsTheOldFormat) {
  TSaveDialog dialog(nullptr);
  TStringList list;
  FillPictureFormats(&dialog, chart.get(), &list);
  std::unique_ptr<TEMFExportFormat> emf(static_cast<TEMFExportFormat*>(list.Objects(0)));
  std::unique_ptr<TGrafExportFormat> bmp(static_cast<TGrafExportFormat*>(list.Objects(1)));
  EXPECT_TRUE(emf->Enhanced());  // no options form yet
  EXPECT_EQ(emf->FileExtension(), "emf");
  EXPECT_TRUE(emf->OwnsFilterIndex(1));
  EXPECT_TRUE(emf->Enhanced());
  EXPECT_TRUE(emf->OwnsFilterIndex(2));  // choosing "Metafiles (*.wmf)"
  EXPECT_FALSE(emf->Enhanced());
  EXPECT_EQ(emf->FileExtension(), "wmf");
  EXPECT_EQ(emf->FilterIndexOf(), 2);

  // A name ending in ".emf" still gets the old format's bytes (placeable).
  TTempDir dir;
  SavePictureFile(emf.get(), dir.File("chart.emf"));
  const std::string wmf = TTempDir::Read(dir.File("chart.emf"));
  ASSERT_GE(wmf.size(), 4u);
  EXPECT_EQ(U32(wmf, 0), 0x9AC6CDD7u);
  emf->Options()->CBEnhanced->SetChecked(true);
  SavePictureFile(emf.get(), dir.File("chart2.emf"));
  EXPECT_EQ(U32(TTempDir::Read(dir.File("chart2.emf")), 0), 1u);  // EMR_HEADER
}

TEST_F(ExportFormats, ASizeOfNothingIsThePanelsSizeAndTheColoursAreChosen) {
  TBMPExportFormat bmp;
  bmp.Panel = chart.get();
  TTempDir dir;
  SavePictureFile(&bmp, dir.File("own.bmp"));
  std::string s = TTempDir::Read(dir.File("own.bmp"));
  EXPECT_EQ(U32(s, 18), 240u);
  EXPECT_EQ(U32(s, 22), 160u);
  EXPECT_EQ(s[28], 24);  // the device's format

  struct TCase {
    int colors;
    bool mono;
    int bits;
  };
  for (const TCase& c : {TCase{2, false, 4}, TCase{3, false, 8}, TCase{7, false, 32}, TCase{6, true, 1}}) {
    bmp.Options()->CBColors->SetItemIndex(c.colors);
    bmp.Options()->CBMono->SetChecked(c.mono);
    bmp.Width = 50;
    bmp.Height = 30;
    SavePictureFile(&bmp, dir.File("sized.bmp"));
    s = TTempDir::Read(dir.File("sized.bmp"));
    EXPECT_EQ(U32(s, 18), 50u);
    EXPECT_EQ(s[28], c.bits) << c.colors;
  }
}

TEST_F(ExportFormats, TheBitmapOptions) {
  TBMPOptions options(nullptr);
  EXPECT_EQ(options.CBColors->Items()->Count(), 8);
  EXPECT_EQ(options.CBColors->Text(), "Default");
  options.CBColors->SetItemIndex(4);
  options.CBMono->SetChecked(true);
  options.CBMono->OnClick(options.CBMono);
  EXPECT_FALSE(options.CBColors->Enabled());
  options.CBMono->SetChecked(false);
  options.CBMono->OnClick(options.CBMono);
  EXPECT_TRUE(options.CBColors->Enabled());
  options.FormShow(&options);
  EXPECT_EQ(options.CBColors->ItemIndex(), 0);
}

TEST_F(ExportFormats, RoutinesAndTheirErrors) {
  TBMPExportFormat bmp;
  try {
    CopyPictureOf(&bmp);
    FAIL() << "no error without a panel";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Panel property is not set in Export format");
  }
  EXPECT_THROW(SavePictureFile(&bmp, "x.bmp"), Exception);

  EXPECT_NE(dynamic_cast<TMetafile*>(GraphicForExtension(".EMF").get()), nullptr);
  EXPECT_NE(dynamic_cast<TBitmap*>(GraphicForExtension(".bmp").get()), nullptr);
  EXPECT_EQ(GraphicForExtension(".wmf"), nullptr);  // the metafile format answers for its current extension
  EXPECT_EQ(GraphicForExtension(".png"), nullptr);

  TMailHandler previous = SetMailHandler([](const std::string&, const std::string&) { return 3; });
  try {
    MailFile("/nowhere/GrafChart.bmp", "GrafChart");
    FAIL() << "a failed mail raised nothing";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Can not email GrafChart. Mapi Error: 3");
  }
  SetMailHandler(previous);
}

}  // namespace
