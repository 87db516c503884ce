#include "grid/support/widestrings.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rtl/codepages.h"
#include "platform/ui/streaming.h"
#include "platform/ui/textcase.h"

// ---------------------------------------------------------------------------
// The 8-bit view

int TAnsiStringsForWideStrings::Count() const { return FWideStrings->GetCount(); }

std::string TAnsiStringsForWideStrings::Get(int index) const { return Utf16ToUtf8(FWideStrings->Get(index)); }

void TAnsiStringsForWideStrings::Insert(int index, const std::string& s) {
  FWideStrings->Insert(index, Utf8ToUtf16(s));
}

void TAnsiStringsForWideStrings::Delete(int index) { FWideStrings->Delete(index); }

void TAnsiStringsForWideStrings::Clear() { FWideStrings->Clear(); }

// ---------------------------------------------------------------------------
// TWideStrings

ZV_CLASS_IMPL_NOPROPS(TWideStrings, TPersistent)

namespace {
// Runs f between BeginUpdate and EndUpdate, also when f raises.
template <class L, class F>
void InUpdate(L& list, F&& f) {
  list.BeginUpdate();
  try {
    f();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}
}  // namespace

TWideStrings::TWideStrings()
    : FAnsiStrings(std::make_unique<TAnsiStringsForWideStrings>(this)), FLanguage(GetUserDefaultLCID()) {}

TWideStrings::~TWideStrings() = default;

TObject* TWideStrings::GetObject(int) const { return nullptr; }

void TWideStrings::PutObject(int, TObject*) {}

std::u16string TWideStrings::GetTextStr() const {
  std::u16string r;
  const int n = GetCount();
  for (int i = 0; i < n; ++i) {
    r += Get(i);
    r += u"\r\n";
  }
  return r;
}

void TWideStrings::Put(int Index, const std::u16string& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TWideStrings::SetTextStr(const std::u16string& Value) {
  InUpdate(*this, [&] {
    Clear();
    auto isBreak = [](char16_t c) {
      return c == 0 || c == 10 || c == 11 || c == 12 || c == 13 || c == 0x2028 || c == 0x2029;
    };
    const size_t n = Value.size();
    size_t p = 0;
    while (p < n && Value[p] != 0) {
      size_t start = p;
      while (p < n && !isBreak(Value[p])) ++p;
      Add(Value.substr(start, p - start));
      if (p >= n || Value[p] == 0) break;
      if (Value[p] == 13 && p + 1 < n && Value[p + 1] == 10) p += 2;
      else ++p;
    }
  });
}

int TWideStrings::Add(const std::u16string& S) {
  const int i = GetCount();
  Insert(i, S);
  return i;
}

int TWideStrings::AddObject(const std::u16string& S, TObject* AObject) {
  const int i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TWideStrings::AddAnsiStrings(const TStrings& Strings) {
  InUpdate(*this, [&] {
    for (int i = 0; i < Strings.Count(); ++i) AddObject(Utf8ToUtf16(Strings.Get(i)), Strings.GetObject(i));
  });
}

void TWideStrings::AddStrings(const TWideStrings& Strings) {
  InUpdate(*this, [&] {
    const int n = Strings.GetCount();
    for (int i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
  });
}

void TWideStrings::Exchange(int Index1, int Index2) {
  InUpdate(*this, [&] {
    const std::u16string s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
  });
}

char16_t* TWideStrings::GetText() const { return WideStrNew(GetTextStr()); }

int TWideStrings::IndexOf(const std::u16string& S) const {
  const int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (CompareTextWideLocale(FLanguage, Get(i), S) == 0) return i;
  return -1;
}

void TWideStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  InUpdate(*this, [&] {
    const std::u16string s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  });
}

void TWideStrings::SetText(const char16_t* Text) {
  SetTextStr(Text ? std::u16string(Text, WideStrLen(Text)) : std::u16string());
}

void TWideStrings::InsertObject(int Index, const std::u16string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TWideStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TWideStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

bool TWideStrings::Equals(const TWideStrings& Strings) const {
  const int n = GetCount();
  if (n != Strings.GetCount()) return false;
  for (int i = 0; i < n; ++i)
    if (Get(i) != Strings.Get(i)) return false;
  return true;
}

void TWideStrings::Assign(TPersistent* Source) {
  if (auto* w = dynamic_cast<TWideStrings*>(Source)) {
    if (w == this) return;
    InUpdate(*this, [&] {
      Clear();
      AddStrings(*w);
    });
    return;
  }
  TPersistent::Assign(Source);
}

void TWideStrings::Assign(const TStrings& Source) {
  if (&Source == FAnsiStrings.get()) return;
  InUpdate(*this, [&] {
    Clear();
    for (int i = 0; i < Source.Count(); ++i) AddObject(Utf8ToUtf16(Source.Get(i)), Source.GetObject(i));
  });
}

void TWideStrings::AssignTo(TStrings& Dest) const {
  if (&Dest == FAnsiStrings.get()) return;
  Dest.BeginUpdate();
  try {
    Dest.Clear();
    const int n = GetCount();
    for (int i = 0; i < n; ++i) Dest.AddObject(Utf16ToUtf8(Get(i)), GetObject(i));
  } catch (...) {
    Dest.EndUpdate();
    throw;
  }
  Dest.EndUpdate();
}

void TWideStrings::AssignTo(TPersistent* Dest) {
  if (auto* w = dynamic_cast<TWideStrings*>(Dest)) {
    InUpdate(*w, [&] {
      w->Clear();
      w->AddStrings(*this);
    });
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TWideStrings::DefineProperties(TFiler* Filer) {
  bool hasData;
  if (TPersistent* ancestor = Filer->Ancestor()) {
    auto* a = dynamic_cast<TWideStrings*>(ancestor);
    hasData = !a || !Equals(*a);
  } else {
    hasData = GetCount() > 0;
  }
  Filer->DefineProperty(
      "WideStrings",
      [this](TReader* r) {
        // The whole list is read before anything changes: a damaged or cut
        // stream leaves the list as it was.
        r->ReadListBegin();
        std::vector<std::u16string> items;
        while (!r->EndOfList()) items.push_back(Utf8ToUtf16(r->ReadString()));
        r->ReadListEnd();
        InUpdate(*this, [&] {
          Clear();
          for (auto& s : items) Add(s);
        });
      },
      [this](TWriter* w) {
        w->WriteListBegin();
        const int n = GetCount();
        for (int i = 0; i < n; ++i) w->WriteWideString(Utf16ToUtf8(Get(i)));
        w->WriteListEnd();
      },
      hasData);
}

// ---------------------------------------------------------------------------
// Locale and zero-terminated text

uint32_t GetUserDefaultLCID() { return 0x0409; }

unsigned LocaleCodePage(uint32_t) { return 1252; }

int CompareTextWideLocale(uint32_t, const std::u16string& S1, const std::u16string& S2) {
  const std::u16string a = Utf8ToUtf16(LocaleLowerCase(Utf16ToUtf8(S1)));
  const std::u16string b = Utf8ToUtf16(LocaleLowerCase(Utf16ToUtf8(S2)));
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

size_t WideStrLen(const char16_t* Str) {
  size_t n = 0;
  if (Str)
    while (Str[n]) ++n;
  return n;
}

char16_t* WideStrMove(char16_t* Dest, const char16_t* Source, size_t Count) {
  if (Count > 0) std::memmove(Dest, Source, Count * sizeof(char16_t));
  return Dest;
}

char16_t* WideStrAlloc(size_t N) {
  // The byte size is kept in the 4 bytes before the text.
  const size_t bytes = N * 2 + 4;
  auto* block = static_cast<uint8_t*>(::operator new(bytes));
  std::memset(block, 0, bytes);
  const uint32_t size = static_cast<uint32_t>(bytes);
  std::memcpy(block, &size, 4);
  return reinterpret_cast<char16_t*>(block + 4);
}

char16_t* WideStrNew(const char16_t* Str) {
  if (!Str) return nullptr;
  const size_t n = WideStrLen(Str);
  char16_t* r = WideStrAlloc(n + 1);
  WideStrMove(r, Str, n + 1);
  return r;
}

char16_t* WideStrNew(const std::u16string& Str) { return WideStrNew(Str.c_str()); }

void WideStrDispose(char16_t* Str) {
  if (Str) ::operator delete(reinterpret_cast<uint8_t*>(Str) - 4);
}
