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
#include "grid/support/psgcombo.h"
#include "grid/support/plusutil.h"
#include "grid/support/psgcheck.h"
#include "grid/support/picturecontainer.h"
#include "platform/ui/dragdrop.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/hintwindows.h"
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
class TGridTransEdit;
class TGridCombo;
class TGridUniCombo;
class TGridSpin;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridUniEdit;
class TGridUniEditBtn;
class TGridUniMemo;
class TGridCheckBox;
class TGridButton;
class TGridDatePicker;
class TEditLink;
class TPlusRichEdit;
class TRichEdit;

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
enum TDragScrollDirections { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TEnumSet<TDragScrollDirections>;
using TDragScrollEvent = std::function<void(TObject* Sender, int TopRow, int LeftCol,
                                            TDragScrollDirection& DragScrollDir, bool& CanScroll)>;

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
using TGridFormatEvent = std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, std::string& aPrefix,
                                            std::string& aSuffix)>;
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
using TGetEditorPropEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)>;

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
// Finding text in cells

enum TFindParam {
  fnMatchCase,        // texts compared as they are, else both upper-cased
  fnWholeCell,        // the cell text equals the search text
  fnConditionMatch,   // MatchCondition decides instead of the other tests
  fnRowByRow,         // along each row, else down each column
  fnAtStart,          // the search text starts the cell text
  fnCurrentRowOnly,
  fnCurrentColOnly,
  fnIncludeFixed,     // all cells, else the normal ones
  fnGotoFound,        // a found cell becomes current
  fnStripTags,        // markup removed before the test
  fnBackward,
  fnHiddenCols,       // columns are real columns, the range grows by the hidden ones
  fnPresetCol         // only the preset column
};
using TFindParams = TEnumSet<TFindParam>;

class TEdit;
class TCheckBox;
class TPlusGridButton;

// The search strip at the grid's bottom: close button, text box, find next,
// find previous, highlight toggle and match-case box.
class TSearchPanel : public TCustomPanel {
  ZV_CLASS(TSearchPanel)
public:
  explicit TSearchPanel(TComponent* AOwner);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor v);
  TPlusGridButton* CloseButton() const { return FClose; }
  TEdit* SearchEdit() const { return FEdit; }
  TPlusGridButton* FindNextButton() const { return FNext; }
  TPlusGridButton* FindPrevButton() const { return FPrev; }
  TPlusGridButton* HighlightButton() const { return FHighlight; }
  TCheckBox* MatchCaseBox() const { return FMatchCase; }
  // Captions and hints as the grid last applied them; put on the buttons
  // when the window is made and at once when it exists.
  void SetTexts(const std::string& Next, const std::string& Prev, const std::string& Highlight,
                const std::string& MatchCase, const std::string& HintClose, const std::string& HintNext,
                const std::string& HintPrev, const std::string& HintHighlight);
  // Shows the buttons that are switched on and places the match-case box.
  void ArrangeControls(bool ShowClose, bool ShowNext, bool ShowPrev, bool ShowHighlight, bool ShowMatchCase);
  TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighlightClick;

protected:
  void Paint() override;
  void CreateWnd() override;

private:
  void EditChanged();
  void ApplyTexts();
  TColor FColorTo = clNone;
  TPlusGridButton *FClose, *FNext, *FPrev, *FHighlight;
  TEdit* FEdit;
  TCheckBox* FMatchCase;
  std::string FTexts[8];
};


// The in-place editors of controls embedded in cell markup: an edit (also
// for passwords and masks) and a combo. Enter ends the edit; Tab ends it and
// goes on to the cell's next editable control.
class TControlEdit : public TMaskEdit {
  ZV_CLASS(TControlEdit)
public:
  explicit TControlEdit(TComponent* AOwner);
  void KeyPress(char& Key) override;

protected:
  void WMGetDlgCode(TMessage& M) override;
};

class TControlCombo : public TASGComboBox {
  ZV_CLASS(TControlCombo)
public:
  explicit TControlCombo(TComponent* AOwner);
  void KeyPress(char& Key) override;

protected:
  void WMGetDlgCode(TMessage& M) override;
};

// What a press on a cell's markup hit: an anchor, or an embedded control
// (then Anchor is "ctrl").
struct TCellLinkHit {
  std::string Anchor;
  std::string ControlID, ControlType, ControlValue;
  TRect ControlRect{};
};


