// Walls and titles: the four walls around the plot area in 2D and 3D, which
// of them wait until the series are drawn, the room they take, and titles
// that lay themselves out and take their height off the chart rectangle.
#include <cmath>

#include "chart/core/chart.h"
#include "platform/ui/streaming.h"

// ---- Walls -----------------------------------------------------------------------------------

namespace {
template <class W>
void DeclareWallProperties(TClassInfo& c, TColor colorDefault, bool transparentDefault, bool visibleDefault) {
  c.template Boolean<W>("AutoHide", &W::AutoHide, &W::SetAutoHide, false);
  c.template Object<W, TChartBrush>("Brush", &W::Brush, &W::SetBrush);
  c.template Integer<W>("Color", &W::Color, &W::SetColor).WithIdents(&ColorIdents()).WithStored([](TObject* o) {
    auto* w = static_cast<W*>(o);
    return w->Color() != w->DefaultColor();
  });
  (void)colorDefault;
  c.template Boolean<W>("Dark3D", &W::Dark3D, &W::SetDark3D, true);
  c.template Object<W, TGrafGradient>("Gradient", &W::Gradient, [](W* w, TGrafGradient* g) { w->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<W*>(o)->HasGradient(); });
  c.template Object<W, TChartPen>("Pen", &W::Pen, &W::SetPen);
  c.template Integer<W>("Size", &W::Size, &W::SetSize, 0);
  c.template Integer<W>("Transparency", &W::Transparency, &W::SetTransparency, 0);
  c.template Boolean<W>("Transparent", &W::Transparent, &W::SetTransparent, transparentDefault);
  c.template Boolean<W>("Visible", &W::Visible, &W::SetVisible, visibleDefault);
}
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TCustomChartWall, TGrafCustomShape)

TCustomChartWall::TCustomChartWall(TCustomChart* Chart) : TGrafCustomShape(Chart) {}

TCustomChart* TCustomChartWall::Chart() const { return dynamic_cast<TCustomChart*>(ParentPanel()); }

void TCustomChartWall::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCustomChartWall*>(Source)) {
    FAutoHide = other->FAutoHide;
    FDark3D = other->FDark3D;
    FSize = other->FSize;
  }
  TGrafCustomShape::Assign(Source);
}

void TCustomChartWall::SetAutoHide(bool Value) {
  if (FAutoHide == Value) return;
  FAutoHide = Value;
  Repaint();
}

void TCustomChartWall::SetDark3D(bool Value) {
  if (FDark3D == Value) return;
  FDark3D = Value;
  Repaint();
}

void TCustomChartWall::SetSize(int Value) {
  if (FSize == Value) return;
  FSize = Value;
  Repaint();
}

void TCustomChartWall::SetInitialColor(TColor Value) {
  SetColor(Value);
  FDefaultColor = Value;
}

bool TCustomChartWall::UsesDark3D() const {
  return FDark3D && Brush()->Style() != bsClear && !(Brush()->HasImage() && Brush()->Image()->Graphic());
}

bool TCustomChartWall::ShouldPaint() const {
  TCustomChart* chart = Chart();
  return chart && chart->View3DWalls() && Visible() && !FAutoHide;
}

bool TCustomChartWall::GradientShown() const {
  return HasGradient() && const_cast<TCustomChartWall*>(this)->Gradient()->Visible();
}

void TCustomChartWall::ApplyToCanvas() {
  TCustomChart* chart = Chart();
  TCanvas3D* canvas = chart->PanelCanvas();
  canvas->ApplyPen(Pen());
  if (Transparent()) canvas->CanvasBrush()->SetStyle(bsClear);
  else chart->ApplyBrushColors(Color(), Brush(), Brush()->Color());
}

