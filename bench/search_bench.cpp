// Cutting search answers into rows: the tool's whole path, the bare PCRE2 JIT scan of the same
// UTF-8 page (the floor for this pattern), and a page on which the pattern finds nothing.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <benchmark/benchmark.h>

#include <memory>
#include <pcre2.h>
#include <string>
#include <string_view>
#include <vector>

#include "app/result_rows.h"
#include "bench/bench_inputs.h"
#include "text/code_page.h"
#include "text/regex_object.h"
#include "text/text_find.h"
#include "web/site_patterns.h"

namespace {

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};

// The result pattern compiled with the options RegexObject gives it by default.
std::unique_ptr<pcre2_code, CodeFree> CompileResultPattern() {
  const std::string pattern = GbkToUtf8(kResultPattern);
  std::unique_ptr<pcre2_compile_context, CompileContextFree> context(
      pcre2_compile_context_create(nullptr));
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
  const uint32_t flags = PCRE2_UTF | PCRE2_NO_UTF_CHECK | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                         PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY | PCRE2_CASELESS |
                         PCRE2_MULTILINE;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  std::unique_ptr<pcre2_code, CodeFree> code(
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags, &error,
                    &errorOffset, context.get()));
  if (code) pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE);
  return code;
}

void ReportRows(benchmark::State& state, std::size_t pageBytes) {
  state.counters["rows"] = static_cast<double>(state.range(0));
  state.counters["page_bytes"] = static_cast<double>(pageBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pageBytes));
}

// The search command's path from the answer's body to its rows: the body decoded as FetchText
// does it, then the window's and the command line's shared cutting routine.
std::vector<ResultRow> CutSearchRows(std::string_view bodyUtf8, RegexObject& regex) {
  std::string page = Utf8ToGbk(bodyUtf8);
  return CutResultRows(regex, page);
}

void BM_CutRows(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  RegexObject regex;
  for (auto _ : state) {
    std::vector<ResultRow> rows = CutSearchRows(page, regex);
    if (rows.size() != static_cast<size_t>(state.range(0))) {
      state.SkipWithError("wrong row count");
      break;
    }
    benchmark::DoNotOptimize(rows.data());
  }
  ReportRows(state, page.size());
}

void BM_BareScan(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  const auto code = CompileResultPattern();
  std::unique_ptr<pcre2_match_data, MatchDataFree> data(
      pcre2_match_data_create_from_pattern(code.get(), nullptr));
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(page.data());
  for (auto _ : state) {
    int64_t matches = 0;
    for (PCRE2_SIZE from = 0;
         pcre2_jit_match(code.get(), subject, page.size(), from, 0, data.get(), nullptr) > 0;
         ++matches) {
      from = pcre2_get_ovector_pointer(data.get())[1];
    }
    if (matches != state.range(0)) {
      state.SkipWithError("wrong match count");
      break;
    }
  }
  ReportRows(state, page.size());
}

// The steps of BM_CutRows one by one, to see where its time goes: the body's decoding, then the
// cutting routine on the decoded page (its tags, the one conversion to UTF-8, the search, the
// cells), then the search alone on the converted page, then the cells alone.
void BM_StepDecodeBody(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToGbk(page).data());
  ReportRows(state, page.size());
}

void BM_StepCutDecodedPage(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  const std::string text = Utf8ToGbk(page);
  RegexObject regex;
  for (auto _ : state) {
    std::string copy = text;  // the cutting routine works on a page of its own
    benchmark::DoNotOptimize(CutResultRows(regex, copy).data());
  }
  ReportRows(state, page.size());
}

void BM_StepSearchConverted(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  const std::string text = TextReplaceAll(TextReplaceAll(Utf8ToGbk(page), "<em>", ""), "</em>", "");
  const std::string utf8 = GbkToUtf8(text);
  std::string handed;
  RegexObject regex;
  for (auto _ : state) {
    state.PauseTiming();
    handed = utf8;  // the engine takes it over
    state.ResumeTiming();
    regex.SearchConverted(kResultPattern, text, handed);
    benchmark::DoNotOptimize(regex.MatchCount());
  }
  ReportRows(state, page.size());
}

void BM_StepSubmatches(benchmark::State& state) {
  const std::string page = SearchPageUtf8(static_cast<int>(state.range(0)));
  const std::string text = TextReplaceAll(TextReplaceAll(Utf8ToGbk(page), "<em>", ""), "</em>", "");
  RegexObject regex;
  regex.Search(kResultPattern, text);
  for (auto _ : state) {
    for (int match = 1; match <= regex.MatchCount(); ++match) {
      for (int group = 1; group <= kResultColumns; ++group) {
        benchmark::DoNotOptimize(regex.SubmatchText(match, group).data());
      }
    }
  }
  ReportRows(state, page.size());
}

void BM_NoMatchPage(benchmark::State& state) {
  const std::string page = NoMatchPageUtf8();
  RegexObject regex;
  for (auto _ : state) {
    if (!CutSearchRows(page, regex).empty()) {
      state.SkipWithError("the page was not meant to match");
      break;
    }
  }
  state.counters["page_bytes"] = static_cast<double>(page.size());
}

}  // namespace

BENCHMARK(BM_CutRows)->Arg(10)->Arg(100)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareScan)->Arg(10)->Arg(100)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepDecodeBody)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCutDecodedPage)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepSearchConverted)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepSubmatches)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoMatchPage)->Unit(benchmark::kMillisecond);
