#include "grid/plusgrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/plusgrid_editlink.h"
#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"
#include "platform/ui/uitypes.h"

namespace {

const TEnumInfo& FilterOperationInfo() {
  static const TEnumInfo info{"TFilterOperation", {"foSHORT", "foNONE", "foAND", "foXOR", "foOR"}, 0};
  return info;
}
const TEnumInfo& FilterCellsInfo() {
  static const TEnumInfo info{"TFilterCells", {"fcVirtual", "fcNormal", "fcStripHTML", "fcCalculated"}, 0};
  return info;
}
const TEnumInfo& GridLookInfo() {
  static const TEnumInfo info{"TGridLook", {"glStandard", "glSoft", "glClassic", "glQRB", "glXP", "glListView"}, 0};
  return info;
}
const TEnumInfo& ScrollStyleInfo() {
  static const TEnumInfo info{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, 0};
  return info;
}
const TEnumInfo& ScrollBarAlwaysInfo() {
  static const TEnumInfo info{"TScrollBarAlways", {"saNone", "saVert", "saHorz", "saBoth"}, 0};
  return info;
}
const TEnumInfo& ScrollTypeInfo() {
  static const TEnumInfo info{"TScrollType", {"ssNormal", "ssFlat", "ssEncarta"}, 0};
  return info;
}
const TEnumInfo& ScrollHintInfo() {
  static const TEnumInfo info{"TScrollHintType", {"shNone", "shVertical", "shHorizontal", "shBoth"}, 0};
  return info;
}
const TEnumInfo& IntelliPanInfo() {
  static const TEnumInfo info{"TIntelliPan", {"ipVertical", "ipHorizontal", "ipBoth", "ipNone"}, 0};
  return info;
}
const TEnumInfo& VAlignInfo() {
  static const TEnumInfo info{"TVAlignment", {"vtaTop", "vtaCenter", "vtaBottom"}, 0};
  return info;
}
const TEnumInfo& EditorInfo() {
  static const TEnumInfo info{
      "TEditorType",
      {"edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
       "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
       "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
       "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
       "edUniEdit", "edUniComboEdit", "edUniComboList", "edUniEditBtn", "edUniMemo"},
      0};
  return info;
}

}  // namespace

unsigned GridEditDoneMessage() {
  static const unsigned msg = RegisterWindowMessage("GridEditDone");
  return msg;
}

namespace {

// The grid's class is known to the form reader from the start.
const bool gRegistered = [] {
  RegisterClass(&TPlusStringGrid::StaticClass());
  GridEditDoneMessage();
  return true;
}();

}  // namespace

// ---------------------------------------------------------------------------
// TGridItem, TFilterData, TFilter

ZV_CLASS_IMPL(TGridItem, TCollectionItem)

void TGridItem::DeclareProperties(TClassInfo& c) {
  using T = TGridItem;
  c.Integer<T>("Idx", &T::Idx, &T::SetIdx);
  c.Integer<T>("Height", &T::Height, &T::SetHeight);
  c.Object<T, TStringList>("Items", &T::Items, &T::SetItems);
}

TGridItem::TGridItem(TCollection* Collection)
    : TCollectionItem(Collection), FOwnItems(std::make_unique<TStringList>()) {
  FItems = FOwnItems.get();
}

TGridItem::~TGridItem() = default;

ZV_CLASS_IMPL(TFilterData, TCollectionItem)

void TFilterData::DeclareProperties(TClassInfo& c) {
  using T = TFilterData;
  c.Integer<T>("Column", &T::Column, &T::SetColumn, 0);
  c.String<T>("Condition", &T::Condition, &T::SetCondition, std::string());
  c.Boolean<T>("CaseSensitive", &T::CaseSensitive, &T::SetCaseSensitive, true);
  c.Enum<T>("Data", FilterCellsInfo(), &T::Data, &T::SetData, fcVirtual);
  c.String<T>("Prefix", &T::Prefix, &T::SetPrefix, std::string());
  c.String<T>("Suffix", &T::Suffix, &T::SetSuffix, std::string());
  c.Enum<T>("Operation", FilterOperationInfo(), &T::Operation, &T::SetOperation, foSHORT);
}

void TFilterData::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFilterData*>(Source);
  if (!s) return;
  FColumn = s->FColumn;
  FCondition = s->FCondition;
  FCaseSensitive = s->FCaseSensitive;
  FSuffix = s->FSuffix;
  FPrefix = s->FPrefix;
  FOperation = s->FOperation;
  FData = s->FData;
}

ZV_CLASS_IMPL_NOPROPS(TFilter, TOwnedCollection)

// ---------------------------------------------------------------------------
// TPlusStringGrid: published properties

ZV_CLASS_IMPL(TPlusStringGrid, TBaseGrid)

