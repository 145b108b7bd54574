// The launcher's settings store opened under a scratch top key and handed to
// the test's run, as start-up does with the real key.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "base/registry_store.h"

namespace velk::test {

inline ::testing::AssertionResult UseScratchSettings(const char* top, std::unique_ptr<SettingsStore>& settings) {
    auto store = std::make_unique<RegistryStore>();
    if (!store->Open("Brannock", "Velkarion", "1.0", nullptr, HKEY_LOCAL_MACHINE, top))
        return ::testing::AssertionFailure() << "the settings under " << top << " cannot be opened";
    settings = std::move(store);
    return ::testing::AssertionSuccess();
}

}  // namespace velk::test
