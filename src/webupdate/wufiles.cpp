#include "webupdate/wufiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/sysinfo.h"

void TByteSum::Add(const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t s = FSum;
  for (size_t i = 0; i < size; ++i) s += p[i];
  FSum = s;
}

int32_t ByteSumChecksum(const std::string& fileName) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return -1;
  TByteSum sum;
  unsigned char block[4096];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) sum.Add(block, n);
  std::fclose(f);
  return sum.Value();
}

int32_t GetFileSizeOf(const std::string& fileName) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return -1;
  std::fclose(f);
  const long long size = FileSize(fileName);
  return size < 0 ? -1 : static_cast<int32_t>(static_cast<uint32_t>(size & 0xFFFFFFFFll));
}

// ---- Version resources of program files ------------------------------------

namespace {

uint32_t U16(const std::string& s, size_t at) {
  return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}
uint32_t U32(const std::string& s, size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

struct TSection {
  uint32_t VirtualAddress, VirtualSize, RawSize, RawOffset;
};

// The file offset of an RVA, with the bytes available from there; false
// when no section holds it.
bool MapRva(const std::vector<TSection>& sections, const std::string& image, uint32_t rva, size_t& offset,
            size_t& available) {
  for (const TSection& s : sections) {
    const uint32_t extent = std::max(s.VirtualSize, s.RawSize);
    if (rva >= s.VirtualAddress && rva - s.VirtualAddress < extent) {
      const uint64_t delta = rva - s.VirtualAddress;
      if (delta >= s.RawSize) return false;
      const uint64_t at = static_cast<uint64_t>(s.RawOffset) + delta;
      if (at >= image.size()) return false;
      offset = static_cast<size_t>(at);
      available = static_cast<size_t>(std::min<uint64_t>(image.size() - at, s.RawSize - delta));
      return true;
    }
  }
  return false;
}

}  // namespace

TVersionNumber FileVersionOfImage(const std::string& image) {
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') return NoVersion;
  const uint32_t pe = U32(image, 0x3C);
  if (pe > image.size() || image.size() - pe < 24 || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
    return NoVersion;
  const uint32_t sectionCount = U16(image, pe + 6);
  const uint32_t optionalSize = U16(image, pe + 20);
  const size_t optional = pe + 24;
  if (image.size() - optional < optionalSize || optionalSize < 2) return NoVersion;
  const uint32_t magic = U16(image, optional);
  size_t countAt, dirsAt;
  if (magic == 0x10B) {
    countAt = optional + 92, dirsAt = optional + 96;
  } else if (magic == 0x20B) {
    countAt = optional + 108, dirsAt = optional + 112;
  } else {
    return NoVersion;
  }
  if (countAt + 4 > optional + optionalSize) return NoVersion;
  const uint32_t dirCount = U32(image, countAt);
  if (dirCount < 3 || dirsAt + 3 * 8 > optional + optionalSize) return NoVersion;
  const uint32_t resourceRva = U32(image, dirsAt + 16);
  std::vector<TSection> sections;
  const size_t table = optional + optionalSize;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    const size_t at = table + 40 * static_cast<size_t>(i);
    if (at + 40 > image.size()) return NoVersion;
    sections.push_back({U32(image, at + 12), U32(image, at + 8), U32(image, at + 16), U32(image, at + 20)});
  }
  size_t root, rootSize;
  if (resourceRva == 0 || !MapRva(sections, image, resourceRva, root, rootSize)) return NoVersion;
  // Offsets inside the resource tree are from its root.
  auto entryOf = [&](uint32_t dirOffset, bool wantId, uint32_t id, uint32_t& target) {
    if (dirOffset > rootSize || rootSize - dirOffset < 16) return false;
    const size_t dir = root + dirOffset;
    const uint32_t named = U16(image, dir + 12), ids = U16(image, dir + 14);
    const uint64_t total = static_cast<uint64_t>(named) + ids;
    for (uint64_t k = 0; k < total; ++k) {
      const uint64_t e = dirOffset + 16 + 8 * k;
      if (e + 8 > rootSize) return false;
      const uint32_t name = U32(image, root + e);
      if (wantId && (name & 0x80000000u || name != id)) continue;
      target = U32(image, root + e + 4);
      return true;
    }
    return false;
  };
  uint32_t level;
  if (!entryOf(0, true, 16, level) || !(level & 0x80000000u)) return NoVersion;  // RT_VERSION
  uint32_t language;
  if (!entryOf(level & 0x7FFFFFFFu, false, 0, language) || !(language & 0x80000000u)) return NoVersion;
  uint32_t dataEntry;
  if (!entryOf(language & 0x7FFFFFFFu, false, 0, dataEntry) || (dataEntry & 0x80000000u)) return NoVersion;
  if (dataEntry > rootSize || rootSize - dataEntry < 16) return NoVersion;
  const uint32_t dataRva = U32(image, root + dataEntry), dataSize = U32(image, root + dataEntry + 4);
  size_t data, available;
  if (!MapRva(sections, image, dataRva, data, available)) return NoVersion;
  const size_t size = std::min<size_t>(available, dataSize);
  // VS_VERSIONINFO: three words, the key "VS_VERSION_INFO" in UTF-16 with its
  // 0, padding to 32 bits, then the fixed part.
  const size_t fixed = (6 + 32 + 3) & ~size_t(3);
  if (size < fixed + 16) return NoVersion;
  if (U32(image, data + fixed) != 0xFEEF04BDu) return NoVersion;
  return {static_cast<int32_t>(U32(image, data + fixed + 8)), static_cast<int32_t>(U32(image, data + fixed + 12))};
}

TVersionNumber GetFileVersion(const std::string& fileName) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return NoVersion;
  // Version resources sit in the image's first megabytes; a larger file is
  // read only that far.
  std::string image;
  char block[65536];
  size_t n;
  while (image.size() < (64u << 20) && (n = std::fread(block, 1, sizeof block, f)) > 0) image.append(block, n);
  std::fclose(f);
  return FileVersionOfImage(image);
}

