// Text operations on mini-HTML markup: control tags, plain text, highlights,
// colours, numbers and the entity decoding of the renderer.
#include <algorithm>
#include <cctype>

#include "grid/support/psghtmle.h"

namespace {

std::string Upper(const std::string& s) {
  std::string u = s;
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

size_t FindNoCase(const std::string& text, const std::string& pattern, size_t from = 0) {
  if (pattern.empty() || from > text.size()) return std::string::npos;
  auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), pattern.begin(),
                        pattern.end(), [](char a, char b) {
                          return std::toupper(static_cast<unsigned char>(a)) ==
                                 std::toupper(static_cast<unsigned char>(b));
                        });
  return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

bool StartsNoCase(const std::string& text, size_t at, const std::string& prefix) {
  if (at + prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[at + i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// One left-to-right pass over the text replacing the listed entities.
std::string DecodeEntities(const std::string& s, const std::vector<std::pair<const char*, const char*>>& table) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '&') {
      bool done = false;
      for (const auto& [from, to] : table) {
        const std::string f(from);
        if (StartsNoCase(s, i, f)) {
          out += to;
          i += f.size();
          done = true;
          break;
        }
      }
      if (done) continue;
    }
    out += s[i++];
  }
  return out;
}

// A control tag by tag: the tag text from "<CONTROL " to its ">" and the
// position after it.
struct TControlWalk {
  const std::string& Text;
  size_t Pos = 0;
  size_t Start = 0, End = 0;  // [Start, End) of the tag, End past its ">"
  bool Next() {
    const size_t at = FindNoCase(Text, "<CONTROL ", Pos);
    if (at == std::string::npos) return false;
    const size_t close = Text.find('>', at);
    Start = at;
    End = close == std::string::npos ? Text.size() : close + 1;
    Pos = End;
    return true;
  }
  std::string Tag() const { return Text.substr(Start, End - Start); }
};

}  // namespace

std::string EscapeControlValue(const std::string& Value) {
  std::string out;
  for (char c : Value) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;  // values are written in single quotes
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeControlValue(const std::string& Value) {
  return DecodeEntities(Value, {{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}, {"&#39;", "'"}});
}

std::string TagAttribute(const std::string& Tag, const std::string& Name) {
  const size_t at = FindNoCase(Tag, Name);
  if (at == std::string::npos) return {};
  const size_t q = Tag.find_first_of("\"'", at + Name.size());
  if (q == std::string::npos) return {};
  const size_t e = Tag.find(Tag[q], q + 1);
  if (e == std::string::npos) return Tag.substr(q + 1);
  return Tag.substr(q + 1, e - q - 1);
}

THTMLControlTag ParseControlTag(const std::string& Tag) {
  THTMLControlTag t;
  t.Type = Upper(TagAttribute(Tag, "TYPE="));
  t.Width = TagAttribute(Tag, "WIDTH=");
  t.ID = TagAttribute(Tag, "ID=");
  t.Value = UnescapeControlValue(TagAttribute(Tag, "VALUE="));
  t.Prop = TagAttribute(Tag, "PROP=");
  return t;
}

bool HasHTMLControl(const std::string& Text) { return Upper(Text).find("<CONTROL") != std::string::npos; }

std::string NextHTMLEditControlID(const std::string& Text, const std::string& ID) {
  bool passed = ID.empty();
  TControlWalk w{Text};
  while (w.Next()) {
    const THTMLControlTag t = ParseControlTag(w.Tag());
    if (passed && t.Type != "BUTTON" && t.Type != "CHECK" && t.Type != "RADIO") return t.ID;
    if (t.ID == ID) passed = true;
  }
  return {};
}

std::string GetHTMLControlProp(const std::string& Text, const std::string& ID) {
  TControlWalk w{Text};
  while (w.Next()) {
    const THTMLControlTag t = ParseControlTag(w.Tag());
    if (t.ID == ID) return t.Prop;
  }
  return {};
}

bool SetHTMLControlValue(std::string& Text, const std::string& ID, const std::string& NewValue) {
  TControlWalk w{Text};
  while (w.Next()) {
    const THTMLControlTag t = ParseControlTag(w.Tag());
    if (t.ID != ID) continue;
    std::string tag = "<CONTROL ID=\"" + ID + "\" VALUE='" + EscapeControlValue(NewValue) + "' WIDTH=\"" + t.Width +
                      "\" TYPE=\"" + t.Type + "\"";
    if (!t.Prop.empty()) tag += " PROP=\"" + t.Prop + "\"";
    tag += ">";
    Text = Text.substr(0, w.Start) + tag + Text.substr(w.End);
    return true;
  }
  return false;
}

std::string PasswordMask(const std::string& Text) {
  std::string out;
  for (unsigned char c : Text)
    if ((c & 0xC0) != 0x80) out += '*';  // one per character, not per byte
  return out;
}

std::string StripHTMLTags(const std::string& Text) {
  std::string out;
  size_t i = 0;
  while (i < Text.size()) {
    const size_t lt = Text.find('<', i);
    if (lt == std::string::npos) {
      out += Text.substr(i);
      break;
    }
    const size_t gt = Text.find('>', lt);
    if (gt == std::string::npos) {
      out += Text.substr(i);  // a "<" without ">" ends the removal
      break;
    }
    out += Text.substr(i, lt - i);
    i = gt + 1;
  }
  return out;
}

std::string HTMLToPlainText(const std::string& Text) {
  std::string s;
  for (size_t i = 0; i < Text.size();) {
    if (StartsNoCase(Text, i, "<BR>") || StartsNoCase(Text, i, "<HR>")) {
      s += "\r\n";
      i += 4;
    } else {
      s += Text[i++];
    }
  }
  return StripHTMLTags(s);
}

int PlainToHTMLIndex(const std::string& Text, int N) {
  if (N < 1) return 0;
  int plain = 0;
  bool inTag = false;
  int total = 0;
  for (char c : Text) {
    if (c == '<') inTag = true;
    else if (c == '>' && inTag) inTag = false;
    else if (!inTag) ++total;
  }
  if (N - 1 == total) return static_cast<int>(Text.size()) + 1;
  if (N - 1 > total) return 0;
  inTag = false;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (!inTag && plain == N - 1) return static_cast<int>(i) + 1;  // before any tags that follow
    if (c == '<') inTag = true;
    else if (c == '>' && inTag) inTag = false;
    else if (!inTag) ++plain;
  }
  return static_cast<int>(Text.size()) + 1;
}

