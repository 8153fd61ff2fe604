#pragma once

// The build's label: drawn in the corner of the screen and printed by
// "--version".
inline constexpr const char* kVersionLabel = "1.0 r125";
