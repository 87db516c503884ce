#include "chart/core/grafhtml.h"

#include <algorithm>
#include <vector>

#include "chart/core/grafconst.h"
#include "chart/core/grcanvas.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strutils.h"

THtmlGraphicFactory HtmlGraphicFactory;
THtmlSourceLoader HtmlSourceLoader;

namespace {

const std::string CrLf = "\r\n";

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }
bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Unquote(const std::string& s) {
  std::string t = Trim(s);
  if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
  return t;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) s.replace(p, from.size(), to);
  return s;
}

struct TTagField {
  std::string Name;  // trimmed, as written
  std::string Value;  // trimmed, as written
};

// The name=value fields of a tag body. Values may hold blanks: a value runs to
// the last blank before the next field's name (name=Courier New size=10).
std::vector<TTagField> ParseFields(const std::string& body) {
  std::vector<size_t> equals;
  for (size_t i = 0; i < body.size(); ++i)
    if (body[i] == '=') equals.push_back(i);
  std::vector<TTagField> fields;
  size_t nameStart = 0;
  for (size_t k = 0; k < equals.size(); ++k) {
    TTagField f;
    f.Name = Trim(body.substr(nameStart, equals[k] - nameStart));
    const size_t valueStart = equals[k] + 1;
    size_t valueEnd = body.size();
    if (k + 1 < equals.size()) {
      const size_t blank = body.rfind(' ', equals[k + 1]);
      valueEnd = blank != std::string::npos && blank >= valueStart ? blank : valueStart;
    }
    f.Value = Trim(body.substr(valueStart, valueEnd - valueStart));
    fields.push_back(std::move(f));
    nameStart = valueEnd;
  }
  return fields;
}

std::string StyleWords(TFontStyles style) {
  static const struct { TFontStyle Style; const char* Word; } words[] = {
      {fsBold, "BOLD"}, {fsItalic, "ITALIC"}, {fsUnderline, "UNDERLINE"}, {fsStrikeOut, "STRIKE"}};
  std::string result;
  for (const auto& w : words) {
    if (!style.Contains(w.Style)) continue;
    if (!result.empty()) result += ", ";
    result += w.Word;
  }
  return result.empty() ? "NORMAL" : result;
}

// Layout and drawing of one text. Everything here lives for one call only.
class THtmlRenderer {
public:
  THtmlRenderer(TGrafCanvas* canvas, int x, int y, bool display)
      : FCanvas(canvas), FX0(x), FX(x), FY(y), FLineHeight(canvas->FontHeight()), FDisplay(display) {}

  void Run(std::string text) {
    while (!text.empty()) {
      bool closed = true;
      std::string token = NextToken(text, closed);
      // A "<" that is never closed is no tag, whatever follows it.
      if (closed) HandleToken(std::move(token));
      else OutputRun(std::move(token));
    }
  }
  TSize Extent() const { return {FCx, FCy}; }

private:
  TFont* Font() const { return FCanvas->CanvasFont(); }

  // The next token: a tag up to its ">", or the text up to the next "<". A
  // "<" that is never closed runs to the end and is not closed.
  static std::string NextToken(std::string& text, bool& closed) {
    size_t end;
    closed = true;
    if (text[0] != '<') {
      end = text.find('<');
      if (end == std::string::npos) end = text.size();
    } else {
      end = text.find('>');
      closed = end != std::string::npos;
      end = closed ? end + 1 : text.size();
    }
    std::string token = text.substr(0, end);
    text.erase(0, end);
    return token;
  }

