// The program's name and version, shown in the caption and the log.
#pragma once

#include <string>
#include <string_view>

namespace m8 {

inline constexpr const char* kProgramName = "Morventa8";
inline constexpr const char* kProgramVersion = "1.58";

// The main window's caption: the program and its version, then the title of
// the file the game is in once it is in one.
inline std::string WindowCaption() { return std::string(" ") + kProgramName + " " + kProgramVersion; }
inline std::string WindowCaption(std::string_view fileTitle) {
  return WindowCaption() + " - " + std::string(fileTitle);
}

}  // namespace m8
