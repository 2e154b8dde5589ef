#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
  const CommandLineResult commandLine = ParseCommandLine(argc, argv);
  if (commandLine.helpRequested && commandLine.ok) {
    std::fputs(UsageText(argv[0]).c_str(), stdout);
    return 0;
  }
  if (!commandLine.ok) {
    std::fprintf(stderr, "%s: %s\n\n%s", argv[0], commandLine.error.c_str(), UsageText(argv[0]).c_str());
    return 2;
  }

  // The show itself always ends with exit code 0.
  Application* application = new Application(commandLine.options);
  if (application->Initialize()) application->Run();
  application->Shutdown();
  delete application;
  return 0;
}
