#include "sys/form_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "sys/qt_text.h"
#include "sys/report_view.h"

namespace {

constexpr Qt::WindowFlags kFixedFrame = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

FormWindow::FormWindow(const FormFrame& frame, QWidget* parent)
    : QWidget(parent,
              kFixedFrame | (frame.minimizeBox ? Qt::WindowMinimizeButtonHint : Qt::WindowFlags())),
      outerSize_(frame.outerWidth, frame.outerHeight) {
  setObjectName(ToQString(frame.name));
  setWindowTitle(ToQString(frame.caption));
  // Closing a window destroys it; a window without a parent belongs to whoever created it.
  if (parent) setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(outerSize_);
}

void FormWindow::Load() {
  if (!created_) {
    created_ = true;
    OnCreated();
  }
  if (isMinimized()) {
    showNormal();
  } else {
    show();
  }
  raise();
  activateWindow();
}

void FormWindow::DestroyLater() {
  if (destroying_) return;
  destroying_ = true;
  close();  // a window with a parent deletes itself on close (WA_DeleteOnClose)
}

void FormWindow::CentreOnScreen() {
  const QScreen* current = screen();
  if (!current) return;
  const QRect area = current->availableGeometry();
  move(area.x() + (area.width() - outerSize_.width()) / 2,
       area.y() + (area.height() - outerSize_.height()) / 2);
}

// The form gives the outer size; the client size is what the frame leaves of it, known only
// once the window system has framed the window.
void FormWindow::FitOuterSize() {
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize client = outerSize_ - frame;
  if (client != size() && client.isValid()) setFixedSize(client);
}

void FormWindow::PlaceControl(QWidget* control, std::string_view name, const QRect& rect) {
  control->setObjectName(ToQString(name));
  control->setGeometry(rect);
}

QLineEdit* FormWindow::AddEditBox(std::string_view name, const QRect& rect, QWidget* host) {
  auto* edit = new QLineEdit(host ? host : this);
  PlaceControl(edit, name, rect);
  return edit;
}

QPushButton* FormWindow::AddButton(std::string_view name, const QRect& rect,
                                   std::string_view caption, QWidget* host) {
  auto* button = new QPushButton(ToQString(caption), host ? host : this);
  button->setAutoDefault(false);
  PlaceControl(button, name, rect);
  return button;
}

QLabel* FormWindow::AddLabel(std::string_view name, const QRect& rect, std::string_view caption,
                             QWidget* host) {
  auto* label = new QLabel(host ? host : this);
  // Site texts end up in labels: never read them as markup.
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQString(caption));
  label->setAutoFillBackground(false);
  PlaceControl(label, name, rect);
  return label;
}

QRadioButton* FormWindow::AddRadioButton(std::string_view name, const QRect& rect,
                                         std::string_view caption, bool checked, QWidget* host) {
  auto* radio = new QRadioButton(ToQString(caption), host ? host : this);
  radio->setChecked(checked);
  PlaceControl(radio, name, rect);
  return radio;
}

QTreeWidget* FormWindow::AddListView(std::string_view name, const QRect& rect,
                                     const std::vector<ListColumn>& columns, bool singleSelection,
                                     QWidget* host) {
  auto* list = new ReportView(singleSelection, host ? host : this);
  QStringList headers;
  for (const ListColumn& column : columns) headers << ToQString(column.header);
  list->setColumnCount(static_cast<int>(columns.size()));
  list->setHeaderLabels(headers);
  for (size_t i = 0; i < columns.size(); ++i) {
    list->header()->resizeSection(static_cast<int>(i), columns[i].width);
  }
  PlaceControl(list, name, rect);
  return list;
}

QStatusBar* FormWindow::AddStatusBar(std::string_view name, const QRect& rect,
                                     const std::vector<int>& partWidths, QWidget* host) {
  auto* bar = new QStatusBar(host ? host : this);
  bar->setSizeGripEnabled(false);
  for (size_t i = 0; i < partWidths.size(); ++i) {
    auto* part = new QLabel(bar);
    part->setTextFormat(Qt::PlainText);
    part->setObjectName(QStringLiteral("part%1").arg(i));
    const bool last = i + 1 == partWidths.size();
    if (!last) part->setFixedWidth(partWidths[i]);
    bar->addWidget(part, last ? 1 : 0);
  }
  PlaceControl(bar, name, rect);
  return bar;
}

QTabWidget* FormWindow::AddTabControl(std::string_view name, const QRect& rect, int pageCount,
                                      QWidget* host) {
  auto* tabs = new QTabWidget(host ? host : this);
  for (int page = 0; page < pageCount; ++page) tabs->addTab(new QWidget(tabs), QString());
  PlaceControl(tabs, name, rect);
  return tabs;
}

QToolButton* FormWindow::AddPictureButton(std::string_view name, const QRect& rect,
                                          const QIcon& icon, QWidget* host) {
  auto* button = new QToolButton(host ? host : this);
  button->setIcon(icon);
  button->setIconSize(rect.size());
  button->setAutoRaise(true);
  PlaceControl(button, name, rect);
  return button;
}

void FormWindow::OnClicked(QAbstractButton* button, std::function<void()> handler) {
  connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { handler(); });
}

void FormWindow::OnCurrentRowChanged(QTreeWidget* list, std::function<void()> handler) {
  auto* view = qobject_cast<ReportView*>(list);
  if (!view)
    qFatal("novelfetch: %s is not a list view of the window layer", qPrintable(list->objectName()));
  connect(view, &ReportView::CurrentRowChanged, this,
          [handler = std::move(handler)] { handler(); });
}

void FormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow() || activated_) return;
  activated_ = true;
  // Queued: the handler may run a modal loop (a notice), which must not start inside the
  // window system's activation change.
  QMetaObject::invokeMethod(
      this, [this] { OnFirstActivated(); }, Qt::QueuedConnection);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (!destroying_ && !OnCanClose()) {
    event->ignore();
    return;
  }
  destroying_ = true;
  event->accept();
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FitOuterSize();
  if (!destroying_) OnPositionChanged();
}

void FormWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitOuterSize();
}
