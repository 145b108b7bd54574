#include "advanced/advanced_choice.h"

#include "base/settings_store.h"

namespace velk {

void AdvancedChoice::Load(SettingsStore& settings) {
    for (const StoredSwitch& stored : kStoredSwitches) switches.*stored.field = settings.ReadDword(stored.valueName, 0);
    LoadCommandLineText(&settings, &commandLine);
    LoadArchiveChoice(&settings, &archives, &alwaysLoadArchives);
}

void AdvancedChoice::SaveSwitches(SettingsStore& settings) const {
    for (const StoredSwitch& stored : kStoredSwitches) settings.WriteDword(stored.valueName, switches.*stored.field);
}

void AdvancedChoice::Forget(SettingsStore* settings, std::vector<std::string>& notDeleted) {
    if (settings) {
        for (const StoredSwitch& stored : kStoredSwitches)
            if (!settings->DeleteValue(stored.valueName)) notDeleted.push_back(stored.valueName);
        const char* const others[] = {kSaveCommandsValue, kCommandsValue, kSaveArchivesValue, kArchivesValue};
        settings->DeleteValues(others, notDeleted);
    }
    switches = EngineSwitches();
    commandLine = CommandLineSetting();
    archives.clear();
    alwaysLoadArchives = 0;
}

}  // namespace velk
