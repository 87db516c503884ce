#include "chart/editor/grafcomma.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafprocs.h"
#include "chart/editor/editchar.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafedit.h"
#include "chart/editor/grafeditpro.h"
#include "chart/series/graftools.h"
#include "chart/series/series_pie.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"

ZV_CLASS_IMPL_NOPROPS(TCustomGrafCommander, TCustomPanelNoCaption)
ZV_CLASS_IMPL_NOPROPS(TGrafCommander, TCustomGrafCommander)

// ---- TCustomGrafCommander ---------------------------------------------------------------

TCustomGrafCommander::TCustomGrafCommander(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  SetHeight(33);
  SetWidth(400);
  SetShowHint(true);
  if (!ComponentState().Contains(csLoading) && AOwner && AOwner->ComponentState().Contains(csDesigning))
    SetAlign(alTop);
}

TCustomGrafCommander::~TCustomGrafCommander() {
  FDestroying = true;
  FreeControls();
  AssignPanel(nullptr);
}

void TCustomGrafCommander::AssignPanel(TCustomGrafPanel* Value) {
  if (FPanel) {
    FPanel->RemoveFreeNotification(this);
    FPanel->RemoveListener(this);
  }
  FPanel = Value;
  if (FPanel) {
    FPanel->FreeNotification(this);
    FPanel->Listeners()->AddListener(this);
  }
  if (!FDestroying) EnableControls(FPanel != nullptr);
}

void TCustomGrafCommander::EnableControls(bool Enable) {
  if (FDestroying) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(Components(i))) c->SetEnabled(Enable);
}

void TCustomGrafCommander::Loaded() {
  TCustomPanelNoCaption::Loaded();
  if (!FPanel && Parent()) {
    if (auto* p = dynamic_cast<TCustomGrafPanel*>(Parent())) {
      AssignPanel(p);
    } else {
      for (int i = 0; i < Parent()->ComponentCount(); ++i)
        if (auto* g = dynamic_cast<TCustomGrafPanel*>(Parent()->Components(i))) {
          AssignPanel(g);
          break;
        }
    }
  }
  EnableControls(FPanel != nullptr);
}

void TCustomGrafCommander::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanelNoCaption::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPanel) {
    FPanel = nullptr;
    if (!FDestroying) EnableControls(false);
  }
}

TGrafGradient* TCustomGrafCommander::Gradient() {
  if (!FGradient) FGradient = std::make_unique<TGrafGradient>([this](TObject*) { Invalidate(); });
  return FGradient.get();
}

void TCustomGrafCommander::SetGradient(TGrafGradient* Value) {
  if (!Value) {
    FGradient.reset();
    Invalidate();
    return;
  }
  Gradient()->Assign(Value);
}

void TCustomGrafCommander::SetVertical(bool Value) {
  if (Value == FVertical) return;
  FVertical = Value;
  if (Align() != alNone) SetAlign(FVertical ? alLeft : alTop);
  Relayout();
}

void TCustomGrafCommander::FreeControls() {
  for (int i = ComponentCount() - 1; i >= 0; --i)
    if (auto* c = dynamic_cast<TControl*>(Components(i))) {
      ControlRemoved(c);
      delete c;
    }
}

void TCustomGrafCommander::Relayout() {
  int p = 4;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() != this) continue;
    if (FVertical) c->SetBounds(4, p, c->Width(), c->Height());
    else c->SetBounds(p, 4, c->Width(), c->Height());
    if (auto* b = dynamic_cast<TBevel*>(c)) {
      if (FVertical) {
        b->SetShape(bsTopLine);
        b->SetBounds(4, p, Width() - 8, 2);
      } else {
        b->SetShape(bsLeftLine);
        b->SetBounds(p, 4, 2, Height() - 8);
      }
      p += 6;
    } else {
      p += 29;
    }
  }
}

