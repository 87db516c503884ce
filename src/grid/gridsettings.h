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

// ---------------------------------------------------------------------------
// Scrolling while something is dragged over the grid: the margins that start
// it and the waits before the first and each further step.

class TDragScrollDelays : public TPersistent {
  ZV_CLASS(TDragScrollDelays)
public:
  void Assign(TPersistent* Source) override;
  ZV_SETTING(int, InitialDelay)
  ZV_SETTING(int, RepeatDelay)

private:
  int FInitialDelay = 1000, FRepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
  ZV_CLASS(TDragScrollMargins)
public:
  void Assign(TPersistent* Source) override;
  ZV_SETTING(int, TopMargin)
  ZV_SETTING(int, BottomMargin)
  ZV_SETTING(int, LeftMargin)
  ZV_SETTING(int, RightMargin)

private:
  int FTopMargin = 50, FBottomMargin = 50, FLeftMargin = 50, FRightMargin = 50;
};

class TDragScrollOptions : public TPersistent {
  ZV_CLASS(TDragScrollOptions)
public:
  TDragScrollOptions();
  ~TDragScrollOptions() override;
  void Assign(TPersistent* Source) override;
  ZV_SETTING(bool, Active)
  TDragScrollDelays* Delays() const { return FDelays.get(); }
  void SetDelays(TDragScrollDelays* v) { if (v) FDelays->Assign(v); }
  TDragScrollMargins* Margins() const { return FMargins.get(); }
  void SetMargins(TDragScrollMargins* v) { if (v) FMargins->Assign(v); }

private:
  bool FActive = false;
  std::unique_ptr<TDragScrollDelays> FDelays;
  std::unique_ptr<TDragScrollMargins> FMargins;
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

// ---- Sorting and grouping settings

enum TSortStyle {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
  ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssUnicode,
  ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
enum TSortBlankPosition { blFirst, blLast };
enum TSortDirection { sdAscending, sdDescending };

class TSortSettings : public TPersistent {
  ZV_CLASS(TSortSettings)
 public:
  explicit TSortSettings(TPlusStringGrid* AGrid = nullptr);
  ~TSortSettings() override;
  // Every setting and the four glyph pictures; other sources are ignored.
  void Assign(TPersistent* Source) override;
  ZV_SETTING(bool, AutoSortForGrouping)
  ZV_SETTING(bool, AutoColumnMerge)
  ZV_SETTING(int, Column)
  bool Show() const { return FShow; }
  void SetShow(bool v);
  ZV_SETTING(bool, IndexShow)
  ZV_SETTING(TColor, IndexColor)
  ZV_SETTING(bool, Full)
  ZV_SETTING(bool, SingleColumn)
  ZV_SETTING(bool, IgnoreBlanks)
  ZV_SETTING(TSortBlankPosition, BlankPos)
  ZV_SETTING(bool, AutoFormat)
  ZV_SETTING(TSortDirection, Direction)
  ZV_SETTING(TSortDirection, InitSortDirection)
  ZV_SETTING(bool, FixedCols)
  ZV_SETTING(bool, NormalCellsOnly)
  int Row() const { return FRow; }
  // A row beyond the grid's fixed rows raises and keeps the old value.
  void SetRow(int v);
  ZV_SETTING(bool, UndoSort)
  TBitmap* UpGlyph() const { return FUpGlyph.get(); }
  void SetUpGlyph(TBitmap* v);
  TBitmap* DownGlyph() const { return FDownGlyph.get(); }
  void SetDownGlyph(TBitmap* v);
  TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
  void SetIndexUpGlyph(TBitmap* v);
  TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
  void SetIndexDownGlyph(TBitmap* v);

