// The chart control: titles, walls and legend around the axis panel, the
// part under a point, mouse clicks, zooming by a dragged rectangle, panning,
// the wheel, and the axis scales kept from before a zoom.
#include <cmath>
#include <cstring>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "platform/ui/streaming.h"

TShiftState PanningKeyShift;
bool WheelScrollsAxes = true;
double AnimatedZoomFactor = 3.0;
std::function<void(TCustomChart*)> ChartDesignHook;

ZV_CLASS_IMPL_NOPROPS(TCustomChart, TCustomAxisPanel)

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {
  ChartUnitStartup();
  const bool oldRepaint = RepaintOnChange;
  RepaintOnChange = false;
  FTitle = std::make_unique<TChartTitle>(this);
  if (ComponentState().Contains(csDesigning)) FTitle->Text()->Add(ClassName());
  FScrollMouseButton = mbRight;
  FSubTitle = std::make_unique<TChartTitle>(this);
  FFoot = std::make_unique<TChartFootTitle>(this);
  FSubFoot = std::make_unique<TChartFootTitle>(this);
  FWalls = std::make_unique<TChartWalls>(this);
  FLegend = std::make_unique<TChartLegend>(this);
  FScalesRestored = true;
  RepaintOnChange = oldRepaint;
  if (ComponentState().Contains(csDesigning) && ChartDesignHook && !(Owner() && Owner()->ComponentState().Contains(csLoading)))
    ChartDesignHook(this);
}

TCustomChart::~TCustomChart() {
  Destroying();
  // Series and tools go first: they still ask the chart (colours, walls).
  DestroySeriesOfClass(nullptr);
  FSavedScales.clear();
  RepaintOnChange = false;
  FSubTitle.reset();
  FTitle.reset();
  FSubFoot.reset();
  FFoot.reset();
  FWalls.reset();
  FLegend.reset();
}

// ---- Colours and texts -----------------------------------------------------------------------

TColor TCustomChart::GetPanelColor() {
  if (!FWalls) return Color();
  return FWalls->Back()->Transparent() ? Color() : FWalls->Back()->Color();
}

void TCustomChart::SetBackColor(TColor Value) {
  FWalls->Back()->SetColor(Value);
  if (Parent() && !ComponentState().Contains(csLoading)) FWalls->Back()->Brush()->SetStyle(bsSolid);
}

bool TCustomChart::ColorIsFree(TColor Color, bool CheckBackground, TChartSeries* Series) {
  for (TChartSeries* s : *SeriesList())
    if (s != Series && s->SeriesColor() == Color) return false;
  if (CheckBackground && (Color == this->Color() || (FWalls && Color == FWalls->Back()->Color()))) return false;
  return true;
}

std::string TCustomChart::ValueLegendText(TChartSeries* Series, int Index) {
  if (!Series) return "";
  if (Series->LegendLink) return Series->LegendLink->ValueText(Series, Index);
  return FLegend->ValueText(Series, Index);
}

std::string TCustomChart::LegendRowText(TCustomChartLegend* Legend, int Row) {
  std::string text = Legend->RowText(Row);
  if (OnGetLegendText) OnGetLegendText(this, Legend->ResolveLegendStyle(), Row, text);
  return text;
}

void TCustomChart::PaintLegendBox(const TRect& R) {
  if (FLegend->Symbol()->Gradient()->Visible())
    FLegend->Symbol()->PaintSymbolBox(PanelCanvas()->CanvasBrush()->Color(), R);
  else
    TCustomAxisPanel::PaintLegendBox(R);
}

TChartSeries* TCustomChart::FirstActiveSeries() const {
  for (TChartSeries* s : *SeriesList())
    if (s->Active()) return s;
  return nullptr;
}

bool TCustomChart::SeriesUseAxes() const {
  bool anyActive = false;
  for (TChartSeries* s : *SeriesList()) {
    if (!s->Active()) continue;
    anyActive = true;
    if (s->HasAxes()) return true;
  }
  return !anyActive;
}

std::string TCustomChart::AxisDisplayName(TChartAxis* Axis) const {
  if (!Axis->Title()->Caption().empty()) return Axis->Title()->Caption();
  if (Axis == DepthAxis()) return GrafMsgDepthRight;
  if (Axis == DepthTopAxis()) return GrafMsgDepthTop;
  if (Axis->Horizontal()) return Axis->OtherSide() ? GrafMsgTopAxis : GrafMsgBottomAxis;
  return Axis->OtherSide() ? GrafMsgRightAxis : GrafMsgLeftAxis;
}

