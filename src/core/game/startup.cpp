#include "core/game/startup.h"

#include "core/files/gamelog.h"
#include "core/files/rating.h"
#include "core/files/settings.h"
#include "core/files/skin.h"
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

bool SaveAtExit(GameState& g, const std::string* variantName) { return SaveSettings(g, variantName); }

}  // namespace m8