std::unique_ptr<TGrafBlend> TCustomChartWall::PrepareWallFill(int X, int Bottom) {
  if (Transparent()) return nullptr;
  TCustomChart* chart = Chart();
  TCanvas3D* canvas = chart->PanelCanvas();
  const int top = chart->ChartArea.Top, depth = chart->DepthWidth();
  std::array<TPoint, 4> q{canvas->ProjectXYZ(X, top, 0), canvas->ProjectXYZ(X, top, depth),
                          canvas->ProjectXYZ(X, Bottom, depth), canvas->ProjectXYZ(X, Bottom, 0)};
  std::unique_ptr<TGrafBlend> blend;
  if (Transparency() > 0) blend = canvas->BeginBlending(ExclusiveBoundsOfPoints(q.data(), 4), Transparency());
  if (GradientShown()) {
    Gradient()->DrawInQuad(canvas, q);
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  return blend;
}

ZV_CLASS_IMPL(TChartWall, TCustomChartWall)

void TChartWall::DeclareProperties(TClassInfo& c) { DeclareWallProperties<TChartWall>(c, clDefault, false, true); }

ZV_CLASS_IMPL(TChartBackWall, TChartWall)

void TChartBackWall::DeclareProperties(TClassInfo& c) {
  c.Boolean<TChartBackWall>("Transparent", &TChartBackWall::Transparent, &TChartBackWall::SetTransparent, true);
}

TChartBackWall::TChartBackWall(TCustomChart* Chart) : TChartWall(Chart) {
  SetInitialColor(clSilver);
  SetTransparentByDefault(true);
  SetTransparent(true);
}

ZV_CLASS_IMPL(TChartRightWall, TChartWall)

void TChartRightWall::DeclareProperties(TClassInfo& c) {
  c.Boolean<TChartRightWall>("Visible", &TChartRightWall::Visible, &TChartRightWall::SetVisible, false);
}

TChartRightWall::TChartRightWall(TCustomChart* Chart) : TChartWall(Chart) {
  SetInitialColor(clSilver);
  FVisible = false;
}

ZV_CLASS_IMPL(TChartWalls, TPersistent)

void TChartWalls::DeclareProperties(TClassInfo& c) {
  using W = TChartWalls;
  c.Object<W, TChartBackWall>("Back", &W::Back, &W::SetBack);
  c.Object<W, TChartWall>("Bottom", &W::Bottom, &W::SetBottom);
  c.Object<W, TChartWall>("Left", &W::Left, &W::SetLeft);
  c.Object<W, TChartRightWall>("Right", &W::Right, &W::SetRight);
  c.Boolean<W>("Visible", &W::Visible, &W::SetVisible, true);
}

TChartWalls::TChartWalls(TCustomChart* Chart) : FChart(Chart) {
  FBack = std::make_unique<TChartBackWall>(Chart);
  FBottom = std::make_unique<TChartWall>(Chart);
  FBottom->SetInitialColor(clWhite);
  FLeft = std::make_unique<TChartWall>(Chart);
  FLeft->SetInitialColor(0x0080FFFF);
  FRight = std::make_unique<TChartRightWall>(Chart);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TChartWalls*>(Source)) {
    FBack->Assign(other->FBack.get());
    FBottom->Assign(other->FBottom.get());
    FLeft->Assign(other->FLeft.get());
    FRight->Assign(other->FRight.get());
    return;
  }
  TPersistent::Assign(Source);
}

bool TChartWalls::Visible() const { return FChart ? FChart->View3DWalls() : true; }

void TChartWalls::SetVisible(bool Value) {
  if (FChart) FChart->SetView3DWalls(Value);
}

void TChartWalls::SetSize(int Value) {
  FBack->SetSize(Value);
  FBottom->SetSize(Value);
  FLeft->SetSize(Value);
  FRight->SetSize(Value);
}

// ---- The chart's walls -------------------------------------------------------------------------

namespace {
bool ActiveSeriesWithAxes(const TCustomAxisPanel* Chart) {
  for (TChartSeries* s : *Chart->SeriesList())
    if (s->Active() && s->HasAxes()) return true;
  return false;
}
}  // namespace

int TCustomChart::WallThickness(TChartAxis* Axis) {
  if (!View3D() || !View3DWalls() || !FWalls) return 0;
  TCustomChartWall* wall = FWalls->Back();
  if (Axis == LeftAxis()) wall = FWalls->Left();
  else if (Axis == BottomAxis()) wall = FWalls->Bottom();
  else if (Axis == RightAxis()) wall = FWalls->Right();
  return wall->Visible() ? wall->Size() : 0;
}

void TCustomChart::ComputeWallsRect() {
  Compute3DDepth();
  if (View3D() && View3DOptions()->Orthogonal() && !ChartAreaFixed) {
    const int s = ActiveSeriesWithAxes(this) ? FWalls->Back()->Size() : 0;
    const int dw = std::abs(DepthWidth()), dh = std::abs(DepthHeight());
    if (View3DOptions()->OrthoAngle() <= 90) {
      ChartArea.Right -= dw + s;
      if (FWalls->Right()->Visible()) ChartArea.Right -= FWalls->Right()->Size() + 1;
    } else {
      ChartArea.Left += dw + s;
      if (FWalls->Left()->Visible()) ChartArea.Left += FWalls->Left()->Size() + 1;
    }
    ChartArea.Top += dh + s;
    NormalizeChartRect();
  }
}

