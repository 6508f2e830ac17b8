// The per-user settings of Resondix: where the help topics are, and the main
// window's position, size, state and toolbar visibility. They live under the
// key "Software\Resondix for Windows" of the current user: on Windows in the
// registry under HKEY_CURRENT_USER exactly, elsewhere in the platform's
// native per-user settings. The keys "Files" and "Desktop" are made by the
// set-up; the program reads them once at start and writes the Desktop
// values once at close, into the existing key only.
#pragma once

#include <memory>
#include <optional>

#include <QRect>
#include <QString>

class QSettings;

// The settings root. Everything that reads or writes settings opens them
// here, so that a test can move them into a temporary file.
std::unique_ptr<QSettings> OpenSettingsRoot();
// Puts the settings into an INI file at path (an empty path: back to the
// native store).
void SetSettingsFile(const QString& path);

// A string value of the open key: missing reads as the empty text; false
// for a value of another type.
bool ReadStringValue(QSettings& settings, const QString& name, QString& value);

constexpr const char* FilesKey = "Files";
constexpr const char* DesktopKey = "Desktop";
// The recent-files list (MRUList.h).
constexpr const char* RecentFilesKey = "MRU";
constexpr const char* RegistryErrorText = "Unable to access registry values. Run setup again.";

// The values of the Desktop key, as the window applies them.
struct TDesktopSettings {
  int Left = 344;
  int Top = 207;
  int Height = 0;  // outer size; 0 until known
  int Width = 0;
  int WindowState = 0;  // 0 normal, 1 minimized, 2 maximized
  bool ViewToolbar = true;
};

// The settings as read at start, in their order: the folder of the help
// topics, then the Desktop values. Reading stops at the first key or value
// that cannot be read; what was read before it is kept, so that the window
// applies it, and the rest stays empty.
struct TStoredSettings {
  std::optional<QString> InstallDir;
  std::optional<int> Left;
  std::optional<int> Top;
  std::optional<int> Height;
  std::optional<int> Width;
  std::optional<int> WindowState;
  std::optional<bool> ViewToolbar;
  // False when a key or value could not be read (the caller shows
  // RegistryErrorText).
  bool Complete = false;
};

TStoredSettings ReadSettings();

// The Data menu's "Accurate forward model", kept as the value
// "AccurateForwardModel" (1 on, 0 off) of the key "Options", apart from the
// set-up's keys: it is written when the user changes it, and a missing or
// unreadable value means off without an error, so that settings made before
// the option existed still read as they did.
constexpr const char* OptionsKey = "Options";
bool ReadAccurateForwardModel();
// False when the value could not be written.
bool WriteAccurateForwardModel(bool on);

// Writes the Desktop values into the existing Desktop key; false when the
// key does not exist or a value could not be written.
bool WriteDesktopSettings(const TDesktopSettings& settings);

// The folder of the help topics that a first start records: "help" beside
// the program (its build folder, or an installation that keeps them there),
// else the installed data folder's, reached from the program's folder by
// the relative path RESONDIX_INSTALLED_HELP; when neither exists, the one
// beside the program all the same.
QString FindHelpFolder(const QString& programFolder);

// A first start leaves neither the Files nor the Desktop key: the program
// then makes them itself, with installDir as the folder of its help topics
// and the window's design values. True when it did.
bool SetUpFirstStart(const QString& installDir, const TDesktopSettings& design);
