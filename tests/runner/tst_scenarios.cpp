// Every scenario under tests/data/scenarios, each a row of its own.
#include "filebytes.h"
#include "scenario.h"

#include <QApplication>
#include <QDir>
#include <QTest>

Q_DECLARE_METATYPE(Scenario)

class TestScenarios : public QObject
{
    Q_OBJECT

private slots:
    void scenario_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QDir folder(testData(QStringLiteral("scenarios")));
        const QString only = qEnvironmentVariable("PELZO_SCENARIO");
        for (const QString &name : folder.entryList({QStringLiteral("*.scn")}, QDir::Files, QDir::Name)) {
            QString error;
            const QList<Scenario> scenarios = readScenarios(folder.filePath(name), &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            for (const Scenario &scenario : scenarios) {
                const QString title = name.chopped(4) + QStringLiteral(": ") + scenario.title;
                if (only.isEmpty() || title.contains(only))
                    QTest::newRow(qPrintable(title)) << scenario;
            }
        }
    }

    void scenario()
    {
        QFETCH(Scenario, scenario);
        const QStringList failures = runScenario(scenario);
        QVERIFY2(failures.isEmpty(), qPrintable(QLatin1Char('\n') + failures.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestScenarios)
#include "tst_scenarios.moc"
