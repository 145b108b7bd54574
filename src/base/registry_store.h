// Settings kept as values under one registry key path, created level by level.
#pragma once
#include <windows.h>
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

    // Every value under the key, in the registry's order. Names and the data
    // of text types are UTF-8 (without the terminating NULs); other data raw.
    struct StoredValue {
        std::string name;
        DWORD type = REG_NONE;
        std::string data;
    };
    std::vector<StoredValue> ListValues() const;

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
