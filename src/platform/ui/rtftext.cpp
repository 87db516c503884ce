#include "platform/ui/rtftext.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rtl/codepages.h"

namespace {

// Destinations whose content is not document text.
bool SkippedDestination(std::string_view w) {
  static constexpr std::string_view names[] = {
      "stylesheet", "info", "pict", "header", "footer", "headerl", "headerr", "headerf", "footerl", "footerr",
      "footerf", "footnote", "object", "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl",
      "themedata", "colorschememapping", "latentstyles", "datastore", "fldinst", "filetbl", "revtbl", "pgdsctbl",
      "operator", "author", "title", "subject", "comment", "keywords", "nonshppict", "shppict", "bkmkstart",
      "bkmkend", "private"};
  for (std::string_view n : names)
    if (w == n) return true;
  return false;
}

// The character (UTF-8) a symbol word stands for; nil for other words.
const char* SymbolCharacter(std::string_view w) {
  static constexpr std::pair<std::string_view, const char*> symbols[] = {
      {"emdash", "\xE2\x80\x94"}, {"endash", "\xE2\x80\x93"},    {"bullet", "\xE2\x80\xA2"},
      {"lquote", "\xE2\x80\x98"}, {"rquote", "\xE2\x80\x99"},    {"ldblquote", "\xE2\x80\x9C"},
      {"rdblquote", "\xE2\x80\x9D"}};
  for (const auto& [name, c] : symbols)
    if (w == name) return c;
  return nullptr;
}

void Switch(TFontStyles& styles, TFontStyle style, bool on) {
  if (on) styles.Include(style);
  else styles.Exclude(style);
}

enum TDestination { dText, dSkip, dFontTable, dColorTable };

// What a group carries: where its text goes and the formatting in effect.
struct TGroupState {
  TDestination Dest = dText;
  int UnicodeSkip = 1;
  int Font = -1;  // \fN in effect; -1 for none (the default font)
  TRTFCharFormat Format;  // FontName unused: resolved from Font when text arrives
  TAlignment Alignment = taLeftJustify;
};

// Groups kept with their own state; deeper ones share the deepest kept
// state, so that nesting costs no memory beyond a bit a level.
constexpr size_t MaxKeptDepth = 256;
// Numbers are clipped to this magnitude (enough for every value used).
constexpr int64_t MaxParam = 1000000000;
// Sizes kept from \fsN, in half points.
constexpr int MinHalfPoints = 2, MaxHalfPoints = 3276;

class TRTFReader {
public:
  explicit TRTFReader(const std::string& rtf) : FRtf(rtf) {}
  TRTFDocument Read();

private:
  TGroupState& State() { return FStack.back(); }
  void OpenGroup();
  bool CloseGroup();  // false at the outermost level
  void ControlWord(std::string_view word, bool hasParam, int64_t param, bool atGroupStart);
  void ControlSymbol(char c, bool atGroupStart);
  // One character (UTF-8) of text, or the fallback of a \uN being dropped.
  void Emit(const std::string& s);
  void EndParagraph();
  void CommitFont();
  void CommitColor();

