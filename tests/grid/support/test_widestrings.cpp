// The wide string list: line splitting, texts, the locale comparison,
// moving and exchanging, conversion from and to 8-bit lists, the stored form
// (a damaged stream leaves the list as it was) and the zero-terminated
// wide-text blocks.
#include "grid/support/widestrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"

namespace {

// The simplest storage a descendant can give.
class TTestWideList : public TWideStrings {
public:
  std::u16string Get(int i) const override { return FItems.at(static_cast<size_t>(i)).first; }
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  void Clear() override { FItems.clear(); }
  void Delete(int i) override { FItems.erase(FItems.begin() + i); }
  void Insert(int i, const std::u16string& s) override { FItems.insert(FItems.begin() + i, {s, nullptr}); }
  TObject* GetObject(int i) const override { return FItems.at(static_cast<size_t>(i)).second; }
  void PutObject(int i, TObject* o) override { FItems.at(static_cast<size_t>(i)).second = o; }
  void SetUpdateState(bool updating) override { updating ? ++Begins : ++Ends; }
  std::vector<std::u16string> Lines() const {
    std::vector<std::u16string> r;
    for (auto& [s, o] : FItems) r.push_back(s);
    return r;
  }
  int Begins = 0, Ends = 0;

private:
  std::vector<std::pair<std::u16string, TObject*>> FItems;
};

using Lines = std::vector<std::u16string>;

TEST(WideStrings, SetTextStrCutsAtEveryLineTerminator) {
  const struct {
    std::u16string text;
    Lines lines;
  } cases[] = {
      {u"a\r\nb\n\nc", {u"a", u"b", u"", u"c"}},
      {u"", {}},
      {u"x\r\n", {u"x"}},
      {u"\n", {u""}},
      {u"\r\r\n", {u"", u""}},
      {u"a\rb\x000B" u"c\x000C" u"d\x2028" u"e\x2029" u"f", {u"a", u"b", u"c", u"d", u"e", u"f"}},
      {u"\n\r", {u"", u""}},  // LF CR is two terminators
      {std::u16string(u"ab\0cd", 5), {u"ab"}},
  };
  for (const auto& c : cases) {
    TTestWideList list;
    list.Add(u"old");
    list.SetTextStr(c.text);
    EXPECT_EQ(list.Lines(), c.lines) << list.Lines().size();
    EXPECT_EQ(list.Begins, 1);
    EXPECT_EQ(list.Ends, 1);
  }
}

TEST(WideStrings, TextEndsEveryLineWithCrLf) {
  TTestWideList list;
  EXPECT_EQ(list.GetTextStr(), u"");
  list.Add(u"");
  EXPECT_EQ(list.GetTextStr(), u"\r\n");
  list.Add(u"\x0395");
  EXPECT_EQ(list.GetTextStr(), u"\r\n\x0395\r\n");
  char16_t* block = list.GetText();
  EXPECT_EQ(std::u16string(block), u"\r\n\x0395\r\n");
  TTestWideList copy;
  copy.SetText(block);
  EXPECT_EQ(copy.Lines(), (Lines{u"", u"\x0395"}));
  WideStrDispose(block);
}

TEST(WideStrings, IndexOfIgnoresCaseBeyondAscii) {
  TTestWideList list;
  EXPECT_EQ(list.IndexOf(u"a"), -1);
  list.Add(u"Apple");
  list.Add(u"\x0395\x03BB\x03BB\x03AC\x03B4\x03B1");  // Ελλάδα
  EXPECT_EQ(list.IndexOf(u"APPLE"), 0);
  EXPECT_EQ(list.IndexOf(u"\x03B5\x03BB\x03BB\x03AC\x03B4\x03B1"), 1);  // ελλάδα
  EXPECT_EQ(list.IndexOf(u"Appl"), -1);
  EXPECT_LT(CompareTextWideLocale(list.Language(), u"a", u"B"), 0);
}

TEST(WideStrings, MoveExchangeAndPutKeepObjects) {
  TTestWideList list;
  TObject o1, o2, o3;
  list.AddObject(u"one", &o1);
  list.AddObject(u"two", &o2);
  list.AddObject(u"three", &o3);
  list.Move(1, 1);
  list.Exchange(2, 2);
  EXPECT_EQ(list.Lines(), (Lines{u"one", u"two", u"three"}));
  list.Move(0, 2);
  EXPECT_EQ(list.Lines(), (Lines{u"two", u"three", u"one"}));
  EXPECT_EQ(list.Objects(2), &o1);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Lines(), (Lines{u"three", u"two", u"one"}));
  EXPECT_EQ(list.Objects(0), &o3);
  EXPECT_EQ(list.Objects(1), &o2);
  list.Put(1, u"zwei");
  EXPECT_EQ(list.Strings(1), u"zwei");
  EXPECT_EQ(list.Objects(1), &o2);
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(WideStrings, EightBitListsCarryObjectsExceptThroughTheView) {
  TStringList ansi;
  TObject o;
  ansi.AddObject("caf\xC3\xA9", &o);  // café
  ansi.Add("x");
  TTestWideList list;
  list.Assign(ansi);
  EXPECT_EQ(list.Lines(), (Lines{u"caf\x00E9", u"x"}));
  EXPECT_EQ(list.Objects(0), &o);

  TTestWideList viewed;
  viewed.SetAnsiStrings(ansi);
  EXPECT_EQ(viewed.Lines(), (Lines{u"caf\x00E9", u"x"}));
  EXPECT_EQ(viewed.Objects(0), nullptr);
  EXPECT_EQ(viewed.AnsiStrings()->Strings(0), "caf\xC3\xA9");
  EXPECT_EQ(viewed.AnsiStrings()->Count(), 2);

  TStringList back;
  back.Add("gone");
  list.AssignTo(back);
  EXPECT_EQ(back.Text(), "caf\xC3\xA9\nx\n");
  EXPECT_EQ(back.Objects(0), &o);

  TTestWideList copy;
  copy.Assign(&list);
  EXPECT_TRUE(copy.Equals(list));
  EXPECT_EQ(copy.Objects(0), &o);
  copy.Put(1, u"X");
  EXPECT_FALSE(copy.Equals(list));  // unit by unit, not by the locale

  TComponent other(nullptr);
  EXPECT_THROW(copy.Assign(&other), EConvertError);
  EXPECT_EQ(copy.Count(), 2);
}

TEST(WideStrings, ZeroTerminatedBlocks) {
  char16_t* b = WideStrAlloc(3);
  uint32_t size = 0;
  std::memcpy(&size, reinterpret_cast<uint8_t*>(b) - 4, 4);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(WideStrLen(b), 0u);
  WideStrDispose(b);
  EXPECT_EQ(WideStrNew(static_cast<const char16_t*>(nullptr)), nullptr);
  char16_t* s = WideStrNew(u"abcdef");
  WideStrMove(s + 1, s, 3);  // overlapping, upwards
  EXPECT_EQ(std::u16string(s), u"aabcef");
  WideStrMove(s, s + 2, 4);  // overlapping, downwards
  EXPECT_EQ(std::u16string(s), u"bcefef");
  WideStrDispose(s);
}

// A component that stores a wide list, for the stored form.
class TWideHolder : public TComponent {
  ZV_CLASS(TWideHolder)
public:
  explicit TWideHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TTestWideList* Items() { return &FItems; }
  void SetItems(TWideStrings* v) { FItems.Assign(v); }

private:
  TTestWideList FItems;
};

ZV_CLASS_IMPL(TWideHolder, TComponent)
void TWideHolder::DeclareProperties(TClassInfo& c) {
  c.Object<TWideHolder, TWideStrings>("Items", [](TWideHolder* o) -> TWideStrings* { return o->Items(); },
                                       &TWideHolder::SetItems);
}

TEST(WideStrings, StoredFormRoundTripsAndACutStreamChangesNothing) {
  TWideHolder source(nullptr);
  source.Items()->Add(u"\x0395\x03BB\x03BB\x03AC\x03B4\x03B1");
  source.Items()->Add(u"");
  source.Items()->Add(u"\x4E2D\x6587");
  TMemoryStream stream;
  WriteComponentToStream(stream, &source);
  const std::string text = ComponentToText(&source);
  EXPECT_NE(text.find("Items.WideStrings"), std::string::npos) << text;

  TWideHolder target(nullptr);
  target.Items()->Add(u"kept");
  stream.SetPosition(0);
  ReadComponentFromStream(stream, &target);
  EXPECT_TRUE(target.Items()->Equals(*source.Items()));

  // Every cut inside the list's items.
  const std::vector<uint8_t> bytes(static_cast<const uint8_t*>(stream.Memory()),
                                   static_cast<const uint8_t*>(stream.Memory()) + stream.Size());
  const std::string name = "WideStrings";
  const size_t listStart =
      static_cast<size_t>(std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) - bytes.begin());
  ASSERT_LT(listStart, bytes.size());
  for (size_t cut = listStart; cut + 2 < bytes.size(); ++cut) {
    TMemoryStream part;
    part.WriteBuffer(bytes.data(), static_cast<int64_t>(cut));
    part.SetPosition(0);
    TWideHolder damaged(nullptr);
    damaged.Items()->Add(u"kept");
    EXPECT_THROW(ReadComponentFromStream(part, &damaged), Exception) << cut;
    EXPECT_EQ(damaged.Items()->Lines(), (Lines{u"kept"})) << cut;
  }

  // An empty list is not stored.
  TWideHolder empty(nullptr);
  EXPECT_EQ(ComponentToText(&empty).find("WideStrings"), std::string::npos);
}

}  // namespace
