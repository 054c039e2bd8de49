#include "core/files/rating.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/files_fixture.h"

namespace m8 {
namespace {

using RatingTest = testing::FilesTest;

TEST(RatingKey, IsAPermutationOfTenCharacters) {
  ASSERT_EQ(kRatingKey.size(), 10u);
  std::set<char> seen(kRatingKey.begin(), kRatingKey.end());
  EXPECT_EQ(seen.size(), 10u);
  for (char c : kRatingKey) EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) << c;
}

TEST(RatingScramble, RoundTripsAndHidesTheDigits) {
  for (int32_t rating : {0, 7, 1215, 1200, 2400, 99999}) {
    const std::string digits = std::to_string(rating);
    const std::string coded = EncodeRating(kRatingKey, digits);
    EXPECT_EQ(coded.size(), digits.size());
    EXPECT_EQ(DecodeRating(kRatingKey, coded), digits);
    EXPECT_EQ(RatingFromFileText(RatingFileText(rating)), rating);
  }
  EXPECT_NE(EncodeRating(kRatingKey, "0123456789"), "0123456789");
  EXPECT_EQ(EncodeRating("ABCDEFGHIJ", "1215"), "BCBF");
  EXPECT_EQ(DecodeRating("ABCDEFGHIJ", "BCz"), "12/");
  EXPECT_EQ(RatingFileText(-40), EncodeRating(kRatingKey, "0") + "\r\n");
}

TEST(RatingScramble, EmptyOrGarbledTextsCountAsNoRating) {
  const std::string k1215 = EncodeRating(kRatingKey, "1215");
  const std::string cases[] = {
      "", "\r\n", "   ", k1215.substr(0, 3) + "z", "-" + k1215, "1 2", "\xff\xfe",
      EncodeRating(kRatingKey, "1234567"),  // seven digits: no rating is that big
  };
  for (const auto& text : cases) EXPECT_EQ(RatingFromFileText(text), 1200) << text;
  EXPECT_EQ(RatingFromFileText(" " + k1215 + " \r\nmore"), 1215);
  EXPECT_EQ(RatingFromFileText(k1215 + "\n"), 1215);
}

TEST(RatingScramble, ACutOrGarbledTextGivesTheNewPlayersRating) {
  // Whatever is cut from the saved line, the digits left are not the rating
  // that was saved ("7R" would be 12 of 1200): every cut gives 1200. A
  // garbled character does the same. Only the whole line gives the rating.
  const std::string saved = RatingFileText(1543);
  const size_t digits = saved.size() - 2;
  for (size_t cut = 0; cut < saved.size(); ++cut) {
    SCOPED_TRACE(cut);
    bool damaged = false;
    const int32_t want = cut > digits ? 1543 : 1200;  // from the CR on the line is whole
    EXPECT_EQ(RatingFromFileText(saved.substr(0, cut), kRatingKey, &damaged), want);
    EXPECT_EQ(damaged, want == 1200);
  }
  for (size_t at = 0; at < digits; ++at) {
    std::string garbled = saved;
    garbled[at] = '/';
    bool damaged = false;
    EXPECT_EQ(RatingFromFileText(garbled, kRatingKey, &damaged), 1200) << garbled;
    EXPECT_TRUE(damaged);
  }
  const std::string k1200 = EncodeRating(kRatingKey, "1200");
  EXPECT_EQ(RatingFromFileText(k1200.substr(0, 2)), 1200);
  EXPECT_EQ(RatingFromFileText(k1200.substr(0, 3) + "/"), 1200);
  EXPECT_EQ(RatingFromFileText(k1200.substr(0, 2) + "\r\n"), 12) << "a whole line is a rating as saved";
}

TEST_F(RatingTest, ADamagedFileIsReported) {
  Write("tavrin.rtg", EncodeRating(kRatingKey, "1543").substr(0, 2));
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("tavrin.rtg\" is damaged; the rating 1200 is used."), std::string::npos)
      << host.messages[0].text;
  host.messages.clear();
  Write("tavrin.rtg", RatingFileText(1543));
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1543);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RatingTest, FileIsReadAndWritten) {
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200) << "no file";
  Write("tavrin.rtg", "");
  g.Rating.UserRating = 5;
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200) << "empty file";
  Write("tavrin.rtg", "garbage!\r\n");
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200) << "garbled file";

  g.Rating.UserRating = 1734;
  std::string error;
  ASSERT_TRUE(SaveRating(g, &error)) << error;
  EXPECT_EQ(Read("tavrin.rtg"), EncodeRating(kRatingKey, "1734") + "\r\n");
  GameState next;
  Restart(next);
  LoadRating(next);
  EXPECT_EQ(next.Rating.UserRating, 1734);
}

