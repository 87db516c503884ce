// Component streams that are damaged or made to harm: deep nesting, counts
// larger than the stream, components that would contain themselves, values
// outside their type, collections stored twice, controls freed while read.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <functional>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/streaming.h"

namespace {

class THItem : public TCollectionItem {
  ZV_CLASS(THItem)
public:
  explicit THItem(TCollection* c) : TCollectionItem(c), Sub(&THItem::StaticClass()) {}
  std::string Label;
  TComponent* Ref = nullptr;
  TCollection Sub;
};
ZV_CLASS_IMPL(THItem, TCollectionItem)
void THItem::DeclareProperties(TClassInfo& c) {
  c.String<THItem>("Label", [](THItem* o) { return o->Label; }, [](THItem* o, const std::string& v) { o->Label = v; });
  // Writing through the item shows a use of a freed item to the sanitizer.
  c.Object<THItem, TComponent>("Ref", [](THItem* o) { return o->Ref; }, [](THItem* o, TComponent* v) { o->Ref = v; });
  c.Object<THItem, TCollection>("Sub", [](THItem* o) { return &o->Sub; }, nullptr);
}

class THBox : public TWinControl {
  ZV_CLASS(THBox)
public:
  explicit THBox(TComponent* owner) : TWinControl(owner) {}
};
ZV_CLASS_IMPL_NOPROPS(THBox, TWinControl)

class THPlain : public TComponent {
  ZV_CLASS(THPlain)
public:
  explicit THPlain(TComponent* owner) : TComponent(owner) {}
};
ZV_CLASS_IMPL_NOPROPS(THPlain, TComponent)

const TEnumInfo& WideNames() {
  static const TEnumInfo info = [] {
    TEnumInfo e{"THWide", {}, 0};
    for (int i = 0; i < 70; ++i) e.Names.push_back("wd" + std::to_string(i));
    return e;
  }();
  return info;
}

class THRoot : public TWinControl {
  ZV_CLASS(THRoot)
public:
  explicit THRoot(TComponent* owner) : TWinControl(owner), Items(&THItem::StaticClass()) {}
  ~THRoot() override { Destroying(); }
  TCollection Items;
  float Thin = 0;
  double Ratio = 0;
  uint64_t Wide = 0;
  std::vector<uint8_t> Data;
  bool DataRead = false;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    TWinControl::GetChildren(proc, root);
    for (int i = 0; i < ComponentCount(); ++i)
      if (!dynamic_cast<TControl*>(Components(i))) proc(Components(i));
  }
  void DefineProperties(TFiler* filer) override {
    TWinControl::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data",
        [this](TStream* s) {
          DataRead = true;
          Data.resize(static_cast<size_t>(s->Size()));
          s->ReadBuffer(Data.data(), s->Size());
        },
        nullptr, false);
  }
};
ZV_CLASS_IMPL(THRoot, TWinControl)
void THRoot::DeclareProperties(TClassInfo& c) {
  c.Object<THRoot, TCollection>("Items", [](THRoot* o) { return &o->Items; }, nullptr);
  c.Float<THRoot>("Thin", ftSingle, [](THRoot* o) { return o->Thin; }, [](THRoot* o, float v) { o->Thin = v; });
  c.Float<THRoot>("Ratio", ftDouble, [](THRoot* o) { return o->Ratio; }, [](THRoot* o, double v) { o->Ratio = v; });
  c.Set<THRoot>("Wide", WideNames(), [](THRoot* o) { return o->Wide; }, [](THRoot* o, uint64_t v) { o->Wide = v; });
}

struct Registered {
  Registered() { RegisterClasses({&THRoot::StaticClass(), &THBox::StaticClass(), &THPlain::StaticClass()}); }
};
const Registered registered;

// The largest single allocation made while body runs, where the sanitizer
// build can tell (its allocator calls hooks); 0 in other builds.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));
std::atomic<bool> gWatching{false};
std::atomic<size_t> gLargest{0};
size_t LargestAllocation(const std::function<void()>& body) {
  static const bool hooked = __sanitizer_install_malloc_and_free_hooks &&
                             __sanitizer_install_malloc_and_free_hooks(
                                 [](const volatile void*, size_t n) {
                                   if (gWatching) gLargest = std::max<size_t>(gLargest, n);
                                 },
                                 [](const volatile void*) {}) != 0;
  gLargest = 0;
  gWatching = hooked;
  body();
  gWatching = false;
  return gLargest;
}

