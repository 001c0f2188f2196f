// The write command: the pages' stores with the undo on the first refusal,
// the messages by outcome and Wi-Fi mode, the destination setting read
// afresh, and the window's state afterwards.
#include <QPushButton>
#include <QTabWidget>

#include "app/commands.h"
#include "command_fixture.h"
#include "protocol/result_codes.h"

using lx47::texts::TextId;

using namespace lx47;
using namespace lx47::test;
using ui::MsgIcon;

namespace {

constexpr std::size_t kNetworkByte = 12;  // a device address octet
constexpr std::size_t kBaudByte = field::Serial_Baud_Rate.offset;
constexpr std::size_t kSsidByte = field::Wifi_Infra_SSID.offset;
constexpr std::size_t kPasswordByte = field::Wifi_Infra_Password.offset + 63;

class WriteCommand : public CommandTest {
 public:
  // The device answers every "SETS" with "SETI" carrying what it was sent
  // (or with "SETn" when refusing).
  void DeviceAnswers(const char* marker = "SETI") {
    net.onSend = [this, marker](const Datagram& d) {
      if (d.bytes.size() < 4 || std::memcmp(d.bytes.data(), "SETS", 4) != 0) return;
      Bytes reply = d.bytes;
      std::memcpy(reply.data(), marker, 4);
      net.replyTo(d, reply);
    };
  }
  void Write() { dlg->writeButton()->click(); }
  int SetsSent() const {
    int n = 0;
    for (const auto& d : net.sent()) n += std::memcmp(d.bytes.data(), "SETS", 4) == 0;
    return n;
  }
};

TEST_F(WriteCommand, NoDeviceShownAsksForASelection) {
  app::commands::Write(*dlg);
  ASSERT_EQ(rec.count(), 1);
  EXPECT_EQ(rec.last().text, ui::Str(TextId::SelectDeviceFirst));
  EXPECT_EQ(rec.last().icon, MsgIcon::Information);
  EXPECT_EQ(rec.last().caption, ui::AppCaption());
  EXPECT_TRUE(net.sent().empty());
}

TEST_F(WriteCommand, APageRefusingUndoesEveryStoreAndShowsItsTab) {
  ListDevices();
  DeviceAnswers();
  const Bytes before = Entry(0).Block;
  page(app::kNetworkPage).edits[kNetworkByte] = 0x55;
  page(app::kSerialPage).edits[kBaudByte] = 9;
  page(app::kSerialPage).invalid = true;  // stores the baud rate, then refuses
  dlg->tabs()->setCurrentIndex(app::kSpecialPage);

  Write();
  EXPECT_EQ(Entry(0).Block, before);  // neither the Network value nor the baud rate
  EXPECT_EQ(dlg->tabs()->currentIndex(), app::kSerialPage);
  EXPECT_TRUE(page(app::kSerialPage).lastReport);  // the page shows its own message
  EXPECT_EQ(page(app::kOptionPage).stores, 0);    // later pages are not asked
  EXPECT_EQ(rec.count(), 0);
  EXPECT_TRUE(net.sent().empty());
}

TEST_F(WriteCommand, SuccessMessagesFollowWifiModeAndInfrastructureChange) {
  struct Case {
    const char* name;
    std::uint8_t wifiMode;
    std::size_t editedByte;
    bool shows181;
  };
  const Case cases[] = {
      {"access point, SSID changed", 1, kSsidByte, true},
      {"access point, password changed", 1, kPasswordByte, true},
      {"access point, baud rate only", 1, kBaudByte, false},
      {"infrastructure, SSID changed", 0, kSsidByte, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDevices(2, c.wifiMode);
    DeviceAnswers();
    const int slot = c.editedByte == kBaudByte ? app::kSerialPage : app::kWifiPage;
    page(slot).edits[c.editedByte] = 'Z';
    const int loadsBefore = page(app::kNetworkPage).loads;
    const int setsBefore = SetsSent();

    Write();
    QStringList expected{ui::Str(TextId::SettingsWritten)};
    if (c.shows181) expected << ui::Str(TextId::ApModeHowToInfrastructure);
    EXPECT_EQ(Texts(), expected);
    for (const auto& r : rec.shown) {
      EXPECT_EQ(r.icon, MsgIcon::Information);
      EXPECT_EQ(r.caption, ui::AppCaption());
    }
    EXPECT_EQ(rec.pauses, std::vector<int>{500});
    // The device's answer is the stored block, marker included, and the
    // pages were reloaded from it.
    EXPECT_EQ(std::memcmp(Entry(0).Block.data(), "SETI", 4), 0);
    EXPECT_EQ(Entry(0).Block[c.editedByte], 'Z');
    EXPECT_EQ(page(app::kNetworkPage).loads, loadsBefore + 1);
    EXPECT_EQ(SetsSent(), setsBefore + 1);  // the answer ends the exchange
    net.onSend = nullptr;
  }
}

TEST_F(WriteCommand, FailuresShowTheirMessageAndKeepTheStoredValues) {
  struct Case {
    const char* name;
    std::function<void(WriteCommand&)> arrange;
    QString text;
  };
  const Case cases[] = {
      {"no reply", [](WriteCommand&) {}, ui::Str(TextId::NoReply)},
      {"refused", [](WriteCommand& t) { t.DeviceAnswers("SETn"); },
       ui::Str(TextId::SettingsNotWritten) + "\n\n" + ui::Str(TextId::DeviceMayBeBusy)},
      {"aborted", [](WriteCommand& t) { t.clock.onSleep = [&t](std::uint32_t) { t.session.Abort.RequestAbort(); }; },
       ui::Str(TextId::Aborted)},
      {"socket", [](WriteCommand& t) { t.net.failCall(Call::UdpSocket); },
       ui::Str(TextId::SettingsSendFailed) + "\n\n" + ui::Str(TextId::SendFailed)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDevices();
    c.arrange(*this);
    page(app::kSerialPage).edits[kBaudByte] = 7;

    Write();
    clock.onSleep = nullptr;
    net.onSend = nullptr;
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text, c.text);
    EXPECT_EQ(rec.last().icon, MsgIcon::Warning);
    EXPECT_EQ(rec.pauses, std::vector<int>{1000});
    // The edit stays in the block, and the pages show it: nothing unsaved.
    EXPECT_EQ(Entry(0).Block[kBaudByte], 7);
    EXPECT_FALSE(dlg->HasUnsavedChanges(0));
  }
}

TEST_F(WriteCommand, ExitAfterAWriteWithoutReplyAsksNothing) {
  ListDevices();
  dlg->show();
  page(app::kOptionPage).edits[60] = 1;
  Write();
  ASSERT_EQ(Texts(), QStringList{ui::Str(TextId::NoReply)});
  dlg->exitButton()->click();
  EXPECT_EQ(rec.count(), 1);  // no exit question
  EXPECT_FALSE(dlg->isVisible());
}

TEST_F(WriteCommand, TheStoredBroadcastSettingIsReadForEveryWrite) {
  settings.MaxSendCmdLoopCount = 3;  // two sends to the device, then one broadcast
  ListDevices();
  const std::uint32_t device = Entry(0).Device_IP;
  const auto destinations = [this] {
    std::vector<std::uint32_t> to;
    for (const auto& d : net.sent()) to.push_back(d.to.addr);
    return to;
  };

  store.writeInt("USE_BC_CFG", 0);  // as if changed while the tool runs
  settings.USE_BC_CFG = 1;
  Write();
  EXPECT_EQ(destinations(), (std::vector<std::uint32_t>{device, device, platform::kBroadcastAddr}));

  store.writeInt("USE_BC_CFG", 1);
  const std::size_t first = net.sent().size();
  Write();
  const auto all = destinations();
  ASSERT_EQ(all.size(), first + 3);
  for (std::size_t i = first; i < all.size(); ++i) EXPECT_EQ(all[i], platform::kBroadcastAddr);

  store.remove("USE_BC_CFG");  // absent: broadcast, the default
  settings.USE_BC_CFG = 0;
  Write();
  EXPECT_EQ(settings.USE_BC_CFG, 1);
}

}  // namespace
