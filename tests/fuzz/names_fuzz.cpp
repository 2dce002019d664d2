// The name rules on any text: trimming is done once and for all, an accepted name holds none
// of the refused characters, and a name accepted as a group's file name stays one file inside
// the Groups folder.
#include <algorithm>
#include <cctype>

#include "fuzz_check.h"
#include "store/groups.h"

// A Windows device name, with or without an extension, in any letter case; the digits may be
// the superscripts one, two and three, as the program's UTF-8 text spells them.
static bool IsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  for (const std::string device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == device) return true;
  const std::string digit = base.size() > 3 ? base.substr(3) : "";
  const bool port = base.starts_with("COM") || base.starts_with("LPT");
  return port && ((digit.size() == 1 && std::isdigit(static_cast<unsigned char>(digit[0]))) ||
                  digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3");
}

void FuzzText(const std::string& input) {
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
}