  void HandleToken(std::string token) {
    FSavedFont = false;
    if (StartsWith(token, CrLf)) {
      FY += FCanvas->FontHeight();
      FX = FX0;
      FLineHeight = 0;
      token.erase(0, 2);
      if (token.empty()) return;  // a bare line end is text: the copy of the flag stays
    }
    const std::string up = UpperCase(token);
    bool isText = false;
    if (up == "<BR>" || up == "<P>") {
      FX = FX0;
      FLineHeight = 0;
      FY += FCanvas->FontHeight();
    } else if (up == "<BIG>" || up == "<SMALL>") {
      SaveFont();
      Font()->SetSize(Font()->Size() + (up == "<BIG>" ? 2 : -2));
    } else if (up == "<SUB>") {
      SaveFont();
      Font()->SetSize(Font()->Size() / 2);
      ShiftY(FCanvas->FontHeight());
    } else if (up == "</SUB>") {
      RestoreFont();
      UnshiftY(-FCanvas->FontHeight());
    } else if (up == "<SUPER>") {
      SaveFont();
      Font()->SetSize(Font()->Size() / 2);
      ShiftY(-(FCanvas->FontHeight() / 2));
    } else if (up == "</SUPER>") {
      RestoreFont();
      UnshiftY(FCanvas->FontHeight() / 2);
    } else if (up.size() == 4 && StartsWith(up, "<H") && up[2] >= '1' && up[2] <= '6' && up[3] == '>') {
      static constexpr int Sizes[] = {48, 36, 24, 18, 12, 8};
      SaveFont();
      Font()->SetSize(Sizes[up[2] - '1']);
    } else if (up == "<PRE>") {
      SaveFont();
      ApplyFontTag("<FONT NAME=\"" + GrafMsgMonospacedFontName + "\">");
    } else if (up == "</PRE>") {
      RestoreFont();
    } else if (up == "<CENTER>") {
      FCentered = true;
    } else if (up == "</CENTER>") {
      FCentered = false;
    } else if (up == "<B>" || up == "<BOLD>" || up == "<STRONG>") {
      AddStyle(fsBold, up);
    } else if (up == "<I>") {
      AddStyle(fsItalic, up);
    } else if (up == "<U>") {
      AddStyle(fsUnderline, up);
    } else if (up == "<STRIKE>") {
      AddStyle(fsStrikeOut, up);
    } else if (up == "</B>" || up == "</BOLD>" || up == "</STRONG>") {
      RemoveStyle(fsBold);
    } else if (up == "</I>") {
      RemoveStyle(fsItalic);
    } else if (up == "</U>") {
      RemoveStyle(fsUnderline);
    } else if (up == "</STRIKE>") {
      RemoveStyle(fsStrikeOut);
    } else if (StartsWith(up, "<IMG ")) {
      Image(token);
    } else if (StartsWith(up, "</FONT")) {
      RestoreFont();
    } else if (StartsWith(up, "<FONT ")) {
      SaveFont();
      ApplyFontTag(token);
    } else if (up == "</>") {
      if (FPrevSavedFont) {
        RestoreFont();
      } else {
        std::string tag;
        if (!FTagStack.empty()) {
          tag = FTagStack.back();
          FTagStack.pop_back();
        }
        if (!tag.empty()) tag.erase(0, 1);  // "<B>" closes as "</B>"
        HandleToken("</" + tag);
        return;
      }
    } else if (up == "<HR>") {
      FX = FX0;
      if (FDisplay) {
        TPen* pen = FCanvas->CanvasPen();
        pen->SetStyle(psSolid);
        pen->SetWidth(1);
        pen->SetColor(static_cast<TColor>(RGB(128, 128, 128)));
        FCanvas->HorizontalLine(FX0, FX0 + 100, FY);
      }
      FY += FCanvas->FontHeight();
    } else {
      isText = true;
      OutputRun(token);
    }
    if (!isText) FPrevSavedFont = FSavedFont;
  }

  // Sub- and superscripts move the pen; their close tags move it back by
  // exactly as much, so the rest of the line keeps its place.
  void ShiftY(int delta) {
    FY += delta;
    FYShifts.push_back(delta);
  }
  void UnshiftY(int fallback) {
    if (FYShifts.empty()) {
      FY += fallback;
      return;
    }
    FY -= FYShifts.back();
    FYShifts.pop_back();
  }

  void AddStyle(TFontStyle style, const std::string& tag) {
    TFontStyles s = Font()->Style();
    Font()->SetStyle(s.Include(style));
    FTagStack.push_back(tag);
  }

  void RemoveStyle(TFontStyle style) {
    TFontStyles s = Font()->Style();
    Font()->SetStyle(s.Exclude(style));
  }

