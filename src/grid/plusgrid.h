// TPlusStringGrid: the string grid the program's windows place on their
// forms. It adds to TBaseGrid typed cell access (integers, floats, dates),
// the settings objects, header lists, disjunct row and column selections,
// row-modified marks, merging of equal cells in columns, hidden rows with
// their display and real indexes, and the row filter.
//
// Display and real indexes: a hidden row leaves the layer's grid (RowCount
// shrinks) and is kept in the hidden-row collection with its texts, records
// and height. A display index is where a row shows; a real index is its place
// when nothing is hidden. Column flags exist for the same model; nothing hides
// a column yet, so the column mappings return their argument.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/gridsettings.h"
#include "grid/support/basegrid.h"
#include "grid/support/gridprogress.h"
#include "grid/support/plushintinfo.h"
#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "grid/support/picturecontainer.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/imglist.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/streams.h"

ZV_DECLARE_EXCEPTION(EPlusGridError, Exception)

// The message an edit's end is reported with, registered once.
unsigned GridEditDoneMessage();
// The clipboard format of the grid's cell stream.
unsigned PlusGridCellsFormat();

class TPlusStringGrid;
class TCustomForm;

// ---------------------------------------------------------------------------
// Hidden rows

class TGridItem : public TCollectionItem {
  ZV_CLASS(TGridItem)
public:
  explicit TGridItem(TCollection* Collection);
  ~TGridItem() override;
  int Idx() const { return FIdx; }
  void SetIdx(int v) { FIdx = v; }
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  // The row's cell texts with their cell objects (the properties records).
  TStringList* Items() const { return FItems; }
  void SetItems(TStringList* v) { FItems = v; }

private:
  int FIdx = 0, FHeight = 0;
  TStringList* FItems;
  std::unique_ptr<TStringList> FOwnItems;
};

// ---------------------------------------------------------------------------
// Filter

enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated };

class TFilterData : public TCollectionItem {
  ZV_CLASS(TFilterData)
public:
  explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  int Column() const { return FColumn; }
  void SetColumn(int v) { FColumn = static_cast<int16_t>(v); }
  const std::string& Condition() const { return FCondition; }
  void SetCondition(const std::string& v) { FCondition = v; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v) { FCaseSensitive = v; }
  const std::string& Suffix() const { return FSuffix; }
  void SetSuffix(const std::string& v) { FSuffix = v; }
  const std::string& Prefix() const { return FPrefix; }
  void SetPrefix(const std::string& v) { FPrefix = v; }
  TFilterOperation Operation() const { return FOperation; }
  void SetOperation(TFilterOperation v) { FOperation = v; }
  TFilterCells Data() const { return FData; }
  void SetData(TFilterCells v) { FData = v; }

private:
  int16_t FColumn = 0;
  std::string FCondition;
  bool FCaseSensitive = true;
  std::string FSuffix, FPrefix;
  TFilterOperation FOperation = foSHORT;
  TFilterCells FData = fcVirtual;
};

class TFilter : public TOwnedCollection {
  ZV_CLASS(TFilter)
public:
  explicit TFilter(TPersistent* AOwner = nullptr) : TOwnedCollection(AOwner, &TFilterData::StaticClass()) {}
  TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
  TFilterData* Item(int Index) const { return static_cast<TFilterData*>(Items(Index)); }
};

// ---------------------------------------------------------------------------
// Events (row before column where the declaration says so)

enum TGridLook { glStandard, glSoft, glClassic, glQRB, glXP, glListView };
enum TScrollType { ssNormal, ssFlat, ssEncarta };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };

using TAutoAdvanceEvent =
    std::function<void(TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)>;
using TGridColorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridAlignEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TWordWrapEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& WordWrap)>;
using TGetCheckEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, std::string& hintstr)>;
using TRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TRowChangingEvent = std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)>;
using TCellChangingEvent =
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TAutoInsertColEvent = std::function<void(TObject* Sender, int ACol)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanDelete)>;
using TAutoDeleteRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TClickSortEvent = std::function<void(TObject* Sender, int ACol)>;
using TCanSortEvent = std::function<void(TObject* Sender, int ACol, bool& DoSort)>;
using TNodeClickEvent = std::function<void(TObject* Sender, int ARow, int ARowreal)>;
using TNodeAllowEvent = std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)>;
using TCustomCompareEvent =
    std::function<void(TObject* Sender, const std::string& str1, const std::string& str2, int& Res)>;
using TRawCompareEvent = std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)>;
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TDblClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TCanClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TIsFixedCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& IsFixed)>;
using TIsPasswordCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& IsPassword)>;
using TClipboardEvent = std::function<void(TObject* Sender, bool& Allow)>;
using TBeforeCellPasteEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value, bool& Allow)>;
using TCellValidateEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value, bool& Valid)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, TRect R)>;
using TGridProgressEvent = std::function<void(TObject* Sender, int16_t progress)>;
using THasComboEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& HasComboBox)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TFloatFormatEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& IsFloat, std::string& FloatFormat)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& S)>;
using TButtonClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)>;
using TEditCellDoneEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TEditChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TRowDisjunctSelectEvent = std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)>;
using TSelectionChanged = std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;
using TColumnSizeEvent = std::function<void(TObject* Sender, int ACol, bool& Allow)>;
using TRowSizeEvent = std::function<void(TObject* Sender, int ARow, bool& Allow)>;
using TEndColumnSizeEvent = std::function<void(TObject* Sender, int ACol)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, int ACol, int& AWidth)>;
using TEndRowSizeEvent = std::function<void(TObject* Sender, int ARow)>;
using TCellSaveLoadEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TScrollHintEvent = std::function<void(TObject* Sender, int ARow, std::string& hintstr)>;
using TAnchorClickEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle)>;
using TAnchorEvent = std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, std::string& Anchor)>;

using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                TGridDrawState AState, TRect ARect, bool Printing)>;
using TCustomCellSizeEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)>;
using TGridBorderPropEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* LeftPen, TPen* TopPen,
                                                TPen* RightPen, TPen* BottomPen)>;
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TEnumSet<TCellBorder>;
using TGridBorderEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TOfficeHintEvent = std::function<void(TObject* Sender, int ACol, int ARow, TPlusHintInfo* OfficeHint)>;
using TGridBalloonEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& ATitle,
                                             std::string& AText, int& AIcon)>;
using TGridPrintPageEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int PageNr, int PageXSize, int PageYSize)>;
using TGridPrintPageDoneEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int LastRow, int LastRowOffset,
                                                   int LastPage, int PageXSize, int PageYSize)>;
