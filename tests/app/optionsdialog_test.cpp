// The options dialog and ShowOptions; the ply value table window.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include "app/dialogs/frmoptions.h"
#include "app/dialogs/frmpv.h"
#include "app/dialogs_fixture.h"
#include "app/window_fixture.h"
#include "core/game/plyvaluewindow.h"

using namespace dialogs_test;

namespace {

template <typename T>
T* Control(QWidget* d, const char* name) {
  T* c = d->findChild<T*>(name);
  if (!c) qWarning() << "no control" << name;
  return c;
}

FrmPV* PlyValueWindow(MainWindow& w) { return w.findChild<FrmPV*>("frmPV"); }

// While the ply value table of `w` runs: once `ready` holds for its window
// (however long the machine takes to get there, within the wait), `press`
// stops the run. A run still going a wait after the press, or whose window
// is never ready, is ended with Cancel so that the test fails instead of
// running for minutes. Made in a test function, it ends with it.
class StopWhileRunning {
 public:
  StopWhileRunning(MainWindow& w, std::function<bool(FrmPV&)> ready, std::function<void(FrmPV&)> press)
      : w_(w), ready_(std::move(ready)), press_(std::move(press)),
        poll_([this] { return step(); }, [this] { cancel(); }) {}

  bool pressed() const { return pressed_; }
  bool stillRunning() const { return stillRunning_; }

 private:
  bool step() {
    FrmPV* pv = PlyValueWindow(w_);
    if (!pv || !pv->isVisible() || !ready_(*pv)) return false;
    pressed_ = true;
    after_ = std::make_unique<wait_test::Poll>([pv] { return !pv->cancelButton()->isEnabled(); },
                                               [this, pv] {
                                                 stillRunning_ = true;
                                                 pv->cancelButton()->click();
                                               });
    press_(*pv);
    return true;
  }
  void cancel() {
    FrmPV* pv = PlyValueWindow(w_);
    if (pv && pv->cancelButton()->isEnabled()) pv->cancelButton()->click();
  }

