// The editor forms of the statistics and picture series (error bars,
// high-low, box plot, calendar, line-point, bar-join, image bar): found by
// the class name the series answers, embedded with the series in Tag as the
// series page embeds them; a change in a control reaches the series, the
// forms keep their enabling rules and add their tabs once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/bar3d.h"
#include "chart/extra/errorbar.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafboxplot.h"
#include "chart/extra/grafcalendar.h"
#include "chart/extra/imagebar.h"
#include "chart/extra/imapoint.h"
#include "chart/extra/mypoint.h"
#include "platform/dialogs.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

template <class T>
T* Find(TComponent* Owner, const char* Name) {
  T* c = Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

class StatsEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    RegisterChartEditorUnits();
    RegisterExtraSeriesTypes();
    FSaved = FormatSettings;
    FormatSettings = TFormatSettings{};
    Host = std::make_unique<TForm>(nullptr);
    Host->SetBounds(20, 20, 800, 500);
    Chart = new TChart(Host.get());
    Chart->SetName("Chart1");
    Chart->SetParent(Host.get());
    Chart->SetBounds(0, 0, 280, 200);
    Sheet = new TPanel(Host.get());
    Sheet->SetParent(Host.get());
    Sheet->SetBounds(300, 0, 480, 320);
    Host->Show();
  }
  void TearDown() override {
    Host.reset();
    FormatSettings = FSaved;
  }

public:
  template <class T>
  T* Add(const char* Name = "S1") {
    auto* s = new T(Host.get());
    s->SetName(Name);
    s->SetParentChart(Chart);
    return s;
  }
  // The series' editor form, as the series page finds and embeds it.
  TCustomForm* Open(TChartSeries* Series) {
    TClass cls = GetClass(Series->EditorFormClassName());
    EXPECT_NE(cls, nullptr) << Series->EditorFormClassName();
    if (!cls) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, Host.get()));
    if (!form) return nullptr;
    form->SetAlign(alClient);
    EmbedEditorForm(form, Sheet, Series);
    return form;
  }
  static void TypeAndLeave(TEdit* Edit, const std::string& Text) {
    Edit->SetText(Text);
    if (Edit->OnExit) Edit->OnExit(Edit);
  }

  std::unique_ptr<TForm> Host;
  TChart* Chart = nullptr;
  TPanel* Sheet = nullptr;

private:
  TFormatSettings FSaved;
};

// A pen button's dialog closed with OK after setting the width.
void PenWidthThroughDialog(TCustomForm* Form, const char* Button, int Width) {
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    Find<TEdit>(f, "SEWidth")->SetText(std::to_string(Width));
    return mrOk;
  });
  Find<TButtonPen>(Form, Button)->Click();
  EXPECT_EQ(modal.Count(), 1) << Button;
}

// The brush dialog a button opens, closed with OK after choosing a style.
TChartBrush* BrushThroughDialog(TCustomForm* Form, const char* Button) {
  TChartBrush* seen = nullptr;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    if (auto* d = dynamic_cast<TBrushDialog*>(f)) seen = d->TheBrush;
    return mrOk;
  });
  Find<TButton>(Form, Button)->Click();
  EXPECT_EQ(modal.Count(), 1) << Button;
  return seen;
}

struct TControlCase {
  const char* Name;
  std::function<TChartSeries*(StatsEditorTest&)> Make;
  std::function<void(TCustomForm*)> Edit;
  std::function<bool(TChartSeries*)> Reached;
};

template <class T>
T* As(TChartSeries* s) {
  return dynamic_cast<T*>(s);
}

class StatsEditorCases : public StatsEditorTest, public ::testing::WithParamInterface<TControlCase> {};

