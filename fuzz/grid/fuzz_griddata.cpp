// Mutation driver of the string grid's data readers: the cell stream, pasted
// text and the rich-text reader.
//
// Targets:
//   stream  LoadCellsFromStream into a grid holding cells of its own
//   paste   PasteText into a small editable grid with growing allowed
//   rtf     RTFToPlainText
// Rules: only the layer's exceptions come out; a refused stream leaves the
// grid exactly as it was; a stream that was read writes one that reads back
// into an equal grid.
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "grid/plusgrid.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/rtftext.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

std::unique_ptr<TPlusStringGrid> SmallGrid() {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(6);
  g->SetRowCount(6);
  TGridOptions o = g->Options();
  o.Include(goEditing);
  g->SetOptions(o);
  g->SetCells(1, 1, "mine");
  g->GetCellProperties(2, 2)->SetBrushColor(clRed);
  return g;
}

std::string Snapshot(TPlusStringGrid& g) {
  std::string out = std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount()) + "\n";
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) {
      out += g.GetCellText(c, r) + "\t";
      if (g.HasCellProperties(c, r)) {
        TCellProperties* p = g.GetCellProperties(c, r);
        out += std::to_string(p->BrushColor()) + "/" + std::to_string(p->CellSpanX()) + "/" +
               std::to_string(p->CellSpanY()) + "/" + std::to_string(g.GetCellType(c, r));
      }
      out += "\n";
    }
  return out;
}

std::string StreamBytes(TPlusStringGrid& g) {
  TMemoryStream m;
  g.SaveCellsToStream(TGridRect{0, 0, g.ColCount() - 1, g.RowCount() - 1}, m);
  return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

void RunStream(const std::string& bytes) {
  auto g = SmallGrid();
  const std::string before = Snapshot(*g);
  TMemoryStream m;
  m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  m.SetPosition(0);
  bool loaded = false;
  fuzzdriver::ExpectLayerErrors([&] {
    try {
      g->LoadCellsFromStream(TPoint{1, 1}, m);
      loaded = true;
    } catch (const EPlusGridError&) {
      if (Snapshot(*g) != before) fuzzdriver::Fault("a refused stream changed the grid");
    }
  });
  if (!loaded || g->RowCount() > 5000 || g->ColCount() > 200) return;
  fuzzdriver::ExpectLayerErrors([&] {
    const std::string again = StreamBytes(*g);
    auto h = SmallGrid();
    TMemoryStream m2;
    m2.WriteBuffer(again.data(), static_cast<int64_t>(again.size()));
    m2.SetPosition(0);
    h->LoadCellsFromStream(TPoint{0, 0}, m2);
    if (Snapshot(*h) != Snapshot(*g)) fuzzdriver::Fault("a stream read back differs");
  });
}

void RunPaste(const std::string& text) {
  auto g = SmallGrid();
  g->Navigation()->SetAllowSmartClipboard(true);
  fuzzdriver::ExpectLayerErrors([&] {
    g->PasteText(1, 1, text);
    g->GetTextDimensions(text);
  });
}

void RunRtf(const std::string& text) {
  fuzzdriver::ExpectLayerErrors([&] { RTFToPlainText(text); });
}

std::vector<std::string> StreamSeeds() {
  auto g = SmallGrid();
  g->MergeCells(3, 3, 2, 2);
  g->SetCells(3, 3, "merged");
  g->AddCellCheckBox(1, 4, true, false);
  TCellGraphic* radio = g->CreateCellGraphic(2, 4);
  radio->CellType = ctRadio;
  radio->CellCreated = true;
  auto* options = new TStringList();
  options->Add("a");
  options->Add("b");
  radio->CellContent = options;
  TCellGraphic* pic = g->CreateCellGraphic(4, 1);
  pic->CellType = ctBitmap;
  pic->CellCreated = true;
  pic->CellContent = new TBitmap(2, 2);
  TCellGraphic* images = g->CreateCellGraphic(5, 5);
  images->CellType = ctImages;
  images->CellCreated = true;
  auto* idx = new TIntList(5, 5);
  idx->AddValue(1);
  idx->AddValue(3);
  images->CellContent = idx;
  TMemoryStream part;
  g->SaveCellsToStream(TGridRect{2, 2, 4, 4}, part);
  return {StreamBytes(*g), std::string(reinterpret_cast<const char*>(part.Memory()), static_cast<size_t>(part.Size()))};
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"stream", StreamSeeds(), RunStream,
                     {"PGCS", std::string("\x01\x00", 2), std::string("\x02", 1), std::string("\x03", 1),
                      std::string("\x04", 1), std::string("\x7F", 1), std::string("\xFF\xFF\xFF\x7F", 4),
                      std::string("\x00\x00\x00\x00", 4), ",", "64,"}});
  targets.push_back({"paste", {"a\tb\r\nc\td\r\n", "\"x\ny\"\t\"\"\"\"\r\n", "1\r\n3\r\n", "|\\0041\t5"}, RunPaste,
                     {"\t", "\r\n", "\n", "\r", "\"", "\"\"", "|\\", std::string("\v", 1), "1.5", "01/02/2026"}});
  targets.push_back({"rtf", {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 a\\par b\\tab c\\'e9\\u8364?}"}, RunRtf,
                     {"{", "}", "\\", "\\par ", "\\u", "\\uc", "\\'", "{\\*", "\\pict", "-", "99999999999"}});
  return fuzzdriver::Main(argc, argv, "fuzz-griddata", targets);
}