void TCustomGrafCommander::HandlePanelEvent(TGrafEvent* Event) {
  if (auto* m = dynamic_cast<TGrafMouseEvent*>(Event)) {
    switch (m->Kind) {
      case pmeDown:
        FButton = m->Button;
        MouseDownAt(m->X, m->Y);
        break;
      case pmeUp: MouseUpAt(); break;
      case pmeMove: MouseMoveAt(m->X, m->Y, m->Shift); break;
    }
    // The chart's own zooming and scrolling stop while a mode is pressed.
    if (FPanel) FPanel->MouseCancelled = !ChartMayUseMouse();
  } else if (dynamic_cast<TGrafView3DEvent*>(Event)) {
    EnableControls(FPanel != nullptr);
  }
}

void TCustomGrafCommander::Paint() {
  TCustomPanelNoCaption::Paint();
  if (!FGradient || !FGradient->Visible()) return;
  TRect r = ClientRect();
  if (BevelInner() != bvNone) InflateRect(r, -BevelWidth(), -BevelWidth());
  if (BevelOuter() != bvNone) InflateRect(r, -BevelWidth(), -BevelWidth());
  TGrafCanvas3D canvas;
  canvas.AttachCanvas(Canvas());
  FGradient->DrawInRect(&canvas, r);
}

// ---- TGrafCommander ---------------------------------------------------------------------

TGrafCommander::TGrafCommander(TComponent* AOwner) : TCustomGrafCommander(AOwner) { CreateControls(); }

TGrafCommander::~TGrafCommander() {
  FDestroying = true;
  FreeControls();
  SetChartEditor(nullptr);
  SetPreviewer(nullptr);
}

void TGrafCommander::CreateControls() {
  FreeControls();
  struct TItem {
    TSpeedButton* TGrafCommander::*Field;
    const char* Hint;
    const char* Glyph;
    int Group;
    void (TGrafCommander::*Click)(TObject*);
  };
  const TItem items[] = {
      {&TGrafCommander::FNormal, "Normal", "GrafNormal", 1, &TGrafCommander::NormalClick},
      {nullptr, nullptr, nullptr, 0, nullptr},
      {&TGrafCommander::FRotate, "Rotate", "GrafRotate", 1, &TGrafCommander::RotateClick},
      {&TGrafCommander::FMove, "Move", "GrafMove", 1, &TGrafCommander::MoveClick},
      {&TGrafCommander::FZoom, "Zoom", "GrafZoom", 1, &TGrafCommander::ZoomClick},
      {&TGrafCommander::FDepth, "Depth", "GrafDepth", 1, &TGrafCommander::DepthClick},
      {&TGrafCommander::F3D, "3D", "GrafView3D", 2, &TGrafCommander::View3DClick},
      {nullptr, nullptr, nullptr, 0, nullptr},
      {&TGrafCommander::FEdit, "Edit", "GrafEdit", 0, &TGrafCommander::EditClick},
      {&TGrafCommander::FPrint, "Print", "GrafPrint", 0, &TGrafCommander::PrintClick},
      {&TGrafCommander::FCopy, "Copy", "GrafCopy", 0, &TGrafCommander::CopyClick},
      {&TGrafCommander::FSave, "Save", "GrafSave", 0, &TGrafCommander::SaveClick},
  };
  int p = 4;
  for (const TItem& it : items) {
    if (!it.Field) {
      auto* b = new TBevel(this);
      b->SetShape(bsLeftLine);
      b->SetBounds(p, 2, 2, Height() - 4);
      b->SetParent(this);
      p += 6;
      continue;
    }
    auto* b = new TSpeedButton(this);
    b->SetFlat(true);
    if (FVertical) b->SetBounds(4, p, 25, 25);
    else b->SetBounds(p, 4, 25, 25);
    b->SetParentShowHint(true);
    b->SetHint(it.Hint);
    b->SetGroupIndex(it.Group);
    if (it.Group == 2) b->SetAllowAllUp(true);
    if (std::unique_ptr<TBitmap> glyph = LoadResourceBitmap(it.Glyph)) b->Glyph()->Assign(glyph.get());
    auto click = it.Click;
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetParent(this);
    this->*(it.Field) = b;
    p += 29;
  }
  FLabel = new TLabel(this);
  FLabel->SetBounds(p, 12, 0, 0);
  FLabel->SetAutoSize(true);
  FLabel->Font()->SetName(DefaultFontName);
  FLabel->Font()->SetSize(DefaultFontSize);
  FLabel->Font()->SetColor(clNavy);
  FLabel->SetTransparent(true);
  FLabel->SetCaption("");
  FLabel->SetParent(this);
  FNormal->SetDown(true);
  EnableControls(FPanel != nullptr);
}

