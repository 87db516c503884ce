// Bitmaps saved as BMP files in their own pixel format: 1, 4 and 8 bits with
// a colour table, 15 bits (5-5-5), 16 bits (5-6-5 with its masks), 24 and 32
// bits; a bitmap of the device's format is saved with 24 bits.
#include <QImage>
#include <cstring>
#include <vector>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/qt_private.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The rows of the image as the file stores them for the given bits, one row.
void AppendRow(std::vector<uint8_t>& out, const QImage& img, int y, int bits, size_t stride) {
  const size_t start = out.size();
  const uchar* row = img.constScanLine(y);
  const int w = img.width();
  switch (bits) {
    case 1: out.insert(out.end(), row, row + (w + 7) / 8); break;
    case 4:
      for (int x = 0; x < w; x += 2)
        out.push_back(static_cast<uint8_t>((row[x] & 0x0F) << 4 | (x + 1 < w ? row[x + 1] & 0x0F : 0)));
      break;
    case 8: out.insert(out.end(), row, row + w); break;
    case 15:
    case 16: out.insert(out.end(), row, row + 2 * w); break;
    case 24:
      if (img.format() == QImage::Format_BGR888) {
        out.insert(out.end(), row, row + 3 * w);
      } else {
        const auto* px = reinterpret_cast<const QRgb*>(row);
        for (int x = 0; x < w; ++x) {
          out.push_back(static_cast<uint8_t>(qBlue(px[x])));
          out.push_back(static_cast<uint8_t>(qGreen(px[x])));
          out.push_back(static_cast<uint8_t>(qRed(px[x])));
        }
      }
      break;
    default: {  // 32: blue, green, red, alpha
      const auto* px = reinterpret_cast<const QRgb*>(row);
      for (int x = 0; x < w; ++x) Put32(out, px[x]);
    }
  }
  out.resize(start + stride, 0);
}

}  // namespace

void TBitmap::SaveToStream(TStream& stream) const {
  FData->FlushCanvas();
  FData->EnsureStorage();
  QImage img = FData->Img;
  if (img.isNull()) {
    // An empty bitmap is saved as one white pixel, as a picture file needs one.
    img = QImage(1, 1, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
  }
  int bits = 24;
  switch (FData->Format) {
    case pf1bit: bits = 1; break;
    case pf4bit: bits = 4; break;
    case pf8bit: bits = 8; break;
    case pf15bit: bits = 15; break;
    case pf16bit: bits = 16; break;
    case pf32bit: bits = 32; break;
    default: bits = 24; break;
  }
  if (bits == 32 && img.format() != QImage::Format_ARGB32) img = img.convertToFormat(QImage::Format_ARGB32);
  if (bits == 24 && img.format() != QImage::Format_BGR888 && img.format() != QImage::Format_RGB32)
    img = img.convertToFormat(QImage::Format_RGB32);

  const int fileBits = bits == 15 ? 16 : bits;
  const uint32_t compression = bits == 16 ? 3 : 0;  // BI_BITFIELDS with the 5-6-5 masks
  const size_t stride = ((static_cast<size_t>(img.width()) * fileBits + 31) / 32) * 4;
  std::vector<QRgb> table;
  if (bits <= 8) {
    const QList<QRgb> colors = img.colorTable();
    table.assign(colors.begin(), colors.end());
    table.resize(size_t(1) << bits, qRgb(0, 0, 0));
  }
  const uint32_t headerBytes = 14 + 40 + (compression == 3 ? 12 : 0) + static_cast<uint32_t>(table.size() * 4);
  const uint32_t imageBytes = static_cast<uint32_t>(stride * static_cast<size_t>(img.height()));

  std::vector<uint8_t> out;
  out.reserve(headerBytes + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, headerBytes + imageBytes);
  Put32(out, 0);
  Put32(out, headerBytes);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(img.width()));
  Put32(out, static_cast<uint32_t>(img.height()));  // rows bottom-up
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(fileBits));
  Put32(out, compression);
  Put32(out, imageBytes);
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  if (compression == 3) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (QRgb c : table) {
    out.push_back(static_cast<uint8_t>(qBlue(c)));
    out.push_back(static_cast<uint8_t>(qGreen(c)));
    out.push_back(static_cast<uint8_t>(qRed(c)));
    out.push_back(0);
  }
  for (int y = img.height() - 1; y >= 0; --y) AppendRow(out, img, y, bits, stride);
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}
