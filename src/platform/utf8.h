// The program keeps text as UTF-8; these count and cut it by characters (code points).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wendrel {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Reads the character at `at` and moves past it. A byte that does not start a well-formed
// sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF, cut short) reads as
// U+FFFD and moves one byte on, so every byte belongs to exactly one character.
char32_t NextCharacter(std::string_view text, size_t& at);

// Appends a character as UTF-8.
void AppendUtf8(std::string& out, char32_t character);

// The number of characters.
size_t CharacterCount(std::string_view text);

// The length in UTF-16 code units, as Windows counts a path: one per character, two beyond
// the basic plane.
size_t Utf16Length(std::string_view text);

// The text without the spaces (code 32 only) at its ends; no character is cut.
std::string_view TrimSpaces(std::string_view text);

// The first `count` characters, never ending inside one.
std::string_view FirstCharacters(std::string_view text, size_t count);

// Well-formed UTF-8: every malformed byte becomes U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace wendrel
