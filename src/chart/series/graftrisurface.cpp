// The triangulated surface series: an incremental triangulation from the
// closest pair outwards with diagonal exchanges that favour large angles,
// drawn triangle by triangle (depth-sorted on a plain canvas).
#include "chart/series/graftrisurface.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"

// ============================================================================
// Plane triangulation

namespace {

struct TMesh {
  const std::vector<double>& X;
  const std::vector<double>& Z;
  std::vector<std::array<int, 3>> Tris;
  // Unordered edge -> the (up to) two triangles on it.
  std::unordered_map<uint64_t, std::array<int, 2>> Edges;

  static uint64_t Key(int a, int b) {
    if (a > b) std::swap(a, b);
    return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
  }
  // Twice the signed area of (a, b, c): positive when counter-clockwise.
  double Orient(int a, int b, int c) const {
    return (X[b] - X[a]) * (Z[c] - Z[a]) - (Z[b] - Z[a]) * (X[c] - X[a]);
  }
  double Dist2(int a, int b) const {
    const double dx = X[a] - X[b], dz = Z[a] - Z[b];
    return dx * dx + dz * dz;
  }
  void Link(int a, int b, int t) {
    auto [it, fresh] = Edges.try_emplace(Key(a, b), std::array<int, 2>{t, -1});
    if (!fresh) it->second[1] = t;
  }
  void Relink(int a, int b, int from, int to) {
    auto& e = Edges[Key(a, b)];
    for (int& s : e)
      if (s == from) s = to;
  }
  int AddTriangle(int a, int b, int c) {
    const int t = static_cast<int>(Tris.size());
    Tris.push_back({a, b, c});
    Link(a, b, t);
    Link(b, c, t);
    Link(c, a, t);
    return t;
  }
  // The candidate diagonal I-J replaces K-L when that raises the smallest
  // squared sine of the angles at the diagonal's ends.
  bool ShouldFlip(int I, int J, int K, int L) const {
    const double o = Orient(I, J, L), u = Orient(J, I, K);
    if (o * u <= 0) return false;
    const double kl = Dist2(K, L), ij = Dist2(I, J);
    if (kl <= 0 || ij <= 0) return false;
    const double v = Orient(I, K, L), d = Orient(J, K, L);
    const double s1 = v * v / (kl * std::max(Dist2(I, L), Dist2(I, K)));
    const double s2 = d * d / (kl * std::max(Dist2(J, K), Dist2(L, J)));
    const double s3 = o * o / (ij * std::max(Dist2(I, L), Dist2(L, J)));
    const double s4 = u * u / (ij * std::max(Dist2(I, K), Dist2(J, K)));
    return std::min(s1, s2) < std::min(s3, s4);
  }
  // The corner of triangle t that is neither a nor b.
  int Third(int t, int a, int b) const {
    for (int p : Tris[static_cast<size_t>(t)])
      if (p != a && p != b) return p;
    return -1;
  }
  // Rotates t so that it reads (a, b, c) when it holds the directed edge a->b.
  bool HasDirected(int t, int a, int b) const {
    const auto& q = Tris[static_cast<size_t>(t)];
    for (int i = 0; i < 3; ++i)
      if (q[static_cast<size_t>(i)] == a && q[static_cast<size_t>((i + 1) % 3)] == b) return true;
    return false;
  }
  // Exchanges diagonals across the queued edges; follow-up edges only when
  // improving. The step budget guards against rounding making it cycle.
  void Legalize(std::vector<std::array<int, 2>> queue, bool Improve) {
    size_t budget = 64 * (Tris.size() + 16);
    while (!queue.empty() && budget-- > 0) {
      const auto [a, b] = queue.back();
      queue.pop_back();
      auto it = Edges.find(Key(a, b));
      if (it == Edges.end() || it->second[1] < 0) continue;
      int t1 = it->second[0], t2 = it->second[1];
      // t1 holds u->v, t2 holds v->u.
      int u = a, v = b;
      if (!HasDirected(t1, u, v)) std::swap(u, v);
      if (!HasDirected(t1, u, v) || !HasDirected(t2, v, u)) continue;
      const int c = Third(t1, u, v), d = Third(t2, u, v);
      if (c < 0 || d < 0 || !ShouldFlip(c, d, u, v)) continue;
      Edges.erase(it);
      Tris[static_cast<size_t>(t1)] = {u, d, c};
      Tris[static_cast<size_t>(t2)] = {d, v, c};
      Relink(u, d, t2, t1);
      Relink(v, c, t1, t2);
      Edges[Key(c, d)] = {t1, t2};
      if (Improve) {
        queue.push_back({u, d});
        queue.push_back({d, v});
        queue.push_back({v, c});
        queue.push_back({c, u});
      }
    }
  }
};

}  // namespace

