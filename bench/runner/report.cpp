#include "runner/report.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Ratio(double numerator, double denominator) {
    if (!(numerator > 0) || !(denominator > 0)) {
        return "—";
    }
    return Fixed(numerator / denominator, 2) + "×";
}

std::string PairedRatio(const std::vector<double>& numerators, const std::vector<double>& denominators) {
    std::vector<double> ratios;
    for (size_t i = 0; i < numerators.size() && i < denominators.size(); ++i) {
        if (numerators[i] > 0 && denominators[i] > 0) {
            ratios.push_back(numerators[i] / denominators[i]);
        }
    }
    return ratios.empty() ? "—" : Fixed(Median(ratios), 2) + "×";
}

std::string RatioTable(const std::vector<RatioRow>& rows, const std::string& extraRows) {
    std::string table = "| row | yardstick | Tavimo / yardstick, median | minimum | reference | Tavimo / "
                        "reference, median | minimum |\n|---|---|---|---|---|---|---|\n";
    for (const RatioRow& row : rows) {
        const auto& t = row.tavimo->values;
        const auto& y = row.measuredYardstick->values;
        table += "| " + row.what + " | " + row.yardstick + " | " + PairedRatio(t, y) + " | " +
                 Ratio(Minimum(t), Minimum(y)) + " | ";
        if (row.measuredReference) {
            const auto& r = row.measuredReference->values;
            table +=
                row.reference + " | " + PairedRatio(t, r) + " | " + Ratio(Minimum(t), Minimum(r)) + " |\n";
        } else {
            table += "— | | |\n";
        }
    }
    return table + extraRows;
}

std::string RawTable(const std::vector<const Series*>& series) {
    std::string table = "| program | runs | median | minimum |\n|---|---|---|---|\n";
    for (const Series* s : series) {
        if (s->values.empty()) {
            continue;
        }
        const int decimals = s->unit == "MiB" ? 2 : 1;
        table += "| " + s->label + " | " + std::to_string(s->values.size()) + " | " +
                 Fixed(Median(s->values), decimals) + " " + s->unit + " | " +
                 Fixed(Minimum(s->values), decimals) + " " + s->unit + " |\n";
    }
    return table;
}

} // namespace bench
