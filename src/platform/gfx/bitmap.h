// Pictures of the drawing layer.
//  - TGraphic: the abstract picture (size, transparency, load and save,
//    drawing onto a canvas through TCanvas::Draw and StretchDraw).
//  - TBitmap: a raster image with pixel formats of 1 to 32 bits, scan-line
//    access, its own canvas and colour-key transparency; BMP files, and any
//    other raster format by its extension (PNG, JPEG, GIF, ICO).
//  - TPngImage, TJPEGImage, TGIFImage (written only as it was read), TIcon:
//    raster pictures of those file formats.
//  - TPicture: holds one graphic of any registered class and picks the class
//    by file extension (RegisterFileFormat), or by class name when a
//    streamed picture is read (ReadData).
// TMetafile is in metafile.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/rtl/streams.h"

struct TRasterData;
struct TRasterSource;

// What the raster pictures of one component stream may cost together. A
// small stream must not decode into gigabytes: while a TPictureBudget lives
// (a TReader holds one while it reads), each raster picture read on this
// thread spends its pixels from it, and one beyond the budget raises
// EReadError. So does a picture of more than kPlainPicturePixels whose size
// is out of all proportion to its bytes (more pixels a byte than any real
// compression gives). Budgets nest: an inner one spends from the outermost.
constexpr long long kStreamPixelBudget = 16LL * 1024 * 1024;  // 64 MB at 32 bits a pixel
constexpr long long kPlainPicturePixels = 1024LL * 1024;      // never out of proportion
constexpr long long kMaxPixelsPerByte = 16384;                // 1-bit deflate gives about 8,000
constexpr long long kMaxGIFPixelsPerByte = 4096;              // a 12-bit code gives at most 4,096
// Every picture load outside such a stream (a file, the clipboard, a grid
// cell, a frame of a GIF) has a budget of its own of this many pixels, and
// the same proportion rule.
constexpr long long kLoadPixelBudget = kStreamPixelBudget;
constexpr const char* kLoadBudgetName = "what one picture may have";

class TPictureBudget {
public:
  // `what` ends the refusal: "... exceeds <what> (N pixels)".
  explicit TPictureBudget(long long pixels = kStreamPixelBudget,
                          const char* what = "what the stream's pictures may have together");
  ~TPictureBudget();
  TPictureBudget(const TPictureBudget&) = delete;
  TPictureBudget& operator=(const TPictureBudget&) = delete;

  // Pixels still free in the budget that applies now.
  long long Left() const;
  // Takes a picture of width x height read from `bytes` bytes from the
  // budget that applies on this thread (none: only the proportion rule
  // holds nothing back); raises EReadError when it may not be read.
  static void Spend(long long width, long long height, long long bytes);
  // Judges, for the screen and every image of GIF bytes, the canvas its
  // decoder makes (the screen, grown to the image's extent) as Spend would
  // but with the proportion of LZW codes (kMaxGIFPixelsPerByte), before
  // anything is decoded, and spends nothing (one frame is decoded at a
  // time): a GIF's header may claim a small screen and an image far
  // larger, or the other way round, and the decoder fills the whole canvas.
  static void CheckGIF(const uint8_t* data, std::size_t size);

private:
  static void Judge(long long width, long long height, long long bytes, bool spend,
                    long long perByte = kMaxPixelsPerByte);
  long long FLeft;
  long long FTotal;
  const char* FWhat;
  TPictureBudget* FOuter;
};

class TGraphic : public TObject {
public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;
  ~TGraphic() override = default;
  std::string ClassName() const override { return "TGraphic"; }

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }

  // Raises EConvertError "Cannot assign a <source class> to a <this class>"
  // for a source it cannot take. Nil empties the graphic.
  virtual void Assign(const TGraphic* source) = 0;

  // File and stream I/O. A malformed or unsupported file raises
  // EInvalidGraphic and leaves the graphic as it was; file errors raise
  // EFOpenError / EFCreateError naming the file. Raster pictures read BMP,
  // PNG, JPEG, GIF and icon files only (told by their contents) and refuse
  // one of more pixels than Qt's reader would decode at 32 bits a pixel.
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName) const;
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  // The graphic's part of a streamed picture, after its class name: the
  // file bytes (SaveToStream / LoadFromStream). Bitmaps and JPEG pictures
  // put a 32-bit count of the file bytes first. ReadData leaves the stream
  // after the graphic's bytes and raises EReadError for a count beyond the
  // stream.
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream) const;

  // Draws the graphic stretched into rect (called by TCanvas::Draw and StretchDraw).
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

  TNotifyEvent OnChange;

protected:
  void Changed();
  [[noreturn]] void AssignError(const TObject* source) const;

private:
  bool FTransparent = false;
  bool FModified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// A raster picture; the base of TBitmap and of the PNG, JPEG, GIF and icon pictures.
class TRasterGraphic : public TGraphic {
public:
  TRasterGraphic();
  ~TRasterGraphic() override;
  std::string ClassName() const override { return "TRasterGraphic"; }

  bool Empty() const override;
  int Width() const override;
  int Height() const override;
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  // Resizing keeps the pixels that still fit; new pixels are white.
  void SetSize(int width, int height);

  // Copies any raster picture (pixels, format, transparency); a metafile
  // source is drawn onto a white bitmap of its size.
  void Assign(const TGraphic* source) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void Draw(TCanvas* canvas, const TRect& rect) override;

