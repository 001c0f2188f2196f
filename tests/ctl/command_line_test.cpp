// The command line's own input: options, MAC addresses and JSON, each a
// table of what is taken and what is refused; and its runner.
#include <gtest/gtest.h>

#include <thread>

#include "ctl/fields.h"
#include "ctl/json.h"
#include "ctl/options.h"
#include "ctl/runner.h"
#include "protocol/result_codes.h"

namespace lx47::ctl {
namespace {

TEST(CtlCommandLine, Options) {
  Options o;
  std::string error;
  ASSERT_TRUE(ParseOptions({"-p", "pw", "set", "02:47:00:00:00:01", "Local_Port=1", "--dry-run", "--extended"}, o, error))
      << error;
  EXPECT_EQ(o.command, Command::Set);
  EXPECT_EQ(o.password, "pw");
  EXPECT_TRUE(o.dryRun && o.extended);
  EXPECT_EQ(o.args, (std::vector<std::string>{"02:47:00:00:00:01", "Local_Port=1"}));

  Options p;
  ASSERT_TRUE(ParseOptions({"search", "--mac=02:47:00:00:00:01", "--json", "--", "-x"}, p, error)) << error;
  EXPECT_EQ(p.searchMac, "02:47:00:00:00:01");
  EXPECT_EQ(p.args, (std::vector<std::string>{"-x"}));

  struct Bad {
    std::vector<std::string> argv;
    const char* error;
  };
  const Bad bad[] = {
      {{"serch"}, "不明なコマンドです：serch"},
      {{"search", "--jsn"}, "不明なオプションです：--jsn"},
      {{"search", "-yp"}, "不明なオプションです：-yp"},
      {{"show", "--password"}, "オプション --password には値が必要です。"},
      {{"show", "x", "--dry-run"}, "オプション --dry-run は show では使えません。"},
      {{"reset", "--json", "x"}, "オプション --json は reset では使えません。"},
      {{"search", "--json=1"}, "不明なオプションです：--json=1"},
  };
  for (const Bad& b : bad) {
    Options q;
    std::string e;
    EXPECT_FALSE(ParseOptions(b.argv, q, e)) << b.argv.front();
    EXPECT_EQ(e, b.error);
  }
}

TEST(CtlCommandLine, MacAddresses) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {{"02:47:00:0a:0B:0c", true}, {"02-47-00-0A-0B-0C", true}, {"0247000A0B0C", true},
                        {"02:47:00:0A:0B", false},   {"02:47:00:0A:0B:0C:0D", false}, {"02:47-00:0A:0B:0C", false},
                        {"0247:00:0A:0B:0C", false}, {"02:47:00:0A:0B:0G", false},   {"", false},
                        {"2:47:00:0A:0B:0C", false}};
  for (const Case& c : cases) {
    MacAddress mac{};
    EXPECT_EQ(ParseMac(c.text, mac), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(mac, (MacAddress{0x02, 0x47, 0x00, 0x0A, 0x0B, 0x0C})) << c.text;
  }
}

TEST(CtlCommandLine, JsonReadsWhatItWritesAndRefusesTheRest) {
  Json doc = Json::Object();
  doc.set("text", Json::String("会社 \"q\" \\ \n\t\x01"));
  doc.set("n", Json::Integer(-9223372036854775807LL - 1));
  doc.set("list", Json::Array()).push(Json::Bool(true));
  JsonError where;
  const std::optional<Json> back = ParseJson(doc.dump(), where);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->dump(), doc.dump());
  EXPECT_EQ(back->find("text")->asString(), "会社 \"q\" \\ \n\t\x01");

  const std::optional<Json> escapes = ParseJson(R"(["\u00e9\ud83d\ude00", 12345678901234567890, 1.5])", where);
  ASSERT_TRUE(escapes);
  EXPECT_EQ(escapes->items()[0].asString(), "é😀");
  EXPECT_EQ(escapes->items()[1].type(), Json::Type::Number);  // beyond 64 bits
  EXPECT_EQ(escapes->items()[2].type(), Json::Type::Number);

  const char* bad[] = {"",     "{",       "[1,]",          "{\"a\" 1}",        "\"\\ud800\"", "\"\x01\"",
                       "01",   "[1] [2]", "\"\xC3\x28\"", "\"\xED\xA0\x80\"", "nul",        "-",
                       "1e",   "{\"a\":}"};
  for (const char* b : bad) EXPECT_FALSE(ParseJson(b, where)) << b;
  EXPECT_FALSE(ParseJson(std::string(33, '[') + std::string(33, ']'), where));  // nested too deep
  EXPECT_TRUE(ParseJson(std::string(32, '[') + std::string(32, ']'), where));
}

}  // namespace
}  // namespace lx47::ctl

namespace lx47::ctl {
namespace {

// The runner waits for the job's end on a thread of its own and passes the
// progress on as it comes.
TEST(CtlRunner, RunsTheJobOnItsOwnThreadAndPassesItsProgressOn) {
  Session session;
  JobRunner runner(session, Io::Current());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id worker;
  const int code = runner.Run(
      [&worker](const ExchangeContext& x) {
        worker = std::this_thread::get_id();
        for (std::uint32_t sent = 0; sent <= 30; sent += 10) x.notify->post(UWM_PROCESS_PROGRESS, sent, 30);
        return 7;
      },
      [&seen](std::uint32_t sent, std::uint32_t total) { seen.emplace_back(sent, total); });
  EXPECT_EQ(code, 7);
  EXPECT_NE(worker, caller);
  EXPECT_EQ(seen, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0, 30}, {10, 30}, {20, 30}, {30, 30}}));
}

}  // namespace
}  // namespace lx47::ctl
