#include "grid/gridsettings.h"

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "platform/ui/uitypes.h"

namespace {

const TEnumInfo& NodeTypeInfo() {
  static const TEnumInfo info{"TNodeType", {"cnFlat", "cn3D", "cnGlyph", "cnLeaf", "cnXP"}, 0};
  return info;
}
const TEnumInfo& FixedCellEditInfo() {
  static const TEnumInfo info{"TGridFixedCellEdit", {"fceNone", "fceDblClick", "fceLeftClick", "fceRightClick"}, 0};
  return info;
}
const TEnumInfo& WheelActionInfo() {
  static const TEnumInfo info{"TWheelAction", {"waMoveSelection", "waScroll"}, 0};
  return info;
}
const TEnumInfo& ColumnSizeLocationInfo() {
  static const TEnumInfo info{"TColumnSizeLocation", {"clRegistry", "clIniFile"}, 0};
  return info;
}
const TEnumInfo& AdvanceDirectionInfo() {
  static const TEnumInfo info{"TAdvanceDirection", {"adLeftRight", "adTopBottom"}, 0};
  return info;
}
const TEnumInfo& InsertPositionInfo() {
  static const TEnumInfo info{"TInsertPosition", {"pInsertBefore", "pInsertAfter"}, 0};
  return info;
}
const TEnumInfo& HomeEndInfo() {
  static const TEnumInfo info{"THomeEndAction", {"heFirstLastColumn", "heFirstLastRow"}, 0};
  return info;
}
const TEnumInfo& PrintPositionInfo() {
  static const TEnumInfo info{"TPrintPosition",
                              {"ppNone", "ppTopLeft", "ppTopRight", "ppTopCenter", "ppBottomLeft", "ppBottomRight",
                               "ppBottomCenter"},
                              0};
  return info;
}
const TEnumInfo& PrintBordersInfo() {
  static const TEnumInfo info{"TPrintBorders",
                              {"pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal", "pbAround",
                               "pbAroundVertical", "pbAroundHorizontal", "pbCustom"},
                              0};
  return info;
}
const TEnumInfo& OrientationInfo() {
  static const TEnumInfo info{"TPrinterOrientation", {"poPortrait", "poLandscape"}, 0};
  return info;
}
const TEnumInfo& FitToPageInfo() {
  static const TEnumInfo info{"TFitToPage", {"fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom"}, 0};
  return info;
}

}  // namespace

#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def).WithIdents(&ColorIdents());
#define ZV_STR(Name, Def) c.String<T>(#Name, &T::Name, &T::Set##Name, std::string(Def));
#define ZV_ENUM(Name, Info, Def) c.Enum<T>(#Name, Info(), &T::Name, &T::Set##Name, Def);
#define ZV_COPY(Name) F##Name = s->F##Name;

// ---------------------------------------------------------------------------
// TCellNode

ZV_CLASS_IMPL(TCellNode, TPersistent)

void TCellNode::DeclareProperties(TClassInfo& c) {
  using T = TCellNode;
  ZV_COLOR(Color, 0xC0C0C0)
  ZV_BOOL(ExpandOne, false)
  ZV_ENUM(NodeType, NodeTypeInfo, cnXP)
  ZV_COLOR(NodeColor, clBlack)
  ZV_INT(NodeIndent, 12)
  c.Object<T, TBitmap>("ExpandGlyph", &T::ExpandGlyph, &T::SetExpandGlyph);
  c.Object<T, TBitmap>("ContractGlyph", &T::ContractGlyph, &T::SetContractGlyph);
  ZV_BOOL(ShowTree, true)
  ZV_BOOL(ShowTreeFull, true)
  ZV_COLOR(TreeColor, clGray)
}

TCellNode::TCellNode(TPlusStringGrid* AGrid)
    : FGrid(AGrid), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()) {}

void TCellNode::Repaint() {
  if (FGrid) FGrid->Repaint();
}

void TCellNode::SetNodeType(TNodeType v) {
  if (v == FNodeType) return;
  FNodeType = v;
  Repaint();
}

void TCellNode::SetNodeIndent(int v) {
  if (v == FNodeIndent) return;
  FNodeIndent = v;
  Repaint();
}

