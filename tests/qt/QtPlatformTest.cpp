// The Qt side of the platform interfaces that needs no display: the key map and the settings.

#include "platform/ControlIds.h"
#include "platform/qt/KeyCodes.h"
#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QTemporaryDir>
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

TEST(QtSettingsStore, KeepsStringsAndListsInTheUsersConfiguration) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const std::string path = "C:\\Games\\Jedi Knight\\pal, \"one\"\\01narsh.cmp";
    const std::vector<std::string> sources{path, "", "/games/jk/Res2.gob"};
    {
        QtSettingsStore store;
        bool created = false;
        ASSERT_TRUE(store.openOrCreate(created));
        EXPECT_TRUE(created);
        store.writeString("CmpFile", path);
        store.writeStringList("TextureSources", sources);
    }
    QtSettingsStore store;
    bool created = true;
    ASSERT_TRUE(store.openOrCreate(created));
    EXPECT_FALSE(created);
    EXPECT_EQ(store.readString("CmpFile"), path);
    EXPECT_EQ(store.readStringList("TextureSources"), sources);
    EXPECT_EQ(store.readString("TextureSources"), std::nullopt) << "a list is no string";
    // The configuration file writes a list of one as a string.
    EXPECT_EQ(store.readStringList("CmpFile"), std::vector<std::string>{path});
    EXPECT_EQ(store.readStringList("Missing"), std::nullopt);
}

} // namespace
} // namespace sw::qt
