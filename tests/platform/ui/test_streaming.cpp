// Component streaming: binary and text forms, defaults, nested components,
// collections, defined properties, and the reader's error handling.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gfx/graphics.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/streaming.h"
#include "platform/ui/uitypes.h"

namespace {

enum TKind { kdLine, kdBar, kdArea };
const TEnumInfo kKinds{"TKind", {"kdLine", "kdBar", "kdArea"}, 0};
enum TOption { opA, opB, opC };
const TEnumInfo kOptions{"TOption", {"opA", "opB", "opC"}, 0};

class TPointItem : public TCollectionItem {
  ZV_CLASS(TPointItem)
public:
  explicit TPointItem(TCollection* c) : TCollectionItem(c) {}
  int X = 0;
  double Value = 0;
  std::string Label;
};
ZV_CLASS_IMPL(TPointItem, TCollectionItem)
void TPointItem::DeclareProperties(TClassInfo& c) {
  c.Integer<TPointItem>("X", [](TPointItem* o) { return o->X; }, [](TPointItem* o, int v) { o->X = v; }, 0);
  c.Float<TPointItem>("Value", ftDouble, [](TPointItem* o) { return o->Value; },
                      [](TPointItem* o, double v) { o->Value = v; });
  c.String<TPointItem>("Label", [](TPointItem* o) { return o->Label; },
                       [](TPointItem* o, const std::string& v) { o->Label = v; });
}

// A series-like child: parent linkage, a binary defined property with its
// points and a list-valued defined property.
class TTestSeries : public TComponent {
  ZV_CLASS(TTestSeries)
public:
  explicit TTestSeries(TComponent* owner) : TComponent(owner) {}
  ~TTestSeries() override;
  TComponent* ParentBox = nullptr;
  std::vector<double> Points;
  int Margins[4] = {15, 15, 15, 15};
  TKind Kind = kdLine;
  float Width = 1.5f;
  std::vector<TTestSeries*> Children;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return ParentBox; }
  void SetParentComponent(TComponent* v) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (auto* c : Children)
      if (c->Owner() == root) proc(c);
  }
  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data",
        [this](TStream* s) {
          Points.clear();
          const int n = s->ReadInteger();
          for (int i = 0; i < n; ++i) Points.push_back(s->ReadDouble());
        },
        [this](TStream* s) {
          s->WriteInteger(static_cast<int>(Points.size()));
          for (double p : Points) s->WriteDouble(p);
        },
        !Points.empty());
    const bool custom = Margins[0] != 15 || Margins[1] != 15 || Margins[2] != 15 || Margins[3] != 15;
    filer->DefineProperty(
        "PrintMargins",
        [this](TReader* r) {
          r->ReadListBegin();
          for (int& m : Margins) m = r->ReadInteger();
          r->ReadListEnd();
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (int m : Margins) w->WriteInteger(m);
          w->WriteListEnd();
        },
        custom);
    filer->DefineProperty(
        "LegacyFlag", [this](TReader* r) { LegacyFlag = r->ReadBoolean(); }, nullptr, false);
  }
  bool LegacyFlag = false;
};
ZV_CLASS_IMPL(TTestSeries, TComponent)
void TTestSeries::DeclareProperties(TClassInfo& c) {
  c.Enum<TTestSeries>("Kind", kKinds, [](TTestSeries* o) { return o->Kind; },
                      [](TTestSeries* o, TKind v) { o->Kind = v; }, kdLine);
  c.Float<TTestSeries>("Width", ftSingle, [](TTestSeries* o) { return o->Width; },
                       [](TTestSeries* o, float v) { o->Width = v; }, 1.5L);
}

