// The mini-HTML renderer of the grid: markup of text runs with inline tags
// for style, colour, anchors, images, lists, paragraphs and embedded form
// controls ("<CONTROL" tags), drawn, measured and hit-tested by one entry
// point, and the text operations on such markup.
//
// Attribute values are quoted with double or single quotes. Entities are
// decoded once, left to right ("&amp;lt;" shows "&lt;"); text stays UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/ui/messages.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// ---- Form controls and markup text operations

struct THTMLControlTag {
  std::string Type;  // upper-cased
  std::string ID, Prop, Width;
  std::string Value;  // entities decoded
};

std::string EscapeControlValue(const std::string& Value);
std::string UnescapeControlValue(const std::string& Value);
// The value of NAME= in a tag (name without regard to case, its first
// occurrence), between the quote that follows and the next one of the same
// kind; empty when missing.
std::string TagAttribute(const std::string& Tag, const std::string& Name);
THTMLControlTag ParseControlTag(const std::string& Tag);
bool HasHTMLControl(const std::string& Text);
std::string NextHTMLEditControlID(const std::string& Text, const std::string& ID);
std::string GetHTMLControlProp(const std::string& Text, const std::string& ID);
bool SetHTMLControlValue(std::string& Text, const std::string& ID, const std::string& NewValue);
// One "*" per character.
std::string PasswordMask(const std::string& Text);
std::string HTMLToPlainText(const std::string& Text);
std::string StripHTMLTags(const std::string& Text);
// Wraps every occurrence of the search text in <Tag> and </Tag>; the search
// resumes directly after a match.
std::string HighlightHTMLText(const std::string& Text, const std::string& Search, const std::string& Tag,
                              bool CaseSensitive = false);
std::string RemoveHTMLTagPair(const std::string& Text, const std::string& Tag);
// The markup position (1-based) before which N - 1 plain characters lie.
int PlainToHTMLIndex(const std::string& Text, int N);

// ---- Markup helpers

TColor HTMLColorByName(const std::string& LowerName);
TColor HTMLHexColor(const std::string& Text);  // "#RRGGBB"
int HexPairValue(const std::string& Two);
int StrToIntPartial(const std::string& Text);
bool ReplaceFirstNoCase(std::string& Text, const std::string& Pattern, const std::string& Replacement);
// Named entities of the whole text, one pass ("&amp;", "&lt;", "&gt;" and
// "&nbsp;" are left for the runs); "<#" loses its brackets; line feeds go,
// carriage returns become "<BR>".
std::string PrepareHTMLText(const std::string& Text);
// The entities of one text run: "&amp;", "&lt;", "&gt;", "&nbsp;".
std::string DecodeRunEntities(const std::string& Run);
// A shell icon of a file name (or a system image index) drawn at the point;
// its size.
TSize DrawSystemIcon(TCanvas* Canvas, TPoint P, const std::string& Name, bool Small, bool Draw, bool Printing,
                     double ResFactor);

// ---- The entry point

// Draws, measures or hit-tests markup in a rectangle; true when the point
// lies on an anchor's text, an image inside an anchor, or an embedded
// control (always false with CalcOnly).
bool DrawHTMLText(TCanvas* Canvas, const std::string& Text, const TRect& Rect, TCustomImageList* Images, int X,
                  int Y, int FocusLink, int HoverLink, int ShadowOffset, bool CheckOnly, bool CalcOnly,
                  bool Printing, bool Selected, bool BlinkOn, bool HoverStyle, bool WordWrap, bool Down,
                  double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor, TColor ShadowColor,
                  std::string& AnchorVal, std::string& StripVal, std::string& FocusAnchor, std::string& AnchorTitle,
                  int& XSize, int& YSize, int& HyperLinks, int& MouseLink, TRect& HoverRect, TRect& ControlRect,
                  std::string& ControlID, std::string& ControlValue, std::string& ControlType,
                  THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND WindowHandle);

// The same with the results in one record, for callers that take few options.
struct THTMLDrawOptions {
  TCustomImageList* Images = nullptr;
  int X = -1, Y = -1;
  int FocusLink = -1, HoverLink = 0, ShadowOffset = 1;
  bool CheckOnly = false, CalcOnly = false, Printing = false, Selected = false, BlinkOn = true,
       HoverStyle = false, WordWrap = true, Down = false;
  double ResFactor = 1.0;
  TColor URLColor = clBlue, HoverColor = clNone, HoverFontColor = clNone, ShadowColor = clGray;
  THTMLPictureCache* PictureCache = nullptr;
  TPictureContainer* PictureContainer = nullptr;
  HWND WindowHandle = 0;
  std::string ControlID;  // in: the control to find with CheckOnly
};
struct THTMLDrawResult {
  bool Hit = false;
  std::string AnchorVal, StripVal, FocusAnchor, AnchorTitle;
  int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
  TRect HoverRect{}, ControlRect{};
  std::string ControlID, ControlValue, ControlType;
};
THTMLDrawResult DrawHTML(TCanvas* Canvas, const std::string& Text, const TRect& Rect, const THTMLDrawOptions& O);
