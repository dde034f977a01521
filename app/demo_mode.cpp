#include "app/demo_mode.h"

#include "demo/demo_site.h"

bool UseDemoSite(DemoSite& demo, SiteConfig& site) {
  if (!demo.Start()) return false;
  site.novelHost = demo.HostPort();
  site.fileHost = demo.HostPort();
  site.startPage.clear();
  return true;
}
