#pragma once
// Test helpers that stand in for the user in front of the program's boxes: they watch for
// notices, folder browsers and opened web pages, record what was shown and answer at once,
// so window tests never wait out a 3 or 8 second notice.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QUrl>

#include "sys/window_handle.h"

// One notice box as it was shown.
struct SeenNotice {
  std::string text;       // code page 936
  std::string title;      // code page 936
  std::string ownerName;  // objectName of the owner window, "" without owner
  bool windowModal = false;
};

// Watches every QMessageBox the program shows while it lives.
class NoticeWatcher : public QObject {
  Q_OBJECT

 public:
  enum class Answer {
    kClickDefault,  // presses the box's default button as soon as it shows
    kLeaveOpen,     // lets the box close by itself (its time-out)
  };

  explicit NoticeWatcher(Answer answer = Answer::kClickDefault);
  ~NoticeWatcher() override;

  const std::vector<SeenNotice>& Seen() const { return seen_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Answer answer_;
  std::vector<SeenNotice> seen_;
};

// Answers every folder browser while it lives: picks `folder` (a native path), or cancels
// when it is empty. Records the titles it saw.
class FolderBrowserAnswer : public QObject {
  Q_OBJECT

 public:
  explicit FolderBrowserAnswer(QString folder);
  ~FolderBrowserAnswer() override;

  const std::vector<std::string>& Titles() const { return titles_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString folder_;
  std::vector<std::string> titles_;
};

// Takes the place of the browser for http and https while it lives: records each address
// that would have been opened.
class OpenedPages : public QObject {
  Q_OBJECT

 public:
  OpenedPages();
  ~OpenedPages() override;

  const std::vector<QUrl>& Urls() const { return urls_; }

 public slots:
  void Open(const QUrl& url);

 private:
  std::vector<QUrl> urls_;
};