// Pieces of the binary form.
std::string Str(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
std::string Int32(int32_t v) {
  std::string r(4, '\0');
  for (int i = 0; i < 4; ++i) r[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
  return r;
}
std::string Extended(long double v) {
  uint8_t b[10];
  TStream::ExtendedToBytes(v, b);
  return std::string(1, vaExtended) + std::string(reinterpret_cast<const char*>(b), 10);
}
// A root with the given property bytes and child bytes.
std::string Root(const std::string& props, const std::string& children = "") {
  return "TPF0" + Str("THRoot") + Str("R1") + props + std::string(1, '\0') + children + std::string(1, '\0');
}
std::string Child(const std::string& cls, const std::string& name, const std::string& children = "") {
  return Str(cls) + Str(name) + std::string(1, '\0') + children + std::string(1, '\0');
}

std::string TextToBinary(const std::string& text) {
  TStringStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.DataString();
}

void ReadInto(THRoot& root, const std::string& bin, bool tolerant = false) {
  TStringStream s(bin);
  TReader r(&s);
  if (tolerant) r.OnError = [](TReader*, const std::string&, bool& handled) { handled = true; };
  r.ReadRootComponent(&root);
}

}  // namespace

TEST(StreamingHardening, CountsBeyondTheStreamAreReadErrors) {
  // Each would have the reader allocate (and zero) gigabytes before it notices.
  const struct {
    const char* what;
    std::string bin;
  } cases[] = {
      {"wide string", Root(Str("Hint") + std::string(1, vaWString) + Int32(0x7FFFFFFF) + "ab")},
      {"long string", Root(Str("Hint") + std::string(1, vaLString) + Int32(0x7FFFFFF0) + "ab")},
      {"UTF-8 string", Root(Str("Hint") + std::string(1, vaUTF8String) + Int32(0x7FFFFFF0))},
      {"binary property", Root(Str("Data") + std::string(1, vaBinary) + Int32(0x7FFFFFF0) + "xyz")},
      {"negative count", Root(Str("Data") + std::string(1, vaBinary) + Int32(-1))},
      {"skipped binary", Root(Str("Unknown") + std::string(1, vaBinary) + Int32(0x7FFFFFF0))},
  };
  for (const auto& c : cases) {
    THRoot root(nullptr);
    const size_t largest = LargestAllocation([&] {
      EXPECT_THROW(ReadInto(root, c.bin, true), EReadError) << c.what;
      TStringStream in(c.bin), out;
      EXPECT_THROW(ObjectBinaryToText(in, out), EReadError) << c.what;
    });
    EXPECT_LT(largest, 1u << 20) << c.what;
    EXPECT_FALSE(root.DataRead) << c.what;
  }
}

TEST(StreamingHardening, NestingWithoutEndIsRefusedNotAStackOverflow) {
  const int deep = 1000000;
  std::string lists = Root(Str("Unknown") + std::string(deep, vaList));
  std::string boxes;
  for (int i = 0; i < deep / 10; ++i) boxes += Str("THBox") + Str("") + std::string(1, '\0');
  const std::string nestedBoxes = Root("", boxes);
  for (const std::string& bin : {lists, nestedBoxes}) {
    THRoot root(nullptr);
    EXPECT_THROW(ReadInto(root, bin, true), EReadError);
    EXPECT_EQ(root.ComponentCount(), 0);
    TStringStream in(bin), out;
    EXPECT_THROW(ObjectBinaryToText(in, out), EReadError);
  }
  std::string collections = "object R1: THRoot\n  Items = <";
  for (int i = 0; i < deep / 10; ++i) collections += " item Sub = <";
  const std::string texts[] = {"object R1: THRoot\n  Hint = " + std::string(deep, '('),
                               "object R1: THRoot\n" + [&] {
                                 std::string s;
                                 for (int i = 0; i < deep / 10; ++i) s += "object THBox\n";
                                 return s;
                               }(),
                               collections};
  for (const std::string& text : texts) EXPECT_THROW(TextToBinary(text), EParserError);

  // Nesting just inside the limit still reads.
  std::string nearLimit = "object R1: THRoot\n";
  for (int i = 0; i < 250; ++i) nearLimit += "object B" + std::to_string(i) + ": THBox\n";
  for (int i = 0; i < 251; ++i) nearLimit += "end\n";
  THRoot root(nullptr);
  ReadInto(root, TextToBinary(nearLimit));
  EXPECT_EQ(root.ComponentCount(), 250);
  EXPECT_EQ(static_cast<THBox*>(root.FindComponent("B249"))->Parent(), root.FindComponent("B248"));
}

TEST(StreamingHardening, AControlFreedWhileReadLeavesNoEntryBehind) {
  // B1 fails after reading C1; freeing B1 frees C1 with it.
  const std::string text =
      "object R1: THRoot\n  object B1: THBox\n    object C1: THBox\n    end\n"
      "    object C2: TNoSuchClass\n    end\n  end\nend\n";
  THRoot root(nullptr);
  EXPECT_THROW(ReadInto(root, TextToBinary(text)), EClassNotFound);
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.ControlCount(), 0);
  EXPECT_FALSE(root.ComponentState().Contains(csLoading));
  // A new root read from the same stream is freed with what it had read.
  TStringStream s(TextToBinary(text));
  EXPECT_THROW(ReadComponentFromStream(s, nullptr), EClassNotFound);
}

