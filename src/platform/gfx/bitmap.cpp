// Raster pictures (bitmaps, PNG, JPEG, GIF, icons) and the picture registry.
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_private.h"
#include "platform/rtl/textfile.h"

namespace {

QList<QRgb> MonoTable() { return {qRgb(0, 0, 0), qRgb(255, 255, 255)}; }

QList<QRgb> Palette16() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QList<QRgb> Palette256() {
  QList<QRgb> t = Palette16();
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) t << qRgb(r * 51, g * 51, b * 51);
  while (t.size() < 256) {
    int v = (t.size() - 232) * 10 + 8;
    t << qRgb(std::clamp(v, 0, 255), std::clamp(v, 0, 255), std::clamp(v, 0, 255));
  }
  return t;
}

bool Paintable(QImage::Format f) { return f != QImage::Format_Mono && f != QImage::Format_Indexed8 && f != QImage::Format_MonoLSB; }

// The file formats pictures are read in. Whatever else Qt's plugins would
// take (vector images, text-based raster formats) is refused: a user's
// file should not reach code the program never meant to run.
bool ReadableFormat(const QByteArray& format) {
  for (const char* f : {"bmp", "png", "jpeg", "jpg", "gif", "ico", "cur"})
    if (format == f) return true;
  return false;
}

// Pixels a read picture may have: as many as Qt's reader would decode as
// 32 bits a pixel. A small file can claim a huge picture, and a 1-bit one
// grows 32 times when converted.
bool TooManyPixels(const QSize& size) {
  if (size.width() <= 0 || size.height() <= 0) return false;
  const int limitMB = QImageReader::allocationLimit();
  const long long limit = limitMB > 0 ? static_cast<long long>(limitMB) * 1024 * 1024 / 4 : 400000000LL;
  return static_cast<long long>(size.width()) * size.height() > limit;
}

thread_local TPictureBudget* CurrentBudget = nullptr;

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A graphic's data that starts with a 32-bit count of the file bytes. The
// count is checked against the stream before anything is allocated.
void ReadCounted(TGraphic& graphic, TStream& stream) {
  const int32_t n = stream.ReadInteger();
  if (n < 0 || n > stream.Size() - stream.Position()) throw EReadError("Stream read error");
  if (n == 0) {
    graphic.Assign(nullptr);
    return;
  }
  TMemoryStream bytes;
  bytes.CopyFrom(stream, n);
  bytes.SetPosition(0);
  graphic.LoadFromStream(bytes);
}

void WriteCounted(const TGraphic& graphic, TStream& stream) {
  if (graphic.Empty()) {
    stream.WriteInteger(0);
    return;
  }
  TMemoryStream bytes;
  graphic.SaveToStream(bytes);
  stream.WriteInteger(static_cast<int32_t>(bytes.Size()));
  stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

std::string LowerExt(const std::string& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string e = fileName.substr(dot + 1);
  for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return e;
}

}  // namespace

// The file a picture was read from, kept by the formats that write it back.
struct TRasterSource {
  QByteArray Bytes;
  QImage Pixels;  // as read; shares the pixels until either side changes
};

// ---- TRasterData ----

QImage::Format TRasterData::StorageFormat(TPixelFormat f) {
  switch (f) {
    case pf1bit: return QImage::Format_Mono;
    case pf4bit:
    case pf8bit: return QImage::Format_Indexed8;
    case pf15bit: return QImage::Format_RGB555;
    case pf16bit: return QImage::Format_RGB16;
    case pf24bit: return QImage::Format_BGR888;
    case pf32bit: return QImage::Format_ARGB32;
    default: return QImage::Format_RGB32;
  }
}

QImage* TRasterData::PaintImage() {
  if (!Img.isNull() && !Paintable(Img.format())) {
    Img = Img.convertToFormat(QImage::Format_RGB32);
    Packed4Valid = false;
  }
  return &Img;
}

void TRasterData::FlushCanvas() {
  if (Canvas) Canvas->Impl()->EndPainter();
}

void TRasterData::EnsureStorage() {
  QImage::Format want = StorageFormat(Format);
  if (Img.isNull() || Img.format() == want) return;
  FlushCanvas();
  if (Format == pf1bit) Img = Img.convertToFormat(want, MonoTable(), Qt::ThresholdDither);
  else if (Format == pf4bit) Img = Img.convertToFormat(want, Palette16(), Qt::ThresholdDither);
  else if (Format == pf8bit) Img = Img.convertToFormat(want, Palette256(), Qt::ThresholdDither);
  else Img = Img.convertToFormat(want);
  Packed4Valid = false;
}

