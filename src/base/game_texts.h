// The game's names from the launcher's string table, loaded once at start-up
// and handed to each step that names the game, its files or its disc.
#pragma once
#include <string>

namespace velk {

struct GameTexts {
    std::string gameTitle;          // 9
    std::string windowTitle;        // 57
    std::string registryProduct;    // 58
    std::string discMarkerFile;     // 59
    std::string setupProgram;       // 61
    std::string shortName;          // 62
    std::string titlePictureCount;  // 63
    std::string language;           // 84
};

}  // namespace velk
