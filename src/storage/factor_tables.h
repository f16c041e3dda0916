#pragma once

#include <array>
#include <optional>

#include "value.h"

// The constants of the average-and-range method, indexed by confidence level (0 =
// 99 %, 5.15 standard deviations; 1 = 95 %, 3.92) and by the number of trials (K1),
// appraisers (K2) or parts (K3). Only the method's cells are filled.
class FactorTables {
public:
    FactorTables();

    // No cell at all (a count past the table) is nullopt; a cell that exists but is
    // not filled (a count below 2) is an empty value.
    std::optional<Value> k1(int level, int trials) const { return cell(k1_, level, trials); }
    std::optional<Value> k2(int level, int appraisers) const {
        return cell(k2_, level, appraisers);
    }
    std::optional<Value> k3(int level, int parts) const { return cell(k3_, level, parts); }

    // Another value in one cell of K1 (trials), K2 (appraisers) or K3 (parts): how the
    // verification shows that a wrong factor cannot pass unnoticed. False past the table.
    enum class Factor { K1, K2, K3 };
    bool replace(Factor factor, int level, int count, double value);

private:
    template <std::size_t Columns>
    using Table = std::array<std::array<Value, Columns>, 3>;

    template <std::size_t Columns>
    static std::optional<Value> cell(const Table<Columns>& table, int level, int count) {
        if (level < 0 || level >= 3 || count < 0 || static_cast<std::size_t>(count) >= Columns) {
            return std::nullopt;
        }
        return table[static_cast<std::size_t>(level)][static_cast<std::size_t>(count)];
    }

    Table<4> k1_;
    Table<4> k2_;
    Table<11> k3_;
};
