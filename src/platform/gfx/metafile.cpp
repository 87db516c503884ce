// Metafiles: recording, replay, and the EMF and WMF writers (libUEMF).
#include <QFontMetrics>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/metafile.h"
#include "platform/gfx/qt_private.h"

extern "C" {
#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>
}

// ---- TMetafile ----

TMetafile::TMetafile() : FData(std::make_unique<TMetafileData>()) {}
TMetafile::~TMetafile() = default;

bool TMetafile::Empty() const { return FData->Records.empty() && FData->Width == 0 && FData->Height == 0; }
int TMetafile::Width() const { return FData->Width; }
int TMetafile::Height() const { return FData->Height; }
void TMetafile::SetWidth(int value) {
  if (value == FData->Width) return;
  FData->Width = std::max(0, value);
  Changed();
}
void TMetafile::SetHeight(int value) {
  if (value == FData->Height) return;
  FData->Height = std::max(0, value);
  Changed();
}
int TMetafile::MMWidth() const { return static_cast<int>(std::lround(FData->Width * 2540.0 / ScreenPixelsPerInch)); }
int TMetafile::MMHeight() const { return static_cast<int>(std::lround(FData->Height * 2540.0 / ScreenPixelsPerInch)); }
void TMetafile::SetMMWidth(int value) { SetWidth(static_cast<int>(std::lround(value * ScreenPixelsPerInch / 2540.0))); }
void TMetafile::SetMMHeight(int value) { SetHeight(static_cast<int>(std::lround(value * ScreenPixelsPerInch / 2540.0))); }
int TMetafile::RecordCount() const { return static_cast<int>(FData->Records.size()); }

void TMetafile::Clear() {
  FData->Records.clear();
  FData->Emf.reset();
  FData->Svg.reset();
  FData->Width = FData->Height = 0;
  Changed();
}

void TMetafile::Assign(const TGraphic* source) {
  if (source == this) return;
  if (!source) return Clear();
  auto* m = dynamic_cast<const TMetafile*>(source);
  if (!m) AssignError(source);
  *FData = *m->FData;
  FEnhanced = m->FEnhanced;
  Changed();
}

void TMetafile::LoadFromStream(TStream& stream) {
  TMetafileData read;
  GfxReadEmf(stream, read);
  *FData = std::move(read);
  FEnhanced = true;
  Changed();
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas) return;
  if (FData->Svg) GfxDrawReadMetafile(*FData, canvas, rect);
  else GfxReplay(*FData, canvas, rect);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, TCanvas*) : FMetafile(metafile) {
  if (!metafile) throw EInvalidGraphicOperation("A metafile canvas needs a metafile");
  metafile->Data()->Records.clear();
  metafile->Data()->Emf.reset();
  metafile->Data()->Svg.reset();
  GfxBindRecorder(this, metafile->Data(), metafile->Width(), metafile->Height());
}

TMetafileCanvas::~TMetafileCanvas() {
  GfxUnbind(this);
  if (FMetafile) {
    FMetafile->SetModified(true);
    if (FMetafile->OnChange) FMetafile->OnChange(FMetafile);
  }
}

// ---- Writers ----

