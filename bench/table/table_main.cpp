// bench_table: the one table of the system's costs. Every row is timed with
// Google Benchmark (repetitions interleaved at random, the median kept), its
// platform calls counted per operation, and its instructions per operation
// counted under callgrind. The table is printed in Markdown on standard
// output; the benchmark's own report goes to standard error.
//
//   bench_table [--repetitions=N] [--min-time=SECONDS] [--no-callgrind]
//               [--filter=REGEX]
//   bench_table --callgrind-child ID,...   (what the table runs under callgrind)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "bench/table/bench_device.h"
#include "bench/table/callgrind_counts.h"
#include "bench/table/rows.h"
#include "wince/host/faults.h"
#include "wince/host/surface.h"

namespace bench {
namespace {

using wince::host::Call;

struct Counts {
  double reads, allocations, reallocations, gdiObjects, dcs, callbacks;
};

Counts CountsNow() {
  return {static_cast<double>(wince::host::CallCount(Call::ReadFile)),
          static_cast<double>(wince::host::CallCount(Call::LocalAlloc)),
          static_cast<double>(wince::host::CallCount(Call::LocalReAlloc)),
          static_cast<double>(wince::host::GdiObjectsCreated()),
          static_cast<double>(wince::host::DeviceContextsCreated()),
          static_cast<double>(BenchDevice::Get().callback().calls)};
}

void TimeRow(benchmark::State& state, const Row* row) {
  if (!BenchDevice::Get().problem().empty()) {
    state.SkipWithError(BenchDevice::Get().problem().c_str());
    return;
  }
  if (!row->prepare()) {
    state.SkipWithError("the row's keyboard or window is not in place");
    return;
  }
  wince::host::ResetCallCounts();
  const Counts before = CountsNow();
  for (auto _ : state) row->run();
  const Counts after = CountsNow();
  const double n = static_cast<double>(state.iterations());
  const PerOperation cost = {(after.reads - before.reads) / n,
                             (after.allocations - before.allocations) / n,
                             (after.reallocations - before.reallocations) / n,
                             (after.gdiObjects - before.gdiObjects) / n,
                             (after.dcs - before.dcs) / n,
                             (after.callbacks - before.callbacks) / n};
  const std::string error = row->check(state.iterations(), cost);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  state.counters["ReadFile"] = cost.reads;
  state.counters["LocalAlloc"] = cost.allocations;
  state.counters["LocalReAlloc"] = cost.reallocations;
  state.counters["GdiObjects"] = cost.gdiObjects;
  state.counters["DCs"] = cost.dcs;
}

// The medians of every row, as the console report goes to standard error.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  struct Median {
    double seconds;
    double cpuSeconds;
    benchmark::UserCounters counters;
  };
  std::map<std::string, Median> medians;
  std::map<std::string, std::string> errors;

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      if (run.error_occurred) errors[name] = run.error_message;
      // A single repetition has no aggregates: its one run is the median.
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions == 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.error_occurred || !(single || median)) continue;
      const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      medians[name] = {run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit,
                       run.counters};
    }
  }
};

std::string Duration(double seconds) {
  char text[32];
  if (seconds >= 1) std::snprintf(text, sizeof text, "%.2f s", seconds);
  else if (seconds >= 1e-3) std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  else std::snprintf(text, sizeof text, "%.1f µs", seconds * 1e6);
  return text;
}

std::string Count(const benchmark::UserCounters& counters, const char* name) {
  auto it = counters.find(name);
  if (it == counters.end()) return "?";
  char text[32];
  const double value = it->second.value;
  // Whole numbers stay whole; alternating rows (Shift) show their mean.
  if (std::fabs(value - std::round(value)) < 1e-6) {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(std::llround(value)));
  } else {
    std::snprintf(text, sizeof text, "%.1f", value);
  }
  return text;
}

std::string Grouped(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return digits;
}

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  }
  return "unknown CPU";
}

