#pragma once
// Tallies the instructions the interpreter does not know, for one warning at the end of the plot.

#include "plotviewer/reader/Mnemonic.h"

#include <map>
#include <string>

namespace plotviewer::hpgl {

class UnknownInstructions
{
public:
    void count(Mnemonic name) { ++m_counts[mnemonicText(name)]; }
    /// "skipped N unknown instructions (AB, CD, ...)", or empty when there were none.
    std::string summary() const;

private:
    std::map<std::string, int> m_counts;
};

} // namespace plotviewer::hpgl
