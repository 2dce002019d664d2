#include "platform/win32/address_reader.h"

#include <objbase.h>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace wendrel::win32 {
namespace {

constexpr UINT kReadsDone = WM_APP + 1;
constexpr UINT_PTR kBudgetTimer = 1;
// Threads left inside a call to a hung browser, at most.
constexpr int kMostAbandoned = 4;

// Holds the lock for one scope.
class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

class MultithreadedApartment {
 public:
  MultithreadedApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
  ~MultithreadedApartment() {
    if (ok_) ::CoUninitialize();
  }
  MultithreadedApartment(const MultithreadedApartment&) = delete;
  MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

 private:
  bool ok_;
};

}  // namespace

// What the program's thread and the workers share; every member is guarded by the lock.
struct AddressReader::Shared {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  std::deque<HWND> pending;
  std::vector<FieldRead> done;
  HWND notify = nullptr;
  DWORD budget = 0;
  bool stopping = false;
  int abandoned = 0;  // abandoned workers still inside a call
};

// One worker thread's read in progress, guarded by the shared lock.
struct AddressReader::Worker {
  HWND current = nullptr;
  ULONGLONG started = 0;
  bool abandoned = false;
};

namespace {

struct WorkerStart {
  std::shared_ptr<AddressReader::Shared> shared;
  std::shared_ptr<AddressReader::Worker> worker;
};

DWORD WINAPI Work(void* parameter) {
  const std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
  AddressReader::Shared& shared = *start->shared;
  AddressReader::Worker& self = *start->worker;
  const MultithreadedApartment apartment;
  AddressFinder finder;
  Locked locked(shared.lock);
  for (;;) {
    while (!shared.stopping && shared.pending.empty()) {
      ::SleepConditionVariableSRW(&shared.wake, &shared.lock, INFINITE, 0);
    }
    if (shared.stopping) break;
    const HWND window = shared.pending.front();
    shared.pending.pop_front();
    self.current = window;
    self.started = ::GetTickCount64();
    ::ReleaseSRWLockExclusive(&shared.lock);
    std::optional<std::wstring> address = finder.Find(window, self.started + shared.budget);
    ::AcquireSRWLockExclusive(&shared.lock);
    if (self.abandoned) {
      // The read was reported as failed when its time ran out; this thread's place is taken.
      --shared.abandoned;
      break;
    }
    self.current = nullptr;
    shared.done.push_back(
        {window, address.has_value(), address.value_or(L""), ::GetTickCount64() - self.started});
    // A reader that has gone takes nothing more: the post fails and nobody waits for it.
    ::PostMessageW(shared.notify, kReadsDone, 0, 0);
  }
  return 0;
}

}  // namespace

AddressReader::AddressReader(Reported reported, DWORD budgetMilliseconds)
    : reported_(std::move(reported)), shared_(std::make_shared<Shared>()) {
  Create(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
  shared_->notify = Hwnd();
  shared_->budget = budgetMilliseconds;
}

AddressReader::~AddressReader() {
  {
    Locked locked(shared_->lock);
    shared_->stopping = true;
    ::WakeAllConditionVariable(&shared_->wake);
  }
  // A worker between reads ends at once; one inside a call to a hung browser is left to the end
  // of the process rather than holding the program's exit.
  if (thread_) ::WaitForSingleObject(thread_.get(), 1000);
  if (timing_) ::KillTimer(Hwnd(), kBudgetTimer);
}

void AddressReader::StartWorker() {
  worker_ = std::make_shared<Worker>();
  auto start = std::make_unique<WorkerStart>(WorkerStart{shared_, worker_});
  thread_.reset(::CreateThread(nullptr, 0, &Work, start.get(), 0, nullptr));
  if (!thread_) {
    worker_.reset();
    return;  // reads are then reported failed, one by one
  }
  start.release();  // the thread owns it now
}

void AddressReader::Read(HWND window) {
  if (!worker_) {
    bool room = false;
    {
      Locked locked(shared_->lock);
      room = shared_->abandoned < kMostAbandoned;
    }
    if (room) StartWorker();
    if (!worker_) {
      // Reported as any other read, from the message loop, never from inside this call.
      Locked locked(shared_->lock);
      shared_->done.push_back({window, false, L"", 0});
      ::PostMessageW(Hwnd(), kReadsDone, 0, 0);
      return;
    }
  }
  {
    Locked locked(shared_->lock);
    if (worker_->current == window ||
        std::find(shared_->pending.begin(), shared_->pending.end(), window) != shared_->pending.end())
      return;
    shared_->pending.push_back(window);
    ::WakeConditionVariable(&shared_->wake);
  }
  // The budget is watched only while reads are under way: an idle reader costs nothing.
  if (!timing_) {
    timing_ = ::SetTimer(Hwnd(), kBudgetTimer, std::max<DWORD>(shared_->budget / 4, 50), nullptr) != 0;
  }
}

void AddressReader::EnforceBudget() {
  bool idle = false;
  bool replace = false;
  {
    Locked locked(shared_->lock);
    if (worker_ && worker_->current && ::GetTickCount64() - worker_->started > shared_->budget) {
      worker_->abandoned = true;
      ++shared_->abandoned;
      shared_->done.push_back({worker_->current, false, L"", ::GetTickCount64() - worker_->started});
      replace = true;
    }
    idle = shared_->pending.empty() && (replace || !worker_ || !worker_->current);
  }
  if (replace) {
    worker_.reset();
    thread_.reset();  // the thread goes on alone until its call returns
    std::deque<HWND> waiting;
    {
      Locked locked(shared_->lock);
      waiting.swap(shared_->pending);
    }
    for (HWND window : waiting) Read(window);
    idle = waiting.empty();
  }
  if (idle && timing_) {
    ::KillTimer(Hwnd(), kBudgetTimer);
    timing_ = false;
  }
  Deliver();
}

void AddressReader::Deliver() {
  std::vector<FieldRead> done;
  {
    Locked locked(shared_->lock);
    done.swap(shared_->done);
  }
  // Outside the lock: a receiver may ask for another read at once.
  for (const FieldRead& read : done) reported_(read);
}

LRESULT AddressReader::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kReadsDone) {
    Deliver();
    return 0;
  }
  if (message == WM_TIMER && wParam == kBudgetTimer) {
    EnforceBudget();
    return 0;
  }
  return Default(message, wParam, lParam);
}

}  // namespace wendrel::win32