TPlaneTriangulation TriangulatePlane(const std::vector<double>& X, const std::vector<double>& Z, bool Improve,
                                     const std::vector<int>& Order) {
  TPlaneTriangulation result;
  const int n = static_cast<int>(std::min(X.size(), Z.size()));
  std::vector<int> order = Order;
  if (order.empty()) {
    order.resize(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
  }
  // Coinciding points: only the first in the order takes part.
  std::vector<int> rank(static_cast<size_t>(n), 0);
  for (size_t i = 0; i < order.size(); ++i) rank[static_cast<size_t>(order[i])] = static_cast<int>(i);
  std::vector<int> byPlace = order;
  std::sort(byPlace.begin(), byPlace.end(), [&](int a, int b) {
    if (X[a] != X[b]) return X[a] < X[b];
    if (Z[a] != Z[b]) return Z[a] < Z[b];
    return rank[a] < rank[b];
  });
  std::vector<int> pts;
  for (size_t i = 0; i < byPlace.size(); ++i) {
    const int p = byPlace[i];
    if (!std::isfinite(X[p]) || !std::isfinite(Z[p])) continue;
    if (i > 0 && X[byPlace[i - 1]] == X[p] && Z[byPlace[i - 1]] == Z[p]) continue;
    pts.push_back(p);
  }
  if (pts.size() < 3) return result;

  TMesh mesh{X, Z, {}, {}};
  // Closest pair: sweep along X (pts is sorted by X), ties to the earlier pair.
  int p1 = -1, p2 = -1;
  double best = INFINITY;
  for (size_t i = 0; i < pts.size(); ++i)
    for (size_t j = i + 1; j < pts.size(); ++j) {
      const double dx = X[pts[j]] - X[pts[i]];
      if (dx * dx > best) break;
      const double d = mesh.Dist2(pts[i], pts[j]);
      if (d < best) {
        best = d;
        p1 = pts[i];
        p2 = pts[j];
      }
    }
  if (rank[p1] > rank[p2]) std::swap(p1, p2);
  // The others by distance from the pair's midpoint, ties in numbering order.
  const double mx = (X[p1] + X[p2]) / 2, mz = (Z[p1] + Z[p2]) / 2;
  std::vector<int> rest;
  for (int p : pts)
    if (p != p1 && p != p2) rest.push_back(p);
  auto d2m = [&](int p) { return (X[p] - mx) * (X[p] - mx) + (Z[p] - mz) * (Z[p] - mz); };
  std::sort(rest.begin(), rest.end(), [&](int a, int b) {
    const double da = d2m(a), db = d2m(b);
    return da != db ? da < db : rank[a] < rank[b];
  });
  // The first point off the line through the pair starts the mesh.
  size_t third = rest.size();
  for (size_t k = 0; k < rest.size(); ++k)
    if (std::abs(mesh.Orient(p1, p2, rest[k])) > 1e-6 * best) {
      third = k;
      break;
    }
  if (third == rest.size()) return result;
  const int p3 = rest[third];
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(third));
  if (mesh.Orient(p1, p2, p3) < 0) std::swap(p1, p2);
  mesh.AddTriangle(p1, p2, p3);
  std::vector<int> ring = {p1, p2, p3};  // the hull, counter-clockwise

  for (int P : rest) {
    const size_t h = ring.size();
    std::vector<char> visible(h, 0);
    bool any = false;
    for (size_t i = 0; i < h; ++i) {
      const int a = ring[i], b = ring[(i + 1) % h];
      const double tol = 1e-12 * (mesh.Dist2(a, b) + mesh.Dist2(a, P));
      visible[i] = mesh.Orient(a, b, P) < -tol;
      any = any || visible[i];
    }
    if (!any) continue;
    size_t start = 0;
    while (!(visible[start] && !visible[(start + h - 1) % h])) ++start;
    std::rotate(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(start), ring.end());
    std::rotate(visible.begin(), visible.begin() + static_cast<std::ptrdiff_t>(start), visible.end());
    size_t m = 0;
    while (m < h && visible[m]) ++m;
    std::vector<std::array<int, 2>> queue;
    for (size_t i = 0; i < m; ++i) {
      const int a = ring[i], b = ring[i + 1 == h ? 0 : i + 1];
      mesh.AddTriangle(b, a, P);
      queue.push_back({a, b});
    }
    std::vector<int> next = {ring[0], P};
    for (size_t i = m; i < h; ++i) next.push_back(ring[i]);
    if (m == h) next.pop_back();
    ring = std::move(next);
    mesh.Legalize(std::move(queue), Improve);
  }

  result.Triangles = std::move(mesh.Tris);
  for (size_t i = 0; i < ring.size(); ++i) {
    const int a = ring[i], b = ring[(i + 1) % ring.size()];
    auto it = mesh.Edges.find(TMesh::Key(a, b));
    result.Hull.push_back({it == mesh.Edges.end() ? -1 : it->second[0], a, b});
  }
  return result;
}