void TRasterData::Resize(int w, int h) {
  w = std::max(0, w);
  h = std::max(0, h);
  if (w == Img.width() && h == Img.height()) return;
  FlushCanvas();
  if (w == 0 || h == 0) {
    Img = QImage();
    Packed4Valid = false;
    return;
  }
  QImage n(w, h, QImage::Format_RGB32);
  n.fill(0xFFFFFFFFu);
  if (Format == pf32bit) {
    n = n.convertToFormat(QImage::Format_ARGB32);
  }
  if (!Img.isNull()) {
    QImage old = Img.convertToFormat(n.format());
    int cw = std::min(w, old.width()), ch = std::min(h, old.height());
    for (int y = 0; y < ch; ++y) memcpy(n.scanLine(y), old.constScanLine(y), static_cast<size_t>(cw) * 4);
  }
  Img = n;
  Packed4Valid = false;
  EnsureStorage();
}

// ---- TGraphic ----

void TGraphic::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  Changed();
}

void TGraphic::Changed() {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::AssignError(const TObject* source) const {
  std::string src = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + src + " to a " + ClassName());
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  // Refused before it is read: a folder, a pipe or a device, and a file far
  // larger than any picture.
  try {
    CheckRegularFile(fileName);
    CheckFileSize(fileName, MaxPictureFileSize, "a picture file");
  } catch (const EInOutError& e) {
    throw EFOpenError(e.Message());
  }
  TMemoryStream m;
  m.LoadFromFile(fileName);
  m.SetPosition(0);
  LoadFromStream(m);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
  TMemoryStream m;
  SaveToStream(m);  // a failure leaves no half-written file behind
  m.SaveToFile(fileName);
}

void TGraphic::ReadData(TStream& stream) { LoadFromStream(stream); }
void TGraphic::WriteData(TStream& stream) const { SaveToStream(stream); }

// ---- TRasterGraphic ----

TRasterGraphic::TRasterGraphic() : FData(std::make_unique<TRasterData>()) {}
TRasterGraphic::~TRasterGraphic() = default;

bool TRasterGraphic::Empty() const { return FData->Img.isNull() || FData->Img.width() == 0 || FData->Img.height() == 0; }
int TRasterGraphic::Width() const { return FData->Img.width(); }
int TRasterGraphic::Height() const { return FData->Img.height(); }
void TRasterGraphic::SetWidth(int value) { SetSize(value, Height()); }
void TRasterGraphic::SetHeight(int value) { SetSize(Width(), value); }
void TRasterGraphic::SetSize(int width, int height) {
  if (width == Width() && height == Height()) return;
  if (width > 0 && height > 0 && static_cast<long long>(width) * height > 400000000LL)
    throw EOutOfResources("Not enough storage is available to process this command");
  FData->Resize(width, height);
  Changed();
}

TColor TRasterGraphic::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  QRgb c = FData->Img.pixel(0, Height() - 1);
  return static_cast<TColor>(RGB(qRed(c), qGreen(c), qBlue(c)));
}

void TRasterGraphic::SetTransparentColor(TColor value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TRasterGraphic::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  FTransparentMode = value;
  if (value == tmAuto) FTransparentColor = clDefault;
  else FTransparentColor = TransparentColor();
  Changed();
}

void TRasterGraphic::Assign(const TGraphic* source) {
  if (source == this) return;
  FSource.reset();
  if (!source) {
    FData->FlushCanvas();
    FData->Img = QImage();
    Changed();
    return;
  }
  if (auto* r = dynamic_cast<const TRasterGraphic*>(source)) {
    FData->FlushCanvas();
    r->FData->FlushCanvas();
    FData->Img = r->FData->Img.copy();
    FData->Format = r->FData->Format;
    FData->Packed4Valid = false;
    FTransparentColor = r->FTransparentColor;
    FTransparentMode = r->FTransparentMode;
    // The file goes with the pixels when both sides keep the same format.
    const char* kept = KeptFormat();
    const char* theirs = r->KeptFormat();
    if (kept && theirs && std::strcmp(kept, theirs) == 0 && r->FSource && r->FSource->Pixels == r->FData->Img)
      FSource = std::make_unique<TRasterSource>(TRasterSource{r->FSource->Bytes, FData->Img});
    SetTransparent(r->Transparent());
    Changed();
    return;
  }
  if (auto* m = dynamic_cast<const TMetafile*>(source)) {
    FData->FlushCanvas();
    FData->Img = QImage();
    FData->Resize(m->Width(), m->Height());
    TCanvas c;
    GfxBindRaster(&c, FData.get());
    const_cast<TMetafile*>(m)->Draw(&c, {0, 0, m->Width(), m->Height()});
    GfxUnbind(&c);
    Changed();
    return;
  }
  AssignError(source);
}

