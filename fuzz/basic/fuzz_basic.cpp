// Fuzz harness of the macro interpreter: the compiler (with the executor
// behind it) and the compiled-code loader.
//
// One input is a mode byte and a payload. An even mode byte makes the
// payload a program: it is compiled and run; its compiled code must read
// back into a fresh interpreter and run there too. An odd mode byte makes
// the payload a compiled-code stream: it is loaded and, when taken over, run.
//
// Built with clang and -DZELVORA_LIBFUZZER=ON this is a libFuzzer target.
// Otherwise main() is a seeded mutation driver:
//   fuzz_basic [--seconds S] [--iterations N] [--seed K]   mutate the seeds
//   fuzz_basic FILE...                                      replay inputs
// Under the sanitizers a crash writes its input to fuzz-basic-crash.bin; an
// input that runs longer than 20 s is written to fuzz-basic-hang.bin.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "basic/sbasic.h"
#include "basic/sbhost.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"

namespace {

void Register(TSBasic& b) {
  b.AddFunction("OUT", [](TSBCodeList& l, TSBResultCell&) { (void)GetArgString(l, 0); }, tcInteger, 1);
  b.AddFunction("TWICE", [](TSBCodeList& l, TSBResultCell& r) { SetResultDouble(GetArgDouble(l, 0) * 2, r); },
                tcDouble, 1);
  b.AddFunction("FILL",
                [](TSBCodeList& l, TSBResultCell& r) {
                  // Writes through the argument's storage, as host functions may.
                  for (int e = 0; GetArgPtr(l, 0, e); ++e) SetValueFromInteger(GetArgCell(l, 0, e), e);
                  SetResultInt(0, r);
                },
                tcInteger, 1);
  b.SetMax_Count(200);
  b.SetMax_Dimension(20);
}

bool gQuietDialogs = [] {
  SetDialogHandler([](const TDialogRequest& q) {
    TDialogAnswer a;
    a.Result = q.DefaultResult;
    a.Text = q.Default;
    return a;
  });
  return true;
}();

// What got how far, for the driver's summary.
long long gCompiled = 0, gRunErrors = 0, gCodeTaken = 0;

void RunProgram(const std::string& text) {
  TSBasic b;
  Register(b);
  TSBStringsSource memo(text);
  b.SetSource_Memo(&memo);
  if (b.Compile() != 0) return;
  ++gCompiled;
  if (b.Run() != 0) ++gRunErrors;
  // Code written by a compile always reads back and runs alike.
  TSBWriter w;
  b.WriteCompiledCode(w);
  TSBasic fresh;
  Register(fresh);
  TSBReader r(w.Data());
  if (!fresh.ReadCompiledCode(r)) {
    std::fprintf(stderr, "compiled code refused by its own reader\n");
    std::abort();
  }
  fresh.Run();
}

void RunCode(const std::string& bytes) {
  TSBasic b;
  Register(b);
  TSBReader r(bytes);
  if (b.ReadCompiledCode(r)) {
    ++gCodeTaken;
    b.Run();
  }
}

const std::string gStartDir = GetCurrentDir();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string payload(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0)
    RunProgram(payload);
  else
    RunCode(payload);
  SetCurrentDir(gStartDir);  // SETDIR must not move the next input
  return 0;
}

#ifndef ZELVORA_LIBFUZZER

#include <chrono>
#include <random>

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

// The input being run, for the crash and hang files.
std::string gCurrent;

