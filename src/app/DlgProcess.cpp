#include "app/DlgProcess.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cstring>

#include "app/leave.h"
#include "app/shell_fonts.h"
#include "controls/CStaticEx.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "ui/strings.h"

namespace lx47::app {

namespace {

const QEvent::Type kProcessEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A window message from the worker, carried across threads by the event queue.
class ProcessEvent final : public QEvent {
 public:
  ProcessEvent(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam)
      : QEvent(kProcessEvent), message(message), wParam(wParam), lParam(lParam) {}
  const std::uint32_t message;
  const std::intptr_t wParam;
  const std::intptr_t lParam;
};

const QColor kBackground(64, 64, 64);
const QColor kFrame(128, 128, 128);

}  // namespace

// Posts, never sends: the worker hands the message to the event queue and
// goes on without waiting for the user-interface thread.
class DlgProcess::Notifier final : public platform::Notifier {
 public:
  explicit Notifier(QObject* target) : m_Target(target) {}
  void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) override {
    QCoreApplication::postEvent(m_Target, new ProcessEvent(message, wParam, lParam));
  }

 private:
  QObject* const m_Target;
};

DlgProcess::DlgProcess(Session& session, QWidget* parent) : QDialog(parent), m_Session(session) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setModal(true);
  setWindowTitle(QString());
  setFixedSize(440, 190);

  m_Notifier = new Notifier(this);

  const auto label = [this](const QColor& color, const QFont& font, Qt::Alignment align) {
    auto* l = new controls::CStaticEx(this);
    l->m_TextColor = color;
    l->m_DrawTransparent = true;  // on the dialog's own dark background
    l->setFont(font);
    l->setAlignment(align);
    return l;
  };
  m_TitleLabel = label(QColor(135, 206, 235), GothicFont(12.5, 600), Qt::AlignRight | Qt::AlignVCenter);
  m_DotsLabel = label(QColor(204, 255, 255), GothicFont(12.5, 600), Qt::AlignLeft | Qt::AlignVCenter);
  m_PercentLabel = label(QColor(255, 128, 255), MonoFont(11, 600), Qt::AlignRight | Qt::AlignVCenter);
  m_BytesLabel = label(QColor(255, 128, 255), MonoFont(10, 400), Qt::AlignRight | Qt::AlignVCenter);
  m_MessageLabel = label(QColor(223, 216, 242), GothicFont(10, 400), Qt::AlignCenter);
  m_MessageLabel->setWordWrap(true);

  m_TitleLabel->setMinimumWidth(294);
  m_DotsLabel->setFixedWidth(112);
  m_PercentLabel->setFixedWidth(68);
  m_BytesLabel->setFixedWidth(140);

  auto* top = new QHBoxLayout;
  top->setSpacing(6);
  top->addWidget(m_TitleLabel, 1);
  top->addWidget(m_DotsLabel);
  auto* progress = new QHBoxLayout;
  progress->addStretch(1);
  progress->addWidget(m_PercentLabel);
  progress->addSpacing(18);
  progress->addWidget(m_BytesLabel);
  progress->addSpacing(28);
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(10, 26, 10, 16);
  root->setSpacing(6);
  root->addLayout(top);
  root->addLayout(progress);
  root->addWidget(m_MessageLabel, 1);

  m_AnimTimer.setInterval(kAnimationMs);
  connect(&m_AnimTimer, &QTimer::timeout, this, &DlgProcess::OnAnimation);
}

DlgProcess::~DlgProcess() {
  // Only a test's worker can still be out here; keep the count right.
  if (m_WorkerRunning) WorkerEnded(m_Session);
  delete m_Notifier;
}

QString DlgProcess::DotsText(int step) {
  // The dots grow to four and shrink again.
  using texts::TextId;
  static constexpr TextId kDots[8] = {TextId::Dots0, TextId::Dots1, TextId::Dots2, TextId::Dots3,
                                      TextId::Dots4, TextId::Dots3, TextId::Dots2, TextId::Dots1};
  const int i = ((step % 8) + 8) % 8;
  return ui::Str(kDots[i]);
}

QString DlgProcess::ByteCountText(std::uint32_t sent, std::uint32_t total) {
  return ui::Str(texts::ByteCountText(sent, total));
}

