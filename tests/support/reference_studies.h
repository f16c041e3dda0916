#pragma once

#include <functional>

#include "anova.h"

// Studies the calc suites share: the published AIAG study and studies made from a rule.
namespace {

// The AIAG 10 x 3 x 3 study: per appraiser, three trials of parts 1..10.
const double kAiag[3][3][10] = {
    {{0.29, -0.56, 1.34, 0.47, -0.80, 0.02, 0.59, -0.31, 2.26, -1.36},
     {0.41, -0.68, 1.17, 0.50, -0.92, -0.11, 0.75, -0.20, 1.99, -1.25},
     {0.64, -0.58, 1.27, 0.64, -0.84, -0.21, 0.66, -0.17, 2.01, -1.31}},
    {{0.08, -0.47, 1.19, 0.01, -0.56, -0.20, 0.47, -0.63, 1.80, -1.68},
     {0.25, -1.22, 0.94, 1.03, -1.20, 0.22, 0.55, 0.08, 2.12, -1.62},
     {0.07, -0.68, 1.34, 0.20, -1.28, 0.06, 0.83, -0.34, 2.19, -1.50}},
    {{0.04, -1.38, 0.88, 0.14, -1.46, -0.29, 0.02, -0.46, 1.77, -1.49},
     {-0.11, -1.13, 1.09, 0.20, -1.07, -0.67, 0.01, -0.56, 1.45, -1.77},
     {-0.15, -0.96, 0.67, 0.11, -1.45, -0.49, 0.21, -0.49, 1.87, -2.16}}};

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