// The root: published properties of every kind, a sub-object, a collection,
// a component reference, and nested children.
class TTestChart : public TComponent {
  ZV_CLASS(TTestChart)
public:
  explicit TTestChart(TComponent* owner)
      : TComponent(owner), Font(std::make_unique<TFont>()), Items(&TPointItem::StaticClass()),
        Lines(std::make_unique<TStringList>()) {}
  ~TTestChart() override {
    Destroying();
    Series.clear();
  }
  std::string Title = "A New refinement";
  int Cycles = 30;
  int64_t Big = 0;
  double Criterion = 0.1;
  long double Precise = 0;
  TKind Kind = kdLine;
  uint64_t Options = 0;
  bool Enabled = true;
  TColor Color = clBtnFace;
  char Separator = ',';
  std::unique_ptr<TFont> Font;
  TCollection Items;
  std::unique_ptr<TStringList> Lines;
  TTestSeries* Link = nullptr;
  std::vector<TTestSeries*> Series;
  std::function<void(TObject*)> OnDone;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (auto* s : Series)
      if (s->Owner() == root) proc(s);
  }
  std::any MethodAddress(const std::string& name) const override {
    if (name == "ChartDone") return std::any(std::function<void(TObject*)>([](TObject*) {}));
    return {};
  }

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) {
      if (c == Link) Link = nullptr;
      Series.erase(std::remove(Series.begin(), Series.end(), c), Series.end());
    }
  }
};
ZV_CLASS_IMPL(TTestChart, TComponent)
void TTestChart::DeclareProperties(TClassInfo& c) {
  c.String<TTestChart>("Title", [](TTestChart* o) { return o->Title; },
                       [](TTestChart* o, const std::string& v) { o->Title = v; }, std::string("A New refinement"));
  c.Integer<TTestChart>("Cycles", [](TTestChart* o) { return o->Cycles; }, [](TTestChart* o, int v) { o->Cycles = v; },
                        30);
  c.Int64<TTestChart>("Big", [](TTestChart* o) { return o->Big; }, [](TTestChart* o, int64_t v) { o->Big = v; }, 0);
  c.Float<TTestChart>("Criterion", ftDouble, [](TTestChart* o) { return o->Criterion; },
                      [](TTestChart* o, double v) { o->Criterion = v; }, 0.1L);
  c.Float<TTestChart>("Precise", ftExtended, [](TTestChart* o) { return o->Precise; },
                      [](TTestChart* o, long double v) { o->Precise = v; });
  c.Enum<TTestChart>("Kind", kKinds, [](TTestChart* o) { return o->Kind; }, [](TTestChart* o, TKind v) { o->Kind = v; },
                     kdLine);
  c.Set<TTestChart>("Options", kOptions, [](TTestChart* o) { return o->Options; },
                    [](TTestChart* o, uint64_t v) { o->Options = v; }, 0);
  c.Boolean<TTestChart>("Enabled", [](TTestChart* o) { return o->Enabled; },
                        [](TTestChart* o, bool v) { o->Enabled = v; }, true);
  c.Integer<TTestChart>("Color", [](TTestChart* o) { return o->Color; }, [](TTestChart* o, int v) { o->Color = v; },
                        clBtnFace)
      .WithIdents(&ColorIdents());
  c.Char<TTestChart>("Separator", [](TTestChart* o) { return o->Separator; },
                     [](TTestChart* o, char v) { o->Separator = v; }, ',');
  c.Object<TTestChart, TFont>("Font", [](TTestChart* o) { return o->Font.get(); },
                              [](TTestChart* o, TFont* f) { o->Font->Assign(f); });
  c.Object<TTestChart, TCollection>("Items", [](TTestChart* o) { return &o->Items; }, nullptr);
  c.Object<TTestChart, TStringList>("Lines", [](TTestChart* o) { return o->Lines.get(); }, nullptr);
  c.Object<TTestChart, TTestSeries>("Link", [](TTestChart* o) { return o->Link; },
                                    [](TTestChart* o, TTestSeries* s) { o->Link = s; });
  c.Method<TTestChart, std::function<void(TObject*)>>(
      "OnDone", [](TTestChart* o) { return static_cast<bool>(o->OnDone); },
      [](TTestChart* o, std::function<void(TObject*)> e) { o->OnDone = std::move(e); });
}

TTestSeries::~TTestSeries() {
  Destroying();
  if (auto* p = dynamic_cast<TTestChart*>(ParentBox)) p->Series.erase(std::remove(p->Series.begin(), p->Series.end(), this), p->Series.end());
  if (auto* p = dynamic_cast<TTestSeries*>(ParentBox)) p->Children.erase(std::remove(p->Children.begin(), p->Children.end(), this), p->Children.end());
}

void TTestSeries::SetParentComponent(TComponent* v) {
  ParentBox = v;
  if (auto* chart = dynamic_cast<TTestChart*>(v)) chart->Series.push_back(this);
  else if (auto* s = dynamic_cast<TTestSeries*>(v)) s->Children.push_back(this);
}