void TCustomChart::ListValueSourceItems(TChartValueList* List, const std::function<void(const std::string&)>& Proc) {
  if (!List || !List->Owner() || !Proc) return;
  if (auto* source = dynamic_cast<TChartSeries*>(List->Owner()->DataSource()))
    for (TChartValueList* l : *source->ValuesList()) Proc(l->Name());
}

// ---- A see-through chart --------------------------------------------------------------------

void TCustomChart::CMColorChanged(TMessage& M) {
  TCustomAxisPanel::CMColorChanged(M);
  TControlStyle style = ControlStyle();
  if (Color() == clNone) style.Include(csParentBackground);
  else style.Exclude(csParentBackground);
  SetControlStyle(style);
}

void TCustomChart::WMEraseBkgnd(TMessage& M) {
  // The window's surface is cleared so that the parent shows through.
  if (ControlStyle().Contains(csParentBackground)) TWinControl::WMEraseBkgnd(M);
  else TCustomAxisPanel::WMEraseBkgnd(M);
}

void TCustomChart::DrawOnCanvas(TCanvas* ACanvas, const TRect& ARect) {
  const bool old = FSeeThroughPass;
  FSeeThroughPass = ACanvas && ACanvas == ControlCanvas() && Parent() && ControlStyle().Contains(csParentBackground);
  try {
    TCustomAxisPanel::DrawOnCanvas(ACanvas, ARect);
  } catch (...) {
    FSeeThroughPass = old;
    throw;
  }
  FSeeThroughPass = old;
}

void TCustomChart::DrawChartContents(const TRect& Bounds) {
  // A buffered pass starts from a transparent buffer, so that what the chart
  // leaves unpainted (the background of colour clNone) stays see-through
  // when the buffer is copied to the window.
  if (FSeeThroughPass)
    if (auto* canvas = dynamic_cast<TGrafCanvas3D*>(PanelCanvas())) {
      TBitmap* buffer = canvas->BufferBitmap();
      if (buffer && buffer->HasCanvas() && canvas->BoundCanvas() == buffer->Canvas()) {
        buffer->SetPixelFormat(pf32bit);
        for (int y = 0; y < buffer->Height(); ++y)
          std::memset(buffer->ScanLine(y), 0, static_cast<size_t>(buffer->Width()) * 4);
      }
    }
  TCustomAxisPanel::DrawChartContents(Bounds);
}

// ---- Titles and legend -----------------------------------------------------------------------

void TCustomChart::DrawTitles(bool CustomOnes) {
  for (TChartTitle* t : {FTitle.get(), FSubTitle.get(), FFoot.get(), FSubFoot.get()})
    if (t->CustomPosition() == CustomOnes) t->PaintTitle();
}

void TCustomChart::PlaceTitlesAndLegend(bool BeforeSeries) {
  TCanvas3D* canvas = PanelCanvas();
  canvas->SuspendRotation();
  try {
    if (BeforeSeries) {
      if (FLegend->CustomPosition() || !FLegend->IsShown()) {
        DrawTitles(false);
      } else if (FLegend->StacksVertically()) {
        FLegend->PaintLegend();
        DrawTitles(false);
      } else {
        DrawTitles(false);
        FLegend->PaintLegend();
      }
    } else {
      if (FLegend->CustomPosition() && FLegend->IsShown()) FLegend->PaintLegend();
      DrawTitles(true);
    }
  } catch (...) {
    canvas->ResumeRotation();
    throw;
  }
  canvas->ResumeRotation();
  if (!BeforeSeries) PaintWallsAfterSeries();
}

// ---- Parts under a point -----------------------------------------------------------------------

