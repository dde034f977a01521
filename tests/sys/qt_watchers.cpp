#include "tests/sys/qt_watchers.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "sys/qt_text.h"

NoticeWatcher::NoticeWatcher(Answer answer) : answer_(answer) { qApp->installEventFilter(this); }

NoticeWatcher::~NoticeWatcher() { qApp->removeEventFilter(this); }

bool NoticeWatcher::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QMessageBox*>(watched);
  if (!box || event->type() != QEvent::Show) return false;
  const QWidget* owner = box->parentWidget();
  seen_.push_back({FromQString(box->text()), FromQString(box->windowTitle()),
                   owner ? FromQString(owner->objectName()) : std::string(),
                   box->windowModality() == Qt::WindowModal});
  if (answer_ == Answer::kClickDefault) {
    const QPointer<QMessageBox> target(box);
    QMetaObject::invokeMethod(
        box,
        [target] {
          if (target && target->defaultButton()) target->defaultButton()->click();
        },
        Qt::QueuedConnection);
  }
  return false;
}

FolderBrowserAnswer::FolderBrowserAnswer(QString folder) : folder_(std::move(folder)) {
  qApp->installEventFilter(this);
}

FolderBrowserAnswer::~FolderBrowserAnswer() { qApp->removeEventFilter(this); }

bool FolderBrowserAnswer::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QFileDialog*>(watched);
  if (!dialog || event->type() != QEvent::Show) return false;
  titles_.push_back(FromQString(dialog->windowTitle()));
  const QPointer<QFileDialog> target(dialog);
  const QString folder = folder_;
  QMetaObject::invokeMethod(
      dialog,
      [target, folder] {
        if (!target) return;
        if (!folder.isEmpty()) {
          target->setDirectory(folder);
          static_cast<QDialog*>(target.data())->accept();  // public as a QDialog
        }
        // Cancelled, or a folder the dialog would not take: never leave the test hanging.
        if (target->isVisible()) target->reject();
      },
      Qt::QueuedConnection);
  return false;
}

OpenedPages::OpenedPages() {
  QDesktopServices::setUrlHandler("http", this, "Open");
  QDesktopServices::setUrlHandler("https", this, "Open");
}

OpenedPages::~OpenedPages() {
  QDesktopServices::unsetUrlHandler("http");
  QDesktopServices::unsetUrlHandler("https");
}

void OpenedPages::Open(const QUrl& url) { urls_.push_back(url); }