const TControlCase kControlCases[] = {
    // Error and error bar series.
    {"error width", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TErrorSeries>(); },
     [](TCustomForm* f) { Find<TEdit>(f, "SEBarwidth")->SetText("40"); },
     [](TChartSeries* s) { return As<TErrorSeries>(s)->ErrorWidth() == 40; }},
    {"error width units", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TErrorBarSeries>(); },
     [](TCustomForm* f) { Find<TRadioGroup>(f, "RGWidthUnit")->SetItemIndex(1); },
     [](TChartSeries* s) { return As<TErrorBarSeries>(s)->ErrorWidthUnits() == ewuPixels; }},
    {"error style", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TErrorSeries>(); },
     [](TCustomForm* f) { Find<TRadioGroup>(f, "RGStyle")->SetItemIndex(3); },
     [](TChartSeries* s) { return As<TErrorSeries>(s)->ErrorStyle() == essTop; }},
    {"error colour each", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TErrorSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBColorEach")->SetChecked(true); },
     [](TChartSeries* s) { return s->ColorEachPoint(); }},
    {"error pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TErrorBarSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BPen", 3); },
     [](TChartSeries* s) { return As<TErrorBarSeries>(s)->ErrorPen()->Width() == 3; }},
    // High-low.
    {"high-low lines", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BPen", 2); },
     [](TChartSeries* s) { return s->Pen()->Width() == 2; }},
    {"high pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BHighPen", 4); },
     [](TChartSeries* s) { return As<THighLowSeries>(s)->HighPen()->Width() == 4 && s->Pen()->Width() != 4; }},
    {"low pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BLowPen", 5); },
     [](TChartSeries* s) { return As<THighLowSeries>(s)->LowPen()->Width() == 5; }},
    {"high brush", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) {
       TChartBrush* b = BrushThroughDialog(f, "BBrush");
       if (b) b->SetStyle(bsSolid);
     },
     [](TChartSeries* s) {
       return As<THighLowSeries>(s)->HighBrush()->Style() == bsSolid &&
              As<THighLowSeries>(s)->LowBrush()->Style() == bsClear;
     }},
    {"low brush", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) {
       TChartBrush* b = BrushThroughDialog(f, "BLowBrush");
       if (b) b->SetStyle(bsCross);
     },
     [](TChartSeries* s) { return As<THighLowSeries>(s)->LowBrush()->Style() == bsCross; }},
    {"high-low colour each", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBColorEach")->SetChecked(true); },
     [](TChartSeries* s) { return s->ColorEachPoint(); }},
    {"high-low colour", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) {
       guitest::TCommonDialogResponder colours;
       colours.Do([](TCommonDialog* d) {
         static_cast<TColorDialog*>(d)->Color = clOlive;
         return true;
       });
       Find<TButtonColor>(f, "BColor")->Click();
     },
     [](TChartSeries* s) { return s->SeriesColor() == clOlive; }},
    {"high-low transparency", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THighLowSeries>(); },
     [](TCustomForm* f) { Find<TEdit>(f, "Edit1")->SetText("35"); },
     [](TChartSeries* s) { return As<THighLowSeries>(s)->Transparency() == 35; }},
    // Box plots.
    {"box position", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TBoxSeries>(); },
     [](TCustomForm* f) { Find<TEdit>(f, "EPos")->SetText("2.5"); },
     [](TChartSeries* s) { return As<TBoxSeries>(s)->Position() == 2.5; }},
    {"box whisker length", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<THorizBoxSeries>(); },
     [](TCustomForm* f) { Find<TEdit>(f, "ELength")->SetText("3"); },
     [](TChartSeries* s) { return As<THorizBoxSeries>(s)->WhiskerLength() == 3; }},
    {"box median pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TBoxSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BMedian", 3); },
     [](TChartSeries* s) { return As<TBoxSeries>(s)->MedianPen()->Width() == 3; }},
    {"box whisker pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TBoxSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BWhisker", 4); },
     [](TChartSeries* s) { return As<TBoxSeries>(s)->WhiskerPen()->Width() == 4; }},
    // Calendar.
    {"calendar lines", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "ButtonPen1", 2); },
     [](TChartSeries* s) { return s->Pen()->Width() == 2; }},
    {"calendar weekdays", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBWeekDays")->SetChecked(false); },
     [](TChartSeries* s) { return !As<TCalendarSeries>(s)->WeekDays()->Visible(); }},
    {"calendar weekdays upper case", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBWeekUpper")->SetChecked(true); },
     [](TChartSeries* s) {
       return As<TCalendarSeries>(s)->WeekDays()->UpperCase() && !As<TCalendarSeries>(s)->Months()->UpperCase();
     }},
    {"calendar trailing", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBTrailing")->SetChecked(false); },
     [](TChartSeries* s) { return !As<TCalendarSeries>(s)->Trailing()->Visible(); }},
    {"calendar today", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBToday")->SetChecked(false); },
     [](TChartSeries* s) { return !As<TCalendarSeries>(s)->Today()->Visible(); }},
    {"calendar months", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBMonths")->SetChecked(false); },
     [](TChartSeries* s) { return !As<TCalendarSeries>(s)->Months()->Visible(); }},
    {"calendar months upper case", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBMonthUpper")->SetChecked(true); },
     [](TChartSeries* s) { return As<TCalendarSeries>(s)->Months()->UpperCase(); }},
    {"calendar previous button", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBPrevious")->SetChecked(false); },
     [](TChartSeries* s) {
       return !As<TCalendarSeries>(s)->PreviousButtonVisible() && As<TCalendarSeries>(s)->NextButtonVisible();
     }},
    {"calendar next button", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TCalendarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBNext")->SetChecked(false); },
     [](TChartSeries* s) { return !As<TCalendarSeries>(s)->NextButtonVisible(); }},
    // Line-point and bar-join: their own pen and what they inherit.
    {"line-point lines", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TMyPointSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BLines", 3); },
     [](TChartSeries* s) { return As<TMyPointSeries>(s)->LinesPen()->Width() == 3; }},
    {"line-point pointer style", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TMyPointSeries>(); },
     [](TCustomForm* f) { Find<TComboBox>(f, "CBStyle")->UserSelected(psStar); },
     [](TChartSeries* s) { return As<TMyPointSeries>(s)->Pointer()->Style() == psStar; }},
    {"bar-join join pen", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TBarJoinSeries>(); },
     [](TCustomForm* f) { PenWidthThroughDialog(f, "BJoin", 4); },
     [](TChartSeries* s) { return As<TBarJoinSeries>(s)->JoinPen()->Width() == 4; }},
    {"bar-join bar style", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TBarJoinSeries>(); },
     [](TCustomForm* f) { Find<TComboBox>(f, "CBBarStyle")->UserSelected(bsPyramid); },
     [](TChartSeries* s) { return As<TBarJoinSeries>(s)->BarStyle() == bsPyramid; }},
    // Image bar (its default picture is loaded, so tiling is on offer).
    {"image bar tiled", [](StatsEditorTest& t) -> TChartSeries* { return t.Add<TImageBarSeries>(); },
     [](TCustomForm* f) { Find<TCheckBox>(f, "CBTiled")->SetChecked(true); },
     [](TChartSeries* s) { return As<TImageBarSeries>(s)->ImageTiled(); }},
};

