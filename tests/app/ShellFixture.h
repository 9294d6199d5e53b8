#pragma once

#include "app/Shell.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace sw::test {

// A shell started on the in-memory platform.
class ShellFixture : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shell.start()); }

    FakePlatform fake;
    FakeWindowSystem& windows = fake.windows;
    Shell shell{fake.platform};
};

} // namespace sw::test
