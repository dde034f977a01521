#pragma once
// A list view in report view: rows of cells under a header, whole rows selected.

#include <QTreeWidget>

class ReportView : public QTreeWidget {
  Q_OBJECT

 public:
  ReportView(bool singleSelection, QWidget* parent);

 signals:
  // Another row has become the current (focused) row. Sent once the input event that moved
  // it has been handled in full, so the selection is up to date when handlers read it.
  void CurrentRowChanged();

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  // Qt makes the first row current when a list without a current row gains focus; a report
  // view does not, so tabbing into the list raises no current-row change.
  void focusInEvent(QFocusEvent* event) override;

 private:
  template <typename Handle>
  bool WithinInput(Handle handle);

  int inputDepth_ = 0;
  bool rowChangePending_ = false;
};
