#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/stringlist.h"

namespace {

using Lines = std::vector<std::string>;

// A private folder under TMPDIR, removed with its contents.
class StringListFiles : public ::testing::Test {
protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp) ? tmp : "/tmp";
    std::string pattern = base + "/zv-strings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Path(const std::string& name) const { return Dir + "/" + name; }
  std::string Dir;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int gAlive = 0;
class TCounted : public TObject {
public:
  TCounted() { ++gAlive; }
  ~TCounted() override { --gAlive; }
};

}  // namespace

TEST(TStringList, SortedCaseInsensitiveIgnoresDuplicatesKeepingFirstSpelling) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupIgnore);
  EXPECT_EQ(list.Add("Banana"), 0);
  EXPECT_EQ(list.Add("Apple"), 0);
  EXPECT_EQ(list.Add("cherry"), 2);
  EXPECT_EQ(list.Add("apple"), 0);  // the index of the string already there
  EXPECT_EQ(list.Add("APPLE"), 0);
  EXPECT_EQ(list.ToVector(), (Lines{"Apple", "Banana", "cherry"}));
  EXPECT_EQ(list.IndexOf("BANANA"), 1);
  EXPECT_EQ(list.IndexOf("grape"), -1);
}

TEST(TStringList, DuplicateRules) {
  TStringList accept;
  accept.SetSorted(true);
  accept.SetDuplicates(dupAccept);
  accept.Add("b");
  accept.Add("a");
  accept.Add("B");
  EXPECT_EQ(accept.Count(), 3);
  EXPECT_EQ(accept[0], "a");

  TStringList strict;
  strict.SetSorted(true);
  strict.SetDuplicates(dupError);
  strict.Add("x");
  try {
    strict.Add("X");
    FAIL() << "no EListError";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_EQ(strict.Count(), 1);

  // Unsorted lists accept anything.
  TStringList plain;
  plain.SetDuplicates(dupError);
  plain.Add("x");
  plain.Add("x");
  EXPECT_EQ(plain.Count(), 2);
}

TEST(TStringList, FindOnSortedList) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const char* s : {"delta", "alpha", "charlie", "bravo", "bravo", "echo"}) list.Add(s);
  // alpha bravo bravo charlie delta echo
  struct Case {
    const char* s;
    bool found;
    int index;
  };
  const Case cases[] = {{"alpha", true, 0}, {"BRAVO", true, 1}, {"echo", true, 5},   {"aaa", false, 0},
                        {"bz", false, 3},   {"zulu", false, 6}, {"Charlie", true, 3}, {"", false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.s);
    int index = -1;
    EXPECT_EQ(list.Find(c.s, index), c.found);
    EXPECT_EQ(index, c.index);
  }
}

TEST(TStringList, CaseSensitivity) {
  TStringList list;
  list.Add("Alpha");
  list.Add("alpha");
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("alpha"), 1);
  EXPECT_EQ(list.IndexOf("ALPHA"), -1);

  // Switching case sensitivity re-sorts a sorted list (upper case before lower).
  TStringList sorted;
  sorted.SetSorted(true);
  sorted.SetDuplicates(dupAccept);
  for (const char* s : {"b", "B", "a", "A"}) sorted.Add(s);
  sorted.SetCaseSensitive(true);
  EXPECT_EQ(sorted.ToVector(), (Lines{"A", "B", "a", "b"}));
  int index;
  EXPECT_FALSE(sorted.Find("c", index));
  EXPECT_TRUE(sorted.Find("a", index));
  EXPECT_EQ(index, 2);
}

TEST(TStringList, SortedListRefusesPositionalChanges) {
  TStringList list;
  list.Add("b");
  list.Add("a");
  list.SetSorted(true);
  EXPECT_EQ(list.ToVector(), (Lines{"a", "b"}));
  const std::vector<std::function<void()>> calls = {
      [&] { list.Insert(0, "c"); }, [&] { list.Put(0, "c"); }, [&] { list.Move(0, 1); }};
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no EListError";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
    }
  }
  EXPECT_EQ(list.ToVector(), (Lines{"a", "b"}));  // nothing lost
}

