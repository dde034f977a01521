#pragma once
// What happens when another row of MainWindow's result list becomes the current row.

// The current-row-changed handler of MainWindow's result list (window thread).
void OnResultRowChanged();