namespace {

// A private file for libUEMF, which writes to files only; removed afterwards.
class TTempFile {
public:
  TTempFile() {
    std::string dir = std::filesystem::temp_directory_path().string();
    FName = dir + "/zelvora-mf-XXXXXX";
    int fd = mkstemp(FName.data());
    if (fd < 0) throw EFCreateError("Cannot create a work file in " + dir);
    close(fd);
  }
  ~TTempFile() { std::remove(FName.c_str()); }
  const std::string& Name() const { return FName; }
  void CopyTo(TStream& stream) const {
    std::ifstream in(FName, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  }

private:
  std::string FName;
};

U_COLORREF Cref(TColor c) {
  TColorRef r = ColorToRGB(c);
  return colorref3_set(static_cast<uint8_t>(GetRValue(r)), static_cast<uint8_t>(GetGValue(r)),
                       static_cast<uint8_t>(GetBValue(r)));
}

uint32_t PenStyleOf(const TPenHandle& p) {
  unsigned s = p.Style & PS_STYLE_MASK;
  if (s == PS_ALTERNATE || s == PS_USERSTYLE) return PS_DOT;
  return s;
}

uint32_t BrushStyleOf(const TMetaState& st, uint32_t& hatch) {
  hatch = 0;
  switch (st.BrushStyle) {
    case bsClear: return BS_NULL;
    case bsHorizontal: hatch = HS_HORIZONTAL; return BS_HATCHED;
    case bsVertical: hatch = HS_VERTICAL; return BS_HATCHED;
    case bsFDiagonal: hatch = HS_FDIAGONAL; return BS_HATCHED;
    case bsBDiagonal: hatch = HS_BDIAGONAL; return BS_HATCHED;
    case bsCross: hatch = HS_CROSS; return BS_HATCHED;
    case bsDiagCross: hatch = HS_DIAGCROSS; return BS_HATCHED;
    default: return BS_SOLID;
  }
}

// Bottom-up 32-bit rows of an image, for device-independent bitmaps.
std::vector<char> DibPixels(const QImage& img) {
  QImage i = img.convertToFormat(QImage::Format_RGB32);
  std::vector<char> px(static_cast<size_t>(i.width()) * i.height() * 4);
  for (int y = 0; y < i.height(); ++y)
    std::memcpy(px.data() + static_cast<size_t>(i.height() - 1 - y) * i.width() * 4, i.constScanLine(y),
                static_cast<size_t>(i.width()) * 4);
  return px;
}

std::vector<char> Dib24Pixels(const QImage& img) {
  QImage i = img.convertToFormat(QImage::Format_RGB32);
  int stride = ((i.width() * 3 + 3) / 4) * 4;
  std::vector<char> px(static_cast<size_t>(stride) * i.height(), 0);
  for (int y = 0; y < i.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(i.constScanLine(y));
    char* d = px.data() + static_cast<size_t>(i.height() - 1 - y) * stride;
    for (int x = 0; x < i.width(); ++x) {
      d[x * 3] = static_cast<char>(qBlue(s[x]));
      d[x * 3 + 1] = static_cast<char>(qGreen(s[x]));
      d[x * 3 + 2] = static_cast<char>(qRed(s[x]));
    }
  }
  return px;
}

// Gradients are written as pictures.
QImage RenderGradient(const TMetaRecord& r, QRect& bounds) {
  const auto& a = r.A;
  int l = INT32_MAX, t = INT32_MAX, rr = INT32_MIN, b = INT32_MIN;
  for (size_t i = 1; i + 5 < a.size(); i += 6) {
    l = std::min(l, a[i]); rr = std::max(rr, a[i]);
    t = std::min(t, a[i + 1]); b = std::max(b, a[i + 1]);
  }
  bounds = QRect(l, t, std::max(1, rr - l), std::max(1, b - t));
  TBitmap bmp(bounds.width(), bounds.height());
  TMetafileData one;
  one.Width = bounds.width();
  one.Height = bounds.height();
  TMetaRecord c = r;
  for (size_t i = 1; i + 5 < c.A.size(); i += 6) { c.A[i] -= l; c.A[i + 1] -= t; }
  auto st = std::make_shared<TMetaState>();
  c.State = st;
  one.Records.push_back(c);
  GfxReplay(one, bmp.Canvas(), {0, 0, bounds.width(), bounds.height()});
  return GfxBitmapImage(&bmp).copy();
}

std::vector<uint32_t> TextAdvances(const TMetaState& st, const std::u16string& text, const std::vector<int>& given) {
  std::vector<uint32_t> dx(text.size(), 0);
  if (given.size() == text.size()) {
    for (size_t i = 0; i < text.size(); ++i) dx[i] = static_cast<uint32_t>(std::max(0, given[i]));
    return dx;
  }
  TFont f;
  f.SetName(st.FontName);
  f.SetHeight(st.FontHeight);
  f.SetStyle(TFontStyles::FromBits(st.FontStyle));
  QFontMetrics fm(GfxMakeQFont(f));
  for (size_t i = 0; i < text.size(); ++i)
    dx[i] = static_cast<uint32_t>(fm.horizontalAdvance(QChar(static_cast<char16_t>(text[i]))) + st.CharExtra);
  return dx;
}

std::u16string Utf16(const std::string& s) {
  QString q = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
}

class TEmfWriter {
public:
  TEmfWriter(const TMetafileData& d) : D(d) {}

