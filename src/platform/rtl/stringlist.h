// String lists: the abstract TStrings (also the base of the lines of memos,
// list boxes and other controls) and the stand-alone TStringList.
//
// Each string carries an optional object pointer (Objects). The list never
// owns those objects unless a TStringList's OwnsObjects is set.
// Indexes run from 0; a bad index raises EListError
// "List index out of bounds (<i>)".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/lists.h"

class TStream;

class TStrings : public TObject {
public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  std::string ClassName() const override { return "TStrings"; }

  // --- what a descendant provides
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);  // default: Delete + Insert, keeping the object
  virtual TObject* GetObject(int index) const;  // default: nil
  virtual void PutObject(int index, TObject* obj);  // default: ignored
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2);
  // Whether two strings are equal or in which order (<0, 0, >0). The base
  // compares ASCII case-insensitively; TStringList honours CaseSensitive.
  virtual int CompareStrings(const std::string& s1, const std::string& s2) const;

  // --- strings and objects
  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& s) { Put(index, s); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* obj) { PutObject(index, obj); }

  virtual int Add(const std::string& s);  // returns the index the string got
  virtual int AddObject(const std::string& s, TObject* obj);
  void Append(const std::string& s) { Add(s); }
  virtual void InsertObject(int index, const std::string& s, TObject* obj);
  void AddStrings(const TStrings& strings);  // strings and objects
  // Replaces the contents with those of source (strings and objects).
  virtual void Assign(const TStrings& source);
  // Same count and the same strings, compared exactly.
  bool Equals(const TStrings& strings) const;
  virtual void Move(int curIndex, int newIndex);

  virtual int IndexOf(const std::string& s) const;  // -1 when absent
  int IndexOfName(const std::string& name) const;
  int IndexOfObject(TObject* obj) const;

  // --- name=value pairs (NameValueSeparator, '=' by default)
  // The text before the first separator; empty when the string has none.
  std::string Names(int index) const;
  // The text after "name=" of the first string whose name matches; empty when none.
  std::string Values(const std::string& name) const;
  // Replaces the value, or adds "name=value"; an empty value deletes the pair.
  void SetValue(const std::string& name, const std::string& value);
  // The text after the first separator; empty when the string has none.
  std::string ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::string& value);
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char c) { FNameValueSeparator = c; }

  // --- whole-list texts
  // Every string followed by LineBreak.
  std::string Text() const;
  // Splits at CR LF, LF or a lone CR; a final line break adds no empty line.
  virtual void SetText(const std::string& text);
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& lb) { FLineBreak = lb; }

  // The strings joined with Delimiter. A string is put in QuoteChar (inner
  // quote characters doubled) when it holds the delimiter, the quote char or,
  // unless StrictDelimiter, a character <= ' '. A list of one empty string
  // gives two quote characters.
  std::string DelimitedText() const;
  // Parses the same form. Unless StrictDelimiter, blanks and control
  // characters also separate strings and are dropped around them.
  void SetDelimitedText(const std::string& text);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char c) { FDelimiter = c; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char c) { FQuoteChar = c; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool v) { FStrictDelimiter = v; }
  // DelimitedText with ',' and '"' and StrictDelimiter off, whatever the
  // current settings are (which stay unchanged).
  std::string CommaText() const;
  void SetCommaText(const std::string& text);

  // --- files and streams (text as UTF-8; a UTF-8 byte-order mark is dropped
  // on loading). Loading replaces the contents; a file that cannot be opened
  // raises EFOpenError and leaves the list as it was.
  virtual void LoadFromStream(TStream& stream);  // from the position to the end
  virtual void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;  // EFCreateError when not writable

  // --- change notification: nested calls count; the list reports once.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  std::vector<std::string> ToVector() const;

protected:
  // Called with true by the first BeginUpdate and false by the last EndUpdate.
  virtual void SetUpdateState(bool updating);
  [[noreturn]] static void Error(const char* message, int data);
  void CheckIndex(int index) const;

private:
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
  std::string FLineBreak = "\n";
  int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the strings at two positions of the list: <0, 0 or >0.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
public:
  TStringList() = default;
  explicit TStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {}
  ~TStringList() override;

  std::string ClassName() const override { return "TStringList"; }

  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int index) const override;
  // Raises EListError "Operation not allowed on sorted list" while Sorted.
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // Raises EListError "Operation not allowed on sorted list" while Sorted.
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  // Raises EListError "Operation not allowed on sorted list" while Sorted.
  void Move(int curIndex, int newIndex) override;
  int CompareStrings(const std::string& s1, const std::string& s2) const override;

  // In a sorted list the string goes to its sorted place; an equal string
  // already there is handled by Duplicates: dupIgnore returns its index and
  // adds nothing, dupAccept adds before it, dupError raises EListError
  // "String list does not allow duplicates".
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* obj) override;
  int IndexOf(const std::string& s) const override;  // binary search while Sorted

  // Binary search of a sorted list: true when found; index is where s is
  // (its first occurrence) or would be inserted.
  virtual bool Find(const std::string& s, int& index) const;
  virtual void Sort();
  // Quick sort that calls compare with the current positions of two strings.
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);  // switching on sorts
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates v) { FDuplicates = v; }
  // Default false: strings compare ASCII case-insensitively.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v);  // re-sorts a sorted list
  // When true the list deletes the objects of removed strings, an object
  // replaced through SetObjects, and all of them on destruction.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool v) { FOwnsObjects = v; }

  TNotifyEvent OnChange;    // after every change (not while updating)
  TNotifyEvent OnChanging;  // before every change (not while updating)

protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();

private:
  struct TStringItem {
    std::string FString;
    TObject* FObject = nullptr;
  };
  void InsertItem(int index, const std::string& s, TObject* obj);
  void ExchangeItems(int index1, int index2);
  void QuickSort(int l, int r, const TStringListSortCompare& compare);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};
