// The players of a PDN game: each tag's name beside its own colour, whichever
// colour moves first, and the names a game saved by the program carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "core/engine/driver_fixture.h"
#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/game/computermove.h"
#include "core/game/gamedetails.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/newgame.h"
#include "core/game/playmode.h"
#include "core/game/variantname.h"
#include "core/rules/movegen.h"
#include "core/rules/ruleseditor.h"
#include "core/files_fixture.h"
#include "core/game/shippedvariants_fixture.h"

namespace m8 {
namespace {

class PdnNamesTest : public testing::ShippedVariantsTest {
 protected:
  // A fresh program with a new game of `variant`, as the new-variant command
  // starts it.
  std::unique_ptr<GameState> NewGameOf(const std::string& variant) {
    auto s = Fresh();
    s->Flow.PositionPreset = 0;
    s->Rules.Variant = variant;
    InitGame(*s);
    s->Rules = s->VariantRules;
    InitGame(*s);
    return s;
  }

  // The user's two moves of a game against the computer, entered as the user
  // enters them; the computer's replies are left out.
  static void PlayTwoMoves(GameState& s) {
    MoveFollowUps userOnly;
    userOnly.computerReply = [](GameState&) {};
    for (int p = 0; p < 2; ++p) {
      ResetPly(s);
      ASSERT_TRUE(GenerateLegalMoves(s));
      ASSERT_TRUE(EnterMoveIndex(s, s.P.PlyStart[0], MoveSource::Typed, userOnly));
    }
  }

  // The game in hand saved as `name` (a new file); its text.
  std::string SavedPdn(GameState& s, const std::string& name) {
    std::filesystem::remove(Path(name));
    EXPECT_TRUE(SaveGame(s, Path(name), name)) << (host.messages.empty() ? "" : host.messages.back().text);
    return Read(name);
  }

  // New Variant with `variant` chosen in the variant dialog and OK pressed.
  static void NewVariant(GameState& s, const std::string& variant) {
    NewGameHooks hooks;
    hooks.variantDialog = [&s, &variant] {
      RulesEditor editor(s);
      editor.Load();
      editor.FillVariantList();
      editor.Open(s.Variant.LoadedVariantName);
      const auto& names = editor.controls().VariantNames;
      const auto at = std::find(names.begin(), names.end(), variant);
      ASSERT_NE(at, names.end()) << variant;
      ASSERT_TRUE(editor.Select(static_cast<int>(at - names.begin())));
      ASSERT_TRUE(editor.Apply(true));
    };
    ASSERT_TRUE(NewGame(s, 1, hooks));
  }

