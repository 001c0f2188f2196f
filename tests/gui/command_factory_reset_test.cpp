// The factory reset: the dialog and its address checks, the confirmation,
// the unicast or broadcast decision, the search result forgotten, the
// adapter failure and the message of every outcome.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "app/DlgFactoryReset.h"
#include "app/commands.h"
#include "command_fixture.h"
#include "controls/CMACAddrEdit.h"
#include "protocol/result_codes.h"

using lx47::texts::TextId;

using namespace lx47;
using namespace lx47::test;
using app::DlgFactoryReset;
using ui::MsgIcon;
using ui::MsgResult;

namespace {

class FactoryResetCommand : public CommandTest {
 public:
  // The device with mac answers every "REST" for it with marker.
  void DeviceAnswers(const char* marker = "REOK") {
    net.onSend = [this, marker](const Datagram& d) {
      if (d.bytes.size() != 11 || std::memcmp(d.bytes.data(), "REST", 4) != 0) return;
      Bytes reply(d.bytes.begin(), d.bytes.end());
      std::memcpy(reply.data(), marker, 4);
      net.replyTo(d, reply);
    };
  }
  // Runs the command; the dialog gets the text typed (empty: as it opened)
  // and OK, the confirmation gets Yes.
  void Reset(const QString& typed = QString(), QString* shownInDialog = nullptr) {
    OnModal<DlgFactoryReset>([typed, shownInDialog](DlgFactoryReset& d) {
      if (shownInDialog) *shownInDialog = d.macEdit()->text();
      if (!typed.isEmpty()) d.macEdit()->setText(typed);
      d.okButton()->click();
    });
    rec.answer(MsgResult::Yes);
    app::commands::FactoryReset(*dlg);
  }
  std::vector<Datagram> Requests() const {
    std::vector<Datagram> out;
    for (const auto& d : net.sent())
      if (std::memcmp(d.bytes.data(), "REST", 4) == 0) out.push_back(d);
    return out;
  }
  void ExpectNoDevicesState() {
    EXPECT_EQ(session.DeviceCount, 0);
    EXPECT_EQ(dlg->deviceList()->rowCount(), 0);
    EXPECT_FALSE(dlg->deviceList()->isEnabled());
    EXPECT_FALSE(dlg->writeButton()->isEnabled());
    EXPECT_FALSE(dlg->firmwareButton()->isEnabled());
    EXPECT_TRUE(dlg->m_LastPassword.isEmpty());
    EXPECT_EQ(dlg->m_RepeatSearch, 0);
    for (BytePage* p : pages) EXPECT_FALSE(p->enabled);
  }
};

TEST_F(FactoryResetCommand, ShownDeviceIsResetAtItsOwnAddress) {
  settings.USE_BC_CFG = 0;
  ListDevices();
  dlg->m_LastPassword = "secret  ";
  dlg->m_RepeatSearch = 1;
  DeviceAnswers();
  QString inDialog;
  Reset(QString(), &inDialog);

  EXPECT_EQ(inDialog, QStringLiteral("00:80:47:00:00:01"));
  ASSERT_GE(rec.count(), 2);
  const auto& confirm = rec.shown[0];
  EXPECT_EQ(confirm.text,
            QString::asprintf(ui::Str(TextId::FactoryResetConfirm).toUtf8().constData(), 0, 0x80, 0x47, 0, 0, 1));
  EXPECT_EQ(confirm.icon, MsgIcon::Information);
  EXPECT_EQ(confirm.buttons, ui::MsgButtons::YesNo);
  EXPECT_EQ(confirm.defaultButton, MsgResult::No);
  EXPECT_EQ(confirm.caption, ui::AppCaption());

  const auto sent = Requests();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].to.addr, Entry(0).Device_IP);
  const Bytes expected{'R', 'E', 'S', 'T', 0x00, 0x80, 0x47, 0x00, 0x00, 0x01, 2};  // erase mode 2
  EXPECT_EQ(sent[0].bytes, expected);
  ASSERT_EQ(rec.count(), 2);
  EXPECT_EQ(rec.last().text, ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::SearchAgain));
  EXPECT_EQ(rec.last().icon, MsgIcon::Information);
  EXPECT_EQ(rec.pauses, std::vector<int>{5000});
  ExpectNoDevicesState();
}

