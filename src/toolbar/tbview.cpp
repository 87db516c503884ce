#include "toolbar/tbview.h"

#include <algorithm>
#include <climits>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/edges.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbacc.h"
#include "toolbar/tbcommon.h"

void DestroyPopupWindow(TTBPopupWindow* W);

namespace {

constexpr int kDefaultBaseWidth = 23, kDefaultBaseHeight = 22;
constexpr int kLineSepThickness = 6;
constexpr int kScrollArrowZone = 19;
constexpr int kMaxGroupLevel = 10;

int MenuCheckWidth() { return SystemSettings().MenuCheckWidth; }
int MenuCheckHeight() { return SystemSettings().MenuCheckHeight; }

TTextMetric Metrics(TCanvas* c) {
  TTextMetric tm;
  c->GetTextMetrics(tm);
  return tm;
}

bool IsSeparator(const TTBItemViewer* v) { return (v->Item->ItemStyle() & tbisSeparator) != 0; }

}  // namespace

// ---------------------------------------------------------------------------
// The shared menu font

namespace {
std::unique_ptr<TFont>& MenuFontRef() {
  static std::unique_ptr<TFont> f;
  return f;
}
}  // namespace

TFont* ToolbarMenuFont() {
  if (!MenuFontRef()) UpdateToolbarMenuFont();
  return MenuFontRef().get();
}

void UpdateToolbarMenuFont() {
  if (!MenuFontRef()) MenuFontRef() = std::make_unique<TFont>();
  MenuFontRef()->SetName(SystemSettings().MenuFontName);
  MenuFontRef()->SetHeight(SystemSettings().MenuFontHeight);
  MenuFontRef()->SetColor(clMenuText);
}

// ---------------------------------------------------------------------------
// Item hooks

TTBItemViewer* TTBCustomItem::NewViewer(TTBView* AView, int AGroupLevel) {
  return new TTBItemViewer(AView, this, AGroupLevel);
}

TTBItemViewer* TTBSeparatorItem::NewViewer(TTBView* AView, int AGroupLevel) {
  return new TTBSeparatorItemViewer(AView, this, AGroupLevel);
}

// ---------------------------------------------------------------------------
// Viewers

TTBItemViewer::TTBItemViewer(TTBView* AView, TTBCustomItem* AItem, int AGroupLevel)
    : GroupLevel(AGroupLevel), Item(AItem), View(AView) {}

TTBItemViewer::~TTBItemViewer() {
  if (AccObject) AccObject->ClientIsDestroying();
}

std::string TTBItemViewer::GetCaptionText() const {
  const std::string& c = Item->Caption();
  size_t tab = c.find('\t');
  return tab == std::string::npos ? c : c.substr(0, tab);
}

bool TTBItemViewer::IsToolbarStyle() {
  return View->IsToolbar() || Item->EffectiveOptions().Contains(tboToolbarStyle);
}

bool TTBItemViewer::IsToolbarSize() {
  return View->IsToolbar() || Item->EffectiveOptions().Contains(tboToolbarSize);
}

bool TTBItemViewer::CaptionShown() {
  if (!GetCaptionText().empty()) {
    return !(IsToolbarSize() && Item->ImageIndex() >= 0 &&
             (Item->DisplayMode() == nbdmDefault || Item->DisplayMode() == nbdmTextOnlyInMenus));
  }
  return Item->EffectiveOptions().Contains(tboImageAboveCaption);
}

bool TTBItemViewer::ImageShown() {
  TTBItemDisplayMode m = Item->DisplayMode();
  return (Item->ImageIndex() >= 0 && (m == nbdmDefault || m == nbdmImageAndText)) ||
         (IsToolbarStyle() && m == nbdmTextOnlyInMenus);
}

TCustomImageList* TTBItemViewer::GetImageList() {
  if (Item->Images()) return Item->Images();
  for (TTBView* v = View; v; v = v->ParentView()) {
    if (v->RootItem() && v->RootItem()->SubMenuImages()) return v->RootItem()->SubMenuImages();
    if (v->ParentItem() && v->ParentItem()->SubMenuImages()) return v->ParentItem()->SubMenuImages();
  }
  return nullptr;
}

bool TTBItemViewer::IsRotated() {
  return View->Orientation() == tbvoVertical && !Item->EffectiveOptions().Contains(tboNoRotation) &&
         !Item->EffectiveOptions().Contains(tboImageAboveCaption);
}

bool TTBItemViewer::UsesSameWidth() {
  auto o = Item->EffectiveOptions();
  return o.Contains(tboImageAboveCaption) && o.Contains(tboSameWidth) && IsToolbarSize();
}

bool TTBItemViewer::IsPtInButtonPart(int X, int) {
  if (Item->ItemStyle() & tbisCombo) return X < BoundsRect.Width() - (IsToolbarStyle() ? 11 : MenuCheckWidth());
  return !(Item->ItemStyle() & tbisSubmenu);
}

int TTBItemViewer::GetAccRole() {
  if (dynamic_cast<TTBControlItem*>(Item)) return 10;
  if (IsSeparator(this)) return 21;
  if (View->IsPopup() || (View->Style() & vsMenuBar)) return 12;
  return (Item->ItemStyle() & tbisSubmenu) ? 57 : 43;
}

void TTBItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
  bool toolbarStyle = IsToolbarStyle();
  AWidth = AHeight = toolbarStyle ? 6 : 0;
  TTextMetric tm = Metrics(Canvas);
  if (!toolbarStyle || CaptionShown()) {
    int textWidth = TextWidthOf(Canvas, GetCaptionText(), true);
    if (IsRotated()) {
      AWidth += tm.tmHeight;
      AHeight += textWidth + (toolbarStyle ? 6 : 0);
    } else {
      AHeight += tm.tmHeight;
      AWidth += textWidth + (toolbarStyle ? 6 : 0);
    }
  }
  TCustomImageList* images = GetImageList();
  if (toolbarStyle && ImageShown() && images) {
    if (IsRotated() || Item->EffectiveOptions().Contains(tboImageAboveCaption)) {
      AHeight += images->Height();
      AWidth = std::max(AWidth, images->Width() + 7);
    } else {
      AWidth += images->Width() + 1;
      AHeight = std::max(AHeight, images->Height() + 6);
    }
  }
  if (toolbarStyle && (Item->ItemStyle() & tbisSubmenu)) {
    if (Item->ItemStyle() & tbisCombo) AWidth += 11;
    else if (Item->EffectiveOptions().Contains(tboDropdownArrow)) {
      if (View->Orientation() == tbvoVertical) AHeight += 8;
      else AWidth += 8;
    }
  }
  if (!toolbarStyle) {
    AHeight += tm.tmExternalLeading + 4;
    int column;
    if (images) {
      AHeight = std::max(AHeight, images->Height() + 3);
      column = MulDiv(images->Width() + 3, AHeight, images->Height() + 3);
    } else {
      column = AHeight;
    }
    AWidth += column + 6;
    std::string sc = Item->GetShortCutText();
    if (!sc.empty()) AWidth += TextWidthOf(Canvas, sc, true) + AHeight - 6;
    AWidth += AHeight;
  }
}

namespace {
// Turns a picture a quarter to the right (clockwise).
void RotateRight(TBitmap& src, TBitmap& dst) {
  int w = src.Width(), h = src.Height();
  dst.SetPixelFormat(pf32bit);
  dst.SetSize(h, w);
  for (int y = 0; y < h; ++y) {
    uint8_t* s = src.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      uint8_t* d = dst.ScanLine(x) + 4 * (h - 1 - y);
      for (int k = 0; k < 4; ++k) d[k] = s[4 * x + k];
    }
  }
}
}  // namespace

void TTBItemViewer::DrawItemCaption(TCanvas* Canvas, TRect ARect, unsigned ADrawTextFlags, bool ACanvasHasShadow,
                                    const std::string& AText) {
  if (!IsRotated()) {
    DrawCaptionLine(Canvas, ARect, ADrawTextFlags, ACanvasHasShadow, AText);
    return;
  }
  // Vertical toolbars: the caption reads downward, centred in the rectangle.
  TTextMetric tm = Metrics(Canvas);
  int tw = TextWidthOf(Canvas, AText, true) + 1;
  int th = tm.tmHeight + 1;
  TBitmap flat(tw, th, pf32bit);
  TCanvas* fc = flat.Canvas();
  fc->Font()->Assign(Canvas->Font());
  const TColor key = 0x030201;
  fc->Brush()->SetColor(key);
  fc->FillRect(TRect(0, 0, tw, th));
  DrawCaptionLine(fc, TRect(0, 0, tw, th), (ADrawTextFlags & ~(DT_CENTER | DT_VCENTER)) | DT_LEFT,
                  ACanvasHasShadow, AText);
  TBitmap turned;
  RotateRight(flat, turned);
  turned.SetTransparentMode(tmFixed);
  turned.SetTransparentColor(key);
  turned.SetTransparent(true);
  int x = ARect.Left + (ARect.Width() - th) / 2;
  int y = ARect.Top + (ARect.Height() - tw) / 2;
  Canvas->Draw(x, y, &turned);
}

