// Overridable hooks: selection changes, rows added and deleted by the
// keyboard, the texts of cells as written out and read in, the date picker's
// change and the texts of cell balloons.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/codepages.h"
#include "platform/ui/rtftext.h"

namespace {

constexpr size_t kBalloonTextMax = 1024, kBalloonTextCut = 1021;
constexpr size_t kBalloonTitleMax = 100, kBalloonTitleCut = 97;

// Cuts by characters, never inside a UTF-8 sequence.
std::string CutText(const std::string& Text, size_t Max, size_t Cut) {
  std::vector<uint32_t> cps = Utf8CodePoints(Text);
  if (cps.size() <= Max) return Text;
  std::string out;
  for (size_t i = 0; i < Cut; ++i) AppendUtf8(out, cps[i]);
  return out + "...";
}

std::string BalloonBody(std::string Text) {
  size_t start = Text.find_first_not_of("\t\r\n");
  Text = start == std::string::npos ? std::string() : Text.substr(start);
  std::replace(Text.begin(), Text.end(), '\t', ' ');
  return CutText(Text, kBalloonTextMax, kBalloonTextCut);
}

}  // namespace

void TPlusStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
  if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TPlusStringGrid::AutoInsertRow(int ARow) {
  if (!HasNodes()) InsertRows(ARow, 1, true);
  else if (GetParentNode(ARow) < 0) InsertRowAt(RealRowIndex(ARow));
  else InsertChildRow(RealRowIndex(ARow), 0);
  if (OnAutoInsertRow) OnAutoInsertRow(this, ARow);
}

void TPlusStringGrid::AutoDeleteRow(int ARow) {
  if (!HasNodes()) {
    const int normal = RowCount() - TCustomGrid::FixedRows() - FFixedFooters;
    if (normal == 1 && !FFixedRowAlways) ClearRows(ARow, 1);
    else RemoveRows(ARow, 1);
  } else if (GetParentNode(ARow) < 0) {
    DeleteRowAt(RealRowIndex(ARow));
  } else {
    DeleteChildRow(RealRowIndex(ARow));
  }
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

std::string TPlusStringGrid::SaveCellText(int ACol, int ARow) {
  std::string s = FSaveShownText ? GetFormattedCellText(ACol, ARow) : GetCellRaw(ACol, ARow);
  if (s.empty() && GetCellType(ACol, ARow) == ctCheckBox) {
    bool state = false;
    GetCellCheckState(ACol, ARow, state);
    s = state ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
  }
  if (!FSaveKeepHTML && GetCellTextKind(s, true) == ckHTML) s = HTMLToPlainText(s);
  if (OnSaveCell) OnSaveCell(this, ACol, ARow, s);
  return s;
}

void TPlusStringGrid::LoadCellText(int ACol, int ARow, std::string Value) {
  if (OnLoadCell) OnLoadCell(this, ACol, ARow, Value);
  SetCellRaw(ACol, ARow, std::move(Value));
}

void TPlusStringGrid::DateTimeChanged(TDateTime Value) {
  if (OnDateTimeChange) OnDateTimeChange(this, Col(), Row(), Value);
}

void TPlusStringGrid::GetBalloonText(int ACol, int ARow, std::string& ATitle, std::string& AText, int& AIcon) {
  std::string text;
  if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()) {
    text = GetCellText(ACol, ARow);
    switch (GetCellTextKind(text, FEnableHTML)) {
      case ckHTML: text = HTMLToPlainText(text); break;
      case ckRTF: text = RTFToPlainText(text); break;
      case ckUnicode: text = Utf16ToUtf8(DecodeWideCellText(text)); break;
      default: break;
    }
  }
  AText = BalloonBody(text);
  AIcon = 1;
  ATitle = " ";
  if (OnCellBalloon) {
    OnCellBalloon(this, ACol, ARow, ATitle, AText, AIcon);
    // The handler's text is held to the same length.
    AText = CutText(AText, kBalloonTextMax, kBalloonTextCut);
  }
  ATitle = CutText(ATitle, kBalloonTitleMax, kBalloonTitleCut);
  FBalloonCell = TPoint{ACol, ARow};
}
