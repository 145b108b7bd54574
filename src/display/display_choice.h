// The display choice of a run: the renderer list the display dialog edits,
// whether its last showing ended with OK, and the one-time warning.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/settings_store.h"
#include "display/renderer_list.h"

namespace velk {

// Remembers that the player accepted the warning before the first search.
constexpr const char* kDisplayWarnedValue = "Display Warned";

struct DisplayChoice {
    std::unique_ptr<RendererList> renderers;  // made on the first use of the display button
    int32_t result = 0;                       // of the last display dialog: 1 OK, 0 Cancel
    int32_t warned = 0;

    void Load(SettingsStore& settings) { warned = settings.ReadDword(kDisplayWarnedValue, 0); }
    void Save(SettingsStore& settings) const { settings.WriteDword(kDisplayWarnedValue, warned); }

    // The display fragment of the list; empty without a list or without a
    // current renderer and card.
    std::string Fragment() const { return renderers ? BuildDisplayFragment(*renderers) : std::string(); }
    // The same, and only when the last display dialog confirmed it.
    std::string ConfirmedFragment(bool* confirmed) const {
        *confirmed = result != 0 && renderers != nullptr;
        return *confirmed ? Fragment() : std::string();
    }
};

}  // namespace velk
