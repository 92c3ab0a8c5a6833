#pragma once

#include "serial/startup.h"
#include "core/virtualplatform.h"
#include "ui/form1.h"

#include "controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

// A window on the virtual-time platform, loaded as the program loads it. The
// program folder is a fresh temporary folder, so the port-settings file that
// a connect writes never lands beside the test or in the root folder.
struct FormFixture
{
    explicit FormFixture(quint32 tickOrigin = 0, const QSet<int> &ports = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})
        : platform(tickOrigin), form(platform)
    {
        platform.setProgramFolder(programFolder.path());
        platform.port().setOpenable(ports);
        pelzo::formLoad(form);
    }

    QTemporaryDir programFolder;
    pelzo::VirtualPlatform platform;
    pelzo::Form1 form;
};
