// Finding text in cells, the search footer that drives it, and the
// highlights of found text. Highlights are rules the painter applies while it
// draws; the cells keep their texts.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/stdctrls.h"

namespace {

constexpr int kSearchPanelHeight = 32;

// Small drawn glyphs for the footer's buttons, on the teal key colour.
std::unique_ptr<TBitmap> MakeFooterGlyph(int Kind, bool Enabled, bool Hot) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(14, 14);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(0x808000);
  c->FillRect(Rect(0, 0, 14, 14));
  const TColor ink = !Enabled ? clGray : Hot ? 0x0000C0 : clBlack;
  c->Pen()->SetColor(ink);
  c->Brush()->SetColor(ink);
  switch (Kind) {
    case 0:  // close: a cross
      c->MoveTo(3, 3); c->LineTo(11, 11);
      c->MoveTo(10, 3); c->LineTo(2, 11);
      break;
    case 1:  // down arrow
      c->Polygon({TPoint{3, 5}, TPoint{10, 5}, TPoint{6, 10}});
      break;
    case 2:  // up arrow
      c->Polygon({TPoint{3, 9}, TPoint{10, 9}, TPoint{6, 4}});
      break;
    default:  // highlight: a marker stroke
      c->Brush()->SetColor(Enabled ? 0x00FFFF : clSilver);
      c->Rectangle(2, 4, 12, 10);
      break;
  }
  return b;
}

void RegisterFooterGlyphs() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterResourceBitmap("ASGCLOSE", [] { return MakeFooterGlyph(0, true, false); });
  RegisterResourceBitmap("ASGCLOSEH", [] { return MakeFooterGlyph(0, true, true); });
  RegisterResourceBitmap("ASGCLOSED", [] { return MakeFooterGlyph(0, true, true); });
  RegisterResourceBitmap("ASGARDOWN", [] { return MakeFooterGlyph(1, true, false); });
  RegisterResourceBitmap("ASGARDOWND", [] { return MakeFooterGlyph(1, false, false); });
  RegisterResourceBitmap("ASGARUP", [] { return MakeFooterGlyph(2, true, false); });
  RegisterResourceBitmap("ASGARUPD", [] { return MakeFooterGlyph(2, false, false); });
  RegisterResourceBitmap("ASGHI", [] { return MakeFooterGlyph(3, true, false); });
  RegisterResourceBitmap("ASGHID", [] { return MakeFooterGlyph(3, false, false); });
}

void SetGlyphs(TPlusGridButton* B, const char* Normal, const char* Disabled, const char* Hot = nullptr,
               const char* Down = nullptr) {
  if (auto g = LoadResourceBitmap(Normal)) B->SetGlyph(g.get());
  if (auto g = LoadResourceBitmap(Disabled)) B->SetGlyphDisabled(g.get());
  if (Hot)
    if (auto g = LoadResourceBitmap(Hot)) B->SetGlyphHot(g.get());
  if (Down)
    if (auto g = LoadResourceBitmap(Down)) B->SetGlyphDown(g.get());
}

std::string EscapeMarkup(const std::string& Text) {
  std::string r;
  r.reserve(Text.size());
  for (char ch : Text) {
    switch (ch) {
      case '&': r += "&amp;"; break;
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      default: r += ch;
    }
  }
  return r;
}

bool Overlaps(const TGridRect& A, const TGridRect& B) {
  return A.Left <= B.Right && B.Left <= A.Right && A.Top <= B.Bottom && B.Top <= A.Bottom;
}

}  // namespace

// ---------------------------------------------------------------------------
// TSearchFooter

ZV_CLASS_IMPL(TSearchFooter, TPersistent)