void TTBItemViewer::DrawCaptionLine(TCanvas* Canvas, TRect ARect, unsigned ADrawTextFlags, bool ACanvasHasShadow,
                                    const std::string& AText) {
  Canvas->Brush()->SetStyle(bsClear);
  TColor old = Canvas->Font()->Color();
  auto draw = [&](TRect r) {
    // Accelerators are underlined by hand unless hidden.
    bool hide = (ADrawTextFlags & DT_NOPREFIX) == 0 && (ADrawTextFlags & DT_HIDEPREFIX) != 0;
    Canvas->DrawText(AText, r, ADrawTextFlags & ~DT_HIDEPREFIX);
    if (!hide && !(ADrawTextFlags & DT_NOPREFIX)) {
      // Find the accelerator's position in the text as drawn.
      std::string shown;
      int accelAt = -1;
      for (size_t i = 0; i < AText.size(); ++i) {
        if (AText[i] == '&') {
          if (i + 1 < AText.size() && AText[i + 1] == '&') {
            shown += '&';
            ++i;
            continue;
          }
          if (i + 1 < AText.size()) accelAt = static_cast<int>(shown.size());
          continue;
        }
        shown += AText[i];
      }
      if (accelAt >= 0) {
        int total = Canvas->TextWidth(shown);
        int x0 = r.Left;
        if (ADrawTextFlags & DT_CENTER) x0 = r.Left + (r.Width() - total) / 2;
        else if (ADrawTextFlags & DT_RIGHT) x0 = r.Right - total;
        TTextMetric tm = Metrics(Canvas);
        int y0 = r.Top;
        if (ADrawTextFlags & DT_VCENTER) y0 = r.Top + (r.Height() - tm.tmHeight) / 2;
        int xs = x0 + Canvas->TextWidth(shown.substr(0, accelAt));
        int xe = xs + Canvas->TextWidth(shown.substr(accelAt, 1));
        int y = y0 + tm.tmAscent + 1;
        Canvas->Pen()->SetColor(Canvas->Font()->Color());
        Canvas->MoveTo(xs, y);
        Canvas->LineTo(xe, y);
      }
    }
  };
  if (ACanvasHasShadow) {
    Canvas->Font()->SetColor(clBtnHighlight);
    TRect r = ARect;
    r.Left += 1;
    r.Right += 1;
    r.Top += 1;
    r.Bottom += 1;
    draw(r);
    Canvas->Font()->SetColor(clBtnShadow);
  }
  draw(ARect);
  Canvas->Font()->SetColor(old);
}

void TTBItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                          bool UseDisabledShadow) {
  const bool toolbarStyle = IsToolbarStyle();
  const bool vertical = View->Orientation() == tbvoVertical;
  const bool enabledLook = Item->Enabled() || View->Customizing();
  const bool combo = (Item->ItemStyle() & tbisCombo) != 0;
  const bool submenu = (Item->ItemStyle() & tbisSubmenu) != 0;
  const bool designing = Item->ComponentState().Contains(csDesigning);
  TCustomImageList* images = GetImageList();
  TRect r = ClientAreaRect;
  TTextMetric tm = Metrics(Canvas);
  int column = 0;
  TRect arrow;
  bool hasArrow = false;

  if (!toolbarStyle) {
    column = images ? MulDiv(images->Width() + 3, r.Height(), images->Height() + 3) : r.Height();
  } else {
    hasArrow = submenu && (combo || Item->EffectiveOptions().Contains(tboDropdownArrow));
    if (hasArrow) {
      if (combo) {
        r.Right -= 2;
        arrow = r;
        arrow.Left = r.Right - 9;
        r.Right -= 9;
      } else if (vertical) {
        arrow = TRect(0, r.Bottom - 11, r.Right, r.Bottom - 3);
      } else {
        arrow = TRect(r.Right - 11, 0, r.Right - 3, r.Bottom);
      }
    }
    if ((IsSelected && enabledLook) || Item->Checked() || designing) {
      TRect e = r;
      if (combo) {
        bool sunk = (IsPushed && View->Capture()) || Item->Checked();
        DrawEdge(Canvas, e, sunk ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        if ((IsSelected && enabledLook) || designing) {
          TRect d = arrow;
          DrawEdge(Canvas, d, (IsPushed && !View->Capture()) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
      } else {
        DrawEdge(Canvas, e, (IsPushed || Item->Checked()) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
      }
    }
    if (hasArrow) {
      TRect d = arrow;
      if (IsPushed && !combo) {
        d.Left += 1;
        d.Right += 1;
        d.Top += 1;
        d.Bottom += 1;
      }
      int cx = (d.Left + d.Right) / 2, cy = (d.Top + d.Bottom) / 2;
      std::vector<TPoint> tri = (vertical && !combo)
                                    ? std::vector<TPoint>{TPoint(cx - 1, cy + 2), TPoint(cx - 1, cy - 2), TPoint(cx - 3, cy)}
                                    : std::vector<TPoint>{TPoint(cx - 2, cy - 1), TPoint(cx + 2, cy - 1), TPoint(cx, cy + 1)};
      auto drawTri = [&](TColor c, int dx) {
        std::vector<TPoint> p = tri;
        for (auto& q : p) {
          q.X += dx;
          q.Y += dx;
        }
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(c);
        Canvas->Polygon(p);
      };
      if (UseDisabledShadow) {
        drawTri(clBtnHighlight, 1);
        drawTri(clBtnShadow, 0);
      } else {
        drawTri(Canvas->Font()->Color(), 0);
      }
    }
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
    if (Item->Checked() && !(IsSelected && enabledLook)) {
      auto brush = NewHalftoneBrush();
      Canvas->Brush()->Assign(brush.get());
      Canvas->FillRect(r);
      Canvas->Brush()->SetStyle(bsSolid);
    }
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
    if (Item->Checked() || (IsSelected && IsPushed && (!combo || View->Capture()))) {
      r.Left += 1;
      r.Right += 1;
      r.Top += 1;
      r.Bottom += 1;
    }
    if (hasArrow && !combo) {
      if (vertical) r.Bottom -= 8;
      else r.Right -= 8;
    }
  }

  if (!toolbarStyle && IsSelected) {
    TRect h = r;
    if (ImageShown() || Item->Checked()) h.Left = column + 1;
    if (combo && enabledLook) h.Right -= MenuCheckWidth();
    Canvas->FillRect(h);
  }

  bool imageShown = ImageShown() && images;
  if (CaptionShown()) {
    unsigned format = DT_SINGLELINE | DT_VCENTER;
    if (!KeyboardCuesOn() && (View->Style() & vsUseHiddenAccels) && !(View->State() & vsShowAccels))
      format |= DT_HIDEPREFIX;
    TRect t = r;
    if (!toolbarStyle) {
      t.Left = column + 3;
      t.Top += tm.tmExternalLeading;
      if (t.Height() - tm.tmHeight - tm.tmExternalLeading == 4) t.Bottom -= 1;
    } else {
      format |= DT_CENTER;
      if (imageShown) {
        if (IsRotated() || Item->EffectiveOptions().Contains(tboImageAboveCaption))
          t.Top += images->Height() + 1;
        else
          t.Left += images->Width() + 1;
      }
    }
    TFontStyles oldStyle = Canvas->Font()->Style();
    if (Item->EffectiveOptions().Contains(tboDefault)) Canvas->Font()->SetStyle(TFontStyles(oldStyle).Include(fsBold));
    DrawItemCaption(Canvas, t, format, UseDisabledShadow, GetCaptionText());
    Canvas->Font()->SetStyle(oldStyle);
  }

  if (!toolbarStyle) {
    std::string sc = Item->GetShortCutText();
    if (!sc.empty()) {
      TRect t = r;
      int w = Canvas->TextWidth(sc);
      t.Left = r.Right - r.Height() - w;
      t.Right = r.Right - r.Height();
      t.Top += tm.tmExternalLeading;
      if (t.Height() - tm.tmHeight - tm.tmExternalLeading == 4) t.Bottom -= 1;
      DrawItemCaption(Canvas, t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, UseDisabledShadow, sc);
    }
    if (submenu) {
      TRect col(r.Right - MenuCheckWidth(), r.Top, r.Right, r.Bottom);
      if (combo) {
        TRect e = col;
        if (IsSelected && enabledLook) DrawEdge(Canvas, e, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE);
        else DrawEdge(Canvas, e, IsSelected ? BDR_SUNKENOUTER : EDGE_ETCHED, BF_LEFT);
      }
      TRect g(r.Right - MenuCheckWidth(), r.Top + (r.Height() - MenuCheckHeight()) / 2, r.Right,
              r.Top + (r.Height() - MenuCheckHeight()) / 2 + MenuCheckHeight());
      if (UseDisabledShadow) {
        TRect g1 = g;
        g1.Left += 1;
        g1.Right += 1;
        g1.Top += 1;
        g1.Bottom += 1;
        DrawFrameGlyph(Canvas, g1, fgMenuArrow, clBtnHighlight);
        DrawFrameGlyph(Canvas, g, fgMenuArrow, clBtnShadow);
      } else if (combo && IsSelected && enabledLook) {
        g.Left += 1;
        g.Right += 1;
        g.Top += 1;
        g.Bottom += 1;
        DrawFrameGlyph(Canvas, g, fgMenuArrow, clBtnText);
      } else {
        DrawFrameGlyph(Canvas, g, fgMenuArrow, Canvas->Font()->Color());
      }
    }
  }

  if (imageShown || (!toolbarStyle && Item->Checked())) {
    TRect area;
    if (!toolbarStyle) {
      area = TRect(r.Left, r.Top, r.Left + column, r.Bottom);
      if ((IsSelected && enabledLook) || Item->Checked()) {
        TRect e = area;
        DrawEdge(Canvas, e, Item->Checked() ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
                 BF_RECT | (Item->Checked() ? BF_MIDDLE : 0u));
        if (Item->Checked() && !IsSelected) {
          auto brush = NewHalftoneBrush();
          Canvas->Brush()->Assign(brush.get());
          Canvas->FillRect(e);
          Canvas->Brush()->SetStyle(bsSolid);
        }
      }
      if (Item->Checked()) {
        area.Left += 1;
        area.Right += 1;
        area.Top += 1;
        area.Bottom += 1;
      }
    } else if (images) {
      if (IsRotated() || Item->EffectiveOptions().Contains(tboImageAboveCaption))
        area = TRect(r.Left, r.Top, r.Right, r.Top + images->Height() + 2);
      else
        area = TRect(r.Left, r.Top, r.Left + images->Width() + 2, r.Bottom);
    }
    if (imageShown && Item->ImageIndex() >= 0) {
      int x = area.Left + (area.Width() - images->Width()) / 2;
      int y = area.Top + (area.Height() - images->Height()) / 2;
      images->Draw(Canvas, x, y, Item->ImageIndex(), Item->Enabled());
    } else if (!toolbarStyle && Item->Checked()) {
      int cx = (area.Left + area.Right) / 2, cy = (area.Top + area.Bottom) / 2;
      if (Item->RadioItem()) {
        Canvas->Pen()->SetColor(clBtnText);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clBtnText);
        Canvas->RoundRect(cx - 3, cy - 3, cx + 2, cy + 2, 2, 2);
        Canvas->Pen()->SetColor(clBtnHighlight);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->RoundRect(cx - 4, cy - 4, cx + 3, cy + 3, 6, 6);
      } else {
        int ox = cx - 2, oy = cy + 1;
        auto poly = [&](TColor c, std::initializer_list<TPoint> pts) {
          std::vector<TPoint> p;
          for (TPoint q : pts) p.emplace_back(ox + q.X, oy + q.Y);
          Canvas->Pen()->SetColor(c);
          Canvas->Polyline(p);
        };
        poly(clBtnText, {TPoint(-2, -2), TPoint(0, 0), TPoint(4, -4), TPoint(4, -3), TPoint(0, 1), TPoint(-2, -1),
                         TPoint(-2, -2)});
        poly(clBtnHighlight, {TPoint(-3, -2), TPoint(-3, -1), TPoint(0, 2), TPoint(5, -3), TPoint(5, -5)});
      }
    }
  }
}

std::string TTBItemViewer::GetHintText() {
  std::string hint = Item->Hint();
  size_t bar = hint.find('|');
  std::string text = bar == std::string::npos ? hint : hint.substr(0, bar);
  bool plainSubmenu = (Item->ItemStyle() & tbisSubmenu) && !(Item->ItemStyle() & tbisCombo) && CaptionShown();
  if (text.empty() && !Item->EffectiveOptions().Contains(tboNoAutoHint) && !plainSubmenu)
    text = RemoveAmpersands(TrimTrailingColonOrEllipsis(GetCaptionText()));
  return text;
}

bool TTBItemViewer::DoExecute() {
  View->EndModalWithClick(this);
  return true;
}

void TTBItemViewer::Execute(bool AGivePriority) {
  if (DoExecute() && AGivePriority) View->GivePriority(this);
}

void TTBItemViewer::Entering() {
  if (Item->OnSelect) Item->OnSelect(Item, this, true);
}

void TTBItemViewer::Leaving() {
  if (Item->OnSelect) Item->OnSelect(Item, this, false);
}

void TTBItemViewer::LosingCapture() { View->Invalidate(this); }

void TTBItemViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) {
  if (!Item->Enabled()) {
    if (View->GetRootView() == View && !View->IsPopup()) View->EndModal();
    return;
  }
  if (!IsPtInButtonPart(X, Y)) {
    bool wasOpen = View->OpenViewer() == this;
    if (View->OpenChildPopup(false)) {
      if (wasOpen && View->GetRootView() == View && View->IsToolbar()) MouseDownOnMenu = true;
      if (Shift.Contains(ssDouble) && !(Item->ItemStyle() & tbisCombo) && View->OpenViewerView()) {
        TTBView* pv = View->OpenViewerView();
        for (int i = 0; i < pv->ViewerCount(); ++i) {
          TTBItemViewer* v = pv->Viewers(i);
          TTBCustomItem* it = v->Item;
          if ((v->Show || v->Clipped) && it->EffectiveOptions().Contains(tboDefault) &&
              (it->ItemStyle() & tbisSelectable) && it->Enabled() && it->Visible()) {
            v->Execute(true);
            break;
          }
        }
      }
    }
  } else if (IsToolbarStyle()) {
    View->CloseChildPopups();
    View->BeginCapture();
    View->Invalidate(this);
  }
}

void TTBItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu) {
  bool wasCaptured = View->Capture();
  View->CancelCapture();
  bool rootToolbar = View->GetRootView() == View && View->IsToolbar();
  if (View->MouseOverSelected() && View->Selected() == this && Item->Enabled() &&
      !(Item->ItemStyle() & tbisClicksTransparent)) {
    if ((Item->ItemStyle() & tbisSubmenu) && !IsPtInButtonPart(X, Y)) {
      if (MouseWasDownOnMenu && rootToolbar) View->EndModal();
    } else if (wasCaptured || !IsToolbarStyle()) {
      Execute(true);
    }
    return;
  }
  if (rootToolbar) View->EndModal();
}

void TTBSeparatorItemViewer::CalcSize(TCanvas*, int& AWidth, int& AHeight) {
  if (IsToolbarStyle()) {
    AWidth = 6;
    AHeight = 6;
  } else {
    AHeight = 10;
  }
}

void TTBSeparatorItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool, bool, bool) {
  auto* sep = static_cast<TTBSeparatorItem*>(Item);
  if (sep->Blank()) return;
  bool lineSep = (State & tbisLineSep) != 0;
  bool horizontal = (!IsToolbarStyle() || View->Orientation() == tbvoVertical) != lineSep;
  TRect r = ClientAreaRect;
  if (horizontal) {
    int y = r.Height() / 2 - 1;
    int inset = !IsToolbarStyle() ? 12 : lineSep ? (View->Orientation() == tbvoFloating ? 1 : 4) : 0;
    TRect e(r.Left + inset, y, r.Right - inset, y + 2);
    DrawEdge(Canvas, e, EDGE_ETCHED, BF_TOP);
  } else {
    int x = r.Width() / 2 - 1;
    int inset = lineSep ? 4 : 0;
    TRect e(x, r.Top + inset, x + 2, r.Bottom - inset);
    DrawEdge(Canvas, e, EDGE_ETCHED, BF_LEFT);
  }
}

