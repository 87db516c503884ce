#include "basic/sbhost.h"

uint8_t* GetArgPtr(const TSBCodeList& list, int i, int e) { return list.ParamElementAddress(i, e); }

char GetArgType(const TSBCodeList& list, int i) { return list.ParamTypeCode(i); }

TSBValue GetArgCell(const TSBCodeList& list, int i, int e) {
  const TSBReg* p = list.ParamReg(i);
  if (!p) return TSBValue{};
  return MakeValue(*list.Types, GetArgPtr(list, i, e), p->TypeCode, p->TypeIndex);
}

int32_t GetArgInt(const TSBCodeList& list, int i, int e) { return ValueAsInteger(GetArgCell(list, i, e)); }

float GetArgSingle(const TSBCodeList& list, int i, int e) { return AsSingle(ValueAsDouble(GetArgCell(list, i, e))); }

double GetArgDouble(const TSBCodeList& list, int i, int e) { return ValueAsDouble(GetArgCell(list, i, e)); }

std::string GetArgString(const TSBCodeList& list, int i, int e) { return ValueAsString(GetArgCell(list, i, e)); }

double GetArgDate(const TSBCodeList& list, int i, int e) { return ValueAsDate(GetArgCell(list, i, e)); }

void SetResultBool(bool value, TSBResultCell& cell) {
  cell.TypeCode = tcInteger;
  cell.IntValue = value ? 1 : 0;
}

int32_t SetResultInt(int32_t value, TSBResultCell& cell) {
  cell.TypeCode = tcInteger;
  cell.IntValue = value;
  return value;
}

void SetResultSingle(float value, TSBResultCell& cell) {
  cell.TypeCode = tcSingle;
  cell.SingleValue = value;
}

void SetResultDouble(double value, TSBResultCell& cell) {
  cell.TypeCode = tcDouble;
  cell.DoubleValue = value;
}

void SetResultString(const std::string& value, TSBResultCell& cell) {
  cell.TypeCode = tcString;
  cell.StrValue = CutText(value);
}

void SetResultDate(double value, TSBResultCell& cell) {
  cell.TypeCode = tcDate;
  cell.DateValue = value;
}