void TCellNode::SetShowTree(bool v) {
  if (v == FShowTree) return;
  FShowTree = v;
  Repaint();
}

void TCellNode::SetShowTreeFull(bool v) {
  if (v == FShowTreeFull) return;
  FShowTreeFull = v;
  Repaint();
}

void TCellNode::SetTreeColor(TColor v) {
  if (v == FTreeColor) return;
  FTreeColor = v;
  Repaint();
}

void TCellNode::SetExpandGlyph(TBitmap* v) {
  if (v && v != FExpandGlyph.get()) FExpandGlyph->Assign(v);
}

void TCellNode::SetContractGlyph(TBitmap* v) {
  if (v && v != FContractGlyph.get()) FContractGlyph->Assign(v);
}

void TCellNode::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCellNode*>(Source);
  if (!s || s == this) return;
  ZV_COPY(Color) ZV_COPY(ExpandOne) ZV_COPY(NodeType) ZV_COPY(NodeColor) ZV_COPY(NodeIndent)
  ZV_COPY(ShowTree) ZV_COPY(ShowTreeFull) ZV_COPY(TreeColor)
  FExpandGlyph->Assign(s->FExpandGlyph.get());
  FContractGlyph->Assign(s->FContractGlyph.get());
}

// ---------------------------------------------------------------------------
// TSizeWhileTyping

ZV_CLASS_IMPL(TSizeWhileTyping, TPersistent)

void TSizeWhileTyping::DeclareProperties(TClassInfo& c) {
  using T = TSizeWhileTyping;
  ZV_BOOL(Height, false)
  ZV_BOOL(Width, false)
}

// ---------------------------------------------------------------------------
// TMouseActions

ZV_CLASS_IMPL(TMouseActions, TPersistent)

void TMouseActions::DeclareProperties(TClassInfo& c) {
  using T = TMouseActions;
  ZV_BOOL(AllColumnSize, false)
  ZV_BOOL(AllRowSize, false)
  ZV_BOOL(AllSelect, false)
  ZV_BOOL(AutoSizeColOnDblClick, true)
  ZV_BOOL(CaretPositioning, false)
  ZV_BOOL(CheckAllCheck, false)
  ZV_BOOL(ColSelect, false)
  ZV_BOOL(DirectComboDrop, false)
  ZV_BOOL(DirectDateDrop, false)
  ZV_BOOL(DirectEdit, false)
  ZV_BOOL(DisjunctRowSelect, false)
  ZV_BOOL(DisjunctColSelect, false)
  ZV_BOOL(DisjunctCellSelect, false)
  ZV_ENUM(FixedRowsEdit, FixedCellEditInfo, fceNone)
  ZV_ENUM(FixedColsEdit, FixedCellEditInfo, fceNone)
  ZV_BOOL(HotmailRowSelect, false)
  ZV_BOOL(MoveRowOnNodeClick, false)
  ZV_BOOL(NoAutoRangeScroll, false)
  ZV_BOOL(NodeAllExpandContract, false)
  ZV_BOOL(NoScrollOnPartialRow, false)
  ZV_BOOL(PreciseCheckBoxCheck, false)
  ZV_BOOL(RangeSelectAndEdit, false)
  ZV_BOOL(RowSelect, false)
  ZV_BOOL(RowSelectPersistent, false)
  ZV_BOOL(SelectOnRightClick, false)
  ZV_BOOL(SizeFixedCol, false)
  ZV_BOOL(SizeFixedRow, false)
  ZV_INT(WheelIncrement, 0)
  ZV_ENUM(WheelAction, WheelActionInfo, waMoveSelection)
}

bool TMouseActions::Designing() const { return FGrid && FGrid->ComponentState().Contains(csDesigning); }

