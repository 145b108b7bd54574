// The display model, the record walk and discovery against modules built in memory.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <vector>

#include "display/renderer_list.h"

namespace velk {
namespace {

struct RecordFields {
    uint32_t hardware;
    std::string cardName;
    std::string cardDescription;
    uint32_t width, height;
    int32_t bitDepth;
};

void Put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Records laid out as a module lays them out. Each record lives in its own
// allocation of exactly 532 bytes, so a read past its end is caught by ASan.
class FakeMemory : public RecordMemory {
public:
    static constexpr uint32_t kBase = 0x10000;
    static constexpr uint32_t kStride = 0x400;

    // Chained in order; returns the first address (0 for none).
    uint32_t Chain(const std::vector<RecordFields>& records) {
        for (size_t i = 0; i < records.size(); ++i) {
            uint32_t next = i + 1 < records.size() ? AddressOf(i + 1) : 0;
            Add(records[i], next);
        }
        return records.empty() ? 0 : AddressOf(0);
    }
    void Add(const RecordFields& fields, uint32_t next) {
        std::vector<uint8_t> bytes(kModeRecordSize, 0xAB);  // the unread part is noise
        Put32(bytes, 0, fields.hardware);
        PutText(bytes, 260, fields.cardName);
        PutText(bytes, 388, fields.cardDescription);
        Put32(bytes, 516, fields.width);
        Put32(bytes, 520, fields.height);
        Put32(bytes, 524, static_cast<uint32_t>(fields.bitDepth));
        Put32(bytes, 528, next);
        records_[AddressOf(records_.size())] = std::move(bytes);
    }
    std::vector<uint8_t>& Bytes(size_t index) { return records_[AddressOf(index)]; }
    static uint32_t AddressOf(size_t index) { return kBase + static_cast<uint32_t>(index) * kStride; }

