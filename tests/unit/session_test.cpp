// The session's own rules: which index names a listed device, what a
// finished search leaves behind, and how single tool settings are read
// again from the store.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "device_reply.h"
#include "fakes.h"
#include "protocol/session.h"

namespace lx47 {
namespace {

// A store of the keys a test puts in; every write is counted.
class MapStore : public SettingsAccess {
 public:
  int readInt(const char* key, int def) override {
    const auto it = ints.find(key);
    return it == ints.end() ? def : it->second;
  }
  void writeInt(const char* key, int value) override {
    ints[key] = value;
    ++writes;
  }
  std::string readString(const char* key) override {
    const auto it = texts.find(key);
    return it == texts.end() ? std::string() : it->second;
  }
  void writeString(const char* key, const std::string& value) override {
    texts[key] = value;
    ++writes;
  }
  void remove(const char* key) override {
    texts.erase(key);
    ++writes;
  }
  std::map<std::string, int> ints;
  std::map<std::string, std::string> texts;
  int writes = 0;
};

// Index 16 is past the table even with 16 devices listed; -1 is "none".
TEST(Session, ListedDevicesAreTheFirstDeviceCountEntries) {
  Session s;
  struct Case { int count; int index; bool listed; };
  const Case cases[] = {{0, 0, false}, {3, -1, false}, {3, 0, true},   {3, 2, true},
                        {3, 3, false}, {16, 15, true}, {16, 16, false}, {17, 16, false}};
  for (const Case& c : cases) {
    s.DeviceCount = c.count;
    EXPECT_EQ(s.IsListed(c.index), c.listed) << c.count << "/" << c.index;
    EXPECT_EQ(s.ListedEntry(c.index) != nullptr, c.listed) << c.count << "/" << c.index;
  }
}

// A search replaces the whole table: entries of the search before are gone
// even when this one found fewer devices.
TEST(Session, SearchResultReplacesTheTable) {
  Session s;
  for (int i = 0; i < 3; ++i) s.DeviceTable[std::size_t(i)].storeReply(test::DeviceReply("IAMI", test::Mac(i)), 1);
  s.DeviceCount = 3;
  SearchResult found;
  found.DeviceTable[0].storeReply(test::DeviceReply("IAMI", test::Mac(7)), 2);
  found.FoundCount = 1;
  s.Take(std::move(found));
  EXPECT_EQ(s.DeviceCount, 1);
  EXPECT_EQ(s.DeviceTable[0].Device_MAC, test::Mac(7));
  EXPECT_FALSE(s.DeviceTable[1].hasBlock());
  EXPECT_FALSE(s.DeviceTable[2].hasBlock());
}

// Reading one setting again applies the table's default and repair, and
// writes nothing; storing one writes the value and its key.
TEST(ToolSettingsTable, ReloadRepairsWithoutWritingAndStoreWritesBoth) {
  MapStore store;
  ToolSettings t;
  store.ints["RecvDelay_msec"] = 200;
  store.ints["ALL_HOST_SCAN"] = 7;
  store.ints["MaxSendCmdLoopCount"] = 0;
  store.texts["HOST_DESC"] = " LAN ";
  ReloadSetting(store, t, &ToolSettings::RecvDelay_msec);
  ReloadSetting(store, t, &ToolSettings::ALL_HOST_SCAN);
  ReloadSetting(store, t, &ToolSettings::MaxSendCmdLoopCount);
  ReloadSetting(store, t, &ToolSettings::MaxRecvLoopCount);  // absent
  ReloadSetting(store, t, &ToolSettings::HOST_DESC);
  EXPECT_EQ(t.RecvDelay_msec, 200);
  EXPECT_EQ(t.ALL_HOST_SCAN, 1);
  EXPECT_EQ(t.MaxSendCmdLoopCount, 10);
  EXPECT_EQ(t.MaxRecvLoopCount, 60);
  EXPECT_EQ(t.HOST_DESC, " LAN ");
  EXPECT_EQ(store.writes, 0);

  StoreChosenAdapter(store, t, "lx2", "LAN 2", "10.48.0.1");
  EXPECT_EQ(t.ALL_HOST_SCAN, 0);
  EXPECT_EQ(store.ints["ALL_HOST_SCAN"], 0);
  EXPECT_EQ(store.texts, (std::map<std::string, std::string>{
                             {"HOST_ADAPTERNAME", "lx2"}, {"HOST_DESC", "LAN 2"}, {"HOST_IP", "10.48.0.1"}}));
  StoreSetting(store, t, &ToolSettings::MaxRecvLoopCount, 120);
  EXPECT_EQ(t.MaxRecvLoopCount, 120);
  EXPECT_EQ(store.ints["MaxRecvLoopCount"], 120);
  StoreAllHosts(store, t);
  EXPECT_EQ(t.ALL_HOST_SCAN, 1);
  EXPECT_TRUE(t.HOST_ADAPTERNAME.empty() && t.HOST_DESC.empty() && t.HOST_IP.empty());
  EXPECT_TRUE(store.texts.empty());
  EXPECT_EQ(store.ints["ALL_HOST_SCAN"], 1);
}

}  // namespace
}  // namespace lx47