TEST(StreamingHardening, AnInheritedChildThatWouldContainItselfIsRefused) {
  const std::string cases[] = {
      "object R1: THRoot\n  object Outer: THBox\n    inherited Outer: THBox\n    end\n  end\nend\n",
      "object R1: THRoot\n  object Outer: THBox\n    object Inner: THBox\n      inherited Outer: THBox\n"
      "      end\n    end\n  end\nend\n",
  };
  for (const std::string& text : cases) {
    const std::string bin = TextToBinary(text);
    {
      THRoot root(nullptr);
      EXPECT_THROW(ReadInto(root, bin), EReadError) << text;
    }
    THRoot root(nullptr);
    ReadInto(root, bin, true);
    auto* outer = dynamic_cast<THBox*>(root.FindComponent("Outer"));
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->Parent(), &root);
    if (auto* inner = dynamic_cast<THBox*>(root.FindComponent("Inner"))) {
      EXPECT_EQ(inner->Parent(), outer);
    }
  }
}

TEST(StreamingHardening, ACollectionStoredTwiceDropsTheReferencesOfItsFirstItems) {
  const std::string text =
      "object R1: THRoot\n"
      "  Items = <\n    item\n      Ref = P1\n      Sub = <\n        item\n          Ref = P1\n        end>\n"
      "    end>\n"
      "  Items = <\n    item\n      Label = 'second'\n    end>\n"
      "  object P1: THPlain\n  end\nend\n";
  THRoot root(nullptr);
  ReadInto(root, TextToBinary(text));
  ASSERT_EQ(root.Items.Count(), 1);
  auto* item = static_cast<THItem*>(root.Items.Items(0));
  EXPECT_EQ(item->Label, "second");
  EXPECT_EQ(item->Ref, nullptr);
  // References read in the last copy still resolve.
  THRoot again(nullptr);
  ReadInto(again, TextToBinary("object R1: THRoot\n  Items = <\n    item\n      Ref = P1\n    end>\n"
                               "  object P1: THPlain\n  end\nend\n"));
  EXPECT_EQ(static_cast<THItem*>(again.Items.Items(0))->Ref, again.FindComponent("P1"));
}

TEST(StreamingHardening, ValuesOutsideTheirTypeAreInvalid) {
  const std::string cases[] = {
      Root(Str("Thin") + Extended(1e300L)),              // beyond a single
      Root(Str("Ratio") + Extended(1e4000L)),            // beyond a double
      Root(Str("Wide") + std::string(1, vaSet) + Str("wd65") + Str("")),  // beyond 64 set elements
  };
  for (const std::string& bin : cases) {
    THRoot root(nullptr);
    EXPECT_THROW(ReadInto(root, bin), EReadError);
    EXPECT_EQ(root.Thin, 0.0f);
    EXPECT_EQ(root.Ratio, 0.0);
    EXPECT_EQ(root.Wide, 0u);
  }
  // The largest values of each type and the special ones are values.
  THRoot root(nullptr);
  ReadInto(root, Root(Str("Thin") + Extended(FLT_MAX) + Str("Ratio") + Extended(-INFINITY) + Str("Wide") +
                      std::string(1, vaSet) + Str("wd63") + Str("")));
  EXPECT_EQ(root.Thin, FLT_MAX);
  EXPECT_EQ(root.Ratio, -INFINITY);
  EXPECT_EQ(root.Wide, uint64_t(1) << 63);
  TStringStream s(Extended(1e39L));
  EXPECT_THROW(TReader(&s).ReadSingle(), EReadError);
}

