#pragma once
// What happens when another row of MainWindow's result list becomes the current row: the
// book's download address is worked out the way DownloadPanel's mode buttons say.

// The current-row-changed handler of MainWindow's result list (window thread). Works on the
// lowest-numbered selected row; does nothing while DownloadPanel is not loaded or no row is
// selected. Mode (2) appends the book and its computed address to the panel's list (its row
// in g_panelRow); mode (1) opens or brings forward NewDownloadDialog and fills it with the
// address the site offers, the book's name and the panel's directory.
void OnResultRowChanged();
