// Free routines of the grid: kinds of cell texts and the wide-text cell form,
// number and date tests, URLs and cell references, line breaks and quotes of
// delimited text, small string routines, and the filter-condition matcher.
//
// Texts are byte strings; positions are 1-based and 0 means "not found". The
// separators and the short date format are read from FormatSettings at every
// call.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/colors.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/grids.h"

// ---- Cell text kinds and wide text

enum TCellTextKind { ckPlain = 0, ckHTML = 1, ckRTF = 2, ckFormula = 3, ckUnicode = 5 };

TCellTextKind GetCellTextKind(const std::string& Text, bool HTMLEnabled);
// "|\" followed by the UTF-16 units, high byte first. Any other text is
// taken as UTF-8.
std::u16string DecodeWideCellText(const std::string& Text);
std::string EncodeWideCellText(const std::u16string& Text);
int WidePos(const std::u16string& Sub, const std::u16string& S);
// Null when either is null, the substring is empty or longer than the text.
const char16_t* WideStrPos(const char16_t* S, const char16_t* Sub);

// ---- Numbers and small values

// 0 integer, 1 decimal number with the locale's separators, 5 number with an
// exponent, 2 anything else.
int ClassifyNumberText(const std::string& Text);
// The numeric part with "." as the decimal point ("(12)" gives "-12").
std::string ExtractNumberText(const std::string& Text);
int LimitValue(int Value, int Lower, int Upper);
int MaxOf(int A, int B);
int MinOf(int A, int B);
TColor DimColor(TColor Color);
bool CellInGridRect(const TGridRect& R, int ACol, int ARow);

// ---- Dates

// Day, month and year fields split at "/", "." or "-"; 0 when the text does
// not parse; EConvertError when the fields make no date. A year written with
// one or two digits gets its century (0..25: 20xx, 26..99: 19xx).
TDateTime ParseMDYDate(const std::string& Text);
TDateTime ParseDMYDate(const std::string& Text);
bool IsDateText(const std::string& Text);
// Steps a date by the differences of two sample dates: only days, only years
// or only months (wrapping over years) by their steps, anything else by the
// plain increment. EConvertError when a year or month step lands on a day the
// month lacks.
TDateTime StepDate(int YearStep, int MonthStep, int DayStep, double Increment, TDateTime Date);

// ---- URLs and cell references

bool IsURL(const std::string& Text);
void StripURLPrefix(std::string& Text);
bool ParseRCCellRef(const std::string& Text, int& ACol, int& ARow);

// ---- Line breaks, quotes and delimited text

std::string EncodeLineBreaks(const std::string& Text);
std::string DecodeLineBreaks(const std::string& Text, bool KeepAll);
std::string CutFirstLine(std::string& Text, bool KeepRest);
int CountTextLines(const std::string& Text, bool MultiLineCells);
void QuoteMultiline(std::string& Text);
void RestoreVTLineBreaks(std::string& Text);
void TildeToLineBreaks(std::string& Text);
std::string UnescapeNewlines(const std::string& Text);
std::string RemoveCR(const std::string& Text);
std::string StripCR(const std::string& Text);
int FindClosingQuote(char Quote, const std::string& Text, int& Position);
int CountClosingQuotes(char Quote, const std::string& Text);
std::string StripAccelChar(char Marker, const std::string& Text);

// ---- Other string routines

int FindSubstring(const std::string& Sub, const std::string& Text, int& Position);
int FindCharIndex(char Ch, const std::string& Text, int& Position);
int CharIndex(char Ch, const std::string& Text);
int UpperPos(const std::string& Sub, const std::string& Text);
std::string CutToDelimiter(std::string& Text, const std::string& Delimiter);
int CountChar(char Ch, const std::string& Text);
// One mask character per character of the text (not per byte).
void MaskString(std::string& Text, char Ch);
// OEM (CP850) text to the program's text.
void OemToAnsiString(std::string& Text);
std::string CapitalizeName(const std::string& Text);
char LowerCaseASCII(char Ch);

