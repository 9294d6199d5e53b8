#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sw {
namespace {

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
} // namespace sw