using TGridPrintStartEvent = std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)>;
using TGridPrintCancelEvent = std::function<void(TObject* Sender, int PageNr, bool& Cancel)>;
using TDoFitToPageEvent = std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)>;
using TGridPrintNewPageEvent = std::function<void(TObject* Sender, int ARow, bool& NewPage)>;
using TGridPrintColumnWidthEvent = std::function<void(TObject* Sender, int ACol, int& Width)>;
using TGridPrintRowHeightEvent = std::function<void(TObject* Sender, int ARow, int& Height)>;
using TCellControlEvent = std::function<void(TObject* Sender, int ARow, int ACol, const std::string& CtrlID,
                                             const std::string& CtrlType, const std::string& CtrlVal)>;
using TCellComboControlEvent = std::function<void(TObject* Sender, int ARow, int ACol, const std::string& CtrlID,
                                                  const std::string& CtrlType, const std::string& CtrlVal,
                                                  TStringList* Values, bool& Edit, int& DropCount)>;
using TBeforeCellPasteWideEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Allow)>;
using TCellValidateWideEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Valid)>;
using TComboChangeEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection)>;
using TComboObjectChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex,
                                                   const std::string& ASelection, TObject* AObject)>;
using TSpinClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TFloatSpinClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)>;
using TDateTimeSpinClickEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)>;
using TDateTimeChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TDateTime ADateTime)>;
using TFooterPaintEvent = std::function<void(TObject* Sender, int AColumn, TCanvas* Canvas, TRect ARect)>;
using TOleDragDropEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, const std::string& data, bool& Allow)>;
using TOleDroppedEvent = std::function<void(TObject* Sender, TGridRect ARect)>;
using TOleDragOverEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TOleDragStartEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(TObject* Sender, int OLEEffect)>;
using TOleDropColEvent = std::function<void(TObject* Sender, int ARow, int ACol, int DropCol)>;
using TOleDropFileEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, const std::string& FileName, bool& Allow)>;
using TSelectionResizeEvent = std::function<void(TObject* Sender, TGridRect OrigSelection, TGridRect NewSelection)>;
using TSetEditWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::u16string& Value)>;
using TGetEditWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value)>;

// An object told of cell changes (CellsChanged).
class TGridChangeListener {
public:
  virtual ~TGridChangeListener() = default;
  virtual void CellsChanged(TPlusStringGrid* Grid, const TRect& R) = 0;
};

// ---------------------------------------------------------------------------
// The floating footer's panel, a child of its grid aligned to the grid's bottom.

class TFooterPanel : public TCustomPanel {
  ZV_CLASS(TFooterPanel)
public:
  // AOwner is the grid.
  explicit TFooterPanel(TComponent* AOwner);
  TPlusStringGrid* Grid() const { return FGrid; }
  // The column whose hint shows; -1 none.
  int HintColumn() const { return FHintColumn; }
  // "<#n>" replaced by column n's text of the current row.
  std::string ExpandTemplate(const std::string& Template);
  TRect MirrorRect(bool RightToLeft, const TRect& R) const;
  // How many columns, from column 0, it takes to reach X (0 at or left of 0);
  // -1 beyond the last column when BeyondIsNone.
  int ColumnsTo(int X, bool BeyondIsNone) const;

protected:
  void Paint() override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Each returns the right edge of what it drew.
  int PaintLastRowFooter();
  int PaintColumnPreview();
  int PaintCustomPreview();

private:
  // The footer area: the client area cut to the width of the grid's content.
  TRect FooterArea(int& ContentWidth) const;
  TPlusStringGrid* FGrid;
  int FHintColumn = -1;
};

// ---------------------------------------------------------------------------

class TPlusStringGrid : public TBaseGrid {
  ZV_CLASS(TPlusStringGrid)
public:
  explicit TPlusStringGrid(TComponent* AOwner);
  ~TPlusStringGrid() override;

  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Invalidate() override;
  // Swallows the next Invalidate.
  void SuppressNextInvalidate() { FSuppressInvalidate = true; }

  // ---- version
  virtual int GetVersionNr() const { return 0x03050101; }
  virtual std::string GetVersionString() const;
  std::string Version() const { return GetVersionString(); }
  void SetVersion(const std::string&) {}

  // ---- shape; these hide the layer's setters so that the derived state follows
  int ColCount() const { return TCustomGrid::ColCount(); }
  void SetColCount(int v);
  int RowCount() const { return TCustomGrid::RowCount(); }
  void SetRowCount(int v);
  int GetRowCount() const { return RowCount(); }
  // 1 when the stored value is 0 and FixedRowAlways (FixedColAlways) is on.
  int FixedRows() const;
  void SetFixedRows(int v);
  int FixedCols() const;
  void SetFixedCols(int v);
  int FixedColWidth() const { return ColWidths(0); }
  void SetFixedColWidth(int v);
  int FixedRowHeight() const { return FFixedRowHeight; }
  void SetFixedRowHeight(int v);
  int DefaultRowHeight() const { return TCustomGrid::DefaultRowHeight(); }
  int GetDefaultRowHeight() const { return DefaultRowHeight(); }
  void SetDefaultRowHeight(int v);
  int FixedRightCols() const { return FFixedRightCols; }
  void SetFixedRightCols(int v);
  int FixedFooters() const { return FFixedFooters; }
  void SetFixedFooters(int v);
  bool FixedRowAlways() const { return FFixedRowAlways; }
  void SetFixedRowAlways(bool v) { FFixedRowAlways = v; }
  bool FixedColAlways() const { return FFixedColAlways; }
  void SetFixedColAlways(bool v) { FFixedColAlways = v; }
  int AlwaysFixedRows() const { return FAlwaysFixedRows; }
  int AlwaysFixedCols() const { return FAlwaysFixedCols; }
  int MaxRowCountSet() const { return FMaxRowCountSet; }
  int MaxColCountSet() const { return FMaxColCountSet; }
  TScrollStyle ScrollBars() const { return FGridScrollBars; }
  void SetScrollBars(TScrollStyle v);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // ---- owned settings
  TMouseActions* MouseActions() const { return FMouseActions.get(); }
  void SetMouseActions(TMouseActions* v) { FMouseActions->Assign(v); }
  TNavigation* Navigation() const { return FNavigation.get(); }
  void SetNavigation(TNavigation* v) { FNavigation->Assign(v); }
  TColumnSize* ColumnSize() const { return FColumnSize.get(); }
  void SetColumnSize(TColumnSize* v);
  TCellNode* CellNode() const { return FCellNode.get(); }
  void SetCellNode(TCellNode* v) { FCellNode->Assign(v); }
  TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
  void SetSizeWhileTyping(TSizeWhileTyping* v);
  THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
  void SetHTMLSettings(THTMLSettings* v) { FHTMLSettings->Assign(v); }
  TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
  void SetPrintSettings(TPrintSettings* v) { if (v) FPrintSettings->Assign(v); }
  TBands* Bands() const { return FBands.get(); }
  void SetBands(TBands* v) { if (v) FBands->Assign(v); }
  TControlLook* ControlLook() const { return FControlLook.get(); }
  void SetControlLook(TControlLook* v) { if (v) FControlLook->Assign(v); }
  TShowModified* ShowModified() const { return FShowModified.get(); }
  void SetShowModified(TShowModified* v) { if (v) FShowModified->Assign(v); }
  TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
  void SetProgressAppearance(TGridProgressAppearance* v) { FProgressAppearance->Assign(v); }
  TFilter* Filter() const { return FFilter.get(); }
  void SetFilter(TFilter* v) { if (v) FFilter->Assign(v); }
  TFont* FixedFont() const { return FFixedFont.get(); }
  void SetFixedFont(TFont* v) { if (v) FFixedFont->Assign(v); }
  TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
  void SetActiveCellFont(TFont* v) { if (v) FActiveCellFont->Assign(v); }
  TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
  void SetColumnHeaders(TStringList* v);
  TStringList* RowHeaders() const { return FRowHeaders.get(); }
  void SetRowHeaders(TStringList* v);
  TStringList* LookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(TStringList* v) { if (v) FLookupItems->Assign(*v); }
  TIntList* MergedColumns() const { return FMergedColumns.get(); }
  TBitmap* RowIndicator() const { return FRowIndicator.get(); }
  void SetRowIndicator(TBitmap* v);
  TControlList* ControlList() const { return FControlList.get(); }
  // The row and column move markers, directions 0 to 3; nil in the designer.
  TArrowWindow* ArrowWindow(int Direction) const {
    return Direction >= 0 && Direction < 4 ? FArrows[Direction] : nullptr;
  }
  TPlusHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TPlusHintInfo* v) { if (v) FOfficeHint->Assign(v); }
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* v);
  TCustomImageList* GridImages() const { return FGridImages; }
  void SetGridImages(TCustomImageList* v);
  THTMLPictureCache* PictureCache() const { return FPictureCache.get(); }

  // ---- plain settings
