#include "ui/eventbindings.h"

#include "core/factorydefaults.h"
#include "firmware/blocktransfer.h"
#include "firmware/openrom.h"
#include "firmware/updatestart.h"
#include "protocol/readdata.h"
#include "protocol/restartdevice.h"
#include "protocol/serialreceive.h"
#include "protocol/wifiapply.h"
#include "protocol/writedata.h"
#include "serial/portfailure.h"
#include "serial/portlist.h"
#include "serial/portselection.h"
#include "serial/startup.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"
#include "ui/addressmoderule.h"
#include "ui/dropdown.h"
#include "ui/form1.h"
#include "ui/inputrules.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace pelzo {

namespace {

enum class Event { Load, Click, Pick, ListOpen, Key, Tick, Receive, LinkLost };

using N = ControlName;

struct Binding
{
    Event event;
    ControlName source;
    void (*handler)(Station &) = nullptr;
    KeyFilterRule keyFilter = nullptr;
};

constexpr std::array bindings{
    Binding{Event::Load, N::Form1, formLoad},
    Binding{Event::Click, N::Command6, readData},
    Binding{Event::Click, N::Command7, writeData},
    Binding{Event::Click, N::Command0, applyFactoryDefaults},
    Binding{Event::Click, N::Command4, loadFile},
    Binding{Event::Click, N::Command5, saveFile},
    Binding{Event::Click, N::Command1, openRom},
    Binding{Event::Click, N::Command2, startUpdate},
    Binding{Event::Click, N::Command8, applyWifi},
    Binding{Event::Click, N::Command9, restartDevice},
    Binding{Event::Pick, N::Combo1, selectPort},
    Binding{Event::Pick, N::Combo2, addressModeRule},
    Binding{Event::ListOpen, N::Combo1, refreshPortList},
    Binding{Event::Key, N::Text4, nullptr, capitals},
    Binding{Event::Key, N::Text5, nullptr, digitsOnly},
    Binding{Event::Key, N::Text10, nullptr, digitsOnly},
    Binding{Event::Key, N::Text31, nullptr, frequencyCharacters},
    Binding{Event::Receive, N::MSComm1, onSerialReceive},
    Binding{Event::LinkLost, N::MSComm1, reportLinkLost},
    Binding{Event::Tick, N::Timer1, connectTick},
    Binding{Event::Tick, N::Timer2, transferTick},
};

Timer &timer(Form1 &form, ControlName name)
{
    return name == N::Timer1 ? *form.Timer1 : *form.Timer2;
}

} // namespace

void bindEvents(Form1 &form)
{
    for (const Binding &binding : bindings) {
        const auto handler = binding.handler;
        const auto run = [&form, handler] { handler(form); };
        switch (binding.event) {
        case Event::Load:
            break;
        case Event::Click:
            QObject::connect(form.control<QAbstractButton>(binding.source), &QAbstractButton::clicked, &form, run);
            break;
        case Event::Pick:
            QObject::connect(form.control<QComboBox>(binding.source), &QComboBox::activated, &form, run);
            break;
        case Event::ListOpen:
            QObject::connect(form.control<DropDown>(binding.source), &DropDown::aboutToOpen, &form, run);
            break;
        case Event::Key:
            installKeyFilter(form.control<QLineEdit>(binding.source), binding.keyFilter);
            break;
        case Event::Tick:
            timer(form, binding.source).onTick = run;
            break;
        case Event::Receive:
            form.port().onReceive = run;
            break;
        case Event::LinkLost:
            form.port().onLinkLost = run;
            break;
        }
    }
}

void runLoad(Form1 &form)
{
    for (const Binding &binding : bindings) {
        if (binding.event == Event::Load)
            binding.handler(form);
    }
}

} // namespace pelzo