void TMouseActions::SetDisjunctRowSelect(bool v) {
  FDisjunctRowSelect = v;
  if (v && Designing()) FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool v) {
  FDisjunctColSelect = v;
  if (v && Designing()) FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool v) {
  FDisjunctCellSelect = v;
  if (v && Designing()) FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::SetHotmailRowSelect(bool v) {
  FHotmailRowSelect = v;
  if (FGrid) FGrid->Invalidate();
}

void TMouseActions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TMouseActions*>(Source);
  if (!s || s == this) return;
  ZV_COPY(AllColumnSize) ZV_COPY(AllRowSize) ZV_COPY(AllSelect) ZV_COPY(AutoSizeColOnDblClick)
  ZV_COPY(CaretPositioning) ZV_COPY(CheckAllCheck) ZV_COPY(ColSelect) ZV_COPY(DirectComboDrop)
  ZV_COPY(DirectDateDrop) ZV_COPY(DirectEdit) ZV_COPY(DisjunctRowSelect) ZV_COPY(DisjunctColSelect)
  ZV_COPY(DisjunctCellSelect) ZV_COPY(FixedRowsEdit) ZV_COPY(FixedColsEdit) ZV_COPY(MoveRowOnNodeClick)
  ZV_COPY(NoAutoRangeScroll) ZV_COPY(NodeAllExpandContract) ZV_COPY(NoScrollOnPartialRow)
  ZV_COPY(PreciseCheckBoxCheck) ZV_COPY(RangeSelectAndEdit) ZV_COPY(RowSelect) ZV_COPY(RowSelectPersistent)
  ZV_COPY(SelectOnRightClick) ZV_COPY(SizeFixedCol) ZV_COPY(WheelIncrement) ZV_COPY(WheelAction)
}

// ---------------------------------------------------------------------------
// TColumnSize

ZV_CLASS_IMPL(TColumnSize, TPersistent)

void TColumnSize::DeclareProperties(TClassInfo& c) {
  using T = TColumnSize;
  ZV_BOOL(Save, false)
  ZV_STR(Key, "")
  ZV_STR(Section, "")
  ZV_BOOL(Stretch, false)
  ZV_INT(StretchColumn, -1)
  ZV_BOOL(SynchWithGrid, false)
  ZV_ENUM(Location, ColumnSizeLocationInfo, clRegistry)
}

// ---------------------------------------------------------------------------
// TNavigation

ZV_CLASS_IMPL(TNavigation, TPersistent)

void TNavigation::DeclareProperties(TClassInfo& c) {
  using T = TNavigation;
  ZV_BOOL(AllowInsertRow, false)
  ZV_BOOL(AllowDeleteRow, false)
  ZV_BOOL(AlwaysEdit, false)
  ZV_BOOL(AdvanceOnEnter, false)
  ZV_BOOL(AdvanceInsert, false)
  ZV_BOOL(AutoGotoWhenSorted, false)
  ZV_BOOL(AutoGotoIncremental, false)
  ZV_BOOL(AutoComboDropSize, false)
  ZV_ENUM(AdvanceDirection, AdvanceDirectionInfo, adLeftRight)
  ZV_BOOL(AllowClipboardShortCuts, false)
  ZV_BOOL(AllowCtrlEnter, true)
  ZV_BOOL(AllowSmartClipboard, false)
  ZV_BOOL(AllowRTFClipboard, false)
  ZV_BOOL(AllowFmtClipboard, false)
  ZV_BOOL(AllowClipboardAlways, false)
  ZV_BOOL(AllowClipboardRowGrow, true)
  ZV_BOOL(AllowClipboardColGrow, true)
  ZV_BOOL(AdvanceAuto, false)
  ZV_BOOL(AppendOnArrowDown, false)
  ZV_BOOL(EditSelectAll, true)
  ZV_ENUM(InsertPosition, InsertPositionInfo, pInsertBefore)
  ZV_BOOL(CursorWalkEditor, false)
  ZV_BOOL(MoveRowOnSort, false)
  ZV_BOOL(ImproveMaskSel, false)
  ZV_BOOL(CopyHTMLTagsToClipboard, true)
  ZV_BOOL(KeepHorizScroll, false)
  ZV_BOOL(LineFeedOnEnter, false)
  ZV_ENUM(HomeEndKey, HomeEndInfo, heFirstLastColumn)
  ZV_BOOL(SkipFixedCells, true)
  ZV_BOOL(TabToNextAtEnd, false)
  ZV_ENUM(TabAdvanceDirection, AdvanceDirectionInfo, adLeftRight)
}