// ---------------------------------------------------------------------------
// Views

ZV_CLASS_IMPL_NOPROPS(TTBView, TComponent)

TTBView::TTBView(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem, TWinControl* AWindow,
                 bool AIsToolbar, bool ACustomizing, bool AUsePriorityList)
    : TComponent(AOwner),
      FCustomizing(ACustomizing),
      FIsPopup(!AIsToolbar),
      FIsToolbar(AIsToolbar),
      FParentView(AParentView),
      FParentItem(AParentItem),
      FUsePriorityList(AUsePriorityList),
      FWindow(AWindow) {
  InitAccessibility();
  if (FParentItem) {
    FParentItem->RegisterNotification(this, [this](TTBCustomItem* s, bool r, TTBItemChangedAction a, int i,
                                                   TTBCustomItem* it) { ParentItemNotification(s, r, a, i, it); }, 1);
    FParentItem->FreeNotification(this);
  }
  UpdateCurParentItem();
}

TTBView::~TTBView() {
  if (AccObject) AccObject->ClientIsDestroying();
  CloseChildPopups();
  if (FParentView && FParentView->IsToolbar()) {
    FParentView->FState |= vsNoAnimation;
    if (FParentView->FOpenViewer) FParentView->Invalidate(FParentView->FOpenViewer);
  }
  if (FParentItem) {
    FParentItem->UnregisterNotification(this, 1);
    FParentItem->RemoveFreeNotification(this);
  }
  if (FCurParentItem) {
    FCurParentItem->UnregisterNotification(this, 0);
    FCurParentItem->RemoveFreeNotification(this);
  }
  FPriorityList.reset();
  FreeViewers();
}

TTBItemViewer* TTBView::Viewers(int Index) const {
  if (Index < 0 || Index >= ViewerCount()) throw ETBItemError("Toolbar item index out of range");
  return FViewers[Index];
}

int TTBView::IndexOf(const TTBItemViewer* AViewer) const {
  if (!AViewer) return -1;
  auto it = std::find(FViewers.begin(), FViewers.end(), AViewer);
  return it == FViewers.end() ? -1 : static_cast<int>(it - FViewers.begin());
}

TTBItemViewer* TTBView::Find(TTBCustomItem* Item) const {
  for (TTBItemViewer* v : FViewers)
    if (v->Item == Item) return v;
  return nullptr;
}

TTBView* TTBView::GetRootView() {
  TTBView* v = this;
  while (v->FParentView) v = v->FParentView;
  return v;
}

TTBView* TTBView::GetToolbarView() {
  for (TTBView* v = this; v; v = v->FParentView)
    if (v->FIsToolbar) return v;
  return nullptr;
}

bool IsAncestorView(TTBView* A, TTBView* B) {
  for (; B; B = B->ParentView())
    if (A == B) return true;
  return false;
}

