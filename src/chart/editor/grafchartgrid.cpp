#include "chart/editor/grafchartgrid.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafeditctrls.h"
#include "chart/series/grafsurfa.h"
#include "platform/dialogs.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"

namespace {

// A series' title in one line: the line and column separators as blanks.
std::string OneLineTitle(TChartSeries* Series) {
  std::string s = SeriesDisplayName(Series);
  for (char& c : s)
    if (c == '\r' || c == '\x06') c = ' ';
  return s;
}

bool IsGoing(const TComponent* C) { return C->ComponentState().Contains(csDestroying); }

int IndexOfExact(const std::vector<double>& Values, double V) {
  for (size_t i = 0; i < Values.size(); ++i)
    if (Values[i] == V) return static_cast<int>(i);
  return -1;
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TCustomChartGrid, TCustomGrid)
ZV_CLASS_IMPL_NOPROPS(TChartGrid, TCustomChartGrid)
ZV_CLASS_IMPL_NOPROPS(TChartGridNavigator, TCustomGrafNavigator)

// ---- Construction ------------------------------------------------------------------

TCustomChartGrid::TCustomChartGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
  SetGridLineWidth(1);
  SetDefaultRowHeight(16);
  SetFixedCols(1);
  SetOptions({goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing, goColSizing, goEditing,
              goTabs, goThumbTracking});
  SetColCount(1);
  SetRowCount(HeaderRows() + 1);
  SetFixedRows(HeaderRows());
  SetColWidths(0, 30);
  SetRowHeights(0, 20);
}

TCustomChartGrid::~TCustomChartGrid() {
  SetNavigator(nullptr);
  FSeries = nullptr;
  FChart = nullptr;
  ListenTo(nullptr);
}

void TCustomChartGrid::Loaded() {
  TCustomGrid::Loaded();
  SetRowHeights(0, 20);
}

// ---- What is shown -----------------------------------------------------------------

std::vector<TChartSeries*> TCustomChartGrid::ShownSeries() const {
  std::vector<TChartSeries*> out;
  if (FSeries) {
    if (!IsGoing(FSeries)) out.push_back(FSeries);
  } else if (FChart) {
    for (TChartSeries* s : *FChart->SeriesList())
      if (!IsGoing(s) && s != FLeaving) out.push_back(s);
  }
  return out;
}

bool TCustomChartGrid::HasData() const { return FSeries || (FChart && FChart->NumberOfSeries() > 0); }

bool TCustomChartGrid::SeriesShowsX(int Index) const {
  return Index >= 0 && Index < static_cast<int>(FShowX.size()) && FShowX[static_cast<size_t>(Index)];
}

int TCustomChartGrid::LabelsColumn() const {
  if (!FShowLabels) return -1;
  return FShowColors ? 2 : 1;
}

TCustom3DSeries* TCustomChartGrid::Series3D() const {
  if (FSeries) return dynamic_cast<TCustom3DSeries*>(FSeries);
  if (FChart)
    for (TChartSeries* s : *FChart->SeriesList())
      if (auto* s3 = dynamic_cast<TCustom3DSeries*>(s); s3 && !IsGoing(s3)) return s3;
  return nullptr;
}

bool TCustomChartGrid::ColumnValues(int ACol, TChartSeries*& Series, TChartValueList*& List, bool* First) {
  Series = nullptr;
  List = nullptr;
  if (FGrid3D) {
    TCustom3DSeries* s3 = Series3D();
    if (!s3 || ACol < 1) return false;
    Series = s3;
    List = s3->YValues();
    if (First) *First = ACol == 1;
    return true;
  }
  int col = 1;
  if (FShowColors) ++col;
  if (FShowLabels) ++col;
  if (ACol < col) return false;
  const std::vector<TChartSeries*> shown = ShownSeries();
  for (size_t i = 0; i < shown.size(); ++i) {
    TChartSeries* s = shown[i];
    const bool showX = SeriesShowsX(static_cast<int>(i));
    const int lists = s->ValuesList()->Count();
    const int n = lists - 1 + (showX ? 1 : 0);
    if (ACol < col + n) {
      const int k = ACol - col + 1;  // 1-based offset within the series
      const int list = (showX || s->MainList() == s->XValues()) ? k - 1 : k;
      if (list < 0 || list >= lists) return false;
      Series = s;
      List = s->ValuesList()->ListAt(list);
      if (First) *First = k == 1;
      return true;
    }
    col += n;
  }
  return false;
}

