#include "demo/demo_site.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <httplib.h>

#include "demo/demo_pages.h"
#include "demo/percent_decode.h"
#include "demo/search_form.h"
#include "web/site_patterns.h"

namespace {

constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr size_t kMaxKeptBodies = 10'000;
constexpr size_t kMaxBodyBytes = 1024 * 1024;
constexpr size_t kChunkBytes = 64 * 1024;
constexpr int kHugeHeaderLines = 1100;  // 1100 lines of 1000 bytes: past 1 MiB
constexpr std::string_view kPagePrefix = "/txt/";
constexpr std::string_view kPageSuffix = ".html";

std::string TargetPath(const std::string& target) { return target.substr(0, target.find('?')); }

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

void SetPage(httplib::Response& response, int status, const std::string& page) {
  response.status = status;
  response.set_content(page, kHtml);
}

// Headers go out, then the connection closes: the client sees a cut-off answer.
void DropConnection(httplib::Response& response) {
  response.set_content_provider(1, kHtml, [](size_t, size_t, httplib::DataSink&) { return false; });
}

void AddHugeHeaders(httplib::Response& response) {
  const std::string filler(1000, 'x');
  for (int i = 0; i < kHugeHeaderLines; ++i) {
    response.set_header("X-Demo-Padding-" + std::to_string(i), filler);
  }
}

// Back to the same path with a hop count, so every answer is a fresh redirect.
void RedirectToSelf(const httplib::Request& request, httplib::Response& response) {
  const long long hop =
      request.has_param("hop") ? std::atoll(request.get_param_value("hop").c_str()) : 0;
  response.set_redirect(TargetPath(request.target) + "?hop=" + std::to_string(hop + 1), 302);
}

const DemoBook* FindBook(const std::vector<DemoBook>& books, std::string DemoBook::*field,
                         std::string_view id) {
  auto found = std::find_if(books.begin(), books.end(),
                            [&](const DemoBook& book) { return book.*field == id; });
  return found == books.end() ? nullptr : &*found;
}

// The book a file server path names: /d/file/p/txt/<year>/<percent-encoded name>.txt, the
// name spelled exactly as the catalogue spells it.
const DemoBook* FindFile(const std::vector<DemoBook>& books, std::string_view path) {
  std::string_view rest = path.substr(kFileServerPath.size());
  const size_t slash = rest.find('/');
  if (slash == rest.npos || !EndsWith(rest, ".txt")) return nullptr;
  const std::string_view year = rest.substr(0, slash);
  const auto name = PercentDecode(rest.substr(slash + 1, rest.size() - slash - 1 - 4));
  if (!name) return nullptr;
  auto found = std::find_if(books.begin(), books.end(), [&](const DemoBook& book) {
    return book.name == *name && DemoBookYear(book) == year;
  });
  return found == books.end() ? nullptr : &*found;
}

}  // namespace

struct DemoSite::Snapshot {
  DemoSiteOptions options;
  std::shared_ptr<const std::vector<DemoBook>> catalogue;
};

DemoSite::DemoSite(DemoSiteOptions options)
    : options_(Bounded(std::move(options))),
      catalogue_(std::make_shared<const std::vector<DemoBook>>(DemoCatalogue(options_))),
      emptyAnswersLeft_(options_.emptySearchAnswers) {}

DemoSite::~DemoSite() { Stop(); }

bool DemoSite::Start(int port) {
  std::lock_guard life(lifeMutex_);
  if (started_ || !Listen(port)) return false;
  started_ = true;
  if (Options().refuseConnections) StopListening();
  return true;
}

void DemoSite::Stop() {
  std::lock_guard life(lifeMutex_);
  StopListening();
  started_ = false;
  port_ = 0;
}

