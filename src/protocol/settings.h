// The in-memory tool settings that the exchanges read. Start-up loads them
// from the settings store; they are written on the user-interface thread only
// while no worker runs, and a worker's start orders those writes before its
// reads.
#pragma once

#include <atomic>
#include <cstdint>

namespace lx47 {

inline int APP_SETTING_OPTION1 = 0;
inline int ALL_HOST_SCAN = 1;
inline int MaxSendCmdLoopCount = 10;
inline int MaxRecvLoopCount = 60;
inline int RecvDelay_msec = 20;
inline int USE_BC_CFG = 1;
inline int USE_BC_FUP = 0;
inline bool MaskSetting = false;
// The single host address used when ALL_HOST_SCAN is 0 (network order).
inline std::uint32_t SelectedHostAddress = 0;
// Set by the main window's hidden gesture; the Network and Option pages then
// show and store their extended settings.
inline int ExtendedSettingsShown = 0;

// 1 asks the running exchange to stop. Written by the user-interface thread,
// polled by the worker; relaxed atomic accesses keep the plain-flag
// semantics without a data race.
inline std::atomic<int> AbortRequested{0};

inline void RequestAbort() { AbortRequested.store(1, std::memory_order_relaxed); }
inline void ClearAbort() { AbortRequested.store(0, std::memory_order_relaxed); }
inline bool IsAbortRequested() { return AbortRequested.load(std::memory_order_relaxed) != 0; }

}  // namespace lx47
