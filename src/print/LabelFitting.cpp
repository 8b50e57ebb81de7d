#include "print/LabelFitting.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LabelFitting {

double change(double ra, double rb)
{
    if (ra > 0.98 || rb > 0.98)
        return -0.2;
    if (ra < 0.6 && rb < 0.6)
        return 1.2;
    if (ra < 0.8 && rb < 0.8)
        return 0.8;
    if (ra < 0.9 && rb < 0.9)
        return 0.4;
    return 0;
}

Result fit(double initial, const Ratios &ratios)
{
    double size = std::isfinite(initial) ? std::max(initial, MinimumSize) : MinimumSize;
    Result result;
    for (int pass = 0; pass < MaxPasses; ++pass) {
        result.size = size;
        result.passes = pass + 1;
        const auto [ra, rb] = ratios(size);
        const double step = change(ra, rb);
        if (step == 0)
            break;
        size = std::max(size + step, MinimumSize);
    }
    return result;
}

double ratio(double measured, double available)
{
    if (available > 0)
        return measured / available;
    return measured > 0 ? std::numeric_limits<double>::infinity() : 0;
}

} // namespace LabelFitting