TChartSeries* TCustomChartGrid::ColumnSeries(int ACol) {
  if (ACol == ColorsColumn()) ++ACol;
  TChartSeries* s = nullptr;
  TChartValueList* l = nullptr;
  if (ColumnValues(ACol, s, l)) return s;
  // The labels column (and the colours column before it) goes with the
  // first series shown, whose labels it lists first.
  if (ACol >= 1 && ACol == LabelsColumn()) {
    const std::vector<TChartSeries*> shown = ShownSeries();
    if (!shown.empty()) return shown.front();
  }
  return nullptr;
}

// ---- Binding -----------------------------------------------------------------------

void TCustomChartGrid::ListenTo(TCustomAxisPanel* Panel) {
  if (Panel == FListened) return;
  if (FListened) {
    if (!IsGoing(FListened)) {
      FListened->RemoveListener(this);
      FListened->RemoveFreeNotification(this);
    }
  }
  FListened = Panel;
  if (FListened) {
    FListened->FreeNotification(this);
    FListened->Listeners()->AddListener(this);
  }
}

void TCustomChartGrid::RecalcAndGoHome() {
  RecalcLayout();
  if (ColCount() > 1) SetCol(1);
  SetRow(HeaderRows());
  Invalidate();
}

void TCustomChartGrid::SetChart(TCustomChart* Value) {
  if (FChart && FChart != Value && !IsGoing(FChart)) FChart->RemoveFreeNotification(this);
  FChart = Value;
  if (FChart) FChart->FreeNotification(this);
  ListenTo(FSeries ? FSeries->ParentChart() : FChart);
  RecalcAndGoHome();
}

void TCustomChartGrid::SetSeries(TChartSeries* Value) {
  if (FSeries && FSeries != Value && !IsGoing(FSeries)) FSeries->RemoveFreeNotification(this);
  FSeries = Value;
  if (FSeries) {
    FSeries->FreeNotification(this);
    if (FChart) {
      if (!IsGoing(FChart)) FChart->RemoveFreeNotification(this);
      FChart = nullptr;
    }
  }
  ListenTo(FSeries ? FSeries->ParentChart() : FChart);
  RecalcAndGoHome();
}

void TCustomChartGrid::SetShowLabels(bool Value) {
  if (FShowLabels == Value) return;
  FShowLabels = Value;
  RecalcLayout();
  Invalidate();
}

void TCustomChartGrid::SetShowColors(bool Value) {
  if (FShowColors == Value) return;
  FShowColors = Value;
  RecalcLayout();
  Invalidate();
}

void TCustomChartGrid::SetShowXValues(TChartGridShow Value) {
  FShowXValues = Value;
  RecalcLayout();
  Invalidate();
}

void TCustomChartGrid::SetSecondHeaderRow(bool Value) {
  if (FSecondHeaderRow == Value) return;
  FSecondHeaderRow = Value;
  RecalcLayout();
  Invalidate();
  if (Row() < HeaderRows()) SetRow(HeaderRows());
}

void TCustomChartGrid::SetGrid3D(bool Value) {
  FGrid3D = Value;
  RecalcAndGoHome();
}

void TCustomChartGrid::SetNavigator(TChartGridNavigator* Value) {
  if (FNavigator == Value) return;
  if (FNavigator) FNavigator->RemoveFreeNotification(this);
  FNavigator = Value;
  if (FNavigator) FNavigator->FreeNotification(this);
}

void TCustomChartGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FNavigator) FNavigator = nullptr;
  if (AComponent == FListened) FListened = nullptr;
  if (AComponent == FSeries) {
    FSeries = nullptr;
    if (FListened && !IsGoing(FListened)) ListenTo(FChart);
    if (!IsGoing(this)) RecalcAndGoHome();
  }
  if (AComponent == FChart) {
    FChart = nullptr;
    if (!IsGoing(this)) RecalcAndGoHome();
  }
}

void TCustomChartGrid::FireChanged() {
  if (ChangedHook) ChangedHook();
}

// ---- Layout ------------------------------------------------------------------------

void TCustomChartGrid::RecalcLayout() {
  const int oldFixedRows = FixedRows();
  if (FGrid3D) {
    FShowLabels = false;
    FShowColors = false;
    FXs.clear();
    FZs.clear();
    FShowX.clear();
    if (TCustom3DSeries* s3 = Series3D()) {
      for (int i = 0; i < s3->Count(); ++i) {
        if (IndexOfExact(FXs, s3->XValues()->GetValue(i)) < 0) FXs.push_back(s3->XValues()->GetValue(i));
        if (IndexOfExact(FZs, s3->ZValues()->GetValue(i)) < 0) FZs.push_back(s3->ZValues()->GetValue(i));
      }
    }
    SetColCount(1 + static_cast<int>(FXs.size()));
    SetRowCount(std::max(3, 2 + static_cast<int>(FZs.size())));
    if (oldFixedRows != 2 || FixedRows() != 2) SetFixedRows(2);
  } else {
    const int h = HeaderRows();
    const std::vector<TChartSeries*> shown = ShownSeries();
    FShowX.assign(shown.size(), false);
    int cols = 1;
    int largest = 0;
    if (FSeries || FChart) {
      for (size_t i = 0; i < shown.size(); ++i) {
        TChartSeries* s = shown[i];
        bool showX = false;
        switch (FShowXValues) {
          case cgsYes: showX = true; break;
          case cgsNo: showX = false; break;
          case cgsAuto: showX = HasExplicitXValues(s); break;
        }
        FShowX[i] = showX;
        cols += s->ValuesList()->Count() - 1 + (showX ? 1 : 0);
        largest = std::max(largest, s->Count());
      }
      if (FShowLabels) ++cols;
      if (FShowColors) ++cols;
    }
    // The row count before the fixed rows, so that fixed rows always fit.
    SetRowCount(h + std::max(1, largest));
    SetColCount(cols);
    if (FixedRows() != h) SetFixedRows(h);
  }
  SetColWidths(0, 30);
  if (FShowColors && ColCount() >= 2) SetColWidths(1, 40);
  if (Col() == 0 && ColCount() >= 2) SetCol(1);
  FireChanged();
}

// ---- Cell texts --------------------------------------------------------------------

std::string TCustomChartGrid::ValueText(TChartSeries* Series, TChartValueList* List, int Index) const {
  const double v = List->GetValue(Index);
  if (List->DateTime()) return v >= 1 ? DateTimeToStr(v) : TimeToStr(v);
  return FormatFloat(Series->ValueFormat(), v);
}

int TCustomChartGrid::PointOfCell3D(int ACol, int ARow) {
  TCustom3DSeries* s3 = Series3D();
  if (!s3 || ACol < 1 || ARow < 2) return -1;
  const double x = ACol, z = ARow - 2 + 1;
  for (int i = 0; i < s3->Count(); ++i)
    if (s3->XValues()->GetValue(i) == x && s3->ZValues()->GetValue(i) == z) return i;
  return -1;
}