struct Registered {
  Registered() { RegisterClasses({&TTestChart::StaticClass(), &TTestSeries::StaticClass()}); }
};
const Registered registered;

// A chart with everything set away from the defaults.
std::unique_ptr<TTestChart> MakeRich() {
  auto chart = std::make_unique<TTestChart>(nullptr);
  chart->SetName("Chart1");
  chart->Title = "It's a \"test\"\r\nwith é and € and 🙂";
  chart->Cycles = 100000;
  chart->Big = 1LL << 40;
  chart->Criterion = 0.001;
  chart->Precise = 1.0L / 3.0L;
  chart->Kind = kdArea;
  chart->Options = (1 << opA) | (1 << opC);
  chart->Enabled = false;
  chart->Color = clRed;
  chart->Separator = ';';
  chart->Font->SetName("Arial");
  chart->Font->SetSize(12);
  chart->Font->SetStyle({fsBold, fsItalic});
  chart->Lines->Add("first");
  chart->Lines->Add("second line");
  for (int i = 0; i < 3; ++i) {
    auto* item = static_cast<TPointItem*>(chart->Items.Add());
    item->X = i * 200;
    item->Value = i + 0.5;
    item->Label = i == 1 ? "" : "P" + std::to_string(i);
  }
  auto* s1 = new TTestSeries(chart.get());
  s1->SetName("Series1");
  s1->SetParentComponent(chart.get());
  s1->Points = {1.0, 2.5, -3.25};
  s1->Kind = kdBar;
  auto* s2 = new TTestSeries(chart.get());
  s2->SetName("Series2");
  s2->SetParentComponent(chart.get());
  s2->Margins[1] = 34;
  s2->Width = 2.0f;
  auto* nested = new TTestSeries(chart.get());
  nested->SetName("Nested");
  nested->SetParentComponent(s2);
  nested->Points = std::vector<double>(40, 7.0);
  chart->Link = s2;
  return chart;
}

std::string ToBinary(TComponent* c) {
  TMemoryStream s;
  WriteComponentToStream(s, c);
  return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

std::string BinaryToText(const std::string& bin) {
  TStringStream in(bin), out;
  ObjectBinaryToText(in, out);
  return out.DataString();
}

std::string TextToBinary(const std::string& text) {
  TStringStream in(text), out;
  ObjectTextToBinary(in, out);
  return out.DataString();
}

void ExpectSame(TTestChart& a, TTestChart& b) {
  EXPECT_EQ(a.Name(), b.Name());
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.Cycles, b.Cycles);
  EXPECT_EQ(a.Big, b.Big);
  EXPECT_EQ(a.Criterion, b.Criterion);
  EXPECT_EQ(a.Precise, b.Precise);
  EXPECT_EQ(a.Kind, b.Kind);
  EXPECT_EQ(a.Options, b.Options);
  EXPECT_EQ(a.Enabled, b.Enabled);
  EXPECT_EQ(a.Color, b.Color);
  EXPECT_EQ(a.Separator, b.Separator);
  EXPECT_EQ(a.Font->Name(), b.Font->Name());
  EXPECT_EQ(a.Font->Size(), b.Font->Size());
  EXPECT_EQ(a.Font->Style(), b.Font->Style());
  EXPECT_EQ(a.Lines->Text(), b.Lines->Text());
  ASSERT_EQ(a.Items.Count(), b.Items.Count());
  for (int i = 0; i < a.Items.Count(); ++i) {
    auto* x = static_cast<TPointItem*>(a.Items.Items(i));
    auto* y = static_cast<TPointItem*>(b.Items.Items(i));
    EXPECT_EQ(x->X, y->X);
    EXPECT_EQ(x->Value, y->Value);
    EXPECT_EQ(x->Label, y->Label);
  }
  ASSERT_EQ(a.Series.size(), b.Series.size());
  for (size_t i = 0; i < a.Series.size(); ++i) {
    TTestSeries* x = a.Series[i];
    TTestSeries* y = b.Series[i];
    EXPECT_EQ(x->Name(), y->Name());
    EXPECT_EQ(x->Owner(), &a);
    EXPECT_EQ(y->Owner(), &b);
    EXPECT_EQ(x->Points, y->Points);
    EXPECT_EQ(x->Kind, y->Kind);
    EXPECT_EQ(x->Width, y->Width);
    EXPECT_EQ(std::memcmp(x->Margins, y->Margins, sizeof x->Margins), 0);
    ASSERT_EQ(x->Children.size(), y->Children.size());
    for (size_t k = 0; k < x->Children.size(); ++k) EXPECT_EQ(x->Children[k]->Points, y->Children[k]->Points);
  }
  ASSERT_NE(b.Link, nullptr);
  EXPECT_EQ(b.Link->Name(), a.Link->Name());
  EXPECT_EQ(b.Link->Owner(), &b);
}

}  // namespace

