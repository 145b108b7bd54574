#include "display/renderer_list.h"

#include <cstdio>

#include "base/engine_text.h"
#include "display/saved_choice.h"

namespace velk {

namespace {

template <typename T, typename Match>
T* FindFirst(const std::vector<std::unique_ptr<T>>& items, Match match) {
    for (const auto& item : items) {
        if (match(*item)) return item.get();
    }
    return nullptr;
}

std::string DescribedName(const std::string& description, const std::string& name) {
    return description + " (" + name + ")";
}

}  // namespace

// DisplayCard

DisplayCard::DisplayCard(std::string name, std::string description, uint32_t hardware)
    : name(std::move(name)), description(std::move(description)), hardware(hardware) {}

DisplayMode* DisplayCard::AddMode(int32_t width, int32_t height, int32_t bitDepth) {
    auto mode = std::make_unique<DisplayMode>();
    mode->width = width;
    mode->height = height;
    mode->bitDepth = bitDepth;
    char label[48];
    snprintf(label, sizeof(label), "%i x %i x %i", static_cast<int>(width), static_cast<int>(height),
             static_cast<int>(bitDepth));
    mode->label = label;
    modes.push_back(std::move(mode));
    return modes.back().get();
}

DisplayMode* DisplayCard::FindMode(int32_t width, int32_t height, int32_t bitDepth) const {
    return FindFirst(modes, [&](const DisplayMode& m) {
        return m.width == width && m.height == height && m.bitDepth == bitDepth;
    });
}

bool DisplayCard::SelectMode(int32_t width, int32_t height, int32_t bitDepth) {
    DisplayMode* found = FindMode(width, height, bitDepth);
    if (!found) return false;
    currentMode = found;
    return true;
}

std::string DisplayCard::ListText() const { return DescribedName(description, name); }

void DisplayCard::Clear() {
    currentMode = nullptr;
    modes.clear();
    name.clear();
    hardware = 0;
}

// Renderer

bool Renderer::LoadModule(const std::string& moduleFileName, RendererHost& host, ModuleOutcome* outcome) {
    ModuleOutcome unused;
    ModuleOutcome& result = outcome ? *outcome : unused;
    fileName = moduleFileName;
    result = ModuleOutcome::NotLoaded;
    std::unique_ptr<RendererModule> module = host.OpenModule(fileName, &result);
    if (!module) return false;
    std::string text = module->Description();
    if (!text.empty()) description = text;
    uint32_t first = 0;
    result = ModuleOutcome::Faulted;
    if (!module->GetSupportedModes(&first)) return false;
    result = ModuleOutcome::NoList;
    if (first == 0) return false;
    AddModeRecords(first, *module);
    result = ModuleOutcome::Faulted;
    if (!module->FreeModeList(first)) return false;  // the module is unloaded as `module` goes
    result = ModuleOutcome::Offered;
    return true;
}

size_t Renderer::AddModeRecords(uint32_t first, RecordMemory& memory) {
    return WalkModeRecords(first, memory, [this](const ModeRecord& record) {
        if (!IsListedMode(record.width, record.height)) return;
        DisplayCard* card = FindCard(record.cardName);
        if (!card) card = AddCard(record.cardName, record.cardDescription, record.hardware);
        if (!card) return;
        card->AddMode(static_cast<int32_t>(record.width), static_cast<int32_t>(record.height), record.bitDepth);
    });
}

DisplayCard* Renderer::FindCard(const std::string& name) const {
    return FindFirst(cards, [&](const DisplayCard& c) { return c.name == name; });
}

DisplayCard* Renderer::AddCard(const std::string& name, const std::string& cardDescription, uint32_t hardware) {
    if (name.empty() || cardDescription.empty() || !CanStandBetweenQuotes(name)) return nullptr;
    // The description only travels inside ++Renderer "...": one odd character
    // there must not cost the player the card.
    cards.push_back(std::make_unique<DisplayCard>(name, BlankedForQuotes(cardDescription), hardware));
    return cards.back().get();
}

bool Renderer::SelectCard(const std::string& name) {
    DisplayCard* found = FindCard(name);
    if (!found) return false;
    currentCard = found;
    return true;
}

std::string Renderer::ListText() const {
    return description.empty() ? fileName : DescribedName(description, fileName);
}

void Renderer::Clear() {
    currentCard = nullptr;
    cards.clear();
    fileName.clear();
    description.clear();
}

// RendererList

RendererList::RendererList(RendererHost* host) : host_(host) {}

bool RendererList::Load(const std::string& searchFolder, const std::string& settingsFile) {
    folder = searchFolder;
    if (host_) host_->ShowWaitCursor();
    Discover(folder);
    ChooseDefaultModes();
    ReadSavedChoice(settingsFile);
    if (host_) host_->RestoreCursor();
    return true;
}

int RendererList::Discover(const std::string& searchFolder) {
    if (!host_) return 0;
    int added = 0;
    for (const std::string& name : host_->FindFiles(RendererSearchPattern(searchFolder))) {
        if (AddRenderer(name)) ++added;
    }
    return added;
}

Renderer* RendererList::AddRenderer(const std::string& fileName) {
    if (!host_) return nullptr;
    auto renderer = std::make_unique<Renderer>();
    ModuleReport report{fileName, ModuleOutcome::NotLoaded};
    bool offered = renderer->LoadModule(fileName, *host_, &report.outcome);
    reports.push_back(std::move(report));
    if (!offered) return nullptr;
    items.push_back(std::move(renderer));
    return items.back().get();
}

Renderer* RendererList::FindRenderer(const std::string& fileName) const {
    return FindFirst(items, [&](const Renderer& r) { return r.fileName == fileName; });
}

void RendererList::ChooseDefaultModes() {
    for (const auto& renderer : items) {
        for (const auto& card : renderer->cards) {
            if (card->currentMode) continue;
            card->currentMode = card->FindMode(640, 480, 16);
            if (!card->currentMode && card->hardware) card->currentMode = card->FindMode(800, 600, 16);
        }
    }
}

bool RendererList::ReadSavedChoice(const std::string& settingsFile) {
    using Key = SavedDisplayChoice;
    SavedDisplayChoice saved;
    if (!ReadSavedDisplayChoice(settingsFile, &saved)) return false;
    if (saved.seen[Key::kRenderDll]) currentRenderer = FindRenderer(saved.values[Key::kRenderDll]);
    if (currentRenderer && saved.seen[Key::kCardDesc]) currentRenderer->SelectCard(saved.values[Key::kCardDesc]);
    if (currentRenderer && currentRenderer->currentCard) {
        currentRenderer->currentCard->SelectMode(SettingNumber(saved.values[Key::kScreenWidth]),
                                                 SettingNumber(saved.values[Key::kScreenHeight]),
                                                 SettingNumber(saved.values[Key::kBitDepth]));
    }
    return true;
}

void RendererList::Clear() {
    currentRenderer = nullptr;
    items.clear();
    reports.clear();
}

std::string RendererSearchPattern(const std::string& folder) {
    if (folder.empty()) return "*.REN";
    if (folder.back() == '\\') return folder + "*.REN";
    return folder + "\\*.REN";
}

std::string BuildDisplayFragment(const RendererList& renderers) {
    const Renderer* renderer = renderers.currentRenderer;
    if (!renderer || !renderer->currentCard) return std::string();
    const DisplayCard& card = *renderer->currentCard;
    std::string fragment = "++RenderDll " + AsOneArgument(renderer->fileName) + " ++CardDesc " +
                           AsOneArgument(card.name) + " ++Renderer \"" + card.description + "\"";
    if (const DisplayMode* mode = card.currentMode) {
        char size[96];
        snprintf(size, sizeof(size), " ++screenwidth %i ++screenheight %i ++bitdepth %i",
                 static_cast<int>(mode->width), static_cast<int>(mode->height), static_cast<int>(mode->bitDepth));
        fragment += size;
    }
    return fragment;
}

}  // namespace velk