std::string TCustomChartGrid::CellText(int ACol, int ARow) {
  if (FGrid3D) {
    TCustom3DSeries* s3 = Series3D();
    if (!s3) return "";
    if (ACol == 0) {
      if (ARow < 2 || FZs.empty()) return "";
      const double zmin = *std::min_element(FZs.begin(), FZs.end());
      return IntToStr(Round(zmin) + (ARow - 2));
    }
    if (ARow == 1) {
      if (FXs.empty()) return "";
      const double xmin = *std::min_element(FXs.begin(), FXs.end());
      return IntToStr(Round(xmin) + ACol - 1);
    }
    if (ARow == 0) return ACol == 1 ? OneLineTitle(s3) : "";
    const int p = PointOfCell3D(ACol, ARow);
    return p < 0 ? "" : FormatFloat(s3->ValueFormat(), s3->YValues()->GetValue(p));
  }
  const int h = HeaderRows();
  if (ACol == 0) {
    if (ARow >= h) return IntToStr(ARow - h);
    return ARow == h - 1 ? "#" : "";
  }
  if (ARow < h) {
    if (ACol == LabelsColumn()) return ARow == h - 1 ? "Text" : "";
    if (ACol == ColorsColumn()) return ARow == h - 1 ? "Colors" : "";
    TChartSeries* s;
    TChartValueList* list;
    bool first = false;
    if (!ColumnValues(ACol, s, list, &first)) return "";
    if (ARow == h - 1 && FSecondHeaderRow) return list->Name();
    if (ARow == 0) {
      if (FSeries && h == 1) return list->Name();
      if (FSeries || first) return OneLineTitle(s);
    }
    return "";
  }
  const int index = ARow - h;
  if (ACol == ColorsColumn()) return "";
  if (ACol == LabelsColumn()) {
    for (TChartSeries* s : ShownSeries())
      if (s->Labels()->Count() > index) return s->PointLabel(index);
    return "";
  }
  TChartSeries* s;
  TChartValueList* list;
  if (!ColumnValues(ACol, s, list)) return "";
  if (index >= s->Count()) return "";
  return ValueText(s, list, index);
}

std::string TCustomChartGrid::GetEditText(int ACol, int ARow) { return CellText(ACol, ARow); }

// ---- Drawing -----------------------------------------------------------------------

void TCustomChartGrid::Paint() {
  FPaintedRows = 0;
  TCustomGrid::Paint();
}

void TCustomChartGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* canvas = Canvas();
  const int h = FGrid3D ? 2 : HeaderRows();
  if (ACol == 0 && ARow >= h) ++FPaintedRows;
  if (ACol == 0 || ARow == 1 && h == 2) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FixedColor());
    canvas->FillRect(ARect);
  }
  canvas->Brush()->SetStyle(bsClear);
  // The colours column: the point's colour.
  if (!FGrid3D && ACol == ColorsColumn() && ARow >= h) {
    TColor c = Color();
    if (TChartSeries* s = ColumnSeries(ACol); s && ARow - h < s->Count()) {
      const TColor pc = s->PointColor(ARow - h);
      if (pc != clNone) c = pc;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(c);
    canvas->FillRect(ARect);
    return;
  }
  // The first header row: series symbol and title.
  if (ARow == 0 && ACol >= 1 && (FGrid3D || h == 2 || !FSeries)) {
    TChartSeries* s = nullptr;
    TChartValueList* list = nullptr;
    bool first = false;
    const bool values = ColumnValues(ACol, s, list, &first);
    if (values && (FGrid3D ? ACol == 1 : (FSeries || first))) {
      DrawSeriesSymbolOn(s, canvas, Rect(ARect.Left + 4, ARect.Top + 4, ARect.Left + 16, ARect.Top + 16));
      canvas->Brush()->SetStyle(bsClear);
      canvas->TextOut(ARect.Left + 18, ARect.Top + 4, OneLineTitle(s));
    }
    return;
  }
  if (ARow == 0 && h == 1 && FSeries && ACol >= 1) {
    const std::string t = CellText(ACol, ARow);
    if (ACol == LabelsColumn() || ACol == ColorsColumn()) canvas->TextOut(ARect.Left + 2, ARect.Top + 2, t);
    else canvas->TextOut(ARect.Left + 18, ARect.Top + 4, t);
    return;
  }
  const std::string text = CellText(ACol, ARow);
  if (text.empty()) return;
  const bool value = ARow >= h && ACol >= 1 && ACol != LabelsColumn();
  if (value) canvas->TextOut(ARect.Right - 2 - canvas->TextWidth(text), ARect.Top + 2, text);
  else canvas->TextOut(ARect.Left + 2, ARect.Top + 2, text);
}

