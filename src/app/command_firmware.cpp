// The firmware update command (button "ファーム更新"): a firmware file is
// chosen, read and checked, the image goes to the shown device, the outcome
// is reported, and a search without the dialog lists the device again with
// its new version.
#include <QDir>
#include <QFile>
#include <QString>
#include <vector>

#include "app/LX47ConfigToolDlg.h"
#include "app/commands.h"
#include "app/error_info.h"
#include "app/run_operation.h"
#include "platform/file_read.h"
#include "protocol/firmware_file.h"
#include "protocol/job.h"
#include "protocol/mac_text.h"
#include "protocol/outcomes.h"
#include "protocol/result_codes.h"
#include "protocol/session.h"
#include "ui/message_service.h"
#include "ui/strings.h"

namespace lx47::app::commands {

using texts::TextId;

namespace {

// The image is held from the read to the end of the command, on every way out.
class HeldImage {
 public:
  explicit HeldImage(LX47ConfigToolDlg& dlg) : m_Dlg(dlg) {}
  ~HeldImage() {
    m_Dlg.m_FirmwareImage.clear();
    m_Dlg.m_FirmwareImage.shrink_to_fit();
    m_Dlg.m_FirmwareSize = 0;
  }
  HeldImage(const HeldImage&) = delete;
  HeldImage& operator=(const HeldImage&) = delete;

 private:
  LX47ConfigToolDlg& m_Dlg;
};

// Reads the chosen file into the window's image; false (after its messages)
// when nothing may be sent.
bool LoadImage(LX47ConfigToolDlg& dlg, const QString& path) {
  const QString shownPath = QDir::toNativeSeparators(path);
  dlg.m_FirmwareImage.clear();
  dlg.m_FirmwareSize = 0;
  std::vector<std::uint8_t> bytes;
#ifdef _WIN32
  const std::string name = path.toStdString();  // UTF-8; the reader widens it
#else
  const std::string name = QFile::encodeName(path).toStdString();
#endif
  const platform::FileReadResult r = platform::ReadWholeFile(name, kFirmwareFileMax, bytes);
  switch (r.stage) {
    case platform::FileReadResult::Stage::Open:
      if (r.notFound)
        ui::ShowMessage(&dlg, QStringLiteral("File %1 not found! \n").arg(shownPath), ui::MsgIcon::None);
      app::ShowErrorInfo(r.error);
      ui::ShowMessage(&dlg,
                      QStringLiteral(" IDS_FILE_LOAD_ERROR  %1").arg(shownPath) + "\n\n" +
                          QStringLiteral("\n  (m_cause=%1)").arg(r.cause),
                      ui::MsgIcon::Error);
      return false;
    case platform::FileReadResult::Stage::TooLarge:
      // Refused before anything is allocated: the transfer cannot carry it.
      ui::ShowMessage(&dlg, ui::Str(TextId::FirmwareFileTooLarge), ui::MsgIcon::Error);
      return false;
    case platform::FileReadResult::Stage::Read:
      // Whatever was read is incomplete; sending it would put a damaged
      // image into the device.
      app::ShowErrorInfo(r.error);
      ui::ShowMessage(&dlg, QStringLiteral(" IDS_FILE_LOAD_ERROR  %1").arg(shownPath), ui::MsgIcon::Error);
      return false;
    case platform::FileReadResult::Stage::Ok:
      break;
  }
  if (CheckFirmwareFile(bytes) != FirmwareFileVerdict::Ok) {
    ui::ShowMessage(&dlg, ui::Str(TextId::NotFirmwareFile), ui::MsgIcon::Error);
    return false;
  }
  dlg.m_FirmwareSize = static_cast<std::int32_t>(bytes.size());
  dlg.m_FirmwareImage = std::move(bytes);
  return true;
}

}  // namespace

void FirmwareUpdate(LX47ConfigToolDlg& dlg) {
  Session& session = dlg.session();
  DeviceEntry* listed = session.ListedEntry(dlg.m_CurrentIndex);
  if (!listed) {
    ui::ShowMessage(&dlg, ui::Str(TextId::SelectDeviceFirst), ui::MsgIcon::Information);
    return;
  }
  DeviceEntry& entry = *listed;

  ui::FileRequest choose;
  choose.parent = &dlg;
  choose.title = ui::Str(TextId::ChooseFirmwareFile);
  choose.directory = QStringLiteral(".");
  choose.fileName = QStringLiteral("LX47_*.bin");
  choose.defaultSuffix = QStringLiteral("bin");
  choose.filter = QStringLiteral("LX47 firm data file (lx47_*.bin)");
  const QString path = ui::messages().openFile(choose);
  if (path.isEmpty()) return;

  bool searchAgain = false;
  {
    HeldImage held(dlg);
    if (!LoadImage(dlg, path)) return;

    const QString question = ui::Str(TextId::FirmwareUpdateAhead) + "\n\n" +
                             ui::Str(texts::FirmwareMacLineText(MacText(entry.Device_MAC))) + "\n\n" +
                             ui::Str(TextId::AreYouSure);
    if (ui::ShowMessage(&dlg, question, ui::MsgIcon::Question, ui::MsgButtons::YesNo, ui::MsgResult::Yes) !=
        ui::MsgResult::Yes)
      return;

    dlg.m_RememberedMac = entry.Device_MAC;
    const bool accessPoint = entry.hasBlock() && entry.block().get(field::Wifi_Mode) == 1;

    // The image after its signature; it is held until the runner has closed.
    const FirmwareRequest request{session.Settings, entry, dlg.m_FirmwareImage.data() + kFirmwareSignatureSize,
                                  dlg.m_FirmwareSize - static_cast<std::int32_t>(kFirmwareSignatureSize)};
    const pages::RunnerOutcome outcome = RunOperation(
        session, &dlg,
        {OP_FIRMWARE, ui::Str(TextId::FirmwareWriting),
         ui::Str(TextId::FirmwareTakesMinutes) + "\n" + ui::Str(TextId::EscapeAborts), FirmwareJob(request)});
    const bool endedNormally = outcome.ok;
    const int result = outcome.result;

    if (endedNormally && result == PR_OK) {
      ui::ShowMessage(&dlg, ui::Str(TextId::FirmwareUpdated), ui::MsgIcon::Information);
      ui::messages().waitCursorPause(500);
      searchAgain = true;
      if (accessPoint) ui::ShowMessage(&dlg, ui::Str(TextId::ReconnectAfterApMode), ui::MsgIcon::Information);
    } else {
      ui::ShowMessage(&dlg, ui::Str(FirmwareFailureText(endedNormally ? result : PR_WORKER_NOT_STARTED)),
                      ui::MsgIcon::Warning);
      ui::messages().waitCursorPause(1000);
      // The PC's Wi-Fi link to a device in access-point mode may be gone;
      // the list stays as it was.
      searchAgain = !accessPoint;
      if (accessPoint) ui::ShowMessage(&dlg, ui::Str(TextId::ReconnectAfterApMode), ui::MsgIcon::Information);
    }
  }  // the image is released here

  if (searchAgain) {
    dlg.m_RepeatSearch = 1;
    dlg.m_SearchRememberedMac = 1;
    Search(dlg);
  }
}

}  // namespace lx47::app::commands
