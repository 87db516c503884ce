#include "platform/gfx/resources.h"

#include <map>
#include <mutex>

#include "platform/rtl/streams.h"

// The pictures of src/platform/gfx/images, by file name (made by the build).
const std::vector<std::pair<std::string, std::vector<uint8_t>>>& EmbeddedImages();


namespace {

std::mutex GMutex;

std::string Key(const std::string& name) {
  std::string k = name;
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return k;
}

// The node glyphs: a background of teal (keyed out through the top-left
// pixel), a grey box with a plus or minus, or a black arrow.
constexpr TColor Key_ = clTeal;

std::unique_ptr<TBitmap> LeafBox(bool plus) {
  auto b = std::make_unique<TBitmap>(12, 12);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(Key_);
  c->FillRect(Rect(0, 0, 12, 12));
  c->Pen()->SetColor(clGray);
  c->Brush()->SetColor(clWhite);
  c->Rectangle(1, 1, 11, 11);
  c->Brush()->SetColor(clBlack);
  c->FillRect(Rect(3, 5, 9, 6));
  if (plus) c->FillRect(Rect(5, 3, 6, 9));
  return b;
}

std::unique_ptr<TBitmap> NodeArrow(bool open) {
  auto b = std::make_unique<TBitmap>(10, 10);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(Key_);
  c->FillRect(Rect(0, 0, 10, 10));
  c->Brush()->SetColor(clBlack);
  for (int i = 0; i < 4; ++i) {
    if (open)
      c->FillRect(Rect(1 + i, 3 + i, 9 - i, 4 + i));  // down: rows of 8, 6, 4, 2
    else
      c->FillRect(Rect(3 + i, 1 + i, 4 + i, 9 - i));  // right
  }
  return b;
}

// The spin buttons' arrows: 9 x 6, a black triangle of rows 1, 3, 5 and 7
// pixels on teal.
std::unique_ptr<TBitmap> SpinArrow(bool up) {
  auto b = std::make_unique<TBitmap>(9, 6);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(Key_);
  c->FillRect(Rect(0, 0, 9, 6));
  c->Brush()->SetColor(clBlack);
  for (int i = 0; i < 4; ++i) {
    const int y = up ? 1 + i : 4 - i;
    c->FillRect(Rect(4 - i, y, 5 + i, y + 1));
  }
  return b;
}

std::map<std::string, std::function<std::unique_ptr<TBitmap>()>>& Bitmaps() {
  static std::map<std::string, std::function<std::unique_ptr<TBitmap>()>> m{
      {"ASGLEAFCLOSE", [] { return LeafBox(true); }},
      {"ASGLEAFOPEN", [] { return LeafBox(false); }},
      {"XPNODEC", [] { return NodeArrow(false); }},
      {"XPNODEO", [] { return NodeArrow(true); }},
      {"PSGSPINUP", [] { return SpinArrow(true); }},
      {"PSGSPINDOWN", [] { return SpinArrow(false); }},
  };
  static const bool images = [] {
    for (const auto& [name, bytes] : EmbeddedImages()) {
      const std::vector<uint8_t>* data = &bytes;
      m[Key(name)] = [data] {
        auto b = std::make_unique<TBitmap>();
        TMemoryStream s;
        s.WriteBuffer(data->data(), static_cast<int64_t>(data->size()));
        s.SetPosition(0);
        b->LoadFromStream(s);
        return b;
      };
    }
    return true;
  }();
  (void)images;
  return m;
}

std::map<std::string, std::vector<uint8_t>>& Data() {
  static std::map<std::string, std::vector<uint8_t>> m;
  return m;
}

}  // namespace

std::unique_ptr<TBitmap> LoadResourceBitmap(const std::string& name) {
  std::function<std::unique_ptr<TBitmap>()> maker;
  {
    std::lock_guard<std::mutex> lock(GMutex);
    auto it = Bitmaps().find(Key(name));
    if (it == Bitmaps().end()) return nullptr;
    maker = it->second;
  }
  return maker();
}

void RegisterResourceBitmap(const std::string& name, std::function<std::unique_ptr<TBitmap>()> maker) {
  std::lock_guard<std::mutex> lock(GMutex);
  Bitmaps()[Key(name)] = std::move(maker);
}

void RegisterResourceData(const std::string& name, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> lock(GMutex);
  Data()[Key(name)] = std::move(bytes);
}

void UnregisterResourceData(const std::string& name) {
  std::lock_guard<std::mutex> lock(GMutex);
  Data().erase(Key(name));
}

bool FindResourceData(const std::string& name, std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> lock(GMutex);
  auto it = Data().find(Key(name));
  if (it == Data().end()) return false;
  bytes = it->second;
  return true;
}
