#include "app/mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <system_error>
#include <utility>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#include "app/dialogs/dialogwiring.h"
#include "app/dialogs/dlgvariants.h"
#include "app/mainwindow/boardview.h"
#include "app/mainwindow/commands.h"
#include "app/mainwindow/labelfit.h"
#include "app/mainwindow/movelistfit.h"
#include "app/objectnames.h"
#include "app/sessionend.h"
#include "core/files/gamefile.h"
#include "core/files/gamelog.h"
#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/files/skin.h"
#include "core/game/startup.h"
#include "core/game/variantname.h"
#include "core/version.h"

namespace m8 {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString DefaultCaption() { return Q(WindowCaption()); }

// The shipped folders and files, read from the program folder. Earlier
// versions linked them into the user's data folder; such links dangle once the
// program folder moves and are taken away.
constexpr const char* kDataEntries[] = {"variants", "skins", "Skins", "books", "sounds", "pieces", "opening.pdn"};
// The files the program writes there, each read back at the next start.
constexpr const char* kUserFiles[] = {kSettingsFileName, kRatingFileName, kAutosaveFileName, kLogFileName};
// An install leaves the list of the files it installed in the program folder
// (cmake/install.cmake): the folder is then shared by every user of the
// machine and never holds a user's files, root's neither.
constexpr const char* kInstallList = "install_manifest.txt";

// Whether the user running the program owns the file or folder (a link: what
// it names).
bool OwnedByThisUser(const QFileInfo& file) {
#if defined(Q_OS_UNIX)
  return file.ownerId() == ::geteuid();
#else
  Q_UNUSED(file);
  return true;
#endif
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : MainWindow(MainWindowOptions{}, parent) {}

MainWindow::MainWindow(const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent), state_(std::make_unique<GameState>()), options_(options) {
  host_ = std::make_unique<QtHost>(*this);
  host_->setBoxHooks(options_.boxes);
  if (options_.monotonicClock) host_->setClock(options_.monotonicClock);
  state_->host = host_.get();
  setWindowTitle(DefaultCaption());
  setWindowIcon(ProgramIcon());
  buildControls();
  connectCommands();
  // From here on a signal or the session's end is heard, also while a
  // start-up box waits.
  if (options_.handleSessionEnd) new SessionEnd([this] { endSession(); }, this);
  starting_ = true;
  startUp();
  starting_ = false;
  // The session ended during start-up: the program ends as soon as the game
  // and the settings are in place, so that what is saved is what was read.
  if (endPending_ && !fatal_) finishProgram();
  // The display's end stops the event loop without a return: the game is
  // saved from the exit handlers.
  if (options_.handleSessionEnd && !finished_ && !fatal_)
    exitSave_ = std::make_unique<ExitSave>([this] { endWithoutDisplay(); });
}

MainWindow::~MainWindow() {
  exitSave_.reset();
  // The child widgets outlive the members: nothing they signal may reach the
  // game state, and the core must not reach a half-destroyed window.
  commentBox_->blockSignals(true);
  surface_->blockSignals(true);
  state_->host = nullptr;
}

// ---------------------------------------------------------------------------
// Controls

void MainWindow::buildControls() {
  surface_ = new FormSurface(this);
  setCentralWidget(surface_);

  toolBar_ = new QToolBar(surface_);
  toolBar_->setObjectName(objectnames::kToolBar);
  toolBar_->setIconSize(QSize(20, 20));
  toolBar_->setMovable(false);
  commands_ = new CommandSurface(menuBar(), toolBar_, this);

  board_ = new BoardView(pictures_, surface_);

  QFont small(QStringLiteral("MS Sans Serif"));
  small.setStyleHint(QFont::SansSerif);
  small.setPointSizeF(7.8);
  // The labels, in the order the form creates them.
  const std::pair<QLabel* MainWindow::*, const char*> labels[] = {
      {&MainWindow::topNameLabel_, objectnames::kTopNameLabel},
      {&MainWindow::bottomNameLabel_, objectnames::kBottomNameLabel},
      {&MainWindow::topSideLabel_, objectnames::kTopSideLabel},
      {&MainWindow::bottomSideLabel_, objectnames::kBottomSideLabel},
      {&MainWindow::topCountLabel_, objectnames::kTopCountLabel},
      {&MainWindow::bottomCountLabel_, objectnames::kBottomCountLabel},
      {&MainWindow::strengthLabel_, objectnames::kStrengthLabel},
      {&MainWindow::variantNameLabel_, objectnames::kVariantNameLabel},
      {&MainWindow::engineOutputLabel_, objectnames::kEngineOutputLabel},
      {&MainWindow::extraPiecesLabel_, objectnames::kExtraPiecesLabel},
      {&MainWindow::extraBlackLabel_, objectnames::kExtraBlackLabel},
      {&MainWindow::extraBlackCountLabel_, objectnames::kExtraBlackCountLabel},
      {&MainWindow::extraWhiteLabel_, objectnames::kExtraWhiteLabel},
      {&MainWindow::extraWhiteCountLabel_, objectnames::kExtraWhiteCountLabel},
  };
  for (const auto& [member, name] : labels) {
    QLabel* l = new QLabel(surface_);
    l->setObjectName(name);
    l->setFont(small);
    this->*member = l;
  }
  QFont names = small;
  names.setPointSizeF(9.6);
  topNameLabel_->setFont(names);
  bottomNameLabel_->setFont(names);
  topNameLabel_->setAutoFillBackground(true);
  bottomNameLabel_->setAutoFillBackground(true);
  QFont bold = small;
  bold.setBold(true);
  variantNameLabel_->setFont(bold);
  topSideLabel_->setText("Black");
  bottomSideLabel_->setText("White");
  strengthLabel_->setText("Depth:");
  extraPiecesLabel_->setText("Extra Pieces:");
  extraBlackLabel_->setText("Black");
  extraWhiteLabel_->setText("White");
  engineOutputLabel_->setWordWrap(true);
  engineOutputLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  const QFont listFont = MoveListFont();
  const std::pair<QListWidget* MainWindow::*, const char*> lists[] = {
      {&MainWindow::playedMoves_, objectnames::kPlayedMoves},
      {&MainWindow::legalMoves_, objectnames::kLegalMoves},
      {&MainWindow::rootMoves_, objectnames::kRootMoves},
  };
  for (const auto& [member, name] : lists) {
    auto* l = new QListWidget(surface_);
    l->setObjectName(name);
    l->setFont(listFont);
    // The lists scroll up and down only: a line too long for the column goes
    // on in the next line (FitMoveList); its tool tip shows it whole too.
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setTextElideMode(Qt::ElideRight);
    this->*member = l;
  }
  moveBox_ = new QLineEdit(surface_);
  moveBox_->setObjectName(objectnames::kMoveBox);
  playMoveButton_ = new QPushButton(QStringLiteral("Move"), surface_);
  playMoveButton_->setObjectName(objectnames::kPlayMoveButton);
  playMoveButton_->setFont(small);
  commentBox_ = new QPlainTextEdit(surface_);
  commentBox_->setObjectName(objectnames::kCommentBox);
  connect(commentBox_, &QPlainTextEdit::textChanged, this, [this] {
    // The comment of the shown position, kept as it is typed.
    const int ply = std::clamp(state_->P.GamePly, 0, kMaxGamePly);
    state_->Flow.CommentText = commentBox_->toPlainText().toStdString();
    state_->Game.PlyComments[ply] = state_->Flow.CommentText;
  });

  emblemPicture_ = new QLabel(surface_);
  emblemPicture_->setObjectName(objectnames::kEmblemPicture);
  emblemPicture_->setPixmap(pictures_.at(11));
  emblemPicture_->setFrameShape(QFrame::Box);
  emblemPicture_->setLineWidth(1);
  emblemPicture_->setFixedSize(82, 84);

  progress_ = new QProgressBar(surface_);
  progress_->setObjectName(objectnames::kProgress);
  progress_->setTextVisible(false);
  progress_->setValue(0);

  // The status texts take the room the other two leave: the notice of a
  // board shown smaller and the opening's name each take the width of their
  // text, so that they read whole (and nothing when they are empty).
  for (int n = 0; n < 3; ++n) {
    panels_[n] = new QLabel(this);
    panels_[n]->setObjectName(QString::fromLatin1(objectnames::kStatusPanel).arg(n + 1));
    statusBar()->addWidget(panels_[n], n == 0 ? 1 : 0);
  }
  // The status texts take what is left whatever their length: a longer one
  // ends at a whole word, its tool tip telling it whole.
  panels_[0]->setSizePolicy(QSizePolicy::Ignored, panels_[0]->sizePolicy().verticalPolicy());
  KeepFitted(panels_[0]);
  statusBar()->setSizeGripEnabled(false);

  // Design positions, in force until the first arrangement.
  placeControl(topNameLabel_, 6000, 568, 1455, 255);
  placeControl(bottomNameLabel_, 6000, 820, 1455, 255);
  placeControl(topSideLabel_, 5400, 600, 495, 255);
  placeControl(bottomSideLabel_, 5400, 838, 495, 255);
  placeControl(topCountLabel_, 7560, 600, 375, 255);
  placeControl(bottomCountLabel_, 7560, 855, 375, 255);
  placeControl(strengthLabel_, 8400, 838, 2055, 255);
  placeControl(variantNameLabel_, 8160, 583, 2535, 255);
  placeControl(engineOutputLabel_, 240, 5595, 4815, 600);
  placeControl(extraPiecesLabel_, 5400, 5160, 972, 252);
  placeControl(extraBlackLabel_, 6480, 5160, 495, 252);
  placeControl(extraBlackCountLabel_, 6960, 5160, 375, 252);
  placeControl(extraWhiteLabel_, 7440, 5160, 495, 252);
  placeControl(extraWhiteCountLabel_, 7920, 5160, 375, 252);
  placeControl(playedMoves_, 5400, 1320, 1935, 312);
  placeControl(legalMoves_, 7560, 1320, 1095, 312);
  placeControl(rootMoves_, 8880, 1320, 1695, 312);
  placeControl(commentBox_, 5400, 5475, 3615, 855);
  placeControl(moveBox_, 5400, 6480, 2772, 285);
  placeControl(playMoveButton_, 8280, 6480, 732, 252);
  placeControl(progress_, 480, 6516, 4284, 288);
  std::array<QRect, 64> rects;
  for (int k = 0; k < 64; ++k)
    rects[k] = QRect(px(kDesignX0 + kDesignSquarePitch * (k % 8)), px(kDesignY0 + kDesignSquarePitch * (k / 8)),
                     px(kDesignSquareSize), px(kDesignSquareSize));
  board_->setSquareRects(rects);

  connect(surface_, &FormSurface::mouseMovedOutsideControls, this, [this] {
    // The next pointer movement over the board marks the movable pieces again.
    if (state_->Opt.ShowMoves == 1) state_->BoardShown.MovesHighlighted = 0;
  });
}

void MainWindow::placeControl(QWidget* w, int left, int top, int width, int height) {
  w->setProperty("twips", QRect(left, top, width, height));
  w->setGeometry(px(left), px(top), px(width), px(height));
}

void MainWindow::connectCommands() {
  commands_->setHandler(objectnames::kExitEntry, "", [this] { onExitRequested(); });
  commands_->setHandler(objectnames::kCancelEntry, "Cancel", [this] { cancelClick(); });
  commands_->setHandler(objectnames::kTurnBoardEntry, "TurnBoard", [this] { TurnBoard(); });
  commands_->setHandler(objectnames::kNumericEntry, "", [this] { setNotation(1); });
  commands_->setHandler(objectnames::kAlgebraicEntry, "", [this] { setNotation(0); });
  commands_->setHandler(objectnames::kNoNotationEntry, "", [this] { setNotation(2); });
  commands_->setHandler(objectnames::kCalculationEntry, "", [this] { calculationClick(); });
  connectFileCommands();
  ConnectDialogs(*this);
  connectGameFlow();
  connectMoveInput();
  WireRulesEditor(*this);
  commands_->setHandler(objectnames::kRatingEntry, "", [this] {
    host_->message(Icon::Exclamation, kRatingTitle, RatingClickText(*state_));
  });
}

// ---------------------------------------------------------------------------
// Start-up

bool MainWindow::folderWritable(const QString& folder) const {
  if (options_.folderWritable) return options_.folderWritable(folder);
  // Another user's folder is shared even where this user may write: one
  // user's files would reach the next. A folder marked read-only for its
  // owner is read-only for everyone: root could still create a file there.
  const QFileInfo info(folder);
  if (!OwnedByThisUser(info) || !info.permission(QFile::WriteOwner)) return false;
  QTemporaryFile probe(folder + "/.m8-write-test-XXXXXX");
  return probe.open();
}

void MainWindow::chooseWritableFolder(const QString& exeFolder) {
  // The shipped data is always read where the program stands now.
  state_->ProgramFolder = exeFolder.toStdString();
  state_->UserFolder.clear();
  state_->UserFilesNotKept = false;
  const bool installed = QFileInfo::exists(exeFolder + "/" + kInstallList);
  if (!installed && folderWritable(exeFolder)) return;
  // An installed program, a read-only program folder or another user's: the
  // user's own files (and the user's variants) are kept in the user's data
  // folder.
  QString data = options_.userDataFolder.isEmpty()
                     ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                     : options_.userDataFolder;
  if (data.isEmpty()) data = QDir::homePath() + "/.local/share/Morventa8";
  const QString shared = "The program folder \"" + exeFolder + "\" " +
                         (installed ? "is shared by the users of this install." : "is read-only or another user's.");
  std::error_code made;
  std::filesystem::create_directories(QFile::encodeName(data).toStdString(), made);
  if (made || !QFileInfo(data).isDir()) {
    // Whoever runs the program, root too, gets no file of the user's in the
    // program folder: none is kept this time, and the user is told so.
    state_->UserFolder = data.toStdString();
    state_->UserFilesNotKept = true;
    host_->message(Icon::Exclamation, "Morventa8",
                   (shared + " Your data folder \"" + data + "\" cannot be made" +
                    (made ? ": " + QString::fromStdString(made.message()) : QString()) +
                    ".\r\nSettings, rating, log and the saved game are not kept this time.")
                       .toStdString());
    return;
  }
  for (const char* name : kDataEntries) {
    const QFileInfo entry(data + "/" + name);
    if (entry.isSymLink()) QFile::remove(entry.filePath());  // the link only, never what it names
  }
  QDir().mkpath(data + "/variants/uservariants");
  state_->UserFolder = data.toStdString();
  redirectedFolder_ = data;
  // The first start with this data folder takes over the user's own files
  // from the program folder and says so; later starts simply use the data
  // folder. Files of another user (left there by root, say) stay where they
  // are.
  if (QFileInfo::exists(data + "/" + kSettingsFileName)) return;
  QStringList taken, othersFiles;
  for (const char* name : kUserFiles) {
    const QString from = exeFolder + "/" + name, to = data + "/" + name;
    const QFileInfo source(from);
    if (!source.isFile() || QFileInfo::exists(to)) continue;
    if (!OwnedByThisUser(source)) {
      othersFiles << name;
      continue;
    }
    if (!QFile::copy(from, to)) continue;
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    taken << name;
  }
  QString text = shared + " Settings, rating, log and the saved game are kept in \"" + data + "\", your own variants in \"" + data +
                 "/variants/uservariants\".";
  if (!taken.isEmpty()) text += "\r\nTaken over from the program folder: " + taken.join(", ") + ".";
  if (!othersFiles.isEmpty()) text += "\r\nLeft in the program folder as another user's: " + othersFiles.join(", ") + ".";
  host_->message(Icon::Information, "Morventa8", text.toStdString());
}

void MainWindow::startUp() {
  GameState& g = *state_;
  // Twips per pixel of this screen, fixed for the run.
  tpp_ = options_.twipsPerPixel > 0 ? options_.twipsPerPixel
                                    : TwipsPerPixelFromDpi(screen() ? screen()->logicalDotsPerInchX() : 96.0);
  surface_->setTwipsPerPixel(tpp_);

  chooseWritableFolder(options_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                        : options_.programFolder);
  if (fatal_) return;

  // Rating, settings (or a fresh settings file), corrections, skin file, log.
  const StartupResult files = StartupReadFiles(g);
  if (fatal_) return;

  applyPlayModeMarks();
  applyNotationMarks();
  commands_->setEntryChecked(objectnames::kCalculationEntry, g.Opt.ShowCalculation != 0);
  // A skin picture that cannot be decoded falls back to the built-in board.
  if (g.Opt.BoardSizeCode == 4) loadSkinPictures(files.skinMissingPictures);
  g.Skin.StatusPanel = 1;

  startGame();
  if (fatal_) return;
  applyNotationMarks();  // a board with every square in play shows letters
  ArrangeLayout();
  setStatusText(g.Skin.StatusPanel, g.P.SideToMove == -1 ? "Black moves" : "White moves");
  DrawBoard(0);
  if (g.Opt.ChooseOpening == 1) LoadGameCommand(1);  // a random opening of "opening.pdn"
  strengthLabel_->setText(Q(StrengthLine(g)));
  applyStartPositionRules();
  ResumeAutosave();
}

void MainWindow::applyPlayModeMarks() {
  const int mode = state_->Opt.PlayMode;
  commands_->setEntryChecked(objectnames::kComputerPlayerEntry, mode == 0);
  commands_->setEntryChecked(objectnames::kPlayerPlayerEntry, mode == 1);
  commands_->setEntryChecked(objectnames::kComputerComputerEntry, mode != 0 && mode != 1);
  commands_->setButtonPressed(19, mode == 0);
  commands_->setButtonPressed(20, mode == 1);
  commands_->setButtonPressed(21, mode != 0 && mode != 1);
  if (mode != 0) {
    commands_->setEntryEnabled(objectnames::kOfferDrawEntry, false);
    commands_->setButtonEnabled(15, false);
    commands_->setEntryEnabled(objectnames::kResignEntry, false);
    commands_->setButtonEnabled(16, false);
    if (mode != 1) {
      commands_->setEntryEnabled(objectnames::kHintEntry, false);
      commands_->setButtonEnabled(17, false);
    }
  }
}

void MainWindow::applyNotationMarks() {
  const int n = state_->Opt.Notation;
  commands_->setEntryChecked(objectnames::kAlgebraicEntry, n == 0);
  commands_->setEntryChecked(objectnames::kNumericEntry, n == 1);
  commands_->setEntryChecked(objectnames::kNoNotationEntry, n != 0 && n != 1);
}

bool MainWindow::loadSkinPictures(const std::string& missingPictures) {
  static constexpr int kIndex[kSkinPictures] = {46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 57, 58, 59, 60};
  GameState& g = *state_;
  // A picture the skin does not name comes from the built-in set of its size.
  const int size = g.Skin.BoardCustomSize;
  const PieceStyle builtin = size == 0 ? PieceStyle::Small : size == 1 ? PieceStyle::Big : PieceStyle::Medium;
  for (int k = 0; k < kSkinPictures; ++k) {
    const std::string& path = g.Skin.Pictures[k];
    if (path.empty()) {
      pictures_.setCustom(kIndex[k], pictures_.at(BuiltinTwin(kIndex[k], builtin)));
      continue;
    }
    QPixmap pm;
    if (!pm.load(Q(path))) {
      SkinFallback(g, "The picture \"" + path + "\" of the skin \"" + g.Opt.SkinName + "\" cannot be read.");
      return false;
    }
    pictures_.setCustom(kIndex[k], pm);
  }
  if (!missingPictures.empty()) host_->message(Icon::Exclamation, "Error", missingPictures);
  return true;
}

void MainWindow::ReloadSkin() {
  GameState& g = *state_;
  std::string missing;
  // The skin's own size is tried again on this screen.
  sizeNotice_.clear();
  sizeNoticeDetail_.clear();
  if (LoadSkin(g, &missing) && g.Opt.BoardSizeCode == 4) loadSkinPictures(missing);
  clearDrawing();
  ArrangeLayout();
  DrawBoard(0);
}

// ---------------------------------------------------------------------------
// Program end

bool MainWindow::confirmExit() {
  if (state_->Opt.ConfirmExit != 1) return true;
  // A search waiting behind the question does not lose its time to it.
  return host_->askWithClockHeld([this] { return host_->askYesNo("Confirmation", "Are you sure you want to exit?"); });
}

void MainWindow::onExitRequested() {
  if (finished_) return;
  if (!confirmExit()) return;
  if (state_->Flow.Busy == 1) {
    finishCloseAfterSearch();
    return;
  }
  finishProgram();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (finished_ || fatal_) {
    e->accept();
    return;
  }
  if (closePending_ || !confirmExit()) {
    e->ignore();
    return;
  }
  if (state_->Flow.Busy == 1) {
    e->ignore();
    finishCloseAfterSearch();
    return;
  }
  finishProgram();
  e->accept();
}

void MainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  QTimer::singleShot(0, this, [this] { fitOuterSize(); });
}

void MainWindow::endSession() {
  if (finished_ || fatal_) return;
  // Nobody is there to answer: what would be a box from now on goes to the
  // log and to stderr, and an open box or dialog is closed as Escape closes
  // it (the exit question then says No, and the search below it can return).
  becomeUnattended();
  for (int i = 0; i < 16; ++i) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->close()) break;
  }
  if (starting_) {
    endPending_ = true;
    return;
  }
  if (state_->Flow.Busy == 1) {
    finishCloseAfterSearch();
    return;
  }
  finishProgram();
}

