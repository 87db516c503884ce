#include "basic/sbops.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "basic/sberrors.h"

namespace {

// The element size of an operand: kept by the link, else looked up.
inline int64_t ElemOf(const TSBTypeList& types, const TSBReg& reg) {
  return reg.ElemSize > 0 ? reg.ElemSize : ElementSize(types, reg.TypeCode, reg.TypeIndex);
}

// Element 0 of a register or variable as an integer; offset registers are
// integers, read without the general conversion.
inline int64_t IntOfVar(const TSBVar* v) {
  if (v->Data && v->VarType && v->VarType->TypeCode == tcInteger) return LoadInt32(v->Data);
  return v->GetInt(0);
}

// Address of the operand inside var; error code on failure.
inline int AddressIn(const TSBTypeList& types, const TSBReg& reg, const TSBVar* var, uint8_t*& address) {
  address = nullptr;
  if (!var || !var->Data) return sbeInvalidPointer;
  int64_t offset = 0;
  if (reg.OffsetReg >= 0) {
    if (!reg.OffsetVar) return sbeInvalidPointer;
    offset = IntOfVar(reg.OffsetVar);
  }
  const int64_t elem = ElemOf(types, reg);
  if (offset < 0 || offset + elem > var->Size) return sbeIndexRange;
  address = var->Data + offset;
  return 0;
}

// The value at p of an operand of that type code as a double or an integer
// (ValueAsDouble, ValueAsInteger), the common codes without a call.
inline double DoubleAt(char code, uint8_t* p) {
  switch (code) {
    case tcDouble: return LoadDouble(p);
    case tcInteger: return LoadInt32(p);
    case tcSingle: return LoadSingle(p);
    default: return ValueAsDouble(TSBValue{p, code, -1, 0});
  }
}

inline int32_t IntAt(char code, uint8_t* p) {
  if (code == tcInteger) return LoadInt32(p);
  return ValueAsInteger(TSBValue{p, code, -1, 0});
}

int32_t DayNumberOf(int64_t n) {
  if (n > std::numeric_limits<int32_t>::max() || n < std::numeric_limits<int32_t>::min())
    throw ESBRunError(sbeRange, "Date out of range");
  return static_cast<int32_t>(n);
}

bool IsIntegerLike(char code) { return code == tcInteger || code == tcDate; }

}  // namespace

int OperandAddress(const TSBTypeList& types, const TSBReg& reg, uint8_t*& address) {
  return AddressIn(types, reg, reg.Target, address);
}

namespace {

inline int Address(const TSBTypeList& types, const TSBReg& reg, uint8_t*& address) {
  return AddressIn(types, reg, reg.Target, address);
}

}  // namespace

uint8_t* OperandAddressIn(const TSBTypeList& types, const TSBReg& reg, const TSBVar* var) {
  uint8_t* address = nullptr;
  AddressIn(types, reg, var, address);
  return address;
}

int OperandValue(const TSBTypeList& types, const TSBReg& reg, TSBValue& value) {
  uint8_t* address = nullptr;
  const int error = OperandAddress(types, reg, address);
  value = MakeValue(types, address, reg.TypeCode, reg.TypeIndex);
  return error;
}

TSBValue OperandValueIn(const TSBTypeList& types, const TSBReg& reg, const TSBVar* var) {
  return MakeValue(types, OperandAddressIn(types, reg, var), reg.TypeCode, reg.TypeIndex);
}

TSBValue VarValue(const TSBVar& var) { return var.Element(0); }

namespace {

inline void AdaptRegister(const TSBTypeList& types, const TSBReg& reg) {
  if (reg.Kind != skRegister || !reg.Target) return;
  TSBVar* var = reg.Target;
  const char have = var->VarType ? var->VarType->TypeCode : tcNone;
  if (have == reg.TypeCode && (have != tcUser || var->TypeIndex == reg.TypeIndex) && var->Dimension == 1) return;
  TSBType* type = BaseTypeFor(types, reg.TypeCode, reg.TypeIndex);
  if (type) var->SetType(type, 1);
}

}  // namespace

