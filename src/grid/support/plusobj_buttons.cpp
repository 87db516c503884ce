// The grid's buttons, pop-up button, arrow marker and file picture.
#include <algorithm>

#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "grid/support/psghtmle.h"
#include "platform/gfx/framectl.h"
#include "platform/ui/imglist.h"

namespace {

constexpr unsigned WM_THEMECHANGED_ = 0x031A;
constexpr unsigned CM_COLORSCHEMECHANGED = 0xB035;  // sent by the toolbars on a scheme change
constexpr int DropDownWidth = 12;

std::unique_ptr<TBitmap> CopyOf(const TBitmap* v) {
  auto b = std::make_unique<TBitmap>();
  if (v) b->Assign(v);
  return b;
}

}  // namespace

// ---- TFilePicture

ZV_CLASS_IMPL(TFilePicture, TPersistent)

void TFilePicture::DeclareProperties(TClassInfo& c) {
  c.String<TFilePicture>("Filename", &TFilePicture::Filename, &TFilePicture::SetFilename, std::string());
  c.Integer<TFilePicture>("Width", &TFilePicture::Width, &TFilePicture::SetWidth, 0);
  c.Integer<TFilePicture>("Height", &TFilePicture::Height, &TFilePicture::SetHeight, 0);
}

void TFilePicture::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFilePicture*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FFilename = s->FFilename;
  FWidth = s->FWidth;
  FHeight = s->FHeight;
}

void TFilePicture::SetFilename(const std::string& v) {
  FFilename = v;
  if (v.empty()) return;
  TPicture pic;
  pic.LoadFromFile(v);
  FWidth = pic.Width();
  FHeight = pic.Height();
}

void TFilePicture::Draw(TCanvas* Canvas, const TRect& R) {
  if (FFilename.empty() || !Canvas) return;
  TPicture pic;
  pic.LoadFromFile(FFilename);
  Canvas->StretchDraw(R, pic.Graphic());
}

// ---- TArrowWindow

ZV_CLASS_IMPL_NOPROPS(TArrowWindow, TCustomPanel)

TArrowWindow::TArrowWindow(TComponent* AOwner, int Direction) : TCustomPanel(AOwner), FDirection(Direction) {
  SetVisible(false);
  SetColor(clLime);
  SetBevelOuter(bvNone);
  if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) SetParent(parent);
  const bool vertical = Direction < 2;
  SetBounds(0, 0, vertical ? 11 : 9, vertical ? 10 : 11);
}

std::vector<TPoint> TArrowWindow::ArrowPoints(int Direction) {
  switch (Direction) {
    case 0: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case 1: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case 2: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    default: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
  }
}

void TArrowWindow::CreateWnd() {
  TCustomPanel::CreateWnd();
  const std::vector<TPoint> pts = ArrowPoints(FDirection);
  SetWindowRgn(Handle(), CreatePolygonRgn(pts, WINDING), true);
}

void TArrowWindow::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// ---- TPopupButton

ZV_CLASS_IMPL(TPopupButton, TCustomControl)

void TPopupButton::DeclareProperties(TClassInfo& c) {
  c.String<TPopupButton>("Caption", &TPopupButton::Caption, &TPopupButton::SetCaption, std::string());
  c.Boolean<TPopupButton>("Flat", &TPopupButton::Flat, &TPopupButton::SetFlat, false);
  c.Integer<TPopupButton>("GradFrom", &TPopupButton::GradFrom, &TPopupButton::SetGradFrom, clNone);
  c.Integer<TPopupButton>("GradTo", &TPopupButton::GradTo, &TPopupButton::SetGradTo, clNone);
}

TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clBtnFace); }

void TPopupButton::SetCaption(const std::string& v) {
  FCaption = v;
  Invalidate();
}
void TPopupButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}
void TPopupButton::SetGradFrom(TColor v) {
  FGradFrom = v;
  Invalidate();
}
void TPopupButton::SetGradTo(TColor v) {
  FGradTo = v;
  Invalidate();
}

