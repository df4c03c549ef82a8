#pragma once

#include <cstdint>

namespace skel {

/// What an animation-state notification reports about a track entry.
enum class EventType : int32_t { start = 0, interrupt = 1, end = 2, complete = 3, dispose = 4, event = 5 };

}  // namespace skel
