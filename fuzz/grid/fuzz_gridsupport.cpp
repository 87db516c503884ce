// Mutation driver of the grid support's readers: markup text, the HTML
// picture's GIF frame scan and the wide string list's stored form.
//
// Targets:
//   html    the markup text operations (plain text, tags, highlight, control
//           values, indices) and DrawHTML measuring, drawing and hit-testing
//   gif     THTMLPicture::LoadFromStream, frame count, every frame shown
//   wide    ReadComponentFromStream of a holder of a wide string list, and
//           SetTextStr of the bytes as UTF-16
// Rules: only the layer's exceptions come out; a failed picture load leaves
// no picture; a list that was read writes a stream that reads back equal.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "grid/support/picturecontainer.h"
#include "grid/support/psghtmle.h"
#include "grid/support/widestrings.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

// ---- html

void RunHtml(const std::string& text) {
  fuzzdriver::ExpectLayerErrors([&] {
    HTMLToPlainText(text);
    StripHTMLTags(text);
    HighlightHTMLText(text, "a", "B");
    HighlightHTMLText(text, "<", "I", true);
    RemoveHTMLTagPair(text, "B");
    PrepareHTMLText(text);
    DecodeRunEntities(text);
    PasswordMask(text);
    UnescapeControlValue(EscapeControlValue(text));
    ParseControlTag(text);
    for (int n : {0, 1, 2, static_cast<int>(text.size() / 2), static_cast<int>(text.size()) + 3}) {
      const int at = PlainToHTMLIndex(text, n);
      if (at < 0 || at > static_cast<int>(text.size()) + 1)
        fuzzdriver::Fault("PlainToHTMLIndex outside the text: " + std::to_string(at));
    }
    if (HasHTMLControl(text)) {
      std::string id = NextHTMLEditControlID(text, "");
      for (int k = 0; k < 8 && !id.empty(); ++k) {
        GetHTMLControlProp(text, id);
        std::string copy = text;
        SetHTMLControlValue(copy, id, "v\"<&>");
        id = NextHTMLEditControlID(text, id);
      }
    }
    TBitmap b(120, 60);
    THTMLDrawOptions o;
    o.CalcOnly = true;
    DrawHTML(b.Canvas(), text, Rect(0, 0, 120, 60), o);
    o.CalcOnly = false;
    DrawHTML(b.Canvas(), text, Rect(0, 0, 120, 60), o);
    o.X = 10;
    o.Y = 5;
    o.CheckOnly = true;
    o.WordWrap = false;
    DrawHTML(b.Canvas(), text, Rect(0, 0, 120, 60), o);
  });
}

std::vector<std::string> HtmlSeeds() {
  return {"plain", "<B>bold</B> <I>it</I> <U>u</U> <S>s</S><BR>next",
          "<FONT face=\"Arial\" size=\"12\" color=\"#FF0000\" bgcolor=\"clYellow\">x</FONT>",
          "<A href=\"one\" title=\"t\">link</A> and <A href='two'>other</A>",
          "<IMG src=\"idx:1\" width=\"10\" height=\"8\" align=\"middle\"> <IMG src=\"file://none.png\">",
          "<P align=\"right\">r</P><P align=\"center\">c</P><HR><UL><LI>a<LI>b</UL><OL><LI>1</OL>",
          "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"v\" WIDTH=\"40\"> <CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\">",
          "<SUB>2</SUB><SUP>3</SUP><SHAD>s</SHAD><BLINK>b</BLINK><Z>hidden</Z><INDENT=\"10\">&amp;&lt;&gt;&nbsp;&copy;",
          "<BODY background=\"x\" bgcolor=\"#00FF00\" bgcolorto=\"#0000FF\" dir=\"v\">t</BODY><#tag>\r\nline"};
}

// ---- gif

std::vector<std::string> GifSeeds() {
  // A 1 x 1 GIF with two frames.
  static const unsigned char one[] = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                                      0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00};
  static const unsigned char head[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01,
                                       0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00};
  std::string h(reinterpret_cast<const char*>(head), sizeof head);
  std::string f(reinterpret_cast<const char*>(one), sizeof one);
  TBitmap b(3, 2);
  TStringStream bmp;
  b.SaveToStream(bmp);
  // About 130 bytes that claim a canvas of 8000 x 8000 pixels, by the
  // screen or by an image on a screen of nothing: 256 MB decoded once.
  std::string bigScreen = h, bigImage = h + f;
  bigScreen[6] = bigScreen[8] = 0x40, bigScreen[7] = bigScreen[9] = 0x1F;
  bigImage[6] = bigImage[7] = bigImage[8] = bigImage[9] = 0;
  bigImage[h.size() + 13] = bigImage[h.size() + 15] = 0x40;
  bigImage[h.size() + 14] = bigImage[h.size() + 16] = 0x1F;
  return {h + f + ";", h + f + f + f + ";", bmp.DataString(), bigScreen + f + f + f + f + f + ";",
          bigImage + f + f + f + f + ";"};
}