void TSearchFooter::DeclareProperties(TClassInfo& c) {
  using T = TSearchFooter;
#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def).WithIdents(&ColorIdents());
#define ZV_STR(Name, Def) c.String<T>(#Name, &T::Name, &T::Set##Name, std::string(Def));
  ZV_BOOL(AutoSearch, true)
  ZV_COLOR(Color, 0xFFFFFF)
  ZV_COLOR(ColorTo, clBtnFace)
  ZV_STR(FindNextCaption, "Find next")
  ZV_STR(FindPrevCaption, "Find previous")
  c.Object<T, TFont>("Font", &T::Font, &T::SetFont);
  ZV_STR(HighLightCaption, "Highlight")
  ZV_STR(HintClose, "Close")
  ZV_STR(HintFindNext, "Find next occurence")
  ZV_STR(HintFindPrev, "Find previous occurence")
  ZV_STR(HintHighlight, "Highlight occurences")
  ZV_STR(MatchCaseCaption, "Match case")
  ZV_BOOL(SearchActiveColumnOnly, false)
  ZV_INT(SearchColumn, -1)
  ZV_BOOL(ShowClose, true)
  ZV_BOOL(ShowFindNext, true)
  ZV_BOOL(ShowFindPrev, true)
  ZV_BOOL(ShowHighLight, true)
  ZV_BOOL(ShowMatchCase, true)
  ZV_BOOL(Visible, false)
#undef ZV_BOOL
#undef ZV_INT
#undef ZV_COLOR
#undef ZV_STR
}

TSearchFooter::TSearchFooter(TPlusStringGrid* AGrid) : FGrid(AGrid), FFont(std::make_unique<TFont>()) {}

TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSearchFooter*>(Source);
  if (!s || s == this) return;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FFindNextCaption = s->FFindNextCaption;
  FFindPrevCaption = s->FFindPrevCaption;
  FHighLightCaption = s->FHighLightCaption;
  FMatchCaseCaption = s->FMatchCaseCaption;
  FHintClose = s->FHintClose;
  FHintFindNext = s->FHintFindNext;
  FHintFindPrev = s->FHintFindPrev;
  FHintHighlight = s->FHintHighlight;
  FShowClose = s->FShowClose;
  FShowFindNext = s->FShowFindNext;
  FShowFindPrev = s->FShowFindPrev;
  FShowHighLight = s->FShowHighLight;
  FShowMatchCase = s->FShowMatchCase;
  FSearchActiveColumnOnly = s->FSearchActiveColumnOnly;
  FSearchColumn = s->FSearchColumn;
  FVisible = s->FVisible;
  FFont->Assign(s->FFont.get());
}

// ---------------------------------------------------------------------------
// TSearchPanel

ZV_CLASS_IMPL(TSearchPanel, TCustomPanel)

void TSearchPanel::DeclareProperties(TClassInfo& c) {
  using T = TSearchPanel;
  c.Integer<T>("ColorTo", &T::ColorTo, &T::SetColorTo, clNone).WithIdents(&ColorIdents());
}

TSearchPanel::TSearchPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  RegisterFooterGlyphs();
  SetAlign(alBottom);
  SetHeight(0);
  SetBevelOuter(bvNone);
  SetBorderWidth(0);
  auto button = [this](int L, int T, int W, int H) {
    auto* b = new TPlusGridButton(this);
    b->SetParent(this);
    b->SetBounds(L, T, W, H);
    b->SetParentFont(true);
    return b;
  };
  FClose = button(5, 7, 14, 14);
  FClose->SetShowCaption(false);
  SetGlyphs(FClose, "ASGCLOSE", "ASGCLOSE", "ASGCLOSEH", "ASGCLOSED");
  FClose->OnClick = [this](TObject*) { if (OnExitClick) OnExitClick(this); };

  FEdit = new TEdit(this);
  FEdit->SetParent(this);
  FEdit->SetBounds(25, 6, 110, FEdit->Height());
  FEdit->OnChange = [this](TObject*) { EditChanged(); };

  FNext = button(140, 5, 90, 23);
  SetGlyphs(FNext, "ASGARDOWN", "ASGARDOWND");
  FNext->SetEnabled(false);
  FNext->OnClick = [this](TObject*) { if (OnForwardClick) OnForwardClick(this); };

  FPrev = button(235, 5, 90, 23);
  SetGlyphs(FPrev, "ASGARUP", "ASGARUPD");
  FPrev->SetEnabled(false);
  FPrev->OnClick = [this](TObject*) { if (OnBackwardClick) OnBackwardClick(this); };

  FHighlight = button(330, 5, 90, 23);
  FHighlight->SetStyle(tasCheck);
  SetGlyphs(FHighlight, "ASGHI", "ASGHID");
  FHighlight->SetEnabled(false);
  FHighlight->OnClick = [this](TObject*) { if (OnHighlightClick) OnHighlightClick(this); };

  FMatchCase = new TCheckBox(this);
  FMatchCase->SetParent(this);
  FMatchCase->SetBounds(425, 8, 120, FMatchCase->Height());
}

