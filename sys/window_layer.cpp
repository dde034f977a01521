#include "sys/window_layer.h"

#include <algorithm>
#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include "sys/form_window.h"
#include "sys/qt_text.h"

namespace {

std::map<std::string, WindowFactory, std::less<>>& Factories() {
  static std::map<std::string, WindowFactory, std::less<>> factories;
  return factories;
}

// Names are code page 936; the message is UTF-8 so it reads right in a terminal.
QByteArray Printable(std::string_view name) { return ToQString(name).toUtf8(); }

void RequireWindowThread(std::string_view what) {
  const QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread()) {
    qFatal("novelfetch: window operation on \"%s\" outside the window thread",
           Printable(what).constData());
  }
}

FormWindow* RequireWindow(std::string_view windowName) {
  FormWindow* window = FindFormWindow(windowName);
  if (!window) qFatal("novelfetch: window \"%s\" is not loaded", Printable(windowName).constData());
  return window;
}

template <typename Control>
Control* Require(std::string_view windowName, std::string_view controlName, const char* kind) {
  QWidget* control = FindControl(windowName, controlName);
  auto* typed = qobject_cast<Control*>(control);
  if (!typed) {
    qFatal("novelfetch: control \"%s\" of window \"%s\" is a %s, not a %s",
           Printable(controlName).constData(), Printable(windowName).constData(),
           control->metaObject()->className(), kind);
  }
  return typed;
}

QTreeWidget* RequireList(std::string_view windowName, std::string_view listName) {
  return Require<QTreeWidget>(windowName, listName, "list view");
}

QLabel* RequirePart(std::string_view windowName, std::string_view barName, int part) {
  auto* bar = Require<QStatusBar>(windowName, barName, "status bar");
  auto* label = bar->findChild<QLabel*>(QStringLiteral("part%1").arg(part));
  if (!label) {
    qFatal("novelfetch: status bar \"%s\" of window \"%s\" has no part %d",
           Printable(barName).constData(), Printable(windowName).constData(), part);
  }
  return label;
}

QStringList RowTexts(const std::vector<std::string>& cells) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(cells.size()));
  for (const std::string& cell : cells) texts << ToQString(cell);
  return texts;
}

}  // namespace

void RegisterWindowFactory(std::string_view windowName, WindowFactory factory) {
  Factories()[std::string(windowName)] = std::move(factory);
}

void LoadWindow(std::string_view windowName, std::string_view parentName) {
  if (FormWindow* loaded = FindFormWindow(windowName)) {
    loaded->Load();
    return;
  }
  const auto found = Factories().find(windowName);
  if (found == Factories().end()) {
    qFatal("novelfetch: no window \"%s\" can be loaded", Printable(windowName).constData());
  }
  FormWindow* window = found->second(RequireWindow(parentName));
  if (!window || window->objectName() != ToQString(windowName)) {
    qFatal("novelfetch: window \"%s\" was not built", Printable(windowName).constData());
  }
  window->Load();
}

void DestroyWindow(std::string_view windowName) {
  if (FormWindow* window = FindFormWindow(windowName)) window->DestroyLater();
}

bool IsLoaded(std::string_view windowName) { return FindFormWindow(windowName) != nullptr; }

FormWindow* FindFormWindow(std::string_view windowName) {
  RequireWindowThread(windowName);
  const QString name = ToQString(windowName);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<FormWindow*>(widget);
    if (window && !window->IsDestroying() && window->objectName() == name) return window;
  }
  return nullptr;
}

WindowHandle NativeHandle(std::string_view windowName) {
  return WindowHandle(FindFormWindow(windowName));
}

int WindowLeft(std::string_view windowName) {
  return RequireWindow(windowName)->frameGeometry().left();
}

int WindowTop(std::string_view windowName) {
  return RequireWindow(windowName)->frameGeometry().top();
}

int WindowWidth(std::string_view windowName) {
  return RequireWindow(windowName)->frameGeometry().width();
}

int WindowHeight(std::string_view windowName) {
  return RequireWindow(windowName)->frameGeometry().height();
}

void MoveWindow(std::string_view windowName, int left, int top) {
  RequireWindow(windowName)->move(left, top);
}

void SetWindowLeft(std::string_view windowName, int left) {
  MoveWindow(windowName, left, WindowTop(windowName));
}