void TGrafCommander::ControlRemoved(TControl* Control) {
  for (TSpeedButton** b : {&FNormal, &FRotate, &FMove, &FZoom, &FDepth, &F3D, &FEdit, &FPrint, &FCopy, &FSave})
    if (*b == Control) *b = nullptr;
  if (Control == FLabel) FLabel = nullptr;
}

void TGrafCommander::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrafCommander::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == static_cast<TComponent*>(FChartEditor)) FChartEditor = nullptr;
  if (AComponent == static_cast<TComponent*>(FPreviewer)) FPreviewer = nullptr;
  if (auto* c = dynamic_cast<TControl*>(AComponent); c && c->Owner() == this) ControlRemoved(c);
}

void TGrafCommander::SetChartEditor(TChartEditor* Value) {
  if (Value == FChartEditor) return;
  if (FChartEditor) FChartEditor->RemoveFreeNotification(this);
  FChartEditor = Value;
  if (FChartEditor) FChartEditor->FreeNotification(this);
}

void TGrafCommander::SetPreviewer(TChartPreviewer* Value) {
  if (Value == FPreviewer) return;
  if (FPreviewer) FPreviewer->RemoveFreeNotification(this);
  FPreviewer = Value;
  if (FPreviewer) FPreviewer->FreeNotification(this);
}

void TGrafCommander::SetLabelValues(bool Value) {
  if (Value == FLabelValues) return;
  FLabelValues = Value;
  if (FLabel) FLabel->SetVisible(Value);
}

void TGrafCommander::EnableControls(bool Enable) {
  if (FDestroying) return;
  TCustomGrafCommander::EnableControls(Enable);
  const bool axis = Enable && dynamic_cast<TCustomAxisPanel*>(FPanel);
  for (TSpeedButton* b : {FDepth, FEdit, FSave})
    if (b) b->SetEnabled(axis);
  if (F3D) F3D->SetDown(FPanel && FPanel->View3D());
}

bool TGrafCommander::ChartMayUseMouse() {
  return !Pressed(FRotate) && !Pressed(FDepth) && !Pressed(FMove) && !Pressed(FZoom);
}

std::string TGrafCommander::PanelKind() const {
  return dynamic_cast<TCustomAxisPanel*>(FPanel) ? "Chart" : "Panel";
}

void TGrafCommander::ShowText(std::string Text) {
  if (OnSetLabel) OnSetLabel(this, Text);
  if (!FLabel) return;
  if (!FLabelValues || FVertical) {
    FLabel->SetVisible(false);
    return;
  }
  FLabel->SetVisible(true);
  FLabel->SetCaption(Text);
  FLabel->Repaint();
}

TPieSeries* TGrafCommander::FindPie(int X, int Y) {
  auto* chart = dynamic_cast<TCustomChart*>(FPanel);
  if (!EnablePieExploding || !chart) return nullptr;
  for (int i = chart->NumberOfSeries() - 1; i >= 0; --i) {
    TChartSeries* s = chart->SeriesAt(i);
    if (s->Active() && s->IndexAtPoint(X, Y) != -1) {
      if (auto* pie = dynamic_cast<TPieSeries*>(s)) return pie;
      break;
    }
  }
  for (int i = 0; i < chart->NumberOfSeries(); ++i)
    if (auto* pie = dynamic_cast<TPieSeries*>(chart->SeriesAt(i)); pie && pie->Active()) return pie;
  return nullptr;
}

void TGrafCommander::MouseDownAt(int X, int Y) {
  const bool normal = Pressed(FNormal);
  if (!normal && FPanel && FPanel->PanelCanvas() && FPanel->PanelCanvas()->RendersWithoutGdi())
    FDragPie = nullptr;
  else
    FDragPie = FindPie(X, Y);
  if (normal && !FDragPie) return;
  FDragging = true;
  LastX = X;
  LastY = Y;
  FDragSlice = FDragPie ? FDragPie->IndexAtPoint(X, Y) : -1;
}

