#pragma once
// The piece: one section per scene of the show, composed on the cue sheet.
#include "Harmony.h"
#include "Score.h"

namespace music {

// Every note of the show: the sections' music, then the cue-sheet accents, with groove
// notes that would double an accent taken out.
Score ComposeShow();

// The sections' own music, without the accents.
Score ComposeSections();

// The accents of the cue sheet alone: a hit on every flasher key start, speed jump and
// shake, whooshes on captions, slides and rolls.
Score ComposeAccents();

// Level of the arrangement at a show time, in dB: the shape of the piece's builds and
// releases, applied to the mix before the master is set to its loudness.
double ArrangementLevelDb(double ms);

// The chord sounding at a show time (what the pads play there); accents are voiced on it.
Chord ChordAt(double ms);

// Downbeat of each scene's bar grid, in schedule order.
double SectionDownbeat(int slot);

}  // namespace music
