// Drawing one axis: title, labels (values, logarithmic powers, values from an
// event, series marks or point labels, series titles on a depth axis, custom
// items), the axis line, ticks, grid and minor marks in 2D and 3D.
#include <cmath>
#include <set>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

namespace {
constexpr int kMaxLabels = 10001;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == LineSeparator) {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty() || lines.empty()) lines.push_back(cur);
  return lines;
}
}  // namespace

void TChartAxis::StepByIncrement(bool Forward, double& T, int StepIndex, double Inc) {
  const bool exact = FExactDateTime && IsDateTimeAxis && StepIndex >= dtHalfMonth && StepIndex <= dtOneYear;
  StepDateTime(exact, Forward, T, StepIndex, Inc);
}

// ---- The whole axis ---------------------------------------------------------------------------

void TChartAxis::DrawAxis(bool PlaceLine) {
  TCanvas3D* canvas = Canvas();
  if (!canvas || !FParentChart) return;
  IsDateTimeAxis = ShowsDateTime();
  if (PlaceLine) AxisLinePos = ShiftByPosition(EdgeOfRect(FParentChart->ChartArea), FParentChart->ChartArea);
  PlaceTitle();
  TickPositions.clear();
  FAlternateRow = 0;
  if (FLabelItems->Count() > 0) {
    DrawItemLabels();
  } else {
    const TAxisLabelStyle style = EffectiveLabelStyle();
    if (style != talNone) {
      canvas->ApplyFont(LabelsFont());
      const double inc = ComputeLabelStep();
      int index = dtNone;
      if (IsDateTimeAxis && FExactDateTime && FIncrement != 0) {
        index = NearestDateTimeStepIndex(FIncrement);
        if (index != dtNone)
          while (inc > DateTimeStep[static_cast<size_t>(index)] && index < dtOneYear) ++index;
      }
      if ((inc > 0 || (index >= dtHalfMonth && index <= dtOneYear)) && WorkMaximum >= WorkMinimum) {
        switch (style) {
          case talValue:
            if (FParentChart->OnGetNextAxisLabel) DrawCustomLabels(inc, index);
            else if (FLogarithmic && FIncrement == 0) DrawLogLabels();
            else DrawDefaultLabels(inc, index);
            break;
          case talMark: DrawSeriesLabels(talMark); break;
          case talText:
            if (RunsAlongDepth) DrawDepthLabels();
            else DrawSeriesLabels(talText);
            break;
          default: break;
        }
      }
    }
  }
  DrawLineTicksGrid();
}

// ---- Labels ------------------------------------------------------------------------------------

void TChartAxis::DrawValueLabel(double Value) {
  const int p = ValueToPixel(Value);
  if (!FLabelsOnAxis && !(StartPixel < p && p < EndPixel)) return;
  if (!FTickOnLabelsOnly) TickPositions.push_back(p);
  if (Labels()) PlaceLabel(p, FormatLabelValue(Value), nullptr);
}

void TChartAxis::DrawDefaultLabels(double Inc, int StepIndex) {
  if (!(Inc > 0) || std::fabs(WorkRange / Inc) >= 10000) return;
  const double m = WorkMaximum / Inc;
  double t;
  if (IsDateTimeAxis && FExactDateTime && StepIndex >= dtOneDay && StepIndex < dtNone) {
    t = RoundDateToStep(StepIndex, WorkMaximum);
  } else if (!FRoundFirstLabel || LabelTextFor(WorkMinimum, false) == LabelTextFor(WorkMaximum, false) ||
             !(std::fabs(m) < 9e18)) {
    t = WorkMaximum;
  } else {
    t = static_cast<double>(Trunc(m)) * Inc;
  }
  for (int guard = 0; t > WorkMaximum && guard < kMaxLabels; ++guard) {
    const double before = t;
    StepByIncrement(false, t, StepIndex, Inc);
    if (t == before) break;
  }
  if (RangeIsZero || std::fabs(WorkMaximum - WorkMinimum) < 1e-10 ||
      LabelTextFor(t, false) == LabelTextFor(t - Inc, false)) {
    DrawValueLabel(t);
    return;
  }
  const double limit = WorkMinimum >= 0 ? (WorkMinimum - 1e-12) / (1 + 1e-12) : WorkMinimum;
  for (int count = 0; t >= limit && count < kMaxLabels; ++count) {
    DrawValueLabel(t);
    const double before = t;
    StepByIncrement(false, t, StepIndex, Inc);
    // A step below the resolution of t would never end.
    if (t == before) break;
  }
}