void TCustomChart::FindPartAtPoint(TPoint P, bool OnlyClickable, TChartClickedPart& Part) {
  Part = TChartClickedPart();
  if (FLegend->Visible() && FLegend->CustomPosition()) {
    const int row = FLegend->RowAtPoint(P.X, P.Y);
    if (row != -1) {
      Part.Part = cpLegend;
      Part.PointIndex = row;
      return;
    }
  }
  std::vector<TChartSeries*> items(SeriesList()->begin(), SeriesList()->end());
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    TChartSeries* s = *it;
    if (!s->Active()) continue;
    if (OnlyClickable && !OnClickSeries && !s->OnClick && !s->OnDblClick) continue;
    const int index = s->IndexAtPoint(P.X, P.Y);
    if (index != -1) {
      Part.Part = cpSeries;
      Part.ASeries = s;
      Part.PointIndex = index;
      return;
    }
    if (s->Marks()->Visible()) {
      const int mark = s->Marks()->MarkAtPoint(P.X, P.Y);
      if (mark != -1) {
        Part.Part = cpSeriesMarks;
        Part.ASeries = s;
        Part.PointIndex = mark;
        return;
      }
    }
  }
  for (TChartAxis* axis : *AxesList()) {
    if (axis->ContainsPoint(P.X, P.Y)) {
      Part.Part = cpAxis;
      Part.AAxis = axis;
      return;
    }
  }
  if (FLegend->Visible() && !FLegend->CustomPosition()) {
    const int row = FLegend->RowAtPoint(P.X, P.Y);
    if (row != -1) {
      Part.Part = cpLegend;
      Part.PointIndex = row;
      return;
    }
  }
  const std::pair<TChartTitle*, int> titles[] = {
      {FTitle.get(), cpTitle}, {FSubTitle.get(), cpSubTitle}, {FFoot.get(), cpFoot}, {FSubFoot.get(), cpSubFoot}};
  for (const auto& [title, kind] : titles)
    if (title->ContainsPoint(P.X, P.Y)) {
      Part.Part = kind;
      return;
    }
  const TRect& r = ChartArea;
  if (P.X >= r.Left && P.X <= r.Right && P.Y >= r.Top && P.Y <= r.Bottom && ActiveSeriesCount() > 0)
    Part.Part = cpChartRect;
}

// ---- Mouse ------------------------------------------------------------------------------------

void TCustomChart::NotifyToolsMouse(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  std::vector<TGrafCustomTool*> tools(Tools()->begin(), Tools()->end());
  for (TGrafCustomTool* t : tools) {
    if (Tools()->IndexOf(t) < 0 || !t->Active()) continue;
    t->HandleMouseEvent(Kind, Button, Shift, X, Y);
    if (MouseCancelled) break;
  }
}

bool TCustomChart::CancelPattern(const std::function<void()>& Fire) {
  MouseCancelled = true;
  Fire();
  return MouseCancelled;
}

void TCustomChart::BackgroundClick(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled) {
  if (OnClickBackground) Handled = CancelPattern([&] { OnClickBackground(this, Button, Shift, X, Y); });
}

void TCustomChart::ZoomOrPanStart(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled) {
  if (!SeriesUseAxes()) return;
  TGrafZoom* zoom = Zoom();
  bool started = false;
  if (zoom->Allow() && Button == zoom->MouseButton() && zoom->KeyShift() <= Shift) {
    if (zoom->Direction() == tzdVertical) X = ChartArea.Left;
    else if (zoom->Direction() == tzdHorizontal) Y = ChartArea.Top;
    zoom->StartAt(X, Y);
    if (zoom->Direction() == tzdVertical) zoom->EndX = ChartArea.Right;
    else if (zoom->Direction() == tzdHorizontal) zoom->EndY = ChartArea.Bottom;
    DrawZoomFrame();
    started = true;
  } else if (AllowPanning() != pmNone && Button == FScrollMouseButton && PanningKeyShift <= Shift) {
    PanningState.StartAt(X, Y);
    started = true;
  }
  if (started) {
    Handled = true;
    SetCursor(SavedCursor);
  }
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
  if (MouseCancelled || Zoom()->Active || PanningState.Active) return;
  MouseCancelled = false;
  NotifyToolsMouse(cmeDown, Button, Shift, X, Y);
  if (!MouseCancelled) {
    TChartClickedPart part;
    FindPartAtPoint(Point(X, Y), true, part);
    bool handled = false;
    switch (part.Part) {
      case cpLegend:
        handled = FLegend->HandleRowClick(X, Y, part.PointIndex);
        if (OnClickLegend) handled = CancelPattern([&] { OnClickLegend(this, Button, Shift, X, Y); });
        break;
      case cpAxis:
        if (OnClickAxis) handled = CancelPattern([&] { OnClickAxis(this, part.AAxis, Button, Shift, X, Y); });
        if (!handled) ZoomOrPanStart(Button, Shift, X, Y, handled);
        break;
      case cpSeries: {
        MouseCancelled = false;
        TChartSeries* s = part.ASeries;
        if (Shift.Contains(ssDouble)) {
          if (s->OnDblClick) s->OnDblClick(s, part.PointIndex, Button, Shift, X, Y);
        } else if (s->OnClick) {
          s->OnClick(s, part.PointIndex, Button, Shift, X, Y);
        }
        handled = MouseCancelled;
        if (OnClickSeries)
          handled = CancelPattern([&] { OnClickSeries(this, s, part.PointIndex, Button, Shift, X, Y); });
        if (!handled) ZoomOrPanStart(Button, Shift, X, Y, handled);
        break;
      }
      case cpTitle:
      case cpFoot:
      case cpSubTitle:
      case cpSubFoot: {
        TChartTitle* title = part.Part == cpTitle ? FTitle.get()
                             : part.Part == cpFoot ? FFoot.get()
                             : part.Part == cpSubTitle ? FSubTitle.get()
                                                       : FSubFoot.get();
        if (OnClickTitle) handled = CancelPattern([&] { OnClickTitle(this, title, Button, Shift, X, Y); });
        if (!handled) ZoomOrPanStart(Button, Shift, X, Y, handled);
        break;
      }
      case cpChartRect:
        BackgroundClick(Button, Shift, X, Y, handled);
        if (!handled) ZoomOrPanStart(Button, Shift, X, Y, handled);
        break;
      default:
        break;
    }
    if (!handled) BackgroundClick(Button, Shift, X, Y, handled);
  }
  MouseCancelled = false;
}

