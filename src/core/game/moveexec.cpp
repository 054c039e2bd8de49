#include "core/game/moveexec.h"

#include <algorithm>
#include <cctype>
#include <span>
#include <utility>

#include "core/engine/book.h"
#include "core/engine/evaluate.h"
#include "core/engine/quicksearch.h"
#include "core/engine/searchprogress.h"
#include "core/files/gamelog.h"
#include "core/game/boardmouse.h"
#include "core/game/gameover.h"
#include "core/game/legalmovelist.h"
#include "core/game/playmode.h"
#include "core/numtext.h"
#include "core/rules/drawrules.h"
#include "core/rules/movegen.h"
#include "core/rules/notation.h"

namespace m8 {

namespace {

// What the move lists show of the move just made: from and to square names
// with "-" or the capture character between them ("K" after a crowning); a
// placement shows its destination only.
std::string DisplayText(const GameState& g) {
  const std::string& squares = g.Texts.CaptureSquaresText;
  std::string text = squares;
  const std::string sep = g.P.PlayedCapture != 0 ? g.Texts.CaptureChar : std::string("-");
  if (squares.size() > 4) {
    // A capture named by its landing squares: "c3xa5xc7", "22x13x6".
    text = squares.substr(0, 2);
    for (size_t at = 2; at < squares.size(); at += 2) text += sep + Trim(squares.substr(at, 2));
  } else if (squares.size() > 2) {
    text = squares.substr(0, 2) + sep + squares.substr(squares.size() - 2);
  }
  text = ToLower(text);
  if (g.P.PlayedCrowning != 0) text += "K";
  return text;
}

// The quick opinion of the new position, with user input kept out while the
// search lets the window's events through.
int QuickScore(GameState& g) {
  const int wasBusy = g.Flow.Busy;
  g.Flow.Busy = 1;
  const int score = QuickSearch(g);
  g.Flow.Busy = wasBusy;
  return score;
}

void GameOverTest(GameState& g, const MoveFollowUps& f, int quiet) {
  if (f.checkGameOver)
    f.checkGameOver(g, quiet);
  else
    CheckGameOver(g, quiet);
}

}  // namespace

std::string NormaliseMoveText(const GameState& g, std::string text) {
  // "-" for a move; "x" or ":" (whichever the capture character is) for a
  // capture; either capture separator is read.
  const std::string& capture = g.Texts.CaptureChar;
  auto separator = [&](char c) {
    return c == '-' || c == 'x' || c == 'X' || c == ':' || (capture.size() == 1 && c == capture[0]);
  };
  if (std::none_of(text.begin(), text.end(), separator)) return text;
  std::string out, name;
  auto endName = [&] {
    name = Trim(name);
    if (name.size() == 1) name = " " + name;
    out += name;
    name.clear();
  };
  for (char c : text) {
    if (separator(c))
      endName();
    else
      name += c;
  }
  endName();
  return out;
}

std::string TypedMoveText(const GameState& g, std::string_view typed) {
  std::string text = ToUpper(typed);
  // The crowning mark the move lists show ("14x23x30K") names no square.
  if (text.size() >= 2 && text.back() == 'K' && std::isdigit(static_cast<unsigned char>(text[text.size() - 2])))
    text.pop_back();
  const size_t x = text.find('X');
  if (x != std::string::npos) text[x] = 'x';
  return NormaliseMoveText(g, std::move(text));
}

std::string LegalListMoveText(const GameState& g, std::string_view line) {
  // A square name ends in a digit, so the marks after it come off safely:
  // "b" for a book move, "K" for a crowning (a crowning book move has both).
  std::string_view core = line;
  if (!core.empty() && core.back() == 'b') core.remove_suffix(1);
  if (!core.empty() && core.back() == 'K') core.remove_suffix(1);
  return TypedMoveText(g, core);
}

std::string RootListMoveText(GameState& g, int row) {
  if (row < 0 || row >= kRootScoreSlots) return {};
  const auto& t = g.Driver.RootScores;
  const int from = t[0][row], to = t[1][row];
  if (from == 0 || from == kNoRootScore || to == 0 || to == kNoRootScore) return {};
  // The move as the list names it, a capture that shares its ends by its route.
  const std::string listed = RootScoreMoveText(g, row);
  if (!listed.empty()) return LegalListMoveText(g, listed);
  return NormaliseMoveText(g, ToUpper(SquareNotation(g, from, 0) + SquareNotation(g, to, 0)));
}

std::string BoardMoveText(const GameState& g, int from, int to) {
  return ToUpper(SquareNotation(g, from, 0) + SquareNotation(g, to, 0));
}

std::string IllegalMoveReason(const GameState& g, std::string_view text) {
  const int fromSq = text.size() >= 2 ? SquareNumber(g, text.substr(0, 2)) : 0;
  if (fromSq == 0 && !text.empty()) {
    // A square named in the notation that is not in use.
    const size_t at = text.find_first_not_of(' ');
    const char c = at == std::string_view::npos ? ' ' : text[at];
    const bool letter = c >= 'A' && c <= 'H', digit = c >= '0' && c <= '9';
    if (g.Opt.Notation == 0 && digit) return "the board is in algebraic notation (as c3-d4)";
    if (g.Opt.Notation != 0 && letter) return "the board is in numbered notation (as 9-14)";
  }
  // A capture path ends on its last square.
  const int toSq = text.size() > 5   ? SquareNumber(g, text.substr(text.size() - 2))
                   : text.size() > 2 ? SquareNumber(g, text.substr(2, 2))
                                     : 0;
  const int ply = std::clamp(g.P.Ply, 0, kMaxPly);
  const int first = std::clamp(g.P.PlyStart[ply], 0, kMoveListSize);
  const int end = std::clamp(g.P.PlyStart[ply + 1], first, kMoveListSize);
  const bool captureExists =
      std::any_of(g.P.MoveList.begin() + first, g.P.MoveList.begin() + end, [](const MoveRecord& m) {
        return m.IsCapture();
      });
  if (captureExists && g.Rules.CapRequired == 1) {
    // The first 21 capture paths the generation found, before the capture
    // rules chose among them.
    const auto& c = g.Gen.Gen;
    const int count = std::min(c.Count, 21);
    for (int k = 0; k < count; ++k)
      if (c.Candidates[k].From == fromSq && c.Candidates[k].To == toSq) return "you cannot jump that way";
    return "you need to jump";
  }
  if (toSq >= 21 && toSq <= 98 && g.board[toSq] != 0) return "that square is not empty";
  return {};
}

std::string IllegalMoveMessage(const std::string& reason) {
  return reason.empty() ? std::string("Illegal move") : "Illegal move: " + reason;
}

std::vector<CaptureChoice> CaptureChoices(GameState& g, std::string_view text, bool startAndEndOnly,
                                          MoveKind kind) {
  std::vector<CaptureChoice> choices;
  const std::vector<int> named =
      MovesNamedBy(g, text, startAndEndOnly ? ExactText::NamesAll : ExactText::NamesIt, kind);
  if (named.size() < 2) return choices;
  const MoveTexts saved = g.Texts;
  for (int k : named) {
    const MoveRecord& m = g.P.MoveList[k];
    MoveString(g, m, true);
    CaptureChoice c;
    c.move = m;
    c.moveText = ToUpper(g.Texts.CaptureSquaresText);
    c.label = Trim(g.Texts.DisplayMoveText);
    if (m.IsCapture()) c.label += "  takes";
    for (int i = 0; i < m.CapturedCount && i < kMaxCaptured; ++i)
      c.label += (i == 0 ? " " : ", ") + SquareNotation(g, m.CapturedCell[i], 1);
    choices.push_back(std::move(c));
  }
  g.Texts = saved;
  return choices;
}

std::string AmbiguousMoveMessage(const std::vector<CaptureChoice>& choices) {
  std::string text = "Several captures fit this move. Enter one of:";
  for (const CaptureChoice& c : choices) text += "\r\n" + c.label;
  return text;
}

std::string MoveListLine(int gamePly, const std::string& displayText) {
  if (gamePly % 2 == 0) return std::string(6, ' ') + displayText;
  const int n = (gamePly + 1) / 2;
  std::string line = n < 10 ? "  " : n < 100 ? " " : "";
  return line + SignedText(n) + ". " + displayText;
}

namespace {

// The legal move of the current position that is `chosen` (the same start,
// end, route and pieces taken, none for a move without capture), played
// through the move path.
bool EnterChosenCapture(GameState& g, const MoveRecord& chosen, MoveSource source, const MoveFollowUps& f) {
  ResetPly(g);
  if (!GenerateLegalMoves(g)) return false;
  const std::vector<int> route = CapturePath(chosen);
  const std::span<const MoveRecord> moves = PlyMoves(g, g.P.Ply);
  for (size_t k = 0; k < moves.size(); ++k) {
    const MoveRecord& m = moves[k];
    if (m.From == chosen.From && m.To == chosen.To && SameCapturedPieces(m, chosen) && CapturePath(m) == route)
      return EnterMoveIndex(g, g.P.PlyStart[g.P.Ply] + static_cast<int>(k), source, f);
  }
  return false;
}

// A refused move told to the user; the move box takes no input meanwhile.
void RefuseMove(GameState& g, MoveSource source, const std::string& text) {
  Host& h = *g.host;
  const bool box = source != MoveSource::Board;
  if (box) h.setCommandEnabled(Command::MoveEntry, false);
  h.message(Icon::Exclamation, "Error", text);
  if (box) h.setCommandEnabled(Command::MoveEntry, true);
}

}  // namespace

bool EnterMove(GameState& g, std::string_view text, MoveSource source, const MoveFollowUps& f, MoveKind kind) {
  const bool fromFile = source == MoveSource::GameFile;
  // A finished game takes no more moves (the board ignores them the same way).
  if (g.Flow.GameOver == 1 && !fromFile) {
    RefuseMove(g, source, "the game is over");
    return false;
  }
  // The game tables are full: no move is matched, none is illegal.
  if (g.P.GamePly >= kMaxGamePly) {
    if (!fromFile) RefuseMove(g, source, "the game has reached its move limit");
    return false;
  }
  ForgetStaleTouch(g);
  // A drop and a root-list entry give where the piece went and no more: when
  // captures of other pieces go from there to there, or a capture and a move
  // without capture, the user picks one (a single jump among them too).
  std::vector<CaptureChoice> choices;
  if (source == MoveSource::Board || (source == MoveSource::RootMoveList && kind == MoveKind::Any)) {
    ResetPly(g);
    if (GenerateLegalMoves(g)) choices = CaptureChoices(g, text, /*startAndEndOnly=*/true);
  }
  // A file written before captures were named by their landing squares may
  // give a short text for one of several captures: the first is taken, as
  // it was then.
  if (choices.empty() && PlayMoveString(g, text, fromFile, kind)) {
    PlayedMoveSequence(g, source, f);
    return true;
  }
  if (fromFile) return false;  // the loader reports its own failures
  Host& h = *g.host;
  if (choices.empty()) choices = CaptureChoices(g, text, false, kind);
  if (!choices.empty()) {
    if (source == MoveSource::Board || source == MoveSource::RootMoveList) {
      // The square reached says too little: the user picks the capture.
      std::vector<std::string> labels;
      bool allCaptures = true;
      for (const CaptureChoice& c : choices) {
        labels.push_back(c.label);
        allCaptures = allCaptures && c.move.IsCapture();
      }
      const int pick = h.choose(allCaptures ? "Which capture?" : "Which move?", labels);
      h.refresh(View::Board);
      if (pick < 0 || pick >= static_cast<int>(choices.size())) {
        if (source == MoveSource::Board && g.Opt.PlayMode == 1) g.BoardShown.MovesHighlighted = 0;
        return false;
      }
      // The chosen capture is played as itself, not looked up again by its
      // text: a text may fit it and another capture alike.
      return EnterChosenCapture(g, choices[static_cast<size_t>(pick)].move, source, f);
    }
    h.refresh(View::Board);
    h.setCommandEnabled(Command::MoveEntry, false);
    h.message(Icon::Exclamation, "Error", AmbiguousMoveMessage(choices));
    h.setCommandEnabled(Command::MoveEntry, true);
    return false;
  }
  h.refresh(View::Board);
  const bool withReason = source == MoveSource::Board || source == MoveSource::Typed;
  const std::string reason = withReason ? IllegalMoveReason(g, text) : std::string();
  RefuseMove(g, source, IllegalMoveMessage(reason));
  if (source == MoveSource::Board && reason.empty() && g.Opt.PlayMode == 1) g.BoardShown.MovesHighlighted = 0;
  return false;
}

bool EnterMoveIndex(GameState& g, int index, MoveSource source, const MoveFollowUps& f) {
  if (!PlayMoveIndex(g, index)) return false;
  PlayedMoveSequence(g, source, f);
  return true;
}

bool EnterTypedMove(GameState& g, std::string_view typed, const MoveFollowUps& f) {
  if (g.Flow.Busy == 1) return false;
  return EnterMove(g, TypedMoveText(g, typed), MoveSource::Typed, f, SeparatorKind(typed, g.Texts.CaptureChar));
}

bool PlayLegalListMove(GameState& g, int row, const MoveFollowUps& f) {
  const auto& lines = g.Driver.LegalMoveLines;
  if (row < 0 || row >= static_cast<int>(lines.size())) return false;
  const std::string text = LegalListMoveText(g, lines[row]);
  return EnterMove(g, text, MoveSource::LegalMoveList, f, SeparatorKind(lines[row], g.Texts.CaptureChar));
}

bool PlayRootListMove(GameState& g, int row, const MoveFollowUps& f,
                      const std::function<void(GameState&)>& takeBackOne) {
  const std::string text = RootListMoveText(g, row);
  if (text.empty()) return false;
  // A line that names its move as the legal-move list does is read as that
  // list's line; one that gives the two squares only lets the user pick.
  const std::string listed = RootScoreMoveText(g, row);
  const MoveKind kind = listed.empty() ? MoveKind::Any : SeparatorKind(listed, g.Texts.CaptureChar);
  g.Rating.RatedGame = 0;
  if (takeBackOne) takeBackOne(g);
  return EnterMove(g, text, MoveSource::RootMoveList, f, kind);
}

void PlayedMoveSequence(GameState& g, MoveSource source, const MoveFollowUps& f) {
  Host& h = *g.host;
  const bool fromFile = source == MoveSource::GameFile;
  const int ply = g.P.GamePly;  // counts the move just made
  if (ply < 1 || ply > kMaxGamePly) return;

  if (source == MoveSource::LegalMoveList) {
    g.Driver.LegalMoveLines.clear();
    h.refresh(View::LegalMoves);
  }
  if (fromFile) {
    g.Rating.RatedGame = 0;
  } else {
    g.Search.EngineOutputText = "no calculation";
    h.refresh(View::EngineOutput);
    ShowStatus(g, "");
    h.setCommandEnabled(Command::RootScores, false);
    h.setCommandEnabled(Command::Back, true);
    h.setCommandEnabled(Command::First, true);
  }
  g.Flow.GameStarted = 1;

  // The game record; a continuation that had been taken back goes.
  const std::string display = DisplayText(g);
  const MoveRecord m = g.P.MoveList[std::clamp(g.P.PlayedMoveIndex, 0, kMoveListSize - 1)];
  const int oldLength = g.Game.GameLength;
  RecordGameMove(g, m);
  g.Game.MaterialBalanceHistory[ply] = g.P.MaterialBalance[g.P.Ply];
  g.Game.BoardMaterialHistory[ply] = g.P.BoardMaterial[g.P.Ply];
  if (ply + 1 < kGameTables) g.Game.GameMoves[ply + 1].From = 0;
  if (!fromFile) {
    h.setCommandEnabled(Command::Forward, false);
    h.setCommandEnabled(Command::Last, false);
  }
  for (int k = std::min(oldLength, kGameTables) - 1; k >= ply - 1; --k) {
    g.Driver.MoveListLines[k].clear();
    if (k + 1 < kGameTables) {
      g.Game.PlyComments[k + 1].clear();
      g.Game.ScoreHistory[k + 1] = 0;
    }
  }
  g.Driver.MoveListCount = ply - 1;
  g.Game.GameLength = ply;
  g.Flow.GameResult.clear();
  h.refresh(View::Board);

  SetPhaseThresholds(g);
  const int score = QuickScore(g);
  if (g.Opt.PlayMode == 1 || fromFile) g.Game.ScoreHistory[ply] = score;
  const int p = std::clamp(g.P.Ply, 1, kMaxPly);
  g.Game.MoveChoiceHistory[ply] = g.P.PlyStart[p] - g.P.PlyStart[p - 1];
  ResetPly(g);  // the new position is the root of what follows
  h.refresh(View::Board);
  if (g.Opt.UseSound == 1 && !fromFile) h.playSound(Sound::Click);

  // The move's texts: the record row, the move-list line with its book mark, the
  // comment box of the new position and the log line.
  const int row = (ply + 1) / 2;
  const int side = ply % 2 == 1 ? 0 : 1;
  if (ply == 1) PrintLogHeader(g);
  g.Driver.GameMoveTexts[row][side] = g.Texts.MoveText;
  std::string line = MoveListLine(ply, display);
  BookMove(g, 0);
  if (g.Book.InBook == 1) line += "b";
  g.Driver.MoveListLines[ply - 1] = line;
  g.Driver.MoveListCount = ply;
  g.Driver.MoveListSelected = ply - 1;
  g.Log.LogLine = line;
  if (!fromFile) {
    g.Flow.CommentText.clear();
    h.refresh(View::Comment);
  }
  // Who made the move: "2" the user, "3" a game file. A replaced computer
  // move keeps its mark.
  if (source != MoveSource::RootMoveList) g.Game.GameRecord[row][2 + side] = fromFile ? "3" : "2";
  LogUserMove(g, score);
  h.refresh(View::MoveList);

  CheckDrawRules(g);
  GameOverTest(g, f, fromFile ? 1 : 0);
  g.Search.HintFrom = 0;
  g.Search.HintTo = 0;

  if (fromFile) {
    GenerateLegalMoves(g);
    return;
  }
  if (g.Flow.GameOver != 0) {
    // The names stay on the sides they played; navigating puts the player
    // beside the side to move again.
    h.refresh(View::Board);
  } else {
    if (g.Opt.PlayMode == 0) {
      if (source == MoveSource::RootMoveList) {
        // The computer's move was replaced: the user is to move again.
        ShowStatus(g, "");
        g.Flow.Busy = 1;
        h.setCommandEnabled(Command::BoardMenu, false);
        std::swap(g.Flow.PlayerName1, g.Flow.PlayerName2);
        h.refresh(View::Board);
        g.Flow.Busy = 0;
      } else if (f.computerReply) {
        f.computerReply(g);
      } else {
        ComputerMoveNow(g, /*swapNames=*/false);
      }
    } else {
      ShowStatus(g, "Player-Player mode");
      SetProgressValue(g, 0);
      GameOverTest(g, f, 0);
      GenerateLegalMoves(g);
    }
    ListLegalMoves(g);
    g.Eval.PrioritySquare = 0;
    g.Eval.PriorityPiece = 0;
  }
  if (source == MoveSource::Board && g.Opt.PlayMode == 1) g.BoardShown.MovesHighlighted = 0;
}

}  // namespace m8
