// The program's settings file: an INI file beside notavo.exe (the
// executable's path with ".ini"), read and written through the system's
// profile functions. Nothing is cached: each call opens the file, reads or
// writes one value and lets it go. Section, key and value texts are code
// page 932 bytes.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace notavo {

// A value could not be written; the text is "<path> に書き込めません".
class ESettingsWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The longest value read back: longer ones are cut to this many bytes.
inline constexpr std::size_t kMaxSettingsValue = 2047;

// "0x"/"0X" and hexadecimal digits, or an optionally signed decimal number,
// as a whole; anything else (empty, "yes", out of range) gives `fallback`.
int ParseSettingsInteger(std::string_view text, int fallback);

class TSettingsFile {
 public:
  // `path` as a wide path; ProgramPath() for the program's own file.
  explicit TSettingsFile(std::wstring path) : FPath(std::move(path)) {}
  static std::wstring ProgramPath();

  const std::wstring& Path() const { return FPath; }

  // Section and key names compare without regard to letter case. A missing
  // key gives the default.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // Read as an integer (the default as 1 or 0); any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Each throws ESettingsWriteError when the file cannot be written.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  void WriteInteger(std::string_view section, std::string_view key, int value) const;
  void WriteBool(std::string_view section, std::string_view key, bool value) const;

 private:
  std::wstring FPath;
};

}  // namespace notavo
