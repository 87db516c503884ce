// Grids: TCustomGrid (rows and columns of cells painted through DrawCell,
// with fixed rows and columns, a current cell, a selection and scrolling),
// TDrawGrid (the hooks as events) and TStringGrid (a text and an object per
// cell).
//
// Geometry. Column c is ColWidths(c) pixels wide and followed by a grid line
// of GridLineWidth pixels; rows likewise. Sizes are kept as the default size
// plus a sparse map of the rows and columns whose size was changed, so the
// offset of a row is found from its index and the changed sizes before it;
// painting, scrolling and hit tests cost the visible area, not the row count.
// The fixed rows (columns) are always shown at the top (left); the scrolling
// ones start at TopRow (LeftCol). CellRect gives the rectangle of a visible
// cell (without its grid lines) and an empty one for a cell out of view.
//
// Scroll bars (ScrollBars): a bar is shown only when not all scrolling rows
// (columns) fit, or when SetScrollBarsAlways keeps it (then disabled while
// they fit). Its range is always 0..127: position p stands for TopRow =
// FixedRows + p * (MaxTopRow - FixedRows) / 127, and TopRow maps back the
// same way, whatever the row count. Line steps move TopRow by one, page steps
// by VisibleRowCount; the thumb moves TopRow while dragged only with
// goThumbTracking, else when released.
//
// Keys (KeyDown), with the current cell (Col, Row) kept inside the scrolling
// cells and scrolled into view after every move:
//   Up, Down             previous / next row
//   Left, Right          previous / next column (goRowSelect: scroll LeftCol)
//   PageUp, PageDown     VisibleRowCount rows up / down; TopRow moves by the
//                        same amount so the cell keeps its place on screen
//   Home, End            first / last scrolling column (goRowSelect: row)
//   Ctrl+Home, Ctrl+End  first / last scrolling cell
//   Ctrl+PageUp/PageDown first / last visible row, no scrolling
//   Ctrl+arrow           scrolls the view one row or column, cell stays
//   Tab, Shift+Tab       (goTabs) next / previous column, wrapping to the
//                        next / previous row
//   Shift+any move       (goRangeSelect, not goRowSelect) extends the
//                        selection from its anchor to the new cell
// A move that SelectCell refuses leaves everything as it was.
//
// Mouse: a left press on a scrolling cell makes it current (Shift extends the
// selection with goRangeSelect) and enters gsSelecting; moving with the
// button down extends the selection (goRangeSelect) or moves the current cell;
// the release returns to gsNormal. Presses on fixed cells do nothing here.
// The wheel moves the current row one down (DoMouseWheelDown) or up
// (DoMouseWheelUp).
//
// Grid states (FGridState): gsNormal between gestures; gsSelecting from a left
// press on a cell to its release; gsColSizing (gsRowSizing) from a press
// within 3 pixels of a column's right (a row's bottom) edge in the fixed row
// (column) with goColSizing (goRowSizing) to its release, which sets the new
// size and calls ColWidthsChanged (RowHeightsChanged); the sizing line keeps
// the offset at which the border was grabbed, so a click leaves the size; gsColMoving
// (gsRowMoving) from a press on a scrolling column's (row's) fixed cell with
// goColMoving (goRowMoving) to its release, which moves the line to where
// the mouse is (MoveColumn / MoveRow, then ColumnMoved / RowMoved). While a
// line is moved with the mouse outside the cells, the move timer
// (SetTimer, 60 ms) scrolls one line per tick towards it. The sizing line and
// the move target are state drawn at the end of the paint.
//
// Editing in place (goEditing on, goRowSelect off). The grid owns one
// in-place editor, made by CreateEditor on first use. ShowEditor sets
// EditorMode and asks CanEditShow; only when it answers true is the editor
// made, filled (UpdateContents: GetEditText of the current cell, GetEditMask,
// GetEditLimit, all text selected), placed over the current cell, shown and
// focused. A descendant's CanEditShow may change its state or show an editor
// of its own and answer false: then EditorMode goes back off. HideEditor
// hands the editor's text to SetEditText for the cell it was filled from,
// hides it and gives the focus back to the grid. InvalidateEditor refills a
// shown editor. The editor is started by F2, by Enter (toggles, unless
// goAlwaysShowEditor), by typing a character (ShowEditorChar: the character
// goes to the editor, replacing the selected text) and by a click on the
// current cell; with goAlwaysShowEditor it shows again on every new cell.
// Before the current cell moves the editor's text is handed over; after the
// move the editor hides (or refills, with goAlwaysShowEditor). Keys inside
// the editor: Up, Down, PageUp, PageDown, Tab, Escape and Enter go to the
// grid; with goAlwaysShowEditor Left, Right, Home and End too when the caret
// is at that end of the text with nothing selected, or with Ctrl. Escape in the editor refills it
// from the cell and hides it.
//
// Selection: with goRowSelect the whole row of the current cell, across the
// scrolling columns; otherwise the rectangle from the anchor to the current
// cell. DrawCell gets gdSelected for selected cells (the current cell only
// with goDrawFocusSelected), gdFocused for the current cell and gdFixed for
// fixed cells.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
  goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TEnumSet<TGridOption>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TEnumSet<TGridDrawStateItem>;
enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

struct TGridCoord {
  int X = 0, Y = 0;
  bool operator==(const TGridCoord&) const = default;
};
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

// Scroll-bar request codes (WM_VSCROLL / WM_HSCROLL low word) and bar ids.
constexpr int SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
              SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6,
              SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
constexpr int SB_HORZ = 0, SB_VERT = 1;

// The flat scroll bars of a grid's window, as the common controls offer
// them: the window's own bars drawn flat (FSB_FLAT_MODE), in the encarta
// style (frames only under the mouse) or as usual, with their own
// background colour and thickness. False for a window that is no grid, and
// for the properties while the flat bars are not initialised.
constexpr unsigned WSB_PROP_CYHSCROLL = 4, WSB_PROP_CXVSCROLL = 8, WSB_PROP_VBKGCOLOR = 64,
                   WSB_PROP_HBKGCOLOR = 128, WSB_PROP_VSTYLE = 256, WSB_PROP_HSTYLE = 512;
constexpr int FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2;
bool InitializeFlatSB(HWND Window);
bool UninitializeFlatSB(HWND Window);
bool FlatSB_SetScrollProp(HWND Window, unsigned Prop, intptr_t Value, bool Redraw);
bool FlatSB_ShowScrollBar(HWND Window, int Bar, bool Show);

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

// A sparse list of line sizes: a default and the sizes that differ from it.
class TInplaceEdit;

class TGridAxis {
public:
  int Count = 0;
  int DefaultSize = 0;
  int Size(int i) const;
  void SetSize(int i, int v);
  void SetDefault(int v) { DefaultSize = v; Changed.clear(); }
  // Drops changed sizes at or beyond the count.
  void Trim();
  // Sum of Size(i) + line for i in [from, to).
  int64_t Extent(int from, int to, int line) const;
  // The line at offset d (>= 0) counted from line `from`; Count when beyond.
  int LineAt(int from, int64_t d, int line) const;
  // Changed sizes only: index -> size.
  std::map<int, int> Changed;
};

