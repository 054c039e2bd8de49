// A program folder in a temporary folder whose variants/ is the shipped one,
// and fresh programs started in it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/game/gamesetup.h"
#include "core/files_fixture.h"

namespace m8::testing {

class ShippedVariantsTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    std::filesystem::create_directory_symlink(std::string(M8_DATA_DIR) + "/variants", folder / "variants");
  }

  // A program started afresh in the folder, with a new game set up.
  std::unique_ptr<GameState> Fresh() {
    auto s = std::make_unique<GameState>();
    Restart(*s);
    InitGame(*s);
    return s;
  }
};

}  // namespace m8::testing
