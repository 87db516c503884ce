// Pictures as published properties: the binary "Data" of a picture (class
// name, then the graphic's bytes), its text form, empty pictures, and
// damaged picture data.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"
#include "platform/ui/streaming.h"
#include "support/picturebytes.h"

namespace {

class TPictureHolder : public TComponent {
  ZV_CLASS(TPictureHolder)
public:
  explicit TPictureHolder(TComponent* owner) : TComponent(owner), Picture(std::make_unique<TPicture>()) {}
  std::unique_ptr<TPicture> Picture;
};
ZV_CLASS_IMPL(TPictureHolder, TComponent)
void TPictureHolder::DeclareProperties(TClassInfo& c) {
  c.Object<TPictureHolder, TPicture>(
      "Picture", [](TPictureHolder* h) { return h->Picture.get(); },
      [](TPictureHolder* h, TPicture* p) { h->Picture->Assign(p); });
}

struct Registered {
  Registered() { RegisterClass(&TPictureHolder::StaticClass()); }
};
const Registered registered;

std::string LittleEndian(uint32_t v, int bytes = 4) {
  std::string r;
  for (int i = 0; i < bytes; ++i) r += static_cast<char>(v >> (8 * i));
  return r;
}

std::string ShortStr(const std::string& s) { return static_cast<char>(s.size()) + s; }

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string r;
  for (unsigned char b : bytes) {
    r += digits[b >> 4];
    r += digits[b & 15];
  }
  return r;
}

std::string ToBinary(TComponent* c) {
  TMemoryStream s;
  WriteComponentToStream(s, c);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

std::string BinaryToText(const std::string& bin) {
  TStringStream in(bin), out;
  ObjectBinaryToText(in, out);
  return out.DataString();
}

std::string TextToBinary(const std::string& text) {
  TStringStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.DataString();
}

std::string Saved(const TGraphic& g) {
  TStringStream s;
  g.SaveToStream(s);
  return s.DataString();
}

std::string DataOf(const TPicture& p) {
  TStringStream s;
  p.WriteData(s);
  return s.DataString();
}

template <class G>
std::unique_ptr<TGraphic> Loaded(const std::string& bytes) {
  auto g = std::make_unique<G>();
  TStringStream s(bytes);
  g->LoadFromStream(s);
  return g;
}

// Every pixel of a graphic as blue-green-red-alpha words.
std::vector<uint32_t> PixelsOf(const TGraphic* g) {
  TBitmap b;
  b.Assign(g);
  b.SetPixelFormat(pf32bit);
  std::vector<uint32_t> r;
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x)
      r.push_back(row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | uint32_t(row[4 * x + 3]) << 24);
  }
  return r;
}

// A 7 x 5 bitmap whose pixels all differ.
TBitmap& Pattern() {
  static const std::unique_ptr<TBitmap> b = [] {
    auto p = std::make_unique<TBitmap>(7, 5, pf24bit);
    for (int y = 0; y < 5; ++y) {
      uint8_t* row = p->ScanLine(y);
      for (int x = 0; x < 7; ++x) {
        row[3 * x] = static_cast<uint8_t>(30 * x);
        row[3 * x + 1] = static_cast<uint8_t>(50 * y);
        row[3 * x + 2] = static_cast<uint8_t>(255 - 7 * (x + 7 * y));
      }
    }
    return p;
  }();
  return *b;
}

template <class G>
std::unique_ptr<TGraphic> FromPattern() {
  auto g = std::make_unique<G>();
  g->Assign(&Pattern());
  return g;
}

std::unique_ptr<TGraphic> TranslucentPng() {
  TBitmap b(4, 3, pf32bit);
  for (int y = 0; y < 3; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < 4; ++x) {
      row[4 * x] = static_cast<uint8_t>(60 * x);
      row[4 * x + 1] = static_cast<uint8_t>(90 * y);
      row[4 * x + 2] = 200;
      row[4 * x + 3] = static_cast<uint8_t>(255 - 20 * (x + 4 * y));
    }
  }
  auto g = std::make_unique<TPngImage>();
  g->Assign(&b);
  return g;
}