bool TCustomChart::PanDirection(bool Horizontal, int NewPos, int LastPos, bool& Moved) {
  if (NewPos == LastPos) return false;
  const TPanningMode mode = AllowPanning();
  const bool allowed = mode == pmBoth || (Horizontal ? mode == pmHorizontal : mode == pmVertical);
  if (!allowed) return false;
  // An allowed direction counts as panned even when every axis refuses.
  Moved = true;
  std::vector<TChartAxis*> axes(AxesList()->begin(), AxesList()->end());
  for (TChartAxis* axis : axes) {
    if (axis->Horizontal() != Horizontal || axis->IsDepthAxis()) continue;
    const double delta = axis->PixelToValue(LastPos) - axis->PixelToValue(NewPos);
    double lo = axis->Minimum() + delta, hi = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(axis, lo, hi, allow);
    if (allow) axis->SetRange(lo, hi);
  }
  return true;
}

void TCustomChart::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomAxisPanel::MouseMove(Shift, X, Y);
  if (!ComponentState().Contains(csDesigning)) NotifyToolsMouse(cmeMove, mbLeft, Shift, X, Y);
  if (MouseCancelled) return;
  TGrafZoom* zoom = Zoom();
  if (zoom->Active) {
    if (zoom->Direction() == tzdVertical) X = ChartArea.Right;
    else if (zoom->Direction() == tzdHorizontal) Y = ChartArea.Bottom;
    if (X != zoom->EndX || Y != zoom->EndY) {
      DrawZoomFrame();
      zoom->EndX = X;
      zoom->EndY = Y;
      DrawZoomFrame();
    }
  } else if (PanningState.Active) {
    const TRect& r = ChartArea;
    if (X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom) {
      PanningState.Active = false;
    } else if (X != PanningState.StartX || Y != PanningState.StartY) {
      PanningState.Normalize();
      if (FScalesRestored) {
        SaveAxisScales();
        FScalesRestored = false;
      }
      bool moved = false;
      PanDirection(true, X, PanningState.StartX, moved);
      PanDirection(false, Y, PanningState.StartY, moved);
      PanningState.StartAt(X, Y);
      if (moved) {
        if (OnScroll) OnScroll(this);
        Invalidate();
      }
    }
  } else if (!CheckMouseOverSeries(X, Y)) {
    SetCursor(SavedCursor);
  }
}

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  MouseCancelled = false;
  TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
  TGrafZoom* zoom = Zoom();
  if (zoom->Active && Button == zoom->MouseButton()) {
    DrawZoomFrame();
    zoom->Active = false;
    PanelCanvas()->CanvasPen()->SetMode(pmCopy);
    if (zoom->Direction() != tzdVertical) zoom->EndX = X;
    if (zoom->Direction() != tzdHorizontal) zoom->EndY = Y;
    const int limit = zoom->MinimumPixels();
    const bool wide = zoom->Direction() == tzdVertical || std::abs(zoom->EndX - zoom->StartX) > limit;
    const bool tall = zoom->Direction() == tzdHorizontal || std::abs(zoom->EndY - zoom->StartY) > limit;
    if (wide && tall) {
      const bool forward = zoom->Direction() == tzdVertical ? zoom->EndY > zoom->StartY : zoom->EndX > zoom->StartX;
      if (zoom->UpLeftZooms() || forward) ZoomToRectangle();
      else RevertZoom();
      Invalidate();
    }
  }
  PanningState.Active = false;
  NotifyToolsMouse(cmeUp, Button, Shift, X, Y);
}