// ---- TPictureBudget ----

TPictureBudget::TPictureBudget(long long pixels, const char* what)
    : FLeft(pixels), FTotal(pixels), FWhat(what), FOuter(CurrentBudget) {
  if (!FOuter) CurrentBudget = this;
}

TPictureBudget::~TPictureBudget() {
  if (!FOuter) CurrentBudget = nullptr;
}

long long TPictureBudget::Left() const { return FOuter ? FOuter->Left() : FLeft; }

void TPictureBudget::Spend(long long width, long long height, long long bytes) {
  Judge(width, height, bytes, true);
}

void TPictureBudget::Judge(long long width, long long height, long long bytes, bool spend, long long perByte) {
  TPictureBudget* budget = CurrentBudget;
  if (!budget || width <= 0 || height <= 0) return;
  const long long pixels = width * height;
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (pixels > kPlainPicturePixels && pixels / perByte > std::max(bytes, 1LL))
    throw EReadError("Picture of " + size + " in " + std::to_string(bytes) +
                     " bytes is out of proportion to its data");
  if (pixels > budget->FLeft)
    throw EReadError("Picture of " + size + " exceeds " + budget->FWhat + " (" + std::to_string(budget->FTotal) +
                     " pixels)");
  if (spend) budget->FLeft -= pixels;
}

void TPictureBudget::CheckGIF(const uint8_t* d, std::size_t n) {
  auto u16 = [d](std::size_t at) { return static_cast<long long>(d[at] | d[at + 1] << 8); };
  if (n < 13 || std::memcmp(d, "GIF8", 4) != 0) return;
  const long long screenW = u16(6), screenH = u16(8);
  // The decoder makes the screen's canvas even for bytes without an image.
  Judge(screenW, screenH, static_cast<long long>(n), false, kMaxGIFPixelsPerByte);
  std::size_t p = 13;
  if (d[10] & 0x80) p += 3u << ((d[10] & 7) + 1);  // global colour table
  // Skips data sub-blocks; false when the bytes end first.
  auto skipBlocks = [&]() {
    while (p < n) {
      const std::size_t len = d[p++];
      if (len == 0) return true;
      p += len;
    }
    return false;
  };
  while (p < n) {
    const uint8_t kind = d[p++];
    if (kind == 0x3B) return;  // trailer
    if (kind == 0x21) {        // extension: its label, then sub-blocks
      if (p >= n) return;
      ++p;
      if (!skipBlocks()) return;
    } else if (kind == 0x2C) {  // image descriptor
      if (p + 9 > n) return;
      const long long w = std::max(screenW, u16(p) + u16(p + 4));
      const long long h = std::max(screenH, u16(p + 2) + u16(p + 6));
      const uint8_t flags = d[p + 8];
      p += 9;
      Judge(w, h, static_cast<long long>(n), false, kMaxGIFPixelsPerByte);
      if (flags & 0x80) p += 3u << ((flags & 7) + 1);  // local colour table
      ++p;                                             // LZW code size
      if (!skipBlocks()) return;
    } else {
      return;  // damaged: the decoder stops here as well
    }
  }
}