void TSearchPanel::SetColorTo(TColor v) {
  FColorTo = v;
  Invalidate();
}

void TSearchPanel::EditChanged() {
  const bool any = !FEdit->Text().empty();
  FNext->SetEnabled(any);
  FPrev->SetEnabled(any);
  FHighlight->SetEnabled(any);
  if (OnEditChange) OnEditChange(this);
}

void TSearchPanel::SetTexts(const std::string& Next, const std::string& Prev, const std::string& Highlight,
                            const std::string& MatchCase, const std::string& HintClose, const std::string& HintNext,
                            const std::string& HintPrev, const std::string& HintHighlight) {
  const std::string t[8] = {Next, Prev, Highlight, MatchCase, HintClose, HintNext, HintPrev, HintHighlight};
  std::copy(std::begin(t), std::end(t), FTexts);
  ApplyTexts();
}

void TSearchPanel::ApplyTexts() {
  FNext->SetCaption(FTexts[0]);
  FPrev->SetCaption(FTexts[1]);
  FHighlight->SetCaption(FTexts[2]);
  FMatchCase->SetCaption(FTexts[3]);
  TPlusGridButton* hinted[4] = {FClose, FNext, FPrev, FHighlight};
  for (int i = 0; i < 4; ++i) {
    hinted[i]->SetHint(FTexts[4 + i]);
    hinted[i]->SetShowHint(!FTexts[4 + i].empty());
  }
}

void TSearchPanel::ArrangeControls(bool ShowClose, bool ShowNext, bool ShowPrev, bool ShowHighlight,
                                   bool ShowMatchCase) {
  FClose->SetVisible(ShowClose);
  FNext->SetVisible(ShowNext);
  FPrev->SetVisible(ShowPrev);
  FHighlight->SetVisible(ShowHighlight);
  FMatchCase->SetVisible(ShowMatchCase);
  FMatchCase->SetLeft(ShowHighlight ? 425 : 330);
}

void TSearchPanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  ApplyTexts();
}

void TSearchPanel::Paint() {
  TCustomPanel::Paint();
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  if (FColorTo == clNone) {
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    c->FillRect(r);
  } else {
    FillGradientRect(c, Color(), FColorTo, false, r, 32);
  }
}

// ---------------------------------------------------------------------------
// The grid's side

TSearchPanel* TPlusStringGrid::SearchPanel() {
  if (!FSearchPanel) {
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->SetParent(this);
    FSearchPanel->OnEditChange = [this](TObject*) { SearchFooterAutoSearch(); };
    FSearchPanel->OnForwardClick = [this](TObject*) { SearchFooterFindNext(); };
    FSearchPanel->OnBackwardClick = [this](TObject*) { SearchFooterFindPrev(); };
    FSearchPanel->OnExitClick = [this](TObject*) { SearchFooterClose(); };
    FSearchPanel->OnHighlightClick = [this](TObject*) { SearchFooterHighlight(); };
  }
  return FSearchPanel;
}

std::unique_ptr<TSearchFooter> TPlusStringGrid::MakeSearchFooter() {
  auto f = std::make_unique<TSearchFooter>(this);
  f->OnChange = [this](TObject*) { ApplySearchFooter(); };
  return f;
}

void TPlusStringGrid::ApplySearchFooter() {
  TSearchFooter* f = FSearchFooter.get();
  if (!f->Visible() && !FSearchPanel) return;
  TSearchPanel* p = SearchPanel();
  p->SetColor(f->Color());
  p->SetColorTo(f->ColorTo());
  p->SetFont(f->Font());
  p->SetTexts(f->FindNextCaption(), f->FindPrevCaption(), f->HighLightCaption(), f->MatchCaseCaption(),
              f->HintClose(), f->HintFindNext(), f->HintFindPrev(), f->HintHighlight());
  p->ArrangeControls(f->ShowClose(), f->ShowFindNext(), f->ShowFindPrev(), f->ShowHighLight(), f->ShowMatchCase());
  // The buttons take the grid's control look.
  for (TPlusGridButton* b : {p->FindNextButton(), p->FindPrevButton(), p->HighlightButton()}) {
    if (FAutoThemeAdapt) {
      b->SetAutoXPStyle(true);
      b->SetFlat(true);
    } else if (FControlLook->ControlStyle() == csFlat) {
      b->SetFlat(true);
    } else if (FControlLook->ControlStyle() == csWinXP) {
      b->SetAutoXPStyle(true);
      b->SetFlat(false);
    } else if (FControlLook->ControlStyle() == csClassic) {
      b->SetAutoXPStyle(false);
      b->SetFlat(false);
    }
  }
  p->SetHeight(f->Visible() ? kSearchPanelHeight : 0);
  p->SetVisible(f->Visible());
  // Highlights belong to the open footer: a closed one leaves none behind.
  if (!f->Visible() && p->HighlightButton()->Down()) {
    p->HighlightButton()->SetDown(false);
    UnHilightInGrid(false);
  }
  UpdateCoveredBottom();
}