// The grid's hint window: mini-HTML without a border, for size and scroll hints.
class THTMLHintWindow : public THintWindow {
  ZV_CLASS(THTMLHintWindow)
public:
  explicit THTMLHintWindow(TComponent* AOwner);
  // The rendered text's size, no margin added.
  TRect CalcHintRect(int MaxWidth, const std::string& AHint) override;
  // Text width + 16 by text height + 4 at Rect's top-left, kept 2 pixels
  // inside the monitor's right and bottom edges.
  void ActivateHint(TRect Rect, const std::string& AHint) override;
  int TextWidth() const { return FTextWidth; }
  int TextHeight() const { return FTextHeight; }

protected:
  void Paint() override;
  void CMTextChanged(TMessage& M) override;

private:
  int FTextWidth = 0, FTextHeight = 0;
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
  // The version number's four bytes, then the release date.
  virtual std::string GetVersionString() const;
  // The version number alone, as four decimal parts.
  std::string Version() const;
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
  TColor ScrollColor() const { return FScrollColor; }
  void SetScrollColor(TColor v);
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int v);
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
  virtual TEditorType GetCellEditor(int ACol, int ARow);
  virtual bool GetCellPassword(int ACol, int ARow);
  virtual bool GetCellWordWrap(int ACol, int ARow);
  virtual bool HasComboBox(int ACol, int ARow);
  virtual std::string GetCheckTrue(int ACol, int ARow);
  virtual std::string GetCheckFalse(int ACol, int ARow);
  virtual bool HasCellButton(int, int) { return false; }
  virtual void AppendRow() { SetRowCount(RowCount() + 1); }
  virtual void NotifyProgress(int Kind, int Position) { (void)Kind; (void)Position; }
  virtual void ColumnHeadersChanged() {}
  int GetNodeIndent(int ARow) override;
  bool HasNodes() override { return FNodeCount > 0; }
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
  // The sort direction mark of a header cell, centred near (X, Y); with
  // SortSettings.IndexShow the column's place in the sort index list.
  void DrawSortIndicator(int ACol, int Y, int X) { DrawSortIndicator(Canvas(), ACol, Y, X); }
  void DrawSortIndicator(TCanvas* ACanvas, int ACol, int Y, int X);
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

  // ---- sorting (plusgrid_sort.cpp)
  TSortSettings* SortSettings() const { return FSortSettings.get(); }
  void SetSortSettings(TSortSettings* v) { if (v) FSortSettings->Assign(v); }
  // Sort columns in priority order, bit 31 set for a descending column.
  TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
  // Entry k: the place before the first sort of the row now at k.
  TIntList* UnsortedRows() const { return FUnsortedRows.get(); }
  void ResetUnsortedOrder();
  virtual void QSort();
  virtual void QSortIndexed();
  virtual void QSortGroup();
  virtual void QSortGroupIndexed();
  virtual void UnSort();
  int CompareRowCells(int ACol, int ARow1, int ARow2, bool Descending);
  int CompareRows(int ACol, int ARow1, int ARow2);
  int CompareRowsIndexed(int AIndex, int ARow1, int ARow2);
  void SplitColumnCells(int ACol);
  void MergeColumnCells(int ACol, bool FirstColumn);
  // What a click in the sort row on ACol does to the sort state.
  void SortColumnClick(int ACol, TShiftState Shift);
  // The sort style hook: fires OnGetFormat.
  virtual void GetColFormat(int ACol, TSortStyle& AStyle, std::string& APrefix, std::string& ASuffix);
  virtual void SwapSortRows(int ARow1, int ARow2);

  // ---- row nodes (plusgrid_nodes.cpp); rows are display rows unless named real
  void AddNode(int ARealRow, int ASpan);
  void RemoveNode(int ARealRow);
  void RemoveAllNodes();
  bool IsNode(int ARow);
  bool IsSummary(int ARow);
  // True for a contracted node.
  bool GetNodeState(int ARow);
  int GetNodeLevel(int ARow);
  int GetNodeSpan(int ARow);
  void ChangeNodeSpan(int ARow, int Delta);
  int GetParentNode(int ARow);
  void ExpandNode(int ARealRow);
  void ContractNode(int ARealRow);
  void ExpandAll();
  void ContractAll();
  bool IsOnNodeButton(int ARow, int X);
  int GetTreeLineKind(int ARow);
  void InsertRowAt(int ARealRow);
  void DeleteRowAt(int ARealRow);
  void InsertChildRow(int ARealRow, int After);
  void DeleteChildRow(int ARealRow);
  int NodeCount() const { return FNodeCount; }
  TStringList* GetHiddenRowCells(int ARealRow);
  TControl* GetCellControl(int ACol, int ARow);

  // ---- grouping (plusgrid_group.cpp)
  TGrouping* Grouping() const { return FGrouping.get(); }
  void SetGrouping(TGrouping* v) { if (v) FGrouping->Assign(v); }
  virtual void Group(int ACol);
  virtual void UnGroup();
  virtual void SubGroup(int ACol);
  virtual void UnSubGroup(int ACol);
  // The grouped column; -1 when no grouping is active.
  int GroupColumn() const { return FGroupColumn; }
  void SetSummaryRow(int ARow);
  // clNone frees the records of the row's cells.
  void SetRowColor(int ARow, TColor AColor);
  void SetRowColorTo(int ARow, TColor AColor);
  void SetRowFontColor(int ARow, TColor AColor);
  void SetCellColor(int ACol, int ARow, TColor AColor);
  void SetCellColorTo(int ACol, int ARow, TColor AColor);
  void SetCellFontColor(int ACol, int ARow, TColor AColor);
  TColor GetCellColor(int ACol, int ARow);
  bool IsCellReadOnly(int ACol, int ARow);

  // ---- files, the text stream and column figures (plusgrid_files.cpp)
  // Loads and saves cover the fixed cells too (the same setting as IncludeFixedCells).
  bool FixedCellsInFiles() const { return FIncludeFixedCells; }
  void SetFixedCellsInFiles(bool v) { FIncludeFixedCells = v; }
  bool FirstLineIsData() const { return FFirstLineIsData; }
  void SetFirstLineIsData(bool v) { FFirstLineIsData = v; }
  // The zero character: detected per file.
  char FileDelimiter() const { return FFileDelimiter; }
  void SetFileDelimiter(char v) { FFileDelimiter = v; }
  bool TildeLineBreaks() const { return FTildeLineBreaks; }
  void SetTildeLineBreaks(bool v) { FTildeLineBreaks = v; }
  // The whole file is read and checked before the grid changes; a file that
  // cannot be opened or holds NUL bytes raises EPlusGridError.
  void LoadFromCSV(const std::string& FileName, int MaxRows = -1);
  void LoadExcelFile(const std::string& FileName) { LoadExcelSheet(FileName, ""); }
  void LoadExcelSheet(const std::string& FileName, const std::string& SheetName);
  void SaveExcelFile(const std::string& FileName, bool NewWorkbook) { SaveExcelSheet(FileName, "", NewWorkbook); }
  // Always .xlsx content, written to exactly FileName.
  void SaveExcelSheet(const std::string& FileName, const std::string& SheetName, bool NewWorkbook);
  void SaveCellsAsText(TStream* AStream);
  void LoadCellsFromText(TStream* AStream);
  double ColumnSum(int ACol, int FromRow, int ToRow);
  double ColumnAvg(int ACol, int FromRow, int ToRow);
  double ColumnMin(int ACol, int FromRow, int ToRow);
  double ColumnMax(int ACol, int FromRow, int ToRow);
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
  // Stretches column ACol (-1 the last) to fill the client width: the
  // automatic path (form resize, count change), where a column beyond the
  // last stands for the last one.
  virtual void StretchColumn(int ACol);

