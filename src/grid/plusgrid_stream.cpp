// The cell stream: a rectangle of cells with their records, graphics and the
// pictures and lists the graphics own, as the grid puts it on the clipboard
// and copies one grid into another.
//
// Layout, little-endian: the magic "PGCS" and a 16-bit version, then records,
// each a tag byte and its fields. Texts are a 32-bit byte count and UTF-8
// bytes. The header record comes first (the rectangle's size, its column
// widths and row heights as decimal lists, the whole-grid flag, the writer's
// identity and the rectangle's left and top); then, row by row, a cell record per
// written cell, followed by its properties record when it has one, that by
// its graphic record when it has one, and that by the graphic's content
// record for the kinds that own one; an end record with the number of cell
// records closes the stream, so a cut stream is always noticed.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>

#include "grid/plusgrid.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/clipboard.h"

namespace {

constexpr char kMagic[4] = {'P', 'G', 'C', 'S'};
constexpr uint16_t kVersion = 1;
enum TRecordTag : uint8_t {
  rtHeader = 1, rtCell = 2, rtProps = 3, rtGraphic = 4, rtBitmap = 5, rtIcon = 6, rtPicture = 7, rtFilePicture = 8,
  rtStrings = 9, rtEnd = 0x7F
};
// Sizes beyond these are no sizes a grid has.
constexpr int kMaxLineSize = 100000;
constexpr int kMaxFixedStart = 65535;

[[noreturn]] void Malformed(const std::string& What) { throw EPlusGridError("Invalid cell stream: " + What); }

uint64_t ProcessToken() {
  static const uint64_t token = [] {
    std::random_device rd;
    return (static_cast<uint64_t>(rd()) << 32 | rd()) & ~uint64_t(0xFFFFFF);
  }();
  return token;
}

// ---- writing

void PutText(TStream& S, const std::string& Text) {
  S.WriteCardinal(static_cast<uint32_t>(Text.size()));
  S.WriteString(Text);
}

void PutBlob(TStream& S, TMemoryStream& Blob) {
  S.WriteCardinal(static_cast<uint32_t>(Blob.Size()));
  S.WriteBuffer(Blob.Memory(), Blob.Size());
}

std::string JoinSizes(int From, int To, const std::function<int(int)>& Size) {
  std::string out;
  for (int i = From; i <= To; ++i) {
    if (i > From) out += ',';
    out += std::to_string(Size(i));
  }
  return out;
}

bool OwnsContent(TCellType t) {
  return t == ctBitmap || t == ctIcon || t == ctRadio || t == ctImages || t == ctPicture || t == ctFilePicture ||
         t == ctBitButton;
}

// ---- reading: every field is checked against what is left of the stream

class TCellReader {
public:
  explicit TCellReader(TStream& S) : FS(S), FEnd(S.Size()) {}
  int64_t Left() { return FEnd - FS.Position(); }
  void Need(int64_t n, const char* What) {
    if (n < 0 || Left() < n) Malformed(std::string("cut off in ") + What);
  }
  uint8_t Byte(const char* What) {
    Need(1, What);
    return FS.ReadByte();
  }
  bool Bool(const char* What) {
    uint8_t b = Byte(What);
    if (b > 1) Malformed(std::string("bad flag in ") + What);
    return b == 1;
  }
  int32_t Int(const char* What) {
    Need(4, What);
    return FS.ReadInteger();
  }
  uint32_t Card(const char* What) {
    Need(4, What);
    return FS.ReadCardinal();
  }
  uint64_t U64(const char* What) {
    Need(8, What);
    return static_cast<uint64_t>(FS.ReadInt64());
  }
  double Double(const char* What) {
    Need(8, What);
    double v = FS.ReadDouble();
    if (!std::isfinite(v)) Malformed(std::string("bad number in ") + What);
    return v;
  }
  int Enum(int Last, const char* What) {
    uint8_t v = Byte(What);
    if (v > Last) Malformed(std::string("bad value in ") + What);
    return v;
  }
  std::string Text(const char* What) {
    uint32_t n = Card(What);
    Need(n, What);
    return FS.ReadString(n);
  }
  void Blob(TMemoryStream& Out, const char* What) {
    uint32_t n = Card(What);
    Need(n, What);
    Out.Clear();
    Out.CopyFrom(FS, n);
    Out.SetPosition(0);
  }

private:
  TStream& FS;
  int64_t FEnd;
};

std::vector<int> SplitSizes(const std::string& Text, int Count, const char* What) {
  std::vector<int> out;
  const char* p = Text.data();
  const char* end = p + Text.size();
  while (p <= end && !Text.empty()) {
    int v = 0;
    auto [q, ec] = std::from_chars(p, end, v);
    if (ec != std::errc() || v < -1 || v > kMaxLineSize) Malformed(std::string("bad size in ") + What);
    out.push_back(v);
    if (static_cast<int>(out.size()) > Count) break;
    if (q == end) break;
    if (*q != ',') Malformed(std::string("bad size in ") + What);
    p = q + 1;
  }
  if (static_cast<int>(out.size()) != Count) Malformed(std::string("size list of the wrong length in ") + What);
  return out;
}

// The fields of a properties record, kept until the stream has been checked.
struct TStreamProps {
  TBrushStyle BrushStyle = bsSolid;
  TColor BrushColor = clNone, BrushColorTo = clNone, FontColor = clNone, BorderColor = 0;
  int FontSize = 0, CellSpanX = -1, CellSpanY = -1, BorderWidth = 0, NodeLevel = 0;
  TFontStyles FontStyle;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  bool WordWrap = true, IsBaseCell = true, ReadOnly = false;
  uint8_t FooterCalc = 0;
  TEditorType Editor = edNormal;
  std::string FontName;
  TCellGradientDirection GradientDirection = GradientVertical;
};

struct TStreamCell {
  int Col = 0, Row = 0;
  std::string Text;
  bool HasProps = false;
  TStreamProps Props;
  std::unique_ptr<TCellGraphic> Graphic;
  // The index list of a ctImages graphic, bound to its cell when placed.
  std::vector<int> Images;
};

void WriteProps(TStream& S, TCellProperties* P) {
  S.WriteByte(static_cast<uint8_t>(P->BrushStyle()));
  S.WriteInteger(static_cast<int32_t>(P->BrushColor()));
  S.WriteInteger(static_cast<int32_t>(P->BrushColorTo()));
  S.WriteInteger(P->FontSize());
  S.WriteInteger(static_cast<int32_t>(P->FontColor()));
  S.WriteByte(static_cast<uint8_t>(P->FontStyle().Bits()));
  S.WriteInteger(P->CellSpanY());
  S.WriteInteger(P->CellSpanX());
  S.WriteInteger(P->BorderWidth());
  S.WriteInteger(static_cast<int32_t>(P->BorderColor()));
  S.WriteByte(static_cast<uint8_t>(P->Alignment()));
  S.WriteByte(static_cast<uint8_t>(P->VAlignment()));
  S.WriteBoolean(P->WordWrap());
  S.WriteBoolean(P->IsBaseCell());
  S.WriteByte(P->FooterCalc());
  S.WriteInteger(P->NodeLevel());
  S.WriteByte(static_cast<uint8_t>(P->Editor()));
  PutText(S, P->FontName());
  S.WriteBoolean(P->ReadOnly());
  S.WriteByte(static_cast<uint8_t>(P->GradientDirection()));
}

TStreamProps ReadProps(TCellReader& R) {
  TStreamProps p;
  const char* w = "properties record";
  p.BrushStyle = static_cast<TBrushStyle>(R.Enum(bsDiagCross, w));
  p.BrushColor = static_cast<TColor>(R.Int(w));
  p.BrushColorTo = static_cast<TColor>(R.Int(w));
  p.FontSize = R.Int(w);
  p.FontColor = static_cast<TColor>(R.Int(w));
  p.FontStyle = TFontStyles::FromBits(R.Enum(0x0F, w));
  p.CellSpanY = R.Int(w);
  p.CellSpanX = R.Int(w);
  p.BorderWidth = R.Int(w);
  p.BorderColor = static_cast<TColor>(R.Int(w));
  p.Alignment = static_cast<TAlignment>(R.Enum(taCenter, w));
  p.VAlignment = static_cast<TVAlignment>(R.Enum(vtaBottom, w));
  p.WordWrap = R.Bool(w);
  p.IsBaseCell = R.Bool(w);
  p.FooterCalc = R.Byte(w);
  p.NodeLevel = R.Int(w);
  p.Editor = static_cast<TEditorType>(R.Enum(edUniMemo, w));
  p.FontName = R.Text(w);
  p.ReadOnly = R.Bool(w);
  p.GradientDirection = static_cast<TCellGradientDirection>(R.Enum(GradientHorizontal, w));
  return p;
}

void ApplyProps(TCellProperties* P, const TStreamProps& p) {
  P->SetBrushStyle(p.BrushStyle);
  P->SetBrushColor(p.BrushColor);
  P->SetBrushColorTo(p.BrushColorTo);
  P->SetFontSize(p.FontSize);
  P->SetFontColor(p.FontColor);
  P->SetFontStyle(p.FontStyle);
  P->SetCellSpanY(p.CellSpanY);
  P->SetCellSpanX(p.CellSpanX);
  P->SetBorderWidth(p.BorderWidth);
  P->SetBorderColor(p.BorderColor);
  P->SetAlignment(p.Alignment);
  P->SetVAlignment(p.VAlignment);
  P->SetWordWrap(p.WordWrap);
  P->SetIsBaseCell(p.IsBaseCell);
  P->SetFooterCalc(p.FooterCalc);
  P->SetNodeLevel(p.NodeLevel);
  P->SetEditor(p.Editor);
  P->SetFontName(p.FontName);
  P->SetReadOnly(p.ReadOnly);
  P->SetGradientDirection(p.GradientDirection);
}

void WriteGraphic(TStream& S, const TCellGraphic* G) {
  S.WriteByte(static_cast<uint8_t>(G->CellType));
  S.WriteByte(static_cast<uint8_t>(G->CellVAlign));
  S.WriteByte(static_cast<uint8_t>(G->CellHAlign));
  S.WriteInteger(G->CellIndex);
  S.WriteBoolean(G->CellTransparent);
  S.WriteBoolean(G->CellCreated);
  S.WriteBoolean(G->CellBoolean);
  S.WriteInteger(G->CellAngle);
  S.WriteDouble(G->CellValue);
  S.WriteInteger(G->CellErrFrom);
  S.WriteInteger(G->CellErrLen);
  PutText(S, G->CellText);
}

std::unique_ptr<TCellGraphic> ReadGraphic(TCellReader& R) {
  const char* w = "graphic record";
  auto g = std::make_unique<TCellGraphic>();
  int type = R.Enum(ctXPProgress, w);
  if (type == ctEmpty) Malformed("empty graphic");
  g->CellType = static_cast<TCellType>(type);
  g->CellVAlign = static_cast<TCellVAlign>(R.Enum(vaFull, w));
  g->CellHAlign = static_cast<TCellHAlign>(R.Enum(haFull, w));
  g->CellIndex = R.Int(w);
  g->CellTransparent = R.Bool(w);
  // Set once the content is in place: a graphic only frees what it holds.
  const bool created = R.Bool(w);
  g->CellBoolean = R.Bool(w);
  g->CellAngle = R.Int(w);
  g->CellValue = R.Double(w);
  g->CellErrFrom = R.Int(w);
  g->CellErrLen = R.Int(w);
  g->CellText = R.Text(w);
  g->CellCreated = created && !OwnsContent(g->CellType);
  if (OwnsContent(g->CellType) && !created) Malformed("graphic without its content");
  return g;
}

// A raster picture from its bytes; a damaged one refuses the stream.
template <class G>
std::unique_ptr<G> DecodeRaster(TMemoryStream& Bytes, const char* What) {
  auto out = std::make_unique<G>();
  try {
    out->LoadFromStream(Bytes);
  } catch (const std::exception&) {
    Malformed(std::string("damaged ") + What);
  }
  return out;
}

// Reads the content record a graphic of kind t owns into it.
void ReadContent(TCellReader& R, TStreamCell& Cell) {
  TCellGraphic* g = Cell.Graphic.get();
  const uint8_t tag = R.Byte("content record");
  TMemoryStream blob;
  switch (g->CellType) {
    case ctBitmap:
    case ctBitButton: {
      if (tag != rtBitmap) Malformed("bitmap record expected");
      R.Blob(blob, "bitmap record");
      auto png = DecodeRaster<TPngImage>(blob, "bitmap");
      auto bmp = std::make_unique<TBitmap>();
      bmp->Assign(png.get());
      g->CellContent = bmp.release();
      break;
    }
    case ctIcon: {
      if (tag != rtIcon) Malformed("icon record expected");
      R.Blob(blob, "icon record");
      g->CellContent = DecodeRaster<TIcon>(blob, "icon").release();
      break;
    }
    case ctPicture: {
      if (tag != rtPicture) Malformed("picture record expected");
      R.Blob(blob, "picture record");
      auto pic = std::make_unique<TPicture>();
      if (blob.Size() > 0) {
        try {
          pic->ReadData(blob);
        } catch (const std::exception&) {
          Malformed("damaged picture");
        }
      }
      g->CellContent = pic.release();
      break;
    }
    case ctFilePicture: {
      if (tag != rtFilePicture) Malformed("file picture record expected");
      const std::string name = R.Text("file picture record");
      const int w = R.Int("file picture record"), h = R.Int("file picture record");
      auto fp = std::make_unique<TFilePicture>();
      fp->SetReference(name, w, h);
      g->CellContent = fp.release();
      break;
    }
    case ctRadio:
    case ctImages: {
      if (tag != rtStrings) Malformed("list record expected");
      const uint32_t n = R.Card("list record");
      R.Need(static_cast<int64_t>(n) * 4, "list record");
      auto list = std::make_unique<TStringList>();
      for (uint32_t i = 0; i < n; ++i) list->Add(R.Text("list record"));
      if (g->CellType == ctRadio) {
        g->CellContent = list.release();
        break;
      }
      // One line of comma-separated indexes.
      if (list->Count() > 1) Malformed("image list of several lines");
      const std::string line = list->Count() == 1 ? list->Strings(0) : std::string();
      const char* p = line.data();
      const char* end = p + line.size();
      while (p < end) {
        int v = 0;
        auto [q, ec] = std::from_chars(p, end, v);
        if (ec != std::errc()) Malformed("bad image index");
        Cell.Images.push_back(v);
        if (q != end && *q != ',') Malformed("bad image index");
        p = q == end ? q : q + 1;
      }
      break;
    }
    default: break;
  }
  g->CellCreated = true;
}

}  // namespace

