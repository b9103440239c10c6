// What loading and saving the list costs, each beside the same work done
// without the plug-in: expat alone parsing the file, stdio alone writing it.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/harness.h"

namespace {
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string entryLine(long i) {
  return "\t<shell description=\"Entry number " + std::to_string(i) + "\" command=\"echo " +
         std::to_string(i) + " -n\" message=\"" + (i % 2 ? "true" : "false") + "\" />\n";
}

std::string listOf(long entries) {
  std::string file = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n";
  for (long i = 0; i < entries; ++i) file += entryLine(i);
  return file + "</list>";
}

// The reader's own loop, minus everything but the parser; with `handlers`,
// expat also hands each element's attributes to a handler that drops them.
double expatAlone(const std::string& path, bool handlers) {
  Clock::time_point start = Clock::now();
  XML_Parser parser = XML_ParserCreate("ISO-8859-1");
  if (handlers)
    XML_SetElementHandler(
        parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
  FILE* in = std::fopen(path.c_str(), "rt");
  char buffer[2048];
  bool final;
  do {
    size_t length = std::fread(buffer, 1, sizeof buffer, in);
    final = length < sizeof buffer;
    if (XML_Parse(parser, buffer, int(length), final) != XML_STATUS_OK) std::abort();
  } while (!final);
  std::fclose(in);
  XML_ParserFree(parser);
  return secondsSince(start);
}

// plugin_exec until its loop first idles: the window is built and the list
// loaded.
double opening(const std::string& file) {
  Session session;
  Session::writeListFile(file);
  Clock::time_point start;
  double seconds = 0;
  session.then([&] { seconds = secondsSince(start); }).key(Key::exit);
  start = Clock::now();
  session.run();
  return seconds;
}

// Opening with N entries, less opening with none, is what loadlistfeld
// adds for them.
void LoadList(benchmark::State& state) {
  const std::string file = listOf(state.range(0)), empty = listOf(0);
  double plugin = 0, window = 0, baseline = 0, reporting = 0;
  for (auto _ : state) {
    window += opening(empty);
    plugin += opening(file);
    baseline += expatAlone(Session::path(Session::listFile), false);
    reporting += expatAlone(Session::path(Session::listFile), true);
  }
  double n = double(state.iterations());
  state.counters["load_us"] = (plugin - window) / n * 1e6;
  state.counters["expat_us"] = baseline / n * 1e6;
  state.counters["ratio"] = (plugin - window) / baseline;  // goal: at most 1.5
  state.counters["ratio_to_reporting_expat"] = (plugin - window) / reporting;
  state.counters["load_ns_per_entry"] = (plugin - window) / n / double(state.range(0)) * 1e9;
  state.counters["window_us"] = window / n * 1e6;
}

// The same bytes, written and renamed into place with stdio; the synced
// variant is what any write that survives a power cut pays at least.
double stdioAlone(const std::string& bytes, bool sync) {
  const std::string path = Session::path(Session::listFile), temporary = path + ".new";
  Clock::time_point start = Clock::now();
  FILE* out = std::fopen(temporary.c_str(), "w");
  std::fputs(bytes.c_str(), out);
  if (sync) {
    std::fflush(out);
    fsync(fileno(out));
  }
  std::fclose(out);
  std::rename(temporary.c_str(), path.c_str());
  return secondsSince(start);
}

// Green and blue on the first entry: save_xml rewrites the file and
// reloads it; the reload's share is taken off as measured for LoadList.
void SaveList(benchmark::State& state) {
  const std::string file = listOf(state.range(0)), empty = listOf(0);
  double save = 0, load = 0, synced = 0, unsynced = 0;
  for (auto _ : state) {
    Session session;
    Session::writeListFile(file);
    session.key(Key::green).then([&] {
      Clock::time_point start = Clock::now();
      pressKey(Key::blue);
      save += secondsSince(start);
    });
    session.key(Key::exit);
    session.run();
    if (Session::readListFile() != file) state.SkipWithError("the save changed the file");
    load += opening(file) - opening(empty);
    synced += stdioAlone(file, true);
    unsynced += stdioAlone(file, false);
  }
  double n = double(state.iterations());
  state.counters["save_xml_us"] = save / n * 1e6;
  state.counters["write_us"] = (save - load) / n * 1e6;
  state.counters["stdio_synced_us"] = synced / n * 1e6;
  state.counters["ratio"] = (save - load) / synced;  // goal: at most 2
  state.counters["ratio_unsynced"] = (save - load) / unsynced;
}
}  // namespace

BENCHMARK(LoadList)->Arg(100)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadList)->Arg(10'000)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadList)->Arg(100'000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveList)->Arg(10'000)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
