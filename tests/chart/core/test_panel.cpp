// The chart panel: chart rectangle, change operations, listeners, frame.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/core/grafutils.h"
#include "chart/core/test_panel_support.h"
#include "platform/rtl/streams.h"
#include "platform/ui/forms.h"
#include "platform/ui/messages.h"
#include "platform/ui/streaming.h"

namespace {

TEST(ChartPanel, DefaultsAfterConstruction) {
  TTestPanel panel;
  EXPECT_EQ(panel.Width(), 400);
  EXPECT_EQ(panel.Height(), 250);
  EXPECT_FALSE(panel.Border()->Visible());
  EXPECT_EQ(panel.Border()->EndStyle(), esFlat);
  EXPECT_EQ(panel.MarginLeft(), 3);
  EXPECT_EQ(panel.MarginTop(), 4);
  EXPECT_EQ(panel.MarginRight(), 3);
  EXPECT_EQ(panel.MarginBottom(), 4);
  EXPECT_EQ(panel.MarginUnits(), muPercent);
  EXPECT_TRUE(panel.View3D());
  EXPECT_TRUE(panel.PrintProportional());
  EXPECT_EQ(panel.PrintMargins, (TRect{15, 15, 15, 15}));
  EXPECT_EQ(panel.BevelOuter(), bvRaised);
  EXPECT_EQ(panel.BevelWidth(), 1);
  EXPECT_EQ(panel.Color(), clBtnFace);
  EXPECT_FALSE(panel.ControlStyle().Contains(csSetCaption));
  TCustomGrafPanel plain(nullptr);
  EXPECT_TRUE(plain.BufferedDisplay());
  EXPECT_EQ(plain.PanelCanvas()->ClassName(), "TGrafCanvas3D");
}

TEST(ChartPanel, ChartRectangleFromMarginsAndFrame) {
  struct Case {
    const char* name;
    std::function<void(TTestPanel&)> setup;
    TRect area;
  };
  const Case cases[] = {
      {"defaults: 12,10 px margins and a 1 px raised bevel", [](TTestPanel&) {}, {13, 11, 387, 239}},
      {"no bevel", [](TTestPanel& p) { p.SetBevelOuter(bvNone); }, {12, 10, 388, 240}},
      {"both bevels 2 px and a border width of 3",
       [](TTestPanel& p) { p.SetBevelInner(bvLowered); p.SetBevelWidth(2); p.SetBorderWidth(3); }, {19, 17, 381, 233}},
      {"visible border pen of width 2", [](TTestPanel& p) { p.Border()->SetVisible(true); p.Border()->SetWidth(2); },
       {15, 13, 385, 237}},
      {"pixel margins", [](TTestPanel& p) { p.SetMarginUnits(muPixels); p.SetMarginLeft(20); p.SetMarginBottom(0); },
       {21, 5, 396, 249}},
      {"collapsed: one pixel wide",
       [](TTestPanel& p) { p.SetMarginLeft(60); p.SetMarginRight(60); }, {241, 11, 242, 239}},
      {"left equals right: as wide as the control",
       [](TTestPanel& p) { p.SetMarginUnits(muPixels); p.SetMarginLeft(200); p.SetMarginRight(200); p.SetBevelOuter(bvNone); },
       {200, 4, 600, 246}},
  };
  for (const Case& c : cases) {
    TTestPanel panel;
    c.setup(panel);
    panel.Pass();
    EXPECT_EQ(panel.ChartArea, c.area) << c.name;
    EXPECT_EQ(panel.ChartAreaWidth, c.area.Width()) << c.name;
    EXPECT_EQ(panel.ChartAreaHeight, c.area.Height()) << c.name;
    EXPECT_EQ(panel.ChartAreaCenterX, (c.area.Left + c.area.Right) / 2) << c.name;
    EXPECT_EQ(panel.ContentsBounds, Rect(0, 0, 400, 250)) << c.name;
  }
  // A fixed chart rectangle is kept, only its size and centre follow.
  TTestPanel panel;
  panel.ChartArea = Rect(5, 6, 105, 56);
  panel.ChartAreaFixed = true;
  panel.Pass();
  EXPECT_EQ(panel.ChartArea, Rect(5, 6, 105, 56));
  EXPECT_EQ(panel.ChartAreaWidth, 100);
  EXPECT_EQ(panel.ChartAreaCenterY, 31);
}

TEST(ChartPanel, ChangeOperationsRepaintOnlyOnARealChange) {
  TTestPanel panel;
  std::string text = "a";
  double value = 1.5;
  double nan = std::numeric_limits<double>::quiet_NaN();
  TColor color = clRed;
  bool flag = true;
  int number = 4;
  struct Case {
    const char* name;
    std::function<void()> change;
    int repaints;
  };
  const Case cases[] = {
      {"same string", [&] { panel.ChangeString(text, "a"); }, 0},
      {"new string", [&] { panel.ChangeString(text, "A"); }, 1},
      {"same double", [&] { panel.ChangeDouble(value, 1.5); }, 0},
      {"new double", [&] { panel.ChangeDouble(value, 2.5); }, 1},
      {"NaN is not stored", [&] { panel.ChangeDouble(value, nan); }, 0},
      {"NaN stays", [&] { panel.ChangeDouble(nan, 3.0); }, 0},
      {"same colour", [&] { panel.ChangeColor(color, clRed); }, 0},
      {"new colour", [&] { panel.ChangeColor(color, clBlue); }, 1},
      {"same Boolean", [&] { panel.ChangeBoolean(flag, true); }, 0},
      {"new Boolean", [&] { panel.ChangeBoolean(flag, false); }, 1},
      {"same integer", [&] { panel.ChangeInteger(number, 4); }, 0},
      {"new integer", [&] { panel.ChangeInteger(number, 5); }, 1},
      {"same margin", [&] { panel.SetMarginTop(4); }, 0},
      {"new margin", [&] { panel.SetMarginTop(8); }, 1},
      {"same margin units", [&] { panel.SetMarginUnits(muPercent); }, 0},
      {"new margin units", [&] { panel.SetMarginUnits(muPixels); }, 1},
      {"same View3D", [&] { panel.SetView3D(true); }, 0},
      {"new View3D", [&] { panel.SetView3D(false); }, 1},
      {"shadow size", [&] { panel.Shadow()->SetHorizSize(4); }, 1},
      {"same shadow size", [&] { panel.Shadow()->SetHorizSize(4); }, 0},
      {"border pen", [&] { panel.Border()->SetVisible(true); }, 1},
  };
  for (const Case& c : cases) {
    panel.Rec->Clear();
    c.change();
    EXPECT_EQ(panel.Rec->Count("MarkDirty"), c.repaints) << c.name;
  }
  EXPECT_EQ(text, "A");
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(color, clBlue);
  EXPECT_FALSE(flag);
  EXPECT_EQ(number, 5);
  EXPECT_EQ(panel.MarginTop(), 8);

  // Bulk changes without repaints.
  panel.RepaintOnChange = false;
  panel.Rec->Clear();
  panel.SetMarginLeft(9);
  panel.ChangeColor(color, clGreen);
  EXPECT_EQ(panel.Rec->Count("MarkDirty"), 0);
  EXPECT_EQ(panel.MarginLeft(), 9);
  EXPECT_EQ(color, clGreen);
}

TEST(ChartPanel, View3DChangeSendsOneEventToEachListener) {
  TTestPanel panel;
  TTestListener a, b;
  panel.Listeners()->AddListener(&a);
  panel.Listeners()->AddListener(&b);
  panel.SetView3D(true);
  EXPECT_EQ(a.Count + b.Count, 0);
  panel.SetView3D(false);
  EXPECT_EQ(a.View3DEvents, 1);
  EXPECT_EQ(b.View3DEvents, 1);
  EXPECT_EQ(a.Last, b.Last);
  panel.SetView3D(true);
  EXPECT_EQ(a.View3DEvents, 2);
}

TEST(ChartPanel, ListenersAreListedOnceAndMayLeaveWhileHearing) {
  TTestPanel panel;
  TTestListener a, b, c;
  TGrafEventListeners* list = panel.Listeners();
  EXPECT_EQ(list->AddListener(&a), 0);
  EXPECT_EQ(list->AddListener(&b), 1);
  EXPECT_EQ(list->AddListener(&a), 0);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->RemoveListener(&c), -1);
  list->AddListener(&c);
  // b removes itself and c while it handles an event: c hears nothing.
  b.OnEvent = [&](TGrafEvent*) {
    panel.RemoveListener(&b);
    panel.RemoveListener(&c);
  };
  TGrafEvent event;
  EXPECT_EQ(panel.NotifyListeners(&event), &event);
  EXPECT_EQ(event.Sender, &panel);
  EXPECT_EQ(a.Count, 1);
  EXPECT_EQ(b.Count, 1);
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(list->Count(), 1);
}

