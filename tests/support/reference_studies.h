#pragma once

#include <functional>

#include "aiag_values.h"
#include "anova.h"

// Studies the calc suites share: the published AIAG study and studies made from a rule.
namespace {

Anova::Input aiag() {
    Anova::Input in;
    in.y.assign(3, std::vector<std::vector<double>>(10, std::vector<double>(3)));
    for (int i = 0; i < 3; ++i) {
        for (int t = 0; t < 3; ++t) {
            for (int j = 0; j < 10; ++j) {
                in.y[i][j][t] = kAiag[i][t][j];
            }
        }
    }
    in.referenceMode = 3;
    in.POK = 10;
    in.PSR = 30;
    in.IK1 = 5;
    in.IK2 = 3;
    return in;
}

// k x n x r values from a rule.
Anova::Input made(int k, int n, int r, const std::function<double(int, int, int)>& value) {
    Anova::Input in;
    in.y.assign(k, std::vector<std::vector<double>>(n, std::vector<double>(r)));
    for (int i = 0; i < k; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int t = 0; t < r; ++t) {
                in.y[i][j][t] = value(i, j, t);
            }
        }
    }
    in.referenceMode = 3;
    return in;
}

}  // namespace
