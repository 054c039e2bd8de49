// The game state: board, rules in force and variant rules, move list and ply
// tables, game record, options and engine tables, gathered in one object that
// the main window owns and every core procedure takes by reference: the game
// and the window the whole GameState, the rules and the engine only its
// PositionState part.
//
// Each area keeps its fields in its own sub-struct; add new fields there.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/fileio.h"
#include "core/host.h"
#include "core/ruleset.h"

namespace m8 {

// Table bounds. A full table is an error the caller reports; nothing writes
// past these.
constexpr int kCells = 120;         // 10 columns x 12 rows mailbox
constexpr int kOffBoard = 100;      // value of a frame cell
constexpr int kNoSquare = 999;      // "from" of a man placed from off the board
constexpr int kMaxPly = 40;         // search plies 0..40
constexpr int kPlyTables = kMaxPly + 1;
constexpr int kMoveListSize = 1001; // records 0..1000
constexpr int kMaxGamePly = 1000;   // game plies 0..1000
constexpr int kGameTables = kMaxGamePly + 1;
constexpr int kGameRecordRows = 501;  // move numbers 0..500
constexpr int kGameRecordColumns = 5;
constexpr int kMaxCaptured = 16;    // captured pieces one record holds
constexpr int kCaptureListChars = 50;

// Scores.
constexpr int kInfinity = 32000;
constexpr int kNoScore = -32000;

using Board = std::array<int32_t, kCells>;

// One generated move. The capture list is kept compactly; CaptureListText()
// gives the 50-character text form (notation digit, then value digit and
// two-digit cell per captured piece, NUL-filled).
struct MoveRecord {
  int32_t From = 0;
  int32_t Crown = 0;  // 0, or 2 when the moving man is crowned on arrival
  int32_t To = 0;
  int32_t Score = 0;
  uint8_t NotationDigit = 0;  // the Notation setting when generated
  uint8_t CapturedCount = 0;
  std::array<uint8_t, kMaxCaptured> CapturedCell{};
  std::array<int8_t, kMaxCaptured> CapturedValue{};  // 1 man, 2 king
  // Where the piece landed after each capture, the last one To (the route
  // the generator found; 0 when not known).
  std::array<uint8_t, kMaxCaptured> LandingCell{};
  // 1 when the move was written with its landing squares: another capture
  // of other pieces shared its start and end square (set when it is
  // recorded in the game).
  uint8_t FullPath = 0;
  // 1 when a move without capture went from its start square to its end
  // square too (set when it is recorded in the game): the own game file,
  // which writes no separator, names its landing squares.
  uint8_t QuietSharesEnds = 0;