void TChartAxis::DrawLogLabels() {
  if (WorkMinimum == WorkMaximum) return;
  const double base = FLogarithmicBase;
  if (base <= 1) return;
  double s;
  if (WorkMinimum > 0) {
    s = std::pow(base, static_cast<double>(Round(LogN(base, WorkMinimum))));
  } else {
    WorkMinimum = WorkMinimum == 0 ? 0.1 : std::pow(base, static_cast<double>(Round(LogN(base, 1e-10))));
    s = WorkMinimum;
  }
  const bool minorGrid = FMinorGrid->Visible();
  if (minorGrid) {
    const double v = s < WorkMinimum ? s : std::pow(base, LogN(base, WorkMinimum) - 1);
    if (v < WorkMinimum) TickPositions.push_back(ValueToPixel(v));
  }
  bool drew = false;
  int count = 0;
  for (double v = s; v <= WorkMaximum && count < kMaxLabels; v *= base, ++count) {
    if (v >= WorkMinimum) {
      DrawValueLabel(v);
      drew = true;
    }
  }
  if (!drew) {
    const double d = std::pow(base, LogN(base, s) - 1);
    count = 0;
    for (double v = s; v <= WorkMaximum && d > 0 && count < kMaxLabels; v += d, ++count)
      if (v >= WorkMinimum) DrawValueLabel(v);
  }
  if (minorGrid && s > WorkMaximum) TickPositions.push_back(ValueToPixel(s));
}

void TChartAxis::DrawCustomLabels(double Inc, int StepIndex) {
  double v = WorkMinimum;
  bool stop = true;
  for (int index = 0; index <= 2000; ++index) {
    FParentChart->OnGetNextAxisLabel(this, index, v, stop);
    if (stop) {
      if (index == 0) {
        if (FLogarithmic && FIncrement == 0) DrawLogLabels();
        else DrawDefaultLabels(Inc, StepIndex);
      }
      return;
    }
    if (v < WorkMinimum - 1e-7 || v > WorkMaximum + 1e-7) return;
    DrawValueLabel(v);
  }
}

