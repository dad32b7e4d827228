#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "muldiv.h"

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  const struct {
    std::int32_t a, b, c, expected;
  } cases[] = {
      {4, 28, 256, 0},                                                                  // 0.4375
      {5, 28, 256, 1},                                                                  // 0.546875
      {32, 4, 256, 1},                                                                  // 0.5 exactly: up
      {-32, 4, 256, -1},                                                                // -0.5 exactly: away from zero
      {32, -4, 256, -1},  {32, 4, -256, -1},  {-32, -4, -256, -1}, {16, -32, 255, -2},  // -2.0078
      {5, -32, 255, -1},                                                                // -0.627
      {4, -255, 255, -4}, {255, 28, 256, 28},                                           // 27.89
      {7, 3, 2, 11},                                                                    // 10.5
      {-7, 3, 2, -11},    {0, 5, 7, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDiv, UsesTheFullProduct) {
  // 2^31 - 1 squared does not fit 32 bits; the quotient does.
  const std::int32_t big = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(platform::MulDiv(big, big, big), big);
  EXPECT_EQ(platform::MulDiv(65536, 65536, 65536), 65536);
}

TEST(MulDiv, ZeroDivisorOrOverflowGivesMinusOne) {
  const std::int32_t big = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(platform::MulDiv(3, 4, 0), -1);
  EXPECT_EQ(platform::MulDiv(big, 2, 1), -1);
  EXPECT_EQ(platform::MulDiv(std::numeric_limits<std::int32_t>::min(), 1, 1), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(platform::MulDiv(std::numeric_limits<std::int32_t>::min(), -1, 1), -1);
}

}  // namespace