void TPlusStringGrid::DeclareProperties(TClassInfo& c) {
  using T = TPlusStringGrid;
#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def).WithIdents(&ColorIdents());
#define ZV_ENUM(Name, Info, Def) c.Enum<T>(#Name, Info(), &T::Name, &T::Set##Name, Def);
#define ZV_OBJ(Name, Class) c.Object<T, Class>(#Name, &T::Name, &T::Set##Name);
#define ZV_EVENT(Name, Type) \
  c.Method<T, Type>(#Name, [](T* p) { return p->Name; }, [](T* p, Type e) { p->Name = std::move(e); });
  ZV_INT(ColCount, 5)
  ZV_INT(RowCount, 10)
  ZV_INT(FixedCols, 1)
  ZV_INT(FixedRows, 1)
  ZV_INT(FixedColWidth, 64)
  ZV_INT(FixedRowHeight, 21)
  ZV_INT(DefaultRowHeight, 21)
  ZV_INT(FixedRightCols, 0)
  ZV_INT(FixedFooters, 0)
  ZV_BOOL(FixedRowAlways, false)
  ZV_BOOL(FixedColAlways, false)
  ZV_BOOL(FixedAsButtons, false)
  ZV_OBJ(FixedFont, TFont)
  ZV_OBJ(ColumnHeaders, TStringList)
  ZV_OBJ(RowHeaders, TStringList)
  c.Boolean<T>("WordWrap", &T::GridWordWrap, &T::SetGridWordWrap, true);
  ZV_ENUM(VAlignment, VAlignInfo, vtaTop)
  ZV_BOOL(Multilinecells, false)
  ZV_BOOL(IntegralHeight, false)
  ZV_BOOL(AutoSize, false)
  ZV_BOOL(SizeWithForm, false)
  ZV_BOOL(EnhRowColMove, true)
  ZV_ENUM(Look, GridLookInfo, glXP)
  ZV_BOOL(Flat, false)
  ZV_OBJ(ProgressAppearance, TGridProgressAppearance)
  ZV_COLOR(SelectionColor, 0xEACAB6)
  ZV_COLOR(SelectionColorTo, clNone)
  ZV_COLOR(SelectionTextColor, clBlack)
  ZV_BOOL(SelectionRectangle, false)
  ZV_BOOL(SelectionResizer, false)
  ZV_BOOL(SelectionRTFKeep, false)
  ZV_BOOL(ShowSelection, true)
  ZV_BOOL(HideFocusRect, false)
  ZV_BOOL(ActiveCellShow, false)
  ZV_OBJ(ActiveCellFont, TFont)
  ZV_COLOR(ActiveCellColor, clGray)
  ZV_COLOR(ActiveCellColorTo, clNone)
  ZV_BOOL(AutoThemeAdapt, false)
  ZV_BOOL(Hovering, false)
  ZV_OBJ(RowIndicator, TBitmap)
  c.String<T>("FloatFormat", &T::FloatFormat, &T::SetFloatFormat, std::string("%.2f"));
  ZV_BOOL(AutoNumAlign, false)
  ZV_BOOL(EnhTextSize, false)
  ZV_BOOL(EnableHTML, true)
  ZV_BOOL(EnableBlink, false)
  ZV_OBJ(HTMLSettings, THTMLSettings)
  ZV_BOOL(HTMLHint, false)
  ZV_COLOR(URLColor, clBlue)
  ZV_BOOL(URLShow, false)
  ZV_BOOL(URLFull, false)
  ZV_BOOL(URLEdit, false)
  ZV_BOOL(AnchorHint, false)
  ZV_ENUM(DefaultEditor, EditorInfo, edNormal)
  ZV_BOOL(EditWithTags, false)
  ZV_INT(MaxEditLength, 0)
  ZV_BOOL(Lookup, false)
  ZV_BOOL(LookupCaseSensitive, false)
  ZV_BOOL(LookupHistory, false)
  ZV_OBJ(LookupItems, TStringList)
  ZV_BOOL(OemConvert, false)
  ZV_BOOL(ExcelStyleDecimalSeparator, false)
  ZV_OBJ(SizeWhileTyping, TSizeWhileTyping)
  ZV_OBJ(Navigation, TNavigation)
  ZV_OBJ(MouseActions, TMouseActions)
  ZV_OBJ(DragScrollOptions, TDragScrollOptions)
  ZV_ENUM(ScrollBars, ScrollStyleInfo, ssBoth)
  ZV_ENUM(ScrollBarAlways, ScrollBarAlwaysInfo, saNone)
  ZV_ENUM(ScrollType, ScrollTypeInfo, ssNormal)
  ZV_COLOR(ScrollColor, clNone)
  ZV_INT(ScrollWidth, 17)
  ZV_BOOL(ScrollProportional, false)
  ZV_BOOL(ScrollSynch, false)
  ZV_ENUM(ScrollHints, ScrollHintInfo, shNone)
  ZV_BOOL(EnableWheel, true)
  ZV_ENUM(IntelliPan, IntelliPanInfo, ipVertical)
  ZV_BOOL(IntelliZoom, true)
  ZV_COLOR(HintColor, clInfoBk)
  ZV_BOOL(HintShowCells, false)
  ZV_BOOL(HintShowLargeText, false)
  ZV_BOOL(HintShowSizing, false)
  ZV_OBJ(Filter, TFilter)
  ZV_BOOL(FilterActive, false)
  ZV_OBJ(CellNode, TCellNode)
  ZV_OBJ(ColumnSize, TColumnSize)
  ZV_OBJ(PrintSettings, TPrintSettings)
  ZV_OBJ(Bands, TBands)
  ZV_OBJ(ControlLook, TControlLook)
  ZV_OBJ(ShowModified, TShowModified)
  ZV_OBJ(SortSettings, TSortSettings)
  ZV_OBJ(Grouping, TGrouping)
  ZV_OBJ(FloatingFooter, TFloatingFooter)
  ZV_OBJ(BackGround, TBackGround)
  ZV_OBJ(SearchFooter, TSearchFooter)
  ZV_OBJ(DragDropSettings, TDragDropSettings)
  ZV_OBJ(Balloon, TBalloonSettings)
  ZV_EVENT(OnGetCellBorder, TGridBorderEvent)
  ZV_OBJ(OfficeHint, TPlusHintInfo)
  ZV_OBJ(PictureContainer, TPictureContainer)
  ZV_OBJ(GridImages, TCustomImageList)
  c.String<T>("Version", &T::Version, &T::SetVersion, std::nullopt);

  ZV_EVENT(OnAutoAdvance, TAutoAdvanceEvent)
  ZV_EVENT(OnGetCellColor, TGridColorEvent)
  ZV_EVENT(OnGetCellPrintColor, TGridColorEvent)
  ZV_EVENT(OnGetAlignment, TGridAlignEvent)
  ZV_EVENT(OnGetWordWrap, TWordWrapEvent)
  ZV_EVENT(OnGetCheckTrue, TGetCheckEvent)
  ZV_EVENT(OnGetCheckFalse, TGetCheckEvent)
  ZV_EVENT(OnGridHint, TGridHintEvent)
  ZV_EVENT(OnRowUpdate, TRowChangedEvent)
  ZV_EVENT(OnRowChanging, TRowChangingEvent)
  ZV_EVENT(OnColChanging, TColChangingEvent)
  ZV_EVENT(OnCellChanging, TCellChangingEvent)
  ZV_EVENT(OnCanAddRow, TCanAddRowEvent)
  ZV_EVENT(OnAutoAddRow, TAutoAddRowEvent)
  ZV_EVENT(OnCanInsertRow, TCanInsertRowEvent)
  ZV_EVENT(OnAutoInsertRow, TAutoInsertRowEvent)
  ZV_EVENT(OnAutoInsertCol, TAutoInsertColEvent)
  ZV_EVENT(OnCanDeleteRow, TCanDeleteRowEvent)
  ZV_EVENT(OnAutoDeleteRow, TAutoDeleteRowEvent)
  ZV_EVENT(OnClickSort, TClickSortEvent)
  ZV_EVENT(OnCanSort, TCanSortEvent)
  ZV_EVENT(OnExpandNode, TNodeClickEvent)
  ZV_EVENT(OnContractNode, TNodeClickEvent)
  ZV_EVENT(OnBeforeExpandNode, TNodeAllowEvent)
  ZV_EVENT(OnBeforeContractNode, TNodeAllowEvent)
  ZV_EVENT(OnCustomCompare, TCustomCompareEvent)
  ZV_EVENT(OnRawCompare, TRawCompareEvent)
  ZV_EVENT(OnGetFormat, TGridFormatEvent)
  ZV_EVENT(OnClickCell, TClickCellEvent)
  ZV_EVENT(OnRightClickCell, TClickCellEvent)
  ZV_EVENT(OnDblClickCell, TDblClickCellEvent)
  ZV_EVENT(OnCanClickCell, TCanClickCellEvent)
  ZV_EVENT(OnCanEditCell, TCanEditCellEvent)
  ZV_EVENT(OnIsFixedCell, TIsFixedCellEvent)
  ZV_EVENT(OnIsPasswordCell, TIsPasswordCellEvent)
  ZV_EVENT(OnAnchorClick, TAnchorClickEvent)
  ZV_EVENT(OnAnchorEnter, TAnchorEvent)
  ZV_EVENT(OnAnchorExit, TAnchorEvent)
  ZV_EVENT(OnAnchorHint, TAnchorHintEvent)
  ZV_EVENT(OnClipboardPaste, TClipboardEvent)
  ZV_EVENT(OnClipboardCopy, TClipboardEvent)
  ZV_EVENT(OnClipboardCut, TClipboardEvent)
  ZV_EVENT(OnClipboardBeforePasteCell, TBeforeCellPasteEvent)
  ZV_EVENT(OnCellValidate, TCellValidateEvent)
  ZV_EVENT(OnCellsChanged, TCellsChangedEvent)
  ZV_EVENT(OnFileProgress, TGridProgressEvent)
  ZV_EVENT(OnFilterProgress, TGridProgressEvent)
  ZV_EVENT(OnHasComboBox, THasComboEvent)
  ZV_EVENT(OnGetEditorType, TGetEditorTypeEvent)
  ZV_EVENT(OnGetFloatFormat, TFloatFormatEvent)
  ZV_EVENT(OnEllipsClick, TEllipsClickEvent)
  ZV_EVENT(OnButtonClick, TButtonClickEvent)
  ZV_EVENT(OnCheckBoxClick, TCheckBoxClickEvent)
  ZV_EVENT(OnCheckBoxMouseUp, TCheckBoxClickEvent)
  ZV_EVENT(OnRadioClick, TRadioClickEvent)
  ZV_EVENT(OnRadioMouseUp, TRadioClickEvent)
  ZV_EVENT(OnDatePickerCloseUp, TClickCellEvent)
  ZV_EVENT(OnComboCloseUp, TClickCellEvent)
  ZV_EVENT(OnEditingDone, TNotifyEvent)
  ZV_EVENT(OnEditCellDone, TEditCellDoneEvent)
  ZV_EVENT(OnEditChange, TEditChangeEvent)
  ZV_EVENT(OnRowDisjunctSelect, TRowDisjunctSelectEvent)
  ZV_EVENT(OnRowDisjunctSelected, TAutoInsertRowEvent)
  ZV_EVENT(OnSelectionChanged, TSelectionChanged)
  ZV_EVENT(OnScrollHint, TScrollHintEvent)
  ZV_EVENT(OnColumnSize, TColumnSizeEvent)
  ZV_EVENT(OnColumnMove, TColumnSizeEvent)
  ZV_EVENT(OnRowSize, TRowSizeEvent)
  ZV_EVENT(OnRowMove, TRowSizeEvent)
  ZV_EVENT(OnEndColumnSize, TEndColumnSizeEvent)
  ZV_EVENT(OnUpdateColumnSize, TUpdateColumnSizeEvent)
  ZV_EVENT(OnEndRowSize, TEndRowSizeEvent)
  ZV_EVENT(OnSaveCell, TCellSaveLoadEvent)
  ZV_EVENT(OnLoadCell, TCellSaveLoadEvent)
  ZV_EVENT(OnCustomCellDraw, TCustomCellDrawEvent)
  ZV_EVENT(OnCustomCellSize, TCustomCellSizeEvent)
  ZV_EVENT(OnGetCellBorderProp, TGridBorderPropEvent)
  ZV_EVENT(OnOfficeHint, TOfficeHintEvent)
  ZV_EVENT(OnCellBalloon, TGridBalloonEvent)
  ZV_EVENT(OnPrintPage, TGridPrintPageEvent)
  ZV_EVENT(OnPrintPageDone, TGridPrintPageDoneEvent)
  ZV_EVENT(OnPrintStart, TGridPrintStartEvent)
  ZV_EVENT(OnPrintCancel, TGridPrintCancelEvent)
  ZV_EVENT(OnFitToPage, TDoFitToPageEvent)
  ZV_EVENT(OnPrintNewPage, TGridPrintNewPageEvent)
  ZV_EVENT(OnPrintSetColumnWidth, TGridPrintColumnWidthEvent)
  ZV_EVENT(OnPrintSetRowHeight, TGridPrintRowHeightEvent)
  ZV_EVENT(OnControlClick, TCellControlEvent)
  ZV_EVENT(OnControlEditDone, TCellControlEvent)
  ZV_EVENT(OnControlComboList, TCellComboControlEvent)
  ZV_EVENT(OnClipboardBeforePasteWideCell, TBeforeCellPasteWideEvent)
  ZV_EVENT(OnCellValidateWide, TCellValidateWideEvent)
  ZV_EVENT(OnComboChange, TComboChangeEvent)
  ZV_EVENT(OnComboObjectChange, TComboObjectChangeEvent)
  ZV_EVENT(OnSpinClick, TSpinClickEvent)
  ZV_EVENT(OnFloatSpinClick, TFloatSpinClickEvent)
  ZV_EVENT(OnTimeSpinClick, TDateTimeSpinClickEvent)
  ZV_EVENT(OnDateSpinClick, TDateTimeSpinClickEvent)
  ZV_EVENT(OnRichEditSelectionChange, TNotifyEvent)
  ZV_EVENT(OnDateTimeChange, TDateTimeChangeEvent)
  ZV_EVENT(OnFooterPaint, TFooterPaintEvent)
  ZV_EVENT(OnOleDrop, TOleDragDropEvent)
  ZV_EVENT(OnOleDropped, TOleDroppedEvent)
  ZV_EVENT(OnOleDrag, TOleDragDropEvent)
  ZV_EVENT(OnOleDragOver, TOleDragOverEvent)
  ZV_EVENT(OnOleDragStart, TOleDragStartEvent)
  ZV_EVENT(OnOleDragStop, TOleDragStopEvent)
  ZV_EVENT(OnOleDropCol, TOleDropColEvent)
  ZV_EVENT(OnOleDropFile, TOleDropFileEvent)
  ZV_EVENT(OnSelectionResize, TSelectionResizeEvent)
  ZV_EVENT(OnSelectionResized, TSelectionResizeEvent)
  ZV_EVENT(OnSetEditWideText, TSetEditWideTextEvent)
  ZV_EVENT(OnGetEditWideText, TGetEditWideTextEvent)
  ZV_EVENT(OnGetEditorProp, TGetEditorPropEvent)
#undef ZV_BOOL
#undef ZV_INT
#undef ZV_COLOR
#undef ZV_ENUM
#undef ZV_OBJ
#undef ZV_EVENT
}

// ---------------------------------------------------------------------------
// Lifecycle

TPlusStringGrid::TPlusStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner),
      FMouseActions(std::make_unique<TMouseActions>(this)),
      FNavigation(std::make_unique<TNavigation>()),
      FColumnSize(std::make_unique<TColumnSize>(this)),
      FCellNode(std::make_unique<TCellNode>(this)),
      FSizeWhileTyping(std::make_unique<TSizeWhileTyping>()),
      FHTMLSettings(std::make_unique<THTMLSettings>()),
      FPrintSettings(std::make_unique<TPrintSettings>(this)),
      FBands(std::make_unique<TBands>(this)),
      FControlLook(std::make_unique<TControlLook>(this)),
      FShowModified(std::make_unique<TShowModified>(this)),
      FProgressAppearance(std::make_unique<TGridProgressAppearance>()),
      FFilter(std::make_unique<TFilter>(this)),
      FHiddenRows(std::make_unique<TCollection>(&TGridItem::StaticClass())),
      FFixedFont(std::make_unique<TFont>()),
      FActiveCellFont(std::make_unique<TFont>()),
      FColumnHeaders(std::make_unique<TStringList>()),
      FRowHeaders(std::make_unique<TStringList>()),
      FLookupItems(std::make_unique<TStringList>()),
      FSortRowScratch(std::make_unique<TStringList>()),
      FSortIndexes(std::make_unique<TSortIndexList>()),
      FUnsortedRows(std::make_unique<TIntList>(-1, -1)),
      FUnsortedRowsCopy(std::make_unique<TIntList>(-1, -1)),
      FMergedColumns(std::make_unique<TIntList>(-1, -1)),
      FPaintList(std::make_unique<TIntList>(-1, -1)),
      FSelectedRowList(std::make_unique<TIntList>(-1, -1)),
      FRowModifiedList(std::make_unique<TIntList>(-1, -1)),
      FColumnOrder(std::make_unique<TIntList>(-1, -1)),
      FRowIndicator(std::make_unique<TBitmap>()),
      FControlList(std::make_unique<TControlList>()),
      FOfficeHint(std::make_unique<TPlusHintInfo>()),
      FPictureCache(std::make_unique<THTMLPictureCache>()) {
  FFixedFont->SetName("Tahoma");
  FFixedFont->SetStyle(TFontStyles{fsBold});
  FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
  FActiveCellFont->SetStyle(TFontStyles{fsBold});
  if (Designing()) FActiveCellFont->SetName("Tahoma");
  FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
  FColumnHeaders->OnChange = [this](TObject*) {
    ColumnHeadersChanged();
    WriteColumnHeaders();
  };
  FRowHeaders->OnChange = [this](TObject*) { WriteRowHeaders(); };
  FMergedColumns->OnChange = [this](TObject*, int, int) { MergeColumns(); };
  FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };

  TCustomGrid::SetScrollBars(ssBoth);
  SetRowCount(10);
  FMaxColCountSet = ColCount();
  SetBounds(Left(), Top(), 400, 250);

  FColVisible.assign(ColCount(), true);
  TCustomGrid::SetDefaultRowHeight(21);
  FFixedRowHeight = 21;
  FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  FXPFlag = IsWinXP() && ThemesActive();
  FAlwaysFixedRows = TCustomGrid::FixedRows();
  FAlwaysFixedCols = TCustomGrid::FixedCols();

  CreateRichEdits();
  if (!Designing()) {
    for (int d = 0; d < 4; ++d) {
      FArrows[d] = new TArrowWindow(this, d);
      FArrows[d]->SetVisible(false);
    }
    CreateEditorControls();
  }

  // Follow the owning form through its listener list; its OnResize stays its own.
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !Designing()) {
    FResizeForm = form;
    FResizeFormComponent = AOwner;
    FFormWidth = form->Width();
    FFormHeight = form->Height();
    form->AddResizeListener(this, [this] { FormResized(); });
  }
}

