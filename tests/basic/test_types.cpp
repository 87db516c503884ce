// Type codes, typed values, the day-number calendar, operator rules, error
// texts and the data classes with their stream records.
#include <gtest/gtest.h>

#include "basic/sbasic.h"
#include "basic/sberrors.h"
#include "platform/rtl/datetime.h"

namespace {

TEST(Calendar, DaysInMonthCountsEveryFourthYearAsLeap) {
  EXPECT_EQ(DaysInMonth(1900, 2), 29);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2001, 2), 28);
  EXPECT_EQ(DaysInMonth(2001, 4), 30);
  EXPECT_EQ(DaysInMonth(2001, 12), 31);
  EXPECT_EQ(DaysInMonth(2001, 13), 0);
}

TEST(Calendar, DayNumbers) {
  EXPECT_EQ(DateToDayNumber(EncodeDate(1, 1, 1)), 1);
  EXPECT_EQ(DateToDayNumber(EncodeDate(1, 3, 1)), 60);
  EXPECT_EQ(DateToDayNumber(EncodeDate(2, 1, 1)), 366);
  EXPECT_EQ(DayNumberToDate(1), EncodeDate(1, 1, 1));
  EXPECT_EQ(DayNumberToDate(366), EncodeDate(2, 1, 1));
  // The time of day does not count.
  EXPECT_EQ(DateToDayNumber(EncodeDate(2024, 5, 6) + 0.75), DateToDayNumber(EncodeDate(2024, 5, 6)));
}

TEST(Calendar, EveryDateRoundTripsBetween1March1900And2100) {
  const double first = EncodeDate(1900, 3, 1), last = EncodeDate(2100, 2, 28);
  const int32_t base = DateToDayNumber(first);
  for (double d = first; d <= last; d += 1) {
    const int32_t n = DateToDayNumber(d);
    ASSERT_EQ(n, base + static_cast<int32_t>(d - first)) << d;
    ASSERT_EQ(DayNumberToDate(n), d) << n;
  }
}

TEST(Calendar, DatesOutsideTheCalendar) {
  // 29 February 1900 exists in the day numbers but not in the calendar.
  const int32_t feb28 = DateToDayNumber(EncodeDate(1900, 2, 28));
  EXPECT_THROW(DayNumberToDate(feb28 + 1), ESBRunError);
  EXPECT_EQ(DayNumberToDate(feb28 + 2), EncodeDate(1900, 3, 1));
  EXPECT_THROW(DayNumberToDate(DateToDayNumber(EncodeDate(9999, 12, 31)) + 1), ESBRunError);
  EXPECT_THROW(DateToDayNumber(1e300), ESBRunError);
  EXPECT_THROW(DateToDayNumber(std::numeric_limits<double>::quiet_NaN()), ESBRunError);
  // Day numbers of 0 and below come back as themselves.
  for (int32_t n : {0, -1, -400, -3000000}) EXPECT_EQ(DateToDayNumber(DayNumberToDate(n)), n) << n;
}

TEST(TypeCodes, SizesAndValidity) {
  const char codes[] = {tcSingle, tcInteger, tcDouble, tcString, tcDate, '5', tcUser, 'x'};
  const int sizes[] = {4, 4, 8, 256, 8, 0, 0, 0};
  for (std::size_t i = 0; i < sizeof codes; ++i) EXPECT_EQ(TypeCodeSize(codes[i]), sizes[i]) << codes[i];
  EXPECT_TRUE(IsValidTypeCode(tcUser));
  EXPECT_FALSE(IsValidTypeCode('5'));
  EXPECT_TRUE(IsNumericCode(tcDouble));
  EXPECT_FALSE(IsNumericCode(tcDate));
  TSBasic b;
  EXPECT_EQ(ElementSize(b.TypeList(), tcUser, 99), 0);
  EXPECT_EQ(ElementSize(b.TypeList(), tcString, 0), 256);
}

TEST(TypeCodes, OperatorRules) {
  EXPECT_EQ(ResultTypeCode(opAdd, tcInteger, tcSingle), tcSingle);
  EXPECT_EQ(ResultTypeCode(opAdd, tcInteger, tcInteger), tcInteger);
  EXPECT_EQ(ResultTypeCode(opMul, tcSingle, tcDouble), tcDouble);
  EXPECT_EQ(ResultTypeCode(opAdd, tcDate, tcInteger), tcDate);
  EXPECT_EQ(ResultTypeCode(opAdd, tcString, tcString), tcString);
  EXPECT_EQ(ResultTypeCode(opAdd, tcString, tcInteger), tcNone);
  EXPECT_EQ(ResultTypeCode(opLess, tcString, tcString), tcInteger);
  EXPECT_EQ(ResultTypeCode(opAdd, tcUser, tcUser), tcNone);
  EXPECT_FALSE(OperandsCompatible(opSub, tcString, tcString));
  EXPECT_TRUE(OperandsCompatible(opAdd, tcString, tcString));
  EXPECT_FALSE(OperandsCompatible(opMul, tcDate, tcInteger));
  EXPECT_TRUE(OperandsCompatible(opSub, tcDate, tcInteger));
  EXPECT_FALSE(OperandsCompatible(opEqual, tcString, tcInteger));
  EXPECT_FALSE(OperandsCompatible(opAnd, tcDouble, tcUser));
  EXPECT_FALSE(OperandsCompatible(99, tcInteger, tcInteger));
}

