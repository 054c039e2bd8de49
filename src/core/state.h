// The game state: board, rules in force and variant rules, move list and ply
// tables, game record, options and engine tables, gathered in one object that
// the main window owns and every core procedure takes by reference.
//
// Each area keeps its fields in its own sub-struct; add new fields there.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/rules/ruleset.h"

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

  bool IsCapture() const { return CapturedCount != 0; }
  std::string CaptureListText() const;
};

// The direction table: rows 0..3 plain moves of kinds 0..3, rows 4..7
// captures; each row ends with -99.
constexpr int kDirEnd = -99;
using DirectionRows = std::array<std::array<int32_t, 9>, 8>;

// Help texts that only the variant rules carry.
struct VariantInfo {
  std::string LoadedVariantName = "American Checkers";
  std::string VariantHelp;
  std::string HelpLink;
  std::string QuickHelpLink;
};

// Tables derived from the rules in force when a game is set up.
struct DerivedTables {
  DirectionRows DirectionTable{};
  DirectionRows BookDirectionTable{};
  int32_t OrthogonalOnly = 0;
  int32_t OrthogonalLongKings = 0;
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
};

// The texts MoveString leaves.
struct MoveTexts {
  std::string MoveText;
  std::string DisplayMoveText;
  std::string CaptureSquaresText;
  std::string CaptureChar = "x";
};

struct GameState {
  Host* host = &nullHost;
  std::string ProgramFolder = ".";

  Board board{};
  Board StartBoard{};
  Board DefaultBoard{};

  // Rules.Variant is the current variant's name (VariantName).
  RuleSet Rules;
  RuleSet VariantRules;
  VariantInfo Variant;
  DerivedTables Tables;
  Options Opt;
  Material Mat;
  PlyState P;
  GameRecordState Game;
  MoveTexts Texts;
  int32_t SquareIsPlayable = 1;

  std::mt19937 Rng{12345};

  GameState();
  GameState(const GameState&) = delete;
  GameState& operator=(const GameState&) = delete;

 private:
  static NullHost nullHost;
};

// The board of a fresh American Checkers game: frame 100, white men on rows
// 2-4, black men on rows 7-9.
Board DefaultStartBoard();

// A uniformly drawn number in [0, 1), the program's one random source
// (seeded per game; tests seed it themselves).
double Rnd(GameState& g);

}  // namespace m8
