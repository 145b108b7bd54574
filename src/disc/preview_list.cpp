#include "disc/preview_list.h"

#include <algorithm>

namespace velk {

namespace {

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

}  // namespace

std::string PreviewEntry::EntryPath() const {
    std::string path = folder;
    if (!EndsWithBackslash(path)) path += '\\';
    return path + file;
}

bool PreviewEntry::Launch(PreviewHost& host) const {
    std::string path = EntryPath();
    if (path.empty()) return false;
    return host.OpenWithShell(path);
}

std::string ProfilePath(const std::string& folder, const std::string& iniName) {
    std::string path = folder;
    if (!path.empty() && !EndsWithBackslash(path)) path += '\\';
    return path + iniName;
}

std::vector<std::string> SplitSectionNames(const char* buffer, uint32_t length) {
    std::vector<std::string> names;
    if (!buffer) return names;
    const char* end = buffer + length;
    for (const char* name = buffer; name < end;) {
        const char* stop = std::find(name, end, '\0');
        if (stop == name) break;  // the empty name ends the list
        names.emplace_back(name, stop);
        name = stop + 1;
    }
    return names;
}

bool PreviewList::Load(const char* iniNameText, const char* folderText) {
    if (!iniNameText) return false;
    iniName = iniNameText;
    folder = folderText ? folderText : "";
    if (folder.empty()) {
        folder = host_.CurrentFolder(kCurrentFolderCapacity);
        // A folder too long to read is none: a bare profile name would be looked for in the system's folder.
        if (folder.empty()) return false;
    }
    const std::string profile = ProfilePath(folder, iniName);

    char buffer[kSectionNamesCapacity] = {};
    uint32_t length = std::min(host_.SectionNames(profile, buffer, kSectionNamesCapacity), kSectionNamesCapacity);
    if (length <= 1) return false;
    // A list that did not fit ends in a cut piece of a section name, which names
    // no section; it is left out unless it happens to name one with texts. (A
    // list that fills the buffer exactly looks the same, so its last section is
    // kept by the same test.)
    const bool cutShort = length == kSectionNamesCapacity - 2;

    std::vector<std::string> sections = SplitSectionNames(buffer, length);
    for (size_t i = 0; i < sections.size(); ++i) {
        std::string name = host_.ReadText(profile, sections[i], "Name", kPreviewTextCapacity);
        std::string file = host_.ReadText(profile, sections[i], "File", kPreviewTextCapacity);
        if (cutShort && i + 1 == sections.size() && name.empty() && file.empty()) break;
        if (!AddEntry(name.c_str(), file.c_str())) return false;
    }
    return !entries.empty();
}

PreviewEntry* PreviewList::AddEntry(const char* name, const char* file) {
    if (!name || !file) return nullptr;
    // The list grows in blocks of ten entries.
    if (entries.size() == entries.capacity()) entries.reserve(entries.size() + 10);
    auto entry = std::make_unique<PreviewEntry>();
    entry->name = name;
    entry->file = file;
    entry->folder = folder;
    entries.push_back(std::move(entry));
    return entries.back().get();
}

bool PreviewList::Holds(const PreviewEntry* entry) const {
    if (!entry) return false;
    return std::any_of(entries.begin(), entries.end(), [entry](const auto& e) { return e.get() == entry; });
}

void PreviewList::Clear() {
    entries.clear();
    iniName.clear();
    folder.clear();
}

}  // namespace velk