bool TCustomChart::RightWallAfterSeries() {
  TCanvas3D* canvas = PanelCanvas();
  if (canvas->RendersWithoutGdi()) return false;
  const int x = ChartArea.Right, b = ChartArea.Bottom + WallThickness(BottomAxis());
  const TPoint p[3] = {canvas->ProjectXYZ(x, ChartArea.Top, 0), canvas->ProjectXYZ(x, b, 0),
                       canvas->ProjectXYZ(x, b, FWalls->Back()->Size() + DepthWidth())};
  return !PolygonFacesAway(p, 3);
}

bool TCustomChart::LeftWallAfterSeries() {
  TCanvas3D* canvas = PanelCanvas();
  if (canvas->RendersWithoutGdi()) return true;
  const int x = ChartArea.Left, b = ChartArea.Bottom + WallThickness(BottomAxis());
  const TPoint p[3] = {canvas->ProjectXYZ(x, ChartArea.Top, 0), canvas->ProjectXYZ(x, b, 0),
                       canvas->ProjectXYZ(x, b, FWalls->Back()->Size() + DepthWidth())};
  return PolygonFacesAway(p, 3);
}

void TCustomChart::PaintRightWall() {
  TChartRightWall* wall = FWalls->Right();
  if (!wall->Visible() || !ActiveSeriesWithAxes(this) || !View3D() || !View3DWalls()) return;
  TCanvas3D* canvas = PanelCanvas();
  const int b = ChartArea.Bottom + WallThickness(BottomAxis());
  wall->ApplyToCanvas();
  std::unique_ptr<TGrafBlend> blend = wall->PrepareWallFill(ChartArea.Right, b);
  if (wall->Size() < 1) {
    canvas->RectangleZ(ChartArea.Right, ChartArea.Top, b, 0, DepthWidth() + 1);
  } else {
    const int back = FWalls->Back()->Visible() ? FWalls->Back()->Size() : 0;
    canvas->Cube(ChartArea.Right, ChartArea.Right + wall->Size(), ChartArea.Top, b, 0, DepthWidth() + back,
                 wall->UsesDark3D());
  }
  if (blend) canvas->EndBlending(std::move(blend));
}

void TCustomChart::PaintLeftWall() {
  TChartWall* wall = FWalls->Left();
  if (!View3D() || !View3DWalls()) return;
  TCanvas3D* canvas = PanelCanvas();
  const int b = ChartArea.Bottom + WallThickness(BottomAxis());
  wall->ApplyToCanvas();
  std::unique_ptr<TGrafBlend> blend = wall->PrepareWallFill(ChartArea.Left, b);
  if (wall->Size() < 1) canvas->RectangleZ(ChartArea.Left, ChartArea.Top, b, 0, DepthWidth());
  else canvas->Cube(ChartArea.Left - wall->Size(), ChartArea.Left, ChartArea.Top, b, 0, DepthWidth(), wall->UsesDark3D());
  if (blend) canvas->EndBlending(std::move(blend));
}

void TCustomChart::PaintBackWall() {
  TChartBackWall* wall = FWalls->Back();
  TCanvas3D* canvas = PanelCanvas();
  const bool gdi = !canvas->RendersWithoutGdi();
  wall->ApplyToCanvas();
  std::unique_ptr<TGrafBlend> blend;
  const int dw = DepthWidth();
  TRect r;
  if (!View3D()) {
    r = Rect(ChartArea.Left, ChartArea.Top, ChartArea.Right + 1, ChartArea.Bottom + 1);
    if (wall->Transparency() > 0) blend = canvas->BeginBlending(r, wall->Transparency());
    if (!wall->Transparent() && wall->GradientShown()) {
      wall->Gradient()->DrawInRect(canvas, r);
      canvas->CanvasBrush()->SetStyle(bsClear);
    }
    canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  } else {
    r = ChartArea;
    if (wall->Size() >= 1) {
      r.Left -= WallThickness(LeftAxis());
      r.Bottom += WallThickness(BottomAxis());
    }
    if (wall->Transparency() > 0) blend = canvas->BeginBlending(canvas->ProjectedRectBounds(r, dw), wall->Transparency());
    if (!wall->Transparent() && wall->GradientShown()) {
      if (View3DOptions()->Orthogonal()) {
        wall->Gradient()->DrawInRect(canvas, canvas->ProjectRectAtDepth(r, dw));
      } else if (!gdi) {
        canvas->SetGradientDepth(dw);
        wall->Gradient()->DrawInRect(canvas, r);
        canvas->SetGradientDepth(0);
      } else {
        wall->Gradient()->DrawInQuad(canvas, canvas->ProjectRectToQuad(r, dw));
      }
      if (gdi) canvas->CanvasBrush()->SetStyle(bsClear);
    }
    if (wall->Size() < 1) {
      canvas->RectangleWithZ(r, dw);
    } else {
      const int size = dw < 0 ? -wall->Size() : wall->Size();
      canvas->Cube(r.Left, r.Right, r.Top, r.Bottom, dw, dw + size, wall->UsesDark3D());
    }
  }
  if (BackImageInside()) {
    TRect inside = ChartArea;
    if (wall->Pen()->Visible()) {
      ++inside.Left;
      ++inside.Top;
    }
    DrawBackImage(inside, dw);
  }
  if (blend) canvas->EndBlending(std::move(blend));
}