#define ZV_GRIDPROP(Type, Name)         \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) { F##Name = v; }
#define ZV_GRIDPROP_PAINT(Type, Name)   \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) {              \
    if (F##Name == v) return;           \
    F##Name = v;                        \
    Invalidate();                       \
  }
  ZV_GRIDPROP(bool, FixedAsButtons)
  ZV_GRIDPROP(bool, Multilinecells)
  ZV_GRIDPROP(bool, IntegralHeight)
  ZV_GRIDPROP(bool, AutoSize)
  ZV_GRIDPROP(bool, SizeWithForm)
  ZV_GRIDPROP(bool, EnhRowColMove)
  ZV_GRIDPROP(TGridLook, Look)
  ZV_GRIDPROP_PAINT(TColor, SelectionColor)
  ZV_GRIDPROP_PAINT(TColor, SelectionColorTo)
  ZV_GRIDPROP_PAINT(TColor, SelectionTextColor)
  ZV_GRIDPROP_PAINT(bool, SelectionRectangle)
  ZV_GRIDPROP_PAINT(bool, SelectionResizer)
  ZV_GRIDPROP(bool, SelectionRTFKeep)
  ZV_GRIDPROP_PAINT(bool, ShowSelection)
  ZV_GRIDPROP(bool, HideFocusRect)
  ZV_GRIDPROP_PAINT(bool, ActiveCellShow)
  ZV_GRIDPROP_PAINT(TColor, ActiveCellColor)
  ZV_GRIDPROP_PAINT(TColor, ActiveCellColorTo)
  ZV_GRIDPROP(bool, Hovering)
  ZV_GRIDPROP(std::string, FloatFormat)
  ZV_GRIDPROP(bool, AutoNumAlign)
  ZV_GRIDPROP(bool, EnhTextSize)
  ZV_GRIDPROP(bool, EnableHTML)
  ZV_GRIDPROP(bool, EnableBlink)
  ZV_GRIDPROP(bool, HTMLHint)
  ZV_GRIDPROP(TColor, URLColor)
  ZV_GRIDPROP(bool, URLShow)
  ZV_GRIDPROP(bool, URLFull)
  ZV_GRIDPROP(bool, URLEdit)
  ZV_GRIDPROP(bool, AnchorHint)
  ZV_GRIDPROP(TEditorType, DefaultEditor)
  ZV_GRIDPROP(bool, EditWithTags)
  ZV_GRIDPROP(int, MaxEditLength)
  ZV_GRIDPROP(bool, Lookup)
  ZV_GRIDPROP(bool, LookupCaseSensitive)
  ZV_GRIDPROP(bool, LookupHistory)
  ZV_GRIDPROP(bool, OemConvert)
  ZV_GRIDPROP(bool, ExcelStyleDecimalSeparator)
  ZV_GRIDPROP(TScrollBarAlways, ScrollBarAlways)
  ZV_GRIDPROP(TScrollType, ScrollType)
  ZV_GRIDPROP(TColor, ScrollColor)
  ZV_GRIDPROP(int, ScrollWidth)
  ZV_GRIDPROP(bool, ScrollProportional)
  ZV_GRIDPROP(bool, ScrollSynch)
  ZV_GRIDPROP(TScrollHintType, ScrollHints)
  ZV_GRIDPROP(bool, EnableWheel)
  ZV_GRIDPROP(TIntelliPan, IntelliPan)
  ZV_GRIDPROP(bool, IntelliZoom)
  ZV_GRIDPROP(TColor, HintColor)
  ZV_GRIDPROP(bool, HintShowCells)
  ZV_GRIDPROP(bool, HintShowLargeText)
  ZV_GRIDPROP(bool, HintShowSizing)
  ZV_GRIDPROP(TVAlignment, VAlignment)
  ZV_GRIDPROP(char, PasswordChar)
  ZV_GRIDPROP(bool, IncludeFixedCells)
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool v);
#undef ZV_GRIDPROP
#undef ZV_GRIDPROP_PAINT
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool GridWordWrap() const { return WordWrap(); }
  void SetGridWordWrap(bool v);

  // ---- typed access (display indexes)
  void SetCellInt(int ACol, int ARow, int Value);
  int GetCellInt(int ACol, int ARow);
  void SetCellFloat(int ACol, int ARow, double Value);
  double GetCellFloat(int ACol, int ARow);
  double GetCellFloatAll(int ACol, int ARealRow);
  void SetCellDate(int ACol, int ARow, TDateTime Value);
  std::u16string GetWideCell(int ACol, int ARow);
  void SetWideCell(int ACol, int ARow, const std::u16string& Value);
  bool IsWideTextCell(int ACol, int ARow);

  // ---- current cell
  int GetCurrentRow() const { return Row(); }
  void SetCurrentRow(int ARow);
  int GetRealCol() { return RealColIndex(Col()); }
  TGridRect GetSelection() const { return Selection(); }
  void SetSelection(const TGridRect& R);

  // ---- ranges the clipboard, file and stream operations cover
  int GetFirstCol() const;
  int GetFirstRow() const;
  int GetLastCol() const;
  int GetLastRow() const;
  int GetColCountCovered() const;
  int GetRowCountCovered() const;

  // ---- disjunct selections (real rows)
  bool GetRowSelect(int ARealRow);
  void SetRowSelect(int ARealRow, bool Value);
  bool GetColSelect(int ACol);
  void SetColSelect(int ACol, bool Value);
  void ClearRowSelect();
  void ClearColSelect();
  void SelectToRowSelect(bool All);
  void SelectToColSelect(bool All);
  int RowSelectCount();
  const std::vector<int>& SelectedRows() const { return FSelectedRows; }
  bool GetRowModified(int ARow) const;
  void SetRowModified(int ARow, bool Value);

  // ---- repainting and mouse points
  void RepaintRect(const TGridRect& R);
  void RepaintRow(int ARow);
  void RepaintCol(int ACol);
  void CellFromScreen(TPoint APoint, int& ACol, int& ARow);
  bool IsSizingEdge(int X, int Y);

  // ---- highlighting found text
  void HilightInCells(const std::string& Text, const std::string& Tag, int FromCol, int FromRow, int ToCol,
                      int ToRow, bool CaseSensitive);
  void HilightInGrid(bool DoFixed, bool CaseSensitive, const std::string& Text);
  void UnHilightInCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow);
  void UnHilightInGrid(bool DoFixed);

  // ---- hidden rows and columns; index mappings
  int RealColIndex(int ADisplCol);
  int DisplColIndex(int ARealCol) override;
  int RealRowIndex(int ADisplRow) const;
  int DisplRowIndex(int ARealRow) const;
  bool IsHiddenRow(int ARealRow) const;
  int NumHiddenRows() const { return FHiddenRows->Count(); }
  bool IsHiddenColumn(int ARealCol) const;
  int GetHiddenColCount() const { return FNumHiddenColumns; }
  int NumHiddenColumns() const { return FNumHiddenColumns; }
  int GetAllColCount() const { return ColCount() + FNumHiddenColumns; }
  std::string GetAllCellText(int ACol, int ARealRow);
  TCollection* HiddenRowList() const { return FHiddenRows.get(); }
  void HideRow(int ARealRow) { HideRows(ARealRow, ARealRow); }
  void HideRows(int FromRow, int ToRow);
  void HideRowList(const std::vector<int>& Rows);
  void UnHideRow(int ARealRow) { UnHideRows(ARealRow, ARealRow); }
  void UnHideRows(int FromRow, int ToRow);
  void UnHideRowsAll();

  // ---- filter
  virtual bool MatchFilter(int ARow);
  void ApplyFilter();
  bool FilterActive() const { return FFilterActive; }
  void SetFilterActive(bool v);

  // ---- redraw lock
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // ---- hooks
  virtual void CalcFooter(int ACol);
  virtual void UpdateFooter(int ACol) { CalcFooter(ACol); }
  virtual void AllCellsChanged() { CalcFooter(-1); }
  virtual void CellChanged(int ACol, int ARow);
  virtual void CellsChanged(const TRect& R);
  void AddChangeListener(TGridChangeListener* L);
  void RemoveChangeListener(TGridChangeListener* L);
  virtual std::string GetFormulaDisplayText(int ACol, int ARow) { return GetCellText(ACol, ARow); }
  virtual std::string SaveCellText(int ACol, int ARow);
  virtual void LoadCellText(int ACol, int ARow, std::string Value);
  virtual void DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual bool GetCellFixed(int ACol, int ARow);
  bool IsFixedCell(int ACol, int ARow) override;
  virtual bool DoCanEditCell(int ACol, int ARow);
  virtual bool CanEditCell(int ACol, int ARow);
  bool IsCellEditable(int ACol, int ARow) { return CanEditCell(ACol, ARow); }
  // Ends an edit in progress; nothing while no editor exists.
  void EndCellEdit() {}
  virtual TEditorType GetCellEditor(int ACol, int ARow);
  virtual bool GetCellPassword(int ACol, int ARow);
  virtual bool GetCellWordWrap(int ACol, int ARow);
  virtual bool HasComboBox(int ACol, int ARow);
  virtual std::string GetCheckTrue(int ACol, int ARow);
  virtual std::string GetCheckFalse(int ACol, int ARow);
  virtual bool HasCellButton(int, int) { return false; }
  virtual bool CanAddRow();
  virtual bool CanInsertRow(int ARow);
  virtual void AppendRow() { SetRowCount(RowCount() + 1); }
  virtual void NotifyProgress(int Kind, int Position) { (void)Kind; (void)Position; }
  virtual void ColumnHeadersChanged() {}
  int GetNodeIndent(int ARow) override;
  bool HasNodes() override { return false; }
  void LastRowChanged() override {}

  // Visual styles are drawn (the Windows XP flag).
  bool IsThemed() const { return FXPFlag; }
  // The default row height when the grid was read from its form.
  int OrgDefaultRowHeight() const { return FOrgDefaultRowHeight; }
  bool WasLoaded() const { return FWasLoaded; }
  const std::string& CheckTrue() const { return FCheckTrue; }
  const std::string& CheckFalse() const { return FCheckFalse; }
  TPoint CellTextOffset() const { return FCellTextOffset; }

  // ---- painting
  // Resolves brush, end colour, font, alignments and word wrap of a cell;
  // ACol is a display column (a real one unless ConvertColumn).
  virtual void GetCellFormat(int ACol, int ARow, TGridDrawState& AState, bool Printing, bool ApplySelection,
                             bool ConvertColumn, TBrush* ABrush, TColor& AColorTo, TFont* AFont, TAlignment& HAlign,
                             TVAlignment& VAlign, bool& AWordWrap, TCellGradientDirection& GradientDirection);
  void GetCellFormat(int ACol, int ARow, TCellGradientDirection& Direction, bool& Flag1, bool& Flag2, bool& Flag3,
                     TFont* AFont, TBrush* ABrush, TColor& AColorTo, bool Pass1, bool Pass2, bool Pass3,
                     TGridDrawState& AState) override;
  void DrawCellText(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  // A new cell record starts from the cell's resolved format; under bands
  // it keeps no colour of its own so the bands still show.
  void GetCellDefaults(int ACol, int ARow, TCellGradientDirection& Direction, bool& AWordWrap,
                       TVAlignment& AVAlignment, TAlignment& AAlignment, TColor& AColorTo, TFont* AFont,
                       TBrush* ABrush) override;
  virtual void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
  virtual std::string GetFormattedCellText(int ACol, int ARow);
  virtual void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
  // Width and height a cell's text needs (real column), with or without wrapping.
  TPoint GetCellTextSize(int ACol, int ARow, bool Wrap);
  // Column 0 under HotmailRowSelect reports the shared row check box.
  virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
  virtual TCellType GetCellType(int ACol, int ARow);
  // Replaces any graphic of the cell with a new ctNone one.
  TCellGraphic* CreateCellGraphic(int ACol, int ARow);
  bool RemoveCellGraphic(int ACol, int ARow);
  bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType AType);
  void AddCellCheckBox(int ACol, int ARow, bool State, bool Data);
  // False, State untouched, for a cell without a check box.
  bool GetCellCheckState(int ACol, int ARow, bool& State);
  bool SetCellCheckState(int ACol, int ARow, bool State);
  virtual bool ToggleCheck(int ACol, int ARow, bool CheckAllowed);
  void CheckAll(int ACol);
  void UnCheckAll(int ACol);
  bool HasCheckBox(int ACol, int ARow);
  bool IsInCheckBox(int ACol, int ARow, int X, int Y);
  void ToggleRadio(int ACol, int ARow, bool CheckAllowed);
  bool GetRadioIdx(int ACol, int ARow, int& Idx);
  TStrings* GetRadioStrings(int ACol, int ARow);
  bool IsRadio(int ACol, int ARow);
  bool HasCellControl(int ACol, int ARow);
  bool IsButtonCell(int ACol, int ARow);
  // ACol is a display column.
  void GetButtonRect(int ACol, int ARow, TRect& R);
  void SetButtonDown(int ACol, int ARow, bool Down);
  bool GetCellComment(int ACol, int ARow, std::string& Comment);
  void GetCellErrorRange(int ACol, int ARow, int& ErrFrom, int& ErrLen);
  // Left and top of a text drawn at Angle degrees inside R.
  void CalcRotatedTextOrigin(TRect& R, int Angle, const std::string& Text, TAlignment HAlign, TVAlignment VAlign);
  bool GetRotated(int ACol, int ARow, int& AAngle);
  // The size of the cell's graphic as laid out beside the text; (0, 0) without one.
  virtual TPoint GetCellGraphicSize(int ACol, int ARow);
  // Kinds of graphic that take the whole cell and show no text.
  virtual bool GraphicHidesText(const TCellGraphic* G) const;
  // Text width + 2 and "hg" height of the last text drawn, for a graphic after it.
  int LastTextWidth() const { return FLastTextWidth; }
  int LastTextHeight() const { return FLastTextHeight; }
  // XOR guide lines while a column or row is sized: drawing twice removes them.
  void DrawColSizingLine(int X);
  void DrawRowSizingLine(int Y);
  bool EditorShowing() const { return FEditorShowing; }
  // A check box in R in the ControlLook style.
  void DrawCellCheckBox(TCanvas* ACanvas, const TRect& R, bool Checked, bool Enabled);
  // The push button of a ctButton / ctBitButton cell at R inside the cell's rectangle.
  void DrawCellButton(TCanvas* ACanvas, const TRect& ACellRect, TRect R, TCellGraphic* G, int ACol, int ARow);
  // The options of a radio cell, side by side or one under the other; option
  // i (1-based) is on when i = SelectedIndex + 1, or, with SelectedIndex -1,
  // when its text is the cell's text.
  void DrawRadioGroup(TCanvas* ACanvas, TRect R, int ARow, int ACol, bool Selected, TStrings* AOptions,
                      bool Disabled, bool Horizontal, int SelectedIndex, int Count);
  // Colour schemes: 0 plain, 1..3 the system's visual-style schemes; styles 0..9.
  void ApplyThemeScheme(int Scheme);
  // The scheme of the active visual style: 1 "NormalColor", 2 "HomeStead", 3 "Metallic", else 0.
  int GetThemeScheme();
  void AdaptToTheme() { ApplyThemeScheme(GetThemeScheme()); }
  void ApplyStyleScheme(int Style);
  // Gradient of fixed cells in the looks that draw one.
  TColor FixedGradientStart() const { return FFixedGradientStart; }
  void SetFixedGradientStart(TColor v) { FFixedGradientStart = v; }
  TColor FixedGradientEnd() const { return FFixedGradientEnd; }
  void SetFixedGradientEnd(TColor v) { FFixedGradientEnd = v; }
  int ZoomTotal() const { return FZoomTotal; }
  bool DisjunctReplace() const { return FDisjunctReplace; }
  void SetDisjunctReplace(bool v) { FDisjunctReplace = v; }
  // Disjointly selected cells, each the row in the high and the column in the low 16 bits.
  std::vector<uint32_t>& SelectedCells() { return FSelectedCells; }
  bool IsCellDisjunctSelected(int ACol, int ARow) const;
  // Kept while the in-place editor shows (set by the editing cycle).
  void SetEditorShowing(bool v) { FEditorShowing = v; }

  // ---- rows and columns: inserted, removed and cleared with their records,
  // graphics, heights, widths and row marks. Rows are display rows.
  virtual void RemoveRows(int ARow, int ACount);
  // Takes the rows out; their records stay with the caller, heights stay put.
  virtual void RemoveRowsUnreleased(int ARow, int ACount);
  // Frees the rows' records and moves the rows below up (texts, records, heights).
  virtual void RemoveRowsShifted(int ARow, int ACount);
  virtual void InsertRows(int ARow, int ACount, bool AdjustControls = true);
  virtual void RemoveCols(int ACol, int ACount);
  virtual void InsertCols(int ACol, int ACount);
  // Display columns; frees the records (and graphics) of the cells.
  virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void ClearRows(int ARow, int ACount);
  void ClearCols(int ACol, int ACount);
  void ClearAll();
  void AddRow();
  void RemoveSelectedRows();
  void ClearSelection();
  // The redraw lock under its other names.
  void LockRedraw() { BeginUpdate(); }
  void UnlockRedraw() { EndUpdate(); }
  // The selection is parked off the grid while no row is left to select.
  void HideSelection();
  void RestoreSelection();
  bool SelectionHidden() const { return FSelectionHidden; }
  // The column order the column moves keep; filled with 0..ColCount-1 when empty.
  void InitColumnOrder();
  TIntList* ColumnOrder() const { return FColumnOrder.get(); }
  // While set, ClearRect only detaches records (the sort's scratch rows).
  void SetClearDetachesOnly(bool v) { FClearDetachesOnly = v; }

  // ---- event hooks
  virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
  virtual void AutoInsertRow(int ARow);
  virtual void AutoDeleteRow(int ARow);
  // Progress of a paste: 0 at the start, 1 or 3 with the row, 2 at the end.
  virtual void NotifyPasteProgress(int Stage, int ARow) { (void)Stage; (void)ARow; }
  // Told by the in-place editor of its text after each key and on leaving.
  virtual void EditorTextChanged(const std::string& Text, int CaretPos, bool Flag) {
    (void)Text; (void)CaretPos; (void)Flag;
  }
  // The date picker of the current cell reports a new value.
  void DateTimeChanged(TDateTime Value);
  // The balloon's title, text and icon for a cell (-1, -1: no cell): the
  // shown text as plain text, tabs as blanks, leading breaks dropped, cut to
  // 1,021 characters and "...", then OnCellBalloon, whose text is cut the
  // same way; the title is cut to 97 characters and "...".
  void GetBalloonText(int ACol, int ARow, std::string& ATitle, std::string& AText, int& AIcon);
  int BalloonCol() const { return FBalloonCell.X; }
  int BalloonRow() const { return FBalloonCell.Y; }
  // Saved texts are the shown (formatted) ones; off: the stored ones.
  bool SaveShownText() const { return FSaveShownText; }
  void SetSaveShownText(bool v) { FSaveShownText = v; }
  // Saved texts keep their HTML tags; off: reduced to plain text.
  bool SaveKeepHTML() const { return FSaveKeepHTML; }
  void SetSaveKeepHTML(bool v) { FSaveKeepHTML = v; }

  // ---- cell stream: the cells of a rectangle with their records, graphics
  // and graphic contents. The reader checks the whole stream before it
  // changes the grid and raises EPlusGridError for a malformed one.
  void SaveCellsToStream(const TGridRect& R, TStream& Stream);
  void LoadCellsFromStream(TPoint Target, TStream& Stream);
  void CopyCellsToClipboard(const TGridRect& R);
  void CopyRTFToClipboard(int ACol, int ARow);
  // Identifies this grid in the streams it writes: a token of the process
  // plus the grid's serial number.
  uint64_t StreamID() const;

  // ---- clipboard: tab-separated text (fields holding a TAB, a line break or
  // a quote are quoted, inner quotes doubled), rich text and the cell stream
  void CopyRangeToClipboard(const TGridRect& R, bool SelectedOnly);
  void CopySelectionToClipboard();
  void CopyGridToClipboard();
  void CutSelectionToClipboard();
  int PasteFromClipboardAt(int ACol, int ARow);
  int PasteText(int ACol, int ARow, const std::string& Text);
  void PasteSelectionFromClipboard();
  bool IsSelectedCell(int ACol, int ARow);
  void ExtendSelectionToMerges();
  // Widest line in TAB-separated fields, and line breaks ending non-empty lines.
  TPoint GetTextDimensions(const std::string& Text);
  // A check-box cell is checked exactly by the check-true text; others take the text.
  virtual void SetPastedCell(int ACol, int ARow, const std::string& Value);
  // Hooks around pastes; nothing here.
  virtual void BeforePaste() {}
  virtual void AfterStreamPaste() {}
  virtual void AfterPaste(TPoint Origin, const TGridRect& Target, bool LastWasCopy) {
    (void)Origin; (void)Target; (void)LastWasCopy;
  }
  // Called by a mouse press on a cell while the click hook is wanted.
  virtual void CellClickHook(int ACol, int ARow) { (void)ACol; (void)ARow; }
  TPoint CopyOrigin() const { return FCopyOrigin; }


  // ---- cell graphic extents and drawing
  // How the painter places a cell's graphic: its size, alignments and
  // whether the cell's text shows too. No graphic: 0 x 0, text shown.
  struct TCellGraphicLayout {
    TCellGraphic* Graphic = nullptr;
    int W = 0, H = 0;
    TCellHAlign HAlign = haLeft;
    TCellVAlign VAlign = vaTop;
    bool ShowText = true;
  };
  TCellGraphicLayout GetCellGraphicLayout(int ACol, int ARow);
  // The graphic's size for an output of scale Factor whose cell is Width x Height.
  virtual TPoint GetCellGraphicSizeScaled(int ACol, int ARow, double Factor, int Width, int Height);
  // The image indexes of a ctImages cell; nil for any other kind.
  TIntList* GetCellImages(int ACol, int ARow);
  // Bitmap, icon or image-list reference of the graphic; -1 for other kinds.
  int GetCellGraphicValue(int ACol, int ARow);
  bool IsPasswordCell(int ACol, int ARow) { return GetCellPassword(ACol, ARow); }
  // Repaints the header cells (last fixed row and column) of two positions.
  void RepaintCellHeaders(int Col1, int Row1, int Row2, int Col2);
  // The graphic G of the pass's cell inside ACellRect (the cell's full rectangle);
  // HAlign and VAlign are the cell's text alignments.
  void DrawCellGraphic(TCanvas* ACanvas, const TRect& ACellRect, TCellGraphic* G, int ACol, int ARealCol, int ARow,
                       TGridDrawState AState, TAlignment HAlign, TVAlignment VAlign);
  // The expand / contract glyph of a node row and the tree lines of column 0.
  void DrawNodeGlyph(TCanvas* ACanvas, const TRect& ACellRect, TCellGraphic* G, int ARow);
  void DrawTreeLines(TCanvas* ACanvas, const TRect& ACellRect, int ARow);