void Dump(const char* name) {
  const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < gCurrent.size()) {
    const ssize_t n = ::write(fd, gCurrent.data() + done, gCurrent.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

void OnDeath() { Dump("fuzz-basic-crash.bin"); }

void OnAlarm(int) {
  Dump("fuzz-basic-hang.bin");
  const char msg[] = "input ran too long: written to fuzz-basic-hang.bin\n";
  (void)::write(2, msg, sizeof msg - 1);
  std::abort();
}

const char* const Seeds[] = {
    "S = 0\nFOR I = 1 TO 10\n  S = S + I\nNEXT I\nOUT(S)",
    "INTEGER I\nFOR I = 10 TO 1 STEP -3\n OUT(I)\nNEXT I",
    "INTEGER I\nFOR I = 1 TO 4\nIF I == 1 THEN\n OUT(1)\nELSEIF I == 2\n OUT(2)\nELSE\n OUT(3)\nEND IF\nNEXT I",
    "INTEGER I\nDO WHILE I < 3\n I = I + 1\nLOOP\nDO\n I = I - 1\nLOOP UNTIL I <= 0",
    "INTEGER X\nX = 5\nSELECT CASE X\nCASE 1, 5\n OUT(1)\nCASE 3 TO 7\n OUT(2)\nCASE ELSE\n OUT(3)\nEND SELECT",
    "INTEGER I\nAGAIN: I = I + 1\nIF I < 3 THEN\nGOTO AGAIN\nEND IF\nGOTO NOWHERE",
    "FUNCTION F(N AS INTEGER) AS INTEGER\n IF N <= 1 THEN\n  F = 1\n ELSE\n  F = N * F(N - 1)\n END IF\n"
    "END FUNCTION\nOUT(F(6))",
    "FUNCTION G(BYREF T AS INTEGER, N AS INTEGER) AS INTEGER\n INTEGER L\n IF N > 0 THEN\n  L = 0\n"
    "  G(L, N - 1)\n  T = T + L + 1\n ELSE\n  T = 5\n END IF\nEND FUNCTION\nINTEGER S\nG(S, 2)\nOUT(S)",
    "CLASS COUNTER\n INTEGER N\n STRING TAG\n FUNCTION ADD(K AS INTEGER) AS INTEGER\n  N = N + K\n"
    "  ADD = SELF.N\n END FUNCTION\nEND CLASS\nCOUNTER C\nC.TAG = \"c1\"\nC.ADD(5)\nOUT(C.ADD(2))",
    "CLASS P\n INTEGER X\nEND CLASS\nCLASS Q (P)\n INTEGER Y\n DOUBLE Z[3]\nEND CLASS\nQ V[4], W\nV[2].X = 3\n"
    "V[1].Z[2] = 4\nOUT(V[2].X * 10 + V[1].Z[2])\nW = V[1]",
    "CLASS C\n INTEGER N\n FUNCTION SET(V AS INTEGER) AS INTEGER\n END FUNCTION\nEND CLASS\n"
    "FUNCTION C.SET AS INTEGER\n N = V\n SET = N * 2\nEND FUNCTION\nC X\nOUT(X.SET(4))",
    "STRING S\nS = \"  Hello World  \"\nS = TRIM(S)\nOUT(STRUPPER(S) + STRCOPY(S, 7, 5))\nSETLENGTH(S, 30)\n"
    "STRSET(S, 3, \"XY\")\nSTRNSET(S, 1, 2, \"ab\")\nOUT(GETTOKEN(S, \" \", 2) + CHR(65) + STR(2))\nOUT(POS(\"o\", S))",
    "DATE D\nINTEGER Y, M, DD\nD = ENCODEDATE(2024, 2, 28) + 1\nOUT(DATETOSTR(D))\nDECODEDATE(D, Y, M, DD)\n"
    "D = STRTODATE(\"01/03/2024\") - 1\nOUT(D - TODAY())",
    "OUT(ROUND(2.5) + FLOOR(-2.2) + TRUNC(1.5) + SQR(2) + SQRT(2) + LN(1) + LOGN(2, 8) + POWER(2, -1))\n"
    "OUT(SIN(1) + COS(1) + TAN(1) + ARCSIN(1) + ARCCOS(1) + ARCTAN(1) + LOG2(3) + LOG10(3) + EXP(1) + ABS(-1))",
    "INTEGER A[5]\nFILL(A)\nOUT(A[4] + TWICE(A[2]))\nOUT(VAL(\"1.5e2\") + RANDOM(3))\nOUT(FORMATVAL(\"0.00\", 1))",
    "INTEGER A, B\nA = B = 4\nIF A = 0 THEN\n OUT(1)\nEND IF\nOUT(-1 OR 1)\nOUT(65536 AND 65536)\nOUT(NOT NOT 3)",
    "X = 1 + _\n 2 * _\n (3 - 4) / 5\nOUT(X)\n// comment\nOUT($FF + 16777217)",
    "OUT(MESSAGEDLG(\"Sure?\", 3, 0))\nOUT(INPUTBOX(\"Name\"))\nMESSAGEBOX(1.5)\nOUT(EXTRACTFILENAME(GETDIR()))\n"
    "OUT(FILEEXISTS(\"x\") + SETDIR(\".\"))",
    "FUNCTION T(N AS INTEGER) AS INTEGER\n IF N < 40 THEN\n  T = T(N + 1) + T(N + 1)\n END IF\nEND FUNCTION\nT(0)",
    "FUNCTION SIGN(X AS DOUBLE) AS INTEGER\n IF X < 0 THEN\n  RETURN -1\n END IF\n RETURN 1\nEND FUNCTION\n"
    "OUT(SIGN(-2.5))\nEXIT FUNCTION",
};

const char* const Tokens[] = {
    " ", "\n", "_\n", ":", "(", ")", "[", "]", ",", ".", "=", "==", "<>", "<=", ">=", "<", ">", "+", "-", "*", "/",
    "\"", "'", "//", "IF ", " THEN", "ELSE", "ELSEIF ", "END IF", "FOR ", " TO ", " STEP ", "NEXT ", "DO", "LOOP",
    " WHILE ", " UNTIL ", "SELECT CASE ", "CASE ", "CASE ELSE", "END SELECT", "GOTO ", "FUNCTION ", " AS ",
    "BYREF ", "BYVAL ", "END FUNCTION", "RETURN ", "EXIT FUNCTION", "CLASS ", "END CLASS", "INC ", "DEC ",
    "NOT ", " AND ", " OR ", "QUITE", "INTEGER ", "DOUBLE ", "STRING ", "DATE ", "DIM ", "SINGLE ", "SELF",
    "X", "Y", "A", "N", "I", "S", "0", "1", "-1", "2.5", "1E5", "65536", "2147483647", "$FFFFFFFF", "\"ab\"",
    "TRUE", "OUT(", "ROUND(", "SETLENGTH(", "STRSET(", "GETTOKEN(", "ENCODEDATE(", "DECODEDATE(", "F(", "T(",
    "[1000]", "[-1]", "[0]",
};

class TMutator {
public:
  explicit TMutator(uint64_t seed) : FRandom(seed) {}

  std::size_t Below(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(FRandom) : 0; }

  std::string Program(const std::vector<std::string>& seeds) {
    std::string s = seeds[Below(seeds.size())];
    const std::size_t steps = 1 + Below(4);
    for (std::size_t k = 0; k < steps; ++k) {
      const std::size_t at = Below(s.size() + 1);
      switch (Below(7)) {
        case 0:
          if (!s.empty()) s[Below(s.size())] = static_cast<char>(32 + Below(95));
          break;
        case 1: s.insert(at, Tokens[Below(std::size(Tokens))]); break;
        case 2: s.erase(at, Below(12)); break;
        case 3: {  // a line of another seed
          const std::string& other = seeds[Below(seeds.size())];
          const std::size_t from = Below(other.size());
          const std::size_t end = other.find('\n', from);
          s.insert(at, "\n" + other.substr(from, end == std::string::npos ? std::string::npos : end - from) + "\n");
          break;
        }
        case 4: {  // a line repeated
          const std::size_t from = s.rfind('\n', at ? at - 1 : 0);
          const std::size_t start = from == std::string::npos ? 0 : from + 1;
          const std::size_t end = s.find('\n', start);
          s.insert(start, s.substr(start, (end == std::string::npos ? s.size() : end + 1) - start));
          break;
        }
        case 5:
          if (!s.empty()) s[Below(s.size())] = static_cast<char>(Below(256));
          break;
        default: s.insert(at, std::to_string(static_cast<int>(Below(3000)) - 1000)); break;
      }
    }
    return s;
  }

  std::string Code(const std::vector<std::string>& codes) {
    std::string s = codes[Below(codes.size())];
    const std::size_t steps = 1 + Below(4);
    static const int32_t interesting[] = {0, 1, -1, 2, 7, 84, 150, 151, 255, 256, 1000, 0x7FFFFFFF,
                                          static_cast<int32_t>(0x80000000)};
    for (std::size_t k = 0; k < steps && !s.empty(); ++k) {
      const std::size_t at = Below(s.size());
      switch (Below(5)) {
        case 0: s[at] = static_cast<char>(s[at] ^ (1 << Below(8))); break;
        case 1: s[at] = static_cast<char>(Below(256)); break;
        case 2:
          if (at + 4 <= s.size()) {
            const int32_t v = interesting[Below(std::size(interesting))];
            std::memcpy(&s[at], &v, 4);
          }
          break;
        case 3: s.resize(at); break;
        default: s.insert(at, s.substr(Below(s.size()), Below(90))); break;
      }
    }
    return s;
  }

private:
  std::mt19937_64 FRandom;
};

std::string ReadFile(const char* name) {
  std::string data;
  if (FILE* f = std::fopen(name, "rb")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) data.append(buffer, n);
    std::fclose(f);
  }
  return data;
}

void RunOne(const std::string& input) {
  gCurrent = input;
  ::alarm(20);
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
  ::alarm(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(OnDeath);
  std::signal(SIGALRM, OnAlarm);
  double seconds = 60;
  long long iterations = -1;
  uint64_t seed = 1;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
    else if (a == "--iterations" && i + 1 < argc) iterations = std::atoll(argv[++i]);
    else if (a == "--seed" && i + 1 < argc) seed = std::strtoull(argv[++i], nullptr, 10);
    else files.push_back(argv[i]);
  }
  if (!files.empty()) {
    for (const char* f : files) RunOne(ReadFile(f));
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
  }
  std::vector<std::string> programs(std::begin(Seeds), std::end(Seeds));
  std::vector<std::string> codes;
  for (const std::string& p : programs) {
    TSBasic b;
    Register(b);
    TSBStringsSource memo(p);
    b.SetSource_Memo(&memo);
    if (b.Compile() != 0) {
      std::fprintf(stderr, "seed does not compile: %s\n", p.c_str());
      return 1;
    }
    TSBWriter w;
    b.WriteCompiledCode(w);
    codes.push_back(w.Data());
  }
  TMutator mutate(seed);
  const auto start = std::chrono::steady_clock::now();
  long long done = 0;
  for (; iterations < 0 || done < iterations; ++done) {
    if (iterations < 0 && done % 64 == 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds)
      break;
    const bool program = mutate.Below(2) == 0;
    RunOne(std::string(1, program ? '\0' : '\1') + (program ? mutate.Program(programs) : mutate.Code(codes)));
    if (done % 20000 == 0 && done) std::printf("%lld inputs\n", done), std::fflush(stdout);
  }
  std::printf("%lld inputs (%lld programs compiled, %lld of them ended in a run-time error, %lld damaged code "
              "streams taken over), seed %llu, no crash\n",
              done, gCompiled, gRunErrors, gCodeTaken, static_cast<unsigned long long>(seed));
  return 0;
}

#endif
