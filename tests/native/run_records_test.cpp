#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "advanced/advanced_choice.h"
#include "memory_store.h"
#include "sound/sound_providers.h"

namespace velk {
namespace {

// A record forgets exactly the values it stores, and is then at its defaults
// but for what is no choice of the player's.
TEST(RunRecords, ForgetDeletesTheRecordsOwnValuesAndPutsItBack) {
    struct Case {
        const char* owner;
        std::vector<std::string> owned;
        std::function<std::string(MemoryStore&)> loadAndForget;  // what the record holds afterwards
        std::string expected;
    } const cases[] = {
        {"advanced",
         {"Disable Sound", "Disable Music", "Disable Movies", "Disable Fog", "Disable Joystick", "Disable TripBuf",
          "Disable Cursor", "Disable Loadscreen", "Save Commands", "Commands", "Save Rez Files", "Rez Files"},
         [](MemoryStore& store) {
             AdvancedChoice c;
             c.Load(store);
             c.noteSelection = 3;
             if (c.commandLine.commandLineText != "+god 1" || c.archives.size() != 1) return std::string("not loaded");
             std::vector<std::string> notDeleted;
             c.Forget(&store, notDeleted);
             return BuildSwitchFragment(c.switches) + "|" + std::to_string(c.commandLine.saveCommands) +
                    c.commandLine.commandLineText + "|" + BuildArchiveFragment(c.archives) +
                    std::to_string(c.alwaysLoadArchives) + "|" + std::to_string(c.noteSelection) +
                    std::to_string(notDeleted.size());
         },
         BuildSwitchFragment(EngineSwitches()) + "|1|0|30"},
        {"sound",
         {"Sound Provider", "Sound Provider Name", "Sound 3D Samples", "Sound 2D Samples", "Sound Reverb"},
         [](MemoryStore& store) {
             SoundSetup s;
             LoadSoundChoice(store, s.choice);
             s.confirmed = 1;
             s.search = SoundSearch::Done;
             if (s.choice.providerName != "First") return std::string("not loaded");
             std::vector<std::string> notDeleted;
             s.Forget(&store, notDeleted);
             return SoundFragment(s.choice) + "|" + s.Fragment() + "|" +
                    std::to_string(s.search == SoundSearch::Done) + std::to_string(notDeleted.size());
         },
         SoundFragment(SoundChoice()) + "||10"},
    };
    const std::map<std::string, std::string> texts = {
        {"Commands", "+god 1"}, {"Rez Files", "a.rez"}, {"Sound Provider Name", "First"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.owner);
        MemoryStore store;  // the launcher's bookkeeping beside the record's own values
        store.numbers = {{"AdvWarning", 1}, {"AdvOptSel", 2}, {"Display Warned", 1}, {"Sound Enum Warning", 1}};
        store.texts["Language"] = "Swedish";
        for (const std::string& name : c.owned) {
            if (texts.count(name)) store.texts[name] = texts.at(name);
            else store.numbers[name] = 1;
        }
        EXPECT_EQ(c.loadAndForget(store), c.expected);
        std::vector<std::string> left;
        for (const auto& value : store.numbers) left.push_back(value.first);
        for (const auto& value : store.texts) left.push_back(value.first);
        EXPECT_EQ(left, (std::vector<std::string>{"AdvOptSel", "AdvWarning", "Display Warned", "Sound Enum Warning",
                                                  "Language"}));
    }
}

}  // namespace
}  // namespace velk
