#pragma once

#include "core/station.h"

#include <functional>
#include <map>

namespace pelzo {

// A station without a window: the configuration and the controls' texts and
// states are plain values, for running the same exchanges from a command line.
class PlainStation : public Station
{
public:
    explicit PlainStation(Platform &platform);

    QString fieldText(Field field) const override;
    QString octet(Field field, int box) const override;
    void setOctetBoxesEnabled(bool enabled) override { m_octetBoxesEnabled = enabled; }
    bool octetBoxesEnabled() const { return m_octetBoxesEnabled; }
    void addChoices(Field, const QStringList &) override {}

    QString activityLog() const override { return m_log; }
    void setActivityLog(const QString &text) override;
    void appendActivityLogText(const QString &text) override;

    void setButtonEnabled(Button button, bool enabled) override { m_enabled[button] = enabled; }
    bool buttonEnabled(Button button) const;
    QString caption(Button button) const;
    // A command line leaves the window's remembered port alone.
    bool remembersPort() const override { return false; }
    QString portName() const override { return m_portName; }
    void setPortName(const QString &name) override { m_portName = name; }
    void setPortListEnabled(bool) override {}
    void setStatus(const QString &text) override { m_status = text; }
    QString status() const { return m_status; }
    void setUpdateStatus(const QString &) override {}
    void clearWorkBox() override {}
    void setCtcssEnabled(bool) override {}

    void addPortListItem(const QString &name, const QString &) override { m_ports << name; }
    void removePortListItem(const QString &name) override { m_ports.removeAll(name); }
    QStringList portListItems() const override { return m_ports; }
    void setPortListHint(const QString &) override {}

    void setProgressRange(int, int) override {}
    void setProgressValue(int) override {}

    // Told of every change of the ActivityLog, with its whole text.
    std::function<void(const QString &log)> onLog;

protected:
    void showCaption(Button button, const QString &caption) override { m_captions[button] = caption; }
    void writeFieldText(Field field, const QString &text) override;
    void writeOctet(Field field, int box, const QString &text) override;

private:
    std::map<std::pair<Field, int>, QString> m_fields;
    std::map<Button, QString> m_captions;
    std::map<Button, bool> m_enabled;
    QString m_portName;
    QString m_status = QStringLiteral("0/10");
    bool m_octetBoxesEnabled = true;
    QString m_log;
    QStringList m_ports;
};

} // namespace pelzo