// Storage for typed values in the conversion tests.
struct TCell {
  uint8_t Bytes[256] = {};
  TSBValue Of(char code) { return TSBValue{Bytes, code, -1, TypeCodeSize(code)}; }
};

TEST(TypedValues, Conversions) {
  TCell c;
  StoreSingle(c.Bytes, 2.5f);
  EXPECT_EQ(ValueAsInteger(c.Of(tcSingle)), 2);
  StoreSingle(c.Bytes, 3.5f);
  EXPECT_EQ(ValueAsInteger(c.Of(tcSingle)), 4);
  StoreDouble(c.Bytes, 1e20);
  EXPECT_EQ(ValueAsInteger(c.Of(tcDouble)), 2147483647);
  StoreInt32(c.Bytes, 7);
  EXPECT_EQ(ValueAsString(c.Of(tcInteger)), "");
  SetValueFromString(c.Of(tcInteger), "12");
  EXPECT_EQ(LoadInt32(c.Bytes), 7);
  StoreShortString(c.Bytes, "42");
  EXPECT_EQ(ValueAsDouble(c.Of(tcString)), 0.0);
  EXPECT_EQ(ValueAsString(c.Of(tcString)), "42");
  SetValueFromDouble(c.Of(tcInteger), 2.5);
  EXPECT_EQ(LoadInt32(c.Bytes), 2);
  SetValueFromDouble(c.Of(tcDate), 366.4);
  EXPECT_EQ(LoadDouble(c.Bytes), EncodeDate(2, 1, 1));
  EXPECT_EQ(ValueAsInteger(c.Of(tcDate)), 366);
  SetValueFromString(c.Of(tcString), std::string(300, 'x'));
  EXPECT_EQ(ValueAsString(c.Of(tcString)).size(), 255u);
  EXPECT_EQ(ValueAsInteger(TSBValue{nullptr, tcInteger, -1, 4}), 0);
  SetValueFromInteger(TSBValue{nullptr, tcInteger, -1, 4}, 5);  // no storage: nothing happens
}

TEST(TypedValues, TextIsNeverCutInsideACharacter) {
  std::string s(254, 'a');
  s += "\xC3\xA4";  // a two-byte character over the 255th byte
  EXPECT_EQ(CutText(s), std::string(254, 'a'));
  EXPECT_EQ(CutText(std::string(300, 'b')).size(), 255u);
}

TEST(Lookups, TypesAndFunctions) {
  TSBasic b;
  TSBTypeList& types = b.TypeList();
  EXPECT_EQ(FindTypeIndex(types, " integer "), btInteger);
  types.push_back(std::make_unique<TSBType>("INTEGER", nullptr, &b.FunctionList(), &types, tcUser));
  types.back()->Index = 7;
  EXPECT_EQ(FindTypeIndex(types, "INTEGER"), btInteger);
  EXPECT_EQ(FindType(types, "INTEGER"), types.back().get());
  EXPECT_EQ(FindType(types, "NOTHING"), nullptr);
  EXPECT_EQ(TypeAt(types, -1), nullptr);
  EXPECT_EQ(TypeAt(types, 8), nullptr);
  EXPECT_EQ(FindFunctionIndex(b.FunctionList(), "SQRT", -1), 4);
  EXPECT_EQ(FindFunctionIndex(b.FunctionList(), "SQRT", 3), -1);
  EXPECT_EQ(FindIndexByName(b.FunctionList(), "sqrt"), -1);  // exact
  types.pop_back();
}

