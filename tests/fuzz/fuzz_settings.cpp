// Feeds arbitrary INI files (a hand-edited or damaged settings file) to the
// start-up's reading of the tool settings: every value must come out in its
// range, be written back, and read the same the next time the tool starts.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/LX47ConfigToolApp.h"
#include "protocol/search_mac.h"
#include "protocol/tool_settings.h"
#include "ui/settings_store.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

struct Loaded {
  int option1, allHosts, sends, recvs, delay, bcCfg, bcFup;
  bool mask;
  bool operator==(const Loaded&) const = default;
};

Loaded Load(const QString& path) {
  auto store = lx47::store::CreateIniFileStore(path);
  const lx47::ToolSettings t = lx47::app::LoadToolSettings(*store);
  Loaded l{t.APP_SETTING_OPTION1, t.ALL_HOST_SCAN, t.MaxSendCmdLoopCount, t.MaxRecvLoopCount,
           t.RecvDelay_msec, t.USE_BC_CFG, t.USE_BC_FUP, t.MaskSetting != 0};
  lx47::MacAddress mac{};
  lx47::ParseSearchMacAdrs(store->readString(QStringLiteral("SearchMacAdrs")).toStdU16String(), mac);
  return l;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Every stored value is flushed with an fsync; a memory file system keeps
  // that from being the whole cost of an execution.
  static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/lx47-fuzz-XXXXXX")
                                                                     : QString());
  static unsigned serial = 0;
  // A new file name each time: QSettings caches what it parsed per file.
  const QString path = dir.filePath(QStringLiteral("s%1.ini").arg(++serial));
  {
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const Loaded first = Load(path);
  Check(first.option1 == 0 || first.option1 == 1);
  Check(first.allHosts == 0 || first.allHosts == 1);
  Check(first.bcCfg == 0 || first.bcCfg == 1);
  Check(first.bcFup == 0 || first.bcFup == 1);
  Check(first.sends >= 1 && first.recvs >= 1);
  Check(first.delay >= 1 && first.delay <= 500);
  // What was normalised was written back: a second start reads the same.
  Check(Load(path) == first);
  QFile::remove(path);
  return 0;
}