void TChartAxis::DrawSeriesLabels(TAxisLabelStyle Style) {
  LabelSeries->Clear();
  int first = -1, last = -1;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (!s->Active() || !s->IsOnAxis(this)) continue;
    LabelSeries->Add(s);
    s->FindVisibleRange();
    if (s->FirstVisible >= 0 && (first < 0 || s->FirstVisible < first)) first = s->FirstVisible;
    last = std::max(last, s->LastVisible);
  }
  if (first < 0 || last < 0) {
    LabelSeries->Clear();
    return;
  }
  TCanvas3D* canvas = Canvas();
  const bool across = FHorizontal ? (FLabelsAngle == 90 || FLabelsAngle == 270)
                                  : !(FLabelsAngle == 90 || FLabelsAngle == 270);
  bool haveLast = false;
  int lastPos = 0, lastHalf = 0;
  for (int index = first; index <= last; ++index) {
    TChartSeries* series = nullptr;
    std::string text;
    for (TChartSeries* s : *LabelSeries) {
      if (s->FirstVisible < 0 || index < s->FirstVisible || index > s->LastVisible) continue;
      text = Style == talMark ? s->BuildMarkText(index) : s->PointLabel(index);
      if (FParentChart->OnGetAxisLabel) FParentChart->OnGetAxisLabel(this, s, index, text);
      if (!text.empty()) {
        series = s;
        break;
      }
    }
    if (!series) continue;
    const double value = FHorizontal ? series->XValueAt(index) : series->YValueAt(index);
    if (value < WorkMinimum || value > WorkMaximum) continue;
    const int p = ValueToPixel(value);
    if (!FTickOnLabelsOnly) TickPositions.push_back(p);
    if (!Labels()) continue;
    canvas->ApplyFont(LabelsFont());
    int lines = 0;
    const int width = FParentChart->WidestLineWidth(text, lines);
    int w = across ? FontHeight() * lines : width;
    if (FLabelsSeparation > 0 && haveLast) {
      w = (w + static_cast<int>(Trunc(w * 0.02 * FLabelsSeparation))) / 2;
      if (p - w >= lastPos + lastHalf || p + w <= lastPos - lastHalf) {
        PlaceLabel(p, text, nullptr);
        lastPos = p;
        lastHalf = w;
      }
    } else {
      PlaceLabel(p, text, nullptr);
      lastPos = p;
      lastHalf = w / 2;
      haveLast = true;
    }
  }
  LabelSeries->Clear();
}

void TChartAxis::DrawDepthLabels() {
  if (FParentChart->ActiveSeriesCount() == 0) return;
  if (!(std::fabs(WorkMinimum) < 1e9 && std::fabs(WorkMaximum) < 1e9)) return;
  const int from = static_cast<int>(Trunc(WorkMinimum)), to = static_cast<int>(Trunc(WorkMaximum));
  for (int k = from; k <= to; ++k) {
    const int p = ValueToPixelY(WorkMaximum - k - 0.5);
    if (!FTickOnLabelsOnly) TickPositions.push_back(p);
    if (!Labels()) continue;
    std::string text = FParentChart->LegendSeriesTitle(k, true);
    if (FParentChart->OnGetAxisLabel) FParentChart->OnGetAxisLabel(this, nullptr, k, text);
    PlaceLabel(p, text, nullptr);
  }
}

void TChartAxis::DrawItemLabels() {
  for (int i = 0; i < FLabelItems->Count(); ++i) {
    TAxisItem* item = FLabelItems->ItemAt(i);
    const double v = item->Value();
    if (v < FMinimum || v > FMaximum) continue;
    const int p = ValueToPixel(v);
    if (!FTickOnLabelsOnly) TickPositions.push_back(p);
    if (!item->Visible()) continue;
    PlaceLabel(p, item->Text().empty() ? FormatLabelValue(v) : item->Text(), item);
  }
}

void TChartAxis::PlaceLabel(int P, const std::string& Text, TGrafCustomShape* Format) {
  TCanvas3D* canvas = Canvas();
  if (FTickOnLabelsOnly) TickPositions.push_back(P);
  TGrafCustomShape* shape = Format ? Format : FLabelItems->Format();
  canvas->ApplyFont(shape->Font());
  canvas->CanvasBrush()->SetStyle(bsClear);
  if (RunsAlongDepth) {
    canvas->SetTextAlignment(DepthAxisAlignment());
    TView3DOptions* view = FParentChart->View3DOptions();
    if (view->Orthogonal() || view->Rotation() == 360) P += FontHeight() / 2;
    const int x = FOtherSide ? LabelsPos : LabelsPos - canvas->TextWidth("W") / 2 - 2;
    canvas->TextOut3D(x, DepthAxisLinePos(), P, Text);
    canvas->SetTextAlignment(TA_LEFT);
    return;
  }
  int c = LabelsPos;
  if (FLabelsAlternate) {
    const bool outer = FHorizontal ? (FAlternateRow % 2 == 1) : (FAlternateRow % 2 == 0);
    if (outer) {
      if (FHorizontal) c += FOtherSide ? -FontHeight() : FontHeight();
      else c += FOtherSide ? WidestLabelWidth() : -WidestLabelWidth();
    }
    ++FAlternateRow;
  }
  if (FHorizontal) DrawLabelText(P, c, FLabelsAngle, Text, shape);
  else DrawLabelText(c, P, FLabelsAngle, Text, shape);
}