bool TPlusStringGrid::CellMatchesSearch(int ACol, int ARow) {
  const bool matchCase = FFindOptions.Contains(fnMatchCase);
  if (!FFindOptions.Contains(fnHiddenCols)) ACol = RealColIndex(ACol);
  std::string t = GetCellText(ACol, ARow);
  if (!matchCase) t = AnsiUpperCase(t);
  if (FFindOptions.Contains(fnStripTags)) t = HTMLToPlainText(t);
  if (FFindText == "\"\"") return t.empty();
  const size_t at = FFindText.empty() ? std::string::npos : t.find(FFindText);
  bool found = FFindOptions.Contains(fnAtStart) ? at == 0 : at != std::string::npos;
  if (FFindOptions.Contains(fnWholeCell)) found = found && t == FFindText;
  if (FFindOptions.Contains(fnConditionMatch)) return MatchCondition(FFindText, t, matchCase);
  return found;
}

TPoint TPlusStringGrid::FindCellFrom(TPoint StartCell, const std::string& Text, TFindParams Options) {
  const TPoint none{-1, -1};
  FFindOptions = Options;
  FFindText = Options.Contains(fnMatchCase) ? Text : AnsiUpperCase(Text);
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  if (ColCount() == 0 || ColCount() == fixedCols || RowCount() == 0 || RowCount() == fixedRows) return none;

  int c0 = 0, c1 = ColCount() - 1, r0 = 0, r1 = RowCount() - 1;
  if (!Options.Contains(fnIncludeFixed)) {
    c0 = fixedCols;
    c1 = ColCount() - FFixedRightCols - 1;
    r0 = fixedRows;
    r1 = RowCount() - FFixedFooters - 1;
  }
  if (Options.Contains(fnHiddenCols)) c1 += FNumHiddenColumns;
  if (Options.Contains(fnCurrentRowOnly)) r0 = r1 = Row();
  if (Options.Contains(fnCurrentColOnly)) c0 = c1 = Col();
  if (Options.Contains(fnPresetCol)) c0 = c1 = FFindPresetCol;
  if (c0 > c1 || r0 > r1 || c0 < 0 || r0 < 0 || r1 >= RowCount() || c1 >= GetAllColCount()) return none;

  const bool back = Options.Contains(fnBackward), rowWalk = Options.Contains(fnRowByRow);
  // The walk runs along lines: columns (rows inside) or rows (columns inside).
  int lo0 = rowWalk ? r0 : c0, lo1 = rowWalk ? r1 : c1;  // outer range
  int in0 = rowWalk ? c0 : r0, in1 = rowWalk ? c1 : r1;  // inner range
  int outer, inner;
  if (StartCell.X == -1 && StartCell.Y == -1) {
    outer = back ? lo1 : lo0;
    inner = back ? in1 : in0;
  } else {
    outer = rowWalk ? StartCell.Y : StartCell.X;
    inner = rowWalk ? StartCell.X : StartCell.Y;
    const bool beyond = back ? (outer < lo0 && inner < in0) : (outer > lo1 && inner > in1);
    if (beyond) {
      outer = back ? lo1 : lo0;
      inner = back ? in1 : in0;
    } else {
      inner += back ? -1 : 1;
      if (!back && inner > in1) { ++outer; inner = in0; }
      if (back && inner < in0) { --outer; inner = in1; }
      // A start outside the ranges enters them at their edge.
      if (!back && outer < lo0) { outer = lo0; inner = in0; }
      if (back && outer > lo1) { outer = lo1; inner = in1; }
      inner = std::clamp(inner, in0, in1);
    }
  }
  for (; back ? outer >= lo0 : outer <= lo1; outer += back ? -1 : 1) {
    for (; back ? inner >= in0 : inner <= in1; inner += back ? -1 : 1) {
      const int c = rowWalk ? inner : outer, r = rowWalk ? outer : inner;
      NotifyProgress(1, r);
      if (!CellMatchesSearch(c, r)) continue;
      FFindLast = TPoint{c, r};
      if (Options.Contains(fnGotoFound)) {
        if (FMouseActions->DisjunctRowSelect()) {
          ClearRowSelect();
          SetRowSelect(RealRowIndex(r), true);
        } else {
          SetCurrentRow(r);
          SetCol(c);
        }
      }
      return FFindLast;
    }
    inner = back ? in1 : in0;
  }
  return none;
}

