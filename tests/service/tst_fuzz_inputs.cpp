// The inputs kept for the fuzz targets, replayed in the ordinary build through the same code the
// fuzz targets run: the seeds (answers captured from the reference server) and every input that
// once failed. A file's name says what must become of it: "name.read.ext" is read,
// "name.refused.ext" is refused with an error. Neither may crash or break the targets' expectations
// (which abort).
#include "FuzzInputs.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
using Reader = FuzzInputs::Outcome (*)(const QByteArray &);

const QList<std::pair<QString, Reader>> &targets()
{
    static const QList<std::pair<QString, Reader>> all = {
        {QStringLiteral("fuzz_counter_items"), &FuzzInputs::splitCounters},
        {QStringLiteral("fuzz_result_document"), &FuzzInputs::readResultDocument},
        {QStringLiteral("fuzz_soap_response"), &FuzzInputs::readSoapResponse},
    };
    return all;
}

void addRows(const QString &folder)
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("path");
    for (int target = 0; target < targets().size(); ++target) {
        const QDir dir(QStringLiteral(TIPDESK_FUZZ_DIR "/") + folder + QLatin1Char('/')
                       + targets().at(target).first);
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), qPrintable(dir.path()));
        for (const QString &name : names)
            QTest::newRow(qPrintable(targets().at(target).first + QLatin1Char('/') + name))
                << target << dir.filePath(name);
    }
}

void replay()
{
    QFETCH(int, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString kind = QFileInfo(path).completeSuffix().section(QLatin1Char('.'), 0, 0);
    QVERIFY2(kind == QLatin1String("read") || kind == QLatin1String("refused"), qPrintable(path));
    const FuzzInputs::Outcome expected =
        kind == QLatin1String("read") ? FuzzInputs::Outcome::Read : FuzzInputs::Outcome::Refused;
    QCOMPARE(targets().at(target).second(file.readAll()), expected);
}
} // namespace

class TestFuzzInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void seeds_data() { addRows(QStringLiteral("corpus")); }
    void seeds() { replay(); }
    void regressions_data() { addRows(QStringLiteral("regressions")); }
    void regressions() { replay(); }
};

QTEST_GUILESS_MAIN(TestFuzzInputs)
#include "tst_fuzz_inputs.moc"