TEST(ChartPanel, MouseEventsReachListenersUntilCancelled) {
  TTestPanel panel;
  TTestListener first, second;
  panel.Listeners()->AddListener(&first);
  panel.Listeners()->AddListener(&second);
  first.OnEvent = [&](TGrafEvent* e) {
    if (static_cast<TGrafMouseEvent*>(e)->Kind == pmeDown) panel.MouseCancelled = true;
  };
  panel.MouseDown(mbRight, {ssShift}, 7, 8);
  EXPECT_EQ(first.MouseEvents, 1);
  EXPECT_EQ(second.MouseEvents, 0);
  // The next press starts uncancelled; moves report the left button.
  first.OnEvent = nullptr;
  panel.MouseDown(mbLeft, {}, 1, 2);
  EXPECT_EQ(second.MouseEvents, 1);
  TGrafMouseEventKind kind = pmeDown;
  TMouseButton button = mbRight;
  second.OnEvent = [&](TGrafEvent* e) {
    kind = static_cast<TGrafMouseEvent*>(e)->Kind;
    button = static_cast<TGrafMouseEvent*>(e)->Button;
  };
  panel.MouseMove({ssRight}, 3, 4);
  EXPECT_EQ(kind, pmeMove);
  EXPECT_EQ(button, mbLeft);
  panel.MouseUp(mbRight, {}, 3, 4);
  EXPECT_EQ(kind, pmeUp);
  EXPECT_EQ(button, mbRight);
  // In design mode moves are not broadcast.
  const int before = second.MouseEvents;
  panel.SetDesigning(true);
  panel.MouseMove({}, 5, 5);
  EXPECT_EQ(second.MouseEvents, before);
}

