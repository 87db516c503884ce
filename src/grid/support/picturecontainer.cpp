#include "grid/support/picturecontainer.h"

#include <algorithm>

#include "platform/gfx/framectl.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/textfile.h"

namespace {

const char* const InvalidFormat = "Could not load image. Invalid format";

std::string Upper(const std::string& s) {
  std::string u = s;
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

uint16_t U16(const std::vector<uint8_t>& d, size_t at) {
  if (at + 1 >= d.size()) return 0;
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

std::vector<uint8_t> ReadAll(TStream& stream) {
  stream.SetPosition(0);
  const int64_t size = stream.Size();
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(size, 0)));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

}  // namespace

// ---- THTMLPicture

THTMLPicture::THTMLPicture() = default;
THTMLPicture::~THTMLPicture() = default;

int THTMLPicture::Width() const { return FDecoded ? FDecoded->Width() : 0; }
int THTMLPicture::Height() const { return FDecoded ? FDecoded->Height() : 0; }

bool THTMLPicture::IsGIF(const std::vector<uint8_t>& d) {
  return d.size() >= 5 && d[0] == 'G' && d[1] == 'I' && d[2] == 'F' && d[3] == '8';
}

std::vector<size_t> THTMLPicture::GIFFrameStarts(const std::vector<uint8_t>& d) {
  std::vector<size_t> starts;
  // p + 9 must lie inside the data: nothing is read past its end.
  for (size_t p = 0; p + 9 < d.size(); ++p)
    if (d[p] == 0x21 && d[p + 1] == 0xF9 && d[p + 2] == 0x04 && d[p + 8] == 0x2C) starts.push_back(p);
  return starts;
}

int THTMLPicture::CountFrames() {
  if (FFrameCount == -1 && IsGIF(FData)) FFrameCount = static_cast<int>(GIFFrameStarts(FData).size());
  return IsGIF(FData) ? FFrameCount : -1;
}

void THTMLPicture::DecodePicture() {
  FFrameX = FFrameY = 0;
  FAnimW = FAnimH = 0;
  std::vector<uint8_t> block;
  const std::vector<size_t> starts = IsGIF(FData) ? GIFFrameStarts(FData) : std::vector<size_t>{};
  if (!starts.empty()) {
    FAnimW = U16(FData, 6);
    FAnimH = U16(FData, 8);
    // The header and everything before the first frame, then the wanted
    // frame and the ones after it: a GIF whose first image is that frame.
    block.reserve(FData.size());
    bool copy = true;
    size_t k = 0, next = 0;
    for (size_t p = 0; p < FData.size(); ++p) {
      if (next < starts.size() && starts[next] == p) {
        ++next;
        ++k;
        copy = !(static_cast<size_t>(FFrame) > k);
        if (static_cast<size_t>(FFrame) == k) {
          const size_t d = p + 8;  // the image descriptor
          FFrameX = U16(FData, d + 1);
          FFrameY = U16(FData, d + 3);
          FFrameW = U16(FData, d + 5);
          FFrameH = U16(FData, d + 7);
        }
      }
      if (copy) block.push_back(FData[p]);
    }
  } else {
    block = FData;
  }
  std::unique_ptr<TBitmap> decoded = DecodeImageBytes(block);
  if (!decoded) throw Exception(InvalidFormat);
  FDecoded = std::move(decoded);
}

void THTMLPicture::Reset() {
  FEmpty = true;
  FDecoded.reset();
  FFrameCount = -1;
  FFrame = 1;
}

void THTMLPicture::Assign(const TGraphic* source) {
  auto* s = dynamic_cast<const THTMLPicture*>(source);
  if (source && !s) return;
  Reset();
  if (!s) {
    FData.clear();
    return;
  }
  FData = s->FData;
  if (FData.empty()) return;
  FEmpty = false;
  DecodePicture();
  Changed();
}

void THTMLPicture::ReadData(TStream& stream) {
  std::vector<uint8_t> old = std::move(FData);
  const bool oldEmpty = FEmpty;
  const int oldCount = FFrameCount;
  FData = ReadAll(stream);
  FFrameCount = -1;
  try {
    DecodePicture();
  } catch (...) {
    // Damaged bytes: the picture stays as it was.
    FData = std::move(old);
    FEmpty = oldEmpty;
    FFrameCount = oldCount;
    throw;
  }
  FEmpty = false;
}

void THTMLPicture::LoadFromStream(TStream& stream) {
  ReadData(stream);
  Changed();
}

void THTMLPicture::LoadFromFile(const std::string& fileName) {
  try {
    CheckFileSize(fileName, MaxPictureFileSize, "a picture file");
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
  } catch (...) {
    Reset();
    FData.clear();
  }
}

void THTMLPicture::SaveToStream(TStream& stream) const {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void THTMLPicture::WriteData(TStream& stream) const { SaveToStream(stream); }

void THTMLPicture::Draw(TCanvas* canvas, const TRect& rect) {
  if (FEmpty || !FDecoded || !canvas) return;
  if (FStretch)
    canvas->StretchDraw(rect, FDecoded.get());
  else
    canvas->Draw(rect.Left, rect.Top, FDecoded.get());
}

void THTMLPicture::SetStretch(bool v) {
  FStretch = v;
  Changed();
}

void THTMLPicture::SetFrame(int v) {
  FFrame = v;
  if (!FData.empty()) {
    DecodePicture();
    if (OnFrameChange) OnFrameChange(this);
  }
}

void THTMLPicture::LoadFromResource(const std::string& Name) {
  std::vector<uint8_t> bytes;
  if (!FindResourceData(Name, bytes)) return;
  TMemoryStream m;
  if (!bytes.empty()) m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  LoadFromStream(m);
}

void THTMLPicture::LoadFromLocation(const std::string& Source) {
  const std::string u = Upper(Source);
  if (u.rfind("RES://", 0) == 0) {
    FID = Source;
    LoadFromResource(Source.substr(6));
  } else if (u.rfind("FILE://", 0) == 0) {
    FID = Source;
    LoadFromFile(Source.substr(7));
  } else if (!FAsynchronous) {
    FURL = Source;
    FID = Source;
  } else if (!FBusy) {
    // Remote pictures are not fetched: the address is kept and the picture stays empty.
    FURL = Source;
    FBusy = true;
  }
}

// ---- Container and collection

ZV_CLASS_IMPL(TPictureItem, TCollectionItem)

void TPictureItem::DeclareProperties(TClassInfo& c) {
  c.String<TPictureItem>("Name", &TPictureItem::Name, &TPictureItem::SetName, std::string());
  c.Integer<TPictureItem>("Tag", &TPictureItem::Tag, &TPictureItem::SetTag, 0);
}

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}
TPictureItem::~TPictureItem() = default;

void TPictureItem::SetPicture(const THTMLPicture* v) { FPicture->Assign(v); }

void TPictureItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPictureItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  FName = s->FName;
  FTag = s->FTag;
  FPicture->Assign(s->FPicture.get());
}