TPoint TPlusStringGrid::SearchCells(TPoint StartCell, const std::string& Text, TFindParams Options) {
  NotifyProgress(0, -1);
  const TPoint found = FindCellFrom(StartCell, Text, Options);
  NotifyProgress(found.X < 0 ? 2 : 4, -1);
  return found;
}

void TPlusStringGrid::KeepFoundRowAboveFooter() {
  if (Row() > TopRow() + VisibleRowCount() - 2 && VisibleRowCount() + TCustomGrid::FixedRows() < RowCount())
    SetTopRow(TopRow() + 2);
}

void TPlusStringGrid::SearchFooterAutoSearch() {
  if (!FSearchFooter->AutoSearch()) return;
  TSearchPanel* p = SearchPanel();
  const std::string text = p->SearchEdit()->Text();
  const bool highlight = p->HighlightButton()->Down();
  if (text.empty()) {
    p->SearchEdit()->SetColor(clWindow);
    UnHilightInGrid(false);
  } else {
    TFindParams o{fnGotoFound};
    if (highlight) o.Include(fnStripTags);
    if (p->MatchCaseBox()->Checked()) o.Include(fnMatchCase);
    if (FSearchFooter->SearchActiveColumnOnly()) o.Include(fnCurrentColOnly);
    const int sc = FSearchFooter->SearchColumn();
    if (sc >= 0 && sc < ColCount()) {
      o.Include(fnPresetCol);
      FFindPresetCol = sc;
    }
    const TPoint found = SearchCells(TPoint{-1, -1}, text, o);
    FFindLast = found;
    UnHilightInGrid(false);
    if (found.X < 0) {
      p->SearchEdit()->SetColor(clRed);
    } else {
      p->SearchEdit()->SetColor(clWindow);
      ScrollInView(found.X, found.Y);
      if (highlight) HilightInGrid(false, false, text);
    }
  }
  KeepFoundRowAboveFooter();
}

void TPlusStringGrid::SearchFooterStep(bool Backward) {
  TSearchPanel* p = SearchPanel();
  const std::string text = p->SearchEdit()->Text();
  if (!FSearchFooter->AutoSearch()) {
    if (text != FSearchFooter->LastSearch()) FFindLast = TPoint{-1, -1};
    FSearchFooter->SetLastSearch(text);
  }
  // The buttons search case-insensitively over all normal cells, whatever
  // the box and the column settings say.
  TFindParams o{fnGotoFound};
  if (Backward) o.Include(fnBackward);
  FFindLast = SearchCells(FFindLast, text, o);
  KeepFoundRowAboveFooter();
}

void TPlusStringGrid::SearchFooterFindNext() { SearchFooterStep(false); }
void TPlusStringGrid::SearchFooterFindPrev() { SearchFooterStep(true); }

void TPlusStringGrid::SearchFooterClose() { FSearchFooter->SetVisible(false); }

void TPlusStringGrid::SearchFooterHighlight() {
  TSearchPanel* p = SearchPanel();
  if (p->HighlightButton()->Down())
    HilightInGrid(false, false, p->SearchEdit()->Text());
  else
    UnHilightInGrid(false);
}

void TPlusStringGrid::ScrollInView(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  const int vc = VisibleColCount(), vr = VisibleRowCount();
  if (ACol < LeftCol() || ACol >= LeftCol() + vc) {
    SetCol(ACol);
    int left = std::max(ACol - vc / 2, fixedCols);
    left = std::min(left, ColCount() - vc + 1);
    SetLeftCol(std::max(left, fixedCols));
  }
  if (ARow < TopRow() || ARow >= TopRow() + vr) {
    SetCurrentRow(ARow);
    int top = std::max(ARow - vr / 2, fixedRows);
    top = std::min(top, RowCount() - vr + 1);
    SetTopRow(std::max(top, fixedRows));
  }
}

