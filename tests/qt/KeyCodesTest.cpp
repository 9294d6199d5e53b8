#include "platform/qt/KeyCodes.h"
#include "platform/ControlIds.h"

#include <gtest/gtest.h>

namespace sw::qt {
namespace {

struct KeyRow {
    int qtKey;
    int virtualKey;
};

// The rules of the map: the pad's digits and operators have codes of their own, while its
// arrows and Enter are the main keys; digits and capitals keep their ASCII codes; the
// function keys count up from F1. The GUI test presses Left, CTRL, SHIFT, the pad's "+" and M.
TEST(VirtualKeys, MatchTheKeysTheHandlersKnow) {
    constexpr int kPad5 = vk::kNumpad0 + 5;
    constexpr int kF12 = vk::kF1 + 11;
    const KeyRow pad[] = {{Qt::Key_Up, vk::kUp},
                          {Qt::Key_Enter, vk::kReturn},
                          {Qt::Key_Asterisk, vk::kMultiply},
                          {Qt::Key_Minus, vk::kSubtract},
                          {Qt::Key_5, kPad5}};
    const KeyRow main[] = {{Qt::Key_Right, vk::kRight},
                           {Qt::Key_Down, vk::kDown},
                           {Qt::Key_Return, vk::kReturn},
                           {Qt::Key_Backspace, vk::kBack},
                           {Qt::Key_Escape, vk::kEscape},
                           {Qt::Key_Minus, 0},
                           {Qt::Key_5, '5'},
                           {Qt::Key_R, 'R'},
                           {Qt::Key_F12, kF12},
                           {Qt::Key_unknown, 0}};
    for (const KeyRow& row : pad)
        EXPECT_EQ(virtualKeyFor(row.qtKey, Qt::KeypadModifier), row.virtualKey) << row.qtKey;
    for (const KeyRow& row : main)
        EXPECT_EQ(virtualKeyFor(row.qtKey, Qt::NoModifier), row.virtualKey) << row.qtKey;
}

} // namespace
} // namespace sw::qt