void TPlusStringGrid::FormResized() {
  if (Designing() || ComponentState().Contains(csDestroying) || !FResizeForm) return;
  if (FSizeWithForm) {
    int w = Width() + FResizeForm->Width() - FFormWidth;
    int h = Height() + FResizeForm->Height() - FFormHeight;
    if (w > 0 && h > 0) {
      SetBounds(Left(), Top(), w, h);
      FFormWidth = FResizeForm->Width();
      FFormHeight = FResizeForm->Height();
    }
  }
  StretchColumn(FColumnSize->StretchColumn());
}

TPlusStringGrid::~TPlusStringGrid() {
  DetachEditors();
  // The listener list of a form being destroyed is gone already.
  if (FResizeForm && !FResizeFormComponent->ComponentState().Contains(csDestroying))
    FResizeForm->RemoveResizeListener(this);
  SaveColumnSizesOnDestroy();
  // Hidden rows hold their records; put them back so the cell store frees them.
  if (NumHiddenRows() > 0) UnHideRowsAll();
  FListeners.clear();
  // The cell store frees the records it holds; those of rows and columns cut
  // off by a smaller count were freed when they were cut.
}

std::string TPlusStringGrid::Version() const {
  unsigned v = static_cast<unsigned>(GetVersionNr());
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

std::string TPlusStringGrid::GetVersionString() const { return Version() + " Apr, 2007"; }

void TPlusStringGrid::Loaded() {
  TBaseGrid::Loaded();
  FSavedCursor = Cursor();
  WriteColumnHeaders();
  WriteRowHeaders();
  FAlwaysFixedRows = TCustomGrid::FixedRows();
  FAlwaysFixedCols = TCustomGrid::FixedCols();
  FOrgDefaultRowHeight = DefaultRowHeight();
  // Automatic sizing keeps columns readable and rows at the form's height.
  FMinColWidth = 10;
  FMinRowHeight = DefaultRowHeight();
  FMaxRowCountSet = RowCount();
  FWasLoaded = true;
  if (FBalloon->Enable()) CreateBalloon();
  if (FLook == glQRB) {
    FFixedGradientStart = clSilver;
    FFixedGradientEnd = clWhite;
  }
  if (FAutoThemeAdapt) AdaptToTheme();
  if (Options().Contains(goAlwaysShowEditor)) {
    TGridOptions o = Options();
    o.Exclude(goAlwaysShowEditor);
    TCustomGrid::SetOptions(o);
    FNavigation->SetAlwaysEdit(true);
  }
  if (FColumnSize->Save()) LoadColumnSizes();
  ApplySearchFooter();
}

void TPlusStringGrid::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPlusStringGrid*>(Source);
  if (!s || s == this) return;
  Font()->Assign(s->Font());
  FActiveCellColor = s->FActiveCellColor;
  FActiveCellColorTo = s->FActiveCellColorTo;
  FActiveCellFont->Assign(s->FActiveCellFont.get());
  FActiveCellShow = s->FActiveCellShow;
  SetActiveRowShow(s->ActiveRowShow());
  SetAlign(s->Align());
  FAnchorHint = s->FAnchorHint;
  FAutoNumAlign = s->FAutoNumAlign;
  FAutoSize = s->FAutoSize;
  FMouseActions->Assign(s->FMouseActions.get());
  FDragScrollOptions->Assign(s->FDragScrollOptions.get());
  FNavigation->Assign(s->FNavigation.get());
  FPrintSettings->Assign(s->FPrintSettings.get());
  FFilter->Assign(s->FFilter.get());
  FHTMLSettings->Assign(s->FHTMLSettings.get());
  FCellNode->Assign(s->FCellNode.get());
  FOfficeHint->Assign(s->FOfficeHint.get());
  FProgressAppearance->Assign(s->FProgressAppearance.get());
  SetColCount(s->ColCount());
  SetRowCount(s->RowCount());
  SetFixedRows(s->TCustomGrid::FixedRows());
  SetFixedCols(s->TCustomGrid::FixedCols());
  SetDefaultColWidth(s->DefaultColWidth());
  SetDefaultRowHeight(s->DefaultRowHeight());
  SetOptions(s->Options());
  // The cells with their records and graphics travel as a cell stream.
  ClearAll();
  TMemoryStream cells;
  s->WriteCellStream(TGridRect{0, 0, s->ColCount() - 1, s->RowCount() - 1}, cells, false);
  cells.SetPosition(0);
  ReadCellStream(cells, TPoint{0, 0}, true);
  Invalidate();
}

