// How long a plane request waits before the board gets it, and what the
// worker costs while nothing happens.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "capture/input_manager.h"
#include "ovxcapture_sim.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kInterval = 16;

capture::InputManager* StartSession() {
  OvxSim_Reset();
  const OvxEventSize output{0, {3840, 2560}};
  OvxSim_SetOutput(&output);
  capture::InputManager* session = capture::InputManager::Create(0);
  if (session == nullptr || !session->CreatePlane({1920, 1080, 0}, kInterval, 20)) return nullptr;
  // The forced first request has been drawn.
  for (int i = 0; i < 10000; ++i) {
    OvxSimState s{};
    OvxSim_GetState(&s);
    if (s.draw_count > 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return session;
}

int32_t BoardPartsTopX() {
  OvxSimState s{};
  OvxSim_GetState(&s);
  return s.plane_parts.top.x;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// 1000 crop requests at random moments; the latency runs from the moment the
// request is marked ready to the Ovx_VpSetProp that carries it.
void BM_PlaneRequestLatency(benchmark::State& state) {
  capture::InputManager* session = StartSession();
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> pause(0, kInterval * 1000 - 1);
  std::vector<double> latencies;
  for (auto _ : state) {
    latencies.clear();
    for (int i = 0; i < 1000; ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
      const int32_t x = 1 + i;  // a new value each time
      capture::PlaneRequest* slot = session->Queue().Acquire();
      slot->body.partsId = OVX_VP_PROP_PARTS_CROP;
      slot->body.parts.top = {x, 0};
      slot->body.parts.size = {100, 100};
      slot->body.flags |= capture::kGroupParts;
      capture::PlaneRequestQueue::Publish(*slot);
      const Clock::time_point ready = Clock::now();
      const Clock::time_point limit = ready + std::chrono::seconds(2);
      while (BoardPartsTopX() != x && Clock::now() < limit)
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
  capture::InputManager* session = StartSession();
  if (session == nullptr) {
    state.SkipWithError("no session");
    return;
  }
  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    const double cpu0 = ProcessCpuSeconds();
    const Clock::time_point t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    cpu += ProcessCpuSeconds() - cpu0;
    wall += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  capture::InputManager::Destroy();
  state.counters["cpu_ms_per_s"] = cpu / wall * 1000.0;
  state.counters["ratio"] = cpu / wall;
}
BENCHMARK(BM_PlaneWorkerIdleCpu)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
