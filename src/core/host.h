// The one door from the core to the window. The rules and search code call
// these hooks; the Qt main window implements them, tests use a recording fake
// and the command-line tools a null host.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace m8 {

enum class Icon { None, Information, Exclamation, Question, Critical };

// Menu entries and toolbar buttons that come in pairs, plus the lists and the
// move entry box, whose Enabled or checked state the game's commands set (the
// search leaves them alone).
enum class Command {
  NewGame,
  NewVariant,
  Open,
  Save,
  Compute,
  Cancel,
  First,
  Back,
  Forward,
  Last,
  OfferDraw,
  Resign,
  Hint,
  ComputerPlayer,
  PlayerPlayer,
  ComputerComputer,
  Options,
  Analyze,
  TurnBoard,
  NotationCheckers,
  BoardMenu,
  MoveList,      // the list of the game's moves
  LegalMoves,    // the list of the legal moves
  RootScores,    // the list of the root moves and their scores
  MoveEntry,     // the move box (with the move button and the comment box)
  Count
};

enum class Sound { Click, Roll };

// Parts of the window that show state held in the core. After changing that
// state the core asks the window to show it again.
enum class View {
  Board,         // the 64 squares and the material labels
  MoveList,      // the move list: the game's move texts
  LegalMoves,    // the legal-move list
  RootScores,    // the root-score list
  EngineOutput,  // the engine output label
  SideToMove,    // side labels and status bar
  VariantName,   // the variant name label
  Caption,       // window caption
  Comment,       // the comment box
  Strength,      // the strength label
  PlyValueOutput,  // the ply value table window's progress and main line
  MoveHighlights,  // the marks on the pieces that can move (cleared or set anew)
  PlyValueTable,   // the ply value table window: table, buttons, sort keys, progress
  ProblemText,     // the problem window's text
  Count
};

class Host {
 public:
  virtual ~Host() = default;
  // Called at every search node; a window runs its event loop from here now
  // and then so that Cancel is seen.
  virtual void pump() {}
  virtual void message(Icon, std::string_view /*title*/, std::string_view /*text*/) {}
  virtual bool askYesNo(std::string_view /*title*/, std::string_view /*text*/) { return false; }
  // A small popup of choices at the pointer (several captures reach the
  // square a piece was dropped on): the index chosen, -1 when dismissed.
  virtual int choose(std::string_view /*title*/, const std::vector<std::string>& /*choices*/) { return -1; }
  // Status bar panel 1..3.
  virtual void status(int /*panel*/, std::string_view /*text*/) {}
  virtual void progress(int /*value*/, int /*maximum*/) {}
  virtual void setCommandEnabled(Command, bool) {}
  virtual void setCommandChecked(Command, bool) {}
  virtual void playSound(Sound) {}
  virtual void refresh(View) {}
  // An unrecoverable fault: the window says so and closes without saving.
  virtual void fatal(std::string_view /*text*/) {}
  // Wall clock in seconds since midnight (wraps at midnight) and a monotonic
  // clock in seconds for every measured interval.
  virtual double secondsSinceMidnight();
  virtual double monotonicSeconds();
};

// Decides when a pump call should let the window's events through: a steady
// clock is read only every kCallsPerCheck calls, and events run when at least
// the interval has passed since they last ran. Keeps the search's cost of
// pumping to a counter increment at almost every node.
class PumpThrottle {
 public:
  static constexpr unsigned kCallsPerCheck = 64;
  explicit PumpThrottle(std::chrono::milliseconds interval = std::chrono::milliseconds(5))
      : interval_(interval) {}
  bool due() {
    if (++calls_ % kCallsPerCheck != 0) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < interval_) return false;
    last_ = now;
    return true;
  }

 private:
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  unsigned calls_ = 0;
};

// A host that shows nothing and answers No: the command-line tools use it.
class NullHost : public Host {};

}  // namespace m8