void TPlusStringGrid::Invalidate() {
  if (FSuppressInvalidate) {
    FSuppressInvalidate = false;
    return;
  }
  if (FUpdateCount > 0) {
    FRepaintPending = true;
    return;
  }
  TBaseGrid::Invalidate();
  FFloatingFooter->Invalidate();
}

void TPlusStringGrid::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FRepaintPending) {
    FRepaintPending = false;
    Invalidate();
  }
}

void TPlusStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int drh = DefaultRowHeight();
  if (FIntegralHeight && FUpdateCount == 0 && drh > 0) {
    int s = (VisibleColCount() < ColCount() - TCustomGrid::FixedCols()) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    const int b = 0;  // the layer's grid draws no border of its own
    AHeight = AHeight + b - ((AHeight - s - b) % drh);
  }
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPlusStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
  TBaseGrid::SizeChanged(OldColCount, OldRowCount);
  if (ColCount() < OldColCount && static_cast<int>(FColSelectFlags.size()) > ColCount())
    FColSelectFlags.resize(ColCount());
  // New columns show; hidden ones sit beyond the shown ones.
  FColVisible.resize(static_cast<size_t>(GetAllColCount()), true);
  StretchAfterCountChange();
}

// ---------------------------------------------------------------------------
// Shape setters