void MainWindow::becomeUnattended() {
  if (!host_->unattended())
    host_->setUnattended([this](const std::string& line) { AppendLog(*state_, line + "\r\n"); });
}

void MainWindow::endWithoutDisplay() {
  if (finished_ || fatal_) return;
  finished_ = true;
  // A search may be running below: its move was never shown and is not
  // played; the game on the board is saved, as a session end saves it.
  becomeUnattended();
  saveAtEnd();
  End1();
}

void MainWindow::finishCloseAfterSearch() {
  // The search pumps events; it is asked to stop and the window closes once
  // it has returned to the event loop. The move it was searching is never
  // shown, so it is not played: what is saved is the game on the board.
  if (closePending_) return;
  closePending_ = true;
  state_->Flow.Closing = 1;
  state_->P.StopRequest = 1;
  auto* poll = new QTimer(this);
  connect(poll, &QTimer::timeout, this, [this, poll] {
    if (state_->Flow.Busy == 1) {
      state_->P.StopRequest = 1;
      return;
    }
    poll->stop();
    poll->deleteLater();
    finishProgram();
  });
  poll->start(20);
}

void MainWindow::finishProgram() {
  if (finished_) return;
  finished_ = true;
  const bool saved = saveAtEnd();
  // Unattended, the exit code is the only report besides stderr and the log.
  if (host_->unattended() && !saved) exitCode_ = 1;
  End1();
  close();
  // Only a running event loop is ended: ended outside one (start-up, the
  // tests), exit() would end the next modal dialog at once.
  if (exitCode_ == 0)
    QCoreApplication::quit();
  else if (QThread::currentThread()->loopLevel() > 0)
    QCoreApplication::exit(exitCode_);
}