TEST(TStringList, IndexOutOfBounds) {
  TStringList list;
  list.Add("only");
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { list.Get(1); }, "List index out of bounds (1)"},
      {[&] { list.Strings(-1); }, "List index out of bounds (-1)"},
      {[&] { list.Put(2, "x"); }, "List index out of bounds (2)"},
      {[&] { list.Delete(1); }, "List index out of bounds (1)"},
      {[&] { list.Insert(2, "x"); }, "List index out of bounds (2)"},
      {[&] { list.Objects(3); }, "List index out of bounds (3)"},
      {[&] { list.Exchange(0, 1); }, "List index out of bounds (1)"},
      {[&] { list.Move(0, 4); }, "List index out of bounds (4)"},
  };
  for (const auto& [call, message] : cases) {
    SCOPED_TRACE(message);
    try {
      call();
      ADD_FAILURE() << "no EListError";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  EXPECT_EQ(list.ToVector(), (Lines{"only"}));
}

TEST(TStringList, PositionalEditsCarryObjects) {
  TObject o1, o2, o3;
  TStringList list;
  list.AddObject("one", &o1);
  list.AddObject("two", &o2);
  list.InsertObject(0, "zero", &o3);  // zero one two
  list.Exchange(0, 2);                // two one zero
  list.Move(0, 1);                    // one two zero
  EXPECT_EQ(list.ToVector(), (Lines{"one", "two", "zero"}));
  EXPECT_EQ(list.Objects(0), &o1);
  EXPECT_EQ(list.Objects(1), &o2);
  EXPECT_EQ(list.Objects(2), &o3);
  EXPECT_EQ(list.IndexOfObject(&o3), 2);
  list.SetStrings(1, "deux");
  EXPECT_EQ(list.Objects(1), &o2);
  list.Delete(0);
  EXPECT_EQ(list.ToVector(), (Lines{"deux", "zero"}));
}

TEST(TStringList, NamesAndValues) {
  TStringList list;
  list.SetText("Width=10\nheight=20\nnoseparator\nEmpty=\nA=b=c\n");
  EXPECT_EQ(list.Names(0), "Width");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("WIDTH"), "10");
  EXPECT_EQ(list.Values("Height"), "20");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.Values("A"), "b=c");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.ValueFromIndex(3), "");
  EXPECT_EQ(list.IndexOfName("empty"), 3);
  EXPECT_EQ(list.IndexOfName("noseparator"), -1);

  list.SetValue("width", "11");  // replaces, keeping the first spelling of the name
  EXPECT_EQ(list[0], "width=11");
  list.SetValue("Depth", "5");  // new pair at the end
  EXPECT_EQ(list[list.Count() - 1], "Depth=5");
  list.SetValue("height", "");  // an empty value deletes the pair
  EXPECT_EQ(list.IndexOfName("height"), -1);
  list.SetValueFromIndex(0, "12");
  EXPECT_EQ(list[0], "width=12");

  list.SetNameValueSeparator(':');
  list.Add("key:value");
  EXPECT_EQ(list.Values("KEY"), "value");
}

TEST(TStringList, CommaTextRoundTrip) {
  const std::vector<Lines> cases = {
      {"plain", "two words", "with,comma", "say \"hi\"", "", "tab\there"},
      {""},
      {},
      {"a", "b", "c"},
      {"  lead", "trail  "},
      {"\"", "\"\""},
      {"ünïcode", "日本 語"},
  };
  for (const auto& lines : cases) {
    TStringList src;
    for (const auto& s : lines) src.Add(s);
    TStringList dst;
    dst.SetCommaText(src.CommaText());
    SCOPED_TRACE(src.CommaText());
    EXPECT_EQ(dst.ToVector(), lines);
  }
}

TEST(TStringList, CommaAndDelimitedTextForms) {
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case parse[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"a b  c", {"a", "b", "c"}},  // blanks separate too
      {" a , b ", {"a", "b"}},
      {"\"two words\",x", {"two words", "x"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"\"unclosed", {"unclosed"}},
      {"", {}},
  };
  for (const auto& c : parse) {
    SCOPED_TRACE(c.text);
    TStringList list;
    list.SetCommaText(c.text);
    EXPECT_EQ(list.ToVector(), c.lines);
  }

  TStringList list;
  for (const char* s : {"a b", "c,d", "e\"f", "g"}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "\"a b\",\"c,d\",\"e\"\"f\",g");
  list.Clear();
  list.Add("");
  EXPECT_EQ(list.CommaText(), "\"\"");

  // Other delimiter and quote; StrictDelimiter keeps blanks inside items.
  TStringList semi;
  semi.SetDelimiter(';');
  semi.SetQuoteChar('\'');
  semi.SetDelimitedText("x y;'p;q';z");
  EXPECT_EQ(semi.ToVector(), (Lines{"x", "y", "p;q", "z"}));
  semi.SetStrictDelimiter(true);
  semi.SetDelimitedText(" x y ;z");
  EXPECT_EQ(semi.ToVector(), (Lines{" x y ", "z"}));
  EXPECT_EQ(semi.DelimitedText(), " x y ;z");
  semi.SetCommaText("m,n");  // comma text ignores and keeps the settings
  EXPECT_EQ(semi.ToVector(), (Lines{"m", "n"}));
  EXPECT_EQ(semi.Delimiter(), ';');
  EXPECT_EQ(semi.DelimitedText(), "m;n");
}