void TPlusStringGrid::SetColCount(int v) {
  TCustomGrid::SetColCount(v);
  if (FFixedColAlways && FAlwaysFixedCols < ColCount()) TCustomGrid::SetFixedCols(FAlwaysFixedCols);
  FMaxColCountSet = std::max(FMaxColCountSet, ColCount());
  if (FIntegralHeight) SetBounds(Left(), Top(), Width(), Height());
}

void TPlusStringGrid::SetRowCount(int v) {
  TCustomGrid::SetRowCount(v);
  if (FFixedRowAlways && FAlwaysFixedRows < RowCount()) TCustomGrid::SetFixedRows(FAlwaysFixedRows);
  FMaxRowCountSet = std::max(FMaxRowCountSet, RowCount());
  SetDisplRowCount(RowCount());
  if (static_cast<int>(FRowModified.size()) > RowCount()) FRowModified.resize(RowCount());
}

int TPlusStringGrid::FixedRows() const {
  int v = TCustomGrid::FixedRows();
  return (v == 0 && FFixedRowAlways) ? 1 : v;
}

void TPlusStringGrid::SetFixedRows(int v) {
  TCustomGrid::SetFixedRows(v);
  if (!IsLoading()) FAlwaysFixedRows = v;
}

int TPlusStringGrid::FixedCols() const {
  int v = TCustomGrid::FixedCols();
  return (v == 0 && FFixedColAlways) ? 1 : v;
}

