// A small data layer on SQLite in place of the desktop database engine.
//
// A database is one SQLite file, named by its path; its tables are reached by
// queries. TQuery runs a select on the file and holds the result in memory;
// a query of one table ("select ... from <table> ...") is live: its current
// row can be edited and posted, rows appended and deleted, each write going
// at once to the file in a transaction of its own (or in the caller's, see
// TDatabase). Parameters are written ":name" in the text and bound by value.
// A detail query follows a master: it reopens with its parameters taken from
// the master's current row whenever that row changes.
//
// Every failure (a file that is missing, locked by another program, damaged
// or not a database; a statement the file's tables cannot answer) raises
// EDatabaseError with one clear message naming the file.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/exceptions.h"

ZV_DECLARE_EXCEPTION(EDatabaseError, Exception)

struct sqlite3;

// A field's value: null, integer, real or text.
class TDbValue {
public:
  TDbValue() = default;
  TDbValue(long long v) : FValue(v) {}
  TDbValue(int v) : FValue(static_cast<long long>(v)) {}
  TDbValue(double v) : FValue(v) {}
  TDbValue(const std::string& v) : FValue(v) {}
  TDbValue(const char* v) : FValue(std::string(v)) {}
  bool IsNull() const { return FValue.index() == 0; }
  long long AsInteger() const;
  double AsFloat() const;
  std::string AsString() const;
  const std::variant<std::monostate, long long, double, std::string>& Raw() const { return FValue; }
  bool operator==(const TDbValue&) const = default;

private:
  std::variant<std::monostate, long long, double, std::string> FValue;
};

// One open SQLite file. Opening a missing file fails unless Create is set
// (then it is made, with its folder). Another program's lock is not waited for.
class TDatabase {
public:
  TDatabase(const std::string& FileName, bool Create);
  ~TDatabase();
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;
  const std::string& FileName() const { return FFileName; }
  // Runs a statement with its ":name" parameters.
  void Execute(const std::string& Sql, const std::map<std::string, TDbValue>& Params = {});
  // The rows of a select: column names and values.
  void Select(const std::string& Sql, const std::map<std::string, TDbValue>& Params,
              std::vector<std::string>& Columns, std::vector<std::vector<TDbValue>>& Rows);
  // Makes another file's tables reachable as <Alias>.<table> in one transaction with this one's.
  void Attach(const std::string& FileName, const std::string& Alias, bool Create);
  void StartTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const { return FInTransaction; }
  bool TableExists(const std::string& Table, const std::string& Schema = "main");

private:
  [[noreturn]] void Fail(const std::string& What) const;
  sqlite3* FHandle = nullptr;
  std::string FFileName;
  bool FInTransaction = false;
};

class TQuery {
public:
  TQuery();
  ~TQuery();
  // The file the query runs on.
  const std::string& DatabaseFile() const { return FFile; }
  void SetDatabaseFile(const std::string& FileName);
  const std::string& SQL() const { return FSql; }
  void SetSQL(const std::string& Sql);
  // A parameter's value (made on first use).
  TDbValue& ParamByName(const std::string& Name) { return FParams[Name]; }
  // A detail query: its parameters named like fields of the master take
  // their values from the master's current row.
  void SetMaster(TQuery* Master);

  void Open();
  void Close();
  bool Active() const { return FActive; }
  int RecordCount() const { return static_cast<int>(FRows.size()); }
  // The current row, 0-based; -1 when there is none.
  int RecNo() const { return FRecNo; }
  void SetRecNo(int Value);
  void First() { SetRecNo(0); }
  void Last() { SetRecNo(RecordCount() - 1); }
  void Next() { if (FRecNo + 1 < RecordCount()) SetRecNo(FRecNo + 1); else FEof = true; }
  bool Eof() const { return FEof || FRows.empty(); }
  const std::vector<std::string>& FieldNames() const { return FColumns; }
  // -1 when there is no such field (names ignore case).
  int FieldIndex(const std::string& Name) const;
  // The current row's value; null on an empty result. EDatabaseError for an unknown field.
  TDbValue FieldByName(const std::string& Name) const;
  TDbValue Value(int Row, int Field) const;

  // Editing of a live query: Edit or Append, SetField, then Post (or Cancel).
  bool CanModify() const { return !FTable.empty(); }
  void Edit();
  void Append();
  void SetField(const std::string& Name, const TDbValue& Value);
  void Post();
  void Cancel();
  void Delete();
  bool Editing() const { return FState != dsBrowse; }

  // Fired after the rows or the current row changed.
  std::function<void(TQuery*)> OnDataChange;

private:
  enum TState { dsBrowse, dsEdit, dsInsert };
  void Changed();
  void MasterChanged();
  std::map<std::string, TDbValue> BoundParams() const;
  std::string FFile, FSql, FTable;
  std::map<std::string, TDbValue> FParams;
  std::vector<std::string> FColumns;  // without the row id
  std::vector<std::vector<TDbValue>> FRows;
  std::vector<long long> FRowIds;
  std::vector<TDbValue> FBuffer;
  std::vector<bool> FBufferSet;
  TState FState = dsBrowse;
  int FRecNo = -1;
  bool FEof = true;
  bool FActive = false;
  TQuery* FMaster = nullptr;
  std::vector<TQuery*> FDetails;
};

// A table opened by the path of its file: all its rows in the file's order.
class TTable : public TQuery {
public:
  TTable(const std::string& FileName, const std::string& TableName);
};
