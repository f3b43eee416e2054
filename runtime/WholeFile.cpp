#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace runtime {
namespace {
std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// Creates a new, empty file beside path under a name of its own and returns its descriptor, or -1
// with errno set. The system applies the umask to 0666, as for any other file: setting the umask
// to learn it would race with threads that create files meanwhile (the logs of other units).
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  const std::string stem =
      FolderOf(path) + "/." + std::filesystem::path(path).filename().string() + ".partial-";
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", entropy());
    temporary = stem + suffix;
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

bool WriteAll(int descriptor, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(descriptor, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A folder that stat cannot find either does not exist or lies beyond one the user may not enter.
std::string MissingFolderProblem(const std::string& folder, int error) {
  if (error == ENOENT || error == ENOTDIR) return folder + " does not exist";
  return folder + " cannot be reached: " + std::strerror(error);
}

// A file system that makes no files on request (/proc) refuses a new one with "No such file or
// directory", which would contradict the folder's existence.
std::string UnwritableFolderProblem(const std::string& folder, int error) {
  return folder + " is not writable: " +
         (error == ENOENT ? "the file system there takes no new files" : std::strerror(error));
}
}  // namespace

std::string WholeFileProblem(const std::string& path) {
  if (path.empty()) return "no file name";
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    return S_ISDIR(status.st_mode) ? "is a folder" : "is not a regular file";
  }
  const std::string problem = FolderProblem(FolderOf(path));
  return problem.empty() ? "" : "its folder " + problem;
}

std::string FolderProblem(const std::string& folder) {
  struct stat status {};
  if (::stat(folder.c_str(), &status) != 0) return MissingFolderProblem(folder, errno);
  if (!S_ISDIR(status.st_mode)) return folder + " is not a folder";
  std::string probe = folder + "/.orvel-probe-XXXXXX";
  const int descriptor = ::mkstemp(probe.data());
  if (descriptor < 0) return UnwritableFolderProblem(folder, errno);
  ::close(descriptor);
  ::unlink(probe.c_str());
  return "";
}

// Asks the nearest folder on the way up that exists, so that a file in the way is named.
std::string FolderToMakeProblem(const std::string& folder) {
  std::filesystem::path existing = std::filesystem::path(folder).lexically_normal();
  struct stat status {};
  while (::stat(existing.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
    const std::filesystem::path parent = existing.parent_path();
    if (parent == existing) break;
    existing = parent.empty() ? "." : parent;
  }
  return FolderProblem(existing.string());
}

bool MakeFolder(const std::string& folder, std::string& error) {
  std::error_code failure;
  std::filesystem::create_directories(folder, failure);
  if (std::filesystem::is_directory(folder)) return true;
  error = folder + ": " + (failure ? failure.message() : "not a folder");
  return false;
}

bool WriteWholeFile(const std::string& path,
                    const std::function<bool(const std::string&, std::string&)>& write,
                    std::string& error) {
  error = WholeFileProblem(path);
  if (!error.empty()) return false;
  std::string temporary;
  const int descriptor = CreateTemporaryBeside(path, temporary);
  if (descriptor < 0) {
    error = std::strerror(errno);
    return false;
  }
  ::close(descriptor);
  if (!write(temporary, error)) {
    if (error.empty()) error = "write failed";
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, std::string_view contents, std::string& error) {
  return WriteWholeFile(
      path,
      [contents](const std::string& temporary, std::string& failure) {
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        const bool written =
            descriptor >= 0 && WriteAll(descriptor, contents) && ::fsync(descriptor) == 0;
        if (!written) failure = std::strerror(errno);
        if (descriptor >= 0 && ::close(descriptor) != 0 && written) {
          failure = std::strerror(errno);
          return false;
        }
        return written;
      },
      error);
}

namespace {
bool SyncPath(const std::string& path, int flags, std::string& error) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
  const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
  if (!synced) error = path + ": " + std::strerror(errno);
  if (descriptor >= 0) ::close(descriptor);
  return synced;
}
}  // namespace

bool SyncFolder(const std::string& folder, std::string& error) {
  std::error_code failure;
  for (std::filesystem::directory_iterator entry(folder, failure), end; !failure && entry != end;
       entry.increment(failure)) {
    if (entry->is_regular_file(failure) && !SyncPath(entry->path().string(), 0, error))
      return false;
  }
  if (failure) {
    error = folder + ": " + failure.message();
    return false;
  }
  return SyncPath(folder, O_DIRECTORY, error);
}

std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(folder.empty() ? "." : folder, error);
  if (error) return folder;
  std::string normal = absolute.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

}  // namespace runtime