// ---- Editing -----------------------------------------------------------------------

bool TCustomChartGrid::CanEditShow() {
  if (!TCustomGrid::CanEditShow()) return false;
  bool allow = true;
  if (OnEditingCell) OnEditingCell(this, Col(), Row(), allow);
  if (!allow) return false;
  if (!FGrid3D && Col() == ColorsColumn()) return false;
  if (!EditorShown()) {
    FSavedText = CellText(Col(), Row());
    FRefused = {};
    FireChanged();
  }
  return true;
}

void TCustomChartGrid::StartEditing() {
  if (!CanEditGrid() || EditorMode() || Col() == 0) return;
  TChartSeries* s = ColumnSeries(Col());
  if (!s || s->QueryDataSource()) return;
  if (FGrid3D) {
    FNewCell = FZs.empty() || (Row() - 2 + 1) > *std::max_element(FZs.begin(), FZs.end());
  } else {
    const int index = Row() - HeaderRows();
    FNewCell = index >= s->Count() || s->PointIsNull(index);
  }
  FSavedText = FNewCell ? std::string() : CellText(Col(), Row());
  SetEditorMode(true);
  FireChanged();
}

void TCustomChartGrid::StopEditing(bool Cancel) {
  if (!EditorMode()) return;
  if (Cancel) {
    if (FNewCell) {
      if (InplaceEditor()) InplaceEditor()->SetText("");
      HideEditor();
    } else {
      // The edit is applied only when the editor goes: dropping its text
      // keeps the value the point had.
      FSkipApply = true;
      try {
        HideEditor();
      } catch (...) {
        FSkipApply = false;
        throw;
      }
      FSkipApply = false;
    }
    Invalidate();
  } else {
    HideEditor();
  }
  FireChanged();
}

bool TCustomChartGrid::ApplyEdit(int ACol, int ARow, const std::string& Value, std::string& Error) {
  if (!HasData()) return true;
  const int h = FGrid3D ? 2 : HeaderRows();
  const int index = ARow - h;
  if (index < 0 || ACol < 1) return true;
  const std::vector<TChartSeries*> shown = ShownSeries();
  if (!FGrid3D && ACol == LabelsColumn()) {
    for (TChartSeries* s : shown) s->ManualData = true;
    for (TChartSeries* s : shown) {
      while (s->Count() <= index) s->AddBlankValue();
      s->Labels()->SetLabelAt(index, Value);
      s->NotifyDataChanged();
      s->RequestRedraw();
    }
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
    return true;
  }
  if (!FGrid3D && ACol == ColorsColumn()) return true;
  TChartSeries* s;
  TChartValueList* list;
  if (!ColumnValues(ACol, s, list)) return true;
  int point = index;
  if (FGrid3D) {
    point = PointOfCell3D(ACol, ARow);
    if (point < 0) return true;
  }
  const std::string text = Trim(Value);
  double v = 0;
  if (!text.empty()) {
    // Converted before anything changes: a refused text leaves the series
    // as it was.
    try {
      v = list->DateTime() ? StrToDateTime(text) : StrToFloat(text);
    } catch (const EConvertError& e) {
      Error = e.Message();
      return false;
    }
  }
  for (TChartSeries* each : shown) each->ManualData = true;
  if (!FGrid3D)
    while (s->Count() <= point) s->AddBlankValue();
  if (!text.empty()) {
    list->SetValue(point, v);
    if (s->PointIsNull(point)) {
      s->SetPointColor(point, clDefault);
      if (FShowColors) Invalidate();
    }
  } else if (!EditorMode()) {
    s->SetPointColor(point, clNone);
    Invalidate();
  }
  s->NotifyDataChanged();
  s->RequestRedraw();
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
  return true;
}

void TCustomChartGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  TCustomGrid::SetEditText(ACol, ARow, Value);
  // The editor hands its text over as it goes: the navigator follows.
  if (!EditorMode()) FireChanged();
  if (FSkipApply) return;
  std::string error;
  if (ApplyEdit(ACol, ARow, Value, error)) {
    FRefused = {};
    return;
  }
  // The text the cell already shows (a formatted value that does not read
  // back, such as one with thousands separators) is no edit.
  if (Trim(Value) == Trim(CellText(ACol, ARow))) return;
  // The editor hands its text over more than once as the cell is left.
  if (FRefused.Col == ACol && FRefused.Row == ARow && FRefused.Text == Value) return;
  FRefused = {ACol, ARow, Value};
  MessageDlg(error, mtError, {mbOK});
}

// ---- Rows --------------------------------------------------------------------------

void TCustomChartGrid::AppendRow() {
  if (!CanEditGrid()) return;
  bool hadPoints = false;
  for (TChartSeries* s : ShownSeries()) {
    hadPoints = s->Count() > 0;
    s->AddBlankXY(s->Count(), 0);
  }
  if (hadPoints) SetRowCount(RowCount() + 1);
  SetRow(RowCount() - 1);
  FireChanged();
}

void TCustomChartGrid::AppendCurrentSeriesPoint() {
  if (!CanEditGrid() || FGrid3D) return;
  TChartSeries* s = ColumnSeries(Col());
  if (!s) return;
  s->AddBlankValue();
  SetRowCount(RowCount() + 1);
  SetRow(RowCount() - 1);
  FireChanged();
}

void TCustomChartGrid::DeleteRow() {
  if (!CanEditGrid()) return;
  if (EditorMode()) StopEditing(true);
  const int index = Row() - HeaderRows();
  if (index < 0) return;
  const std::vector<TChartSeries*> shown = ShownSeries();
  for (size_t i = 0; i < shown.size(); ++i) {
    TChartSeries* s = shown[i];
    if (index >= s->Count()) continue;
    s->RemovePoint(index);
    if (!SeriesShowsX(static_cast<int>(i))) s->XValues()->FillWithIndices();
  }
  if (RowCount() - HeaderRows() > 1) SetRowCount(RowCount() - 1);
  Invalidate();
  FireChanged();
}

// ---- Colours -----------------------------------------------------------------------

TChartSeries* TCustomChartGrid::CurrentCellColor(TColor& Color) {
  if (FGrid3D || Col() != ColorsColumn()) return nullptr;
  TChartSeries* s = ColumnSeries(Col());
  const int index = Row() - HeaderRows();
  if (!s || index < 0 || index >= s->Count()) return nullptr;
  Color = s->PointColor(index);
  return s;
}

void TCustomChartGrid::SetCurrentColor(TColor Color) {
  TColor old;
  TChartSeries* s = CurrentCellColor(old);
  if (!s) return;
  s->SetPointColor(Row() - HeaderRows(), Color);
  s->ManualData = true;
  s->RequestRedraw();
  InvalidateCell(Col(), Row());
  if (OnChangeColor) OnChangeColor(this);
}

void TCustomChartGrid::EditCurrentColor() {
  TColor c;
  TChartSeries* s = CurrentCellColor(c);
  if (!s) return;
  const TColor old = c;
  if (EditColorValue(this, c) && c != old) SetCurrentColor(c);
}