  void SaveFont() {
    TFont* f = Font();
    FFontStack.push_back("<FONT size=" + IntToStr(f->Size()) + " name=" + f->Name() + " color=" +
                         IntToStr(f->Color()) + " weight=" + StyleWords(f->Style()) + ">");
    FSavedFont = true;
  }

  void RestoreFont() {
    std::string tag;
    if (!FFontStack.empty()) {
      tag = FFontStack.back();
      FFontStack.pop_back();
    }
    ApplyFontTag(tag);
  }

  // Applies "<FONT name=value ...>"; fields and weights it does not know are ignored.
  void ApplyFontTag(const std::string& tag) {
    if (tag.size() < 7) return;
    TFont* f = Font();
    for (const TTagField& field : ParseFields(tag.substr(6, tag.size() - 7))) {
      const std::string name = UpperCase(field.Name);
      if (name == "NAME" || name == "FAMILY") {
        f->SetName(Unquote(field.Value));
      } else if (name == "SIZE") {
        int v = 0;
        const std::string& value = field.Value;
        if (!value.empty() && (value[0] == '+' || value[0] == '-')) {
          if (TryStrToInt(value.substr(1), v)) f->SetSize(f->Size() + (value[0] == '+' ? v : -v));
        } else if (TryStrToInt(value, v)) {
          f->SetSize(v);
        }
      } else if (name == "COLOR") {
        f->SetColor(NamedColor(field.Value));
      } else if (name == "WEIGHT") {
        TFontStyles style;
        bool known = true;
        std::string words = UpperCase(field.Value);
        size_t start = 0;
        while (start <= words.size()) {
          size_t comma = words.find(',', start);
          if (comma == std::string::npos) comma = words.size();
          const std::string w = Trim(words.substr(start, comma - start));
          if (w == "BOLD") style.Include(fsBold);
          else if (w == "ITALIC") style.Include(fsItalic);
          else if (w == "UNDERLINE") style.Include(fsUnderline);
          else if (w == "STRIKE") style.Include(fsStrikeOut);
          else if (w != "NORMAL") known = false;
          start = comma + 1;
        }
        if (known) f->SetStyle(style);
      }
    }
  }

  void OutputRun(std::string run) {
    run = ReplaceAll(run, "&lt;", "<");
    run = ReplaceAll(run, "&gt;", ">");
    run = ReplaceAll(run, "&amp;", "&");
    run = ReplaceAll(run, "&quot;", "\"");
    const bool endsLine = EndsWith(run, CrLf);
    if (endsLine) run.erase(run.size() - 2);
    if (!run.empty()) {
      const int w = FCanvas->TextWidth(run);
      const int h = FCanvas->TextHeight(run);
      if (FCentered) {
        const TRect& b = FCanvas->PassBounds();
        FX = (b.Left + b.Right) / 2 - w / 2;
      }
      // A run smaller than its line sits at the line's bottom; the pen stays
      // where it is, so later runs of the line do not sink.
      int runY = FY;
      if (FLineHeight == 0) {
        FLineHeight = FCanvas->FontHeight();
        FY += FLineHeight;
        runY = FY;
      } else if (h < FLineHeight) {
        runY = FY + FLineHeight - h - 1;
      }
      if (FDisplay) FCanvas->TextOut(FX, runY, run);
      FX += w;
      FCx = std::max(FCx, FX);
      FLineHeight = std::max(FLineHeight, h);
      FCy = std::max(FCy, FLineHeight);
    }
    if (endsLine) {
      FLineHeight = 0;
      FX = FX0;
    }
  }

  void Image(const std::string& token) {
    std::string body = token.substr(5);
    if (StartsWith(body, CrLf)) body.erase(0, 2);
    if (EndsWith(body, ">")) body.pop_back();
    int width = 0, height = 0;
    std::string source;
    for (const TTagField& field : ParseFields(body)) {
      const std::string name = UpperCase(field.Name);
      if (name == "WIDTH") width = StrToIntDef(field.Value, 0);
      else if (name == "HEIGHT") height = StrToIntDef(field.Value, 0);
      else if (name == "SRC") source = Unquote(field.Value);
    }
    try {
      if (DrawImage(source, width, height)) return;
    } catch (const std::exception&) {
      // falls through to the missing-image box
    }
    if (!FDisplay) return;
    if (width == 0) width = 40;
    if (height == 0) height = 40;
    TPen* pen = FCanvas->CanvasPen();
    pen->SetStyle(psSolid);
    pen->SetColor(clRed);
    pen->SetWidth(1);
    TBrush* brush = FCanvas->CanvasBrush();
    brush->SetStyle(bsSolid);
    brush->SetColor(clWhite);
    FCanvas->Rectangle(FX, FY, FX + width, FY + height);
    FCanvas->LineFromTo(FX, FY, FX + width - 1, FY + height - 1);
    FCanvas->LineFromTo(FX, FY + height - 1, FX + width - 1, FY);
  }