const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF,
                              0xFF, 0x00, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                              0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
std::string GifFile() { return std::string(reinterpret_cast<const char*>(kGif), sizeof kGif); }
std::string JpegFile() { return Saved(*FromPattern<TJPEGImage>()); }

// A BMP header claiming a picture of the given size; the pixels are cut off.
std::string BmpClaiming(int32_t width, int32_t height) {
  const std::string info = LittleEndian(40) + LittleEndian(static_cast<uint32_t>(width)) +
                           LittleEndian(static_cast<uint32_t>(height)) + LittleEndian(1, 2) + LittleEndian(24, 2) +
                           std::string(24, '\0');
  return "BM" + LittleEndian(54 + 16) + LittleEndian(0) + LittleEndian(54) + info + std::string(16, '\0');
}

}  // namespace

TEST(PictureStreaming, PicturesSurviveBinaryTextBinaryIntoAFreshObject) {
  const struct {
    const char* what;
    std::unique_ptr<TGraphic> graphic;
    bool sameBytes;  // written again, the copy gives the same stream
  } cases[] = {
      {"bitmap", FromPattern<TBitmap>(), true},
      {"PNG with alpha", TranslucentPng(), true},
      {"icon", FromPattern<TIcon>(), false},  // read back with an alpha channel
      {"JPEG read from a file", Loaded<TJPEGImage>(JpegFile()), true},  // not compressed anew
      {"GIF read from a file", Loaded<TGIFImage>(GifFile()), true},
  };
  for (const auto& c : cases) {
    TPictureHolder holder(nullptr);
    holder.SetName("Holder");
    holder.Picture->SetGraphic(c.graphic.get());
    const std::string bin = ToBinary(&holder);
    const std::string text = BinaryToText(bin);
    EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << c.what << "\n" << text;
    const std::string bin2 = TextToBinary(text);
    EXPECT_EQ(bin2, bin) << c.what;

    TStringStream s(bin2);
    std::unique_ptr<TComponent> fresh(ReadComponentFromStream(s, nullptr));
    auto* copy = dynamic_cast<TPictureHolder*>(fresh.get());
    ASSERT_NE(copy, nullptr) << c.what;
    ASSERT_NE(copy->Picture->Graphic(), nullptr) << c.what;
    EXPECT_EQ(copy->Picture->Graphic()->ClassName(), c.graphic->ClassName()) << c.what;
    EXPECT_EQ(copy->Picture->Width(), c.graphic->Width()) << c.what;
    EXPECT_EQ(PixelsOf(copy->Picture->Graphic()), PixelsOf(c.graphic.get())) << c.what;
    if (c.sameBytes) {
      EXPECT_EQ(ToBinary(copy), bin) << c.what;
    }
  }
}

TEST(PictureStreaming, DataHoldsTheClassNameThenTheGraphicsOwnBytes) {
  // Bitmaps and JPEG pictures count their file bytes first; the others do not.
  const struct {
    std::unique_ptr<TGraphic> graphic;
    bool counted;
    std::string magic;  // the file's first bytes
  } cases[] = {
      {FromPattern<TBitmap>(), true, "BM"},
      {Loaded<TJPEGImage>(JpegFile()), true, "\xFF\xD8"},
      {FromPattern<TPngImage>(), false, "\x89PNG"},
      {FromPattern<TIcon>(), false, std::string("\0\0\1\0", 4)},
      {Loaded<TGIFImage>(GifFile()), false, "GIF89a"},
  };
  for (const auto& c : cases) {
    const std::string name = c.graphic->ClassName();
    TPictureHolder holder(nullptr);
    holder.Picture->SetGraphic(c.graphic.get());
    const std::string data = DataOf(*holder.Picture);
    ASSERT_EQ(data.substr(0, name.size() + 1), ShortStr(name));
    std::string file = data.substr(name.size() + 1);
    if (c.counted) {
      ASSERT_GE(file.size(), 4u) << name;
      EXPECT_EQ(file.substr(0, 4), LittleEndian(static_cast<uint32_t>(file.size() - 4))) << name;
      file = file.substr(4);
    }
    EXPECT_EQ(file.substr(0, c.magic.size()), c.magic) << name;
    // In the component stream: the property name, vaBinary, the count, the data.
    const std::string stream = ToBinary(&holder);
    const std::string head = ShortStr("Picture.Data") + '\x0A' + LittleEndian(static_cast<uint32_t>(data.size()));
    const size_t at = stream.find(head);
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_EQ(stream.substr(at + head.size(), name.size() + 1 + c.magic.size() + (c.counted ? 4 : 0)),
              data.substr(0, name.size() + 1 + c.magic.size() + (c.counted ? 4 : 0)))
        << name;
  }
  // As stored pictures show a bitmap: 07 "TBitmap", the count, "BM".
  TPicture bitmap;
  bitmap.SetGraphic(&Pattern());
  EXPECT_EQ(Hex(DataOf(bitmap)).substr(0, 16), "07544269746D6170");
}