void DrawPopupButtonCaption(TPopupButton* Button, TCanvas* Canvas, const TRect& R);

void TPopupButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (!FFlat) {
    TRect f = r;
    Frame3D(c, f, clWhite, clGray, 1);
  }
  if (FGradFrom != clNone) FillGradientRect(c, FGradFrom, FGradTo, false, r, 64);
  c->SetBkMode(TRANSPARENT);
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  DrawPopupButtonCaption(this, c, r);
}

// ---- TPlusGridButton

ZV_CLASS_IMPL(TPlusGridButton, TGraphicControl)

void TPlusGridButton::DeclareProperties(TClassInfo& c) {
  using T = TPlusGridButton;
#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
  ZV_INT(Color, clBtnFace)
  ZV_INT(ColorTo, clNone)
  ZV_INT(ColorHot, 0xCAC7C7)
  ZV_INT(ColorHotTo, clNone)
  ZV_INT(ColorDown, 0xD8D3D2)
  ZV_INT(ColorDownTo, clNone)
  ZV_INT(ColorChecked, 0x808080)
  ZV_INT(ColorCheckedTo, clNone)
  ZV_INT(BorderColor, clNone)
  ZV_INT(BorderHotColor, clNone)
  ZV_INT(BorderDownColor, clNone)
  ZV_BOOL(Flat, true)
  ZV_BOOL(Rounded, false)
  ZV_BOOL(Shaded, true)
  ZV_BOOL(ShowCaption, true)
  ZV_BOOL(Down, false)
  ZV_INT(GroupIndex, 0)
  ZV_BOOL(AllowAllUp, false)
  ZV_INT(Margin, -1)
  ZV_INT(Spacing, 4)
  ZV_BOOL(DropDownButton, false)
  ZV_BOOL(AutoXPStyle, false)
  ZV_BOOL(AutoThemeAdapt, false)
#undef ZV_INT
#undef ZV_BOOL
  static const TEnumInfo styles{"TPlusGridButtonStyle", {"tasButton", "tasCheck"}, 0};
  c.Enum<T>("Style", styles, [](T* b) { return static_cast<int64_t>(b->Style()); },
            [](T* b, int64_t v) { b->SetStyle(static_cast<TPlusGridButtonStyle>(v)); }, tasButton);
  static const TEnumInfo layouts{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, 0};
  c.Enum<T>("Layout", layouts, [](T* b) { return static_cast<int64_t>(b->Layout()); },
            [](T* b, int64_t v) { b->SetLayout(static_cast<TButtonLayout>(v)); }, blGlyphLeft);
}

TPlusGridButton::TPlusGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FGlyphShadow(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csDoubleClicks};
  FWidth = 22;
  FHeight = 23;
}

TPlusGridButton::~TPlusGridButton() { Destroying(); }

void TPlusGridButton::SetShaded(bool v) {
  FShaded = v;
  if (v && !ComponentState().Contains(csLoading)) MakeGlyphShadow();
  Invalidate();
}

void TPlusGridButton::SetMargin(int v) {
  if (v < -1) return;
  FMargin = v;
  Invalidate();
}

void TPlusGridButton::SetGlyph(const TBitmap* v) {
  FGlyph = CopyOf(v);
  if (FGlyphDisabled->Empty()) MakeDisabledGlyph();
  if (FShaded) MakeGlyphShadow();
  Invalidate();
}
void TPlusGridButton::SetGlyphHot(const TBitmap* v) { FGlyphHot = CopyOf(v); Invalidate(); }
void TPlusGridButton::SetGlyphDown(const TBitmap* v) { FGlyphDown = CopyOf(v); Invalidate(); }
void TPlusGridButton::SetGlyphDisabled(const TBitmap* v) { FGlyphDisabled = CopyOf(v); Invalidate(); }

void TPlusGridButton::SetDropDownMenu(TPopupMenu* v) {
  FDropDownMenu = v;
  if (v) v->FreeNotification(this);
}

void TPlusGridButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TPlusGridButton::Loaded() {
  TGraphicControl::Loaded();
  if (FShaded) MakeGlyphShadow();
  if (FAutoThemeAdapt) ApplyColorSet(ColorSetForScheme(CurrentThemeColorName()));
}

void TPlusGridButton::SetGroupIndex(int v) {
  if (FGroupIndex == v) return;
  FGroupIndex = v;
  if (FDown && FParent) {
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TPlusGridButton*>(FParent->Controls(i)); b && b != this)
        b->ButtonPressed(FGroupIndex, this);
  }
}

void TPlusGridButton::SetAllowAllUp(bool v) {
  if (FAllowAllUp == v) return;
  FAllowAllUp = v;
  if (FParent)
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TPlusGridButton*>(FParent->Controls(i));
          b && b != this && FGroupIndex != 0 && b->FGroupIndex == FGroupIndex)
        b->FAllowAllUp = v;
}

void TPlusGridButton::SetDown(bool v) {
  if (FStyle == tasCheck) {
    FDown = v;
    Invalidate();
    return;
  }
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  if (v) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Invalidate();
  }
  if (v && FParent) {
    // CM_BUTTONPRESSED to the group: the buttons that are down go up.
    for (int i = 0; i < FParent->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TPlusGridButton*>(FParent->Controls(i)); b && b != this)
        b->ButtonPressed(FGroupIndex, this);
  }
}

void TPlusGridButton::ButtonPressed(int Group, TPlusGridButton* Sender) {
  if (Group != FGroupIndex || Sender == this || Group == 0) return;
  if (Sender->FDown && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = Sender->FAllowAllUp;
}

void TPlusGridButton::SetAutoThemeAdapt(bool v) {
  FAutoThemeAdapt = v;
  if (v) ApplyColorSet(ColorSetForScheme(CurrentThemeColorName()));
  Invalidate();
}

int TPlusGridButton::ColorSetForScheme(const std::string& SchemeName) {
  if (SchemeName == "NormalColor") return 2;
  if (SchemeName == "HomeStead") return 3;
  if (SchemeName == "Metallic") return 4;
  return 1;
}

void TPlusGridButton::ApplyColorSet(int Set) {
  struct TSet {
    TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown;
  };
  static const TSet sets[4] = {
      {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31},
      {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0},
      {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0},
      {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0},
  };
  const TSet& s = sets[std::clamp(Set, 1, 4) - 1];
  FColor = s.Color;
  FColorTo = s.ColorTo;
  FColorHot = s.Hot;
  FColorHotTo = s.HotTo;
  FColorDown = s.Down;
  FColorDownTo = s.DownTo;
  FColorChecked = s.Checked;
  FColorCheckedTo = s.CheckedTo;
  FBorderDownColor = s.BorderDown;
  FBorderHotColor = s.BorderDown;
  FBorderColor = clNone;
  FRounded = false;
  FFlat = true;
  Invalidate();
}

void TPlusGridButton::MakeGlyphShadow() {
  if (FGlyph->Empty()) return;
  const int w = FGlyph->Width(), h = FGlyph->Height();
  auto shadow = std::make_unique<TBitmap>(w, h, pf32bit);
  TCanvas* g = FGlyph->Canvas();
  const TColor key = g->Pixels(0, h - 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Black where the glyph has content, the transparent colour elsewhere;
      // then black becomes grey.
      const TColor p = g->Pixels(x, y);
      shadow->Canvas()->SetPixels(x, y, p == key ? key : clGray);
    }
  FGlyphShadow = std::move(shadow);
}

void TPlusGridButton::MakeDisabledGlyph() {
  if (FGlyph->Empty()) return;
  const int w = FGlyph->Width(), h = FGlyph->Height();
  auto d = std::make_unique<TBitmap>(w, h, pf32bit);
  TCanvas* g = FGlyph->Canvas();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColor p = g->Pixels(x, y);
      const int level = (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3 / 2 + 96;
      d->Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(level, level, level)));
    }
  FGlyphDisabled = std::move(d);
}

