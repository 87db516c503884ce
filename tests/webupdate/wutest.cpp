#include "wutest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/tempdir.h"

namespace wutest {

namespace {

void Put16(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>(v & 255);
  s[at + 1] = static_cast<char>((v >> 8) & 255);
}
void Put32(std::string& s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}

}  // namespace

std::string SzddFile(const std::string& data, char missing) {
  std::string out("SZDD\x88\xF0\x27\x33", 8);
  out += 'A';
  out += missing;
  std::string length(4, '\0');
  Put32(length, 0, static_cast<uint32_t>(data.size()));
  out += length;
  for (size_t i = 0; i < data.size(); i += 8) {
    const size_t n = std::min<size_t>(8, data.size() - i);
    out += static_cast<char>(0xFF);  // eight literals follow
    out += data.substr(i, n);
  }
  return out;
}

std::string PeWithVersion(uint16_t major, uint16_t minor, uint16_t release, uint16_t build) {
  const uint32_t peAt = 0x40, optionalSize = 224, sectionRva = 0x1000, rawAt = 0x200;
  std::string image(rawAt, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, peAt);
  image.replace(peAt, 4, std::string("PE\0\0", 4));
  Put16(image, peAt + 4, 0x14C);  // i386
  Put16(image, peAt + 6, 1);      // one section
  Put16(image, peAt + 20, optionalSize);
  const uint32_t opt = peAt + 24;
  Put16(image, opt, 0x10B);
  Put32(image, opt + 92, 16);  // data directories
  // The resource section: root -> type 16 -> name 1 -> language 0x409 -> data.
  std::string rsrc(0x200, '\0');
  auto dir = [&](uint32_t at, uint32_t id, uint32_t target) {
    Put16(rsrc, at + 14, 1);  // one entry by id
    Put32(rsrc, at + 16, id);
    Put32(rsrc, at + 20, target);
  };
  dir(0x00, 16, 0x80000000u | 0x18);
  dir(0x18, 1, 0x80000000u | 0x30);
  dir(0x30, 0x409, 0x48);  // a data entry
  const uint32_t version = 0x60;
  Put32(rsrc, 0x48, sectionRva + version);
  Put32(rsrc, 0x4C, 92);
  Put16(rsrc, version, 92);
  Put16(rsrc, version + 2, 52);
  const std::string key = "VS_VERSION_INFO";
  for (size_t i = 0; i < key.size(); ++i) Put16(rsrc, version + 6 + 2 * i, static_cast<unsigned char>(key[i]));
  const uint32_t fixed = version + 40;
  Put32(rsrc, fixed, 0xFEEF04BDu);
  Put32(rsrc, fixed + 4, 0x10000);
  Put32(rsrc, fixed + 8, static_cast<uint32_t>(major) << 16 | minor);
  Put32(rsrc, fixed + 12, static_cast<uint32_t>(release) << 16 | build);
  Put32(image, opt + 96 + 2 * 8, sectionRva);
  Put32(image, opt + 96 + 2 * 8 + 4, 0x200);
  const uint32_t section = opt + optionalSize;
  image.replace(section, 5, ".rsrc");
  Put32(image, section + 8, 0x200);
  Put32(image, section + 12, sectionRva);
  Put32(image, section + 16, 0x200);
  Put32(image, section + 20, rawAt);
  return image + rsrc;
}

bool MakeCabinet(const std::string& folder, const std::string& cabinet, const std::vector<std::string>& files) {
  std::string command = "cd '" + folder + "' && gcab -c '" + cabinet + "'";
  for (const std::string& f : files) command += " '" + f + "'";
  command += " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool PatchBytes(const std::string& fileName, const std::string& from, const std::string& to) {
  std::string data = TTempDir::Read(fileName);
  const size_t at = data.find(from);
  if (at == std::string::npos || from.size() != to.size()) return false;
  data.replace(at, from.size(), to);
  FILE* f = std::fopen(fileName.c_str(), "wb");
  if (!f) return false;
  std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  return true;
}

}  // namespace wutest