// ============================================================================
// TCustomTriSurfaceSeries

ZV_CLASS_IMPL(TCustomTriSurfaceSeries, TCustom3DPaletteSeries)

void TCustomTriSurfaceSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomTriSurfaceSeries;
  c.Boolean<S>("HideTriangles", &S::HideTriangles, &S::SetHideTriangles, true);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
  c.Boolean<S>("FastBrush", &S::FastBrush, &S::SetFastBrush, false);
  c.Object<S, TChartPen>("Border", &S::Border, &S::SetBorder);
}

TCustomTriSurfaceSeries::TCustomTriSurfaceSeries(TComponent* AOwner) : TCustom3DPaletteSeries(AOwner) {
  FBorder = std::make_unique<TChartHiddenPen>([this](TObject*) { RequestRedraw(); });
  FBorder->SetColor(static_cast<TColor>(0xFFFFFF));
}

TCustomTriSurfaceSeries::~TCustomTriSurfaceSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TCustomTriSurfaceSeries::Triangulate() {
  const int n = PointCount();
  FSkipped = false;
  if (n < 3) {
    FTriangles.clear();
    FHull.clear();
    FBuiltXZ.clear();
    FTriangulated = false;
    return;
  }
  if (n > MaxTriangulatedPoints) {
    FTriangles.clear();
    FHull.clear();
    FBuiltXZ.clear();
    FTriangulated = false;
    FSkipped = true;
    if (!FTooManyReported) {
      FTooManyReported = true;
      if (OnTooManyPoints) OnTooManyPoints(this, n);
    }
    return;
  }
  FTooManyReported = false;
  std::vector<double> xs(static_cast<size_t>(n)), zs(static_cast<size_t>(n)), xz(2 * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    xs[static_cast<size_t>(i)] = FXValues->GetValue(i);
    zs[static_cast<size_t>(i)] = FZValues->GetValue(i);
    xz[2 * static_cast<size_t>(i)] = xs[static_cast<size_t>(i)];
    xz[2 * static_cast<size_t>(i) + 1] = zs[static_cast<size_t>(i)];
  }
  if (FTriangulated && xz == FBuiltXZ) return;
  // Numbering: points 1 .. n-1, then point 0.
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end() - 1, 1);
  order.back() = 0;
  TPlaneTriangulation t = TriangulatePlane(xs, zs, FImproveTriangles, order);
  FTriangles.clear();
  for (const auto& q : t.Triangles) FTriangles.push_back({q});
  FHull.clear();
  for (const auto& e : t.Hull) FHull.push_back({e[0] + 1, e[1], e[2]});
  FBuiltXZ = std::move(xz);
  FTriangulated = true;
}

void TCustomTriSurfaceSeries::BeginDrawValues() {
  TCustom3DPaletteSeries::BeginDrawValues();
  Triangulate();
}

void TCustomTriSurfaceSeries::RemoveAllPoints() {
  TCustom3DPaletteSeries::RemoveAllPoints();
  FTriangulated = false;
  FTriangles.clear();
  FHull.clear();
  FSorted.clear();
  FSortedValid = false;
}

