#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(QtSettingsStore, KeepsStringValuesInTheUsersConfiguration) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const QString file = QDir(folder.path()).filePath("Skinweaver/Skinweaver.conf");
    const std::string path = "C:\\Games\\Jedi Knight\\pal, \"one\"\\01narsh.cmp";
    {
        QtSettingsStore store;
        EXPECT_EQ(store.location(), file);
        bool created = false;
        ASSERT_TRUE(store.openOrCreate(created));
        EXPECT_TRUE(created);
        store.writeString("CmpFile", path);
        store.writeString("PrimaryTex", "BMP");
    }
    QSettings(file, QSettings::IniFormat).setValue("SecondaryTex", QStringList{"MAT", "BMP"});

    QtSettingsStore store;
    bool created = true;
    ASSERT_TRUE(store.openOrCreate(created));
    EXPECT_FALSE(created);
    EXPECT_EQ(store.readString("CmpFile"), path);
    EXPECT_EQ(store.readString("PrimaryTex"), "BMP");
    EXPECT_EQ(store.readString("primarytex"), std::nullopt);
    EXPECT_EQ(store.readString("SecondaryTex"), std::nullopt) << "a list is no string";
}

TEST(QtSettingsStore, KeepsListsOfAnyLengthBesideTheStrings) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const std::vector<std::vector<std::string>> lists = {
        {}, {"C:\\Games\\Res2.gob"}, {"/mods/a, \"b\"", "", "/games/jk/Res1hi.gob"}};
    for (const std::vector<std::string>& list : lists) {
        {
            QtSettingsStore store;
            store.writeStringList("TextureSources", list);
            store.writeString("CmpFile", "x.cmp");
        }
        QtSettingsStore store;
        bool created = true;
        ASSERT_TRUE(store.openOrCreate(created));
        EXPECT_EQ(store.readStringList("TextureSources"), list);
        EXPECT_EQ(store.readStringList("CmpFile"), std::vector<std::string>{"x.cmp"});
        EXPECT_EQ(store.readStringList("PrimaryTex"), std::nullopt);
    }
}

} // namespace
} // namespace sw