void TChartAxis::DrawLabelText(int X, int Y, int Angle, const std::string& Text, TGrafCustomShape* Format) {
  TCanvas3D* canvas = Canvas();
  if (!canvas) return;
  const int fh = FontHeight();
  const int h = fh / 2;
  const bool other = FOtherSide;
  unsigned align = TA_LEFT;
  const int angle = Angle == 360 ? 0 : Angle;
  if (FHorizontal) {
    switch (angle) {
      case 0: align = TA_CENTER | (other ? TA_BOTTOM : TA_TOP); break;
      case 45:
        align = TA_LEFT;
        if (!other) {
          const int d = static_cast<int>(Round(canvas->TextWidth(Text) * std::sin(M_PI / 4)));
          X -= d;
          Y += d;
        } else {
          const int d = canvas->TextWidth("Wj");
          X -= d;
          Y -= d;
        }
        break;
      case 90: align = other ? TA_LEFT : TA_RIGHT; X -= h; break;
      case 180: align = TA_CENTER | (other ? TA_TOP : TA_BOTTOM); break;
      case 270: align = other ? TA_RIGHT : TA_LEFT; X += h; break;
      default: align = TA_LEFT; break;
    }
  } else {
    switch (angle) {
      case 0:
        Y -= h;
        if (FLabelsAlign == alOpposite) {
          if (other) {
            align = TA_RIGHT;
            X += LabelsAreaWidth();
          } else {
            align = TA_LEFT;
            X -= LabelsAreaWidth();
          }
        } else {
          align = other ? TA_LEFT : TA_RIGHT;
        }
        break;
      case 45: align = TA_LEFT; break;
      case 90: align = other ? TA_CENTER : (TA_CENTER | TA_BOTTOM); break;
      case 180: align = other ? TA_RIGHT : TA_LEFT; Y += h; break;
      case 270: align = other ? (TA_CENTER | TA_BOTTOM) : TA_CENTER; break;
      default: align = TA_LEFT; break;
    }
  }
  int n = TextLineCount(Text);
  const int d = (angle == 180 || angle == 270) ? -fh : fh;
  if (FHorizontal) {
    if (angle == 0) Y -= other ? n * d : d;
    else if (angle == 90 || angle == 270) X -= static_cast<int>(Round(d / 2.0 * (n + 1)));
    else if (angle == 180) Y -= other ? d : n * d;
  } else {
    if (angle == 0 || angle == 180) Y -= static_cast<int>(Round(d / 2.0 * (n + 1)));
    else if (angle == 90) X -= other ? d : n * d;
    else if (angle == 270) X -= other ? n * d : d;
  }
  const int z = DepthPixel;
  if (Format && !Format->Transparent()) {
    int widest = 0;
    for (const std::string& line : LinesOf(Text)) widest = std::max(widest, canvas->TextWidth(line));
    TRect r;
    r.Left = X;
    r.Top = Y + d;
    const int height = d * std::max(n, 1);
    if (align & TA_BOTTOM) r.Top -= height;
    r.Bottom = r.Top + height;
    if ((align & TA_CENTER) == TA_CENTER) r.Left = X - widest / 2;
    else if (align & TA_RIGHT) r.Left = X - widest;
    r.Right = r.Left + widest;
    const int half = canvas->TextWidth("W") / 2;
    r.Left -= half;
    r.Right += half;
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    if (z != 0) r = canvas->ProjectRectAtDepth(r, z);
    // The text keeps the font it came with (a title frames itself with the
    // labels' format but is written in its own font).
    TFont font;
    font.Assign(canvas->CanvasFont());
    Format->PaintRotated(r, FLabelsAngle, z);
    canvas->CanvasFont()->Assign(&font);
  }
  canvas->SetTextAlignment(align);
  canvas->SetBackgroundMode(TRANSPARENT);
  int x = X, y = Y, zz = z;
  std::string text = Text;
  if (OnDrawLabel) {
    bool draw = true;
    OnDrawLabel(this, x, y, zz, text, draw);
    if (!draw) {
      canvas->SetTextAlignment(TA_LEFT);
      return;
    }
    n = TextLineCount(text);
  }
  for (const std::string& line : LinesOf(text)) {
    if (angle == 0) {
      y += d;
      if (FLabelsExponent && !FExponentOff) DrawExponentText(x, y, zz, line);
      else canvas->TextOut3D(x, y, zz, line);
    } else {
      if (angle == 90 || angle == 270) x += d;
      else if (angle == 180) y += d;
      canvas->RotateLabel3D(x, y, zz, line, angle);
    }
  }
  canvas->SetTextAlignment(TA_LEFT);
}