    const uint8_t* RecordAt(uint32_t address) override {
        ++reads;
        auto found = records_.find(address);
        return found == records_.end() ? nullptr : found->second.data();
    }
    int reads = 0;

private:
    static void PutText(std::vector<uint8_t>& bytes, size_t offset, const std::string& text) {
        memset(&bytes[offset], 0, 128);
        memcpy(&bytes[offset], text.data(), std::min<size_t>(text.size(), 128));
    }
    std::map<uint32_t, std::vector<uint8_t>> records_;
};

TEST(ModeRecord, FourByThreeFilter) {
    struct Case {
        uint32_t width, height;
        bool listed;
    } const cases[] = {
        {640, 480, true},    {800, 600, true},   {1024, 768, true},  {1280, 960, true},  {1600, 1200, true},
        {639, 480, false},   {640, 479, false},  {1280, 1024, false}, {640, 400, false}, {512, 384, false},
        {0, 0, false},       {641, 481, true} /* 1924 / 3 rounds down to 641 */, {642, 481, false},  {4294967295u, 1200, false},
        // 0x40000180 * 4 wraps to 0x600, and 0x600 / 3 = 512: below 640, so still refused.
        {512, 0x40000180u, false},
        // 0x40000258 * 4 wraps to 0x960 (2400), 2400 / 3 = 800: the module's 32-bit arithmetic lets it pass.
        {800, 0x40000258u, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(IsListedMode(c.width, c.height), c.listed);
    }
}

TEST(ModeRecord, DecodesLittleEndianFieldsAndBoundedTexts) {
    FakeMemory memory;
    memory.Add({0x01020304, "Card", "Desc", 1024, 768, -16}, 0xCAFEBABE);
    std::vector<uint8_t>& bytes = memory.Bytes(0);
    ModeRecord r = DecodeModeRecord(bytes.data());
    EXPECT_EQ(r.hardware, 0x01020304u);
    EXPECT_EQ(r.cardName, "Card");
    EXPECT_EQ(r.cardDescription, "Desc");
    EXPECT_EQ(r.width, 1024u);
    EXPECT_EQ(r.height, 768u);
    EXPECT_EQ(r.bitDepth, -16);
    EXPECT_EQ(r.next, 0xCAFEBABEu);

    // Texts that fill their 128 bytes without a NUL end at the field's end.
    memset(&bytes[260], 'N', 128);
    memset(&bytes[388], 'D', 128);
    r = DecodeModeRecord(bytes.data());
    EXPECT_EQ(r.cardName, std::string(128, 'N'));
    EXPECT_EQ(r.cardDescription, std::string(128, 'D'));
}

TEST(ModeRecord, WalkEndsAtZeroUnreadableCycleOrLimit) {
    auto visits = [](uint32_t first, RecordMemory& memory) {
        std::vector<uint32_t> widths;
        size_t count = WalkModeRecords(first, memory, [&](const ModeRecord& r) { widths.push_back(r.width); });
        EXPECT_EQ(count, widths.size());
        return widths;
    };
    {
        SCOPED_TRACE("plain chain");
        FakeMemory memory;
        uint32_t first = memory.Chain({{1, "a", "A", 640, 480, 16}, {1, "a", "A", 800, 600, 16}});
        EXPECT_EQ(visits(first, memory), (std::vector<uint32_t>{640, 800}));
    }
    {
        SCOPED_TRACE("no list");
        FakeMemory memory;
        EXPECT_TRUE(visits(0, memory).empty());
        EXPECT_EQ(memory.reads, 0);
    }
    {
        SCOPED_TRACE("next points at unreadable memory");
        FakeMemory memory;
        memory.Add({1, "a", "A", 640, 480, 16}, 0x10);
        EXPECT_EQ(visits(FakeMemory::AddressOf(0), memory), (std::vector<uint32_t>{640}));
    }
    {
        SCOPED_TRACE("cycle back to the first record");
        FakeMemory memory;
        memory.Add({1, "a", "A", 640, 480, 16}, FakeMemory::AddressOf(1));
        memory.Add({1, "a", "A", 800, 600, 16}, FakeMemory::AddressOf(2));
        memory.Add({1, "a", "A", 1024, 768, 16}, FakeMemory::AddressOf(0));
        EXPECT_EQ(visits(FakeMemory::AddressOf(0), memory), (std::vector<uint32_t>{640, 800, 1024}));
    }
    {
        SCOPED_TRACE("record pointing at itself");
        FakeMemory memory;
        memory.Add({1, "a", "A", 640, 480, 16}, FakeMemory::AddressOf(0));
        EXPECT_EQ(visits(FakeMemory::AddressOf(0), memory).size(), 1u);
    }
    {
        SCOPED_TRACE("chain longer than the limit");
        FakeMemory memory;
        std::vector<RecordFields> many(kMaxModeRecords + 10, RecordFields{1, "a", "A", 640, 480, 16});
        uint32_t first = memory.Chain(many);
        EXPECT_EQ(visits(first, memory).size(), kMaxModeRecords);
    }
}

// The hardware module of the tests: cards, grouping, duplicates and refused records.
std::vector<RecordFields> HardwareRecords() {
    return {
        {1, "CardA", "Card A", 640, 480, 16},
        {1, "", "No name", 640, 480, 16},        // empty name: never a card
        {1, "CardC", "", 640, 480, 16},          // empty description before the card exists
        {1, "CardA", "Card A", 1280, 1024, 16},  // not 4:3
        {1, "CardB", "Card B", 800, 600, 16},
        {0, "CardA", "Other description", 1024, 768, 32},  // joins CardA, keeps its description and flag
        {1, "CardB", "Card B", 639, 480, 16},
        {1, "CardB", "Card B", 640, 479, 16},
        {1, "CardB", "Card B", 1024, 768, 16},
        {1, "CardB", "Card B", 1024, 768, 16},  // duplicate
        {0, "CardC", "Card C", 800, 600, 16},
        {1, "CardC", "", 1280, 960, 32},  // empty description, card exists: used
        {1, "Card\"E", "E", 640, 480, 16},  // a quote mark in the name: never a card
        {1, "CardD", "17\" CRT\t", 640, 480, 16},  // the same in the description: a blank
    };
}

TEST(Renderer, RecordsMakeCardsInFirstOccurrenceOrder) {
    FakeMemory memory;
    Renderer r;
    EXPECT_EQ(r.AddModeRecords(memory.Chain(HardwareRecords()), memory), HardwareRecords().size());
    ASSERT_EQ(r.cards.size(), 4u);

    struct Expected {
        const char* name;
        const char* description;
        uint32_t hardware;
        std::vector<std::string> labels;
    } const expected[] = {
        {"CardA", "Card A", 1, {"640 x 480 x 16", "1024 x 768 x 32"}},
        {"CardB", "Card B", 1, {"800 x 600 x 16", "1024 x 768 x 16", "1024 x 768 x 16"}},
        {"CardC", "Card C", 0, {"800 x 600 x 16", "1280 x 960 x 32"}},
        {"CardD", "17  CRT ", 1, {"640 x 480 x 16"}},
    };
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].name);
        const DisplayCard& card = *r.cards[i];
        EXPECT_EQ(card.name, expected[i].name);
        EXPECT_EQ(card.description, expected[i].description);
        EXPECT_EQ(card.hardware, expected[i].hardware);
        std::vector<std::string> labels;
        for (const auto& m : card.modes) labels.push_back(m->label);
        EXPECT_EQ(labels, expected[i].labels);
        EXPECT_EQ(card.currentMode, nullptr);
    }
    // Two equal modes: the first is found.
    const DisplayCard& b = *r.cards[1];
    EXPECT_EQ(b.FindMode(1024, 768, 16), b.modes[1].get());
}