void TNavigation::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TNavigation*>(Source);
  if (!s || s == this) return;
  ZV_COPY(AllowInsertRow) ZV_COPY(AllowDeleteRow) ZV_COPY(AlwaysEdit) ZV_COPY(AdvanceOnEnter)
  ZV_COPY(AdvanceInsert) ZV_COPY(AutoGotoWhenSorted) ZV_COPY(AutoGotoIncremental) ZV_COPY(AutoComboDropSize)
  ZV_COPY(AdvanceDirection) ZV_COPY(AllowClipboardShortCuts) ZV_COPY(AllowCtrlEnter) ZV_COPY(AllowSmartClipboard)
  ZV_COPY(AllowRTFClipboard) ZV_COPY(AllowFmtClipboard) ZV_COPY(AllowClipboardAlways)
  ZV_COPY(AllowClipboardRowGrow) ZV_COPY(AllowClipboardColGrow) ZV_COPY(AdvanceAuto) ZV_COPY(AppendOnArrowDown)
  ZV_COPY(EditSelectAll) ZV_COPY(InsertPosition) ZV_COPY(CursorWalkEditor) ZV_COPY(MoveRowOnSort)
  ZV_COPY(ImproveMaskSel) ZV_COPY(CopyHTMLTagsToClipboard) ZV_COPY(KeepHorizScroll) ZV_COPY(LineFeedOnEnter)
  ZV_COPY(HomeEndKey) ZV_COPY(SkipFixedCells) ZV_COPY(TabToNextAtEnd) ZV_COPY(TabAdvanceDirection)
}

// ---------------------------------------------------------------------------
// THTMLSettings

ZV_CLASS_IMPL(THTMLSettings, TPersistent)

void THTMLSettings::DeclareProperties(TClassInfo& c) {
  using T = THTMLSettings;
  ZV_INT(BorderSize, 1)
  ZV_INT(CellSpacing, 0)
  ZV_INT(CellPadding, 0)
  ZV_BOOL(SaveColor, true)
  ZV_BOOL(SaveFonts, true)
  ZV_STR(FooterFile, "")
  ZV_STR(HeaderFile, "")
  ZV_STR(TableStyle, "")
  ZV_STR(PrefixTag, "")
  ZV_STR(SuffixTag, "")
  ZV_INT(Width, 100)
  ZV_BOOL(XHTML, false)
  ZV_BOOL(ConvertSpecialChars, false)
  ZV_BOOL(AutoPreview, false)
  ZV_BOOL(NonBreakingText, false)
}

THTMLSettings::THTMLSettings() : FColWidths(std::make_unique<TIntList>(-1, -1)) {}
THTMLSettings::~THTMLSettings() = default;

void THTMLSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<THTMLSettings*>(Source);
  if (!s || s == this) return;
  ZV_COPY(BorderSize) ZV_COPY(CellSpacing) ZV_COPY(CellPadding) ZV_COPY(SaveColor) ZV_COPY(SaveFonts)
  ZV_COPY(FooterFile) ZV_COPY(HeaderFile) ZV_COPY(TableStyle) ZV_COPY(PrefixTag) ZV_COPY(SuffixTag)
  ZV_COPY(Width) ZV_COPY(XHTML) ZV_COPY(ConvertSpecialChars) ZV_COPY(AutoPreview) ZV_COPY(NonBreakingText)
}

// ---------------------------------------------------------------------------
// TPrintSettings

ZV_CLASS_IMPL(TPrintSettings, TPersistent)

