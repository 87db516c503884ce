// The seeded mutation loop shared by the platform drivers.
//
// A driver names its targets, each with seed inputs and a function that runs
// one input and checks what must hold whatever the input. main() then either
// mutates the seeds for a while or replays saved inputs:
//   <driver> [--seconds S] [--iterations N] [--seed K] [--target NAME]
//   <driver> FILE...                 replay inputs written by a failed run
// A saved input is the target's name, a newline and the payload. A crash
// (a sanitizer's report, or a fatal signal) writes the input being run to
// <driver>-crash.bin, a run longer than 20 s to <driver>-hang.bin, and a
// broken rule (Fault) to <driver>-fault.bin before aborting.
//
// Run under -DZELVORA_ASAN=ON with ASAN_OPTIONS=max_allocation_size_mb=1024 so
// that an allocation sized by a damaged count is reported as the fault it is.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/rtl/exceptions.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace fuzzdriver {

struct TTarget {
  std::string Name;
  std::vector<std::string> Seeds;
  std::function<void(const std::string&)> Run;
  // Tokens worth inserting (keywords, value-type bytes, markers).
  std::vector<std::string> Dictionary;
  long long Runs = 0;
};

namespace detail {
inline std::string& Program() {
  static std::string name = "fuzz";
  return name;
}
inline std::string& Current() {
  static std::string input;
  return input;
}
inline void Dump(const std::string& suffix) {
  const std::string name = Program() + "-" + suffix + ".bin";
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  const std::string& data = Current();
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}
inline void OnDeath() { Dump("crash"); }
// Without the sanitizers: the input of a crash is written all the same.
inline void OnSignal(int sig) {
  Dump("crash");
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}
inline void OnAlarm(int) {
  Dump("hang");
  const char msg[] = "input ran too long: written to the -hang.bin file\n";
  (void)::write(2, msg, sizeof msg - 1);
  std::abort();
}
}  // namespace detail

// Reports a broken rule for the input being run and stops.
[[noreturn]] inline void Fault(const std::string& what) {
  detail::Dump("fault");
  std::fprintf(stderr, "FAULT: %s\n(input written to %s-fault.bin)\n", what.c_str(), detail::Program().c_str());
  std::abort();
}

// Runs body; any exception that is not one of the layer's is a fault.
inline void ExpectLayerErrors(const std::function<void()>& body) {
  try {
    body();
  } catch (const Exception&) {
  } catch (const std::exception& e) {
    Fault(std::string("an exception outside the layer's classes escaped: ") + e.what());
  }
}

class TMutator {
public:
  explicit TMutator(uint64_t seed) : FRandom(seed) {}

  std::size_t Below(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(FRandom) : 0; }

  std::string Mutate(const TTarget& t) {
    std::string s = t.Seeds[Below(t.Seeds.size())];
    const std::size_t steps = Below(4) == 0 ? 1 + Below(8) : 1 + Below(2);
    static const uint32_t interesting[] = {0,          1,          0x7F,       0x80,       0xFF,
                                           0x100,      0x7FFF,     0x8000,     0xFFFF,     0x10000,
                                           0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x40000000};
    for (std::size_t k = 0; k < steps; ++k) {
      const std::size_t at = Below(s.size() + 1);
      switch (Below(11)) {
        case 0:
          if (!s.empty()) s[Below(s.size())] ^= static_cast<char>(1 << Below(8));
          break;
        case 1:
          if (!s.empty()) s[Below(s.size())] = static_cast<char>(Below(256));
          break;
        case 2:
          if (s.size() >= 4) {
            const uint32_t v = interesting[Below(std::size(interesting))];
            const std::size_t p = Below(s.size() - 3);
            const std::size_t width = 1 + Below(4);
            for (std::size_t b = 0; b < width; ++b) s[p + b] = static_cast<char>(v >> (8 * b));
          }
          break;
        case 3: s.erase(at, 1 + Below(32)); break;
        case 4: s.resize(at); break;
        case 5:
          if (!s.empty()) {
            const std::size_t from = Below(s.size());
            s.insert(at, s.substr(from, 1 + Below(64)));
          }
          break;
        case 6: {  // a piece of another seed
          const std::string& other = t.Seeds[Below(t.Seeds.size())];
          if (!other.empty()) s.insert(at, other.substr(Below(other.size()), 1 + Below(128)));
          break;
        }
        case 7:
          if (!t.Dictionary.empty()) s.insert(at, t.Dictionary[Below(t.Dictionary.size())]);
          break;
        case 8: {  // a piece repeated many times: deep nesting, long runs
          if (s.empty()) break;
          const std::size_t from = Below(s.size());
          const std::string piece = s.substr(from, 1 + Below(8));
          std::string run;
          for (std::size_t r = 0, n = 2 + Below(600); r < n; ++r) run += piece;
          s.insert(at, run);
          break;
        }
        case 9: s.insert(at, std::to_string(static_cast<long long>(FRandom()) >> Below(64))); break;
        default:
          if (s.size() > 2) {  // two pieces swapped
            const std::size_t a = Below(s.size()), b = Below(s.size());
            const std::size_t n = 1 + Below(std::min<std::size_t>(16, s.size() - std::max(a, b)));
            for (std::size_t i = 0; i < n && a + i < s.size() && b + i < s.size(); ++i) std::swap(s[a + i], s[b + i]);
          }
          break;
      }
    }
    if (s.size() > (1u << 20)) s.resize(1u << 20);
    return s;
  }

private:
  std::mt19937_64 FRandom;
};