std::array<TPoint3D, 3> TCustomTriSurfaceSeries::TrianglePixels(const TTriangle& T) {
  std::array<TPoint3D, 3> r{};
  for (size_t k = 0; k < 3; ++k) r[k] = {PointXPixel(T.P[k]), PointYPixel(T.P[k]), ZPixel(T.P[k])};
  return r;
}

void TCustomTriSurfaceSeries::DrawTrianglesDirect() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool gdi = !canvas->RendersWithoutGdi();
  for (const TTriangle& t : FTriangles) {
    const std::array<TPoint3D, 3> p = TrianglePixels(t);
    if (gdi && FBlend) {
      const TPoint s[3] = {canvas->ProjectPoint3D(p[0]), canvas->ProjectPoint3D(p[1]), canvas->ProjectPoint3D(p[2])};
      FBlend->CaptureRect(BoundsOfPoints(s, 2));
    }
    const TColor first = PointColor(t.P[0]);
    std::array<TColor, 3> colors = {first, first, first};
    if (!gdi) colors = {first, PointColor(t.P[1]), PointColor(t.P[2])};
    canvas->Triangle3D(p, colors);
    if (gdi && FBlend) FBlend->ApplyTransparency(FTransparency);
  }
}

void TCustomTriSurfaceSeries::BuildSortedTriangles() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  bool descending = !FParentChart->DepthAxis()->Inverted();
  TView3DOptions* view = FParentChart->View3DOptions();
  if (FParentChart->View3D() && !view->Orthogonal()) {
    const int rotation = ((view->Rotation() % 360) + 360) % 360;
    if (rotation > 90 && rotation < 270) descending = !descending;
  }
  FSorted.clear();
  for (size_t i = 0; i < FTriangles.size(); ++i) {
    const TTriangle& t = FTriangles[i];
    const std::array<TPoint3D, 3> p = TrianglePixels(t);
    TSortedTriangle s;
    s.Number = static_cast<int>(i) + 1;
    s.Color = PointColor(t.P[0]);
    for (size_t k = 0; k < 3; ++k) s.Screen[k] = canvas->ProjectPoint3D(p[k]);
    s.Key = std::max({FZValues->GetValue(t.P[0]), FZValues->GetValue(t.P[1]), FZValues->GetValue(t.P[2])});
    // Equal keys keep their insertion order.
    auto at = descending ? std::upper_bound(FSorted.begin(), FSorted.end(), s,
                                            [](const TSortedTriangle& a, const TSortedTriangle& b) { return a.Key > b.Key; })
                         : std::upper_bound(FSorted.begin(), FSorted.end(), s,
                                            [](const TSortedTriangle& a, const TSortedTriangle& b) { return a.Key < b.Key; });
    FSorted.insert(at, s);
  }
}

void TCustomTriSurfaceSeries::DrawSortedTriangles() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (const TSortedTriangle& s : FSorted) {
    TColor color = s.Color;
    if (color == clNone) continue;
    canvas->CanvasBrush()->SetColor(color);
    if (FBlend) FBlend->CaptureRect(BoundsOfPoints(s.Screen.data(), 2));
    canvas->Polygon(s.Screen);
    if (FBlend) FBlend->ApplyTransparency(FTransparency);
  }
  FSortedValid = true;
}

void TCustomTriSurfaceSeries::DrawBorder() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPenWithColor(FBorder.get(), FBorder->Color());
  for (const THullEdge& e : FHull) {
    canvas->MoveToPoint3D({PointXPixel(e.A), PointYPixel(e.A), ZPixel(e.A)});
    canvas->LineToPoint3D({PointXPixel(e.B), PointYPixel(e.B), ZPixel(e.B)});
  }
}

void TCustomTriSurfaceSeries::DrawVisiblePoints() {
  FSortedValid = false;
  FSorted.clear();
  if (!FParentChart || FSkipped) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Pen()->Visible() || Brush()->Style() != bsClear) {
    canvas->ApplyBrush(Brush(), Brush()->Color());
    canvas->ApplyPen(Pen());
    if (FTransparency > 0) FBlend = canvas->BeginBlending(TRect(), FTransparency);
    try {
      if (!FHideTriangles || canvas->RendersWithoutGdi() || canvas->CanvasBrush()->Style() != bsSolid) {
        DrawTrianglesDirect();
      } else {
        BuildSortedTriangles();
        DrawSortedTriangles();
      }
    } catch (...) {
      FBlend.reset();
      throw;
    }
    FBlend.reset();
  }
  if (FBorder->Visible()) DrawBorder();
}

void TCustomTriSurfaceSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ApplyCalloutLength(Position);
  TCustom3DPaletteSeries::DrawPointMark(Index, Text, Position);
}

int TCustomTriSurfaceSeries::TriangleAtPoint(int X, int Y) {
  if (!FParentChart) return -1;
  const TPoint p{X, Y};
  if (FSortedValid) {
    // Front-most (drawn last) first.
    for (auto it = FSorted.rbegin(); it != FSorted.rend(); ++it)
      if (PointInsidePolygon(p, it->Screen.data(), 2)) return it->Number;
    return -1;
  }
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (size_t i = 0; i < FTriangles.size(); ++i) {
    const std::array<TPoint3D, 3> q = TrianglePixels(FTriangles[i]);
    const TPoint s[3] = {canvas->ProjectPoint3D(q[0]), canvas->ProjectPoint3D(q[1]), canvas->ProjectPoint3D(q[2])};
    if (PointInsidePolygon(p, s, 2)) return static_cast<int>(i) + 1;
  }
  return -1;
}

int TCustomTriSurfaceSeries::IndexAtPoint(int X, int Y) {
  const int t = TriangleAtPoint(X, Y);
  if (t < 1 || t > TriangleCount() || !FParentChart) return -1;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TTriangle& tri = FTriangles[static_cast<size_t>(t - 1)];
  const std::array<TPoint3D, 3> q = TrianglePixels(tri);
  int best = -1;
  double bestD = INFINITY;
  for (size_t k = 0; k < 3; ++k) {
    const TPoint s = canvas->ProjectPoint3D(q[k]);
    const double d = std::hypot(double(s.X - X), double(s.Y - Y));
    if (d < bestD) {
      bestD = d;
      best = tri.P[k];
    }
  }
  return best >= 0 && best < PointCount() ? best : -1;
}

void TCustomTriSurfaceSeries::GenerateRandomPoints(int Count, bool) {
  for (int i = 0, n = std::max(Count, 3); i < n; ++i) {
    const double x = NextRandom(1000) / 1000.0;
    const double z = NextRandom(1000) / 1000.0;
    const double e = std::exp(z);
    AddPoint3D(x, e * e * std::cos(z * x), z);
  }
}

void TCustomTriSurfaceSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DPaletteSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgExWireframe, GrafMsgExNoLine, GrafMsgExBorder}) Proc(t);
}

void TCustomTriSurfaceSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TCustomTriSurfaceSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 2: s->Brush()->SetStyle(bsClear); break;
    case 3: s->Pen()->SetVisible(false); break;
    case 4: s->Border()->SetVisible(true); break;
    default: TCustom3DPaletteSeries::ApplyGalleryStyle(Series, Index); break;
  }
}

void TCustomTriSurfaceSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DPaletteSeries::SetupGalleryPreview(Enabled);
  LoadDemoData(0);
}

void TCustomTriSurfaceSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomTriSurfaceSeries*>(Source)) {
    FBorder->Assign(s->FBorder.get());
    FImproveTriangles = s->FImproveTriangles;
    FHideTriangles = s->FHideTriangles;
    FTransparency = s->FTransparency;
  }
  FTriangulated = false;
  TCustom3DPaletteSeries::Assign(Source);
}

ZV_CLASS_IMPL(TTriSurfaceSeries, TCustomTriSurfaceSeries)

void TTriSurfaceSeries::DeclareProperties(TClassInfo&) {}

void RegisterTriSurfaceSeriesTypes() {
  static const bool done = [] {
    RegisterSeriesType(&TTriSurfaceSeries::StaticClass(), &GrafMsgExTriangleSurf, &GrafMsgEx3D, 1);
    return true;
  }();
  (void)done;
}

void UnregisterTriSurfaceSeriesTypes() { UnregisterSeriesTypes({&TTriSurfaceSeries::StaticClass()}); }
