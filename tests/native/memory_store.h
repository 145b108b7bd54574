// An in-memory settings store for the platform-free tests.
#pragma once
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "base/settings_store.h"

namespace velk {

// An in-memory settings store with the registry's rules for texts.
class MemoryStore final : public SettingsStore {
public:
    std::map<std::string, int32_t> numbers;
    std::map<std::string, std::string> texts;
    int32_t ReadDword(const char* name, int32_t d) override {
        auto it = numbers.find(name);
        return it == numbers.end() ? d : it->second;
    }
    char* ReadString(const char* name, char* buffer, uint32_t& size, const char* d) override {
        auto it = texts.find(name);
        if (it != texts.end() && it->second.size() + 1 <= size) {
            memcpy(buffer, it->second.c_str(), it->second.size() + 1);
            size = static_cast<uint32_t>(it->second.size() + 1);
            return buffer;
        }
        if (d) {
            strcpy(buffer, d);
            size = static_cast<uint32_t>(strlen(d));
            return buffer;
        }
        size = 0;
        return nullptr;
    }
    bool WriteDword(const char* name, int32_t v) override { return numbers[name] = v, true; }
    bool WriteString(const char* name, const char* t) override { return texts[name] = t, true; }
    bool DeleteValue(const char* name) override { return numbers.erase(name), texts.erase(name), true; }
};

}  // namespace velk