void TChartAxis::DrawExponentText(int X, int Y, int Z, const std::string& Text) {
  TCanvas3D* canvas = Canvas();
  size_t e = std::string::npos;
  for (size_t i = 0; i < Text.size(); ++i)
    if (Text[i] == 'E' || Text[i] == 'e') {
      e = i;
      break;
    }
  if (e == std::string::npos) {
    canvas->TextOut3D(X, Y, Z, Text);
    return;
  }
  const std::string mantissa = Text.substr(0, e), exponent = Text.substr(e + 1);
  const unsigned align = canvas->GetTextAlignment();
  const int raised = Y - (FontHeight() - 1) / 2 + 2;
  TFont* font = canvas->CanvasFont();
  const int size = font->Size();
  const bool leftAligned = (align & TA_CENTER) == 0;
  if (leftAligned) {
    canvas->TextOut3D(X, Y, Z, mantissa);
    const int mw = canvas->TextWidth(mantissa);
    font->SetSize(size - size / 4);
    canvas->TextOut3D(X + mw + 1, raised, Z, exponent);
  } else {
    font->SetSize(size - size / 4);
    const int ew = canvas->TextWidth(exponent);
    canvas->TextOut3D(X, raised, Z, exponent);
    font->SetSize(size);
    canvas->TextOut3D(X - ew - 1, Y, Z, mantissa);
  }
  font->SetSize(size);
}

void TChartAxis::PlaceTitle() {
  if (!FTitle->Visible() || FTitle->Caption().empty()) return;
  TCanvas3D* canvas = Canvas();
  canvas->ApplyFont(FTitle->Font());
  canvas->CanvasBrush()->SetStyle(bsClear);
  if (RunsAlongDepth) {
    canvas->SetTextAlignment(DepthAxisAlignment());
    canvas->TextOut3D(TitlePos, DepthAxisLinePos(), FParentChart->DepthExtentX / 2, FTitle->Caption());
    canvas->SetTextAlignment(TA_LEFT);
    return;
  }
  FExponentOff = true;
  try {
    TGrafCustomShape* format = FLabelItems->Format();
    if (FHorizontal) DrawLabelText(CenterPixel, TitlePos, FTitle->Angle(), FTitle->Caption(), format);
    else DrawLabelText(TitlePos, CenterPixel, FTitle->Angle(), FTitle->Caption(), format);
  } catch (...) {
    FExponentOff = false;
    throw;
  }
  FExponentOff = false;
}

void TChartAxis::DrawTitleText(int X, int Y) {
  TCanvas3D* canvas = Canvas();
  if (!canvas) return;
  canvas->ApplyFont(FTitle->Font());
  FExponentOff = true;
  DrawLabelText(X, Y, FTitle->Angle(), FTitle->Caption(), FLabelItems->Format());
  FExponentOff = false;
}