  // The colour keyed out when Transparent: with tmAuto the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  TRasterData* Data() const { return FData.get(); }

protected:
  // The file format written by SaveToStream ("BMP", "PNG", "JPG", "ICO"); an
  // empty name means the format cannot be written.
  virtual const char* WriteFormat() const = 0;
  // The file format (Qt's lower-case name) whose bytes the graphic keeps
  // when it reads them, and writes back unchanged while its pixels are
  // unchanged: JPEG pictures are not compressed again on every save, and a
  // GIF picture, which cannot be written, can still be stored. Nil: none.
  virtual const char* KeptFormat() const { return nullptr; }
  std::unique_ptr<TRasterData> FData;
  std::unique_ptr<TRasterSource> FSource;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

class TBitmap : public TRasterGraphic {
public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  ~TBitmap() override;
  std::string ClassName() const override { return "TBitmap"; }

  // The bitmap's own canvas (created on first use); drawing on it changes the pixels.
  TCanvas* Canvas();
  bool HasCanvas() const { return FCanvas != nullptr; }

  // Changing the format converts the pixels (1 bit: black and white by
  // threshold; 4 and 8 bits: a fixed palette).
  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat value);
  // Bytes of one row as ScanLine lays it out (rows padded to 4 bytes).
  int BytesPerScanLine() const;
  // Row y of the pixels in the device's layout for the pixel format:
  // pf1bit bits from the most significant, pf4bit two pixels a byte,
  // pf8bit palette indexes, pf15bit/pf16bit 5-5-5/5-6-5 words, pf24bit
  // blue-green-red bytes, pf32bit blue-green-red-alpha, pfDevice as pf32bit.
  // Valid until the size or format changes. Raises EInvalidGraphicOperation
  // "Scan line index out of range" outside 0..Height-1.
  uint8_t* ScanLine(int y);
  // Applies writes made through ScanLine of a pf4bit bitmap (the others
  // write straight into the pixels).
  void ScanLinesChanged();

  // A monochrome bitmap (pf1bit): black and white only.
  bool Monochrome() const { return PixelFormat() == pf1bit; }
  void SetMonochrome(bool value);
  // Frees the pixels; the bitmap becomes empty (0 x 0).
  void FreeImage();
  void Dormant() {}
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;
  // A BMP file in the bitmap's pixel format (the device's format as 24 bits).
  void SaveToStream(TStream& stream) const override;

protected:
  const char* WriteFormat() const override { return "BMP"; }

private:
  friend struct TRasterData;
  std::unique_ptr<TCanvas> FCanvas;
};

class TPngImage : public TRasterGraphic {
public:
  std::string ClassName() const override { return "TPngImage"; }

protected:
  const char* WriteFormat() const override { return "PNG"; }
};

class TJPEGImage : public TRasterGraphic {
public:
  std::string ClassName() const override { return "TJPEGImage"; }
  int CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int value) { FQuality = value; }
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;

protected:
  const char* WriteFormat() const override { return "JPG"; }
  const char* KeptFormat() const override { return "jpeg"; }

private:
  int FQuality = 90;
};

// GIF pictures cannot be written: SaveToStream writes back the bytes the
// picture was read from while its pixels are unchanged, and otherwise raises
// EInvalidGraphicOperation.
class TGIFImage : public TRasterGraphic {
public:
  std::string ClassName() const override { return "TGIFImage"; }

protected:
  const char* WriteFormat() const override { return ""; }
  const char* KeptFormat() const override { return "gif"; }
};

class TIcon : public TRasterGraphic {
public:
  TIcon();
  std::string ClassName() const override { return "TIcon"; }

protected:
  const char* WriteFormat() const override { return "ICO"; }
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

class TPicture : public TObject {
public:
  TPicture();
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  std::string ClassName() const override { return "TPicture"; }

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Copies the graphic into a new one of the same class; nil clears.
  void SetGraphic(const TGraphic* value);
  // The graphic as a bitmap; a bitmap is created (replacing any other graphic) on first use.
  TBitmap* Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Picks the graphic class by the file's extension; an unknown extension
  // raises EInvalidGraphic "Unknown picture file extension (.xyz)". The
  // previous graphic is kept when loading fails.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  void Assign(const TPicture* source);

  // The picture as a published property streams it (its binary "Data"):
  // the graphic's class name as a short string, then the graphic's
  // WriteData. HasData is false for a picture without a graphic or with an
  // empty one, which writes nothing. ReadData makes the graphic by its class
  // name through the format registry; an empty name clears the picture. An
  // unknown class or data the graphic refuses raises EReadError and keeps
  // the picture as it was.
  bool HasData() const;
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

  // Extension without the dot, compared without regard to case.
  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 TGraphicFactory factory);
  static void UnregisterFileFormat(const std::string& extension);
  // A new empty graphic for the extension (with or without dot), or nil.
  static std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& extension);
  // A new empty graphic of the first registered format whose graphic has
  // the class name (compared without regard to case), or nil.
  static std::unique_ptr<TGraphic> CreateGraphicForClassName(const std::string& className);
  // "PNG image (*.png)|*.png|..." for the file dialogs.
  static std::string GraphicFilter();

  TNotifyEvent OnChange;

private:
  void Changed();
  std::unique_ptr<TGraphic> FGraphic;
};
