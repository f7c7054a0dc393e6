#pragma once
// The directory of the running executable and the paths of the programs beside it.

#include <string>
#include <string_view>

namespace sc {

// Everything up to and including the last backslash; empty when the path holds none.
std::string directoryPart(std::string_view exePath);

// `directory` + `fileName`, with a backslash between them unless `directory` already ends in
// one. An empty directory adds nothing: the file name alone is returned.
std::string joinPath(std::string_view directory, std::string_view fileName);

} // namespace sc
