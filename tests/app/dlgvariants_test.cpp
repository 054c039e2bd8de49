// The rules editor: built-in variants shown in the controls, the New Variant
// command through the dialog, illegal entries, dependent boxes, broken user
// variant files.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <functional>
#include <memory>

#include "app/dialogs/dlgvariants.h"
#include "app/window_fixture.h"
#include "core/rules/variantfile.h"

namespace {

void CopyVariants(const QString& folder) {
  QDir().mkpath(folder + "/variants/uservariants");
  for (const QString& f : QDir(M8_DATA_DIR "/variants").entryList({"*.ini"}, QDir::Files))
    QFile::copy(QStringLiteral(M8_DATA_DIR "/variants/") + f, folder + "/variants/" + f);
}

// Runs `act` on the modal dialog as soon as it is shown (the toolbar lets
// events through before it acts, so the dialog is looked for until it is
// up), while the returned poll lives.
[[nodiscard]] std::unique_ptr<wait_test::Poll> WhenDialogShown(std::function<void(DlgVariants&)> act) {
  return std::make_unique<wait_test::Poll>(
      [act] {
        auto* d = qobject_cast<DlgVariants*>(QApplication::activeModalWidget());
        if (!d) return false;
        act(*d);
        if (d->isVisible()) d->reject();  // a failed check must not leave the dialog waiting
        return true;
      },
      [] { qWarning() << "no variant dialog shown"; });
}

int IndexOf(DlgVariants& d, const QString& name) { return d.variantBox()->findText(name); }

void Choose(DlgVariants& d, const QString& name) {
  const int i = IndexOf(d, name);
  QVERIFY(i >= 0);
  d.variantBox()->setCurrentIndex(i);
  emit d.variantBox()->activated(i);
}

// Every widget shows what the editor holds.
void VerifyWidgetsShowEditor(DlgVariants& d) {
  const EditorControls& c = d.editor().controls();
  for (int box = 1; box < kEditorChecks; ++box) {
    if (!d.check(box)) continue;
    QCOMPARE(d.check(box)->isChecked(), c.Check[box] != 0);
    QCOMPARE(d.check(box)->isEnabled(), c.CheckEnabled[box]);
  }
  for (int box = kFirstNumberBox; box < kEditorNumbers; ++box) {
    QCOMPARE(d.number(box)->text().toStdString(), c.Number[box]);
    QCOMPARE(d.number(box)->isEnabled(), c.NumberEnabled[box]);
    QCOMPARE(d.numberLabel(box)->isEnabled(), c.NumberEnabled[box]);
  }
  for (int i = 0; i < kEditorPromoBoxes; ++i) QCOMPARE(d.promo(i)->text().toStdString(), c.Promo[i]);
  for (int i = 0; i < kEditorMovementBoxes; ++i) QCOMPARE(d.movement(i)->text().toStdString(), c.Movement[i]);
  QCOMPARE(d.variantBox()->currentIndex(), c.Selected);
  QCOMPARE(d.helpLink()->text().toStdString(), c.HelpLink);
}

}  // namespace