void AdaptRegisterType(const TSBTypeList& types, const TSBReg& reg) { AdaptRegister(types, reg); }

int ExecArithmetic(const TSBTypeList& types, TSBCode& code) {
  AdaptRegister(types, code.Dest);
  uint8_t *pa, *pb, *pd;
  if (int e = Address(types, code.A, pa)) return e;
  if (int e = Address(types, code.B, pb)) return e;
  if (int e = Address(types, code.Dest, pd)) return e;
  const int op = code.Op.Value;
  switch (code.Dest.TypeCode) {
    case tcSingle:
    case tcDouble: {
      const double x = DoubleAt(code.A.TypeCode, pa), y = DoubleAt(code.B.TypeCode, pb);
      double r = 0;
      switch (op) {
        case opMul: r = x * y; break;
        case opDiv: r = y == 0 ? 0.0 : x / y; break;
        case opAdd: r = x + y; break;
        case opSub: r = x - y; break;
        default: return 0;
      }
      if (code.Dest.TypeCode == tcSingle)
        StoreSingle(pd, AsSingle(r));
      else
        StoreDouble(pd, r);
      break;
    }
    case tcString: {
      const bool strings = code.A.TypeCode == tcString && code.B.TypeCode == tcString;
      if (op == opAdd && strings && pa[0] + pb[0] <= ShortStringMax) {
        // Joined in a buffer of its own: the destination may be either operand.
        uint8_t joined[ShortStringMax + 1];
        joined[0] = static_cast<uint8_t>(pa[0] + pb[0]);
        std::memcpy(joined + 1, pa + 1, pa[0]);
        std::memcpy(joined + 1 + pa[0], pb + 1, pb[0]);
        std::memcpy(pd, joined, static_cast<std::size_t>(joined[0]) + 1);
        break;
      }
      const TSBValue a = MakeValue(types, pa, code.A.TypeCode, code.A.TypeIndex);
      const TSBValue b = MakeValue(types, pb, code.B.TypeCode, code.A.TypeIndex);
      std::string r;
      if (op == opAdd) r = ValueAsString(a) + ValueAsString(b);
      StoreShortString(pd, CutText(r));
      break;
    }
    case tcInteger: {
      const int32_t x = IntAt(code.A.TypeCode, pa), y = IntAt(code.B.TypeCode, pb);
      int32_t r = 0;
      switch (op) {
        case opMul: r = WrapMul(x, y); break;
        case opDiv:
          if (y == 0)
            r = 0;
          else if (y == -1)
            r = WrapSub(0, x);  // also for the most negative value, which wraps to itself
          else
            r = x / y;
          break;
        case opAdd: r = WrapAdd(x, y); break;
        case opSub: r = WrapSub(x, y); break;
        default: return 0;
      }
      StoreInt32(pd, r);
      break;
    }
    case tcDate: {
      const int64_t x = IntAt(code.A.TypeCode, pa), y = IntAt(code.B.TypeCode, pb);
      if (op == opAdd)
        StoreDouble(pd, DayNumberToDate(DayNumberOf(x + y)));
      else if (op == opSub)
        StoreDouble(pd, DayNumberToDate(DayNumberOf(x - y)));
      break;
    }
    default: break;
  }
  return 0;
}