  bool IsCapture() const { return CapturedCount != 0; }
  std::string CaptureListText() const;
};

// The direction table: rows 0..3 plain moves of kinds 0..3, rows 4..7
// captures; each row ends with -99.
constexpr int kDirEnd = -99;
using DirectionRows = std::array<std::array<int32_t, 9>, 8>;

// Help texts that only the variant rules carry, and the variant's own start
// position (none: the standard one), which a new game of it starts from.
struct VariantInfo {
  std::string LoadedVariantName = "American Checkers";
  std::string VariantHelp;
  std::string HelpLink;
  std::string QuickHelpLink;
  std::optional<Board> StartPosition;
};

// Tables derived from the rules in force when a game is set up.
struct DerivedTables {
  DirectionRows DirectionTable{};
  DirectionRows BookDirectionTable{};
  int32_t OrthogonalOnly = 0;
  int32_t OrthogonalLongKings = 0;
  // 1 when the rules are those of the Italian set (whatever the start
  // position and the side that starts): among captures otherwise equal, the
  // one that meets a king first must be made.
  int32_t ItalianCaptureOrder = 0;
  std::array<std::array<int32_t, 2>, kCells> PromoReach{};
  int32_t PromoReachLimited = 0;
  int32_t PromoBalanced = 1;
  int32_t MaxPromoIndex = 3;
  int32_t NotationCheckersEnabled = 1;  // numbered notation offered
};

// Program options that the rules and engine read (loaded from the settings).
struct Options {
  int32_t Notation = 1;          // 0 algebraic, otherwise numbered
  int32_t CaptureCharStyle = 0;  // 1 ':' else 'x'
  int32_t UseClassic = 1;        // 1 variants/, 0 variants/uservariants/
  int32_t TouchMove = 0;
  // The remaining values of the settings file (files/settings.cpp gives their
  // order, defaults and ranges). Texts are UTF-8 in memory.
  int32_t PlayMode = 0;          // 0 player-computer, 1 player-player, 2 computer-computer
  int32_t Weakness = 1;          // 10 minus the strength
  int32_t SearchDepth = 2;       // plies, used when DepthMode = 1
  int32_t BoardTurned = 1;
  int32_t ShowMoves = 1;
  int32_t SearchTime = 2;        // seconds per move, used when DepthMode != 1
  int32_t DepthMode = 0;
  int32_t ChessDrawRules = 1;
  std::string UserName = "Player";
  int32_t CapitalNotation = 0;
  int32_t ConfirmExit = 1;
  int32_t AskForDraw = 0;
  int32_t ExtendedSearch = 1;
  int32_t UseBook = 1;
  int32_t FiftyMoveChoice = 1;   // 0..4: 32, 50, 16, 20, 40 moves
  int32_t ShowCalculation = 1;
  int32_t AmericanBookForAll = 0;
  int32_t BruteForce = 0;
  int32_t ExtendedPlies = 3;
  int32_t Balance = 150;
  int32_t ChooseOpening = 0;
  int32_t BookRandom = 0;
  int32_t UseRating = 1;
  int32_t BoardSizeCode = 2;     // 0 small, 2 medium, 3 big, 4 skin file
  int32_t AutoSave = 0;
  int32_t UseSound = 0;
  std::string SkinName = "Classic Medium";
  int32_t KingVersusKing = 1;
  int32_t PdnAlgebraic = 0;
  int32_t PlyValueDepth = 5;
};

// The skin in use: what a skin file set (files/skin.h). Picture paths are
// full paths, empty until a skin file names the picture.
constexpr int kSkinPictures = 14;
struct SkinState {
  int32_t BoardCustomSize = -1;             // 0 small, 1 big, else medium; -1 none given
  int32_t DarkHighlightColor = 0x0000FFFF;  // 0x00BBGGRR
  int32_t LightHighlightColor = 0x00008080;
  std::array<std::string, kSkinPictures> Pictures{};  // indexed by SkinPicture
  int32_t StatusPanel = 1;
};

// The user's rating and the result of the last rating update (files/rating.h).
struct RatingState {
  int32_t UserRating = 1200;
  int32_t ComputerRating = 0;
  int32_t RatedGame = 0;
  std::string RatingMessage;
  // The rating file exists but could not be read at start-up: it is left as
  // it is, and the rating is not written over it.
  bool KeepFile = false;
};

// The running game log (files/gamelog.h).
struct LogState {
  bool Enabled = false;   // the log opened at start-up
  bool Reported = false;  // a failure was told to the user once
  std::string LogLine;
  std::string MainLineText;
};

// Counters of the position kept up to date by set-up and MakeMove.
struct Material {
  int32_t TotalMaterial = 24;
  int32_t WhiteMen = 12;
  int32_t BlackMen = 12;
  int32_t StartMaterial = 2400;
  int32_t WhiteToPlace = 0;
  int32_t BlackToPlace = 0;
};

// Search plies, the shared move list and the per-ply tables.
struct PlyState {
  int32_t Ply = 0;
  int32_t GamePly = 0;
  int32_t SideToMove = -1;
  std::array<MoveRecord, kMoveListSize> MoveList{};
  std::array<int32_t, kPlyTables + 1> PlyStart{};
  int32_t MoveListEnd = 0;
  std::array<int32_t, kPlyTables> MaterialBalance{};
  std::array<int32_t, kPlyTables> BoardMaterial{};
  std::array<int32_t, kPlyTables> LastMoveTactical{};
  std::array<int32_t, kPlyTables> PlyDestination{};
  int32_t StopRequest = 0;
  int32_t SearchAborted = 0;
  int32_t RootGeneration = 0;   // 1 while the computer move generates its root moves
  int32_t TouchedSquare = 0;    // touch-move: cell first pressed since the last move; 0 none
  int32_t PlayedCapture = 0;    // set by PlayMoveString
  int32_t PlayedCrowning = 0;
  int32_t PlayedMoveIndex = 0;
  int32_t GenError = 0;         // MoveGenError of the last generation (0 none)
};

// Capture candidates of the running move generation: every capture sequence
// found, before the capture rules choose among them (rules/movegen.h).
constexpr int kMaxCandidates = 2001;  // candidates 0..2000
struct CaptureCandidate {
  int32_t From = 0;
  int32_t To = 0;
  int8_t Crown = 0;           // 1 when the man is crowned by this move
  int8_t Kings = 0;           // kings captured
  int8_t Mover = 0;           // value on the start cell before the move
  uint8_t Count = 0;          // pieces captured
  uint8_t Dropped = 0;        // removed by a capture rule
  uint8_t TakesLastMoved = 0; // its first capture takes the piece that moved last
  int8_t FirstKing = 0;       // 1-based place of the first king taken; 0 none
  uint64_t Taken = 0;         // the captured squares as a set (bit per playing square)
  std::array<uint8_t, kMaxCaptured> Cell{};
  std::array<int8_t, kMaxCaptured> Value{};  // 1 man, 2 king
  std::array<uint8_t, kMaxCaptured> Landing{};  // landing cell after each capture
};
struct CaptureScratch {
  std::array<CaptureCandidate, kMaxCandidates> Candidates{};
  int32_t Count = 0;
};
// GenerateMoves and HasLegalMove keep their candidates apart, so the legal
// move test leaves the generator's tables alone.
struct MoveGenScratch {
  CaptureScratch Gen;
  CaptureScratch Test;
};

// Principal lines and killer moves, written by the search, read by the move
// generators for their ordering scores.
struct PVEntry {
  int32_t Kind = 0;
  int32_t From = 0;  // 0 ends a line
  int32_t To = 0;
};
struct KillerSlot {
  int32_t From = 0;
  int32_t To = 0;
};
struct SearchTables {
  // PVTable[r][c]: the move at ply c of the best line below the node at ply r.
  std::array<std::array<PVEntry, kPlyTables>, kPlyTables> PVTable{};
  // KillerMoves[ply][0] is the most recent cutting move.
  std::array<std::array<KillerSlot, 2>, kPlyTables> KillerMoves{};
};

// The game played so far.
struct GameRecordState {
  std::array<MoveRecord, kGameTables> GameMoves{};
  std::array<int32_t, kGameTables> MaterialBalanceHistory{};
  std::array<int32_t, kGameTables> BoardMaterialHistory{};
  std::array<int32_t, kGameTables> HistDestination{};
  std::array<int32_t, kGameTables> HistKingManFlag{};
  std::array<int32_t, kGameTables> HistManKingSquare{};
  std::array<std::string, kGameTables> PositionHistory{};
  int32_t GameLength = 0;
  // Move texts by move number (rows 0..500): column 0 the first mover's
  // move, 1 the other side's, 2 and 3 who made them ("1" computer, "2" user,
  // "3" read from a file), 4 the depth the computer reached.
  std::array<std::array<std::string, kGameRecordColumns>, kGameRecordRows> GameRecord{};
  // Per game ply: the computer's score after its move and the number of legal
  // moves it had (read by the rating).
  std::array<int32_t, kGameTables> ScoreHistory{};
  std::array<int32_t, kGameTables> MoveChoiceHistory{};
  std::array<std::string, kGameTables> PlyComments{};  // comment after each game ply
};

// The draw rules' findings after the last played move (rules/drawrules.h).
struct DrawState {
  // 0 none, 1 repetition, 2 move limit, 3 king against king, 4 three kings
  // against one, 5 two kings against one. 4 stays until other code clears it.
  int32_t DrawReason = 0;
  int32_t ThreeKingsStartPly = 0;  // GamePly the ending was first seen; 0 = not running
  int32_t TwoKingsStartPly = 0;
  int32_t OneKingEach = 0;       // CountRepetitions: set, never cleared there
  int32_t MoveLimitReached = 0;  // FindLastIrreversiblePly
};

// Per-game state of the game flow that the set-up resets (game/gamesetup.h).
struct GameFlow {
  int32_t GameOver = 0;
  int32_t GameStarted = 0;
  int32_t Busy = 0;
  // The program is ending: a search stopped for it plays, logs and saves
  // nothing, so the game stays as the user last saw it.
  int32_t Closing = 0;
  int32_t PositionPreset = 0;  // the board was set up by hand, loaded or thinned out
  std::string GameResult;
  std::string PlayerName1 = "Player";
  std::string PlayerName2 = "Computer";
  std::string GameFileTitle;
  std::string Caption;      // the window caption
  std::string CommentText;  // the comment box: comment of the shown ply
  std::string LoadedResult;  // result of a loaded game ("*" none given); "" after a new game
  int32_t PopupSquare = 0;   // cell the position editor's popup was opened on
  int32_t PopupChanged = 0;  // an entry of the popup now open changed the position or the side
  // Rules.BlackStarts before the position editor made the side to move the
  // first mover; -1 when it did not. A new game starts with it again.
  int32_t BlackStartsBeforeSetup = -1;
  int32_t PiecePicked = 0;
  int32_t BestScore = 0;
  int32_t StableScoreCount = 0;
  int32_t LastDrawOfferPly = 0;
  int32_t MateAnnounced = 0;
  // The board view's mouse state (the window's; reset for every game).
  int32_t FromSquare = -1;
  int32_t RightPressSquare = -1;
  int32_t HoverSquare = -1;
  int32_t NumbersShown = 0;
  int32_t SkipSquareNumbers = 0;
  int32_t IgnoreNextPress = 0;
  int32_t HoverCell = 0;         // movable piece last under the pointer (no piece held)
  int32_t DragStarted = 0;       // the pointer carries the held piece
  int32_t DragX = 0;             // last pointer position of the drag, twips from
  int32_t DragY = 0;             // the held piece's square corner
  int32_t CanReturnToStart = 0;  // the held piece has a capture ending on its own cell
};

// The header of the game in hand as PDN tags carry it (files/pdntags.h): read
// from a loaded PDN game, shown and edited by the game details dialog, written
// back by the PDN writer. The result is GameFlow::GameResult.
struct GameHeader {
  std::string GameEvent;
  std::string GameDate;
  std::string GameSite;
  std::string GameRound;
  std::string GameBlack;
  std::string GameBlackElo;
  std::string GameWhite;
  std::string GameWhiteElo;
  std::string GameSetUp;
  std::string GameFen;
  std::string GameEco;
  std::string GameType;
  std::string RulesTagValue;  // the private rules tag "Tavrin"
  int32_t PdnChosenGame = -1;  // 1-based game of the last PDN file read; -1 none
  // The event, site, date, black and white that the last PDN load put in, as
  // it put them: they belong to that game, and the next game forgets each one
  // the user has not retyped in the details dialog (game/gamedetails.h).
  std::array<std::string, 5> LoadedDetails{};
};

// The texts MoveString leaves.
struct MoveTexts {
  std::string MoveText;
  std::string DisplayMoveText;
  std::string CaptureSquaresText;
  std::string CaptureChar = "x";
  int32_t FullPath = 0;  // 1: the texts name every landing square
  int32_t QuietSharesEnds = 0;  // 1: a move without capture has the same start and end
};

// Evaluation switches and the rule states the evaluators report
// (engine/evaluate.h).
struct EvalState {
  int32_t WhiteMenThreshold = 6;  // opening phase while more men than this
  int32_t BlackMenThreshold = 6;
  int32_t InDanger = 0;         // side to move at or near a loss by rule
  int32_t NoLegalDrawFlag = 0;  // NoLegalDraw: side to move stuck, both have pieces
  int32_t LazyMargin = 150;
  int32_t NoKingWinRule = 1;    // neither KingWin nor WinAtPromo in force
  int32_t RootSide = 0;         // side to move at the root of the last computer search
  int32_t EvalExtraTerm = 0;    // back-row opening term on
  int32_t NoiseAmplitude = 0;
  int32_t PrioritySquare = 0;   // position set-up "Priority" cell; 0 none
  int32_t PriorityPiece = 0;
  int32_t DrawnPosition = 0;    // the root move being searched repeats or hits the move limit
  // Built at game set-up (engine/promobonus.h, rules/builtinrules.h).
  std::array<std::array<int32_t, 2>, kCells> PromotionBonus{};  // (cell, side 0 white / 1 black)
  int32_t AllStepsOrthogonal = 0;
  int32_t OrthogonalManyMen = 0;
  int32_t StandardRuleSet = 0;  // 0 generic, 1..4 the built-in rule sets
};

// Placement keys for the repetition test: RepKeys[k] is the key of the
// position after k + 1 game plies (the search writes the plies it makes, past
// the end of the game record as well).
constexpr int kRepKeyEntries = kGameTables + kPlyTables;

// Search state of the nodes and drivers (engine/searchnode.h).
struct SearchState {
  int32_t MaxPly = 0;           // ply limit of the extensions
  uint64_t Nodes = 0;           // nodes entered since the counter was cleared
  // The time limit of the running search on the host's monotonic clock (0:
  // none). The nodes read the clock every few hundred nodes and stop the
  // search once it has passed; the root search sets it by the time rule.
  double StopAt = 0;
  // 1 when the time limit stopped the running search (SearchAborted is then
  // 1 as well); kept apart from a stop asked for by the user.
  int32_t TimeUp = 0;
  std::array<uint64_t, kPlyTables> PlyKey{};      // key of the position at each search ply
  std::array<uint64_t, kRepKeyEntries> RepKeys{};
  // The fixed part of the family evaluators' piece terms per kind (0 white
  // man, 1 black man, 2 white king, 3 black king) and cell, from White's
  // view; built for family PieceSquareFamily at every search entry.
  std::array<std::array<int32_t, kCells>, 4> PieceSquare{};
  int32_t PieceSquareFamily = 0;
  // The family evaluators' back-row walks per side: promotion square, first
  // and second step cells, and whether the two steps go straight on.
  struct BackRowPath {
    int16_t promo, first, second;
    int16_t straight;
  };
  std::array<std::array<BackRowPath, 4 * 9 * 9>, 2> BackRowPaths{};
  std::array<int32_t, 2> BackRowPathCount{};
  std::string EngineOutputText;  // the engine output label
  std::string PlyValueOutputText;  // the ply value table window's label
  int32_t HintFrom = 0;          // expected reply; 0 no hint
  int32_t HintTo = 0;
  int32_t HintCapture = 0;       // 1: the expected reply is a capture
};

// The computer move, the analysis, the hint and computer-against-computer
// play (game/computermove.h, game/analyzecommand.h, engine/rootdriver.h): the root
// moves' scores and the texts of the move lists, which the window shows as
// they stand here.
constexpr int kRootScoreSlots = 76;     // root move slots 0..75
constexpr int kNoRootScore = -32767;    // RootScores: no square / no score
constexpr int kRootScoreBoundRow = 3;   // RootScores row: 1 = the score is an upper bound
constexpr int kRootScoreMoveRow = 4;    // RootScores row: the move's record in RootScoreMoves
struct DriverState {
  // RootScores[0][i] from square, [1][i] to square, [2][i] last score of root
  // move slot i; kNoRootScore = none. [3][i] (kRootScoreBoundRow) is 1 when
  // that score is only a bound: the move was searched with the null window of
  // a better move and scored no better than it, at most [2][i]. [4][i]
  // (kRootScoreMoveRow) is the move itself: its index in RootScoreMoves, or
  // kNoRootScore when the slot names no record there. Two captures may share
  // their from and to squares; the index tells them apart.
  std::array<std::array<int32_t, kRootScoreSlots>, 5> RootScores = [] {
    std::array<std::array<int32_t, kRootScoreSlots>, 5> t{};
    for (auto& row : t) row.fill(kNoRootScore);
    t[kRootScoreBoundRow].fill(0);
    return t;
  }();
  // The root moves of the last search as it generated them (before a book
  // move cut the list), which the root-score list names.
  std::vector<MoveRecord> RootScoreMoves;
  // The iterations the scores come from: that of the first entry (the move
  // played or found, with the score the engine gave for it) and that of the
  // others (the last completed iteration). They differ after a Cancel or a
  // time-out that came once the interrupted iteration had scored its best
  // move; 0 when unknown.
  int32_t RootScoreFirstDepth = 0;
  int32_t RootScoreOtherDepth = 0;
  int32_t AspirationWindow = 100;
  int32_t GamePlyAtRoot = 0;
  // The move list: the line of every game ply (index GamePly - 1), MoveListCount of
  // them shown, MoveListSelected selected (-1 none).
  std::array<std::string, kGameTables> MoveListLines{};
  int32_t MoveListCount = 0;
  int32_t MoveListSelected = -1;
  // The legal-move and root-score lists as ListLegalMoves and ListRootMoveScores fill them.
  // Line i of the root-score list is RootScores slot i; a last line that
  // names the depths of the scores has no slot.
  std::vector<std::string> LegalMoveLines;
  std::vector<std::string> RootScoreLines;
  // The bare move text of each move number and side (columns 0 and 1).
  std::array<std::array<std::string, 2>, kGameRecordRows> GameMoveTexts{};
  // The progress bar.
  int32_t ProgressValue = 0;
  int32_t ProgressMax = 100;
  std::string DrawNote;      // a draw recorded without announcing it
  std::string ProblemText;   // the problem window's text (ComputeHint)
  int32_t ProblemCount = 0;
  std::string ProblemSummary;  // what the last problem search of a position found
};

// The ply value table (game/plyvaluecommand.h, engine/plyvaluesearch.h) and what its
// window shows. Rows 0..PlyValueRows-1 in sorted order; the *Saved twins keep
// the rows in the order of the legal moves.
struct PlyValueState {
  int32_t PlyValuePlies = 0;  // depth of the last run (0 before the first)
  int32_t PlyValueRows = 0;
  std::vector<std::vector<int32_t>> PlyValues;  // [row][depth 0..PlyValuePlies]
  std::vector<std::string> PlyValueMoves;
  std::vector<int32_t> PlyValueDiff;
  std::vector<int32_t> PlyValueTime;
  std::vector<std::string> PlyValueLines;
  std::vector<int32_t> PlyValueMarks;
  std::vector<std::vector<int32_t>> PlyValuesSaved;
  std::vector<std::string> PlyValueMovesSaved;
  std::vector<int32_t> PlyValueDiffSaved;
  std::vector<int32_t> PlyValueTimeSaved;
  std::vector<std::string> PlyValueLinesSaved;
  std::vector<int32_t> PlyValueMarksSaved;
  // The window (caption "Ply Value Table"); its label is
  // SearchState::PlyValueOutputText.
  bool Shown = false;
  std::string TableText;       // the table's text box
  bool CloseEnabled = true;    // the Ok button
  bool CancelEnabled = false;  // the Cancel button
  std::vector<std::string> SortKeys;  // the sort-key list's items
  std::string SortKey;                // the sort-key list's text
  std::string ReadyMark;              // "1" once the table may be re-sorted
  bool SortEnabled = true;            // the sort-key list and its caption
  int32_t ProgressValue = 0;
  int32_t ProgressMax = 0;
};

// The opening book: what the last BookMove call found, and the book file's
// lines kept between calls (re-read when the file's size or time changes).
constexpr int kBookCandidates = 11;
struct BookState {
  int32_t BookFrom = 0;  // cell of the chosen book move, 0 none
  int32_t BookTo = 0;
  int32_t InBook = 0;    // the game so far begins a book line
  std::array<std::string, kBookCandidates> BookCandidates{};
  std::string OpeningName;
  // Cache of the book file last read.
  std::string CachedPath;
  int64_t CachedTime = 0;
  uint64_t CachedSize = 0;
  bool CacheValid = false;
  std::vector<std::string> CachedLines;
  std::string CachedFirstBytes;
  // The file (path and stamp) a problem was last reported for, so that a bad
  // book is reported once and not after every move.
  std::string ReportedProblem;
};

// What the board shows beyond its pieces.
struct BoardViewState {
  int32_t MovesHighlighted = 0;  // the movable pieces are marked on the board
};

// Choices of the settings file whose files were missing at start-up: the
// program runs without them this time and writes them back at exit, unless
// the user has chosen anew meanwhile.
struct UnmetChoices {
  std::string Variant;  // the variant, when its variant file was missing
  // The rules the settings held for that variant, while the built-in game
  // stands in for it.
  std::optional<RuleSet> VariantRules;
  std::string Skin;  // the skin, when its skin file was missing
};

// Everything of a game but its flow and the rating: the position, the rules,
// the options and the engine's tables. The rules and the engine take this
// part, so that they can neither end, rate nor otherwise steer the game they
// search; the game passes its GameState.
struct PositionState {
  Host* host = &nullHost;
  // The folder of the program: the shipped data (variants, skins, books,
  // sounds, pieces, the openings) is always read from here.
  std::string ProgramFolder = ".";
  // The folder of the user's own files (settings, rating, log, the saved
  // game, the diagram, the user's variants) when the program folder cannot be
  // written; empty: they stand in the program folder.
  std::string UserFolder;
  // No folder could be made for the user's own files while the program
  // folder may not hold them: the settings, rating, log and saved game are
  // not written this run (the user was told once), least of all into the
  // program folder.
  bool UserFilesNotKept = false;
  // Tests stand in here for files the system refuses to open.
  OpenRefusal RefuseOpen;
  // The settings file exists but could not be read at start-up: it is left
  // as it is, and the settings are not written over it.
  bool KeepSettingsFile = false;

