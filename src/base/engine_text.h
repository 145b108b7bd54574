// Texts that go into the engine's command line between quote marks.
#pragma once
#include <string>

namespace velk {

// A quote mark would end the quoted text early and let the rest pass as
// switches of its own; a control character (DEL too) becomes a blank in the
// command file.
inline bool CannotStandBetweenQuotes(unsigned char c) { return c == '"' || c < 0x20 || c == 0x7F; }

inline bool CanStandBetweenQuotes(const std::string& text) {
    for (unsigned char c : text)
        if (CannotStandBetweenQuotes(c)) return false;
    return true;
}

// The text with a blank for every character that cannot stand between quote marks.
inline std::string BlankedForQuotes(std::string text) {
    for (char& c : text)
        if (CannotStandBetweenQuotes(static_cast<unsigned char>(c))) c = ' ';
    return text;
}

}  // namespace velk
