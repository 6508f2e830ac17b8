#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

namespace {

QString SettingsFile;

constexpr const char* ValueInstallDir = "InstallDir";
constexpr const char* ValueLeft = "Left";
constexpr const char* ValueTop = "Top";
constexpr const char* ValueHeight = "Height";
constexpr const char* ValueWidth = "Width";
constexpr const char* ValueWindowState = "WindowState";
constexpr const char* ValueViewToolbar = "View toolbar";
constexpr const char* ValueAccurateForwardModel = "AccurateForwardModel";

bool KeyExists(QSettings& settings, const char* key) {
  return settings.status() == QSettings::NoError && settings.childGroups().contains(key);
}

// A 32-bit integer value of the open key: in the registry a DWORD, in a
// settings file a decimal text. Anything else is a value of the wrong type.
bool ReadInteger(QSettings& settings, const char* name, int& value) {
  const QVariant stored = settings.value(name);
  if (!stored.isValid()) return false;
  const int type = stored.typeId();
  if (type != QMetaType::Int && type != QMetaType::UInt && type != QMetaType::LongLong &&
      type != QMetaType::QString)
    return false;
  bool ok = false;
  const qlonglong number = stored.toString().trimmed().toLongLong(&ok);
  if (!ok || number < INT32_MIN || number > UINT32_MAX) return false;
  // A DWORD above INT32_MAX reads back as the same 32 bits, signed.
  value = static_cast<qint32>(static_cast<quint32>(number));
  return true;
}

void WriteValues(QSettings& settings, const TDesktopSettings& values) {
  settings.setValue(ValueLeft, values.Left);
  settings.setValue(ValueTop, values.Top);
  settings.setValue(ValueHeight, values.Height);
  settings.setValue(ValueWidth, values.Width);
  settings.setValue(ValueWindowState, values.WindowState);
  settings.setValue(ValueViewToolbar, values.ViewToolbar ? 1 : 0);
}

}  // namespace

bool ReadStringValue(QSettings& settings, const QString& name, QString& value) {
  const QVariant stored = settings.value(name);
  if (!stored.isValid()) {
    value.clear();
    return true;
  }
  if (stored.typeId() != QMetaType::QString) return false;
  value = stored.toString();
  return true;
}

std::unique_ptr<QSettings> OpenSettingsRoot() {
  if (!SettingsFile.isEmpty()) return std::make_unique<QSettings>(SettingsFile, QSettings::IniFormat);
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>("HKEY_CURRENT_USER\\Software\\Resondix for Windows", QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Resondix for Windows");
#endif
}

void SetSettingsFile(const QString& path) { SettingsFile = path; }

TStoredSettings ReadSettings() {
  TStoredSettings stored;
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  if (settings->status() != QSettings::NoError) return stored;

  QString installDir;
  if (KeyExists(*settings, FilesKey)) {
    settings->beginGroup(FilesKey);
    const bool read = ReadStringValue(*settings, ValueInstallDir, installDir);
    settings->endGroup();
    if (!read) return stored;
  }
  stored.InstallDir = installDir;

  if (!KeyExists(*settings, DesktopKey)) return stored;
  settings->beginGroup(DesktopKey);
  const auto read = [&settings](const char* name, std::optional<int>& target) {
    int value = 0;
    if (!ReadInteger(*settings, name, value)) return false;
    target = value;
    return true;
  };
  std::optional<int> viewToolbar;
  stored.Complete = read(ValueLeft, stored.Left) && read(ValueTop, stored.Top) && read(ValueHeight, stored.Height) &&
                    read(ValueWidth, stored.Width) && read(ValueWindowState, stored.WindowState) &&
                    read(ValueViewToolbar, viewToolbar);
  if (viewToolbar) stored.ViewToolbar = *viewToolbar != 0;
  settings->endGroup();
  return stored;
}

bool WriteDesktopSettings(const TDesktopSettings& values) {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  if (!KeyExists(*settings, DesktopKey)) return false;
  settings->beginGroup(DesktopKey);
  WriteValues(*settings, values);
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}

QString FindHelpFolder(const QString& programFolder) {
  const QDir program(programFolder);
  const QString beside = program.filePath("help");
  const QString installed = QDir::cleanPath(program.filePath(RESONDIX_INSTALLED_HELP));
  return !QFileInfo(beside).isDir() && QFileInfo(installed).isDir() ? installed : beside;
}

bool SetUpFirstStart(const QString& installDir, const TDesktopSettings& design) {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  if (settings->status() != QSettings::NoError) return false;
  const QStringList keys = settings->childGroups();
  if (keys.contains(FilesKey) || keys.contains(DesktopKey)) return false;
  settings->beginGroup(FilesKey);
  settings->setValue(ValueInstallDir, installDir);
  settings->endGroup();
  settings->beginGroup(DesktopKey);
  WriteValues(*settings, design);
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}

bool ReadAccurateForwardModel() {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  settings->beginGroup(OptionsKey);
  int value = 0;
  const bool on = ReadInteger(*settings, ValueAccurateForwardModel, value) && value != 0;
  settings->endGroup();
  return on;
}

bool WriteAccurateForwardModel(bool on) {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  settings->beginGroup(OptionsKey);
  settings->setValue(ValueAccurateForwardModel, on ? 1 : 0);
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}
