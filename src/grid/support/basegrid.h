// The base of the string grid: a properties record per cell that needs one
// (kept in the cell's object pointer and owned by the grid), merged cells,
// the cell text accessors with their display-text events, its own paint pass
// (grid lines of its own width and colour, plain or gradient backgrounds, an
// active-row colour, merged areas painted once per pass), keys and wheel that
// treat a merged area as one cell, and the undo recorder.
//
// A merged area is a rectangle whose top-left cell is its base: the base
// record holds the spans (columns - 1, rows - 1); every covered cell holds the
// offset back to the base and IsBaseCell = false. A cell in no area has no
// record or spans of -1. The base holds the area's text, properties and
// graphic; a covered cell's own stored text is ignored while it is covered.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/grids.h"

class TBaseGrid;
class TPlusGridUndoRedo;

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
// The per-cell editor, in ordinal order (the string grid's editing chooses
// the control).
enum TEditorType {
  edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
  edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
  edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
  edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edUniEdit, edUniComboEdit, edUniComboList,
  edUniEditBtn, edUniMemo
};

// The kind of a cell's graphic, in ordinal order. ctEmpty is what a cell
// without a graphic reports; it is never stored.
enum TCellType {
  ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
  ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
  ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress
};
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };

// The graphic of a cell (check box, radio group, node, picture, ...), owned
// by the cell's properties record. What the fields hold depends on the kind;
// with CellCreated the graphic owns CellContent and CellContent2.
class TCellGraphic : public TPersistent {
public:
  TCellGraphic() = default;
  ~TCellGraphic() override;
  // Copies the kind, alignments, index, flags, value, angle, error range and
  // text; the content objects and CellVariant stay.
  void Assign(TPersistent* Source) override;
  void SetCheckBox(bool Value, bool Data, TCellVAlign VAlign, TCellHAlign HAlign, bool Transparent);
  // The size a ctPicture / ctFilePicture is drawn at in a cell of Width x
  // Height inside: CellIndex is a margin, CellAngle the stretch mode (0 own
  // size, 1 stretched, 2 scaled to fit, 3 own size or stretched when larger,
  // 4 own size or shrunk to fit). (0, 0) for other kinds.
  TPoint GetPictureSize(int Width, int Height) const;

  TCellType CellType = ctNone;
  TObject* CellContent = nullptr;
  TObject* CellContent2 = nullptr;
  TCellVAlign CellVAlign = vaTop;
  TCellHAlign CellHAlign = haLeft;
  int CellIndex = 0;
  bool CellTransparent = false;
  bool CellCreated = false;
  bool CellBoolean = false;
  int CellAngle = 0;
  double CellValue = 0;
  int CellErrFrom = 0, CellErrLen = 0;
  std::string CellText;
  // Radio: the selected index; node: the sub-grouping column (-1 none).
  int CellVariant = 0;
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value)>;

class TCellProperties : public TPersistent {
  ZV_CLASS(TCellProperties)
public:
  TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow);
  ~TCellProperties() override;

  TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
  int OwnerCol() const { return FOwnerCol; }
  void SetOwnerCol(int v) { FOwnerCol = v; }
  int OwnerRow() const { return FOwnerRow; }
  void SetOwnerRow(int v) { FOwnerRow = v; }
  TObject* CellObject() const { return FCellObject; }
  void SetCellObject(TObject* v) { FCellObject = v; }
  TCellGraphic* CellGraphic() const { return FCellGraphic.get(); }
  // Takes ownership; the previous graphic is freed.
  void SetCellGraphic(TCellGraphic* v);
  TBrushStyle BrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle v) { FBrushStyle = v; }
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor v);
  TColor BrushColorTo() const { return FBrushColorTo; }
  void SetBrushColorTo(TColor v);
  int FontSize() const { return FFontSize; }
  void SetFontSize(int v) { FFontSize = v; }
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor v) { FFontColor = v; }
  TFontStyles FontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles v) { FFontStyle = v; }
  int CellSpanY() const { return FCellSpanY; }
  void SetCellSpanY(int v) { FCellSpanY = v; }
  int CellSpanX() const { return FCellSpanX; }
  void SetCellSpanX(int v) { FCellSpanX = v; }
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { FBorderWidth = v; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { FBorderColor = v; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { FAlignment = v; }
  TVAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TVAlignment v);
  int PaintStamp() const { return FPaintStamp; }
  void SetPaintStamp(int v) { FPaintStamp = v; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  bool IsBaseCell() const { return FIsBaseCell; }
  void SetIsBaseCell(bool v) { FIsBaseCell = v; }
  uint8_t FooterCalc() const { return FFooterCalc; }
  void SetFooterCalc(uint8_t v) { FFooterCalc = v; }
  int NodeLevel() const { return FNodeLevel; }
  void SetNodeLevel(int v) { FNodeLevel = v; }
  TEditorType Editor() const { return FEditor; }
  void SetEditor(TEditorType v) { FEditor = v; }
  const std::string& FontName() const { return FFontName; }
  void SetFontName(const std::string& v) { FFontName = v; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v) { FReadOnly = v; }
  TCellGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TCellGradientDirection v) { FGradientDirection = v; }
  TControl* Control() const { return FControl; }
  void SetControl(TControl* v) { FControl = v; }

private:
  void RepaintOwner();
  TBaseGrid* FOwnerGrid;
  int FOwnerCol, FOwnerRow;
  TObject* FCellObject = nullptr;
  std::unique_ptr<TCellGraphic> FCellGraphic;
  TBrushStyle FBrushStyle = bsSolid;
  TColor FBrushColor = clNone;
  TColor FBrushColorTo = clNone;
  int FFontSize = 0;
  TColor FFontColor = clNone;
  TFontStyles FFontStyle;
  int FCellSpanY = -1;
  int FCellSpanX = -1;
  int FBorderWidth = 0;
  TColor FBorderColor = 0;
  TAlignment FAlignment = taLeftJustify;
  TVAlignment FVAlignment = vtaTop;
  int FPaintStamp = 0;
  bool FWordWrap;
  bool FIsBaseCell = true;
  uint8_t FFooterCalc = 0;
  int FNodeLevel = 0;
  TEditorType FEditor = edNormal;
  std::string FFontName;
  bool FReadOnly = false;
  TCellGradientDirection FGradientDirection = GradientVertical;
  TControl* FControl = nullptr;
};

