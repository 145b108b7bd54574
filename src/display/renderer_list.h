// The display model: the renderer modules of the game folder, the graphics
// cards each one offers and the screen modes of each card, with one current
// choice per level. Every level owns its children and keeps them in the order
// in which they were found; nothing is sorted or merged.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/mode_record.h"

namespace velk {

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitDepth = 0;
    std::string label;  // "800 x 600 x 16"
};

struct DisplayCard {
    DisplayCard(std::string name, std::string description, uint32_t hardware);
    DisplayCard(const DisplayCard&) = delete;
    DisplayCard& operator=(const DisplayCard&) = delete;

    std::string name;         // the key of a card within its renderer (case-sensitive)
    std::string description;  // from the card's first accepted record
    uint32_t hardware = 0;    // nonzero: a hardware card
    std::vector<std::unique_ptr<DisplayMode>> modes;
    DisplayMode* currentMode = nullptr;

    DisplayMode* AddMode(int32_t width, int32_t height, int32_t bitDepth);
    DisplayMode* FindMode(int32_t width, int32_t height, int32_t bitDepth) const;
    // Leaves currentMode unchanged when there is no such mode.
    bool SelectMode(int32_t width, int32_t height, int32_t bitDepth);
    std::string ListText() const;  // "description (name)"
    void Clear();
};

// What became of a module the search found: offered to the player, or why it was left out.
enum class ModuleOutcome { Offered, NotLoaded, NoExports, Faulted, NoList };
struct ModuleReport {
    std::string fileName;
    ModuleOutcome outcome = ModuleOutcome::NotLoaded;
};

// A renderer module while it is loaded, with both exports found. Destroying
// it unloads the module.
class RendererModule : public RecordMemory {
public:
    virtual std::string Description() = 0;  // string resource 5; empty when there is none
    // Each false when the call went wrong inside the module (a fault, or a
    // calling convention other than caller-cleans): the module is unusable.
    virtual bool GetSupportedModes(uint32_t* first) = 0;
    virtual bool FreeModeList(uint32_t first) = 0;
};

// What discovery needs from the system: the file search, the modules and the cursor.
class RendererHost {
public:
    virtual ~RendererHost() = default;
    // Names (without folder) of the files matching the pattern, in the search's
    // order: files only, whose own name ends in the pattern's extension and
    // names that very file in the ANSI code page.
    virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
    // The loaded module, or none when it does not load or lacks an export
    // (whyNot then says which).
    virtual std::unique_ptr<RendererModule> OpenModule(const std::string& fileName, ModuleOutcome* whyNot) = 0;
    virtual void ShowWaitCursor() = 0;
    virtual void RestoreCursor() = 0;
};

struct Renderer {
    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    std::string fileName;     // as the file search returned it, no folder
    std::string description;  // string resource 5 of the module, or empty
    std::vector<std::unique_ptr<DisplayCard>> cards;
    DisplayCard* currentCard = nullptr;

    // Loads the module, takes its description and accepted modes, and unloads it
    // again before returning. False when the module is to be left out: it does
    // not load, lacks an export, gives no list or fails in either export;
    // `outcome` says which.
    bool LoadModule(const std::string& fileName, RendererHost& host, ModuleOutcome* outcome = nullptr);
    // Adds the 4:3 modes of at least 640 x 480 of the chain at `first` to their
    // cards. Returns the number of records read.
    size_t AddModeRecords(uint32_t first, RecordMemory& memory);

    DisplayCard* FindCard(const std::string& name) const;
    // None when the name or the description is empty, or the name holds a quote
    // mark or control character (it could not reach the engine as it is). Such
    // characters in the description become blanks.
    DisplayCard* AddCard(const std::string& name, const std::string& description, uint32_t hardware);
    // Leaves currentCard unchanged when there is no such card.
    bool SelectCard(const std::string& name);
    std::string ListText() const;  // "description (fileName)", or fileName alone
    void Clear();
};

class RendererList {
public:
    // Without a host the list finds no modules (a model built by hand).
    explicit RendererList(RendererHost* host = nullptr);
    RendererList(const RendererList&) = delete;
    RendererList& operator=(const RendererList&) = delete;

    std::string folder;  // searched for modules; empty: the current folder
    std::vector<std::unique_ptr<Renderer>> items;
    Renderer* currentRenderer = nullptr;
    // Every module Discover tried, in search order, with what became of it.
    std::vector<ModuleReport> reports;

    // Discovery, default modes and the saved choice, under the wait cursor. Always true.
    bool Load(const std::string& folder, const std::string& settingsFile);
    int Discover(const std::string& folder);
    Renderer* AddRenderer(const std::string& fileName);
    Renderer* FindRenderer(const std::string& fileName) const;
    void ChooseDefaultModes();
    // The choice saved in the engine's settings file; false when it cannot be opened.
    bool ReadSavedChoice(const std::string& settingsFile);
    void Clear();

private:
    RendererHost* host_;
};

// The file pattern Discover searches for in a folder.
std::string RendererSearchPattern(const std::string& folder);

// The engine command-line text of the current choice; empty without a current
// renderer or card. A file or card name with a blank is quoted.
std::string BuildDisplayFragment(const RendererList& renderers);

}  // namespace velk
