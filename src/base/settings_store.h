// The launcher's persistent settings, seen by the rest of the launcher as an
// interface so that platform-free code can be tested with an in-memory store.
#pragma once
#include <cstdint>

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
};

}  // namespace velk
