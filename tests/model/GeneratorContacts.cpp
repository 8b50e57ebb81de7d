// The benchmarks' contact generator, built into this test program: the export tests take every
// kind of value it makes from the one generator rather than from a copy of it.
#include "../../bench/BenchContacts.cpp"
