#include "object_types.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(ObjectTypes, SizesNamesAndGrowth) {
    const struct {
        int type, size;
    } cases[] = {{1, 624}, {2, 3720}, {3, 17776}, {4, 144}, {5, 176}, {10, 304}, {11, 568}, {12, 2384},
                 {13, 208}, {20, 728}, {21, 344}, {22, 144}, {23, 312}, {24, 144}, {25, 144}, {26, 208},
                 {27, 192}, {30, 160}, {0, 0}, {6, 0}, {100, 0}, {111, 0}};
    for (const auto& c : cases) EXPECT_EQ(ObjectTypeSize(c.type), c.size) << c.type;
    EXPECT_EQ(ObjectSize(3, 2, 0), 17776);
    EXPECT_EQ(ObjectSize(3, 5, 0), 17776 + 3 * 88);
    EXPECT_EQ(ObjectSize(20, 0, 3), 728);
    EXPECT_EQ(ObjectSize(20, 0, 7), 728 + 4 * 144);
    EXPECT_EQ(ObjectSize(4, 9, 9), 144);
    EXPECT_EQ(ObjectTypeNameId(10), 202);
    EXPECT_EQ(ObjectTypeNameId(100), 224);
}

}  // namespace
}  // namespace lmc32