class DlgVariantsTest : public QObject {
  Q_OBJECT
 private slots:
  void everyBuiltInVariantShowsItsRules() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    DlgVariants d(g, w.get());
    QCOMPARE(d.windowTitle(), QStringLiteral(" Variants"));
    QVERIFY(d.randomButton()->isHidden());
    QVERIFY(!d.randomButton()->isEnabled());
    d.OpenFor("American Checkers");
    QCOMPARE(d.variantBox()->count(), 29);
    QCOMPARE(d.variantBox()->currentText(), QStringLiteral("American Checkers"));
    QVERIFY(d.classicOption()->isChecked());
    VerifyWidgetsShowEditor(d);
    for (int i = 0; i < d.variantBox()->count(); ++i) {
      const QString name = d.variantBox()->itemText(i);
      Choose(d, name);
      VerifyWidgetsShowEditor(d);
      QCOMPARE(QString::fromStdString(g.Variant.LoadedVariantName), name);
      QCOMPARE(g.Rules, g.VariantRules);
      QCOMPARE(d.check(kLongKingsBox)->isChecked(), g.Rules.LongKings != 0);
      QCOMPARE(d.check(kPiecesOnBlackBox)->isEnabled(), g.Rules.PiecesOnBlack != 2);
      QCOMPARE(d.helpLink()->text().toStdString(), g.Variant.HelpLink);
    }
    QVERIFY(boxes.messages.isEmpty());
  }

  void newVariantWithAnEditedRuleStartsAModifiedGame() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    const int notation = g.Opt.Notation;
    QAction* entry = w->commands()->entry("NewVariant");
    QVERIFY(entry->isEnabled());
    QVERIFY(w->commands()->button(2)->isEnabled());
    bool shown = false;
    auto answer = WhenDialogShown([&](DlgVariants& d) {
      shown = true;
      QCOMPARE(d.variantBox()->currentText(), QStringLiteral("American Checkers"));
      QCOMPARE(d.promo(0)->text(), QStringLiteral("b8"));  // letters while the dialog is open
      d.check(kLongKingsBox)->click();
      QVERIFY(d.check(kKingFirstBox)->isEnabled());
      d.okButton()->click();
    });
    entry->trigger();
    QVERIFY(shown);
    QCOMPARE(g.Rules.LongKings, 1);
    QCOMPARE(g.VariantRules.LongKings, 0);
    QCOMPARE(g.Opt.Notation, notation);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers (M)"));
    QCOMPARE(g.P.GamePly, 0);
    QVERIFY(!g.Driver.LegalMoveLines.empty());
    QVERIFY(boxes.messages.isEmpty());
  }

  void chosenVariantIsPlayedEvenAfterCancel() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    auto answer = WhenDialogShown([&](DlgVariants& d) {
      Choose(d, "Turkish Checkers");
      QVERIFY(!d.check(kPiecesOnBlackBox)->isEnabled());
      d.cancelButton()->click();
    });
    w->commands()->button(2)->trigger();
    QCOMPARE(g.Rules.Variant, std::string("Turkish Checkers"));
    QCOMPARE(g.Rules, g.VariantRules);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("Turkish Checkers"));
    QCOMPARE(g.Mat.WhiteMen, 16);
    QCOMPARE(g.P.SideToMove, 1);  // white moves first in Turkish draughts
    QCOMPARE(g.Opt.Notation, 0);  // every square in play: letters
    QVERIFY(!g.Driver.LegalMoveLines.empty());

    // Back to American checkers: its own start position again.
    answer = WhenDialogShown([&](DlgVariants& d) {
      Choose(d, "American Checkers");
      d.okButton()->click();
    });
    w->commands()->entry("NewVariant")->trigger();
    QCOMPARE(g.board, DefaultStartBoard());
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("American Checkers"));
    QCOMPARE(g.P.SideToMove, -1);
  }

  void illegalEntryKeepsTheDialogOpen() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    DlgVariants d(g, w.get());
    d.OpenFor("American Checkers");
    d.show();
    d.check(kAntiModeBox)->click();
    d.promo(0)->setText("z9");
    d.okButton()->click();
    QCOMPARE(boxes.messages, QStringList{"Error|Illegal entry!"});
    QVERIFY(d.isVisible());
    QVERIFY(d.promo(0)->styleSheet().contains("#000000"));
    QCOMPARE(g.Rules.AntiMode, 1);  // the boxes before the squares are taken
    QTest::keyClick(d.promo(0), Qt::Key_Backspace);
    QVERIFY(d.promo(0)->styleSheet().isEmpty());
    d.promo(0)->setText("d8");
    d.movement(6)->setText("NW;;NE");
    d.applyButton()->click();
    QCOMPARE(boxes.messages.size(), 2);
    QVERIFY(d.movement(6)->styleSheet().contains("#000000"));
    QCOMPARE(g.Rules.PromoSquares[0][0], 94);
    QCOMPARE(g.Rules.MovementStrings[2], g.VariantRules.MovementStrings[2]);
    d.movement(6)->setText("NW;NE");
    d.applyButton()->click();
    QCOMPARE(boxes.messages.size(), 2);
    QCOMPARE(g.Rules.MovementStrings[2], std::string("NW;NE;SE;SW NW;NE"));
    QVERIFY(d.isVisible());
    d.cancelButton()->click();
    QVERIFY(!d.isVisible());
  }

  void dependentBoxesAndTheColourBox() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    DlgVariants d(g, w.get());
    d.OpenFor("American Checkers");
    d.show();
    d.check(kMaxCapMoveBox)->click();
    QVERIFY(d.check(kMulJumpsBox)->isChecked());
    QVERIFY(!d.check(kMulJumpsBox)->isEnabled());
    QVERIFY(d.check(kMaxCapMoveKingsBox)->isEnabled());
    QVERIFY(!d.number(kNumberMenBox)->isEnabled());
    d.check(kRemoveMenBox)->click();
    QVERIFY(d.number(kNumberMenBox)->isEnabled());
    QVERIFY(d.numberLabel(kNumberMenBox)->isEnabled());
    d.check(kWinAtPromoBox)->click();
    QVERIFY(!d.check(kKingWinBox)->isEnabled());
    d.check(kPiecesOnBlackBox)->click();  // the other square colour, at once in both rule sets
    QCOMPARE(g.Rules.PiecesOnBlack, 0);
    QCOMPARE(g.VariantRules.PiecesOnBlack, 0);
    QCOMPARE(d.promo(0)->text(), QStringLiteral("a8"));
    QCOMPARE(d.promo(12)->text(), QStringLiteral("b1"));
    VerifyWidgetsShowEditor(d);

    // The help link: opened on a click, nothing without a link.
    QStringList opened;
    d.openLink = [&](const QString& link) { opened << link; };
    QTest::mouseClick(d.helpLink(), Qt::LeftButton);
    QCOMPARE(opened, QStringList{QString::fromStdString(g.Variant.HelpLink)});
    d.helpLink()->clear();
    QTest::mouseClick(d.helpLink(), Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
  }

  void lookingAtTheUserFolderThenCancelKeepsTheGame_data() {
    QTest::addColumn<bool>("userVariant");
    QTest::newRow("user folder with a variant") << true;
    QTest::newRow("empty user folder") << false;
  }

  void lookingAtTheUserFolderThenCancelKeepsTheGame() {
    QFETCH(bool, userVariant);
    QTemporaryDir dir;
    CopyVariants(dir.path());
    if (userVariant) WriteFile(dir.path() + "/variants/uservariants/A Good.ini", "; good\r\nLongKings=1\r\nEND\r\n");
    Boxes boxes;
    {
      auto w = Start(dir.path(), boxes);
      GameState& g = w->state();
      auto answer = WhenDialogShown([&](DlgVariants& d) {
        Choose(d, "Russian Checkers");
        d.okButton()->click();
      });
      w->commands()->button(2)->trigger();
      QCOMPARE(g.Rules.Variant, std::string("Russian Checkers"));
      const RuleSet russian = g.Rules;
      // A look at the user folder, then Cancel.
      answer = WhenDialogShown([&](DlgVariants& d) {
        d.userOption()->click();
        QCOMPARE(d.variantBox()->count(), userVariant ? 1 : 0);
        QVERIFY(d.userOption()->isChecked());
        d.cancelButton()->click();
      });
      w->commands()->button(2)->trigger();
      QCOMPARE(g.Opt.UseClassic, 1);
      QCOMPARE(g.Rules, russian);
      QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("Russian Checkers"));
      // The next new game and the next start play the same variant.
      w->NewGameCommand(0);
      QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("Russian Checkers"));
      QCOMPARE(g.Rules, russian);
      w->onExitRequested();
    }
    QVERIFY2(boxes.messages.isEmpty(), qPrintable(boxes.messages.join("\n")));
    auto w = Start(dir.path(), boxes);
    QCOMPARE(w->state().Opt.UseClassic, 1);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("Russian Checkers"));
    if (!userVariant) return;
    // A user variant chosen and confirmed: the folder follows it.
    auto answer = WhenDialogShown([&](DlgVariants& d) {
      d.userOption()->click();
      d.okButton()->click();
    });
    w->commands()->button(2)->trigger();
    QCOMPARE(w->state().Opt.UseClassic, 0);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("A Good"));
    w->NewGameCommand(0);
    QCOMPARE(w->variantNameLabel()->text(), QStringLiteral("A Good"));
    QCOMPARE(w->state().Rules.LongKings, 1);
  }

  void editorWindowAndItsList() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    WriteFile(dir.path() + "/variants/uservariants/A Good.ini", "; good\r\nLongKings=1\r\nEND\r\n");
    WriteFile(dir.path() + "/variants/uservariants/B Gone.ini", "; gone\r\nLongKings=0\r\nEND\r\n");
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    g.Rules.KingCapMove = 2;  // a check-box rule that is neither 0 nor 1
    DlgVariants d(g, w.get());
    QStringList opened;
    d.openLink = [&](const QString& link) { opened << link; };
    d.OpenFor("American Checkers");
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d, wait_test::kWaitMs));
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY2(boxes.messages[0].contains("KingCapMove = 2"), qPrintable(boxes.messages[0]));
    // The main window is not shown: centred on the free area of the screen,
    // all of it on it.
    const QRect screen = w->availableArea();
    const QRect f = d.frameGeometry();
    QVERIFY(screen.contains(f));
    QVERIFY(std::abs(f.center().x() - screen.center().x()) <= 1 && std::abs(f.center().y() - screen.center().y()) <= 1);
    // Eight direction names fit a movement box.
    for (int i = 0; i < kEditorMovementBoxes; ++i)
      QVERIFY(d.movement(i)->contentsRect().width() >
              d.movement(i)->fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestMovementList)));
    // The variant list leads the tab order; the help link is reached with
    // Tab and opened with Enter.
    QWidget* first = d.nextInFocusChain();
    while (first != &d && !(first->focusPolicy() & Qt::TabFocus)) first = first->nextInFocusChain();
    QCOMPARE(first, d.variantBox());
    QVERIFY(d.helpLink()->focusPolicy() & Qt::TabFocus);
    QVERIFY(!d.helpLink()->text().isEmpty());
    QTest::keyClick(d.helpLink(), Qt::Key_Return);
    QCOMPARE(opened, QStringList{d.helpLink()->text()});
    // A variant deleted after the list was made leaves the list.
    d.userOption()->click();
    QCOMPARE(d.variantBox()->count(), 2);
    QVERIFY(QFile::remove(dir.path() + "/variants/uservariants/B Gone.ini"));
    Choose(d, "B Gone");
    QCOMPARE(d.variantBox()->count(), 1);
    QCOMPARE(d.variantBox()->currentText(), QStringLiteral("A Good"));
    QVERIFY(boxes.messages.last().contains("B Gone"));
    d.reject();
  }

  void editorOnAScreenSmallerThanItScrolls() {
    // The editor asks for more room than the 800 x 600 screen has: it stays
    // on the screen, the buttons in view, and every frame scrolls into view.
    QTemporaryDir dir;
    CopyVariants(dir.path());
    Boxes boxes;
    auto w = Start(dir.path(), boxes, 15, [](MainWindowOptions& o) { o.availableGeometry = QRect(0, 0, 800, 600); });
    for (const bool user : {false, true}) {
      DlgVariants d(w->state(), w.get());
      d.OpenFor("American Checkers");
      if (user) d.userOption()->click();
      d.show();
      QVERIFY(QTest::qWaitForWindowExposed(&d, wait_test::kWaitMs));
      const QRect screen = w->availableArea();
      QVERIFY2(screen.contains(d.frameGeometry()),
               qPrintable(QString("%1x%2").arg(d.frameGeometry().width()).arg(d.frameGeometry().height())));
      auto* scroll = d.findChild<QScrollArea*>();
      QVERIFY(scroll);
      QVERIFY(scroll->widget()->sizeHint().width() > screen.width() ||
              scroll->widget()->sizeHint().height() > screen.height());
      for (const char* name : {"OKButton", "Variantsapply", "CancelButton"}) {
        auto* b = d.findChild<QPushButton*>(name);
        QCOMPARE(b->visibleRegion().boundingRect().size(), b->size());
      }
      // The scroll bars reach every part of the frames: the capture boxes,
      // the last movement box and the rules frame among them.
      QWidget* body = scroll->widget();
      QCOMPARE(scroll->horizontalScrollBar()->maximum(), std::max(0, body->width() - scroll->viewport()->width()));
      QCOMPARE(scroll->verticalScrollBar()->maximum(), std::max(0, body->height() - scroll->viewport()->height()));
      for (const char* name : {"Check18", "Check13", "Check30", "Text2_7", "Frame7"}) {
        auto* c = d.findChild<QWidget*>(name);
        QVERIFY2(c && c->isVisible(), name);
        QVERIFY2(body->rect().contains(QRect(c->mapTo(body, QPoint(0, 0)), c->size())), name);
      }
      d.findChild<QPushButton*>("CancelButton")->click();
      QVERIFY(!d.isVisible());
    }
  }

  void brokenUserVariantGivesAMessageAndChangesNothing() {
    QTemporaryDir dir;
    CopyVariants(dir.path());
    WriteFile(dir.path() + "/variants/uservariants/A Good.ini", "; good\r\nLongKings=1\r\nEND\r\n");
    WriteFile(dir.path() + "/variants/uservariants/Broken.ini", "; broken\r\nLongKings=0\r\n");
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Opt.Notation = 0;
    DlgVariants d(g, w.get());
    d.OpenFor("American Checkers");
    d.show();
    d.userOption()->click();  // the user folder: its first variant is read
    QCOMPARE(d.editor().ListedFolder(), 0);
    QCOMPARE(g.Opt.UseClassic, 1);  // the setting follows only a confirmed choice
    QCOMPARE(d.variantBox()->count(), 2);
    QCOMPARE(d.variantBox()->currentText(), QStringLiteral("A Good"));
    QCOMPARE(g.Rules.LongKings, 1);
    QVERIFY(d.check(kLongKingsBox)->isChecked());
    const RuleSet rules = g.Rules, variant = g.VariantRules;
    const Board board = g.board;
    Choose(d, "Broken");
    QCOMPARE(boxes.messages.size(), 1);
    QVERIFY(boxes.messages[0].startsWith("Error|"));
    QVERIFY(boxes.messages[0].contains("Broken.ini"));
    QVERIFY(boxes.messages[0].contains("END"));
    QCOMPARE(g.Rules, rules);
    QCOMPARE(g.VariantRules, variant);
    QCOMPARE(g.board, board);
    QCOMPARE(d.variantBox()->currentText(), QStringLiteral("A Good"));
    QVERIFY(d.check(kLongKingsBox)->isChecked());
    QVERIFY(d.isVisible());
    // Nothing was written into the variant folders.
    QCOMPARE(QDir(dir.path() + "/variants/uservariants").entryList(QDir::Files).size(), 2);
    d.classicOption()->click();
    QCOMPARE(g.Opt.UseClassic, 1);
    QCOMPARE(d.variantBox()->count(), 29);
  }
};

QTEST_MAIN(DlgVariantsTest)
#include "dlgvariants_test.moc"
