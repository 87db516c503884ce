// The series type icons: every registered series type has one, painted from
// its class, the types look different, other names have none, and the
// series list box shows them in its icon section.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

#include "chart/core/grafutils.h"
#include "chart/editor/editortest.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/graftypeicons.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "platform/gfx/colors.h"
#include "support/gui/guitest.h"

namespace {

// The icon's pixels, top to bottom, as RGB values.
std::vector<TColorRef> Pixels(TBitmap& b) {
  std::vector<TColorRef> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(ColorToRGB(b.Canvas()->Pixels(x, y)));
  return out;
}

int Inked(const std::vector<TColorRef>& pixels) {
  int n = 0;
  for (TColorRef c : pixels)
    if (GetRValue(c) < 230 || GetGValue(c) < 230 || GetBValue(c) < 230) ++n;
  return n;
}

std::unique_ptr<TBitmap> IconOf(TClass SeriesClass) {
  TChart chart(nullptr);
  std::unique_ptr<TComponent> series(CreateComponentOfClass(SeriesClass, &chart));
  auto bitmap = std::make_unique<TBitmap>();
  if (!series || !LoadClassBitmap(series.get(), bitmap.get())) return nullptr;
  return bitmap;
}

TEST(SeriesIcons, EveryRegisteredSeriesTypeHasAPictureOfItsOwn) {
  editortest::EnsureEditor();
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  std::set<std::string> classes;
  for (int i = 0; i < types->Count(); ++i)
    if (types->TypeAt(i)->SeriesClass) classes.insert(types->TypeAt(i)->SeriesClass->Name());
  ASSERT_GT(classes.size(), 20u);
  std::set<std::vector<TColorRef>> distinct;
  for (const std::string& name : classes) {
    std::unique_ptr<TBitmap> icon = IconOf(GetClass(name));
    ASSERT_NE(icon, nullptr) << name;
    EXPECT_EQ(icon->Width(), SeriesIconSize) << name;
    EXPECT_EQ(icon->Height(), SeriesIconSize) << name;
    EXPECT_TRUE(icon->Transparent()) << name;
    const std::vector<TColorRef> pixels = Pixels(*icon);
    EXPECT_GE(Inked(pixels), 12) << name << " draws (almost) nothing";
    distinct.insert(pixels);
  }
  // Most types look different (a few close relatives may share a picture).
  EXPECT_GE(distinct.size(), classes.size() * 3 / 4);
  // The common ones certainly differ.
  const std::unique_ptr<TBitmap> line = IconOf(&TLineSeries::StaticClass()), bar = IconOf(&TBarSeries::StaticClass()),
                                 pie = IconOf(&TPieSeries::StaticClass()), point = IconOf(&TPointSeries::StaticClass());
  std::set<std::vector<TColorRef>> common = {Pixels(*line), Pixels(*bar), Pixels(*pie), Pixels(*point)};
  EXPECT_EQ(common.size(), 4u);
}

TEST(SeriesIcons, OtherNamesHaveNone) {
  editortest::EnsureEditor();
  TBitmap b;
  for (const char* name : {"TChart", "TChartListBox", "TNoSuchSeries", ""})
    EXPECT_FALSE(LoadSeriesTypeIcon(name, &b)) << name;
  EXPECT_TRUE(LoadSeriesTypeIcon("tbarseries", &b));  // the class name ignoring case
  EXPECT_EQ(MakeSeriesTypeIcon(&TChart::StaticClass()), nullptr);
}

TEST(SeriesIcons, TheListBoxShowsThemInItsIconSection) {
  editortest::EnsureEditor();
  TForm form(nullptr);
  form.SetBounds(40, 40, 300, 120);
  TChart chart(&form);
  auto* bar = new TBarSeries(&chart);
  bar->SetParentChart(&chart);
  bar->SetSeriesColor(clRed);
  for (double v : {3.0, 5.0, 2.0}) bar->AddSingleValue(v);
  auto* list = new TChartListBox(&form);
  list->SetParent(&form);
  list->SetBounds(0, 0, 290, 100);
  list->SetChart(&chart);
  form.Show();
  TBitmap shown;
  ASSERT_TRUE(guitest::ControlPicture(list, shown));
  const TRect row = list->ItemRect(0);
  // The picture holds the list's frame around its client area.
  const int frame = (list->Width() - list->ClientWidth()) / 2;
  const int left = list->SectionLeft(TChartListBox::lsIcon) + frame, top = row.Top + frame;
  // The bar series' icon, pixel for pixel, at the row's icon section.
  std::unique_ptr<TBitmap> icon = IconOf(&TBarSeries::StaticClass());
  ASSERT_NE(icon, nullptr);
  int inked = 0, same = 0;
  for (int y = 0; y < icon->Height(); ++y)
    for (int x = 0; x < icon->Width(); ++x) {
      const TColorRef c = ColorToRGB(icon->Canvas()->Pixels(x, y));
      if (c == RGB(255, 255, 255)) continue;
      ++inked;
      if (ColorToRGB(shown.Canvas()->Pixels(left + x, top + y)) == c) ++same;
    }
  EXPECT_GE(inked, 30);
  EXPECT_EQ(same, inked);
  form.Hide();
}

}  // namespace
