// The host, the menus and toolbar, and the comment box.
#include <QMenuBar>
#include <vector>

#include "app/window_fixture.h"

class CommandsTest : public QObject {
  Q_OBJECT
 private slots:
  // Every menu of a fresh start as the user sees it: the menus in order,
  // each entry's name, caption, shortcut and its enabled and checked state
  // (nothing to step through yet, no search to cancel).
  void menusAfterAColdStart() {
    struct Entry {
      const char* name;
      const char* caption;
      QKeySequence keys;
      bool enabled;
      bool checked;
    };
    struct Menu {
      const char* name;
      const char* caption;
      std::vector<Entry> entries;
    };
    const QKeySequence none;
    const std::vector<Menu> menus = {
        {"mnuGame",
         "&Game",
         {{"New1", "New Game", QKeySequence(Qt::CTRL | Qt::Key_N), true, false},
          {"NewVariant", "New Variant...", none, true, false},
          {"Open1", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O), true, false},
          {"Save", "Save...", QKeySequence(Qt::CTRL | Qt::Key_S), true, false},
          {"Details", "Details...", none, true, false},
          {"Exit", "Exit", none, true, false}}},
        {"mnuPlay",
         "&Play",
         {{"Compute", "Compute", none, true, false},
          {"mnu_Play_Cancel", "Cancel", none, false, false},
          {"First", "First", none, false, false},
          {"Moveback", "Back", QKeySequence(Qt::CTRL | Qt::Key_B), false, false},
          {"MoveForward", "Forward", QKeySequence(Qt::CTRL | Qt::Key_F), false, false},
          {"Last", "Last", none, false, false},
          {"Offerdraw", "Offer draw", none, true, false},
          {"Resign", "Resign", none, true, false},
          {"Hint", "Hint", QKeySequence(Qt::CTRL | Qt::Key_H), true, false},
          {"Cplayer", "Player-Computer", none, true, true},
          {"Pplayer", "Player-Player", none, true, false},
          {"mnu_Play_Ccomputer", "Computer-Computer", none, true, false},
          {"Options", "Options...", none, true, false},
          {"Analyze", "Analyze", none, true, false}}},
        {"mnu_Board1",
         "&Board",
         {{"Turn", "Turn Board", none, true, false},
          {"Notation1", "Notation", none, true, false},
          {"CreateHtml", "Create Diagram...", none, true, false}}},
        {"Notation1",
         "Notation",
         {{"Nonotation", "None", none, true, false},
          {"mnu_Board_Notation_Chess", "Algebraic", none, true, true},
          {"mnu_Board_Notation_Checkers", "Numeric", none, true, false}}},
        {"view",
         "&View",
         {{"calculation", "Calculation", none, true, true}, {"rating", "Rating...", none, true, false}}},
        {"extra",
         "&Extra",
         {{"plyvaluetable", "Show Ply Value Table", none, true, false},
          {"problems", "Problems/Combinations...", none, true, false}}},
        {"Help",
         "&Help",
         {{"QuickRules", "Quick Rules", QKeySequence(Qt::Key_F1), true, false},
          {"Rules", "Rules", none, true, false},
          {"mnu_Help_About", "About", none, true, false}}},
    };
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    QStringList bar;
    for (QAction* a : w->menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, (QStringList{"&Game", "&Play", "&Board", "&View", "&Extra", "&Help"}));
    QStringList wrong;  // every difference, not only the first
    for (const Menu& m : menus) {
      QMenu* menu = w->commands()->menu(m.name);
      QVERIFY2(menu, m.name);
      QCOMPARE(menu->title(), QString(m.caption));
      QVERIFY(menu->menuAction()->isEnabled());
      std::vector<QAction*> shown;
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) shown.push_back(a);
      QCOMPARE(shown.size(), m.entries.size());
      for (size_t i = 0; i < shown.size(); ++i) {
        const Entry& e = m.entries[i];
        QAction* a = shown[i];
        const QString where = QString(m.name) + "/" + e.name;
        const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
        if (name != e.name) wrong << where + " is " + name;
        if (a->text() != e.caption) wrong << where + " caption " + a->text();
        if (a->shortcut() != e.keys) wrong << where + " shortcut " + a->shortcut().toString();
        if (a->isEnabled() != e.enabled) wrong << where + (a->isEnabled() ? " enabled" : " disabled");
        if (a->isChecked() != e.checked) wrong << where + (a->isChecked() ? " checked" : " unchecked");
      }
    }
    // The toolbar: key, text and state of each of its 27 places.
    struct Button {
      const char* key;  // nullptr: a separator
      const char* text;
      bool enabled, checked;
    };
    const Button buttons[kToolbarButtons] = {
        {"New Game", "New Game", true, false},
        {"New Variant", "New Variant", true, false},
        {nullptr, nullptr, false, false},
        {"Open", "Open", true, false},
        {"Save", "Save", true, false},
        {nullptr, nullptr, false, false},
        {"Compute", "Compute", true, false},
        {"Cancel", "Cancel Computing", false, false},
        {nullptr, nullptr, false, false},
        {"First", "Back to First Move", false, false},
        {"Back", "Move Back", false, false},
        {"Forward", "Move Forward", false, false},
        {"Last", "Forward to Last Move", false, false},
        {nullptr, nullptr, false, false},
        {"Draw", "Offer Draw", true, false},
        {"Resign", "Resign", true, false},
        {"Hint", "Hint", true, false},
        {nullptr, nullptr, false, false},
        {"ComputerPlayer", "Computer-Player", true, true},
        {"PlayerPlayer", "Player-Player", true, false},
        {"ComputerComputer", "Computer-Computer", true, false},
        {nullptr, nullptr, false, false},
        {"Options", "Options", true, false},
        {nullptr, nullptr, false, false},
        {"Analyze", "Analyze", true, false},
        {nullptr, nullptr, false, false},
        {"TurnBoard", "Turn Board", true, false},
    };
    const QList<QAction*> places = w->commands()->toolBar()->actions();
    QCOMPARE(places.size(), kToolbarButtons);
    for (int i = 1; i <= kToolbarButtons; ++i) {
      const Button& b = buttons[i - 1];
      QAction* a = w->commands()->button(i);
      const QString where = QStringLiteral("button %1").arg(i);
      if (!b.key) {
        QVERIFY2(!a && places[i - 1]->isSeparator(), qPrintable(where));
        continue;
      }
      QVERIFY2(a == places[i - 1], qPrintable(where));
      if (a->data().toString() != b.key) wrong << where + " key " + a->data().toString();
      if (a->text() != b.text) wrong << where + " text " + a->text();
      if (a->isEnabled() != b.enabled) wrong << where + (a->isEnabled() ? " enabled" : " disabled");
      if (a->isChecked() != b.checked) wrong << where + (a->isChecked() ? " checked" : " unchecked");
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
  }

  void pumpLetsEventsThroughEveryFewMilliseconds() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    int delivered = 0;
    auto post = [&] { QMetaObject::invokeMethod(w.get(), [&] { ++delivered; }, Qt::QueuedConnection); };
    // The pump looks at the clock only every so many calls, as a search
    // calls it at every node.
    auto pumpBurst = [&] {
      for (unsigned i = 0; i < m8::PumpThrottle::kCallsPerCheck; ++i) w->host().pump();
    };
    QTest::qWait(10);
    post();
    w->host().pump();
    QCOMPARE(delivered, 0);
    pumpBurst();
    QCOMPARE(delivered, 1);
    const auto t = std::chrono::steady_clock::now();
    post();
    pumpBurst();
    if (std::chrono::steady_clock::now() - t < std::chrono::milliseconds(4)) QCOMPARE(delivered, 1);
    QTest::qWait(10);
    pumpBurst();
    QCOMPARE(delivered, 2);
  }

  void commentIsStoredAsTyped() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    w->show();
    w->commentBox()->setFocus();
    QTest::keyClicks(w->commentBox(), "Old Faithful");
    QCOMPARE(w->state().Game.PlyComments[0], std::string("Old Faithful"));  // the last key too
    w->state().Flow.CommentText = "after 9-14";
    w->host().refresh(View::Comment);
    QCOMPARE(w->commentBox()->toPlainText(), QStringLiteral("after 9-14"));
    QCOMPARE(w->state().Game.PlyComments[0], std::string("Old Faithful"));
  }

  void hostForwardsToTheWindow() {
    QTemporaryDir dir;
    Boxes boxes;
    auto w = Start(dir.path(), boxes);
    Host& h = w->host();
    h.status(2, "Opening: Old Faithful");
    QCOMPARE(w->statusPanel(2)->text(), QStringLiteral("Opening: Old Faithful"));
    h.progress(3, 10);
    QCOMPARE(w->progressBar()->value(), 3);
    QCOMPARE(w->progressBar()->maximum(), 10);
    h.setCommandChecked(Command::PlayerPlayer, true);
    QVERIFY(w->commands()->entry("Pplayer")->isChecked());
    QVERIFY(w->commands()->button(20)->isChecked());
    h.setCommandEnabled(Command::TurnBoard, false);
    QVERIFY(!w->commands()->entry("Turn")->isEnabled());
    QVERIFY(!w->commands()->button(27)->isEnabled());
    h.setCommandEnabled(Command::TurnBoard, true);
    QVERIFY(w->commands()->button(27)->isEnabled());
    // A connected command follows what the game asks.
    h.setCommandEnabled(Command::Compute, false);
    QVERIFY(!w->commands()->entry("Compute")->isEnabled());
    QVERIFY(!w->commands()->button(7)->isEnabled());
    h.setCommandEnabled(Command::Compute, true);
    QVERIFY(w->commands()->entry("Compute")->isEnabled());
    h.setCommandEnabled(Command::BoardMenu, false);
    QVERIFY(!w->commands()->menu("mnu_Board1")->menuAction()->isEnabled());
    h.playSound(Sound::Click);  // no sounds folder here: nothing plays, nothing fails
    w->state().Search.EngineOutputText = "D: 5";
    h.refresh(View::EngineOutput);
    QCOMPARE(w->engineOutputLabel()->text(), QStringLiteral("D: 5"));
    // The move lists show the texts the core keeps.
    GameState& g = w->state();
    g.Driver.MoveListLines[0] = " 1. 11-15";
    g.Driver.MoveListLines[1] = "    23-19";
    g.Driver.MoveListCount = 2;
    g.Driver.MoveListSelected = 1;
    h.refresh(View::MoveList);
    QCOMPARE(w->playedMoves()->count(), 2);
    QCOMPARE(w->playedMoves()->item(0)->text(), QStringLiteral(" 1. 11-15"));
    QCOMPARE(w->playedMoves()->currentRow(), 1);
    g.Driver.RootScoreLines = {"1115  12", "0913 -40"};
    h.refresh(View::RootScores);
    QCOMPARE(w->rootMoves()->count(), 2);
    g.Driver.LegalMoveLines = {"09-13b"};
    h.refresh(View::LegalMoves);
    QCOMPARE(w->legalMoves()->item(0)->text(), QStringLiteral("09-13b"));
    // Cancel and the calculation switch.
    w->cancelClick();
    QCOMPARE(w->state().P.StopRequest, 1);
    QVERIFY(!w->commands()->button(8)->isEnabled());
    w->calculationClick();
    QCOMPARE(w->engineOutputLabel()->text(), QStringLiteral("no calculation"));
    QVERIFY(!w->commands()->entry("calculation")->isChecked());
    // Menu entry and toolbar button run the same operation.
    const int turned = w->state().Opt.BoardTurned;
    w->commands()->button(27)->trigger();
    QCOMPARE(w->state().Opt.BoardTurned, 1 - turned);
    w->commands()->entry("Turn")->trigger();
    QCOMPARE(w->state().Opt.BoardTurned, turned);
    w->DisableMenusWhileThinking();
    QVERIFY(!w->commands()->menu("mnuGame")->menuAction()->isEnabled());
    QVERIFY(w->commands()->menu("extra")->menuAction()->isEnabled());
    QVERIFY(!w->commands()->toolBar()->isEnabled());
    w->EnableMenusAfterThinking();
    QVERIFY(w->commands()->menu("mnuGame")->menuAction()->isEnabled());
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
