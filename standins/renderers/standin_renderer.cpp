// The exports of a stand-in renderer module (see standin_renderer.h). When the
// environment variable VELK_STANDIN_LOG names a file, every module appends
// "<module> <event>" lines to it: attach <error mode in hex>, get, free (or
// free-wrong-address), detach.
//
// Hostile variants, chosen at build time: STANDIN_FAULT_IN_GET and
// STANDIN_FAULT_IN_FREE make that export read address 0 after logging;
// STANDIN_STDCALL_EXPORTS gives both exports the callee-cleans convention
// under their plain names.
#include "standin_renderer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HMODULE g_module = nullptr;
StandinModeRecord* g_handedOut = nullptr;

void Log(const char* event) {
    char logPath[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("VELK_STANDIN_LOG", logPath, sizeof(logPath));
    if (length == 0 || length >= sizeof(logPath)) return;
    char modulePath[MAX_PATH] = "?";
    GetModuleFileNameA(g_module, modulePath, sizeof(modulePath));
    const char* name = strrchr(modulePath, '\\');
    name = name ? name + 1 : modulePath;
    char line[MAX_PATH + 64];
    int n = snprintf(line, sizeof(line), "%s %s\n", name, event);
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

const DWORD kPage = 4096;

StandinModeRecord* NewRecord() {
    if (kStandinTable.layout == StandinLayout::Heap) return new StandinModeRecord();
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE, PAGE_NOACCESS));
    VirtualAlloc(pages, kPage, MEM_COMMIT, PAGE_READWRITE);
    auto* record = reinterpret_cast<StandinModeRecord*>(pages + kPage - sizeof(StandinModeRecord));
    memset(record, 0, sizeof(*record));
    return record;
}

void DeleteRecord(StandinModeRecord* record) {
    if (kStandinTable.layout == StandinLayout::Heap) {
        delete record;
    } else {
        uintptr_t base = reinterpret_cast<uintptr_t>(record) & ~uintptr_t(kPage - 1);
        VirtualFree(reinterpret_cast<void*>(base), 0, MEM_RELEASE);
    }
}

// The record layout holds 32-bit addresses. A 64-bit test build of the
// launcher reads them too, so records must lie in the low 4 GiB there.
uint32_t AddressOf(StandinModeRecord* record) {
    uintptr_t address = reinterpret_cast<uintptr_t>(record);
    if (address > 0xFFFFFFFFu) abort();
    return static_cast<uint32_t>(address);
}

StandinModeRecord* RecordAt(uint32_t address) { return reinterpret_cast<StandinModeRecord*>(uintptr_t(address)); }

template <size_t Size>
void CopyText(char (&field)[Size], const char* text) {
    size_t length = strnlen(text, Size - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}

void Fill(StandinModeRecord* record, const StandinMode& mode) {
    record->hardware = mode.hardware;
    memset(record->reserved, 0x5A, sizeof(record->reserved));
    CopyText(record->cardName, mode.cardName);
    CopyText(record->cardDescription, mode.cardDescription);
    record->width = mode.width;
    record->height = mode.height;
    record->bitDepth = mode.bitDepth;
}

StandinModeRecord* BuildList() {
    StandinModeRecord* first = nullptr;
    StandinModeRecord* last = nullptr;
    for (size_t i = 0; i < kStandinTable.count; ++i) {
        StandinModeRecord* record = NewRecord();
        Fill(record, kStandinTable.modes[i]);
        if (last)
            last->next = AddressOf(record);
        else
            first = record;
        last = record;
    }
    if (last && kStandinTable.chain == StandinChain::LoopsToFirst) last->next = AddressOf(first);
    if (last && kStandinTable.chain == StandinChain::EndsInGuardPage) {
        last->next = AddressOf(last) + sizeof(*last) - 100;
    }
    return first;
}

[[maybe_unused]] void DeleteList(StandinModeRecord* first) {
    for (size_t i = 0; first && i < kStandinTable.count; ++i) {
        StandinModeRecord* next = RecordAt(first->next);
        DeleteRecord(first);
        first = next;
    }
}

// Read through a pointer the compiler cannot see is null, so the read really happens.
int* volatile g_nowhere = nullptr;

[[maybe_unused]] void Fault() {
    volatile int value = *g_nowhere;
    (void)value;
}

}  // namespace

#ifdef STANDIN_STDCALL_EXPORTS
#define STANDIN_EXPORT_CONVENTION __stdcall
#else
#define STANDIN_EXPORT_CONVENTION __cdecl
#endif

extern "C" __declspec(dllexport) StandinModeRecord* STANDIN_EXPORT_CONVENTION GetSupportedModes() {
    Log("get");
#ifdef STANDIN_FAULT_IN_GET
    Fault();
#endif
    g_handedOut = BuildList();
    return g_handedOut;
}

#ifndef STANDIN_WITHOUT_FREE_EXPORT
extern "C" __declspec(dllexport) int STANDIN_EXPORT_CONVENTION FreeModeList(StandinModeRecord* first) {
#ifdef STANDIN_FAULT_IN_FREE
    Log("free");
    Fault();
#endif
    if (first != g_handedOut || !first) {
        Log("free-wrong-address");
        return 0;
    }
    Log("free");
    DeleteList(first);
    g_handedOut = nullptr;
    return 1;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        // The error mode the loader runs under, for tests of the launcher's quiet loading.
        UINT mode = SetErrorMode(0);
        SetErrorMode(mode);
        char event[32];
        snprintf(event, sizeof(event), "attach %04X", mode);
        Log(event);
    } else if (reason == DLL_PROCESS_DETACH) {
        Log("detach");
    }
    return TRUE;
}