TEST(RatingFuzz, RandomFilesNeverCrash) {
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string text(rng() % 12, '\0');
    for (char& c : text) c = static_cast<char>(i % 2 ? kRatingKey[rng() % 10] : rng() % 256);
    int32_t r = RatingFromFileText(text);
    EXPECT_GE(r, 0);
    EXPECT_LE(r, 999999);
  }
}

// A finished game: the user moves first ("2"), the computer second ("1") at
// the given depth.
class UpdateRatingTest : public ::testing::Test {
 protected:
  void Play(int plies, int depth, const char* userFlag = "2", const char* computerFlag = "1") {
    for (int p = 1; p <= plies; ++p) {
      auto& row = g.Game.GameRecord[(p + 1) / 2];
      if (p % 2 == 1) {
        row[2] = userFlag;
      } else {
        row[3] = computerFlag;
        row[4] = std::to_string(depth);
      }
    }
    g.P.GamePly = plies;
    g.Rating.RatedGame = 1;
  }
  GameState g;
};

TEST_F(UpdateRatingTest, FormulaCases) {
  const struct {
    int32_t old;
    int depth;
    double result;
    int32_t computer, want;
  } cases[] = {
      {1200, 5, 1, 1200, 1215},   {1200, 5, 0.5, 1200, 1200}, {1200, 5, 0, 1200, 1185},
      {2010, 5, 0.5, 1200, 1995},  // K = 29.5 rounded to the even 30
      {2100, 5, 0.5, 1200, 2088},  // K = 25
      {2400, 5, 0.5, 1200, 2395},  // K = 10
      {2401, 5, 0.5, 1200, 2396},  // K = 10
      {1999, 5, 0.5, 1200, 1984},  // K = 30
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.old) + " result " + std::to_string(c.result));
    g.Game.GameRecord = {};
    Play(20, c.depth);
    g.Rating.UserRating = c.old;
    UpdateRating(g, c.result);
    EXPECT_EQ(g.Rating.ComputerRating, c.computer);
    EXPECT_EQ(g.Rating.UserRating, c.want);
  }
}

TEST_F(UpdateRatingTest, WinMessage) {
  Play(6, 5);
  g.Game.MoveChoiceHistory[1] = 3;  // the user's plies: 1, 3, 5
  g.Game.ScoreHistory[3] = 250;
  g.Game.MoveChoiceHistory[3] = 2;
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.RatingMessage,
            "  Good game\r\n\r\nYour previous rating was 1200\r\n"
            "The computers' rating in this game was 1200\r\n\r\nYour new rating is 1215");
  g.Game.ScoreHistory[3] = 199;
  EXPECT_EQ(GameComment(g), "  Great game");
}

TEST_F(UpdateRatingTest, GamesThatDoNotCount) {
  // Rating switched off.
  Play(10, 5);
  g.Opt.UseRating = 0;
  g.Rating.RatingMessage = "old";
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.UserRating, 1200);
  EXPECT_EQ(g.Rating.RatingMessage, "");

  // A hint or a move taken back cleared RatedGame.
  g.Opt.UseRating = 1;
  Play(10, 5);
  g.Rating.RatedGame = 0;
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.UserRating, 1200);

  // The computer played neither side.
  g.Game.GameRecord = {};
  Play(10, 5, "2", "2");
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(g.Rating.UserRating, 1200);

  // The sides changed hands during the game.
  g.Game.GameRecord = {};
  Play(10, 5);
  g.Game.GameRecord[3][3] = "2";
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.RatedGame, 0);
  EXPECT_EQ(g.Rating.UserRating, 1200);
  EXPECT_EQ(g.Rating.RatingMessage, "");
}

TEST_F(UpdateRatingTest, MovesReadFromAFileAreIgnored) {
  Play(12, 5);
  for (int row = 1; row <= 3; ++row) {  // the first six plies came from a file
    g.Game.GameRecord[row][2] = "3";
    g.Game.GameRecord[row][3] = "3";
    g.Game.GameRecord[row][4] = "40";
  }
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.ComputerRating, 1200) << "depth 40 of the loaded moves is not averaged";
  EXPECT_EQ(g.Rating.UserRating, 1215);
}

