#include "platform/ui/rtftext.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/rtl/codepages.h"

namespace {

// Destinations whose content is not document text.
bool SkippedDestination(std::string_view w) {
  static constexpr std::string_view names[] = {
      "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl", "headerr", "headerf",
      "footerl", "footerr", "footerf", "footnote", "object", "listtable", "listoverridetable", "rsidtbl",
      "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore", "fldinst",
      "filetbl", "revtbl", "pgdsctbl", "operator", "author", "title", "subject", "comment", "keywords"};
  for (std::string_view n : names)
    if (w == n) return true;
  return false;
}

struct TGroupState {
  bool Skip = false;
  int UnicodeSkip = 1;
};

}  // namespace

bool IsRTFDocument(const std::string& Text) { return Text.rfind("{\\rtf", 0) == 0; }

std::string RTFToPlainText(const std::string& Rtf) {
  std::string out;
  std::vector<TGroupState> stack{TGroupState{}};
  int pendingSkip = 0;  // fallback characters still to drop after \uN
  uint32_t highSurrogate = 0;
  std::string pars;      // paragraph breaks not yet written (none after the last)
  auto emit = [&](const std::string& s) {
    if (stack.back().Skip) return;
    if (pendingSkip > 0) {
      --pendingSkip;
      return;
    }
    out += pars;
    pars.clear();
    out += s;
  };
  const size_t n = Rtf.size();
  size_t i = 0;
  bool destinationNext = false;
  while (i < n) {
    const char ch = Rtf[i];
    if (ch == '{') {
      stack.push_back(stack.back());
      ++i;
      destinationNext = true;
      continue;
    }
    if (ch == '}') {
      if (stack.size() <= 1) break;
      stack.pop_back();
      ++i;
      destinationNext = false;
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    const bool atGroupStart = destinationNext;
    destinationNext = false;
    if (ch != '\\') {
      std::string c(1, ch);
      emit(static_cast<unsigned char>(ch) < 0x80 ? c : Cp1252ToUtf8(c));
      ++i;
      continue;
    }
    // A control symbol or word.
    if (i + 1 >= n) break;
    const char next = Rtf[i + 1];
    if (!std::isalpha(static_cast<unsigned char>(next))) {
      i += 2;
      switch (next) {
        case '\\': case '{': case '}': emit(std::string(1, next)); break;
        case '~': emit("\xC2\xA0"); break;
        case '_': emit("-"); break;
        case '*':
          if (atGroupStart) stack.back().Skip = true;
          break;
        case '\'':
          if (i + 2 <= n && std::isxdigit(static_cast<unsigned char>(Rtf[i])) &&
              std::isxdigit(static_cast<unsigned char>(Rtf[i + 1]))) {
            const std::string c(1, static_cast<char>(std::stoi(Rtf.substr(i, 2), nullptr, 16)));
            i += 2;
            emit(Cp1252ToUtf8(c));
          }
          break;
        case '\r': case '\n': emit("\r\n"); break;
        default: break;
      }
      continue;
    }
    size_t j = i + 1;
    while (j < n && std::isalpha(static_cast<unsigned char>(Rtf[j])) && j - i < 33) ++j;
    const std::string_view word(Rtf.data() + i + 1, j - i - 1);
    bool hasParam = false, negative = false;
    int64_t param = 0;
    if (j < n && Rtf[j] == '-') {
      negative = true;
      ++j;
    }
    while (j < n && std::isdigit(static_cast<unsigned char>(Rtf[j]))) {
      if (param < 100000000) param = param * 10 + (Rtf[j] - '0');
      hasParam = true;
      ++j;
    }
    if (negative) param = -param;
    if (j < n && Rtf[j] == ' ') ++j;
    i = j;
    if (atGroupStart && SkippedDestination(word)) {
      stack.back().Skip = true;
      continue;
    }
    if (word == "par" || word == "line" || word == "sect" || word == "page") {
      if (!stack.back().Skip) {
        pars += "\r\n";
      }
    } else if (word == "tab") {
      emit("\t");
    } else if (word == "uc" && hasParam) {
      stack.back().UnicodeSkip = static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(param, 8)));
    } else if (word == "u" && hasParam) {
      const uint32_t cp = static_cast<uint32_t>(param < 0 ? param + 65536 : param) & 0xFFFF;
      if (cp >= 0xD800 && cp < 0xDC00) {
        highSurrogate = cp;
      } else {
        std::string s;
        if (cp >= 0xDC00 && cp < 0xE000)
          AppendUtf8(s, highSurrogate ? 0x10000 + ((highSurrogate - 0xD800) << 10) + (cp - 0xDC00) : 0xFFFD);
        else
          AppendUtf8(s, cp);
        highSurrogate = 0;
        emit(s);
      }
      pendingSkip = stack.back().Skip ? 0 : stack.back().UnicodeSkip;
    } else if (word == "emdash") {
      emit("\xE2\x80\x94");
    } else if (word == "endash") {
      emit("\xE2\x80\x93");
    } else if (word == "bullet") {
      emit("\xE2\x80\xA2");
    } else if (word == "lquote") {
      emit("\xE2\x80\x98");
    } else if (word == "rquote") {
      emit("\xE2\x80\x99");
    } else if (word == "ldblquote") {
      emit("\xE2\x80\x9C");
    } else if (word == "rdblquote") {
      emit("\xE2\x80\x9D");
    }
  }
  return out;
}

std::string PlainTextToRTF(const std::string& Text) {
  std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 ";
  const std::vector<uint32_t> cps = Utf8CodePoints(Text);
  for (size_t k = 0; k < cps.size(); ++k) {
    const uint32_t c = cps[k];
    if (c == '\r') {
      if (k + 1 < cps.size() && cps[k + 1] == '\n') ++k;
      out += "\\par ";
    } else if (c == '\n') {
      out += "\\par ";
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x10000) {
      out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    } else {
      // Outside the basic plane: the two UTF-16 halves.
      const uint32_t v = c - 0x10000;
      out += "\\u" + std::to_string(static_cast<int16_t>(0xD800 + (v >> 10))) + "?";
      out += "\\u" + std::to_string(static_cast<int16_t>(0xDC00 + (v & 0x3FF))) + "?";
    }
  }
  return out + "}";
}
