// The entries of the two notes lists (help for each advanced option, and the
// graphics-card notes) and the line-break rule of their texts.
#pragma once
#include <cstddef>
#include <string>

namespace velk {

struct NoteEntry {
    const char* fallbackLabel;  // shown when the label id is 0 or has no text
    unsigned textId;
    unsigned labelId;  // 0: none, the fallback label is the label
};

struct NoteList {
    const NoteEntry* entries;
    size_t count;
    const char* selectionValue;  // the registry value that remembers the last entry
};

// The help entries in list order, one per advanced option.
const NoteList& HelpNotes();
// The graphics-card notes in list order.
const NoteList& CardNotes();

// Every line feed becomes a carriage return and a line feed, as a multi-line
// edit field needs them.
std::string WithCrLf(const std::string& text);

}  // namespace velk
