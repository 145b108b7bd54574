// The 3D sound providers of the sound library and the player's choice among
// them: how a provider is classified for the engine, how the list is built,
// how the choice is stored and what the engine is told. No Windows API here;
// the library itself is reached through SoundLibrary.
#pragma once
#include <cstdint>
#include <forward_list>
#include <string>
#include <vector>

namespace velk {

class SettingsStore;

// Longest provider name kept (a 261-byte buffer with its NUL).
constexpr size_t kProviderNameLength = 260;
// A library that keeps delivering providers is not followed further than this.
constexpr int kMaxProvidersDelivered = 256;

// Kind codes the engine understands; 0 is "no 3D sound".
enum SoundProviderKind : int32_t {
    kNo3DSound = 0,
    kDirectSoundHardware = 1,
    kDirectSoundEax = 2,
    kDirectSoundSoftware = 3,
    kAurealA3D = 4,
    kIntelRse = 5,
    kMiles2D = 6,
    kOtherProvider = 7,
};

int32_t ClassifySoundProvider(const std::string& name);

// True when the name can go to the engine between quote marks: it holds no
// quote mark, which would end the name and let the rest pass as switches, and
// no control character (a line break would split the command file).
bool IsPassableProviderName(const std::string& name);

struct SoundProviderRecord {
    uint32_t handle = 0;  // the library's handle; valid only during the enumeration
    int32_t kind = kOtherProvider;
    std::string name;     // at most kProviderNameLength characters
    int32_t hasEax = 0;
};

// Newest first: each provider found goes to the head, so the list holds the
// providers in the reverse of the library's order.
using SoundProviderList = std::forward_list<SoundProviderRecord>;

// The operations of the sound library that the detection uses, with the
// library's own arguments and results (see sound/mss_interface.h).
class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;
    // True once a call into the library went wrong (a fault inside it): it is not called again.
    virtual bool Broken() const { return false; }
    virtual void Startup() = 0;
    virtual int32_t SetPreference(uint32_t number, int32_t value) = 0;
    // 0 when the wave mapper was opened; fills the driver handle.
    virtual int32_t OpenWaveMapper(uint32_t* driver) = 0;
    // Non-zero while a provider was delivered; the name may be null.
    virtual int32_t EnumerateProviders(uint32_t* cursor, uint32_t* provider, const char** name) = 0;
    virtual int32_t OpenProvider(uint32_t provider) = 0;
    virtual void ProviderAttribute(uint32_t provider, const char* attribute, int32_t* value) = 0;
    virtual void CloseProvider(uint32_t provider) = 0;
    virtual void CloseWaveMapper(uint32_t driver) = 0;
    virtual void Shutdown() = 0;
};

// Asks the library for its providers and puts every one that opens, and whose
// name can be passed to the engine, at the head of `list`. Does nothing and succeeds when the list already holds
// records. False when the wave mapper did not open or the library broke
// down; the list is then left empty.
bool EnumerateSoundProviders(SoundLibrary& library, SoundProviderList& list);

// The player's 3D sound choice and the values stored for it.
struct SoundChoice {
    int32_t providerKind = kNo3DSound;
    std::string providerName;  // at most kProviderNameLength characters
    uint32_t samples3D = 16;
    uint32_t samples2D = 32;
    int32_t reverb = 100;  // hundredths
};

// The values the choice is stored in.
constexpr const char* kSoundProviderValue = "Sound Provider";
constexpr const char* kSoundProviderNameValue = "Sound Provider Name";
constexpr const char* kSound3DSamplesValue = "Sound 3D Samples";
constexpr const char* kSound2DSamplesValue = "Sound 2D Samples";
constexpr const char* kSoundReverbValue = "Sound Reverb";
// The player accepted the warning before the first search ("Sound Enum Warning").
constexpr const char* kSoundWarningValue = "Sound Enum Warning";

// The five stored values; a missing or unreadable value, or a stored name that
// cannot be passed to the engine, leaves its field unchanged.
void LoadSoundChoice(SettingsStore& settings, SoundChoice& choice);
void SaveSoundChoice(SettingsStore& settings, const SoundChoice& choice);

// The engine's part of the command line for a confirmed choice; every piece
// ends with a blank.
std::string SoundFragment(const SoundChoice& choice);

// Whether a run asked the sound library yet, and how that went.
enum class SoundSearch { NotSearched, Failed, Done };

// The 3D sound of a run: the player's choice, whether "3DSOUND" confirmed it
// in this run, and the providers the one search of the run found.
struct SoundSetup {
    SoundChoice choice;
    int32_t confirmed = 0;
    SoundSearch search = SoundSearch::NotSearched;
    SoundProviderList providers;

    // Empty until confirmed in this run.
    std::string Fragment() const { return confirmed ? SoundFragment(choice) : std::string(); }
    // Deletes the stored choice (a value that stays is added to `notDeleted`)
    // and puts this run's back to the default, unconfirmed: it no longer
    // reaches the engine. What the search found stays.
    void Forget(SettingsStore* settings, std::vector<std::string>& notDeleted);
};

// The reverb levels the dialog offers, in the order of its choices.
constexpr int32_t kReverbLevels[6] = {0, 30, 60, 100, 125, 150};

// The number in an unsigned field: digits only (blanks around them allowed)
// and at most 4294967295; anything else gives 0.
uint32_t ParseUnsignedField(const std::string& text);

}  // namespace velk