public:
  // ---- stretching and sizing to contents (plusgrid_stretch.cpp)
  // Stretches ACol (-1 the last) to fill the client width; raises Exception
  // "Stretch column index out of range" for a column at or beyond ColCount.
  void StretchCol(int ACol);
  // Set once a stretch was done; from then on width changes stretch again.
  bool Stretched() const { return FStretched; }
  bool AutoSize() const { return FAutoSize; }
  // On: every normal column sized to its contents plus 10 pixels.
  void SetAutoSize(bool v);
  void AutoSizeColumns(bool IncludeFixed, int Extra);
  void AutoSizeCol(int ACol) { SizeColToContent(ACol, false); }
  void AutoSizeRow(int ARow) { SizeRowToContent(ARow, false); }
  // GrowOnly: a size changes only when it grows.
  void SizeColToContent(int ACol, bool GrowOnly);
  void SizeRowToContent(int ARow, bool GrowOnly);
  void SetRowHeightByLines(int ARow, int Lines, int Extra);
  // Limits of automatic sizing; 0 is no limit (a minimum equal to its maximum
  // leaves sizes alone).
  int MinColWidth() const { return FMinColWidth; }
  int MaxColWidth() const { return FMaxColWidth; }
  int MinRowHeight() const { return FMinRowHeight; }
  int MaxRowHeight() const { return FMaxRowHeight; }
  void SetColWidthLimits(int AMin, int AMax) { FMinColWidth = AMin; FMaxColWidth = AMax; }
  void SetRowHeightLimits(int AMin, int AMax) { FMinRowHeight = AMin; FMaxRowHeight = AMax; }
  // The line a button press may size, with its size then; the width and
  // height change handling ends the sizing from it.
  void NoteSizingPress(int ACol, int ARow);
  int SizingCandidateCol() const { return FSizeCandCol; }
  int SizingCandidateRow() const { return FSizeCandRow; }
  // Set at every column width change that is reported; the button release clears it.
  bool ColumnSized() const { return FColumnSized; }
  void SetColumnSized(bool v) { FColumnSized = v; }
  // Both fire OnUpdateColumnSize: after a mouse sizing, after an automatic one.
  virtual void DoUpdateColumnSize(int ACol, int& AWidth);
  virtual void DoUpdateColumnSize2(int ACol, int& AWidth);

  // ---- scroll bars, scroll hints and drag scrolling (plusgrid_scroll.cpp)
  TScrollType ScrollType() const { return FScrollType; }
  // The flat and encarta styles draw the bars flat, in ScrollColor and
  // ScrollWidth thick.
  void SetScrollType(TScrollType v);
  bool FlatScrollInitialised() const { return FFlatInit; }
  bool ScrollProportional() const { return FScrollProportional; }
  // Off: the thumbs go back to their smallest size.
  void SetScrollProportional(bool v);
  // Thumbs sized by the share of the scrolling lines in view.
  void UpdateProportionalHorzBar();
  void UpdateProportionalVertBar();
  TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
  // Keeps the chosen bars shown, disabled while everything fits.
  void SetScrollBarAlways(TScrollBarAlways v);
  // Force: with saNone, bars whose lines fit are hidden too.
  void UpdateScrollBarAlways(bool Force);
  void InitFlatScrollBars();
  void DoneFlatScrollBars();
  void SetFlatScrollProp(unsigned Prop, intptr_t Value);
  void ShowFlatScrollBar(int Bar, bool Show);
  void ApplyFlatStyle();
  void ApplyFlatColor();
  void ApplyFlatWidth();
  // Style, colour, width, and each flat bar shown while its lines do not fit.
  void UpdateFlatScrollBars();
  // The horizontal thumb position a flat bar reports, mapped back onto the
  // 0..127 range; a position that cannot be mapped is kept.
  static int FlatThumbPosition(int Pos, int VisibleCols, int Cols);
  // The scroll hint text for the thumb at Pos (0..127) of one bar, after OnScrollHint.
  std::string ScrollHintText(bool Vertical, int Pos);
  bool ScrollHintShowing() const { return FScrollHintShowing; }
  const std::string& ScrollHintCaption() const { return FScrollHintCaption; }
  TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
  void SetDragScrollOptions(TDragScrollOptions* v) { if (v) FDragScrollOptions->Assign(v); }
  // Something dragged over the grid at client point (X, Y): starts, restarts
  // or stops the drag scroll timer. The drag glue calls it for every enter,
  // move and leave.
  void DragScrollOver(int X, int Y, TDragState State);
  TTimer* DragScrollTimer() const { return FDragScrollTimer.get(); }
  TDragScrollDirection DragScrollDirections() const { return FDragScrollDir; }
  TDragScrollEvent OnDragScroll;

  // ---- mouse movement, wheel, zoom and panning (plusgrid_mousemove.cpp)
  // What the pointer offers where it is.
  enum TPointerMode { pmNone = 0, pmColSelect = 1, pmRowSelect = 2, pmAllSelect = 3, pmSelectionResize = 5 };
  TPointerMode PointerMode() const { return FPointerMode; }
  // Starts selecting whole rows (columns) from ARow (ACol) as the mouse
  // moves; -1 ends it. Called by the button press on a header cell.
  void BeginLineDragSelect(int ACol, int ARow);
  void EndLineDragSelect() { BeginLineDragSelect(-1, -1); }
  // Hot cell of the list-view look; (-1, -1) when none.
  TPoint HotCell() const { return FHotCell; }
  // The fixed column (row) whose border is under the mouse, and whether
  // sizing it is offered; -1 when none.
  int FixedColSizingIndex() const { return FFixedColSizing; }
  int FixedRowSizingIndex() const { return FFixedRowSizing; }
  bool FixedColSizingOffered() const { return FFixedColSizeOffer; }
  bool FixedRowSizingOffered() const { return FFixedRowSizeOffer; }
  // Sizing of the offered fixed column (row) with the mouse: the guide line
  // follows the mouse until it ends, then the line gets the new size.
  void BeginFixedLineSizing(bool Cols);
  void EndFixedLineSizing(bool Apply);
  bool FixedLineSizing() const { return FFixedSizing; }
  // The guide line's position while a fixed line is sized; -1 otherwise.
  int FixedSizingLinePos() const { return FFixedSizingPos; }
  const std::string& LastAnchor() const { return FLastAnchor; }
  // The 6 by 6 pixel handle at the bottom-right corner of the selection
  // (SelectionResizer with SelectionRectangle).
  bool OnSelectionResizeHandle(int X, int Y) const;
  // Places the controls of the control list on their cells, hiding those
  // whose cell is hidden or scrolled out of view.
  void RepositionCellControls();
  // Repaints the cells from R's top-left to its bottom-right cell.
  void InvalidateGridRect(const TGridRect& R);
  // Rows (or zoom steps) a wheel notch moves: the system's lines per notch.
  int WheelLines() const { return FWheelLines; }
  void SetWheelLines(int v) { FWheelLines = v; }
  void ZoomStep(int Delta);
  // Called after a wheel step when WheelIncrement is not 0, with the rows moved.
  virtual void WheelScrolled(int Delta) { (void)Delta; }
  bool Panning() const { return FPanning; }
  TPoint PanOrigin() const { return FPanOrigin; }
  // Ends panning (a button, a key or losing the capture).
  void StopPanning();
  // The timer identifier of panning.
  static constexpr unsigned kPanTimerId = 999;
  // One step of panning as the timer makes it, with the mouse at M (client).
  void PanStep(TPoint M);
  void MouseMove(TShiftState Shift, int X, int Y) override;
  // The user's cursor: hovering changes the shown cursor and goes back to this one.
  void SetCursor(TCursor v) {
    FSavedCursor = v;
    TControl::SetCursor(v);
  }