bool DemoSite::Listen(int port) {
  auto server = std::make_unique<httplib::Server>();
  auto handler = [this](const httplib::Request& request, httplib::Response& response) {
    Answer(request, response);
  };
  server->Get(R"([\s\S]*)", handler);
  server->Post(R"([\s\S]*)", handler);
  server->set_payload_max_length(kMaxBodyBytes);
  // Short waits on idle and stalled clients keep Stop() quick.
  server->set_keep_alive_timeout(1);
  server->set_read_timeout(5);
  server->set_write_timeout(3);
  const int bound = port == 0 ? server->bind_to_any_port(kLoopback)
                              : (server->bind_to_port(kLoopback, port) ? port : -1);
  if (bound <= 0) return false;
  {
    std::lock_guard lock(wakeMutex_);
    goingDown_ = false;
  }
  try {
    thread_ = std::thread([listener = server.get()] { listener->listen_after_bind(); });
  } catch (const std::system_error&) {
    return false;
  }
  // stop() ends only a loop that has begun, so wait for it (bounded) before anyone may stop.
  for (int i = 0; i < 5000 && !server->is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  server_ = std::move(server);
  port_ = bound;
  return true;
}

void DemoSite::StopListening() {
  if (!server_) return;
  {
    std::lock_guard lock(wakeMutex_);
    goingDown_ = true;
  }
  wake_.notify_all();
  server_->stop();
  thread_.join();
  server_.reset();
}

int DemoSite::Port() const { return port_; }

std::string DemoSite::HostPort() const {
  return std::string(kLoopback) + ":" + std::to_string(port_);
}

std::string DemoSite::Url(std::string_view path) const {
  return "http://" + HostPort() + std::string(path);
}

DemoSiteOptions DemoSite::Options() const {
  std::lock_guard lock(stateMutex_);
  return options_;
}

bool DemoSite::SetOptions(const DemoSiteOptions& options) {
  const DemoSiteOptions bounded = Bounded(options);
  auto catalogue = std::make_shared<const std::vector<DemoBook>>(DemoCatalogue(bounded));
  {
    std::lock_guard lock(stateMutex_);
    options_ = bounded;
    catalogue_ = std::move(catalogue);
    emptyAnswersLeft_ = bounded.emptySearchAnswers;
  }
  return SetRefusing(bounded.refuseConnections);
}

void DemoSite::SetEmptySearchAnswers(int count) {
  std::lock_guard lock(stateMutex_);
  options_.emptySearchAnswers = std::clamp(count, 0, kMaxEmptyAnswers);
  emptyAnswersLeft_ = options_.emptySearchAnswers;
}

void DemoSite::SetDelay(int delayMs, bool everyRequest) {
  std::lock_guard lock(stateMutex_);
  options_.delayMs = std::clamp(delayMs, 0, kMaxDelayMs);
  options_.delayEveryRequest = everyRequest;
}

bool DemoSite::SetRefusing(bool refusing) {
  std::lock_guard life(lifeMutex_);
  {
    std::lock_guard lock(stateMutex_);
    options_.refuseConnections = refusing;
  }
  if (!started_) return true;
  if (refusing) {
    StopListening();
    return true;
  }
  return server_ || Listen(port_);
}

int DemoSite::SearchPostCount() const {
  std::lock_guard lock(stateMutex_);
  return searchPosts_;
}

std::vector<std::string> DemoSite::SearchBodies() const {
  std::lock_guard lock(stateMutex_);
  return searchBodies_;
}

void DemoSite::ClearRecords() {
  std::lock_guard lock(stateMutex_);
  searchPosts_ = 0;
  searchBodies_.clear();
}

std::vector<DemoBook> DemoSite::Catalogue() const { return *TakeSnapshot().catalogue; }

DemoSite::Snapshot DemoSite::TakeSnapshot() const {
  std::lock_guard lock(stateMutex_);
  Snapshot snapshot{options_, catalogue_};
  if (snapshot.options.siteHost.empty()) snapshot.options.siteHost = HostPort();
  if (snapshot.options.fileHost.empty()) snapshot.options.fileHost = HostPort();
  return snapshot;
}

bool DemoSite::RecordSearchPost(const std::string& body) {
  std::lock_guard lock(stateMutex_);
  ++searchPosts_;
  if (searchBodies_.size() < kMaxKeptBodies) searchBodies_.push_back(body);
  if (emptyAnswersLeft_ == 0) return false;
  --emptyAnswersLeft_;
  return true;
}

bool DemoSite::Pause(int delayMs) const {
  std::unique_lock lock(wakeMutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(delayMs), [this] { return goingDown_; });
}

void DemoSite::Answer(const httplib::Request& request, httplib::Response& response) {
  const Snapshot snapshot = TakeSnapshot();
  const DemoSiteOptions& options = snapshot.options;
  const std::string path = TargetPath(request.target);
  const bool search = request.method == "POST" && path == kSearchPath;
  const bool emptyAnswer = search && RecordSearchPost(request.body);
  if ((search || options.delayEveryRequest) && !Pause(options.delayMs)) {
    DropConnection(response);
    return;
  }
  if (options.hugeHeaders) AddHugeHeaders(response);
  if (options.redirectLoop) {
    RedirectToSelf(request, response);
  } else if (search) {
    AnswerSearch(snapshot, request.body, emptyAnswer, response);
  } else if (request.method == "POST") {
    SetPage(response, 404, MakeStatusPage(404));
  } else {
    AnswerGet(snapshot, path, response);
  }
}

void DemoSite::AnswerGet(const Snapshot& snapshot, const std::string& path,
                         httplib::Response& response) {
  const std::vector<DemoBook>& books = *snapshot.catalogue;
  if (path == kSearchPath) {
    SetPage(response, 200, MakeSearchErrorPage());  // a search without its form
  } else if (StartsWith(path, kFileServerPath)) {
    const DemoBook* book = FindFile(books, path);
    book ? AnswerDownload(snapshot, *book, response) : SetPage(response, 404, MakeStatusPage(404));
  } else if (StartsWith(path, kPagePrefix) && EndsWith(path, kPageSuffix)) {
    const std::string id =
        path.substr(kPagePrefix.size(), path.size() - kPagePrefix.size() - kPageSuffix.size());
    if (const DemoBook* book = FindBook(books, &DemoBook::pageId, id)) {
      SetPage(response, 200, MakeBookPage(*book));
    } else if (const DemoBook* book = FindBook(books, &DemoBook::downloadId, id)) {
      SetPage(response, 200, MakeDownloadPage(*book, snapshot.options.fileHost));
    } else {
      SetPage(response, 404, MakeStatusPage(404));
    }
  } else {
    SetPage(response, 404, MakeStatusPage(404));
  }
}

void DemoSite::AnswerSearch(const Snapshot& snapshot, const std::string& body, bool emptyAnswer,
                            httplib::Response& response) {
  if (emptyAnswer) {
    SetPage(response, 200, "");
    return;
  }
  const std::optional<std::string> keyword = ParseSearchForm(body);
  if (!keyword) {
    SetPage(response, 200, MakeSearchErrorPage());
    return;
  }
  SearchPageOptions page;
  page.siteHost = snapshot.options.siteHost;
  page.resultCount = snapshot.options.searchResultCount;
  page.invalidUtf8 = snapshot.options.invalidUtf8;
  SetPage(response, 200, MakeSearchPage(*keyword, *snapshot.catalogue, page));
}

void DemoSite::AnswerDownload(const Snapshot& snapshot, const DemoBook& book,
                              httplib::Response& response) {
  const DemoSiteOptions& options = snapshot.options;
  if (options.downloadStatus != 0) {
    SetPage(response, options.downloadStatus, MakeStatusPage(options.downloadStatus));
    return;
  }
  const std::uint64_t end = options.dropMidBody ? book.size / 2 : book.size;
  const std::uint64_t rate = static_cast<std::uint64_t>(options.downloadBytesPerSecond);
  // The provider holds the catalogue, so the book outlives any change of options.
  auto provider = [this, catalogue = snapshot.catalogue, book = &book, end, rate](
                      size_t offset, size_t length, httplib::DataSink& sink) {
    if (offset >= end || !Pause(0)) return false;
    size_t chunk =
        static_cast<size_t>(std::min<std::uint64_t>({length, kChunkBytes, end - offset}));
    if (rate > 0)
      chunk = static_cast<size_t>(
          std::min<std::uint64_t>(chunk, std::max<std::uint64_t>(rate / 10, 1)));
    std::string bytes;
    AppendDemoBookBytes(*book, offset, chunk, bytes);
    if (!sink.write(bytes.data(), bytes.size())) return false;
    return rate == 0 || Pause(static_cast<int>(chunk * 1000 / rate));
  };
  response.status = 200;
  response.set_content_provider(static_cast<size_t>(book.size), "text/plain", provider);
}