  const std::string& FRtf;
  size_t FPos = 0;
  std::vector<TGroupState> FStack{TGroupState{}};
  std::vector<bool> FDeepSkips;  // groups beyond MaxKeptDepth: whether each skips its text
  int FPendingSkip = 0;
  uint32_t FHighSurrogate = 0;
  TRTFDocument FDoc;
  TRTFParagraph FPara;
  bool FParaOpen = false;  // text or a line break arrived since the last paragraph mark
  int FDefaultFont = 0;
  std::map<int, std::string> FFonts;
  int FFontEntry = 0;
  std::string FFontName;
  std::vector<TColor> FColors;
  int FRed = 0, FGreen = 0, FBlue = 0;
  bool FColorGiven = false;
};

void TRTFReader::OpenGroup() {
  if (!FDeepSkips.empty()) FDeepSkips.push_back(FDeepSkips.back());
  else if (FStack.size() >= MaxKeptDepth) FDeepSkips.push_back(State().Dest == dSkip);
  else FStack.push_back(State());
}

bool TRTFReader::CloseGroup() {
  if (!FDeepSkips.empty()) {
    FDeepSkips.pop_back();
    return true;
  }
  if (FStack.size() <= 1) return false;
  if (State().Dest == dFontTable && !FFontName.empty()) CommitFont();
  FStack.pop_back();
  return true;
}

void TRTFReader::CommitFont() {
  std::string name = FFontName;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  FFonts[FFontEntry] = name;
  FFontName.clear();
}

void TRTFReader::CommitColor() {
  FColors.push_back(FColorGiven ? static_cast<TColor>(FRed | FGreen << 8 | FBlue << 16) : clDefault);
  FRed = FGreen = FBlue = 0;
  FColorGiven = false;
}

void TRTFReader::Emit(const std::string& s) {
  const TDestination dest = !FDeepSkips.empty() && FDeepSkips.back() ? dSkip : State().Dest;
  if (dest == dSkip) return;
  if (FPendingSkip > 0) {
    --FPendingSkip;
    return;
  }
  if (dest == dFontTable) {
    if (s == ";") CommitFont();
    else FFontName += s;
    return;
  }
  if (dest == dColorTable) {
    if (s == ";") CommitColor();
    return;
  }
  TRTFCharFormat f = State().Format;
  const auto font = FFonts.find(State().Font);
  if (font != FFonts.end()) f.FontName = font->second;
  FPara.Add(s, f);
  FPara.Alignment = State().Alignment;
  FParaOpen = true;
}

void TRTFReader::EndParagraph() {
  if (State().Dest != dText || (!FDeepSkips.empty() && FDeepSkips.back())) return;
  FPara.Alignment = State().Alignment;
  FDoc.Paragraphs.push_back(std::move(FPara));
  FPara = TRTFParagraph{};
  FParaOpen = false;
}

void TRTFReader::ControlSymbol(char c, bool atGroupStart) {
  switch (c) {
    case '\\': case '{': case '}': Emit(std::string(1, c)); break;
    case '~': Emit("\xC2\xA0"); break;
    case '_': Emit("-"); break;
    case '*':
      if (atGroupStart) {
        if (!FDeepSkips.empty()) FDeepSkips.back() = true;
        else State().Dest = dSkip;
      }
      break;
    case '\'': {
      // Two hex digits; fewer (a cut escape) give nothing.
      size_t digits = 0;
      while (digits < 2 && FPos + digits < FRtf.size() &&
             std::isxdigit(static_cast<unsigned char>(FRtf[FPos + digits])))
        ++digits;
      if (digits == 2) Emit(Cp1252ToUtf8(std::string(1, static_cast<char>(std::stoi(FRtf.substr(FPos, 2), nullptr, 16)))));
      FPos += digits;
      break;
    }
    case '\r': case '\n': EndParagraph(); break;
    default: break;  // \- (optional hyphen), \: and the like
  }
}

void TRTFReader::ControlWord(std::string_view word, bool hasParam, int64_t param, bool atGroupStart) {
  TGroupState& st = State();
  const bool deep = !FDeepSkips.empty();
  if (atGroupStart) {
    if (word == "fonttbl" && !deep) {
      st.Dest = dFontTable;
      return;
    }
    if (word == "colortbl" && !deep) {
      st.Dest = dColorTable;
      return;
    }
    if (SkippedDestination(word)) {
      if (deep) FDeepSkips.back() = true;
      else st.Dest = dSkip;
      return;
    }
  }
  const int value = static_cast<int>(param);
  const bool on = !hasParam || param != 0;
  if (st.Dest == dFontTable) {
    if (word == "f" && hasParam) {
      if (!FFontName.empty()) CommitFont();
      FFontEntry = value;
    }
    return;
  }
  if (st.Dest == dColorTable) {
    const int c = static_cast<int>(std::clamp<int64_t>(param, 0, 255));
    if (word == "red") FRed = c;
    else if (word == "green") FGreen = c;
    else if (word == "blue") FBlue = c;
    else return;
    FColorGiven = true;
    return;
  }
  if (word == "par" || word == "sect" || word == "page") {
    EndParagraph();
  } else if (word == "line") {
    Emit("\n");
  } else if (word == "tab") {
    Emit("\t");
  } else if (word == "uc" && hasParam) {
    st.UnicodeSkip = static_cast<int>(std::clamp<int64_t>(param, 0, 8));
  } else if (word == "u" && hasParam) {
    const uint32_t cp = static_cast<uint32_t>(std::clamp<int64_t>(param, -32768, 65535) & 0xFFFF);
    if (cp >= 0xD800 && cp < 0xDC00) {
      FHighSurrogate = cp;
    } else {
      std::string s;
      if (cp >= 0xDC00 && cp < 0xE000)
        AppendUtf8(s, FHighSurrogate ? 0x10000 + ((FHighSurrogate - 0xD800) << 10) + (cp - 0xDC00) : 0xFFFD);
      else
        AppendUtf8(s, cp);
      FHighSurrogate = 0;
      Emit(s);
    }
    FPendingSkip = st.Dest == dSkip ? 0 : st.UnicodeSkip;
  } else if (word == "deff" && hasParam) {
    FDefaultFont = value;
  } else if (word == "plain") {
    st.Format = TRTFCharFormat{};
    st.Font = -1;
  } else if (word == "pard") {
    st.Alignment = taLeftJustify;
  } else if (word == "ql" || word == "qj" || word == "qd") {
    st.Alignment = taLeftJustify;
  } else if (word == "qc") {
    st.Alignment = taCenter;
  } else if (word == "qr") {
    st.Alignment = taRightJustify;
  } else if (word == "f" && hasParam) {
    st.Font = value;
  } else if (word == "fs" && hasParam) {
    if (param > 0) st.Format.HalfPoints = static_cast<int>(std::clamp<int64_t>(param, MinHalfPoints, MaxHalfPoints));
  } else if (word == "cf" && hasParam) {
    st.Format.Color = param > 0 && static_cast<size_t>(param) < FColors.size() ? FColors[static_cast<size_t>(param)]
                                                                               : clDefault;
  } else if (word == "b") {
    Switch(st.Format.Style, fsBold, on);
  } else if (word == "i") {
    Switch(st.Format.Style, fsItalic, on);
  } else if (word == "ul" || word == "uld" || word == "uldb" || word == "uldash" || word == "ulth" || word == "ulw" ||
             word == "ulwave") {
    Switch(st.Format.Style, fsUnderline, on);
  } else if (word == "ulnone") {
    Switch(st.Format.Style, fsUnderline, false);
  } else if (word == "strike" || word == "striked") {
    Switch(st.Format.Style, fsStrikeOut, on);
  } else if (const char* c = SymbolCharacter(word)) {
    Emit(c);
  } else if (word == "bin" && hasParam) {
    // Binary data: its bytes are no text.
    FPos += static_cast<size_t>(std::clamp<int64_t>(param, 0, static_cast<int64_t>(FRtf.size() - FPos)));
  }
}

TRTFDocument TRTFReader::Read() {
  const size_t n = FRtf.size();
  bool destinationNext = false;
  while (FPos < n) {
    const char ch = FRtf[FPos];
    if (ch == '{') {
      OpenGroup();
      ++FPos;
      destinationNext = true;
      continue;
    }
    if (ch == '}') {
      if (!CloseGroup()) break;
      ++FPos;
      destinationNext = false;
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      ++FPos;
      continue;
    }
    const bool atGroupStart = destinationNext;
    destinationNext = false;
    if (ch != '\\') {
      const std::string c(1, ch);
      Emit(static_cast<unsigned char>(ch) < 0x80 ? c : Cp1252ToUtf8(c));
      ++FPos;
      continue;
    }
    if (FPos + 1 >= n) break;
    const char next = FRtf[FPos + 1];
    if (!std::isalpha(static_cast<unsigned char>(next))) {
      FPos += 2;
      ControlSymbol(next, atGroupStart);
      continue;
    }
    // A control word: letters (no name is longer than 32), an optional
    // signed number (clipped), and a space that belongs to it.
    size_t j = FPos + 1;
    while (j < n && std::isalpha(static_cast<unsigned char>(FRtf[j]))) ++j;
    const std::string_view word(FRtf.data() + FPos + 1, std::min<size_t>(j - FPos - 1, 32));
    bool hasParam = false, negative = false;
    int64_t param = 0;
    if (j + 1 < n && FRtf[j] == '-' && std::isdigit(static_cast<unsigned char>(FRtf[j + 1]))) {
      negative = true;
      ++j;
    }
    while (j < n && std::isdigit(static_cast<unsigned char>(FRtf[j]))) {
      param = std::min(param * 10 + (FRtf[j] - '0'), MaxParam);
      hasParam = true;
      ++j;
    }
    if (negative) param = -param;
    if (j < n && FRtf[j] == ' ') ++j;
    FPos = j;
    ControlWord(word, hasParam, param, atGroupStart);
  }
  if (FParaOpen) {
    FDoc.Paragraphs.push_back(std::move(FPara));
  }
  const auto def = FFonts.find(FDefaultFont);
  if (def != FFonts.end()) FDoc.DefaultFont = def->second;
  return std::move(FDoc);
}

// One character of text as RTF: the specials escaped, ASCII as it is,
// others as \uN with a "?" fallback (two halves beyond the basic plane).
void AppendRTFChar(std::string& out, uint32_t c) {
  if (c == '\\' || c == '{' || c == '}') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x10000) {
    out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
  } else {
    const uint32_t v = c - 0x10000;
    out += "\\u" + std::to_string(static_cast<int16_t>(0xD800 + (v >> 10))) + "?";
    out += "\\u" + std::to_string(static_cast<int16_t>(0xDC00 + (v & 0x3FF))) + "?";
  }
}

