// The run-time cost of one tick of the page refresher's two timers on the simulated platform,
// whose recording browser does no work: the reload tick (read the address box, navigate) and
// the caption tick (seed, random number, texts joined, caption written). The program's window
// is loaded once; each iteration raises the timer's event as its kind does on a tick, so the
// figure is the binding lookup plus the handler. A third figure sends both ticks through the
// simulated message loop (timers at the smallest period, virtual time advanced).
//
// Beside the time, each benchmark reports the heap allocations per tick (see
// allocation_counter.h). The recording browser keeps every navigation in a list, so the
// reload tick's operator-new count includes that list's amortised growth and its strings.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/allocation_counter.h"
#include "platform/sim/sim.h"
#include "refresher/identifiers.h"
#include "refresher/program.h"
#include "runtime/runtime.h"

namespace {

using namespace pelmora;

Runtime* theRuntime = nullptr;

void ReportAllocations(benchmark::State& state, const bench::AllocationCounts& before,
                       double ticksPerIteration) {
  const bench::AllocationCounts after = bench::AllocationsSoFar();
  const double ticks = static_cast<double>(state.iterations()) * ticksPerIteration;
  state.counters["new/tick"] = static_cast<double>(after.operatorNew - before.operatorNew) / ticks;
  state.counters["malloc/tick"] = static_cast<double>(after.malloc - before.malloc) / ticks;
}

void RaiseTick(benchmark::State& state, ControlId timer) {
  EventNotice notice;
  notice.windowId = refresher::kMainWindow;
  notice.controlId = timer;
  notice.eventNumber = 0;
  const bench::AllocationCounts before = bench::AllocationsSoFar();
  for (auto _ : state) {
    EventNotice tick = notice;
    benchmark::DoNotOptimize(theRuntime->RaiseEvent(tick));
  }
  ReportAllocations(state, before, 1.0);
}

void ReloadTimerTick(benchmark::State& state) { RaiseTick(state, refresher::kReloadTimer); }
void CaptionTimerTick(benchmark::State& state) { RaiseTick(state, refresher::kCaptionTimer); }

// Both timers at 10 ms (the smallest period the simulated system keeps); each iteration lets
// 10 ms of virtual time pass, so both tick once through the message loop.
void BothTicksThroughTheLoop(benchmark::State& state) {
  constexpr std::uint32_t kPeriod = 10;
  theRuntime->WriteProperty(refresher::kMainWindow, refresher::kReloadTimer, refresher::kPeriod,
                            refresher::kWholeProperty, kPeriod, 0);
  theRuntime->WriteProperty(refresher::kMainWindow, refresher::kCaptionTimer, refresher::kPeriod,
                            refresher::kWholeProperty, kPeriod, 0);
  const bench::AllocationCounts before = bench::AllocationsSoFar();
  for (auto _ : state) sim::Advance(kPeriod);
  ReportAllocations(state, before, 2.0);
  theRuntime->WriteProperty(refresher::kMainWindow, refresher::kReloadTimer, refresher::kPeriod,
                            refresher::kWholeProperty, 0, 0);
  theRuntime->WriteProperty(refresher::kMainWindow, refresher::kCaptionTimer, refresher::kPeriod,
                            refresher::kWholeProperty, 0, 0);
}

BENCHMARK(ReloadTimerTick);
BENCHMARK(CaptionTimerTick);
BENCHMARK(BothTicksThroughTheLoop);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  sim::Reset();
  // A failure inside a tick would open the error box: answer it so the run ends instead of
  // waiting, and say so below.
  sim::AnswerMessageBoxesAutomatically(true);
  int status = 0;
  {
    Runtime runtime(refresher::Image());
    theRuntime = &runtime;
    try {
      runtime.StartRuntime();
      runtime.LoadWindow(refresher::kMainWindow);
      benchmark::RunSpecifiedBenchmarks();
    } catch (const sim::ProcessEnded& ended) {
      std::fprintf(stderr, "the program ended with %d during the benchmark\n", ended.exitCode);
      status = 1;
    }
    sim::Reset();
    theRuntime = nullptr;
  }
  benchmark::Shutdown();
  return status;
}