void TGrafCommander::MouseUpAt() {
  FDragPie = nullptr;
  FDragging = false;
  FDragSlice = -1;
}

void TGrafCommander::To3D() {
  FPanel->SetView3D(true);
  if (F3D) F3D->SetDown(true);
}

namespace {
double Norm(double a) {
  if (a > 360) return a - 360;
  if (a < 0) return a + 360;
  return a;
}
}  // namespace

void TGrafCommander::DoRotate(int X, int Y, TShiftState Shift) {
  To3D();
  TView3DOptions* v = FPanel->View3DOptions();
  v->SetOrthogonal(false);
  const double dR = (X - LastX) * 90.0 / std::max(1, FPanel->Width());
  const double dE = (LastY - Y) * 90.0 / std::max(1, FPanel->Height());
  if (FPanel->PanelCanvas()->RendersWithoutGdi()) {
    if (Shift.Contains(ssShift)) {
      v->SetTilt(static_cast<int>(Round(Norm(v->Tilt() + dE))));
    } else {
      v->SetRotationFloat(Norm(v->RotationFloat() + dR));
      v->SetElevationFloat(Norm(v->ElevationFloat() + dE));
    }
  } else {
    if (FDragPie) {
      v->SetRotation(360);
      v->SetPerspective(0);
      if (dR != 0) FDragPie->SetRotationAngle(static_cast<int>(Round(Norm(FDragPie->RotationAngle() + dR))));
    } else {
      v->SetRotationFloat(NextRotationAngle(false, dR, v->RotationFloat()));
    }
    v->SetElevationFloat(NextElevationAngle(false, dE, v->ElevationFloat()));
  }
  LastX = X;
  LastY = Y;
}

void TGrafCommander::DoMove(int X, int Y) {
  To3D();
  TView3DOptions* v = FPanel->View3DOptions();
  v->SetHorizOffset(v->HorizOffset() + X - LastX);
  v->SetVertOffset(v->VertOffset() + Y - LastY);
  LastX = X;
  LastY = Y;
}

void TGrafCommander::DoZoom(int Y) {
  To3D();
  TView3DOptions* v = FPanel->View3DOptions();
  const double cw = FPanel->ChartArea.Width(), ch = FPanel->ChartArea.Height();
  const double diagonal = std::sqrt(cw * cw + ch * ch);
  const double d = diagonal > 0 ? (LastY - Y) * 10.0 / diagonal : 0;
  const double s = 10.0 * d * v->Zoom() / 100.0;
  if (d > 0) v->SetZoom(v->Zoom() + static_cast<int>(Round(std::max(s, 1.0))));
  else if (d < 0) v->SetZoom(std::max(1, v->Zoom() + static_cast<int>(Round(std::min(s, -1.0)))));
  LastY = Y;
}

void TGrafCommander::DoDepth(int X, int Y) {
  auto* axis = dynamic_cast<TCustomAxisPanel*>(FPanel);
  if (!axis) return;
  To3D();
  const double cw = FPanel->ChartArea.Width(), ch = FPanel->ChartArea.Height();
  const double diagonal = std::sqrt(cw * cw + ch * ch);
  if (diagonal <= 0) return;
  const double dx = LastX - X, dy = LastY - Y;
  const int n = static_cast<int>(Round(std::sqrt(dx * dx + dy * dy) * 200.0 / diagonal));
  if (n > 0) axis->SetChart3DPercent(std::min(n, 100));
}

void TGrafCommander::DoExplode(int X, int Y) {
  if (FDragSlice == -1 || !FDragPie) return;
  const double rx = FDragPie->RadiusX, ry = FDragPie->RadiusY;
  const double radius = std::sqrt(rx * rx + ry * ry);
  if (radius <= 0) return;
  const double dx = X - LastX, dy = Y - LastY;
  const int n = static_cast<int>(Round(std::sqrt(dx * dx + dy * dy) * 100.0 / radius));
  FDragPie->ExplodePercents()->SetItemValue(FDragSlice, std::min(n, 100));
}

