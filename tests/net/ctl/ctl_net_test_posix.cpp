// lx47ctl against lx47-sim over real sockets in the private namespaces:
// what it finds, sets, saves and loads, updates and resets, how it ends on
// Ctrl-C, what each fault of the device gives, and that bad input sends
// nothing at all.
#include <gtest/gtest.h>

#include <fstream>

#include "ctl/block_changes.h"
#include "ctl/json.h"
#include "ctl_process_posix.h"
#include "support/sim_process.h"

namespace lx47::nettest {
namespace {

using ctl::BlockChanges;
using ctl::Json;

const char* const kMac0 = "02:47:00:00:00:01";
const char* const kMac1 = "02:47:00:00:00:02";
const char* const kMac2 = "02:47:00:00:00:03";

class CtlNet : public ::testing::Test {
 protected:
  void SetUp() override { RequireHarness(); }
  void Start(std::vector<std::string> args) {
    std::string why;
    ASSERT_TRUE(sim.start(args, &why)) << why;
  }
  std::string Changed(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
    std::string names;
    for (const ctl::BlockChange& c : BlockChanges(before, after)) names += (names.empty() ? "" : " ") + c.field;
    return names;
  }
  std::size_t Received(const char* cmd) { return sim.logLinesWith({" RECV ", std::string("cmd=") + cmd}).size(); }

