// The start log that the stand-in programs share.
#pragma once

#include <string>

namespace standin {

// Appends `line` and a line feed to the file `path` (created if missing), as one write that
// reaches the disk before the call returns. Several programs may append at the same time;
// each line stays whole. Returns false if the file could not be opened or written.
bool appendLine(const std::wstring& path, const std::wstring& line);

} // namespace standin
