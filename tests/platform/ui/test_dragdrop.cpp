// Drag data between programs: the formats a drag offers and what a drop
// reads back, files as a URI list, and the effect chosen by the keys.
#include <gtest/gtest.h>

#include "platform/ui/dragdrop.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

TEST(DragDrop, PayloadSurvivesItsMimeParts) {
  TDragPayload d;
  d.Text = "a\tb\r\nc\td \xC3\xA9";
  d.RichText = "{\\rtf1 x}";
  d.GridColumn = 12;
  d.Files = {"/tmp/plain.csv", "/home/u/with space/100%.xlsx", "/data/\xC3\xA9t\xC3\xA9#1?.csv"};
  const TMimeParts parts = EncodeDragPayload(d);
  const TDragPayload back = DecodeDragPayload(parts);
  EXPECT_EQ(back.Text, d.Text);
  EXPECT_EQ(back.RichText, d.RichText);
  EXPECT_EQ(back.GridColumn, d.GridColumn);
  EXPECT_EQ(back.Files, d.Files);
  EXPECT_TRUE(DecodeDragPayload({}).Empty());
}

TEST(DragDrop, UriListKeepsLocalFilesOnly) {
  const std::string list =
      "# a comment\r\n"
      "file:///tmp/a%20b.csv\r\n"
      "http://example.org/x.csv\r\n"
      "file://otherhost/share/x.csv\r\n"
      "file://localhost/tmp/c.xls\n"
      "FILE:///tmp/upper.csv\r\n"
      "file:///tmp/bad%2\r\n"
      "file:///tmp/nul%00.csv\r\n"
      "file:relative.csv\r\n"
      "\r\n"
      "file:///tmp/last";  // no line end
  const TDragPayload d = DecodeDragPayload({{"text/uri-list", list}});
  const std::vector<std::string> want = {"/tmp/a b.csv", "/tmp/c.xls", "/tmp/upper.csv", "/tmp/last"};
  EXPECT_EQ(d.Files, want);
  EXPECT_EQ(FileNameToUri("relative/name"), "") << "only absolute names make file URLs";
  EXPECT_EQ(FileNameToUri("/a b/%"), "file:///a%20b/%25");
}

TEST(DragDrop, ColumnMustBeANumber) {
  struct Case {
    std::string bytes;
    std::optional<int> column;
  };
  const Case cases[] = {{"3", 3}, {"-1", -1}, {"12x", std::nullopt}, {"", std::nullopt},
                        {"99999999999", std::nullopt}};
  for (const Case& c : cases)
    EXPECT_EQ(DecodeDragPayload({{"application/x-zelvora-grid-column", c.bytes}}).GridColumn, c.column) << c.bytes;
}

TEST(DragDrop, EffectFromKeys) {
  EXPECT_EQ(DropEffectFromKeys({ssCtrl}, DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
  EXPECT_EQ(DropEffectFromKeys({}, DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_MOVE);
  EXPECT_EQ(DropEffectFromKeys({}, DROPEFFECT_COPY), DROPEFFECT_COPY);
}

struct TNullTarget : TDropTarget {
  int DragEnter(const TDragPayload&, TPoint, TShiftState, int) override { return DROPEFFECT_COPY; }
  int DragOver(TPoint, TShiftState, int) override { return DROPEFFECT_COPY; }
  void DragLeave() override {}
  int Drop(const TDragPayload&, TPoint, TShiftState, int) override { return DROPEFFECT_COPY; }
};

TEST(DragDrop, RegisterAndRevoke) {
  guitest::EnsureGui();
  TNullTarget target;
  auto* form = new TForm(nullptr);
  EXPECT_TRUE(RegisterDragDrop(form, &target));
  EXPECT_TRUE(IsDropTarget(form));
  RevokeDragDrop(form);
  EXPECT_FALSE(IsDropTarget(form));
  EXPECT_TRUE(RegisterDragDrop(form, &target));
  delete form;  // the registration goes with the window
  EXPECT_FALSE(IsDropTarget(form));
  EXPECT_EQ(DoDragDrop(nullptr, TDragPayload{}, DROPEFFECT_COPY), DROPEFFECT_NONE);
}

TEST(DragDrop, TheDragLoopCanBeReplaced) {
  guitest::EnsureGui();
  TForm form(nullptr);
  std::string carried;
  TDragLoopHandler previous = SetDragLoopHandler([&](TWinControl* Source, const TDragPayload& Data, int Effects) {
    EXPECT_EQ(Source, &form);
    carried = Data.Text.value_or("");
    return Effects & DROPEFFECT_MOVE;
  });
  TDragPayload data;
  data.Text = "a\tb";
  EXPECT_EQ(DoDragDrop(&form, data, DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_MOVE);
  EXPECT_EQ(carried, "a\tb");
  EXPECT_EQ(DoDragDrop(&form, TDragPayload{}, DROPEFFECT_COPY), DROPEFFECT_NONE) << "nothing to drag";
  SetDragLoopHandler(previous);
}

}  // namespace
