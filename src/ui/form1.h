#pragma once

#include "core/deviceconfig.h"
#include "core/platform.h"
#include "firmware/firmwarestate.h"
#include "serial/hexdump.h"

#include <QWidget>

#include <map>
#include <string>
#include <string_view>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace pelzo {

// The one window: user interface and the store of the configuration at once.
// Controls carry the names the documentation uses, as members and as objectName.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    Platform &platform() const { return m_platform; }
    SerialPort &port() const { return m_platform.serialPort(); }
    void WaitMs(qint32 ms) { waitMs(m_platform, ms); }

    // The ActivityLog (Text29) as exact text, lines separated by CR LF.
    QString activityLog() const { return m_activityLog; }
    void setActivityLog(const QString &text);
    void appendActivityLog(const QString &message); // CR LF, then the message
    void appendActivityLogText(const QString &text); // the text as it is
    // While a batch is open the ActivityLog and the fields change as usual
    // for the program, but the controls are redrawn only when the outermost
    // batch ends: a report parsed byte by byte, or a file of thousands of
    // lines, costs one update of each control instead of one per byte.
    class UpdateBatch
    {
    public:
        explicit UpdateBatch(Form1 &form) : m_form(form) { m_form.beginUpdateBatch(); }
        ~UpdateBatch() { m_form.endUpdateBatch(); }
        UpdateBatch(const UpdateBatch &) = delete;
        UpdateBatch &operator=(const UpdateBatch &) = delete;

    private:
        Form1 &m_form;
    };
    void beginUpdateBatch();
    void endUpdateBatch();

    // DeviceConfig, read and written through the controls.
    QString fieldText(Field field) const;
    void setFieldText(Field field, const QString &text);
    QLineEdit *octetBox(Field field, int index) const;
    void setOctet(Field field, int index, const QString &text);
    QStringList octets(Field field) const;
    bool digi() const;
    void setDigi(bool on);
    void setOctetBoxesEnabled(bool enabled);

    // A control by its name, from a table filled once: the parser looks
    // controls up for every received byte, and findChild walks every widget.
    template <typename T>
    T *control(const char *name) const
    {
        const auto it = m_controls.find(std::string_view(name));
        return it == m_controls.end() ? nullptr : qobject_cast<T *>(it->second);
    }

    // Window-level values shared by the actions.
    QByteArray LineBuffer;
    int ConnectSeen = 0;
    int ReadEndSeen = 0;
    int FreqSaveSeen = 0;
    int WifiSuccessSeen = 0;
    int EeramResetSeen = 0;
    HexDump Text1;
    QString dialogFileName; // the name last chosen in the window's file dialog, proposed by the next save
    FirmwareState firmware;
    std::unique_ptr<Timer> Timer1;
    std::unique_ptr<Timer> Timer2;

    QLineEdit *Text3, *Text4, *Text5, *Text6, *Text7, *Text8, *Text10, *Text11, *Text12, *Text31, *Text32, *Text33,
        *Text34;
    QPlainTextEdit *Text29, *Text30;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4, *Combo5, *Combo6, *Combo7, *Combo8, *Combo16;
    QPushButton *Command0, *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7, *Command8,
        *Command9;
    QCheckBox *Check1;
    QProgressBar *ProgressBar1;
    QLabel *Label2, *Label21;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void bindControls();
    void showActivityLog();
    void showAppendedText(const QString &text);
    void writeField(Field field, const QString &text);

    Platform &m_platform;
    std::map<std::string, QWidget *, std::less<>> m_controls;
    QString m_activityLog;
    bool m_showingLog = false;
    int m_batches = 0;
    QString m_logNotShown;       // appended during a batch
    bool m_logReplaced = false;  // set during a batch
    std::map<Field, QString> m_fieldsNotShown;
};

} // namespace pelzo
