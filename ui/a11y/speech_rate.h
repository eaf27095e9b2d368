// How long speech takes at a screen reader's rate, against its default rate.
#pragma once

namespace a11y {

// Orca's rate runs from 0 to 100, 50 by default; what it asks of speech-dispatcher and what
// espeak-ng, the voice it speaks with, then takes to say the same words: 1 at the default
// rate, about 1.5 at 25 and 0.35 at 90.
double PaceAtOrcaRate(double rate);

} // namespace a11y
