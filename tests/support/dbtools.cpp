#include "dbtools.h"

#include "dictdb.h"

#include <QFile>
#include <QProcess>

namespace vantro::test {
namespace {

// db_dump -p prints printable bytes as themselves, a backslash as two and everything else as
// a backslash and two hex digits.
QByteArray unescape(const QByteArray &line)
{
    QByteArray bytes;
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line.at(i) != '\\') {
            bytes.append(line.at(i));
        } else if (i + 1 < line.size() && line.at(i + 1) == '\\') {
            bytes.append('\\');
            ++i;
        } else {
            bytes.append(char(line.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
        }
    }
    return bytes;
}

QByteArray escape(const QByteArray &bytes)
{
    QByteArray line(" ");
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            line.append("\\\\");
        else if (u >= 0x20 && u < 0x7F)
            line.append(c);
        else
            line.append('\\').append(QByteArray::number(u, 16).rightJustified(2, '0'));
    }
    return line;
}

} // namespace

QList<KeyData> DbUtilities::dump(const QString &file, bool *ok)
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_DB_DUMP), {QStringLiteral("-p"), file});
    const bool finished = process.waitForFinished(60000);
    const bool good =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ok)
        *ok = good;
    QList<KeyData> pairs;
    bool inData = false;
    QByteArray pendingKey;
    bool haveKey = false;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line == "HEADER=END") {
            inData = true;
        } else if (line == "DATA=END") {
            break;
        } else if (inData && line.startsWith(' ')) {
            if (!haveKey) {
                pendingKey = unescape(line);
                haveKey = true;
            } else {
                pairs.append({pendingKey, unescape(line)});
                haveKey = false;
            }
        }
    }
    return pairs;
}

bool DbUtilities::load(const QString &file, const QList<KeyData> &pairs, const QByteArray &type)
{
    QByteArray input = "VERSION=3\nformat=print\ntype=" + type + "\nHEADER=END\n";
    for (const KeyData &pair : pairs)
        input += escape(pair.first) + '\n' + escape(pair.second) + '\n';
    input += "DATA=END\n";
    QProcess process;
    process.start(QStringLiteral(VANTRO_DB_LOAD), {file});
    process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool DbUtilities::verify(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral(VANTRO_DB_VERIFY), {QStringLiteral("-q"), file});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
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