  Board board{};
  Board StartBoard{};
  Board DefaultBoard{};

  // Rules.Variant is the current variant's name (VariantName).
  RuleSet Rules;
  RuleSet VariantRules;
  VariantInfo Variant;
  DerivedTables Tables;
  Options Opt;
  SkinState Skin;
  LogState Log;
  Material Mat;
  PlyState P;
  MoveGenScratch Gen;
  SearchTables SearchTab;
  GameRecordState Game;
  MoveTexts Texts;
  BookState Book;
  EvalState Eval;
  SearchState Search;
  DriverState Driver;
  PlyValueState PlyValue;
  DrawState Draw;
  GameHeader Header;
  BoardViewState BoardShown;
  UnmetChoices Unmet;
  int32_t SquareIsPlayable = 1;

  std::mt19937 Rng{12345};

  PositionState();
  PositionState(const PositionState&) = delete;
  PositionState& operator=(const PositionState&) = delete;

 private:
  static NullHost nullHost;
};

// A game: its position and what only the game itself changes, the flow of
// play and the rating.
struct GameState : PositionState {
  RatingState Rating;
  GameFlow Flow;
};

// Where the user's own files go: UserFolder, else the program folder.
inline const std::string& UserFolderOf(const PositionState& g) {
  return g.UserFolder.empty() ? g.ProgramFolder : g.UserFolder;
}

// The board of a fresh American Checkers game: frame 100, white men on rows
// 2-4, black men on rows 7-9.
Board DefaultStartBoard();

// A uniformly drawn number in [0, 1), the program's one random source
// (seeded per game; tests seed it themselves).
double Rnd(PositionState& g);

}  // namespace m8