void TPrintSettings::DeclareProperties(TClassInfo& c) {
  using T = TPrintSettings;
  ZV_INT(FooterSize, 0)
  ZV_INT(HeaderSize, 0)
  ZV_ENUM(Time, PrintPositionInfo, ppNone)
  ZV_ENUM(Date, PrintPositionInfo, ppNone)
  ZV_ENUM(PageNr, PrintPositionInfo, ppNone)
  ZV_ENUM(Title, PrintPositionInfo, ppNone)
  ZV_STR(DateFormat, "dd/mm/yyyy")
  ZV_STR(TitleText, "")
  c.Object<T, TStringList>("TitleLines", &T::TitleLines, &T::SetTitleLines);
  c.Object<T, TFont>("Font", &T::Font, &T::SetFont);
  c.Object<T, TFont>("FixedFont", &T::FixedFont, &T::SetFixedFont);
  c.Object<T, TFont>("HeaderFont", &T::HeaderFont, &T::SetHeaderFont);
  c.Object<T, TFont>("FooterFont", &T::FooterFont, &T::SetFooterFont);
  ZV_ENUM(Borders, PrintBordersInfo, pbSingle)
  ZV_ENUM(BorderStyle, PenStyleEnumInfo, psSolid)
  ZV_BOOL(Centered, true)
  ZV_BOOL(RepeatFixedRows, false)
  ZV_BOOL(RepeatFixedCols, false)
  ZV_INT(LeftSize, 0)
  ZV_INT(RightSize, 0)
  ZV_INT(ColumnSpacing, 0)
  ZV_INT(RowSpacing, 0)
  ZV_INT(TitleSpacing, 0)
  ZV_ENUM(Orientation, OrientationInfo, poPortrait)
  ZV_STR(PagePrefix, "")
  ZV_STR(PageSuffix, "")
  ZV_INT(PageNumberOffset, 0)
  ZV_INT(MaxPagesOffset, 0)
  ZV_INT(FixedWidth, 0)
  ZV_INT(FixedHeight, 0)
  ZV_BOOL(UseFixedHeight, false)
  ZV_BOOL(UseFixedWidth, false)
  ZV_ENUM(FitToPage, FitToPageInfo, fpNever)
  ZV_STR(JobName, "")
  ZV_STR(PageNumSep, "/")
  ZV_BOOL(NoAutoSize, false)
  ZV_BOOL(NoAutoSizeRow, false)
  ZV_BOOL(PrintGraphics, false)
  ZV_BOOL(UseDisplayFont, true)
  ZV_BOOL(UseDefaultOrientation, false)
}

TPrintSettings::TPrintSettings(TPlusStringGrid* AGrid)
    : FGrid(AGrid),
      FTitleLines(std::make_unique<TStringList>()),
      FFont(std::make_unique<TFont>()),
      FFixedFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()) {}

void TPrintSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPrintSettings*>(Source);
  if (!s) AssignError(Source);
  if (s == this) return;
  ZV_COPY(FooterSize) ZV_COPY(HeaderSize) ZV_COPY(Time) ZV_COPY(Date) ZV_COPY(PageNr) ZV_COPY(Title)
  ZV_COPY(DateFormat) ZV_COPY(TitleText) ZV_COPY(Borders) ZV_COPY(BorderStyle) ZV_COPY(Centered)
  ZV_COPY(RepeatFixedRows) ZV_COPY(RepeatFixedCols) ZV_COPY(LeftSize) ZV_COPY(RightSize) ZV_COPY(ColumnSpacing)
  ZV_COPY(RowSpacing) ZV_COPY(TitleSpacing) ZV_COPY(Orientation) ZV_COPY(PagePrefix) ZV_COPY(PageSuffix)
  ZV_COPY(PageNumberOffset) ZV_COPY(MaxPagesOffset) ZV_COPY(FixedWidth) ZV_COPY(FixedHeight)
  ZV_COPY(UseFixedHeight) ZV_COPY(UseFixedWidth) ZV_COPY(FitToPage) ZV_COPY(JobName) ZV_COPY(PageNumSep)
  ZV_COPY(NoAutoSize) ZV_COPY(NoAutoSizeRow) ZV_COPY(PrintGraphics) ZV_COPY(UseDisplayFont)
  ZV_COPY(UseDefaultOrientation)
  FTitleLines->Assign(*s->FTitleLines);
  FFont->Assign(s->FFont.get());
  FFixedFont->Assign(s->FFixedFont.get());
  FHeaderFont->Assign(s->FHeaderFont.get());
  FFooterFont->Assign(s->FFooterFont.get());
}

// ---- TBands

ZV_CLASS_IMPL(TBands, TPersistent)

void TBands::DeclareProperties(TClassInfo& c) {
  using T = TBands;
  ZV_BOOL(Active, false)
  ZV_COLOR(PrimaryColor, clInfoBk)
  ZV_INT(PrimaryLength, 1)
  ZV_COLOR(SecondaryColor, clWindow)
  ZV_INT(SecondaryLength, 1)
  ZV_BOOL(Print, false)
}

