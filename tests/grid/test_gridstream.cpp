// The cell stream: cells with their records, graphics and contents carried
// between grids, and damaged streams refused before the grid changes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/clipboard.h"
#include "support/gui/guitest.h"

namespace {

std::unique_ptr<TPlusStringGrid> NewGrid(int cols = 6, int rows = 8) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  return g;
}

// Everything the tests compare of a grid, one line per cell that holds something.
std::string Snapshot(TPlusStringGrid& g) {
  std::string out = std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount()) + "\n";
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) {
      const bool prop = g.HasCellProperties(c, r);
      if (g.GetCellRaw(c, r).empty() && !prop) continue;
      out += std::to_string(c) + "," + std::to_string(r) + " '" + g.GetCellRaw(c, r) + "'";
      if (prop) {
        TCellProperties* p = g.GetCellProperties(c, r);
        out += " brush=" + std::to_string(p->BrushColor()) + " font=" + std::to_string(p->FontColor()) +
               " span=" + std::to_string(p->CellSpanX()) + "/" + std::to_string(p->CellSpanY()) +
               " base=" + std::to_string(p->IsBaseCell()) + " ro=" + std::to_string(p->ReadOnly());
        if (TCellGraphic* gr = p->CellGraphic())
          out += " graphic=" + std::to_string(gr->CellType) + "/" + std::to_string(gr->CellBoolean) + "/" +
                 std::to_string(gr->CellHAlign);
      }
      out += "\n";
    }
  return out;
}

// A grid with colours, a merge, check boxes, a radio group, image indexes and a bitmap.
std::unique_ptr<TPlusStringGrid> RichGrid() {
  auto g = NewGrid();
  g->SetCells(1, 1, "plain");
  g->GetCellProperties(2, 1)->SetBrushColor(clRed);  // colour, no text
  g->GetCellProperties(3, 1)->SetFontColor(clBlue);
  g->SetCells(3, 1, "blue");
  g->GetCellProperties(3, 1)->SetReadOnly(true);
  g->MergeCells(1, 2, 2, 2);
  g->SetCells(1, 2, "merged");
  g->AddCellCheckBox(4, 2, true, false);
  g->AddCellCheckBox(4, 3, false, true);
  g->SetCells(4, 3, "N");
  TCellGraphic* radio = g->CreateCellGraphic(1, 5);
  radio->CellType = ctRadio;
  radio->CellCreated = true;
  auto* options = new TStringList();
  options->Add("one");
  options->Add("two, three");
  radio->CellContent = options;
  TCellGraphic* images = g->CreateCellGraphic(2, 5);
  images->CellType = ctImages;
  images->CellCreated = true;
  auto* idx = new TIntList(2, 5);
  for (int v : {1, 3, 7}) idx->AddValue(v);
  images->CellContent = idx;
  TCellGraphic* pic = g->CreateCellGraphic(3, 5);
  pic->CellType = ctBitmap;
  pic->CellCreated = true;
  auto* bmp = new TBitmap(3, 2);
  bmp->Canvas()->SetPixels(1, 1, clLime);
  pic->CellContent = bmp;
  TCellGraphic* icon = g->CreateCellGraphic(4, 5);
  icon->CellType = ctIcon;
  icon->CellCreated = true;
  auto* ico = new TIcon();
  ico->SetSize(5, 4);
  icon->CellContent = ico;
  TCellGraphic* picture = g->CreateCellGraphic(5, 5);
  picture->CellType = ctPicture;
  picture->CellCreated = true;
  picture->CellAngle = 2;
  auto* p = new TPicture();
  TPngImage png;
  png.SetSize(7, 6);
  p->SetGraphic(&png);
  picture->CellContent = p;
  TCellGraphic* file = g->CreateCellGraphic(5, 6);
  file->CellType = ctFilePicture;
  file->CellCreated = true;
  auto* fp = new TFilePicture();
  fp->SetReference("/no/such/folder/photo.png", 40, 30);
  file->CellContent = fp;
  g->SetCells(2, 6, "line one\nline two");
  g->SetColWidths(2, 111);
  g->SetRowHeights(3, 33);
  return g;
}

std::vector<uint8_t> StreamOf(TPlusStringGrid& g, TGridRect R) {
  TMemoryStream m;
  g.SaveCellsToStream(R, m);
  return std::vector<uint8_t>(m.Memory(), m.Memory() + m.Size());
}

