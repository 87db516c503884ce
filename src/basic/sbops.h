// Operations on typed values: the arithmetic, comparison, logic and
// assignment instructions of the executor. Each finds the storage its operand
// registers denote, converts the operands by the result's type code,
// computes and stores. Every operand access is checked against its
// variable's storage, so that no code, however it was produced, reaches
// outside it.
#pragma once

#include <cstdint>

#include "basic/sbclasses.h"

// The storage the operand denotes: its Target's data plus the byte offset in
// its offset register. 306 when there is no variable (or no storage), 307
// when the element lies outside the variable; 0 and the address otherwise.
int OperandAddress(const TSBTypeList& types, const TSBReg& reg, uint8_t*& address);
// The same with var in place of Target; nil when outside var's storage.
uint8_t* OperandAddressIn(const TSBTypeList& types, const TSBReg& reg, const TSBVar* var);
int OperandValue(const TSBTypeList& types, const TSBReg& reg, TSBValue& value);
TSBValue OperandValueIn(const TSBTypeList& types, const TSBReg& reg, const TSBVar* var);
// Element 0 of the variable, with its own type.
TSBValue VarValue(const TSBVar& var);
// Re-types a register operand's variable to the operand's type (one
// element, zeroed) when they differ.
void AdaptRegisterType(const TSBTypeList& types, const TSBReg& reg);

int ExecArithmetic(const TSBTypeList& types, TSBCode& code);
int ExecCompare(const TSBTypeList& types, TSBCode& code);
int ExecAssign(const TSBTypeList& types, TSBCode& code);
// Stores src into dest with conversion; user-type values are copied as a
// block of the smaller of the two sizes.
void AssignValue(const TSBValue& src, const TSBValue& dest);