  void Write(const std::string& file) {
    if (emf_start(file.c_str(), 1 << 16, 1 << 16, &Et)) throw EFCreateError("Cannot write the metafile");
    emf_htable_create(128, 128, &Eht);
    int w = std::max(1, D.Width), h = std::max(1, D.Height);
    U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(w - 1, h - 1));
    U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(w * 2540 / 96, h * 2540 / 96));
    Bounds = bounds;
    Add(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, sizel_set(3840, 3840), sizel_set(1016, 1016), 0));
    Add(U_EMRSETTEXTALIGN_set(0));
    for (const TMetaRecord& r : D.Records) {
      ApplyState(*r.State);
      Emit(r);
    }
    Add(U_EMREOF_set(0, nullptr, Et));
    emf_finish(Et, Eht);
    emf_free(&Et);
    emf_htable_free(&Eht);
  }

private:
  const TMetafileData& D;
  EMFTRACK* Et = nullptr;
  EMFHANDLES* Eht = nullptr;
  U_RECTL Bounds{};
  uint32_t Pen = 0, Brush = 0, Font = 0;
  const TMetaState* Last = nullptr;
  TMetaState Cur;
  bool First = true;

  void Add(char* rec) {
    if (rec) emf_append(reinterpret_cast<U_ENHMETARECORD*>(rec), Et, U_REC_FREE);
  }
  static U_POINTL P(TPoint p) { return point32_set(p.X, p.Y); }
  static U_RECTL R(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }

  void ApplyState(const TMetaState& s) {
    if (&s == Last) return;
    Last = &s;
    if (First || !(s.Pen == Cur.Pen)) {
      uint32_t old = Pen;
      U_LOGPEN lp = logpen_set(PenStyleOf(s.Pen), point32_set(std::max(0, s.Pen.Width), 0), Cref(s.Pen.Color));
      Add(createpen_set(&Pen, Eht, lp));
      Add(selectobject_set(Pen, Eht));
      if (old) Add(deleteobject_set(&old, Eht));
    }
    if (First || s.BrushStyle != Cur.BrushStyle || s.BrushColor != Cur.BrushColor) {
      uint32_t old = Brush, hatch;
      uint32_t style = BrushStyleOf(s, hatch);
      Add(createbrushindirect_set(&Brush, Eht, logbrush_set(style, Cref(s.BrushColor), static_cast<int32_t>(hatch))));
      Add(selectobject_set(Brush, Eht));
      if (old) Add(deleteobject_set(&old, Eht));
    }
    if (First || s.FontName != Cur.FontName || s.FontHeight != Cur.FontHeight || s.FontStyle != Cur.FontStyle ||
        s.FontCharset != Cur.FontCharset || s.FontOrientation != Cur.FontOrientation) {
      uint32_t old = Font;
      size_t len = 0;
      uint16_t* face = U_Utf8ToUtf16le(s.FontName.substr(0, 31).c_str(), 0, &len);
      TFontStyles st = TFontStyles::FromBits(s.FontStyle);
      U_LOGFONT lf = logfont_set(s.FontHeight, 0, s.FontOrientation, s.FontOrientation, st.Contains(fsBold) ? 700 : 400,
                                 st.Contains(fsItalic), st.Contains(fsUnderline), st.Contains(fsStrikeOut),
                                 s.FontCharset, 0, 0, 0, 0, face);
      free(face);
      Add(extcreatefontindirectw_set(&Font, Eht, reinterpret_cast<const char*>(&lf), nullptr));
      Add(selectobject_set(Font, Eht));
      if (old) Add(deleteobject_set(&old, Eht));
    }
    if (First || s.BkColor != Cur.BkColor) Add(U_EMRSETBKCOLOR_set(Cref(s.BkColor)));
    if (First || s.BkMode != Cur.BkMode) Add(U_EMRSETBKMODE_set(static_cast<uint32_t>(s.BkMode)));
    if (First || s.TextColor != Cur.TextColor) Add(U_EMRSETTEXTCOLOR_set(Cref(s.TextColor)));
    if (First || s.TextAlign != Cur.TextAlign) Add(U_EMRSETTEXTALIGN_set(s.TextAlign));
    if (First || s.Rop2 != Cur.Rop2) Add(U_EMRSETROP2_set(static_cast<uint32_t>(s.Rop2)));
    if (First || s.PolyFill != Cur.PolyFill) Add(U_EMRSETPOLYFILLMODE_set(static_cast<uint32_t>(s.PolyFill)));
    if (First || s.ArcDir != Cur.ArcDir) Add(U_EMRSETARCDIRECTION_set(static_cast<uint32_t>(s.ArcDir)));
    if (First || s.MapMode != Cur.MapMode) Add(U_EMRSETMAPMODE_set(static_cast<uint32_t>(s.MapMode)));
    if (First || !(s.WinExt == Cur.WinExt)) Add(U_EMRSETWINDOWEXTEX_set(sizel_set(s.WinExt.cx, s.WinExt.cy)));
    if (First || !(s.VpExt == Cur.VpExt)) Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(s.VpExt.cx, s.VpExt.cy)));
    if (First || !(s.WinOrg == Cur.WinOrg)) Add(U_EMRSETWINDOWORGEX_set(P(s.WinOrg)));
    if (First || !(s.VpOrg == Cur.VpOrg)) Add(U_EMRSETVIEWPORTORGEX_set(P(s.VpOrg)));
    if (First || s.HasClip != Cur.HasClip || s.Clip != Cur.Clip) {
      QRegion clip = s.HasClip ? s.Clip : QRegion(0, 0, std::max(1, D.Width), std::max(1, D.Height));
      std::vector<U_RECTL> rects;
      for (const QRect& q : clip) rects.push_back(R(q.left(), q.top(), q.right() + 1, q.bottom() + 1));
      if (rects.empty()) rects.push_back(R(0, 0, 0, 0));
      QRect b = clip.boundingRect();
      U_RGNDATAHEADER hdr = rgndataheader_set(static_cast<U_NUM_RECTL>(rects.size()),
                                              R(b.left(), b.top(), b.right() + 1, b.bottom() + 1));
      PU_RGNDATA rd = rgndata_set(hdr, rects.data());
      Add(U_EMREXTSELECTCLIPRGN_set(U_RGN_COPY, rd));
      free(rd);
    }
    Cur = s;
    First = false;
  }

  void Polys(uint32_t kind, const std::vector<TPoint>& pts) {
    std::vector<U_POINTL> p;
    for (const TPoint& q : pts) p.push_back(P(q));
    uint32_t n = static_cast<uint32_t>(p.size());
    if (kind == 0) Add(U_EMRPOLYLINE_set(Bounds, n, p.data()));
    else if (kind == 1) Add(U_EMRPOLYGON_set(Bounds, n, p.data()));
    else Add(U_EMRPOLYBEZIER_set(Bounds, n, p.data()));
  }

  void FillRectNoPen(int l, int t, int r, int b) {
    Add(U_EMRSELECTOBJECT_set(U_NULL_PEN));
    Add(U_EMRRECTANGLE_set(R(l, t, r + 1, b + 1)));
    Add(selectobject_set(Pen, Eht));
  }

  void Picture(const QImage& img, int l, int t, int r, int b, uint32_t rop) {
    if (img.isNull()) return;
    std::vector<char> px = DibPixels(img);
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(img.width(), img.height(), 1, 32, U_BI_RGB,
                                                 static_cast<uint32_t>(px.size()), 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, nullptr);
    Add(U_EMRSTRETCHDIBITS_set(Bounds, point32_set(l, t), point32_set(r - l, b - t), point32_set(0, 0),
                               point32_set(img.width(), img.height()), U_DIB_RGB_COLORS, rop, bmi,
                               static_cast<uint32_t>(px.size()), px.data()));
    free(bmi);
  }

  void Emit(const TMetaRecord& r) {
    const auto& a = r.A;
    switch (r.Op) {
      case moLineTo:
        Add(U_EMRMOVETOEX_set(P(r.Pts[0])));
        Add(U_EMRLINETO_set(point32_set(a[0], a[1])));
        break;
      case moRectangle: Add(U_EMRRECTANGLE_set(R(a[0], a[1], a[2], a[3]))); break;
      case moEllipse: Add(U_EMRELLIPSE_set(R(a[0], a[1], a[2], a[3]))); break;
      case moRoundRect: Add(U_EMRROUNDRECT_set(R(a[0], a[1], a[2], a[3]), sizel_set(a[4], a[5]))); break;
      case moArc: Add(U_EMRARC_set(R(a[0], a[1], a[2], a[3]), point32_set(a[4], a[5]), point32_set(a[6], a[7]))); break;
      case moChord: Add(U_EMRCHORD_set(R(a[0], a[1], a[2], a[3]), point32_set(a[4], a[5]), point32_set(a[6], a[7]))); break;
      case moPie: Add(U_EMRPIE_set(R(a[0], a[1], a[2], a[3]), point32_set(a[4], a[5]), point32_set(a[6], a[7]))); break;
      case moPolyline: Polys(0, r.Pts); break;
      case moPolygon: Polys(1, r.Pts); break;
      case moPolyBezier: Polys(2, r.Pts); break;
      case moPolyPolygon: {
        std::vector<U_POINTL> p;
        for (const TPoint& q : r.Pts) p.push_back(P(q));
        std::vector<uint32_t> c(r.Counts.begin(), r.Counts.end());
        Add(U_EMRPOLYPOLYGON_set(Bounds, static_cast<uint32_t>(c.size()), c.data(), static_cast<uint32_t>(p.size()), p.data()));
        break;
      }
      case moFillRect: FillRectNoPen(a[0], a[1], a[2], a[3]); break;
      case moFrameRect:
        FillRectNoPen(a[0], a[1], a[2], a[1] + 1);
        FillRectNoPen(a[0], a[3] - 1, a[2], a[3]);
        FillRectNoPen(a[0], a[1], a[0] + 1, a[3]);
        FillRectNoPen(a[2] - 1, a[1], a[2], a[3]);
        break;
      case moFocusRect: break;  // an on-screen xor mark has no place in a picture
      case moPixel: Add(U_EMRSETPIXELV_set(point32_set(a[0], a[1]), Cref(a[2]))); break;
      case moText: {
        std::u16string t = Utf16(r.Text);
        if (t.empty()) break;
        std::vector<uint32_t> dx = TextAdvances(*r.State, t, r.Counts);
        U_RECTL rc = a[3] ? R(a[4], a[5], a[6], a[7]) : R(0, 0, -1, -1);
        uint32_t opts = a[3] ? static_cast<uint32_t>(a[2]) : 0;
        char* et = emrtext_set(point32_set(a[0], a[1]), static_cast<U_NUM_STR>(t.size()), 2,
                               const_cast<char16_t*>(t.data()), opts, rc, dx.data());
        Add(U_EMREXTTEXTOUTW_set(Bounds, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(et)));
        free(et);
        break;
      }
      case moImage:
      case moAlphaImage: Picture(*r.Image, a[0], a[1], a[2], a[3], static_cast<uint32_t>(a[4])); break;
      case moPatBlt: break;
      case moGradient: {
        QRect b;
        QImage img = RenderGradient(r, b);
        Picture(img, b.left(), b.top(), b.right() + 1, b.bottom() + 1, SRCCOPY);
        break;
      }
      case moPath: {
        Add(U_EMRBEGINPATH_set());
        size_t k = 0;
        for (int c : r.Counts) {
          int n = std::abs(c);
          if (n > 0) {
            Add(U_EMRMOVETOEX_set(P(r.Pts[k])));
            std::vector<U_POINTL> p;
            for (int i = 1; i < n; ++i) p.push_back(P(r.Pts[k + i]));
            if (!p.empty()) Add(U_EMRPOLYLINETO_set(Bounds, static_cast<uint32_t>(p.size()), p.data()));
            if (c < 0) Add(U_EMRCLOSEFIGURE_set());
          }
          k += n;
        }
        Add(U_EMRENDPATH_set());
        if (a[0] == 1) Add(U_EMRSTROKEPATH_set(Bounds));
        else if (a[0] == 2) Add(U_EMRFILLPATH_set(Bounds));
        else Add(U_EMRSTROKEANDFILLPATH_set(Bounds));
        break;
      }
    }
  }
};

