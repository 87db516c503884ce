// The mini-HTML line engine and its entry point: each line is measured
// once (which also cuts it from the markup) and then drawn or hit-tested by
// replaying exactly the markup the measuring pass took.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "grid/support/picturecontainer.h"
#include "grid/support/plusxpvs.h"
#include "grid/support/psghtmle.h"
#include "platform/gfx/framectl.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/imglist.h"
#include "platform/ui/windowfx.h"

namespace {

constexpr unsigned LineFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX;

std::string Upper(const std::string& s) {
  std::string u = s;
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}
std::string Lower(const std::string& s) {
  std::string u = s;
  for (char& c : u) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return u;
}
bool Starts(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

bool WholeNumber(const std::string& s, int& n) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  n = std::stoi(s);
  return true;
}

// The text after the first letter L (from the third character of the tag):
// its quoted value, or what follows an "=".
std::string ValueAfterLetter(const std::string& upperTag, char letter) {
  const size_t at = upperTag.find(letter, 2);
  if (at == std::string::npos) return {};
  std::string rest = upperTag.substr(at + 1);
  const size_t q = rest.find_first_of("\"'");
  if (q != std::string::npos) {
    const size_t e = rest.find(rest[q], q + 1);
    return rest.substr(q + 1, e == std::string::npos ? std::string::npos : e - q - 1);
  }
  size_t b = rest.find('=');
  b = b == std::string::npos ? 0 : b + 1;
  const size_t e = rest.find_first_of(" >", b);
  return rest.substr(b, e == std::string::npos ? std::string::npos : e - b);
}

TColor ColorValue(const std::string& v) {
  if (!v.empty() && v[0] == '#') return HTMLHexColor(v);
  return HTMLColorByName(Lower(v));
}

// Style flags and colours of one pass; the font lives on the canvas.
struct TStyle {
  bool InAnchor = false;
  std::string Href, Title;
  int AnchorCount = 0, ImageCount = 0, ListLevel = 0;
  bool Hidden = false, Shadow = false, Sub = false, Sup = false, ErrorMark = false;
  TColor Bk = clNone, FontBk = clNone;
  TColor HiFont = clBlack, HiBk = clNone, AnchorFont = clBlack, AnchorBk = clNone, ParaBk = clNone;
  bool ParaBkOn = false;
  int RotSaved = 0;
  bool Marked = false;  // the anchor under the point
  int AnchorStartWidth = -1, AnchorStartX = 0;  // where the anchor began on this line (-1: earlier line)
};

struct TMetrics {
  int LineHeight = 0, SubExtra = 0, SupExtra = 0, TextLift = 0, LineWidth = 0;
};

struct TCtx {
  TCanvas* Canvas;
  TRect Rect;
  TCustomImageList* Images;
  int X, Y, FocusLink, HoverLink, ShadowOffset;
  bool CheckOnly, CalcOnly, Printing, Selected, BlinkOn, HoverStyle, WordWrap, Down;
  double ResFactor;
  TColor URLColor, HoverColor, HoverFontColor, ShadowColor;
  THTMLPictureCache* Cache;
  TPictureContainer* Container;
  HWND Window;
  unsigned Format;
  const TFont* BaseFont;
  TColor EntryBk;
  bool Themed;
  // Outputs.
  std::string AnchorVal, Strip, FocusAnchor, AnchorTitle;
  int MouseLink = -1;
  TRect HoverRect{}, ControlRect{};
  std::string ControlID, ControlValue, ControlType;
  // Shared state of the call.
  int Alignment = 0, Indent = 0, HoveredImage = -1;
  int ElemW = 0, ElemH = 0;  // a control's size, kept for one without a whole-number width
};

int RunWidth(TCanvas* c, const std::string& text, unsigned format) {
  // The run's one-line extent: an end ellipsis only matters when drawing.
  TRect r = Rect(0, 0, 0, 0);
  c->DrawText(text, r, (format & ~DT_END_ELLIPSIS) | DT_CALCRECT);
  return r.Right - r.Left;
}

void ApplyBk(TCanvas* c, TColor bk) {
  if (bk == clNone) {
    c->Brush()->SetStyle(bsClear);
    c->SetBkMode(TRANSPARENT);
  } else {
    c->Brush()->SetColor(bk);
    c->SetBkMode(OPAQUE);
    c->SetBkColor(bk);
  }
}

void FillBand(TCanvas* c, const TRect& r, TColor color) {
  if (color == clNone || r.Right <= r.Left || r.Bottom <= r.Top) return;
  const TColor pen = c->Pen()->Color();
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(color);
  c->FillRect(r);
  c->Pen()->SetColor(pen);
}

THTMLPicture* FindPicture(TCtx& C, const std::string& src) {
  THTMLPicture* p = nullptr;
  if (src.find(':') == std::string::npos) {
    if (C.Container) p = C.Container->FindByName(src);
  } else if (src.find("://") != std::string::npos && C.Cache) {
    p = C.Cache->FindBySource(src);
    if (!p) {
      THTMLPicture* n = C.Cache->NewPicture();
      n->SetAsynchronous(false);
      n->LoadFromLocation(src);
      p = C.Cache->FindBySource(src);
    }
  }
  return p && !p->Empty() ? p : nullptr;
}

class TLineEngine {
public:
  TLineEngine(TCtx& c, TStyle& s, TMetrics& m, const TRect& lr, bool measure, bool replay)
      : C(c), S(s), LM(m), LR(lr), Measure(measure), Replay(replay), Cv(c.Canvas), X(lr.Left) {}

