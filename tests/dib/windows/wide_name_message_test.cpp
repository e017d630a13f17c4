// A UTF-16 name as the open failure shows it on Windows.
#include <windows.h>

#include "dib_test_support.h"

namespace {

// A UTF-16 name that cannot be opened is shown as Windows prints such a name
// into 8-bit text: in the ANSI code page.
TEST(WideNames, ShowInTheAnsiCodePage) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the name is written for code page 1252, this system's is " << GetACP();
    }
    testing::internal::CaptureStderr();  // no message sink is installed
    EXPECT_EQ(LoadDibImageWide(u"missing-caf\u00E9.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Failed to open DIB file missing-caf\xE9.bmp.\n");
}

}  // namespace
