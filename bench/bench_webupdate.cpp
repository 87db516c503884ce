// Downloading 100 MB from a loopback HTTP server: the update component (its
// blocks of 4 KiB, the windows served between them, the byte-sum checksum
// checked, the file put in place) against the curl program fetching the
// same file into the same folder. Wall time, since curl runs in a process of
// its own. Run:
//   QT_QPA_PLATFORM=offscreen build/bin/bench_webupdate
// The ratio is Component / Curl. "answer_ms" is the longest time a call
// queued for the windows waited during the component's download.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/process.h"
#include "platform/rtl/sysinfo.h"
#include "platform/ui/queuedcall.h"
#include "support/gui/guitest.h"
#include "support/loopbackservers.h"
#include "support/tempdir.h"
#include "webupdate/wufiles.h"
#include "webupdate/wupdate.h"

namespace {

constexpr long long Size = 100ll << 20;

// The file: a 1 MiB pattern over and over, so the server only copies.
const std::vector<char>& Pattern() {
  static const std::vector<char> pattern = [] {
    std::vector<char> p(1 << 20);
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<char>((i * 7 + i / 4096) & 255);
    return p;
  }();
  return pattern;
}

size_t Fill(long long offset, char* b, size_t n) {
  const std::vector<char>& p = Pattern();
  size_t done = 0;
  while (done < n) {
    const size_t at = static_cast<size_t>((offset + static_cast<long long>(done)) % static_cast<long long>(p.size()));
    const size_t k = std::min(n - done, p.size() - at);
    std::memcpy(b + done, p.data() + at, k);
    done += k;
  }
  return n;
}

struct TSite {
  TLoopbackHttpServer Http;
  std::string Control;
  TSite() {
    TByteSum sum;
    for (long long at = 0; at < Size; at += static_cast<long long>(Pattern().size()))
      sum.Add(Pattern().data(), Pattern().size());
    Http.Handler = [this](const THttpRequest& r) {
      THttpResponse a;
      if (r.Path == "/update.inf") {
        a.Body = Control;
      } else {
        a.GeneratedLength = Size;
        a.Generate = Fill;
      }
      return a;
    };
    Control = "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=" + Http.Url("/big.bin") +
              "\nnewchecksum=" + std::to_string(sum.Value()) + "\ntargetdir=";
  }
};

TSite& Site() {
  static TSite site;
  return site;
}

void Component(benchmark::State& state) {
  guitest::EnsureGui();
  TSite& site = Site();
  TTempDir dir;
  site.Control += dir.Path() + "\n";
  TNetUpdate nu(nullptr);
  nu.UpdateType = httpUpdate;
  nu.UpdateUpdate = wuuSilent;
  nu.TempDirectory = dir.Path();
  nu.URL = site.Http.Url("/update.inf");
  bool ok = false;
  nu.OnSuccess = [&](TObject*) { ok = true; };
  // A call queued during the download and how long it waited to run; one
  // still waiting when the run ends is not counted.
  double answer = 0;
  uint64_t queued = 0;
  int run = 0;
  nu.OnFileProgress = [&](TObject*, const std::string&, int, int) {
    if (queued) return;
    queued = GetTickCount();
    QueueCall([&, mine = run] {
      if (mine == run) answer = std::max(answer, static_cast<double>(GetTickCount() - queued));
      queued = 0;
    });
  };
  for (auto _ : state) {
    ok = false;
    ++run;
    queued = 0;
    nu.RunUpdate();
    if (!ok || FileSize(dir.File("big.bin")) != Size) state.SkipWithError("the download failed");
  }
  state.counters["answer_ms"] = answer;
  state.SetBytesProcessed(state.iterations() * Size);
}

void Curl(benchmark::State& state) {
  TSite& site = Site();
  TTempDir dir;
  for (auto _ : state) {
    int error = 0;
    TProcessHandle p = CreateProcessArgs({"curl", "-s", "-o", dir.File("big.bin"), site.Http.Url("/big.bin")},
                                         NORMAL_PRIORITY_CLASS, "", TStartupInfo{}, error);
    DWORD code = 1;
    if (!p || p->WaitFor(INFINITE) != WAIT_OBJECT_0 || !p->GetExitCode(code) || code != 0 ||
        FileSize(dir.File("big.bin")) != Size)
      state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(state.iterations() * Size);
}

}  // namespace

BENCHMARK(Curl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(Component)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