 private:
  TPlusStringGrid* FGrid;
  bool FAutoSortForGrouping = true, FAutoColumnMerge = false;
  int FColumn = 0;
  bool FShow = false, FIndexShow = false;
  TColor FIndexColor = 0x0000FFFF;
  bool FFull = true, FSingleColumn = false, FIgnoreBlanks = false;
  TSortBlankPosition FBlankPos = blFirst;
  bool FAutoFormat = true;
  TSortDirection FDirection = sdAscending, FInitSortDirection = sdAscending;
  bool FFixedCols = false, FNormalCellsOnly = false;
  int FRow = 0;
  bool FUndoSort = false;
  std::unique_ptr<TBitmap> FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
};

class TGrouping : public TPersistent {
  ZV_CLASS(TGrouping)
 public:
  TGrouping() = default;
  // Colours, merge flags and the two line switches; Summary and the line
  // colours and widths stay.
  void Assign(TPersistent* Source) override;
  ZV_SETTING(TColor, HeaderColor)
  ZV_SETTING(TColor, HeaderColorTo)
  ZV_SETTING(TColor, HeaderTextColor)
  ZV_SETTING(bool, MergeHeader)
  ZV_SETTING(bool, Summary)
  ZV_SETTING(bool, MergeSummary)
  ZV_SETTING(TColor, SummaryColor)
  ZV_SETTING(TColor, SummaryColorTo)
  ZV_SETTING(TColor, SummaryTextColor)
  ZV_SETTING(bool, HeaderUnderline)
  ZV_SETTING(bool, SummaryLine)
  ZV_SETTING(TColor, HeaderLineColor)
  ZV_SETTING(TColor, SummaryLineColor)
  ZV_SETTING(int, HeaderLineWidth)
  ZV_SETTING(int, SummaryLineWidth)

