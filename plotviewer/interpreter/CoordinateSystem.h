#pragma once
// The mapping from user units to output plotter units: scaling (SC) on the scaling points P1/P2
// (IP, IR), rotation with its shift (RO) within the hard-clip frame, and the PCL plot-size scale.

#include "AffineMap.h"

#include <vector>

namespace plotviewer::hpgl {

class CoordinateSystem
{
public:
    /// The hard-clip frame in the unrotated system. `inset` places the default P1/P2 inside it as
    /// small pen plotters do, instead of on its corners.
    void setFrame(double width, double height, bool inset);
    double frameWidth() const { return m_width; }
    double frameHeight() const { return m_height; }
    /// PCL plot size: output = plotter units * scale.
    void setDeviceScale(double sx, double sy);
    Point deviceScale() const { return { m_deviceScaleX, m_deviceScaleY }; }

    int rotation() const { return m_rotation; }
    bool setRotation(double degrees);
    /// The frame's size in the rotated system.
    Point rotatedFrameSize() const;

    void resetScalingPoints();
    void setScalingPoints(Point p1, Point p2);
    /// IP (`relative` false) or IR with their arguments: none restores the defaults, two move P1
    /// and P2 together, four set both; anything else is ignored.
    void inputScalingPoints(const std::vector<double> &n, bool relative);
    Point p1() const { return m_p1; }
    Point p2() const { return m_p2; }
    /// The P1-P2 diagonal, which sizes pens, line patterns and hatching in every stroke.
    double diagonal() const { return m_diagonal; }

    /// SC with its parameters; false (and no change) when the command must be ignored.
    bool setScaling(const std::vector<double> &parameters);
    void scalingOff();

    const AffineMap &userToOutput() const { return userMaps().userToOutput; }
    const AffineMap &outputToUser() const { return userMaps().outputToUser; }
    /// From plotter units in the rotated system (sizes of text, hatch spacing) to output.
    const AffineMap &rotatedToOutput() const { return frameMaps().rotatedToOutput; }
    const AffineMap &outputToRotated() const { return frameMaps().outputToRotated; }
    /// The user-unit factors of the current scaling (1 when off).
    Point userScale() const { return { userMaps().userToRotated.a, userMaps().userToRotated.d }; }
    Rect frameInOutput() const;
    /// Rotated system to unrotated for rotation `degrees` in a frame of `width` x `height`.
    static AffineMap rotationMap(int degrees, double width, double height);

private:
    enum class Scaling : unsigned char { Off, Anisotropic, Isotropic, PointFactor };
    // The maps of the frame follow the frame, rotation and device scale; the user maps also follow
    // P1, P2 and the scaling.
    struct FrameMaps
    {
        AffineMap rotatedToOutput;
        AffineMap outputToRotated;
    };
    struct UserMaps
    {
        AffineMap userToRotated;
        AffineMap userToOutput;
        AffineMap outputToUser;
    };
    // Set-up and IN change the inputs many times before anything is drawn, so the maps are worked
    // out when first asked for after a change.
    const FrameMaps &frameMaps() const
    {
        if (m_frameMapsStale)
            updateFrameMaps();
        return m_frameMaps;
    }
    const UserMaps &userMaps() const
    {
        if (m_userMapsStale)
            updateUserMaps();
        return m_userMaps;
    }
    void updateFrameMaps() const;
    void updateUserMaps() const;
    void frameChanged() { m_frameMapsStale = m_userMapsStale = true; }

    double m_width = 0;
    double m_height = 0;
    bool m_inset = false;
    double m_deviceScaleX = 1;
    double m_deviceScaleY = 1;
    int m_rotation = 0;
    Point m_p1;
    Point m_p2;
    double m_diagonal = 0;
    Scaling m_scaling = Scaling::Off;
    std::vector<double> m_scalingParameters;
    mutable FrameMaps m_frameMaps;
    mutable UserMaps m_userMaps;
    mutable bool m_frameMapsStale = true;
    mutable bool m_userMapsStale = true;
};

} // namespace plotviewer::hpgl
