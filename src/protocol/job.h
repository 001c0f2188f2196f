// What the runner runs on its worker thread: one worker procedure with its
// request. The result goes into an optional that the caller owns and reads
// once the end message has come; it stays empty when the job never ran.
#pragma once

#include <functional>
#include <optional>

#include "protocol/exchange_context.h"
#include "protocol/workers.h"

namespace lx47 {

// Returns the code that UWM_PROCESS_END carries.
using Job = std::function<int(const ExchangeContext&)>;

Job SearchJob(SearchRequest request, std::optional<SearchResult>& result);
Job WriteJob(WriteRequest request, std::optional<WriteResult>& result);
Job FactoryResetJob(FactoryResetRequest request);
Job RouterScanJob(RouterScanRequest request, std::optional<RouterScanResult>& result);
Job FirmwareJob(FirmwareRequest request);

// Runs the job on a thread of its own, which posts UWM_PROCESS_END with the
// job's code to x.notify as its last action. False when no thread could be
// made (the job does not run).
bool StartJob(Job job, const ExchangeContext& x);

}  // namespace lx47
