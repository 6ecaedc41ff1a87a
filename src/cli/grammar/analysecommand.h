// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printedtable.h"

#include <QString>
#include <QStringList>

// The analyse command: the readings of written words, one a line.
struct AnalyseRequest
{
    QStringList words;  // none: each line of standard input, word by word
    QString dictionary; // the dictionary whose meanings the lexicon takes; may be empty
    bool dictionaryNamed = false;
    bool suggest = false;
    vantro::Script script = vantro::Script::Itrans;
};

// 0 when every word was read, 1 when one was not (or the dictionary could not be read).
int runAnalyse(const AnalyseRequest &request);
