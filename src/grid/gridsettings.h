// The string grid's small settings objects, published as nested properties
// (CellNode, SizeWhileTyping, MouseActions, ColumnSize, Navigation,
// HTMLSettings, PrintSettings). Setters store; the few that change what is
// shown repaint the owning grid.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"
#include "platform/ui/controls.h"

class TPlusStringGrid;
class TIntList;

#define ZV_SETTING(Type, Name)          \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) { F##Name = v; }

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode : public TPersistent {
  ZV_CLASS(TCellNode)
public:
  explicit TCellNode(TPlusStringGrid* AGrid = nullptr);
  void Assign(TPersistent* Source) override;
  ZV_SETTING(TColor, Color)
  ZV_SETTING(bool, ExpandOne)
  ZV_SETTING(TColor, NodeColor)
  TNodeType NodeType() const { return FNodeType; }
  void SetNodeType(TNodeType v);
  int NodeIndent() const { return FNodeIndent; }
  void SetNodeIndent(int v);
  bool ShowTree() const { return FShowTree; }
  void SetShowTree(bool v);
  bool ShowTreeFull() const { return FShowTreeFull; }
  void SetShowTreeFull(bool v);
  TColor TreeColor() const { return FTreeColor; }
  void SetTreeColor(TColor v);
  TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
  void SetExpandGlyph(TBitmap* v);
  TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
  void SetContractGlyph(TBitmap* v);

private:
  void Repaint();
  TPlusStringGrid* FGrid;
  TColor FColor = 0xC0C0C0;
  bool FExpandOne = false;
  TNodeType FNodeType = cnXP;
  TColor FNodeColor = clBlack;
  int FNodeIndent = 12;
  std::unique_ptr<TBitmap> FExpandGlyph, FContractGlyph;
  bool FShowTree = true, FShowTreeFull = true;
  TColor FTreeColor = clGray;
};

class TSizeWhileTyping : public TPersistent {
  ZV_CLASS(TSizeWhileTyping)
public:
  ZV_SETTING(bool, Height)
  ZV_SETTING(bool, Width)

private:
  bool FHeight = false, FWidth = false;
};

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TWheelAction { waMoveSelection, waScroll };

