#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_store.h"
#include "sound/sound_providers.h"

namespace velk {
namespace {

TEST(ClassifySoundProvider, FirstMatchingTestGivesTheKind) {
    const std::string eax = "Microsoft DirectSound3D with Creative Labs EAX(TM)";
    const std::string software = "Microsoft DirectSound3D software emulation";
    struct Case {
        std::string name;
        int32_t kind;
    } const cases[] = {
        {eax, 2},
        {eax + " 2", 7},  // equality only
        {"microsoft directsound3d with creative labs eax(tm)", 7},
        {"Aureal A3D Interactive(TM)", 4},
        {"Vendor Aureal A3D Interactive(TM) v2", 4},
        {"Aureal A3D Interactive(TM) / Microsoft DirectSound3D hardware support", 4},
        {"Microsoft DirectSound3D hardware support", 1},
        {"X Microsoft DirectSound3D hardware support X", 1},
        {software, 3},
        {software + " ", 7},
        {"Intel Realistic Sound Experience(TM)", 5},
        {"Miles 2D Stereo Positional Audio", 6},
        {eax + " Miles 2D Stereo Positional Audio", 6},
        {"Dolby Surround", 7},
        {"", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifySoundProvider(c.name), c.kind) << c.name;
}

// A sound library that records its calls and delivers the providers it was given.
struct FakeProvider {
    const char* name;  // may be null
    bool opens = true;
    bool writesEax = false;
    int32_t eax = 0;
};

class FakeLibrary final : public SoundLibrary {
public:
    std::vector<FakeProvider> providers;
    bool waveMapperFails = false;
    bool forever = false;
    std::vector<std::string> calls;

    void Startup() override { calls.push_back("startup"); }
    int32_t SetPreference(uint32_t n, int32_t v) override {
        calls.push_back("pref " + std::to_string(n) + "=" + std::to_string(v));
        return 0;
    }
    int32_t OpenWaveMapper(uint32_t* driver) override {
        calls.push_back("waveOutOpen");
        *driver = 77;
        return waveMapperFails ? 5 : 0;
    }
    int32_t EnumerateProviders(uint32_t* cursor, uint32_t* provider, const char** name) override {
        calls.push_back("enumerate " + std::to_string(*cursor));
        if (*cursor >= providers.size() && !forever) return 0;
        *name = forever ? "Endless" : providers[*cursor].name;
        *provider = 100 + *cursor;
        ++*cursor;
        return 1;
    }
    int32_t OpenProvider(uint32_t p) override {
        calls.push_back("open " + std::to_string(p));
        return forever || providers[p - 100].opens ? 0 : 1;
    }
    void ProviderAttribute(uint32_t p, const char* attribute, int32_t* value) override {
        calls.push_back("attribute " + std::to_string(p) + " " + attribute + " " + std::to_string(*value));
        if (!forever && providers[p - 100].writesEax) *value = providers[p - 100].eax;
    }
    void CloseProvider(uint32_t p) override { calls.push_back("close " + std::to_string(p)); }
    void CloseWaveMapper(uint32_t driver) override { calls.push_back("waveOutClose " + std::to_string(driver)); }
    void Shutdown() override { calls.push_back("shutdown"); }
};

const std::vector<std::string> kOpening = {"startup",         "pref 27=1",   "pref 15=0",
                                           "pref 33=1",       "pref 40=262144", "waveOutOpen"};

std::vector<std::string> Names(const SoundProviderList& list) {
    std::vector<std::string> names;
    for (const auto& r : list) names.push_back(r.name);
    return names;
}

TEST(EnumerateSoundProviders, CallsInOrderAndListsNewestFirst) {
    FakeLibrary library;
    library.providers = {{"first"}, {"second", false}, {"Microsoft DirectSound3D hardware support", true, true, 0}};
    SoundProviderList list;
    ASSERT_TRUE(EnumerateSoundProviders(library, list));

    std::vector<std::string> expected = kOpening;
    for (const char* call : {"enumerate 0", "open 100", "attribute 100 EAX environment selection -1", "close 100",
                             "enumerate 1", "open 101",  // does not open: no query, no close
                             "enumerate 2", "open 102", "attribute 102 EAX environment selection -1", "close 102",
                             "enumerate 3", "waveOutClose 77", "shutdown"})
        expected.push_back(call);
    EXPECT_EQ(library.calls, expected);

    EXPECT_EQ(Names(list), (std::vector<std::string>{"Microsoft DirectSound3D hardware support", "first"}));
    EXPECT_EQ(list.front().kind, 1);
    EXPECT_EQ(list.front().handle, 102u);
}

TEST(EnumerateSoundProviders, EaxFlagFollowsTheAnswer) {
    struct Case {
        bool writes;
        int32_t value;
        int32_t hasEax;
    } const cases[] = {{false, 0, 0}, {true, -1, 0}, {true, 0, 1}, {true, 7, 1}};
    for (const Case& c : cases) {
        FakeLibrary library;
        library.providers = {{"p", true, c.writes, c.value}};
        SoundProviderList list;
        ASSERT_TRUE(EnumerateSoundProviders(library, list));
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.front().hasEax, c.hasEax) << c.writes << " " << c.value;
    }
}

TEST(EnumerateSoundProviders, NamesNullOrTooLong) {
    const std::string longName = std::string(250, 'x') + "Miles 2D Stereo Positional Audio";  // 282 characters
    FakeLibrary library;
    library.providers = {{nullptr}, {longName.c_str()}};
    SoundProviderList list;
    ASSERT_TRUE(EnumerateSoundProviders(library, list));
    EXPECT_EQ(Names(list), (std::vector<std::string>{longName.substr(0, 260), ""}));
    EXPECT_EQ(list.front().kind, 6);  // classified by the whole name
}

// A quote mark would end the name in the engine's command line and let the
// rest through as switches; a line break would split the command file.
TEST(EnumerateSoundProviders, NamesThatCannotBePassedAreLeftOut) {
    FakeLibrary library;
    library.providers = {{"Good"},    {"Evil\" -rez ..\\x.rez +multiplayer 1 \"x"}, {"Tab\there"},
                         {"Line\r\n"}, {"Del\x7f"},                                 {"Ljud \xe5\xe4\xf6"}};
    SoundProviderList list;
    ASSERT_TRUE(EnumerateSoundProviders(library, list));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Ljud \xe5\xe4\xf6", "Good"}));
}

TEST(LoadSoundChoice, StoredNameThatCannotBePassedIsIgnored) {
    struct Case {
        const char* stored;
        const char* expected;
    } const cases[] = {{"Good", "Good"}, {"a\" +multiplayer 1 \"", "Inget 3D-ljud"}, {"a\r\nb", "Inget 3D-ljud"}};
    for (const Case& c : cases) {
        MemoryStore store;
        store.texts["Sound Provider Name"] = c.stored;
        SoundChoice choice;
        choice.providerName = "Inget 3D-ljud";
        LoadSoundChoice(store, choice);
        EXPECT_EQ(choice.providerName, c.expected) << c.stored;
    }
}

TEST(EnumerateSoundProviders, WaveMapperFailureShutsDownAndFails) {
    FakeLibrary library;
    library.waveMapperFails = true;
    library.providers = {{"p"}};
    SoundProviderList list;
    EXPECT_FALSE(EnumerateSoundProviders(library, list));
    std::vector<std::string> expected = kOpening;
    expected.push_back("shutdown");
    EXPECT_EQ(library.calls, expected);
    EXPECT_TRUE(list.empty());
}

TEST(EnumerateSoundProviders, EndlessLibraryStopsAfter256) {
    FakeLibrary library;
    library.forever = true;
    SoundProviderList list;
    ASSERT_TRUE(EnumerateSoundProviders(library, list));
    EXPECT_EQ(Names(list).size(), 256u);
    EXPECT_EQ(library.calls.back(), "shutdown");
    EXPECT_EQ(library.calls[library.calls.size() - 2], "waveOutClose 77");
    EXPECT_EQ(library.calls[library.calls.size() - 3], "close 355");
}

TEST(EnumerateSoundProviders, FilledListIsKeptWithoutCallingTheLibrary) {
    FakeLibrary library;
    library.providers = {{"new"}};
    SoundProviderList list;
    list.push_front(SoundProviderRecord{1, 7, "old", 0});
    EXPECT_TRUE(EnumerateSoundProviders(library, list));
    EXPECT_TRUE(library.calls.empty());
    EXPECT_EQ(Names(list), std::vector<std::string>{"old"});
}

TEST(SoundFragment, DefaultChoiceAndEveryReverbLevel) {
    SoundChoice choice;
    choice.providerName = "Inget 3D-ljud";
    EXPECT_EQ(SoundFragment(choice),
              "++3dsoundprovider 0 ++3dsoundprovidername \"Inget 3D-ljud\" ++max3dvoices 16 ++maxswvoices 32 "
              "++reverblevel 1.000000 ");

    struct Case {
        int32_t reverb;
        const char* printed;
    } const cases[] = {{0, "0.000000"},   {30, "0.300000"},  {60, "0.600000"}, {100, "1.000000"},
                       {125, "1.250000"}, {150, "1.500000"}, {45, "0.450000"}};
    for (const Case& c : cases) {
        choice.reverb = c.reverb;
        std::string fragment = SoundFragment(choice);
        EXPECT_NE(fragment.find(std::string("++reverblevel ") + c.printed + " "), std::string::npos) << fragment;
        EXPECT_EQ(fragment.back(), ' ');
    }
}

TEST(ParseUnsignedField, NumbersAndEverythingElse) {
    struct Case {
        const char* text;
        uint32_t value;
    } const cases[] = {
        {"16", 16},          {" 32 ", 32},         {"0", 0},     {"4294967295", 4294967295u},
        {"4294967296", 0},   {"12345678901234567890", 0},        {"-5", 0},
        {"+5", 0},           {"abc", 0},           {"12x", 0},   {"1 2", 0},
        {"", 0},             {"   ", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseUnsignedField(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace velk
