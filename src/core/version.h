// The program's name and version, shown in the caption and the log.
#pragma once

namespace m8 {

inline constexpr const char* kProgramName = "Morventa8";
inline constexpr const char* kProgramVersion = "1.58";

}  // namespace m8