// ---- Chart events ------------------------------------------------------------------

void TCustomChartGrid::HandlePanelEvent(TGrafEvent* Event) {
  if (IsGoing(this)) return;
  auto* e = dynamic_cast<TGrafSeriesEvent*>(Event);
  if (!e) return;
  switch (e->Event) {
    case seChangeTitle:
    case seChangeColor:
    case seChangeActive: Invalidate(); break;
    case seRemove: {
      // The series still stands in the chart's list while it is announced.
      FLeaving = e->Series;
      try {
        RecalcLayout();
      } catch (...) {
        FLeaving = nullptr;
        throw;
      }
      FLeaving = nullptr;
      Invalidate();
      break;
    }
    default:
      RecalcLayout();
      Invalidate();
      break;
  }
}

// ---- Input -------------------------------------------------------------------------

void TCustomChartGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!Shift.Contains(ssCtrl)) {
    const bool colours = !FGrid3D && Col() == ColorsColumn();
    const bool lastRow = Row() == RowCount() - 1;
    switch (Key) {
      case VK_RETURN:
      case VK_SPACE:
        if (colours) {
          EditCurrentColor();
          Key = 0;
          return;
        }
        break;
      case VK_F2:
        if (colours) EditCurrentColor();
        else StartEditing();
        Key = 0;
        return;
      case VK_ESCAPE:
        StopEditing(true);
        Key = 0;
        return;
      case VK_UP:
        if (lastRow && !FGrid3D) {
          TChartSeries* s = ColumnSeries(Col());
          const int index = Row() - HeaderRows();
          if (s && index >= 0 && index < s->Count() && s->PointIsNull(index) && s->PointLabel(index).empty()) {
            if (EditorMode()) StopEditing(true);
            SetRowCount(RowCount() - 1);
            s->RemovePoint(index);
            Invalidate();
            FireChanged();
            Key = 0;
            return;
          }
        }
        break;
      case VK_DOWN:
        if (lastRow) {
          AppendCurrentSeriesPoint();
          Key = 0;
          return;
        }
        break;
      case VK_INSERT:
        AppendRow();
        Key = 0;
        return;
      case VK_DELETE:
        if (!EditorMode()) SetEditorMode(true);
        if (EditorShown()) InplaceEditor()->SetSelText("");
        Key = 0;
        return;
      default: break;
    }
  }
  TCustomGrid::KeyDown(Key, Shift);
}

void TCustomChartGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseDown(Button, Shift, X, Y);
  if (GridState() == gsNormal && Button == mbLeft) {
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.Y >= 0 && cell.Y < FixedRows() && cell.X > FixedCols())
      SetSelection({cell.X, FixedRows(), cell.X, RowCount() - 1});
  }
  if (FNavigator) FNavigator->EnableButtons();
}

void TCustomChartGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseMove(Shift, X, Y);
  if (!FShowColors || !CanEditGrid() || FGrid3D) return;
  const TGridCoord cell = MouseCoord(X, Y);
  TCursor cursor = crDefault;
  if (cell.X == ColorsColumn() && cell.Y >= HeaderRows()) {
    TChartSeries* s = ColumnSeries(cell.X);
    if (s && cell.Y - HeaderRows() < s->Count()) cursor = crHandPoint;
  }
  if (Cursor() != cursor) SetCursor(cursor);
}

void TCustomChartGrid::DblClick() {
  if (!FGrid3D && CanEditGrid() && Col() == ColorsColumn()) {
    EditCurrentColor();
    return;
  }
  TCustomGrid::DblClick();
}

bool TCustomChartGrid::SelectCell(int ACol, int ARow) {
  const bool allowed = ACol >= 1 && ARow >= (FGrid3D ? 2 : HeaderRows());
  if (allowed && CellSelectedHook) CellSelectedHook();
  return allowed;
}

// ---- The navigator -----------------------------------------------------------------