TClipboardFormat PlusGridCellsFormat() {
  static const TClipboardFormat f = RegisterClipboardFormat("TPlusStringGrid Cells", "application/x-plusgrid-cells");
  return f;
}

uint64_t TPlusStringGrid::StreamID() const {
  static uint64_t serial = 0;
  if (FStreamID == 0) FStreamID = ProcessToken() | (++serial & 0xFFFFFF);
  return FStreamID;
}

// ---------------------------------------------------------------------------
// Writing

void TPlusStringGrid::SaveCellsToStream(const TGridRect& R, TStream& Stream) { WriteCellStream(R, Stream, true); }

void TPlusStringGrid::WriteCellStream(const TGridRect& Rect, TStream& S, bool Report) {
  TGridRect R = Rect;
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  R.Left = std::max(R.Left, 0);
  R.Top = std::max(R.Top, 0);
  R.Right = std::min(R.Right, ColCount() - 1);
  R.Bottom = std::min(R.Bottom, RowCount() - 1);
  if (R.Left > R.Right || R.Top > R.Bottom) throw EPlusGridError("Cell range outside the grid");

  S.WriteBuffer(kMagic, 4);
  S.WriteWord(kVersion);
  S.WriteByte(rtHeader);
  S.WriteInteger(R.Right - R.Left + 1);
  S.WriteInteger(R.Bottom - R.Top + 1);
  PutText(S, JoinSizes(R.Left, R.Right, [this](int c) { return ColWidths(c); }));
  PutText(S, JoinSizes(R.Top, R.Bottom, [this](int r) { return RowHeights(r); }));
  const bool full = R.Left == GetFirstCol() && R.Top == GetFirstRow() && R.Right == GetLastCol() &&
                    R.Bottom == GetLastRow();
  S.WriteBoolean(full);
  S.WriteInt64(static_cast<int64_t>(StreamID()));
  S.WriteInteger(R.Left);
  S.WriteInteger(R.Top);

  if (Report) NotifyProgress(0, -1);
  int lastPercent = -1;
  uint32_t cells = 0;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    if (Report) NotifyProgress(1, r);
    for (int c = R.Left; c <= R.Right; ++c) {
      const std::string text = GetCellText(c, r);
      const bool hasProp = HasCellProperties(c, r);
      if (text.empty() && !hasProp) continue;
      ++cells;
      S.WriteByte(rtCell);
      S.WriteInteger(c);
      S.WriteInteger(r);
      PutText(S, text);
      S.WriteBoolean(hasProp);
      if (!hasProp) continue;
      TCellProperties* p = GetCellProperties(c, r);
      TCellGraphic* g = p->CellGraphic();
      // A content it does not own means nothing in another grid.
      const bool hasGraphic = g && !(OwnsContent(g->CellType) && (!g->CellCreated || !g->CellContent));
      S.WriteByte(rtProps);
      WriteProps(S, p);
      S.WriteBoolean(hasGraphic);
      if (!hasGraphic) continue;
      S.WriteByte(rtGraphic);
      WriteGraphic(S, g);
      TMemoryStream blob;
      switch (g->CellType) {
        case ctBitmap:
        case ctBitButton: {
          TPngImage png;
          if (auto* b = dynamic_cast<TGraphic*>(g->CellContent); b && !b->Empty()) png.Assign(b);
          if (!png.Empty()) png.SaveToStream(blob);
          S.WriteByte(rtBitmap);
          PutBlob(S, blob);
          break;
        }
        case ctIcon: {
          if (auto* i = dynamic_cast<TGraphic*>(g->CellContent); i && !i->Empty()) i->SaveToStream(blob);
          S.WriteByte(rtIcon);
          PutBlob(S, blob);
          break;
        }
        case ctPicture: {
          if (auto* pic = dynamic_cast<TPicture*>(g->CellContent); pic && pic->HasData()) pic->WriteData(blob);
          S.WriteByte(rtPicture);
          PutBlob(S, blob);
          break;
        }
        case ctFilePicture: {
          auto* fp = dynamic_cast<TFilePicture*>(g->CellContent);
          S.WriteByte(rtFilePicture);
          PutText(S, fp ? fp->Filename() : std::string());
          S.WriteInteger(fp ? fp->Width() : 0);
          S.WriteInteger(fp ? fp->Height() : 0);
          break;
        }
        case ctRadio: {
          auto* list = dynamic_cast<TStrings*>(g->CellContent);
          S.WriteByte(rtStrings);
          S.WriteCardinal(list ? static_cast<uint32_t>(list->Count()) : 0);
          for (int i = 0; list && i < list->Count(); ++i) PutText(S, list->Strings(i));
          break;
        }
        case ctImages: {
          auto* list = dynamic_cast<TIntList*>(g->CellContent);
          std::string line;
          for (int i = 0; list && i < list->Count(); ++i) {
            if (i > 0) line += ',';
            line += std::to_string(list->GetItem(i));
          }
          S.WriteByte(rtStrings);
          S.WriteCardinal(1);
          PutText(S, line);
          break;
        }
        default: break;
      }
    }
    if (Report && OnFileProgress) {
      const int percent =
          static_cast<int>(std::lround(100.0 * (r - R.Top) / std::max(1, R.Bottom - R.Top)));
      if (percent != lastPercent) {
        lastPercent = percent;
        OnFileProgress(this, static_cast<int16_t>(percent));
      }
    }
  }
  S.WriteByte(rtEnd);
  S.WriteCardinal(cells);
  if (Report) NotifyProgress(2, -1);
}

