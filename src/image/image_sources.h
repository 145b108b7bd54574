// Where picture and palette bytes come from on Windows: files opened
// read-only and read in one go, and resources of a module, never more bytes
// than the system says they hold.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/win32_handles.h"
#include "image/byte_span.h"
#include "image/picture_layout.h"

namespace velk {

// Picture files beyond this are refused before anything is read.
constexpr uint32_t kMaxPictureFileBytes = 2 * kMaxPictureBytes;

class InputFile {
public:
    explicit InputFile(const char* path);
    bool IsOpen() const { return file_.valid(); }
    // False when the size cannot be had.
    bool Size(uint64_t* size) const;
    // Bytes read from `offset` into `out`, at most `count`.
    uint32_t ReadAt(uint64_t offset, uint8_t* out, uint32_t count);

private:
    FileHandle file_;
};

struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
    ByteSpan span() const { return ByteSpan(data.get(), size); }
};

// The whole file in one read. False when it cannot be opened, is empty or
// larger than maxBytes, or memory runs out; a short read keeps what came.
bool ReadWholeFile(const char* path, uint32_t maxBytes, FileBytes* bytes);

// The locked bytes of a resource, empty when the module is null or the
// resource is missing.
ByteSpan ResourceBytes(HMODULE module, const char* name, const char* type);

}  // namespace velk
