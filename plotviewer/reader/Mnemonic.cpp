#include "Mnemonic.h"

#include "Instruction.h"

namespace plotviewer::hpgl {

bool isKnownMnemonic(Mnemonic name)
{
    return instructionNamed(name).has_value();
}

std::string mnemonicText(Mnemonic name)
{
    return { static_cast<char>(name >> 8), static_cast<char>(name & 0xff) };
}

} // namespace plotviewer::hpgl