TEST_F(FactoryResetCommand, AnotherAddressOrNoShownDeviceIsABroadcast) {
  settings.USE_BC_CFG = 0;
  ListDevices();
  DeviceAnswers();
  Reset(QStringLiteral("00:80:47:00:00:09"));
  auto sent = Requests();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].to.addr, platform::kBroadcastAddr);
  EXPECT_EQ(sent[0].bytes[9], 0x09);

  // Now nothing is shown: the dialog opens with zeros, the typed address goes out by broadcast.
  rec.clear();
  QString inDialog;
  Reset(QStringLiteral("02:47:00:00:00:01"), &inDialog);
  EXPECT_EQ(inDialog, QStringLiteral("00:00:00:00:00:00"));
  sent = Requests();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].to.addr, platform::kBroadcastAddr);
  EXPECT_EQ(rec.last().text,
            ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::SearchAgain));  // no shown device: ask for a search
}

TEST_F(FactoryResetCommand, DialogRefusesAllZeroAndAllOnes) {
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {{"00:00:00:00:00:00", false},
                        {"FF:FF:FF:FF:FF:FF", false},
                        {"FF:FF:FF:FF:FF:FE", true},
                        {"00:00:00:00:00:01", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    rec.clear();
    DlgFactoryReset d;
    d.m_EraseMode = 1;
    d.show();
    QApplication::processEvents();
    EXPECT_EQ(d.textLabel()->text(), ui::Str(TextId::FactoryResetMacPrompt));
    EXPECT_EQ(d.macEdit()->text(), QStringLiteral("00:00:00:00:00:00"));
    EXPECT_EQ(d.macEdit()->cursorPosition(), 0);
    EXPECT_FALSE(d.macEdit()->hasSelectedText());
    EXPECT_FALSE(d.iconLabel()->pixmap().isNull());
    d.macEdit()->setText(QString::fromLatin1(c.text));
    d.okButton()->click();
    if (c.accepted) {
      EXPECT_EQ(rec.count(), 0);
      EXPECT_EQ(d.result(), QDialog::Accepted);
      EXPECT_EQ(d.m_EraseMode, 2);
      EXPECT_EQ(d.m_Mac[5], c.text[16] == 'E' ? 0xFE : 0x01);
    } else {
      ASSERT_EQ(rec.count(), 1);
      EXPECT_EQ(rec.last().text, ui::Str(TextId::MacAddressInvalid));
      EXPECT_EQ(rec.last().icon, MsgIcon::Warning);
      EXPECT_EQ(rec.last().caption, ui::AppName());
      EXPECT_TRUE(d.isVisible());  // stays open
      EXPECT_EQ(d.m_EraseMode, 1);
    }
  }
}

TEST_F(FactoryResetCommand, CancelOrNoChangesNothing) {
  ListDevices();
  OnModal<DlgFactoryReset>([](DlgFactoryReset& d) { d.cancelButton()->click(); });
  app::commands::FactoryReset(*dlg);
  EXPECT_EQ(rec.count(), 0);

  OnModal<DlgFactoryReset>([](DlgFactoryReset& d) { d.okButton()->click(); });
  rec.answer(MsgResult::No);
  app::commands::FactoryReset(*dlg);
  EXPECT_EQ(rec.count(), 1);  // the confirmation only
  EXPECT_EQ(session.DeviceCount, 2);
  EXPECT_EQ(dlg->deviceList()->rowCount(), 2);
  EXPECT_EQ(dlg->m_CurrentIndex, 0);
  EXPECT_TRUE(dlg->firmwareButton()->isEnabled());
  EXPECT_TRUE(net.sent().empty());
}

TEST_F(FactoryResetCommand, OutcomeMessages) {
  const MacAddress mac = Mac(1);
  const QString noReply = ui::Str(TextId::FactoryResetFailed) + "\n" + ui::Str(TextId::NoReply) + "\n\n" +
                          QString::asprintf(ui::Str(TextId::CheckMacAddress).toUtf8().constData(), mac[0], mac[1],
                                            mac[2], mac[3], mac[4], mac[5]) +
                          "\n\n" + ui::Str(TextId::ReconnectIfDropped);
  struct Case {
    const char* name;
    std::uint8_t wifiMode;
    std::function<void(FactoryResetCommand&)> arrange;
    QString text;
    MsgIcon icon;
  };
  const Case cases[] = {
      {"done, access point", 1, [](FactoryResetCommand& t) { t.DeviceAnswers(); },
       ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::ReconnectAfterApMode), MsgIcon::Information},
      {"done, infrastructure", 0, [](FactoryResetCommand& t) { t.DeviceAnswers(); },
       ui::Str(TextId::FactoryResetDone) + ui::Str(TextId::SearchAgain), MsgIcon::Information},
      {"refused", 0, [](FactoryResetCommand& t) { t.DeviceAnswers("REng"); },
       ui::Str(TextId::FactoryResetFailed) + ui::Str(TextId::DeviceMayBeBusy) + "\n\n" +
           ui::Str(TextId::ReconnectIfDropped),
       MsgIcon::Warning},
      {"no reply", 0, [](FactoryResetCommand&) {}, noReply, MsgIcon::Warning},
      {"aborted", 0,
       [](FactoryResetCommand& t) { t.clock.onSleep = [&t](std::uint32_t) { t.session.Abort.RequestAbort(); }; },
       ui::Str(TextId::Aborted) + "\n\n" + ui::Str(TextId::ReconnectIfDropped), MsgIcon::Warning},
      {"socket", 0, [](FactoryResetCommand& t) { t.net.failCall(Call::UdpSocket); },
       ui::Str(TextId::FactoryResetFailed) + "\n" + ui::Str(TextId::NetworkProblem) + "\n\n" +
           ui::Str(TextId::ReconnectIfDropped),
       MsgIcon::Warning},
      {"no host address", 0, [](FactoryResetCommand& t) { t.host.rows.clear(); },
       ui::Str(TextId::FactoryResetFailed) + "\n" + ui::Str(TextId::NetworkProblem) + "\n\n" +
           ui::Str(TextId::ReconnectIfDropped),
       MsgIcon::Warning},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListDevices(2, c.wifiMode);
    host.rows.clear();
    host.addRow("10.47.0.1");
    c.arrange(*this);
    Reset();
    clock.onSleep = nullptr;
    net.onSend = nullptr;
    ASSERT_EQ(rec.count(), 2);  // the confirmation, then one message
    EXPECT_EQ(rec.last().text, c.text);
    EXPECT_EQ(rec.last().icon, c.icon);
    EXPECT_EQ(rec.last().caption, ui::AppCaption());
    EXPECT_EQ(rec.pauses, std::vector<int>{5000});
    ExpectNoDevicesState();
  }
}

TEST_F(FactoryResetCommand, ChosenAdapterWithoutAddressStopsAfterForgettingTheList) {
  ListDevices();
  store.writeInt("ALL_HOST_SCAN", 0);
  store.writeString("HOST_ADAPTERNAME", " eth9 ");
  store.writeString("HOST_DESC", "  USB LAN  ");
  Reset();
  ASSERT_EQ(rec.count(), 2);
  EXPECT_EQ(rec.last().text,
            ui::Str(TextId::FactoryResetFailed) + "\n\n" + ui::Str(TextId::NetworkProblem) +
                QStringLiteral("\n\nネットワークアダプタ：［USB LAN］は有効ではないか、切断状態の可能性があります。"));
  EXPECT_EQ(rec.last().icon, MsgIcon::Error);
  EXPECT_TRUE(rec.pauses.empty());
  EXPECT_TRUE(net.sent().empty());
  ExpectNoDevicesState();
}

}  // namespace
