// TMRUList: the ten most recently used data files, shown as the ten items of
// the owner's File > Reopen submenu and kept in the settings between runs.
//
// The list knows nothing of the document: the window decides when a file is
// added or removed, and what a chosen entry does (OnFileClick). Slot 0 holds
// the most recent file; an empty slot is a free one, whose item is hidden.
// The window's own use keeps the files packed at the top; gaps come only from
// stored values, and are then kept, each file keeping its slot number.
//
// Stored format: ten string values "0" to "9" (the slot numbers) in the
// group RegistryKey below the settings root, each the full path of the file
// in that slot or the empty text; every save writes all ten.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QMainWindow;
class QMenu;
class QSettings;
class TMessageService;

constexpr int MaxRecentFiles = 10;

// Fills reopen with the ten items FileName0 to FileName9, hidden and without
// captions until a list fills them.
void AddRecentFileItems(QMenu& reopen);

class TMRUList : public QObject {
  Q_OBJECT

public:
  // owner: the window whose first menu holds the Reopen submenu; messages
  // shows the settings errors.
  TMRUList(QMainWindow& owner, TMessageService& messages);

  // Position of the Reopen submenu within the owner's first menu.
  int ItemIndex = 2;
  // The group below the settings root that holds the list.
  QString RegistryKey;
  // An entry was chosen; SelectedFile names it.
  std::function<void(TMRUList& sender)> OnFileClick;

  // Puts path at the top (letter case ignored when looking for it, kept as
  // given now); an empty path only refreshes the menu.
  void AddFile(const QString& path);
  // Takes path out of the list (letter case ignored); the files below it move
  // up one slot.
  void RemoveFile(const QString& path);
  // Reads the stored values: a missing or empty value leaves its slot as it
  // is. A settings error is shown; reading stops there and the menu is left
  // as it was.
  void LoadFromRegistry();
  // Writes all ten slots, making the group when it is missing; a settings
  // error is shown.
  void SaveToRegistry();
  // Rewrites the ten items from the slots and recounts the files.
  void UpdateMenu();
  // One of the ten items was chosen.
  void ItemClick(QAction* item);

  // The number of files the menu showed at its last update.
  int Count() const { return FileCount; }
  QString SelectedFile() const { return Selected; }
  const std::array<QString, MaxRecentFiles>& Entries() const { return Slots; }

private:
  // The Reopen submenu, looked up anew each time; null when the owner has none.
  QMenu* ReopenMenu() const;
  int IndexOf(const QString& path) const;
  // Shows the error of settings whose status is not NoError; true when it did.
  bool ShowSettingsError(const QSettings& settings);

  QMainWindow& Owner;
  TMessageService& Messages;
  std::array<QString, MaxRecentFiles> Slots;
  int FileCount = 0;
  QString Selected;
};
