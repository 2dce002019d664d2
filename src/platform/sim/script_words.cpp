#include "platform/sim/script_words.h"

#include <charconv>

#include "platform/sim/sim_desktop.h"

namespace wendrel::sim {

std::int64_t Number(const Word& word) {
  std::int64_t value = 0;
  const char* first = word.text.data();
  const char* last = first + word.text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (word.text.empty() || error != std::errc() || end != last) throw SimError{"not a number: " + word.text};
  return value;
}

std::int32_t Int32(const Word& word) {
  const std::int64_t value = Number(word);
  if (value < INT32_MIN || value > INT32_MAX) throw SimError{"number out of range: " + word.text};
  return static_cast<std::int32_t>(value);
}

std::int32_t ExStyle(const Word& word) {
  std::uint32_t value = 0;
  const std::string& text = word.text;
  const char* first = text.data() + 2;
  const char* last = text.data() + text.size();
  if (text.size() < 3 || text.compare(0, 2, "0x") != 0) throw SimError{"not a style: " + text};
  const auto [end, error] = std::from_chars(first, last, value, 16);
  if (error != std::errc() || end != last) throw SimError{"not a style: " + text};
  return static_cast<std::int32_t>(value);
}

float Coordinate(const Word& word) {
  float value = 0;
  const char* first = word.text.data();
  const char* last = first + word.text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (word.text.empty() || error != std::errc() || end != last) throw SimError{"not a number: " + word.text};
  return value;
}

void Arity(const std::vector<Word>& words, size_t least, size_t most) {
  if (words.size() < least || words.size() > most)
    throw SimError{"wrong number of words for " + words[0].text};
}

bool Is(const Word& word, const char* keyword) { return !word.quoted && word.text == keyword; }

std::vector<Word> SplitWords(const std::string& line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    Word word;
    if (line[i] == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          word.text += c;
          continue;
        }
        if (i >= line.size()) break;
        switch (const char escaped = line[i++]) {
          case '"':
          case '\\':
            word.text += escaped;
            break;
          case 't':
            word.text += '\t';
            break;
          case 'r':
            word.text += '\r';
            break;
          case 'n':
            word.text += '\n';
            break;
          default:
            throw SimError{std::string("unknown escape \\") + escaped};
        }
      }
      if (!closed) throw SimError{"unterminated quote"};
      if (i < line.size() && line[i] != ' ' && line[i] != '\t') throw SimError{"text after a closing quote"};
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word.text += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace wendrel::sim