void TRasterGraphic::LoadFromStream(TStream& stream) {
  // The load's own budget, unless a stream's applies.
  TPictureBudget load(kLoadPixelBudget, kLoadBudgetName);
  int64_t n = stream.Size() - stream.Position();
  QByteArray bytes(static_cast<qsizetype>(std::max<int64_t>(0, n)), 0);
  if (n > 0) stream.ReadBuffer(bytes.data(), n);
  auto invalid = [&bytes]() -> EInvalidGraphic {
    if (bytes.startsWith("BM")) return EInvalidGraphic("Bitmap image is not valid");
    return EInvalidGraphic("Unsupported or invalid picture data");
  };
  if (bytes.isEmpty()) throw invalid();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);  // the format is told by the contents
  QByteArray format = reader.format().toLower();
  if (!ReadableFormat(format)) throw invalid();
  auto tooLarge = [](const QSize& size) {
    return EInvalidGraphic("Picture is too large (" + std::to_string(size.width()) + " x " +
                           std::to_string(size.height()) + " pixels)");
  };
  // The size in the header is checked before anything is decoded.
  if (format == "gif") TPictureBudget::CheckGIF(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
  const QSize claimed = reader.size();
  if (TooManyPixels(claimed)) throw tooLarge(claimed);
  if (claimed.isValid()) TPictureBudget::Spend(claimed.width(), claimed.height(), bytes.size());
  QImage img;
  if (!reader.read(&img) || img.isNull()) throw invalid();
  if (TooManyPixels(img.size())) throw tooLarge(img.size());
  if (img.size() != claimed) TPictureBudget::Spend(img.width(), img.height(), bytes.size());
  TPixelFormat f = pfDevice;
  if (bytes.startsWith("BM") && bytes.size() >= 30) {
    int bits = static_cast<uint8_t>(bytes[28]) | static_cast<uint8_t>(bytes[29]) << 8;
    // 16 bits without masks are 5-5-5.
    const bool masks = bytes.size() >= 34 && static_cast<uint8_t>(bytes[30]) == 3;
    if (bits == 16 && !masks) bits = 15;
    f = bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : bits == 15 ? pf15bit : bits == 16 ? pf16bit
                                                                      : bits == 24 ? pf24bit : bits == 32 ? pf32bit : pfDevice;
  } else if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB) {
    f = pf1bit;
  } else if (img.format() == QImage::Format_Indexed8) {
    f = pf8bit;
  } else {
    f = img.hasAlphaChannel() ? pf32bit : pf24bit;
  }
  FData->FlushCanvas();
  FData->Format = f;
  if (f == pf1bit || f == pf4bit || f == pf8bit) {
    FData->Img = img.convertToFormat(QImage::Format_RGB32);
  } else {
    FData->Img = img;
  }
  FData->EnsureStorage();
  if (format == "jpg") format = "jpeg";
  if (const char* kept = KeptFormat(); kept && format == kept)
    FSource = std::make_unique<TRasterSource>(TRasterSource{bytes, FData->Img});
  else
    FSource.reset();
  Changed();
}

void TRasterGraphic::SaveToStream(TStream& stream) const {
  FData->FlushCanvas();
  if (FSource && FSource->Pixels == FData->Img) {
    stream.WriteBuffer(FSource->Bytes.constData(), FSource->Bytes.size());
    return;
  }
  const char* fmt = WriteFormat();
  if (!fmt || !*fmt) throw EInvalidGraphicOperation("Cannot save a " + ClassName() + ": the format is read only");
  QImage img = FData->Img;
  if (img.format() == QImage::Format_BGR888 || img.format() == QImage::Format_RGB16 || img.format() == QImage::Format_RGB555)
    img = img.convertToFormat(QImage::Format_RGB32);
  if (img.isNull()) img = QImage(1, 1, QImage::Format_RGB32), img.fill(0xFFFFFFFFu);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  int quality = -1;
  if (auto* j = dynamic_cast<const TJPEGImage*>(this)) quality = j->CompressionQuality();
  if (!img.save(&buf, fmt, quality)) throw EInvalidGraphicOperation(std::string("Cannot write the picture as ") + fmt);
  stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TRasterGraphic::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas || Empty()) return;
  QImage& img = FData->Img;
  if (Transparent()) {
    QImage keyed = img.convertToFormat(QImage::Format_ARGB32);
    TColorRef key = ColorToRGB(TransparentColor());
    QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
    for (int y = 0; y < keyed.height(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < keyed.width(); ++x) row[x] = (row[x] & 0xFFFFFF) == k ? 0 : (row[x] | 0xFF000000u);
    }
    canvas->Impl()->BlitImage(keyed, keyed.rect(), rect, SRCCOPY, -1, true);
  } else {
    canvas->Impl()->BlitImage(img, img.rect(), rect, canvas->CopyMode());
  }
}

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  FData->Format = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  if (FCanvas) FCanvas->Impl()->EndPainter();
  FData->Canvas = nullptr;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    GfxBindRaster(FCanvas.get(), FData.get());
    FData->Canvas = FCanvas.get();
  }
  return FCanvas.get();
}

TPixelFormat TBitmap::PixelFormat() const { return FData->Format; }

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == FData->Format) return;
  FData->FlushCanvas();
  FData->PaintImage();
  FData->Format = value;
  FData->EnsureStorage();
  if (value == pf32bit && !FData->Img.isNull()) {
    // new alpha channels start opaque
    QImage& i = FData->Img;
    for (int y = 0; y < i.height(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(i.scanLine(y));
      for (int x = 0; x < i.width(); ++x) row[x] |= 0xFF000000u;
    }
  }
  Changed();
}

