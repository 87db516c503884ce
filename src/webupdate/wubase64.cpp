#include "webupdate/wubase64.h"

std::string EncodeBase64(const std::string& text) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((text.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= text.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(text[i]) << 16) | (static_cast<unsigned char>(text[i + 1]) << 8) |
                       static_cast<unsigned char>(text[i + 2]);
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += alphabet[(v >> 6) & 63];
    out += alphabet[v & 63];
  }
  const size_t rest = text.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(text[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(text[i + 1]) << 8;
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += rest == 2 ? alphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}
