// Copy, cut and paste: tab-separated text, the top-left cell's rich text and
// the cell stream; pasting text and filling series into a selection.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/rtftext.h"

namespace {

// A field that holds a separator or a quote goes in quotes, inner quotes
// doubled, so that pasting it back gives the same text.
std::string QuoteField(const std::string& Text) {
  if (Text.find_first_of("\t\r\n\"") == std::string::npos) return Text;
  std::string out = "\"";
  for (char c : Text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// Lines of fields. A field starting with a quote runs to the closing quote
// ("" standing for one quote) when a separator or the end follows it;
// otherwise it is read as it stands. Outside quotes CR LF, CR and LF end a
// line. A text ending in a line break has a last line of one empty field.
struct TPastedText {
  std::vector<std::vector<std::string>> Lines;
  bool EndsWithBreak = false;
};

TPastedText SplitPastedText(const std::string& Text) {
  TPastedText out;
  if (Text.empty()) return out;
  std::vector<std::string> line;
  const size_t n = Text.size();
  size_t i = 0;
  for (;;) {
    std::string field;
    bool done = false;
    if (i < n && Text[i] == '"') {
      std::string value;
      size_t j = i + 1;
      bool closed = false;
      while (j < n) {
        if (Text[j] == '"') {
          if (j + 1 < n && Text[j + 1] == '"') {
            value += '"';
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        value += Text[j++];
      }
      if (closed && (j == n || Text[j] == '\t' || Text[j] == '\r' || Text[j] == '\n')) {
        // Line breaks inside a field from other programs may come as VT.
        if (value.find('\n') != std::string::npos) {
          std::string v;
          for (char c : value) v += c == '\v' ? std::string("\r\n") : std::string(1, c);
          value = v;
        }
        field = value;
        i = j;
        done = true;
      }
    }
    if (!done) {
      size_t j = i;
      while (j < n && Text[j] != '\t' && Text[j] != '\r' && Text[j] != '\n') ++j;
      field = Text.substr(i, j - i);
      i = j;
    }
    line.push_back(field);
    if (i >= n) {
      out.Lines.push_back(std::move(line));
      break;
    }
    if (Text[i] == '\t') {
      ++i;
      continue;
    }
    // A line break.
    if (Text[i] == '\r' && i + 1 < n && Text[i + 1] == '\n') ++i;
    ++i;
    out.Lines.push_back(std::move(line));
    line.clear();
    if (i >= n) {
      out.Lines.push_back({std::string()});
      out.EndsWithBreak = true;
      break;
    }
  }
  return out;
}

bool ParseInt(const std::string& s, long long& v) {
  const char* b = s.data();
  const char* e = b + s.size();
  if (b != e && *b == '+') ++b;
  auto [p, ec] = std::from_chars(b, e, v);
  return ec == std::errc() && p == e && b != e;
}

bool ParseFloat(const std::string& s, double& v) {
  TFormatSettings fs = FormatSettings;
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = '\0';
  return TryStrToFloat(s, v, fs) && std::isfinite(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// Selection

bool TPlusStringGrid::IsSelectedCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || IsFixedCell(RealColIndex(ACol), ARow)) return false;
  if (FMouseActions->DisjunctRowSelect()) {
    const int idx = FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
    return idx >= 0 && idx < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<size_t>(idx)];
  }
  if (FMouseActions->DisjunctColSelect())
    return ACol < static_cast<int>(FColSelectFlags.size()) && FColSelectFlags[static_cast<size_t>(ACol)];
  const TGridRect s = Selection();
  return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) && ARow >= std::min(s.Top, s.Bottom) &&
         ARow <= std::max(s.Top, s.Bottom);
}

void TPlusStringGrid::ExtendSelectionToMerges() {
  TGridRect s = Selection();
  if (IsMergedCell(s.Left, s.Top)) {
    const TPoint b = GetBaseCell(s.Left, s.Top);
    s.Left = std::min(s.Left, b.X);
    s.Top = std::min(s.Top, b.Y);
  }
  if (IsMergedCell(s.Right, s.Bottom)) {
    const TPoint b = GetBaseCell(s.Right, s.Bottom);
    const TPoint span = GetCellSpan(b.X, b.Y);
    s.Right = std::max(s.Right, b.X + span.X);
    s.Bottom = std::max(s.Bottom, b.Y + span.Y);
  }
  SetSelection(s);
}

TPoint TPlusStringGrid::GetTextDimensions(const std::string& Text) {
  const TPastedText t = SplitPastedText(Text);
  int widest = 0, breaks = 0;
  for (size_t i = 0; i < t.Lines.size(); ++i) {
    widest = std::max(widest, static_cast<int>(t.Lines[i].size()));
    const bool empty = t.Lines[i].size() == 1 && t.Lines[i][0].empty();
    if (i + 1 < t.Lines.size() && !empty) ++breaks;
  }
  return TPoint{widest, breaks};
}

// ---------------------------------------------------------------------------
// Copy and cut

void TPlusStringGrid::CopyRangeToClipboard(const TGridRect& Rect, bool SelectedOnly) {
  TGridRect R = Rect;
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  R.Left = std::max(R.Left, 0);
  R.Top = std::max(R.Top, 0);
  R.Right = std::min(R.Right, ColCount() - 1);
  R.Bottom = std::min(R.Bottom, RowCount() - 1);
  if (R.Left > R.Right || R.Top > R.Bottom) return;
  FCopyOrigin = TPoint{R.Left, R.Top};
  FLastActionCopy = true;
  const bool disRow = FMouseActions->DisjunctRowSelect(), disCol = FMouseActions->DisjunctColSelect();
  const bool persistent = FMouseActions->RowSelectPersistent();
  auto rowSelected = [&](int r) {
    const int idx = persistent ? RealRowIndex(r) : r;
    return idx >= 0 && idx < static_cast<int>(FRowSelectFlags.size()) && FRowSelectFlags[static_cast<size_t>(idx)];
  };
  auto colSelected = [&](int c) {
    return c < static_cast<int>(FColSelectFlags.size()) && FColSelectFlags[static_cast<size_t>(c)];
  };

  NotifyProgress(0, -1);
  std::string text;
  for (int r = R.Top; r <= R.Bottom; ++r) {
    if (SelectedOnly && disRow && !disCol && !rowSelected(r)) continue;
    NotifyProgress(1, r);
    bool first = true;
    for (int c = R.Left; c <= R.Right; ++c) {
      if (SelectedOnly && disCol && !colSelected(c)) continue;
      std::string s = SaveCellText(c, r);
      if (!FNavigation->CopyHTMLTagsToClipboard() && s.find("</") != std::string::npos) s = HTMLToPlainText(s);
      else if (s.find("{\\") != std::string::npos) s = RTFToPlainText(s);
      if (!first) text += '\t';
      first = false;
      text += QuoteField(s);
    }
    if (R.Bottom > R.Top) text += "\r\n";
  }
  NotifyProgress(2, -1);

  Clipboard()->Open();
  try {
    Clipboard()->SetAsText(text);
    if (FNavigation->AllowRTFClipboard()) CopyRTFToClipboard(R.Left, R.Top);
    if (FNavigation->AllowFmtClipboard()) CopyCellsToClipboard(R);
  } catch (...) {
    Clipboard()->Close();
    throw;
  }
  Clipboard()->Close();
}

void TPlusStringGrid::CopySelectionToClipboard() {
  ExtendSelectionToMerges();
  if (FMouseActions->DisjunctRowSelect() || FMouseActions->DisjunctColSelect()) {
    CopyRangeToClipboard(TGridRect{GetFirstCol(), GetFirstRow(), GetLastCol(), GetLastRow()}, true);
    return;
  }
  CopyRangeToClipboard(Selection(), false);
}

void TPlusStringGrid::CopyGridToClipboard() {
  CopyRangeToClipboard(TGridRect{GetFirstCol(), GetFirstRow(), GetLastCol(), GetLastRow()}, false);
}

void TPlusStringGrid::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  FLastActionCopy = false;
  if (FMouseActions->DisjunctRowSelect()) {
    ClearSelection();
  } else if (FMouseActions->DisjunctColSelect()) {
    ClearSelection();
  } else {
    const TGridRect s = Selection();
    const bool always = FNavigation->AllowClipboardAlways();
    const bool formats = FNavigation->AllowFmtClipboard();
    for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r)
      for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c) {
        const int rc = RealColIndex(c);
        if (!always && !CanEditCell(rc, r)) continue;
        SetCellText(rc, r, "");
        // The formatting leaves with the text, and only where the text did.
        if (formats) FreeCellObject(rc, r);
      }
    CellsChanged(TRect(RealColIndex(std::min(s.Left, s.Right)), std::min(s.Top, s.Bottom),
                       RealColIndex(std::max(s.Left, s.Right)), std::max(s.Top, s.Bottom)));
  }
  if (NumHiddenColumns() > 0) Invalidate();
}

