// 1,000,000 line segments into a 1000 x 600 bitmap: through TCanvas
// (MoveTo/LineTo and Polyline) and through QPainter directly.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLine>
#include <QPainter>
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

void BM_TCanvasLineTo(benchmark::State& state) {
  EnsureQtApplication();
  TBitmap bmp(kWidth, kHeight);
  TCanvas* c = bmp.Canvas();
  c->Pen()->SetColor(clBlue);
  const auto& p = Points();
  for (auto _ : state) {
    c->MoveTo(p[0].X, p[0].Y);
    for (int i = 1; i <= kSegments; ++i) c->LineTo(p[i].X, p[i].Y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_TCanvasLineTo)->Unit(benchmark::kMillisecond);

void BM_TCanvasPolyline(benchmark::State& state) {
  EnsureQtApplication();
  TBitmap bmp(kWidth, kHeight);
  TCanvas* c = bmp.Canvas();
  c->Pen()->SetColor(clBlue);
  const auto& p = Points();
  for (auto _ : state) {
    c->Polyline(p);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_TCanvasPolyline)->Unit(benchmark::kMillisecond);

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
