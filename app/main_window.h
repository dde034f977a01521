#pragma once
// The start window, where the user searches: a keyword box, the "搜索" button, the time of the
// last search, the result list and the attempt count. It keeps the site configuration for
// the handlers of every window, and owns the download side's windows: DownloadPanel opens
// against its right edge when it is first shown.

#include <string_view>

#include "app/site_config.h"
#include "sys/form_window.h"

class SearchLoop;

// The first-run notice: shown once per marker file, at the first activation.
inline constexpr std::string_view kFirstRunMarkerFile = "z.ini";
inline constexpr std::string_view kFirstRunNotice =
    "方式（1）可能会有1秒延迟。可获取到下载地址。方式（2）直接计算来进行获取。不过可能会获取失败。"
    "毕竟下载小说的网站有点问题导致部分无法获取——————8秒后自动关闭";
inline constexpr int kFirstRunNoticeMs = 8000;

class MainWindow : public FormWindow {
  Q_OBJECT

 public:
  explicit MainWindow(SiteConfig site, QWidget* parent = nullptr);

  const SiteConfig& Site() const { return site_; }

 protected:
  void OnCreated() override;
  void OnFirstActivated() override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Tab and Shift+Tab go round this window's own controls only.
  bool focusNextPrevChild(bool next) override;

 private:
  void AddControls();
  void OnSearchClicked();

  SiteConfig site_;
  SearchLoop* search_ = nullptr;  // the search running inside the click handler, if any
  bool panelOpened_ = false;
};
