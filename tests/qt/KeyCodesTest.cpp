#include "platform/qt/KeyCodes.h"
#include "platform/ControlIds.h"

#include <gtest/gtest.h>

namespace sw::qt {
namespace {

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
};

class VirtualKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeys, MatchTheKeysTheHandlersKnow) {
    EXPECT_EQ(virtualKeyFor(GetParam().qtKey, GetParam().modifiers), GetParam().virtualKey);
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeys,
    testing::Values(
        KeyCase{Qt::Key_Left, kNone, vk::kLeft}, KeyCase{Qt::Key_Up, kNone, vk::kUp},
        KeyCase{Qt::Key_Right, kNone, vk::kRight}, KeyCase{Qt::Key_Down, kNone, vk::kDown},
        // The pad's arrows (without Num Lock) and Enter are the main keys.
        KeyCase{Qt::Key_Up, kPad, vk::kUp}, KeyCase{Qt::Key_Enter, kPad, vk::kReturn},
        KeyCase{Qt::Key_Return, kNone, vk::kReturn}, KeyCase{Qt::Key_Backspace, kNone, vk::kBack},
        KeyCase{Qt::Key_Escape, kNone, vk::kEscape},
        KeyCase{Qt::Key_Control, Qt::ControlModifier, vk::kControl},
        KeyCase{Qt::Key_Shift, Qt::ShiftModifier, vk::kShift},
        // Only the pad's "*", "+" and "-" navigate; the main keyboard's have no code.
        KeyCase{Qt::Key_Asterisk, kPad, vk::kMultiply}, KeyCase{Qt::Key_Plus, kPad, vk::kAdd},
        KeyCase{Qt::Key_Minus, kPad, vk::kSubtract}, KeyCase{Qt::Key_Minus, kNone, 0},
        KeyCase{Qt::Key_Plus, kNone, 0}, KeyCase{Qt::Key_5, kPad, vk::kNumpad0 + 5},
        KeyCase{Qt::Key_5, kNone, '5'}, KeyCase{Qt::Key_M, Qt::ShiftModifier, 'M'},
        KeyCase{Qt::Key_R, kNone, 'R'}, KeyCase{Qt::Key_F1, kNone, vk::kF1},
        KeyCase{Qt::Key_F12, kNone, vk::kF1 + 11}, KeyCase{Qt::Key_unknown, kNone, 0}));

} // namespace
} // namespace sw::qt
