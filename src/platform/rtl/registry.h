// The per-user settings store, with the class library's registry classes.
//
// Each root key is kept in one file under ConfigFolder()
// (HKEY_CURRENT_USER.reg, HKEY_LOCAL_MACHINE.reg, ...). Key paths use '\';
// key and value names compare ignoring ASCII case and keep the spelling first
// written. Values are typed: strings, expandable strings, 32-bit integers and
// binary data (floating-point numbers and date-times are 8-byte binary values,
// stored little-endian whatever the machine).
//
// Changes collect in the process and are written when the key is closed or
// the object destroyed (and at program end; inside a TRegistryBatch, at the
// batch's end): the file is re-read, this
// process's changes are applied on top, and the result replaces the file
// atomically under a lock, so programs running at once never corrupt it and the
// last writer of a value wins; a value changed again while the file cannot be
// written (a full disk) replaces its queued change. A damaged file is read as
// far as its lines are valid (a key nested more than 512 deep is damage); the
// rest is reported once on standard error and dropped at the next write, which
// first keeps the damaged file as "<file>.bak" and says so. A file that exists
// but cannot be read (no permission) is reported once and never written: a
// change to it is refused (writing a value raises "Failed to set data for
// '<name>': <why>", opening a missing key with canCreate answers false).
// Temporary files of writers killed before their rename go at the first open.
//
// Opening a key first reads the file again when another program changed it
// since (one stat per open); values are read from the key as opened.
//
// Reading a value raises ERegistryException "Failed to get data for '<name>'"
// when the value is missing (ReadString returns "" instead) and
// "Invalid data type for '<name>'" when it has another type; writing through a
// closed or deleted key raises "Failed to set data for '<name>'".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifiles.h"

class TStrings;

using HKEY = uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

// Access rights: only the difference between reading and writing matters.
constexpr unsigned KEY_QUERY_VALUE = 0x0001, KEY_SET_VALUE = 0x0002, KEY_CREATE_SUB_KEY = 0x0004,
                   KEY_ENUMERATE_SUB_KEYS = 0x0008, KEY_NOTIFY = 0x0010, KEY_READ = 0x20019,
                   KEY_WRITE = 0x20006, KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
};

class TRegistry {
public:
  TRegistry();  // HKEY_CURRENT_USER, all access
  explicit TRegistry(unsigned access);
  virtual ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key and changes the root.
  void SetRootKey(HKEY root);
  unsigned Access() const { return FAccess; }
  void SetAccess(unsigned access) { FAccess = access; }
  // The path of the open key below the root, without a leading '\'; empty
  // for the root itself or when no key is open (see HasCurrentKey).
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FOpen; }

  // Opens key relative to the open key (absolute when it begins with '\');
  // with canCreate a missing key is made. False when it does not exist or the
  // root is unknown.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  // Writes pending changes and closes the key.
  void CloseKey();
  // Makes the key (and its missing parents); true when it exists afterwards.
  bool CreateKey(const std::string& key);
  // Removes the key with all its subkeys and values.
  bool DeleteKey(const std::string& key);
  bool KeyExists(const std::string& key);
  // Copies the key oldName with everything below it to newName (both
  // relative to the open key) and, with deleteOld, removes the old one.
  // Nothing happens when oldName is missing or newName exists.
  void MoveKey(const std::string& oldName, const std::string& newName, bool deleteOld);

  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);
  void RenameValue(const std::string& oldName, const std::string& newName);
  bool HasSubKeys();
  bool GetKeyInfo(TRegKeyInfo& info);
  // Subkey names sorted ignoring case; value names in the order first written.
  void GetKeyNames(TStrings& strings);
  void GetValueNames(TStrings& strings);
  std::vector<std::string> GetKeyNames();
  std::vector<std::string> GetValueNames();

  bool GetDataInfo(const std::string& name, TRegDataInfo& info);
  TRegDataType GetDataType(const std::string& name);  // rdUnknown when missing
  int GetDataSize(const std::string& name);           // -1 when missing; strings count their 0

  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  int ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int value);
  // Stored as an integer, 0 false and anything else true.
  bool ReadBool(const std::string& name);
  void WriteBool(const std::string& name, bool value);
  double ReadFloat(const std::string& name);
  void WriteFloat(const std::string& name, double value);
  double ReadDateTime(const std::string& name);
  void WriteDateTime(const std::string& name, double value);
  double ReadDate(const std::string& name) { return ReadDateTime(name); }
  void WriteDate(const std::string& name, double value) { WriteDateTime(name, value); }
  double ReadTime(const std::string& name) { return ReadDateTime(name); }
  void WriteTime(const std::string& name, double value) { WriteDateTime(name, value); }
  // Copies up to bufSize bytes of a binary value; returns the value's size.
  int ReadBinaryData(const std::string& name, void* buffer, int bufSize);
  void WriteBinaryData(const std::string& name, const void* buffer, int bufSize);

  // The file that holds a root key.
  static std::string StoreFileName(HKEY root);
  // Writes every pending change of this process now.
  static void FlushAll();