// ---- Line, ticks and grid ------------------------------------------------------------------------

void TChartAxis::DrawTick(int Pos, int Offset, int Length, int WallOffset) {
  TCanvas3D* canvas = Canvas();
  if (RunsAlongDepth) {
    const int y = DepthAxisLinePos();
    if (FOtherSide) canvas->LineAtDepth(AxisLinePos + Offset, y, AxisLinePos + Offset + Length, y, Pos);
    else canvas->LineAtDepth(AxisLinePos - Offset, y, AxisLinePos - Offset - Length, y, Pos);
    return;
  }
  const int z = DepthPixel;
  if (FHorizontal) {
    if (FOtherSide) canvas->LineAtDepth(Pos, AxisLinePos - Offset, Pos, AxisLinePos - Offset - Length, z);
    else
      canvas->LineAtDepth(Pos, AxisLinePos + WallOffset + Offset, Pos, AxisLinePos + WallOffset + Offset + Length, z);
  } else if (FOtherSide) {
    canvas->LineAtDepth(AxisLinePos + WallOffset + Offset, Pos, AxisLinePos + WallOffset + Offset + Length, Pos, z);
  } else {
    canvas->LineAtDepth(AxisLinePos - WallOffset - Offset, Pos, AxisLinePos - WallOffset - Offset - Length, Pos, z);
  }
}

void TChartAxis::DrawGridLine(int Pos) {
  TCanvas3D* canvas = Canvas();
  const TRect& r = FParentChart->ChartArea;
  const int depth = FParentChart->DepthExtentX;
  if (RunsAlongDepth) {
    canvas->VerticalLine3D(r.Left, r.Top, r.Bottom, Pos);
    canvas->HorizontalLine3D(r.Left, r.Right, r.Bottom, Pos);
    return;
  }
  if (FParentChart->View3D()) {
    if (FParentChart->AxisBehind()) {
      if (!SuppressBackGrid) {
        if (FHorizontal) canvas->VerticalLine3D(Pos, r.Top, r.Bottom, depth);
        else canvas->HorizontalLine3D(r.Left, r.Right, Pos, depth);
      }
      if (!SuppressSideGrid) {
        const int b = static_cast<int>(Round(depth * FGrid->ZPosition() * 0.01));
        if (b != depth) {
          if (FHorizontal) canvas->DepthLine3D(Pos, AxisLinePos, depth, b);
          else canvas->DepthLine3D(AxisLinePos, Pos, depth, b);
        }
      }
    } else if (FHorizontal) {
      canvas->VerticalLine3D(Pos, r.Top, r.Bottom, 0);
    } else {
      canvas->HorizontalLine3D(r.Left, r.Right, Pos, 0);
    }
    return;
  }
  if (FHorizontal) canvas->VerticalLine(Pos, r.Top + 1, r.Bottom);
  else canvas->HorizontalLine(r.Left + 1, r.Right, Pos);
}