void TPlusGridButton::DrawGradient(TCanvas* C, TColor From, TColor To, TColor Border, const TRect& R) {
  FillGradientRect(C, From, To, false, R, 16);
  if (Border != clNone) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(Border);
    C->Rectangle(R);
  }
}

void TPlusGridButton::Paint() {
  TCanvas* c = Canvas();
  const bool designing = ComponentState().Contains(csDesigning);
  if (!FEnabled) {
    FState = bsDisabled;
    FPressed = false;
  } else if (FState == bsDisabled) {
    FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
  }
  if (FStyle == tasCheck && FDown) FState = bsDown;
  TRect r = ClientRect();
  auto face = [&](TColor from, TColor to, TColor pen, const TRect& rr) {
    if (to == clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(from);
      c->Pen()->SetColor(pen == clNone ? from : pen);
      c->Rectangle(rr);
    } else {
      DrawGradient(c, from, to, pen, rr);
    }
  };
  if (FFlat) {
    if (FBorderDownColor == clNone || FRounded) r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    if (!FHot || FState == bsDisabled || designing) {
      if (FStyle == tasCheck && FDown) {
        face(FColorChecked, FColorCheckedTo, FBorderDownColor, r);
      } else if (FColorTo == clNone) {
        face(FColor, clNone, clNone, r);
      } else {
        face(FColor, FColorTo, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor), r);
      }
      if (FBorderColor != clNone) {
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetColor(FBorderColor);
        if (FRounded)
          c->RoundRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1, 8, 8);
        else
          c->Rectangle(r);
      }
    } else {
      TColor from = FColorHot, to = FColorHotTo, pen = FBorderHotColor;
      if (FState == bsDown) { from = FColorDown; to = FColorDownTo; pen = FBorderDownColor; }
      if (FStyle == tasCheck && FDown && !FPressed) { from = FColorChecked; to = FColorCheckedTo; pen = FBorderDownColor; }
      face(from, to, FRounded ? clNone : pen, r);
      const TColor border = FState == bsDown ? FBorderDownColor : FBorderHotColor;
      if (FRounded && border != clNone) {
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetColor(border);
        c->RoundRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1, 8, 8);
      }
      if (FDropDownButton && border != clNone) {
        c->Pen()->SetColor(border);
        c->MoveTo(r.Right - DropDownWidth, r.Top);
        c->LineTo(r.Right - DropDownWidth, r.Bottom);
      }
    }
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  } else {
    const bool pressed = FState == bsDown || FState == bsExclusive;
    if (FAutoXPStyle && IsWinXP() && ThemesActive()) {
      HTHEME t = OpenThemeData(FParent ? FParent->Handle() : 0, u"button");
      TRect tr = r;
      DrawThemeBackground(t, c, 1, pressed ? 3 : (FHot ? 2 : 1), &tr, nullptr);
      CloseThemeData(t);
    } else {
      DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    }
  }
  TPoint offset{0, 0};
  if (FState == bsDown || FState == bsExclusive) {
    if (FState == bsExclusive && (!FFlat || !FHot)) {
      const TRect g = Rect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
      face(FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor, g);
    }
    if (!FFlat && !designing) offset = {1, 1};
  } else if (FFlat && FHot && FEnabled && FShaded && !FPressed) {
    offset = {-1, -1};
  }
  if (FDropDownButton) {
    const int mid = (r.Top + r.Bottom) / 2;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Font()->Color());
    c->Pen()->SetColor(Font()->Color());
    const TPoint tri[3] = {{r.Right - 8, mid - 1}, {r.Right - 4, mid - 1}, {r.Right - 6, mid + 1}};
    c->Polygon(tri, 3);
    r.Right -= DropDownWidth;
  }
  DrawButtonContent(c, r, offset);
}

