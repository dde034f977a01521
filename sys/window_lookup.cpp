#include "sys/window_lookup.h"

#include <algorithm>

#include <QApplication>
#include <QWindow>

#include "sys/qt_text.h"
#include "sys/tick_count.h"
#include "sys/window_layer.h"
#include "text/text_find.h"

namespace {

// Sleep between two rounds over the windows while none qualifies, so a long search does not
// spin a core; events still wake it at once.
constexpr int kRoundPauseMs = 10;

bool IsOrdinaryWindow(const QWidget* widget) {
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

// The program's top-level windows: the active one first (it is on top), then the rest in the
// order their native windows were made.
QList<QWidget*> WindowOrder() {
  QList<QWidget*> order;
  QWidget* active = QApplication::activeWindow();
  if (active && IsOrdinaryWindow(active)) order << active;
  const QWidgetList widgets = QApplication::topLevelWidgets();
  for (const QWindow* native : QGuiApplication::topLevelWindows()) {
    for (QWidget* widget : widgets) {
      if (widget->windowHandle() == native && !order.contains(widget) && IsOrdinaryWindow(widget)) {
        order << widget;
      }
    }
  }
  return order;
}

// The window after `current` in `order`; null after the last, or when `current` is gone.
WindowHandle NextWindow(const QList<QWidget*>& order, const WindowHandle& current) {
  if (!current) return order.isEmpty() ? WindowHandle() : WindowHandle(order.front());
  const qsizetype at = order.indexOf(current.data());
  if (at < 0 || at + 1 >= order.size()) return WindowHandle();
  return WindowHandle(order[at + 1]);
}

bool Contains(std::string_view text, std::string_view filter) {
  return TextFind(text, filter) != -1;
}

bool Qualifies(const WindowHandle& window, std::int64_t processId,
               std::optional<std::string_view> titleFilter,
               std::optional<std::string_view> classFilter) {
  if (!window || !window->isVisible() || WindowProcessId(window) != processId) return false;
  return Contains(WindowTitle(window), titleFilter.value_or("")) ||
         Contains(WindowClassName(window), classFilter.value_or("")) || !titleFilter ||
         !classFilter;
}

}  // namespace

std::int64_t CurrentProcessId() { return QCoreApplication::applicationPid(); }

WindowHandle FindProcessWindow(std::int64_t processId, std::optional<std::string_view> titleFilter,
                               std::optional<std::string_view> classFilter,
                               std::optional<int> timeLimitMs) {
  const std::int64_t start = TickCount();
  const std::int64_t limit =
      timeLimitMs && *timeLimitMs != -1 ? *timeLimitMs : kDefaultWindowSearchMs;
  WindowHandle current;
  for (;;) {
    const std::int64_t elapsed = TickCount() - start;
    if (elapsed >= limit) return WindowHandle();
    current = NextWindow(WindowOrder(), current);
    if (Qualifies(current, processId, titleFilter, classFilter)) return current;
    if (current) {
      ProcessPendingEvents();
    } else {
      WaitForEvents(static_cast<int>(std::min<std::int64_t>(kRoundPauseMs, limit - elapsed)));
    }
  }
}

std::int64_t WindowProcessId(const WindowHandle& window) { return window ? CurrentProcessId() : 0; }

std::string WindowTitle(const WindowHandle& window) {
  return window ? FromQString(window->windowTitle()) : std::string();
}

std::string WindowClassName(const WindowHandle& window) {
  if (!window) return std::string();
  return std::string(window->metaObject()->className()).substr(0, kClassNameLimit);
}
