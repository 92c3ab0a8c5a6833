// Arbitrary bytes from the device, cut into arbitrary receive events.
#include "fuzzwindow.h"
#include "protocol/serialreceive.h"
#include "serial/receivepath.h"
#include "ui/controltable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    pelzo::Form1 &form = fuzzWindow().form;
    form.session().receive.LineBuffer.clear();
    form.session().receive.Text1.setText(QStringLiteral("  "));
    form.setActivityLog(QString());

    // The first byte chooses how the rest is cut into receive events.
    const size_t chunk = size_t(data[0] % 64) + 1;
    const QByteArray stream(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    for (qsizetype at = 0; at < stream.size(); at += qsizetype(chunk)) {
        pelzo::receiveBytes(form, form.session(), stream.mid(at, qsizetype(chunk)));
        FUZZ_CHECK(form.session().receive.LineBuffer.size() <= pelzo::LineBufferCap);
        FUZZ_CHECK(!form.session().receive.LineBuffer.contains('\r'));
    }

    if (!stream.isEmpty())
        FUZZ_CHECK(form.session().receive.Text1.text() == QString::fromLatin1(stream.toHex().toUpper()).left(pelzo::HexDump::CapChars));
    for (int flag : {form.session().replies.ConnectSeen, form.session().replies.ReadEndSeen, form.session().replies.FreqSaveSeen, form.session().replies.WifiSuccessSeen, form.session().replies.EeramResetSeen})
        FUZZ_CHECK(flag == 0 || flag == 1);
    FUZZ_CHECK(form.fieldText(pelzo::Field::TxVolume).size() <= 1);
    const bool octetsEnabled = form.widget(pelzo::octetBoxNames().front())->isEnabled();
    for (pelzo::ControlName box : pelzo::octetBoxNames())
        FUZZ_CHECK(form.widget(box)->isEnabled() == octetsEnabled);
    return 0;
}
