#include "grid/support/gdipicture.h"

#include "platform/gfx/framectl.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/textfile.h"

TGPImage::TGPImage(const std::vector<uint8_t>& Bytes, bool UseEmbeddedColorManagement) {
  (void)UseEmbeddedColorManagement;
  const std::string f = ImageBytesFormat(Bytes);
  if (f == "bmp") FFormat = 2;
  else if (f == "jpeg" || f == "jpg") FFormat = 5;
  else if (f == "png") FFormat = 6;
  else if (f == "gif") FFormat = 7;
  else if (f == "tiff" || f == "tif") FFormat = 8;
  else if (f == "ico" || f == "cur") FFormat = 10;
  FBitmap = DecodeImageBytes(Bytes);
  if (!FBitmap) {
    FFormat = 0;
    SetStatus(GpUnknownImageFormat);
  }
}

int TGPImage::ImageWidth() const { return FBitmap ? FBitmap->Width() : 0; }
int TGPImage::ImageHeight() const { return FBitmap ? FBitmap->Height() : 0; }

int TGPGraphics::DrawImage(TGPImage* Image, double X, double Y, double Width, double Height) {
  if (!FCanvas || !Image || !Image->Bitmap()) return SetStatus(GpInvalidParameter);
  const TRect r = Rect(static_cast<int>(X), static_cast<int>(Y), static_cast<int>(X + Width),
                       static_cast<int>(Y + Height));
  FCanvas->StretchDraw(r, Image->Bitmap());
  return GpOk;
}

void TGDIPPicture::Assign(const TGraphic* source) {
  FEmpty = true;
  if (!source) {
    FData.clear();
    Changed();
    if (OnClear) OnClear(this);
    return;
  }
  auto* s = dynamic_cast<const TGDIPPicture*>(source);
  if (!s) return;
  FData = s->FData;
  FEmpty = FData.empty();
  Changed();
}

void TGDIPPicture::LoadFromFile(const std::string& fileName) {
  try {
    CheckFileSize(fileName, MaxPictureFileSize, "a picture file");
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> bytes(static_cast<size_t>(f.Size()));
    if (!bytes.empty()) f.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    FData = std::move(bytes);
    FEmpty = false;
    if (OnClear) OnClear(this);
    Changed();
  } catch (...) {
    FData.clear();
    FEmpty = true;
  }
}

void TGDIPPicture::ReadData(TStream& stream) {
  stream.SetPosition(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(stream.Size(), 0)));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  FData = std::move(bytes);
  FEmpty = false;
}

void TGDIPPicture::LoadFromStream(TStream& stream) {
  ReadData(stream);
  Changed();
}

void TGDIPPicture::SaveToStream(TStream& stream) const {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TGDIPPicture::WriteData(TStream& stream) const { SaveToStream(stream); }

void TGDIPPicture::Draw(TCanvas* canvas, const TRect& rect) {
  if (FEmpty || FData.empty() || !canvas) return;
  TGPImage image(FData);
  TGPGraphics g(canvas);
  if (image.RawFormat() == 2) {
    // A bitmap: its own size at the top-left, the bottom-left colour transparent.
    TBitmap* b = image.Bitmap();
    b->SetTransparentMode(tmAuto);
    b->SetTransparent(true);
    canvas->Draw(rect.Left, rect.Top, b);
    return;
  }
  FWidth = image.ImageWidth();
  FHeight = image.ImageHeight();
  g.DrawImage(&image, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}