void TChartAxis::DrawMinorMarks(bool Grid) {
  const int count = FMinorTickCount;
  if (count <= 0 || TickPositions.empty()) return;
  const double f = 1.0 / (count + 1);
  const int wall = FParentChart->WallThickness(this);
  auto mark = [&](int p) {
    if (!(StartPixel < p && p < EndPixel)) return;
    if (Grid) DrawGridLine(p);
    else DrawTick(p, 1, FMinorTickLength, (FHorizontal && FOtherSide) || RunsAlongDepth ? 0 : wall);
  };
  if (!FLogarithmic) {
    if (TickPositions.size() < 2) return;
    const std::vector<int>& t = TickPositions;
    const size_t last = t.size() - 1;
    const double s = (t[1] - t[0]) * f;
    for (int j = 1; j <= count; ++j) {
      mark(t[0] - static_cast<int>(Round(j * s)));
      mark(t[last] + static_cast<int>(Round(j * s)));
    }
    for (size_t i = 1; i <= last; ++i)
      for (int j = 1; j <= count; ++j) mark(t[i] - static_cast<int>(Round(j * (t[i] - t[i - 1]) * f)));
    return;
  }
  const double base = FLogarithmicBase;
  std::vector<double> values;
  const double lastValue = PixelToValue(TickPositions.back());
  values.push_back(lastValue / base);
  for (int p : TickPositions) values.push_back(PixelToValue(p));
  values.push_back(lastValue * base);
  std::set<double> seen;
  for (double v : values) {
    if (!seen.insert(v).second) continue;
    for (int k = 1; k <= count; ++k) {
      const double m = v + k * (v * base - v) * f;
      if (m > WorkMaximum || m < WorkMinimum) continue;
      mark(ValueToPixel(m));
    }
  }
}

void TChartAxis::DrawLineTicksGrid() {
  TCanvas3D* canvas = Canvas();
  const int w = FParentChart->WallThickness(this);
  const TRect& area = FParentChart->ChartArea;
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
  if (FAxisPen->Visible()) {
    if (FAxisPen->LineMode() != lmLine) {
      canvas->CanvasPen()->SetStyle(psClear);
      canvas->CanvasBrush()->SetStyle(bsSolid);
      canvas->CanvasBrush()->SetColor(FAxisPen->Color());
    } else {
      canvas->ApplyPen(FAxisPen.get());
    }
    if (RunsAlongDepth) {
      const int y = FOtherSide ? area.Bottom + FParentChart->WallThickness(FParentChart->BottomAxis()) - DepthPixel
                               : area.Top - DepthPixel;
      canvas->DepthLine3D(AxisLinePos, y, StartPixel, EndPixel);
    } else {
      int start = StartPixel, end = EndPixel, pos = AxisLinePos;
      if (FHorizontal && !FOtherSide) {
        start -= FParentChart->WallThickness(FParentChart->LeftAxis());
        end += FParentChart->WallThickness(FParentChart->RightAxis());
        pos += w;
      } else if (!FHorizontal) {
        pos += FOtherSide ? w : -w;
        end += FParentChart->WallThickness(FParentChart->BottomAxis());
      }
      const int z = DepthPixel;
      const int pw = FAxisPen->Width();
      switch (FAxisPen->LineMode()) {
        case lmLine:
          if (FHorizontal) canvas->HorizontalLine3D(start, end, pos, z);
          else canvas->VerticalLine3D(pos, start, end, z);
          break;
        case lmCylinder:
          if (FHorizontal) canvas->Cylinder(false, start, pos - pw, end, pos + pw, z - pw, z + pw, true);
          else canvas->Cylinder(true, pos - pw, start, pos + pw, end, z - pw, z + pw, true);
          break;
        case lmRectangle:
          if (FHorizontal) canvas->Cube(start, end, pos - pw, pos + pw, z - pw, z + pw, true);
          else canvas->Cube(pos - pw, pos + pw, start, end, z - pw, z + pw, true);
          break;
      }
    }
  }
  canvas->CanvasBrush()->SetStyle(bsClear);
  const int tickWall = (FHorizontal && FOtherSide) || RunsAlongDepth ? 0 : w;
  if (FTicks->Visible()) {
    canvas->ApplyPen(FTicks.get());
    for (int t : TickPositions) DrawTick(t, 1, FTickLength, tickWall);
  }
  if (GridBandHook) GridBandHook(this);
  if (FGrid->Visible()) {
    const TColor color = FGrid->Color() == clDefault ? clGray : FGrid->Color();
    canvas->ApplyPenWithColor(FGrid.get(), color);
    if (FGrid->BetweenTicks()) {
      for (size_t i = 1; i < TickPositions.size(); ++i) {
        const int p = static_cast<int>(Round((TickPositions[i] + TickPositions[i - 1]) * 0.5));
        if (StartPixel < p && p < EndPixel) DrawGridLine(p);
      }
    } else {
      for (int p : TickPositions)
        if (StartPixel < p && p < EndPixel) DrawGridLine(p);
    }
  }
  if (FTicksInner->Visible()) {
    canvas->ApplyPen(FTicksInner.get());
    for (int t : TickPositions) DrawTick(t, -1, -FTickInnerLength, tickWall);
  }
  if (!TickPositions.empty()) {
    if (FMinorTicks->Visible()) {
      canvas->ApplyPen(FMinorTicks.get());
      DrawMinorMarks(false);
    }
    if (FMinorGrid->Visible()) {
      canvas->ApplyPen(FMinorGrid.get());
      DrawMinorMarks(true);
    }
  }
  canvas->SetBackgroundMode(OPAQUE);
}

