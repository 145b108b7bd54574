// Settings kept as values under one registry key path, created level by level.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/settings_store.h"
#include "base/win32_handles.h"

namespace velk {

class RegistryStore final : public SettingsStore {
public:
    // KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY
    static constexpr REGSAM kAccess = 0x2001F;

    RegistryStore() = default;
    ~RegistryStore() override { Close(); }
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Opens root\top\company\product\version[\section]; top defaults to "Software".
    bool Open(const char* company, const char* product, const char* version, const char* section,
              HKEY root, const char* top = nullptr);
    void Close();
    bool SelectSection(const char* section);

    int32_t ReadDword(const char* name, int32_t defaultValue) override;
    char* ReadString(const char* name, char* buffer, uint32_t& size, const char* defaultValue) override;
    bool WriteDword(const char* name, int32_t value) override;
    bool WriteString(const char* name, const char* text) override;
    bool DeleteValue(const char* name) override;

    // A value under the key. Its name and the data of text types are UTF-8
    // (without the terminating NULs); other data raw.
    struct StoredValue {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;   // the whole data, or its start when the listing keeps less
        uint64_t size = 0;  // the length of the whole data, in the form of `data`
    };
    // Given the names of every value under the key, in the registry's order:
    // the positions of those to read, in the order wanted.
    using ValueChoice = std::function<std::vector<size_t>(const std::vector<std::string>& names)>;
    // The values that `choose` picks (without a choice, every value in the
    // registry's order), keeping at most `keep` bytes of each one's data.
    // Only the values picked are read, one at a time.
    std::vector<StoredValue> ListValues(const ValueChoice& choose = nullptr, size_t keep = SIZE_MAX) const;

    static bool CreateKey(HKEY parent, const char* name, HKEY* result);

    bool isOpen() const { return isOpen_; }
    HKEY rootKey() const { return rootKey_; }
    HKEY sectionKey() const { return sectionKey_; }
    HKEY versionKey() const { return versionKey_.get(); }
    const std::string& productName() const { return productName_; }
    const std::string& sectionName() const { return sectionName_; }

private:
    bool isOpen_ = false;
    HKEY rootKey_ = nullptr;  // predefined root: never closed
    RegKey softwareKey_;
    RegKey companyKey_;
    RegKey productKey_;
    RegKey versionKey_;
    RegKey sectionSubKey_;        // owned only when a section is in use
    HKEY sectionKey_ = nullptr;   // versionKey_ or sectionSubKey_: what reads and writes use
    std::string productName_;
    std::string sectionName_;
};

}  // namespace velk
