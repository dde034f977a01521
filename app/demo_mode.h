#pragma once

#include "app/site_config.h"

class DemoSite;

// Starts `demo` on a free loopback port and points both hosts of `site` at it; no page is
// opened at start. False when the demo site cannot start.
bool UseDemoSite(DemoSite& demo, SiteConfig& site);
