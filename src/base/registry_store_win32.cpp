#include "base/registry_store.h"

#include <cstring>

#include "base/utf8.h"

namespace velk {

namespace {
constexpr size_t kNameCapacity = 255;  // product and section copies: 256 bytes with the NUL

std::string CopyName(const char* text) {
    std::string s = text ? text : "";
    if (s.size() > kNameCapacity) s.resize(kNameCapacity);
    return s;
}
}  // namespace

bool RegistryStore::CreateKey(HKEY parent, const char* name, HKEY* result) {
    if (!parent || !name || !result) return false;
    DWORD disposition = 0;
    char emptyClass[] = "";
    return RegCreateKeyExA(parent, name, 0, emptyClass, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                           result, &disposition) == ERROR_SUCCESS;
}

bool RegistryStore::Open(const char* company, const char* product, const char* version,
                         const char* section, HKEY root, const char* top) {
    Close();
    productName_ = CopyName(product);
    sectionName_ = CopyName(section);
    rootKey_ = root;
    if (!top) top = "Software";

    if (!CreateKey(rootKey_, top, softwareKey_.put()) ||
        !CreateKey(softwareKey_.get(), company, companyKey_.put()) ||
        !CreateKey(companyKey_.get(), product, productKey_.put()) ||
        !CreateKey(productKey_.get(), version, versionKey_.put())) {
        // Nothing is kept from a part-way open.
        versionKey_.reset();
        productKey_.reset();
        companyKey_.reset();
        softwareKey_.reset();
        return false;
    }
    isOpen_ = true;
    if (!SelectSection(section)) {
        Close();
        return false;
    }
    return true;
}

bool RegistryStore::SelectSection(const char* section) {
    if (!isOpen_) return false;
    sectionSubKey_.reset();
    if (!section) {
        sectionKey_ = versionKey_.get();
        return true;
    }
    if (!CreateKey(versionKey_.get(), section, sectionSubKey_.put())) {
        sectionKey_ = nullptr;
        return false;
    }
    sectionKey_ = sectionSubKey_.get();
    return true;
}

void RegistryStore::Close() {
    if (!isOpen_) return;
    isOpen_ = false;
    sectionKey_ = nullptr;
    // The version key is the section key when no section is used; its owner closes it once.
    sectionSubKey_.reset();
    versionKey_.reset();
    productKey_.reset();
    companyKey_.reset();
    softwareKey_.reset();
}

int32_t RegistryStore::ReadDword(const char* name, int32_t defaultValue) {
    if (!isOpen_ || !name) return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG rc = RegQueryValueExA(sectionKey_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return defaultValue;
    return static_cast<int32_t>(value);
}

char* RegistryStore::ReadString(const char* name, char* buffer, uint32_t& size, const char* defaultValue) {
    if (isOpen_ && name && buffer && size > 0) {
        DWORD type = 0;
        DWORD stored = size;
        LONG rc = RegQueryValueExA(sectionKey_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &stored);
        if (rc == ERROR_SUCCESS && type == REG_SZ && stored <= size) {
            // A value stored without its NUL: terminate it when there is room;
            // one that fills the whole buffer without a NUL counts as too long.
            if (stored == 0) {
                buffer[0] = '\0';
                size = 1;
                return buffer;
            }
            if (buffer[stored - 1] == '\0') {
                size = stored;
                return buffer;
            }
            if (stored < size) {
                buffer[stored] = '\0';
                size = stored + 1;
                return buffer;
            }
        }
    }
    if (defaultValue && buffer && size > 0) {
        size_t len = std::strlen(defaultValue);
        if (len >= size) len = size - 1;  // never write past the caller's buffer
        std::memcpy(buffer, defaultValue, len);
        buffer[len] = '\0';
        size = static_cast<uint32_t>(len);
        return buffer;
    }
    size = 0;
    return nullptr;
}

bool RegistryStore::WriteDword(const char* name, int32_t value) {
    if (!isOpen_ || !name) return false;
    DWORD v = static_cast<DWORD>(value);
    return RegSetValueExA(sectionKey_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) ==
           ERROR_SUCCESS;
}

bool RegistryStore::WriteString(const char* name, const char* text) {
    if (!isOpen_ || !name || !text) return false;
    DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(sectionKey_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
}

bool RegistryStore::DeleteValue(const char* name) {
    if (!isOpen_ || !name) return false;
    LONG rc = RegDeleteValueA(sectionKey_, name);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

namespace {

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Text data as stored in UTF-16, with the terminating NULs (two for a list of texts) left off.
std::string TextData(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
    for (int ends = type == REG_MULTI_SZ ? 2 : 1; ends > 0 && !text.empty() && text.back() == L'\0'; --ends)
        text.pop_back();
    return Utf8FromWide(text);
}

}  // namespace

std::vector<RegistryStore::StoredValue> RegistryStore::ListValues() const {
    std::vector<StoredValue> values;
    if (!isOpen_) return values;
    DWORD count = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(sectionKey_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(largestData + sizeof(wchar_t));
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        // A value changed meanwhile by someone else may no longer fit: it is left out.
        if (RegEnumValueW(sectionKey_, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        StoredValue value;
        value.name = Utf8FromWide(name.data(), nameLength);
        value.type = type;
        value.data = IsTextType(type) ? TextData(type, data, size)
                                      : std::string(reinterpret_cast<const char*>(data.data()), size);
        values.push_back(std::move(value));
    }
    return values;
}

}  // namespace velk
