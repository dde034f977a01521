#pragma once
// The download side's windows as MainWindow opens them.

// Tells the window layer how to build DownloadPanel and NewDownloadDialog.
void RegisterDownloadWindows();

// Opens DownloadPanel owned by MainWindow (which must be loaded), docked against its right
// edge, with the list's page showing.
void OpenDownloadPanel();