void TTBView::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // The item is already taken apart: it is forgotten, never called.
  bool container = AComponent == FCurParentItem;
  if (container) FCurParentItem = nullptr;
  if (AComponent == FParentItem) {
    FParentItem = nullptr;
    UpdateCurParentItem();
    if (FParentView) FParentView->CloseChildPopups();
  } else if (container) {
    RecreateAllViewers();
  }
  if (AComponent == FChevronParentView) FChevronParentView = nullptr;
}

void TTBView::UpdateCurParentItem() {
  TTBCustomItem* item = ResolveLinkedItem(FParentItem);
  if (item == FCurParentItem) return;
  CloseChildPopups();
  if (FCurParentItem) {
    FCurParentItem->UnregisterNotification(this, 0);
    if (FCurParentItem != FParentItem) FCurParentItem->RemoveFreeNotification(this);
  }
  FCurParentItem = item;
  if (item) {
    item->RegisterNotification(this, [this](TTBCustomItem* s, bool r, TTBItemChangedAction a, int i,
                                            TTBCustomItem* it) { ItemNotification(s, r, a, i, it); }, 0);
    item->FreeNotification(this);
  }
  RecreateAllViewers();
  if (item && !item->ComponentState().Contains(csDesigning)) UpdateActions();
}

void TTBView::UpdateActions() {
  for (TTBItemViewer* v : std::vector<TTBItemViewer*>(FViewers)) v->Item->UpdateAction();
}

void TTBView::FreeViewers() {
  std::vector<TTBItemViewer*> old;
  old.swap(FViewers);
  for (TTBItemViewer* v : old) delete v;
}

void TTBView::RecreateAllViewers() {
  CloseChildPopups();
  SetSelected(nullptr);
  InvalidatePositions();
  FPriorityList.reset();
  FreeViewers();
  FInternalViewersAtFront = FInternalViewersAtEnd = 0;
  if (FCurParentItem)
    for (int i = 0; i < FCurParentItem->Count(); ++i)
      InsertItemViewers(ViewerCount(), FCurParentItem->Items(i), 0, true, false);
  if (TTBCustomItem* chevron = QueryChevronItem()) {
    FViewers.push_back(chevron->NewViewer(this, 0));
    ++FInternalViewersAtEnd;
  }
}

int TTBView::InsertItemViewers(int NewIndex, TTBCustomItem* AItem, int AGroupLevel, bool AddToPriorityList,
                               bool TopOfPriorityList) {
  if (AGroupLevel > kMaxGroupLevel) return 0;
  TTBItemViewer* v = AItem->NewViewer(this, AGroupLevel);
  FViewers.insert(FViewers.begin() + NewIndex, v);
  if (AddToPriorityList && FUsePriorityList) {
    if (!FPriorityList) FPriorityList = std::make_unique<std::vector<TTBItemViewer*>>();
    if (TopOfPriorityList) ListInsertFirstOnce(FPriorityList, v);
    else ListAddOnce(FPriorityList, v);
  }
  int count = 1;
  if (!FCustomizing && (AItem->ItemStyle() & tbisEmbeddedGroup)) {
    TTBCustomItem* linked = ResolveLinkedItem(AItem);
    for (int i = 0; i < linked->Count(); ++i)
      count += InsertItemViewers(NewIndex + count, linked->Items(i), AGroupLevel + 1, AddToPriorityList,
                                 TopOfPriorityList);
  }
  return count;
}

void TTBView::RecreateItemViewer(int Index) {
  TTBItemViewer* old = Viewers(Index);
  DeletingViewer(old);
  TTBItemViewer* n = old->Item->NewViewer(this, old->GroupLevel);
  FViewers[Index] = n;
  if (FPriorityList) std::replace(FPriorityList->begin(), FPriorityList->end(), old, n);
  delete old;
}

void TTBView::DeletingViewer(TTBItemViewer* Viewer) {
  if (FSelected == Viewer) FSelected = nullptr;
  if (FOpenViewer == Viewer) CloseChildPopups();
}

void TTBView::ItemNotification(TTBCustomItem* Sender, bool, TTBItemChangedAction Action, int,
                               TTBCustomItem* Item) {
  switch (Action) {
    case tbicInserted: {
      InvalidatePositions();
      bool atFront = !Item->ComponentState().Contains(csLoading) && FNewViewersGetHighestPriority;
      // Where Item goes inside the range [start, end) at the given level.
      auto insertIn = [&](int start, int end, int level) {
        TTBCustomItem* parent = Item->Parent();
        int idx = parent ? parent->IndexOf(Item) : -1;
        TTBCustomItem* next = (parent && idx + 1 < parent->Count()) ? parent->Items(idx + 1) : nullptr;
        int pos = end;
        if (next)
          for (int i = start; i < end; ++i)
            if (FViewers[i]->GroupLevel == level && FViewers[i]->Item == next) {
              pos = i;
              break;
            }
        InsertItemViewers(pos, Item, level, true, atFront);
      };
      if (Sender == FCurParentItem) {
        insertIn(0, std::max(0, ViewerCount() - FInternalViewersAtEnd), 0);
      } else {
        for (int i = 0; i < ViewerCount(); ++i) {
          TTBItemViewer* g = FViewers[i];
          if (g->Item != Sender || !(Sender->ItemStyle() & tbisEmbeddedGroup)) continue;
          int level = g->GroupLevel + 1;
          int end = i + 1;
          bool already = false;
          while (end < ViewerCount() && FViewers[end]->GroupLevel >= level) {
            if (FViewers[end]->GroupLevel == level && FViewers[end]->Item == Item) already = true;
            ++end;
          }
          if (already) continue;
          insertIn(i + 1, end, level);
        }
      }
      break;
    }
    case tbicDeleting: {
      InvalidatePositions();
      for (int i = 0; i < ViewerCount();) {
        if (FViewers[i]->Item != Item) {
          ++i;
          continue;
        }
        int level = FViewers[i]->GroupLevel;
        int end = i + 1;
        while (end < ViewerCount() && FViewers[end]->GroupLevel > level) ++end;
        for (int k = end - 1; k >= i; --k) {
          TTBItemViewer* v = FViewers[k];
          DeletingViewer(v);
          if (FPriorityList) ListRemoveAndFreeEmpty(FPriorityList, v);
          FViewers.erase(FViewers.begin() + k);
          delete v;
        }
      }
      break;
    }
    case tbicSubitemsChanged:
      if (Sender != FCurParentItem) RecreateAllViewers();
      break;
    case tbicSubitemsBeginUpdate:
      BeginUpdate();
      break;
    case tbicSubitemsEndUpdate:
      EndUpdate();
      break;
    case tbicInvalidate:
      for (TTBItemViewer* v : FViewers)
        if (v->Item == Item) Invalidate(v);
      break;
    case tbicInvalidateAndResize:
      InvalidatePositions();
      break;
    case tbicRecreateItemViewers:
      InvalidatePositions();
      for (int i = 0; i < ViewerCount(); ++i)
        if (FViewers[i]->Item == Item) RecreateItemViewer(i);
      break;
    case tbicSubMenuImagesChanged:
      ImagesChanged();
      break;
    case tbicNameChanged:
      return;
  }
  TryValidatePositions();
}

void TTBView::ParentItemNotification(TTBCustomItem*, bool, TTBItemChangedAction Action, int, TTBCustomItem*) {
  if (Action == tbicSubitemsChanged) UpdateCurParentItem();
  else if (Action == tbicSubMenuImagesChanged && FParentItem != FCurParentItem) ImagesChanged();
}

void TTBView::ImagesChanged() {
  InvalidatePositions();
  TryValidatePositions();
  if (FOpenViewerView) FOpenViewerView->ImagesChanged();
}

void TTBView::InvalidatePositions() {
  if (!FValidated) return;
  FValidated = false;
  if (FWindow && FWindow->HandleAllocated()) FWindow->Invalidate();
}

void TTBView::ValidatePositions() {
  if (!FValidated) UpdatePositions();
}

void TTBView::TryValidatePositions() {
  if (FUpdating != 0) return;
  if (FParentItem && FParentItem->ComponentState().Contains(csLoading)) return;
  if (FParentItem && FParentItem->Owner() && FParentItem->Owner()->ComponentState().Contains(csLoading)) return;
  ValidatePositions();
}

void TTBView::EndUpdate() {
  if (FUpdating > 0 && --FUpdating == 0) TryValidatePositions();
}

void TTBView::SetUsePriorityList(bool v) {
  if (v == FUsePriorityList) return;
  FUsePriorityList = v;
  RecreateAllViewers();
}

void TTBView::SetOrientation(TTBViewOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  InvalidatePositions();
}

void TTBView::GivePriority(TTBItemViewer* AViewer) {
  if (FChevronParentView) {
    int i = IndexOf(AViewer) + FChevronParentView->FInternalViewersAtFront;
    if (i >= 0 && i < FChevronParentView->ViewerCount()) FChevronParentView->GivePriority(FChevronParentView->FViewers[i]);
    return;
  }
  if (FPriorityList) {
    auto it = std::find(FPriorityList->begin(), FPriorityList->end(), AViewer);
    if (it != FPriorityList->end()) {
      FPriorityList->erase(it);
      FPriorityList->insert(FPriorityList->begin(), AViewer);
      if (!FValidated || AViewer->OffEdge) UpdatePositions();
    }
  }
  if (FParentView && FParentView->FOpenViewer) FParentView->GivePriority(FParentView->FOpenViewer);
}