// ---------------------------------------------------------------------------
// Paste

void TPlusStringGrid::SetPastedCell(int ACol, int ARow, const std::string& Value) {
  const int rc = RealColIndex(ACol);
  if (HasCheckBox(rc, ARow)) {
    SetCellCheckState(rc, ARow, Value == GetCheckTrue(rc, ARow));
    return;
  }
  SetCellText(rc, ARow, Value);
  if (rc != ACol) RepaintCell(ACol, ARow);
}

int TPlusStringGrid::PasteFromClipboardAt(int ACol, int ARow) {
  TClipboard* cb = Clipboard();
  const TClipboardFormat rtf = RegisterClipboardFormat("Rich Text Format");
  if (FNavigation->AllowFmtClipboard() && cb->HasFormat(PlusGridCellsFormat())) {
    BeforePaste();
    const std::vector<uint8_t> bytes = cb->GetBuffer(PlusGridCellsFormat());
    TMemoryStream m;
    m.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    m.SetPosition(0);
    LoadCellsFromStream(TPoint{ACol, ARow}, m);
    const TGridRect target{ACol, ARow, ACol + FStreamCols - 1, ARow + FStreamRows - 1};
    AfterPaste(FStreamWriter == StreamID() ? FCopyOrigin : TPoint{-1, -1}, target, FLastActionCopy);
    AfterStreamPaste();
    return FStreamCols * FStreamRows;
  }
  if (FNavigation->AllowRTFClipboard() && cb->HasFormat(rtf)) {
    const std::vector<uint8_t> bytes = cb->GetBuffer(rtf);
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() && CanEditCell(RealColIndex(ACol), ARow))
      SetPastedCell(ACol, ARow, std::string(bytes.begin(), end));
    return 0;
  }
  if (cb->HasFormat(CF_TEXT)) return PasteText(ACol, ARow, cb->AsText());
  return 0;
}