 private:
  TColor FHeaderColor = clNone, FHeaderColorTo = clNone, FHeaderTextColor = clNone;
  bool FMergeHeader = false, FSummary = false, FMergeSummary = false;
  TColor FSummaryColor = clNone, FSummaryColorTo = clNone, FSummaryTextColor = clNone;
  bool FHeaderUnderline = false, FSummaryLine = false;
  TColor FHeaderLineColor = 0xFF0000, FSummaryLineColor = 0xFF0000;
  int FHeaderLineWidth = 2, FSummaryLineWidth = 2;
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

// ---------------------------------------------------------------------------
// Search footer, drag and drop, balloons

// The search strip at the grid's bottom: its captions, hints, colours and
// which buttons show. Notify means OnChange(footer), which the grid points at
// its ApplySearchFooter.
class TSearchFooter : public TPersistent {
  ZV_CLASS(TSearchFooter)
 public:
  explicit TSearchFooter(TPlusStringGrid* AGrid = nullptr);
  ~TSearchFooter() override;
  // Copies colours, captions, hints, the Show switches, the column settings,
  // Visible and the font, without notifying; AutoSearch and OnChange stay.
  void Assign(TPersistent* Source) override;
  ZV_SETTING(bool, AutoSearch)
  ZV_SETTING(bool, SearchActiveColumnOnly)
  ZV_SETTING(int, SearchColumn)
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; Notify(); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v) { FColorTo = v; Notify(); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { if (v) FFont->Assign(v); Notify(); }
#define ZV_FOOTER_TEXT(Name)                          \
  const std::string& Name() const { return F##Name; } \
  void Set##Name(const std::string& v) { F##Name = v; Notify(); }
  ZV_FOOTER_TEXT(FindNextCaption)
  ZV_FOOTER_TEXT(FindPrevCaption)
  ZV_FOOTER_TEXT(HighLightCaption)
  ZV_FOOTER_TEXT(MatchCaseCaption)
  ZV_FOOTER_TEXT(HintClose)
  ZV_FOOTER_TEXT(HintFindNext)
  ZV_FOOTER_TEXT(HintFindPrev)
  ZV_FOOTER_TEXT(HintHighlight)
#undef ZV_FOOTER_TEXT
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool v) { FShowClose = v; Notify(); }
#define ZV_FOOTER_SWITCH(Name)                 \
  bool Name() const { return F##Name; }        \
  void Set##Name(bool v) {                     \
    if (F##Name == v) return;                  \
    F##Name = v;                               \
    Notify();                                  \
  }
  ZV_FOOTER_SWITCH(ShowFindNext)
  ZV_FOOTER_SWITCH(ShowFindPrev)
  ZV_FOOTER_SWITCH(ShowHighLight)
  ZV_FOOTER_SWITCH(ShowMatchCase)
  ZV_FOOTER_SWITCH(Visible)
  ZV_FOOTER_SWITCH(AutoThemeAdapt)
#undef ZV_FOOTER_SWITCH
  // The text the buttons search for while AutoSearch is off.
  const std::string& LastSearch() const { return FLastSearch; }
  void SetLastSearch(const std::string& v) { FLastSearch = v; }
  TNotifyEvent OnChange;

 private:
  void Notify() { if (OnChange) OnChange(this); }
  TPlusStringGrid* FGrid;
  bool FAutoSearch = true, FSearchActiveColumnOnly = false;
  int FSearchColumn = -1;
  TColor FColor = 0xFFFFFF, FColorTo = clBtnFace;
  std::unique_ptr<TFont> FFont;
  std::string FFindNextCaption = "Find next", FFindPrevCaption = "Find previous", FHighLightCaption = "Highlight",
              FMatchCaseCaption = "Match case", FHintClose = "Close", FHintFindNext = "Find next occurence",
              FHintFindPrev = "Find previous occurence", FHintHighlight = "Highlight occurences";
  bool FShowClose = true, FShowFindNext = true, FShowFindPrev = true, FShowHighLight = true, FShowMatchCase = true,
       FVisible = false, FAutoThemeAdapt = false;
  std::string FLastSearch;
};

// How a grid takes part in dragging between windows and programs.
class TDragDropSettings : public TPersistent {
  ZV_CLASS(TDragDropSettings)
 public:
  explicit TDragDropSettings(TPlusStringGrid* AGrid = nullptr) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  bool OleDropTarget() const { return FOleDropTarget; }
  void SetOleDropTarget(bool v);
  ZV_SETTING(bool, OleDropSource)
  ZV_SETTING(bool, OleAcceptText)
  ZV_SETTING(bool, OleAcceptFiles)
  // Shared by every grid of the process: rich text is offered and preferred.
  bool OleDropRTF() const { return FOleDropRTF; }
  void SetOleDropRTF(bool v);
  ZV_SETTING(bool, OleEntireRows)
  ZV_SETTING(bool, OleInsertRows)
  ZV_SETTING(bool, OleRemoveRows)
  ZV_SETTING(bool, OleCopyAlways)
  ZV_SETTING(bool, OleColumnDragDrop)

 private:
  TPlusStringGrid* FGrid;
  bool FOleDropTarget = false, FOleDropSource = false, FOleAcceptText = true, FOleAcceptFiles = true,
       FOleDropRTF = false, FOleEntireRows = false, FOleInsertRows = false, FOleRemoveRows = false,
       FOleCopyAlways = false, FOleColumnDragDrop = false;
};

// The balloon tip that shows a cell's text.
class TBalloonSettings : public TPersistent {
  ZV_CLASS(TBalloonSettings)
 public:
  TBalloonSettings() = default;
  // Copies the colours, the delays and Enable; Transparency stays.
  void Assign(TPersistent* Source) override;
  bool Enable() const { return FEnable; }
  void SetEnable(bool v) {
    FEnable = v;
    if (OnEnableChange) OnEnableChange(this);
  }
  ZV_SETTING(TColor, BackgroundColor)
  ZV_SETTING(TColor, TextColor)
  ZV_SETTING(int, InitialDelay)
  ZV_SETTING(int, ReshowDelay)
  ZV_SETTING(int, AutoHideDelay)
  ZV_SETTING(int, Transparency)
  TNotifyEvent OnEnableChange;

 private:
  bool FEnable = false;
  TColor FBackgroundColor = clNone, FTextColor = clNone;
  int FInitialDelay = -1, FReshowDelay = -1, FAutoHideDelay = -1, FTransparency = 0;
};

#undef ZV_SETTING
