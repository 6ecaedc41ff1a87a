// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the forms of the analyser's built-in lexicon to the file every analyser reads them from.
//
// usage: vantro-analyser-forms OUTPUT
#include "analyser.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantro-analyser-forms OUTPUT\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const vantro::Outcome<void> written = vantro::Analyser::writeBuiltInForms(path);
    if (!written.ok()) {
        std::fprintf(stderr, "vantro-analyser-forms: %s\n", qUtf8Printable(written.error));
        return 1;
    }
    return 0;
}