// ---- Bounds, hit test and one-off ranges -----------------------------------------------------

TRect TChartAxis::GetBoundsRect() const {
  const int a0 = std::min(StartPixel, EndPixel), a1 = std::max(StartPixel, EndPixel);
  int c0, c1;
  // Across: from the labels to the axis line, three pixels beyond the line.
  const bool labelsAfterLine = FHorizontal ? !FOtherSide : FOtherSide;
  if (labelsAfterLine) {
    c0 = AxisLinePos - 3;
    c1 = LabelsPos;
  } else {
    c0 = LabelsPos;
    c1 = AxisLinePos + 3;
  }
  if (c0 > c1) std::swap(c0, c1);
  return FHorizontal ? Rect(a0, c0, a1, c1) : Rect(c0, a0, c1, a1);
}

bool TChartAxis::ContainsPoint(int X, int Y) {
  if (!FParentChart || !FParentChart->AxisShown(this)) return false;
  TRect r = GetBoundsRect();
  if (FParentChart->View3D()) r = FParentChart->PanelCanvas()->ProjectRectAtDepth(r, FOtherSide ? FParentChart->DepthExtentX : 0);
  r = NormalizeRect(r);
  return X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom;
}

void TChartAxis::DrawCustomRange(double AMin, double AMax, double AIncrement, int AStartPixel, int AEndPixel,
                                 int AAxisLinePos, int ALabelsPos, int ATitlePos, bool GridVisible) {
  const double oldMin = FMinimum, oldMax = FMaximum, oldInc = FIncrement;
  const bool oldAuto = FAutomatic;
  const double oldWorkMin = WorkMinimum, oldWorkMax = WorkMaximum;
  auto restore = [&] {
    FMinimum = oldMin;
    FMaximum = oldMax;
    FIncrement = oldInc;
    FAutomatic = oldAuto;
    WorkMinimum = oldWorkMin;
    WorkMaximum = oldWorkMax;
    RecalcRange();
  };
  FAutomatic = false;
  FMinimum = AMin;
  FMaximum = AMax;
  FIncrement = AIncrement;
  WorkMinimum = AMin;
  WorkMaximum = AMax;
  LabelsPos = ALabelsPos;
  TitlePos = ATitlePos;
  AxisLinePos = AAxisLinePos;
  StartPixel = AStartPixel;
  EndPixel = AEndPixel;
  RecalcSizeAndCenter();
  const bool oldVisible = FGrid->Visible();
  TNotifyEvent oldChange = FGrid->OnChange;
  FGrid->OnChange = nullptr;
  FGrid->SetVisible(GridVisible);
  try {
    DrawAxis(false);
  } catch (...) {
    FGrid->SetVisible(oldVisible);
    FGrid->OnChange = oldChange;
    restore();
    throw;
  }
  FGrid->SetVisible(oldVisible);
  FGrid->OnChange = oldChange;
  restore();
}
