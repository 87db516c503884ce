// One Fourier slice computed and drawn as contours by the Fourier window
// against the engine's own map call (_getfour@36) for the same map, both in
// this run: the stand-in engine's difference map of the example after one
// cycle. The goal: the window's slice costs at most 2x the engine's call
// (counter "window_share").
// Run from build/bin (the engine library is found next to the program):
//   QT_QPA_PLATFORM=offscreen ./bench_fourier
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "app/fourierwindow.h"
#include "model/global.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/dynlib.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"
#include "zudezez_api.h"

namespace {

using TClock = std::chrono::steady_clock;

bool StartExample(const TTempDir& dir) {
  Model = new TRietveld();
  if (!Model->ReadInputFile(std::string(ZELVORA_EXAMPLES) + "xray-cw.inp")) return false;
  Model->Loaded = true;
  Refinement = new TRefine();
  Refinement->LibraryName = "zudezez.dll";
  Refinement->Model = Model;
  Refinement->DataFileName = std::string(ZELVORA_EXAMPLES) + "xray-cw.dat";
  Refinement->BaseName = dir.File("run");
  Refinement->Messages = false;
  Refinement->StartRefinement();
  if (Refinement->State() != 2) return false;
  Refinement->RunCycle();
  return true;
}

void Finish() {
  delete Refinement;
  Refinement = nullptr;
  delete Model;
  Model = nullptr;
}

void FourierSlice(benchmark::State& state) {
  guitest::EnsureGui();
  TDialogResponder quiet;
  TTempDir dir;
  if (!StartExample(dir)) {
    state.SkipWithError("the example did not start");
    Finish();
    return;
  }
  auto entry = reinterpret_cast<TZdGetFour>(GetProcAddress(Refinement->Module(), "_getfour@36"));
  auto form = std::make_unique<TFormPlotFourier>(nullptr);
  form->Show();
  form->cbType->SetItemIndex(2);
  form->btCalculateClick(nullptr);
  TBitmap image(600, 500);
  form->ChartFourier->SetBounds(0, 0, 600, 500);
  std::vector<float> map(FourierValues);
  double engine = 0, window = 0;
  int slice = 1;
  for (auto _ : state) {
    const auto t0 = TClock::now();
    int32_t h = 1, p = 1, axis = 3, kind = 2, busy = 1, status = 0;
    float lo = 0, hi = 0;
    entry(&h, &p, &axis, &kind, &busy, &lo, &hi, map.data(), &status);
    const auto t1 = TClock::now();
    slice = slice % FourierGrid + 1;
    form->seSlice->SetValue(slice);
    form->btPlotClick(nullptr);
    form->ChartFourier->DrawOnCanvas(image.Canvas(), Rect(0, 0, 600, 500));
    const auto t2 = TClock::now();
    engine += std::chrono::duration<double>(t1 - t0).count();
    window += std::chrono::duration<double>(t2 - t1).count();
    benchmark::DoNotOptimize(map.data());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["engine_ms"] = 1000 * engine / n;
  state.counters["window_ms"] = 1000 * window / n;
  state.counters["window_share"] = engine > 0 ? window / engine : 0;
  form.reset();
  Finish();
}

BENCHMARK(FourierSlice)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
