#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/LargePages.h"
#include "app/StopSignals.h"

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
  // Both before any thread exists: a restart keeps only this one, and no other thread may take
  // the stop signals.
  RestartWithLargePages(argv);
  InstallStopSignals();

  // 0 for a show that started and ended, by itself or by the user, and for one the user chose
  // not to start; 1 for one that could not start or could not write what it was asked to
  // (a video, frames, a screenshot).
  Application* application = new Application(commandLine.options);
  const bool started = application->Initialize();
  if (started) {
    SetStopByFrameLoop(true);
    application->Run();
  }
  const bool declined = application->declined();
  const bool failed = application->failed();
  application->Shutdown();
  delete application;
  // Stopped by a signal: everything is released; now end the way the signal asked.
  if (const int signal = StopSignal()) EndBySignal(signal);
  return (started && !failed) || declined ? 0 : 1;
}
