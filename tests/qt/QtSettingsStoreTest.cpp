#include "platform/qt/QtSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sw {
namespace {

// Points the native format's user location at a fresh folder for the test's lifetime.
class QtSettingsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    }

    QTemporaryDir folder;
};

TEST_F(QtSettingsStoreTest, KeepsValuesBetweenRuns) {
    const std::string path = "C:\\Games\\Jedi Knight\\pal, \"one\"\\01narsh.cmp";
    {
        QtSettingsStore store;
        EXPECT_EQ(store.location(), QDir(folder.path()).filePath("Skinweaver/Skinweaver.conf"));
        bool created = false;
        ASSERT_TRUE(store.openOrCreate(created));
        EXPECT_TRUE(created);
        store.writeString("CmpFile", path);
        store.writeString("PrimaryTex", "BMP");
        EXPECT_EQ(store.readString("PrimaryTex"), "BMP");
    }
    QtSettingsStore store;
    bool created = true;
    ASSERT_TRUE(store.openOrCreate(created));
    EXPECT_FALSE(created);
    EXPECT_EQ(store.readString("CmpFile"), path);
    EXPECT_EQ(store.readString("PrimaryTex"), "BMP");
    EXPECT_EQ(store.readString("SecondaryTex"), std::nullopt);
    EXPECT_EQ(store.readString("primarytex"), std::nullopt);
}

TEST_F(QtSettingsStoreTest, ValueThatIsNoStringReadsAsMissing) {
    {
        QSettings raw(QDir(folder.path()).filePath("Skinweaver/Skinweaver.conf"),
                      QSettings::IniFormat);
        raw.setValue("SecondaryTex", QStringList{"MAT", "BMP"});
    }
    QtSettingsStore store;
    bool created = true;
    ASSERT_TRUE(store.openOrCreate(created));
    EXPECT_FALSE(created);
    EXPECT_EQ(store.readString("SecondaryTex"), std::nullopt);
}

} // namespace
} // namespace sw