class TCustomGrid : public TCustomControl {
  ZV_CLASS(TCustomGrid)
  friend class TInplaceEdit;
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  int ColCount() const { return FCols.Count; }
  void SetColCount(int v);
  int RowCount() const { return FRows.Count; }
  void SetRowCount(int v);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int v);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int v);
  int DefaultColWidth() const { return FCols.DefaultSize; }
  void SetDefaultColWidth(int v);
  int DefaultRowHeight() const { return FRows.DefaultSize; }
  void SetDefaultRowHeight(int v);
  int ColWidths(int i) const { return FCols.Size(i); }
  // ---- editing in place
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool v);
  // The editor, nil until first shown.
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
  void ShowEditor();
  void ShowEditorChar(char Ch);
  void HideEditor();
  void InvalidateEditor();
  // Whether the editor shows (EditorMode and visible).
  bool EditorShown() const;
  virtual std::string GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const std::string& Value);
  virtual std::string GetEditMask(int ACol, int ARow);
  virtual int GetEditLimit();
  // Moves column (row) From to To with its contents and size; the current
  // cell and the selection stay with their lines.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // Where line Index is after line From moved to To.
  static int FollowMove(int Index, int FromIndex, int ToIndex);
  // The size being dragged (sizing states) or the line a move would go to
  // (moving states); -1 otherwise.
  int SizingPos() const { return FSizingPos; }
  int MoveTarget() const { return FMoveTarget; }
  void SetColWidths(int i, int v);
  int RowHeights(int i) const { return FRows.Size(i); }
  void SetRowHeights(int i, int v);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int v);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor v);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool v);
  TGridState GridState() const { return FGridState; }

  int Col() const { return FCurrent.X; }
  void SetCol(int v);
  int Row() const { return FCurrent.Y; }
  void SetRow(int v);
  TGridRect Selection() const;
  void SetSelection(TGridRect v);
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int v);
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int v);
  // Scrolling rows (columns) shown in full.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  // The largest TopRow (LeftCol) that still fills the view.
  int MaxTopRow() const;
  // Pixels at the bottom of the client covered by a child (a panel aligned
  // to the bottom): rows count as shown, and are scrolled into view, only
  // above them. 0 at first.
  int CoveredBottom() const { return FCoveredBottom; }
  void SetCoveredBottom(int Pixels);
  int MaxLeftCol() const;

  TRect CellRect(int ACol, int ARow) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  TGridCoord MouseCoord(int X, int Y) const;

  TRect ClientRect() const override;
  // The 0..127 position the vertical (SB_VERT) or horizontal bar shows, and
  // whether it is shown.
  int ScrollPos(int Bar) const;
  bool ScrollBarVisible(int Bar) const;
  // Keeps an allowed bar shown while everything fits; such a bar is
  // disabled until the lines no longer fit.
  void SetScrollBarsAlways(bool Vert, bool Horz);
  bool ScrollBarEnabled(int Bar) const { return Bar == SB_VERT ? FVertEnabled : FHorzEnabled; }
  // The thickness of a bar: the system's, or the flat bars' own width.
  int BarThickness(int Bar) const;
  bool FlatScrollBars() const { return FFlatSB; }
  int FlatBarStyle(int Bar) const;
  TColor FlatBarColor(int Bar) const;
  // The thumb's share of the 0..127 track (0: the smallest thumb).
  void SetScrollPage(int Bar, int Page);
  int ScrollPage(int Bar) const { return Bar == SB_VERT ? FVertPage : FHorzPage; }

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

  // Repaints one cell (when visible).
  void InvalidateCell(int ACol, int ARow);
  void InvalidateRow(int ARow);
  void InvalidateCol(int ACol);
  void InvalidateGrid() { Invalidate(); }

