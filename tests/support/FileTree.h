#pragma once
// Whole files and whole directory trees, for tests that check what a run wrote and what it left
// alone.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& data);

// Every path below root, relative and '/' separated, directories with a trailing '/'.
std::vector<std::string> ListTree(const std::filesystem::path& root);

// Every path below root with its bytes ("" for directories), to compare a tree before and after.
std::vector<std::pair<std::string, std::string>> SnapshotTree(const std::filesystem::path& root);
