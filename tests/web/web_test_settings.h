#pragma once
// Shortened transfer limits for the web tests, restored to the defaults afterwards.

#include <gtest/gtest.h>

#include "web/web_settings.h"

class ShortTimeouts : public testing::Test {
 protected:
  static constexpr long kStallMs = 5000;  // generous: tests that want a stall set their own

  void SetUp() override {
    WebGlobalInit();
    SetWebSettings(Settings());
  }
  void TearDown() override { SetWebSettings(WebSettings{}); }

  static WebSettings Settings(long stallMs = kStallMs) {
    WebSettings settings;
    settings.connectTimeoutMs = 5000;
    settings.stallTimeoutMs = stallMs;
    return settings;
  }
};
