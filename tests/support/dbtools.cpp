// SPDX-License-Identifier: GPL-3.0-or-later
#include "dbtools.h"

#include "capture.h"
#include "dictdb.h"

#include <QFile>

namespace vantro::test {
namespace {

// db_dump -p prints printable bytes as themselves, a backslash as two and everything else as
// a backslash and two hex digits.
QByteArray unescape(const QByteArray &line)
{
    QByteArray bytes;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const bool hex = line[i] == '\\' && line.mid(i + 1, 1) != "\\";
        bytes += hex ? char(line.mid(i + 1, 2).toInt(nullptr, 16)) : line[i];
        i += hex ? 2 : int(line[i] == '\\');
    }
    return bytes;
}

QByteArray escape(const QByteArray &bytes)
{
    QByteArray line(" ");
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        line += c == '\\'               ? QByteArray("\\\\")
                : u >= 0x20 && u < 0x7F ? QByteArray(1, c)
                                        : '\\' + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return line;
}

} // namespace

QList<KeyData> DbUtilities::dump(const QString &file, bool *ok)
{
    const ProgramRun run = runProgram(QStringLiteral(VANTRO_DB_DUMP), {QStringLiteral("-p"), file});
    if (ok)
        *ok = run.status == 0;
    QList<QByteArray> fields; // key, data, key, data, ...
    bool inData = false;
    for (const QByteArray &line : run.out.split('\n')) {
        if (line == "DATA=END")
            break;
        if (inData && line.startsWith(' '))
            fields += unescape(line);
        inData = inData || line == "HEADER=END";
    }
    QList<KeyData> pairs;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2)
        pairs.append({fields[i], fields[i + 1]});
    return pairs;
}

bool DbUtilities::load(const QString &file, const QList<KeyData> &pairs, const QByteArray &type,
                       quint32 pageSize)
{
    QByteArray input = "VERSION=3\nformat=print\ntype=" + type + '\n';
    if (pageSize > 0)
        input += "db_pagesize=" + QByteArray::number(pageSize) + '\n';
    input += "HEADER=END\n";
    for (const KeyData &pair : pairs)
        input += escape(pair.first) + '\n' + escape(pair.second) + '\n';
    return runProgram(QStringLiteral(VANTRO_DB_LOAD), {file}, input + "DATA=END\n").status == 0;
}

bool DbUtilities::verify(const QString &file)
{
    return runProgram(QStringLiteral(VANTRO_DB_VERIFY), {QStringLiteral("-q"), file}).status == 0;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int putRecord(cDictDB &db, const QString &word, const QString &meaning, const QString &synonyms,
              bool add)
{
    db.setWord(word);
    db.setITRANS(meaning);
    db.setSynonym(synonyms);
    return add ? db.addRecord() : db.saveRecord();
}

} // namespace vantro::test
