#pragma once

#include <functional>
#include <string>
#include <string_view>

// Files written in one piece (pictures, figures, states, summaries, records) appear whole or not
// at all: they are written under a temporary name in the target's folder and renamed over the
// target once complete. A failure never removes or truncates an existing file, and a target that
// exists but is not a regular file (a folder, a device, a pipe) is refused, never replaced.
namespace runtime {

// Calls write(temporaryPath, error), which creates the file; on true, moves it over path. On any
// failure returns false with a one-line reason in error and leaves nothing behind.
bool WriteWholeFile(
    const std::string& path,
    const std::function<bool(const std::string& temporaryPath, std::string& error)>& write,
    std::string& error);

// The same for a file of these bytes.
bool WriteWholeFile(const std::string& path, std::string_view contents, std::string& error);

// "" when a file could be written whole at path now: its folder exists and takes a new file, and
// path is not an existing non-regular file. Else the reason, for checks made before a long run.
std::string WholeFileProblem(const std::string& path);

// "" when folder exists and a file can be created in it now (tried, not guessed from permission
// bits, which say nothing about read-only file systems or for root); else the reason.
std::string FolderProblem(const std::string& folder);

// "" when folder exists and takes new files, or does not exist yet and MakeFolder could make it
// now (its nearest existing ancestor is a folder that takes new files); else the reason.
std::string FolderToMakeProblem(const std::string& folder);

// Makes folder and its missing parents; true when it is a folder afterwards, else false with the
// reason in error.
bool MakeFolder(const std::string& folder, std::string& error);

// folder as an absolute path in normal form, without a trailing slash; "" is the working folder.
// As given when it cannot be made absolute.
std::string AbsoluteFolder(const std::string& folder);

// Flushes every regular file in folder, and the folder itself, to the disk: what a marker written
// afterwards claims must survive a power cut. Returns false with the reason in error.
bool SyncFolder(const std::string& folder, std::string& error);

}  // namespace runtime
