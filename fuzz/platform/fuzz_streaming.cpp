// Mutation driver of the component streaming: damaged binary ("TPF0") and
// text forms of a component tree with every kind of property, sub-objects,
// nested collections with component references, defined properties (binary
// and list) and nested child controls.
//
// Targets:
//   binary  ReadComponentFromStream into a new and into an existing root,
//           a tolerant read whose error hook handles everything, and
//           ObjectBinaryToText
//   text    ObjectTextToBinary, then the reads above
// Rules: only the layer's exceptions come out; a component that was read
// writes a stream that reads again.
#include <memory>
#include <string>
#include <vector>

#include "fuzzdriver.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"
#include "platform/ui/uitypes.h"

namespace {

enum TShade { shLight, shDark, shNone };
const TEnumInfo kShades{"TShade", {"shLight", "shDark", "shNone"}, 0};

// More names than a 64-bit set holds.
const TEnumInfo& WideEnum() {
  static const TEnumInfo info = [] {
    TEnumInfo e{"TWide", {}, 0};
    for (int i = 0; i < 70; ++i) e.Names.push_back("wd" + std::to_string(i));
    return e;
  }();
  return info;
}

class TFzItem : public TCollectionItem {
  ZV_CLASS(TFzItem)
public:
  explicit TFzItem(TCollection* c) : TCollectionItem(c), Sub(&TFzItem::StaticClass()) {}
  int X = 0;
  double V = 0;
  std::string Label;
  TComponent* Ref = nullptr;  // never dereferenced: it may outlive its target here
  TCollection Sub;
};
ZV_CLASS_IMPL(TFzItem, TCollectionItem)
void TFzItem::DeclareProperties(TClassInfo& c) {
  c.Integer<TFzItem>("X", [](TFzItem* o) { return o->X; }, [](TFzItem* o, int v) { o->X = v; }, 0);
  c.Float<TFzItem>("V", ftDouble, [](TFzItem* o) { return o->V; }, [](TFzItem* o, double v) { o->V = v; });
  c.String<TFzItem>("Label", [](TFzItem* o) { return o->Label; },
                    [](TFzItem* o, const std::string& v) { o->Label = v; });
  c.Object<TFzItem, TComponent>("Ref", [](TFzItem* o) { return o->Ref; },
                                [](TFzItem* o, TComponent* v) { o->Ref = v; });
  c.Object<TFzItem, TCollection>("Sub", [](TFzItem* o) { return &o->Sub; }, nullptr);
}

// A child control that holds further controls.
class TFzBox : public TWinControl {
  ZV_CLASS(TFzBox)
public:
  explicit TFzBox(TComponent* owner) : TWinControl(owner) {}
  int Level = 0;
};
ZV_CLASS_IMPL(TFzBox, TWinControl)
void TFzBox::DeclareProperties(TClassInfo& c) {
  c.Integer<TFzBox>("Level", [](TFzBox* o) { return o->Level; }, [](TFzBox* o, int v) { o->Level = v; }, 0);
}

// A non-visual child.
class TFzPlain : public TComponent {
  ZV_CLASS(TFzPlain)
public:
  explicit TFzPlain(TComponent* owner) : TComponent(owner) {}
  std::string Note;
};
ZV_CLASS_IMPL(TFzPlain, TComponent)
void TFzPlain::DeclareProperties(TClassInfo& c) {
  c.String<TFzPlain>("Note", [](TFzPlain* o) { return o->Note; },
                     [](TFzPlain* o, const std::string& v) { o->Note = v; });
}

class TFzRoot : public TWinControl {
  ZV_CLASS(TFzRoot)
public:
  explicit TFzRoot(TComponent* owner)
      : TWinControl(owner), Items(&TFzItem::StaticClass()), Lines(std::make_unique<TStringList>()),
        Sub(std::make_unique<TFont>()) {}
  ~TFzRoot() override { Destroying(); }
  std::string Title = "Untitled";
  int Count = 7;
  int64_t Big = 0;
  double Ratio = 0.5;
  float Thin = 1.5f;
  double Stamp = 0;
  double Money = 0;
  long double Precise = 0;
  TShade Shade = shLight;
  uint64_t Flags = 0;
  uint64_t Wide = 0;
  bool On = true;
  char Sep = ',';
  TCollection Items;
  std::unique_ptr<TStringList> Lines;
  std::unique_ptr<TFont> Sub;
  TComponent* Link = nullptr;
  std::function<void(TObject*)> OnDone;
  std::vector<double> Data;
  std::vector<int> Pairs;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    TWinControl::GetChildren(proc, root);
    for (int i = 0; i < ComponentCount(); ++i)
      if (!dynamic_cast<TControl*>(Components(i))) proc(Components(i));
  }
  std::any MethodAddress(const std::string& name) const override {
    if (name == "RootDone") return std::any(std::function<void(TObject*)>([](TObject*) {}));
    return {};
  }
  void DefineProperties(TFiler* filer) override {
    TWinControl::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Data",
        [this](TStream* s) {
          Data.clear();
          const int n = s->ReadInteger();
          // A careful reader: the count must fit what is there.
          if (n < 0 || int64_t(n) * 8 > s->Size() - s->Position()) throw EReadError("Bad data");
          for (int i = 0; i < n; ++i) Data.push_back(s->ReadDouble());
        },
        [this](TStream* s) {
          s->WriteInteger(static_cast<int>(Data.size()));
          for (double d : Data) s->WriteDouble(d);
        },
        !Data.empty());
    filer->DefineProperty(
        "Pairs",
        [this](TReader* r) {
          Pairs.clear();
          r->ReadListBegin();
          while (!r->EndOfList()) Pairs.push_back(r->ReadInteger());
          r->ReadListEnd();
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (int p : Pairs) w->WriteInteger(p);
          w->WriteListEnd();
        },
        !Pairs.empty());
  }

