#include "Instruments.h"

#include "Voice.h"

namespace music {

Bus BusOf(Voice voice) {
  switch (voice) {
    case Voice::Kick:
    case Voice::Snare:
    case Voice::Clap:
    case Voice::HatClosed:
    case Voice::HatOpen:
    case Voice::Crash:
    case Voice::Tom:
      return Bus::Drums;
    case Voice::Impact:
    case Voice::Tick:
    case Voice::Stab:
      return Bus::Accents;
    case Voice::Riser:
    case Voice::Whoosh:
    case Voice::ReverseSwell:
      return Bus::Effects;
    case Voice::Bass:
      return Bus::Bass;
    case Voice::Pad:
      return Bus::Pads;
    case Voice::Lead:
      return Bus::Leads;
    case Voice::Pluck:
    case Voice::Bell:
      return Bus::Plucks;
  }
  return Bus::Effects;
}

void RenderNote(const Note& note, StereoBuffer& out) {
  const std::size_t start = SampleAt(note.timeMs);
  switch (note.voice) {
    case Voice::Kick: voice::RenderKick(note, out, start); break;
    case Voice::Snare: voice::RenderSnare(note, out, start); break;
    case Voice::Clap: voice::RenderClap(note, out, start); break;
    case Voice::HatClosed: voice::RenderHat(note, out, start, false); break;
    case Voice::HatOpen: voice::RenderHat(note, out, start, true); break;
    case Voice::Crash: voice::RenderCrash(note, out, start); break;
    case Voice::Tom: voice::RenderTom(note, out, start); break;
    case Voice::Impact: voice::RenderImpact(note, out, start); break;
    case Voice::Tick: voice::RenderTick(note, out, start); break;
    case Voice::Riser:
    case Voice::Whoosh:
    case Voice::ReverseSwell: voice::RenderSweep(note, out, start); break;
    case Voice::Bass: voice::RenderBass(note, out, start); break;
    case Voice::Pad: voice::RenderPad(note, out, start); break;
    case Voice::Pluck: voice::RenderPluck(note, out, start); break;
    case Voice::Lead: voice::RenderLead(note, out, start); break;
    case Voice::Stab: voice::RenderStab(note, out, start); break;
    case Voice::Bell: voice::RenderBell(note, out, start); break;
  }
}

}  // namespace music