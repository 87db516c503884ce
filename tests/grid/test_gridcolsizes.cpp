// Column widths kept in an INI file or the registry between runs, and the
// grid following its form's size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

std::unique_ptr<TPlusStringGrid> GridWithColumns(int cols) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  for (int c = 0; c < cols; ++c) g->SetColWidths(c, 64);
  return g;
}

void KeepIn(TPlusStringGrid* g, const std::string& key, const std::string& section,
            TColumnSizeLocation where = clIniFile) {
  g->ColumnSize()->SetKey(key);
  g->ColumnSize()->SetSection(section);
  g->ColumnSize()->SetLocation(where);
}

std::vector<int> Widths(TPlusStringGrid* g) {
  std::vector<int> w;
  for (int c = 0; c < g->ColCount(); ++c) w.push_back(g->ColWidths(c));
  return w;
}

TEST(GridColumnSizes, SavedAsColNAndReadBackOnlyForThoseColumns) {
  TTempDir dir;
  const std::string ini = dir.File("sizes.ini");
  auto a = GridWithColumns(3);
  a->SetColWidths(0, 30);
  a->SetColWidths(1, 120);
  a->SetColWidths(2, 75);
  KeepIn(a.get(), ini, "Phases");
  a->SaveColumnSizes();
  TIniFile file(ini);
  TStringList names;
  file.ReadSection("Phases", names);
  EXPECT_EQ(names.Text(), "Col0\nCol1\nCol2\n");
  EXPECT_EQ(file.ReadString("Phases", "Col1", ""), "120");

  auto b = GridWithColumns(5);
  KeepIn(b.get(), ini, "Phases");
  b->LoadColumnSizes();
  EXPECT_EQ(Widths(b.get()), (std::vector<int>{30, 120, 75, 64, 64}));
}

TEST(GridColumnSizes, EmptyKeyOrSectionTouchesNothing) {
  TTempDir dir;
  const std::string ini = dir.Write("sizes.ini", "[S]\nCol0=99\n");
  for (const auto& [key, section] : {std::pair<std::string, std::string>{ini, ""}, {"", "S"}}) {
    auto g = GridWithColumns(2);
    KeepIn(g.get(), key, section);
    g->SaveColumnSizes();
    g->LoadColumnSizes();
    EXPECT_EQ(Widths(g.get()), (std::vector<int>{64, 64}));
  }
  EXPECT_EQ(TTempDir::Read(ini), "[S]\nCol0=99\n");
}

TEST(GridColumnSizes, HostileWidthsAreClampedOrIgnored) {
  TTempDir dir;
  const std::string ini = dir.Write("sizes.ini",
                                    "[Grid]\n"
                                    "Col0=-40\n"
                                    "Col1=2000000000\n"
                                    "Col2=12.5\n"
                                    "Col3=wide\n"
                                    "Col4=\n"
                                    "Col5= 90 \n");
  auto g = GridWithColumns(7);
  KeepIn(g.get(), ini, "Grid");
  g->LoadColumnSizes();
  EXPECT_EQ(Widths(g.get()), (std::vector<int>{0, 10000, 64, 64, 64, 90, 64}));
}

TEST(GridColumnSizes, RegistryStoreRoundTripAndForeignValueTypes) {
  TTempDir dir;
  const std::string saved = GetEnvironmentVariable("ZELVORA_CONFIG_HOME");
  setenv("ZELVORA_CONFIG_HOME", dir.Path().c_str(), 1);
  {
    auto a = GridWithColumns(3);
    a->SetColWidths(2, 140);
    KeepIn(a.get(), "Software\\Zelvora\\Test", "Grid", clRegistry);
    a->SaveColumnSizes();
    {
      // A value of another type under one of the names is no width.
      TRegistryIniFile reg("Software\\Zelvora\\Test");
      reg.RegIniFile().OpenKey("Grid", true);
      const unsigned char bytes[4] = {1, 2, 3, 4};
      reg.RegIniFile().WriteBinaryData("Col0", bytes, sizeof bytes);
      reg.RegIniFile().CloseKey();
    }
    auto b = GridWithColumns(3);
    KeepIn(b.get(), "Software\\Zelvora\\Test", "Grid", clRegistry);
    b->LoadColumnSizes();
    EXPECT_EQ(Widths(b.get()), (std::vector<int>{64, 64, 140}));
  }
  if (saved.empty())
    unsetenv("ZELVORA_CONFIG_HOME");
  else
    setenv("ZELVORA_CONFIG_HOME", saved.c_str(), 1);
}

TEST(GridColumnSizes, KeptWhenTheGridGoesAndReadWhenLoaded) {
  TTempDir dir;
  const std::string ini = dir.File("sizes.ini");
  {
    auto g = GridWithColumns(2);
    KeepIn(g.get(), ini, "S");
    g->SetColWidths(1, 33);
    g->ColumnSize()->SetSave(true);
  }
  TIniFile file(ini);
  EXPECT_EQ(file.ReadInteger("S", "Col1", -1), 33);

  auto g = GridWithColumns(2);
  KeepIn(g.get(), ini, "S");
  g->ColumnSize()->SetSave(true);
  g->Loaded();
  EXPECT_EQ(g->ColWidths(1), 33);
}

// Stretching is the sizing code's; the grid calls it through its slot.
class TStretchRecorder : public TPlusStringGrid {
public:
  using TPlusStringGrid::TPlusStringGrid;
  void StretchColumn(int ACol) override {
    Stretched.push_back(ACol);
    TPlusStringGrid::StretchColumn(ACol);
  }
  std::vector<int> Stretched;
};

TEST(GridColumnSizes, FormResizeSizesTheGridAndStretchesThroughItsSlot) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 600, 400);
  auto* g = new TStretchRecorder(form);
  g->SetParent(form);
  g->SetBounds(10, 10, 300, 200);
  g->SetSizeWithForm(true);
  g->ColumnSize()->SetStretchColumn(2);
  const std::vector<int> before = Widths(g);
  form->SetBounds(0, 0, 650, 380);
  ASSERT_FALSE(g->Stretched.empty());
  EXPECT_EQ(g->Stretched.back(), 2);
  EXPECT_EQ(Widths(g), before) << "stretching off: the columns keep their widths";
  // A shrink that would leave no grid is not followed, and the next change is
  // measured from the size last followed.
  form->SetBounds(0, 0, 100, 380);
  EXPECT_EQ(g->Width(), 350);
  form->SetBounds(0, 0, 660, 380);
  EXPECT_EQ(g->Width(), 360);
  // Switching Stretch on stretches at once.
  g->Stretched.clear();
  g->ColumnSize()->SetStretch(true);
  EXPECT_EQ(g->Stretched, std::vector<int>{2});
  delete form;
  guitest::ProcessEvents();
}

}  // namespace
