#include "model/Model.h"
#include "model/ModelReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sw {
namespace {

TEST(Smoke, LoadsSample) {
    Model model;
    ASSERT_TRUE(model.load(std::string(SW_SAMPLES_DIR) + "/totem.3do"));
    EXPECT_EQ(model.numMeshes(), 3);
}

} // namespace
} // namespace sw