class TBaseGrid : public TStringGrid {
  ZV_CLASS(TBaseGrid)
public:
  explicit TBaseGrid(TComponent* AOwner);
  ~TBaseGrid() override;

  // ---- published settings
  bool ActiveRowShow() const { return FActiveRowShow; }
  void SetActiveRowShow(bool v);
  TColor ActiveRowColor() const { return FActiveRowColor; }
  void SetActiveRowColor(TColor v);
  // The grid's own lines; the layer's grid lines stay at width 0.
  int GridLineWidth() const { return FBaseGridLineWidth; }
  void SetGridLineWidth(int v);
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor v);
  TPlusGridUndoRedo* UndoRedo() const { return FUndoRedo; }
  void SetUndoRedo(TPlusGridUndoRedo* v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v) { FWordWrap = v; }
  TGetDisplTextEvent OnGetDisplText;
  TGetDisplWideTextEvent OnGetDisplWideText;

  int PaintPass() const { return FPaintPass; }
  bool FloatingFooterRow() const { return FFloatingFooterRow; }
  void SetFloatingFooterRow(bool v) { FFloatingFooterRow = v; }
  int DisplRowCount() const { return FDisplRowCount; }
  void SetDisplRowCount(int v) { FDisplRowCount = v; }

  // ---- cell texts (column first, then row)
  // The text shown: the base cell's stored text after the display events.
  std::string GetCellText(int ACol, int ARow);
  // Stores in the base cell of a cell with a record and repaints the area.
  void SetCellText(int ACol, int ARow, const std::string& Value);
  std::string Cells(int ACol, int ARow) { return GetCellText(ACol, ARow); }
  void SetCells(int ACol, int ARow, const std::string& Value) { SetCellText(ACol, ARow, Value); }
  // The stored text without redirection, events or hooks.
  const std::string& GetCellRaw(int ACol, int ARow) const { return TStringGrid::Cells(ACol, ARow); }
  void SetCellRaw(int ACol, int ARow, const std::string& Value) { TStringGrid::SetCells(ACol, ARow, Value); }
  void SetCellRaw(int ACol, int ARow, std::string&& Value) { TStringGrid::SetCells(ACol, ARow, std::move(Value)); }

  // ---- properties records and objects
  bool HasCellProperties(int ACol, int ARow) const { return TStringGrid::Objects(ACol, ARow) != nullptr; }
  // Creates the record when missing.
  TCellProperties* GetCellProperties(int ACol, int ARow);
  TCellGraphic* GetCellGraphic(int ACol, int ARow) const;
  void SetCellGraphic(int ACol, int ARow, TCellGraphic* Graphic);
  TObject* GetCellObject(int ACol, int ARow) const { return TStringGrid::Objects(ACol, ARow); }
  void SetCellObject(int ACol, int ARow, TObject* Obj) { TStringGrid::SetObjects(ACol, ARow, Obj); }
  void ReplaceCellObject(int ACol, int ARow, TObject* Obj);
  void FreeCellObject(int ACol, int ARow);
  void FreeCellObjects(int FromCol, int FromRow, int ToRow, int ToCol);
  void FreeAllCellObjects();
  void ResetCol(int ACol);
  void ResetRow(int ARow);
  void ResetCell(int ACol, int ARow);

  // ---- merged cells
  virtual void MergeCells(int ACol, int ARow, int NumCols, int NumRows);
  virtual void SplitCells(int ACol, int ARow);
  TPoint GetBaseCell(int ACol, int ARow) const;
  bool IsBaseCell(int ACol, int ARow) const;
  TPoint GetCellSpan(int ACol, int ARow) const;
  bool IsMergedCell(int ACol, int ARow) const;
  bool IsCoveredCell(int ACol, int ARow) const;
  bool IsHorzMerged(int ACol, int ARow) const;
  bool IsVertMerged(int ACol, int ARow) const;
  // The cell's rectangle from the sizes before it; valid out of view too.
  TRect GetCellRect(int ACol, int ARow) const;
  TRect GetMergedCellRect(int ACol, int ARow) const;
  TPoint GetMergedCellSize(int ACol, int ARow) const;
  void RepaintCell(int ACol, int ARow);
  bool RowsShareMergedCells(int Row1, int Row2) const;
  void MoveToBaseCell();

  // ---- hooks
  virtual bool IsFixedCell(int ACol, int ARow);
  virtual int GetNodeIndent(int ARow);
  virtual bool HasNodes();
  virtual void DrawCellText(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void LastRowChanged();
  virtual void GetDisplText(int ACol, int ARow, std::string& Value);
  virtual void GetDisplWideText(int ACol, int ARow, std::u16string& Value);
  virtual void GetCellDefaults(int ACol, int ARow, TCellGradientDirection& Direction, bool& AWordWrap,
                               TVAlignment& AVAlignment, TAlignment& AAlignment, TColor& AColorTo, TFont* AFont,
                               TBrush* ABrush);
  virtual void GetCellFormat(int ACol, int ARow, TCellGradientDirection& Direction, bool& Flag1, bool& Flag2,
                             bool& Flag3, TFont* AFont, TBrush* ABrush, TColor& AColorTo, bool Pass1, bool Pass2,
                             bool Pass3, TGridDrawState& AState);
  virtual int DisplColIndex(int ACol);

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override;
  // Frees the records of the rows and columns that a smaller count drops.
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TCellProperties* RecordOf(int ACol, int ARow) const;

  int FPaintPass = 1;
  bool FFloatingFooterRow = false;
  int FDisplRowCount = 0;

private:
  int FBaseGridLineWidth = 1;
  TColor FGridLineColor = 0xC0C0C0;
  TPlusGridUndoRedo* FUndoRedo = nullptr;
  bool FWordWrap = true;
  bool FActiveRowShow = false;
  TColor FActiveRowColor = clInfoBk;
};

