// The players of a PDN game: each tag's name beside its own colour, whichever
// colour moves first, and the names a game saved by the program carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/files/gamesave.h"
#include "core/files/pdn.h"
#include "core/game/gameloader.h"
#include "core/game/gameover.h"
#include "core/game/gamesetup.h"
#include "core/game/moveexec.h"
#include "core/game/variantname.h"
#include "core/rules/movegen.h"
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

}  // namespace
}  // namespace m8
