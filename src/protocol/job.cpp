#include "protocol/job.h"

#include "platform/background_thread.h"
#include "protocol/result_codes.h"

namespace lx47 {

namespace {

// A worker whose result is more than its code.
template <typename Request, typename Result>
Job Keeping(Result (*worker)(const Request&, const ExchangeContext&), Request request, std::optional<Result>& out) {
  return [worker, request = std::move(request), &out](const ExchangeContext& x) {
    out = worker(request, x);
    return out->code;
  };
}

}  // namespace

Job SearchJob(SearchRequest request, std::optional<SearchResult>& result) {
  return Keeping(DiscoveryWorker, std::move(request), result);
}

Job WriteJob(WriteRequest request, std::optional<WriteResult>& result) {
  return Keeping(SettingsWriteWorker, std::move(request), result);
}

Job RouterScanJob(RouterScanRequest request, std::optional<RouterScanResult>& result) {
  return Keeping(RouterScanWorker, std::move(request), result);
}

Job FactoryResetJob(FactoryResetRequest request) {
  return [request = std::move(request)](const ExchangeContext& x) { return FactoryResetWorker(request, x); };
}

Job FirmwareJob(FirmwareRequest request) {
  return [request = std::move(request)](const ExchangeContext& x) { return FirmwareWorker(request, x); };
}

bool StartJob(Job job, const ExchangeContext& x) {
  if (!job) return false;
  return platform::StartBackgroundThread([job = std::move(job), x] {
    const int code = job(x);
    // The last thing the thread does: the runner may free the result's
    // owner and the notifier as soon as this has arrived.
    if (x.notify) x.notify->post(UWM_PROCESS_END, code, 0);
  });
}

}  // namespace lx47
