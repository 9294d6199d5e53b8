// The Qt side of the platform interfaces that needs no display: the key map and the settings.

#include "platform/ControlIds.h"
#include "platform/qt/KeyCodes.h"
#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace sw::qt {
namespace {

// The rules of the map: the pad's digits and operators have codes of their own, while its
// arrows and Enter are the main keys; digits and capitals keep their ASCII codes; the
// function keys count up from F1. The GUI test presses Left, CTRL, SHIFT, the pad's "+" and M.
TEST(VirtualKeys, MatchTheKeysTheHandlersKnow) {
    const std::tuple<int, Qt::KeyboardModifiers, int> rows[] = {
        {Qt::Key_Up, Qt::KeypadModifier, vk::kUp},
        {Qt::Key_Enter, Qt::KeypadModifier, vk::kReturn},
        {Qt::Key_Asterisk, Qt::KeypadModifier, vk::kMultiply},
        {Qt::Key_Minus, Qt::KeypadModifier, vk::kSubtract},
        {Qt::Key_5, Qt::KeypadModifier, vk::kNumpad0 + 5},
        {Qt::Key_Right, Qt::NoModifier, vk::kRight},
        {Qt::Key_Down, Qt::NoModifier, vk::kDown},
        {Qt::Key_Return, Qt::NoModifier, vk::kReturn},
        {Qt::Key_Backspace, Qt::NoModifier, vk::kBack},
        {Qt::Key_Escape, Qt::NoModifier, vk::kEscape},
        {Qt::Key_Minus, Qt::NoModifier, 0},
        {Qt::Key_5, Qt::NoModifier, '5'},
        {Qt::Key_R, Qt::NoModifier, 'R'},
        {Qt::Key_F12, Qt::NoModifier, vk::kF1 + 11},
        {Qt::Key_unknown, Qt::NoModifier, 0}};
    for (const auto& [qtKey, modifiers, virtualKey] : rows)
        EXPECT_EQ(virtualKeyFor(qtKey, modifiers), virtualKey) << qtKey;
}

TEST(QtSettingsStore, KeepsStringsAndListsInTheUsersConfiguration) {
    const QTemporaryDir folder;
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
