#pragma once

namespace kestrin {

// The protocol version this program speaks; the unit reports its own in the identification
// block and in every monitor frame, and it names the settings file.
inline constexpr int kProtocolVersion = 74;

}  // namespace kestrin
