#include "platform/db/dataset.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <regex>

#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace {

bool FileExists(const std::string& f) {
  struct stat st {};
  return ::stat(f.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The ":name" parameters of a statement, in order of first use, lower case.
std::vector<std::string> ParamNames(const std::string& sql) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] == '\'') {
      const std::size_t end = sql.find('\'', i + 1);
      if (end == std::string::npos) break;
      i = end;
      continue;
    }
    if (sql[i] != ':') continue;
    std::size_t j = i + 1;
    while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_')) ++j;
    if (j > i + 1) {
      const std::string n = Lower(sql.substr(i + 1, j - i - 1));
      if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    }
    i = j - 1;
  }
  return names;
}

const TDbValue* FindParam(const std::map<std::string, TDbValue>& params, const std::string& lowerName) {
  for (const auto& [k, v] : params)
    if (Lower(k) == lowerName) return &v;
  return nullptr;
}

}  // namespace

long long TDbValue::AsInteger() const {
  if (auto* i = std::get_if<long long>(&FValue)) return *i;
  if (auto* d = std::get_if<double>(&FValue)) return std::isfinite(*d) ? static_cast<long long>(std::llround(*d)) : 0;
  if (auto* s = std::get_if<std::string>(&FValue)) return StrToIntDef(Trim(*s), 0);
  return 0;
}

double TDbValue::AsFloat() const {
  if (auto* i = std::get_if<long long>(&FValue)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&FValue)) return *d;
  if (auto* s = std::get_if<std::string>(&FValue)) return StrToFloatDef(Trim(*s), 0);
  return 0;
}

std::string TDbValue::AsString() const {
  if (auto* i = std::get_if<long long>(&FValue)) return std::to_string(*i);
  if (auto* d = std::get_if<double>(&FValue)) return FloatToStr(*d);
  if (auto* s = std::get_if<std::string>(&FValue)) return *s;
  return "";
}

// ---------------------------------------------------------------------------

TDatabase::TDatabase(const std::string& FileName, bool Create) : FFileName(FileName) {
  if (!Create && !FileExists(FileName)) throw EDatabaseError("The database file " + FileName + " does not exist.");
  if (Create && !FileExists(FileName)) {
    std::error_code ec;
    const auto folder = std::filesystem::path(FileName).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  }
  const int flags = SQLITE_OPEN_READWRITE | (Create ? SQLITE_OPEN_CREATE : 0);
  try {
    if (sqlite3_open_v2(FileName.c_str(), &FHandle, flags, nullptr) != SQLITE_OK) Fail("opening it");
    // A lock held by another program is reported at once, not waited for.
    sqlite3_busy_timeout(FHandle, 0);
    // A damaged file or one that is no database shows itself on the first read.
    Execute("select count(*) from sqlite_master");
  } catch (...) {
    // No destructor runs for a half-made database: its handle is closed here.
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
    throw;
  }
}

TDatabase::~TDatabase() {
  if (FInTransaction) sqlite3_exec(FHandle, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close_v2(FHandle);
}

void TDatabase::Fail(const std::string& What) const {
  const int code = FHandle ? (sqlite3_extended_errcode(FHandle) & 0xff) : SQLITE_CANTOPEN;
  std::string reason;
  switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: reason = "is locked by another program"; break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: reason = "is damaged or is not a database"; break;
    case SQLITE_CANTOPEN: reason = "cannot be opened"; break;
    case SQLITE_READONLY:
    case SQLITE_PERM: reason = "cannot be written"; break;
    case SQLITE_FULL: reason = "cannot grow: the disk is full"; break;
    default: reason = "gave an error: " + std::string(FHandle ? sqlite3_errmsg(FHandle) : "out of memory"); break;
  }
  throw EDatabaseError("The database file " + FFileName + " " + reason + " (" + What + ").");
}

namespace {

struct TStatement {
  sqlite3_stmt* S = nullptr;
  ~TStatement() { sqlite3_finalize(S); }
};

}  // namespace

