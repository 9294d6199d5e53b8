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
#include <string>
#include <vector>

namespace sw::test {
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
        ASSERT_EQ(fileLayer(whole), fileLayer(streamed));
    }
}

TEST(ModelReaderStreaming, AgreesWithTheWholeTextReaderOnDamagedModels) {
    Mutator mutator(4242);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        expectStreamingAgrees(mutator.mutate(kTriangleModel));
        if (HasFatalFailure())
            return;
    }
}

TEST(ModelReaderStreaming, LongRunsCrossTheBuffer) {
    const std::string longWord(1000, 'w');
    const std::string longComment = "#" + std::string(700, 'c') + " MESHES 0\n";
    std::string text = replaced(kTriangleModel, "0: 0 0 0 0", longWord + " 0 0 0 0");
    text = replaced(text, "NAME tri", "NAME " + longWord);
    text =
        replaced(text, "FACES 1", std::string(900, ' ') + "FACES" + std::string(900, '\n') + "1");
    text = replaced(text, "GEOSETS 1", longComment + longComment + "GEOSETS 1");
    expectStreamingAgrees(text);
    Model model;
    std::istringstream in(text);
    ASSERT_TRUE(ModelReader(in, 128).load(model))
        << "the comments' overflow holds no MESHES keyword";
    EXPECT_EQ(model.meshes[0].name, std::string(kMaxNameLength, 'w'));

    // The overflow of a comment longer than 255 characters is read as words, streamed too.
    expectStreamingAgrees(
        replaced(kTriangleModel, "MESHES 1", "#" + std::string(300, 'x') + " MESHES 0\nMESHES 1"));
}

// The short decimals of usual files take a quick path; every real must still come out as the
// correctly rounded double the C library makes of the same text: at the edges of that path
// (19 digits, 2^53, 22 decimals) and for random ones.
TEST(ModelReaderStreaming, RealsAreConvertedExactly) {
    std::vector<std::string> texts = {"9007199254740991",
                                      "9007199254740993",
                                      "0.9007199254740993",
                                      "1234567890123456789",
                                      "0.1234567890123456789",
                                      "0.0000000000000000000001",
                                      "0.00000000000000000000011",
                                      "-0.000000",
                                      "2.5e-3",
                                      "0.1"};
    std::mt19937_64 random(99);
    char text[64];
    for (int i = 0; i < 300; ++i) {
        const double magnitude = std::pow(10.0, std::uniform_int_distribution<int>(-8, 12)(random));
        const double value = std::uniform_real_distribution<double>(-1, 1)(random) * magnitude;
        const int decimals = std::uniform_int_distribution<int>(0, 17)(random);
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strlen(text) <= 27) // longer reals are cut, as the format's tools cut them
            texts.emplace_back(text);
    }
    for (const std::string& real : texts) {
        double read = 0;
        ModelReader reader(real);
        ASSERT_TRUE(reader.readDouble(read)) << real;
        const double expected = std::strtod(real.c_str(), nullptr);
        ASSERT_EQ(read, expected) << real;
        ASSERT_EQ(std::signbit(read), std::signbit(expected)) << real;
    }
}

} // namespace
} // namespace sw::test
