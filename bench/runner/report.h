#pragma once
// The figures of a bench run and the Markdown tables printed from them.

#include <string>
#include <vector>

namespace bench {

// The values measured for one program in one row, in ms or MiB.
struct Series {
    std::string label;
    std::string unit;
    std::vector<double> values;
};

double Median(std::vector<double> values);
double Minimum(const std::vector<double>& values);

// One line of the ratio table: Tavimo against its yardstick and, where there is one, a reference.
struct RatioRow {
    std::string what;
    std::string yardstick;
    const Series* tavimo = nullptr;
    const Series* measuredYardstick = nullptr;
    std::string reference; // empty: no reference
    const Series* measuredReference = nullptr;
};

// "| row | yardstick | median | minimum | reference | median | minimum |", each ratio Tavimo / other:
// the median of the ratios of the runs made in the same round (which saw the same load on the machine),
// and the ratio of the two minima.
std::string RatioTable(const std::vector<RatioRow>& rows, const std::string& extraRows);

// "| program | runs | median | minimum |" over every series.
std::string RawTable(const std::vector<const Series*>& series);

// "1.31×"; "—" when nothing can be divided.
std::string Ratio(double numerator, double denominator);
// The median of numerators[i] / denominators[i], as Ratio writes it.
std::string PairedRatio(const std::vector<double>& numerators, const std::vector<double>& denominators);
std::string Fixed(double value, int decimals);

} // namespace bench
