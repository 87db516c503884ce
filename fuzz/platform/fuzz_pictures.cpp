// Mutation driver of the picture readers: damaged BMP (1, 4, 8, 24 and 32
// bits), PNG, JPEG, GIF and icon files, the seeds written by the pictures
// themselves (GIF, which they cannot write, from a minimal file).
//
// Target "picture": TBitmap::LoadFromStream and TPicture::LoadFromFile.
// Target "metafile": TMetafile::LoadFromStream (enhanced metafiles, through
// their SVG conversion), seeded with metafiles this program writes.
// Rules: only the layer's exceptions come out; a failed load leaves the
// picture as it was; a picture that loaded draws, converts and saves, and
// what it saved loads again at the same size.
#include <string>
#include <vector>

#include "fuzzdriver.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

std::string Saved(const TGraphic& g) {
  TStringStream s;
  g.SaveToStream(s);
  return s.DataString();
}

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds;
  TBitmap source(5, 3, pf24bit);
  source.Canvas()->SetPixels(1, 1, clRed);
  source.Canvas()->SetPixels(4, 2, clBlue);
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    TBitmap b;
    b.Assign(&source);
    b.SetPixelFormat(f);
    seeds.push_back(Saved(b));
  }
  TPngImage png;
  png.Assign(&source);
  seeds.push_back(Saved(png));
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  seeds.push_back(Saved(jpeg));
  TIcon icon;
  icon.Assign(&source);
  seeds.push_back(Saved(icon));
  // A 1 x 1 GIF.
  static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                      0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04,
                                      0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01,
                                      0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  seeds.emplace_back(reinterpret_cast<const char*>(gif), sizeof gif);
  return seeds;
}

std::string gWork;

void Check(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TBitmap b(3, 2);
    TStringStream in(bytes);
    try {
      b.LoadFromStream(in);
    } catch (const Exception&) {
      if (b.Width() != 3 || b.Height() != 2) fuzzdriver::Fault("a failed load changed the bitmap");
      throw;
    }
    // Large pictures are legal; drawing and converting them only costs time.
    if (b.Empty() || static_cast<long long>(b.Width()) * b.Height() > (1 << 20)) return;
    TBitmap target(8, 8);
    target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &b);
    b.SetTransparent(true);
    target.Canvas()->Draw(0, 0, &b);
    b.ScanLine(b.Height() - 1);
    const std::string again = Saved(b);
    TBitmap back;
    TStringStream s(again);
    try {
      back.LoadFromStream(s);
    } catch (const Exception& e) {
      fuzzdriver::Fault("a picture that loaded saved a file that does not load: " + e.Message());
    }
    if (back.Width() != b.Width() || back.Height() != b.Height())
      fuzzdriver::Fault("a picture that loaded saved a file of another size");
    b.SetPixelFormat(pf4bit);
    b.ScanLine(0);
    b.ScanLinesChanged();
  });
  fuzzdriver::ExpectLayerErrors([&] {
    TPicture p;
    TBitmap kept(4, 1);
    p.SetGraphic(&kept);
    // The extension picks the class; the contents pick the reader.
    const std::string file = gWork + (bytes.size() % 2 ? ".png" : ".gif");
    WriteFileAtomic(file, bytes);
    try {
      p.LoadFromFile(file);
    } catch (const Exception&) {
      if (p.Width() != 4 || p.Height() != 1) fuzzdriver::Fault("a failed load changed the picture");
      throw;
    }
  });
}

std::vector<std::string> MetafileSeeds() {
  std::vector<std::string> seeds;
  for (int kind = 0; kind < 3; ++kind) {
    TMetafile mf;
    mf.SetWidth(60 + 40 * kind);
    mf.SetHeight(40);
    {
      TMetafileCanvas c(&mf);
      c.Brush()->SetColor(kind == 1 ? clRed : clWhite);
      c.Rectangle(2, 2, 50, 30);
      if (kind >= 1) c.Ellipse(10, 10, 40, 35);
      if (kind == 2) {
        c.Font()->SetName("Arial");
        c.TextOut(5, 5, "Text");
        TBitmap b(4, 4);
        b.Canvas()->SetPixels(1, 1, clBlue);
        c.StretchDraw(Rect(20, 20, 36, 36), &b);
        const TPoint points[] = {{1, 1}, {30, 5}, {12, 33}};
        c.Polygon(points, 3);
      }
    }
    seeds.push_back(Saved(mf));
  }
  return seeds;
}

void CheckMetafile(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TMetafile mf;
    mf.SetWidth(3);
    TStringStream in(bytes);
    try {
      mf.LoadFromStream(in);
    } catch (const Exception&) {
      if (mf.Width() != 3) fuzzdriver::Fault("a failed load changed the metafile");
      throw;
    }
    TBitmap target(16, 16);
    target.Canvas()->StretchDraw(Rect(0, 0, 16, 16), &mf);
    if (Saved(mf) != bytes.substr(0, Saved(mf).size())) fuzzdriver::Fault("a metafile read saves other bytes");
  });
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  gWork = WorkFolder() + "picture";
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"picture", Seeds(), Check,
                     {"BM", std::string("\x89PNG\r\n\x1A\n", 8), "IHDR", "IDAT", "IEND", "PLTE", "tRNS", "GIF89a",
                      std::string("\xFF\xD8\xFF", 3), std::string("\x00\x00\x01\x00", 4),
                      std::string("\x00\x00\x02\x00", 4), "<svg width='99999' height='99999'>", "P1\n",
                      "/* XPM */", std::string("\xFF\xFF\x00\x40", 4)}});
  targets.push_back({"metafile", MetafileSeeds(), CheckMetafile,
                     {std::string("\x01\x00\x00\x00", 4), std::string("\x0E\x00\x00\x00", 4), " EMF",
                      std::string("\x00\x00\x00\x00", 4), std::string("\xFF\xFF\xFF\x7F", 4),
                      std::string("\x08\x00\x00\x00", 4)}});
  return fuzzdriver::Main(argc, argv, "fuzz-pictures", targets);
}