class TMouseActions : public TPersistent {
  ZV_CLASS(TMouseActions)
public:
  explicit TMouseActions(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  // Copies every setting but HotmailRowSelect and SizeFixedRow.
  void Assign(TPersistent* Source) override;
  ZV_SETTING(bool, AllColumnSize)
  ZV_SETTING(bool, AllRowSize)
  ZV_SETTING(bool, AllSelect)
  ZV_SETTING(bool, AutoSizeColOnDblClick)
  ZV_SETTING(bool, CaretPositioning)
  ZV_SETTING(bool, CheckAllCheck)
  ZV_SETTING(bool, ColSelect)
  ZV_SETTING(bool, DirectComboDrop)
  ZV_SETTING(bool, DirectDateDrop)
  ZV_SETTING(bool, DirectEdit)
  bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
  void SetDisjunctRowSelect(bool v);
  bool DisjunctColSelect() const { return FDisjunctColSelect; }
  void SetDisjunctColSelect(bool v);
  bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
  void SetDisjunctCellSelect(bool v);
  ZV_SETTING(TGridFixedCellEdit, FixedRowsEdit)
  ZV_SETTING(TGridFixedCellEdit, FixedColsEdit)
  bool HotmailRowSelect() const { return FHotmailRowSelect; }
  void SetHotmailRowSelect(bool v);
  ZV_SETTING(bool, MoveRowOnNodeClick)
  ZV_SETTING(bool, NoAutoRangeScroll)
  ZV_SETTING(bool, NodeAllExpandContract)
  ZV_SETTING(bool, NoScrollOnPartialRow)
  ZV_SETTING(bool, PreciseCheckBoxCheck)
  ZV_SETTING(bool, RangeSelectAndEdit)
  ZV_SETTING(bool, RowSelect)
  ZV_SETTING(bool, RowSelectPersistent)
  ZV_SETTING(bool, SelectOnRightClick)
  ZV_SETTING(bool, SizeFixedCol)
  ZV_SETTING(bool, SizeFixedRow)
  ZV_SETTING(int, WheelIncrement)
  ZV_SETTING(TWheelAction, WheelAction)

private:
  bool Designing() const;
  TPlusStringGrid* FGrid;
  bool FAllColumnSize = false, FAllRowSize = false, FAllSelect = false, FAutoSizeColOnDblClick = true,
       FCaretPositioning = false, FCheckAllCheck = false, FColSelect = false, FDirectComboDrop = false,
       FDirectDateDrop = false, FDirectEdit = false, FDisjunctRowSelect = false, FDisjunctColSelect = false,
       FDisjunctCellSelect = false;
  TGridFixedCellEdit FFixedRowsEdit = fceNone, FFixedColsEdit = fceNone;
  bool FHotmailRowSelect = false, FMoveRowOnNodeClick = false, FNoAutoRangeScroll = false,
       FNodeAllExpandContract = false, FNoScrollOnPartialRow = false, FPreciseCheckBoxCheck = false,
       FRangeSelectAndEdit = false, FRowSelect = false, FRowSelectPersistent = false, FSelectOnRightClick = false,
       FSizeFixedCol = false, FSizeFixedRow = false;
  int FWheelIncrement = 0;
  TWheelAction FWheelAction = waMoveSelection;
};

enum TColumnSizeLocation { clRegistry, clIniFile };

class TColumnSize : public TPersistent {
  ZV_CLASS(TColumnSize)
public:
  explicit TColumnSize(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  ZV_SETTING(bool, Save)
  ZV_SETTING(std::string, Key)
  ZV_SETTING(std::string, Section)
  // Stretches at once when the grid has a parent.
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  ZV_SETTING(int, StretchColumn)
  ZV_SETTING(bool, SynchWithGrid)
  ZV_SETTING(TColumnSizeLocation, Location)

private:
  TPlusStringGrid* FGrid;
  bool FSave = false;
  std::string FKey, FSection;
  bool FStretch = false;
  int FStretchColumn = -1;
  bool FSynchWithGrid = false;
  TColumnSizeLocation FLocation = clRegistry;
};

enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow };

class TNavigation : public TPersistent {
  ZV_CLASS(TNavigation)
public:
  void Assign(TPersistent* Source) override;
  ZV_SETTING(bool, AllowInsertRow)
  ZV_SETTING(bool, AllowDeleteRow)
  ZV_SETTING(bool, AlwaysEdit)
  ZV_SETTING(bool, AdvanceOnEnter)
  ZV_SETTING(bool, AdvanceInsert)
  ZV_SETTING(bool, AutoGotoWhenSorted)
  ZV_SETTING(bool, AutoGotoIncremental)
  ZV_SETTING(bool, AutoComboDropSize)
  ZV_SETTING(TAdvanceDirection, AdvanceDirection)
  ZV_SETTING(bool, AllowClipboardShortCuts)
  ZV_SETTING(bool, AllowCtrlEnter)
  ZV_SETTING(bool, AllowSmartClipboard)
  ZV_SETTING(bool, AllowRTFClipboard)
  ZV_SETTING(bool, AllowFmtClipboard)
  ZV_SETTING(bool, AllowClipboardAlways)
  ZV_SETTING(bool, AllowClipboardRowGrow)
  ZV_SETTING(bool, AllowClipboardColGrow)
  ZV_SETTING(bool, AdvanceAuto)
  ZV_SETTING(bool, AppendOnArrowDown)
  ZV_SETTING(bool, EditSelectAll)
  ZV_SETTING(TInsertPosition, InsertPosition)
  ZV_SETTING(bool, CursorWalkEditor)
  ZV_SETTING(bool, MoveRowOnSort)
  ZV_SETTING(bool, ImproveMaskSel)
  ZV_SETTING(bool, CopyHTMLTagsToClipboard)
  ZV_SETTING(bool, KeepHorizScroll)
  ZV_SETTING(bool, LineFeedOnEnter)
  ZV_SETTING(THomeEndAction, HomeEndKey)
  ZV_SETTING(bool, SkipFixedCells)
  ZV_SETTING(bool, TabToNextAtEnd)
  ZV_SETTING(TAdvanceDirection, TabAdvanceDirection)

private:
  bool FAllowInsertRow = false, FAllowDeleteRow = false, FAlwaysEdit = false, FAdvanceOnEnter = false,
       FAdvanceInsert = false, FAutoGotoWhenSorted = false, FAutoGotoIncremental = false,
       FAutoComboDropSize = false;
  TAdvanceDirection FAdvanceDirection = adLeftRight;
  bool FAllowClipboardShortCuts = false, FAllowCtrlEnter = true, FAllowSmartClipboard = false,
       FAllowRTFClipboard = false, FAllowFmtClipboard = false, FAllowClipboardAlways = false,
       FAllowClipboardRowGrow = true, FAllowClipboardColGrow = true, FAdvanceAuto = false,
       FAppendOnArrowDown = false, FEditSelectAll = true;
  TInsertPosition FInsertPosition = pInsertBefore;
  bool FCursorWalkEditor = false, FMoveRowOnSort = false, FImproveMaskSel = false, FCopyHTMLTagsToClipboard = true,
       FKeepHorizScroll = false, FLineFeedOnEnter = false;
  THomeEndAction FHomeEndKey = heFirstLastColumn;
  bool FSkipFixedCells = true, FTabToNextAtEnd = false;
  TAdvanceDirection FTabAdvanceDirection = adLeftRight;
};

class THTMLSettings : public TPersistent {
  ZV_CLASS(THTMLSettings)
public:
  THTMLSettings();
  ~THTMLSettings() override;
  void Assign(TPersistent* Source) override;
  ZV_SETTING(int, BorderSize)
  ZV_SETTING(int, CellSpacing)
  ZV_SETTING(int, CellPadding)
  ZV_SETTING(bool, SaveColor)
  ZV_SETTING(bool, SaveFonts)
  ZV_SETTING(std::string, FooterFile)
  ZV_SETTING(std::string, HeaderFile)
  ZV_SETTING(std::string, TableStyle)
  ZV_SETTING(std::string, PrefixTag)
  ZV_SETTING(std::string, SuffixTag)
  ZV_SETTING(int, Width)
  ZV_SETTING(bool, XHTML)
  ZV_SETTING(bool, ConvertSpecialChars)
  ZV_SETTING(bool, AutoPreview)
  ZV_SETTING(bool, NonBreakingText)
  TIntList* ColWidths() const { return FColWidths.get(); }

private:
  int FBorderSize = 1, FCellSpacing = 0, FCellPadding = 0;
  bool FSaveColor = true, FSaveFonts = true;
  std::string FFooterFile, FHeaderFile, FTableStyle, FPrefixTag, FSuffixTag;
  int FWidth = 100;
  bool FXHTML = false, FConvertSpecialChars = false, FAutoPreview = false, FNonBreakingText = false;
  std::unique_ptr<TIntList> FColWidths;
};

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum TPrinterOrientation { poPortrait, poLandscape };
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TPrintSettings : public TPersistent {
  ZV_CLASS(TPrintSettings)
public:
  explicit TPrintSettings(TPlusStringGrid* AGrid = nullptr);
  // Copies every setting; another class of source raises EConvertError.
  void Assign(TPersistent* Source) override;
  ZV_SETTING(int, FooterSize)
  ZV_SETTING(int, HeaderSize)
  ZV_SETTING(TPrintPosition, Time)
  ZV_SETTING(TPrintPosition, Date)
  ZV_SETTING(TPrintPosition, PageNr)
  ZV_SETTING(TPrintPosition, Title)
  ZV_SETTING(std::string, DateFormat)
  ZV_SETTING(std::string, TitleText)
  TStringList* TitleLines() const { return FTitleLines.get(); }
  void SetTitleLines(TStringList* v) { if (v) FTitleLines->Assign(*v); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { if (v) FFont->Assign(v); }
  TFont* FixedFont() const { return FFixedFont.get(); }
  void SetFixedFont(TFont* v) { if (v) FFixedFont->Assign(v); }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* v) { if (v) FHeaderFont->Assign(v); }
  TFont* FooterFont() const { return FFooterFont.get(); }
  void SetFooterFont(TFont* v) { if (v) FFooterFont->Assign(v); }
  ZV_SETTING(TPrintBorders, Borders)
  ZV_SETTING(TPenStyle, BorderStyle)
  ZV_SETTING(bool, Centered)
  ZV_SETTING(bool, RepeatFixedRows)
  ZV_SETTING(bool, RepeatFixedCols)
  ZV_SETTING(int, LeftSize)
  ZV_SETTING(int, RightSize)
  ZV_SETTING(int, ColumnSpacing)
  ZV_SETTING(int, RowSpacing)
  ZV_SETTING(int, TitleSpacing)
  ZV_SETTING(TPrinterOrientation, Orientation)
  ZV_SETTING(std::string, PagePrefix)
  ZV_SETTING(std::string, PageSuffix)
  ZV_SETTING(int, PageNumberOffset)
  ZV_SETTING(int, MaxPagesOffset)
  ZV_SETTING(int, FixedWidth)
  ZV_SETTING(int, FixedHeight)
  ZV_SETTING(bool, UseFixedHeight)
  ZV_SETTING(bool, UseFixedWidth)
  ZV_SETTING(TFitToPage, FitToPage)
  ZV_SETTING(std::string, JobName)
  ZV_SETTING(std::string, PageNumSep)
  ZV_SETTING(bool, NoAutoSize)
  ZV_SETTING(bool, NoAutoSizeRow)
  ZV_SETTING(bool, PrintGraphics)
  ZV_SETTING(bool, UseDisplayFont)
  ZV_SETTING(bool, UseDefaultOrientation)

private:
  TPlusStringGrid* FGrid;
  int FFooterSize = 0, FHeaderSize = 0;
  TPrintPosition FTime = ppNone, FDate = ppNone, FPageNr = ppNone, FTitle = ppNone;
  std::string FDateFormat = "dd/mm/yyyy", FTitleText;
  std::unique_ptr<TStringList> FTitleLines;
  std::unique_ptr<TFont> FFont, FFixedFont, FHeaderFont, FFooterFont;
  TPrintBorders FBorders = pbSingle;
  TPenStyle FBorderStyle = psSolid;
  bool FCentered = true, FRepeatFixedRows = false, FRepeatFixedCols = false;
  int FLeftSize = 0, FRightSize = 0, FColumnSpacing = 0, FRowSpacing = 0, FTitleSpacing = 0;
  TPrinterOrientation FOrientation = poPortrait;
  std::string FPagePrefix, FPageSuffix;
  int FPageNumberOffset = 0, FMaxPagesOffset = 0, FFixedWidth = 0, FFixedHeight = 0;
  bool FUseFixedHeight = false, FUseFixedWidth = false;
  TFitToPage FFitToPage = fpNever;
  std::string FJobName, FPageNumSep = "/";
  bool FNoAutoSize = false, FNoAutoSizeRow = false, FPrintGraphics = false, FUseDisplayFont = true,
       FUseDefaultOrientation = false;
};

// Alternating colours of the normal rows; the colour is chosen while a cell's
// format is resolved, so a cell's own brush colour still wins.
class TBands : public TPersistent {
  ZV_CLASS(TBands)
 public:
  explicit TBands(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool v);
  TColor PrimaryColor() const { return FPrimaryColor; }
  void SetPrimaryColor(TColor v);
  TColor SecondaryColor() const { return FSecondaryColor; }
  void SetSecondaryColor(TColor v);
  int PrimaryLength() const { return FPrimaryLength; }
  void SetPrimaryLength(int v);
  int SecondaryLength() const { return FSecondaryLength; }
  void SetSecondaryLength(int v);
  int TotalLength() const { return FTotalLength; }
  ZV_SETTING(bool, Print)

