#pragma once

#include "fuzzcheck.h"

#include "formfixture.h"

#include <QApplication>

// One offscreen window for the whole fuzzing run: making a window per input
// would cost more than the input itself.
inline FormFixture &fuzzWindow()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(app);
    static FormFixture *fixture = new FormFixture;
    return *fixture;
}