  // The name shown beside a colour: PlayerName1 beside the side that moves
  // first, as the side labels show it.
  static std::string NameBeside(const GameState& s, int side) {
    const int firstMover = s.Rules.BlackStarts == 1 ? -1 : 1;
    return side == firstMover ? s.Flow.PlayerName1 : s.Flow.PlayerName2;
  }
};

// Black first (American) and White first (Russian, Italian): the Black tag's
// name stands beside Black and the user who is named White plays White.
TEST_F(PdnNamesTest, EachTagsNameStandsBesideItsColour) {
  struct Case {
    const char* name;
    const char* gameType;
    const char* moves;
  } cases[] = {
      {"American, Black first", "21", "1. 11-15 23-19 2. 8-11 *"},
      {"Russian, White first", "25", "1. c3-d4 f6-e5 2. d4xf6 g7xe5 *"},
      {"Italian, White first", "22", "1. 21-17 12-16 *"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("named.pdn", std::string("[Event \"Club\"]\r\n[Black \"Ann\"]\r\n[White \"Bob\"]\r\n[GameType \"") +
                           c.gameType + "\"]\r\n\r\n" + c.moves + "\r\n");
    auto s = Fresh();
    s->Opt.UserName = "Bob";
    host.messages.clear();
    ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("named.pdn"), "named.pdn"))
        << (host.messages.empty() ? "" : host.messages.back().text);
    EXPECT_EQ(NameBeside(*s, -1), "Ann");
    EXPECT_EQ(NameBeside(*s, 1), "Bob");
    EXPECT_EQ(UserPlaysColour(*s, "white"), 1);
    EXPECT_EQ(UserPlaysColour(*s, "black"), 0);
  }
}

// A game against the computer saved as PDN carries the names beside the
// board, and reopens with them beside the same colours, under the variant's
// plain name (in the own format too); a set-up game keeps its mark.
TEST_F(PdnNamesTest, AComputerGameReopensWithItsPlayersUnderItsVariant) {
  for (const char* variant : {"American Checkers", "Russian Checkers", "Italian Checkers"}) {
    SCOPED_TRACE(variant);
    auto s = NewGameOf(variant);
    s->Opt.UserName = "Ann";
    ASSERT_EQ(VariantNameText(*s), variant);
    MoveFollowUps quiet;
    s->Opt.PlayMode = 1;
    for (int p = 0; p < 4; ++p) {
      ResetPly(*s);
      ASSERT_TRUE(GenerateLegalMoves(*s));
      ASSERT_TRUE(EnterMoveIndex(*s, s->P.PlyStart[0], MoveSource::Typed, quiet));
    }
    // The user plays the side that moves first, the computer the other.
    s->Opt.PlayMode = 0;
    s->Flow.PlayerName1 = "Ann";
    s->Flow.PlayerName2 = "Computer";
    const std::string userColour = s->Rules.BlackStarts == 1 ? "Black" : "White";
    const std::string computerColour = s->Rules.BlackStarts == 1 ? "White" : "Black";

    std::filesystem::remove(Path("saved.pdn"));
    ASSERT_TRUE(SaveGame(*s, Path("saved.pdn"), "saved.pdn"));
    const std::string pdn = Read("saved.pdn");
    EXPECT_NE(pdn.find("[" + userColour + " \"Ann\"]"), std::string::npos) << pdn;
    EXPECT_NE(pdn.find("[" + computerColour + " \"Computer\"]"), std::string::npos) << pdn;

    auto t = Fresh();
    t->Opt.UserName = "Ann";
    host.messages.clear();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("saved.pdn"), "saved.pdn"))
        << (host.messages.empty() ? "" : host.messages.back().text);
    EXPECT_EQ(t->Game.GameLength, 4);
    EXPECT_EQ(NameBeside(*t, s->Rules.BlackStarts == 1 ? -1 : 1), "Ann");
    EXPECT_EQ(NameBeside(*t, s->Rules.BlackStarts == 1 ? 1 : -1), "Computer");
    EXPECT_EQ(VariantNameText(*t), variant) << pdn;

    // The own format names the variant alike.
    std::filesystem::remove(Path("saved.tvn"));
    ASSERT_TRUE(SaveGame(*s, Path("saved.tvn"), "saved.tvn"));
    auto u = Fresh();
    ASSERT_TRUE(LoadGame(*u, kLoadOpen, Path("saved.tvn"), "saved.tvn"));
    EXPECT_EQ(VariantNameText(*u), variant);
  }

  // A game from a position set by hand stays marked as one in both formats.
  for (const std::string file : {"set.pdn", "set.tvn"}) {
    SCOPED_TRACE(file);
    auto s = NewGameOf("Russian Checkers");
    // The variant's start less one white man, White to move as usual.
    const auto man = std::find(s->board.begin(), s->board.end(), 1);
    ASSERT_NE(man, s->board.end());
    *man = 0;
    s->Flow.PositionPreset = 1;
    SetupPositionState(*s);
    ASSERT_EQ(VariantNameText(*s), "Russian Checkers (M)");
    std::filesystem::remove(Path(file));
    ASSERT_TRUE(SaveGame(*s, Path(file), file));
    auto t = Fresh();
    ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path(file), file));
    EXPECT_EQ(t->StartBoard, s->StartBoard);
    EXPECT_EQ(VariantNameText(*t), "Russian Checkers (M)");
  }
}

