// The simulated desktop's parts, one per platform interface; each acts on the one desktop.
#pragma once

#include "dialog/options_dialog.h"
#include "platform/sim/sim_desktop.h"

namespace wendrel::sim {

class SimDesktop::WindowSystem : public IWindowSystem {
 public:
  explicit WindowSystem(SimDesktop& desktop) : d_(desktop) {}
  bool PreviousInstance() override { return d_.previousInstance_; }
  std::uint32_t SessionId() override { return d_.sessionId_; }
  std::uint32_t ProcessId() override { return kProcessId; }
  PixelRect WorkArea() override { return d_.workArea_; }
  std::int32_t TwipsPerPixelX() override { return d_.twipsPerPixel_; }
  std::int32_t TwipsPerPixelY() override { return d_.twipsPerPixel_; }
  std::int32_t ScreenWidth() override { return d_.screenWidth_ * d_.twipsPerPixel_; }
  std::int32_t ScreenHeight() override { return d_.screenHeight_ * d_.twipsPerPixel_; }
  void ShowWindow(WindowHandle window, std::int32_t command) override;
  void SetWindowLongA(WindowHandle window, std::int32_t index, std::int32_t value) override;
  std::int32_t GetWindowLongA(WindowHandle window, std::int32_t index) override;
  void SetWindowPos(WindowHandle window, WindowHandle insertAfter, std::int32_t x, std::int32_t y,
                    std::int32_t width, std::int32_t height, std::uint32_t flags) override;
  void BringWindowToTop(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  std::string WindowClass(WindowHandle window) override;
  std::string ProcessImage(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  void AwaitHiddenOrGone(std::span<const WindowHandle> windows, std::int32_t milliseconds) override;
  void EndProcess() override { d_.EndProcess(); }

  static constexpr std::uint32_t kProcessId = 4242;

 private:
  SimDesktop& d_;
};

class SimDesktop::StripWindow : public IStripWindow {
 public:
  explicit StripWindow(SimDesktop& desktop) : d_(desktop) {}
  WindowHandle Handle() override { return kStripHandle; }
  std::int64_t IconHandle() override { return kIconHandle; }
  void SetBounds(const TwipBounds& bounds) override { d_.stripBounds_ = bounds; }
  void SetImagePosition(std::int32_t left, std::int32_t top) override {
    d_.imageLeft_ = left;
    d_.imageTop_ = top;
  }
  void SetFrameBounds(const TwipBounds& bounds) override { d_.frameBounds_ = bounds; }
  void SetTabStripBounds(const TwipBounds& bounds) override {
    if (bounds.width != d_.tabStripBounds_.width) d_.InvalidateLayout();
    d_.tabStripBounds_ = bounds;
  }
  void Show() override;
  void SetFocus() override {}
  void Restore() override {}

 private:
  SimDesktop& d_;
};

class SimDesktop::TabStripView : public ITabStripView {
 public:
  explicit TabStripView(SimDesktop& desktop) : d_(desktop) {}
  void InsertTab(int index) override;
  void RemoveTab(int index) override;
  void SetCaption(int index, const std::string& caption) override;
  void SetToolTip(int index, const std::string& tip) override { At(index).tip = tip; }
  void SetSelected(int index) override;
  void SetMultiRow(bool multiRow) override;
  TabRect TabRectangle(int index) override;

 private:
  TabView& At(int index);
  SimDesktop& d_;
};

class SimDesktop::Timer : public ITimer {
 public:
  explicit Timer(SimDesktop& desktop) : d_(desktop) {}
  void SetTickHandler(std::function<void()> handler) override { d_.tickHandler_ = std::move(handler); }
  bool Enabled() override { return d_.timerEnabled_; }
  void SetEnabled(bool enabled) override;
  std::int32_t Interval() override { return d_.timerInterval_; }
  void SetInterval(std::int32_t milliseconds) override;
  std::int64_t Now() override { return d_.now_; }

 private:
  SimDesktop& d_;
};

class SimDesktop::ShellEvents : public IShellEvents {
 public:
  ShellEvents(SimDesktop& desktop, ShellEventHandler registered, ShellEventHandler revoked);
  ~ShellEvents() override;
  void Deliver(bool registered, std::int32_t cookie) { (registered ? registered_ : revoked_)(cookie); }

 private:
  SimDesktop& d_;
  ShellEventHandler registered_;
  ShellEventHandler revoked_;
};

class SimDesktop::Browser : public IBrowser {
 public:
  Browser(SimDesktop& desktop, WindowHandle window) : d_(desktop), window_(window) {}
  WindowHandle Hwnd() override;
  std::string LocationName() override;
  std::string LocationURL() override;
  void Navigate(const std::string& url) override;
  void Refresh() override;
  void Stop() override;
  void Quit() override;
  void SetVisible(bool visible) override;

 private:
  // The window behind this object, counting the call; throws when it has gone.
  SimWindow& Reach();
  // An action on the window, printed with " failed" when the window refuses it.
  void Act(const std::string& what, WindowFault fault);

  SimDesktop& d_;
  WindowHandle window_;
};

class SimDesktop::ShellWindows : public IShellWindows {
 public:
  explicit ShellWindows(SimDesktop& desktop) : d_(desktop) {}
  std::vector<std::unique_ptr<IBrowser>> Items() override;

 private:
  SimDesktop& d_;
};

class SimDesktop::Shell : public IShell {
 public:
  explicit Shell(SimDesktop& desktop) : d_(desktop) {}
  std::unique_ptr<IShellWindows> CreateShellWindows() override { return std::make_unique<ShellWindows>(d_); }
  std::unique_ptr<IShellEvents> Subscribe(ShellEventHandler registered, ShellEventHandler revoked) override {
    return std::make_unique<ShellEvents>(d_, std::move(registered), std::move(revoked));
  }
  std::unique_ptr<IBrowser> CreateBrowser() override;

 private:
  SimDesktop& d_;
};

class SimDesktop::AppWindows : public IAppWindows {
 public:
  explicit AppWindows(SimDesktop& desktop) : d_(desktop) {}
  std::vector<AppWindowFacts> List() override;
  std::optional<AppWindowFacts> Facts(WindowHandle window) override;
  std::unique_ptr<IAppWindowWatch> Watch(AppWindowEventHandler onEvent,
                                         AddressReadHandler onAddress) override;
  bool Refresh(WindowHandle window) override;
  bool Stop(WindowHandle window) override;
  bool Close(WindowHandle window) override;

 private:
  SimDesktop& d_;
};

class SimDesktop::AppWatch : public IAppWindowWatch {
 public:
  AppWatch(SimDesktop& desktop, AppWindowEventHandler onEvent, AddressReadHandler onAddress);
  ~AppWatch() override;
  void RequestAddress(WindowHandle window) override;
  void DeliverEvent(WindowHandle window, AppWindowEvent event) { onEvent_(window, event); }
  void DeliverAddress(const AddressRead& result) { onAddress_(result); }

 private:
  SimDesktop& d_;
  AppWindowEventHandler onEvent_;
  AddressReadHandler onAddress_;
};

// Records the sign-in entry; every change prints a line.
class SimDesktop::SignIn : public ISignIn {
 public:
  explicit SignIn(SimDesktop& desktop) : d_(desktop) {}
  bool StartsThisProgram() override { return d_.signInEntry_ == d_.SignInCommand(); }
  void SetStartsThisProgram(bool start) override {
    d_.signInEntry_ = start ? std::optional<std::string>(d_.SignInCommand()) : std::nullopt;
    d_.Print(start ? "signin add " + Quoted(d_.SignInCommand()) : "signin remove");
  }

 private:
  SimDesktop& d_;
};

class SimDesktop::Programs : public IPrograms {
 public:
  explicit Programs(SimDesktop& desktop) : d_(desktop) {}
  std::string DefaultHttpsProgram() override { return d_.defaultBrowser_; }
  void Launch(const std::string& program, const std::vector<std::string>& arguments) override;

 private:
  SimDesktop& d_;
};

class SimDesktop::Tray : public ITray {
 public:
  explicit Tray(SimDesktop& desktop) : d_(desktop) {}
  void Shell_NotifyIconA(std::uint32_t message, const TrayIconData& data) override;

 private:
  SimDesktop& d_;
};

class SimDesktop::Prompts : public IPrompts {
 public:
  explicit Prompts(SimDesktop& desktop) : d_(desktop) {}
  Answer MessageBox(const std::string& text, Buttons buttons, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override;

 private:
  SimDesktop& d_;
};

class SimDesktop::DialogView : public IDialogView {
 public:
  DialogView(SimDesktop& desktop, OptionsDialog& dialog) : d_(desktop), dialog_(dialog) {}
  ~DialogView() override;
  std::int32_t OuterWidth() override { return OptionsDialog::kClientWidth + 2 * 60; }
  std::int32_t OuterHeight() override { return OptionsDialog::kClientHeight + 60 + 360; }
  void Move(std::int32_t, std::int32_t) override {}
  void Show() override;
  // Activating a window lets the desktop deliver what is pending, as every activation does.
  void Activate() override { d_.Pump(PumpKind::kAny); }
  void Refresh() override {}

 private:
  SimDesktop& d_;
  OptionsDialog& dialog_;
};

class SimDesktop::DialogHost : public IDialogHost {
 public:
  explicit DialogHost(SimDesktop& desktop) : d_(desktop) {}
  std::unique_ptr<IDialogView> CreateView(OptionsDialog& dialog) override {
    return std::make_unique<DialogView>(d_, dialog);
  }

 private:
  SimDesktop& d_;
};

}  // namespace wendrel::sim