TEST_F(UpdateRatingTest, NoComputerMoveCountsAsDepthOne) {
  // Six plies loaded from a file, then the user's move ended the game; the
  // computer's side is known from a later (taken back) row.
  Play(7, 5);
  for (int row = 1; row <= 3; ++row) g.Game.GameRecord[row][2] = g.Game.GameRecord[row][3] = "3";
  g.Game.GameRecord[4][3] = "1";
  UpdateRating(g, 1);
  EXPECT_EQ(g.Rating.ComputerRating, 800);
  EXPECT_EQ(g.Rating.UserRating, 1203);
  g.Rating.UserRating = 1200;
  g.Rating.RatedGame = 1;
  UpdateRating(g, 0);
  EXPECT_EQ(g.Rating.UserRating, 1173);
}

TEST_F(UpdateRatingTest, DamagedDepthsStayBounded) {
  Play(4, 5);
  g.Game.GameRecord[1][4] = "1e300";
  UpdateRating(g, 0.5);
  EXPECT_GT(g.Rating.ComputerRating, 700);
  EXPECT_GE(g.Rating.UserRating, 1180);
}

TEST(RatingClick, Text) {
  GameState g;
  g.Rating.UserRating = 1350;
  EXPECT_EQ(RatingClickText(g), "Your currrent rating is 1350");
}

}  // namespace
}  // namespace m8

namespace m8 {
namespace {

// A damaged file is kept whole beside as tavrin.rtg.bad before the next exit
// writes over it, and the user is told where it went.
TEST_F(RatingTest, ADamagedOrOversizedFileIsKeptBeforeItIsReplaced) {
  const struct {
    const char* name;
    std::string text;
    const char* why;  // what the message says of the file, "" for nothing more
  } cases[] = {
      {"no line end", "74M2", ""},
      {"over 4 KB", RatingFileText(1543) + std::string(5000, ' '), " is used. It is larger than 4096 bytes.\r\n"},
      {"garbled", "7R?Q\r\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    std::filesystem::remove(Path("tavrin.rtg.bad"));
    Write("tavrin.rtg", c.text);
    GameState run;
    Restart(run);
    LoadRating(run);
    EXPECT_EQ(run.Rating.UserRating, 1200);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Error");
    EXPECT_NE(host.messages[0].text.find("tavrin.rtg.bad\""), std::string::npos) << host.messages[0].text;
    EXPECT_NE(host.messages[0].text.find(c.why), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(Read("tavrin.rtg.bad"), c.text);
    run.Rating.UserRating = 1215;
    std::string error;
    ASSERT_TRUE(SaveRating(run, &error)) << error;
    EXPECT_EQ(Read("tavrin.rtg"), RatingFileText(1215));
    EXPECT_EQ(Read("tavrin.rtg.bad"), c.text);
  }
}

// A file the system refuses to open may still hold the user's rating: the
// user is told, and the exit does not write over it.
TEST_F(RatingTest, AFileThatCannotBeReadIsReportedAndLeftAlone) {
  Write("tavrin.rtg", RatingFileText(1734));
  g.RefuseOpen = [](const std::string& path) { return path.ends_with("tavrin.rtg"); };
  LoadRating(g);
  EXPECT_EQ(g.Rating.UserRating, 1200);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].text.find("tavrin.rtg\" cannot be read: Permission denied"), std::string::npos)
      << host.messages[0].text;
  EXPECT_NE(host.messages[0].text.find("left as it is"), std::string::npos) << host.messages[0].text;
  g.Rating.UserRating = 1215;
  std::string error;
  EXPECT_TRUE(SaveRating(g, &error)) << error;
  EXPECT_EQ(Read("tavrin.rtg"), RatingFileText(1734));
  EXPECT_FALSE(std::filesystem::exists(Path("tavrin.rtg.bad")));

  // Once it can be read again, the next run reads and saves it as usual.
  GameState next;
  Restart(next);
  LoadRating(next);
  EXPECT_EQ(next.Rating.UserRating, 1734);
  next.Rating.UserRating = 1750;
  ASSERT_TRUE(SaveRating(next, &error)) << error;
  EXPECT_EQ(Read("tavrin.rtg"), RatingFileText(1750));
}

}  // namespace
}  // namespace m8