TChartGridNavigator::TChartGridNavigator(TComponent* AOwner) : TCustomGrafNavigator(AOwner) {
  for (int i = nbInsert; i <= nbCancel; ++i) Buttons(static_cast<TGrafNavigateBtn>(i))->SetVisible(true);
  SetBounds(Left(), Top(), Width(), Height());
}

TChartGridNavigator::~TChartGridNavigator() { SetGrid(nullptr); }

void TChartGridNavigator::SetGrid(TCustomChartGrid* Value) {
  if (FGrid == Value) return;
  if (FGrid) {
    if (!FGrid->ComponentState().Contains(csDestroying)) {
      FGrid->ChangedHook = nullptr;
      FGrid->CellSelectedHook = nullptr;
      FGrid->SetNavigator(nullptr);
    }
    FGrid->RemoveFreeNotification(this);
  }
  FGrid = Value;
  if (FGrid) {
    FGrid->FreeNotification(this);
    FGrid->ChangedHook = [this] { EnableButtons(); };
    FGrid->CellSelectedHook = [this] { EnableButtons(); };
    FGrid->SetNavigator(this);
  }
  EnableButtons();
}

void TChartGridNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrafNavigator::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FGrid) {
    FGrid = nullptr;
    EnableButtons();
  }
}

bool TChartGridNavigator::InsertAllowed() const {
  if (!FGrid) return false;
  if (FGrid->Series()) return true;
  return FGrid->CanEditGrid() && !FGrid->EditorMode() && FGrid->Chart() && FGrid->Chart()->NumberOfSeries() > 0;
}

void TChartGridNavigator::EnableButtons() {
  if (ComponentState().Contains(csDestroying)) return;
  const bool has = FGrid != nullptr && Enabled();
  const int first = has ? FGrid->FixedRows() : 0;
  const bool above = has && FGrid->Row() > first;
  const bool below = has && FGrid->Row() < FGrid->RowCount() - 1;
  const bool insert = has && InsertAllowed();
  bool points = false;
  if (has)
    for (TChartSeries* s : FGrid->ShownSeries())
      if (s->Count() > 0) points = true;
  Buttons(nbFirst)->SetEnabled(above);
  Buttons(nbPrior)->SetEnabled(above);
  Buttons(nbNext)->SetEnabled(below);
  Buttons(nbLast)->SetEnabled(below);
  Buttons(nbInsert)->SetEnabled(insert);
  Buttons(nbDelete)->SetEnabled(has && FGrid->RowCount() > 1 && insert && points);
  Buttons(nbEdit)->SetEnabled(insert);
  Buttons(nbPost)->SetEnabled(has && FGrid->EditorMode());
  Buttons(nbCancel)->SetEnabled(has && FGrid->EditorMode());
}

void TChartGridNavigator::BtnClick(int Index) {
  if (FGrid) {
    const int first = FGrid->FixedRows();
    switch (Index) {
      case nbFirst: FGrid->SetRow(first); break;
      case nbPrior: FGrid->SetRow(FGrid->Row() - 1); break;
      case nbNext: FGrid->SetRow(FGrid->Row() + 1); break;
      case nbLast: FGrid->SetRow(FGrid->RowCount() - 1); break;
      case nbInsert: FGrid->AppendRow(); break;
      case nbDelete: FGrid->DeleteRow(); break;
      case nbEdit:
        if (FGrid->CanFocus()) FGrid->SetFocus();
        FGrid->StartEditing();
        break;
      case nbPost: FGrid->StopEditing(false); break;
      case nbCancel: FGrid->StopEditing(true); break;
      default: break;
    }
  }
  TCustomGrafNavigator::BtnClick(Index);
}

void RegisterChartGridClasses() {
  RegisterClasses({&TCustomChartGrid::StaticClass(), &TChartGrid::StaticClass(),
                   &TChartGridNavigator::StaticClass()});
}