TEST(ErrorTexts, Table) {
  const struct {
    int Code;
    const char* Name;
    const char* Text;
  } cases[] = {
      {0, "", "Syntax error"},
      {1, "", "Invalid symbol"},
      {9, "", "Invalid statement"},
      {150, "", "Invalid statement"},
      {199, "", "Syntax error"},
      {200, "", "Syntax error"},
      {201, "", "Incompatible types"},
      {202, "", "Invalid parameter"},
      {204, "", "Incompatible parameter type"},
      {206, "", "Wrong number of parameters"},
      {208, "X", "'X' is not an array"},
      {212, "X", "Duplicate name 'X'"},
      {213, "", "Syntax error"},
      {215, "", "Unknown identifier ''"},
      {301, "", "Range check error"},
      {302, "", "Invalid parameter"},
      {306, "X", "Invalid pointer"},
      {307, "", "Range check error"},
      {308, "", "Run-time error"},
      {310, "", "Too many cycles"},
      {320, "", "Invalid command"},
      {400, "", "Run-time error"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorText(c.Code, c.Name), c.Text) << c.Code;
  EXPECT_EQ(ErrorText(212, std::string(300, 'n')).size(), 255u);
}

// ---- Data classes -----------------------------------------------------------------------

TEST(DataClasses, NamesAreCutTo35) {
  TSBasic b;
  const std::string name(40, 'N');
  TSBField f(name, 1, nullptr);
  TSBType t(name, nullptr, &b.FunctionList(), &b.TypeList(), tcUser);
  TSBVar v(&b.TypeList(), TypeAt(b.TypeList(), btInteger), 1, false);
  EXPECT_EQ(f.Name, name.substr(0, 35));
  EXPECT_EQ(t.Name, name.substr(0, 35));
  TSBCodeList& code = b.Code();
  EXPECT_EQ(code.Variables[code.AddVariable(name, 1, false, btInteger)]->Name, name.substr(0, 35));
}

TEST(DataClasses, VariableElements) {
  TSBasic b;
  TSBVar v(&b.TypeList(), TypeAt(b.TypeList(), btInteger), 0, false);
  EXPECT_EQ(v.Dimension, 1);
  TSBVar a(&b.TypeList(), TypeAt(b.TypeList(), btDouble), 3, false);
  EXPECT_EQ(a.Size, 24);
  EXPECT_EQ(a.ElementAddress(2), a.Data + 16);
  EXPECT_EQ(a.ElementAddress(3), a.Data);
  EXPECT_EQ(a.ElementAddress(-1), a.Data);
  a.SetDouble(2, 1.5);
  EXPECT_EQ(LoadDouble(a.Data + 16), 1.5);
  TSBVar r(&b.TypeList(), TypeAt(b.TypeList(), btInteger), 1, true);
  EXPECT_EQ(r.Data, nullptr);
  EXPECT_EQ(r.GetInt(0), 0);
  TSBWriter w;
  r.WriteTo(w);
  EXPECT_EQ(w.Data().back(), '\0');  // the data flag: no data bytes follow
}

TEST(DataClasses, FieldsOffsetsAndDerivedTypes) {
  TSBasic b;
  TSBTypeList& types = b.TypeList();
  TSBType t("T", nullptr, &b.FunctionList(), &types, tcUser);
  t.Size = 0;
  t.AddField(TSBField("A", 3, TypeAt(types, btInteger)));
  t.AddField(TSBField("B", 1, TypeAt(types, btDouble)));
  t.AddField(TSBField("C", 1, TypeAt(types, btString)));
  EXPECT_EQ(t.Size, 12 + 8 + 256);
  EXPECT_EQ(t.FieldOffset("C"), 20);
  EXPECT_EQ(t.FieldOffset("Z"), 0);
  EXPECT_EQ(t.FieldType("B"), TypeAt(types, btDouble));
  TSBType d("D", &t, &b.FunctionList(), &types, tcUser);
  EXPECT_EQ(d.Size, t.Size);
  EXPECT_EQ(d.Fields.size(), 3u);
  d.AddField(TSBField("E", 2, TypeAt(types, btInteger)));
  EXPECT_EQ(d.Size, t.Size + 8);
}

TEST(DataClasses, LabelsFindTheLastOfAName) {
  TSBLabel labels;
  labels.Add("A", 3);
  labels.Add("A", 9);
  TSBLabel::TEntry e;
  EXPECT_EQ(labels.Find("A", &e), 1);
  EXPECT_EQ(e.CodeIndex, 9);
  EXPECT_EQ(labels.Find("B"), -1);
}

TEST(DataClasses, RecordSizes) {
  TSBWriter w;
  TSBReg().WriteTo(w);
  EXPECT_EQ(w.Data().size(), 18u);
  TSBWriter c;
  TSBCode().WriteTo(c);
  EXPECT_EQ(c.Data().size(), 84u);
}

TEST(DataClasses, ReaderRefusesWhatCannotFit) {
  TSBWriter w;
  w.WriteInt(1000);  // a count of 84-byte records in a 4-byte stream
  TSBReader r(w.Data());
  EXPECT_THROW(r.ReadCount(84), EReadError);
  TSBReader empty(std::string_view{});
  EXPECT_THROW(empty.ReadByte(), EReadError);
  TSBWriter s;
  s.WriteByte(40);
  s.WriteBytes(std::string(40, 'x').data(), 40);
  TSBReader names(s.Data());
  EXPECT_THROW(names.ReadShortString(NameMax), EReadError);
}

TEST(DataClasses, StackPopsCopies) {
  TSBStack s;
  EXPECT_FALSE(s.Pop(true).has_value());
  TSBCode c;
  c.Index = 4;
  s.Push(c);
  EXPECT_EQ(s.Pop(false)->Index, 4);
  EXPECT_EQ(s.Items.size(), 1u);
  EXPECT_EQ(s.Pop(true)->Index, 4);
  EXPECT_TRUE(s.Items.empty());
}

}  // namespace