QString DlgProcess::PercentText(std::uint32_t sent, std::uint32_t total) {
  // In 64 bits: sent × 1000 outgrows 32 bits above 4,294,967 bytes. A total
  // of 0 (never sent) reads as nothing done rather than a division fault.
  const std::uint64_t q = total == 0 ? 0 : std::uint64_t{sent} * 1000u / total;
  return QStringLiteral("%1.%2 %").arg(q / 10).arg(q % 10);
}

void DlgProcess::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!m_Opened) {
    m_Opened = true;
    OnInitDialog();
  }
}

void DlgProcess::OnInitDialog() {
  m_AnimStep = 0;
  m_PercentLabel->clear();
  m_BytesLabel->clear();
  m_TitleLabel->setText(m_Title);
  m_DotsLabel->clear();
  m_MessageLabel->setText(m_Message);

  const bool firmware = m_Kind == OP_FIRMWARE;
  m_PercentLabel->setVisible(firmware);
  m_BytesLabel->setVisible(firmware);

  m_AnimTimer.start();

  // While the tool is leaving no exchange starts: the worker would outlive
  // the runner and the result it writes.
  if (IsLeaving(m_Session)) {
    m_Notifier->post(UWM_PROCESS_END, PR_WORKER_NOT_STARTED, 0);
    return;
  }
  m_Session.Abort.ClearAbort();
  const ExchangeContext x{Io::Current(), m_Session.Abort, m_Notifier};
  const bool started = m_Job && (m_Starter ? m_Starter(m_Job, x) : StartJob(m_Job, x));
  if (!started) {
    m_Notifier->post(UWM_PROCESS_END, PR_WORKER_NOT_STARTED, 0);
    return;
  }
  m_WorkerRunning = true;
  WorkerStarted(m_Session);
}

void DlgProcess::OnAnimation() {
  ++m_AnimStep;
  m_DotsLabel->setText(DotsText(m_AnimStep % 8));
}

void DlgProcess::OnProgress(std::uint32_t sent, std::uint32_t total) {
  m_BytesLabel->setText(ByteCountText(sent, total));
  m_PercentLabel->setText(PercentText(sent, total));
}

void DlgProcess::OnProcessEnd(std::int32_t result) {
  if (m_Ended) return;
  m_Ended = true;
  m_Result = result;
  m_AnimTimer.stop();
  done(QDialog::Accepted);
  // The worker has posted its last message and touches nothing of ours any
  // more; a leave that waited for it goes on from here.
  if (m_WorkerRunning) {
    m_WorkerRunning = false;
    WorkerEnded(m_Session);
  }
}

bool DlgProcess::event(QEvent* e) {
  if (e->type() == kProcessEvent) {
    const auto* pe = static_cast<ProcessEvent*>(e);
    if (pe->message == UWM_PROCESS_END)
      OnProcessEnd(static_cast<std::int32_t>(pe->wParam));
    else if (pe->message == UWM_PROCESS_PROGRESS && !m_Ended)
      OnProgress(static_cast<std::uint32_t>(pe->wParam), static_cast<std::uint32_t>(pe->lParam));
    return true;
  }
  return QDialog::event(e);
}

void DlgProcess::reject() { m_Session.Abort.RequestAbort(); }

void DlgProcess::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
      m_Session.Abort.RequestAbort();
      e->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      e->accept();  // no default button: Enter does nothing
      return;
    default:
      QDialog::keyPressEvent(e);
  }
}

void DlgProcess::closeEvent(QCloseEvent* e) {
  if (m_Ended) {
    QDialog::closeEvent(e);
    return;
  }
  m_Session.Abort.RequestAbort();
  e->ignore();
}

// The whole dialog but its bottom band serves as the caption: it has no
// caption bar of its own.
void DlgProcess::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && e->position().y() < height() - kDragExcludedBottom) {
    if (windowHandle() && windowHandle()->startSystemMove()) {
      e->accept();
      return;
    }
    m_Dragging = true;
    m_DragOffset = e->globalPosition().toPoint() - frameGeometry().topLeft();
    e->accept();
    return;
  }
  QDialog::mousePressEvent(e);
}

void DlgProcess::mouseMoveEvent(QMouseEvent* e) {
  if (m_Dragging && (e->buttons() & Qt::LeftButton)) {
    move(e->globalPosition().toPoint() - m_DragOffset);
    e->accept();
    return;
  }
  QDialog::mouseMoveEvent(e);
}

void DlgProcess::mouseReleaseEvent(QMouseEvent* e) {
  m_Dragging = false;
  QDialog::mouseReleaseEvent(e);
}

void DlgProcess::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kBackground);
  p.setPen(kFrame);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace lx47::app
