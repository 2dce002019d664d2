// Reads the address field of browser windows through accessibility, on a worker thread with a
// COM apartment of its own, and reports each read on the thread that asked for it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/base_window.h"
#include "platform/win32/handles.h"

namespace wendrel::win32 {

struct FieldRead {
  HWND window = nullptr;
  bool ok = false;
  std::wstring address;  // the text the field shows, as shown
  ULONGLONG milliseconds = 0;
};

// A browser that is slow to answer, or hangs, costs one read its time budget: the read is then
// reported as failed and the worker thread left inside the call is abandoned for a new one (a
// call into a hung program can neither be interrupted nor waited for). A few abandoned threads
// at most: past them, reads fail at once until one of them comes back.
class AddressReader final : private BaseWindow<AddressReader> {
 public:
  using Reported = std::function<void(const FieldRead&)>;

  AddressReader(Reported reported, DWORD budgetMilliseconds);
  ~AddressReader();

  // Asks for a read; a window already waiting for one is not asked for twice.
  void Read(HWND window);

  static const wchar_t* ClassName() { return L"WendrelAddressReader"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  struct Shared;
  struct Worker;

 private:
  friend class BaseWindow<AddressReader>;
  void StartWorker();
  void EnforceBudget();
  void Deliver();

  Reported reported_;
  std::shared_ptr<Shared> shared_;
  std::shared_ptr<Worker> worker_;
  UniqueKernelHandle thread_;
  bool timing_ = false;
};

// The address field's text of one window, found by the field's structure and class, never by its
// localised name; tried through UI Automation where the system has it, else through MSAA. For the
// worker thread: every call may wait on the browser. Empty when the window offers no such field.
class AddressFinder {
 public:
  AddressFinder();
  ~AddressFinder();
  AddressFinder(const AddressFinder&) = delete;
  AddressFinder& operator=(const AddressFinder&) = delete;

  std::optional<std::wstring> Find(HWND window, ULONGLONG deadline);

 private:
  struct Automation;
  std::unique_ptr<Automation> automation_;
};

}  // namespace wendrel::win32