// ---- Filter conditions
// A condition such as ">=10&<=20", "!x" or "<1/2/2007" matched against one
// cell text: numbers, then dates in the short date format, then text;
// wildcards "*" and "?", escape "\", negation "!", joined left to right by
// "&" (and) and "|", ";", "^" (or).

bool MatchCondition(const std::string& Condition, const std::string& Value, bool CaseSensitive);
bool MatchConditionPart(const std::string& Condition, const std::string& Value, bool CaseSensitive);
bool MatchPattern(const std::string& Pattern, const std::string& Value);
std::string RemoveBlanksOutsideQuotes(const std::string& Text);
// The first character of the set with an even number of double quotes before
// it, with its 0-based position; 0 and -1 when none.
char FindUnquotedDelimiter(const std::string& Set, const std::string& Text, int& Position);
std::string NormalizeNumberText(const std::string& Text);
bool ParseLocaleDate(const std::string& Text, TDateTime& Date);

// ---- Cell drawing routines
// Small things drawn into a cell. They change the canvas's brush, pen and
// font colours as they go and do not restore them unless said so.

class TCanvas;
class TBitmap;
class TWinControl;

// The bitmap at the rectangle's top-left at its own size, its top-left
// pixel's colour replaced by the background colour.
void DrawBitmapOnColor(TCanvas* Canvas, TBitmap* Bitmap, TColor BkColor, const TRect& R);
// The named bitmap resource drawn as DrawBitmapOnColor does; nothing for an unknown name.
void DrawResourceBitmap(TCanvas* Canvas, TColor BkColor, const TRect& R, const std::string& Name);
// A red zig-zag (pen 2) under characters First .. First + Count - 1 (0-based)
// of the text as a single-line edit box of R's size lays it out.
void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const std::string& Text, const TRect& R,
                        int VOffset, int First, int Count);
// A bar from the middle of R (shrunk by 2) to the left for negative values,
// to the right for positive ones, of Value / Maximum of the half width; the
// value is limited to +-Maximum. Maximum 0 draws no bar.
void DrawRangeBar(TCanvas* Canvas, const TRect& R, int Value, TColor PosColor, TColor NegColor, bool ShowValue,
                  int Maximum);
// A progress bar with its text; the done part is (Value - Min) * 100 /
// (Max - Min) percent, limited to 0..100 (0 when Max = Min).
void DrawProgressBar(TCanvas* Canvas, const TRect& R, TColor DoneColor, TColor DoneFontColor, TColor RestColor,
                     TColor RestFontColor, TColor BorderColor, const std::string& FormatText, double Value,
                     int Min, int Max, int HMargin, int VMargin, bool TextAbove);
// A pie of the percentage, clockwise from 12 o'clock, in FillColor.
void DrawProgressPie(TCanvas* Canvas, const TRect& R, TColor FillColor, bool FloodAbove, int Percent);
// A gradient in Steps bands (0 counts as 1); Color2 clNone fills in Color1.
void FillGradientRect(TCanvas* Canvas, TColor Color1, TColor Color2, bool Horizontal, const TRect& R, int Steps);
// The colour at Position of a gradient over RangeStart .. RangeEnd (the
// position is not offset by the start). An empty range gives Color1.
TColor GradientColorAt(TColor Color1, TColor Color2, int RangeStart, int Position, int RangeEnd);
// The drop-down button of a combo cell at R's right edge.
void DrawComboButton(TCanvas* Canvas, HWND Window, const TRect& R, bool Themed);
// The window system's layered-window calls, looked up by name at each call;
// true when the function is not available.
bool CallUpdateLayeredWindow(HWND Window, TCanvas* DestDC, const TPoint* Position, const TSize* Size,
                             TCanvas* SourceDC, const TPoint* SourcePosition, TColor ColorKey,
                             const TBlendFunction* Blend, unsigned Flags);
bool CallSetLayeredWindowAttributes(HWND Window, TColor ColorKey, uint8_t Alpha, unsigned Flags);
