// The launcher's persistent settings, seen by the rest of the launcher as an
// interface so that platform-free code can be tested with an in-memory store.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace velk {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Every read yields its default when the value is absent, of another type or unreadable.
    virtual int32_t ReadDword(const char* name, int32_t defaultValue) = 0;
    // size: in, the buffer's capacity in bytes; out, the stored byte count
    // (NUL included) or the default's length. Returns buffer, or nullptr when
    // nothing was read and there is no default (size is then 0).
    virtual char* ReadString(const char* name, char* buffer, uint32_t& size, const char* defaultValue) = 0;
    virtual bool WriteDword(const char* name, int32_t value) = 0;
    virtual bool WriteString(const char* name, const char* text) = 0;
    // True when the value is gone afterwards (also when there was none).
    virtual bool DeleteValue(const char* name) = 0;

    // A stored text that fits `room` bytes with its NUL; empty when it is
    // absent, of another type or longer.
    std::string ReadText(const char* name, uint32_t room) {
        std::vector<char> buffer(room, '\0');
        const char* text = ReadString(name, buffer.data(), room, nullptr);
        return text ? text : "";
    }

    // Deletes every value named; those that stay are added to `notDeleted`.
    template <typename Names>
    void DeleteValues(const Names& names, std::vector<std::string>& notDeleted) {
        for (const char* name : names)
            if (!DeleteValue(name)) notDeleted.push_back(name);
    }
};

}  // namespace velk
