// For the start-up figure: loaded into a program with LD_PRELOAD by bench/compare, so neither
// novelfetch nor the reference carries any measuring code. Once the top-level window whose
// objectName NF_SHOWN_WINDOW names has been exposed and painted for the first time, it prints
// "shown_ns=" and the monotonic clock in nanoseconds on standard output and ends the process
// at once (nothing after the first paint is measured). It also prints when the libraries were
// loaded ("loaded_ns=") and when the application object was made ("application_ns="), to see
// where the time goes, and at the first paint how many libraries are loaded ("libraries=")
// and whether libcurl is one of them ("curl=").
#include <cstdio>
#include <cstring>
#include <ctime>
#include <link.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

void Report(const char* what) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%s_ns=%lld\n", what,
              static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec);
  std::fflush(stdout);
}

// How many shared objects the process has loaded (the program itself, the vDSO and this
// probe included), and whether libcurl is among them.
void ReportLibraries() {
  struct Count {
    int all = 0;
    bool curl = false;
  } count;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* seen = static_cast<Count*>(data);
        ++seen->all;
        if (info->dlpi_name && std::strstr(info->dlpi_name, "libcurl")) seen->curl = true;
        return 0;
      },
      &count);
  std::printf("libraries=%d\ncurl=%d\n", count.all, count.curl ? 1 : 0);
}

void ReportAndEnd() {
  Report("shown");
  ReportLibraries();
  std::fflush(stdout);
  _exit(0);
}

// Runs once every library has been loaded and relocated, before the program's main().
[[gnu::constructor]] void ReportLoaded() { Report("loaded"); }

bool IsWatchedWindow(const QWindow* window) {
  const QString wanted = qEnvironmentVariable("NF_SHOWN_WINDOW");
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowHandle() == window) return widget->objectName() == wanted;
  }
  return false;
}

class ShownProbe : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Expose || reported_) return false;
    const auto* window = qobject_cast<QWindow*>(watched);
    if (window && window->isExposed() && IsWatchedWindow(window)) {
      reported_ = true;
      // The expose is handled by painting the window; the report follows right after it.
      QTimer::singleShot(0, &ReportAndEnd);
    }
    return false;
  }

 private:
  bool reported_ = false;
};

void InstallProbe() {
  Report("application");
  qApp->installEventFilter(new ShownProbe(qApp));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