TTBItemViewer* TTBView::HighestPriorityViewer() {
  ValidatePositions();
  const std::vector<TTBItemViewer*>& list = FPriorityList ? *FPriorityList : FViewers;
  for (TTBItemViewer* v : list)
    if (v->Show && !IsSeparator(v)) return v;
  return nullptr;
}

void TTBView::GetOffEdgeControlList(std::vector<TWinControl*>& List) const {
  for (TTBItemViewer* v : FViewers)
    if (v->OffEdge)
      if (auto* ci = dynamic_cast<TTBControlItem*>(v->Item))
        if (auto* w = dynamic_cast<TWinControl*>(ci->Control())) List.push_back(w);
}

TTBItemViewer* TTBView::ViewerFromPoint(TPoint P) {
  ValidatePositions();
  for (TTBItemViewer* v : FViewers)
    if (v->Show && v->BoundsRect.Contains(P)) return v;
  return nullptr;
}

void TTBView::CancelCapture() {
  if (!FCapture) return;
  FCapture = false;
  if (FSelected) FSelected->LosingCapture();
}

void TTBView::StartTimer(TTBViewTimerID Timer, int Interval) {
  StopTimer(Timer);
  if (!HasTimerWindow()) return;
  SetWindowTimer(9000 + Timer, Interval);
  FActiveTimers |= 1u << Timer;
}

void TTBView::StopTimer(TTBViewTimerID Timer) {
  if (!(FActiveTimers & (1u << Timer))) return;
  KillWindowTimer(9000 + Timer);
  FActiveTimers &= ~(1u << Timer);
}

void TTBView::StopAllTimers() {
  for (int t = tiOpen; t <= tiScrollDown; ++t) StopTimer(static_cast<TTBViewTimerID>(t));
}

void TTBView::SetOpenViewer(TTBItemViewer* V, TTBView* VV, TTBPopupWindow* W) {
  FOpenViewer = V;
  FOpenViewerView = VV;
  FOpenViewerWindow = W;
}

bool TTBView::OpenChildPopup(bool SelectFirstItem) {
  StopTimer(tiClose);
  StopTimer(tiOpen);
  if (FSelected != FOpenViewer) {
    CloseChildPopups();
    if (FSelected && FSelected->Item->Enabled() && (FSelected->Item->ItemStyle() & tbisSubmenu)) {
      TTBPopupWindow* w = FSelected->Item->CreatePopup(this, FSelected, !FIsToolbar, SelectFirstItem, FCustomizing,
                                                       TPoint(0, 0), 0);
      (void)w;  // the popup registers itself as this view's open popup
    }
  }
  return FOpenViewer != nullptr;
}

void TTBView::Invalidate(TTBItemViewer* AViewer) {
  if (AViewer) AViewer->State |= tbisNeedsFullRepaint;
  if (OnInvalidate) OnInvalidate(this);
  if (FWindow && FWindow->HandleAllocated()) FWindow->Invalidate();
}

void TTBView::InvalidateAll() {
  for (TTBItemViewer* v : FViewers) v->State |= tbisNeedsFullRepaint;
  if (FWindow && FWindow->HandleAllocated()) FWindow->Invalidate();
}

void TTBView::Select(TTBItemViewer* Value, bool ViaMouse) {
  if (Value != FSelected) {
    if (Value && FParentView && FParentView->FOpenViewer && FParentView->FSelected != FParentView->FOpenViewer) {
      FParentView->Select(FParentView->FOpenViewer, false);
      FParentView->StopTimer(tiClose);
      FParentView->StopTimer(tiOpen);
    }
    if (FState & vsModal) {
      if (FIsToolbar || !ViaMouse) {
        StopTimer(tiClose);
        if (Value != FOpenViewer) CloseChildPopups();
      } else if (FOpenViewer && !TimerActive(tiClose)) {
        StartTimer(tiClose, MenuShowDelay());
      }
    }
    CancelCapture();
    TTBItemViewer* old = FSelected;
    if (old) old->Leaving();
    FSelected = Value;
    FSelectedViaMouse = ViaMouse;
    bool over = Value != nullptr && ViaMouse;
    FMouseOverSelected = over;
    if (old && (old->Item->ItemStyle() & tbisRedrawOnSelChange)) Invalidate(old);
    if (Value) {
      if (Value->Item->ItemStyle() & tbisRedrawOnSelChange) Invalidate(Value);
      Value->Entering();
      if (FState & vsModal) NotifyFocusEvent(this);
    }
    if (FState & vsModal) {
      if (FIsPopup) {
        StopTimer(tiOpen);
        if (Value && ViaMouse && (Value->Item->ItemStyle() & tbisSubmenu)) StartTimer(tiOpen, MenuShowDelay());
      } else if (Value) {
        if (ViaMouse && FParentView) FState |= vsDropDownMenus;
        if ((FState & vsDropDownMenus) && (ViaMouse || !(Value->Item->ItemStyle() & tbisNoAutoOpen)))
          OpenChildPopup(!ViaMouse);
      }
    }
    return;
  }
  bool over = Value != nullptr && ViaMouse;
  if (over != FMouseOverSelected) {
    FMouseOverSelected = over;
    if (FCapture && Value && (Value->Item->ItemStyle() & tbisRedrawOnMouseOverChange)) Invalidate(Value);
  }
}

void TTBView::EndModal() { GetRootView()->FDoneActionData.DoneAction = tbdaCancel; }

void TTBView::EndModalWithClick(TTBItemViewer* AViewer) {
  TTBDoneActionData& d = GetRootView()->FDoneActionData;
  d.DoneAction = tbdaClickItem;
  d.ClickItem = AViewer->Item;
  d.Sound = AViewer->View->IsPopup();
}

void TTBView::EndModalWithHelp(int AContextID) {
  TTBDoneActionData& d = GetRootView()->FDoneActionData;
  d.DoneAction = tbdaHelpContext;
  d.ContextID = AContextID;
}

void TTBView::EndModalWithSystemMenu(HWND AWnd, uint32_t AKey) {
  TTBDoneActionData& d = GetRootView()->FDoneActionData;
  d.DoneAction = tbdaOpenSystemMenu;
  d.Wnd = AWnd;
  d.Key = AKey;
}

void TTBView::QueryMargins(TTBViewOrientation AOrientation, TRect& Margins) {
  Margins = AOrientation == tbvoFloating ? TRect(4, 2, 4, 1) : TRect(0, 0, 0, 0);
}

TFont* TTBView::GetFont() {
  if (FFont) return FFont;
  return ToolbarMenuFont();
}

// ---------------------------------------------------------------------------
// Layout

namespace {
struct TWork {
  TRect Bounds;
  bool Show = false, OffEdge = false, LineSep = false, Clipped = false, SameWidth = false;
};
}  // namespace

TPoint TTBView::UpdatePositions() {
  TPoint size(0, 0);
  DoUpdatePositions(size);
  return size;
}

void TTBView::DoUpdatePositions(TPoint& ASize) {
  int lines = 0;
  bool changed = CalculatePositions(true, FOrientation, lines, ASize, FBaseSize, FChevronSize, FChevronOffset,
                                    FWrapOffset);
  FValidated = true;
  SizeWindow(ASize.X, ASize.Y);
  if (changed && FWindow && FWindow->HandleAllocated()) FWindow->Invalidate();
}