TEST(ChartPanel, CancelledDoubleClickEndsSilently) {
  TTestPanel panel;
  int clicks = 0;
  panel.OnDblClick = [&](TObject*) { ++clicks; };
  EXPECT_NO_THROW(panel.DblClick());
  panel.OnDblClick = [&](TObject*) { panel.MouseCancelled = true; };
  EXPECT_THROW(panel.DblClick(), EAbort);
  EXPECT_EQ(clicks, 1);
}

TEST(ChartPanel, HatchInEqualColoursStaysVisible) {
  TTestPanel panel;
  TChartBrush brush;
  brush.SetStyle(bsDiagCross);
  struct Case { TColor fore, back, drawn; };
  const Case cases[] = {
      {clWhite, clWhite, clBlack}, {clBlack, clBlack, clWhite}, {clRed, clRed, clBlack}, {clRed, clWhite, clRed},
  };
  for (const Case& c : cases) {
    panel.ApplyBrushColors(c.fore, &brush, c.back);
    EXPECT_EQ(panel.PanelCanvas()->CanvasBrush()->Color(), c.drawn);
  }
  brush.SetStyle(bsSolid);
  panel.ApplyBrushColors(clWhite, &brush, clWhite);
  EXPECT_EQ(panel.PanelCanvas()->CanvasBrush()->Color(), clWhite);
}

