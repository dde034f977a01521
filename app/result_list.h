#pragma once
// The end of a search in MainWindow: the answer's rows into the result list.

#include <string>

// Cuts `page` into result rows with g_resultRegex, keeps the cleaned page in g_searchPage and
// appends one row per result to 超级列表框1 of MainWindow, in one insertion. Returns the number
// of rows added. On the window thread.
int ShowResultRows(std::string page);
