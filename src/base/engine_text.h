// Texts that go into the engine's command line between quote marks.
#pragma once
#include <string>

namespace velk {

// A quote mark would end the quoted text early and let the rest pass as
// switches of its own; a control character (DEL too) becomes a blank in the
// command file.
inline bool CanStandBetweenQuotes(const std::string& text) {
    for (unsigned char c : text)
        if (c == '"' || c < 0x20 || c == 0x7F) return false;
    return true;
}

}  // namespace velk
