// Component streaming in the class library's binary form ("TPF0" signature,
// typed values, nested components, collections, defined properties) and its
// text form ("object Name: TClass ... end"), with conversion between the two.
//
// Binary layout: the signature, then one component: an optional prefix byte
// $F0|flags (ffInherited 1, ffChildPos 2, ffInline 4; with ffChildPos an
// integer value follows), the class name and the component name as short
// strings, the properties (a short-string name and a typed value each) ended
// by a zero byte, the child components, and a zero byte. Strings: vaString
// (length byte) or vaLString (32-bit length) in Windows-1252, vaWString
// (32-bit count of UTF-16 units) for text outside that code page, vaUTF8String
// read as is. Properties equal to their declared defaults are not written.
//
// Damaged or hostile input raises EReadError (binary form) or EParserError
// (text form) and never runs away: lists, collections and components nest at
// most 256 deep, a length or count larger than the rest of the stream is
// refused before anything is allocated, a value beyond the range of the
// property's type (a single, a double, a set of at most 64 elements) is
// invalid, and the pictures of one stream share a budget of pixels
// (kStreamPixelBudget in bitmap.h). A component freed while the stream is read (a control frees its
// child controls) leaves nothing behind in the reader.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/codepages.h"
#include "platform/rtl/streams.h"
#include "platform/ui/classes.h"

class TPictureBudget;
class TStrings;

enum TValueType : uint8_t {
  vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
  vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13, vaCollection = 14,
  vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20
};

enum TFilerFlag { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
public:
  explicit TFiler(TStream* Stream) : FStream(Stream) {}
  std::string ClassName() const override { return "TFiler"; }

  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* v) { FRoot = v; }
  TComponent* LookupRoot() const { return FLookupRoot; }
  // The ancestor of the object being written (inherited forms); nil here.
  TPersistent* Ancestor() const { return FAncestor; }
  void SetAncestor(TPersistent* v) { FAncestor = v; }
  bool IgnoreChildren() const { return FIgnoreChildren; }
  void SetIgnoreChildren(bool v) { FIgnoreChildren = v; }

  // Extra properties an object streams by name, besides its published ones.
  // HasData tells the writer whether to write it.
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  TPersistent* FAncestor = nullptr;
  bool FIgnoreChildren = false;
};

class TWriter : public TFiler {
public:
  explicit TWriter(TStream* Stream, int BufSize = 4096);
  ~TWriter() override;
  std::string ClassName() const override { return "TWriter"; }

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  void WriteSignature();
  // The signature and Root as the root component.
  void WriteRootComponent(TComponent* Root);
  void WriteComponent(TComponent* Component);
  // Header, properties and children of Instance (TComponent::WriteState).
  void WriteData(TComponent* Instance);
  void WriteProperties(TObject* Instance);
  void WriteCollection(TCollection* Value);

  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
  void WriteChar(char Value) { WriteString(std::string(1, Value)); }
  void WriteInteger(int64_t Value);
  void WriteFloat(long double Value);
  void WriteSingle(float Value);
  void WriteDouble(double Value) { WriteFloat(Value); }
  void WriteCurrency(double Value);
  void WriteDate(double Value);
  void WriteString(const std::string& Value);
  void WriteWideString(const std::string& Value);
  void WriteUTF8Str(const std::string& Value);
  void WriteIdent(const std::string& Ident);
  void WriteSet(const TEnumInfo& Info, uint64_t Bits);
  void WriteBinary(const std::vector<uint8_t>& Data);
  void WriteStr(const std::string& Value);  // a short string without value type
  void WriteValue(TValueType Value);
  void WritePrefix(int Flags, int ChildPos);

  // Called for each event property that holds a handler; answers the name
  // to store, or empty to leave it out (handlers set in code have no name).
  std::function<std::string(TObject* Instance, const TPropInfo& Prop)> OnGetMethodName;

private:
  void WriteProperty(TObject* Instance, const TPropInfo& Prop);
  void WritePropName(const std::string& Name);
  void WriteObjectProperties(TObject* Instance, const std::string& Prefix);
  std::string ComponentRefName(TComponent* c) const;

  std::string FPropPath;
  int FChildPos = 0;
};

