#pragma once
#include <string>

namespace tobla::sim {

// Deletes a folder and everything below it, read-only files included; what cannot
// be deleted (a file still open elsewhere) is left. The path is in UTF-8.
void RemoveTree(const std::string& path);

}  // namespace tobla::sim
