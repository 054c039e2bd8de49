// The game details dialog, the About, rules and problem windows and the PDN
// game chooser.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

#include "app/dialogs/dlgdetails.h"
#include "app/dialogs/dlgpdn.h"
#include "app/dialogs/frmabout.h"
#include "app/dialogs/frmproblem.h"
#include "app/dialogs/frmrules.h"
#include "core/rules/variantfile.h"
#include "app/dialogs_fixture.h"
#include "app/window_fixture.h"

using namespace dialogs_test;

namespace {

std::vector<PdnChooserRow> ThreeGames() {
  return {{"Open 2004 3", {"2004.05.01", "Ann", "Bob", "1-0", "Leeds", "", "", "2100", "1990"}},
          {"Club", {"", "Cy", "Di", "*", "", "1", "", "", ""}},
          {"", {}}};
}

}  // namespace

class SmallDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void detailsDialogEditsTheGameHeader() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Header.GameEvent = "Open 2004";
    g.Header.GameSite = "Leeds";
    g.Header.GameDate = "2004.05.01";
    g.Header.GameBlack = "Ann";
    g.Header.GameWhite = "Bob";
    auto answer = WhenModal<DlgDetails>([](DlgDetails* d) {
      QCOMPARE(d->windowTitle(), QStringLiteral(" Game Details"));
      QCOMPARE(d->eventBox()->text(), QStringLiteral("Open 2004"));
      QCOMPARE(d->siteBox()->text(), QStringLiteral("Leeds"));
      QCOMPARE(d->dateBox()->text(), QStringLiteral("2004.05.01"));
      QCOMPARE(d->blackBox()->text(), QStringLiteral("Ann"));
      QCOMPARE(d->whiteBox()->text(), QStringLiteral("Bob"));
      d->siteBox()->setText(" York ");
      d->findChild<QPushButton*>("Command1")->click();  // Apply
      QVERIFY(d->isVisible());
      d->blackBox()->setText("Zoe");
      d->findChild<QPushButton*>("CancelButton")->click();
    });
    w->commands()->entry("Details")->trigger();
    QCOMPARE(g.Header.GameSite, std::string(" York "));  // applied values stay after Cancel
    QCOMPARE(g.Header.GameBlack, std::string("Ann"));
    answer = WhenModal<DlgDetails>([](DlgDetails* d) {
      QCOMPARE(d->siteBox()->text(), QStringLiteral(" York "));
      d->eventBox()->clear();
      d->whiteBox()->setText("Bo ");
      d->findChild<QPushButton*>("OKButton")->click();
    });
    w->commands()->entry("Details")->trigger();
    QCOMPARE(g.Header.GameEvent, std::string());
    QCOMPARE(g.Header.GameWhite, std::string("Bo "));
  }

  void aboutWindowTextsAndLinks() {
    FrmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral(" About"));
    QCOMPARE(about.titleLabel()->text(), QStringLiteral("Morventa8"));
    QCOMPARE(about.versionLabel()->text(), QStringLiteral("Version 1.58"));
    QVERIFY(!about.noticeLabel()->text().isEmpty());
    QVERIFY(!about.descriptionLabel()->text().isEmpty());
    QList<QUrl> opened;
    about.setLinkOpener([&](const QUrl& u) { opened << u; });
    QLabel* mail = about.mailLink();
    QLabel* web = about.webLink();
    PointerMove(mail);
    QVERIFY(Underlined(mail) && !Underlined(web));
    PointerMove(web);  // straight onto the other link
    QVERIFY(!Underlined(mail) && Underlined(web));
    PointerMove(about.linksFrame());
    QVERIFY(!Underlined(mail) && !Underlined(web));
    PointerMove(web);
    LeftClick(web);
    QVERIFY(!Underlined(web));  // until the pointer moves again
    LeftClick(mail);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].toString(), QString::fromLatin1(kProductPage));
    QCOMPARE(opened[1].scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened[1].path(), QString::fromLatin1(kMakerMail));
    PointerMove(mail);
    PointerMove(&about);
    QVERIFY(!Underlined(mail));
  }

  void aboutAndRulesFromTheMenus() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    bool seen = false;
    auto answer = WhenModal<FrmAbout>([&](FrmAbout* a) {
      seen = true;
      a->findChild<QPushButton*>("cmdOK")->click();
    });
    w->commands()->entry("mnu_Help_About")->trigger();
    QVERIFY(seen);
    seen = false;
    w->state().Variant.LoadedVariantName = "Pool Checkers";
    w->state().Variant.HelpLink.clear();
    w->state().Variant.QuickHelpLink.clear();
    answer = WhenModal<FrmRules>([&](FrmRules* r) {
      seen = true;
      QCOMPARE(r->windowTitle(), QStringLiteral(" Rules for Pool Checkers"));
      r->findChild<QPushButton*>("Command1")->click();
    });
    w->commands()->entry("Rules")->trigger();  // a variant without a help link
    QVERIFY(seen);
  }

  void rulesWindowTextAndLink() {
    GameState g;
    g.Variant.LoadedVariantName = "Pool Checkers";
    g.Variant.VariantHelp = "Men capture backwards.\r\nKings fly.";
    g.Variant.HelpLink = "https://en.wikipedia.org/wiki/Pool_checkers";
    {
      FrmRules r(g);
      QCOMPARE(r.windowTitle(), QStringLiteral(" Rules"));
      QCOMPARE(r.rulesText()->text(), QStringLiteral("Rules for Pool Checkers\n\nMen capture backwards.\nKings fly."));
      QCOMPARE(r.linkLabel()->text(), QString::fromStdString(g.Variant.HelpLink));
      QCOMPARE(r.linkLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 0xC0));
      QList<QUrl> opened;
      r.setLinkOpener([&](const QUrl& u) { opened << u; });
      PointerMove(r.linkLabel());
      QVERIFY(Underlined(r.linkLabel()));
      PointerMove(r.rulesText());
      QVERIFY(!Underlined(r.linkLabel()));
      PointerMove(r.linkLabel());
      LeftClick(r.linkLabel());
      QCOMPARE(opened.size(), 1);
      QCOMPARE(opened[0].toString(), QString::fromStdString(g.Variant.HelpLink));
      QVERIFY(!Underlined(r.linkLabel()));
    }
    // No help text; a link into the program's own site is not shown.
    g.Variant.VariantHelp.clear();
    g.Variant.HelpLink = "https://www.example.org/MORVENTA8/pool.html";
    FrmRules r(g);
    QCOMPARE(r.rulesText()->text(), QStringLiteral("No help available"));
    QCOMPARE(r.linkLabel()->text(), QString());
    QCOMPARE(r.linkLabel()->palette().color(QPalette::WindowText), QColor(Qt::black));
    QList<QUrl> opened;
    r.setLinkOpener([&](const QUrl& u) { opened << u; });
    LeftClick(r.linkLabel());
    QVERIFY(opened.isEmpty());
  }

  void rulesWindowShowsLatin1AndUtf8HelpTexts() {
    // A variant file written in Latin-1 and one in UTF-8 show the same
    // letters, with no replacement character.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("variants"));
    const std::pair<const char*, std::string> files[] = {
        {"Latin", "; t\r\nHelp=Dame \xe0 la fran\xe7" "aise.\r\nEND\r\n"},
        {"Utf8", "; t\r\nHelp=Dame \xc3\xa0 la fran\xc3\xa7" "aise.\r\nEND\r\n"},
    };
    for (const auto& [name, bytes] : files) {
      QFile f(dir.path() + "/variants/" + name + ".ini");
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes.data(), static_cast<qint64>(bytes.size()));
      f.close();
      GameState g;
      g.ProgramFolder = dir.path().toStdString();
      g.Rules.Variant = name;
      std::string error;
      QVERIFY2(ReadVariantFile(g, &error), error.c_str());
      FrmRules r(g);
      QCOMPARE(r.rulesText()->text(),
               QString("Rules for ") + name + QString::fromUtf8("\n\nDame \xc3\xa0 la fran\xc3\xa7" "aise."));
      QVERIFY(!r.rulesText()->text().contains(QChar(0xFFFD)));
    }
  }

  void rulesWindowWithALongTextStaysOnTheScreen() {
    GameState g;
    g.Variant.LoadedVariantName = "Pool Checkers";
    for (int i = 1; i <= 300; ++i) g.Variant.VariantHelp += "Rule " + std::to_string(i) + ": men move forward.\r\n";
    g.Variant.HelpLink = "https://en.wikipedia.org/wiki/Pool_checkers";
    FrmRules r(g);
    QList<QUrl> opened;
    r.setLinkOpener([&](const QUrl& u) { opened << u; });
    r.show();
    QVERIFY(QTest::qWaitForWindowExposed(&r, wait_test::kWaitMs));
    const QRect screen = r.screen()->availableGeometry();
    QVERIFY2(r.height() <= screen.height(), qPrintable(QString::number(r.height())));
    auto* ok = r.findChild<QPushButton*>("Command1");
    QVERIFY(ok->visibleRegion().boundingRect().size() == ok->size());
    // The text scrolls; the link is reached with the keyboard too.
    auto* scroll = r.findChild<QScrollArea*>();
    QVERIFY(scroll);
    QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
    QVERIFY(r.linkLabel()->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(r.linkLabel(), Qt::Key_Space);
    QCOMPARE(opened.size(), 1);
  }

  void problemWindowFollowsTheProblemText() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    GameState& g = w->state();
    g.Driver.ProblemText = "12-16 wins a man\r\n";
    w->host().refresh(View::ProblemText);
    auto* p = w->findChild<FrmProblem*>("frmProblem");
    QVERIFY(p);
    QVERIFY(!p->isVisible());  // the text is written, the window not shown
    QCOMPARE(p->windowTitle(), QStringLiteral("Problems/Combinations"));
    QCOMPARE(p->problemText()->toPlainText(), QStringLiteral("12-16 wins a man\n"));
    QVERIFY(w->commands()->entry("problems")->isEnabled());
    w->commands()->entry("problems")->trigger();
    QVERIFY(p->isVisible());
    g.Driver.ProblemText += "9-13 loses\r\n";
    w->host().refresh(View::ProblemText);
    QCOMPARE(p->problemText()->toPlainText(), QStringLiteral("12-16 wins a man\n9-13 loses\n"));
    p->okButton()->click();
    QVERIFY(!p->isVisible());
  }

  void problemWindowOpensOverTheMainWindowAndEscapeClosesIt() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), wait_test::kWaitMs));
    w->move(w->screen()->availableGeometry().topLeft() + QPoint(40, 30));
    w->commands()->entry("problems")->trigger();
    auto* p = w->findChild<FrmProblem*>("frmProblem");
    QVERIFY(p && p->isVisible());
    const QPoint off = p->frameGeometry().center() - w->frameGeometry().center();
    QVERIFY2(std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2, qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
    // Before any search has found a combination the box says what it will
    // hold.
    QVERIFY(p->problemText()->toPlainText().isEmpty());
    QVERIFY(p->problemText()->placeholderText().contains("No combinations found yet."));
    QTest::keyClick(p->problemText(), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
  }

  void pdnChooserListsTheGamesAndReturnsTheChoice() {
    DlgPdn d;
    QCOMPARE(d.windowTitle(), QStringLiteral(" Open PDN game"));
    d.setRows(ThreeGames());
    d.setVariants({"American Checkers", "Pool Checkers"});
    QTreeWidget* list = d.gamesList();
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->columnCount(), 10);
    QCOMPARE(list->headerItem()->text(9), QStringLiteral("WhiteElo"));
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Open 2004 3"));
    QCOMPARE(list->topLevelItem(0)->text(5), QStringLiteral("Leeds"));
    QCOMPARE(list->topLevelItem(1)->text(6), QStringLiteral("1"));
    QCOMPARE(d.openAsBox()->count(), 3);
    QCOMPARE(d.openAsBox()->itemText(0), QStringLiteral("DEFAULT"));
    list->setCurrentItem(list->topLevelItem(1));
    d.openAsBox()->setCurrentIndex(2);
    d.findChild<QPushButton*>("OKButton")->click();
    QCOMPARE(d.choice().ChosenGame, 2);
    QCOMPARE(d.choice().OpenAsIndex, 2);
    QCOMPARE(d.choice().OpenAsName, std::string("Pool Checkers"));

    // "DEFAULT" keeps the variant; Cancel, the close box and OK without a
    // row choose nothing.
    {
      DlgPdn e;
      e.setRows(ThreeGames());
      e.setVariants({});
      e.gamesList()->setCurrentItem(e.gamesList()->topLevelItem(2));
      e.findChild<QPushButton*>("OKButton")->click();
      QCOMPARE(e.choice().ChosenGame, 3);
      QCOMPARE(e.choice().OpenAsIndex, 0);
      QCOMPARE(e.choice().OpenAsName, std::string());
    }
    for (const char* how : {"Cancel", "close", "no row"}) {
      DlgPdn e;
      e.setRows(ThreeGames());
      e.show();
      if (QString(how) == "Cancel") e.findChild<QPushButton*>("CancelButton")->click();
      if (QString(how) == "close") e.close();
      if (QString(how) == "no row") {
        e.gamesList()->clearSelection();
        e.findChild<QPushButton*>("OKButton")->click();
      }
      QVERIFY(!e.isVisible());
      QCOMPARE(e.choice().ChosenGame, -1);
    }
  }

  void pdnChooserForTheGameLoader() {
    // The loader's chooser: the games of a PDN file and the variant folder.
    QTemporaryDir dir;
    WriteFile(dir.path() + "/variants/uservariants/Mine.ini", "END\r\n");
    GameState g;
    g.ProgramFolder = dir.path().toStdString();
    g.Opt.UseClassic = 0;
    PdnFile file;
    FileProblem problem;
    const std::string pdn =
        "[Event \"Open 2004\"]\r\n[Round \"3\"]\r\n[White \"Bob\"]\r\n\r\n1. 11-15 23-19 *\r\n\r\n"
        "[Event \"Club\"]\r\n[Black \"Cy\"]\r\n\r\n1. 9-14 22-18 *\r\n";
    QVERIFY(ReadPdnFile(pdn, "games.pdn", file, problem));
    QCOMPARE(file.games.size(), size_t(2));
    auto answer = WhenModal<DlgPdn>([](DlgPdn* c) {
      QCOMPARE(c->windowTitle(), QStringLiteral(" Choose Opening"));
      QCOMPARE(c->gamesList()->topLevelItem(0)->text(0), QStringLiteral("Open 2004 3"));
      QCOMPARE(c->gamesList()->topLevelItem(0)->text(3), QStringLiteral("Bob"));
      QCOMPARE(c->gamesList()->topLevelItem(1)->text(2), QStringLiteral("Cy"));
      QCOMPARE(c->openAsBox()->count(), 2);  // "DEFAULT" and the user variant
      c->gamesList()->setCurrentItem(c->gamesList()->topLevelItem(1));
      c->openAsBox()->setCurrentIndex(1);
      c->findChild<QPushButton*>("OKButton")->click();
    });
    std::string openAs = "?";
    QCOMPARE(MakePdnChooser(nullptr, g)(file, true, &openAs), 2);
    QCOMPARE(openAs, std::string("Mine"));
    answer = WhenModal<DlgPdn>([](DlgPdn* c) {
      QCOMPARE(c->windowTitle(), QStringLiteral(" Open PDN game"));
      c->findChild<QPushButton*>("CancelButton")->click();
    });
    QCOMPARE(MakePdnChooser(nullptr, g)(file, false, &openAs), -1);
    QCOMPARE(openAs, std::string());
  }
};

QTEST_MAIN(SmallDialogsTest)
#include "smalldialogs_test.moc"