// ---------------------------------------------------------------------------
// Undo recorder: the cell changes the grid reports, oldest first.

class TUndoRedoItem : public TCollectionItem {
  ZV_CLASS(TUndoRedoItem)
public:
  explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}
  int Row() const { return FRow; }
  void SetRow(int v) { FRow = v; }
  int Col() const { return FCol; }
  void SetCol(int v) { FCol = v; }
  const std::string& Value() const { return FValue; }
  void SetValue(const std::string& v) { FValue = v; }
  const std::string& OrigValue() const { return FOrigValue; }
  void SetOrigValue(const std::string& v) { FOrigValue = v; }

private:
  int FRow = 0, FCol = 0;
  std::string FValue, FOrigValue;
};

class TUndoRedoCollection : public TCollection {
  ZV_CLASS(TUndoRedoCollection)
public:
  TUndoRedoCollection() : TCollection(&TUndoRedoItem::StaticClass()) {}
  TUndoRedoItem* Item(int Index) const { return static_cast<TUndoRedoItem*>(Items(Index)); }
};

class TPlusGridUndoRedo : public TComponent {
  ZV_CLASS(TPlusGridUndoRedo)
public:
  explicit TPlusGridUndoRedo(TComponent* AOwner);
  ~TPlusGridUndoRedo() override;
  TUndoRedoCollection* Items() const { return FItems.get(); }
  // The number of recorded changes.
  int Level() const { return FLevel; }
  TBaseGrid* Grid() const { return FGrid; }
  void SetGrid(TBaseGrid* v);
  // The most changes kept; 0 keeps all.
  int MaxLevel() const { return FMaxLevel; }
  void SetMaxLevel(int v) { FMaxLevel = v; }
  virtual void AddChange(int ACol, int ARow, const std::string& OrigValue, const std::string& Value);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::unique_ptr<TUndoRedoCollection> FItems;
  int FLevel = 0;
  TBaseGrid* FGrid = nullptr;
  int FMaxLevel = 0;
};
