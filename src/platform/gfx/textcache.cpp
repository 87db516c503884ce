// Text measured and shaped once per font and text. The grids and the charts
// draw the same labels in the same few fonts on every paint; shaping a text
// again costs far more than a look-up. The tables are bounded: fonts by
// count, texts by count and length, the least recently used going first.
#include <QFontMetrics>
#include <QPaintDevice>
#include <QTextLayout>
#include <list>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "platform/gfx/canvas_impl.h"

namespace {

constexpr std::size_t MaxFaces = 256;
constexpr std::size_t MaxWidths = 4096;
constexpr std::size_t MaxLayouts = 2048;

struct TFontHash {
  std::size_t operator()(const QFont& f) const { return qHash(f); }
};

// Values kept per face, device (a small number naming what else the value
// depends on) and text, most recently used first.
template <class TValue>
class TTextTable {
public:
  explicit TTextTable(std::size_t capacity) : FCapacity(capacity) {}

  TValue* Find(uint64_t face, int device, const std::string& text) {
    auto found = FIndex.find({face, device, text});
    if (found == FIndex.end()) return nullptr;
    FOrder.splice(FOrder.begin(), FOrder, found->second);
    return &found->second->Value;
  }

  TValue& Add(uint64_t face, int device, const std::string& text, TValue value) {
    if (FIndex.size() >= FCapacity) {
      const TEntry& last = FOrder.back();
      FIndex.erase({last.Face, last.Device, last.Text});
      FOrder.pop_back();
    }
    FOrder.push_front({face, device, text, std::move(value)});
    FIndex.emplace(TKey{face, device, FOrder.front().Text}, FOrder.begin());
    return FOrder.front().Value;
  }

private:
  struct TEntry {
    uint64_t Face;
    int Device;
    std::string Text;
    TValue Value;
  };
  // The text is a view of the entry's own string.
  struct TKey {
    uint64_t Face;
    int Device;
    std::string_view Text;
    bool operator==(const TKey&) const = default;
  };
  struct TKeyHash {
    std::size_t operator()(const TKey& k) const {
      const uint64_t where = k.Face * 0x9E3779B97F4A7C15ull + static_cast<unsigned>(k.Device);
      return std::hash<std::string_view>()(k.Text) ^ where;
    }
  };

  std::size_t FCapacity;
  std::list<TEntry> FOrder;
  std::unordered_map<TKey, typename std::list<TEntry>::iterator, TKeyHash> FIndex;
};

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

class TTextCache {
public:
  std::shared_ptr<const TFontFace> Face(const QFont& font) {
    std::lock_guard<std::mutex> lock(FLock);
    auto found = FFaces.find(font);
    if (found != FFaces.end()) return found->second;
    // Faces handed out stay valid; their ids are never given again, so
    // texts kept under a forgotten face are merely never asked for.
    if (FFaces.size() >= MaxFaces) FFaces.clear();
    auto face = std::make_shared<TFontFace>();
    face->Id = ++FLastId;
    face->Font = font;
    const QFontMetrics fm(font);
    face->Ascent = fm.ascent();
    face->Descent = fm.descent();
    face->Leading = fm.leading();
    FFaces.emplace(font, face);
    return face;
  }

  int Width(const TFontFace& face, const std::string& text) {
    if (text.size() > GfxMaxKeptTextBytes) return QFontMetrics(face.Font).horizontalAdvance(Q(text));
    std::lock_guard<std::mutex> lock(FLock);
    if (const int* width = FWidths.Find(face.Id, 0, text)) return *width;
    return FWidths.Add(face.Id, 0, text, QFontMetrics(face.Font).horizontalAdvance(Q(text)));
  }

  // Laid out as QPainter::drawText lays out a text on the device: the font
  // resolved for the device, the painter's direction, one line. A text is
  // laid out the second time it is drawn: most texts drawn once (a value
  // that changes) are never drawn again.
  bool Glyphs(const TFontFace& face, const std::string& text, QPaintDevice* device, Qt::LayoutDirection direction,
              TTextGlyphs& glyphs) {
    if (text.size() > GfxMaxKeptTextBytes) return false;
    const int key = device->logicalDpiY() * 2 + (direction == Qt::RightToLeft ? 1 : 0);
    std::lock_guard<std::mutex> lock(FLock);
    TKeptGlyphs* kept = FLayouts.Find(face.Id, key, text);
    if (!kept) {
      FLayouts.Add(face.Id, key, text, {});
      return false;
    }
    if (!kept->Laid) {
      QTextLayout layout(Q(text), face.Font, device);
      QTextOption option;
      option.setTextDirection(direction);
      layout.setTextOption(option);
      layout.beginLayout();
      const QTextLine line = layout.createLine();
      layout.endLayout();
      kept->Glyphs = {layout.glyphRuns(), line.isValid() ? line.ascent() : 0};
      kept->Laid = true;
    }
    glyphs = kept->Glyphs;
    return true;
  }

private:
  std::mutex FLock;
  uint64_t FLastId = 0;
  std::unordered_map<QFont, std::shared_ptr<const TFontFace>, TFontHash> FFaces;
  TTextTable<int> FWidths{MaxWidths};
  struct TKeptGlyphs {
    bool Laid = false;  // seen once only: not laid out yet
    TTextGlyphs Glyphs;
  };
  TTextTable<TKeptGlyphs> FLayouts{MaxLayouts};
};

TTextCache& Cache() {
  static TTextCache* cache = new TTextCache();  // used by canvases until the process ends
  return *cache;
}

}  // namespace

std::shared_ptr<const TFontFace> GfxFontFace(const QFont& font) { return Cache().Face(font); }

int GfxTextWidth(const TFontFace& face, const std::string& text) { return Cache().Width(face, text); }

bool GfxTextGlyphs(const TFontFace& face, const std::string& text, QPaintDevice* device, Qt::LayoutDirection direction,
                   TTextGlyphs& glyphs) {
  return Cache().Glyphs(face, text, device, direction, glyphs);
}
