// The words of a scenario script line and the readings of a word the commands share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wendrel::sim {

// One word of a script line; quoted words may hold blanks and escapes.
struct Word {
  std::string text;
  bool quoted = false;
};

// Splits a line into words; throws SimError on a bad quote or escape.
std::vector<Word> SplitWords(const std::string& line);

// A whole decimal number; throws SimError otherwise.
std::int64_t Number(const Word& word);
std::int32_t Int32(const Word& word);
// An extended style written as 0x and hex digits.
std::int32_t ExStyle(const Word& word);
// A coordinate in twips, fractions allowed.
float Coordinate(const Word& word);
// Throws SimError unless the line has `least` to `most` words, the command included.
void Arity(const std::vector<Word>& words, size_t least, size_t most);
// A word that names a keyword must be written bare.
bool Is(const Word& word, const char* keyword);

}  // namespace wendrel::sim
