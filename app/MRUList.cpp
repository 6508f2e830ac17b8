#include "app/MRUList.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <algorithm>
#include <memory>

#include "app/Services.h"
#include "app/Settings.h"

namespace {

QString SlotName(int slot) { return QString::number(slot); }

// The item of a slot: its number counted from 1, ". " and the path; no
// accelerator, so an "&" in a path shows as it is.
QString Caption(int slot, const QString& path) {
  QString caption = QString::number(slot + 1) + ". " + path;
  return caption.replace("&", "&&");
}

QString StatusText(const QSettings& settings) {
  switch (settings.status()) {
    case QSettings::AccessError: return "Could not access the settings " + settings.fileName() + ".";
    case QSettings::FormatError: return "The settings " + settings.fileName() + " are damaged.";
    case QSettings::NoError: break;
  }
  return QString();
}

}  // namespace

void AddRecentFileItems(QMenu& reopen) {
  for (int slot = 0; slot < MaxRecentFiles; ++slot) {
    QAction* item = reopen.addAction(QString());
    item->setObjectName("FileName" + SlotName(slot));
    item->setVisible(false);
  }
}

TMRUList::TMRUList(QMainWindow& owner, TMessageService& messages) : Owner(owner), Messages(messages) {
  setObjectName("MRUList");
}

int TMRUList::IndexOf(const QString& path) const {
  for (int slot = 0; slot < MaxRecentFiles; ++slot)
    if (Slots[slot].compare(path, Qt::CaseInsensitive) == 0) return slot;
  return -1;
}

void TMRUList::AddFile(const QString& path) {
  if (!path.isEmpty()) {
    // A listed file moves to the top above the ones that were above it; a new
    // one pushes every file down and the last one drops out.
    const int found = IndexOf(path);
    const int slot = found < 0 ? MaxRecentFiles - 1 : found;
    std::move_backward(Slots.begin(), Slots.begin() + slot, Slots.begin() + slot + 1);
    Slots[0] = path;
  }
  UpdateMenu();
}

void TMRUList::RemoveFile(const QString& path) {
  const int slot = path.isEmpty() ? -1 : IndexOf(path);
  if (slot >= 0) {
    std::move(Slots.begin() + slot + 1, Slots.end(), Slots.begin() + slot);
    Slots.back().clear();
  }
  UpdateMenu();
}

QMenu* TMRUList::ReopenMenu() const {
  const QList<QAction*> menus = Owner.menuBar()->actions();
  if (menus.isEmpty() || !menus.first()->menu()) return nullptr;
  const QList<QAction*> items = menus.first()->menu()->actions();
  return ItemIndex >= 0 && ItemIndex < items.size() ? items[ItemIndex]->menu() : nullptr;
}

void TMRUList::UpdateMenu() {
  QMenu* reopen = ReopenMenu();
  if (!reopen) return;
  connect(reopen, &QMenu::triggered, this, &TMRUList::ItemClick, Qt::UniqueConnection);
  const QList<QAction*> items = reopen->actions();
  FileCount = 0;
  for (int slot = 0; slot < MaxRecentFiles && slot < items.size(); ++slot) {
    items[slot]->setText(Caption(slot, Slots[slot]));
    items[slot]->setVisible(!Slots[slot].isEmpty());
    if (!Slots[slot].isEmpty()) ++FileCount;
  }
}

void TMRUList::ItemClick(QAction* item) {
  const QMenu* reopen = ReopenMenu();
  const int slot = reopen ? reopen->actions().indexOf(item) : -1;
  if (slot < 0 || slot >= MaxRecentFiles) return;
  Selected = Slots[slot];
  if (OnFileClick) OnFileClick(*this);
}

bool TMRUList::ShowSettingsError(const QSettings& settings) {
  if (settings.status() == QSettings::NoError) return false;
  Messages.ShowMessage(TMessageKind::Error, StatusText(settings));
  return true;
}

void TMRUList::LoadFromRegistry() {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  if (ShowSettingsError(*settings)) return;
  // A list never saved is no error: it starts empty.
  if (!RegistryKey.isEmpty() && !settings->childGroups().contains(RegistryKey)) {
    UpdateMenu();
    return;
  }
  settings->beginGroup(RegistryKey);
  for (int slot = 0; slot < MaxRecentFiles; ++slot) {
    QString path;
    if (!ReadStringValue(*settings, SlotName(slot), path)) {
      Messages.ShowMessage(TMessageKind::Error,
                           "The settings value " + settings->group() + "/" + SlotName(slot) + " is not a text.");
      return;
    }
    if (!path.isEmpty()) Slots[slot] = path;
  }
  settings->endGroup();
  UpdateMenu();
}

void TMRUList::SaveToRegistry() {
  const std::unique_ptr<QSettings> settings = OpenSettingsRoot();
  if (ShowSettingsError(*settings)) return;
  settings->beginGroup(RegistryKey);
  for (int slot = 0; slot < MaxRecentFiles; ++slot) settings->setValue(SlotName(slot), Slots[slot]);
  settings->endGroup();
  settings->sync();
  ShowSettingsError(*settings);
}