  MainWindow& w_;
  std::function<bool(FrmPV&)> ready_;
  std::function<void(FrmPV&)> press_;
  bool pressed_ = false, stillRunning_ = false;
  std::unique_ptr<wait_test::Poll> after_;
  wait_test::Poll poll_;
};

// Whether the window has the keyboard: it is the active window and the
// focus is inside it.
bool HasKeyboard(QWidget& window) {
  QWidget* keyboard = QApplication::focusWidget();
  return QApplication::activeWindow() == &window && keyboard && (keyboard == &window || window.isAncestorOf(keyboard));
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void controlsShowTheOptions() {
    QTemporaryDir dir;
    WriteFile(dir.path() + "/skins/Walnut.ini", "END\r\n");
    GameState g;
    g.ProgramFolder = dir.path().toStdString();
    g.Opt.Weakness = 1;
    g.Opt.DepthMode = 0;
    g.Opt.SearchTime = 30;
    g.Opt.ChessDrawRules = 0;
    g.Opt.FiftyMoveChoice = 7;  // only a hand-edited settings file holds this
    g.Opt.ExtendedPlies = 4;
    g.Opt.SkinName = "Walnut";
    g.Rating.UserRating = 1375;
    FrmOptions d(g);
    d.fillFromOptions();
    QCOMPARE(d.windowTitle(), QStringLiteral(" Options"));
    QCOMPARE(d.tabs()->count(), 4);
    QCOMPARE(d.tabs()->tabText(3), QStringLiteral("Misc"));
    QCOMPARE(d.tabs()->currentIndex(), 0);
    QCOMPARE(Control<QSlider>(&d, "Slider2")->value(), 9);
    QCOMPARE(Control<QSlider>(&d, "Slider1")->value(), 30);
    QVERIFY(!Control<QCheckBox>(&d, "Check1")->isChecked());
    QVERIFY(Control<QCheckBox>(&d, "Check2")->isChecked());
    QVERIFY(!Control<QSlider>(&d, "Slider4")->isEnabled());
    QVERIFY(Control<QSlider>(&d, "Slider1")->isEnabled());
    QCOMPARE(Control<QLineEdit>(&d, "Text2")->text(), QStringLiteral("4"));
    QCOMPARE(Control<QLineEdit>(&d, "Text4")->text(), QStringLiteral("5"));
    QCOMPARE(Control<QLineEdit>(&d, "Text1")->text(), QStringLiteral("Player"));
    QCOMPARE(Control<QCheckBox>(&d, "Check16")->text(), QStringLiteral("Use Rating (1375)"));
    QVERIFY(Control<QRadioButton>(&d, "Option1_0")->isChecked());
    for (const char* o : {"Option2", "Option3", "Option4", "Option5", "Option6"}) {
      QVERIFY(!Control<QRadioButton>(&d, o)->isChecked());
      QVERIFY(!Control<QRadioButton>(&d, o)->isEnabled());  // the chess draw rules are off
    }
    auto* skins = Control<QComboBox>(&d, "Combo1");
    QCOMPARE(skins->count(), 4);
    QCOMPARE(skins->currentText(), QStringLiteral("Walnut"));
    // Apply stores 1 for the move count when no button is selected.
    Control<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(g.Opt.FiftyMoveChoice, 1);
  }

  void applyWritesLimitedValuesAndCancelWritesNothing() {
    GameState g;
    g.ProgramFolder = "/nonexistent-m8";
    FrmOptions d(g);
    d.fillFromOptions();
    d.show();
    Control<QLineEdit>(&d, "Text2")->setText("12a");
    Control<QLineEdit>(&d, "Text3")->setText("12345678901");
    Control<QLineEdit>(&d, "Text4")->setText("25");
    Control<QSlider>(&d, "Slider2")->setValue(4);
    Control<QRadioButton>(&d, "Option1_1")->setChecked(true);
    Control<QRadioButton>(&d, "Option2")->setChecked(true);
    Control<QLineEdit>(&d, "Text1")->setText(" Ann ");
    Control<QPushButton>(&d, "cmdApply")->click();
    QVERIFY(d.isVisible());  // Apply leaves the dialog open
    QCOMPARE(g.Opt.ExtendedPlies, 6);
    QCOMPARE(g.Opt.Balance, 750);
    QCOMPARE(g.Opt.PlyValueDepth, 20);
    QCOMPARE(g.Opt.Weakness, 6);
    QCOMPARE(g.Opt.CaptureCharStyle, 1);
    QCOMPARE(g.Opt.FiftyMoveChoice, 2);
    QCOMPARE(g.Opt.UserName, std::string(" Ann "));
    QCOMPARE(Control<QLineEdit>(&d, "Text2")->text(), QStringLiteral("12a"));  // the box keeps what was typed
    Control<QLineEdit>(&d, "Text3")->setText("300");
    Control<QPushButton>(&d, "cmdCancel")->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(g.Opt.Balance, 750);
  }

  void depthAndTimeBoxesAreAPairAndBoxesEnableTheirControls() {
    GameState g;
    g.ProgramFolder = "/nonexistent-m8";
    g.Opt.UseBook = 0;
    FrmOptions d(g);
    d.fillFromOptions();
    auto* depth = Control<QCheckBox>(&d, "Check1");
    auto* time = Control<QCheckBox>(&d, "Check2");
    depth->click();
    QVERIFY(depth->isChecked() && !time->isChecked());
    QVERIFY(Control<QSlider>(&d, "Slider4")->isEnabled());
    QVERIFY(!Control<QSlider>(&d, "Slider1")->isEnabled());
    QVERIFY(!Control<QLabel>(&d, "Label1")->isEnabled());
    depth->click();  // unticking the only ticked box ticks it again
    QVERIFY(depth->isChecked() && !time->isChecked());
    time->click();
    QVERIFY(!depth->isChecked() && time->isChecked());
    QVERIFY(!Control<QSlider>(&d, "Slider4")->isEnabled());
    Control<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(g.Opt.DepthMode, 0);

    auto* book = Control<QCheckBox>(&d, "Check9");
    QVERIFY(!Control<QCheckBox>(&d, "Check12")->isEnabled());
    book->click();
    QVERIFY(Control<QCheckBox>(&d, "Check12")->isEnabled());
    Control<QCheckBox>(&d, "Check7")->click();  // extended search off
    QVERIFY(!Control<QLineEdit>(&d, "Text2")->isEnabled());
    QVERIFY(!Control<QLabel>(&d, "Label16")->isEnabled());
    QVERIFY(Control<QLineEdit>(&d, "Text4")->isEnabled());
  }

  void ctrlTabTurnsThePages() {
    GameState g;
    g.ProgramFolder = "/nonexistent-m8";
    FrmOptions d(g);
    d.fillFromOptions();
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d, wait_test::kWaitMs));
    d.activateWindow();
    d.tabs()->setCurrentIndex(3);
    QWidget* focus = Control<QCheckBox>(&d, "Check6");
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(d.tabs()->currentIndex(), 0);
    QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(d.tabs()->currentIndex(), 1);
    QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(d.tabs()->currentIndex(), 1);
    d.turnPageOnKey(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(d.tabs()->currentIndex(), 1);
  }

