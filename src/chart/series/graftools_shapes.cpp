// Annotation and rectangle tools.
#include <algorithm>
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/series/graftools.h"

const TEnumInfo& AnnotationPositionEnumInfo() {
  static const TEnumInfo info{"TAnnotationPosition", {"ppLeftTop", "ppLeftBottom", "ppRightTop", "ppRightBottom"}, 0};
  return info;
}

ZV_CLASS_IMPL(TGrafShapePosition, TGrafCustomShapePosition)

void TGrafShapePosition::DeclareProperties(TClassInfo& c) {
  using T = TGrafShapePosition;
  c.Boolean<T>("CustomPosition", &T::CustomPosition, &T::SetCustomPosition, false);
  c.Integer<T>("Left", &T::Left, &T::SetLeft).WithStored([](TObject* o) {
    return static_cast<T*>(o)->CustomPosition();
  });
  c.Integer<T>("Top", &T::Top, &T::SetTop).WithStored([](TObject* o) {
    return static_cast<T*>(o)->CustomPosition();
  });
}

// ---- Callout ----------------------------------------------------------------------------------

ZV_CLASS_IMPL(TAnnotationCallout, TCallout)

void TAnnotationCallout::DeclareProperties(TClassInfo& c) {
  using T = TAnnotationCallout;
  c.Integer<T>("XPosition", &T::XPosition, &T::SetXPosition, 0);
  c.Integer<T>("YPosition", &T::YPosition, &T::SetYPosition, 0);
  c.Integer<T>("ZPosition", &T::ZPosition, &T::SetZPosition, 0);
}

TAnnotationCallout::TAnnotationCallout(TChartSeries* Series) : TCallout(Series) {
  Arrow()->SetVisible(false);
  SetVisible(false);
}

void TAnnotationCallout::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TAnnotationCallout*>(Source)) {
    FX = c->FX;
    FY = c->FY;
    FZ = c->FZ;
  }
  TCallout::Assign(Source);
}

void TAnnotationCallout::SetXPosition(int Value) {
  if (FX == Value) return;
  FX = Value;
  Repaint();
}

void TAnnotationCallout::SetYPosition(int Value) {
  if (FY == Value) return;
  FY = Value;
  Repaint();
}

void TAnnotationCallout::SetZPosition(int Value) {
  if (FZ == Value) return;
  FZ = Value;
  Repaint();
}

TPoint AnnotationCalloutAnchor(const TRect& R, TPoint P) {
  TPoint a;
  a.X = P.X > R.Right ? R.Right : P.X < R.Left ? R.Left : (R.Left + R.Right) / 2;
  a.Y = P.Y > R.Bottom ? R.Bottom : P.Y < R.Top ? R.Top : (R.Top + R.Bottom) / 2;
  return a;
}

// ---- Annotation ---------------------------------------------------------------------------------

ZV_CLASS_IMPL(TAnnotationTool, TGrafCustomTool)

void TAnnotationTool::DeclareProperties(TClassInfo& c) {
  using T = TAnnotationTool;
  c.Boolean<T>("AutoSize", &T::AutoSize, &T::SetAutoSize, true);
  c.Object<T, TAnnotationCallout>("Callout", &T::Callout, &T::SetCallout);
  c.Integer<T>("Cursor", &T::Cursor, &T::SetCursor, crDefault);
  c.Integer<T>("Height", &T::Height, &T::SetHeight).WithStored([](TObject* o) {
    return !static_cast<T*>(o)->AutoSize();
  });
  c.Enum<T>("Position", AnnotationPositionEnumInfo(), &T::Position, &T::SetPosition, ppLeftTop);
  c.Enum<T>("PositionUnits", GrafUnitsEnumInfo(), &T::PositionUnits, &T::SetPositionUnits, muPixels);
  c.Object<T, TGrafShapePosition>("Shape", &T::Shape, &T::SetShape);
  c.String<T>("Text", &T::Text, &T::SetText, std::string());
  c.Enum<T>("TextAlignment", AlignmentEnumInfo(), &T::TextAlignment, &T::SetTextAlignment, taLeftJustify);
  c.Integer<T>("Width", &T::Width, &T::SetWidth).WithStored([](TObject* o) {
    return !static_cast<T*>(o)->AutoSize();
  });
}

TAnnotationTool::TAnnotationTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {
  FShape = std::make_unique<TGrafShapePosition>(nullptr);
  FCallout = std::make_unique<TAnnotationCallout>(nullptr);
}

TAnnotationTool::~TAnnotationTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TAnnotationTool::ToolTypeName() const { return GrafMsgExAnnotation; }