ZV_CLASS_IMPL_NOPROPS(TPictureCollection, TOwnedCollection)

TPictureCollection::TPictureCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, &TPictureItem::StaticClass()) {}

ZV_CLASS_IMPL(TPictureContainer, TComponent)

void TPictureContainer::DeclareProperties(TClassInfo& c) {
  c.Object<TPictureContainer, TPictureCollection>("Items", &TPictureContainer::Items,
                                                   &TPictureContainer::SetItems);
  c.String<TPictureContainer>("Version", &TPictureContainer::Version, &TPictureContainer::SetVersion,
                              std::string());
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {}
TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::SetItems(TPictureCollection* v) { FItems->Assign(v); }

std::string TPictureContainer::Version() const {
  const uint32_t v = 0x01000000;
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

THTMLPicture* TPictureContainer::FindByName(const std::string& Name) const {
  const std::string u = Upper(Name);
  for (int i = 0; i < FItems->Count(); ++i)
    if (Upper(FItems->Items(i)->Name()) == u) return FItems->Items(i)->Picture();
  return nullptr;
}

// ---- Cache

THTMLPicture* THTMLPictureCache::NewPicture() {
  FItems.push_back(std::make_unique<THTMLPicture>());
  return FItems.back().get();
}

THTMLPicture* THTMLPictureCache::FindBySource(const std::string& ID) const {
  for (const auto& p : FItems)
    if (p->ID() == ID) return p.get();
  return nullptr;
}