void PrintTable(const MedianReporter& timing, const std::map<std::string, uint64_t>& instructions,
                bool counted, int repetitions, const std::regex& wanted) {
  std::cout << "Machine: " << CpuModel() << ", " << benchmark::CPUInfo::Get().num_cpus
            << " cores; g++ " << __VERSION__ << ", " << TAPORA_BUILD_TYPE << "; median of "
            << repetitions << " interleaved repetitions.\n\n";
  std::cout << "| row | median time | CPU time | ReadFile | LocalAlloc | LocalReAlloc | "
               "GDI objects created | DCs | instructions |\n";
  std::cout << "|---|--:|--:|--:|--:|--:|--:|--:|--:|\n";
  for (const Row& row : Rows()) {
    if (!std::regex_search(row.id, wanted)) continue;
    std::cout << "| " << row.title << " | ";
    auto median = timing.medians.find(row.id);
    if (median == timing.medians.end()) {
      auto error = timing.errors.find(row.id);
      std::cout << "failed: " << (error != timing.errors.end() ? error->second : "not run")
                << " | | | | | | | |\n";
      continue;
    }
    const benchmark::UserCounters& c = median->second.counters;
    auto cost = instructions.find(row.id);
    std::cout << Duration(median->second.seconds) << " | " << Duration(median->second.cpuSeconds)
              << " | " << Count(c, "ReadFile") << " | "
              << Count(c, "LocalAlloc") << " | " << Count(c, "LocalReAlloc") << " | "
              << Count(c, "GdiObjects") << " | " << Count(c, "DCs") << " | "
              << (cost != instructions.end() ? Grouped(cost->second) : counted ? "?" : "not run")
              << " |\n";
  }
}

struct Options {
  int repetitions = 5;
  std::string minTime = "0.2";
  std::string filter = ".";
  bool callgrind = true;
};

bool Parse(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* name) { return arg.substr(std::string(name).size()); };
    if (arg.rfind("--repetitions=", 0) == 0) options->repetitions = std::stoi(value("--repetitions="));
    else if (arg.rfind("--min-time=", 0) == 0) options->minTime = value("--min-time=");
    else if (arg.rfind("--filter=", 0) == 0) options->filter = value("--filter=");
    else if (arg == "--no-callgrind") options->callgrind = false;
    else return false;
  }
  return options->repetitions > 0;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  using namespace bench;
  if (argc == 3 && std::string(argv[1]) == "--callgrind-child") return RunRowsForCallgrind(argv[2]);
  Options options;
  if (!Parse(argc, argv, &options)) {
    std::cerr << "usage: bench_table [--repetitions=N] [--min-time=SECONDS] [--no-callgrind] "
                 "[--filter=REGEX]\n";
    return 2;
  }
  std::vector<std::string> flags = {
      argv[0], "--benchmark_repetitions=" + std::to_string(options.repetitions),
      "--benchmark_enable_random_interleaving=true", "--benchmark_min_time=" + options.minTime,
      "--benchmark_filter=" + options.filter};
  std::vector<char*> benchmarkArgv;
  for (std::string& flag : flags) benchmarkArgv.push_back(flag.data());
  int benchmarkArgc = static_cast<int>(benchmarkArgv.size());
  benchmark::Initialize(&benchmarkArgc, benchmarkArgv.data());
  for (const Row& row : Rows()) {
    benchmark::RegisterBenchmark(row.id, TimeRow, &row)->Unit(benchmark::kMicrosecond);
  }
  MedianReporter reporter;
  reporter.SetOutputStream(&std::cerr);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::map<std::string, uint64_t> instructions;
  std::string problem;
  if (options.callgrind) {
    std::cerr << "bench_table: counting instructions under callgrind...\n";
    std::error_code ec;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    std::vector<std::string> ids;
    const std::regex wanted(options.filter);
    for (const Row& row : Rows()) {
      if (std::regex_search(row.id, wanted)) ids.push_back(row.id);
    }
    instructions = InstructionsPerOperation(ec ? std::string(argv[0]) : self, ids, &problem);
    if (!problem.empty()) std::cerr << "bench_table: " << problem << "\n";
  }
  PrintTable(reporter, instructions, options.callgrind, options.repetitions,
             std::regex(options.filter));
  return problem.empty() ? 0 : 1;
}
