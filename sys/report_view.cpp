#include "sys/report_view.h"

#include <QHeaderView>
#include <QSignalBlocker>

ReportView::ReportView(bool singleSelection, QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(singleSelection ? QAbstractItemView::SingleSelection
                                   : QAbstractItemView::ExtendedSelection);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
}

void ReportView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeWidget::currentChanged(current, previous);
  if (!current.isValid() || (previous.isValid() && current.row() == previous.row())) return;
  // A mouse press moves the current row before it updates the selection.
  if (inputDepth_ > 0) {
    rowChangePending_ = true;
  } else {
    emit CurrentRowChanged();
  }
}

template <typename Handle>
bool ReportView::WithinInput(Handle handle) {
  ++inputDepth_;
  const bool handled = handle();
  if (--inputDepth_ == 0 && rowChangePending_) {
    rowChangePending_ = false;
    emit CurrentRowChanged();
  }
  return handled;
}

bool ReportView::event(QEvent* event) {
  return WithinInput([&] { return QTreeWidget::event(event); });
}

bool ReportView::viewportEvent(QEvent* event) {
  return WithinInput([&] { return QTreeWidget::viewportEvent(event); });
}

void ReportView::focusInEvent(QFocusEvent* event) {
  const bool hadCurrent = currentIndex().isValid();
  const QSignalBlocker blocker(selectionModel());
  QTreeWidget::focusInEvent(event);
  if (!hadCurrent && currentIndex().isValid()) {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
}