TEST(Streaming, BinaryToTextToBinaryReadsIntoFreshObjectsEqualToTheOriginal) {
  auto original = MakeRich();
  const std::string bin = ToBinary(original.get());
  ASSERT_EQ(bin.substr(0, 4), "TPF0");
  const std::string text = BinaryToText(bin);
  const std::string bin2 = TextToBinary(text);
  EXPECT_EQ(BinaryToText(bin2), text);  // the text form is stable

  TMemoryStream s;
  s.WriteBuffer(bin2.data(), static_cast<int64_t>(bin2.size()));
  s.SetPosition(0);
  std::unique_ptr<TComponent> fresh(ReadComponentFromStream(s, nullptr));
  auto* copy = dynamic_cast<TTestChart*>(fresh.get());
  ASSERT_NE(copy, nullptr);
  ExpectSame(*original, *copy);
  EXPECT_EQ(s.Position(), s.Size());  // the reader stops right after the component
  // Reading gives the same stream again.
  EXPECT_EQ(ToBinary(copy), ToBinary(original.get()));
}

// Binary properties are written in place behind their byte count and read
// in place from a memory stream, copied from any other: the same either way,
// also when the component does not start the stream.
TEST(Streaming, BinaryPropertiesReadTheSameFromMemoryAndOtherStreams) {
  auto original = MakeRich();
  TMemoryStream written;
  written.WriteBuffer("before", 6);
  WriteComponentToStream(written, original.get());
  written.WriteBuffer("after", 5);
  const std::string bytes(reinterpret_cast<const char*>(written.Memory()), static_cast<size_t>(written.Size()));
  EXPECT_EQ(bytes.substr(6, bytes.size() - 11), ToBinary(original.get()));

  TMemoryStream memory;
  memory.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  TStringStream other(bytes);
  for (TStream* in : {static_cast<TStream*>(&memory), static_cast<TStream*>(&other)}) {
    SCOPED_TRACE(in->ClassName());
    in->SetPosition(6);
    std::unique_ptr<TComponent> fresh(ReadComponentFromStream(*in, nullptr));
    auto* copy = dynamic_cast<TTestChart*>(fresh.get());
    ASSERT_NE(copy, nullptr);
    ExpectSame(*original, *copy);
    EXPECT_EQ(in->Position(), static_cast<int64_t>(bytes.size()) - 5);
  }
}

TEST(Streaming, PropertiesEqualToTheirDefaultsAreNotWritten) {
  TTestChart plain(nullptr);
  const std::string text = ComponentToText(&plain);
  EXPECT_EQ(text.substr(0, 18), "object TTestChart\n");
  for (const char* name : {"Title", "Cycles", "Big", "Criterion", "Precise", "Kind", "Options", "Enabled", "Color",
                           "Separator", "Items", "Lines", "Link", "Tag", "Font.Style", "Font.Pitch", "Font.Color"})
    EXPECT_EQ(text.find(std::string(name) + " ="), std::string::npos) << name << "\n" << text;
  // Properties without a declared default are always written.
  EXPECT_NE(text.find("Font.Height = -11"), std::string::npos) << text;
  // Defined properties write only what they have.
  TTestSeries s(nullptr);
  const std::string st = ComponentToText(&s);
  EXPECT_EQ(st.find("Data"), std::string::npos);
  EXPECT_EQ(st.find("PrintMargins"), std::string::npos);
  s.Margins[0] = 10;
  EXPECT_NE(ComponentToText(&s).find("PrintMargins = (\n    10\n    15\n    15\n    15)"), std::string::npos)
      << ComponentToText(&s);
}