protected:
  void BoundsChanged(bool sizeChanged) override;
  void WMHScroll(TMessage& M) override;
  void WMVScroll(TMessage& M) override;
  void WndProc(TMessage& Message) override;
  void CMMouseLeave(TMessage& M) override;
  void TopLeftChanged() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  // A column width (row height) was changed by the mouse or by a caller
  // that reports it: stretching again, sizing all lines alike, the end events.
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // Draws the guide line of a fixed line being sized over the finished paint.
  void PaintSizingOverlay(TCanvas* ACanvas);

private:
  void StretchColumnAuto(int ACol);
  void DoStretchCol(int ACol);
  void StretchAfterCountChange();
  int StretchTarget(int ACol) const;
  void HandleWheel(TMessage& M);
  void StartPanning(TPoint P);
  // The anchor of an HTML cell's markup under a client point; empty when none.
  std::string MouseAnchorAt(int ACol, int ARow, int X, int Y);
  void DragScrollTick();
  void ScrollHint(bool Vertical, int Code, int Pos);
  bool FStretching = false, FStretched = false;
  bool FColSizedByMouse = false, FRowSizedByMouse = false, FColumnSized = false;
  int FSizeCandCol = -1, FSizeCandRow = -1, FSizeCandWidth = 0, FSizeCandHeight = 0;
  int FLastClientWidth = 0;
  int FMinColWidth = 0, FMaxColWidth = 0, FMinRowHeight = 0, FMaxRowHeight = 0;
  bool FFlatInit = false, FZooming = false;
  bool FScrollHintShowing = false;
  std::string FScrollHintCaption;
  std::unique_ptr<TDragScrollOptions> FDragScrollOptions = std::make_unique<TDragScrollOptions>();
  std::unique_ptr<TTimer> FDragScrollTimer;
  TDragScrollDirection FDragScrollDir;
  TPointerMode FPointerMode = pmNone;
  int FDragAnchorCol = -1, FDragAnchorRow = -1;
  TPoint FHotCell{-1, -1};
  int FFixedColSizing = -1, FFixedRowSizing = -1;
  bool FFixedColSizeOffer = false, FFixedRowSizeOffer = false;
  bool FFixedSizing = false, FFixedSizingCols = true;
  int FFixedSizingPos = -1;
  std::string FLastAnchor;
  TGridRect FOutlinedSelection{-1, -1, -1, -1};
  int FWheelLines = 3;
  bool FPanning = false;
  TPoint FPanOrigin{0, 0};
  TCursor FPanSavedCursor = crDefault;

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
  // ---- finding text and the search footer
  // Tests one cell with the options and text of the search under way.
  bool CellMatchesSearch(int ACol, int ARow);
  // The first match after StartCell ((-1, -1): from the first cell, itself
  // included) in walking order; (-1, -1) when none. No wrap past the end.
  TPoint FindCellFrom(TPoint StartCell, const std::string& Text, TFindParams Options);
  // The same between the progress hook's start and end reports.
  TPoint SearchCells(TPoint StartCell, const std::string& Text, TFindParams Options);
  TPoint LastFoundCell() const { return FFindLast; }
  void SetPresetColumn(int ACol) { FFindPresetCol = ACol; }
  TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
  void SetSearchFooter(TSearchFooter* v) { if (v) FSearchFooter->Assign(v); ApplySearchFooter(); }
  // Made when the footer first shows.
  TSearchPanel* SearchPanel();
  bool HasSearchPanel() const { return FSearchPanel != nullptr; }
  // Tells the layer how much of the client the bottom panels cover.
  void UpdateCoveredBottom();
  // Scrolls a row that is to become current out from under the floating
  // footer (repaints a preview footer, which follows the current row).
  void KeepAboveFooter(int ACol, int ARow);
  // Copies the footer's settings to its panel and shows or hides it.
  void ApplySearchFooter();
  // The panel's handlers.
  void SearchFooterAutoSearch();
  void SearchFooterFindNext();
  void SearchFooterFindPrev();
  void SearchFooterClose();
  void SearchFooterHighlight();
  // Makes the cell current and visible when it lies outside the view.
  void ScrollInView(int ACol, int ARow);
  // The text the painter shows for a cell under the highlights set by
  // HilightInCells: markup with the matches wrapped in the tag. The cell's
  // own text never changes.
  std::string PaintHighlightedText(int ACol, int ARow, const std::string& Text, TCellTextKind& AKind);
  bool HasHighlights() const { return !FHighlights.empty(); }

private:
  void SearchFooterStep(bool Backward);
  void KeepFoundRowAboveFooter();
  struct THighlightRule {
    std::string Text, Tag;
    TGridRect Area;
    bool CaseSensitive;
  };
  std::vector<THighlightRule> FHighlights;
  std::unique_ptr<TSearchFooter> MakeSearchFooter();
  std::unique_ptr<TSearchFooter> FSearchFooter = MakeSearchFooter();
  TSearchPanel* FSearchPanel = nullptr;
  TFindParams FFindOptions;
  std::string FFindText;
  TPoint FFindLast{-1, -1};
  int FFindPresetCol = -1;


