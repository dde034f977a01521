#pragma once
// What the handlers ask of the window layer, by window name and control name, on the window
// thread only. Texts in and out are code page 936. Rows and columns count from 0. Asking for a
// window that is not loaded, a control the window does not have, or a control of another kind
// is a programming error: the program reports the names and ends (qFatal), as the platform
// did. IsLoaded is the one question that is safe to ask about any window.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sys/window_handle.h"

class FormWindow;
class QWidget;

// --- windows ---

// How LoadWindow builds a window: a new FormWindow, child of `parent`, named as registered.
using WindowFactory = std::function<FormWindow*(QWidget* parent)>;

// Tells LoadWindow how to build the window called `windowName` (a later call replaces it).
void RegisterWindowFactory(std::string_view windowName, WindowFactory factory);

// Shows the window at once, not modal, owned by the loaded window `parentName`; its created
// event runs first. A window that is loaded already is restored and brought forward instead.
void LoadWindow(std::string_view windowName, std::string_view parentName);

// Closes the window without asking its handlers; it is deleted once the running handler has
// returned, and no longer counts as loaded from now on. Nothing happens if it is not loaded.
void DestroyWindow(std::string_view windowName);

// True while the window exists and has not been closed.
bool IsLoaded(std::string_view windowName);

// The loaded window of that name, or null.
FormWindow* FindFormWindow(std::string_view windowName);

// The window's handle for the system services, null (0) when it is not loaded.
WindowHandle NativeHandle(std::string_view windowName);

// Outer frame, in screen pixels.
int WindowLeft(std::string_view windowName);
int WindowTop(std::string_view windowName);
int WindowWidth(std::string_view windowName);
int WindowHeight(std::string_view windowName);
void MoveWindow(std::string_view windowName, int left, int top);
void SetWindowLeft(std::string_view windowName, int left);
void SetWindowTop(std::string_view windowName, int top);

// --- controls ---

// The control itself, for what the typed operations below do not cover.
QWidget* FindControl(std::string_view windowName, std::string_view controlName);

// Edit box text, label caption, or button / radio button caption.
std::string ControlText(std::string_view windowName, std::string_view controlName);
void SetControlText(std::string_view windowName, std::string_view controlName,
                    std::string_view text);

// Radio buttons (and check boxes): on or off.
bool IsChecked(std::string_view windowName, std::string_view controlName);
void SetChecked(std::string_view windowName, std::string_view controlName, bool checked);

// Any control.
bool IsEnabled(std::string_view windowName, std::string_view controlName);
void SetEnabled(std::string_view windowName, std::string_view controlName, bool enabled);

// --- list views ---

void ClearList(std::string_view windowName, std::string_view listName);
int RowCount(std::string_view windowName, std::string_view listName);

// Appends an empty row; returns its number.
int AddRow(std::string_view windowName, std::string_view listName);

// Appends one row per entry, each filled with its cells from column 0, in one insertion (fast
// for thousands of rows); returns the number of the first new row.
int AddRows(std::string_view windowName, std::string_view listName,
            const std::vector<std::vector<std::string>>& rows);

// Nothing happens for a row that does not exist.
void SetCell(std::string_view windowName, std::string_view listName, int row, int column,
             std::string_view text);

// "" for a row or column that does not exist.
std::string GetCell(std::string_view windowName, std::string_view listName, int row, int column);

// The first (lowest-numbered) selected row; -1 when none.
int SelectedRow(std::string_view windowName, std::string_view listName);

// Selects only `row` and makes it the current row; -1 (or a row that does not exist) clears
// the selection.
void SetSelectedRow(std::string_view windowName, std::string_view listName, int row);

// --- status bar ---

void SetStatusText(std::string_view windowName, std::string_view barName, std::string_view text,
                   int part = 0);
std::string StatusText(std::string_view windowName, std::string_view barName, int part = 0);

// --- events ---

// Dispatches every queued event to its window and handler, then returns (a request to end
// the message loop is left for the loop).
void ProcessPendingEvents();

// Sleeps until an event arrives or `maxMs` have passed, and dispatches what arrived.
void WaitForEvents(int maxMs);