// The details of a game read from a PDN file belong to that game: whatever
// starts the next one (New Game, New Variant, an own game file opened, a
// position set up), it is saved under the names beside the board, not under
// the event and players of the file read before.
TEST_F(PdnNamesTest, AGameStartedAfterAPdnLoadIsSavedUnderItsOwnPlayers) {
  Write("old.pdn", "[Event \"Old Event\"]\r\n[Site \"Old Hall\"]\r\n[Date \"1999.01.02\"]\r\n"
                   "[Black \"Alice\"]\r\n[White \"Bob\"]\r\n\r\n1. 11-15 23-19 *\r\n");
  {
    auto own = NewGameOf("American Checkers");
    own->Opt.UserName = "Ann";  // the file names its player
    ASSERT_TRUE(SaveGame(*own, Path("own.tvn"), "own.tvn"));
  }
  struct Case {
    const char* name;
    std::function<void(GameState&)> start;
  } cases[] = {
      {"New Game", [](GameState& s) { ASSERT_TRUE(NewGame(s, 0, {})); }},
      {"New Variant", [](GameState& s) { NewVariant(s, "Russian Checkers"); }},
      {"an own game file",
       [this](GameState& s) { ASSERT_TRUE(LoadGame(s, kLoadOpen, Path("own.tvn"), "own.tvn")); }},
      {"a position set up",
       [](GameState& s) {
         // The position less one white man (the editor's Apply).
         const auto man = std::find(s.board.begin(), s.board.end(), 1);
         ASSERT_NE(man, s.board.end());
         *man = 0;
         s.Flow.PositionPreset = 1;
         SetupPositionState(s);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto s = Fresh();
    s->Opt.UserName = "Ann";
    host.answer = true;  // "Quit current game?"
    ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("old.pdn"), "old.pdn"));
    ASSERT_EQ(s->Header.GameBlack, "Alice");
    c.start(*s);
    PlayTwoMoves(*s);
    const std::string pdn = SavedPdn(*s, "new.pdn");
    for (const char* old : {"Old Event", "Old Hall", "1999", "Alice", "Bob"})
      EXPECT_EQ(pdn.find(old), std::string::npos) << old << " in\n" << pdn;
    EXPECT_NE(pdn.find("[Black \"" + NameBeside(*s, -1) + "\"]"), std::string::npos) << pdn;
    EXPECT_NE(pdn.find("[White \"" + NameBeside(*s, 1) + "\"]"), std::string::npos) << pdn;
    EXPECT_NE(pdn.find("\"Ann\""), std::string::npos) << pdn;
  }

  // What the user typed in the details dialog stays for the next game; what
  // the file put in and the user left alone goes.
  auto s = Fresh();
  host.answer = true;
  ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("old.pdn"), "old.pdn"));
  DetailsTexts typed = DetailsFromGame(*s);
  typed[static_cast<int>(DetailsBox::Event)] = "Club night";
  typed[static_cast<int>(DetailsBox::White)] = "Carol";
  ApplyDetails(*s, typed);
  ASSERT_TRUE(NewGame(*s, 0, {}));
  const DetailsTexts kept = DetailsFromGame(*s);
  EXPECT_EQ(kept, (DetailsTexts{"Club night", "", "", "", "Carol"}));
}