void AppendRTFText(std::string& out, const std::string& text) {
  for (uint32_t c : Utf8CodePoints(text)) {
    if (c == '\t') out += "\\tab ";
    else if (c == '\n') out += "\\line ";
    else if (c != '\r') AppendRTFChar(out, c);
  }
}

// The runs of a paragraph with neighbours of one format joined and empty
// runs dropped.
std::vector<TRTFRun> JoinedRuns(const TRTFParagraph& p) {
  TRTFParagraph joined;
  for (const TRTFRun& r : p.Runs) joined.Add(r.Text, r.Format);
  return std::move(joined.Runs);
}

}  // namespace

void TRTFParagraph::Add(const std::string& Text, const TRTFCharFormat& Format) {
  if (Text.empty()) return;
  if (!Runs.empty() && Runs.back().Format == Format) Runs.back().Text += Text;
  else Runs.push_back(TRTFRun{Text, Format});
}

std::string TRTFParagraph::Text() const {
  std::string s;
  for (const TRTFRun& r : Runs)
    for (char c : r.Text) {
      if (c == '\n') s += "\r\n";
      else s += c;
    }
  return s;
}

std::string TRTFDocument::PlainText() const {
  std::string s;
  for (size_t i = 0; i < Paragraphs.size(); ++i) {
    if (i > 0) s += "\r\n";
    s += Paragraphs[i].Text();
  }
  return s;
}