void TAnnotationTool::SetParentChart(TCustomAxisPanel* Value) {
  TGrafCustomTool::SetParentChart(Value);
  if (ComponentState().Contains(csDestroying)) return;
  FShape->AttachToPanel(Value);
  FCallout->AttachToPanel(Value);
  if (Value) Value->Invalidate();
}

void TAnnotationTool::SetPosition(TAnnotationPosition Value) {
  FPosition = Value;
  FShape->SetCustomPosition(false);
  RequestRedraw();
}

void TAnnotationTool::SetPositionUnits(TGrafUnits Value) {
  if (FPositionUnits == Value) return;
  FPositionUnits = Value;
  RequestRedraw();
}

void TAnnotationTool::SetTextAlignment(TAlignment Value) {
  if (FTextAlignment == Value) return;
  FTextAlignment = Value;
  RequestRedraw();
}

void TAnnotationTool::SetWidth(int Value) {
  if (Width() == Value) return;
  FAutoSize = false;
  FShape->SetBoundsWidth(Value);
  RequestRedraw();
}

void TAnnotationTool::SetHeight(int Value) {
  if (Height() == Value) return;
  FAutoSize = false;
  FShape->SetBoundsHeight(Value);
  RequestRedraw();
}

void TAnnotationTool::SetLeft(int Value) {
  const int w = FShape->BoundsWidth();
  FShape->SetLeft(Value);
  FShape->SetBoundsWidth(w);
}

void TAnnotationTool::SetTop(int Value) {
  const int h = FShape->BoundsHeight();
  FShape->SetTop(Value);
  FShape->SetBoundsHeight(h);
}

void TAnnotationTool::CalcLayout(int& Lines, int& X, int& Y, TRect& Box) {
  std::string text = GetText();
  if (text.empty()) text = " ";
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FShape->Font());
  int textW = 0, textH = 0;
  const bool custom = FShape->CustomPosition();
  if (!custom || FAutoSize) {
    const int lineH = canvas->TextHeight("W");
    textW = FParentChart->WidestLineWidth(text, Lines);
    textH = Lines * lineH;
  } else {
    FParentChart->WidestLineWidth(text, Lines);
  }
  if (custom) {
    if (FPositionUnits == muPixels) {
      X = FShape->Left() + 4;
      Y = FShape->Top() + 2;
    } else {
      X = static_cast<int>(std::nearbyint(FShape->Left() * FParentChart->Width() * 0.01));
      Y = static_cast<int>(std::nearbyint(FShape->Top() * FParentChart->Height() * 0.01));
    }
  } else {
    const int rx = FParentChart->Width() - textW - 8, by = FParentChart->Height() - textH - 8;
    X = FPosition == ppRightTop || FPosition == ppRightBottom ? rx : 10;
    Y = FPosition == ppLeftBottom || FPosition == ppRightBottom ? by : 10;
  }
  const int w = FAutoSize ? textW + 6 : FShape->BoundsWidth();
  const int h = FAutoSize ? textH + 4 : FShape->BoundsHeight();
  Box = {X - 4, Y - 2, X - 4 + w, Y - 2 + h};
}

bool TAnnotationTool::ContainsPoint(int X, int Y) {
  if (!FParentChart) return false;
  int lines, x, y;
  TRect box;
  CalcLayout(lines, x, y, box);
  return X >= box.Left && X <= box.Right && Y >= box.Top && Y <= box.Bottom;
}

void TAnnotationTool::PaintAnnotation() {
  const TRect kept = FShape->ShapeBox;
  int lines, x, y;
  TRect box;
  CalcLayout(lines, x, y, box);
  FShape->ShapeBox = box;
  if (FShape->Visible()) FShape->PaintAtBounds();
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FShape->Font());
  canvas->SetBackgroundMode(TRANSPARENT);
  int tx = x;
  if (FTextAlignment == taCenter) {
    tx = (box.Left + box.Right) / 2 + 2;
    canvas->SetTextAlignment(TA_CENTER);
  } else if (FTextAlignment == taRightJustify) {
    tx = box.Right - 2;
    canvas->SetTextAlignment(TA_RIGHT);
  } else {
    canvas->SetTextAlignment(TA_LEFT);
  }
  const int lineH = canvas->TextHeight("W");
  const std::string text = GetText();
  for (int k = 1; k <= lines; ++k)
    canvas->TextOut(tx, y + (k - 1) * lineH, SeparatedItemAt(text, k, std::string(1, LineSeparator)));
  if (FCallout->Visible() || FCallout->Arrow()->Visible()) {
    TPoint p{FCallout->XPosition(), FCallout->YPosition()};
    const TPoint a = AnnotationCalloutAnchor(box, p);
    if (FCallout->Distance() != 0) p = PointShortOfEnd(a, p, FCallout->Distance());
    FCallout->PaintArrow(FCallout->Brush()->Color(), p, FCallout->ZPosition(), a);
  }
  if (FAutoSize) {
    FShape->ShapeBox = {kept.Left, kept.Top, kept.Left + box.Right - box.Left, kept.Top + box.Bottom - box.Top};
  } else {
    FShape->ShapeBox = kept;
  }
}