std::string HighlightHTMLText(const std::string& Text, const std::string& Search, const std::string& Tag,
                              bool CaseSensitive) {
  if (Search.empty()) return Text;
  std::string markup = Text;
  std::string plain = StripHTMLTags(Text);
  std::string needle = Search;
  if (!CaseSensitive) {
    plain = Upper(plain);
    needle = Upper(needle);
  }
  const int L = static_cast<int>(Search.size());
  size_t from = 0;
  while (true) {
    const size_t at = plain.find(needle, from);
    if (at == std::string::npos) break;
    const int p = static_cast<int>(at) + 1;
    const int open = PlainToHTMLIndex(markup, p);
    if (open < 1) break;
    // Before the tags that open at the match, but after those that close
    // what came before it (a previous highlight among them).
    size_t pos = static_cast<size_t>(open - 1);
    while (pos + 1 < markup.size() && markup[pos] == '<' && markup[pos + 1] == '/') {
      const size_t gt = markup.find('>', pos);
      if (gt == std::string::npos) break;
      pos = gt + 1;
    }
    markup.insert(pos, "<" + Tag + ">");
    const int close = PlainToHTMLIndex(markup, p + L);
    if (close < 1) break;
    markup.insert(static_cast<size_t>(close - 1), "</" + Tag + ">");
    from = at + static_cast<size_t>(L);  // directly after the match
  }
  return markup;
}

std::string RemoveHTMLTagPair(const std::string& Text, const std::string& Tag) {
  const std::string open = "<" + Upper(Tag) + ">", close = "</" + Upper(Tag) + ">";
  std::string out;
  for (size_t i = 0; i < Text.size();) {
    if (StartsNoCase(Text, i, open)) i += open.size();
    else if (StartsNoCase(Text, i, close)) i += close.size();
    else out += Text[i++];
  }
  return out;
}

// ---- Colours and numbers

