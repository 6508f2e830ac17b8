// The main window: made, shown with the example sounding open and destroyed,
// as at every start of the program (the splash wait aside); and the change
// handler after a single value, which runs at every cell edit. Offscreen,
// settings in a temporary file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/Main.h"
#include "app/Services.h"
#include "app/Settings.h"

namespace {

const QString Example = QStringLiteral(RESONDIX_SOURCE_DIR "/examples/three-layer-schlumberger.rxd");

// Every box is answered at once; the window must not need one here.
class TSilentMessages : public TMessageService {
public:
  void ShowMessage(TMessageKind, const QString&) override {}
  TSaveAnswer AskSaveChanges(const QString&) override { return TSaveAnswer::No; }
};

// Open chooses the example; Save As is cancelled.
class TExampleFileDialogs : public TFileDialogService {
public:
  QString GetOpenFileName(const QString&, const QString&) override { return Example; }
  QString GetSaveFileName(const QString&, const QString&, const QString&) override { return QString(); }
};

TSilentMessages Messages;
TExampleFileDialogs FileDialogs;

void MainWindowStartWithExample(benchmark::State& state) {
  for (auto _ : state) {
    TMainForm window(Messages, FileDialogs, {Example});
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.Document().ApparentRho[1]);
  }
}
BENCHMARK(MainWindowStartWithExample)->Unit(benchmark::kMillisecond);

void ChangeOfOneValue(benchmark::State& state) {
  TMainForm window(Messages, FileDialogs, {Example});
  window.show();
  QApplication::processEvents();
  double value = 40;
  for (auto _ : state) {
    window.Document().SetValue(1, 7, false, value);
    value = value == 40 ? 41 : 40;
  }
}
BENCHMARK(ChangeOfOneValue)->Unit(benchmark::kMicrosecond);

// File > Open of the example with its repaint: the whole command.
void OpenCommand(benchmark::State& state) {
  TMainForm window(Messages, FileDialogs, {});
  window.show();
  for (auto _ : state) {
    window.FileOpenClick();
    window.repaint();
  }
}
BENCHMARK(OpenCommand)->Unit(benchmark::kMicrosecond);

// Data > Fit of every layer value of the example, with the window's updates
// and its repaint: the fit itself is timed in bench_fit.
void FitCommand(benchmark::State& state) {
  TMainForm window(Messages, FileDialogs, {Example});
  window.show();
  TResondixData& d = window.Document();
  const TResondixData start = d;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 1; i <= d.LayerCount; ++i) {
      d.LayerRho[i] = start.LayerRho[i];
      d.LayerDepth[i] = start.LayerDepth[i];
      d.RhoUnknown[i] = true;
      d.DepthUnknown[i] = i < d.LayerCount;
    }
    state.ResumeTiming();
    window.DataFitClick();
    window.repaint();
  }
}
BENCHMARK(FitCommand)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform notes every window-manager request it cannot
  // serve; those notes say nothing about the program.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith("This plugin does not support")) qt_message_output(type, context, text);
  });
  QApplication application(argc, argv);
  QTemporaryDir settingsFolder;
  SetSettingsFile(QDir(settingsFolder.path()).filePath("settings.ini"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
