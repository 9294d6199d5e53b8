#include "model/Model.h"
#include "model/ModelReader.h"
#include "support/ModelText.h"
#include "support/Mutator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>

namespace sw {
namespace {

// Reads the text whole, and streamed through a buffer small enough that every kind of token
// meets a refill; both must agree to the bit.
void expectStreamingAgrees(const std::string& text) {
    Model whole;
    const bool wholeLoaded = ModelReader(text).load(whole);
    Model streamed;
    std::istringstream in(text);
    const bool streamedLoaded = ModelReader(in, 128).load(streamed);
    ASSERT_EQ(wholeLoaded, streamedLoaded);
    if (wholeLoaded) {
        ASSERT_EQ(test::fileLayer(whole), test::fileLayer(streamed));
    }
}

TEST(ModelReaderStreaming, AgreesWithTheWholeTextReaderOnDamagedModels) {
    test::Mutator mutator(4242);
    for (int i = 0; i < 2000; ++i) {
        SCOPED_TRACE(i);
        expectStreamingAgrees(mutator.mutate(test::kTriangleModel));
        if (HasFatalFailure())
            return;
    }
}

TEST(ModelReaderStreaming, LongRunsCrossTheBuffer) {
    const std::string longWord(1000, 'w');
    const std::string longComment = "#" + std::string(700, 'c') + " MESHES 0\n";
    std::string text = test::replaced(test::kTriangleModel, "0: 0 0 0 0", longWord + " 0 0 0 0");
    text = test::replaced(text, "NAME tri", "NAME " + longWord);
    text = test::replaced(text, "FACES 1",
                          std::string(900, ' ') + "FACES" + std::string(900, '\n') + "1");
    text = test::replaced(text, "GEOSETS 1", longComment + longComment + "GEOSETS 1");
    expectStreamingAgrees(text);
    Model model;
    std::istringstream in(text);
    ASSERT_TRUE(ModelReader(in, 128).load(model))
        << "the comments' overflow holds no MESHES keyword";
    EXPECT_EQ(model.meshes[0].name, std::string(kMaxNameLength, 'w'));

    // The overflow of a comment longer than 255 characters is read as words, streamed too.
    expectStreamingAgrees(test::replaced(test::kTriangleModel, "MESHES 1",
                                         "#" + std::string(300, 'x') + " MESHES 0\nMESHES 1"));
}

TEST(ModelReaderStreaming, RealsAreConvertedExactly) {
    // The short decimals of usual files take a quick path; every real must still come out as
    // the correctly rounded double the C library makes of the same text.
    std::mt19937_64 random(99);
    char text[64];
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_int_distribution<int>(-8, 12)(random));
        const double value = std::uniform_real_distribution<double>(-1, 1)(random) * magnitude;
        const int decimals = std::uniform_int_distribution<int>(0, 17)(random);
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strlen(text) > 27)
            continue; // longer reals are cut by the reader, as they were by the format's tools
        double read = 0;
        ModelReader reader(text);
        ASSERT_TRUE(reader.readDouble(read)) << text;
        ASSERT_EQ(read, std::strtod(text, nullptr)) << text;
        ASSERT_EQ(std::signbit(read), std::signbit(std::strtod(text, nullptr))) << text;
    }
}

} // namespace
} // namespace sw
