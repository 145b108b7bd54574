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

// The names of every value under the key, in the registry's order; no data is read.
std::vector<std::wstring> ValueNames(HKEY key) {
    std::vector<std::wstring> names;
    DWORD count = 0, longestName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(longestName + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        // A value added meanwhile by someone else may not fit: it is left out.
        if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data(), length);
    }
    return names;
}

// One value, read whole into `buffer` (kept between reads) and cut to `keep` bytes.
bool ReadValue(HKEY key, const std::wstring& name, size_t keep, std::vector<BYTE>& buffer,
               RegistryStore::StoredValue* value) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    // A value that grows between the two calls is asked again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        if (buffer.size() < size + sizeof(wchar_t)) buffer.resize(size + sizeof(wchar_t));
        size = static_cast<DWORD>(buffer.size());
        const LONG read = RegQueryValueExW(key, name.c_str(), nullptr, &type, buffer.data(), &size);
        if (read == ERROR_MORE_DATA) continue;
        if (read != ERROR_SUCCESS) return false;
        value->name = Utf8FromWide(name);
        value->type = type;
        value->data = IsTextType(type) ? TextData(type, buffer, size)
                                       : std::string(reinterpret_cast<const char*>(buffer.data()), size);
        value->size = value->data.size();
        if (value->data.size() > keep) value->data.resize(keep);
        return true;
    }
    return false;
}

}  // namespace

std::vector<RegistryStore::StoredValue> RegistryStore::ListValues(const ValueChoice& choose, size_t keep) const {
    std::vector<StoredValue> values;
    if (!isOpen_) return values;
    const std::vector<std::wstring> names = ValueNames(sectionKey_);
    std::vector<size_t> picked;
    if (choose) {
        std::vector<std::string> utf8;
        for (const std::wstring& name : names) utf8.push_back(Utf8FromWide(name));
        picked = choose(utf8);
    } else {
        for (size_t i = 0; i < names.size(); ++i) picked.push_back(i);
    }
    std::vector<BYTE> buffer;
    for (size_t index : picked) {
        StoredValue value;
        if (index < names.size() && ReadValue(sectionKey_, names[index], keep, buffer, &value))
            values.push_back(std::move(value));
    }
    return values;
}

}  // namespace velk