// ---------------------------------------------------------------------------
// Highlights, applied while painting

void TPlusStringGrid::HilightInCells(const std::string& Text, const std::string& Tag, int FromCol, int FromRow,
                                     int ToCol, int ToRow, bool CaseSensitive) {
  if (Text.empty() || FromCol > ToCol || FromRow > ToRow) return;
  THighlightRule rule{Text, Tag, TGridRect{FromCol, FromRow, ToCol, ToRow}, CaseSensitive};
  for (const THighlightRule& h : FHighlights)
    if (h.Text == rule.Text && SameText(h.Tag, rule.Tag) && h.CaseSensitive == rule.CaseSensitive &&
        h.Area == rule.Area)
      return;
  FHighlights.push_back(std::move(rule));
  Invalidate();
}

void TPlusStringGrid::HilightInGrid(bool DoFixed, bool CaseSensitive, const std::string& Text) {
  if (DoFixed)
    HilightInCells(Text, "hi", 0, 0, ColCount() - 1, RowCount() - 1, CaseSensitive);
  else
    HilightInCells(Text, "hi", TCustomGrid::FixedCols(), TCustomGrid::FixedRows(), ColCount() - FFixedRightCols - 1,
                   RowCount() - FFixedFooters - 1, CaseSensitive);
}

void TPlusStringGrid::UnHilightInCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow) {
  const TGridRect cut{FromCol, FromRow, ToCol, ToRow};
  std::vector<THighlightRule> kept;
  for (const THighlightRule& h : FHighlights) {
    if (!SameText(h.Tag, Tag) || !Overlaps(h.Area, cut)) {
      kept.push_back(h);
      continue;
    }
    // What of the rule's area lies outside the cut stays highlighted.
    const TGridRect& a = h.Area;
    auto keep = [&](int L, int T, int R, int B) {
      if (L <= R && T <= B) kept.push_back(THighlightRule{h.Text, h.Tag, TGridRect{L, T, R, B}, h.CaseSensitive});
    };
    keep(a.Left, a.Top, a.Right, cut.Top - 1);
    keep(a.Left, cut.Bottom + 1, a.Right, a.Bottom);
    const int t = std::max(a.Top, cut.Top), b = std::min(a.Bottom, cut.Bottom);
    keep(a.Left, t, cut.Left - 1, b);
    keep(cut.Right + 1, t, a.Right, b);
  }
  if (kept.size() != FHighlights.size() || !std::equal(kept.begin(), kept.end(), FHighlights.begin(),
                                                       [](const THighlightRule& x, const THighlightRule& y) {
                                                         return x.Area == y.Area;
                                                       })) {
    FHighlights = std::move(kept);
    Invalidate();
  }
}

void TPlusStringGrid::UnHilightInGrid(bool DoFixed) {
  if (DoFixed)
    UnHilightInCells("hi", 0, 0, ColCount() - 1, RowCount() - 1);
  else
    UnHilightInCells("hi", TCustomGrid::FixedCols(), TCustomGrid::FixedRows(), ColCount() - FFixedRightCols - 1,
                     RowCount() - FFixedFooters - 1);
}

std::string TPlusStringGrid::PaintHighlightedText(int ACol, int ARow, const std::string& Text,
                                                  TCellTextKind& AKind) {
  if (FHighlights.empty() || AKind == ckRTF) return Text;
  std::string s = Text;
  bool markup = AKind == ckHTML;
  bool changed = false;
  for (const THighlightRule& h : FHighlights) {
    if (!CellInGridRect(h.Area, ACol, ARow)) continue;
    if (!markup) {
      // Plain and wide texts become markup so the renderer can show the tag.
      s = EscapeMarkup(AKind == ckUnicode ? Utf16ToUtf8(DecodeWideCellText(s)) : s);
      markup = true;
    }
    const std::string search = AKind == ckHTML ? h.Text : EscapeMarkup(h.Text);
    const std::string next = HighlightHTMLText(s, search, h.Tag, h.CaseSensitive);
    changed = changed || next != s;
    s = next;
  }
  if (!changed) return Text;
  AKind = ckHTML;
  return s;
}
