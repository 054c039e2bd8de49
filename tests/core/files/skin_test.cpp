#include "core/files/skin.h"

#include <gtest/gtest.h>

#include <random>

#include "core/files_fixture.h"

namespace m8 {
namespace {

using SkinTest = testing::FilesTest;

const char* const kAllKeysSkin =
    "; a skin with every key\r\n"
    "BoardCustomSize=1\r\n"
    "dark_highlight=&H00FF00\r\n"
    "light_highlight=255\r\n"
    "dark_square=ds.png\r\n"
    "light_square=ls.png\r\n"
    "dark_black_king=dbk.png\r\n"
    "dark_white_king=dwk.png\r\n"
    "dark_black_man=dbm.png\r\n"
    "dark_white_man=dwm.png\r\n"
    "white_man_ico=wmi.png\r\n"
    "black_man_ico=bmi.png\r\n"
    "white_king_ico=wki.png\r\n"
    "black_king_ico=bki.png\r\n"
    "light_black_king=lbk.png\r\n"
    "light_white_king=lwk.png\r\n"
    "light_black_man=lbm.png\r\n"
    "light_white_man=lwm.png\r\n"
    "END\r\n"
    "dark_square=after_end.png\r\n";

const char* const kPictureFiles[] = {"ds.png",  "ls.png",  "dbk.png", "dwk.png", "dbm.png",
                                     "dwm.png", "wmi.png", "bmi.png", "wki.png", "bki.png",
                                     "lbk.png", "lwk.png", "lbm.png", "lwm.png"};

class SkinFileTest : public SkinTest {
 protected:
  void AddSkin(const std::string& name, const std::string& text, bool pictures = true) {
    Write("skins/" + name + ".ini", text);
    if (pictures)
      for (const char* p : kPictureFiles) Write("skins/" + name + "/" + p, "picture");
  }
};

TEST_F(SkinTest, BuiltinStylesNeedNoFile) {
  const struct {
    const char* name;
    int32_t code;
  } cases[] = {{"Classic Small", 0}, {"Classic Medium", 2}, {"Classic Big", 3}};
  for (const auto& c : cases) {
    g.Opt.SkinName = c.name;
    EXPECT_TRUE(LoadSkin(g));
    EXPECT_EQ(g.Opt.BoardSizeCode, c.code);
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(BuiltinSkinCode("classic medium"));
}

TEST_F(SkinFileTest, ReadsEveryKey) {
  AddSkin("Oak", kAllKeysSkin);
  g.Opt.SkinName = "Oak";
  ASSERT_TRUE(LoadSkin(g));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(g.Opt.BoardSizeCode, 4);
  EXPECT_EQ(g.Skin.BoardCustomSize, 1);
  EXPECT_EQ(g.Skin.DarkHighlightColor, 0x00FF00);
  EXPECT_EQ(g.Skin.LightHighlightColor, 255);
  for (int k = 0; k < kSkinPictures; ++k)
    EXPECT_EQ(g.Skin.Pictures[k], Path(std::string("skins/Oak/") + kPictureFiles[k])) << k;
  EXPECT_EQ(std::string(SkinPictureKey(SkinPicture::LightWhiteMan)), "light_white_man=");
}

TEST_F(SkinFileTest, MissingSizePartialSkinAndRepeatedKeys) {
  AddSkin("Oak", kAllKeysSkin);
  g.Opt.SkinName = "Oak";
  ASSERT_TRUE(LoadSkin(g));
  ASSERT_TRUE(host.messages.empty());
  // No size line, one picture, a repeated key, junk lines and a blank before
  // a key (which then does not count).
  AddSkin("Bare",
          "dark_square=ls.png\ndark_square=ds.png\n light_highlight=7\nnonsense\ndark_highlight=12\nEND\n");
  g.Opt.SkinName = "Bare";
  ASSERT_TRUE(LoadSkin(g));
  EXPECT_EQ(g.Skin.BoardCustomSize, -1);
  EXPECT_EQ(g.Skin.DarkHighlightColor, 12);
  EXPECT_EQ(g.Skin.LightHighlightColor, 255) << "a colour not named stays";
  EXPECT_EQ(g.Skin.Pictures[0], Path("skins/Bare/ds.png"));
  // The pictures it does not name are not the last skin's: they are left to
  // the built-in set, and one message names them all.
  for (int k = 1; k < kSkinPictures; ++k) EXPECT_EQ(g.Skin.Pictures[k], "") << k;
  ASSERT_EQ(host.messages.size(), 1u);
  const std::string& text = host.messages[0].text;
  EXPECT_NE(text.find("skins/Bare.ini"), std::string::npos) << text;
  EXPECT_NE(text.find("light_square, dark_black_king"), std::string::npos) << text;
  EXPECT_NE(text.find("light_white_man."), std::string::npos) << text;
  EXPECT_EQ(text.find("dark_square"), std::string::npos) << text;
}

TEST_F(SkinFileTest, BadSkinsFallBackToClassicMedium) {
  const struct {
    const char* name;
    std::string text;
    bool pictures;
    const char* mention;
  } cases[] = {
      {"NoEnd", "dark_square=ds.png\r\n END\r\n", true, "END"},
      {"NoPicture", "dark_square=missing.png\r\nEND\r\n", true, "missing.png"},
      {"Escape", "light_square=../../secret.png\r\nEND\r\n", true, "line 1"},
      {"Absolute", "dark_square=/etc/passwd\r\nEND\r\n", true, "line 1"},
      {"Empty", "dark_square=\r\nEND\r\n", true, "line 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    AddSkin(c.name, c.text, c.pictures);
    g.Opt.SkinName = c.name;
    g.Opt.BoardSizeCode = 4;
    EXPECT_FALSE(LoadSkin(g));
    EXPECT_EQ(g.Opt.SkinName, "Classic Medium");
    EXPECT_EQ(g.Opt.BoardSizeCode, 2);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Error");
    EXPECT_NE(host.messages[0].text.find(c.mention), std::string::npos) << host.messages[0].text;
    EXPECT_NE(host.messages[0].text.find("Classic Medium"), std::string::npos);
  }
  // No file at all, and a name that differs from a built-in one in case only.
  for (const char* name : {"Nowhere", "classic medium", "../x"}) {
    host.messages.clear();
    g.Opt.SkinName = name;
    EXPECT_FALSE(LoadSkin(g));
    EXPECT_EQ(g.Opt.SkinName, "Classic Medium");
    EXPECT_EQ(host.messages.size(), 1u);
  }
}

TEST_F(SkinFileTest, SkinNamesListsBuiltinsThenFiles) {
  EXPECT_EQ(SkinNames(g), (std::vector<std::string>{"Classic Small", "Classic Medium", "Classic Big"}));
  AddSkin("Zebra", "END\n", false);
  AddSkin("Apple", "END\n", false);
  Write("skins/readme.txt", "x");
  EXPECT_EQ(SkinNames(g), (std::vector<std::string>{"Classic Small", "Classic Medium", "Classic Big",
                                                    "Apple", "Zebra"}));
}

TEST(ShippedSkins, ReadAndHaveTheirPictures) {
  GameState g;
  testing::RecordingHost host;
  g.host = &host;
  g.ProgramFolder = M8_DATA_DIR;
  auto names = SkinNames(g);
  ASSERT_GT(names.size(), 3u) << "at least one skin file ships";
  for (size_t i = 3; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    g.Opt.SkinName = names[i];
    g.Skin = SkinState{};
    EXPECT_TRUE(LoadSkin(g));
    EXPECT_TRUE(host.messages.empty()) << (host.messages.empty() ? "" : host.messages[0].text);
    for (const auto& p : g.Skin.Pictures) EXPECT_FALSE(p.empty()) << "every picture is named";
  }
}

TEST(SkinFuzz, MutatedFilesNeverBreakTheReader) {
  std::mt19937 rng(99);
  const std::string base = kAllKeysSkin;
  const std::string alphabet = "=_END\r\n./\\&H0123456789abcdkilmnoqrstw ";
  for (int round = 0; round < 2000; ++round) {
    std::string text = base;
    for (int e = 0, n = 1 + static_cast<int>(rng() % 10); e < n && !text.empty(); ++e) {
      size_t at = rng() % text.size();
      if (rng() % 2)
        text[at] = alphabet[rng() % alphabet.size()];
      else
        text.erase(at, 1 + rng() % 20);
    }
    SkinFileData data;
    std::string error;
    if (ParseSkinText(text, "fuzz.ini", data, &error)) {
      for (const auto& p : data.Pictures)
        if (p) {
          EXPECT_EQ(p->find(".."), std::string::npos);
          EXPECT_FALSE(!p->empty() && (p->front() == '/' || p->front() == '\\'));
        }
    } else {
      EXPECT_NE(error.find("fuzz.ini"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace m8
