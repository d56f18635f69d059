// Assertions shared by the tests that check recorded drawing.
#pragma once

#include <gtest/gtest.h>

#include "platform/Geometry.h"

inline void expectRectangle(const Rectangle& actual, const Rectangle& expected) {
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.width, expected.width);
    EXPECT_FLOAT_EQ(actual.height, expected.height);
}