class TWmfWriter {
public:
  TWmfWriter(const TMetafileData& d) : D(d) {}

  void Write(const std::string& file) {
    if (wmf_start(file.c_str(), 1 << 16, 1 << 16, &Wt)) throw EFCreateError("Cannot write the metafile");
    wmf_htable_create(128, 128, &Wht);
    int w = std::max(1, D.Width), h = std::max(1, D.Height);
    U_PAIRF* size = U_PAIRF_set(w / 96.0f, h / 96.0f);
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(size, 96)), Wt, 1);
    free(size);
    Add(U_WMRSETWINDOWORG_set(P16(0, 0)));
    Add(U_WMRSETWINDOWEXT_set(P16(w, h)));
    for (const TMetaRecord& r : D.Records) {
      ApplyState(*r.State);
      Emit(r);
    }
    Add(U_WMREOF_set());
    wmf_finish(Wt);
    wmf_free(&Wt);
    wmf_htable_free(&Wht);
  }

private:
  const TMetafileData& D;
  WMFTRACK* Wt = nullptr;
  WMFHANDLES* Wht = nullptr;
  uint32_t Pen = 0, Brush = 0, Font = 0;
  const TMetaState* Last = nullptr;
  TMetaState Cur;
  bool First = true;

  void Add(char* rec) {
    if (rec) wmf_append(reinterpret_cast<U_METARECORD*>(rec), Wt, 1);
  }
  static U_POINT16 P16(int x, int y) {
    U_POINT16 p;
    p.x = static_cast<int16_t>(std::clamp(x, -32768, 32767));
    p.y = static_cast<int16_t>(std::clamp(y, -32768, 32767));
    return p;
  }
  static U_RECT16 R16(int l, int t, int r, int b) { return U_RECT16_set(P16(l, t), P16(r, b)); }

  void ApplyState(const TMetaState& s) {
    if (&s == Last) return;
    Last = &s;
    if (First || !(s.Pen == Cur.Pen)) {
      uint32_t old = Pen;
      Add(wcreatepenindirect_set(&Pen, Wht, U_PEN_set(static_cast<uint16_t>(PenStyleOf(s.Pen)),
                                                      static_cast<uint16_t>(std::max(0, s.Pen.Width)), Cref(s.Pen.Color))));
      Add(wselectobject_set(Pen, Wht));
      if (old) Add(wdeleteobject_set(&old, Wht));
    }
    if (First || s.BrushStyle != Cur.BrushStyle || s.BrushColor != Cur.BrushColor) {
      uint32_t old = Brush, hatch;
      uint32_t style = BrushStyleOf(s, hatch);
      Add(wcreatebrushindirect_set(&Brush, Wht, U_WLOGBRUSH_set(static_cast<uint16_t>(style), Cref(s.BrushColor),
                                                                static_cast<uint16_t>(hatch))));
      Add(wselectobject_set(Brush, Wht));
      if (old) Add(wdeleteobject_set(&old, Wht));
    }
    if (First || s.FontName != Cur.FontName || s.FontHeight != Cur.FontHeight || s.FontStyle != Cur.FontStyle ||
        s.FontCharset != Cur.FontCharset || s.FontOrientation != Cur.FontOrientation) {
      uint32_t old = Font;
      TFontStyles st = TFontStyles::FromBits(s.FontStyle);
      std::string face = s.FontName.substr(0, 31);
      U_FONT* f = U_FONT_set(static_cast<int16_t>(s.FontHeight), 0, static_cast<int16_t>(s.FontOrientation),
                             static_cast<int16_t>(s.FontOrientation), st.Contains(fsBold) ? 700 : 400,
                             st.Contains(fsItalic), st.Contains(fsUnderline), st.Contains(fsStrikeOut), s.FontCharset,
                             0, 0, 0, 0, face.data());
      Add(wcreatefontindirect_set(&Font, Wht, f));
      free(f);
      Add(wselectobject_set(Font, Wht));
      if (old) Add(wdeleteobject_set(&old, Wht));
    }
    if (First || s.BkColor != Cur.BkColor) Add(U_WMRSETBKCOLOR_set(Cref(s.BkColor)));
    if (First || s.BkMode != Cur.BkMode) Add(U_WMRSETBKMODE_set(static_cast<uint16_t>(s.BkMode)));
    if (First || s.TextColor != Cur.TextColor) Add(U_WMRSETTEXTCOLOR_set(Cref(s.TextColor)));
    if (First || s.TextAlign != Cur.TextAlign) Add(U_WMRSETTEXTALIGN_set(static_cast<uint16_t>(s.TextAlign)));
    if (First || s.Rop2 != Cur.Rop2) Add(U_WMRSETROP2_set(static_cast<uint16_t>(s.Rop2)));
    if (First || s.PolyFill != Cur.PolyFill) Add(U_WMRSETPOLYFILLMODE_set(static_cast<uint16_t>(s.PolyFill)));
    Cur = s;
    First = false;
  }

  void Poly(bool polygon, const std::vector<TPoint>& pts) {
    std::vector<U_POINT16> p;
    for (const TPoint& q : pts) p.push_back(P16(q.X, q.Y));
    if (polygon) Add(U_WMRPOLYGON_set(static_cast<uint16_t>(p.size()), p.data()));
    else Add(U_WMRPOLYLINE_set(static_cast<uint16_t>(p.size()), p.data()));
  }

  void Picture(const QImage& img, int l, int t, int r, int b, uint32_t rop) {
    if (img.isNull()) return;
    std::vector<char> px = Dib24Pixels(img);
    U_BITMAPINFOHEADER bh = bitmapinfoheader_set(img.width(), img.height(), 1, 24, U_BI_RGB,
                                                 static_cast<uint32_t>(px.size()), 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(bh, nullptr);
    Add(U_WMRSTRETCHDIB_set(P16(l, t), P16(r - l, b - t), P16(0, 0), P16(img.width(), img.height()), U_DIB_RGB_COLORS,
                            rop, bmi, static_cast<uint32_t>(px.size()), px.data()));
    free(bmi);
  }

  void FillRectNoPen(int l, int t, int r, int b) {
    uint32_t nullPen = 0;
    Add(wcreatepenindirect_set(&nullPen, Wht, U_PEN_set(PS_NULL, 0, Cref(clBlack))));
    Add(wselectobject_set(nullPen, Wht));
    Add(U_WMRRECTANGLE_set(R16(l, t, r + 1, b + 1)));
    Add(wselectobject_set(Pen, Wht));
    Add(wdeleteobject_set(&nullPen, Wht));
  }

  void Emit(const TMetaRecord& r) {
    const auto& a = r.A;
    switch (r.Op) {
      case moLineTo:
        Add(U_WMRMOVETO_set(P16(r.Pts[0].X, r.Pts[0].Y)));
        Add(U_WMRLINETO_set(P16(a[0], a[1])));
        break;
      case moRectangle: Add(U_WMRRECTANGLE_set(R16(a[0], a[1], a[2], a[3]))); break;
      case moEllipse: Add(U_WMRELLIPSE_set(R16(a[0], a[1], a[2], a[3]))); break;
      case moRoundRect: Add(U_WMRROUNDRECT_set(static_cast<int16_t>(a[4]), static_cast<int16_t>(a[5]), R16(a[0], a[1], a[2], a[3]))); break;
      case moArc: Add(U_WMRARC_set(P16(a[4], a[5]), P16(a[6], a[7]), R16(a[0], a[1], a[2], a[3]))); break;
      case moChord: Add(U_WMRCHORD_set(P16(a[4], a[5]), P16(a[6], a[7]), R16(a[0], a[1], a[2], a[3]))); break;
      case moPie: Add(U_WMRPIE_set(P16(a[4], a[5]), P16(a[6], a[7]), R16(a[0], a[1], a[2], a[3]))); break;
      case moPolyline: Poly(false, r.Pts); break;
      case moPolygon: Poly(true, r.Pts); break;
      case moPolyBezier: {
        // old-format metafiles have no curves: a flattened polyline
        QPainterPath p;
        p.moveTo(r.Pts[0].X, r.Pts[0].Y);
        for (size_t i = 1; i + 2 < r.Pts.size(); i += 3)
          p.cubicTo(r.Pts[i].X, r.Pts[i].Y, r.Pts[i + 1].X, r.Pts[i + 1].Y, r.Pts[i + 2].X, r.Pts[i + 2].Y);
        std::vector<TPoint> flat;
        for (const QPolygonF& poly : p.toSubpathPolygons())
          for (const QPointF& q : poly) flat.push_back({static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y()))});
        Poly(false, flat);
        break;
      }
      case moPolyPolygon: {
        std::vector<U_POINT16> p;
        for (const TPoint& q : r.Pts) p.push_back(P16(q.X, q.Y));
        std::vector<uint16_t> c;
        for (int n : r.Counts) c.push_back(static_cast<uint16_t>(n));
        Add(U_WMRPOLYPOLYGON_set(static_cast<uint16_t>(c.size()), c.data(), p.data()));
        break;
      }
      case moFillRect: FillRectNoPen(a[0], a[1], a[2], a[3]); break;
      case moFrameRect:
        FillRectNoPen(a[0], a[1], a[2], a[1] + 1);
        FillRectNoPen(a[0], a[3] - 1, a[2], a[3]);
        FillRectNoPen(a[0], a[1], a[0] + 1, a[3]);
        FillRectNoPen(a[2] - 1, a[1], a[2], a[3]);
        break;
      case moFocusRect: break;
      case moPixel: Add(U_WMRSETPIXEL_set(Cref(a[2]), P16(a[0], a[1]))); break;
      case moText: {
        size_t len = 0;
        char* latin = U_Utf8ToLatin1(r.Text.c_str(), 0, &len);
        if (!latin) break;
        if (len > 0) {
          U_RECT16 rc = a[3] ? R16(a[4], a[5], a[6], a[7]) : R16(0, 0, 0, 0);
          Add(U_WMREXTTEXTOUT_set(P16(a[0], a[1]), static_cast<int16_t>(len), a[3] ? static_cast<uint16_t>(a[2]) : 0,
                                  latin, nullptr, rc));
        }
        free(latin);
        break;
      }
      case moImage:
      case moAlphaImage: Picture(*r.Image, a[0], a[1], a[2], a[3], static_cast<uint32_t>(a[4])); break;
      case moPatBlt: break;
      case moGradient: {
        QRect b;
        QImage img = RenderGradient(r, b);
        Picture(img, b.left(), b.top(), b.right() + 1, b.bottom() + 1, SRCCOPY);
        break;
      }
      case moPath: {
        size_t k = 0;
        std::vector<TPoint> all;
        std::vector<int> counts;
        for (int c : r.Counts) {
          int n = std::abs(c);
          std::vector<TPoint> fig(r.Pts.begin() + static_cast<long>(k), r.Pts.begin() + static_cast<long>(k + n));
          if (a[0] & 2) {
            all.insert(all.end(), fig.begin(), fig.end());
            counts.push_back(n);
          }
          if (a[0] == 1) {
            if (c < 0 && !fig.empty()) fig.push_back(fig.front());
            Poly(false, fig);
          }
          k += n;
        }
        if (!counts.empty()) {
          std::vector<U_POINT16> p;
          for (const TPoint& q : all) p.push_back(P16(q.X, q.Y));
          std::vector<uint16_t> c(counts.begin(), counts.end());
          if (a[0] == 2) {
            uint32_t nullPen = 0;
            Add(wcreatepenindirect_set(&nullPen, Wht, U_PEN_set(PS_NULL, 0, Cref(clBlack))));
            Add(wselectobject_set(nullPen, Wht));
            Add(U_WMRPOLYPOLYGON_set(static_cast<uint16_t>(c.size()), c.data(), p.data()));
            Add(wselectobject_set(Pen, Wht));
            Add(wdeleteobject_set(&nullPen, Wht));
          } else {
            Add(U_WMRPOLYPOLYGON_set(static_cast<uint16_t>(c.size()), c.data(), p.data()));
          }
        }
        break;
      }
    }
  }
};

}  // namespace

void TMetafile::SaveToEmfStream(TStream& stream) const {
  if (FData->Emf) {
    stream.WriteBuffer(FData->Emf->data(), static_cast<int64_t>(FData->Emf->size()));
    return;
  }
  EnsureQtApplication();
  TTempFile tmp;
  TEmfWriter(*FData).Write(tmp.Name());
  tmp.CopyTo(stream);
}

void TMetafile::SaveToWmfStream(TStream& stream) const {
  if (FData->Svg) {
    // A metafile that was read is written in the old format as its picture.
    TMetafile drawn;
    drawn.SetWidth(std::max(Width(), 1));
    drawn.SetHeight(std::max(Height(), 1));
    {
      TMetafileCanvas canvas(&drawn);
      GfxDrawReadMetafile(*FData, &canvas, Rect(0, 0, drawn.Width(), drawn.Height()));
    }
    drawn.SaveToWmfStream(stream);
    return;
  }
  EnsureQtApplication();
  TTempFile tmp;
  TWmfWriter(*FData).Write(tmp.Name());
  tmp.CopyTo(stream);
}

void TMetafile::SaveToStream(TStream& stream) const {
  if (FEnhanced) SaveToEmfStream(stream);
  else SaveToWmfStream(stream);
}
