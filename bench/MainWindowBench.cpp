// The main window: made, shown with the example sounding open and destroyed,
// as at every start of the program (the splash wait aside); and the change
// handler after a single value, which runs at every cell edit. Offscreen,
// settings in a temporary file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Main.h"
#include "Services.h"

namespace {

const QString Example = QStringLiteral(RESONDIX_SOURCE_DIR "/examples/three-layer-schlumberger.rxd");

// Every box is answered at once; the window must not need one here.
class TSilentMessages : public TMessageService {
public:
  void ShowMessage(TMessageKind, const QString&) override {}
  TSaveAnswer AskSaveChanges(const QString&) override { return TSaveAnswer::No; }
};

class TNoFileDialogs : public TFileDialogService {
public:
  QString GetOpenFileName(const QString&) override { return QString(); }
  QString GetSaveFileName(const QString&, const QString&) override { return QString(); }
};

TSilentMessages Messages;
TNoFileDialogs FileDialogs;

void MainWindowStartWithExample(benchmark::State& state) {
  for (auto _ : state) {
    TMainForm window(Messages, FileDialogs, {Example});
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.ResondixData.ApparentRho[1]);
  }
}
BENCHMARK(MainWindowStartWithExample)->Unit(benchmark::kMillisecond);

void ChangeOfOneValue(benchmark::State& state) {
  TMainForm window(Messages, FileDialogs, {Example});
  window.show();
  QApplication::processEvents();
  double value = 40;
  for (auto _ : state) {
    window.ResondixData.SetValue(1, 7, false, value);
    value = value == 40 ? 41 : 40;
  }
}
BENCHMARK(ChangeOfOneValue)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir settingsFolder;
  SetSettingsFile(QDir(settingsFolder.path()).filePath("settings.ini"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