 private:
  void Changed();
  TPlusStringGrid* FGrid;
  bool FActive = false, FPrint = false;
  TColor FPrimaryColor = clInfoBk, FSecondaryColor = clWindow;
  int FPrimaryLength = 1, FSecondaryLength = 1, FTotalLength = 2;
};

// A strip in the first shown column of every modified row.
class TShowModified : public TPersistent {
  ZV_CLASS(TShowModified)
 public:
  explicit TShowModified(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);

 private:
  TPlusStringGrid* FGrid;
  bool FEnabled = false;
  TColor FColor = clYellow;
};

// Named apart from the platform control style set it would clash with.
enum TGridControlStyle { csClassic, csFlat, csWinXP, csPelmark, csQRB, csGlyph, csTheme };

// How the controls that cells carry are drawn.
class TControlLook : public TPersistent {
  ZV_CLASS(TControlLook)
 public:
  explicit TControlLook(TPlusStringGrid* AGrid = nullptr);
  ~TControlLook() override;
  // Copies sizes, style, glyphs, margins, colours and the two always-active
  // flags; the rest stays.
  void Assign(TPersistent* Source) override;

#define ZV_LOOK(Type, Name)             \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) {              \
    F##Name = v;                        \
    Changed();                          \
  }
  ZV_LOOK(int, CheckSize)
  ZV_LOOK(int, RadioSize)
  ZV_LOOK(TGridControlStyle, ControlStyle)
  ZV_LOOK(TColor, Color)
  ZV_LOOK(TColor, CommentColor)
  ZV_LOOK(TColor, ProgressBorderColor)
  ZV_LOOK(int, ProgressMarginX)
  ZV_LOOK(int, ProgressMarginY)
  ZV_LOOK(bool, ProgressXP)
  ZV_LOOK(bool, CheckAlwaysActive)
  ZV_LOOK(bool, RadioAlwaysActive)
  ZV_LOOK(bool, DropDownAlwaysVisible)
  ZV_LOOK(bool, FlatButton)
  ZV_LOOK(bool, NoDisabledCheckRadioLook)
  ZV_LOOK(bool, NoDisabledButtonLook)
#undef ZV_LOOK
  TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
  void SetCheckedGlyph(TBitmap* v);
  TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
  void SetUnCheckedGlyph(TBitmap* v);
  TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
  void SetRadioOnGlyph(TBitmap* v);
  TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
  void SetRadioOffGlyph(TBitmap* v);
  TColor FixedGradientFrom() const { return FFixedGradientFrom; }
  void SetFixedGradientFrom(TColor v);
  TColor FixedGradientTo() const { return FFixedGradientTo; }
  void SetFixedGradientTo(TColor v);

