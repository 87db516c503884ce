#include "platform/ui/imagelist.h"

#include <algorithm>

ZV_CLASS_IMPL_NOPROPS(TCustomImageList, TComponent)
void TImageList::DeclareProperties(TClassInfo& c) {
  c.Integer<TImageList>("Height", &TImageList::Height, &TImageList::SetHeight, 16);
  c.Integer<TImageList>("Width", &TImageList::Width, &TImageList::SetWidth, 16);
}
ZV_CLASS_IMPL(TImageList, TCustomImageList)

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

void TCustomImageList::SetSize(int w, int h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (w == FWidth && h == FHeight) return;
  FWidth = w;
  FHeight = h;
  FImages.clear();
  Change();
}

namespace {
// Transparent pixels of the stored images carry this colour (keyed out when drawn).
constexpr TColor kKey = 0x030201;

bool IsKey(const uint8_t* px) { return px[0] == 0x03 && px[1] == 0x02 && px[2] == 0x01; }
}  // namespace

int TCustomImageList::Add(TBitmap* Image, TColor MaskColor) {
  int first = Count();
  if (!Image || Image->Empty()) return -1;
  int pieces = std::max(1, Image->Width() / FWidth);
  TColor mask = MaskColor == clNone ? clNone : ColorToRGB(MaskColor);
  for (int p = 0; p < pieces; ++p) {
    auto img = std::make_unique<TBitmap>(FWidth, FHeight, pf32bit);
    img->Canvas()->Brush()->SetColor(clWhite);
    img->Canvas()->FillRect(TRect(0, 0, FWidth, FHeight));
    img->Canvas()->CopyRect(TRect(0, 0, FWidth, FHeight), Image->Canvas(),
                            TRect(p * FWidth, 0, p * FWidth + FWidth, FHeight));
    for (int y = 0; y < FHeight; ++y) {
      uint8_t* row = img->ScanLine(y);
      for (int x = 0; x < FWidth; ++x) {
        uint8_t* px = row + 4 * x;
        TColor c = RGB(px[2], px[1], px[0]);
        if (mask != clNone && c == mask) {
          px[0] = 0x03;
          px[1] = 0x02;
          px[2] = 0x01;
        }
        px[3] = 255;
      }
    }
    img->SetTransparentMode(tmFixed);
    img->SetTransparentColor(kKey);
    img->SetTransparent(true);
    FImages.push_back(std::move(img));
  }
  Change();
  return first;
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Change();
}

TBitmap* TCustomImageList::Image(int Index) const {
  return Index >= 0 && Index < Count() ? FImages[Index].get() : nullptr;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const {
  TBitmap* img = Image(Index);
  if (!img || !Canvas) return;
  if (Enabled) {
    Canvas->Draw(X, Y, img);
    return;
  }
  // Greyed: the image's dark pixels as a shape, in white one pixel down and
  // right, then in the shadow colour on top.
  TBitmap shape(FWidth, FHeight, pf32bit);
  shape.SetTransparentMode(tmFixed);
  shape.SetTransparentColor(kKey);
  shape.SetTransparent(true);
  auto paint = [&](TColor color, int dx, int dy) {
    TColor rgb = ColorToRGB(color);
    for (int y = 0; y < FHeight; ++y) {
      uint8_t* src = img->ScanLine(y);
      uint8_t* dst = shape.ScanLine(y);
      for (int x = 0; x < FWidth; ++x) {
        const uint8_t* p = src + 4 * x;
        bool dark = !IsKey(p) && (p[0] + p[1] + p[2]) < 3 * 192;
        uint8_t* q = dst + 4 * x;
        q[0] = dark ? static_cast<uint8_t>(GetBValue(rgb)) : 0x03;
        q[1] = dark ? static_cast<uint8_t>(GetGValue(rgb)) : 0x02;
        q[2] = dark ? static_cast<uint8_t>(GetRValue(rgb)) : 0x01;
        q[3] = 255;
      }
    }
    Canvas->Draw(X + dx, Y + dy, &shape);
  };
  paint(clBtnHighlight, 1, 1);
  paint(clBtnShadow, 0, 0);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
  Value->SetSender(this);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it != FClients.end()) {
    FClients.erase(it);
    Value->SetSender(nullptr);
  }
}

void TCustomImageList::Change() {
  for (TChangeLink* l : std::vector<TChangeLink*>(FClients)) l->Change();
  if (OnChange) OnChange(this);
}
