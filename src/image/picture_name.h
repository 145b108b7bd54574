// Which loader a picture or palette name goes to: a known file extension
// means a file, anything else a resource of the launcher's module.
#pragma once

namespace velk {

enum class PictureSource { BmpFile, PcxFile, RidFile, PidFile, Resource };
enum class PaletteSource { BmpFile, PcxFile, PalFile, Resource };

// The extension is the text from the last "." on, compared without regard to
// case, so "pics.v2\title" has none that matches and is a resource name.
PictureSource PictureSourceOf(const char* name);
PaletteSource PaletteSourceOf(const char* name);

}  // namespace velk
