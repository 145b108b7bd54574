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

// One engine argument also when the text holds a blank, which would split it in two.
inline std::string AsOneArgument(const std::string& text) {
    return text.find(' ') == std::string::npos ? text : '"' + text + '"';
}

// The text with a blank for every character that cannot stand between quote marks.
inline std::string BlankedForQuotes(std::string text) {
    for (char& c : text)
        if (CannotStandBetweenQuotes(static_cast<unsigned char>(c))) c = ' ';
    return text;
}

}  // namespace velk