void TDatabase::Select(const std::string& Sql, const std::map<std::string, TDbValue>& Params,
                       std::vector<std::string>& Columns, std::vector<std::vector<TDbValue>>& Rows) {
  Columns.clear();
  Rows.clear();
  TStatement st;
  if (sqlite3_prepare_v2(FHandle, Sql.c_str(), static_cast<int>(Sql.size()), &st.S, nullptr) != SQLITE_OK)
    Fail("running \"" + Sql + "\"");
  const int n = sqlite3_bind_parameter_count(st.S);
  for (int i = 1; i <= n; ++i) {
    const char* name = sqlite3_bind_parameter_name(st.S, i);
    const TDbValue* v = name && name[0] ? FindParam(Params, Lower(name + 1)) : nullptr;
    if (!v || v->IsNull()) {
      sqlite3_bind_null(st.S, i);
    } else if (auto* iv = std::get_if<long long>(&v->Raw())) {
      sqlite3_bind_int64(st.S, i, *iv);
    } else if (auto* dv = std::get_if<double>(&v->Raw())) {
      sqlite3_bind_double(st.S, i, *dv);
    } else {
      const std::string& s = std::get<std::string>(v->Raw());
      sqlite3_bind_text(st.S, i, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
  }
  const int cols = sqlite3_column_count(st.S);
  for (int c = 0; c < cols; ++c) Columns.emplace_back(sqlite3_column_name(st.S, c));
  for (;;) {
    const int rc = sqlite3_step(st.S);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) Fail("running \"" + Sql + "\"");
    std::vector<TDbValue> row;
    for (int c = 0; c < cols; ++c) {
      switch (sqlite3_column_type(st.S, c)) {
        case SQLITE_INTEGER: row.emplace_back(static_cast<long long>(sqlite3_column_int64(st.S, c))); break;
        case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st.S, c)); break;
        case SQLITE_NULL: row.emplace_back(); break;
        default: {
          const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st.S, c));
          row.emplace_back(std::string(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(st.S, c))));
        }
      }
    }
    Rows.push_back(std::move(row));
  }
}

void TDatabase::Execute(const std::string& Sql, const std::map<std::string, TDbValue>& Params) {
  std::vector<std::string> c;
  std::vector<std::vector<TDbValue>> r;
  Select(Sql, Params, c, r);
}

void TDatabase::Attach(const std::string& FileName, const std::string& Alias, bool Create) {
  // Opened on its own first, so that its faults are reported by its name.
  { TDatabase check(FileName, Create); }
  Execute("attach database :file as " + Alias, {{"file", FileName}});
}

void TDatabase::StartTransaction() {
  Execute("begin immediate");
  FInTransaction = true;
}

void TDatabase::Commit() {
  Execute("commit");
  FInTransaction = false;
}

void TDatabase::Rollback() {
  if (!FInTransaction) return;
  FInTransaction = false;
  sqlite3_exec(FHandle, "rollback", nullptr, nullptr, nullptr);
}

bool TDatabase::TableExists(const std::string& Table, const std::string& Schema) {
  std::vector<std::string> c;
  std::vector<std::vector<TDbValue>> r;
  Select("select name from " + Schema + ".sqlite_master where type = 'table' and lower(name) = lower(:n)",
         {{"n", Table}}, c, r);
  return !r.empty();
}

// ---------------------------------------------------------------------------

TQuery::TQuery() = default;

TQuery::~TQuery() {
  if (FMaster) std::erase(FMaster->FDetails, this);
  for (TQuery* d : FDetails) d->FMaster = nullptr;
}

void TQuery::SetDatabaseFile(const std::string& FileName) {
  Close();
  FFile = FileName;
}

void TQuery::SetSQL(const std::string& Sql) {
  Close();
  FSql = Sql;
  // One table's select is live.
  static const std::regex single(R"(^\s*select\s+[\s\S]*?\sfrom\s+([A-Za-z_][A-Za-z0-9_]*)\s*(where[\s\S]*|order\s+by[\s\S]*)?$)",
                                 std::regex::icase);
  std::smatch m;
  FTable = std::regex_match(FSql, m, single) ? m[1].str() : std::string();
}

void TQuery::SetMaster(TQuery* Master) {
  if (FMaster) std::erase(FMaster->FDetails, this);
  FMaster = Master;
  if (FMaster) FMaster->FDetails.push_back(this);
}

std::map<std::string, TDbValue> TQuery::BoundParams() const {
  std::map<std::string, TDbValue> out;
  for (const std::string& n : ParamNames(FSql)) {
    if (FMaster && FMaster->FieldIndex(n) >= 0)
      out[n] = FMaster->FieldByName(n);
    else if (const TDbValue* v = FindParam(FParams, n))
      out[n] = *v;
  }
  return out;
}

void TQuery::Open() {
  Close();
  std::string sql = FSql;
  if (CanModify()) {
    // The row id comes first, so rows can be written back.
    const std::size_t at = Lower(sql).find("select") + 6;
    sql.insert(at, " rowid as zv_rowid,");
  }
  TDatabase db(FFile, false);
  std::vector<std::string> columns;
  std::vector<std::vector<TDbValue>> rows;
  db.Select(sql, BoundParams(), columns, rows);
  FRowIds.clear();
  if (CanModify()) {
    columns.erase(columns.begin());
    for (auto& r : rows) {
      FRowIds.push_back(r.front().AsInteger());
      r.erase(r.begin());
    }
  }
  FColumns = std::move(columns);
  FRows = std::move(rows);
  FActive = true;
  FRecNo = FRows.empty() ? -1 : 0;
  FEof = FRows.empty();
  Changed();
}

