// The name rules on any text: trimming is done once and for all, an accepted name holds none
// of the refused characters, and a name accepted as a group's file name stays one file inside
// the Groups folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "store/groups.h"

namespace {

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
  devices.push_back("COM0");
  devices.push_back("LPT0");
  for (const std::string& extra : {"CONIN$", "CONOUT$"}) devices.push_back(extra);
  // The superscript digits one, two and three, as the program's UTF-8 text spells them.
  for (const std::string& superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) {
    devices.push_back("COM" + superscript);
    devices.push_back("LPT" + superscript);
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

  // A name accepted as a group's file name stays one file inside the Groups folder.
  if (wendrel::IsPlainFileName(input)) {
    FUZZ_CHECK(!input.empty());
    FUZZ_CHECK(input.find_first_of("\\/:*?\"<>|") == std::string::npos);
    FUZZ_CHECK(input.back() != '.' && input.back() != ' ');
    FUZZ_CHECK(
        std::none_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }));
    FUZZ_CHECK(!IsDeviceName(input));
  }
  return 0;
}
