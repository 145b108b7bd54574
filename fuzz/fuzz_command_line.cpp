// The engine command line, with every text that comes from outside fuzzed:
// stored texts, the launcher's command line, the renderer module's card texts,
// the sound provider's name and the saved archive names. The texts of the
// launcher's own resources (title, short name) stay as the build has them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "advanced/archive_list.h"
#include "advanced/switches.h"
#include "display/renderer_list.h"
#include "fuzz_checks.h"
#include "launch/command_line.h"
#include "sound/sound_providers.h"

using velk::fuzz::EngineWords;
using velk::fuzz::Require;

namespace {

// A text that may carry switches of its own is its writer's choice; one that
// leaves a quote open is closed here, so that what follows it is still checked.
std::string Closed(std::string text) {
    if (std::count(text.begin(), text.end(), '"') % 2) text += '"';
    return text;
}

std::string DisplayFragment(FuzzedDataProvider& in) {
    velk::RendererList list;
    list.items.push_back(std::make_unique<velk::Renderer>());
    velk::Renderer& renderer = *list.items.back();
    renderer.fileName = in.ConsumeRandomLengthString(259);
    // A file search returns no empty name, and none with characters no file name may hold.
    std::string& file = renderer.fileName;
    file.erase(std::remove_if(file.begin(), file.end(),
                              [](char c) { return velk::fuzz::IsControl(c) || strchr("\"<>|:*?/\\", c); }),
               file.end());
    if (file.empty()) file = "a.ren";
    const std::string name = in.ConsumeRandomLengthString(127), description = in.ConsumeRandomLengthString(127);
    renderer.currentCard = renderer.AddCard(name, description, 1);
    if (renderer.currentCard) {
        const int32_t width = in.ConsumeIntegral<int32_t>(), height = in.ConsumeIntegral<int32_t>();
        renderer.currentCard->currentMode = renderer.currentCard->AddMode(width, height, in.ConsumeIntegral<int32_t>());
    }
    list.currentRenderer = &renderer;
    return velk::BuildDisplayFragment(list);
}

std::string SoundFragment(FuzzedDataProvider& in) {
    velk::SoundChoice choice;
    const std::string name = in.ConsumeRandomLengthString(velk::kProviderNameLength);
    if (velk::IsPassableProviderName(name)) choice.providerName = name;  // what the library and the store let through
    choice.providerKind = in.ConsumeIntegral<int32_t>();
    choice.samples3D = in.ConsumeIntegral<uint32_t>();
    choice.samples2D = in.ConsumeIntegral<uint32_t>();
    choice.reverb = in.ConsumeIntegral<int32_t>();
    return in.ConsumeBool() ? velk::SoundFragment(choice) : std::string();
}

velk::EngineSwitches Switches(FuzzedDataProvider& in) {
    return {in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(),
            in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    velk::EngineCommandInputs c;
    c.windowTitle = "Velkarion";
    c.shortName = "VELK";
    c.gameArchive = in.PickValueInArray({"VELK.rez", "VELK", "R:\\data\\VELK.rez"});
    c.soundArchive = in.PickValueInArray({"", "sound.rez", "sound"});
    c.updateCommandLine = Closed(in.ConsumeRandomLengthString(255));
    c.contentCommandLine = Closed(in.ConsumeRandomLengthString(255));
    c.multiplayer = in.ConsumeBool();
    c.switchFragment = velk::BuildSwitchFragment(Switches(in));
    c.displayConfirmed = in.ConsumeBool();
    c.displayFragment = DisplayFragment(in);
    c.soundFragment = SoundFragment(in);
    c.archiveFragment = velk::BuildArchiveFragment(velk::SplitArchiveList(in.ConsumeRandomLengthString(2045)));
    c.performanceLevelChosen = in.ConsumeBool();
    c.performanceLevel = in.ConsumeIntegral<int32_t>();
    c.launcherCommandLine = Closed(in.ConsumeRandomLengthString(1024));
    c.commandLineText = in.ConsumeRemainingBytesAsString();

    const std::string line = velk::BuildEngineCommandLine(c);
    for (char ch : line) Require(!velk::fuzz::IsControl(ch));
    std::string head = "TALVEX.EXE -windowtitle \"Velkarion\" -rez " + c.gameArchive;
    if (!c.soundArchive.empty()) head += " -rez " + c.soundArchive;
    head += " -rez VELK2.rez -rez VELKdll.rez -rez VELKl.rez -rez custom";
    Require(line.compare(0, head.size(), head) == 0);

    // No piece reaches into another: the line's words are the words of its
    // pieces, one piece after the other.
    std::vector<std::string> pieces = {head, c.updateCommandLine, c.contentCommandLine,
                                       c.multiplayer ? "+multiplayer 1" : "+multiplayer 0", c.switchFragment,
                                       c.displayConfirmed ? c.displayFragment : "", c.soundFragment,
                                       c.archiveFragment};
    if (c.performanceLevelChosen) pieces.push_back("++PerformanceLevel " + std::to_string(c.performanceLevel));
    pieces.push_back(c.launcherCommandLine);
    pieces.push_back(c.commandLineText);
    std::vector<std::string> words;
    for (const std::string& piece : pieces) {
        for (std::string& word : EngineWords(piece)) words.push_back(std::move(word));
    }
    Require(EngineWords(line) == words);
    return 0;
}