// Your own American game saved and reopened, then Russian played as White:
// the Russian game names you as White, and reopens with you beside White.
TEST_F(PdnNamesTest, ReopeningAnOwnGameThenPlayingAnotherVariantNamesTheNewSides) {
  auto s = NewGameOf("American Checkers");
  s->Opt.UserName = "Ann";
  InitGame(*s);
  PlayTwoMoves(*s);
  const std::string american = SavedPdn(*s, "american.pdn");
  ASSERT_NE(american.find("[Black \"Ann\"]"), std::string::npos) << american;
  ASSERT_NE(american.find("[White \"Computer\"]"), std::string::npos) << american;

  host.answer = true;
  ASSERT_TRUE(LoadGame(*s, kLoadOpen, Path("american.pdn"), "american.pdn"));
  NewVariant(*s, "Russian Checkers");
  ASSERT_EQ(s->Rules.BlackStarts, 0);  // White moves first: the user's colour
  PlayTwoMoves(*s);
  const std::string russian = SavedPdn(*s, "russian.pdn");
  EXPECT_NE(russian.find("[White \"Ann\"]"), std::string::npos) << russian;
  EXPECT_NE(russian.find("[Black \"Computer\"]"), std::string::npos) << russian;

  auto t = Fresh();
  t->Opt.UserName = "Ann";
  ASSERT_TRUE(LoadGame(*t, kLoadOpen, Path("russian.pdn"), "russian.pdn"));
  EXPECT_EQ(NameBeside(*t, 1), "Ann");
  EXPECT_EQ(NameBeside(*t, -1), "Computer");
}

// One name typed in the details, for either colour, in each play mode: that
// side goes out under it, the other under the name beside the board (the
// user's, or "Computer" for the side whose moves the computer made), read
// back by the PDN reader.
TEST(PdnTypedNames, OneTypedNameLeavesTheOtherSideItsBoardName) {
  using testing::DriverGame;
  const struct {
    const char* mode;
    std::function<void(GameState&)> play;
    const char* blackOnBoard;  // the name beside each colour once played
    const char* whiteOnBoard;
  } modes[] = {
      // White to move: the user takes White against the computer.
      {"player against computer",
       [](GameState& g) {
         SetComputerPlayerMode(g);
         MoveFollowUps userOnly;
         userOnly.computerReply = [](GameState&) {};
         ResetPly(g);
         ASSERT_TRUE(GenerateLegalMoves(g));
         ASSERT_TRUE(EnterMoveIndex(g, g.P.PlyStart[0], MoveSource::Typed, userOnly));
       },
       "Computer", "Ann"},
      {"player against player",
       [](GameState& g) {
         SetPlayerPlayerMode(g);
         MoveFollowUps quiet;
         for (int p = 0; p < 2; ++p) {
           ResetPly(g);
           ASSERT_TRUE(GenerateLegalMoves(g));
           ASSERT_TRUE(EnterMoveIndex(g, g.P.PlyStart[0], MoveSource::Typed, quiet));
         }
       },
       "Ann", "Ann"},
      {"computer against computer",
       [](GameState& g) {
         ComputerVsComputer(g);
         ASSERT_EQ(g.Flow.GameOver, 1);
       },
       "Computer", "Computer"},
  };
  for (const auto& m : modes) {
    for (const DetailsBox typed : {DetailsBox::Black, DetailsBox::White}) {
      const bool blackTyped = typed == DetailsBox::Black;
      SCOPED_TRACE(std::string(m.mode) + (blackTyped ? ", Black typed" : ", White typed"));
      DriverGame d(testing::kWinIn2, 1, 5);
      GameState& g = d.g;
      g.Opt.UserName = "Ann";
      m.play(g);
      ASSERT_GE(g.Game.GameLength, 1);
      DetailsTexts texts = DetailsFromGame(g);
      texts[static_cast<int>(typed)] = "Dave";
      ApplyDetails(g, texts);

      const std::string pdn = PdnGameText(g, "01/02/2026");
      PdnFile file;
      FileProblem problem;
      ASSERT_TRUE(ReadPdnFile(pdn, "t.pdn", file, problem)) << problem.text;
      ASSERT_EQ(file.games.size(), 1u);
      const PdnTags& tags = file.games[0].tags;
      EXPECT_EQ(tags.Black, blackTyped ? "Dave" : m.blackOnBoard) << pdn;
      EXPECT_EQ(tags.White, blackTyped ? m.whiteOnBoard : "Dave") << pdn;
    }
  }
}

}  // namespace
}  // namespace m8
