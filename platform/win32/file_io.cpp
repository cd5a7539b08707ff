// Win32 file access behind platform/file_io.h. Names arrive as code page 932
// bytes and go to the W APIs as UTF-16, so nothing depends on the system's
// ANSI code page. Saving writes a temporary file next to the target and swaps
// it in, so a failed save never leaves a half-written document behind.
#include "platform/file_io.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/win32/cp932.h"
#include "platform/win32/unique_handle.h"

namespace notavo {
namespace {

using win32::UniqueHandle;

// "ファイルを開けません: " and friends; messages are code page 932 like the
// rest of the program's text.
std::string OpenErrorPrefix() { return win32::NarrowCp932(L"ファイルを開けません: "); }
std::string ReadErrorPrefix() { return win32::NarrowCp932(L"ファイルを読み込めません: "); }
std::string SaveErrorPrefix() { return win32::NarrowCp932(L"ファイルを保存できません: "); }

[[noreturn]] void ThrowFileError(const std::string& prefix, const std::string& fileName,
                                 DWORD error) {
  throw EFileError(prefix + fileName + "\n" + win32::SystemErrorText(error) + " (" +
                   std::to_string(error) + ")");
}

std::wstring WideName(const std::string& prefix, const std::string& fileName) {
  std::optional<std::wstring> wide = win32::TryWidenCp932(fileName);
  if (!wide || wide->empty() || wide->find(L'\0') != std::wstring::npos) {
    ThrowFileError(prefix, fileName, ERROR_INVALID_NAME);
  }
  return *std::move(wide);
}

class Win32FileReader final : public FileReader {
 public:
  Win32FileReader(UniqueHandle file, std::string fileName)
      : FFile(std::move(file)), FFileName(std::move(fileName)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    // ReadFile takes a DWORD count; larger requests are served in part, which
    // the interface allows.
    const DWORD request = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD done = 0;
    if (request == 0) return 0;
    if (!::ReadFile(FFile.Get(), buffer, request, &done, nullptr)) {
      ThrowFileError(ReadErrorPrefix(), FFileName, ::GetLastError());
    }
    return done;
  }

  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(FFile.Get(), &size)) {
      ThrowFileError(ReadErrorPrefix(), FFileName, ::GetLastError());
    }
    return static_cast<std::uint64_t>(size.QuadPart);
  }

 private:
  UniqueHandle FFile;
  std::string FFileName;
};

// Collects small writes into 64 KiB blocks before they reach WriteFile.
class Win32FileWriter final : public FileWriter {
 public:
  static constexpr std::size_t kBufferSize = 64 * 1024;

  Win32FileWriter(HANDLE file, const std::string& fileName) : FFile(file), FFileName(fileName) {
    FBuffer.reserve(kBufferSize);
  }

  void Write(const char* data, std::size_t size) override {
    if (FBuffer.size() + size > kBufferSize) {
      Flush();
      if (size >= kBufferSize) {
        WriteThrough(data, size);
        return;
      }
    }
    FBuffer.insert(FBuffer.end(), data, data + size);
  }

  void Flush() {
    WriteThrough(FBuffer.data(), FBuffer.size());
    FBuffer.clear();
  }

 private:
  void WriteThrough(const char* data, std::size_t size) {
    while (size > 0) {
      const DWORD request = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
      DWORD done = 0;
      if (!::WriteFile(FFile, data, request, &done, nullptr)) {
        ThrowFileError(SaveErrorPrefix(), FFileName, ::GetLastError());
      }
      if (done == 0) ThrowFileError(SaveErrorPrefix(), FFileName, ERROR_WRITE_FAULT);
      data += done;
      size -= done;
    }
  }

  HANDLE FFile;
  const std::string& FFileName;
  std::vector<char> FBuffer;
};

// The temporary file of one save: removed again unless it was moved onto the
// target.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    FHandle.Reset();
    if (!FName.empty()) ::DeleteFileW(FName.c_str());
  }

  // Creates a fresh file in `folder` (which ends in a separator). The name
  // mixes process id, a counter and the tick count; CREATE_NEW makes a clash
  // with any existing file simply try the next name.
  DWORD Create(const std::wstring& folder) {
    static std::atomic<unsigned> counter{0};
    const unsigned long pid = ::GetCurrentProcessId();
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
      std::wstring name = folder + L"~notavo" + std::to_wstring(pid) + L"-" +
                          std::to_wstring(counter.fetch_add(1)) + L"-" +
                          std::to_wstring(::GetTickCount()) + L".tmp";
      HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle != INVALID_HANDLE_VALUE) {
        FHandle.Reset(handle);
        FName = std::move(name);
        return ERROR_SUCCESS;
      }
      error = ::GetLastError();
    }
    return error;
  }

  HANDLE Handle() const { return FHandle.Get(); }
  const std::wstring& Name() const { return FName; }
  bool Close() { return FHandle.Close(); }
  // The file now lives on under the target's name.
  void Release() { FName.clear(); }

 private:
  UniqueHandle FHandle;
  std::wstring FName;
};

