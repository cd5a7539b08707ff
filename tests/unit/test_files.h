// Scratch files for tests: a fresh folder per test, removed afterwards.
#pragma once

#include <string>
#include <string_view>

namespace notavo::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

void WriteBytes(const std::string& fileName, std::string_view bytes);
std::string ReadBytes(const std::string& fileName);
int CountEntries(const std::string& folder);

}  // namespace notavo::testing
