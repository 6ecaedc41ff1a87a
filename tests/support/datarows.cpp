// SPDX-License-Identifier: GPL-3.0-or-later
#include "datarows.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace vantro::test {

QStringList DataRow::texts() const
{
    QStringList texts;
    for (const QByteArray &cell : cells)
        texts.append(QString::fromUtf8(cell));
    return texts;
}

bool DataRows::read(const QString &path, int least, int most, QList<DataRow> *rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const QByteArray name = QFileInfo(path).fileName().toUtf8();
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype number = 1; number <= lines.size(); ++number) {
        const QByteArray &line = lines[number - 1];
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        DataRow row{name + ':' + QByteArray::number(number), line.split('\t')};
        const qsizetype count = row.cells.size();
        if (count < least || (most != kAnyCount && count > most)) {
            *error = QStringLiteral("%1:%2: %3 cells, where a case has %4 to %5")
                         .arg(path)
                         .arg(number)
                         .arg(count)
                         .arg(least)
                         .arg(most == kAnyCount ? QStringLiteral("any") : QString::number(most));
            return false;
        }
        rows->append(row);
    }
    if (rows->isEmpty()) {
        *error = path + QStringLiteral(": no cases");
        return false;
    }
    return true;
}

QList<DataRow> DataRows::casesOf(const QString &path, int least, int most)
{
    QList<DataRow> rows;
    if (QString error; !read(path, least, most, &rows, &error)) {
        QTest::qFail(qPrintable(error), __FILE__, __LINE__);
        rows.clear();
    }
    return rows;
}

} // namespace vantro::test