TEST(ChartPanel, FrameIsBorderThenBevels) {
  struct Case {
    const char* name;
    std::function<void(TTestPanel&)> setup;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"raised outer bevel", [](TTestPanel&) {},
       {"SuspendRotation()", "DrawFrame3D(0,0,400,250,-16777196,-16777200,1)", "ResumeRotation()"}},
      {"one-pixel border, then the bevel inside it",
       [](TTestPanel& p) { p.Border()->SetVisible(true); },
       {"SuspendRotation()", "ApplyPenWithColor(0,0)", "Rectangle(0,0,400,250)",
        "DrawFrame3D(1,1,399,249,-16777196,-16777200,1)", "ResumeRotation()"}},
      {"three-pixel border is inset by half its width",
       [](TTestPanel& p) { p.Border()->SetVisible(true); p.Border()->SetWidth(3); p.SetBevelOuter(bvNone); },
       {"SuspendRotation()", "ApplyPenWithColor(0,0)", "Rectangle(1,1,399,249)", "ResumeRotation()"}},
      {"rounded border and lowered bevels with a border width",
       [](TTestPanel& p) {
         p.Border()->SetVisible(true);
         p.SetBorderRound(10);
         p.SetBevelOuter(bvLowered);
         p.SetBorderWidth(2);
         p.SetBevelInner(bvSpace);
       },
       {"SuspendRotation()", "ApplyPenWithColor(0,0)", "RoundRect(0,0,399,249,10,10)",
        "RoundRect(0,0,399,249,10,10)", "DrawFrame3D(1,1,398,248,-16777201,-16777201,2)",
        "DrawFrame3D(3,3,396,246,-16777196,-16777196,1)", "ResumeRotation()"}},
  };
  for (const Case& c : cases) {
    TTestPanel panel;
    c.setup(panel);
    panel.Rec->Clear();
    panel.PaintBorderAndBevels(Rect(0, 0, 400, 250));
    EXPECT_EQ(IntLog(*panel.Rec), c.log) << c.name << "\n" << panel.Rec->Dump(0);
  }
  // Nothing of the bevels on paper.
  TTestPanel panel;
  panel.IsPrinting = true;
  panel.Rec->Clear();
  panel.PaintBorderAndBevels(Rect(0, 0, 400, 250));
  EXPECT_EQ(panel.Rec->Count("DrawFrame3D"), 0);
}

TEST(ChartPanel, ReplacingTheCanvasKeepsItsSettings) {
  TTestPanel panel;
  panel.SetMonochrome(true);
  panel.ReplaceCanvas(nullptr);  // ignored
  EXPECT_TRUE(panel.Monochrome());
  panel.ReplaceCanvas(std::make_unique<TGrafCanvas3D>());
  EXPECT_EQ(panel.PanelCanvas()->ClassName(), "TGrafCanvas3D");
  EXPECT_TRUE(panel.Monochrome());
  EXPECT_TRUE(panel.RepaintOnChange);
}

TEST(ChartPanel, PaintsItsWindowOnceAndThenFromTheBuffer) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 500, 400);
  auto* panel = new TTestPanel(&form, false);
  panel->SetParent(&form);
  panel->Contents = [panel](const TRect& b) { panel->PaintBackground(b); };
  form.Show();
  panel->Repaint();
  EXPECT_EQ(panel->Passes, 1);
  TCanvas* window = panel->ControlCanvas();
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(window->Pixels(200, 125))), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(window->Pixels(0, 100))), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(static_cast<TColor>(ColorToRGB(window->Pixels(399, 100))), static_cast<TColor>(ColorToRGB(clBtnShadow)));
  // The window paints again from the buffer without a new pass ...
  panel->Perform(WM_PAINT, 0, 0);
  EXPECT_EQ(panel->Passes, 1);
  // ... until a change marks the buffer stale.
  panel->SetMarginLeft(10);
  panel->Repaint();
  EXPECT_EQ(panel->Passes, 2);
  // Nothing is painted while the panel prints.
  panel->IsPrinting = true;
  panel->Invalidate();
  panel->Perform(WM_PAINT, 0, 0);
  EXPECT_EQ(panel->Passes, 2);
  panel->IsPrinting = false;
}