protected:
  bool ReadOnly() const;
  bool IsReadOnlyKey() const { return FOpenReadOnly; }
  // Makes path (below the root) the open key again without any check.
  void RestoreKey(const std::string& path, bool readOnly);
  // Why the root's store refuses changes (its file cannot be read); empty
  // when it takes them.
  std::string StoreProblem() const;

private:
  std::string Resolve(const std::string& key) const;
  void ReadData(const std::string& name, TRegDataType wanted, std::string& data, TRegDataType* type = nullptr);
  void WriteData(const std::string& name, TRegDataType type, const std::string& data);

  HKEY FRootKey = HKEY_CURRENT_USER;
  unsigned FAccess = KEY_ALL_ACCESS;
  std::string FCurrentPath;
  bool FOpen = false;
  bool FOpenReadOnly = false;
};

// A batch of settings work (reading every setting at start, writing them at
// close): while a batch is alive, closing a key writes nothing and the store's
// file is looked at once for changes by other programs, not at every key
// opened; the end of the outermost batch writes each changed store once.
// FlushAll still writes at once.
class TRegistryBatch {
public:
  TRegistryBatch();
  ~TRegistryBatch();
  TRegistryBatch(const TRegistryBatch&) = delete;
  TRegistryBatch& operator=(const TRegistryBatch&) = delete;
};

// The registry used as an INI file: the key given to the constructor is
// opened (made when missing); a section is a subkey of it (a section beginning
// with '\' names a key from the root), an ident a value. Integers and Booleans
// are written as text ("1"/"0"), and read from either text or integer values.
class TRegIniFile : public TRegistry {
public:
  explicit TRegIniFile(const std::string& fileName);
  TRegIniFile(const std::string& fileName, unsigned access);
  const std::string& FileName() const { return FFileName; }

  using TRegistry::ReadString;
  using TRegistry::WriteString;
  using TRegistry::ReadInteger;
  using TRegistry::WriteInteger;
  using TRegistry::ReadBool;
  using TRegistry::WriteBool;
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
  void WriteInteger(const std::string& section, const std::string& ident, int value);
  bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
  void WriteBool(const std::string& section, const std::string& ident, bool value);

  void ReadSection(const std::string& section, TStrings& strings);
  void ReadSections(TStrings& strings);
  void ReadSectionValues(const std::string& section, TStrings& strings);
  void EraseSection(const std::string& section);
  using TRegistry::DeleteKey;
  void DeleteKey(const std::string& section, const std::string& ident);

private:
  friend class TRegistryIniFile;
  // Runs body with the section's key open (made when create), then reopens
  // the file key; false when the section could not be opened.
  template <class F>
  bool InSection(const std::string& section, bool create, F&& body);

  std::string FFileName;
};

// TRegIniFile behind the TCustomIniFile interface, for code that works with
// either store.
class TRegistryIniFile : public TCustomIniFile {
public:
  explicit TRegistryIniFile(const std::string& fileName, unsigned access = KEY_ALL_ACCESS);
  ~TRegistryIniFile() override;

  TRegIniFile& RegIniFile() { return FRegIniFile; }

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) override;
  void WriteInteger(const std::string& section, const std::string& ident, int value) override;
  bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) override;
  void WriteBool(const std::string& section, const std::string& ident, bool value) override;
  void ReadSection(const std::string& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const std::string& section, TStrings& strings) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void UpdateFile() override;
  bool SectionExists(const std::string& section) override;
  bool ValueExists(const std::string& section, const std::string& ident) override;

private:
  TRegIniFile FRegIniFile;
};