public:
  // ---- drag and drop between windows and programs
  TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
  void SetDragDropSettings(TDragDropSettings* v) { if (v) FDragDropSettings->Assign(v); }
  // Registers the grid as a drop target, or revokes it, as OleDropTarget says.
  void UpdateOleDropTarget();
  bool IsOleDropTarget() { return IsDropTarget(this); }
  // Rich text is offered and preferred by every grid once one sets OleDropRTF.
  static bool OleRichTextEnabled();
  static void SetOleRichTextEnabled(bool v);
  // The drop handlers, plain functions of the data and a client point. The
  // formats of a drag: 1 text, 2 files, 4 grid column, 8 rich text. Each
  // answers whether the grid took the data: a drop that took nothing must
  // not let a move take the cells from its source.
  bool OleDragOver(TPoint P, int Formats);
  void OleDragLeave();
  bool OleDropText(TPoint P, const std::string& Text);
  bool OleDropRichText(TPoint P, const std::string& Text);
  bool OleDropColumn(TPoint P, int Column);
  // Only a single file is taken: .csv as delimited text, .xls and .xlsx as
  // workbooks, by the name's extension in any letter case.
  bool OleDropFiles(TPoint P, const std::vector<std::string>& Files);
  enum TDroppedFileKind { dfNone, dfDelimited, dfWorkbook };
  static TDroppedFileKind DroppedFileKind(const std::string& FileName);
  // A whole drop as the window system delivers it: a column alone, else rich
  // text or text, and files besides.
  bool OleDropPayload(TPoint P, const TDragPayload& Data);
  // The selection as TAB-separated lines (CR LF between rows), rich text as plain text.
  std::string GetSelectionAsText();
  // Called by the mouse code when a drag may start from the pressed cell
  // (button held, moved more than 3 pixels, OleDropSource set, no sizing):
  // false when OnOleDrag refuses and the gesture stays a selection.
  bool OleDragStart(int ACol, int ARow);
  // After a drag of the selection ended with Effect: a move removes the
  // dragged rows or clears the source cells, then OnOleDragStop.
  void OleDragFinished(int Effect);
  TGridRect DragSourceRect() const { return FDragSourceRect; }
  void SetDragSourceRect(const TGridRect& R) { FDragSourceRect = R; }
  // Counted by the grid's timer; a horizontal drag scroll steps only on even counts.
  void OleDragScrollTick() { ++FOleDragScrollTick; }

private:
  void HideDropArrows();
  void ShowDropArrows(bool Column, int ACol, int ARow);
  std::unique_ptr<TDragDropSettings> FDragDropSettings = std::make_unique<TDragDropSettings>(this);
  std::unique_ptr<TDropTarget> FDropTarget;
  TGridRect FDragSourceRect{-1, -1, -1, -1};
  int FOleDragScrollTick = 0;


public:
  // ---- links and form controls in cells
  // The anchor or control of the cell's markup under the client point (for
  // a URL cell with URLShow, its text); false when there is none.
  bool CellLinkAt(int ACol, int ARow, int X, int Y, TCellLinkHit& Hit);
  // What the mouse code calls for a left press on a link or control of a
  // cell (ACol a display column); false when the point hit neither.
  bool ClickCellLink(int ACol, int ARow, int X, int Y);
  // The click itself, once the hit is known.
  void CellLinkClick(int ACol, int ARow, const TCellLinkHit& Hit);
  // Opens a link: "CELL://R<row>C<col>" moves to the cell; http, https, ftp
  // and mailto go to the desktop's URL opener; anything else is ignored.
  void FollowCellLink(const std::string& Anchor);
  static bool IsOpenableLink(const std::string& Anchor);
  void ShowCellControlEditor(const std::string& CellText, const std::string& CtrlType, int ARow, int ACol,
                             int ADisplayCol, const TRect& ControlRect, const std::string& CtrlValue,
                             const std::string& CtrlID);
  void EndCellControlEdit();
  void ShowNextCellControlEditor(int ACol, int ARow, const std::string& AfterID);
  bool ControlEditOpen() const { return FControlEditOpen; }
  bool ControlButtonPressed() const { return FControlButtonDown; }
  TPoint ControlCell() const { return FControlCell; }
  const std::string& ControlID() const { return FControlID; }
  // The mouse release and the loss of focus let an embedded button up.
  void ReleaseControlButton();
  TControlEdit* ControlEdit();
  TControlCombo* ControlCombo();

private:
  TRect CellTextRect(int ACol, int ARow);
  TControlEdit* FControlEdit = nullptr;
  TControlCombo* FControlCombo = nullptr;
  TPoint FControlCell{-1, -1};
  std::string FControlID, FControlType, FControlValue;
  bool FControlEditOpen = false, FControlButtonDown = false;


public:
  // ---- what the mouse buttons start and end (plusgrid_mouse.cpp)
  // Moves a column (row) with its contents and size; a column move first
  // fills the column order list when it is empty.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // The header button that follows the mouse while a row or column is moved
  // (EnhRowColMove) or a column is dragged out; nil until first needed.
  TPopupButton* MoveButton() const { return FMoveButton; }
  // A press armed a drag of the selection (OleDropSource); the mouse moving
  // more than 3 pixels starts it.
  bool OleDragPending() const { return FOleDragPending; }
  // The selection resizer is being dragged from this selection.
  bool Filling() const { return FFilling; }
  // The size hint of a column or row being sized shows (HintShowSizing).
  bool SizeHintShowing() const { return FSizeHintShowing; }
  // Called with the new selection when a press on the top-left corner
  // selects every cell; nothing here.
  virtual void SelectAllNotify(TGridRect& NewSelection) { (void)NewSelection; }

protected:
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;

private:
  // The button-down and button-up steps of the control (what runs as the
  // platform's press and release): editing a cell by a click with
  // RangeSelectAndEdit, sizing permission, the selection report and fixed
  // cells edited by a click.
  void GridMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void GridMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void RightMouseDown(TShiftState Shift, int X, int Y);
  // The press on the selection resizer's handle.
  void StartFill(TShiftState Shift, int X, int Y, bool Always);
  void EndFill();
  // A double click on a header border: true when it sized a column.
  bool DblClickSizesColumn(int X, int Y);
  void EditCurrentCellByMouse();
  // The disjunct cell selection step of a release (and of Space).
  void DisjunctCellSelectStep(int ACol, int ARow, TShiftState Shift);
  // Row and column moves with the floating header button.
  bool EnhMoving() const;
  void MoveFeedback(int X, int Y);
  void EndEnhMove(bool Apply, int X, int Y);
  void PlaceArrow(int Index, int X, int Y);
  void HideMoveButton();
  TPopupButton* ShowMoveButton(const std::string& Caption, const TRect& ClientRect);
  // Balloons and hints follow the cell under the mouse.
  void TrackHintCells(int ACol, int ARow, int X, int Y);
  void BalloonTimerTick();
  void ShowSizeHint(int X, int Y);
  bool FButtonDown = false, FOleDragPending = false, FFilling = false, FDblClickSized = false,
       FMovedByRelease = false, FRestoreSelecting = false, FHeaderNodeContracted = false,
       FSizeHintShowing = false, FMovedSincePress = false, FRangeEditPress = false, FEnhMoveActive = false,
       FBalloonShown = false;
  TPoint FPressOffset{0, 0};
  int FMoveStart = -1, FPressTop = 0, FPressLeft = 0;
  TGridRect FFillStart{};
  TPopupButton* FMoveButton = nullptr;
  std::unique_ptr<TTimer> FBalloonTimer;
  TPoint FBalloonMouse{-1, -1};

