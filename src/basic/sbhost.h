// The interface through which a registered host function (and every built-in
// procedure) reads the arguments of its call and sets its result. Arguments
// are numbered from 0; element e of an argument counts from the element the
// argument names. Nothing here raises: a missing argument or element gives
// nil, #0, 0 or the empty string.
#pragma once

#include <cstdint>
#include <string>

#include "basic/sbexec.h"

uint8_t* GetArgPtr(const TSBCodeList& list, int i, int e = 0);
char GetArgType(const TSBCodeList& list, int i);
TSBValue GetArgCell(const TSBCodeList& list, int i, int e = 0);
int32_t GetArgInt(const TSBCodeList& list, int i, int e = 0);
float GetArgSingle(const TSBCodeList& list, int i, int e = 0);
double GetArgDouble(const TSBCodeList& list, int i, int e = 0);
// The text when the argument is a string; empty otherwise.
std::string GetArgString(const TSBCodeList& list, int i, int e = 0);
double GetArgDate(const TSBCodeList& list, int i, int e = 0);

void SetResultBool(bool value, TSBResultCell& cell);
int32_t SetResultInt(int32_t value, TSBResultCell& cell);
void SetResultSingle(float value, TSBResultCell& cell);
void SetResultDouble(double value, TSBResultCell& cell);
void SetResultString(const std::string& value, TSBResultCell& cell);
void SetResultDate(double value, TSBResultCell& cell);
