// FormatText against snprintf on the formats the program really uses. Prints
// the cost ratio FormatText/snprintf per format; it must stay at most 3, and
// the program fails when it does not.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/Format.h"

namespace {

const double kAllowedRatio = 3.0;

#define FORMAT_PAIR(label, format, ...)                          \
  void label##_FormatText(benchmark::State& state) {             \
    SharedString text;                                           \
    for (auto _ : state) {                                       \
      FormatText(text, format, __VA_ARGS__);                     \
      benchmark::DoNotOptimize(text.c_str());                    \
    }                                                            \
  }                                                              \
  void label##_snprintf(benchmark::State& state) {               \
    char buffer[1025];                                           \
    for (auto _ : state) {                                       \
      std::snprintf(buffer, sizeof buffer, format, __VA_ARGS__); \
      benchmark::DoNotOptimize(buffer);                          \
      benchmark::ClobberMemory();                                \
    }                                                            \
  }                                                              \
  BENCHMARK(label##_FormatText);                                 \
  BENCHMARK(label##_snprintf);

FORMAT_PAIR(DriverStatus, "Driver %s version %d.%02d Build %d is active now.", "Kestrin.vxd", 1, 5, 42)
FORMAT_PAIR(Win32Error, "Error code=%d (%s)", 5, "Access is denied.")
FORMAT_PAIR(RegistryError, "OpenRegError %s %d", "SOFTWARE\\Kestrin\\Installer", 2)
FORMAT_PAIR(StatusText, "Status = %d (%s)", 4, "The specified file not found")

// Keeps the console output and remembers each benchmark's CPU time.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!run.error_occurred && run.run_type == Run::RT_Iteration)
        times[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  bool within = true;
  std::printf("\nFormatText/snprintf cost ratio (at most %.1f):\n", kAllowedRatio);
  for (const char* label : {"DriverStatus", "Win32Error", "RegistryError", "StatusText"}) {
    const auto ours = reporter.times.find(std::string(label) + "_FormatText");
    const auto runtime = reporter.times.find(std::string(label) + "_snprintf");
    if (ours == reporter.times.end() || runtime == reporter.times.end() || runtime->second <= 0)
      continue;
    const double ratio = ours->second / runtime->second;
    std::printf("  %-14s %5.2f%s\n", label, ratio, ratio <= kAllowedRatio ? "" : "  TOO SLOW");
    within = within && ratio <= kAllowedRatio;
  }
  benchmark::Shutdown();
  return within ? 0 : 1;
}
