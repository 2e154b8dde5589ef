#pragma once
// Where the show finds "demo.dat": the file named on the command line, else the first of the
// working directory, the program's own directory and the installed data directory that has one.
#include <string>
#include <vector>

constexpr const char* kArchiveName = "demo.dat";

// The running program's file, and its directory; "" when the system cannot say.
std::string ProgramPath();
std::string ProgramDirectory();

// The places looked at, in order, for a program that lives in programDirectory.
std::vector<std::string> ArchiveCandidates(const std::string& programDirectory);

// An explicit name is taken as it is. Otherwise the first candidate that exists wins, even one
// that cannot be read (opening it then says why) rather than quietly falling back to another
// copy. False, with error saying where it looked, when there is none.
bool FindArchive(const std::string& named, const std::string& programDirectory, std::string* path,
                 std::string* error);