int TBitmap::BytesPerScanLine() const {
  int w = Width();
  int bits = 32;
  switch (FData->Format) {
    case pf1bit: bits = 1; break;
    case pf4bit: bits = 4; break;
    case pf8bit: bits = 8; break;
    case pf15bit:
    case pf16bit: bits = 16; break;
    case pf24bit: bits = 24; break;
    default: bits = 32; break;
  }
  return ((w * bits + 31) / 32) * 4;
}

uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= Height()) throw EInvalidGraphicOperation("Scan line index out of range");
  FData->FlushCanvas();
  FData->EnsureStorage();
  if (FData->Format != pf4bit) return FData->Img.scanLine(y);
  int bpl = BytesPerScanLine();
  if (!FData->Packed4Valid) {
    FData->Packed4.assign(static_cast<size_t>(bpl) * Height(), 0);
    for (int r = 0; r < Height(); ++r) {
      const uchar* src = FData->Img.constScanLine(r);
      uint8_t* dst = FData->Packed4.data() + static_cast<size_t>(r) * bpl;
      for (int x = 0; x < Width(); ++x) dst[x / 2] |= static_cast<uint8_t>((src[x] & 0x0F) << ((x % 2) ? 0 : 4));
    }
    FData->Packed4Valid = true;
  }
  return FData->Packed4.data() + static_cast<size_t>(y) * bpl;
}

