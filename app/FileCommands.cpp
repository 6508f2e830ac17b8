#include "app/FileCommands.h"

#include <QFileInfo>
#include <QLocale>

#include "app/FileNames.h"
#include "app/MRUList.h"
#include "app/Services.h"
#include "chart/ReportPage.h"
#include "document/ResondixData.h"

namespace {

constexpr const char* DataFileFilter = "Resondix data files (*.rxd)|*.rxd|All files (*.*)|*.*";
constexpr const char* ReportFilter =
    "PDF documents (*.pdf)|*.pdf|SVG drawings (*.svg)|*.svg|PNG images (*.png)|*.png|All files (*.*)|*.*";
constexpr const char* ImportFilter =
    "TNO dinoloket files (*.txt)|*.txt|Spreadsheet files (*.csv)|*.csv|All files (*.*)|*.*";

QString FileNotFoundText(const QString& path) { return "File " + path + " not found!"; }

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TFileCommands::TFileCommands(TResondixData& document, TMessageService& messages, TFileDialogService& fileDialogs,
                             TMRUList& recentFiles)
    : Document(document), Messages(messages), FileDialogs(fileDialogs), RecentFiles(recentFiles) {}

bool TFileCommands::QuerySaveChanges() {
  if (Document.Saved) return true;
  switch (Messages.AskSaveChanges("Save changes to " + ToQString(Document.FileName) + "?")) {
    case TSaveAnswer::Yes:
      // Going on after a save that did not happen would lose the changes.
      return Save();
    case TSaveAnswer::No: return true;
    case TSaveAnswer::Cancel: return false;
  }
  return false;
}

bool TFileCommands::New() {
  if (!QuerySaveChanges()) return false;
  if (OnNewDocument) OnNewDocument();
  Document.New();
  Document.StampFileDetails(TodayText().toStdString());
  return true;
}

bool TFileCommands::Open() {
  if (!QuerySaveChanges()) return false;
  const QString path = FileDialogs.GetOpenFileName(DialogFolder(), DataFileFilter);
  return !path.isEmpty() && OpenNamedFile(path);
}

bool TFileCommands::OpenNamedFile(const QString& path) {
  if (!Exists(path)) return false;
  RecentFiles.AddFile(path);
  return ReadFile(path, [this](const std::string& fileName) { return Document.LoadFromFile(fileName); });
}

bool TFileCommands::Reopen(const QString& path) {
  if (!QuerySaveChanges()) return false;
  const bool opened = OpenNamedFile(path);
  // A listed file that is gone is taken off the list once reported.
  if (!QFileInfo::exists(path)) RecentFiles.RemoveFile(path);
  return opened;
}

bool TFileCommands::Exists(const QString& path) {
  if (QFileInfo::exists(path)) return true;
  Messages.ShowMessage(TMessageKind::Error, FileNotFoundText(path));
  return false;
}

bool TFileCommands::ReadFile(const QString& path, const std::function<bool(const std::string& fileName)>& read) {
  if (!read(path.toStdString())) return false;
  RememberFolder(path);
  if (OnFileRead) OnFileRead(path);
  return true;
}

bool TFileCommands::Save() {
  if (Document.FileName == UntitledFileName) return SaveAs();
  if (!Document.SaveToFile()) return false;
  // After an import the title still shows the imported file; from now on it
  // shows the data file written.
  if (OnSaved) OnSaved(ToQString(Document.FileName));
  return true;
}

QString TFileCommands::DialogFolder() const {
  if (Document.FileName == UntitledFileName) return LatestFolder;
  return QFileInfo(ToQString(Document.FileName)).absolutePath();
}

void TFileCommands::RememberFolder(const QString& path) { LatestFolder = QFileInfo(path).absolutePath(); }

bool TFileCommands::SaveAs() {
  const QString chosen =
      FileDialogs.GetSaveFileName(DialogFolder(), NamePart(ToQString(Document.FileName)), DataFileFilter);
  if (chosen.isEmpty()) return false;
  const QString path = WithDataFileExtension(chosen);
  if (!Document.SaveToFile(path.toStdString())) return false;
  RecentFiles.AddFile(path);
  RememberFolder(path);
  if (OnSaved) OnSaved(path);
  return true;
}

bool TFileCommands::Import() {
  if (!QuerySaveChanges()) return false;
  const QString path = FileDialogs.GetOpenFileName(DialogFolder(), ImportFilter);
  if (path.isEmpty() || !Exists(path)) return false;
  // The reader follows the file's extension, whichever filter was chosen;
  // the document is named as the data file beside the imported one, so a
  // later Save never writes over it. The import, its new name included, is
  // one step of the history.
  bool imported = false;
  Document.RunStep("Import", [&] {
    imported = ReadFile(path, [this](const std::string& fileName) {
      return Document.ImportFile(fileName, TodayText().toStdString());
    });
  });
  return imported;
}

bool TFileCommands::ExportReport(const TLayerModel* equivalentModels, int equivalentModelCount,
                                 const TSmoothModel* smoothModel) {
  const QString proposed = QFileInfo(NamePart(ToQString(Document.FileName))).completeBaseName() + ".pdf";
  QString path = FileDialogs.GetSaveFileName(DialogFolder(), proposed, ReportFilter);
  if (path.isEmpty()) return false;
  TPictureFormat format = TPictureFormat::Pdf;
  if (!PictureFormatOf(path.toStdString(), format)) path += ".pdf";
  TReportPage page;
  page.Data = &Document;
  page.FileName = ToQString(Document.FileName);
  page.EquivalentModels = equivalentModels;
  page.EquivalentModelCount = equivalentModelCount;
  page.SmoothModel = smoothModel;
  const TPaper paper = QLocale::system().measurementSystem() == QLocale::MetricSystem ? TPaper::A4 : TPaper::Letter;
  if (SavePicture(path.toStdString(), ReportPageBytes(page, paper, format))) return true;
  Messages.ShowMessage(TMessageKind::Error, "Could not save " + path + "!");
  return false;
}