public:
  // ---- the grid's own hint window for size and scroll hints
  // Shows Text with its top-left at the screen point; MaxWidth bounds the text.
  void ShowGridHint(const std::string& Text, TPoint ScreenPos, int MaxWidth);
  void HideGridHint();


public:
  // ---- hints, the HTML hint window, balloons and modified rows
  // Fills the hint of the cell under Info.CursorPos (client coordinates):
  // anchors, comments, cell texts that show or do not fit, then the events.
  // HintPos comes back in screen coordinates.
  void FillHintInfo(std::string& HintStr, THintInfo& HintInfo);
  TPoint HintCell() const { return FHintCell; }
  THTMLHintWindow* HTMLHintWindow();
  TBalloonSettings* Balloon() const { return FBalloon.get(); }
  void SetBalloon(TBalloonSettings* v) { if (v) FBalloon->Assign(v); }
  void CreateBalloon();
  void ReleaseBalloon();
  void BalloonEnableChanged();
  // Nil while balloons are off.
  TBalloonHint* BalloonWindow() const { return FBalloonWindow; }
  // The tip asks for its content: the cell's balloon text, shown at the cell.
  // Nothing with balloons off or outside the cells. The mouse code calls it
  // when the mouse rests on a cell.
  void ShowCellBalloon(int ACol, int ARow);
  // The mouse entered another cell: the tip goes, to ask again for the new one.
  void PopBalloon();
  // Repaints column 0, where the painter marks modified rows.
  void ModifiedChanged();

private:
  std::unique_ptr<TBalloonSettings> MakeBalloonSettings();
  std::unique_ptr<TBalloonSettings> FBalloon = MakeBalloonSettings();
  TBalloonHint* FBalloonWindow = nullptr;
  THTMLHintWindow* FHTMLHintWindow = nullptr;
  TPoint FHintCell{-1, -1};