TEST_P(StatsEditorCases, ControlReachesTheSeries) {
  const TControlCase& c = GetParam();
  TChartSeries* series = c.Make(*this);
  TCustomForm* form = Open(series);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(c.Reached(series)) << "already so before the edit";
  c.Edit(form);
  EXPECT_TRUE(c.Reached(series));
}

INSTANTIATE_TEST_SUITE_P(Editors, StatsEditorCases, ::testing::ValuesIn(kControlCases),
                         [](const ::testing::TestParamInfo<TControlCase>& info) {
                           std::string name = info.param.Name;
                           std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
                           return name;
                         });

TEST_F(StatsEditorTest, FormsShowTheSeriesWithoutWritingIt) {
  auto* error = Add<TErrorSeries>();
  error->SetErrorWidth(0);
  error->SetErrorWidthUnits(ewuPixels);
  error->SetErrorStyle(essRight);
  auto* box = Add<TBoxSeries>("S2");
  box->SetPosition(1.25);
  box->SetWhiskerLength(0.5);
  auto* highLow = Add<THighLowSeries>("S3");
  highLow->SetTransparency(45);
  auto* calendar = Add<TCalendarSeries>("S4");
  calendar->WeekDays()->SetUpperCase(true);
  calendar->Trailing()->SetVisible(false);
  calendar->SetPreviousButtonVisible(false);

  TCustomForm* f = Open(error);
  EXPECT_EQ(Find<TEdit>(f, "SEBarwidth")->Text(), "0");
  EXPECT_EQ(Find<TRadioGroup>(f, "RGWidthUnit")->ItemIndex(), ewuPixels);
  EXPECT_EQ(Find<TRadioGroup>(f, "RGStyle")->ItemIndex(), essRight);
  f = Open(box);
  EXPECT_EQ(Find<TEdit>(f, "EPos")->Text(), "1.25");
  EXPECT_EQ(Find<TEdit>(f, "ELength")->Text(), "0.5");
  f = Open(highLow);
  EXPECT_EQ(Find<TEdit>(f, "Edit1")->Text(), "45");
  f = Open(calendar);
  EXPECT_TRUE(Find<TCheckBox>(f, "CBWeekDays")->Checked());
  EXPECT_TRUE(Find<TCheckBox>(f, "CBWeekUpper")->Checked());
  EXPECT_FALSE(Find<TCheckBox>(f, "CBTrailing")->Checked());
  EXPECT_FALSE(Find<TCheckBox>(f, "CBPrevious")->Checked());
  EXPECT_TRUE(Find<TCheckBox>(f, "CBNext")->Checked());

  // Loading the controls wrote nothing back.
  EXPECT_EQ(error->ErrorWidth(), 0);
  EXPECT_EQ(error->ErrorWidthUnits(), ewuPixels);
  EXPECT_EQ(error->ErrorStyle(), essRight);
  EXPECT_EQ(box->Position(), 1.25);
  EXPECT_EQ(box->WhiskerLength(), 0.5);
  EXPECT_EQ(highLow->Transparency(), 45);
  EXPECT_TRUE(calendar->Trailing()->Visible() == false && calendar->NextButtonVisible());
}

}  // namespace

