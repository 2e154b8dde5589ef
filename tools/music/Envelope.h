#pragma once
// ADSR envelope: a linear attack to 1, then exponential segments. A decay or release of
// `seconds` covers 99 % of its distance (-40 dB), so the times read like a synth's knobs.

namespace music {

class Envelope {
 public:
  Envelope(float attackSeconds, float decaySeconds, float sustain, float releaseSeconds);

  // Next value; the gate is held until Release().
  float Next();
  void Release();
  bool Finished() const { return m_stage == Stage::Done; }
  float Value() const { return m_value; }

 private:
  enum class Stage { Attack, Decay, Release, Done };

  Stage m_stage = Stage::Attack;
  float m_value = 0.0f;
  float m_attackSamples;
  float m_attackCount = 0.0f;
  float m_decayCoefficient;
  float m_releaseCoefficient;
  float m_sustain;
};

// Coefficient of a one-pole segment that covers 99 % of its distance in `seconds`.
float SegmentCoefficient(float seconds);

}  // namespace music