void TCustomChart::PaintBottomWall() {
  TChartWall* wall = FWalls->Bottom();
  if (!View3D() || !View3DWalls()) return;
  TCanvas3D* canvas = PanelCanvas();
  const int dw = DepthWidth();
  const int y = ChartArea.Bottom + (canvas->RendersWithoutGdi() ? 1 : 0);
  int x0 = ChartArea.Left;
  const int x1 = ChartArea.Right;
  TChartWall* left = FWalls->Left();
  if (left->Visible() && left->AutoHide() && LeftWallAfterSeries()) x0 -= WallThickness(LeftAxis());
  wall->ApplyToCanvas();
  std::unique_ptr<TGrafBlend> blend;
  if (!wall->Transparent()) {
    std::array<TPoint, 4> q{canvas->ProjectXYZ(x0, y, 0), canvas->ProjectXYZ(x0, y, dw), canvas->ProjectXYZ(x1, y, dw),
                            canvas->ProjectXYZ(x1, y, 0)};
    if (wall->Transparency() > 0) blend = canvas->BeginBlending(ExclusiveBoundsOfPoints(q.data(), 4), wall->Transparency());
    if (wall->GradientShown()) {
      wall->Gradient()->DrawInQuad(canvas, q);
      canvas->CanvasBrush()->SetStyle(bsClear);
    }
  }
  if (wall->Size() < 1) canvas->RectangleY(x0, y, x1, 0, dw);
  else canvas->Cube(x0, x1, y, y + wall->Size(), 0, dw, wall->UsesDark3D());
  if (blend) canvas->EndBlending(std::move(blend));
}

void TCustomChart::PaintWalls() {
  if (!SeriesUseAxes()) return;
  const int dw = DepthWidth();
  const bool is3D = View3D();
  if (is3D && View3DWalls() && FWalls->Right()->Visible() && !FWalls->Right()->AutoHide() && !RightWallAfterSeries())
    PaintRightWall();
  if (View3DWalls() && FWalls->Back()->Visible() && !FWalls->Back()->AutoHide() && !BackPlaneHidden(dw))
    PaintBackWall();
  if (!is3D || !View3DWalls()) return;
  if (FWalls->Left()->Visible() && !FWalls->Left()->AutoHide() && !LeftWallAfterSeries()) PaintLeftWall();
  if (FWalls->Bottom()->Visible() && !FWalls->Bottom()->AutoHide()) PaintBottomWall();
  if (BackPlaneHidden(0)) {
    if (TopAxis()->ShownNow) TopAxis()->DrawAxis(true);
    if (BottomAxis()->ShownNow) BottomAxis()->DrawAxis(true);
  }
}

void TCustomChart::PaintWallsAfterSeries() {
  if (!View3D() || !SeriesUseAxes()) return;
  auto drawWithout = [](TChartAxis* axis, bool backGrid) {
    if (!axis->ShownNow) return;
    bool& flag = backGrid ? axis->SuppressBackGrid : axis->SuppressSideGrid;
    const bool old = flag;
    flag = true;
    try {
      axis->DrawAxis(true);
    } catch (...) {
      flag = old;
      throw;
    }
    flag = old;
  };
  if (RightWallAfterSeries()) {
    if (FWalls->Right()->ShouldPaint()) PaintRightWall();
    drawWithout(RightAxis(), true);
  }
  if (LeftWallAfterSeries()) {
    if (FWalls->Left()->ShouldPaint()) PaintLeftWall();
    drawWithout(LeftAxis(), true);
  }
  if (BackPlaneHidden(DepthWidth())) {
    drawWithout(TopAxis(), false);
    drawWithout(BottomAxis(), false);
    if (FWalls->Back()->ShouldPaint()) PaintBackWall();
  }
}

