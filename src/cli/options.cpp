#include "cli/options.h"

#include "cli/failure.h"

#include <array>

namespace pelzo::cli {

namespace {

struct CommandHelp
{
    const char *name;
    const char *synopsis; // the operands and options after the name
    const char *what;
};

constexpr std::array commands{
    CommandHelp{"ports", "", "list the serial ports, their devices and holders"},
    CommandHelp{"read", "[-o FILE|-]", "the device's configuration as a settings file"},
    CommandHelp{"get", "FIELD...", "values of the named fields"},
    CommandHelp{"write", "FILE [FIELD=VALUE]... [--no-verify] [--backup FILE]",
                "write a settings file (changed as named), read back, compare"},
    CommandHelp{"set", "FIELD=VALUE...", "change fields, write, verify"},
    CommandHelp{"diff", "A B | diff A --device", "compare settings files or a file and the device"},
    CommandHelp{"defaults", "[-o FILE]", "the factory configuration as a settings file"},
    CommandHelp{"wifi", "--ssid NAME [--password-file FILE]", "send Wi-Fi credentials, then restart the device"},
    CommandHelp{"restart", "", "restart the device"},
    CommandHelp{"flash", "IMAGE.bin [--backup FILE|--no-backup] [--no-restore] [--recover]",
                "keep the configuration, replace the firmware, put the configuration back"},
};

enum class Takes { Nothing, Value };

struct OptionRule
{
    const char *name;
    Takes takes;
    QString Options::*text = nullptr; // where a value goes
    bool Options::*flag = nullptr;    // what a flag turns on
};

const std::array options{
    OptionRule{"-p", Takes::Value, &Options::port},
    OptionRule{"--port", Takes::Value, &Options::port},
    OptionRule{"-o", Takes::Value, &Options::output},
    OptionRule{"--backup", Takes::Value, &Options::backup},
    OptionRule{"--ssid", Takes::Value, &Options::ssid},
    OptionRule{"--password-file", Takes::Value, &Options::passwordFile},
    OptionRule{"--trace", Takes::Value, &Options::trace},
    OptionRule{"--json", Takes::Nothing, nullptr, &Options::json},
    OptionRule{"--device", Takes::Nothing, nullptr, &Options::device},
    OptionRule{"--no-verify", Takes::Nothing},
    OptionRule{"--no-backup", Takes::Nothing},
    OptionRule{"--no-restore", Takes::Nothing},
    OptionRule{"--recover", Takes::Nothing, nullptr, &Options::recover},
    OptionRule{"-q", Takes::Nothing},
    OptionRule{"-v", Takes::Nothing},
    OptionRule{"-h", Takes::Nothing},
    OptionRule{"--help", Takes::Nothing},
    OptionRule{"--version", Takes::Nothing},
};

const OptionRule *optionRule(const QString &argument)
{
    for (const OptionRule &rule : options) {
        if (argument == QLatin1String(rule.name))
            return &rule;
    }
    return nullptr;
}

} // namespace

Options parse(const QStringList &arguments)
{
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const OptionRule *rule = optionRule(a);
        if (!rule) {
            if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-"))
                throw Failure{UsageOrDifference, QStringLiteral("unknown option %1").arg(a)};
            if (o.command.isEmpty())
                o.command = a;
            else
                o.operands << a;
            continue;
        }
        if (rule->takes == Takes::Value) {
            if (i + 1 == arguments.size())
                throw Failure{UsageOrDifference, QStringLiteral("%1 needs a value").arg(a)};
            o.*(rule->text) = arguments[++i];
        } else if (rule->flag) {
            o.*(rule->flag) = true;
        } else if (a == QLatin1String("--no-verify")) {
            o.verify = false;
        } else if (a == QLatin1String("--no-backup")) {
            o.backupFirst = false;
        } else if (a == QLatin1String("--no-restore")) {
            o.restoreAfter = false;
        }
    }
    if (o.command.isEmpty())
        throw Failure{UsageOrDifference, QStringLiteral("no command given"), true};
    return o;
}

QString usage()
{
    QString text = QStringLiteral("usage: pelzo-cli [-p PORT]... [--json] [-q|-v] [--trace FILE] COMMAND ...\n");
    for (const CommandHelp &command : commands) {
        const QString head = QStringLiteral("  %1 %2").arg(QLatin1String(command.name), QLatin1String(command.synopsis));
        if (head.size() < 33)
            text += head.leftJustified(33) + QLatin1String(command.what) + QLatin1Char('\n');
        else
            text += head + QLatin1Char('\n') + QString(33, QLatin1Char(' ')) + QLatin1String(command.what) + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "PORT is COM1 to COM16 (on Windows any COMn) or a device path; auto (the default) takes the one USB\n"
        "serial adapter that no other program holds, and sends nothing to choose it.\n"
        "-q says only what went wrong, -v also shows every step of the exchanges.\n"
        "Exit status: 0 success, 1 usage or a difference, 2 port missing, busy or not permitted,\n"
        "3 no answer or no confirmation, 4 verification mismatch, 5 file or image refused, 130 interrupted.\n");
    return text;
}

QStringList commandNames()
{
    QStringList names;
    for (const CommandHelp &command : commands)
        names << QLatin1String(command.name);
    return names;
}

QStringList optionNames()
{
    QStringList names;
    for (const OptionRule &rule : options)
        names << QLatin1String(rule.name);
    return names;
}

} // namespace pelzo::cli
