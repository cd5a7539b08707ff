// File access for the portable core. File names are code page 932 bytes;
// each platform converts them at this boundary. Every failure throws
// EFileError, so the callers' "leave everything intact" paths stay simple.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace notavo {

class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sequential reader of one open file; closes it when destroyed.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes; returns 0 only at the end of the file.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  virtual std::uint64_t Size() const = 0;
};

std::unique_ptr<FileReader> OpenFileForReading(const std::string& fileName);

// Sink handed to the writer callback of WriteFileAtomically.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  virtual void Write(const char* data, std::size_t size) = 0;
};

// Writes a new file in the target's folder through `produce`, flushes it to
// disk, then replaces the target with it (keeping the target's attributes
// where the platform allows). On any failure, including one thrown by
// `produce`, the temporary is removed, the old target is untouched and the
// error is rethrown.
void WriteFileAtomically(const std::string& fileName,
                         const std::function<void(FileWriter&)>& produce);

}  // namespace notavo