// ---- Titles --------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TGrafCustomShapePosition, TGrafCustomShape)

void TGrafCustomShapePosition::DeclareProperties(TClassInfo& c) {
  using S = TGrafCustomShapePosition;
  c.Boolean<S>("CustomPosition", &S::CustomPosition, &S::SetCustomPosition, std::nullopt)
      .WithStored([](TObject* o) {
        auto* s = static_cast<S*>(o);
        return s->CustomPosition() != s->DefaultCustom;
      });
  c.Integer<S>("Left", &S::Left, &S::SetLeft).WithStored([](TObject* o) { return static_cast<S*>(o)->CustomPosition(); });
  c.Integer<S>("Top", &S::Top, &S::SetTop).WithStored([](TObject* o) { return static_cast<S*>(o)->CustomPosition(); });
}

void TGrafCustomShapePosition::SetCustomPosition(bool Value) {
  if (FCustomPosition == Value) return;
  FCustomPosition = Value;
  Repaint();
}

void TGrafCustomShapePosition::SetLeft(int Value) {
  const int w = ShapeBox.Right - ShapeBox.Left;
  ShapeBox.Left = Value;
  ShapeBox.Right = Value + w;
  FCustomPosition = true;
  Repaint();
}

void TGrafCustomShapePosition::SetTop(int Value) {
  const int h = ShapeBox.Bottom - ShapeBox.Top;
  ShapeBox.Top = Value;
  ShapeBox.Bottom = Value + h;
  FCustomPosition = true;
  Repaint();
}

ZV_CLASS_IMPL(TChartTitle, TGrafCustomShapePosition)

void TChartTitle::DeclareProperties(TClassInfo& c) {
  using T = TChartTitle;
  c.Boolean<T>("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame, true);
  c.Enum<T>("Alignment", AlignmentEnumInfo(), &T::Alignment, &T::SetAlignment, taCenter);
  c.Enum<T>("Bevel", BevelCutEnumInfo(), &T::Bevel, &T::SetBevel, bvNone);
  c.Integer<T>("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 2);
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Integer<T>("Color", &T::Color, &T::SetColor, clWhite).WithIdents(&ColorIdents());
  c.Object<T, TGrafFont>("Font", &T::Font, &T::SetFont);
  c.Object<T, TChartPen>("Frame", &T::Pen, &T::SetPen);
  c.Object<T, TGrafGradient>("Gradient", &T::Gradient, [](T* t, TGrafGradient* g) { t->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<T*>(o)->HasGradient(); });
  c.Object<T, TGrafShadow>("Shadow", &T::Shadow, &T::SetShadow);
  c.Enum<T>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &T::ShapeStyle, &T::SetShapeStyle, fosRectangle);
  c.Object<T, TStringList>("Text", &T::Text, &T::SetText);
  c.Enum<T>("TextFormat", TextFormatEnumInfo(), &T::TextFormat, &T::SetTextFormat, ttfNormal);
  c.Integer<T>("Transparency", &T::Transparency, &T::SetTransparency, 0);
  c.Boolean<T>("Transparent", &T::Transparent, &T::SetTransparent, true);
  c.Boolean<T>("Visible", &T::Visible, &T::SetVisible, true);
}

TChartTitle::TChartTitle(TCustomGrafPanel* Panel) : TGrafCustomShapePosition(Panel) {
  SetTransparentByDefault(true);
  SetTransparent(true);
  Font()->SetColor(clBlue);
  Font()->DefaultColor = clBlue;
  FText = std::make_unique<TStringList>();
  FText->OnChange = [this](TObject*) {
    if (ParentPanel()) ParentPanel()->HandleChange(FText.get());
  };
}

TChartTitle::~TChartTitle() = default;

void TChartTitle::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TChartTitle*>(Source)) {
    FAdjustFrame = other->FAdjustFrame;
    FAlignment = other->FAlignment;
    FText->Assign(*other->FText);
    FCustomPosition = other->FCustomPosition;
    if (FCustomPosition) {
      ShapeBox.Left = other->ShapeBox.Left;
      ShapeBox.Top = other->ShapeBox.Top;
    }
  }
  TGrafCustomShapePosition::Assign(Source);
}