TEST(Renderer, CardAndModeLookupsAreExact) {
    Renderer r;
    DisplayCard* card = r.AddCard("Card", "Desc", 1);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(r.AddCard("", "Desc", 1), nullptr);
    EXPECT_EQ(r.AddCard("Name", "", 1), nullptr);
    EXPECT_EQ(r.cards.size(), 1u);
    EXPECT_EQ(r.FindCard("card"), nullptr);  // case-sensitive
    EXPECT_EQ(r.FindCard("Card"), card);

    DisplayMode* m = card->AddMode(800, 600, 16);
    EXPECT_FALSE(card->SelectMode(800, 600, 32));
    EXPECT_EQ(card->currentMode, nullptr);
    EXPECT_TRUE(card->SelectMode(800, 600, 16));
    EXPECT_EQ(card->currentMode, m);
    EXPECT_FALSE(card->SelectMode(640, 480, 16));  // a failed choice leaves the current one
    EXPECT_EQ(card->currentMode, m);

    EXPECT_TRUE(r.SelectCard("Card"));
    EXPECT_FALSE(r.SelectCard("Other"));
    EXPECT_EQ(r.currentCard, card);
}

TEST(Renderer, ListTextsAndLabels) {
    Renderer named;
    named.fileName = "a.ren";
    named.description = "Renderer A";
    Renderer bare;
    bare.fileName = "b.ren";
    EXPECT_EQ(named.ListText(), "Renderer A (a.ren)");
    EXPECT_EQ(bare.ListText(), "b.ren");

    DisplayCard card("Card1", "Example Card", 1);
    EXPECT_EQ(card.ListText(), "Example Card (Card1)");
    EXPECT_EQ(card.AddMode(800, 600, 16)->label, "800 x 600 x 16");
    EXPECT_EQ(card.AddMode(-1, 2147483647, -2147483647 - 1)->label, "-1 x 2147483647 x -2147483648");
}

TEST(Renderer, ClearEmptiesEveryLevel) {
    Renderer r;
    r.fileName = "a.ren";
    r.description = "A";
    DisplayCard* card = r.AddCard("Card", "Desc", 1);
    card->currentMode = card->AddMode(640, 480, 16);
    r.currentCard = card;
    card->Clear();
    EXPECT_TRUE(card->modes.empty());
    EXPECT_EQ(card->currentMode, nullptr);
    EXPECT_EQ(card->name, "");
    EXPECT_EQ(card->hardware, 0u);
    r.Clear();
    EXPECT_TRUE(r.cards.empty());
    EXPECT_EQ(r.currentCard, nullptr);
    EXPECT_EQ(r.fileName, "");
    EXPECT_EQ(r.description, "");
}

