#include "platform/rtl/stringlist.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace {

unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

int CompareAsciiNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = Lower(static_cast<unsigned char>(a[i])) - Lower(static_cast<unsigned char>(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareBytes(const std::string& a, const std::string& b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string QuoteWith(const std::string& s, char quote) {
  std::string r(1, quote);
  for (char c : s) {
    r += c;
    if (c == quote) r += quote;
  }
  r += quote;
  return r;
}

}  // namespace

// --- TStrings

void TStrings::Error(const char* message, int data) {
  throw EListError(std::string(message) + " (" + std::to_string(data) + ")");
}

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error("List index out of bounds", index);
}

void TStrings::Put(int index, const std::string& s) {
  TObject* obj = GetObject(index);
  BeginUpdate();
  try {
    Delete(index);
    InsertObject(index, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  BeginUpdate();
  try {
    std::string s1 = Get(index1);
    TObject* o1 = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s1);
    PutObject(index2, o1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(const std::string& s1, const std::string& s2) const { return CompareAsciiNoCase(s1, s2); }

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
  int index = Add(s);
  PutObject(index, obj);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TStrings::AddStrings(const TStrings& strings) {
  // Copy first: strings may be this very list.
  std::vector<std::pair<std::string, TObject*>> items;
  for (int i = 0; i < strings.Count(); ++i) items.emplace_back(strings.Get(i), strings.GetObject(i));
  BeginUpdate();
  try {
    for (auto& item : items) AddObject(item.first, item.second);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    Clear();
    FDelimiter = source.FDelimiter;
    FQuoteChar = source.FQuoteChar;
    FNameValueSeparator = source.FNameValueSeparator;
    FStrictDelimiter = source.FStrictDelimiter;
    FLineBreak = source.FLineBreak;
    AddStrings(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& strings) const {
  if (Count() != strings.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != strings.Get(i)) return false;
  return true;
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  BeginUpdate();
  try {
    std::string s = Get(curIndex);
    TObject* obj = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* obj) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == obj) return i;
  return -1;
}

std::string TStrings::Names(int index) const {
  std::string s = Get(index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(const std::string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    std::string item = name + FNameValueSeparator + value;
    if (i < 0)
      Add(item);
    else
      Put(i, item);
  } else if (i >= 0) {
    Delete(i);
  }
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string s = Get(index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int index, const std::string& value) {
  if (value.empty()) {
    Delete(index);
    return;
  }
  Put(index, Names(index) + FNameValueSeparator + value);
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    r += Get(i);
    r += FLineBreak;
  }
  return r;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0, n = text.size();
    while (start < n) {
      size_t p = start;
      while (p < n && text[p] != '\r' && text[p] != '\n') ++p;
      Add(text.substr(start, p - start));
      if (p < n && text[p] == '\r') {
        ++p;
        if (p < n && text[p] == '\n') ++p;
      } else if (p < n) {
        ++p;
      }
      start = p;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  int n = Count();
  if (n == 1 && Get(0).empty()) return std::string(2, FQuoteChar);
  std::string r;
  for (int i = 0; i < n; ++i) {
    std::string s = Get(i);
    bool quote = false;
    for (char c : s) {
      if (c == FQuoteChar || c == FDelimiter || c == '\0' || (!FStrictDelimiter && IsBlank(c))) {
        quote = true;
        break;
      }
    }
    if (i > 0) r += FDelimiter;
    r += quote ? QuoteWith(s, FQuoteChar) : s;
  }
  return r;
}

void TStrings::SetDelimitedText(const std::string& text) {
  const size_t n = text.size();
  auto skipBlanks = [&](size_t& p) {
    if (!FStrictDelimiter)
      while (p < n && IsBlank(text[p])) ++p;
  };
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    skipBlanks(p);
    while (p < n) {
      std::string s;
      if (text[p] == FQuoteChar) {
        // Quoted: a doubled quote stands for one; a missing closing quote
        // takes the rest of the text.
        ++p;
        while (p < n) {
          if (text[p] == FQuoteChar) {
            if (p + 1 < n && text[p + 1] == FQuoteChar) {
              s += FQuoteChar;
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += text[p++];
        }
      } else {
        size_t start = p;
        while (p < n && text[p] != FDelimiter && (FStrictDelimiter || !IsBlank(text[p]))) ++p;
        s = text.substr(start, p - start);
      }
      Add(s);
      skipBlanks(p);
      if (p < n && text[p] == FDelimiter) {
        ++p;
        if (p == n) Add(std::string());  // a trailing delimiter ends with an empty string
        skipBlanks(p);
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  // Temporarily switching the settings would need a mutable object; a copy of
  // the strings under the comma settings is simpler.
  TStringList tmp;
  tmp.SetDelimiter(',');
  tmp.SetQuoteChar('"');
  tmp.SetStrictDelimiter(false);
  for (int i = 0; i < Count(); ++i) tmp.Add(Get(i));
  return tmp.DelimitedText();
}

void TStrings::SetCommaText(const std::string& text) {
  char delimiter = FDelimiter, quote = FQuoteChar;
  bool strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(text);
  } catch (...) {
    FDelimiter = delimiter;
    FQuoteChar = quote;
    FStrictDelimiter = strict;
    throw;
  }
  FDelimiter = delimiter;
  FQuoteChar = quote;
  FStrictDelimiter = strict;
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  std::string text = stream.ReadString(size);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const { stream.WriteString(Text()); }

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TMemoryStream data;
  SaveToStream(data);
  data.SaveToFile(fileName);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> v;
  v.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) v.push_back(Get(i));
  return v;
}

void TStrings::SetUpdateState(bool) {}

// --- TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& item : FList) delete item.FObject;
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].FString;
}

void TStringList::Put(int index, const std::string& s) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  FList[static_cast<size_t>(index)].FString = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)].FObject;
}

void TStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  TObject*& slot = FList[static_cast<size_t>(index)].FObject;
  if (FOwnsObjects && slot != obj) delete slot;
  slot = obj;
  Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* obj) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) Error("List index out of bounds", index);
  InsertItem(index, s, obj);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* obj) {
  Changing();
  FList.insert(FList.begin() + index, TStringItem{s, obj});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* obj = FList[static_cast<size_t>(index)].FObject;
  FList.erase(FList.begin() + index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (auto& item : old) delete item.FObject;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  ExchangeItems(index1, index2);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  // Checked before anything moves: the item must not be lost half way.
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  Changing();
  TStringItem item = std::move(FList[static_cast<size_t>(curIndex)]);
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, std::move(item));
  Changed();
}

void TStringList::ExchangeItems(int index1, int index2) {
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}

int TStringList::CompareStrings(const std::string& s1, const std::string& s2) const {
  return FCaseSensitive ? CompareBytes(s1, s2) : CompareAsciiNoCase(s1, s2);
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* obj) {
  int index;
  if (!FSorted) {
    index = Count();
  } else if (Find(s, index)) {
    switch (FDuplicates) {
      case dupIgnore: return index;
      case dupError: throw EListError("String list does not allow duplicates");
      case dupAccept: break;
    }
  }
  InsertItem(index, s, obj);
  return index;
}

int TStringList::IndexOf(const std::string& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
  int l = 0, h = Count() - 1;
  bool found = false;
  while (l <= h) {
    int i = (l + h) / 2;
    int c = CompareStrings(FList[static_cast<size_t>(i)].FString, s);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) found = true;
    }
  }
  index = l;
  return found;
}