  SimProcess sim;
  Ctl ctl;
};

TEST_F(CtlNet, SearchJsonListsEveryDeviceWithItsFields) {
  Start({"--devices", "3", "--wifi-mode", "0"});
  const CtlRun r = ctl.run({"search", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  ctl::JsonError where;
  const std::optional<Json> list = ctl::ParseJson(r.out, where);
  ASSERT_TRUE(list && list->type() == Json::Type::Array) << r.out;
  ASSERT_EQ(list->items().size(), 3u);
  const char* macs[] = {kMac0, kMac1, kMac2};
  for (int i = 0; i < 3; ++i) {
    const Json& d = list->items()[static_cast<std::size_t>(i)];
    EXPECT_EQ(d.find("no")->asInteger(), i + 1);
    EXPECT_EQ(d.find("mac")->asString(), macs[i]);
    EXPECT_EQ(d.find("ip")->asString(), "10.47.0." + std::to_string(100 + i));
    EXPECT_EQ(d.find("firmware")->asString(), "1.0.0");
    EXPECT_EQ(d.find("host_ip")->asString(), "10.47.0.1");
    EXPECT_EQ(d.find("wifi_mode")->asInteger(), 0);
    const std::vector<std::uint8_t> block = sim.block(i);
    const Json* settings = d.find("settings");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->find("Local_Port")->asInteger(), (block[24] << 8) | block[25]);
    EXPECT_EQ(settings->find("Device_IP_Address")->asString(), "10.47.0." + std::to_string(100 + i));
    EXPECT_EQ(d.find("status")->find("Wifi_Mode")->asString(), "インフラストラクチャーモード");
  }
}

TEST_F(CtlNet, SetChangesExactlyThatFieldAndARefusalSendsNothing) {
  Start({"--devices", "2"});
  const std::vector<std::uint8_t> before = sim.block(1), other = sim.block(0);
  const CtlRun r = ctl.run({"set", kMac1, "Serial_Baud_Rate=115200"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Changed(before, sim.block(1)), "Serial_Baud_Rate");
  EXPECT_EQ(sim.block(0), other);
  EXPECT_NE(r.out.find("Serial_Baud_Rate：9600 → 115200"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("設定情報を LX47に書き込みました。"), std::string::npos) << r.out;

  const std::size_t sets = Received("SETS");
  const std::vector<std::uint8_t> now = sim.block(1);
  const CtlRun refused = ctl.run({"set", kMac1, "Local_Port=70000"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("Local_Port：[ネットワーク設定]－「ポート番号」の指定が無効または範囲外です。"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(Received("SETS"), sets);
  EXPECT_EQ(sim.block(1), now);

  // One device of two not there: the other is written, the status says not all.
  const CtlRun some = ctl.run({"set", std::string(kMac0) + ",02:47:00:00:00:09", "Serial_Parity=EVEN"});
  EXPECT_EQ(some.status, 1) << some.err;
  EXPECT_NE(some.out.find("2 台のうち 1 台で成功しました。"), std::string::npos) << some.out;
  EXPECT_EQ(sim.block(0)[34], 2);
}

TEST_F(CtlNet, SaveThenLoadGivesASecondDeviceTheFirstsSettingsWithItsOwnAddress) {
  Start({"--devices", "2"});
  ASSERT_EQ(ctl.run({"set", kMac0, "Serial_Parity=ODD", "Wifi_Infra_SSID=office", "Local_Port=9000"}).status, 0);
  const std::string file = ctl.dir() + "/dev0.json";
  const CtlRun saved = ctl.run({"save", kMac0, file});
  ASSERT_EQ(saved.status, 0) << saved.err;
  const CtlRun loaded = ctl.run({"load", kMac1, file});
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_EQ(Changed(sim.block(0), sim.block(1)), "Device_MAC_Address Device_IP_Address");

  // Back onto the first device after a change: its block as it was.
  const std::vector<std::uint8_t> original = sim.block(0);
  ASSERT_EQ(ctl.run({"set", kMac0, "TCP_Disconnect_Time=5"}).status, 0);
  ASSERT_EQ(ctl.run({"load", kMac0, file}).status, 0);
  EXPECT_EQ(Changed(original, sim.block(0)), "");
}

TEST_F(CtlNet, FirmwareToThreeDevicesDeliversEachImageWholeAndReportsEach) {
  Start({"--devices", "3", "--wifi-mode", "0"});
  std::vector<std::uint8_t> image(12000);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31 + 7);
  const std::string file = ctl.dir() + "/LX47_test.bin";
  {
    std::ofstream f(file, std::ios::binary);
    f << "LX47";
    f.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  }
  const CtlRun r = ctl.run({"firmware", "all", file, "--yes"});
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  for (int i = 0; i < 3; ++i) {
    std::vector<std::uint8_t> expected = {0, 0, 0x2E, 0xE0};  // the length, big-endian
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(sim.image(i), expected) << i;
  }
  for (const char* mac : {kMac0, kMac1, kMac2})
    EXPECT_NE(r.out.find(std::string(mac) + "  ファームのアップデートが完了しました。 ファームバージョン：1.0.0 → 1.0.1"),
              std::string::npos)
        << r.out;
  EXPECT_NE(r.out.find("3 台のうち 3 台で成功しました。"), std::string::npos);
  EXPECT_EQ(r.err.find('['), std::string::npos) << "no progress bar without a terminal";
}

TEST_F(CtlNet, CtrlCDuringASearchEndsItWithinTheAbortLatency) {
  Start({"--devices", "1", "--fault", "silent"});
  ctl.setSettings({});  // the tool's own timing: a search of 12.8 s
  const CtlRun r = ctl.run({"search"}, 1000);
  EXPECT_EQ(r.status, 130) << r.err;
  EXPECT_NE(r.err.find("処理を中断しました。"), std::string::npos) << r.err;
  // One receive pause (20 ms) and the runner's poll, with room for a busy machine.
  EXPECT_LT(r.afterSignal.count(), 300);
  std::cout << "SIGINT to exit: " << r.afterSignal.count() << " ms\n";
}

TEST_F(CtlNet, EachFaultOfTheDeviceGivesItsMessageAndStatus) {
  const std::string file = ctl.dir() + "/LX47_f.bin";
  {
    std::ofstream f(file, std::ios::binary);
    f << "LX47" << std::string(40 * 5120, 'x');
  }
  struct Case {
    std::vector<std::string> sim;
    std::vector<std::string> command;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"--fault", "silent"}, {"show", kMac0}, 4, "デバイスは見つかりません。MACアドレス [02:47:00:00:00:01]"},
      {{"--fault", "wrong-mac"}, {"show", kMac0}, 4, "デバイスは見つかりません。"},
      {{"--fault", "short"}, {"search"}, 4, "デバイスは見つかりません。"},
      {{"--prefix-hex", "00"}, {"search"}, 4, "デバイスは見つかりません。"},
      {{"--fault", "refuse-write"}, {"set", kMac0, "Local_Port=9000"}, 6, "設定できませんでした。"},
      {{"--fault", "refuse-reset"}, {"reset", kMac0, "--yes"}, 6, "デバイスは使用中の可能性があります。"},
      {{"--fault", "flood", "--flood-count", "3"}, {"show", kMac0}, 0, ""},
      {{"--fault", "wfsr-overcount", "--scan-ms", "1800"}, {"routers", kMac0}, 0, ""},
      {{"--no-routers", "--scan-ms", "1800"}, {"routers", kMac0}, 0, "WIFIルーターを見つけることができません"},
      {{"--fault", "stall-tcp", "--stall-seconds", "2"}, {"firmware", kMac0, file, "--yes"}, 7,
       "ファームのアップデート中に問題が発生しました。"},
      {{"--firmware-port", "5999"}, {"firmware", kMac0, file, "--yes"}, 9, "デバイスに接続できません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sim.front() + " " + c.command.front());
    std::vector<std::string> args{"--devices", "1"};
    args.insert(args.end(), c.sim.begin(), c.sim.end());
    Start(args);
    const CtlRun r = ctl.run(c.command);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    sim.stop();
  }
}

TEST_F(CtlNet, BadInputSendsNothing) {
  Start({"--devices", "1"});
  const std::string notConfig = ctl.dir() + "/not.json", notFirmware = ctl.dir() + "/lx47.bin";
  std::ofstream(notConfig) << "{\"format\": \"lx47ctl-configuration\", \"version\": 1,";
  std::ofstream(notFirmware) << "lx47abc";
  struct Case {
    std::vector<std::string> command;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"set", kMac0, "Local_Prot=1"}, 2, "不明な設定項目です：Local_Prot"},
      {{"set", "02:47:00:00:00", "Local_Port=1"}, 2, "MACアドレスの形式が正しくありません：02:47:00:00:00"},
      {{"show", "00:00:00:00:00:00"}, 2, "MACアドレスは正しくありません。"},
      {{"set", kMac0, "Wifi_Mode=1"}, 2, "Wifi_Mode：表示だけの項目です。"},
      {{"set", kMac0, "DNS_Connect_Enable=on"}, 2, "DNS_Connect_Enable：拡張設定です"},
      {{"set", kMac0, "Local_Port=1", "--extended"}, 2, "MaskSetting が有効な時だけ"},
      {{"load", kMac0, notConfig}, 2, "設定ファイルとして読めません"},
      {{"load", kMac0, ctl.dir() + "/missing.json"}, 10, "missing.json："},
      {{"firmware", kMac0, notFirmware, "--yes"}, 10, "選択したファイルは、正しいファームデーターではありません。"},
      {{"reset", kMac0}, 2, "--yes を付けてください"},
      {{"-p", "123456789", "show", kMac0}, 2, "指定可能な文字数は８文字までです。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.front() + " " + c.command.back());
    const CtlRun r = ctl.run(c.command);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_TRUE(sim.logLinesWith({" RECV "}).empty()) << "not even a search went out";
}

}  // namespace
}  // namespace lx47::nettest