TEST(PictureStreaming, AnEmptyPictureWritesNothing) {
  TPictureHolder never(nullptr);
  TPictureHolder emptyBitmap(nullptr);
  emptyBitmap.Picture->Bitmap();
  TPictureHolder cleared(nullptr);
  cleared.Picture->SetGraphic(&Pattern());
  cleared.Picture->SetGraphic(nullptr);
  for (TPictureHolder* h : {&never, &emptyBitmap, &cleared}) {
    EXPECT_FALSE(h->Picture->HasData());
    const std::string text = ComponentToText(h);
    EXPECT_EQ(text.find("Picture."), std::string::npos) << text;
  }
}

TEST(PictureStreaming, DataThatHoldsNoPictureEmptiesIt) {
  const struct {
    const char* what;
    std::string data;
    bool graphic;
  } cases[] = {
      {"no class name", ShortStr(""), false},
      {"a bitmap of no bytes", ShortStr("TBitmap") + LittleEndian(0), true},
  };
  for (const auto& c : cases) {
    TPicture p;
    p.SetGraphic(&Pattern());
    TStringStream s(c.data);
    p.ReadData(s);
    EXPECT_EQ(p.Graphic() != nullptr, c.graphic) << c.what;
    EXPECT_EQ(p.Width(), 0) << c.what;
    EXPECT_FALSE(p.HasData()) << c.what;
  }
  // Class names are found without regard to case.
  TPicture source;
  source.SetGraphic(&Pattern());
  TStringStream s(ShortStr("tbitmap") + DataOf(source).substr(8));
  TPicture p;
  p.ReadData(s);
  ASSERT_NE(dynamic_cast<TBitmap*>(p.Graphic()), nullptr);
  EXPECT_EQ(PixelsOf(p.Graphic()), PixelsOf(&Pattern()));
}

