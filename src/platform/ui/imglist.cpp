#include "platform/ui/imglist.h"

#include <algorithm>

#include "platform/ui/qt_ui.h"

ZV_CLASS_IMPL_NOPROPS(TCustomImageList, TComponent)
ZV_CLASS_IMPL_NOPROPS(TImageList, TCustomImageList)

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* l : FClients) l->SetSender(nullptr);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
  Value->SetSender(this);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  FClients.erase(it);
  Value->SetSender(nullptr);
}

void TCustomImageList::Changed() {
  // A link may unregister while it is told.
  for (TChangeLink* l : std::vector<TChangeLink*>(FClients)) l->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::SetWidth(int v) {
  if (v == FWidth || v <= 0) return;
  FWidth = v;
  Clear();
}

void TCustomImageList::SetHeight(int v) {
  if (v == FHeight || v <= 0) return;
  FHeight = v;
  Clear();
}

namespace {

// The pictures of a strip, each w x h, with the key (or mask) made transparent.
std::vector<QImage> Cut(const QImage& src, int w, int h, const QImage* mask, bool keyed, QRgb key) {
  std::vector<QImage> out;
  const int n = std::max(1, src.width() / w);
  for (int i = 0; i < n; ++i) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < h && y < src.height(); ++y)
      for (int x = 0; x < w && i * w + x < src.width(); ++x) {
        QRgb p = src.pixel(i * w + x, y);
        bool clear = false;
        if (keyed) clear = (p & 0xFFFFFF) == (key & 0xFFFFFF);
        if (mask && i * w + x < mask->width() && y < mask->height())
          clear = (mask->pixel(i * w + x, y) & 0xFFFFFF) != 0;
        img.setPixel(x, y, clear ? qRgba(0, 0, 0, 0) : (src.hasAlphaChannel() ? p : (p | 0xFF000000u)));
      }
    out.push_back(img);
  }
  return out;
}

}  // namespace

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  if (Image->HasCanvas()) GfxFlushCanvas(Image->Canvas());
  QImage src = GfxBitmapImage(Image).convertToFormat(QImage::Format_ARGB32);
  QImage m;
  if (Mask && !Mask->Empty()) m = GfxBitmapImage(Mask).convertToFormat(QImage::Format_RGB32);
  const int first = Count();
  for (auto& img : Cut(src, FWidth, FHeight, m.isNull() ? nullptr : &m, false, 0)) {
    auto b = std::make_unique<TBitmap>();
    GfxSetBitmapImage(b.get(), img);
    FImages.push_back(std::move(b));
  }
  Changed();
  return first;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (Image->HasCanvas()) GfxFlushCanvas(Image->Canvas());
  QImage src = GfxBitmapImage(Image).convertToFormat(QImage::Format_RGB32);
  const QRgb key = MaskColor == clDefault ? src.pixel(0, src.height() - 1) : GfxToQColor(MaskColor).rgb();
  const int first = Count();
  for (auto& img : Cut(src, FWidth, FHeight, nullptr, true, key)) {
    auto b = std::make_unique<TBitmap>();
    GfxSetBitmapImage(b.get(), img);
    FImages.push_back(std::move(b));
  }
  Changed();
  return first;
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  FImages.erase(FImages.begin() + Index);
  Changed();
}

void TCustomImageList::Clear() {
  FImages.clear();
  Changed();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  QImage img = GfxBitmapImage(FImages[static_cast<size_t>(Index)].get());
  if (!Enabled) {
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        QRgb p = img.pixel(x, y);
        int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3 / 2 + 96;
        img.setPixel(x, y, qRgba(g, g, g, qAlpha(p)));
      }
  }
  // Small pictures: blended pixel by pixel, so the result does not depend
  // on how the surface stores alpha.
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      const int a = qAlpha(p);
      if (a == 0) continue;
      if (a == 255) {
        Canvas->SetPixels(X + x, Y + y, static_cast<TColor>(RGB(qRed(p), qGreen(p), qBlue(p))));
        continue;
      }
      const TColor d = Canvas->Pixels(X + x, Y + y);
      if (d == CLR_INVALID) continue;
      auto mix = [a](int s, int t) { return (s * a + t * (255 - a) + 127) / 255; };
      Canvas->SetPixels(X + x, Y + y,
                        static_cast<TColor>(RGB(mix(qRed(p), GetRValue(d)), mix(qGreen(p), GetGValue(d)),
                                                mix(qBlue(p), GetBValue(d)))));
    }
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->Brush()->SetColor(clBtnFace);
  Image->Canvas()->FillRect(Rect(0, 0, FWidth, FHeight));
  Draw(Image->Canvas(), 0, 0, Index);
  return true;
}