void TChartTitle::SetAdjustFrame(bool Value) {
  if (FAdjustFrame == Value) return;
  FAdjustFrame = Value;
  Repaint();
}

void TChartTitle::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Repaint();
}

void TChartTitle::SetText(TStringList* Value) {
  if (Value) FText->Assign(*Value);
  else FText->Clear();
  Repaint();
}

bool TChartTitle::ContainsPoint(int X, int Y) const {
  return Visible() && X >= ShapeBox.Left && X <= ShapeBox.Right && Y >= ShapeBox.Top && Y <= ShapeBox.Bottom;
}

void TChartTitle::PaintTitle() {
  if (!Visible() || FText->Count() == 0) return;
  auto* chart = dynamic_cast<TCustomGrafPanel*>(ParentPanel());
  if (!chart) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  int fw = (Pen()->Visible() && Pen()->Color() != clDefault) ? Pen()->Width() : 0;
  if (Bevel() != bvNone) fw = BevelWidth();
  if (!FCustomPosition) {
    ShapeBox = chart->ChartArea;
    if (FOnTop) ShapeBox.Top += fw;
  }
  canvas->ApplyFont(Font());
  canvas->SetTextAlignment(TA_LEFT | TA_TOP);
  const int h = canvas->TextHeight("W");
  const int lines = FText->Count();
  if (FOnTop || FCustomPosition) ShapeBox.Bottom = ShapeBox.Top + lines * h;
  else ShapeBox.Top = ShapeBox.Bottom - lines * h;
  if (!FCustomPosition) InflateRect(ShapeBox, fw, fw);
  const int m = canvas->TextWidth("W");
  if (FAdjustFrame) {
    int widest = 0;
    for (int i = 0; i < lines; ++i) widest = std::max(widest, canvas->TextWidth(FText->Strings(i)));
    const int a = m + fw + widest;
    if (FAlignment == taLeftJustify) {
      ShapeBox.Right = ShapeBox.Left + a;
    } else if (FAlignment == taRightJustify) {
      ShapeBox.Left = ShapeBox.Right - a;
    } else {
      if (FCustomPosition) ShapeBox.Right = ShapeBox.Left + a;
      const int c = (ShapeBox.Left + ShapeBox.Right) / 2;
      ShapeBox.Left = c - a / 2;
      ShapeBox.Right = c + a / 2;
    }
  }
  PaintRotated(ShapeBox, 0, 0);
  canvas->ApplyFont(Font());
  canvas->SetTextAlignment(TA_LEFT | TA_TOP);
  const int x0 = ShapeBox.Left + m / 2;
  canvas->SetBackgroundMode(TRANSPARENT);
  auto yPos = [&](int p) { return FOnTop ? ShapeBox.Top + p : ShapeBox.Bottom - h - p; };
  if (TextFormat() != ttfNormal) {
    std::string all;
    for (int i = 0; i < lines; ++i) all += (i ? "\r\n" : "") + FText->Strings(i);
    canvas->TextOutMaybeHtml(x0, yPos(fw), true, all);
  } else {
    for (int i = 0; i < lines; ++i) {
      const std::string line = FText->Strings(i);
      const int lw = canvas->TextWidth(line);
      int x = x0;
      if (FAlignment == taRightJustify) x = ShapeBox.Right - lw - m / 2;
      else if (FAlignment == taCenter) x = (ShapeBox.Left + ShapeBox.Right) / 2 - lw / 2;
      canvas->TextOut(x, yPos(i * h + fw), line);
    }
  }
  if (!FCustomPosition) {
    int v = 5 + fw;
    if (!Transparent() && Shadow()) v += Shadow()->VertSize();
    if (!chart->ChartAreaFixed) {
      if (FOnTop) chart->ChartArea.Top = ShapeBox.Bottom + v;
      else chart->ChartArea.Bottom = ShapeBox.Bottom - v - lines * h;
    }
    chart->NormalizeChartRect();
  }
}

ZV_CLASS_IMPL_NOPROPS(TChartFootTitle, TChartTitle)

TChartFootTitle::TChartFootTitle(TCustomGrafPanel* Panel) : TChartTitle(Panel) {
  FOnTop = false;
  Font()->SetColor(clRed);
  Font()->SetStyle({fsItalic});
  Font()->DefaultColor = clRed;
  Font()->DefaultStyle = {fsItalic};
}
