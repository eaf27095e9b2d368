// The peak search shared by the analyzer and its speed anchor.
#pragma once

// Index of the greatest of power[0..count-1]. Strictly greater wins, so the lowest of equal
// maxima stays and a NaN is never taken; 0 when count is 0.
inline int StrongestBin(const double* power, int count) {
    double best = -1.0;
    int point = 0;
    for (int i = 0; i < count; ++i) {
        if (power[i] > best) {
            best = power[i];
            point = i;
        }
    }
    return point;
}
