// The move-execution path: every move entered by the user (dropped on the
// board, typed into the move box, double-clicked in the legal-move or the
// root-move list) and every move replayed from a game file is matched here
// and, once made, recorded, listed, logged and followed up in one sequence.
//
// The window only turns its input into a move text and shows what the state
// and the host say afterwards.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rules/movegen.h"
#include "core/state.h"

namespace m8 {

// Where a move came from; decides the record mark and the follow-up.
enum class MoveSource {
  Board,          // dragged and dropped on the board
  Typed,          // typed into the move box
  LegalMoveList,  // double-click in the legal-move list
  RootMoveList,   // double-click in the root-score list: replaces the computer's last move
  GameFile,       // replayed by the game loader
};

// What the path asks of the game flow around it.
struct MoveFollowUps {
  // The game-over test (quiet 1: draws are noted, not announced). Empty:
  // CheckGameOver.
  std::function<void(GameState&, int quiet)> checkGameOver;
  // The computer's reply in player-against-computer mode. Empty:
  // ComputerMoveNow(g, false), the names left on their sides.
  std::function<void(GameState&)> computerReply;
};

// Move texts. A move text is the from square name and the to square name run
// together, two characters each, upper case (C3D4, " 914"); a placement names
// its destination only.

// Drops the capture character and the hyphen: "C3-D4" -> "C3D4", "9-14" ->
// " 914", "11x18" -> "1118" (with the capture character "x").
std::string NormaliseMoveText(const GameState& g, std::string text);
// What the user typed: upper case, the first "X" back to "x", normalised.
std::string TypedMoveText(const GameState& g, std::string_view typed);
// A line of the legal-move list (its "K" and "b" marks dropped), as for a typed move.
std::string LegalListMoveText(const GameState& g, std::string_view line);
// Entry `row` of RootScores (line `row` of the root-score list) as a typed
// move: the move as the list names it (its whole route where captures share
// their ends), else its two squares; "" when there is none.
std::string RootListMoveText(GameState& g, int row);
// The move text of a drop from cell `from` onto cell `to`.
std::string BoardMoveText(const GameState& g, int from, int to);

// Why the move text names no legal move of the current ply, as read from the
// moves and capture candidates the matcher's generation left: "you need to
// jump", "you cannot jump that way", "that square is not empty", or "" when
// none of these applies.
std::string IllegalMoveReason(const GameState& g, std::string_view text);
// "Illegal move", or "Illegal move: " and the reason.
std::string IllegalMoveMessage(const std::string& reason);

// The move-list line of game ply `gamePly`: the move number right-aligned in four
// columns, ". " and the text for the first mover; six blanks and the text for
// the other side.
std::string MoveListLine(int gamePly, const std::string& displayText);

// One of several moves that a short move text names: the text that plays it
// (every landing square, upper case: "C3A5C7") and how it is offered
// ("c3xa5xc7  takes b4, b6"; a move without capture as it is listed, "c3-e5").
struct CaptureChoice {
  std::string moveText;
  std::string label;
  MoveRecord move;  // the capture itself, played when it is chosen
};
// The moves a move text names when it names more than one (read from the
// moves the matcher's generation left); empty otherwise. startAndEndOnly:
// the text is a start and an end only, whatever moves share them. kind: the
// separator the text was written with.
std::vector<CaptureChoice> CaptureChoices(GameState& g, std::string_view text, bool startAndEndOnly = false,
                                          MoveKind kind = MoveKind::Any);
// The refusal of a typed text that names several captures, listing them.
std::string AmbiguousMoveMessage(const std::vector<CaptureChoice>& choices);

// Matches the move text against the legal moves and plays it. A move that
// matches nothing is refused with a message ("Illegal move", with the reason
// for a board or typed move) and changes nothing; a matched one runs
// PlayedMoveSequence. A text that names several captures asks the user to
// choose (a drop on the board, a root-move list entry given by its two
// squares and without `kind`: a popup through the host,
// offered whenever captures of other pieces, or a capture and a move without
// capture, share the start and the end, and the chosen move played as
// itself; dismissed, nothing is played) or is
// refused listing them (typed, the legal-move list); from a game file the
// first is played. Once the game is
// over nothing is played ("the game is over"), nor once the game tables are
// full ("the game has reached its move limit"); a game file's move is refused
// without a message. `kind`: the separator the text was written with (typed,
// listed), as MovesNamedBy reads it; a drop has none. Returns whether the
// move was played.
bool EnterMove(GameState& g, std::string_view text, MoveSource source, const MoveFollowUps& f,
               MoveKind kind = MoveKind::Any);

// Legal move `index` of the current ply, chosen by the caller (a game file
// that names the pieces a capture takes), played as EnterMove plays a move
// it matched. False when there is no such move.
bool EnterMoveIndex(GameState& g, int index, MoveSource source, const MoveFollowUps& f);

// The typed move: nothing while Busy; otherwise EnterMove of TypedMoveText.
bool EnterTypedMove(GameState& g, std::string_view typed, const MoveFollowUps& f);

// A double-click on line `row` of the legal-move list: the list is emptied once the move
// matched. Nothing for a row that does not exist.
bool PlayLegalListMove(GameState& g, int row, const MoveFollowUps& f);
// A double-click on line `row` of the root-score list: the game no longer counts for the
// rating, the last ply is taken back (takeBackOne) and the chosen root move
// played in its place; no computer reply follows. Nothing for a row without
// a root move.
bool PlayRootListMove(GameState& g, int row, const MoveFollowUps& f,
                      const std::function<void(GameState&)>& takeBackOne);

// Everything after PlayMoveString made a move (GamePly counts it): the game
// record and its cut-off, the move-list line with the book mark, the log line,
// the click sound, the draw rules, the game-over test, then the computer's
// reply or the next player's moves, and the legal-move list.
void PlayedMoveSequence(GameState& g, MoveSource source, const MoveFollowUps& f);

}  // namespace m8
