#pragma once
// The launcher: a small borderless dialog, centred on the screen, that offers the first output's
// resolutions, "v-sync" and "fullscreen", and starts the show ("Demo!", Enter) or quits
// ("Don't...", Escape). It runs modally on the calling thread.

// Shows the dialog and leaves the user's choices in TheLaunchSettings(); `start` is true only
// after "Demo!". Needs video started (the modes come from the show's display layer). False, with
// the settings untouched, when no dialog could be shown because the toolkit found no display or
// its module (beside the program, or installed) could not be loaded. The toolkit is loaded and
// initialised here and nowhere else, so runs that skip the launcher never touch it.
bool ShowLauncherDialog(bool vsync);