void RunGif(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    THTMLPicture p;
    TStringStream in(bytes);
    try {
      p.LoadFromStream(in);
    } catch (const Exception&) {
      if (!p.Empty()) fuzzdriver::Fault("a failed load left a picture");
      throw;
    }
    if (static_cast<long long>(p.Width()) * p.Height() > kLoadPixelBudget)
      fuzzdriver::Fault("a picture past the budget was decoded: " + std::to_string(p.Width()) + " x " +
                        std::to_string(p.Height()));
    const int frames = p.CountFrames();
    for (int k = 1; k <= std::min(frames, 6); ++k) {
      try {
        p.SetFrame(k);
      } catch (const Exception&) {
      }
      if (static_cast<long long>(p.Width()) * p.Height() > kLoadPixelBudget)
        fuzzdriver::Fault("a frame past the budget was decoded");
      TBitmap target(8, 8);
      p.Draw(target.Canvas(), Rect(0, 0, 8, 8));
    }
  });
}

// ---- wide

class TFzWideList : public TWideStrings {
public:
  std::u16string Get(int i) const override { return FItems.at(static_cast<size_t>(i)).first; }
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Clear() override { FItems.clear(); }
  void Delete(int i) override { FItems.erase(FItems.begin() + i); }
  void Insert(int i, const std::u16string& s) override { FItems.insert(FItems.begin() + i, {s, nullptr}); }
  TObject* GetObject(int i) const override { return FItems.at(static_cast<size_t>(i)).second; }
  void PutObject(int i, TObject* o) override { FItems.at(static_cast<size_t>(i)).second = o; }

private:
  std::vector<std::pair<std::u16string, TObject*>> FItems;
};

class TFzWideHolder : public TComponent {
  ZV_CLASS(TFzWideHolder)
public:
  explicit TFzWideHolder(TComponent* owner) : TComponent(owner) {}
  TWideStrings* Items() { return &FItems; }
  void SetItems(TWideStrings* v) { FItems.Assign(v); }

private:
  TFzWideList FItems;
};
ZV_CLASS_IMPL(TFzWideHolder, TComponent)
void TFzWideHolder::DeclareProperties(TClassInfo& c) {
  c.Object<TFzWideHolder, TWideStrings>("Items", [](TFzWideHolder* o) -> TWideStrings* { return o->Items(); },
                                         &TFzWideHolder::SetItems);
}

std::vector<std::string> WideSeeds() {
  std::vector<std::string> seeds;
  for (const std::vector<std::u16string>& lines :
       std::vector<std::vector<std::u16string>>{{u"a"}, {u"\x0395\x03BB", u"", u"\x4E2D\x6587", u"plain text"}}) {
    TFzWideHolder h(nullptr);
    for (const auto& l : lines) h.Items()->Add(l);
    TStringStream s;
    WriteComponentToStream(s, &h);
    seeds.push_back(s.DataString());
  }
  return seeds;
}

void RunWide(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TFzWideHolder h(nullptr);
    h.Items()->Add(u"kept");
    TStringStream in(bytes);
    // A failure after the list was read leaves the properties read before it
    // (as for every component), so only a complete read is checked further.
    ReadComponentFromStream(in, &h);
    TStringStream again;
    WriteComponentToStream(again, &h);
    TFzWideHolder back(nullptr);
    again.SetPosition(0);
    try {
      ReadComponentFromStream(again, &back);
    } catch (const Exception& e) {
      fuzzdriver::Fault("a list that was read writes a stream that does not read: " + e.Message());
    }
    if (!back.Items()->Equals(*h.Items())) fuzzdriver::Fault("a list that was read does not read back equal");
  });
  fuzzdriver::ExpectLayerErrors([&] {
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    TFzWideList l;
    l.SetTextStr(text);
    l.GetTextStr();
  });
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  RegisterClass(&TFzWideHolder::StaticClass());
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"html", HtmlSeeds(), RunHtml,
                     {"<", ">", "</", "<B>", "<A href=\"", "</A>", "<FONT ", "color=\"#", "face=\"", "size=\"",
                      "<IMG src=\"", "<CONTROL TYPE=\"", "ID=\"", "VALUE=\"", "\"", "'", "&", "&amp;", "&#", ";",
                      "<BR>", "<P ", "<LI>", "<UL>", "<OL>", "<HR>", "<SUB>", "<SUP>", "<INDENT=", "<#", "\r\n",
                      "<Z>", "<SHAD>", "<BODY ", "<BLINK>", "width=\"", "height=\""}});
  targets.push_back({"gif", GifSeeds(), RunGif,
                     {std::string("\x21\xF9\x04", 3), std::string("\x2C", 1), "GIF89a", "GIF87a", ";",
                      std::string("\xFF\xFF", 2), std::string("\x00\x00", 2)}});
  targets.push_back({"wide", WideSeeds(), RunWide,
                     {"WideStrings", "Items", "TPF0", std::string("\x01", 1), std::string("\x12", 1),
                      std::string("\x14", 1), std::string("\x06", 1), std::string("\x00\x00", 2),
                      std::string("\xFF\xFF\xFF\x7F", 4)}});
  return fuzzdriver::Main(argc, argv, "fuzz-gridsupport", targets);
}
