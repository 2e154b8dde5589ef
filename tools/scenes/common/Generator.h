#pragma once
// The frame of every scene generator program: "<program> <output directory>" writes the scene
// and its pictures there. Scenes are checked (SceneChecks.h) before they are written.
#include <functional>
#include <string>

#include "C4eWriter.h"

namespace kit {

// Writes directory/fileName after SceneProblems finds nothing; otherwise prints every problem
// to stderr and returns false. Prints the scene's figures on success.
bool WriteCheckedScene(const c4e::Scene& scene, const std::string& directory, const std::string& fileName);

// Runs write(directory) for "<program> <directory>"; exit code 0 on success, 1 when write
// fails, 2 on a wrong command line.
int GeneratorMain(int argc, char** argv, const std::function<bool(const std::string& directory)>& write);

}  // namespace kit
