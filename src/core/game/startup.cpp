#include "core/game/startup.h"

#include "core/files/gamelog.h"
#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/files/skin.h"
#include "core/game/gamesetup.h"
#include "core/numtext.h"

namespace m8 {

StartupResult StartupReadFiles(GameState& g) {
  StartupResult r;
  LoadRating(g);
  auto settings = LoadSettings(g);  // includes the SearchDepth and PlayMode corrections
  r.settingsAccepted = settings.accepted;
  r.freshSettingsWritten = settings.freshWritten;
  g.Skin.StatusPanel = 1;
  r.skinLoaded = LoadSkin(g, &r.skinMissingPictures);
  r.logOpen = OpenLog(g);
  return r;
}

std::string StrengthLine(const GameState& g) {
  std::string s = "Strength:" + SignedText(10 - g.Opt.Weakness);
  if (g.Opt.DepthMode == 1)
    s += "   Depth:" + SignedText(g.Opt.SearchDepth) + " ply";
  else
    s += "   Time:" + SignedText(g.Opt.SearchTime) + " sec";
  return s;
}

bool SaveAtExit(GameState& g, const std::string* variantName) {
  // A variant or skin whose file was missing is still the user's choice
  // while its stand-in is in use.
  const bool keepVariant = !variantName && !g.Unmet.Variant.empty() && g.Rules.Variant == kStandardVariantName;
  const bool keepSkin = !g.Unmet.Skin.empty() && g.Opt.SkinName == kDefaultSkinName;
  const std::string skin = g.Opt.SkinName;
  const int32_t sizeCode = g.Opt.BoardSizeCode;
  const RuleSet rules = g.Rules;
  if (keepSkin) {
    g.Opt.SkinName = g.Unmet.Skin;
    g.Opt.BoardSizeCode = 4;  // a skin file's size
  }
  const int32_t blackStartsBeforeSetup = g.Flow.BlackStartsBeforeSetup;
  // The variant's rules as the settings held them, not the stand-in's.
  if (keepVariant && g.Unmet.VariantRules) {
    g.Rules = *g.Unmet.VariantRules;
    g.Flow.BlackStartsBeforeSetup = -1;
  }
  const bool ok = SaveSettings(g, keepVariant ? &g.Unmet.Variant : variantName);
  g.Opt.SkinName = skin;
  g.Opt.BoardSizeCode = sizeCode;
  g.Rules = rules;
  g.Flow.BlackStartsBeforeSetup = blackStartsBeforeSetup;
  return ok;
}

}  // namespace m8
