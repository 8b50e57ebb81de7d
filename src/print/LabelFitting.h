#pragma once

#include <functional>
#include <utility>

// Fits the font size of a label's or envelope's text to its box: from a first guess, grow while the
// text fills little of the box and shrink while it overruns it, in small steps and a bounded number
// of passes. A text still too big after the last pass is drawn as it is.
namespace LabelFitting {

constexpr int MaxPasses = 20;
// Never smaller, so that an empty or unfittable text still gets a drawable font.
constexpr double MinimumSize = 1.0;

// The text's width and height against the box's, at a font size.
using Ratios = std::function<std::pair<double, double>(double size)>;

struct Result
{
    // The size of the last text built and measured, which is the one drawn.
    double size = MinimumSize;
    int passes = 0;
};

// The step after a pass that measured those ratios; 0 ends the fitting.
double change(double ra, double rb);
Result fit(double initial, const Ratios &ratios);
// The measure over the room; a box of no room is overrun by anything.
double ratio(double measured, double available);

} // namespace LabelFitting