void TGrafCommander::MouseMoveAt(int X, int Y, TShiftState Shift) {
  if (!FDragging || !FPanel) return;
  FDragging = false;
  struct TOn {
    bool& Flag;
    ~TOn() { Flag = true; }
  } on{FDragging};
  const bool ctrl = Shift.Contains(ssCtrl);
  if (!FNormal || Pressed(FNormal)) DoExplode(X, Y);
  else if (PressedButton() == mbRight) DoMove(X, Y);
  else if (Pressed(FRotate)) ctrl ? DoZoom(Y) : DoRotate(X, Y, Shift);
  else if (Pressed(FMove)) ctrl ? DoZoom(Y) : DoMove(X, Y);
  else if (Pressed(FZoom)) DoZoom(Y);
  else if (Pressed(FDepth)) DoDepth(X, Y);
  if (FLabelValues && !FVertical) RefreshLabel();
}

void TGrafCommander::RefreshLabel() {
  std::string text;
  TView3DOptions* v = FPanel ? FPanel->View3DOptions() : nullptr;
  if (!v) return;
  if (Pressed(FRotate)) {
    text = Format("Rotation: %d\xC2\xB0 Elevation: %d\xC2\xB0", {v->Rotation(), v->Elevation()});
  } else if (Pressed(FMove)) {
    text = Format("Horiz.Offset: %d Vert.Offset: %d", {v->HorizOffset(), v->VertOffset()});
  } else if (Pressed(FZoom)) {
    text = Format("Zoom: %d %%", {v->Zoom()});
  } else if (Pressed(FDepth)) {
    if (auto* axis = dynamic_cast<TCustomAxisPanel*>(FPanel)) text = Format("3D: %d %%", {axis->Chart3DPercent()});
  } else if (Pressed(FNormal) && FDragPie && FDragSlice != -1) {
    text = Format("Slice: %d Exploded: %d %%", {FDragSlice, FDragPie->ExplodePercents()->ItemValue(FDragSlice)});
  }
  ShowText(text);
}

void TGrafCommander::NormalClick(TObject*) {
  ShowText(FindPie(-1, -1) ? "Drag a Pie Slice to Explode it" : "Drag Left button to Zoom, Right button to Scroll");
}
void TGrafCommander::RotateClick(TObject*) { ShowText(Format("Drag %s to Rotate", {PanelKind()})); }
void TGrafCommander::MoveClick(TObject*) { ShowText(Format("Drag %s to Move", {PanelKind()})); }
void TGrafCommander::ZoomClick(TObject*) { ShowText(Format("Drag %s to Zoom", {PanelKind()})); }
void TGrafCommander::DepthClick(TObject*) { ShowText(Format("Drag %s to resize 3D", {PanelKind()})); }

void TGrafCommander::View3DClick(TObject*) {
  if (FPanel && F3D) FPanel->SetView3D(F3D->Down());
}

void TGrafCommander::EditClick(TObject*) {
  if (!FPanel) return;
  if (FChartEditor) FChartEditor->ShowEditor();
  else if (auto* chart = dynamic_cast<TCustomChart*>(FPanel)) EditChartWindow(this, chart);
  if (OnEditedChart) OnEditedChart(this, dynamic_cast<TCustomChart*>(FPanel));
  if (FPanel && F3D) F3D->SetDown(FPanel->View3D());
}

void TGrafCommander::PrintClick(TObject*) {
  if (FPreviewer) FPreviewer->ShowEditor();
  else if (FPanel) ShowChartPrintPreview(this, FPanel);
}

void TGrafCommander::CopyClick(TObject*) {
  if (FPanel) FPanel->CopyBitmapToClipboard();
}

void TGrafCommander::SaveClick(TObject*) {
  if (auto* chart = dynamic_cast<TCustomChart*>(FPanel)) {
    std::string name;
    SaveChartDialog(chart, name);
  }
}

void RegisterCommanderClasses() { RegisterClasses({&TGrafCommander::StaticClass()}); }
