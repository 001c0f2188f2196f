// The operation runner: a small modal dialog that starts the job of one
// operation on its worker thread, shows that it is busy (dots, firmware
// progress), passes Escape on as an abort request, and closes when the
// worker reports its end.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "platform/notify.h"
#include "protocol/exchange_context.h"
#include "protocol/job.h"

class QLabel;

namespace lx47 {
struct Session;
}
namespace lx47::controls {
class CStaticEx;
}

namespace lx47::app {

class DlgProcess : public QDialog {
 public:
  // The session's abort flag is the one Escape sets; its leave state keeps
  // a worker from starting while the tool leaves.
  explicit DlgProcess(Session& session, QWidget* parent = nullptr);
  ~DlgProcess() override;

  // Set by the caller before exec().
  int m_Kind = 0;  // the operation (OP_*); the firmware transfer shows its byte progress
  QString m_Title;
  QString m_Message;
  Job m_Job;  // runs on the worker thread; empty: nothing starts (-1)
  // Out: the result code of UWM_PROCESS_END (-1: the worker did not start).
  std::int32_t m_Result = 0;

  int m_AnimStep = 0;

  // How the job is started; tests put a failing start here. Empty: StartJob.
  std::function<bool(Job, const ExchangeContext&)> m_Starter;

  // The four characters of the dots at an animation step.
  static QString DotsText(int step);
  // "(%u/%u\n)" and "%u.%u %%" of a progress report.
  static QString ByteCountText(std::uint32_t sent, std::uint32_t total);
  static QString PercentText(std::uint32_t sent, std::uint32_t total);

  // Controls, for tests and screenshots.
  controls::CStaticEx* titleLabel() const { return m_TitleLabel; }
  controls::CStaticEx* dotsLabel() const { return m_DotsLabel; }
  controls::CStaticEx* percentLabel() const { return m_PercentLabel; }
  controls::CStaticEx* bytesLabel() const { return m_BytesLabel; }
  controls::CStaticEx* messageLabel() const { return m_MessageLabel; }
  QTimer& animationTimer() { return m_AnimTimer; }

  static constexpr int kAnimationMs = 750;
  static constexpr int kDragExcludedBottom = 25;

  // The close request and Escape only ask the worker to stop.
  void reject() override;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  class Notifier;

  void OnInitDialog();
  void OnAnimation();
  void OnProgress(std::uint32_t sent, std::uint32_t total);
  void OnProcessEnd(std::int32_t result);

  Session& m_Session;
  controls::CStaticEx* m_TitleLabel = nullptr;
  controls::CStaticEx* m_DotsLabel = nullptr;
  controls::CStaticEx* m_PercentLabel = nullptr;
  controls::CStaticEx* m_BytesLabel = nullptr;
  controls::CStaticEx* m_MessageLabel = nullptr;
  QTimer m_AnimTimer;
  Notifier* m_Notifier = nullptr;
  bool m_Opened = false;
  bool m_Ended = false;
  bool m_WorkerRunning = false;  // started, its end message not yet here
  bool m_Dragging = false;
  QPoint m_DragOffset;
};

}  // namespace lx47::app