namespace {

TEST_F(StatsEditorTest, ErrorPenColoursTheErrorSeriesAndStyleIsOfferedOnlyThere) {
  auto* error = Add<TErrorSeries>();
  auto* bars = Add<TErrorBarSeries>("S2");
  bars->SetSeriesColor(clBlue);
  struct Case {
    TCustomErrorSeries* Series;
    bool StyleShown;
    TColor SeriesColour;
  };
  for (const Case& c : {Case{error, true, clRed}, Case{bars, false, clBlue}}) {
    SCOPED_TRACE(c.Series->ClassName());
    TCustomForm* f = Open(c.Series);
    EXPECT_EQ(Find<TRadioGroup>(f, "RGStyle")->Visible(), c.StyleShown);
    guitest::TCommonDialogResponder colours;
    colours.Do([](TCommonDialog* d) {
      static_cast<TColorDialog*>(d)->Color = clRed;
      return true;
    });
    guitest::TModalResponder modal;
    modal.Do([](TCustomForm* pen) {
      Find<TButtonColor>(pen, "BColor")->Click();
      return mrOk;
    });
    Find<TButtonPen>(f, "BPen")->Click();
    EXPECT_EQ(c.Series->ErrorPen()->Color(), clRed);
    EXPECT_EQ(c.Series->SeriesColor(), c.SeriesColour);
  }
}

// Position and whisker length take only what reads as a number: a
// half-typed or cleared box keeps the value, and leaving a box that still
// reads as no number says so once.
TEST_F(StatsEditorTest, BoxPlotEditsKeepTheValueWhileTheTextIsNoNumber) {
  auto* box = Add<TBoxSeries>();
  box->SetPosition(2);
  TCustomForm* f = Open(box);
  struct Case {
    const char* Edit;
    std::function<double()> Value;
    double Kept;
  };
  const Case cases[] = {{"EPos", [&] { return box->Position(); }, 2},
                        {"ELength", [&] { return box->WhiskerLength(); }, 1.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Edit);
    auto* edit = Find<TEdit>(f, c.Edit);
    TDialogResponder dialogs;
    for (const char* partial : {"-", "", "1e", "1,5"}) {
      EXPECT_NO_THROW(edit->SetText(partial)) << partial;
      EXPECT_EQ(c.Value(), c.Kept) << partial;
    }
    EXPECT_EQ(dialogs.Count(), 0u);
    TypeAndLeave(edit, "1.2.3");
    EXPECT_EQ(c.Value(), c.Kept);
    EXPECT_EQ(dialogs.Count(), 1u);
    EXPECT_TRUE(dialogs.Saw("'1.2.3'"));
    TypeAndLeave(edit, "");
    EXPECT_EQ(dialogs.Count(), 1u);
    TypeAndLeave(edit, "-2.5");
    EXPECT_EQ(c.Value(), -2.5);
    EXPECT_EQ(dialogs.Count(), 1u);
  }
}

TEST_F(StatsEditorTest, CalendarSheetsEditTheirOwnCells) {
  auto* calendar = Add<TCalendarSeries>();
  TCustomForm* f = Open(calendar);
  auto* pages = Find<TPageControl>(f, "PageControl1");
  std::vector<std::string> sheets;
  for (int i = 0; i < pages->PageCount(); ++i) sheets.push_back(pages->Pages(i)->Caption());
  EXPECT_EQ(sheets, (std::vector<std::string>{"Options", "Days", "Weekdays", "Today", "Sunday", "Trailing", "Months"}));
  EXPECT_EQ(pages->ActivePage()->Caption(), "Options");

  TGrafCustomShape* const cells[6] = {calendar->Days(),   calendar->WeekDays(), calendar->Today(),
                                      calendar->Sunday(), calendar->Trailing(), calendar->Months()};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(sheets[static_cast<size_t>(i + 1)]);
    const std::string name = "PageControl" + std::to_string(i + 2);
    auto* own = Find<TPageControl>(f, name.c_str());
    ASSERT_NE(own, nullptr);
    ASSERT_EQ(own->PageCount(), 4);
    EXPECT_EQ(own->Pages(0)->Caption(), "Format");
    // The round-frame box of this sheet changes this cell and no other.
    TCheckBox* round = nullptr;
    for (int c = 0; c < own->Pages(0)->ControlCount() && !round; ++c)
      if (auto* box = dynamic_cast<TCheckBox*>(own->Pages(0)->Controls(c)); box && box->Name() == "CBRound")
        round = box;
    ASSERT_NE(round, nullptr);
    round->SetChecked(true);
    for (int j = 0; j < 6; ++j)
      EXPECT_EQ(cells[j]->ShapeStyle() == fosRoundRectangle, j <= i) << "cell " << j;
  }
  // Showing again binds the same editors anew instead of adding pages.
  f->Hide();
  f->Show();
  EXPECT_EQ(Find<TPageControl>(f, "PageControl2")->PageCount(), 4);
}