bool TCustomChart::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return TCustomAxisPanel::DoMouseWheel(Shift, WheelDelta, MousePos);
}

bool TCustomChart::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool result = TCustomAxisPanel::DoMouseWheelDown(Shift, MousePos);
  if (WheelScrollsAxes)
    for (TChartAxis* axis : *AxesList())
      if (!axis->Horizontal()) axis->ShiftRange(false, 0.03 * (axis->Maximum() - axis->Minimum()));
  return result;
}

bool TCustomChart::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool result = TCustomAxisPanel::DoMouseWheelUp(Shift, MousePos);
  if (WheelScrollsAxes)
    for (TChartAxis* axis : *AxesList())
      if (!axis->Horizontal()) axis->ShiftRange(false, -0.03 * (axis->Maximum() - axis->Minimum()));
  return result;
}

// ---- Zoom and scales ---------------------------------------------------------------------------------

void TCustomChart::SaveAxisScales() {
  FSavedScales.clear();
  for (TChartAxis* axis : *AxesList()) {
    TAxisSavedScale s;
    s.Auto = axis->Automatic() ? 1 : 0;
    s.AutoMin = axis->AutomaticMinimum() ? 1 : 0;
    s.AutoMax = axis->AutomaticMaximum() ? 1 : 0;
    s.Min = axis->Minimum();
    s.Max = axis->Maximum();
    FSavedScales.push_back(s);
  }
}

void TCustomChart::RestoreAxisScales() {
  const int n = std::min(AxesList()->Count(), static_cast<int>(FSavedScales.size()));
  for (int i = 0; i < n; ++i) {
    TChartAxis* axis = AxesList()->AxisAt(i);
    if (axis->IsDepthAxis()) continue;
    const TAxisSavedScale& s = FSavedScales[static_cast<size_t>(i)];
    axis->RestoreScale(s.Auto != 0, s.AutoMin != 0, s.AutoMax != 0, s.Min, s.Max);
  }
  // Axes added after the scales were saved keep what they have.
  FSavedScales.clear();
  FScalesRestored = true;
}

void TCustomChart::RevertZoom() {
  if (!FSavedScales.empty()) RestoreAxisScales();
  TCustomAxisPanel::RevertZoom();
}

void TCustomChart::ZoomToValues(double LeftMin, double LeftMax, double RightMin, double RightMax, double TopMin,
                                double TopMax, double BottomMin, double BottomMax) {
  if (FScalesRestored) {
    SaveAxisScales();
    FScalesRestored = false;
  }
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  const double targets[4][2] = {{LeftMin, LeftMax}, {RightMin, RightMax}, {TopMin, TopMax}, {BottomMin, BottomMax}};
  if (Zoom()->Animated()) {
    for (int step = 1; step < Zoom()->AnimatedSteps(); ++step) {
      for (int a = 0; a < 4; ++a) {
        const double lo = axes[a]->Minimum(), hi = axes[a]->Maximum();
        const double tlo = std::min(targets[a][0], targets[a][1]), thi = std::max(targets[a][0], targets[a][1]);
        axes[a]->SetRange(lo + (tlo - lo) / AnimatedZoomFactor, hi - (hi - thi) / AnimatedZoomFactor);
      }
      Repaint();
    }
  }
  for (int a = 0; a < 4; ++a) axes[a]->SetRange(targets[a][0], targets[a][1]);
  ZoomedIn = true;
  if (OnZoom) OnZoom(this);
}