TEST(TStringList, TextSplitsAtEveryKindOfLineBreak) {
  struct Case {
    const char* text;
    Lines lines;
  };
  const Case cases[] = {
      {"a\nb\nc", {"a", "b", "c"}},
      {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"a\rb\rc\r", {"a", "b", "c"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two breaks
      {"mixed\rcr\nlf\r\ncrlf", {"mixed", "cr", "lf", "crlf"}},
      {"\n", {""}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(list.ToVector(), c.lines);
  }

  TStringList list;
  list.SetText("x\r\ny");
  EXPECT_EQ(list.Text(), "x\ny\n");
  list.SetLineBreak("\r\n");
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

TEST_F(StringListFiles, SaveAndLoadRoundTrip) {
  TStringList list;
  list.SetText("first\nsecond line\n\nünïcode");
  list.SaveToFile(Path("a.txt"));
  EXPECT_EQ(ReadAll(Path("a.txt")), "first\nsecond line\n\nünïcode\n");

  TStringList back;
  back.Add("old");
  back.LoadFromFile(Path("a.txt"));
  EXPECT_TRUE(back.Equals(list));

  // A byte-order mark and Windows line ends are not part of the text.
  std::ofstream(Path("bom.txt"), std::ios::binary) << "\xEF\xBB\xBFone\r\ntwo\r\n";
  back.LoadFromFile(Path("bom.txt"));
  EXPECT_EQ(back.ToVector(), (Lines{"one", "two"}));
}

TEST_F(StringListFiles, FileErrorsNameTheFileAndKeepTheList) {
  TStringList list;
  list.Add("kept");
  const std::string missing = Path("missing.txt");
  try {
    list.LoadFromFile(missing);
    FAIL() << "no EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". " + std::strerror(ENOENT));  // the system's text, in the desktop's language
  }
  EXPECT_EQ(list.ToVector(), (Lines{"kept"}));

  const std::string noFolder = Path("nofolder/out.txt");
  try {
    list.SaveToFile(noFolder);
    FAIL() << "no EFCreateError";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find("Cannot create file \"" + noFolder + "\""), std::string::npos);
  }
}

TEST(TStringList, StreamsLoadFromThePosition) {
  TStringStream stream("skip|a\nb");
  stream.SetPosition(5);
  TStringList list;
  list.LoadFromStream(stream);
  EXPECT_EQ(list.ToVector(), (Lines{"a", "b"}));
  TMemoryStream out;
  list.SaveToStream(out);
  EXPECT_EQ(out.Size(), 4);
}

TEST(TStringList, ChangeEventsAndUpdates) {
  TStringList list;
  std::vector<std::string> log;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    log.push_back("changing" + std::to_string(list.Count()));
  };
  list.OnChange = [&](TObject*) { log.push_back("change" + std::to_string(list.Count())); };
  list.Add("a");
  list.Delete(0);
  EXPECT_EQ(log, (Lines{"changing0", "change1", "changing1", "change0"}));

  log.clear();
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("x");
  list.Add("y");
  list.EndUpdate();
  EXPECT_EQ(log, (Lines{"changing0"}));
  list.EndUpdate();
  EXPECT_EQ(log, (Lines{"changing0", "change2"}));

  log.clear();
  list.SetText("p\nq\nr");  // one change for the whole text
  EXPECT_EQ(log, (Lines{"changing2", "change3"}));
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(TStringList, SortAndCustomSort) {
  TStringList list;
  for (const char* s : {"pear", "Apple", "fig", "banana", "apple"}) list.Add(s);
  list.Sort();
  EXPECT_EQ(list.ToVector(), (Lines{"Apple", "apple", "banana", "fig", "pear"}));

  // By length, longest first.
  list.CustomSort([](TStringList* l, int i, int j) {
    return static_cast<int>(l->Get(j).size()) - static_cast<int>(l->Get(i).size());
  });
  EXPECT_EQ(list[0], "banana");
  EXPECT_EQ(list[4], "fig");
  for (int i = 0; i + 1 < list.Count(); ++i) EXPECT_GE(list[i].size(), list[i + 1].size());
}

TEST(TStringList, AssignAddStringsAndEquals) {
  TObject o;
  TStringList a;
  a.AddObject("x", &o);
  a.Add("y");
  a.SetDelimiter(';');
  TStringList b;
  b.Add("old");
  b.Assign(a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(b.Objects(0), &o);
  EXPECT_EQ(b.Delimiter(), ';');
  b.AddStrings(b);  // adding a list to itself doubles it
  EXPECT_EQ(b.ToVector(), (Lines{"x", "y", "x", "y"}));
  EXPECT_FALSE(b.Equals(a));
  TStringList c;
  c.Add("X");
  c.Add("y");
  EXPECT_FALSE(c.Equals(a));  // exact comparison
}

TEST(TStringList, OwnedObjectsAreFreed) {
  gAlive = 0;
  {
    TStringList list(true);
    list.AddObject("a", new TCounted);
    list.AddObject("b", new TCounted);
    list.AddObject("c", new TCounted);
    list.Move(0, 2);  // moving keeps the object alive
    EXPECT_EQ(gAlive, 3);
    list.Delete(0);
    EXPECT_EQ(gAlive, 2);
    list.SetObjects(0, new TCounted);
    EXPECT_EQ(gAlive, 2);
    list.Clear();
    EXPECT_EQ(gAlive, 0);
    list.AddObject("d", new TCounted);
  }
  EXPECT_EQ(gAlive, 0);
}
