#include "platform/win32/app_windows.h"

#include "platform/win32/win.h"

namespace wendrel::win32 {
namespace {

class NoWatch final : public IAppWindowWatch {
 public:
  void RequestAddress(WindowHandle) override {}
};

}  // namespace

std::unique_ptr<IAppWindowWatch> AppWindows::Watch(AppWindowEventHandler, AddressReadHandler) {
  return std::make_unique<NoWatch>();
}

void Programs::Launch(const std::string& program, const std::vector<std::string>&) {
  throw PlatformError("cannot start " + program);
}

}  // namespace wendrel::win32
