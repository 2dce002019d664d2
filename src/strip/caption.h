// The caption rule's pure parts.
#pragma once

#include <cstdint>
#include <string>

namespace wendrel {

// Removes spaces (code 32 only) at both ends.
std::string TrimBlanks(const std::string& text);

// Shortens a URL to a tab caption of about `width` characters.
std::string CaptionFromURL(const std::string& url, std::int32_t width);

}  // namespace wendrel
