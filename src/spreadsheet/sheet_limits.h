#pragma once

// The size of the largest worksheet the format allows.
namespace SheetLimits {
inline constexpr int MaxRows = 1048576;
inline constexpr int MaxColumns = 16384;
inline constexpr int MaxTextLength = 32767; // characters in one cell
} // namespace SheetLimits
