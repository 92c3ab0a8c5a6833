#include "filebytes.h"
#include "scenariorun.h"

#include <QDir>
#include <QTest>

Q_DECLARE_METATYPE(Scenario)

// Every scenario under tests/data/scenarios, each a row of its own;
// PELZO_SCENARIO keeps the rows whose title contains it.
class TestScenarios : public QObject
{
    Q_OBJECT

private slots:
    void scenario_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QDir folder(testData("scenarios"));
        for (const QString &name : folder.entryList({"*.scn"}, QDir::Files, QDir::Name)) {
            QString error;
            const QList<Scenario> scenarios = readScenarios(folder.filePath(name), &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            for (const Scenario &scenario : scenarios) {
                const QString title = name.chopped(4) + ": " + scenario.title;
                if (title.contains(qEnvironmentVariable("PELZO_SCENARIO")))
                    QTest::newRow(qPrintable(title)) << scenario;
            }
        }
    }

    void scenario()
    {
        QFETCH(Scenario, scenario);
        const QStringList failures = Run(scenario).run();
        QVERIFY2(failures.isEmpty(), qPrintable('\n' + failures.join('\n')));
    }
};

QTEST_MAIN(TestScenarios)
#include "scenariorunner.moc"
