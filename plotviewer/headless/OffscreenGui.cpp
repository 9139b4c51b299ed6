#include "OffscreenGui.h"

#include <QGuiApplication>

namespace plotviewer {

OffscreenGui::OffscreenGui() = default;
OffscreenGui::~OffscreenGui() = default;

void OffscreenGui::start()
{
    if (!m_application)
        m_application = std::make_unique<QGuiApplication>(m_argc, m_argv);
}

} // namespace plotviewer
