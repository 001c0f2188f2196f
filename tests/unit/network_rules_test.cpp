// The Network page's rules: what a block shows, the port texts, the address
// checks, the mode rules, the domain name's cleaning and cut, the extended
// settings and what a refused store leaves behind.
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "page_block.h"
#include "pagerules/network_rules.h"

namespace lx47::pagerules {
namespace {

using test::Ip;

TEST(NetworkRules, Load) {
  struct Case {
    std::uint8_t mode, dhcp;
    ModeChoice shownMode;
    bool groupShown, dhcpShown;
  };
  // Only a TCP Client entry offers the mode choice; Mixed and unknown modes
  // leave the radios as they are.
  const Case cases[] = {{kModeClient, 0, ModeChoice::Client, true, false},
                        {kModeServer, 1, ModeChoice::Server, false, true},
                        {kModeMixed, 5, ModeChoice::None, false, true},
                        {7, 0, ModeChoice::None, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.mode));
    test::PageBlock b = test::NetworkBlock(c.mode);
    b.view().set(field::DHCP_Enable, c.dhcp);
    ConfigBlock block = b.view();
    const NetworkShown shown = LoadNetwork(block);
    EXPECT_EQ(shown.values.mode, c.shownMode);
    EXPECT_EQ(shown.modeGroupShown, c.groupShown);
    EXPECT_EQ(shown.values.dhcp, c.dhcpShown);
    EXPECT_EQ(shown.values.localPort, "23");
    EXPECT_EQ(shown.values.serverPort, "5000");
    EXPECT_EQ(shown.values.serverIp, Ip("10.47.0.9"));
    EXPECT_EQ(shown.values.deviceIp, Ip("10.47.0.101"));
    EXPECT_EQ(shown.values.dnsServer, Ip("10.47.0.53"));
    EXPECT_EQ(shown.values.domainName, "lx47.example");
  }
}

// Bytes outside printable ASCII become spaces in the block itself, so that
// an untouched page stores the same 32 bytes back.
TEST(NetworkRules, LoadCleansTheDomainNameInTheBlock) {
  test::PageBlock b = test::NetworkBlock();
  ConfigBlock block = b.view();
  auto raw = block.raw(field::Server_Domain_Name);
  std::fill(raw.begin(), raw.end(), 0);
  EXPECT_EQ(LoadNetwork(block).values.domainName, "");
  EXPECT_EQ(block.get(field::Server_Domain_Name), std::string(32, ' '));
  raw[3] = 'a';
  raw[4] = 0x7F;
  raw[5] = 'b';
  raw[6] = 0xE3;
  EXPECT_EQ(LoadNetwork(block).values.domainName, "a b");
  EXPECT_EQ(block.get(field::Server_Domain_Name), "   a b" + std::string(26, ' '));
}

struct StoreCase {
  const char* name;
  std::function<void(NetworkValues&)> edit;
  StoreResult result;
  std::function<void(ConfigBlock)> expect;
  bool extended = false;
  std::uint8_t mode = kModeClient;
};

TEST(NetworkRules, Store) {
  const auto port = [](const char* text) { return [text](NetworkValues& v) { v.localPort = text; }; };
  const auto portIs = [](std::uint8_t hi, std::uint8_t lo) {
    return [hi, lo](ConfigBlock b) {
      EXPECT_EQ(b.bytes()[24], hi);
      EXPECT_EQ(b.bytes()[25], lo);
    };
  };
  const StoreResult ok;
  const StoreResult badPort = StoreResult::Refuse(PageField::Local_Port, TextId::LocalPortInvalid);
  const auto portKept = portIs(0, 23);

  const std::vector<StoreCase> cases = {
      {"8080", port("8080"), ok, portIs(0x1F, 0x90)},
      {"0x1f90", port("0x1f90"), ok, portIs(0x1F, 0x90)},
      {"010 is octal", port("010"), ok, portIs(0, 8)},
      {"sign skipped", port("+80"), ok, portIs(0, 80)},
      {"0", port("0"), badPort, portKept},
      {"65536", port("65536"), badPort, portKept},
      {"8a", port("8a"), badPort, portKept},
      {"empty", port(""), badPort, portKept},
      {"trailing space", port("80 "), badPort, portKept},
      {"local 0.1.2.3 refused, the port before it stays stored",
       [](NetworkValues& v) {
         v.localPort = "8080";
         v.deviceIp = Ip("0.1.2.3");
       },
       StoreResult::Refuse(PageField::Device_IP_Address, TextId::LocalAddressInvalid),
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Local_Port), 8080);
         EXPECT_EQ(b.get(field::Device_IP_Address), Ip("10.47.0.101"));
       }},
      {"local 10.0.0.0, mask 255.0.255.0, gateway 0.0.0.0 accepted",
       [](NetworkValues& v) {
         v.deviceIp = Ip("10.0.0.0");
         v.subnetMask = Ip("255.0.255.0");
         v.defaultGateway = 0;
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Device_IP_Address), Ip("10.0.0.0"));
         EXPECT_EQ(b.get(field::Subnet_Mask), Ip("255.0.255.0"));
         EXPECT_EQ(b.get(field::Default_Gateway), 0u);
       }},
      {"mask 0.0.0.0 refused", [](NetworkValues& v) { v.subnetMask = 0; },
       StoreResult::Refuse(PageField::Subnet_Mask, TextId::SubnetMaskInvalid),
       [](ConfigBlock b) { EXPECT_EQ(b.get(field::Subnet_Mask), Ip("255.255.255.0")); }},
      {"DHCP keeps the block's addresses whatever the controls show",
       [](NetworkValues& v) {
         v.deviceIp = 0;
         v.subnetMask = 0;
         v.dhcp = true;
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::DHCP_Enable), 1);
         EXPECT_EQ(b.get(field::Device_IP_Address), Ip("10.47.0.101"));
         EXPECT_EQ(b.get(field::Subnet_Mask), Ip("255.255.255.0"));
       }},
      {"client to server stores 2 and leaves the server fields",
       [](NetworkValues& v) {
         v.serverIp = Ip("1.2.3.4");
         v.serverPort = "99";
         v.mode = ModeChoice::Server;
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), kModeServer);
         EXPECT_EQ(b.get(field::Server_IP_Address), Ip("10.47.0.9"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       }},
      {"client to mixed stores 1, the server address and port",
       [](NetworkValues& v) {
         v.mode = ModeChoice::Mixed;
         v.serverIp = Ip("1.2.3.4");
         v.serverPort = "0x10";
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), kModeMixed);
         EXPECT_EQ(b.get(field::Server_IP_Address), Ip("1.2.3.4"));
         EXPECT_EQ(b.get(field::Server_Port), 16);
       },
       true},
      {"no mode radio checked: the mode and server fields stay",
       [](NetworkValues& v) {
         v.mode = ModeChoice::None;
         v.serverIp = Ip("1.2.3.4");
         v.serverPort = "0";
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), kModeClient);
         EXPECT_EQ(b.get(field::Server_IP_Address), Ip("10.47.0.9"));
       }},
      {"server port refused after the mode and address are stored",
       [](NetworkValues& v) {
         v.mode = ModeChoice::Mixed;
         v.serverIp = Ip("1.2.3.4");
         v.serverPort = "70000";
       },
       StoreResult::Refuse(PageField::Server_Port, TextId::ServerPortInvalid),
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), kModeMixed);
         EXPECT_EQ(b.get(field::Server_IP_Address), Ip("1.2.3.4"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       }},
      {"server entry keeps its mode and server fields",
       [](NetworkValues& v) {
         v.mode = ModeChoice::Client;
         v.serverIp = Ip("1.2.3.4");
         v.serverPort = "0";
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Operation_Mode), kModeServer);
         EXPECT_EQ(b.get(field::Server_IP_Address), Ip("10.47.0.9"));
         EXPECT_EQ(b.get(field::Server_Port), 5000);
       },
       false, kModeServer},
      {"extended: a 40-character domain is cut to 32, DNS fields written",
       [](NetworkValues& v) {
         v.domainName = "  abcdefghijklmnopqrstuvwxyz0123456789ABCD  ";
         v.dnsConnect = true;
         v.dnsServer = Ip("8.8.4.4");
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Server_Domain_Name), "abcdefghijklmnopqrstuvwxyz012345");
         EXPECT_EQ(b.get(field::DNS_Connect_Enable), 1);
         EXPECT_EQ(b.get(field::DNS_Server_IP_Address), Ip("8.8.4.4"));
       },
       true},
      {"extended: a double-byte name is cut between characters",
       [](NetworkValues& v) {
         v.domainName = "a";
         for (int i = 0; i < 16; ++i) v.domainName += "\u3042";
       },
       ok,
       [](ConfigBlock b) {
         std::string want = "a";
         for (int i = 0; i < 15; ++i) want += test::Ansi("\u3042");
         EXPECT_EQ(b.get(field::Server_Domain_Name), want + ' ');
       },
       true},
      {"extended: an empty domain writes 32 spaces", [](NetworkValues& v) { v.domainName.clear(); }, ok,
       [](ConfigBlock b) { EXPECT_EQ(b.get(field::Server_Domain_Name), std::string(32, ' ')); }, true},
      {"extended hidden: the DNS fields are never written",
       [](NetworkValues& v) {
         v.domainName = "other.example";
         v.dnsConnect = true;
         v.dnsServer = Ip("8.8.4.4");
       },
       ok,
       [](ConfigBlock b) {
         EXPECT_EQ(b.get(field::Server_Domain_Name), "lx47.example                    ");
         EXPECT_EQ(b.get(field::DNS_Connect_Enable), 0);
         EXPECT_EQ(b.get(field::DNS_Server_IP_Address), Ip("10.47.0.53"));
       }},
  };

  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::PageBlock b = test::NetworkBlock(c.mode);
    ConfigBlock block = b.view();
    NetworkValues v = LoadNetwork(block).values;
    c.edit(v);
    const StoreResult r = StoreNetwork(block, v, FieldSet::All(), c.extended);
    EXPECT_EQ(r.message, c.result.message);
    if (!r.ok()) {
      EXPECT_EQ(r.field, c.result.field);
    }
    c.expect(block);
  }
}

