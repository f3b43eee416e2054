#pragma once

#include <string>

// Failures of files as Python reports them: OSError (or its errno subclass) naming the path.

// Raises the OSError of errno value error for path.
[[noreturn]] void RaiseOSError(int error, const std::string& path);
// Raises OSError with message, its filename set to path: for failures that carry no errno.
[[noreturn]] void RaiseOSError(const std::string& message, const std::string& path);

// Raises OSError unless path is a folder this process may make files in.
void CheckWritableFolder(const std::string& path);
// Raises OSError unless path can be opened for reading.
void CheckReadableFile(const std::string& path);
