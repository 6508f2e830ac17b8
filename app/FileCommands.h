// TFileCommands: the main window's File commands on its document: the
// save-changes prompt, New, Open (also of a named file), Save, Save As and
// Import, with the message boxes and file dialogs of the window's services.
//
// Export report writes the open sounding's report page (chart/ReportPage.h)
// to a file the user chooses and leaves the document as it is.
//
// The window forwards its File commands here and hears back through two
// events: OnFileRead after a file's content replaced the document (Open,
// Import; the window resets its edit state and shows the file in its
// title), and OnSaved after the document was written (the title shows the
// data file).
//
// Every command that fails leaves the document, its FileName and the title
// as they were; the document's own messages (Could not open ..., Could not
// save ...) come through the core's message handler. An import is a step of
// the window's undo history (the document's RunStep), its new name included.
//
// The recent-files list hears of every data file opened (before it is read,
// so a file that exists but cannot be read stays listed) and of every Save
// As; Reopen of a listed file that no longer exists takes it off the list.
#pragma once

#include <QString>
#include <functional>
#include <string>

class TFileDialogService;
class TMessageService;
class TMRUList;
class TResondixData;
struct TLayerModel;
struct TSmoothModel;

class TFileCommands {
public:
  TFileCommands(TResondixData& document, TMessageService& messages, TFileDialogService& fileDialogs,
                TMRUList& recentFiles);

  // The path of a file whose content now is the document, as the title
  // shows it.
  std::function<void(const QString& path)> OnFileRead;
  // The document was saved under a new name.
  std::function<void(const QString& path)> OnSaved;
  // Before New replaces the document: a pending edit of the old one is
  // dropped.
  std::function<void()> OnNewDocument;

  // The save-changes prompt: true when the command may go on.
  bool QuerySaveChanges();

  // Each returns whether it changed the document or its file.
  bool New();
  bool Open();
  // Opens path (a chosen file, or the one named on the command line).
  bool OpenNamedFile(const QString& path);
  // Opens path, chosen from the recent-files list, after the prompt.
  bool Reopen(const QString& path);
  // True when the document ended saved.
  bool Save();
  bool SaveAs();
  bool Import();
  // The report of the sounding with the equivalent models and the smooth
  // model given (none when null) on its chart: a PDF page, or an SVG or PNG
  // page as the chosen name's extension says (a name with none gets
  // ".pdf"), on Letter where the user's locale measures in inches and on A4
  // elsewhere. True when it was written.
  bool ExportReport(const TLayerModel* equivalentModels, int equivalentModelCount, const TSmoothModel* smoothModel);

private:
  // Reports a file that does not exist; true when it exists.
  bool Exists(const QString& path);
  // Open and Import: read (the document's LoadFromFile or ImportFile)
  // replaces the content.
  bool ReadFile(const QString& path, const std::function<bool(const std::string& fileName)>& read);
  // Where a file dialog starts: the folder of the document's file, or for
  // an untitled document the folder of the latest file a command read or
  // wrote.
  QString DialogFolder() const;
  void RememberFolder(const QString& path);

  TResondixData& Document;
  TMessageService& Messages;
  TFileDialogService& FileDialogs;
  TMRUList& RecentFiles;
  QString LatestFolder;
};
