#pragma once

#include <functional>

namespace plotviewer {

/// Called before the first drawing that needs the font database, which only a GUI application
/// (on the offscreen platform) provides; plots without such text never pay for starting it.
using FontSupport = std::function<void()>;

} // namespace plotviewer
