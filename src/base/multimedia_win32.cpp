#include "base/multimedia.h"

#include "base/win32_handles.h"

namespace velk {

namespace {

HMODULE Winmm() {
    static ModuleHandle winmm(LoadLibraryA("winmm.dll"));  // kept for the rest of the run
    return winmm.get();
}

template <typename Fn>
Fn WinmmFunction(const char* name) {
    HMODULE module = Winmm();
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

DWORD MultimediaTime() {
    using TimeFn = DWORD(WINAPI*)();
    static TimeFn timeGetTime = WinmmFunction<TimeFn>("timeGetTime");
    return timeGetTime ? timeGetTime() : GetTickCount();
}

BOOL PlaySoundResource(const char* name, HMODULE module, DWORD flags) {
    using PlayFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
    static PlayFn playSound = WinmmFunction<PlayFn>("PlaySoundA");
    return playSound ? playSound(name, module, flags) : FALSE;
}

}  // namespace velk
