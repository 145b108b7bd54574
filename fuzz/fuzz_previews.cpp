// The preview lists of the data disc, loaded through a host that serves a
// fuzzed section-name list (cut at any length, with any length reported) and
// fuzzed "Name" and "File" texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>

#include "disc/preview_list.h"
#include "fuzz_checks.h"

using velk::fuzz::Require;

namespace {

class FuzzHost final : public velk::PreviewHost {
public:
    explicit FuzzHost(FuzzedDataProvider& in) : in_(in) {}

    std::string CurrentFolder(uint32_t capacity) override { return in_.ConsumeRandomLengthString(capacity - 1); }
    uint32_t SectionNames(const std::string&, char* buffer, uint32_t capacity) override {
        const std::string list = in_.ConsumeRandomLengthString(capacity);
        memcpy(buffer, list.data(), list.size());
        reported = in_.ConsumeBool() ? static_cast<uint32_t>(list.size()) : in_.ConsumeIntegral<uint32_t>();
        served.assign(buffer, capacity);
        return reported;
    }
    std::string ReadText(const std::string&, const std::string& section, const char* key, uint32_t capacity) override {
        std::string text = in_.ConsumeRandomLengthString(capacity - 1);
        asked.push_back({section, key, text.c_str()});  // the list keeps a text up to its NUL
        return text;
    }
    bool OpenWithShell(const std::string&) override { return true; }

    std::string served;
    uint32_t reported = 0;
    struct Asked {
        std::string section, key, text;
    };
    std::vector<Asked> asked;

private:
    FuzzedDataProvider& in_;
};

// Names taken from a list of exactly `length` characters, with nothing after it.
void CheckSplit(const std::string& list) {
    const std::vector<char> exact(list.begin(), list.end());
    const std::vector<std::string> names = velk::SplitSectionNames(exact.data(), static_cast<uint32_t>(exact.size()));
    std::string joined;
    for (const std::string& name : names) {
        Require(!name.empty() && name.find('\0') == std::string::npos);
        joined += name + '\0';
    }
    Require(list.compare(0, joined.size(), joined) == 0 || joined == list + '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    CheckSplit(in.ConsumeRandomLengthString(velk::kSectionNamesCapacity));

    FuzzHost host(in);
    velk::PreviewList list(host);
    const bool loaded = list.Load("Movies.ini", in.ConsumeBool() ? "" : "R:\\Previews\\Movies");
    Require(loaded == !list.entries.empty());
    const uint32_t length = std::min(host.reported, velk::kSectionNamesCapacity);
    const std::vector<std::string> sections = velk::SplitSectionNames(host.served.data(), length);
    if (length <= 1) Require(!loaded);
    // Both texts of every section are asked for, in order, and every section is
    // offered; only a cut-off last piece without texts is left out.
    const auto& asked = host.asked;
    Require(asked.size() == 2 * sections.size() || (!loaded && asked.empty()));
    for (size_t i = 0; i < asked.size(); ++i)
        Require(asked[i].section == sections[i / 2] && asked[i].key == (i % 2 ? "File" : "Name"));
    Require(list.entries.size() <= sections.size());
    if (list.entries.size() < sections.size() && length > 1) {
        Require(list.entries.size() + 1 == sections.size() && length == velk::kSectionNamesCapacity - 2);
        Require(asked[asked.size() - 2].text.empty() && asked.back().text.empty());
    }
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const velk::PreviewEntry& entry = *list.entries[i];
        Require(entry.name == asked[2 * i].text && entry.name.size() < velk::kPreviewTextCapacity);
        Require(entry.file == asked[2 * i + 1].text && entry.file.size() < velk::kPreviewTextCapacity);
        Require(entry.folder == list.folder && entry.EntryPath().size() > entry.file.size());
    }
    return 0;
}
