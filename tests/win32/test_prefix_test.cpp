// The Wine prefix the tests run in.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A crashing test program ends at once instead of waiting behind the crash dialog.
TEST(TestPrefix, CrashDialogIsSwitchedOff) {
    DWORD value = 1;
    DWORD size = sizeof(value);
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", RRF_RT_REG_DWORD, nullptr,
                           &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
}

}  // namespace