  // True when the picture could be read (and, with the display flag, drawn).
  bool DrawImage(const std::string& source, int width, int height) {
    if (source.empty() || !HtmlGraphicFactory || !HtmlSourceLoader) return false;
    const size_t dot = source.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : UpperCase(source.substr(dot));
    std::unique_ptr<TGraphic> graphic = HtmlGraphicFactory(extension);
    if (!graphic) return false;
    TMemoryStream stream;
    if (HtmlSourceLoader(source, stream) != 0 || stream.Size() == 0) return false;
    stream.Seek(0, soBeginning);
    graphic->LoadFromStream(stream);
    if (width == 0) width = graphic->Width();
    if (height == 0) height = graphic->Height();
    if (FDisplay) {
      if (graphic->Width() == width && graphic->Height() == height) FCanvas->DrawGraphic(FX, FY, graphic.get());
      else FCanvas->StretchDraw(Rect(FX, FY, FX + width, FY + height), graphic.get());
    }
    FX += width;
    FY += height;
    return true;
  }

  TGrafCanvas* FCanvas;
  int FX0, FX, FY;
  int FLineHeight;
  bool FDisplay;
  bool FCentered = false;
  bool FSavedFont = false;
  bool FPrevSavedFont = false;
  int FCx = 0, FCy = 0;
  std::vector<std::string> FTagStack;
  std::vector<std::string> FFontStack;
  std::vector<int> FYShifts;
};

int HexPair(const std::string& s, size_t pos, bool& ok) {
  int v = 0;
  for (size_t i = pos; i < pos + 2; ++i) {
    const char c = i < s.size() ? s[i] : '\0';
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else { ok = false; return 0; }
    v = v * 16 + d;
  }
  return v;
}

}  // namespace

void HtmlSubsetTextOut(TGrafCanvas* canvas, int x, int y, const std::string& text) {
  if (!canvas) return;
  THtmlRenderer renderer(canvas, x, y, true);
  renderer.Run(text);
}

TSize HtmlSubsetExtent(TGrafCanvas* canvas, const std::string& text) {
  if (!canvas) return {};
  THtmlRenderer renderer(canvas, 0, 0, false);
  renderer.Run(text);
  return renderer.Extent();
}

TColor HexColor(const std::string& text) {
  bool ok = true;
  const int r = HexPair(text, 1, ok), g = HexPair(text, 3, ok), b = HexPair(text, 5, ok);
  return ok ? static_cast<TColor>(RGB(r, g, b)) : clBlack;
}

TColor NamedColor(const std::string& text) {
  const std::string t = UpperCase(Trim(text));
  static const struct { const char* Name; int R, G, B; } named[] = {
      {"BLACK", 0, 0, 0},       {"RED", 255, 0, 0},     {"BLUE", 0, 0, 255}, {"YELLOW", 255, 255, 0},
      {"WHITE", 255, 255, 255}, {"GREEN", 0, 128, 0},   {"LIME", 0, 255, 0},
  };
  for (const auto& n : named)
    if (t == n.Name) return static_cast<TColor>(RGB(n.R, n.G, n.B));
  if (!t.empty() && t[0] == '#') return HexColor(t);
  try {
    return StringToColor(Trim(text));
  } catch (const Exception&) {
    return clBlack;
  }
}

void InstallHtmlSubsetText() { HtmlSubsetTextOutProc = &HtmlSubsetTextOut; }

namespace {
const bool HtmlInstalled = (InstallHtmlSubsetText(), true);
}  // namespace