bool TTBView::CalculatePositions(bool CanMoveControls, TTBViewOrientation AOrientation, int& ALineCount,
                                 TPoint& TotalSize, TPoint& BaseSize, int AChevronSize, int AChevronOffset,
                                 int AWrapOffset) {
  struct TRestore {
    TTBView* V;
    TTBViewOrientation O;
    ~TRestore() { V->FOrientation = O; }
  } restore{this, FOrientation};
  FOrientation = AOrientation;
  const bool vertical = AOrientation == tbvoVertical;
  const int n = ViewerCount();
  std::vector<TWork> w(n);
  TTBCustomItem* chevronItem = QueryChevronItem();
  auto isChevron = [&](int i) { return chevronItem && FViewers[i]->Item == chevronItem; };
  auto isSep = [&](int i) { return IsSeparator(FViewers[i]); };

  // 1. Visibility.
  bool prevSep = true;
  for (int i = 0; i < n; ++i) {
    TTBItemViewer* v = FViewers[i];
    TTBCustomItem* item = v->Item;
    if (isChevron(i)) continue;
    auto* ci = dynamic_cast<TTBControlItem*>(item);
    if (FChevronParentView) {
      if (ci) continue;
      FChevronParentView->ValidatePositions();
      int pi = i + FChevronParentView->FInternalViewersAtFront;
      if (pi >= FChevronParentView->ViewerCount()) continue;
      TTBItemViewer* pv = FChevronParentView->FViewers[pi];
      if (!pv->OffEdge && !IsSeparator(pv)) continue;
    }
    if (ci) {
      TControl* c = ci->Control();
      if (c && c->Parent() == FWindow && (c->Visible() || c->ComponentState().Contains(csDesigning))) {
        w[i].Show = true;
        prevSep = false;
      }
      continue;
    }
    if ((item->ItemStyle() & tbisEmbeddedGroup) && !FCustomizing) continue;
    if (!item->Visible()) continue;
    w[i].Show = true;
    if (isSep(i)) {
      if (prevSep) w[i].Show = false;
      prevSep = true;
    } else {
      prevSep = false;
    }
  }
  auto hideTrailingSeparators = [&] {
    for (int i = n - 1; i >= 0; --i) {
      if (!w[i].Show || isChevron(i)) continue;
      if (!isSep(i)) break;
      w[i].Show = false;
    }
  };
  hideTrailingSeparators();

  // 2. Measuring.
  TBitmap measure(1, 1);
  TCanvas* canvas = measure.Canvas();
  canvas->Font()->Assign(GetFont());
  int sameWidth = 0;
  for (int i = 0; i < n; ++i) {
    if (!w[i].Show) continue;
    TTBItemViewer* v = FViewers[i];
    int cw = 0, ch = 0;
    if (auto* ci = dynamic_cast<TTBControlItem*>(v->Item)) {
      cw = ci->Control()->Width();
      ch = ci->Control()->Height();
    } else {
      TFontStyles oldStyle = canvas->Font()->Style();
      bool bold = v->Item->EffectiveOptions().Contains(tboDefault);
      if (bold) canvas->Font()->SetStyle(TFontStyles(oldStyle).Include(fsBold));
      if (v->Item->NeedToRecreateViewer(v)) {
        if (CanMoveControls) {
          RecreateItemViewer(i);
          v = FViewers[i];
          v->CalcSize(canvas, cw, ch);
        } else {
          std::unique_ptr<TTBItemViewer> tmp(v->Item->NewViewer(this, v->GroupLevel));
          tmp->CalcSize(canvas, cw, ch);
        }
      } else {
        v->CalcSize(canvas, cw, ch);
      }
      if (bold) canvas->Font()->SetStyle(oldStyle);
      if (v->UsesSameWidth()) {
        w[i].SameWidth = true;
        sameWidth = std::max(sameWidth, cw);
      }
    }
    w[i].Bounds = TRect(0, 0, cw, ch);
  }

  // 3. Base size.
  auto length = [&](int i) { return vertical ? w[i].Bounds.Height() : w[i].Bounds.Width(); };
  BaseSize = TPoint(0, 0);
  int mainSum = 0;
  for (int i = 0; i < n; ++i) {
    if (!w[i].Show) continue;
    if (w[i].SameWidth) w[i].Bounds.Right = w[i].Bounds.Left + sameWidth;
    mainSum += length(i);
  }
  if (vertical) BaseSize.Y = mainSum;
  else BaseSize.X = mainSum;

  // 4. Chevron hiding.
  bool chevronRan = false, chevronHasItems = false;
  int available = 0;
  if (chevronItem && AChevronOffset > 0 && AChevronOffset < mainSum) {
    chevronRan = true;
    available = AChevronOffset - AChevronSize;
    int remaining = mainSum;
    auto shownNonSeps = [&] {
      int c = 0;
      for (int i = 0; i < n; ++i)
        if (w[i].Show && !isSep(i) && !isChevron(i)) ++c;
      return c;
    };
    while (available < remaining) {
      if (shownNonSeps() < 2) break;
      int last = -1;
      for (int i = n - 1; i >= 0; --i)
        if (w[i].Show && !isChevron(i)) {
          last = i;
          break;
        }
      if (last >= 0 && isSep(last)) {
        w[last].Show = false;
        remaining -= length(last);
      } else {
        int victim = -1;
        if (FPriorityList) {
          for (auto it = FPriorityList->rbegin(); it != FPriorityList->rend(); ++it) {
            int i = IndexOf(*it);
            if (i >= 0 && w[i].Show && !isSep(i) && !isChevron(i)) {
              victim = i;
              break;
            }
          }
        } else {
          for (int i = n - 1; i >= 0; --i)
            if (w[i].Show && !isSep(i) && !isChevron(i)) {
              victim = i;
              break;
            }
        }
        if (victim < 0) break;
        w[victim].Show = false;
        w[victim].OffEdge = true;
        remaining -= length(victim);
        if (!dynamic_cast<TTBControlItem*>(FViewers[victim]->Item)) chevronHasItems = true;
      }
      bool prev = true;
      for (int i = 0; i < n; ++i) {
        if (!w[i].Show || isChevron(i)) continue;
        if (isSep(i)) {
          if (prev) {
            w[i].Show = false;
            remaining -= length(i);
          }
          prev = true;
        } else {
          prev = false;
        }
      }
    }
    hideTrailingSeparators();
  }

  // 5. Cross size.
  for (int i = 0; i < n; ++i)
    if (w[i].Show) {
      if (vertical) BaseSize.X = std::max(BaseSize.X, static_cast<int>(w[i].Bounds.Width()));
      else BaseSize.Y = std::max(BaseSize.Y, static_cast<int>(w[i].Bounds.Height()));
    }

  // 6-8. Positioning with wrapping.
  TRect margins;
  QueryMargins(AOrientation, margins);
  int wrap = AWrapOffset;
  if (wrap > 0) wrap = std::max(1, wrap - margins.Right);
  TPoint pos(margins.Left, margins.Top);
  int lineStart = -1, lineW = 0, lineH = 0;
  bool wrapped = false, overflowBreak = false;
  int lineCount = 1;
  TotalSize = TPoint(0, 0);
  bool prevToolbarSize = false;

  auto isToolbarSize = [&](int i) {
    return FIsToolbar || FViewers[i]->Item->EffectiveOptions().Contains(tboToolbarSize);
  };
  auto finishLine = [&](int last, bool final) {
    if (lineStart < 0) return;
    if (wrapped && !FChevronParentView) {
      if (AOrientation == tbvoHorizontal) TotalSize.X = std::max(TotalSize.X, wrap);
      else if (AOrientation == tbvoVertical) TotalSize.Y = std::max(TotalSize.Y, wrap);
    }
    int lw = lineW, lh = lineH;
    if (FIsToolbar && final && !wrapped && AOrientation != tbvoFloating) {
      lw = TotalSize.X;
      lh = TotalSize.Y;
    }
    for (int i = lineStart; i <= last; ++i) {
      if (!w[i].Show || isChevron(i)) continue;
      TRect& b = w[i].Bounds;
      if (FIsToolbar) {
        if (isSep(i)) {
          if (vertical) b.Right = b.Left + lw;
          else b.Bottom = b.Top + lh;
        } else if (vertical) {
          int off = (lw - b.Width()) / 2;
          b.Left += off;
          b.Right += off;
        } else {
          int off = (lh - b.Height()) / 2;
          b.Top += off;
          b.Bottom += off;
        }
      } else if (!isToolbarSize(i)) {
        b.Right = b.Left + lw;
      }
    }
    int farEdge = 0, lastOnLine = -1;
    for (int i = lineStart; i <= last; ++i)
      if (w[i].Show && !isChevron(i)) lastOnLine = i;
    if (lastOnLine >= 0) farEdge = vertical ? w[lastOnLine].Bounds.Bottom : w[lastOnLine].Bounds.Right;
    for (int i = lineStart; i <= last; ++i) {
      if (!w[i].Show || !(FViewers[i]->Item->ItemStyle() & tbisRightAlign)) continue;
      int total = vertical ? TotalSize.Y : TotalSize.X;
      int shift = std::min(wrap, total) - farEdge;
      if (shift > 0)
        for (int k = i; k <= last; ++k)
          if (w[k].Show && !isChevron(k)) {
            if (vertical) {
              w[k].Bounds.Top += shift;
              w[k].Bounds.Bottom += shift;
            } else {
              w[k].Bounds.Left += shift;
              w[k].Bounds.Right += shift;
            }
          }
      break;
    }
    lineStart = -1;
  };

  for (int i = 0; i < n; ++i) {
    if (!w[i].Show || isChevron(i)) continue;
    bool tbSize = isToolbarSize(i);
    if (prevToolbarSize && !tbSize) {
      finishLine(i - 1, false);
      pos = TPoint(margins.Left, TotalSize.Y);
    }
    prevToolbarSize = tbSize;
    // Place.
    if (lineStart < 0) {
      lineStart = i;
      lineW = lineH = 0;
    }
    bool isLineSep = false;
    int p = vertical ? pos.Y : pos.X;
    if (wrap > 0 && p > 0) {
      p += length(i);
      bool sep = isSep(i);
      bool fitsTest = !sep || !overflowBreak || (FViewers[i]->Item->ItemStyle() & tbisNoLineBreak);
      bool fits = true;
      if (sep && fitsTest) {
        int sum = p;
        for (int k = i + 1; k < n; ++k) {
          if (!w[k].Show || isChevron(k)) continue;
          if (isSep(k)) break;
          sum += length(k);
        }
        fits = wrap >= sum;
      }
      if (!sep && wrap < p) {
        ++lineCount;
        wrapped = true;
        overflowBreak = true;
        if (vertical) {
          pos.Y = margins.Top;
          pos.X += lineW;
        } else {
          pos.X = margins.Left;
          pos.Y += lineH;
        }
        finishLine(i - 1, false);
        lineStart = i;
        lineW = lineH = 0;
      } else if (sep && (!fitsTest || !fits)) {
        ++lineCount;
        wrapped = true;
        if (vertical) {
          pos.Y = 0;
          pos.X += lineW;
        } else {
          pos.X = 0;
          pos.Y += lineH;
        }
        finishLine(i - 1, false);
        lineStart = i + 1;
        lineW = lineH = 0;
        w[i].Bounds = vertical ? TRect(0, 0, kLineSepThickness, 0) : TRect(0, 0, 0, kLineSepThickness);
        w[i].LineSep = true;
        isLineSep = true;
      }
    }
    TRect& b = w[i].Bounds;
    lineW = std::max(lineW, static_cast<int>(b.Width()));
    lineH = std::max(lineH, static_cast<int>(b.Height()));
    int bw = b.Width(), bh = b.Height();
    b = TRect(std::max(0, pos.X), std::max(0, pos.Y), std::max(0, pos.X) + bw, std::max(0, pos.Y) + bh);
    if (isLineSep) {
      if (vertical) {
        pos.Y = margins.Top;
        pos.X += kLineSepThickness;
      } else {
        pos.X = margins.Left;
        pos.Y += kLineSepThickness;
      }
      overflowBreak = false;
    } else {
      // Advance.
      if (tbSize && !vertical) pos.X += bw;
      else pos.Y += bh;
    }
    TotalSize.X = std::max(TotalSize.X, static_cast<int>(b.Right));
    TotalSize.Y = std::max(TotalSize.Y, static_cast<int>(b.Bottom));
  }
  finishLine(n - 1, true);
  ALineCount = lineCount;
  TotalSize.X += margins.Right;
  TotalSize.Y += margins.Bottom;
  if (vertical)
    for (int i = 0; i < n; ++i)
      if (w[i].Show) {
        int l = w[i].Bounds.Left, r = w[i].Bounds.Right;
        w[i].Bounds.Left = TotalSize.X - r;
        w[i].Bounds.Right = TotalSize.X - l;
      }

  // 9. Popup scrolling.
  FShowUpArrow = FShowDownArrow = false;
  if (FMaxHeight > 0 && FMaxHeight < TotalSize.Y) {
    int limit = TotalSize.Y - FMaxHeight;
    FScrollOffset = std::clamp(FScrollOffset, 0, limit);
    FShowUpArrow = FScrollOffset > 0;
    FShowDownArrow = FScrollOffset < limit;
    int top = FShowUpArrow ? kScrollArrowZone : 0;
    int bottom = FMaxHeight - (FShowDownArrow ? kScrollArrowZone : 0);
    for (int i = 0; i < n; ++i) {
      TRect& b = w[i].Bounds;
      if (b.Width() == 0 && b.Height() == 0) continue;
      b.Top -= FScrollOffset;
      b.Bottom -= FScrollOffset;
      if (w[i].Show && (b.Top < top || b.Bottom > bottom)) {
        w[i].Show = false;
        w[i].Clipped = true;
      }
    }
    TotalSize.Y = FMaxHeight;
  } else {
    FScrollOffset = 0;
  }

  const TPoint origin = CanMoveControls ? ContentOrigin() : TPoint{0, 0};
  if (CanMoveControls) FLaidOutOrigin = origin;
  if (origin.X != 0 || origin.Y != 0)
    for (int i = 0; i < n; ++i) OffsetRect(w[i].Bounds, origin.X, origin.Y);

  // 10. Controls.
  if (CanMoveControls) {
    for (int i = 0; i < n; ++i) {
      auto* ci = dynamic_cast<TTBControlItem*>(FViewers[i]->Item);
      if (!ci || !ci->Control()) continue;
      TControl* c = ci->Control();
      if (w[i].Show) {
        if (c->BoundsRect() != w[i].Bounds) c->SetBoundsRect(w[i].Bounds);
      } else if ((w[i].OffEdge || w[i].Clipped) && FWindow) {
        c->SetBounds(FWindow->ClientWidth(), FWindow->ClientHeight(), c->Width(), c->Height());
      }
    }
  }

  // 11. Line separators across a toolbar.
  if (FIsToolbar)
    for (int i = 0; i < n; ++i)
      if (w[i].Show && w[i].LineSep) {
        if (vertical) w[i].Bounds.Bottom = w[i].Bounds.Top + TotalSize.Y;
        else w[i].Bounds.Right = w[i].Bounds.Left + TotalSize.X;
      }

  // 12. The chevron.
  if (chevronRan) {
    if (CanMoveControls) chevronItem->SetEnabled(chevronHasItems);
    int last = n - 1;
    if (last >= 0 && isChevron(last)) {
      int p = std::max(available, vertical ? static_cast<int>(TotalSize.Y) : static_cast<int>(TotalSize.X));
      w[last].Show = true;
      w[last].Bounds = vertical ? TRect(0, p, TotalSize.X, p + AChevronSize) : TRect(p, 0, p + AChevronSize, TotalSize.Y);
      OffsetRect(w[last].Bounds, origin.X, origin.Y);
    }
  }

  // 13. Commit.
  bool changed = false;
  if (CanMoveControls) {
    for (int i = 0; i < n; ++i) {
      TTBItemViewer* v = FViewers[i];
      bool ls = (v->State & tbisLineSep) != 0;
      if (v->BoundsRect != w[i].Bounds || v->Show != w[i].Show || ls != w[i].LineSep) changed = true;
      v->BoundsRect = w[i].Bounds;
      v->Show = w[i].Show;
      v->OffEdge = w[i].OffEdge;
      v->Clipped = w[i].Clipped;
      if (w[i].LineSep) v->State |= tbisLineSep;
      else v->State &= ~tbisLineSep;
    }
  }

  // 14. Never empty.
  if (BaseSize.X == 0 || BaseSize.Y == 0) {
    BaseSize = TPoint(kDefaultBaseWidth, kDefaultBaseHeight);
    TotalSize.X = std::max(TotalSize.X, kDefaultBaseWidth);
    TotalSize.Y = std::max(TotalSize.Y, kDefaultBaseHeight);
  }
  return changed;
}

