#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(QtSettingsStore, KeepsStringsAndListsInTheUsersConfiguration) {
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
        store.writeStringList("TextureSources", {path, "", "/games/jk/Res2.gob"});
        store.writeStringList("Empty", {});
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
    EXPECT_EQ(store.readStringList("TextureSources"),
              (std::vector<std::string>{path, "", "/games/jk/Res2.gob"}));
    EXPECT_EQ(store.readStringList("Empty"), std::vector<std::string>{});
    // The configuration file writes a list of one as a string.
    EXPECT_EQ(store.readStringList("PrimaryTex"), std::vector<std::string>{"BMP"});
    EXPECT_EQ(store.readStringList("Missing"), std::nullopt);
}

} // namespace
} // namespace sw
