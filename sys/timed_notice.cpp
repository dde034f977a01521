#include "sys/timed_notice.h"

#include <array>
#include <memory>
#include <vector>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "sys/qt_text.h"
#include "sys/window_lookup.h"

namespace {

struct ButtonChoice {
  QMessageBox::StandardButton button;
  int id;  // the platform's identifier
};

const std::vector<ButtonChoice>& ButtonsOf(int style) {
  using B = QMessageBox;
  static const std::array<std::vector<ButtonChoice>, 6> sets = {{
      {{B::Ok, 1}},
      {{B::Ok, 1}, {B::Cancel, 2}},
      {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}},
      {{B::Yes, 6}, {B::No, 7}, {B::Cancel, 2}},
      {{B::Yes, 6}, {B::No, 7}},
      {{B::Retry, 4}, {B::Cancel, 2}},
  }};
  const size_t set = static_cast<size_t>(style & 0xF);
  return set < sets.size() ? sets[set] : sets[0];
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0xF0) {
    case 0x10:
      return QMessageBox::Critical;
    case 0x20:
      return QMessageBox::Question;
    case 0x30:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// Fills the box with the style's buttons; the identifier of each button is kept in `ids`.
using ButtonIds = std::vector<std::pair<QPushButton*, int>>;

ButtonIds AddButtons(QMessageBox& box, int style) {
  ButtonIds ids;
  for (const ButtonChoice& choice : ButtonsOf(style)) {
    ids.emplace_back(box.addButton(choice.button), choice.id);
  }
  const size_t preferred = static_cast<size_t>((style & 0xF00) >> 8);
  box.setDefaultButton(ids[preferred < ids.size() ? preferred : 0].first);
  return ids;
}

}  // namespace

int ShowTimedNotice(std::string_view message, const NoticeOptions& options) {
  const WindowHandle owner = options.owner ? *options.owner : FindProcessWindow(CurrentProcessId());
  const int style = options.style.value_or(0);
  const int timeoutMs = options.timeoutMs.value_or(kNoticeDefaultTimeoutMs);

  auto box = std::make_unique<QMessageBox>(
      IconOf(style), ToQString(options.title.value_or(std::string(kNoticeDefaultTitle))),
      ToQString(message), QMessageBox::NoButton, owner.data());
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
  const ButtonIds ids = AddButtons(*box, style);

  // A box that closes without a button (or with its owner) counts as cancelled.
  int result = kNoticeIdCancel;
  QObject::connect(box.get(), &QMessageBox::buttonClicked, box.get(), [&](QAbstractButton* button) {
    for (const auto& [candidate, id] : ids) {
      if (candidate == button) result = id;
    }
  });
  if (timeoutMs >= 0) {
    QTimer::singleShot(timeoutMs, box.get(), [&] {
      result = kNoticeIdTimeout;
      box->done(0);
    });
  }
  const QPointer<QMessageBox> alive(box.get());
  box->exec();
  // An owner destroyed while the box was up took the box with it.
  if (!alive) box.release();
  return result - 1;
}