protected:
  void Paint() override;
  virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual bool SelectCell(int ACol, int ARow);
  virtual void TopLeftChanged();
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void WMGetDlgCode(TMessage& M) override;
  virtual void WMVScroll(TMessage& M);
  virtual void WMHScroll(TMessage& M);
  void BoundsChanged(bool sizeChanged) override;
  void WMChar(TMessage& M) override;
  void KeyPress(char& Key) override;
  virtual TInplaceEdit* CreateEditor();
  // Asked each time the editor would show; see the comment at the top.
  virtual bool CanEditShow();
  // Shows (or refills) the editor when CanEditShow allows it.
  void UpdateEdit();
  // Hands the shown editor's text to SetEditText.
  void UpdateText();
  // Called after every change of a column width (row height), and once at
  // the end of a sizing with the mouse, also when the size stayed.
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  virtual void ColumnMoved(int FromIndex, int ToIndex);
  virtual void RowMoved(int FromIndex, int ToIndex);
  virtual void WMTimer(TMessage& M);
  // The move timer's identifier.
  static constexpr unsigned kMoveTimerId = 0x6701;
  // Makes (ACol, ARow) current: SelectCell first; with MoveAnchor the
  // selection collapses to it, else it stretches from the anchor. Scrolls the
  // cell into view. False when SelectCell refused.
  bool FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveTopLeft(int ALeft, int ATop);
  // Moves TopRow / LeftCol the least that shows the cell in full.
  void ScrollIntoView(int ACol, int ARow);
  // Brings the scroll bars in line with the view (range, position, shown).
  void UpdateScrollRange();
  bool IsFixed(int ACol, int ARow) const { return ACol < FFixedCols || ARow < FFixedRows; }
  bool IsSelected(int ACol, int ARow) const;
  // Pixels of the fixed columns (rows), grid lines included.
  int FixedWidth() const;
  int FixedHeight() const;

  TGridAxis FCols, FRows;
  int FFixedCols = 1, FFixedRows = 1;
  int FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle FScrollBars = ssBoth;
  friend bool InitializeFlatSB(HWND);
  friend bool UninitializeFlatSB(HWND);
  friend bool FlatSB_SetScrollProp(HWND, unsigned, intptr_t, bool);
  friend bool FlatSB_ShowScrollBar(HWND, int, bool);
  bool FFlatSB = false;
  int FFlatVertWidth = 0, FFlatHorzHeight = 0;
  int FFlatVertStyle = 0, FFlatHorzStyle = 0;
  TColor FFlatVertColor = clNone, FFlatHorzColor = clNone;
  TColor FFixedColor = clBtnFace;
  bool FDefaultDrawing = true;
  TGridState FGridState = gsNormal;
  // Bars kept shown while everything fits, whether they scroll, thumb pages.
  bool FVertAlways = false, FHorzAlways = false, FVertEnabled = false, FHorzEnabled = false;
  int FVertPage = 0, FHorzPage = 0;
  int FCoveredBottom = 0;
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  bool FVertBar = false, FHorzBar = false;
  bool FEditorMode = false;
  TInplaceEdit* FInplaceEdit = nullptr;
  TGridCoord FInplaceCell{-1, -1};
  // Sizing and moving lines with the mouse.
  // FSizingGrab: the border's distance from the mouse at the press.
  int FSizingIndex = -1, FSizingStart = 0, FSizingPos = -1, FSizingGrab = 0;
  int FMoveIndex = -1, FMoveTarget = -1;
  TPoint FMoveMouse{};
  bool FMoveTimer = false;
  bool FClickOnCurrent = false;
  // The line whose far edge is within 3 pixels of a point along one axis; -1 none.
  int SizingLineAt(bool Cols, int P) const;

private:
  void MoveTimerTick();
  void PaintLineFeedback();
  // The bars shown for a client size without bars.
  void ComputeBars(bool& vert, bool& horz) const;
  int MapToBar(int value, int first, int last) const;
  int MapFromBar(int pos, int first, int last) const;
  void ScrollRequest(int Bar, int Code, int Pos);
  void ClampCurrent();
  void SyncBarsToWidget();
  void HandleArrowWithCtrl(uint16_t Key);
  int LastVisibleRow() const;
  // The height rows may take below the fixed rows.
  int RowAreaHeight() const;
  // The first line to show so that `last` is the last one in full view.
  int FirstForLast(const TGridAxis& axis, int fixed, int last, int avail) const;
  int LastVisibleCol() const;
};

class TDrawGrid : public TCustomGrid {
  ZV_CLASS(TDrawGrid)
public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

protected:
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override;
};

// A text and an object pointer per cell. Only rows that hold something take
// storage (a row is an array up to its last used column), so a grid of a
// million empty rows costs one pointer per row.
class TStringGrid : public TDrawGrid {
  ZV_CLASS(TStringGrid)
public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;
  const std::string& Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string& Value);
  void SetCells(int ACol, int ARow, std::string&& Value);
  // The object is not owned by the grid.
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Exchanges the texts and objects of two rows (every stored column) without
  // copying them; heights stay.
  void ExchangeRowCells(int Row1, int Row2);

protected:
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  // Visits every stored cell that holds an object (also cells beyond the
  // counts that SizeChanged is about to drop).
  void ForEachObject(const std::function<void(int ACol, int ARow, TObject* Obj)>& Fn) const;
  // Makes room for Count cells in row ARow at once (a loader about to fill
  // the row), so the row is not grown cell by cell.
  void ReserveRowCells(int ARow, int Count);

private:
  struct TCell {
    std::string Text;
    TObject* Object = nullptr;
  };
  using TRowCells = std::vector<TCell>;
  TCell* CellAt(int ACol, int ARow, bool Create);
  const TCell* CellAt(int ACol, int ARow) const;
  std::vector<std::unique_ptr<TRowCells>> FCells;
};
