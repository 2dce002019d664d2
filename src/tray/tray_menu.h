// The tray's mouse notifications and the popup menu with its handlers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace wendrel {

class ActiveTabCommands;
class DialogSlot;
class GroupSession;
class IFileSystem;
class StripController;
class Shutdown;
struct Platform;

inline constexpr std::int16_t kScaleTwips = 1;
inline constexpr std::int16_t kScalePixels = 3;

// The popup menu tree with its exact captions, all items enabled.
std::vector<MenuItem> PopupMenuTree();

class TrayMenu {
 public:
  TrayMenu(const Platform& platform, StripController& strip, GroupSession& groups,
           ActiveTabCommands& activeTab, Shutdown& shutdown, DialogSlot& dialog, std::string filesFolder);

  // The tray's callback arrives as a mouse move whose X holds the mouse message number, in
  // the strip window's scale units.
  void OnTrayNotification(std::int16_t button, std::int16_t shift, float x, float y);
  void ShowTrayMenu();
  void OnStripMouseUp(std::int16_t button, std::int16_t shift, float x, float y);
  void OnImageClick();

  const std::vector<MenuItem>& Menu() const { return menu_; }
  // Runs the handler of a chosen item.
  void Run(const std::string& item);

  void ShowAbout();
  void OpenHelpPage();
  void ShowDialog();
  void CloseProgram();

 private:
  void PopUp();
  void SetEnabled(const std::string& item, bool enabled);

  const Platform& platform_;
  StripController& strip_;
  GroupSession& groups_;
  ActiveTabCommands& activeTab_;
  Shutdown& shutdown_;
  DialogSlot& dialog_;
  std::string filesFolder_;  // where the program keeps its files, told in About
  std::vector<MenuItem> menu_;
  std::int16_t scaleMode_ = kScaleTwips;
};

}  // namespace wendrel
