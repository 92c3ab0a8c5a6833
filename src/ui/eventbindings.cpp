#include "ui/eventbindings.h"

#include "core/factorydefaults.h"
#include "firmware/openrom.h"
#include "firmware/sessionevents.h"
#include "protocol/readdata.h"
#include "protocol/restartdevice.h"
#include "protocol/wifiapply.h"
#include "protocol/writedata.h"
#include "serial/portlist.h"
#include "serial/portselection.h"
#include "serial/startup.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"
#include "ui/addressmoderule.h"
#include "ui/dropdown.h"
#include "ui/form1.h"
#include "ui/inputrules.h"
#include "ui/outcomeboxes.h"
#include "ui/unwrittenchanges.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace pelzo {

namespace {

enum class Event { Load, Click, Pick, ListOpen, Key };

using N = ControlName;
using Handler = Outcome (*)(Form1 &);

struct Binding
{
    Event event;
    ControlName source;
    Handler handler = nullptr;
    KeyFilterRule keyFilter = nullptr;
};

// Handlers without an ending to report.
template <void (*Run)(Station &)>
Outcome plain(Form1 &form)
{
    Run(form);
    return {};
}

constexpr std::array bindings{
    Binding{Event::Load, N::Form1, plain<formLoad>},
    Binding{Event::Click, N::Command6,
            [](Form1 &f) {
                const Outcome read = readData(f, f.session());
                f.updateBackup().noteRead(f, read);
                return read;
            }},
    Binding{Event::Click, N::Command7, [](Form1 &f) { return writeData(f, f.session()); }},
    Binding{Event::Click, N::Command0,
            [](Form1 &f) {
                f.updateBackup().forget();
                applyFactoryDefaults(f);
                return Outcome();
            }},
    Binding{Event::Click, N::Command4,
            [](Form1 &f) {
                const Outcome loaded = loadFile(f, f.session());
                if (loaded.result != Result::Cancelled)
                    f.updateBackup().forget();
                return loaded;
            }},
    Binding{Event::Click, N::Command5, [](Form1 &f) { return saveFile(f); }},
    Binding{Event::Click, N::Command1, [](Form1 &f) { return openRom(f, f.session()); }},
    Binding{Event::Click, N::Command2, [](Form1 &f) { return f.updateBackup().update(f); }},
    Binding{Event::Click, N::Command8, [](Form1 &f) { return applyWifi(f, f.session()); }},
    Binding{Event::Click, N::Command9, [](Form1 &f) { return restartDevice(f, f.session()); }},
    Binding{Event::Pick, N::Combo1, [](Form1 &f) { return selectPort(f); }},
    Binding{Event::Pick, N::Combo2, plain<addressModeRule>},
    Binding{Event::ListOpen, N::Combo1, plain<refreshPortList>},
    Binding{Event::Key, N::Text4, nullptr, capitals},
    Binding{Event::Key, N::Text5, nullptr, digitsOnly},
    Binding{Event::Key, N::Text10, nullptr, digitsOnly},
    Binding{Event::Key, N::Text31, nullptr, frequencyCharacters},
};

} // namespace

void bindEvents(Form1 &form)
{
    for (const Binding &binding : bindings) {
        const auto run = [&form, binding] {
            if (!mayDropChanges(form, binding.source))
                return;
            const Outcome outcome = binding.handler(form);
            noteReference(form, binding.source, outcome);
            showOutcome(form.platform(), binding.source, outcome);
        };
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
        }
    }
    // The serial port's events and the timers, bound as pelzo-cli binds them.
    bindSessionEvents(form, form.session());
    form.session().onUpdateComplete = [&form] { form.updateBackup().offerRestore(form); };
}

void runLoad(Form1 &form)
{
    for (const Binding &binding : bindings) {
        if (binding.event == Event::Load)
            binding.handler(form);
    }
}

} // namespace pelzo