void TQuery::Close() {
  FActive = false;
  FState = dsBrowse;
  FRows.clear();
  FRowIds.clear();
  FRecNo = -1;
  FEof = true;
}

void TQuery::Changed() {
  if (OnDataChange) OnDataChange(this);
  for (TQuery* d : FDetails) d->MasterChanged();
}

void TQuery::MasterChanged() {
  if (FActive) Open();
}

void TQuery::SetRecNo(int Value) {
  if (FRows.empty()) return;
  FRecNo = std::clamp(Value, 0, RecordCount() - 1);
  FEof = false;
  Changed();
}

int TQuery::FieldIndex(const std::string& Name) const {
  for (std::size_t i = 0; i < FColumns.size(); ++i)
    if (Lower(FColumns[i]) == Lower(Name)) return static_cast<int>(i);
  return -1;
}

TDbValue TQuery::FieldByName(const std::string& Name) const {
  const int i = FieldIndex(Name);
  if (i < 0) throw EDatabaseError("The query on " + FFile + " has no field " + Name + ".");
  if (FState != dsBrowse) return FBuffer[static_cast<std::size_t>(i)];
  if (FRecNo < 0) return {};
  return FRows[static_cast<std::size_t>(FRecNo)][static_cast<std::size_t>(i)];
}

TDbValue TQuery::Value(int Row, int Field) const {
  if (Row < 0 || Row >= RecordCount() || Field < 0 || Field >= static_cast<int>(FColumns.size())) return {};
  return FRows[static_cast<std::size_t>(Row)][static_cast<std::size_t>(Field)];
}

void TQuery::Edit() {
  if (!CanModify()) throw EDatabaseError("The query on " + FFile + " cannot be changed.");
  if (FRecNo < 0) return Append();
  FBuffer = FRows[static_cast<std::size_t>(FRecNo)];
  FBufferSet.assign(FBuffer.size(), false);
  FState = dsEdit;
}

void TQuery::Append() {
  if (!CanModify()) throw EDatabaseError("The query on " + FFile + " cannot be changed.");
  FBuffer.assign(FColumns.size(), TDbValue());
  FBufferSet.assign(FColumns.size(), false);
  FState = dsInsert;
}

void TQuery::SetField(const std::string& Name, const TDbValue& Value) {
  const int i = FieldIndex(Name);
  if (i < 0) throw EDatabaseError("The query on " + FFile + " has no field " + Name + ".");
  if (FState == dsBrowse) Edit();
  FBuffer[static_cast<std::size_t>(i)] = Value;
  FBufferSet[static_cast<std::size_t>(i)] = true;
}

void TQuery::Cancel() { FState = dsBrowse; }

void TQuery::Post() {
  if (FState == dsBrowse) return;
  std::map<std::string, TDbValue> params;
  std::string names, values, sets;
  for (std::size_t i = 0; i < FColumns.size(); ++i) {
    if (!FBufferSet[i]) continue;
    const std::string p = "p" + std::to_string(i);
    params[p] = FBuffer[i];
    names += (names.empty() ? "" : ", ") + std::string("\"") + FColumns[i] + "\"";
    values += (values.empty() ? ":" : ", :") + p;
    sets += (sets.empty() ? "\"" : ", \"") + FColumns[i] + "\" = :" + p;
  }
  long long rowid = FState == dsEdit ? FRowIds[static_cast<std::size_t>(FRecNo)] : -1;
  {
    TDatabase db(FFile, false);
    if (FState == dsInsert) {
      db.Execute(names.empty() ? "insert into " + FTable + " default values"
                               : "insert into " + FTable + " (" + names + ") values (" + values + ")",
                 params);
      std::vector<std::string> c;
      std::vector<std::vector<TDbValue>> r;
      db.Select("select last_insert_rowid()", {}, c, r);
      rowid = r.front().front().AsInteger();
    } else if (!sets.empty()) {
      params["zv_rowid"] = rowid;
      db.Execute("update " + FTable + " set " + sets + " where rowid = :zv_rowid", params);
    }
  }
  FState = dsBrowse;
  Open();
  const auto at = std::find(FRowIds.begin(), FRowIds.end(), rowid);
  if (at != FRowIds.end()) SetRecNo(static_cast<int>(at - FRowIds.begin()));
}

void TQuery::Delete() {
  if (!CanModify() || FRecNo < 0) return;
  {
    TDatabase db(FFile, false);
    db.Execute("delete from " + FTable + " where rowid = :zv_rowid",
               {{"zv_rowid", FRowIds[static_cast<std::size_t>(FRecNo)]}});
  }
  const int keep = FRecNo;
  Open();
  SetRecNo(keep);
}

TTable::TTable(const std::string& FileName, const std::string& TableName) {
  SetDatabaseFile(FileName);
  SetSQL("select * from " + TableName);
}
