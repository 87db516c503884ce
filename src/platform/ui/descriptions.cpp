// Published properties of the classes below the component layer that stream
// as sub-objects of components: fonts, pens, brushes and string lists.
#include "platform/gfx/graphics.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"
#include "platform/ui/streaming.h"
#include "platform/ui/uitypes.h"

#include <cctype>

namespace {

const TEnumInfo kFontStyles{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0};
const TEnumInfo kFontPitch{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}, 0};
const TEnumInfo kPenStyles{"TPenStyle",
                           {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame",
                            "psUserStyle", "psAlternate"},
                           0};
const TEnumInfo kPenModes{"TPenMode",
                          {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                           "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                           "pmNotMask", "pmXor", "pmNotXor"},
                          0};
const TEnumInfo kBrushStyles{"TBrushStyle",
                             {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                              "bsCross", "bsDiagCross"},
                             0};

const TIdentMap kCharsets{
    [](int64_t v, std::string& s) {
      switch (v) {
        case ANSI_CHARSET: s = "ANSI_CHARSET"; return true;
        case DEFAULT_CHARSET: s = "DEFAULT_CHARSET"; return true;
        case SYMBOL_CHARSET: s = "SYMBOL_CHARSET"; return true;
        case OEM_CHARSET: s = "OEM_CHARSET"; return true;
        default: return false;
      }
    },
    [](const std::string& s, int64_t& v) {
      static const std::pair<const char*, int> names[] = {
          {"ANSI_CHARSET", ANSI_CHARSET}, {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"SYMBOL_CHARSET", SYMBOL_CHARSET},
          {"OEM_CHARSET", OEM_CHARSET}, {"EASTEUROPE_CHARSET", 238}, {"RUSSIAN_CHARSET", 204},
          {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"BALTIC_CHARSET", 186}, {"SHIFTJIS_CHARSET", 128}};
      for (auto& [n, c] : names)
        if (SameIdent(s, n)) {
          v = c;
          return true;
        }
      return false;
    }};

void DeclareFont(TClassInfo& c) {
  c.Integer<TFont>("Charset", &TFont::Charset, [](TFont* f, int v) { f->SetCharset(static_cast<TFontCharset>(v)); })
      .WithIdents(&kCharsets);
  c.Integer<TFont>("Color", &TFont::Color, &TFont::SetColor, clWindowText).WithIdents(&ColorIdents());
  c.Integer<TFont>("Height", &TFont::Height, &TFont::SetHeight);
  c.String<TFont>("Name", [](TFont* f) { return f->Name(); }, &TFont::SetName);
  c.Enum<TFont>("Pitch", kFontPitch, &TFont::Pitch, &TFont::SetPitch, fpDefault);
  c.Integer<TFont>("Size", &TFont::Size, &TFont::SetSize).WithStored([](TObject*) { return false; });
  c.Set<TFont>("Style", kFontStyles, [](TFont* f) { return static_cast<uint64_t>(f->Style().Bits()); },
               [](TFont* f, uint64_t v) { f->SetStyle(TFontStyles::FromBits(static_cast<uint32_t>(v))); }, 0);
}

void DeclarePen(TClassInfo& c) {
  c.Integer<TPen>("Color", &TPen::Color, &TPen::SetColor, clBlack).WithIdents(&ColorIdents());
  c.Enum<TPen>("Mode", kPenModes, &TPen::Mode, &TPen::SetMode, pmCopy);
  c.Enum<TPen>("Style", kPenStyles, &TPen::Style, &TPen::SetStyle, psSolid);
  c.Integer<TPen>("Width", &TPen::Width, &TPen::SetWidth, 1);
}

void DeclareBrush(TClassInfo& c) {
  c.Integer<TBrush>("Color", &TBrush::Color, &TBrush::SetColor, clWhite).WithIdents(&ColorIdents());
  c.Enum<TBrush>("Style", kBrushStyles, &TBrush::Style, &TBrush::SetStyle, bsSolid);
}

void DefineStrings(TObject* instance, TFiler* filer) {
  auto* strings = static_cast<TStrings*>(instance);
  filer->DefineProperty(
      "Strings",
      [strings](TReader* r) {
        r->ReadListBegin();
        strings->BeginUpdate();
        try {
          strings->Clear();
          while (!r->EndOfList()) strings->Add(r->ReadString());
        } catch (...) {
          strings->EndUpdate();
          throw;
        }
        strings->EndUpdate();
        r->ReadListEnd();
      },
      [strings](TWriter* w) {
        w->WriteListBegin();
        for (int i = 0; i < strings->Count(); ++i) w->WriteString(strings->Strings(i));
        w->WriteListEnd();
      },
      strings->Count() > 0);
}

}  // namespace

