// A program folder of its own under the system temp folder for each test, and
// a host that records the messages it is given.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/fileio.h"
#include "core/host.h"
#include "core/state.h"

namespace m8::testing {

struct RecordedMessage {
  Icon icon;
  std::string title, text;
};

class RecordingHost : public Host {
 public:
  void message(Icon icon, std::string_view title, std::string_view text) override {
    messages.push_back({icon, std::string(title), std::string(text)});
  }
  bool askYesNo(std::string_view title, std::string_view text) override {
    questions.push_back({Icon::Question, std::string(title), std::string(text)});
    return answer;
  }
  double monotonicSeconds() override { return clock += step; }
  std::vector<RecordedMessage> messages;
  std::vector<RecordedMessage> questions;
  bool answer = false;  // to every question
  double clock = 100.0;
  double step = 0.01;
  int clockReads() const { return static_cast<int>((clock - 100.0) / step + 0.5); }
};

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    std::random_device rd;
    folder = std::filesystem::temp_directory_path() /
             ("m8files-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
    g.ProgramFolder = folder.string();
    g.host = &host;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::string Path(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, std::string_view bytes) const {
    std::filesystem::create_directories((folder / name).parent_path());
    std::ofstream out(Path(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const { return ReadWholeFile(Path(name)).value_or("<missing>"); }
  // A second program run in the same folder.
  void Restart(GameState& other) {
    other.ProgramFolder = g.ProgramFolder;
    other.host = &host;
  }

  std::filesystem::path folder;
  RecordingHost host;
  GameState g;
};

// Lines of a text ended by CR LF; fails the test on a bare CR or LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t j = text.find("\r\n", i);
    if (j == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF";
      break;
    }
    std::string line = text.substr(i, j - i);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line end in: " << line;
    lines.push_back(line);
    i = j + 2;
  }
  return lines;
}

}  // namespace m8::testing