 private:
  void Changed();
  TPlusStringGrid* FGrid;
  int FCheckSize = 15, FRadioSize = 10, FProgressMarginX = 2, FProgressMarginY = 2;
  TGridControlStyle FControlStyle = csWinXP;
  TColor FColor = clBlack, FCommentColor = clRed, FProgressBorderColor = clGray;
  TColor FFixedGradientFrom = clNone, FFixedGradientTo = clNone;
  bool FProgressXP = false, FCheckAlwaysActive = false, FRadioAlwaysActive = false,
       FDropDownAlwaysVisible = false, FFlatButton = false, FNoDisabledCheckRadioLook = false,
       FNoDisabledButtonLook = false;
  std::unique_ptr<TBitmap> FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
};

// ---------------------------------------------------------------------------
// Floating footer and grid background

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };
using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;

// The strip at the grid's bottom that stays while the rows scroll: the last
// row as a totals row, one column of the current row, or a mini-HTML
// template filled from the current row.
class TFloatingFooter : public TPersistent {
  ZV_CLASS(TFloatingFooter)
 public:
  explicit TFloatingFooter(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  // Copies CalculateHiddenRows, Color, Column, CustomTemplate, FooterStyle,
  // Visible and ShowHint; BorderColor and the event stay.
  void Assign(TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TFooterStyle FooterStyle() const { return FFooterStyle; }
  void SetFooterStyle(TFooterStyle v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v);
  int Column() const { return FColumn; }
  void SetColumn(int v);
  const std::string& CustomTemplate() const { return FCustomTemplate; }
  void SetCustomTemplate(const std::string& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  ZV_SETTING(bool, CalculateHiddenRows)
  // Kept equal to the grid's DefaultRowHeight.
  int FooterHeight() const { return FFooterHeight; }
  void SetFooterHeight(int v);
  // Repaints the footer panel.
  void Invalidate();
  TCalcFooterEvent OnCalcFooter;

 private:
  TPlusStringGrid* FGrid;
  bool FVisible = false;
  TFooterStyle FFooterStyle = fsFixedLastRow;
  TColor FColor = clBtnFace, FBorderColor = clNone;
  int FColumn = 0;
  std::string FCustomTemplate;
  bool FShowHint = false, FCalculateHiddenRows = false;
  int FFooterHeight = 21;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// A picture or a gradient behind the cells and in the empty area beyond the
// last column and row. Every setter repaints the grid.
class TBackGround : public TPersistent {
  ZV_CLASS(TBackGround)
 public:
  explicit TBackGround(TPlusStringGrid* AGrid = nullptr);
  ~TBackGround() override;
  TBitmap* Bitmap() const { return FBitmap.get(); }
  // Copies the bitmap.
  void SetBitmap(TBitmap* v);
  TBackGroundDisplay Display() const { return FDisplay; }
  void SetDisplay(TBackGroundDisplay v);
  int Left() const { return FLeft; }
  void SetLeft(int v);
  int Top() const { return FTop; }
  void SetTop(int v);
  TBackGroundCells Cells() const { return FCells; }
  void SetCells(TBackGroundCells v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  // With a gradient display, clNone switches the background off.
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v);
  bool IsGradient() const { return FDisplay == bdGradientHorz || FDisplay == bdGradientVert; }

 private:
  void Changed();
  TPlusStringGrid* FGrid;
  std::unique_ptr<TBitmap> FBitmap;
  TBackGroundDisplay FDisplay = bdTile;
  int FLeft = 0, FTop = 0;
  TBackGroundCells FCells = bcNormal;
  TColor FColor = clWindow, FColorTo = clBtnFace;
};

#undef ZV_SETTING
