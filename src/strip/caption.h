// The caption rule: a URL shortened to a tab caption.
#pragma once

#include <cstdint>
#include <string>

namespace wendrel {

// Shortens a URL to a tab caption of about `width` characters.
std::string CaptionFromURL(const std::string& url, std::int32_t width);

}  // namespace wendrel