protected:
  void Notification(TComponent* c, TOperation op) override {
    TWinControl::Notification(c, op);
    if (op == opRemove && c == Link) Link = nullptr;
  }
};
ZV_CLASS_IMPL(TFzRoot, TWinControl)
void TFzRoot::DeclareProperties(TClassInfo& c) {
  c.String<TFzRoot>("Title", [](TFzRoot* o) { return o->Title; },
                    [](TFzRoot* o, const std::string& v) { o->Title = v; }, std::string("Untitled"));
  c.Integer<TFzRoot>("Count", [](TFzRoot* o) { return o->Count; }, [](TFzRoot* o, int v) { o->Count = v; }, 7);
  c.Int64<TFzRoot>("Big", [](TFzRoot* o) { return o->Big; }, [](TFzRoot* o, int64_t v) { o->Big = v; }, 0);
  c.Float<TFzRoot>("Ratio", ftDouble, [](TFzRoot* o) { return o->Ratio; },
                   [](TFzRoot* o, double v) { o->Ratio = v; }, 0.5L);
  c.Float<TFzRoot>("Thin", ftSingle, [](TFzRoot* o) { return o->Thin; }, [](TFzRoot* o, float v) { o->Thin = v; },
                   1.5L);
  c.Float<TFzRoot>("Stamp", ftDateTime, [](TFzRoot* o) { return o->Stamp; },
                   [](TFzRoot* o, double v) { o->Stamp = v; });
  c.Float<TFzRoot>("Money", ftCurr, [](TFzRoot* o) { return o->Money; }, [](TFzRoot* o, double v) { o->Money = v; });
  c.Float<TFzRoot>("Precise", ftExtended, [](TFzRoot* o) { return o->Precise; },
                   [](TFzRoot* o, long double v) { o->Precise = v; });
  c.Enum<TFzRoot>("Shade", kShades, [](TFzRoot* o) { return o->Shade; }, [](TFzRoot* o, TShade v) { o->Shade = v; },
                  shLight);
  c.Set<TFzRoot>("Flags", kShades, [](TFzRoot* o) { return o->Flags; }, [](TFzRoot* o, uint64_t v) { o->Flags = v; },
                 0);
  c.Set<TFzRoot>("Wide", WideEnum(), [](TFzRoot* o) { return o->Wide; },
                 [](TFzRoot* o, uint64_t v) { o->Wide = v; }, 0);
  c.Boolean<TFzRoot>("On", [](TFzRoot* o) { return o->On; }, [](TFzRoot* o, bool v) { o->On = v; }, true);
  c.Char<TFzRoot>("Sep", [](TFzRoot* o) { return o->Sep; }, [](TFzRoot* o, char v) { o->Sep = v; }, ',');
  c.Object<TFzRoot, TCollection>("Items", [](TFzRoot* o) { return &o->Items; }, nullptr);
  c.Object<TFzRoot, TStringList>("Lines", [](TFzRoot* o) { return o->Lines.get(); }, nullptr);
  c.Object<TFzRoot, TFont>("Sub", [](TFzRoot* o) { return o->Sub.get(); },
                           [](TFzRoot* o, TFont* f) { o->Sub->Assign(f); });
  c.Object<TFzRoot, TComponent>("Link", [](TFzRoot* o) { return o->Link; },
                                [](TFzRoot* o, TComponent* v) { o->Link = v; });
  c.Method<TFzRoot, std::function<void(TObject*)>>(
      "OnDone", [](TFzRoot* o) { return static_cast<bool>(o->OnDone); },
      [](TFzRoot* o, std::function<void(TObject*)> e) { o->OnDone = std::move(e); });
}

