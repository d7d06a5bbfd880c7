#pragma once

#include "tools/modwriter/ModWriter.h"

namespace vd::demo {

// "Dezaru Dawn": an original four-channel module of about a minute in A minor. Intro, verse,
// chorus, verse, bridge, chorus, verse, outro; a pulse lead carries the hook over a bouncing
// bass, a plucked-string arpeggio and one drum channel. The same bytes on every run.
[[nodiscard]] modwriter::Module make_demo_song();

} // namespace vd::demo