TEST(Streaming, TextFormShowsEachKindOfValue) {
  auto chart = MakeRich();
  const std::string text = ComponentToText(chart.get());
  const char* expected[] = {
      "object Chart1: TTestChart\n",
      "  Title = 'It''s a \"test\"'#13#10'with '#233' and '#8364' and '#128578\n",
      "  Cycles = 100000\n",
      "  Big = 1099511627776\n",
      "  Criterion = 0.00100000000000000002",  // the extended value of the double
      "  Kind = kdArea\n",
      "  Options = [opA, opC]\n",
      "  Enabled = False\n",
      "  Color = clRed\n",
      "  Separator = ';'\n",
      "  Font.Name = 'Arial'\n",
      "  Font.Style = [fsBold, fsItalic]\n",
      "  Items = <\n    item\n      Value = 0.5\n      Label = 'P0'\n    end\n    item\n      X = 200\n      Value = 1.5\n    end\n",
      "  Lines.Strings = (\n    'first'\n    'second line')\n",
      "  Link = Series2\n",
      "  object Series1: TTestSeries\n    Kind = kdBar\n    Data = {\n      03000000000000000000F03F",
      "  object Series2: TTestSeries\n    Width = 2.0s\n    PrintMargins = (\n",
      "    object Nested: TTestSeries\n",
  };
  for (const char* e : expected) EXPECT_NE(text.find(e), std::string::npos) << e << "\n----\n" << text;
}

TEST(Streaming, IntegersUseTheSmallestValueType) {
  struct Case {
    int64_t value;
    TValueType type;
    size_t bytes;
  } cases[] = {{0, vaInt8, 1},       {-128, vaInt8, 1},   {127, vaInt8, 1},         {128, vaInt16, 2},
               {-32768, vaInt16, 2}, {40000, vaInt32, 4}, {-2147483648LL, vaInt32, 4}, {1LL << 33, vaInt64, 8}};
  for (const auto& c : cases) {
    TMemoryStream s;
    TWriter w(&s);
    w.WriteInteger(c.value);
    ASSERT_EQ(s.Size(), static_cast<int64_t>(1 + c.bytes)) << c.value;
    EXPECT_EQ(s.Memory()[0], c.type) << c.value;
    s.SetPosition(0);
    TReader r(&s);
    EXPECT_EQ(r.ReadInt64(), c.value);
  }
}

TEST(Streaming, StringsUseTheCodePageOrWideForm) {
  struct Case {
    std::string text;
    TValueType type;
  } cases[] = {{"plain", vaString}, {"caf\xC3\xA9", vaString}, {std::string(300, 'x'), vaLString},
               {"\xCE\xB1\xCE\xB2", vaWString}, {"", vaString}};
  for (const auto& c : cases) {
    TMemoryStream s;
    TWriter w(&s);
    w.WriteString(c.text);
    EXPECT_EQ(s.Memory()[0], c.type);
    s.SetPosition(0);
    TReader r(&s);
    EXPECT_EQ(r.ReadString(), c.text);
  }
  // "café" is stored as Windows-1252 bytes.
  TMemoryStream s;
  TWriter(&s).WriteString("caf\xC3\xA9");
  EXPECT_EQ(s.Memory()[1], 4);
  EXPECT_EQ(s.Memory()[5], 0xE9);
}

TEST(Streaming, ReadingIntoAnExistingRootReplacesItsPropertiesAndAddsStoredChildren) {
  auto original = MakeRich();
  const std::string bin = ToBinary(original.get());
  TTestChart target(nullptr);
  target.SetName("Mine");
  TStringStream s(bin);
  ReadComponentFromStream(s, &target);
  EXPECT_EQ(target.Name(), "Chart1");  // the stored name is taken
  EXPECT_EQ(target.Cycles, 100000);
  EXPECT_EQ(target.Series.size(), 2u);
  EXPECT_EQ(target.ComponentCount(), 3);
  EXPECT_EQ(target.Link, target.Series[1]);
  EXPECT_FALSE(target.ComponentState().Contains(csLoading));
  EXPECT_FALSE(target.Series[0]->ComponentState().Contains(csReading));
}