// A field whose control is disabled is neither checked nor written; without
// the DHCP radio the addresses and the mode are left alone as well.
TEST(NetworkRules, OnlyEnabledFieldsAreStored) {
  test::PageBlock b = test::NetworkBlock();
  const std::vector<std::uint8_t> before = b.bytes;
  ConfigBlock block = b.view();
  NetworkValues v = LoadNetwork(block).values;
  v.localPort = "x";
  v.deviceIp = 0;
  v.subnetMask = 0;
  v.mode = ModeChoice::Server;
  EXPECT_TRUE(StoreNetwork(block, v, FieldSet{}, false).ok());
  EXPECT_TRUE(StoreNetwork(block, v, FieldSet{PageField::Device_IP_Address, PageField::Subnet_Mask}, false).ok());
  EXPECT_EQ(b.bytes, before);

  // Manual addressing with the address fields disabled: only the switch.
  v.dhcp = false;
  block.set(field::DHCP_Enable, 1);
  EXPECT_TRUE(StoreNetwork(block, v, FieldSet{PageField::DHCP_Enable}, false).ok());
  EXPECT_EQ(block.get(field::DHCP_Enable), 0);
  EXPECT_EQ(block.get(field::Device_IP_Address), Ip("10.47.0.101"));
  EXPECT_EQ(block.get(field::Operation_Mode), kModeServer);
}

}  // namespace
}  // namespace lx47::pagerules
