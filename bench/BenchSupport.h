#pragma once

// What every benchmark here needs besides its own measurements.
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

// The middle value; with an even count, the mean of the two middle ones.
inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline const char* verdict(bool ok) {
    return ok ? "met" : "MISSED";
}

// A home of the benchmark's own, removed at exit, so that no setting or tag of the user's
// counts and nothing is left behind; on the offscreen platform. Call before the application
// object exists.
inline const QTemporaryDir& UseThrowawayHome() {
    static QTemporaryDir home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qunsetenv("XDG_DOCUMENTS_DIR");
    qunsetenv("XDG_CONFIG_HOME");
    return home;
}
