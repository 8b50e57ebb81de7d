#pragma once

class QPaintDevice;

// Text for print is laid out in points: a paint device of 72 dots per inch, on which a font of
// n points is n units tall. A painter scaled to points then draws it at its size on any device.
namespace TextDevice {

QPaintDevice *points();

} // namespace TextDevice
