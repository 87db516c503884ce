#include "chart/core/grafconst.h"

std::string NativeExtension = "grf";

#define ZV_GRAF_DEFINE_TEXT(Name, Literal) std::string Name;
ZV_GRAF_BASE_TEXTS(ZV_GRAF_DEFINE_TEXT)
ZV_GRAF_EXTRA_TEXTS(ZV_GRAF_DEFINE_TEXT)
#undef ZV_GRAF_DEFINE_TEXT

std::string GrafMsgInvalidNativeFile;
std::string GrafMsgWrongNativeFormat;
std::string GrafMsgEmptyNativeFile;
std::string GrafMsgNativeFilter;
std::string GrafMsgLibraryNotice;

std::string NativeFilterFragment() { return "(*." + NativeExtension + ")|*." + NativeExtension; }

void SetLibraryTexts() {
#define ZV_GRAF_ASSIGN_TEXT(Name, Literal) Name = Literal;
  ZV_GRAF_BASE_TEXTS(ZV_GRAF_ASSIGN_TEXT)
#undef ZV_GRAF_ASSIGN_TEXT
  GrafMsgInvalidNativeFile = "Invalid Chart in *." + NativeExtension + " file";
  GrafMsgWrongNativeFormat = "Wrong *." + NativeExtension + " file format";
  GrafMsgEmptyNativeFile = "Empty *." + NativeExtension + " file";
  GrafMsgNativeFilter = "GrafChart files " + NativeFilterFragment();
  GrafMsgLibraryNotice = "GrafChart charting library, part of Zelvora";
}

void SetExtraLibraryTexts() {
#define ZV_GRAF_ASSIGN_TEXT(Name, Literal) Name = Literal;
  ZV_GRAF_EXTRA_TEXTS(ZV_GRAF_ASSIGN_TEXT)
#undef ZV_GRAF_ASSIGN_TEXT
}

void ReleaseLibraryTexts() {
#define ZV_GRAF_CLEAR_TEXT(Name, Literal) Name.clear();
  ZV_GRAF_BASE_TEXTS(ZV_GRAF_CLEAR_TEXT)
  ZV_GRAF_EXTRA_TEXTS(ZV_GRAF_CLEAR_TEXT)
#undef ZV_GRAF_CLEAR_TEXT
  GrafMsgInvalidNativeFile.clear();
  GrafMsgWrongNativeFormat.clear();
  GrafMsgEmptyNativeFile.clear();
  GrafMsgNativeFilter.clear();
  GrafMsgLibraryNotice.clear();
  NativeExtension.clear();
}
