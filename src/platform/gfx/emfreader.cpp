// Enhanced metafiles read from files: the records are checked one by one
// (libUEMF's record checks), then libemf2svg's converter program turns them
// into SVG, which Qt SVG draws into whatever rectangle the metafile is drawn
// in. The converter runs as a program of its own, in a private folder and
// with a time limit: the library shuts fontconfig down after converting
// (FcFini), which would pull the fonts from under the window layer, and a
// damaged file must not bring the program down or hang it.
#include <signal.h>
#include <stdlib.h>

#include <QPainter>
#include <QSvgRenderer>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_private.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/process.h"
#include "platform/rtl/sysinfo.h"

extern "C" {
#include <uemf_safe.h>
}

namespace {

// More than any drawing a user keeps in one picture.
constexpr int64_t kMaxEmfBytes = 64LL * 1024 * 1024;
constexpr int kMaxPictureSide = 16384;

uint32_t U32(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);  // little-endian, as the file is
  return v;
}
int32_t I32(const std::string& s, size_t at) { return static_cast<int32_t>(U32(s, at)); }

[[noreturn]] void NotAMetafile(const std::string& why) {
  throw EInvalidGraphic("Invalid metafile: " + why);
}

// The whole file must be a chain of sound records from the header to the
// end-of-file record.
void CheckRecords(const std::string& bytes) {
  const size_t n = bytes.size();
  if (n < 88 || U32(bytes, 0) != 1 || U32(bytes, 40) != 0x464D4520u) NotAMetafile("no enhanced metafile header");
  size_t at = 0;
  bool ended = false;
  while (at < n) {
    if (n - at < 8) NotAMetafile("a record is cut off");
    const uint32_t type = U32(bytes, at), size = U32(bytes, at + 4);
    if (size < 8 || size % 4 != 0 || size > n - at) NotAMetafile("a record has a wrong size");
    if (!U_emf_record_safe(bytes.data() + at)) NotAMetafile("a record is damaged");
    at += size;
    if (type == 14) {  // EMR_EOF
      ended = true;
      break;
    }
  }
  if (!ended) NotAMetafile("the end-of-file record is missing");
}

// A private folder of this process, removed with what it holds.
class TScratchFolder {
public:
  TScratchFolder() {
    std::string pattern = WorkFolder() + "emf-XXXXXX";
    if (::mkdtemp(pattern.data())) FPath = pattern + "/";
  }
  ~TScratchFolder() {
    if (FPath.empty()) return;
    DeleteFile(FPath + "in.emf");
    DeleteFile(FPath + "out.svg");
    RemoveDir(FPath);
  }
  const std::string& Path() const { return FPath; }

private:
  std::string FPath;
};

constexpr DWORD kConverterMilliseconds = 20000;

QByteArray ConvertToSvg(const std::string& emf, int width, int height) {
  TScratchFolder folder;
  if (folder.Path().empty()) NotAMetafile("no work folder for its conversion");
  const std::string in = folder.Path() + "in.emf", out = folder.Path() + "out.svg";
  {
    std::ofstream f(in, std::ios::binary);
    f.write(emf.data(), static_cast<std::streamsize>(emf.size()));
    if (!f) NotAMetafile("no room for its conversion");
  }
  const std::string command = "exec emf2svg-conv -p -w " + std::to_string(width) + " -h " + std::to_string(height) +
                              " -i '" + in + "' -o '" + out + "' >/dev/null 2>&1";
  int error = 0;
  TProcessHandle p = CreateProcess("/bin/sh", "-c \"" + command + "\"", 0, "", TStartupInfo(), error);
  if (!p) NotAMetafile("the converter (emf2svg-conv) cannot be started");
  if (p->WaitFor(kConverterMilliseconds) != WAIT_OBJECT_0) {
    ::kill(p->ProcessId(), SIGKILL);
    p->WaitFor(INFINITE);
    NotAMetafile("its conversion takes too long");
  }
  DWORD code = 0;
  if (!p->GetExitCode(code) || code != 0) NotAMetafile("its drawing cannot be read");
  std::ifstream f(out, std::ios::binary);
  std::ostringstream svg;
  svg << f.rdbuf();
  const std::string text = svg.str();
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void GfxReadEmf(TStream& stream, TMetafileData& data) {
  EnsureQtApplication();
  const int64_t size = stream.Size() - stream.Position();
  if (size <= 0) NotAMetafile("the file is empty");
  if (size > kMaxEmfBytes) NotAMetafile("the file is too large");
  std::string bytes(static_cast<size_t>(size), '\0');
  stream.ReadBuffer(bytes.data(), size);
  CheckRecords(bytes);
  // The picture's size: its frame in hundredths of a millimetre, else its
  // bounds in device pixels. The frame is rounded to whole pixels: a frame
  // written from a pixel size lies a fraction below it (40 pixels are 1058.3
  // hundredths, kept as 1058), and cutting it would lose a pixel.
  auto pixels = [](int64_t hundredths) {
    return static_cast<int>((hundredths * ScreenPixelsPerInch + (hundredths >= 0 ? 1270 : -1270)) / 2540);
  };
  int width = pixels(static_cast<int64_t>(I32(bytes, 32)) - I32(bytes, 24));
  int height = pixels(static_cast<int64_t>(I32(bytes, 36)) - I32(bytes, 28));
  if (width <= 0 || height <= 0) {
    width = static_cast<int>(static_cast<int64_t>(I32(bytes, 16)) - I32(bytes, 8) + 1);
    height = static_cast<int>(static_cast<int64_t>(I32(bytes, 20)) - I32(bytes, 12) + 1);
  }
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
    NotAMetafile("the picture's size is out of range");

  QByteArray svg = ConvertToSvg(bytes, width, height);
  if (svg.isEmpty()) NotAMetafile("its drawing cannot be read");
  if (!QSvgRenderer(svg).isValid()) NotAMetafile("its drawing cannot be read");
  data.Records.clear();
  data.Width = width;
  data.Height = height;
  data.Emf = std::make_shared<const std::string>(std::move(bytes));
  data.Svg = std::make_shared<const QByteArray>(std::move(svg));
}

void GfxDrawReadMetafile(const TMetafileData& data, TCanvas* canvas, const TRect& rect) {
  if (!data.Svg || !canvas) return;
  const int w = std::abs(rect.Width()), h = std::abs(rect.Height());
  if (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide) return;
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QSvgRenderer renderer(*data.Svg);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, w, h));
  }
  canvas->Impl()->BlitImage(image.convertToFormat(QImage::Format_ARGB32), image.rect(), rect, SRCCOPY, -1, true);
}
