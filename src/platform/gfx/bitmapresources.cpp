#include <map>

#include "platform/gfx/compiledbitmaps.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/streams.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

const std::map<std::string, const TCompiledBitmap*>& Index() {
  static const std::map<std::string, const TCompiledBitmap*> index = [] {
    std::map<std::string, const TCompiledBitmap*> m;
    for (std::size_t i = 0; i < kCompiledBitmapCount; ++i) m[Upper(kCompiledBitmaps[i].Name)] = &kCompiledBitmaps[i];
    return m;
  }();
  return index;
}

}  // namespace

std::unique_ptr<TBitmap> LoadCompiledBitmap(const std::string& name) {
  const auto it = Index().find(Upper(name));
  if (it == Index().end()) return nullptr;
  TMemoryStream stream;
  stream.WriteBuffer(it->second->Bytes, static_cast<int64_t>(it->second->Size));
  stream.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromStream(stream);
  return bitmap;
}