bool TRTFDocument::operator==(const TRTFDocument& Other) const {
  if (DefaultFont != Other.DefaultFont || Paragraphs.size() != Other.Paragraphs.size()) return false;
  for (size_t i = 0; i < Paragraphs.size(); ++i) {
    if (Paragraphs[i].Alignment != Other.Paragraphs[i].Alignment) return false;
    if (JoinedRuns(Paragraphs[i]) != JoinedRuns(Other.Paragraphs[i])) return false;
  }
  return true;
}

bool IsRTFDocument(const std::string& Text) { return Text.rfind("{\\rtf", 0) == 0; }

TRTFDocument RTFToDocument(const std::string& Rtf) { return TRTFReader(Rtf).Read(); }

std::string RTFToPlainText(const std::string& Rtf) {
  // Breaks at the end are no text: a paragraph mark or line break counts
  // only when text follows it.
  std::string s = RTFToDocument(Rtf).PlainText();
  while (s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0) s.resize(s.size() - 2);
  return s;
}

std::string DocumentToRTF(const TRTFDocument& Doc) {
  // Font 0 is the default font; the others and the colours in order of use.
  std::vector<std::string> fonts{Doc.DefaultFont};
  std::vector<TColor> colors;
  auto fontIndex = [&](const std::string& name) {
    const auto at = std::find(fonts.begin(), fonts.end(), name);
    if (at != fonts.end()) return static_cast<int>(at - fonts.begin());
    fonts.push_back(name);
    return static_cast<int>(fonts.size() - 1);
  };
  auto colorIndex = [&](TColor c) {
    const auto at = std::find(colors.begin(), colors.end(), c);
    if (at != colors.end()) return static_cast<int>(at - colors.begin()) + 1;
    colors.push_back(c);
    return static_cast<int>(colors.size());
  };
  std::string body;
  for (const TRTFParagraph& p : Doc.Paragraphs) {
    body += "\\pard";
    if (p.Alignment == taCenter) body += "\\qc";
    else if (p.Alignment == taRightJustify) body += "\\qr";
    body += ' ';
    for (const TRTFRun& r : JoinedRuns(p)) {
      const TRTFCharFormat& f = r.Format;
      body += '{';
      const size_t plain = body.size();
      if (!f.FontName.empty()) body += "\\f" + std::to_string(fontIndex(f.FontName));
      if (f.HalfPoints > 0) body += "\\fs" + std::to_string(std::clamp(f.HalfPoints, MinHalfPoints, MaxHalfPoints));
      if (f.Style.Contains(fsBold)) body += "\\b";
      if (f.Style.Contains(fsItalic)) body += "\\i";
      if (f.Style.Contains(fsUnderline)) body += "\\ul";
      if (f.Style.Contains(fsStrikeOut)) body += "\\strike";
      if (f.Color != clDefault) body += "\\cf" + std::to_string(colorIndex(f.Color));
      if (body.size() > plain) body += ' ';  // ends the last control word
      AppendRTFText(body, r.Text);
      body += '}';
    }
    body += "\\par\r\n";
  }
  std::string out = "{\\rtf1\\ansi\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + (fonts[i].empty() ? "" : " ");
    for (uint32_t c : Utf8CodePoints(fonts[i]))
      if (c != ';') AppendRTFChar(out, c);
    out += ";}";
  }
  out += "}";
  if (!colors.empty()) {
    out += "{\\colortbl;";
    for (TColor c : colors) {
      const TColorRef rgb = ColorToRGB(c);
      out += "\\red" + std::to_string(GetRValue(rgb)) + "\\green" + std::to_string(GetGValue(rgb)) + "\\blue" +
             std::to_string(GetBValue(rgb)) + ";";
    }
    out += "}";
  }
  out += "\r\n";
  return out + body + "}";
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
    } else {
      AppendRTFChar(out, c);
    }
  }
  return out + "}";
}
