#include "image/image_sources.h"

#include <new>

namespace velk {

InputFile::InputFile(const char* path)
    : file_(path ? CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)
                 : INVALID_HANDLE_VALUE) {}

bool InputFile::Size(uint64_t* size) const {
    LARGE_INTEGER length;
    if (!IsOpen() || !GetFileSizeEx(file_.get(), &length) || length.QuadPart < 0) return false;
    *size = static_cast<uint64_t>(length.QuadPart);
    return true;
}

uint32_t InputFile::ReadAt(uint64_t offset, uint8_t* out, uint32_t count) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!IsOpen() || !SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN)) return 0;
    DWORD got = 0;
    if (!ReadFile(file_.get(), out, count, &got, nullptr)) return 0;
    return got;
}

bool ReadWholeFile(const char* path, uint32_t maxBytes, FileBytes* bytes) {
    InputFile file(path);
    uint64_t size = 0;
    if (!file.Size(&size) || size == 0 || size > maxBytes) return false;
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size]);
    if (!data) return false;
    uint32_t got = file.ReadAt(0, data.get(), static_cast<uint32_t>(size));
    if (got == 0) return false;
    bytes->data = std::move(data);
    bytes->size = got;
    return true;
}

ByteSpan ResourceBytes(HMODULE module, const char* name, const char* type) {
    if (!module || !name) return ByteSpan();
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return ByteSpan();
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* locked = loaded ? LockResource(loaded) : nullptr;
    if (!locked) return ByteSpan();
    return ByteSpan(static_cast<const uint8_t*>(locked), size);
}

}  // namespace velk
