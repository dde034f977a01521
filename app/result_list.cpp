#include "app/result_list.h"

#include <utility>
#include <vector>

#include "app/globals.h"
#include "app/result_rows.h"
#include "app/window_names.h"
#include "sys/window_layer.h"

int ShowResultRows(std::string page) {
  const std::vector<ResultRow> rows = CutResultRows(*g_resultRegex, page);
  g_searchPage.Replace(std::move(page));
  AddRows(kMainWindow, kMainResultList, rows);
  return static_cast<int>(rows.size());
}