TEST(StreamingHardening, HostileNumbersAndCharacterCodesInTheTextFormAreParserErrors) {
  const struct {
    const char* value;
    const char* error;
  } bad[] = {
      {"-$8000000000000000", "Integer out of range"},
      {"$1FFFFFFFFFFFFFFFF", "Integer out of range"},
      {"99999999999999999999", "Integer out of range"},
      {"#1114112", "Invalid character code"},
      {"#99999999999999999999", "Invalid character code"},
      {"#$", "Character code expected"},
      {"1E39s", "Number out of range"},
      {"1E309d", "Number out of range"},
      {"1E300c", "Number out of range"},
      {"1E99999", "Number out of range"},
  };
  for (const auto& c : bad) {
    try {
      TextToBinary(std::string("object R1: THRoot\n  Hint = ") + c.value + "\nend\n");
      ADD_FAILURE() << c.value;
    } catch (const EParserError& e) {
      EXPECT_NE(e.Message().find(c.error), std::string::npos) << c.value << ": " << e.Message();
    }
  }
  EXPECT_THROW(TextToBinary("object R1: THRoot\n  object THBox [99999999999]\n  end\nend\n"), EParserError);
  // The limits themselves are values.
  const char* good[] = {"-$7FFFFFFFFFFFFFFF", "$00000000000000001", "#1114111", "#$10FFFF", "#0000065",
                        "3.4E38s", "1E308d", "-1E-4950", "922337203685477.5c"};
  for (const char* v : good)
    EXPECT_NO_THROW(TextToBinary(std::string("object R1: THRoot\n  Hint = ") + v + "\nend\n")) << v;
}

TEST(StreamingHardening, ANameThatIsNoNameIsLeftOffWhenErrorsAreHandled) {
  const std::string bin = Root("", Child("THPlain", "not a name") + Child("THPlain", "P1") + Child("THPlain", "P1"));
  {
    THRoot root(nullptr);
    EXPECT_THROW(ReadInto(root, bin), EComponentError);
    EXPECT_EQ(root.ComponentCount(), 0);
  }
  THRoot root(nullptr);
  ReadInto(root, bin, true);
  ASSERT_EQ(root.ComponentCount(), 3);
  EXPECT_EQ(root.Components(0)->Name(), "");
  EXPECT_EQ(root.Components(1)->Name(), "P1");
  EXPECT_EQ(root.Components(2)->Name(), "P1_1");
}

TEST(StreamingHardening, ControlBoundsNearTheIntegerLimitAreClamped) {
  const std::string text =
      "object R1: THRoot\n  Width = 300\n  Height = 200\n"
      "  object B1: THBox\n    Left = -2147483648\n    Top = 2147483647\n    Width = 2147483647\n"
      "    Height = 2147483647\n    Anchors = [akLeft, akTop, akRight, akBottom]\n  end\n"
      "  object B2: THBox\n    Left = 10\n    Top = 20\n    Width = 30\n    Height = 40\n"
      "    Anchors = [akLeft, akTop, akRight, akBottom]\n  end\nend\n";
  THRoot root(nullptr);
  ReadInto(root, TextToBinary(text));
  ASSERT_EQ(root.ControlCount(), 2);
  TControl* huge = root.Controls(0);
  TControl* plain = root.Controls(1);
  EXPECT_EQ(huge->Left(), -kMaxStreamedBound);
  EXPECT_EQ(huge->Top(), kMaxStreamedBound);
  EXPECT_EQ(huge->Width(), kMaxStreamedBound);
  EXPECT_EQ(huge->Height(), kMaxStreamedBound);
  EXPECT_EQ(plain->BoundsRect(), Rect(10, 20, 40, 60));  // ordinary bounds as stored
  // The anchor rules follow a resize without overflowing.
  const int right = root.ClientWidth() - (huge->Left() + huge->Width());
  root.SetBounds(0, 0, 400, 260);
  EXPECT_EQ(huge->Left(), -kMaxStreamedBound);
  EXPECT_EQ(huge->Width(), root.ClientWidth() - right + kMaxStreamedBound);
  EXPECT_EQ(plain->BoundsRect(), Rect(10, 20, 140, 120));
  // Set from code, bounds are taken as given.
  plain->SetBounds(-3000000, 0, 5, 5);
  EXPECT_EQ(plain->Left(), -3000000);
}
