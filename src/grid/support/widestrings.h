// The grid library's list of wide (UTF-16) strings with an object per entry.
// Descendants supply the storage (Get, GetCount, Clear, Delete, Insert); the
// rest is built on those. Strings compare without regard to case by the
// rules of the list's Language. The list streams itself in forms as the
// extra property "WideStrings", converts from and to the platform's 8-bit
// string lists (UTF-8 here) and offers an 8-bit view of itself (AnsiStrings).
// Also the zero-terminated wide-string routines and the locale comparison.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"

class TWideStrings;

// The 8-bit view of a wide list: every operation goes to the wide list, the
// strings converted; objects are not carried over.
class TAnsiStringsForWideStrings : public TStrings {
public:
  explicit TAnsiStringsForWideStrings(TWideStrings* WideStrings) : FWideStrings(WideStrings) {}
  std::string ClassName() const override { return "TAnsiStringsForWideStrings"; }
  int Count() const override;
  std::string Get(int index) const override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;

private:
  TWideStrings* FWideStrings;
};

class TWideStrings : public TPersistent {
  ZV_CLASS(TWideStrings)
public:
  TWideStrings();
  ~TWideStrings() override;

  // ---- what a descendant provides
  virtual std::u16string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const std::u16string& S) = 0;

  virtual int GetCapacity() const { return GetCount(); }
  virtual TObject* GetObject(int Index) const;
  // Every string followed by CR LF, the last one too.
  virtual std::u16string GetTextStr() const;
  // Keeps the entry's object; deletes and re-inserts the string.
  virtual void Put(int Index, const std::u16string& S);
  virtual void PutObject(int Index, TObject* AObject);
  virtual void SetCapacity(int) {}
  // Replaces the contents by the lines of the text: a line ends at 0, LF,
  // VT, FF, CR, U+2028 or U+2029; CR LF counts as one terminator; a final
  // terminator adds no empty line.
  virtual void SetTextStr(const std::u16string& Value);
  virtual void SetLanguage(uint32_t Locale) { FLanguage = Locale; }
  virtual int Add(const std::u16string& S);
  virtual int AddObject(const std::u16string& S, TObject* AObject);
  virtual void AddAnsiStrings(const TStrings& Strings);
  virtual void AddStrings(const TWideStrings& Strings);
  virtual void Exchange(int Index1, int Index2);
  // A new block (WideStrNew) holding GetTextStr; the caller frees it (WideStrDispose).
  virtual char16_t* GetText() const;
  // The first entry equal by the locale comparison; -1 when none.
  virtual int IndexOf(const std::u16string& S) const;
  virtual void Move(int CurIndex, int NewIndex);
  virtual void SetText(const char16_t* Text);

  int Count() const { return GetCount(); }
  std::u16string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::u16string& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
  std::u16string Text() const { return GetTextStr(); }
  void InsertObject(int Index, const std::u16string& S, TObject* AObject);
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  // Same count and every string equal unit by unit.
  bool Equals(const TWideStrings& Strings) const;
  uint32_t Language() const { return FLanguage; }

  // A wide list: its strings and objects; anything else: the assignment error.
  void Assign(TPersistent* Source) override;
  // An 8-bit list: its strings (converted) and objects.
  void Assign(const TStrings& Source);
  // Into an 8-bit list: strings (converted) and objects.
  void AssignTo(TStrings& Dest) const;
  TStrings* AnsiStrings() const { return FAnsiStrings.get(); }
  // Assigns the strings of the 8-bit list (their objects are lost).
  void SetAnsiStrings(const TStrings& Value) { FAnsiStrings->Assign(Value); }

  void DefineProperties(TFiler* Filer) override;

protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void SetUpdateState(bool) {}

private:
  std::unique_ptr<TAnsiStringsForWideStrings> FAnsiStrings;
  int FUpdateCount = 0;
  uint32_t FLanguage;
};

// The user's default locale identifier.
uint32_t GetUserDefaultLCID();
// The locale's default ANSI code page (1252 for every locale here).
unsigned LocaleCodePage(uint32_t Locale);
// Compares without regard to case by the locale's rules: < 0, 0, > 0.
int CompareTextWideLocale(uint32_t Locale, const std::u16string& S1, const std::u16string& S2);

// Zero-terminated wide text.
size_t WideStrLen(const char16_t* Str);
// Copies Count units, correct for overlapping blocks; returns Dest.
char16_t* WideStrMove(char16_t* Dest, const char16_t* Source, size_t Count);
// Room for N units, all zero; free with WideStrDispose.
char16_t* WideStrAlloc(size_t N);
// A block holding the text and its terminator; nil for nil.
char16_t* WideStrNew(const char16_t* Str);
char16_t* WideStrNew(const std::u16string& Str);
void WideStrDispose(char16_t* Str);
