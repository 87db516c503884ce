// The clipboard: text, bitmaps, metafiles (enhanced, as EMF bytes) and
// private formats registered by name. Open/Close group several formats into
// one clipboard content.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/metafile.h"

using TClipboardFormat = unsigned;
constexpr TClipboardFormat CF_TEXT = 1, CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_DIB = 8, CF_UNICODETEXT = 13,
                           CF_ENHMETAFILE = 14;

// A format number (from 0xC000) for a name; the same name gives the same
// number. Mime is the type the format travels as between programs; without
// one a type of our own is made from the name ("Rich Text Format" is
// "text/rtf"). The first registration of a name fixes its type.
TClipboardFormat RegisterClipboardFormat(const std::string& Name, const std::string& Mime = std::string());

// Setting one format keeps the others already on the clipboard; SetAsText
// and Assign empty it first.
class TClipboard : public TObject {
public:
  std::string ClassName() const override { return "TClipboard"; }
  void Open();
  void Close();
  void Clear();
  bool HasFormat(TClipboardFormat Format) const;
  std::string AsText() const;
  void SetAsText(const std::string& Text);
  // Puts a bitmap or metafile on the clipboard (TGraphic of either kind).
  void Assign(const TGraphic* Source);
  // False when the clipboard holds no picture of that kind.
  bool GetBitmap(TBitmap* Dest) const;
  bool GetMetafile(TMetafile* Dest) const;
  // Raw bytes of any format (private formats, or the text as UTF-8).
  void SetBuffer(TClipboardFormat Format, const std::vector<uint8_t>& Data);
  std::vector<uint8_t> GetBuffer(TClipboardFormat Format) const;

private:
  // Metafiles cannot be read back from bytes: the last one put on the
  // clipboard is kept here, tied to that clipboard content by a token.
  std::unique_ptr<TMetafile> FMetafile;
  uint64_t FMetafileToken = 0;
  int FOpenCount = 0;
  void* FPending = nullptr;  // the content being assembled while open
  void Commit();
  void* Pending();
};

TClipboard* Clipboard();