class TReader : public TFiler {
public:
  explicit TReader(TStream* Stream, int BufSize = 4096);
  ~TReader() override;
  std::string ClassName() const override { return "TReader"; }

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* v) { FOwner = v; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* v) { FParent = v; }

  void ReadSignature();  // EReadError "Invalid stream format" when absent
  // Reads the root component into Root (or a new component of the stored
  // class when Root is nil); its children are created with Root as owner.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads one component (a child); Component, when given, receives it.
  TComponent* ReadComponent(TComponent* Component);
  // Properties and children of Instance (TComponent::ReadState).
  void ReadData(TComponent* Instance);
  void ReadProperty(TObject* Instance);
  void ReadCollection(TCollection* Collection);
  void ReadPrefix(int& Flags, int& ChildPos);

  TValueType NextValue();
  TValueType ReadValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  int ReadInteger();
  int64_t ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  double ReadDouble();
  double ReadCurrency();
  double ReadDate();
  std::string ReadString();
  std::string ReadWideString() { return ReadString(); }
  std::string ReadIdent();
  uint64_t ReadSet(const TEnumInfo& Info);
  std::string ReadStr();  // a short string without value type
  void SkipValue();
  void CheckValue(TValueType Value);

  // The error hook: answers whether the error is handled (reading goes on,
  // skipping the offending property or component). The default asks OnError
  // and raises when it is not handled.
  virtual bool Error(const std::string& Message);
  std::function<void(TReader* Reader, const std::string& Message, bool& Handled)> OnError;
  // Asked for each stored event-handler name; Address starts as the root's
  // MethodAddress(Name) and Error as whether that was empty. Error left true
  // raises EReadError "Method '<name>' not found" (through the error hook).
  std::function<void(TReader* Reader, const std::string& MethodName, std::any& Address, bool& Error)> OnFindMethod;
  // Resolves a stored class name the registry does not know.
  std::function<void(TReader* Reader, const std::string& ClassName, TClass& ComponentClass)> OnFindComponentClass;

private:
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Name;
    std::vector<TObject*> Items;  // the collection items the property was read in
  };
  void ReadPropValue(TObject* Instance, const TPropInfo& Prop);
  TClass FindComponentClass(const std::string& ClassName);
  void ReadChildren(TComponent* Instance);
  void SkipComponent(bool SkipHeader);
  void SkipSetBody();
  void SkipProperty();
  void DoFixups();
  void FinishLoading();
  uint8_t ReadByte();
  void ReadBytes(void* buf, int64_t n);
  // Loaded components are watched: one freed while reading (a control takes
  // its child controls with it) leaves the lists below.
  void Watch(TComponent* c);
  void Forgotten(TComponent* c);
  void UnwatchAll();

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  std::string FPropName;
  bool FDefinedFound = false;
  std::vector<TComponent*> FLoaded;  // nil where a component was freed meanwhile
  std::vector<TFixup> FFixups;
  int FNesting = 0;  // lists, collections and components open; bounded for damaged streams
  std::vector<TComponent*> FReading;  // components whose state is being read, outermost first
  std::vector<TObject*> FItems;       // collection items being read, outermost first
  std::unique_ptr<TComponent> FWatch;
  // The pixels the stream's pictures may have together (see TPictureBudget).
  std::unique_ptr<TPictureBudget> FPictureBudget;
};

// Reads a stream written by WriteComponentToStream into Instance (or into a
// new component of the stored class, created without owner, when nil).
TComponent* ReadComponentFromStream(TStream& Stream, TComponent* Instance);
void WriteComponentToStream(TStream& Stream, TComponent* Instance);
// The text form of a component and back (through the binary form).
std::string ComponentToText(TComponent* Instance);
TComponent* TextToComponent(const std::string& Text, TComponent* Instance);

// Conversion between the binary and text forms. Both read from the input's
// position to the end of one component and raise EReadError / EParserError on
// malformed input.
void ObjectBinaryToText(TStream& Input, TStream& Output);
void ObjectTextToBinary(TStream& Input, TStream& Output);

ZV_DECLARE_EXCEPTION(EParserError, Exception)

// Text encodings at the stream boundary: platform/rtl/codepages.h.