  void resetAndSkinChoiceTakeEffectAtOnce() {
    GameState g;
    g.ProgramFolder = "/nonexistent-m8";
    g.Rating.UserRating = 1640;
    FrmOptions d(g);
    d.fillFromOptions();
    Control<QPushButton>(&d, "Command1")->click();
    QCOMPARE(g.Rating.UserRating, 1200);
    QCOMPARE(Control<QCheckBox>(&d, "Check16")->text(), QStringLiteral("Use Rating (1200)"));
    emit Control<QComboBox>(&d, "Combo1")->activated(2);
    QCOMPARE(g.Opt.SkinName, std::string("Classic Big"));
    Control<QPushButton>(&d, "cmdCancel")->click();
    QCOMPARE(g.Rating.UserRating, 1200);
    QCOMPARE(g.Opt.SkinName, std::string("Classic Big"));
  }

  void showOptionsFromTheMenuUpdatesTheWindowAfterwards() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.UserName = "Ann";
    const QByteArray settingsBefore = ReadFile(dir.path() + "/tavrin.ini");
    QVERIFY(!settingsBefore.isEmpty());
    QVERIFY(w->commands()->entry("Options")->isEnabled());
    QVERIFY(w->commands()->button(23)->isEnabled());
    auto answer = WhenModal<FrmOptions>([](FrmOptions* d) {
      Control<QRadioButton>(d, "Option1_1")->setChecked(true);
      Control<QSlider>(d, "Slider2")->setValue(7);
      Control<QCheckBox>(d, "Check1")->click();
      Control<QSlider>(d, "Slider4")->setValue(6);
      emit Control<QComboBox>(d, "Combo1")->activated(0);  // "Classic Small"
      Control<QPushButton>(d, "cmdOK")->click();
    });
    w->commands()->entry("Options")->trigger();
    QCOMPARE(g.Texts.CaptureChar, std::string(":"));
    QCOMPARE(w->strengthLabel()->text(), QStringLiteral("Strength: 7   Depth: 6 ply"));
    QCOMPARE(g.Opt.BoardSizeCode, 0);  // the new skin is in force
    // Black starts and is to move: the user plays it.
    QCOMPARE(g.Flow.PlayerName1, std::string("Ann"));
    QCOMPARE(g.Flow.PlayerName2, std::string("Computer"));
    // The settings file is written at exit only.
    QCOMPARE(ReadFile(dir.path() + "/tavrin.ini"), settingsBefore);

