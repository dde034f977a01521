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

void ReportView::focusInEvent(QFocusEvent* event) {
  const bool hadCurrent = currentIndex().isValid();
  const QSignalBlocker blocker(selectionModel());
  QTreeWidget::focusInEvent(event);
  if (!hadCurrent && currentIndex().isValid()) {
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
}