const TEnumInfo& FontStylesEnumInfo() { return kFontStyles; }
const TEnumInfo& PenStyleEnumInfo() { return kPenStyles; }
const TEnumInfo& PenModeEnumInfo() { return kPenModes; }
const TEnumInfo& BrushStyleEnumInfo() { return kBrushStyles; }

const TIdentMap& ColorIdents() {
  static const TIdentMap m{[](int64_t v, std::string& s) { return ColorToIdent(static_cast<TColor>(v), s); },
                           [](const std::string& s, int64_t& v) {
                             TColor c;
                             if (!IdentToColor(s, c)) return false;
                             v = c;
                             return true;
                           }};
  return m;
}

void RegisterStandardDescriptions() {
  TClassInfo& font = RegisterForeignClass<TFont>("TFont", nullptr, &DeclareFont);
  (void)font;
  RegisterForeignClass<TPen>("TPen", nullptr, &DeclarePen);
  RegisterForeignClass<TBrush>("TBrush", nullptr, &DeclareBrush);
  TClassInfo& strings = RegisterForeignClass<TStringList>("TStringList", nullptr, nullptr);
  strings.DefineProperties = &DefineStrings;
}

const TClassInfo* DescribeByBase(const TObject* instance) {
  if (dynamic_cast<const TStrings*>(instance)) return &RegisterForeignClass<TStringList>("TStringList", nullptr, nullptr);
  if (dynamic_cast<const TFont*>(instance)) return &RegisterForeignClass<TFont>("TFont", nullptr, &DeclareFont);
  if (dynamic_cast<const TPen*>(instance)) return &RegisterForeignClass<TPen>("TPen", nullptr, &DeclarePen);
  if (dynamic_cast<const TBrush*>(instance)) return &RegisterForeignClass<TBrush>("TBrush", nullptr, &DeclareBrush);
  return nullptr;
}

bool SameIdent(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

namespace {
const std::pair<TCursor, const char*> kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},         {crArrow, "crArrow"},       {crCross, "crCross"},
    {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},       {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},     {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},     {crNo, "crNo"},             {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}};
}  // namespace

bool CursorToIdent(TCursor cursor, std::string& ident) {
  for (auto& [c, n] : kCursorNames)
    if (c == cursor) {
      ident = n;
      return true;
    }
  return false;
}

bool IdentToCursor(const std::string& ident, TCursor& cursor) {
  for (auto& [c, n] : kCursorNames)
    if (SameIdent(ident, n)) {
      cursor = c;
      return true;
    }
  return false;
}

const TIdentMap& CursorIdents() {
  static const TIdentMap m{[](int64_t v, std::string& s) { return CursorToIdent(static_cast<TCursor>(v), s); },
                           [](const std::string& s, int64_t& v) {
                             TCursor c;
                             if (!IdentToCursor(s, c)) return false;
                             v = c;
                             return true;
                           }};
  return m;
}

const TEnumInfo& AlignEnumInfo() {
  static const TEnumInfo e{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}, 0};
  return e;
}
const TEnumInfo& AnchorsEnumInfo() {
  static const TEnumInfo e{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}, 0};
  return e;
}
const TEnumInfo& BevelCutEnumInfo() {
  static const TEnumInfo e{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, 0};
  return e;
}
const TEnumInfo& AlignmentEnumInfo() {
  static const TEnumInfo e{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, 0};
  return e;
}
const TEnumInfo& BorderStyleEnumInfo() {
  static const TEnumInfo e{
      "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}, 0};
  return e;
}
const TEnumInfo& MouseButtonEnumInfo() {
  static const TEnumInfo e{"TMouseButton", {"mbLeft", "mbRight", "mbMiddle"}, 0};
  return e;
}
const TEnumInfo& ShiftStateEnumInfo() {
  static const TEnumInfo e{"TShiftStateItem", {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}, 0};
  return e;
}
