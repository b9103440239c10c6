// What a run costs: capture throughput, one short run, memory while
// capturing and CPU time while a command waits, each beside what the same
// work costs without the plug-in.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <string>

#include "host/elistbox.h"
#include "standin/mainloop.h"
#include "tests/harness.h"

namespace {
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// `/bin/sh -c command`, waited for: the work without the plug-in.
void runShell(const std::string& command) {
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0)
    waitpid(pid, nullptr, 0);
}

void writeList(const std::string& command, bool showsOutput) {
  Session::writeListFile("<list><shell description=\"bench\" command=\"" + command + "\" message=\"" +
                         (showsOutput ? "true" : "false") + "\" /></list>");
}

bool outputWindowOpen() { return Session::topWindow() && Session::topWindow()->getText() == "information"; }

std::string producer(long bytes) { return "head -c " + std::to_string(bytes) + " /dev/zero | tr '\\0' x"; }

struct Capture {
  double seconds = 0;        // OK to the last look before the output window opened
  double windowSeconds = 0;  // OK to the output window, which reads the whole capture
  long peakKiB = 0;          // resident size seen while capturing
};

// OK on a showing entry until its output window opens. The loop looks
// between chunks; the last look before the window is the end of the capture.
Capture captureRun(long bytes) {
  malloc_trim(0);  // what an earlier output window held must not count
  Session session;
  writeList(producer(bytes), true);
  Clock::time_point start;
  Capture capture;
  session.then([&] { start = Clock::now(); })
      .key(Key::ok)
      .waitFor(
          [&] {
            if (outputWindowOpen()) return true;
            capture.seconds = secondsSince(start);
            capture.peakKiB = std::max(capture.peakKiB, residentKiB());
            return false;
          },
          "the end of the capture");
  session.then([&] { capture.windowSeconds = secondsSince(start); }).keys({Key::exit, Key::exit});
  session.run();
  return capture;
}

void CaptureThroughput(benchmark::State& state) {
  const long bytes = state.range(0);
  const std::string file = Session::path("/tmp/baseline");
  double plugin = 0, window = 0, baseline = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    runShell(producer(bytes) + " >" + file);
    baseline += secondsSince(start);
    std::remove(file.c_str());
    Capture capture = captureRun(bytes);
    plugin += capture.seconds;
    window += capture.windowSeconds;
  }
  double megabytes = double(bytes) * state.iterations() / 1e6;
  state.counters["plugin_MB/s"] = megabytes / plugin;
  state.counters["shell_MB/s"] = megabytes / baseline;
  state.counters["ratio"] = baseline / plugin;  // goal: at least 0.5
  state.counters["to_window_MB/s"] = megabytes / window;
}

void ShortRun(benchmark::State& state) {
  const int runs = 200;
  double plugin = 0, baseline = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    for (int i = 0; i < runs; ++i) runShell("true");
    baseline += secondsSince(start) / runs;

    Session session;
    writeList("true", false);
    double total = 0;
    for (int i = 0; i < runs; ++i) {
      auto began = std::make_shared<Clock::time_point>();
      session.then([began] {
        Session::list()->setHelpText("");
        *began = Clock::now();
        pressKey(Key::ok);
      });
      session.waitFor([] { return Session::statusText() == "OK !"; }, "OK !");
      session.then([&total, began] { total += secondsSince(*began); });
    }
    session.key(Key::exit);
    session.run();
    plugin += total / runs;
  }
  state.counters["plugin_ms"] = plugin * 1e3 / state.iterations();
  state.counters["spawn_ms"] = baseline * 1e3 / state.iterations();
  state.counters["extra_ms"] = (plugin - baseline) * 1e3 / state.iterations();  // goal: under 1
}

void PeakMemory(benchmark::State& state) {
  long small = 0, large = 0;
  for (auto _ : state) {
    small = captureRun(10'000'000).peakKiB;
    large = captureRun(200'000'000).peakKiB;
  }
  state.counters["peak_10MB_KiB"] = double(small);
  state.counters["peak_200MB_KiB"] = double(large);
  state.counters["growth_KiB"] = double(large - small);  // goal: under 1024
}

void CpuWhileWaiting(benchmark::State& state) {
  double plugin = 0, baseline = 0;
  for (auto _ : state) {
    double before = cpuSeconds();
    runShell("sleep 2");
    baseline += cpuSeconds() - before;

    Session session;
    writeList("sleep 2", false);
    double start = 0;
    session.then([&] { start = cpuSeconds(); }).key(Key::ok);
    session.waitFor([] { return Session::statusText() == "OK !"; }, "OK !");
    session.then([&] { plugin += cpuSeconds() - start; }).key(Key::exit);
    session.run();
  }
  state.counters["plugin_cpu_ms"] = plugin * 1e3 / state.iterations();  // goal: under 10
  state.counters["waitpid_cpu_ms"] = baseline * 1e3 / state.iterations();
}
}  // namespace

BENCHMARK(CaptureThroughput)->Arg(200'000'000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(ShortRun)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CpuWhileWaiting)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
