// A renderer module's chain of mode records in a fuzzed memory image: records
// at any address, chains that loop or run off the image; then the cards made
// of them and the display fragment of a chosen card.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "base/engine_text.h"
#include "display/renderer_list.h"
#include "fuzz_checks.h"

using velk::fuzz::EngineWords;
using velk::fuzz::Require;

namespace {

// The image lies at this address; a record is readable only when all its bytes are in it.
constexpr uint32_t kImageAddress = 0x1000;

class FuzzImage final : public velk::RecordMemory {
public:
    explicit FuzzImage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    const uint8_t* RecordAt(uint32_t address) override {
        Require(asked.insert(address).second);  // no address twice: the walk ends on a loop
        const uint32_t offset = address - kImageAddress;
        if (address < kImageAddress || offset > bytes_.size() || bytes_.size() - offset < velk::kModeRecordSize)
            return nullptr;
        return bytes_.data() + offset;  // exactly sized, so ASan sees a read past the image
    }

    std::set<uint32_t> asked;

private:
    std::vector<uint8_t> bytes_;
};

std::string FileNameFrom(std::string name) {
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](char c) { return velk::fuzz::IsControl(c) || strchr("\"<>|:*?/\\", c); }),
               name.end());
    return name.empty() ? "a.ren" : name;
}

// The fragment names the renderer, the card and its mode, each as one word of its own.
void CheckFragment(const velk::RendererList& list) {
    const velk::Renderer& renderer = *list.currentRenderer;
    const velk::DisplayCard& card = *renderer.currentCard;
    std::vector<std::string> expected = {"++RenderDll", renderer.fileName, "++CardDesc", card.name,
                                         "++Renderer", card.description};
    if (const velk::DisplayMode* mode = card.currentMode) {
        for (auto [name, value] : {std::pair{"++screenwidth", mode->width}, {"++screenheight", mode->height},
                                   {"++bitdepth", mode->bitDepth}}) {
            expected.push_back(name);
            expected.push_back(std::to_string(value));
        }
    }
    const std::string fragment = velk::BuildDisplayFragment(list);
    Require(std::none_of(fragment.begin(), fragment.end(), velk::fuzz::IsControl));
    Require(EngineWords(fragment) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t first = in.ConsumeIntegral<uint32_t>();
    const std::string fileName = FileNameFrom(in.ConsumeRandomLengthString(64));
    const size_t chosenCard = in.ConsumeIntegral<uint8_t>(), chosenMode = in.ConsumeIntegral<uint8_t>();
    FuzzImage image(in.ConsumeRemainingBytes<uint8_t>());

    velk::RendererList list;
    list.items.push_back(std::make_unique<velk::Renderer>());
    velk::Renderer& renderer = *list.items.back();
    renderer.fileName = fileName;
    const size_t read = renderer.AddModeRecords(first, image);
    Require(read <= velk::kMaxModeRecords && read <= image.asked.size() && image.asked.size() <= read + 1);

    // Cards hold a name and a description, differ by name, and hold only listed
    // modes. Neither text holds a quote mark or control character: a name with
    // one makes no card, a description has a blank in its place.
    std::set<std::string> names;
    for (const auto& card : renderer.cards) {
        Require(!card->name.empty() && !card->description.empty() && names.insert(card->name).second);
        Require(velk::CanStandBetweenQuotes(card->name) && velk::CanStandBetweenQuotes(card->description));
        Require(card->name.size() <= velk::kCardTextSize && card->description.size() <= velk::kCardTextSize);
        Require(!card->modes.empty());
        for (const auto& mode : card->modes)
            Require(velk::IsListedMode(static_cast<uint32_t>(mode->width), static_cast<uint32_t>(mode->height)));
    }
    if (renderer.cards.empty()) return 0;
    velk::DisplayCard& card = *renderer.cards[chosenCard % renderer.cards.size()];
    renderer.currentCard = &card;
    card.currentMode = chosenMode < card.modes.size() ? card.modes[chosenMode].get() : nullptr;
    list.currentRenderer = &renderer;
    CheckFragment(list);
    return 0;
}