    // The toolbar button opens it too; Cancel writes nothing.
    answer = WhenModal<FrmOptions>([](FrmOptions* d) {
      Control<QSlider>(d, "Slider2")->setValue(2);
      Control<QPushButton>(d, "cmdCancel")->click();
    });
    w->commands()->button(23)->trigger();
    QCOMPARE(g.Opt.Weakness, 3);
  }

  void capitalNotationChangeClearsTheDrawingAtOnce() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QVERIFY(!w->surface()->printedTexts().empty());  // the coordinates beside the board
    bool clearedAtApply = false, keptAtSecondApply = false;
    const auto answer = WhenModal<FrmOptions>([&](FrmOptions* d) {
      Control<QCheckBox>(d, "Check5")->click();
      Control<QPushButton>(d, "cmdApply")->click();
      clearedAtApply = w->surface()->printedTexts().empty();
      w->DrawBoard(0);
      Control<QPushButton>(d, "cmdApply")->click();  // unchanged now: nothing cleared
      keptAtSecondApply = !w->surface()->printedTexts().empty();
      Control<QPushButton>(d, "cmdCancel")->click();
    });
    w->commands()->entry("Options")->trigger();
    QVERIFY(clearedAtApply);
    QVERIFY(keptAtSecondApply);
    QCOMPARE(w->state().Opt.CapitalNotation, 1);
    QVERIFY(!w->surface()->printedTexts().empty());  // drawn again after the dialog
  }

  void plyValueWindowShowsTheTableAndSortsIt() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = 2;
    QVERIFY(!PlyValueWindow(*w));
    w->commands()->entry("plyvaluetable")->trigger();
    FrmPV* pv = PlyValueWindow(*w);
    QVERIFY(pv);
    QVERIFY(pv->isVisible());
    QCOMPARE(pv->windowTitle(), QStringLiteral("Ply Value Table"));
    QCOMPARE(pv->outputLabel()->text(), QStringLiteral("Done!"));
    QVERIFY(pv->okButton()->isEnabled());
    QVERIFY(!pv->cancelButton()->isEnabled());
    QVERIFY(pv->sortBox()->isEnabled());
    QCOMPARE(pv->sortBox()->count(), 5);
    QCOMPARE(pv->sortBox()->currentText(), QStringLiteral("Best difference"));
    QCOMPARE(g.PlyValue.PlyValueRows, 7);
    const QString table = pv->tableText()->toPlainText();
    QVERIFY(table.startsWith("  No      MOVE   PLY 1    PLY 2     Diff     Time   \n" + QString(120, '-')));
    QCOMPARE(table.count('\n'), 2 + 7);
    // Nothing runs any more: the bar is empty.
    QCOMPARE(pv->progress()->value(), 0);

    for (int key = 0; key < kPlyValueKeys; ++key) {
      emit pv->sortBox()->activated(key);
      const QString t = pv->tableText()->toPlainText();
      QVERIFY(t.contains("\n" + QString(107, '-') + "\n"));
      QCOMPARE(t, QString::fromStdString(g.PlyValue.TableText).replace("\r\n", "\n"));
      QVERIFY(g.PlyValue.PlyValueRows == 7);
      for (int r = 1; r < 7; ++r) {
        const auto& pvs = g.PlyValue;
        if (key == 3) {
          QVERIFY(pvs.PlyValueTime[r - 1] >= pvs.PlyValueTime[r]);
        }
        if (key == 2) {
          QVERIFY(pvs.PlyValues[r - 1][2] <= pvs.PlyValues[r][2]);
        }
      }
    }
    pv->okButton()->click();
    QVERIFY(!pv->isVisible());
    QCOMPARE(g.PlyValue.PlyValueRows, 7);  // the arrays stay
  }

  void cancelStopsARunningTable_data() {
    QTest::addColumn<bool>("escape");  // the Escape key in place of the Cancel button
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
  }

  void cancelStopsARunningTable() {
    QFETCH(bool, escape);
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = 14;  // far longer than the test waits
    // The main window has the keyboard when the command runs.
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    // What the table shows while it runs, once its first row is searched
    // (and, for Escape, once it has the keyboard: the key goes, as a user
    // presses it, to whatever has the keyboard, with no click into the
    // table first).
    bool cancelOn = false, okOn = true, sortOn = true;
    QString output;
    StopWhileRunning stop(
        *w,
        [escape](FrmPV& pv) {
          return pv.outputLabel()->text().startsWith("Score:") && (!escape || HasKeyboard(pv));
        },
        [&](FrmPV& pv) {
          cancelOn = pv.cancelButton()->isEnabled();
          okOn = pv.okButton()->isEnabled();
          sortOn = pv.sortBox()->isEnabled();
          output = pv.outputLabel()->text();
          if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
          else
            pv.cancelButton()->click();
        });
    w->commands()->entry("plyvaluetable")->trigger();
    QVERIFY2(stop.pressed(), escape ? "the running table never had the keyboard" : "the table never ran");
    QVERIFY(!stop.stillRunning());
    QVERIFY(cancelOn);
    QVERIFY(!okOn);
    QVERIFY(!sortOn);
    QVERIFY2(!output.contains('\r'), qPrintable(output));
    FrmPV* pv = PlyValueWindow(*w);
    QVERIFY(g.PlyValue.PlyValueRows < 7);
    QVERIFY(pv->isVisible());  // the rows searched up to then stay in view
    QCOMPARE(pv->outputLabel()->text(),
             QString("Stopped: %1 of %2 moves searched.").arg(g.PlyValue.PlyValueRows).arg(7));
    QVERIFY(!pv->cancelButton()->isEnabled());
    QVERIFY(pv->okButton()->isEnabled());
    QCOMPARE(g.Flow.Busy, 0);
    // Then Escape closes it, as Ok does.
    QTest::keyClick(pv->tableText(), Qt::Key_Escape);
    QVERIFY(!pv->isVisible());
  }

  // The table left open behind the main window comes to the front with the
  // keyboard when it runs again: Escape, pressed at once, stops the new run,
  // and pressed again closes the table.
  void aNewRunBringsTheTableForward() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.PlyValueDepth = 1;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), wait_test::kWaitMs));
    w->commands()->entry("plyvaluetable")->trigger();
    FrmPV* pv = PlyValueWindow(*w);
    QVERIFY(pv && pv->isVisible());
    WAIT_COMPARE(QApplication::activeWindow(), pv);
    // The user goes back to the main window; the table stays open behind it.
    w->activateWindow();
    WAIT_COMPARE(QApplication::activeWindow(), w.get());
    g.Opt.PlyValueDepth = 14;  // far longer than the test waits
    // Escape, as soon as the new run has brought the table forward with the
    // keyboard.
    StopWhileRunning stop(
        *w, [](FrmPV& table) { return table.cancelButton()->isEnabled() && HasKeyboard(table); },
        [](FrmPV&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    w->commands()->entry("plyvaluetable")->trigger();
    QVERIFY2(stop.pressed(), "the running table never had the keyboard");
    QVERIFY(!stop.stillRunning());
    QVERIFY(pv->outputLabel()->text().startsWith("Stopped: "));
    QWidget* keyboard = QApplication::focusWidget();
    QVERIFY(keyboard && pv->isAncestorOf(keyboard));
    QTest::keyClick(keyboard, Qt::Key_Escape);
    QVERIFY(!pv->isVisible());
  }
};

QTEST_MAIN(OptionsDialogTest)
#include "optionsdialog_test.moc"