TEST(Streaming, UnknownPropertiesAndClassesAreErrorsUnlessTheErrorHookHandlesThem) {
  const std::string text =
      "object TTestChart\n"
      "  Cycles = 5\n"
      "  NoSuchProp = 12\n"
      "  Kind = kdWhatever\n"
      "  OnDone = MissingHandler\n"
      "  LegacyFlag = True\n"
      "  object X1: TUnknownSeries\n    Kind = kdBar\n    object X2: TTestSeries\n    end\n  end\n"
      "  object S1: TTestSeries\n    LegacyFlag = True\n  end\n"
      "  Title = 'after'\n"
      "end\n";
  // Properties after children are not valid text; build the stream without that line for the tolerant read.
  const std::string valid = text.substr(0, text.find("  Title = 'after'\n")) + "end\n";
  const std::string bin = TextToBinary(valid);
  {
    TStringStream s(bin);
    TReader r(&s);
    TTestChart target(nullptr);
    EXPECT_THROW(r.ReadRootComponent(&target), EReadError);
  }
  TStringStream s(bin);
  TReader r(&s);
  std::vector<std::string> errors;
  r.OnError = [&](TReader*, const std::string& msg, bool& handled) {
    errors.push_back(msg);
    handled = true;
  };
  r.OnFindMethod = [](TReader*, const std::string&, std::any&, bool& error) { error = false; };
  TTestChart target(nullptr);
  r.ReadRootComponent(&target);
  EXPECT_EQ(target.Cycles, 5);
  EXPECT_EQ(target.Kind, kdLine);
  EXPECT_FALSE(target.OnDone);
  ASSERT_EQ(target.Series.size(), 1u);
  EXPECT_TRUE(target.Series[0]->LegacyFlag);
  ASSERT_EQ(errors.size(), 4u);
  EXPECT_EQ(errors[0], "Property NoSuchProp does not exist");
  EXPECT_EQ(errors[1], "Invalid property value");
  EXPECT_EQ(errors[2], "Property LegacyFlag does not exist");
  EXPECT_EQ(errors[3], "Class TUnknownSeries not found");
}

TEST(Streaming, StoredHandlerNamesResolveThroughTheRoot) {
  TTestChart target(nullptr);
  TextToComponent("object TTestChart\n  OnDone = ChartDone\nend\n", &target);
  EXPECT_TRUE(static_cast<bool>(target.OnDone));
  TTestChart other(nullptr);
  EXPECT_THROW(TextToComponent("object TTestChart\n  OnDone = Nope\nend\n", &other), EReadError);
}

TEST(Streaming, MalformedInputIsRejectedWithAClearError) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"object TTestChart\n  Cycles = \nend\n", "'end' expected on line 4"},
      {"object TTestChart\n  Title = 'open\nend\n", "Unterminated string"},
      {"obj TTestChart\nend\n", "'object' expected"},
      {"object TTestChart\n  Data = {0A0}\nend\n", "Odd number"},
      {"object TTestChart\n  Cycles = 1\n", "'end' expected"},
  };
  for (const auto& c : cases) {
    try {
      TextToBinary(c.text);
      ADD_FAILURE() << c.text;
    } catch (const EParserError& e) {
      EXPECT_NE(e.Message().find(c.error), std::string::npos) << e.Message();
    }
  }
  TStringStream bad("TPF1xxxx");
  TStringStream out;
  EXPECT_THROW(ObjectBinaryToText(bad, out), EReadError);
  // A stream cut short is a read error, not a crash.
  auto chart = MakeRich();
  const std::string bin = ToBinary(chart.get());
  for (size_t cut : {5u, 20u, 60u, 200u}) {
    TStringStream part(bin.substr(0, cut));
    TTestChart target(nullptr);
    EXPECT_THROW(ReadComponentFromStream(part, &target), EReadError) << cut;
  }
}

TEST(Streaming, TextAcceptsConcatenationHexIntegersAndBom) {
  TTestChart target(nullptr);
  TextToComponent(
      "\xEF\xBB\xBF"
      "object TTestChart\n  Title = 'ab' +\n    'cd'#65\n  Cycles = $1F\n  Precise = 1.5E-3\n  Criterion = -2\nend\n",
      &target);
  EXPECT_EQ(target.Title, "abcdA");
  EXPECT_EQ(target.Cycles, 31);
  EXPECT_EQ(target.Precise, 1.5E-3L);
  EXPECT_EQ(target.Criterion, -2.0);
}