int ExecCompare(const TSBTypeList& types, TSBCode& code) {
  if (code.Dest.Kind == skRegister && code.Dest.Target) {
    TSBVar* var = code.Dest.Target;
    if (!var->VarType || var->VarType->TypeCode != tcInteger || var->Dimension != 1)
      var->SetType(TypeAt(types, btInteger), 1);
  }
  uint8_t *pa, *pb, *pd;
  if (int e = Address(types, code.A, pa)) return e;
  if (int e = Address(types, code.B, pb)) return e;
  if (int e = Address(types, code.Dest, pd)) return e;
  const TSBValue a{pa, code.A.TypeCode, code.A.TypeIndex, 0};
  const TSBValue b{pb, code.B.TypeCode, code.A.TypeIndex, 0};
  const int op = code.Op.Value;
  int32_t r = 0;
  auto compare = [op](auto x, auto y) -> int32_t {
    switch (op) {
      case opLess: return x < y;
      case opLessEq: return x <= y;
      case opEqual: return x == y;
      case opGreaterEq: return x >= y;
      case opGreater: return x > y;
      case opNotEqual: return x != y;
      default: return 0;
    }
  };
  if (IsIntegerLike(a.TypeCode) && IsIntegerLike(b.TypeCode)) {
    const int32_t x = IntAt(a.TypeCode, pa), y = IntAt(b.TypeCode, pb);
    if (op == opAnd)
      r = x != 0 && y != 0;
    else if (op == opOr)
      r = x != 0 || y != 0;
    else
      r = compare(x, y);
  } else if (a.TypeCode == tcString || b.TypeCode == tcString) {
    if (a.TypeCode == tcString && b.TypeCode == tcString && op != opAnd && op != opOr) {
      // Byte order: std::string_view compares characters as unsigned.
      const std::string_view sa(reinterpret_cast<const char*>(pa) + 1, pa[0]);
      const std::string_view sb(reinterpret_cast<const char*>(pb) + 1, pb[0]);
      const int c = sa.compare(sb);
      r = compare(c, 0);
    }
  } else {
    const double x = DoubleAt(a.TypeCode, pa), y = DoubleAt(b.TypeCode, pb);
    // A real is true when it rounds to a non-zero integer, as IF tests it.
    if (op == opAnd)
      r = NearestInt(x) != 0 && NearestInt(y) != 0;
    else if (op == opOr)
      r = NearestInt(x) != 0 || NearestInt(y) != 0;
    else
      r = compare(x, y);
  }
  if (code.Dest.TypeCode == tcInteger)
    StoreInt32(pd, r);
  else
    SetValueFromInteger(MakeValue(types, pd, code.Dest.TypeCode, code.A.TypeIndex), r);
  return 0;
}

int ExecAssign(const TSBTypeList& types, TSBCode& code) {
  AdaptRegister(types, code.Dest);
  uint8_t *pa, *pd;
  if (int e = Address(types, code.A, pa)) return e;
  if (int e = Address(types, code.Dest, pd)) return e;
  // The same type: the stored form is the converted one.
  if (code.A.TypeCode == code.Dest.TypeCode) {
    switch (code.A.TypeCode) {
      case tcDouble: std::memmove(pd, pa, 8); return 0;
      case tcInteger: std::memmove(pd, pa, 4); return 0;
      case tcString: std::memmove(pd, pa, static_cast<std::size_t>(pa[0]) + 1); return 0;
      default: break;
    }
  }
  AssignValue(MakeValue(types, pa, code.A.TypeCode, code.A.TypeIndex),
              MakeValue(types, pd, code.Dest.TypeCode, code.Dest.TypeIndex));
  return 0;
}

void AssignValue(const TSBValue& src, const TSBValue& dest) {
  if (!dest.Data || !src.Data) return;
  if (dest.TypeCode == tcUser) {
    if (src.TypeCode == tcUser) {
      const int32_t n = std::min(src.ElemSize, dest.ElemSize);
      if (n > 0) std::memmove(dest.Data, src.Data, static_cast<std::size_t>(n));
    }
    return;
  }
  if (src.TypeCode < tcSingle || src.TypeCode > tcDate) return;
  switch (dest.TypeCode) {
    case tcSingle:
    case tcDouble: SetValueFromDouble(dest, ValueAsDouble(src)); break;
    case tcInteger: SetValueFromInteger(dest, ValueAsInteger(src)); break;
    case tcString: SetValueFromString(dest, ValueAsString(src)); break;
    case tcDate: StoreDouble(dest.Data, ValueAsDate(src)); break;
    default: break;
  }
}