void Load(TPlusStringGrid& g, const std::vector<uint8_t>& bytes, TPoint at) {
  TMemoryStream m;
  m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  m.SetPosition(0);
  g.LoadCellsFromStream(at, m);
}

TGridRect Whole(TPlusStringGrid& g) { return TGridRect{0, 0, g.ColCount() - 1, g.RowCount() - 1}; }

TEST(GridCellStream, RoundTripKeepsColoursMergesCheckBoxesAndContents) {
  auto a = RichGrid();
  auto b = NewGrid(3, 3);
  Load(*b, StreamOf(*a, Whole(*a)), TPoint{0, 0});

  EXPECT_EQ(Snapshot(*b), Snapshot(*a));
  EXPECT_EQ(b->ColWidths(2), 111);
  EXPECT_EQ(b->RowHeights(3), 33);
  EXPECT_EQ(b->Cells(2, 2), "merged") << "a covered cell shows its base";
  bool state = false;
  EXPECT_TRUE(b->GetCellCheckState(4, 2, state));
  EXPECT_TRUE(state);
  ASSERT_NE(b->GetRadioStrings(1, 5), nullptr);
  EXPECT_EQ(b->GetRadioStrings(1, 5)->Strings(1), "two, three");
  auto* idx = dynamic_cast<TIntList*>(b->GetCellGraphic(2, 5)->CellContent);
  ASSERT_NE(idx, nullptr);
  EXPECT_EQ(idx->Count(), 3);
  EXPECT_EQ(idx->GetItem(2), 7);
  EXPECT_EQ(idx->Col(), 2);
  EXPECT_EQ(idx->Row(), 5);
  auto* bmp = dynamic_cast<TBitmap*>(b->GetCellGraphic(3, 5)->CellContent);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->Width(), 3);
  EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), clLime);
  EXPECT_EQ(b->Cells(2, 6), "line one\nline two");
  auto* ico = dynamic_cast<TIcon*>(b->GetCellGraphic(4, 5)->CellContent);
  ASSERT_NE(ico, nullptr);
  EXPECT_EQ(ico->Width(), 5);
  auto* pic = dynamic_cast<TPicture*>(b->GetCellGraphic(5, 5)->CellContent);
  ASSERT_NE(pic, nullptr);
  ASSERT_NE(dynamic_cast<TPngImage*>(pic->Graphic()), nullptr);
  EXPECT_EQ(pic->Width(), 7);
  EXPECT_EQ(b->GetCellGraphic(5, 5)->CellAngle, 2);
  auto* fp = dynamic_cast<TFilePicture*>(b->GetCellGraphic(5, 6)->CellContent);
  ASSERT_NE(fp, nullptr) << "a file picture travels as its name, the file unread";
  EXPECT_EQ(fp->Filename(), "/no/such/folder/photo.png");
  EXPECT_EQ(fp->Height(), 30);
}

TEST(GridCellStream, PartPutsItsTopLeftAtTheTarget) {
  auto a = RichGrid();
  auto b = NewGrid(10, 10);
  b->SetCells(5, 5, "under an empty cell");
  b->SetCells(7, 5, "under a coloured cell");
  // Rows 1..2, columns 0..3: the rectangle's own top-left (0, 1) is empty.
  Load(*b, StreamOf(*a, TGridRect{0, 1, 3, 2}), TPoint{5, 5});
  EXPECT_EQ(b->Cells(5, 5), "under an empty cell") << "an empty cell without a record is not written";
  EXPECT_EQ(b->Cells(6, 5), "plain");
  EXPECT_EQ(b->Cells(7, 5), "") << "a record with no text is written";
  EXPECT_EQ(b->GetCellProperties(7, 5)->BrushColor(), clRed);
  EXPECT_EQ(b->Cells(8, 5), "blue");
  EXPECT_TRUE(b->IsMergedCell(7, 6));
  EXPECT_EQ(b->GetBaseCell(7, 6).X, 6);
  EXPECT_EQ(b->ColCount(), 10) << "a part leaves the grid's size alone";

  // A whole grid resizes the target and moves by the paste point.
  auto c = NewGrid(2, 2);
  Load(*c, StreamOf(*a, Whole(*a)), TPoint{1, 1});
  EXPECT_EQ(c->ColCount(), 6);
  EXPECT_EQ(c->RowCount(), 8);
  EXPECT_EQ(c->Cells(2, 2), "plain");
}