private:
  // The graphic's room by the sizing table, with or without the full alignments.
  TPoint CellGraphicExtent(int ACol, int ARow, bool ApplyFull);

public:

  // ---- column sizes kept between runs (ColumnSize: Key, Section, Location)
  void SaveColumnSizes();
  void LoadColumnSizes();
  // Stretches column ACol (-1 the last) to fill the client width; no-op until
  // the sizing code overrides it.
  virtual void StretchColumn(int ACol) { (void)ACol; }

protected:
  // Reads the kept widths when the window is made (ColumnSize.Save).
  void CreateWnd() override;
  void SaveColumnSizesOnDestroy();

public:
  // ---- floating footer
  TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
  void SetFloatingFooter(TFloatingFooter* v) { if (v) FFloatingFooter->Assign(v); }
  // Made when the footer first shows.
  TFooterPanel* FooterPanel();
  bool HasFooterPanel() const { return FFooterPanel != nullptr; }
  // Column figures of the footer row over FromRow..ToRow; a ToRow beyond the
  // shown rows counts real rows, hidden ones included.
  double FooterFigure(int Kind, int ACol, int FromRow, int ToRow);

  // ---- background picture or gradient
  TBackGround* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TBackGround* v);
  // The area beyond the last column and row.
  void PaintEmptyArea();

