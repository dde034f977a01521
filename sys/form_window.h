#pragma once
// The base of every program window: built in code at the geometry of its form (absolute
// control positions, a fixed frame of the given outer size), named by objectName, and
// delivering the window events its handlers need.

#include <functional>
#include <string_view>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>

// What a form says about its window.
struct FormFrame {
  std::string_view name;     // the window's name and objectName (ASCII)
  std::string_view caption;  // code page 936
  int outerWidth = 0;        // the outer frame, in pixels
  int outerHeight = 0;
  bool minimizeBox = false;
};

// A column of a list view: its header (code page 936) and width in pixels.
struct ListColumn {
  std::string_view header;
  int width = 0;
};

class FormWindow : public QWidget {
  Q_OBJECT

 public:
  explicit FormWindow(const FormFrame& frame, QWidget* parent = nullptr);

  // Delivers the created event on the first call, then shows the window, restoring it when
  // minimised and bringing it forward.
  void Load();

  // Closes the window without asking its handlers. A window with a parent is deleted once
  // control returns to the event loop that runs the current handler; a window without one
  // is deleted by whoever created it.
  void DestroyLater();

  // True once the window has been closed or destroyed: it no longer counts as loaded.
  bool IsDestroying() const { return destroying_; }

  // Puts the outer frame in the middle of the screen's available area.
  void CentreOnScreen();

 protected:
  // Window events. Created: once, inside the first Load(), before the window shows. First
  // activated: once, soon after the window first becomes active. Position changed: after
  // each move. Can close: on each close request; false keeps the window open.
  virtual void OnCreated() {}
  virtual void OnFirstActivated() {}
  virtual void OnPositionChanged() {}
  virtual bool OnCanClose() { return true; }

  // Control builders. Each control becomes a child of `host` (the window itself when null)
  // at `rect` in the host's client coordinates, with its form name as objectName. Names and
  // captions are code page 936.
  QLineEdit* AddEditBox(std::string_view name, const QRect& rect, QWidget* host = nullptr);
  QPushButton* AddButton(std::string_view name, const QRect& rect, std::string_view caption,
                         QWidget* host = nullptr);
  QLabel* AddLabel(std::string_view name, const QRect& rect, std::string_view caption,
                   QWidget* host = nullptr);
  QRadioButton* AddRadioButton(std::string_view name, const QRect& rect, std::string_view caption,
                               bool checked, QWidget* host = nullptr);
  // A list view in report view: a header, full-row selection, no tree decoration.
  QTreeWidget* AddListView(std::string_view name, const QRect& rect,
                           const std::vector<ListColumn>& columns, bool singleSelection,
                           QWidget* host = nullptr);
  // A status bar with one part per width; the last part takes what is left.
  QStatusBar* AddStatusBar(std::string_view name, const QRect& rect,
                           const std::vector<int>& partWidths, QWidget* host = nullptr);
  // A tab control with `pageCount` untitled pages; controls go on tab->widget(page).
  QTabWidget* AddTabControl(std::string_view name, const QRect& rect, int pageCount,
                            QWidget* host = nullptr);
  QToolButton* AddPictureButton(std::string_view name, const QRect& rect, const QIcon& icon,
                                QWidget* host = nullptr);

  // Control events: a click, and a list's current row moving to another row (delivered from
  // the event loop once the list has updated its selection).
  void OnClicked(QAbstractButton* button, std::function<void()> handler);
  void OnCurrentRowChanged(QTreeWidget* list, std::function<void()> handler);

  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void PlaceControl(QWidget* control, std::string_view name, const QRect& rect);
  void FitOuterSize();

  QSize outerSize_;
  bool created_ = false;
  bool activated_ = false;
  bool destroying_ = false;
};
