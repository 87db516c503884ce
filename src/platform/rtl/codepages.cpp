#include "platform/rtl/codepages.h"

namespace {

// Code points of Windows-1252 bytes 0x80..0x9F; the five undefined bytes map
// to the control character of the same number, as the platform does.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code points of CP850 bytes 0x80..0xFF.
const char16_t kCp850High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0};

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::vector<uint32_t> Utf8CodePoints(const std::string& s) {
  std::vector<uint32_t> r;
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int n = 0;
    uint32_t cp = 0;
    if (c < 0x80) { cp = c; n = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 2; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 3; }
    else { r.push_back(0xFFFD); ++i; continue; }
    bool ok = true;
    for (int k = 1; k <= n; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (!ok) { r.push_back(0xFFFD); ++i; continue; }
    r.push_back(cp);
    i += static_cast<size_t>(n) + 1;
  }
  return r;
}

std::string Cp1252ToUtf8(const std::string& s) {
  if (IsAscii(s)) return s;
  std::string out;
  out.reserve(s.size() + 8);
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) out += ch;
    else if (c < 0xA0) AppendUtf8(out, kCp1252High[c - 0x80]);
    else AppendUtf8(out, c);
  }
  return out;
}

bool Utf8ToCp1252(const std::string& s, std::string& out) {
  out.clear();
  if (IsAscii(s)) { out = s; return true; }
  for (uint32_t cp : Utf8CodePoints(s)) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) { out += static_cast<char>(cp); continue; }
    bool found = false;
    for (int i = 0; i < 32; ++i)
      if (kCp1252High[i] == cp) { out += static_cast<char>(0x80 + i); found = true; break; }
    if (!found) return false;
  }
  return true;
}

std::string Cp850ToUtf8(const std::string& s) {
  if (IsAscii(s)) return s;
  std::string out;
  out.reserve(s.size() + 8);
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) out += ch;
    else AppendUtf8(out, kCp850High[c - 0x80]);
  }
  return out;
}

bool Utf8ToCp850(const std::string& s, std::string& out) {
  out.clear();
  if (IsAscii(s)) { out = s; return true; }
  for (uint32_t cp : Utf8CodePoints(s)) {
    if (cp < 0x80) { out += static_cast<char>(cp); continue; }
    bool found = false;
    for (int i = 0; i < 128; ++i)
      if (kCp850High[i] == cp) { out += static_cast<char>(0x80 + i); found = true; break; }
    if (!found) return false;
  }
  return true;
}

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string r;
  for (uint32_t cp : Utf8CodePoints(s)) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      r += static_cast<char16_t>(0xD800 + (cp >> 10));
      r += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      r += static_cast<char16_t>(cp);
    }
  }
  return r;
}

std::string Utf16ToUtf8(const std::u16string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    AppendUtf8(r, cp);
  }
  return r;
}
