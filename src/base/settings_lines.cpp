#include "base/settings_lines.h"

#include <cstring>

namespace velk {

bool ReadSettingsLine(FILE* file, std::string* line) {
    line->clear();
    bool readAny = false;
    for (int c; (c = getc(file)) != EOF;) {
        readAny = true;
        if (c == '\r') {
            int following = getc(file);
            if (following == '\n') {
                c = '\n';
            } else if (following != EOF) {
                ungetc(following, file);
            }
        }
        if (line->size() < kSettingsLineLength) line->push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    line->resize(strlen(line->c_str()));
    return readAny;
}

}  // namespace velk
