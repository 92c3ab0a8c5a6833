// Arbitrary file contents loaded as a settings file through the Load file button.
#include "fuzzwindow.h"

#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    FormFixture &window = fuzzWindow();
    pelzo::Form1 &form = window.form;
    form.setActivityLog(QString());
    form.control<QPushButton>("Command7")->setEnabled(false);
    // The test platform records every dialog and message box; over a million
    // inputs the records alone would grow to about a hundred megabytes.
    window.platform.dialogRequests.clear();
    window.platform.messageBoxes.clear();
    window.platform.questions.clear();
    // A load that stopped at a line leaves the fields changed against the last one that finished.
    window.platform.questionAnswers = {QStringLiteral("Discard")};

    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    window.platform.openAnswers = {path};
    form.control<QPushButton>("Command4")->click();

    // Whatever the file held, the load ends with Write data usable and the
    // log headed by the file's path, and the line being received is untouched.
    FUZZ_CHECK(form.control<QPushButton>("Command7")->isEnabled());
    FUZZ_CHECK(form.activityLog().contains(QStringLiteral("fuzz.ini")));
    FUZZ_CHECK(form.session().receive.LineBuffer.isEmpty());
    FUZZ_CHECK(form.fieldText(pelzo::Field::TxVolume).size() <= 1);
    return 0;
}
