// The General information dialog: what each way of opening it shows, what
// OK copies back and Cancel leaves, the "Pairs of data" range, and the
// dialog's controls as the keyboard and assistive technology meet them.
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QUrl>

#include "app/HelpWindow.h"
#include "tests/app/AppTestSupport.h"

namespace {

using TInformationTest = TWindowTest;

// The ten text fields in the order of the dialog and the document lines
// (counted from 1) they stand for.
const std::pair<const char*, int> TextFields[] = {
    {"prName", 1},      {"prLocation", 2},  {"prDate", 3},  {"soPosition", 6},  {"soDirection", 7},
    {"soABLength", 8},  {"flFileName", 11}, {"flDataName", 12}, {"flDate", 13}, {"flRemarks", 14},
};

QLineEdit* Edit(const QWidget& dialog, const char* name) { return Child<QLineEdit>(dialog, name); }
QSpinBox* Pairs(const QWidget& dialog) { return Child<QSpinBox>(dialog, "soPairsOfData"); }

// What the dialog shows: the ten texts, the configuration and the count.
QStringList Shown(const QWidget& dialog) {
  QStringList shown;
  for (const auto& [name, line] : TextFields) shown << Edit(dialog, name)->text();
  shown << (Child<QRadioButton>(dialog, "soSchlumBerger")->isChecked() ? "Schlumberger" : "")
        << (Child<QRadioButton>(dialog, "soWenner")->isChecked() ? "Wenner" : "") << Pairs(dialog)->text();
  return shown;
}

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

TEST_F(TInformationTest, EveryWayOfOpeningShowsTheDocument) {
  const struct {
    const char* Name;
    const char* Action;
    QString FileName, Date;  // the file group's, set by New
  } cases[] = {
      {"InformationAtStart", "FileInformation", "", ""},
      {"TheToolbarButton", "InformationButton", "", ""},
      {"New", "FileNew", "untitled.rxd", TodayText()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto window = MakeWindow();
    QStringList shown;
    InformationUsers = {[&shown](TGeneralInformationForm& dialog) { shown = Shown(dialog); }};
    InformationShows = 0;
    Child<QAction>(*window, c.Action)->trigger();
    EXPECT_EQ(InformationShows, 1);
    EXPECT_EQ(shown, (QStringList{"", "", "", "", "", "", c.FileName, "", c.Date, "", "Schlumberger", "", "15"}));
  }
}

TEST_F(TInformationTest, OKCopiesBackAndCancelLeavesTheDocument) {
  auto typeEverything = [](TGeneralInformationForm& dialog) {
    for (const auto& [name, line] : TextFields) Type(Edit(dialog, name), QString("%1 text").arg(name));
  };
  const struct {
    const char* Name;
    QList<TDialogUser> Users;  // one per show of the dialog
    std::function<void(const TResondixData& d, const TResondixData& before, const TMainForm& window)> Check;
  } cases[] = {
      {"EveryTextInItsLine",
       {[&](TGeneralInformationForm& dialog) { typeEverything(dialog), Press(dialog, "OKButton"); }},
       [](const TResondixData& d, const TResondixData&, const TMainForm&) {
         for (const auto& [name, line] : TextFields) EXPECT_EQ(d.Info[line], std::string(name) + " text");
         EXPECT_EQ(d.SoundingTypeText(), " Schlumberger");
       }},
      {"WennerSetsTheTypeTextAndStatusPanel3",
       {[](TGeneralInformationForm& dialog) {
         QTest::mouseClick(Child<QRadioButton>(dialog, "soWenner"), Qt::LeftButton);
         Press(dialog, "OKButton");
       }},
       [](const TResondixData& d, const TResondixData&, const TMainForm& window) {
         EXPECT_FALSE(d.IsSchlumberger);
         EXPECT_EQ(d.SoundingTypeText(), " Wenner");
         EXPECT_EQ(Child<QLabel>(window, "StatusPanel3")->text(), "Wenner");
       }},
      {"LoweringPairsEmptiesTheResistivitiesBeyond",
       {[](TGeneralInformationForm& dialog) { Pairs(dialog)->setValue(10), Press(dialog, "OKButton"); }},
       [](const TResondixData& d, const TResondixData& before, const TMainForm& window) {
         EXPECT_EQ(d.MeasurementCount, 10);
         EXPECT_EQ(Child<QLabel>(window, "StatusPanel1")->text(), "10/10") << "the current row stays within";
         for (int i = 1; i <= MaxMeasurements; ++i) {
           EXPECT_EQ(d.ApparentRho[i], i <= 10 ? before.ApparentRho[i] : 0) << i;
           EXPECT_EQ(d.HalfSpacing[i], before.HalfSpacing[i]) << i;
         }
       }},
      {"RaisingPairsAgainBringsTheSpacingsBack",
       {[](TGeneralInformationForm& dialog) { Pairs(dialog)->setValue(10), Press(dialog, "OKButton"); },
        [](TGeneralInformationForm& dialog) { Pairs(dialog)->setValue(15), Press(dialog, "OKButton"); }},
       [](const TResondixData& d, const TResondixData& before, const TMainForm&) {
         EXPECT_EQ(d.MeasurementCount, 15);
         for (int i = 11; i <= MaxMeasurements; ++i) {
           EXPECT_EQ(d.ApparentRho[i], 0) << i;
           EXPECT_EQ(d.HalfSpacing[i], before.HalfSpacing[i]) << i;
         }
       }},
      {"ARemarkOf100CharactersIsStoredAs80",
       {[](TGeneralInformationForm& dialog) {
         Type(Edit(dialog, "flRemarks"), QString(50, 'a') + QString(50, 'b'));
         Press(dialog, "OKButton");
       }},
       [](const TResondixData& d, const TResondixData&, const TMainForm&) {
         EXPECT_EQ(d.Remarks(), std::string(50, 'a') + std::string(30, 'b'));
       }},
      {"CancelChangesNothingAndTheNextShowHasTheDocumentAgain",
       {[&](TGeneralInformationForm& dialog) {
          typeEverything(dialog);
          QTest::mouseClick(Child<QRadioButton>(dialog, "soWenner"), Qt::LeftButton);
          Pairs(dialog)->setValue(3);
          Press(dialog, "CancelButton");
        },
        [](TGeneralInformationForm& dialog) {
          EXPECT_EQ(Shown(dialog), (QStringList{"Groundwater survey Drentsche Aa", "Assen, Netherlands", "12-05-2026",
                                                "X, Y = 234512, 556780", "N-S", "80",
                                                "three-layer-schlumberger.rxd", "VES 12", "12-05-2026",
                                                "Synthetic sounding made for the Resondix examples", "Schlumberger",
                                                "", "15"}));
        }},
       [](const TResondixData& d, const TResondixData& before, const TMainForm&) {
         EXPECT_EQ(d.DataFileText(), before.DataFileText());
         EXPECT_TRUE(d.IsSchlumberger);
       }},
  };
  const QString example = QDir::toNativeSeparators(Example("three-layer-schlumberger.rxd"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto window = MakeWindow({example});
    window->MeasurementsGridSelectCell(12);
    const TResondixData before = window->Document();
    InformationUsers = c.Users;
    for (int show = 0; show < c.Users.size(); ++show) window->FileInformationClick();
    c.Check(window->Document(), before, *window);
    // What OK changed is protected by the save prompt; Cancel leaves the document saved.
    EXPECT_EQ(window->Document().Saved, window->Document().DataFileText() == before.DataFileText());
    EXPECT_EQ(window->windowTitle(), Title(example));
  }
}

// The one dialog of the run, shown for one document after another: each
// show has the configuration of its own document, and OK without a touch
// keeps it.
TEST_F(TInformationTest, OneDialogShowsEachDocumentsConfigurationInTurn) {
  const struct {
    const char *First, *Second, *Configuration;
  } cases[] = {
      {"three-layer-schlumberger.rxd", "four-layer-wenner.rxd", "Wenner"},
      {"four-layer-wenner.rxd", "three-layer-schlumberger.rxd", "Schlumberger"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Second);
    auto window = MakeWindow({Example(c.First)});
    window->FileInformationClick();  // shown and cancelled
    FileDialogs.Paths = {Example(c.Second)};
    window->FileOpenClick();
    QStringList shown;
    InformationUsers = {[&shown](TGeneralInformationForm& dialog) {
      shown = Shown(dialog);
      Press(dialog, "OKButton");
    }};
    window->FileInformationClick();
    const bool schlumberger = QString(c.Configuration) == "Schlumberger";
    EXPECT_EQ(shown.mid(10, 2), (QStringList{schlumberger ? c.Configuration : "", schlumberger ? "" : c.Configuration}));
    EXPECT_EQ(window->Document().IsSchlumberger, schlumberger);
    EXPECT_EQ(Child<QLabel>(*window, "StatusPanel3")->text(), QString(c.Configuration));
  }
}

// The count typed by the user: out of range it comes back to the nearer
// limit when the field is left, and a text that is not a number reads as 1.
TEST_F(TInformationTest, PairsOfDataStaysWithinOneTo15) {
  const struct {
    const char* Typed;
    const char* ShownWhenLeft;
    int Count;  // after OK
  } cases[] = {
      {"20", "15", 15}, {"0", "1", 1}, {"-", "1", 1}, {"", "1", 1}, {"7", "7", 7}, {"x9", "9", 9},
  };
  auto window = MakeWindow();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    QString shown;
    InformationUsers = {[&](TGeneralInformationForm& dialog) {
      dialog.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
      QSpinBox* pairs = Pairs(dialog);
      pairs->setFocus();
      pairs->selectAll();
      QTest::keyClick(pairs, Qt::Key_Delete);
      QTest::keyClicks(pairs, c.Typed);
      Edit(dialog, "flFileName")->setFocus();  // leaving the field
      shown = pairs->text();
      Press(dialog, "OKButton");
    }};
    window->FileInformationClick();
    EXPECT_EQ(shown, c.ShownWhenLeft);
    EXPECT_EQ(window->Document().MeasurementCount, c.Count);
  }
  // The arrows stay within the range too.
  InformationUsers = {[](TGeneralInformationForm& dialog) {
    Pairs(dialog)->setValue(15);
    QTest::keyClick(Pairs(dialog), Qt::Key_Up);
    Press(dialog, "OKButton");
  }};
  window->FileInformationClick();
  EXPECT_EQ(window->Document().MeasurementCount, 15);
}

// Without a browser the dialog's help comes up in the help window, which
// the open dialog does not block: a link in it can be followed.
TEST_F(TInformationTest, HelpWithoutABrowserCanBeReadWhileTheDialogIsOpen) {
  auto window = MakeWindow();
  window->Help().Folder = RESONDIX_SOURCE_DIR "/help";
  window->Help().OpenUrl = [](const QUrl&) { return false; };
  QString followed;
  InformationUsers = {[&](TGeneralInformationForm& dialog) {
    Press(dialog, "HelpButton");
    THelpWindow* help = window->Help().Window();
    ASSERT_TRUE(help && QTest::qWaitForWindowExposed(help));
    QTextCursor word = help->document()->find("Contents");
    word.setPosition(word.selectionStart() + 2);
    const QPoint link = help->cursorRect(word).center();
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, help->viewport()->mapTo(help, link));
    followed = help->source().fileName();
    Press(dialog, "OKButton");
  }};
  window->FileInformationClick();
  EXPECT_EQ(followed, QString("1001.html"));
}

TEST_F(TInformationTest, ControlsFollowTheTableAndHelpOpensItsTopic) {
  auto window = MakeWindow();
  QStringList opened;
  window->Help().Folder = RESONDIX_SOURCE_DIR "/help";
  window->Help().OpenUrl = [&opened](const QUrl& url) { opened << url.fileName(); return true; };
  QStringList order, names;
  InformationUsers = {[&](TGeneralInformationForm& dialog) {
    // The Tab key's way through the dialog, and what each stop is called.
    QWidget* first = Edit(dialog, "prName");
    QWidget* widget = first;
    do {
      // A spin box's own editor is part of the spin box's stop.
      const bool ownEditor = qobject_cast<QAbstractSpinBox*>(widget->parentWidget());
      if (widget->focusPolicy() & Qt::TabFocus && widget->isVisibleTo(&dialog) && !ownEditor) {
        order << widget->objectName();
        names << QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
      }
      widget = widget->nextInFocusChain();
    } while (widget != first && order.size() < 40);
    Press(dialog, "HelpButton");
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(Edit(dialog, "flRemarks"), Qt::Key_F1);
    Press(dialog, "OKButton");
  }};
  window->FileInformationClick();
  EXPECT_EQ(order, (QStringList{"prName", "prLocation", "prDate", "soSchlumBerger", "soWenner", "soPosition",
                                "soDirection", "soABLength", "soPairsOfData", "flFileName", "flDataName", "flDate",
                                "flRemarks", "OKButton", "CancelButton", "HelpButton"}));
  EXPECT_EQ(names, (QStringList{"Name:", "Location:", "Project date", "Schlumberger", "Wenner", "Position:",
                                "Direction:", "AB Length:", "Pairs of data:", "File name:", "Data name:", "File date",
                                "Remarks:", "OK", "Cancel", "Help"}));
  EXPECT_EQ(opened, QStringList(2, "1003.html"));
  EXPECT_EQ(window->findChild<QDialog*>("GeneralInformationForm")->windowTitle(), "General information");
}

}  // namespace