void TStringList::Sort() {
  if (FList.size() < 2) return;
  Changing();
  std::stable_sort(FList.begin(), FList.end(), [this](const TStringItem& a, const TStringItem& b) {
    return CompareStrings(a.FString, b.FString) < 0;
  });
  Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (FList.size() < 2) return;
  Changing();
  QuickSort(0, Count() - 1, compare);
  Changed();
}

void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare) {
  // Scans are bounded so that an inconsistent comparison cannot run off the list.
  while (l < r) {
    int i = l, j = r, p = (l + r) / 2;
    while (i <= j) {
      while (i < r && compare(this, i, p) < 0) ++i;
      while (j > l && compare(this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) {
          ExchangeItems(i, j);
          // The pivot travels with the swap.
          if (p == i)
            p = j;
          else if (p == j)
            p = i;
        }
        ++i;
        --j;
      }
    }
    if (j - l < r - i) {
      if (l < j) QuickSort(l, j, compare);
      l = i;
    } else {
      if (i < r) QuickSort(i, r, compare);
      r = j;
    }
  }
}

void TStringList::SetSorted(bool v) {
  if (FSorted == v) return;
  if (v) Sort();
  FSorted = v;
}

void TStringList::SetCaseSensitive(bool v) {
  if (FCaseSensitive == v) return;
  FCaseSensitive = v;
  if (FSorted) Sort();
}
