#include "app/globals.h"

std::unique_ptr<RegexObject> g_yearRegex;
std::unique_ptr<RegexObject> g_resultRegex;
SearchPage g_searchPage;
int g_panelRow = 0;

namespace {

GlobalsTrace trace = nullptr;

void Note(std::string_view step) {
  if (trace) trace(step);
}

void Release(std::unique_ptr<RegexObject>& regex, std::string_view step) {
  if (!regex) return;
  regex->Destroy();
  regex.reset();
  Note(step);
}

}  // namespace

void SetGlobalsTrace(GlobalsTrace newTrace) { trace = newTrace; }

void InitGlobals() {
  g_yearRegex = std::make_unique<RegexObject>();
  Note("create g_yearRegex");
  g_resultRegex = std::make_unique<RegexObject>();
  Note("create g_resultRegex");
  g_searchPage.Take();
  g_panelRow = 0;
}

void ReleaseGlobals() {
  Release(g_yearRegex, "release g_yearRegex");
  if (!g_searchPage.Take().empty()) Note("release g_searchPage");
  Release(g_resultRegex, "release g_resultRegex");
}
