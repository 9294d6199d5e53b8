#pragma once

#include "platform/Platform.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeMessageBox.h"
#include "support/FakeSettings.h"
#include "support/FakeWindowSystem.h"

namespace sw::test {

// The whole platform in memory, for running the shell without a display.
struct FakePlatform {
    FakeWindowSystem windows;
    FakeMessageBox messageBoxes;
    FakeFileDialogs fileDialogs;
    FakeSettings settings;
    Platform platform{windows, messageBoxes, fileDialogs, settings};
};

} // namespace sw::test