bool MainWindow::saveAtEnd() {
  const bool gameSaved = SaveAutosaveAtExit();
  const bool settingsSaved = SaveAtExit(*state_);
  return gameSaved && settingsSaved;
}

void MainWindow::End1() {
  // The dialogs are closed with the window; the log is appended line by line
  // and holds no open handle.
  state_->Log.Enabled = false;
}

void MainWindow::endAfterFatalError() {
  if (fatal_) return;
  fatal_ = true;
  End1();
  if (!isVisible() && !finished_) {
    startupFailed_ = true;  // main() does not show the window
    return;
  }
  close();
  QCoreApplication::exit(1);
}

// ---------------------------------------------------------------------------
// What the host forwards

void MainWindow::setStatusText(int panel, const QString& text) {
  if (panel == 1)
    SetFittedText(panels_[0], text);
  else if (panel >= 2 && panel <= 3)
    panels_[panel - 1]->setText(text);
}

void MainWindow::setProgress(int value, int maximum) {
  progress_->setMaximum(std::max(0, maximum));
  progress_->setValue(std::clamp(value, 0, std::max(0, maximum)));
}

void MainWindow::setCommandEnabled(Command c, bool enabled) {
  switch (c) {
    case Command::BoardMenu:
      if (QMenu* m = commands_->menu(objectnames::kBoardMenu)) m->menuAction()->setEnabled(enabled);
      return;
    case Command::MoveList: playedMoves_->setEnabled(enabled); return;
    case Command::LegalMoves: legalMoves_->setEnabled(enabled); return;
    case Command::RootScores: rootMoves_->setEnabled(enabled); return;
    case Command::MoveEntry:
      // The comment box goes with the move box: while the computer thinks
      // the shown ply changes under it, and a comment typed then would land
      // on a ply the user never meant.
      moveBox_->setEnabled(enabled);
      playMoveButton_->setEnabled(enabled);
      commentBox_->setEnabled(enabled);
      return;
    default: break;
  }
  const QString entry = CommandSurface::EntryOf(c);
  if (!entry.isEmpty()) commands_->setEntryEnabled(entry, enabled);
  const int b = CommandSurface::ButtonOf(c);
  if (b > 0) commands_->setButtonEnabled(b, enabled);
}