int TPlusStringGrid::PasteText(int ACol, int ARow, const std::string& Text) {
  if (ACol < 0 || ARow < 0) return 0;
  const bool always = FNavigation->AllowClipboardAlways();
  if (!Options().Contains(goEditing) && !always && !FMouseActions->RangeSelectAndEdit()) return 0;
  const TPastedText t = SplitPastedText(Text);
  NotifyPasteProgress(0, ARow);
  // The grid grows once by what the text needs: the widest line and every
  // line with text, a floating footer staying last.
  const int lines = static_cast<int>(t.Lines.size()) - (t.EndsWithBreak ? 1 : 0);
  size_t widest = 0;
  for (const auto& l : t.Lines) widest = std::max(widest, l.size());
  if (FNavigation->AllowClipboardColGrow() && static_cast<int64_t>(ACol) + static_cast<int64_t>(widest) > ColCount())
    SetColCount(static_cast<int>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(ACol) + widest)));
  const int limit = FloatingFooterRow() ? RowCount() - 1 : RowCount();
  if (FNavigation->AllowClipboardRowGrow() && lines > 0 && static_cast<int64_t>(ARow) + lines > limit) {
    const int add = static_cast<int>(std::min<int64_t>(INT32_MAX - RowCount(), static_cast<int64_t>(ARow) + lines - limit));
    if (FloatingFooterRow()) InsertRows(RowCount() - 1, add, true);
    else SetRowCount(RowCount() + add);
  }
  int count = 0, row = ARow, lastCol = ACol, lastRow = ARow;
  for (size_t li = 0; li < t.Lines.size(); ++li) {
    const std::vector<std::string>& fields = t.Lines[li];
    const bool finalEmpty = t.EndsWithBreak && li + 1 == t.Lines.size();
    int col = ACol;
    for (size_t fi = 0; fi < fields.size(); ++fi) {
      ++count;
      if (!finalEmpty && col < ColCount() && row < RowCount() && (always || CanEditCell(RealColIndex(col), row))) {
        std::string value = fields[fi];
        bool allow = true;
        if (value.rfind("|\\", 0) == 0) {
          std::u16string wide = DecodeWideCellText(value);
          if (OnClipboardBeforePasteWideCell) OnClipboardBeforePasteWideCell(this, col, row, wide, allow);
          value = EncodeWideCellText(wide);
        } else if (OnClipboardBeforePasteCell) {
          OnClipboardBeforePasteCell(this, col, row, value, allow);
        }
        if (allow) {
          SetPastedCell(col, row, value);
          lastCol = std::max(lastCol, col);
          lastRow = std::max(lastRow, row);
        }
      }
      ++col;
    }
    NotifyPasteProgress(1, row);
    ++row;
  }
  NotifyPasteProgress(2, -1);
  AfterPaste(FCopyOrigin, TGridRect{ACol, ARow, lastCol, lastRow}, FLastActionCopy);
  CellsChanged(TRect(RealColIndex(ACol), ARow, RealColIndex(lastCol), lastRow));
  return count;
}

