// The guard: wendrel.exe started again by the running program, without a window or tray icon,
// that waits for the program to end however it ends (its own exit, a crash, being killed) and
// then gives the windows the program left without their taskbar buttons their buttons back,
// from the list the program keeps beside itself.
#pragma once

namespace wendrel::win32 {

// When this process was started as a guard, waits for the program, does the guard's work and
// returns true: the process is then to end. Otherwise returns false at once.
bool RunGuardIfAsked();

// Starts a guard for this process. The guard costs nothing while it waits; failing to start
// one leaves the windows to the program's own exit and to its next start.
void StartGuard();

// Makes a crash (an unhandled exception, std::terminate) end the process at once, without a
// dialog that would keep it alive, so that the guard can give the windows back.
void EndAtOnceOnCrash();

}  // namespace wendrel::win32