// ---------------------------------------------------------------------------
// Reading

void TPlusStringGrid::LoadCellsFromStream(TPoint Target, TStream& Stream) { ReadCellStream(Stream, Target, false); }

void TPlusStringGrid::ReadCellStream(TStream& Stream, TPoint Target, bool Absolute) {
  TCellReader R(Stream);
  // The whole stream is read and checked first; the grid changes only after.
  R.Need(6, "header");
  char magic[4];
  Stream.ReadBuffer(magic, 4);
  if (!std::equal(magic, magic + 4, kMagic)) Malformed("not a cell stream");
  const uint16_t version = Stream.ReadWord();
  if (version != kVersion) Malformed("unknown version " + std::to_string(version));
  if (R.Byte("header") != rtHeader) Malformed("header record expected");
  const int cols = R.Int("header"), rows = R.Int("header");
  if (cols < 1 || rows < 1) Malformed("bad size in header");
  // Each listed size takes at least one byte, so the lists bound the counts.
  const std::vector<int> widths = SplitSizes(R.Text("header"), cols, "column widths");
  const std::vector<int> heights = SplitSizes(R.Text("header"), rows, "row heights");
  const bool full = R.Bool("header");
  const uint64_t writer = R.U64("header");
  const int left = R.Int("header"), top = R.Int("header");
  // A whole grid's first written cell is at most past its fixed cells.
  const int maxStart = full ? kMaxFixedStart : INT32_MAX;
  if (left < 0 || top < 0 || left > maxStart || top > maxStart || left > INT32_MAX - cols || top > INT32_MAX - rows)
    Malformed("bad origin in header");

  std::vector<TStreamCell> cells;
  for (;;) {
    const uint8_t tag = R.Byte("record");
    if (tag == rtEnd) {
      if (R.Card("end record") != cells.size()) Malformed("cell count does not match");
      if (R.Left() != 0) Malformed("data after the end record");
      break;
    }
    if (tag != rtCell) Malformed("cell record expected");
    TStreamCell cell;
    cell.Col = R.Int("cell record");
    cell.Row = R.Int("cell record");
    cell.Text = R.Text("cell record");
    cell.HasProps = R.Bool("cell record");
    if (cell.HasProps) {
      if (R.Byte("properties record") != rtProps) Malformed("properties record expected");
      cell.Props = ReadProps(R);
      if (R.Bool("properties record")) {
        if (R.Byte("graphic record") != rtGraphic) Malformed("graphic record expected");
        cell.Graphic = ReadGraphic(R);
        if (OwnsContent(cell.Graphic->CellType)) ReadContent(R, cell);
      }
    }
    cells.push_back(std::move(cell));
  }
  // Cells lie inside the rectangle the header gives. A merge keeps to the
  // rectangle: a copy that cut through a merged area brings the part inside.
  for (TStreamCell& c : cells) {
    const int64_t dc = static_cast<int64_t>(c.Col) - left, dr = static_cast<int64_t>(c.Row) - top;
    if (dc < 0 || dr < 0 || dc >= cols || dr >= rows) Malformed("cell outside the stream's range");
    if (!c.HasProps) continue;
    TStreamProps& p = c.Props;
    if (p.CellSpanX < -1 || p.CellSpanY < -1) Malformed("bad merge");
    if (p.CellSpanX == -1 || p.CellSpanY == -1) continue;
    if (p.IsBaseCell) {
      p.CellSpanX = static_cast<int>(std::min<int64_t>(p.CellSpanX, cols - 1 - dc));
      p.CellSpanY = static_cast<int>(std::min<int64_t>(p.CellSpanY, rows - 1 - dr));
    } else if (p.CellSpanX > dc || p.CellSpanY > dr) {
      p.IsBaseCell = true;
      p.CellSpanX = p.CellSpanY = -1;
    }
  }

  FStreamCols = cols;
  FStreamRows = rows;
  FStreamWriter = writer;

  // Now the grid.
  LockRedraw();
  try {
    if (full && !Absolute) {
      // The grid takes the stream's size; cells written past fixed cells
      // that were left out keep their places.
      ClearAll();
      SetRowCount(top + rows);
      SetColCount(left + cols);
      for (int c = 0; c < cols; ++c) SetColWidths(left + c, widths[static_cast<size_t>(c)]);
      for (int r = 0; r < rows; ++r) SetRowHeights(top + r, heights[static_cast<size_t>(r)]);
    }
    // A whole grid keeps its coordinates moved by the target; a part puts
    // the top-left cell of its rectangle at the target.
    const bool keep = full || Absolute;
    const int64_t offCol = Absolute ? 0 : keep ? Target.X : static_cast<int64_t>(Target.X) - left;
    const int64_t offRow = Absolute ? 0 : keep ? Target.Y : static_cast<int64_t>(Target.Y) - top;
    for (TStreamCell& c : cells) {
      const int64_t tc = c.Col + offCol;
      const int64_t tr = c.Row + offRow;
      // Cells beyond the grid have no place to go.
      if (tc < 0 || tr < 0 || tc >= ColCount() || tr >= RowCount()) continue;
      const int col = static_cast<int>(tc), row = static_cast<int>(tr);
      if (c.HasProps) {
        // Merged areas end at the grid's edge.
        TStreamProps& sp = c.Props;
        if (sp.CellSpanX >= 0 && sp.CellSpanY >= 0) {
          if (sp.IsBaseCell) {
            sp.CellSpanX = std::min(sp.CellSpanX, ColCount() - 1 - col);
            sp.CellSpanY = std::min(sp.CellSpanY, RowCount() - 1 - row);
          } else if (col - sp.CellSpanX < 0 || row - sp.CellSpanY < 0) {
            sp.IsBaseCell = true;
            sp.CellSpanX = sp.CellSpanY = -1;
          }
        }
        TCellProperties* p = GetCellProperties(col, row);
        ApplyProps(p, c.Props);
        if (c.Graphic) {
          if (c.Graphic->CellType == ctImages) {
            auto* list = new TIntList(col, row);
            for (int v : c.Images) list->AddValue(v);
            c.Graphic->CellContent = list;
          }
          p->SetCellGraphic(c.Graphic.release());
        }
      }
      SetCellText(col, row, c.Text);
    }
  } catch (...) {
    UnlockRedraw();
    throw;
  }
  UnlockRedraw();
}

void TPlusStringGrid::CopyCellsToClipboard(const TGridRect& R) {
  TMemoryStream m;
  SaveCellsToStream(R, m);
  Clipboard()->SetBuffer(PlusGridCellsFormat(), std::vector<uint8_t>(m.Memory(), m.Memory() + m.Size()));
}

void TPlusStringGrid::CopyRTFToClipboard(int ACol, int ARow) {
  const std::string text = GetCellText(ACol, ARow);
  if (text.find("{\\") == std::string::npos) return;
  Clipboard()->SetBuffer(RegisterClipboardFormat("Rich Text Format"), std::vector<uint8_t>(text.begin(), text.end()));
}
