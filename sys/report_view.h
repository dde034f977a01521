#pragma once
// A list view in report view: rows of cells under a header, whole rows selected.

#include <QTreeWidget>

class ReportView : public QTreeWidget {
 public:
  ReportView(bool singleSelection, QWidget* parent);

 protected:
  // Qt makes the first row current when a list without a current row gains focus; a report
  // view does not, so tabbing into the list raises no current-row change.
  void focusInEvent(QFocusEvent* event) override;
};
