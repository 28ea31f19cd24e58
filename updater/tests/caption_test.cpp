#include "app/caption.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(Caption, VersionAndMarkers) {
    EXPECT_EQ(FormatVersion(0x00020003, 0x00040005), L"2.3.4.5");
    EXPECT_EQ(FormatVersion(0xFFFF0000, 0x0000FFFF), L"65535.0.0.65535");

    StartupOptions plain;
    EXPECT_EQ(BuildCaption(L"1.2.3.4", plain), L"Brenmar Zu Update Tool    1.2.3.4");
    EXPECT_EQ(BuildCaption(L"", plain), L"Brenmar Zu Update Tool");

    StartupOptions relaxed;
    relaxed.TypeCheck = false;
    relaxed.NoCheck = true;
    EXPECT_EQ(BuildCaption(L"1.2.3.4", relaxed),
              L"Brenmar Zu Update Tool    1.2.3.4   >> NOTYPECHECK <<   >> NOCHECK <<");
}

}  // namespace
}  // namespace zu