TEST(PictureStreaming, DamagedPictureDataIsAReadErrorAndKeepsThePicture) {
  TMetafile metafile;
  metafile.SetWidth(10);
  metafile.SetHeight(10);
  {
    TMetafileCanvas c(&metafile);
    c.Rectangle(1, 1, 8, 8);
  }
  const std::string bmp = Saved(Pattern());
  const struct {
    const char* what;
    std::string data;
    const char* message;  // part of the error message
  } cases[] = {
      {"no bytes at all", "", "Stream read error"},
      {"an unknown class", ShortStr("TFancyImage") + bmp, "Unknown picture class TFancyImage"},
      {"a class name cut off", std::string("\x20TBit"), "Stream read error"},
      {"a bitmap without its count", ShortStr("TBitmap") + "BM", "Stream read error"},
      {"a count beyond the data", ShortStr("TBitmap") + LittleEndian(100000) + bmp, "Stream read error"},
      {"a negative count", ShortStr("TBitmap") + LittleEndian(0xFFFFFFF0u) + bmp, "Stream read error"},
      {"bytes that are no bitmap", ShortStr("TBitmap") + LittleEndian(9) + "BM broken", "Bitmap image is not valid"},
      {"a truncated PNG", ShortStr("TPngImage") + Saved(*FromPattern<TPngImage>()).substr(0, 40), "invalid"},
      {"a format pictures never read", ShortStr("TPngImage") + "P1\n2 2\n0 1\n1 0\n", "invalid"},
      {"a picture too large to decode", ShortStr("TBitmap") + LittleEndian(70) + BmpClaiming(10000, 10000),
       "too large"},
      {"a metafile cut short", ShortStr("TMetafile") + Saved(metafile).substr(0, Saved(metafile).size() / 2),
       "Invalid metafile"},
  };
  for (const auto& c : cases) {
    TPictureHolder holder(nullptr);
    holder.Picture->SetGraphic(&Pattern());
    const std::string text = "object Holder: TPictureHolder\n  Picture.Data = {" + Hex(c.data) + "}\nend\n";
    try {
      TextToComponent(text, &holder);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << c.what << ": " << e.Message();
    } catch (const std::exception& e) {
      ADD_FAILURE() << c.what << ": " << e.what();
    }
    ASSERT_NE(dynamic_cast<TBitmap*>(holder.Picture->Graphic()), nullptr) << c.what;
    EXPECT_EQ(PixelsOf(holder.Picture->Graphic()), PixelsOf(&Pattern())) << c.what;
  }
}

// A stored metafile picture reads back as the metafile it was.
TEST(PictureStreaming, AMetafilePictureReadsBack) {
  TMetafile metafile;
  metafile.SetWidth(40);
  metafile.SetHeight(20);
  {
    TMetafileCanvas c(&metafile);
    c.Brush()->SetColor(clRed);
    c.Rectangle(1, 1, 30, 15);
  }
  TPictureHolder holder(nullptr);
  holder.Picture->SetGraphic(&metafile);
  TPictureHolder back(nullptr);
  TextToComponent(ComponentToText(&holder), &back);
  auto* read = dynamic_cast<TMetafile*>(back.Picture->Graphic());
  ASSERT_NE(read, nullptr);
  EXPECT_NEAR(read->Width(), 40, 1);
  EXPECT_EQ(Saved(*read), Saved(metafile));
}

TEST(PictureStreaming, TheErrorHookSkipsDamagedPictureData) {
  TPictureHolder holder(nullptr);
  holder.Picture->SetGraphic(&Pattern());
  const std::string text = "object Holder: TPictureHolder\n  Picture.Data = {" + Hex(ShortStr("TFancyImage") + "xyz") +
                           "}\n  Tag = 7\nend\n";
  TStringStream bin(TextToBinary(text));
  TReader reader(&bin);
  std::vector<std::string> errors;
  reader.OnError = [&errors](TReader*, const std::string& message, bool& handled) {
    errors.push_back(message);
    handled = true;
  };
  reader.ReadRootComponent(&holder);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unknown picture class TFancyImage");
  EXPECT_EQ(holder.Tag(), 7);  // reading went on after the picture
  EXPECT_EQ(PixelsOf(holder.Picture->Graphic()), PixelsOf(&Pattern()));
}

TEST(PictureStreaming, JpegAndGifWriteBackTheFileTheyWereReadFrom) {
  const std::string jpegFile = JpegFile();
  auto jpeg = Loaded<TJPEGImage>(jpegFile);
  TJPEGImage jpegCopy;
  jpegCopy.Assign(jpeg.get());
  EXPECT_EQ(Saved(*jpeg), jpegFile);
  EXPECT_EQ(Saved(jpegCopy), jpegFile);
  // Changed pixels are compressed anew.
  jpeg->SetWidth(3);
  const std::string changed = Saved(*jpeg);
  EXPECT_NE(changed, jpegFile);
  EXPECT_EQ(changed.substr(0, 2), "\xFF\xD8");

  auto gif = Loaded<TGIFImage>(GifFile());
  TPicture picture;
  picture.SetGraphic(gif.get());
  EXPECT_EQ(Saved(*picture.Graphic()), GifFile());
  // A GIF cannot be written: once changed, it cannot be saved either.
  gif->SetWidth(2);
  TMemoryStream m;
  EXPECT_THROW(gif->SaveToStream(m), EInvalidGraphicOperation);
  // A JPEG picture keeps no bytes of a file of another format.
  auto pngInJpeg = Loaded<TJPEGImage>(Saved(*FromPattern<TPngImage>()));
  EXPECT_EQ(Saved(*pngInJpeg).substr(0, 2), "\xFF\xD8");
}

