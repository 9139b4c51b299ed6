#pragma once
// How the bytes the reader has gone through divide up: plot content, and what only looks like it.

#include <cstddef>

namespace plotviewer::hpgl {

struct ContentTally
{
    /// HP-GL instructions the reader knows, with their arguments, labels and PE data.
    std::size_t knownInstructions = 0;
    /// Two-letter names it does not know, with whatever arguments they seem to have.
    std::size_t unknownInstructions = 0;
    /// PCL escape sequences with their raster and other data, and PJL lines.
    std::size_t jobControl = 0;
    /// Every other byte that is not blank: stray bytes between instructions, encoded data that does
    /// not decode, and PCL text.
    std::size_t stray = 0;

    std::size_t plotContent() const { return knownInstructions + jobControl; }
    std::size_t total() const { return knownInstructions + unknownInstructions + jobControl + stray; }
};

} // namespace plotviewer::hpgl
