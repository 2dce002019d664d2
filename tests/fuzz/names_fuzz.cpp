// The name rules on any text: trimming is done once and for all, an accepted name holds none
// of the refused characters, and a group name accepted as a file name stays one file inside
// the Groups folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "store/groups.h"

namespace {

// Device names a group name must never be. The console names, COM0, LPT0 and the superscript
// aliases are checked once the group-name rule refuses them: set to true then.
constexpr bool kCheckExtendedDeviceNames = false;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return text;
}

bool IsDeviceName(const std::string& name) {
  std::string base = Upper(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
  for (char digit = '1'; digit <= '9'; ++digit) {
    devices.push_back(std::string("COM") + digit);
    devices.push_back(std::string("LPT") + digit);
  }
  if (kCheckExtendedDeviceNames) {
    for (const std::string& extra : {"CONIN$", "CONOUT$", "COM0", "LPT0"}) devices.push_back(extra);
    for (const std::string& superscript : {"\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) {
      devices.push_back("COM" + superscript);
      devices.push_back("LPT" + superscript);
    }
  }
  return std::find(devices.begin(), devices.end(), base) != devices.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  std::string name = input;
  const bool valid = wendrel::IsValidName(name);
  FUZZ_CHECK(name.empty() || (name.front() != ' ' && name.back() != ' '));
  FUZZ_CHECK(input.find(name) != std::string::npos);
  std::string again = name;
  FUZZ_CHECK(wendrel::IsValidName(again) == valid);
  FUZZ_CHECK(again == name);
  if (valid) {
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(name.find_first_of(";,'\":") == std::string::npos);
    // A tab or a line break inside a name would split a group line or a packed list.
    FUZZ_CHECK(name.find_first_of("\t\r\n") == std::string::npos);
  }

  std::string groupName = input;
  const bool validGroup = wendrel::IsValidGroupName(groupName);
  FUZZ_CHECK(groupName == name);
  std::string groupAgain = groupName;
  FUZZ_CHECK(wendrel::IsValidGroupName(groupAgain) == validGroup && groupAgain == groupName);
  if (validGroup) {
    FUZZ_CHECK(valid);
    FUZZ_CHECK(groupName.find_first_of("\\/*?<>|") == std::string::npos);
    FUZZ_CHECK(groupName != "." && groupName != ".." && groupName.back() != '.');
    FUZZ_CHECK(!IsDeviceName(groupName));
  }
  return 0;
}
