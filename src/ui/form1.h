#pragma once

#include "core/station.h"
#include "firmware/session.h"
#include "ui/activitylog.h"
#include "ui/controlname.h"
#include "ui/updatebackup.h"
#include "ui/controltips.h"
#include "ui/fieldmarks.h"

#include <QWidget>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace pelzo {

// The one window: user interface and the store of the configuration at once.
// Every control carries its name as objectName; the station's values are its
// controls' texts and states at the moment they are read.
class Form1 : public QWidget, public Station
{
    Q_OBJECT

public:
    explicit Form1(Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    // The window's load, then the window shows; bound like every other event.
    void load();

    QString fieldText(Field field) const override;
    QString octet(Field field, int box) const override;
    void setOctetBoxesEnabled(bool enabled) override;
    void addChoices(Field field, const QStringList &items) override;

    QString activityLog() const override { return m_activityLog->text(); }
    void setActivityLog(const QString &text) override { m_activityLog->setText(text); }
    void appendActivityLogText(const QString &text) override { m_activityLog->append(text); }

    void setButtonEnabled(Button button, bool enabled) override;
    QString portName() const override { return text(ControlName::Combo1); }
    void setPortName(const QString &name) override { setText(ControlName::Combo1, name); }
    void setPortListEnabled(bool enabled) override;
    void setStatus(const QString &text) override;
    void setUpdateStatus(const QString &text) override;
    void clearWorkBox() override;
    void setCtcssEnabled(bool enabled) override;
    void addPortListItem(const QString &name, const QString &device) override;
    void removePortListItem(const QString &name) override;
    QStringList portListItems() const override;
    void setPortListHint(const QString &hint) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;

    void beginUpdateBatch() override;
    void endUpdateBatch() override;

    // What the link and the firmware update of this window hold.
    Session &session() { return m_session; }
    const Session &session() const { return m_session; }
    UpdateBackup &updateBackup() { return m_updateBackup; }
    // The fields not yet written, and the tooltips that say so.
    FieldMarks &marks() { return *m_marks; }
    const FieldMarks &marks() const { return *m_marks; }
    ControlTips &tips() { return m_tips; }

    // Any control's text, caption or state by its name, for tests and scripts.
    QString text(ControlName control) const;
    void setText(ControlName control, const QString &text);
    bool isEnabled(ControlName control) const;
    void setEnabled(ControlName control, bool enabled);

    QWidget *widget(ControlName control) const { return m_widgets[std::size_t(control)]; }
    template <typename T>
    T *control(ControlName control) const
    {
        return qobject_cast<T *>(widget(control));
    }
    // A control by its name, for tests and scripts that know only the name.
    template <typename T>
    T *control(const char *name) const
    {
        const auto it = m_byName.find(std::string_view(name));
        return it == m_byName.end() ? nullptr : qobject_cast<T *>(it->second);
    }

protected:
    void showCaption(Button button, const QString &caption) override;
    void writeFieldText(Field field, const QString &text) override;
    void writeOctet(Field field, int box, const QString &text) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void applyLook();
    void showClippedTexts();
    void writeField(Field field, const QString &text);
    QWidget *fieldWidget(Field field, int box = 0) const;

    Session m_session;
    UpdateBackup m_updateBackup;
    std::array<QWidget *, ControlCount> m_widgets{};
    std::map<std::string, QWidget *, std::less<>> m_byName;
    std::unique_ptr<ActivityLog> m_activityLog;
    ControlTips m_tips;
    std::unique_ptr<FieldMarks> m_marks;
    int m_batches = 0;
    // Fields set during a batch, shown when it ends.
    std::map<Field, QString> m_fieldsNotShown;
};

} // namespace pelzo