void TPlusStringGrid::SetFixedCols(int v) {
  TCustomGrid::SetFixedCols(v);
  if (!IsLoading()) FAlwaysFixedCols = v;
}

void TPlusStringGrid::SetFixedColWidth(int v) {
  if (IsLoading() || v == DefaultColWidth()) return;
  for (int c = 0; c < TCustomGrid::FixedCols(); ++c) SetColWidths(c, v);
}

void TPlusStringGrid::SetFixedRowHeight(int v) {
  FFixedRowHeight = v;
  if (IsLoading()) return;
  if (v == DefaultRowHeight()) {
    TCustomGrid::SetDefaultRowHeight(v);
    return;
  }
  for (int r = 0; r < TCustomGrid::FixedRows(); ++r) SetRowHeights(r, v);
}

void TPlusStringGrid::SetDefaultRowHeight(int v) {
  TCustomGrid::SetDefaultRowHeight(v);
  if (Designing()) FFixedRowHeight = v;
  FFloatingFooter->SetFooterHeight(v);
}

void TPlusStringGrid::SetFixedRightCols(int v) {
  FFixedRightCols = v;
  Invalidate();
}

void TPlusStringGrid::SetFixedFooters(int v) {
  FFixedFooters = v;
  Invalidate();
}

void TPlusStringGrid::SetScrollBars(TScrollStyle v) {
  FGridScrollBars = v;
  TCustomGrid::SetScrollBars(v);
}