void TBands::Changed() {
  if (FActive && FGrid) FGrid->Invalidate();
}

void TBands::SetActive(bool v) {
  FActive = v;
  if (FGrid) FGrid->Invalidate();
}

void TBands::SetPrimaryColor(TColor v) {
  FPrimaryColor = v;
  Changed();
}

void TBands::SetSecondaryColor(TColor v) {
  FSecondaryColor = v;
  Changed();
}

void TBands::SetPrimaryLength(int v) {
  FPrimaryLength = v;
  FTotalLength = FPrimaryLength + FSecondaryLength;
  Changed();
}

void TBands::SetSecondaryLength(int v) {
  FSecondaryLength = v;
  FTotalLength = FPrimaryLength + FSecondaryLength;
  Changed();
}

void TBands::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TBands*>(Source);
  if (!s || s == this) return;
  FActive = s->FActive;
  FPrimaryColor = s->FPrimaryColor;
  FSecondaryColor = s->FSecondaryColor;
  FPrimaryLength = s->FPrimaryLength;
  FSecondaryLength = s->FSecondaryLength;
  FTotalLength = FPrimaryLength + FSecondaryLength;
  FPrint = s->FPrint;
  Changed();
}

// ---- TShowModified

ZV_CLASS_IMPL(TShowModified, TPersistent)

void TShowModified::DeclareProperties(TClassInfo& c) {
  using T = TShowModified;
  ZV_BOOL(Enabled, false)
  ZV_COLOR(Color, clYellow)
}

void TShowModified::SetEnabled(bool v) {
  FEnabled = v;
  if (FGrid) FGrid->Invalidate();
}

void TShowModified::SetColor(TColor v) {
  FColor = v;
  if (FGrid) FGrid->Invalidate();
}

void TShowModified::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TShowModified*>(Source);
  if (!s || s == this) return;
  FEnabled = s->FEnabled;
  FColor = s->FColor;
  if (FGrid) FGrid->Invalidate();
}

// ---- TControlLook

ZV_CLASS_IMPL(TControlLook, TPersistent)

namespace {
const TEnumInfo& ControlStyleInfo() {
  static const TEnumInfo info{
      "TControlStyle", {"csClassic", "csFlat", "csWinXP", "csPelmark", "csQRB", "csGlyph", "csTheme"}, 0};
  return info;
}
}  // namespace

void TControlLook::DeclareProperties(TClassInfo& c) {
  using T = TControlLook;
  ZV_INT(CheckSize, 15)
  ZV_INT(RadioSize, 10)
  c.Object<T, TBitmap>("CheckedGlyph", &T::CheckedGlyph, &T::SetCheckedGlyph);
  c.Object<T, TBitmap>("UnCheckedGlyph", &T::UnCheckedGlyph, &T::SetUnCheckedGlyph);
  c.Object<T, TBitmap>("RadioOnGlyph", &T::RadioOnGlyph, &T::SetRadioOnGlyph);
  c.Object<T, TBitmap>("RadioOffGlyph", &T::RadioOffGlyph, &T::SetRadioOffGlyph);
  ZV_ENUM(ControlStyle, ControlStyleInfo, csWinXP)
  ZV_COLOR(Color, clBlack)
  ZV_COLOR(CommentColor, clRed)
  ZV_COLOR(ProgressBorderColor, clGray)
  ZV_INT(ProgressMarginX, 2)
  ZV_INT(ProgressMarginY, 2)
  ZV_BOOL(ProgressXP, false)
  ZV_COLOR(FixedGradientFrom, clNone)
  ZV_COLOR(FixedGradientTo, clNone)
  ZV_BOOL(CheckAlwaysActive, false)
  ZV_BOOL(RadioAlwaysActive, false)
  ZV_BOOL(DropDownAlwaysVisible, false)
  ZV_BOOL(FlatButton, false)
  ZV_BOOL(NoDisabledCheckRadioLook, false)
  ZV_BOOL(NoDisabledButtonLook, false)
}

TControlLook::TControlLook(TPlusStringGrid* AGrid)
    : FGrid(AGrid),
      FCheckedGlyph(std::make_unique<TBitmap>()),
      FUnCheckedGlyph(std::make_unique<TBitmap>()),
      FRadioOnGlyph(std::make_unique<TBitmap>()),
      FRadioOffGlyph(std::make_unique<TBitmap>()) {}

