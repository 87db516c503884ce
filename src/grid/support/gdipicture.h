// Pictures of the rich hint: TGDIPPicture keeps an image file's bytes and
// draws them through a thin image layer (TGPImage, TGPGraphics) that reads
// more formats than the plain graphics (PNG, JPEG, GIF, TIFF, icons);
// bitmaps are drawn at their size with their bottom-left colour transparent,
// every other format stretched into the target.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

// Status values of the image layer.
constexpr int GpOk = 0, GpInvalidParameter = 2, GpUnknownImageFormat = 13;

// The last status of a call that failed (0 while all went well).
class TGdiplusBase : public TObject {
public:
  int GetLastStatus() const { return FLastStatus; }

protected:
  int SetStatus(int status) {
    if (status != GpOk) FLastStatus = status;
    return status;
  }
  int FLastStatus = GpOk;
};

// An image decoded from file bytes; an image that does not decode has size
// 0 and draws nothing.
class TGPImage : public TGdiplusBase {
public:
  explicit TGPImage(const std::vector<uint8_t>& Bytes, bool UseEmbeddedColorManagement = false);
  int ImageWidth() const;
  int ImageHeight() const;
  // 1 memory bitmap, 2 BMP, 3 EMF, 4 WMF, 5 JPEG, 6 PNG, 7 GIF, 8 TIFF, 9 EXIF, 10 icon, 0 other.
  int RawFormat() const { return FFormat; }
  TBitmap* Bitmap() const { return FBitmap.get(); }

private:
  std::unique_ptr<TBitmap> FBitmap;
  int FFormat = 0;
};

class TGPGraphics : public TGdiplusBase {
public:
  explicit TGPGraphics(TCanvas* Canvas) : FCanvas(Canvas) {}
  int DrawImage(TGPImage* Image, double X, double Y, double Width, double Height);

private:
  TCanvas* FCanvas;
};

class TGDIPPicture : public TGraphic {
public:
  TGDIPPicture() = default;
  std::string ClassName() const override { return "TGDIPPicture"; }
  bool Empty() const override { return FEmpty; }
  // The size noted by the last Draw; 0 before.
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  // The empty flag is set first; nil clears the data (change event, then
  // OnClear); another TGDIPPicture's bytes are copied (change event); any
  // other source leaves the data but the picture reports empty.
  void Assign(const TGraphic* source) override;
  // Every error leaves the picture empty and is swallowed.
  void LoadFromFile(const std::string& fileName) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  const std::vector<uint8_t>& Data() const { return FData; }
  TNotifyEvent OnClear;

private:
  std::vector<uint8_t> FData;
  bool FEmpty = true;
  int FWidth = 0, FHeight = 0;
};
