// The window figures, on the real MainWindow shown on Qt's offscreen platform: result rows
// filled into 超级列表框1 and painted, and a whole search from the click on "搜索" to the
// rows on screen against the demo site's own answer time to the same client.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/result_list.h"
#include "app/search_request.h"
#include "app/window_names.h"
#include "bench/bench_inputs.h"
#include "demo/demo_site.h"
#include "sys/window_layer.h"
#include "sys/worker.h"
#include "text/code_page.h"
#include "web/fetch.h"
#include "web/web_settings.h"

namespace {

// The demo site's answer to every search in the search figures.
constexpr int kSearchResults = 100;
// Longest wait for a paint or a window to show; far above anything seen.
constexpr int kPaintWaitMs = 10'000;

// Counts the paints of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  int count_ = 0;
};

// MainWindow on the demo site, shown, with the first-run notice already seen (the marker lives
// in a temporary-files folder of its own).
class BenchWindow {
 public:
  bool Open() {
    if (!temporary_.isValid()) return false;
    qputenv("TMPDIR", QFile::encodeName(temporary_.path()));
    std::ofstream(std::filesystem::path(temporary_.path().toStdString()) / "z.ini",
                  std::ios::binary)
        << "[.]\r\n.=1\r\n";
    DemoSiteOptions options;
    options.searchResultCount = kSearchResults;
    if (!demo_.SetOptions(options) || !demo_.Start()) return false;
    InitGlobals();
    SiteConfig site;
    site.novelHost = demo_.HostPort();
    site.fileHost = demo_.HostPort();
    window_ = std::make_unique<MainWindow>(site);
    window_->Load();
    QElapsedTimer waited;
    waited.start();
    while (!(window_->windowHandle() && window_->windowHandle()->isExposed()) &&
           waited.elapsed() < kPaintWaitMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    auto* list = qobject_cast<QTreeWidget*>(FindControl(kMainWindow, kMainResultList));
    if (!list || !window_->windowHandle()->isExposed()) return false;
    listPaints_ = new PaintCounter(list->viewport());
    return true;
  }

  void Close() {
    StopAllWorkers(std::chrono::seconds(3));
    window_.reset();
    ReleaseGlobals();
    demo_.Stop();
  }

  const DemoSite& Demo() const { return demo_; }

  // Handles events until the result list has been painted once more than `paintsBefore`.
  bool WaitForListPaint(int paintsBefore) const {
    QElapsedTimer waited;
    waited.start();
    while (listPaints_->Count() == paintsBefore && waited.elapsed() < kPaintWaitMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return listPaints_->Count() > paintsBefore;
  }

  int ListPaints() const { return listPaints_->Count(); }

  // Empties the list and lets the emptied list paint, as before a search.
  void ClearResults() const {
    const int paints = ListPaints();
    ClearList(kMainWindow, kMainResultList);
    WaitForListPaint(paints);
  }

 private:
  QTemporaryDir temporary_;
  DemoSite demo_;
  std::unique_ptr<MainWindow> window_;
  PaintCounter* listPaints_ = nullptr;  // owned by the list's viewport
};

BenchWindow* g_bench = nullptr;

// A page of `rows` results as the search worker hands it over (decoded from UTF-8), filled in
// the way the search command fills it, until the list has painted the new rows.
void BM_RowsShown(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string page = Utf8ToGbk(SearchPageUtf8(count));
  for (auto _ : state) {
    state.PauseTiming();
    g_bench->ClearResults();
    std::string answer = page;
    const int paints = g_bench->ListPaints();
    state.ResumeTiming();
    const int shown = ShowResultRows(std::move(answer));
    const bool painted = g_bench->WaitForListPaint(paints);
    if (shown != count || !painted) {
      state.SkipWithError("the rows were not shown");
      break;
    }
  }
  state.counters["rows"] = count;
}

std::string Keyword() { return Utf8ToGbk(kBenchKeywordUtf8); }

// The whole search as the user sees it: the click on "搜索" (the handler returns once the
// rows are in the list), then the list's next paint.
void BM_SearchClick(benchmark::State& state) {
  auto* button = qobject_cast<QPushButton*>(FindControl(kMainWindow, kMainSearchButton));
  SetControlText(kMainWindow, kMainKeywordBox, Keyword());
  for (auto _ : state) {
    state.PauseTiming();
    g_bench->ClearResults();
    const int paints = g_bench->ListPaints();
    state.ResumeTiming();
    QTest::mouseClick(button, Qt::LeftButton);
    const bool painted = g_bench->WaitForListPaint(paints);
    if (!painted || RowCount(kMainWindow, kMainResultList) != kSearchResults) {
      state.SkipWithError("the search did not show its rows");
      break;
    }
  }
  state.counters["rows"] = kSearchResults;
}

// The site's own answer to the same post, taken by the same client on this thread.
void BM_SiteAnswer(benchmark::State& state) {
  const std::string address = SearchAddress(g_bench->Demo().HostPort());
  const std::string body = SearchBody(Keyword());
  for (auto _ : state) {
    FetchParams params;
    params.method = 1;
    params.bodyText = body;
    if (FetchText(address, params).empty()) {
      state.SkipWithError("the site did not answer");
      break;
    }
  }
}

// One measured fill or search per repetition: the figures are the medians of single events,
// each taken whole, as a user meets them.
BENCHMARK(BM_RowsShown)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchClick)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SiteAnswer)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  WebGlobalInit();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  BenchWindow bench;
  if (!bench.Open()) {
    std::fputs("nf_bench_window: MainWindow or the demo site did not come up\n", stderr);
    return 1;
  }
  g_bench = &bench;
  benchmark::RunSpecifiedBenchmarks();
  g_bench = nullptr;
  bench.Close();
  benchmark::Shutdown();
  return 0;
}
