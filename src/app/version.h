#pragma once
// The program's version, fixed at build: shown in the frame's caption and background, written to
// SETUP_ for the update check.
#include <string>

namespace saldora::app::version {

inline constexpr int kVersion = 11, kSubVersion = 10, kRelease = 1, kBuild = 551;
inline constexpr const char* kDate = "22/11/2023";
inline constexpr const char* kTitle = "Saldora";

// " 11.0010.01": the version right-aligned in three places, the sub-version in four digits and the
// release in two.
std::string text();
// "011.0010.01": the same with the version in three digits.
std::string paddedText();

} // namespace saldora::app::version