TEST(GridCellStream, MergesCutByTheRectangleOrTheGridEdgeStayInside) {
  auto a = NewGrid();
  a->MergeCells(1, 1, 3, 2);  // columns 1..3, rows 1..2
  a->SetCells(1, 1, "area");
  auto b = NewGrid(10, 10);
  b->SetCells(4, 4, "unrelated");
  // From the area's second column on: the covered cells have no base here.
  Load(*b, StreamOf(*a, TGridRect{2, 1, 3, 2}), TPoint{5, 5});
  EXPECT_FALSE(b->IsMergedCell(5, 5));
  EXPECT_EQ(b->GetBaseCell(5, 5).X, 5);
  EXPECT_EQ(b->Cells(4, 4), "unrelated");
  // The whole area pasted at the grid's corner ends at its edge.
  auto c = NewGrid(4, 4);
  Load(*c, StreamOf(*a, TGridRect{1, 1, 3, 2}), TPoint{2, 3});
  EXPECT_EQ(c->Cells(2, 3), "area");
  EXPECT_EQ(c->GetCellSpan(2, 3).X, 1);
  EXPECT_EQ(c->GetCellSpan(2, 3).Y, 0);
}

TEST(GridCellStream, BorrowedPictureTravelsWithoutItsGraphic) {
  auto a = NewGrid();
  TBitmap shared(2, 2);
  TCellGraphic* g = a->CreateCellGraphic(1, 1);
  g->CellType = ctBitmap;
  g->CellContent = &shared;  // not owned
  a->SetCells(1, 1, "pic");
  auto b = NewGrid();
  Load(*b, StreamOf(*a, Whole(*a)), TPoint{0, 0});
  EXPECT_EQ(b->Cells(1, 1), "pic");
  EXPECT_TRUE(b->HasCellProperties(1, 1));
  EXPECT_EQ(b->GetCellType(1, 1), ctEmpty);
  g->CellContent = nullptr;
}

TEST(GridCellStream, RowsBeyondSixteenBitsKeepTheirIndex) {
  auto a = NewGrid(3, 70000);
  a->SetCells(1, 69999, "far");
  a->SetCells(1, 65536, "just past");
  auto b = NewGrid(3, 10);
  Load(*b, StreamOf(*a, Whole(*a)), TPoint{0, 0});
  EXPECT_EQ(b->RowCount(), 70000);
  EXPECT_EQ(b->Cells(1, 69999), "far");
  EXPECT_EQ(b->Cells(1, 65536), "just past");
  EXPECT_EQ(b->Cells(1, 0), "");
}

TEST(GridCellStream, ProgressRunsFromTheRectanglesTopRow) {
  struct TProgressGrid : TPlusStringGrid {
    using TPlusStringGrid::TPlusStringGrid;
    std::vector<std::pair<int, int>> Calls;
    void NotifyProgress(int Stage, int Row) override { Calls.emplace_back(Stage, Row); }
  };
  TProgressGrid g(nullptr);
  g.SetRowCount(20);
  std::vector<int> percents;
  g.OnFileProgress = [&](TObject*, int16_t p) { percents.push_back(p); };
  TMemoryStream m;
  g.SaveCellsToStream(TGridRect{0, 10, 2, 14}, m);
  EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75, 100}));
  EXPECT_EQ(g.Calls, (std::vector<std::pair<int, int>>{{0, -1}, {1, 10}, {1, 11}, {1, 12}, {1, 13}, {1, 14}, {2, -1}}));
}

TEST(GridCellStream, AssignCopiesCellsThroughTheStream) {
  auto a = RichGrid();
  auto b = NewGrid(2, 2);
  b->SetCells(1, 1, "old");
  b->Assign(a.get());
  EXPECT_EQ(Snapshot(*b), Snapshot(*a));
  bool state = false;
  EXPECT_TRUE(b->GetCellCheckState(4, 2, state));
  EXPECT_TRUE(state);
}

TEST(GridCellStream, WritersAreTold) {
  auto a = NewGrid(), b = NewGrid();
  EXPECT_NE(a->StreamID(), b->StreamID());
  EXPECT_EQ(a->StreamID(), a->StreamID());
}

