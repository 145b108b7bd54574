// The demo and movie previews of the data disc: one list per profile file,
// one entry per section, in the order of the sections. The profile reading
// and the shell come from a host, so the rules here need no Windows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velk {

// Sizes of the texts read from a profile file, terminator included.
constexpr uint32_t kSectionNamesCapacity = 1020;
constexpr uint32_t kPreviewTextCapacity = 60;    // "Name" and "File": at most 59 characters
constexpr uint32_t kCurrentFolderCapacity = 250;

// What the previews need from the system.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    // The current folder, at most capacity − 1 characters; empty when it cannot be had.
    virtual std::string CurrentFolder(uint32_t capacity) = 0;
    // The section names of the profile file into `buffer`, each ended by a NUL and
    // the list by a second NUL; returns the characters stored, without the last NUL.
    // A list longer than the buffer is cut short: the result is then capacity − 2.
    virtual uint32_t SectionNames(const std::string& profile, char* buffer, uint32_t capacity) = 0;
    // The key's text of the section (empty when missing), cut to capacity − 1 characters.
    virtual std::string ReadText(const std::string& profile, const std::string& section, const char* key,
                                 uint32_t capacity) = 0;
    // Opens the file with the program associated with its type; true when the shell did.
    virtual bool OpenWithShell(const std::string& path) = 0;
};

struct PreviewEntry {
    std::string name;    // shown in the list box
    std::string file;    // relative to folder
    std::string folder;  // the list's folder

    // The folder, a "\" unless the folder already ends with one, then the file.
    std::string EntryPath() const;
    bool Launch(PreviewHost& host) const;
};

class PreviewList {
public:
    explicit PreviewList(PreviewHost& host) : host_(host) {}
    PreviewList(const PreviewList&) = delete;
    PreviewList& operator=(const PreviewList&) = delete;

    std::string iniName;
    std::string folder;
    std::vector<std::unique_ptr<PreviewEntry>> entries;

    // Reads the profile file `iniName` of `folder` (empty: the current folder).
    // False when the file has no section (the cut piece of a name too long for
    // the section list is none); entries read before a failure stay.
    bool Load(const char* iniName, const char* folder);
    // None when a text is missing.
    PreviewEntry* AddEntry(const char* name, const char* file);
    // True when the entry is one of this list's (list-box item data is checked with it).
    bool Holds(const PreviewEntry* entry) const;
    void Clear();
    PreviewHost& host() const { return host_; }

private:
    PreviewHost& host_;
};

// The profile file's path: the folder, "\" when the folder is not empty and
// does not end with one, then the file name.
std::string ProfilePath(const std::string& folder, const std::string& iniName);

// The names of a section-name list as the host stored it (`length` characters),
// up to the first empty name.
std::vector<std::string> SplitSectionNames(const char* buffer, uint32_t length);

}  // namespace velk