void SetWindowTop(std::string_view windowName, int top) {
  MoveWindow(windowName, WindowLeft(windowName), top);
}

QWidget* FindControl(std::string_view windowName, std::string_view controlName) {
  QWidget* control = RequireWindow(windowName)->findChild<QWidget*>(ToQString(controlName));
  if (!control) {
    qFatal("novelfetch: window \"%s\" has no control \"%s\"", Printable(windowName).constData(),
           Printable(controlName).constData());
  }
  return control;
}

std::string ControlText(std::string_view windowName, std::string_view controlName) {
  QWidget* control = FindControl(windowName, controlName);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return FromQString(edit->text());
  if (auto* label = qobject_cast<QLabel*>(control)) return FromQString(label->text());
  return FromQString(Require<QAbstractButton>(windowName, controlName, "text control")->text());
}

void SetControlText(std::string_view windowName, std::string_view controlName,
                    std::string_view text) {
  QWidget* control = FindControl(windowName, controlName);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(ToQString(text));
  } else {
    Require<QAbstractButton>(windowName, controlName, "text control")->setText(ToQString(text));
  }
}

bool IsChecked(std::string_view windowName, std::string_view controlName) {
  return Require<QAbstractButton>(windowName, controlName, "radio button")->isChecked();
}

void SetChecked(std::string_view windowName, std::string_view controlName, bool checked) {
  Require<QAbstractButton>(windowName, controlName, "radio button")->setChecked(checked);
}

bool IsEnabled(std::string_view windowName, std::string_view controlName) {
  return FindControl(windowName, controlName)->isEnabled();
}

void SetEnabled(std::string_view windowName, std::string_view controlName, bool enabled) {
  FindControl(windowName, controlName)->setEnabled(enabled);
}

void ClearList(std::string_view windowName, std::string_view listName) {
  RequireList(windowName, listName)->clear();
}

int RowCount(std::string_view windowName, std::string_view listName) {
  return RequireList(windowName, listName)->topLevelItemCount();
}

int AddRow(std::string_view windowName, std::string_view listName) {
  QTreeWidget* list = RequireList(windowName, listName);
  list->addTopLevelItem(new QTreeWidgetItem());
  return list->topLevelItemCount() - 1;
}

int AddRows(std::string_view windowName, std::string_view listName,
            const std::vector<std::vector<std::string>>& rows) {
  QTreeWidget* list = RequireList(windowName, listName);
  const int first = list->topLevelItemCount();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const std::vector<std::string>& cells : rows) {
    items << new QTreeWidgetItem(RowTexts(cells));
  }
  list->addTopLevelItems(items);  // the list owns the items from here
  return first;
}

void SetCell(std::string_view windowName, std::string_view listName, int row, int column,
             std::string_view text) {
  QTreeWidgetItem* item = RequireList(windowName, listName)->topLevelItem(row);
  if (item && column >= 0) item->setText(column, ToQString(text));
}

std::string GetCell(std::string_view windowName, std::string_view listName, int row, int column) {
  const QTreeWidgetItem* item = RequireList(windowName, listName)->topLevelItem(row);
  return item && column >= 0 ? FromQString(item->text(column)) : std::string();
}

int SelectedRow(std::string_view windowName, std::string_view listName) {
  const QTreeWidget* list = RequireList(windowName, listName);
  int first = -1;
  for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
    if (first == -1 || range.top() < first) first = range.top();
  }
  return first;
}

void SetSelectedRow(std::string_view windowName, std::string_view listName, int row) {
  QTreeWidget* list = RequireList(windowName, listName);
  const QModelIndex index = list->model()->index(row, 0);
  if (!index.isValid()) {
    list->clearSelection();
    return;
  }
  // One step, so a current-row handler already sees the row selected; explicit flags, since
  // the view's own choice would follow the keyboard modifiers held at the moment.
  list->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void SetStatusText(std::string_view windowName, std::string_view barName, std::string_view text,
                   int part) {
  RequirePart(windowName, barName, part)->setText(ToQString(text));
}

std::string StatusText(std::string_view windowName, std::string_view barName, int part) {
  return FromQString(RequirePart(windowName, barName, part)->text());
}

void ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void WaitForEvents(int maxMs) {
  QTimer limit;
  limit.setSingleShot(true);
  limit.setTimerType(Qt::PreciseTimer);
  limit.start(std::max(maxMs, 0));
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
