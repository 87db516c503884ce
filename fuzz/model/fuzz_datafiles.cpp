// Mutation driver of the observed-data readers: damaged .dat (free and fixed
// header), GSAS raw (CONST, RALF, ESD, STD, ALT banks), .xy and .cpi files.
//
// One target per file kind. Rules besides the sanitizers' own: no exception
// leaves a reader; a read either fills the record (status 2, points within
// the arrays, every X finite) or leaves it empty (status 0, no points, no
// arrays) after its message (an x = 0 warning may come first); no read of these small files takes 5 s.
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "model/datafiles.h"
#include "model/plotdata.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"

namespace {

using fuzzdriver::Fault;

int gMessages = 0;
std::string gSaid;  // the messages of the last read
std::string gWork;

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

void Check(const std::string& text, const char* extension, int kind) {
  const std::string file = gWork + extension;
  WriteFileAtomic(file, text);
  gMessages = 0;
  gSaid.clear();
  TPlotData d;
  const auto start = std::chrono::steady_clock::now();
  try {
    d.ReadDataFile(file, 1, kind);
  } catch (const std::exception& e) {
    Fault(std::string("an exception left the reader: ") + e.what());
  }
  if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > 5)
    Fault("a small data file took more than 5 s");
  if (d.Status() == 2) {
    if (d.PointCount() < 0 || d.PointCount() > d.Capacity() || static_cast<size_t>(d.Capacity()) > d.X().size())
      Fault("points outside the arrays: " + std::to_string(d.PointCount()) + " of " + std::to_string(d.Capacity()));
    for (int i = 0; i < d.PointCount(); ++i)
      if (!std::isfinite(d.X()[static_cast<size_t>(i)])) Fault("a point without a finite position");
    d.MinX(), d.MaxX(), d.MinY(), d.MaxY();
  } else if (d.Status() == 0) {
    if (d.PointCount() != 0 || d.TData::IsAllocated()) Fault("a failed read left points");
    if (gMessages < 1) Fault("a failed read said " + std::to_string(gMessages) + " messages:" + gSaid);
  } else {
    Fault("status " + std::to_string(d.Status()) + " after a read");
  }
}

}  // namespace

int main(int argc, char** argv) {
  gWork = WorkFolder() + "datafile";
  SetDialogHandler([](const TDialogRequest& r) {
    ++gMessages;
    gSaid += "\n  " + r.Text;
    return TDialogAnswer{};
  });
  std::vector<fuzzdriver::TTarget> targets;
  const std::vector<std::string> numbers{"0", "-1", "1e38", "1e39", "nan", "inf", "2147483647", "-2147483648",
                                         "99999999999", ".", ",", "1,5", " ", "\r\n", "\n", "\t", "E", "-"};
  auto dictionary = [&](std::vector<std::string> words) {
    words.insert(words.end(), numbers.begin(), numbers.end());
    return words;
  };
  targets.push_back({"dat",
                     {Lines({"1 1 3", "       1       2       3"}),
                      Lines({"10.0000 0.0200 10.1000 title here", "      89     110     127     119      92      99",
                             "  86"}),
                      Lines({"  10.000   0.020  10.060", "1 2 3 4"}), Lines({"5,0 0,5 6,0", "1", "2", "3"})},
                     [](const std::string& s) { Check(s, ".dat", 4); }, dictionary({})});
  targets.push_back(
      {"gsas",
       {Lines({"t", "BANK 1 2 1 CONST 100.00 100.00 0 0 STD", "       1       2"}),
        Lines({"Synthetic", "BANK 1 4 1 CONST 2000.00 800.00 0 0 ESD",
               "    71.0    8.43    63.0    7.94    56.0    7.48    51.0    7.14"}),
        Lines({"t", "BANK 1 3 1 RALF 3200 32 3200 0.0005 FXYE", "   100.0   5   1   200.0  6  1  300.0 7 1"}),
        Lines({"t", "BANK 1 2 1 CONST 100.00 100.00 0 0 ALT", "    1000     10     5    2000     20     6"})},
       [](const std::string& s) { Check(s, ".gs", 7); },
       dictionary({"BANK ", "CONST ", "RALF ", "SLOG ", "STD", "ESD", "ALT", "FXYE", "TIME_MAP"})});
  targets.push_back({"xy",
                     {Lines({"t", "1 1", "2 2", "3 3", "4 4"}), Lines({"# c", "10.0, 5.5", "10.02, 6.25", "10.04,7"}),
                      Lines({"t", "1\t1", "1.5\t2", "2\t3"})},
                     [](const std::string& s) { Check(s, ".xy", 9); }, dictionary({"#", ";"})});
  targets.push_back({"cpi",
                     {Lines({"SIETRONICS XRD SCAN", "10.00 degrees", "10.10", "0.02", "Cu", "1.5406", "01-Jan-2000",
                             "300", "scan", "SCANDATA", "100", "200", "300", "400", "500", "600"}),
                      Lines({"SIETRONICS XRD SCAN", "1", "5", "1", "Cu", "1.5406", "01-Jan-2000", "300", "scan",
                             "SCANDATA", "1", "2", "3", "4", "5"})},
                     [](const std::string& s) { Check(s, ".cpi", 10); }, dictionary({"SCANDATA", "SIETRONICS"})});
  return fuzzdriver::Main(argc, argv, "fuzz-datafiles", targets);
}