void TCustomChart::ZoomToRectangle() {
  TGrafZoom* zoom = Zoom();
  zoom->Normalize();
  const int l = zoom->StartX, r = zoom->EndX, t = zoom->StartY, b = zoom->EndY;
  ZoomToValues(LeftAxis()->PixelToValue(b), LeftAxis()->PixelToValue(t), RightAxis()->PixelToValue(b),
               RightAxis()->PixelToValue(t), TopAxis()->PixelToValue(l), TopAxis()->PixelToValue(r),
               BottomAxis()->PixelToValue(l), BottomAxis()->PixelToValue(r));
}

// ---- Streaming and copying -----------------------------------------------------------------------

void TCustomChart::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TCustomAxisPanel::GetChildren(Proc, Root);
  std::vector<TGrafCustomTool*> tools(Tools()->begin(), Tools()->end());
  for (TGrafCustomTool* t : tools)
    if (!t->Internal) Proc(t);
}

void TCustomChart::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TCustomChart*>(Source)) {
    FColorPaletteIndex = other->FColorPaletteIndex;
    FFoot->Assign(other->FFoot.get());
    FLegend->Assign(other->FLegend.get());
    FScrollMouseButton = other->FScrollMouseButton;
    FSubFoot->Assign(other->FSubFoot.get());
    FSubTitle->Assign(other->FSubTitle.get());
    FTitle->Assign(other->FTitle.get());
    FWalls->Assign(other->FWalls.get());
  }
  TCustomAxisPanel::Assign(Source);
}

void TCustomChart::DefineProperties(TFiler* Filer) {
  TCustomAxisPanel::DefineProperties(Filer);
  Filer->DefineProperty(
      "BackColor",
      [this](TReader* r) {
        TColor color = clWhite;
        if (r->NextValue() == vaIdent) {
          int64_t v = 0;
          const std::string ident = r->ReadIdent();
          if (ColorIdents().FromIdent && ColorIdents().FromIdent(ident, v)) color = static_cast<TColor>(v);
        } else {
          color = static_cast<TColor>(r->ReadInteger());
        }
        SetBackColor(color);
      },
      nullptr, false);
  bool write = FColorPaletteIndex > 0;
  if (auto* ancestor = dynamic_cast<TCustomChart*>(Filer->Ancestor()))
    write = FColorPaletteIndex != ancestor->FColorPaletteIndex;
  Filer->DefineProperty(
      "ColorPaletteIndex",
      [this](TReader* r) {
        FColorPaletteIndex = r->ReadInteger();
        if (FColorPaletteIndex > 0) ApplyPaletteByIndex(this, FColorPaletteIndex);
      },
      [this](TWriter* w) { w->WriteInteger(FColorPaletteIndex); }, write);
}

ZV_CLASS_IMPL(TChart, TCustomChart)

void TChart::DeclareProperties(TClassInfo& c) {
  using C = TChart;
  // The chart keeps a "BorderStyle" entry of its own (it turns on the border pen).
  TCustomPanel::PublishProperties(c, {"BevelInner", "BevelOuter", "BevelWidth", "BorderWidth"});
  TCustomGrafPanel::PublishPanelProperties(c);
  TCustomGrafPanelExtended::PublishExtendedProperties(c);
  c.Object<C, TChartBackWall>("BackWall", &C::BackWall, &C::SetBackWall);
  c.Object<C, TChartWall>("BottomWall", &C::BottomWall, &C::SetBottomWall);
  c.Object<C, TChartTitle>("Foot", &C::Foot, &C::SetFoot);
  c.Object<C, TChartPen>("Frame", &C::Frame, &C::SetFrame);
  c.Object<C, TChartWall>("LeftWall", &C::LeftWall, &C::SetLeftWall);
  c.Object<C, TChartLegend>("Legend", &C::Legend, &C::SetLegend);
  c.Object<C, TChartRightWall>("RightWall", &C::RightWall, &C::SetRightWall);
  c.Enum<C>("ScrollMouseButton", MouseButtonEnumInfo(), &C::ScrollMouseButton, &C::SetScrollMouseButton, mbRight);
  c.Object<C, TChartTitle>("SubFoot", &C::SubFoot, &C::SetSubFoot);
  c.Object<C, TChartTitle>("SubTitle", &C::SubTitle, &C::SetSubTitle);
  c.Object<C, TChartTitle>("Title", &C::Title, &C::SetTitle);
}