TEST_F(StatsEditorTest, ImageBarBrowsesClearsAndOffersTilingOnlyWithAPicture) {
  auto* bars = Add<TImageBarSeries>();
  TTempDir dir;
  const std::string good = dir.File("tile.bmp");
  TBitmap(5, 4).SaveToFile(good);
  const std::string bad = dir.Write("broken.bmp", "BM not a picture");

  TCustomForm* f = Open(bars);
  auto* browse = Find<TButton>(f, "BBrowse");
  auto* tiled = Find<TCheckBox>(f, "CBTiled");
  auto state = [&](const char* caption, bool tiling, int width) {
    EXPECT_EQ(browse->Caption(), caption);
    EXPECT_EQ(tiled->Enabled(), tiling);
    EXPECT_EQ(bars->Image()->Width(), width);
    EXPECT_EQ(Find<TImage>(f, "Image1")->Picture()->Width(), width);
  };
  state("Clea&r", true, 100);  // the default picture
  browse->Click();
  state("B&rowse...", false, 0);

  guitest::TCommonDialogResponder files;
  // Cancelled: nothing changes.
  files.Do([](TCommonDialog*) { return false; });
  browse->Click();
  state("B&rowse...", false, 0);
  // A file that is no picture is refused and leaves the series as it was.
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = bad;
    return true;
  });
  EXPECT_THROW(browse->Click(), Exception);
  state("B&rowse...", false, 0);
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = good;
    return true;
  });
  browse->Click();
  state("Clea&r", true, 5);
  EXPECT_EQ(files.Count(), 3);
}

}  // namespace

