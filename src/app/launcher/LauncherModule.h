#pragma once
// The launcher dialog's toolkit side, built as a module of its own ("pulsar-launcher.so") that
// the show loads only when it shows the dialog: the toolkit and the sixty libraries it brings
// take about 20 ms to load, which every start without the dialog would pay (twice with the
// huge-page restart).
#include "app/LaunchSettings.h"
#include "app/launcher/LauncherContents.h"

extern "C" {

// Initialises the toolkit; false when it finds no display to open.
__attribute__((visibility("default"))) bool PulsarLauncherOpenDisplay();

// Shows the dialog with these contents until the user starts or quits, leaving the choices in
// settings.
__attribute__((visibility("default"))) void PulsarLauncherRun(const LauncherContents* contents,
                                                              LaunchSettings* settings);
}

// The module's file name, beside the program or in the installed library directory.
inline constexpr const char* kLauncherModuleName = "pulsar-launcher.so";