std::string ToBinary(TComponent* c) {
  TStringStream s;
  TWriter w(&s);
  w.OnGetMethodName = [](TObject*, const TPropInfo&) { return std::string("RootDone"); };
  w.WriteRootComponent(c);
  return s.DataString();
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

TFzBox* AddBox(TComponent* owner, TWinControl* parent, const std::string& name, int level) {
  auto* b = new TFzBox(owner);
  b->SetName(name);
  b->SetParent(parent);
  b->Level = level;
  b->SetBounds(level, level * 2, 40 + level, 30);
  return b;
}

std::vector<std::string> BinarySeeds() {
  std::vector<std::string> seeds;
  {
    TFzRoot root(nullptr);
    root.SetName("Root1");
    root.Title = "A title with \xC3\xA9 and \xE2\x82\xAC and \xF0\x9F\x99\x82";
    root.Count = 100000;
    root.Big = int64_t(1) << 40;
    root.Ratio = 0.001;
    root.Thin = 2.5f;
    root.Stamp = 45000.25;
    root.Money = 12.3456;
    root.Precise = 1.0L / 3;
    root.Shade = shDark;
    root.Flags = 5;
    root.Wide = (uint64_t(1) << 63) | 2;
    root.On = false;
    root.Sep = ';';
    root.Sub->SetName("Arial");
    root.Sub->SetStyle({fsBold});
    root.Lines->Add("first");
    root.Lines->Add(std::string(300, 'x'));
    root.Data = {1.0, -2.5, 3.25};
    root.Pairs = {1, 300, -70000};
    TFzBox* outer = AddBox(&root, &root, "Outer", 1);
    TFzBox* inner = AddBox(&root, outer, "Inner", 2);
    AddBox(&root, inner, "Innermost", 3);
    AddBox(&root, &root, "Second", 1);
    auto* plain = new TFzPlain(&root);
    plain->SetName("Plain1");
    plain->Note = "note";
    root.Link = inner;
    for (int i = 0; i < 3; ++i) {
      auto* item = static_cast<TFzItem*>(root.Items.Add());
      item->X = i * 1000;
      item->V = i + 0.5;
      item->Label = "P" + std::to_string(i);
      item->Ref = i == 1 ? static_cast<TComponent*>(outer) : plain;
      auto* sub = static_cast<TFzItem*>(item->Sub.Add());
      sub->Ref = inner;
      sub->Label = "nested";
    }
    seeds.push_back(ToBinary(&root));
  }
  {
    TFzRoot root(nullptr);
    seeds.push_back(ToBinary(&root));
  }
  return seeds;
}

// How far inputs got, for the summary.
long long gRead = 0, gTolerated = 0;

// Reads into a new root, into an existing one, and with every error handled;
// whatever was read must write a stream that reads again.
void ReadAll(const std::string& bin) {
  fuzzdriver::ExpectLayerErrors([&] {
    TStringStream s(bin);
    std::unique_ptr<TComponent> c(ReadComponentFromStream(s, nullptr));
    ++gRead;
  });
  auto rewrite = [](TComponent* c) {
    std::string again;
    try {
      again = ToBinary(c);
    } catch (const Exception& e) {
      fuzzdriver::Fault("a component that was read cannot be written: " + e.Message());
    }
    try {
      TStringStream s(again);
      TFzRoot copy(nullptr);
      TReader r(&s);
      r.OnFindMethod = [](TReader*, const std::string&, std::any&, bool& error) { error = false; };
      r.ReadRootComponent(&copy);
    } catch (const Exception& e) {
      fuzzdriver::Fault("a component that was read writes a stream that does not read: " + e.Message());
    }
  };
  fuzzdriver::ExpectLayerErrors([&] {
    TStringStream s(bin);
    TFzRoot root(nullptr);
    root.SetName("Existing");
    ReadComponentFromStream(s, &root);
    rewrite(&root);
  });
  fuzzdriver::ExpectLayerErrors([&] {
    TStringStream s(bin);
    TFzRoot root(nullptr);
    TReader r(&s);
    r.OnError = [](TReader*, const std::string&, bool& handled) { handled = true; };
    r.OnFindMethod = [](TReader*, const std::string&, std::any&, bool& error) { error = false; };
    r.ReadRootComponent(&root);
    ++gTolerated;
    rewrite(&root);
  });
}

long long gTextNotReadBack = 0;

void RunBinary(const std::string& bin) {
  ReadAll(bin);
  fuzzdriver::ExpectLayerErrors([&] {
    const std::string text = BinaryToText(bin);
    // The text of a damaged stream may hold names the text form cannot
    // carry; counted, not a fault.
    try {
      TextToBinary(text);
    } catch (const Exception&) {
      ++gTextNotReadBack;
    }
  });
}

void RunText(const std::string& text) {
  std::string bin;
  try {
    bin = TextToBinary(text);
  } catch (const Exception&) {
    return;
  } catch (const std::exception& e) {
    fuzzdriver::Fault(std::string("an exception outside the layer's classes escaped: ") + e.what());
  }
  ReadAll(bin);
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterClasses({&TFzRoot::StaticClass(), &TFzBox::StaticClass(), &TFzPlain::StaticClass()});
  const std::vector<std::string> binaries = BinarySeeds();
  std::vector<std::string> texts;
  for (const std::string& b : binaries) texts.push_back(BinaryToText(b));
  // A collection stored twice: the second read clears the items the first made.
  texts.push_back("object Root2: TFzRoot\n  Items = <\n    item\n      Ref = Plain1\n    end>\n"
                  "  Items = <\n    item\n      Label = 'b'\n    end>\n"
                  "  object Plain1: TFzPlain\n  end\nend\n");
  // An inherited child named like a control being read.
  texts.push_back("object Root3: TFzRoot\n  object Outer: TFzBox\n    inherited Outer: TFzBox\n    end\n  end\nend\n");

  std::vector<fuzzdriver::TTarget> targets;
  std::vector<std::string> binaryTokens;
  for (int v = 0; v <= 20; ++v) binaryTokens.push_back(std::string(1, static_cast<char>(v)));
  binaryTokens.push_back(std::string("\xF1", 1));
  binaryTokens.push_back(std::string("\xF2\x02\x05", 3));
  binaryTokens.push_back(std::string("\x05TFzBox\x04" "Deep", 12));
  binaryTokens.push_back(std::string("\x01\x01\x01\x01", 4));
  binaryTokens.push_back(std::string("\x0E\x01", 2));
  targets.push_back({"binary", binaries, RunBinary, binaryTokens});
  targets.push_back({"text", texts, RunText,
                     {"object ", "inherited ", "inline ", "end\n", " = ", "(", ")", "<", ">", "item ", "[", "]", "{",
                      "}", "'", "''", "#", "#$", "+", "$", "-", ".", "E", "s", "c", "d", "INF", "NAN", "nil", "Null",
                      "True", ": TFzBox\n", ": TFzRoot\n", "Items", "Sub", "Ref = ", "Link = ", "Outer", "Inner",
                      "Wide = [wd65, wd1]", "Thin = 1E39", "Money = 1E300c", "99999999999999999999",
                      "$FFFFFFFFFFFFFFFFF", "#1114112", "Data = {", "Pairs = ("}});
  const int rc = fuzzdriver::Main(argc, argv, "fuzz-streaming", targets);
  std::printf("streams read: %lld strictly, %lld with errors handled; texts of damaged streams that did not read "
              "back: %lld\n",
              gRead, gTolerated, gTextNotReadBack);
  return rc;
}