public:
  // ---- editing in place, validation, keys, mouse and focus
  // (plusgrid_edit.cpp, plusgrid_validate.cpp, plusgrid_keys.cpp,
  // plusgrid_mouse.cpp, plusgrid_focus.cpp)
  // ACol a real column: editing allowed by goEditing (or its switch-off for
  // a read-only cell, or RangeSelectAndEdit) and the can-edit hook, on a
  // cell that is not fixed.
  bool IsCellEditable(int ACol, int ARow);
  // Ends an open edit: hides the editor (storing its text), stores an own
  // control's value and selects the current cell again (validating).
  void EndCellEdit();
  void ShowCellEditor(int ACol, int ARow);
  void StoreCellEditorValue(int ACol, int ARow);
  virtual void SetCellFromEditor(int ACol, int ARow, const std::string& Value);
  virtual void RestoreEditedCell();
  void LeaveEditorByKey(uint16_t Key, TShiftState Shift);
  void ReopenEditor();
  // OnEditingDone now; OnEditCellDone once the message loop has run.
  void NotifyEditingDone(int ACol, int ARow);
  virtual std::string GetCurrentCellText();
  virtual void SetCurrentCellText(const std::string& Value);
  virtual void SetCurrentCellEditText(const std::string& Value);
  std::string GetCellPlainText(int ACol, int ARow);
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  int GetEditLimit() override { return FMaxEditLength; }
  virtual std::string EllipsClick(const std::string& S);
  int GetRowLineCount(int ARow);
  virtual bool ValidateCell(const std::string& Value);
  virtual bool ValidateCellWide(const std::u16string& Value);
  virtual void MarkEditStart(int ACol, int ARow);
  // The control an own-control editor type edits with; nil while the grid
  // has none for the type (the edit then opens with no control).
  virtual TWinControl* EditorControl(TEditorType AType);
  // The own-control editors, made with the grid (nil in the designer). The
  // combo's items are the choices of edComboEdit and edComboList cells.
  TGridCombo* ComboEditor() const { return FGridCombo; }
  TGridUniCombo* UniComboEditor() const { return FGridUniCombo; }
  TGridSpin* SpinEditor() const { return FGridSpin; }
  TGridEditBtn* EditBtnEditor() const { return FGridEditBtn; }
  TGridUnitEditBtn* UnitEditBtnEditor() const { return FGridUnitEditBtn; }
  TGridUniEdit* UniEditEditor() const { return FGridUniEdit; }
  TGridUniEditBtn* UniEditBtnEditor() const { return FGridUniEditBtn; }
  TGridUniMemo* UniMemoEditor() const { return FGridUniMemo; }
  TGridCheckBox* CheckBoxEditor() const { return FGridCheckBox; }
  TGridButton* ButtonEditor() const { return FGridButton; }
  TGridDatePicker* DatePickerEditor() const { return FGridDatePicker; }
  // The rich edit that edits rich-text cells, and the one that measures and
  // draws them.
  TPlusRichEdit* RichEditor() const { return FRichEditor; }
  TPlusRichEdit* RichRenderer() const { return FRichRenderer; }
  // A cell's RTF into a rich edit (an empty cell clears it), and a rich
  // edit's content as RTF.
  void LoadRTFEditor(int ACol, int ARow, TRichEdit* Editor);
  void SaveRTFEditor(TRichEdit* Editor, std::string& S);
  // Draws the rich text of a cell (real column) inside R, less the margins.
  void DrawRichTextCell(int ACol, int ARow, const TRect& R, TCanvas* ACanvas);
  // The control of the edit under way; nil for the default editor and the
  // check box.
  TWinControl* ActiveEditorControl() const { return FActiveEditorControl; }
  // The link edCustom cells edit through; nil until the application sets one.
  TEditLink* CellEditLink() const { return FCellEditLink; }
  void SetCellEditLink(TEditLink* v);
  // Installed as the window procedure of a link's control while it edits:
  // asks for Tab and the arrows with goTabs, passes everything else on.
  void EditLinkWindowProc(TMessage& M);
  void HookEditLinkControl(TWinControl* Control);
  void UnhookEditLinkControl(TWinControl* Control);
  // Set when a pop-up edit ended because its form lost the activation; the
  // grid's next focus gain clears it.
  bool PopupClosed() const { return FPopupClosed; }
  void SetPopupClosed(bool v) { FPopupClosed = v; }
  // The Unicode editors' text when one last lost the focus.
  const std::u16string& LastWideEditorText() const { return FLastWideEditorText; }
  void SetLastWideEditorText(const std::u16string& v) { FLastWideEditorText = v; }
  // Set while an editor is filled from its cell: its changes are no edits.
  bool FillingEditor() const { return FFillingEditor; }
  // A key an editor passes on to the grid's own key handling (the current
  // cell moves).
  void EditorKeyDown(uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  // A key message an editor control sends the grid on purpose.
  void PassEditorKey(unsigned Msg, uint16_t Key);
  // A key message that reached the grid while an editor control has the
  // focus: the window system passed on what the control left alone.
  bool KeyOfEditorControl(unsigned Msg) const;
  // The text of an own-control editor changed: OnEditChange, and the cell
  // follows the spin and edit-with-button editors while they are typed in.
  void OwnEditorChanged(const std::string& Text);
  // The current cell's shown text as a wide string, and its setter.
  std::u16string GetCurrentCellWideText();
  void SetCurrentCellWideText(const std::u16string& Value);
  // A cell text split into a number (digits, "-", "," and ".") and the rest
  // (the unit), as the value-and-unit editor shows it.
  static void SplitValueAndUnit(const std::string& Text, std::string& Value, std::string& Unit);
  // Dates of 0 or before show as such; off: as an empty text.
  bool ShowZeroDates() const { return FShowZeroDates; }
  void SetShowZeroDates(bool v) { FShowZeroDates = v; }
  // The default editor's text changed: OnEditChange and the write-through.
  void DefaultEditorChanged(const std::string& Text);
  virtual bool CanAddRow(bool CanAdd = true);
  virtual bool CanInsertRow(int ARow, bool CanInsert = true);
  void TabToCell(bool Backward);
  // Opens the fixed-cell editor over a cell when the can-edit hook allows it.
  void ShowFixedCellEditor(int ACol, int ARow);
  // Chooses the radio option under a point given from the cell's top-left corner.
  void ClickRadioGroup(int ACol, int ARow, int DY, int DX);
  // A fixed cell pressed as a button, drawn sunken over the paint.
  void PaintPressedFixedButton(TCanvas* ACanvas);
  bool FixedButtonDown() const { return FFixedButtonDown; }
  TGridTransEdit* FixedCellEditor() const { return FFixedEditor; }
  void AdvanceFromCell(int ACol, int ARow, bool ShowEditor, bool Retry, bool Forward, bool ForceEditor, bool Force);
  int FindSortedPrefix(const std::string& Text);
  int FirstNavigableCol();
  int VisibleFixedRightCols();
  TPlusStringGridCheck* CellChecker() const { return FCellChecker; }
  void SetCellChecker(TPlusStringGridCheck* v);
  TEditorType CurrentEditorType() const { return FCurrentEditorType; }
  bool ValidatePending() const { return FValidatePending; }
  bool Validating() const { return FValidating; }
  bool SuppressEditChange() const { return FSuppressEditChange; }
  void SetSuppressEditChange(bool v) { FSuppressEditChange = v; }
  bool LastValidationPassed() const { return FLastValidationPassed; }
  const std::string& EscapeText() const { return FEscapeText; }
  const std::string& EditStartText() const { return FEditStartText; }
  void SetEditStartText(const std::string& v) { FEditStartText = v; }
  const std::string& LastEditValue() const { return FLastEditValue; }
  int EditCol() const { return FEditCol; }
  int EditRow() const { return FEditRow; }
  bool ValidateAlways() const { return FValidateAlways; }
  void SetValidateAlways(bool v) { FValidateAlways = v; }
  bool CaretToMouse() const { return FCaretToMouse; }
  void SetCaretToMouse(bool v) { FCaretToMouse = v; }
  char PendingChar() const { return FPendingChar; }
  void SetPendingChar(char v) { FPendingChar = v; }
  const std::string& GotoText() const { return FGotoText; }
  bool LeavingByKey() const { return FLeavingByKey; }
  bool StoringEditor() const { return FStoringEditor; }
  // Sets a guard's flag for the moment (the default editor writes the cell
  // under the validation guard).
  void SetValidating(bool v) { FValidating = v; }
  void SetValidatePending(bool v) { FValidatePending = v; }
  // The grid's own timer (goto expiry, hovering, blinking).
  static constexpr unsigned kGridTimerId = 111;
  // Sets the grid timer on the window (when the window is made).
  void StartGridTimer();
  int TimerTicks() const { return FTimerTicks; }
  bool BlinkPhase() const { return FBlinkOn; }

protected:
  TInplaceEdit* CreateEditor() override;
  bool CanEditShow() override;
  friend class TPlusInplaceEdit;
  friend class TGridTransEdit;
  friend class TGridCombo;
  friend class TGridUniCombo;
  friend class TGridSpin;
  friend class TGridEditBtn;
  friend class TGridUnitEditBtn;
  friend class TGridUniEdit;
  friend class TGridUniEditBtn;
  friend class TGridUniMemo;
  friend class TGridCheckBox;
  friend class TGridButton;
  friend class TGridDatePicker;
  friend class TEditLink;
  friend class TPlusRichEdit;
  bool SelectCell(int ACol, int ARow) override;
  void Dispatch(TMessage& Message) override;
  void WMChar(TMessage& M) override;
  void WMSetFocus(TMessage& M) override;
  void WMKillFocus(TMessage& M) override;
  void WMTimer(TMessage& M) override;
  void WMPaint(TMessage& M) override;
  void CMColorChanged(TMessage& M) override;
  void CMEnter(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // The presses and releases of cells, check boxes and buttons, before
  // (after) the layer's; the sorting click wraps them.
  void CellMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void CellMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  void DblClick() override;
  // The click also starts a new edit at the current cell.
  void Click() override;
  // Moves the current cell without asking SelectCell.
  void MoveCurrentCell(int ACol, int ARow);

private:
  void TabWalk(bool Backward, int Laps);
  void AdvanceStep(int ACol, int ARow, bool ShowEditor, bool Retry, bool Forward, bool ForceEditor, bool Force);
  void SimulateClickAt(int ACol, int ARow);
  // A key or click on a cell's check box, radio group or button.
  void ClickCellControl(int ACol, int ARow, bool Toggle);
  void RefuseKey(uint16_t& Key, TShiftState Shift);
  // Makes the own-control editors (not in the designer).
  void CreateEditorControls();
  // Makes the two rich edits.
  void CreateRichEdits();
  // Called first when the grid is freed: its editors stop reporting to it.
  void DetachEditors();
  // The colour and font the cell-colour hook gives the cell being edited.
  void GetEditorLook(int ACol, int ARow, TColor& AColor, TFont* AFont);
  // Shows an own control over the cell: visible, enabled, focused.
  void ShowEditorControl(TWinControl* Control, TColor AColor, bool SetColor);
  void PostPendingChar(TWinControl* Control);
  void ShowCustomEditor(const TRect& R, int C, int ARow, TColor AColor, TFont* AFont);
  void StoreCustomEditor(int C, int ARow);
  void HideOwnControl(TWinControl* Control);

  TEditorType FCurrentEditorType = edNormal;
  bool FValidatePending = false, FValidating = false, FEditorJustShown = false, FSpecialEditorOpen = false,
       FStoringEditor = false, FLeavingByKey = false, FSuppressEditChange = false, FDefaultEditorUsed = false,
       FCaretToMouse = false, FLastValidationPassed = true, FValidateAlways = false, FEditingRestored = false,
       FMovingSelf = false, FHandlingMouse = false, FAdvancing = false;
  char FPendingChar = 0;
  std::string FEscapeText, FEditStartText, FLastEditValue;
  std::u16string FEditStartWideText, FLastWideEditorText;
  int FEditCol = -1, FEditRow = -1;
  TWinControl* FActiveEditorControl = nullptr;
  TPlusStringGridCheck* FCellChecker = nullptr;
  std::string FGotoText;
  int FGotoTicks = 0, FTimerTicks = 0;
  TPoint FAdvanceOrigin{-1, -1};
  // The button cell pressed with the mouse; -1 none.
  TPoint FPressedButton{-1, -1};
  TPoint FMouseDownCell{-1, -1};
  bool FMouseDownOnCurrent = false;
  bool FDeselectOnRelease = false;
  bool FFixedButtonDown = false;
  TPoint FDblClickPoint{-1, -1};
  TGridTransEdit* FFixedEditor = nullptr;
  TGridCombo* FGridCombo = nullptr;
  TGridUniCombo* FGridUniCombo = nullptr;
  TGridSpin* FGridSpin = nullptr;
  TGridEditBtn* FGridEditBtn = nullptr;
  TGridUnitEditBtn* FGridUnitEditBtn = nullptr;
  TGridUniEdit* FGridUniEdit = nullptr;
  TGridUniEditBtn* FGridUniEditBtn = nullptr;
  TGridUniMemo* FGridUniMemo = nullptr;
  TGridCheckBox* FGridCheckBox = nullptr;
  TGridButton* FGridButton = nullptr;
  TGridDatePicker* FGridDatePicker = nullptr;
  TPlusRichEdit* FRichEditor = nullptr;
  TPlusRichEdit* FRichRenderer = nullptr;
  TEditLink* FCellEditLink = nullptr;
  TWinControl* FEditLinkControl = nullptr;
  std::function<void(TMessage&)> FEditLinkOldProc;
  bool FPopupClosed = false, FFillingEditor = false, FShowZeroDates = true, FPassingEditorKey = false;

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
  TGridFormatEvent OnGetFormat;
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
  TGetEditorPropEvent OnGetEditorProp;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  void DrawCellBorders(TCanvas* ACanvas, int ACol, int ARow, TRect R);
  // Fixed cells by Look, before and after the content; C is the cell's own rectangle.
  bool IsLookFixedCell(int ACol, int ARow);
  void DrawFixedLookBefore(TCanvas* ACanvas, int ACol, int ARow, const TRect& C);
  void DrawFixedLookAfter(TCanvas* ACanvas, int ACol, int ARow, const TRect& C);
  // ACol (display index) is sorted on: SortSettings.Column or in the sort index list.
  bool IsSortColumn(int ACol) const;
  // The cell is the sort row's cell of a sorted column that may carry the indicator.
  bool SortIndicatorCell(int ACol, int ARow) const;
  // The first sort column always shows its indicator; the others only numbered.
  bool SortIndicatorShown(int ACol) const;
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

  // ---- file settings (plusgrid_files.cpp)
  bool FFirstLineIsData = true, FTildeLineBreaks = false;
  char FFileDelimiter = '\0';
  // Kind 0 sum, 1 min, 2 max.
  double ColumnFigure(int ACol, int FromRow, int ToRow, int Kind);

  // ---- nodes and grouping state (plusgrid_nodes.cpp, plusgrid_group.cpp)
  // Column insertion and removal of grouping, keeping the node marks in column 0.
  void GroupInsertCol(int ACol);
  void GroupRemoveCol(int ACol);
  TCellGraphic* NodeGraphic(int ARow);
  struct TRowMarkSlot {
    std::unique_ptr<TCellGraphic> Graphic;
    int Level = 0;
  };
  std::vector<TRowMarkSlot> TakeRowMarks();
  void PutRowMarks(std::vector<TRowMarkSlot>& Marks);
  void SetRowColorKind(int ARow, TColor AColor, int Kind);
  int FNodeCount = 0;
  std::unique_ptr<TGrouping> FGrouping = std::make_unique<TGrouping>();
  int FGroupColumn = -1, FGroupColWidth = 0;
  std::string FGroupHeaderText, FGroupFooterText;

  // ---- sorting state (plusgrid_sort.cpp)
  void QuickSortRows(int ACol, int From, int To);
  void QuickSortRowsIndexed(int From, int To);
  void CopySortPivot(int From);
  void SortFrame(int Kind);
  TSortStyle ColumnSortStyle(int ACol, int ARow1, const std::string& S1, const std::string& S2,
                             std::string& APrefix, std::string& ASuffix);
  std::unique_ptr<TSortSettings> FSortSettings = std::make_unique<TSortSettings>(this);
  int FSortTrackedRow = -1, FSortPivotRow = -1;
  bool FSorting = false;
  int FSortDownCol = -1, FSortDownRow = -1;

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
