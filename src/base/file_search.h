// The file search for files the launcher takes by their extension (renderer
// modules, extra archives). It searches in UTF-16 so that each name it hands
// back names exactly the file it found.
#pragma once
#include <string>
#include <vector>

namespace velk {

// The files that `pattern` (a folder, then "*" and an extension, such as
// "Custom\*.rez") finds, by their names without the folder, in the search's
// order. Only files whose own name ends in the extension, in any letter case,
// count: the search also matches folders, and long names through their 8.3
// short form ("x.rezzz" as "X~1.REZ"). A name with a character outside the
// ANSI code page is left out: its ANSI form would name a missing file, or
// another one ("ā" as "a"). Such names go to `outsideCodePage`, in UTF-8.
std::vector<std::string> FindFilesByExtension(const std::wstring& pattern,
                                              std::vector<std::string>* outsideCodePage = nullptr);

}  // namespace velk