TEST(ChartPanel, WindowMessages) {
  TTestPanel panel;
  EXPECT_EQ(panel.Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  EXPECT_EQ(panel.Perform(WM_ERASEBKGND, 0, 0), 1);
  panel.SavedCursor = crCross;
  panel.SetCursor(crHandPoint);
  panel.PanningState.StartAt(3, 4);
  panel.Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(panel.Cursor(), crCross);
  EXPECT_FALSE(panel.PanningState.Active);
}

TEST(ChartPanel, AssignCopiesTheSettings) {
  TTestPanel a, b;
  a.Border()->SetVisible(true);
  a.SetBorderRound(4);
  a.SetMarginLeft(7);
  a.SetMarginUnits(muPixels);
  a.PrintMargins = Rect(1, 2, 3, 4);
  a.SetPrintResolution(-20);
  a.SetPrintProportional(false);
  a.Shadow()->SetUniformSize(5);
  a.View3DOptions()->SetZoom(150);
  a.SetColor(clAqua);
  TTestListener listener;
  b.Listeners()->AddListener(&listener);
  a.SetView3D(false);
  b.Assign(&a);
  EXPECT_TRUE(b.Border()->Visible());
  EXPECT_EQ(b.BorderRound(), 4);
  EXPECT_EQ(b.MarginLeft(), 7);
  EXPECT_EQ(b.MarginUnits(), muPixels);
  EXPECT_EQ(b.PrintMargins, Rect(1, 2, 3, 4));
  EXPECT_EQ(b.PrintResolution(), -20);
  EXPECT_FALSE(b.PrintProportional());
  EXPECT_EQ(b.Shadow()->VertSize(), 5);
  EXPECT_EQ(b.View3DOptions()->Zoom(), 150);
  EXPECT_EQ(b.Color(), clAqua);
  EXPECT_FALSE(b.View3D());
  EXPECT_EQ(listener.View3DEvents, 0);  // stored directly
}

TEST(ChartPanel, PrintMarginsAreStreamedOnlyWhenNotStandard) {
  auto write = [](TTestPanel& p) {
    TMemoryStream binary;
    WriteComponentToStream(binary, &p);
    binary.Seek(0, soBeginning);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    return text.DataString();
  };
  TTestPanel panel;
  panel.SetName("Panel1");
  EXPECT_EQ(write(panel).find("PrintMargins"), std::string::npos);
  panel.PrintMargins = Rect(10, 20, 10, 20);
  const std::string text = write(panel);
  EXPECT_NE(text.find("PrintMargins"), std::string::npos) << text;
  // Read back into another panel.
  TMemoryStream binary;
  WriteComponentToStream(binary, &panel);
  binary.Seek(0, soBeginning);
  TTestPanel other;
  ReadComponentFromStream(binary, &other);
  EXPECT_EQ(other.PrintMargins, Rect(10, 20, 10, 20));
}

// A descendant that publishes the panel's properties, as the chart control does.
class TPublishedPanel : public TCustomGrafPanelExtended {
  ZV_CLASS(TPublishedPanel)
public:
  explicit TPublishedPanel(TComponent* owner) : TCustomGrafPanelExtended(owner) {}
};
ZV_CLASS_IMPL(TPublishedPanel, TCustomGrafPanelExtended)
void TPublishedPanel::DeclareProperties(TClassInfo& c) {
  TCustomGrafPanel::PublishPanelProperties(c);
  TCustomGrafPanelExtended::PublishExtendedProperties(c);
}

TEST(ChartPanel, PublishedPropertiesStreamOnlyWhenChanged) {
  auto text = [](TComponent* c) {
    TMemoryStream binary;
    WriteComponentToStream(binary, c);
    binary.Seek(0, soBeginning);
    TStringStream out;
    ObjectBinaryToText(binary, out);
    return out.DataString();
  };
  TPublishedPanel panel(nullptr);
  panel.SetName("Chart1");
  const std::string plain = text(&panel);
  for (const char* name : {"MarginLeft", "MarginUnits", "View3D", "BufferedDisplay", "Monochrome", "AllowPanning",
                           "PrintProportional", "BackImageMode", "BorderRound", "Zoom.Pen", "Zoom.Brush"})
    EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;
  panel.SetMarginLeft(7);
  panel.SetMarginUnits(muPixels);
  panel.SetView3D(false);
  panel.SetAllowPanning(pmVertical);
  panel.Zoom()->SetMinimumPixels(30);
  panel.View3DOptions()->SetZoom(140);
  // The zoom pen and brush keep their own defaults (white; white and clear).
  panel.Zoom()->Pen()->SetVisible(false);
  panel.Zoom()->Brush()->SetStyle(bsSolid);
  const std::string changed = text(&panel);
  EXPECT_EQ(changed.find("Zoom.Pen.Color"), std::string::npos) << changed;
  EXPECT_EQ(changed.find("Zoom.Brush.Color"), std::string::npos) << changed;
  for (const char* line : {"MarginLeft = 7", "MarginUnits = muPixels", "View3D = False", "AllowPanning = pmVertical",
                           "Zoom.MinimumPixels = 30", "View3DOptions.Zoom = 140", "Zoom.Pen.Visible = False",
                           "Zoom.Brush.Style = bsSolid"})
    EXPECT_NE(changed.find(line), std::string::npos) << line << "\n" << changed;
  TMemoryStream binary;
  WriteComponentToStream(binary, &panel);
  binary.Seek(0, soBeginning);
  TPublishedPanel other(nullptr);
  ReadComponentFromStream(binary, &other);
  EXPECT_EQ(other.MarginLeft(), 7);
  EXPECT_EQ(other.MarginUnits(), muPixels);
  EXPECT_FALSE(other.View3D());
  EXPECT_EQ(other.AllowPanning(), pmVertical);
  EXPECT_EQ(other.Zoom()->MinimumPixels(), 30);
  EXPECT_EQ(other.View3DOptions()->Zoom(), 140);
  EXPECT_FALSE(other.Zoom()->Pen()->Visible());
  EXPECT_EQ(other.Zoom()->Brush()->Style(), bsSolid);
  EXPECT_EQ(other.Zoom()->Pen()->Color(), clWhite);
}

// Streams from before the border became a pen and the zoom settings moved
// into Zoom still load.
TEST(ChartPanel, LegacyBorderAndZoomPropertiesStillLoad) {
  struct Case { const char* lines; bool border, allow, animated; int steps; };
  const Case cases[] = {
      {"  BorderStyle = bsSingle\n  AllowZoom = False\n  AnimatedZoom = True\n  AnimatedZoomSteps = 3\n", true,
       false, true, 3},
      {"  BorderStyle = bsNone\n", false, true, false, 8},
  };
  for (const Case& c : cases) {
    TStringStream text(std::string("object Chart1: TPublishedPanel\n") + c.lines + "end\n");
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.Seek(0, soBeginning);
    TPublishedPanel panel(nullptr);
    panel.Border()->SetVisible(!c.border);
    ReadComponentFromStream(binary, &panel);
    EXPECT_EQ(panel.Border()->Visible(), c.border) << c.lines;
    EXPECT_EQ(panel.Zoom()->Allow(), c.allow) << c.lines;
    EXPECT_EQ(panel.Zoom()->Animated(), c.animated) << c.lines;
    EXPECT_EQ(panel.Zoom()->AnimatedSteps(), c.steps) << c.lines;
  }
}

}  // namespace
