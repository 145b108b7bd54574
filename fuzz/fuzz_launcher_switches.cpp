// The launcher's own command line and the title window's link rectangles.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "fuzz_checks.h"
#include "launcher/startup_rules.h"
#include "launcher/title_links.h"

using velk::fuzz::Require;

namespace {

constexpr size_t kLooked = 255;  // characters of the command line that count

bool Same(velk::LauncherSwitches a, velk::LauncherSwitches b) { return a.play == b.play && a.multiplayer == b.multiplayer; }

void CheckSwitches(FuzzedDataProvider& in) {
    std::string line = in.ConsumeRandomLengthString(2 * kLooked).c_str();  // a command line ends at its NUL
    const velk::LauncherSwitches found = velk::ParseLauncherSwitches(line.c_str());
    // Letter case does not count.
    std::string recased = line;
    for (char& c : recased) {
        if (in.ConsumeBool()) c = static_cast<char>(isupper(static_cast<unsigned char>(c)) ? tolower(c) : toupper(c));
    }
    Require(Same(velk::ParseLauncherSwitches(recased.c_str()), found));
    // Nothing after the first 255 characters counts; a switch wholly within them always does.
    if (line.size() > kLooked) Require(Same(velk::ParseLauncherSwitches(line.substr(0, kLooked).c_str()), found));
    const char* kSwitch = in.PickValueInArray({"-gogame", "-GoMulti", "connect"});
    const size_t at = in.ConsumeIntegralInRange<size_t>(0, std::min(line.size(), kLooked - strlen(kSwitch)));
    const velk::LauncherSwitches with = velk::ParseLauncherSwitches(line.insert(at, kSwitch).c_str());
    Require(kSwitch[1] == 'g' ? with.play : with.multiplayer);
}

// The first link whose rectangle holds the point, edges included; never an absent one.
void CheckLinks(FuzzedDataProvider& in) {
    velk::LinkRect rects[3];
    for (velk::LinkRect& r : rects) {
        r.left = in.ConsumeBool() ? velk::kAbsentLink : in.ConsumeIntegral<int16_t>();
        r.top = in.ConsumeIntegral<int16_t>();
        r.right = in.ConsumeIntegral<int16_t>();
        r.bottom = in.ConsumeIntegral<int16_t>();
    }
    int32_t x = in.ConsumeIntegral<uint16_t>();
    x -= in.ConsumeIntegral<uint8_t>();  // a little left of the client area too
    const int32_t y = in.ConsumeIntegral<uint16_t>();
    auto holds = [&](const velk::LinkRect& r) {
        return r.left != velk::kAbsentLink && r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
    };
    const int hit = velk::HitTestLinkRects(rects, x, y);
    Require(hit >= 0 && hit <= 3);
    if (hit) Require(holds(rects[hit - 1]));
    for (int i = 0; i < (hit ? hit - 1 : 3); ++i) Require(!holds(rects[i]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Require(Same(velk::ParseLauncherSwitches(nullptr), {}));
    CheckSwitches(in);
    CheckLinks(in);
    return 0;
}