TControlLook::~TControlLook() = default;

void TControlLook::Changed() {
  if (FGrid) FGrid->Invalidate();
}

void TControlLook::SetCheckedGlyph(TBitmap* v) {
  FCheckedGlyph->Assign(v);
  Changed();
}

void TControlLook::SetUnCheckedGlyph(TBitmap* v) {
  FUnCheckedGlyph->Assign(v);
  Changed();
}

void TControlLook::SetRadioOnGlyph(TBitmap* v) {
  FRadioOnGlyph->Assign(v);
  Changed();
}

void TControlLook::SetRadioOffGlyph(TBitmap* v) {
  FRadioOffGlyph->Assign(v);
  Changed();
}

void TControlLook::SetFixedGradientFrom(TColor v) {
  FFixedGradientFrom = v;
  if (v != clNone && FGrid) {
    FGrid->SetFixedGradientStart(static_cast<TColor>(ColorToRGB(v)));
    FGrid->Invalidate();
  }
}

void TControlLook::SetFixedGradientTo(TColor v) {
  FFixedGradientTo = v;
  if (v != clNone && FGrid) {
    FGrid->SetFixedGradientEnd(static_cast<TColor>(ColorToRGB(v)));
    FGrid->Invalidate();
  }
}

void TControlLook::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TControlLook*>(Source);
  if (!s || s == this) return;
  FCheckSize = s->FCheckSize;
  FRadioSize = s->FRadioSize;
  FControlStyle = s->FControlStyle;
  FCheckedGlyph->Assign(s->FCheckedGlyph.get());
  FUnCheckedGlyph->Assign(s->FUnCheckedGlyph.get());
  FRadioOnGlyph->Assign(s->FRadioOnGlyph.get());
  FRadioOffGlyph->Assign(s->FRadioOffGlyph.get());
  FProgressMarginX = s->FProgressMarginX;
  FProgressMarginY = s->FProgressMarginY;
  FCommentColor = s->FCommentColor;
  FColor = s->FColor;
  FProgressBorderColor = s->FProgressBorderColor;
  FCheckAlwaysActive = s->FCheckAlwaysActive;
  FRadioAlwaysActive = s->FRadioAlwaysActive;
  Changed();
}

// ---------------------------------------------------------------------------
// TDragScrollOptions and its delays and margins

ZV_CLASS_IMPL(TDragScrollDelays, TPersistent)

void TDragScrollDelays::DeclareProperties(TClassInfo& c) {
  using T = TDragScrollDelays;
  ZV_INT(InitialDelay, 1000)
  ZV_INT(RepeatDelay, 250)
}

void TDragScrollDelays::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollDelays*>(Source);
  if (!s || s == this) return;
  ZV_COPY(InitialDelay) ZV_COPY(RepeatDelay)
}

ZV_CLASS_IMPL(TDragScrollMargins, TPersistent)

void TDragScrollMargins::DeclareProperties(TClassInfo& c) {
  using T = TDragScrollMargins;
  ZV_INT(TopMargin, 50)
  ZV_INT(BottomMargin, 50)
  ZV_INT(LeftMargin, 50)
  ZV_INT(RightMargin, 50)
}

void TDragScrollMargins::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollMargins*>(Source);
  if (!s || s == this) return;
  ZV_COPY(TopMargin) ZV_COPY(BottomMargin) ZV_COPY(LeftMargin) ZV_COPY(RightMargin)
}

ZV_CLASS_IMPL(TDragScrollOptions, TPersistent)

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>()) {}

TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::DeclareProperties(TClassInfo& c) {
  using T = TDragScrollOptions;
  ZV_BOOL(Active, false)
  c.Object<T, TDragScrollDelays>("Delays", &T::Delays, &T::SetDelays);
  c.Object<T, TDragScrollMargins>("Margins", &T::Margins, &T::SetMargins);
}

void TDragScrollOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollOptions*>(Source);
  if (!s || s == this) return;
  FMargins->Assign(s->FMargins.get());
  FDelays->Assign(s->FDelays.get());
  FActive = s->FActive;
}