void TAnnotationTool::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code == cteAfterDraw && FParentChart) PaintAnnotation();
}

void TAnnotationTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGrafCustomTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!FParentChart) return;
  if (Kind == cmeMove) {
    if (FCursor != crDefault && ContainsPoint(X, Y)) {
      FParentChart->SetCursor(FCursor);
      FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeDown) {
    if (OnClick && ContainsPoint(X, Y)) OnClick(this, Button, Shift, X, Y);
  }
}

// ---- Rectangle ----------------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TRectangleTool, TAnnotationTool)

TRectangleTool::TRectangleTool(TComponent* AOwner) : TAnnotationTool(AOwner) {
  FAutoSize = false;
  FShape->SetCustomPosition(true);
  if (FShape->Shadow()) FShape->Shadow()->SetUniformSize(0);
  FShape->SetTransparency(75);
  FShape->ShapeBox = {10, 10, 10 + 50 - 1, 10 + 50 - 1};
  FPositionUnits = muPixels;
  FCursor = crHandPoint;
}

std::string TRectangleTool::ToolTypeName() const { return GrafMsgExRectangle; }

int TRectangleTool::EdgeAt(int X, int Y) {
  if (!ContainsPoint(X, Y)) return -1;
  const TRect& b = FShape->ShapeBox;
  if (std::abs(X - b.Left) < 4) return 0;
  if (std::abs(Y - b.Top) < 4) return 1;
  if (std::abs(X - b.Right) < 4) return 2;
  if (std::abs(Y - b.Bottom) < 4) return 3;
  return -1;
}

void TRectangleTool::HandleMouseEvent(int Kind, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAnnotationTool::HandleMouseEvent(Kind, Button, Shift, X, Y);
  if (!Active() || !FParentChart) return;
  TRect& b = FShape->ShapeBox;
  if (Kind == cmeDown) {
    if (Button != mbLeft) return;
    FEdge = EdgeAt(X, Y);
    if (FEdge != -1) {
      FOffset = {X - (FEdge == 2 ? b.Right : b.Left), Y - (FEdge == 3 ? b.Bottom : b.Top)};
    } else if (ContainsPoint(X, Y)) {
      FOffset = {X - b.Left, Y - b.Top};
      FMoving = true;
    } else {
      return;
    }
    FParentChart->MouseCancelled = true;
  } else if (Kind == cmeMove) {
    if (FMoving) {
      const int nx = X - FOffset.X, ny = Y - FOffset.Y;
      if (nx == b.Left && ny == b.Top) return;
      const int w = FShape->BoundsWidth(), h = FShape->BoundsHeight();
      FShape->SetLeft(nx);
      FShape->SetTop(ny);
      FShape->SetBoundsWidth(w);
      FShape->SetBoundsHeight(h);
      RequestRedraw();
      if (OnDragging) OnDragging(this);
    } else if (FEdge != -1) {
      switch (FEdge) {
        case 0: {
          const int right = b.Right;
          FShape->SetLeft(std::min(b.Right - 3, X - FOffset.X));
          b.Right = right;
          break;
        }
        case 1: {
          const int bottom = b.Bottom;
          FShape->SetTop(std::min(b.Bottom - 3, Y - FOffset.Y));
          b.Bottom = bottom;
          break;
        }
        case 2: b.Right = std::max(b.Left + 3, X - FOffset.X); break;
        default: b.Bottom = std::max(b.Top + 3, Y - FOffset.Y); break;
      }
      RequestRedraw();
      if (OnResizing) OnResizing(this);
    } else {
      const int edge = EdgeAt(X, Y);
      bool set = true;
      if (edge == 0 || edge == 2) FParentChart->SetCursor(crSizeWE);
      else if (edge == 1 || edge == 3) FParentChart->SetCursor(crSizeNS);
      else if (FCursor != crDefault && ContainsPoint(X, Y)) FParentChart->SetCursor(FCursor);
      else set = false;
      if (set) FParentChart->MouseCancelled = true;
    }
  } else if (Kind == cmeUp) {
    if (FMoving && OnDragged) OnDragged(this);
    FMoving = false;
    if (FEdge != -1 && OnResized) OnResized(this);
    FEdge = -1;
  }
}