namespace {


// The text form of a holder whose children are holders of the given picture
// files, of the class given (a bitmap's file bytes are counted).
std::string HoldersText(const std::vector<std::string>& files, const std::string& cls = "TBitmap") {
  std::string text = "object Holder: TPictureHolder\n";
  int n = 0;
  for (const std::string& file : files) {
    const std::string count = cls == "TBitmap" ? LittleEndian(static_cast<uint32_t>(file.size())) : "";
    text += "  object Child" + std::to_string(++n) + ": TPictureHolder\n    Picture.Data = {" +
            Hex(ShortStr(cls) + count + file) + "}\n  end\n";
  }
  return text + "end\n";
}

}  // namespace

TEST(PictureStreaming, TheStreamsPicturesShareABudgetOfPixels) {
  // Real 1-bit pictures of 3,145,728 pixels each (a few kB of PNG each): five
  // fit in the budget, the sixth does not.
  TBitmap page(2048, 1536, pf1bit);
  page.Canvas()->TextOut(10, 10, "a blank page");
  TPngImage png;
  png.Assign(&page);
  const std::string file = Saved(png);
  ASSERT_GT(file.size() * kMaxPixelsPerByte, 2048u * 1536);  // in proportion
  ASSERT_LT(5 * 2048LL * 1536, kStreamPixelBudget);
  ASSERT_GT(6 * 2048LL * 1536, kStreamPixelBudget);
  TPictureHolder five(nullptr);
  TextToComponent(HoldersText(std::vector<std::string>(5, file), "TPngImage"), &five);
  ASSERT_EQ(five.ComponentCount(), 5);
  EXPECT_EQ(static_cast<TPictureHolder*>(five.Components(4))->Picture->Width(), 2048);

  // Each stream has a budget of its own: the five read before take nothing from it.
  TPictureHolder six(nullptr);
  try {
    TextToComponent(HoldersText(std::vector<std::string>(6, file), "TPngImage"), &six);
    ADD_FAILURE() << "six pictures were read";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Picture of 2048 x 1536 pixels exceeds what the stream's pictures may have together (" +
                               std::to_string(kStreamPixelBudget) + " pixels)");
  }
}

TEST(PictureStreaming, APictureOutOfProportionToItsBytesIsAReadError) {
  struct Case {
    std::string Bmp;
    const char* Message;  // nullptr: read
  } const cases[] = {
      // 5 x 4,194,311 pixels from 134 bytes: 200 MB decoded.
      {BmpClaiming(5, 4194311, 4), "Picture of 5 x 4194311 pixels in 134 bytes is out of proportion to its data"},
      {BmpClaiming(4096, 4096, 1), "Picture of 4096 x 4096 pixels in 78 bytes is out of proportion to its data"},
  };
  for (const Case& c : cases) {
    TPictureHolder holder(nullptr);
    try {
      TextToComponent(HoldersText({c.Bmp}), &holder);
      ADD_FAILURE() << c.Message;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  // Small pictures are never out of proportion, however small their file.
  TPicture small;
  TStringStream data(ShortStr("TBitmap") + LittleEndian(78) + BmpClaiming(1000, 1000, 1));
  TPictureBudget budget;
  try {
    small.ReadData(data);
  } catch (const EReadError& e) {
    EXPECT_EQ(std::string(e.what()).find("proportion"), std::string::npos) << e.what();
  }
  EXPECT_EQ(budget.Left(), kStreamPixelBudget - 1000 * 1000);
}