protected:
  // The background of one cell (picture, then gradient) before its text.
  void DrawCellBackground(TCanvas* ACanvas, int ACol, int ARow, const TRect& R, TGridDrawState AState);

private:
  std::unique_ptr<TFloatingFooter> FFloatingFooter = std::make_unique<TFloatingFooter>(this);
  TFooterPanel* FFooterPanel = nullptr;
  bool FCalculatingFooter = false;
  std::unique_ptr<TBackGround> FBackGround = std::make_unique<TBackGround>(this);

public:
  // ---- events
  TAutoAdvanceEvent OnAutoAdvance;
  TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
  TGridAlignEvent OnGetAlignment;
  TWordWrapEvent OnGetWordWrap;
  TGetCheckEvent OnGetCheckTrue, OnGetCheckFalse;
  TGridHintEvent OnGridHint;
  TRowChangedEvent OnRowUpdate;
  TRowChangingEvent OnRowChanging;
  TColChangingEvent OnColChanging;
  TCellChangingEvent OnCellChanging;
  TCanAddRowEvent OnCanAddRow;
  TAutoAddRowEvent OnAutoAddRow;
  TCanInsertRowEvent OnCanInsertRow;
  TAutoInsertRowEvent OnAutoInsertRow;
  TAutoInsertColEvent OnAutoInsertCol;
  TCanDeleteRowEvent OnCanDeleteRow;
  TAutoDeleteRowEvent OnAutoDeleteRow;
  TClickSortEvent OnClickSort;
  TCanSortEvent OnCanSort;
  TNodeClickEvent OnExpandNode, OnContractNode;
  TNodeAllowEvent OnBeforeExpandNode, OnBeforeContractNode;
  TCustomCompareEvent OnCustomCompare;
  TRawCompareEvent OnRawCompare;
  TClickCellEvent OnClickCell, OnRightClickCell;
  TDblClickCellEvent OnDblClickCell;
  TCanClickCellEvent OnCanClickCell;
  TCanEditCellEvent OnCanEditCell;
  TIsFixedCellEvent OnIsFixedCell;
  TIsPasswordCellEvent OnIsPasswordCell;
  TAnchorClickEvent OnAnchorClick;
  TAnchorEvent OnAnchorEnter, OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TClipboardEvent OnClipboardPaste, OnClipboardCopy, OnClipboardCut;
  TBeforeCellPasteEvent OnClipboardBeforePasteCell;
  TCellValidateEvent OnCellValidate;
  TCellsChangedEvent OnCellsChanged;
  TGridProgressEvent OnFileProgress, OnFilterProgress;
  THasComboEvent OnHasComboBox;
  TGetEditorTypeEvent OnGetEditorType;
  TFloatFormatEvent OnGetFloatFormat;
  TEllipsClickEvent OnEllipsClick;
  TButtonClickEvent OnButtonClick;
  TCheckBoxClickEvent OnCheckBoxClick, OnCheckBoxMouseUp;
  TRadioClickEvent OnRadioClick, OnRadioMouseUp;
  TClickCellEvent OnDatePickerCloseUp, OnComboCloseUp;
  TNotifyEvent OnEditingDone;
  TEditCellDoneEvent OnEditCellDone;
  TEditChangeEvent OnEditChange;
  TRowDisjunctSelectEvent OnRowDisjunctSelect;
  TAutoInsertRowEvent OnRowDisjunctSelected;
  TSelectionChanged OnSelectionChanged;
  TScrollHintEvent OnScrollHint;
  TColumnSizeEvent OnColumnSize, OnColumnMove;
  TRowSizeEvent OnRowSize, OnRowMove;
  TEndColumnSizeEvent OnEndColumnSize;
  TUpdateColumnSizeEvent OnUpdateColumnSize;
  TEndRowSizeEvent OnEndRowSize;
  TCellSaveLoadEvent OnSaveCell, OnLoadCell;
  TCustomCellDrawEvent OnCustomCellDraw;
  TCustomCellSizeEvent OnCustomCellSize;
  TGridBorderPropEvent OnGetCellBorderProp;
  TGridBorderEvent OnGetCellBorder;
  TOfficeHintEvent OnOfficeHint;
  TGridBalloonEvent OnCellBalloon;
  TGridPrintPageEvent OnPrintPage;
  TGridPrintPageDoneEvent OnPrintPageDone;
  TGridPrintStartEvent OnPrintStart;
  TGridPrintCancelEvent OnPrintCancel;
  TDoFitToPageEvent OnFitToPage;
  TGridPrintNewPageEvent OnPrintNewPage;
  TGridPrintColumnWidthEvent OnPrintSetColumnWidth;
  TGridPrintRowHeightEvent OnPrintSetRowHeight;
  TCellControlEvent OnControlClick, OnControlEditDone;
  TCellComboControlEvent OnControlComboList;
  TBeforeCellPasteWideEvent OnClipboardBeforePasteWideCell;
  TCellValidateWideEvent OnCellValidateWide;
  TComboChangeEvent OnComboChange;
  TComboObjectChangeEvent OnComboObjectChange;
  TSpinClickEvent OnSpinClick;
  TFloatSpinClickEvent OnFloatSpinClick;
  TDateTimeSpinClickEvent OnTimeSpinClick, OnDateSpinClick;
  TNotifyEvent OnRichEditSelectionChange;
  TDateTimeChangeEvent OnDateTimeChange;
  TFooterPaintEvent OnFooterPaint;
  TOleDragDropEvent OnOleDrop, OnOleDrag;
  TOleDroppedEvent OnOleDropped;
  TOleDragOverEvent OnOleDragOver;
  TOleDragStartEvent OnOleDragStart;
  TOleDragStopEvent OnOleDragStop;
  TOleDropColEvent OnOleDropCol;
  TOleDropFileEvent OnOleDropFile;
  TSelectionResizeEvent OnSelectionResize, OnSelectionResized;
  TSetEditWideTextEvent OnSetEditWideText;
  TGetEditWideTextEvent OnGetEditWideText;

protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  void DrawCellBorders(TCanvas* ACanvas, int ACol, int ARow, TRect R);
  // Fixed cells by Look, before and after the content; C is the cell's own rectangle.
  bool IsLookFixedCell(int ACol, int ARow);
  void DrawFixedLookBefore(TCanvas* ACanvas, int ACol, int ARow, const TRect& C);
  void DrawFixedLookAfter(TCanvas* ACanvas, int ACol, int ARow, const TRect& C);
  // The shown text with its kind: formulas resolved, passwords masked.
  std::string ShownCellText(int ACol, int ARow, TCellTextKind& AKind);
  TCellGraphic* BaseCellGraphic(int ACol, int ARow);
  // Border hook: ACol is a real column.
  virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
  // The text of a cell in its kind (plain, wide, HTML) inside R.
  virtual void DrawCellTextContent(TCanvas* ACanvas, int ACol, int ARealCol, int ARow, TRect R,
                                   TGridDrawState AState, TAlignment HAlign, TVAlignment VAlign, bool AWordWrap,
                                   TColor ALinkColor);
  // Selection colours, selection frame and text inside the cell.
  virtual void DrawCellContent(TCanvas* ACanvas, int ACol, int ARealCol, int ARow, int ASelRow, TRect R,
                               TGridDrawState AState, TAlignment HAlign, TVAlignment VAlign, bool AWordWrap);
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  void FormResized();
  void WriteColumnHeaders();
  void WriteRowHeaders();
  void MergeColumns();
  void CheckRealRow(int ARealRow) const;
  // Moves a row's texts, records and height within the grid (all columns,
  // hidden ones included); the source keeps no object.
  void MoveRowData(int From, int To);
  // Takes rows out of the grid keeping their records (already handed over).
  void RemoveRowsKeepObjects(int ARow, int Count);
  void InsertEmptyRows(int ARow, int Count);
  void StoreRowInItem(TGridItem* Item, int ADisplRow, int ARealRow);
  void RestoreRowFromItem(TGridItem* Item, int ADisplRow);
  TGridItem* HiddenItem(int Index) const { return static_cast<TGridItem*>(FHiddenRows->Items(Index)); }
  void FilterDone();

  std::unique_ptr<TMouseActions> FMouseActions;
  std::unique_ptr<TNavigation> FNavigation;
  std::unique_ptr<TColumnSize> FColumnSize;
  std::unique_ptr<TCellNode> FCellNode;
  std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
  std::unique_ptr<THTMLSettings> FHTMLSettings;
  std::unique_ptr<TPrintSettings> FPrintSettings;
  std::unique_ptr<TBands> FBands;
  std::unique_ptr<TControlLook> FControlLook;
  std::unique_ptr<TCellGraphic> FRowCheckGraphic = std::make_unique<TCellGraphic>();
  std::unique_ptr<TShowModified> FShowModified;
  bool FEditorShowing = false, FDisjunctReplace = false, FBlinkOn = true;
  int FLastTextWidth = 0, FLastTextHeight = 0;
  TColor FFixedGradientStart = 0xFFFFFF, FFixedGradientEnd = static_cast<TColor>(ColorToRGB(clBtnFace));
  int FZoomTotal = 0;
  std::vector<uint32_t> FSelectedCells;
  std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
  std::unique_ptr<TFilter> FFilter;
  std::unique_ptr<TCollection> FHiddenRows;
  std::unique_ptr<TFont> FFixedFont, FActiveCellFont;
  std::unique_ptr<TStringList> FColumnHeaders, FRowHeaders, FLookupItems, FSortRowScratch;
  std::unique_ptr<TSortIndexList> FSortIndexes;
  std::unique_ptr<TIntList> FUnsortedRows, FUnsortedRowsCopy, FMergedColumns, FPaintList, FSelectedRowList,
      FRowModifiedList, FColumnOrder;
  std::unique_ptr<TBitmap> FRowIndicator;
  std::unique_ptr<TControlList> FControlList;
  std::unique_ptr<TPlusHintInfo> FOfficeHint;
  std::unique_ptr<THTMLPictureCache> FPictureCache;
  TPictureContainer* FPictureContainer = nullptr;
  TCustomImageList* FGridImages = nullptr;
  TArrowWindow* FArrows[4] = {nullptr, nullptr, nullptr, nullptr};
  // The owning form while the grid follows its size; the same object as a
  // component, for the check made while the form is being destroyed.
  TCustomForm* FResizeForm = nullptr;
  TComponent* FResizeFormComponent = nullptr;
  int FFormWidth = 0, FFormHeight = 0;
  std::vector<TGridChangeListener*> FListeners;

  std::vector<bool> FColVisible;  // by real column, sized with the columns
  int FNumHiddenColumns = 0;
  std::vector<bool> FRowSelectFlags, FColSelectFlags, FRowModified;
  std::vector<int> FSelectedRows;
  int FMaxRowCountSet = 0, FMaxColCountSet = 0;
  int FAlwaysFixedRows = 1, FAlwaysFixedCols = 1;
  bool FFixedRowAlways = false, FFixedColAlways = false;
  int FFixedRowHeight = 21;
  int FFixedRightCols = 0, FFixedFooters = 0;
  TScrollStyle FGridScrollBars = ssBoth;
  std::string FCheckTrue = "Y", FCheckFalse = "N";
  TPoint FCellTextOffset{2, 2};
  bool FSuppressInvalidate = false;
  bool FWasLoaded = false;
  int FLastReportedRow = -1;
  bool FFilterActive = false;
  int FFilterFixedRows = 0;
  bool FRestoreSelection = false;
  TGridRect FSavedSelection;
  int FUpdateCount = 0;
  bool FRepaintPending = false;
  bool FFlat = false;
  bool FXPFlag = false;
  int FOrgDefaultRowHeight = 21;
  TCursor FSavedCursor = crDefault;

  bool FFixedAsButtons = false, FMultilinecells = false, FIntegralHeight = false, FAutoSize = false,
       FSizeWithForm = false, FEnhRowColMove = true;
  TGridLook FLook = glXP;
  TColor FSelectionColor = 0xEACAB6, FSelectionColorTo = clNone, FSelectionTextColor = clBlack;
  bool FSelectionRectangle = false, FSelectionResizer = false, FSelectionRTFKeep = false, FShowSelection = true,
       FHideFocusRect = false, FActiveCellShow = false;
  TColor FActiveCellColor = clGray, FActiveCellColorTo = clNone;
  bool FHovering = false;
  std::string FFloatFormat = "%.2f";
  bool FAutoNumAlign = false, FEnhTextSize = false, FEnableHTML = true, FEnableBlink = false, FHTMLHint = false;
  TColor FURLColor = clBlue;
  bool FURLShow = false, FURLFull = false, FURLEdit = false, FAnchorHint = false;
  TEditorType FDefaultEditor = edNormal;
  bool FEditWithTags = false;
  int FMaxEditLength = 0;
  bool FLookup = false, FLookupCaseSensitive = false, FLookupHistory = false, FOemConvert = false,
       FExcelStyleDecimalSeparator = false;
  TScrollBarAlways FScrollBarAlways = saNone;
  TScrollType FScrollType = ssNormal;
  TColor FScrollColor = clNone;
  int FScrollWidth = 17;
  bool FScrollProportional = false, FScrollSynch = false;
  TScrollHintType FScrollHints = shNone;
  bool FEnableWheel = true;
  TIntelliPan FIntelliPan = ipVertical;
  bool FIntelliZoom = true;
  TColor FHintColor = clInfoBk;
  bool FHintShowCells = false, FHintShowLargeText = false, FHintShowSizing = false;
  TVAlignment FVAlignment = vtaTop;
  char FPasswordChar = '*';
  bool FIncludeFixedCells = true;
  bool FAutoThemeAdapt = false;

  // ---- rows and columns, hooks, cell stream, clipboard
  void DeleteRowsCore(int ARow, int ACount, bool AdjustHidden);
  void MoveColData(int From, int To);
  void PlaceCurrentAfterRemoval(int SavedRow, int SavedTop);
  bool FSelectionHidden = false;
  TGridRect FHiddenSelection{};
  bool FClearDetachesOnly = false;
  bool FSaveShownText = true, FSaveKeepHTML = true;
  TPoint FBalloonCell{-1, -1};
  // The records of R; Report runs the progress hooks.
  void WriteCellStream(const TGridRect& R, TStream& Stream, bool Report);
  // Absolute: cells go to their own coordinates (copying a whole grid).
  void ReadCellStream(TStream& Stream, TPoint Target, bool Absolute);
  mutable uint64_t FStreamID = 0;
  // The size and writer of the last stream read.
  int FStreamCols = 0, FStreamRows = 0;
  uint64_t FStreamWriter = 0;
  void SmartFill(const TGridRect& Sel, int N);
  TPoint FCopyOrigin{-1, -1};
  bool FLastActionCopy = false;
};
