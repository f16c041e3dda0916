#include "factor_tables.h"

FactorTables::FactorTables() {
    k1_[0][2] = 4.56;
    k1_[0][3] = 3.05;
    k1_[1][2] = 3.47;
    k1_[1][3] = 2.32;

    k2_[0][2] = 3.65;
    k2_[0][3] = 2.70;
    k2_[1][2] = 2.78;
    k2_[1][3] = 2.06;

    const double level99[] = {3.65, 2.70, 2.30, 2.08, 1.93, 1.82, 1.74, 1.67, 1.62};
    const double level95[] = {2.78, 2.06, 1.75, 1.58, 1.47, 1.39, 1.32, 1.27, 1.23};
    for (std::size_t n = 2; n <= 10; ++n) {
        k3_[0][n] = level99[n - 2];
        k3_[1][n] = level95[n - 2];
    }
}

bool FactorTables::replace(Factor factor, int level, int count, double value) {
    const auto put = [&](auto& table) {
        if (!cell(table, level, count)) {
            return false;
        }
        table[static_cast<std::size_t>(level)][static_cast<std::size_t>(count)] = Value(value);
        return true;
    };
    switch (factor) {
        case Factor::K1:
            return put(k1_);
        case Factor::K2:
            return put(k2_);
        case Factor::K3:
            return put(k3_);
    }
    return false;
}