  std::string Run(std::string& M);
  bool AnchorHit = false, ElemHit = false;

private:
  int TextBottom() const { return LR.Bottom - LM.SubExtra; }
  int GH() { return Cv->TextHeight("gh"); }
  void DrawRun(const std::string& text, int w);
  bool Tag(std::string& M, const std::string& tag);  // false: the tag stays for the next line
  bool Image(const std::string& tag, const std::string& U);
  bool Control(const std::string& tag);
  bool Fit(int w, int h);
  void EndAnchor();
  void FocusPart(int right);

  TCtx& C;
  TStyle& S;
  TMetrics& LM;
  TRect LR;
  bool Measure, Replay;
  TCanvas* Cv;
  int X;
  bool Ended = false, Full = false, ListItem = false;
  std::string LineText;
};

void TLineEngine::DrawRun(const std::string& text, int w) {
  int bottom = TextBottom() - LM.TextLift;
  if (S.Sup) bottom -= LM.SupExtra;
  if (S.Sub) bottom += LM.SubExtra;
  TRect box = Rect(X, LR.Top, LR.Right, bottom);
  if (S.Shadow) {
    const TColor fc = Cv->Font()->Color();
    Cv->Font()->SetColor(C.ShadowColor);
    ApplyBk(Cv, clNone);
    TRect sh = Rect(box.Left + C.ShadowOffset, box.Top + C.ShadowOffset, box.Right + C.ShadowOffset,
                    box.Bottom + C.ShadowOffset);
    Cv->DrawText(text, sh, C.Format);
    Cv->Font()->SetColor(fc);
  }
  ApplyBk(Cv, S.Bk);
  Cv->DrawText(text, box, C.Format);
  if (S.ErrorMark) {
    // A red zig-zag of 2-pixel steps; marks of adjacent runs join.
    const TColor pc = Cv->Pen()->Color();
    const int pw = Cv->Pen()->Width();
    Cv->Pen()->SetColor(clRed);
    Cv->Pen()->SetWidth(1);
    int x = X & ~1;
    bool low = (x % 4) == 0;
    Cv->MoveTo(x, bottom + (low ? 1 : -1));
    while (x < X + w) {
      x += 2;
      low = !low;
      Cv->LineTo(x, bottom + (low ? 1 : -1));
    }
    Cv->Pen()->SetColor(pc);
    Cv->Pen()->SetWidth(pw);
  }
}

bool TLineEngine::Fit(int w, int h) {
  const int W = LR.Right - LR.Left;
  if (!Replay && w < W && LM.LineWidth + w > W) {
    Full = true;
    return false;
  }
  LM.LineWidth += w;
  X += w;
  LM.LineHeight = std::max(LM.LineHeight, h);
  return true;
}

void TLineEngine::FocusPart(int right) {
  if (Measure || S.AnchorCount != C.FocusLink + 1) return;
  const int left = S.AnchorStartWidth < 0 ? LR.Left : S.AnchorStartX;
  const int bottom = TextBottom() - LM.TextLift;
  Cv->DrawFocusRect(Rect(left - 1, bottom - GH(), right + 1, bottom));
}

void TLineEngine::EndAnchor() {
  if (!Measure && (!C.HoverStyle || S.AnchorCount == C.HoverLink)) {
    TFontStyles st = Cv->Font()->Style();
    st.Exclude(fsUnderline);
    Cv->Font()->SetStyle(st);
    if (C.HoverColor != clNone) S.Bk = S.AnchorBk;
    if (C.HoverFontColor != clNone) Cv->Font()->SetColor(S.AnchorFont);
  }
  if (!C.Selected) Cv->Font()->SetColor(C.BaseFont->Color());
  if (Measure && S.Marked) {
    C.MouseLink = S.AnchorCount;
    C.HoverRect = Rect(S.AnchorStartWidth < 0 ? LR.Left : LR.Left + S.AnchorStartWidth, LR.Top,
                       LR.Left + LM.LineWidth, TextBottom());
  }
  if (!Measure && S.AnchorCount == C.FocusLink + 1) {
    C.FocusAnchor = S.Href;
    FocusPart(X);
  }
  S.Marked = false;
  S.InAnchor = false;
}

bool TLineEngine::Image(const std::string& tag, const std::string& U) {
  S.ImageCount++;
  const std::string rest = tag.substr(2);
  std::string src = TagAttribute(rest, "SRC");  // file names keep their case
  if (Upper(rest).find("ALT") != std::string::npos && S.ImageCount == C.HoveredImage) src = TagAttribute(rest, "ALT");
  const int iw = StrToIntPartial(TagAttribute(rest, "WIDTH"));
  const int ih = StrToIntPartial(TagAttribute(rest, "HEIGHT"));
  const int ppi = Cv->GetDeviceCaps(LOGPIXELSX) > 0 ? Cv->GetDeviceCaps(LOGPIXELSX) : 96;
  int w = 0, h = 0;
  std::function<void()> draw;
  const std::string us = Upper(src);
  if (Starts(us, "IDX:")) {
    const int n = StrToIntPartial(src.substr(4));
    if (C.Images && n >= 0 && n < C.Images->Count()) {
      w = MulDiv(C.Images->Width(), ppi, 96);
      h = MulDiv(C.Images->Height(), ppi, 96);
      draw = [this, n] {
        if (!C.Printing) {
          C.Images->Draw(Cv, X, LR.Top, n);
        } else {
          TBitmap b;
          C.Images->GetBitmap(n, &b);
          const int sw = static_cast<int>(Round(b.Width() * C.ResFactor));
          const int sh = static_cast<int>(Round(b.Height() * C.ResFactor));
          Cv->StretchDraw(Rect(X, LR.Top, X + sw, LR.Top + sh), &b);
        }
      };
    }
  } else if (Starts(us, "SSYS:") || Starts(us, "LSYS:")) {
    const bool small = Starts(us, "SSYS:");
    const std::string name = src.substr(5);
    const TSize sz = DrawSystemIcon(Cv, {X, LR.Top}, name, small, false, C.Printing, C.ResFactor);
    w = MulDiv(sz.cx, ppi, 96);
    h = MulDiv(sz.cy, ppi, 96);
    draw = [this, name, small] { DrawSystemIcon(Cv, {X, LR.Top}, name, small, true, C.Printing, C.ResFactor); };
  } else if (THTMLPicture* p = FindPicture(C, src)) {
    if (iw > 0 && ih > 0) {
      w = MulDiv(iw, ppi, 96);
      h = MulDiv(ih, ppi, 96);
    } else {
      w = MulDiv(p->AnimationWidth(), ppi, 96);
      h = MulDiv(p->AnimationHeight(), ppi, 96);
    }
    draw = [this, p, iw, ih] {
      if (iw < 1 || ih < 1) {
        if (p->CountFrames() > 1) FillBand(Cv, Rect(X, LR.Top, X + p->AnimationWidth(), LR.Top + p->AnimationHeight()), C.EntryBk);
        const bool st = p->Stretch();
        p->Draw(Cv, Rect(X, LR.Top, X + p->Width(), LR.Top + p->Height()));
        (void)st;
      } else {
        Cv->StretchDraw(Rect(X, LR.Top, X + iw, LR.Top + ih), p->Decoded());
      }
    };
  }
  // Hit test: an image inside an anchor.
  const int rel = C.X - LR.Left;
  if (S.InAnchor && LM.LineWidth < rel && rel < LM.LineWidth + w && LR.Top < C.Y && C.Y < LR.Top + h) {
    ElemHit = true;
    C.AnchorVal = S.Href;
    C.HoveredImage = S.ImageCount;
  }
  if (!Replay && w < LR.Right - LR.Left && LM.LineWidth + w > LR.Right - LR.Left) {
    Full = true;
    S.ImageCount--;
    return false;
  }
  if (!Measure && draw) draw();
  Fit(w, h);
  const size_t al = U.find("ALIGN");
  if (al != std::string::npos) {
    const int gh = GH();
    if (U.find("\"TOP", al) != std::string::npos || U.find("'TOP", al) != std::string::npos)
      LM.TextLift = LM.LineHeight - gh;
    else if (U.find("\"MIDDLE", al) != std::string::npos || U.find("'MIDDLE", al) != std::string::npos)
      LM.TextLift = (LM.LineHeight - gh) / 2;
  }
  return true;
}

bool TLineEngine::Control(const std::string& tag) {
  const THTMLControlTag t = ParseControlTag(tag);
  if (t.Width.empty()) return true;  // not shown
  int w;
  if (WholeNumber(t.Width, w)) {
    C.ElemW = w;
    C.ElemH = GH() + 6;
  }
  w = C.ElemW;
  int h = C.ElemH;
  if (!Measure) {
    const int L = X, B = TextBottom(), LH = LM.LineHeight;
    const int hh = t.Type == "COMBO" ? 25 : 24;
    const bool over = L - 2 < C.X && C.X < L - 2 + w && B - hh - 2 < C.Y && C.Y < B - 2;
    Cv->Pen()->SetColor(clGray);
    Cv->Brush()->SetStyle(bsClear);
    auto themed = [&](const char16_t* cls, int part, int state, TRect r) {
      HTHEME th = OpenThemeData(C.Window, cls);
      DrawThemeBackground(th, Cv, part, state, &r, nullptr);
      CloseThemeData(th);
    };
    if (t.Type == "EDIT" || t.Type == "MASK" || t.Type == "PASSWORD" || t.Type == "COMBO") {
      if (t.Type == "COMBO") h = 25;
      Cv->Rectangle(L, B - LH + 3, L + w, B + 1);
      ApplyBk(Cv, clNone);
      if (t.Type == "COMBO") {
        TRect tr = Rect(L + 2, B - LH + 6, L + w - 17, B);
        Cv->DrawText(t.Value, tr, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        TRect br = Rect(L + w - 19, B - LH + 6, L + w - 3, B - 2);
        if (C.Themed) themed(u"combobox", 1, over ? 2 : 1, br);
        else DrawFrameControl(Cv, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
      } else {
        TRect tr = Rect(L + 2, B - LH + 4, L + w, B);
        const std::string shown = t.Type == "PASSWORD" ? PasswordMask(t.Value) : t.Value;
        Cv->DrawText(shown, tr, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
      }
    } else if (t.Type == "CHECK" || t.Type == "RADIO") {
      const bool checked = Upper(t.Value) == "TRUE";
      const bool check = t.Type == "CHECK";
      TRect r = check ? Rect(L + 2, B - 15, L + 15, B) : Rect(L + 2, B - 14, L + 14, B);
      if (C.Themed)
        themed(u"button", check ? 3 : 2, checked ? 5 : 1, r);
      else
        DrawFrameControl(Cv, r, DFC_BUTTON,
                         (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
    } else if (t.Type == "BUTTON") {
      TRect r = Rect(L + 2, B - 20, L + w - 2, B);
      if (C.Themed)
        themed(u"button", 1, C.Down ? 3 : (over ? 2 : 1), r);
      else
        DrawFrameControl(Cv, r, DFC_BUTTON, DFCS_BUTTONPUSH | ((over && C.Down) ? DFCS_PUSHED : 0));
      TRect tr = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
      ApplyBk(Cv, clNone);
      Cv->DrawText(t.Value, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  if (t.Type == "BUTTON") h = 18;
  else if (t.Type == "COMBO") h = 25;
  else if (t.Type == "CHECK" || t.Type == "RADIO") w = h = 16;
  const int rel = C.X - LR.Left;
  if ((LM.LineWidth < rel && rel < LM.LineWidth + w && LR.Top < C.Y && C.Y < LR.Top + h) ||
      (C.CheckOnly && t.ID == C.ControlID && !C.ControlID.empty())) {
    ElemHit = true;
    C.AnchorVal = "ctrl";
    C.ControlRect = Rect(LR.Left + LM.LineWidth, LR.Top, LR.Left + LM.LineWidth + w, LR.Top + h);
    C.ControlValue = t.Value;
    C.ControlID = t.ID;
    C.ControlType = t.Type;
  }
  return Fit(w, h);
}

bool TLineEngine::Tag(std::string& M, const std::string& tag) {
  const std::string U = Upper(tag);
  const bool hasClose = !tag.empty() && tag.back() == '>';
  TFont* f = Cv->Font();
  auto style = [&](TFontStyle s, bool on) {
    TFontStyles st = f->Style();
    if (on) st.Include(s);
    else st.Exclude(s);
    f->SetStyle(st);
  };
  if (U.size() > 3 && U[1] == '/') {
    switch (U[2]) {
      case 'A': EndAnchor(); break;
      case 'B':
        if (Starts(U, "</B>")) style(fsBold, false);
        else f->SetColor(C.BaseFont->Color());
        break;
      case 'E': if (!Measure) S.ErrorMark = false; break;
      case 'F':
        f->SetName(C.BaseFont->Name());
        f->SetSize(C.BaseFont->Size());
        if (!Measure && !C.Selected) {
          f->SetColor(C.BaseFont->Color());
          S.Bk = S.FontBk;
        }
        break;
      case 'H':
        if (!Measure) {
          f->SetColor(S.HiFont);
          S.Bk = S.HiBk;
        }
        break;
      case 'I': style(fsItalic, false); break;
      case 'L': Ended = true; break;
      case 'P':
        Ended = true;
        if (!Measure) {
          S.Bk = S.ParaBk;
          S.ParaBkOn = false;
        }
        break;
      case 'R': f->SetOrientation(S.RotSaved); break;
      case 'S':
        if (Starts(U, "</SU")) S.Sub = S.Sup = false;
        else if (Starts(U, "</SH")) S.Shadow = false;
        else style(fsStrikeOut, false);
        break;
      case 'U':
        if (Starts(U, "</U>") || S.ListLevel == 0) style(fsUnderline, false);
        else S.ListLevel = std::max(0, S.ListLevel - 1);
        break;
      case 'Z': S.Hidden = false; break;
      default: break;
    }
    return true;
  }
  if (Starts(U, "<A")) {
    S.AnchorCount++;
    S.InAnchor = true;
    S.Href = UnescapeControlValue(TagAttribute(tag.substr(2), "HREF"));
    S.Title = UnescapeControlValue(TagAttribute(tag.substr(2), "TITLE"));
    S.AnchorStartWidth = LM.LineWidth;
    S.AnchorStartX = X;
    S.Marked = false;
    const bool hovered = S.AnchorCount == C.HoverLink;
    if (!Measure && (!C.HoverStyle || hovered)) {
      style(fsUnderline, true);
      if (C.HoverColor != clNone) {
        S.AnchorBk = S.Bk;
        S.Bk = C.HoverColor;
      }
      if (C.HoverFontColor != clNone) {
        S.AnchorFont = f->Color();
        f->SetColor(C.HoverFontColor);
      }
    }
    if (!C.Selected && !(C.HoverStyle && hovered && C.HoverFontColor != clNone)) f->SetColor(C.URLColor);
  } else if (Starts(U, "<BR")) {
    Ended = true;
    C.Strip += "\r";
  } else if (Starts(U, "<BL")) {
    if (!C.BlinkOn) f->SetColor(C.EntryBk);
  } else if (Starts(U, "<BO")) {
    if (!Measure) {
      const std::string bg = TagAttribute(tag.substr(2), "BACKGROUND");
      if (!bg.empty()) {
        if (THTMLPicture* p = FindPicture(C, bg); p && p->Width() > 0 && p->Height() > 0) {
          const int sd = Cv->SaveDC();
          Cv->IntersectClipRect(C.Rect.Left, C.Rect.Top, C.Rect.Right, C.Rect.Bottom);
          for (int y = C.Rect.Top; y < C.Rect.Bottom; y += p->Height())
            for (int x = C.Rect.Left; x < C.Rect.Right; x += p->Width())
              p->Draw(Cv, Rect(x, y, x + p->Width(), y + p->Height()));
          Cv->RestoreDC(sd);
        }
      }
      const std::string bc = TagAttribute(U.substr(2), "BGCOLOR");
      if (!bc.empty()) {
        S.Bk = ColorValue(bc);
        S.FontBk = S.Bk;
        FillBand(Cv, C.Rect, S.Bk);
      }
    }
  } else if (Starts(U, "<B>")) {
    style(fsBold, true);
  } else if (Starts(U, "<C")) {
    return Control(tag);
  } else if (Starts(U, "<E")) {
    if (!Measure) S.ErrorMark = true;
  } else if (Starts(U, "<F")) {
    if (hasClose) {
      const std::string rest = U.substr(2);
      const std::string face = TagAttribute(rest, "FACE");
      if (!face.empty()) f->SetName(TagAttribute(tag.substr(2), "FACE"));
      const std::string color = TagAttribute(rest, " COLOR");
      if (!color.empty() && !C.Selected) f->SetColor(ColorValue(color));
      const std::string bg = TagAttribute(rest, "BGCOLOR");
      if (!bg.empty() && !Measure && !C.Selected) {
        S.FontBk = S.Bk;
        S.Bk = ColorValue(bg);
      }
      const size_t sz = rest.find("SIZE");
      if (sz != std::string::npos) {
        const size_t eq = rest.find('=', sz);
        std::string v = eq == std::string::npos ? std::string() : rest.substr(eq + 1);
        const size_t q = v.find_first_of("\"'");
        if (q != std::string::npos) v = v.substr(q + 1);
        const int n = StrToIntPartial(v);
        static const int sizes[] = {8, 10, 12, 14, 16};
        f->SetSize(n >= 1 && n <= 5 ? sizes[n - 1] : n);
      }
    }
  } else if (Starts(U, "<HI")) {
    if (!Measure) {
      S.HiFont = f->Color();
      S.HiBk = S.Bk;
      S.Bk = clHighlight;
      f->SetColor(clHighlightText);
    }
  } else if (Starts(U, "<HR")) {
    Ended = true;
    if (!Measure) {
      const TColor pc = Cv->Pen()->Color();
      Cv->Pen()->SetColor(clBlack);
      Cv->Pen()->SetWidth(1);
      Cv->MoveTo(LR.Left, TextBottom() + 1);
      Cv->LineTo(LR.Right, TextBottom() + 1);
      Cv->Pen()->SetColor(pc);
    }
  } else if (Starts(U, "<I>")) {
    style(fsItalic, true);
  } else if (Starts(U, "<IN")) {
    int n;
    if (WholeNumber(ValueAfterLetter(U, 'X'), n) && n > LM.LineWidth) {
      LM.LineWidth = n;
      X = C.Rect.Left + n;
    }
  } else if (Starts(U, "<IM")) {
    return Image(tag, U);
  } else if (Starts(U, "<L")) {
    if (ListItem && !Replay) {
      Full = true;
      return false;
    }
    LM.LineWidth += 12 * S.ListLevel;
    X += 12 * S.ListLevel - 12;
    if (!Measure) {
      const std::string name = f->Name();
      f->SetName("Symbol");
      ApplyBk(Cv, clNone);
      TRect r = Rect(X, LR.Top, LR.Right, TextBottom() - LM.TextLift);
      Cv->DrawText(S.ListLevel % 2 ? "\u2022" : "o", r, C.Format);
      f->SetName(name);
    }
    X += 12;
    ListItem = true;
  } else if (Starts(U, "<P")) {
    if (hasClose) {
      const std::string rest = U.substr(2);
      const std::string al = TagAttribute(rest, "ALIGN");
      if (al.find("RIGHT") != std::string::npos) C.Alignment = 1;
      if (al.find("LEFT") != std::string::npos) C.Alignment = 0;
      if (al.find("CENTER") != std::string::npos) C.Alignment = 2;
      if (rest.find("INDENT") != std::string::npos) C.Indent = StrToIntPartial(TagAttribute(rest, "INDENT"));
      if (rest.find("BGCOLOR") != std::string::npos) {
        const std::string v = TagAttribute(rest, "BGCOLOR");
        const TColor c = v.empty() ? clNone : ColorValue(v);
        if (!Measure) {
          S.ParaBkOn = true;
          S.ParaBk = S.Bk;
          S.Bk = c;
          FillBand(Cv, Rect(C.Rect.Left, LR.Top, C.Rect.Right, TextBottom()), c);
        }
      }
    }
  } else if (Starts(U, "<R")) {
    S.RotSaved = f->Orientation();
    f->SetOrientation(10 * StrToIntPartial(ValueAfterLetter(U, 'A')));
  } else if (Starts(U, "<SUB>")) {
    S.Sub = true;
  } else if (Starts(U, "<SUP>")) {
    S.Sup = true;
  } else if (Starts(U, "<SH")) {
    S.Shadow = true;
  } else if (Starts(U, "<S>")) {
    style(fsStrikeOut, true);
  } else if (Starts(U, "<U>")) {
    style(fsUnderline, true);
  } else if (Starts(U, "<U")) {
    S.ListLevel++;
    Ended = true;
  } else if (Starts(U, "<Z")) {
    S.Hidden = true;
  }
  (void)M;
  return true;
}

std::string TLineEngine::Run(std::string& M) {
  std::string consumed;
  const int W = LR.Right - LR.Left;
  int spaceWidth = 0;
  if (!Measure && S.ParaBkOn) FillBand(Cv, Rect(C.Rect.Left, LR.Top, C.Rect.Right, LR.Top + LM.LineHeight), S.Bk);
  if (S.InAnchor) {
    S.AnchorStartWidth = -1;  // began on an earlier line
    S.AnchorStartX = LR.Left;
  }
  while (!M.empty() && !Ended && !Full) {
    const size_t tagPos = M.find('<');
    const size_t spacePos = C.WordWrap ? M.find(' ') : std::string::npos;
    std::string run;
    if (tagPos != std::string::npos && (spacePos == std::string::npos || spacePos > tagPos))
      run = M.substr(0, tagPos);
    else if (spacePos != std::string::npos)
      run = M.substr(0, spacePos + 1);
    else
      run = M;
    if (!run.empty()) {
      const std::string text = DecodeRunEntities(run);
      const int h = Cv->TextHeight(text);
      if (S.Sub) LM.SubExtra = std::max(LM.SubExtra, h / 4);
      if (S.Sup) LM.SupExtra = std::max(LM.SupExtra, h / 4);
      LM.LineHeight = std::max(LM.LineHeight, h);
      C.Strip += text;
      if (S.Hidden) {
        consumed += run;
        M.erase(0, run.size());
        continue;
      }
      const int w = RunWidth(Cv, text, C.Format);
      bool fits = true;
      if (Measure) {
        const int before = LM.LineWidth;
        LM.LineWidth += w;
        const int rel = C.X - LR.Left;
        if (S.InAnchor && rel >= before && rel <= LM.LineWidth) {
          AnchorHit = true;
          // The point must lie on this line (so far as it has grown), not below it.
          if (C.Y > LR.Top && C.Y < LR.Top + LM.LineHeight + LM.SubExtra + LM.SupExtra) {
            C.AnchorVal = S.Href;
            C.AnchorTitle = S.Title;
            S.Marked = true;
          }
        }
        if (!Replay) {
          fits = LM.LineWidth < W || w >= W;
          if (!fits && !LineText.empty() && LineText.back() != ' ') fits = true;  // words never split at tags
        }
      } else {
        DrawRun(text, w);
      }
      if (fits || !C.WordWrap) {
        const bool hadText = !LineText.empty();
        consumed += run;
        M.erase(0, run.size());
        LineText += text;
        spaceWidth = text.back() == ' ' ? Cv->TextWidth(" ") : 0;
        if (!Measure) X += w;
        if (!fits && hadText) {
          M.clear();  // no wrapping: the rest is cut off, this line is the last
          break;
        }
      } else {
        LM.LineWidth -= w;
        Ended = true;
        break;
      }
    }
    if (!M.empty() && M[0] == '<') {
      if (M.size() <= 2) {
        M.clear();
        break;
      }
      if (Ended) break;
      const size_t gt = M.find('>');
      const std::string tag = gt == std::string::npos ? M : M.substr(0, gt + 1);
      if (Tag(M, tag)) {
        consumed += tag;
        M.erase(0, tag.size());
      }
    }
  }
  if (S.InAnchor && !Measure && S.AnchorCount == C.FocusLink + 1) FocusPart(X);  // unfinished on this line
  if (Measure) LM.LineWidth -= spaceWidth;
  return consumed;
}

}  // namespace

TSize DrawSystemIcon(TCanvas* Canvas, TPoint P, const std::string& Name, bool Small, bool Draw, bool Printing,
                     double ResFactor) {
  const int size = ShellIconSize(Small);
  if (Draw && Canvas) {
    int index;
    // A whole number is an index into the system image list, which has no
    // pictures of its own here: the generic document icon stands for it.
    std::unique_ptr<TBitmap> icon = ShellFileIcon(WholeNumber(Name, index) ? std::string() : Name, Small);
    icon->SetTransparent(true);
    if (!Printing) {
      Canvas->Draw(P.X, P.Y, icon.get());
    } else {
      const int s = static_cast<int>(Round(size * ResFactor));
      Canvas->StretchDraw(Rect(P.X, P.Y, P.X + s, P.Y + s), icon.get());
    }
  }
  return {size, size};
}

bool DrawHTMLText(TCanvas* Canvas, const std::string& Text, const TRect& ARect, TCustomImageList* Images, int X,
                  int Y, int FocusLink, int HoverLink, int ShadowOffset, bool CheckOnly, bool CalcOnly,
                  bool Printing, bool Selected, bool BlinkOn, bool HoverStyle, bool WordWrap, bool Down,
                  double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor,
                  std::string& AnchorVal, std::string& StripVal, std::string& FocusAnchor, std::string& AnchorTitle,
                  int& XSize, int& YSize, int& HyperLinks, int& MouseLink, TRect& HoverRect, TRect& ControlRect,
                  std::string& ControlID, std::string& ControlValue, std::string& ControlType,
                  THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND WindowHandle) {
  TCanvas* cv = Canvas;
  const TColor penColor = cv->Pen()->Color();
  const int penWidth = cv->Pen()->Width();
  const TColor brushColor = cv->Brush()->Color();
  const TBrushStyle brushStyle = cv->Brush()->Style();
  TFont base;
  base.Assign(cv->Font());
  TFont measureFont, drawFont;
  measureFont.Assign(&base);
  drawFont.Assign(&base);

  TCtx C{};
  C.Canvas = cv;
  C.Rect = ARect;
  C.Images = Images;
  C.X = X;
  C.Y = Y;
  C.FocusLink = FocusLink;
  C.HoverLink = HoverLink;
  C.ShadowOffset = ShadowOffset;
  C.CheckOnly = CheckOnly;
  C.CalcOnly = CalcOnly;
  C.Printing = Printing;
  C.Selected = Selected;
  C.BlinkOn = BlinkOn;
  C.HoverStyle = HoverStyle;
  C.WordWrap = WordWrap;
  C.Down = Down;
  C.ResFactor = ResFactor;
  C.URLColor = URLColor;
  C.HoverColor = HoverColor;
  C.HoverFontColor = HoverFontColor;
  C.ShadowColor = ShadowColor;
  C.Cache = PictureCache;
  C.Container = PictureContainer;
  C.Window = WindowHandle;
  C.Format = LineFormat | (WordWrap ? 0u : DT_END_ELLIPSIS);
  C.BaseFont = &base;
  C.EntryBk = brushColor == clNone || brushStyle == bsClear ? clNone : brushColor;
  C.Themed = ThemesActive();
  C.AnchorVal = AnchorVal;
  if (CheckOnly) C.ControlID = ControlID;
  ControlRect = Rect(0, 0, 0, 0);
  XSize = YSize = HyperLinks = 0;
  cv->Brush()->SetStyle(bsClear);
  cv->SetBkMode(TRANSPARENT);

  std::string text = PrepareHTMLText(Text);
  const TRect working = Rect(ARect.Left + 1, ARect.Top, ARect.Right, ARect.Bottom);
  TStyle ms, ds;
  int lineTop = ARect.Top;
  bool result = false;
  while (!text.empty()) {
    cv->Font()->Assign(&measureFont);
    const int H0 = cv->TextHeight("gh");
    TMetrics LM;
    LM.LineHeight = H0;
    ms.Sub = ms.Sup = false;
    const TStyle start = ms;
    TLineEngine first(C, ms, LM, Rect(working.Left, lineTop, working.Right, working.Bottom), true, false);
    const std::string consumed = first.Run(text);
    measureFont.Assign(cv->Font());
    const int measured = LM.LineWidth;

    int x = working.Left;
    const int ww = working.Right - working.Left;
    if (C.Alignment == 1 && working.Right - LM.LineWidth > working.Left) x = working.Right - LM.LineWidth;
    if (C.Alignment == 2 && ww - LM.LineWidth > 0) x = working.Left + (ww - LM.LineWidth) / 2;
    x += C.Indent;
    const TRect lineRect = Rect(x, lineTop, working.Right, lineTop + LM.LineHeight + LM.SubExtra + LM.SupExtra);
    if (!CalcOnly) {
      // The second pass starts from the state the line began with, in its own font.
      const TColor bk = ds.Bk, fontBk = ds.FontBk, hiFont = ds.HiFont, hiBk = ds.HiBk, aFont = ds.AnchorFont,
                   aBk = ds.AnchorBk, paraBk = ds.ParaBk;
      const bool paraOn = ds.ParaBkOn, err = ds.ErrorMark;
      ds = start;
      ds.Bk = bk, ds.FontBk = fontBk, ds.HiFont = hiFont, ds.HiBk = hiBk, ds.AnchorFont = aFont, ds.AnchorBk = aBk,
      ds.ParaBk = paraBk, ds.ParaBkOn = paraOn, ds.ErrorMark = err;
      cv->Font()->Assign(&drawFont);
      std::string replay = consumed;
      LM.LineWidth = 0;  // the second pass counts from the line's start again
      TLineEngine second(C, ds, LM, lineRect, CheckOnly, true);
      second.Run(replay);
      drawFont.Assign(cv->Font());
      if ((second.AnchorHit && Y > lineRect.Bottom - LM.TextLift - H0 && Y < lineRect.Bottom - LM.TextLift) ||
          second.ElemHit)
        result = true;
    }
    const int advance = LM.LineHeight + LM.SubExtra + LM.SupExtra;
    lineTop += advance;
    YSize += advance;
    XSize = std::max(XSize, measured);
    if (!CalcOnly && lineTop + H0 > ARect.Bottom) break;
  }
  HyperLinks = ms.AnchorCount;
  cv->Font()->Assign(&base);
  if (YSize == 0) YSize = cv->TextHeight("gh");
  cv->Pen()->SetColor(penColor);
  cv->Pen()->SetWidth(penWidth);
  cv->Brush()->SetColor(brushColor);
  cv->Brush()->SetStyle(brushStyle);

  AnchorVal = C.AnchorVal;
  StripVal = C.Strip;
  FocusAnchor = C.FocusAnchor;
  AnchorTitle = C.AnchorTitle;
  MouseLink = C.MouseLink;
  HoverRect = C.HoverRect;
  ControlRect = C.ControlRect;
  ControlID = C.ControlID;
  ControlValue = C.ControlValue;
  ControlType = C.ControlType;
  return CalcOnly ? false : result;
}

THTMLDrawResult DrawHTML(TCanvas* Canvas, const std::string& Text, const TRect& Rect, const THTMLDrawOptions& O) {
  THTMLDrawResult r;
  r.ControlID = O.ControlID;
  r.Hit = DrawHTMLText(Canvas, Text, Rect, O.Images, O.X, O.Y, O.FocusLink, O.HoverLink, O.ShadowOffset, O.CheckOnly,
                       O.CalcOnly, O.Printing, O.Selected, O.BlinkOn, O.HoverStyle, O.WordWrap, O.Down,
                       O.ResFactor, O.URLColor, O.HoverColor, O.HoverFontColor, O.ShadowColor, r.AnchorVal,
                       r.StripVal, r.FocusAnchor, r.AnchorTitle, r.XSize, r.YSize, r.HyperLinks, r.MouseLink,
                       r.HoverRect, r.ControlRect, r.ControlID, r.ControlValue, r.ControlType, O.PictureCache,
                       O.PictureContainer, O.WindowHandle);
  return r;
}
