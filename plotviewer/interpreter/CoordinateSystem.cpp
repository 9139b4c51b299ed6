#include "CoordinateSystem.h"

#include "InstructionArguments.h"
#include "plotviewer/model/Geometry.h"

#include <cmath>

namespace plotviewer::hpgl {

namespace {

// Where small pen plotters put the default P1 inside their hard-clip limits (A4 size).
constexpr Point plotterInset { 603, 521 };

} // namespace

void CoordinateSystem::setFrame(double width, double height, bool inset)
{
    frameChanged();
    m_width = width;
    m_height = height;
    m_inset = inset;
    resetScalingPoints();
}

void CoordinateSystem::setDeviceScale(double sx, double sy)
{
    m_deviceScaleX = std::isfinite(sx) && sx > 0 ? sx : 1;
    m_deviceScaleY = std::isfinite(sy) && sy > 0 ? sy : 1;
    frameChanged();
}

bool CoordinateSystem::setRotation(double degrees)
{
    const double normalised = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
    if (normalised != 0 && normalised != 90 && normalised != 180 && normalised != 270)
        return false;
    if (m_rotation != static_cast<int>(normalised))
        frameChanged();
    m_rotation = static_cast<int>(normalised);
    return true;
}

Point CoordinateSystem::rotatedFrameSize() const
{
    return m_rotation == 90 || m_rotation == 270 ? Point { m_height, m_width } : Point { m_width, m_height };
}

void CoordinateSystem::resetScalingPoints()
{
    const Point size = rotatedFrameSize();
    if (m_inset && size.x > 2 * plotterInset.x && size.y > 2 * plotterInset.y)
        setScalingPoints(plotterInset, { size.x - plotterInset.x, size.y - plotterInset.y });
    else
        setScalingPoints({ 0, 0 }, size);
}

void CoordinateSystem::setScalingPoints(Point p1, Point p2)
{
    if (p1.x == p2.x)
        p2.x += 1;
    if (p1.y == p2.y)
        p2.y += 1;
    m_p1 = p1;
    m_p2 = p2;
    m_diagonal = std::hypot(m_p2.x - m_p1.x, m_p2.y - m_p1.y);
    m_userMapsStale = true;
}

bool CoordinateSystem::setScaling(const std::vector<double> &parameters)
{
    if (parameters.size() < 4)
        return false;
    for (double value : parameters) {
        if (!std::isfinite(value))
            return false;
    }
    const double type = parameters.size() >= 5 ? std::round(parameters[4]) : 0;
    if (type == 2) {
        if (parameters[1] == 0 || parameters[3] == 0)
            return false;
        m_scaling = Scaling::PointFactor;
    } else if (type == 0 || type == 1) {
        if (parameters[0] == parameters[1] || parameters[2] == parameters[3])
            return false;
        if (type == 1 && parameters.size() >= 7
            && (parameters[5] < 0 || parameters[5] > 100 || parameters[6] < 0 || parameters[6] > 100))
            return false;
        m_scaling = type == 1 ? Scaling::Isotropic : Scaling::Anisotropic;
    } else {
        return false;
    }
    m_scalingParameters = parameters;
    m_userMapsStale = true;
    return true;
}

void CoordinateSystem::scalingOff()
{
    m_scaling = Scaling::Off;
    m_userMapsStale = true;
}

Rect CoordinateSystem::frameInOutput() const
{
    return { 0, 0, m_width * m_deviceScaleX, m_height * m_deviceScaleY };
}

AffineMap CoordinateSystem::rotationMap(int degrees, double width, double height)
{
    // The rotated system is shifted so that the page stays in its positive quadrant.
    switch (degrees) {
    case 90:
        return { 0, 1, -1, 0, width, 0 };
    case 180:
        return { -1, 0, 0, -1, width, height };
    case 270:
        return { 0, -1, 1, 0, 0, height };
    default:
        return {};
    }
}

void CoordinateSystem::updateFrameMaps() const
{
    m_frameMaps.rotatedToOutput
        = rotationMap(m_rotation, m_width, m_height).then(AffineMap::scaling(m_deviceScaleX, m_deviceScaleY));
    m_frameMaps.outputToRotated = m_frameMaps.rotatedToOutput.inverted();
    m_frameMapsStale = false;
}

void CoordinateSystem::updateUserMaps() const
{
    const std::vector<double> &s = m_scalingParameters;
    const double dx = m_p2.x - m_p1.x;
    const double dy = m_p2.y - m_p1.y;
    switch (m_scaling) {
    case Scaling::Off:
        m_userMaps.userToRotated = {};
        break;
    case Scaling::PointFactor:
        m_userMaps.userToRotated = { s[1], 0, 0, s[3], m_p1.x - s[0] * s[1], m_p1.y - s[2] * s[3] };
        break;
    case Scaling::Anisotropic:
    case Scaling::Isotropic: {
        double sx = dx / (s[1] - s[0]);
        double sy = dy / (s[3] - s[2]);
        double shiftX = 0;
        double shiftY = 0;
        if (m_scaling == Scaling::Isotropic) {
            const double left = s.size() >= 6 ? s[5] : 50;
            const double bottom = s.size() >= 7 ? s[6] : 50;
            // One factor for both axes; the spare room is shared out by left / bottom.
            if (std::abs(sx) > std::abs(sy)) {
                shiftX = std::copysign(1.0, dx) * std::abs(s[1] - s[0]) * (std::abs(sx) - std::abs(sy)) * left
                    / 100;
                sx = std::copysign(std::abs(sy), sx);
            } else {
                shiftY = std::copysign(1.0, dy) * std::abs(s[3] - s[2]) * (std::abs(sy) - std::abs(sx))
                    * bottom / 100;
                sy = std::copysign(std::abs(sx), sy);
            }
        }
        m_userMaps.userToRotated = { sx, 0, 0, sy, m_p1.x - s[0] * sx + shiftX, m_p1.y - s[2] * sy + shiftY };
        break;
    }
    }
    m_userMaps.userToOutput = m_userMaps.userToRotated.then(frameMaps().rotatedToOutput);
    m_userMaps.outputToUser = m_userMaps.userToOutput.inverted();
    m_userMapsStale = false;
}

void CoordinateSystem::inputScalingPoints(const std::vector<double> &n, bool relative)
{
    if (n.empty()) {
        resetScalingPoints();
        return;
    }
    if ((n.size() != 2 && n.size() < 4) || !allFinite(n))
        return;
    const Point frame = rotatedFrameSize();
    auto convert = [&](double x, double y) {
        return relative ? Point { x / 100 * frame.x, y / 100 * frame.y }
                        : Point { std::round(x), std::round(y) };
    };
    const Point p1 = convert(n[0], n[1]);
    if (n.size() == 2)
        setScalingPoints(p1, add(m_p2, { p1.x - m_p1.x, p1.y - m_p1.y }));
    else
        setScalingPoints(p1, convert(n[2], n[3]));
}

} // namespace plotviewer::hpgl