// Folder part of a full path, separator included ("C:\dir\" for "C:\dir\a.txt").
std::wstring FolderOf(const std::wstring& fullPath) {
  const std::size_t slash = fullPath.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".\\") : fullPath.substr(0, slash + 1);
}

std::wstring FullPath(const std::wstring& name, const std::string& fileName) {
  const DWORD needed = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) ThrowFileError(SaveErrorPrefix(), fileName, ::GetLastError());
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) {
    ThrowFileError(SaveErrorPrefix(), fileName, ::GetLastError());
  }
  full.resize(length);
  return full;
}

// Attributes a replaced document should keep; the rest (directory, temporary,
// compressed, ...) describe the storage rather than the user's choice.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts the replacement in place of an existing target. ReplaceFileW keeps the
// target's attributes, security and streams; if it fails for a reason other
// than the target being locked or protected, a plain move is tried and the
// attributes are put back by hand.
DWORD ReplaceExisting(const std::wstring& target, const std::wstring& replacement,
                      DWORD oldAttributes) {
  DWORD error = ERROR_SUCCESS;
  if (!::ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr)) {
    error = ::GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
        error == ERROR_LOCK_VIOLATION) {
      return error;
    }
    if (!::MoveFileExW(replacement.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ::GetLastError();
    }
  }
  // Not every implementation of ReplaceFileW carries the attributes over;
  // restore them where they went missing. The new text is saved either way.
  const DWORD wanted = oldAttributes & kKeptAttributes;
  const DWORD now = ::GetFileAttributesW(target.c_str());
  if (now != INVALID_FILE_ATTRIBUTES && (now & kKeptAttributes) != wanted) {
    ::SetFileAttributesW(target.c_str(), (now & ~kKeptAttributes) | wanted);
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::unique_ptr<FileReader> OpenFileForReading(const std::string& fileName) {
  const std::wstring name = WideName(OpenErrorPrefix(), fileName);
  // Sharing read and write lets a file that another program holds open (a
  // log being written, say) still be read.
  HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    ThrowFileError(OpenErrorPrefix(), fileName, ::GetLastError());
  }
  return std::make_unique<Win32FileReader>(UniqueHandle(handle), fileName);
}

void WriteFileAtomically(const std::string& fileName,
                         const std::function<void(FileWriter&)>& produce) {
  const std::wstring target = FullPath(WideName(SaveErrorPrefix(), fileName), fileName);

  const DWORD oldAttributes = ::GetFileAttributesW(target.c_str());
  const bool targetExists = oldAttributes != INVALID_FILE_ATTRIBUTES;
  if (targetExists && (oldAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ThrowFileError(SaveErrorPrefix(), fileName, ERROR_DIRECTORY);
  }
  // A read-only document is the user's wish not to change it; refuse before
  // doing any work rather than relying on how the replace treats it.
  if (targetExists && (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ThrowFileError(SaveErrorPrefix(), fileName, ERROR_ACCESS_DENIED);
  }
  // Replacing means deleting the old file, which fails while another program
  // holds it open without FILE_SHARE_DELETE. Finding out now saves writing the
  // whole document for nothing, and keeps ReplaceFileW away from a target it
  // cannot move: Wine's version leaves a scratch file of its own behind then.
  if (targetExists) {
    UniqueHandle probe(::CreateFileW(target.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe) ThrowFileError(SaveErrorPrefix(), fileName, ::GetLastError());
  }

  TemporaryFile temporary;
  if (const DWORD error = temporary.Create(FolderOf(target)); error != ERROR_SUCCESS) {
    ThrowFileError(SaveErrorPrefix(), fileName, error);
  }

  {
    Win32FileWriter writer(temporary.Handle(), fileName);
    produce(writer);  // its exceptions pass through untouched; ~TemporaryFile cleans up
    writer.Flush();
  }
  if (!::FlushFileBuffers(temporary.Handle())) {
    ThrowFileError(SaveErrorPrefix(), fileName, ::GetLastError());
  }
  if (!temporary.Close()) ThrowFileError(SaveErrorPrefix(), fileName, ::GetLastError());

  DWORD error = ERROR_SUCCESS;
  if (targetExists) {
    error = ReplaceExisting(target, temporary.Name(), oldAttributes);
  } else if (!::MoveFileExW(temporary.Name().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
  }
  if (error != ERROR_SUCCESS) ThrowFileError(SaveErrorPrefix(), fileName, error);
  temporary.Release();
}

}  // namespace notavo