void TPlusGridButton::DrawButtonContent(TCanvas* C, TRect R, TPoint Offset) {
  C->SetFont(Font());
  const bool pressed = FState == bsDown || FState == bsExclusive;
  TBitmap* glyph = FGlyph.get();
  if (pressed && !FGlyphDown->Empty()) glyph = FGlyphDown.get();
  else if (FHot && !FGlyphHot->Empty() && !ComponentState().Contains(csDesigning)) glyph = FGlyphHot.get();
  if (!FEnabled && !FGlyphDisabled->Empty()) glyph = FGlyphDisabled.get();
  const TSize gs = glyph->Empty() ? TSize{} : TSize{glyph->Width(), glyph->Height()};
  const std::string caption = Text();
  TSize ts{};
  if (!caption.empty()) {
    TRect m = Rect(0, 0, R.Right - R.Left, 0);
    C->DrawText(caption, m, DT_CALCRECT | DT_SINGLELINE);
    ts = {m.Right - m.Left, m.Bottom - m.Top};
  }
  const int w = R.Right - R.Left, h = R.Bottom - R.Top;
  TButtonLayout layout = FLayout;
  TPoint gp, tp;
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  if (horizontal) {
    gp.Y = (h - gs.cy + 1) / 2;
    tp.Y = (h - ts.cy + 1) / 2;
  } else {
    gp.X = (w - gs.cx + 1) / 2;
    tp.X = (w - ts.cx + 1) / 2;
  }
  int margin = FMargin, spacing = FSpacing;
  if (gs.cx == 0 || ts.cx == 0) spacing = 0;
  const int room = horizontal ? w : h;
  const int gsz = horizontal ? gs.cx : gs.cy, tsz = horizontal ? ts.cx : ts.cy;
  if (margin == -1 && spacing == -1) {
    margin = spacing = (room - gsz - tsz) / 3;
  } else if (margin == -1) {
    margin = (room - gsz - spacing - tsz + 1) / 2;
  } else if (spacing == -1) {
    spacing = (room - margin - gsz - tsz) / 2;
  }
  switch (layout) {
    case blGlyphLeft: gp.X = margin; tp.X = gp.X + gs.cx + spacing; break;
    case blGlyphRight: gp.X = w - margin - gs.cx; tp.X = gp.X - spacing - ts.cx; break;
    case blGlyphTop: gp.Y = margin; tp.Y = gp.Y + gs.cy + spacing; break;
    case blGlyphBottom: gp.Y = h - margin - gs.cy; tp.Y = gp.Y - spacing - ts.cy; break;
  }
  if (caption.empty()) gp = {0, 0};
  gp = {gp.X + R.Left + Offset.X, gp.Y + R.Top + Offset.Y};
  tp = {tp.X + R.Left + Offset.X, tp.Y + R.Top + Offset.Y};
  if (!glyph->Empty()) {
    if (FHot && FShaded && FEnabled && !FPressed && !FGlyphShadow->Empty()) {
      FGlyphShadow->SetTransparent(true);
      const TPoint sp = caption.empty() ? gp : TPoint{gp.X + 2, gp.Y + 2};
      C->Draw(sp.X, sp.Y, FGlyphShadow.get());
    }
    glyph->SetTransparentMode(tmAuto);
    glyph->SetTransparent(true);
    C->Draw(gp.X, gp.Y, glyph);
  }
  if (FShowCaption && !caption.empty()) {
    if (FHot && FShaded && FFlat && !FPressed) tp = {tp.X + 1, tp.Y + 1};
    C->Brush()->SetStyle(bsClear);
    TRect tr = Rect(tp.X, tp.Y, tp.X + ts.cx, tp.Y + ts.cy);
    if (!FEnabled) {
      TRect hr = Rect(tr.Left + 1, tr.Top + 1, tr.Right + 1, tr.Bottom + 1);
      C->Font()->SetColor(clBtnHighlight);
      C->DrawText(caption, hr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      C->Font()->SetColor(clBtnShadow);
    }
    C->DrawText(caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TPlusGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !FEnabled) return;
  if (FDropDownButton && X >= FWidth - DropDownWidth) {
    FState = bsUp;
    FHot = false;
    Invalidate();
    if (OnDropDown) OnDropDown(this);
    if (FDropDownMenu) {
      const TPoint p = ClientToScreen({0, FHeight});
      FDropDownMenu->Popup(p.X, p.Y);
    }
    return;
  }
  if (!FDown || FStyle == tasCheck) {
    FState = bsDown;
    Invalidate();
  }
  FPressed = true;
}

void TPlusGridButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FPressed) return;
  TButtonState s = FDown ? bsExclusive : bsUp;
  if (X >= 0 && X < FWidth && Y >= 0 && Y <= FHeight) s = FDown ? bsExclusive : bsDown;
  if (FStyle == tasCheck && FDown) s = bsDown;
  if (s != FState) {
    FState = s;
    Invalidate();
  }
}

void TPlusGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FPressed) return;
  FPressed = false;
  const bool inside = X >= 0 && X < FWidth && Y >= 0 && Y <= FHeight;
  if (FGroupIndex == 0) {
    FState = bsUp;
    FHot = false;
    if (FStyle == tasCheck) {
      FDown = !FDown;
      FState = FDown ? bsDown : bsUp;
    }
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
  FHot = FFlat && IsMouseInside();
}

void TPlusGridButton::Click() { TGraphicControl::Click(); }

void TPlusGridButton::WMLButtonDblClk(TMessage& M) {
  // A double click counts only on a button that is down.
  if (FDown) TGraphicControl::WMLButtonDblClk(M);
}

void TPlusGridButton::CMMouseEnter(TMessage& M) {
  TGraphicControl::CMMouseEnter(M);
  FMouseInControl = true;
  if (FFlat && FEnabled && !FHot && (!GetCaptureControl() || GetCaptureControl() == this)) {
    FHot = true;
    Invalidate();
  }
}

void TPlusGridButton::CMMouseLeave(TMessage& M) {
  TGraphicControl::CMMouseLeave(M);
  FMouseInControl = false;
  if (FFlat && FEnabled && FHot && !FPressed) {
    FHot = false;
    Invalidate();
  }
}

void TPlusGridButton::CMEnabledChanged(TMessage& M) {
  TGraphicControl::CMEnabledChanged(M);
  FHot = FEnabled && FFlat && FMouseInControl;
  Invalidate();
}

void TPlusGridButton::CMTextChanged(TMessage& M) {
  TGraphicControl::CMTextChanged(M);
  Invalidate();
}

void TPlusGridButton::CMFontChanged(TMessage& M) {
  TGraphicControl::CMFontChanged(M);
  Invalidate();
}

void TPlusGridButton::CMSysColorChange(TMessage& M) {
  TGraphicControl::CMSysColorChange(M);
  Invalidate();
}

void TPlusGridButton::WndProc(TMessage& M) {
  if ((M.Msg == WM_THEMECHANGED_ || M.Msg == CM_COLORSCHEMECHANGED) && FAutoThemeAdapt)
    ApplyColorSet(ColorSetForScheme(CurrentThemeColorName()));
  TGraphicControl::WndProc(M);
}

void DrawPopupButtonCaption(TPopupButton* Button, TCanvas* Canvas, const TRect& R) {
  const std::string& caption = Button->Caption();
  if (caption.find("</") == std::string::npos) {
    TRect r = R;
    Canvas->DrawText(caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    return;
  }
  THTMLDrawOptions o;
  o.Images = Button->Images();
  o.X = o.Y = 2;
  o.FocusLink = -1;
  o.HoverLink = -1;
  o.ShadowOffset = 2;
  o.BlinkOn = false;
  o.WordWrap = false;
  o.URLColor = 0xFF0000;
  o.ShadowColor = 0x808080;
  DrawHTML(Canvas, caption, R, o);
}
