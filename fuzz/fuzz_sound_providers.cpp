// Sound provider names as a sound library delivers them, the choice's
// fragment of the engine command line, and the dialog's number fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>

#include "fuzz_checks.h"
#include "sound/sound_providers.h"

using velk::fuzz::EngineWords;
using velk::fuzz::Require;

namespace {

// Every number of the fragment reads back as the value it stands for.
void CheckFragment(const velk::SoundChoice& choice) {
    const std::string fragment = velk::SoundFragment(choice);
    const std::vector<std::string> words = EngineWords(fragment);
    Require(words.size() == 10 && fragment.back() == ' ');
    Require(words[0] == "++3dsoundprovider" && std::stol(words[1]) == choice.providerKind);
    Require(words[2] == "++3dsoundprovidername" && words[3] == choice.providerName);
    Require(words[4] == "++max3dvoices" && std::stoul(words[5]) == choice.samples3D);
    Require(words[6] == "++maxswvoices" && std::stoul(words[7]) == choice.samples2D);
    // The level as a fraction with six decimals; single precision may be off in its last bits.
    const double level = choice.reverb / 100.0;
    Require(words[8] == "++reverblevel" && std::fabs(std::stod(words[9]) - level) <= 5e-7 + std::fabs(level) * 3e-7);
}

// A field's number: digits only, blanks around them, within 32 bits; anything else is 0.
void CheckField(const std::string& text) {
    const uint32_t value = velk::ParseUnsignedField(text);
    const size_t begin = text.find_first_not_of(" \t");
    if (value == 0 || begin == std::string::npos) return;
    const std::string digits = text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
    Require(digits.find_first_not_of("0123456789") == std::string::npos && std::stoull(digits) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string name = in.ConsumeRandomLengthString(2 * velk::kProviderNameLength);
    const int32_t kind = velk::ClassifySoundProvider(name);
    Require(kind >= velk::kDirectSoundHardware && kind <= velk::kOtherProvider);
    // A name that passes stands between quote marks as one word of the engine's.
    if (velk::IsPassableProviderName(name)) Require(EngineWords("\"" + name + "\"") == std::vector<std::string>{name});

    velk::SoundChoice choice;
    if (velk::IsPassableProviderName(name)) choice.providerName = name.substr(0, velk::kProviderNameLength);
    choice.providerKind = in.ConsumeIntegral<int32_t>();
    choice.samples3D = in.ConsumeIntegral<uint32_t>();
    choice.samples2D = in.ConsumeIntegral<uint32_t>();
    choice.reverb = in.ConsumeIntegral<int32_t>();
    CheckFragment(choice);
    CheckField(in.ConsumeRemainingBytesAsString());
    return 0;
}