void TTBView::CloseChildPopups() {
  if (FOpenViewerView) FOpenViewerView->CloseChildPopups();
  StopTimer(tiClose);
  TTBPopupWindow* w = FOpenViewerWindow;
  FOpenViewer = nullptr;
  FOpenViewerView = nullptr;
  FOpenViewerWindow = nullptr;
  if (w) DestroyPopupWindow(w);
}

void TTBView::CancelChildPopups() {
  if (FIsToolbar) FState &= ~vsDropDownMenus;
  CloseChildPopups();
}

// ---------------------------------------------------------------------------
// Painting

void TTBView::DrawSubitems(TCanvas* Canvas) {
  ValidatePositions();
  bool inOrder = (FState & vsDrawInOrder) != 0;
  for (TTBItemViewer* v : std::vector<TTBItemViewer*>(FViewers))
    if (inOrder || v != FSelected) DrawItem(v, Canvas, false);
  if (!inOrder && FSelected) DrawItem(FSelected, Canvas, false);
  FState &= ~vsDrawInOrder;
}

void TTBView::DrawItem(TTBItemViewer* Viewer, TCanvas* Canvas, bool) {
  ValidatePositions();
  Viewer->State &= ~tbisNeedsFullRepaint;
  const TRect& b = Viewer->BoundsRect;
  if (!Viewer->Show || b.Width() <= 0 || b.Height() <= 0 || dynamic_cast<TTBControlItem*>(Viewer->Item)) return;
  bool isSelected = Viewer == FSelected;
  bool isPushed = isSelected && (Viewer == FOpenViewer || (FMouseOverSelected && FCapture));
  bool toolbarStyle = Viewer->IsToolbarStyle();
  // Each viewer is drawn on a bitmap of its own over the window's colour,
  // then copied: nothing of a viewer can spill onto its neighbours.
  TBitmap bmp(b.Width(), b.Height(), pf32bit);
  TCanvas* c = bmp.Canvas();
  TColor back = FWindow ? FWindow->Color() : (FIsToolbar ? clBtnFace : clMenu);
  if (FBackgroundColor != clDefault) back = FBackgroundColor;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
  c->FillRect(TRect(0, 0, b.Width(), b.Height()));
  if (isSelected && !toolbarStyle) {
    c->Brush()->SetColor(clHighlight);
  } else {
    c->Brush()->SetStyle(bsClear);
  }
  c->Font()->Assign(GetFont());
  bool shadow = false;
  if (Viewer->Item->Enabled() || FCustomizing) {
    c->Font()->SetColor(isSelected && !toolbarStyle ? clHighlightText : toolbarStyle ? clBtnText : clMenuText);
  } else {
    c->Font()->SetColor(clGrayText);
    TColorRef wc = ColorToRGB(back);
    if (toolbarStyle) shadow = true;
    else if (isSelected) shadow = wc == ColorToRGB(clGrayText);
    else shadow = wc == ColorToRGB(clBtnFace) || wc == ColorToRGB(clGrayText);
  }
  Viewer->Paint(c, TRect(0, 0, b.Width(), b.Height()), isSelected, isPushed, shadow);
  Canvas->Draw(b.Left, b.Top, &bmp);
}

void TTBView::SetAccelsVisibility(bool Show) {
  bool visible = true;
  if (!Show && (FStyle & vsUseHiddenAccels)) visible = KeyboardCuesOn();
  if (visible == ((FState & vsShowAccels) != 0)) return;
  if (visible) FState |= vsShowAccels;
  else FState &= ~vsShowAccels;
  if (FWindow && FWindow->Visible())
    for (TTBItemViewer* v : FViewers)
      if (v->CaptionShown() && AcceleratorOf(v->GetCaptionText()) != 0) Invalidate(v);
}

bool TTBView::HintAt(TPoint ClientPos, std::string& Hint, TRect& CursorRect) {
  Hint.clear();
  TTBItemViewer* v = ViewerFromPoint(ClientPos);
  if (!v) return false;
  CursorRect = v->BoundsRect;
  Hint = v->GetHintText();
  return true;
}

// ---------------------------------------------------------------------------
// Keyboard

