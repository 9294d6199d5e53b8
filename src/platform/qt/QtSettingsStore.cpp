#include "platform/qt/QtSettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace sw {

namespace {

std::unique_ptr<QSettings> openSettings() {
#ifdef Q_OS_WIN
    // Organisation and application names would give Software\Skinweaver\Skinweaver; the key
    // is the organisation's own.
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Skinweaver"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Skinweaver"), QStringLiteral("Skinweaver"));
#endif
}

} // namespace

QtSettingsStore::QtSettingsStore() : settings_(openSettings()) {
    // One key, like the registry's: no organisation-wide or system-wide values behind it.
    settings_->setFallbacksEnabled(false);
}

QtSettingsStore::~QtSettingsStore() = default;

bool QtSettingsStore::openOrCreate(bool& created) {
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        return false;
    created = settings_->allKeys().isEmpty();
    return true;
}

std::optional<std::string> QtSettingsStore::readString(const std::string& name) {
    const QVariant value = settings_->value(QString::fromStdString(name));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString().toLocal8Bit().toStdString();
}

void QtSettingsStore::writeString(const std::string& name, const std::string& value) {
    settings_->setValue(QString::fromStdString(name),
                        QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size())));
    settings_->sync();
}

std::optional<std::vector<std::string>> QtSettingsStore::readStringList(const std::string& name) {
    const QVariant value = settings_->value(QString::fromStdString(name));
    // The configuration file writes a list of one as a plain string.
    QStringList list;
    if (value.typeId() == QMetaType::QStringList)
        list = value.toStringList();
    else if (value.typeId() == QMetaType::QString)
        list = QStringList{value.toString()};
    else
        return std::nullopt;
    std::vector<std::string> values;
    for (const QString& item : list)
        values.push_back(item.toLocal8Bit().toStdString());
    return values;
}

void QtSettingsStore::writeStringList(const std::string& name,
                                      const std::vector<std::string>& values) {
    QStringList list;
    for (const std::string& value : values)
        list << QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size()));
    settings_->setValue(QString::fromStdString(name), list);
    settings_->sync();
}

QString QtSettingsStore::location() const {
    return settings_->fileName();
}

std::string recoveryFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? std::string() : QFile::encodeName(data + "/recovery").toStdString();
}

} // namespace sw