void TBitmap::ScanLinesChanged() {
  if (FData->Format != pf4bit || !FData->Packed4Valid) return;
  FData->FlushCanvas();
  FData->EnsureStorage();
  int bpl = BytesPerScanLine();
  for (int r = 0; r < Height(); ++r) {
    uchar* dst = FData->Img.scanLine(r);
    const uint8_t* src = FData->Packed4.data() + static_cast<size_t>(r) * bpl;
    for (int x = 0; x < Width(); ++x) dst[x] = (src[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
  }
  Changed();
}

void TBitmap::SetMonochrome(bool value) {
  if (value) SetPixelFormat(pf1bit);
  else if (Monochrome()) SetPixelFormat(pfDevice);
}

void TBitmap::FreeImage() {
  FData->FlushCanvas();
  FData->Img = QImage();
  FData->Packed4Valid = false;
  Changed();
}

void TBitmap::ReadData(TStream& stream) { ReadCounted(*this, stream); }
void TBitmap::WriteData(TStream& stream) const { WriteCounted(*this, stream); }

void TJPEGImage::ReadData(TStream& stream) { ReadCounted(*this, stream); }
void TJPEGImage::WriteData(TStream& stream) const { WriteCounted(*this, stream); }

TIcon::TIcon() { SetTransparent(true); }

// ---- Qt access for the window layer ----

QImage& GfxBitmapImage(TBitmap* bitmap) {
  TRasterData* d = bitmap->Data();
  d->FlushCanvas();
  return *d->PaintImage();
}

void GfxSetBitmapImage(TBitmap* bitmap, const QImage& image) {
  TRasterData* d = bitmap->Data();
  d->FlushCanvas();
  d->Img = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32) : image.convertToFormat(QImage::Format_RGB32);
  d->Format = image.hasAlphaChannel() ? pf32bit : pfDevice;
  d->Packed4Valid = false;
  if (bitmap->OnChange) bitmap->OnChange(bitmap);
}

// ---- TPicture ----

namespace {
struct TFormatEntry {
  std::string Ext, Description;
  TGraphicFactory Factory;
};
std::vector<TFormatEntry>& Formats() {
  static std::vector<TFormatEntry> list = [] {
    std::vector<TFormatEntry> l;
    l.push_back({"bmp", "Bitmaps", [] { return std::unique_ptr<TGraphic>(new TBitmap()); }});
    l.push_back({"png", "Portable Network Graphics", [] { return std::unique_ptr<TGraphic>(new TPngImage()); }});
    l.push_back({"jpg", "JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage()); }});
    l.push_back({"jpeg", "JPEG Image File", [] { return std::unique_ptr<TGraphic>(new TJPEGImage()); }});
    l.push_back({"gif", "GIF Image", [] { return std::unique_ptr<TGraphic>(new TGIFImage()); }});
    l.push_back({"ico", "Icons", [] { return std::unique_ptr<TGraphic>(new TIcon()); }});
    l.push_back({"emf", "Enhanced Metafiles", [] { return std::unique_ptr<TGraphic>(new TMetafile()); }});
    l.push_back({"wmf", "Metafiles", [] { return std::unique_ptr<TGraphic>(new TMetafile()); }});
    return l;
  }();
  return list;
}
std::string NormExt(std::string e) {
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return e;
}
}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* value) {
  if (!value) {
    FGraphic.reset();
    Changed();
    return;
  }
  if (value == FGraphic.get()) return;
  std::unique_ptr<TGraphic> g;
  if (dynamic_cast<const TMetafile*>(value)) g = std::make_unique<TMetafile>();
  else if (dynamic_cast<const TBitmap*>(value)) g = std::make_unique<TBitmap>();
  else if (dynamic_cast<const TPngImage*>(value)) g = std::make_unique<TPngImage>();
  else if (dynamic_cast<const TJPEGImage*>(value)) g = std::make_unique<TJPEGImage>();
  else if (dynamic_cast<const TGIFImage*>(value)) g = std::make_unique<TGIFImage>();
  else if (dynamic_cast<const TIcon*>(value)) g = std::make_unique<TIcon>();
  else g = std::make_unique<TBitmap>();
  g->Assign(value);
  g->OnChange = [this](TObject*) { Changed(); };
  FGraphic = std::move(g);
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(FGraphic.get())) return b;
  auto b = std::make_unique<TBitmap>();
  b->OnChange = [this](TObject*) { Changed(); };
  FGraphic = std::move(b);
  Changed();
  return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string ext = LowerExt(fileName);
  auto g = CreateGraphicForExtension(ext);
  if (!g) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
  g->LoadFromFile(fileName);
  g->OnChange = [this](TObject*) { Changed(); };
  FGraphic = std::move(g);
  Changed();
}

void TPicture::SaveToFile(const std::string& fileName) const {
  if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(const TPicture* source) {
  if (source == this) return;
  SetGraphic(source ? source->Graphic() : nullptr);
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicFactory factory) {
  std::string e = NormExt(extension);
  for (auto& f : Formats())
    if (f.Ext == e) {
      f.Description = description;
      f.Factory = std::move(factory);
      return;
    }
  Formats().push_back({e, description, std::move(factory)});
}

void TPicture::UnregisterFileFormat(const std::string& extension) {
  std::string e = NormExt(extension);
  auto& l = Formats();
  l.erase(std::remove_if(l.begin(), l.end(), [&](const TFormatEntry& f) { return f.Ext == e; }), l.end());
}

std::unique_ptr<TGraphic> TPicture::CreateGraphicForExtension(const std::string& extension) {
  std::string e = NormExt(extension);
  for (auto& f : Formats())
    if (f.Ext == e && f.Factory) return f.Factory();
  return nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateGraphicForClassName(const std::string& className) {
  if (className.empty()) return nullptr;
  for (auto& f : Formats()) {
    if (!f.Factory) continue;
    std::unique_ptr<TGraphic> g = f.Factory();
    if (g && SameText(g->ClassName(), className)) return g;
  }
  return nullptr;
}

bool TPicture::HasData() const { return FGraphic && !FGraphic->Empty(); }

void TPicture::WriteData(TStream& stream) const {
  stream.WriteShortString(FGraphic ? FGraphic->ClassName() : std::string());
  if (FGraphic) FGraphic->WriteData(stream);
}

void TPicture::ReadData(TStream& stream) {
  const int64_t left = stream.Size() - stream.Position();
  const uint8_t n = stream.ReadByte();
  if (n > left - 1) throw EReadError("Stream read error");
  const std::string className = stream.ReadString(n);
  if (className.empty()) {
    if (!FGraphic) return;
    FGraphic.reset();
    Changed();
    return;
  }
  std::unique_ptr<TGraphic> g = CreateGraphicForClassName(className);
  if (!g) throw EReadError("Unknown picture class " + className);
  try {
    g->ReadData(stream);
  } catch (const EReadError&) {
    throw;
  } catch (const Exception& e) {
    throw EReadError(e.Message());
  }
  g->OnChange = [this](TObject*) { Changed(); };
  FGraphic = std::move(g);
  Changed();
}

std::string TPicture::GraphicFilter() {
  std::string out, all;
  for (auto& f : Formats()) {
    if (!out.empty()) out += "|";
    out += f.Description + " (*." + f.Ext + ")|*." + f.Ext;
    all += (all.empty() ? "*." : ";*.") + f.Ext;
  }
  return "All (" + all + ")|" + all + "|" + out;
}
