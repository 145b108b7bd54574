// Renderer discovery against the stand-in renderer modules: real DLLs loaded,
// asked and unloaded from a game folder of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>

#include "base/utf8.h"
#include "display/renderer_host_win32.h"
#include "display/renderer_list.h"
#include "test_support.h"

namespace velk {
namespace {

using namespace velk::test;

// The build puts the stand-ins into standins\renderers beside the tests folder.
std::string StandinFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\'));
    return folder.substr(0, folder.find_last_of('\\')) + "\\standins\\renderers";
}

const char* const kGoodModules[] = {"standin_hw.ren",    "standin_sw.ren",    "standin_nodesc.ren",
                                    "standin_subvga.ren", "standin_cycle.ren", "standin_badnext.ren"};
const char* const kBadModules[] = {"standin_nolist.ren", "standin_noexport.ren", "standin_notdll.ren"};

std::vector<std::string> Labels(const DisplayCard& card) {
    std::vector<std::string> labels;
    for (const auto& m : card.modes) labels.push_back(m->label);
    return labels;
}

class RendererModules : public ::testing::Test {
protected:
    TempFolder game_;
    std::unique_ptr<ScopedCurrentFolder> inGame_;
    RendererList list_{&Win32RendererHost()};

    void SetUp() override {
        SetEnvironmentVariableA("VELK_STANDIN_LOG", (game_ / "standin.log").c_str());
        inGame_ = std::make_unique<ScopedCurrentFolder>(game_.path());
    }
    void TearDown() override {
        inGame_.reset();
        SetEnvironmentVariableA("VELK_STANDIN_LOG", nullptr);
    }
    void Copy(const char* name, const char* as = nullptr) {
        ASSERT_TRUE(CopyFileA((StandinFolder() + "\\" + name).c_str(), (game_ / (as ? as : name)).c_str(), FALSE))
            << name;
    }
    void CopyAll() {
        for (const char* name : kGoodModules) Copy(name);
        for (const char* name : kBadModules) Copy(name);
    }
    // The log lines of each module, in order.
    std::map<std::string, std::vector<std::string>> Events() {
        std::string text;
        ReadFileText(game_ / "standin.log", &text);
        std::map<std::string, std::vector<std::string>> events;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            size_t space = line.find(' ');
            events[line.substr(0, space)].push_back(line.substr(space + 1));
        }
        return events;
    }
    // The platform's own order of the files in the game folder.
    std::vector<std::string> SearchOrder() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA("*.REN", &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do names.push_back(data.cFileName);
        while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
};

TEST_F(RendererModules, GoodModulesInSearchOrderAndBadOnesLeftOut) {
    CopyAll();
    std::vector<std::string> expected;
    for (const std::string& name : SearchOrder()) {
        for (const char* good : kGoodModules)
            if (name == good) expected.push_back(name);
    }
    ASSERT_EQ(expected.size(), std::size(kGoodModules));

    EXPECT_EQ(list_.Discover(""), static_cast<int>(expected.size()));
    std::vector<std::string> found;
    for (const auto& r : list_.items) found.push_back(r->fileName);
    EXPECT_EQ(found, expected);
    // Why each bad one was left out, as the troubleshooting summary tells it.
    std::map<std::string, ModuleOutcome> outcomes;
    for (const ModuleReport& report : list_.reports) outcomes[report.fileName] = report.outcome;
    EXPECT_EQ(outcomes.size(), std::size(kGoodModules) + std::size(kBadModules));
    EXPECT_EQ(outcomes["standin_hw.ren"], ModuleOutcome::Offered);
    EXPECT_EQ(outcomes["standin_nolist.ren"], ModuleOutcome::NoList);
    EXPECT_EQ(outcomes["standin_noexport.ren"], ModuleOutcome::NoExports);
    EXPECT_EQ(outcomes["standin_notdll.ren"], ModuleOutcome::NotLoaded);
}

TEST_F(RendererModules, DescriptionsComeFromStringFive) {
    CopyAll();
    list_.Discover("");
    struct Case {
        const char* file;
        const char* listText;
    } const cases[] = {
        {"standin_hw.ren", "Stand-in Hardware Renderer (standin_hw.ren)"},
        {"standin_sw.ren", "Stand-in Software Renderer (standin_sw.ren)"},
        {"standin_nodesc.ren", "standin_nodesc.ren"},
        {"standin_subvga.ren", "Stand-in Low Resolution Renderer (standin_subvga.ren)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Renderer* r = list_.FindRenderer(c.file);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->ListText(), c.listText);
    }
    EXPECT_TRUE(list_.FindRenderer("standin_subvga.ren")->cards.empty());
}

TEST_F(RendererModules, EveryModuleIsUnloadedAndItsListFreedBeforeLoadingReturns) {
    CopyAll();
    UINT outer = SEM_FAILCRITICALERRORS;
    UINT before = SetErrorMode(outer);
    list_.Discover("");
    UINT after = SetErrorMode(before);
    EXPECT_EQ(after, outer) << "the error mode was not restored";

    // Quiet loading: 8000 = SEM_NOOPENFILEERRORBOX, the only flag while a module loads.
    const std::vector<std::string> listed = {"attach 8000", "get", "free", "detach"};
    const std::map<std::string, std::vector<std::string>> expected = {
        {"standin_hw.ren", listed},
        {"standin_sw.ren", listed},
        {"standin_nodesc.ren", listed},
        {"standin_subvga.ren", listed},
        {"standin_cycle.ren", listed},
        {"standin_badnext.ren", listed},
        {"standin_nolist.ren", {"attach 8000", "get", "detach"}},  // no list: nothing to free
        {"standin_noexport.ren", {"attach 8000", "detach"}},
    };
    EXPECT_EQ(Events(), expected);
    for (const char* name : kGoodModules) EXPECT_EQ(GetModuleHandleA(name), nullptr) << name;
    for (const char* name : kBadModules) EXPECT_EQ(GetModuleHandleA(name), nullptr) << name;
}

TEST_F(RendererModules, HardwareModuleCardsAndModes) {
    // Its records each end at a no-access page: reading past 532 bytes would fault here.
    Copy("standin_hw.ren");
    ASSERT_EQ(list_.Discover(""), 1);
    const Renderer& r = *list_.items[0];
    ASSERT_EQ(r.cards.size(), 3u);
    EXPECT_EQ(r.cards[0]->ListText(), "Stand-in Card A (CardA)");
    EXPECT_EQ(r.cards[0]->hardware, 1u);
    EXPECT_EQ(Labels(*r.cards[0]), (std::vector<std::string>{"640 x 480 x 16", "1024 x 768 x 32"}));
    EXPECT_EQ(r.cards[1]->ListText(), "Stand-in Card B (CardB)");
    EXPECT_EQ(Labels(*r.cards[1]),
              (std::vector<std::string>{"800 x 600 x 16", "1024 x 768 x 16", "1024 x 768 x 16"}));
    EXPECT_EQ(r.cards[2]->ListText(), "Stand-in Card C (CardC)");
    EXPECT_EQ(Labels(*r.cards[2]), (std::vector<std::string>{"800 x 600 x 32", "1280 x 960 x 32"}));
}

TEST_F(RendererModules, BrokenChainsEndTheWalkSafely) {
    Copy("standin_cycle.ren");
    Copy("standin_badnext.ren");
    list_.Discover("");
    const Renderer* cycle = list_.FindRenderer("standin_cycle.ren");
    const Renderer* badNext = list_.FindRenderer("standin_badnext.ren");
    ASSERT_NE(cycle, nullptr);
    ASSERT_NE(badNext, nullptr);
    ASSERT_EQ(cycle->cards.size(), 1u);
    EXPECT_EQ(Labels(*cycle->cards[0]),
              (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 16", "1024 x 768 x 16"}));
    ASSERT_EQ(badNext->cards.size(), 1u);
    EXPECT_EQ(Labels(*badNext->cards[0]), (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 16"}));
}

TEST_F(RendererModules, LoadTakesDefaultsAndTheSavedChoice) {
    Copy("standin_hw.ren");
    Copy("standin_sw.ren");
    ASSERT_TRUE(WriteFileText(game_ / "autoexec.cfg",
                              "\"NumRuns\" \"3\"\r\n\"RenderDll\" \"standin_sw.ren\"\r\n\"CardDesc\" \"Soft\"\r\n"
                              "\"ScreenWidth\" \"1024\"\r\n\"ScreenHeight\" \"768\"\r\n\"BitDepth\" \"16\"\r\n"));
    EXPECT_TRUE(list_.Load("", "autoexec.cfg"));
    ASSERT_EQ(list_.items.size(), 2u);
    Renderer* sw = list_.FindRenderer("standin_sw.ren");
    Renderer* hw = list_.FindRenderer("standin_hw.ren");
    EXPECT_EQ(list_.currentRenderer, sw);
    ASSERT_NE(sw->currentCard, nullptr);
    EXPECT_EQ(sw->currentCard->name, "Soft");
    EXPECT_EQ(sw->currentCard->currentMode->label, "1024 x 768 x 16");
    EXPECT_EQ(sw->FindCard("SoftWide")->currentMode, nullptr);  // software, no 640 x 480 x 16
    EXPECT_EQ(hw->currentCard, nullptr);
    EXPECT_EQ(hw->FindCard("CardA")->currentMode->label, "640 x 480 x 16");
    EXPECT_EQ(hw->FindCard("CardB")->currentMode->label, "800 x 600 x 16");  // hardware fallback
    EXPECT_EQ(hw->FindCard("CardC")->currentMode, nullptr);
}

TEST_F(RendererModules, SearchMatchesTheExtensionInAnyCaseAndKeepsTheName) {
    Copy("standin_sw.ren", "UPPER.REN");
    Copy("standin_nodesc.ren", "Mixed.Ren");
    Copy("standin_hw.ren", "standin_hw.dll");  // not a renderer by its name
    Copy("standin_hw.ren", "hw.renold");       // a backup, "*.REN" only through its 8.3 name
    // Its ANSI form "grafik-a.ren" would name another file, or none.
    ASSERT_TRUE(CopyFileW(velk::WideFromAnsi(StandinFolder() + "\\standin_hw.ren").c_str(),
                          velk::WideFromUtf8(game_ / "grafik-\xc4\x81.ren").c_str(), FALSE));
    list_.Discover("");
    std::vector<std::string> found, tried;
    for (const auto& r : list_.items) found.push_back(r->fileName);
    for (const ModuleReport& r : list_.reports) tried.push_back(r.fileName);
    std::sort(found.begin(), found.end());
    std::sort(tried.begin(), tried.end());
    EXPECT_EQ(found, (std::vector<std::string>{"Mixed.Ren", "UPPER.REN"}));
    EXPECT_EQ(tried, found);
}

// Modules that fault in an export are left out like modules without exports;
// the launcher and the good module carry on. The faulted ones stay loaded, for
// threads of their own may still run in them.
TEST_F(RendererModules, FaultingModulesAreLeftOutAndDiscoveryGoesOn) {
    for (const char* name : {"standin_faultget.ren", "standin_faultfree.ren", "standin_sw.ren"}) Copy(name);
    EXPECT_TRUE(list_.Load("", "autoexec.cfg"));
    ASSERT_EQ(list_.items.size(), 1u);
    EXPECT_EQ(list_.items[0]->fileName, "standin_sw.ren");

    const std::map<std::string, std::vector<std::string>> expected = {
        {"standin_faultget.ren", {"attach 8000", "get"}},
        {"standin_faultfree.ren", {"attach 8000", "get", "free"}},
        {"standin_sw.ren", {"attach 8000", "get", "free", "detach"}},
    };
    EXPECT_EQ(Events(), expected);
    for (const char* name : {"standin_faultget.ren", "standin_faultfree.ren"})
        EXPECT_NE(GetModuleHandleA(name), nullptr) << name;

    // The guard is whole again after the faults: a second search finds the same.
    RendererList again(&Win32RendererHost());
    EXPECT_EQ(again.Discover(""), 1);
}

// Exports that pop their own arguments leave the caller's stack pointer off.
TEST_F(RendererModules, CalleeCleansModuleIsLeftOut) {
#ifdef _WIN64
    GTEST_SKIP() << "64-bit Windows has one calling convention: no such module can be made";
#endif
    Copy("standin_stdcall.ren");
    Copy("standin_sw.ren");
    EXPECT_EQ(list_.Discover(""), 1);
    ASSERT_EQ(list_.items.size(), 1u);
    EXPECT_EQ(list_.items[0]->fileName, "standin_sw.ren");
    EXPECT_EQ(Events()["standin_stdcall.ren"], (std::vector<std::string>{"attach 8000", "get", "free", "detach"}));
}

TEST_F(RendererModules, EmptyFolderFindsNothing) {
    EXPECT_TRUE(list_.Load("", "autoexec.cfg"));
    EXPECT_TRUE(list_.items.empty());
    EXPECT_EQ(list_.currentRenderer, nullptr);
}

}  // namespace
}  // namespace velk
