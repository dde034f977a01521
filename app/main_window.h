#pragma once
// The start window: where the user searches. It keeps the site configuration for the
// handlers of every window.

#include "app/site_config.h"
#include "sys/form_window.h"

class MainWindow : public FormWindow {
  Q_OBJECT

 public:
  explicit MainWindow(SiteConfig site, QWidget* parent = nullptr);

  const SiteConfig& Site() const { return site_; }

 private:
  SiteConfig site_;
};
