// POSIX file access, used by the native build and its tests.
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace notavo {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& fileName) {
  throw EFileError(what + ": " + fileName + ": " + std::strerror(errno));
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }
  int get() const { return fd_; }
  int Close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

class PosixFileReader final : public FileReader {
 public:
  PosixFileReader(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer, size);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno != EINTR) Fail("read failed", name_);
    }
  }
  std::uint64_t Size() const override {
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0) Fail("stat failed", name_);
    return static_cast<std::uint64_t>(st.st_size);
  }

 private:
  FileDescriptor fd_;
  std::string name_;
};

class PosixFileWriter final : public FileWriter {
 public:
  PosixFileWriter(int fd, const std::string& name) : fd_(fd), name_(name) {}
  void Write(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t n = ::write(fd_, data, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        Fail("write failed", name_);
      }
      data += n;
      size -= static_cast<std::size_t>(n);
    }
  }

 private:
  int fd_;
  const std::string& name_;
};

std::string FolderOf(const std::string& fileName) {
  const auto slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : fileName.substr(0, slash);
}

}  // namespace

std::unique_ptr<FileReader> OpenFileForReading(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open", fileName);
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    Fail("cannot open", fileName);
  }
  return std::make_unique<PosixFileReader>(fd, fileName);
}

void WriteFileAtomically(const std::string& fileName,
                         const std::function<void(FileWriter&)>& produce) {
  struct stat target {};
  const bool targetExists = ::stat(fileName.c_str(), &target) == 0;
  if (targetExists && ::access(fileName.c_str(), W_OK) != 0) Fail("cannot write", fileName);

  std::string tempName = FolderOf(fileName) + "/.notavo-save-XXXXXX";
  FileDescriptor fd(::mkstemp(tempName.data()));
  if (fd.get() < 0) Fail("cannot create a temporary file", fileName);
  try {
    PosixFileWriter writer(fd.get(), tempName);
    produce(writer);
    const mode_t mode = targetExists ? (target.st_mode & 07777) : 0644;
    if (::fchmod(fd.get(), mode) != 0) Fail("cannot set permissions", tempName);
    if (::fsync(fd.get()) != 0) Fail("cannot flush", tempName);
    if (fd.Close() != 0) Fail("cannot close", tempName);
    if (::rename(tempName.c_str(), fileName.c_str()) != 0) Fail("cannot replace", fileName);
  } catch (...) {
    fd.Close();
    ::unlink(tempName.c_str());
    throw;
  }
}

}  // namespace notavo
