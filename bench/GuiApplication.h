#pragma once

namespace nuvisca::bench {

// The one Qt application of the benchmark process, on the offscreen platform unless another
// is asked for; created on first use, before anything draws.
void ensureGuiApplication();

}  // namespace nuvisca::bench