void TPlusStringGrid::SetFlat(bool v) {
  FFlat = v;
  if (!IsLoading()) Invalidate();
}

void TPlusStringGrid::SetGridWordWrap(bool v) {
  SetWordWrap(v);
  if (FUpdateCount == 0) Invalidate();
}

void TPlusStringGrid::SetColumnSize(TColumnSize* v) {
  if (!v || v == FColumnSize.get()) return;
  FColumnSize->SetSave(v->Save());
  FColumnSize->SetKey(v->Key());
  FColumnSize->SetSection(v->Section());
  FColumnSize->SetStretch(v->Stretch());
  FColumnSize->SetStretchColumn(v->StretchColumn());
  FColumnSize->SetSynchWithGrid(v->SynchWithGrid());
  FColumnSize->SetLocation(v->Location());
}

void TPlusStringGrid::SetSizeWhileTyping(TSizeWhileTyping* v) {
  if (!v || v == FSizeWhileTyping.get()) return;
  FSizeWhileTyping->SetHeight(v->Height());
  FSizeWhileTyping->SetWidth(v->Width());
}

void TPlusStringGrid::SetPictureContainer(TPictureContainer* v) {
  if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
  FPictureContainer = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TPlusStringGrid::SetGridImages(TCustomImageList* v) {
  if (FGridImages) FGridImages->RemoveFreeNotification(this);
  FGridImages = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}

void TPlusStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TBaseGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPictureContainer) FPictureContainer = nullptr;
  if (AComponent == FGridImages) FGridImages = nullptr;
  if (AComponent == FCellChecker) FCellChecker = nullptr;
  if (AComponent == FCellEditLink) FCellEditLink = nullptr;
  if (AComponent == FEditLinkControl) {
    FEditLinkControl = nullptr;
    FEditLinkOldProc = nullptr;
  }
}

