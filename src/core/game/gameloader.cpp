#include "core/game/gameloader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/engine/promobonus.h"
#include "core/engine/searchprogress.h"
#include "core/fileio.h"
#include "core/files/gamefile.h"
#include "core/files/settings.h"
#include "core/game/announce.h"
#include "core/game/gamedetails.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/legalmovelist.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/movement.h"
#include "core/rules/notation.h"
#include "core/rules/rulekeys.h"
#include "core/rules/setposition.h"
#include "core/rules/variantfile.h"
#include "core/textcode.h"
#include "core/textlimits.h"
#include "core/version.h"

namespace m8 {

namespace {

constexpr const char* kStandardSetup = "1010101001010101101010100000000000000000020202022020202002020202";

// Everything read from the file before the game is touched.
struct LoadPlan {
  bool pdn = false;
  std::string title;
  GameFileData own;
  PdnTags tags;
  std::string openAs;
  std::string gameTypeVariant;  // the shipped variant of the GameType tag
  // The side that moves first in a game set up by a variant whose colours
  // are drawn (RndColor): the scratch replay's, so that the real one agrees.
  int startSide = 0;
  bool hasRulesTag = false;
  PdnRulesTag rulesTag;
  bool hasFen = false;
  FenPosition fen;
  const std::vector<GameFileItem>* items = nullptr;
  std::vector<GameFileItem> pdnItems;
  // Per item: which of the captures a short text fits is played (0: the
  // first), as the trial replays found the rest of the game to go on.
  std::vector<int> captureRoutes;
};

// A move of the file whose text fits captures of different pieces: its item,
// the capture played (0-based) and how many fit.
struct RouteFork {
  size_t item = 0;
  int route = 0;
  int fits = 0;
};

struct ReplayFailure {
  std::string moveText;
  int line = 0;
  size_t item = 0;      // the failed move's item in the plan
  bool capped = false;  // the trial replays stopped at kMaxRouteTrials
};

// Promotion squares given two characters each in a notation; a pair that
// names no square leaves its entry empty.
void SetPromoSquares(GameState& g, int side, const std::string& text, int notation) {
  ScopedNotation hold(g, notation);
  for (int k = 0; k < kPromoEntries; ++k) {
    const size_t at = 2 * static_cast<size_t>(k);
    const int sq = at + 2 <= text.size() ? SquareNumber(g, text.substr(at, 2)) : 0;
    g.Rules.PromoSquares[side][k] = sq == 0 ? -1 : sq;
  }
}

void ApplyRuleValues(GameState& g, const std::vector<std::pair<const RuleKey*, int32_t>>& values) {
  for (const auto& [key, value] : values)
    if (key) g.Rules.*key->member = value;
}

// The variant file of the loaded game's variant; a game whose variant file is
// not here still loads under the rules it carries. Returns the start position
// a new game of the variant begins from: the file's own, else the default.
Board ReadVariantOrKeep(GameState& g) {
  std::string error;
  g.StartBoard = DefaultStartBoard();  // a file that gives a start replaces it
  if (ReadVariantFile(g, &error)) return g.StartBoard;
  g.VariantRules = g.Rules;
  // The built-in variant's own first mover is known without its file.
  if (g.Rules.Variant == kStandardVariantName) g.VariantRules.BlackStarts = RuleSet{}.BlackStarts;
  g.Variant = VariantInfo{};
  g.Variant.LoadedVariantName = g.Rules.Variant;
  return DefaultStartBoard();
}

// Whether a game read from a file begins as a new game of its variant does:
// on the variant's start position, with its first mover, and no men removed
// or moves made at random. Such a start is no position set by hand, and the
// game shows under its variant's plain name.
bool StartsAsNewGame(const GameState& g, const Board& variantStart) {
  const RuleSet& r = g.Rules;
  return g.board == variantStart && r.BlackStarts == g.VariantRules.BlackStarts && r.RemoveMen == 0 &&
         r.DoMoves == 0 && r.RndColor == 0;
}

void SetSideFromRules(GameState& g) { g.P.SideToMove = g.Rules.BlackStarts == 0 ? 1 : -1; }

// The board, the side to move and the rules in force are set: builds the
// tables, takes the board as the start position and starts a clean record.
void PrepareLoadedPosition(GameState& g, bool preset) {
  ParseAllDirections(g);
  const Board given = g.board;
  if (g.Rules.PiecesOnBlack < 2) DetectSquareColour(g);
  SetBoardModeFromDirections(g);
  SetOrthogonalMoveFlags(g);
  if (g.Rules.PiecesOnBlack != g.VariantRules.PiecesOnBlack && g.Rules.PiecesOnBlack < 2) ShiftPromoSquares(g);
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  // Those two belong to the position editor's mouse handling.
  g.Flow.SkipSquareNumbers = 0;
  g.Flow.IgnoreNextPress = 0;
  g.Flow.PositionPreset = preset ? 1 : 0;
  // A new game on the other colour keeps its start position as the variant
  // gives it (the pieces are moved over on the board only); the loaded game
  // keeps it as the file gives it, so that it is the same game again, saved
  // alike and recognised as the same built-in rule set.
  if (g.StartBoard != given) {
    g.StartBoard = given;
    BuildPromotionTables(g);
  }
  // The side to move of the file's position moves first in this game only: a
  // new game starts with the variant's own first mover again, as after a
  // position set up by hand.
  g.Flow.BlackStartsBeforeSetup =
      g.Rules.BlackStarts != g.VariantRules.BlackStarts ? g.VariantRules.BlackStarts : -1;
}

// A game of a variant that draws its colours (RndColor): the side given
// moves first, as in the scratch replay.
void ForceStartSide(GameState& g, int side) {
  const Board start = g.StartBoard;
  g.P.SideToMove = side;
  g.Flow.PositionPreset = 1;
  SetupPositionState(g);
  g.VariantRules.BlackStarts = g.Rules.BlackStarts;
  g.Flow.SkipSquareNumbers = 0;
  g.Flow.IgnoreNextPress = 0;
  g.Flow.PositionPreset = 0;
  g.StartBoard = start;
  BuildPromotionTables(g);
}

void SetUpOwnGame(GameState& g, const GameFileData& d, int mode) {
  const int32_t programNotation = g.Opt.Notation;
  g.Flow.PositionPreset = 0;
  g.Flow.BlackStartsBeforeSetup = -1;  // the file's rules are those in force now
  InitGame(g);
  if (d.Variant) g.Rules.Variant = *d.Variant;
  if (d.Notation) g.Opt.Notation = *d.Notation;
  ApplyRuleValues(g, d.RuleValues);
  if (d.PlayerName) g.Opt.UserName = *d.PlayerName;
  if (d.PromoW) SetPromoSquares(g, 0, d.PromoW->squares, d.PromoW->notation.value_or(programNotation));
  if (d.PromoB) SetPromoSquares(g, 1, d.PromoB->squares, d.PromoB->notation.value_or(programNotation));
  if (d.Movement) g.Rules.MovementStrings = *d.Movement;
  Board variantStart = DefaultStartBoard();
  if (d.UseClassicSeen) {
    g.Opt.UseClassic = *d.UseClassic;
    variantStart = ReadVariantOrKeep(g);
    g.board = BoardFromSetup(d.SetupAtUseClassic);
  } else if (d.Variant) {
    // A file without "UseClassic=": its variant from the folder in use, its
    // set-up when it gives one, else the variant's start position.
    g.board = DefaultStartBoard();
    variantStart = ReadVariantOrKeep(g);
    if (d.Setup) g.board = BoardFromSetup(*d.Setup);
  }
  SetSideFromRules(g);
  if (g.Rules.PiecesOnBlack == 2) g.Opt.Notation = 0;
  PrepareLoadedPosition(g, (d.UseClassicSeen || d.Variant) && mode != kLoadAutosave &&
                               !StartsAsNewGame(g, variantStart));
  if (d.Book) g.Book.InBook = *d.Book;
}

// The rules of a variant taken over whole (the chooser's "Open as" variant or
// the GameType tag).
void AdoptVariant(GameState& g) {
  g.Flow.PositionPreset = 0;
  // The colours of the game in hand are not drawn into the variant's rules.
  g.Rules.RndColor = 0;
  InitGame(g);
  g.Rules = g.VariantRules;
  SetSideFromRules(g);
  ParseAllDirections(g);
}

// Whether a cell is one of the squares the pieces stand on (every square of
// a board whose pieces use all 64).
bool SquareInPlay(const GameState& g, int cell) {
  if (cell == 0) return false;
  if (g.Rules.PiecesOnBlack >= 2) return true;
  int playable = 0;
  IsPlayableCorrection(g.Rules.PiecesOnBlack, cell, &playable);
  return playable != 0;
}

// Returns whether a variant was chosen (by "Open as" or GameType): the
// notation of its moves is then taken from the first move.
bool SetUpPdnGame(GameState& g, const LoadPlan& p, int mode) {
  g.Flow.PositionPreset = 0;
  g.Flow.BlackStartsBeforeSetup = -1;  // the file's rules are those in force now
  g.P.TouchedSquare = 0;
  if (p.hasRulesTag) {
    const PdnRulesTag& t = p.rulesTag;
    InitGame(g);
    g.Opt.Notation = 1;
    g.Rules.Variant = t.variant;
    const Board variantStart = ReadVariantOrKeep(g);
    g.board = BoardFromSetup(t.setup);
    ApplyRuleValues(g, t.values);
    SetPromoSquares(g, 0, t.promo[0], 0);
    SetPromoSquares(g, 1, t.promo[1], 0);
    g.Rules.MovementStrings = t.movement;
    g.Rules.ManContJumpCrowned = t.manContJumpCrowned;
    SetSideFromRules(g);
    if (g.Rules.PiecesOnBlack == 2) g.Opt.Notation = 0;
    PrepareLoadedPosition(g, mode != kLoadAutosave && !StartsAsNewGame(g, variantStart));
    return false;
  }
  bool chosen = false;
  if (!p.openAs.empty()) {
    g.Rules.Variant = p.openAs;
    AdoptVariant(g);
    chosen = true;
  }
  if (!p.gameTypeVariant.empty()) {
    g.Rules.Variant = p.gameTypeVariant;
    AdoptVariant(g);
    chosen = true;
  }
  if (!chosen && mode == kLoadOpen) g.Rules = RuleSet{};
  g.Flow.PositionPreset = 0;
  // No colour is drawn for a game read from a file: the rules' first mover
  // begins, or the side the scratch replay found (RndColor).
  const int firstMover = p.startSide != 0 ? p.startSide : g.Rules.BlackStarts == 0 ? 1 : -1;
  InitGame(g);
  if (!p.hasFen && g.P.SideToMove != firstMover) ForceStartSide(g, firstMover);
  if (p.hasFen) {
    for (auto& cell : g.board)
      if (cell != kOffBoard) cell = 0;
    {
      for (const FenPiece& piece : p.fen.pieces) {
        const bool algebraic = !piece.square.empty();
        int cell;
        {
          ScopedNotation hold(g, algebraic ? 0 : 1);
          cell = SquareNumber(g, algebraic ? piece.square : std::to_string(piece.number));
        }
        // A letter square off the 32 squares in play names no square.
        if (algebraic && !SquareInPlay(g, cell)) cell = 0;
        if (cell != 0) g.board[cell] = piece.value;
      }
    }
    g.P.SideToMove = p.fen.sideToMove;
    PrepareLoadedPosition(g, true);
  }
  return chosen;
}

// A PDN move text in the notation in force: algebraic squares become square
// numbers and back (square numbers become letters on a board where every
// square is in play, so that the stored texts name the moves).
std::string InNotation(GameState& g, const std::string& key) {
  const size_t firstChar = key.find_first_not_of(' ');
  if (firstChar == std::string::npos) return key;
  const bool letters = std::isalpha(static_cast<unsigned char>(key[firstChar])) != 0;
  const bool lettersInForce = NamesInLetters(g);
  if (letters == lettersInForce) return ToUpper(key);
  const int target = lettersInForce ? 0 : 1;
  std::string out;
  for (size_t at = 0; at < key.size(); at += 2) {
    const std::string piece = ToUpper(key.substr(at, 2));
    int cell;
    {
      ScopedNotation hold(g, letters ? 0 : 1);
      cell = SquareNumber(g, piece);
    }
    if (cell == 0) return ToUpper(key);
    ScopedNotation hold(g, target);
    out += ToUpper(SquareNotation(g, cell, 0));
  }
  return out;
}

// A move read from a file, played through the move path of the game (the
// scratch replay only plays it). A text that fits several captures plays the
// one numbered `route` among them (the one it is the full text of first);
// `fits` receives how many it fits. `kind` is the separator the file wrote.
// Only the game's last move is followed by the game-over test: the position
// the file ends on is where the game stands. A position on the way that the
// test would end (a repetition or one king each under the options of now,
// which the game played on from) does not end the game, nor hide its end.
// A game that ends there is told as it opens, a draw as a win is, with its
// box (whatever quiet value the move path gives a file's move); the draw's
// note names it again beside the file's result.
// `beforeGameOverTest`, when given, runs after the last move and before the
// test that may end the game with a box.
bool PlayFileMove(GameState& g, const std::string& text, MoveKind kind, bool trial, bool last, int route, int* fits,
                  const std::function<void()>& beforeGameOverTest = {}) {
  *fits = 0;
  MoveFollowUps followUps;
  followUps.checkGameOver = [last, &beforeGameOverTest](GameState& s, int) {
    if (!last) return;
    if (beforeGameOverTest) beforeGameOverTest();
    CheckGameOver(s, kDrawAnnouncedAndNoted, GameOverPause::None);
  };
  ResetPly(g);
  if (!GenerateLegalMoves(g)) return false;
  const std::vector<int> named = MovesNamedBy(g, text, ExactText::First, kind);
  *fits = static_cast<int>(named.size());
  if (named.empty()) return false;
  const int index = named[static_cast<size_t>(std::clamp(route, 0, *fits - 1))];
  return trial ? PlayMoveIndex(g, index) : EnterMoveIndex(g, index, MoveSource::GameFile, followUps);
}

// Rule values a file gives that the program uses as counts or indexes.
bool RulesInRange(const std::vector<std::pair<const RuleKey*, int32_t>>& values, std::string* why) {
  for (const auto& [key, value] : values) {
    int lo = 0, hi = 0;
    if (key && RuleValueRange(key->name, &lo, &hi) && (value < lo || value > hi)) {
      *why = std::string(key->name) + "=" + std::to_string(value) + " is outside " + std::to_string(lo) + ".." +
             std::to_string(hi);
      return false;
    }
  }
  return true;
}

// The start position a new game of `variant` begins from, as its file in the
// folder `useClassic` selects gives it (the default when it gives none or
// cannot be read, as ReadVariantOrKeep takes it).
Board VariantStartOf(const GameState& g, const std::string& variant, int32_t useClassic) {
  auto probe = std::make_unique<GameState>();
  probe->ProgramFolder = g.ProgramFolder;
  probe->UserFolder = g.UserFolder;
  probe->Opt = g.Opt;
  probe->Opt.UseClassic = useClassic;
  probe->Rules.Variant = variant;
  probe->StartBoard = DefaultStartBoard();
  std::string error;
  return ReadVariantFile(*probe, &error) ? probe->StartBoard : DefaultStartBoard();
}

// Whether the pieces of a game file's set-up stand on the squares its game
// uses (piecesOnBlack); a light-square game also takes its variant's start
// all on the dark squares, as the files write it. Else `why` names the square.
bool SetupInPlay(const GameState& g, const std::string& setup, int piecesOnBlack, const std::string& variant,
                 int32_t useClassic, std::string* why) {
  const Board board = BoardFromSetup(setup);
  const Board variantStart = piecesOnBlack == 0 ? VariantStartOf(g, variant, useClassic) : DefaultStartBoard();
  const int cell = FirstSetupPieceOutOfPlay(board, piecesOnBlack, variantStart);
  if (cell == 0) return true;
  *why = "the position puts a piece on " + CellName(cell) + ", a square the game does not use";
  return false;
}

// The value a file gives PiecesOnBlack, else `otherwise`.
int PiecesOnBlackOf(const std::vector<std::pair<const RuleKey*, int32_t>>& values, int otherwise) {
  for (const auto& [key, value] : values)
    if (key && key->member == &RuleSet::PiecesOnBlack) otherwise = value;
  return otherwise;
}

// The pieces of an own game file's set-up stand on the squares its game
// uses: those of its PiecesOnBlack, else of the rules in force. Else `why`
// names the square and `line` the set-up's line.
bool OwnSetupInPlay(const GameState& g, const GameFileData& d, std::string* why, int* line) {
  const int piecesOnBlack = PiecesOnBlackOf(d.RuleValues, g.Rules.PiecesOnBlack);
  // The set-up the game starts from, and its variant (SetUpOwnGame).
  const std::string* setup = d.UseClassicSeen ? &d.SetupAtUseClassic : d.Variant && d.Setup ? &*d.Setup : nullptr;
  if (!setup) return true;
  const std::string& variant = d.Variant ? *d.Variant : g.Rules.Variant;
  const int32_t useClassic = d.UseClassicSeen ? *d.UseClassic : g.Opt.UseClassic;
  if (SetupInPlay(g, *setup, piecesOnBlack, variant, useClassic, why)) return true;
  *line = d.UseClassicSeen ? d.SetupAtUseClassicLine : d.SetupLine;
  return false;
}

// The names beside the board for the game read (PlayerName1 beside the side
// that moves first).
void SetPlayerNames(GameState& g, const LoadPlan& p, int mode);

// The legal-move list of the loaded game: empty once it is over, as nothing
// can be played (the list is off then).
void ListLoadedGameMoves(GameState& g, bool over) {
  if (!over) {
    ListLegalMoves(g);
    return;
  }
  g.Driver.LegalMoveLines.clear();
  g.host->refresh(View::LegalMoves);
}

// The window shows the game being loaded as it will stand once loaded: its
// caption, variant name, players and move lists, the progress bar empty.
// Done before the last move's game-over test, whose box tells the end of a
// finished game while the window shows that game and no longer the one
// before.
void ShowGameAsLoaded(GameState& g, const LoadPlan& p, int mode) {
  Host& h = *g.host;
  ListLoadedGameMoves(g, PositionEndsGame(g));
  SetPlayerNames(g, p, mode);
  h.refresh(View::SideToMove);
  h.refresh(View::MoveList);
  h.refresh(View::VariantName);
  if (mode == kLoadOpen) {
    g.Flow.Caption = WindowCaption(p.title);
    h.refresh(View::Caption);
  }
  SetProgressValue(g, 0);
}

// Sets the game up from the plan and replays its moves. `trial` runs on a
// scratch game: nothing is shown, logged or searched.
// Moves whose text fits several captures are noted in `forks`.
bool Apply(GameState& g, const LoadPlan& p, int mode, bool trial, ReplayFailure* fail, bool* commentSeen,
           int* startSide = nullptr, std::vector<RouteFork>* forks = nullptr) {
  const bool variantChosen = p.pdn ? SetUpPdnGame(g, p, mode) : (SetUpOwnGame(g, p.own, mode), false);
  if (startSide) *startSide = g.P.SideToMove;
  bool decided = false;
  const int total = static_cast<int>(p.items->size());
  int done = 0;
  if (!trial && mode == kLoadOpen && total > 0) g.host->status(g.Skin.StatusPanel, "Loading and analyzing...");
  size_t lastMove = p.items->size();
  for (size_t i = p.items->size(); i-- > 0;)
    if (!(*p.items)[i].comment) {
      lastMove = i;
      break;
    }
  const std::function<void()> showLoaded = [&] { ShowGameAsLoaded(g, p, mode); };
  const std::function<void()> none;
  for (const GameFileItem& item : *p.items) {
    const size_t itemIndex = static_cast<size_t>(done);
    ++done;
    if (item.comment) {
      g.Game.PlyComments[std::clamp(g.P.GamePly, 0, kMaxGamePly)] = item.text;
      *commentSeen = true;
      continue;
    }
    std::string key = item.text;
    // The own format writes no separator; PDN writes "-" or "x" (or ":").
    MoveKind kind = MoveKind::Any;
    if (p.pdn) {
      kind = SeparatorKind(item.text);
      if (variantChosen && !decided) {
        const bool letters = std::isalpha(static_cast<unsigned char>(item.text[0])) != 0;
        g.Opt.Notation = letters || g.Rules.PiecesOnBlack == 2 ? 0 : 1;
        decided = true;
        if (!trial) g.host->refresh(View::Board);
      }
      key = InNotation(g, PdnMoveKey(item.text));
    }
    const int route = itemIndex < p.captureRoutes.size() ? p.captureRoutes[itemIndex] : 0;
    int fits = 0;
    const bool last = itemIndex == lastMove;
    const bool played =
        PlayFileMove(g, key, kind, trial, last, route, &fits, !trial && last ? showLoaded : none);
    if (fits > 1 && forks) forks->push_back({itemIndex, route, fits});
    if (!played) {
      // The move as the file writes it.
      *fail = {item.text, item.line, itemIndex};
      return false;
    }
    if (!trial) SetProgress(g, done, total);
  }
  return true;
}

// The state a trial load reads before it sets the game up.
void CopyForTrial(const GameState& from, GameState& to) {
  to.ProgramFolder = from.ProgramFolder;
  to.UserFolder = from.UserFolder;
  to.board = from.board;
  to.StartBoard = from.StartBoard;
  to.DefaultBoard = from.DefaultBoard;
  to.Rules = from.Rules;
  to.VariantRules = from.VariantRules;
  to.Variant = from.Variant;
  to.Tables = from.Tables;
  to.Opt = from.Opt;
  to.Mat = from.Mat;
  to.P.SideToMove = from.P.SideToMove;
  to.Flow.PositionPreset = from.Flow.PositionPreset;
  to.Rng = from.Rng;
}

// Trial replays before one can fail: each backs up one capture choice. Each
// replays the game from its start, so that a load costs at most this many
// replays; a game that needs more is refused at the furthest move reached.
constexpr int kMaxRouteTrials = 64;

// The trial replay on a fresh scratch game (left in `trial`). Where a short
// text fits captures of different pieces, the capture with which the rest of
// the game replays is taken: when a later move fails, the replay backs up to
// the last such move and takes its next capture (plan.captureRoutes keeps the
// choices). Of several that replay to the end, the first found; when none
// does, the failure of the replay that got furthest is reported (the first
// of them), the move the file gets wrong.
bool TrialReplay(const GameState& g, std::unique_ptr<GameState>& trial, LoadPlan& plan, int mode,
                 ReplayFailure* fail, bool* commentSeen, int* startSide = nullptr) {
  plan.captureRoutes.clear();
  ReplayFailure furthest;
  for (int attempt = 0;; ++attempt) {
    trial = std::make_unique<GameState>();
    CopyForTrial(g, *trial);
    std::vector<RouteFork> forks;
    ReplayFailure failure;
    if (Apply(*trial, plan, mode, true, &failure, commentSeen, startSide, &forks)) return true;
    if (attempt == 0 || failure.item > furthest.item) furthest = failure;
    while (!forks.empty() && forks.back().route + 1 >= forks.back().fits) forks.pop_back();
    if (forks.empty()) break;
    if (attempt + 1 >= kMaxRouteTrials) {
      furthest.capped = true;
      break;
    }
    const RouteFork& back = forks.back();
    // The choices before it stay; the ones after it start again from the first.
    plan.captureRoutes.resize(std::max(plan.captureRoutes.size(), back.item + 1), 0);
    std::fill(plan.captureRoutes.begin() + static_cast<std::ptrdiff_t>(back.item), plan.captureRoutes.end(), 0);
    plan.captureRoutes[back.item] = back.route + 1;
  }
  plan.captureRoutes.clear();
  *fail = furthest;
  return false;
}

// Whether the variant's file can be read (American Checkers is built in).
// `piecesOnBlack`, when given, receives the squares its pieces use.
bool VariantReadable(const GameState& g, const std::string& name, std::string* why, int* piecesOnBlack = nullptr) {
  auto probe = std::make_unique<GameState>();
  probe->ProgramFolder = g.ProgramFolder;
  probe->UserFolder = g.UserFolder;
  probe->Opt = g.Opt;
  probe->Rules.Variant = name;
  if (piecesOnBlack) *piecesOnBlack = RuleSet{}.PiecesOnBlack;
  if (ReadVariantFile(*probe, why)) {
    if (piecesOnBlack) *piecesOnBlack = probe->VariantRules.PiecesOnBlack;
    return true;
  }
  std::error_code ec;
  return name == kStandardVariantName && !std::filesystem::exists(VariantFilePath(*probe, name), ec);
}

std::string GameWhere(const std::string& title, const PdnFile& file, int chosen) {
  return title + ", game " + std::to_string(chosen) + " (line " + std::to_string(file.games[chosen - 1].firstLine) +
         ")";
}

// A FEN names its squares by number (always squares in play) or by letter:
// a letter square must be one the game's pieces use. The game is played on
// the board of the variant chosen for it (a GameType tag before "Open as",
// as the set-up takes them), else of the standard game for a game opened,
// else of the rules in force.
bool FenSquaresInPlay(const GameState& g, const LoadPlan& plan, int mode, const std::string& where,
                      FileProblem& problem) {
  if (!plan.hasFen) return true;
  int piecesOnBlack = mode == kLoadOpen ? RuleSet{}.PiecesOnBlack : g.Rules.PiecesOnBlack;
  for (const std::string* name : {&plan.openAs, &plan.gameTypeVariant}) {
    std::string why;
    if (!name->empty()) VariantReadable(g, *name, &why, &piecesOnBlack);
  }
  if (piecesOnBlack >= 2) return true;
  for (const FenPiece& piece : plan.fen.pieces) {
    if (piece.square.empty()) continue;
    const int col = piece.square[0] - 'A' + 1, row = piece.square[1] - '1' + 2;
    int playable = 0;
    if (col >= 1 && col <= 8 && row >= 2 && row <= 9) IsPlayableCorrection(piecesOnBlack, 10 * row + col, &playable);
    if (!playable) {
      problem = {"Error", "Illegal Setup!\r\n" + where + ": the FEN puts a piece on " + ToLower(piece.square) +
                              ", a square the game does not use."};
      return false;
    }
  }
  return true;
}

// Whether a PDN game names a square number above 32 and no tag says what
// board it is played on.
bool LooksLikeLargerBoard(const LoadPlan& p) {
  if (!p.pdn || p.hasRulesTag || !p.tags.GameType.empty() || !p.items) return false;
  for (const GameFileItem& item : *p.items) {
    if (item.comment) continue;
    int number = 0;
    for (char c : item.text + " ") {
      if (c >= '0' && c <= '9') {
        number = std::min(10 * number + (c - '0'), 1000);
      } else {
        if (number > 32) return true;
        number = 0;
      }
    }
  }
  return false;
}

// What a game that names squares above 32 without a GameType tag is told;
// `what` is the part of the game that names them.
std::string LargerBoardText(std::string_view what) {
  return "\r\n" + std::string(what) +
         " squares above 32 and it has no GameType tag: it looks like a game on a larger board.";
}

std::string IllegalMoveText(const LoadPlan& p, const ReplayFailure& f) {
  // A move text that ends in a colon is quoted, so that the colons are not
  // read as one ("D4:": Illegal move!).
  const std::string move = Excerpt(f.moveText);
  const bool quote = !move.empty() && move.back() == ':';
  std::string text = (quote ? "\"" + move + "\"" : move) + ": Illegal move!\r\n" + p.title + ", line " +
                     std::to_string(f.line);
  if (f.capped)
    text += "\r\nIts short captures fit more routes than the " + std::to_string(kMaxRouteTrials) +
            " tried; the move named is where the furthest of them failed.";
  if (LooksLikeLargerBoard(p)) text += LargerBoardText("Its moves name");
  return text;
}

bool PlanPdnGame(const GameState& g, const PdnFile& file, int chosen, LoadPlan& plan, FileProblem& problem);

bool ReadPlan(GameState& g, std::string_view bytes, int mode, const PdnChooser& choose, LoadPlan& plan) {
  FileProblem problem;
  auto refuse = [&] {
    g.host->message(Icon::Exclamation, problem.title, problem.text);
    return false;
  };
  if (!plan.pdn) {
    if (!ParseGameFile(bytes, plan.title, plan.own, problem)) return refuse();
    if (!plan.own.CutFields.empty()) g.host->message(Icon::Exclamation, "Warning", ListText(plan.own.CutFields));
    std::string why;
    if (int line = 0; !OwnSetupInPlay(g, plan.own, &why, &line)) {
      problem = {"Error", "Error in loading game file!\r\n" + plan.title + ", line " + std::to_string(line) + ": " + why};
      return refuse();
    }
    plan.items = &plan.own.Items;
    return true;
  }
  PdnFile file;
  if (!ReadPdnFile(bytes, plan.title, file, problem)) return refuse();
  const int count = static_cast<int>(file.games.size());
  int chosen = 1;
  if (mode != kLoadOpen && g.Opt.BookRandom == 1)
    chosen = static_cast<int>(IntFloor(Rnd(g) * count)) + 1;
  else if (choose)
    chosen = choose(file, mode == kLoadOpening, &plan.openAs);
  if (chosen < 1 || chosen > count) return false;  // the chooser was cancelled
  g.Header.PdnChosenGame = chosen;
  if (!PlanPdnGame(g, file, chosen, plan, problem) ||
      !FenSquaresInPlay(g, plan, mode, GameWhere(plan.title, file, chosen), problem))
    return refuse();
  return true;
}

// The plan of game `chosen` (1-based) of a PDN file: its moves and comments,
// its rules tag, GameType or "Open as" variant (plan.openAs) and set-up.
bool PlanPdnGame(const GameState& g, const PdnFile& file, int chosen, LoadPlan& plan, FileProblem& problem) {
  const PdnGame& game = file.games[chosen - 1];
  plan.tags = game.tags;
  std::string resultNote;
  if (!SplitPdnMoves(game, plan.title, plan.pdnItems, problem, &resultNote)) return false;
  plan.items = &plan.pdnItems;
  const std::string where = GameWhere(plan.title, file, chosen);
  // A notice about one tag names the tag's own line.
  auto tagWhere = [&](int line) {
    return plan.title + ", game " + std::to_string(chosen) + ", line " + std::to_string(line);
  };
  if (!plan.tags.RulesTag.empty()) {
    std::string why;
    const PdnRulesTag& t = plan.rulesTag;
    if (!ParsePdnRulesTag(plan.tags.RulesTag, file.version, plan.rulesTag, &why) || !RulesInRange(t.values, &why) ||
        !SetupInPlay(g, t.setup, PiecesOnBlackOf(t.values, RuleSet{}.PiecesOnBlack), t.variant, g.Opt.UseClassic,
                     &why)) {
      problem = {"Error",
                 "Error in loading PDN file!\r\n" + tagWhere(plan.tags.RulesTagLine) + ": the rules tag: " + why,
                 plan.tags.RulesTagLine};
      return false;
    }
    plan.hasRulesTag = true;
  } else {
    if (!plan.tags.GameType.empty()) {
      std::string why;
      if (!PdnGameTypeVariant(plan.tags.GameType, &plan.gameTypeVariant, &why)) {
        problem = {"Error", where + ":\r\n" + why};
        return false;
      }
    }
    // The rules come from a variant file: one that cannot be read is said
    // here, before anything is set up under other rules.
    for (const std::string* name : {&plan.openAs, &plan.gameTypeVariant}) {
      std::string why;
      if (!name->empty() && !VariantReadable(g, *name, &why)) {
        problem = {"Error", where + ":\r\n" + why};
        return false;
      }
    }
    if (plan.tags.SetUp == "1" || !plan.tags.Fen.empty()) {
      if (!ParseFen(plan.tags.Fen, plan.fen)) {
        problem = {"Error", "Illegal Setup!\r\n" + where + ": " + plan.fen.why + "."};
        if (plan.fen.squareAbove32 && plan.tags.GameType.empty()) problem.text += LargerBoardText("Its set-up names");
        return false;
      }
      plan.hasFen = true;
    }
  }
  // What the game still loads with, told once.
  std::vector<std::string> warnings;
  for (const PdnTags::CutTag& tag : plan.tags.CutTags)
    warnings.push_back(tagWhere(tag.line) + ": " + FieldCutText("the tag " + tag.name));
  if (!resultNote.empty()) warnings.push_back(resultNote);
  if (!warnings.empty()) g.host->message(Icon::Exclamation, "Warning", ListText(warnings));
  return true;
}

void ResetDisplays(GameState& g) {
  Host& h = *g.host;
  h.status(g.Skin.StatusPanel, "");
  g.Driver.LegalMoveLines.clear();
  g.Driver.RootScoreLines.clear();
  h.refresh(View::LegalMoves);
  h.refresh(View::RootScores);
  g.Search.EngineOutputText = "no calculation";
  h.refresh(View::EngineOutput);
  g.Flow.CommentText.clear();
  h.refresh(View::Comment);
  SetProgress(g, 0, 100);
}

void SetPlayerNames(GameState& g, const LoadPlan& p, int mode) {
  auto& f = g.Flow;
  const bool swap = g.P.SideToMove == 1;
  if (g.Rules.BlackStarts == 1) {
    f.PlayerName2 = swap ? g.Opt.UserName : "Computer";
    f.PlayerName1 = swap ? "Computer" : g.Opt.UserName;
  } else {
    f.PlayerName2 = swap ? "Computer" : g.Opt.UserName;
    f.PlayerName1 = swap ? g.Opt.UserName : "Computer";
  }
  if (g.Opt.PlayMode == 1) f.PlayerName1 = f.PlayerName2 = g.Opt.UserName;
  if (p.pdn && mode == kLoadOpen) {
    // Each tag's name beside its own colour: PlayerName1 stands beside the
    // side that moves first.
    const std::string black = p.tags.Black.empty() ? "Player" : p.tags.Black;
    const std::string white = p.tags.White.empty() ? "Player" : p.tags.White;
    const bool blackFirst = g.Rules.BlackStarts == 1;
    f.PlayerName1 = blackFirst ? black : white;
    f.PlayerName2 = blackFirst ? white : black;
  }
}

void Finish(GameState& g, const LoadPlan& p, int mode, const std::string& path, bool commentSeen) {
  Host& h = *g.host;
  const bool over = g.Flow.GameOver == 1;
  ListLoadedGameMoves(g, over);
  g.Eval.PrioritySquare = 0;
  if (mode == kLoadDoMoves) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  if (p.pdn) {
    GameHeader& hd = g.Header;
    const PdnTags& t = p.tags;
    hd.GameEvent = t.Event;
    hd.GameDate = t.Date;
    hd.GameSite = t.Site;
    hd.GameRound = t.Round;
    hd.GameBlack = t.Black;
    hd.GameBlackElo = t.BlackElo;
    hd.GameWhite = t.White;
    hd.GameWhiteElo = t.WhiteElo;
    hd.GameSetUp = t.SetUp;
    hd.GameFen = t.Fen;
    hd.GameEco = t.Eco;
    hd.GameType = t.GameType;
    hd.RulesTagValue = t.RulesTag;
    NoteLoadedDetails(hd);
    g.Flow.LoadedResult = t.Result;
    if (g.Flow.GameResult.empty()) g.Flow.GameResult = g.Flow.LoadedResult;
  }
  SetPlayerNames(g, p, mode);

  if (mode != kLoadDoMoves) g.Flow.GameFileTitle = mode == kLoadOpening ? std::string() : p.title;

  g.host->refresh(View::Board);
  g.host->refresh(View::SideToMove);
  g.host->refresh(View::MoveList);
  g.host->refresh(View::VariantName);
  if (g.Flow.GameStarted == 1) {
    h.setCommandEnabled(Command::Back, true);
    h.setCommandEnabled(Command::First, true);
  }
  h.setCommandEnabled(Command::MoveList, true);
  h.setCommandEnabled(Command::LegalMoves, !over);
  h.setCommandEnabled(Command::RootScores, true);
  g.P.TouchedSquare = 0;
  g.Flow.CommentText = g.Game.PlyComments[std::clamp(g.P.GamePly, 0, kMaxGamePly)];
  h.refresh(View::Comment);
  // The load is over: the bar is empty again.
  SetProgressValue(g, 0);
  // The status line last: drawing the board shows the side to move there.
  if (mode == kLoadOpen) {
    if (p.pdn) {
      std::string status = g.Flow.LoadedResult;
      if (!commentSeen) status += ";  no comments";
      if (!g.Driver.DrawNote.empty()) status += ";  " + g.Driver.DrawNote;
      h.status(g.Skin.StatusPanel, status);
    }
    g.Flow.Caption = WindowCaption(p.title);
    h.refresh(View::Caption);
  } else if (over) {
    // The end the game-over test told stays in the status bar.
  } else if (mode == kLoadAutosave) {
    // The game of the last run goes on: the status bar says who is to move.
    h.status(g.Skin.StatusPanel, g.P.SideToMove == -1 ? "Black moves" : "White moves");
  } else {
    h.status(g.Skin.StatusPanel, "");
  }
  g.Flow.Busy = 0;
}

// The trial replay on a scratch game, then the real one; the game in hand is
// replaced only when the trial went through.
bool ReplayPlan(GameState& g, LoadPlan& plan, int mode, const std::string& path, const std::string& savedTitle,
                int* failLine) {
  ReplayFailure failure;
  bool commentSeen = false;
  {
    std::unique_ptr<GameState> trial;
    int side = 0;
    bool ok = TrialReplay(g, trial, plan, mode, &failure, &commentSeen, &side);
    if (!ok && plan.pdn && !plan.hasRulesTag && !plan.hasFen && trial->Rules.RndColor == 1) {
      // Colours drawn at random: the game's moves tell which side began.
      plan.startSide = -side;
      ReplayFailure other;
      ok = TrialReplay(g, trial, plan, mode, &other, &commentSeen);
    }
    if (!ok) {
      if (failLine) *failLine = failure.line;
      g.host->message(Icon::Exclamation, "Error", IllegalMoveText(plan, failure));
      return false;
    }
    if (plan.startSide == 0) plan.startSide = side;
  }

  g.Driver.DrawNote.clear();
  ResetDisplays(g);
  g.Flow.Busy = 1;
  commentSeen = false;
  if (!Apply(g, plan, mode, false, &failure, &commentSeen)) {
    // The scratch replay accepted every move on the same start position and
    // side, so this is not expected; the game then starts afresh.
    if (failLine) *failLine = failure.line;
    g.host->message(Icon::Exclamation, "Error", IllegalMoveText(plan, failure));
    g.Flow.PositionPreset = 0;
    g.P.TouchedSquare = 0;
    InitGame(g);
    g.Flow.Busy = 0;
    g.host->refresh(View::Board);
    return false;
  }
  plan.title = savedTitle;
  Finish(g, plan, mode, path, commentSeen);
  return true;
}


}  // namespace

bool RandomOpeningAllowed(const GameState& g) {
  return BoardToSetupString(g) == kStandardSetup && g.Rules.AntiMode == 0 && g.Rules.PiecesOnBlack == 1 &&
         g.Rules.BlackStarts == 1;
}

bool LoadGame(GameState& g, int mode, const std::string& pathIn, const std::string& titleIn,
              const PdnChooser& choose) {
  if (mode == kLoadOpening && !RandomOpeningAllowed(g)) return false;
  LoadPlan plan;
  std::string path = pathIn;
  switch (mode) {
    case kLoadOpen: plan.title = titleIn.empty() ? FileTitleOf(pathIn) : titleIn; break;
    case kLoadOpening: path = ProgramFile(g, kOpeningFileName); break;
    case kLoadDoMoves: path = UserFile(g, kDoMovesFileName); break;
    default: path = UserFile(g, kAutosaveFileName); break;
  }
  if (plan.title.empty() && mode != kLoadOpening) plan.title = FileTitleOf(path);
  const std::string shownTitle = plan.title.empty() ? FileTitleOf(path) : plan.title;
  plan.pdn = IsPdnFileName(path);

  const FileRead read = ReadFileChecked(path, kMaxGameFileBytes);
  if (read.status != ReadStatus::Ok) {
    if (mode == kLoadOpen) g.host->message(Icon::Exclamation, kProgramName, GameFileReadText(read, shownTitle));
    return false;
  }
  const std::string savedTitle = plan.title;
  plan.title = shownTitle;
  if (!ReadPlan(g, read.bytes, mode, choose, plan)) return false;
  return ReplayPlan(g, plan, mode, path, savedTitle, nullptr);
}

std::string GameFileReadText(const FileRead& read, const std::string& title) {
  switch (read.status) {
    case ReadStatus::Missing: return title + " does not exist";
    case ReadStatus::TooLarge:
      return title + " is too large: " + GameFileSizeLimitText() + ", a PDN collection too.";
    default: return title + " cannot be read" + (read.reason.empty() ? "." : ": " + read.reason + ".");
  }
}

bool LoadPdnGame(GameState& g, const PdnFile& file, int number, const std::string& openAs,
                 const std::string& fileTitle, int* failLine) {
  if (failLine) *failLine = 0;
  if (number < 1 || number > static_cast<int>(file.games.size())) return false;
  if (failLine) *failLine = file.games[number - 1].firstLine;
  LoadPlan plan;
  plan.pdn = true;
  plan.title = fileTitle;
  plan.openAs = openAs;
  g.Header.PdnChosenGame = number;
  FileProblem problem;
  if (!PlanPdnGame(g, file, number, plan, problem) ||
      !FenSquaresInPlay(g, plan, kLoadOpen, GameWhere(fileTitle, file, number), problem)) {
    // The line the message names: a tag's or a move's own, else the game's.
    if (failLine && problem.line > 0) *failLine = problem.line;
    g.host->message(Icon::Exclamation, problem.title, problem.text);
    return false;
  }
  return ReplayPlan(g, plan, kLoadOpen, fileTitle, fileTitle, failLine);
}

}  // namespace m8
