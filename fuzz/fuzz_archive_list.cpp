// The saved archive list ("a.rez|b.rez"), its joining within a limit, and the
// engine switches that load the archives.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "advanced/archive_list.h"
#include "fuzz_checks.h"

using velk::fuzz::Require;

namespace {

using Names = std::vector<std::string>;

// Each name is a whole piece between separators of the text, in the text's order.
void CheckPiecesOf(const std::string& text, const Names& names) {
    const std::string framed = "|" + text + "|";
    size_t from = 0;
    for (const std::string& name : names) {
        Require(velk::IsUsableArchiveName(name));
        from = framed.find("|" + name + "|", from);
        Require(from != std::string::npos);
        from += name.size() + 1;
    }
}

// Whole names only, in order, as many as fit.
void CheckJoined(const Names& names, size_t limit) {
    const std::string joined = velk::JoinArchiveList(names, limit);
    Require(joined.size() <= limit);
    const Names back = velk::SplitArchiveList(joined);
    Require(back.size() <= names.size() && std::equal(back.begin(), back.end(), names.begin()));
    if (back.size() < names.size())
        Require(joined.size() + !joined.empty() + names[back.size()].size() > limit);
}

void CheckFragment(const Names& names) {
    const std::string fragment = velk::BuildArchiveFragment(names);
    const Names words = velk::fuzz::EngineWords(fragment);
    Require(words.size() == 2 * names.size());
    for (size_t i = 0; i < names.size(); ++i)
        Require(words[2 * i] == "-rez" && words[2 * i + 1] == "custom\\" + names[i]);
    size_t quotes = 0;
    for (char c : fragment) {
        Require(!velk::fuzz::IsControl(c));
        quotes += c == '"';
    }
    Require(quotes <= 2 * names.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const size_t limit = in.ConsumeIntegralInRange<size_t>(0, velk::kMaxSavedArchiveList);
    const std::string text = in.ConsumeRemainingBytesAsString();
    const Names names = velk::SplitArchiveList(text);
    CheckPiecesOf(text, names);
    Require(velk::SplitArchiveList(velk::JoinArchiveList(names, std::string::npos)) == names);
    CheckJoined(names, limit);
    CheckFragment(names);
    return 0;
}
