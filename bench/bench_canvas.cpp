// 1,000,000 line segments into a 1000 x 600 bitmap: through TCanvas
// (MoveTo/LineTo and Polyline, unclipped and clipped to a rotated box as the
// 3D chart clips its points) and through QPainter directly.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLine>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/qt_private.h"

namespace {

constexpr int kSegments = 1000000, kWidth = 1000, kHeight = 600;

const std::vector<TPoint>& Points() {
  static std::vector<TPoint> pts = [] {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
    std::vector<TPoint> p(kSegments + 1);
    for (auto& q : p) q = {x(rng), y(rng)};
    return p;
  }();
  return pts;
}

// A polygon region: the image's middle, 800 x 400, turned by 20 degrees
// (one rectangle per row, as the projected box of a 3D chart).
HRGN RotatedBox() {
  const double a = 20 * std::numbers::pi / 180, c = std::cos(a), s = std::sin(a);
  std::vector<TPoint> box;
  for (auto [u, v] : {std::pair{-400, -200}, {400, -200}, {400, 200}, {-400, 200}})
    box.push_back({static_cast<int>(std::lround(kWidth / 2 + u * c - v * s)),
                   static_cast<int>(std::lround(kHeight / 2 + u * s + v * c))});
  return CreatePolygonRgn(box, ALTERNATE);
}

void Clip(TCanvas* c, bool clipped) {
  if (!clipped) return;
  HRGN r = RotatedBox();
  c->SelectClipRgn(r);
  DeleteObject(r);
}

void LineTo(benchmark::State& state, bool clipped) {
  EnsureQtApplication();
  TBitmap bmp(kWidth, kHeight);
  TCanvas* c = bmp.Canvas();
  c->Pen()->SetColor(clBlue);
  Clip(c, clipped);
  const auto& p = Points();
  for (auto _ : state) {
    c->MoveTo(p[0].X, p[0].Y);
    for (int i = 1; i <= kSegments; ++i) c->LineTo(p[i].X, p[i].Y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

void Polyline(benchmark::State& state, bool clipped) {
  EnsureQtApplication();
  TBitmap bmp(kWidth, kHeight);
  TCanvas* c = bmp.Canvas();
  c->Pen()->SetColor(clBlue);
  Clip(c, clipped);
  const auto& p = Points();
  for (auto _ : state) {
    c->Polyline(p);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

void BM_TCanvasLineTo(benchmark::State& state) { LineTo(state, false); }
void BM_TCanvasPolyline(benchmark::State& state) { Polyline(state, false); }
void BM_TCanvasLineToRotatedClip(benchmark::State& state) { LineTo(state, true); }
void BM_TCanvasPolylineRotatedClip(benchmark::State& state) { Polyline(state, true); }
BENCHMARK(BM_TCanvasLineTo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCanvasPolyline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCanvasLineToRotatedClip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TCanvasPolylineRotatedClip)->Unit(benchmark::kMillisecond);

void BM_QPainterDrawLine(benchmark::State& state) {
  EnsureQtApplication();
  QImage img(kWidth, kHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(0, 0, 255), 0));
  const auto& p = Points();
  for (auto _ : state) {
    for (int i = 1; i <= kSegments; ++i) painter.drawLine(p[i - 1].X, p[i - 1].Y, p[i].X, p[i].Y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_QPainterDrawLine)->Unit(benchmark::kMillisecond);

void BM_QPainterPolyline(benchmark::State& state) {
  EnsureQtApplication();
  QImage img(kWidth, kHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(0, 0, 255), 0));
  const auto& p = Points();
  std::vector<QPoint> q(p.size());
  for (size_t i = 0; i < p.size(); ++i) q[i] = QPoint(p[i].X, p[i].Y);
  for (auto _ : state) {
    painter.drawPolyline(q.data(), static_cast<int>(q.size()));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_QPainterPolyline)->Unit(benchmark::kMillisecond);

}  // namespace