void TPlusStringGrid::SetRowIndicator(TBitmap* v) {
  if (v && v != FRowIndicator.get()) FRowIndicator->Assign(v);
  if (TCustomGrid::FixedCols() > 0) RepaintCell(0, Row());
}

// ---------------------------------------------------------------------------
// Hooks

void TPlusStringGrid::CellChanged(int ACol, int ARow) {
  (void)ARow;
  UpdateFooter(ACol);
}

void TPlusStringGrid::CellsChanged(const TRect& R) {
  if (OnCellsChanged) OnCellsChanged(this, R);
  auto listeners = FListeners;
  for (TGridChangeListener* l : listeners) l->CellsChanged(this, R);
  AllCellsChanged();
}

void TPlusStringGrid::AddChangeListener(TGridChangeListener* L) {
  if (L && std::find(FListeners.begin(), FListeners.end(), L) == FListeners.end()) FListeners.push_back(L);
}

void TPlusStringGrid::RemoveChangeListener(TGridChangeListener* L) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), L), FListeners.end());
}

void TPlusStringGrid::DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  if (FActiveCellShow) {
    bool rowHeader = TCustomGrid::FixedCols() > 0 && DisplColIndex(ACol) == 0 && ARow == Row();
    bool colHeader = TCustomGrid::FixedRows() > 0 && ARow == 0 && ACol == Col();
    if (rowHeader || colHeader) {
      AFont->Assign(FActiveCellFont.get());
      ABrush->SetColor(FActiveCellColor);
    }
  }
  if (HasCellProperties(ACol, ARow)) {
    TCellProperties* p = GetCellProperties(ACol, ARow);
    // Cells drawing a control of their own keep the control's background.
    TCellType kind = GetCellType(ACol, ARow);
    bool plain = kind == ctIcon || kind == ctNone || kind == ctImageList || kind == ctEmpty || kind == ctImages ||
                 kind == ctComment;
    if (plain && p->BrushColor() != clNone) ABrush->SetColor(p->BrushColor());
    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
    if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
    if (!p->FontName().empty()) AFont->SetName(p->FontName());
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

bool TPlusStringGrid::GetCellFixed(int ACol, int ARow) {
  bool fixed = ACol < TCustomGrid::FixedCols() || ARow < TCustomGrid::FixedRows();
  if (FFixedRowAlways && ARow == 0) fixed = true;
  if (FFixedColAlways && ACol == 0) fixed = true;
  if (OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, fixed);
  return fixed;
}

bool TPlusStringGrid::IsFixedCell(int ACol, int ARow) {
  if (ARow >= RowCount() - FFixedFooters) return true;
  if (ACol >= ColCount() - FFixedRightCols) return true;
  TPoint b = GetBaseCell(ACol, ARow);
  return GetCellFixed(DisplColIndex(b.X), b.Y);
}

int TPlusStringGrid::GetNodeIndent(int ARow) {
  if (!HasNodes() || !HasCellProperties(0, ARow)) return 0;
  return GetCellProperties(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

bool TPlusStringGrid::DoCanEditCell(int ACol, int ARow) {
  bool can = true;
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, can);
  return can;
}

bool TPlusStringGrid::CanEditCell(int ACol, int ARow) {
  if (HasCellProperties(ACol, ARow) && GetCellProperties(ACol, ARow)->ReadOnly()) return false;
  return DoCanEditCell(ACol, ARow);
}

TEditorType TPlusStringGrid::GetCellEditor(int ACol, int ARow) {
  TEditorType e = FDefaultEditor;
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, e);
  return e;
}

bool TPlusStringGrid::GetCellPassword(int ACol, int ARow) {
  bool p = false;
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, p);
  return p;
}

bool TPlusStringGrid::GetCellWordWrap(int ACol, int ARow) {
  bool w = WordWrap();
  if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, w);
  return w;
}

bool TPlusStringGrid::HasComboBox(int ACol, int ARow) {
  bool h = false;
  if (OnHasComboBox) OnHasComboBox(this, ACol, ARow, h);
  return h;
}

std::string TPlusStringGrid::GetCheckTrue(int ACol, int ARow) {
  std::string v = FCheckTrue;
  if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, v);
  return v;
}

std::string TPlusStringGrid::GetCheckFalse(int ACol, int ARow) {
  std::string v = FCheckFalse;
  if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, v);
  return v;
}