TTBItemViewer* TTBView::NextSelectable(TTBItemViewer* From, bool Forward) {
  ValidatePositions();
  int n = ViewerCount();
  if (n == 0) return nullptr;
  int start = IndexOf(From);
  int i = start;
  for (int step = 0; step < n + 1; ++step) {
    if (Forward) i = (i + 1) % n;
    else i = i <= 0 ? n - 1 : i - 1;
    if (i == start && step > 0 && start >= 0) break;
    TTBItemViewer* v = FViewers[i];
    if ((v->Show || v->Clipped) && v->Item->Visible() && (v->Item->ItemStyle() & tbisSelectable)) return v;
    if (start < 0 && i == n - 1 && Forward) break;
  }
  return nullptr;
}

TTBItemViewer* TTBView::FirstSelectable() {
  TTBItemViewer* first = NextSelectable(nullptr, true);
  TTBItemViewer* v = first;
  while (v && (v->Item->ItemStyle() & tbisDontSelectFirst)) {
    v = NextSelectable(v, true);
    if (v == first) break;
  }
  return v;
}

void TTBView::SelectNextItem(bool Forward) {
  SetSelected(NextSelectable(FSelected, Forward));
  ScrollSelectedIntoView();
}

TTBItemViewer* TTBView::FindAccelerator(TTBItemViewer* From, char Key, bool& Unique, bool AcceleratorsOnly) {
  Unique = false;
  ValidatePositions();
  int n = ViewerCount();
  if (n == 0) return nullptr;
  char key = LowerCaseChar(Key);
  auto candidate = [&](TTBItemViewer* v) {
    return (v->Show || v->Clipped) && (v->Item->ItemStyle() & tbisSelectable) && v->Item->Visible() &&
           v->CaptionShown();
  };
  auto matches = [&](TTBItemViewer* v, int pass) {
    std::string cap = v->GetCaptionText();
    char accel = AcceleratorOf(cap);
    if (pass == 0) return accel != 0 && LowerCaseChar(accel) == key;
    return accel == 0 && Key != ' ' && !cap.empty() && LowerCaseChar(cap[0]) == key;
  };
  int start = IndexOf(From);
  auto search = [&](int from, int pass, bool enabled) -> int {
    for (int k = 1; k <= n; ++k) {
      int i = ((from < 0 ? -1 : from) + k) % n;
      if (from < 0) i = k - 1;
      TTBItemViewer* v = FViewers[i];
      if (candidate(v) && v->Item->Enabled() == enabled && matches(v, pass)) return i;
    }
    return -1;
  };
  for (int pass = 0; pass < (AcceleratorsOnly ? 1 : 2); ++pass) {
    for (bool enabled : {true, false}) {
      int found = search(start, pass, enabled);
      if (found < 0) continue;
      if (!enabled) Unique = true;
      else Unique = search(found, pass, true) == found;
      return FViewers[found];
    }
  }
  return nullptr;
}

void TTBView::ExecuteSelected(bool AGivePriority) {
  if (FSelected && FSelected->Item->Enabled()) {
    if (!(FSelected->Item->ItemStyle() & tbisCombo) && OpenChildPopup(true)) return;
    if (FSelected->Item->ItemStyle() & tbisSelectable) {
      FSelected->Execute(AGivePriority);
      return;
    }
  }
  EndModal();
}

void TTBView::KeyDown(uint16_t& Key, TShiftState Shift) {
  TTBView* t = GetToolbarView();
  bool tVertical = t && t->FOrientation == tbvoVertical;
  switch (Key) {
    case VK_TAB:
      SelectNextItem(!Shift.Contains(ssShift));
      break;
    case VK_RETURN:
      ExecuteSelected(true);
      break;
    case VK_ESCAPE:
      if (FParentView) FParentView->CancelChildPopups();
      else EndModal();
      break;
    case VK_MENU:
    case VK_F10:
      EndModal();
      break;
    case VK_HOME:
    case VK_END:
      SetSelected(NextSelectable(nullptr, Key == VK_HOME));
      ScrollSelectedIntoView();
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (this == t && tVertical) {
        OpenChildPopup(true);
        break;
      }
      if (Key == VK_LEFT) {
        if (!t || tVertical) {
          if (FParentView) FParentView->CancelChildPopups();
        } else if (this == t) {
          SelectNextItem(false);
        } else if (t == FParentView) {
          t->SelectNextItem(false);
        } else if (FParentView) {
          FParentView->CloseChildPopups();
        }
      } else {
        if ((this == t || !OpenChildPopup(true)) && t && !tVertical) t->SelectNextItem(true);
      }
      break;
    case VK_UP:
    case VK_DOWN:
      if (this != t || tVertical) SelectNextItem(Key == VK_DOWN);
      else OpenChildPopup(true);
      break;
    case VK_F1: {
      int ctx = 0;
      for (TTBView* v = this; v && ctx == 0; v = v->FParentView)
        if (v->FSelected) ctx = v->FSelected->Item->HelpContext();
      if (ctx != 0) EndModalWithHelp(ctx);
      break;
    }
    default:
      return;
  }
  Key = 0;
}

// ---------------------------------------------------------------------------
// Mouse and scrolling

void TTBView::UpdateSelection(TPoint Position, bool AllowNewSelection, TWinControl* Under) {
  ValidatePositions();
  uint8_t oldState = FState;
  TTBItemViewer* candidate = (FState & vsModal) ? FSelected : nullptr;
  bool valid = Position.X != INT_MIN;
  if (valid && FWindow && (Under ? Under : FindControlAtScreenPoint(Position)) == FWindow) {
    FState |= vsMouseInWindow;
    if (FIsPopup) candidate = nullptr;
    if (AllowNewSelection || FSelected) {
      if (TTBItemViewer* v = ViewerFromPoint(FWindow->ScreenToClient(Position))) candidate = v;
    }
  } else {
    FState &= ~vsMouseInWindow;
  }
  if (FCapture) candidate = FSelected;
  if (FIsPopup && (oldState & vsMouseInWindow) && !(FState & vsMouseInWindow) && !FCapture) {
    if (!(FOpenViewer && candidate && (candidate->Item->ItemStyle() & tbisSubmenu))) candidate = nullptr;
  }
  Select(candidate, true);
  // The mouse over the selected viewer itself (not only over the window).
  if (FSelected && valid && FWindow && (FState & vsMouseInWindow)) {
    TPoint p = FWindow->ScreenToClient(Position);
    bool over = FSelected->BoundsRect.Contains(p);
    if (FCapture && over) {
      TPoint local(p.X - FSelected->BoundsRect.Left, p.Y - FSelected->BoundsRect.Top);
      over = FSelected->IsPtInButtonPart(local.X, local.Y);
    }
    if (over != FMouseOverSelected) {
      FMouseOverSelected = over;
      if (FCapture && (FSelected->Item->ItemStyle() & tbisRedrawOnMouseOverChange)) Invalidate(FSelected);
    }
  } else if (FSelected) {
    FMouseOverSelected = false;
  }
  if ((FState & vsModal) && (FState & vsMouseInWindow) && valid && FWindow) {
    TPoint p = FWindow->ScreenToClient(Position);
    if (p.Y >= 0 && p.Y < kScrollArrowZone && FShowUpArrow) {
      StopTimer(tiScrollDown);
      if (!TimerActive(tiScrollUp)) StartTimer(tiScrollUp, 100);
    } else if (p.Y >= FWindow->ClientHeight() - kScrollArrowZone && p.Y < FWindow->ClientHeight() && FShowDownArrow) {
      StopTimer(tiScrollUp);
      if (!TimerActive(tiScrollDown)) StartTimer(tiScrollDown, 100);
    } else {
      StopTimer(tiScrollUp);
      StopTimer(tiScrollDown);
    }
  }
}

void TTBView::Scroll(bool Down) {
  ValidatePositions();
  TTBItemViewer* best = nullptr;
  for (TTBItemViewer* v : FViewers) {
    if (!v->Clipped || IsSeparator(v)) continue;
    if (Down) {
      if (v->BoundsRect.Bottom > FMaxHeight - kScrollArrowZone &&
          (!best || v->BoundsRect.Bottom < best->BoundsRect.Bottom))
        best = v;
    } else if (v->BoundsRect.Top < kScrollArrowZone && (!best || v->BoundsRect.Top > best->BoundsRect.Top)) {
      best = v;
    }
  }
  if (!best) return;
  if (Down) FScrollOffset += best->BoundsRect.Bottom - (FMaxHeight - kScrollArrowZone);
  else FScrollOffset -= kScrollArrowZone - best->BoundsRect.Top;
  UpdatePositions();
}

void TTBView::ScrollSelectedIntoView() {
  if (!FSelected || !FSelected->Clipped) return;
  if (FSelected->BoundsRect.Top >= kScrollArrowZone) {
    int d = FSelected->BoundsRect.Bottom - (FMaxHeight - kScrollArrowZone);
    if (d == 0) return;
    FScrollOffset += d;
  } else {
    FScrollOffset -= kScrollArrowZone - FSelected->BoundsRect.Top;
  }
  UpdatePositions();
}

void TTBView::CancelMode() {
  EndModal();
  std::vector<TTBView*> chain;
  for (TTBView* v = this->GetRootView(); v; v = v->FOpenViewerView) chain.push_back(v);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    (*it)->StopAllTimers();
    if ((*it)->FIsPopup && (*it)->FWindow) (*it)->FWindow->Hide();
  }
}