void MainWindow::setCommandChecked(Command c, bool checked) {
  const QString entry = CommandSurface::EntryOf(c);
  if (!entry.isEmpty()) commands_->setEntryChecked(entry, checked);
  const int b = CommandSurface::ButtonOf(c);
  if (b > 0) commands_->setButtonPressed(b, checked);
}

void MainWindow::refreshView(View v) {
  GameState& g = *state_;
  switch (v) {
    case View::Board: DrawBoard(0); break;
    case View::SideToMove: ShowSideToMove(); break;
    case View::Caption:
      setWindowTitle(g.Flow.Caption.empty() ? DefaultCaption() : Q(g.Flow.Caption));
      break;
    case View::VariantName: variantNameLabel_->setText(Q(VariantNameText(g))); break;
    case View::Strength: strengthLabel_->setText(Q(StrengthLine(g))); break;
    case View::EngineOutput: SetFittedText(engineOutputLabel_, Q(g.Search.EngineOutputText)); break;
    case View::Comment: {
      const QSignalBlocker block(commentBox_);
      commentBox_->setPlainText(Q(g.Flow.CommentText));
      break;
    }
    case View::MoveList: {
      const QSignalBlocker block(playedMoves_);
      playedMoves_->clear();
      const int n = std::clamp(g.Driver.MoveListCount, 0, kGameTables);
      for (int i = 0; i < n; ++i) playedMoves_->addItem(Q(g.Driver.MoveListLines[i]));
      playedMoves_->setCurrentRow(g.Driver.MoveListSelected >= 0 && g.Driver.MoveListSelected < n ? g.Driver.MoveListSelected
                                                                                            : -1);
      FitMoveList(playedMoves_, MoveListKind::Played);
      if (n > 0) playedMoves_->scrollToBottom();
      break;
    }
    case View::LegalMoves:
      legalMoves_->clear();
      for (const std::string& line : g.Driver.LegalMoveLines) legalMoves_->addItem(Q(line));
      FitMoveList(legalMoves_, MoveListKind::Legal);
      break;
    case View::RootScores:
      rootMoves_->clear();
      for (const std::string& line : g.Driver.RootScoreLines) rootMoves_->addItem(Q(line));
      FitMoveList(rootMoves_, MoveListKind::RootScores);
      break;
    case View::MoveHighlights: ClearMoveHighlights(); break;
    case View::PlyValueTable:
    case View::PlyValueOutput:
    case View::ProblemText: RefreshDialogs(*this, v); break;
    default: break;  // the other windows show the rest
  }
}

// ---------------------------------------------------------------------------
// Commands of this window

void MainWindow::DisableMenusWhileThinking() {
  commands_->setSurfaceLocked(true);
  moveBox_->setEnabled(false);
  playMoveButton_->setEnabled(false);
  commentBox_->setEnabled(false);
}

void MainWindow::EnableMenusAfterThinking() {
  commands_->setSurfaceLocked(false);
  moveBox_->setEnabled(true);
  playMoveButton_->setEnabled(true);
  commentBox_->setEnabled(true);
}

void MainWindow::cancelClick() {
  state_->P.StopRequest = 1;
  commands_->setEntryEnabled(objectnames::kCancelEntry, false);
  commands_->setButtonEnabled(8, false);
}

void MainWindow::calculationClick() {
  GameState& g = *state_;
  g.Opt.ShowCalculation = 1 - g.Opt.ShowCalculation;
  if (g.Opt.ShowCalculation == 0) {
    commands_->setEntryChecked(objectnames::kCalculationEntry, false);
    SetFittedText(engineOutputLabel_, "no calculation");
  } else {
    commands_->setEntryChecked(objectnames::kCalculationEntry, true);
  }
}

}  // namespace m8
