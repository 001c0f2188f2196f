// The main window: the devices of the last search on the left, the five
// settings pages of the shown device on the right, the command buttons at the
// bottom, the factory reset and the tool settings in the window menu.
#pragma once

#include <QByteArray>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "protocol/config_block.h"
#include "protocol/device_table.h"
#include "ui/dialog.h"

class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace lx47 {
struct Session;
}
namespace lx47::controls {
class CStaticEx;
}
namespace lx47::pages {
class SettingsPage;
}

namespace lx47::app {

class LX47ConfigToolDlg : public ui::Dialog {
  Q_OBJECT
 public:
  // Makes the page of a tab (0..4); empty: the pages of page_factory.h.
  using PageMaker = std::function<pages::SettingsPage*(int slot, QWidget* parent)>;
  // The window shows session's devices and runs its commands on it.
  explicit LX47ConfigToolDlg(Session& session, QWidget* parent = nullptr, PageMaker makePage = {});
  ~LX47ConfigToolDlg() override;

  Session& session() const { return m_Session; }

  // DeviceTable index of the shown device; -1 when none.
  int m_CurrentIndex = -1;
  int m_PreviousIndex = -1;
  QByteArray m_LastPassword;  // padded search password of the last successful search
  int m_RepeatSearch = 0;
  int m_SearchRememberedMac = 0;
  MacAddress m_RememberedMac{};
  std::vector<std::uint8_t> m_FirmwareImage;
  std::int32_t m_FirmwareSize = 0;
  int m_RDblClkCount = 0;

  // Right-button double-clicks beyond this many reveal the extended settings
  // (with "MaskSetting" on).
  static constexpr int kRevealCount = 5;
  static constexpr int kReselectMs = 200;

  // Shows one device on the pages and its version in the label.
  void ShowDevice(DeviceEntry& entry, int index);
  // Enables or disables the device-dependent part of the window.
  void EnableMainControls(bool enable);
  // Whether the pages hold values that differ from entry index's block; the
  // block itself is left as it was.
  bool HasUnsavedChanges(int index);

  // For the commands.
  void ClearDeviceList();  // no rows; no selection handling runs
  void FillDeviceList();   // one row per listed device of the session
  void SelectRow(int row);  // selects a row as a click would, with its question
  void EnablePages(bool enable, int wifiIndex);
  void SetSelectionText(const QString& text);
  void SetVersionText(const QString& text);

  QTableWidget* deviceList() const { return m_List; }
  QTabWidget* tabs() const { return m_Tabs; }
  pages::SettingsPage* page(int slot) const { return m_Pages[static_cast<std::size_t>(slot)]; }
  QPushButton* searchButton() const { return m_SearchButton; }
  QPushButton* writeButton() const { return m_WriteButton; }
  QPushButton* firmwareButton() const { return m_FirmwareButton; }
  QPushButton* exitButton() const { return m_ExitButton; }
  QPushButton* pinMonitorButton() const { return m_PinMonitorButton; }
  QLabel* selectionLabel() const { return m_SelectionLabel; }
  QLabel* versionCaption() const { return m_VersionCaption; }
  controls::CStaticEx* versionLabel() const { return m_VersionLabel; }
  QTimer& reselectTimer() { return m_ReselectTimer; }

 public slots:
  void OnSearch();
  void OnWrite();
  void OnFirmwareUpdate();
  void OnFactoryReset();
  void OnToolSettings();
  // The exit button and every close request: asks first when edits would be lost.
  void OnExit();

 public:
  // The Escape key never closes the main window.
  void reject() override {}

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void OnRowSelected(int row);
  void OnReselect();
  // The hidden gesture that reveals the extended settings.
  void OnRightDoubleClick();

  Session& m_Session;
  QTableWidget* m_List = nullptr;
  QTabWidget* m_Tabs = nullptr;
  std::array<pages::SettingsPage*, 5> m_Pages{};
  QLabel* m_SelectionLabel = nullptr;  // 1023
  QLabel* m_VersionCaption = nullptr;  // 1021
  controls::CStaticEx* m_VersionLabel = nullptr;  // 1024
  QFrame* m_VersionFrame = nullptr;    // 1036
  QPushButton* m_PinMonitorButton = nullptr;
  QPushButton* m_SearchButton = nullptr;
  QPushButton* m_WriteButton = nullptr;
  QPushButton* m_FirmwareButton = nullptr;
  QPushButton* m_ExitButton = nullptr;
  QTimer m_ReselectTimer;
  bool m_Filling = false;
  bool m_SelectionPending = false;
};

}  // namespace lx47::app