void TPlusStringGrid::PasteSelectionFromClipboard() {
  NotifyPasteProgress(0, -1);
  ExtendSelectionToMerges();
  TGridRect s = Selection();
  if (s.Left > s.Right) std::swap(s.Left, s.Right);
  if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
  const int left = Options().Contains(goRowSelect) ? TCustomGrid::FixedCols() : s.Left;
  const int n = PasteFromClipboardAt(left, s.Top);
  if (FNavigation->AllowSmartClipboard()) SmartFill(s, n);
}

void TPlusStringGrid::SmartFill(const TGridRect& Sel, int N) {
  const int rows = Sel.Bottom - Sel.Top + 1, cols = Sel.Right - Sel.Left + 1;
  const int total = rows * cols;
  if (N == total + 1) return;
  const bool always = FNavigation->AllowClipboardAlways();
  auto editable = [&](int c, int r) { return always || CanEditCell(RealColIndex(c), r); };
  // Puts V into a cell unless the event refuses it.
  auto put = [&](int c, int r, std::string v) {
    bool allow = true;
    if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(this, c, r, v, allow);
    if (allow) SetPastedCell(c, r, v);
  };
  BeforePaste();
  if (N == 1 && total > 1) {
    std::string v = GetCellText(Sel.Left, Sel.Top);
    bool state = false;
    if (HasCheckBox(RealColIndex(Sel.Left), Sel.Top) && GetCellCheckState(RealColIndex(Sel.Left), Sel.Top, state))
      v = state ? GetCheckTrue(Sel.Left, Sel.Top) : GetCheckFalse(Sel.Left, Sel.Top);
    for (int c = Sel.Left; c <= Sel.Right; ++c)
      for (int r = Sel.Top; r <= Sel.Bottom; ++r) {
        if (c == Sel.Left && r == Sel.Top) continue;
        if (!editable(c, r)) continue;
        put(c, r, v);
        AfterPaste(FCopyOrigin, TGridRect{c, r, c, r}, FLastActionCopy);
      }
  }
  if (N < 2 || (rows > 1 && cols > 1)) {
    AfterStreamPaste();
    AllCellsChanged();
    return;
  }
  const bool column = cols == 1;
  const std::string v1 = GetCellText(Sel.Left, Sel.Top);
  const std::string v2 = column ? GetCellText(Sel.Left, Sel.Top + 1) : GetCellText(Sel.Left + 1, Sel.Top);
  auto isDate = [](const std::string& s) {
    return IsDateText(s) || s.find(FormatSettings.TimeSeparator) != std::string::npos;
  };
  // Every cell of the selection in order, column by column, top to bottom.
  auto each = [&](const std::function<bool(int c, int r, int k)>& fn) {
    int k = 0;
    for (int c = Sel.Left; c <= Sel.Right; ++c)
      for (int r = Sel.Top; r <= Sel.Bottom; ++r, ++k)
        if (editable(c, r) && !fn(c, r, k)) return;
  };
  try {
    if (!isDate(v1) || !isDate(v2)) {
      const bool decimal = v1.find('.') != std::string::npos || v2.find('.') != std::string::npos;
      if (!decimal) {
        long long i1 = 0, i2 = 0;
        if (!ParseInt(v1, i1) || !ParseInt(v2, i2)) {
          // Not numbers: the pasted block repeats.
          if (column) {
            for (int r = Sel.Top + N - 1; r <= Sel.Bottom; ++r)
              if (r - (N - 1) >= Sel.Top && editable(Sel.Left, r)) put(Sel.Left, r, GetCellText(Sel.Left, r - (N - 1)));
          } else {
            for (int c = Sel.Left + N; c <= Sel.Right; ++c)
              if (editable(c, Sel.Top)) put(c, Sel.Top, GetCellText(c - N, Sel.Top));
          }
        } else {
          each([&](int c, int r, int k) {
            const __int128 v = static_cast<__int128>(i1) + static_cast<__int128>(k) * (static_cast<__int128>(i2) - i1);
            // A series that leaves the integers ends there.
            if (v > INT64_MAX || v < INT64_MIN) return false;
            const std::string text = std::to_string(static_cast<long long>(v));
            if (c == Sel.Left && r == Sel.Top) SetPastedCell(c, r, text);
            else put(c, r, text);
            return true;
          });
        }
      } else {
        double f1 = 0, f2 = 0;
        if (ParseFloat(v1, f1) && ParseFloat(v2, f2)) {
          TFormatSettings fs = FormatSettings;
          fs.DecimalSeparator = '.';
          each([&](int c, int r, int k) {
            const double x = f1 + k * (f2 - f1);
            if (!std::isfinite(x)) return false;
            const std::string v = Format(FFloatFormat, {x}, fs);
            if (c == Sel.Left && r == Sel.Top) SetPastedCell(c, r, v);
            else put(c, r, v);
            return true;
          });
        }
      }
    } else {
      TDateTime d1 = 0, d2 = 0;
      if (TryStrToDateTime(v1, d1) && TryStrToDateTime(v2, d2)) {
        int y1, m1, day1, y2, m2, day2;
        DecodeDate(d1, y1, m1, day1);
        DecodeDate(d2, y2, m2, day2);
        const bool timeOnly = v1.find(FormatSettings.DateSeparator) == std::string::npos;
        TDateTime d = d1;
        each([&](int c, int r, int k) {
          if (k > 0) d = StepDate(y2 - y1, m2 - m1, day2 - day1, d2 - d1, d);
          const std::string v = timeOnly ? TimeToStr(d) : DateToStr(d);
          if (c == Sel.Left && r == Sel.Top) SetPastedCell(c, r, v);
          else put(c, r, v);
          return true;
        });
      }
    }
  } catch (const EConvertError&) {
    // A series that runs into a day the month lacks ends there.
  }
  AfterStreamPaste();
  AllCellsChanged();
}