TColor HTMLColorByName(const std::string& LowerName) {
  static const std::pair<const char*, TColor> names[] = {
      {"clred", 0x0000FF}, {"clblack", 0}, {"clblue", 0xFF0000}, {"clgreen", 0x008000}, {"claqua", 0xFFFF00},
      {"clyellow", 0x00FFFF}, {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF}, {"cllime", 0x00FF00},
      {"clsilver", 0xC0C0C0}, {"clgray", 0x808080}, {"clolive", 0x008080}, {"clnavy", 0x800000},
      {"clpurple", 0x800080}, {"clteal", 0x808000}, {"clmaroon", 0x000080},
      {"clbackground", clSystemColor | 1}, {"clactivecaption", clSystemColor | 2},
      {"clinactivecaption", clSystemColor | 3}, {"clmenu", clSystemColor | 4}, {"clwindow", clSystemColor | 5},
      {"clwindowframe", clSystemColor | 6}, {"clmenutext", clSystemColor | 7},
      {"clwindowtext", clSystemColor | 8}, {"clcaptiontext", clSystemColor | 9},
      {"clactiveborder", clSystemColor | 10}, {"clinactiveborder", clSystemColor | 11},
      {"clappworkspace", clSystemColor | 12}, {"clhighlight", clSystemColor | 13},
      {"clhighlighttext", clSystemColor | 14}, {"clbtnface", clSystemColor | 15},
      {"clbtnshadow", clSystemColor | 16}, {"clgraytext", clSystemColor | 17}, {"clbtntext", clSystemColor | 18},
      {"clinactivecaptiontext", clSystemColor | 19}, {"clbtnhighlight", clSystemColor | 20},
      {"cl3ddkshadow", clSystemColor | 21}, {"cl3dlight", clSystemColor | 22}, {"clinfotext", clSystemColor | 23},
      {"clinfobk", clSystemColor | 24},
  };
  for (const auto& [n, c] : names)
    if (LowerName == n) return c;
  return 0;
}

int HexPairValue(const std::string& Two) {
  if (Two.size() < 2) return 0;
  auto digit = [](char c) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
  };
  return digit(Two[0]) * 16 + digit(Two[1]);
}

TColor HTMLHexColor(const std::string& Text) {
  const std::string s = Text.size() > 0 && Text[0] == '#' ? Text.substr(1) : Text;
  const int r = HexPairValue(s.substr(0, std::min<size_t>(2, s.size())));
  const int g = s.size() >= 4 ? HexPairValue(s.substr(2, 2)) : 0;
  const int b = s.size() >= 6 ? HexPairValue(s.substr(4, 2)) : 0;
  return static_cast<TColor>(RGB(r, g, b));
}

int StrToIntPartial(const std::string& Text) {
  size_t i = 0;
  while (i < Text.size() && (Text[i] == ' ' || Text[i] == '\t')) ++i;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) negative = Text[i++] == '-';
  int base = 10;
  if (i < Text.size() && Text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < Text.size() && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < Text.size() && (Text[i] == 'x' || Text[i] == 'X')) {
    base = 16;
    ++i;
  }
  long long v = 0;
  size_t digits = 0;
  for (; i < Text.size(); ++i) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(Text[i])));
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return static_cast<int>(v);  // at a bad character, the digits so far without the sign
    v = v * base + d;
    if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
    ++digits;
  }
  (void)digits;
  return static_cast<int>(negative ? -v : v);
}

bool ReplaceFirstNoCase(std::string& Text, const std::string& Pattern, const std::string& Replacement) {
  const size_t at = FindNoCase(Text, Pattern);
  if (at == std::string::npos) return false;
  Text.replace(at, Pattern.size(), Replacement);
  return true;
}

std::string PrepareHTMLText(const std::string& Text) {
  // Named entities outside tags, one pass; the ones runs decode stay.
  static const std::vector<std::pair<const char*, const char*>> named{
      {"&amp;", "&amp;"}, {"&lt;", "&lt;"}, {"&gt;", "&gt;"}, {"&nbsp;", "&nbsp;"},
      {"&quot;", "\""}, {"&sect;", "\u00A7"}, {"&permil;", "\u2030"}, {"&reg;", "\u00AE"},
      {"&copy;", "\u00A9"}, {"&para;", "\u00B6"}, {"&trade;", "\u2122"}, {"&euro;", "\u20AC"}};
  std::string s;
  if (Text.find('&') == std::string::npos) {
    s = Text;
  } else {
    size_t i = 0;
    while (i < Text.size()) {
      const size_t lt = Text.find('<', i);
      const size_t end = lt == std::string::npos ? Text.size() : lt;
      s += DecodeEntities(Text.substr(i, end - i), named);
      if (lt == std::string::npos) break;
      const size_t gt = Text.find('>', lt);
      const size_t tagEnd = gt == std::string::npos ? Text.size() : gt + 1;
      s += Text.substr(lt, tagEnd - lt);
      i = tagEnd;
    }
  }
  // "<#...>" keeps its text from the "#" on.
  for (size_t p = s.find("<#"); p != std::string::npos; p = s.find("<#", p)) {
    s.erase(p, 1);
    const size_t gt = s.find('>', p);
    if (gt != std::string::npos) s.erase(gt, 1);
  }
  std::string out;
  for (char c : s) {
    if (c == '\n') continue;
    if (c == '\r') out += "<BR>";
    else out += c;
  }
  return out;
}

std::string DecodeRunEntities(const std::string& Run) {
  if (Run.find('&') == std::string::npos) return Run;
  return DecodeEntities(Run, {{"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}});
}
