// What every fuzz target checks with: a stop on a broken promise, and the
// engine's view of a command line as words.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

namespace velk::fuzz {

// Stops the run on a broken promise; a crash is what the fuzzer reports.
inline void Require(bool condition) {
    if (!condition) abort();
}

inline bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The words the engine takes from a command line: blanks (and control
// characters, which the command file turns into blanks) part them, and a
// quote mark opens or closes a stretch in which blanks belong to the word.
// The quote marks themselves are not part of any word; "" is an empty word.
inline std::vector<std::string> EngineWords(const std::string& line) {
    std::vector<std::string> words;
    bool inWord = false, quoted = false;
    for (char c : line) {
        const bool blank = c == ' ' || IsControl(c);
        if (c == '"') {
            quoted = !quoted;
        } else if (blank && !quoted) {
            inWord = false;
            continue;
        }
        if (!inWord) words.emplace_back();
        inWord = true;
        if (c != '"') words.back() += blank ? ' ' : c;
    }
    return words;
}

}  // namespace velk::fuzz