TEST(GridCellStream, OnTheClipboardBesideTheText) {
  auto a = RichGrid();
  Clipboard()->SetAsText("text first");
  a->CopyCellsToClipboard(TGridRect{1, 1, 3, 2});
  EXPECT_EQ(Clipboard()->AsText(), "text first");
  const TClipboardFormat byType = RegisterClipboardFormat("Test Cells Type", "application/x-plusgrid-cells");
  EXPECT_EQ(Clipboard()->GetBuffer(byType), StreamOf(*a, TGridRect{1, 1, 3, 2}));

  const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
  a->CopyRTFToClipboard(1, 1);  // plain text: nothing
  EXPECT_FALSE(Clipboard()->HasFormat(rtf));
  a->SetCells(1, 1, "{\\rtf1 rich}");
  a->CopyRTFToClipboard(1, 1);
  const std::vector<uint8_t> bytes = Clipboard()->GetBuffer(rtf);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "{\\rtf1 rich}");
  EXPECT_EQ(Clipboard()->AsText(), "text first");
}

// ---- damaged streams

struct TDamage {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> apply;
};

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(GridCellStream, TruncatedStreamsAreRefusedAndTheGridStaysAsItWas) {
  auto a = RichGrid();
  const std::vector<uint8_t> whole = StreamOf(*a, Whole(*a));
  const std::vector<uint8_t> part = StreamOf(*a, TGridRect{1, 1, 4, 3});
  auto b = NewGrid(7, 9);
  b->SetCells(2, 2, "mine");
  b->GetCellProperties(3, 3)->SetBrushColor(clYellow);
  const std::string before = Snapshot(*b);
  for (const auto* bytes : {&whole, &part})
    for (size_t n = 0; n < bytes->size(); ++n) {
      std::vector<uint8_t> cut(bytes->begin(), bytes->begin() + static_cast<long>(n));
      EXPECT_THROW(Load(*b, cut, TPoint{1, 1}), EPlusGridError) << n;
      ASSERT_EQ(Snapshot(*b), before) << "cut at " << n;
    }
}

TEST(GridCellStream, CorruptedStreamsAreRefusedWithAClearError) {
  auto a = NewGrid(3, 3);
  a->SetCells(1, 1, "x");
  a->AddCellCheckBox(2, 2, true, false);
  const std::vector<uint8_t> good = StreamOf(*a, Whole(*a));
  // Offsets: magic 0..3, version 4..5, header tag 6, cols 7..10, rows 11..14,
  // widths count 15..18.
  const TDamage damages[] = {
      {"not a cell stream", [](auto& b) { b[0] = 'X'; }},
      {"unknown version", [](auto& b) { b[4] = 9; }},
      {"header record expected", [](auto& b) { b[6] = 2; }},
      {"bad size in header", [](auto& b) { PutU32(b, 7, 0); }},
      {"size list of the wrong length", [](auto& b) { PutU32(b, 11, 4); }},
      {"cut off", [](auto& b) { PutU32(b, 15, 0x7FFFFFFF); }},
      {"cell count does not match", [](auto& b) { b[b.size() - 4] = 5; }},
      {"data after the end record", [](auto& b) { b.push_back(0); }},
      {"bad value in graphic record", [](auto& b) {
         // The graphic kind is the byte after the graphic tag, near the end.
         for (size_t i = b.size() - 5; i > 0; --i)
           if (b[i] == 4 && b[i + 1] == ctCheckBox) {
             b[i + 1] = 200;
             return;
           }
       }},
  };
  for (const TDamage& d : damages) {
    std::vector<uint8_t> bad = good;
    d.apply(bad);
    auto b = NewGrid(4, 4);
    b->SetCells(1, 1, "mine");
    const std::string before = Snapshot(*b);
    try {
      Load(*b, bad, TPoint{0, 0});
      ADD_FAILURE() << d.what << ": accepted";
    } catch (const EPlusGridError& e) {
      EXPECT_NE(std::string(e.what()).find(d.what), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("Invalid cell stream"), std::string::npos);
    }
    EXPECT_EQ(Snapshot(*b), before) << d.what;
  }
}

TEST(GridCellStream, RandomDamageNeverGetsPastTheChecksHalfWay) {
  auto a = RichGrid();
  const std::vector<uint8_t> good = StreamOf(*a, Whole(*a));
  std::mt19937 rng(1234);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bad = good;
    for (int k = 0; k < 3; ++k)
      bad[std::uniform_int_distribution<size_t>(0, bad.size() - 1)(rng)] =
          static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(rng));
    auto c = NewGrid(7, 9);
    c->SetCells(2, 2, "mine");
    const std::string before = Snapshot(*c);
    try {
      Load(*c, bad, TPoint{0, 0});
    } catch (const EPlusGridError&) {
      ASSERT_EQ(Snapshot(*c), before) << "round " << round;
    }
  }
}

}  // namespace
