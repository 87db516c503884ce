#include "webupdate/cabfdi.h"

#include <mspack.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/filetimes.h"
#include "platform/rtl/tempfiles.h"
#include "webupdate/wufiles.h"

namespace {

// An entry's name inside the cabinet, as a relative path below the target;
// false for an absolute name or one that climbs out.
bool EntryPath(const char* name, std::string& path) {
  if (!name || !*name) return false;
  path = LocalPath(name);
  if (path[0] == '/') return false;
  if (path.size() >= 2 && path[1] == ':') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end - start == 2 && path.compare(start, 2, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

struct TCabDecompressor {
  mscab_decompressor* D = mspack_create_cab_decompressor(nullptr);
  ~TCabDecompressor() {
    if (D) mspack_destroy_cab_decompressor(D);
  }
};

}  // namespace

int ExtractCabinet(const std::string& cabinetFile, const std::string& targetFolder) {
  if (FILE* f = std::fopen(cabinetFile.c_str(), "rb"))
    std::fclose(f);
  else
    return -1;
  TCabDecompressor cabd;
  if (!cabd.D) return -1;
  mscabd_cabinet* cab = cabd.D->open(cabd.D, const_cast<char*>(cabinetFile.c_str()));
  if (!cab) return -1;
  std::string target = LocalPath(targetFolder);
  if (!target.empty() && target.back() != '/') target += '/';
  // Every name is checked before the first byte is written.
  std::vector<std::pair<mscabd_file*, std::string>> entries;
  bool ok = true;
  for (mscabd_file* f = cab->files; f && ok; f = f->next) {
    std::string path;
    ok = EntryPath(f->filename, path);
    if (ok) entries.push_back({f, path});
  }
  for (size_t i = 0; ok && i < entries.size(); ++i) {
    mscabd_file* f = entries[i].first;
    const std::string out = target + entries[i].second;
    const std::string folder = ExtractFilePath(out);
    if (!folder.empty() && !ForceFolderPath(folder)) {
      ok = false;
      break;
    }
    // Each file appears whole or not at all.
    const std::string temp = GetTempFileName(folder.empty() ? "." : folder, "WUPD");
    if (temp.empty() || cabd.D->extract(cabd.D, f, const_cast<char*>(temp.c_str())) != MSPACK_ERR_OK ||
        !ReplaceFile(temp, out)) {
      if (!temp.empty()) std::remove(temp.c_str());
      ok = false;
      break;
    }
    TDateTime when;
    const uint16_t dosDate = static_cast<uint16_t>(((f->date_y - 1980) << 9) | (f->date_m << 5) | f->date_d);
    const uint16_t dosTime = static_cast<uint16_t>((f->time_h << 11) | (f->time_m << 5) | (f->time_s / 2));
    if (f->date_y >= 1980 && DosDateTimeToDateTime(dosDate, dosTime, when)) FileSetDate(out, when);
  }
  cabd.D->close(cabd.D, cab);
  return ok ? 0 : -1;
}

namespace {

struct TSzddDecompressor {
  msszdd_decompressor* D = mspack_create_szdd_decompressor(nullptr);
  ~TSzddDecompressor() {
    if (D) mspack_destroy_szdd_decompressor(D);
  }
};

// The header's missing character; false when the file is not SZDD.
bool ReadSzddHeader(const std::string& fileName, char& missing) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return false;
  unsigned char header[14];
  const size_t n = std::fread(header, 1, sizeof header, f);
  std::fclose(f);
  static const unsigned char signature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
  if (n < sizeof header || std::memcmp(header, signature, 8) != 0 || header[8] != 'A') return false;
  missing = static_cast<char>(header[9]);
  return true;
}

}  // namespace

std::string LZExpandedName(const std::string& fileName) {
  char missing;
  if (!ReadSzddHeader(fileName, missing)) return std::string();
  const std::string name = ExtractFileName(fileName);
  if (name.empty() || name.back() != '_') return std::string();  // would expand onto itself
  std::string expanded = name.substr(0, name.size() - 1);
  // The kept character must not turn the name into a path.
  if (missing != 0) {
    if (missing == '/' || missing == '\\' || static_cast<unsigned char>(missing) < 32) return std::string();
    expanded += missing;
  }
  if (expanded.empty() || expanded == "." || expanded == "..") return std::string();
  return ExtractFilePath(fileName) + expanded;
}

bool ExpandLZFileTo(const std::string& fileName, const std::string& target) {
  if (target.empty() || target == fileName) return false;
  char missing;
  if (!ReadSzddHeader(fileName, missing)) return false;
  TSzddDecompressor d;
  if (!d.D) return false;
  const std::string folder = ExtractFilePath(target);
  const std::string temp = GetTempFileName(folder.empty() ? "." : folder, "WUPD");
  if (temp.empty()) return false;
  const bool ok = d.D->decompress(d.D, const_cast<char*>(fileName.c_str()), const_cast<char*>(temp.c_str())) ==
                  MSPACK_ERR_OK;
  if (!ok || !ReplaceFile(temp, target)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool ExpandLZFile(const std::string& fileName) {
  const std::string target = LZExpandedName(fileName);
  if (target.empty() || !ExpandLZFileTo(fileName, target)) return false;
  DeleteFile(fileName);
  return true;
}
