#pragma once

#include <memory>

class QGuiApplication;

namespace plotviewer {

/// A GUI application on the offscreen platform, started only when drawing first needs it (fonts,
/// PDF): a command-line face draws without a display and starts fastest without one at all.
class OffscreenGui
{
public:
    OffscreenGui();
    ~OffscreenGui();

    /// Starts the application unless it runs already.
    void start();

private:
    int m_argc = 3;
    char m_program[16] = "plotviewer";
    char m_platformOption[16] = "-platform";
    char m_platform[16] = "offscreen";
    char *m_argv[4] = { m_program, m_platformOption, m_platform, nullptr };
    std::unique_ptr<QGuiApplication> m_application;
};

} // namespace plotviewer
