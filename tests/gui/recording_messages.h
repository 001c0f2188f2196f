// A message service for widget tests: records every box, file dialog and
// pause, and answers boxes from a queue instead of waiting for a user.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "ui/message_service.h"

namespace lx47::test {

class RecordingMessages final : public ui::MessageService {
 public:
  // Installs itself as the process-wide service until destroyed.
  RecordingMessages() { ui::setMessageService(this); }
  ~RecordingMessages() override { ui::setMessageService(nullptr); }
  RecordingMessages(const RecordingMessages&) = delete;
  RecordingMessages& operator=(const RecordingMessages&) = delete;

  ui::MsgResult show(const ui::MessageRequest& request) override {
    shown.push_back(request);
    if (onShow) onShow(request);
    if (!answers.empty()) {
      const ui::MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    return request.defaultButton;  // as if the user pressed Enter
  }

  QString openFile(const ui::FileRequest& request) override {
    fileRequests.push_back(request);
    if (files.empty()) return QString();  // as if cancelled
    const QString f = files.front();
    files.pop_front();
    return f;
  }

  void waitCursorPause(int ms) override { pauses.push_back(ms); }

  // Convenience for the common checks.
  int count() const { return static_cast<int>(shown.size()); }
  const ui::MessageRequest& last() const { return shown.back(); }
  void answer(ui::MsgResult r) { answers.push_back(r); }
  void clear() {
    shown.clear();
    answers.clear();
    fileRequests.clear();
    files.clear();
    pauses.clear();
  }

  std::vector<ui::MessageRequest> shown;
  std::deque<ui::MsgResult> answers;  // empty: the box's default button
  std::function<void(const ui::MessageRequest&)> onShow;  // runs while the box is "up"
  std::vector<ui::FileRequest> fileRequests;
  std::deque<QString> files;  // paths handed out by openFile; empty: cancelled
  std::vector<int> pauses;    // milliseconds of each wait-cursor pause
};

}  // namespace lx47::test