// ---- Version texts ----------------------------------------------------------

namespace {

// The platform's integer conversion: an optional sign and decimal digits.
bool ToInt(const std::string& s, int64_t& v) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size() || s.size() - i > 10) return false;
  int64_t r = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    r = r * 10 + (s[i] - '0');
  }
  if (r > 2147483647ll + (negative ? 1 : 0)) return false;
  v = negative ? -r : r;
  return true;
}

}  // namespace

TVersionNumber TextToVersion(const std::string& text) {
  char separator = 0;
  if (text.find(',') != std::string::npos)
    separator = ',';
  else if (text.find('.') != std::string::npos)
    separator = '.';
  std::vector<std::string> parts;
  if (separator) {
    size_t start = 0;
    for (;;) {
      const size_t at = text.find(separator, start);
      parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
      if (at == std::string::npos || parts.size() == 4) break;
      start = at + 1;
    }
  } else {
    parts.push_back(text);
  }
  int64_t p[4] = {0, 0, 0, 0};
  const size_t checked = std::min<size_t>(parts.size(), 3);
  for (size_t i = 0; i < checked; ++i)
    if (!ToInt(parts[i], p[i])) return NoVersion;
  const auto word = [](int64_t hi, int64_t lo) {
    return static_cast<int32_t>(static_cast<uint32_t>(hi) * 65536u + (static_cast<uint32_t>(lo) & 0xFFFFu));
  };
  TVersionNumber v{word(p[0], parts.size() >= 2 ? p[1] : 0), 0};
  if (parts.size() >= 3) v.Low = word(p[2], 0);
  if (parts.size() == 4) v.Low = ToInt(parts[3], p[3]) ? word(p[2], p[3]) : -1;
  return v;
}

std::string VersionToText(const TVersionNumber& version) {
  const uint32_t hi = static_cast<uint32_t>(version.High), lo = static_cast<uint32_t>(version.Low);
  return std::to_string(hi >> 16) + "." + std::to_string(hi & 65535) + "." + std::to_string(lo >> 16) + "." +
         std::to_string(lo & 65535);
}

// ---- Folders and names ------------------------------------------------------

std::string LocalPath(const std::string& path) {
  std::string s = path;
  for (char& ch : s)
    if (ch == '\\') ch = '/';
  return s;
}

bool ReplaceFile(const std::string& temp, const std::string& target) {
  struct stat st;
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::chmod(temp.c_str(), mode);
  return std::rename(temp.c_str(), target.c_str()) == 0;
}

bool ForceFolderPath(const std::string& folder) {
  std::string f = LocalPath(folder);
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  if (f.empty() || f == "/" || DirectoryExists(f)) return true;
  return ForceDirectories(f);
}

bool TextInList(const std::string& name, const std::string& list) {
  const std::string wanted = UpperCase(name);
  if (wanted.empty()) return false;
  size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && (list[i] == ' ' || list[i] == '\t')) ++i;
    const size_t start = i;
    while (i < list.size() && list[i] != ' ' && list[i] != '\t') ++i;
    if (i > start && UpperCase(list.substr(start, i - start)) == wanted) return true;
  }
  return false;
}

std::string InstallationPrefix() {
  std::string folder = ExcludeTrailingPathDelimiter(ProgramFolder());
  if (ExtractFileName(folder) == "bin") folder = ExcludeTrailingPathDelimiter(ExtractFilePath(folder));
  return folder.empty() ? std::string("/") : folder;
}

namespace {

bool Within(const std::string& path, std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  if (root.empty() || root == "/") return false;  // the whole file system is not a folder of ours
  return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          path[root.size()] == '/');
}

}  // namespace

bool IsSafeTarget(const std::string& target) {
  const std::string path = LocalPath(target);
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (path.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  const bool drive = path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
  if (drive) return false;
  if (path.empty() || path[0] != '/') return true;
  // Repeated separators and "." segments do not change where a path leads.
  std::string clean;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '/' && !clean.empty() && clean.back() == '/') continue;
    clean += path[i];
  }
  std::string normal;
  start = 0;
  while (start < clean.size()) {
    size_t end = clean.find('/', start);
    if (end == std::string::npos) end = clean.size();
    const std::string part = clean.substr(start, end - start);
    if (!part.empty() && part != ".") normal += "/" + part;
    start = end + 1;
  }
  if (normal.empty()) normal = "/";
  const std::string roots[] = {GetCurrentDir(), ProgramFolder(), InstallationPrefix(), TempFolder(),
                               ConfigFolder()};
  for (const std::string& root : roots)
    if (Within(normal, root)) return true;
  return false;
}

std::string ExpandPrefixes(const std::string& text, const std::function<std::string(const std::string&)>& resolve) {
  std::string s = text;
  size_t i = 0;
  size_t open = std::string::npos;
  while (i < s.size()) {
    if (s[i] == '{' && open == std::string::npos) {
      open = i;
    } else if (s[i] == '}' && open != std::string::npos) {
      const std::string name = UpperCase(s.substr(open + 1, i - open - 1));
      const std::string folder = resolve(name);
      if (!folder.empty()) {
        s.replace(open, i - open + 1, folder);
        // On after the inserted text: a folder that holds braces is not read again.
        i = open + folder.size();
        open = std::string::npos;
        continue;
      }
      open = std::string::npos;
    }
    ++i;
  }
  return s;
}
