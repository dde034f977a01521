#pragma once
// The demo novel site as an in-process server on 127.0.0.1: the search form, book pages,
// download pages and the file server, with fault switches for tests. Every switch may be
// changed from any thread while the site runs; a request uses the switches as they stood
// when it arrived. Stop() and the destructor end every transfer and join every thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "demo/demo_catalogue.h"
#include "demo/demo_site_options.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

class DemoSite {
 public:
  explicit DemoSite(DemoSiteOptions options = {});
  ~DemoSite();
  DemoSite(const DemoSite&) = delete;
  DemoSite& operator=(const DemoSite&) = delete;

  // Binds 127.0.0.1:`port` (0: any free port) and serves from a thread of its own; false when
  // the port cannot be bound or the site runs already. With refuseConnections on, the port is
  // taken and let go at once, so connections are refused until SetRefusing(false).
  bool Start(int port = 0);
  // Ends every transfer in progress and joins the threads; the site may be started again.
  void Stop();

  int Port() const;                                    // 0 before Start
  std::string HostPort() const;                        // "127.0.0.1:12345"
  std::string Url(std::string_view path = "/") const;  // "http://127.0.0.1:12345" + path

  DemoSiteOptions Options() const;
  // Replaces every switch (bounded, see Bounded()); restarts the count of empty answers and
  // applies refuseConnections as SetRefusing does.
  bool SetOptions(const DemoSiteOptions& options);
  void SetEmptySearchAnswers(int count);  // the next `count` search posts get an empty body
  void SetDelay(int delayMs, bool everyRequest = false);
  // Stops listening (connections are refused, transfers in progress end) or listens again on
  // the same port; false when the port cannot be bound again.
  bool SetRefusing(bool refusing);

  // What the site received: every POST to the search path, counted and kept as sent.
  int SearchPostCount() const;
  std::vector<std::string> SearchBodies() const;
  void ClearRecords();

  // The books this site serves with its present options.
  std::vector<DemoBook> Catalogue() const;

 private:
  struct Snapshot;

  bool Listen(int port);
  void StopListening();
  Snapshot TakeSnapshot() const;
  bool RecordSearchPost(const std::string& body);
  bool Pause(int delayMs) const;
  void Answer(const httplib::Request& request, httplib::Response& response);
  void AnswerGet(const Snapshot& snapshot, const std::string& path, httplib::Response& response);
  void AnswerSearch(const Snapshot& snapshot, const std::string& body, bool emptyAnswer,
                    httplib::Response& response);
  void AnswerDownload(const Snapshot& snapshot, const DemoBook& book, httplib::Response& response);

  // Start, Stop and SetRefusing, one at a time.
  mutable std::mutex lifeMutex_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  bool started_ = false;
  std::atomic<int> port_ = 0;  // read by the serving threads

  // The switches and the records.
  mutable std::mutex stateMutex_;
  DemoSiteOptions options_;
  std::shared_ptr<const std::vector<DemoBook>> catalogue_;
  int emptyAnswersLeft_ = 0;
  int searchPosts_ = 0;
  std::vector<std::string> searchBodies_;

  // Set while the listener shuts down, so waits and trickling transfers end at once.
  mutable std::mutex wakeMutex_;
  mutable std::condition_variable wake_;
  bool goingDown_ = false;
};
