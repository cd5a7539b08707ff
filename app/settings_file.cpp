#include "app/settings_file.h"

#include <charconv>
#include <vector>

#include "platform/win32/cp932.h"
#include "textstore/shift_jis.h"

namespace notavo {
namespace {

// One more than the longest value, for the terminating zero.
constexpr DWORD kValueBuffer = kMaxSettingsValue + 1;

std::wstring Wide(std::string_view text) { return win32::WidenCp932(text); }

// The first `limit` bytes of `text`, without a lead byte whose trail byte
// was cut off.
std::string CutToBytes(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  text.resize(limit);
  if (!text.empty() && ByteTypeAt(text, static_cast<int>(text.size()), false) == btLead)
    text.pop_back();
  return text;
}

}  // namespace

int ParseSettingsInteger(std::string_view text, int fallback) {
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return fallback;
  // Hexadecimal values are bit patterns: 0xFFFFFFFF is -1.
  unsigned long long magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return fallback;
  if (base == 16) {
    if (magnitude > 0xFFFFFFFFull) return fallback;
    return static_cast<int>(static_cast<unsigned>(magnitude));
  }
  const unsigned long long limit = negative ? 2147483648ull : 2147483647ull;
  if (magnitude > limit) return fallback;
  const long long value =
      negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
  return static_cast<int>(value);
}

std::wstring TSettingsFile::ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return L"notavo.ini";
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      const std::size_t slash = path.find_last_of(L"\\/");
      const std::size_t dot = path.find_last_of(L'.');
      if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) {
        path.resize(dot);
      }
      return path + L".ini";
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string TSettingsFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view fallback) const {
  // A wide character is at most two bytes, so a buffer of this many wide
  // characters holds every value of up to kMaxSettingsValue bytes.
  std::vector<wchar_t> buffer(kValueBuffer);
  const DWORD length =
      ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(),
                                 buffer.data(), kValueBuffer, FPath.c_str());
  return CutToBytes(win32::NarrowCp932(std::wstring_view(buffer.data(), length)),
                    kMaxSettingsValue);
}

int TSettingsFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  return ParseSettingsInteger(ReadString(section, key, ""), fallback);
}

bool TSettingsFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TSettingsFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) const {
  if (!::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                    FPath.c_str())) {
    throw ESettingsWriteError(win32::NarrowCp932(FPath + L" に書き込めません"));
  }
}

void TSettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) const {
  WriteString(section, key, std::to_string(value));
}

void TSettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace notavo
