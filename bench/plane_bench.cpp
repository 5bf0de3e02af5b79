// How long a plane request waits before the board gets it, how the worker
// paces a burst, and what it costs while nothing happens.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "capture/plane/plane_apply.h"
#include "capture/plane/plane_request_writer.h"
#include "capture/session/input_manager.h"
#include "ovxcapture_sim.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kInterval = 16;

OvxSimState BoardState() {
  OvxSimState s{};
  OvxSim_GetState(&s);
  return s;
}

capture::InputManager* StartSession(uint32_t interval) {
  OvxSim_Reset();
  const OvxEventSize output{0, {3840, 2560}};
  OvxSim_SetOutput(&output);
  capture::InputManager* session = capture::InputManager::Create(0);
  if (session == nullptr || !session->CreatePlane({1920, 1080, 0}, interval, 20)) return nullptr;
  // The forced first request has been drawn, and the pause after it is over.
  for (int i = 0; i < 10000 && !(session->WorkerIdle() && BoardState().draw_count > 0); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return session;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Crop requests at random moments while the worker is idle (one to two
// intervals after the last one was drawn); the latency runs from the moment
// the request is published to the Ovx_VpSetProp that carries it.
void BM_PlaneRequestLatency(benchmark::State& state) {
  capture::InputManager* session = StartSession(kInterval);
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> pause(kInterval * 1000, kInterval * 2000 - 1);
  std::vector<double> latencies;
  for (auto _ : state) {
    latencies.clear();
    for (int i = 0; i < 400; ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
      const int32_t x = 1 + i;  // a new value each time
      capture::PlaneRequestWriter(session->Queue()).Crop({x, 0}, {100, 100});
      const Clock::time_point ready = Clock::now();
      const Clock::time_point limit = ready + std::chrono::seconds(2);
      while (BoardState().plane_parts.top.x != x && Clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
      latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - ready).count());
    }
  }
  capture::InputManager::Destroy();
  std::sort(latencies.begin(), latencies.end());
  const double median = latencies[latencies.size() / 2];
  state.counters["median_ms"] = median;
  state.counters["p95_ms"] = latencies[latencies.size() * 95 / 100];
  state.counters["ratio"] = median / kInterval;  // against one execution interval
}
BENCHMARK(BM_PlaneRequestLatency)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The worker alone for one second of wall time: its CPU time against that second.
void BM_PlaneWorkerIdleCpu(benchmark::State& state) {
  capture::InputManager* session = StartSession(kInterval);
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  double cpu = 0;
  double wall = 0;
  const uint64_t passes = session->WorkerPasses();
  for (auto _ : state) {
    const double cpu0 = ProcessCpuSeconds();
    const Clock::time_point t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    cpu += ProcessCpuSeconds() - cpu0;
    wall += Seconds(Clock::now() - t0);
  }
  state.counters["wakeups_per_s"] = static_cast<double>(session->WorkerPasses() - passes) / wall;
  capture::InputManager::Destroy();
  state.counters["cpu_ms_per_s"] = cpu / wall * 1000.0;
  state.counters["ratio"] = cpu / wall;
}
BENCHMARK(BM_PlaneWorkerIdleCpu)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// A request every millisecond for a second: the board must not see passes
// closer together than the interval.  ratio = passes x interval / wall time
// (1.0 is one pass per interval).
void BM_PlaneBurstPacing(benchmark::State& state) {
  capture::InputManager* session = StartSession(kInterval);
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  double draws = 0;
  double wall = 0;
  for (auto _ : state) {
    const uint32_t draws0 = BoardState().draw_count;
    const Clock::time_point t0 = Clock::now();
    for (int i = 0; i < 1000; ++i) {
      capture::PlaneRequestWriter(session->Queue()).Crop({i, 0}, {100, 100});
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    wall += Seconds(Clock::now() - t0);
    draws += BoardState().draw_count - draws0;
  }
  capture::InputManager::Destroy();
  state.counters["passes_per_s"] = draws / wall;
  state.counters["ratio"] = draws * kInterval / 1000.0 / wall;
}
BENCHMARK(BM_PlaneBurstPacing)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same burst (a request every 200 us for half a second) three ways:
// merged and applied on the producing thread itself (the work alone); handed
// over to the cheapest thread that never pauses, one that wakes on a
// condition variable for each request and applies it (the work plus the
// hand-over it cannot avoid); and handed to the session worker with
// interval 0.  ratio = worker CPU / hand-over CPU; ratio_inline = worker CPU
// / the work alone (above 1 by one thread wake-up per request).
void BM_PlaneBurstCpuIntervalZero(benchmark::State& state) {
  capture::InputManager* session = StartSession(0);
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  constexpr int kRequests = 2500;
  auto burst = [&](auto push) {
    const double cpu0 = ProcessCpuSeconds();
    for (int i = 0; i < kRequests; ++i) {
      push(i);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return ProcessCpuSeconds() - cpu0;
  };
  capture::PlaneRequestQueue inline_queue;
  inline_queue.SetPlaneSize(3840, 2560);
  auto apply_inline = [&] {
    if (!inline_queue.Collect()) return;
    const capture::PlaneState wanted = inline_queue.Merged();
    benchmark::DoNotOptimize(capture::ApplyPlaneState(inline_queue.MergedForce(), session->DeviceSlot(),
                                                      session->PlaneSlot(), nullptr, inline_queue.Applied(),
                                                      wanted));
  };
  double work = 0;
  double handover = 0;
  double worker = 0;
  bool odd = false;
  for (auto _ : state) {
    work += burst([&](int i) {
      capture::PlaneRequestWriter(inline_queue).Crop({i, 0}, {100, 100});
      apply_inline();
    });

    auto hand_over_run = [&] {
      std::mutex lock;
      std::condition_variable wake;
      int pending = 0;
      bool done = false;
      std::thread reference([&] {
        std::unique_lock hold(lock);
        for (;;) {
          wake.wait(hold, [&] { return pending > 0 || done; });
          if (pending == 0) return;
          pending = 0;
          hold.unlock();
          apply_inline();
          hold.lock();
        }
      });
      handover += burst([&](int i) {
        capture::PlaneRequestWriter(inline_queue).Crop({i, 0}, {100, 100});
        {
          std::lock_guard guard(lock);
          ++pending;
        }
        wake.notify_one();
      });
      {
        std::lock_guard guard(lock);
        done = true;
      }
      wake.notify_one();
      reference.join();
    };
    auto worker_run = [&] {
      worker += burst([&](int i) { capture::PlaneRequestWriter(session->Queue()).Crop({i, 0}, {100, 100}); });
    };
    // Alternated, so neither run is always the one after the other.
    if (odd) {
      worker_run();
      hand_over_run();
    } else {
      hand_over_run();
      worker_run();
    }
    odd = !odd;
  }
  capture::InputManager::Destroy();
  state.counters["work_cpu_ms"] = work * 1000.0;
  state.counters["handover_cpu_ms"] = handover * 1000.0;
  state.counters["worker_cpu_ms"] = worker * 1000.0;
  state.counters["ratio"] = worker / handover;
  state.counters["ratio_inline"] = worker / work;
}
BENCHMARK(BM_PlaneBurstCpuIntervalZero)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