inline std::string ReadWholeFile(const char* name) {
  std::string data;
  if (FILE* f = std::fopen(name, "rb")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) data.append(buffer, n);
    std::fclose(f);
  }
  return data;
}

inline void RunOne(TTarget& t, const std::string& input) {
  detail::Current() = t.Name + "\n" + input;
  ::alarm(20);
  t.Run(input);
  ::alarm(0);
  ++t.Runs;
}

inline int Main(int argc, char** argv, const std::string& program, std::vector<TTarget>& targets) {
  detail::Program() = program;
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(detail::OnDeath);
  else
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(sig, detail::OnSignal);
  std::signal(SIGALRM, detail::OnAlarm);
  double seconds = 60;
  long long iterations = -1;
  uint64_t seed = 1;
  std::string only;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
    else if (a == "--iterations" && i + 1 < argc) iterations = std::atoll(argv[++i]);
    else if (a == "--seed" && i + 1 < argc) seed = std::strtoull(argv[++i], nullptr, 10);
    else if (a == "--target" && i + 1 < argc) only = argv[++i];
    else files.push_back(argv[i]);
  }
  auto find = [&](const std::string& name) -> TTarget* {
    for (TTarget& t : targets)
      if (t.Name == name) return &t;
    return nullptr;
  };
  if (!files.empty()) {
    for (const char* f : files) {
      const std::string data = ReadWholeFile(f);
      const std::size_t nl = data.find('\n');
      TTarget* t = nl == std::string::npos ? nullptr : find(data.substr(0, nl));
      if (!t) {
        std::fprintf(stderr, "%s: no target named in the first line\n", f);
        return 2;
      }
      RunOne(*t, data.substr(nl + 1));
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
  }
  std::vector<TTarget*> active;
  for (TTarget& t : targets)
    if (only.empty() || t.Name == only) active.push_back(&t);
  if (active.empty()) {
    std::fprintf(stderr, "no target named %s\n", only.c_str());
    return 2;
  }
  // The seeds themselves must pass.
  for (TTarget* t : active)
    for (const std::string& s : t->Seeds) RunOne(*t, s);
  TMutator mutate(seed);
  const auto start = std::chrono::steady_clock::now();
  long long done = 0;
  for (; iterations < 0 || done < iterations; ++done) {
    if (iterations < 0 && done % 32 == 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds)
      break;
    TTarget& t = *active[mutate.Below(active.size())];
    RunOne(t, mutate.Mutate(t));
    if (done % 20000 == 0 && done) std::printf("%lld inputs\n", done), std::fflush(stdout);
  }
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%lld inputs in %.0f s, seed %llu, no fault:", done, took, static_cast<unsigned long long>(seed));
  for (TTarget* t : active) std::printf(" %s %lld", t->Name.c_str(), t->Runs);
  std::printf("\n");
  return 0;
}

}  // namespace fuzzdriver