namespace {

// The editors as the series page hosts them: each series' editor in
// "Format" and the tabs it adds beside the page's own, made once.
class HostedStatsEditorTest : public StatsEditorTest {
protected:
  TFormGrafSeries* Page = nullptr;
  void OpenPage(TChartSeries* Series) {
    Page = new TFormGrafSeries(Host.get());
    auto* list = new TChartListBox(Page);
    list->SetParent(Host.get());
    list->SetBounds(0, 210, 200, 150);
    list->OtherItems = Page->CBSeries->Items();
    Page->SeriesListBox = list;
    list->SetChart(Chart);
    EmbedFormInSheet(Page, Sheet);
    Page->CurrentSeries = Series;
    Page->SelectCurrentSeries();
  }
  std::vector<std::string> Tabs() const {
    std::vector<std::string> captions;
    for (int i = 0; i < Page->PageSeries->PageCount(); ++i)
      if (Page->PageSeries->Pages(i)->TabVisible()) captions.push_back(Page->PageSeries->Pages(i)->Caption());
    return captions;
  }
  template <class T>
  T* TabForm(const std::string& Caption) const {
    for (int i = 0; i < Page->PageSeries->PageCount(); ++i) {
      TTabSheet* tab = Page->PageSeries->Pages(i);
      if (tab->Caption() != Caption) continue;
      for (int c = 0; c < tab->ControlCount(); ++c)
        if (auto* f = dynamic_cast<T*>(tab->Controls(c))) return f;
    }
    return nullptr;
  }
};

TEST_F(HostedStatsEditorTest, EachSeriesOpensItsEditorWithItsTabs) {
  struct Case {
    TClass Series;
    const char* Editor;
    std::vector<std::string> Extra;
    std::vector<std::string> Absent;
  };
  const Case cases[] = {
      {&TErrorSeries::StaticClass(), "TErrorSeriesEditor", {}, {"Bar"}},
      {&TErrorBarSeries::StaticClass(), "TErrorSeriesEditor", {"Bar"}, {}},
      {&THighLowSeries::StaticClass(), "THighLowEditor", {}, {}},
      {&TBoxSeries::StaticClass(), "TBoxSeriesEditor", {"Box", "ExtrOut", "MildOut"}, {}},
      {&THorizBoxSeries::StaticClass(), "TBoxSeriesEditor", {"Box", "ExtrOut", "MildOut"}, {}},
      {&TCalendarSeries::StaticClass(), "TCalendarSeriesEditor", {}, {}},
      {&TMyPointSeries::StaticClass(), "TLinePointEditor", {}, {}},
      {&TBarJoinSeries::StaticClass(), "TBarJoinEditor", {"Stack"}, {}},
      {&TImageBarSeries::StaticClass(), "TImageBarSeriesEditor", {"Bar"}, {}},
      {&TBar3DSeries::StaticClass(), "TBarSeriesEditor", {"Stack"}, {}},
      {&TImagePointSeries::StaticClass(), "TSeriesPointerEditor", {}, {}},
      {&TDeltaPointSeries::StaticClass(), "TSeriesPointerEditor", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Series->Name());
    auto* s = dynamic_cast<TChartSeries*>(CreateComponentOfClass(c.Series, Host.get()));
    s->SetParentChart(Chart);
    OpenPage(s);
    ASSERT_NE(Page->SeriesEditorForm(), nullptr);
    EXPECT_EQ(Page->SeriesEditorForm()->ClassName(), c.Editor);
    EXPECT_TRUE(Page->TheTabSheet->TabVisible());
    // Showing the editor again adds no second copy of a tab.
    Page->SeriesEditorForm()->Hide();
    Page->SeriesEditorForm()->Show();
    const std::vector<std::string> tabs = Tabs();
    for (const std::string& extra : c.Extra)
      EXPECT_EQ(std::count(tabs.begin(), tabs.end(), extra), 1) << extra;
    for (const std::string& absent : c.Absent)
      EXPECT_EQ(std::count(tabs.begin(), tabs.end(), absent), 0) << absent;
    delete Page;
    delete s;
  }
}

TEST_F(HostedStatsEditorTest, BoxTabsEditTheirPointersAndTheImageBarTabHasNoBarStyle) {
  auto* box = Add<TBoxSeries>();
  OpenPage(box);
  const std::vector<std::string> tabs = Tabs();
  ASSERT_GE(tabs.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(tabs.begin(), tabs.begin() + 4),
            (std::vector<std::string>{"Format", "Box", "ExtrOut", "MildOut"}));
  struct Case {
    const char* Tab;
    TSeriesPointer* Pointer;
  };
  for (const Case& c : {Case{"Box", box->Pointer()}, Case{"ExtrOut", box->ExtrOut()}, Case{"MildOut", box->MildOut()}}) {
    SCOPED_TRACE(c.Tab);
    auto* form = TabForm<TSeriesPointerEditor>(c.Tab);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Pointer(), c.Pointer);
  }
  Find<TComboBox>(TabForm<TSeriesPointerEditor>("ExtrOut"), "CBStyle")->UserSelected(psDiamond);
  EXPECT_EQ(box->ExtrOut()->Style(), psDiamond);
  EXPECT_EQ(box->MildOut()->Style(), psCircle);
  delete Page;

  auto* bars = Add<TImageBarSeries>("S2");
  OpenPage(bars);
  auto* bar = TabForm<TCustomForm>("Bar");
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(Find<TControl>(bar, "LStyle")->Visible());
  EXPECT_FALSE(Find<TControl>(bar, "CBBarStyle")->Visible());
  Find<TEdit>(bar, "SEBarwidth")->SetText("40");
  EXPECT_EQ(bars->BarWidthPercent(), 40);
}

}  // namespace
