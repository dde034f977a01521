// Code pages over 20 MB of Chinese text: the tool's conversions against glibc's iconv on the
// same bytes, each producing a fresh output string as a caller would.
#include <benchmark/benchmark.h>

#include <iconv.h>
#include <memory>
#include <string>

#include "bench/bench_inputs.h"
#include "text/code_page.h"

namespace {

constexpr std::size_t kTextBytes = 20u * 1024 * 1024;

const std::string& TextGbk() {
  static const std::string text = ChineseTextGbk(kTextBytes);
  return text;
}

const std::string& TextUtf8() {
  static const std::string text = GbkToUtf8(TextGbk());
  return text;
}

struct IconvClose {
  void operator()(void* cd) const { iconv_close(cd); }  // iconv_t is a void*
};

// `input` converted by glibc; an empty result when iconv stops early.
std::string IconvConvert(iconv_t cd, const std::string& input, std::size_t outputBound) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string output(outputBound, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return {};
  output.resize(output.size() - outLeft);
  return output;
}

void Report(benchmark::State& state, const std::string& input) {
  // Throughput counted in the bytes of the Chinese text in code page 936, the same for
  // both directions.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TextGbk().size()));
  state.counters["input_bytes"] = static_cast<double>(input.size());
}

void BM_Utf8ToGbk(benchmark::State& state) {
  const std::string& input = TextUtf8();
  for (auto _ : state) {
    std::string output = Utf8ToGbk(input);
    if (output.size() != TextGbk().size()) state.SkipWithError("wrong output size");
    benchmark::DoNotOptimize(output.data());
  }
  Report(state, input);
}

void BM_GbkToUtf8(benchmark::State& state) {
  const std::string& input = TextGbk();
  for (auto _ : state) {
    std::string output = GbkToUtf8(input);
    if (output.size() != TextUtf8().size()) state.SkipWithError("wrong output size");
    benchmark::DoNotOptimize(output.data());
  }
  Report(state, input);
}

void RunIconv(benchmark::State& state, const char* to, const char* from, const std::string& input,
              const std::string& expected) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  const std::unique_ptr<void, IconvClose> owner(cd);
  if (IconvConvert(cd, input, input.size() * 2) != expected) {
    state.SkipWithError("iconv gives other bytes than novelfetch");
    return;
  }
  for (auto _ : state) {
    std::string output = IconvConvert(cd, input, input.size() * 2);
    if (output.size() != expected.size()) state.SkipWithError("wrong output size");
    benchmark::DoNotOptimize(output.data());
  }
  Report(state, input);
}

void BM_IconvUtf8ToGbk(benchmark::State& state) {
  RunIconv(state, "GBK", "UTF-8", TextUtf8(), TextGbk());
}

void BM_IconvGbkToUtf8(benchmark::State& state) {
  RunIconv(state, "UTF-8", "GBK", TextGbk(), TextUtf8());
}

}  // namespace

BENCHMARK(BM_Utf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GbkToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvGbkToUtf8)->Unit(benchmark::kMillisecond);
