// The overlap comparison of a clean 3840 x 2160 capture (every pixel must be
// read) against memcmp of the same buffer with a key-coloured one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "overlap/key_colour.h"
#include "overlap/overlap_compare.h"

using namespace overlap;

namespace {

std::vector<uint8_t> KeyColouredImage(int width, int height, size_t stride) {
  std::vector<uint8_t> bytes(stride * static_cast<size_t>(height), 0);
  for (int row = 0; row < height; ++row) {
    uint8_t* line = bytes.data() + static_cast<size_t>(row) * stride;
    for (int x = 0; x < width; ++x) {
      line[x * 3] = kKeyBlue;
      line[x * 3 + 1] = kKeyGreen;
      line[x * 3 + 2] = kKeyRed;
    }
  }
  return bytes;
}

void BM_OverlapCompareClean4K(benchmark::State& state) {
  constexpr int kWidth = 3840;
  constexpr int kHeight = 2160;
  const size_t stride = static_cast<size_t>(kWidth) * 3;
  const std::vector<uint8_t> image = KeyColouredImage(kWidth, kHeight, stride);
  const std::vector<uint8_t> key = KeyColouredImage(kWidth, kHeight, stride);
  const ImageView view{image.data(), kWidth, kHeight, stride, 24};

  using Clock = std::chrono::steady_clock;
  double compareSeconds = 0;
  double memcmpSeconds = 0;
  bool compareFirst = false;
  for (auto _ : state) {
    // Alternate the order so that neither side always finds warm caches.
    compareFirst = !compareFirst;
    double compare = 0;
    double baseline = 0;
    for (int pass = 0; pass < 2; ++pass) {
      const auto start = Clock::now();
      if ((pass == 0) == compareFirst) {
        benchmark::DoNotOptimize(CompareWithKeyColour(view, PixelRect{}));
        compare = std::chrono::duration<double>(Clock::now() - start).count();
      } else {
        benchmark::DoNotOptimize(std::memcmp(image.data(), key.data(), image.size()));
        baseline = std::chrono::duration<double>(Clock::now() - start).count();
      }
    }
    benchmark::ClobberMemory();
    compareSeconds += compare;
    memcmpSeconds += baseline;
    state.SetIterationTime(compare);
  }
  state.counters["ratio"] = memcmpSeconds > 0 ? compareSeconds / memcmpSeconds : 0;
  state.counters["memcmp_ms"] = benchmark::Counter(memcmpSeconds * 1000, benchmark::Counter::kAvgIterations);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.size()));
}

}  // namespace

BENCHMARK(BM_OverlapCompareClean4K)->UseManualTime()->Unit(benchmark::kMillisecond);
