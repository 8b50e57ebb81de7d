#pragma once

#include <functional>

// The main of every benchmark program: a fresh HOME and XDG folders of the run's own (records read
// custom values from a cloud store and the user's defaults), the offscreen platform, the
// benchmark data made if missing and the custom-item definitions of that data declared.
// beforeExit runs after the benchmarks, while the application still exists.
namespace BenchMain {

int run(int argc, char **argv, bool widgets, const std::function<void()> &beforeExit = {});

} // namespace BenchMain
