// SPDX-License-Identifier: GPL-3.0-or-later
// Every input that once made a fuzz target fail (fuzz/regressions/<target>/) is fed again to the
// same entry point, here in the ordinary sanitizer build: it must pass the target's checks.
#include "feeds.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace tipsovo::fuzz;

namespace {

using Feed = QString (*)(QByteArrayView);

const QList<std::pair<QString, Feed>> &feeds()
{
    static const QList<std::pair<QString, Feed>> all = {
        {QStringLiteral("pack"), feedPack},         {QStringLiteral("wave"), feedWave},
        {QStringLiteral("bitmap"), feedBitmap},     {QStringLiteral("textlist"), feedTextList},
        {QStringLiteral("markup"), feedMarkup},     {QStringLiteral("odometer"), feedOdometer},
        {QStringLiteral("town"), feedTown},         {QStringLiteral("tracing"), feedTracing},
        {QStringLiteral("setting"), feedSetting},
    };
    return all;
}

} // namespace

class TestFuzzRegressions : public QObject {
    Q_OBJECT
private slots:
    void regressionInputPassesItsTarget_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("feed");
        const QDir root(qEnvironmentVariable("TIPSOVO_SOURCE_DIR") + QStringLiteral("/fuzz/regressions"));
        // A folder that names no target is a mistake: its inputs would never be replayed.
        for (const QString &dir : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            qsizetype feed = -1;
            for (qsizetype i = 0; i < feeds().size(); ++i) {
                if (feeds().at(i).first == dir)
                    feed = i;
            }
            QVERIFY2(feed >= 0, qPrintable(QStringLiteral("no fuzz target ") + dir));
            const QDir inputs(root.filePath(dir));
            for (const QString &file : inputs.entryList(QDir::Files))
                QTest::newRow(qPrintable(dir + u'/' + file)) << inputs.filePath(file) << int(feed);
        }
    }

    void regressionInputPassesItsTarget()
    {
        QFETCH(QString, path);
        QFETCH(int, feed);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString why = feeds().at(feed).second(bytes);
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }
};

QTEST_MAIN(TestFuzzRegressions)
#include "test_fuzz_regressions.moc"