TEST(RendererList, DefaultModesByHardwareFlag) {
    struct Case {
        const char* name;
        uint32_t hardware;
        std::vector<std::array<int32_t, 3>> modes;
        const char* expected;  // label, or "" for none
    } const cases[] = {
        {"hardware with 640x480x16", 1, {{800, 600, 16}, {640, 480, 16}}, "640 x 480 x 16"},
        {"hardware without 640x480x16", 7, {{800, 600, 16}, {1024, 768, 16}}, "800 x 600 x 16"},
        {"hardware with neither", 1, {{640, 480, 32}, {1024, 768, 16}}, ""},
        {"software with 640x480x16", 0, {{1024, 768, 16}, {640, 480, 16}}, "640 x 480 x 16"},
        {"software with only 800x600x16", 0, {{800, 600, 16}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RendererList list;
        list.items.push_back(std::make_unique<Renderer>());
        DisplayCard* card = list.items[0]->AddCard("c", "d", c.hardware);
        for (const auto& m : c.modes) card->AddMode(m[0], m[1], m[2]);
        list.ChooseDefaultModes();
        EXPECT_EQ(card->currentMode ? card->currentMode->label : std::string(), c.expected);
    }
}

TEST(RendererList, DefaultModesKeepAChoiceAlreadyMade) {
    RendererList list;
    list.items.push_back(std::make_unique<Renderer>());
    DisplayCard* card = list.items[0]->AddCard("c", "d", 1);
    card->AddMode(640, 480, 16);
    DisplayMode* chosen = card->AddMode(1024, 768, 16);
    card->currentMode = chosen;
    list.ChooseDefaultModes();
    EXPECT_EQ(card->currentMode, chosen);
}

TEST(RendererList, SearchPatterns) {
    EXPECT_EQ(RendererSearchPattern(""), "*.REN");
    EXPECT_EQ(RendererSearchPattern("C:\\Games\\"), "C:\\Games\\*.REN");
    EXPECT_EQ(RendererSearchPattern("C:\\Games"), "C:\\Games\\*.REN");
    EXPECT_EQ(RendererSearchPattern("."), ".\\*.REN");
}

TEST(RendererList, FragmentTexts) {
    RendererList list;
    EXPECT_EQ(BuildDisplayFragment(list), "");
    list.items.push_back(std::make_unique<Renderer>());
    Renderer& r = *list.items[0];
    r.fileName = "a.ren";
    DisplayCard* card = r.AddCard("Card1", "Example Card", 1);
    list.currentRenderer = &r;
    EXPECT_EQ(BuildDisplayFragment(list), "");  // no current card
    r.currentCard = card;
    EXPECT_EQ(BuildDisplayFragment(list), "++RenderDll a.ren ++CardDesc Card1 ++Renderer \"Example Card\"");
    card->currentMode = card->AddMode(1024, 768, 16);
    EXPECT_EQ(BuildDisplayFragment(list),
              "++RenderDll a.ren ++CardDesc Card1 ++Renderer \"Example Card\" ++screenwidth 1024 ++screenheight 768 "
              "++bitdepth 16");
}

// A host whose modules are record sets in memory, logging every step.
class FakeHost : public RendererHost {
public:
    struct ModuleContents {
        bool loads = true;  // false: not a module, or an export is missing
        std::string description;
        std::vector<RecordFields> records;  // empty: GetSupportedModes returns 0
        enum { Neither, GetFails, FreeFails } fails = Neither;  // a fault inside the module
    };
    std::vector<std::string> files;  // in search order
    std::map<std::string, ModuleContents> modules;
    std::vector<std::string> log;
    std::string lastPattern;

    class Module : public RendererModule {
    public:
        Module(FakeHost& host, const std::string& name, const ModuleContents& contents) : host_(host), name_(name) {
            description_ = contents.description;
            first_ = memory_.Chain(contents.records);
            fails_ = contents.fails;
        }
        ~Module() override { host_.log.push_back("unload " + name_); }
        std::string Description() override { return description_; }
        bool GetSupportedModes(uint32_t* first) override {
            host_.log.push_back("get " + name_);
            *first = fails_ == ModuleContents::GetFails ? 0 : first_;
            return fails_ != ModuleContents::GetFails;
        }
        bool FreeModeList(uint32_t first) override {
            host_.log.push_back(first == first_ ? "free " + name_ : "free wrong address " + name_);
            return fails_ != ModuleContents::FreeFails;
        }
        const uint8_t* RecordAt(uint32_t address) override { return memory_.RecordAt(address); }

    private:
        FakeHost& host_;
        std::string name_;
        std::string description_;
        FakeMemory memory_;
        uint32_t first_ = 0;
        decltype(ModuleContents::fails) fails_ = ModuleContents::Neither;
    };

    std::vector<std::string> FindFiles(const std::string& pattern) override {
        lastPattern = pattern;
        log.push_back("search");
        return files;
    }
    std::unique_ptr<RendererModule> OpenModule(const std::string& name, ModuleOutcome* whyNot) override {
        log.push_back("open " + name);
        auto found = modules.find(name);
        *whyNot = found == modules.end() ? ModuleOutcome::NotLoaded : ModuleOutcome::NoExports;
        if (found == modules.end() || !found->second.loads) return nullptr;
        return std::make_unique<Module>(*this, name, found->second);
    }
    void ShowWaitCursor() override { log.push_back("wait cursor"); }
    void RestoreCursor() override { log.push_back("cursor back"); }
};

TEST(RendererList, DiscoverSkipsBadModulesSilentlyAndKeepsSearchOrder) {
    FakeHost host;
    host.files = {"z.ren", "broken.ren", "getfault.ren", "freefault.ren", "nolist.ren", "low.ren", "a.REN", "gone.ren"};
    host.modules["z.ren"] = {true, "Zed", {{1, "c", "C", 640, 480, 16}}};
    host.modules["broken.ren"] = {false, "", {}};
    host.modules["getfault.ren"] = {true, "", {{1, "c", "C", 640, 480, 16}}, FakeHost::ModuleContents::GetFails};
    host.modules["freefault.ren"] = {true, "", {{1, "c", "C", 640, 480, 16}}, FakeHost::ModuleContents::FreeFails};
    host.modules["nolist.ren"] = {true, "No list", {}};
    host.modules["low.ren"] = {true, "", {{1, "c", "C", 320, 240, 16}}};
    host.modules["a.REN"] = {true, "", {{1, "c", "C", 800, 600, 16}}};
    RendererList list(&host);
    EXPECT_EQ(list.Discover("games"), 3);
    EXPECT_EQ(host.lastPattern, "games\\*.REN");
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[0]->ListText(), "Zed (z.ren)");
    EXPECT_EQ(list.items[1]->ListText(), "low.ren");
    EXPECT_TRUE(list.items[1]->cards.empty());  // only modes below 640 x 480: listed, no cards
    EXPECT_EQ(list.items[2]->fileName, "a.REN");
    EXPECT_EQ(host.log, (std::vector<std::string>{
                            "search", "open z.ren", "get z.ren", "free z.ren", "unload z.ren",
                            "open broken.ren",
                            "open getfault.ren", "get getfault.ren", "unload getfault.ren",
                            "open freefault.ren", "get freefault.ren", "free freefault.ren", "unload freefault.ren",
                            "open nolist.ren", "get nolist.ren", "unload nolist.ren",  // no FreeModeList
                            "open low.ren", "get low.ren", "free low.ren", "unload low.ren",
                            "open a.REN", "get a.REN", "free a.REN", "unload a.REN", "open gone.ren"}));
    // What became of each module, for the troubleshooting summary.
    using O = ModuleOutcome;
    std::vector<std::pair<std::string, O>> reports;
    for (const ModuleReport& r : list.reports) reports.emplace_back(r.fileName, r.outcome);
    EXPECT_EQ(reports, (std::vector<std::pair<std::string, O>>{
                           {"z.ren", O::Offered}, {"broken.ren", O::NoExports}, {"getfault.ren", O::Faulted},
                           {"freefault.ren", O::Faulted}, {"nolist.ren", O::NoList}, {"low.ren", O::Offered},
                           {"a.REN", O::Offered}, {"gone.ren", O::NotLoaded}}));
    EXPECT_EQ(list.FindRenderer("a.ren"), nullptr);  // exact file name only
    EXPECT_EQ(list.FindRenderer("a.REN"), list.items[2].get());
}

TEST(RendererList, LoadRunsUnderTheWaitCursorAndAlwaysSucceeds) {
    FakeHost host;
    RendererList list(&host);
    EXPECT_TRUE(list.Load("", "/nonexistent/autoexec.cfg"));
    EXPECT_EQ(host.lastPattern, "*.REN");
    EXPECT_EQ(host.log, (std::vector<std::string>{"wait cursor", "search", "cursor back"}));
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.currentRenderer, nullptr);
}

TEST(RendererList, ClearFreesEverything) {
    FakeHost host;
    host.files = {"a.ren"};
    host.modules["a.ren"] = {true, "A", HardwareRecords()};
    RendererList list(&host);
    list.Discover("");
    list.currentRenderer = list.items[0].get();
    list.Clear();
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(list.currentRenderer, nullptr);
}

}  // namespace
}  // namespace velk
