#include "UnknownInstructions.h"

namespace plotviewer::hpgl {

std::string UnknownInstructions::summary() const
{
    if (m_counts.empty())
        return {};
    int total = 0;
    std::string names;
    for (const auto &[name, count] : m_counts) {
        total += count;
        if (names.size() < 40)
            names += (names.empty() ? "" : ", ") + name;
    }
    return "skipped " + std::to_string(total) + " unknown instructions (" + names + ")";
}

} // namespace plotviewer::hpgl
